"""The Windows platform against the real system calls, with drives of every kind."""

import unittest

import winetest


class Win32PlatformUnderWine(unittest.TestCase):
    def test_platform_checks_pass(self):
        with winetest.WineSession("platform") as session:
            session.add_drive("e", "hd")
            session.add_drive("d", "cdrom")
            session.add_drive("n", "network")
            session.add_drive("r", "floppy")
            program = session.copy_in(winetest.required_env("VORPANE_PLATFORM_CHECK"))
            code, output = session.run(program, timeout=120)
            print(output, end="")
            self.assertEqual(code, 0, output)
            self.assertNotIn("FAIL", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
