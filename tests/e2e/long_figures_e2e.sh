#!/bin/bash
# Figures of any length: a GIF's peak memory does not grow with its number
# of frames (its frames are drawn twice, a frame at a time, rather than
# held), and --keys takes its keys without drawing a frame for each, so
# that 100,000 keys end in seconds with the picture they always gave.
source "$(dirname "$0")/lib.sh"
dir=$E2E_DIR/long
mkdir -p "$dir"
# peak_kib ARGS...: the peak resident memory of one figure run, in KiB.
peak_kib() {
  env -u DISPLAY /usr/bin/time -f '%M' -o "$dir/peak" timeout 600 "$E2E_BIN" "$@" </dev/null >/dev/null 2>>"$E2E_ERR_ALL" &&
    tail -n1 "$dir/peak"
}
short=$(peak_kib --gif "$dir/short.gif" --frames 36 --size 640x480)
long=$(peak_kib --gif "$dir/long.gif" --frames 720 --size 640x480)
e2e_log "peak memory: 36 frames $short KiB, 720 frames $long KiB"
check "both GIFs made" [ -n "$short" ] && [ -n "$long" ]
check "720 frames take at most 1.2 times the memory of 36 ($long vs $short KiB)" \
  [ "$((long * 10))" -le "$((short * 12))" ]
check "the long GIF has its 720 frames" [ "$(identify "$dir/long.gif" 2>/dev/null | wc -l)" = 720 ]
check "the first 36 frames are the short GIF's" \
  cmp -s <(convert "$dir/short.gif[35]" rgb:-) <(convert "$dir/long.gif[35]" rgb:-)

# 100,000 keys: 2,777 full turns of 36 steps of 10 degrees and 28 steps
# more give the picture of 28 steps (a generous bound on the time, not a
# benchmark).
keys=$(printf '4%.0s' $(seq 100000))
start=$(date +%s%N)
timeout 120 env -u DISPLAY "$E2E_BIN" --keys "$keys" --png "$dir/keys.png" </dev/null 2>>"$E2E_ERR_ALL"
status=$?
e2e_log "100,000 keys: $(( ($(date +%s%N) - start) / 1000000 )) ms"
check "100,000 keys: status 0 within the bound" [ "$status" = 0 ]
env -u DISPLAY "$E2E_BIN" --keys "$(printf '4%.0s' $(seq 28))" --png "$dir/steps.png" </dev/null 2>>"$E2E_ERR_ALL"
check "100,000 keys: within a few levels of 28 steps" \
  [ "$(compare -metric AE -fuzz 2% "$dir/keys.png" "$dir/steps.png" null: 2>&1)" = 0 ]
e2e_report
