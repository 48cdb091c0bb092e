#include "vcl/Caret.h"

#include <QPainter>
#include <QTimer>

#include "rtl/Clock.h"
#include "vcl/Controls.h"
#include "vcl/QtHost.h"
#include "vcl/WinApi.h"

namespace vcl {

namespace {

struct CaretData {
  HWND owner = 0;
  Integer width = 0, height = 0;
  TPoint pos;
  Integer hideCount = 1;
  uint64_t blinkStart = 0;  // clock time the current blink cycle began
  Cardinal blinkTime = 530;
  QTimer* refresh = nullptr;  // repaints the owner so the screen blinks too
};

CaretData& Caret() {
  static CaretData c;
  return c;
}

QWidget* OwnerWidget() {
  TWinControl* c = FindControl(Caret().owner);
  if (!c || !c->Host()) return nullptr;
  return c->Host()->widget;
}

// The owner shows the caret anew: the screen copy is redrawn and the blink
// cycle starts over with the caret showing.
void Touch() {
  CaretData& c = Caret();
  c.blinkStart = rtl::GetTickCount64();
  if (QWidget* w = OwnerWidget()) w->update();
  if (!c.refresh) {
    c.refresh = new QTimer();
    QObject::connect(c.refresh, &QTimer::timeout, [] {
      if (QWidget* w = OwnerWidget()) w->update();
    });
  }
  bool blinking = c.owner && c.hideCount == 0 && c.blinkTime > 0;
  if (blinking) {
    c.refresh->start(static_cast<int>(c.blinkTime));
  } else {
    c.refresh->stop();
  }
}

bool Owns(HWND wnd) {
  const CaretData& c = Caret();
  return c.owner != 0 && IsWindow(c.owner) && (wnd == 0 || wnd == c.owner);
}

}  // namespace

bool CreateCaret(HWND wnd, Integer width, Integer height) {
  if (!IsWindow(wnd)) return false;
  CaretData& c = Caret();
  if (c.owner && c.owner != wnd) {
    if (QWidget* w = OwnerWidget()) w->update();
  }
  c.owner = wnd;
  c.width = std::max(width, 1);
  c.height = std::max(height, 1);
  c.pos = {};
  c.hideCount = 1;
  Touch();
  return true;
}

bool DestroyCaret() {
  CaretData& c = Caret();
  if (!c.owner) return false;
  QWidget* w = OwnerWidget();
  c.owner = 0;
  c.hideCount = 1;
  if (w) w->update();
  Touch();
  return true;
}

bool ShowCaret(HWND wnd) {
  if (!Owns(wnd)) return false;
  CaretData& c = Caret();
  if (c.hideCount > 0) --c.hideCount;
  Touch();
  return true;
}

bool HideCaret(HWND wnd) {
  if (!Owns(wnd)) return false;
  ++Caret().hideCount;
  Touch();
  return true;
}

bool SetCaretPos(Integer x, Integer y) {
  if (!Owns(0)) return false;
  Caret().pos = {x, y};
  Touch();
  return true;
}

bool GetCaretPos(TPoint& pos) {
  if (!Owns(0)) return false;
  pos = Caret().pos;
  return true;
}

Cardinal GetCaretBlinkTime() { return Caret().blinkTime; }

bool SetCaretBlinkTime(Cardinal ms) {
  Caret().blinkTime = ms;
  Touch();
  return true;
}

TCaretState GetCaretState() {
  TCaretState s;
  if (!Owns(0)) return s;
  const CaretData& c = Caret();
  s.Owner = c.owner;
  s.Bounds = Bounds(c.pos.X, c.pos.Y, c.width, c.height);
  s.Visible = c.hideCount == 0;
  uint64_t elapsed = rtl::GetTickCount64() - c.blinkStart;
  s.BlinkOn = s.Visible && (c.blinkTime == 0 || (elapsed / c.blinkTime) % 2 == 0);
  return s;
}

// Called by a surface widget after it copied its buffer to the screen.
void PaintCaret(QPainter& painter, HWND wnd, QPoint clientOffset) {
  TCaretState s = GetCaretState();
  if (s.Owner != wnd || !s.BlinkOn) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(QRect(s.Bounds.Left + clientOffset.x(), s.Bounds.Top + clientOffset.y(), s.Bounds.Width(),
                         s.Bounds.Height()),
                   Qt::white);
  painter.restore();
}

}  // namespace vcl
