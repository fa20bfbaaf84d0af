#!/bin/bash
# Slices from the command line, with no display, and in the windows: the sweep as a GIF (its
# frame count; its first and last frames are the empty slice, since the
# turned tesseract first meets the hyperplane in one vertex), the stack of
# STL slices (one closed file a step, empty at the ends), and the slice
# view's OBJ grouped by cell kind; then the key v, the menu entry and the
# key t in the running program.
source "$(dirname "$0")/lib.sh"
fig=$E2E_DIR/slices
mkdir -p "$fig"
figure() { env -u DISPLAY "$E2E_BIN" "$@" </dev/null >"$fig/out" 2>"$fig/err"; status=$?; cat "$fig/err" >>"$E2E_ERR_ALL"; }
same_picture() { [ "$(compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1)" = 0 ]; }
other_picture() { ! same_picture "$@"; }

# Turned in WX, WY and WZ: no edge lies square to W, one vertex is lowest.
figure --keys v456 --gif "$fig/sweep.gif" --sweep --frames 9
check "--gif --sweep: status 0" [ "$status" = 0 ]
check "--gif --sweep --frames 9: 9 frames" [ "$(identify "$fig/sweep.gif" 2>/dev/null | wc -l)" = 9 ]
figure --hyperplane 0,0,0,1,5 --keys v456 --png "$fig/missed.png"
check "the missed slice: status 0" [ "$status" = 0 ]
convert "$fig/sweep.gif[0]" "$fig/first.png"
convert "$fig/sweep.gif[8]" "$fig/last.png"
convert "$fig/sweep.gif[4]" "$fig/middle.png"
check "--sweep: the first frame touches only (the empty slice)" same_picture "$fig/missed.png" "$fig/first.png"
check "--sweep: the last frame touches only (the empty slice)" same_picture "$fig/missed.png" "$fig/last.png"
check "--sweep: the middle frame shows the slice" other_picture "$fig/missed.png" "$fig/middle.png"

figure --keys 456 --stl "$fig/stack.stl" --sweep --frames 5
check "--stl --sweep: status 0" [ "$status" = 0 ]
check "--stl --sweep --frames 5: five files, numbered" \
  [ "$(cd "$fig" && ls stack-*.stl | tr '\n' ' ')" = "stack-001.stl stack-002.stl stack-003.stl stack-004.stl stack-005.stl " ]
check "--stl --sweep: no file of the plain name" [ ! -e "$fig/stack.stl" ]
# Binary STL: closed when every edge is met once each way; prints the
# triangle count.
stl_closed() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
count = struct.unpack('<I', data[80:84])[0]
assert len(data) == 84 + 50 * count, 'size'
sides = {}
for t in range(count):
    v = struct.unpack('<12f', data[84 + 50 * t:84 + 50 * t + 48])
    p = [v[3:6], v[6:9], v[9:12]]
    for k in range(3):
        key = (p[k], p[(k + 1) % 3])
        sides[key] = sides.get(key, 0) + 1
for (a, b), n in sides.items():
    assert n == 1 and sides.get((b, a)) == 1, 'open at %s-%s' % (a, b)
print(count)
PY
}
for k in 1 2 3 4 5; do
  n=$(stl_closed "$fig/stack-00$k.stl")
  check "stack-00$k.stl is a closed solid" [ -n "$n" ]
  case $k in
    1|5) check "stack-00$k.stl: the touching ends are empty" [ "$n" = 0 ] ;;
    *) check "stack-00$k.stl: a slice with faces" [ "${n:-0}" -gt 3 ] ;;
  esac
done

figure --keys v --obj "$fig/slice.obj"
check "--keys v --obj: status 0" [ "$status" = 0 ]
check "the slice's OBJ: one group, the cubes" [ "$(grep -c '^g ' "$fig/slice.obj")" = 1 ] && grep -q '^g cube$' "$fig/slice.obj"
check "the slice's OBJ: six squares" [ "$(grep -c '^f [^ ]* [^ ]* [^ ]* [^ ]*$' "$fig/slice.obj")" = 6 ]
check "the slice's OBJ: eight corners" [ "$(grep -c '^v ' "$fig/slice.obj")" = 8 ]
check "the slice's materials: the cube kind's colour" grep -q '^Kd 0.95 0.75 0.15$' "$fig/slice.mtl"

figure --sweep --png "$fig/refused.png"
check "--sweep without --gif or --stl: a usage error" [ "$status" = 2 ]

# In the windows: "v" shows the tesseract's slice, a cube in the cube
# kind's amber; "Options" > "Slice View" steps on to both side by side and
# back to the projection; "t" sweeps the cut (the values window's hyperplane
# line moves) and puts it back at the end.
# amber_pixels HALF: the amber pixels of the graph window's left, right or
# whole width.
amber_pixels() {
  window_rgb "$GRAPH" "$fig/graph.rgb" || { echo 0; return; }
  python3 - "$fig/graph.rgb" "$1" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()
width = 640
lo, hi = {'left': (0, 320), 'right': (320, 640), 'all': (0, 640)}[sys.argv[2]]
print(sum(1 for k in range(0, len(d) - 2, 3)
          if lo <= (k // 3) % width < hi and d[k] > 120 and d[k] >= d[k + 1] and d[k + 1] > d[k + 2] + 40))
PY
}
amber_at_least() { [ "$(amber_pixels "$1")" -ge "$2" ]; }
amber_below() { [ "$(amber_pixels "$1")" -lt "$2" ]; }
e2e_start
check "the projection at start: no slice" amber_below all 100
key "$GRAPH" v
# The cube of side 2 is 160 pixels square about the window's centre.
check "v: the slice, a cube in its kind's colour" wait_until 10 amber_at_least all 20000
across_the_middle() { [ "$(amber_pixels left)" -ge 10000 ] && [ "$(amber_pixels right)" -ge 10000 ]; }
check "v: across the middle" across_the_middle
menu_pick 100 100 4 12
check "Slice View: the projection left, no slice there" wait_until 10 amber_below left 100
check "Slice View: the slice in the right half" amber_at_least right 20000
menu_pick 100 100 4 12
check "Slice View again: the projection" wait_until 10 amber_below all 100
window_rgb "$VALUES" "$fig/values-start.rgb"
values_same() { window_rgb "$VALUES" "$fig/values-now.rgb" && cmp -s "$fig/values-start.rgb" "$fig/values-now.rgb"; }
values_moved() { ! values_same; }
key "$GRAPH" t
check "t: the hyperplane line moves" wait_until 5 values_moved
check "t: the sweep ends back where it was" wait_until 15 values_same
check "the program is still running" alive
e2e_report
