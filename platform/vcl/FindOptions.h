#pragma once
// The option set of the find and replace dialogs, which editors that search
// their own text take as it stands.
#include "rtl/Types.h"

namespace vcl {

enum class TFindOption {
  frDown,
  frFindNext,
  frHideMatchCase,
  frHideWholeWord,
  frHideUpDown,
  frMatchCase,
  frDisableMatchCase,
  frDisableUpDown,
  frDisableWholeWord,
  frReplace,
  frReplaceAll,
  frWholeWord,
  frShowHelp
};
using enum TFindOption;
using TFindOptions = rtl::TSet<TFindOption>;

}  // namespace vcl
