// The spelling dialog: its layout made in code, the texts and commands it
// takes from the component, and whole check runs with American.adm driven
// by synthetic clicks and keys on the real dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <memory>
#include <string>

#include "DialogTestSupport.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/lx3ConfigurationDialogCtrl.h"
#include "spell/lx3SpellDialog.h"

using namespace spell;
using namespace spell_dialog_test;
using vcl::TControl;

namespace {

struct Bounds {
  const char* name;
  Integer left, top, width, height, tabOrder;  // tab order -1: not windowed
};

const Bounds kLayout[] = {
    {"NotFoundEdit", 104, 8, 140, 21, 0},      {"ReplaceWithEdit", 104, 35, 140, 21, 1},
    {"SuggestionsListbox", 104, 62, 140, 99, 2}, {"IgnoreButton", 252, 8, 85, 23, 3},
    {"IgnoreAllButton", 340, 8, 85, 23, 4},     {"ChangeButton", 252, 35, 85, 23, 5},
    {"ChangeAllButton", 340, 35, 85, 23, 6},    {"AddButton", 252, 62, 85, 23, 7},
    {"AutoCorrectButton", 340, 62, 85, 23, 8},  {"HelpButton", 252, 138, 85, 23, 9},
    {"UndoButton", 8, 111, 85, 23, 10},         {"CancelButton", 340, 138, 85, 23, 11},
    {"OptionsButton", 8, 138, 85, 23, 12},
};

using FormPtr = std::unique_ptr<TSpellDialog, FreeForm>;

// A run over a text through TStringParser with the dialog shown by the
// component; the test answers the end message.
class SpellRun {
 public:
  explicit SpellRun(bool activeCustom = true) : s("spell-dlg", activeCustom) {}
  TLexaSpell3& spell() { return s.spell; }
  void Start(const std::string& initial) {
    text = initial;
    parser.Initialize(&text);
    s.spell.CheckParser(&parser, 2);
    Pump();
  }
  TSpellDialog* Dialog() { return dynamic_cast<TSpellDialog*>(s.spell.SpellDialogForm()); }
  // Clicks a button of the dialog; when it ends the run, the end message
  // is answered and its text kept.
  void Press(vcl::TButton* b) {
    answer.Arm(vcl::mrOk);
    Click(b);
    Pump();
    answer.Disarm();
  }
  ScratchSpell s;
  std::string text;
  TStringParser parser;
  ModalAnswer answer;
};

}  // namespace

TEST(SpellDialogForm, MadeByItselfItHasItsLayoutAndPlaceholdersAndDoesNothing) {
  FormPtr form(new TSpellDialog(vcl::Application));
  EXPECT_EQ(form->ClientWidth(), 432);
  EXPECT_EQ(form->ClientHeight(), 167);
  EXPECT_EQ(form->BorderStyle(), vcl::TFormBorderStyle::bsDialog);
  EXPECT_EQ(form->Font()->Height(), -11);
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  for (const Bounds& b : kLayout) {
    SCOPED_TRACE(b.name);
    auto* c = dynamic_cast<vcl::TWinControl*>(form->FindComponent(b.name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Left(), b.left);
    EXPECT_EQ(c->Top(), b.top);
    EXPECT_EQ(c->Width(), b.width);
    EXPECT_EQ(c->Height(), b.height);
    EXPECT_EQ(c->TabOrder(), b.tabOrder);
  }
  EXPECT_FALSE(form->NotFoundEdit->TabStop());
  EXPECT_TRUE(form->NotFoundEdit->ReadOnly());
  EXPECT_EQ(form->SuggestionsListbox->ItemHeight(), 13);
  EXPECT_TRUE(form->CancelButton->Cancel());
  EXPECT_EQ(form->NotFoundText->FocusControl(), form->NotFoundEdit);
  EXPECT_EQ(form->ReplaceWithText->FocusControl(), form->ReplaceWithEdit);
  EXPECT_EQ(form->SuggestionsText->FocusControl(), form->SuggestionsListbox);
  for (const vcl::TControl* c : {static_cast<TControl*>(form->NotFoundText), static_cast<TControl*>(form->IgnoreButton),
                                 static_cast<TControl*>(form->OptionsButton)})
    EXPECT_EQ(c->Caption().substr(0, 2), "xx") << c->Name();
  EXPECT_EQ(form->Caption().substr(0, 2), "xx");
  EXPECT_EQ(FindConfigurationDialogCtrl(form.get()), form->DialogControl);

  // Unattached, the commands and the prompt reach nothing.
  form->Show();
  Pump();
  for (vcl::TButton* b : {form->IgnoreButton, form->ChangeButton, form->AddButton, form->UndoButton,
                          form->OptionsButton, form->CancelButton})
    Click(b);
  form->DialogControlPromptWord(nullptr, "wrold", false);
  EXPECT_EQ(form->NotFoundEdit->Text(), "wrold");
  EXPECT_FALSE(form->ChangeButton->Enabled());  // no command is usable unattached
  EXPECT_EQ(form->SuggestionsListbox->Count(), 1);
  EXPECT_EQ(form->SuggestionsListbox->Items()->Strings(0), "");
  EXPECT_EQ(form->DialogControl->GetString(lsSpelling), "");
  EXPECT_TRUE(form->DialogControl->UseExcludeWords());
  EXPECT_EQ(form->DialogControl->GetAvailableMainDictionaries(), nullptr);
}

TEST(SpellDialogForm, AttachingSetsTextsAndShowsButtonsByTheirCommands) {
  ScratchSpell s("spell-dlg");
  int available = 0;
  {
    FormPtr form(new TSpellDialog(vcl::Application));
    form->DialogControl->OnConfigurationAvailable = [&](vcl::TObject* o) {
      ++available;
      form->DialogControlConfigurationAvailable(o);
    };
    s.spell.AttachDialogControl(form.get(), nullptr);
    EXPECT_EQ(available, 1);
    EXPECT_EQ(form->Caption(), "Spelling");
    EXPECT_EQ(form->NotFoundText->Caption(), "Not Found:");
    EXPECT_EQ(form->ReplaceWithText->Caption(), "&Replace With:");
    EXPECT_EQ(form->AutoCorrectButton->Caption(), "Au&to-Correct");
    EXPECT_EQ(form->OptionsButton->Caption(), "&Options...");
    EXPECT_FALSE(form->HelpButton->Visible());  // no help context
    EXPECT_TRUE(form->OptionsButton->Visible());
    EXPECT_EQ(form->UndoButton->Top(), 111);
    // A second component changes nothing and fires nothing.
    ScratchSpell other("spell-dlg2");
    other.spell.AttachDialogControl(form.get(), nullptr);
    EXPECT_EQ(available, 1);
    EXPECT_EQ(form->DialogControl->Spell(), &s.spell);
    form->DialogControl->SetCustomDictionary(nullptr);
    EXPECT_EQ(form->DialogControl->CustomDictionary(), nullptr);
  }
  // Options hidden: Undo stands at its top; a help context shows Help.
  s.spell.CommandsVisible &= ~(1u << sdcOptions) & ~(1u << sdcAdd);
  s.spell.HelpCtxSpellDialog = 12;
  FormPtr form(new TSpellDialog(vcl::Application));
  s.spell.AttachDialogControl(form.get(), nullptr);
  EXPECT_FALSE(form->OptionsButton->Visible());
  EXPECT_FALSE(form->AddButton->Visible());
  EXPECT_EQ(form->UndoButton->Top(), 138);
  EXPECT_TRUE(form->HelpButton->Visible());
  AnsiString helpFile;
  Integer helpContext = 0;
  SetSpellHelpHook([&](const AnsiString& f, Integer c) {
    helpFile = f;
    helpContext = c;
  });
  s.spell.HelpFile = "spell.hlp";
  form->Show();
  Pump();
  Click(form->HelpButton);
  SetSpellHelpHook(nullptr);
  EXPECT_EQ(helpFile, "spell.hlp");
  EXPECT_EQ(helpContext, 12);
  form->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_dialog_no_options.png");
}

TEST(SpellDialogRun, SuggestionsFillTheListAndChangeWritesTheChosenOne) {
  SpellRun run;
  run.Start("I saw a tabel here.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(run.spell().Checking());
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(d->NotFoundText->Caption(), "Not Found:");
  EXPECT_EQ(d->NotFoundEdit->Text(), "tabel");
  ASSERT_GE(d->SuggestionsListbox->Count(), 2);
  EXPECT_TRUE(d->SuggestionsListbox->Enabled());
  EXPECT_NE(d->SuggestionsListbox->Items()->IndexOf("label"), -1) << d->SuggestionsListbox->Items()->Text();
  EXPECT_EQ(d->SuggestionsListbox->ItemIndex(), 0);
  EXPECT_EQ(d->ReplaceWithEdit->Text(), d->SuggestionsListbox->Items()->Strings(0));
  EXPECT_TRUE(d->AddButton->Enabled());  // the default active custom dictionary
  EXPECT_TRUE(d->AutoCorrectButton->Enabled());
  EXPECT_FALSE(d->UndoButton->Enabled());
  d->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_dialog.png");

  // A click on a suggestion copies it; a double click on the word copies
  // the word back.
  const Integer label = d->SuggestionsListbox->Items()->IndexOf("label");
  const Integer other = label == 0 ? 1 : 0;
  ClickListItem(d->SuggestionsListbox, other);
  EXPECT_EQ(d->ReplaceWithEdit->Text(), d->SuggestionsListbox->Items()->Strings(other));
  DoubleClick(d->NotFoundEdit);
  EXPECT_EQ(d->ReplaceWithEdit->Text(), "tabel");
  ClickListItem(d->SuggestionsListbox, label);
  EXPECT_EQ(d->ReplaceWithEdit->Text(), "label");
  run.Press(d->ChangeButton);
  EXPECT_EQ(run.text, "I saw a label here.");
  EXPECT_FALSE(run.spell().Checking());
  EXPECT_EQ(run.spell().SpellDialogForm(), nullptr);
  ASSERT_EQ(run.answer.captions.size(), 1u);
  EXPECT_EQ(run.answer.captions[0], "Spelling");
  EXPECT_NE(run.answer.texts[0].find("The spelling check is complete."), std::string::npos);
}

TEST(SpellDialogRun, AWordWithoutSuggestionsWaitsForTyping) {
  SpellRun run;
  run.Start("Say qzxqzvqk now.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->NotFoundEdit->Text(), "qzxqzvqk");
  ASSERT_EQ(d->SuggestionsListbox->Count(), 1);
  EXPECT_EQ(d->SuggestionsListbox->Items()->Strings(0), "(no suggestions)");
  EXPECT_FALSE(d->SuggestionsListbox->Enabled());
  EXPECT_EQ(d->ReplaceWithEdit->Text(), "");
  EXPECT_FALSE(d->ChangeButton->Enabled());
  EXPECT_FALSE(d->ChangeAllButton->Enabled());
  EXPECT_FALSE(d->AutoCorrectButton->Enabled());
  EXPECT_TRUE(d->IgnoreButton->Enabled());
  d->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_dialog_no_suggestions.png");
  d->ReplaceWithEdit->SetFocus();
  Type(d->ReplaceWithEdit, "quiz");
  EXPECT_EQ(d->ReplaceWithEdit->Text(), "quiz");
  EXPECT_TRUE(d->ChangeButton->Enabled());
  EXPECT_TRUE(d->ChangeAllButton->Enabled());
  EXPECT_TRUE(d->AutoCorrectButton->Enabled());
  run.Press(d->ChangeButton);
  EXPECT_EQ(run.text, "Say quiz now.");
  EXPECT_FALSE(run.spell().Checking());
}

TEST(SpellDialogRun, ARepeatedWordOffersItsSingleWordAndChangeLeavesOne) {
  SpellRun run;
  run.Start("I saw the the cat.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->NotFoundText->Caption(), "Repeated Word:");
  EXPECT_EQ(d->NotFoundEdit->Text(), "the the");
  EXPECT_EQ(d->ReplaceWithEdit->Text(), "the");
  struct Expect {
    vcl::TControl* c;
    bool enabled;
  };
  for (const Expect& e : {Expect{d->IgnoreButton, true}, Expect{d->ChangeButton, true},
                          Expect{d->CancelButton, true}, Expect{d->OptionsButton, true},
                          Expect{d->IgnoreAllButton, false}, Expect{d->ChangeAllButton, false},
                          Expect{d->AddButton, false}, Expect{d->AutoCorrectButton, false},
                          Expect{d->UndoButton, false}, Expect{d->ReplaceWithEdit, false},
                          Expect{d->SuggestionsListbox, false}})
    EXPECT_EQ(e.c->Enabled(), e.enabled) << e.c->Name();
  d->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_dialog_repeated.png");
  run.Press(d->ChangeButton);
  EXPECT_EQ(run.text, "I saw the cat.");
  EXPECT_FALSE(run.spell().Checking());
}

TEST(SpellDialogRun, AddAndAutoCorrectNeedAnActiveCustomDictionary) {
  SpellRun run(false);
  run.Start("A wrold.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(run.spell().ActiveCustomDictionary(), nullptr);
  EXPECT_FALSE(d->AddButton->Enabled());
  EXPECT_FALSE(d->AutoCorrectButton->Enabled());
  Type(d->ReplaceWithEdit, "s");
  EXPECT_FALSE(d->AutoCorrectButton->Enabled());
  EXPECT_TRUE(d->ChangeButton->Enabled());
  run.Press(d->CancelButton);
  EXPECT_FALSE(run.spell().Checking());
  EXPECT_EQ(run.text, "A wrold.");
  EXPECT_TRUE(run.answer.captions.empty());  // no end message after Cancel
}

TEST(SpellDialogRun, IgnoreMovesOnAndUndoComesBack) {
  SpellRun run;
  run.Start("A wrold and a tabel.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  Click(d->IgnoreButton);
  EXPECT_EQ(d->NotFoundEdit->Text(), "tabel");
  EXPECT_TRUE(d->UndoButton->Enabled());
  Click(d->UndoButton);
  EXPECT_EQ(d->NotFoundEdit->Text(), "wrold");
  EXPECT_FALSE(d->UndoButton->Enabled());
  Click(d->IgnoreAllButton);
  EXPECT_EQ(d->NotFoundEdit->Text(), "tabel");
  run.answer.Arm(vcl::mrOk);
  ClickListItem(d->SuggestionsListbox, d->SuggestionsListbox->Items()->IndexOf("table"), true);
  run.answer.Disarm();
  EXPECT_EQ(run.text, "A wrold and a table.");
  EXPECT_EQ(run.answer.captions.size(), 1u);
  EXPECT_FALSE(run.spell().Checking());
}

TEST(SpellDialogRun, LosingTheFocusDisablesTheDialogAndComingBackResumes) {
  SpellRun run;
  auto* other = new vcl::TForm(vcl::Application, 0);
  other->SetBounds(600, 400, 200, 100);
  other->Show();
  Pump();
  run.Start("A wrold and a tabel.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  d->WindowWidget()->activateWindow();
  Pump();
  ASSERT_TRUE(d->ChangeButton->Enabled());
  other->WindowWidget()->activateWindow();
  Pump();
  EXPECT_TRUE(d->Deactivated());
  for (vcl::TControl* c : {static_cast<TControl*>(d->ChangeButton), static_cast<TControl*>(d->IgnoreButton),
                           static_cast<TControl*>(d->ReplaceWithEdit), static_cast<TControl*>(d->SuggestionsListbox),
                           static_cast<TControl*>(d->CancelButton)})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  // The user mends the word in the text meanwhile; coming back resumes
  // from the edited text.
  run.text.replace(run.text.find("wrold"), 5, "world");
  d->WindowWidget()->activateWindow();
  Pump();
  EXPECT_FALSE(d->Deactivated());
  EXPECT_TRUE(d->ChangeButton->Enabled());
  EXPECT_TRUE(d->ReplaceWithEdit->Enabled());
  EXPECT_EQ(d->NotFoundEdit->Text(), "tabel");
  run.Press(d->CancelButton);
  vcl::Free(other);
}

TEST(SpellDialogRun, UIFontsGoToTextAndControlsOnlyWhenUsed) {
  SpellRun run;
  vcl::TFont big;
  big.SetName("DejaVu Sans");
  big.SetHeight(-20);
  vcl::TFont controls;
  controls.SetName("DejaVu Serif");
  controls.SetHeight(-12);
  run.spell().SetUILanguageFontText(&big);
  run.spell().SetUILanguageFontControls(&controls);
  run.Start("A wrold.");
  TSpellDialog* d = run.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->SuggestionsListbox->Font()->Height(), -11);  // fonts not in use
  EXPECT_EQ(d->ChangeButton->Font()->Height(), -11);
  run.Press(d->CancelButton);
  run.spell().UILanguageUseFonts = true;
  run.Start("A wrold.");
  d = run.Dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->SuggestionsListbox->Font()->Height(), -20);
  EXPECT_EQ(d->ReplaceWithEdit->Font()->Height(), -20);
  EXPECT_EQ(d->NotFoundEdit->Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(d->ChangeButton->Font()->Height(), -12);
  EXPECT_EQ(d->NotFoundText->Font()->Name(), "DejaVu Serif");
  d->SaveWindowImage(std::string(TOLVANE_BIN_DIR) + "/spell_dialog_ui_fonts.png");
  run.Press(d->CancelButton);
}
