// Measuring and drawing 10,000 typical grid cells with the mini-HTML
// renderer (two fonts, a colour, a link, an image from the image list) on a
// bitmap with the desktop's fonts, beside Qt's QTextDocument laying out and
// painting the same rich text, in the same run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QUrl>
#include <string>
#include <vector>

#include "dropdown/HtmlText.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace {

constexpr int kCells = 10000;
constexpr int kWidth = 220, kHeight = 40;

std::vector<std::string> Cells() {
  std::vector<std::string> cells;
  for (int i = 0; i < kCells; ++i)
    cells.push_back("<FONT FACE=\"DejaVu Sans\">Pin <B>" + std::to_string(i % 17) +
                    "</B></FONT> <FONT FACE=\"DejaVu Serif\" COLOR=\"clRed\">high</FONT> <A HREF=\"pin" +
                    std::to_string(i) + "\">details</A> <IMG SRC=\"IDX:0\">");
  return cells;
}

std::vector<QString> QtCells() {
  std::vector<QString> cells;
  for (int i = 0; i < kCells; ++i)
    cells.push_back(QString("<span style=\"font-family:'DejaVu Sans'\">Pin <b>%1</b></span> "
                            "<span style=\"font-family:'DejaVu Serif'; color:red\">high</span> "
                            "<a href=\"pin%2\">details</a> <img src=\"pic:0\">")
                        .arg(i % 17)
                        .arg(i));
  return cells;
}

struct Scene {
  vcl::TBitmap bitmap{kWidth, kHeight};
  vcl::TImageList images{nullptr};
  std::vector<std::string> cells = Cells();
  Scene() {
    images.SetWidth(16);
    images.SetHeight(16);
    vcl::TBitmap icon(16, 16);
    icon.Canvas()->Brush()->SetColor(vcl::clGreen);
    icon.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
    images.Add(&icon, nullptr);
    bitmap.Canvas()->Font()->SetName("DejaVu Sans");
  }
};

void Run(benchmark::State& state, bool measure) {
  Scene scene;
  dropdown::THtmlTextOptions o;
  o.Images = &scene.images;
  o.MeasureOnly = measure;
  vcl::TRect bounds = measure ? vcl::TRect{0, 0, 65535, 65535} : vcl::TRect{0, 0, kWidth, kHeight};
  long long width = 0;
  for (auto _ : state) {
    for (const std::string& cell : scene.cells) {
      dropdown::THtmlTextResult r;
      dropdown::DrawHTMLText(scene.bitmap.Canvas(), cell, bounds, o, r);
      width += r.ContentWidth;
    }
  }
  benchmark::DoNotOptimize(width);
  state.SetItemsProcessed(state.iterations() * kCells);
}

void BM_HtmlMeasureCells(benchmark::State& state) { Run(state, true); }
void BM_HtmlDrawCells(benchmark::State& state) { Run(state, false); }

void QtRun(benchmark::State& state, bool draw) {
  std::vector<QString> cells = QtCells();
  QImage icon(16, 16, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::darkGreen);
  QImage target(kWidth, kHeight, QImage::Format_RGB32);
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  long long width = 0;
  for (auto _ : state) {
    for (const QString& cell : cells) {
      QTextDocument doc;
      doc.setDefaultFont(font);
      doc.addResource(QTextDocument::ImageResource, QUrl("pic:0"), icon);
      doc.setHtml(cell);
      doc.setTextWidth(kWidth);
      width += static_cast<long long>(doc.idealWidth());
      if (draw) {
        QPainter p(&target);
        doc.drawContents(&p, QRectF(0, 0, kWidth, kHeight));
      }
    }
  }
  benchmark::DoNotOptimize(width);
  state.SetItemsProcessed(state.iterations() * kCells);
}

void BM_QTextDocumentMeasureCells(benchmark::State& state) { QtRun(state, false); }
void BM_QTextDocumentDrawCells(benchmark::State& state) { QtRun(state, true); }

}  // namespace

BENCHMARK(BM_HtmlMeasureCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentMeasureCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlDrawCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentDrawCells)->Unit(benchmark::kMillisecond);
