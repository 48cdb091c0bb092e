#include "spell/lx3Spell.h"

#include "spell/lx3ConfigurationDialog.h"
#include "spell/lx3CustomDictionariesDialog.h"
#include "spell/lx3CustomDictionaryEditDialog.h"
#include "spell/lx3SpellDialog.h"
#include "spell/lx3WinAPIParser.h"
#include "vcl/ComCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListBox.h"
#include "vcl/ShellChoosers.h"
#include "vcl/StdCtrls.h"

namespace spell {

using namespace vcl;

namespace {
// The component itself when it is a form, else the nearest form among its
// owners.
TCustomForm* NearestForm(TComponent* c) {
  for (; c; c = c->Owner())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  return nullptr;
}

bool IsTextControl(TControl* c) {
  return dynamic_cast<TCustomListBox*>(c) || dynamic_cast<TCustomEdit*>(c) || dynamic_cast<TCustomComboBox*>(c);
}
}  // namespace

TLexaSpell3::TLexaSpell3(TComponent* owner) : owner_(owner) { UIType = suiDialog; }

TLexaSpell3::~TLexaSpell3() = default;

void TLexaSpell3::ApplyUIFonts(TCustomForm* form, bool textFont) {
  if (!form || !UILanguageUseFonts) return;
  for (Integer i = 0; i < form->ComponentCount(); ++i) {
    auto* control = dynamic_cast<TControl*>(form->Components(i));
    if (!control) continue;
    if (dynamic_cast<TCustomLabel*>(control) || dynamic_cast<TButtonControl*>(control) ||
        dynamic_cast<TCustomGroupBox*>(control) || dynamic_cast<TPageControl*>(control))
      control->Font()->Assign(&fontControls_);
    else if (IsTextControl(control))
      control->Font()->Assign(textFont ? &fontText_ : &fontControls_);
  }
}

TCustomForm* TLexaSpell3::CreateSpellDialog() {
  InitApplication();
  TCustomForm* owner = nullptr;
  if (auto* parser = dynamic_cast<TControlParser2*>(CurrentParser()); parser && parser->GetControl())
    owner = NearestForm(parser->GetControl());
  if (!owner) owner = NearestForm(owner_);
  // The editor's parser names no control: its dialog belongs to the main
  // form.
  if (!owner) owner = Application->MainForm();
  TComponent* ownerComponent = owner ? static_cast<TComponent*>(owner) : Application;
  auto* form = new TSpellDialog(ownerComponent);
  ApplyUIFonts(form, true);
  return form;
}

vcl::TComponent* TLexaSpell3::DialogOwner(void* owner) const {
  if (!owner || owner == static_cast<const TLexaSpell3Base*>(this)) return owner_ ? owner_ : Application;
  return static_cast<TComponent*>(owner);
}

namespace {
// Frees a dialog form however its showing ends.
struct FormGuard {
  TCustomForm* form;
  ~FormGuard() { Free(form); }
};
}  // namespace

void TLexaSpell3::DoShowConfigDialog(void* owner) {
  if (OnShowConfigDialog) {
    TLexaSpell3WindowBase::DoShowConfigDialog(owner);
    return;
  }
  InitApplication();
  {
    FormGuard guard{new TSpellCheckConfigDialog(DialogOwner(owner))};
    ApplyUIFonts(guard.form, false);
    AttachDialogControl(guard.form, nullptr);
    guard.form->ShowModal();
  }
  // Not reached when the dialog raised.
  ChoosePrimaryDictionary();
}

void TLexaSpell3::DoShowCustomDictionariesDialog(void* owner) {
  if (OnShowCustomDictionariesDialog) {
    TLexaSpell3WindowBase::DoShowCustomDictionariesDialog(owner);
    return;
  }
  InitApplication();
  FormGuard guard{new TCustomDictionariesDialog(DialogOwner(owner))};
  ApplyUIFonts(guard.form, false);
  AttachDialogControl(guard.form, nullptr);
  guard.form->ShowModal();
}

void TLexaSpell3::DoShowAddDictionaryDir(void* owner) {
  if (OnShowAddDictionaryDir) {
    TLexaSpell3WindowBase::DoShowAddDictionaryDir(owner);
    return;
  }
  InitApplication();
  TFolderRequest request;
  // The dialog form of the dialog control that asked owns the chooser;
  // otherwise the application does.
  if (owner && owner != static_cast<TLexaSpell3Base*>(this))
    request.Owner = dynamic_cast<TWinControl*>(static_cast<TComponent*>(owner)->Owner());
  request.Title = GetString(lsDlgBrowseForMainTitle);
  request.FileSystemOnly = true;
  request.EditBox = true;
  AnsiString folder;
  if (!ChooseFolder(request, folder)) return;
  // A sorted list without duplicates; its change reloads the dictionary
  // sets.
  Config().GetNewPaths().Add(folder);
}

void TLexaSpell3::DoShowEditCustomDictionaryDialog(void* owner, TCustomDictionary* dictionary) {
  if (OnShowEditCustomDictionaryDialog) {
    TLexaSpell3WindowBase::DoShowEditCustomDictionaryDialog(owner, dictionary);
    return;
  }
  InitApplication();
  FormGuard guard{new TCustomDictionaryEditDialog(DialogOwner(owner))};
  ApplyUIFonts(guard.form, true);
  AttachDialogControl(guard.form, dictionary);
  guard.form->ShowModal();
  // Reloaded even when nothing changed: the dialog wrote straight into
  // the dictionary object.
  ConfigurationChanged(true);
}

}  // namespace spell
