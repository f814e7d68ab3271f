"""Starts the installer under Wine for a person to look at (scripts/start.sh).

On a desktop it runs in a Wine prefix of the build folder (kept between runs,
drive Z: unmapped like the tests') until the wizard ends. With --headless it
runs in a virtual display instead: it waits for the welcome page, saves a
screenshot, prints where it is and ends everything.
"""

import argparse
import os
import shutil
import subprocess
import sys
from pathlib import Path

import winetest
import wizard


def show_headless(program, arguments):
    with winetest.WineSession("start", timeout=180) as session:
        process = session.start(session.copy_in(program), *arguments)
        session.wait_window(wizard.ANY_CAPTION, timeout=60, process=process)
        facts = session.window_facts(wizard.ANY_CAPTION)
        shot = session.screenshot("welcome", facts.window_rect)
        print(f"The installer shows its window \"{facts.title}\", client area "
              f"{facts.client_size[0]}x{facts.client_size[1]}.")
        print(f"Screenshot: {shot.path}")
    return 0


def show_on_desktop(work, program, arguments):
    prefix = work / "desktop-prefix"
    if not (prefix / "system.reg").is_file():
        shutil.rmtree(prefix, ignore_errors=True)
        winetest.copy_prefix(winetest.ensure_template(work), prefix)
    setup = prefix / "drive_c" / "Setup"
    setup.mkdir(parents=True, exist_ok=True)
    shutil.copy2(program, setup)
    env = winetest.wine_env(prefix, os.environ["DISPLAY"])
    print(f"Starting the installer (Wine prefix {prefix})")
    return subprocess.run(["wine", f"C:\\Setup\\{Path(program).name}", *arguments], env=env, cwd=setup).returncode


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--work", required=True, help="folder for the Wine prefixes and screenshots")
    parser.add_argument("--program", required=True, help="Install_Vorpane.exe")
    parser.add_argument("--winprobe", required=True, help="winprobe.exe")
    parser.add_argument("--headless", action="store_true", help="use a virtual display and stop at the welcome page")
    parser.add_argument("arguments", nargs="*", help="the installer's command line")
    options = parser.parse_args()
    os.environ["VORPANE_WINE_WORK"] = options.work
    os.environ["VORPANE_WINPROBE"] = options.winprobe
    try:
        if options.headless or not os.environ.get("DISPLAY"):
            return show_headless(options.program, options.arguments)
        return show_on_desktop(Path(options.work).resolve(), options.program, options.arguments)
    except winetest.WineError as error:
        print(f"start: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
