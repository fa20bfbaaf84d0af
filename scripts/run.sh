#!/bin/bash
# Installs what is missing, builds, and starts fourview.
# With a display it simply runs the viewer there (arguments go to it).
# Without one it makes figures instead, offscreen, written by fourview
# itself: pictures/graph.png (the start frame), pictures/cut.png (the
# hypercube turned and cut) and pictures/rotation.gif (a turn in the WX
# plane). Arguments are then added to each of the three commands.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
dir=$(scripts/build.sh | tail -n1)
bin=$PWD/$dir/src/app/fourview

if [ -n "${DISPLAY:-}" ]; then
  exec "$bin" "$@"
fi

out=$PWD/pictures
mkdir -p "$out"
"$bin" "$@" --png "$out/graph.png"
"$bin" "$@" --keys 4444f --png "$out/cut.png"
"$bin" "$@" --turn WX --frames 36 --gif "$out/rotation.gif"
echo "Saved $out/graph.png, $out/cut.png and $out/rotation.gif (36 rotation steps in WX)."
