// The thread's message hooks (see MessageHooks.h). The class library's key
// path hands every key message to them as it takes the key, once per key.
#include "vcl/MessageHooks.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

#include "vcl/QtHost.h"

namespace vcl {

namespace {

struct InstalledHook {
  HHOOK handle;
  THookProc proc;
};

std::vector<InstalledHook> gHooks;
HHOOK gNextHook = 1;

}  // namespace

void CallGetMessageHooks(MSG& Msg) {
  if (gHooks.empty()) return;
  // Newest first; a hook may remove itself or another while it runs.
  std::vector<InstalledHook> hooks(gHooks.rbegin(), gHooks.rend());
  for (const InstalledHook& h : hooks) {
    const bool still = std::any_of(gHooks.begin(), gHooks.end(), [&](const InstalledHook& x) { return x.handle == h.handle; });
    if (!still) continue;
    Guarded(nullptr, [&] { h.proc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&Msg)); });
  }
}

HHOOK SetWindowsHookEx(Integer IdHook, THookProc Proc) {
  if (IdHook != WH_GETMESSAGE || !Proc || !QCoreApplication::instance()) return 0;
  const HHOOK handle = gNextHook++;
  gHooks.push_back({handle, std::move(Proc)});
  return handle;
}

bool UnhookWindowsHookEx(HHOOK Hook) {
  auto it = std::find_if(gHooks.begin(), gHooks.end(), [&](const InstalledHook& h) { return h.handle == Hook; });
  if (it == gHooks.end()) return false;
  gHooks.erase(it);
  return true;
}

LRESULT CallNextHookEx(HHOOK, Integer, WPARAM, LPARAM) { return 0; }

int InstalledMessageHooks() { return static_cast<int>(gHooks.size()); }

}  // namespace vcl
