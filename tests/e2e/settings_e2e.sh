#!/bin/bash
# The "Change" buttons of the values window, pressed with the pointer and
# answered on the program's standard input, change what the windows show;
# once the console has ended they do nothing and the program goes on.
source "$(dirname "$0")/lib.sh"

# shot WINDOW NAME: the window's pixels once two grabs in a row agree.
shot() {
  local i
  for i in $(seq 1 100); do
    window_rgb "$1" "$E2E_DIR/a.rgb"; sync_x
    window_rgb "$1" "$E2E_DIR/b.rgb"
    if cmp -s "$E2E_DIR/a.rgb" "$E2E_DIR/b.rgb"; then mv "$E2E_DIR/b.rgb" "$E2E_DIR/$2.rgb"; return 0; fi
  done
  return 1
}
shows() { window_rgb "$1" "$E2E_DIR/now.rgb" && cmp -s "$E2E_DIR/$2.rgb" "$E2E_DIR/now.rgb"; }
shows_not() { ! shows "$1" "$2"; }
# prompts TEXT N: until TEXT has been written N times.
prompts() { wait_until 10 bash -c "[ \$(grep -oF -- '$1' '$E2E_OUT' | wc -l) -ge $2 ]"; }
# The "Change" button of values row R: x 520-620, y 10 + 25 R, 20 high.
change() { click "$VALUES" 570 $((20 + 25 * $1)); }

e2e_start
# Until a window has drawn its first frame, X shows it black.
painted() { window_rgb "$1" "$E2E_DIR/p.rgb" && [ "$(od -An -tx1 -N3 "$E2E_DIR/p.rgb" | tr -d ' ')" != 000000 ]; }
check "the graph window is painted" wait_until 10 painted "$GRAPH"
check "the values window is painted" wait_until 10 painted "$VALUES"
shot "$GRAPH" graph-start
shot "$VALUES" values-start

# Zoom (row 7): 0 is asked again, 0.5 is taken.
change 7
check "zoom heading and prompt" prompts "Please input Zoom rate." 1
check "zoom prompt" prompts "Zoom = " 1
send 0
check "zoom 0 asked again" prompts "Zoom = " 2
send 0.5
check "zoom 0.5 changes the zoom line" wait_until 10 shows_not "$VALUES" values-start
check "and the picture" wait_until 10 shows_not "$GRAPH" graph-start
# Back to 1 through the same dialogue: exactly the start pictures again.
change 7
check "zoom asked again" prompts "Zoom = " 3
send 1
check "zoom 1 gives back the start values line" wait_until 10 shows "$VALUES" values-start
check "and the start picture" wait_until 10 shows "$GRAPH" graph-start

# While a dialogue waits, the graph window says so in its lower part only;
# the answer brings the normal frame back.
change 7
check "zoom asked once more" prompts "Zoom = " 4
noticed() {
  window_rgb "$GRAPH" "$E2E_DIR/n.rgb" &&
    cmp -s <(head -c $((1920 * 400)) "$E2E_DIR/n.rgb") <(head -c $((1920 * 400)) "$E2E_DIR/graph-start.rgb") &&
    ! cmp -s <(tail -c $((1920 * 80)) "$E2E_DIR/n.rgb") <(tail -c $((1920 * 80)) "$E2E_DIR/graph-start.rgb")
}
check "the notice is in the graph window while the dialogue waits" wait_until 10 noticed
send 1
check "and gone after the answer" wait_until 10 shows "$GRAPH" graph-start

# Window size (row 0): a width of 0, a word and a width beyond X's 16 bits
# (which would reach the server as 0 and end the program) are asked again.
change 0
check "width prompt" prompts "widht = " 1
send 0
check "width 0 asked again" prompts "widht = " 2
send "wide"
check "a word asked again" prompts "widht = " 3
send 65536
check "a width X cannot hold asked again" prompts "widht = " 4
send 400
check "height prompt" prompts "height = " 1
send 300
check "the graph window becomes 400 x 300" wait_until 10 bash -c "[ \"\$(xwininfo -id $GRAPH | awk '/Width:/{w=\$NF} /Height:/{h=\$NF} END{print w, h}')\" = '400 300' ]"
check "and the size line changes" wait_until 10 shows_not "$VALUES" values-start

# The s range (row 1) as constant expressions.
shot "$VALUES" values-before-range
change 1
check "s_min prompt" prompts "s_min = " 1
send "t"
check "a parameter in a bound is refused" wait_output 10 "s_min に 's', 't', 'x' ,'y'"
send "-pi/2"
check "s_max prompt" prompts "s_max = " 1
send "2*pi"
check "the s line changes" wait_until 10 shows_not "$VALUES" values-before-range

# The console ends: a "Change" then does nothing and the program goes on.
shot "$VALUES" values-before-end
shot "$GRAPH" graph-before-end
e2e_end_input
change 3
check "the end of the console is said on standard error" wait_until 10 grep -qF "console input has ended" "$E2E_ERR"
# The message is written before the release repaints the pressed button:
# the window is back as it was once that repaint is done.
check "the values stay" wait_until 10 shows "$VALUES" values-before-end
# Another "Change" returns at once: it neither blocks nor writes a prompt
# (the byte-for-byte check at the end).
change 6
sync_x; sync_x
key "$GRAPH" 3
check "the windows keep working" wait_until 10 shows_not "$GRAPH" graph-before-end
key "$GRAPH" Escape
check "ends" wait_exit 10
check "exit status 0" [ "$E2E_STATUS" = 0 ]
check "one line on standard error" [ "$(wc -l <"$E2E_ERR")" = 1 ]

cat >"$E2E_DIR/expected" <<'END'
Please input Zoom rate.
Zoom = Zoom = Please input Zoom rate.
Zoom = Please input Zoom rate.
Zoom = 
Please input Window Size.
widht = widht = widht = widht = height = 
s_min <= s <= s_max
s_min = s_min に 's', 't', 'x' ,'y'　は使用できません
s_min = s_max = 
Infinity = 
END
check "the dialogues, byte for byte" cmp -s <(head -c -1 "$E2E_DIR/expected") "$E2E_OUT"
e2e_report
