"""The wizard walked as a person walks it, by keyboard and mouse: from the
welcome page to the summary with the proposed directories (Enter in the
disclaimer's answer goes on), a drive that is no hard disk refused and the
refused entry retyped at once, the disclaimer refused, and the automatic
upgrade mode that restarts the client when the wizard closes."""

import shutil
import time
import unittest

import winetest
import wizard

SUMMARY = [
    "Install directory = C:\\Program Files\\Vorpane\\",
    "Download directory = C:\\Downloads\\",
    "Cache directory = C:\\Vorpane_Cache\\",
]
REFUSAL = ("You disagree with the disclaimer\rVorpane cannot be installed.\rWe hope you understand our needs "
           "for\rcovering our ass.\r\rHave a nice day!")
DISCLAIMER_PROMPT = "I agree to the statement above (Yes/No) : "
# Where the installation page's entry field lies in the client area: page
# container, page, body panel, field.
EDIT1 = (25 + 4 + 286 + 40, 40 + 4 + 41 + 7 + 10)


class WizardWalk(wizard.Driving, winetest.SessionTestCase):
    session_name = "wizard"
    programs = {"program": "VORPANE_INSTALLER"}

    @classmethod
    def set_up_session(cls):
        cls.session.add_drive("d", "cdrom")

    def answer_message_box(self):
        self.session.key(self.session.wait_window(wizard.MESSAGE_TITLE), "Return")
        deadline = time.monotonic() + 10
        while self.session.message_boxes(wizard.MESSAGE_TITLE) and time.monotonic() < deadline:
            time.sleep(0.2)

    def open_disclaimer(self, window):
        self.wait_for_texts("Thanks for installing Vorpane")
        self.session.key(window, "Return")  # the focused "&Next"
        _, focus = self.wait_for_texts(DISCLAIMER_PROMPT)
        self.assertTrue(focus.startswith("Edit"), focus)

    def test_keyboard_walk_from_welcome_to_summary_with_the_proposed_directories(self):
        session = self.session
        _, window, facts = self.start_installer()
        shot = lambda name: session.screenshot(f"walk-{name}", facts.window_rect)
        _, focus = self.wait_for_texts("Thanks for installing Vorpane")
        self.assertEqual(focus, "Button &Next")
        shot("welcome")
        self.open_disclaimer(window)
        session.type_text(window, "yes")  # the field turns it into YES
        shot("disclaimer")
        session.key(window, "Return")  # "&Next", the page's default button
        _, focus = self.wait_for_texts("What do you want to do?")
        self.assertEqual(focus, "Button Install Vorpane on this computer")
        shot("choose")
        session.key(window, "Return")
        self.wait_for_texts("C:\\Program Files\\Vorpane\\")
        shot("install-directory")
        session.key(window, "alt+n")
        self.wait_for_texts("C:\\Downloads")
        shot("download-directory")
        session.key(window, "alt+n")
        self.wait_for_texts("C:\\Vorpane_Cache")
        shot("cache-directory")
        session.key(window, "alt+n")
        _, focus = self.wait_for_texts(*SUMMARY)
        self.assertEqual(focus, "Button &Install")
        shot("summary")
        for directory in ("C:\\Program Files\\Vorpane", "C:\\Downloads", "C:\\Vorpane_Cache"):
            self.assertTrue(session.host_path(directory).is_dir(), directory)
        self.assertEqual(session.message_boxes(wizard.MESSAGE_TITLE), [])

    def test_a_drive_that_is_no_hard_disk_is_refused(self):
        session = self.session
        process, window, facts = self.start_installer()
        self.open_disclaimer(window)
        session.type_text(window, "YES")
        session.key(window, "alt+n")
        self.wait_for_texts("What do you want to do?")
        session.key(window, "Return")
        self.wait_for_texts("C:\\Program Files\\Vorpane\\")
        session.click_client(facts, *EDIT1)
        session.key(window, "End", "shift+Home")
        session.type_text(window, "D:\\Vorpane")
        session.key(window, "alt+n")
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE),
                         "D: is not a harddisk\rVorpane must be installed on a (local) harddisk.")
        session.screenshot("refused-cdrom")
        self.answer_message_box()
        # Still on the installation page, the refused entry focused and all
        # selected: what is typed replaces it.
        session.type_text(window, "C:\\Missing\\Vorpane")
        self.wait_for_texts("C:\\Missing\\Vorpane")
        session.key(window, "Return")
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE),
                         "Could not create directory C:\\Missing\\Vorpane\\.")
        self.answer_message_box()
        # An emptied entry is no place on a hard disk either, though the system
        # takes a bare "\" for the current drive's root.
        session.key(window, "BackSpace", "alt+n")
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE),
                         "\\: is not a harddisk\rVorpane must be installed on a (local) harddisk.")
        self.answer_message_box()
        session.key(window, "alt+e")
        self.assertEqual(session.wait_exit(process), 0)

    def test_typing_no_closes_the_wizard(self):
        session = self.session
        process, window, _ = self.start_installer()
        self.open_disclaimer(window)
        session.type_text(window, "no")
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE), REFUSAL)
        session.screenshot("refused-disclaimer")
        self.answer_message_box()
        self.assertEqual(session.wait_exit(process), 0)

    def test_automatic_upgrade_refused_restarts_the_quoted_client(self):
        session = self.session
        installation = session.host_path("C:\\Program Files\\Vorpane")
        installation.mkdir(parents=True, exist_ok=True)
        shutil.copy2(winetest.required_env("VORPANE_STANDIN_CLIENT"), installation / "Vorpane.Exe")
        # A program where an unquoted path with blanks would be cut off: it must never start
        # (the stand-in records its start beside itself).
        shutil.copy2(winetest.required_env("VORPANE_STANDIN_CLIENT"), session.host_path("C:\\") / "Program.exe")
        record = installation / "Vorpane.cmdline.txt"
        record.unlink(missing_ok=True)

        process, window, facts = self.start_installer("/autoupdate", "C:\\Program Files\\Vorpane")
        _, focus = self.wait_for_texts(DISCLAIMER_PROMPT)
        self.assertTrue(focus.startswith("Edit"), focus)
        session.screenshot("automatic-disclaimer", facts.window_rect)
        session.type_text(window, "NO")
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE), REFUSAL)
        self.answer_message_box()
        self.assertEqual(session.wait_exit(process), 0)

        client = session.wait_window("Vorpane", timeout=30)
        deadline = time.monotonic() + 15
        while not record.exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        command_line = record.read_text(errors="replace").strip()
        self.assertTrue(command_line.endswith("Vorpane.Exe\" /upgraded3.31"), command_line)
        self.assertFalse((session.host_path("C:\\") / "Vorpane.cmdline.txt").exists())
        session.screenshot("client-restarted")
        session.key(client, "Escape")


if __name__ == "__main__":
    unittest.main(verbosity=2)
