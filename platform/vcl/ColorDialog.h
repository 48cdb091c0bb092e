#pragma once
// The colour dialog: Qt's colour chooser, modal, preset with Color and
// answering the chosen colour.
#include "vcl/Dialogs.h"
#include "vcl/Graphics.h"

namespace vcl {

class TColorDialog : public TCommonDialog {
 public:
  explicit TColorDialog(TComponent* owner) : TCommonDialog(owner) {}
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  // True when the user confirmed; Color then holds the chosen colour as
  // an RGB value.
  bool Execute() override;

 private:
  TColor color_ = clBlack;
};

}  // namespace vcl
