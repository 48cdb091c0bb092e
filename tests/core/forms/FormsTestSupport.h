#pragma once
// Helpers of the module dialog tests: running code inside a modal loop,
// finding the dialog that is open, typing into controls through Qt, and
// grabbing a form into the build folder.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "core/forms/FormMessagesU.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/WinApi.h"

namespace forms_test {

// Runs fn from inside the next modal loop (or the next message pumping).
inline void Later(std::function<void()> fn, int ms = 0) { QTimer::singleShot(ms, [fn] { fn(); }); }

// Lets Qt and the class library's loop run until nothing is waiting.
inline void Pump() {
  for (int i = 0; i < 3; ++i) {
    QApplication::processEvents();
    vcl::Application->ProcessMessages();
  }
}

// The newest shown form of class T, or null.
template <class T>
T* OpenForm() {
  for (rtl::Integer i = vcl::Screen->FormCount() - 1; i >= 0; --i)
    if (auto* f = dynamic_cast<T*>(vcl::Screen->Forms(i)); f && f->Visible()) return f;
  return nullptr;
}

inline void KeyTo(vcl::TWinControl* control, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(control->Widget(), key, mods);
}
inline void TypeTo(vcl::TWinControl* control, const std::string& text) {
  QTest::keyClicks(control->Widget(), QString::fromStdString(text));
}
inline void ClickOn(vcl::TWinControl* control) { QTest::mouseClick(control->Widget(), Qt::LeftButton); }

// Saves a grab of the form's client area as png in the build folder.
inline QImage GrabForm(vcl::TWinControl* form, const char* png) {
  Pump();
  QImage img = form->Widget()->grab().toImage();
  img.save(QString(TOLVANE_BUILD_DIR "/") + png);
  return img;
}

// The boxes shown while it lives, answered with mrOk (or the script's
// answers in order), and the beeps sounded.
struct TBoxRecorder {
  struct Box {
    rtl::AnsiString Text;
    vcl::TMsgDlgType Type;
  };
  std::vector<Box> boxes;
  std::vector<rtl::Cardinal> beeps;
  core::TScopedMessageAnswerer answerer{[this](const rtl::AnsiString& msg, vcl::TMsgDlgType type,
                                               const vcl::TMsgDlgButtons&) {
    boxes.push_back({msg, type});
    return vcl::mrOk;
  }};
  TBoxRecorder() {
    vcl::SetBeepHandler([this](rtl::Cardinal t) { beeps.push_back(t); });
  }
  ~TBoxRecorder() { vcl::SetBeepHandler({}); }
  std::vector<rtl::AnsiString> Texts() const {
    std::vector<rtl::AnsiString> t;
    for (const auto& b : boxes) t.push_back(b.Text);
    return t;
  }
};

}  // namespace forms_test
