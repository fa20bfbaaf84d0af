#!/bin/bash
# With Save Screen on, every changed frame of the graph window becomes the
# next numbered PPM file, rows from the top; unchanged frames write nothing.
source "$(dirname "$0")/lib.sh"
size=$((15 + 640 * 480 * 3))  # "P6\n640 480\n255\n" and the raster
ppm=$E2E_DIR/PPM_P6

e2e_start
key "$GRAPH" l
check "Save Screen on saves the frame" wait_file 10 "$ppm/P6_0000.PPM" $size
check "header" [ "$(head -c 15 "$ppm/P6_0000.PPM" | od -An -c | tr -s ' ')" = " P 6 \n 6 4 0 4 8 0 \n 2 5 5 \n" ]

key "$GRAPH" 3
check "a rotation key saves the next file" wait_file 10 "$ppm/P6_0001.PPM" $size
# The window now shows that frame, with "Save as" in its lower left corner
# only. The file's first row is the window's top row, so its first pixel
# is the window's top-left pixel.
window_rgb "$GRAPH" "$E2E_DIR/screen.rgb"
ppm_raster "$ppm/P6_0001.PPM" "$E2E_DIR/file.rgb"
check "raster size" [ "$(file_size "$E2E_DIR/file.rgb")" = $((640 * 480 * 3)) ]
check "first pixel is the top-left pixel" cmp -s <(head -c 3 "$E2E_DIR/file.rgb") <(head -c 3 "$E2E_DIR/screen.rgb")
check "first row is the top row" cmp -s <(head -c 1920 "$E2E_DIR/file.rgb") <(head -c 1920 "$E2E_DIR/screen.rgb")
check "the top and bottom rows differ (the order is visible)" \
  bash -c "! cmp -s <(head -c 1920 '$E2E_DIR/file.rgb') <(tail -c 1920 '$E2E_DIR/file.rgb')"
# The upper two thirds hold no message: file and screen agree there.
check "upper part identical to the screen" \
  cmp -s <(head -c $((1920 * 320)) "$E2E_DIR/file.rgb") <(head -c $((1920 * 320)) "$E2E_DIR/screen.rgb")
check "the message is on screen, not in the file" \
  bash -c "! cmp -s <(tail -c $((1920 * 40)) '$E2E_DIR/file.rgb') <(tail -c $((1920 * 40)) '$E2E_DIR/screen.rgb')"

# A key not in the table redraws an unchanged frame: no file. The rotation
# key after it writes exactly one, the next number.
key "$GRAPH" A 3
check "the next rotation saves P6_0002" wait_file 10 "$ppm/P6_0002.PPM" $size
sync_x; sync_x
check "the key not in the table wrote nothing" [ "$(ppm_count)" = 3 ]

# Holding "WX" for a second: a step at the press and one per 50 ms after.
before=$(ppm_count)
start=$(date +%s.%N)
hold "$CONTROLLER" 25 75 1
held=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN{printf "%.3f", b - a}')
# Files stop coming once the last step is drawn.
settled() {
  local a; a=$(ppm_count); sync_x; sleep 0.1; [ "$(ppm_count)" = "$a" ]
}
wait_until 5 settled
written=$(( $(ppm_count) - before ))
most=$(awk -v t="$held" 'BEGIN{printf "%d", 1 + t / 0.05 + 1}')
e2e_log "holding WX for ${held}s wrote $written files (one at the press, one per 50 ms: about 21)"
check "held WX writes files" [ "$written" -ge 5 ]
check "no more than one per 50 ms (held ${held}s, at most $most)" [ "$written" -le "$most" ]
last=$(printf 'P6_%04d.PPM' $((before + written - 1)))
check "numbered without gaps up to $last" [ -e "$ppm/$last" ]

key "$GRAPH" Escape
check "ends" wait_exit 10
check "nothing on standard error" [ ! -s "$E2E_ERR" ]

# A second run in the same folder keeps the first run's pictures byte for
# byte and numbers its own after them.
first=$(ppm_count)
(cd "$ppm" && md5sum P6_*.PPM) >"$E2E_DIR/first.md5"
rm -f "$E2E_DIR/stdin"
e2e_start
key "$GRAPH" l
check "the second run saves after the first run's last file" \
  wait_file 10 "$ppm/$(printf 'P6_%04d.PPM' "$first")" $size
check "the first run's files are kept as they were" bash -c "cd '$ppm' && md5sum --quiet -c '$E2E_DIR/first.md5'"
key "$GRAPH" Escape
check "the second run ends" wait_exit 10
check "one file more" [ "$(ppm_count)" = $((first + 1)) ]
e2e_report
