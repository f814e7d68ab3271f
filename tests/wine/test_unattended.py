"""The installer as deployment scripts run it: with switches, raw command lines
handed to CreateProcess, exit codes and a log; no window with /VERYSILENT, only
the progress page with /SILENT."""

import threading
import time
import unittest
from pathlib import Path

import winetest
import wizard


ENTRY_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane"

class Unattended(winetest.SessionTestCase):
    session_name = "unattended"
    programs = {"program": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}

    @classmethod
    def set_up_session(cls):
        cls.session.add_drive("d", "cdrom")
        cls.standin = winetest.required_env("VORPANE_STANDIN_CLIENT")

    def launch(self, switches, timeout=60):
        """Runs the installer with a raw command line; returns its exit code."""
        command = self.session.host_path("C:\\Setup") / "command.txt"
        command.write_text(f'"{self.program}" {switches}')
        code, _ = self.session.run(self.launcher, "C:\\Setup\\command.txt", timeout=timeout)
        return code

    def log(self, name):
        return self.session.host_path("C:\\" + name).read_text(errors="replace").splitlines()

    def launch_unseen(self, switches, timeout=60):
        """Runs the installer like launch(); also asserts that it showed no
        window of its own (the wizard or a box) meanwhile."""
        session = self.session
        seen = []
        watching = threading.Event()

        def watch():  # any window of the installer during the run
            while not watching.is_set():
                seen.extend(session.find_windows(wizard.CAPTION))
                seen.extend(session.find_windows(wizard.MESSAGE_TITLE))
                time.sleep(0.1)

        watcher = threading.Thread(target=watch)
        watcher.start()
        try:
            code = self.launch(switches, timeout)
        finally:
            watching.set()
            watcher.join()
        self.assertEqual(seen, [], switches)
        return code

    def test_very_silent_installs_everything_without_a_window(self):
        session = self.session
        code = self.launch_unseen('/VERYSILENT /LOG="C:\\very.log" /D=C:\\Deploy Here')
        self.assertEqual(code, 0, "\n".join(self.log("very.log")))
        installed = session.host_path("C:\\Deploy Here")
        self.assertEqual(sorted(p.name for p in installed.iterdir()),
                         ["Uninstall_Vorpane.Exe", "Vorpane.Dat", "Vorpane.Exe"])
        self.assertEqual((installed / "Vorpane.Exe").stat().st_size, 2188800)
        links = [p.name for p in session.host_path("C:\\users").rglob("*.[Ll]nk")]
        self.assertEqual(sorted(links), ["Uninstall Vorpane.Lnk", "Vorpane.Lnk", "Vorpane.Lnk"])
        log = self.log("very.log")
        self.assertIn("arguments: [/VERYSILENT] [/LOG=C:\\very.log] [/D=C:\\Deploy] [Here]", log[0])
        self.assertTrue(log[-1].endswith("Exit code 0"), log)
        self.assertTrue(any("Vorpane.Dat (" in line for line in log), log)

    def test_a_refused_directory_writes_nothing_and_exits_with_two(self):
        code = self.launch('/S /LOG="C:\\refused.log" /DIR="D:\\Vorpane"')
        self.assertEqual(code, 2)
        log = self.log("refused.log")
        self.assertIn("Refused: D: is not a harddisk", log[-2])
        self.assertFalse(self.session.host_path("D:\\Vorpane").exists())
        self.assertEqual(self.launch("/S /BOGUS"), 1)

    def test_a_mistyped_switch_ends_at_once_with_one(self):
        # The misspelt silence shows no box either: the script gets its 1 at once.
        self.assertEqual(self.launch_unseen("/VERYSILNT /D=C:\\X", timeout=20), 1)
        # A log in folders that are not there yet is written all the same.
        code = self.launch_unseen('/LOG="C:\\New Logs\\Typo\\typo.log" /VERYSILNT /D=C:\\X', timeout=20)
        self.assertEqual(code, 1)
        log = self.log("New Logs\\Typo\\typo.log")
        self.assertIn("Bad command line: Unknown switch /VERYSILNT", log[-2])
        self.assertTrue(log[-1].endswith("Exit code 1"), log)
        self.assertFalse(self.session.host_path("C:\\X").exists())

    def test_the_package_managers_line_installs_into_missing_parents(self):
        # Runs after the upgrade test (by name), which expects the first entry to be its own.
        code = self.launch_unseen(
            '/SP- /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /DIR="C:\\Other Place\\Deep\\Vorpane"')
        self.assertEqual(code, 0)
        installed = self.session.host_path("C:\\Other Place\\Deep\\Vorpane")
        self.assertEqual((installed / "Vorpane.Exe").stat().st_size, 2188800)

    def test_silent_shows_the_progress_page_and_upgrades_keeping_the_data_file(self):
        session = self.session
        folder = session.host_path("C:\\Old Vorpane")
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "Vorpane.Exe").write_bytes(Path(self.standin).read_bytes())
        data = bytes([31, 5 + 84]) + b"the user's settings"
        (folder / "Vorpane.Dat").write_bytes(data)
        # The client still holds its program for a moment: the page stays up meanwhile.
        command = session.host_path("C:\\Setup") / "silent.txt"
        command.write_text(f'"{self.program}" /SILENT /NOSHORTCUT /UPGRADE="C:\\Old Vorpane\\"')
        launcher = session.start(self.launcher, "C:\\Setup\\silent.txt", "C:\\Old Vorpane\\Vorpane.Exe", "10000")
        self.addCleanup(session.stop, launcher)
        session.wait_window(wizard.CAPTION, timeout=30)
        facts = session.window_facts(wizard.CAPTION)
        session.screenshot("silent-upgrade", facts.window_rect)
        deadline = time.monotonic() + 10
        while "Upgrading Vorpane" not in session.control_texts(wizard.CAPTION)[0]:
            self.assertLess(time.monotonic(), deadline, "the upgrade's progress page never showed")
            time.sleep(0.2)
        self.assertEqual(session.wait_exit(launcher, timeout=40), 0)
        self.assertEqual((folder / "Vorpane.Exe").stat().st_size, 2188800)
        self.assertTrue((folder / "Uninstall_Vorpane.Exe").exists())
        self.assertEqual((folder / "Vorpane.Dat").read_bytes(), data)
        self.assertEqual(session.find_windows("Vorpane"), [], "no client is started")
        # Listed among the installed programs from now on, at this version and place.
        code, entry = session.run("reg", "query", ENTRY_KEY)
        self.assertEqual(code, 0, entry)
        self.assertIn("DisplayVersion    REG_SZ    3.31", entry)
        self.assertIn("InstallLocation    REG_SZ    C:\\Old Vorpane\n", entry)


if __name__ == "__main__":
    unittest.main(verbosity=2)
