#pragma once
// The about box: the program's name and its version.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TLabel;
}  // namespace vcl

namespace ide {

class Tftlvabout : public vcl::TForm {
 public:
  explicit Tftlvabout(vcl::TComponent* owner);

  vcl::TLabel* AppName = nullptr;
  vcl::TLabel* Version = nullptr;
  vcl::TButton* OKButton = nullptr;
};

// "Version " and the program's two most significant version numbers
// joined by "."; "" when the program carries no version.
rtl::AnsiString AboutVersionText();

// Makes the about box, fills it, shows it modally and frees it.
void ShowAboutBox();

}  // namespace ide
