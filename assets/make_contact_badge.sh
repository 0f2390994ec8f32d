#!/usr/bin/env bash
# Draws the contact badge the main window's two picture boxes carry: a small round smiling mascot, a
# green check mark and "QQ在线" in blue, 74 x 22, written as an 8-bit BMP with a full 256-colour
# palette (pixel data at byte 1078, 2750 bytes in all). Run it by hand; its output is kept beside it.
#   assets/make_contact_badge.sh [output.bmp]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="${1:-$here/contact-badge.bmp}"
font=$(fc-match -f '%{file}' 'WenQuanYi Zen Hei')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 74x22 xc:'#F4F8FC' \
  -fill '#D8E4F0' -draw 'roundrectangle 0,0 73,21 4,4' \
  -fill '#FFFFFF' -draw 'roundrectangle 1,1 72,20 3,3' \
  -fill '#F6C431' -stroke '#C88A10' -strokewidth 1 -draw 'circle 10,11 10,3' \
  -stroke none -fill '#3A2A10' -draw 'ellipse 7,9 1,2 0,360' -draw 'ellipse 13,9 1,2 0,360' \
  -stroke '#3A2A10' -fill none -draw 'arc 6,10 14,16 20,160' \
  -stroke '#20A040' -strokewidth 2 -fill none -draw 'polyline 21,11 24,15 29,6' \
  -stroke none -fill '#1060D0' -font "$font" -pointsize 12 -draw "text 31,16 'QQ在线'" \
  -depth 8 "ppm:$work/badge.ppm"

python3 - "$work/badge.ppm" "$out" <<'PY'
import struct, sys

data = open(sys.argv[1], 'rb').read()
# P6 header: magic, width, height, maxval, then RGB triples.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pos += 1
width, height = int(fields[1]), int(fields[2])
rgb = data[pos:pos + width * height * 3]

# A fixed palette: the 6 x 6 x 6 colour cube, then 40 greys.
palette = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
palette += [(round(i * 255 / 39),) * 3 for i in range(40)]

def nearest(c):
    return min(range(256), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], c)))

cache = {}
stride = (width + 3) & ~3
pixels = bytearray()
for y in range(height - 1, -1, -1):  # bottom-up rows
    row = bytearray()
    for x in range(width):
        c = tuple(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3])
        if c not in cache:
            cache[c] = nearest(c)
        row.append(cache[c])
    pixels += row + bytes(stride - width)

offset = 14 + 40 + 256 * 4
header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
open(sys.argv[2], 'wb').write(header + info + table + pixels)
PY
echo "wrote $out"
