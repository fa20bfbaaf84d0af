#!/bin/bash
# Runs inside a private Xvfb (see run.sh): starts the viewer, takes pictures
# of its windows, records a short rotation, and ends it with Esc.
set -eu
bin=$1 out=$2
work=$(mktemp -d)
cd "$work"
"$bin" </dev/null >"$work/stdout" 2>"$work/stderr" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 200); do
  xdotool search --onlyvisible --name '^values$' >/dev/null 2>&1 && break
  sleep 0.05
done
graph=$(xdotool search --onlyvisible --name '^graph$')
# Give the first frames a moment to reach the screen.
sleep 1
import -window root -crop 810x780+0+0 +repage "$out/fourview.png"
import -window "$graph" "$out/graph.png"
echo "Saved $out/fourview.png (all three windows) and $out/graph.png."

xdotool mousemove --window "$graph" 20 20 key Escape
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
