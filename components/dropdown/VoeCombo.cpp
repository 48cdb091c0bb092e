#include "dropdown/VoeCombo.h"

#include "dropdown/VoeComboImpl.h"
#include "dropdown/VoeTheme.h"
#include "rtl/Format.h"
#include "vcl/Gdi.h"

namespace dropdown {

bool HasComCtl6() {
  // The platform's native controls are the new-style ones.
  return true;
}

template class TFlatCombo<TCustomComboBox>;

TVOECustomCombo::TVOECustomCombo(TComponent* owner) : TFlatCombo<TCustomComboBox>(owner) {}

AnsiString TVOECustomCombo::Version() const {
  Cardinal v = GetVersionNumber();
  return rtl::Format("%d.%d.%d.%d", {Integer(v >> 24), Integer((v >> 16) & 0xFF), Integer((v >> 8) & 0xFF),
                                      Integer(v & 0xFF)});
}

void TVOECustomCombo::SetXPLook(bool v) {
  xpLook_ = v;
  Invalidate();
}

void TVOECustomCombo::SetNativeLook(bool v) {
  nativeLook_ = v;
  Invalidate();
}


void TVOECustomCombo::PaintFlatBorder(TCanvas* c) {
  TRect r = Rect(0, 0, Width(), Height());
  TColor frame = ShowsFocusBorder() ? clBtnFace : ParentColorOf(this);
  if (ShowsFocusBorder()) {
    c->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FrameWith(c, r, frame);
    InflateRect(r, -1, -1);
    FrameWith(c, r, Color());
  } else {
    FrameWith(c, r, frame);
    if (!(xpLook_ && HasComCtl6())) {
      InflateRect(r, -1, -1);
      FrameWith(c, r, frame);
    }
  }
}

void TVOECustomCombo::PaintButtonEdge(TCanvas* c) {
  if (xpLook_) return;
  Integer cw = ClientWidth(), ch = ClientHeight();
  c->ExcludeClipRect(Rect(cw - buttonWidth_ + 4, 4, cw - 4, ch - 4));
  TRect r = Rect(cw - buttonWidth_ - 4, 0, Width(), Height());
  InflateRect(r, -2, -2);
  r.Bottom += 2;
  r.Right += 1;
  TRect e = r;
  c->DrawEdge(e, etched_ ? EDGE_ETCHED : EDGE_RAISED, BF_RECT);
  c->ExcludeClipRect(r);
}

void TVOECustomCombo::PaintDropButton(TCanvas* c) {
  Integer cw = ClientWidth(), ch = ClientHeight();
  TRect r = Rect(cw - buttonWidth_, 0, Width(), Height());
  if (xpLook_) {
    TRect t = r;
    InflateRect(t, -1, -1);
    bool pressed = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
    if (DrawThemePart(this, c, ThemeClass::ComboBox, 1, pressed ? 3 : 1, t)) return;
  }
  r.Top += 1;
  r.Bottom -= 1;
  OffsetRect(r, -2, 1);
  c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
  c->ExcludeClipRect(Rect(cw - buttonWidth_ - 4, 0, cw + 2, ch));
}

}  // namespace dropdown
