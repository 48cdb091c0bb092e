#!/usr/bin/env python3
"""Judges pages the HTML editor loaded and saved, with html.parser.

Reads a list file of lines "page<TAB>imported<TAB>saved": the importer's
output for the page (what the editor loads) and the editor's saved page.
Prints one line per difference, "page<TAB>reason":
- the words of the text (title and body, outside script and style, split
  at whitespace, non-breaking spaces included) must be equal;
- every href, src and alt value of the imported page must be in the saved
  one (as many times);
- the text of each pre element must be equal, character for character.
Both files are read as UTF-8 when they are, else as windows-1252.
"""
import sys
from collections import Counter
from html.parser import HTMLParser


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.words = []
        self.values = Counter()
        self.pres = []
        self.skip = 0
        self.pre = 0

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "style"):
            self.skip += 1
        if tag == "pre":
            if self.pre == 0:
                self.pres.append("")
            self.pre += 1
        for name, value in attrs:
            if name in ("href", "src", "alt") and value is not None:
                self.values[(name, value)] += 1

    def handle_endtag(self, tag):
        if tag in ("script", "style") and self.skip:
            self.skip -= 1
        if tag == "pre" and self.pre:
            self.pre -= 1

    def handle_data(self, data):
        if self.skip:
            return
        self.words.extend(data.split())
        if self.pre:
            self.pres[-1] += data


def read(path):
    raw = open(path, "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        text = raw.decode("cp1252", errors="replace")
    page = Page()
    page.feed(text)
    page.close()
    return page


def main():
    for line in open(sys.argv[1], encoding="utf-8"):
        name, imported, saved = line.rstrip("\n").split("\t")
        a, b = read(imported), read(saved)
        if a.words != b.words:
            i = next((k for k, (x, y) in enumerate(zip(a.words, b.words)) if x != y), min(len(a.words), len(b.words)))
            print("%s\twords differ at %d: %r / %r" % (name, i, a.words[i:i + 5], b.words[i:i + 5]))
        missing = a.values - b.values
        if missing:
            print("%s\tlost values: %r" % (name, sorted(missing)[:5]))
        if a.pres != b.pres:
            print("%s\tpre text differs (%d / %d elements)" % (name, len(a.pres), len(b.pres)))


if __name__ == "__main__":
    main()
