// Many threads handing work to the main thread and signalling each other at
// once. Run under ThreadSanitizer, these are what shows the hand-over and the
// waits publish their data correctly.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "rtl/Clock.h"
#include "rtl/SyncObjs.h"
#include "rtl/Threads.h"

using namespace rtl;

TEST(SyncStress, SynchronizeAndQueueFromManyThreadsWhileTheMainThreadPumps) {
  constexpr int kThreads = 8, kCalls = 300;
  // Touched only on the main thread, but written with data the workers made:
  // plain containers, so a missing happens-before shows up as a race.
  std::vector<std::vector<int>> seen(kThreads);
  long synchronized = 0;
  std::atomic<int> done{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kThreads; ++w)
    workers.emplace_back([&, w] {
      for (int i = 0; i < kCalls; ++i) {
        auto payload = std::make_shared<int>(i);  // made here, read on the main thread
        if (i % 2 == 0) {
          Synchronize([&, w, payload] {
            seen[w].push_back(*payload);
            ++synchronized;
          });
        } else {
          Queue([&, w, payload] { seen[w].push_back(*payload); });
        }
      }
      ++done;
    });
  while (done < kThreads) CheckSynchronize(5);
  for (auto& t : workers) t.join();
  while (CheckSynchronize(0)) {
  }
  EXPECT_EQ(synchronized, kThreads * kCalls / 2);
  for (int w = 0; w < kThreads; ++w) {
    ASSERT_EQ(seen[w].size(), size_t(kCalls)) << "worker " << w;
    for (int i = 0; i < kCalls; ++i) ASSERT_EQ(seen[w][i], i) << "worker " << w;  // each thread's order kept
  }
}

TEST(SyncStress, PingPongOverAutomaticEvents) {
  constexpr int kRounds = 2000;
  TEvent ping(EventReset::Automatic), pong(EventReset::Automatic);
  int ball = 0;  // passed back and forth; only the events order the accesses
  std::thread partner([&] {
    for (int i = 0; i < kRounds; ++i) {
      ASSERT_EQ(ping.WaitFor(INFINITE), TWaitResult::wrSignaled);
      ++ball;
      pong.SetEvent();
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    ++ball;
    ping.SetEvent();
    ASSERT_EQ(pong.WaitFor(INFINITE), TWaitResult::wrSignaled);
  }
  partner.join();
  EXPECT_EQ(ball, 2 * kRounds);
}

TEST(SyncStress, WorkersOnWorkYieldAndStopEventsWithAMutex) {
  // The shape of a background analyser: workers wait on a shared work event
  // and a stop event, take the mutex to touch shared data, and end on stop.
  constexpr int kWorkers = 4, kItems = 2000;
  TEvent work(EventReset::Automatic), stop(EventReset::Manual);
  TMutex lock;
  long processed = 0;  // guarded by lock
  int queued = 0;      // guarded by lock
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w)
    workers.emplace_back([&] {
      THandleObject* list[] = {&stop, &work};
      for (;;) {
        int index = -1;
        ASSERT_EQ(WaitForMultiple(list, false, INFINITE, &index), TWaitResult::wrSignaled);
        if (index == 0) return;
        for (;;) {
          TMutexGuard g(lock);
          if (queued == 0) break;
          --queued;
          ++processed;
        }
      }
    });
  for (int i = 0; i < kItems; ++i) {
    {
      TMutexGuard g(lock);
      ++queued;
    }
    work.SetEvent();
  }
  for (;;) {
    {
      TMutexGuard g(lock);
      if (queued == 0) break;
    }
    work.SetEvent();
    std::this_thread::yield();
  }
  stop.SetEvent();
  for (auto& t : workers) t.join();
  EXPECT_EQ(processed, kItems);
}

TEST(SyncStress, ThreadsWithOnTerminateWhileTheMainThreadWaits) {
  struct Worker : TThread {
    explicit Worker(std::atomic<long>& total) : TThread(true), total_(total) {}
    ~Worker() override {
      if (Started()) WaitFor();
    }
    void Execute() override {
      for (int i = 0; i < 50; ++i) {
        Synchronize([this] { ++local_; });
        total_ += 1;
      }
    }
    std::atomic<long>& total_;
    long local_ = 0;  // main thread only
  };
  std::atomic<long> total{0};
  int terminated = 0;  // main thread only
  std::vector<std::unique_ptr<Worker>> workers;
  for (int i = 0; i < 16; ++i) {
    workers.push_back(std::make_unique<Worker>(total));
    workers.back()->OnTerminate = [&](TThread*) { ++terminated; };
    workers.back()->Start();
  }
  for (auto& w : workers) w->WaitFor();
  EXPECT_EQ(terminated, 16);
  EXPECT_EQ(total, 16 * 50);
  for (auto& w : workers) EXPECT_EQ(w->local_, 50);
}

TEST(SyncStress, TimedWaitsOfManyThreadsFollowAManualClockAdvancedInSmallSteps) {
  constexpr int kThreads = 6, kWaits = 40;
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  TEvent never(EventReset::Manual), alsoNever(EventReset::Automatic);
  std::atomic<int> timeouts{0}, finished{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kThreads; ++w)
    workers.emplace_back([&, w] {
      THandleObject* list[] = {&never, &alsoNever};
      for (int i = 0; i < kWaits; ++i) {
        TWaitResult r = (i + w) % 3 == 0   ? never.WaitFor(10)
                        : (i + w) % 3 == 1 ? WaitForMultiple(list, false, 7)
                                           : (Sleep(5), TWaitResult::wrTimeout);
        if (r == TWaitResult::wrTimeout) ++timeouts;
      }
      ++finished;
    });
  while (finished < kThreads) {
    clock->Advance(1);
    std::this_thread::yield();
  }
  for (auto& t : workers) t.join();
  EXPECT_EQ(timeouts, kThreads * kWaits);
}
