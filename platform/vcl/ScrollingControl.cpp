#include "vcl/ScrollingControl.h"

#include <algorithm>

#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace vcl {

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
    : control_(control), kind_(kind) {}

Integer TControlScrollBar::Bar() const { return kind_ == sbVertical ? SB_VERT : SB_HORZ; }

Integer TControlScrollBar::PageSize() const {
  const TRect r = control_->ClientRect();
  return std::max<Integer>(kind_ == sbVertical ? r.Bottom - r.Top : r.Right - r.Left, 0);
}

Integer TControlScrollBar::MaxPosition() const { return std::max<Integer>(range_ - PageSize(), 0); }

void TControlScrollBar::SetPosition(Integer value) {
  position_ = std::clamp<Integer>(value, 0, MaxPosition());
  Update();
}

void TControlScrollBar::SetRange(Integer value) {
  range_ = std::max<Integer>(value, 0);
  position_ = std::clamp<Integer>(position_, 0, MaxPosition());
  Update();
}

void TControlScrollBar::SetVisible(bool value) {
  visible_ = value;
  Update();
}

void TControlScrollBar::Update() {
  // Showing or hiding a bar changes the client area and so the page: the
  // resize that follows comes back here.
  if (updating_ || !control_->HandleAllocated()) return;
  updating_ = true;
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  info.nMin = 0;
  info.nMax = visible_ && range_ > 0 ? range_ - 1 : 0;
  info.nPage = visible_ ? static_cast<Cardinal>(PageSize()) : 0;
  info.nPos = position_;
  SetScrollInfo(control_->Handle(), Bar(), &info, true);
  position_ = std::clamp<Integer>(position_, 0, MaxPosition());
  updating_ = false;
}

void TControlScrollBar::Scroll(Integer code, Integer thumbPos) {
  Integer target = position_;
  switch (code) {
    case SB_LINEUP: target -= increment_; break;
    case SB_LINEDOWN: target += increment_; break;
    case SB_PAGEUP: target -= std::max<Integer>(PageSize(), 1); break;
    case SB_PAGEDOWN: target += std::max<Integer>(PageSize(), 1); break;
    case SB_THUMBTRACK:
      if (!tracking_) return;
      target = thumbPos;
      break;
    case SB_THUMBPOSITION: target = thumbPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = MaxPosition(); break;
    default: return;
  }
  SetPosition(target);
}

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TCustomControl(owner), horz_(this, sbHorizontal), vert_(this, sbVertical) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      (m.Msg == WM_VSCROLL ? vert_ : horz_).Scroll(m.WParamLo(), m.WParamHi());
      break;
    case WM_CREATE:
      TCustomControl::Dispatch(m);
      horz_.Update();
      vert_.Update();
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}

void TScrollingWinControl::Resize() {
  TCustomControl::Resize();
  horz_.Update();
  vert_.Update();
}

}  // namespace vcl
