// The start-up probes: what they record, the timer period they hold for
// the run, and the tree-tooltip decision drawn from the recorded version.
#include <gtest/gtest.h>

#include "rtl/SystemInfo.h"
#include "support/StartupProbes.h"
#include "support/SupportLibrary.h"

using namespace support;

namespace {

class StartupProbesTest : public ::testing::Test {
 protected:
  void SetUp() override { rtl::ResetTimerPeriodCountsForTesting(); }
  void TearDown() override {
    StopPlatformProbes();
    rtl::ResetFileVersionsForTesting();
    rtl::ResetTimerPeriodCountsForTesting();
  }
};

}  // namespace

TEST_F(StartupProbesTest, StartRecordsTheSystemAndStopUndoesTheTimer) {
  StartPlatformProbes();
  EXPECT_TRUE(IsWindowsNT());
  EXPECT_EQ(RecordedVersionInfo().dwOSVersionInfoSize, 148u);
  EXPECT_EQ(RecordedVersionInfo().dwMajorVersion, 10u);
  EXPECT_FALSE(ComInitialized());
  EXPECT_EQ(CommonControlsVersion(), 0x0006000Au);
  EXPECT_EQ(CommonControlsFileVersion().MS, 0x0006000Au);
  EXPECT_EQ(ShellFileVersion().MS, 0x000A0000u);
  EXPECT_EQ(RecordedTimerCaps().wPeriodMin, 1u);
  EXPECT_TRUE(TreeToolTipsAvailable());
  EXPECT_EQ(rtl::TimerPeriodCounts().Begun, 1);
  EXPECT_EQ(rtl::TimerPeriodCounts().Ended, 0);

  // A second start changes nothing; the stop ends the one request.
  StartPlatformProbes();
  EXPECT_EQ(rtl::TimerPeriodCounts().Begun, 1);
  StopPlatformProbes();
  StopPlatformProbes();
  EXPECT_EQ(rtl::TimerPeriodCounts().Begun, 1);
  EXPECT_EQ(rtl::TimerPeriodCounts().Ended, 1);
  // The period ended is the one begun: nothing is left to end.
  EXPECT_EQ(rtl::timeEndPeriod(RecordedTimerCaps().wPeriodMin), rtl::TIMERR_NOCANDO);
}

TEST_F(StartupProbesTest, MissingCommonControlsVersionCountsAsOld) {
  rtl::SetFileVersionForTesting("comctl32.dll", std::nullopt);
  StartPlatformProbes();
  EXPECT_EQ(CommonControlsFileVersion(), (TFileVersion{0, 0}));
  EXPECT_EQ(CommonControlsVersion(), 0u);
  EXPECT_TRUE(IsWindowsNT());
  EXPECT_FALSE(TreeToolTipsAvailable());
  EXPECT_EQ(ShellFileVersion().MS, 0x000A0000u);
}

TEST_F(StartupProbesTest, TreeToolTipsFromVersion472On) {
  struct Case {
    rtl::Cardinal ms;
    bool tips;
  } cases[] = {{0x00040047, false}, {0x00040048, true}, {0x00050050, true}, {0x0003FFFF, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ms);
    rtl::SetFileVersionForTesting("comctl32.dll", rtl::TFileVersionWords{c.ms, 0});
    StartPlatformProbes();
    EXPECT_EQ(CommonControlsVersion(), c.ms);
    EXPECT_EQ(TreeToolTipsAvailable(), c.tips);
    StopPlatformProbes();
  }
}

TEST_F(StartupProbesTest, QueryFileVersionLeavesTheVersionOnFailure) {
  TFileVersion v{7, 9};
  EXPECT_FALSE(QueryFileVersion("user32.dll", v));
  EXPECT_EQ(v, (TFileVersion{7, 9}));
  ASSERT_TRUE(QueryFileVersion("C:\\Windows\\System32\\SHELL32.DLL", v));
  EXPECT_EQ(v.MS, 0x000A0000u);
  EXPECT_EQ(v.LS >> 16, rtl::kWindowsBuildNumber);
}

TEST_F(StartupProbesTest, LibraryStartUpRunsTheProbesAndShutDownEndsThem) {
  StartUpSupport();
  EXPECT_TRUE(IsWindowsNT());
  EXPECT_EQ(rtl::TimerPeriodCounts().Begun, 1);
  ShutDownSupport();
  EXPECT_EQ(rtl::TimerPeriodCounts().Ended, 1);
}
