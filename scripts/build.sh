#!/bin/bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize).
set -eu
cd "$(dirname "$0")/.."
dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  flags+=(-DFOURVIEW_SANITIZE=ON -DFOURVIEW_BENCH=OFF)
fi
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" -- --no-print-directory
echo "$dir"
