#!/bin/bash
# Builds a libFuzzer target with clang++ (fuzzer, ASan, UBSan) and runs it for a bounded time.
#   scripts/fuzz.sh TARGET SECONDS      e.g. scripts/fuzz.sh engine 30
# TARGET names fuzz/TARGET_fuzz.cpp; seeds come from fuzz/corpus/TARGET and a dictionary from
# fuzz/TARGET.dict. The build, the growing corpus and any crash files live in
# $FOURVIEW_FUZZ_DIR/TARGET (default: /tmp/fourview-fuzz/TARGET).
# Exit status: 0 when nothing was found, 1 on a finding (crash, sanitizer report, broken
# invariant; libFuzzer reports a hang as 70), non-zero on a build failure,
# 77 when clang++ is not installed.
set -eu
cd "$(dirname "$0")/.."

if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
source=fuzz/${target}_fuzz.cpp
[ -f "$source" ] || { echo "no fuzz target $source" >&2; exit 2; }
command -v clang++ >/dev/null || { echo "clang++ not found: fuzzing skipped" >&2; exit 77; }

work=${FOURVIEW_FUZZ_DIR:-/tmp/fourview-fuzz}/$target
mkdir -p "$work/corpus" "$work/artifacts"
binary=$work/${target}_fuzz

# The engine is pure code: its sources and the target are all that is compiled.
clang++ -std=c++17 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Wall -Wextra -Isrc "$source" src/expr/*.cpp -o "$binary"

seeds=fuzz/corpus/$target
[ -d "$seeds" ] || seeds=
dict=()
[ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
echo "fuzzing $target for ${seconds}s (corpus $work/corpus)" >&2
# Lines longer than 200 bytes are cut by the target; -max_len keeps the search near that size.
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
  "$binary" -max_total_time="$seconds" -max_len=256 -print_final_stats=1 -error_exitcode=1 \
    -artifact_prefix="$work/artifacts/" "${dict[@]}" "$work/corpus" $seeds
