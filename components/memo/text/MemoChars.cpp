#include "memo/text/MemoChars.h"

#include <algorithm>
#include <cstring>

namespace memo {

namespace {

inline bool Cont(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

size_t CharSizeAt(std::string_view s, size_t i) {
  auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  size_t left = s.size() - i;
  auto at = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  // The well-formed sequences of the Unicode standard: no overlong forms,
  // no surrogates, nothing above U+10FFFF.
  if (c >= 0xC2 && c <= 0xDF) return left >= 2 && Cont(at(1)) ? 2 : 1;
  if (c >= 0xE0 && c <= 0xEF) {
    if (left < 3) return 1;
    unsigned char b = at(1);
    bool ok = c == 0xE0 ? (b >= 0xA0 && b <= 0xBF) : c == 0xED ? (b >= 0x80 && b <= 0x9F) : Cont(b);
    return ok && Cont(at(2)) ? 3 : 1;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (left < 4) return 1;
    unsigned char b = at(1);
    bool ok = c == 0xF0 ? (b >= 0x90 && b <= 0xBF) : c == 0xF4 ? (b >= 0x80 && b <= 0x8F) : Cont(b);
    return ok && Cont(at(2)) && Cont(at(3)) ? 4 : 1;
  }
  return 1;
}

bool IsAscii(std::string_view s) {
  const char* p = s.data();
  size_t n = s.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w & 0x8080808080808080ull) return false;
  }
  for (; i < n; ++i)
    if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
  return true;
}

Integer CharLength(std::string_view s) {
  if (IsAscii(s)) return static_cast<Integer>(s.size());
  Integer n = 0;
  for (size_t i = 0; i < s.size(); i += CharSizeAt(s, i)) ++n;
  return n;
}

size_t ByteOfChar(std::string_view s, Integer col) {
  if (col <= 0) return 0;
  size_t i = 0;
  // Bytes below 0x80 are characters of their own: skip them a run at a time.
  while (col > 0 && i < s.size()) {
    i += CharSizeAt(s, i);
    --col;
  }
  return i;
}

Integer CharOfByte(std::string_view s, size_t bytes) {
  bytes = std::min(bytes, s.size());
  Integer n = 0;
  for (size_t i = 0; i < bytes; i += CharSizeAt(s, i)) ++n;
  return n;
}

AnsiString CharCopy(std::string_view s, Integer col, Integer count) {
  if (count <= 0) return {};
  if (col < 0) {
    count += col;
    col = 0;
    if (count <= 0) return {};
  }
  size_t a = ByteOfChar(s, col);
  size_t b = a + ByteOfChar(s.substr(a), count);
  return AnsiString(s.substr(a, b - a));
}

AnsiString CharTail(std::string_view s, Integer col) { return AnsiString(s.substr(ByteOfChar(s, col))); }

AnsiString CharHead(std::string_view s, Integer count) { return AnsiString(s.substr(0, ByteOfChar(s, count))); }

void CharDelete(AnsiString& s, Integer col, Integer count) {
  if (count <= 0) return;
  if (col < 0) {
    count += col;
    col = 0;
    if (count <= 0) return;
  }
  size_t a = ByteOfChar(s, col);
  size_t b = a + ByteOfChar(std::string_view(s).substr(a), count);
  s.erase(a, b - a);
}

void CharInsert(AnsiString& s, Integer col, std::string_view text) { s.insert(ByteOfChar(s, col), text); }

std::string_view CharAt(std::string_view s, Integer col) {
  if (col < 0) return {};
  size_t a = ByteOfChar(s, col);
  if (a >= s.size()) return {};
  return s.substr(a, CharSizeAt(s, a));
}

char ByteAt(std::string_view s, Integer col) {
  std::string_view c = CharAt(s, col);
  return c.empty() ? '\0' : c[0];
}

bool ExpandTabs(AnsiString& s, Integer tabSize) {
  if (s.find('\t') == AnsiString::npos) return false;
  AnsiString blanks(static_cast<size_t>(std::max(tabSize, 0)), ' ');
  AnsiString out;
  out.reserve(s.size() + 8);
  for (char c : s) {
    if (c == '\t')
      out += blanks;
    else
      out += c;
  }
  s = std::move(out);
  return true;
}

AnsiString TrimRightControls(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= 32) --n;
  return AnsiString(s.substr(0, n));
}

AnsiString TrimRightBlanks(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return AnsiString(s.substr(0, n));
}

TCharLine::TCharLine(std::string_view s) : s_(s) {
  ascii_ = IsAscii(s);
  if (ascii_) {
    length_ = static_cast<Integer>(s.size());
    return;
  }
  starts_.reserve(s.size() + 1);
  for (size_t i = 0; i < s.size(); i += CharSizeAt(s, i)) starts_.push_back(static_cast<uint32_t>(i));
  length_ = static_cast<Integer>(starts_.size());
  starts_.push_back(static_cast<uint32_t>(s.size()));
}

size_t TCharLine::Offset(Integer i) const {
  i = std::clamp(i, 0, length_);
  return ascii_ ? static_cast<size_t>(i) : starts_[static_cast<size_t>(i)];
}

std::string_view TCharLine::At(Integer i) const {
  if (i < 0 || i >= length_) return {};
  size_t a = Offset(i);
  return s_.substr(a, Offset(i + 1) - a);
}

char TCharLine::Byte(Integer i) const {
  if (i < 0 || i >= length_) return '\0';
  return s_[Offset(i)];
}

std::string_view TCharLine::Slice(Integer from, Integer count) const {
  if (count <= 0) return {};
  Integer to = std::clamp(from + count, 0, length_);
  from = std::clamp(from, 0, length_);
  size_t a = Offset(from);
  return s_.substr(a, Offset(to) - a);
}

}  // namespace memo
