"""The shipped program under Wine: its window, its first pages and the way out."""

import time
import unittest

import winetest
import wizard

WS_SYSMENU = 0x00080000
WS_THICKFRAME = 0x00040000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000
WS_EX_TOOLWINDOW = 0x00000080


class InstallerWindow(wizard.Driving, winetest.SessionTestCase):
    session_name = "installer"
    programs = {"program": "VORPANE_INSTALLER"}

    def test_window_shows_caption_size_and_frame(self):
        _, _, facts = self.start_installer()
        _, mismatches = wizard.settled_frame(self.session, "welcome", facts)
        self.assertEqual(facts.dpi, 96)
        self.assertEqual(facts.client_size, wizard.CLIENT_SIZE)
        self.assertEqual(mismatches, [])
        # a tool window that only the wizard's own buttons can close
        self.assertTrue(facts.exstyle & WS_EX_TOOLWINDOW)
        self.assertFalse(facts.style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX))

    def test_exit_ends_the_program_with_code_zero(self):
        process, _, facts = self.start_installer()
        self.session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(self.session.wait_exit(process), 0)

    def test_disclaimer_refuses_an_answer_other_than_yes_or_no(self):
        session = self.session
        process, window, facts = self.start_installer()
        session.click_client(facts, *wizard.NEXT_BUTTON)  # to the disclaimer, answer field focused
        time.sleep(0.5)
        session.type_text(window, "maybe")  # shown upper case, still no answer
        session.click_client(facts, *wizard.NEXT_BUTTON)
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE), "Type either YES or NO")
        session.screenshot("disclaimer-answer-refused")
        session.key(session.wait_window(wizard.MESSAGE_TITLE), "Return")
        session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(session.wait_exit(process), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
