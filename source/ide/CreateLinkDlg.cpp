#include "ide/CreateLinkDlg.h"

#include "ide/DialogParts.h"

namespace ide {

using namespace vcl;

TfrmCreateLink* frmCreateLink = nullptr;

TfrmCreateLink::TfrmCreateLink(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "frmCreateLink", "Create Link", 330, 126);
  PlaceLabel(this, "lblURL", "URL", 8, 10);
  edLinkURL = PlaceControl<TEdit>(this, "edLinkURL", 8, 26, 314, 21);
  edLinkURL->SetText("http://");
  PlaceLabel(this, "lblName", "Name", 8, 52);
  edLinkName = PlaceControl<TEdit>(this, "edLinkName", 8, 68, 314, 21);
  edLinkName->SetText("Name");
  PlaceOkCancel(this, 163, 96, btnOk, btnCancel);
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TfrmCreateLink::FormShow(TObject*) { SetActiveControl(edLinkName); }

rtl::AnsiString TfrmCreateLink::LinkURL() const { return edLinkURL->Text(); }
void TfrmCreateLink::SetLinkURL(const rtl::AnsiString& url) { edLinkURL->SetText(url); }
rtl::AnsiString TfrmCreateLink::LinkName() const { return edLinkName->Text(); }
void TfrmCreateLink::SetLinkName(const rtl::AnsiString& name) { edLinkName->SetText(name); }

}  // namespace ide
