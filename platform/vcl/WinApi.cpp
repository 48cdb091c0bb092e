#include "vcl/WinApi.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "rtl/Clock.h"
#include "rtl/Threads.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

namespace vcl {

namespace {

struct PostedMessage {
  HWND wnd;
  TMessage msg;
};

struct MessageState {
  std::mutex lock;
  std::unordered_map<HWND, TWinControl*> windows;
  HWND nextHandle = 0x10000;
  std::deque<PostedMessage> posted;
  std::function<void()> wake;
};

MessageState& MessageStore() {
  static MessageState* s = new MessageState;  // lives as long as the process
  return *s;
}

void Wake() {
  std::function<void()> w;
  {
    std::lock_guard<std::mutex> g(MessageStore().lock);
    w = MessageStore().wake;
  }
  if (w) w();
}

TWinControl* Lookup(HWND wnd) {
  std::lock_guard<std::mutex> g(MessageStore().lock);
  auto it = MessageStore().windows.find(wnd);
  return it == MessageStore().windows.end() ? nullptr : it->second;
}

LRESULT Deliver(HWND wnd, TMessage& m) {
  TWinControl* c = Lookup(wnd);
  if (!c) return 0;
  try {
    c->WindowProc(m);
  } catch (...) {
    HandleQtEntryException(c);
  }
  return m.Result;
}

}  // namespace

HWND RegisterWindow(TWinControl* control) {
  std::lock_guard<std::mutex> g(MessageStore().lock);
  HWND h = MessageStore().nextHandle;
  MessageStore().nextHandle += 4;
  MessageStore().windows[h] = control;
  return h;
}

void UnregisterWindow(HWND handle) {
  std::lock_guard<std::mutex> g(MessageStore().lock);
  MessageStore().windows.erase(handle);
}

TWinControl* FindControl(HWND handle) { return Lookup(handle); }

std::vector<HWND> EnumWindowHandles() {
  std::vector<HWND> handles;
  {
    std::lock_guard<std::mutex> g(MessageStore().lock);
    for (const auto& [h, c] : MessageStore().windows) handles.push_back(h);
  }
  std::sort(handles.begin(), handles.end());  // handles grow with age
  return handles;
}

bool IsWindow(HWND wnd) { return Lookup(wnd) != nullptr; }

LRESULT SendMessage(HWND wnd, Cardinal msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (rtl::IsMainThread()) {
    TWinControl* c = Lookup(wnd);
    if (!c) return 0;
    c->WindowProc(m);
    return m.Result;
  }
  if (!IsWindow(wnd)) return 0;
  // The user-interface thread runs it with the other synchronized work; a
  // main thread waiting for this worker serves it too.
  LRESULT result = 0;
  rtl::Synchronize([&] { result = Deliver(wnd, m); });
  return result;
}

bool PostMessage(HWND wnd, Cardinal msg, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard<std::mutex> g(MessageStore().lock);
    if (!MessageStore().windows.count(wnd)) return false;
    MessageStore().posted.push_back({wnd, TMessage{msg, wParam, lParam, 0}});
  }
  Wake();
  return true;
}

bool QueuedMessagesWaiting() {
  std::lock_guard<std::mutex> g(MessageStore().lock);
  return !MessageStore().posted.empty();
}

bool DispatchQueuedMessages() {
  bool any = false;
  // What was posted up to now, in order; messages posted by these handlers
  // wait for the next round.
  size_t count;
  {
    std::lock_guard<std::mutex> g(MessageStore().lock);
    count = MessageStore().posted.size();
  }
  for (size_t i = 0; i < count; ++i) {
    PostedMessage p;
    {
      std::lock_guard<std::mutex> g(MessageStore().lock);
      if (MessageStore().posted.empty()) break;
      p = MessageStore().posted.front();
      MessageStore().posted.pop_front();
    }
    any = true;
    Deliver(p.wnd, p.msg);
  }
  return any;
}

void SetMessageQueueWake(std::function<void()> wake) {
  std::lock_guard<std::mutex> g(MessageStore().lock);
  MessageStore().wake = std::move(wake);
}

// ---------------------------------------------------------- window timers

namespace {
struct WindowTimer {
  HWND wnd;
  uintptr_t id;
  Cardinal interval;
  uint64_t next;
};
std::vector<WindowTimer>& WindowTimers() {
  static std::vector<WindowTimer> timers;  // user-interface thread only
  return timers;
}
}  // namespace

uintptr_t SetTimer(HWND wnd, uintptr_t id, Cardinal ms) {
  if (!IsWindow(wnd)) return 0;
  KillTimer(wnd, id);
  WindowTimers().push_back({wnd, id, std::max<Cardinal>(ms, 1), rtl::GetTickCount64() + std::max<Cardinal>(ms, 1)});
  if (Application) Application->UpdatePump();
  return id;
}

bool KillTimer(HWND wnd, uintptr_t id) {
  auto& t = WindowTimers();
  auto it = std::find_if(t.begin(), t.end(), [&](const WindowTimer& w) { return w.wnd == wnd && w.id == id; });
  if (it == t.end()) return false;
  t.erase(it);
  return true;
}

bool FireWindowTimers(uint64_t now) {
  bool any = false;
  auto& t = WindowTimers();
  // Copies: a handler may set or kill timers.
  for (WindowTimer w : std::vector<WindowTimer>(t)) {
    auto it = std::find_if(t.begin(), t.end(), [&](const WindowTimer& x) { return x.wnd == w.wnd && x.id == w.id; });
    if (it == t.end() || now < it->next) continue;
    if (!IsWindow(w.wnd)) {
      t.erase(it);
      continue;
    }
    it->next = now + it->interval;
    any = true;
    TMessage m{WM_TIMER, w.id, 0, 0};
    Deliver(w.wnd, m);
  }
  return any;
}

uint64_t NextWindowTimerDue() {
  uint64_t next = UINT64_MAX;
  for (const WindowTimer& w : WindowTimers()) next = std::min(next, w.next);
  return next;
}

// ------------------------------------------------------------- input state

namespace {
std::atomic<Cardinal> gDoubleClickTime{500};
std::function<void(Cardinal)>& BeepHandler() {
  static std::function<void(Cardinal)> h;
  return h;
}
// The widget answering WM_SETCURSOR right now.
QWidget* gCursorTarget = nullptr;
}  // namespace

Cardinal GetDoubleClickTime() { return gDoubleClickTime; }
void SetDoubleClickTime(Cardinal ms) { gDoubleClickTime = ms; }

namespace {
// The modifiers the last key or mouse event carried; until one arrives,
// the application's own reading.
std::optional<Qt::KeyboardModifiers> gInputModifiers;
}  // namespace

void SetInputModifiers(Qt::KeyboardModifiers mods) { gInputModifiers = mods; }

namespace {
TPoint gMessagePos;
}  // namespace

void SetMessagePos(TPoint screen) { gMessagePos = screen; }
TPoint GetMessagePos() { return gMessagePos; }

int16_t GetKeyState(Integer vk) {
  if (!QGuiApplication::instance()) return 0;
  Qt::KeyboardModifiers mods = gInputModifiers ? *gInputModifiers : QGuiApplication::keyboardModifiers();
  Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
  bool down = false;
  switch (vk) {
    case VK_SHIFT: down = mods & Qt::ShiftModifier; break;
    case VK_CONTROL: down = mods & Qt::ControlModifier; break;
    case VK_MENU: down = mods & Qt::AltModifier; break;
    case VK_LBUTTON: down = buttons & Qt::LeftButton; break;
    case VK_RBUTTON: down = buttons & Qt::RightButton; break;
    case VK_MBUTTON: down = buttons & Qt::MiddleButton; break;
    default: break;
  }
  return down ? static_cast<int16_t>(0x8000) : 0;
}

TPoint GetCursorPos() {
  QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

Integer GetSystemMetrics(Integer index) {
  switch (index) {
    case SM_CXSCREEN:
      InitApplication();
      return Screen->Width();
    case SM_CYSCREEN:
      InitApplication();
      return Screen->Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 17;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    default: return 0;
  }
}

void SetCursorTarget(QWidget* w) { gCursorTarget = w; }

void SetCursor(TCursor cursor) {
  if (gCursorTarget) gCursorTarget->setCursor(ToQCursor(cursor));
}

bool MessageBeep(Cardinal type) {
  if (BeepHandler()) {
    BeepHandler()(type);
    return true;
  }
  if (QApplication::instance()) QApplication::beep();
  return true;
}

void Beep() { MessageBeep(0xFFFFFFFF); }

void SetBeepHandler(std::function<void(Cardinal)> handler) { BeepHandler() = std::move(handler); }

}  // namespace vcl
