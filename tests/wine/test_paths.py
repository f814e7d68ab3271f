"""Directories as the installer stores them: full and normalised whatever way
they were typed, the same folder under one name whatever drive letter reached
it, and a relative directory refused. Raw command lines through launch.exe;
the installed-programs entry read with reg.exe, the shortcuts through the shell
(winprobe shortcut)."""

import unittest

import winetest

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"


class Paths(winetest.SessionTestCase):
    session_name = "paths"
    programs = {"program": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}

    @classmethod
    def set_up_session(cls):
        # L: is only another name for the folder C:\Linked.
        cls.session.add_drive("l", "hd", folder="C:\\Linked")

    def install(self, directory, log):
        """Runs /VERYSILENT /DIR=<directory> as typed; returns the exit code and the log."""
        command = self.session.host_path("C:\\Setup") / "command.txt"
        command.write_text(f'"{self.program}" /VERYSILENT /LOG="C:\\{log}" /DIR={directory}')
        code, _ = self.session.run(self.launcher, "C:\\Setup\\command.txt", timeout=60)
        return code, self.session.host_path("C:\\" + log).read_text(errors="replace")

    def locations(self):
        """The installation directories of the installed-programs list."""
        code, output = self.session.run("reg", "query", UNINSTALL_KEY, "/s", "/v", "InstallLocation")
        self.assertEqual(code, 0, output)
        return [line.split("REG_SZ", 1)[1].strip() for line in output.splitlines() if "InstallLocation" in line]

    def shortcut_targets(self, only_desktop=False):
        """What the shortcuts the installations made start, read through the shell
        (each read takes a few seconds: some cases read only the desktop's)."""
        drive_c = self.session.host_path("C:\\")
        links = sorted((drive_c / "users").rglob("*.[Ll]nk"))
        self.assertEqual(len(links), 3, links)
        if only_desktop:
            links = [link for link in links if link.parent.name == "Desktop"]
        return [self.session.read_shortcut("C:\\" + str(link.relative_to(drive_c)).replace("/", "\\"))["target"]
                for link in links]

    def assert_stored(self, directory, stored, log):
        code, text = self.install(directory, log)
        self.assertEqual(code, 0, text)
        self.assertIn(stored, self.locations())
        (target,) = self.shortcut_targets(only_desktop=True)
        self.assertEqual(target.lower(), stored.lower() + "\\vorpane.exe", directory)
        self.assertTrue(self.session.host_path(stored).is_dir(), stored)

    def test_directories_are_stored_full_and_normalised(self):
        self.assert_stored('"C:\\Program Files\\..\\VP"', "C:\\VP", "dots.log")
        self.assert_stored("C:\\\\VP2", "C:\\VP2", "doubled.log")
        self.assert_stored("C:\\dot.", "C:\\dot", "dot.log")
        self.assertFalse(self.session.host_path("C:\\").joinpath("dot.").exists())

    def test_a_folder_keeps_one_name_whatever_drive_letter_reached_it(self):
        code, text = self.install("L:\\VP4", "other-drive.log")
        self.assertEqual(code, 0, text)
        # Windows names the folder on C:; Wine 8 names it by the drive whose root
        # is nearest to it, so that a folder of C:\Linked is on L: however it is
        # reached. Either way there is one name for it.
        stored = next(location for location in self.locations() if location.lower().endswith("\\vp4"))
        self.assertIn(stored, ("C:\\Linked\\VP4", "L:\\VP4"))
        for target in self.shortcut_targets():
            self.assertEqual(target.lower().rpartition("\\")[0], stored.lower(), target)
        code, text = self.install("C:\\Linked\\VP4\\", "same-folder.log")
        self.assertEqual(code, 2, text)
        self.assertIn(f"{stored}\\ already holds an installation of Vorpane; use /UPGRADE=", text)

    def test_a_relative_directory_is_refused(self):
        code, text = self.install("VP5", "relative.log")
        self.assertEqual(code, 2, text)
        self.assertIn("Refused: VP5 is not a full path", text)
        self.assertFalse(self.session.host_path("C:\\Setup\\VP5").exists())


if __name__ == "__main__":
    unittest.main(verbosity=2)
