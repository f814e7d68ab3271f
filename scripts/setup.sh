#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks, from Debian's packages; a machine
# that has them all is left alone.
#
#   bash scripts/setup.sh           everything the build and the tests need
#   bash scripts/setup.sh release   only what scripts/release.sh needs
#
# The release needs CMake, git and the mingw-w64 cross compiler, and
# osslsigncode, which signs the programs. The tests need besides: the native
# toolchain with GoogleTest, GoogleMock and Google Benchmark, GoogleTest's
# sources (built with the cross compiler for the Windows check programs), Wine,
# a virtual X display, xdotool for driving it, ImageMagick for screenshots,
# Python 3, in which the Wine tests are written, and its X library, with which
# the first-window benchmark watches windows being mapped, and openssl, which
# makes the release check's throwaway certificate.
set -euo pipefail

release_packages=(cmake make git g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev osslsigncode)
test_packages=(g++ libgtest-dev libgmock-dev libbenchmark-dev googletest
               wine wine64 fonts-wine xvfb xdotool x11-apps imagemagick xauth python3 python3-xlib openssl)

case "${1:-all}" in
  all) wanted=("${release_packages[@]}" "${test_packages[@]}") ;;
  release) wanted=("${release_packages[@]}") ;;
  *) echo "setup.sh: unknown set \"$1\" (all or release)" >&2; exit 2 ;;
esac

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for pkg in "${wanted[@]}"; do
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
