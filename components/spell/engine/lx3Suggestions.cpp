#include "spell/engine/lx3Suggestions.h"

#include "rtl/StringList.h"
#include "spell/engine/lx3Text.h"

namespace spell {

namespace {

constexpr Integer kMaxWordLength = 250;

std::string ByteRange(int first, int last) {
  std::string s;
  for (int c = first; c <= last; ++c) s += static_cast<char>(c);
  return s;
}

bool IsAllLower(std::string_view s) { return EngineLowerCase(s) == s; }
bool IsAllUpper(std::string_view s) { return EngineUpperCase(s) == s; }
bool IsCapital(char c) { return EngineUpperChar(c) == c && EngineLowerChar(c) != c; }

// Restores a saved value when the scope ends, whatever ends it.
template <typename T>
class Restore {
 public:
  explicit Restore(T& target) : target_(target), saved_(target) {}
  ~Restore() { target_ = std::move(saved_); }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace

TSuggestionsGenerator::TSuggestionsGenerator() {
  usageLetters_ = "'" + ByteRange('a', 'z') + "\xD7\xDE\xDF" + ByteRange(0xE0, 0xFF) + "\xB8\xA8\xB9\xB3\xBF";
  startLetters_ = "'" + ByteRange('a', 'z') + ByteRange('A', 'Z') + ByteRange(0xC0, 0xFF) + "\xB8\xA8\xB9\xB3\xBF";
  SetDefaultKinds(true);
}

void TSuggestionsGenerator::SetLanguage(Integer lcid) {
  if (lcid == language_) return;
  language_ = lcid;
  SetDefaultKinds(defaultKinds_);
  std::string extra;
  if (lcid == 1029)
    extra = "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D"
            "\xDA\xD9\xDD\x8E";
  else if ((lcid & 0xFF) == 0x0C)
    extra = "\x9C";
  else if (lcid == 1049)
    extra = "\xB2\xA2\xB1\xA1\xBC\xAC\xB6\xA6";
  else if (lcid == 1045)
    extra = "\xB9\xE6\xEA\xB3\xB3\xF1\xF3\x9C\xBF\x9F\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F";
  usageLetters_ += extra;
  startLetters_ += extra;
}

void TSuggestionsGenerator::SetDefaultKinds(bool value) {
  defaultKinds_ = value;
  if (value) kinds_ = language_ == 1053 ? static_cast<Byte>(skAllKinds & ~skSplitWord) : skAllKinds;
}

void TSuggestionsGenerator::SetKinds(Byte kinds) {
  kinds_ = kinds;
  defaultKinds_ = false;
}

bool TSuggestionsGenerator::Exists(const std::string& word) const { return (*test_)(word); }

bool TSuggestionsGenerator::ListFull() const { return list_->Count() > most_; }

bool TSuggestionsGenerator::AddCandidate(const std::string& word) {
  for (Integer i = 0; i < list_->Count(); ++i)
    if (list_->Get(i) == word) return false;
  list_->Add(word);
  return true;
}

bool TSuggestionsGenerator::TestCandidate(const std::string& word) {
  if (word.size() < 2) return false;
  if (!Exists(word)) return false;
  if (ListFull()) return true;
  if (wordLower_ && !IsAllLower(word) && Exists(EngineLowerCase(word))) return false;
  AddCandidate(word);
  return false;
}

bool TSuggestionsGenerator::TryInsertions() {
  std::string w;
  for (size_t p = word_.size() + 1; p >= 2; --p) {
    for (char letter : usageLetters_) {
      w = word_;
      w.insert(p - 1, 1, letter);
      if (TestCandidate(w)) return true;
    }
  }
  for (char letter : startLetters_) {
    w = letter + word_;
    if (TestCandidate(w)) return true;
  }
  return false;
}

bool TSuggestionsGenerator::TryTranspositions(Integer distance) {
  const auto d = static_cast<size_t>(distance);
  if (word_.size() <= d + 1) return false;
  std::string w = word_;
  for (size_t i = word_.size() - d; i >= 1; --i) {
    std::swap(w[i - 1], w[i - 1 + d]);
    if (TestCandidate(w)) return true;
    std::swap(w[i - 1], w[i - 1 + d]);
  }
  return false;
}

bool TSuggestionsGenerator::TryDeletions() {
  for (size_t i = word_.size(); i >= 1; --i) {
    std::string w = word_;
    w.erase(i - 1, 1);
    if (TestCandidate(w)) return true;
  }
  return false;
}

bool TSuggestionsGenerator::TrySubstitutions() {
  std::string w = word_;
  for (size_t i = word_.size(); i >= 2; --i) {
    for (char letter : usageLetters_) {
      w[i - 1] = letter;
      if (TestCandidate(w)) return true;
    }
    w[i - 1] = word_[i - 1];
  }
  for (char letter : startLetters_) {
    w[0] = letter;
    if (TestCandidate(w)) return true;
  }
  return false;
}

bool TSuggestionsGenerator::TrySplits() {
  const size_t n = word_.size();
  if (n >= 4) {
    for (size_t k = 2; k + 2 <= n; ++k) {
      const std::string first = word_.substr(0, k);
      const std::string second = word_.substr(k);
      if (Exists(first) && Exists(second)) {
        if (ListFull()) return true;
        AddCandidate(first + " " + second);
      }
    }
  }
  // A sentence end typed without its spaces: "end.Then".
  const size_t period = word_.rfind('.');
  if (period != std::string::npos && period + 1 < n && EngineUpperChar(word_[period + 1]) == word_[period + 1]) {
    const std::string before = word_.substr(0, period);
    const std::string after = word_.substr(period + 1);
    if (Exists(before) && Exists(after) && !ListFull())
      AddCandidate(word_.substr(0, period + 1) + "  " + after);
  }
  return false;
}

void TSuggestionsGenerator::Generate(std::string_view word, Integer most, const TExistenceTest& test,
                                     rtl::TStrings* list) {
  if (most == -1) most = 65535;
  if (!test || !list || word.empty() || most <= 0 || word.size() > static_cast<size_t>(kMaxWordLength)) return;
  word_ = std::string(word);
  list_ = list;
  test_ = &test;
  most_ = most;
  wordLower_ = IsAllLower(word_);
  Restore<std::string> keepLetters(usageLetters_);
  if (!wordLower_) usageLetters_ = startLetters_;
  struct Pass {
    Byte kind;
    std::function<bool()> run;
  };
  const Pass passes[] = {
      {skTranspose, [this] { return TryTranspositions(1); }},
      {skInsertLetter, [this] { return TryInsertions(); }},
      {skDeleteLetter, [this] { return TryDeletions(); }},
      {skSubstitute, [this] { return TrySubstitutions(); }},
      {skTranspose, [this] { return TryTranspositions(2); }},
      {skSplitWord, [this] { return TrySplits(); }},
  };
  for (const Pass& pass : passes)
    if ((kinds_ & pass.kind) && pass.run()) break;
  list_ = nullptr;
  test_ = nullptr;
}

void TSuggestionsGenerator::GenerateWithCaseVariants(std::string_view word, Integer most, const TExistenceTest& test,
                                                     rtl::TStrings* list) {
  Generate(word, most, test, list);
  if (word.empty() || IsAllUpper(word) || IsAllLower(word)) return;
  std::string variant;
  if (!IsCapital(word[0]))
    variant = EngineLowerCase(word);
  else
    variant = word[0] + EngineLowerCase(word.substr(1));
  Generate(variant, most, test, list);
}

}  // namespace spell
