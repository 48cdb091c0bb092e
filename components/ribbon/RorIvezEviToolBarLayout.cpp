// Where a toolbar puts its controls and how large it makes itself.
#include <algorithm>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviFloating.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/ImgList.h"

namespace ribbon {

namespace {

bool LayoutDesigning(const vcl::TComponent* c) { return c->ComponentState().Contains(vcl::csDesigning); }

bool LayoutIsSeparator(const vcl::TControl* c) { return dynamic_cast<const TRorIvezEviSeparator*>(c) != nullptr; }

// A glow button that stacks in a ribbon column (not large).
bool LayoutSmallGlow(const vcl::TControl* c) {
  const auto* g = dynamic_cast<const controls::TLumCustomGlowButton*>(c);
  return g && g->ButtonSizeState() != controls::bsLarge;
}

}  // namespace

bool TLumCustomToolBar::ParentIsRibbon() const {
  const auto* host = dynamic_cast<const IToolBarHost*>(Parent());
  return host && host->RibbonGroupHost();
}

bool TLumCustomToolBar::ParentIsDockPanel() const {
  const auto* host = dynamic_cast<const IToolBarHost*>(Parent());
  return host && host->DockPanelHost();
}

void TLumCustomToolBar::SetCaptionHeight(int Value) {
  if (captionHeight_ == Value) return;
  captionHeight_ = Value;
  if (showCaption_) PositionControls(false);
  Invalidate();
}

void TLumCustomToolBar::SetShowCaption(bool Value) {
  if (showCaption_ == Value) return;
  showCaption_ = Value;
  PositionControls(true);
  Invalidate();
}

void TLumCustomToolBar::SetCaptionPosition(TCaptionPosition Value) {
  if (captionPosition_ == Value) return;
  captionPosition_ = Value;
  if (showCaption_) PositionControls(false);
  Invalidate();
}

void TLumCustomToolBar::SetAutoPositionControls(bool Value) {
  if (autoPositionControls_ == Value) return;
  if (!Value && (state_ != tsFixed || ParentIsDockPanel())) return;
  autoPositionControls_ = Value;
  if (Value)
    PositionControls(true);
  else
    SetAutoSize(false);
}

void TLumCustomToolBar::SetAutoSize(bool Value) {
  if (autoSize_ == Value) return;
  if (!Value && (state_ != tsFixed || ParentIsDockPanel())) return;
  autoSize_ = Value;
  if (Value) {
    PositionControls(true);
  } else {
    vcl::TSizeConstraints* c = Constraints();
    c->MinWidth = c->MaxWidth = c->MinHeight = c->MaxHeight = 0;
  }
}

void TLumCustomToolBar::SetShowRightHandle(bool Value) {
  const int width = Value ? 14 : 4;
  if (width == handleWidth_) return;
  handleWidth_ = width;
  PositionControls(true);
  Invalidate();
}

void TLumCustomToolBar::EndUpdate() {
  if (updateLock_ > 0) --updateLock_;
  if (updateLock_ == 0) {
    PositionControls(true);
    Invalidate();
  }
}

int TLumCustomToolBar::GetDragGripStart() const {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if ((s && s->DragGripStyle() == TDragGripStyle::dsNone) || ParentIsRibbon() || state_ == tsFloating) return 2;
  return GripWidth() + 2;
}

vcl::TRect TLumCustomToolBar::GetCaptionRect() const {
  const vcl::TRect r = ClientRect();
  if (state_ == tsFloating) return vcl::TRect{r.Left, r.Top, r.Right, r.Top + captionHeight_};
  if (!showCaption_) return vcl::TRect{0, 0, 0, 0};
  if (Horizontal())
    return captionPosition_ == cpTop ? vcl::TRect{r.Left, r.Top, r.Right, r.Top + captionHeight_}
                                     : vcl::TRect{r.Left, r.Bottom - captionHeight_, r.Right, r.Bottom};
  return captionPosition_ == cpTop ? vcl::TRect{r.Left, r.Top, r.Left + captionHeight_, r.Bottom}
                                   : vcl::TRect{r.Right - captionHeight_, r.Top, r.Right, r.Bottom};
}

vcl::TRect TLumCustomToolBar::GetClientRectWithoutCaption() const {
  vcl::TRect r = ClientRect();
  if (state_ == tsFloating) {
    r.Top += captionHeight_;
    return r;
  }
  if (!showCaption_) return r;
  if (Horizontal()) {
    if (captionPosition_ == cpTop)
      r.Top += captionHeight_;
    else
      r.Bottom -= captionHeight_;
  } else {
    if (captionPosition_ == cpTop)
      r.Left += captionHeight_;
    else
      r.Right -= captionHeight_;
  }
  return r;
}

vcl::TRect TLumCustomToolBar::GetRightHandleRect() const {
  if (!ShowRightHandle()) return vcl::TRect{-1, -1, -1, -1};
  if (Horizontal()) return vcl::TRect{Width() - handleWidth_, 0, Width(), Height()};
  return vcl::TRect{0, Height() - handleWidth_, Width(), Height()};
}

void TLumCustomToolBar::AdjustClientRect(vcl::TRect& Rect) const {
  vcl::TCustomControl::AdjustClientRect(Rect);
  if (Horizontal() && !autoPositionControls_ && (state_ == tsDocked || state_ == tsFixed) && showCaption_ &&
      ParentIsRibbon())
    Rect = GetClientRectWithoutCaption();
}

int TLumCustomToolBar::InsertionIndex(vcl::TControl* Control) const {
  const bool present = std::find(controls_.begin(), controls_.end(), Control) != controls_.end();
  if (present && controls_.size() <= 1) return present ? static_cast<int>(std::find(controls_.begin(), controls_.end(), Control) - controls_.begin()) : 0;
  const int count = static_cast<int>(controls_.size()) - (present ? 1 : 0);
  if (Control->Left() == 0 || Control->Top() == 0) return count;
  int index = 0;
  for (vcl::TControl* c : controls_) {
    if (c == Control) continue;
    const bool before = Horizontal() ? c->Left() >= Control->Left() : c->Top() >= Control->Top();
    if (before) return index;
    ++index;
  }
  return index;
}

void TLumCustomToolBar::HideOutOfSight(vcl::TControl* Control, bool Right) {
  if (Right)
    Control->SetLeft(Width() + 2);
  else
    Control->SetTop(Height() + 2);
}

void TLumCustomToolBar::PlaceControl(vcl::TControl* Control, int X, int Y) {
  if (Control->Left() != X || Control->Top() != Y) Control->SetBounds(X, Y, Control->Width(), Control->Height());
}

void TLumCustomToolBar::PositionControls(bool DoSize) {
  if (Loading() || updateLock_ > 0) return;
  if (!autoPositionControls_ && state_ == tsFixed && !ParentIsDockPanel()) return;
  const bool designing = LayoutDesigning(this);
  auto hidden = [this](vcl::TControl* c) { return std::find(hidden_.begin(), hidden_.end(), c) != hidden_.end(); };
  layoutLock_ = true;
  if (ParentIsRibbon() && !autoSize_) {
    // Flow layout: lines wrap at the toolbar's width.
    int x = 2, y = 2;
    for (size_t i = 0; i < controls_.size(); ++i) {
      vcl::TControl* c = controls_[i];
      if (!c->Visible()) {
        HideOutOfSight(c, false);
        continue;
      }
      if (c->Width() > Width() - x - 2) {
        int right = 2;
        for (size_t j = 0; j < i; ++j)
          if (controls_[j]->Height() > c->Height())
            right = std::max(right, controls_[j]->Left() + controls_[j]->Width());
        x = right;
        y += c->Height();
      }
      PlaceControl(c, x, y);
      x += c->Width();
    }
    layoutLock_ = false;
    return;
  }
  if (state_ == tsFloating) {
    int y = captionHeight_ + 2;
    int x = 2;
    if (floatingRows_ != 1 && DoSize) UpdateSize();
    for (vcl::TControl* c : controls_) {
      if (!c->Visible()) {
        HideOutOfSight(c, false);
        continue;
      }
      if (floatingRows_ != 1 && Width() - x - 2 < c->Width()) {
        x = 2;
        y += rowHeight_;
      }
      PlaceControl(c, x, y);
      x += c->Width();
    }
    layoutLock_ = false;
    if (DoSize && floatingRows_ == 1) UpdateSize();
    return;
  }
  if (Horizontal()) {
    int x = GetDragGripStart();
    const int y = showCaption_ && captionPosition_ == cpTop ? captionHeight_ + 2 : 2;
    if (ParentIsRibbon()) {
      int colX = x, colY = y, colW = 0, inColumn = 0;
      for (vcl::TControl* c : controls_) {
        if (!c->Visible() && !designing) {
          HideOutOfSight(c, false);
          continue;
        }
        if (LayoutSmallGlow(c)) {
          PlaceControl(c, colX, colY);
          if (c->Width() > colW) {
            x += c->Width() - colW;
            colW = c->Width();
          }
          if (++inColumn == 3) {
            colX = x;
            colY = y;
            colW = 0;
            inColumn = 0;
          } else {
            colY += c->Height();
          }
        } else {
          PlaceControl(c, x, y);
          x += c->Width();
          colX = x;
          colY = y;
          colW = 0;
          inColumn = 0;
        }
      }
    } else {
      for (vcl::TControl* c : controls_) {
        if (c->Visible() && !hidden(c)) {
          PlaceControl(c, x, y);
          x += c->Width();
        } else if (hidden(c) && c->Parent() == this) {
          HideOutOfSight(c, false);
        } else if (!c->Visible() && !designing) {
          HideOutOfSight(c, false);
        }
      }
    }
  } else {
    int y = GetDragGripStart();
    const int x = showCaption_ && captionPosition_ == cpTop ? captionHeight_ + 2 : 2;
    for (vcl::TControl* c : controls_) {
      if (c->Visible() && !hidden(c)) {
        PlaceControl(c, x, y);
        y += c->Height();
      } else {
        HideOutOfSight(c, true);
      }
    }
  }
  layoutLock_ = false;
  if (DoSize) UpdateSize();
}

void TLumCustomToolBar::UpdateSize() {
  const bool designing = LayoutDesigning(this);
  auto hidden = [this](vcl::TControl* c) { return std::find(hidden_.begin(), hidden_.end(), c) != hidden_.end(); };
  vcl::TSizeConstraints* k = Constraints();
  if (state_ == tsFloating) {
    k->MinWidth = k->MaxWidth = k->MinHeight = k->MaxHeight = 0;
    if (floatingRows_ > 1) {
      int w = 0, h = 0;
      GetFloatingSize(w, h);
      SetBounds(Left(), Top(), w, h);
    } else {
      int right = 0;
      for (vcl::TControl* c : controls_)
        if (c->Visible()) right = c->Left() + c->Width();
      SetBounds(Left(), Top(), std::max(right + 2, minLength_), rowHeight_ + captionHeight_);
    }
    if (floatingWindow_) floatingWindow_->FitToToolBar();
    return;
  }
  const int grip = GetDragGripStart();
  int thickness = 26;
  for (vcl::TControl* c : controls_)
    if (c->Visible() && !LayoutIsSeparator(c))
      thickness = std::max(thickness, 4 + (Horizontal() ? c->Height() : c->Width()));
  int need = minLength_;
  int full = 0;
  if (Horizontal()) {
    if (!controls_.empty()) {
      int last = -1;
      for (int i = static_cast<int>(controls_.size()) - 1; i >= 0; --i)
        if (!hidden(controls_[i]) && (controls_[i]->Visible() || designing)) {
          last = i;
          break;
        }
      if (last < 0) {
        need = 15;
      } else if (ParentIsRibbon()) {
        // The trailing column: back over at most three small glow
        // buttons, up to the first control that is not one.
        int right = 0, walked = 0;
        for (int i = last; i >= 0; --i) {
          vcl::TControl* c = controls_[i];
          if (!c->Visible() && !designing) continue;
          right = std::max(right, c->Left() + c->Width());
          const auto* g = dynamic_cast<const controls::TLumCustomGlowButton*>(c);
          if (!g || g->ButtonSizeState() == controls::bsLarge || ++walked == 3) break;
        }
        need = right;
      } else {
        need = controls_[last]->Left() + controls_[last]->Width();
      }
      need += handleWidth_;
    }
    full = grip + handleWidth_;
    for (vcl::TControl* c : controls_)
      if (c->Visible() || designing) full += c->Width();
    if (ParentIsRibbon() || need >= full) full = need;
    fullLength_ = full;
    if (!autoSize_ || fullSize_) return;
    k->MinHeight = k->MaxHeight = 0;
    k->MinWidth = std::min(minLength_, need);
    k->MaxWidth = full;
    if (Width() < need || (need < Width() && full < Width())) SetBounds(Left(), Top(), need, Height());
    if (showCaption_) thickness += captionHeight_;
    if (Height() != thickness) SetBounds(Left(), Top(), Width(), thickness);
    return;
  }
  int last = -1;
  for (int i = static_cast<int>(controls_.size()) - 1; i >= 0; --i)
    if (controls_[i]->Visible() && !hidden(controls_[i])) {
      last = i;
      break;
    }
  if (!controls_.empty()) need = (last < 0 ? 15 : controls_[last]->Top() + controls_[last]->Height()) + handleWidth_;
  full = grip + handleWidth_;
  for (vcl::TControl* c : controls_)
    if (c->Visible()) full += c->Height();
  if (need >= full) full = need;
  fullLength_ = full;
  if (!autoSize_ || fullSize_) return;
  k->MinWidth = k->MaxWidth = 0;
  k->MinHeight = std::min(minLength_, need);
  k->MaxHeight = full;
  if (Height() < need || (need < Height() && full < Height())) SetBounds(Left(), Top(), Width(), need);
  if (showCaption_) thickness += captionHeight_;
  if (Width() != thickness) SetBounds(Left(), Top(), thickness, Height());
}

int TLumCustomToolBar::CalcRowHeight(bool Force) const {
  int w = 0, h = 0, wb = 0, hOther = 0;
  for (vcl::TControl* c : controls_) {
    if (LayoutIsSeparator(c)) continue;
    w = std::max(w, c->Width());
    h = std::max(h, c->Height());
    if (dynamic_cast<const TLumCustomToolBarButton*>(c))
      wb = std::max(wb, c->Width());
    else if (!dynamic_cast<const TLumCustomToolBarControl*>(c))
      hOther = std::max(hOther, c->Height());
  }
  int need = 0;
  if (Force || state_ == tsFloating)
    need = Horizontal() ? h + 4 : std::max(wb, hOther) + 4;
  else
    need = Horizontal() ? h + 4 : w + 4;
  return std::max(26, need);
}

void TLumCustomToolBar::SetOrientation(TDockAlign Value) {
  if (Value == position_) return;
  position_ = Value;
  vcl::TSizeConstraints* k = Constraints();
  if (!Horizontal()) {
    k->MinWidth = k->MaxWidth = 0;
    k->MinHeight = minLength_;
    k->MaxHeight = fullLength_;
    SetBounds(Left(), Top(), rowHeight_, fullLength_);
  } else {
    k->MinHeight = k->MaxHeight = 0;
    k->MinWidth = minLength_;
    k->MaxWidth = fullLength_;
    SetBounds(Left(), Top(), fullLength_, rowHeight_);
  }
  layoutLock_ = true;
  for (vcl::TControl* c : controls_)
    if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(c)) t->SetPosition(Value);
  layoutLock_ = false;
  int full = GetDragGripStart() + handleWidth_;
  for (vcl::TControl* c : controls_)
    if (c->Visible()) full += Horizontal() ? c->Width() : c->Height();
  fullLength_ = std::max(minLength_, full);
  if (Horizontal()) {
    k->MaxWidth = fullLength_;
    SetBounds(Left(), Top(), fullLength_, Height());
  } else {
    k->MaxHeight = fullLength_;
    SetBounds(Left(), Top(), Width(), fullLength_);
  }
  PositionControls(false);
  UpdateOverflow();
}

}  // namespace ribbon
