"""The first window under Wine: from a program's start (its exec) until the X
server maps its first top-level window, for the installer's welcome page, for
an empty window and for a peer installer made by NSIS that carries files of
our two images' sizes (bench/peer/peer.nsi). Each start is a fresh process,
the three take turns, and each is ended and gone before the next starts; all
run in one Wine session whose desktop the harness's keeper holds, so no start
pays for the desktop. Then the silent installation, ours (/VERYSILENT /D=)
against the peer's (/S /D=), each less the start of an empty program.

    python3 bench/first_window_wine.py [build/win] [rounds] [--one-core]

The window is timed at its MapNotify (the root window's SubstructureNotify,
read with Debian's python3-xlib, which scripts/setup.sh installs), not when
it gets its title: a frame is made hidden and titled long before it shows.
makensis (Debian's nsis, for this benchmark only) is installed when missing.
"""

import os
import random
import re
import select
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

import winebench
from silent_install_wine import timed

INSTALLER, EMPTY_WINDOW, EMPTY_PROGRAM = ("app/win32/Install_Vorpane.exe", "bench/empty_window.exe",
                                          "bench/empty_program.exe")
PEER_SCRIPT = winebench.ROOT / "bench" / "peer" / "peer.nsi"
# Our images' sizes as the build recorded them.
IMAGE_SIZES = "payload/generated/payload/ImageSizes.h"
ROUNDS = 9
# The size of the data file (Vorpane.Dat) a silent installation writes with
# the proposed directories; the peer writes a file of that size too.
DATA_FILE_SIZE = 437_123


def image_sizes(build):
    """(client, uninstaller) sizes in bytes of the images the build embeds."""
    if not (build / IMAGE_SIZES).is_file():
        sys.exit(f"{build / IMAGE_SIZES} is missing: build the Windows program first")
    text = (build / IMAGE_SIZES).read_text()
    sizes = {name: int(value) for name, value in re.findall(r"k(\w+)ImageSize = (\d+)", text)}
    return sizes["Client"], sizes["Uninstaller"]


def write_payload(folder, client_size, uninstaller_size):
    """The peer's files: pseudo-random bytes (they do not compress), the same on
    every run; beside the two images a data file of the size ours writes."""
    folder.mkdir(parents=True, exist_ok=True)
    generator = random.Random(3)
    for name, size in (("Client.bin", client_size), ("Uninstaller.bin", uninstaller_size),
                       ("Data.bin", DATA_FILE_SIZE)):
        (folder / name).write_bytes(generator.randbytes(size))


def ensure_makensis():
    """Installs Debian's nsis when makensis is missing, as scripts/setup.sh installs packages."""
    if shutil.which("makensis"):
        return
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    print("first-window benchmark: installing Debian's nsis (makensis), which only this benchmark uses", flush=True)
    environment = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    try:
        installed = all(subprocess.run(sudo + command, env=environment, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL).returncode == 0
                        for command in (["apt-get", "update", "-qq"],
                                        ["apt-get", "install", "-y", "-qq", "--no-install-recommends", "nsis"]))
    except OSError:
        installed = False
    if not installed or not shutil.which("makensis"):
        sys.exit("makensis is missing and nsis could not be installed: install it with "
                 "'sudo apt-get install nsis' and run the benchmark again")


def build_peer(build):
    """The peer installer, made anew from bench/peer/peer.nsi with the payload of our sizes."""
    ensure_makensis()
    folder = build / "bench" / "peer"
    write_payload(folder / "payload", *image_sizes(build))
    installer = folder / "peer_setup.exe"
    made = subprocess.run(["makensis", "-V2", f"-DPAYLOAD={folder / 'payload'}", f"-DOUTFILE={installer}",
                           str(PEER_SCRIPT)], capture_output=True, text=True, stdin=subprocess.DEVNULL)
    if made.returncode != 0:
        sys.exit(f"makensis could not build the peer installer:\n{made.stdout}{made.stderr}")
    return installer


def x_library():
    """python3-xlib. Debian installs it for the system's Python; a Python of one's
    own (pyenv, a virtual environment) does not search there, so it is looked
    for there too (the library is pure Python)."""
    try:
        import Xlib.display
    except ImportError:
        sys.path.append("/usr/lib/python3/dist-packages")
        try:
            import Xlib.display
        except ImportError:
            sys.exit("python3-xlib is missing: run scripts/setup.sh")
    import Xlib.error
    import Xlib.X
    return Xlib


class MapWatcher:
    """What the X server reports of the screen's top-level windows, as it arrives."""

    def __init__(self, display_name):
        xlib = x_library()
        self.X = xlib.X
        self.BadWindow = xlib.error.BadWindow
        self.display = xlib.display.Display(display_name)
        self.display.screen().root.change_attributes(event_mask=self.X.SubstructureNotifyMask)
        self.pid_atom = self.display.intern_atom("_NET_WM_PID")
        self.display.sync()

    def events(self, deadline):
        """(time of arrival, event) until the deadline."""
        while True:
            while self.display.pending_events():
                yield time.monotonic(), self.display.next_event()
            left = deadline - time.monotonic()
            if left <= 0:
                return
            select.select([self.display], [], [], left)

    def forget_events(self):
        while self.display.pending_events():
            self.display.next_event()

    def owner(self, window):
        """The Unix process id that Wine gives a window it made (_NET_WM_PID)."""
        try:
            value = window.get_full_property(self.pid_atom, self.X.AnyPropertyType)
        except self.BadWindow:
            return None
        return value.value[0] if value else None

    def first_map(self, pid, timeout):
        """(time, window) of the first top-level window of process pid mapped."""
        for arrival, event in self.events(time.monotonic() + timeout):
            if event.type == self.X.MapNotify and not event.override and self.owner(event.window) == pid:
                return arrival, event.window
        raise winebench.winetest.WineError(f"process {pid} mapped no window within {timeout} s")

    def wait_destroyed(self, window, timeout=10):
        for _, event in self.events(time.monotonic() + timeout):
            if event.type == self.X.DestroyNotify and event.window == window:
                return
        raise winebench.winetest.WineError(f"window {window.id} still there {timeout} s after its program ended")

    def title(self, window):
        name = window.get_full_property(self.display.intern_atom("WM_NAME"), self.X.AnyPropertyType)
        return name.value.decode(errors="replace") if name else "?"


def first_window(session, watcher, program):
    """Milliseconds from the start of program to the map of its first window, and
    the window's title; the program is ended and gone when this returns."""
    watcher.forget_events()
    start = time.monotonic()
    process = session.start(program)
    try:
        mapped, window = watcher.first_map(process.pid, 30)
        title = watcher.title(window)
    finally:
        process.kill()
        process.wait(10)
    watcher.wait_destroyed(window)
    return (mapped - start) * 1000, title


def spread(times):
    return f"median {statistics.median(times):6.1f} ms, range {min(times):.0f}-{max(times):.0f}"


def time_first_windows(session, watcher, programs, rounds):
    """{name: [ms]}: each program once more than rounds (the first, not counted,
    reads its file into the cache), taking turns; the order turns each round."""
    names = list(programs)
    times = {name: [] for name in names}
    for round_number in range(rounds + 1):
        for turn in range(len(names)):
            name = names[(round_number + turn) % len(names)]
            elapsed, title = first_window(session, watcher, programs[name])
            if round_number == 0:
                print(f"  {name}: its first window is '{title}'", flush=True)
            else:
                times[name].append(elapsed)
    return times


def time_silent_installs(session, installer, peer, empty, rounds):
    times = {"installer": [], "peer": [], "empty": []}
    timed(session, empty)
    for round_number in range(rounds):
        times["empty"].append(timed(session, empty))
        times["installer"].append(timed(session, installer, "/VERYSILENT", f"/D=C:\\Ours{round_number}"))
        times["peer"].append(timed(session, peer, "/S", f"/D=C:\\Peer{round_number}"))
    return times


def report_first_windows(times, rounds):
    print(f"first window, from exec to MapNotify, {rounds} fresh processes each:")
    for name, label in (("installer", "installer, welcome page"), ("peer", "NSIS peer, directory page"),
                        ("empty", "empty window")):
        print(f"  {label:27} {spread(times[name])}")
    ours = statistics.median(times["installer"])
    print(f"  installer / NSIS peer     {ours / statistics.median(times['peer']):.2f}")
    print(f"  installer / empty window  {ours / statistics.median(times['empty']):.2f}")


def report_silent_installs(times, rounds):
    empty = statistics.median(times["empty"])
    ours, peer = (statistics.median(times[name]) - empty for name in ("installer", "peer"))
    print(f"silent install, from exec to exit, {rounds} rounds:")
    print(f"  installer /VERYSILENT       {spread(times['installer'])}")
    print(f"  NSIS peer /S                {spread(times['peer'])}")
    print(f"  empty program               {spread(times['empty'])}")
    print(f"  less the empty program: installer {ours:.1f} ms, NSIS peer {peer:.1f} ms, ratio {ours / peer:.2f}")


def load():
    """The machine's load average over the last minute. Other work on its two
    cores changes every Wine start's time: here a core kept busy makes the
    starts up to three and a half times faster (a start waits on many round
    trips to the Wine server, and idle cores apparently wake slowly), heavy
    work slows them; figures taken at different loads do not compare."""
    return f"{os.getloadavg()[0]:.2f}"


def main():
    arguments = [argument for argument in sys.argv[1:] if argument != "--one-core"]
    if len(arguments) < len(sys.argv) - 1:
        # Everything on one core, the X server and Wine's own included: each
        # start then costs what its work costs, without the two cores' waking
        # up in between, and the figures hold steady from run to run.
        os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})
    build = Path(arguments[0] if arguments else winebench.ROOT / "build" / "win").resolve()
    rounds = int(arguments[1]) if len(arguments) > 1 else ROUNDS
    peer_setup = build_peer(build)
    print(f"load average before: {load()}", flush=True)
    with winebench.session("bench-first-window", build, INSTALLER, EMPTY_WINDOW, EMPTY_PROGRAM,
                           timeout=1200) as session:
        programs = {"installer": session.copy_in(build / INSTALLER), "peer": session.copy_in(peer_setup),
                    "empty": session.copy_in(build / EMPTY_WINDOW)}
        session.run(session.copy_in(build / EMPTY_PROGRAM))  # the session's server and desktop are up
        watcher = MapWatcher(session.display)
        report_first_windows(time_first_windows(session, watcher, programs, rounds), rounds)
        silent = time_silent_installs(session, programs["installer"], programs["peer"],
                                      session.copy_in(build / EMPTY_PROGRAM), rounds)
        report_silent_installs(silent, rounds)
    print(f"load average after: {load()}")


if __name__ == "__main__":
    main()
