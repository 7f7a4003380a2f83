#!/bin/sh
# Makes the media files that media_tests reads: MP3s encoded by lame and
# tagged by id3v2 (plus a few tags written byte by byte where the tagger
# cannot write them: UTF-16 text, chosen genre texts), and pictures drawn by
# ImageMagick. Nothing here is kept in the repository; everything is made
# afresh into OUTDIR.
#
#   tests/media/make-media.sh OUTDIR
set -eu

[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
OUT=$1
rm -rf "$OUT"
mkdir -p "$OUT"
cd "$OUT"

need() { command -v "$1" >/dev/null 2>&1 || { echo "make-media: $1 is missing (apt-get install $2)" >&2; exit 1; }; }
need lame lame
need id3v2 id3v2
# /usr/local/bin/convert may be a stand-in: take ImageMagick's own when present.
if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else need convert imagemagick; CONVERT=convert; fi

# ------------------------------------------------------------------ audio
# Two seconds of 16-bit mono PCM at 44.1 kHz: silence, and a periodic buzz
# (a repeated text) that gives the VBR encoder something to vary on.
head -c 176400 /dev/zero >silence.pcm
yes 'Quorvane media test 0123456789 ~!' | head -c 176400 >buzz.pcm
RAW="-r -s 44.1 --bitwidth 16 --signed --little-endian -m m --silent"
lame $RAW 2>/dev/null -b 192 --cbr silence.pcm cbr192.mp3
lame $RAW 2>/dev/null -V 2 buzz.pcm vbr.mp3
lame $RAW 2>/dev/null -b 128 --cbr -s 32 silence.pcm cbr128_32k.mp3
rm -f silence.pcm buzz.pcm

cp cbr192.mp3 none.mp3

cp cbr192.mp3 v2.mp3
id3v2 -2 -a "Test Artist" -A "Test Album" -t "Test Title" -T "3/12" -y 2003 \
  -c "Nice comment" -g 17 \
  --TCOM "Test Composer" --TCOP "2003 Test Copyright" --TENC "Test Encoder" \
  --TOPE "Original Artist" --WXXX "http://example.com/user" --TPUB "Test Publisher" \
  --TIME "1234" --TLAN "eng" --TIT3 "Test Subtitle" v2.mp3

cp cbr192.mp3 v1.mp3
id3v2 -1 -a "V1 Artist" -A "V1 Album" -t "V1 Title" -T 7 -y 1999 -c "V1 comment" -g 0 v1.mp3

# Both tags, with different artists: the library merges them.
cp cbr192.mp3 both.mp3
id3v2 -1 -a "Old V1 Artist" -A "Only In V1" -g 3 both.mp3
id3v2 -2 -a "New V2 Artist" -t "Both Title" --TCOM "Both Composer" both.mp3

# Genre texts as taggers write them.
n=0
for g in "0" "(3)" "(17)Rock" "Synthpop" "(200)" "(130)" "(RX)" ""; do
  n=$((n + 1))
  cp cbr192.mp3 "genre$n.mp3"
  id3v2 -2 --TCON "$g" "genre$n.mp3"
done

# A tag cut short, a text file named .mp3, an empty file.
head -c 60 v2.mp3 >truncated.mp3
head -c 14 v2.mp3 >cut_header.mp3
printf 'This is a text file, not an MP3 file.\r\n' >text.mp3
: >empty.mp3

# ID3v2.3 frames in UTF-16 and ISO-8859-1, written byte by byte.
byte() { printf "\\$(printf '%03o' "$1")"; }
be32() { byte $(( ($1 >> 24) & 255 )); byte $(( ($1 >> 16) & 255 )); byte $(( ($1 >> 8) & 255 )); byte $(( $1 & 255 )); }
# frame ID CONTENTFILE
frame() { printf '%s' "$1"; be32 "$(wc -c <"$2")"; byte 0; byte 0; cat "$2"; }
# UTF-16LE with BOM "Björk"
{ byte 1; byte 255; byte 254; printf 'B\000j\000\366\000r\000k\000'; } >f_tpe1
# UTF-16BE with BOM "Sigur Rós"
{ byte 1; byte 254; byte 255; printf '\000S\000i\000g\000u\000r\000 \000R\000\363\000s'; } >f_tit2
# ISO-8859-1 "Café"
{ byte 0; printf 'Caf\351'; } >f_talb
# UTF-16LE "表" (U+8868) and a character outside the BMP (U+1D11E, a surrogate pair)
{ byte 1; byte 255; byte 254; printf '\150\210'; } >f_tcom
{ byte 1; byte 255; byte 254; printf 'G\000\064\330\036\335'; } >f_tope
# The user-defined link (the tagger above cannot write one): description, then the URL.
{ byte 0; printf 'home'; byte 0; printf 'http://example.com/user'; } >f_wxxx
{ frame TPE1 f_tpe1; frame TIT2 f_tit2; frame TALB f_talb; frame TCOM f_tcom; frame TOPE f_tope
  frame WXXX f_wxxx; } >frames
size=$(wc -c <frames)
{ printf 'ID3'; byte 3; byte 0; byte 0
  byte $(( (size >> 21) & 127 )); byte $(( (size >> 14) & 127 )); byte $(( (size >> 7) & 127 )); byte $(( size & 127 ))
  cat frames; cat cbr192.mp3; } >unicode.mp3
rm -f f_tpe1 f_tit2 f_talb f_tcom f_tope f_wxxx frames

# A compressed frame whose data is no zlib stream (the library's reader of
# compressed frames is not to be trusted with it), then audio and an ID3v1
# tag written by hand.
{ be32 4096; printf 'this is not zlib data'; } >f_comp
{ byte 0; printf 'Hidden Title'; } >f_tit2
{ frame TIT2 f_tit2; printf 'TCOM'; be32 "$(wc -c <f_comp)"; byte 0; byte 128; cat f_comp; } >frames
size=$(wc -c <frames)
{ printf 'ID3'; byte 3; byte 0; byte 0
  byte $(( (size >>21) & 127 )); byte $(( (size >> 14) & 127 )); byte $(( (size >> 7) & 127 )); byte $(( size & 127 ))
  cat frames; cat cbr192.mp3
  printf 'TAG%-30s%-30s%-30s%-4s%-30s' "Compressed V1 Title" "Compressed V1 Artist" "" "2001" ""; byte 17; } >compressed.mp3
rm -f f_comp f_tit2 frames

# ---------------------------------------------------------------- pictures
$CONVERT -size 640x480 gradient:red-blue -quality 90 photo.jpg
cp photo.jpg "Caf$(printf '\303\251') photo.jpg"
$CONVERT -size 64x32 gradient:red-blue -colors 16 -define png:color-type=3 -define png:bit-depth=8 PNG8:palette.png
$CONVERT -size 33x17 pattern:checkerboard -monochrome -type bilevel BMP3:mono.bmp
$CONVERT -size 40x30 gradient:green-yellow anim.gif
$CONVERT -size 50x40 gradient:red-blue -compress lzw picture.tif
printf 'This is a text file, not a picture.\r\n' >text.jpg

# Names with U+8868, whose code-page-932 form ends in the byte of a backslash.
HYO=$(printf '\350\241\250')
cp v2.mp3 "$HYO.mp3"
cp photo.jpg "$HYO.jpg"

echo "make-media: files made in $(pwd)"
