#!/bin/bash
# The program opens its three windows where and as large as it should, keeps
# running on its own, and Esc ends it with status 0.
source "$(dirname "$0")/lib.sh"

e2e_start
check "graph window geometry" [ "$(window_geometry graph)" = "0 50 640 480" ]
check "controller window geometry" [ "$(window_geometry controller)" = "652 50 150 540" ]
check "values window geometry" [ "$(window_geometry values)" = "0 560 630 210" ]
# Nothing ends the program by itself: after a few round trips it still runs.
for _ in 1 2 3 4 5; do sync_x; done
check "still running without input" alive

# A resized graph window is drawn again for its new size with no input: at
# 400 x 300 the label background's gradient reaches the top row (a frame
# drawn at the old size leaves it white), and back at 640 x 480 the picture
# is the one of the start, pixel for pixel.
check "the graph window is painted" wait_until 10 painted "$GRAPH"
window_rgb "$GRAPH" "$E2E_DIR/start.rgb"
# drawn_at W H: the window's picture has that size, and the left end of its
# top row (clear of the Z axis) holds no white.
drawn_at() {
  window_rgb "$GRAPH" "$E2E_DIR/now.rgb" && [ "$(file_size "$E2E_DIR/now.rgb")" = $(($1 * $2 * 3)) ] &&
    ! head -c 300 "$E2E_DIR/now.rgb" | od -An -v -tu1 | grep -qw 255
}
xdotool windowsize "$GRAPH" 400 300
check "resized to 400 x 300: redrawn for that size" wait_until 10 drawn_at 400 300
xdotool windowsize "$GRAPH" 640 480
start_again() { window_rgb "$GRAPH" "$E2E_DIR/now.rgb" && cmp -s "$E2E_DIR/start.rgb" "$E2E_DIR/now.rgb"; }
check "back at 640 x 480: the start picture again" wait_until 10 start_again
key "$GRAPH" Escape
check "Esc ends the program" wait_exit 10
check "exit status 0" [ "${E2E_STATUS:-x}" = 0 ]
check "nothing on standard error" [ ! -s "$E2E_ERR" ]
e2e_report
