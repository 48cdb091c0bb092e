#include "dropdown/LumDropDownButtons.h"

#include <algorithm>

#include "controls/LumStyleIF.h"  // IsWindowsVistaOrLater
#include "dropdown/VoeCombo.h"      // HasComCtl6
#include "dropdown/VoeTheme.h"
#include "vcl/Gdi.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

// ------------------------------------------------------------- appearance

TLumButtonAppearance::TLumButtonAppearance() : font_(std::make_unique<TFont>()) { font_->SetName("Tahoma"); }

TLumButtonAppearance::~TLumButtonAppearance() = default;

void TLumButtonAppearance::SetColor(TColor& field, TColor v) {
  if (field == v) return;
  field = v;
  Changed();
}

void TLumButtonAppearance::SetGradient(TGradientDirection v) {
  if (gradient_ == v) return;
  gradient_ = v;
  Changed();
}

void TLumButtonAppearance::SetFont(const TFont* font) {
  font_->Assign(font);
  Changed();
}

void TLumButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TLumButtonAppearance::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TLumButtonAppearance*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  Color_ = other->Color_;
  ColorTo_ = other->ColorTo_;
  BorderColor_ = other->BorderColor_;
  ColorHot_ = other->ColorHot_;
  ColorHotTo_ = other->ColorHotTo_;
  BorderColorHot_ = other->BorderColorHot_;
  ColorDown_ = other->ColorDown_;
  ColorDownTo_ = other->ColorDownTo_;
  BorderColorDown_ = other->BorderColorDown_;
  ColorDisabled_ = other->ColorDisabled_;
  ColorDisabledTo_ = other->ColorDisabledTo_;
  BorderColorDisabled_ = other->BorderColorDisabled_;
  gradient_ = other->gradient_;
  Changed();
}

// ----------------------------------------------------------------- button

TLumButton::TLumButton(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 23, 22);
  controlStyle_.Include(csCaptureMouse).Include(csClickEvents).Include(csDoubleClicks);
  SetParentFont(true);
  Font()->SetName("Tahoma");
  SetShowHint(false);
  leaveTimer_ = new TTimer(this);
  leaveTimer_->SetEnabled(false);
  leaveTimer_->SetInterval(1);
  leaveTimer_->OnTimer = [this](TObject*) { LeaveTimerTick(); };
}

TLumButton::~TLumButton() { SetImages(nullptr); }

void TLumButton::SetAppearance(TLumButtonAppearance* appearance) {
  appearance_ = appearance;
  Invalidate();
}

void TLumButton::SetImages(TImageList* images) {
  if (images_ == images) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images_) images_->FreeNotification(this);
  Invalidate();
}

void TLumButton::SetImageIndex(Integer v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  Invalidate();
}

void TLumButton::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

void TLumButton::AutoSizeToContent() {
  if (!appearance_) return;
  // Measured on a bitmap of our own: the button may have no window yet.
  TBitmap probe(1, 1);
  TCanvas* c = probe.Canvas();
  c->Font()->Assign(appearance_->Font());
  TSize size = GetTextSize(c, Caption());
  Integer w = size.cx, h = size.cy;
  if (images_ && imageIndex_ >= 0) {
    w = std::max(w, images_->Width());
    h = std::max(h, images_->Height());
  }
  SetHeight(h + 4);
  SetWidth(w + 8);
}

void TLumButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  const TModalResult r = modalResult_;
  if (ownerDropDown_ && ((r >= mrOk && r <= mrAbort) || (r >= mrIgnore && r <= mrYesToAll))) {
    ownerDropDown_->HideDropDown(r == mrCancel || r == mrAbort || r == mrIgnore || r == mrNo || r == mrNoToAll);
  }
  if (!clickFromKeyboard_) TCustomControl::Click();
}

void TLumButton::SetMouseInControl(bool v) {
  if (mouseInControl_ == v) return;
  mouseInControl_ = v;
  if (Enabled()) Invalidate();
}

void TLumButton::LeaveTimerTick() {
  // A leave the window system never reported still ends the hot look.
  TPoint p = ScreenToClient(GetCursorPos());
  TRect r = ClientRect();
  if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom) return;
  leaveTimer_->SetEnabled(false);
  SetMouseInControl(false);
}

void TLumButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      if (!ComponentState().Contains(csDesigning)) {
        mouseInControl_ = true;
        if (Enabled()) Invalidate();
        leaveTimer_->SetEnabled(true);
      }
      break;
    case CM_MOUSELEAVE:
      leaveTimer_->SetEnabled(false);
      SetMouseInControl(false);
      break;
    case CM_ENABLEDCHANGED:
    case CM_FOCUSCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case WM_ERASEBKGND:
      m.Result = 1;
      break;
    case CM_DIALOGCHAR:
      if (Enabled() && IsAccel(static_cast<Word>(m.WParam), Caption())) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_RETURN || m.WParam == VK_SPACE) {
        // The pressed look, then a click that closes by the modal result
        // without firing OnClick.
        pressed_ = pressedOver_ = true;
        Repaint();
        clickFromKeyboard_ = true;
        Click();
        clickFromKeyboard_ = false;
        pressed_ = pressedOver_ = false;
        Invalidate();
      }
      break;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TLumButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && Enabled() && !ComponentState().Contains(csDesigning)) {
    pressed_ = pressedOver_ = true;
    Invalidate();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TLumButton::MouseMove(TShiftState shift, Integer x, Integer y) {
  TRect r = ClientRect();
  bool over = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
  if (pressed_ && over != pressedOver_) {
    pressedOver_ = over;
    Invalidate();
  }
  if (!mouseInControl_ && !shift.Contains(ssLeft)) Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
  TCustomControl::MouseMove(shift, x, y);
}

void TLumButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && pressed_) {
    pressed_ = pressedOver_ = false;
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TLumButton::Paint() {
  // The parent's background shows through where the face leaves it.
  if (Parent() && HandleAllocated()) DrawThemeParentBackground(Handle(), Canvas(), nullptr);
  DrawButton();
}

void TLumButton::DrawButton() {
  if (!appearance_) return;
  const TLumButtonAppearance& a = *appearance_;
  TColor from, to, border;
  if (!Enabled()) {
    from = a.ColorDisabled(), to = a.ColorDisabledTo(), border = a.BorderColorDisabled();
  } else if (pressed_ && pressedOver_) {
    from = a.ColorDown(), to = a.ColorDownTo(), border = a.BorderColorDown();
  } else if (mouseInControl_ || Focused()) {
    from = a.ColorHot(), to = a.ColorHotTo(), border = a.BorderColorHot();
  } else {
    from = a.Color(), to = a.ColorTo(), border = a.BorderColor();
  }
  TCanvas* c = Canvas();
  DrawBackground(c, ClientRect(), from, to, border, 1, a.Gradient());
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(a.Font());
  DrawImageText(c, ClientRect(), Caption(), images_, imageIndex_);
}

// ------------------------------------------------------------ arrow button

TLumDropDownSpeedButton::TLumDropDownSpeedButton(TComponent* owner) : TSpeedButton(owner) {
  themedLook_ = HasComCtl6();
}

void TLumDropDownSpeedButton::SetButtonStyle(TDropButtonStyle v) {
  if (buttonStyle_ == v) return;
  buttonStyle_ = v;
  Invalidate();
}

void TLumDropDownSpeedButton::SetEtched(bool v) {
  if (etched_ == v) return;
  etched_ = v;
  Invalidate();
}

void TLumDropDownSpeedButton::SetFocused(bool v) {
  if (focused_ == v) return;
  focused_ = v;
  Invalidate();
}

void TLumDropDownSpeedButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    hot_ = m.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TSpeedButton::Dispatch(m);
}

bool TLumDropDownSpeedButton::DropDownUsable() const {
  TComponent* container = Owner();
  TComponent* dropDown = container ? container->Owner() : nullptr;
  if (auto* edit = dynamic_cast<TCustomEdit*>(dropDown)) return edit->Enabled() && !edit->ReadOnly();
  if (auto* control = dynamic_cast<TControl*>(dropDown)) return control->Enabled();
  if (auto* control = dynamic_cast<TControl*>(container)) return control->Enabled();
  return true;
}

void TLumDropDownSpeedButton::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  const bool pressed = state_ == bsDown || state_ == bsExclusive;
  if (buttonStyle_ == TDropButtonStyle::bsButton) {
    if (!(themedLook_ && DrawThemePart(Parent(), c, ThemeClass::Button, 1, pressed ? 3 : hot_ ? 2 : 1, client))) {
      TSpeedButton::Paint();
      return;
    }
    DrawGlyphAndCaption(c, client);
    return;
  }
  const bool usable = DropDownUsable();
  if (Enabled() != usable) SetEnabled(usable);
  if (themedLook_) {
    TRect r = client;
    if (controls::IsWindowsVistaOrLater()) {
      r.Left += 1;
    } else {
      InflateRect(r, 1, 1);
      r.Left += 2;
    }
    const Integer state = !usable ? 4 : pressed ? 3 : hot_ ? 2 : 1;
    if (DrawThemePart(Parent(), c, ThemeClass::ComboBox, 1, state, r)) return;
  }
  TSpeedButton::Paint();
  // The combo box's arrow: seven pixels wide, four high, centred; greyed
  // with a white shadow while unusable.
  Integer x = (client.Width() - 7) / 2, y = (client.Height() - 4) / 2;
  if (pressed) ++x, ++y;
  auto arrow = [&](Integer ax, Integer ay, TColor color) {
    c->Pen()->SetColor(color);
    c->Pen()->SetWidth(1);
    for (Integer row = 0; row < 4; ++row) {
      c->MoveTo(ax + row, ay + row);
      c->LineTo(ax + 7 - row, ay + row);
    }
  };
  if (usable) {
    arrow(x, y, clBlack);
  } else {
    arrow(x + 1, y + 1, clBtnHighlight);
    arrow(x, y, clGrayText);
  }
  const Integer w = client.Width(), h = client.Height();
  c->Pen()->SetColor(clBtnFace);
  c->MoveTo(w - 2, 0);
  c->LineTo(0, 0);
  c->LineTo(0, h - 1);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(w - 3, 1);
  c->LineTo(1, 1);
  c->LineTo(1, h - 2);
}

// --------------------------------------------------------------- container

TDropDownEditButton::TDropDownEditButton(TComponent* owner) : TWinControl(owner) {
  controlStyle_.Exclude(csAcceptsControls).Exclude(csSetCaption).Include(csOpaque);
  SetTabStop(false);
  button_ = new TLumDropDownSpeedButton(this);
  button_->SetVisible(true);
  button_->SetEnabled(Enabled());
  button_->SetParent(this);
  button_->SetCaption("");
  button_->SetButtonStyle(TDropButtonStyle::bsDropDown);
  button_->SetGlyph(nullptr);
  button_->OnClick = [](TObject*) {};
  button_->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, Integer, Integer) {
    if (b == mbLeft && OnClick) OnClick(this);
  };
  SetBounds(0, 0, 16, 25);
}

void TDropDownEditButton::SetButtonWidth(Integer v) {
  if (buttonWidth_ == v) return;
  buttonWidth_ = v;
  SetBounds(Left(), Top(), v, Height());
}

void TDropDownEditButton::SetFocusControl(TWinControl* control) {
  if (focusControl_ == control) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TDropDownEditButton::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TDropDownEditButton::FitButton() {
  if (Loading() || !button_) return;
  button_->SetBounds(0, 0, buttonWidth_, Height());
}

void TDropDownEditButton::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  (void)width;  // always the button's width
  TWinControl::SetBounds(left, top, buttonWidth_, height);
  FitButton();
}

void TDropDownEditButton::Loaded() {
  TWinControl::Loaded();
  SetBounds(Left(), Top(), buttonWidth_, Height());
}

void TDropDownEditButton::Dispatch(TMessage& m) {
  TWinControl::Dispatch(m);
  if (m.Msg == WM_SIZE) {
    if (Width() != buttonWidth_) SetBounds(Left(), Top(), buttonWidth_, Height());
    FitButton();
    m.Result = 0;
  }
  if (m.Msg == WM_THEMECHANGED) button_->Invalidate();
}

}  // namespace dropdown
