#!/bin/bash
# Left alone, the viewer uses next to no CPU: nothing repaints by itself.
# The panels still follow every change at once. The CPU figure is measured
# and reported, not asserted.
source "$(dirname "$0")/lib.sh"

e2e_start
# Let the first frames of all three windows be drawn.
for _ in 1 2 3; do sync_x; done
sleep 0.5
hz=$(getconf CLK_TCK)
t0=$(cpu_ticks); s0=$(date +%s.%N)
sleep 3
t1=$(cpu_ticks); s1=$(date +%s.%N)
awk -v t="$((t1 - t0))" -v hz="$hz" -v a="$s0" -v b="$s1" \
  'BEGIN{printf "[e2e] idle: %d CPU ticks (%.3f s) in %.2f s of no input = %.1f %% of one core\n", t, t / hz, b - a, 100 * t / hz / (b - a)}'
check "alive while idle" alive

window_rgb "$VALUES" "$E2E_DIR/values-0.rgb"
window_rgb "$CONTROLLER" "$E2E_DIR/controller-0.rgb"
changed() { window_rgb "$1" "$E2E_DIR/now.rgb" && ! cmp -s "$2" "$E2E_DIR/now.rgb"; }
key "$GRAPH" Right
check "the hyperplane line follows an arrow key" wait_until 5 changed "$VALUES" "$E2E_DIR/values-0.rgb"
key "$GRAPH" k
check "the Bold Line label follows its key" wait_until 5 changed "$CONTROLLER" "$E2E_DIR/controller-0.rgb"
key "$GRAPH" Escape
check "ends" wait_exit 10
e2e_report
