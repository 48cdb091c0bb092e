#include "support/StartupProbes.h"

#include <cstring>
#include <vector>

namespace support {

namespace {

// Constant-initialised: nothing runs before StartPlatformProbes.
struct TProbeState {
  bool started = false;
  bool timerPeriodSet = false;
  bool comInitialized = false;
  rtl::TIMECAPS timerCaps;
  rtl::OSVERSIONINFO versionInfo;
  TFileVersion commonControls;
  TFileVersion shell;
};
constinit TProbeState gProbes;

TFileVersion FileVersionOrZero(const AnsiString& fileName) {
  TFileVersion v;
  if (!QueryFileVersion(fileName, v)) v = {};
  return v;
}

}  // namespace

void StartPlatformProbes() {
  if (gProbes.started) return;
  gProbes.started = true;
  // A finer system timer for the whole run.
  if (rtl::timeGetDevCaps(&gProbes.timerCaps, sizeof(gProbes.timerCaps)) == rtl::TIMERR_NOERROR)
    gProbes.timerPeriodSet = rtl::timeBeginPeriod(gProbes.timerCaps.wPeriodMin) == rtl::TIMERR_NOERROR;
  // COM for the main thread: not on this platform.
  gProbes.comInitialized = false;
  // The system's and the libraries' versions.
  gProbes.versionInfo = {};
  gProbes.versionInfo.dwOSVersionInfoSize = sizeof(rtl::OSVERSIONINFO);
  if (!rtl::GetVersionEx(&gProbes.versionInfo)) {
    gProbes.versionInfo = {};
    gProbes.versionInfo.dwOSVersionInfoSize = sizeof(rtl::OSVERSIONINFO);
  }
  gProbes.commonControls = FileVersionOrZero("comctl32.dll");
  gProbes.shell = FileVersionOrZero("shell32.dll");
}

void StopPlatformProbes() {
  if (!gProbes.started) return;
  gProbes.started = false;
  // COM would be uninitialised here, had it been initialised.
  gProbes.comInitialized = false;
  if (gProbes.timerPeriodSet) rtl::timeEndPeriod(gProbes.timerCaps.wPeriodMin);
  gProbes.timerPeriodSet = false;
}

bool ComInitialized() { return gProbes.comInitialized; }
const rtl::OSVERSIONINFO& RecordedVersionInfo() { return gProbes.versionInfo; }
const rtl::TIMECAPS& RecordedTimerCaps() { return gProbes.timerCaps; }
TFileVersion CommonControlsFileVersion() { return gProbes.commonControls; }
TFileVersion ShellFileVersion() { return gProbes.shell; }

bool IsWindowsNT() { return gProbes.versionInfo.dwPlatformId == rtl::VER_PLATFORM_WIN32_NT; }

bool QueryFileVersion(const AnsiString& fileName, TFileVersion& version) {
  Cardinal handle = 0;
  const Cardinal size = rtl::GetFileVersionInfoSize(fileName, &handle);
  if (size == 0) return false;
  std::vector<unsigned char> buffer(size);
  if (!rtl::GetFileVersionInfo(fileName, handle, size, buffer.data())) return false;
  void* value = nullptr;
  Cardinal length = 0;
  if (!rtl::VerQueryValue(buffer.data(), "\\", &value, &length) || length < sizeof(rtl::VS_FIXEDFILEINFO))
    return false;
  rtl::VS_FIXEDFILEINFO info;
  std::memcpy(&info, value, sizeof(info));
  version.MS = info.dwFileVersionMS;
  version.LS = info.dwFileVersionLS;
  return true;
}

Cardinal CommonControlsVersion() { return gProbes.commonControls.MS; }

bool TreeToolTipsAvailable() { return !(IsWindowsNT() && CommonControlsVersion() < kTreeToolTipsVersion); }

}  // namespace support
