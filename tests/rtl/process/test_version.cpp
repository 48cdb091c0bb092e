#include <gtest/gtest.h>

#include <filesystem>

#include "rtl/Clock.h"
#include "rtl/Files.h"
#include "rtl/Version.h"

using namespace rtl;

TEST(Version, NumbersAndTextComeFromTheBuild) {
  TFileVersion v = ProgramFileVersion();
  EXPECT_EQ(ProgramFileVersionText(), EXPECTED_VERSION);
  EXPECT_EQ(v.ToString(), EXPECTED_VERSION);
  EXPECT_EQ((TFileVersion{1, 22, 333, 4444}).ToString(), "1.22.333.4444");
}

TEST(Version, ProgramFileAndItsTime) {
  namespace fs = std::filesystem;
  AnsiString self = ProgramFileName();
  EXPECT_EQ(fs::path(self).filename(), "rtl_process_tests");
  auto ms = ProgramFileModifiedUnixMs();
  ASSERT_TRUE(ms.has_value());
  auto written = fs::last_write_time(self);
  auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::file_clock::to_sys(written).time_since_epoch());
  EXPECT_EQ(*ms, sinceEpoch.count());
  EXPECT_LE(*ms, SystemClock().WallUnixMs());
}
