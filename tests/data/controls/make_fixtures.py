#!/usr/bin/env python3
"""Writes the small pictures the controls library's tests load.

glyph.bmp: 6 by 4, 24 bits. The bottom-left pixel is magenta, the key
colour a bitmap glyph loses when drawn transparent; two more magenta
pixels sit at (5, 0) and (2, 1); every other pixel is (40 * x, 60 * y, 200).

alpha.png: 4 by 2, RGBA. Row 0: opaque red, half-transparent red (alpha
128), fully transparent, opaque blue. Row 1: opaque green four times.
"""
import struct
import zlib

MAGENTA = (255, 0, 255)


def glyph_color(x, y):
    if (x, y) in ((0, 3), (5, 0), (2, 1)):
        return MAGENTA
    return (40 * x, 60 * y, 200)


def bmp(w, h, color):
    row = (w * 3 + 3) & ~3
    pixels = b""
    for y in reversed(range(h)):
        line = b"".join(bytes((b, g, r)) for r, g, b in (color(x, y) for x in range(w)))
        pixels += line + b"\0" * (row - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def png_rgba(w, h, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + b"".join(bytes(px) for px in row) for row in rows)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


with open("glyph.bmp", "wb") as f:
    f.write(bmp(6, 4, glyph_color))
with open("alpha.png", "wb") as f:
    f.write(png_rgba(4, 2, [[(255, 0, 0, 255), (255, 0, 0, 128), (0, 0, 0, 0), (0, 0, 255, 255)],
                            [(0, 255, 0, 255)] * 4]))
