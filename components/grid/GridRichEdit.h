#pragma once
// The grid's rich-text control: one hidden instance measures and draws the
// rich text of cells for the grid that owns it.
#include "rtl/Exceptions.h"
#include "vcl/RichEdit.h"

namespace grid {

using rtl::Integer;

class TVadOdizadEzev;

// A control made for an owner of the wrong class.
using rtl::Exception;
RTL_DECLARE_EXCEPTION(EInvalidCast, Exception);

class TLumRichEdit : public vcl::TRichEdit {
 public:
  // The owner must be a grid; another owner fails with the invalid type
  // cast error.
  explicit TLumRichEdit(vcl::TComponent* owner);
  // The size the text last asked for when measured in a width.
  Integer ReqWidth() const { return reqWidth_; }
  Integer ReqHeight() const { return reqHeight_; }
  // Lays the loaded text out in width pixels (wrapped when WordWrap is on)
  // and keeps what it asks for in ReqWidth and ReqHeight.
  vcl::TSize RequestResize(vcl::TCanvas* canvas, Integer width);
  TVadOdizadEzev* Grid() const { return grid_; }

 private:
  TVadOdizadEzev* grid_ = nullptr;
  Integer reqWidth_ = 0;
  Integer reqHeight_ = 0;
};

}  // namespace grid
