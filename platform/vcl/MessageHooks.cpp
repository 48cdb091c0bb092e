// The thread's message hooks over one application event filter (see
// MessageHooks.h).
#include "vcl/MessageHooks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "vcl/Messages.h"
#include "vcl/QtHost.h"

namespace vcl {

namespace {

struct InstalledHook {
  HHOOK handle;
  THookProc proc;
};

class HookFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

std::vector<InstalledHook> gHooks;
HookFilter* gHookFilter = nullptr;
HHOOK gNextHook = 1;

// A key event travels from the focused widget up to its window, and the
// application's filters see it at every step: it is taken once, where it
// starts.
bool KeyStartsHere(QObject* watched) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w) return false;
  QWidget* focus = QApplication::focusWidget();
  return focus ? w == focus : w->isWindow();
}

bool HookFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !KeyStartsHere(watched)) return false;
  auto* e = static_cast<QKeyEvent*>(event);
  const bool down = type == QEvent::KeyPress;
  // The modifiers as the control will see them, so a hook reading the key
  // state learns the state of this message.
  Qt::KeyboardModifiers mods = e->modifiers();
  if (!down && e->key() == Qt::Key_Shift) mods &= ~Qt::ShiftModifier;
  if (!down && e->key() == Qt::Key_Control) mods &= ~Qt::ControlModifier;
  if (!down && e->key() == Qt::Key_Alt) mods &= ~Qt::AltModifier;
  SetInputModifiers(mods);
  const Word vk = VirtualKeyOf(*e);
  const bool sys = (e->modifiers() & Qt::AltModifier) || vk == VK_MENU || vk == VK_F10;
  MSG msg;
  msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  msg.wParam = vk;
  msg.lParam = KeyDataOf(*e, down);
  // Newest first; a hook may remove itself or another while it runs.
  std::vector<InstalledHook> hooks(gHooks.rbegin(), gHooks.rend());
  for (const InstalledHook& h : hooks) {
    const bool still = std::any_of(gHooks.begin(), gHooks.end(), [&](const InstalledHook& x) { return x.handle == h.handle; });
    if (!still) continue;
    Guarded(nullptr, [&] { h.proc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&msg)); });
  }
  return false;
}

}  // namespace

HHOOK SetWindowsHookEx(Integer IdHook, THookProc Proc) {
  if (IdHook != WH_GETMESSAGE || !Proc || !QCoreApplication::instance()) return 0;
  if (!gHookFilter) {
    gHookFilter = new HookFilter;
    QCoreApplication::instance()->installEventFilter(gHookFilter);
  }
  const HHOOK handle = gNextHook++;
  gHooks.push_back({handle, std::move(Proc)});
  return handle;
}

bool UnhookWindowsHookEx(HHOOK Hook) {
  auto it = std::find_if(gHooks.begin(), gHooks.end(), [&](const InstalledHook& h) { return h.handle == Hook; });
  if (it == gHooks.end()) return false;
  gHooks.erase(it);
  if (gHooks.empty() && gHookFilter) {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(gHookFilter);
    delete gHookFilter;
    gHookFilter = nullptr;
  }
  return true;
}

LRESULT CallNextHookEx(HHOOK, Integer, WPARAM, LPARAM) { return 0; }

int InstalledMessageHooks() { return static_cast<int>(gHooks.size()); }

}  // namespace vcl
