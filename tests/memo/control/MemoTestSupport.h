#pragma once
// Helpers of the code editor's tests: a memo on a shown form, its text as
// one string, and a stand-in canvas for exact cell sizes.
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "memo/LumCustomMemo.h"
#include "memo/LumMemoUndo.h"
#include "memo/text/LumMemoStrings.h"
#include "vcl/Forms.h"
#include "vcl/TestCanvases.h"

namespace memotest {

using namespace memo;
using rtl::AnsiString;
using rtl::Integer;

// A form with one memo filling a given size; the form is freed with the
// fixture.
struct MemoOnForm {
  explicit MemoOnForm(int width = 300, int height = 200, bool show = true) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(width + 20);
    form->SetClientHeight(height + 20);
    memo = new TLumCustomMemo(form);
    memo->SetParent(form);
    memo->SetBounds(10, 10, width, height);
    if (show) {
      form->Show();
      // Focus events reach only the controls of the active window.
      QWidget* w = form->WindowWidget();
      w->activateWindow();
      (void)QTest::qWaitForWindowActive(w, 2000);
      vcl::Application->ProcessMessages();
    }
  }
  ~MemoOnForm() { vcl::Free(form); }
  MemoOnForm(const MemoOnForm&) = delete;
  MemoOnForm& operator=(const MemoOnForm&) = delete;

  vcl::TForm* form;
  TLumCustomMemo* memo;  // owned by the form
};

// The memo's text as SaveToString gives it.
inline std::string TextOf(TLumCustomMemo* m) { return m->TextStore()->SaveToString(); }

inline std::vector<std::string> LinesOf(TLumCustomMemo* m) {
  std::vector<std::string> v;
  for (Integer i = 0; i < m->TextStore()->Count(); ++i) v.push_back(m->TextStore()->Line(i));
  return v;
}

// Loads text (each line given without a break).
inline void SetText(TLumCustomMemo* m, const std::vector<std::string>& lines) {
  std::string s;
  for (auto& l : lines) s += l + "\r\n";
  m->TextStore()->LoadFromString(s);
}

}  // namespace memotest

#include <QImage>
#include <QPixmap>

namespace memotest {

// The control as it shows now (every pending paint done).
inline QImage Grab(vcl::TWinControl* c) {
  vcl::Application->ProcessMessages();
  return c->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline vcl::TColor PixelAt(const QImage& img, int x, int y) {
  QRgb p = img.pixel(x, y);
  return vcl::RGB(static_cast<rtl::Byte>(qRed(p)), static_cast<rtl::Byte>(qGreen(p)), static_cast<rtl::Byte>(qBlue(p)));
}

// Saved in the build folder for a person to look at.
inline void SaveShot(const QImage& img, const char* name) { img.save(QString(TOLVANE_BUILD_DIR "/") + name); }

}  // namespace memotest
