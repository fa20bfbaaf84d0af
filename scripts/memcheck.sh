#!/bin/bash
# Memory figures of docs/reliability.md:
#   1. resident memory while a rotation is held, on the hypersphere (11) and
#      the user graph (20): after 100 frames and after 5,100 (FRAMES);
#   2. valgrind memcheck of a short session of the real program (start, a
#      few keys, a model change from the menu, a capture, Esc): no invalid
#      read or write, and no block definitely lost from the program's own
#      code (the GL driver's and X's own allocations are listed apart).
# Both under a private Xvfb. Builds build/ first. Exits non-zero when either
# falls short.
#   scripts/memcheck.sh [FRAMES]   FRAMES 0 skips the first part;
#                                  FOURVIEW_BUILD_DIR=DIR uses an existing build
set -u
cd "$(dirname "$0")/.."
frames=${1:-5100}
dir=${FOURVIEW_BUILD_DIR:-$(scripts/build.sh | tail -n1)} || exit 1
command -v valgrind >/dev/null || { echo "valgrind not installed (apt-get install valgrind)" >&2; exit 2; }
status=0

if [ "$frames" != 0 ]; then
  echo "== resident memory, $frames frames of held rotation"
  tests/support/with_xvfb.sh "$dir/tests/fourview_memory" "$frames" 11 20 || status=1
fi

echo "== valgrind memcheck of a short session"
log=$(mktemp /tmp/fourview-memcheck.XXXXXX)
(
  E2E_WRAP="valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --num-callers=40 --log-file=$log"
  E2E_START_WAIT=300 E2E_MENU_WAIT=120
  source tests/e2e/lib.sh "$dir/src/app/fourview"
  e2e_start
  key "$GRAPH" 3 4 a Right
  menu_pick 100 100 3 4            # 3D Models > Torus
  key "$GRAPH" l                   # Save Screen: the frame is written
  check "a capture is written" wait_file 300 "$E2E_DIR/PPM_P6/P6_0000.PPM" $((15 + 640 * 480 * 3))
  key "$GRAPH" Escape
  check "Esc ends the program" wait_exit 300
  check "exit status 0" [ "${E2E_STATUS:-x}" = 0 ]
  e2e_report
) || status=1

# classify KIND: how many records of KIND ("invalid" reads and writes, or
# "leak", blocks definitely lost) belong to the program's own code. A record
# is the program's when the first frame of its stack that is neither the
# allocator, the C or C++ runtime nor valgrind itself is in the program (its
# namespace, its main, or its binary); a first such frame in another library
# (the GL driver, X) or without a name is that library's.
classify() {
  awk -v kind="$1" -v bin="$(readlink -f "$dir/src/app/fourview")" '
    function start() { rec = 1; decided = 0; mine = 0 }
    kind == "invalid" && /Invalid (read|write) of size/ { start(); next }
    kind == "leak" && /are definitely lost in loss record/ { start(); next }
    rec && /^==[0-9]+== *$/ { if (mine) n++; rec = 0; next }
    rec && /(Address 0x|Block was alloc)/ { if (mine) n++; rec = 0; next }
    rec && !decided && /^==[0-9]+== +(at|by) 0x/ {
      if ($0 ~ /fourview::/ || $0 ~ / main \(main\.cpp/ || index($0, "(in " bin ")")) { decided = 1; mine = 1 }
      else if ($0 ~ /\/valgrind\/|libc\.so|ld-linux|libstdc\+\+|libm\.so|libgcc/) { }
      else if ($0 ~ /\(in \// || $0 ~ /: \?\?\?$/ || $0 ~ /0x[0-9A-F]+: \?\?\?/) { decided = 1 }
    }
    END { print n + 0 }' "$log"
}
invalid_all=$(grep -cE 'Invalid (read|write) of size' "$log")
invalid=$(classify invalid)
own=$(classify leak)
summary=$(grep -E 'definitely lost:|indirectly lost:|ERROR SUMMARY' "$log" | sed 's/^==[0-9]*== *//')
echo "$summary"
echo "invalid reads or writes: $invalid_all, of them in the program's own code: $invalid"
echo "definite leak records from the program's own code: $own"
echo "full log: $log"
[ "$invalid" = 0 ] && [ "$own" = 0 ] || status=1
exit $status
