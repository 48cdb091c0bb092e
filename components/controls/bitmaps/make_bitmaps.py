#!/usr/bin/env python3
"""Draws the styled menus' three default glyphs as 1-bit bitmap files:

LUMSUBMENUITEM.bmp  4 x 7: a black triangle pointing right on white; its
                    columns are 7, 5, 3 and 1 pixels tall, centred on row 3.
LUMCHECKITEM.bmp    16 x 16: a black check mark three pixels thick in rows
                    4 to 11 and columns 4 to 11, its lowest point at row 11,
                    column 6, rising to row 4 at column 11, its short arm to
                    row 7 at column 4.
LUMRADIOITEM.bmp    16 x 16: a black dot in rows and columns 5 to 10 with its
                    four corner pixels cut.
Rows count from the top.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../resources"))
from onebit import bmp1  # noqa: E402


def submenu(x, y):
    half = 3 - x
    return abs(y - 3) <= half


def check(x, y):
    if 6 <= x <= 11:
        top = 9 - (x - 6)
        return top <= y <= top + 2
    if x == 5:
        return 8 <= y <= 10
    if x == 4:
        return 7 <= y <= 9
    return False


def radio(x, y):
    if not (5 <= x <= 10 and 5 <= y <= 10):
        return False
    return (x, y) not in ((5, 5), (10, 5), (5, 10), (10, 10))


for name, w, h, shape in (("LUMSUBMENUITEM", 4, 7, submenu), ("LUMCHECKITEM", 16, 16, check),
                          ("LUMRADIOITEM", 16, 16, radio)):
    with open(name + ".bmp", "wb") as f:
        f.write(bmp1(w, h, shape))
