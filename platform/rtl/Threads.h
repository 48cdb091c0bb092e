#pragma once
// Threads and the hand-over of work to the main (user-interface) thread.
//
// The main thread is the one that started the process, unless
// SetMainThread() names another. Synchronize and Queue put work on one queue
// that the main thread empties with CheckSynchronize: the class-library layer
// calls it from its message loop (woken through SetWakeMainThread), programs
// without windows call it themselves.
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "rtl/Clock.h"
#include "rtl/Types.h"

namespace rtl {

using TThreadID = Cardinal;

// The kernel's id of the calling thread (gettid); never 0.
TThreadID CurrentThreadId();
TThreadID MainThreadID();
bool IsMainThread();
// Makes the calling thread the main thread (for a loop that runs elsewhere).
void SetMainThread();

// Runs fn on the main thread. From a worker: queues it, wakes the main
// thread and blocks until it has run; an exception fn raises is raised again
// in the caller. On the main thread: runs fn at once.
void Synchronize(const std::function<void()>& fn);
// Queues fn for the main thread without waiting; on the main thread runs it
// at once.
void Queue(std::function<void()> fn);
// Main thread only (else raises EThread): waits up to timeoutMs for queued
// work, then runs what is queued. Returns whether it ran any. An exception
// from queued (not synchronized) work propagates; the work behind it stays
// queued for the next call.
bool CheckSynchronize(Cardinal timeoutMs = 0);
// Called (on the queuing thread) each time work is queued for the main thread,
// so that a message loop can wake up and call CheckSynchronize. Empty by
// default.
void SetWakeMainThread(std::function<void()> wake);

// A thread with an overridable Execute.
//
// The operating-system thread exists from construction (so ThreadID is known
// at once) but runs Execute only after Start(). A class created not
// suspended is started by AfterConstruction(), which MakeThread calls once
// the whole object is built. A class whose Execute uses its own members must
// stop the thread (Terminate, WaitFor) in its own destructor: the base
// destructor does the same, but only after the derived part is gone.
class TThread {
 public:
  explicit TThread(bool createSuspended = true);
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Lets a thread run; a second call raises EThread.
  void Start();
  // Starts the thread when it was created not suspended.
  void AfterConstruction();
  // Asks Execute to end; Execute polls Terminated().
  void Terminate();
  bool Terminated() const;
  // Waits until the thread has ended (after OnTerminate) and returns
  // ReturnValue. On the main thread it keeps running synchronized work
  // meanwhile, so a worker blocked in Synchronize cannot deadlock it. Raises
  // EThread on a thread never started, on itself and on a FreeOnTerminate
  // thread.
  Integer WaitFor();
  // True once Execute has returned.
  bool Finished() const;
  bool Started() const;
  TThreadID ThreadID() const { return threadId_; }
  // A FreeOnTerminate thread deletes itself after OnTerminate; set it before
  // Start and do not touch the object once started.
  bool FreeOnTerminate() const;
  void SetFreeOnTerminate(bool on);
  Integer ReturnValue() const;
  // The exception that escaped Execute, or null.
  std::exception_ptr FatalException() const;
  // Its message ("" when none; the class name for a foreign exception).
  AnsiString FatalMessage() const;

  // Runs on the main thread (through Synchronize) after Execute.
  std::function<void(TThread* sender)> OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Calls OnTerminate through Synchronize when assigned.
  virtual void DoTerminate();
  void SetReturnValue(Integer v);
  void Synchronize(const std::function<void()>& fn) { rtl::Synchronize(fn); }
  void Queue(std::function<void()> fn) { rtl::Queue(std::move(fn)); }

 private:
  void ThreadMain();
  struct State;
  std::unique_ptr<State> st_;
  std::thread thread_;
  TThreadID threadId_ = 0;
};

// Constructs a thread object and calls AfterConstruction (for classes
// created not suspended). Not for FreeOnTerminate threads: create those
// suspended, set FreeOnTerminate and call Start.
template <class T, class... Args>
std::unique_ptr<T> MakeThread(Args&&... args) {
  auto t = std::make_unique<T>(std::forward<Args>(args)...);
  t->AfterConstruction();
  return t;
}

}  // namespace rtl
