"""Both ways to upgrade, as a person and a client take them: the wizard's
upgrade branch searching the fixed disks for installations and rewriting the
chosen one; and the automatic upgrade that a client starts with a raw command
line (its directory quoted, ending in a backslash) while it is still ending,
which restarts the client afterwards."""

import shutil
import time
import unittest
from pathlib import Path

import winetest
import wizard

UPGRADED = "The upgrade of Vorpane is completed succesfully."
DISCLAIMER_PROMPT = "I agree to the statement above (Yes/No) : "


def data_file(version):
    """The start of a data file as the installer writes it: the version byte,
    escaped, then whatever follows."""
    return bytes([31, version + 84]) + b"rest of the user's data"


class Upgrade(wizard.Driving, winetest.SessionTestCase):
    session_name = "upgrade"
    programs = {"program": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}

    @classmethod
    def set_up_session(cls):
        cls.session.add_drive("e", "hd")
        cls.session.add_drive("d", "cdrom")
        cls.standin = winetest.required_env("VORPANE_STANDIN_CLIENT")
        cls.client = wizard.embedded_image(cls.standin, wizard.CLIENT_IMAGE_SIZE)
        cls.uninstaller = wizard.embedded_image(winetest.required_env("VORPANE_UNINSTALLER_IMAGE"),
                                                 wizard.UNINSTALLER_IMAGE_SIZE)

    def plant(self, windows_dir, version, with_client=True):
        folder = self.session.host_path(windows_dir)
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "Vorpane.Dat").write_bytes(data_file(version))
        if with_client:
            (folder / "Vorpane.Exe").write_bytes(Path(self.standin).read_bytes())
        return folder

    def assert_upgraded(self, folder, data_version):
        self.assertTrue((folder / "Vorpane.Exe").read_bytes() == self.client, f"{folder}: client not upgraded")
        self.assertTrue((folder / "Uninstall_Vorpane.Exe").read_bytes() == self.uninstaller,
                        f"{folder}: uninstaller not written")
        self.assertEqual((folder / "Vorpane.Dat").read_bytes(), data_file(data_version))
        self.assertFalse((folder / "Vorpane.Exe.new").exists())

    def test_wizard_finds_compatible_installations_on_fixed_disks_and_upgrades_the_chosen_one(self):
        session = self.session
        first = self.plant("C:\\Program Files\\Vorpane", 5)
        chosen = self.plant("E:\\Apps\\Vorpane", 14)
        self.plant("E:\\Old", 3)
        self.plant("E:\\Newer", 15)
        self.plant("E:\\.hidden\\Vorpane", 5)  # Wine shows dot folders as hidden
        self.plant("D:\\Vorpane", 5)  # a CD, not searched
        session.host_path("E:\\Odd\\Vorpane.Dat").mkdir(parents=True)  # a folder by that name
        planted = first.joinpath("Vorpane.Exe").read_bytes()

        process, window, facts = self.start_installer()
        self.wait_for_texts("Thanks for installing Vorpane")
        session.key(window, "Return")
        self.wait_for_texts(DISCLAIMER_PROMPT)
        session.type_text(window, "YES")
        session.key(window, "alt+n")
        self.wait_for_texts("Upgrade an existing installation")
        session.key(window, "Tab", "Return")
        _, focus = self.wait_for_texts("Ready to upgrade", "C:\\Program Files\\Vorpane\\")
        self.assertTrue(focus.startswith("ComboBox"), focus)
        session.screenshot("choice", facts.window_rect)
        # The list holds exactly the two compatible installations, in the finder's order.
        session.key(window, "Down")
        self.wait_for_texts("E:\\Apps\\Vorpane\\")
        session.key(window, "Down")
        time.sleep(0.5)
        texts, _ = self.wait_for_texts("E:\\Apps\\Vorpane\\")
        self.assertNotIn("C:\\Program Files\\Vorpane\\", texts)
        session.key(window, "alt+u")
        _, focus = self.wait_for_texts(UPGRADED)
        self.assertEqual(focus, "Button &Start Vorpane")
        session.screenshot("upgraded", facts.window_rect)
        self.assert_upgraded(chosen, 14)
        self.assertEqual(first.joinpath("Vorpane.Exe").read_bytes(), planted)
        links = list(session.host_path("C:\\users").glob("*/Desktop/Vorpane.Lnk"))
        self.assertEqual(len(links), 1, "the desktop shortcut, and no start-menu group")
        self.assertFalse(list(session.host_path("C:\\users").rglob("Uninstall Vorpane.Lnk")))
        desktop = "C:\\users\\" + links[0].parent.parent.name + "\\Desktop\\Vorpane.Lnk"
        self.assertEqual(session.read_shortcut(desktop)["target"].lower(), "e:\\apps\\vorpane\\vorpane.exe")

        # The upgraded client is the installer's own stand-in, which records how it was started.
        record = chosen / "Vorpane.cmdline.txt"
        session.key(window, "Return")
        self.assertEqual(session.wait_exit(process), 0)
        client = session.wait_window("Vorpane", timeout=30)
        self.assertEqual(wizard.wait_for_file(record).lower(), '"e:\\apps\\vorpane\\vorpane.exe"')
        session.key(client, "Escape")

    def test_automatic_upgrade_from_a_client_still_ending_restarts_it(self):
        session = self.session
        directory = "C:\\Program Files\\Vorpane Auto\\"
        folder = self.plant(directory, 5)
        # The other test expects only the installations it plants.
        self.addCleanup(shutil.rmtree, folder, True)
        record = folder / "Vorpane.cmdline.txt"
        command_file = session.host_path("C:\\Setup") / "autoupdate.txt"
        # As the client passes it: the directory quoted, with its trailing backslash.
        command_file.write_text(f'"{self.program}" /autoupdate "{directory}"')
        # The launcher stands for the client: it holds its program for a while after starting the installer.
        launcher = session.start(self.launcher, "C:\\Setup\\autoupdate.txt", directory + "Vorpane.Exe", "10000")
        self.addCleanup(session.stop, launcher)
        window = session.wait_window(wizard.CAPTION)
        facts = session.window_facts(wizard.CAPTION)
        _, focus = self.wait_for_texts(DISCLAIMER_PROMPT)
        self.assertTrue(focus.startswith("Edit"), focus)
        session.type_text(window, "YES")
        session.key(window, "alt+n")
        # The page says what it waits for while the client still holds its program.
        self.wait_for_texts("Upgrading Vorpane", "Waiting for Vorpane to close...", timeout=10)
        session.screenshot("automatic-upgrading", facts.window_rect)
        self.assertEqual(session.wait_exit(launcher, timeout=40), 0)
        self.assertEqual(session.message_boxes(wizard.MESSAGE_TITLE), [])
        client = session.wait_window("Vorpane", timeout=30)
        command_line = wizard.wait_for_file(record)
        self.assertEqual(command_line, f'"{directory}Vorpane.Exe" /upgraded3.31')
        self.assert_upgraded(folder, 5)
        session.key(client, "Escape")


if __name__ == "__main__":
    unittest.main(verbosity=2)
