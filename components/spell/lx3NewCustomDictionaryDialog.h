#pragma once
// Asks for the name of a new custom dictionary.
#include "spell/lx3ConfigurationDialogCtrl.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace spell {

class TNewCustomDictionary : public vcl::TForm {
 public:
  explicit TNewCustomDictionary(vcl::TComponent* owner);

  vcl::TLabel* EditLabel;
  vcl::TEdit* NameEdit;
  vcl::TButton* OKButton;
  vcl::TButton* CancelButton;
  TConfigurationDialogCtrl* DialogControl;

  void DialogControlConfigurationAvailable(vcl::TObject* sender);
};

}  // namespace spell
