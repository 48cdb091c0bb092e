#pragma once
// The state an owner-drawn item (a list box row, a menu item) is painted
// in. One set for every owner-drawn control, so a unit may draw both.
#include "rtl/Types.h"

namespace vcl {

enum class TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
  odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using enum TOwnerDrawStateItem;
using TOwnerDrawState = rtl::TSet<TOwnerDrawStateItem>;

}  // namespace vcl
