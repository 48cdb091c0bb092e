#pragma once
// The module-discovery part of the per-user settings file, and where that
// file lives.
#include "rtl/IniFiles.h"
#include "rtl/Types.h"

namespace core {

using rtl::AnsiString;
class TvormekDevList;

// The discovery settings kept in the "udp.settings" section.
class TVormeksettings {
 public:
  static constexpr const char* kSection = "udp.settings";
  static constexpr const char* kAnnouncePortKey = "Announce.port";
  static constexpr const char* kRcvAnnouncePortKey = "Rcv.Announce.port";
  // Where the discovery request is sent (a broadcast address).
  static constexpr const char* kAnnounceAddressKey = "Announce.address";

  // The port discovery requests go to, and the port answers come back on.
  // Both start at zero (and the address empty) until copied from the module
  // list, whose values are thus the defaults.
  rtl::Integer AnnouncePort = 0;
  rtl::Integer RcvAnnouncePort = 0;
  AnsiString AnnounceAddress;

  // Reads the three values, each with its current value as the default; a
  // number that does not read as one, and an empty address, keep the default.
  void ReadFromIni(rtl::TCustomIniFile& ini);
  // Writes "Announce.port", "Rcv.Announce.port" and "Announce.address".
  void WriteToIni(rtl::TCustomIniFile& ini) const;

  // Copies the values from the module list (before reading the file) and
  // back into it (after reading, so that discovery uses the file's values).
  void AssignFromList(const TvormekDevList& list);
  void AssignToList(TvormekDevList& list) const;
};

// The settings file of the running program: "<app data>/<program>/<program>.ini"
// where app data is the user's application-data folder, or, when that cannot
// be found or its parent folder does not exist, the program file's name with
// ".ini" beside the program. Creates the folder (with its parents) each time
// it is asked.
AnsiString GetSettingsFileName();
// The same rule for another program file (a full path).
AnsiString GetSettingsFileName(const AnsiString& programFile);

}  // namespace core
