#include "vcl/Forms.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QFontDatabase>
#include <QMenuBar>
#include <QResizeEvent>
#include <algorithm>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QPixmap>
#include <atomic>
#include <map>
#include <cstdlib>

#include "rtl/Clock.h"
#include "rtl/MessagePump.h"
#include "rtl/Threads.h"
#include "vcl/ActnList.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Menus.h"
#include "vcl/QtHost.h"
#include "vcl/QtMenus.h"
#include "vcl/SystemMenu.h"
#include "vcl/WinApi.h"

namespace vcl {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void InitApplication() {
  if (!QApplication::instance()) {
    // Without a display the windows live off screen (tests, headless runs).
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "tolvane";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
    ApplyDesktopLook();
  }
  if (!Application) {
    Application = new TApplication(nullptr);
    Application->Initialize();
  }
  if (!Screen) Screen = new TScreen(nullptr);
}

void HandleQtEntryException(TObject* sender) {
  if (Application) {
    Application->HandleException(sender);
    return;
  }
}

void Free(TObject* object) {
  if (!object) return;
  object->BeforeDestruction();
  delete object;
}

// ---------------------------------------------------------------- frame

// The top-level window of a form: it carries the menu bar and the form's
// client area, and reports resizing, closing and activation to the form.
class FormFrame : public QWidget {
 public:
  explicit FormFrame(TCustomForm* form) : form_(form) {}
  void Detach() { form_ = nullptr; }

 protected:
  void resizeEvent(QResizeEvent* e) override {
    if (form_) Guarded(form_, [&] { form_->FrameResized(e->size().width(), e->size().height()); });
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    if (form_) Guarded(form_, [&] { form_->FrameCloseRequested(); });
  }
  void moveEvent(QMoveEvent*) override {
    if (form_) Guarded(form_, [&] { form_->FrameMoved(geometry().x(), geometry().y()); });
  }
  void changeEvent(QEvent* e) override {
    if (form_ && e->type() == QEvent::ActivationChange)
      Guarded(form_, [&] { form_->ActivateChanged(isActiveWindow()); });
    if (form_ && e->type() == QEvent::WindowStateChange) {
      const Qt::WindowStates s = windowState();
      const TWindowState state = s & Qt::WindowMinimized                              ? wsMinimized
                                 : s & (Qt::WindowMaximized | Qt::WindowFullScreen) ? wsMaximized
                                                                                     : wsNormal;
      Guarded(form_, [&] { form_->FrameStateChanged(state); });
    }
    QWidget::changeEvent(e);
  }

 private:
  TCustomForm* form_;  // owns this frame
};

// ----------------------------------------------------------- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TCustomForm(owner, 0) { BeginLoad(); }

TCustomForm::TCustomForm(TComponent* owner, Integer) : TWinControl(owner) {
  InitApplication();
  TControl::SetVisible(false);
  SetColor(clBtnFace);
  TControl::SetBounds(0, 0, 320, 240);
  Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
  BeforeDestruction();  // for a form deleted without vcl::Free
  if (Screen) {
    auto& f = Screen->forms_;
    f.erase(std::remove(f.begin(), f.end(), this), f.end());
  }
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  activeControl_ = nullptr;
  // The controls go first (their widgets live in the frame), then the frame.
  DestroyComponents();
  while (ControlCount() > 0) Free(Controls(ControlCount() - 1));
  if (auto* f = static_cast<FormFrame*>(frame_)) {
    f->Detach();
    f->hide();
  }
  DestroyHandle();
  delete frame_;
  frame_ = nullptr;
}

void TCustomForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  if (Loading()) EndLoad();
  DoCreate();
}

void TCustomForm::BeforeDestroy() {
  if (!destroyFired_) {
    destroyFired_ = true;
    if (OnDestroy) OnDestroy(this);
  }
  TWinControl::BeforeDestroy();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

QWidget* TCustomForm::CreateWidget() {
  auto* frame = new FormFrame(this);
  frame_ = frame;
  frame->setWindowTitle(QString::fromStdString(Caption()));
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  auto* client = new SurfaceWidget(Host(), frame);
  ApplyBorderStyle();
  RebuildMenuBar();
  return client;
}

void TCustomForm::InitWidget() {
  // Keys typed while nothing inside has the focus go to the window itself.
  Host()->Watch(frame_);
}

int TCustomForm::MenuBarHeight() const { return menuBar_ ? menuBar_->sizeHint().height() : 0; }

TRect TCustomForm::ClientRect() const { return Rect(0, 0, Width(), std::max(0, Height() - MenuBarHeight())); }

TPoint TCustomForm::ClientOrigin() const {
  // Where the client area really is once the window exists: the window
  // manager's frame lies between the form's corner and it.
  if (Host() && Host()->widget && frame_ && frame_->isVisible()) {
    QPoint p = Host()->widget->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
  }
  return {Left(), Top() + MenuBarHeight()};
}

bool TCustomForm::Showing() const { return Visible(); }

void TCustomForm::SetParent(TWinControl* parent) {
  if (parent) throw EInvalidOperation("A form cannot be placed inside another control");
}

void TCustomForm::PlaceWidget() { PlaceWindow(); }

void TCustomForm::PlaceWindow() {
  if (!frame_ || syncingFrame_) return;
  syncingFrame_ = true;
  int menuH = MenuBarHeight();
  if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
    frame_->setMinimumSize(0, 0);
    frame_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    frame_->setFixedSize(std::max(1, Width()), std::max(1, Height()));
  }
  frame_->setGeometry(Left(), Top(), std::max(1, Width()), std::max(1, Height()));
  if (menuBar_) menuBar_->setGeometry(0, 0, Width(), menuH);
  if (Host() && Host()->widget) Host()->widget->setGeometry(0, menuH, Width(), std::max(0, Height() - menuH));
  syncingFrame_ = false;
}

void TCustomForm::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  TWinControl::SetBounds(left, top, width, height);
  if (Host() && Host()->surface) Host()->SizeBuffer(ClientWidth(), ClientHeight());
}

void TCustomForm::FrameResized(int width, int height) {
  if (syncingFrame_) return;
  if (width == Width() && height == Height()) return;
  syncingFrame_ = true;
  TWinControl::SetBounds(Left(), Top(), width, height);
  syncingFrame_ = false;
  PlaceWindow();
  if (Host()) Host()->SizeBuffer(ClientWidth(), ClientHeight());
}

void TCustomForm::FrameMoved(int x, int y) {
  // Our own placing of the window, or its pending move delivered at show,
  // moves it where the form already is.
  if (syncingFrame_ || (x == Left() && y == Top())) return;
  // The window manager has moved the window already: a handler may read
  // the new place from the rectangle, but changing it moves nothing.
  TRect moving = Bounds(x, y, Width(), Height());
  Perform(WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving));
  syncingFrame_ = true;
  TWinControl::SetBounds(x, y, Width(), Height());
  syncingFrame_ = false;
  const TPoint client = ClientOrigin();
  Perform(WM_MOVE, 0, PointToLParam(client));
}

void TCustomForm::FrameStateChanged(TWindowState state) {
  // SetWindowState records the state before Qt reports it: only a change
  // made by the window manager (its buttons, its keys) arrives as the
  // system command the desktop would send for it. Qt reports it once the
  // window has its new place and size.
  if (state == windowState_) return;
  windowState_ = state;
  const WPARAM command = state == wsMaximized ? SC_MAXIMIZE : state == wsMinimized ? SC_MINIMIZE : SC_RESTORE;
  Perform(WM_SYSCOMMAND, command, 0);
}

void TCustomForm::FrameCloseRequested() {
  // The window manager's close request is the desktop's Alt+F4: a shortcut
  // that takes Alt+F4 decides, else the form closes.
  if (IsShortCut(VK_F4, TShiftState{ssAlt})) return;
  Perform(WM_CLOSE);
}

Integer TCustomForm::AddResizeListener(TResizeListener listener) {
  const Integer id = nextResizeListener_++;
  resizeListeners_.emplace_back(id, std::move(listener));
  return id;
}

void TCustomForm::RemoveResizeListener(Integer id) {
  std::erase_if(resizeListeners_, [id](const auto& entry) { return entry.first == id; });
}

void TCustomForm::Resize() {
  // A listener may take itself or another off while it runs: each id is
  // looked up again before its call.
  std::vector<Integer> ids;
  for (const auto& entry : resizeListeners_) ids.push_back(entry.first);
  for (Integer id : ids) {
    auto it = std::find_if(resizeListeners_.begin(), resizeListeners_.end(),
                           [id](const auto& entry) { return entry.first == id; });
    if (it == resizeListeners_.end()) continue;
    TResizeListener listener = it->second;
    listener(this);
  }
  TWinControl::Resize();
}

void TCustomForm::ActivateChanged(bool active) {
  Perform(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE);
  Perform(active ? CM_ACTIVATE : CM_DEACTIVATE);
  if (active) {
    if (activeControl_ && activeControl_->HandleAllocated()) activeControl_->Widget()->setFocus();
    if (OnActivate) OnActivate(this);
  } else if (OnDeactivate) {
    OnDeactivate(this);
  }
}

bool TCustomForm::Active() const { return frame_ && frame_->isActiveWindow(); }

void TCustomForm::SetText(const AnsiString& s) {
  TWinControl::SetText(s);
  if (frame_) frame_->setWindowTitle(QString::fromStdString(s));
}

void TCustomForm::ApplyBorderStyle() {
  if (!frame_) return;
  Qt::WindowFlags flags = Qt::Window;
  switch (borderStyle_) {
    case bsNone: flags |= Qt::FramelessWindowHint; break;
    case bsDialog: flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    case bsToolWindow:
    case bsSizeToolWin: flags = Qt::Tool; break;
    default: break;
  }
  if (!titleBar_) {
    flags |= Qt::FramelessWindowHint;
  } else if (borderStyle_ != bsNone && borderIcons_ != TBorderIcons{biSystemMenu, biMinimize, biMaximize}) {
    // Only the buttons asked for.
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags &= ~(Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
               Qt::WindowContextHelpButtonHint);
    if (borderIcons_.Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    bool sizing = borderStyle_ == bsSizeable || borderStyle_ == bsSingle;
    if (sizing && borderIcons_.Contains(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (sizing && borderIcons_.Contains(biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
    if (borderIcons_.Contains(biHelp)) flags |= Qt::WindowContextHelpButtonHint;
  }
  // A topmost window stays above every other window, not only its owner's.
  if (WindowExStyle() & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  if (frame_->windowFlags() == flags) return;
  bool visible = frame_->isVisible();
  frame_->setWindowFlags(flags);
  ApplyOwnerWindow();
  if (visible) frame_->show();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
  borderStyle_ = s;
  titleBar_ = s != bsNone;
  if (HandleAllocated()) {
    Cardinal style = WindowStyle() & ~WS_CAPTION;
    SetWindowStyle(titleBar_ ? style | WS_CAPTION : style);
    Cardinal ex = WindowExStyle() & ~WS_EX_TOOLWINDOW;
    SetWindowExStyle(s == bsToolWindow || s == bsSizeToolWin ? ex | WS_EX_TOOLWINDOW : ex);
  }
  ApplyBorderStyle();
  PlaceWindow();
}

void TCustomForm::SetBorderIcons(const TBorderIcons& icons) {
  borderIcons_ = icons;
  ApplyBorderStyle();
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WS_POPUP | (titleBar_ ? WS_CAPTION : 0);
  params.ExStyle = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin ? WS_EX_TOOLWINDOW : 0;
}

void TCustomForm::SetOwnerWindow(HWND owner) {
  if (owner == ownerWindow_) return;
  ownerWindow_ = owner;
  ApplyOwnerWindow();
}

void TCustomForm::ApplyOwnerWindow() {
  if (!frame_) return;
  QWindow* mine = frame_->windowHandle();
  if (!mine) return;
  QWindow* owner = nullptr;
  if (auto* form = dynamic_cast<TCustomForm*>(FindControl(ownerWindow_)); form && form != this && form->frame_)
    owner = form->frame_->windowHandle();
  mine->setTransientParent(owner);
}

void TCustomForm::SetWindowState(TWindowState s) {
  windowState_ = s;
  if (!frame_) return;
  if (s == wsMaximized)
    frame_->setWindowState(Qt::WindowMaximized);
  else if (s == wsMinimized)
    frame_->setWindowState(Qt::WindowMinimized);
  else
    frame_->setWindowState(Qt::WindowNoState);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  if (c == activeControl_) return;
  if (c && !Destroying() && Visible() && c->CanFocus()) {
    c->SetFocus();
    return;
  }
  activeControl_ = c;
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == activeControl_ || Destroying()) return;
  TWinControl* old = activeControl_;
  activeControl_ = control;
  // The nearest parent both share does not change.
  TWinControl* common = nullptr;
  for (TWinControl* p = control; p; p = p->Parent())
    if (old && (p == old || p->ContainsControl(old))) {
      common = p;
      break;
    }
  for (TWinControl* p = old; p && p != common && p != this; p = p->Parent()) p->Perform(CM_EXIT);
  std::vector<TWinControl*> entering;
  for (TWinControl* p = control; p && p != common && p != this; p = p->Parent()) entering.push_back(p);
  for (auto it = entering.rbegin(); it != entering.rend(); ++it) {
    if (activeControl_ != control) return;  // a handler moved the focus on
    (*it)->Perform(CM_ENTER);
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::SetVisible(bool v) {
  if (v == Visible()) return;
  if (v) {
    HandleNeeded();
    if (!created_) AfterConstruction();
    if (!placed_) {
      placed_ = true;
      TRect area = Screen->WorkAreaRect();
      TCustomForm* over = nullptr;
      if (position_ == poMainFormCenter && Application->MainForm() != this) over = Application->MainForm();
      if (position_ == poOwnerFormCenter) over = dynamic_cast<TCustomForm*>(Owner());
      if (over && over->Visible())
        SetBounds(over->Left() + (over->Width() - Width()) / 2, over->Top() + (over->Height() - Height()) / 2,
                  Width(), Height());
      else if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
               position_ == poOwnerFormCenter)
        SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
                  Height());
    }
    DoShow();
    TControl::SetVisible(true);
    PlaceWindow();
    frame_->show();
    ApplyOwnerWindow();
    frame_->raise();
    frame_->activateWindow();
    if (!activeControl_) {
      if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
    } else if (activeControl_->HandleAllocated()) {
      activeControl_->Widget()->setFocus();
    }
  } else {
    TControl::SetVisible(false);
    if (frame_) frame_->hide();
    DoHide();
  }
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
  HandleNeeded();
  modal_ = true;
  modalResult_ = mrNone;
  frame_->setWindowModality(Qt::ApplicationModal);
  struct Restore {
    TCustomForm* f;
    ~Restore() {
      f->modal_ = false;
      if (f->frame_) f->frame_->setWindowModality(Qt::NonModal);
    }
  } restore{this};
  SetVisible(true);
  for (;;) {
    Application->HandleMessage();
    if (Application->Terminated()) modalResult_ = mrCancel;
    if (modalResult_ == mrNone) continue;
    // The form may still refuse to close.
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone) {
      if (!Application->Terminated()) {
        modalResult_ = mrNone;
        continue;
      }
    }
    TModalResult result = modalResult_;
    SetVisible(false);
    if (action == caFree) Release();
    return result;
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  switch (action) {
    case caNone: return;
    case caFree:
      SetVisible(false);
      Release();
      return;
    case caMinimize: SetWindowState(wsMinimized); return;
    default: SetVisible(false);
  }
  if (Application && Application->MainForm() == this) Application->Terminate();
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE); }

void TCustomForm::BringToFront() {
  if (frame_) {
    frame_->raise();
    frame_->activateWindow();
  }
}

bool TCustomForm::IsShortCut(Word key, TShiftState shift) {
  if (OnShortCut) {
    TMessage m{WM_KEYDOWN, key, 0, 0};
    bool handled = false;
    OnShortCut(m, handled);
    if (handled) return true;
  }
  if (menu_ && menu_->IsShortCut(key, shift)) return true;
  // The action lists on this form, its frames' included, in creation order.
  std::vector<TActionList*> lists;
  std::function<void(TComponent*)> collect = [&](TComponent* owner) {
    for (Integer i = 0; i < owner->ComponentCount(); ++i) {
      TComponent* c = owner->Components(i);
      if (auto* l = dynamic_cast<TActionList*>(c)) lists.push_back(l);
      if (dynamic_cast<TFrame*>(c)) collect(c);
    }
  };
  collect(this);
  for (TActionList* l : lists)
    if (l->IsShortCut(key, shift)) return true;
  return false;
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY: {
      Word vk = static_cast<Word>(m.WParam);
      if (vk == VK_TAB) {
        bool back = GetKeyState(VK_SHIFT) < 0;
        SelectNext(activeControl_, !back, true);
        m.Result = 1;
        return;
      }
      TWinControl::Dispatch(m);
      return;
    }
    case WM_CLOSE: Close(); return;
    case WM_SYSCOMMAND:
      // The window menu's Move (and a title-bar stand-in's drag, which
      // sets a low bit): the window system moves the form with the mouse.
      if ((m.WParam & 0xFFF0) == SC_MOVE) {
        StartSystemMove(this);
        return;
      }
      TWinControl::Dispatch(m);
      return;
    case CM_RELEASE: Free(this); return;
    case WM_STYLECHANGED:
      // The caption bits decide the title bar, the topmost bit whether the
      // window stays above all others.
      if (static_cast<intptr_t>(m.WParam) == -16) {
        auto* change = reinterpret_cast<const STYLESTRUCT*>(m.LParam);
        bool title = (change->styleNew & WS_CAPTION) != 0;
        if (title != titleBar_) {
          titleBar_ = title;
          ApplyBorderStyle();
          PlaceWindow();
        }
      }
      if (static_cast<intptr_t>(m.WParam) == -20) {
        auto* change = reinterpret_cast<const STYLESTRUCT*>(m.LParam);
        if ((change->styleNew ^ change->styleOld) & WS_EX_TOPMOST) ApplyBorderStyle();
      }
      TWinControl::Dispatch(m);
      return;
    default: TWinControl::Dispatch(m);
  }
}

void TCustomForm::SetMenu(TMainMenu* m) {
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = m;
  if (m) m->FreeNotification(this);
  RebuildMenuBar();
}

void TCustomForm::RebuildMenuBar() {
  if (!frame_) return;
  int before = MenuBarHeight();
  if (!menu_) {
    delete menuBar_;
    menuBar_ = nullptr;
  } else {
    menuBar_ = MakeMenuBar(menuBar_, menu_, frame_, this);
    menuBar_->show();
  }
  // The window keeps its client area; it grows by the menu bar.
  int after = MenuBarHeight();
  if (after != before) {
    TWinControl::SetBounds(Left(), Top(), Width(), Height() + after - before);
  }
  PlaceWindow();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove) {
    if (component == menu_) {
      menu_ = nullptr;
      if (!Destroying()) RebuildMenuBar();
    }
    if (component == activeControl_) activeControl_ = nullptr;
  }
}

QWidget* TCustomForm::WindowWidget() {
  HandleNeeded();
  return frame_;
}

bool TCustomForm::SaveWindowImage(const AnsiString& fileName) {
  HandleNeeded();
  Update();
  QPixmap pix = frame_->grab();
  return pix.save(QString::fromStdString(fileName), "PNG");
}

// ---------------------------------------------------------------- TFrame

TFrame::TFrame(TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetColor(clBtnFace);
  SetParentColor(true);
  TControl::SetBounds(0, 0, 320, 240);
  tabStop_ = true;
  BeginLoad();
}

void TFrame::AfterConstruction() {
  if (Loading()) EndLoad();
}

// ---------------------------------------------------------- TApplication

// The Qt objects behind the loop: an object whose events wake the loop and
// run queued work, and a timer that fires TTimers while Qt runs a loop of
// its own (menus, native dialogs).
struct TApplication::Loop {
  class Waker : public QObject {
   public:
    std::atomic<bool> pending{false};
    bool event(QEvent* e) override {
      if (e->type() != QEvent::User) return QObject::event(e);
      pending = false;
      try {
        DispatchQueuedMessages();
        rtl::CheckSynchronize(0);
      } catch (...) {
        HandleQtEntryException(Application);
      }
      return true;
    }
  };
  Waker waker;
  QTimer pump;
};

TApplication::TApplication(TComponent* owner) : TComponent(owner), title_("tolvane") {}

TApplication::~TApplication() {
  rtl::SetProcessMessagesHandler({});
  rtl::SetWakeMainThread({});
  SetMessageQueueWake({});
}

void TApplication::Initialize() {
  if (loop_) return;
  loop_ = std::make_unique<Loop>();
  Loop* loop = loop_.get();
  auto wake = [loop] {
    if (!loop->waker.pending.exchange(true)) QCoreApplication::postEvent(&loop->waker, new QEvent(QEvent::User));
  };
  rtl::SetWakeMainThread(wake);
  SetMessageQueueWake(wake);
  // Waiting loops below this layer pump through the application.
  rtl::SetProcessMessagesHandler([this] { ProcessMessages(); });
  loop->pump.setInterval(10);
  QObject::connect(&loop->pump, &QTimer::timeout, &loop->waker, [this] {
    try {
      FireDueTimers();
    } catch (...) {
      HandleException(this);
    }
  });
}

const AnsiString& TApplication::ExeName() const {
  static AnsiString name = QCoreApplication::applicationFilePath().toStdString();
  return name;
}

bool TApplication::ProcessWaiting() {
  bool any = false;
  if (auto* d = QCoreApplication::eventDispatcher()) any = d->processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  try {
    any = DispatchQueuedMessages() || any;
    any = rtl::CheckSynchronize(0) || any;
    any = FireDueTimers() || any;
  } catch (...) {
    HandleException(this);
  }
  return any;
}

void TApplication::ProcessMessages() {
  InitApplication();
  ProcessWaiting();
}

void TApplication::Wait() {
  if (QueuedMessagesWaiting()) return;
  if (auto* d = QCoreApplication::eventDispatcher()) {
    // Wake for the next timer; a clock that does not run by itself is
    // looked at again soon.
    int waitMs = -1;
    if (hintControl_ && !hintDone_) waitMs = 10;
    uint64_t next = NextWindowTimerDue();
    for (TTimer* t : timers_) next = std::min(next, t->NextDue());
    if (next != UINT64_MAX) {
      auto clock = rtl::CurrentClock();
      uint64_t now = clock->MonotonicMs();
      int due = clock->RealTime() ? static_cast<int>(next > now ? std::min<uint64_t>(next - now, 1000) : 0) : 10;
      waitMs = waitMs < 0 ? due : std::min(waitMs, due);
    }
    if (waitMs == 0) return;
    if (waitMs > 0) QTimer::singleShot(waitMs, &loop_->waker, [] {});
    d->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

void TApplication::HandleMessage() {
  InitApplication();
  if (ProcessWaiting()) return;
  if (Idle()) Wait();
}

bool TApplication::Idle() {
  bool done = true;
  try {
    for (TActionList* l : std::vector<TActionList*>(actionLists_)) {
      TCustomForm* form = nullptr;
      for (TComponent* o = l->Owner(); o; o = o->Owner())
        if ((form = dynamic_cast<TCustomForm*>(o))) break;
      if (!form || form->Visible()) l->UpdateActions();
    }
    if (OnIdle) OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  return done;
}

void TApplication::Run() {
  InitApplication();
  if (mainForm_) mainForm_->Show();
  while (!terminated_) {
    HandleMessage();
    if (mainForm_ && !mainForm_->Visible()) terminated_ = true;
  }
}

void TApplication::Terminate() { terminated_ = true; }

bool TApplication::Active() const { return QApplication::activeWindow() != nullptr; }

void TApplication::HandleException(TObject* sender) {
  try {
    throw;
  } catch (rtl::EAbort&) {
    return;  // a silent exception
  } catch (rtl::Exception& e) {
    if (OnException)
      OnException(sender, e);
    else
      ShowException(e);
  } catch (std::exception& e) {
    rtl::Exception wrapped(e.what());
    if (OnException)
      OnException(sender, wrapped);
    else
      ShowException(wrapped);
  } catch (...) {
    rtl::Exception wrapped("Unknown exception");
    if (OnException)
      OnException(sender, wrapped);
    else
      ShowException(wrapped);
  }
}

void TApplication::ShowException(const rtl::Exception& e) {
  AnsiString msg = e.Message();
  if (!msg.empty() && msg.back() > '.') msg += '.';
  MessageBox(msg, title_, MB_OK | MB_ICONSTOP);
}

Integer TApplication::MessageBox(const AnsiString& text, const AnsiString& caption, Cardinal flags) {
  return ShowMessageBox(text, caption.empty() ? title_ : caption, flags);
}

void TApplication::AddActionList(TActionList* list) { actionLists_.push_back(list); }
void TApplication::RemoveActionList(TActionList* list) {
  actionLists_.erase(std::remove(actionLists_.begin(), actionLists_.end(), list), actionLists_.end());
}

void TApplication::AddTimer(TTimer* timer) {
  if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) timers_.push_back(timer);
  UpdatePump();
}

void TApplication::RemoveTimer(TTimer* timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
  UpdatePump();
}

void TApplication::UpdatePump() {
  if (!loop_) return;
  bool needed = !timers_.empty() || hintControl_ || NextWindowTimerDue() != UINT64_MAX;
  if (needed && !loop_->pump.isActive()) loop_->pump.start();
  if (!needed && loop_->pump.isActive()) loop_->pump.stop();
}

// ------------------------------------------------------------------ hints

AnsiString GetShortHint(const AnsiString& hint) {
  auto bar = hint.find('|');
  return bar == AnsiString::npos ? hint : hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& hint) {
  auto bar = hint.find('|');
  return bar == AnsiString::npos ? hint : hint.substr(bar + 1);
}

void TApplication::SetShowHint(bool v) {
  showHint_ = v;
  if (!v) CancelHint();
}

void TApplication::SetHint(const AnsiString& h) {
  if (h == hint_) return;
  hint_ = h;
  if (OnHint) OnHint(this);
}

void TApplication::HintMouseMessage(TControl* control, TPoint clientPos) {
  TControl* target = control;
  while (target && target->Hint().empty()) target = target->Parent();
  SetHint(target ? GetLongHint(target->Hint()) : AnsiString());
  if (!showHint_ || !target || !target->ShowHint()) target = nullptr;
  hintCursor_ = control->ClientToScreen(clientPos);
  if (target == hintControl_) return;
  CancelHint();
  if (hintControl_) RemoveFreeNotification(hintControl_);
  hintControl_ = target;
  hintDone_ = false;
  if (target) {
    target->FreeNotification(this);
    hintStart_ = rtl::GetTickCount64();
  }
  UpdatePump();
}

void TApplication::HintMouseLeave(TControl* control) {
  if (!hintControl_ || !(control == hintControl_ ||
                         (dynamic_cast<TWinControl*>(control) &&
                          static_cast<TWinControl*>(control)->ContainsControl(hintControl_))))
    return;
  CancelHint();
  RemoveFreeNotification(hintControl_);
  hintControl_ = nullptr;
  SetHint("");
  UpdatePump();
}

void TApplication::CancelHint() {
  if (hintWindow_) hintWindow_->ReleaseHandle();
  if (hintShown_ || hintControl_) hintDone_ = true;
  hintShown_ = false;
}

bool TApplication::CheckHint(uint64_t now) {
  if (!hintControl_ || hintDone_) return false;
  if (!hintShown_ && now >= hintStart_ + hintPause_) {
    ActivateHintFor(hintControl_);
    return true;
  }
  if (hintShown_ && hintHideAt_ != 0 && now >= hintHideAt_) {
    CancelHint();
    return true;
  }
  return false;
}

void TApplication::ActivateHintFor(TControl* control) {
  THintInfo info;
  info.HintControl = control;
  info.CursorPos = hintCursor_;
  info.CursorRect = control->ClientRect();
  info.HintPos = {hintCursor_.X, hintCursor_.Y + 20};  // below the arrow cursor
  info.HintMaxWidth = Screen ? Screen->Width() : 640;
  info.HintStr = GetShortHint(control->Hint());
  info.HintColor = hintColor_;
  info.HideTimeout = static_cast<Integer>(hintHidePause_);
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty()) {
    hintDone_ = true;
    return;
  }
  if (info.HintWindowClass) {
    // A window of the control's own kind for this hint.
    if (hintWindow_) Free(hintWindow_);
    hintWindow_ = info.HintWindowClass(this);
  } else if (!hintWindow_ || hintWindowCustom_) {
    if (hintWindow_) Free(hintWindow_);
    hintWindow_ = new THintWindow(this);
  }
  hintWindowCustom_ = static_cast<bool>(info.HintWindowClass);
  hintWindow_->SetColor(info.HintColor);
  TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr);
  OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  hintWindow_->ActivateHint(r, info.HintStr);
  hintShown_ = true;
  hintHideAt_ = info.HideTimeout > 0 ? rtl::GetTickCount64() + static_cast<uint64_t>(info.HideTimeout) : 0;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == hintControl_) {
    CancelHint();
    hintControl_ = nullptr;
    UpdatePump();
  }
  if (component == hintWindow_) hintWindow_ = nullptr;
  if (component == mainForm_) mainForm_ = nullptr;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  if (Screen) SetFont(Screen->HintFont());
  TControl::SetVisible(false);
}

QWidget* THintWindow::CreateWidget() {
  QWidget* w = TCustomControl::CreateWidget();
  w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
  return w;
}

TRect THintWindow::CalcHintRect(Integer maxWidth, const AnsiString& hint) {
  TRect r = Rect(0, 0, maxWidth, 0);
  Canvas()->SetFont(Font());
  Canvas()->DrawText(hint, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  r.Right += 6;
  r.Bottom += 4;
  return r;
}

void THintWindow::ActivateHint(const TRect& rect, const AnsiString& hint) {
  SetCaption(hint);
  SetBoundsRect(rect);
  TControl::SetVisible(true);
  Invalidate();
  Widget()->show();
  Widget()->raise();
}

void THintWindow::ReleaseHandle() {
  TControl::SetVisible(false);
  if (HandleAllocated()) Widget()->hide();
}

bool THintWindow::Showing() const { return Visible() && Host() && Host()->widget && Host()->widget->isVisible(); }

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  c->Brush()->SetColor(clInfoText);
  c->FrameRect(ClientRect());
  c->SetFont(Font());
  c->Font()->SetColor(clInfoText);
  c->Brush()->SetStyle(bsClear);
  TRect r = Rect(3, 2, Width() - 3, Height() - 2);
  c->DrawText(Caption(), r, DT_WORDBREAK | DT_NOPREFIX);
}

bool TApplication::FireDueTimers() {
  bool windowTimers = NextWindowTimerDue() != UINT64_MAX;
  if (timers_.empty() && !hintControl_ && !windowTimers) return false;
  uint64_t now = rtl::GetTickCount64();
  bool any = CheckHint(now);
  if (windowTimers) {
    try {
      any = FireWindowTimers(now) || any;
    } catch (...) {
      HandleException(this);
    }
  }
  for (TTimer* t : std::vector<TTimer*>(timers_)) {
    // A timer freed by an earlier handler has left the list.
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    try {
      any = t->FireIfDue(now) || any;
    } catch (...) {
      HandleException(t);
    }
  }
  return any;
}

// --------------------------------------------------------------- TScreen

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
  hintFont_.SetName("Tahoma");
  menuFont_.SetName("Segoe UI");
  menuFont_.SetSize(9);
}

TScreen::~TScreen() = default;

TCustomForm* TScreen::ActiveForm() const {
  QWidget* active = QApplication::activeWindow();
  for (TCustomForm* f : forms_)
    if (f->frame_ && f->frame_ == active) return f;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* f = ActiveForm();
  return f ? f->ActiveControl() : nullptr;
}

void TScreen::SetCursor(TCursor c) {
  if (c == cursor_) return;
  if (cursor_ != crDefault) QApplication::restoreOverrideCursor();
  cursor_ = c;
  if (c != crDefault) QApplication::setOverrideCursor(ToQCursor(c));
}

namespace {
// Cursors made by LoadCursorFromFile (by handle) and the ids that use them.
std::vector<QCursor>& LoadedCursors() {
  static std::vector<QCursor> cursors;
  return cursors;
}
std::map<TCursor, HCURSOR>& CursorIds() {
  static std::map<TCursor, HCURSOR> ids;
  return ids;
}
}  // namespace

HCURSOR LoadCursorFromFile(const AnsiString& fileName, TPoint hotSpot) {
  InitApplication();
  QPixmap pix(QString::fromStdString(fileName));
  if (pix.isNull()) return 0;
  LoadedCursors().emplace_back(pix, hotSpot.X, hotSpot.Y);
  return static_cast<HCURSOR>(LoadedCursors().size());  // 1-based, 0 is none
}

QCursor ToQCursor(TCursor cursor) {
  auto it = CursorIds().find(cursor);
  if (it != CursorIds().end() && it->second > 0 && it->second <= LoadedCursors().size())
    return LoadedCursors()[it->second - 1];
  return QCursor(ToQtCursor(cursor));
}

HCURSOR TScreen::Cursors(TCursor id) const {
  auto it = CursorIds().find(id);
  return it == CursorIds().end() ? 0 : it->second;
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor) {
  if (cursor == 0)
    CursorIds().erase(id);
  else
    CursorIds()[id] = cursor;
}

rtl::TStrings* TScreen::Fonts() {
  if (!fonts_) {
    fonts_ = std::make_unique<rtl::TStringList>();
    for (const QString& f : QFontDatabase::families()) fonts_->Add(f.toStdString());
    fonts_->SetSorted(true);
  }
  return fonts_.get();
}

Integer TScreen::Width() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 0;
}

Integer TScreen::Height() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 0;
}

TRect TScreen::WorkAreaRect() const {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return {};
  QRect r = s->availableGeometry();
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

TRect TScreen::MonitorBoundsRect(const TRect& r) const {
  QScreen* s = QGuiApplication::screenAt(QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  if (!s) s = QGuiApplication::primaryScreen();
  if (!s) return {};
  const QRect g = s->geometry();
  return Rect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
}

}  // namespace vcl
