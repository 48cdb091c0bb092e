#pragma once
// The edit mask of masked edits: "mask;save-literals;blank". Mask
// characters: L letter, l optional letter, A letter or digit, a optional
// one, C any character, c optional one, 0 digit, 9 optional digit, # digit
// or sign (optional), : and / the locale's time and date separators, >
// upper case from here on, < lower case, <> no conversion, \ the next
// character as a literal, ! optional characters stand as leading blanks
// rather than trailing ones, _ a blank literal; every other character is
// a literal. The second field says whether Text keeps the literals ("0"
// drops them, anything else keeps them), the third is the blank character
// shown for an empty position ("_" when not given).
//
// The edit text (what the field shows) has exactly one character for each
// position of the mask. The engine reads masks and texts from outside
// (the grid takes masks from cell text), so any input is taken: unknown
// or cut-off escapes become literals, and no call raises.
#include <vector>

#include "rtl/Types.h"

namespace vcl {

class TMaskEngine {
 public:
  enum class TKind : char {
    Literal,
    Letter,         // L
    OptLetter,      // l
    AlphaNum,       // A
    OptAlphaNum,    // a
    Any,            // C
    OptAny,         // c
    Digit,          // 0
    OptDigit,       // 9
    DigitOrSign,    // #
  };
  enum class TCase : char { None, Upper, Lower };
  struct TPosition {
    TKind kind = TKind::Literal;
    char32_t literal = 0;
    TCase caseConversion = TCase::None;
  };

  TMaskEngine() = default;
  explicit TMaskEngine(const rtl::AnsiString& editMask);

  bool Empty() const { return positions_.empty(); }
  const rtl::AnsiString& EditMask() const { return editMask_; }
  bool SaveLiterals() const { return saveLiterals_; }
  char32_t BlankChar() const { return blank_; }
  bool LeadingBlanks() const { return leadingBlanks_; }
  const std::vector<TPosition>& Positions() const { return positions_; }
  rtl::Integer Length() const { return static_cast<rtl::Integer>(positions_.size()); }
  bool IsLiteral(rtl::Integer pos) const;
  bool IsRequired(rtl::Integer pos) const;

  // Whether the character may stand at the position, and as what (case
  // converted). Literal positions take only their literal.
  bool Accepts(rtl::Integer pos, char32_t ch) const;
  char32_t Convert(rtl::Integer pos, char32_t ch) const;

  // Every position blank, the literals in place.
  rtl::AnsiString BlankEditText() const;
  // The edit text that shows a text. With saved literals the text is read
  // in the mask's own shape: its parts between the mask's literals go into
  // the runs between them (short parts padded with blanks in front with
  // "!", else behind); without them, its characters fill the positions that
  // are not literals in order. A character a position refuses leaves the
  // position blank.
  rtl::AnsiString EditTextOf(const rtl::AnsiString& text) const;
  // The text of an edit text: blanks become spaces, the literals stay only
  // when the mask saves them.
  rtl::AnsiString TextOf(const rtl::AnsiString& editText) const;

  // The first position at or after pos (before pos, for Prev) that is not
  // a literal; Length (or -1) when there is none.
  rtl::Integer NextEditable(rtl::Integer pos) const;
  rtl::Integer PrevEditable(rtl::Integer pos) const;

  // Typing ch with the caret at caret: a literal typed where it comes next
  // jumps past it; otherwise the character goes into the next editable
  // position when it fits there and the caret moves past it and past the
  // literals after it. False (nothing changed) when it does not fit.
  bool TypeChar(rtl::AnsiString& editText, rtl::Integer& caret, char32_t ch) const;
  // Backspace blanks the editable position before the caret and puts the
  // caret there; Delete blanks the selected positions (or the one at the
  // caret). False when there was nothing to blank.
  bool Backspace(rtl::AnsiString& editText, rtl::Integer& caret) const;
  bool Delete(rtl::AnsiString& editText, rtl::Integer selStart, rtl::Integer selLength) const;
  // Pasting a text at the caret: each character typed in turn; characters
  // that do not fit are skipped.
  void Paste(rtl::AnsiString& editText, rtl::Integer& caret, const rtl::AnsiString& text) const;

  // Every required position holds a character; errorPos, when given,
  // receives the first one that does not.
  bool Valid(const rtl::AnsiString& editText, rtl::Integer* errorPos = nullptr) const;

 private:
  rtl::AnsiString editMask_;
  std::vector<TPosition> positions_;
  bool saveLiterals_ = true;
  bool leadingBlanks_ = false;
  char32_t blank_ = U'_';
};

// The message of a masked edit left with an incomplete value.
inline constexpr const char* kMaskEditError = "Invalid input value.  Use escape key to abandon changes";

}  // namespace vcl
