#!/bin/bash
# The contact sheet of the 64 convex uniform polychora, each drawn by
# fourview --polytope with no display (Solid, turned a step
# of 25 degrees in the WX, WY, XY and YZ planes), labelled with the diagram that made it:
#   scripts/contact_sheet.sh [BUILD_DIR] [OUTPUT]   (default docs/uniform_polychora.png)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs/uniform_polychora.png}
bin=$(readlink -f "$build/src/app/fourview")
[ -x "$bin" ] || cmake --build "$build" --target fourview -j"$(nproc)" -- --no-print-directory >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
n=0
while read -r symbol; do
  [ -n "$symbol" ] || continue
  n=$((n + 1))
  file=$(printf '%s/%02d.png' "$tmp" "$n")
  env -u DISPLAY "$bin" --polytope "$symbol" --rotation-angle 25 --keys "hdg4513" --size 240x180 --png "$file" </dev/null
  labels+=(-label "$symbol" "$file")
done <<'CATALOGUE'
x3o3o3o
o3x3o3o
x3x3o3o
x3o3x3o
x3o3o3x
o3x3x3o
x3x3x3o
x3x3o3x
x3x3x3x
x4o3o3o
o4x3o3o
x4x3o3o
x4o3x3o
x4o3o3x
o4x3x3o
x4x3x3o
x4x3o3x
x4x3x3x
o4o3o3x
o4o3x3x
x4o3x3x
x3o4o3o
o3x4o3o
x3x4o3o
x3o4x3o
x3o4o3x
o3x4x3o
x3x4x3o
x3x4o3x
x3x4x3x
snub 24-cell
x5o3o3o
o5x3o3o
x5x3o3o
x5o3x3o
x5o3o3x
o5x3x3o
x5x3x3o
x5x3o3x
x5x3x3x
o5o3o3x
o5o3x3o
o5o3x3x
o5x3o3x
o5x3x3x
x5o3x3x
grand antiprism
x3o3o x
x3x3o x
x3o4o x
o3x4o x
x4x3o x
o4x3x x
x4o3x x
x4x3x x
snub cubic prism
x5o3o x
x3o5o x
o5x3o x
x5x3o x
o5x3x x
x5o3x x
x5x3x x
snub dodecahedral prism
CATALOGUE
montage "${labels[@]}" -tile 8x -geometry +2+2 -font DejaVu-Sans -pointsize 14 -background white "$tmp/sheet.png"
convert "$tmp/sheet.png" -strip -colors 256 -define png:exclude-chunks=date,time "PNG8:$out"
echo "$out: $n polychora"
