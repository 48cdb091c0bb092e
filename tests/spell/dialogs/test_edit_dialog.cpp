// The custom dictionary edit dialog on real dictionary files, driven by
// synthetic clicks and keys, and the report-style list view it uses.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/lx3CustomDictionaryEditDialog.h"
#include "vcl/ListView.h"

using namespace spell;
using namespace spell_dialog_test;
using vcl::TListItem;

namespace {

using EditPtr = std::unique_ptr<TCustomDictionaryEditDialog, FreeForm>;

std::unique_ptr<TCustomDictionary> OpenDictionary(const std::string& file) {
  auto d = std::make_unique<TCustomDictionary>();
  d->SetFilename(file);
  d->SetLoaded(true);
  return d;
}

// A dialog on a dictionary of the scratch folder, attached and shown.
struct EditRun {
  explicit EditRun(const char* name = "work.adu") : s("spell-edit") {
    dictionary = OpenDictionary((s.dir.Path() / name).string());
    dictionary->AddIgnore("apple");
    dictionary->AddIgnore("Zebra");
    dictionary->AddIgnore("mango");
    dictionary->AddAutoCorrect("teh", "the");
    dictionary->AddAutoCorrect("adn", "and");
    dictionary->AddAutoCorrect("recieve", "receive");
    dictionary->AddExclude("irregardless");
    form.reset(new TCustomDictionaryEditDialog(vcl::Application));
    s.spell.AttachDialogControl(form.get(), dictionary.get());
    form->Show();
    Pump();
  }
  void ShowPage(vcl::TTabSheet* sheet) {
    form->PageControl->SetActivePage(sheet);
    if (sheet->OnShow) sheet->OnShow(sheet);
    Pump();
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (Integer i = 0; i < form->AutoCorrectList->Items()->Count(); ++i) {
      TListItem* r = form->AutoCorrectList->Items()->Item(i);
      rows.push_back(r->Caption() + "=" + r->SubItems()->Strings(0));
    }
    return rows;
  }
  void ClickRow(Integer index) {
    const vcl::TRect r = form->AutoCorrectList->ItemRect(index);
    QTest::mouseClick(form->AutoCorrectList->Widget(), Qt::LeftButton, {},
                      QPoint(r.Left + 60, (r.Top + r.Bottom) / 2));
    Pump();
  }
  ScratchSpell s;
  std::unique_ptr<TCustomDictionary> dictionary;
  EditPtr form;
};

using Strings = std::vector<std::string>;

Strings ListItems(vcl::TListBox* box) {
  Strings out;
  for (Integer i = 0; i < box->Count(); ++i) out.push_back(box->Items()->Strings(i));
  return out;
}

}  // namespace

TEST(EditDialogForm, LayoutAndPlaceholdersWhenMadeByItself) {
  EditPtr form(new TCustomDictionaryEditDialog(vcl::Application));
  EXPECT_EQ(form->ClientWidth(), 314);
  EXPECT_EQ(form->ClientHeight(), 333);
  EXPECT_EQ(form->Position(), vcl::poOwnerFormCenter);
  struct B {
    const char* name;
    Integer l, t, w, h;
  };
  const B table[] = {{"PageControl", 0, 0, 313, 297},     {"AddedWordsExplain", 8, 8, 289, 41},
                     {"IgnoreEdit", 8, 64, 209, 21},      {"IgnoreList", 8, 91, 209, 170},
                     {"AddIgnoreButton", 224, 64, 75, 23}, {"DeleteIgnoreButton", 224, 91, 75, 23},
                     {"AutoCorrectWordsExplain", 8, 8, 289, 41}, {"ReplaceEdit", 8, 64, 81, 21},
                     {"WithEdit", 96, 64, 121, 21},       {"AutoCorrectList", 8, 91, 209, 170},
                     {"AddAutoCorrectButton", 224, 64, 75, 23}, {"DeleteAutoCorrectButton", 224, 91, 75, 23},
                     {"ExcludeWordsExplanation", 8, 8, 289, 39}, {"ExcludeEdit", 8, 64, 209, 21},
                     {"ExcludeList", 8, 91, 209, 170},    {"AddExcludeButton", 224, 64, 75, 23},
                     {"DeleteExcludeButton", 224, 91, 75, 23}, {"HelpButton", 150, 304, 75, 23},
                     {"OK", 231, 304, 75, 23}};
  for (const B& b : table) {
    SCOPED_TRACE(b.name);
    auto* c = dynamic_cast<vcl::TControl*>(form->FindComponent(b.name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->BoundsRect(), vcl::Bounds(b.l, b.t, b.w, b.h));
  }
  for (const char* label : {"IgnoreEditLabel", "ReplaceEditLabel", "WithEditLabel", "ExcludeEditLabel"})
    EXPECT_EQ(dynamic_cast<vcl::TControl*>(form->FindComponent(label))->Top(), 48) << label;
  EXPECT_EQ(form->WithEditLabel->Left(), 96);
  EXPECT_EQ(form->OK->ModalResult(), vcl::mrOk);
  EXPECT_EQ(form->Caption().substr(0, 2), "xx");
  EXPECT_EQ(form->AddedWordsSheet->Caption().substr(0, 2), "xx");
  EXPECT_TRUE(form->IgnoreList->Sorted());
  EXPECT_FALSE(form->AutoCorrectList->ShowColumnHeaders());
  EXPECT_TRUE(form->AutoCorrectList->RowSelect());
  EXPECT_EQ(form->AutoCorrectList->ColumnCount(), 2);
}

TEST(EditDialog, AddedWordsFillOnceAndFollowTheEdit) {
  EditRun run;
  auto* f = run.form.get();
  EXPECT_EQ(f->Caption(), "work.adu");
  EXPECT_EQ(f->AddedWordsSheet->Caption(), "Add&ed Words");
  EXPECT_TRUE(f->ExcludedWordsSheet->TabVisible());
  EXPECT_FALSE(f->HelpButton->Visible());
  EXPECT_EQ(ListItems(f->IgnoreList), (Strings{"apple", "mango", "Zebra"}));
  EXPECT_FALSE(f->AddIgnoreButton->Enabled());
  f->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_edit_dialog.png");

  // An auto-correct word cannot be added; an added word selects its row.
  f->IgnoreEdit->SetFocus();
  Type(f->IgnoreEdit, "teh");
  EXPECT_FALSE(f->AddIgnoreButton->Enabled());
  f->IgnoreEdit->SetText("");
  Type(f->IgnoreEdit, "mango");
  EXPECT_EQ(f->IgnoreList->ItemIndex(), 1);
  EXPECT_TRUE(f->DeleteIgnoreButton->Enabled());
  EXPECT_FALSE(f->AddIgnoreButton->Enabled());
  f->IgnoreEdit->SetText("");
  Type(f->IgnoreEdit, "kiwi");
  EXPECT_TRUE(f->AddIgnoreButton->Enabled());
  QTest::keyClick(f->IgnoreEdit->Widget(), Qt::Key_Return);  // Enter presses Add
  Pump();
  EXPECT_TRUE(run.dictionary->IsIgnored("kiwi"));
  EXPECT_EQ(ListItems(f->IgnoreList), (Strings{"apple", "kiwi", "mango", "Zebra"}));
  EXPECT_EQ(f->IgnoreList->ItemIndex(), 1);

  // Deleting the last row selects the new last row.
  ClickListItem(f->IgnoreList, 3);
  EXPECT_EQ(f->IgnoreEdit->Text(), "Zebra");
  Click(f->DeleteIgnoreButton);
  EXPECT_FALSE(run.dictionary->IsIgnored("Zebra"));
  EXPECT_EQ(ListItems(f->IgnoreList), (Strings{"apple", "kiwi", "mango"}));
  EXPECT_EQ(f->IgnoreList->ItemIndex(), 2);
  EXPECT_EQ(f->IgnoreEdit->Text(), "mango");

  // Shown again, the page keeps its list.
  run.ShowPage(f->AutoCorrectWordsSheet);
  run.ShowPage(f->AddedWordsSheet);
  EXPECT_EQ(f->AddedFills(), 1);
}

TEST(EditDialog, AutoCorrectPairsChangeInPlace) {
  EditRun run;
  auto* f = run.form.get();
  run.ShowPage(f->AutoCorrectWordsSheet);
  EXPECT_EQ(run.Rows(), (Strings{"adn=and", "recieve=receive", "teh=the"}));
  EXPECT_EQ(f->AutoCorrectList->Column(0)->Width, 88);
  EXPECT_EQ(f->AutoCorrectList->Column(0)->Width + f->AutoCorrectList->Column(1)->Width,
            f->AutoCorrectList->ClientWidth());
  run.ClickRow(2);
  EXPECT_EQ(f->ReplaceEdit->Text(), "teh");
  EXPECT_EQ(f->WithEdit->Text(), "the");
  EXPECT_TRUE(f->DeleteAutoCorrectButton->Enabled());
  f->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_edit_dialog_pairs.png");
  // Editing With changes the stored replacement at once.
  f->WithEdit->SetFocus();
  QTest::keyClick(f->WithEdit->Widget(), Qt::Key_End);
  Type(f->WithEdit, "e");
  std::string replacement;
  ASSERT_TRUE(run.dictionary->GetAutoCorrect("teh", replacement));
  EXPECT_EQ(replacement, "thee");
  EXPECT_EQ(run.Rows().back(), "teh=thee");
  run.ClickRow(0);
  run.ClickRow(2);
  EXPECT_EQ(f->WithEdit->Text(), "thee");

  // A new pair: Add follows the With text; an added word cannot be one.
  f->AutoCorrectList->SetSelected(nullptr);
  f->ReplaceEdit->SetText("apple");
  f->WithEdit->SetText("pear");
  EXPECT_FALSE(f->AddAutoCorrectButton->Enabled());
  f->ReplaceEdit->SetText("wierd");
  f->WithEdit->SetText("");
  EXPECT_FALSE(f->AddAutoCorrectButton->Enabled());
  f->WithEdit->SetFocus();
  Type(f->WithEdit, "weird");
  EXPECT_TRUE(f->AddAutoCorrectButton->Enabled());
  QTest::keyClick(f->WithEdit->Widget(), Qt::Key_Return);
  Pump();
  EXPECT_TRUE(run.dictionary->GetAutoCorrect("wierd", replacement));
  EXPECT_EQ(run.Rows(), (Strings{"adn=and", "recieve=receive", "teh=thee", "wierd=weird"}));
  ASSERT_NE(f->AutoCorrectList->Selected(), nullptr);
  EXPECT_EQ(f->AutoCorrectList->Selected()->Caption(), "wierd");

  // Deleting the last row selects the new last row; the only row leaves
  // the list empty.
  Click(f->DeleteAutoCorrectButton);
  EXPECT_FALSE(run.dictionary->GetAutoCorrect("wierd", replacement));
  ASSERT_NE(f->AutoCorrectList->Selected(), nullptr);
  EXPECT_EQ(f->AutoCorrectList->Selected()->Caption(), "teh");
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(f->AutoCorrectList->Selected(), nullptr);
    Click(f->DeleteAutoCorrectButton);
  }
  EXPECT_EQ(f->AutoCorrectList->Items()->Count(), 0);
  EXPECT_EQ(run.dictionary->GetAutoCorrectCount(), 0);
}

TEST(EditDialog, ExcludedWordsAndTheInternalDictionary) {
  EditRun run;
  auto* f = run.form.get();
  run.ShowPage(f->ExcludedWordsSheet);
  EXPECT_EQ(ListItems(f->ExcludeList), (Strings{"irregardless"}));
  f->ExcludeEdit->SetFocus();
  Type(f->ExcludeEdit, "apple");  // an added word
  EXPECT_FALSE(f->AddExcludeButton->Enabled());
  f->ExcludeEdit->SetText("");
  Type(f->ExcludeEdit, "alot");
  Click(f->AddExcludeButton);
  EXPECT_TRUE(run.dictionary->IsExcluded("alot"));
  ClickListItem(f->ExcludeList, 0);
  Click(f->DeleteExcludeButton);
  ClickListItem(f->ExcludeList, 0);
  Click(f->DeleteExcludeButton);
  EXPECT_EQ(f->ExcludeList->Count(), 0);
  EXPECT_EQ(run.dictionary->GetExcludeCount(), 0);

  // The internal dictionary: two pages under the Ignore All / Change All
  // titles.
  EditPtr internal(new TCustomDictionaryEditDialog(vcl::Application));
  run.s.spell.LoadDictionaries();
  TCustomDictionary* words = run.s.spell.InternalDictionary();
  ASSERT_NE(words, nullptr);
  run.s.spell.AttachDialogControl(internal.get(), words);
  EXPECT_EQ(internal->Caption(), "Words added with Ignore All / Change All");
  EXPECT_EQ(internal->AddedWordsSheet->Caption(), "&Ignore All");
  EXPECT_EQ(internal->AutoCorrectWordsSheet->Caption(), "&Change All");
  EXPECT_FALSE(internal->ExcludedWordsSheet->TabVisible());
  EXPECT_TRUE(internal->AddedWordsSheet->TabVisible());
}

TEST(EditDialog, FiveThousandWordsFillTheListOnce) {
  ScratchSpell s("spell-edit-big");
  auto d = OpenDictionary((s.dir.Path() / "big.adu").string());
  for (int i = 0; i < 5000; ++i) d->AddIgnore("word" + std::to_string(100000 + i));
  EditPtr f(new TCustomDictionaryEditDialog(vcl::Application));
  s.spell.AttachDialogControl(f.get(), d.get());
  f->Show();
  Pump();
  EXPECT_EQ(f->IgnoreList->Count(), 5000);
  EXPECT_EQ(f->IgnoreList->Items()->Strings(0), "word100000");
  for (int i = 0; i < 3; ++i) {
    f->PageControl->SetActivePage(f->AddedWordsSheet);
    f->AddedWordsSheetShow(f->AddedWordsSheet);
  }
  EXPECT_EQ(f->AddedFills(), 1);
  EXPECT_EQ(f->IgnoreList->Count(), 5000);
}

TEST(EditDialog, ShownByTheComponentItReloadsTheDictionariesAfterwards) {
  ScratchSpell s("spell-edit-modal");
  auto d = OpenDictionary((s.dir.Path() / "work.adu").string());
  d->AddIgnore("apple");
  int reloads = 0;
  s.spell.OnDictionariesChanged = [&](void*) { ++reloads; };
  ModalAnswer answer;
  std::string caption;
  Strings shown;
  answer.Arm(vcl::mrNone, [&](vcl::TCustomForm* form) {
    auto* f = dynamic_cast<TCustomDictionaryEditDialog*>(form);
    ASSERT_NE(f, nullptr);
    caption = f->Caption();
    shown = ListItems(f->IgnoreList);
    Click(f->OK);  // closes with OK, nothing changed
  });
  s.spell.ShowEditCustomDictionaryDialog(d.get());
  EXPECT_EQ(caption, "work.adu");
  EXPECT_EQ(shown, Strings{"apple"});
  EXPECT_GE(reloads, 1);
  // An assigned event replaces the dialog.
  int events = 0;
  s.spell.OnShowEditCustomDictionaryDialog = [&](void*, void*, TCustomDictionary* dict) {
    ++events;
    EXPECT_EQ(dict, d.get());
  };
  s.spell.ShowEditCustomDictionaryDialog(d.get());
  EXPECT_EQ(events, 1);
}

TEST(ListView, ReportRowsSelectCheckAndSort) {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(240);
  form->SetClientHeight(160);
  auto* view = new vcl::TListView(form);
  view->SetParent(form);
  view->SetBounds(8, 8, 200, 120);
  view->SetViewStyle(vcl::vsReport);
  view->AddColumn()->Width = 100;
  view->AddColumn()->Width = 96;
  view->SetShowColumnHeaders(false);
  view->SetCheckboxes(true);
  view->SetSortType(vcl::stText);
  Strings events;
  view->OnSelectItem = [&](vcl::TObject*, TListItem* item, bool selected) {
    events.push_back((selected ? "+" : "-") + item->Caption());
  };
  Strings checks;
  std::map<TListItem*, bool> checked;
  view->OnChange = [&](vcl::TObject*, TListItem* item, vcl::TItemChange change) {
    if (change == vcl::ctState && checked[item] != item->Checked()) {
      checked[item] = item->Checked();
      checks.push_back(item->Caption() + (item->Checked() ? " on" : " off"));
    }
  };
  int data = 7;
  for (const char* caption : {"pear", "Apple", "fig"}) {
    TListItem* item = view->Items()->Add();
    item->SetCaption(caption);
    item->SubItems()->Add(std::string(caption) + "!");
    item->SetData(&data);
  }
  form->Show();
  Pump();
  Strings order;
  for (Integer i = 0; i < view->Items()->Count(); ++i) order.push_back(view->Items()->Item(i)->Caption());
  EXPECT_EQ(order, (Strings{"Apple", "fig", "pear"}));
  EXPECT_EQ(view->Items()->Item(0)->Data(), &data);
  events.clear();
  // A click on the caption selects the row; whole-row selection is off, so
  // a click in the second column selects nothing.
  auto clickAt = [&](Integer row, Integer x) {
    const vcl::TRect r = view->ItemRect(row);
    QTest::mouseClick(view->Widget(), Qt::LeftButton, {}, QPoint(x, (r.Top + r.Bottom) / 2));
    Pump();
  };
  clickAt(1, view->CaptionLeft() + 4);
  EXPECT_EQ(view->Selected(), view->Items()->Item(1));
  clickAt(2, 150);
  EXPECT_EQ(view->Selected(), nullptr);
  view->SetRowSelect(true);
  clickAt(2, 150);
  EXPECT_EQ(view->Selected(), view->Items()->Item(2));
  // The box toggles the check mark, and so does the space key.
  const vcl::TRect box = view->CheckRect(0);
  QTest::mouseClick(view->Widget(), Qt::LeftButton, {}, QPoint(box.Left + 5, box.Top + 5));
  Pump();
  EXPECT_TRUE(view->Items()->Item(0)->Checked());
  QTest::keyClick(view->Widget(), Qt::Key_Up);
  QTest::keyClick(view->Widget(), Qt::Key_Space);
  Pump();
  EXPECT_EQ(view->Selected(), view->Items()->Item(1));
  EXPECT_TRUE(view->Items()->Item(1)->Checked());
  EXPECT_EQ(events, (Strings{"+fig", "-fig", "+pear", "-pear", "+fig"}));
  EXPECT_EQ(checks, (Strings{"Apple on", "fig on"}));
  form->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/list_view.png");
  // Renaming keeps the rows sorted and the selection on its row.
  view->Items()->Item(1)->SetCaption("zucchini");
  EXPECT_EQ(view->Items()->Item(2)->Caption(), "zucchini");
  EXPECT_EQ(view->Selected()->Caption(), "zucchini");
  EXPECT_EQ(view->FindCaption(0, "PEAR", false, true, false), view->Items()->Item(1));
  EXPECT_EQ(view->FindCaption(0, "pe", false, true, false), nullptr);
  view->Items()->Delete(2);
  EXPECT_EQ(view->Selected(), nullptr);
  vcl::Free(form);
}
