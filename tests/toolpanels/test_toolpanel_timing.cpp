// The sliding pace on a manual clock that moves on every sleep: each
// speed's step waits exactly its delay and lets pending messages in every
// third millisecond; the timer periods by speed.
#include <gtest/gtest.h>

#include <memory>

#include "controls/ToolPanelTiming.h"
#include "rtl/Clock.h"
#include "rtl/MessagePump.h"

using namespace controls;
using namespace controls::toolpanels;

TEST(ToolPanelTiming, EachSpeedWaitsItsDelayAndLetsMessagesIn) {
  struct Case {
    TSlideSpeed speed;
    int delay;
    int pumps;  // at 0, 3, 6, ... below the delay
  } cases[] = {{ssSlow, 18, 6}, {ssMedium, 9, 3}, {ssFast, 3, 1}, {ssInstant, 0, 0}};
  auto clock = std::make_shared<rtl::ManualClock>(5000);
  clock->SetSleepAdvances(true);
  rtl::InstallClock(clock);
  int pumps = 0;
  std::vector<uint64_t> pumpedAt;
  auto previous = rtl::SetProcessMessagesHandler([&] {
    ++pumps;
    pumpedAt.push_back(rtl::GetTickCount64());
  });
  for (const Case& c : cases) {
    EXPECT_EQ(SlideStepDelay(c.speed), c.delay);
    pumps = 0;
    pumpedAt.clear();
    const uint64_t before = rtl::GetTickCount64();
    WaitSlideStep(SlideStepDelay(c.speed));
    EXPECT_EQ(rtl::GetTickCount64() - before, static_cast<uint64_t>(c.delay)) << c.speed;
    EXPECT_EQ(pumps, c.pumps) << c.speed;
    for (size_t i = 0; i < pumpedAt.size(); ++i) EXPECT_EQ(pumpedAt[i] - before, 3 * i) << c.speed;
  }
  // A negative delay waits no more than none.
  const uint64_t before = rtl::GetTickCount64();
  WaitSlideStep(-5);
  EXPECT_EQ(rtl::GetTickCount64(), before);
  rtl::SetProcessMessagesHandler(previous);
  rtl::InstallClock(nullptr);
}

TEST(ToolPanelTiming, TheTimerPeriodBySpeed) {
  struct Case {
    TAutoOpenCloseSpeed speed;
    uint32_t ms;
  } cases[] = {{aocSlow, 500}, {aocMedium, 200}, {aocFast, 75}, {aocVerySlow, 1500}, {aocVeryFast, 40}};
  for (const Case& c : cases) EXPECT_EQ(AutoOpenCloseInterval(c.speed), c.ms) << c.speed;
  EXPECT_EQ(kSlideStep, 15);
}
