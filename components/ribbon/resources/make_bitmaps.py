"""Draws the ribbon's own resource bitmaps: the option indicator of a group's
caption (enabled and disabled) and the pager's help glyph. Each is a plain
24-bit bitmap whose bottom-left pixel holds the colour left out when drawn.

Run from this folder: python3 make_bitmaps.py
"""
import struct

BACK = (255, 0, 255)


def bmp24(w, h, pixel):
    """A w x h 24-bit bitmap file; pixel(x, y) gives (r, g, b), rows from
    the top."""
    row = (w * 3 + 3) // 4 * 4
    data = b""
    for y in reversed(range(h)):
        line = bytearray(row)
        for x in range(w):
            r, g, b = pixel(x, y)
            line[x * 3:x * 3 + 3] = bytes((b, g, r))
        data += bytes(line)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + data


def option_indicator(ink):
    """9 x 9: a one-pixel corner frame at the top left and an arrow from
    inside it to the bottom right; the bottom row is background."""
    def pixel(x, y):
        frame = (y == 0 and x <= 4) or (x == 0 and y <= 4)
        shaft = 2 <= x <= 7 and x == y
        head = (y == 7 and 4 <= x <= 7) or (x == 7 and 4 <= y <= 7)
        return ink if frame or shaft or head else BACK
    return bmp24(9, 9, pixel)


# A question mark of 7 x 10 pixels, drawn white inside the blue disc.
QUESTION = [
    "..###..",
    ".#...#.",
    ".....#.",
    "....#..",
    "...#...",
    "...#...",
    ".......",
    "...#...",
]


def help_glyph():
    """16 x 16: a blue disc with a white question mark."""
    def pixel(x, y):
        dx, dy = x - 7.5, y - 7.5
        if dx * dx + dy * dy > 7.6 * 7.6:
            return BACK
        qx, qy = x - 4, y - 4
        if 0 <= qy < len(QUESTION) and 0 <= qx < 7 and QUESTION[qy][qx] == "#":
            return (255, 255, 255)
        return (32, 96, 192)
    return bmp24(16, 16, pixel)


if __name__ == "__main__":
    for name, data in (("OPTIONIND_PIC", option_indicator((76, 76, 76))),
                       ("OPTIONIND_PICD", option_indicator((160, 160, 160))),
                       ("RIEHELP_BTN", help_glyph())):
        with open(name + ".bmp", "wb") as f:
            f.write(data)
