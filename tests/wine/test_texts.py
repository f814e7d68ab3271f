"""Every text of every page is shown whole at 100 %, 125 % and 150 % of 96 dpi:
text_check, a GoogleTest program told the session's dpi, measures each in the
font it is drawn with at its window's width and wrapping. A picture of each
page at each scale stays in the artefacts."""

import struct
import unittest

import winetest


def bmp_to_png(bmp_path, png_path):
    """Converts text_check's 24-bit bottom-up bitmap into a PNG."""
    data = bmp_path.read_bytes()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for row in range(height - 1, -1, -1):
        line = data[offset + row * stride:offset + row * stride + width * 3]
        rows.append(bytes(b for i in range(0, len(line), 3) for b in (line[i + 2], line[i + 1], line[i])))
    winetest.write_png(png_path, width, height, b"".join(rows))


class EveryTextWhole(unittest.TestCase):
    def check_texts(self, dpi):
        with winetest.WineSession(f"texts-{dpi}dpi") as session:
            winetest.set_dpi(self, session, dpi)
            pictures = "C:\\Pictures"
            session.host_path("C:\\").joinpath("Pictures").mkdir(exist_ok=True)
            try:
                winetest.run_check_program(self, session, "VORPANE_TEXT_CHECK", pictures, str(dpi))
            finally:
                for bmp in sorted(session.host_path(pictures).glob("*.bmp")):
                    bmp_to_png(bmp, session.artefacts / (bmp.stem + ".png"))

    def test_texts_fit_at_100_percent(self):
        self.check_texts(96)

    def test_texts_fit_at_125_percent(self):
        self.check_texts(120)

    def test_texts_fit_at_150_percent(self):
        self.check_texts(144)


if __name__ == "__main__":
    unittest.main(verbosity=2)
