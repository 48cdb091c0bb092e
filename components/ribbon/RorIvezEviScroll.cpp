// The page scroll button (see RorIvezEviScroll.h).
#include "ribbon/RorIvezEviScroll.h"

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviFaces.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

namespace ribbon {

TLumPageScrollButton::TLumPageScrollButton(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  // The release clicks by itself (MouseUp); the class library's own click
  // events would click a second time.
  SetControlStyle(vcl::TControlStyle{vcl::csDoubleClicks});
  SetBounds(Left(), Top(), 22, 23);
  SetParentFont(true);
  Font()->SetName("Tahoma");
  SetShowHint(false);
  appearance_.OnChange = [this](vcl::TObject*) { Invalidate(); };
}

void TLumPageScrollButton::SetArrowDirection(int Value) {
  arrowDirection_ = Value;
  Invalidate();
}

void TLumPageScrollButton::Paint() {
  vcl::TCanvas* c = Canvas();
  const controls::TGlowButtonAppearance& a = appearance_;
  TGlowFace f;
  vcl::TColor color = a.Color();
  f.ColorTo = a.ColorTo();
  f.ColorMirror = a.ColorMirror();
  f.ColorMirrorTo = a.ColorMirrorTo();
  f.BorderColor = a.BorderColor();
  f.Gradient = a.Gradient();
  f.GradientMirror = a.GradientMirror();
  if (!Enabled()) {
    color = a.ColorDisabled();
    f.ColorTo = a.ColorDisabledTo();
    f.ColorMirror = a.ColorMirrorDisabled();
    f.ColorMirrorTo = a.ColorMirrorDisabledTo();
    f.BorderColor = a.BorderColorDisabled();
    f.Gradient = a.GradientDisabled();
    f.GradientMirror = a.GradientMirrorDisabled();
  } else if (pressed_) {
    color = a.ColorDown();
    f.ColorTo = a.ColorDownTo();
    f.ColorMirror = a.ColorMirrorDown();
    f.ColorMirrorTo = a.ColorMirrorDownTo();
    f.BorderColor = a.BorderColorDown();
    f.Gradient = a.GradientDown();
    f.GradientMirror = a.GradientMirrorDown();
  } else if (hot_) {
    color = a.ColorHot();
    f.ColorTo = a.ColorHotTo();
    f.ColorMirror = a.ColorMirrorHot();
    f.ColorMirrorTo = a.ColorMirrorHotTo();
    f.BorderColor = a.BorderColorHot();
    f.Gradient = a.GradientHot();
    f.GradientMirror = a.GradientMirrorHot();
  }
  f.Font = Font();
  f.Shaded = hot_;
  f.Enabled = Enabled();
  vcl::TPoint size;
  DrawGlowFace(c, ClientRect(), color, f, size);
  // The arrow in the border colour half darkened.
  const vcl::TColor arrow = MixColors(vcl::clBlack, f.BorderColor, 50);
  const int cx = Width() / 2, cy = Height() / 2;
  auto column = [&](int x, int n) {
    c->Pen()->SetColor(arrow);
    c->MoveTo(x, cy - n / 2);
    c->LineTo(x, cy - n / 2 + n);
  };
  if (arrowDirection_ == 0) {
    column(cx - 1, 1);
    column(cx, 3);
    column(cx + 1, 5);
  } else if (arrowDirection_ == 2) {
    column(cx - 1, 5);
    column(cx, 3);
    column(cx + 1, 1);
  }
  if (cornerStyle_ == 2 || !Parent()) return;
  // Cut corners show what lies behind: the parent's erased background.
  vcl::TBitmap behind(Width(), Height());
  behind.Canvas()->Brush()->SetColor(Parent()->Color());
  behind.Canvas()->FillRect(vcl::TRect{0, 0, Width(), Height()});
  const int w = Width(), h = Height();
  const bool left = cornerStyle_ == 0 || cornerStyle_ == 1, right = cornerStyle_ == 0 || cornerStyle_ == 3;
  if (left) {
    c->SetPixels(0, 0, behind.Canvas()->Pixels(0, 0));
    c->SetPixels(0, h - 1, behind.Canvas()->Pixels(0, h - 1));
  }
  if (right) {
    c->SetPixels(w - 1, 0, behind.Canvas()->Pixels(w - 1, 0));
    c->SetPixels(w - 1, h - 1, behind.Canvas()->Pixels(w - 1, h - 1));
  }
}

void TLumPageScrollButton::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::CM_MOUSEENTER:
      vcl::TCustomControl::Dispatch(Message);
      if (ComponentState().Contains(vcl::csDesigning) || hot_) return;
      hot_ = true;
      if (Enabled()) Invalidate();
      if (OnButtonMouseEnter) OnButtonMouseEnter(this);
      return;
    case vcl::CM_MOUSELEAVE:
      vcl::TCustomControl::Dispatch(Message);
      if (ComponentState().Contains(vcl::csDesigning) || !hot_) return;
      hot_ = false;
      if (Enabled()) Invalidate();
      if (OnButtonMouseLeave) OnButtonMouseLeave(this);
      return;
    case vcl::WM_ERASEBKGND:
      vcl::TCustomControl::Dispatch(Message);
      Message.Result = 1;
      return;
    default:
      vcl::TCustomControl::Dispatch(Message);
  }
}

void TLumPageScrollButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != vcl::mbLeft || !Enabled() || ComponentState().Contains(vcl::csDesigning)) return;
  pressed_ = true;
  Invalidate();
}

void TLumPageScrollButton::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  // The release clicks (the owner's click handler scrolls); the class
  // library's own click is not used.
  vcl::TControl::MouseUp(Button, Shift, X, Y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  Invalidate();
  pressed_ = false;
  if (Enabled() && Button == vcl::mbLeft) Click();
}

}  // namespace ribbon
