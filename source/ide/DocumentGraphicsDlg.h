#pragma once
// The list of the graphics the current document uses.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TListBox;
}  // namespace vcl

namespace ide {

class Tfrm_DocumentGraphics : public vcl::TForm {
 public:
  explicit Tfrm_DocumentGraphics(vcl::TComponent* owner);

  vcl::TListBox* lb_Graphics = nullptr;
  vcl::TButton* btnClose = nullptr;
};

extern Tfrm_DocumentGraphics* frm_DocumentGraphics;

}  // namespace ide
