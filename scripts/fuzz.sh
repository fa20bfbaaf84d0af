#!/bin/bash
# Builds libFuzzer targets with clang++ (fuzzer, ASan, UBSan) and runs them for a bounded time.
#   scripts/fuzz.sh TARGET SECONDS      e.g. scripts/fuzz.sh engine 30
#   scripts/fuzz.sh all SECONDS         every target, one after the other, SECONDS each
#   scripts/fuzz.sh build               only build every target
# Targets:
#   engine     any line through the four stages of the expression engine
#   derived    the derived form of any line's program against the stored program, bit for bit
#   values     the values window's lines from extreme doubles, ints and range texts
#   dialogues  every console dialogue (equations, constants, each setting) fed arbitrary bytes
#   options    arbitrary argument lists (NUL-separated) through the command-line reader
#   polytope   --polytope's reader of diagrams and names, and the polytopes it accepts built
#   scene      the scene file reader fed arbitrary bytes: no crash, no state the dialogues refuse
# TARGET names fuzz/TARGET_fuzz.cpp; seeds come from fuzz/corpus/TARGET and a dictionary from
# fuzz/TARGET.dict (derived reads lines too and takes the engine's). The growing corpus and any
# crash files live in $FOURVIEW_FUZZ_DIR/TARGET (default: /tmp/fourview-fuzz/TARGET), the build
# of every target (fuzz/CMakeLists.txt) in $FOURVIEW_FUZZ_DIR/build-N, one folder per checkout.
# Exit status: 0 when nothing was found, 1 on a finding (crash, sanitizer report, broken
# invariant; libFuzzer reports a hang as 70), non-zero on a build failure,
# 77 when clang++ is not installed.
set -eu
cd "$(dirname "$0")/.."

targets=(engine derived values dialogues options polytope scene)
if { [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; } && [ "$*" != build ]; then
  echo "usage: $0 {${targets[*]// /|}|all} SECONDS" >&2
  echo "       $0 build" >&2
  exit 2
fi
command -v clang++ >/dev/null || { echo "clang++ not found: fuzzing skipped" >&2; exit 77; }

# Every target is built by fuzz/CMakeLists.txt into one build folder, which
# compiles each source once for all of them and follows the headers. Targets
# started side by side take turns to build (flock). Each checkout has its own
# folder, so that two checkouts never build over each other.
root=${FOURVIEW_FUZZ_DIR:-/tmp/fourview-fuzz}
build=$root/build-$(printf %s "$PWD" | cksum | cut -d' ' -f1)
mkdir -p "$root"
build_targets() {
  (
    flock 9
    [ -f "$build/CMakeCache.txt" ] ||
      cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build" -j"$(nproc)" --target "$@" -- --no-print-directory
  ) 9>"$build.lock"
}
if [ "$1" = build ]; then
  build_targets "${targets[@]/%/_fuzz}"
  exit
fi
seconds=$2

if [ "$1" = all ]; then
  status=0
  for t in "${targets[@]}"; do "$0" "$t" "$seconds" || status=1; done
  exit $status
fi

target=$1
source=fuzz/${target}_fuzz.cpp
[ -f "$source" ] || { echo "no fuzz target $source" >&2; exit 2; }

work=$root/$target
mkdir -p "$work/corpus" "$work/artifacts"
build_targets "${target}_fuzz"
binary=$build/${target}_fuzz

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
