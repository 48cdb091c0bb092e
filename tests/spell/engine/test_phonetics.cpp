// Phonetic keys and the rule sets of each language family.
#include <gtest/gtest.h>

#include <string>

#include "rtl/Exceptions.h"
#include "spell/engine/lx3PhoneticsMap.h"

using namespace spell;

TEST(PhoneticsMap, EnglishKeys) {
  TPhoneticsMap map;
  map.SetLanguage(1033);
  struct Case {
    const char* word;
    const char* key;
  } cases[] = {
      {"night", "nit"},       {"nite", "nit"},     {"thought", "tht"},     {"thot", "tht"},
      {"spelling", "splnk"},  {"speling", "splnk"}, {"knowledge", "knlj"}, {"phone", "phn"},
      {"fone", "fon"},        {"Night", "nit"},     {"it", "it"},           {"a", "a"},
      {"", ""},               {"taxes", "taks"},    {"church", "chrx"},     {"judge", "juj"},
      {"tomahawk", "tomhk"},  // a vowel, h and a vowel code as h
      {"cheetah", "cht"},     // a vowel and h code as nothing
      {"nation", "naxn"},     // "tio" codes as x and consumes the t only
      {"behave", "behf"},
  };
  for (const Case& c : cases) EXPECT_EQ(map.GetPhoneticKey(c.word), c.key) << c.word;
}

TEST(PhoneticsMap, BudgetEndsTheKey) {
  TPhoneticsMap map;
  map.SetLanguage(1033);
  // Start letters plus at most six coded characters...
  EXPECT_EQ(map.GetPhoneticKey("bbbcdfghjklmnpqrst"), "bb" "ktfjkl");  // b doubles the start, gh is silent
  EXPECT_LE(map.GetPhoneticKey("stmbrldfknprtsl").size(), 8u);
  // ... or seven when the last replacement is "ks".
  EXPECT_EQ(map.GetPhoneticKey("zzbdfklx"), "zzbtfkl" "ks");
}

TEST(PhoneticsMap, DefaultRulesKeepTheStartLetters) {
  TPhoneticsMap map;
  map.SetLanguage(0);
  EXPECT_NE(map.GetPhoneticKey("cat"), map.GetPhoneticKey("kat"));
  EXPECT_EQ(map.GetPhoneticKey("cat"), "cad");
  EXPECT_EQ(map.GetPhoneticKey("catt"), map.GetPhoneticKey("cat"));  // a doubled sound codes once
  map.SetRemoveDuplicates(false);
  EXPECT_EQ(map.GetPhoneticKey("catt"), "cadd");
}

TEST(PhoneticsMap, RuleSetsByPrimaryLanguage) {
  struct Case {
    Integer lcid;
    Integer rules;
  } cases[] = {
      {1033, 89}, {2057, 89}, {0x0409 | 0x0C00, 89},  // English of any country
      {1049, 26},                                     // Russian: 32 added, later ones replace earlier
      {1036, 18}, {3084, 18},                         // French
      {1031, 18}, {0, 18}, {1053, 18},                // the default set
  };
  for (const Case& c : cases) {
    TPhoneticsMap map;
    EXPECT_EQ(map.RuleCount(), 0);
    map.SetLanguage(c.lcid);
    EXPECT_EQ(map.RuleCount(), c.rules) << c.lcid;
    EXPECT_EQ(map.Language(), c.lcid);
  }
}

TEST(PhoneticsMap, RussianRulesThatStay) {
  TPhoneticsMap map;
  map.SetLanguage(1049);
  std::string r;
  Integer n = 0;
  ASSERT_TRUE(map.Match("\xEE\xF0\xEE", 1, r, n));  // оро -> ора, 3
  EXPECT_EQ(r, "\xEE\xF0\xE0");
  EXPECT_EQ(n, 3);
  ASSERT_TRUE(map.Match("\xEE", 1, r, n));  // о -> а (the later rule)
  EXPECT_EQ(r, "\xE0");
  ASSERT_TRUE(map.Match("\xE4", 1, r, n));  // д -> т
  EXPECT_EQ(r, "\xF2");
  ASSERT_TRUE(map.Match("\xF1\xF8", 1, r, n));  // сш -> ш, one letter consumed
  EXPECT_EQ(r, "\xF8");
  EXPECT_EQ(n, 1);
  EXPECT_FALSE(map.Match("\xE0", 1, r, n));  // а has no rule
}

TEST(PhoneticsMap, MatchTakesTheDeepestRule) {
  TReplaceNode root;
  root.AddRule("a", "1", 1);
  root.AddRule("abc", "3", 3);
  root.AddRule("a", "one", 1);  // replaces the first
  std::string r;
  Integer n = 0;
  ASSERT_TRUE(root.Match("abcd", 1, r, n));
  EXPECT_EQ(r, "3");
  ASSERT_TRUE(root.Match("abd", 1, r, n));  // "ab" is no rule: back to "a"
  EXPECT_EQ(r, "one");
  EXPECT_EQ(n, 1);
  ASSERT_TRUE(root.Match("xabc", 2, r, n));
  EXPECT_FALSE(root.Match("xyz", 1, r, n));
  EXPECT_EQ(root.RuleCount(), 2);
  root.ClearRules();
  EXPECT_EQ(root.RuleCount(), 0);
}

TEST(PhoneticsMap, StartDepthAndSameLanguage) {
  TPhoneticsMap map;
  map.SetLanguage(1033);
  map.SetStartDepth(0);  // ignored
  EXPECT_EQ(map.StartDepth(), 2);
  map.SetStartDepth(3);
  EXPECT_EQ(map.GetPhoneticKey("NIGHT"), "night");  // "gh" is no longer together
  EXPECT_EQ(map.GetPhoneticKey("Abc"), "abc");  // no longer than the depth: itself in lower case
  map.SetLanguage(1033);  // same language: rules kept
  EXPECT_EQ(map.RuleCount(), 89);
}

TEST(PhoneticsMap, DistanceAcceptable) {
  TPhoneticsMap map;
  struct Case {
    const char* word;
    Integer distance;
    bool ok;
  } cases[] = {
      {"hello", 2, true},   {"hello", 3, false},  // 5 div 2 = 2
      {"abcdefghij", 4, true}, {"abcdefghij", 5, false},  // the maximum, 4
      {"a", 0, true},       {"a", 1, false},
  };
  for (const Case& c : cases) EXPECT_EQ(map.DistanceAcceptable(c.word, c.distance), c.ok) << c.word << c.distance;
  map.SetDivisor(0);
  EXPECT_THROW(map.DistanceAcceptable("word", 1), rtl::EDivByZero);
}
