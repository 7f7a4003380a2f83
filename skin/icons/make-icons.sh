#!/bin/sh
# Draws the program's icons with ImageMagick: simple glyphs on transparency,
# drawn on a canvas four times the final size and scaled down (smooth edges).
#
#   skin/icons/make-icons.sh OUTDIR
#
# Writes OUTDIR/icon_<id>.ico for every icon id of app/resource.h, each
# file with the sizes the display scales ask for (100 %, 125 %, 150 % and
# 200 %): every icon at 16, 20, 24 and 32 pixels, the drop-down mark 223 at
# 12, 15, 18 and 24, the program icon 128 at 16, 20, 24, 32, 40, 48, 64 and
# 256. The program loads the size its window's scale asks for, and the
# system picks the entry nearest it. Only shapes, no text, so no font is
# needed.
set -eu

OUT=${1:?usage: make-icons.sh OUTDIR}
mkdir -p "$OUT"
TMP=$(mktemp -d "${TMPDIR:-/tmp}/quorv-icons.XXXXXX")
trap 'rm -rf "$TMP"' EXIT

# Colours.
BLUE='#2f6fbf'; BLUE_DARK='#1d4a85'; GREEN='#2e9e44'; GREEN_DARK='#1f6e2f'
RED='#d23b3b'; RED_DARK='#962020'; ORANGE='#e8912c'; YELLOW='#f2c14e'; YELLOW_DARK='#b8861f'
GREY='#4a4a4a'; PAPER='#fbfbfb'; PAPER_EDGE='#7a7a7a'

# The sizes of every icon but the program's and the drop-down mark's: 16
# pixels at 100 %, and at 125 %, 150 % and 200 %.
SIZES="16 20 24 32"

# glyph NAME SIZE BASE draw-arguments...: draws on a 4x canvas (SIZE x 4
# pixels square) with the coordinates below given for the canvas of BASE
# pixels (64 x 64 for 16), stretched to the size (lines and all), and
# scales it down.
glyph() {
  name=$1; size=$2; base=$3; shift 3
  big=$((size * 4))
  factor=$(awk "BEGIN { print $size / $base }")
  convert -size "${big}x${big}" xc:none -affine "$factor,0,0,$factor,0,0" "$@" \
    -filter Box -resize "${size}x${size}" "PNG32:$TMP/${name}_$size.png"
}

# ico ID NAME: one icon file from every size drawn of NAME, smallest first.
ico() {
  id=$1; name=$2
  files=$(for f in "$TMP/${name}"_[0-9]*.png; do echo "$(basename "$f" .png | sed 's/.*_//') $f"; done | sort -n | cut -d' ' -f2)
  # shellcheck disable=SC2086
  convert $files "$OUT/icon_$id.ico"
}

# ---- shared shapes (64-pixel canvas)
paper()  { echo "-fill '$PAPER' -stroke '$PAPER_EDGE' -strokewidth 3 -draw \"path 'M 14,4 L 40,4 L 52,16 L 52,60 L 14,60 Z'\" -fill none -draw \"path 'M 40,4 L 40,16 L 52,16'\""; }
folder() { echo "-fill '$YELLOW' -stroke '$YELLOW_DARK' -strokewidth 3 -draw \"path 'M 4,14 L 24,14 L 29,20 L 60,20 L 60,56 L 4,56 Z'\" -draw \"line 4,26 60,26\""; }
# plus CX CY T L: a green plus centred at (CX, CY), arms T thick and L long
# (both halves).
plus()   {
  cx=$1; cy=$2; t=$3; l=$4
  echo "-fill '$GREEN' -stroke '$GREEN_DARK' -strokewidth 2 -draw \"path 'M $((cx-t)),$((cy-l)) L $((cx+t)),$((cy-l)) L $((cx+t)),$((cy-t)) L $((cx+l)),$((cy-t)) L $((cx+l)),$((cy+t)) L $((cx+t)),$((cy+t)) L $((cx+t)),$((cy+l)) L $((cx-t)),$((cy+l)) L $((cx-t)),$((cy+t)) L $((cx-l)),$((cy+t)) L $((cx-l)),$((cy-t)) L $((cx-t)),$((cy-t)) Z'\""
}
disk()   { echo "-fill '$1' -stroke '$2' -strokewidth 3 -draw \"path 'M 6,6 L 50,6 L 58,14 L 58,58 L 6,58 Z'\" -fill '$PAPER' -draw \"rectangle 16,6 46,24\" -fill '$2' -stroke none -draw \"rectangle 36,9 42,21\" -fill '$PAPER' -stroke '$2' -draw \"rectangle 14,36 50,58\" -draw \"line 20,44 44,44\" -draw \"line 20,51 44,51\""; }
# arrow FILL EDGE X0 X1 Y0 Y1: a vertical arrow inside the box X0..X1,
# pointing from Y0 (tail) to Y1 (tip); the head takes 45% of the length.
arrow() {
  x0=$3; x1=$4; y0=$5; y1=$6
  cx=$(((x0 + x1) / 2)); w=$((x1 - x0)); s0=$((x0 + w * 3 / 10)); s1=$((x1 - w * 3 / 10))
  base=$((y1 + (y0 - y1) * 45 / 100))
  echo "-fill '$1' -stroke '$2' -strokewidth 2 -draw \"path 'M $cx,$y1 L $x1,$base L $s1,$base L $s1,$y0 L $s0,$y0 L $s0,$base L $x0,$base Z'\""
}

draw() {  # name base "shape arguments": the glyph at every size, the base size at 100 %
  name=$1; base=$2; shift 2
  if [ "$base" = 12 ]; then sizes="12 15 18 24"; else sizes=$SIZES; fi
  for size in $sizes; do
    eval "glyph \"\$name\" \"\$size\" \"\$base\" $*"
  done
}

# ---- the program icon: a blue tile, a page and an orange arrow (renaming),
# drawn at each size with that size's own coordinates
for s in 16 20 24 32 40 48 64 256; do
  eval glyph program "$s" "$s" "-fill '$BLUE' -stroke '$BLUE_DARK' -strokewidth $((s / 4)) -draw \"roundrectangle $((s/8)),$((s/8)) $((4*s - s/8 - 1)),$((4*s - s/8 - 1)) $((s/2)),$((s/2))\"" \
    "-fill '$PAPER' -stroke none -draw \"rectangle $((s*4*22/64)),$((s*4*12/64)) $((s*4*44/64)),$((s*4*52/64))\"" \
    "-fill '$BLUE' -draw \"rectangle $((s*4*26/64)),$((s*4*20/64)) $((s*4*40/64)),$((s*4*23/64))\" -draw \"rectangle $((s*4*26/64)),$((s*4*28/64)) $((s*4*40/64)),$((s*4*31/64))\"" \
    "-fill '$ORANGE' -stroke '#8a4f0c' -strokewidth $((s / 8)) -draw \"path 'M $((s*4*10/64)),$((s*4*38/64)) L $((s*4*36/64)),$((s*4*38/64)) L $((s*4*36/64)),$((s*4*30/64)) L $((s*4*54/64)),$((s*4*44/64)) L $((s*4*36/64)),$((s*4*58/64)) L $((s*4*36/64)),$((s*4*50/64)) L $((s*4*10/64)),$((s*4*50/64)) Z'\""
done
ico 128 program

# ---- caption buttons: the glyph centred 2 pixels left of the icon's
# middle, as the button draws the icon 3 pixels from its left edge.
draw close 16 "-stroke '$GREY' -strokewidth 8 -draw \"line 12,20 36,44\" -draw \"line 36,20 12,44\""
draw minimize 16 "-fill '$GREY' -stroke none -draw \"rectangle 10,40 38,47\""
draw maximize 16 "-fill none -stroke '$GREY' -strokewidth 5 -draw \"rectangle 11,19 37,45\" -fill '$GREY' -draw \"rectangle 11,19 37,25\""
draw restore 16 "-fill none -stroke '$GREY' -strokewidth 5 -draw \"rectangle 18,14 42,36\" -fill '$GREY' -draw \"rectangle 18,14 42,19\"" \
  "-fill '#ffffff00' -stroke '$GREY' -draw \"rectangle 7,26 31,48\" -fill '$GREY' -draw \"rectangle 7,26 31,31\""
ico 131 close; ico 133 minimize; ico 214 maximize; ico 216 restore

# ---- help menu
draw manual 16 "-fill '$BLUE' -stroke '$BLUE_DARK' -strokewidth 3 -draw \"roundrectangle 8,4 54,60 4,4\"" \
  "-fill '$PAPER' -stroke none -draw \"rectangle 16,4 20,60\" -draw \"rectangle 26,14 46,19\" -draw \"rectangle 26,24 46,29\""
draw about 16 "-fill '$BLUE' -stroke '$BLUE_DARK' -strokewidth 3 -draw \"circle 32,32 32,4\"" \
  "-fill '$PAPER' -stroke none -draw \"circle 32,17 32,12\" -draw \"rectangle 27,26 37,50\""
draw email 16 "-fill '$PAPER' -stroke '$PAPER_EDGE' -strokewidth 3 -draw \"rectangle 4,14 60,50\"" \
  "-fill none -stroke '$BLUE' -strokewidth 4 -draw \"polyline 6,16 32,36 58,16\""
draw website 16 "-fill '#5aa0e6' -stroke '$BLUE_DARK' -strokewidth 3 -draw \"circle 32,32 32,4\"" \
  "-fill none -stroke '$BLUE_DARK' -strokewidth 3 -draw \"ellipse 32,32 12,28 0,360\" -draw \"line 4,32 60,32\" -draw \"line 32,4 32,60\"" \
  "-fill '$GREEN' -stroke none -draw \"ellipse 22,22 8,6 0,360\" -draw \"ellipse 42,44 8,7 0,360\""
draw update 16 "-fill '$PAPER' -stroke '$PAPER_EDGE' -strokewidth 3 -draw \"rectangle 6,40 58,58\"" \
  "$(arrow "$GREEN" "$GREEN_DARK" 14 50 4 50)"
ico 136 manual; ico 137 about; ico 139 email; ico 140 website
ico 198 update

# ---- rule files and batch files
draw save_rules 16 "$(disk "$BLUE" "$BLUE_DARK")"
draw save_batch 16 "$(disk "$GREEN" "$GREEN_DARK")"
draw load 16 "$(folder)" "-fill '$ORANGE' -stroke '#8a4f0c' -strokewidth 2 -draw \"path 'M 32,30 L 46,44 L 38,44 L 38,54 L 26,54 L 26,44 L 18,44 Z'\""
ico 153 save_rules; ico 155 load; ico 157 save_batch

# ---- the file list
draw remove_selected 16 "$(paper)" "-fill '$RED' -stroke '$RED_DARK' -strokewidth 2 -draw \"rectangle 6,36 40,48\""
draw remove_all 16 "-stroke '$RED' -strokewidth 10 -draw \"line 12,12 52,52\" -draw \"line 52,12 12,52\""
draw move_up 16 "$(arrow "$GREEN" "$GREEN_DARK" 6 58 60 4)"
draw move_down 16 "$(arrow "$GREEN" "$GREEN_DARK" 6 58 4 60)"
draw select_all 16 "-fill '$PAPER' -stroke '$BLUE' -strokewidth 4 -draw \"rectangle 6,6 58,58\"" \
  "-fill none -stroke '$GREEN' -strokewidth 7 -draw \"polyline 16,32 28,44 50,18\""
draw invert 16 "-fill '$PAPER' -stroke '$BLUE' -strokewidth 4 -draw \"rectangle 6,6 58,58\"" \
  "-fill '$BLUE' -stroke none -draw \"polygon 8,56 56,8 56,56\""
draw move_files 16 "$(folder)" "-fill '$ORANGE' -stroke '#8a4f0c' -strokewidth 2 -draw \"path 'M 14,32 L 36,32 L 36,26 L 50,38 L 36,50 L 36,44 L 14,44 Z'\""
draw copy_files 16 "-fill '$PAPER' -stroke '$PAPER_EDGE' -strokewidth 3 -draw \"rectangle 6,4 38,44\" -draw \"rectangle 24,20 56,60\"" \
  "-fill none -stroke '$BLUE' -strokewidth 3 -draw \"line 30,32 50,32\" -draw \"line 30,40 50,40\" -draw \"line 30,48 50,48\""
draw add_files 16 "$(paper)" "$(plus 42 44 5 15)"
draw add_dir 16 "$(folder)" "$(plus 42 42 5 15)"
draw sort 16 "-fill '$BLUE' -stroke none -draw \"rectangle 4,8 18,14\" -draw \"rectangle 4,22 28,28\" -draw \"rectangle 4,36 38,42\" -draw \"rectangle 4,50 48,56\"" \
  "$(arrow "$GREEN" "$GREEN_DARK" 40 62 4 60)"
ico 146 remove_selected; ico 147 remove_all; ico 169 move_up
ico 171 move_down; ico 183 select_all; ico 189 invert
ico 184 move_files; ico 190 copy_files; ico 191 add_files
ico 192 add_dir; ico 208 sort

# ---- the rule list
draw add_rule 16 "$(plus 32 32 7 25)"
draw delete_rule 16 "-fill '$RED' -stroke '$RED_DARK' -strokewidth 2 -draw \"rectangle 8,25 56,39\""
draw update_rule 16 "-fill '$ORANGE' -stroke '#8a4f0c' -strokewidth 3 -draw \"path 'M 44,6 L 58,20 L 24,54 L 8,58 L 12,42 Z'\"" \
  "-fill '$PAPER' -stroke '#8a4f0c' -draw \"path 'M 12,42 L 24,54 L 8,58 Z'\" -fill '$GREY' -stroke none -draw \"path 'M 8,58 L 10,50 L 16,56 Z'\""
ico 185 add_rule; ico 186 delete_rule; ico 224 update_rule

# ---- the command bar
draw undo 16 "-fill none -stroke '$BLUE' -strokewidth 8 -draw \"arc 14,14 56,56 -100,140\"" \
  "-fill '$BLUE' -stroke '$BLUE_DARK' -strokewidth 2 -draw \"polygon 4,16 30,6 26,32\""
draw theme 16 "-stroke '$GREY' -strokewidth 2 -fill '$RED' -draw \"rectangle 6,6 30,30\" -fill '$GREEN' -draw \"rectangle 34,6 58,30\"" \
  "-fill '$BLUE' -draw \"rectangle 6,34 30,58\" -fill '$YELLOW' -draw \"rectangle 34,34 58,58\""
draw preview 16 "-fill '#dff0ff' -stroke '$GREY' -strokewidth 6 -draw \"circle 26,26 26,8\" -strokewidth 10 -draw \"line 40,40 58,58\""
draw rename 16 "-fill '$PAPER' -stroke '$PAPER_EDGE' -strokewidth 3 -draw \"rectangle 4,18 60,46\"" \
  "-fill '$BLUE' -stroke none -draw \"rectangle 10,26 34,38\" -fill '$ORANGE' -draw \"rectangle 40,12 44,52\" -draw \"rectangle 35,12 49,15\" -draw \"rectangle 35,49 49,52\""
ico 180 undo; ico 212 theme; ico 218 preview; ico 222 rename

# ---- the drop-down mark, 12 x 12
draw drop_down 12 "-fill '$GREY' -stroke none -draw \"polygon 8,18 40,18 24,36\""
ico 223 drop_down
