#!/usr/bin/python3
"""Compares what our CSS reader and style sheet make of real style sheets
with what tinycss2 (a CSS parser that follows the CSS syntax standard) reads.

  css_compare.py reader LIST
      LIST lines: CSS-FILE <tab> OUR-RECORDS. Our records, one a line, fields
      hex-encoded UTF-8 and separated by tabs: "D selector property value"
      for each handler call, "A text" for each at-rule. Both sides are
      brought to tinycss2's serialisation with white space collapsed and
      compared in order.
  css_compare.py writeback LIST
      LIST lines: CSS-FILE <tab> WRITTEN-FILE (what our sheet wrote back).
      Both are read by tinycss2; per selector the declarations (shorthands
      expanded on both sides, later ones winning) must be the same values,
      and the at-rules the same texts.

Output lines: "SAME file count", "EXPLAINED reason" and "UNEXPLAINED file
detail"; the calling test fails on any UNEXPLAINED line. Differences that
the reader's and the sheet's own rules call for are listed in EXPLANATIONS
(reader) and in the write-back comparison below, each by name.
"""
import difflib
import re
import sys

import tinycss2
import tinycss2.color3


def unhex(field):
    return bytes.fromhex(field).decode("utf-8", "surrogateescape")


def collapse(text):
    return re.sub(r"\s+", " ", text).strip()


def norm_tokens(tokens):
    return collapse(tinycss2.serialize(tokens))


def norm_text(text):
    return norm_tokens(tinycss2.parse_component_value_list(text, skip_comments=True))


def split_top_level(tokens, char):
    parts, current = [], []
    for token in tokens:
        if token.type == "literal" and token.value == char:
            parts.append(current)
            current = []
        else:
            current.append(token)
    parts.append(current)
    return parts


def read_text(path):
    with open(path, "rb") as f:
        data = f.read()
    try:
        return data.decode("utf-8-sig")
    except UnicodeDecodeError:
        return data.decode("cp1252", "replace")


# --- reader -------------------------------------------------------------------


def theirs_reader(css):
    records = []
    for rule in tinycss2.parse_stylesheet(css, skip_comments=True, skip_whitespace=True):
        if rule.type == "at-rule":
            records.append(("A", norm_tokens([rule])))
        elif rule.type == "qualified-rule":
            selectors = [norm_tokens(p) for p in split_top_level(rule.prelude, ",")]
            for decl in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
                if decl.type != "declaration":
                    records.append(("E", decl.message))
                    continue
                value = norm_tokens(decl.value) + (" !important" if decl.important else "")
                for selector in selectors:
                    records.append(("D", selector, decl.name, value))
    return records


def ours_reader(path):
    records = []
    with open(path, "r", encoding="ascii") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "A":
                rules = tinycss2.parse_stylesheet(unhex(fields[1]), skip_comments=True, skip_whitespace=True)
                records.append(("A", " ".join(norm_tokens([r]) for r in rules)))
            else:
                selector, name, value = (unhex(x) for x in fields[1:4])
                parsed = tinycss2.parse_one_declaration(name + ":" + value, skip_comments=True)
                if parsed.type == "declaration":
                    value = norm_tokens(parsed.value) + (" !important" if parsed.important else "")
                else:
                    value = norm_text(value)
                records.append(("D", norm_text(selector), collapse(name), value))
    return records


def is_invalid_declaration_name(name):
    return not re.match(r"^-?-?[A-Za-z_\u0080-\U0010ffff\\]", name)


def explain_reader(ours, theirs):
    """The reader splits at ":" and ";" only, as the editor's reader always
    has: a declaration CSS's grammar refuses (an IE hack such as "*zoom: 1"
    or "_height: 1px") is still handed over, while tinycss2 reports a parse
    error in its place."""
    ours_d = [r for r in ours if r[0] == "D"]
    theirs_e = [r for r in theirs if r[0] == "E"]
    if any(not is_invalid_declaration_name(r[2]) for r in ours_d):
        return None
    if any(r[0] not in ("D", "E") for r in ours + theirs):
        return None
    if not ours_d and not theirs_e:
        return None
    return "a declaration CSS's grammar refuses is handed over as it stands"


def compare_reader(css_path, ours_path, out):
    ours = ours_reader(ours_path)
    theirs = theirs_reader(read_text(css_path))
    same = 0
    matcher = difflib.SequenceMatcher(a=ours, b=theirs, autojunk=False)
    for op, a0, a1, b0, b1 in matcher.get_opcodes():
        if op == "equal":
            same += a1 - a0
            continue
        reason = explain_reader(ours[a0:a1], theirs[b0:b1])
        if reason:
            out.append("EXPLAINED " + reason)
        else:
            out.append("UNEXPLAINED %s ours %r theirs %r" % (css_path, ours[a0:a1][:4], theirs[b0:b1][:4]))
    out.append("SAME %s %d" % (css_path, same))


# --- write-back ---------------------------------------------------------------

BORDER_STYLES = ("dotted", "dashed", "solid", "double", "groove", "ridge", "inset", "outset")
SIDES = ("top", "right", "bottom", "left")


def value_tokens(tokens):
    """A value as a comparable tuple: colours as RGBA, numbers and
    dimensions by value (a zero length with or without its unit), idents
    and functions case-blind."""
    result = []
    for t in tokens:
        if t.type in ("whitespace", "comment"):
            continue
        color = tinycss2.color3.parse_color(t)
        if color is not None and color != "currentColor":
            result.append(("color", tuple(round(c, 3) for c in color)))
        elif t.type == "dimension":
            result.append(("number", 0.0) if t.value == 0 else ("dimension", t.value, t.lower_unit))
        elif t.type == "number":
            result.append(("number", t.value))
        elif t.type == "percentage":
            result.append(("percentage", t.value))
        elif t.type == "ident":
            result.append(("ident", t.lower_value))
        elif t.type == "function":
            result.append(("function", t.lower_name, value_tokens(t.arguments)))
        else:
            result.append((t.type, collapse(tinycss2.serialize([t]))))
    return tuple(result)


def words(tokens):
    parts, current = [], []
    for t in tokens:
        if t.type in ("whitespace", "comment"):
            if current:
                parts.append(current)
                current = []
        else:
            current.append(t)
    if current:
        parts.append(current)
    return parts


def is_width_word(w):
    if len(w) != 1:
        return False
    t = w[0]
    if t.type == "dimension":
        return t.lower_unit in ("em", "ex", "px", "in", "cm", "mm", "pt", "pc")
    if t.type == "ident":
        return t.lower_value in ("thin", "medium", "thick")
    return t.type == "number" and t.value == 0


def is_style_word(w):
    text = tinycss2.serialize(w).lower()
    return text in ("none", "hidden") or any(s in text for s in BORDER_STYLES)


def is_color_word(w):
    if len(w) == 1 and tinycss2.color3.parse_color(w[0]) is not None:
        return True
    return len(w) == 1 and w[0].type == "function" and w[0].lower_name in ("rgb", "rgba", "hsl", "hsla")


def expand(name, tokens, important):
    """The editor's shorthands, read the way its style sheet reads them."""
    name = name.lower()
    if name in ("margin", "padding", "border-width"):
        ws = words(tokens)
        if not 1 <= len(ws) <= 4:
            return [(name, ws, important)]
        if len(ws) == 1:
            ws = ws * 4
        elif len(ws) == 2:
            ws = [ws[0], ws[1], ws[0], ws[1]]
        elif len(ws) == 3:
            ws = [ws[0], ws[1], ws[2], ws[1]]
        fmt = "border-%s-width" if name == "border-width" else name + "-%s"
        return [(fmt % side, w, important) for side, w in zip(SIDES, ws)]
    if name in ("border", "border-top", "border-right", "border-bottom", "border-left"):
        ws = words(tokens)
        width = style = color = None
        if len(ws) == 1 and tinycss2.serialize(ws[0]).lower() in ("inherit", "initial", "unset", "revert"):
            width = style = color = ws[0]
        else:
            for w in ws:
                if is_style_word(w):
                    style = w
                elif is_width_word(w):
                    width = w
                elif is_color_word(w):
                    color = w
                else:
                    # The style sheet keeps such a declaration whole.
                    return [(name, tokens, important)]
        sides = SIDES if name == "border" else (name.split("-")[1],)
        result = []
        if width is not None:
            result += [("border-%s-width" % side, width, important) for side in sides]
        if style is not None:
            result.append(("border-style", style, important))
        if color is not None:
            result.append(("border-color", color, important))
        return result
    return [(name, tokens, important)]


def sheet_of(css):
    """Per selector the declarations (later winning), and the at-rules."""
    rules, at_rules = {}, []
    for rule in tinycss2.parse_stylesheet(css, skip_comments=True, skip_whitespace=True):
        if rule.type == "at-rule":
            at_rules.append(norm_tokens([rule]))
            continue
        if rule.type != "qualified-rule":
            continue
        selectors = [norm_tokens(p).lower() for p in split_top_level(rule.prelude, ",")]
        for decl in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
            if decl.type != "declaration":
                continue
            for name, tokens, important in expand(decl.name, decl.value, decl.important):
                for selector in selectors:
                    rules.setdefault(selector, {})[name] = (value_tokens(tokens), important)
    return rules, at_rules


def leading(at_rule):
    return re.match(r"@(charset|import|namespace)\b", at_rule, re.I) is not None


def compare_writeback(css_path, written_path, out):
    original, original_at = sheet_of(read_text(css_path))
    written, written_at = sheet_of(read_text(written_path))
    same = 0
    for selector in sorted(set(original) | set(written)):
        a = original.get(selector, {})
        b = written.get(selector, {})
        for name in sorted(set(a) | set(b)):
            if a.get(name) == b.get(name):
                same += 1
                continue
            if a.get(name) and not a[name][0] and name not in b:
                # An unknown property's declaration with an empty value
                # ("--x: ;") removes that property from the rule.
                out.append("EXPLAINED an unknown declaration with an empty value is not kept")
                continue
            out.append("UNEXPLAINED %s %s { %s: %r / %r }" % (css_path, selector, name, a.get(name), b.get(name)))
    # The sheet writes @charset, @import and @namespace before its rules and
    # the other at-rules after them, each group in the order read.
    expected_at = [r for r in original_at if leading(r)] + [r for r in original_at if not leading(r)]
    if expected_at != written_at:
        out.append("UNEXPLAINED %s at-rules differ" % css_path)
    else:
        same += len(written_at)
    out.append("SAME %s %d" % (css_path, same))


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("reader", "writeback"):
        sys.exit("usage: css_compare.py reader|writeback LIST")
    out = []
    with open(sys.argv[2], "r", encoding="utf-8") as f:
        for line in f:
            first, second = line.rstrip("\n").split("\t")
            if sys.argv[1] == "reader":
                compare_reader(first, second, out)
            else:
                compare_writeback(first, second, out)
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
