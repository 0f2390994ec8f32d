#!/usr/bin/env bash
# Draws the board's program icon into the .ico file given as $1: a sky-blue rounded tile with a
# white loudspeaker and two sound waves, in 48, 32 and 16 pixels.
set -euo pipefail
out=${1:?usage: make_program_icon.sh OUTPUT.ico}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 48x48 gradient:'#3c8fe0'-'#1d5fb8' "$tmp/fill.png"
convert -size 48x48 xc:none -fill white -draw "roundrectangle 1,1 46,46 9,9" "$tmp/mask.png"
convert "$tmp/fill.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite \
  -fill none -stroke '#0e3f80' -strokewidth 1.5 -draw "roundrectangle 1,1 46,46 9,9" \
  -stroke none -fill white -draw "polygon 8,19 13,19 20,12 20,36 13,29 8,29" \
  -fill none -stroke white -strokewidth 3 -draw "path 'M 25,17 A 9,9 0 0 1 25,31'" \
  -draw "path 'M 30,11 A 16,16 0 0 1 30,37'" \
  "$tmp/icon48.png"
convert "$tmp/icon48.png" -strip -define icon:auto-resize=48,32,16 "$out"
