#!/bin/bash
# A frame that cannot be saved — the disk is full, fills up in the middle of
# the file, or the directory may not be written — stops that capture with
# one line on standard error and leaves no file behind; the program goes
# on, and saves again once it can.
source "$(dirname "$0")/lib.sh"
size=$((15 + 640 * 480 * 3))
ppm=$E2E_DIR/PPM_P6

err_lines() { wc -l <"$E2E_ERR"; }
# wait_err_lines N: until standard error holds N lines.
wait_err_lines() { wait_until 10 bash -c "[ \$(wc -l <'$E2E_ERR') -ge $1 ]"; }
# restart: a fresh program in a fresh working directory state.
restart() {
  rm -f "$E2E_DIR/stdin"
  rm -rf "$ppm"
  e2e_start
}
quit() {
  key "$GRAPH" Escape
  check "$1: Esc ends the program" wait_exit 30
  check "$1: exit status 0" [ "${E2E_STATUS:-x}" = 0 ]
}

# --- A full disk: the file's place leads to /dev/full, where every write
# fails with ENOSPC.
rm -rf "$ppm"; mkdir "$ppm"
ln -s /dev/full "$ppm/P6_0000.PPM"
e2e_start
key "$GRAPH" l
check "full disk: one line on standard error" wait_err_lines 1
check "full disk: it names the file and the reason" \
  grep -q 'P6_0000.PPM.*No space left on device' "$E2E_ERR"
check "full disk: no file is left" bash -c "[ ! -e '$ppm/P6_0000.PPM' ] && [ ! -L '$ppm/P6_0000.PPM' ]"
check "full disk: still running" alive
key "$GRAPH" 3
check "full disk: the next frame is saved under the same number once there is room" \
  wait_file 10 "$ppm/P6_0000.PPM" $size
check "full disk: still one line on standard error" [ "$(err_lines)" = 1 ]
quit "full disk"

# --- The disk fills up in the middle of a file: a limit on file size (the
# signal it raises must not end the program).
rm -f "$E2E_DIR/stdin"; rm -rf "$ppm"
E2E_WRAP="prlimit --fsize=65536 --" e2e_start
key "$GRAPH" l
check "disk fills up: one line on standard error" wait_err_lines 1
check "disk fills up: it names the file and the reason" grep -q 'P6_0000.PPM.*File too large' "$E2E_ERR"
check "disk fills up: the part written is removed" bash -c "[ -z \"\$(ls -A '$ppm' 2>/dev/null)\" ]"
check "disk fills up: still running" alive
key "$GRAPH" 3
check "disk fills up: the next frame fails the same way, one line more" wait_err_lines 2
check "disk fills up: no file either" bash -c "[ -z \"\$(ls -A '$ppm' 2>/dev/null)\" ]"
quit "disk fills up"

# --- "PPM_P6" is a plain file: the frames go to the working directory, as
# they always have, after the printed results of mkdir and chdir (-1, -1),
# and one line on standard error says where.
rm -f "$E2E_DIR/stdin"; rm -rf "$ppm"
echo "not a folder" >"$ppm"
e2e_start
key "$GRAPH" l
check "plain file: the frame is saved in the working directory" wait_file 10 "$E2E_DIR/P6_0000.PPM" $size
check "plain file: mkdir's and chdir's results printed" bash -c "[ \"\$(head -n2 '$E2E_OUT' | tr '\n' ' ')\" = '-1 -1 ' ]"
check "plain file: one line on standard error" [ "$(err_lines)" = 1 ]
check "plain file: it says where the frames go" \
  grep -qxF "fourview: cannot enter PPM_P6 (Not a directory): frames are saved in $E2E_DIR" "$E2E_ERR"
check "plain file: the file is left alone" grep -qx "not a folder" "$ppm"
quit "plain file"
rm -f "$ppm" "$E2E_DIR"/P6_*.PPM

# --- A directory that may not be written. Root may write anywhere, so the
# program then runs without the capabilities that let it.
wrap=
[ "$(id -u)" = 0 ] && wrap="setpriv --bounding-set=-dac_override,-dac_read_search"
if [ -n "$wrap" ] && ! $wrap true 2>/dev/null; then
  e2e_log "skipped the unwritable directory: cannot drop root's capabilities here"
else
  rm -f "$E2E_DIR/stdin"; rm -rf "$ppm"
  mkdir "$ppm"; chmod 555 "$ppm"
  E2E_WRAP=$wrap e2e_start
  key "$GRAPH" l
  check "unwritable: one line on standard error" wait_err_lines 1
  check "unwritable: it names the file and the reason" grep -q 'P6_0000.PPM.*Permission denied' "$E2E_ERR"
  check "unwritable: no file" bash -c "[ -z \"\$(ls -A '$ppm')\" ]"
  check "unwritable: still running" alive
  chmod 755 "$ppm"
  key "$GRAPH" 3
  check "unwritable: saved once the directory may be written" wait_file 10 "$ppm/P6_0000.PPM" $size
  check "unwritable: still one line on standard error" [ "$(err_lines)" = 1 ]
  quit "unwritable"
fi
e2e_report
