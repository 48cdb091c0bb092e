#pragma once
// The dictionaries dialog: the custom and word-processor dictionaries with
// their in-use marks, and New, Delete, Edit and renaming in place.
#include <memory>
#include <vector>

#include "spell/lx3ConfigurationDialogCtrl.h"
#include "vcl/Forms.h"
#include "vcl/ListView.h"
#include "vcl/StdCtrls.h"

namespace spell {

// The data of one row.
struct TListEntry {
  bool Checked = true;
  bool Internal = false;   // the internal dictionary (Ignore All / Change All)
  bool Word = false;       // a word processor's dictionary
  bool Renamable = false;  // the stored name has no folder part
  AnsiString Name;         // the name or path as the configuration knows it
};

class TCustomDictionariesDialog : public vcl::TForm {
 public:
  explicit TCustomDictionariesDialog(vcl::TComponent* owner);
  ~TCustomDictionariesDialog() override;

  vcl::TGroupBox* CustomGroup;
  vcl::TListView* CustomDictionaries;
  vcl::TButton* EditButton;
  vcl::TButton* DeleteButton;
  vcl::TButton* NewButton;
  vcl::TButton* HelpButton;
  vcl::TButton* OK;
  TConfigurationDialogCtrl* DialogControl;

  void FormShow(vcl::TObject* sender);
  void DialogControlConfigurationAvailable(vcl::TObject* sender);
  void CustomDictionariesSelectItem(vcl::TObject* sender, vcl::TListItem* item, bool selected);
  void CustomDictionariesChange(vcl::TObject* sender, vcl::TListItem* item, vcl::TItemChange change);
  void CustomDictionariesEditing(vcl::TObject* sender, vcl::TListItem* item, bool& allowEdit);
  void CustomDictionariesEdited(vcl::TObject* sender, vcl::TListItem* item, AnsiString& s);
  void NewButtonClick(vcl::TObject* sender);
  void DeleteButtonClick(vcl::TObject* sender);
  void EditButtonClick(vcl::TObject* sender);
  void HelpButtonClick(vcl::TObject* sender);

  // Selects and focuses the first row whose caption is name exactly.
  bool SelectRowByCaption(const AnsiString& name);
  static TListEntry* Entry(vcl::TListItem* row) { return row ? static_cast<TListEntry*>(row->Data()) : nullptr; }

 private:
  void Fill();
  bool formShown_ = false, fillPending_ = false, filling_ = false;
  std::vector<std::unique_ptr<TListEntry>> entries_;  // the rows' data
};

}  // namespace spell
