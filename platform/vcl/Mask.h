#pragma once
// TCustomMaskEdit: the edit field that masked input builds on. The spin
// edit and the drop-down edits descend from it.
#include "vcl/StdCtrls.h"

namespace vcl {

class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
};

}  // namespace vcl
