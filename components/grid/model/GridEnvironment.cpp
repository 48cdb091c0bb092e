#include "grid/model/GridEnvironment.h"

#include "rtl/Locale.h"
#include "rtl/Strings.h"

namespace grid {

char SystemLocaleSettings::DecimalSeparator() const { return rtl::FormatSettings().DecimalSeparator; }
char SystemLocaleSettings::ThousandSeparator() const { return rtl::FormatSettings().ThousandSeparator; }
char SystemLocaleSettings::DateSeparator() const { return rtl::FormatSettings().DateSeparator; }
char SystemLocaleSettings::TimeSeparator() const { return rtl::FormatSettings().TimeSeparator; }
AnsiString SystemLocaleSettings::ShortDateFormat() const { return rtl::FormatSettings().ShortDateFormat; }
AnsiString SystemLocaleSettings::LongTimeFormat() const { return rtl::FormatSettings().LongTimeFormat; }

namespace {

const LocaleSettings& SystemSettings() {
  static const SystemLocaleSettings settings;
  return settings;
}

// Installed by the user-interface thread only, like everything of the grid.
const LocaleSettings* installedLocale = nullptr;

}  // namespace

const LocaleSettings& CurrentLocale() { return installedLocale ? *installedLocale : SystemSettings(); }

void SetCurrentLocale(const LocaleSettings* settings) { installedLocale = settings; }

ScopedLocale::ScopedLocale(const LocaleSettings& settings) : previous_(installedLocale) {
  installedLocale = &settings;
}

ScopedLocale::~ScopedLocale() { installedLocale = previous_; }

int OrdinalCollator::Compare(std::string_view a, std::string_view b, bool ignoreCase) const {
  return ignoreCase ? rtl::AnsiCompareText(a, b) : rtl::AnsiCompareStr(a, b);
}

}  // namespace grid
