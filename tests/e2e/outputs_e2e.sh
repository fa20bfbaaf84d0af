#!/bin/bash
# The outputs of a run reach the disk without losing anything of the user's:
# each row is a command (run by bash in a fresh folder, with no display),
# the files made before it, the status it must end with, and what must hold
# after. After every row no temporary file is left in the folder.
source "$(dirname "$0")/lib.sh"
FV=$E2E_BIN
# Root writes read-only files and folders unless it gives up the capability.
ro=
[ "$(id -u)" = 0 ] && ro="setpriv --bounding-set=-dac_override,-dac_read_search"
is_png() { [ "$(head -c 4 "$1" | tail -c 3)" = PNG ]; }
is_gif() { [ "$(head -c 6 "$1")" = GIF89a ]; }
stl_whole() { [ "$(stat -c %s "$1")" = "$((84 + 50 * $(od -An -tu4 -j80 -N4 "$1" | tr -d ' ')))" ]; }
export -f is_png is_gif stl_whole

# name @ files before @ command @ status @ what must hold after
rows=(
  "appended log kept@echo log >log.txt@\$FV --png /dev/stdout --size 64x48 >>log.txt@0@[ \"\$(head -n1 log.txt)\" = log ] && tail -c +5 log.txt >p && is_png p"
  "- is standard output for --png@:@\$FV --png - --size 64x48 >out@0@is_png out"
  "- for --gif into a pipe@:@\$FV --gif - --frames 2 --size 64x48 | cat >out@0@is_gif out"
  "- for --stl@:@\$FV --stl - >out@0@stl_whole out"
  "/dev/fd/N written at its descriptor@:@\$FV --png /dev/fd/3 --size 64x48 3>out@0@is_png out"
  "/proc/self/fd/N too@echo head >out@\$FV --png /proc/self/fd/3 --size 64x48 3>>out@0@[ \"\$(head -n1 out)\" = head ]"
  "--obj - refused@:@\$FV --obj -@2@[ -z \"\$(ls)\" ]"
  "failed OBJ keeps the old OBJ and .mtl@echo old >m.obj; echo old >m.mtl@prlimit --fsize=2048 -- \$FV --obj m.obj@1@[ \"\$(cat m.obj m.mtl)\" = \"\$(printf 'old\\nold')\" ]"
  "failed GIF keeps the PNG@echo old >multi.png@\$FV --png multi.png --gif /dev/full --size 64x48@1@[ \"\$(cat multi.png)\" = old ]"
  "failed GIF leaves no new PNG@:@\$FV --png new.png --gif /dev/full --size 64x48@1@[ ! -e new.png ]"
  "same file twice@:@\$FV --png same.out --gif same.out@2@[ ! -e same.out ]"
  "PNG on the OBJ's .mtl@echo old >m.mtl@\$FV --png m.mtl --obj m.obj@2@[ \"\$(cat m.mtl)\" = old ] && [ ! -e m.obj ]"
  "OBJ and STL on one file@:@\$FV --obj x.obj --stl x.obj@2@[ ! -e x.obj ]"
  "two names of one file@echo old >a.png; ln a.png b.stl@\$FV --png a.png --stl b.stl@2@[ \"\$(cat b.stl)\" = old ]"
  "/dev/null twice is no loss@:@\$FV --png /dev/null --gif /dev/null --frames 2 --size 64x48@0@[ -c /dev/null ]"
  "- twice@:@\$FV --png - --stl - >out@2@[ ! -s out ]"
  "read-only file refused@echo old >ro.png; chmod 444 ro.png@$ro \$FV --png ro.png --size 64x48@1@[ \"\$(cat ro.png)\" = old ] && grep -qx 'fourview: cannot write ro.png: Permission denied' \$ERR"
  "hard link written in place@echo old >h1.png; ln h1.png h2.png@\$FV --png h1.png --size 64x48@0@is_png h2.png && cmp -s h1.png h2.png"
  "file in a read-only folder@mkdir d; echo old >d/f.png; chmod 555 d@$ro \$FV --png d/f.png --size 64x48@0@is_png d/f.png && [ -z \"\$(ls -A d | grep -v '^f.png\$')\" ]"
  "FIFO written in place@mkfifo p@timeout 60 cat p >from & \$FV --png p --size 64x48; s=\$?; wait; exit \$s@0@[ -p p ] && is_png from"
  "x.OBJ gives x.mtl@:@\$FV --obj x.OBJ@0@[ -s x.mtl ] && [ ! -e x.OBJ.mtl ] && grep -qx 'mtllib x.mtl' x.OBJ"
  "blank in the name@:@\$FV --obj 'my model.obj'@0@grep -qx 'mtllib my_model.mtl' 'my model.obj' && [ -s my_model.mtl ]"
  "--scale 1e300 refused@:@\$FV --stl s.stl --scale 1e300@2@[ ! -e s.stl ]"
  "--scale 1e-300 refused@:@\$FV --stl s.stl --scale 1e-300@2@[ ! -e s.stl ]"
  "--thickness only with --stl@:@\$FV --png t.png --thickness 2@2@[ ! -e t.png ]"
)
n=0
for row in "${rows[@]}"; do
  IFS='@' read -r what before command want after <<<"$row"
  n=$((n + 1))
  if [[ "$command" == setpriv* ]] && ! $ro true 2>/dev/null; then
    e2e_log "skipped $what: setpriv cannot run here"; continue
  fi
  dir=$E2E_DIR/row$n
  mkdir "$dir"
  [[ "$what" == blank* ]] && blank_dir=$dir
  (cd "$dir" && eval "$before")
  (cd "$dir" && export FV && timeout 120 env -u DISPLAY bash -c "$command" </dev/null 2>"$dir.err")
  status=$?
  cat "$dir.err" >>"$E2E_ERR_ALL"
  check "$what: status $want (was $status: $(head -c 200 "$dir.err"))" [ "$status" = "$want" ]
  check "$what: what must hold after" env ERR="$dir.err" bash -c "cd '$dir' && $after"
  [ "$status" = 0 ] || check "$what: one line on standard error" [ "$(wc -l <"$dir.err")" = 1 ]
  check "$what: no temporary file" [ -z "$(find "$dir" -name '.fourview-*')" ]
  chmod -R u+w "$dir" 2>/dev/null
done

# The OBJ whose name has a blank opens with its materials.
if command -v assimp >/dev/null; then
  log=$(cd "$blank_dir" && timeout 60 assimp info 'my model.obj' -l 2>&1)
  check "assimp opens 'my model.obj' with its materials" bash -c "! grep -qi 'unable to locate material' <<<\"\$1\" && grep -q \"'faces'\" <<<\"\$1\"" - "$log"
fi

# A signal while a GIF is made leaves no file and no temporary file: the
# content has no name on disk until it is complete.
for signal in INT TERM HUP; do
  dir=$E2E_DIR/signal-$signal
  mkdir "$dir"
  (cd "$dir" && exec env -u DISPLAY "$FV" --gif long.gif --frames 3600 --size 320x240 </dev/null 2>"$dir/err") &
  pid=$!
  # The animation is under way once the spool is open: an unnamed file.
  check "$signal: the GIF is being made" wait_until 60 bash -c "ls -l /proc/$pid/fd 2>/dev/null | grep -q '(deleted)'"
  kill -"$signal" "$pid"
  wait_until 20 bash -c "! kill -0 $pid 2>/dev/null"
  wait "$pid" 2>/dev/null
  check "$signal: nothing left in the folder" [ -z "$(ls -A "$dir" | grep -v '^err$')" ]
done
e2e_report
