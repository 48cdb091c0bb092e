"""One-bit bitmap files for the scripts that draw our resource glyphs."""
import struct


def bmp1(w, h, black):
    """A w x h bitmap file, black where black(x, y) holds (rows count from
    the top), white elsewhere."""
    row = ((w + 31) // 32) * 4
    data = b""
    for y in reversed(range(h)):
        line = bytearray(row)
        for x in range(w):
            if not black(x, y):
                line[x // 8] |= 0x80 >> (x % 8)
        data += bytes(line)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(data), 2835, 2835, 2, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + palette + data
