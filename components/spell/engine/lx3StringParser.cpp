#include "spell/engine/lx3StringParser.h"

#include <algorithm>
#include <unordered_map>

#include "spell/engine/lx3Text.h"

namespace spell {

namespace {

// Length and code point of the UTF-8 character at s[i]; an invalid byte is
// a character of its own (code point -1).
size_t DecodeAt(const std::string& s, size_t i, int32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t n = 0;
  int32_t min = 0;
  if (b < 0x80) {
    cp = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    n = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, cp = b & 0x07, min = 0x10000;
  } else {
    cp = -1;
    return 1;
  }
  if (i + n > s.size()) {
    cp = -1;
    return 1;
  }
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) {
      cp = -1;
      return 1;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    cp = -1;
    return 1;
  }
  return n;
}

// Code points above 0x7F that Windows-1252 holds, with their bytes.
const std::unordered_map<int32_t, char>& Cp1252Bytes() {
  static const std::unordered_map<int32_t, char> table = [] {
    std::unordered_map<int32_t, char> t;
    for (int b = 0x80; b <= 0xFF; ++b) {
      const std::string one(1, static_cast<char>(b));
      const std::string utf8 = FromEngineText(one);
      int32_t cp = 0;
      if (DecodeAt(utf8, 0, cp) == utf8.size() && cp > 0) t.emplace(cp, static_cast<char>(b));
    }
    return t;
  }();
  return table;
}

char ToEngineChar(int32_t cp) {
  if (cp >= 0 && cp < 0x80) return static_cast<char>(cp);
  const auto& table = Cp1252Bytes();
  auto it = table.find(cp);
  return it == table.end() ? ' ' : it->second;
}

}  // namespace

void TStringParser::Initialize(std::string* text) {
  text_ = text;
  cursor_ = 1;
  endMark_ = false;
  endX_ = 0;
  wordLength_ = 0;
  Index();
}

void TStringParser::Index() {
  starts_.clear();
  size_t i = 0;
  const std::string& s = text_ ? *text_ : std::string();
  while (text_ && i < s.size()) {
    starts_.push_back(i);
    int32_t cp = 0;
    i += DecodeAt(s, i, cp);
  }
  starts_.push_back(text_ ? s.size() : 0);
}

char TStringParser::CharAt(Integer x) const {
  if (x < 1 || x > Length()) return 0;
  int32_t cp = 0;
  DecodeAt(*text_, starts_[static_cast<size_t>(x) - 1], cp);
  return ToEngineChar(cp);
}

char TStringParser::GetChar() { return CharAt(cursor_); }

std::string TStringParser::GetLine() {
  std::string line;
  line.reserve(static_cast<size_t>(Length()));
  for (Integer x = 1; x <= Length(); ++x) line += CharAt(x);
  return line;
}

bool TStringParser::MoveNext() {
  bool ok = cursor_ <= Length();
  ++cursor_;
  if (endMark_ && cursor_ > endX_) ok = false;
  return ok;
}

bool TStringParser::MovePrevious() {
  if (cursor_ <= 1) return false;
  --cursor_;
  return true;
}

void TStringParser::SetPosition(Integer x, Integer, Integer kind) {
  if (kind == 0) {
    cursor_ = std::max(1, x);
  } else if (kind == 1) {
    endX_ = x;
    endMark_ = true;
  }
}

void TStringParser::GetPosition(Integer& x, Integer& y) {
  x = cursor_;
  y = 0;
}

void TStringParser::SelectPreviousWord(Integer length) {
  wordLength_ = length;
  cursor_ -= length;
}

void TStringParser::ReplaceWord(const std::string& word, Integer) {
  const auto newLength = static_cast<Integer>(word.size());
  if (endMark_) endX_ += newLength - wordLength_;
  if (text_) {
    const Integer first = std::clamp(cursor_, 1, Length() + 1);
    const Integer last = std::clamp(cursor_ + wordLength_, first, Length() + 1);
    const size_t from = starts_[static_cast<size_t>(first) - 1];
    const size_t to = starts_[static_cast<size_t>(last) - 1];
    text_->replace(from, to - from, FromEngineText(word));
    Index();
  }
  cursor_ += newLength;
}

void TStringParser::IgnoreWord(Integer) { cursor_ += wordLength_; }

void TStringParser::GetCursorPosition(Integer& x, Integer& y) { GetPosition(x, y); }

void TStringParser::GetSelectionPosition(Integer& startX, Integer& startY, Integer& endX, Integer& endY) {
  startX = endX = cursor_;
  startY = endY = 0;
}

}  // namespace spell
