#pragma once
// The font dialog: family, size, bold, italic, underline, strike-out and
// colour of Font, modal; the choice lands in Font when confirmed.
#include <memory>
#include <vector>

#include "vcl/Dialogs.h"
#include "vcl/Graphics.h"

namespace vcl {

class TFontDialog : public TCommonDialog {
 public:
  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override;
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* font) { font_->Assign(font); }
  bool Execute() override;

  // The colours the dialog offers, by name, in the order shown.
  struct NamedColor {
    const char* Name;
    TColor Color;
  };
  static const std::vector<NamedColor>& Colors();

 private:
  std::unique_ptr<TFont> font_;
};

}  // namespace vcl
