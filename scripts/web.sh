#!/bin/bash
# Builds the web version of fourview (the same C++ as WebAssembly, drawn by
# WebGL2) with Debian's emscripten into build-web/site/, then serves that
# folder on http://localhost:8000/. Any static web server can serve it
# instead: it holds index.html, page.js, page.css, fourview.js and
# fourview.wasm, and fetches nothing from elsewhere.
#   scripts/web.sh               build and serve (Ctrl-C stops)
#   scripts/web.sh --build-only  only build
set -eu
cd "$(dirname "$0")/.."
case "${1:-}" in
  ""|--build-only) ;;
  *) echo "usage: scripts/web.sh [--build-only]" >&2; exit 2 ;;
esac
# emcc's tools need Debian's node modules, whatever node comes first.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
if [ ! -f build-web/CMakeCache.txt ]; then
  emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch" >/dev/null
fi
log=$(mktemp)
if ! cmake --build build-web -j"$(nproc)" --target fourview_site -- --no-print-directory >"$log" 2>&1; then
  tail -n 30 "$log" >&2; rm -f "$log"; echo "web: the build failed" >&2; exit 1
fi
rm -f "$log"
echo "built build-web/site/ ($(stat -c %s build-web/site/fourview.wasm) bytes of wasm)"
[ "${1:-}" = "--build-only" ] && exit 0
echo "fourview in the browser: http://localhost:8000/ (Ctrl-C stops)"
exec /usr/bin/python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
