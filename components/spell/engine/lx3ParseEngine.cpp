#include "spell/engine/lx3ParseEngine.h"

#include "spell/engine/lx3Text.h"

namespace spell {

namespace {

std::string DefaultWordChars() {
  std::string s = "\x92" "1234567890&'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int c = 0xC0; c <= 0xFF; ++c) s += static_cast<char>(c);
  s += "\xB8\xA8";
  // The letters the suggestions generator adds for Czech, French, Polish
  // and Russian dictionaries.
  s += "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D"
       "\xDA\xD9\xDD\x8E";
  s += "\x9C";
  s += "\xB9\xE6\xEA\xB3\xB3\xF1\xF3\x9C\xBF\x9F\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F";
  s += "\xB2\xA2\xB1\xA1\xBC\xAC\xB6\xA6";
  return s;
}

}  // namespace

TMainParsingEngine::TMainParsingEngine() : wordChars_(DefaultWordChars()) { RebuildTables(); }

void TMainParsingEngine::RebuildTables() {
  isWord_.fill(false);
  isMidWord_.fill(false);
  isEndStrip_.fill(false);
  for (char c : wordChars_) {
    isWord_[static_cast<unsigned char>(c)] = true;
    if (midWordExclusions_.find(c) == std::string::npos) isMidWord_[static_cast<unsigned char>(c)] = true;
  }
  for (char c : endStrip_) isEndStrip_[static_cast<unsigned char>(c)] = true;
}

void TMainParsingEngine::SetWordChars(const std::string& chars) {
  wordChars_ = chars;
  RebuildTables();
}

void TMainParsingEngine::SetMidWordExclusions(const std::string& chars) {
  midWordExclusions_ = chars;
  RebuildTables();
}

void TMainParsingEngine::SetFrenchApostrophes(bool on) {
  if (on) {
    midWordExclusions_ += '\'';
  } else {
    const size_t at = midWordExclusions_.find('\'');
    if (at != std::string::npos) midWordExclusions_.erase(at, 1);
  }
  frenchApostrophes_ = on;
  RebuildTables();
}

void TMainParsingEngine::Initialize(TControlParser* parser, Integer checkType) {
  parser_ = parser;
  if (!parser_) return;
  Integer sx = 0, sy = 0, ex = 0, ey = 0;
  parser_->GetSelectionPosition(sx, sy, ex, ey);
  switch (checkType) {
    case 0:
      StartAt(sx, sy);
      parser_->SetPosition(ex, ey, 1);
      break;
    case 1:
      StartAt(sx, sy);
      break;
    case 2:
      parser_->SetPosition(0, 0, 0);
      break;
    default:
      break;
  }
}

void TMainParsingEngine::StartAt(Integer x, Integer y) {
  if (!parser_) return;
  parser_->SetPosition(x, y, 0);
  while (IsMidWordChar(parser_->GetChar()) && parser_->MovePrevious()) {
  }
}

std::string TMainParsingEngine::NextWord() {
  if (!parser_) return std::string();
  TControlParser& p = *parser_;
  for (;;) {
    // 1. A start.
    char c = 0;
    for (;;) {
      c = p.GetChar();
      if (OnCharacter) {
        Integer bx = 0, by = 0, ax = 0, ay = 0;
        p.GetPosition(bx, by);
        bool ignored = false;
        OnCharacter(c, parser_, ignored);
        p.GetPosition(ax, ay);
        // A hook that skipped text left the cursor on its last character;
        // one that did not move cannot be asked again in place.
        if (ignored && (ax != bx || ay != by)) continue;
        if (ignored) c = p.GetChar();
      }
      if (IsWordChar(c) && !IsStartExclusion(c)) break;
      if (!p.MoveNext()) {
        lastWord_.clear();
        return lastWord_;
      }
    }
    // 2. Collect.
    std::string word(1, c);
    bool dotted = false;
    for (;;) {
      if (!p.MoveNext()) {
        if (!allowIncompleteLastWord_) word.clear();
        break;
      }
      c = p.GetChar();
      if (!IsMidWordChar(c)) {
        bool keep = false;
        if (allowMidWordPeriod_ && c == '.') {
          // A look at the character after the period; the parsers step onto
          // the place after the text even when they answer False.
          p.MoveNext();
          const char next = p.GetChar();
          p.MovePrevious();
          if (IsMidWordChar(next)) {
            keep = true;
          } else if (word.find('.') != std::string::npos) {
            keep = true;
            dotted = true;
          }
        } else if (frenchApostrophes_ && c == '\'') {
          const std::string lower = EngineLowerCase(word);
          keep = lower == "aujourd" || lower == "entr";
        }
        if (!keep) break;
      }
      word += c;
    }
    // 3. Strip.
    while (!word.empty() && isEndStrip_[static_cast<unsigned char>(word.back())] &&
           !(dotted && word.back() == '.')) {
      word.pop_back();
      p.MovePrevious();
    }
    // 4. The word hook.
    bool ignored = false;
    if (OnWord) OnWord(word, parser_, ignored);
    if (!ignored) {
      lastWord_ = word;
      return lastWord_;
    }
  }
}

}  // namespace spell
