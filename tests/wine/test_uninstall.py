"""The uninstaller the installer puts in place, removing an installation made by
the installer's unattended mode: silently from a script, refused while the
client runs, and from Wine's list of installed programs with its questions.
Tried as an attacker would: a program racing for the copy that finishes the
removal, and that copy's switch started by hand."""

import shutil
import time
import unittest

import winetest

ENTRY_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vorpane"
TITLE = "Uninstall Vorpane"
DOWNLOADS = "C:\\users\\Public\\Vorpane Downloads"
CACHE = "C:\\Vorpane Cache"


class Uninstall(winetest.SessionTestCase):
    session_name = "uninstall"
    programs = {"installer": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}

    def launch(self, command_line, cwd=None):
        """Runs a raw command line through launch.exe; returns the exit code."""
        (self.session.host_path("C:\\Setup") / "command.txt").write_text(command_line)
        code, _ = self.session.run(self.launcher, "C:\\Setup\\command.txt", cwd=cwd, timeout=60)
        return code

    def install(self, directory):
        code = self.launch(f'"{self.installer}" /VERYSILENT /DOWNLOADDIR="{DOWNLOADS}" /CACHEDIR="{CACHE}" '
                           f"/D={directory}")
        self.assertEqual(code, 0)
        return self.session.host_path(directory)

    def links(self):
        return sorted(p.name for p in self.session.host_path("C:\\users").rglob("*.[Ll]nk"))

    def group(self):
        return [p for p in self.session.host_path("C:\\users").rglob("Vorpane") if p.is_dir()]

    def listed(self):
        code, output = self.session.run("uninstaller", "--list")
        self.assertEqual(code, 0, output)
        return [line for line in output.splitlines() if line.endswith("|||Vorpane")]

    def pending_removals(self):
        _, pending = self.session.run("reg", "query", "HKLM\\System\\CurrentControlSet\\Control\\Session Manager",
                                      "/v", "PendingFileRenameOperations")
        return pending

    def temporary_folder(self):
        _, output = self.session.run("cmd", "/c", "echo %TEMP%")
        return output.strip()

    def wait_gone(self, path, timeout=10):
        """The copy in the temporary folder removes the uninstaller after its end."""
        deadline = time.monotonic() + timeout
        while path.exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        return not path.exists()

    def test_silent_removal_keeps_what_vorpane_did_not_install(self):
        session = self.session
        folder = self.install("C:\\Program Files\\Vorpane")
        (folder / "my notes.txt").write_text("mine")
        (session.host_path(DOWNLOADS) / "song.ogg").write_text("downloaded")
        self.assertEqual(len(self.listed()), 1)
        uninstall = '"C:\\Program Files\\Vorpane\\Uninstall_Vorpane.Exe" /S /LOG="C:\\uninstall.log"'

        # A running client holds its program: nothing is removed.
        client = session.start("C:\\Program Files\\Vorpane\\Vorpane.Exe")
        self.addCleanup(session.stop, client)
        session.wait_window("Vorpane", process=client)
        self.assertEqual(self.launch(uninstall), 2)
        self.assertEqual(sorted(p.name for p in folder.iterdir()),
                         ["Uninstall_Vorpane.Exe", "Vorpane.Dat", "Vorpane.Exe", "Vorpane.cmdline.txt", "my notes.txt"])
        log = session.host_path("C:\\uninstall.log").read_text().splitlines()
        self.assertIn("Refused: Vorpane is running.", log[-2])
        session.key(session.wait_window("Vorpane"), "Escape")
        self.assertEqual(session.wait_exit(client), 0)

        self.assertEqual(self.launch(uninstall), 0)
        self.assertTrue(self.wait_gone(folder / "Uninstall_Vorpane.Exe"))
        self.assertEqual(sorted(p.name for p in folder.iterdir()), ["Vorpane.cmdline.txt", "my notes.txt"])
        self.assertEqual(self.links(), [])
        self.assertEqual(self.group(), [])
        self.assertEqual(session.run("reg", "query", ENTRY_KEY)[0], 1)
        self.assertEqual(self.listed(), [])
        self.assertEqual((session.host_path(DOWNLOADS) / "song.ogg").read_text(), "downloaded")
        self.assertTrue(session.host_path(CACHE).is_dir())
        log = session.host_path("C:\\uninstall.log").read_text().splitlines()
        self.assertTrue(log[-1].endswith("Exit code 0"), log)
        self.assertTrue(any(line.endswith("my notes.txt: not installed by Vorpane") for line in log), log)

    def test_removal_from_the_installed_programs_list_asks_and_takes_the_directory(self):
        session = self.session
        folder = self.install("C:\\Vorpane Two")
        entries = self.listed()
        self.assertEqual(len(entries), 1)
        key = entries[0].partition("|||")[0]
        remover = session.start("uninstaller", "--remove", key)
        self.addCleanup(session.stop, remover)
        # A probe started while the programs still start may hang: the box's window comes first.
        window = session.wait_window(TITLE, process=remover)
        question = session.wait_message_box(TITLE)
        self.assertEqual(question, "Remove Vorpane 3.31 from C:\\Vorpane Two?")
        session.screenshot("question")
        session.key(window, "alt+y")
        deadline = time.monotonic() + 20
        while session.message_boxes(TITLE) in ([], [question]) and time.monotonic() < deadline:
            time.sleep(0.3)
        self.assertEqual(session.message_boxes(TITLE), ["Vorpane 3.31 was removed from C:\\Vorpane Two."])
        session.key(session.wait_window(TITLE), "Return")
        session.wait_exit(remover, timeout=30)
        self.assertTrue(self.wait_gone(folder), "the installation directory stays")
        # The copy that removed it goes when Windows next starts, with its folder.
        pending = self.pending_removals()
        self.assertRegex(pending, r"Temp\\Vorpane-Uninstall-[0-9A-F]{32}\\Uninstall_Vorpane\.Exe\\0\\0"
                                  r"\\\?\?\\C:\\users\\[^\\]+\\Temp\\Vorpane-Uninstall-[0-9A-F]{32}\\0")
        self.assertEqual(self.links(), [])
        self.assertEqual(self.listed(), [])

    def test_a_program_racing_for_the_staged_copy_never_gets_its_program_run(self):
        session = self.session
        racer = session.copy_in(winetest.required_env("VORPANE_TEMP_RACER"), "C:\\Race")
        intruder = session.copy_in(winetest.required_env("VORPANE_INTRUDER"), "C:\\Race")
        temporary = self.temporary_folder()
        for attempt in range(3):
            folder = self.install(f"C:\\Raced {attempt}")
            racing = session.start(racer, temporary, intruder, "5")
            self.addCleanup(session.stop, racing)
            time.sleep(1.5)  # the racer is watching
            code = self.launch(f'"C:\\Raced {attempt}\\Uninstall_Vorpane.Exe" /S /LOG="C:\\raced.log"')
            self.assertEqual(code, 0, session.host_path("C:\\raced.log").read_text(errors="replace"))
            self.assertTrue(self.wait_gone(folder), "the installation directory stays")
            session.wait_exit(racing, timeout=30)
            self.assertFalse(session.host_path("C:\\intruder.txt").exists(),
                             "the racer's program ran in the copy's place")
        report = (session.artefacts / "temp_racer.log").read_text(errors="replace")
        self.assertRegex(report, r"seen [1-9]", "the racer never saw a copy: it proves nothing")

        # Each removal staged its copy in a folder of its own.
        staged = [p for p in session.host_path(temporary).iterdir() if p.name.startswith("Vorpane-Uninstall-")]
        self.assertGreaterEqual(len(staged), 3)

    def test_the_hand_over_started_by_hand_removes_and_schedules_nothing(self):
        session = self.session
        folder = self.install("C:\\By Hand")
        other = session.host_path("C:\\Other")
        other.mkdir(parents=True, exist_ok=True)
        shutil.copy2(folder / "Uninstall_Vorpane.Exe", other / "Uninstall_Vorpane.Exe")
        before = self.pending_removals()
        for switch in ("/FINISH=999999", "/FINISH=999999:0123456789ABCDEF0123456789ABCDEF"):
            self.assertEqual(self.launch(f'"C:\\By Hand\\Uninstall_Vorpane.Exe" /S {switch} '
                                         '"C:\\Other\\Uninstall_Vorpane.Exe"'), 1, switch)
        self.assertTrue((other / "Uninstall_Vorpane.Exe").exists())
        self.assertTrue((folder / "Uninstall_Vorpane.Exe").exists())
        self.assertEqual(self.pending_removals(), before)


if __name__ == "__main__":
    unittest.main(verbosity=2)
