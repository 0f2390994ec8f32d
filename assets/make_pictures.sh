#!/usr/bin/env bash
# Draws every picture the skin carries into the folder given as $1. Everything is made here from
# shapes and seeded noise, so the same script always gives the same pictures.
set -euo pipefail
out=${1:?usage: make_pictures.sh OUTPUT_DIR}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Strip dates and other chunks that would make every build's bytes differ.
png() {
  local args=("$@")
  local target=${args[-1]}
  unset 'args[-1]'
  convert "${args[@]}" -strip -define png:exclude-chunks=date,time "PNG32:$target"
}

# Background: a blue sky, darker at the top, with soft clouds from seeded plasma noise.
convert -size 472x600 gradient:'#1d5fb8'-'#9cccf2' "$tmp/sky.png"
convert -size 472x600 -seed 4127 plasma:grey50-grey50 -colorspace gray -blur 0x6 \
  -level 52%,78% "$tmp/cloudmask.png"
convert -size 472x600 xc:'#f7fbff' "$tmp/white.png"
convert "$tmp/sky.png" "$tmp/white.png" "$tmp/cloudmask.png" -composite \
  -strip -sampling-factor 2x2 -quality 88 -interlace Plane "$out/background.jpg"

# Caption glyphs: white shapes over a soft grey shadow one pixel down and right.
glyph() {
  local name=$1 size=$2
  shift 2
  convert -size "$size" xc:none -stroke white -fill none "$@" "$tmp/$name-white.png"
  convert "$tmp/$name-white.png" -channel RGB -fill '#505050' -colorize 100 +channel \
    -blur 0x0.7 -roll +1+1 "$tmp/$name-shadow.png"
  png "$tmp/$name-shadow.png" "$tmp/$name-white.png" -composite "$out/$name.png"
}
glyph help 26x18 -strokewidth 1 -draw "roundrectangle 7.5,3.5 18.5,11.5 2,2" \
  -fill white -stroke none -draw "polygon 9,11 12,11 9,15" -draw "rectangle 12,6 13,9"
glyph menu 26x18 -strokewidth 1 -draw "rectangle 7.5,3.5 15.5,14.5" \
  -draw "line 9.5,6.5 13.5,6.5" -draw "line 9.5,9 13.5,9" -draw "line 9.5,11.5 13.5,11.5" \
  -fill white -stroke none -draw "polygon 16,8 21,8 18.5,11"
glyph minimize 26x18 -fill white -stroke none -draw "rectangle 8,11 17,12"
glyph maximize 26x18 -strokewidth 1 -draw "rectangle 8.5,4.5 17.5,13.5" \
  -fill white -stroke none -draw "rectangle 8,4 17,5"
# Restore: the back window only where the front one does not hide it.
glyph restore 26x18 -strokewidth 1 -draw "polyline 10.5,6.5 10.5,3.5 18.5,3.5 18.5,10.5 15.5,10.5" \
  -draw "rectangle 7.5,6.5 15.5,13.5" -fill white -stroke none -draw "rectangle 7,6 15,7"
glyph close 38x18 -strokewidth 1.6 -draw "line 14.5,4.5 22.5,12.5" -draw "line 22.5,4.5 14.5,12.5"

# Check boxes, 13 x 13: a light box with a dark border, and a blue-bordered one with a teal tick.
png -size 13x13 xc:none -fill '#fbfbfb' -stroke '#5a5a5a' -strokewidth 1 \
  -draw "roundrectangle 0.5,0.5 12.5,12.5 1.5,1.5" "$out/check_off.png"
png -size 13x13 xc:none -fill '#f4fbff' -stroke '#2a73c9' -strokewidth 1 \
  -draw "roundrectangle 0.5,0.5 12.5,12.5 1.5,1.5" \
  -fill none -stroke '#129c94' -strokewidth 1.8 -draw "polyline 3,6.5 5.5,9 10,3.5" "$out/check_on.png"

# Arrows in black: down and up 7 x 4, left and right 4 x 7.
png -size 7x4 xc:none -fill black -draw "polygon 0,0 6,0 3,3" "$out/arrow_down.png"
png -size 7x4 xc:none -fill black -draw "polygon 3,0 6,3 0,3" "$out/arrow_up.png"
png -size 4x7 xc:none -fill black -draw "polygon 3,0 3,6 0,3" "$out/arrow_left.png"
png -size 4x7 xc:none -fill black -draw "polygon 0,0 0,6 3,3" "$out/arrow_right.png"
