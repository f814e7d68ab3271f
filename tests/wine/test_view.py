"""The Win32 view's own checks: windows created from the form description, kept
in step with the model both ways, at 100 % and at 150 % of 96 dpi."""

import unittest

import winetest


class Win32ViewUnderWine(unittest.TestCase):
    def run_view_checks(self, name, dpi):
        with winetest.WineSession(name) as session:
            if dpi != 96:
                code, output = session.run("reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels",
                                           "/t", "REG_DWORD", "/d", str(dpi), "/f")
                self.assertEqual(code, 0, output)
            program = session.copy_in(winetest.required_env("VORPANE_VIEW_CHECK"))
            code, output = session.run(program, timeout=120)
            print(output, end="")
            self.assertEqual(code, 0, output)
            self.assertNotIn("FAIL", output)
            return output

    def test_view_checks_pass_at_96_dpi(self):
        self.run_view_checks("view", 96)

    def test_view_checks_pass_scaled_to_144_dpi(self):
        output = self.run_view_checks("view-144dpi", 144)
        self.assertIn("ok   client area 804 x 529 scaled", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
