#!/usr/bin/env python3
"""Text runs of real pages and what Python's html module makes of them.

  textruns.py runs FOLDER...
      Every text run of the HTML pages under the folders, where the standard
      library's html.parser finds one (between tags, outside script and
      style), as the raw bytes of the page and as html.unescape of them.
      One record a line: hex(raw) <tab> hex(unescaped), UTF-8.
  textruns.py unescape FILE
      Each line of FILE is hex of UTF-8 text; prints hex of html.unescape of
      it, one a line.
"""
import html
import html.parser
import os
import sys


def hexed(text):
    return text.encode("utf-8", "surrogatepass").hex()


class Runs(html.parser.HTMLParser):
    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.text = text
        self.line_starts = [0]
        for i, c in enumerate(text):
            if c == "\n":
                self.line_starts.append(i + 1)
        self.events = []  # (offset, is_data)

    def position(self):
        line, column = self.getpos()
        return self.line_starts[line - 1] + column

    def handle_data(self, data):
        self.events.append((self.position(), True))

    def other(self, *args):
        self.events.append((self.position(), False))

    handle_starttag = other
    handle_endtag = other
    handle_startendtag = other
    handle_comment = other
    handle_decl = other
    handle_pi = other
    unknown_decl = other

    def runs(self):
        ends = [offset for offset, _ in self.events[1:]] + [len(self.text)]
        for (start, is_data), end in zip(self.events, ends):
            if is_data and self.cdata_elem is None:
                yield self.text[start:end]


def pages(roots):
    for root in roots:
        for folder, _, files in sorted(os.walk(root)):
            for name in sorted(files):
                if name.endswith(".html") or ".html." in name:
                    yield os.path.join(folder, name)


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "runs":
        for path in pages(sys.argv[2:]):
            with open(path, "rb") as f:
                text = f.read().decode("utf-8", "replace")
            parser = Runs(text)
            parser.feed(text)
            parser.close()
            for run in parser.runs():
                if run.strip():
                    sys.stdout.write(hexed(run) + "\t" + hexed(html.unescape(run)) + "\n")
    elif len(sys.argv) == 3 and sys.argv[1] == "unescape":
        with open(sys.argv[2], "r", encoding="ascii") as f:
            for line in f:
                text = bytes.fromhex(line.strip()).decode("utf-8", "surrogatepass")
                sys.stdout.write(hexed(html.unescape(text)) + "\n")
    else:
        sys.exit("usage: textruns.py runs FOLDER... | unescape FILE")


if __name__ == "__main__":
    main()
