#pragma once
// The image's alternative text dialog.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TEdit;
}  // namespace vcl

namespace ide {

class Tfrm_ImageAltText : public vcl::TForm {
 public:
  explicit Tfrm_ImageAltText(vcl::TComponent* owner);
  rtl::AnsiString AltText() const;
  void SetAltText(const rtl::AnsiString& text);

  vcl::TEdit* ed_AltText = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;
};

extern Tfrm_ImageAltText* frm_ImageAltText;

}  // namespace ide
