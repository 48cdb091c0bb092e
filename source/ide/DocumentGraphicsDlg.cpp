#include "ide/DocumentGraphicsDlg.h"

#include "ide/DialogParts.h"
#include "vcl/ListBox.h"

namespace ide {

using namespace vcl;

Tfrm_DocumentGraphics* frm_DocumentGraphics = nullptr;

Tfrm_DocumentGraphics::Tfrm_DocumentGraphics(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "frm_DocumentGraphics", "Graphics used in the current document", 360, 260);
  lb_Graphics = PlaceControl<TListBox>(this, "lb_Graphics", 8, 8, 344, 212);
  btnClose = PlaceControl<TButton>(this, "btnClose", 277, 228, 75, 25);
  btnClose->SetCaption("Close");
  btnClose->SetDefault(true);
  btnClose->SetCancel(true);
  btnClose->SetModalResult(mrCancel);
}

}  // namespace ide
