#pragma once
// The Qt side of a windowed control: its widget, its back buffer, and the
// translation of Qt's events into window messages. Included only by the
// class library's own sources.
#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "vcl/Controls.h"

class QMouseEvent;
class QPainter;
class QKeyEvent;
class QScrollBar;
class QInputMethodEvent;

namespace vcl {

// Calls fn, handing whatever escapes to the application's exception handler:
// nothing unwinds through Qt's event loop.
void HandleQtEntryException(TObject* sender);
template <typename F>
void Guarded(TObject* sender, F&& fn) {
  try {
    fn();
  } catch (...) {
    HandleQtEntryException(sender);
  }
}

class ControlEventFilter;

// One of a window's own scroll bars (SB_HORZ, SB_VERT): its numbers, and
// the Qt bar that shows it in the non-client area while it is shown.
struct TWindowScrollBar {
  Integer min = 0, max = 0, page = 0, pos = 0, trackPos = 0;
  bool shown = false;
  Cardinal arrows = 0;  // ESB_* last set by EnableScrollBar
  QPointer<QScrollBar> bar;  // child of the control's widget
};

struct TWinControlHost {
  explicit TWinControlHost(TWinControl* c) : control(c) {}
  ~TWinControlHost();

  TWinControl* control;        // the control this host serves (owns the host)
  QPointer<QWidget> widget;    // owned: deleted with the host
  ControlEventFilter* filter = nullptr;  // child QObject of the widget
  HWND handle = 0;
  bool surface = false;        // paints through WM_PAINT into buffer
  QImage buffer;               // the retained back buffer of a surface
  bool dirty = true;           // the buffer needs a WM_PAINT
  bool frameDirty = true;      // the border (if any) needs a WM_NCPAINT
  bool dying = false;          // no more messages: the control is going away
  bool painting = false;
  // A native widget whose control draws over it (and over the widget's own
  // children) into this transparent image, shown by a child laid on top
  // (see TWinControl::SetPaintOverNative).
  bool overNative = false;
  QImage overlay;
  QPointer<QWidget> overlayWidget;  // a child of widget
  // The graphic child under the mouse, and the one holding the capture.
  TControl* hoverGraphic = nullptr;
  TControl* captureGraphic = nullptr;
  TWindowScrollBar scrollBars[2];  // indexed by SB_HORZ, SB_VERT

  // Sizes the buffer to the widget; a new size means a full repaint.
  void SizeBuffer(int width, int height);
  // Runs WM_NCPAINT (for a control with a border) and WM_PAINT into the
  // buffer for what is marked dirty.
  void PaintBuffer();
  // Where the client area starts in the widget (past the border).
  QPoint ClientOffset() const;
  // Whether a widget point lies in the client area.
  bool InClientArea(QPoint widgetPoint) const;
  // Makes or removes the overlay child as overNative says.
  void UpdateOverlay();
  // The control's WM_PAINT into the overlay image, shown by the overlay.
  void PaintOverlay();
  // Listens to another Qt object of the same control (the line edit inside
  // a combo box) as well.
  void Watch(QObject* object);
};

// The widget of a control that paints itself: Qt's paint event only copies
// the back buffer to the screen, after a WM_PAINT when it was marked dirty.
class SurfaceWidget : public QWidget {
 public:
  SurfaceWidget(TWinControlHost* host, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool focusNextPrevChild(bool) override { return false; }

 private:
  TWinControlHost* host_;  // the host owns this widget
};

// Turns the events of a control's Qt objects into window messages.
class ControlEventFilter : public QObject {
 public:
  ControlEventFilter(TWinControlHost* host, QObject* parent) : QObject(parent), host_(host) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Mouse(QObject* watched, QMouseEvent* e);
  bool Key(QObject* watched, QKeyEvent* e, bool down);
  bool InputMethod(QObject* watched, QInputMethodEvent* e);
  QPoint ToClient(QObject* watched, QPointF pos) const;
  TWinControlHost* host_;  // owns the widget this filter belongs to
  bool pressedInClient_ = false;  // a button went down in the client area and is still held
};

// Records the modifiers of an input event as the keyboard state GetKeyState
// reports (the desktop's state as of the last input message).
void SetInputModifiers(Qt::KeyboardModifiers mods);
// Records where the mouse was for the message being made (GetMessagePos).
void SetMessagePos(TPoint screen);

// The width of a vertical (height of a horizontal) window scroll bar.
int WindowScrollBarExtent();
// Places the shown scroll bars of the control in its non-client area.
void PlaceWindowScrollBars(TWinControl* control);

// Draws the system caret (Caret.h) when wnd owns it and it is in the
// showing half of its blink; clientOffset places the client area.
void PaintCaret(QPainter& painter, HWND wnd, QPoint clientOffset);

// The virtual-key code of a Qt key event (a US layout for symbol keys).
Word VirtualKeyOf(const QKeyEvent& e);
// The key-data word of a key message (repeat count, scan code, flags).
LPARAM KeyDataOf(const QKeyEvent& e, bool down);
// The desktop's scan code of a virtual key, on the keypad or not (0: none).
uint32_t ScanCodeOf(Word vk, bool keypad);
// MK_* flags from Qt's buttons and modifiers.
Integer MouseKeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
Qt::CursorShape ToQtCursor(TCursor cursor);
// The application's style and its palette from the system colour table
// (DesktopLook.cpp); InitApplication applies it once.
void ApplyDesktopLook();
// The cursor to show for an id: one registered with Screen->SetCursors, else
// the standard shape.
QCursor ToQCursor(TCursor cursor);

}  // namespace vcl
