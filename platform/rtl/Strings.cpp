#include "rtl/Strings.h"

#include <algorithm>

#include "rtl/CodePages.h"

namespace rtl {
namespace {

// [start, end) in 0-based terms for Copy(s, index, count) on a length-n text.
template <typename View>
View CopyView(View s, Integer index, Integer count) {
  const int64_t n = static_cast<int64_t>(s.size());
  int64_t from = index < 1 ? 1 : index;
  if (from > n || count <= 0) return View();
  int64_t len = std::min<int64_t>(count, n - from + 1);
  return s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(len));
}

template <typename View>
Integer PosFrom(View sub, View s, Integer offset) {
  if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) return 0;
  size_t at = s.find(sub, static_cast<size_t>(offset - 1));
  return at == View::npos ? 0 : static_cast<Integer>(at + 1);
}

template <typename Str>
void DeleteIn(Str& s, Integer index, Integer count) {
  const int64_t n = static_cast<int64_t>(s.size());
  if (index < 1 || index > n || count <= 0) return;
  int64_t len = std::min<int64_t>(count, n - index + 1);
  s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(len));
}

template <typename Str, typename View>
void InsertIn(View source, Str& s, Integer index) {
  size_t at;
  if (index < 1)
    at = 0;
  else if (static_cast<size_t>(index) > s.size())
    at = s.size();
  else
    at = static_cast<size_t>(index - 1);
  s.insert(at, source);
}

template <typename View>
View TrimLeftView(View s) {
  size_t i = 0;
  while (i < s.size() && static_cast<uint32_t>(s[i]) <= 32) ++i;
  return s.substr(i);
}

template <typename View>
View TrimRightView(View s) {
  size_t n = s.size();
  while (n > 0 && static_cast<uint32_t>(s[n - 1]) <= 32) --n;
  return s.substr(0, n);
}

template <typename Ch>
Ch AsciiUpper(Ch c) {
  return (c >= 'a' && c <= 'z') ? static_cast<Ch>(c - 32) : c;
}
template <typename Ch>
Ch AsciiLower(Ch c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<Ch>(c + 32) : c;
}

// Simple one-to-one case pairs of the Latin, Greek and Cyrillic blocks. Every
// pair keeps its UTF-8 length, so a case-mapped copy of UTF-8 text has the
// same byte offsets as the original.
char32_t UnicodeUpper(char32_t c) {
  if (c < 0x80) return AsciiUpper(c);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return c & ~char32_t{1};
  if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c : c - 1;
  if (c == 0x4CF) return 0x4C0;
  return c;
}

char32_t UnicodeLower(char32_t c) {
  if (c < 0x80) return AsciiLower(c);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    if (c == 0x130) return c;  // dotted capital I has no one-to-one lower case here
    return c | 1;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return c | 1;
  if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c + 1 : c;
  if (c == 0x4C0) return 0x4CF;
  return c;
}

WideString MapWide(std::u16string_view s, char32_t (*map)(char32_t)) {
  WideString r(s);
  for (auto& c : r) c = static_cast<WideChar>(map(c));  // BMP only; surrogates stay
  return r;
}

AnsiString MapUtf8(std::string_view s, char32_t (*map)(char32_t)) {
  if (!IsValidUtf8(s)) {
    // Not UTF-8: only ASCII letters can be mapped safely.
    AnsiString r(s);
    for (auto& c : r)
      if (static_cast<unsigned char>(c) < 0x80) c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return r;
  }
  return WideToUtf8(MapWide(Utf8ToWide(s), map));
}

template <typename View>
Integer CompareFolded(View a, View b, char32_t (*fold)(char32_t)) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int32_t ca = static_cast<int32_t>(fold(static_cast<std::make_unsigned_t<typename View::value_type>>(a[i])));
    int32_t cb = static_cast<int32_t>(fold(static_cast<std::make_unsigned_t<typename View::value_type>>(b[i])));
    if (ca != cb) return ca - cb;
  }
  return static_cast<Integer>(static_cast<int64_t>(a.size()) - static_cast<int64_t>(b.size()));
}

char32_t AsciiUpper32(char32_t c) { return AsciiUpper(c); }

template <typename Str, typename View>
Str ReplaceIn(View s, View oldPattern, View newPattern, TReplaceFlags flags,
              Str (*upper)(View)) {
  if (oldPattern.empty()) return Str(s);
  const bool all = flags.Contains(TReplaceFlag::rfReplaceAll);
  Str foldedS, foldedP;
  View hay = s, needle = oldPattern;
  if (flags.Contains(TReplaceFlag::rfIgnoreCase)) {
    foldedS = upper(s);
    foldedP = upper(oldPattern);
    hay = foldedS;
    needle = foldedP;
  }
  Str out;
  size_t from = 0;
  while (from <= s.size()) {
    size_t at = hay.find(needle, from);
    if (at == View::npos) break;
    out.append(s.substr(from, at - from));
    out.append(newPattern);
    from = at + oldPattern.size();
    if (!all) break;
  }
  out.append(s.substr(std::min(from, s.size())));
  return out;
}

AnsiString UpperForReplace(std::string_view s) {
  // Case-mapped UTF-8 keeps its byte offsets (see UnicodeUpper).
  return IsValidUtf8(s) ? AnsiUpperCase(s) : UpperCase(s);
}
WideString UpperForReplaceW(std::u16string_view s) { return WideUpperCase(s); }

}  // namespace

AnsiString Copy(std::string_view s, Integer index, Integer count) {
  return AnsiString(CopyView(s, index, count));
}
WideString Copy(std::u16string_view s, Integer index, Integer count) {
  return WideString(CopyView(s, index, count));
}
AnsiString Copy(std::string_view s, Integer index) {
  return AnsiString(CopyView(s, index, INT32_MAX));
}
WideString Copy(std::u16string_view s, Integer index) {
  return WideString(CopyView(s, index, INT32_MAX));
}

Integer Pos(std::string_view sub, std::string_view s) { return PosFrom(sub, s, 1); }
Integer Pos(std::u16string_view sub, std::u16string_view s) { return PosFrom(sub, s, 1); }
Integer PosEx(std::string_view sub, std::string_view s, Integer offset) {
  return PosFrom(sub, s, offset);
}
Integer PosEx(std::u16string_view sub, std::u16string_view s, Integer offset) {
  return PosFrom(sub, s, offset);
}

void Delete(AnsiString& s, Integer index, Integer count) { DeleteIn(s, index, count); }
void Delete(WideString& s, Integer index, Integer count) { DeleteIn(s, index, count); }
void Insert(std::string_view source, AnsiString& s, Integer index) { InsertIn(source, s, index); }
void Insert(std::u16string_view source, WideString& s, Integer index) {
  InsertIn(source, s, index);
}

AnsiString Trim(std::string_view s) { return AnsiString(TrimRightView(TrimLeftView(s))); }
AnsiString TrimLeft(std::string_view s) { return AnsiString(TrimLeftView(s)); }
AnsiString TrimRight(std::string_view s) { return AnsiString(TrimRightView(s)); }
WideString Trim(std::u16string_view s) { return WideString(TrimRightView(TrimLeftView(s))); }
WideString TrimLeft(std::u16string_view s) { return WideString(TrimLeftView(s)); }
WideString TrimRight(std::u16string_view s) { return WideString(TrimRightView(s)); }

AnsiString LowerCase(std::string_view s) {
  AnsiString r(s);
  for (auto& c : r) c = AsciiLower(c);
  return r;
}
AnsiString UpperCase(std::string_view s) {
  AnsiString r(s);
  for (auto& c : r) c = AsciiUpper(c);
  return r;
}
WideString LowerCase(std::u16string_view s) {
  WideString r(s);
  for (auto& c : r) c = AsciiLower(c);
  return r;
}
WideString UpperCase(std::u16string_view s) {
  WideString r(s);
  for (auto& c : r) c = AsciiUpper(c);
  return r;
}
char UpCase(char c) { return AsciiUpper(c); }

AnsiString AnsiLowerCase(std::string_view s) { return MapUtf8(s, UnicodeLower); }
AnsiString AnsiUpperCase(std::string_view s) { return MapUtf8(s, UnicodeUpper); }
WideString WideLowerCase(std::u16string_view s) { return MapWide(s, UnicodeLower); }
WideString WideUpperCase(std::u16string_view s) { return MapWide(s, UnicodeUpper); }

Integer CompareStr(std::string_view a, std::string_view b) {
  return CompareFolded(a, b, [](char32_t c) { return c; });
}
bool SameStr(std::string_view a, std::string_view b) { return a == b; }
Integer CompareText(std::string_view a, std::string_view b) {
  return CompareFolded(a, b, AsciiUpper32);
}
Integer CompareText(std::u16string_view a, std::u16string_view b) {
  return CompareFolded(a, b, AsciiUpper32);
}
bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

Integer WideCompareText(std::u16string_view a, std::u16string_view b) {
  return CompareFolded(a, b, UnicodeUpper);
}
bool WideSameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && WideCompareText(a, b) == 0;
}
Integer AnsiCompareText(std::string_view a, std::string_view b) {
  if (IsValidUtf8(a) && IsValidUtf8(b)) return WideCompareText(Utf8ToWide(a), Utf8ToWide(b));
  return CompareText(a, b);
}
bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }
Integer AnsiCompareStr(std::string_view a, std::string_view b) {
  // Byte order of UTF-8 is code point order.
  return CompareStr(a, b);
}

bool StartsText(std::string_view sub, std::string_view s) {
  return sub.size() <= s.size() && SameText(s.substr(0, sub.size()), sub);
}
bool EndsText(std::string_view sub, std::string_view s) {
  return sub.size() <= s.size() && SameText(s.substr(s.size() - sub.size()), sub);
}
bool ContainsText(std::string_view s, std::string_view sub) {
  return UpperCase(s).find(UpperCase(sub)) != AnsiString::npos;
}
bool StartsStr(std::string_view sub, std::string_view s) { return s.substr(0, sub.size()) == sub; }
bool EndsStr(std::string_view sub, std::string_view s) {
  return sub.size() <= s.size() && s.substr(s.size() - sub.size()) == sub;
}

AnsiString StringReplace(std::string_view s, std::string_view oldPattern,
                         std::string_view newPattern, TReplaceFlags flags) {
  return ReplaceIn<AnsiString, std::string_view>(s, oldPattern, newPattern, flags,
                                                 UpperForReplace);
}
WideString StringReplace(std::u16string_view s, std::u16string_view oldPattern,
                         std::u16string_view newPattern, TReplaceFlags flags) {
  return ReplaceIn<WideString, std::u16string_view>(s, oldPattern, newPattern, flags,
                                                    UpperForReplaceW);
}

AnsiString QuotedStr(std::string_view s) { return AnsiQuotedStr(s, '\''); }
AnsiString AnsiQuotedStr(std::string_view s, char quote) {
  AnsiString r;
  r.reserve(s.size() + 2);
  r += quote;
  for (char c : s) {
    r += c;
    if (c == quote) r += quote;
  }
  r += quote;
  return r;
}
AnsiString AnsiDequotedStr(std::string_view s, char quote) {
  if (s.empty() || s[0] != quote) return AnsiString(s);
  AnsiString r;
  size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r += quote;
        i += 2;
        continue;
      }
      return r;  // closing quote: the rest is dropped
    }
    r += s[i++];
  }
  // No closing quote: the text is not a quoted string after all.
  return AnsiString(s);
}

AnsiString StringOfChar(char c, Integer count) {
  return count > 0 ? AnsiString(static_cast<size_t>(count), c) : AnsiString();
}
WideString StringOfChar(WideChar c, Integer count) {
  return count > 0 ? WideString(static_cast<size_t>(count), c) : WideString();
}
AnsiString DupeString(std::string_view s, Integer count) {
  AnsiString r;
  for (Integer i = 0; i < count; ++i) r += s;
  return r;
}

Integer LastDelimiter(std::string_view delimiters, std::string_view s) {
  size_t at = s.find_last_of(delimiters);
  return at == std::string_view::npos ? 0 : static_cast<Integer>(at + 1);
}
bool IsDelimiter(std::string_view delimiters, std::string_view s, Integer index) {
  if (index < 1 || static_cast<size_t>(index) > s.size()) return false;
  return delimiters.find(s[static_cast<size_t>(index - 1)]) != std::string_view::npos;
}

AnsiString AdjustLineBreaks(std::string_view s) {
  AnsiString r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      r += "\r\n";
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else if (s[i] == '\n') {
      r += "\r\n";
    } else {
      r += s[i];
    }
  }
  return r;
}

}  // namespace rtl
