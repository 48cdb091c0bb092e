#pragma once
// The thesaurus dialog: the history of looked-up words, the meanings of the
// current one, the words of the chosen meaning and a replacement field.
#include "spell/lx3Thesaurus.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListView.h"
#include "vcl/StdCtrls.h"

namespace spell {

class TThesDialog : public vcl::TForm {
 public:
  explicit TThesDialog(vcl::TComponent* owner);
  // The class library frees the controls after this: their handlers must
  // not reach the half-destroyed form.
  ~TThesDialog() override;

  vcl::TLabel* LookedUpLabel;
  vcl::TLabel* ContextsLabel;
  vcl::TLabel* ReplaceWithLabel;
  vcl::TComboBox* LookupCombo;
  vcl::TListView* ContextLV;
  vcl::TEdit* ReplaceEdit;
  vcl::TListView* WordList;
  vcl::TButton* PreviousButton;
  vcl::TButton* ReplaceButton;
  vcl::TButton* CloseButton;
  vcl::TButton* LookupButton;
  TThesaurusDialogCtrl* DialogControl;
  vcl::TTimer* Timer;

  void DialogControlActivate(vcl::TObject* sender);
  void DialogControlPromptLookup(void* sender, const AnsiString& word, const TThesaurusContexts& contexts);
  void DialogControlPromptContext(void* sender, const rtl::TStrings& words);
  void ContextLVChange(vcl::TObject* sender, vcl::TListItem* item, vcl::TItemChange change);
  void WordListChange(vcl::TObject* sender, vcl::TListItem* item, vcl::TItemChange change);
  void ReplaceEditChange(vcl::TObject* sender);
  void LookupButtonClick(vcl::TObject* sender);
  void LookupComboChange(vcl::TObject* sender);
  void PreviousButtonClick(vcl::TObject* sender);
  void ReplaceButtonClick(vcl::TObject* sender);
  void CloseButtonClick(vcl::TObject* sender);
  void WordListDblClick(vcl::TObject* sender);
  void TimerTimer(vcl::TObject* sender);
  void FormCloseQuery(vcl::TObject* sender, bool& canClose);

 private:
  bool Enabled(TThesaurusDialogCommand c) const { return HasCommand(DialogControl->CommandsEnabled(), c); }
  bool Visible(TThesaurusDialogCommand c) const { return HasCommand(DialogControl->CommandsVisible(), c); }
  AnsiString Newest() const;
  bool filling_ = false;  // refilling the lists: their selections are not the user's
};

}  // namespace spell
