#!/bin/bash
# Makes every picture under docs/ from the program, as docs/pictures.list
# says, or checks that each equals what the program makes today.
#   scripts/gallery.sh [--check] [BUILD_DIR]
# (@sheet: the contact sheet of the uniform polychora, scripts/contact_sheet.sh)
# Figures are drawn offscreen by fourview itself (--png, --gif); the
# screenshot of the three windows is taken on a private Xvfb. --check
# compares pixels (every frame of a GIF), exits 1 naming each picture that
# differs, and writes nothing under docs/.
set -eu
cd "$(dirname "$0")/.."
check=0
[ "${1:-}" = --check ] && { check=1; shift; }
build=${1:-build}
bin=$(readlink -f "$build/src/app/fourview")
if [ ! -x "$bin" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
  cmake --build "$build" --target fourview -j"$(nproc)" -- --no-print-directory >/dev/null
fi
tmp=$(mktemp -d)
xvfb=
app=
cleanup() {
  [ -n "$app" ] && { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; }
  [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
  rm -rf "$tmp"
}
trap cleanup EXIT

# until SECONDS COMMAND...: polls every 50 ms.
until_true() {
  local tries=$(($1 * 20)); shift
  for ((i = 0; i < tries; i++)); do "$@" && return 0; sleep 0.05; done
  "$@"
}
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .; }
drawn() {  # every window painted (X shows a window black until its first frame)
  local n id
  for n in graph controller values; do
    id=$(window "$n") || return 1
    [ "$(import -window "$id" -depth 8 -crop 1x1+0+0 rgb:- 2>/dev/null | od -An -tx1 | tr -d ' ')" != 000000 ] || return 1
  done
}
settled() {  # two equal captures of the screen's corner in a row
  import -window root -crop 810x780+0+0 +repage -depth 8 rgb:"$tmp/a.rgb" 2>/dev/null
  import -window root -crop 810x780+0+0 +repage -depth 8 rgb:"$tmp/b.rgb" 2>/dev/null
  cmp -s "$tmp/a.rgb" "$tmp/b.rgb"
}

# windows OUT ARGS...: the three windows, as a person first sees them.
windows() {
  local out=$1; shift
  if [ -z "$xvfb" ]; then
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset -r 5>"$tmp/display" 2>/dev/null &
    xvfb=$!
    until_true 10 test -s "$tmp/display" || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(cat "$tmp/display")"
  fi
  (cd "$tmp" && exec "$bin" "$@" </dev/null >/dev/null 2>&1) &
  app=$!
  until_true 10 drawn && until_true 10 settled || { echo "the windows did not settle" >&2; return 1; }
  import -window root -crop 810x780+0+0 +repage -strip -define png:exclude-chunks=date,time "$out"
  xdotool mousemove --window "$(window graph)" 20 20 key Escape
  wait "$app" 2>/dev/null || true
  app=
}

# pixels FILE: every frame's pixels, for comparing two pictures.
pixels() { convert "$1" -coalesce -depth 8 rgb:- | sha256sum | cut -d' ' -f1; }

differ=0
count=0
while read -r file rest; do
  case $file in ''|'#'*) continue ;; esac
  eval "args=($rest)"
  made=$tmp/$(basename "$file")
  if [ "${args[0]:-}" = @windows ]; then
    windows "$made" "${args[@]:1}"
  elif [ "${args[0]:-}" = @sheet ]; then
    scripts/contact_sheet.sh "$build" "$made" >/dev/null
  else
    option=--png
    [ "${file##*.}" = gif ] && option=--gif
    env -u DISPLAY "$bin" "${args[@]}" "$option" "$made"
  fi
  count=$((count + 1))
  if [ "$check" = 1 ]; then
    if [ ! -f "$file" ] || [ "$(pixels "$file")" != "$(pixels "$made")" ]; then
      echo "differs from what the program makes today: $file ($rest)" >&2
      differ=$((differ + 1))
    fi
  else
    mkdir -p "$(dirname "$file")"
    cp "$made" "$file"
  fi
done <docs/pictures.list

# A picture under docs/ that no line makes would drift unseen.
for f in $(find docs -name '*.png' -o -name '*.gif' | sort); do
  grep -qE "^$f[[:space:]]" docs/pictures.list || { echo "no line of docs/pictures.list makes $f" >&2; differ=$((differ + 1)); }
done
if [ "$check" = 1 ]; then
  echo "$count pictures checked, $differ differ"
  [ "$differ" = 0 ]
else
  echo "$count pictures made under docs/"
fi
