#!/bin/bash
# The "4R Izure" menu of the real program: stored sets chosen from the menu,
# a new set typed on the console through "NEW", and a console that ends in
# the middle of "NEW".
source "$(dirname "$0")/lib.sh"

# snap NAME: the graph window's pixels once two grabs in a row agree.
snap() {
  local i
  for i in $(seq 1 100); do
    window_rgb "$GRAPH" "$E2E_DIR/a.rgb"; sync_x
    window_rgb "$GRAPH" "$E2E_DIR/b.rgb"
    if cmp -s "$E2E_DIR/a.rgb" "$E2E_DIR/b.rgb"; then mv "$E2E_DIR/b.rgb" "$E2E_DIR/$1.rgb"; return 0; fi
  done
  return 1
}
graph_is() { window_rgb "$GRAPH" "$E2E_DIR/now.rgb" && cmp -s "$E2E_DIR/$1.rgb" "$E2E_DIR/now.rgb"; }
graph_is_not() { ! graph_is "$1"; }

e2e_start
# Until the window has drawn its first frame, X shows it black.
painted() { window_rgb "$GRAPH" "$E2E_DIR/p.rgb" && [ "$(od -An -tx1 -N3 "$E2E_DIR/p.rgb" | tr -d ' ')" != 000000 ]; }
check "the graph window is painted" wait_until 10 painted
snap start   # the hypercube

# "4R Izure" is entry 1 of the main menu; in it "NEW" is entry 0 and the
# slots 0-5 are entries 1-6. Slot 2 holds s, t, x^2 - y^2, 2*x*y.
menu_pick 100 100 1 3
check "a stored set draws the 4R Izure" wait_until 10 graph_is_not start
snap saddle
# The sets are now saddle, sin(s+t)..., cos(s)*(2+cos(t))...: slot 1 holds
# the start set.
menu_pick 100 100 1 2
check "another stored set draws another surface" wait_until 10 graph_is_not saddle
snap ring

# "NEW" with the saddle's equations typed on the console, x(s,t) refused once.
menu_pick 100 100 1 0
check "NEW asks for x(s,t)" wait_output 10 "x(s,t) = "
send "x+s"
check "x in x(s,t) is refused" wait_output 10 "x(s,t) に対して、'x', 'y' は無効です."
check "and x(s,t) is asked again" wait_until 10 bash -c "[ \$(grep -oF 'x(s,t) = ' '$E2E_OUT' | wc -l) -ge 2 ]"
send "s"
check "y(s,t) asked" wait_output 10 "y(s,t) = "
send "t"
check "f(x,y,s,t) asked" wait_output 10 "f(x,y,s,t) = "
send "x^2 - y^2"
check "g(x,y,s,t) asked" wait_output 10 "g(x,y,s,t) = "
send "2*x*y"
check "the typed set draws exactly the stored saddle, caption included" wait_until 10 graph_is saddle
printf "\nplease input equations.\nx(s,t) = x(s,t) に対して、'x', 'y' は無効です.\nx(s,t) = y(s,t) = f(x,y,s,t) = g(x,y,s,t) = " >"$E2E_DIR/expected"
check "the dialogue, byte for byte" cmp -s "$E2E_DIR/expected" "$E2E_OUT"

# The sets are now the new saddle, then the start set, the saddle and the
# torus: slot 1 holds the start set.
menu_pick 100 100 1 2
check "the older sets moved down one" wait_until 10 graph_is ring

# "NEW" again, and the console ends after one equation: nothing changes.
menu_pick 100 100 1 0
check "NEW asks again" wait_until 10 bash -c "[ \$(grep -oF 'please input equations.' '$E2E_OUT' | wc -l) -ge 2 ]"
send "s*t"
check "y(s,t) asked again" wait_until 10 bash -c "[ \$(grep -oF 'y(s,t) = ' '$E2E_OUT' | wc -l) -ge 2 ]"
e2e_end_input
check "the end of the console is said on standard error" wait_until 10 grep -qF "console input has ended" "$E2E_ERR"
check "the half-typed set did not become the current one" wait_until 10 graph_is ring
# Slot 1 still holds the typed saddle: the table is as it was.
menu_pick 100 100 1 2
check "the stored sets are as before" wait_until 10 graph_is saddle
# A rotation key still works.
key "$GRAPH" 3
check "the windows keep working" wait_until 10 graph_is_not saddle
# "NEW" after the end returns at once.
menu_pick 100 100 1 0
sync_x; sync_x
key "$GRAPH" Escape
check "ends" wait_exit 10
check "exit status 0" [ "$E2E_STATUS" = 0 ]
check "one line on standard error" [ "$(wc -l <"$E2E_ERR")" = 1 ]
e2e_report
