#include "ide/CreateLinkOrAnchorDlg.h"

#include "ide/DialogParts.h"

namespace ide {

using namespace vcl;

Tfrm_CreateLinkOrAnchor* frm_CreateLinkOrAnchor = nullptr;

Tfrm_CreateLinkOrAnchor::Tfrm_CreateLinkOrAnchor(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "frm_CreateLinkOrAnchor", "New Link", 330, 168);
  PlaceLabel(this, "lblURL", "URL", 8, 10);
  ed_URL = PlaceControl<TEdit>(this, "ed_URL", 8, 26, 314, 21);
  ed_URL->SetText("http://");
  URL = "http://";
  PlaceLabel(this, "lblName", "Name", 8, 52);
  ed_Name = PlaceControl<TEdit>(this, "ed_Name", 8, 68, 314, 21);
  PlaceLabel(this, "lblTarget", "Target", 8, 94);
  ed_Target = PlaceControl<TEdit>(this, "ed_Target", 8, 110, 314, 21);
  PlaceOkCancel(this, 163, 138, btnOk, btnCancel);
}

TModalResult Tfrm_CreateLinkOrAnchor::ShowModal() {
  ed_URL->SetText(URL);
  ed_Name->SetText(LinkName);
  ed_Target->SetText(Target);
  SetActiveControl(ed_URL);
  const TModalResult result = TForm::ShowModal();
  URL = ed_URL->Text();
  LinkName = ed_Name->Text();
  Target = ed_Target->Text();
  return result;
}

}  // namespace ide
