"""Runs startup_check_bench.exe under Wine in a session of the tests' harness:
the installer's check of its images at start-up against a plain read of the
same bytes, each in a fresh process, alternating; prints the medians and ratio.

    python3 bench/startup_check_wine.py [build/win] [rounds]
"""

import statistics
import sys
from pathlib import Path

import winebench


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else winebench.ROOT / "build" / "win").resolve()
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    bench = "bench/startup_check_bench.exe"
    figures = {"check": [], "read": [], "window": [], "overlapped": []}
    with winebench.session("bench-startup-check", build, bench, timeout=600) as session:
        program = session.copy_in(build / bench)
        session.run(program, "read")  # the prefix and the program file warmed once
        for _ in range(rounds):
            for what in ("check", "read", "window", "overlapped"):
                code, output = session.run(program, what)
                if code != 0:
                    sys.exit(f"startup_check_bench {what} ended with code {code}: {output}")
                words = output.split()
                for name, value in zip(words[::2], words[1::2]):
                    figures.setdefault(name, []).append(float(value))
    check, read = (statistics.median(figures[what]) for what in ("check", "read"))
    print(f"rounds {rounds}")
    print(f"check (SHA-256 of both images, cold) median {check:.2f} ms, max {max(figures['check']):.2f} ms")
    print(f"plain read of the same bytes (cold)  median {read:.2f} ms, max {max(figures['read']):.2f} ms")
    print(f"  of it opening the system's SHA-256 median {statistics.median(figures['opening']):.2f} ms")
    print(f"  the same check again, warm       median {statistics.median(figures['warm']):.2f} ms")
    print(f"ratio check / read {check / read:.1f}")
    window, overlapped = (statistics.median(figures[what]) for what in ("window", "overlapped"))
    print(f"the window built alone               median {window:.2f} ms")
    print(f"the window built beside the check    median {overlapped:.2f} ms")
    print(f"  of it waiting for the verdict      median {statistics.median(figures['verdict']):.2f} ms, "
          f"max {max(figures['verdict']):.2f} ms")
    print(f"ratio overlapped / window {overlapped / window:.3f}")


if __name__ == "__main__":
    main()
