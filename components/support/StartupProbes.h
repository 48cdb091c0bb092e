#pragma once
// What the support library records about the platform when the program
// starts, and the process-wide settings it changes for the whole run: a
// finer system timer, and the versions of the system and of the
// common-controls and shell libraries. There is no COM here, so its
// initialisation never succeeds and nothing is uninitialised at exit.
//
// StartPlatformProbes runs from the program's start-up, StopPlatformProbes
// from its exit, in the reverse order of the libraries; both run on the
// user-interface thread, and a second start or a stop without a start does
// nothing.
#include "rtl/SystemInfo.h"
#include "rtl/Types.h"

namespace support {

using rtl::AnsiString;
using rtl::Cardinal;

// A file version as two 32-bit words, least significant first.
struct TFileVersion {
  Cardinal LS = 0;  // build in the high word, revision in the low
  Cardinal MS = 0;  // major in the high word, minor in the low
  bool operator==(const TFileVersion&) const = default;
};

// The common-controls version from which tree views have tooltips (4.72).
inline constexpr Cardinal kTreeToolTipsVersion = 0x00040048;

void StartPlatformProbes();
void StopPlatformProbes();

// The flag the COM initialisation at start-up recorded (always false here).
bool ComInitialized();
// The version record read at start-up (zeros before).
const rtl::OSVERSIONINFO& RecordedVersionInfo();
// The timer's range read at start-up (zeros before).
const rtl::TIMECAPS& RecordedTimerCaps();
// The file versions read at start-up; zeros when a query failed.
TFileVersion CommonControlsFileVersion();
TFileVersion ShellFileVersion();

// True when the recorded platform is of the NT family.
bool IsWindowsNT();
// The file version of the named file, through its version resource; false,
// with version unchanged, when the file has none or it cannot be read.
bool QueryFileVersion(const AnsiString& fileName, TFileVersion& version);
// The most significant word of the common-controls version recorded at
// start-up: major in the high 16 bits, minor in the low.
Cardinal CommonControlsVersion();
// Whether tree views can have tooltips: not on an NT-family system whose
// common-controls library is older than 4.72 (or did not say its version).
bool TreeToolTipsAvailable();

}  // namespace support
