#pragma once
// What a desktop program asks the system about itself: the version record,
// the version resources of system files, and the multimedia timer's period
// requests. The answers are those of a current desktop (NT family, 10.0)
// and come from this one place, so every layer that asks hears the same.
// Timer-period requests are counted and change nothing: the clock service
// already has millisecond resolution.
#include <optional>

#include "rtl/Types.h"

namespace rtl {

// --- the version record ---

inline constexpr Cardinal kWindowsMajorVersion = 10;
inline constexpr Cardinal kWindowsMinorVersion = 0;
inline constexpr Cardinal kWindowsBuildNumber = 19045;
inline constexpr Cardinal VER_PLATFORM_WIN32s = 0;
inline constexpr Cardinal VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr Cardinal VER_PLATFORM_WIN32_NT = 2;
inline constexpr Cardinal kWindowsPlatformId = VER_PLATFORM_WIN32_NT;

struct OSVERSIONINFO {
  Cardinal dwOSVersionInfoSize = 0;  // the caller sets sizeof(OSVERSIONINFO)
  Cardinal dwMajorVersion = 0;
  Cardinal dwMinorVersion = 0;
  Cardinal dwBuildNumber = 0;
  Cardinal dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
static_assert(sizeof(OSVERSIONINFO) == 148);

// Fills the record; false (and nothing filled) unless its size field says
// 148 bytes.
bool GetVersionEx(OSVERSIONINFO* info);

// --- version resources of files ---

struct VS_FIXEDFILEINFO {
  Cardinal dwSignature = 0;  // 0xFEEF04BD
  Cardinal dwStrucVersion = 0;
  Cardinal dwFileVersionMS = 0;  // major in the high word, minor in the low
  Cardinal dwFileVersionLS = 0;  // build in the high word, revision in the low
  Cardinal dwProductVersionMS = 0;
  Cardinal dwProductVersionLS = 0;
  Cardinal dwFileFlagsMask = 0;
  Cardinal dwFileFlags = 0;
  Cardinal dwFileOS = 0;
  Cardinal dwFileType = 0;
  Cardinal dwFileSubtype = 0;
  Cardinal dwFileDateMS = 0;
  Cardinal dwFileDateLS = 0;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);
inline constexpr Cardinal VS_FFI_SIGNATURE = 0xFEEF04BD;

// The two words of a file version.
struct TFileVersionWords {
  Cardinal MS = 0;
  Cardinal LS = 0;
  bool operator==(const TFileVersionWords&) const = default;
};

// The size of the file's version information, 0 for a file without one.
// Only the system's own libraries have one here ("comctl32.dll" 6.10,
// "shell32.dll" 10.0); the name is matched without regard to case, with or
// without a folder in front and with ".dll" optional. handle, when given,
// is set to 0.
Cardinal GetFileVersionInfoSize(const AnsiString& fileName, Cardinal* handle);
// Copies the file's version information (a version-information block in
// the desktop's binary layout) into data; false for a file without one or
// a buffer smaller than the information.
bool GetFileVersionInfo(const AnsiString& fileName, Cardinal handle, Cardinal length, void* data);
// Looks up a value in a version-information block: the root block "\"
// gives its VS_FIXEDFILEINFO. buffer points into block. False for a block
// that is not well formed or a value it lacks.
bool VerQueryValue(const void* block, const AnsiString& subBlock, void** buffer, Cardinal* length);

// Test hook: the version the named file answers with from now on (none:
// the file has no version information), until ResetFileVersionsForTesting.
void SetFileVersionForTesting(const AnsiString& fileName, std::optional<TFileVersionWords> version);
void ResetFileVersionsForTesting();

// --- the multimedia timer ---

struct TIMECAPS {
  Cardinal wPeriodMin = 0;
  Cardinal wPeriodMax = 0;
};
inline constexpr Cardinal TIMERR_NOERROR = 0;
inline constexpr Cardinal TIMERR_NOCANDO = 97;
inline constexpr Cardinal kTimerPeriodMin = 1;
inline constexpr Cardinal kTimerPeriodMax = 1000000;

// The smallest and largest timer period in milliseconds; TIMERR_NOCANDO
// for a null record or a size other than the record's.
Cardinal timeGetDevCaps(TIMECAPS* caps, Cardinal size);
// Asks for a timer period (counted); TIMERR_NOCANDO outside the range.
Cardinal timeBeginPeriod(Cardinal period);
// Ends a request made with the same period; TIMERR_NOCANDO when there is
// no such request open.
Cardinal timeEndPeriod(Cardinal period);

struct TTimerPeriodCounts {
  Integer Begun = 0;  // successful timeBeginPeriod calls
  Integer Ended = 0;  // successful timeEndPeriod calls
};
// The requests counted since the process started (or the last reset).
TTimerPeriodCounts TimerPeriodCounts();
void ResetTimerPeriodCountsForTesting();

}  // namespace rtl
