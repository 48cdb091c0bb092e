// The spell-checker component's rules against American.adm from the build,
// found through "%AppDir%", with the configuration kept nowhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SpellTestSupport.h"
#include "rtl/Files.h"
#include "rtl/Registry.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3PhoneticsMap.h"
#include "spell/engine/lx3SpellBase.h"

using namespace spell;

namespace {

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
    spell.SetConfigStorage(csNone);
    // Custom and learning dictionaries in the scratch folder, the main one
    // beside the program.
    spell.ConfigDictionaryDir().Clear();
    spell.ConfigDictionaryDir().Add(dir.Path().string());
    spell.ConfigDictionaryDir().Add("%AppDir%");
    spell.SuggestionsLearningDict = (dir.Path() / "ann_sp.adl").string();
  }
  void TearDown() override { spell::testing::SetUserNameHook(nullptr); }
  core_test::ScratchFolder dir{"spell-component"};
  TLexaSpell3Base spell;
};

}  // namespace

TEST_F(ComponentTest, FirstRunFindsTheMainDictionaryBesideTheProgram) {
  EXPECT_TRUE(spell.WordAcceptable("house"));
  ASSERT_EQ(spell.MainDictionaryCount(), 1);
  EXPECT_EQ(spell.MainDictionary(0)->FileName(), rtl::ExcludeTrailingPathDelimiter(rtl::ProgramFolder()) + "\\American.adm");
  EXPECT_EQ(spell.GetPrimaryLanguage(), 1033);
  ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
  EXPECT_EQ(spell.ActiveCustomDictionary()->Filename(), dir.Path().string() + "\\ann.adu");
  EXPECT_FALSE(spell.WordAcceptable("hosue"));
}

TEST_F(ComponentTest, Acceptance) {
  struct Case {
    const char* word;
    bool acceptable;
  } cases[] = {
      {"a", true},          {"I", true},          {"x", true},      {"3.14", true},  {"-2", true},
      {"1st", false},       {"HOUSE", true},      {"House", true},  {"HoUSE", false}, {"dog's", true},
      {"dog\xE2\x80\x99s", true}, {"dgo's", false}, {"QWFP", false}, {"mp3", false},
      {"caf\xC3\xA9", true}, {"\xCE\xB1\xCE\xB2\xCE\xB3", false},  // Greek: in no dictionary
      {"\xCE\xB1", true},   // one character
  };
  for (const Case& c : cases) EXPECT_EQ(spell.WordAcceptable(c.word), c.acceptable) << c.word;
  spell.Config().SetOptions(spell.Config().GetOptions() | SpellOption(soUpcase) | SpellOption(soNumbers));
  EXPECT_TRUE(spell.WordAcceptable("QWFP"));
  EXPECT_TRUE(spell.WordAcceptable("mp3"));
}

TEST_F(ComponentTest, ExcludedWords) {
  ASSERT_TRUE(spell.WordAcceptable("house"));
  ASSERT_TRUE(spell.ActiveCustomDictionary()->AddExclude("house"));
  EXPECT_FALSE(spell.WordAcceptable("house"));
  spell.UseExcludeWords = false;
  EXPECT_TRUE(spell.WordAcceptable("house"));
}

TEST_F(ComponentTest, PossessivesNeedAnEnglishDictionary) {
  spell_test::CompileAdm(dir.Path(), "French.adm", {"dog", "chien"}, 1036);
  spell.Config().EnsureLoaded();
  spell.Config().GetMainDictionaries().Clear();
  spell.Config().GetMainDictionaries().Add("French.adm");
  ASSERT_EQ(spell.MainDictionaryCount(), 1);
  EXPECT_TRUE(spell.WordAcceptable("dog"));
  EXPECT_FALSE(spell.WordAcceptable("dog's"));
  EXPECT_FALSE(spell.WordAcceptable("dog\xE2\x80\x99s"));
}

TEST_F(ComponentTest, AutomaticCorrection) {
  AnsiString r;
  EXPECT_TRUE(spell.FindAutoCorrection("THe", r));
  EXPECT_EQ(r, "The");
  EXPECT_FALSE(spell.FindAutoCorrection("TV", r));
  EXPECT_FALSE(spell.FindAutoCorrection("T4x", r));
  ASSERT_TRUE(spell.InternalDictionary()->AddAutoCorrect("teh", "tea"));
  ASSERT_TRUE(spell.ActiveCustomDictionary()->AddAutoCorrect("teh", "the"));
  EXPECT_TRUE(spell.FindAutoCorrection("teh", r));
  EXPECT_EQ(r, "the");  // the active dictionary's pair first
}

TEST_F(ComponentTest, CaseRules) {
  struct Case {
    TCaseModification rule;
    const char* word;
    const char* variant;
  } cases[] = {
      {cmNone, "HoUSE", "HoUSE"},           {cmInitialCaps, "HOUSE", "hOUSE"},
      {cmInitialCapsOrUpcase, "HOUSE", "house"}, {cmInitialCapsOrUpcase, "HoUSE", "hoUSE"},
      {cmAnyCase, "HoUSE", "house"},        {cmInitialCapsOrUpcase, "\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"},
  };
  for (const Case& c : cases) {
    spell.AllowedCases = c.rule;
    EXPECT_EQ(spell.ApplyCaseRule(c.word), c.variant) << c.word;
  }
  spell.AllowedCases = cmCustom;
  spell.OnCaseModification = [](void*, AnsiString& w) { w = "custom"; };
  EXPECT_EQ(spell.ApplyCaseRule("Word"), "custom");
}

TEST_F(ComponentTest, PrimaryByHitsAndFrenchElision) {
  spell_test::CompileAdm(dir.Path(), "French.adm", {"chien", "maison"}, 1036);
  spell.Config().EnsureLoaded();
  spell.Config().GetMainDictionaries().Add("French.adm");
  ASSERT_EQ(spell.MainDictionaryCount(), 2);
  for (int i = 0; i < 3; ++i) spell.WordAcceptable("maison");
  spell.WordAcceptable("house");
  spell.ChoosePrimaryDictionary();
  EXPECT_EQ(spell.GetPrimaryLanguage(), 1036);
  for (int i = 0; i < 5; ++i) spell.WordAcceptable("house");
  spell.ChoosePrimaryDictionary();
  EXPECT_EQ(spell.GetPrimaryLanguage(), 1033);
}

TEST_F(ComponentTest, TextsGoThroughTheEvent) {
  EXPECT_EQ(spell.GetString(lsMnSpelling), "&Spelling ...");
  spell.OnGetString = [](void*, int id, AnsiString& text) {
    if (id == lsMnSpelling) text = "Check";
  };
  EXPECT_EQ(spell.GetString(lsMnSpelling), "Check");
}

TEST_F(ComponentTest, CommonMisspellingsHaveTheirWordInTheTopFive) {
  std::ifstream in(std::string(TOLVANE_TEST_DATA) + "/spell/misspellings.txt");
  size_t pairs = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    const std::string wrong = line.substr(0, tab), right = line.substr(tab + 1);
    rtl::TStringList list;
    spell.GetSuggestions(wrong, 5, list);
    EXPECT_GE(list.IndexOf(right), 0) << wrong << " -> " << right << ": " << list.CommaText();
    EXPECT_LE(list.Count(), 5);
    ++pairs;
  }
  EXPECT_GT(pairs, 50u);
}

TEST_F(ComponentTest, RankingRules) {
  rtl::TStringList list;
  spell.GetSuggestions("recieve", 3, list);
  EXPECT_LE(list.Count(), 3);
  // A learnt replacement comes first, whatever its distance.
  spell.GetSuggestions("hte", -1, list);
  ASSERT_GT(list.Count(), 0);
  EXPECT_EQ(list[0], "the");
  spell.LearnReplacement("hte", "hate");
  spell.GetSuggestions("hte", -1, list);
  EXPECT_EQ(list[0], "hate");
  // A mapping pair alone.
  const std::string mapping = (dir.Path() / "map.adu").string();
  {
    TCustomDictionary m;
    m.SetFilename(mapping);
    m.SetLoaded(true);
    m.AddAutoCorrect("colour", "color");
  }
  spell.MappingDictionaryName = mapping;
  spell.Config().GetMainDictionaries().Add("American.adm");  // reload the sets: the mapping opens
  spell.GetSuggestions("colour", -1, list);
  EXPECT_EQ(list.CommaText(), "color");
}

TEST_F(ComponentTest, SettingsPassThroughAndListeners) {
  EXPECT_EQ(spell.Version(), "3.4.4 Pro");
  EXPECT_EQ(spell.PhoneticDepth(), 2);
  spell.SetPhoneticDepth(3);
  EXPECT_EQ(spell.PhoneticsMap().StartDepth(), 3);
  spell.SetPhoneticDivisor(3);
  EXPECT_EQ(spell.PhoneticsMap().Divisor(), 3);
  spell.SetPhoneticMaxDistance(5);
  EXPECT_EQ(spell.PhoneticMaxDistance(), 5);
  int applied = 0, changed = 0;
  spell.OptionsAppliedListeners.AddListener(&applied, [&](void* sender) {
    EXPECT_EQ(sender, &spell);
    ++applied;
  });
  spell.ConfigChangedListeners.AddListener(&changed, [&](void*) { ++changed; });
  spell.Config().EnsureLoaded();
  const int before = applied;
  spell.Config().SetOptions(spell.Config().GetOptions() ^ SpellOption(soHTML));
  EXPECT_EQ(applied, before + 1);
  EXPECT_GE(changed, 1);
  spell.SetQuoteChars("|");  // forces the filters to be made again
  EXPECT_EQ(applied, before + 2);
}

TEST_F(ComponentTest, CustomDictionaryManagement) {
  spell.Config().EnsureLoaded();
  spell.NewCustomDictionary("mine.txt");
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "mine.adu"));
  EXPECT_GE(spell.Config().GetCustomDictionaries().IndexOf("mine.adu"), 0);
  spell.Config().SetActiveCustom("mine.adu");
  EXPECT_GE(spell.GetAvailableCustomDictionaries().IndexOf("mine.adu"), 0);
  EXPECT_TRUE(spell.RenameCustomDictionary("mine.adu", "ours"));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "ours.adu"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "mine.adu"));
  EXPECT_GE(spell.Config().GetCustomDictionaries().IndexOf("ours.adu"), 0);
  EXPECT_LT(spell.Config().GetCustomDictionaries().IndexOf("mine.adu"), 0);
  EXPECT_EQ(spell.Config().ActiveCustomName(), "ours.adu");
  // A name whose file exists: refused, nothing changes.
  spell.NewCustomDictionary("theirs");
  EXPECT_FALSE(spell.RenameCustomDictionary("ours.adu", "theirs"));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "ours.adu"));
  // Taking the active one out of use makes the first remaining one active.
  spell.SetCustomDictionaryInUse("ours.adu", false);
  EXPECT_EQ(spell.Config().ActiveCustomName(), spell.Config().GetCustomDictionaries()[0]);
  spell.DeleteCustomDictionary("theirs.adu");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "theirs.adu"));
  EXPECT_LT(spell.Config().GetCustomDictionaries().IndexOf("theirs.adu"), 0);
}

TEST_F(ComponentTest, FrenchElisionAndTheSecondPhoneticPass) {
  spell_test::CompileAdm(dir.Path(), "French.adm", {"chien", "maison", "homme"}, 1036);
  spell.Config().EnsureLoaded();
  int adjusted = 0;
  spell.OnAdjustPhoneticsMap = [&](void*) { ++adjusted; };
  rtl::TStringList list;
  spell.GetSuggestions("qwzxyv", 5, list);  // English primary, few candidates: a second pass
  EXPECT_EQ(adjusted, 2);
  EXPECT_EQ(spell.PhoneticsMap().Language(), 0);
  spell.Config().GetMainDictionaries().Clear();
  spell.Config().GetMainDictionaries().Add("French.adm");
  spell.ChoosePrimaryDictionary();
  auto* engine = dynamic_cast<TMainParsingEngine*>(&spell.ParsingEngine());
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(engine->FrenchApostrophes());
  adjusted = 0;
  spell.GetSuggestions("chein", 5, list);
  EXPECT_EQ(adjusted, 1);  // French: no second pass
  spell.Config().GetMainDictionaries().Clear();
  spell.Config().GetMainDictionaries().Add("American.adm");
  spell.ChoosePrimaryDictionary();
  EXPECT_FALSE(engine->FrenchApostrophes());
}

TEST_F(ComponentTest, ThePrimaryIsChosenAgainAfterAHundredWords) {
  spell_test::CompileAdm(dir.Path(), "French.adm", {"maison"}, 1036);
  spell.Config().EnsureLoaded();
  spell.Config().GetMainDictionaries().Add("French.adm");
  // "maison maison" would stop as a repeated word.
  spell.Config().SetOptions(static_cast<TSpellOptions>(spell.Config().GetOptions() & ~SpellOption(soRepeated)));
  spell.KeepDictionariesActive = true;
  std::string few;
  for (int i = 0; i < 99; ++i) few += "maison ";
  spell.CheckString(few);
  EXPECT_EQ(spell.GetPrimaryLanguage(), 1033);  // 99 words: the start's choice stands
  spell.LoadDictionaries();
  std::string hundred = few + "maison house";
  spell.CheckString(hundred);
  EXPECT_EQ(spell.GetPrimaryLanguage(), 1036);  // chosen again at the 100th word
}

// The word processor's custom dictionaries, listed in the registry stand-in
// under the current user: a name without a folder lives in the application
// data's "Microsoft\Proof"; the list ends at the first missing or empty
// value; files that do not exist are left out.
TEST_F(ComponentTest, WordProcessorDictionariesFromTheRegistry) {
  rtl::SetRegistryFile((dir.Path() / "registry.ini").string());
  spell::testing::SetSpecialFolderHook([this](Integer csidl) -> AnsiString {
    return csidl == CSIDL_APPDATA ? AnsiString(dir.Path().string()) : AnsiString();
  });
  struct Restore {
    ~Restore() {
      rtl::SetRegistryFile("");
      spell::testing::SetSpecialFolderHook(nullptr);
    }
  } restore;
  // A fresh machine has none.
  EXPECT_EQ(spell.GetMSWordCustomDictionaries().Count(), 0);

  const std::string own = (dir.Path() / "own.dic").string();
  core_test::WriteFile(own, "zorblax\r\nquibbleton\r\n");
  std::filesystem::create_directories(dir.Path() / "Microsoft" / "Proof");
  core_test::WriteFile((dir.Path() / "Microsoft" / "Proof" / "CUSTOM.DIC").string(), "frobnitz\n");
  core_test::WriteFile((dir.Path() / "late.dic").string(), "zyxlater\n");
  {
    rtl::TRegistry reg(rtl::HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries", true));
    reg.WriteString("1", own);
    reg.WriteString("2", "CUSTOM.DIC");
    reg.WriteString("3", (dir.Path() / "missing.dic").string());
    reg.WriteString("4", "");
    reg.WriteString("5", (dir.Path() / "late.dic").string());
  }
  const std::string proof = dir.Path().string() + "\\Microsoft\\Proof\\CUSTOM.DIC";
  // An empty list is read again at the next request.
  const rtl::TStrings& found = spell.GetMSWordCustomDictionaries();
  ASSERT_EQ(found.Count(), 2);
  EXPECT_EQ(found[0], own);
  EXPECT_EQ(found[1], proof);

  // In use, their lines are accepted words; out of use they are not.
  EXPECT_FALSE(spell.WordAcceptable("zorblax"));
  spell.SetMSWordDictionaryInUse(own, true);
  spell.SetMSWordDictionaryInUse(proof, true);
  spell.SetMSWordDictionaryInUse((dir.Path() / "missing.dic").string(), true);  // no file: not taken
  EXPECT_EQ(spell.Config().GetMSWordCustomDictionaries().Count(), 2);
  EXPECT_TRUE(spell.WordAcceptable("zorblax"));
  EXPECT_TRUE(spell.WordAcceptable("quibbleton"));
  EXPECT_TRUE(spell.WordAcceptable("frobnitz"));
  EXPECT_FALSE(spell.WordAcceptable("zyxlater"));
  spell.SetMSWordDictionaryInUse(own, false);
  EXPECT_FALSE(spell.WordAcceptable("zorblax"));
  EXPECT_TRUE(spell.WordAcceptable("frobnitz"));

  // A first run with ConfigDefaultUseMSWordCustom takes every one of them.
  TLexaSpell3Base fresh;
  fresh.SetConfigStorage(csNone);
  fresh.SetConfigDefaultUseMSWordCustom(true);
  fresh.ConfigDictionaryDir().Clear();
  fresh.ConfigDictionaryDir().Add(dir.Path().string());
  fresh.ConfigDictionaryDir().Add("%AppDir%");
  fresh.SuggestionsLearning = false;
  EXPECT_TRUE(fresh.WordAcceptable("zorblax"));
  EXPECT_TRUE(fresh.WordAcceptable("frobnitz"));
  EXPECT_EQ(fresh.Config().GetMSWordCustomDictionaries().Count(), 2);
}
