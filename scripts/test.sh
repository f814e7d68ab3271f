#!/usr/bin/env bash
# The one test command. Installs what the machine lacks, builds the portable
# core natively and runs its unit tests (build/native), then cross-compiles the
# Windows program and runs its tests under Wine in a virtual display
# (build/win). Both test runs always happen when their builds succeed; the exit
# status is non-zero when anything failed.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${VORPANE_JOBS:-2}"
logs="$root/build/test-logs"

step() { printf '\n== %s\n' "$*"; }
fail() { printf 'test.sh: %s\n' "$*" >&2; exit 1; }

step "setup"
bash scripts/setup.sh || fail "setup failed"
mkdir -p "$logs"

step "native build (build/native)"
cmake -S . -B build/native >"$logs/native-configure.log" 2>&1 || { cat "$logs/native-configure.log"; fail "native configure failed"; }
cmake --build build/native -j"$jobs" || fail "native build failed"

step "native tests"
ctest --test-dir build/native -j"$jobs" --output-on-failure --no-tests=error --timeout 300 2>&1 | tee "$logs/native-ctest.log"
native_status=${PIPESTATUS[0]}

step "Windows build (build/win)"
# The Wine tests decode the data files the installer writes with the native tool.
# The toolchain is chosen when the folder is first configured, and only then.
toolchain=()
[ -f build/win/CMakeCache.txt ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake)
cmake -S . -B build/win "${toolchain[@]}" \
  -DVORPANE_DATA_FILE_TOOL="$root/build/native/datafile/tool/vorpane-dat" >"$logs/win-configure.log" 2>&1 \
  || { cat "$logs/win-configure.log"; fail "Windows configure failed"; }
grep -i "warning" -A2 "$logs/win-configure.log" || true
cmake --build build/win -j"$jobs" || fail "Windows build failed"

step "Wine tests (screenshots in build/win/wine/artefacts)"
# One at a time: each test drives its own display, and the machine is small.
ctest --test-dir build/win --output-on-failure --no-tests=error 2>&1 | tee "$logs/wine-ctest.log"
wine_status=${PIPESTATUS[0]}

step "summary"
summarise() {
  local name="$1" log="$2" status="$3" line
  line="$(grep -E 'tests passed|No tests were found' "$log" | tail -1)"
  printf '%-7s %s (exit %s)\n' "$name:" "${line:-no summary}" "$status"
  grep -E '^\s+[0-9]+ - .*\((Failed|Timeout|Not Run|SEGFAULT|Exception|Subprocess aborted)' "$log" || true
}
summarise native "$logs/native-ctest.log" "$native_status"
summarise wine "$logs/wine-ctest.log" "$wine_status"
if [ "$native_status" -ne 0 ] || [ "$wine_status" -ne 0 ]; then
  exit 1
fi
