#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>

#include "TestSupport.h"
#include "vcl/Forms.h"

namespace vcltest {

TForm* MakeForm(int width, int height) {
  auto* f = new TForm(Application, 0);
  f->SetClientWidth(width);
  f->SetClientHeight(height);
  f->SetLeft(10);
  f->SetTop(10);
  return f;
}

void Pump() {
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

void Later(std::function<void()> fn, int ms) { QTimer::singleShot(ms, [fn] { fn(); }); }

TColor ScreenPixel(QWidget* w, int x, int y) {
  QImage img = w->grab().toImage();
  QRgb p = img.pixel(x, y);
  return RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

}  // namespace vcltest
