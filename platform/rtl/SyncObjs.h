#pragma once
// Waitable objects (events and mutexes), critical sections and waits on
// several objects at once. Time-outs follow the clock service (Clock.h).
//
// Named objects are shared inside this process only: a second object created
// with the same name opens the first one's state (its own reset mode and
// initial state are then ignored, as with the desktop's named objects).
// Events and mutexes share one namespace.
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "rtl/Clock.h"
#include "rtl/Types.h"

namespace rtl {

enum class TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

namespace detail {
struct WaitableState;
}

// Base of the objects a thread can wait on.
class THandleObject {
 public:
  virtual ~THandleObject();
  THandleObject(const THandleObject&) = delete;
  THandleObject& operator=(const THandleObject&) = delete;

  // Waits up to timeoutMs (INFINITE: no limit; 0: only polls). An event is
  // signalled (an automatic-reset one is reset by the wait that ends); a
  // mutex is then owned by the caller. wrAbandoned: a mutex whose owner thread
  // ended without releasing it; the caller owns it now.
  TWaitResult WaitFor(Cardinal timeoutMs = INFINITE);
  const AnsiString& Name() const { return name_; }
  // True when a named object of this name existed already and was opened.
  bool OpenedExisting() const { return openedExisting_; }

 protected:
  THandleObject() = default;
  // Takes fresh as the state, or, for a name already in use, the existing
  // object's state (raising EOSError when that is of another kind).
  void Attach(const AnsiString& name, std::shared_ptr<detail::WaitableState> fresh);
  std::shared_ptr<detail::WaitableState> state_;

 private:
  friend TWaitResult WaitForMultiple(std::span<THandleObject* const>, bool, Cardinal, int*);
  AnsiString name_;
  bool openedExisting_ = false;
};

enum class EventReset { Manual, Automatic };

// A manual- or automatic-reset event. A manual-reset event stays signalled
// until ResetEvent and releases every waiter; an automatic-reset one releases
// one waiter and resets itself.
class TEvent : public THandleObject {
 public:
  explicit TEvent(EventReset reset = EventReset::Manual, bool initialState = false,
                  const AnsiString& name = {});
  // The desktop's argument order: manual reset, initial state, name.
  TEvent(bool manualReset, bool initialState, const AnsiString& name = {});
  void SetEvent();
  void ResetEvent();
  // Current state without consuming it (for tests and diagnostics).
  bool IsSet() const;
};

// A manual-reset event, not signalled at creation.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() : TEvent(EventReset::Manual, false) {}
};

// A mutex that can be waited on together with events. Recursive for its owner
// thread. A thread that ends while owning it abandons it: the next wait
// reports wrAbandoned and takes ownership.
class TMutex : public THandleObject {
 public:
  explicit TMutex(bool initialOwner = false, const AnsiString& name = {});
  // Waits without limit; raises EOSError when the wait fails.
  void Acquire();
  // Releases one level of ownership; raises EOSError "Attempt to release
  // mutex not owned by caller." when the caller does not own it.
  void Release();
};

// A lock for short sections; recursive for its owner, like the desktop's.
class TCriticalSection {
 public:
  TCriticalSection() = default;
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;
  void Enter() { m_.lock(); }
  void Leave() { m_.unlock(); }
  bool TryEnter() { return m_.try_lock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }

 private:
  std::recursive_mutex m_;
};

// Holds a critical section for a scope.
class TCriticalSectionGuard {
 public:
  explicit TCriticalSectionGuard(TCriticalSection& cs) : cs_(cs) { cs_.Enter(); }
  ~TCriticalSectionGuard() { cs_.Leave(); }
  TCriticalSectionGuard(const TCriticalSectionGuard&) = delete;
  TCriticalSectionGuard& operator=(const TCriticalSectionGuard&) = delete;

 private:
  TCriticalSection& cs_;
};

// Owns a TMutex for a scope (acquired without time limit).
class TMutexGuard {
 public:
  explicit TMutexGuard(TMutex& m) : m_(m) { m_.Acquire(); }
  ~TMutexGuard() { m_.Release(); }
  TMutexGuard(const TMutexGuard&) = delete;
  TMutexGuard& operator=(const TMutexGuard&) = delete;

 private:
  TMutex& m_;
};

// Waits on several objects. waitAll false: ends when any is signalled; the
// first signalled in list order is taken and its index stored in
// *signaledIndex. waitAll true: ends when all are signalled at one instant,
// and takes all of them together (*signaledIndex = 0). Returns wrTimeout
// after timeoutMs, wrAbandoned (with the index) when the object taken is an
// abandoned mutex, wrError for an empty list or a null entry.
TWaitResult WaitForMultiple(std::span<THandleObject* const> objects, bool waitAll,
                            Cardinal timeoutMs, int* signaledIndex = nullptr);

}  // namespace rtl
