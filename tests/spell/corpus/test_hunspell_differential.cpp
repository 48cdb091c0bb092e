// The component's word acceptance against Hunspell on the same word list,
// over the words the component delivers from the Apache manual's English
// pages (Debian's apache2-doc) with the markup filter on. Every
// disagreement must fall under one of the rules listed here; an
// unexplained one fails.
#include <gtest/gtest.h>
#include <hunspell/hunspell.hxx>

#include <fstream>
#include <map>
#include <set>
#include <string>

#include "SpellTestSupport.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "spell/engine/lx3Ignore.h"
#include "spell/engine/lx3SpellBase.h"
#include "spell/engine/lx3Text.h"

using namespace spell;

namespace {

std::vector<std::filesystem::path> ManualPages() {
  const std::filesystem::path root = "/usr/share/doc/apache2-doc/manual/en";
  std::vector<std::filesystem::path> pages;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file() && e.path().extension() == ".html") pages.push_back(e.path());
  std::sort(pages.begin(), pages.end());
  return pages;
}

// Hunspell's .aff: the suggestion and conversion lines of hunspell-en-us.
void WriteHunspellFiles(const std::filesystem::path& aff, const std::filesystem::path& dic) {
  std::ifstream in("/usr/share/hunspell/en_US.aff");
  std::ofstream out(aff);
  out << "SET UTF-8\n";
  for (std::string line; std::getline(in, line);)
    if (line.rfind("TRY", 0) == 0 || line.rfind("REP", 0) == 0 || line.rfind("ICONV", 0) == 0 ||
        line.rfind("WORDCHARS", 0) == 0)
      out << line << "\n";
  const auto& words = spell_test::AmericanWords();
  std::ofstream d(dic);
  d << words.size() << "\n";
  for (const auto& w : words) d << FromEngineText(w) << "\n";
}

}  // namespace

TEST(HunspellDifferential, EveryDisagreementHasARule) {
  if (!std::filesystem::is_directory("/usr/share/doc/apache2-doc/manual/en") ||
      !std::filesystem::exists("/usr/share/hunspell/en_US.aff"))
    GTEST_SKIP() << "install Debian's apache2-doc and hunspell-en-us";
  core_test::ScratchFolder dir("spell-differential");
  WriteHunspellFiles(dir.Path() / "en.aff", dir.Path() / "en.dic");
  Hunspell hunspell((dir.Path() / "en.aff").c_str(), (dir.Path() / "en.dic").c_str());

  spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
  TLexaSpell3Base spell;
  spell.SetConfigStorage(csNone);
  spell.ConfigDictionaryDir().Clear();
  spell.ConfigDictionaryDir().Add(dir.Path().string());
  spell.ConfigDictionaryDir().Add(TOLVANE_BIN_DIR);
  spell.SuggestionsLearning = false;
  spell.Config().EnsureLoaded();
  spell.Config().SetOptions(spell.Config().GetOptions() | SpellOption(soHTML));
  std::map<std::string, bool> ours;  // distinct words and our verdict
  spell.OnWordCheck = [&](void*, const AnsiString& word, TWordCheckType& type, AnsiString&) {
    ours.emplace(word, type == wcAccepted || type == wcRepeated);
    type = wcAccepted;  // no prompts: every word is recorded
  };
  for (const auto& page : ManualPages()) {
    std::ifstream in(page, std::ios::binary);
    AnsiString text((std::istreambuf_iterator<char>(in)), {});
    spell.CheckString(text);
  }
  ASSERT_GT(ours.size(), 5000u);

  std::map<std::string, std::vector<std::string>> explained;
  std::vector<std::string> unexplained;
  TAbbreviationsIgnore abbreviations;
  for (const auto& [word, accepted] : ours) {
    const bool theirs = hunspell.spell(word);
    if (theirs == accepted) continue;
    std::string w;
    const bool held = ToEngineText(word, w);
    double number = 0;
    std::string rule;
    if (rtl::Utf8ToWide(word).size() == 1)
      rule = "one-letter words are accepted";
    else if (rtl::TryStrToFloat(word, number))
      rule = "numbers are accepted";
    else if (held && w.size() > 2 && (w.substr(w.size() - 2) == "'s" || w.substr(w.size() - 2) == "\x92s") &&
             spell.InMainDictionaries(word.substr(0, word.size() - (w[w.size() - 2] == '\x92' ? 4 : 2))))
      rule = "English possessives of listed words are accepted by rule";
    else if (held && w.find('.') != std::string::npos)
      rule = "dotted words (abbreviations, host names) are read whole";
    else if (held && EngineUpperCase(w) == w && !accepted)
      rule = "capitals of a word listed only with a capital initial (Hunspell takes them)";
    else if (held && !accepted && EngineLowerChar(w[0]) != w[0] && EngineLowerCase(w.substr(1)) != w.substr(1))
      rule = "mixed capitals Hunspell folds";
    else if (held && accepted && !theirs && EngineLowerChar(w[0]) == w[0] && w != EngineLowerCase(w))
      rule = "inner capitals the case rule folds";
    else if (held && w.find('\'') != std::string::npos)
      rule = "apostrophes Hunspell splits or keeps otherwise";
    else if (held && w.find('&') == 0)
      rule = "entities";
    if (rule.empty())
      unexplained.push_back(word + (accepted ? " (we accept)" : " (Hunspell accepts)"));
    else
      explained[rule].push_back(word);
  }
  for (const auto& [rule, words] : explained) std::cout << rule << ": " << words.size() << "\n";
  std::string sample;
  for (size_t i = 0; i < unexplained.size() && i < 40; ++i) sample += unexplained[i] + ", ";
  EXPECT_TRUE(unexplained.empty()) << unexplained.size() << " unexplained: " << sample;
  spell::testing::SetUserNameHook(nullptr);
}
