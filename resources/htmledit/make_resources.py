#!/usr/bin/env python3
"""Writes the HTML editor's two built-in resources beside this script:

PS_HTMLEDIT_DEFAULT_STYLES.css  the editor's default style sheet, rule by
                                rule as the layout expects it;
PS_HTMLEDIT_DEFAULT_DOWNSIZE_OVERLAY.bmp
                                the 24 x 24, 256-colour mark drawn over a
                                picture shown smaller than it is: a blue
                                rounded square with four white chevrons
                                pointing inwards, a dark shadow right and
                                below, magenta (the see-through colour)
                                around it.

The control's build embeds both files; nothing is read at run time. Run it
again after changing a rule or the mark, and commit its output.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

MARGINS_10 = ("margin-top: 0px; margin-bottom: 10px; margin-left: 0px; margin-right: 0px")

RULES = [
    ("body", "width: 500px; height: 50px; background-color: white; margin: 0px; border: 0px; "
             "padding: 10px; border-color: black; border-style: none; color: black; "
             "font-family: Times New Roman; font-size: 12pt; font-weight: normal; font-style: normal; "
             "text-align: left; text-decoration: none; text-transform: none; word-spacing: 0px; "
             "letter-spacing: 0px; clear: none"),
    ("p", "background-color: transparent; " + MARGINS_10 + "; padding: 0; border-style: none"),
    ("div", "border: 0px solid black; padding: 0px; margin: 0px"),
    ("blockquote", "background-color: transparent; " + MARGINS_10 + "; padding: 0; border: 0px none black"),
    ("b", "font-weight: bold"),
    ("i", "font-style: italic"),
    ("u", "text-decoration: underline"),
    ("a", "text-decoration: underline; color: #0000ff"),
    ("sup", "position: relative; bottom: 0.67em; font-size: 0.67em"),
    ("sub", "position: relative; top: 0.20em; font-size: 0.67em"),
    ("strong", "font-weight: bold"),
    ("cite", "font-style: italic"),
    ("em", "font-style: italic"),
    ("strike, s", "text-decoration: line-through"),
]
for level, size in (("1", "24pt"), ("2", "18pt"), ("3", "18px"), ("4", "12pt"), ("5", "10pt"), ("6", "10px")):
    RULES.append(("h%s, .h%s" % (level, level),
                  "background-color: transparent; font-size: %s; margin-top: 5px; margin-bottom: 0px; "
                  "font-weight: bold" % size))
RULES += [
    ("ul", "background-color: transparent; margin-top: 0px; margin-bottom: 0px; margin-left: 33px; "
           "margin-right: 0px; border-width: 0px; padding: 0; list-style-type: disc"),
    ("ol", "background-color: transparent; margin-top: 0px; margin-bottom: 10px; margin-left: 33px; "
           "margin-right: 0px; border-width: 0px; padding: 0; list-style-type: decimal"),
    ("li", "background-color: transparent; margin-top: 0px; margin-bottom: 0px; margin-left: 0px; "
           "margin-right: 0px; padding: 0"),
    ("table", MARGINS_10 + "; padding: 0px; border-collapse: separate; border: 0px"),
    ("tr, td", "background-color: transparent; " + MARGINS_10 + "; padding: 0px"),
    ("th", "background-color: transparent; " + MARGINS_10 + "; padding: 0px; font-weight: bold"),
    ("img", "margin: 5px; padding: 0px; border: 0px"),
    ("img:left", "margin-left: 0px"),
    ("img:right", "margin-right: 0px"),
]


def style_sheet():
    out = []
    for selector, declarations in RULES:
        out.append(selector + "\r\n{\r\n")
        for d in declarations.split("; "):
            out.append("  " + d + ";\r\n")
        out.append("}\r\n\r\n")
    return "".join(out).encode("ascii")


# Palette indices of the overlay.
MAGENTA, BLUE, WHITE, SHADOW, EDGE = range(5)
PALETTE = {MAGENTA: (255, 0, 255), BLUE: (32, 96, 208), WHITE: (255, 255, 255),
           SHADOW: (48, 48, 64), EDGE: (16, 56, 144)}


def overlay_pixels():
    size = 24
    px = [[MAGENTA] * size for _ in range(size)]
    lo, hi = 1, 20  # the square, shadow at 21 and 22
    def in_square(x, y, left, top, right, bottom):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        for cx, cy in ((left, top), (right, top), (left, bottom), (right, bottom)):
            if abs(x - cx) + abs(y - cy) < 2:
                return False
        return True
    for y in range(size):
        for x in range(size):
            if in_square(x, y, lo + 2, lo + 2, hi + 2, hi + 2):
                px[y][x] = SHADOW
    for y in range(size):
        for x in range(size):
            if in_square(x, y, lo, lo, hi, hi):
                edge = x in (lo, hi) or y in (lo, hi) or not in_square(x, y, lo + 1, lo + 1, hi - 1, hi - 1)
                px[y][x] = EDGE if edge else BLUE
    # Chevrons: an arrow head on each side, its two-pixel tip towards the
    # centre (the square is 20 pixels, so the centre lies between two).
    c0, c1 = (lo + hi) // 2, (lo + hi) // 2 + 1
    for depth in range(4):
        near, far = c0 - (3 - depth), c1 + (3 - depth)
        for a in (near, far):
            px[lo + 3 + depth][a] = WHITE
            px[hi - 3 - depth][a] = WHITE
            px[a][lo + 3 + depth] = WHITE
            px[a][hi - 3 - depth] = WHITE
    return px


def overlay_bitmap():
    px = overlay_pixels()
    size = len(px)
    row_bytes = (size + 3) // 4 * 4
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for r, g, b in (PALETTE.get(i, (0, 0, 0)) for i in range(256)))
    rows = b""
    for y in reversed(range(size)):  # bottom-up
        rows += bytes(px[y]) + b"\0" * (row_bytes - size)
    header_size = 14 + 40
    offset = header_size + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return file_header + info + palette + rows


def main():
    with open(os.path.join(HERE, "PS_HTMLEDIT_DEFAULT_STYLES.css"), "wb") as f:
        f.write(style_sheet())
    with open(os.path.join(HERE, "PS_HTMLEDIT_DEFAULT_DOWNSIZE_OVERLAY.bmp"), "wb") as f:
        f.write(overlay_bitmap())


if __name__ == "__main__":
    main()
