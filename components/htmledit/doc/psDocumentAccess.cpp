#include "htmledit/doc/psDocumentAccess.h"

#include "rtl/Threads.h"

namespace htmldoc {

bool TpsKernelObject::WaitFor(Cardinal aMilliseconds) {
  return FHandle->WaitFor(aMilliseconds) == rtl::TWaitResult::wrSignaled;
}

TpsMutex::TpsMutex(const AnsiString& aName) { FHandle = std::make_unique<rtl::TMutex>(false, aName); }

TpsMutex::TpsMutex(const void*, const AnsiString& aName) : TpsMutex(aName) {}

void TpsMutex::Release() {
  try {
    Mutex().Release();
  } catch (const rtl::EOSError&) {
    // Not the owner: the call's result is not used.
  }
}

TpsEvent::TpsEvent(bool aManualReset, const AnsiString& aName) {
  try {
    FHandle = std::make_unique<rtl::TEvent>(aManualReset, false, aName);
  } catch (const rtl::EOSError&) {
    // The name belongs to an object of another kind.
    throw rtl::Exception("could not create event " + aName + ".");
  }
}

void TpsEvent::SetEvent() { static_cast<rtl::TEvent&>(*FHandle).SetEvent(); }
void TpsEvent::ResetEvent() { static_cast<rtl::TEvent&>(*FHandle).ResetEvent(); }

namespace {

TpsHandle WaitForAny(std::initializer_list<TpsHandle> aHandles) {
  const std::vector<rtl::THandleObject*> handles(aHandles);
  int index = -1;
  const rtl::TWaitResult result = rtl::WaitForMultiple(handles, false, rtl::INFINITE, &index);
  if ((result != rtl::TWaitResult::wrSignaled && result != rtl::TWaitResult::wrAbandoned) || index < 0)
    return nullptr;
  return handles[index];
}

}  // namespace

TpsHandle WaitForAnyOfTwo(TpsHandle aHandleA, TpsHandle aHandleB) { return WaitForAny({aHandleA, aHandleB}); }

TpsHandle WaitForAnyOfThree(TpsHandle aHandleA, TpsHandle aHandleB, TpsHandle aHandleC) {
  return WaitForAny({aHandleA, aHandleB, aHandleC});
}

TpsDocumentAccess::TpsDocumentAccess() : FMutex(), FYieldEvent(true) {}

namespace {

// Taken, also when its last owner ended without releasing it (the wait
// then hands it over all the same).
bool Took(rtl::TWaitResult aResult) {
  return aResult == rtl::TWaitResult::wrSignaled || aResult == rtl::TWaitResult::wrAbandoned;
}

}  // namespace

void TpsDocumentAccess::Lock() {
  if (rtl::CurrentThreadId() == WorkerThreadId()) return;
  if (FLockCount == 0) {
    rtl::THandleObject& mutex = *FMutex.Handle();
    if (!Took(mutex.WaitFor(0))) {
      FYieldEvent.SetEvent();
      const bool taken = Took(mutex.WaitFor(YieldTimeoutMs));
      FYieldEvent.ResetEvent();
      if (!taken)
        throw EpsHtmlEditException("TpsDocumentAccess.Lock: the document was not given up in time");
    }
    if (OnLock) OnLock(this);
  }
  ++FLockCount;
}

void TpsDocumentAccess::Unlock() {
  if (rtl::CurrentThreadId() == WorkerThreadId()) return;
  if (FLockCount <= 0) return;
  if (--FLockCount == 0) FMutex.Release();
}

}  // namespace htmldoc
