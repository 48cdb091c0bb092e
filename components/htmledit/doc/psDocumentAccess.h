#pragma once
// The waitable objects the editor uses and the document lock shared by the
// user-interface thread and the smart-tag thread: re-entrant for the
// user-interface thread; when the smart-tag thread holds the document, the
// outermost lock asks it to yield and waits for it.
#include <atomic>
#include <functional>
#include <memory>

#include "htmledit/doc/psGlobals.h"
#include "rtl/SyncObjs.h"

namespace htmldoc {

using rtl::Cardinal;

// What the wait routines take and answer: the waitable object itself.
using TpsHandle = rtl::THandleObject*;

class TpsKernelObject {
 public:
  virtual ~TpsKernelObject() = default;
  TpsKernelObject(const TpsKernelObject&) = delete;
  TpsKernelObject& operator=(const TpsKernelObject&) = delete;

  TpsHandle Handle() const { return FHandle.get(); }
  // True when signalled (a mutex: acquired normally); False on time-out, an
  // abandoned mutex or failure. 0 only polls. Timed on the clock service.
  bool WaitFor(Cardinal aMilliseconds);

 protected:
  TpsKernelObject() = default;
  std::unique_ptr<rtl::THandleObject> FHandle;
};

// Created not owned. A name makes it shared inside the process.
class TpsMutex final : public TpsKernelObject {
 public:
  explicit TpsMutex(const AnsiString& aName = {});
  // Security attributes have no meaning here; they are accepted and ignored.
  TpsMutex(const void* aAttributes, const AnsiString& aName);
  // The result is not used: releasing a mutex the caller does not own
  // changes nothing.
  void Release();
  rtl::TMutex& Mutex() const { return static_cast<rtl::TMutex&>(*FHandle); }
};

// Created not signalled. A name opens an existing event of that name.
class TpsEvent final : public TpsKernelObject {
 public:
  TpsEvent(bool aManualReset, const AnsiString& aName = {});
  void SetEvent();
  void ResetEvent();
  bool IsSet() const { return static_cast<rtl::TEvent&>(*FHandle).IsSet(); }
};

// Wait without time limit; the handle that ended the wait (the first in
// order when several are signalled), nullptr on failure.
TpsHandle WaitForAnyOfTwo(TpsHandle aHandleA, TpsHandle aHandleB);
TpsHandle WaitForAnyOfThree(TpsHandle aHandleA, TpsHandle aHandleB, TpsHandle aHandleC);

class TpsDocumentAccess {
 public:
  // How long the outermost lock waits for the smart-tag thread.
  static constexpr Cardinal YieldTimeoutMs = 20000;

  TpsDocumentAccess();
  TpsDocumentAccess(const TpsDocumentAccess&) = delete;
  TpsDocumentAccess& operator=(const TpsDocumentAccess&) = delete;

  // The outermost lock of the user-interface thread takes the mutex: at
  // once when free, else with the yield event set for at most
  // YieldTimeoutMs. It never goes on without the mutex: after the time-out
  // it raises EpsHtmlEditException with LockCount unchanged and the yield
  // event reset. The registered worker thread passes straight through.
  void Lock();
  void Unlock();

  TpsMutex& Mutex() { return FMutex; }
  TpsEvent& YieldEvent() { return FYieldEvent; }
  Integer LockCount() const { return FLockCount; }
  // The smart-tag thread registers itself; atomic, as both threads read it.
  void SetWorkerThreadId(uint32_t aId) { FWorkerThreadId.store(aId, std::memory_order_release); }
  uint32_t WorkerThreadId() const { return FWorkerThreadId.load(std::memory_order_acquire); }

  std::function<void(TpsDocumentAccess* aSender)> OnLock;

 private:
  TpsMutex FMutex;
  TpsEvent FYieldEvent;
  Integer FLockCount = 0;
  std::atomic<uint32_t> FWorkerThreadId{0};
};

// Holds the document lock for a scope.
class TpsDocumentLockGuard {
 public:
  explicit TpsDocumentLockGuard(TpsDocumentAccess& aAccess) : FAccess(aAccess) { FAccess.Lock(); }
  ~TpsDocumentLockGuard() { FAccess.Unlock(); }
  TpsDocumentLockGuard(const TpsDocumentLockGuard&) = delete;
  TpsDocumentLockGuard& operator=(const TpsDocumentLockGuard&) = delete;

 private:
  TpsDocumentAccess& FAccess;
};

}  // namespace htmldoc
