#!/bin/bash
# Figures of any length: time and peak memory of long GIFs and of many
# keys, for this build and, given a second binary (an older build), for
# that one side by side under the same load.
#   GIF 640x480 of 36 and of 720 frames, GIF 1920x1080 of 120 frames
#   --keys of 100,000 steps on the hypercube, 1,000 on the 120-cell
# Usage: bench/figure_length.sh path/to/fourview [path/to/older/fourview]
# The older build may take many minutes on the keys; each run is bounded
# by 900 s.
set -u
dir=$(mktemp -d /tmp/fourview-length.XXXXXX)
trap 'rm -rf "$dir"' EXIT
run() {  # BIN ARGS...: prints "seconds peak-MiB"
  local bin=$1; shift
  env -u DISPLAY /usr/bin/time -f '%e %M' -o "$dir/t" timeout 900 "$bin" "$@" </dev/null >/dev/null 2>&1 ||
    { echo "failed or over 900 s"; return; }
  awk '{printf "%8.2f s %8.1f MiB", $1, $2 / 1024}' "$dir/t"
}
keys() { printf "$1%.0s" $(seq "$2"); }
cases=(
  "GIF 640x480, 36 frames|--gif $dir/a.gif --frames 36"
  "GIF 640x480, 720 frames|--gif $dir/a.gif --frames 720"
  "GIF 1920x1080, 120 frames|--gif $dir/a.gif --frames 120 --size 1920x1080"
  "100,000 keys, hypercube|--keys $(keys 4 100000) --png $dir/a.png"
  "1,000 keys, 120-cell|--model 16 --keys $(keys 4 1000) --png $dir/a.png"
)
echo "load: $(uptime | sed 's/.*load average: //')"
for row in "${cases[@]}"; do
  IFS='|' read -r what args <<<"$row"
  read -ra argv <<<"$args"
  printf '%-28s this: %s' "$what" "$(run "$1" "${argv[@]}")"
  [ $# -gt 1 ] && printf '   older: %s' "$(run "$2" "${argv[@]}")"
  echo
done
