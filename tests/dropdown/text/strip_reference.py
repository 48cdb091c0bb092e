"""Plain text of every HTML page of the Apache manual by the rule the grid
relies on, for the drop-down text tests: "<BR>" and "<HR>" (any case)
become CR LF, then every stretch from "<" to the next ">" goes, and a "<"
without a later ">" keeps the rest. Prints path, length and CRC-32 of the
plain text, one page a line."""
import os
import re
import sys
import zlib


def strip(data):
    data = re.sub(rb"<[bB][rR]>|<[hH][rR]>", b"\r\n", data)
    out = []
    i = 0
    while i < len(data):
        lt = data.find(b"<", i)
        if lt < 0:
            break
        gt = data.find(b">", lt + 1)
        if gt < 0:
            break
        out.append(data[i:lt])
        i = gt + 1
    out.append(data[i:])
    return b"".join(out)


def main():
    root = sys.argv[1]
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(files):
            if ".html" not in name:
                continue
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                plain = strip(f.read())
            print("%s\t%d\t%d" % (path, len(plain), zlib.crc32(plain)))


main()
