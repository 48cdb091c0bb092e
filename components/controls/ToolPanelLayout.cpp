#include "controls/ToolPanelLayout.h"

#include <algorithm>

#include "rtl/Convert.h"
#include "rtl/StringList.h"
#include "rtl/Strings.h"

namespace controls {

namespace {

int StoredNumber(rtl::TCustomIniFile& store, const rtl::AnsiString& section, const char* key) {
  return rtl::StrToIntDef(store.ReadString(section, key, ""), 0);
}

// The numbers n of the store's sections named prefix + n (decimal, no
// leading zero, from 1 to limit), in ascending order. Section names
// compare without regard to case, as the store finds them.
std::vector<int> PanelSections(rtl::TCustomIniFile& store, const rtl::AnsiString& prefix, int limit) {
  rtl::TStringList sections;
  store.ReadSections(sections);
  std::vector<int> found;
  for (int i = 0; i < sections.Count(); ++i) {
    const rtl::AnsiString name = sections[i];
    if (name.size() <= prefix.size() || name.size() - prefix.size() > 10) continue;
    if (!rtl::SameText(name.substr(0, prefix.size()), prefix)) continue;
    const rtl::AnsiString digits = name.substr(prefix.size());
    if (digits[0] < '1' || digits[0] > '9') continue;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    const long long n = std::stoll(digits);
    if (n <= limit) found.push_back(static_cast<int>(n));
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

}  // namespace

std::optional<int> TStoredPanelLayout::StoredOpenWidth() const {
  const int width = IsLocked() ? Width : OpenWidth;
  if (width <= 0) return std::nullopt;
  return width;
}

bool ReadStripLayout(rtl::TCustomIniFile& Store, const rtl::AnsiString& StripName, TStoredStripLayout& Layout) {
  Layout = {};
  Layout.Count = StoredNumber(Store, StripName + "PANELS", "COUNT");
  if (Layout.Count == 0) return false;
  // Only sections that exist can name a panel: a damaged count must not
  // have start-up look up two thousand million empty ones.
  for (int n : PanelSections(Store, StripName + "PANEL", Layout.Count)) {
    const rtl::AnsiString section = StripName + "PANEL" + std::to_string(n);
    TStoredPanelLayout p;
    p.Section = n;
    p.Name = Store.ReadString(section, "NAME", "");
    p.OpenWidth = StoredNumber(Store, section, "OPENWIDTH");
    p.Locked = StoredNumber(Store, section, "LOCKED");
    p.Hidden = StoredNumber(Store, section, "HIDDEN");
    p.Docked = StoredNumber(Store, section, "DOCKED");
    p.Visible = StoredNumber(Store, section, "VISIBLE");
    p.Left = StoredNumber(Store, section, "LEFT");
    p.Top = StoredNumber(Store, section, "TOP");
    p.Width = StoredNumber(Store, section, "WIDTH");
    p.Height = StoredNumber(Store, section, "HEIGHT");
    Layout.Panels.push_back(std::move(p));
  }
  return true;
}

void WriteStripLayout(rtl::TCustomIniFile& Store, const rtl::AnsiString& StripName,
                      const std::vector<TPanelLayoutRecord>& Panels) {
  auto number = [](int v) { return std::to_string(v); };
  auto flag = [](bool v) { return rtl::AnsiString(v ? "1" : "0"); };
  Store.WriteString(StripName + "PANELS", "COUNT", number(static_cast<int>(Panels.size())));
  for (size_t i = 0; i < Panels.size(); ++i) {
    const TPanelLayoutRecord& p = Panels[i];
    const rtl::AnsiString section = StripName + "PANEL" + std::to_string(i + 1);
    Store.WriteString(section, "NAME", p.Name);
    Store.WriteString(section, "OPENWIDTH", number(p.OpenWidth));
    Store.WriteString(section, "LOCKED", flag(p.Locked));
    Store.WriteString(section, "HIDDEN", flag(p.Hidden));
    Store.WriteString(section, "DOCKED", flag(p.Docked));
    Store.WriteString(section, "VISIBLE", flag(p.Visible));
    if (p.HasTab) Store.WriteString(section, "TAB", p.Tab);
    Store.WriteString(section, "LEFT", number(p.Left));
    Store.WriteString(section, "TOP", number(p.Top));
    Store.WriteString(section, "WIDTH", number(p.Width));
    if (p.Floating) Store.WriteString(section, "HEIGHT", number(p.Height));
  }
}

}  // namespace controls
