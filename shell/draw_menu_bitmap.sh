#!/bin/sh
# Draws the menu item's bitmap of the context-menu extension: 16 x 16
# pixels, 24 bits per pixel, as an uncompressed BMP for the resource
# compiler. Our own art: two sheets of paper, the front one with lines of
# text, and an orange pencil across its corner (renaming files). Menus show
# item bitmaps in their check-mark box, which may be smaller than 16 pixels
# (13 under Wine) and keeps the top left: the picture lies in the top-left
# 13 x 13 pixels.
#   draw_menu_bitmap.sh OUTPUT.bmp
set -eu
out=${1:?usage: draw_menu_bitmap.sh OUTPUT.bmp}
convert +antialias -size 16x16 xc:'#F0F0F0' \
  -fill white -stroke '#6A6A6A' -strokewidth 1 \
  -draw 'rectangle 0,0 6,9' \
  -draw 'rectangle 3,2 10,12' \
  -stroke '#2F6FD0' \
  -draw 'line 5,5 8,5' -draw 'line 5,7 8,7' -draw 'line 5,9 7,9' \
  -stroke '#E08A1E' -draw 'line 8,11 12,7' -draw 'line 9,11 12,8' \
  -fill '#3A2A1A' -stroke none -draw 'point 7,12' -draw 'point 8,12' \
  -fill '#C03030' -draw 'point 12,6' -draw 'point 11,6' \
  -alpha off -type TrueColor -depth 8 \
  -define bmp:format=bmp3 -compress None "BMP3:$out"
