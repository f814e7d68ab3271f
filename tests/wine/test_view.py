"""The Win32 view's own checks: windows created from the form description, kept
in step with the model both ways, at 96 dpi."""

import unittest

import winetest


class Win32ViewUnderWine(unittest.TestCase):
    def test_view_checks_pass(self):
        with winetest.WineSession("view") as session:
            program = session.copy_in(winetest.required_env("VORPANE_VIEW_CHECK"))
            code, output = session.run(program, timeout=120)
            print(output, end="")
            self.assertEqual(code, 0, output)
            self.assertNotIn("FAIL", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
