// The dictionaries dialog and the new-dictionary dialog over a component
// whose custom dictionaries live in a scratch folder: creating, renaming
// in place, deleting with the confirmation answered, the in-use marks and
// the internal dictionary's row.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/lx3ConfigurationDialog.h"
#include "spell/lx3CustomDictionariesDialog.h"
#include "spell/lx3NewCustomDictionaryDialog.h"

using namespace spell;
using namespace spell_dialog_test;
using vcl::TListItem;

namespace {

struct FreeDialogForm {
  void operator()(vcl::TCustomForm* f) const { vcl::Free(f); }
};
using DictsPtr = std::unique_ptr<TCustomDictionariesDialog, FreeDialogForm>;
using Strings = std::vector<std::string>;

Strings Rows(TCustomDictionariesDialog* d) {
  Strings out;
  for (Integer i = 0; i < d->CustomDictionaries->Items()->Count(); ++i)
    out.push_back(d->CustomDictionaries->Items()->Item(i)->Caption());
  return out;
}

struct DictsRun {
  DictsRun() : s("spell-dicts") {
    s.spell.LoadDictionaries();
    form.reset(new TCustomDictionariesDialog(vcl::Application));
    s.spell.AttachDialogControl(form.get(), nullptr);
    form->Show();
    Pump();
  }
  // Runs New with the name typed into the new-dictionary dialog.
  void New(const std::string& name) {
    ModalAnswer answer;
    answer.Arm(vcl::mrNone, [name](vcl::TCustomForm* f) {
      auto* n = dynamic_cast<TNewCustomDictionary*>(f);
      if (!n) return;
      n->NameEdit->SetText(name);
      Click(n->OKButton);
    });
    Click(form->NewButton);
  }
  bool Exists(const std::string& file) { return std::filesystem::exists(s.dir.Path() / file); }
  ScratchSpell s;
  DictsPtr form;
};

}  // namespace

TEST(DictionariesDialogForm, LayoutsOfBothForms) {
  DictsPtr d(new TCustomDictionariesDialog(vcl::Application));
  EXPECT_EQ(d->ClientWidth(), 312);
  EXPECT_EQ(d->ClientHeight(), 206);
  EXPECT_EQ(d->CustomGroup->BoundsRect(), vcl::Bounds(8, 8, 297, 161));
  EXPECT_EQ(d->CustomDictionaries->BoundsRect(), vcl::Bounds(8, 16, 201, 137));
  EXPECT_EQ(d->EditButton->BoundsRect(), vcl::Bounds(214, 16, 75, 23));
  EXPECT_EQ(d->DeleteButton->BoundsRect(), vcl::Bounds(214, 43, 75, 23));
  EXPECT_EQ(d->NewButton->BoundsRect(), vcl::Bounds(214, 70, 75, 23));
  EXPECT_EQ(d->HelpButton->BoundsRect(), vcl::Bounds(149, 176, 75, 23));
  EXPECT_EQ(d->OK->BoundsRect(), vcl::Bounds(230, 176, 75, 23));
  EXPECT_TRUE(d->OK->Default());
  EXPECT_FALSE(d->CustomDictionaries->ReadOnly());
  EXPECT_EQ(d->Caption().substr(0, 2), "xx");
  std::unique_ptr<TNewCustomDictionary, FreeDialogForm> n(new TNewCustomDictionary(vcl::Application));
  EXPECT_EQ(n->ClientWidth(), 231);
  EXPECT_EQ(n->ClientHeight(), 102);
  EXPECT_EQ(n->NameEdit->BoundsRect(), vcl::Bounds(8, 40, 217, 21));
  EXPECT_EQ(n->OKButton->BoundsRect(), vcl::Bounds(70, 72, 75, 23));
  EXPECT_EQ(n->CancelButton->BoundsRect(), vcl::Bounds(150, 72, 75, 23));
  EXPECT_EQ(n->EditLabel->Top(), 16);
  EXPECT_TRUE(n->CancelButton->Cancel());
  EXPECT_EQ(n->Caption().substr(0, 2), "xx");
  ScratchSpell s("spell-new-dict");
  s.spell.AttachDialogControl(n.get(), nullptr);
  EXPECT_EQ(n->Caption(), "New Custom Dictionary");
  EXPECT_EQ(n->EditLabel->Caption(), "&Enter the new custom dictionary name:");
  n->Show();
  Pump();
  n->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_new_dictionary_dialog.png");
}

TEST(DictionariesDialog, NewRenameAndDelete) {
  DictsRun run;
  auto* d = run.form.get();
  EXPECT_EQ(d->Caption(), "Dictionaries");
  const size_t before = Rows(d).size();
  run.New("work.txt");
  EXPECT_TRUE(run.Exists("work.adu"));
  Strings rows = Rows(d);
  ASSERT_EQ(rows.size(), before + 1);
  ASSERT_NE(d->CustomDictionaries->Selected(), nullptr);
  EXPECT_EQ(d->CustomDictionaries->Selected()->Caption(), "work.adu");
  EXPECT_TRUE(d->DeleteButton->Enabled());
  EXPECT_TRUE(d->EditButton->Enabled());
  d->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_dictionaries_dialog.png");
  // A name already listed only selects its row.
  d->CustomDictionaries->SetSelected(nullptr);
  run.New("work.adu");
  EXPECT_EQ(Rows(d).size(), before + 1);
  ASSERT_NE(d->CustomDictionaries->Selected(), nullptr);
  EXPECT_EQ(d->CustomDictionaries->Selected()->Caption(), "work.adu");

  // Renaming in place: to an existing file's name keeps the old caption.
  run.New("home");
  ASSERT_TRUE(run.Exists("home.adu"));
  ASSERT_TRUE(d->SelectRowByCaption("work.adu"));
  TListItem* row = d->CustomDictionaries->Selected();
  d->CustomDictionaries->SetFocus();
  QTest::keyClick(d->CustomDictionaries->Widget(), Qt::Key_F2);
  Pump();
  ASSERT_TRUE(d->CustomDictionaries->IsEditing());
  EXPECT_FALSE(d->OK->Default());  // Enter ends the edit
  auto* editor = dynamic_cast<vcl::TEdit*>(d->CustomDictionaries->Editor());
  ASSERT_NE(editor, nullptr);
  editor->SetText("home");
  QTest::keyClick(editor->Widget(), Qt::Key_Return);
  Pump();
  EXPECT_FALSE(d->CustomDictionaries->IsEditing());
  EXPECT_TRUE(d->OK->Default());
  EXPECT_EQ(row->Caption(), "work.adu");
  EXPECT_TRUE(run.Exists("work.adu"));
  // To a free name: the file and the row take it.
  ASSERT_TRUE(d->CustomDictionaries->EditCaption(row));
  dynamic_cast<vcl::TEdit*>(d->CustomDictionaries->Editor())->SetText("job");
  d->CustomDictionaries->EndEdit(true);
  EXPECT_EQ(row->Caption(), "job.adu");
  EXPECT_EQ(TCustomDictionariesDialog::Entry(row)->Name, "job.adu");
  EXPECT_TRUE(run.Exists("job.adu"));
  EXPECT_FALSE(run.Exists("work.adu"));

  // Delete asks; No keeps everything, Yes deletes.
  ASSERT_TRUE(d->SelectRowByCaption("job.adu"));
  ModalAnswer answer;
  answer.Arm(vcl::mrNo);
  Click(d->DeleteButton);
  answer.Disarm();
  ASSERT_EQ(answer.captions.size(), 1u);
  EXPECT_EQ(answer.captions[0], "Confirmation:");
  EXPECT_NE(answer.texts[0].find("Delete this custom dictionary?"), std::string::npos);
  EXPECT_TRUE(run.Exists("job.adu"));
  EXPECT_NE(std::find(Rows(d).begin(), Rows(d).end(), "job.adu"), Rows(d).end());
  answer.Arm(vcl::mrYes);
  Click(d->DeleteButton);
  answer.Disarm();
  EXPECT_FALSE(run.Exists("job.adu"));
  const Strings after = Rows(d);
  EXPECT_EQ(std::find(after.begin(), after.end(), "job.adu"), after.end());
}

TEST(DictionariesDialog, TheInternalRowAppearsAfterIgnoreAllAndStaysChecked) {
  DictsRun run;
  auto* d = run.form.get();
  const Strings first = Rows(d);
  EXPECT_EQ(std::find(first.begin(), first.end(), "(Ignore All / Change All)"), first.end());
  ASSERT_NE(run.s.spell.InternalDictionary(), nullptr);
  run.s.spell.InternalDictionary()->AddIgnore("qzxq");
  DictsPtr again(new TCustomDictionariesDialog(vcl::Application));
  run.s.spell.AttachDialogControl(again.get(), nullptr);
  again->Show();
  Pump();
  ASSERT_FALSE(Rows(again.get()).empty());
  EXPECT_EQ(Rows(again.get())[0], "(Ignore All / Change All)");
  TListItem* internal = again->CustomDictionaries->Items()->Item(0);
  EXPECT_TRUE(internal->Checked());
  internal->SetChecked(false);  // its mark comes back
  EXPECT_TRUE(internal->Checked());
  again->CustomDictionaries->SetSelected(internal);
  EXPECT_FALSE(again->DeleteButton->Enabled());
  EXPECT_TRUE(again->EditButton->Enabled());
  EXPECT_FALSE(again->CustomDictionaries->EditCaption(internal));
}

TEST(DictionariesDialog, UncheckingTheActiveDictionaryMovesTheActiveOneAndTheCombo) {
  ScratchSpell s("spell-dicts-active");
  s.spell.LoadDictionaries();
  s.spell.NewCustomDictionary("alpha.adu");
  s.spell.NewCustomDictionary("beta.adu");
  s.spell.Config().SetActiveCustom("beta.adu");
  std::unique_ptr<TSpellCheckConfigDialog, FreeDialogForm> options(new TSpellCheckConfigDialog(vcl::Application));
  s.spell.AttachDialogControl(options.get(), nullptr);
  options->Show();
  Pump();
  EXPECT_EQ(options->CustomCombo->Text(), "beta.adu");
  ModalAnswer answer;
  Strings seen;
  answer.Arm(vcl::mrNone, [&](vcl::TCustomForm* f) {
    auto* d = dynamic_cast<TCustomDictionariesDialog*>(f);
    if (!d) return;
    seen = Rows(d);
    if (d->SelectRowByCaption("beta.adu")) {
      const vcl::TRect box = d->CustomDictionaries->CheckRect(d->CustomDictionaries->Selected()->Index());
      QTest::mouseClick(d->CustomDictionaries->Widget(), Qt::LeftButton, {}, QPoint(box.Left + 5, box.Top + 5));
      Pump();
    }
    Click(d->OK);
  });
  Click(options->DictionariesButton);
  answer.Disarm();
  EXPECT_NE(std::find(seen.begin(), seen.end(), "beta.adu"), seen.end());
  EXPECT_EQ(s.spell.Config().GetCustomDictionaries().IndexOf("beta.adu"), -1);
  const AnsiString active = s.spell.Config().GetActiveCustom();
  EXPECT_NE(active, "beta.adu");
  EXPECT_FALSE(active.empty());
  EXPECT_EQ(options->CustomCombo->Text(), active);
}
