#include "rtl/Version.h"

#include <sys/stat.h>

namespace rtl {

AnsiString TFileVersion::ToString() const {
  return std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Release) + "." +
         std::to_string(Build);
}

TFileVersion ProgramFileVersion() {
  return TFileVersion{Word(TOLVANE_VERSION_MAJOR), Word(TOLVANE_VERSION_MINOR),
                      Word(TOLVANE_VERSION_RELEASE), Word(TOLVANE_VERSION_BUILD)};
}

AnsiString ProgramFileVersionText() { return ProgramFileVersion().ToString(); }

std::optional<int64_t> ProgramFileModifiedUnixMs() {
  struct stat st {};
  if (stat("/proc/self/exe", &st) != 0) return std::nullopt;
  return int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

}  // namespace rtl
