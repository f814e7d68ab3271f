"""A fresh installation as a person makes it, by keyboard: from the welcome page
through the run to the finish page and a started client; everything it leaves
on disk read back (programs byte for byte, shortcuts through the shell, the data
file through the project's own tool); and a run onto a drive that fills up."""

import json
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

import winetest
import wizard

INSTALL_DIR = "C:\\Program Files\\Vorpane\\"
ENTRY_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane"
FINISHED = "The installation of Vorpane is completed succesfully."
# Where the installation page's entry field lies in the client area.
EDIT1 = (25 + 4 + 286 + 40, 40 + 4 + 41 + 7 + 10)
SMALL_DISK = "1m"


class InstallRun(wizard.Driving, winetest.SessionTestCase):
    session_name = "install-run"
    programs = {"program": "VORPANE_INSTALLER"}

    @classmethod
    def set_up_session(cls):
        cls.small_disk = cls.session.add_drive("e", "hd")
        cls.small_disk_mounted = subprocess.run(
            ["mount", "-t", "tmpfs", "-o", f"size={SMALL_DISK}", "tmpfs", str(cls.small_disk)],
            capture_output=True).returncode == 0
        if cls.small_disk_mounted:
            # Cleanups run last in, first out: unmounted before the session folder goes.
            cls.addClassCleanup(subprocess.run, ["umount", "-l", str(cls.small_disk)], capture_output=True)
        cls.installer_file = winetest.required_env("VORPANE_INSTALLER")
        cls.client = wizard.embedded_image(winetest.required_env("VORPANE_STANDIN_CLIENT"), wizard.CLIENT_IMAGE_SIZE)
        cls.uninstaller = wizard.embedded_image(winetest.required_env("VORPANE_UNINSTALLER_IMAGE"),
                                              wizard.UNINSTALLER_IMAGE_SIZE)

    # --- walking the wizard ----------------------------------------------------------

    def walk_to_install_directory(self, window):
        session = self.session
        self.wait_for_texts("Thanks for installing Vorpane")
        session.key(window, "Return")
        self.wait_for_texts("I agree to the statement above (Yes/No) : ")
        session.type_text(window, "yes")
        session.key(window, "alt+n")
        self.wait_for_texts("What do you want to do?")
        session.key(window, "Return")
        self.wait_for_texts(INSTALL_DIR)

    def walk_on_to_summary(self, window):
        for _ in range(3):
            self.session.key(window, "alt+n")
            time.sleep(0.3)
        _, focus = self.wait_for_texts("Ready to install", "&Install")
        self.assertEqual(focus, "Button &Install")

    # --- what the installation left -----------------------------------------------

    def find_shortcuts(self):
        """The installation's shortcut files in the prefix, by their Windows paths."""
        drive_c = self.session.host_path("C:\\")
        found = {}
        for path in (drive_c / "users").rglob("*.[Ll]nk"):
            relative = path.relative_to(drive_c)
            found[str(relative).replace("/", "\\")] = "C:\\" + str(relative).replace("/", "\\")
        return found

    def decode_data_file(self, path):
        tool = os.environ.get("VORPANE_DATA_FILE_TOOL", "")
        if not tool or not Path(tool).is_file():
            self.fail(f"VORPANE_DATA_FILE_TOOL ({tool!r}) names no program: build the native tool "
                      "(cmake --build build/native --target vorpane-dat) and configure the Windows build with "
                      "-DVORPANE_DATA_FILE_TOOL=<native build>/datafile/tool/vorpane-dat, as scripts/test.sh does")
        result = subprocess.run([tool, "--json", str(path)], capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    # --- the tests ---------------------------------------------------------------------

    def test_fresh_installation_from_welcome_page_to_started_client(self):
        session = self.session
        process, window, facts = self.start_installer()
        self.walk_to_install_directory(window)
        self.walk_on_to_summary(window)
        session.key(window, "Return")
        # The run takes a fraction of a second: the first picture after the key
        # usually catches the bar on its way.
        session.screenshot("progress", facts.window_rect)
        _, focus = self.wait_for_texts(FINISHED)
        self.assertEqual(focus, "Button &Start Vorpane")
        session.screenshot("finished", facts.window_rect)
        self.assertEqual(session.message_boxes(wizard.MESSAGE_TITLE), [])

        installed = session.host_path(INSTALL_DIR)
        self.assertTrue((installed / "Vorpane.Exe").read_bytes() == self.client, "client differs from its image")
        self.assertTrue((installed / "Uninstall_Vorpane.Exe").read_bytes() == self.uninstaller,
                        "uninstaller differs from its image")
        self.assertIn(self.uninstaller + self.client, Path(self.installer_file).read_bytes())
        self.assertEqual(sorted(p.name for p in installed.iterdir()),
                         ["Uninstall_Vorpane.Exe", "Vorpane.Dat", "Vorpane.Exe"])

        code, entry = session.run("reg", "query", ENTRY_KEY)
        self.assertEqual(code, 0, entry)
        for value in ("DisplayName    REG_SZ    Vorpane", "DisplayVersion    REG_SZ    3.31",
                      f'UninstallString    REG_SZ    "{INSTALL_DIR}Uninstall_Vorpane.Exe"',
                      "NoModify    REG_DWORD    0x1"):
            self.assertIn(value, entry)

        data = self.decode_data_file(installed / "Vorpane.Dat")
        header = {field["field"]: field["value"] for field in data["header"]}
        self.assertEqual(header[1], 5)
        self.assertEqual(header[4], INSTALL_DIR)

        shortcuts = self.find_shortcuts()
        by_name = {}
        for relative, windows_path in shortcuts.items():
            by_name.setdefault(relative.rsplit("\\", 1)[-1], []).append(windows_path)
        self.assertEqual(sorted(by_name), ["Uninstall Vorpane.Lnk", "Vorpane.Lnk"], shortcuts)
        self.assertEqual(len(by_name["Vorpane.Lnk"]), 2, "one in the start menu, one on the desktop")
        uninstall = self.session.read_shortcut(by_name["Uninstall Vorpane.Lnk"][0])
        self.assertIn("\\Programs\\Vorpane\\", by_name["Uninstall Vorpane.Lnk"][0])
        self.assertEqual(uninstall["target"].lower(), (INSTALL_DIR + "Uninstall_Vorpane.Exe").lower())
        self.assertEqual(uninstall["description"], "Unistall Vorpane")
        for link in by_name["Vorpane.Lnk"]:
            client = self.session.read_shortcut(link)
            self.assertEqual(client["target"].lower(), (INSTALL_DIR + "Vorpane.Exe").lower(), link)
            self.assertEqual(client["description"], "Vorpane", link)
            self.assertEqual(client["arguments"], "", link)

        record = installed / "Vorpane.cmdline.txt"
        session.key(window, "Return")  # "&Start Vorpane"
        self.assertEqual(session.wait_exit(process), 0)
        started = session.wait_window("Vorpane", timeout=30)
        deadline = time.monotonic() + 15
        while not record.exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertEqual(record.read_text(errors="replace").strip().split('"')[1].lower(),
                         (INSTALL_DIR + "Vorpane.Exe").lower())
        session.key(started, "Escape")

    def test_a_drive_that_fills_up_says_disk_full_and_offers_exit(self):
        if not self.small_disk_mounted:
            self.skipTest("mounting a small file system is not permitted here")
        session = self.session
        # The download and cache pages propose the installation's drive; the
        # other tests expect a small disk without them.
        for made in ("Vorpane", "Downloads", "Vorpane_Cache"):
            self.addCleanup(shutil.rmtree, self.small_disk / made, True)
        process, window, facts = self.start_installer()
        self.walk_to_install_directory(window)
        session.click_client(facts, *EDIT1)
        session.key(window, "End", "shift+Home")
        session.type_text(window, "E:\\Vorpane")
        self.walk_on_to_summary(window)
        session.key(window, "Return")
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE), "Disk full: E:\\Vorpane\\Vorpane.Exe.")
        session.key(session.wait_window(wizard.MESSAGE_TITLE), "Return")
        # The page says what failed beside Exit, the rollback having left nothing.
        _, focus = self.wait_for_texts("Installing Vorpane", "&Exit",
                                       "Disk full: E:\\Vorpane\\Vorpane.Exe. Nothing was changed.")
        self.assertEqual(focus, "Button &Exit")
        session.screenshot("disk-full", facts.window_rect)
        # Taken back: what the run wrote and the directories the pages made.
        made = ("Vorpane", "Downloads", "Vorpane_Cache")
        self.assertEqual([p.name for p in self.small_disk.iterdir() if p.name in made], [])
        session.key(window, "Return")
        self.assertEqual(session.wait_exit(process), 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
