#include "core/VormekSettingsU.h"

#include <cstdlib>

#include "core/DevListU.h"
#include "rtl/Files.h"
#include "rtl/Strings.h"

namespace core {

void TVormeksettings::ReadFromIni(rtl::TCustomIniFile& ini) {
  AnnouncePort = ini.ReadInteger(kSection, kAnnouncePortKey, AnnouncePort);
  RcvAnnouncePort = ini.ReadInteger(kSection, kRcvAnnouncePortKey, RcvAnnouncePort);
  const AnsiString address = rtl::Trim(ini.ReadString(kSection, kAnnounceAddressKey, AnnounceAddress));
  if (!address.empty()) AnnounceAddress = address;
}

void TVormeksettings::WriteToIni(rtl::TCustomIniFile& ini) const {
  ini.WriteInteger(kSection, kAnnouncePortKey, AnnouncePort);
  ini.WriteInteger(kSection, kRcvAnnouncePortKey, RcvAnnouncePort);
  ini.WriteString(kSection, kAnnounceAddressKey, AnnounceAddress);
}

void TVormeksettings::AssignFromList(const TvormekDevList& list) {
  AnnouncePort = list.AnnouncePort();
  RcvAnnouncePort = list.RcvAnnouncePort();
  AnnounceAddress = list.AnnounceAddress();
}

void TVormeksettings::AssignToList(TvormekDevList& list) const {
  list.SetAnnouncePort(AnnouncePort);
  list.SetRcvAnnouncePort(RcvAnnouncePort);
  list.SetAnnounceAddress(AnnounceAddress);
}

AnsiString GetSettingsFileName(const AnsiString& programFile) {
  const AnsiString fallback = rtl::ChangeFileExt(programFile, ".ini");
  // The application-data folder comes from the environment; with neither
  // variable set there is nothing to expand.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (!(xdg && *xdg) && !(home && *home)) return fallback;
  const AnsiString appData = rtl::ExcludeTrailingPathDelimiter(rtl::AppDataFolder());
  const AnsiString parent = rtl::ExtractFileDir(appData);
  if (parent.empty() || !rtl::DirectoryExists(parent)) return fallback;
  const AnsiString name = rtl::ExtractFileName(programFile);
  const AnsiString folder =
      rtl::IncludeTrailingPathDelimiter(appData) + rtl::ChangeFileExt(name, "");
  rtl::ForceDirectories(folder);
  return rtl::IncludeTrailingPathDelimiter(folder) + rtl::ChangeFileExt(name, ".ini");
}

AnsiString GetSettingsFileName() { return GetSettingsFileName(rtl::ProgramFileName()); }

}  // namespace core
