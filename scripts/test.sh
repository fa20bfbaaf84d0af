#!/bin/bash
# Installs what is missing, builds, and runs every test: unit, GL (real
# windows under a private Xvfb) and end-to-end (the real program driven by
# xdotool). Exits non-zero on any failure.
#   scripts/test.sh              the plain suite
#   scripts/test.sh --sanitize   the same suite built with ASan and UBSan
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
mode=${1:-}
dir=$(scripts/build.sh $mode | tail -n1)
if [ "$mode" = "--sanitize" ]; then
  # Leak checking of GL drivers and X libraries is noise; the program's own
  # leaks are looked for with valgrind (docs/reliability.md).
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
status=0
# The sanitized build runs every test that exercises code; the checks of
# pictures, the package and peak memory compare what the plain build makes
# and would only measure the sanitizers there.
skip=()
[ "$mode" = "--sanitize" ] && skip=(-E '^(docs_pictures|package_deb|e2e_long_figures_e2e)$')
(cd "$dir" && ctest -j"$(nproc)" --output-on-failure --timeout 600 "${skip[@]}") || status=1
# A short bounded run of each fuzz target (the long runs are made by hand:
# docs/reliability.md). They build and run side by side; libFuzzer's
# progress lines are shown only when a target
# finds something.
if [ -z "$mode" ] && [ -x scripts/fuzz.sh ] && command -v clang++ >/dev/null; then
  logs=$(mktemp -d)
  # Built first, all together: they share most of their objects.
  scripts/fuzz.sh build >"$logs/build" 2>&1 || cat "$logs/build"
  pids=()
  for target in engine derived values dialogues options polytope scene; do
    scripts/fuzz.sh "$target" 10 >"$logs/$target" 2>&1 &
    pids+=($!)
  done
  i=0
  for target in engine derived values dialogues options polytope scene; do
    if wait "${pids[$i]}"; then
      echo "fuzz $target: $(grep -E '^Done [0-9]+ runs' "$logs/$target"), nothing found"
    else
      cat "$logs/$target"; echo "fuzz $target: FAILED" >&2; status=1
    fi
    i=$((i + 1))
  done
  rm -rf "$logs"
fi
# The web version, built once here (plain mode only): the pure libraries'
# unit tests under node, then the page in headless Chromium against the
# desktop's figures.
if [ -z "$mode" ]; then
  if command -v emcmake >/dev/null && command -v chromium >/dev/null; then
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
    if scripts/web.sh --build-only && cmake --build build-web -j"$(nproc)" -- --no-print-directory >/dev/null; then
      (cd build-web && ctest -j"$(nproc)" --output-on-failure --timeout 600) || status=1
      /usr/bin/python3 tests/web/browser_test.py build-web/site "$dir/src/app/fourview" || status=1
    else
      echo "web: the build failed" >&2; status=1
    fi
  else
    echo "web: skipped, emscripten or chromium is not installed (scripts/deps.sh installs them)"
  fi
fi
exit $status
