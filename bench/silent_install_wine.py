"""A silent installation under Wine, from the process's start to its exit,
against the start of empty programs in the same Wine session: one with no
imports, and one importing the same system libraries as the installer (whose
loading alone costs Wine about a second). The difference from the latter is
what the installation itself costs.

    python3 bench/silent_install_wine.py [build/win] [rounds]
"""

import statistics
import sys
import time
from datetime import datetime
from pathlib import Path

import winebench


def timed(session, program, *args):
    start = time.perf_counter()
    code, output = session.run(program, *args, timeout=120)
    elapsed = (time.perf_counter() - start) * 1000
    if code != 0:
        sys.exit(f"{program} {' '.join(args)} ended with code {code}: {output}")
    return elapsed


def logged_span(log):
    """Milliseconds from the log's first time stamp to its last."""
    stamps = [datetime.strptime(line[:23], "%Y-%m-%d %H:%M:%S.%f") for line in log.read_text().splitlines()]
    return (stamps[-1] - stamps[0]).total_seconds() * 1000


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else winebench.ROOT / "build" / "win").resolve()
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    installer, empty, empty_gui = ("app/win32/Install_Vorpane.exe", "bench/empty_program.exe",
                                   "bench/empty_gui_program.exe")
    with winebench.session("bench-silent-install", build, installer, empty, empty_gui) as session:
        program = session.copy_in(build / installer)
        nothing = session.copy_in(build / empty)
        nothing_gui = session.copy_in(build / empty_gui)
        timed(session, nothing)  # the session's server is up before anything is timed
        installs, starts, gui_starts, inside = [], [], [], []
        for round_number in range(rounds):
            starts.append(timed(session, nothing))
            gui_starts.append(timed(session, nothing_gui))
            installs.append(timed(session, program, "/VERYSILENT", f"/LOG=C:\\bench{round_number}.log",
                                  f"/D=C:\\Bench{round_number}"))
            inside.append(logged_span(session.host_path(f"C:\\bench{round_number}.log")))
        install = statistics.median(installs)
        start, gui_start = statistics.median(starts), statistics.median(gui_starts)
        listed = lambda times: ", ".join(f"{t:.0f}" for t in times)
        print(f"silent install:                median {install:.1f} ms over {rounds} rounds ({listed(installs)})")
        print(f"empty program:                 median {start:.1f} ms ({listed(starts)})")
        print(f"empty program, same imports:   median {gui_start:.1f} ms ({listed(gui_starts)})")
        print(f"install - empty program: {install - start:.1f} ms (ratio {install / start:.2f})")
        print(f"install - same imports:  {install - gui_start:.1f} ms (ratio {install / gui_start:.2f}): "
              "the installation's own cost")
        print(f"from the log's first line to its last: median {statistics.median(inside):.1f} ms ({listed(inside)})")


if __name__ == "__main__":
    main()
