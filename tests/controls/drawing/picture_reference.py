#!/usr/bin/env python3
"""Lists picture files no one here wrote, with what Python's imaging
library (PIL) reads in them: every PNG, GIF and ICO of Apache's manual
images, the JPEG files Qt's documentation ships, and BMP files PIL writes
from some of those images at 1 bit, 8 bits with a palette and 24 bits
into the folder given as the only argument.

One line per file: path, PIL's format name, width, height (tab-separated).
"""
import glob
import os
import sys

from PIL import Image

APACHE = "/usr/share/doc/apache2-doc/manual/images"
QT = "/usr/share/qt6/doc/global/template/images"

out = sys.argv[1]
os.makedirs(out, exist_ok=True)

files = []
for pattern in ("*.png", "*.gif", "*.ico"):
    files += sorted(glob.glob(os.path.join(APACHE, pattern)))
files += sorted(glob.glob(os.path.join(QT, "*.jpg")))

sources = sorted(glob.glob(os.path.join(APACHE, "*.png")))[:4] + sorted(glob.glob(os.path.join(APACHE, "*.gif")))[:2]
for src in sources:
    base = os.path.splitext(os.path.basename(src))[0]
    with Image.open(src) as im:
        rgb = im.convert("RGB")
        for mode, suffix in (("1", "1bit"), ("P", "8bit"), ("RGB", "24bit")):
            target = os.path.join(out, "%s-%s.bmp" % (base, suffix))
            converted = rgb.convert(mode) if mode != "P" else rgb.convert("P", palette=Image.ADAPTIVE, colors=256)
            converted.save(target, "BMP")
            files.append(target)

for path in files:
    with Image.open(path) as im:
        print("%s\t%s\t%d\t%d" % (path, im.format, im.size[0], im.size[1]))
