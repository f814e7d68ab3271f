"""A failed setup gives the machine back as it was: the user's own files and
shortcuts where the installer writes come back byte for byte, and an upgrade
that cannot place its uninstaller puts the old client back too. Raw command
lines through launch.exe."""

import unittest

import winetest


class Rollback(winetest.SessionTestCase):
    session_name = "rollback"
    programs = {"program": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}

    @classmethod
    def set_up_session(cls):
        # A first installation shows where this user's shortcuts go.
        assert cls.launch(cls, "/S /D=C:\\First") == 0
        users = cls.session.host_path("C:\\users")
        cls.links = sorted(p for p in users.rglob("*.[Ll]nk") if "Vorpane" in p.name)
        assert len(cls.links) == 3, cls.links

    def launch(self, switches, *hold):
        command = self.session.host_path("C:\\Setup") / "command.txt"
        command.write_text(f'"{self.program}" {switches}')
        code, _ = self.session.run(self.launcher, "C:\\Setup\\command.txt", *hold, timeout=90)
        return code

    def log(self, name):
        return "\n".join(self.session.host_path("C:\\" + name).read_text(errors="replace").splitlines())

    def snapshot(self, *files):
        return {path: path.read_bytes() for path in files}

    def assertNothingAside(self, *folders):
        for folder in folders:
            aside = [p.name for p in folder.iterdir() if p.suffix.lower() in (".new", ".kept")]
            self.assertEqual(aside, [], folder)

    def test_a_failed_install_gives_back_the_users_files_and_shortcuts(self):
        target = self.session.host_path("C:\\Second")
        target.mkdir()
        (target / "Vorpane.Exe").write_bytes(b"the user's own Vorpane.Exe")
        (target / "Uninstall_Vorpane.Exe").write_bytes(b"the user's own uninstaller")
        (target / "Vorpane.Dat").mkdir()  # the data file cannot be written
        for number, link in enumerate(self.links):
            link.write_bytes(b"the user's shortcut %d" % number)
        before = self.snapshot(target / "Vorpane.Exe", target / "Uninstall_Vorpane.Exe", *self.links)

        code = self.launch('/S /LOG="C:\\second.log" /D=C:\\Second')
        self.assertEqual(code, 3, self.log("second.log"))
        self.assertEqual(self.snapshot(*before), before, self.log("second.log"))
        self.assertNothingAside(target, *{link.parent for link in self.links})
        self.assertIn("Put back", self.log("second.log"))

    def test_an_upgrade_that_cannot_place_the_uninstaller_puts_the_old_client_back(self):
        first = self.session.host_path("C:\\First")
        (first / "Vorpane.Exe").write_bytes(b"old client")
        (first / "Uninstall_Vorpane.Exe").write_bytes(b"old uninstaller")
        before = self.snapshot(first / "Vorpane.Exe", first / "Uninstall_Vorpane.Exe")
        # Held open, as a scanner or a running copy holds it, for longer than
        # the installer waits for a program to end.
        code = self.launch('/S /LOG="C:\\upgrade.log" /UPGRADE=C:\\First',
                           "C:\\First\\Uninstall_Vorpane.Exe", "20000")
        log = self.log("upgrade.log")
        self.assertEqual(code, 3, log)
        failed = [line for line in log.splitlines() if "Failed:" in line]
        self.assertTrue(failed and "C:\\First\\Uninstall_Vorpane.Exe" in failed[0], log)
        self.assertIn("Put back C:\\First\\Vorpane.Exe", log)
        self.assertEqual(self.snapshot(*before), before, log)
        self.assertNothingAside(first)


if __name__ == "__main__":
    unittest.main(verbosity=2)
