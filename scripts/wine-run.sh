#!/bin/bash
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program under the project's Wine settings.
# Used by CTest as the cross-compiling emulator; the exit code is the program's.
. "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
sr_wine_prefix
started=""
if [ -z "${DISPLAY:-}" ]; then sr_display; started=1; fi
wine "$@"
rc=$?
if [ -n "$started" ]; then wineserver -k 2>/dev/null; kill "$SR_XVFB_PID" 2>/dev/null; fi
exit $rc
