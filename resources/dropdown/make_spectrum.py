#!/usr/bin/env python3
"""Writes RUZ_SPECTRUM.bmp, the colour picker's 128 x 128 spectrum.

Across: the hue once round the colour circle, red at x = 0 (360 degrees
over 128 columns, so green near 43, cyan at 64, blue near 85, magenta near
107). Down each column: white at the top, the pure hue at row 64, black at
the bottom row. 24 bits a pixel, bottom-up rows as bitmaps keep them.
"""
import colorsys
import struct
import sys
from pathlib import Path

SIZE = 128


def pixel(x, y):
    r, g, b = colorsys.hsv_to_rgb(x / SIZE, 1.0, 1.0)
    if y <= 64:
        t = y / 64
        r, g, b = (1 + (c - 1) * t for c in (r, g, b))
    else:
        t = (SIZE - 1 - y) / (SIZE - 1 - 64)
        r, g, b = (c * t for c in (r, g, b))
    return tuple(int(round(c * 255)) for c in (r, g, b))


def main(out):
    row_bytes = SIZE * 3  # 384, already a multiple of four
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            pixels += bytes((b, g, r))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, row_bytes * SIZE, 2835, 2835, 0, 0)
    Path(out).write_bytes(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).with_name("RUZ_SPECTRUM.bmp"))
