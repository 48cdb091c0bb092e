#!/usr/bin/env python3
"""Writes the spin edit's arrow glyphs into resources/dropdown: 9 x 6
pixels, 16 colours, olive (128, 128, 0) where the button shows through, a
black centred triangle whose rows are 7, 5, 3 and 1 pixels wide between an
empty first and last row (the point at the top for VOESPINUP, at the bottom
for VOESPINDOWN)."""
import os
import struct
import sys

# The 16-colour palette: (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
OLIVE, BLACK = 3, 0
WIDTH, HEIGHT = 9, 6


def glyph(point_up):
    widths = [1, 3, 5, 7] if point_up else [7, 5, 3, 1]
    rows = [[OLIVE] * WIDTH for _ in range(HEIGHT)]
    for i, w in enumerate(widths):
        start = (WIDTH - w) // 2
        for x in range(start, start + w):
            rows[i + 1][x] = BLACK
    return rows


def bmp(rows):
    stride = ((WIDTH * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # bottom row first
        packed = bytearray(stride)
        for x, c in enumerate(row):
            packed[x // 2] |= c << (4 if x % 2 == 0 else 0)
        pixels += bytes(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    return header + info + palette + pixels


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/dropdown"
    os.makedirs(out, exist_ok=True)
    for name, up in (("VOESPINUP", True), ("VOESPINDOWN", False)):
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp(glyph(up)))


if __name__ == "__main__":
    main()
