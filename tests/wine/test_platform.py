"""The Windows platform against the real system calls, with drives of every kind."""

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


class Win32PlatformUnderWine(unittest.TestCase):
    def test_platform_checks_pass(self):
        with winetest.WineSession("platform") as session:
            session.add_drive("e", "hd")
            session.add_drive("d", "cdrom")
            session.add_drive("n", "network")
            session.add_drive("r", "floppy")
            # A CD-ROM drive without a medium: its folder is not there.
            session.add_drive("m", "cdrom").rmdir()
            # A drive that is only another name for a folder of C:.
            session.add_drive("l", "hd", folder="C:\\Linked")
            make_finder_tree(session.host_path("E:\\tree"))
            program = session.copy_in(winetest.required_env("VORPANE_PLATFORM_CHECK"))
            code, output = session.run(program, timeout=120)
            print(output, end="")
            self.assertEqual(code, 0, output)
            self.assertNotIn("FAIL", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
