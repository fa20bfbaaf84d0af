#!/bin/bash
# The program opens its three windows where and as large as it should, keeps
# running on its own, and Esc ends it with status 0.
source "$(dirname "$0")/lib.sh"

e2e_start
check "graph window geometry" [ "$(window_geometry graph)" = "0 50 640 480" ]
check "controller window geometry" [ "$(window_geometry controller)" = "652 50 150 540" ]
check "values window geometry" [ "$(window_geometry values)" = "0 560 630 210" ]
# Nothing ends the program by itself: after a few round trips it still runs.
for _ in 1 2 3 4 5; do sync_x; done
check "still running without input" alive
key "$GRAPH" Escape
check "Esc ends the program" wait_exit 10
check "exit status 0" [ "${E2E_STATUS:-x}" = 0 ]
check "nothing on standard error" [ ! -s "$E2E_ERR" ]
e2e_report
