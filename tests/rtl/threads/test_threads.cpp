#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "WaitHelpers.h"
#include "rtl/Exceptions.h"
#include "rtl/SyncObjs.h"
#include "rtl/Threads.h"

using namespace rtl;
using rtl_test::Eventually;
using rtl_test::Settle;

namespace {

// Runs a function as its Execute.
class FnThread : public TThread {
 public:
  explicit FnThread(std::function<void(FnThread&)> body, bool suspended = true)
      : TThread(suspended), body_(std::move(body)) {}
  ~FnThread() override {
    Terminate();
    if (Started() && !FreeOnTerminate()) WaitFor();
  }
  using TThread::SetReturnValue;
  using TThread::Synchronize;
  using TThread::Queue;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(FnThread&)> body_;
};

}  // namespace

TEST(Thread, CreatedSuspendedRunsOnlyAfterStart) {
  std::atomic<bool> ran{false};
  FnThread t([&](FnThread&) { ran = true; });
  EXPECT_NE(t.ThreadID(), 0u);
  EXPECT_NE(t.ThreadID(), CurrentThreadId());
  Settle();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(t.Started());
  t.Start();
  t.WaitFor();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(t.Finished());
  EXPECT_THROW(t.Start(), EThread);
}

TEST(Thread, CreatedRunningStartsOnceBuilt) {
  std::atomic<TThreadID> seen{0};
  auto t = MakeThread<FnThread>([&](FnThread&) { seen = CurrentThreadId(); }, false);
  t->WaitFor();
  EXPECT_EQ(seen, t->ThreadID());
}

TEST(Thread, WaitForReturnsTheReturnValue) {
  FnThread t([](FnThread& self) { self.SetReturnValue(42); });
  t.Start();
  EXPECT_EQ(t.WaitFor(), 42);
  EXPECT_EQ(t.ReturnValue(), 42);
}

TEST(Thread, TerminateIsSeenByExecute) {
  std::atomic<int> loops{0};
  FnThread t([&](FnThread& self) {
    while (!self.Terminated()) {
      ++loops;
      std::this_thread::yield();
    }
  });
  t.Start();
  ASSERT_TRUE(Eventually([&] { return loops > 10; }));
  t.Terminate();
  t.WaitFor();
  EXPECT_TRUE(t.Terminated());
}

TEST(Thread, ExceptionEscapingExecuteIsKept) {
  struct Case {
    const char* name;
    std::function<void()> raise;
    const char* message;
  };
  const Case cases[] = {
      {"ours", [] { throw EConvertError("'x' is not a valid integer value"); },
       "'x' is not a valid integer value"},
      {"standard", [] { throw std::runtime_error("disk gone"); }, "disk gone"},
      {"foreign", [] { throw 7; }, "unknown exception"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FnThread t([&](FnThread&) { c.raise(); });
    t.Start();
    t.WaitFor();
    ASSERT_TRUE(t.FatalException());
    EXPECT_EQ(t.FatalMessage(), c.message);
  }
  FnThread fine([](FnThread&) {});
  fine.Start();
  fine.WaitFor();
  EXPECT_FALSE(fine.FatalException());
  EXPECT_EQ(fine.FatalMessage(), "");
}

TEST(Thread, OnTerminateRunsOnTheMainThreadDuringWaitFor) {
  TThreadID ranOn = 0;
  TThread* sender = nullptr;
  FnThread t([](FnThread&) {});
  t.OnTerminate = [&](TThread* s) {
    ranOn = CurrentThreadId();
    sender = s;
  };
  t.Start();
  t.WaitFor();
  EXPECT_EQ(ranOn, MainThreadID());
  EXPECT_EQ(sender, &t);
}

TEST(Thread, WaitForMisuseRaises) {
  FnThread never([](FnThread&) {});
  EXPECT_THROW(never.WaitFor(), EThread);
  std::string message;
  FnThread self([&](FnThread& me) {
    try {
      me.WaitFor();
    } catch (const EThread& e) {
      message = e.Message();
    }
  });
  self.Start();
  self.WaitFor();
  EXPECT_EQ(message, "A thread cannot wait for itself");
}

TEST(Thread, DestroyingANeverStartedThreadDoesNotRunIt) {
  std::atomic<bool> ran{false};
  {
    FnThread t([&](FnThread&) { ran = true; });
  }
  EXPECT_FALSE(ran);
}

TEST(Thread, FreeOnTerminateDeletesItself) {
  struct Tracked : FnThread {
    Tracked(std::function<void(FnThread&)> body, TEvent& gone) : FnThread(std::move(body)), gone_(gone) {}
    ~Tracked() override { gone_.SetEvent(); }
    TEvent& gone_;
  };
  TEvent gone;
  auto* t = new Tracked([](FnThread&) {}, gone);
  t->SetFreeOnTerminate(true);
  EXPECT_TRUE(t->FreeOnTerminate());
  EXPECT_THROW(t->WaitFor(), EThread);  // not started yet, and it frees itself
  t->Start();
  EXPECT_EQ(gone.WaitFor(10'000), TWaitResult::wrSignaled);
}

TEST(Synchronize, RunsOnTheMainThreadAndRaisesInTheCaller) {
  TThreadID ranOn = 0;
  std::string caught;
  FnThread t([&](FnThread& self) {
    self.Synchronize([&] { ranOn = CurrentThreadId(); });
    try {
      self.Synchronize([] { throw EConvertError("bad value"); });
    } catch (const EConvertError& e) {
      caught = e.Message();
    }
  });
  t.Start();
  t.WaitFor();  // pumps the synchronized calls
  EXPECT_EQ(ranOn, MainThreadID());
  EXPECT_EQ(caught, "bad value");
}

TEST(Synchronize, OnTheMainThreadRunsAtOnce) {
  int ran = 0;
  Synchronize([&] { ++ran; });
  Queue([&] { ++ran; });
  EXPECT_EQ(ran, 2);
  EXPECT_FALSE(CheckSynchronize(0));
}

TEST(Synchronize, CheckSynchronizeOnlyOnTheMainThread) {
  std::string message;
  std::thread t([&] {
    try {
      CheckSynchronize(0);
    } catch (const EThread& e) {
      message = e.Message();
    }
  });
  t.join();
  EXPECT_EQ(message, "CheckSynchronize called from a thread that is not the main thread");
}

TEST(Synchronize, QueueRunsInOrderWithoutWaitingAndWakesTheMainThread) {
  std::atomic<int> wakes{0};
  SetWakeMainThread([&] { ++wakes; });
  std::vector<int> order;
  std::thread t([&] {
    for (int i = 0; i < 5; ++i) Queue([&order, i] { order.push_back(i); });
  });
  t.join();  // returned without anyone running the work
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(wakes, 5);
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_FALSE(CheckSynchronize(0));
  SetWakeMainThread(nullptr);
}

TEST(Synchronize, AFailingQueuedCallLeavesTheRestQueued) {
  std::vector<int> order;
  std::thread t([&] {
    Queue([&] { order.push_back(1); });
    Queue([] { throw EAbort("stop"); });
    Queue([&] { order.push_back(3); });
  });
  t.join();
  EXPECT_THROW(CheckSynchronize(0), EAbort);
  EXPECT_EQ(order, (std::vector<int>{1}));
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

TEST(Synchronize, CheckSynchronizeWaitsOnTheClockService) {
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  std::thread advancer([&] {
    ASSERT_TRUE(rtl_test::WaitersInPlace(1));
    clock->Advance(300);
  });
  EXPECT_FALSE(CheckSynchronize(300));  // nothing queued: returns when the clock passes 300
  advancer.join();

  int ran = 0;
  std::thread queuer([&] {
    Settle();  // usually after the main thread blocked; either order must work
    Queue([&] { ++ran; });
  });
  EXPECT_TRUE(CheckSynchronize(INFINITE));
  queuer.join();
  EXPECT_EQ(ran, 1);
}
