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
