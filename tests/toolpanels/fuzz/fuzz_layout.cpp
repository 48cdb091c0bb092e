// Reads a strip's stored layout from arbitrary INI text. Besides not
// crashing or hanging (a huge "COUNT" must not walk empty sections), the
// reading stays within the sections the text has.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/ToolPanelLayout.h"
#include "rtl/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  rtl::TMemIniFile ini("/nonexistent/tolvane-fuzz-layout.ini");
  rtl::TStringList lines;
  lines.SetText(std::string(reinterpret_cast<const char*>(data), size));
  ini.SetStrings(lines);
  rtl::TStringList sections;
  ini.ReadSections(sections);
  controls::TStoredStripLayout layout;
  const bool read = controls::ReadStripLayout(ini, "ct", layout);
  if (!read && !layout.Panels.empty()) std::abort();
  if (layout.Panels.size() > static_cast<size_t>(sections.Count())) std::abort();
  if (layout.Count >= 0 && layout.Panels.size() > static_cast<size_t>(layout.Count)) std::abort();
  return 0;
}
