#!/usr/bin/env bash
# Writes the files of this folder again from doc.txt, sheet.csv and slides.fodp with
# the programs that made them (Debian 12: libreoffice-writer-nogui,
# libreoffice-calc-nogui, libreoffice-impress-nogui, imagemagick, zip, gzip).
set -eu
cd "$(dirname "$0")"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
office() {
  HOME=$profile soffice --headless --convert-to "$1" "$2" >/dev/null 2>&1
}
for type in doc docx rtf pdf html; do office $type doc.txt; done
for type in xls xlsx; do office $type sheet.csv; done
for type in ppt pptx; do office $type slides.fodp; done
# The .ppt carries a 440 KB preview picture; it is kept compressed.
gzip -9 -n -f slides.ppt

convert -size 64x48 gradient:blue-yellow image.png
convert image.png image.gif
convert image.png -quality 85 image.jpg
convert image.png -compress lzw image.tif

seq 1 3000 > numbers.txt
rm -f archive.zip archive-best.zip
zip -q -X archive.zip numbers.txt doc.txt
zip -q -X -9 archive-best.zip numbers.txt doc.txt
rm numbers.txt
