"""The shipped programs come out of the build the same in any folder on any
day: their link time stamp is the build's fixed one, the checksum in their
headers is that of their bytes (the uninstaller's too, as the installer embeds
it), and neither the source folder nor the build folder is named inside them,
nor inside a probe built with the same options that names its own source file.

    check_programs.py <stamp> <source folder> <build folder> --shipped <program>... --probe <program>
"""

import argparse
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "wine"))
import peimage  # noqa: E402

PROBE_SOURCE = "tests/release/file_name_probe.cpp"


def folder_names(folder):
    """A folder's name as a program could hold it: narrow or wide characters."""
    text = str(Path(folder).resolve())
    return [text.encode(), text.encode("utf-16-le")]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("stamp", type=int)
    parser.add_argument("source")
    parser.add_argument("build")
    parser.add_argument("--shipped", nargs="+", required=True)
    parser.add_argument("--probe", required=True)
    args = parser.parse_args()

    failures = []
    checks = 0

    def expect(condition, message):
        nonlocal checks
        checks += 1
        if not condition:
            failures.append(message)

    folders = folder_names(args.source) + folder_names(args.build)
    for program in args.shipped:
        data = Path(program).read_bytes()
        stamp = peimage.time_stamp(data)
        expect(stamp == args.stamp, f"{program}: link time stamp {stamp}, not the build's {args.stamp}")
        recorded, computed = peimage.checksum(data), peimage.computed_checksum(data)
        expect(recorded == computed, f"{program}: header checksum {recorded:#x}, its bytes' {computed:#x}")
        for name in folders:
            expect(name not in data, f"{program}: names the folder {name!r}")

    probe = Path(args.probe).read_bytes()
    expect(PROBE_SOURCE.encode() in probe, f"{args.probe}: its own source's name {PROBE_SOURCE} is not in it")
    for name in folders:
        expect(name not in probe, f"{args.probe}: names the folder {name!r}")

    for message in failures:
        print(message)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
