#pragma once
// The grid's spin cell editor: the drop-down library's spin edit bound to
// the grid that owns it, reporting its spin clicks, stepping with PageUp,
// PageDown, Home and End, and leaving on Tab, Enter, Escape, Up and Down
// with the value committed and validated (or abandoned on Escape).
#include "dropdown/VoeSpin.h"

namespace grid {

class TVadOdizadEzev;

class TGridSpin : public dropdown::TVoeSpinEdit {
 public:
  // The owner must be a grid; another owner fails with the invalid type
  // cast error.
  explicit TGridSpin(vcl::TComponent* owner);
  TVadOdizadEzev* Grid() const { return grid_; }
  void UpButtonClick(vcl::TObject* sender) override;
  void DownButtonClick(vcl::TObject* sender) override;
  // The spin event of the spin type.
  void FireSpinClick(bool up);
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyPress(vcl::WideChar& key) override;
  void DoExit() override;
  void Change() override;

 private:
  TVadOdizadEzev* grid_ = nullptr;
};

}  // namespace grid
