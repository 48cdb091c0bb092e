#include "vcl/ScrollBars.h"

#include <QScrollBar>
#include <algorithm>

#include "vcl/QtHost.h"

namespace vcl {

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  TControl::SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  SetBounds(Left(), Top(), Height(), Width());
  SyncWidget();
}

void TScrollBar::SetParams(Integer position, Integer min, Integer max) {
  max = std::max(max, min);
  position = std::clamp(position, min, max);
  bool moved = position != position_;
  min_ = min;
  max_ = max;
  position_ = position;
  SyncWidget();
  if (moved) Change();
}

void TScrollBar::SetPageSize(Integer v) {
  v = std::max(v, 0);
  if (v == pageSize_) return;
  pageSize_ = v;
  SyncWidget();
}

void TScrollBar::SetSmallChange(Integer v) {
  smallChange_ = std::max(v, 1);
  SyncWidget();
}

void TScrollBar::SetLargeChange(Integer v) {
  largeChange_ = std::max(v, 1);
  SyncWidget();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, Integer& pos) {
  if (OnScroll) OnScroll(this, code, pos);
}

void TScrollBar::UserScroll(TScrollCode code, Integer pos) {
  switch (code) {
    case scLineUp: pos = position_ - smallChange_; break;
    case scLineDown: pos = position_ + smallChange_; break;
    case scPageUp: pos = position_ - largeChange_; break;
    case scPageDown: pos = position_ + largeChange_; break;
    case scTop: pos = min_; break;
    case scBottom: pos = max_; break;
    case scEndScroll: pos = position_; break;
    case scPosition:
    case scTrack: break;
  }
  Scroll(code, pos);
  SetPosition(pos);
}

QWidget* TScrollBar::CreateWidget() {
  auto* bar = new QScrollBar(kind_ == sbVertical ? Qt::Vertical : Qt::Horizontal);
  bar->setFocusPolicy(Qt::NoFocus);
  // The bar decides its position itself: each of Qt's actions becomes a
  // scroll code, and the slider is put where the handler left the position.
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar](int action) {
    if (syncing_) return;
    Guarded(this, [&] {
      switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: UserScroll(scLineDown); break;
        case QAbstractSlider::SliderSingleStepSub: UserScroll(scLineUp); break;
        case QAbstractSlider::SliderPageStepAdd: UserScroll(scPageDown); break;
        case QAbstractSlider::SliderPageStepSub: UserScroll(scPageUp); break;
        case QAbstractSlider::SliderToMinimum: UserScroll(scTop); break;
        case QAbstractSlider::SliderToMaximum: UserScroll(scBottom); break;
        case QAbstractSlider::SliderMove: UserScroll(scTrack, bar->sliderPosition()); return;
        default: return;
      }
      UserScroll(scEndScroll);
    });
    bar->setSliderPosition(position_);
  });
  QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, bar] {
    if (syncing_) return;
    Guarded(this, [&] {
      UserScroll(scPosition, bar->sliderPosition());
      UserScroll(scEndScroll);
    });
  });
  return bar;
}

void TScrollBar::InitWidget() { SyncWidget(); }

void TScrollBar::SyncWidget() {
  if (!HandleAllocated()) return;
  auto* bar = static_cast<QScrollBar*>(Widget());
  syncing_ = true;
  bar->setOrientation(kind_ == sbVertical ? Qt::Vertical : Qt::Horizontal);
  Integer top = pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_;
  bar->setRange(min_, top);
  bar->setSingleStep(smallChange_);
  bar->setPageStep(pageSize_ > 0 ? pageSize_ : largeChange_);
  bar->setValue(std::min(position_, top));
  syncing_ = false;
}

}  // namespace vcl
