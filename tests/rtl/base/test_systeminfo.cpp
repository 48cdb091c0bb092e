// The platform's answers about itself: the version record, version
// resources read back through the block parser, and counted timer periods.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "rtl/SystemInfo.h"

using namespace rtl;

namespace {

// The file version read the way a desktop program reads it: size, block,
// root value.
std::optional<TFileVersionWords> ReadFileVersion(const AnsiString& name) {
  Cardinal handle = 123;
  Cardinal size = GetFileVersionInfoSize(name, &handle);
  EXPECT_EQ(handle, 0u);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfo(name, handle, size, block.data())) return std::nullopt;
  void* value = nullptr;
  Cardinal length = 0;
  if (!VerQueryValue(block.data(), "\\", &value, &length)) return std::nullopt;
  EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  auto* info = static_cast<VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(info->dwSignature, VS_FFI_SIGNATURE);
  return TFileVersionWords{info->dwFileVersionMS, info->dwFileVersionLS};
}

class SystemInfoTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetFileVersionsForTesting();
    ResetTimerPeriodCountsForTesting();
  }
};

}  // namespace

TEST_F(SystemInfoTest, VersionRecordNeedsItsOwnSize) {
  OSVERSIONINFO info;
  info.dwOSVersionInfoSize = 156;  // the extended record's size
  EXPECT_FALSE(GetVersionEx(&info));
  EXPECT_EQ(info.dwMajorVersion, 0u);
  EXPECT_FALSE(GetVersionEx(nullptr));

  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
  std::memset(info.szCSDVersion, 'x', sizeof(info.szCSDVersion));
  ASSERT_TRUE(GetVersionEx(&info));
  EXPECT_EQ(info.dwMajorVersion, 10u);
  EXPECT_EQ(info.dwMinorVersion, 0u);
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.szCSDVersion[0], '\0');
}

TEST_F(SystemInfoTest, SystemLibrariesAnswerTheirVersions) {
  struct Case {
    const char* name;
    std::optional<Cardinal> ms;
  } cases[] = {
      {"comctl32.dll", 0x0006000A},
      {"COMCTL32.DLL", 0x0006000A},
      {"comctl32", 0x0006000A},
      {"C:\\Windows\\System32\\comctl32.dll", 0x0006000A},
      {"/usr/lib/comctl32.dll", 0x0006000A},
      {"shell32.dll", 0x000A0000},
      {"Shell32.Dll", 0x000A0000},
      {"kernel32.dll", std::nullopt},
      {"comctl32.dll.bak", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<TFileVersionWords> v = ReadFileVersion(c.name);
    ASSERT_EQ(v.has_value(), c.ms.has_value());
    if (v) {
      EXPECT_EQ(v->MS, *c.ms);
    }
  }
}

TEST_F(SystemInfoTest, VersionBlockRefusesSmallBuffersAndOtherValues) {
  Cardinal size = GetFileVersionInfoSize("comctl32.dll", nullptr);
  ASSERT_GT(size, sizeof(VS_FIXEDFILEINFO));
  std::vector<unsigned char> block(size, 0xEE);
  EXPECT_FALSE(GetFileVersionInfo("comctl32.dll", 0, size - 1, block.data()));
  EXPECT_FALSE(GetFileVersionInfo("comctl32.dll", 0, size, nullptr));
  ASSERT_TRUE(GetFileVersionInfo("comctl32.dll", 0, size, block.data()));

  void* value = nullptr;
  Cardinal length = 0;
  EXPECT_FALSE(VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length));
  EXPECT_FALSE(VerQueryValue(nullptr, "\\", &value, &length));
  // A damaged key or signature is not taken for version information.
  std::vector<unsigned char> damaged = block;
  damaged[8] ^= 0x20;
  EXPECT_FALSE(VerQueryValue(damaged.data(), "\\", &value, &length));
  damaged = block;
  damaged[size - sizeof(VS_FIXEDFILEINFO)] ^= 0xFF;
  EXPECT_FALSE(VerQueryValue(damaged.data(), "\\", &value, &length));
  EXPECT_TRUE(VerQueryValue(block.data(), "\\", &value, &length));
  EXPECT_EQ(static_cast<unsigned char*>(value), block.data() + size - sizeof(VS_FIXEDFILEINFO));
}

TEST_F(SystemInfoTest, TestHookHidesOrChangesAFileVersion) {
  SetFileVersionForTesting("comctl32.dll", std::nullopt);
  EXPECT_EQ(GetFileVersionInfoSize("comctl32.dll", nullptr), 0u);
  EXPECT_FALSE(ReadFileVersion("comctl32.dll"));
  SetFileVersionForTesting("COMCTL32", TFileVersionWords{0x00040047, 7});
  EXPECT_EQ(ReadFileVersion("comctl32.dll"), (TFileVersionWords{0x00040047, 7}));
  ResetFileVersionsForTesting();
  EXPECT_EQ(ReadFileVersion("comctl32.dll")->MS, 0x0006000Au);
}

TEST_F(SystemInfoTest, TimerPeriodRequestsAreCountedAndMustMatch) {
  TIMECAPS caps;
  EXPECT_EQ(timeGetDevCaps(&caps, 4), TIMERR_NOCANDO);
  EXPECT_EQ(timeGetDevCaps(nullptr, sizeof(TIMECAPS)), TIMERR_NOCANDO);
  ASSERT_EQ(timeGetDevCaps(&caps, sizeof(TIMECAPS)), TIMERR_NOERROR);
  EXPECT_EQ(caps.wPeriodMin, 1u);
  EXPECT_GT(caps.wPeriodMax, caps.wPeriodMin);

  EXPECT_EQ(timeBeginPeriod(0), TIMERR_NOCANDO);
  EXPECT_EQ(timeEndPeriod(caps.wPeriodMin), TIMERR_NOCANDO);  // nothing asked yet
  EXPECT_EQ(timeBeginPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeBeginPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeEndPeriod(5), TIMERR_NOCANDO);  // another period
  EXPECT_EQ(timeEndPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeEndPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeEndPeriod(caps.wPeriodMin), TIMERR_NOCANDO);
  TTimerPeriodCounts counts = TimerPeriodCounts();
  EXPECT_EQ(counts.Begun, 2);
  EXPECT_EQ(counts.Ended, 2);
}
