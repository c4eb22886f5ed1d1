#!/bin/sh
# Draws the setup program's welcome and finish page picture (164 x 314, the
# size the wizard shows) from the program's icon: the mark on the green of
# the icon, fading to a darker green, with the product's name in white below.
#   make-wizard-bitmap.sh ICON_FILE FONT_FILE OUT_BMP
set -eu
icon="$1"
font="$2"
out="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
icotool -x -w 256 -o "$work/icon.png" "$icon"
convert -size 164x314 gradient:'#3aa866'-'#1d6e40' \
    \( "$work/icon.png" -resize 112x112 \) -gravity north -geometry +0+48 -composite \
    -font "$font" -pointsize 20 -fill white -annotate +0+186 '青禾计算器' \
    -strip -type TrueColor -define bmp:format=bmp3 "BMP3:$out"
