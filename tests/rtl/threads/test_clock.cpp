#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "WaitHelpers.h"
#include "rtl/Clock.h"
#include "rtl/Exceptions.h"

using namespace rtl;
using rtl_test::Settle;
using rtl_test::WaitersInPlace;

TEST(SystemClock, TicksMoveForwardWithRealTime) {
  uint64_t a = GetTickCount64();
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
  uint64_t b = GetTickCount64();
  EXPECT_GE(b - a, 10u);
  // Wall time is in this century and after the monotonic start.
  EXPECT_GT(NowUnixMs(), int64_t(1'600'000'000'000));
}

TEST(SystemClock, SleepWaitsAtLeastItsTime) {
  uint64_t a = GetTickCount64();
  Sleep(30);
  EXPECT_GE(GetTickCount64() - a, 30u);
}

TEST(ManualClock, TickCountIsThirtyTwoBitsAndWraps) {
  auto clock = std::make_shared<ManualClock>(0xFFFFFF00u);
  ScopedClock use(clock);
  EXPECT_EQ(GetTickCount(), 0xFFFFFF00u);
  clock->Advance(0x200);
  EXPECT_EQ(GetTickCount(), 0x100u);
  EXPECT_EQ(GetTickCount64(), 0x100000100u);
  // Differences taken in 32-bit arithmetic stay right across the wrap.
  EXPECT_EQ(Cardinal(GetTickCount() - 0xFFFFFF00u), 0x200u);
}

TEST(ManualClock, StandsStillAndRestoresThePreviousClock) {
  auto before = CurrentClock();
  {
    auto clock = std::make_shared<ManualClock>(1000, 1'700'000'000'000);
    ScopedClock use(clock);
    EXPECT_EQ(GetTickCount(), 1000u);
    EXPECT_EQ(NowUnixMs(), 1'700'000'000'000);
    clock->Advance(250);
    EXPECT_EQ(GetTickCount(), 1250u);
    EXPECT_EQ(NowUnixMs(), 1'700'000'000'250);
    clock->SetWallUnixMs(5);
    EXPECT_EQ(NowUnixMs(), 5);
    clock->SetMonotonicMs(2000);
    EXPECT_EQ(GetTickCount(), 2000u);
    EXPECT_THROW(clock->SetMonotonicMs(1999), EInvalidArgument);
  }
  EXPECT_EQ(CurrentClock(), before);
  EXPECT_TRUE(CurrentClock()->RealTime());
}

TEST(ManualClock, SleepReturnsOnceTheClockIsAdvancedPastIt) {
  auto clock = std::make_shared<ManualClock>();
  ScopedClock use(clock);
  std::atomic<bool> woke{false};
  std::thread sleeper([&] {
    Sleep(500);
    woke = true;
  });
  ASSERT_TRUE(WaitersInPlace(1));
  clock->Advance(499);
  Settle();
  EXPECT_FALSE(woke);
  clock->Advance(1);
  sleeper.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(GetTickCount(), 500u);
}

// The shape of a send-and-wait exchange: a wait limit doubling from 500 ms,
// four sends, 100 ms slices. With Sleep advancing the clock it runs through
// at once, and the clock shows the time the real exchange would take.
TEST(ManualClock, RetryScheduleRunsWithoutRealSleeping) {
  auto clock = std::make_shared<ManualClock>(123456);
  clock->SetSleepAdvances(true);
  ScopedClock use(clock);
  auto realStart = std::chrono::steady_clock::now();
  std::vector<Cardinal> sendTimes;
  Cardinal limit = 500;
  for (int attempt = 0; attempt < 4; ++attempt) {
    sendTimes.push_back(GetTickCount());
    Cardinal start = GetTickCount();
    do {
      Sleep(100);
    } while (GetTickCount() - start <= limit);
    limit *= 2;
  }
  ASSERT_EQ(sendTimes.size(), 4u);
  std::vector<Cardinal> waits;
  for (size_t i = 1; i < sendTimes.size(); ++i) waits.push_back(sendTimes[i] - sendTimes[i - 1]);
  EXPECT_EQ(waits, (std::vector<Cardinal>{600, 1100, 2100}));
  EXPECT_EQ(GetTickCount() - sendTimes[0], 600u + 1100 + 2100 + 4100);
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(2));
}

TEST(ManualClock, SleepZeroOnlyYields) {
  auto clock = std::make_shared<ManualClock>(7);
  ScopedClock use(clock);
  Sleep(0);
  EXPECT_EQ(GetTickCount(), 7u);
}

// A sleeper that began under the system clock notices a manual clock being
// installed and from then on follows it.
TEST(ManualClock, InstallingWakesWaitersToFollowTheNewClock) {
  std::atomic<bool> woke{false};
  std::thread sleeper([&] {
    Sleep(60'000);
    woke = true;
  });
  ASSERT_TRUE(WaitersInPlace(1));
  auto clock = std::make_shared<ManualClock>();
  {
    ScopedClock use(clock);
    ASSERT_TRUE(rtl_test::Eventually([] { return ManualClock::WaitingThreads() == 1; }));
    Settle();
    EXPECT_FALSE(woke);
    clock->Advance(60'000);
    sleeper.join();
  }
  EXPECT_TRUE(woke);
}

TEST(ClockService, InstallAndReadFromManyThreadsAtOnce) {
  std::atomic<bool> stop{false};
  std::vector<std::thread> readers;
  for (int i = 0; i < 4; ++i)
    readers.emplace_back([&] {
      while (!stop) {
        (void)GetTickCount();
        (void)NowUnixMs();
        Sleep(0);
      }
    });
  for (int i = 0; i < 200; ++i) {
    auto clock = std::make_shared<ManualClock>(uint64_t(i));
    ScopedClock use(clock);
    clock->Advance(1);
  }
  stop = true;
  for (auto& t : readers) t.join();
  EXPECT_TRUE(CurrentClock()->RealTime());
}
