// The main dictionary reader against the dictionary every build compiles
// from Debian's word list, and against small lists compiled here.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "SpellTestSupport.h"
#include "rtl/StringList.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3PhoneticsMap.h"
#include "spell/engine/lx3Text.h"

using namespace spell;
using spell_test::AmericanAdmPath;
using spell_test::AmericanWords;

namespace {

std::vector<std::string> Enumerate(TMainDictionary& d) {
  std::vector<std::string> words;
  d.EnumerateAll([&](std::string_view w) { words.emplace_back(w); });
  return words;
}

std::vector<std::string> Candidates(TMainDictionary& d, const TPhoneticsMap& map, const std::string& word) {
  rtl::TStringList list;
  d.FindPhoneticCandidates(word, map, list);
  std::vector<std::string> out;
  for (Integer i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

// The candidates the walk must give, from a scan of the sorted list: words
// that start with the word's first letters and have its key, in byte order,
// without case-insensitive repeats; a word whose key is longer than the
// target's (or that met a full list) cuts every word it begins.
std::vector<std::string> ScanCandidates(const std::vector<std::string>& sorted, const std::unordered_set<std::string>& set,
                                        const TPhoneticsMap& map, const std::string& word) {
  std::vector<std::string> out;
  const std::string target = map.GetPhoneticKey(word);
  if (target.size() < 2) return out;
  const std::string prefix = word.substr(0, std::min<size_t>(word.size(), static_cast<size_t>(map.StartDepth())));
  std::set<std::string> cut;
  for (auto it = std::lower_bound(sorted.begin(), sorted.end(), prefix);
       it != sorted.end() && it->compare(0, prefix.size(), prefix) == 0; ++it) {
    const std::string& w = *it;
    bool below = false;
    for (size_t n = prefix.size(); n < w.size() && !below; ++n) below = cut.count(w.substr(0, n)) > 0;
    if (below) continue;
    const std::string key = map.GetPhoneticKey(w);
    if (key != target) {
      if (key.size() > target.size()) cut.insert(w);
      continue;
    }
    if (out.size() > 500) {
      cut.insert(w);
      continue;
    }
    bool repeat = false;
    for (const std::string& o : out) repeat = repeat || EngineSameText(o, w);
    if (!repeat) out.push_back(w);
  }
  (void)set;
  return out;
}

class AmericanAdm : public ::testing::Test {
 protected:
  void SetUp() override {
    dict.Open(AmericanAdmPath());
    ASSERT_EQ(dict.FileName(), AmericanAdmPath()) << "the build compiles American.adm";
  }
  TMainDictionary dict;
};

}  // namespace

TEST_F(AmericanAdm, HeaderAndEveryWord) {
  EXPECT_EQ(dict.Title(), "American English");
  EXPECT_EQ(dict.Language(), 1033u);
  EXPECT_EQ(dict.WordCount(), 74842u);
  EXPECT_EQ(dict.WordCount(), AmericanWords().size());
  EXPECT_GE(dict.NodeCount(), 65535u);  // 2- and 3-byte references in use
  EXPECT_FALSE(dict.Active());  // mapped on first use
  for (const std::string& w : AmericanWords()) {
    Integer matched = 0;
    ASSERT_TRUE(dict.Lookup(w, matched)) << w;
    ASSERT_EQ(matched, static_cast<Integer>(w.size()));
  }
  EXPECT_TRUE(dict.Active());
  // Possessives of listed words are left to the rule; the others stay.
  EXPECT_TRUE(dict.WordExists("dog"));
  EXPECT_FALSE(dict.WordExists("dog's"));
  EXPECT_TRUE(dict.WordExists("Kinko's"));
  EXPECT_TRUE(dict.WordExists("caf\xE9"));  // café, in Windows-1252
  EXPECT_FALSE(dict.WordExists("caf\xC3\xA9"));
  EXPECT_FALSE(dict.WordExists(""));
  EXPECT_FALSE(dict.WordExists("Dog"));  // case-sensitive
}

TEST_F(AmericanAdm, TrieEnumeratesTheListInByteOrder) {
  EXPECT_EQ(Enumerate(dict), AmericanWords());
  EXPECT_EQ(dict.LastWalkVisits(), dict.NodeCount() - 1);  // every node but the root
}

// Near misses of a seeded sample: each is found exactly when a hash set of
// the words holds it.
TEST_F(AmericanAdm, NearMissesAgreeWithAHashSet) {
  const auto& words = AmericanWords();
  const std::unordered_set<std::string> set(words.begin(), words.end());
  std::string letters;
  {
    std::set<char> seen;
    for (const std::string& w : words) seen.insert(w.begin(), w.end());
    letters.assign(seen.begin(), seen.end());
  }
  std::mt19937 random(20261210);
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  size_t checked = 0, found = 0;
  auto check = [&](const std::string& v) {
    const bool expected = set.count(v) > 0;
    ASSERT_EQ(dict.WordExists(v), expected) << v;
    ++checked;
    found += expected;
  };
  for (int n = 0; n < 2000; ++n) {
    const std::string w = words[pick(random)];
    for (size_t i = 0; i < w.size(); ++i) {
      check(w.substr(0, i) + w.substr(i + 1));
      if (i + 1 < w.size()) {
        std::string t = w;
        std::swap(t[i], t[i + 1]);
        check(t);
      }
      for (char c : letters) {
        std::string s = w;
        s[i] = c;
        check(s);
      }
    }
    for (size_t i = 0; i <= w.size(); ++i)
      for (char c : letters) check(w.substr(0, i) + c + w.substr(i));
  }
  EXPECT_GT(found, 2000u);  // the sample reaches real neighbours, not only misses
  EXPECT_GT(checked, 1000000u);
}

TEST_F(AmericanAdm, PhoneticCandidatesEqualAScanOfTheList) {
  const auto& words = AmericanWords();
  const std::unordered_set<std::string> set(words.begin(), words.end());
  TPhoneticsMap english, general;
  english.SetLanguage(1033);
  general.SetLanguage(0);
  std::mt19937 random(7);
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  std::vector<std::string> misspellings = {"nite", "thot", "speling", "fone", "recieve", "seperate", "definately",
                                           "occured", "wierd", "goverment", "knowlege", "Thier"};
  while (misspellings.size() < 300) {
    std::string w = words[pick(random)];
    if (w.size() < 4) continue;
    const size_t i = 2 + random() % (w.size() - 2);
    switch (random() % 3) {
      case 0: w.erase(i, 1); break;
      case 1: w[i] = static_cast<char>('a' + random() % 26); break;
      default: w.insert(i, 1, static_cast<char>('a' + random() % 26)); break;
    }
    misspellings.push_back(w);
  }
  size_t nonEmpty = 0;
  for (const std::string& m : misspellings)
    for (const TPhoneticsMap* map : {&english, &general}) {
      const auto got = Candidates(dict, *map, m);
      ASSERT_EQ(got, ScanCandidates(words, set, *map, m)) << m;
      EXPECT_LE(dict.LastWalkVisits(), dict.NodeCount());
      nonEmpty += !got.empty();
    }
  EXPECT_GT(nonEmpty, 300u);
  const auto nite = Candidates(dict, english, "nite");
  EXPECT_NE(std::find(nite.begin(), nite.end(), "night"), nite.end());
  EXPECT_TRUE(Candidates(dict, english, "a").empty());  // key shorter than 2
}

TEST(MainDictionary, SmallListWithTwoByteReferences) {
  core_test::ScratchFolder dir("spell-adm");
  admc::Statistics stats;
  const std::vector<std::string> list = {"a",        "I",         "an",      "and",      "ant",     "anthem",
                                         "anthology", "be",       "bee",     "beekeeper", "zebra",  "caf\xC3\xA9",
                                         "x-ray",    "understand", "understanding", "dog", "dog's", "Kinko's"};
  const std::string file = spell_test::CompileAdm(dir.Path(), "small.adm", list, 1036, &stats);
  EXPECT_FALSE(stats.threeByteReferences);
  EXPECT_GT(stats.classCounts[1] + stats.classCounts[2] + stats.classCounts[3] + stats.classCounts[4] +
                stats.classCounts[5] + stats.classCounts[6] + stats.classCounts[7] + stats.classCounts[8],
            0u);  // runs of single letters folded
  TMainDictionary d;
  d.Open(file);
  ASSERT_EQ(d.FileName(), file);
  EXPECT_EQ(d.Language(), 1036u);
  EXPECT_EQ(d.Title(), "Test small.adm");
  EXPECT_EQ(d.WordCount(), 17u);  // "dog's" left to the possessive rule
  struct Case {
    std::string word;
    bool found;
  } cases[] = {
      {"a", true},        {"I", true},           {"b", false},       {"an", true},
      {"anthem", true},   {"anthe", false},      {"anth", false},    {"anthemx", false},
      {"beekeeper", true}, {"beekeepe", false},  {"beek", false},    {"caf\xE9", true},
      {"understanding", true}, {"understandin", false}, {"x-ray", true}, {"dog's", false},
      {"Kinko's", true},  {"zebra", true},       {"zebras", false},  {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(d.WordExists(c.word), c.found) << c.word;
  auto sorted = admc::PrepareWords(list);
  EXPECT_EQ(Enumerate(d), sorted);
  // A lookup counts the letters it matched.
  Integer matched = 0;
  EXPECT_FALSE(d.Lookup("anthx", matched));
  EXPECT_EQ(matched, 4);
}

TEST(MainDictionary, OpenFailuresAndReopening) {
  core_test::ScratchFolder dir("spell-open");
  const std::string one = spell_test::CompileAdm(dir.Path(), "one.adm", {"alpha", "beta"});
  const std::string two = spell_test::CompileAdm(dir.Path(), "two.adm", {"gamma", "delta"});
  TMainDictionary d;
  d.Open(one);
  EXPECT_TRUE(d.WordExists("alpha"));
  d.CountHit();
  EXPECT_EQ(d.HitCount(), 1u);
  ASSERT_TRUE(d.Active());

  // Exactly 1024 bytes: refused; the name stays, the mapping is closed and
  // the hits start again.
  const std::string shortFile = (dir.Path() / "short.adm").string();
  core_test::WriteFile(shortFile, core_test::Slurp(one).substr(0, 1024));
  d.Open(shortFile);
  EXPECT_EQ(d.FileName(), one);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.HitCount(), 0u);
  EXPECT_TRUE(d.WordExists("beta"));  // activates again on use

  // A missing file changes nothing at all.
  d.CountHit();
  d.Open((dir.Path() / "missing.adm").string());
  EXPECT_TRUE(d.Active());
  EXPECT_EQ(d.HitCount(), 1u);

  // Another banner is refused.
  std::string foreign = core_test::Slurp(one);
  foreign[0] = 'X';
  const std::string foreignFile = (dir.Path() / "foreign.adm").string();
  core_test::WriteFile(foreignFile, foreign);
  d.Open(foreignFile);
  EXPECT_EQ(d.FileName(), one);

  // A valid file while active: the mapping is closed and opened again.
  ASSERT_TRUE(d.WordExists("alpha"));
  d.Open(two);
  EXPECT_EQ(d.FileName(), two);
  EXPECT_TRUE(d.Active());
  EXPECT_TRUE(d.WordExists("gamma"));
  EXPECT_FALSE(d.WordExists("alpha"));
}

TEST(MainDictionary, PhoneticWalkStopsAddingAt501) {
  core_test::ScratchFolder dir("spell-501");
  std::vector<std::string> words;
  const std::string vowels = "aeiou";
  for (char a : vowels)
    for (char b : vowels)
      for (char c : vowels)
        for (char e : vowels) words.push_back(std::string("ba") + a + b + c + e);  // 625 words keyed "ba"
  const std::string file = spell_test::CompileAdm(dir.Path(), "many.adm", words);
  TMainDictionary d;
  d.Open(file);
  TPhoneticsMap map;
  map.SetLanguage(1033);
  ASSERT_EQ(map.GetPhoneticKey("baeiou"), "ba");
  EXPECT_EQ(Candidates(d, map, "baxxx").size(), 0u);  // key "baks...": no word has it
  const auto got = Candidates(d, map, "bauuu");
  EXPECT_EQ(got.size(), 501u);
  // A list that already holds suggestions from elsewhere fills to 501 too.
  rtl::TStringList list;
  for (int i = 0; i < 400; ++i) list.Add("other" + std::to_string(i));
  d.FindPhoneticCandidates("bauuu", map, list);
  EXPECT_EQ(list.Count(), 501);
}

TEST(MainDictionary, InactiveWithoutAFile) {
  TMainDictionary d;
  EXPECT_FALSE(d.WordExists("word"));
  d.SetActive(true);
  EXPECT_FALSE(d.Active());
  TPhoneticsMap map;
  map.SetLanguage(1033);
  rtl::TStringList list;
  d.FindPhoneticCandidates("word", map, list);
  EXPECT_EQ(list.Count(), 0);
}
