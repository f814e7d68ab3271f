"""The Win32 view's own checks: windows created from the form description, kept
in step with the model both ways, at 100 % and at 150 % of 96 dpi. view_check
is a GoogleTest program; told the dpi the session's screen has, it expects the
window at that scale (client area 804 x 529 scaled)."""

import unittest

import winetest


class Win32ViewUnderWine(unittest.TestCase):
    def run_view_checks(self, name, dpi):
        with winetest.WineSession(name) as session:
            winetest.set_dpi(self, session, dpi)
            winetest.run_check_program(self, session, "VORPANE_VIEW_CHECK", str(dpi))

    def test_view_checks_pass_at_96_dpi(self):
        self.run_view_checks("view", 96)

    def test_view_checks_pass_scaled_to_144_dpi(self):
        self.run_view_checks("view-144dpi", 144)


if __name__ == "__main__":
    unittest.main(verbosity=2)
