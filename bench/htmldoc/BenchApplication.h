#pragma once
// The Qt application object the QTextDocument peers need, made once,
// offscreen.
#ifdef TOLVANE_BENCH_WITH_QT
#include <QGuiApplication>

namespace htmldoc::bench {

inline QGuiApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_htmldoc";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(argc, argv);
  return application;
}

}  // namespace htmldoc::bench
#endif
