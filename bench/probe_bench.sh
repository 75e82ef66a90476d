#!/bin/bash
# probe_bench.sh: builds (natively) and runs the stream probe benchmark; prints probe vs curl per hop.
# Usage: bench/probe_bench.sh [build dir] [requests per case]
set -e
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build/native}"
cmake -S "$ROOT" -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target probe_bench >/dev/null
"$BUILD/probe_bench" "${2:-200}"
