"""The data file as the Windows runtime writes it: its reals keep their text."""

import unittest

import winetest


class DataFileUnderWine(unittest.TestCase):
    def test_reals_of_the_data_file_keep_their_text(self):
        with winetest.WineSession("datafile") as session:
            program = session.copy_in(winetest.required_env("VORPANE_REAL_TEXT_CHECK"))
            code, output = session.run(program, timeout=60)
            print(output, end="")
            self.assertEqual(code, 0, output)
            self.assertNotIn("FAIL", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
