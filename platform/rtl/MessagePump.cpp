#include "rtl/MessagePump.h"

#include <mutex>

#include "rtl/Threads.h"

namespace rtl {

namespace {

std::mutex& HandlerLock() {
  static std::mutex lock;
  return lock;
}

std::function<void()>& Handler() {
  static std::function<void()> handler;
  return handler;
}

}  // namespace

void ProcessMessages() {
  if (!IsMainThread()) return;
  std::function<void()> handler;
  {
    std::lock_guard<std::mutex> g(HandlerLock());
    handler = Handler();
  }
  if (handler) {
    handler();
  } else {
    CheckSynchronize(0);
  }
}

std::function<void()> SetProcessMessagesHandler(std::function<void()> handler) {
  std::lock_guard<std::mutex> g(HandlerLock());
  std::swap(Handler(), handler);
  return handler;
}

}  // namespace rtl
