#pragma once
// The "Spelling Options" dialog: the option check boxes, the main
// dictionaries in use, the active custom dictionary and the way to the
// dictionaries dialog. Changes go straight into the configuration.
#include <vector>

#include "spell/lx3ConfigurationDialogCtrl.h"
#include "vcl/Forms.h"
#include "vcl/ListView.h"
#include "vcl/StdCtrls.h"

namespace spell {

class TSpellCheckConfigDialog : public vcl::TForm {
 public:
  explicit TSpellCheckConfigDialog(vcl::TComponent* owner);
  ~TSpellCheckConfigDialog() override;

  vcl::TGroupBox* OptionsGroup;
  vcl::TCheckBox* Option[10];  // Option1 .. Option10
  vcl::TGroupBox* DictionariesGroup;
  vcl::TListView* MainDictionaries;
  vcl::TLabel* CustomLabel;
  vcl::TComboBox* CustomCombo;
  vcl::TButton* DictionariesButton;
  vcl::TButton* ResetButton;
  vcl::TButton* HelpButton;
  vcl::TButton* OK;
  TConfigurationDialogCtrl* DialogControl;

  void FormShow(vcl::TObject* sender);
  void DialogControlConfigurationAvailable(vcl::TObject* sender);
  void OptionsClick(vcl::TObject* sender);
  void MainDictionariesSelectItem(vcl::TObject* sender, vcl::TListItem* item, bool selected);
  void MainDictionariesChange(vcl::TObject* sender, vcl::TListItem* item, vcl::TItemChange change);
  void MainDictionariesClick(vcl::TObject* sender);
  void CustomComboChange(vcl::TObject* sender);
  void DictionariesButtonClick(vcl::TObject* sender);
  void ResetButtonClick(vcl::TObject* sender);
  void HelpButtonClick(vcl::TObject* sender);

  void FillMainDictionaries();
  void FillCustomCombo();
  void FillOptions();
  void ResizeColumns();
  // The browse row, when there is one.
  vcl::TListItem* BrowseRow() const { return browse_; }

 private:
  bool Shown(TSpellDialogCommand c) { return HasCommand(DialogControl->GetCommandsVisible(), c); }
  bool Usable(TSpellDialogCommand c) { return HasCommand(DialogControl->GetCommandsEnabled(), c); }
  std::vector<bool> remembered_;  // each row's check state as last taken
  vcl::TListItem* browse_ = nullptr;
  bool filling_ = false;
};

}  // namespace spell
