#pragma once
// The dialog that edits one custom dictionary on three pages: its added
// words, its auto-correct pairs and its excluded words. Changes go straight
// into the dictionary the dialog control was given.
#include "spell/lx3ConfigurationDialogCtrl.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ListBox.h"
#include "vcl/ListView.h"
#include "vcl/StdCtrls.h"

namespace spell {

class TCustomDictionary;

class TCustomDictionaryEditDialog : public vcl::TForm {
 public:
  explicit TCustomDictionaryEditDialog(vcl::TComponent* owner);
  // The class library frees the controls after this: their handlers must
  // not reach the half-destroyed form.
  ~TCustomDictionaryEditDialog() override;

  vcl::TPageControl* PageControl;
  vcl::TTabSheet* AddedWordsSheet;
  vcl::TLabel* AddedWordsExplain;
  vcl::TLabel* IgnoreEditLabel;
  vcl::TEdit* IgnoreEdit;
  vcl::TListBox* IgnoreList;
  vcl::TButton* AddIgnoreButton;
  vcl::TButton* DeleteIgnoreButton;
  vcl::TTabSheet* AutoCorrectWordsSheet;
  vcl::TLabel* AutoCorrectWordsExplain;
  vcl::TLabel* ReplaceEditLabel;
  vcl::TLabel* WithEditLabel;
  vcl::TEdit* ReplaceEdit;
  vcl::TEdit* WithEdit;
  vcl::TListView* AutoCorrectList;
  vcl::TButton* AddAutoCorrectButton;
  vcl::TButton* DeleteAutoCorrectButton;
  vcl::TTabSheet* ExcludedWordsSheet;
  vcl::TLabel* ExcludeWordsExplanation;
  vcl::TLabel* ExcludeEditLabel;
  vcl::TEdit* ExcludeEdit;
  vcl::TListBox* ExcludeList;
  vcl::TButton* AddExcludeButton;
  vcl::TButton* DeleteExcludeButton;
  vcl::TButton* HelpButton;
  vcl::TButton* OK;
  TConfigurationDialogCtrl* DialogControl;
  vcl::TTimer* Timer;

  void FormCreate(vcl::TObject* sender);
  void DialogControlConfigurationAvailable(vcl::TObject* sender);
  void DialogControlCustomDictionaryAvailable(vcl::TObject* sender);
  void HelpButtonClick(vcl::TObject* sender);
  void AddedWordsSheetShow(vcl::TObject* sender);
  void IgnoreEditChange(vcl::TObject* sender);
  void IgnoreEditKeyDown(vcl::TObject* sender, Word& key, vcl::TShiftState shift);
  void IgnoreListClick(vcl::TObject* sender);
  void AddIgnoreButtonClick(vcl::TObject* sender);
  void DeleteIgnoreButtonClick(vcl::TObject* sender);
  void AutoCorrectWordsSheetShow(vcl::TObject* sender);
  void ReplaceEditChange(vcl::TObject* sender);
  void ReplaceEditKeyDown(vcl::TObject* sender, Word& key, vcl::TShiftState shift);
  void WithEditChange(vcl::TObject* sender);
  void WithEditKeyDown(vcl::TObject* sender, Word& key, vcl::TShiftState shift);
  void AutoCorrectListSelectItem(vcl::TObject* sender, vcl::TListItem* item, bool selected);
  void AddAutoCorrectButtonClick(vcl::TObject* sender);
  void DeleteAutoCorrectButtonClick(vcl::TObject* sender);
  void TimerTimer(vcl::TObject* sender);
  void ExcludedWordsSheetShow(vcl::TObject* sender);
  void ExcludeEditChange(vcl::TObject* sender);
  void ExcludeEditKeyDown(vcl::TObject* sender, Word& key, vcl::TShiftState shift);
  void ExcludeListClick(vcl::TObject* sender);
  void AddExcludeButtonClick(vcl::TObject* sender);
  void DeleteExcludeButtonClick(vcl::TObject* sender);

  // How many times each page's list was filled.
  Integer AddedFills() const { return addedFills_; }
  Integer ExcludedFills() const { return excludedFills_; }
  Integer AutoCorrectFills() const { return autoCorrectFills_; }

 private:
  // The added-words and excluded-words pages share their workings.
  struct WordPage {
    vcl::TEdit* edit;
    vcl::TListBox* list;
    vcl::TButton* add;
    vcl::TButton* remove;
    bool excluded;
  };
  WordPage Added() { return {IgnoreEdit, IgnoreList, AddIgnoreButton, DeleteIgnoreButton, false}; }
  WordPage Excluded() { return {ExcludeEdit, ExcludeList, AddExcludeButton, DeleteExcludeButton, true}; }
  TCustomDictionary* Dictionary() const;
  void FillWords(const WordPage& page);
  void WordEditChanged(const WordPage& page);
  void WordListClicked(const WordPage& page);
  void AddWord(const WordPage& page);
  void DeleteWord(const WordPage& page);
  void FillAutoCorrect();
  void SizeSecondColumn();
  Integer addedFills_ = 0, excludedFills_ = 0, autoCorrectFills_ = 0;
};

}  // namespace spell
