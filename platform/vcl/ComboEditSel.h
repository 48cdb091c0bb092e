#pragma once
// The selection in the edit field of an editable combo box, in characters
// (what CB_GETEDITSEL and CB_SETEDITSEL give on the desktop).
#include "vcl/StdCtrls.h"

namespace vcl {

// False (start and length 0) for a combo box without an edit field.
bool GetComboEditSel(TCustomComboBox* combo, Integer& start, Integer& length);
// Selects length characters from start; length 0 places the caret.
void SetComboEditSel(TCustomComboBox* combo, Integer start, Integer length);

}  // namespace vcl
