#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the puzzle scenes (assets/puzzles/src/picN.svg) to the 353 x 265 JPEG
# files the game loads. Run by hand after editing a scene; the JPEGs are committed.
# Needs: librsvg2-bin (rsvg-convert) and imagemagick (convert).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
src=$here/assets/puzzles/src
out=$here/assets/puzzles
if [ $# -eq 0 ]; then set -- "$src"/pic*.svg; fi
for svg in "$@"; do
  [ -f "$svg" ] || continue
  name=$(basename "$svg" .svg)
  rsvg-convert -w 353 -h 265 "$svg" -b white -f png \
    | convert png:- -strip -sampling-factor 4:4:4 -quality 92 "$out/$name.jpg"
  echo "$out/$name.jpg"
done
