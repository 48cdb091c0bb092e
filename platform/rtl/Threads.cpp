#include "rtl/Threads.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <deque>
#include <mutex>

#include "rtl/Exceptions.h"

namespace rtl {
namespace {

TThreadID KernelThreadId() {
  thread_local const TThreadID id = TThreadID(syscall(SYS_gettid));
  return id;
}

// Filled in while the process starts, on the thread that runs main().
std::atomic<TThreadID> g_mainThread{KernelThreadId()};

struct SyncItem {
  std::function<void()> fn;
  bool synchronous = false;
  bool done = false;
  std::exception_ptr error;
};

// All of the hand-over state is guarded by detail::WaitLock(). It is never
// destroyed, so threads still running while the process exits stay safe.
struct SyncQueue {
  std::deque<std::shared_ptr<SyncItem>> items;
  std::condition_variable mainWake;  // work queued, or a thread ended
  std::condition_variable itemDone;  // a synchronous item has run
  std::mutex wakeLock;
  std::function<void()> wake;
};

SyncQueue& Sync() {
  static SyncQueue* q = new SyncQueue;
  return *q;
}

void Enqueue(const std::shared_ptr<SyncItem>& item) {
  auto& q = Sync();
  {
    std::lock_guard<std::mutex> lk(detail::WaitLock());
    q.items.push_back(item);
    q.mainWake.notify_all();
  }
  std::function<void()> wake;
  {
    std::lock_guard<std::mutex> lk(q.wakeLock);
    wake = q.wake;
  }
  if (wake) wake();
}

}  // namespace

TThreadID CurrentThreadId() { return KernelThreadId(); }
TThreadID MainThreadID() { return g_mainThread.load(); }
bool IsMainThread() { return CurrentThreadId() == MainThreadID(); }
void SetMainThread() { g_mainThread = CurrentThreadId(); }

void SetWakeMainThread(std::function<void()> wake) {
  auto& q = Sync();
  std::lock_guard<std::mutex> lk(q.wakeLock);
  q.wake = std::move(wake);
}

void Synchronize(const std::function<void()>& fn) {
  if (!fn) return;
  if (IsMainThread()) {
    fn();
    return;
  }
  auto item = std::make_shared<SyncItem>();
  item->fn = fn;
  item->synchronous = true;
  Enqueue(item);
  std::exception_ptr error;
  {
    std::unique_lock<std::mutex> lk(detail::WaitLock());
    Sync().itemDone.wait(lk, [&] { return item->done; });
    // Taken out under the lock so that the exception lives and dies on this
    // thread alone, whoever drops the item last.
    error = std::move(item->error);
  }
  if (error) std::rethrow_exception(std::move(error));
}

void Queue(std::function<void()> fn) {
  if (!fn) return;
  if (IsMainThread()) {
    fn();
    return;
  }
  auto item = std::make_shared<SyncItem>();
  item->fn = std::move(fn);
  Enqueue(item);
}

bool CheckSynchronize(Cardinal timeoutMs) {
  if (!IsMainThread())
    throw EThread("CheckSynchronize called from a thread that is not the main thread");
  auto& q = Sync();
  std::deque<std::shared_ptr<SyncItem>> batch;
  {
    std::unique_lock<std::mutex> lk(detail::WaitLock());
    detail::Deadline deadline(timeoutMs);
    while (q.items.empty()) {
      if (timeoutMs == 0 || deadline.Passed()) return false;
      deadline.Wait(lk, q.mainWake);
    }
    batch.swap(q.items);
  }
  while (!batch.empty()) {
    auto item = std::move(batch.front());
    batch.pop_front();
    if (item->synchronous) {
      try {
        item->fn();
      } catch (...) {
        item->error = std::current_exception();
      }
      std::lock_guard<std::mutex> lk(detail::WaitLock());
      item->done = true;
      q.itemDone.notify_all();
      continue;
    }
    try {
      item->fn();
    } catch (...) {
      std::lock_guard<std::mutex> lk(detail::WaitLock());
      q.items.insert(q.items.begin(), batch.begin(), batch.end());
      throw;
    }
  }
  return true;
}

struct TThread::State {
  bool createSuspended = true;
  bool idReady = false;
  bool started = false;
  bool cancelled = false;  // destroyed before it was started
  bool finished = false;   // Execute has returned
  bool ended = false;      // OnTerminate has run too
  bool freeOnTerminate = false;
  std::atomic<bool> terminated{false};
  std::atomic<Integer> returnValue{0};
  std::exception_ptr fatal;
  TThreadID id = 0;
  std::condition_variable cv;
};

TThread::TThread(bool createSuspended) : st_(std::make_unique<State>()) {
  st_->createSuspended = createSuspended;
  thread_ = std::thread([this] { ThreadMain(); });
  std::unique_lock<std::mutex> lk(detail::WaitLock());
  st_->cv.wait(lk, [&] { return st_->idReady; });
  threadId_ = st_->id;
}

TThread::~TThread() {
  if (thread_.get_id() == std::this_thread::get_id()) {
    // A FreeOnTerminate thread deleting itself on its way out.
    thread_.detach();
    return;
  }
  bool wait = false;
  {
    std::lock_guard<std::mutex> lk(detail::WaitLock());
    if (!st_->started) {
      st_->cancelled = true;
      st_->cv.notify_all();
    } else {
      wait = !st_->ended;
    }
  }
  if (wait) {
    Terminate();
    try {
      WaitFor();
    } catch (...) {
      // Work queued for the main thread failed; the thread still ends.
    }
  }
  thread_.join();
}

void TThread::ThreadMain() {
  {
    std::unique_lock<std::mutex> lk(detail::WaitLock());
    st_->id = CurrentThreadId();
    st_->idReady = true;
    st_->cv.notify_all();
    st_->cv.wait(lk, [&] { return st_->started || st_->cancelled; });
    if (st_->cancelled) {
      st_->ended = true;
      return;
    }
  }
  std::exception_ptr fatal;
  if (!Terminated()) {
    try {
      Execute();
    } catch (...) {
      fatal = std::current_exception();
    }
  }
  {
    std::lock_guard<std::mutex> lk(detail::WaitLock());
    st_->fatal = std::move(fatal);
    st_->finished = true;
  }
  try {
    DoTerminate();
  } catch (...) {
    std::lock_guard<std::mutex> lk(detail::WaitLock());
    if (!st_->fatal) st_->fatal = std::current_exception();
  }
  bool freeSelf;
  {
    std::lock_guard<std::mutex> lk(detail::WaitLock());
    st_->ended = true;
    freeSelf = st_->freeOnTerminate;
    st_->cv.notify_all();
    Sync().mainWake.notify_all();
  }
  if (freeSelf) delete this;
}

void TThread::Start() {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  if (st_->started) throw EThread("Cannot start a thread that is running or has ended");
  st_->started = true;
  st_->cv.notify_all();
}

void TThread::AfterConstruction() {
  if (!st_->createSuspended) Start();
}

void TThread::Terminate() { st_->terminated = true; }
bool TThread::Terminated() const { return st_->terminated.load(); }

Integer TThread::WaitFor() {
  if (thread_.get_id() == std::this_thread::get_id()) throw EThread("A thread cannot wait for itself");
  std::unique_lock<std::mutex> lk(detail::WaitLock());
  if (!st_->started) throw EThread("Cannot wait for a thread that was never started");
  if (st_->freeOnTerminate) throw EThread("Cannot wait for a thread that frees itself");
  if (IsMainThread()) {
    auto& q = Sync();
    while (!st_->ended) {
      if (!q.items.empty()) {
        lk.unlock();
        CheckSynchronize(0);
        lk.lock();
        continue;
      }
      q.mainWake.wait(lk);
    }
  } else {
    st_->cv.wait(lk, [&] { return st_->ended; });
  }
  return st_->returnValue.load();
}

bool TThread::Finished() const {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  return st_->finished;
}

bool TThread::Started() const {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  return st_->started;
}

bool TThread::FreeOnTerminate() const {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  return st_->freeOnTerminate;
}

void TThread::SetFreeOnTerminate(bool on) {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  st_->freeOnTerminate = on;
}

Integer TThread::ReturnValue() const { return st_->returnValue.load(); }
void TThread::SetReturnValue(Integer v) { st_->returnValue = v; }

std::exception_ptr TThread::FatalException() const {
  std::lock_guard<std::mutex> lk(detail::WaitLock());
  return st_->fatal;
}

AnsiString TThread::FatalMessage() const {
  auto e = FatalException();
  if (!e) return {};
  try {
    std::rethrow_exception(e);
  } catch (const Exception& x) {
    return x.Message();
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return "unknown exception";
  }
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

}  // namespace rtl
