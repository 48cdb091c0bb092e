#include "ide/InsertPictureDlg.h"

#include "ide/DialogParts.h"
#include "rtl/Convert.h"
#include "rtl/Strings.h"
#include "vcl/Dialogs.h"
#include "vcl/Pictures.h"
#include "vcl/Progress.h"
#include "vcl/Spin.h"
#include "vcl/StdCtrls.h"

namespace ide {

using namespace vcl;

TfrmInsertPicture* frmInsertPicture = nullptr;

bool IsShortFileName(const AnsiString& name) {
  const Integer dot = rtl::Pos(".", name);
  return dot <= 9 && static_cast<Integer>(name.size()) <= 14;
}

TfrmInsertPicture::TfrmInsertPicture(TComponent* owner) : TForm(owner) {
  SetUpDialog(this, "frmInsertPicture", "Insert Picture", 440, 250);

  lblSource = PlaceLabel(this, "lblSource", "Picture", 8, 10);
  edtSource = PlaceControl<TEdit>(this, "edtSource", 8, 26, 336, 21);
  edtSource->SetReadOnly(true);
  Button1 = PlaceControl<TButton>(this, "Button1", 352, 24, 80, 25);
  Button1->SetCaption("Browse");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };

  lblAlignment = PlaceLabel(this, "lblAlignment", "Alignment", 8, 56);
  cbAlignment = PlaceControl<TComboBox>(this, "cbAlignment", 8, 72, 120, 21);
  cbAlignment->SetStyle(csDropDownList);
  for (const char* a : {"Left", "Right", "Middle"}) cbAlignment->Items()->Add(a);
  cbAlignment->OnChange = [this](TObject* s) { cbAlignmentChange(s); };

  lblWidth = PlaceLabel(this, "lblWidth", "Width", 8, 102);
  edtWidth = PlaceControl<TSpinEdit>(this, "edtWidth", 8, 118, 80, 22);
  lblHeight = PlaceLabel(this, "lblHeight", "Height", 96, 102);
  edtHeight = PlaceControl<TSpinEdit>(this, "edtHeight", 96, 118, 80, 22);
  for (TSpinEdit* e : {edtWidth, edtHeight}) {
    e->SetMinValue(0);
    e->SetMaxValue(32767);
    e->SetValue(0);
  }
  edtWidth->OnChange = [this](TObject* s) { edtWidthChange(s); };
  edtHeight->OnChange = [this](TObject* s) { edtHeightChange(s); };
  cbAspectRatio = PlaceControl<TCheckBox>(this, "cbAspectRatio", 8, 146, 120, 17);
  cbAspectRatio->SetCaption("Aspect ratio");
  cbAspectRatio->SetChecked(true);

  lblAlt = PlaceLabel(this, "lblAlt", "Alternative text", 8, 170);
  edtAlt = PlaceControl<TEdit>(this, "edtAlt", 8, 186, 200, 21);

  imgPreview = PlaceControl<TImage>(this, "imgPreview", 224, 56, 208, 150);
  imgPreview->SetStretch(false);
  imgPreview->SetCenter(true);

  PlaceOkCancel(this, 272, 216, btnOk, btnCancel);
  btnOk->OnClick = [this](TObject* s) { btnOkClick(s); };

  OpenPictureDialog = new TOpenDialog(this);
  OpenPictureDialog->SetName("OpenPictureDialog");
  OpenPictureDialog->SetFilter(
      "All pictures (*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.ico)|*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.ico|"
      "GIF (*.gif)|*.gif|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|Bitmaps (*.bmp)|*.bmp");

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
}

void TfrmInsertPicture::FormCreate(TObject*) {
  cbAlignment->SetItemIndex(0);
  alignment_ = 0;
}

void TfrmInsertPicture::FormShow(TObject*) {
  // Every showing starts without a picture: an "Ok" without one chosen
  // must not insert the previous showing's picture again.
  changing_ = true;
  edtSource->SetText("");
  edtAlt->SetText("");
  edtWidth->SetValue(0);
  edtHeight->SetValue(0);
  changing_ = false;
  imgPreview->Picture()->Assign(nullptr);
  pictureFile_.clear();
  altText_.clear();
  width_ = height_ = orgWidth_ = orgHeight_ = 0;
}

void TfrmInsertPicture::FormActivate(TObject*) { changing_ = false; }

void TfrmInsertPicture::Button1Click(TObject*) {
  if (!OpenPictureDialog->Execute()) return;
  const AnsiString file = OpenPictureDialog->FileName();
  // A file that is no picture raises the graphics error before anything of
  // the dialog changes.
  TPicture picture;
  picture.LoadFromFile(file);
  edtSource->SetText(file);
  pictureFile_ = file;
  imgPreview->Picture()->Assign(&picture);
  orgWidth_ = picture.Width();
  orgHeight_ = picture.Height();
  changing_ = true;
  edtWidth->SetValue(orgWidth_);
  edtHeight->SetValue(orgHeight_);
  changing_ = false;
  width_ = orgWidth_;
  height_ = orgHeight_;
}

void TfrmInsertPicture::cbAlignmentChange(TObject*) { alignment_ = cbAlignment->ItemIndex(); }

void TfrmInsertPicture::FollowAspect(bool widthChanged) {
  if (changing_) return;
  if (cbAspectRatio->Checked() && (widthChanged ? orgWidth_ : orgHeight_) != 0) {
    changing_ = true;
    try {
      if (widthChanged)
        edtHeight->SetValue(static_cast<Integer>(
            rtl::Round(static_cast<double>(edtWidth->Value()) * orgHeight_ / orgWidth_)));
      else
        edtWidth->SetValue(static_cast<Integer>(
            rtl::Round(static_cast<double>(edtHeight->Value()) * orgWidth_ / orgHeight_)));
    } catch (...) {
      changing_ = false;
      throw;
    }
    changing_ = false;
  }
  // Without the proportions kept, a size typed by hand still counts.
  width_ = edtWidth->Value();
  height_ = edtHeight->Value();
}

void TfrmInsertPicture::edtWidthChange(TObject*) { FollowAspect(true); }
void TfrmInsertPicture::edtHeightChange(TObject*) { FollowAspect(false); }

void TfrmInsertPicture::btnOkClick(TObject*) { altText_ = edtAlt->Text(); }

}  // namespace ide
