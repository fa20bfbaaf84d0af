#!/bin/bash
# Uniform polychora: --polytope with a figure and a model export, its usage
# errors (status 2, one line, no window, no file), and one pick from the
# Uniform Polychora menu, whose frame is pixel for pixel the figure of the
# same polytope made with no display.
source "$(dirname "$0")/lib.sh"
fig=$E2E_DIR/fig
mkdir -p "$fig"
figure() { env -u DISPLAY "$E2E_BIN" "$@" </dev/null >"$fig/out" 2>"$fig/err"; status=$?; cat "$fig/err" >>"$E2E_ERR_ALL"; }
rgb() { convert "$1" -depth 8 rgb:"$2"; }

check "no X server runs for this part" [ -z "$E2E_XVFB_PID" ]
figure --polytope "truncated tesseract" --png "$fig/tt.png"
check "--polytope NAME --png: status 0" [ "$status" = 0 ]
check "--polytope NAME --png: a 640x480 PNG" [ "$(identify -format '%m %wx%h' "$fig/tt.png" 2>/dev/null)" = "PNG 640x480" ]
figure --polytope x4x3o3o --png "$fig/tt-symbol.png"
check "the diagram and the name: the same picture" cmp -s "$fig/tt.png" "$fig/tt-symbol.png"
figure --polytope "x3o x8o" --gif "$fig/duo.gif" --frames 3
check "--polytope --gif: 3 frames" [ "$(identify "$fig/duo.gif" 2>/dev/null | wc -l)" = 3 ]
figure --polytope "grand antiprism" --obj "$fig/ga.obj"
check "--polytope --obj: status 0" [ "$status" = 0 ]
check "--polytope --obj: its 100 vertices and 500 edges" \
  bash -c "[ \$(grep -c '^v ' '$fig/ga.obj') = 100 ] && [ \$(grep -c '^l ' '$fig/ga.obj') = 500 ]"
figure --polytope "snub 24-cell" --stl "$fig/s24.stl"
check "--polytope --stl: status 0 and a file" bash -c "[ $status = 0 ] && [ -s '$fig/s24.stl' ]"

# Usage errors: status 2, the reason on one line, nothing written.
while IFS='|' read -r args message; do
  read -ra argv <<<"$args"
  rm -f "$fig/bad.png"
  figure "${argv[@]}" --png "$fig/bad.png"
  check "$args: status 2" [ "$status" = 2 ]
  check "$args: says why" grep -qF -- "$message" "$fig/err"
  check "$args: one line" [ "$(wc -l <"$fig/err")" = 1 ]
  check "$args: no figure" [ ! -e "$fig/bad.png" ]
done <<'ROWS'
--polytope x4o3o4o|fourview: --polytope: 'x4o3o4o': the group 4-3-4 is infinite
--polytope x3o3o|fourview: --polytope: 'x3o3o': rank 3
--polytope o3o3o3o|has no ringed node (x)
--polytope truncated|fourview: --polytope: 'truncated' fits several polytopes
--polytope x4x3o3o --model 12|fourview: --polytope: --model names another model; give one of them
ROWS

# --- The menu: 4D Models, Uniform Polychora (after the eight models),
# tesseract family (the second), truncated tesseract (the third).
e2e_start
check "the first frame is shown" wait_until 10 painted "$GRAPH"
if menu_open 100 100 2; then
  for entry in 8 1; do
    before=$(menus_shown)
    read -r mx my mw mh < <(menu_geometry)
    ey=$((my + 2 + 25 * entry + 12))
    xdotool mousemove "$((mx + 10))" "$ey" mousemove "$((mx + mw - 4))" "$ey"
    check "submenu $entry opens" wait_menus "$before"
  done
  read -r sx sy sw sh < <(menu_geometry)
  xdotool mousemove "$((sx + 10))" "$((sy + 2 + 25 * 2 + 12))" click 1
  check "the menus close" wait_until 5 bash -c "[ \$(xdotool search --onlyvisible --name '^freeglut menu\$' 2>/dev/null | wc -l) = 0 ]"
fi
key "$GRAPH" l
if check "the window's capture" wait_file 10 "$E2E_DIR/PPM_P6/P6_0000.PPM" $((15 + 640 * 480 * 3)); then
  ppm_raster "$E2E_DIR/PPM_P6/P6_0000.PPM" "$fig/window.rgb"
  rgb "$fig/tt.png" "$fig/figure.rgb"
  check "the menu's truncated tesseract: pixel for pixel --polytope's figure" cmp -s "$fig/window.rgb" "$fig/figure.rgb"
fi
key "$GRAPH" Escape
check "the window ends" wait_exit 10
e2e_report
