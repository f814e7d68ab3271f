"""What the benchmarks that run under Wine share: the tests' harness, set up
for a Windows build folder (with its probe and the keeper of the session's
desktop), and a check that the programs they time exist."""

import os
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "wine"))

import winetest  # noqa: E402

# Holds the session's desktop, as for the tests: no start pays for a new one.
KEEPER = "tests/wine/desktop_keeper.exe"


def session(name, build, *programs, timeout=600):
    """A Wine session of the harness for the build folder, once every program
    (paths relative to the build) is there; exits with a word otherwise."""
    build = Path(build).resolve()
    for program in (*programs, KEEPER):
        if not (build / program).is_file():
            sys.exit(f"{build / program} is missing: build the Windows program first")
    os.environ.setdefault("VORPANE_WINE_WORK", str(build / "wine"))
    os.environ.setdefault("VORPANE_WINPROBE", str(build / "tests" / "wine" / "winprobe.exe"))
    os.environ.setdefault("VORPANE_DESKTOP_KEEPER", str(build / KEEPER))
    return winetest.WineSession(name, timeout=timeout)
