#!/bin/bash
# make_images.sh: regenerates res/send.bmp, res/close.bmp and res/setradio.ico.
# Renders the word for the disabled send cell with the Nanum font (ImageMagick), then draws everything
# with tools/make_images.cpp. The outputs are committed; the build does not run this.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FONT=/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf
convert -size 36x32 xc:black -font "$FONT" -pointsize 13 -fill white -gravity center \
    -annotate +0+0 '설정' -depth 8 "gray:$WORK/word.raw"
g++ -O2 -std=c++17 -Wall -o "$WORK/make_images" "$ROOT/tools/make_images.cpp"
"$WORK/make_images" "$ROOT/res" "$WORK/word.raw"
echo "make_images: wrote $ROOT/res/send.bmp, close.bmp, setradio.ico"
