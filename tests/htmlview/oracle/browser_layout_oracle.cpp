// A real browser engine lays a page out and prints what the layout tests
// compare with ours. Usage: browser_layout_oracle WIDTH HEIGHT FILE.
// For every element marked data-oracle="ID":
//   P ID S1 S2 ...    a block's line starts: the offset, in its text as
//                     written, of the first non-blank character of each line
//   F ID K X Y        its K-th image, relative to the block's top left
//   T ID WIDTH        a table's width
//   C ID R C L R      cell (R, C)'s left and right edges, from the table's left
// Runs on Qt's offscreen platform; a test tool only.
#include <QApplication>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

const char kReport[] = R"js(
(function () {
  var out = [];
  document.querySelectorAll('[data-oracle]').forEach(function (el) {
    var id = el.getAttribute('data-oracle');
    var box = el.getBoundingClientRect();
    if (el.tagName == 'TABLE') {
      out.push('T ' + id + ' ' + box.width.toFixed(1));
      for (var r = 0; r < el.rows.length; r++)
        for (var c = 0; c < el.rows[r].cells.length; c++) {
          var b = el.rows[r].cells[c].getBoundingClientRect();
          out.push('C ' + id + ' ' + r + ' ' + c + ' ' + (b.left - box.left).toFixed(1) + ' ' +
                   (b.right - box.left).toFixed(1));
        }
      return;
    }
    var starts = [], offset = 0, lastTop = null;
    var walker = document.createTreeWalker(el, NodeFilter.SHOW_TEXT);
    var range = document.createRange();
    for (var n = walker.nextNode(); n; n = walker.nextNode())
      for (var i = 0; i < n.data.length; i++, offset++) {
        if (n.data[i] == ' ') continue;
        range.setStart(n, i);
        range.setEnd(n, i + 1);
        var rects = range.getClientRects();
        if (!rects.length) continue;
        if (lastTop === null || rects[0].top > lastTop + 2) {
          starts.push(offset);
          lastTop = rects[0].top;
        }
      }
    out.push('P ' + id + ' ' + starts.join(' '));
    el.querySelectorAll('img').forEach(function (img, k) {
      var b = img.getBoundingClientRect();
      out.push('F ' + id + ' ' + k + ' ' + Math.round(b.left - box.left) + ' ' + Math.round(b.top - box.top));
    });
  });
  return out.join('\n');
})()
)js";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: browser_layout_oracle WIDTH HEIGHT FILE\n");
    return 2;
  }
  // The engine refuses to start as root with its sandbox on.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking --disable-logging", 0);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QWebEngineView view;
  view.resize(std::atoi(argv[1]), std::atoi(argv[2]));
  view.show();
  int status = 1;
  QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) {
    if (!ok) {
      std::fprintf(stderr, "browser_layout_oracle: %s did not load\n", argv[3]);
      app.exit(1);
      return;
    }
    view.page()->runJavaScript(QString::fromUtf8(kReport), [&](const QVariant& result) {
      std::fputs(result.toString().toUtf8().constData(), stdout);
      std::fputc('\n', stdout);
      status = 0;
      app.exit(0);
    });
  });
  QTimer::singleShot(60000, [&] {
    std::fprintf(stderr, "browser_layout_oracle: no layout after 60 s\n");
    app.exit(1);
  });
  view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[3])));
  const int rc = app.exec();
  return rc ? rc : status;
}
