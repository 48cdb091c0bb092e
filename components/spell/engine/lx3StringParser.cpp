#include "spell/engine/lx3StringParser.h"

#include <algorithm>

#include "spell/engine/lx3Text.h"

namespace spell {


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
    i += DecodeUtf8Char(s, i, cp);
  }
  starts_.push_back(text_ ? s.size() : 0);
}

char TStringParser::CharAt(Integer x) const {
  if (x < 1 || x > Length()) return 0;
  int32_t cp = 0;
  DecodeUtf8Char(*text_, starts_[static_cast<size_t>(x) - 1], cp);
  return EngineCharOf(cp);
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
