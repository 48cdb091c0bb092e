// The toolbar's lightweight controls: behaviour (see RorIvezEviButtons.h);
// painting and sizing are in RorIvezEviButtonPaint.cpp.
#include "ribbon/RorIvezEviButtons.h"

#include <algorithm>

#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviDraw.h"
#include "rtl/Exceptions.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbon {

// --- TLumCustomToolBarControl ---

TLumCustomToolBarControl::TLumCustomToolBarControl(vcl::TComponent* AOwner) : vcl::TGraphicControl(AOwner) {}

void TLumCustomToolBarControl::AttachToolBar(TLumCustomToolBar* Bar) {
  if (Bar == rorIvezEvi_) return;
  if (rorIvezEvi_) rorIvezEvi_->RemoveFreeNotification(this);
  rorIvezEvi_ = Bar;
  if (Bar) Bar->FreeNotification(this);
}

void TLumCustomToolBarControl::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TGraphicControl::Notification(AComponent, Operation);
  if (Operation == vcl::opRemove && AComponent == rorIvezEvi_) rorIvezEvi_ = nullptr;
}

void TLumCustomToolBarControl::SetRorIvezEvi(TLumCustomToolBar* Bar) {
  if (Bar == rorIvezEvi_) return;
  if (rorIvezEvi_) rorIvezEvi_->RemoveToolBarControl(this);
  AttachToolBar(nullptr);
  if (Bar) {
    SetParent(Bar);
    if (!rorIvezEvi_) Bar->AddToolBarControl(this);
    if (!rorIvezEvi_) throw rtl::Exception("RorIvezEvi not set");
  }
}

void TLumCustomToolBarControl::SetPosition(TDockAlign Value) { position_ = Value; }

void TLumCustomToolBarControl::SetAutoSize(bool Value) {
  if (autoSize_ == Value) return;
  autoSize_ = Value;
  if (Value) AdjustSize();
}

// --- TRorIvezEviButtonDrawPosition ---

void TRorIvezEviButtonDrawPosition::Assign(const vcl::TPersistent* Source) {
  const auto* s = dynamic_cast<const TRorIvezEviButtonDrawPosition*>(Source);
  if (!s) return;
  enabled_ = s->enabled_;
  textX_ = s->textX_;
  textY_ = s->textY_;
  imageX_ = s->imageX_;
  imageY_ = s->imageY_;
}

// --- TRorIvezEviButtonActionLink ---

bool TRorIvezEviButtonActionLink::IsCheckedLinked() const {
  auto* a = dynamic_cast<vcl::TCustomAction*>(client_->Action());
  return a && a->Checked() == client_->Down();
}

bool TRorIvezEviButtonActionLink::IsGroupIndexLinked() const {
  auto* a = dynamic_cast<vcl::TCustomAction*>(client_ ? client_->Action() : nullptr);
  return a && a->GroupIndex() == client_->GroupIndex();
}

void TRorIvezEviButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) client_->SetDown(Value);
}

void TRorIvezEviButtonActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) client_->SetGroupIndex(Value);
}

// --- TLumCustomToolBarButton ---

TLumCustomToolBarButton::TLumCustomToolBarButton(vcl::TComponent* AOwner) : TLumCustomToolBarControl(AOwner) {
  SetBounds(Left(), Top(), 23, 22);
  SetControlStyle(vcl::TControlStyle{vcl::csCaptureMouse, vcl::csDoubleClicks});
  SetParentFont(true);
  autoSize_ = true;
  Font()->SetName("Tahoma");
  appearance_.OnChange = [this](vcl::TObject*) { Invalidate(); };
  drawPosition_.OnChange = [this](vcl::TObject*) { Invalidate(); };
  picture_.OnChange = [this](vcl::TObject*) {
    AdjustSize();
    Invalidate();
  };
  hoverTimer_ = new vcl::TTimer(this);
  hoverTimer_->SetInterval(1);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->OnTimer = [this](vcl::TObject* s) { HoverTick(s); };
}

TLumCustomToolBarButton::~TLumCustomToolBarButton() {
  hoverTimer_->SetEnabled(false);
  if (rorIvezEvi_) rorIvezEvi_->ButtonHotChanged(this, false);
}

void TLumCustomToolBarButton::Changed() {
  AdjustSize();
  Invalidate();
}

void TLumCustomToolBarButton::SetGlyph(vcl::TBitmap* Value) {
  glyph_.Assign(Value);
  if (glyphDisabled_.Empty() && !glyph_.Empty()) {
    glyphDisabled_.Assign(&glyph_);
    glyphDisabled_.SetPixelFormat(vcl::TPixelFormat::pf24bit);
    vcl::TCanvas* c = glyphDisabled_.Canvas();
    for (int y = 0; y < glyphDisabled_.Height(); ++y)
      for (int x = 0; x < glyphDisabled_.Width(); ++x) {
        const vcl::TColor p = c->Pixels(x, y);
        const int grey = (vcl::GetRValue(p) + vcl::GetGValue(p) + vcl::GetBValue(p)) / 3 / 2 + 96;
        c->SetPixels(x, y, vcl::RGB(grey, grey, grey));
      }
  }
  Changed();
}

void TLumCustomToolBarButton::SetPicture(vcl::TPicture* Value) {
  picture_.Assign(Value);
  Invalidate();
}

void TLumCustomToolBarButton::SetImageIndex(int Value) {
  if (imageIndex_ == Value) return;
  imageIndex_ = Value;
  if (shaded_) UpdateShade();
  Changed();
}

void TLumCustomToolBarButton::SetShowCaption(bool Value) {
  showCaption_ = Value;
  Changed();
}

void TLumCustomToolBarButton::SetGlyphPosition(TGlyphPosition Value) {
  if (glyphPosition_ == Value) return;
  glyphPosition_ = Value;
  Changed();
}

void TLumCustomToolBarButton::SetShaded(bool Value) {
  shaded_ = Value;
  if (Value && !Loading()) UpdateShade();
}

void TLumCustomToolBarButton::SetParentStyler(bool Value) {
  if (parentStyler_ == Value) return;
  parentStyler_ = Value;
  Invalidate();
}

void TLumCustomToolBarButton::SetDropDownButton(bool Value) {
  if (dropDownButton_ == Value) return;
  dropDownButton_ = Value;
  Changed();
}

void TLumCustomToolBarButton::SetDropDownSplit(bool Value) {
  if (dropDownSplit_ == Value) return;
  dropDownSplit_ = Value;
  Invalidate();
}

void TLumCustomToolBarButton::SetDropDownMenu(controls::TLumPopupMenu* Value) {
  if (dropDownMenu_ == Value) return;
  if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
  dropDownMenu_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TLumCustomToolBarButton::SetPosition(TDockAlign Value) {
  if (position_ == Value) return;
  position_ = Value;
  Changed();
}

void TLumCustomToolBarButton::SetMenuItem(vcl::TMenuItem* Item) {
  if (Item) {
    if (Item != menuItem_) Item->FreeNotification(this);
    SetAction(Item->Action());
    SetCaption(Item->Caption());
    SetDown(Item->Checked());
    SetEnabled(Item->Enabled());
    SetHint(Item->Hint());
    SetImageIndex(Item->ImageIndex());
    SetVisible(Item->Visible());
  }
  menuItem_ = Item;
}

void TLumCustomToolBarButton::SetGroupIndex(int Value) {
  if (groupIndex_ == Value) return;
  groupIndex_ = Value;
  UpdateExclusive();
}

void TLumCustomToolBarButton::SetDown(bool Value) {
  if (Loading()) loadedDown_ = Value;
  if (groupIndex_ == 0) Value = false;
  if (Value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = Value;
  if (Value) {
    if (state_ == tbsUp) Invalidate();
    state_ = tbsExclusive;
    UpdateExclusive();
  } else {
    state_ = tbsUp;
    Repaint();
  }
}

void TLumCustomToolBarButton::SetHot(bool Value) {
  hot_ = Value && state_ == tbsUp && rorIvezEvi_ != nullptr;
  if (rorIvezEvi_) rorIvezEvi_->ButtonHotChanged(this, hot_);
  Invalidate();
}

void TLumCustomToolBarButton::SetParent(vcl::TWinControl* AParent) {
  TLumCustomToolBarControl::SetParent(AParent);
  if (auto* container = dynamic_cast<TRorIvezEviContainer*>(AParent)) AttachToolBar(container->RorIvezEvi());
}

void TLumCustomToolBarButton::SetAutoSize(bool Value) { TLumCustomToolBarControl::SetAutoSize(Value); }

void TLumCustomToolBarButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  vcl::TMessage m{vcl::CM_BUTTONPRESSED, static_cast<vcl::WPARAM>(groupIndex_), reinterpret_cast<vcl::LPARAM>(this),
                  0};
  vcl::TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    m.Result = 0;
    parent->Controls(i)->WindowProc(m);
  }
  // A button shown outside its toolbar (in the option window) still
  // reaches its group there.
  if (rorIvezEvi_ && parent != rorIvezEvi_)
    for (int i = 0; i < rorIvezEvi_->ControlCount(); ++i) {
      m.Result = 0;
      rorIvezEvi_->Controls(i)->WindowProc(m);
    }
}

void TLumCustomToolBarButton::ButtonPressed(int Group, TLumCustomToolBarButton* Sender) {
  if (Group != groupIndex_ || Sender == this || !Sender) return;
  if (Sender->Down() && down_) {
    down_ = false;
    state_ = tbsUp;
    if (auto* a = dynamic_cast<vcl::TCustomAction*>(Action())) a->SetChecked(false);
    Invalidate();
  }
  allowAllUp_ = Sender->AllowAllUp();
}

bool TLumCustomToolBarButton::InsideForRelease(int X, int Y) const {
  // The bottom row counts one pixel further down than the right column.
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TLumCustomToolBarButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  TLumCustomToolBarControl::MouseDown(Button, Shift, X, Y);
  if (Button != vcl::mbLeft || !Enabled() || ComponentState().Contains(vcl::csDesigning)) return;
  mouseIsDown_ = true;
  const bool inArrowZone = Horizontal() ? X > Width() - 14 : Y > Height() - 14;
  if (!dropDownButton_ && IsMenuButton() && (dropDownMenu_ || menuItem_)) {
    Repaint();
    const bool barMenu = rorIvezEvi_ && rorIvezEvi_->MenuShowing();
    if (KeyboardPressed || (!barMenu && !MenuShowing && !MenuClosedUnderCursor)) {
      KeyboardPressed = false;
      state_ = tbsMenuDropped;
      Repaint();
      CheckMenuDropdown();
    } else {
      MenuClosedUnderCursor = false;
    }
    return;
  }
  if (!dropDownButton_ || (!inArrowZone && dropDownSplit_)) {
    if (!down_) {
      state_ = tbsDown;
      Repaint();
    }
    dragging_ = true;
    return;
  }
  state_ = tbsUp;
  mouseInControl_ = false;
  mouseIsDown_ = false;
  DoDropDown();
  if (dropDownMenu_) {
    down_ = false;
    droppedDown_ = true;
    Repaint();
    TCustomRorIvezEviStyler* styler = KnownStyler();
    if (styler) dropDownMenu_->SetMenuStyler(styler->CurrentMenuStyler());
    const vcl::TPoint at = ClientToScreen(vcl::TPoint{0, Height()});
    dropDownMenu_->Popup(at.X, at.Y);
    droppedDown_ = false;
    Repaint();
  }
  Repaint();
}

void TLumCustomToolBarButton::MouseMove(vcl::TShiftState Shift, int X, int Y) {
  TLumCustomToolBarControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  if (dragging_) {
    TRorIvezEviButtonState s = down_ ? tbsExclusive : tbsUp;
    if (InsideForRelease(X, Y)) s = down_ ? tbsExclusive : tbsDown;
    if (s != state_) {
      state_ = s;
      Invalidate();
    }
  } else if (!mouseInControl_) {
    UpdateTracking();
  }
}

void TLumCustomToolBarButton::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  TLumCustomToolBarControl::MouseUp(Button, Shift, X, Y);
  MenuClosedUnderCursor = false;
  MenuShowing = false;
  if (ComponentState().Contains(vcl::csDesigning)) return;
  mouseIsDown_ = false;
  Invalidate();
  const bool menuPath = !dropDownButton_ && IsMenuButton() && (dropDownMenu_ || menuItem_);
  if (menuPath || !dragging_) return;
  dragging_ = false;
  const bool inside = InsideForRelease(X, Y);
  if (groupIndex_ != 0) {
    if (inside) {
      SetDown(!down_);
      if (down_) Invalidate();
    } else if (down_) {
      state_ = tbsExclusive;
    }
    Invalidate();
  } else {
    state_ = tbsUp;
    mouseInControl_ = false;
    if (inside) Invalidate();
  }
  if (inside) Click();
  UpdateTracking();
}

void TLumCustomToolBarButton::Click() {
  if (rorIvezEvi_ && rorIvezEvi_->OptionWindowVisible()) rorIvezEvi_->HideOptionWindow();
  TLumCustomToolBarControl::Click();
  if (rorIvezEvi_) {
    rorIvezEvi_->ControlUsed(this);
    rorIvezEvi_->PositionControls(true);
    rorIvezEvi_->UpdateOverflow();
  }
}

void TLumCustomToolBarButton::ActionChange(vcl::TBasicAction* Sender) {
  TLumCustomToolBarControl::ActionChange(Sender);
  if (auto* a = dynamic_cast<vcl::TCustomAction*>(Sender)) {
    if (groupIndex_ == 0) groupIndex_ = a->GroupIndex();
    SetImageIndex(a->ImageIndex());
    if (a->GroupIndex() == groupIndex_ && groupIndex_ != 0 && a->Checked() != down_) SetDown(a->Checked());
  }
}

bool TLumCustomToolBarButton::CheckMenuDropdown() {
  if (ComponentState().Contains(vcl::csDesigning)) return false;
  if (!((dropDownMenu_ && dropDownMenu_->AutoPopup()) || menuItem_)) return false;
  return rorIvezEvi_ && rorIvezEvi_->TrackButtonMenu(this);
}

void TLumCustomToolBarButton::DoDropDown() {
  Repaint();
  if (OnDropDown) OnDropDown(this);
}

void TLumCustomToolBarButton::MouseEnter() {
  if (ComponentState().Contains(vcl::csDesigning)) return;
  mouseInControl_ = true;
  if (Enabled()) {
    if (rorIvezEvi_) SetHot(true);
    Invalidate();
  }
  hoverTimer_->SetEnabled(true);
}

// The class library fires OnMouseEnter and OnMouseLeave with the
// messages; the hover timer's leave runs without them.
void TLumCustomToolBarButton::MouseLeave(bool) {
  if (ComponentState().Contains(vcl::csDesigning)) return;
  hoverTimer_->SetEnabled(false);
  mouseInControl_ = false;
  if (!(rorIvezEvi_ && rorIvezEvi_->MenuTracking())) SetHot(false);
  if (Enabled()) Invalidate();
}

void TLumCustomToolBarButton::HoverTick(vcl::TObject*) {
  const vcl::TPoint p = ScreenToClient(vcl::GetCursorPos());
  const bool inside = p.X >= 0 && p.Y >= 0 && p.X < ClientWidth() && p.Y < ClientHeight();
  if (inside && !(IsMenuButton() && dropDownButton_ && MenuShowing)) return;
  if (inside) return;
  MouseLeave(false);
}

void TLumCustomToolBarButton::UpdateTracking() {
  if (!Enabled()) return;
  vcl::TPoint p = vcl::GetCursorPos();
  bool over = false;
  if (Parent()) {
    const vcl::TPoint local = Parent()->ScreenToClient(p);
    over = Parent()->ControlAtPos(local, false) == this;
  }
  // The flag is set to the opposite so the message that follows sets it
  // right.
  mouseInControl_ = !over;
  if (over)
    Perform(vcl::CM_MOUSEENTER);
  else
    Perform(vcl::CM_MOUSELEAVE);
}

void TLumCustomToolBarButton::Loaded() {
  TLumCustomToolBarControl::Loaded();
  if (loadedDown_ != down_) {
    const bool v = loadedDown_;
    loadedDown_ = !v;
    SetDown(v);
  }
  if (shaded_) UpdateShade();
  AdjustSize();
}

void TLumCustomToolBarButton::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TLumCustomToolBarControl::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove || Destroying()) return;
  if (AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
  if (AComponent == menuItem_) SetMenuItem(nullptr);
  if (rorIvezEvi_ && AComponent == rorIvezEvi_->Images()) imageIndex_ = -1;
}

void TLumCustomToolBarButton::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::CM_MOUSEENTER:
      TLumCustomToolBarControl::Dispatch(Message);
      MouseEnter();
      return;
    case vcl::CM_MOUSELEAVE:
      TLumCustomToolBarControl::Dispatch(Message);
      MouseLeave(true);
      return;
    case vcl::CM_TEXTCHANGED:
      TLumCustomToolBarControl::Dispatch(Message);
      Changed();
      return;
    case vcl::CM_BUTTONPRESSED:
      ButtonPressed(static_cast<int>(Message.WParam), reinterpret_cast<TLumCustomToolBarButton*>(Message.LParam));
      return;
    default:
      TLumCustomToolBarControl::Dispatch(Message);
  }
}

void TLumCustomToolBarButton::UpdateShade() {
  int index = -1;
  vcl::TImageList* list = ImageSource(index);
  vcl::TBitmap source;
  if (list) {
    source.SetSize(list->Width(), list->Height());
    source.Canvas()->Brush()->SetColor(0xFF00FF);
    source.Canvas()->FillRect(vcl::TRect{0, 0, list->Width(), list->Height()});
    list->Draw(source.Canvas(), 0, 0, index, true);
    shadeFromList_ = true;
  } else {
    if (glyph_.Empty()) return;
    source.Assign(&glyph_);
    shadeFromList_ = false;
  }
  const int w = source.Width(), h = source.Height();
  shade_.SetSize(w, h);
  const vcl::TColor key = source.Canvas()->Pixels(0, h - 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      shade_.Canvas()->SetPixels(x, y, source.Canvas()->Pixels(x, y) != key ? vcl::TColor(0x808080) : key);
  shade_.SetTransparentColor(key);
  shade_.SetTransparent(true);
}

// --- TRorIvezEviMenuButton ---

TRorIvezEviMenuButton::TRorIvezEviMenuButton(vcl::TComponent* AOwner) : TLumCustomToolBarButton(AOwner) {
  SetParentStyler(true);
}

// --- TRorIvezEviSeparator ---

TRorIvezEviSeparator::TRorIvezEviSeparator(vcl::TComponent* AOwner) : TLumCustomToolBarControl(AOwner) {
  autoSize_ = true;
  SetBounds(Left(), Top(), 10, 22);
}

void TRorIvezEviSeparator::Assign(const vcl::TPersistent* Source) {
  if (const auto* s = dynamic_cast<const TRorIvezEviSeparator*>(Source)) {
    SetSeparatorStyle(s->separatorStyle_);
    SetLineColor(s->lineColor_);
    return;
  }
  TLumCustomToolBarControl::Assign(Source);
}

void TRorIvezEviSeparator::SetSeparatorStyle(TLumSeparatorStyle Value) {
  if (separatorStyle_ == Value) return;
  separatorStyle_ = Value;
  Invalidate();
}

void TRorIvezEviSeparator::SetLineColor(vcl::TColor Value) {
  if (lineColor_ == Value) return;
  lineColor_ = Value;
  Invalidate();
}

void TRorIvezEviSeparator::AdjustSize() {
  if (!autoSize_) return;
  if (Horizontal())
    SetBounds(Left(), Top(), 10, rorIvezEvi_ ? rorIvezEvi_->Height() - 4 : Height());
  else
    SetBounds(Left(), Top(), rorIvezEvi_ ? rorIvezEvi_->Width() - 4 : Width(), 10);
}

void TRorIvezEviSeparator::Paint() {
  if (separatorStyle_ == ssBlank) return;
  vcl::TCanvas* c = Canvas();
  const vcl::TRect r = ClientRect();
  auto line = [c](vcl::TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  if (Horizontal()) {
    const int x = r.Left + r.Width() / 2;
    line(lineColor_, x, r.Top + 3, x, r.Bottom - 3);
    line(vcl::clWhite, x + 1, r.Top + 4, x + 1, r.Bottom - 2);
  } else {
    const int y = r.Top + r.Height() / 2;
    line(lineColor_, r.Left + 3, y, r.Right - 3, y);
    line(vcl::clWhite, r.Left + 4, y + 1, r.Right - 2, y + 1);
  }
}

}  // namespace ribbon
