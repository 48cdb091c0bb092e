#include "core/VormekParamsU.h"

#include <charconv>
#include <utility>

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/Format.h"
#include "rtl/IniFiles.h"
#include "rtl/Strings.h"

namespace core {

namespace {

// A key line "key=value" cut at its first "="; a line without one is all key.
std::pair<AnsiString, AnsiString> SplitKeyLine(const AnsiString& line) {
  const size_t eq = line.find('=');
  if (eq == AnsiString::npos) return {line, AnsiString()};
  return {line.substr(0, eq), line.substr(eq + 1)};
}

void CheckPinNumber(Integer pin) {
  if (!TvormekParams::IsPinNumber(pin)) throw rtl::EListError(rtl::Format("Pin number out of range (%d)", {pin}));
}

}  // namespace

void TextraCmds::AddKey(const AnsiString& key, const AnsiString& value) { Add(key + "=" + value); }

bool TextraCmds::FindKey(const AnsiString& key, AnsiString& value) const {
  const AnsiString wanted = rtl::Trim(key);
  for (Integer i = 0; i < Count(); ++i) {
    auto [name, lineValue] = SplitKeyLine(Get(i));
    if (rtl::AnsiSameText(rtl::Trim(name), wanted)) {
      value = std::move(lineValue);
      return true;
    }
  }
  value.clear();
  return false;
}

TvormekParams::TvormekParams() {
  for (Integer pin = kAnalogPinCount + 1; pin <= kPinCount; ++pin) PinRef(pin).Volts = kNoAnalogVolts;
}

TPinData TvormekParams::GetPin(Integer pin) const {
  CheckPinNumber(pin);
  return pins_[static_cast<size_t>(pin - 1)];
}

TPinData& TvormekParams::PinRef(Integer pin) {
  CheckPinNumber(pin);
  return pins_[static_cast<size_t>(pin - 1)];
}

AnsiString VoltsToText(float volts) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, volts);
  return AnsiString(buf, result.ptr);
}

bool TryTextToVolts(const AnsiString& text, float& volts) {
  AnsiString s = rtl::Trim(text);
  // A desktop with "," as decimal separator may have written the file.
  if (s.find('.') == AnsiString::npos) {
    const size_t comma = s.find(',');
    if (comma != AnsiString::npos && s.find(',', comma + 1) == AnsiString::npos) s[comma] = '.';
  }
  double value = 0;
  if (!rtl::TryStrToFloat(s, value)) return false;
  volts = static_cast<float>(value);
  return true;
}

void TvormekParams::LoadFromIni(rtl::TCustomIniFile& ini) {
  for (Integer n = 1; n <= kPinCount; ++n) {
    TPinData& pin = PinRef(n);
    const AnsiString num = rtl::IntToStr(n);
    // The state is a level: anything but 0 is high.
    pin.State = ini.ReadInteger(kSimSection, "PIN.STATUS." + num, 0) != 0 ? 1 : 0;
    if (n <= kAnalogPinCount) {
      float volts = 0;
      pin.Volts = TryTextToVolts(ini.ReadString(kSimSection, "PIN.VOLTS." + num, ""), volts) ? volts : 0.0f;
    } else {
      pin.Volts = kNoAnalogVolts;
    }
    pin.Locked = ini.ReadBool(kSimSection, "PIN.LOCKED." + num, false);
  }
  SerialFrame = ini.ReadString(kSimSection, "Serial.Frame", "");

  ExtraCmds.Clear();
  const Integer count = ini.ReadInteger(kExtraKeysSection, "Count", 0);
  for (Integer i = 0; i < count; ++i) {
    const AnsiString num = rtl::IntToStr(i);
    const AnsiString value = ini.ReadString(kExtraKeysSection, "Value." + num, "");
    const AnsiString key = ini.ReadString(kExtraKeysSection, "Key." + num, "");
    ExtraCmds.AddKey(key, value);
  }
}

void TvormekParams::SaveToIni(rtl::TCustomIniFile& ini) const {
  for (Integer n = 1; n <= kPinCount; ++n) {
    const TPinData& pin = pins_[static_cast<size_t>(n - 1)];
    const AnsiString num = rtl::IntToStr(n);
    ini.WriteInteger(kSimSection, "PIN.STATUS." + num, pin.State);
    ini.WriteString(kSimSection, "PIN.VOLTS." + num, VoltsToText(pin.Volts));
    ini.WriteBool(kSimSection, "PIN.LOCKED." + num, pin.Locked);
  }
  ini.WriteString(kSimSection, "Serial.Frame", SerialFrame);

  ini.EraseSection(kExtraKeysSection);
  ini.WriteInteger(kExtraKeysSection, "Count", ExtraCmds.Count());
  for (Integer i = 0; i < ExtraCmds.Count(); ++i) {
    const AnsiString num = rtl::IntToStr(i);
    const auto [key, value] = SplitKeyLine(ExtraCmds.Get(i));
    ini.WriteString(kExtraKeysSection, "Key." + num, key);
    ini.WriteString(kExtraKeysSection, "Value." + num, value);
  }
}

}  // namespace core
