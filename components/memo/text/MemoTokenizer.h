#pragma once
// The code editor's line tokenizer: it cuts a line into runs of equally
// coloured text by the definitions of a styler (comments, bracketed
// strings, symbols, numbers, keywords, URLs) and carries a token state from
// line to line, so a comment or string opened on one line colours the next.
//
// The tokenizer reads a plain snapshot of the styler (TStylerDefs), which
// the editor refreshes whenever the styler changes; it needs no window code,
// and its runs go to a line painter, so tests can record them without pixels.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "memo/text/LumMemoStrings.h"

namespace memo {

enum class TStyleType : uint8_t { stKeyword, stBracket, stSymbol };
using enum TStyleType;

// Colours are 0x00BBGGRR values as the class library keeps them; the font
// style bits are bold 1, italic 2, underline 4, strike-out 8.
struct TRunLook {
  uint32_t TextColor = 0;
  uint32_t BkColor = 0xFFFFFF;
  uint8_t Style = 0;
  bool operator==(const TRunLook&) const = default;
};

// One element style of a styler.
struct TStyleDef {
  TStyleType StyleType = stKeyword;
  char BracketStart = 0;
  char BracketEnd = 0;
  AnsiString Symbols;
  // The keywords as the styler's list holds them.
  std::vector<AnsiString> KeyWords;
  uint32_t FontColor = 0;
  uint8_t FontStyle = 0;
  uint32_t BGColor = 0xFFFFFF;
};

// What the tokenizer and the run colouring need of a styler.
struct TStylerDefs {
  AnsiString LineComment;
  AnsiString MultiCommentLeft;
  AnsiString MultiCommentRight;
  AnsiString NumberChars = "+-.0123456789";
  AnsiString HexChars;
  AnsiString EscapeChar;
  bool CustomKeywords = false;
  TRunLook CommentStyle{0xC0C0C0, 0xFFFFFF, 2};
  TRunLook NumberStyle{0x800000, 0xFFFFFF, 1};
  std::vector<TStyleDef> Styles;
};

// Receives the runs of one line in order.
class ILinePainter {
 public:
  virtual ~ILinePainter() = default;
  virtual void PaintRun(std::string_view text, const TTokenState& state) = 0;
  // With CustomKeywords: a keyword the styler draws itself; it is no run.
  virtual void KeywordFound(std::string_view word, const TTokenState& state) {}
};

// The colours a run is painted in; the editor's own colours come in plain.
struct TRunColours {
  TRunLook Plain;       // the editor font's colour and style on BkColor
  TRunLook Url;         // UrlStyle
  uint32_t None = 0x1FFFFFFF;  // "no colour": a background that keeps BkColor
};

// The HTML styler's keyword groups as it adds them (upper case).
std::span<const char* const> HtmlStandardKeywords();
std::span<const char* const> HtmlTableKeywords();

class TLineTokenizer {
 public:
  // defs null: no active styler. The tokenizer keeps the pointer.
  void SetDefs(const TStylerDefs* defs, bool caseSensitive, bool urlAware);
  const TStylerDefs* Defs() const { return defs_; }
  bool UrlAware() const { return urlAware_; }
  // The symbol characters of every stSymbol style, in collection order.
  const AnsiString& SymbolChars() const { return symbolChars_; }

  // True when the lower-cased text begins with a URL scheme or "www.".
  static bool IsURL(std::string_view text);
  // The line cut into runs of URL delimiters (blank, quotes, comma) and runs
  // of other characters; the whole line when URLs are not looked for.
  std::vector<std::string_view> SplitURLPieces(std::string_view line) const;
  // Whether the piece holding column (0-based, in characters) is a URL.
  bool URLAtColumn(std::string_view line, Integer column) const;

  // The state at the start of line n, from the nearest valid cache above
  // it; caches every 20th line it passes and stores its result as line n's.
  TTokenState LineStartState(TLumMemoStrings& store, Integer n);
  // Lines the last LineStartState scanned.
  Integer LastScanFrom() const { return lastScanFrom_; }
  Integer LastScanTo() const { return lastScanTo_; }

  // One line with the running state (left as the next line starts): runs
  // of equal state merged and handed to painter, the last one at the end.
  void TokenizeLine(std::string_view line, TTokenState& state, ILinePainter& painter);

  // How a run of that state is coloured.
  TRunLook Look(const TTokenState& state, const TRunColours& colours) const;

 private:
  class TRunMerger;
  void TokenizePiece(std::string_view piece, TTokenState& state, TRunMerger& out);
  bool IsSymbol(char ch) const;
  bool IsKeyword(std::string_view word, const TStyleDef& style) const;
  void ScanPiece(std::string_view piece, TTokenState& s, bool& lineComment) const;

  const TStylerDefs* defs_ = nullptr;
  bool caseSensitive_ = false;
  bool urlAware_ = true;
  AnsiString symbolChars_;
  AnsiString numberStart_;
  AnsiString numberChars_;
  AnsiString hexPrefix_;
  char escape_ = 0;
  // Keyword lists as searched: lower-cased without case sensitivity; sorted.
  std::vector<std::vector<AnsiString>> keys_;
  Integer lastScanFrom_ = -1;
  Integer lastScanTo_ = -1;
};

}  // namespace memo
