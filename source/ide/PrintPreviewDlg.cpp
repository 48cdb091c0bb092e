#include "ide/PrintPreviewDlg.h"

#include "htmledit/control/psHtmlEditPrintPreview.h"
#include "ide/DialogParts.h"
#include "vcl/ExtCtrls.h"

namespace ide {

using namespace vcl;

Tfrm_PrintPreview* frm_PrintPreview = nullptr;

Tfrm_PrintPreview::Tfrm_PrintPreview(TComponent* owner) : TForm(owner) {
  SetName("frm_PrintPreview");
  SetCaption("");
  SetPosition(poScreenCenter);
  SetColor(clBtnFace);
  Font()->SetName("Tahoma");
  Font()->SetHeight(-11);
  SetClientWidth(640);
  SetClientHeight(560);

  pnlTop = PlaceControl<TPanel>(this, "pnlTop", 0, 0, 640, 37);
  pnlTop->SetAlign(alTop);
  pnlTop->SetBevelOuter(TBevelCut::bvNone);
  pnlTop->SetCaption("");
  cb_Zoom = PlaceControl<TComboBox>(pnlTop, "cb_Zoom", 8, 8, 90, 21);
  cb_Zoom->SetStyle(csDropDownList);
  for (const TZoomChoice& z : kZoomChoices) cb_Zoom->Items()->Add(z.Caption);
  cb_Zoom->SetItemIndex(3);
  cb_Zoom->OnChange = [this](TObject* s) { cb_ZoomChange(s); };
  btnPrint = PlaceControl<TButton>(pnlTop, "btnPrint", 108, 6, 75, 25);
  btnPrint->SetCaption("Print");
  btnPrint->SetModalResult(mrOk);
  btnClose = PlaceControl<TButton>(pnlTop, "btnClose", 190, 6, 75, 25);
  btnClose->SetCaption("Close");
  btnClose->SetCancel(true);
  btnClose->SetModalResult(mrCancel);

  he_PrintPreview = new htmledit::TpsPrintPreview(this);
  he_PrintPreview->SetName("he_PrintPreview");
  he_PrintPreview->SetParent(this);
  he_PrintPreview->SetAlign(alClient);
}

void Tfrm_PrintPreview::SetEditor(htmledit::TpsHTMLEditBase* editor) { he_PrintPreview->SetEditor(editor); }

void Tfrm_PrintPreview::cb_ZoomChange(TObject*) {
  const Integer i = cb_Zoom->ItemIndex();
  if (i < 0 || i >= static_cast<Integer>(std::size(kZoomChoices))) return;
  he_PrintPreview->SetZoomFactor(kZoomChoices[i].Factor);
}

}  // namespace ide
