// Near-miss suggestions against small word sets.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "rtl/StringList.h"
#include "spell/engine/lx3Suggestions.h"

using namespace spell;

namespace {

struct SuggestionWords {
  std::set<std::string> words;
  std::vector<std::string> asked;
  TSuggestionsGenerator::TExistenceTest Test() {
    return [this](const std::string& w) {
      asked.push_back(w);
      return words.count(w) > 0;
    };
  }
};

std::vector<std::string> Suggest(TSuggestionsGenerator& g, const std::string& word, std::set<std::string> words,
                                 Integer most = -1, bool caseVariants = false) {
  SuggestionWords w{std::move(words), {}};
  rtl::TStringList list;
  if (caseVariants)
    g.GenerateWithCaseVariants(word, most, w.Test(), &list);
  else
    g.Generate(word, most, w.Test(), &list);
  std::vector<std::string> out;
  for (Integer i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

using List = std::vector<std::string>;

}  // namespace

TEST(SuggestionsGenerator, LetterSets) {
  TSuggestionsGenerator g;
  EXPECT_EQ(g.UsageLetters().size(), 67u);
  EXPECT_EQ(g.StartLetters().size(), 122u);
  EXPECT_EQ(g.Kinds(), skAllKinds);
  g.SetLanguage(1036);  // French: œ
  EXPECT_EQ(g.UsageLetters().back(), '\x9C');
  EXPECT_EQ(g.StartLetters().size(), 123u);
  g.SetLanguage(1045);  // Polish, appended after French's: never removed
  EXPECT_EQ(g.UsageLetters().size(), 67u + 1 + 19);
  TSuggestionsGenerator czech;
  czech.SetLanguage(1029);
  EXPECT_EQ(czech.UsageLetters().size(), 67u + 30);
  TSuggestionsGenerator russian;
  russian.SetLanguage(1049);
  EXPECT_EQ(russian.UsageLetters().size(), 67u + 8);
}

TEST(SuggestionsGenerator, KindsAndSwedish) {
  TSuggestionsGenerator g;
  g.SetLanguage(1053);
  EXPECT_EQ(g.Kinds(), 15);
  EXPECT_EQ(Suggest(g, "thecat", {"the", "cat"}), List{});
  g.SetLanguage(2077);  // Swedish of Finland splits
  EXPECT_EQ(g.Kinds(), 31);
  EXPECT_EQ(Suggest(g, "thecat", {"the", "cat"}), List{"the cat"});
  g.SetKinds(skDeleteLetter);
  EXPECT_FALSE(g.DefaultKinds());
  g.SetLanguage(1053);  // kinds the caller set stay
  EXPECT_EQ(g.Kinds(), skDeleteLetter);
}

TEST(SuggestionsGenerator, PassesInOrder) {
  TSuggestionsGenerator g;
  struct Case {
    const char* word;
    std::set<std::string> words;
    List expected;
  } cases[] = {
      {"teh", {"the", "tea", "ten"}, {"the", "tea", "ten"}},  // transposition first, then substitutions
      {"ct", {"cat", "cut", "act"}, {"cat", "cut", "act"}},   // insertions from the end, the first place last
      {"catt", {"cat"}, {"cat"}},
      {"thecat", {"the", "cat"}, {"the cat"}},
      {"end.Then", {"end", "Then"}, {"end.  Then"}},  // a sentence end typed without spaces
      {"end.then", {"end", "then"}, {}},              // only before a capital
      {"abcd", {"cbad"}, {"cbad"}},                   // one letter between
      {"a", {"an", "at"}, {"an", "at"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Suggest(g, c.word, c.words), c.expected) << c.word;
}

TEST(SuggestionsGenerator, ShortWordsGetNoTranspositions) {
  TSuggestionsGenerator g;
  g.SetKinds(skTranspose);
  EXPECT_EQ(Suggest(g, "ab", {"ba"}), List{});
  EXPECT_EQ(Suggest(g, "abc", {"cba"}), List{});  // three letters: none one apart
  EXPECT_EQ(Suggest(g, "abc", {"bac"}), List{"bac"});
  EXPECT_EQ(Suggest(g, "abcd", {"cbad"}), List{"cbad"});
}

TEST(SuggestionsGenerator, CapitalsInsideOnlyForWordsThatAreNotLowerCase) {
  TSuggestionsGenerator g;
  EXPECT_EQ(Suggest(g, "Hllo", {"HEllo"}), List{"HEllo"});
  EXPECT_EQ(Suggest(g, "hllo", {"hEllo"}), List{});
  const std::string before = g.UsageLetters();
  Suggest(g, "Hllo", {});
  EXPECT_EQ(g.UsageLetters(), before);  // restored after the call
}

TEST(SuggestionsGenerator, LowerCaseWordsPreferLowerCaseCandidates) {
  TSuggestionsGenerator g;
  EXPECT_EQ(Suggest(g, "oaris", {"Paris"}), List{"Paris"});
  EXPECT_EQ(Suggest(g, "oaris", {"Paris", "paris"}), List{"paris"});
}

TEST(SuggestionsGenerator, MostStopsAtTheNextFoundCandidate) {
  TSuggestionsGenerator g;
  const std::set<std::string> words = {"bat", "cot", "act", "cast", "cart", "chat", "coat", "at", "ca"};
  EXPECT_EQ(Suggest(g, "cat", words, 2).size(), 3u);
  EXPECT_EQ(Suggest(g, "cat", words, 1).size(), 2u);
  EXPECT_GE(Suggest(g, "cat", words, -1).size(), 9u);
}

TEST(SuggestionsGenerator, NothingWithoutAWordAListOrRoom) {
  TSuggestionsGenerator g;
  EXPECT_EQ(Suggest(g, "", {"a"}), List{});
  EXPECT_EQ(Suggest(g, "teh", {"the"}, 0), List{});
  EXPECT_EQ(Suggest(g, std::string(251, 'x'), {std::string(250, 'x')}), List{});
  EXPECT_EQ(Suggest(g, std::string(250, 'x'), {std::string(249, 'x')}), List{std::string(249, 'x')});
  rtl::TStringList list;
  g.Generate("teh", -1, nullptr, &list);
  EXPECT_EQ(list.Count(), 0);
  SuggestionWords w{{"the"}, {}};
  g.Generate("teh", -1, w.Test(), nullptr);
  EXPECT_TRUE(w.asked.empty());
}

TEST(SuggestionsGenerator, OneLetterCandidatesAreNeverAsked) {
  TSuggestionsGenerator g;
  SuggestionWords w{{"a"}, {}};
  rtl::TStringList list;
  g.Generate("ab", -1, w.Test(), &list);
  for (const std::string& asked : w.asked) EXPECT_GE(asked.size(), 2u) << asked;
}

TEST(SuggestionsGenerator, CaseVariants) {
  TSuggestionsGenerator g;
  g.SetKinds(skDeleteLetter);
  // Mixed case, starting with a capital: again as Capital + lower.
  EXPECT_EQ(Suggest(g, "HeLLLo", {"Hello"}, -1, true), List{"Hello"});
  // Mixed case, starting lower: again all lower.
  EXPECT_EQ(Suggest(g, "hELLLO", {"hello"}, -1, true), List{"hello"});
  // All capitals: no second pass.
  EXPECT_EQ(Suggest(g, "HELLLO", {"hello"}, -1, true), List{});
}
