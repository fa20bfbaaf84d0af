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
# after splitting on ' ;; ').
while IFS='|' read -r wanted args; do
  [ -z "$wanted" ] && continue
  IFS=$'\x1f' read -r -a argv <<<"${args//' ;; '/$'\x1f'}"
  run_without_display "${argv[@]}"
  check "[${args}] exits 2" [ "$RUN_STATUS" = 2 ]
  check "[${args}] one line on standard error" [ "$(wc -l <"$E2E_ERR")" = 1 ]
  check "[${args}] names '$wanted'" grep -qF -- "$wanted" "$E2E_ERR"
  grep -q "failed to open display" "$E2E_ERR" && e2e_fail "[${args}] touched the display"
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
TABLE

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
check "--help writes nothing on standard error" [ ! -s "$E2E_ERR" ]

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
e2e_report
