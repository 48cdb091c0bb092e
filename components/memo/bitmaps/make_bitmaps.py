#!/usr/bin/env python3
"""Draws the code editor's pictures as 24-bit bitmap files (rows count from
the top, colours given as r, g, b):

RUZ_FLAG.bmp  16 x 16 on teal (0x808000 in the editor's 0xBBGGRR form), the
              transparent colour: the gutter draws the picture transparent
              and takes the bottom-left pixel as that colour. A black pole
              in column 3 from row 1 to row 14 with a foot in row 14
              (columns 2 to 5); a red pennant from row 2 to row 8, its left
              edge at column 4, its right edge at column 12 in row 5 and one
              column further left for each row above and below, outlined in
              dark red (0x000080) on its top, bottom and right edges.

The completion list's entry pictures, 16 x 16 on lime (0x00FF00), which the
list draws as see-through:
RUZ_VAR.bmp     a variable: a blue box (columns 2 to 13, rows 4 to 11)
                outlined in navy, with a white bar through its middle row.
RUZ_PROP.bmp    a property: a teal page (columns 3 to 12, rows 2 to 13)
                outlined in black, with three white lines of text.
RUZ_EVENT.bmp   an event: a yellow lightning bolt outlined in dark red.
RUZ_PROC.bmp    a procedure or function: a purple diamond centred on (7, 7)
                reaching 6 pixels out, outlined in black.
RUZ_METHOD.bmp  a method: a navy box (columns 2 to 13, rows 2 to 13) with a
                purple diamond of 4 pixels inside.
"""
import struct

W, H = 16, 16
TEAL = (0x00, 0x80, 0x80)
LIME = (0x00, 0xFF, 0x00)
BLACK = (0, 0, 0)
WHITE = (0xFF, 0xFF, 0xFF)
RED = (0xFF, 0, 0)
DARK_RED = (0x80, 0, 0)
BLUE = (0, 0, 0xFF)
NAVY = (0, 0, 0x80)
YELLOW = (0xFF, 0xFF, 0)
PURPLE = (0x80, 0, 0x80)
CYAN = (0x00, 0xC0, 0xC0)


def flag(x, y):
    if x == 3 and 1 <= y <= 14:
        return BLACK
    if y == 14 and 2 <= x <= 5:
        return BLACK
    if 2 <= y <= 8:
        right = 12 - abs(y - 5)  # widest in the middle row, a wedge outline
        if 4 <= x <= right:
            return DARK_RED if y in (2, 8) or x == right else RED
    return TEAL


def box(x, y, left, top, right, bottom):
    """'edge' on the outline, 'in' inside, None outside."""
    if not (left <= x <= right and top <= y <= bottom):
        return None
    return "edge" if x in (left, right) or y in (top, bottom) else "in"


def var(x, y):
    b = box(x, y, 2, 4, 13, 11)
    if b == "edge":
        return NAVY
    if b == "in":
        return WHITE if y in (7, 8) and 4 <= x <= 11 else BLUE
    return LIME


def prop(x, y):
    b = box(x, y, 3, 2, 12, 13)
    if b == "edge":
        return BLACK
    if b == "in":
        return WHITE if y in (5, 8, 11) and 5 <= x <= 10 else CYAN
    return LIME


def event(x, y):
    # A bolt: a band slanting down-left, a step, then another band.
    def inside(px, py):
        if 1 <= py <= 7:
            left = 9 - (py - 1) // 2
            return left <= px <= left + 3
        if py == 8:
            return 5 <= px <= 11
        if 9 <= py <= 14:
            left = 9 - (py - 9) // 2
            return left <= px <= left + 2 and px >= 5
        return False
    if inside(x, y):
        edge = not all(inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        return DARK_RED if edge else YELLOW
    return LIME


def diamond(x, y, cx, cy, r):
    d = abs(x - cx) + abs(y - cy)
    if d > r:
        return None
    return "edge" if d == r else "in"


def proc(x, y):
    d = diamond(x, y, 7, 7, 6)
    if d == "edge":
        return BLACK
    if d == "in":
        return PURPLE
    return LIME


def method(x, y):
    d = diamond(x, y, 7, 7, 4)
    if d is not None:
        return PURPLE
    b = box(x, y, 2, 2, 13, 13)
    if b == "edge":
        return BLACK
    if b == "in":
        return NAVY
    return LIME


def bmp24(pixel):
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


for name, pixel in (("RUZ_FLAG", flag), ("RUZ_VAR", var), ("RUZ_PROP", prop), ("RUZ_EVENT", event),
                    ("RUZ_PROC", proc), ("RUZ_METHOD", method)):
    with open(name + ".bmp", "wb") as f:
        f.write(bmp24(pixel))
