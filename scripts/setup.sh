#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test the installer:
# the native toolchain with GoogleTest, the mingw-w64 cross compiler,
# GoogleTest's sources (built with it for the Windows check programs), Wine,
# a virtual X display, xdotool for driving it, ImageMagick for screenshots,
# Python 3, in which the Wine tests are written, and its X library, with which
# the first-window benchmark watches windows being mapped.
# Only missing packages are installed; a machine that has them all is left alone.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for pkg in cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev \
           g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev googletest \
           wine wine64 fonts-wine xvfb xdotool x11-apps imagemagick xauth python3 python3-xlib; do
  have_pkg "$pkg" || need+=("$pkg")
done

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${need[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
