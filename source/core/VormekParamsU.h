#pragma once
// The simulated module the preview expands pages against: 17 pins, the
// network and identity settings, a lock with its password, the last serial
// frame and the extra keys whose values a READ of them gives. Only the pin
// states, volts and locks, the serial frame and the extra keys live in the
// project file; everything else starts from its default each run.
#include <array>

#include "rtl/StringList.h"
#include "rtl/Types.h"

namespace rtl {
class TCustomIniFile;
}

namespace core {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Integer;

// One pin of the simulated module.
struct TPinData {
  Byte State = 0;       // 0 low, 1 high
  bool Locked = false;  // a locked pin keeps its direction when a write changes its state
  Byte Direction = 0;   // 0 input, 1 output
  float Volts = 0;      // kNoAnalogVolts on a pin without analog input
  AnsiString Tone;      // what reading the pin's tone key gives
};

// Volts of a pin that has no analog input.
inline constexpr float kNoAnalogVolts = -9999.0f;

// The extra keys: one "key=value" line each. Names are unique only by
// convention; the first match wins.
class TextraCmds : public rtl::TStringList {
 public:
  // Appends "key=value".
  void AddKey(const AnsiString& key, const AnsiString& value);
  // The value of the first line whose name matches key, both trimmed and
  // compared without regard to case; False (and an empty value) when none.
  bool FindKey(const AnsiString& key, AnsiString& value) const;
};

// Project-file sections of the simulated values.
inline constexpr char kSimSection[] = "SIM.SECTION";
inline constexpr char kExtraKeysSection[] = "Vormek.Key.value";

class TvormekParams {
 public:
  static constexpr Integer kPinCount = 17;
  // Pins 1 to kAnalogPinCount have an analog input.
  static constexpr Integer kAnalogPinCount = 5;

  TvormekParams();
  TvormekParams(const TvormekParams&) = delete;
  TvormekParams& operator=(const TvormekParams&) = delete;

  static bool IsPinNumber(Integer pin) { return pin >= 1 && pin <= kPinCount; }
  // A copy of pin 1..17; raises EListError for any other number.
  TPinData GetPin(Integer pin) const;
  // Pin 1..17 for changing; raises EListError for any other number.
  TPinData& PinRef(Integer pin);

  // Reads the pins, the serial frame and the extra keys from their two
  // sections; missing keys give the defaults. Volts are read with "." or ","
  // as decimal separator; pins without analog input stay at kNoAnalogVolts
  // whatever the file says.
  void LoadFromIni(rtl::TCustomIniFile& ini);
  // Writes the same; the extra-keys section is erased first so that no key
  // of an earlier, longer list is left behind. Volts are written with ".".
  void SaveToIni(rtl::TCustomIniFile& ini) const;

  bool DHCP = false;
  bool Bound = false;
  AnsiString SerialNumber = "My SSN";
  AnsiString ID = "My ID";
  // The module's default password as this imitation assumes it.
  AnsiString Password = "Tolbrisk";
  bool LockFlag = false;
  AnsiString Version;
  AnsiString NetMask = "255.255.255.0";
  AnsiString UDPPort = "80";
  AnsiString Gateway = "192.168.100.1";
  AnsiString HTTPPort = "80";
  AnsiString TFTPPort;
  AnsiString IPAddress = "192.168.100.100";
  TextraCmds ExtraCmds;
  Integer AnnouncePort = 0;
  // The last frame received on the serial line.
  AnsiString SerialFrame;

 private:
  std::array<TPinData, kPinCount> pins_;
};

// The volts as stored in a project file: the shortest "." text that reads
// back as the same 32-bit value ("3.3", "-9999").
AnsiString VoltsToText(float volts);
// Volts text with "." or "," as decimal separator; False when it is no number.
bool TryTextToVolts(const AnsiString& text, float& volts);

}  // namespace core
