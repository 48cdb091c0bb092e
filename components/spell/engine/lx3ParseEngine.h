#pragma once
// The tokenizer: which characters make a word, how apostrophes, periods and
// quotes at its edges are treated, and where the ignore filters may skip
// text.
#include <array>
#include <string>

#include "spell/engine/lx3ParserBase.h"

namespace spell {

class TMainParsingEngine : public TParsingEngine {
 public:
  TMainParsingEngine();

  void Initialize(TControlParser* parser, Integer checkType) override;
  void StartAt(Integer x, Integer y) override;
  std::string NextWord() override;

  void SetWordChars(const std::string& chars);
  void SetMidWordExclusions(const std::string& chars);
  // On: the apostrophe ends a word (l'homme is two), except after "aujourd"
  // and "entr".
  void SetFrenchApostrophes(bool on);
  bool FrenchApostrophes() const { return frenchApostrophes_; }

  const std::string& WordChars() const { return wordChars_; }
  bool IsWordChar(char c) const { return isWord_[static_cast<unsigned char>(c)]; }
  bool IsMidWordChar(char c) const { return isMidWord_[static_cast<unsigned char>(c)]; }
  const std::string& LastWord() const { return lastWord_; }
  TControlParser* Parser() const { return parser_; }

 private:
  void RebuildTables();
  bool IsStartExclusion(char c) const { return startExclusions_.find(c) != std::string::npos; }

  TControlParser* parser_ = nullptr;  // not owned
  std::string wordChars_;
  std::string startExclusions_ = "'\"";
  std::string endStrip_ = "'\".";
  std::string midWordExclusions_ = "&";
  std::array<bool, 256> isWord_{};
  std::array<bool, 256> isMidWord_{};
  std::array<bool, 256> isEndStrip_{};
  std::string lastWord_;
  bool allowMidWordPeriod_ = true;
  bool allowIncompleteLastWord_ = false;
  bool frenchApostrophes_ = false;
};

}  // namespace spell
