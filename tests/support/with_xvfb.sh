#!/bin/bash
# Runs a command with DISPLAY set to a private Xvfb of its own, then stops
# exactly that server. Xvfb picks a free display and reports it on fd 5 once
# it accepts connections, so parallel runs never clash.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset -r 5>"$dir/display" 2>"$dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$dir/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$dir/display" ]; then
  echo "with_xvfb: Xvfb did not start" >&2
  cat "$dir/xvfb.log" >&2
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
  rm -rf "$dir"
  exit 1
fi
DISPLAY=":$(cat "$dir/display")" "$@"
status=$?
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
rm -rf "$dir"
exit $status
