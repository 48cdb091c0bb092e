#include "spell/lx3SpellDialog.h"

#include "spell/engine/lx3SpellLanguages.h"

namespace spell {

using namespace vcl;

namespace {
TButton* SpellDialogButton(TSpellDialog* form, const char* name, Integer left, Integer top, Integer tabOrder) {
  auto* b = new TButton(form);
  b->SetName(name);
  b->SetBounds(left, top, 85, 23);
  b->SetParent(form);
  b->SetTabOrder(tabOrder);
  return b;
}

TLabel* SpellDialogLabel(TSpellDialog* form, const char* name, Integer top, const char* caption, TWinControl* focus) {
  auto* l = new TLabel(form);
  l->SetName(name);
  l->SetLeft(8);
  l->SetTop(top);
  l->SetCaption(caption);
  l->SetFocusControl(focus);
  l->SetParent(form);
  return l;
}

// The nearest form among the owners of a component, the component itself
// excluded.
TCustomForm* OwnerForm(TComponent* c) {
  for (TComponent* o = c ? c->Owner() : nullptr; o; o = o->Owner())
    if (auto* f = dynamic_cast<TCustomForm*>(o)) return f;
  return nullptr;
}
}  // namespace

TSpellDialog::TSpellDialog(TComponent* owner) : TForm(owner, 0) {
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetBorderIcons({biSystemMenu});
  SetColor(clBtnFace);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  SetCaption("xxSpelling");
  SetClientWidth(432);
  SetClientHeight(167);

  NotFoundEdit = new TEdit(this);
  NotFoundEdit->SetName("NotFoundEdit");
  NotFoundEdit->SetBounds(104, 8, 140, 21);
  NotFoundEdit->SetReadOnly(true);
  NotFoundEdit->SetParent(this);
  NotFoundEdit->SetTabStop(false);
  NotFoundEdit->SetTabOrder(0);
  NotFoundEdit->SetText("");

  ReplaceWithEdit = new TEdit(this);
  ReplaceWithEdit->SetName("ReplaceWithEdit");
  ReplaceWithEdit->SetBounds(104, 35, 140, 21);
  ReplaceWithEdit->SetParent(this);
  ReplaceWithEdit->SetTabOrder(1);
  ReplaceWithEdit->SetText("");

  SuggestionsListbox = new TListBox(this);
  SuggestionsListbox->SetName("SuggestionsListbox");
  SuggestionsListbox->SetBounds(104, 62, 140, 99);
  SuggestionsListbox->SetItemHeight(13);
  SuggestionsListbox->SetParent(this);
  SuggestionsListbox->SetTabStop(true);
  SuggestionsListbox->SetTabOrder(2);

  NotFoundText = SpellDialogLabel(this, "NotFoundText", 8, "xxNot Found:", NotFoundEdit);
  ReplaceWithText = SpellDialogLabel(this, "ReplaceWithText", 36, "xxReplace With:", ReplaceWithEdit);
  SuggestionsText = SpellDialogLabel(this, "SuggestionsText", 64, "xxSuggestions:", SuggestionsListbox);

  IgnoreButton = SpellDialogButton(this, "IgnoreButton", 252, 8, 3);
  IgnoreAllButton = SpellDialogButton(this, "IgnoreAllButton", 340, 8, 4);
  ChangeButton = SpellDialogButton(this, "ChangeButton", 252, 35, 5);
  ChangeAllButton = SpellDialogButton(this, "ChangeAllButton", 340, 35, 6);
  AddButton = SpellDialogButton(this, "AddButton", 252, 62, 7);
  AutoCorrectButton = SpellDialogButton(this, "AutoCorrectButton", 340, 62, 8);
  HelpButton = SpellDialogButton(this, "HelpButton", 252, 138, 9);
  UndoButton = SpellDialogButton(this, "UndoButton", 8, 111, 10);
  CancelButton = SpellDialogButton(this, "CancelButton", 340, 138, 11);
  OptionsButton = SpellDialogButton(this, "OptionsButton", 8, 138, 12);
  IgnoreButton->SetCaption("xxIgnore");
  IgnoreAllButton->SetCaption("xxIgnore All");
  ChangeButton->SetCaption("xxChange");
  ChangeAllButton->SetCaption("xxChange All");
  AddButton->SetCaption("xxAdd");
  AutoCorrectButton->SetCaption("xxAutoCorrect");
  HelpButton->SetCaption("xxHelp");
  UndoButton->SetCaption("xxUndo");
  CancelButton->SetCaption("xxCancel");
  CancelButton->SetCancel(true);
  OptionsButton->SetCaption("xxOptions...");

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->SetName("DialogControl");

  DialogControl->OnConfigurationAvailable = [this](TObject* s) { DialogControlConfigurationAvailable(s); };
  DialogControl->OnPromptWord = [this](void* s, const AnsiString& w, bool r) { DialogControlPromptWord(s, w, r); };
  IgnoreButton->OnClick = [this](TObject* s) { IgnoreButtonClick(s); };
  IgnoreAllButton->OnClick = [this](TObject* s) { IgnoreAllButtonClick(s); };
  ChangeButton->OnClick = [this](TObject* s) { ChangeButtonClick(s); };
  ChangeAllButton->OnClick = [this](TObject* s) { ChangeAllButtonClick(s); };
  AddButton->OnClick = [this](TObject* s) { AddButtonClick(s); };
  AutoCorrectButton->OnClick = [this](TObject* s) { AutoCorrectButtonClick(s); };
  UndoButton->OnClick = [this](TObject* s) { UndoButtonClick(s); };
  OptionsButton->OnClick = [this](TObject* s) { OptionsButtonClick(s); };
  CancelButton->OnClick = [this](TObject* s) { CancelButtonClick(s); };
  HelpButton->OnClick = [this](TObject* s) { HelpButtonClick(s); };
  SuggestionsListbox->OnClick = [this](TObject* s) { SuggestionsListboxClick(s); };
  SuggestionsListbox->OnDblClick = [this](TObject* s) { SuggestionsListboxDblClick(s); };
  ReplaceWithEdit->OnChange = [this](TObject* s) { ReplaceWithEditChange(s); };
  NotFoundEdit->OnDblClick = [this](TObject* s) { NotFoundEditDblClick(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
}

void TSpellDialog::InitWidget() {
  TForm::InitWidget();
  // A window made again while the form goes has no owner.
  if (Destroying()) return;
  if (TCustomForm* owner = OwnerForm(this); owner && owner->HandleAllocated()) SetOwnerWindow(owner->Handle());
}

bool TSpellDialog::Usable(TSpellDialogCommand c) { return HasCommand(DialogControl->GetCommandsEnabled(), c); }
bool TSpellDialog::Shown(TSpellDialogCommand c) { return HasCommand(DialogControl->GetCommandsVisible(), c); }

void TSpellDialog::DialogControlConfigurationAvailable(TObject*) {
  repeated_ = false;
  deactivated_ = false;
  auto* dc = DialogControl;
  SetCaption(dc->GetString(lsSpelling));
  NotFoundText->SetCaption(dc->GetString(lsDlgNotFound));
  ReplaceWithText->SetCaption(dc->GetString(lsDlgReplaceWith));
  SuggestionsText->SetCaption(dc->GetString(lsDlgSuggestions));
  IgnoreButton->SetCaption(dc->GetString(lsDlgIgnore));
  IgnoreAllButton->SetCaption(dc->GetString(lsDlgIgnoreAll));
  ChangeButton->SetCaption(dc->GetString(lsDlgChange));
  ChangeAllButton->SetCaption(dc->GetString(lsDlgChangeAll));
  AddButton->SetCaption(dc->GetString(lsDlgAdd));
  AutoCorrectButton->SetCaption(dc->GetString(lsDlgAutoCorrect));
  HelpButton->SetCaption(dc->GetString(lsDlgHelp));
  UndoButton->SetCaption(dc->GetString(lsDlgUndo));
  CancelButton->SetCaption(dc->GetString(lsDlgCancel));
  OptionsButton->SetCaption(dc->GetString(lsDlgOptions));

  UndoButton->SetVisible(Shown(sdcUndo));
  OptionsButton->SetVisible(Shown(sdcOptions));
  IgnoreAllButton->SetVisible(Shown(sdcIgnoreAll));
  IgnoreButton->SetVisible(Shown(sdcIgnore));
  ChangeButton->SetVisible(Shown(sdcChange));
  ChangeAllButton->SetVisible(Shown(sdcChangeAll));
  AddButton->SetVisible(Shown(sdcAdd));
  AutoCorrectButton->SetVisible(Shown(sdcAutoCorrect));
  HelpButton->SetVisible(Shown(sdcHelp) && dc->GetHelpContext(shdSpell) != 0);
  CancelButton->SetVisible(Shown(sdcCancel));
  HelpButton->SetEnabled(Usable(sdcHelp));
  CancelButton->SetEnabled(Usable(sdcCancel));
  if (!OptionsButton->Visible()) UndoButton->SetTop(OptionsButton->Top());
}

void TSpellDialog::EnableControls(bool enabled) {
  ReplaceWithEdit->SetEnabled(enabled);
  SuggestionsListbox->SetEnabled(enabled);
  const bool custom = DialogControl->GetActiveCustomDictionary() != nullptr;
  IgnoreButton->SetEnabled(enabled && Usable(sdcIgnore));
  IgnoreAllButton->SetEnabled(enabled && Usable(sdcIgnoreAll));
  ChangeButton->SetEnabled(enabled && Usable(sdcChange));
  ChangeAllButton->SetEnabled(enabled && Usable(sdcChangeAll));
  AddButton->SetEnabled(enabled && Usable(sdcAdd) && custom);
  AutoCorrectButton->SetEnabled(enabled && Usable(sdcAutoCorrect) && custom);
  HelpButton->SetEnabled(enabled && Usable(sdcHelp));
  UndoButton->SetEnabled(enabled && Usable(sdcUndo) && DialogControl->CanUndo());
  CancelButton->SetEnabled(enabled && Usable(sdcCancel));
  OptionsButton->SetEnabled(enabled && Usable(sdcOptions));
}

void TSpellDialog::DialogControlPromptWord(void*, const AnsiString& word, bool repeated) {
  auto* dc = DialogControl;
  NotFoundEdit->SetText(word);
  SuggestionsListbox->Clear();
  if (repeated != repeated_) {
    repeated_ = repeated;
    EnableControls(!repeated);
    if (repeated) {
      OptionsButton->SetEnabled(Usable(sdcOptions));
      IgnoreButton->SetEnabled(true);
      ChangeButton->SetEnabled(true);
      // A repeated word can still end the run.
      CancelButton->SetEnabled(Usable(sdcCancel));
      NotFoundText->SetCaption(dc->GetString(lsDlgRepeatedWord));
    } else {
      NotFoundText->SetCaption(dc->GetString(lsDlgNotFound));
    }
  }
  UndoButton->SetEnabled(dc->CanUndo() && Usable(sdcUndo));
  if (repeated) {
    // The prompt is the word, a blank and the word again.
    ReplaceWithEdit->SetText(word.substr(0, word.size() / 2));
    return;
  }
  const bool custom = dc->GetActiveCustomDictionary() != nullptr;
  AddButton->SetEnabled(custom && Usable(sdcAdd));
  AutoCorrectButton->SetEnabled(custom && Usable(sdcAutoCorrect));
  rtl::TStringList suggestions;
  dc->Suggest(word, suggestions);
  SuggestionsListbox->Items()->Assign(suggestions);
  SuggestionsListbox->SetEnabled(SuggestionsListbox->Count() > 0);
  if (SuggestionsListbox->Count() > 0) {
    ReplaceWithEdit->SetText(SuggestionsListbox->Items()->Strings(0));
    SuggestionsListbox->SetItemIndex(0);
  } else {
    ReplaceWithEdit->SetText("");
    ReplaceWithEditChange(ReplaceWithEdit);
    SuggestionsListbox->Items()->Add(dc->GetString(lsMnNoSuggestions));
  }
}

void TSpellDialog::IgnoreButtonClick(TObject*) {
  if (repeated_)
    DialogControl->IgnoreRepeated();
  else
    DialogControl->Ignore();
}
void TSpellDialog::IgnoreAllButtonClick(TObject*) { DialogControl->IgnoreAll(); }
void TSpellDialog::ChangeButtonClick(TObject*) {
  if (repeated_)
    DialogControl->DeleteRepeated();
  else
    DialogControl->Change(ReplaceWithEdit->Text());
}
void TSpellDialog::ChangeAllButtonClick(TObject*) { DialogControl->ChangeAll(ReplaceWithEdit->Text()); }
void TSpellDialog::AddButtonClick(TObject*) { DialogControl->Add(); }
void TSpellDialog::AutoCorrectButtonClick(TObject*) { DialogControl->AutoCorrect(ReplaceWithEdit->Text()); }
void TSpellDialog::UndoButtonClick(TObject*) { DialogControl->Undo(); }
void TSpellDialog::CancelButtonClick(TObject*) { DialogControl->Cancel(); }
void TSpellDialog::HelpButtonClick(TObject*) { DialogControl->ShowHelp(shdSpell); }

void TSpellDialog::OptionsButtonClick(TObject*) {
  DialogControl->ShowConfigDialog();
  // Shown again so that changed options and dictionaries reach the
  // suggestions.
  DialogControlPromptWord(DialogControl->Spell(), NotFoundEdit->Text(), repeated_);
}

void TSpellDialog::SuggestionsListboxClick(TObject*) {
  const Integer i = SuggestionsListbox->ItemIndex();
  if (i >= 0 && SuggestionsListbox->Enabled()) ReplaceWithEdit->SetText(SuggestionsListbox->Items()->Strings(i));
}

void TSpellDialog::SuggestionsListboxDblClick(TObject*) {
  const Integer i = SuggestionsListbox->ItemIndex();
  if (i >= 0 && SuggestionsListbox->Enabled()) DialogControl->Change(SuggestionsListbox->Items()->Strings(i));
}

void TSpellDialog::ReplaceWithEditChange(TObject*) {
  if (repeated_) return;
  const bool text = !ReplaceWithEdit->Text().empty();
  const bool custom = DialogControl->GetActiveCustomDictionary() != nullptr;
  ChangeButton->SetEnabled(text && Usable(sdcChange));
  ChangeAllButton->SetEnabled(text && Usable(sdcChangeAll));
  AutoCorrectButton->SetEnabled(text && custom && Usable(sdcAutoCorrect));
}

void TSpellDialog::NotFoundEditDblClick(TObject*) { ReplaceWithEdit->SetText(NotFoundEdit->Text()); }

void TSpellDialog::FormActivate(TObject*) {
  if (!deactivated_) return;
  deactivated_ = false;
  EnableControls(true);
}

void TSpellDialog::FormDeactivate(TObject*) {
  deactivated_ = true;
  EnableControls(false);
}

void TSpellDialog::FormCloseQuery(TObject*, bool&) { DialogControl->Cancel(); }

TSpellDialog::~TSpellDialog() {
  ReplaceWithEdit->OnChange = nullptr;
  SuggestionsListbox->OnClick = SuggestionsListbox->OnDblClick = nullptr;
}

}  // namespace spell
