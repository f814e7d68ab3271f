#!/usr/bin/env python3
"""Packs a 32x32 RGBA raw image into a 16-colour (4 bits per pixel) icon file.

Each pixel takes the nearest of the sixteen standard colours; pixels that are
mostly transparent go into the icon's mask instead.

    ico4.py input.rgba output.ico
"""
import struct
import sys

SIZE = 32
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], rgb)))


def main(source, target):
    raw = open(source, "rb").read()
    if len(raw) != SIZE * SIZE * 4:
        sys.exit(f"{source}: expected {SIZE}x{SIZE} RGBA, got {len(raw)} bytes")
    indices, mask = [], []
    for i in range(SIZE * SIZE):
        r, g, b, a = raw[4 * i:4 * i + 4]
        opaque = a >= 128
        indices.append(nearest((r, g, b)) if opaque else 0)
        mask.append(0 if opaque else 1)

    colour_rows, mask_rows = [], []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        row = indices[y * SIZE:(y + 1) * SIZE]
        colour_rows.append(bytes((row[x] << 4) | row[x + 1] for x in range(0, SIZE, 2)))
        bits = mask[y * SIZE:(y + 1) * SIZE]
        mask_rows.append(bytes(
            sum(bits[x + k] << (7 - k) for k in range(8)) for x in range(0, SIZE, 8)))
    colour = b"".join(colour_rows)
    and_mask = b"".join(mask_rows)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(colour) + len(and_mask), 0, 0, 16, 0)
    image = header + palette + colour + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    with open(target, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
