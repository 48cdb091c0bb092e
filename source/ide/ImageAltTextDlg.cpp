#include "ide/ImageAltTextDlg.h"

#include "ide/DialogParts.h"

namespace ide {

using namespace vcl;

Tfrm_ImageAltText* frm_ImageAltText = nullptr;

Tfrm_ImageAltText::Tfrm_ImageAltText(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "frm_ImageAltText", "Image's Alternative Text", 330, 84);
  PlaceLabel(this, "lblAltText", "Alternative text", 8, 10);
  ed_AltText = PlaceControl<TEdit>(this, "ed_AltText", 8, 26, 314, 21);
  PlaceOkCancel(this, 163, 54, btnOk, btnCancel);
  SetActiveControl(ed_AltText);
}

rtl::AnsiString Tfrm_ImageAltText::AltText() const { return ed_AltText->Text(); }
void Tfrm_ImageAltText::SetAltText(const rtl::AnsiString& text) { ed_AltText->SetText(text); }

}  // namespace ide
