#pragma once
// The grid's edit-with-button cell editor (edEditBtn, edNumericEditBtn,
// edFloatEditBtn): the drop-down library's edit with button bound to the
// grid, whose button asks OnEllipsClick for the text, which filters typed
// characters for the numeric kinds, pastes text, completes from the
// lookup items and runs the family's key protocol.
#include "dropdown/VoeEdit.h"

namespace grid {

class TVadOdizadEzev;

class TGridEditBtn : public dropdown::TVoeEditBtn {
 public:
  // The owner must be a grid; another owner fails with the invalid type
  // cast error.
  explicit TGridEditBtn(vcl::TComponent* owner);
  TVadOdizadEzev* Grid() const { return grid_; }
  // The button (or F4): the text the grid's OnEllipsClick gives, all of it
  // selected; with StopEditAfterClick the edit ends.
  void ButtonClick();
  void ClickBtn(vcl::TObject* sender) override;
  void DoLookup();
  bool StopEditAfterClick = false;
  bool AutoCompleteAllowed() const { return autoComplete_; }
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyPress(vcl::WideChar& key) override;
  void DoExit() override;
  void Change() override;

 private:
  void TypedChar(vcl::TMessage& message);
  void Paste();
  TVadOdizadEzev* grid_ = nullptr;
  bool autoComplete_ = true;
};

}  // namespace grid
