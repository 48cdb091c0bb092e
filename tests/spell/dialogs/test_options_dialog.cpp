// The spelling options dialog over a component in a scratch folder: its
// layout, the option boxes the available options choose, the main
// dictionaries with the browse row, and the component showing it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "spell/engine/lx3Configuration.h"
#include "spell/lx3ConfigurationDialog.h"
#include "vcl/ShellChoosers.h"

using namespace spell;
using namespace spell_dialog_test;
using vcl::TListItem;

namespace {

using OptionsPtr = std::unique_ptr<TSpellCheckConfigDialog, FreeForm>;
using Strings = std::vector<std::string>;

void ClickBox(vcl::TListView* v, Integer row) {
  const vcl::TRect box = v->CheckRect(row);
  QTest::mouseClick(v->Widget(), Qt::LeftButton, {}, QPoint(box.Left + 5, box.Top + 5));
  Pump();
}

}  // namespace

TEST(OptionsDialogForm, LayoutWhenMadeByItself) {
  OptionsPtr f(new TSpellCheckConfigDialog(vcl::Application));
  EXPECT_EQ(f->ClientWidth(), 320);
  EXPECT_EQ(f->ClientHeight(), 397);
  struct B {
    const char* name;
    Integer l, t, w, h;
  };
  const B table[] = {{"OptionsGroup", 8, 8, 305, 185},       {"Option1", 8, 16, 289, 17},
                     {"Option10", 8, 160, 289, 17},         {"DictionariesGroup", 8, 200, 305, 161},
                     {"MainDictionaries", 8, 16, 289, 97},  {"CustomCombo", 8, 132, 169, 21},
                     {"DictionariesButton", 192, 130, 105, 23}, {"ResetButton", 8, 368, 100, 23},
                     {"HelpButton", 157, 368, 75, 23},      {"OK", 238, 368, 75, 23}};
  for (const B& b : table) {
    SCOPED_TRACE(b.name);
    auto* c = dynamic_cast<vcl::TControl*>(f->FindComponent(b.name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->BoundsRect(), vcl::Bounds(b.l, b.t, b.w, b.h));
  }
  EXPECT_EQ(f->CustomLabel->Top(), 117);
  EXPECT_EQ(f->Option[4]->TabOrder(), 4);
  EXPECT_TRUE(f->OK->Default());
  EXPECT_TRUE(f->MainDictionaries->Checkboxes());
  EXPECT_TRUE(f->MainDictionaries->HotTrack());
  EXPECT_EQ(f->Caption().substr(0, 2), "xx");
  EXPECT_EQ(f->Option[0]->Caption().substr(0, 2), "xx");
}

TEST(OptionsDialog, TheDefaultsShowFiveBoxesAndTheBoxesChangeTheOptions) {
  ScratchSpell s("spell-options");
  core_test::WriteFile(s.dir.Path() / "Broken.adm", std::string(64, 'z'));
  int browses = 0;
  s.spell.OnShowAddDictionaryDir = [&](void*, void*) { ++browses; };
  OptionsPtr f(new TSpellCheckConfigDialog(vcl::Application));
  s.spell.AttachDialogControl(f.get(), nullptr);
  f->Show();
  Pump();
  EXPECT_EQ(f->Caption(), "Spelling Options");
  Strings captions;
  for (vcl::TCheckBox* box : f->Option)
    if (box->Visible()) captions.push_back(box->Caption());
  EXPECT_EQ(captions, (Strings{"Ignore words in &UPPERCASE", "Ignore words containing numbers",
                               "Suggest from main dictionaries only", "Prompt on repeated word",
                               "Automatically correct DUal capitals"}));
  EXPECT_EQ(f->ClientHeight(), 397 - 80);
  EXPECT_EQ(f->DictionariesGroup->Top(), 120);
  EXPECT_EQ(f->OK->Top(), 288);
  EXPECT_FALSE(f->HelpButton->Visible());

  // Each box shows its option's state and changes the stored options.
  TLexaConfig& config = s.spell.Config();
  for (vcl::TCheckBox* box : f->Option) {
    if (!box->Visible()) continue;
    const auto option = static_cast<TSpellOption>(box->Tag());
    EXPECT_EQ(box->Checked(), HasSpellOption(config.GetOptions(), option)) << box->Caption();
    Click(box);
    EXPECT_EQ(box->Checked(), HasSpellOption(config.GetOptions(), option)) << box->Caption();
  }

  // The main dictionaries: American.adm by its title, the broken file as
  // "???", and the browse row last.
  vcl::TListItems* rows = f->MainDictionaries->Items();
  Strings files, titles;
  for (Integer i = 0; i < rows->Count(); ++i) {
    titles.push_back(rows->Item(i)->Caption());
    files.push_back(rows->Item(i)->SubItems()->Strings(0));
  }
  ASSERT_GE(rows->Count(), 3);
  EXPECT_EQ(titles.back(), "Locate Dictionaries...");
  EXPECT_EQ(files.back(), "");
  const auto broken = std::find(files.begin(), files.end(), "Broken.adm");
  ASSERT_NE(broken, files.end());
  EXPECT_EQ(titles[static_cast<size_t>(broken - files.begin())], "???");
  const auto american = std::find(files.begin(), files.end(), "American.adm");
  ASSERT_NE(american, files.end());
  const Integer americanRow = static_cast<Integer>(american - files.begin());
  f->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_options_dialog.png");

  // Checking the browse row runs the folder browser and leaves it unchecked.
  ClickBox(f->MainDictionaries, rows->Count() - 1);
  EXPECT_EQ(browses, 1);
  EXPECT_FALSE(f->MainDictionaries->Items()->Item(f->MainDictionaries->Items()->Count() - 1)->Checked());
  // A dictionary row's mark puts it in and out of the configuration.
  const bool before = config.GetMainDictionaries().IndexOf("American.adm") >= 0;
  EXPECT_EQ(rows->Item(americanRow)->Checked(), before);
  ClickBox(f->MainDictionaries, americanRow);
  EXPECT_EQ(config.GetMainDictionaries().IndexOf("American.adm") >= 0, !before);
  ClickBox(f->MainDictionaries, americanRow);
  EXPECT_EQ(config.GetMainDictionaries().IndexOf("American.adm") >= 0, before);
  EXPECT_EQ(f->MainDictionaries->Selected(), nullptr);  // rows never stay selected
}

TEST(OptionsDialog, TheComponentShowsItUnlessTheEventReplacesIt) {
  ScratchSpell s("spell-options-show");
  ModalAnswer answer;
  std::string caption;
  answer.Arm(vcl::mrNone, [&](vcl::TCustomForm* form) {
    caption = form->Caption();
    auto* f = dynamic_cast<TSpellCheckConfigDialog*>(form);
    if (f) Click(f->OK);
  });
  s.spell.ShowConfigDialog();
  answer.Disarm();
  EXPECT_EQ(caption, "Spelling Options");
  int events = 0;
  s.spell.OnShowConfigDialog = [&](void*, void*) { ++events; };
  s.spell.ShowConfigDialog();  // no dialog: nothing would answer one
  EXPECT_EQ(events, 1);
}

TEST(OptionsDialog, AFolderChosenFromTheBrowseRowAddsItsDictionaries) {
  ScratchSpell s("spell-options-browse");
  core_test::ScratchFolder extra("spell-extra");
  std::filesystem::copy_file(std::string(TOLVANE_BIN_DIR) + "/American.adm", extra.Path() / "Extra.adm");
  std::vector<vcl::TFolderRequest> requests;
  bool answer = false;
  vcl::SetFolderChooserHook([&](const vcl::TFolderRequest& r, AnsiString& folder) {
    requests.push_back(r);
    folder = extra.Path().string();
    return answer;
  });
  OptionsPtr f(new TSpellCheckConfigDialog(vcl::Application));
  s.spell.AttachDialogControl(f.get(), nullptr);
  f->Show();
  Pump();
  auto files = [&] {
    Strings out;
    for (Integer i = 0; i < f->MainDictionaries->Items()->Count(); ++i)
      out.push_back(f->MainDictionaries->Items()->Item(i)->SubItems()->Strings(0));
    return out;
  };
  // Cancelled: nothing added.
  ClickBox(f->MainDictionaries, f->MainDictionaries->Items()->Count() - 1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Title, "Choose Folder Containing Dictionaries");
  EXPECT_EQ(requests[0].Owner, f.get());
  EXPECT_TRUE(requests[0].FileSystemOnly);
  EXPECT_TRUE(requests[0].EditBox);
  const Strings before = files();
  EXPECT_EQ(std::count(before.begin(), before.end(), "Extra.adm"), 0);
  EXPECT_EQ(s.spell.Config().GetNewPaths().Count(), 0);
  answer = true;
  ClickBox(f->MainDictionaries, f->MainDictionaries->Items()->Count() - 1);
  vcl::SetFolderChooserHook(nullptr);
  EXPECT_EQ(s.spell.Config().GetNewPaths().IndexOf(extra.Path().string()), 0);
  const Strings now = files();
  EXPECT_NE(std::find(now.begin(), now.end(), "Extra.adm"), now.end());
  EXPECT_FALSE(f->MainDictionaries->Items()->Item(f->MainDictionaries->Items()->Count() - 1)->Checked());
}

TEST(DesktopOpener, TheHookTakesTheRequestInPlaceOfTheDesktop) {
  std::vector<vcl::TOpenRequest> seen;
  vcl::SetDesktopOpenHook([&](const vcl::TOpenRequest& r) {
    seen.push_back(r);
    return r.FileName.ends_with(".dic");
  });
  EXPECT_TRUE(vcl::OpenWithDesktop({"/tmp/words/custom.dic", "/tmp/words"}));
  EXPECT_FALSE(vcl::OpenWithDesktop({"/tmp/words/readme", "/tmp/words"}));
  vcl::SetDesktopOpenHook(nullptr);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].FileName, "/tmp/words/custom.dic");
  EXPECT_EQ(seen[0].WorkingFolder, "/tmp/words");
}
