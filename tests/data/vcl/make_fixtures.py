#!/usr/bin/env python3
"""Writes the small pictures the class-library tests load: one 8 by 6
pattern (top row green, then red on the left half and blue on the right)
as BMP, PNG, GIF and ICO. The ICO's bottom-right pixel is transparent.
picture.jpg holds the same pattern at 16 by 12 (the top two rows green),
written once by Qt's JPEG writer at quality 95."""
import struct
import zlib

W, H = 8, 6


def color(x, y):
    if y == 0:
        return (0, 255, 0)
    return (255, 0, 0) if x < 4 else (0, 0, 255)


def bmp():
    row = (W * 3 + 3) & ~3
    pixels = b""
    for y in reversed(range(H)):
        line = b"".join(bytes((b, g, r)) for r, g, b in (color(x, y) for x in range(W)))
        pixels += line + b"\0" * (row - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def png():
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + b"".join(bytes(color(x, y)) for x in range(W)) for y in range(H))
    ihdr = struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def gif():
    palette = [(0, 255, 0), (255, 0, 0), (0, 0, 255), (0, 0, 0)]
    indices = [palette.index(color(x, y)) for y in range(H) for x in range(W)]
    # LZW with 2-bit colours: code size 2, codes start at 3 bits. A clear
    # code before every pixel keeps the table from growing.
    clear, end, width = 4, 5, 3
    bits, nbits, out = 0, 0, bytearray()
    def put(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    for i in indices:
        put(clear)
        put(i)
    put(end)
    if nbits:
        out.append(bits & 0xFF)
    data = b""
    for i in range(0, len(out), 255):
        block = bytes(out[i:i + 255])
        data += bytes((len(block),)) + block
    screen = struct.pack("<6sHHBBB", b"GIF89a", W, H, 0x81, 0, 0)
    table = b"".join(bytes(c) for c in palette)
    image = struct.pack("<BHHHHB", 0x2C, 0, 0, W, H, 0)
    return screen + table + image + bytes((2,)) + data + b"\0" + b";"


def ico():
    pixels = b""
    for y in reversed(range(H)):
        for x in range(W):
            r, g, b = color(x, y)
            a = 0 if (x, y) == (W - 1, H - 1) else 255
            pixels += bytes((b, g, r, a))
    mask_row = 4  # 8 pixels -> 1 byte, padded to 4
    mask = b"\0" * (mask_row * H)
    info = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + pixels + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", W, H, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


if __name__ == "__main__":
    import os
    here = os.path.dirname(os.path.abspath(__file__))
    for name, data in (("picture.bmp", bmp()), ("picture.png", png()), ("picture.gif", gif()), ("picture.ico", ico())):
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)
