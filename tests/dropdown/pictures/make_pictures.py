#!/usr/bin/python3
"""Pictures for the mini-HTML picture tests, made by PIL from files no one
here wrote: every GIF and PNG of a folder as it is, with a JPEG and a BMP
copy of each, and a three-frame animated GIF of our own design.

usage: make_pictures.py SOURCE_FOLDER OUTPUT_FOLDER

Prints one line per picture file:
  PICTURE path width height frame_width frame_height
(frame_* is the first image's own size for a GIF, else the picture's) and,
for the animation, one line per frame:
  FRAME index left top width height RRGGBB RRGGBB ... (the frame's pixels, rows
  top to bottom)."""
import os
import sys

from PIL import Image


def first_frame_size(im):
    if im.format == "GIF" and im.tile:
        x0, y0, x1, y1 = im.tile[0][1]
        return x1 - x0, y1 - y0
    return im.size


def main():
    source, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name in sorted(os.listdir(source)):
        base, ext = os.path.splitext(name)
        if ext.lower() not in (".gif", ".png"):
            continue
        path = os.path.join(source, name)
        with Image.open(path) as im:
            fw, fh = first_frame_size(im)
            print("PICTURE", path, im.size[0], im.size[1], fw, fh)
            rgb = im.convert("RGB")
            for kind in ("jpg", "bmp"):
                copy = os.path.join(out, "%s_%s.%s" % (base, ext[1:].lower(), kind))
                rgb.save(copy, "JPEG" if kind == "jpg" else "BMP")
                print("PICTURE", copy, rgb.size[0], rgb.size[1], rgb.size[0], rgb.size[1])

    # The animation: a white field, then a red block, then a blue one beside
    # it; PIL writes each later frame as the rectangle that changed.
    frames = [Image.new("RGB", (40, 30), (255, 255, 255))]
    second = frames[0].copy()
    second.paste((255, 0, 0), (5, 4, 15, 12))
    frames.append(second)
    third = second.copy()
    third.paste((0, 0, 255), (20, 15, 26, 21))
    frames.append(third)
    anim = os.path.join(out, "animation.gif")
    frames[0].save(anim, save_all=True, append_images=frames[1:], duration=100, loop=0, disposal=1)
    with Image.open(anim) as im:
        print("PICTURE", anim, im.size[0], im.size[1], *first_frame_size(im))
        for i in range(im.n_frames):
            im.seek(i)
            x0, y0, x1, y1 = im.tile[0][1] if im.tile else im.dispose_extent
            whole = im.convert("RGB")
            pixels = []
            for y in range(y0, y1):
                for x in range(x0, x1):
                    pixels.append("%02X%02X%02X" % whole.getpixel((x, y)))
            print("FRAME", i + 1, x0, y0, x1 - x0, y1 - y0, " ".join(pixels))


if __name__ == "__main__":
    main()
