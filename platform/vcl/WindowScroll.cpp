// A window's own scroll bars: their numbers, and Qt bars in the window's
// non-client area that turn the user's actions into WM_HSCROLL / WM_VSCROLL.
#include <QApplication>
#include <QScrollBar>
#include <QStyle>

#include "vcl/QtHost.h"
#include "vcl/WinApi.h"

namespace vcl {

int WindowScrollBarExtent() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

namespace {

TWinControlHost* HostOf(HWND wnd) {
  TWinControl* c = FindControl(wnd);
  return c && c->HandleAllocated() ? c->Host() : nullptr;
}

bool ValidBar(Integer bar) { return bar == SB_HORZ || bar == SB_VERT; }

bool Needed(const TWindowScrollBar& b) { return b.page > 0 ? b.max - b.min + 1 > b.page : b.max > b.min; }

Integer MaxPos(const TWindowScrollBar& b) { return std::max(b.min, b.max - std::max(b.page - 1, 0)); }

// Shows the numbers on the Qt bar without it reporting anything back.
void SyncBar(TWindowScrollBar& b) {
  if (!b.bar) return;
  QSignalBlocker block(b.bar);
  b.bar->setRange(b.min, MaxPos(b));
  b.bar->setPageStep(std::max(b.page, 1));
  b.bar->setValue(b.pos);
  b.bar->setSliderPosition(b.pos);
}

void Send(TWinControl* control, Integer bar, Integer code, Integer pos) {
  HWND h = control->Handle();
  Guarded(control, [&] {
    control->Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                     MakeWParam(static_cast<Word>(code), static_cast<Word>(pos)), 0);
  });
  // The window decides where the bar stands.
  if (TWinControlHost* host = HostOf(h)) SyncBar(host->scrollBars[bar]);
}

void MakeBar(TWinControl* control, Integer barIndex) {
  TWinControlHost* host = control->Host();
  TWindowScrollBar& b = host->scrollBars[barIndex];
  if (b.bar) return;
  auto* bar = new QScrollBar(barIndex == SB_VERT ? Qt::Vertical : Qt::Horizontal, host->widget);
  bar->setFocusPolicy(Qt::NoFocus);
  b.bar = bar;
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [control, barIndex, bar](int action) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: Send(control, barIndex, SB_LINEUP, 0); break;
      case QAbstractSlider::SliderSingleStepAdd: Send(control, barIndex, SB_LINEDOWN, 0); break;
      case QAbstractSlider::SliderPageStepSub: Send(control, barIndex, SB_PAGEUP, 0); break;
      case QAbstractSlider::SliderPageStepAdd: Send(control, barIndex, SB_PAGEDOWN, 0); break;
      case QAbstractSlider::SliderToMinimum: Send(control, barIndex, SB_TOP, 0); break;
      case QAbstractSlider::SliderToMaximum: Send(control, barIndex, SB_BOTTOM, 0); break;
      case QAbstractSlider::SliderMove: {
        TWinControlHost* host = control->Host();
        host->scrollBars[barIndex].trackPos = bar->sliderPosition();
        Send(control, barIndex, SB_THUMBTRACK, bar->sliderPosition());
        break;
      }
      default: break;
    }
  });
  QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [control, barIndex]() {
    Send(control, barIndex, SB_THUMBPOSITION, control->Host()->scrollBars[barIndex].trackPos);
    Send(control, barIndex, SB_ENDSCROLL, 0);
  });
  SyncBar(b);
}

// Shows or hides the bar; a change gives the window new non-client insets.
void SetShown(TWinControl* control, Integer bar, bool shown) {
  TWindowScrollBar& b = control->Host()->scrollBars[bar];
  if (b.shown == shown) return;
  b.shown = shown;
  if (shown) MakeBar(control, bar);
  control->UpdateNonClientArea();
}

}  // namespace

void PlaceWindowScrollBars(TWinControl* control) {
  TWinControlHost* host = control->Host();
  if (!host || !host->widget) return;
  const TRect& ins = control->NonClientInsets();
  const int ext = WindowScrollBarExtent();
  const int w = control->Width(), h = control->Height();
  TWindowScrollBar& v = host->scrollBars[SB_VERT];
  TWindowScrollBar& hz = host->scrollBars[SB_HORZ];
  if (v.bar) {
    v.bar->setGeometry(w - ins.Right, ins.Top, ext, std::max(0, h - ins.Top - ins.Bottom));
    v.bar->setVisible(v.shown);
  }
  if (hz.bar) {
    hz.bar->setGeometry(ins.Left, h - ins.Bottom, std::max(0, w - ins.Left - ins.Right), ext);
    hz.bar->setVisible(hz.shown);
  }
}

Integer SetScrollInfo(HWND wnd, Integer bar, const SCROLLINFO* info, bool) {
  TWinControlHost* host = HostOf(wnd);
  if (!host || !info || !ValidBar(bar)) return 0;
  TWindowScrollBar& b = host->scrollBars[bar];
  if (info->fMask & SIF_RANGE) {
    b.min = info->nMin;
    b.max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) b.page = static_cast<Integer>(std::min<Cardinal>(info->nPage, b.max - b.min + 1));
  if (info->fMask & SIF_POS) b.pos = info->nPos;
  b.pos = std::clamp(b.pos, b.min, MaxPos(b));
  const bool needed = Needed(b);
  SetShown(host->control, bar, needed || (info->fMask & SIF_DISABLENOSCROLL && b.shown));
  if (b.bar) {
    b.bar->setEnabled(needed && b.arrows != ESB_DISABLE_BOTH);
    SyncBar(b);
  }
  return b.pos;
}

bool GetScrollInfo(HWND wnd, Integer bar, SCROLLINFO* info) {
  TWinControlHost* host = HostOf(wnd);
  if (!host || !info || !ValidBar(bar)) return false;
  const TWindowScrollBar& b = host->scrollBars[bar];
  if (info->fMask & SIF_RANGE) {
    info->nMin = b.min;
    info->nMax = b.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<Cardinal>(b.page);
  if (info->fMask & SIF_POS) info->nPos = b.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = b.trackPos;
  return true;
}

Integer SetScrollPos(HWND wnd, Integer bar, Integer pos, bool redraw) {
  TWinControlHost* host = HostOf(wnd);
  if (!host || !ValidBar(bar)) return 0;
  const Integer old = host->scrollBars[bar].pos;
  SCROLLINFO info;
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(wnd, bar, &info, redraw);
  return old;
}

Integer GetScrollPos(HWND wnd, Integer bar) {
  TWinControlHost* host = HostOf(wnd);
  return host && ValidBar(bar) ? host->scrollBars[bar].pos : 0;
}

bool SetScrollRange(HWND wnd, Integer bar, Integer minPos, Integer maxPos, bool redraw) {
  SCROLLINFO info;
  info.fMask = SIF_RANGE;
  info.nMin = minPos;
  info.nMax = maxPos;
  return HostOf(wnd) && ValidBar(bar) && (SetScrollInfo(wnd, bar, &info, redraw), true);
}

bool ShowScrollBar(HWND wnd, Integer bar, bool show) {
  TWinControlHost* host = HostOf(wnd);
  if (!host) return false;
  if (bar == SB_BOTH) {
    SetShown(host->control, SB_HORZ, show);
    SetShown(host->control, SB_VERT, show);
    return true;
  }
  if (!ValidBar(bar)) return false;
  SetShown(host->control, bar, show);
  return true;
}

bool EnableScrollBar(HWND wnd, Integer bar, Cardinal arrows) {
  TWinControlHost* host = HostOf(wnd);
  if (!host) return false;
  if (bar != SB_BOTH && !ValidBar(bar)) return false;
  for (Integer i : {SB_HORZ, SB_VERT}) {
    if (bar != SB_BOTH && bar != i) continue;
    TWindowScrollBar& b = host->scrollBars[i];
    b.arrows = arrows & ESB_DISABLE_BOTH;
    if (b.bar) b.bar->setEnabled(Needed(b) && b.arrows != ESB_DISABLE_BOTH);
  }
  return true;
}

Cardinal GetScrollBarArrows(HWND wnd, Integer bar) {
  TWinControlHost* host = HostOf(wnd);
  return host && ValidBar(bar) ? host->scrollBars[bar].arrows : ESB_ENABLE_BOTH;
}

}  // namespace vcl
