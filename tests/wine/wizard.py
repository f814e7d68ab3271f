"""What the wizard's window looks like from outside: its caption, size, pages
and the colours of the frame every page sits in; and how a test drives it."""

import time
from pathlib import Path

import peimage

CAPTION = "Installation Vorpane 3.31"
# Any caption the form can carry, the design-time one included.
ANY_CAPTION = "Installation Vorpane *"
MESSAGE_TITLE = "Install_Vorpane"
CLIENT_SIZE = (804, 529)

PAGES = [
    "Tab01Welcome", "Tab02Disclaimer", "Tab03Choose", "Tab10ChooseInstallDir", "Tab11ChooseDownloadDir",
    "Tab12ChooseCacheDirectory", "Tab13InstallNow", "Tab14Installing", "Tab15InstallReady",
    "Tab20SearchDirectory", "Tab21StartUpgrade", "Tab22Upgrading", "Tab23UpgradeReady",
]

NAVY = (0x00, 0x00, 0x80)
BLUE = (0x00, 0x00, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF)

# The page container's place in the client area.
PAGE_ORIGIN = (25, 40)

# Client points inside plain parts of the frame and of every page's bars, away
# from pictures, captions and buttons.
FRAME_POINTS = [
    ("top bar", (400, 20), NAVY),
    ("left bar", (12, 250), NAVY),
    ("right bar", (791, 250), NAVY),
    ("bottom bar", (400, 518), NAVY),
    ("page title bar", (PAGE_ORIGIN[0] + 5, PAGE_ORIGIN[1] + 5), BLUE),
    ("page button bar", (PAGE_ORIGIN[0] + 300, PAGE_ORIGIN[1] + 417 + 20), WHITE),
]

# Buttons of the page's button bar, as client points at their centres.
EXIT_BUTTON = (PAGE_ORIGIN[0] + 8 + 37, PAGE_ORIGIN[1] + 417 + 8 + 12)
BACK_BUTTON = (PAGE_ORIGIN[0] + 586 + 37, PAGE_ORIGIN[1] + 417 + 8 + 12)
NEXT_BUTTON = (PAGE_ORIGIN[0] + 665 + 37, PAGE_ORIGIN[1] + 417 + 8 + 12)


def frame_mismatches(shot, facts, tolerance=8):
    """The frame points whose colour on the screen is not the designed one."""
    mismatches = []
    for name, (x, y), expected in FRAME_POINTS:
        actual = shot.pixel(facts.client_origin[0] + x, facts.client_origin[1] + y)
        if any(abs(a - e) > tolerance for a, e in zip(actual, expected)):
            mismatches.append(f"{name} at {x},{y}: expected {expected}, found {actual}")
    return mismatches


def settled_frame(session, name, facts, timeout=5):
    """A picture of the window once its frame shows as designed, and what still
    differs then. A window that has just come up may not be painted yet on a
    busy machine: the picture is taken again until it is, or the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        shot = session.screenshot(name, facts.window_rect)
        mismatches = frame_mismatches(shot, facts)
        if not mismatches or time.monotonic() > deadline:
            return shot, mismatches
        time.sleep(0.3)


# The sizes the build pads its own programs (stand-in client, uninstaller) to.
CLIENT_IMAGE_SIZE = 2188800
UNINSTALLER_IMAGE_SIZE = 778240


def embedded_image(standin, size):
    """A program of the build as the build embeds it: "MZP", zero padding, and
    the header's checksum that of these bytes (unless the program has none)."""
    data = bytearray(Path(standin).read_bytes())
    data[2] = ord("P")
    image = bytes(data) + bytes(size - len(data))
    if peimage.checksum(image) == 0:
        return image
    return peimage.with_checksum(image, peimage.computed_checksum(image))


def wait_for_file(path, timeout=20):
    """The text of a file another program writes, once it is there."""
    deadline = time.monotonic() + timeout
    while not path.exists() and time.monotonic() < deadline:
        time.sleep(0.2)
    return path.read_text(errors="replace").strip()


class Driving:
    """What a test case that drives the installer's window uses; the case has a
    `session` and the installer's Windows path as `program`."""

    def start_installer(self, *args):
        """Starts the installer; returns its process, its window and the window's facts."""
        session = self.session
        process = session.start(self.program, *args)
        self.addCleanup(session.stop, process)
        window = session.wait_window(CAPTION, process=process)
        return process, window, session.window_facts(CAPTION)

    def wait_for_texts(self, *wanted, timeout=30):
        """The window's control texts and focus once all the wanted texts are shown."""
        deadline = time.monotonic() + timeout
        while True:
            texts, focus = self.session.control_texts(CAPTION)
            if all(text in texts for text in wanted):
                return texts, focus
            if time.monotonic() > deadline:
                self.fail(f"never shown: {[t for t in wanted if t not in texts]}; shown: {texts}")
            time.sleep(0.2)
