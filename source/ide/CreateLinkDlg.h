#pragma once
// The create link dialog of the link smart tag: the address and the text
// the link shows.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TEdit;
}  // namespace vcl

namespace ide {

class TfrmCreateLink : public vcl::TForm {
 public:
  explicit TfrmCreateLink(vcl::TComponent* owner);
  void FormShow(vcl::TObject* Sender);

  rtl::AnsiString LinkURL() const;
  void SetLinkURL(const rtl::AnsiString& url);
  rtl::AnsiString LinkName() const;
  void SetLinkName(const rtl::AnsiString& name);

  vcl::TEdit* edLinkURL = nullptr;
  vcl::TEdit* edLinkName = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;
};

extern TfrmCreateLink* frmCreateLink;

}  // namespace ide
