#!/usr/bin/env python3
"""Draws the tool panels' four resource bitmaps as 1-bit bitmap files,
black on white (rows and columns count from the top left):

RUZ_UPDOWN.bmp     17 x 9: the strip's scroll arrows; a triangle pointing
                   down in the left half (rows 2 to 5, 7 pixels wide at
                   row 2 narrowing to column 4 at row 5) and one pointing
                   up in the right half (column 12 at row 2 widening to
                   columns 9 to 15 at row 5).
RUZ_CLOSEBTN.bmp   16 x 16: a cross, two diagonals two pixels thick in
                   rows and columns 4 to 11.
RUZ_LOCKPIN.bmp    16 x 16: a pin pointing down: a head outlined in
                   columns 5 to 10, rows 2 to 8, a bar across row 9 from
                   column 3 to 12, the point in columns 7 and 8 down to
                   row 14.
RUZ_UNLOCKPIN.bmp  16 x 16: the same pin pointing left: head in columns 7
                   to 13, rows 5 to 10, bar down column 6 from row 3 to 12,
                   the point in rows 7 and 8 from column 1.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from onebit import bmp1  # noqa: E402


def updown(x, y):
    if not 2 <= y <= 5:
        return False
    if x <= 7:
        return abs(x - 4) <= 5 - y
    return abs(x - 12) <= y - 2


def cross(x, y):
    if not (4 <= x <= 11 and 4 <= y <= 11):
        return False
    return x - y in (0, 1) or x + y in (15, 16)


def pin_down(x, y):
    if 2 <= y <= 8 and 5 <= x <= 10:
        return y in (2, 8) or x in (5, 10)
    if y == 9:
        return 3 <= x <= 12
    return 10 <= y <= 14 and x in (7, 8)


def pin_left(x, y):
    if 7 <= x <= 13 and 5 <= y <= 10:
        return x in (7, 13) or y in (5, 10)
    if x == 6:
        return 3 <= y <= 12
    return 1 <= x <= 5 and y in (7, 8)


for name, w, h, shape in (("RUZ_UPDOWN", 17, 9, updown), ("RUZ_CLOSEBTN", 16, 16, cross),
                          ("RUZ_LOCKPIN", 16, 16, pin_down), ("RUZ_UNLOCKPIN", 16, 16, pin_left)):
    with open(name + ".bmp", "wb") as f:
        f.write(bmp1(w, h, shape))
