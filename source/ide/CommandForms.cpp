#include "ide/CommandForms.h"

#include "ide/CreateLinkDlg.h"
#include "ide/CreateLinkOrAnchorDlg.h"
#include "ide/DocumentGraphicsDlg.h"
#include "ide/ImageAltTextDlg.h"
#include "ide/InsertAnchorDlg.h"
#include "ide/InsertPictureDlg.h"
#include "ide/InsertTableDlg.h"
#include "ide/PrintPreviewDlg.h"

namespace ide {

TFrmHandlerConfig* FrmHandlerConfig = nullptr;
Tfrm_ImageZoomer* frm_ImageZoomer = nullptr;

TFrmHandlerConfig::TFrmHandlerConfig(vcl::TComponent* owner) : vcl::TForm(owner) {
  SetName("FrmHandlerConfig");
  SetCaption("Smart tag handlers");
}

Tfrm_ImageZoomer::Tfrm_ImageZoomer(vcl::TComponent* owner) : vcl::TForm(owner) {
  SetName("frm_ImageZoomer");
  SetCaption("Image zoomer");
}

namespace {

template <class T>
void MakeCommandForm(T** reference) {
  if (*reference) return;
  T* form = new T(vcl::Application);
  *reference = form;
  form->AfterConstruction();
}

}  // namespace

void CreateCommandForms() {
  MakeCommandForm(&frmInsertPicture);
  MakeCommandForm(&frmCreateLink);
  MakeCommandForm(&FrmHandlerConfig);
  MakeCommandForm(&frm_ImageZoomer);
  MakeCommandForm(&frm_DocumentGraphics);
  MakeCommandForm(&frm_CreateLinkOrAnchor);
  MakeCommandForm(&frm_ImageAltText);
  MakeCommandForm(&InsertAnchorFrm);
  MakeCommandForm(&frm_PrintPreview);
  MakeCommandForm(&frmInsertTable);
}

}  // namespace ide
