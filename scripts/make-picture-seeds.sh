#!/usr/bin/env bash
# Writes the small real pictures the decoder fuzz targets start from
# (vcl/fuzz/*_decode.seeds/): one of each coding the decoders take, made by
# ImageMagick (set up by scripts/setup.sh) from one fixed 16x12 picture. The
# arithmetic-coded JPEGs, which ImageMagick does not write, come from a few lines
# against the system's libjpeg. Run by hand when a coding is added; the files are
# kept in the checkout.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seeds=$root/vcl/fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cat >arith.c <<'EOF'
/* arith IN.jpg OUT.jpg [progressive]: the same coefficients, arithmetic-coded. */
#include <stdio.h>
#include <jpeglib.h>
int main(int argc, char** argv) {
  FILE* in = fopen(argv[1], "rb");
  FILE* out = fopen(argv[2], "wb");
  struct jpeg_decompress_struct d;
  struct jpeg_compress_struct c;
  struct jpeg_error_mgr e1, e2;
  if (!in || !out) return 1;
  d.err = jpeg_std_error(&e1);
  jpeg_create_decompress(&d);
  jpeg_stdio_src(&d, in);
  jpeg_read_header(&d, TRUE);
  jvirt_barray_ptr* coefs = jpeg_read_coefficients(&d);
  c.err = jpeg_std_error(&e2);
  jpeg_create_compress(&c);
  jpeg_copy_critical_parameters(&d, &c);
  c.arith_code = TRUE;
  if (argc > 3) jpeg_simple_progression(&c);
  jpeg_stdio_dest(&c, out);
  jpeg_write_coefficients(&c, coefs);
  jpeg_finish_compress(&c);
  jpeg_finish_decompress(&d);
  return fclose(out) != 0;
}
EOF
cc -O1 arith.c -ljpeg -o arith

convert -size 16x12 -seed 1 plasma:red-blue -blur 0x1 src.ppm
png="-strip -define png:exclude-chunks=date,time"
p=$seeds/png_decode.seeds
convert src.ppm $png -interlace PNG PNG24:"$p/rgb-interlaced.png"
convert src.ppm $png -alpha set -channel A -evaluate set 60% +channel -depth 16 PNG64:"$p/rgba16.png"
convert src.ppm $png -colorspace Gray -depth 16 PNG:"$p/grey16.png"
corner=$(convert src.ppm -colors 4 -format '%[pixel:p{0,0}]' info:)
convert src.ppm $png -colors 4 -transparent "$corner" PNG8:"$p/palette-trns.png"
convert src.ppm $png -monochrome PNG:"$p/mono1.png"

j=$seeds/jpeg_decode.seeds
convert src.ppm -strip -quality 80 -sampling-factor 2x2 "$j/huffman-420.jpg"
convert src.ppm -strip -quality 90 -sampling-factor 1x1 "$j/huffman-444.jpg"
convert src.ppm -strip -quality 75 -sampling-factor 2x1 -interlace JPEG "$j/huffman-progressive.jpg"
convert src.ppm -strip -quality 75 -define jpeg:restart-interval=1 "$j/huffman-restarts.jpg"
convert src.ppm -strip -quality 75 -colorspace CMYK "$j/huffman-cmyk.jpg"
./arith "$j/huffman-420.jpg" "$j/arithmetic-420.jpg"
./arith "$j/huffman-444.jpg" "$j/arithmetic-progressive.jpg" progressive

g=$seeds/gif_decode.seeds
convert -delay 10 src.ppm -colors 8 \( src.ppm -flop -colors 4 -transparent black \) \
  \( src.ppm -crop 8x6+2+2 -colors 16 \) -loop 0 -strip "$g/three-frames.gif"
convert src.ppm -strip -colors 2 "$g/two-colours.gif"
convert src.ppm -strip -colors 200 -transparent white "$g/transparent-256.gif"

b=$seeds/bmp_decode.seeds
convert src.ppm -strip -colors 200 -type Palette -compress None BMP3:"$b/p8.bmp"
convert src.ppm -strip -colors 16 -type Palette BMP3:"$b/p4.bmp"
convert src.ppm -strip -monochrome BMP3:"$b/p1.bmp"
convert src.ppm -strip -colors 200 -type Palette -compress RLE BMP3:"$b/rle8.bmp"
convert src.ppm -strip -define bmp:subtype=RGB565 BMP:"$b/bitfields-565.bmp"
convert src.ppm -strip -alpha set -channel A -fx "j/h" +channel BMP:"$b/v5-alpha.bmp"

i=$seeds/icon_decode.seeds
convert src.ppm -strip -define icon:auto-resize=16,24 "$i/two-sizes.ico"
# One image stored as a PNG stream, as icons of 256 pixels are.
python3 - "$p/palette-trns.png" "$i/png-inside.ico" <<'EOF'
import struct, sys
png = open(sys.argv[1], 'rb').read()
entry = struct.pack('<BBBBHHII', 16, 12, 0, 0, 1, 32, len(png), 22)
open(sys.argv[2], 'wb').write(struct.pack('<HHH', 0, 1, 1) + entry + png)
EOF
echo "picture seeds written"
