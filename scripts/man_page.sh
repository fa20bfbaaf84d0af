#!/bin/bash
# Makes the man page from the program's --help (every option, model and
# key, so that it never lists others than the program takes),
# docs/description.txt (the one description, shared with the Debian
# package) and the further sections of docs/fourview.h2m; compressed, as
# Debian installs man pages.
#   scripts/man_page.sh FOURVIEW OUT.gz
set -eu
bin=$1 out=$2
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The description's paragraphs first in DESCRIPTION, as roff paragraphs.
awk -v desc="$src/docs/description.txt" '
  /^\[DESCRIPTION\]$/ {
    print; print ".PP"
    while ((getline line < desc) > 0) print (line == "" ? ".PP" : line)
    next
  }
  { print }' "$src/docs/fourview.h2m" >"$work/fourview.h2m"
ASAN_OPTIONS=detect_leaks=0 help2man --no-info --no-discard-stderr \
  "--name=viewer for surfaces and solids of four-dimensional space" \
  --include="$work/fourview.h2m" --output="$work/fourview.1" "$bin"
# Tidied: no hyphenation (model names and options stay whole); the --help's
# one-line description left out (the DESCRIPTION says it all); the model
# and key lists as tables without a blank line between rows, the models by
# id and name (the --help's hyphenated form is only for typing).
awk '
  function end_table() { if (table) print ".PD"; table = 0; models = 0 }
  /^\.TH / { print; print ".nh"; next }
  skip && /^\./ { skip = 0 }
  skip { next }
  held != "" {
    if ($0 ~ /^A viewer for surfaces/) { held = ""; skip = 1; next }
    print held; held = ""
  }
  /^\.PP$/ && !table { held = $0; next }
  /^\.(SS|SH|PP)/ { end_table() }
  /^\.SS "(Models|Keys)/ { print; print ".PD 0"; table = 1; models = /Models/; next }
  table && /^\.TP$/ { row = 0; print; next }
  table { row++; if (models && row == 2) sub(/^[^ ]+ +/, ""); print; next }
  { print }
  END { if (held != "") print held }' "$work/fourview.1" >"$work/tidy.1"
gzip -9nc "$work/tidy.1" >"$out"
