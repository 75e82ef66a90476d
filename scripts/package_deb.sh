#!/bin/bash
# package_deb.sh: builds the Debian package of setradio-cli with CPack from the native build.
#   package_deb.sh [BUILD_DIR]   (default build/native); prints the package's path on its last line.
set -eu
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build/native}"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE="${SR_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$BUILD" -j "${SR_JOBS:-2}" --target setradio-cli >/dev/null
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls -t "$BUILD"/setradio-cli_*.deb | head -1
