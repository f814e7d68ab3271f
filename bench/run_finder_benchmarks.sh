#!/usr/bin/env bash
# The finder's two benchmarks over one synthetic drive (made once in
# build/bench-drive): natively against GNU find, and under Wine against
# "cmd /c dir /s". Needs both builds (build/native, build/win), as
# scripts/test.sh leaves them.
#
#   bash bench/run_finder_benchmarks.sh [rounds]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-3}"
drive="$root/build/bench-drive"

cmake --build "$root/build/native" --target finder_bench >/dev/null
cmake --build "$root/build/win" --target finder_bench_win >/dev/null
if [ ! -f "$drive.made" ]; then
  python3 "$root/bench/synthetic_drive.py" "$drive"
  touch "$drive.made"
fi

printf '\n== native: finder against GNU find\n'
"$root/build/native/bench/finder_bench" "$drive" "$rounds"

printf '\n== Wine: finder against cmd /c dir /s\n'
python3 "$root/bench/finder_bench_wine.py" "$root/build/win/bench/finder_bench_win.exe" "$drive" "$rounds"
