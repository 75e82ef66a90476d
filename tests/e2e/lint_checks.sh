#!/bin/bash
# lint_checks.sh: no check of the test and benchmark scripts lets a condition run outside `check`
# (`check "what" A && B` counts only A). Runs with the end-to-end scripts; needs no network.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT" || exit 1
mapfile -t files < <(ls tests/e2e/*.sh tests/e2e/*.bash tests/e2e/lib/*.sh bench/*.sh scripts/*.sh 2>/dev/null)
[ "${#files[@]}" -gt 10 ] || { echo "lint_checks: the scripts were not found"; exit 1; }
python3 tests/e2e/lint/check_lines.py "${files[@]}"
