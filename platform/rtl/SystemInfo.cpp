#include "rtl/SystemInfo.h"

#include <cstring>
#include <map>
#include <mutex>

#include "rtl/Strings.h"

namespace rtl {

bool GetVersionEx(OSVERSIONINFO* info) {
  if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) return false;
  info->dwMajorVersion = kWindowsMajorVersion;
  info->dwMinorVersion = kWindowsMinorVersion;
  info->dwBuildNumber = kWindowsBuildNumber;
  info->dwPlatformId = kWindowsPlatformId;
  std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
  return true;
}

namespace {

constexpr Cardinal MakeVersionWord(Cardinal high, Cardinal low) { return (high << 16) | (low & 0xFFFF); }

// The libraries whose versions programs ask for, keyed by lower-case name
// without ".dll".
std::map<AnsiString, TFileVersionWords> DefaultFileVersions() {
  return {
      {"comctl32", {MakeVersionWord(6, 10), MakeVersionWord(kWindowsBuildNumber, 1)}},
      {"shell32", {MakeVersionWord(10, 0), MakeVersionWord(kWindowsBuildNumber, 1)}},
  };
}

struct FileVersionTable {
  std::mutex lock;
  std::map<AnsiString, TFileVersionWords> versions = DefaultFileVersions();
};

FileVersionTable& Table() {
  static FileVersionTable table;
  return table;
}

AnsiString FileKey(const AnsiString& fileName) {
  AnsiString name = fileName;
  size_t slash = name.find_last_of("/\\");
  if (slash != AnsiString::npos) name.erase(0, slash + 1);
  name = LowerCase(name);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) name.resize(name.size() - 4);
  return name;
}

std::optional<TFileVersionWords> FileVersionOf(const AnsiString& fileName) {
  FileVersionTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.versions.find(FileKey(fileName));
  if (it == t.versions.end()) return std::nullopt;
  return it->second;
}

// A version-information block as the desktop lays it out: a header of
// three 16-bit words (whole length, value length, type 0 for binary), the
// key "VS_VERSION_INFO" in UTF-16 with its terminator, padding to a 32-bit
// boundary, then the fixed file information. No string or variable
// children follow: nothing here asks for them.
constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";
constexpr size_t kHeaderBytes = 6;
constexpr size_t kKeyBytes = sizeof(kRootKey);  // terminator included
constexpr size_t kValueOffset = (kHeaderBytes + kKeyBytes + 3) & ~size_t{3};
constexpr size_t kBlockBytes = kValueOffset + sizeof(VS_FIXEDFILEINFO);

void PutWord(unsigned char* p, uint16_t w) {
  p[0] = static_cast<unsigned char>(w & 0xFF);
  p[1] = static_cast<unsigned char>(w >> 8);
}
uint16_t GetWord(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void WriteBlock(const TFileVersionWords& v, unsigned char* out) {
  std::memset(out, 0, kBlockBytes);
  PutWord(out, static_cast<uint16_t>(kBlockBytes));
  PutWord(out + 2, static_cast<uint16_t>(sizeof(VS_FIXEDFILEINFO)));
  PutWord(out + 4, 0);
  for (size_t i = 0; i < kKeyBytes / 2; ++i) PutWord(out + kHeaderBytes + 2 * i, kRootKey[i]);
  VS_FIXEDFILEINFO info;
  info.dwSignature = VS_FFI_SIGNATURE;
  info.dwStrucVersion = 0x00010000;
  info.dwFileVersionMS = info.dwProductVersionMS = v.MS;
  info.dwFileVersionLS = info.dwProductVersionLS = v.LS;
  info.dwFileFlagsMask = 0x3F;
  info.dwFileOS = 0x00040004;  // VOS_NT_WINDOWS32
  info.dwFileType = 2;         // VFT_DLL
  std::memcpy(out + kValueOffset, &info, sizeof(info));
}

}  // namespace

Cardinal GetFileVersionInfoSize(const AnsiString& fileName, Cardinal* handle) {
  if (handle) *handle = 0;
  return FileVersionOf(fileName) ? static_cast<Cardinal>(kBlockBytes) : 0;
}

bool GetFileVersionInfo(const AnsiString& fileName, Cardinal, Cardinal length, void* data) {
  std::optional<TFileVersionWords> v = FileVersionOf(fileName);
  if (!v || !data || length < kBlockBytes) return false;
  WriteBlock(*v, static_cast<unsigned char*>(data));
  return true;
}

bool VerQueryValue(const void* block, const AnsiString& subBlock, void** buffer, Cardinal* length) {
  if (!block || !buffer || !length) return false;
  if (subBlock != "\\") return false;
  const auto* p = static_cast<const unsigned char*>(block);
  if (GetWord(p) < kBlockBytes || GetWord(p + 2) != sizeof(VS_FIXEDFILEINFO) || GetWord(p + 4) != 0) return false;
  for (size_t i = 0; i < kKeyBytes / 2; ++i)
    if (GetWord(p + kHeaderBytes + 2 * i) != kRootKey[i]) return false;
  VS_FIXEDFILEINFO info;
  std::memcpy(&info, p + kValueOffset, sizeof(info));
  if (info.dwSignature != VS_FFI_SIGNATURE) return false;
  *buffer = const_cast<unsigned char*>(p + kValueOffset);
  *length = sizeof(VS_FIXEDFILEINFO);
  return true;
}

void SetFileVersionForTesting(const AnsiString& fileName, std::optional<TFileVersionWords> version) {
  FileVersionTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  if (version)
    t.versions[FileKey(fileName)] = *version;
  else
    t.versions.erase(FileKey(fileName));
}

void ResetFileVersionsForTesting() {
  FileVersionTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  t.versions = DefaultFileVersions();
}

// --- the multimedia timer ---

namespace {

struct TimerPeriods {
  std::mutex lock;
  std::map<Cardinal, Integer> open;  // period -> requests not yet ended
  TTimerPeriodCounts counts;
};

TimerPeriods& Periods() {
  static TimerPeriods periods;
  return periods;
}

}  // namespace

Cardinal timeGetDevCaps(TIMECAPS* caps, Cardinal size) {
  if (!caps || size != sizeof(TIMECAPS)) return TIMERR_NOCANDO;
  caps->wPeriodMin = kTimerPeriodMin;
  caps->wPeriodMax = kTimerPeriodMax;
  return TIMERR_NOERROR;
}

Cardinal timeBeginPeriod(Cardinal period) {
  if (period < kTimerPeriodMin || period > kTimerPeriodMax) return TIMERR_NOCANDO;
  TimerPeriods& p = Periods();
  std::lock_guard<std::mutex> guard(p.lock);
  ++p.open[period];
  ++p.counts.Begun;
  return TIMERR_NOERROR;
}

Cardinal timeEndPeriod(Cardinal period) {
  TimerPeriods& p = Periods();
  std::lock_guard<std::mutex> guard(p.lock);
  auto it = p.open.find(period);
  if (it == p.open.end()) return TIMERR_NOCANDO;
  if (--it->second == 0) p.open.erase(it);
  ++p.counts.Ended;
  return TIMERR_NOERROR;
}

TTimerPeriodCounts TimerPeriodCounts() {
  TimerPeriods& p = Periods();
  std::lock_guard<std::mutex> guard(p.lock);
  return p.counts;
}

void ResetTimerPeriodCountsForTesting() {
  TimerPeriods& p = Periods();
  std::lock_guard<std::mutex> guard(p.lock);
  p.open.clear();
  p.counts = {};
}

}  // namespace rtl
