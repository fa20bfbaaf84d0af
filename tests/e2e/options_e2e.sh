#!/bin/bash
# The command line: usage errors end with status 2 and one line naming the
# option before any window opens; --help and --version need no display;
# --keys and the settings take effect in the live windows.
source "$(dirname "$0")/lib.sh"

# run_without_display ARGS...: the program with no DISPLAY at all; its
# status in RUN_STATUS, its output in $E2E_OUT and $E2E_ERR.
run_without_display() {
  (cd "$E2E_DIR" && exec env -u DISPLAY "$E2E_BIN" "$@" </dev/null >"$E2E_OUT" 2>"$E2E_ERR")
  RUN_STATUS=$?
}

# Each row: the text the error line must hold | the arguments (one per line
# after splitting on ' ;; ') | the exit status (2 when not given). Nothing
# goes to standard output.
while IFS='|' read -r wanted args status; do
  [ -z "$wanted" ] && continue
  IFS=$'\x1f' read -r -a argv <<<"${args//' ;; '/$'\x1f'}"
  run_without_display "${argv[@]}"
  check "[${args}] exits ${status:-2}" [ "$RUN_STATUS" = "${status:-2}" ]
  check "[${args}] one line on standard error" [ "$(wc -l <"$E2E_ERR")" = 1 ]
  check "[${args}] names '$wanted'" grep -qF -- "$wanted" "$E2E_ERR"
  check "[${args}] nothing on standard output" [ ! -s "$E2E_OUT" ]
  grep -q "failed to open display" "$E2E_ERR" && e2e_fail "[${args}] left the word to freeglut"
done <<'TABLE'
--bogus|--bogus
--model|--model
--model: unknown model 'tesseract'|--model ;; tesseract
--model: unknown model '99'|--model ;; 99
--window-size|--window-size ;; 0x480
--window-size|--window-size ;; 32768x10
--window-size|--window-size ;; 30000x30000
--size|--png ;; a.png ;; --size ;; 640
--frames|--gif ;; a.gif ;; --frames ;; 0
--turn|--gif ;; a.gif ;; --turn ;; XW
--scale|--stl ;; a.stl ;; --scale ;; -1
--equations: f(x,y,s,t)|--equations ;; s;t;x+*y;0
--equations: x(s,t)|--equations ;; x;t;x;y
--equations|--equations ;; s;t;x
--keys: 'l'|--keys ;; 4l
--keys: 'Q'|--keys ;; Q
--s-range|--s-range ;; pi,-pi
--s-range: s_min 's'|--s-range ;; s,1
--t-range|--t-range ;; 1
--infinity|--infinity ;; 0
--infinity|--infinity ;; nan
--center|--center ;; 1,2,3
--center|--center ;; (1,2,3,4
--rotation-angle|--rotation-angle ;; 1.5
--hyperplane|--hyperplane ;; 0,0,0,0,1
--zoom|--zoom ;; 1e-300
--zoom|--zoom ;; 1e300
-display|-display
unexpected argument 'extra'|extra
--equations: f(x,y,s,t) = (x is refused by the equation engine: 開閉の括弧の数が不正です|--equations ;; s;t;(x;y
--equations: x(s,t) = x is refused by the equation engine: x(s,t) に対して|--equations ;; x;t;x;y
--s-range: s_min 's' is refused by the equation engine: s_min に 's', 't'|--s-range ;; s,1
--size: 0x0 is outside WxH, each side 1 to 4096|--png ;; a.png ;; --size ;; 0x0
--size: 5000x3000 is outside WxH, each side 1 to 4096|--png ;; a.png ;; --size ;; 5000x3000
--size: '640' is no size; write it WxH, each side 1 to 4096,|--png ;; a.png ;; --size ;; 640
--window-size: 0x480 is outside WxH, each side 1 to 32767, at most 33554432 pixels|--window-size ;; 0x480
--window-size: 30000x30000 is outside WxH, each side 1 to 32767, at most 33554432 pixels|--window-size ;; 30000x30000
option '--help' takes no value, but was given '--help=x'|--help=x
option '--version' takes no value, but was given '--version=1'|--version=1
unknown option '-indirect'|-indirect
-geometry: 'abc' is no geometry|-geometry ;; abc
-geometry: 0x10 is outside WxH, each side 1 to 32767, at most 33554432 pixels|-geometry ;; 0x10+1+1
--window-size: the size is given by -geometry already|-geometry ;; 300x200 ;; --window-size ;; 300x200
no X display: DISPLAY is not set and no -display given; without a display, write figures with --png, --gif, --obj or --stl||1
cannot open the X display 'unix:99999' (-display); without a display, write figures with --png|-display ;; unix:99999|1
TABLE

# --help and --version into a full disk or a closed standard output: one
# line, status 1, as GNU tools do.
for option in --help --version; do
  (cd "$E2E_DIR" && exec env -u DISPLAY "$E2E_BIN" $option >/dev/full 2>"$E2E_ERR")
  check "$option into a full disk exits 1" [ $? = 1 ]
  check "$option into a full disk says so" grep -qxF "fourview: write error: No space left on device" "$E2E_ERR"
  (cd "$E2E_DIR" && exec env -u DISPLAY "$E2E_BIN" $option >&- 2>"$E2E_ERR")
  check "$option into a closed output exits 1" [ $? = 1 ]
  check "$option into a closed output says so" grep -qxF "fourview: write error: Bad file descriptor" "$E2E_ERR"
done

# The user graph's settings with another model: kept, and one warning line.
run_without_display --model cube --center 1,2,3,4 --s-range 0,1 --size 8x8 --png "$E2E_DIR/c.png"
check "--center with the cube still draws" [ "$RUN_STATUS" = 0 ]
check "--center with the cube: one warning line" [ "$(wc -l <"$E2E_ERR")" = 1 ]
check "--center with the cube: the warning" grep -qxF "fourview: warning: --center, --s-range act on the user graph (model 20) only, not on model 0 (Cube)" "$E2E_ERR"
run_without_display --equations "s;t;x;y" --center 1,2,3,4 --size 8x8 --png "$E2E_DIR/c.png"
check "--center with --equations: no warning" [ ! -s "$E2E_ERR" ]

# The Esc row: the key itself in the argument.
run_without_display --keys "4$(printf '\033')"
check "Esc in --keys exits 2" [ "$RUN_STATUS" = 2 ]
check "Esc in --keys is named" grep -qF -- "--keys: Esc" "$E2E_ERR"

run_without_display --version
check "--version with no display" [ "$RUN_STATUS" = 0 ]
check "--version prints the version" grep -qxE 'fourview [0-9]+\.[0-9]+\.[0-9]+' "$E2E_OUT"
run_without_display --help
check "--help with no display" [ "$RUN_STATUS" = 0 ]
check "--help lists every option" bash -c "grep -c -- '--[a-z]' '$E2E_OUT' | awk '{exit !(\$1 >= 21)}'"
check "--help lists the models" grep -qE '^ +13  hypercube-8-cell-envelope +Hypercube \(8 Cell Envelope\)' "$E2E_OUT"
check "--help lists the keys" grep -qE '^  f +Cross Section on or off' "$E2E_OUT"
check "--help names p and w" bash -c "grep -qE '^  p +stereographic on' '$E2E_OUT' && grep -qE '^  w +Colour by W on or off' '$E2E_OUT'"
check "--help writes nothing on standard error" [ ! -s "$E2E_ERR" ]
# Each size's rule in --help as in its messages above.
check "--help states --size's rule" grep -qF "size of the PNG or GIF, each side 1 to 4096" "$E2E_OUT"
check "--help states --window-size's rule" bash -c "tr -s ' \n' ' ' <'$E2E_OUT' | grep -qF 'size of the graph window, each side 1 to 32767, at most 33554432 pixels'"
check "--help: --center is the user graph's" bash -c "tr -s ' \n' ' ' <'$E2E_OUT' | grep -qF 'act on the user graph (model 20) only'"
check "--help lists no -indirect" bash -c "! grep -qF -- '-indirect' '$E2E_OUT'"

# --keys acts as the same keys typed into the graph window: the graph and
# the values windows end up with the same pixels.
# Until a window has drawn its first frame, X shows it black.
painted() { window_rgb "$1" "$E2E_DIR/p.rgb" && [ "$(od -An -tx1 -N3 "$E2E_DIR/p.rgb" | tr -d ' ')" != 000000 ]; }
settled() {  # settled WINDOW FILE: two equal captures in a row, kept in FILE
  window_rgb "$1" "$E2E_DIR/settle.rgb"; sync_x
  window_rgb "$1" "$2" && cmp -s "$E2E_DIR/settle.rgb" "$2"
}
same_as() { window_rgb "$1" "$E2E_DIR/now.rgb" && cmp -s "$2" "$E2E_DIR/now.rgb"; }
E2E_ARGS=(--keys '4444f:')
e2e_start
check "the --keys frame is painted" wait_until 10 painted "$GRAPH"
check "and settles" wait_until 10 settled "$GRAPH" "$E2E_DIR/keys-option.rgb"
check "the values window is painted" wait_until 10 painted "$VALUES"
window_rgb "$VALUES" "$E2E_DIR/keys-option-values.rgb"
key "$GRAPH" Escape
check "ends" wait_exit 10
rm -f "$E2E_DIR/stdin"
E2E_ARGS=()
e2e_start
check "the start frame is painted" wait_until 10 painted "$GRAPH"
check "and settles" wait_until 10 settled "$GRAPH" "$E2E_DIR/start.rgb"
check "--keys changed the frame" bash -c "! cmp -s $E2E_DIR/start.rgb $E2E_DIR/keys-option.rgb"
# One key per drawn frame: two rotation keys handled before one frame make
# a single step, in the program as typed by a person.
cp "$E2E_DIR/start.rgb" "$E2E_DIR/before.rgb"
changed() { window_rgb "$1" "$E2E_DIR/after.rgb" && ! cmp -s "$E2E_DIR/before.rgb" "$E2E_DIR/after.rgb"; }
for k in 4 4 4 4 f colon; do
  key "$GRAPH" "$k"
  check "key $k is drawn" wait_until 10 changed "$GRAPH"
  cp "$E2E_DIR/after.rgb" "$E2E_DIR/before.rgb"
done
check "--keys 4444f: draws what typing 4444f: draws" wait_until 10 same_as "$GRAPH" "$E2E_DIR/keys-option.rgb"
check "and the values window agrees" wait_until 10 same_as "$VALUES" "$E2E_DIR/keys-option-values.rgb"
key "$GRAPH" Escape
check "ends" wait_exit 10
rm -f "$E2E_DIR/stdin"

# The window size option opens the graph window at that size; GLUT's
# -display reaches glutInit (the program itself has no DISPLAY).
E2E_ARGS=(-display "$DISPLAY" --window-size 500x400 --model cube --zoom 2)
e2e_start -u DISPLAY
check "--window-size sizes the graph window" wait_until 10 bash -c "[ \"\$(xwininfo -id $GRAPH | awk '/Width:/{w=\$NF} /Height:/{h=\$NF} END{print w\"x\"h}')\" = 500x400 ]"
key "$GRAPH" Escape
check "ends" wait_exit 10
check "nothing on standard error" [ ! -s "$E2E_ERR" ]

# -geometry places and sizes the graph window (the other two keep their
# places); the other GLUT options of --help are taken without a word.
rm -f "$E2E_DIR/stdin"
E2E_ARGS=(-geometry 300x200+100+120 -sync -gldebug -direct -iconic)
e2e_start
check "-geometry places and sizes the graph window" wait_until 10 bash -c "[ \"\$(xwininfo -id $GRAPH | awk '/Absolute upper-left X/{x=\$NF} /Absolute upper-left Y/{y=\$NF} /Width:/{w=\$NF} /Height:/{h=\$NF} END{print x, y, w, h}')\" = '100 120 300 200' ]"
check "the controller keeps its place" [ "$(window_geometry controller)" = "652 50 150 540" ]
key "$GRAPH" Escape
check "ends" wait_exit 10
check "nothing on standard error" [ ! -s "$E2E_ERR" ]
e2e_report
