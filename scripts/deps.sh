#!/bin/bash
# Installs the Debian packages fourview needs to build, run and test, if any
# is missing. Quick when everything is there. (dpkg-dev and file: the Debian
# package's library dependencies, found by dpkg-shlibdeps; help2man: the man
# page, made from --help. time: the peak memory of a figure.)
set -eu
packages=(cmake make g++ pkg-config freeglut3-dev libglu1-mesa-dev libgtest-dev libbenchmark-dev
          libmuparser-dev libx11-dev libegl-dev libpng-dev libgif-dev xvfb xdotool x11-utils imagemagick
          locales bc dpkg-dev file help2man time
          fonts-dejavu-core libtomlplusplus-dev libavcodec-dev libavformat-dev
          libavutil-dev libswscale-dev ffmpeg)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
