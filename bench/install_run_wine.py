"""Runs install_run_bench.exe under Wine in a session of the tests' harness (its
own display and prefix, desktop integration off) and prints its figures.

    python3 bench/install_run_wine.py [build/win] [rounds]

The Windows build must have been made first (bash scripts/test.sh, or
cmake --build build/win).
"""

import sys
from pathlib import Path

import winebench

def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else winebench.ROOT / "build" / "win").resolve()
    rounds = sys.argv[2] if len(sys.argv) > 2 else "7"
    bench = "app/win32/install_run_bench.exe"
    with winebench.session("bench-install-run", build, bench, timeout=300) as session:
        program = session.copy_in(build / bench)
        code, output = session.run(program, "C:\\Bench", rounds, timeout=240)
        print(output, end="")
        if code != 0:
            sys.exit(f"install_run_bench ended with code {code}")


if __name__ == "__main__":
    main()
