#!/usr/bin/env python3
"""Runs finder_bench_win.exe under Wine over a synthetic drive mapped as the
fixed drive X:, in a session of its own (own display, own prefix, as the Wine
tests have), and prints what it measured.

  finder_bench_wine.py <finder_bench_win.exe> <drive folder> [rounds]

VORPANE_WINE_WORK and VORPANE_WINPROBE default to the Windows build's
(build/win); winemenubuilder stays off, as in every session.
"""

import sys
from pathlib import Path

import winebench


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    program, drive = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    rounds = sys.argv[3] if len(sys.argv) > 3 else "3"
    with winebench.session("finder-bench", winebench.ROOT / "build" / "win", timeout=1800) as session:
        # The drive's letter points straight at the synthetic drive.
        session.add_drive("x", "hd").rmdir()
        link = session.prefix / "dosdevices" / "x:"
        link.unlink()
        link.symlink_to(drive)
        bench = session.copy_in(program, "C:\\Bench")
        code, output = session.run(bench, "X:\\", rounds, timeout=1700)
        print(output, end="")
        return code


if __name__ == "__main__":
    sys.exit(main())
