#pragma once
// The search footer: a 32-pixel bar at the grid's bottom with the search
// field, find-next, find-previous and highlight buttons, a match-case box
// and a close button. The grid answers its events (GridSearch.cpp).
#include "grid/GridButton.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

namespace grid {

class TVadOdizadEzev;

// An edit that reports Enter (OnReturn) and Ctrl+Enter (OnCtrlReturn) and
// swallows the line-break characters.
class TRetEdit : public vcl::TEdit {
 public:
  using vcl::TEdit::TEdit;
  vcl::TNotifyEvent OnReturn;
  vcl::TNotifyEvent OnCtrlReturn;

 protected:
  void KeyDown(Word& key, vcl::TShiftState shift) override;
  void KeyPress(vcl::WideChar& key) override;
};

class TSearchPanel : public vcl::TCustomPanel {
 public:
  TSearchPanel(vcl::TComponent* owner, TVadOdizadEzev* grid);
  TColor ColorTo = clNone;
  TRetEdit* Edit() const { return edit_; }
  TLumGridButton* FindNextButton() const { return next_; }
  TLumGridButton* FindPrevButton() const { return prev_; }
  TLumGridButton* HighlightButton() const { return highlight_; }
  TLumGridButton* CloseButton() const { return close_; }
  TLumCheckBox* MatchCaseBox() const { return matchCase_; }
  vcl::TNotifyEvent OnForwardClick;
  vcl::TNotifyEvent OnBackwardClick;
  vcl::TNotifyEvent OnEditChange;
  vcl::TNotifyEvent OnExitClick;
  vcl::TNotifyEvent OnHighlightClick;
  // The buttons enabled exactly when the field holds text; OnEditChange.
  void EditChanged();

 protected:
  void Paint() override;

 private:
  TVadOdizadEzev* grid_;
  TRetEdit* edit_;
  TLumGridButton* next_;
  TLumGridButton* prev_;
  TLumGridButton* close_;
  TLumGridButton* highlight_;
  TLumCheckBox* matchCase_;
};

}  // namespace grid
