#include "support/MoxPanel.h"

#include "support/MoxThemes.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace support {

using namespace vcl;

// ------------------------------------------------------------ settings

void TMoxArrangeSettings::Assign(const TPersistent* source) {
  auto* s = dynamic_cast<const TMoxArrangeSettings*>(source);
  if (!s) {
    TMoxPersistentProperty::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    SetAutoArrange(s->autoArrange_);
    SetAutoSize(s->autoSize_);
    SetWrapControls(s->wrapControls_);
    SetBorderLeft(s->borderLeft_);
    SetBorderTop(s->borderTop_);
    SetDistanceVertical(s->distanceVertical_);
    SetDistanceHorizontal(s->distanceHorizontal_);
    SetShowNotVisibleAtDesignTime(s->showNotVisibleAtDesignTime_);
    SetMaxWidth(s->maxWidth_);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// --------------------------------------------------------------- panel

TMoxCustomArrangePanel::TMoxCustomArrangePanel(TComponent* owner)
    : TMoxCustomPanel(owner),
      settings_(std::make_unique<TMoxArrangeSettings>()),
      hotTrackOptions_(std::make_unique<TMoxPanelHotTrackOptions>()) {
  AddThemedControlStyle(this, csParentBackgroundBit | csNeedsBorderPaintBit);
  SetColor(clBtnFace);
  SetAlignment(taCenter);
  SetBevelOuter(bvRaised);
  SetBevelInner(bvNone);
  SetBevelWidth(1);
  SetBorderWidth(0);
  hotTrackFont_.Assign(Font());
  settings_->OnPropertyChanged = [this](TObject*, const AnsiString& name) { SettingChanged(name); };
}

TMoxCustomArrangePanel::~TMoxCustomArrangePanel() { settings_->OnPropertyChanged = nullptr; }

void TMoxCustomArrangePanel::SettingChanged(const AnsiString& name) {
  if (name == "AutoArrange") {
    if (settings_->AutoArrange()) RearrangeIfAuto();
  } else if (name == "AutoSize") {
    if (settings_->AutoSize() != asNone) RearrangeIfAuto();
  } else {
    RearrangeIfAuto();
  }
}

void TMoxCustomArrangePanel::RearrangeIfAuto() {
  if (settings_->AutoArrange() && !ComponentState().Contains(csLoading)) ArrangeControls();
}

void TMoxCustomArrangePanel::ArrangeControls() {
  if (arranging_ || ControlCount() == 0 || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csReading))
    return;
  arranging_ = true;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{arranging_};

  const TMoxArrangeSettings& s = *settings_;
  const bool sizeWidth = s.AutoSize() == asWidth || s.AutoSize() == asBoth;
  const bool sizeHeight = s.AutoSize() == asHeight || s.AutoSize() == asBoth;
  const Integer startWidth = Width(), startHeight = Height();
  Integer newWidth = startWidth, newHeight = startHeight;
  Integer left = s.BorderLeft(), top = s.BorderTop();
  Integer rightEdge = sizeWidth ? startWidth - 2 * s.BorderLeft() : -1;
  Integer bottom = sizeHeight ? startHeight - 2 * s.BorderTop() : -1;
  Integer rowHeight = -1;

  std::vector<TWinControl*> windows;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(Controls(i))) windows.push_back(w);

  for (TWinControl* w : windows) {
    if (auto* inner = dynamic_cast<TMoxCustomArrangePanel*>(w)) inner->RearrangeIfAuto();
    if (w->Width() + 2 * s.BorderLeft() > newWidth) newWidth = w->Width() + 2 * s.BorderLeft();
  }
  if (s.MaxWidth() > 0 && s.MaxWidth() < newWidth) newWidth = s.MaxWidth();

  const bool designing = ComponentState().Contains(csDesigning);
  auto byTabOrder = [&](Integer order) -> TWinControl* {
    for (TWinControl* w : windows)
      if (w->TabOrder() == order) return w;
    return nullptr;
  };
  for (Integer order = 0;; ++order) {
    TWinControl* w = byTabOrder(order);
    if (!w) break;
    if (!(w->Visible() || (designing && s.ShowNotVisibleAtDesignTime()))) continue;
    const Integer W = w->Width();
    const Integer end = left + W + s.DistanceHorizontal() + s.BorderLeft();
    const bool tooWide = (end > newWidth && !sizeWidth) || (s.MaxWidth() > 0 && end > s.MaxWidth());
    if (tooWide && left > s.BorderLeft() && s.WrapControls()) {
      left = s.BorderLeft();
      top += rowHeight + s.DistanceVertical();
      rowHeight = -1;
    }
    w->SetBounds(left, top, W, w->Height());
    rightEdge = std::max(rightEdge, left + W);
    left += W + s.DistanceHorizontal();
    rowHeight = std::max(rowHeight, w->Height());
    bottom = top + rowHeight;
  }

  if (!ComponentState().Contains(csLoading)) {
    if (sizeWidth) {
      if (rightEdge < 0)
        newWidth = 0;
      else if (s.MaxWidth() > 0 && s.MaxWidth() <= rightEdge)
        newWidth = s.MaxWidth();
      else
        newWidth = rightEdge + s.BorderLeft();
    }
    if (sizeHeight) newHeight = bottom < 0 ? 0 : bottom + s.BorderTop();
    SetBounds(Left(), Top(), newWidth, Height());
    SetBounds(Left(), Top(), Width(), newHeight);
  }
  arrangedExtent_ = {2 * s.BorderLeft() + rightEdge, 2 * s.BorderTop() + bottom};
  if (Width() != startWidth || Height() != startHeight)
    if (TCustomForm* form = GetParentForm(this))
      if (TWinControl* focused = form->ActiveControl()) focused->Invalidate();
}

void TMoxCustomArrangePanel::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  const Integer oldWidth = Width(), oldHeight = Height();
  TMoxCustomPanel::SetBounds(left, top, width, height);
  const bool widthChanged = Width() != oldWidth, heightChanged = Height() != oldHeight;
  if (!widthChanged && !heightChanged) return;
  if (widthChanged && OnChangedWidth) OnChangedWidth(this, Width());
  if (heightChanged && OnChangedHeight) OnChangedHeight(this, Height());
  if (OnResizeParent) {
    OnResizeParent(this, Left(), Top(), Width(), Height());
    return;
  }
  if (auto* parent = dynamic_cast<TMoxCustomArrangePanel*>(Parent())) parent->RearrangeIfAuto();
}

void TMoxCustomArrangePanel::AlignControls(TControl* control, TRect& rect) {
  TMoxCustomPanel::AlignControls(control, rect);
  RearrangeIfAuto();
}

void TMoxCustomArrangePanel::Resize() {
  RearrangeIfAuto();
  TMoxCustomPanel::Resize();
}

void TMoxCustomArrangePanel::Loaded() {
  TMoxCustomPanel::Loaded();
  RearrangeIfAuto();
}

void TMoxCustomArrangePanel::SetHotTrackFontOptions(TMoxTrackFontOptions v) {
  hotTrackFontOptions_ = v;
  if (!v.Contains(hoFollowFont)) return;
  TFont* f = Font();
  if (!v.Contains(hoPreserveCharSet)) hotTrackFont_.SetCharset(f->Charset());
  if (!v.Contains(hoPreserveColor)) hotTrackFont_.SetColor(f->Color());
  if (!v.Contains(hoPreserveHeight)) hotTrackFont_.SetHeight(f->Height());
  if (!v.Contains(hoPreserveName)) hotTrackFont_.SetName(f->Name());
  if (!v.Contains(hoPreservePitch)) hotTrackFont_.SetPitch(f->Pitch());
  if (!v.Contains(hoPreserveStyle)) hotTrackFont_.SetStyle(f->Style());
}

void TMoxCustomArrangePanel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  TControlStyle style = ControlStyle();
  if (v)
    style.Exclude(csOpaque);
  else
    style.Include(csOpaque);
  SetControlStyle(style);
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TMoxCustomArrangePanel::SetFlatBorder(bool v) {
  if (v == flatBorder_) return;
  flatBorder_ = v;
  Invalidate();
}

void TMoxCustomArrangePanel::SetFlatBorderColor(TColor v) {
  if (v == flatBorderColor_) return;
  flatBorderColor_ = v;
  Invalidate();
}

void TMoxCustomArrangePanel::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  Invalidate();
}

void TMoxCustomArrangePanel::SetSizeable(bool v) {
  if (v == sizeable_) return;
  sizeable_ = v;
  Invalidate();
}

void TMoxCustomArrangePanel::CreateParams(TCreateParams& params) {
  TMoxCustomPanel::CreateParams(params);
  if (transparent_)
    params.ExStyle |= WS_EX_TRANSPARENT;
  else
    params.ExStyle &= ~WS_EX_TRANSPARENT;
}

bool TMoxCustomArrangePanel::Hot() const { return MouseOver() && hotTrack_; }

// The class library tells a drag only to the control being dragged, so the
// panel sees its own drag; another control dragged over it goes unseen.
bool TMoxCustomArrangePanel::DragInProgress() const { return Dragging(); }

// ------------------------------------------------------------- painting

void TMoxCustomArrangePanel::Paint() { PaintOn(Canvas()); }

void TMoxCustomArrangePanel::PaintOn(TCanvas* c) {
  if (OnPaint) {
    OnPaint(this);
    return;
  }
  if (transparent_) CopyParentImage(c);
  const TRect client = ClientRect();
  if (Hot()) {
    c->SetFont(&hotTrackFont_);
    if (hotTrackOptions_->Enabled()) {
      c->Brush()->SetColor(hotTrackOptions_->Color());
      c->Brush()->SetStyle(bsSolid);
      if (hotTrackOptions_->FrameVisible()) {
        const TColor savedPen = c->Pen()->Color();
        c->Pen()->SetColor(hotTrackOptions_->FrameColor());
        c->Rectangle(Rect(0, 0, Width(), Height()));
        c->Pen()->SetColor(savedPen);
      } else {
        TRect r = client;
        InflateRect(r, -BevelWidth(), -BevelWidth());
        c->FillRect(r);
      }
    }
  } else {
    c->SetFont(Font());
    c->Brush()->SetColor(Color());
    if (transparent_)
      c->Brush()->SetStyle(bsClear);
    else {
      c->Brush()->SetStyle(bsSolid);
      PaintThemedBackground(this, c, client, true);
    }
    if (!flatBorder_) {
      TRect r = client;
      const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
      auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        const bool lowered = cut == bvLowered;
        Frame3D(c, r, lowered ? dark : light, lowered ? light : dark, BevelWidth());
      };
      bevel(BevelOuter());
      Frame3D(c, r, Color(), Color(), BorderWidth());
      bevel(BevelInner());
    } else if (BorderWidth() > 0) {
      const Integer bw = BorderWidth();
      const Integer savedWidth = c->Pen()->Width();
      const TColor savedColor = c->Pen()->Color();
      const TBrushStyle savedBrush = c->Brush()->Style();
      c->Pen()->SetWidth(bw);
      c->Pen()->SetColor(flatBorderColor_);
      c->Brush()->SetStyle(bsClear);
      // The border lies inside the client rectangle, BorderWidth pixels at
      // every edge. This canvas grows a wide outline inwards from the
      // figure's bounds, so the client rectangle itself is the figure.
      c->Rectangle(client);
      c->Brush()->SetStyle(savedBrush);
      c->Pen()->SetWidth(savedWidth);
      c->Pen()->SetColor(savedColor);
    }
  }
  PaintCaption(c);
  if (sizeable_) PaintSizeGrip(c);
}

void TMoxCustomArrangePanel::PaintCaption(TCanvas* c) {
  if (Caption().empty()) return;
  c->SetFont(((MouseOver() || sizing_) && hotTrack_) ? &hotTrackFont_ : Font());
  const TBrushStyle savedBrush = c->Brush()->Style();
  c->Brush()->SetStyle(bsClear);
  const Integer bevels = (BevelOuter() != bvNone ? BevelWidth() : 0) + (BevelInner() != bvNone ? BevelWidth() : 0);
  TRect r = ClientRect();
  InflateRect(r, -BorderWidth(), -BorderWidth());
  InflateRect(r, -bevels, -bevels);
  Cardinal flags = (multiLine_ ? DT_WORDBREAK : DT_SINGLELINE) | DT_EXPANDTABS;
  if (Alignment() == taRightJustify) flags |= DT_RIGHT;
  else if (Alignment() == taCenter) flags |= DT_CENTER;
  c->DrawText(Caption(), r, flags | DT_CALCRECT);
  const Integer textWidth = r.Width(), textHeight = r.Height();
  OffsetRect(r, 0, (Height() - textHeight) / 2 - r.Top);
  if (Alignment() == taRightJustify)
    OffsetRect(r, Width() - r.Right - BorderWidth() - bevels, 0);
  else if (Alignment() == taCenter)
    OffsetRect(r, (Width() - textWidth) / 2 - r.Left, 0);
  const TColor savedColor = c->Font()->Color();
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  c->DrawText(Caption(), r, flags);
  c->Font()->SetColor(savedColor);
  c->Brush()->SetStyle(savedBrush);
}

void TMoxCustomArrangePanel::PaintSizeGrip(TCanvas* c) {
  const TRect client = ClientRect();
  const Integer bw = BevelWidth();
  TRect r = Rect(client.Width() - GetSystemMetrics(SM_CXVSCROLL) - bw - 2,
                 client.Height() - GetSystemMetrics(SM_CYHSCROLL) - bw - 2, client.Width() - bw - 2,
                 client.Height() - bw - 2);
  if (IsAppThemed()) {
    if (HTHEME theme = OpenThemeData(0, u"status")) {
      DrawThemeBackground(theme, c, SP_GRIPPER, 0, &r, nullptr);
      CloseThemeData(theme);
      return;
    }
  }
  // The classic grip: the diagonal ridges of a scroll-bar size box.
  DrawFrameControl(c, r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TMoxCustomArrangePanel::CopyParentImage(TCanvas* c) {
  TWinControl* parent = Parent();
  if (!parent || !HandleAllocated()) return;
  // The parent's buffer holds its background, its own drawing and its
  // graphic children; windowed siblings below the panel have buffers of
  // their own.
  parent->Update();
  TRect all = Rect(0, 0, Width(), Height());
  DrawThemeParentBackground(Handle(), c, &all);
  const TRect mine = BoundsRect();
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == this) break;
    auto* w = dynamic_cast<TWinControl*>(sibling);
    if (!w || !w->Visible() || !w->HandleAllocated()) continue;
    TRect overlap;
    if (!IntersectRect(overlap, mine, w->BoundsRect())) continue;
    w->Update();
    TWindowCanvas source(w, TWindowCanvas::TArea::Window);
    TRect dest = overlap, src = overlap;
    OffsetRect(dest, -Left(), -Top());
    OffsetRect(src, -w->Left(), -w->Top());
    c->CopyRect(dest, &source, src);
  }
}

bool TMoxCustomArrangePanel::EraseBackground(TCanvas* canvas, LPARAM param) {
  if (transparent_) return true;
  return TMoxCustomPanel::EraseBackground(canvas, param);
}

void TMoxCustomArrangePanel::BoundsChange() {
  if (transparent_) Invalidate();
}

// ----------------------------------------------------------- the mouse

void TMoxCustomArrangePanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (sizeable_ && button == mbLeft && Width() - x <= 11 && Height() - y <= 11) {
    sizing_ = true;
    lastX_ = x;
    lastY_ = y;
    SetMouseCapture(true);
    savedScreenCursor_ = Screen->Cursor();
    Screen->SetCursor(crSizeNWSE);
  }
  TMoxCustomPanel::MouseDown(button, shift, x, y);
}

void TMoxCustomArrangePanel::MouseMove(TShiftState shift, Integer x, Integer y) {
  if (sizing_) {
    const Integer w = Width() + (x - lastX_), h = Height() + (y - lastY_);
    if (w > 1 && h > 1) {
      lastX_ = x;
      lastY_ = y;
      SetBounds(Left(), Top(), w, h);
      Refresh();
    }
  }
  SetCursor(sizeable_ && Width() - x < 12 && Height() - y < 12 ? crSizeNWSE : crDefault);
  TMoxCustomPanel::MouseMove(shift, x, y);
}

void TMoxCustomArrangePanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (sizing_) {
    sizing_ = false;
    SetMouseCapture(false);
    Screen->SetCursor(savedScreenCursor_);
    Refresh();
  }
  TMoxCustomPanel::MouseUp(button, shift, x, y);
}

void TMoxCustomArrangePanel::MouseEntered(TControl* control) {
  const bool wasOver = MouseOver();
  TMoxCustomPanel::MouseEntered(control);
  if (ComponentState().Contains(csDesigning) || wasOver || !Enabled() || control) return;
  if (transparent_ || !hotTrack_ || sizing_ || DragInProgress()) return;
  Invalidate();
}

void TMoxCustomArrangePanel::MouseLeft(TControl* control) {
  const bool wasOver = MouseOver();
  TMoxCustomPanel::MouseLeft(control);
  if (ComponentState().Contains(csDesigning) || !wasOver || control) return;
  if (transparent_ || !hotTrack_) return;
  if (sizing_ || (Enabled() && !DragInProgress())) Invalidate();
}

void TMoxCustomArrangePanel::TextChange() {
  TMoxCustomPanel::TextChange();
  Invalidate();
}

void TMoxCustomArrangePanel::ParentColorChange() {
  TMoxCustomPanel::ParentColorChange();
  Invalidate();
}

void TMoxCustomArrangePanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCHITTEST: {
      TMoxCustomPanel::Dispatch(m);
      if (!movable_) return;
      const TPoint p = ScreenToClient({static_cast<int16_t>(m.LParam & 0xFFFF), static_cast<int16_t>(m.LParam >> 16)});
      if (p.X > 5 && p.Y > 5 && p.X < Width() - 5 && p.Y < Height() - 5) {
        bool allow = true;
        if (OnBeforeMove) OnBeforeMove(this, p.X, p.Y, allow);
        if (allow) {
          m.Result = HTCAPTION;
          moving_ = true;
        }
      }
      return;
    }
    case WM_EXITSIZEMOVE:
      TMoxCustomPanel::Dispatch(m);
      if (moving_ && OnAfterMove) OnAfterMove(this);
      moving_ = false;
      return;
    default: TMoxCustomPanel::Dispatch(m);
  }
}

}  // namespace support
