// screengrab OUTPUT.png [SECONDS]: waits until something is painted on the
// screen and stays still for half a second, then saves the whole screen.
// An empty X screen is one colour; a window that has just mapped may still
// be painting, so two grabs in a row must match (but for a blinking caret)
// before one is kept.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

// More than one colour covers a noticeable part of the screen.
bool SomethingShows(const QImage& image) {
  if (image.isNull()) return false;
  const QRgb ground = image.pixel(0, 0);
  long differing = 0;
  for (int y = 0; y < image.height(); y += 4)
    for (int x = 0; x < image.width(); x += 4)
      if (image.pixel(x, y) != ground) ++differing;
  return differing * 16 > static_cast<long>(image.width()) * image.height() / 20;
}

// The same screen but for a blinking caret or so.
bool Settled(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  long differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++differing;
  return differing * 1000 < static_cast<long>(a.width()) * a.height();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: screengrab OUTPUT.png [SECONDS]   (default 60 s to wait for a window)\n", stderr);
    return 2;
  }
  QGuiApplication app(argc, argv);
  const int seconds = argc == 3 ? std::atoi(argv[2]) : 60;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) {
    std::fputs("screengrab: no screen\n", stderr);
    return 1;
  }
  QImage last;
  for (int waited = 0; waited <= seconds * 1000; waited += 500) {
    const QImage now = screen->grabWindow(0).toImage();
    if (SomethingShows(now) && Settled(now, last)) {
      if (!now.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "screengrab: cannot write %s\n", argv[1]);
        return 1;
      }
      return 0;
    }
    last = now;
    QThread::msleep(500);
  }
  std::fprintf(stderr, "screengrab: nothing showed on the screen within %d s\n", seconds);
  return 1;
}
