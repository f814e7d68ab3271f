"""What the installer does before it shows anything: it refuses a damaged copy
of itself (exit code 4) and a second start while one runs (exit code 5), and it
never loads a library of a system name left beside it."""

import os
import unittest
from pathlib import Path

import winetest
import wizard

DAMAGED = "The installer is damaged. Please download it again."
ALREADY_RUNNING = "An installation of Vorpane is already running."
# Libraries the installer loads at run time, and so would be found beside it
# if it searched there. Wine is told to prefer such files to its own.
PLANTED = ["comctl32.dll", "bcrypt.dll", "windowscodecs.dll"]


class Startup(wizard.Driving, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = winetest.WineSession("startup")
        cls.session.__enter__()
        cls.addClassCleanup(cls.session.close)
        cls.program = cls.session.copy_in(winetest.required_env("VORPANE_INSTALLER"))
        cls.launcher = cls.session.copy_in(winetest.required_env("VORPANE_LAUNCH"))

    def launch(self, program, switches, cwd=None):
        """Runs an installer with a raw command line; returns its exit code."""
        command = self.session.host_path("C:\\Setup") / "command.txt"
        command.write_text(f'"{program}" {switches}')
        code, _ = self.session.run(self.launcher, "C:\\Setup\\command.txt", timeout=90, cwd=cwd)
        return code

    def log(self, name):
        return self.session.host_path("C:\\" + name).read_text(errors="replace").splitlines()

    def refusal_box(self, process, text, code):
        """The box a refusing installer shows, with no wizard behind it; Return ends it."""
        session = self.session
        # Looked into only once it is up: the probe must not meet it half made.
        box = session.wait_window(wizard.MESSAGE_TITLE, process=process)
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE), text)
        session.screenshot("refused-" + str(code))
        session.key(box, "Return")
        self.assertEqual(session.wait_exit(process), code)

    def test_a_copy_with_one_byte_changed_in_an_image_refuses_to_run(self):
        session = self.session
        data = bytearray(Path(winetest.required_env("VORPANE_INSTALLER")).read_bytes())
        image = wizard.embedded_image(winetest.required_env("VORPANE_STANDIN_CLIENT"), wizard.CLIENT_IMAGE_SIZE)
        offset = data.find(image)
        self.assertGreater(offset, 0, "the client image is not in the program")
        data[offset + len(image) - 1] ^= 0x01  # the last byte of its padding
        folder = session.host_path("C:\\Damaged")
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "Install_Vorpane.exe").write_bytes(data)
        damaged = "C:\\Damaged\\Install_Vorpane.exe"

        self.assertEqual(self.launch(damaged, '/VERYSILENT /LOG="C:\\damaged.log" /D=C:\\Never'), 4)
        log = self.log("damaged.log")
        self.assertIn("Damaged: the image of Vorpane.Exe differs from the one built", log[1])
        self.assertTrue(log[-2].endswith(DAMAGED), log)
        self.assertTrue(log[-1].endswith("Exit code 4"), log)
        self.assertFalse(session.host_path("C:\\Never").exists())

        process = session.start(damaged)
        self.addCleanup(session.stop, process)
        self.refusal_box(process, DAMAGED, 4)
        self.assertEqual(session.find_windows(wizard.ANY_CAPTION), [])

    def test_a_second_installer_refuses_while_one_runs(self):
        session = self.session
        first, _, facts = self.start_installer()
        self.assertEqual(self.launch(self.program, '/VERYSILENT /LOG="C:\\second.log" /D=C:\\Second'), 5)
        log = self.log("second.log")
        self.assertTrue(log[-2].endswith(ALREADY_RUNNING) and log[-1].endswith("Exit code 5"), log)
        self.assertFalse(session.host_path("C:\\Second").exists())

        second = session.start(self.program)
        self.addCleanup(session.stop, second)
        self.refusal_box(second, ALREADY_RUNNING, 5)
        self.assertEqual(len(session.find_windows(wizard.CAPTION)), 1, "only the first installer's window")
        session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(session.wait_exit(first), 0)

    def test_libraries_left_beside_the_installer_are_not_loaded(self):
        session = self.session
        downloads = session.host_path("C:\\Downloads")
        downloads.mkdir(parents=True, exist_ok=True)
        for name in PLANTED:
            (downloads / name).write_bytes(Path(winetest.required_env("VORPANE_PLANTED_LIBRARY")).read_bytes())
        program = session.copy_in(winetest.required_env("VORPANE_INSTALLER"), "C:\\Downloads")
        plain_env = session.env
        overrides = ",".join(Path(name).stem for name in PLANTED) + "=n,b"
        session.env = lambda: {**plain_env(), "WINEDLLOVERRIDES": plain_env()["WINEDLLOVERRIDES"] + ";" + overrides}
        self.addCleanup(setattr, session, "env", plain_env)

        process = session.start(program)
        self.addCleanup(session.stop, process)
        session.wait_window(wizard.CAPTION, process=process)
        self.wait_for_texts("&Next")
        facts = session.window_facts(wizard.CAPTION)
        session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(session.wait_exit(process), 0)
        self.assertEqual(self.launch(program, '/VERYSILENT /D=C:\\Planted', cwd="C:\\Downloads"), 0)
        self.assertTrue(session.host_path("C:\\Planted\\Vorpane.Exe").exists())
        self.assertEqual(sorted(path.name for path in downloads.glob("*.loaded")), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
