#!/bin/bash
# End-to-end harness: the real binary under a private Xvfb, driven by
# xdotool, with a FIFO on its standard input. Source this file; call
# e2e_start, then the helpers, and e2e_finish at the end. Every wait is
# bounded; only the processes started here are stopped, by PID.
#
#   E2E_BIN      the fourview binary (first argument of the test script)
#   E2E_DIR      scratch directory (the program's working directory)
#   E2E_OUT      the program's standard output, E2E_ERR its standard error
#   E2E_WRAP     optional command put before the program (e.g. valgrind)
#   E2E_ARGS     array of the program's own arguments (default none)
#   E2E_START_WAIT  seconds allowed for the windows to appear (default 10)
#   E2E_MENU_WAIT   seconds allowed for a menu to open (default 5)

set -u
E2E_BIN=${E2E_BIN:-${1:?usage: $0 path/to/fourview}}
E2E_BIN=$(readlink -f "$E2E_BIN")
E2E_DIR=$(mktemp -d /tmp/fourview-e2e.XXXXXX)
E2E_OUT=$E2E_DIR/stdout
E2E_ERR=$E2E_DIR/stderr
E2E_FAILS=0
E2E_PASSES=0
E2E_XVFB_PID=
E2E_APP_PID=
E2E_STATUS=
E2E_ARGS=()

e2e_log() { echo "[e2e] $*"; }

e2e_fail() {
  echo "FAIL: $*" >&2
  E2E_FAILS=$((E2E_FAILS + 1))
}

e2e_pass() { E2E_PASSES=$((E2E_PASSES + 1)); }

# check DESCRIPTION COMMAND...: counts a pass or a failure.
check() {
  local what=$1; shift
  if "$@"; then e2e_pass; else e2e_fail "$what"; fi
}

# wait_until SECONDS COMMAND...: polls every 50 ms; status 0 once COMMAND
# succeeds, 1 when the time runs out.
wait_until() {
  local limit=$1; shift
  local tries; tries=$(awk -v s="$limit" 'BEGIN{printf "%d", s * 20}')
  local i
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.05
  done
  "$@"
}

e2e_start_xvfb() {
  local fdfile=$E2E_DIR/display
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset -r 5>"$fdfile" 2>"$E2E_DIR/xvfb.log" &
  E2E_XVFB_PID=$!
  if ! wait_until 10 test -s "$fdfile"; then
    echo "Xvfb did not start" >&2; cat "$E2E_DIR/xvfb.log" >&2; exit 1
  fi
  export DISPLAY=":$(cat "$fdfile")"
}

# e2e_start [ENV=VALUE...]: starts the program with a FIFO on stdin, the
# writer held open on fd 3 (close it with e2e_end_input), and waits for its
# three windows.
e2e_start() {
  [ -n "$E2E_XVFB_PID" ] || e2e_start_xvfb
  mkfifo "$E2E_DIR/stdin"
  e2e_keep_stderr
  : >"$E2E_OUT"; : >"$E2E_ERR"
  (cd "$E2E_DIR" && exec env "$@" ${E2E_WRAP:-} "$E2E_BIN" "${E2E_ARGS[@]}" <"$E2E_DIR/stdin" >"$E2E_OUT" 2>"$E2E_ERR") &
  E2E_APP_PID=$!
  exec 3>"$E2E_DIR/stdin"
  local n
  for n in graph controller values; do
    if ! wait_until "${E2E_START_WAIT:-10}" window_id "$n" >/dev/null; then
      echo "window $n did not appear" >&2; cat "$E2E_ERR" >&2; e2e_finish; exit 1
    fi
  done
  GRAPH=$(window_id graph); CONTROLLER=$(window_id controller); VALUES=$(window_id values)
}

window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .; }

# send ANSWER: one line to the program's standard input.
send() { printf '%s\n' "$1" >&3; }
e2e_end_input() { exec 3>&-; }

# wait_output SECONDS TEXT: until the program's stdout holds TEXT (fixed string).
wait_output() { wait_until "$1" grep -qF -- "$2" "$E2E_OUT"; }
# count_output TEXT: occurrences of TEXT in the program's stdout.
count_output() { grep -oF -- "$1" "$E2E_OUT" | wc -l; }

alive() { kill -0 "$E2E_APP_PID" 2>/dev/null; }

# key WINDOW KEYSYM...: keys with the pointer inside the window.
key() { local w=$1; shift; xdotool mousemove --window "$w" 20 20 key --delay 30 "$@"; }
# click WINDOW X Y [BUTTON]
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; }
# hold WINDOW X Y SECONDS: left button held that long.
hold() {
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1
  sleep "$4"
  xdotool mouseup 1
}

# sync_x: a round trip to the X server and, through a query of the graph
# window's geometry, a moment for the program to handle what was sent.
sync_x() { xdotool getwindowgeometry "$GRAPH" >/dev/null 2>&1; }

# wait_exit SECONDS: waits for the program to end; sets E2E_STATUS.
wait_exit() {
  if wait_until "$1" bash -c "! kill -0 $E2E_APP_PID 2>/dev/null"; then
    wait "$E2E_APP_PID"; E2E_STATUS=$?
    E2E_APP_PID=
    return 0
  fi
  return 1
}

# window_geometry NAME: "X Y WIDTH HEIGHT" of a visible window.
window_geometry() {
  local id; id=$(window_id "$1") || return 1
  xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# menu_geometry: "X Y WIDTH HEIGHT" of the newest mapped freeglut menu window.
menu_geometry() {
  local id
  id=$(xdotool search --onlyvisible --name '^freeglut menu$' 2>/dev/null | tail -n1) || return 1
  [ -n "$id" ] || return 1
  xwininfo -id "$id" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

# menus_shown: how many freeglut menu windows are mapped.
menus_shown() { xdotool search --onlyvisible --name '^freeglut menu$' 2>/dev/null | wc -l; }
# wait_menus N: until more than N menu windows are mapped.
wait_menus() { wait_until "${E2E_MENU_WAIT:-5}" bash -c "[ \$(xdotool search --onlyvisible --name '^freeglut menu\$' 2>/dev/null | wc -l) -gt $1 ]"; }

# menu_open X Y [ENTRY]: right-click in the graph window at (X, Y) and, with
# ENTRY, open that entry's submenu; the menus stay up.
menu_open() {
  local x=$1 y=$2 entry=${3:-}
  local before; before=$(menus_shown)
  xdotool mousemove --window "$GRAPH" "$x" "$y" click 3
  wait_menus "$before" || { e2e_fail "menu did not open"; return 1; }
  [ -n "$entry" ] || return 0
  local mx my mw mh
  read -r mx my mw mh < <(menu_geometry)
  local ey=$((my + 2 + 25 * entry + 12))
  # Along the entry, then right into the submenu.
  xdotool mousemove "$((mx + 10))" "$ey" mousemove "$((mx + mw - 4))" "$ey"
  wait_menus "$((before + 1))" || { e2e_fail "submenu did not open"; return 1; }
}

# menu_close: a left click on the graph window outside the menus closes them.
menu_close() {
  xdotool mousemove --window "$GRAPH" 630 470 click 1
  wait_until "${E2E_MENU_WAIT:-5}" bash -c "[ \$(xdotool search --onlyvisible --name '^freeglut menu\$' 2>/dev/null | wc -l) = 0 ]"
}

# menu_pick X Y ENTRY [SUBENTRY]: right-click in the graph window at (X, Y),
# hover entry ENTRY (0-based) and, with SUBENTRY, pick it in the submenu
# that opens; otherwise pick ENTRY itself.
menu_pick() {
  local x=$1 y=$2 entry=$3 sub=${4:-}
  if [ -z "$sub" ]; then
    menu_open "$x" "$y" || return 1
    local mx my mw mh
    read -r mx my mw mh < <(menu_geometry)
    xdotool mousemove "$((mx + 10))" "$((my + 2 + 25 * entry + 12))" click 1
    return 0
  fi
  menu_open "$x" "$y" "$entry" || return 1
  local sx sy sw sh
  read -r sx sy sw sh < <(menu_geometry)
  xdotool mousemove "$((sx + 10))" "$((sy + 2 + 25 * sub + 12))" click 1
}

# menu_rgb FILE: the newest mapped menu window's pixels as raw RGB bytes.
menu_rgb() {
  local id; id=$(xdotool search --onlyvisible --name '^freeglut menu$' 2>/dev/null | tail -n1)
  [ -n "$id" ] && window_rgb "$id" "$1"
}

e2e_finish() {
  exec 3>&- 2>/dev/null
  if [ -n "$E2E_APP_PID" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
    kill "$E2E_APP_PID" 2>/dev/null; wait "$E2E_APP_PID" 2>/dev/null
  fi
  E2E_APP_PID=
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null; wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
  fi
}

# A run of a sanitized build reports each finding on standard error, whether
# or not it ends the program; the tests that start the program several times
# keep each run's standard error here before the next run overwrites it.
E2E_ERR_ALL=$E2E_DIR/stderr.all
e2e_keep_stderr() { [ -f "$E2E_ERR" ] && cat "$E2E_ERR" >>"$E2E_ERR_ALL"; : >"$E2E_ERR"; }

# sanitizer_reports FILE...: the lines in which AddressSanitizer,
# LeakSanitizer or UndefinedBehaviorSanitizer report a finding.
sanitizer_reports() {
  grep -hE 'runtime error:|ERROR: (AddressSanitizer|LeakSanitizer)|SUMMARY: (AddressSanitizer|UndefinedBehaviorSanitizer)' "$@" 2>/dev/null
}

# e2e_check_sanitizers: counts a failure for every program run whose
# standard error holds a sanitizer report, and shows the reports.
e2e_check_sanitizers() {
  e2e_keep_stderr
  if sanitizer_reports "$E2E_ERR_ALL" >/dev/null; then
    e2e_fail "sanitizer reports on the program's standard error:"
    sed -n '/==[0-9]*==ERROR\|runtime error:/,$p' "$E2E_ERR_ALL" | head -n 60 >&2
  fi
}

# e2e_report: prints the closing tally and exits with the test's status.
# The scratch directory is kept on failure for a look afterwards.
e2e_report() {
  e2e_finish
  e2e_check_sanitizers
  echo "$E2E_PASSES passed, $E2E_FAILS failed"
  if [ "$E2E_FAILS" -gt 0 ]; then
    echo "scratch directory kept: $E2E_DIR" >&2
    exit 1
  fi
  rm -rf "$E2E_DIR"
  exit 0
}
trap 'e2e_finish' EXIT

# --- Pictures, files and CPU time -------------------------------------------

# window_rgb WINDOW FILE: the window's pixels as raw RGB bytes, rows from the
# top (what is on screen, through the X server).
# Bounded: import waits for a click on the screen when the window is gone.
window_rgb() { timeout 10 import -window "$1" -depth 8 rgb:"$2" 2>/dev/null; }

# painted WINDOW: the window has drawn a frame (until then X shows it black).
painted() { window_rgb "$1" "$E2E_DIR/p.rgb" && [ "$(od -An -tx1 -N3 "$E2E_DIR/p.rgb" | tr -d ' ')" != 000000 ]; }

# file_size FILE: its size in bytes, or nothing when it does not exist.
file_size() { stat -c %s "$1" 2>/dev/null; }

# wait_file SECONDS FILE SIZE: until FILE exists with exactly SIZE bytes.
wait_file() { wait_until "$1" bash -c "[ \"\$(stat -c %s '$2' 2>/dev/null)\" = '$3' ]"; }

# ppm_raster FILE OUT: the raster bytes of a binary PPM (its three header lines dropped).
ppm_raster() { tail -n +4 "$1" >"$2"; }

# cpu_ticks: user + system clock ticks the program has used so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$E2E_APP_PID/stat"; }

# drag WINDOW X1 Y1 X2 Y2: left button down at (X1, Y1), up at (X2, Y2).
drag() {
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1 \
    mousemove --window "$1" "$4" "$5" mouseup 1
}

# ppm_count: how many capture files the program has written so far.
ppm_count() { find "$E2E_DIR/PPM_P6" -maxdepth 1 -name 'P6_*.PPM' 2>/dev/null | wc -l; }
# wait_ppm_count SECONDS N: until at least N capture files exist.
wait_ppm_count() { wait_until "$1" bash -c "[ \$(find '$E2E_DIR/PPM_P6' -maxdepth 1 -name 'P6_*.PPM' 2>/dev/null | wc -l) -ge $2 ]"; }
