#!/bin/bash
# A controller button and the pop-up menu act on the running program.
source "$(dirname "$0")/lib.sh"

e2e_start
# The "Save Screen" button (0,390)-(150,420) acts at its release: the first
# saved frame appears in PPM_P6, and the two result codes of making and
# entering that directory are printed.
click "$CONTROLLER" 75 405
check "Save Screen button saves a frame" wait_file 10 "$E2E_DIR/PPM_P6/P6_0000.PPM" 921615
check "mkdir and chdir results printed, both 0" [ "$(head -n 2 "$E2E_OUT" | tr '\n' ' ')" = "0 0 " ]

# A click on "XY" steps the model at the press: another saved frame.
n=$(ppm_count)
click "$CONTROLLER" 25 15
check "XY button saves the stepped frame" wait_ppm_count 10 $((n + 1))

# "3D Models" > "Cylinder" changes the model; its zoom ratio to the
# hypercube (2.0 against 1.0) shows in the values window's zoom line, and
# "4D Models" > "Hypercube (8 Cell Envelope)" brings the line back.
window_rgb "$VALUES" "$E2E_DIR/values-start.rgb"
values_same() {
  window_rgb "$VALUES" "$E2E_DIR/values-now.rgb" && cmp -s "$E2E_DIR/values-start.rgb" "$E2E_DIR/values-now.rgb"
}
values_changed() { ! values_same; }
n=$(ppm_count)
menu_pick 100 100 3 1
check "picking Cylinder changes the zoom line" wait_until 10 values_changed
check "the model change is a changed frame" wait_ppm_count 10 $((n + 1))
n=$(ppm_count)
menu_pick 100 100 2 3
check "picking the hypercube restores the zoom line" wait_until 10 values_same
check "and saves its frame" wait_ppm_count 10 $((n + 1))

# "Options" > "Save Screen" turns saving off: its controller label turns
# grey. A rotation key then saves nothing: after "l" turns saving on again,
# exactly one more file exists.
window_rgb "$CONTROLLER" "$E2E_DIR/controller-on.rgb"
controller_changed() {
  window_rgb "$CONTROLLER" "$E2E_DIR/controller-now.rgb" && ! cmp -s "$E2E_DIR/controller-on.rgb" "$E2E_DIR/controller-now.rgb"
}
n=$(ppm_count)
menu_pick 100 100 4 10
check "the menu switched Save Screen off" wait_until 10 controller_changed
key "$GRAPH" 3 l
check "saving again" wait_ppm_count 10 $((n + 1))
sync_x; sync_x
check "the rotation with saving off wrote nothing" [ "$(ppm_count)" = $((n + 1)) ]
# A command key while the menu is up and the pointer is on another window:
# freeglut refuses menu changes then, so the marks wait for the menu to
# close; the command itself acts at once.
options_rgb() { menu_open 100 100 4 && menu_rgb "$1" && menu_close; }
options_rgb "$E2E_DIR/options-on.rgb"
key "$GRAPH" a
options_rgb "$E2E_DIR/options-off.rgb"
key "$GRAPH" a
check "the Options marks show Solid" bash -c "! cmp -s '$E2E_DIR/options-on.rgb' '$E2E_DIR/options-off.rgb'"
window_rgb "$CONTROLLER" "$E2E_DIR/controller-solid.rgb"
menu_open 100 100
xdotool mousemove --window "$VALUES" 300 100 key a
sync_x
check "a key with the menu up: still running" alive
solid_label_changed() {
  alive && window_rgb "$CONTROLLER" "$E2E_DIR/controller-now.rgb" &&
    ! cmp -s "$E2E_DIR/controller-solid.rgb" "$E2E_DIR/controller-now.rgb"
}
check "the key acted at once (the Solid label changed)" wait_until 10 solid_label_changed
check "the menu closes" menu_close
options_rgb "$E2E_DIR/options-now.rgb"
check "the marks are right when the menu opens again" cmp -s "$E2E_DIR/options-off.rgb" "$E2E_DIR/options-now.rgb"
check "still running after the menu" alive

key "$GRAPH" Escape
check "ends" wait_exit 10
check "nothing on standard error" [ ! -s "$E2E_ERR" ]

# A fresh start, the Cube, Transparent off ("s") and the cut on ("f"): the
# red cut lies on faces turned to the camera and must show over them.
rm -f "$E2E_DIR/stdin"
e2e_start
red_pixels() {
  window_rgb "$GRAPH" "$E2E_DIR/cut.rgb" &&
    od -An -v -tu1 -w3 "$E2E_DIR/cut.rgb" | awk '$1 > 200 && $2 < 170 && $3 < 170' | wc -l
}
menu_pick 100 100 3 0
key "$GRAPH" s f
many_red() { [ "$(red_pixels)" -gt 5000 ]; }
check "the Cube's red cut shows over its opaque faces" wait_until 10 many_red
e2e_log "red pixels of the cut, Transparent off: $(red_pixels)"
key "$GRAPH" Escape
check "the second run ends" wait_exit 10
e2e_report
