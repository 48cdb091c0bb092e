#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "WaitHelpers.h"
#include "rtl/Exceptions.h"
#include "rtl/SyncObjs.h"

using namespace rtl;
using rtl_test::Eventually;
using rtl_test::Settle;
using rtl_test::WaitersInPlace;

TEST(Event, ResetModesAndInitialState) {
  struct Case {
    const char* name;
    EventReset reset;
    bool initial;
    std::vector<TWaitResult> waits;  // successive WaitFor(0) results
  };
  const Case cases[] = {
      {"manual, set", EventReset::Manual, true,
       {TWaitResult::wrSignaled, TWaitResult::wrSignaled, TWaitResult::wrSignaled}},
      {"manual, clear", EventReset::Manual, false, {TWaitResult::wrTimeout, TWaitResult::wrTimeout}},
      {"automatic, set", EventReset::Automatic, true,
       {TWaitResult::wrSignaled, TWaitResult::wrTimeout, TWaitResult::wrTimeout}},
      {"automatic, clear", EventReset::Automatic, false, {TWaitResult::wrTimeout}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TEvent e(c.reset, c.initial);
    for (auto expected : c.waits) EXPECT_EQ(e.WaitFor(0), expected);
  }
}

TEST(Event, SetAndResetAndTheDesktopArgumentOrder) {
  TEvent manual(true, false);
  manual.SetEvent();
  EXPECT_TRUE(manual.IsSet());
  EXPECT_EQ(manual.WaitFor(0), TWaitResult::wrSignaled);
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(0), TWaitResult::wrTimeout);

  TEvent automatic(false, false);
  automatic.SetEvent();
  automatic.SetEvent();  // setting twice still releases one wait
  EXPECT_EQ(automatic.WaitFor(0), TWaitResult::wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), TWaitResult::wrTimeout);
  EXPECT_FALSE(automatic.IsSet());

  TSimpleEvent simple;
  EXPECT_EQ(simple.WaitFor(0), TWaitResult::wrTimeout);
}

TEST(Event, TimedWaitFollowsTheManualClock) {
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  TEvent e;
  std::atomic<int> result{-1};
  std::thread waiter([&] { result = int(e.WaitFor(500)); });
  ASSERT_TRUE(WaitersInPlace(1));
  clock->Advance(400);
  Settle();
  EXPECT_EQ(result, -1);
  clock->Advance(100);
  waiter.join();
  EXPECT_EQ(result, int(TWaitResult::wrTimeout));
}

TEST(Event, TimedWaitEndsWhenSetBeforeTheDeadline) {
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  TEvent e(EventReset::Automatic);
  std::atomic<int> result{-1};
  std::thread waiter([&] { result = int(e.WaitFor(500)); });
  ASSERT_TRUE(WaitersInPlace(1));
  clock->Advance(499);
  e.SetEvent();
  waiter.join();
  EXPECT_EQ(result, int(TWaitResult::wrSignaled));
  EXPECT_FALSE(e.IsSet());  // consumed by the wait
}

TEST(Event, TimedWaitUnderTheSystemClock) {
  TEvent e;
  auto start = GetTickCount64();
  EXPECT_EQ(e.WaitFor(40), TWaitResult::wrTimeout);
  EXPECT_GE(GetTickCount64() - start, 40u);
}

TEST(Event, ManualReleasesEveryWaiterAutomaticReleasesOne) {
  for (bool manual : {true, false}) {
    SCOPED_TRACE(manual ? "manual" : "automatic");
    TEvent e(manual, false);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i)
      waiters.emplace_back([&] {
        if (e.WaitFor(INFINITE) == TWaitResult::wrSignaled) ++released;
      });
    Settle();  // most waiters are blocked by now; the counts hold either way
    e.SetEvent();
    if (manual) {
      ASSERT_TRUE(Eventually([&] { return released == 4; }));
    } else {
      ASSERT_TRUE(Eventually([&] { return released == 1; }));
      Settle();
      EXPECT_EQ(released, 1);
      for (int i = 1; i < 4; ++i) {
        e.SetEvent();
        ASSERT_TRUE(Eventually([&] { return released == i + 1; }));
      }
    }
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released, 4);
  }
}

TEST(NamedEvent, SameNameSharesStateInsideTheProcess) {
  TEvent a(EventReset::Manual, false, "upload-done");
  EXPECT_FALSE(a.OpenedExisting());
  TEvent b(EventReset::Automatic, true, "upload-done");  // opens a's event; its own settings are ignored
  EXPECT_TRUE(b.OpenedExisting());
  EXPECT_EQ(b.WaitFor(0), TWaitResult::wrTimeout);
  a.SetEvent();
  EXPECT_EQ(b.WaitFor(0), TWaitResult::wrSignaled);
  EXPECT_EQ(b.WaitFor(0), TWaitResult::wrSignaled);  // still manual reset
  TEvent other(EventReset::Manual, false, "upload-done-2");
  EXPECT_EQ(other.WaitFor(0), TWaitResult::wrTimeout);
  TEvent unnamed1, unnamed2;
  unnamed1.SetEvent();
  EXPECT_EQ(unnamed2.WaitFor(0), TWaitResult::wrTimeout);
}

TEST(NamedEvent, NameIsFreeAgainOnceEveryHandleIsGone) {
  {
    TEvent a(EventReset::Manual, true, "short-lived");
  }
  TEvent b(EventReset::Manual, false, "short-lived");
  EXPECT_FALSE(b.OpenedExisting());
  EXPECT_EQ(b.WaitFor(0), TWaitResult::wrTimeout);
}

TEST(NamedEvent, ANameHeldByAMutexCannotBeAnEvent) {
  TMutex m(false, "shared-name");
  try {
    TEvent e(EventReset::Manual, false, "shared-name");
    FAIL() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_STREQ(e.ClassName(), "EOSError");
  }
}

TEST(WaitForMultiple, AnyTakesTheFirstSignalledInListOrder) {
  TEvent a(EventReset::Automatic), b(EventReset::Automatic), c(EventReset::Manual);
  THandleObject* list[] = {&a, &b, &c};
  int index = -1;
  EXPECT_EQ(WaitForMultiple(list, false, 0, &index), TWaitResult::wrTimeout);
  b.SetEvent();
  c.SetEvent();
  EXPECT_EQ(WaitForMultiple(list, false, 0, &index), TWaitResult::wrSignaled);
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(b.IsSet());  // only the one taken is consumed
  EXPECT_EQ(WaitForMultiple(list, false, 0, &index), TWaitResult::wrSignaled);
  EXPECT_EQ(index, 2);
  a.SetEvent();
  EXPECT_EQ(WaitForMultiple(list, false, INFINITE, &index), TWaitResult::wrSignaled);
  EXPECT_EQ(index, 0);
}

TEST(WaitForMultiple, AllEndsOnlyWhenEveryObjectIsSignalledAndTakesThemTogether) {
  TEvent a(EventReset::Automatic), b(EventReset::Automatic);
  THandleObject* list[] = {&a, &b};
  a.SetEvent();
  EXPECT_EQ(WaitForMultiple(list, true, 0), TWaitResult::wrTimeout);
  EXPECT_TRUE(a.IsSet());  // a partial match consumes nothing
  std::atomic<int> result{-1};
  std::thread waiter([&] { result = int(WaitForMultiple(list, true, INFINITE)); });
  Settle();
  EXPECT_EQ(result, -1);
  b.SetEvent();
  waiter.join();
  EXPECT_EQ(result, int(TWaitResult::wrSignaled));
  EXPECT_FALSE(a.IsSet());
  EXPECT_FALSE(b.IsSet());
}

TEST(WaitForMultiple, WakesWhenAnotherThreadSignalsAndTimesOutOnTheManualClock) {
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  TEvent work(EventReset::Automatic), stop(EventReset::Manual);
  THandleObject* list[] = {&work, &stop};
  std::atomic<int> result{-1}, index{-1};
  std::thread waiter([&] {
    int i = -1;
    result = int(WaitForMultiple(list, false, 1000, &i));
    index = i;
  });
  ASSERT_TRUE(WaitersInPlace(1));
  stop.SetEvent();
  waiter.join();
  EXPECT_EQ(result, int(TWaitResult::wrSignaled));
  EXPECT_EQ(index, 1);

  stop.ResetEvent();
  std::thread waiter2([&] { result = int(WaitForMultiple(list, false, 1000)); });
  ASSERT_TRUE(WaitersInPlace(1));
  clock->Advance(1000);
  waiter2.join();
  EXPECT_EQ(result, int(TWaitResult::wrTimeout));
}

TEST(WaitForMultiple, BadListsAreErrors) {
  TEvent a;
  THandleObject* withNull[] = {&a, nullptr};
  EXPECT_EQ(WaitForMultiple(std::span<THandleObject* const>(), false, 0), TWaitResult::wrError);
  EXPECT_EQ(WaitForMultiple(withNull, false, 0), TWaitResult::wrError);
}

TEST(Mutex, OwnerMayReenterOthersWaitUntilTheLastRelease) {
  TMutex m;
  EXPECT_EQ(m.WaitFor(0), TWaitResult::wrSignaled);
  EXPECT_EQ(m.WaitFor(0), TWaitResult::wrSignaled);  // recursive for its owner
  std::atomic<int> other{-1};
  std::thread t([&] { other = int(m.WaitFor(0)); });
  t.join();
  EXPECT_EQ(other, int(TWaitResult::wrTimeout));
  m.Release();
  std::thread t2([&] { other = int(m.WaitFor(0)); });
  t2.join();
  EXPECT_EQ(other, int(TWaitResult::wrTimeout));  // still held once
  m.Release();
  std::thread t3([&] {
    other = int(m.WaitFor(0));
    m.Release();
  });
  t3.join();
  EXPECT_EQ(other, int(TWaitResult::wrSignaled));
}

TEST(Mutex, ReleaseByAThreadThatDoesNotOwnItRaises) {
  TMutex m(true);  // owned by this thread from the start
  std::string message;
  std::thread t([&] {
    try {
      m.Release();
    } catch (const EOSError& e) {
      message = e.Message();
    }
  });
  t.join();
  EXPECT_EQ(message, "Attempt to release mutex not owned by caller.");
  m.Release();
  EXPECT_THROW(m.Release(), EOSError);
}

TEST(Mutex, AThreadEndingWhileOwningItAbandonsIt) {
  TMutex m;
  std::thread t([&] { EXPECT_EQ(m.WaitFor(0), TWaitResult::wrSignaled); });
  t.join();
  EXPECT_EQ(m.WaitFor(0), TWaitResult::wrAbandoned);
  // The abandoned wait made us the owner; from here it is an ordinary mutex.
  m.Release();
  EXPECT_EQ(m.WaitFor(0), TWaitResult::wrSignaled);
  m.Release();
}

// The document-lock pattern: a worker sleeps on the mutex together with its
// stop event; the list order decides when both are ready.
TEST(Mutex, WaitsTogetherWithEvents) {
  TMutex m;
  TEvent stop;
  THandleObject* list[] = {&m, &stop};
  m.Acquire();
  std::atomic<int> index{-1};
  std::thread worker([&] {
    int i = -1;
    WaitForMultiple(list, false, INFINITE, &i);
    if (i == 0) m.Release();
    index = i;
  });
  Settle();
  EXPECT_EQ(index, -1);
  m.Release();
  worker.join();
  EXPECT_EQ(index, 0);

  stop.SetEvent();
  int i = -1;
  EXPECT_EQ(WaitForMultiple(list, false, 0, &i), TWaitResult::wrSignaled);
  EXPECT_EQ(i, 0);  // both ready: the first in the list wins
  m.Release();
}

TEST(Mutex, GuardAndNamedMutexes) {
  TMutex a(false, "project-lock");
  TMutex b(false, "project-lock");
  EXPECT_TRUE(b.OpenedExisting());
  {
    TMutexGuard g(a);
    std::atomic<int> other{-1};
    std::thread t([&] { other = int(b.WaitFor(0)); });
    t.join();
    EXPECT_EQ(other, int(TWaitResult::wrTimeout));
  }
  std::atomic<int> other{-1};
  std::thread t([&] {
    other = int(b.WaitFor(0));
    b.Release();
  });
  t.join();
  EXPECT_EQ(other, int(TWaitResult::wrSignaled));
}

TEST(CriticalSection, RecursiveForItsOwnerExclusiveForOthers) {
  TCriticalSection cs;
  cs.Enter();
  EXPECT_TRUE(cs.TryEnter());
  std::atomic<bool> got{true};
  std::thread t([&] { got = cs.TryEnter(); });
  t.join();
  EXPECT_FALSE(got);
  cs.Leave();
  cs.Leave();
  std::thread t2([&] {
    got = cs.TryEnter();
    if (got) cs.Leave();
  });
  t2.join();
  EXPECT_TRUE(got);
}

TEST(CriticalSection, GuardsACounterAcrossThreads) {
  TCriticalSection cs;
  long counter = 0;  // deliberately not atomic: the lock is what keeps it right
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 2000; ++k) {
        TCriticalSectionGuard g(cs);
        ++counter;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 16000);
}
