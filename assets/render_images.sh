#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Regenerates the raster icons and the emblem JPEG from their SVG sources.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

icon_svg="$here/icon/buffon-needle.svg"
# The theme icons keep their alpha: panels and launchers draw them on their own colour, often a
# dark one, where a white square would stand out.
for size in 32 48 64 128 256; do
    out_dir="$here/icon/hicolor/${size}x${size}"
    mkdir -p "$out_dir"
    rsvg-convert -w "$size" -h "$size" "$icon_svg" -o "$tmp/icon-$size.png"
    convert "$tmp/icon-$size.png" -strip PNG32:"$out_dir/buffon-needle.png"
done

# The window's own icon stays plain RGB on a white ground, since some window managers draw
# alpha badly. The ground is painted in the SVG, under the figure, rather than flattened in
# afterwards: the edges then blend exactly as they always have.
sed 's|</defs>|</defs>\n  <rect x="0" y="0" width="32" height="32" fill="#ffffff"/>|' \
    "$icon_svg" >"$tmp/window-icon.svg"
for size in 32 64; do
    rsvg-convert -w "$size" -h "$size" "$tmp/window-icon.svg" -o "$tmp/window-$size.png"
    convert "$tmp/window-$size.png" -background white -alpha remove -alpha off \
        -strip PNG24:"$here/icon/window/buffon-needle-$size.png"
done

emblem_svg="$here/emblem/emblem.svg"
rsvg-convert "$emblem_svg" -o "$tmp/emblem.png"
# -type TrueColor: a grey-only picture would otherwise be saved as a one-channel JPEG.
# Quality 99 keeps every ground pixel within one level of #f0f0f0 (edge ringing
# shows at lower settings) and the file still lands near 2 KB.
# Density is set after -strip so the JFIF header still carries 96 dpi.
convert "$tmp/emblem.png" -background '#f0f0f0' -alpha remove -alpha off \
    -strip -type TrueColor -sampling-factor 1x1 -interlace none -quality 99 \
    -units PixelsPerInch -density 96 "$here/emblem/emblem.jpg"
