#pragma once
// The insert anchor dialog: the anchor's name.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TEdit;
}  // namespace vcl

namespace ide {

class TInsertAnchorFrm : public vcl::TForm {
 public:
  explicit TInsertAnchorFrm(vcl::TComponent* owner);
  // Each showing starts with an empty name, the caret in it.
  void FormShow(vcl::TObject* Sender);
  rtl::AnsiString AnchorName() const;

  vcl::TEdit* edName = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;
};

extern TInsertAnchorFrm* InsertAnchorFrm;

}  // namespace ide
