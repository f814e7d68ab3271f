"""Runs install_run_bench.exe under Wine in a session of the tests' harness (its
own display and prefix, desktop integration off) and prints its figures.

    python3 bench/install_run_wine.py [build/win] [rounds]

The Windows build must have been made first (bash scripts/test.sh, or
cmake --build build/win).
"""

import os
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "wine"))

import winetest  # noqa: E402


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build" / "win").resolve()
    rounds = sys.argv[2] if len(sys.argv) > 2 else "7"
    bench = build / "app" / "win32" / "install_run_bench.exe"
    probe = build / "tests" / "wine" / "winprobe.exe"
    for needed in (bench, probe):
        if not needed.is_file():
            sys.exit(f"{needed} is missing: build the Windows program first")
    os.environ.setdefault("VORPANE_WINE_WORK", str(build / "wine"))
    os.environ.setdefault("VORPANE_WINPROBE", str(probe))
    with winetest.WineSession("bench-install-run", timeout=300) as session:
        program = session.copy_in(bench)
        code, output = session.run(program, "C:\\Bench", rounds, timeout=240)
        print(output, end="")
        if code != 0:
            sys.exit(f"install_run_bench ended with code {code}")


if __name__ == "__main__":
    main()
