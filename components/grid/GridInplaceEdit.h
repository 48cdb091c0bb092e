#pragma once
// The grid's own in-place text editor: the class library's masked in-place
// editor with the grid's rules for its ten text editor types (which typed
// characters each takes, pasted text merged and checked, completion from
// the lookup items, the length limit and the password character).
#include "vcl/Grids.h"

namespace grid {

using rtl::AnsiString;
using rtl::Integer;

class TVadOdizadEzev;

class TLumInplaceEdit : public vcl::TInplaceEdit {
 public:
  explicit TLumInplaceEdit(vcl::TComponent* owner);
  TVadOdizadEzev* LumGrid() const { return grid_; }
  // The most characters typing and pasting leave; 0 or less: no limit.
  Integer LengthLimit = 0;
  // Whether the next key-up may complete from the lookup items (not after
  // Backspace or Delete).
  bool AutoCompleteAllowed() const { return autoComplete_; }
  void Dispatch(vcl::TMessage& message) override;
  // The grid is about to load this text into the editor: that change is
  // not reported through OnEditChange.
  void ExpectLoad(const AnsiString& text) {
    loading_ = true;
    loadText_ = text;
  }

 protected:
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  // The grid's OnEditChange for every change the user or the program
  // makes, not for the grid's own loading.
  void Change() override;

 private:
  void TypedChar(vcl::TMessage& message);
  void Paste();
  void Complete();
  // The selection in bytes of the UTF-8 text.
  void ByteSelection(const AnsiString& text, Integer& start, Integer& length);
  void SetByteSelection(const AnsiString& text, Integer start, Integer length);

  TVadOdizadEzev* grid_ = nullptr;
  bool autoComplete_ = true;
  bool loading_ = false;
  AnsiString loadText_;
};

}  // namespace grid
