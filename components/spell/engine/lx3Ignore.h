#pragma once
// The ignore filters: markup, internet addresses, quoted lines, words in
// capitals, words with digits and dotted abbreviations.
#include <string>

#include "spell/engine/lx3ParserBase.h"

namespace spell {

// Skips tags, comments (up to "-->") and server blocks ("<%...%>",
// "<?...?>"); ignores entities ("&nbsp").
class THTMLIgnore : public TParserIgnoreBase {
 public:
  bool HooksParser() override { return true; }
  bool IgnoreChar(char c, TControlParser* parser) override;
  bool IsIgnoredWord(const std::string& word, TControlParser* parser) override;
  // True when text starts at the cursor; the cursor is then on its last
  // character, otherwise where it was.
  static bool MatchAhead(const std::string& text, TControlParser* parser);
};

// Skips addresses: a scheme word and ":", anything before "@", "www." before
// a slash; ignores words starting "www.".
class TURLIgnore : public TParserIgnoreBase {
 public:
  bool HooksParser() override { return true; }
  bool IgnoreParsedWord(const std::string& word, TControlParser* parser) override;
  bool IsIgnoredWord(const std::string& word, TControlParser* parser) override;
};

// Ignores the words of lines that start with a quote character.
class TQuotedLineIgnore : public TParserIgnoreBase {
 public:
  explicit TQuotedLineIgnore(std::string quoteChars = ">") : quoteChars_(std::move(quoteChars)) {}
  bool ChecksLines() override { return true; }
  bool IsIgnoredWord(const std::string& word, TControlParser* parser) override;
  bool IsIgnoredLine(const std::string& line) override;
  const std::string& QuoteChars() const { return quoteChars_; }

 private:
  std::string quoteChars_;
};

// Ignores words equal to their capitals (also words without letters).
class TUppercaseWordIgnore : public TParserIgnoreBase {
 public:
  bool IsIgnoredWord(const std::string& word, TControlParser* parser) override;
};

// Ignores words holding a decimal digit.
class TNumbersIgnore : public TParserIgnoreBase {
 public:
  bool IsIgnoredWord(const std::string& word, TControlParser* parser) override;
};

// Ignores dotted abbreviations: U.S.A., e.g., a.b.
class TAbbreviationsIgnore : public TParserIgnoreBase {
 public:
  bool IsIgnoredWord(const std::string& word, TControlParser* parser) override;
};

}  // namespace spell
