#!/usr/bin/env python3
"""Draws the code editor's flag glyph, the picture the gutter shows beside a
flagged line, as a 24-bit bitmap file:

RUZ_FLAG.bmp  16 x 16 on teal (0x808000 in the editor's 0xBBGGRR form), the
              transparent colour: the gutter draws the picture transparent
              and takes the bottom-left pixel as that colour. A black pole
              in column 3 from row 1 to row 14 with a foot in row 14
              (columns 2 to 5); a red pennant from row 2 to row 8, its left
              edge at column 4, its right edge at column 12 in row 5 and one
              column further left for each row above and below, outlined in
              dark red (0x000080) on its top, bottom and right edges.
Rows count from the top.
"""
import struct

W, H = 16, 16
BACKGROUND = (0x00, 0x80, 0x80)  # r, g, b
BLACK = (0, 0, 0)
RED = (0xFF, 0, 0)
DARK_RED = (0x80, 0, 0)


def pixel(x, y):
    if x == 3 and 1 <= y <= 14:
        return BLACK
    if y == 14 and 2 <= x <= 5:
        return BLACK
    if 2 <= y <= 8:
        right = 12 - abs(y - 5)  # widest in the middle row, a wedge outline
        if 4 <= x <= right:
            return DARK_RED if y in (2, 8) or x == right else RED
    return BACKGROUND


def bmp24():
    row = ((W * 3 + 3) // 4) * 4
    data = b""
    for y in reversed(range(H)):
        line = bytearray()
        for x in range(W):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += bytes(line)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + data


with open("RUZ_FLAG.bmp", "wb") as f:
    f.write(bmp24())
