#!/bin/sh
# Makes the pictures that preview_win32_tests shows: a landscape and a
# portrait JPEG, each with two colour bands so that the tests can tell top
# from bottom. Drawn afresh by ImageMagick into OUTDIR.
#
#   tests/win32/make-preview-pictures.sh OUTDIR
set -eu
[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
OUT=$1
rm -rf "$OUT"
mkdir -p "$OUT"
# /usr/local/bin/convert may be a stand-in: take ImageMagick's own when present.
if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi
command -v "$CONVERT" >/dev/null 2>&1 || { echo "make-preview-pictures: convert is missing (apt-get install imagemagick)" >&2; exit 1; }
# 600 x 300: red above blue.
"$CONVERT" -size 600x150 xc:'#D00000' -size 600x150 xc:'#0000D0' -append -quality 95 "$OUT/landscape.jpg"
# 150 x 300: green above yellow; the upper-case name is on purpose.
"$CONVERT" -size 150x150 xc:'#00A000' -size 150x150 xc:'#D0D000' -append -quality 95 "$OUT/Portrait.JPG"
