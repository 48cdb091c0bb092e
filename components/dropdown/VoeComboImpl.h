#pragma once
// The member definitions of TFlatCombo, for the sources that instantiate it
// (VoeCombo.cpp for the 8-bit combo, VoeUni.cpp for the wide one).
#include "dropdown/VoeCombo.h"
#include "vcl/Forms.h"
#include "vcl/WinApi.h"

namespace dropdown {

// The colour under a control: its parent's.
inline TColor ParentColorOf(const TControl* c) { return c->Parent() ? c->Parent()->Color() : clBtnFace; }

// A one-pixel frame of r in a colour.
inline void FrameWith(TCanvas* c, const TRect& r, TColor color) {
  c->Brush()->SetColor(color);
  c->Brush()->SetStyle(bsSolid);
  c->FrameRect(r);
}

template <class Base>
TFlatCombo<Base>::TFlatCombo(TComponent* owner)
    : Base(owner),
      buttonWidth_(GetSystemMetrics(SM_CXVSCROLL) + 4),
      savedColor_(this->Color()),
      savedParentColor_(this->ParentColor()) {
  this->SetPaintOverNative(true);
}

template <class Base>
void TFlatCombo<Base>::SetButtonWidth(Integer v) {
  if (v < 14 || v > 32) return;
  buttonWidth_ = v;
  this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  this->SetCtl3D(!v);
  this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetEtched(bool v) {
  if (v == etched_) return;
  etched_ = v;
  this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetFocusBorder(bool v) {
  if (v == focusBorder_) return;
  focusBorder_ = v;
  this->Invalidate();
}

template <class Base>
void TFlatCombo<Base>::SetDropWidth(Integer v) {
  dropWidth_ = v;
  if (v > 0) this->Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(v));
}

template <class Base>
bool TFlatCombo<Base>::IsActiveControl() const {
  return Screen && Screen->ActiveControl() == this;
}

template <class Base>
bool TFlatCombo<Base>::ShowsFocusBorder() const {
  return focusBorder_ && !this->ComponentState().Contains(csDesigning) && (mouseInside_ || IsActiveControl());
}

template <class Base>
bool TFlatCombo<Base>::IsHot() const {
  if (this->ComponentState().Contains(csDesigning)) return this->Enabled();
  return mouseInside_ || IsActiveControl();
}

template <class Base>
void TFlatCombo<Base>::PaintFlatFrame(TCanvas* canvas) {
  PaintFlatBorder(canvas);
  if (this->Style() != csSimple) PaintButtonEdge(canvas);
}

template <class Base>
void TFlatCombo<Base>::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      Base::Dispatch(m);
      if (!PaintsFlat()) return;
      // The native box has painted itself; the button and the frame go
      // over it. The frame is drawn as on a fresh window device context:
      // what the button excluded from clipping does not hold for it.
      TCanvas* c = this->OverlayCanvas();
      Integer saved = c->SaveDC();
      if (this->Style() != csSimple) PaintDropButton(c);
      c->RestoreDC(saved);
      saved = c->SaveDC();
      PaintFlatFrame(c);
      c->RestoreDC(saved);
      return;
    }
    case CM_ENTER:
    case CM_EXIT:
    case WM_NCPAINT:
    case WM_THEMECHANGED:  // the themed drop-down button and the frame follow the theme
      Base::Dispatch(m);
      if (PaintsFlat()) this->Invalidate();
      return;
    case CM_MOUSEENTER:
      Base::Dispatch(m);
      if (!mouseInside_ && this->Enabled()) {
        mouseInside_ = true;
        if (PaintsFlat()) this->Invalidate();
      }
      // Only a control that can take the focus takes it.
      if (autoFocus_ && this->CanFocus() && !this->Focused()) this->SetFocus();
      return;
    case CM_MOUSELEAVE:
      Base::Dispatch(m);
      if (mouseInside_ && this->Enabled()) {
        mouseInside_ = false;
        if (PaintsFlat()) this->Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      if (flat_) {
        if (this->Enabled()) {
          this->SetParentColor(savedParentColor_);
          if (!savedParentColor_) this->SetColor(savedColor_);
        } else {
          savedParentColor_ = this->ParentColor();
          savedColor_ = this->Color();
          this->SetParentColor(true);
        }
      }
      Base::Dispatch(m);
      return;
    case CN_COMMAND: {
      Base::Dispatch(m);
      Word code = HiWord(static_cast<uintptr_t>(m.WParam));
      if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) this->Invalidate();
      return;
    }
    default: Base::Dispatch(m);
  }
}

}  // namespace dropdown
