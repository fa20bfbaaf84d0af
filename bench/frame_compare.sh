#!/bin/bash
# Runs two frame_bench binaries (before and after a change) alternately under
# one private Xvfb, so that both see the same load, and prints each run's
# table with the load average before it.
#   bench/frame_compare.sh OLD_BINARY NEW_BINARY [ROUNDS] [frame_bench options...]
set -eu
old=$1 new=$2 rounds=${3:-3}
shift 2; [ $# -gt 0 ] && shift
here=$(cd "$(dirname "$0")/.." && pwd)
for round in $(seq 1 "$rounds"); do
  for side in old new; do
    binary=$old; [ "$side" = new ] && binary=$new
    echo "== round $round, $side, load $(cut -d' ' -f1-3 /proc/loadavg)"
    "$here/tests/support/with_xvfb.sh" "$binary" "$@" | grep '^|'
  done
done
