#!/bin/bash
# The install rules and the Debian package: `cmake --install` puts the
# program, its man page, desktop entry, icon and notes in their places;
# `cpack -G DEB` makes fourview_X.Y.Z_amd64.deb whose library dependencies
# dpkg-shlibdeps found, and the program unpacked from it runs.
#   tests/package/deb_test.sh BUILD_DIR
set -u
build=$(readlink -f "${1:?usage: $0 BUILD_DIR}")
work=$(mktemp -d /tmp/fourview-package.XXXXXX)
fails=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what" >&2; fails=$((fails + 1)); fi
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in bin/fourview share/man/man1/fourview.1.gz share/applications/fourview.desktop \
         share/icons/hicolor/scalable/apps/fourview.svg share/doc/fourview/README.md; do
  check "install puts $f" test -s "$work/prefix/$f"
done
check "the man page names every long option of --help" bash -c "
  for o in \$('$build/src/app/fourview' --help | grep -oE -- '--[a-z-]+' | sort -u); do
    zcat '$work/prefix/share/man/man1/fourview.1.gz' | grep -qF -- \"\${o//-/\\\\-}\" || { echo \"missing \$o\"; exit 1; }
  done"

# The README installed refers only to pictures installed beside it.
doc=$work/prefix/share/doc/fourview
for picture in $(grep -oE 'docs/[A-Za-z0-9_./-]+\.(png|gif)' "$doc/README.md" | sort -u); do
  check "the installed README's $picture is installed" test -s "$doc/$picture"
done
check "the licence is installed as the copyright file" grep -q "^MIT License" "$doc/copyright"
# The man page reads as a page: no hyphenation, the model and key lists
# without blank rows, the models by name.
MANWIDTH=100 man -l "$work/prefix/share/man/man1/fourview.1.gz" 2>/dev/null >"$work/man.txt"
check "the man page's model list has no blank rows" bash -c "
  sed -n '/Models (/,/Uniform polychora\\|Keys of/p' '$work/man.txt' | sed '1d;\$d' | grep -c '^ *\$' | grep -qx 1"
check "the man page names models as the program does" bash -c "
  grep -qE '^ +13 +Hypercube \(8 Cell Envelope\)\$' '$work/man.txt' && ! grep -q 'klein-bottle' '$work/man.txt'"
check "the man page's key list has no blank rows" bash -c "
  sed -n '/Keys of/,/Down /p' '$work/man.txt' | sed '1d' | grep -q '^ *\$' && exit 1 || exit 0"

version=$("$build/src/app/fourview" --version | awk '{print $2}')
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1)
check "cpack -G DEB succeeds" grep -q "generated" "$work/cpack.log"
deb=$work/out/fourview_${version}_amd64.deb
check "the package is named fourview_${version}_amd64.deb" test -s "$deb"
dpkg-deb -c "$deb" >"$work/contents" 2>&1
for f in ./usr/bin/fourview ./usr/share/man/man1/fourview.1.gz ./usr/share/applications/fourview.desktop \
         ./usr/share/icons/hicolor/scalable/apps/fourview.svg; do
  check "the package holds $f" grep -qE " $f\$" "$work/contents"
done
# The man page and the package say the same of every feature: one source.
dpkg-deb -f "$deb" Description >"$work/description" 2>&1
for word in stereographic "colour by w" hyperplane transparent wireframe equations PNG GIF OBJ STL; do
  check "the package description mentions $word" grep -qi "$word" "$work/description"
  check "the man page mentions $word" bash -c "tr -s ' \n' ' ' <'$work/man.txt' | grep -qi '$word'"
done
check "the package's copyright file" grep -qE " ./usr/share/doc/fourview/copyright\$" "$work/contents"
depends=$(dpkg-deb -f "$deb" Depends 2>/dev/null)
check "dpkg-shlibdeps found the GL, GLUT and C++ libraries ($depends)" \
  bash -c "grep -q libglut <<<'$depends' && grep -q 'libgl1\|libopengl0' <<<'$depends' && grep -q libstdc++ <<<'$depends'"
dpkg-deb -x "$deb" "$work/root"
check "the packaged program runs with no display" \
  bash -c "[ \"\$(env -u DISPLAY '$work/root/usr/bin/fourview' --version)\" = 'fourview $version' ]"

if [ "$fails" -gt 0 ]; then
  cat "$work/cpack.log" >&2
  echo "kept: $work" >&2
  exit 1
fi
rm -rf "$work"
