#include "ide/InsertAnchorDlg.h"

#include "ide/DialogParts.h"

namespace ide {

using namespace vcl;

TInsertAnchorFrm* InsertAnchorFrm = nullptr;

TInsertAnchorFrm::TInsertAnchorFrm(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "InsertAnchorFrm", "Insert Anchor", 260, 84);
  PlaceLabel(this, "lblName", "Name", 8, 10);
  edName = PlaceControl<TEdit>(this, "edName", 8, 26, 244, 21);
  PlaceOkCancel(this, 93, 54, btnOk, btnCancel);
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TInsertAnchorFrm::FormShow(TObject*) {
  edName->SetText("");
  SetActiveControl(edName);
}

rtl::AnsiString TInsertAnchorFrm::AnchorName() const { return edName->Text(); }

}  // namespace ide
