#!/bin/sh
# Draws the program icon with ImageMagick: a blue tile with a white "字"
# under an amber magnifying glass. Writes the PNGs that are installed and
# the XPMs that are compiled into the program.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/res/icons"
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#1f4e9c' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#2f6fd0' -draw 'roundrectangle 8,8 247,200 40,40' \
  -fill '#1f4e9c' -draw 'rectangle 8,150 247,200' \
  -font "$font" -pointsize 150 -fill white -gravity center -annotate +0-22 '字' \
  -gravity northwest \
  -stroke '#f5b82e' -strokewidth 22 -fill none -draw 'circle 168,170 168,222' \
  -stroke '#f5b82e' -strokewidth 28 -draw 'line 205,207 238,240' \
  "$work/icon-256.png"

for size in 16 32 48 256; do
  convert "$work/icon-256.png" -filter Lanczos -resize ${size}x${size} "$out/quillmark-$size.png"
done
for size in 16 32 48; do
  # One transparent colour and a small palette keep the XPM readable by wx.
  convert "$out/quillmark-$size.png" -channel A -threshold 50% +channel -colors 63 -depth 8 \
    "$work/quillmark_$size.xpm"
  sed -e "s/^static .*\[\] = {/static const char* const quillmark_${size}_xpm[] = {/" \
    "$work/quillmark_$size.xpm" > "$out/quillmark_$size.xpm"
done
