#include "vcl/ExtCtrls.h"

#include <algorithm>

#include "rtl/Clock.h"
#include "vcl/Forms.h"

namespace vcl {

// ----------------------------------------------------------------- TTimer

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  InitApplication();
  Restart();
}

TTimer::~TTimer() {
  if (registered_ && Application) Application->RemoveTimer(this);
}

void TTimer::Restart() {
  bool run = enabled_ && interval_ > 0;
  if (run) {
    nextDue_ = rtl::GetTickCount64() + interval_;
    if (!registered_) Application->AddTimer(this);
    registered_ = true;
  } else if (registered_) {
    Application->RemoveTimer(this);
    registered_ = false;
  }
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Restart();
}

void TTimer::SetInterval(Cardinal ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Restart();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Restart();
}

bool TTimer::FireIfDue(uint64_t now) {
  if (!enabled_ || interval_ == 0 || Loading() || now < nextDue_) return false;
  // Like the desktop's timer message, several missed periods fire once.
  nextDue_ = now + interval_;
  if (OnTimer) OnTimer(this);
  return true;
}

// ---------------------------------------------------------------- Frame3D

void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, Integer width) {
  TBrush keep;
  keep.Assign(canvas->Brush());
  canvas->Brush()->SetStyle(bsSolid);
  for (Integer i = 0; i < width && r.Width() > 0 && r.Height() > 0; ++i) {
    canvas->Brush()->SetColor(topColor);
    canvas->FillRect(Rect(r.Left, r.Top, r.Right - 1, r.Top + 1));
    canvas->FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1));
    canvas->Brush()->SetColor(bottomColor);
    canvas->FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    canvas->FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
    InflateRect(r, -1, -1);
  }
  canvas->SetBrush(&keep);
}

// ----------------------------------------------------------------- panels

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  TControl::SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelWidth(Integer v) {
  bevelWidth_ = std::max(1, v);
  Realign();
  Invalidate();
}
void TCustomPanel::SetBorderWidth(Integer v) {
  borderWidth_ = std::max(0, v);
  Realign();
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TCustomPanel::SetVerticalAlignment(TVerticalAlignment v) {
  verticalAlignment_ = v;
  Invalidate();
}
void TCustomPanel::SetShowCaption(bool v) {
  showCaption_ = v;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  Integer inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(rect, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    if (cut == bvSpace)
      Frame3D(c, r, Color(), Color(), bevelWidth_);
    else
      Frame3D(c, r, cut == bvRaised ? light : dark, cut == bvRaised ? dark : light, bevelWidth_);
  };
  bevel(bevelOuter_);
  Frame3D(c, r, Color(), Color(), borderWidth_);
  bevel(bevelInner_);
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  if (showCaption_ && !Caption().empty()) {
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    Cardinal flags = DT_SINGLELINE | DT_VCENTER;
    if (alignment_ == taCenter) flags |= DT_CENTER;
    if (alignment_ == taRightJustify) flags |= DT_RIGHT;
    if (verticalAlignment_ == taAlignTop) flags &= ~DT_VCENTER;
    if (verticalAlignment_ == taAlignBottom) flags = (flags & ~DT_VCENTER) | DT_BOTTOM;
    c->DrawText(Caption(), r, flags);
  }
}

// -------------------------------------------------------------- splitter

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(alLeft);
  TControl::SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
  SetParentColor(true);
}

void TSplitter::UpdateCursor() { SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit); }

TControl* TSplitter::FindControl() const {
  TWinControl* p = Parent();
  if (!p) return nullptr;
  for (Integer i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case alLeft:
        if (c->Left() + c->Width() == Left()) return c;
        break;
      case alRight:
        if (c->Left() == Left() + Width()) return c;
        break;
      case alTop:
        if (c->Top() + c->Height() == Top()) return c;
        break;
      case alBottom:
        if (c->Top() == Top() + Height()) return c;
        break;
      default: break;
    }
  }
  return nullptr;
}

void TSplitter::Paint() {
  UpdateCursor();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->FillRect(ClientRect());
}

void TSplitter::Dispatch(TMessage& m) {
  if (m.Msg == CM_MOUSEENTER) UpdateCursor();
  TGraphicControl::Dispatch(m);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  UpdateCursor();
  control_ = FindControl();
  if (!control_) return;
  dragging_ = true;
  downPos_ = {Left() + x, Top() + y};
  bool horizontal = Align() == alLeft || Align() == alRight;
  startSize_ = horizontal ? control_->Width() : control_->Height();
}

void TSplitter::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_ || !control_ || !Parent()) return;
  TPoint p{Left() + x, Top() + y};
  Integer dx = p.X - downPos_.X, dy = p.Y - downPos_.Y;
  Integer size = startSize_;
  switch (Align()) {
    case alLeft: size += dx; break;
    case alRight: size -= dx; break;
    case alTop: size += dy; break;
    case alBottom: size -= dy; break;
    default: return;
  }
  bool horizontal = Align() == alLeft || Align() == alRight;
  // The client-aligned neighbour keeps at least MinSize too.
  Integer room = 0;
  for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c->Align() == alClient && c->Visible()) room = horizontal ? c->Width() : c->Height();
  }
  Integer current = horizontal ? control_->Width() : control_->Height();
  Integer maxSize = current + room - minSize_;
  size = std::min(size, std::max(minSize_, maxSize));
  size = std::max(size, minSize_);
  bool accept = true;
  if (OnCanResize) OnCanResize(this, size, accept);
  if (!accept || size == current) return;
  if (resizeStyle_ == rsNone) return;
  if (horizontal)
    control_->SetWidth(size);
  else
    control_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  control_ = nullptr;
  if (OnMoved) OnMoved(this);
}

// ----------------------------------------------------------- radio group

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  items_.OnChange = [this](rtl::TStrings*) { UpdateButtons(); };
  tabStop_ = true;
}

TCustomRadioGroup::~TCustomRadioGroup() { items_.OnChange = nullptr; }

TWinControl* TCustomRadioGroup::Buttons(Integer index) const { return buttons_.at(static_cast<size_t>(index)); }

void TCustomRadioGroup::SetItemIndex(Integer v) {
  if (v < -1 || v >= items_.Count()) v = -1;
  if (v == itemIndex_) return;
  itemIndex_ = v;
  updating_ = true;
  for (size_t i = 0; i < buttons_.size(); ++i)
    static_cast<TRadioButton*>(buttons_[i])->SetChecked(static_cast<Integer>(i) == v);
  updating_ = false;
}

void TCustomRadioGroup::SetColumns(Integer v) {
  columns_ = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  updating_ = true;
  while (static_cast<Integer>(buttons_.size()) > items_.Count()) {
    TWinControl* b = buttons_.back();
    buttons_.pop_back();
    Free(b);
  }
  while (static_cast<Integer>(buttons_.size()) < items_.Count()) {
    auto* b = new TRadioButton(this);
    Integer index = static_cast<Integer>(buttons_.size());
    b->OnClick = [this, index](TObject*) { ButtonClicked(index); };
    b->SetTabStop(false);
    b->SetParent(this);
    buttons_.push_back(b);
  }
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    auto* b = static_cast<TRadioButton*>(buttons_[i]);
    b->SetCaption(items_[static_cast<Integer>(i)]);
    b->SetChecked(static_cast<Integer>(i) == itemIndex_);
  }
  updating_ = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  TCanvas measure;
  measure.SetFont(Font());
  Integer th = measure.TextHeight("0");
  Integer count = static_cast<Integer>(buttons_.size());
  Integer perCol = (count + columns_ - 1) / columns_;
  Integer buttonWidth = (Width() - 10) / columns_;
  Integer space = Height() - th - 5;
  Integer buttonHeight = space / perCol;
  Integer topMargin = th + 1 + (space % perCol) / 2;
  for (Integer i = 0; i < count; ++i)
    buttons_[static_cast<size_t>(i)]->SetBounds((i / perCol) * buttonWidth + 8, (i % perCol) * buttonHeight + topMargin,
                                                buttonWidth, buttonHeight);
}

void TCustomRadioGroup::Resize() {
  ArrangeButtons();
  TCustomGroupBox::Resize();
}

void TCustomRadioGroup::ButtonClicked(Integer index) {
  if (updating_) return;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (static_cast<Integer>(i) != index) {
      updating_ = true;
      static_cast<TRadioButton*>(buttons_[i])->SetChecked(false);
      updating_ = false;
    }
  Changed();
  Click();
}

// ------------------------------------------------------------------ bevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { TControl::SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape s) {
  shape_ = s;
  Invalidate();
}
void TBevel::SetStyle(TBevelStyle s) {
  style_ = s;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  TColor first = style_ == TBevelStyle::bsLowered ? dark : light;
  TColor second = style_ == TBevelStyle::bsLowered ? light : dark;
  TRect r = ClientRect();
  auto line = [&](TColor color, TRect band) {
    c->Brush()->SetColor(color);
    c->FillRect(band);
  };
  switch (shape_) {
    case TBevelShape::bsBox: Frame3D(c, r, first, second, 1); break;
    case TBevelShape::bsFrame: {
      TRect outer = Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
      Frame3D(c, outer, first, first, 1);
      TRect inner = Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom);
      Frame3D(c, inner, second, second, 1);
      break;
    }
    case TBevelShape::bsTopLine:
      line(first, Rect(r.Left, 0, r.Right, 1));
      line(second, Rect(r.Left, 1, r.Right, 2));
      break;
    case TBevelShape::bsBottomLine:
      line(first, Rect(r.Left, r.Bottom - 2, r.Right, r.Bottom - 1));
      line(second, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
      break;
    case TBevelShape::bsLeftLine:
      line(first, Rect(0, r.Top, 1, r.Bottom));
      line(second, Rect(1, r.Top, 2, r.Bottom));
      break;
    case TBevelShape::bsRightLine:
      line(first, Rect(r.Right - 2, r.Top, r.Right - 1, r.Bottom));
      line(second, Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
      break;
    case TBevelShape::bsSpacer: break;
  }
}

}  // namespace vcl
