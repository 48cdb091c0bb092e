// Check runs over strings with American.adm: prompts, dialog commands,
// undo, the end message and word counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SpellTestSupport.h"
#include "rtl/Exceptions.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3SpellBase.h"
#include "spell/engine/lx3StringParser.h"

using namespace spell;

namespace {

// The component with its window parts recorded instead of shown.
class RecordingSpell : public TLexaSpell3Base {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> prompts;
  bool answerYes = false;

 protected:
  void ShowMessageText(const AnsiString& text, const AnsiString&) override { messages.push_back(text); }
  bool AskYesNo(const AnsiString&, const AnsiString&) override { return answerYes; }
};

class CheckRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spell::testing::SetUserNameHook([] { return AnsiString("ann"); });
    spell.SetConfigStorage(csNone);
    spell.ConfigDictionaryDir().Clear();
    spell.ConfigDictionaryDir().Add(dir.Path().string());
    spell.ConfigDictionaryDir().Add("%AppDir%");
    spell.SuggestionsLearningDict = (dir.Path() / "ann_sp.adl").string();
    spell.UIType = suiDialog;
    spell.SynchronousCheck = false;
    spell.OnPromptWord = [this](void*, const AnsiString& word, bool repeated) {
      spell.prompts.push_back(word + (repeated ? " (repeated)" : ""));
    };
  }
  void TearDown() override { spell::testing::SetUserNameHook(nullptr); }
  // Starts a run over text; the parser lives as long as the test.
  void Start(const std::string& initial) {
    text = initial;
    parser.Initialize(&text);
    spell.CheckParser(&parser, 2);
  }
  core_test::ScratchFolder dir{"spell-run"};
  RecordingSpell spell;
  std::string text;
  TStringParser parser;
};

using Prompts = std::vector<std::string>;

}  // namespace

TEST_F(CheckRunTest, ACleanTextShowsOnlyTheEndMessage) {
  Start("This text is spelled well.");
  EXPECT_FALSE(spell.Checking());
  EXPECT_TRUE(spell.prompts.empty());
  EXPECT_EQ(spell.messages, std::vector<std::string>{"The spelling check is complete."});
  spell.EndMessage = emNoDialog;
  spell.messages.clear();
  Start("All good here.");
  EXPECT_TRUE(spell.messages.empty());
  spell.EndMessage = emAlways;
  spell.EndMessageWordCount = true;
  Start("Three words here");
  EXPECT_EQ(spell.messages.back(), "The spelling check is complete.\r\n\r\nWords checked: 3");
}

TEST_F(CheckRunTest, RepeatedWords) {
  Start("I saw the the cat");
  ASSERT_EQ(spell.prompts, Prompts{"the the (repeated)"});
  spell.ChangeCurrent("x");  // not on a repeated prompt
  spell.DeleteRepeated();
  EXPECT_EQ(text, "I saw the cat");
  EXPECT_FALSE(spell.Checking());
  Start("the the end");
  spell.IgnoreRepeated();
  EXPECT_EQ(text, "the the end");
  Start("the  the, the");  // two blanks, a comma: no repeat
  EXPECT_EQ(spell.prompts.size(), 2u);
}

TEST_F(CheckRunTest, ChangeRechecksTheReplacement) {
  Start("a speling mistake");
  ASSERT_EQ(spell.prompts, Prompts{"speling"});
  spell.ChangeCurrent("spellling");
  ASSERT_EQ(spell.prompts.back(), "spellling");  // read again, still wrong
  spell.ChangeCurrent("spelling");
  EXPECT_EQ(text, "a spelling mistake");
  EXPECT_FALSE(spell.Checking());
}

TEST_F(CheckRunTest, UndoTakesBackAutomaticCorrectionsToo) {
  spell.InternalDictionary()->AddAutoCorrect("teh", "the");
  Start("qwzx teh cat");
  ASSERT_EQ(spell.prompts, Prompts{"qwzx"});
  spell.IgnoreCurrent();  // then "teh" is corrected automatically and the run ends
  EXPECT_EQ(text, "qwzx the cat");
  EXPECT_FALSE(spell.Checking());
  Start("qwzx teh zzqv cat");
  spell.IgnoreCurrent();
  ASSERT_EQ(spell.prompts.back(), "zzqv");
  EXPECT_EQ(text, "qwzx the zzqv cat");
  EXPECT_EQ(spell.UndoCount(), 2);
  spell.UndoCurrent();  // the correction and the Ignore
  EXPECT_EQ(text, "qwzx teh zzqv cat");
  EXPECT_EQ(spell.prompts.back(), "qwzx");
  spell.CancelCheck();
}

TEST_F(CheckRunTest, MaxUndo) {
  spell.MaxUndo = 0;
  Start("qwzx zzqv vvxq");
  spell.IgnoreCurrent();
  EXPECT_FALSE(spell.CanUndo());
  spell.CancelCheck();
  spell.MaxUndo = 2;
  Start("qwzx zzqv vvxq xqqz");
  spell.IgnoreCurrent();
  spell.IgnoreCurrent();
  spell.IgnoreCurrent();
  EXPECT_EQ(spell.UndoCount(), 2);
  spell.CancelCheck();
}

TEST_F(CheckRunTest, CancelEndsWithoutTheMessageAndLeavesTheCaret) {
  Start("qwzx words");
  spell.CancelCheck();
  EXPECT_FALSE(spell.Checking());
  EXPECT_TRUE(spell.messages.empty());
  EXPECT_TRUE(spell.Cancelled());
  spell.IgnoreCurrent();  // no run: nothing
}

TEST_F(CheckRunTest, AddAndIgnoreAll) {
  Start("qwzx and qwzx again zzqv");
  spell.IgnoreAllCurrent();
  EXPECT_EQ(spell.prompts.back(), "zzqv");
  spell.AddCurrent();
  EXPECT_TRUE(spell.ActiveCustomDictionary()->IsIgnored("zzqv"));
  EXPECT_TRUE(spell.InternalDictionary()->IsIgnored("qwzx"));
  EXPECT_FALSE(spell.Checking());
}

TEST_F(CheckRunTest, ChangesInAStringWithCharactersOutsideTheCodePage) {
  AnsiString s = "\xCE\xB1\xCE\xB2 teh \xE4\xB8\xAD\xE6\x96\x87 teh";
  spell.SynchronousCheck = true;
  spell.OnPromptWord = [this](void*, const AnsiString&, bool) { spell.ChangeAllCurrent("the"); };
  spell.CheckString(s);
  EXPECT_EQ(s, "\xCE\xB1\xCE\xB2 the \xE4\xB8\xAD\xE6\x96\x87 the");

  // Change, word by word, with the characters touching the words and
  // replacements of other lengths: they read as word boundaries and stay.
  struct Case {
    AnsiString text, replacement, changed;
  } cases[] = {
      {"\xCE\xB1\xCE\xB2teh\xE4\xB8\xAD", "the", "\xCE\xB1\xCE\xB2the\xE4\xB8\xAD"},
      {"\xE4\xB8\xADrecieve\xCE\xA9 fine", "receive", "\xE4\xB8\xADreceive\xCE\xA9 fine"},
      {"qwzx\xCE\xA9\xCE\xA9qwzx", "a", "a\xCE\xA9\xCE\xA9" "a"},
      {"caf\xC3\xA9 \xF0\x9F\x98\x80 speling", "spelling", "caf\xC3\xA9 \xF0\x9F\x98\x80 spelling"},
  };
  for (const Case& c : cases) {
    AnsiString text = c.text;
    const AnsiString replacement = c.replacement;
    spell.OnPromptWord = [this, replacement](void*, const AnsiString&, bool) { spell.ChangeCurrent(replacement); };
    spell.CheckString(text);
    EXPECT_EQ(text, c.changed);
  }
}

TEST_F(CheckRunTest, WordCounts) {
  EXPECT_EQ(spell.WordCountString("one two, three"), 3);
  EXPECT_EQ(spell.WordCountString(""), 0);
  const TSpellOptions options = spell.Config().GetOptions();
  ASSERT_TRUE(HasSpellOption(options, soInternet));
  EXPECT_EQ(spell.WordCountString("see http://example.com/x now"), 2);
  Integer words = 0, errors = 0;
  bool hasErrors = false;
  AnsiString t = "a qwzx the the b";
  TStringParser p;
  p.Initialize(&t);
  spell.CountWords(&p, 2, words, errors, hasErrors, false, true);
  EXPECT_EQ(words, 5);
  EXPECT_EQ(errors, 2);  // the unknown word and the repeat
  EXPECT_TRUE(hasErrors);
  spell.CountWords(&p, 1, words, errors, hasErrors, false, true);
  EXPECT_EQ(words, 0);  // only the selection or the whole text
}

namespace {
struct MenuItem {
  std::string caption;
  bool enabled;
  Integer tag;
  int parent;  // index of the parent item, -1 at the top
};
}  // namespace

TEST_F(CheckRunTest, LiveSpellingPopup) {
  std::vector<MenuItem> items;
  int menus = 0;
  spell.OnPopupCreateMenu = [&](void*, void*, void*& menu) {
    ++menus;
    menu = &items;
  };
  spell.OnPopupAddMenuItem = [&](void*, void* menu, void* parent, const AnsiString& caption, bool enabled, bool,
                                 Integer tag, void*& item) {
    EXPECT_EQ(menu, &items);
    const int parentIndex = parent ? static_cast<int>(reinterpret_cast<intptr_t>(parent)) - 1 : -1;
    items.push_back({caption, enabled, tag, parentIndex});
    item = reinterpret_cast<void*>(static_cast<intptr_t>(items.size()));
  };
  Integer choose = 0;
  std::string chooseCaption;
  spell.OnPopupDoMenu = [&](void*, void*, Integer, Integer, Integer& tag, AnsiString& caption) {
    tag = choose;
    caption = chooseCaption;
  };
  AnsiString word = "recieve";
  choose = 5;  // Ignore All
  EXPECT_EQ(spell.ShowPopupMenu(nullptr, 177, 10, 20, word), spIgnoreAll);
  EXPECT_TRUE(spell.InternalDictionary()->IsIgnored("recieve"));
  // 177: up to five suggestions, a separator, Ignore All, Add and a closing separator.
  ASSERT_GE(items.size(), 5u);
  size_t suggestions = 0;
  while (suggestions < items.size() && items[suggestions].tag == 7) ++suggestions;
  EXPECT_GE(suggestions, 1u);
  EXPECT_LE(suggestions, 5u);
  EXPECT_EQ(items[0].caption, "receive");
  ASSERT_EQ(items.size(), suggestions + 4);
  EXPECT_EQ(items[suggestions].caption, "-");
  EXPECT_EQ(items[suggestions + 1].caption, "&Ignore All");
  EXPECT_EQ(items[suggestions + 2].caption, "&Add");
  EXPECT_TRUE(items[suggestions + 2].enabled);
  EXPECT_EQ(items[suggestions + 3].caption, "-");

  items.clear();
  word = "recieve";
  choose = 7;
  chooseCaption = "receive";
  EXPECT_EQ(spell.ShowPopupMenu(nullptr, 0xFF, 0, 0, word), spReplace);
  EXPECT_EQ(word, "receive");
  std::string learnt;
  EXPECT_TRUE(spell.LearningDictionary()->GetAutoCorrect("recieve", learnt));
  EXPECT_EQ(learnt, "receive");
  // Change All and Auto Correct carry one sub-item per suggestion.
  int changeAll = -1;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].caption == "&Change All") changeAll = static_cast<int>(i);
  ASSERT_GE(changeAll, 0);
  size_t children = 0, replacements = 0;
  for (const MenuItem& m : items) {
    children += m.parent == changeAll && m.tag == 3;
    replacements += m.tag == 7;
  }
  EXPECT_EQ(children, replacements);

  AnsiString empty;
  EXPECT_EQ(spell.ShowPopupMenu(nullptr, 177, 0, 0, empty), spCancel);
  items.clear();
  word = "qqqqqqqqqqqxz";
  choose = 0;
  EXPECT_EQ(spell.ShowPopupMenu(nullptr, 177, 0, 0, word), spCancel);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0].caption, "(no suggestions)");
  EXPECT_FALSE(items[0].enabled);
  // A word holding a character 1252 cannot hold is never added: Add and
  // Ignore All answer Cancel and the word stays unacceptable.
  for (Integer tag : {4, 5}) {
    word = "\xCE\xBA\xCE\xB1\xCE\xBBos";  // Greek letters, then Latin
    choose = tag;
    EXPECT_EQ(spell.ShowPopupMenu(nullptr, 177, 0, 0, word), spCancel) << tag;
    EXPECT_FALSE(spell.WordAcceptable(word)) << tag;
  }
  EXPECT_EQ(spell.ActiveCustomDictionary()->GetIgnoreCount(), 0);
  word = "qqxzq";
  choose = 4;
  EXPECT_EQ(spell.ShowPopupMenu(nullptr, 177, 0, 0, word), spAdd);
  EXPECT_TRUE(spell.WordAcceptable("qqxzq"));
  // The dialog's list honours MaxSuggestions; the popup keeps five.
  spell.MaxSuggestions = 3;
  rtl::TStringList list;
  spell.Suggest("recieve", list);
  EXPECT_LE(list.Count(), 3);
}

TEST_F(CheckRunTest, AnErrorInTheLoopEndsTheRun) {
  spell.OnWordCheck = [](void*, const AnsiString& word, TWordCheckType&, AnsiString&) {
    if (word == "boom") throw rtl::EConvertError("boom");
  };
  EXPECT_THROW(Start("one boom two"), rtl::EConvertError);
  EXPECT_FALSE(spell.Checking());
  EXPECT_TRUE(spell.messages.empty());  // as a cancel: no end message
  Start("qwzx then boom");
  ASSERT_TRUE(spell.Checking());
  EXPECT_THROW(spell.IgnoreCurrent(), rtl::EConvertError);
  EXPECT_FALSE(spell.Checking());
  Start("fine words");  // later checks start
  EXPECT_EQ(spell.messages.size(), 1u);
}

TEST_F(CheckRunTest, NotificationListsCarryTheirValues) {
  std::vector<std::pair<Integer, bool>> ignored;
  spell.WordIgnoredListeners.AddListener(this, [&](void*) {
    ignored.emplace_back(spell.WordIgnoredListeners.State, spell.WordIgnoredListeners.Before);
  });
  std::vector<TSpellPopupOption> results;
  spell.PopupResultListeners.AddListener(this, [&](void*) { results.push_back(spell.PopupResultListeners.Result); });
  Start("qwzx word");
  spell.IgnoreCurrent();
  EXPECT_EQ(ignored, (std::vector<std::pair<Integer, bool>>{{10, true}, {10, false}}));
  spell.OnPopupDoMenu = [](void*, void*, Integer, Integer, Integer& tag, AnsiString&) { tag = 6; };
  AnsiString word = "qwzx";
  EXPECT_EQ(spell.ShowPopupMenu(nullptr, 177 | (1 << spIgnore), 0, 0, word), spIgnore);
  EXPECT_EQ(results, std::vector<TSpellPopupOption>{spIgnore});
  spell.Config().SetOptions(spell.Config().GetOptions() | SpellOption(soQuoted));
  EXPECT_TRUE(spell.IsLineIgnoredByFilters("> quoted"));
  EXPECT_FALSE(spell.IsLineIgnoredByFilters("plain"));
}
