#include "vcl/QtHost.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>
#include <cstdlib>

#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/MessageHooks.h"
#include "vcl/ShellDrop.h"
#include "vcl/QtCanvas.h"
#include "vcl/WinApi.h"

namespace vcl {

void SetCursorTarget(QWidget* w);

TWinControlHost::~TWinControlHost() {
  dying = true;
  if (widget) {
    QWidget* w = widget;
    widget = nullptr;
    delete w;
  }
}

void TWinControlHost::SizeBuffer(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (buffer.width() == width && buffer.height() == height) return;
  buffer = QImage(width, height, QImage::Format_RGB32);
  buffer.fill(ToQColor(control->Color()));
  dirty = true;
  frameDirty = true;
}

void TWinControlHost::PaintBuffer() {
  if (!surface || !(dirty || frameDirty) || painting || dying) return;
  if (widget) SizeBuffer(std::max(1, control->Width()), std::max(1, control->Height()));
  const bool client = dirty;
  const bool frame = frameDirty && control->ncInsets_ != TRect{};
  dirty = false;
  frameDirty = false;
  painting = true;
  Guarded(control, [&] {
    if (frame) control->Perform(WM_NCPAINT, 1);
    if (client) control->Perform(WM_PAINT);
  });
  painting = false;
}

QPoint TWinControlHost::ClientOffset() const { return QPoint(control->ncInsets_.Left, control->ncInsets_.Top); }

bool TWinControlHost::InClientArea(QPoint p) const {
  TRect client = control->ClientRect();
  return QRect(ClientOffset(), QSize(client.Width(), client.Height())).contains(p);
}

namespace {

// The child that shows what a control draws over its native widget: on top
// of the widget's own children, letting the mouse through.
class OverlayWidget : public QWidget {
 public:
  OverlayWidget(TWinControlHost* host, QWidget* parent) : QWidget(parent), host_(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    host_->PaintOverlay();
    QPainter p(this);
    p.drawImage(0, 0, host_->overlay);
  }

 private:
  TWinControlHost* host_;  // owns the widget this overlay belongs to
};

}  // namespace

void TWinControlHost::UpdateOverlay() {
  if (!widget) return;
  if (overNative && !surface) {
    if (!overlayWidget) overlayWidget = new OverlayWidget(this, widget);
    overlayWidget->setGeometry(0, 0, widget->width(), widget->height());
    overlayWidget->raise();
    overlayWidget->show();
    overlayWidget->update();
  } else if (overlayWidget) {
    delete overlayWidget.data();
  }
}

void TWinControlHost::PaintOverlay() {
  if (overlay.size() != widget->size()) overlay = QImage(widget->size(), QImage::Format_ARGB32_Premultiplied);
  overlay.fill(Qt::transparent);
  TCanvas* canvas = control->OverlayCanvas();
  auto s = std::make_unique<TCanvasSurface>();
  s->image = &overlay;
  TPoint origin = control->WidgetClientOffset();
  s->origin = QPoint(origin.X, origin.Y);
  canvas->SetSurface(std::move(s));
  canvas->SetFont(control->Font());
  painting = true;
  Guarded(control, [&] { control->Perform(WM_PAINT); });
  painting = false;
  canvas->Refresh();
}

void TWinControlHost::Watch(QObject* object) {
  if (filter && object) object->installEventFilter(filter);
}

SurfaceWidget::SurfaceWidget(TWinControlHost* host, QWidget* parent) : QWidget(parent), host_(host) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  if (host_->dying) return;
  host_->PaintBuffer();
  QPainter p(this);
  p.drawImage(0, 0, host_->buffer);
  PaintCaret(p, host_->handle, host_->ClientOffset());
}

// ------------------------------------------------------------ translation

Integer MouseKeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  Integer k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

Word VirtualKeyOf(const QKeyEvent& e) {
  int k = e.key();
  if (e.modifiers() & Qt::KeypadModifier) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<Word>(VK_NUMPAD0 + (k - Qt::Key_0));
    switch (k) {
      case Qt::Key_Asterisk: return VK_MULTIPLY;
      case Qt::Key_Plus: return VK_ADD;
      case Qt::Key_Minus: return VK_SUBTRACT;
      case Qt::Key_Period:
      case Qt::Key_Comma: return VK_DECIMAL;
      case Qt::Key_Slash: return VK_DIVIDE;
      default: break;
    }
  }
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<Word>(k);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<Word>(k);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<Word>(VK_F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    // Symbol keys by their place on a US keyboard, shifted or not.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma:
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period:
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash:
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: return e.text().isEmpty() ? 0 : VK_PACKET;
  }
}

// The desktop's scan code of a key (its keyboard's set 1), which key data
// carries: handlers tell the keypad's keys from the main keyboard's by it
// (the keypad's decimal key is 0x53, the full stop 0x34).
uint32_t ScanCodeOf(Word vk, bool keypad) {
  if (keypad) {
    static constexpr uint8_t kPad[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return kPad[vk - VK_NUMPAD0];
    switch (vk) {
      case VK_DECIMAL: return 0x53;
      case VK_MULTIPLY: return 0x37;
      case VK_SUBTRACT: return 0x4A;
      case VK_ADD: return 0x4E;
      case VK_DIVIDE: return 0x35;
      case VK_RETURN: return 0x1C;
      default: break;
    }
  }
  static constexpr uint8_t kLetters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                           0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                           0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  if (vk >= 'A' && vk <= 'Z') return kLetters[vk - 'A'];
  if (vk >= '1' && vk <= '9') return 0x02 + (vk - '1');
  if (vk == '0') return 0x0B;
  if (vk >= VK_F1 && vk <= VK_F1 + 9) return 0x3B + (vk - VK_F1);
  switch (vk) {
    case VK_F11: return 0x57;
    case VK_F12: return 0x58;
    case VK_CAPITAL: return 0x3A;
    case VK_NUMLOCK: return 0x45;
    case VK_SCROLL: return 0x46;
    case VK_LWIN: return 0x5B;
    case VK_RWIN: return 0x5C;
    case VK_APPS: return 0x5D;
    case VK_ESCAPE: return 0x01;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL: return 0x1D;
    case VK_SHIFT: return 0x2A;
    case VK_MENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_OEM_MINUS: return 0x0C;
    case VK_OEM_PLUS: return 0x0D;
    case VK_OEM_4: return 0x1A;
    case VK_OEM_6: return 0x1B;
    case VK_OEM_1: return 0x27;
    case VK_OEM_7: return 0x28;
    case VK_OEM_3: return 0x29;
    case VK_OEM_5: return 0x2B;
    case VK_OEM_COMMA: return 0x33;
    case VK_OEM_PERIOD: return 0x34;
    case VK_OEM_2: return 0x35;
    case VK_HOME: return 0x47;
    case VK_UP: return 0x48;
    case VK_PRIOR: return 0x49;
    case VK_LEFT: return 0x4B;
    case VK_RIGHT: return 0x4D;
    case VK_END: return 0x4F;
    case VK_DOWN: return 0x50;
    case VK_NEXT: return 0x51;
    case VK_INSERT: return 0x52;
    case VK_DELETE: return 0x53;
    default: return 0;
  }
}

LPARAM KeyDataOf(const QKeyEvent& e, bool down) {
  uint32_t data = 1;  // repeat count
  Word vk = VirtualKeyOf(e);
  bool keypad = e.modifiers() & Qt::KeypadModifier;
  data |= ScanCodeOf(vk, keypad) << 16;
  // Navigation keys off the keypad are the extended ones.
  bool navigation = vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_LEFT ||
                    vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_INSERT || vk == VK_DELETE;
  if ((navigation && !keypad) || (keypad && (vk == VK_RETURN || vk == VK_DIVIDE))) data |= 1u << 24;
  if (e.modifiers() & Qt::AltModifier) data |= 1u << 29;
  if (!down || e.isAutoRepeat()) data |= 1u << 30;
  if (!down) data |= 1u << 31;
  return static_cast<LPARAM>(data);
}

Qt::CursorShape ToQtCursor(TCursor c) {
  switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

// ------------------------------------------------------------ the filter

namespace {

// The last button press, to tell a double click from two clicks; measured
// on the clock service so tests can control it.
struct LastPress {
  Qt::MouseButton button = Qt::NoButton;
  uint64_t tick = 0;
  QPoint screen;
  HWND wnd = 0;
} gLastPress;

bool gInjecting = false;

Cardinal ButtonMessage(Qt::MouseButton b, int kind) {  // kind 0 down, 1 up, 2 double
  static constexpr Cardinal kLeft[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
  static constexpr Cardinal kRight[] = {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};
  static constexpr Cardinal kMiddle[] = {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK};
  switch (b) {
    case Qt::LeftButton: return kLeft[kind];
    case Qt::RightButton: return kRight[kind];
    case Qt::MiddleButton: return kMiddle[kind];
    default: return 0;
  }
}

bool IsDialogKey(Word vk) {
  return vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP ||
         vk == VK_DOWN;
}

TShiftState ShiftOf(Qt::KeyboardModifiers mods) {
  TShiftState s;
  if (mods & Qt::ShiftModifier) s.Include(ssShift);
  if (mods & Qt::ControlModifier) s.Include(ssCtrl);
  if (mods & Qt::AltModifier) s.Include(ssAlt);
  return s;
}

}  // namespace

QPoint ControlEventFilter::ToClient(QObject* watched, QPointF pos) const {
  QPoint p = pos.toPoint();
  auto* w = qobject_cast<QWidget*>(watched);
  if (w && host_->widget && w != host_->widget) p = w->mapTo(host_->widget, p);
  return p - host_->ClientOffset();
}

bool ControlEventFilter::Mouse(QObject* watched, QMouseEvent* e) {
  TWinControl* c = host_->control;
  SetInputModifiers(e->modifiers());
  {
    QPoint g = e->globalPosition().toPoint();
    SetMessagePos({g.x(), g.y()});
  }
  QPoint p = ToClient(watched, e->position());
  // The border is no part of the client area: what happens there is no
  // client mouse message, unless it belongs to a drag that began inside.
  const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
  if (host_->surface && !host_->InClientArea(p + host_->ClientOffset())) {
    if (press || !pressedInClient_) return true;
  } else if (press) {
    pressedInClient_ = true;
  }
  if (e->type() == QEvent::MouseButtonRelease && e->buttons() == Qt::NoButton) pressedInClient_ = false;
  Integer keys = MouseKeysOf(e->buttons(), e->modifiers());
  TMessage m{0, static_cast<WPARAM>(keys), PointToLParam({p.x(), p.y()}), 0};
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      uint64_t now = rtl::GetTickCount64();
      QPoint screen = e->globalPosition().toPoint();
      bool dbl = gLastPress.button == e->button() && gLastPress.wnd == host_->handle &&
                 now - gLastPress.tick <= GetDoubleClickTime() && std::abs(screen.x() - gLastPress.screen.x()) <= 2 &&
                 std::abs(screen.y() - gLastPress.screen.y()) <= 2;
      if (dbl)
        gLastPress = {};
      else
        gLastPress = {e->button(), now, screen, host_->handle};
      m.Msg = ButtonMessage(e->button(), dbl ? 2 : 0);
      break;
    }
    case QEvent::MouseButtonRelease: m.Msg = ButtonMessage(e->button(), 1); break;
    case QEvent::MouseMove: {
      // The cursor first: WM_SETCURSOR, and the control's own cursor when
      // no handler sets one.
      SetCursorTarget(host_->widget);
      TMessage sc{WM_SETCURSOR, host_->handle, MakeLParam(HTCLIENT, WM_MOUSEMOVE), 0};
      Guarded(c, [&] { c->WindowProc(sc); });
      SetCursorTarget(nullptr);
      if (sc.Result == 0 && host_->widget) {
        TControl* under = c->ControlAtPos({p.x(), p.y()}, false);
        TCursor cur = Screen && Screen->Cursor() != crDefault ? Screen->Cursor() : (under ? under : c)->Cursor();
        if (cur == crDefault)
          host_->widget->unsetCursor();
        else
          host_->widget->setCursor(ToQCursor(cur));
      }
      m.Msg = WM_MOUSEMOVE;
      break;
    }
    default: return false;
  }
  if (m.Msg == 0) return false;
  if (press) {
    // The window asks its form whether the click activates it and whether
    // the click itself is eaten. Activating is the window manager's part.
    LRESULT answer = 0;
    if (TCustomForm* form = GetParentForm(c))
      Guarded(form, [&] {
        answer = form->Perform(WM_MOUSEACTIVATE, form->Handle(), MakeLParam(static_cast<Word>(HTCLIENT), static_cast<Word>(m.Msg)));
      });
    if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return true;
  }
  Guarded(c, [&] { c->WindowProc(m); });
  return host_->surface;
}

bool ControlEventFilter::Key(QObject* watched, QKeyEvent* e, bool down) {
  if (gInjecting) return false;
  {
    // A released modifier key is up from this message on.
    Qt::KeyboardModifiers mods = e->modifiers();
    if (!down && e->key() == Qt::Key_Shift) mods &= ~Qt::ShiftModifier;
    if (!down && e->key() == Qt::Key_Control) mods &= ~Qt::ControlModifier;
    if (!down && e->key() == Qt::Key_Alt) mods &= ~Qt::AltModifier;
    SetInputModifiers(mods);
  }
  // Qt hands a key the focused widget left alone on to its parents; the
  // desktop gives a key to the focused window only.
  QWidget* focus = QApplication::focusWidget();
  auto* target = qobject_cast<QWidget*>(watched);
  if (focus && target && focus != target && target->isAncestorOf(focus)) return false;
  TWinControl* c = host_->control;
  Word vk = VirtualKeyOf(*e);
  LPARAM kd = KeyDataOf(*e, down);
  bool alt = (e->modifiers() & Qt::AltModifier) || vk == VK_MENU;
  {
    // Taken from the queue: the thread's message hooks see it first.
    MSG taken;
    taken.hwnd = c->HandleAllocated() ? c->Handle() : 0;
    taken.message = down ? ((alt || vk == VK_F10) ? WM_SYSKEYDOWN : WM_KEYDOWN) : ((alt || vk == VK_F10) ? WM_SYSKEYUP : WM_KEYUP);
    taken.wParam = vk;
    taken.lParam = kd;
    taken.pt = GetCursorPos();
    CallGetMessageHooks(taken);
  }
  bool consumed = false;
  if (!down) {
    TMessage m{static_cast<Cardinal>(alt ? WM_SYSKEYUP : WM_KEYUP), vk, kd, 0};
    Guarded(c, [&] { c->WindowProc(m); });
    return host_->surface || m.Result != 0;
  }
  TCustomForm* form = GetParentForm(c);
  // Menu and action shortcuts come before the control sees the key.
  bool shortcut = false;
  Guarded(c, [&] { shortcut = form && vk && form->IsShortCut(vk, ShiftOf(e->modifiers())); });
  if (shortcut) return true;
  TMessage m{static_cast<Cardinal>(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, kd, 0};
  Guarded(c, [&] { c->WindowProc(m); });
  consumed = m.Result != 0;
  if (!consumed && form && (vk == VK_MENU || vk == VK_F10)) {
    // The system keys that open a window's menu reach the form as dialog
    // keys too (a ribbon shows its key tips on them).
    LRESULT r = 0;
    Guarded(form, [&] { r = form->Perform(CM_DIALOGKEY, vk, kd); });
    consumed = r != 0;
  }
  if (!consumed && form && IsDialogKey(vk)) {
    LRESULT code = 0;
    // A control that asks for the special key gets it as an ordinary one.
    Guarded(c, [&] {
      if (c->Perform(CM_WANTSPECIALKEY, vk, kd) != 0)
        code = DLGC_WANTALLKEYS;
      else
        code = c->Perform(WM_GETDLGCODE, vk);
    });
    bool wants = (code & DLGC_WANTALLKEYS) || (vk == VK_TAB && (code & DLGC_WANTTAB)) ||
                 ((vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) && (code & DLGC_WANTARROWS));
    // A native widget uses its own arrow keys.
    bool arrow = vk != VK_TAB && vk != VK_RETURN && vk != VK_ESCAPE;
    if (!wants && !(arrow && !host_->surface)) {
      LRESULT r = 0;
      Guarded(form, [&] { r = form->Perform(CM_DIALOGKEY, vk, kd); });
      consumed = r != 0;
    }
  }
  if (consumed) return true;
  QString text = e->text();
  for (QChar ch : text) {
    TMessage cm{static_cast<Cardinal>(alt ? WM_SYSCHAR : WM_CHAR), ch.unicode(), kd, 0};
    Guarded(c, [&] { c->WindowProc(cm); });
    if (cm.Result == 0 && alt && form) {
      // Alt with a letter presses the control whose caption marks it.
      LRESULT r = 0;
      Guarded(form, [&] { r = form->Perform(CM_DIALOGCHAR, cm.WParam, kd); });
      cm.Result = r;
    }
    if (cm.Result != 0) {
      consumed = true;
    } else if (cm.WParam != ch.unicode() && !host_->surface) {
      // The handler changed the character: the widget gets the new one.
      QKeyEvent replaced(QEvent::KeyPress, e->key(), e->modifiers(), QString(QChar(static_cast<char16_t>(cm.WParam))));
      gInjecting = true;
      QCoreApplication::sendEvent(watched, &replaced);
      gInjecting = false;
      consumed = true;
    }
  }
  return host_->surface || consumed;
}

bool ControlEventFilter::InputMethod(QObject* watched, QInputMethodEvent* e) {
  // An input method's result reaches the control as typed characters, one
  // WM_CHAR per UTF-16 unit, which a handler may drop or change.
  if (gInjecting || e->commitString().isEmpty()) return false;
  TWinControl* c = host_->control;
  QString kept;
  bool changed = false;
  for (QChar ch : e->commitString()) {
    TMessage cm{WM_CHAR, ch.unicode(), 0, 0};
    Guarded(c, [&] { c->WndProc(cm); });
    if (cm.Result != 0 || cm.WParam == 0) {
      changed = true;
      continue;
    }
    if (cm.WParam != ch.unicode()) changed = true;
    kept += QChar(static_cast<char16_t>(cm.WParam));
  }
  if (host_->surface) return true;
  if (!changed) return false;
  QInputMethodEvent replaced(e->preeditString(), e->attributes());
  replaced.setCommitString(kept, e->replacementStart(), e->replacementLength());
  gInjecting = true;
  QCoreApplication::sendEvent(watched, &replaced);
  gInjecting = false;
  return true;
}

bool ControlEventFilter::eventFilter(QObject* watched, QEvent* event) {
  if (host_->dying || !host_->control) return false;
  TWinControl* c = host_->control;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      // Only the control's own widget and what lies inside it: a form also
      // listens to its window frame, for keys.
      auto* w = qobject_cast<QWidget*>(watched);
      if (!c->Enabled() || !host_->widget || !w || (w != host_->widget && !host_->widget->isAncestorOf(w)))
        return false;
      return Mouse(watched, static_cast<QMouseEvent*>(event));
    }
    case QEvent::Wheel: {
      auto* w = static_cast<QWheelEvent*>(event);
      Integer keys = MouseKeysOf(w->buttons(), w->modifiers());
      QPoint g = w->globalPosition().toPoint();
      TMessage m{WM_MOUSEWHEEL, MakeWParam(static_cast<Word>(keys), static_cast<Word>(static_cast<int16_t>(w->angleDelta().y()))),
                 PointToLParam({g.x(), g.y()}), 0};
      Guarded(c, [&] { c->WindowProc(m); });
      return host_->surface || m.Result != 0;
    }
    case QEvent::Resize:
    case QEvent::ChildAdded:
      // The overlay covers the widget and stays above its children.
      if (watched == host_->widget && host_->overlayWidget) host_->UpdateOverlay();
      return false;
    case QEvent::InputMethod: return InputMethod(watched, static_cast<QInputMethodEvent*>(event));
    case QEvent::KeyPress: return Key(watched, static_cast<QKeyEvent*>(event), true);
    case QEvent::KeyRelease: return Key(watched, static_cast<QKeyEvent*>(event), false);
    case QEvent::ShortcutOverride: {
      // Qt asks whether a widget wants a key before its own shortcuts; our
      // shortcuts are routed through the key messages, so keep the key.
      event->accept();
      return false;
    }
    case QEvent::Enter:
      if (watched == host_->widget) Guarded(c, [&] { c->Perform(CM_MOUSEENTER); });
      return false;
    case QEvent::Leave:
      if (watched == host_->widget) Guarded(c, [&] { c->Perform(CM_MOUSELEAVE); });
      return false;
    case QEvent::FocusIn:
      Guarded(c, [&] { c->Perform(WM_SETFOCUS); });
      return false;
    case QEvent::FocusOut:
      Guarded(c, [&] { c->Perform(WM_KILLFOCUS); });
      return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      // Files from the desktop, for a control that accepts them.
      auto* d = static_cast<QDropEvent*>(event);
      if (watched != host_->widget || !host_->widget->acceptDrops() || !d->mimeData() || !d->mimeData()->hasUrls())
        return false;
      if (event->type() != QEvent::Drop) {
        d->acceptProposedAction();
        return true;
      }
      TDroppedFiles files;
      for (const QUrl& url : d->mimeData()->urls())
        if (url.isLocalFile()) files.Names.push_back(url.toLocalFile().toStdString());
      if (files.Names.empty()) return false;
      d->acceptProposedAction();
      Guarded(c, [&] { c->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(static_cast<void*>(&files)), 0); });
      return true;
    }
    case QEvent::ContextMenu: {
      auto* cm = static_cast<QContextMenuEvent*>(event);
      LPARAM pos = cm->reason() == QContextMenuEvent::Keyboard ? MakeLParam(0xFFFF, 0xFFFF)
                                                               : PointToLParam({cm->globalPos().x(), cm->globalPos().y()});
      LRESULT r = 0;
      Guarded(c, [&] { r = c->Perform(WM_CONTEXTMENU, host_->handle, pos); });
      return r != 0 || host_->surface;
    }
    default: return false;
  }
}

}  // namespace vcl
