#include "support/MoxThemes.h"

#include "vcl/Gdi.h"
#include "vcl/Regions.h"
#include "vcl/UxTheme.h"

namespace support {

using namespace vcl;

Cardinal ThemedControlStyle(const TControl* control) {
  Cardinal bits = 0;
  if (control->ControlStyle().Contains(csNeedsBorderPaint)) bits |= csNeedsBorderPaintBit;
  if (control->ControlStyle().Contains(csParentBackground)) bits |= csParentBackgroundBit;
  return bits;
}

void AddThemedControlStyle(TControl* control, Cardinal bits) {
  TControlStyle style = control->ControlStyle();
  if (bits & csNeedsBorderPaintBit) style.Include(csNeedsBorderPaint);
  if (bits & csParentBackgroundBit) style.Include(csParentBackground);
  control->SetControlStyle(style);
}

void PaintThemedBackground(TControl* control, TCanvas* canvas, const TRect& rect, bool needsParentBackground,
                           std::optional<TColor> color) {
  const TColor fill = color ? *color : canvas->Brush()->Color();
  TWinControl* parent = control->Parent();
  const bool plain = control->ComponentState().Contains(csDesigning) || !parent ||
                     (fill != parent->Color() && ColorToRGB(fill) != ColorToRGB(parent->Color())) ||
                     !IsAppThemed() ||
                     (needsParentBackground && !control->ControlStyle().Contains(csParentBackground));
  if (plain) {
    const TColor saved = canvas->Brush()->Color();
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(rect);
    canvas->Brush()->SetColor(saved);
    return;
  }
  // Retained buffers are never drawn twice over, so every windowed control
  // takes the theme service's copy of its parent's picture.
  if (auto* w = dynamic_cast<TWinControl*>(control))
    DrawThemeParentBackground(w->Handle(), canvas, &rect);
  else
    EraseParentBackground(control, canvas, {control->Left(), control->Top()}, rect);
}

void EraseParentBackground(TControl* control, TCanvas* canvas, TPoint offset, const TRect& rect) {
  TWinControl* parent = control ? control->Parent() : nullptr;
  if (!parent || !canvas) return;
  const Integer saved = canvas->SaveDC();
  TPoint origin;
  GetWindowOrgEx(canvas, &origin);
  if (rect != kNoEraseRect) {
    TRegion only(rect);
    canvas->SelectClipRegion(&only);
  }
  // A graphic control's canvas already starts at the control's place in
  // the parent's buffer, and a windowed control's at its own corner: both
  // reach parent coordinates by moving the origin by the offset.
  if (offset != TPoint{}) OffsetWindowOrgEx(canvas, offset.X, offset.Y, nullptr);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
  SetWindowOrgEx(canvas, origin.X, origin.Y, nullptr);
  canvas->RestoreDC(saved);
}

}  // namespace support
