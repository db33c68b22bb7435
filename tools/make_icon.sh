#!/usr/bin/env bash
# Draws the application icon (res/app.ico) with ImageMagick: a voice-mail
# reel over a speech bubble. Run by hand; the icon is committed.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/res/app.ico
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
/usr/bin/convert -size 256x256 xc:none \
    -fill '#2f6f9f' -draw 'roundrectangle 16,16 240,240 48,48' \
    -fill white -draw 'roundrectangle 48,60 208,164 28,28' \
    -draw 'polygon 80,160 80,204 124,160' \
    -fill '#2f6f9f' -draw 'circle 96,112 96,92' -draw 'circle 160,112 160,92' \
    -fill white -draw 'circle 96,112 96,102' -draw 'circle 160,112 160,102' \
    -fill '#2f6f9f' -draw 'rectangle 96,124 160,132' \
    "$tmp/icon.png"
/usr/bin/convert "$tmp/icon.png" -define icon:auto-resize=48,32,16 "$out"
