#!/usr/bin/env python3
"""Judges the HTML importer's output beside its input with html.parser.

Reads a list file of lines "input<TAB>output" and prints one line per page
that fails, "input<TAB>reason": the output must be balanced (every end tag
closes the innermost open element; void elements aside, and nothing left
open), and the words of the text (outside script and style, joined and split
at whitespace) must equal the input's, less text standing directly in a
table or tr element of the input.
"""
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
        "track", "wbr"}


class Balance(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.error = None

    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            self.stack.append(tag)

    def handle_endtag(self, tag):
        if self.error or tag in VOID:
            return
        if not self.stack or self.stack[-1] != tag:
            self.error = "end tag %s closes %s (line %d)" % (tag, self.stack[-1] if self.stack else "nothing",
                                                             self.getpos()[0])
        else:
            self.stack.pop()


class Words(HTMLParser):
    def __init__(self, skip_table_text):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.parts = []
        self.skip_table_text = skip_table_text

    def handle_starttag(self, tag, attrs):
        if tag not in VOID:
            self.stack.append(tag)

    def handle_endtag(self, tag):
        if tag in self.stack:
            while self.stack.pop() != tag:
                pass

    def handle_data(self, data):
        if "script" in self.stack or "style" in self.stack:
            return
        if self.skip_table_text and self.stack and self.stack[-1] in ("table", "tr"):
            return
        self.parts.append(data)

    def words(self):
        return "".join(self.parts).split()


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        pairs = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    for source, result in pairs:
        out = read(result)
        b = Balance()
        b.feed(out)
        b.close()
        if b.error:
            print("%s\t%s" % (source, b.error))
            continue
        if b.stack:
            print("%s\tleft open: %s" % (source, " ".join(b.stack)))
            continue
        wi = Words(True)
        wi.feed(read(source))
        wi.close()
        wo = Words(False)
        wo.feed(out)
        wo.close()
        a, c = wi.words(), wo.words()
        if a != c:
            i = next((k for k in range(min(len(a), len(c))) if a[k] != c[k]), min(len(a), len(c)))
            print("%s\twords differ at %d: %r / %r" % (source, i, a[i:i + 4], c[i:i + 4]))


if __name__ == "__main__":
    main()
