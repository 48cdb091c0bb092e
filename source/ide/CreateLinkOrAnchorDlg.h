#pragma once
// The new link dialog for linking an image: address, name and target
// window. The three texts live in the dialog's fields and are copied into
// the edits for a showing and back after it.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TEdit;
}  // namespace vcl

namespace ide {

class Tfrm_CreateLinkOrAnchor : public vcl::TForm {
 public:
  explicit Tfrm_CreateLinkOrAnchor(vcl::TComponent* owner);
  // The fields into the edits, the caret in the address, the modal loop,
  // the edits back into the fields (after "Cancel" too).
  vcl::TModalResult ShowModal() override;

  rtl::AnsiString URL;
  rtl::AnsiString LinkName;
  rtl::AnsiString Target;

  vcl::TEdit* ed_URL = nullptr;
  vcl::TEdit* ed_Name = nullptr;
  vcl::TEdit* ed_Target = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;
};

extern Tfrm_CreateLinkOrAnchor* frm_CreateLinkOrAnchor;

}  // namespace ide
