#!/bin/sh
# Draws the menu item's bitmap of the context-menu extension: 16 x 16
# pixels, 24 bits per pixel, as an uncompressed BMP for the resource
# compiler. Our own art: two sheets of paper, the front one with lines of
# text, and an orange pencil across its corner (renaming files).
#   draw_menu_bitmap.sh OUTPUT.bmp
set -eu
out=${1:?usage: draw_menu_bitmap.sh OUTPUT.bmp}
convert +antialias -size 16x16 xc:'#F0F0F0' \
  -fill white -stroke '#6A6A6A' -strokewidth 1 \
  -draw 'rectangle 1,0 8,10' \
  -draw 'rectangle 4,3 11,14' \
  -stroke '#2F6FD0' \
  -draw 'line 6,6 9,6' -draw 'line 6,8 9,8' -draw 'line 6,10 8,10' \
  -stroke '#E08A1E' -draw 'line 9,13 14,8' -draw 'line 10,13 15,8' \
  -fill '#3A2A1A' -draw 'point 8,14' -draw 'point 9,14' \
  -fill '#C03030' -draw 'point 15,7' -draw 'point 14,7' \
  -alpha off -type TrueColor -depth 8 \
  -define bmp:format=bmp3 -compress None "BMP3:$out"
