#!/bin/bash
# An input storm against the real program: a seeded random sequence of
# keys (every key of the table but Esc), clicks and holds on every
# controller button but "Quit" and on the values window's buttons but
# "Change", drags and Shift-drags in the graph window, menu picks of models,
# stored sets and options, and window resizes down to 1 x 1. Afterwards the
# program must still be running, must answer keys at once, and Esc must end
# it with status 0.
#
#   STORM_SEED=N    replays the sequence of seed N (printed at the start)
#   STORM_EVENTS=N  number of events (default 2000)
source "$(dirname "$0")/lib.sh"

seed=${STORM_SEED:-$(( $(date +%s) % 1000000 ))}
events=${STORM_EVENTS:-2000}
e2e_log "storm seed $seed ($events events); replay with STORM_SEED=$seed"
RANDOM=$seed

# rnd N: a number 0..N-1 of the seeded sequence, in R.
rnd() { R=$((RANDOM % $1)); }

Keys=(3 c 1 z 2 x 4 7 5 8 6 9 a s d f g h j k l semicolon colon bracketright n m b space
      Left Right Down)
# Centres of the controller buttons 0-24 (25, "Quit", left out).
ControllerX=() ControllerY=()
for i in $(seq 0 11); do ControllerX+=($(( (i % 3) * 50 + 25 ))); ControllerY+=($(( (i / 3) * 30 + 15 ))); done
for i in $(seq 12 24); do ControllerX+=(75); ControllerY+=($(( 120 + 30 * (i - 12) + 15 ))); done
# The values window's ">>" "<<" "*" of the offset and ">>" "<<" of the zoom.
ValuesX=(495 415 455 485 425)
ValuesY=(170 170 170 195 195)
# Menu paths from the main menu (entries from 0): models of "4D Models" and
# "3D Models", the stored sets of "4R Izure" (never "NEW", which reads the
# console), "Reset", the option entries, and the rotation and projection
# modes inside "Options".
MenuPaths=("0")
for e in 0 1 2 3 4 5 6 7; do MenuPaths+=("2 $e"); done
for e in 0 1 2 3 4 5 6 7; do MenuPaths+=("3 $e"); done
for e in 1 2 3 4 5 6; do MenuPaths+=("1 $e"); done
for e in 2 3 4 5 6 7 8 9 10; do MenuPaths+=("4 $e"); done
for e in 0 1; do MenuPaths+=("4 0 $e" "4 1 $e"); done

visible_menus() { xdotool search --onlyvisible --name '^freeglut menu$' 2>/dev/null | sort; }
# new_menu BEFORE: the id of a visible menu window not in BEFORE.
new_menu() { comm -13 <(printf '%s\n' $1 | sort) <(visible_menus) | head -n1 | grep .; }
menu_box() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# storm_menu ENTRY...: opens the pop-up menu in the graph window and follows
# the entries, each but the last opening a submenu; clicks the last. Waits
# are long: the program may still be working through the events before.
storm_menu() {
  local before id x y w h ey entry
  before=$(visible_menus)
  xdotool mousemove --window "$GRAPH" 100 100 click 3
  wait_until 60 new_menu "$before" >/dev/null || { e2e_fail "menu did not open (path $*)"; return 1; }
  id=$(new_menu "$before")
  while [ $# -gt 0 ]; do
    entry=$1; shift
    read -r x y w h < <(menu_box "$id")
    ey=$((y + 2 + 25 * entry + 12))
    # Hovering an entry may open its submenu at once.
    before=$(visible_menus)
    xdotool mousemove "$((x + 10))" "$ey"
    if [ $# -eq 0 ]; then xdotool click 1; return 0; fi
    xdotool mousemove "$((x + w - 4))" "$ey"
    wait_until 60 new_menu "$before" >/dev/null || { e2e_fail "submenu did not open (path $*)"; return 1; }
    id=$(new_menu "$before")
  done
}

# The hyperplane line of the values window (row 6, left of its buttons):
# it shows the offset of the cutting hyperplane and nothing else changes it.
plane_line() { import -window "$VALUES" -crop 370x20+10+160 -depth 8 rgb:"$1" 2>/dev/null; }
plane_line_is() { plane_line "$E2E_DIR/line-now.rgb" && cmp -s "$E2E_DIR/$1" "$E2E_DIR/line-now.rgb"; }
# stable_line NAME: the line once two grabs with a round trip between agree.
stable_line() {
  local i
  for i in $(seq 1 200); do
    plane_line "$E2E_DIR/a.rgb"; sync_x; plane_line "$E2E_DIR/b.rgb"
    cmp -s "$E2E_DIR/a.rgb" "$E2E_DIR/b.rgb" && { mv "$E2E_DIR/b.rgb" "$E2E_DIR/$1"; return 0; }
  done
  return 1
}

e2e_start
# Until a window has drawn its first frame, X shows it black.
values_painted() {
  [ "$(import -window "$VALUES" -crop 1x1+0+0 -depth 8 rgb:- 2>/dev/null | od -An -tx1 | tr -d ' ')" = bfbfbf ]
}
check "the values window is painted" wait_until 30 values_painted
# Reference pictures of the hyperplane line: offset 0, and offset 0.15
# (three steps to the right).
key "$GRAPH" Down
check "the line at offset 0" stable_line zero.rgb
key "$GRAPH" Right Right Right
check "the line changes with the offset" wait_until 10 bash -c "! cmp -s '$E2E_DIR/zero.rgb' <(import -window '$VALUES' -crop 370x20+10+160 -depth 8 rgb:- 2>/dev/null)"
check "the line at offset 0.15" stable_line right3.rgb
key "$GRAPH" Down

start=$(date +%s.%N)
menu_ms=0 sent=0 menus=0 resizes=0 holds=0 drags=0 keys=0 clicks=0
batch=()
slowest=0
# idle: the program used no CPU for 100 ms, so it has handled every event
# sent so far (a held button's timer stops at its release).
idle() { local a; a=$(cpu_ticks); sleep 0.1; [ "$a" = "$(cpu_ticks)" ]; }
# flush: sends the batch in one xdotool call, then lets the program catch up,
# so that the storm's events are handled while it lasts and not long after.
flush() {
  if [ ${#batch[@]} -gt 0 ]; then xdotool "${batch[@]}" 2>/dev/null; fi
  batch=()
  local t0; t0=$(date +%s%N)
  wait_until 60 idle || e2e_fail "busy for a minute after events up to $sent (seed $seed)"
  local took=$(( ($(date +%s%N) - t0) / 1000000 ))
  [ $took -le $slowest ] || { slowest=$took; slowest_at=$sent; }
  # Saved frames are not what this test looks at; keep the disk free.
  find "$E2E_DIR/PPM_P6" -maxdepth 1 -name 'P6_*.PPM' -delete 2>/dev/null
}
windows=("$GRAPH" "$CONTROLLER" "$VALUES")
while [ $sent -lt "$events" ]; do
  alive || break
  rnd 1000
  if [ $R -lt 390 ]; then            # a key, in one of the three windows
    rnd 3; w=${windows[$R]}
    rnd ${#Keys[@]}
    batch+=(mousemove --window "$w" 5 5 key --delay 0 "${Keys[$R]}")
    keys=$((keys + 1))
  elif [ $R -lt 590 ]; then          # a click on a button
    rnd 3
    if [ $R -lt 2 ]; then
      rnd ${#ControllerX[@]}
      batch+=(mousemove --window "$CONTROLLER" "${ControllerX[$R]}" "${ControllerY[$R]}" mousedown 1 mouseup 1)
    else
      rnd ${#ValuesX[@]}
      batch+=(mousemove --window "$VALUES" "${ValuesX[$R]}" "${ValuesY[$R]}" mousedown 1 mouseup 1)
    fi
    clicks=$((clicks + 1))
  elif [ $R -lt 630 ]; then          # a hold of 50 to 150 ms
    rnd 3; t=$(printf '0.%02d' $((R * 5 + 5)))
    rnd 2
    if [ $R -eq 0 ]; then
      rnd ${#ControllerX[@]}
      batch+=(mousemove --window "$CONTROLLER" "${ControllerX[$R]}" "${ControllerY[$R]}" mousedown 1 sleep "$t" mouseup 1)
    else
      rnd ${#ValuesX[@]}
      batch+=(mousemove --window "$VALUES" "${ValuesX[$R]}" "${ValuesY[$R]}" mousedown 1 sleep "$t" mouseup 1)
    fi
    holds=$((holds + 1))
  elif [ $R -lt 900 ]; then          # a drag or a Shift-drag in the graph window
    rnd 640; x1=$R; rnd 480; y1=$R; rnd 640; x2=$R; rnd 480; y2=$R
    rnd 3
    if [ $R -eq 0 ]; then
      batch+=(mousemove --window "$GRAPH" "$x1" "$y1" keydown shift mousedown 1
              mousemove --window "$GRAPH" $(( (x1 + x2) / 2 )) $(( (y1 + y2) / 2 ))
              mousemove --window "$GRAPH" "$x2" "$y2" mouseup 1 keyup shift)
    else
      batch+=(mousemove --window "$GRAPH" "$x1" "$y1" mousedown 1
              mousemove --window "$GRAPH" $(( (x1 + x2) / 2 )) $(( (y1 + y2) / 2 ))
              mousemove --window "$GRAPH" "$x2" "$y2" mouseup 1)
    fi
    drags=$((drags + 1))
  elif [ $R -lt 988 ]; then          # a window size, 1 x 1 among them
    rnd 3; w=${windows[$R]}
    rnd 4
    case $R in
      0) ww=1 hh=1 ;;
      1) rnd 8; ww=$((R + 1)); rnd 8; hh=$((R + 1)) ;;
      2) ww=640 hh=480 ;;
      *) rnd 1000; ww=$((R + 1)); rnd 800; hh=$((R + 1)) ;;
    esac
    batch+=(windowsize "$w" "$ww" "$hh")
    resizes=$((resizes + 1))
  else                               # a menu pick
    flush
    m0=$(date +%s%N)
    xdotool windowsize "$GRAPH" 640 480
    rnd ${#MenuPaths[@]}
    storm_menu ${MenuPaths[$R]} || break
    menus=$((menus + 1))
    menu_ms=$((menu_ms + ($(date +%s%N) - m0) / 1000000))
  fi
  sent=$((sent + 1))
  [ ${#batch[@]} -lt 400 ] || flush
done
flush
sent_for=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN{printf "%.1f", b - a}')
e2e_log "sent $sent events in ${sent_for}s: $keys keys, $clicks clicks, $holds holds, $drags drags, $resizes resizes, $menus menu picks (${menu_ms} ms); longest catch-up ${slowest} ms, after event ${slowest_at:-0}"
check "all $events events sent" [ "$sent" -ge "$events" ]
check "alive after the storm" alive

# Responsive: the keys after the storm are handled in order, whatever the
# storm left behind (options, mode, model, window sizes).
xdotool windowsize "$GRAPH" 640 480
key "$GRAPH" Down
check "Down puts the offset back to 0" wait_until 120 plane_line_is zero.rgb
key "$GRAPH" Right Right Right
check "three steps right show offset 0.15" wait_until 30 plane_line_is right3.rgb
key "$GRAPH" Left Left Left
check "three steps left show offset 0 again" wait_until 30 plane_line_is zero.rgb
waited=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN{printf "%.1f", b - a}')
e2e_log "storm handled ${waited}s after it began"

key "$GRAPH" Escape
check "Esc ends the program after the storm" wait_exit 60
check "exit status 0" [ "${E2E_STATUS:-x}" = 0 ]
check "nothing on standard error" [ ! -s "$E2E_ERR" ]
[ "$E2E_FAILS" -eq 0 ] || e2e_log "replay with STORM_SEED=$seed"
e2e_report
