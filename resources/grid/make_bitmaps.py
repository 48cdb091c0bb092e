#!/usr/bin/env python3
"""Draws the grid's check-box, radio-button and filter glyphs as 24-bit BMP
files beside this script. The top-left pixel of each is the transparent
key (magenta), as the grid draws them with it see-through.

Order of the four of each kind: checked enabled, unchecked enabled, checked
disabled, unchecked disabled."""
import os
import struct

KEY = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))


def write_bmp(name, pixels):
    h = len(pixels)
    w = len(pixels[0])
    row_size = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name + ".bmp"), "wb") as f:
        f.write(header + info + data)


def canvas(size):
    return [[KEY for _ in range(size)] for _ in range(size)]


def box(p, x0, y0, x1, y1, frame, fill):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            p[y][x] = frame if edge else fill


def check_mark(p, x0, y0, colour):
    # A tick two pixels thick: down from (x0, y0 + 2) to (x0 + 2, y0 + 4),
    # then up to (x0 + 6, y0).
    points = [(x0, y0 + 2), (x0 + 1, y0 + 3), (x0 + 2, y0 + 4), (x0 + 3, y0 + 3), (x0 + 4, y0 + 2),
              (x0 + 5, y0 + 1), (x0 + 6, y0)]
    for (x, y) in points:
        p[y][x] = colour
        p[y + 1][x] = colour


def disc(p, cx, cy, radius, colour):
    for y in range(len(p)):
        for x in range(len(p)):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                p[y][x] = colour


def ring(p, cx, cy, radius, frame, fill):
    disc(p, cx, cy, radius, frame)
    disc(p, cx, cy, radius - 1, fill)


def check_boxes(size, inset, frame, fill, mark, prefix, first):
    looks = [(frame, fill, mark, True), (frame, fill, mark, False),
             ((160, 160, 160), (236, 236, 236), (160, 160, 160), True),
             ((160, 160, 160), (236, 236, 236), None, False)]
    for i, (fr, fi, mk, checked) in enumerate(looks):
        p = canvas(size)
        box(p, inset, inset, size - inset - 1, size - inset - 1, fr, fi)
        if checked:
            check_mark(p, inset + 3, inset + 3 + (size - 2 * inset - 12) // 2, mk)
        write_bmp("%s%02d" % (prefix, first + i), p)


def radios(frame, fill, dot, prefix, first):
    looks = [(frame, fill, dot, True), (frame, fill, dot, False),
             ((160, 160, 160), (236, 236, 236), (160, 160, 160), True),
             ((160, 160, 160), (236, 236, 236), None, False)]
    for i, (fr, fi, dt, checked) in enumerate(looks):
        p = canvas(16)
        ring(p, 8, 8, 6.5, fr, fi)
        if checked:
            disc(p, 8, 8, 2.6, dt)
        write_bmp("%s%02d" % (prefix, first + i), p)


def filter_glyph():
    p = canvas(16)
    colour = (0, 0, 0)
    for y in range(3, 8):
        for x in range(2 + (y - 3), 14 - (y - 3)):
            p[y][x] = colour
    for y in range(8, 14):
        for x in range(7, 9):
            p[y][x] = colour
    write_bmp("VOEFILT", p)


# RUZ: 20 x 20, a dark blue frame on white with a navy tick.
check_boxes(20, 3, (28, 81, 128), (255, 255, 255), (0, 0, 128), "VOECHK", 1)
# Windows XP: 16 x 16, the XP blue frame with a green tick.
check_boxes(16, 1, (28, 81, 128), (244, 244, 240), (33, 161, 33), "VOECHK", 5)
radios((28, 81, 128), (255, 255, 255), (0, 0, 128), "VOERAD", 1)
radios((28, 81, 128), (244, 244, 240), (33, 161, 33), "VOERAD", 5)
filter_glyph()
