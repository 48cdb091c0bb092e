#pragma once
// A text cursor over the caller's string variable (UTF-8). It shows the
// engine one Windows-1252 byte per character: a character 1252 cannot hold
// reads as a blank (a word boundary) and is never touched, so it comes back
// unchanged in the caller's string. X counts characters from 1; Y is 0.
#include <string>
#include <vector>

#include "spell/engine/lx3ParserBase.h"

namespace spell {

class TStringParser : public TControlParser {
 public:
  TStringParser() = default;
  // Binds the parser to text (which must outlive it): cursor 1, no end mark.
  void Initialize(std::string* text);

  char GetChar() override;
  std::string GetLine() override;
  bool MoveNext() override;
  bool MovePrevious() override;
  void SetPosition(Integer x, Integer y, Integer kind) override;
  void GetPosition(Integer& x, Integer& y) override;
  void SelectPreviousWord(Integer length) override;
  // word is engine text; it goes into the caller's string as UTF-8.
  void ReplaceWord(const std::string& word, Integer state) override;
  void IgnoreWord(Integer state) override;
  void CenterSelection() override {}
  void GetCursorPosition(Integer& x, Integer& y) override;
  void GetSelectionPosition(Integer& startX, Integer& startY, Integer& endX, Integer& endY) override;
  TParserRect GetControlScreenRect() override { return {}; }
  TParserRect GetWordScreenRect() override { return {}; }
  void UndoLast(Integer, TSpellAction, Integer&) override {}

  // Characters in the text.
  Integer Length() const { return static_cast<Integer>(starts_.size()) - 1; }

 private:
  void Index();
  char CharAt(Integer x) const;  // 1-based

  std::string* text_ = nullptr;
  std::vector<size_t> starts_{0};  // byte offset of each character, then the end
  Integer endX_ = 0;
  bool endMark_ = false;
  Integer cursor_ = 1;
  Integer wordLength_ = 0;
};

}  // namespace spell
