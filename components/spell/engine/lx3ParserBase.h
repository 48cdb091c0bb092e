#pragma once
// The abstract pieces through which the spell checker reads text: the text
// cursor `TControlParser` (over a string, an edit control or the HTML
// editor's document), the tokenizer `TParsingEngine` and the ignore filters
// `TParserIgnore`. Characters are engine text: one Windows-1252 byte each.
#include <functional>
#include <string>

#include "spell/engine/lx3Types.h"

namespace spell {

// A screen rectangle (right and bottom exclusive); (-1, -1, -1, -1) is "no
// position".
struct TParserRect {
  Integer Left = -1;
  Integer Top = -1;
  Integer Right = -1;
  Integer Bottom = -1;
  bool operator==(const TParserRect&) const = default;
};

// The actions a check run can undo.
enum TSpellAction { saIgnore, saIgnoreAll, saChange, saChangeAll, saAdd, saAutoCorrect };

// The text cursor: positions are (X, Y), Y a line from 0.
class TControlParser {
 public:
  TControlParser() = default;
  TControlParser(const TControlParser&) = delete;
  TControlParser& operator=(const TControlParser&) = delete;
  virtual ~TControlParser() = default;

  // The character at the cursor; 0 past the end of the text.
  virtual char GetChar() = 0;
  // The cursor's line.
  virtual std::string GetLine() = 0;
  // One character forward; False at the end of the text or past the end mark.
  virtual bool MoveNext() = 0;
  // One character back; False at the start.
  virtual bool MovePrevious() = 0;
  // Kind 0 the cursor, kind 1 the end mark; other kinds do nothing.
  virtual void SetPosition(Integer x, Integer y, Integer kind) = 0;
  virtual void GetPosition(Integer& x, Integer& y) = 0;
  // The length characters before the cursor become the current word; the
  // cursor moves to its start.
  virtual void SelectPreviousWord(Integer length) = 0;
  // Replaces the current word; the cursor moves after the new text and the
  // end mark follows the change of length.
  virtual void ReplaceWord(const std::string& word, Integer state) = 0;
  // The cursor moves after the current word.
  virtual void IgnoreWord(Integer state) = 0;
  virtual void CenterSelection() = 0;
  virtual void GetCursorPosition(Integer& x, Integer& y) = 0;
  virtual void GetSelectionPosition(Integer& startX, Integer& startY, Integer& endX, Integer& endY) = 0;
  virtual TParserRect GetControlScreenRect() = 0;
  virtual TParserRect GetWordScreenRect() = 0;
  virtual void UndoLast(Integer undoState, TSpellAction undoAction, Integer& undoData) = 0;
};

// Cuts the text a parser walks into words. The hooks may skip text: the
// character hook at each possible word start, the word hook after each
// collected word; either answers ignored after moving the cursor.
class TParsingEngine {
 public:
  using TCharHook = std::function<void(char c, TControlParser* parser, bool& ignored)>;
  using TWordHook = std::function<void(const std::string& word, TControlParser* parser, bool& ignored)>;

  TParsingEngine() = default;
  TParsingEngine(const TParsingEngine&) = delete;
  TParsingEngine& operator=(const TParsingEngine&) = delete;
  virtual ~TParsingEngine() = default;

  // Check type 0: the selection; 1: from the selection start to the end;
  // 2: the whole text; anything else leaves the cursor where it is.
  virtual void Initialize(TControlParser* parser, Integer checkType) = 0;
  virtual void StartAt(Integer x, Integer y) = 0;
  // The next word not ignored by a hook; empty when the text is exhausted.
  virtual std::string NextWord() = 0;

  TCharHook OnCharacter;
  TWordHook OnWord;
};

// A filter of text not to be checked.
class TParserIgnore {
 public:
  TParserIgnore() = default;
  TParserIgnore(const TParserIgnore&) = delete;
  TParserIgnore& operator=(const TParserIgnore&) = delete;
  virtual ~TParserIgnore() = default;

  // Takes part in tokenizing (IgnoreChar, IgnoreParsedWord).
  virtual bool HooksParser() = 0;
  // Tests whole lines (IsIgnoredLine).
  virtual bool ChecksLines() = 0;
  // At a possible word start: True when an ignored stretch starts here; the
  // cursor is left on its last character.
  virtual bool IgnoreChar(char c, TControlParser* parser) = 0;
  // After a word (the cursor on the character that ended it): True when the
  // word starts an ignored stretch; the cursor is moved past it.
  virtual bool IgnoreParsedWord(const std::string& word, TControlParser* parser) = 0;
  virtual bool IsIgnoredWord(const std::string& word, TControlParser* parser) = 0;
  virtual bool IsIgnoredLine(const std::string& line) = 0;
};

// Every question answered False.
class TParserIgnoreBase : public TParserIgnore {
 public:
  bool HooksParser() override { return false; }
  bool ChecksLines() override { return false; }
  bool IgnoreChar(char, TControlParser*) override { return false; }
  bool IgnoreParsedWord(const std::string&, TControlParser*) override { return false; }
  bool IsIgnoredWord(const std::string&, TControlParser*) override { return false; }
  bool IsIgnoredLine(const std::string&) override { return false; }
};

}  // namespace spell
