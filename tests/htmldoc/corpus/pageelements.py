#!/usr/bin/env python3
"""Real pages as the editor's page parser should read them, from the events
of Python's html.parser with the editor's reading rules applied.

  pageelements.py elements FILE...
      For each page: a line "P <tab> hex(path)", then one line per element,
      hex of its UTF-8 text:
        "open NAME a="v" ..."  an opening tag (attribute names lower-case,
        "empty NAME ..."       empty values dropped, a name without value
        "close NAME"           as its value, a name given twice keeps its
                               first place and its last value)
        "text ..."             characters (references decoded, white space
                               collapsed, a body tab as two no-break spaces)
        "comment <!--...-->"   a comment as written
        "verbatim ..."         an item kept as written: "<![CDATA[...]]>",
                               "<?...>", "<!...>", an "hr" tag, the content
                               of a style or script element, a script in
                               the body as a whole
      and a line "X" when the page makes the parser fail (a closing html,
      head, title or body tag with none of them open).
      Left out as the editor leaves them out: the doctype, the title with
      its text. An unknown tag in the body stands as itself (the parser
      keeps it between two "@cust" tags; the test reads them back as the
      tag), one whose closing tag never comes as an opening tag.
  pageelements.py tree FILE...
      For each page a line "P <tab> hex(path)", then the tree
      html5lib builds from it: one line per node, hex of "DEPTH element NAME a="v" ...", "DEPTH text ..." (white space
      collapsed, runs of white space only left out) or "DEPTH comment ...".
"""
import html.parser
import re
import sys

KNOWN = {
    "i", "b", "u", "a", "span", "strong", "cite", "em", "sub", "sup", "s", "strike",
    "h1", "h2", "h3", "h4", "h5", "h6", "p", "div", "blockquote", "ul", "ol", "li",
    "table", "tr", "td", "th", "img", "br", "@cust", "@drv", "body", "head", "html",
    "title", "style", "meta", "link",
}
PARTS = {"html": "html", "head": "head", "title": "title", "body": "body"}
TAB_STOPS = 2


def hexed(text):
    return text.encode("utf-8", "surrogatepass").hex()


def quote(value):
    return '"' + value + '"'


def tag_item(kind, name, attrs):
    names, values = [], {}
    for attr, value in attrs:
        if attr not in values:
            names.append(attr)
        # A name without a value stands for itself, as the tag parser reads it.
        values[attr] = attr if value is None else value
    text = kind + " " + name
    for attr in names:
        if values[attr]:
            text += " " + attr + "=" + quote(values[attr])
    return text


class Events(html.parser.HTMLParser):
    """The events in order, each with its offset in the page."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.text = text
        self.line_starts = [0] + [m.end() for m in re.finditer("\n", text)]
        self.events = []

    def where(self):
        line, column = self.getpos()
        return self.line_starts[line - 1] + column

    def add(self, *event):
        self.events.append((self.where(),) + event)

    def handle_starttag(self, tag, attrs):
        self.add("start", tag, attrs, self.get_starttag_text())

    def handle_startendtag(self, tag, attrs):
        self.add("startend", tag, attrs, self.get_starttag_text())

    def handle_endtag(self, tag):
        self.add("end", tag)

    def handle_data(self, data):
        if self.events and self.events[-1][1] == "data":
            offset, _, before, cdata = self.events[-1]
            self.events[-1] = (offset, "data", before + data, cdata)
        else:
            self.add("data", data, self.cdata_elem is not None)

    def handle_comment(self, data):
        self.add("comment", "<!--" + data + "-->")

    def handle_decl(self, decl):
        self.add("decl", "<!" + decl + ">")

    def handle_pi(self, data):
        self.add("verbatim", "<?" + data + ">")

    def unknown_decl(self, data):
        self.add("verbatim", "<![" + data + "]>")


class Reader:
    """The editor's reading of the events: its parts, its custom tags."""

    def __init__(self):
        self.items = []
        self.states = []
        self.failed = False

    def state(self):
        return self.states[-1] if self.states else "none"

    def text(self, data, in_body):
        if in_body:
            data = data.replace("\t", "\u00a0" * TAB_STOPS)
        collapsed = []
        previous = " " if self.items and self.items[-1].endswith(" ") and self.items[-1].startswith("text ") else "\t"
        for c in data:
            if c == "\r":
                continue
            if c in "\t\n":
                c = " "
            if c == " " and previous == " ":
                continue
            collapsed.append(c)
            previous = c
        run = "".join(collapsed)
        if not run:
            return
        if self.items and self.items[-1].startswith("text "):
            self.items[-1] += run
        else:
            self.items.append("text " + run)

    def read(self, events, text):
        ends = [e[0] for e in events[1:]] + [len(text)]
        skip_until = -1
        for index, (event, end) in enumerate(zip(events, ends)):
            if self.failed:
                return
            if index <= skip_until:
                continue
            offset, kind = event[0], event[1]
            raw = text[offset:end]
            state = self.state()
            in_body = state in ("none", "body")
            if kind == "data":
                if event[3]:  # style or script content, kept whole
                    if state != "title":
                        self.items.append("verbatim " + event[2])
                elif state != "title":
                    self.text(event[2], in_body)
                continue
            if kind in ("comment", "decl", "verbatim"):
                if state == "title" or (kind == "decl" and event[2].lower().startswith("<!doctype")):
                    continue
                self.items.append(("comment " if kind == "comment" else "verbatim ") + event[2])
                continue
            name = event[2]
            tag_kind = {"start": "open", "startend": "empty", "end": "close"}[kind]
            if name in PARTS:
                if kind == "start":
                    self.states.append(PARTS[name])
                    state = PARTS[name]
                elif kind == "end":
                    if not self.states:
                        self.failed = True
                        return
                    self.states.pop()
            in_body = state in ("none", "body")
            if state == "title":
                continue
            attrs = event[3] if kind != "end" else []
            if not in_body or name in KNOWN:
                if in_body and name == "img":
                    tag_kind = "empty"
                self.items.append(tag_item(tag_kind, name, attrs))
                continue
            if name == "hr":
                self.items.append("verbatim " + raw)
                continue
            if name == "script":
                whole = raw
                if kind == "start":
                    # The content and the closing tag go with it.
                    for follow in range(index + 1, len(events)):
                        whole += text[events[follow][0]:ends[follow]]
                        skip_until = follow
                        if events[follow][1] == "end" and events[follow][2] == "script":
                            break
                self.items.append("verbatim " + whole)
                continue
            self.items.append(tag_item(tag_kind, name, attrs))


def charset_of(data):
    found = re.search(rb"<meta[^>]*charset=[\"']?([A-Za-z0-9_-]+)", data, re.IGNORECASE)
    return found.group(1).decode("ascii") if found else "utf-8"


def elements(path, out):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        text = data[3:].decode("utf-8", "replace")
    else:
        text = data.decode(charset_of(data), "replace")
    events = Events(text)
    events.feed(text)
    events.close()
    reader = Reader()
    reader.read(events.events, text)
    out.write("P\t" + hexed(path) + "\n")
    if reader.failed:
        out.write("X\n")
        return
    for item in reader.items:
        out.write(hexed(item) + "\n")


def collapse(text):
    return re.sub(r"[ \t\n\r\f]+", " ", text)


def tree(path, out):
    import html5lib

    out.write("P\t" + hexed(path) + "\n")
    with open(path, "rb") as f:
        # The charset as a browser finds it: byte-order mark, then meta.
        document = html5lib.parse(f.read(), treebuilder="etree", namespaceHTMLElements=False)

    def walk(node, depth):
        if isinstance(node.tag, str):
            line = "%d element %s" % (depth, node.tag)
            for name in sorted(node.attrib):
                line += " %s=%s" % (name, quote(collapse(node.attrib[name])))
            out.write(hexed(line) + "\n")
        elif node.tag is not None:  # comments
            out.write(hexed("%d comment %s" % (depth, collapse(node.text or ""))) + "\n")
        if isinstance(node.tag, str) and node.text and node.text.strip():
            out.write(hexed("%d text %s" % (depth + 1, collapse(node.text).strip())) + "\n")
        for child in node:
            walk(child, depth + 1)
            if child.tail and child.tail.strip():
                out.write(hexed("%d text %s" % (depth + 1, collapse(child.tail).strip())) + "\n")

    walk(document, 0)


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "elements":
        for path in sys.argv[2:]:
            elements(path, sys.stdout)
    elif len(sys.argv) >= 3 and sys.argv[1] == "tree":
        for path in sys.argv[2:]:
            tree(path, sys.stdout)
    else:
        sys.exit("usage: pageelements.py elements FILE... | tree FILE...")


if __name__ == "__main__":
    main()
