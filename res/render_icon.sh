#!/usr/bin/env bash
# Renders a vector drawing (ImageMagick MVG, 256 x 256) into a Windows icon with the
# sizes Explorer and the title bar ask for: 256, 48, 32 and 16 pixels, 8 bits a channel.
#   render_icon.sh SOURCE.mvg TARGET.ico
set -euo pipefail
source="$1" target="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
images=()
for size in 256 48 32 16; do
  convert -background none -size 256x256 "mvg:$source" -resize "${size}x${size}" \
    -depth 8 "PNG32:$work/$size.png"
  images+=("$work/$size.png")
done
convert "${images[@]}" "$target"
