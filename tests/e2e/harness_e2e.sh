#!/bin/bash
# The harness itself: a sanitizer report on the program's standard error
# fails the test, also when a later start of the program has overwritten
# that file. No display is needed.
source "$(dirname "$0")/lib.sh"

# fails_with TEXT...: whether e2e_check_sanitizers counts a failure when the
# program runs wrote TEXT (one run per argument) to standard error.
fails_with() {
  (
    rm -f "$E2E_ERR_ALL" "$E2E_ERR"
    local run
    for run in "$@"; do
      e2e_keep_stderr                 # what e2e_start does before each run
      printf '%b' "$run" >"$E2E_ERR"
    done
    E2E_FAILS=0
    e2e_check_sanitizers 2>/dev/null
    [ "$E2E_FAILS" -gt 0 ]
  )
}

asan='==123==ERROR: AddressSanitizer: heap-buffer-overflow on address 0x602\n    #0 0x4 in f x.cpp:1\nSUMMARY: AddressSanitizer: heap-buffer-overflow x.cpp:1 in f\n'
ubsan='src/ui/values.cpp:12:5: runtime error: signed integer overflow: 2147483647 + 1\n'
lsan='==9==ERROR: LeakSanitizer: detected memory leaks\n'

check "an AddressSanitizer report fails" fails_with "$asan"
check "an UndefinedBehaviorSanitizer report fails" fails_with "$ubsan"
check "a LeakSanitizer report fails" fails_with "$lsan"
check "a report from an earlier run of the program fails" fails_with "$ubsan" "" ""
passes_with() { ! fails_with "$@"; }
check "ordinary messages do not fail" passes_with \
  'fourview: cannot save P6_0000.PPM: No space left on device\n' 'fourview: the console input has ended\n'
e2e_report
