#!/bin/bash
# dpi144.sh WIN_TESTS.exe: the window at system DPI 144 against its own figures at 96 DPI.
# Records the figures in the current Wine prefix (96 DPI) first; then runs the 144 test in a second
# prefix whose LogPixels is 144 (Wine reads it when a process starts), on its own Xvfb screen and
# Wine desktop of 1920x1440 (the window is then taller than 768 pixels).
exe=${1:?usage: dpi144.sh WIN_TESTS.exe}
root=$(cd "$(dirname "$0")/../.." && pwd)
figures="$(cd "$(dirname "$exe")" && pwd)/dpi96_figures.txt"
rm -f "$figures"
SR_DPI_FIGURES="Z:$figures" wine "$exe" --gtest_filter=DpiWindow.RecordFiguresAt96 || exit 1
[ -s "$figures" ] || { echo "dpi144: the 96-DPI run wrote no figures to $figures"; exit 1; }
echo "dpi144: figures at 96 DPI: $(cat "$figures")"

SR_WINEPREFIX="${WINEPREFIX:?a Wine prefix from wine-env.sh}-dpi144"
. "$root/scripts/wine-env.sh"
unset DISPLAY
SR_SCREEN=1920x1440
sr_display
sr_wine_prefix
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1440 /f >/dev/null 2>&1
wineserver -k 2>/dev/null   # the next process starts with the new settings
SR_DPI_FIGURES="Z:$figures" wine "$exe" --gtest_filter='DpiWindow.At144*'
rc=$?
wineserver -k 2>/dev/null
kill "$SR_XVFB_PID" 2>/dev/null
exit $rc
