#!/bin/bash
# Scenes: a view saved with --save-scene and started from with --scene gives
# the same file and the same picture again; a bad scene file is one line,
# status 2 and no output; a flight between scenes and the video of an
# animation; "Save Scene" and "Load Scene" of the graph menu in the windows.
source "$(dirname "$0")/lib.sh"
sc=$E2E_DIR/scenes
mkdir -p "$sc"
run() { env -u DISPLAY "$E2E_BIN" "$@" </dev/null >"$sc/out" 2>"$sc/err"; status=$?; cat "$sc/err" >>"$E2E_ERR_ALL"; }

# --- Round trips: a table of states made by the options and keys. --------------
rows=(
  ""
  "--model 120-cell --keys 14x9;"
  "--model torus --keys ]]adk"
  "--equations s;t;sin(x+y);cos(x-y) --s-range -pi/2,pi --keys p2w"
  "--model 16-cell --hyperplane 0.3,0,1,1,0.4 --keys fs:5"
  "--model klein-bottle-on --zoom 1.5 --rotation-angle 7 --keys 4444;33mj"
  "--model 24-cell --center 0.5,0,0,1 --infinity 3 --window-size 800x600 --keys hg7"
)
i=0
for row in "${rows[@]}"; do
  # shellcheck disable=SC2086
  run $row --save-scene "$sc/a$i.toml" --png "$sc/a$i.png"
  check "row $i ($row): saved, status 0" [ "$status" = 0 ]
  run --scene "$sc/a$i.toml" --save-scene "$sc/b$i.toml" --png "$sc/b$i.png"
  check "row $i: loaded, status 0" [ "$status" = 0 ]
  check "row $i: saved again, the same file" cmp -s "$sc/a$i.toml" "$sc/b$i.toml"
  check "row $i: the same picture" cmp -s "$sc/a$i.png" "$sc/b$i.png"
  i=$((i + 1))
done
check "the rows are different views" bash -c "! cmp -s '$sc/a0.png' '$sc/a1.png' && ! cmp -s '$sc/a1.png' '$sc/a4.png'"
# The cut moved: the arrow keys are no --keys, a hand-edited file does it.
sed 's/^section_offset = .*/section_offset = 0.35/' "$sc/a4.toml" >"$sc/moved.toml"
run --scene "$sc/moved.toml" --save-scene "$sc/moved2.toml" --png "$sc/moved.png"
check "the cut moved: loaded" [ "$status" = 0 ]
run --scene "$sc/moved2.toml" --save-scene "$sc/moved3.toml" --png "$sc/moved3.png"
check "the cut moved: the same file and picture again" bash -c "cmp -s '$sc/moved2.toml' '$sc/moved3.toml' && cmp -s '$sc/moved.png' '$sc/moved3.png'"
check "the cut moved: another picture" bash -c "! cmp -s '$sc/a4.png' '$sc/moved.png'"
# Options after the scene win over it.
run --scene "$sc/a1.toml" --zoom 3 --save-scene "$sc/zoom.toml"
check "--zoom after --scene wins" grep -qx 'zoom = 3.0' "$sc/zoom.toml"

# --- Bad files: one line naming file, line and key; status 2; nothing written. ---
printf 'format = 1\n[values]\nzoom = 1e9\n' >"$sc/far.toml"
printf 'format = 1\n[values\n' >"$sc/broken.toml"
printf 'format = 7\n' >"$sc/new.toml"
bad=("$sc/none.toml:No such file or directory" "$sc/far.toml:$sc/far.toml:3: values.zoom: is outside"
     "$sc/broken.toml:$sc/broken.toml:2: " "$sc/new.toml:$sc/new.toml:1: format: version 7 is newer")
for b in "${bad[@]}"; do
  file=${b%%:*}; want=${b#*:}
  run --scene "$file" --png "$sc/bad.png"
  check "$(basename "$file"): status 2" [ "$status" = 2 ]
  check "$(basename "$file"): one line saying why" bash -c "[ \$(wc -l <'$sc/err') = 1 ] && grep -qF -- '$want' '$sc/err'"
  check "$(basename "$file"): no picture" [ ! -e "$sc/bad.png" ]
done

# --- Flights. --------------------------------------------------------------------
run --save-scene "$sc/start.toml"
run --scene "$sc/start.toml" --to-scene "$sc/a1.toml" --to-scene "$sc/a4.toml" --frames 4 --gif "$sc/fly.gif"
check "a flight of two legs: status 0" [ "$status" = 0 ]
check "a flight of two legs: 4 frames a leg and the last scene" [ "$(identify "$sc/fly.gif" 2>/dev/null | wc -l)" = 9 ]
run --scene "$sc/a4.toml" --to-scene "$sc/a4.toml" --frames 3 --gif "$sc/still.gif"
check "a flight to the same scene is still" bash -c "cmp -s <(convert '$sc/still.gif[0]' rgb:-) <(convert '$sc/still.gif[1]' rgb:-) &&
  cmp -s <(convert '$sc/still.gif[0]' rgb:-) <(convert '$sc/still.gif[3]' rgb:-)"
run --to-scene "$sc/a1.toml" --gif "$sc/x.gif"
check "--to-scene without --scene: status 2" [ "$status" = 2 ]

# --- Video: MP4 and WebM, as common players read them. ------------------------------
probe() { ffprobe -v error -count_frames -select_streams v:0 -show_entries \
  stream=codec_name,width,height,r_frame_rate,pix_fmt,nb_read_frames -of csv=p=0 "$1"; }
run --video "$sc/turn.mp4" --frames 10 --turn WY
check "--video .mp4: status 0" [ "$status" = 0 ]
check "--video .mp4: H.264, 640x480, 25 fps, 10 frames" [ "$(probe "$sc/turn.mp4")" = "h264,640,480,yuv420p,25/1,10" ]
run --scene "$sc/start.toml" --to-scene "$sc/a1.toml" --frames 5 --video "$sc/fly.webm" --size 320x240
check "--video .webm of a flight: VP9, 320x240, 6 frames" [ "$(probe "$sc/fly.webm")" = "vp9,320,240,yuv420p,25/1,6" ]
run --video "$sc/odd.mp4" --size 321x240
check "--video at an odd size: status 2" [ "$status" = 2 ]
run --video "$sc/turn.avi"
check "--video .avi: status 2, named" bash -c "[ $status = 2 ] && grep -qF \"ends neither in .mp4 nor in .webm\" '$sc/err'"
check "no temporary file left" [ -z "$(ls -A "$sc" | grep '^\.')" ]

# --- The graph menu: Save Scene (entry 6) and Load Scene (entry 7). -------------------
# steady_rgb FILE: the graph window once two captures a moment apart agree,
# so that the frame in it is the last one drawn.
steady() { window_rgb "$GRAPH" "$1" && sleep 0.2 && window_rgb "$GRAPH" "$1.again" && cmp -s "$1" "$1.again"; }
steady_rgb() { wait_until 10 steady "$1"; }
E2E_ARGS=(--model 16-cell)
e2e_start
wait_until 10 painted "$GRAPH"
check "the first frame is drawn" steady_rgb "$sc/saved.rgb"
menu_pick 100 100 6
check "Save Scene: SCENE_0000.toml where the captures go" wait_until 10 test -s "$E2E_DIR/PPM_P6/SCENE_0000.toml"
check "Save Scene: says so" wait_output 10 'Scene saved as "PPM_P6/SCENE_0000.toml".'
: >"$E2E_DIR/PPM_P6/SCENE_0003.toml"
menu_pick 100 100 6
check "Save Scene again: after the highest number, never over a file" wait_until 10 test -s "$E2E_DIR/PPM_P6/SCENE_0004.toml"
check "Save Scene: the empty SCENE_0003.toml left alone" [ ! -s "$E2E_DIR/PPM_P6/SCENE_0003.toml" ]
key "$GRAPH" 4 4 a
sync_x
steady_rgb "$sc/turned.rgb"
check "the view turned" bash -c "! cmp -s '$sc/saved.rgb' '$sc/turned.rgb'"
menu_pick 100 100 7
check "Load Scene: asks for the file" wait_output 10 "file = "
send "nowhere.toml"
check "Load Scene of a missing file: nothing changed" wait_until 10 grep -qF "nowhere.toml: No such file or directory; nothing changed" "$E2E_ERR"
sync_x
steady_rgb "$sc/after-bad.rgb"
check "Load Scene of a missing file: the picture stays" cmp -s "$sc/turned.rgb" "$sc/after-bad.rgb"
menu_pick 100 100 7
send "PPM_P6/SCENE_0000.toml"
loaded() { steady "$sc/loaded.rgb" && cmp -s "$sc/saved.rgb" "$sc/loaded.rgb"; }
check "Load Scene: the saved view is back, pixel for pixel" wait_until 10 loaded
key "$GRAPH" Escape
check "the window ends" wait_exit 10
e2e_report
