#include "rtl/PageProducer.h"

#include "rtl/StringList.h"

namespace rtl {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// One "<#" tag read from the text at its "<".
struct ScannedTag {
  AnsiString name;
  TStringList params;
  size_t end = 0;  // index behind the closing ">"
};

// Reads the tag that begins at doc[start] ("<#"); False when no ">" closes it.
bool ScanTag(const AnsiString& doc, size_t start, bool stripQuotes, ScannedTag& tag) {
  const size_t n = doc.size();
  size_t p = start + 2;
  while (p < n && !IsBlank(doc[p]) && doc[p] != '>') tag.name += doc[p++];

  AnsiString token;
  bool inValue = false;
  bool valueJustEnded = false;  // the last character taken closed a value
  auto flush = [&] {
    if (!token.empty()) tag.params.Add(token);
    token.clear();
  };
  while (p < n) {
    const char c = doc[p++];
    if (inValue) {
      if (c == '"') {
        if (!stripQuotes) token += c;
        inValue = false;
        valueJustEnded = true;
      } else {
        token += c;
      }
      continue;
    }
    if (c == '>') {
      // The "/" of an empty element is no parameter.
      if (token == "/") token.clear();
      else if (valueJustEnded && !token.empty() && token.back() == '/') token.pop_back();
      flush();
      tag.end = p;
      return true;
    }
    if (IsBlank(c)) {
      flush();
      valueJustEnded = false;
      continue;
    }
    if (c == '=' && p < n && doc[p] == '"') {
      token += stripQuotes ? "=" : "=\"";
      ++p;
      inValue = true;
      continue;
    }
    token += c;
    valueJustEnded = valueJustEnded && c == '/';
  }
  return false;
}

}  // namespace

AnsiString TPageProducer::Content() { return ContentFromString(htmlDoc_); }

AnsiString TPageProducer::ContentFromString(const AnsiString& doc) {
  AnsiString out;
  out.reserve(doc.size());
  size_t from = 0;
  while (from < doc.size()) {
    const size_t start = doc.find("<#", from);
    if (start == AnsiString::npos) break;
    ScannedTag tag;
    if (!ScanTag(doc, start, stripParamQuotes_, tag)) {
      // Not a tag: keep the "<#" and look further on.
      out.append(doc, from, start + 2 - from);
      from = start + 2;
      continue;
    }
    out.append(doc, from, start - from);
    AnsiString replaceText;
    if (OnHTMLTag) OnHTMLTag(this, tag.name, tag.params, replaceText);
    out += replaceText;
    from = tag.end;
  }
  if (from < doc.size()) out.append(doc, from, AnsiString::npos);
  return out;
}

}  // namespace rtl
