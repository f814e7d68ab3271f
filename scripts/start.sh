#!/usr/bin/env bash
# Builds the Windows program and starts the installer under Wine; arguments are
# passed to the installer (for example /autoupdate D:\Vorpane). On a desktop
# the wizard runs until it ends. Without a display ($DISPLAY unset) it runs in
# a virtual one: the script waits for the welcome page, saves a screenshot,
# prints where it is and ends everything.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
# The toolchain is chosen once, when the folder is first configured; a
# configured folder is only built (the build configures itself again as needed).
[ -f build/win/CMakeCache.txt ] || cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake >/dev/null
cmake --build build/win -j"${VORPANE_JOBS:-2}" --target Install_Vorpane winprobe

program="$(find build/win -name Install_Vorpane.exe -type f -print -quit)"
winprobe="$(find build/win -name winprobe.exe -type f -print -quit)"
[ -n "$program" ] && [ -n "$winprobe" ] || { echo "start.sh: the build left no Install_Vorpane.exe" >&2; exit 1; }

mode=()
[ -n "${DISPLAY:-}" ] || mode=(--headless)
PYTHONDONTWRITEBYTECODE=1 exec python3 tests/wine/show_installer.py --work build/win/wine --program "$program" --winprobe "$winprobe" \
  "${mode[@]}" -- "$@"
