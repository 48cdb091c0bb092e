// Pop-up forms: their window kind, their own deactivation and the grip's
// resize.
#include "vcl/PopupWindow.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "vcl/Messages.h"
#include "vcl/QtHost.h"

namespace vcl {

// One watcher for all open pop-ups: it sees every press in the application
// before its receiver and follows the active window.
class PopupWatcher : public QObject {
 public:
  static PopupWatcher& Instance() {
    static auto* watcher = new PopupWatcher;
    return *watcher;
  }

  void Add(TPopupForm* popup) {
    if (std::find(popups_.begin(), popups_.end(), popup) == popups_.end()) popups_.push_back(popup);
    if (!installed_) {
      installed_ = true;
      qApp->installEventFilter(this);
      focusConnection_ = QObject::connect(qApp, &QGuiApplication::focusWindowChanged, this,
                                          [this](QWindow* w) { FocusMoved(w); });
      stateConnection_ = QObject::connect(qApp, &QGuiApplication::applicationStateChanged, this,
                                          [this](Qt::ApplicationState s) {
                                            if (s != Qt::ApplicationActive) DeactivateAll();
                                          });
    }
  }
  void Remove(TPopupForm* popup) {
    std::erase(popups_, popup);
    if (popups_.empty() && installed_) {
      installed_ = false;
      qApp->removeEventFilter(this);
      QObject::disconnect(focusConnection_);
      QObject::disconnect(stateConnection_);
    }
  }

 protected:
  bool eventFilter(QObject* receiver, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::NonClientAreaMouseButtonPress: {
        // Widgets get the press after their window; one look per press.
        auto* widget = qobject_cast<QWidget*>(receiver);
        if (!widget) break;
        QWindow* window = widget->window()->windowHandle();
        for (TPopupForm* p : Snapshot())
          if (Alive(p) && !p->gripTracking_ && !p->OwnsWindow(window)) p->Deactivate();
        break;
      }
      case QEvent::MouseMove:
        if (auto* tracking = Tracking(); tracking && qobject_cast<QWidget*>(receiver)) {
          auto* me = static_cast<QMouseEvent*>(e);
          QPoint g = me->globalPosition().toPoint();
          tracking->TrackMove({g.x(), g.y()});
          return true;
        }
        break;
      case QEvent::MouseButtonRelease:
        if (auto* tracking = Tracking(); tracking && qobject_cast<QWidget*>(receiver)) {
          auto* me = static_cast<QMouseEvent*>(e);
          QPoint g = me->globalPosition().toPoint();
          tracking->TrackMove({g.x(), g.y()});
          tracking->EndTracking();
          return true;
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  std::vector<TPopupForm*> Snapshot() const { return popups_; }
  bool Alive(TPopupForm* p) const { return std::find(popups_.begin(), popups_.end(), p) != popups_.end(); }
  TPopupForm* Tracking() const {
    for (TPopupForm* p : popups_)
      if (p->gripTracking_) return p;
    return nullptr;
  }
  void FocusMoved(QWindow* window) {
    for (TPopupForm* p : Snapshot()) {
      if (!Alive(p) || !p->activeSeen_) continue;
      // No window at all: the application itself lost activation.
      if (!window || !p->OwnsWindow(window)) p->Deactivate();
    }
  }
  void DeactivateAll() {
    for (TPopupForm* p : Snapshot())
      if (Alive(p)) p->Deactivate();
  }

  std::vector<TPopupForm*> popups_;
  bool installed_ = false;
  QMetaObject::Connection focusConnection_;
  QMetaObject::Connection stateConnection_;
};

TPopupForm::TPopupForm(TComponent* owner) : TCustomForm(owner, 0) { SetBorderStyle(bsNone); }

TPopupForm::~TPopupForm() {
  if (gripTracking_) EndTracking();
  PopupWatcher::Instance().Remove(this);
}

void TPopupForm::SetPopupParent(TWinControl* control) {
  popupParent_ = control;
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  SetOwnerWindow(form && form != this ? form->Handle() : 0);
}

void TPopupForm::ShowPopup() {
  QWidget* frame = WindowWidget();
  Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  if (!dropShadow_) flags |= Qt::NoDropShadowWindowHint;
  if (frame->windowFlags() != flags) {
    bool visible = frame->isVisible();
    frame->setWindowFlags(flags);
    if (visible) frame->show();
  }
  activeSeen_ = false;
  watching_ = true;
  PopupWatcher::Instance().Add(this);
  if (Visible()) {
    frame->raise();
    frame->activateWindow();
  } else {
    SetVisible(true);
  }
  // Already the active window: no new activation will say so.
  if (Active()) activeSeen_ = true;
}

void TPopupForm::HidePopup() {
  watching_ = false;
  if (gripTracking_) EndTracking();
  PopupWatcher::Instance().Remove(this);
  if (Visible()) SetVisible(false);
}

bool TPopupForm::OwnsWindow(QWindow* window) const {
  if (!window) return false;
  QWidget* frame = const_cast<TPopupForm*>(this)->WindowWidget();
  QWindow* mine = frame->windowHandle();
  // Menus and hints belong to whoever opened them, which while the pop-up
  // is active is the pop-up.
  Qt::WindowType type = window->type();
  if (type == Qt::Popup || type == Qt::ToolTip) return true;
  for (QWindow* w = window; w; w = w->transientParent())
    if (w == mine) return true;
  return false;
}

void TPopupForm::Deactivate() {
  if (!watching_) return;
  watching_ = false;
  PopupWatcher::Instance().Remove(this);
  ownDeactivate_ = true;
  Perform(WM_ACTIVATE, WA_INACTIVE);
  ownDeactivate_ = false;
  // The owner form's caption follows the real active window again.
  if (auto* owner = dynamic_cast<TCustomForm*>(FindControl(OwnerWindow())))
    owner->Perform(WM_NCACTIVATE, owner->Active() ? 1 : 0);
  if (OnPopupDeactivate) OnPopupDeactivate(this);
}

void TPopupForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_ACTIVATE:
      if ((message.WParam & 0xFFFF) == static_cast<WPARAM>(WA_INACTIVE)) {
        // The window system's loss of activation is not ours: a menu or hint
        // opened from the pop-up takes it too. Our own verdict comes
        // through Deactivate.
        if (!ownDeactivate_) {
          message.Result = 0;
          return;
        }
      } else if (watching_) {
        activeSeen_ = true;
        // Keep the owner form's caption active while its pop-up is.
        if (auto* owner = dynamic_cast<TCustomForm*>(FindControl(OwnerWindow())))
          owner->Perform(WM_NCACTIVATE, 1);
      }
      break;
    case WM_NCLBUTTONDOWN:
      if (static_cast<Integer>(message.WParam) == HT_BOTTOMRIGHT_CORNER) {
        StartGripResize();
        message.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  TCustomForm::WndProc(message);
}

void TPopupForm::StartGripResize() {
  QWidget* frame = WindowWidget();
  if (!frame->isVisible()) return;
  QWindow* window = frame->windowHandle();
  if (window && window->startSystemResize(Qt::BottomEdge | Qt::RightEdge)) return;
  // The platform refused: follow the mouse ourselves until the release.
  QPoint g = QCursor::pos();
  trackStart_ = {g.x(), g.y()};
  trackStartSize_ = {Width(), Height()};
  gripTracking_ = true;
  PopupWatcher::Instance().Add(this);
  frame->grabMouse();
}

void TPopupForm::TrackMove(TPoint screen) {
  if (!gripTracking_) return;
  Integer w = std::max(minTrack_.cx, trackStartSize_.cx + screen.X - trackStart_.X);
  Integer h = std::max(minTrack_.cy, trackStartSize_.cy + screen.Y - trackStart_.Y);
  if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
}

void TPopupForm::EndTracking() {
  gripTracking_ = false;
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (!watching_) PopupWatcher::Instance().Remove(this);
  if (OnGripResized) OnGripResized(this);
}

std::vector<TScreenArea> ScreenAreas() {
  std::vector<TScreenArea> areas;
  for (QScreen* s : QGuiApplication::screens()) {
    QRect g = s->geometry();
    QRect a = s->availableGeometry();
    areas.push_back({Bounds(g.x(), g.y(), g.width(), g.height()), Bounds(a.x(), a.y(), a.width(), a.height())});
  }
  return areas;
}

TRect PrimaryWorkArea() {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {};
  QRect a = s->availableGeometry();
  return Bounds(a.x(), a.y(), a.width(), a.height());
}

}  // namespace vcl
