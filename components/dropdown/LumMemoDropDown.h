#pragma once
// A drop-down edit holding a multi-line text: the edit shows the first line
// (with "..." when more lines follow, or cut to fit with an ellipsis), the
// pop-up holds a memo in which the whole text is edited. The grid's memo
// cell editor descends from it.
#include <memory>

#include "dropdown/LumDropDown.h"
#include "rtl/StringList.h"
#include "vcl/Menus.h"
#include "vcl/MemoTrackBar.h"

namespace dropdown {

class TLumMemoDropDown : public TLumCustomDropDown {
 public:
  explicit TLumMemoDropDown(vcl::TComponent* owner);
  ~TLumMemoDropDown() override;

  rtl::TStringList* MemoText() const { return memoText_.get(); }
  void SetMemoText(const rtl::TStrings* value) { memoText_->Assign(*value); }
  vcl::TPopupMenu* MemoPopup() const { return memoPopup_; }
  void SetMemoPopup(vcl::TPopupMenu* v) { memoPopup_ = v; }
  vcl::TScrollStyle MemoScrollBars() const { return memoScrollBars_; }
  void SetMemoScrollBars(vcl::TScrollStyle v) { memoScrollBars_ = v; }
  bool MemoReadOnly() const { return memoReadOnly_; }
  // While the pop-up is open the memo follows at once.
  void SetMemoReadOnly(bool v);
  vcl::TMemo* Memo() const { return memo_; }
  // Whether the edit shows a display form of the first line ("..." added
  // or the line cut) rather than the line itself.
  bool ShowsDisplayForm() const { return displayForm_; }

  // The whole memo text (the grid writes the whole cell text so).
  void SetText(const rtl::AnsiString& value) override;

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void HideDropDown(bool cancelled) override;
  void DropDownFormHide() override;
  void ControlKeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void ControlKeyPress(vcl::WideChar& key) override;

  vcl::TNotifyEvent OnMemoChange;

 protected:
  void Change() override;
  void Dispatch(vcl::TMessage& message) override;
  void DoExit() override;

 private:
  void MemoTextChanged();
  // Before the first key that edits a display form: the whole first line
  // goes into the edit, the caret kept where it was.
  void OpenFirstLineForEditing();
  std::unique_ptr<rtl::TStringList> memoText_;
  vcl::TPopupMenu* memoPopup_ = nullptr;
  vcl::TScrollStyle memoScrollBars_ = vcl::ssNone;
  bool memoReadOnly_ = false;
  vcl::TMemo* memo_ = nullptr;  // owned as a component
  bool updating_ = false;
  bool displayForm_ = false;
  bool editingLine_ = false;
};

}  // namespace dropdown
