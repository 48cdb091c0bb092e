#pragma once
// The editor component on a shown form under Qt's offscreen platform, as
// the main window hosts it, and the helpers its tests share.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <string>

#include "htmledit/control/psHtmlEdit.h"
#include "vcl/Forms.h"

namespace htmledittest {

using htmledit::TpsHTMLEdit;
using rtl::AnsiString;
using rtl::Integer;

struct EditorOnForm {
  explicit EditorOnForm(int aWidth = 400, int aHeight = 300) {
    Form = new vcl::TForm(vcl::Application, 0);
    Form->SetClientWidth(aWidth + 20);
    Form->SetClientHeight(aHeight + 20);
    Editor = new TpsHTMLEdit(Form);
    Editor->SetParent(Form);
    Editor->SetBounds(10, 10, aWidth, aHeight);
    Editor->Loaded();
    Form->Show();
    vcl::Application->ProcessMessages();
  }
  ~EditorOnForm() { vcl::Free(Form); }
  EditorOnForm(const EditorOnForm&) = delete;
  EditorOnForm& operator=(const EditorOnForm&) = delete;

  // The body's content as the source view shows it: not beautified.
  std::string Body() {
    const bool beautify = Editor->CodeGenerator.BeautifyCode;
    Editor->CodeGenerator.BeautifyCode = false;
    std::string s = Editor->SaveToString(false, true);
    Editor->CodeGenerator.BeautifyCode = beautify;
    return s;
  }

  vcl::TForm* Form;
  TpsHTMLEdit* Editor;  // owned by the form
};

// The control's window as it shows now (every pending paint done), its
// border and scroll bar included.
inline QImage GrabWindow(vcl::TWinControl* aControl) {
  vcl::Application->ProcessMessages();
  return aControl->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Its client area alone, in client coordinates.
inline QImage Grab(vcl::TWinControl* aControl) {
  const QImage window = GrabWindow(aControl);
  const vcl::TRect& border = aControl->NonClientInsets();
  return window.copy(border.Left, border.Top, window.width() - border.Left - border.Right,
                     window.height() - border.Top - border.Bottom);
}

inline vcl::TColor PixelAt(const QImage& aImage, int x, int y) {
  const QRgb p = aImage.pixel(x, y);
  return vcl::RGB(static_cast<rtl::Byte>(qRed(p)), static_cast<rtl::Byte>(qGreen(p)), static_cast<rtl::Byte>(qBlue(p)));
}

}  // namespace htmledittest
