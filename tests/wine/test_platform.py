"""The Windows platform against the real system calls, with drives of every kind."""

import time
import unittest

import winetest


def make_finder_tree(tree):
    """What the finder must cope with on E:: a link back to its own ancestor, a
    hidden folder and folders nested deeper than a path may be long."""
    (tree / "inner").mkdir(parents=True)
    (tree / "inner" / "Vorpane.Dat").write_bytes(b"\x0e")
    (tree / "Loop").symlink_to(tree)
    (tree / ".hidden").mkdir()
    (tree / ".hidden" / "Vorpane.Dat").write_bytes(b"\x0e")
    deep = tree / "deep"
    for level in range(30):
        deep = deep / f"level-{level:02d}-of-a-long-chain"
    deep.mkdir(parents=True)
    (deep / "Vorpane.Dat").write_bytes(b"\x0e")


class Win32PlatformUnderWine(winetest.SessionTestCase):
    session_name = "platform"

    @classmethod
    def set_up_session(cls):
        session = cls.session
        session.add_drive("e", "hd")
        session.add_drive("d", "cdrom")
        session.add_drive("n", "network")
        session.add_drive("r", "floppy")
        # A CD-ROM drive without a medium: its folder is not there.
        session.add_drive("m", "cdrom").rmdir()
        # A drive that is only another name for a folder of C:.
        session.add_drive("l", "hd", folder="C:\\Linked")
        make_finder_tree(session.host_path("E:\\tree"))

    def test_platform_checks_pass(self):
        winetest.run_check_program(self, self.session, "VORPANE_PLATFORM_CHECK")

    def test_the_desktop_outlives_the_programs_of_a_session(self):
        # Wine closes a desktop about a second after its last program has
        # ended; the session's keeper holds it, so no start waits for a new one.
        def desktop_holder():
            code, output = self.session.run(self.session._winprobe(), "desktop")
            self.assertEqual(code, 0, output)
            return output.split()

        first = desktop_holder()
        time.sleep(2)
        self.assertEqual(desktop_holder(), first)


if __name__ == "__main__":
    unittest.main(verbosity=2)
