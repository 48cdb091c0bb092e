#pragma once
// The grid's combo cell editor (editable and list combos): the drop-down
// library's combo bound to the grid that owns it, with the family's key
// protocol, completion against its items and the grid's lookup items, the
// mouse wheel, the lookup history and the item-change events.
#include "dropdown/VoeCombo.h"

namespace grid {

class TVadOdizadEzev;

class TGridCombo : public dropdown::TVOEComboBox {
 public:
  // The owner must be a grid; another owner fails with the invalid type
  // cast error.
  explicit TGridCombo(vcl::TComponent* owner);
  TVadOdizadEzev* Grid() const { return grid_; }
  // Completes the text typed up to the caret from the items, else from the
  // grid's LookupItems (then ItemIndex stays).
  void DoLookup();
  // The dropped list as wide as its widest item needs.
  void SizeDropDownToItems();
  bool AutoCompleteAllowed() const { return autoComplete_; }
  // Fired when Enter is typed.
  vcl::TNotifyEvent OnReturnKey;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyUp(vcl::Word& key, vcl::TShiftState shift) override;
  void KeyPress(vcl::WideChar& key) override;
  void DoExit() override;
  void Change() override;

 private:
  bool ListMode() const;
  // Writes the text into the cell and validates it; false when refused
  // (the text is then the validated value).
  bool Commit(bool selectAllOnRefusal);
  void ItemChanged();
  TVadOdizadEzev* grid_ = nullptr;
  bool autoComplete_ = true;
};

}  // namespace grid
