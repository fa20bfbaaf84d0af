#!/bin/bash
# Time to write one PNG of the start frame (640x480), three ways side by
# side in one run, each repeated N times (default 10), wall clock per figure:
#   no display    fourview --png with DISPLAY unset (EGL, no X server)
#   display       fourview --png with a display (an Xvfb) present
#   window+PPM    the way before the figures: open the windows under Xvfb,
#                 Save Screen ("l"), wait for the PPM, Esc, convert to PNG
# Usage: bench/figure_time.sh path/to/fourview [N]
source "$(dirname "$0")/../tests/e2e/lib.sh"
n=${2:-10}
now() { date +%s.%N; }
per() { awk -v a="$1" -v b="$2" -v n="$n" 'BEGIN{printf "%.3f", (b - a) / n}'; }

t0=$(now)
for ((i = 0; i < n; i++)); do env -u DISPLAY "$E2E_BIN" --png "$E2E_DIR/a.png" || exit 1; done
no_display=$(per "$t0" "$(now)")

e2e_start_xvfb
t0=$(now)
for ((i = 0; i < n; i++)); do "$E2E_BIN" --png "$E2E_DIR/b.png" || exit 1; done
display=$(per "$t0" "$(now)")

t0=$(now)
for ((i = 0; i < n; i++)); do
  rm -rf "$E2E_DIR/PPM_P6" "$E2E_DIR/stdin"
  e2e_start
  key "$GRAPH" l
  wait_file 10 "$E2E_DIR/PPM_P6/P6_0000.PPM" $((15 + 640 * 480 * 3)) || exit 1
  key "$GRAPH" Escape
  wait_exit 10 || exit 1
  convert "$E2E_DIR/PPM_P6/P6_0000.PPM" "$E2E_DIR/c.png"
done
window=$(per "$t0" "$(now)")

echo "one 640x480 PNG, mean of $n, seconds (load: $(uptime | sed 's/.*load average: //'))"
printf '%-14s %8s %8s\n' way seconds ratio
printf '%-14s %8s %8s\n' "no display" "$no_display" 1.00
printf '%-14s %8s %8s\n' display "$display" "$(awk -v a="$display" -v b="$no_display" 'BEGIN{printf "%.2f", a / b}')"
printf '%-14s %8s %8s\n' "window+PPM" "$window" "$(awk -v a="$window" -v b="$no_display" 'BEGIN{printf "%.2f", a / b}')"
e2e_finish
rm -rf "$E2E_DIR"
