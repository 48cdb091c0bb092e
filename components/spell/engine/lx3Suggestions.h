#pragma once
// Near-miss suggestions: a misspelt word's variants with one letter missing,
// one too many, one wrong, two swapped (adjacent or one apart), and the word
// split in two, each kept when the caller's existence test accepts it. The
// component ranks them afterwards; the generator only collects.
#include <functional>
#include <string>
#include <string_view>

#include "spell/engine/lx3Types.h"

namespace rtl {
class TStrings;
}

namespace spell {

// Kinds of near miss, as flags.
enum TSuggestionKind : Byte {
  skInsertLetter = 1,
  skTranspose = 2,
  skDeleteLetter = 4,
  skSubstitute = 8,
  skSplitWord = 16,
};
inline constexpr Byte skAllKinds = 31;

class TSuggestionsGenerator {
 public:
  // Answers whether a candidate is a word.
  using TExistenceTest = std::function<bool(const std::string& word)>;

  TSuggestionsGenerator();
  TSuggestionsGenerator(const TSuggestionsGenerator&) = delete;
  TSuggestionsGenerator& operator=(const TSuggestionsGenerator&) = delete;
  virtual ~TSuggestionsGenerator() = default;

  // Stores the language, reapplies the default kinds and appends the
  // language's letters (never removed again).
  virtual void SetLanguage(Integer lcid);
  Integer Language() const { return language_; }
  // True: all five kinds, or all but splitting for Swedish (1053).
  virtual void SetDefaultKinds(bool value);
  virtual void SetKinds(Byte kinds);
  Byte Kinds() const { return kinds_; }
  bool DefaultKinds() const { return defaultKinds_; }
  const std::string& UsageLetters() const { return usageLetters_; }
  const std::string& StartLetters() const { return startLetters_; }

  // Fills list with near misses of word; most -1 means 65535. The list ends
  // with at most most + 1 entries.
  virtual void Generate(std::string_view word, Integer most, const TExistenceTest& test, rtl::TStrings* list);
  // Generate, then for a mixed-case word once more on its lower-case form
  // (or, when it starts with a capital, that capital and the rest lower).
  virtual void GenerateWithCaseVariants(std::string_view word, Integer most, const TExistenceTest& test,
                                        rtl::TStrings* list);

 protected:
  virtual bool AddCandidate(const std::string& word);
  // True means stop.
  virtual bool TestCandidate(const std::string& word);
  virtual bool TryInsertions();
  virtual bool TryTranspositions(Integer distance);
  virtual bool TryDeletions();
  virtual bool TrySubstitutions();
  virtual bool TrySplits();

 private:
  bool Exists(const std::string& word) const;
  bool ListFull() const;

  std::string word_;
  rtl::TStrings* list_ = nullptr;
  const TExistenceTest* test_ = nullptr;
  Integer language_ = 0;
  std::string usageLetters_;
  std::string startLetters_;
  Integer most_ = 0;
  bool wordLower_ = false;
  bool defaultKinds_ = true;
  Byte kinds_ = skAllKinds;
};

}  // namespace spell
