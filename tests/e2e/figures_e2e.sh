#!/bin/bash
# Figures: --png, --gif, --obj and --stl write the graph window's frame with no display
# at all, pixel for pixel what a capture of the live window holds; outputs
# that cannot be written leave one line, status 1 and no file; a size the
# renderer cannot take is refused with status 2.
source "$(dirname "$0")/lib.sh"
fig=$E2E_DIR/fig
mkdir -p "$fig"
# figure ARGS...: runs the program with no display; status in $status,
# standard error in $fig/err.
figure() { env -u DISPLAY "$E2E_BIN" "$@" </dev/null >"$fig/out" 2>"$fig/err"; status=$?; cat "$fig/err" >>"$E2E_ERR_ALL"; }
rgb() { convert "$1" -depth 8 rgb:"$2"; }
frame_moved() { window_rgb "$GRAPH" "$fig/after.rgb" && ! cmp -s "$fig/before.rgb" "$fig/after.rgb"; }
# The first frame is on screen: two equal captures around a round trip.
frame_shown() { window_rgb "$GRAPH" "$fig/before.rgb" && sync_x && frame_moved && return 1; [ -s "$fig/after.rgb" ]; }

# --- No display, no X server: this part runs before any Xvfb is started.
check "no X server runs for this part" [ -z "$E2E_XVFB_PID" ]
# The glyphs are looked up when figures need them: a freeglut without the
# font records still starts the windows.
check "no freeglut font record bound at load time" \
  bash -c "! nm -D --undefined-only '$E2E_BIN' | grep -q fgFont"
figure --png "$fig/start.png"
check "--png with no display: status 0" [ "$status" = 0 ]
check "--png: a 640x480 PNG" [ "$(identify -format '%m %wx%h' "$fig/start.png" 2>/dev/null)" = "PNG 640x480" ]
figure --keys 4444f: --png "$fig/keys.png"
check "--keys 4444f: --png: status 0" [ "$status" = 0 ]
figure --model 20 --png "$fig/graph.png"
check "--model 20 --png: status 0" [ "$status" = 0 ]
# No key of the graph window reaches GLUT, which would end the program
# before glutInit.
figure --keys "123456789zxcasdfghjk;:]nmb " --png "$fig/keys-all.png"
check "every key with no display: status 0, a PNG" bash -c "[ $status = 0 ] && [ -s '$fig/keys-all.png' ]"
figure --gif "$fig/turn.gif" --frames 12 --turn WX
check "--gif with no display: status 0" [ "$status" = 0 ]
check "--gif: 12 frames" [ "$(identify "$fig/turn.gif" 2>/dev/null | wc -l)" = 12 ]
check "--gif: loops for ever (NETSCAPE2.0, count 0)" \
  env LC_ALL=C grep -qaP 'NETSCAPE2\.0\x03\x01\x00\x00' "$fig/turn.gif"
# The start frame has more than 256 colours: the first frame holds each
# pixel's nearest palette colour, never more than a few levels off.
convert "$fig/turn.gif[0]" "$fig/first.png"
check "--gif: the first frame is the PNG within its palette" \
  [ "$(compare -metric AE -fuzz 3% "$fig/start.png" "$fig/first.png" null: 2>&1)" = 0 ]
# Frame k is k steps forward in the plane: as k presses of "4" (WX). The
# palette serves the whole turn: a few small purple patches of this frame
# are up to 19 levels off (the frames before and after differ in 50,000
# pixels or more even at this tolerance).
figure --keys 4444 --png "$fig/four.png"
check "--gif: frame 4 is four WX steps on, within its palette" \
  [ "$(compare -metric AE -fuzz 8% "$fig/four.png" "$fig/turn.gif[4]" null: 2>&1)" = 0 ]
check "--gif: the frames differ" bash -c "! cmp -s <(convert '$fig/turn.gif[3]' rgb:-) <(convert '$fig/turn.gif[4]' rgb:-)"
check "no temporary file left" [ -z "$(ls -A "$fig" | grep '^\.')" ]

# Models: the start hypercube as OBJ (faces, edges, its .mtl beside it) and
# as STL; with every style off, valid files of no geometry and a line.
stl_count() { od -An -tu4 -j80 -N4 "$1" | tr -d ' '; }
figure --obj "$fig/start.obj"
check "--obj: status 0, the .mtl beside it" bash -c "[ $status = 0 ] && [ -s '$fig/start.mtl' ]"
check "--obj: 48 faces, 32 edges, named groups" bash -c "[ \$(grep -c '^f ' '$fig/start.obj') = 48 ] &&
  [ \$(grep -c '^l ' '$fig/start.obj') = 32 ] && grep -q '^g faces' '$fig/start.obj' &&
  grep -q '^mtllib start.mtl' '$fig/start.obj'"
# Stereographic and colour by w: the keys reach the figures too. The
# wireframe's 32 edges become arcs of 16 pieces (512 line elements), each
# vertex with its colour; the picture has the colour bar's orange end.
figure --keys 4sapw --obj "$fig/stereo.obj"
check "--keys 4sapw --obj: 512 arc pieces, every vertex coloured" bash -c "[ $status = 0 ] &&
  [ \$(grep -c '^l ' '$fig/stereo.obj') = 512 ] && ! grep -qE '^v( [^ ]+){3}\$' '$fig/stereo.obj'"
orange_at() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -oE 'srgb\([0-9]+,[0-9]+,[0-9]+\)' |
  tr -c '0-9\n' ' ' | awk '{ exit !($1 > 200 && $2 > 90 && $3 < 80) }'; }
figure --keys 4w --png "$fig/colour.png"
check "--keys 4w --png: status 0" [ "$status" = 0 ]
check "--keys 4w --png: the bar's orange end in the lower right" orange_at "$fig/colour.png" 620 444
check "--png without w: no bar" bash -c "$(declare -f orange_at); ! orange_at '$fig/start.png' 620 444"
figure --keys k --stl "$fig/start.stl" --scale 50
check "--stl: status 0, the size its header gives" \
  [ "$status.$(stat -c %s "$fig/start.stl")" = "0.$((84 + 50 * $(stl_count "$fig/start.stl")))" ]
figure --keys ad --stl "$fig/empty.stl"
check "nothing to export: status 0, an STL of no triangles" \
  bash -c "[ $status = 0 ] && [ \$(stat -c %s '$fig/empty.stl') = 84 ]"
check "nothing to export: one line that says so" \
  bash -c "[ \$(wc -l <'$fig/err') = 1 ] && grep -q 'nothing to export' '$fig/err'"

# Outputs that cannot be written: one line, status 1, nothing at the path.
# A read-only folder stops root only without its capabilities.
mkdir "$fig/ro"; chmod 555 "$fig/ro"
ro_wrap=
[ "$(id -u)" = 0 ] && ro_wrap="setpriv --bounding-set=-dac_override,-dac_read_search"
fails=(
  "missing folder|--png|$fig/none/a.png|No such file or directory|"
  "missing folder|--gif|$fig/none/a.gif|No such file or directory|"
  "missing folder|--obj|$fig/none/a.obj|No such file or directory|"
  "read-only folder|--stl|$fig/ro/a.stl|Permission denied|$ro_wrap"
  "full disk|--stl|/dev/full|No space left on device|"
  "read-only folder|--png|$fig/ro/a.png|Permission denied|$ro_wrap"
  "full disk|--png|/dev/full|No space left on device|"
  "full disk|--gif|/dev/full|No space left on device|"
  "disk fills up|--gif|$fig/big.gif|File too large|prlimit --fsize=65536 --"
)
for row in "${fails[@]}"; do
  IFS='|' read -r what option path reason wrap <<<"$row"
  if [ -n "$wrap" ] && ! $wrap true 2>/dev/null; then
    e2e_log "skipped $what: '$wrap' cannot run here"; continue
  fi
  env -u DISPLAY $wrap "$E2E_BIN" "$option" "$path" </dev/null >"$fig/out" 2>"$fig/err"; status=$?
  check "$what $option: status 1" [ "$status" = 1 ]
  check "$what $option: one line naming the path and the reason" \
    bash -c "[ \$(wc -l <'$fig/err') = 1 ] && grep -qF '$path: $reason' '$fig/err'"
  [ "$path" = /dev/full ] || check "$what $option: no file" [ ! -e "$path" ]
done
check "failed outputs leave no temporary file" \
  bash -c "[ -z \"\$(ls -A '$fig/ro')\" ] && [ -z \"\$(ls -A '$fig' | grep '^\.')\" ]"
check "/dev/full is still the device" [ -c /dev/full ]

figure --size 4097x16 --png "$fig/wide.png"
check "a size past the renderer: status 2" [ "$status" = 2 ]
check "a size past the renderer: one line naming --size" grep -q -- '--size' "$fig/err"
check "a size past the renderer: no file" [ ! -e "$fig/wide.png" ]

# --- The live window under Xvfb: a capture of each state against the
# figures made above with no display, and one more made with the display.
cases=("start.png||" "keys.png||4 4 4 4 f colon" "graph.png|--model 20|")
for row in "${cases[@]}"; do
  IFS='|' read -r png args keys <<<"$row"
  rm -f "$E2E_DIR/stdin"; rm -rf "$E2E_DIR/PPM_P6"
  read -ra E2E_ARGS <<<"$args"
  e2e_start
  check "$png: the first frame is shown" wait_until 10 frame_shown
  # One key per frame: two rotation keys handled before one frame would
  # make a single step. Each of these keys changes the picture.
  for k in $keys; do
    window_rgb "$GRAPH" "$fig/before.rgb"
    key "$GRAPH" "$k"
    check "$png: key $k drawn" wait_until 10 frame_moved
  done
  key "$GRAPH" l
  if check "$png: the window's capture" wait_file 10 "$E2E_DIR/PPM_P6/P6_0000.PPM" $((15 + 640 * 480 * 3)); then
    ppm_raster "$E2E_DIR/PPM_P6/P6_0000.PPM" "$fig/window.rgb"
    rgb "$fig/$png" "$fig/figure.rgb"
    check "$png: pixel for pixel the window's capture" cmp -s "$fig/window.rgb" "$fig/figure.rgb"
  fi
  key "$GRAPH" Escape
  check "$png: the window ends" wait_exit 10
done
"$E2E_BIN" --png "$fig/with-display.png" </dev/null >"$fig/out" 2>>"$E2E_ERR_ALL"
check "with a display: the same PNG" cmp -s "$fig/start.png" "$fig/with-display.png"
e2e_report
