#pragma once
// The program's file version, set once in the build, and the program file's
// own time stamp.
#include <cstdint>
#include <optional>

#include "rtl/Types.h"

namespace rtl {

struct TFileVersion {
  Word Major = 0;
  Word Minor = 0;
  Word Release = 0;
  Word Build = 0;
  // "Major.Minor.Release.Build", decimal.
  AnsiString ToString() const;
  bool operator==(const TFileVersion&) const = default;
};

TFileVersion ProgramFileVersion();
AnsiString ProgramFileVersionText();
// Last modification of the program file (ProgramFileName in Files.h), milliseconds since 1970-01-01 UTC;
// absent when the file cannot be read.
std::optional<int64_t> ProgramFileModifiedUnixMs();

}  // namespace rtl
