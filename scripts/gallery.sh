#!/bin/bash
# Renders every model with the start-up options under a private Xvfb and
# writes the graph window (640 x 480) to docs/gallery/modelNN.png.
#   scripts/gallery.sh [BUILD_DIR] [field=value ...]
# Extra assignments go to the renderer (e.g. cross_section=1 steps=7,7).
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
[ $# -gt 0 ] && shift
if [ ! -x "$build/tests/fourview_gallery" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
  cmake --build "$build" --target fourview_gallery -j"$(nproc)" -- --no-print-directory >/dev/null
fi
out=docs/gallery
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tests/support/with_xvfb.sh "$build/tests/fourview_gallery" "$tmp" "$@"
for ppm in "$tmp"/*.ppm; do
  name=$(basename "$ppm" .ppm)
  # Strip the time stamps so that an unchanged picture gives an unchanged file.
  convert "$ppm" -strip -define png:exclude-chunks=date,time "$out/$name.png"
done
ls "$out"
