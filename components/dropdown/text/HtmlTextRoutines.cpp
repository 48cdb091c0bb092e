#include "dropdown/text/HtmlTextRoutines.h"

#include <algorithm>
#include <vector>

#include "dropdown/text/HtmlMarkup.h"
#include "rtl/Strings.h"
#include "rtl/WideText.h"

namespace dropdown {
namespace {

// One code point of UTF-8 text and the bytes it takes; a byte that starts
// no well-formed sequence stands for itself (above the Unicode range, so it
// matches only itself).
struct CodePoint {
  char32_t cp;
  size_t length;
};

CodePoint DecodeAt(std::string_view s, size_t i) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  auto cont = [&](size_t k) { return k < s.size() && (b(k) & 0xC0) == 0x80; };
  if (c < 0x80) return {c, 1};
  if (c >= 0xC2 && c <= 0xDF && cont(i + 1)) return {static_cast<char32_t>(((c & 0x1F) << 6) | (b(i + 1) & 0x3F)), 2};
  if (c >= 0xE0 && c <= 0xEF && cont(i + 1) && cont(i + 2)) {
    char32_t cp = ((c & 0x0F) << 12) | ((b(i + 1) & 0x3F) << 6) | (b(i + 2) & 0x3F);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) return {cp, 3};
  }
  if (c >= 0xF0 && c <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
    char32_t cp = ((c & 0x07) << 18) | ((b(i + 1) & 0x3F) << 12) | ((b(i + 2) & 0x3F) << 6) | (b(i + 3) & 0x3F);
    if (cp >= 0x10000 && cp <= 0x10FFFF) return {cp, 4};
  }
  return {0x110000u + c, 1};
}

// Byte ranges [first, second) of the non-overlapping matches of search in
// text, left to right.
std::vector<std::pair<size_t, size_t>> Matches(std::string_view text, std::string_view search, bool caseSensitive) {
  std::vector<std::pair<size_t, size_t>> found;
  if (search.empty()) return found;
  if (caseSensitive) {
    for (size_t at = text.find(search); at != std::string_view::npos; at = text.find(search, at + search.size()))
      found.emplace_back(at, at + search.size());
    return found;
  }
  auto folded = [](std::string_view s, std::vector<char32_t>& cps, std::vector<size_t>* offsets) {
    for (size_t i = 0; i < s.size();) {
      CodePoint c = DecodeAt(s, i);
      cps.push_back(c.cp <= 0x10FFFF ? rtl::FoldCase(c.cp) : c.cp);
      if (offsets) offsets->push_back(i);
      i += c.length;
    }
    if (offsets) offsets->push_back(s.size());
  };
  std::vector<char32_t> t, n;
  std::vector<size_t> offsets;
  folded(text, t, &offsets);
  folded(search, n, nullptr);
  for (auto it = t.begin();;) {
    it = std::search(it, t.end(), n.begin(), n.end());
    if (it == t.end()) break;
    size_t k = static_cast<size_t>(it - t.begin());
    found.emplace_back(offsets[k], offsets[k + n.size()]);
    it += static_cast<std::ptrdiff_t>(n.size());
  }
  return found;
}

rtl::AnsiString EscapeAngles(std::string_view s) {
  rtl::AnsiString out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
  return out;
}

rtl::AnsiString Wrap(std::string_view text, const std::vector<std::pair<size_t, size_t>>& matches,
                     std::string_view open, std::string_view close) {
  rtl::AnsiString out;
  size_t from = 0;
  for (const auto& [first, last] : matches) {
    out.append(text, from, first - from);
    out += open;
    out.append(text, first, last - first);
    out += close;
    from = last;
  }
  out.append(text, from, std::string_view::npos);
  return out;
}

// Replaces every occurrence of what (ASCII case ignored) in one pass.
rtl::AnsiString ReplaceNoCase(std::string_view s, std::string_view what, std::string_view with) {
  rtl::AnsiString out;
  out.reserve(s.size());
  size_t from = 0;
  for (size_t at = FindNoCase(s, what); at != std::string_view::npos; at = FindNoCase(s, what, from)) {
    out.append(s, from, at - from);
    out += with;
    from = at + what.size();
  }
  out.append(s, from, std::string_view::npos);
  return out;
}

bool FindControl(std::string_view html, std::string_view id, THtmlControlTag& tag) {
  for (size_t from = 0; NextControlTag(html, from, tag); from = tag.Start + 1)
    if (tag.Id == id) return true;
  return false;
}

}  // namespace

rtl::AnsiString StripHTML(std::string_view html) {
  // Line-break tags first, as whole "<BR>" and "<HR>" only.
  rtl::AnsiString text;
  text.reserve(html.size());
  for (size_t i = 0; i < html.size();) {
    if (html[i] == '<' && i + 4 <= html.size() &&
        (rtl::SameText(html.substr(i, 4), "<BR>") || rtl::SameText(html.substr(i, 4), "<HR>"))) {
      text += "\r\n";
      i += 4;
    } else {
      text += html[i++];
    }
  }
  // Then every tag; an unclosed "<" ends the work.
  rtl::AnsiString out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t lt = text.find('<', i);
    if (lt == rtl::AnsiString::npos) break;
    size_t gt = text.find('>', lt + 1);
    if (gt == rtl::AnsiString::npos) break;
    out.append(text, i, lt - i);
    i = gt + 1;
  }
  out.append(text, i, rtl::AnsiString::npos);
  return out;
}

rtl::AnsiString HighlightText(std::string_view html, std::string_view search, std::string_view tag,
                              bool caseSensitive) {
  if (search.empty()) return rtl::AnsiString(html);
  // The visible text, and for each of its bytes the place in html it
  // comes from.
  rtl::AnsiString visible;
  std::vector<size_t> origin;
  visible.reserve(html.size());
  origin.reserve(html.size());
  size_t i = 0;
  auto keep = [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k) {
      visible += html[k];
      origin.push_back(k);
    }
  };
  // A ">" before the next "<" stops the removal there.
  while (i < html.size()) {
    size_t lt = html.find('<', i);
    size_t gt = html.find('>', i);
    if (lt == std::string_view::npos || gt == std::string_view::npos || gt < lt) break;
    keep(i, lt);
    i = gt + 1;
  }
  keep(i, html.size());

  const rtl::AnsiString open = "<" + rtl::AnsiString(tag) + ">";
  const rtl::AnsiString close = "</" + rtl::AnsiString(tag) + ">";
  if (visible.find_first_of("<>") != rtl::AnsiString::npos) {
    rtl::AnsiString text = EscapeAngles(visible);
    return Wrap(text, Matches(text, EscapeAngles(search), caseSensitive), open, close);
  }
  rtl::AnsiString out;
  out.reserve(html.size() + 16);
  size_t from = 0;
  for (const auto& [first, last] : Matches(visible, search, caseSensitive)) {
    size_t start = origin[first];
    size_t end = origin[last - 1] + 1;
    out.append(html, from, start - from);
    out += open;
    out.append(html, start, end - start);
    out += close;
    from = end;
  }
  out.append(html, from, std::string_view::npos);
  return out;
}

rtl::AnsiString UnhighlightText(std::string_view html, std::string_view tag) {
  rtl::AnsiString s = ReplaceNoCase(html, "<" + rtl::AnsiString(tag) + ">", "");
  s = ReplaceNoCase(s, "</" + rtl::AnsiString(tag) + ">", "");
  s = ReplaceNoCase(s, "&lt;", "<");
  return ReplaceNoCase(s, "&gt;", ">");
}

bool HasControlTag(std::string_view html) { return FindNoCase(html, "<CONTROL") != std::string_view::npos; }

rtl::AnsiString NextEditControlId(std::string_view html, std::string_view currentId) {
  bool passed = currentId.empty();
  THtmlControlTag tag;
  for (size_t from = 0; NextControlTag(html, from, tag); from = tag.Start + 1) {
    if (!passed) {
      passed = tag.Id == currentId;
      continue;
    }
    if (tag.Type != "BUTTON" && tag.Type != "CHECK" && tag.Type != "RADIO") return tag.Id;
  }
  return {};
}

rtl::AnsiString ClearRadioControls(std::string_view html) {
  std::vector<rtl::AnsiString> radios;
  THtmlControlTag tag;
  for (size_t from = 0; NextControlTag(html, from, tag); from = tag.Start + 1)
    if (tag.Type == "RADIO") radios.push_back(tag.Id);
  rtl::AnsiString out(html);
  for (const rtl::AnsiString& id : radios) SetControlValue(out, id, "FALSE");
  return out;
}

rtl::AnsiString GetControlProp(std::string_view html, std::string_view id) {
  THtmlControlTag tag;
  return FindControl(html, id, tag) ? tag.Prop : rtl::AnsiString();
}

rtl::Integer GetControlMaxLen(std::string_view html, std::string_view id) {
  THtmlControlTag tag;
  return FindControl(html, id, tag) ? LeadingNumber(tag.MaxLen, 0x7FFFFFFF) : 0;
}

bool SetControlValue(rtl::AnsiString& html, std::string_view id, std::string_view value) {
  THtmlControlTag tag;
  if (!FindControl(html, id, tag)) return false;
  rtl::AnsiString rewritten = "<CONTROL ID=\"" + rtl::AnsiString(id) + "\" VALUE=\"" + EncodeControlValue(value) +
                              "\" WIDTH=\"" + tag.Width + "\" TYPE=\"" + tag.Type + "\"";
  if (!tag.Prop.empty()) rewritten += " PROP=\"" + tag.Prop + "\"";
  if (!tag.MaxLen.empty()) rewritten += " MAXLEN=\"" + tag.MaxLen + "\"";
  rewritten += ">";
  html.replace(tag.Start, tag.End - tag.Start, rewritten);
  return true;
}

}  // namespace dropdown
