#include "rtl/Locale.h"

namespace rtl {

const TFormatSettings& FormatSettings() {
  static const TFormatSettings settings;
  return settings;
}

}  // namespace rtl
