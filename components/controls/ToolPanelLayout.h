#pragma once
// The tool panels' stored layout, read and written apart from applying it:
// a strip named N keeps "COUNT" in section N + "PANELS" and one section
// N + "PANEL" + n per panel of its list. Any INI-like store serves (the
// settings file, or the registry's INI view), so reading can be checked,
// and fuzzed, without a window.
#include <optional>
#include <vector>

#include "rtl/IniFiles.h"
#include "rtl/Types.h"

namespace controls {

enum TPanelPersistLocation : uint8_t { pplINIFile, pplRegistry };

// One panel section as read: a missing or non-numeric value is 0, a missing
// name empty.
struct TStoredPanelLayout {
  int Section = 0;  // n of its section
  rtl::AnsiString Name;
  int OpenWidth = 0;
  int Locked = 0;
  int Hidden = 0;
  int Docked = 0;
  int Visible = 0;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  bool IsLocked() const { return Locked == 1; }
  bool IsHidden() const { return Hidden == 1; }
  bool IsDocked() const { return Docked == 1; }
  bool IsVisible() const { return Visible == 1; }
  // The open width the panel takes: "WIDTH" when locked, else "OPENWIDTH";
  // none when that is missing or not above 0, so the designed width stays.
  std::optional<int> StoredOpenWidth() const;
};

struct TStoredStripLayout {
  int Count = 0;
  // The sections the store has among 1 to Count, in order. A section it
  // lacks would read as a nameless one, and an empty name places no panel,
  // so it is left out: a damaged count walks only what is there.
  std::vector<TStoredPanelLayout> Panels;
};

// False when "COUNT" is 0 or missing (no layout); a negative count reads no
// sections.
bool ReadStripLayout(rtl::TCustomIniFile& Store, const rtl::AnsiString& StripName, TStoredStripLayout& Layout);

// What a panel writes of itself. A floating panel (hosted by a floating
// window) writes that window's bounds and its "HEIGHT"; a locked one its
// thickness as "WIDTH"; any other its OpenWidth.
struct TPanelLayoutRecord {
  rtl::AnsiString Name;
  int OpenWidth = 0;  // the strip item's open width
  bool Locked = false;
  bool Hidden = false;
  bool Docked = false;
  bool Visible = false;
  bool HasTab = false;  // "TAB" is written only for a panel with an owning strip
  rtl::AnsiString Tab;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  bool Floating = false;
  int Height = 0;
};

// "COUNT", then each panel's section with its keys in order, every value as
// text; other sections and keys of the store are left as they are.
void WriteStripLayout(rtl::TCustomIniFile& Store, const rtl::AnsiString& StripName,
                      const std::vector<TPanelLayoutRecord>& Panels);

}  // namespace controls
