#pragma once
// The value list a filter glyph opens: a list box on the grid, hidden until
// a glyph is clicked. Enter, or a button released over it, hides it and
// reports the item chosen; a cancel while the mouse is outside it hides it
// with nothing chosen.
#include <functional>

#include "grid/model/FilterRows.h"
#include "vcl/ListBox.h"

namespace vcl {
class TBitmap;
class TCanvas;
}  // namespace vcl

namespace grid {

class TDropList : public vcl::TListBox {
 public:
  explicit TDropList(vcl::TComponent* owner);
  std::function<void(vcl::TObject* Sender, Integer ItemIndex)> OnSelect;
  // Told when the list is cancelled without a choice.
  std::function<void()> OnCancel;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void KeyDown(vcl::Word& key, vcl::TShiftState shift) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;

 private:
  void Choose();
};

// The filter glyph at the right of a header cell: the owner's glyph (drawn
// transparently at its own size) or, when it is empty, our "VOEFILT" on the
// background colour.
void PaintFilterGlyph(vcl::TCanvas* canvas, vcl::TBitmap* glyph, TColor background, const vcl::TRect& cell);

}  // namespace grid
