#pragma once
// The insert picture dialog: a picture chosen with "Browse" and previewed,
// its alignment, its size (kept in the picture's proportions while "Aspect
// ratio" is checked) and its alternative text.
#include "vcl/Forms.h"

namespace vcl {
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TImage;
class TLabel;
class TOpenDialog;
class TSpinEdit;
}  // namespace vcl

namespace ide {

using rtl::AnsiString;
using rtl::Integer;

class TfrmInsertPicture : public vcl::TForm {
 public:
  explicit TfrmInsertPicture(vcl::TComponent* owner);

  void FormCreate(vcl::TObject* Sender);
  void FormShow(vcl::TObject* Sender);
  void FormActivate(vcl::TObject* Sender);
  void Button1Click(vcl::TObject* Sender);
  void cbAlignmentChange(vcl::TObject* Sender);
  void edtWidthChange(vcl::TObject* Sender);
  void edtHeightChange(vcl::TObject* Sender);
  void btnOkClick(vcl::TObject* Sender);

  // The picture's full path ("" until one is chosen in this showing).
  const AnsiString& PictureFile() const { return pictureFile_; }
  // 0 left, 1 right, 2 middle.
  Integer Alignment() const { return alignment_; }
  Integer PictureWidth() const { return width_; }
  Integer PictureHeight() const { return height_; }
  const AnsiString& AltText() const { return altText_; }
  // The chosen picture's own size; 0 x 0 without one.
  Integer OriginalWidth() const { return orgWidth_; }
  Integer OriginalHeight() const { return orgHeight_; }

  vcl::TLabel* lblSource = nullptr;
  vcl::TEdit* edtSource = nullptr;
  vcl::TButton* Button1 = nullptr;
  vcl::TLabel* lblAlignment = nullptr;
  vcl::TComboBox* cbAlignment = nullptr;
  vcl::TLabel* lblWidth = nullptr;
  vcl::TSpinEdit* edtWidth = nullptr;
  vcl::TLabel* lblHeight = nullptr;
  vcl::TSpinEdit* edtHeight = nullptr;
  vcl::TCheckBox* cbAspectRatio = nullptr;
  vcl::TLabel* lblAlt = nullptr;
  vcl::TEdit* edtAlt = nullptr;
  vcl::TImage* imgPreview = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;
  vcl::TOpenDialog* OpenPictureDialog = nullptr;

 private:
  // One size box follows the other; the flag keeps the follower's own
  // change handler from answering back.
  void FollowAspect(bool widthChanged);
  AnsiString pictureFile_;
  AnsiString altText_;
  Integer alignment_ = 0;
  Integer width_ = 0;
  Integer height_ = 0;
  Integer orgWidth_ = 0;
  Integer orgHeight_ = 0;
  bool changing_ = false;
};

extern TfrmInsertPicture* frmInsertPicture;

// A picture's name the module's file system can hold: its first "." at
// position 9 or earlier (or none) and at most 14 characters.
bool IsShortFileName(const AnsiString& name);

}  // namespace ide
