#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layers, lowest first: platform < product < payload, datafile, finder < ui
< app < app/win32. A file may include headers of its own module and of lower
layers; modules of one layer do not include each other. The uninstaller
(uninstaller/, with its Windows program in uninstaller/win32) is a program of
its own beside the installer: it stands on platform and product only, and no
other module includes it. tests/ and bench/ may include anything, and no
module includes them: the tests' platform double (tests/support) stays out of
the product.
Usage: check_layers.py <repository root>
"""
import pathlib
import re
import sys

# Longest prefix first, so app/win32 is not taken for app.
LAYERS = [("app/win32", 5), ("app", 4), ("ui", 3), ("payload", 2), ("datafile", 2), ("finder", 2),
          ("uninstaller", 2), ("product", 1), ("platform", 0)]
# Programs of their own: no module but their own includes them.
OWN_PROGRAMS = {"uninstaller"}
# Above every module: tests and benchmarks, their support (tests/support) included.
TEST_FOLDERS = ("tests/", "bench/")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCES = {".h", ".hpp", ".cpp", ".cc", ".in"}


def module_of(relative_path):
    for module, rank in LAYERS:
        if relative_path == module or relative_path.startswith(module + "/"):
            return module, rank
    return None, None


def violations(root):
    found = []
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root).as_posix()
        if path.suffix not in SOURCES or relative.startswith(("build/",) + TEST_FOLDERS):
            continue
        own, own_rank = module_of(relative)
        if own is None:
            continue
        for header in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            if header.startswith(TEST_FOLDERS):
                found.append(f"{relative}: includes {header} (tests and benchmarks are no module's)")
                continue
            target, rank = module_of(header)
            if target is None or target == own:
                continue
            if target in OWN_PROGRAMS:
                found.append(f"{relative}: includes {header} ({target} is a program of its own)")
            elif rank >= own_rank:
                found.append(f"{relative}: includes {header} ({target} is not below {own})")
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = violations(root)
    for line in found:
        print(line)
    print(f"{len(found)} include(s) across the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
