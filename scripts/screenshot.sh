#!/bin/bash
# screenshot.sh [SetRadio.exe] [out.png]: starts the program under Wine on a private Xvfb with the Korean
# font settings, waits for its window, saves a picture of it (build/screenshot.png by default) and stops
# everything it started. The program runs from a temporary copy, so it opens centred with a fresh settings file.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
EXE="${1:-${SR_BUILD:-$ROOT/build}/win/SetRadio.exe}"
OUT="${2:-${SR_BUILD:-$ROOT/build}/screenshot.png}"
[ -f "$EXE" ] || { echo "screenshot: $EXE not found (build the windows tree first)"; exit 1; }

export SR_WINEPREFIX="${SR_WINEPREFIX:-/tmp/setradio-shot-$(id -u)}"
. "$ROOT/scripts/wine-env.sh"
unset DISPLAY
WORK=$(mktemp -d)
WINE_PID=""
cleanup() {
    [ -n "$WINE_PID" ] && kill "$WINE_PID" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "${SR_XVFB_PID:-}" ] && kill "$SR_XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
sr_display
sr_wine_prefix
cp "$EXE" "$WORK/SetRadio.exe"
(cd "$WORK" && exec wine SetRadio.exe) >/dev/null 2>&1 &
WINE_PID=$!

TITLE="인터넷라디오 채널등록"
win=""
for _ in $(seq 1 100); do
    win=$(xdotool search --name "$TITLE" 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    sleep 0.2
done
[ -n "$win" ] || { echo "screenshot: the window did not appear"; exit 1; }
sleep 1.5   # let it paint
mkdir -p "$(dirname "$OUT")"
import -window root "$WORK/full.png"
# Crop to the window: trim the plain desktop colour around it.
convert "$WORK/full.png" -bordercolor "$(convert "$WORK/full.png" -format '%[pixel:p{0,0}]' info:)" -border 1 \
    -fuzz 2% -trim +repage "$OUT"
echo "screenshot: wrote $OUT"
