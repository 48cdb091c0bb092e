#include "spell/lx3ConfigurationDialogCtrl.h"

#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3SpellBase.h"
#include "spell/engine/lx3Util.h"

namespace spell {

namespace {
TSpellHelpHook& HelpHook() {
  static TSpellHelpHook hook;
  return hook;
}
}  // namespace

void SetSpellHelpHook(TSpellHelpHook hook) { HelpHook() = std::move(hook); }

void TConfigurationDialogCtrl::Attach(TLexaSpell3Base* spell) {
  if (spell_ || !spell) return;
  spell_ = spell;
  config_ = &spell->Config();
  availableOptions_ = spell->ConfigAvailableOptions;
  if (OnConfigurationAvailable) OnConfigurationAvailable(this);
}

void TConfigurationDialogCtrl::SetCustomDictionary(TCustomDictionary* dictionary) {
  dictionary_ = dictionary;
  if (dictionary && OnCustomDictionaryAvailable) OnCustomDictionaryAvailable(this);
}

AnsiString TConfigurationDialogCtrl::Version() { return GetVersionText(); }

const rtl::TStringList* TConfigurationDialogCtrl::GetAvailableMainDictionaries() {
  return spell_ ? &spell_->GetAvailableMainDictionaries() : nullptr;
}
const rtl::TStringList* TConfigurationDialogCtrl::GetAvailableCustomDictionaries() {
  return spell_ ? &spell_->GetAvailableCustomDictionaries() : nullptr;
}
const rtl::TStrings* TConfigurationDialogCtrl::GetMSWordCustomDictionaries() {
  return spell_ ? &spell_->GetMSWordCustomDictionaries() : nullptr;
}
bool TConfigurationDialogCtrl::UseExcludeWords() { return spell_ ? spell_->UseExcludeWords : true; }
bool TConfigurationDialogCtrl::CanUndo() { return spell_ && spell_->CanUndo(); }
TCustomDictionary* TConfigurationDialogCtrl::GetInternalDictionary() {
  return spell_ ? spell_->InternalDictionary() : nullptr;
}
TCustomDictionary* TConfigurationDialogCtrl::GetActiveCustomDictionary() {
  return spell_ ? spell_->ActiveCustomDictionary() : nullptr;
}
TSpellDialogCommands TConfigurationDialogCtrl::GetCommandsVisible() { return spell_ ? spell_->CommandsVisible : 0; }
TSpellDialogCommands TConfigurationDialogCtrl::GetCommandsEnabled() { return spell_ ? spell_->CommandsEnabled : 0; }

Integer TConfigurationDialogCtrl::GetHelpContext(TSpellHelpDialog dialog) {
  if (!spell_) return 0;
  switch (dialog) {
    case shdSpell: return spell_->HelpCtxSpellDialog;
    case shdOptions: return spell_->HelpCtxConfigDialog;
    case shdDictionaries: return spell_->HelpCtxDictionariesDialog;
    case shdEdit: return spell_->HelpCtxDictionaryEditDialog;
  }
  return 0;
}

void TConfigurationDialogCtrl::ShowHelp(TSpellHelpDialog dialog) {
  if (!spell_ || !HelpHook()) return;
  HelpHook()(spell_->HelpFile, GetHelpContext(dialog));
}

std::unique_ptr<TMainDictionary> TConfigurationDialogCtrl::OpenMainDictionary(const AnsiString& name) {
  return spell_ ? spell_->OpenMainDictionary(name) : nullptr;
}
std::unique_ptr<TCustomDictionary> TConfigurationDialogCtrl::OpenCustomDictionary(const AnsiString& name) {
  return spell_ ? spell_->OpenCustomDictionary(name) : nullptr;
}

void TConfigurationDialogCtrl::GetString(Integer id, AnsiString& text) {
  text = spell_ ? spell_->GetString(id) : AnsiString();
}
AnsiString TConfigurationDialogCtrl::GetString(Integer id) {
  AnsiString text;
  GetString(id, text);
  return text;
}

void TConfigurationDialogCtrl::GetOptionCaption(TSpellOption option, AnsiString& text) {
  text.clear();
  if (!spell_) return;
  switch (option) {
    case soUser1: text = spell_->ConfigUserOption1; break;
    case soUser2: text = spell_->ConfigUserOption2; break;
    case soUser3: text = spell_->ConfigUserOption3; break;
    case soUser4: text = spell_->ConfigUserOption4; break;
    default: text = spell_->GetString(static_cast<int>(option)); break;
  }
}

// The dialogs these open are owned by this control, so they die with its
// form at the latest; they run under the component's lock, which
// serialises their direct configuration changes with live spelling.
void TConfigurationDialogCtrl::ShowConfigDialog() {
  if (!spell_) return;
  auto lock = spell_->LockComponent();
  spell_->DoShowConfigDialog(this);
}
void TConfigurationDialogCtrl::ShowCustomDictionariesDialog() {
  if (!spell_) return;
  auto lock = spell_->LockComponent();
  spell_->DoShowCustomDictionariesDialog(this);
}
void TConfigurationDialogCtrl::ShowEditCustomDictionaryDialog(TCustomDictionary* dictionary) {
  if (!spell_) return;
  auto lock = spell_->LockComponent();
  spell_->DoShowEditCustomDictionaryDialog(this, dictionary);
}
void TConfigurationDialogCtrl::ShowAddDictionaryDir() {
  if (!spell_) return;
  auto lock = spell_->LockComponent();
  spell_->DoShowAddDictionaryDir(this);
}

void TConfigurationDialogCtrl::SetCustomDictionaryInUse(const AnsiString& name, bool inUse) {
  if (spell_) spell_->SetCustomDictionaryInUse(name, inUse);
}
void TConfigurationDialogCtrl::SetMSWordDictionaryInUse(const AnsiString& path, bool inUse) {
  if (spell_) spell_->SetMSWordDictionaryInUse(path, inUse);
}
void TConfigurationDialogCtrl::DeleteCustomDictionary(const AnsiString& name) {
  if (spell_) spell_->DeleteCustomDictionary(name);
}
void TConfigurationDialogCtrl::NewCustomDictionary(const AnsiString& name) {
  if (spell_) spell_->NewCustomDictionary(name);
}
bool TConfigurationDialogCtrl::RenameCustomDictionary(const AnsiString& oldName, const AnsiString& newName) {
  return spell_ && spell_->RenameCustomDictionary(oldName, newName);
}

void TConfigurationDialogCtrl::Ignore() { if (spell_) spell_->IgnoreCurrent(); }
void TConfigurationDialogCtrl::IgnoreAll() { if (spell_) spell_->IgnoreAllCurrent(); }
void TConfigurationDialogCtrl::Change(const AnsiString& r) { if (spell_) spell_->ChangeCurrent(r); }
void TConfigurationDialogCtrl::ChangeAll(const AnsiString& r) { if (spell_) spell_->ChangeAllCurrent(r); }
void TConfigurationDialogCtrl::Add() { if (spell_) spell_->AddCurrent(); }
void TConfigurationDialogCtrl::AutoCorrect(const AnsiString& r) { if (spell_) spell_->AutoCorrectCurrent(r); }
void TConfigurationDialogCtrl::Undo() { if (spell_) spell_->UndoCurrent(); }
void TConfigurationDialogCtrl::Cancel() { if (spell_) spell_->CancelCheck(); }
void TConfigurationDialogCtrl::IgnoreRepeated() { if (spell_) spell_->IgnoreRepeated(); }
void TConfigurationDialogCtrl::DeleteRepeated() { if (spell_) spell_->DeleteRepeated(); }
void TConfigurationDialogCtrl::Suggest(const AnsiString& word, rtl::TStrings& list) {
  if (spell_) spell_->Suggest(word, list);
}

TConfigurationDialogCtrl* FindConfigurationDialogCtrl(vcl::TComponent* form) {
  if (!form) return nullptr;
  for (Integer i = 0; i < form->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TConfigurationDialogCtrl*>(form->Components(i))) return c;
  return nullptr;
}

}  // namespace spell
