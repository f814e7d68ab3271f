"""Several installations on one machine, each listed among the installed
programs and each removable: one inside another keeps its shortcuts and its
entry when the outer one goes, three side by side are listed three times, and
an uninstaller that cannot hand its own removal over stays with its entry and
its shortcut, to be run again."""

import time
import unittest

import winetest

UNINSTALL = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
PLACES = '/DOWNLOADDIR="C:\\Vorpane Downloads" /CACHEDIR="C:\\Vorpane Cache"'


def own_key(directory):
    """The key of an installation listed beside another: FNV-1a 64 of its
    lower-cased directory with one trailing backslash."""
    value = 0xCBF29CE484222325
    for byte in (directory.rstrip("\\") + "\\").lower().encode("ascii"):
        value = ((value ^ byte) * 0x100000001B3) % (1 << 64)
    return f"Vorpane-{value:016X}"


class Registration(winetest.SessionTestCase):
    session_name = "registration"
    programs = {"installer": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}

    def launch(self, command_line, temporary_folder=None):
        """Runs a raw command line through launch.exe, with another temporary
        folder if given (through cmd, which hands its environment on); returns
        the exit code."""
        (self.session.host_path("C:\\Setup") / "command.txt").write_text(command_line)
        launch = [self.launcher, "C:\\Setup\\command.txt"]
        if temporary_folder:
            launch = ["cmd", "/c", "set", f"TEMP={temporary_folder}&&", "set", f"TMP={temporary_folder}&&", *launch]
        code, _ = self.session.run(*launch, timeout=60)
        return code

    def install(self, directory):
        self.assertEqual(self.launch(f'"{self.installer}" /VERYSILENT {PLACES} /DIR="{directory}"'), 0, directory)

    def uninstall(self, directory, temporary_folder=None):
        return self.launch(f'"{directory}\\Uninstall_Vorpane.Exe" /S /LOG="C:\\uninstall.log"', temporary_folder)

    def entries(self):
        """Every entry of the list of installed programs: its key's last part
        and its text values."""
        code, output = self.session.run("reg", "query", "HKLM\\" + UNINSTALL, "/s")
        self.assertEqual(code, 0, output)
        found, values = {}, None
        for line in output.splitlines():
            if line.startswith("HKEY_"):
                key = line.partition(UNINSTALL + "\\")[2]
                values = found.setdefault(key, {}) if key else None
            elif values is not None and len(parts := line.strip().split(None, 2)) == 3 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2]
        return found

    def listed(self):
        """The names Wine's own list of installed programs shows."""
        code, output = self.session.run("uninstaller", "--list")
        self.assertEqual(code, 0, output)
        return sorted(line.partition("|||")[2] for line in output.splitlines() if "|||Vorpane" in line)

    def shortcuts(self):
        """The user's shortcuts, by folder and name."""
        return sorted(f"{path.parent.name}\\{path.name}" for path in self.session.host_path("C:\\users").rglob("*.[Ll]nk"))

    def wait_gone(self, path, timeout=10):
        """The copy in the temporary folder removes the uninstaller after its end."""
        deadline = time.monotonic() + timeout
        while path.exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        return not path.exists()

    def test_an_installation_inside_another_keeps_its_shortcuts_and_entry(self):
        inner = "C:\\Tools\\Vorpane-test"
        self.install("C:\\Tools")
        self.install(inner)
        entries = self.entries()
        self.assertEqual(entries["Vorpane"]["InstallLocation"], "C:\\Tools")
        self.assertEqual(entries[own_key(inner)]["DisplayName"], f"Vorpane ({inner})")

        # The shortcuts start the inner installation, made last, and stay.
        self.assertEqual(self.uninstall("C:\\Tools"), 0)
        self.assertTrue(self.wait_gone(self.session.host_path("C:\\Tools\\Uninstall_Vorpane.Exe")))
        self.assertEqual(self.shortcuts(), ["Desktop\\Vorpane.Lnk", "Vorpane\\Uninstall Vorpane.Lnk", "Vorpane\\Vorpane.Lnk"])
        self.assertEqual(list(self.entries()), [own_key(inner)])
        self.assertTrue(self.session.host_path(inner + "\\Vorpane.Dat").exists())

        self.assertEqual(self.uninstall(inner), 0)
        self.assertEqual(self.shortcuts(), [])
        self.assertEqual(self.entries(), {})

    def test_three_installations_are_listed_and_each_is_removable_from_the_list(self):
        directories = ["C:\\One", "C:\\Two", "C:\\Three"]
        for directory in directories:
            self.install(directory)
        keys = ["Vorpane", own_key("C:\\Two"), own_key("C:\\Three")]
        entries = self.entries()
        self.assertEqual([entries[key]["InstallLocation"] for key in keys], directories)
        self.assertEqual(self.listed(), ["Vorpane", "Vorpane (C:\\Three)", "Vorpane (C:\\Two)"])

        # As a tool that removes programs quietly: the entry's own line, raw.
        self.assertEqual(self.launch(entries[keys[2]]["QuietUninstallString"]), 0)
        self.assertEqual(self.listed(), ["Vorpane", "Vorpane (C:\\Two)"])
        for key in keys[:2]:
            self.assertEqual(self.launch(entries[key]["QuietUninstallString"]), 0, key)
        self.assertEqual(self.entries(), {})
        for directory in directories:
            self.assertTrue(self.wait_gone(self.session.host_path(directory)), directory)

    def test_an_uninstaller_that_cannot_hand_over_stays_to_be_run_again(self):
        folder = self.session.host_path("C:\\Stuck")
        self.install("C:\\Stuck")
        self.assertEqual(self.uninstall("C:\\Stuck", temporary_folder="C:\\NoSuchTemp"), 3)
        log = self.session.host_path("C:\\uninstall.log").read_text(errors="replace")
        self.assertIn("C:\\NoSuchTemp\\Vorpane-Uninstall-", log)
        self.assertEqual(sorted(p.name for p in folder.iterdir()), ["Uninstall_Vorpane.Exe"])
        self.assertEqual(self.entries()["Vorpane"]["InstallLocation"], "C:\\Stuck")
        self.assertEqual(self.shortcuts(), ["Vorpane\\Uninstall Vorpane.Lnk"])

        self.assertEqual(self.uninstall("C:\\Stuck"), 0)
        self.assertTrue(self.wait_gone(folder), "the installation directory stays")
        self.assertEqual(self.entries(), {})
        self.assertEqual(self.shortcuts(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
