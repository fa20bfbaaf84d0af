#!/bin/bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize).
set -eu
cd "$(dirname "$0")/.."
dir=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  # -O1, as the sanitizers' own documentation advises: the instrumented test
  # files compile in half the time of -O2, and the reports keep their lines.
  flags+=(-DFOURVIEW_SANITIZE=ON -DFOURVIEW_BENCH=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g -DNDEBUG")
fi
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" -- --no-print-directory
echo "$dir"
