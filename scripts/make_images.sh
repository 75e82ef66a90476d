#!/bin/bash
# make_images.sh: regenerates res/send*.bmp, res/close*.bmp (100, 125, 150 and 200 %) and res/setradio.ico.
# Renders the word for the disabled send cell with the Nanum font (ImageMagick), then draws everything
# with tools/make_images.cpp. The outputs are committed; the build does not run this.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FONT=/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf
g++ -O2 -std=c++17 -Wall -o "$WORK/make_images" "$ROOT/tools/make_images.cpp"
# One drawing per display scale, each made at its own size so that it stays sharp.
for percent in 100 125 150 200; do
    convert -size $((36 * percent / 100))x$((32 * percent / 100)) xc:black -font "$FONT" \
        -pointsize "$(awk "BEGIN{print 13 * $percent / 100}")" -fill white -gravity center \
        -annotate +0+0 '설정' -depth 8 "gray:$WORK/word$percent.raw"
    "$WORK/make_images" "$ROOT/res" "$WORK/word$percent.raw" $percent
done
echo "make_images: wrote $ROOT/res/send*.bmp, close*.bmp, setradio.ico"
