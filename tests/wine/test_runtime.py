"""What the Windows programs take from the runtime of their own choosing: the
data file's reals written by printf with the text they always had, and the
end of a program whose exception nothing caught."""

import unittest

import winetest


class RuntimeUnderWine(winetest.SessionTestCase):
    session_name = "runtime"

    def test_reals_of_the_data_file_keep_their_text(self):
        winetest.run_check_program(self, self.session, "VORPANE_REAL_TEXT_CHECK", timeout=60)

    def test_an_exception_nothing_caught_ends_the_program_with_code_3(self):
        program = self.session.copy_in(winetest.required_env("VORPANE_UNCAUGHT_CHECK"))
        code, output = self.session.run(program, timeout=30)
        self.assertEqual(code, 3, output)
        self.assertNotIn("terminate called", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
