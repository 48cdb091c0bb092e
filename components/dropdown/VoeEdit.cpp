#include "dropdown/VoeEdit.h"

#include "dropdown/VoeEditImpl.h"
#include "dropdown/VoeTheme.h"
#include "vcl/Gdi.h"
#include "vcl/Menus.h"
#include "vcl/WinApi.h"

namespace dropdown {

// ------------------------------------------------------------ speed button

TLumSpeedButton::TLumSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TLumSpeedButton::SetIsWinXP(bool v) {
  if (v == isWinXP_) return;
  isWinXP_ = v;
  Invalidate();
}

void TLumSpeedButton::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  Invalidate();
}

void TLumSpeedButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    hot_ = m.Msg == CM_MOUSEENTER;
    Invalidate();
  }
  TSpeedButton::Dispatch(m);
}

void TLumSpeedButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  bool pressed = state_ == bsDown || state_ == bsExclusive;
  if (isWinXP_ && DrawThemePart(Parent(), c, ThemeClass::Button, 1, pressed ? 3 : hot_ ? 2 : 1, r)) {
    // the theme drew the face
  } else if (flat_) {
    c->DrawEdge(r, pressed ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    InflateRect(r, -1, -1);
  } else {
    c->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    r = ClientRect();
  }
  TRect whole = ClientRect();
  TSize g = GlyphSize();
  if (g.cx > 0) {
    Integer x = g.cx < whole.Width() ? (whole.Width() - g.cx) / 2 : 0;
    Integer y = g.cy < whole.Height() ? (whole.Height() - g.cy) / 2 : 0;
    if (pressed) ++x, ++y;
    DrawGlyph(c, x, y);
  }
  if (!Caption().empty()) {
    TRect t = whole;
    if (pressed) OffsetRect(t, 1, 1);
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    c->DrawText(Caption(), t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}

// --------------------------------------------------------------- container

TVoeEditButton::TVoeEditButton(TComponent* owner) : TWinControl(owner) {
  controlStyle_.Exclude(csAcceptsControls).Exclude(csSetCaption).Include(csOpaque);
  button_ = new TLumSpeedButton(this);
  button_->SetVisible(true);
  button_->SetEnabled(true);
  button_->SetParent(this);
  button_->SetCaption("");
  // A click of the speed button itself does nothing: the container acts on
  // the release of the left button, wherever it happens.
  button_->OnClick = [](TObject*) {};
  button_->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, Integer, Integer) { ButtonMouseUp(b); };
  button_->SetGlyph(nullptr);
  SetBounds(0, 0, 20, 25);
}

void TVoeEditButton::SetFocusControl(TWinControl* control) {
  if (focusControl_ == control) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
}

void TVoeEditButton::SetFlat(bool v) {
  flat_ = v;
  button_->SetFlat(v);
}

void TVoeEditButton::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TVoeEditButton::FitButton() {
  if (Loading() || !button_) return;
  button_->SetBounds(0, 0, Width(), Height());
}

void TVoeEditButton::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  TWinControl::SetBounds(left, top, width, height);
  FitButton();
}

void TVoeEditButton::Loaded() {
  TWinControl::Loaded();
  FitButton();
}

void TVoeEditButton::Dispatch(TMessage& m) {
  TWinControl::Dispatch(m);
  if (m.Msg == WM_SIZE) FitButton();
  // A themed button face changes with the theme.
  if (m.Msg == WM_THEMECHANGED) Invalidate();
}

void TVoeEditButton::ButtonMouseUp(TMouseButton b) {
  if (b != mbLeft) return;
  if (OnClick) OnClick(this);
  if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
    focusControl_->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

// --------------------------------------------------------------- the edits

Integer FontTextHeight(const TFont* font) {
  static TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(font);
  return probe.Canvas()->GetTextMetrics().Height;
}

Integer EditMinimumHeight(const TFont* font) {
  TFont system;
  Integer h = FontTextHeight(font);
  Integer i = std::min(h, FontTextHeight(&system));
  return h + i / 4;
}

template class TEditWithButton<TCustomEdit>;

TVoeEditBtn::TVoeEditBtn(TComponent* owner) : TEditWithButton<TCustomEdit>(owner) { SetText("0"); }

void TVoeEditBtn::SetUnitSpace(Integer v) {
  unitSpace_ = v;
  UpdateEditRect();
  Invalidate();
}

void TVoeEditBtn::UpdateEditRect() {
  Integer edge = BorderStyle() == bsNone ? 3 : 1;
  Integer right = ClientWidth() - ButtonWidth() - unitSpace_ - 5;
  if (unitSpace_ > 0) right -= 3;
  TRect r = Rect(edge, edge, right, ClientHeight() + 1);
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

bool TVoeEditBtn::F4Clicks() const {
  return GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

TVoeUnitEditBtn::TVoeUnitEditBtn(TComponent* owner)
    : TVoeEditBtn(owner), units_(std::make_unique<rtl::TStringList>()) {
  unitSpace_ = 20;
  SetRightAlign(true);
  SetPaintOverNative(true);
}

TVoeUnitEditBtn::~TVoeUnitEditBtn() = default;

void TVoeUnitEditBtn::SetUnits(const rtl::TStrings* units) {
  if (units) units_->Assign(*units);
}

void TVoeUnitEditBtn::SetUnitID(const AnsiString& v) {
  unitID_ = v;
  Invalidate();
}

void TVoeUnitEditBtn::ClickBtn(TObject*) {
  TVoeEditBtn::ClickBtn(this);
  // A menu of the units, made for this showing and freed after it; an item
  // chosen sends its command number (1 for the first) as WM_COMMAND.
  std::unique_ptr<TPopupMenu> menu(new TPopupMenu(nullptr));
  for (Integer i = 0; i < units_->Count(); ++i) {
    auto* item = new TMenuItem(menu.get());
    item->SetCaption(units_->Get(i));
    Integer command = i + 1;
    item->OnClick = [this, command](TObject*) { Perform(WM_COMMAND, static_cast<WPARAM>(command)); };
    menu->Items()->Add(item);
  }
  TPoint at = ClientToScreen({ClientWidth() - 15, ClientHeight()});
  unitMenu_ = menu.get();
  try {
    menu->Popup(at.X, at.Y);
  } catch (...) {
    unitMenu_ = nullptr;
    throw;
  }
  unitMenu_ = nullptr;
}

void TVoeUnitEditBtn::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND: {
      if (HiWord(static_cast<uintptr_t>(m.WParam)) == 0x300) return;
      Integer n = LoWord(static_cast<uintptr_t>(m.WParam));
      if (n >= 1 && n <= units_->Count()) SetUnitID(units_->Get(n - 1));
      return;
    }
    case WM_PAINT: {
      TVoeEditBtn::Dispatch(m);
      // The unit beside the value, in the field's own colours.
      TCanvas* c = OverlayCanvas();
      c->Font()->Assign(Font());
      c->Font()->SetColor(clWindowText);
      c->Brush()->SetColor(clWindow);
      c->Brush()->SetStyle(bsSolid);
      Integer right = ClientWidth() - (ButtonWidth() + 3);
      TRect r = Rect(right - unitSpace_, 2, right, ClientHeight());
      c->DrawText(unitID_, r, DT_EDITCONTROL);
      return;
    }
    default: TVoeEditBtn::Dispatch(m);
  }
}

}  // namespace dropdown
