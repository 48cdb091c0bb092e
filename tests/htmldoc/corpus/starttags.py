#!/usr/bin/env python3
"""Lists every start tag of the HTML pages under the given folders as the
standard library's html.parser reads it: the tag's exact text, its name and
its attributes. The tag tests compare these records with our own parser.

Output, one record per tag, fields separated by tabs, each field the hex
digits of its UTF-8 bytes so that no character needs escaping:
  file  kind  text  name  {attr-name  attr-value|-}...
kind is "S" for a start tag and "E" for one closed by "/>"; "-" marks an
attribute written without a value.
"""
import html.parser
import os
import sys


def hexed(text):
    return text.encode("utf-8", "surrogatepass").hex()


class Lister(html.parser.HTMLParser):
    def __init__(self, file_name, out):
        super().__init__(convert_charrefs=True)
        self.file_name = file_name
        self.out = out

    def record(self, kind, tag, attrs):
        fields = [hexed(self.file_name), kind, hexed(self.get_starttag_text()), hexed(tag)]
        for name, value in attrs:
            fields.append(hexed(name))
            fields.append("-" if value is None else hexed(value))
        self.out.write("\t".join(fields) + "\n")

    def handle_starttag(self, tag, attrs):
        self.record("S", tag, attrs)

    def handle_startendtag(self, tag, attrs):
        self.record("E", tag, attrs)


def pages(roots):
    for root in roots:
        for folder, _, files in sorted(os.walk(root)):
            for name in sorted(files):
                if ".html" in name:
                    yield os.path.join(folder, name)


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: starttags.py FOLDER...")
    for root in sys.argv[1:]:
        if not os.path.isdir(root):
            sys.exit("no such folder: " + root)
    out = sys.stdout
    count = 0
    for path in pages(sys.argv[1:]):
        with open(path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        lister = Lister(path, out)
        lister.feed(text)
        lister.close()
        count += 1
    if count == 0:
        sys.exit("no HTML pages under " + " ".join(sys.argv[1:]))


if __name__ == "__main__":
    main()
