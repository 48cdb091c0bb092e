// The thesaurus component and its dialog over Velun.adt from the build:
// the layout made in code, look-ups, the history, replacing, and the
// component's guard against a second dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "rtl/Exceptions.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/lx3Thesaurus.h"
#include "spell/lx3ThesaurusDialog.h"

using namespace spell;
using namespace spell_dialog_test;
using vcl::TListItem;

namespace {

using ThesPtr = std::unique_ptr<TThesDialog, FreeForm>;
using Strings = std::vector<std::string>;

Strings Captions(vcl::TListView* v) {
  Strings out;
  for (Integer i = 0; i < v->Items()->Count(); ++i) out.push_back(v->Items()->Item(i)->Caption());
  return out;
}

Integer RowOf(vcl::TListView* v, const std::string& caption) {
  for (Integer i = 0; i < v->Items()->Count(); ++i)
    if (v->Items()->Item(i)->Caption() == caption) return i;
  return -1;
}

void ClickRow(vcl::TListView* v, Integer index, bool twice = false) {
  v->Items()->Item(index)->MakeVisible(false);
  const vcl::TRect r = v->ItemRect(index);
  const QPoint p(r.Left + 30, (r.Top + r.Bottom) / 2);
  QTest::mouseClick(v->Widget(), Qt::LeftButton, {}, p);
  if (twice) QTest::mouseClick(v->Widget(), Qt::LeftButton, {}, p);
  Pump();
}

bool Has(const Strings& list, const std::string& s) { return std::find(list.begin(), list.end(), s) != list.end(); }

}  // namespace

TEST(ThesaurusDialogForm, LayoutAndPlaceholders) {
  ThesPtr d(new TThesDialog(vcl::Application));
  EXPECT_EQ(d->ClientWidth(), 361);
  EXPECT_EQ(d->ClientHeight(), 211);
  struct B {
    const char* name;
    Integer l, t, w, h, tab;
  };
  const B table[] = {{"LookupCombo", 8, 24, 161, 21, 0},   {"ContextLV", 8, 72, 161, 105, 1},
                     {"ReplaceEdit", 184, 24, 169, 21, 2}, {"WordList", 192, 48, 162, 129, 3},
                     {"PreviousButton", 8, 184, 75, 23, 4}, {"ReplaceButton", 192, 184, 75, 23, 5},
                     {"CloseButton", 278, 184, 75, 23, 6}, {"LookupButton", 94, 184, 75, 23, 7}};
  for (const B& b : table) {
    SCOPED_TRACE(b.name);
    auto* c = dynamic_cast<vcl::TWinControl*>(d->FindComponent(b.name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->BoundsRect(), vcl::Bounds(b.l, b.t, b.w, b.h));
    EXPECT_EQ(c->TabOrder(), b.tab);
  }
  EXPECT_EQ(d->LookedUpLabel->Top(), 8);
  EXPECT_EQ(d->ContextsLabel->Top(), 56);
  EXPECT_EQ(d->ReplaceWithLabel->Left(), 184);
  EXPECT_FALSE(d->PreviousButton->Enabled());
  EXPECT_FALSE(d->ReplaceButton->Enabled());
  EXPECT_FALSE(d->LookupButton->Enabled());
  EXPECT_TRUE(d->CloseButton->Enabled());
  EXPECT_TRUE(d->CloseButton->Cancel());
  EXPECT_EQ(d->ActiveControl(), d->WordList);
  EXPECT_EQ(d->Caption().substr(0, 2), "xx");
  EXPECT_TRUE(d->ContextLV->Anchors().Contains(vcl::akBottom));
  EXPECT_EQ(d->Timer->Interval(), 10u);

  // Without the looked-up command shown the contexts move up and grow.
  TThesaurus3 thes(vcl::Application);
  thes.CommandsVisible &= ~(1u << tdcLookedUp);
  ThesPtr hidden(new TThesDialog(vcl::Application));
  hidden->DialogControl->AttachThesaurus(&thes);
  EXPECT_FALSE(hidden->LookupCombo->Visible());
  EXPECT_FALSE(hidden->LookedUpLabel->Visible());
  EXPECT_EQ(hidden->ContextsLabel->Top(), 8);
  EXPECT_EQ(hidden->ContextLV->Top(), 24);
  EXPECT_EQ(hidden->ContextLV->Height(), 105 + 48);
  EXPECT_EQ(hidden->Caption(), "Thesaurus: ");  // the file's name comes with its loading
}

TEST(ThesaurusDialog, LookUpGoBackAndReplace) {
  TThesaurus3 thes(vcl::Application);
  ASSERT_EQ(thes.File().FileName().substr(thes.File().FileName().size() - 9), "Velun.adt");
  std::string failure;
  Strings firstWords, contextsShown;
  bool previousAfterTwo = false, busyInside = false;
  AnsiString nested = "unchanged";
  ModalAnswer answer;
  answer.Arm(vcl::mrNone, [&](vcl::TCustomForm* form) {
    auto* d = dynamic_cast<TThesDialog*>(form);
    if (!d) {
      failure = "not the thesaurus dialog";
      return;
    }
    if (d->Caption() != "Thesaurus: English") failure = "caption " + d->Caption();
    contextsShown = Captions(d->ContextLV);
    firstWords = Captions(d->WordList);
    busyInside = thes.Busy();
    nested = thes.LookupWord("sad");  // returns at once
    // A double click on a word looks it up.
    const Integer glad = RowOf(d->WordList, "glad");
    if (glad < 0) {
      failure = "no glad";
      d->CloseButton->Click();
      return;
    }
    ClickRow(d->WordList, glad, true);
    if (d->LookupCombo->Items()->Count() != 2 || d->LookupCombo->Text() != "glad") failure = "glad not looked up";
    previousAfterTwo = d->PreviousButton->Enabled();
    Click(d->PreviousButton);
    if (d->LookupCombo->Text() != "happy" || d->LookupCombo->Items()->Count() != 1) failure = "previous failed";
    const Integer cheerful = RowOf(d->WordList, "cheerful");
    if (cheerful < 0) {
      failure = "no cheerful";
      d->CloseButton->Click();
      return;
    }
    ClickRow(d->WordList, cheerful);
    if (d->ReplaceEdit->Text() != "cheerful" || !d->ReplaceButton->Enabled()) failure = "cheerful not offered";
    d->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/thesaurus_dialog.png");
    Click(d->ReplaceButton);
  });
  const AnsiString chosen = thes.LookupWord("happy");
  answer.Disarm();
  EXPECT_EQ(failure, "");
  EXPECT_EQ(chosen, "cheerful");
  ASSERT_FALSE(contextsShown.empty());
  EXPECT_EQ(contextsShown[0], "happy");
  EXPECT_TRUE(Has(firstWords, "glad"));
  EXPECT_TRUE(Has(firstWords, "joyful"));
  EXPECT_TRUE(busyInside);
  EXPECT_EQ(nested, "");
  EXPECT_TRUE(previousAfterTwo);
  EXPECT_FALSE(thes.Busy());
  EXPECT_FALSE(thes.File().Loaded());  // unloaded again
  EXPECT_EQ(thes.DialogForm(), nullptr);
}

TEST(ThesaurusDialog, NotFoundCloseAndAMissingFile) {
  TThesaurus3 thes(vcl::Application);
  Strings contexts;
  bool enabled = true;
  Integer words = -1;
  ModalAnswer answer;
  answer.Arm(vcl::mrNone, [&](vcl::TCustomForm* form) {
    auto* d = dynamic_cast<TThesDialog*>(form);
    contexts = Captions(d->ContextLV);
    enabled = d->ContextLV->Enabled();
    words = d->WordList->Items()->Count();
    Click(d->CloseButton);
  });
  EXPECT_EQ(thes.LookupWord("qzxqzvqk"), "");
  answer.Disarm();
  EXPECT_EQ(contexts, Strings{"(not found)"});
  EXPECT_FALSE(enabled);
  EXPECT_EQ(words, 0);
  // A file that cannot be read: no dialog, nothing replaced.
  core_test::ScratchFolder dir("thes-bad");
  const std::string bad = (dir.Path() / "bad.adt").string();
  core_test::WriteFile(bad, std::string(40, 'x'));
  thes.SetFilename(bad);
  ASSERT_EQ(thes.File().FileName(), bad);
  int lookups = 0;
  thes.OnPromptLookup = [&](void*, const AnsiString&, const TThesaurusContexts&) { ++lookups; };
  EXPECT_EQ(thes.LookupWord("happy"), "");
  EXPECT_EQ(lookups, 0);
  EXPECT_FALSE(thes.Busy());
}

TEST(ThesaurusDialog, TheLookedUpWordIsNoReplacement) {
  TThesaurus3 thes(vcl::Application);
  ThesPtr d(new TThesDialog(vcl::Application));
  d->DialogControl->AttachThesaurus(&thes);
  d->Show();
  Pump();
  TThesaurusContexts none;
  d->DialogControlPromptLookup(&thes, "happy", none);
  rtl::TStringList words;
  for (const char* w : {"cheerful", "Happy", "glad"}) words.Add(w);
  d->DialogControlPromptContext(&thes, words);
  ASSERT_NE(d->WordList->Selected(), nullptr);
  EXPECT_EQ(d->WordList->Selected()->Caption(), "Happy");
  EXPECT_EQ(d->ReplaceEdit->Text(), "");
  ClickRow(d->WordList, 2);
  EXPECT_EQ(d->ReplaceEdit->Text(), "glad");
  ClickRow(d->WordList, 1);
  EXPECT_EQ(d->ReplaceEdit->Text(), "");
  EXPECT_FALSE(d->ReplaceButton->Enabled());
}

TEST(ThesaurusComponent, LooksUpTheWordAtTheCaretAndReplacesIt) {
  TThesaurus3 thes(vcl::Application);
  thes.OnCreateThesaurusDialog = [](void*, vcl::TCustomForm*& form, bool create) {
    if (!create) form = nullptr;  // no form: the events are the interface
  };
  AnsiString looked;
  Strings lists;
  thes.OnPromptLookup = [&](void* sender, const AnsiString& word, const TThesaurusContexts& contexts) {
    looked = word;
    static_cast<TThesaurus3Base*>(sender)->SelectContext(0);
  };
  thes.OnPromptContext = [&](void*, const rtl::TStrings& words) {
    for (Integer i = 0; i < words.Count(); ++i) lists.push_back(words.Strings(i));
  };
  int before = 0;
  thes.OnBeforeChange = [&](vcl::TObject*) { ++before; };
  std::string text = "I am Happy today";
  TStringParser parser;
  parser.Initialize(&text);
  parser.SetPosition(5, 0, 0);
  EXPECT_TRUE(thes.LookupParser(&parser));
  EXPECT_EQ(looked, "Happy");
  EXPECT_TRUE(Has(lists, "Glad"));  // the case of the word looked up
  EXPECT_EQ(before, 0);              // no form, no replacement
  EXPECT_EQ(text, "I am Happy today");
  EXPECT_FALSE(thes.LookupParser(nullptr));
}

TEST(ThesaurusComponent, AnErrorInsideTheDialogLeavesTheComponentUsable) {
  TThesaurus3 thes(vcl::Application);
  thes.OnCreateThesaurusDialog = [](void*, vcl::TCustomForm*& form, bool create) {
    if (!create) form = nullptr;
  };
  bool raise = true;
  int lookups = 0;
  thes.OnPromptLookup = [&](void*, const AnsiString&, const TThesaurusContexts&) {
    ++lookups;
    if (raise) throw rtl::Exception("no luck");
  };
  const vcl::TCursor cursor = vcl::Screen->Cursor();
  EXPECT_THROW(thes.LookupWord("happy"), rtl::Exception);
  EXPECT_FALSE(thes.Busy());
  EXPECT_FALSE(thes.File().Loaded());
  EXPECT_EQ(vcl::Screen->Cursor(), cursor);
  raise = false;
  EXPECT_EQ(thes.LookupWord("happy"), "");
  EXPECT_EQ(lookups, 2);
}
