#!/bin/sh
# Renders the application icon's hicolor PNG sizes from its SVG source, keeping the transparency.
# Needs rsvg-convert (Debian: librsvg2-bin). Run from anywhere after changing the SVG; the PNGs are
# kept in the repository so that a build does not need the renderer.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
name=org.lapstone.Configuration
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$here/$name-$size.png" "$here/$name.svg"
done
