#!/bin/bash
# Builds libFuzzer targets with clang++ (fuzzer, ASan, UBSan) and runs them for a bounded time.
#   scripts/fuzz.sh TARGET SECONDS      e.g. scripts/fuzz.sh engine 30
#   scripts/fuzz.sh all SECONDS         every target, one after the other, SECONDS each
# Targets:
#   engine     any line through the four stages of the expression engine
#   derived    the derived form of any line's program against the stored program, bit for bit
#   values     the values window's lines from extreme doubles, ints and range texts
#   dialogues  every console dialogue (equations, constants, each setting) fed arbitrary bytes
#   options    arbitrary argument lists (NUL-separated) through the command-line reader
#   polytope   --polytope's reader of diagrams and names, and the polytopes it accepts built
#   scene      the scene file reader fed arbitrary bytes: no crash, no state the dialogues refuse
# TARGET names fuzz/TARGET_fuzz.cpp; seeds come from fuzz/corpus/TARGET and a dictionary from
# fuzz/TARGET.dict (derived reads lines too and takes the engine's). The build, the growing
# corpus and any crash files live in $FOURVIEW_FUZZ_DIR/TARGET (default: /tmp/fourview-fuzz/TARGET).
# Exit status: 0 when nothing was found, 1 on a finding (crash, sanitizer report, broken
# invariant; libFuzzer reports a hang as 70), non-zero on a build failure,
# 77 when clang++ is not installed.
set -eu
cd "$(dirname "$0")/.."

targets=(engine derived values dialogues options polytope scene)
if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 {${targets[*]// /|}|all} SECONDS" >&2
  exit 2
fi
seconds=$2
command -v clang++ >/dev/null || { echo "clang++ not found: fuzzing skipped" >&2; exit 77; }

if [ "$1" = all ]; then
  status=0
  for t in "${targets[@]}"; do "$0" "$t" "$seconds" || status=1; done
  exit $status
fi

target=$1
source=fuzz/${target}_fuzz.cpp
[ -f "$source" ] || { echo "no fuzz target $source" >&2; exit 2; }

work=${FOURVIEW_FUZZ_DIR:-/tmp/fourview-fuzz}/$target
mkdir -p "$work/corpus" "$work/artifacts"
binary=$work/${target}_fuzz

# The engine is pure code: its sources and the target are all that is compiled. The panel and
# console targets run the program's own values and settings code against a stand-in for GLUT
# (fuzz/support), with the pure libraries it calls; GL itself is linked but never reached.
case $target in
  engine|derived) sources=(src/expr/*.cpp); libs=() ;;
  # The reader's checks reach the models' names, the keys and the settings:
  # the whole program but main, with the real libraries; no window opens.
  options) sources=($(ls src/*/*.cpp | grep -v -e '^src/app/main.cpp$' -e '^src/web/'))
           libs=(-lglut -lGLU -lGL -lEGL -lX11 -lpng -lgif -lz -lavformat -lavcodec -lswscale -lavutil) ;;
  polytope) sources=(src/models/uniform.cpp src/models/lattice_build.cpp); libs=() ;;
  scene) sources=(src/expr/*.cpp src/geom4/*.cpp src/app/app_state.cpp src/ui/values.cpp
                  src/ui/value_text.cpp src/ui/button_panel.cpp src/ui/settings.cpp
                  src/app/window_system.cpp src/scene/*.cpp src/app/scene_checks.cpp
                  src/models/uniform.cpp src/models/lattice_build.cpp
                  fuzz/support/headless_glut.cpp)
         libs=(-lGLU -lGL) ;;
  *) sources=(src/expr/*.cpp src/geom4/*.cpp src/app/app_state.cpp src/ui/values.cpp
              src/ui/value_text.cpp src/ui/button_panel.cpp src/ui/settings.cpp src/app/window_system.cpp
              fuzz/support/headless_glut.cpp)
     libs=(-lGLU -lGL) ;;
esac
# -ffp-contract=off as in the build (src/expr/CMakeLists.txt): clang fuses by default.
clang++ -std=c++17 -O1 -g -fno-omit-frame-pointer -ffp-contract=off \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Wall -Wextra -Isrc -Ifuzz/support "$source" "${sources[@]}" "${libs[@]}" -o "$binary"

inputs=$target
[ "$target" = derived ] && inputs=engine
seeds=fuzz/corpus/$inputs
[ -d "$seeds" ] || seeds=
dict=()
[ -f "fuzz/$inputs.dict" ] && dict=(-dict="fuzz/$inputs.dict")
echo "fuzzing $target for ${seconds}s (corpus $work/corpus)" >&2
# Lines longer than 200 bytes are cut by the engine's target; -max_len keeps the search near
# that size. A console session of a few answers needs more room.
max_len=256
[ "$inputs" = engine ] || [ "$inputs" = polytope ] || max_len=1024
# The reader writes its messages (and --help) as it should: closed, they
# stay out of the fuzzer's log, which libFuzzer keeps on its own descriptor.
quiet=()
[ "$target" = options ] && quiet=(-close_fd_mask=3)
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
  "$binary" -max_total_time="$seconds" -max_len=$max_len -print_final_stats=1 -error_exitcode=1 \
    -timeout=10 -artifact_prefix="$work/artifacts/" "${dict[@]}" "${quiet[@]}" "$work/corpus" $seeds
