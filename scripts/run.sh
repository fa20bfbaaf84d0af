#!/bin/bash
# Installs what is missing, builds, and starts fourview.
# With a display it simply runs the viewer there (arguments go to GLUT).
# Without one it runs the viewer inside a private Xvfb, saves pictures of
# what it shows to pictures/ and stops it again.
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
exec tests/support/with_xvfb.sh bash scripts/headless_tour.sh "$bin" "$out"
