#pragma once
// The spelling dialog a check run shows while it stops at a word: the word,
// a replacement field, the suggestions and the commands, all sent back
// through the form's dialog control.
#include "spell/lx3ConfigurationDialogCtrl.h"
#include "vcl/Forms.h"
#include "vcl/ListBox.h"
#include "vcl/StdCtrls.h"

namespace spell {

class TSpellDialog : public vcl::TForm {
 public:
  explicit TSpellDialog(vcl::TComponent* owner);
  // The class library frees the controls after this: their handlers must
  // not reach the half-destroyed form.
  ~TSpellDialog() override;

  vcl::TLabel* NotFoundText;
  vcl::TLabel* ReplaceWithText;
  vcl::TLabel* SuggestionsText;
  vcl::TEdit* NotFoundEdit;
  vcl::TEdit* ReplaceWithEdit;
  vcl::TListBox* SuggestionsListbox;
  vcl::TButton* IgnoreButton;
  vcl::TButton* IgnoreAllButton;
  vcl::TButton* ChangeButton;
  vcl::TButton* ChangeAllButton;
  vcl::TButton* AddButton;
  vcl::TButton* AutoCorrectButton;
  vcl::TButton* HelpButton;
  vcl::TButton* UndoButton;
  vcl::TButton* CancelButton;
  vcl::TButton* OptionsButton;
  TConfigurationDialogCtrl* DialogControl;

  // The handlers the form binds; public so that a program replacing parts
  // of the form can call them.
  void DialogControlConfigurationAvailable(vcl::TObject* sender);
  void DialogControlPromptWord(void* sender, const AnsiString& word, bool repeated);
  void IgnoreButtonClick(vcl::TObject* sender);
  void IgnoreAllButtonClick(vcl::TObject* sender);
  void ChangeButtonClick(vcl::TObject* sender);
  void ChangeAllButtonClick(vcl::TObject* sender);
  void AddButtonClick(vcl::TObject* sender);
  void AutoCorrectButtonClick(vcl::TObject* sender);
  void UndoButtonClick(vcl::TObject* sender);
  void OptionsButtonClick(vcl::TObject* sender);
  void CancelButtonClick(vcl::TObject* sender);
  void HelpButtonClick(vcl::TObject* sender);
  void SuggestionsListboxClick(vcl::TObject* sender);
  void SuggestionsListboxDblClick(vcl::TObject* sender);
  void ReplaceWithEditChange(vcl::TObject* sender);
  void NotFoundEditDblClick(vcl::TObject* sender);
  void FormActivate(vcl::TObject* sender);
  void FormDeactivate(vcl::TObject* sender);
  void FormCloseQuery(vcl::TObject* sender, bool& canClose);
  // Enables the fields, and each button whose command is usable.
  void EnableControls(bool enabled);

  bool Repeated() const { return repeated_; }
  bool Deactivated() const { return deactivated_; }

 protected:
  // The window belongs to the nearest form among the owners.
  void InitWidget() override;

 private:
  bool Usable(TSpellDialogCommand c);
  bool Shown(TSpellDialogCommand c);
  bool repeated_ = false;
  bool deactivated_ = false;
};

}  // namespace spell
