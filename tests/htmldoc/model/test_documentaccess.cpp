// The waitable objects and the document lock: nesting, the registered
// worker thread, the yield request, the time-out on the manual clock, and a
// real background thread that follows the smart-tag thread's protocol while
// the user-interface thread edits under nested locks.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psDocumentAccess.h"
#include "rtl/Clock.h"
#include "rtl/Threads.h"

using namespace htmldoc;

namespace {

// True when another thread could take the mutex now (and gives it back).
bool FreeForOthers(TpsMutex& aMutex) {
  bool free = false;
  std::thread probe([&] {
    free = aMutex.WaitFor(0);
    if (free) aMutex.Release();
  });
  probe.join();
  return free;
}

}  // namespace

TEST(KernelObjects, EventsMutexesAndWaits) {
  TpsEvent unnamed(true);
  EXPECT_FALSE(unnamed.IsSet());
  EXPECT_FALSE(unnamed.WaitFor(0));
  unnamed.SetEvent();
  EXPECT_TRUE(unnamed.WaitFor(0));
  EXPECT_TRUE(unnamed.WaitFor(0));  // manual reset stays set
  unnamed.ResetEvent();
  EXPECT_FALSE(unnamed.WaitFor(0));
  TpsEvent automatic(false);
  automatic.SetEvent();
  EXPECT_TRUE(automatic.WaitFor(0));
  EXPECT_FALSE(automatic.WaitFor(0));

  TpsEvent a(true, "htmldoc-test-event"), b(true, "htmldoc-test-event");
  a.SetEvent();
  EXPECT_TRUE(b.IsSet());  // the same named event
  EXPECT_THROW(TpsMutex("htmldoc-test-event"), rtl::Exception);
  TpsMutex named("htmldoc-test-mutex");
  try {
    TpsEvent clash(true, "htmldoc-test-mutex");
    ADD_FAILURE();
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "could not create event htmldoc-test-mutex.");
  }

  TpsMutex mutex(nullptr, "");
  mutex.Release();  // not owned: nothing happens
  EXPECT_TRUE(mutex.WaitFor(0));
  EXPECT_FALSE(FreeForOthers(mutex));
  mutex.Release();
  EXPECT_TRUE(FreeForOthers(mutex));

  TpsEvent first(true), second(true), third(true);
  first.SetEvent();
  second.SetEvent();
  EXPECT_EQ(WaitForAnyOfTwo(first.Handle(), second.Handle()), first.Handle());
  first.ResetEvent();
  EXPECT_EQ(WaitForAnyOfTwo(first.Handle(), second.Handle()), second.Handle());
  second.ResetEvent();
  third.SetEvent();
  EXPECT_EQ(WaitForAnyOfThree(first.Handle(), second.Handle(), third.Handle()), third.Handle());
  EXPECT_EQ(WaitForAnyOfTwo(first.Handle(), nullptr), nullptr);
}

TEST(DocumentLock, NestingAndTheWorkerThread) {
  TpsDocumentAccess access;
  int locks = 0;
  access.OnLock = [&](TpsDocumentAccess* aSender) {
    EXPECT_EQ(aSender, &access);
    ++locks;
  };
  access.Lock();
  access.Lock();
  EXPECT_EQ(access.LockCount(), 2);
  EXPECT_EQ(locks, 1);
  EXPECT_FALSE(access.YieldEvent().IsSet());  // the worker was idle
  EXPECT_FALSE(FreeForOthers(access.Mutex()));
  access.Unlock();
  EXPECT_FALSE(FreeForOthers(access.Mutex()));
  access.Unlock();
  EXPECT_EQ(access.LockCount(), 0);
  EXPECT_TRUE(FreeForOthers(access.Mutex()));
  access.Unlock();  // unbalanced: nothing
  EXPECT_EQ(access.LockCount(), 0);

  std::thread worker([&] {
    access.SetWorkerThreadId(rtl::CurrentThreadId());
    access.Lock();
    EXPECT_EQ(access.LockCount(), 0);
    access.Unlock();
  });
  worker.join();
  EXPECT_EQ(locks, 1);
  {
    TpsDocumentLockGuard guard(access);
    EXPECT_EQ(access.LockCount(), 1);
  }
  EXPECT_EQ(access.LockCount(), 0);
}

TEST(DocumentLock, AskingTheWorkerToYield) {
  TpsDocumentAccess access;
  std::atomic<bool> holding{false};
  bool sawYield = false;
  std::thread worker([&] {
    access.SetWorkerThreadId(rtl::CurrentThreadId());
    ASSERT_TRUE(access.Mutex().WaitFor(rtl::INFINITE));
    holding = true;
    // Steps of work, polling the yield event between them.
    while (!access.YieldEvent().WaitFor(0)) std::this_thread::yield();
    sawYield = true;
    access.Mutex().Release();
  });
  while (!holding) std::this_thread::yield();
  access.Lock();
  EXPECT_EQ(access.LockCount(), 1);
  EXPECT_FALSE(access.YieldEvent().IsSet());  // reset before going on
  access.Unlock();
  worker.join();
  EXPECT_TRUE(sawYield);
}

// The worker never yields: after 20000 ms on the manual clock the lock
// raises, with LockCount unchanged and the yield event reset.
TEST(DocumentLock, TimeOutOnTheManualClock) {
  auto clock = std::make_shared<rtl::ManualClock>();
  rtl::ScopedClock scoped(clock);
  TpsDocumentAccess access;
  std::atomic<bool> holding{false}, done{false};
  std::thread worker([&] {
    access.Mutex().WaitFor(rtl::INFINITE);
    holding = true;
    while (!done) std::this_thread::yield();
    access.Mutex().Release();
  });
  while (!holding) std::this_thread::yield();
  bool raised = false;
  std::thread user([&] {
    try {
      access.Lock();
    } catch (const EpsHtmlEditException&) {
      raised = true;
    }
  });
  while (rtl::ManualClock::WaitingThreads() == 0) std::this_thread::yield();
  EXPECT_TRUE(access.YieldEvent().IsSet());
  clock->Advance(TpsDocumentAccess::YieldTimeoutMs - 1);
  EXPECT_FALSE(raised);
  clock->Advance(1);
  user.join();
  EXPECT_TRUE(raised);
  EXPECT_EQ(access.LockCount(), 0);
  EXPECT_FALSE(access.YieldEvent().IsSet());
  done = true;
  worker.join();
}

// A background thread follows the smart-tag thread's protocol (registers
// its id, waits for the mutex or its stop event, polls the yield event
// between steps, reads the characters and sets, reads and clears smart-tag
// marks) while the user-interface thread runs nested locks and edits the
// same list at its cursor.
TEST(DocumentLock, BackgroundThreadAndNestedEdits) {
  struct Handler final : IpsSmartTagHandler {};
  Handler handler;
  TpsDocumentAccess access;
  TpsEvent stop(true);
  TpsDataChunk chunk;
  chunk.AddText(u"some words of a page that the smart tags read");
  chunk.MoveCursorToEnd();
  std::atomic<int> rounds{0};
  std::atomic<bool> wrong{false};
  std::thread worker([&] {
    access.SetWorkerThreadId(rtl::CurrentThreadId());
    Integer nextId = 1;
    for (;;) {
      // The stop event first, so it wins over a free mutex.
      TpsHandle woke = WaitForAnyOfTwo(stop.Handle(), access.Mutex().Handle());
      if (woke != access.Mutex().Handle()) return;
      for (int step = 0; step < 50 && !access.YieldEvent().WaitFor(0); ++step) {
        // An editor call back into the lock passes straight through.
        TpsDocumentLockGuard guard(access);
        chunk.ClearSmartTagsExcept(0);
        // Mark the first word of the text as the analysis would.
        const AnsiString text = chunk.GetCharacters();
        const size_t begin = text.find_first_not_of(' ');
        if (begin == AnsiString::npos) continue;
        const size_t end = std::min(text.find(' ', begin), text.size());
        TpsChunkElement* first = chunk.GetCharacterByIndex(static_cast<Integer>(begin), false);
        TpsChunkElement* last = chunk.GetCharacterByIndex(static_cast<Integer>(end) - 1, false);
        const Integer id = nextId++;
        chunk.SetSmartTag(first, last, true, id, &handler);
        TpsChunkElement *markedFirst, *markedLast;
        if (chunk.GetSmartTagText(id) != text.substr(begin, end - begin) ||
            !chunk.FindSmartTagRange(id, markedFirst, markedLast) || markedFirst != first || markedLast != last)
          wrong = true;
      }
      ++rounds;
      access.Mutex().Release();
    }
  });
  for (int i = 0; i < 200; ++i) {
    TpsDocumentLockGuard outer(access);
    TpsDocumentLockGuard inner(access);
    chunk.MoveCursorToStart();
    chunk.InsertTextAtCursor(u"x", false);
    bool moved;
    chunk.MoveCursorWordRight(moved);
    chunk.MoveCursorToEnd();
    chunk.DeleteCharacterBeforeCursor();
    chunk.Check();
  }
  while (rounds == 0) std::this_thread::yield();
  access.Lock();
  stop.SetEvent();
  access.Unlock();
  worker.join();
  EXPECT_FALSE(wrong);
  EXPECT_EQ(access.LockCount(), 0);
  EXPECT_EQ(chunk.CountCharacters(false, false), 45);
  EXPECT_EQ(chunk.GetCharacters(), AnsiString(45, 'x'));
}
