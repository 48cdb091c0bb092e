#include "rtl/SyncObjs.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <utility>

#include "rtl/Exceptions.h"
#include "rtl/Threads.h"

namespace rtl {
namespace detail {

// State of one waitable object, shared by every handle opened on it. All of it
// is guarded by WaitLock().
struct WaitableState {
  enum class Kind { Event, Mutex };
  explicit WaitableState(Kind k) : kind(k) {}
  virtual ~WaitableState() = default;
  // Whether a wait by thread tid would end now.
  virtual bool Ready(TThreadID tid) const = 0;
  // Takes the object for tid (resets an automatic event, owns a mutex).
  // Returns true when the object was an abandoned mutex.
  virtual bool Take(TThreadID tid) = 0;
  void Notify() {
    for (auto* cv : waiters) cv->notify_all();
  }
  const Kind kind;
  std::vector<std::condition_variable*> waiters;
};

struct EventState final : WaitableState {
  EventState(bool manualReset, bool initial) : WaitableState(Kind::Event), manual(manualReset), signaled(initial) {}
  bool Ready(TThreadID) const override { return signaled; }
  bool Take(TThreadID) override {
    if (!manual) signaled = false;
    return false;
  }
  bool manual;
  bool signaled;
};

struct MutexState;

// The mutexes the calling thread owns, so that they can be marked abandoned
// when it ends without releasing them.
struct HeldMutexes {
  std::vector<std::weak_ptr<MutexState>> held;
  ~HeldMutexes();
};
thread_local HeldMutexes t_held;

struct MutexState final : WaitableState, std::enable_shared_from_this<MutexState> {
  MutexState() : WaitableState(Kind::Mutex) {}
  bool Ready(TThreadID tid) const override { return owner == 0 || owner == tid; }
  bool Take(TThreadID tid) override {
    owner = tid;
    if (++count == 1) t_held.held.push_back(weak_from_this());
    return std::exchange(abandoned, false);
  }
  TThreadID owner = 0;
  int count = 0;
  bool abandoned = false;
};

HeldMutexes::~HeldMutexes() {
  if (held.empty()) return;
  // CurrentThreadId may rely on thread-local storage already gone.
  auto tid = TThreadID(syscall(SYS_gettid));
  std::lock_guard<std::mutex> lk(WaitLock());
  for (auto& w : held) {
    if (auto m = w.lock(); m && m->owner == tid) {
      m->owner = 0;
      m->count = 0;
      m->abandoned = true;
      m->Notify();
    }
  }
}

namespace {

std::map<AnsiString, std::weak_ptr<WaitableState>>& Names() {
  static std::map<AnsiString, std::weak_ptr<WaitableState>> names;
  return names;
}

}  // namespace
}  // namespace detail

using detail::WaitableState;

THandleObject::~THandleObject() {
  if (name_.empty() || !state_) return;
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  if (state_.use_count() == 1) detail::Names().erase(name_);
}

void THandleObject::Attach(const AnsiString& name, std::shared_ptr<WaitableState> fresh) {
  name_ = name;
  if (name.empty()) {
    state_ = std::move(fresh);
    return;
  }
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  auto& names = detail::Names();
  if (auto it = names.find(name); it != names.end()) {
    if (auto existing = it->second.lock()) {
      if (existing->kind != fresh->kind) {
        name_.clear();
        throw EOSError("The handle is invalid");
      }
      state_ = std::move(existing);
      openedExisting_ = true;
      return;
    }
  }
  names[name] = fresh;
  state_ = std::move(fresh);
}

TWaitResult THandleObject::WaitFor(Cardinal timeoutMs) {
  THandleObject* self = this;
  return WaitForMultiple(std::span<THandleObject* const>(&self, 1), false, timeoutMs, nullptr);
}

TEvent::TEvent(EventReset reset, bool initialState, const AnsiString& name) {
  Attach(name, std::make_shared<detail::EventState>(reset == EventReset::Manual, initialState));
}

TEvent::TEvent(bool manualReset, bool initialState, const AnsiString& name)
    : TEvent(manualReset ? EventReset::Manual : EventReset::Automatic, initialState, name) {}

void TEvent::SetEvent() {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  auto& e = static_cast<detail::EventState&>(*state_);
  e.signaled = true;
  e.Notify();
}

void TEvent::ResetEvent() {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  static_cast<detail::EventState&>(*state_).signaled = false;
}

bool TEvent::IsSet() const {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  return static_cast<detail::EventState&>(*state_).signaled;
}

TMutex::TMutex(bool initialOwner, const AnsiString& name) {
  Attach(name, std::make_shared<detail::MutexState>());
  if (initialOwner && !OpenedExisting()) {
    std::lock_guard<std::mutex> lk(detail::WaitLock());
    state_->Take(CurrentThreadId());
  }
}

void TMutex::Acquire() {
  if (WaitFor(INFINITE) == TWaitResult::wrError) throw EOSError("The wait for a mutex failed");
}

void TMutex::Release() {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  auto& m = static_cast<detail::MutexState&>(*state_);
  if (m.owner != CurrentThreadId() || m.count == 0)
    throw EOSError("Attempt to release mutex not owned by caller.");
  if (--m.count == 0) {
    m.owner = 0;
    auto& held = detail::t_held.held;
    held.erase(std::remove_if(held.begin(), held.end(),
                              [&](const std::weak_ptr<detail::MutexState>& w) {
                                auto p = w.lock();
                                return !p || p.get() == &m;
                              }),
               held.end());
    m.Notify();
  }
}

TWaitResult WaitForMultiple(std::span<THandleObject* const> objects, bool waitAll, Cardinal timeoutMs,
                            int* signaledIndex) {
  if (objects.empty()) return TWaitResult::wrError;
  for (auto* o : objects)
    if (!o || !o->state_) return TWaitResult::wrError;
  const TThreadID tid = CurrentThreadId();
  std::condition_variable cv;
  detail::Deadline deadline(timeoutMs);
  std::unique_lock<std::mutex> lk(detail::WaitLock());
  bool registered = false;
  auto unregister = [&] {
    if (!registered) return;
    for (auto* o : objects) {
      auto& w = o->state_->waiters;
      if (auto it = std::find(w.begin(), w.end(), &cv); it != w.end()) w.erase(it);
    }
  };
  for (;;) {
    if (!waitAll) {
      for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->state_->Ready(tid)) {
          bool abandoned = objects[i]->state_->Take(tid);
          unregister();
          if (signaledIndex) *signaledIndex = int(i);
          return abandoned ? TWaitResult::wrAbandoned : TWaitResult::wrSignaled;
        }
      }
    } else if (std::all_of(objects.begin(), objects.end(), [&](THandleObject* o) { return o->state_->Ready(tid); })) {
      int abandonedAt = -1;
      for (size_t i = 0; i < objects.size(); ++i)
        if (objects[i]->state_->Take(tid) && abandonedAt < 0) abandonedAt = int(i);
      unregister();
      if (signaledIndex) *signaledIndex = abandonedAt < 0 ? 0 : abandonedAt;
      return abandonedAt < 0 ? TWaitResult::wrSignaled : TWaitResult::wrAbandoned;
    }
    if (timeoutMs == 0 || deadline.Passed()) {
      unregister();
      return TWaitResult::wrTimeout;
    }
    if (!registered) {
      for (auto* o : objects) o->state_->waiters.push_back(&cv);
      registered = true;
    }
    deadline.Wait(lk, cv);
  }
}

}  // namespace rtl
