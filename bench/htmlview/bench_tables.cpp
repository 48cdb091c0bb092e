// Laying out the table-heavy page of the Apache manual (mod/core.html):
// our parser and view nodes on the fake-metrics canvas from the HTML text,
// beside QTextDocument taking the same HTML and laying it out at the same
// width.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <fstream>
#include <sstream>

#include "htmlview/LayoutFixture.h"
#include "htmledit/view/psTableNodes.h"

namespace {

std::string ReadManualPage(const char* aName) {
  std::ifstream in(std::string("/usr/share/doc/apache2-doc/manual/en/") + aName, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_ViewLayoutOfTablePage(benchmark::State& state) {
  const std::string html = ReadManualPage("mod/core.html");
  if (html.empty()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  htmlview::Integer height = 0;
  for (auto _ : state) {
    htmlview::testing::LayoutPage page(800, 600);
    height = page.Load(html)->Height;
    benchmark::DoNotOptimize(height);
  }
  state.counters["height"] = height;
}
BENCHMARK(BM_ViewLayoutOfTablePage)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentLayoutOfTablePage(benchmark::State& state) {
  const std::string html = ReadManualPage("mod/core.html");
  if (html.empty()) {
    state.SkipWithError("apache2-doc is not installed");
    return;
  }
  const QString text = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
  double height = 0;
  for (auto _ : state) {
    QTextDocument document;
    document.setHtml(text);
    document.setTextWidth(800);
    height = document.documentLayout()->documentSize().height();
    benchmark::DoNotOptimize(height);
  }
  state.counters["height"] = height;
}
BENCHMARK(BM_QTextDocumentLayoutOfTablePage)->Unit(benchmark::kMillisecond);

}  // namespace
