#!/bin/sh
# Writes ImageMagick's picture of every BMP suite file (8-bit RGB, top row first) as
# OUT/<folder>-<name>.rgb, for the Windows tests, which cannot run ImageMagick from under Wine.
# Files that ImageMagick cannot decode get no picture. Usage: imagemagick_reference.sh SUITE OUT
set -u
suite=$1 out=$2
rm -rf "$out"
mkdir -p "$out"
for folder in g q b; do
  for file in "$suite/$folder"/*.bmp; do
    picture="$out/$folder-$(basename "$file").rgb"
    convert "$file" -depth 8 "rgb:$picture" 2>/dev/null
    [ -s "$picture" ] || rm -f "$picture"
  done
done
ls "$out"/*.rgb >/dev/null
