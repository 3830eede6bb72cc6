#!/bin/sh
# Renders the icon's PNG sizes from its drawings (needs rsvg-convert, Debian
# package librsvg2-bin). Run after changing an SVG and commit the PNGs: the
# build itself needs no converter. The smallest sizes come from drawings on
# their own pixel grid, which stay sharp where a scaled-down picture blurs.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    case $size in
        16) src=src/tallix-16.svg ;;
        22 | 24) src=src/tallix-24.svg ;;
        *) src=hicolor/scalable/apps/tallix.svg ;;
    esac
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$src" -o "hicolor/${size}x${size}/apps/tallix.png"
done
