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

# A short recorded rotation: Save Screen on ("l"), then the controller's
# "WX" button held for a second turns the hypercube through the fourth
# dimension, one saved frame per 50 ms step.
controller=$(xdotool search --onlyvisible --name '^controller$')
xdotool mousemove --window "$graph" 20 20 key l
xdotool mousemove --window "$controller" 25 75 mousedown 1
sleep 1.2
xdotool mouseup 1
# Wait until the files stop coming.
last=-1
for _ in $(seq 1 100); do
  n=$(ls "$work/PPM_P6" 2>/dev/null | wc -l)
  [ "$n" = "$last" ] && [ "$n" -gt 0 ] && break
  last=$n
  sleep 0.2
done
xdotool mousemove --window "$graph" 20 20 key Escape
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done

frames=$(ls "$work"/PPM_P6/P6_*.PPM 2>/dev/null | wc -l)
if [ "$frames" -gt 1 ]; then
  convert -delay 5 -loop 0 "$work"/PPM_P6/P6_*.PPM -resize 50% "$out/rotation.gif"
  echo "Saved $out/rotation.gif ($frames frames of a WX rotation)."
fi
