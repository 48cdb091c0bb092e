#!/usr/bin/env python3
"""Draws the grid's node glyphs into resources/grid/ as 24-bit bitmaps.

The top-left pixel of each is magenta, the colour the grid's transparent
bitmap drawing replaces by the cell's background. XPNODEC/XPNODEO are the
10-pixel node boxes (collapsed with a plus, open with a minus),
VOELEAFCLOSE/VOELEAFOPEN the 12-pixel leaf triangles (pointing right when
collapsed, down when open).
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "grid")
KEY = (255, 0, 255)


def write_bmp(name, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(px):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
        f.write(header + info + data)


def xp_node(plus):
    px = [[KEY] * 10 for _ in range(10)]
    border = (120, 152, 181)
    for y in range(9):
        for x in range(9):
            if x in (0, 8) or y in (0, 8):
                px[y][x] = border
            else:
                v = int(255 - 40 * y / 8)
                px[y][x] = (v, v, min(255, v + 8))
    for x in range(2, 7):
        px[4][x] = (0, 0, 0)
    if plus:
        for y in range(2, 7):
            px[y][4] = (0, 0, 0)
    for (x, y) in ((0, 0), (8, 0), (0, 8), (8, 8)):
        px[y][x] = KEY
    return px


def leaf(is_open):
    px = [[KEY] * 12 for _ in range(12)]
    ink = (64, 64, 64)
    for i in range(5):
        for j in range(2 + i, 11 - i):
            if is_open:
                px[3 + i][j] = ink
            else:
                px[j][3 + i] = ink
    return px


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    write_bmp("XPNODEC", xp_node(True))
    write_bmp("XPNODEO", xp_node(False))
    write_bmp("VOELEAFCLOSE", leaf(False))
    write_bmp("VOELEAFOPEN", leaf(True))
