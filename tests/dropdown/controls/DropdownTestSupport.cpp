#include "DropdownTestSupport.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "vcl/WinApi.h"

namespace ddtest {

TForm* MakeForm(int width, int height) {
  auto* f = new TForm(Application, 0);
  f->SetClientWidth(width);
  f->SetClientHeight(height);
  f->SetLeft(10);
  f->SetTop(10);
  f->Show();
  Pump();
  return f;
}

void Pump() {
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

void Later(std::function<void()> fn, int ms) { QTimer::singleShot(ms, [fn] { fn(); }); }

void Key(TWinControl* c, int qtKey, Qt::KeyboardModifiers mods, const QString& text) {
  QWidget* w = c->Widget();
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  QCoreApplication::sendEvent(w, &release);
  Pump();
}

void Type(TWinControl* c, const QString& text) {
  for (QChar ch : text) {
    int key = ch.isLetterOrNumber() ? ch.toUpper().unicode() : 0;
    if (ch == QLatin1Char('.')) key = Qt::Key_Period;
    if (ch == QLatin1Char(',')) key = Qt::Key_Comma;
    if (ch == QLatin1Char('-')) key = Qt::Key_Minus;
    if (ch == QLatin1Char(':')) key = Qt::Key_Colon;
    if (ch == QLatin1Char('/')) key = Qt::Key_Slash;
    if (ch == QLatin1Char(' ')) key = Qt::Key_Space;
    Key(c, key, Qt::NoModifier, QString(ch));
  }
}

QImage Grab(TWinControl* c) {
  Pump();
  return c->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TColor PixelAt(const QImage& img, int x, int y) {
  QRgb p = img.pixel(x, y);
  return RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

void SaveShot(const QImage& img, const char* name) { img.save(QString(TOLVANE_BUILD_DIR "/") + name); }

BeepRecorder::BeepRecorder() {
  SetBeepHandler([this](Cardinal) { ++count; });
}
BeepRecorder::~BeepRecorder() { SetBeepHandler(nullptr); }

ManualTime::ManualTime(uint64_t start) : clock(std::make_shared<rtl::ManualClock>(start)) {
  rtl::InstallClock(clock);
}
ManualTime::~ManualTime() { rtl::InstallClock(nullptr); }

void ManualTime::Advance(uint64_t ms) {
  while (ms > 0) {
    uint64_t step = std::min<uint64_t>(ms, 10);
    clock->Advance(step);
    ms -= step;
    Application->ProcessMessages();
  }
}

namespace {

void SendMouse(TWinControl* parent, QEvent::Type type, int x, int y) {
  QWidget* w = parent->Widget();
  QPointF local(x, y);
  Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

}  // namespace

void MouseDown(TWinControl* parent, int x, int y) { SendMouse(parent, QEvent::MouseButtonPress, x, y); }
void MouseUp(TWinControl* parent, int x, int y) { SendMouse(parent, QEvent::MouseButtonRelease, x, y); }
void MouseDrag(TWinControl* parent, int x, int y) { SendMouse(parent, QEvent::MouseMove, x, y); }

}  // namespace ddtest
