#pragma once
// Phonetic keys: words that sound alike get the same key. The key keeps the
// word's first letters verbatim (the main dictionary's walk uses them as a
// prefix) and codes the rest by replacement rules held in a 256-way trie,
// one rule set per language family: English, Russian, French and a default.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "spell/engine/lx3Types.h"

namespace spell {

// A node of the rule trie.
class TReplaceNode {
 public:
  TReplaceNode() = default;
  TReplaceNode(const TReplaceNode&) = delete;
  TReplaceNode& operator=(const TReplaceNode&) = delete;
  virtual ~TReplaceNode();

  // The longest rule whose source matches text at the 1-based position.
  virtual bool Match(std::string_view text, Integer position, std::string& replacement,
                     Integer& sourceLength) const;
  virtual void ClearRules();
  // One node per source character; a source already present is replaced.
  virtual void AddRule(std::string_view source, std::string_view replacement, Integer sourceLength);
  // Rules held below this node (destinations); for tests and diagnostics.
  Integer RuleCount() const;

 private:
  bool hasChildren_ = false;
  std::array<std::unique_ptr<TReplaceNode>, 256> children_;
  bool destination_ = false;
  std::string replacement_;
  Integer sourceLength_ = 0;
};

class TPhoneticsMap : public TReplaceNode {
 public:
  TPhoneticsMap() = default;

  // Loads the rule set of the primary language (low byte): 9 English,
  // 0x19 Russian, 0x0C French, anything else the default set. Nothing when
  // lcid is the loaded language.
  virtual void SetLanguage(Integer lcid);
  Integer Language() const { return language_; }
  // Values below 1 are ignored.
  virtual void SetStartDepth(Integer depth);
  Integer StartDepth() const { return startDepth_; }
  virtual std::string GetPhoneticKey(std::string_view word) const;
  // length(word) div divisor >= distance and distance <= maximum. A divisor
  // of 0 raises rtl::EDivByZero, as the desktop's integer division does.
  virtual bool DistanceAcceptable(std::string_view word, Integer distance) const;

  bool RemoveDuplicates() const { return removeDuplicates_; }
  void SetRemoveDuplicates(bool v) { removeDuplicates_ = v; }
  Integer KeyLimit() const { return keyLimit_; }
  void SetKeyLimit(Integer v) { keyLimit_ = v; }
  Integer Divisor() const { return divisor_; }
  void SetDivisor(Integer v) { divisor_ = v; }
  Integer MaxDistance() const { return maxDistance_; }
  void SetMaxDistance(Integer v) { maxDistance_ = v; }

 private:
  Integer startDepth_ = 2;
  bool removeDuplicates_ = true;
  Integer keyLimit_ = 6;
  Integer language_ = -1;
  Integer divisor_ = 2;
  Integer maxDistance_ = 4;
};

}  // namespace spell
