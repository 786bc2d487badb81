#!/usr/bin/env bash
# Draws the launcher's pictures and icon with ImageMagick; the results are committed beside it.
# Needs imagemagick and fonts-dejavu-core. Run again only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
serif=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf

# The maker's logo banner with its tagline: 421 x 105, 8 bits per pixel with a 256-colour palette, RLE8.
convert -size 421x105 gradient:'#0b2a55'-'#1d5fa8' \
  -fill '#f2f6fb' -draw 'roundrectangle 10,12 88,92 12,12' \
  -fill none -stroke '#1d5fa8' -strokewidth 6 -draw 'arc 22,24 76,78 150,390' \
  -stroke '#e8a317' -strokewidth 4 -draw 'line 49,51 68,34' \
  -stroke none -fill '#0b2a55' -draw 'circle 49,51 54,51' \
  -fill white -font "$serif" -pointsize 34 -annotate +102+52 'HALVIK' \
  -fill '#cfe0f4' -font "$sans" -pointsize 17 -annotate +104+76 'INSTRUMENTS' \
  -fill '#e8a317' -draw 'rectangle 104,84 408,86' \
  -fill '#f2f6fb' -font "$sans" -pointsize 12 -annotate +104+100 'Precision you can measure' \
  "$tmp/banner.png"
convert "$tmp/banner.png" -dither None -colors 256 -type Palette -compress None BMP3:"$tmp/banner.bmp"
# Stored RLE8-compressed (a fifth of the size), row by row within the width: ImageMagick's own RLE
# encoder runs into each row's padding, which a strict reader rightly refuses.
python3 - "$tmp/banner.bmp" banner.bmp <<'PY'
import struct, sys
src, dst = sys.argv[1], sys.argv[2]
f = open(src, "rb").read()
offset, = struct.unpack_from("<I", f, 10)
header_size, = struct.unpack_from("<I", f, 14)
w, h, planes, bpp, comp = struct.unpack_from("<iiHHI", f, 18)
assert bpp == 8 and comp == 0 and h > 0, (bpp, comp, h)
stride = (w + 3) // 4 * 4
out = bytearray()
for y in range(h):  # in the file's order: bottom row first
    row = f[offset + y * stride:offset + y * stride + w]
    x = 0
    while x < w:
        run = 1
        while x + run < w and run < 255 and row[x + run] == row[x]:
            run += 1
        if run >= 2:
            out += bytes((run, row[x]))
            x += run
            continue
        # A stretch of pixels that do not repeat: absolute mode from three on, padded to 16 bits.
        end = x + 1
        while end < w and end - x < 255 and not (end + 1 < w and row[end + 1] == row[end]):
            end += 1
        n = end - x
        if n >= 3:
            out += bytes((0, n)) + row[x:end] + (b"\0" if n & 1 else b"")
        else:
            out += b"".join(bytes((1, p)) for p in row[x:end])
        x = end
    out += b"\0\0" if y < h - 1 else b"\0\1"  # end of line; end of bitmap after the last
head = bytearray(f[:offset])
struct.pack_into("<I", head, 30, 1)         # BI_RLE8
struct.pack_into("<I", head, 34, len(out))  # image size
struct.pack_into("<I", head, 2, len(head) + len(out))
open(dst, "wb").write(bytes(head) + bytes(out))
PY

# The measuring instrument: a hand-held meter with its display, keys and probe, 407 x 804.
convert -size 407x804 gradient:'#ffffff'-'#d9dee5' \
  -fill '#9aa3ad' -draw 'roundrectangle 58,62 356,748 46,46' \
  -fill '#2f3a46' -draw 'roundrectangle 48,48 346,734 46,46' \
  -fill '#e8a317' -draw 'roundrectangle 62,62 332,720 36,36' \
  -fill '#2f3a46' -draw 'roundrectangle 78,78 316,704 28,28' \
  -fill '#0e1a12' -draw 'roundrectangle 100,110 294,270 10,10' \
  -fill '#a9d98c' -draw 'roundrectangle 110,120 284,260 6,6' \
  -fill '#1c3312' -font "$sans" -pointsize 54 -annotate +122+215 '23.47' \
  -fill '#1c3312' -font "$sans" -pointsize 18 -annotate +232+248 'mV' \
  -fill '#d6dbe1' -draw 'circle 197,430 197,340' \
  -fill '#2f3a46' -draw 'circle 197,430 197,368' \
  -fill '#e8a317' -draw 'polygon 192,430 202,430 197,352' \
  -fill '#d6dbe1' -draw 'circle 197,430 197,418' \
  -fill '#55616e' -draw 'roundrectangle 104,300 160,330 6,6' -draw 'roundrectangle 234,300 290,330 6,6' \
  -fill '#55616e' -draw 'roundrectangle 104,530 160,560 6,6' -draw 'roundrectangle 234,530 290,560 6,6' \
  -fill '#c0392b' -draw 'circle 130,640 130,618' -fill '#111111' -draw 'circle 264,640 264,618' \
  -fill '#f2f6fb' -font "$bold" -pointsize 22 -annotate +132+690 'FENDRIK 3' \
  -fill none -stroke '#c0392b' -strokewidth 8 -draw 'bezier 130,640 60,760 30,790 10,800' \
  -stroke '#111111' -draw 'bezier 264,640 340,760 380,790 400,800' \
  -quality 88 -sampling-factor 2x2 photograph.jpg

# The product's wordmark: 375 x 80.
convert -size 375x80 xc:white \
  -fill '#1d5fa8' -font "$bold" -pointsize 50 -annotate +14+58 'Vantrel' \
  -fill '#e8a317' -draw 'polygon 232,20 262,20 247,46' \
  -fill '#55616e' -font "$sans" -pointsize 15 -annotate +272+40 'Version 1.0' \
  -fill '#55616e' -font "$sans" -pointsize 13 -annotate +272+60 'Software' \
  -quality 90 wordmark.jpg

# The three-image icon, 24-bit colour: a gauge on the maker's blue.
for s in 16 32 48; do
  convert -size 48x48 xc:'#1d5fa8' \
    -fill '#f2f6fb' -draw 'circle 24,26 24,6' \
    -fill '#e8a317' -draw 'polygon 22,27 26,25 36,12' \
    -fill '#0b2a55' -draw 'circle 24,26 24,22' \
    -resize ${s}x${s} -type TrueColor -define bmp:format=bmp3 BMP3:"$tmp/icon$s.bmp"
done
python3 - "$tmp" <<'PY'
import struct, sys
tmp = sys.argv[1]
images = []
for s in (16, 32, 48):
    bmp = open(f"{tmp}/icon{s}.bmp", "rb").read()
    offset = struct.unpack_from("<I", bmp, 10)[0]
    w, h, planes, bpp = struct.unpack_from("<iiHH", bmp, 18)
    assert (w, h, bpp) == (s, s, 24), (w, h, bpp)
    xor = bmp[offset:offset + ((s * 3 + 3) // 4 * 4) * s]
    and_mask = bytes(((s + 31) // 32 * 4) * s)
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 24, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    images.append((s, header + xor + and_mask))
out = struct.pack("<HHH", 0, 1, len(images))
at = 6 + 16 * len(images)
for s, data in images:
    out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 24, len(data), at)
    at += len(data)
out += b"".join(d for _, d in images)
open("vantrel.ico", "wb").write(out)
PY
