#pragma once
// The spell-checker component with its window parts: the live-spelling
// popup as a class-library popup menu, the end message and the smart
// selection's question as message boxes, waiting for the dialog's commands
// in the application's message loop, and checks of edit controls.
#include <cstdint>
#include <functional>

#include "spell/engine/lx3SpellBase.h"

namespace vcl {
class TWinControl;
class TComponent;
class TCustomForm;
class TObject;
}  // namespace vcl

namespace spell {

class TConfigurationDialogCtrl;

class TLexaSpell3WindowBase : public TLexaSpell3Base {
 public:
  TLexaSpell3WindowBase() = default;

  // Check runs and word counts over an edit, rich-edit or any windowed
  // control holding one, through TWinAPIControlParser; the run frees it.
  void CheckEditControl(vcl::TWinControl* control, Integer checkType);
  void CheckRichEditControl(vcl::TWinControl* control, Integer checkType);
  void CheckWinControl(vcl::TWinControl* control, Integer checkType);
  Integer WordCountEditControl(vcl::TWinControl* control, Integer checkType);

  // ---- the spell dialog of check runs ----
  // Supplies the dialog form (create true) and takes it back (create
  // false) in place of CreateSpellDialog and releasing it.
  std::function<void(void* sender, vcl::TCustomForm*& form, bool create)> OnCreateSpellDialog;
  std::function<void(void* sender)> OnSpellDialogShow, OnSpellDialogHide, OnPositionDialog, OnDialogDeactivate,
      OnDialogActivate;
  vcl::TCustomForm* SpellDialogForm() const { return form_; }
  TConfigurationDialogCtrl* SpellDialogControl() const { return dialogCtrl_; }
  bool SpellDialogShown() const { return dialogShown_; }
  // The form's first dialog control, attached to this component and told
  // the dictionary; null when the form has none.
  TConfigurationDialogCtrl* AttachDialogControl(vcl::TCustomForm* form, TCustomDictionary* dictionary);
  void CloseSpellDialog() { HideSpellDialog(); }

 protected:
  void* CreatePopupMenu(void* owner) override;
  void* AddPopupMenuItem(void* menu, void* parent, const AnsiString& caption, bool enabled, bool hasChildren,
                         Integer tag) override;
  void RunPopupMenu(void* menu, Integer x, Integer y, Integer& tag, AnsiString& caption) override;
  void FreePopupMenu(void* menu) override;
  void ShowMessageText(const AnsiString& text, const AnsiString& caption) override;
  bool AskYesNo(const AnsiString& text, const AnsiString& caption) override;
  void WaitForCommand() override;
  void SetBusyCursor(bool busy) override;
  void ShowSpellDialog() override;
  void HideSpellDialog() override;
  void PromptDialogWord(const AnsiString& word, bool repeated) override;
  // The end message is modal: its loop would free a dialog released just
  // before it while the dialog's own click handler is still running, so
  // the dialog is handed back only after the message.
  void ShowEndMessage() override;
  // The window layer has no dialog form of its own.
  virtual vcl::TCustomForm* CreateSpellDialog() { return nullptr; }
  void PositionDialog();
  void AvoidSelection();
  void MoveDialogOffSelection(bool horizontal, bool vertical);
  void PlaceDialogAvoidingControl();
  void DialogShowHook(vcl::TObject* sender);
  void DialogActivateHook(vcl::TObject* sender);
  void DialogDeactivateHook(vcl::TObject* sender);

 private:
  int16_t savedCursor_ = 0;  // the screen cursor before a long run
  vcl::TCustomForm* form_ = nullptr;                 // the spell dialog; released when hidden
  TConfigurationDialogCtrl* dialogCtrl_ = nullptr;  // on form_
  bool dialogShown_ = false, dialogDeactivated_ = false;
  std::function<void(vcl::TObject*)> savedOnShow_, savedOnActivate_, savedOnDeactivate_;
  bool holdForm_ = false;                // hiding keeps the form in heldForm_
  vcl::TCustomForm* heldForm_ = nullptr;  // hidden, to be handed back
  void HandBack(vcl::TCustomForm* form);
};

}  // namespace spell
