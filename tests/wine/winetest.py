"""Drives Windows programs under Wine in a virtual X display, for the tests.

One WineSession is one test script's world: its own Xvfb on a free display, its
own Wine prefix copied from a template (drive Z:, the host's root, unmapped;
drives of its own mapped onto folders of the session), and helpers to start
programs, find their windows and message boxes, send keys and clicks and take
screenshots. Leaving the session ends every process it started.

SessionTestCase is a test class whose tests share one session, opened before
its first test and closed after its last; run_check_program runs one of the
GoogleTest check programs and judges it by its exit code.

Configuration comes from the environment, set by CTest:
  VORPANE_WINE_WORK      folder for the prefix template, session folders and artefacts
  VORPANE_WINPROBE       winprobe.exe, which reads window facts from inside Wine
  VORPANE_DESKTOP_KEEPER desktop_keeper.exe, which holds the session's desktop
  VORPANE_WINE_KEEP=1    keep session folders (prefix, drives) after the test
Python 3 standard library only.
"""

import contextlib
import ctypes
import fcntl
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib
from pathlib import Path

SCREEN = "1280x1024x24"
# Template layout version: bump when the template's settings change.
TEMPLATE_FORMAT = "4"
# Settings every session shares: no crash dialog waiting for a click that never
# comes, and 96 dots per inch so that sizes come out as designed.
TEMPLATE_SETTINGS = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]
"LogPixels"=dword:00000060
"""
# Drive kinds as Wine's drive table names them, with the type Windows reports.
DRIVE_KINDS = {"floppy": 2, "hd": 3, "network": 4, "cdrom": 5, "ramdisk": 6}
# Files of the Windows folder that Wine only reads: sessions share them by hard links.
SHARED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".acm", ".ocx", ".cpl", ".tlb", ".nls", ".ttf", ".fon",
                   ".mui", ".ax", ".ds", ".msstyles", ".com", ".vxd", ".manifest"}


class WineError(RuntimeError):
    pass


def log(message):
    print(f"[winetest {time.strftime('%H:%M:%S')}] {message}", flush=True)


def required_env(name):
    value = os.environ.get(name)
    if not value:
        raise WineError(f"{name} is not set; run the Wine tests through ctest in the Windows build")
    return value


def wine_env(prefix, display=None):
    env = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
    env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all",
               # no runtime or browser installers, no host menu entries for shortcuts
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    env.pop("DISPLAY", None)
    if display is not None:
        env["DISPLAY"] = display
    return env


def run_checked(args, env, timeout, what):
    try:
        result = subprocess.run(args, env=env, timeout=timeout, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, errors="replace")
    except subprocess.TimeoutExpired:
        raise WineError(f"{what} did not finish within {timeout} s") from None
    if result.returncode != 0:
        raise WineError(f"{what} failed ({result.returncode}): {result.stderr.strip()[-2000:]}")
    return result


def wine_version():
    return subprocess.run(["wine", "--version"], capture_output=True, text=True, timeout=30,
                          env=wine_env("/nonexistent")).stdout.strip()


@contextlib.contextmanager
def file_lock(path):
    with open(path, "w") as handle:
        fcntl.flock(handle, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(handle, fcntl.LOCK_UN)


def ensure_template(work):
    """The prefix template, made once per Wine version (wineboot takes a while)."""
    template = work / "prefix-template"
    stamp = template / ".vorpane-template"
    wanted = f"{wine_version()} format {TEMPLATE_FORMAT}"
    work.mkdir(parents=True, exist_ok=True)
    with file_lock(work / "prefix-template.lock"):
        if stamp.is_file() and stamp.read_text() == wanted:
            return template
        log(f"making the Wine prefix template ({wanted})")
        building = work / "prefix-template.new"
        shutil.rmtree(building, ignore_errors=True)
        shutil.rmtree(template, ignore_errors=True)
        env = wine_env(building)
        started = time.monotonic()
        try:
            run_checked(["wineboot", "-i"], env, 300, "wineboot")
            (building / "drive_c" / "settings.reg").write_text(TEMPLATE_SETTINGS.replace("\n", "\r\n"))
            run_checked(["wine", "reg", "import", "C:\\settings.reg"], env, 60, "wine reg import")
            (building / "drive_c" / "settings.reg").unlink()
        finally:
            # the registry is written out when the server ends
            subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        (building / "dosdevices" / "z:").unlink(missing_ok=True)
        detach_user_folders(building)
        install_wine_fonts(building)
        (building / ".vorpane-template").write_text(wanted)
        building.rename(template)
        log(f"template ready after {time.monotonic() - started:.1f} s")
        return template


def detach_user_folders(prefix):
    """Wine links the user's desktop and documents to the host's home folder:
    a shortcut a program puts on the desktop would land in the home folder of
    whoever runs the tests. Each session gets folders of its own instead."""
    for user in (prefix / "drive_c" / "users").iterdir():
        for entry in user.iterdir():
            if entry.is_symlink():
                entry.unlink()
                entry.mkdir()


def install_wine_fonts(prefix):
    """Wine draws its own "MS Sans Serif" only when the font files are in the
    prefix; wineboot does not copy them, and without them every face falls back
    to a host font whose wider glyphs change how texts wrap."""
    fonts = prefix / "drive_c" / "windows" / "Fonts"
    fonts.mkdir(parents=True, exist_ok=True)
    source = Path("/usr/share/wine/fonts")
    if not source.is_dir():
        raise WineError("Wine's fonts are missing (package fonts-wine): run scripts/setup.sh")
    for font in source.iterdir():
        shutil.copy2(font, fonts / font.name)


def copy_prefix(template, target):
    windows = template / "drive_c" / "windows"

    def copy(source, destination):
        source_path = Path(source)
        if source_path.suffix.lower() in SHARED_SUFFIXES and windows in source_path.parents:
            os.link(source, destination)
        else:
            shutil.copy2(source, destination)

    shutil.copytree(template, target, symlinks=True, copy_function=copy)


def remove_abandoned_sessions(runs):
    """Removes the folders of sessions whose test process was killed before it
    could clean up (folders are named <test>-<pid>-<random>)."""
    for folder in runs.iterdir():
        match = re.fullmatch(r".+-(\d+)-[^-]+", folder.name)
        if not match:
            continue
        try:
            os.kill(int(match.group(1)), 0)
        except ProcessLookupError:
            shutil.rmtree(folder, ignore_errors=True)
        except PermissionError:
            pass


_LIBC = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    # PR_SET_PDEATHSIG: the X server and the programs go when the test process
    # dies, however it dies.
    _LIBC.prctl(1, signal.SIGTERM)


def ere_escape(text):
    return re.sub(r"([.^$*+?()\[\]{}|\\])", r"\\\1", text)


def unescape(text):
    """Reverses winprobe's escaping of CR, LF and backslash."""
    return re.sub(r"\\(.)", lambda m: {"r": "\r", "n": "\n"}.get(m.group(1), m.group(1)), text)


class Screenshot:
    """A captured screen: pixels to look at, and a PNG file kept as an artefact."""

    def __init__(self, path, width, height, rgb):
        self.path, self.width, self.height, self.rgb = path, width, height, rgb

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def save(self, path, region=None):
        """Writes the screen, or the (x, y, width, height) part of it, as PNG."""
        x, y, width, height = region or (0, 0, self.width, self.height)
        x, y = max(0, x), max(0, y)
        width, height = min(width, self.width - x), min(height, self.height - y)
        rows = [self.rgb[((y + row) * self.width + x) * 3:((y + row) * self.width + x + width) * 3]
                for row in range(height)]
        write_png(path, width, height, b"".join(rows))
        self.path = path


def parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        match = re.compile(rb"\s*(#[^\n]*\n\s*)*(\S+)").match(data, position)
        fields.append(match.group(2))
        position = match.end()
    if fields[0] != b"P6" or fields[3] != b"255":
        raise WineError("unexpected screenshot format")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + width * height * 3]
    return width, height, pixels


def write_png(path, width, height, rgb):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    stride = width * 3
    raw = b"".join(b"\x00" + rgb[row * stride:(row + 1) * stride] for row in range(height))
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                           + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


class WindowFacts:
    """What winprobe tells about a window, seen from inside Windows."""

    def __init__(self, lines):
        values = dict(line.split(" ", 1) for line in lines if " " in line)
        self.title = values.get("title", "")
        self.class_name = values.get("class", "")
        self.client_size = tuple(int(v) for v in values["client"].split())
        self.client_origin = tuple(int(v) for v in values["origin"].split())
        self.window_rect = tuple(int(v) for v in values["window"].split())
        self.style = int(values["style"], 16)
        self.exstyle = int(values["exstyle"], 16)
        self.dpi = int(values["dpi"])


class WineSession:
    """One X display and one Wine prefix for one test script; use it with `with`."""

    def __init__(self, name, timeout=240):
        self.name = name
        self.work = Path(required_env("VORPANE_WINE_WORK")).resolve()
        self.artefacts = self.work / "artefacts" / name
        self.timeout = timeout
        self.processes = []
        self.display = None
        self.xvfb = None
        self.started_wine = False
        self.keeper = None
        self.drive_types = {}
        self.folder = None
        self.prefix = None
        self.closed = False

    # --- setting up and ending ---------------------------------------------------

    def __enter__(self):
        self._install_signal_handlers()
        try:
            template = ensure_template(self.work)
            runs = self.work / "sessions"
            runs.mkdir(parents=True, exist_ok=True)
            remove_abandoned_sessions(runs)
            self.folder = Path(tempfile.mkdtemp(prefix=f"{self.name}-{os.getpid()}-", dir=runs))
            self.prefix = self.folder / "prefix"
            copy_prefix(template, self.prefix)
            shutil.rmtree(self.artefacts, ignore_errors=True)
            self.artefacts.mkdir(parents=True, exist_ok=True)
            self._start_xvfb()
            self._arm_watchdog()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start_wine(self):
        """Before the session's first program: a Wine server that, with Wine's
        own system processes and the desktop, runs until the session closes.
        Otherwise it ends a few seconds after the last program, and the next
        one pays about a second and a half to start it all again."""
        if self.started_wine:
            return
        self.started_wine = True
        subprocess.run(["wineserver", "-p"], env=self.env(), timeout=30, check=True)
        # The system processes start with the first program and would inherit
        # its output pipes, which a run then waits on: they start here, on none.
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env(), timeout=60, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        self._start_desktop_keeper()

    def _start_desktop_keeper(self, timeout=30):
        """A hidden program that holds the desktop until the session closes:
        Wine closes it about a second after its last program, the next start
        pays for a new one, and a start that raced the closing desktop once
        hung inside CoInitializeEx. Returns once the keeper holds it."""
        keeper = self.copy_in(required_env("VORPANE_DESKTOP_KEEPER"), "C:\\Probe")
        ready = self.host_path("C:\\Probe\\desktop.ready")
        ready.unlink(missing_ok=True)
        self.keeper = subprocess.Popen(["wine", keeper, "C:\\Probe\\desktop.ready"], env=self.env(),
                                       cwd=self.host_path("C:\\Probe"), stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       preexec_fn=_die_with_parent)
        deadline = time.monotonic() + timeout
        while not ready.is_file():
            if self.keeper.poll() is not None:
                raise WineError(f"the desktop keeper ended ({self.keeper.returncode}) before it held the desktop")
            if time.monotonic() > deadline:
                raise WineError(f"the desktop keeper did not hold the desktop within {timeout} s")
            time.sleep(0.02)

    def close(self):
        if self.closed:
            return
        self.closed = True
        if getattr(self, "_watchdog", None):
            self._watchdog.cancel()
        if self.prefix is not None and self.started_wine:
            with contextlib.suppress(Exception):
                subprocess.run(["wineserver", "-k"], env=self.env(), timeout=20, capture_output=True)
            with contextlib.suppress(Exception):
                subprocess.run(["wineserver", "-w"], env=self.env(), timeout=20, capture_output=True)
        for process in self.processes + ([self.keeper] if self.keeper else []):
            self._end(process)
        if self.xvfb is not None:
            self._end(self.xvfb)
            self.xvfb = None
        if self.folder is not None and os.environ.get("VORPANE_WINE_KEEP") != "1":
            shutil.rmtree(self.folder, ignore_errors=True)

    @staticmethod
    def _end(process):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait(5)

    def _install_signal_handlers(self):
        # A stopped test ends at once, after its clean-up: an exception could be
        # taken for one failed test case and the next would go on.
        def stop(signum, _frame):
            log(f"session {self.name} stopped by signal {signum}; cleaning up")
            self.close()
            os._exit(128 + signum)

        for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(signum, stop)

    def _arm_watchdog(self):
        # Nothing may hang: past the session's time the test stops and cleans up.
        def expire():
            log(f"session {self.name} exceeded {self.timeout} s; stopping")
            os.kill(os.getpid(), signal.SIGTERM)

        self._watchdog = threading.Timer(self.timeout, expire)
        self._watchdog.daemon = True
        self._watchdog.start()

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        xlog = open(self.artefacts / "xvfb.log", "wb")
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp", "-noreset"],
                pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=xlog, stderr=xlog,
                preexec_fn=_die_with_parent)
        finally:
            os.close(write_end)
            xlog.close()
        try:
            number = self._read_display_number(read_end, 30)
        finally:
            os.close(read_end)
        if not number.isdigit():
            raise WineError(f"Xvfb did not start (see {self.artefacts / 'xvfb.log'})")
        self.display = f":{number}"
        log(f"session {self.name}: display {self.display}, prefix {self.prefix}")

    @staticmethod
    def _read_display_number(pipe, timeout):
        # The server writes the number and a newline, maybe in two pieces; the
        # pipe must stay open until both came or the server stops with an error.
        received = b""
        deadline = time.monotonic() + timeout
        while not received.endswith(b"\n"):
            ready, _, _ = select.select([pipe], [], [], max(0.0, deadline - time.monotonic()))
            piece = os.read(pipe, 64) if ready else b""
            if not piece:
                break
            received += piece
        return received.decode().strip()

    def env(self):
        return wine_env(self.prefix, self.display)

    # --- drives and files ---------------------------------------------------------

    def add_drive(self, letter, kind="hd", folder=None):
        """Maps drive letter: onto a new folder of the session, or onto folder, a
        Windows path on a drive already there (made when missing), so that the
        drive is only another name for that folder; returns the host folder.
        Must come before the first program starts: Wine reads drive types once."""
        letter = letter.lower()
        if self.started_wine:
            raise WineError("drives must be added before a program starts")
        if kind not in DRIVE_KINDS:
            raise WineError(f"unknown drive kind {kind}")
        folder = self.host_path(folder) if folder else self.folder / "drives" / letter
        folder.mkdir(parents=True, exist_ok=True)
        link = self.prefix / "dosdevices" / f"{letter}:"
        if link.is_symlink():
            link.unlink()
        link.symlink_to(folder)
        self.drive_types[letter] = kind
        self._write_drive_types()
        return folder

    def _write_drive_types(self):
        # The drive table is read from the registry file when the server starts.
        registry = self.prefix / "system.reg"
        text = registry.read_text(encoding="utf-8", errors="surrogateescape")
        text = re.sub(r"\n\[Software\\\\Wine\\\\Drives\][^\[]*", "\n", text)
        lines = [f'"{letter}:"="{kind}"' for letter, kind in sorted(self.drive_types.items())]
        text = text.rstrip("\n") + "\n\n[Software\\\\Wine\\\\Drives] 1700000000\n" + "\n".join(lines) + "\n"
        registry.write_text(text, encoding="utf-8", errors="surrogateescape")

    def host_path(self, windows_path):
        """The host path behind a Windows path on one of the session's drives."""
        drive, _, rest = windows_path.partition(":")
        link = self.prefix / "dosdevices" / f"{drive.lower()}:"
        if not link.exists():
            raise WineError(f"drive {drive}: is not mapped")
        return link.resolve().joinpath(*[part for part in rest.split("\\") if part])

    def copy_in(self, host_file, windows_folder="C:\\Setup"):
        """Copies a host file into the session's Windows drives; returns its Windows path."""
        target = self.host_path(windows_folder)
        target.mkdir(parents=True, exist_ok=True)
        shutil.copy2(host_file, target)
        return windows_folder.rstrip("\\") + "\\" + Path(host_file).name

    # --- programs ---------------------------------------------------------------

    def _working_folder(self, program, cwd):
        # Programs start in their own folder, as when started from the desktop;
        # the host's folder would be an unreachable path without drive Z:.
        folder = cwd or program.rpartition("\\")[0] or "C:\\"
        return self.host_path(folder if ":" in folder else "C:\\")

    def start(self, program, *args, cwd=None):
        """Starts a Windows program (a Windows path) and returns its process; its
        exit code is the program's. cwd: a Windows folder, by default the program's."""
        self._start_wine()
        folder = self._working_folder(program, cwd)
        label = Path(program.replace("\\", "/")).stem
        output = open(self.artefacts / f"{label}.log", "ab")
        try:
            process = subprocess.Popen(["wine", program, *args], env=self.env(), cwd=folder, stdin=subprocess.DEVNULL,
                                       stdout=output, stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        finally:
            output.close()
        self.processes.append(process)
        return process

    def run(self, program, *args, timeout=60, cwd=None):
        """Runs a console program to its end; returns (exit code, output)."""
        self._start_wine()
        folder = self._working_folder(program, cwd)
        try:
            result = subprocess.run(["wine", program, *args], env=self.env(), cwd=folder, stdin=subprocess.DEVNULL,
                                    capture_output=True, timeout=timeout, preexec_fn=_die_with_parent)
        except subprocess.TimeoutExpired:
            raise WineError(f"{program} did not finish within {timeout} s") from None
        output = result.stdout.decode("cp1252", errors="replace").replace("\r\n", "\n")
        return result.returncode, output

    @staticmethod
    def wait_exit(process, timeout=20):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WineError(f"the program did not end within {timeout} s") from None

    def stop(self, process):
        """Ends a program that would not end by itself."""
        self._end(process)

    # --- windows ----------------------------------------------------------------

    def _xdotool(self, *args, timeout=15):
        return subprocess.run(["xdotool", *args], env=self.env(), capture_output=True, text=True,
                              timeout=timeout, stdin=subprocess.DEVNULL)

    def find_windows(self, title):
        """X windows whose title is exactly title (or starts with it when it ends
        in "*"), visible ones only."""
        pattern = f"^{ere_escape(title[:-1])}" if title.endswith("*") else f"^{ere_escape(title)}$"
        result = self._xdotool("search", "--onlyvisible", "--name", pattern)
        return [int(word) for word in result.stdout.split()]

    def wait_window(self, title, timeout=30, process=None):
        """The X window with that title, once it is shown."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.find_windows(title)
            if found:
                return found[0]
            if process is not None and process.poll() is not None:
                raise WineError(f"the program ended ({process.returncode}) before showing '{title}'")
            time.sleep(0.2)
        self.screenshot(f"timeout-{re.sub(r'[^A-Za-z0-9]+', '_', title)}")
        raise WineError(f"no window '{title}' within {timeout} s")

    def window_geometry(self, window):
        """(x, y, width, height) of an X window, its frame included."""
        values = dict(line.split("=", 1) for line in
                      self._xdotool("getwindowgeometry", "--shell", str(window)).stdout.split())
        return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))

    def _winprobe(self):
        if not hasattr(self, "_winprobe_path"):
            self._winprobe_path = self.copy_in(required_env("VORPANE_WINPROBE"), "C:\\Probe")
        return self._winprobe_path

    def window_facts(self, title, timeout=20):
        """Client size, client origin on the screen, styles and dpi of the window
        with that title, once its program is idle (so its window is painted)."""
        code, output = self.run(self._winprobe(), "window", title, str(timeout * 1000), timeout=timeout + 30)
        if code != 0:
            raise WineError(f"winprobe found no window '{title}' ({code}): {output}")
        return WindowFacts(output.splitlines())

    def read_shortcut(self, windows_path):
        """A shell link read back through the shell: target, description, arguments."""
        code, output = self.run(self._winprobe(), "shortcut", windows_path)
        if code != 0:
            raise WineError(f"winprobe could not read the shortcut {windows_path} ({code}): {output}")
        facts = {}
        for line in output.splitlines():
            key, _, value = line.partition(" ")
            facts[key] = unescape(value)
        return facts

    def message_boxes(self, title):
        """The texts of the message boxes shown with that title (CR as \\r)."""
        _, output = self.run(self._winprobe(), "boxes", title)
        return [unescape(line[4:]) for line in output.splitlines() if line.startswith("box ")]

    def control_texts(self, title):
        """(texts of the window's visible controls in creation order, the focused
        control as "class text")."""
        _, output = self.run(self._winprobe(), "texts", title)
        texts = [unescape(line[5:]) for line in output.splitlines() if line.startswith("text ")]
        focus = next((unescape(line[6:]) for line in output.splitlines() if line.startswith("focus ")), "")
        return texts, focus

    def wait_message_box(self, title, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            boxes = self.message_boxes(title)
            if boxes:
                return boxes[0]
            time.sleep(0.3)
        raise WineError(f"no message box '{title}' within {timeout} s")

    # --- input --------------------------------------------------------------------

    def focus(self, window):
        self._xdotool("windowfocus", "--sync", str(window))

    def key(self, window, *keys):
        """Key strokes as xdotool names them ("Return", "alt+n", "Tab")."""
        self.focus(window)
        self._xdotool("key", "--clearmodifiers", "--delay", "50", *keys)
        time.sleep(0.2)

    def type_text(self, window, text):
        self.focus(window)
        self._xdotool("type", "--clearmodifiers", "--delay", "40", text)
        time.sleep(0.2)

    def click(self, x, y):
        """A left click at screen coordinates."""
        # no --sync: it waits forever when the pointer is already there
        self._xdotool("mousemove", str(x), str(y), "sleep", "0.1", "click", "1")
        time.sleep(0.2)

    def click_client(self, facts, x, y):
        """A left click at client coordinates of a window described by window_facts()."""
        self.click(facts.client_origin[0] + x, facts.client_origin[1] + y)

    # --- pictures -----------------------------------------------------------------

    def screenshot(self, name, region=None):
        """Captures the screen and keeps it, or the (x, y, width, height) part of
        it, as artefacts/<session>/<name>.png; the whole screen stays readable."""
        capture = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"],
                                 env=self.env(), capture_output=True, timeout=30, stdin=subprocess.DEVNULL)
        if capture.returncode != 0:
            raise WineError(f"screenshot failed: {capture.stderr.decode(errors='replace')}")
        shot = Screenshot(None, *parse_ppm(capture.stdout))
        shot.save(self.artefacts / f"{name}.png", region)
        return shot


class SessionTestCase(unittest.TestCase):
    """A test class whose tests share one WineSession, `cls.session`, opened
    before the first test and closed after the last (even when setting up
    failed). A subclass names the session (`session_name`, also the artefacts'
    folder) and the programs it copies in to C:\\Setup (`programs`: class
    attribute -> environment variable naming the program; the attribute holds
    its Windows path), and may set up more in `set_up_session`, which runs after
    the programs are copied in and before any of them starts (drives are added
    there: Wine reads them when its first program starts)."""

    session_name = None
    programs = {}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        if not cls.session_name:
            raise WineError(f"{cls.__name__} names no session: set session_name")
        cls.session = WineSession(cls.session_name)
        cls.session.__enter__()
        cls.addClassCleanup(cls.session.close)
        for attribute, variable in cls.programs.items():
            setattr(cls, attribute, cls.session.copy_in(required_env(variable)))
        cls.set_up_session()

    @classmethod
    def set_up_session(cls):
        """What the class needs beyond the session and its programs."""


def set_dpi(test, session, dpi):
    """Sets the session's screen to dpi dots per inch (the template's is 96),
    before the program that should see it starts."""
    if dpi == 96:
        return
    code, output = session.run("reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                               "/d", str(dpi), "/f")
    test.assertEqual(code, 0, output)


def run_check_program(test, session, variable, *args, timeout=120):
    """Copies in the GoogleTest check program the environment variable names,
    runs it with args, prints its output and fails the test unless it exited
    with 0, that is unless every expectation held. Returns its output."""
    program = session.copy_in(required_env(variable))
    code, output = session.run(program, *args, timeout=timeout)
    print(output, end="")
    failed = [line for line in output.splitlines() if line.startswith("[  FAILED  ]")]
    test.assertEqual(code, 0, f"{program} exited with {code}: " + ("; ".join(failed) or output[-2000:]))
    return output
