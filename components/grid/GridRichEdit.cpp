#include "grid/GridRichEdit.h"

#include "grid/GridComponent.h"

namespace grid {

TLumRichEdit::TLumRichEdit(vcl::TComponent* owner) : vcl::TRichEdit(owner) {
  grid_ = dynamic_cast<TVadOdizadEzev*>(owner);
  if (grid_ == nullptr) throw EInvalidCast("Invalid class typecast");
}

vcl::TSize TLumRichEdit::RequestResize(vcl::TCanvas* canvas, Integer width) {
  const vcl::TSize size = RequestSize(canvas, width);
  reqWidth_ = size.cx;
  reqHeight_ = size.cy;
  return size;
}

}  // namespace grid
