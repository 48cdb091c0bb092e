// Pictures in the view: a body's background image tiled over an 800 by
// 600 paint (small tiles mean many draws), beside QPainter's
// drawTiledPixmap of the same area; and one pointer move while a picture
// is dragged across a page (drop zone, drop bar of the block under the
// pointer, the picture's grey copy and the blended feedback repainted).
#include <benchmark/benchmark.h>

#include <QPainter>
#include <QPixmap>

#include "htmledit/view/psImageNode.h"
#include "htmlview/LayoutFixture.h"
#include "vcl/Graphics.h"

namespace {

using namespace htmlview;

std::unique_ptr<vcl::TBitmap> Tile(Integer aSize) {
  auto tile = std::make_unique<vcl::TBitmap>(aSize, aSize);
  for (Integer y = 0; y < aSize; ++y)
    for (Integer x = 0; x < aSize; ++x) tile->Canvas()->SetPixels(x, y, vcl::RGB(x * 16 % 256, y * 16 % 256, 90));
  return tile;
}

void BM_PaintTiledBody(benchmark::State& state) {
  const Integer size = static_cast<Integer>(state.range(0));
  TpsImageCache cache;
  cache.AddImage("tile.png", Tile(size), nullptr);
  testing::LayoutPage page(800, 600);
  page.Host.Images = &cache;
  page.Host.Options["MinDocumentHeight"] = 600;
  page.Load("<html><body><p>text</p></body></html>", "body { background-image: url(tile.png) }");
  for (auto _ : state) {
    page.Host.Canvas.BeginPaint(&page.Fake);
    page.Body->PaintRect(0, 0, 799, 599);
    page.Host.Canvas.EndPaint();
  }
  state.counters["tiles"] = static_cast<double>(((800 + size - 1) / size) * ((600 + size - 1) / size));
}
BENCHMARK(BM_PaintTiledBody)->Arg(2)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

void BM_QPainterTiledPixmap(benchmark::State& state) {
  const Integer size = static_cast<Integer>(state.range(0));
  QImage target(800, 600, QImage::Format_RGB32);
  const QPixmap tile = QPixmap::fromImage(Tile(size)->Pixels());
  for (auto _ : state) {
    QPainter painter(&target);
    painter.drawTiledPixmap(QRect(0, 0, 800, 600), tile);
  }
}
BENCHMARK(BM_QPainterTiledPixmap)->Arg(2)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

TpsImageNode* FindImage(TpsWindow* aWindow) {
  if (auto* image = dynamic_cast<TpsImageNode*>(aWindow)) return image;
  for (TpsWindow* c : aWindow->ChildList())
    if (TpsImageNode* i = FindImage(c)) return i;
  return nullptr;
}

// Forty paragraphs, a 120 by 90 picture in the first; pressed and dragged,
// then moved between two paragraphs further down.
void BM_ImageDragMove(benchmark::State& state) {
  TpsImageCache cache;
  cache.AddImage("pic.png", Tile(16), nullptr);
  testing::LayoutPage page(800, 600);
  page.Host.Images = &cache;
  page.Host.DC = &page.Fake;
  page.Manager.OnGetDC = [&page]() -> vcl::TCanvas* { return &page.Fake; };
  page.Manager.OnReleaseDC = [](vcl::TCanvas*) {};
  std::string html = "<html><body><p>ab <img src=\"pic.png\" width=\"120\" height=\"90\"> cd</p>";
  for (int i = 0; i < 40; ++i) html += "<p>a paragraph of a few words that fills part of a line</p>";
  page.Load(html + "</body></html>");
  TpsImageNode* image = FindImage(page.Body);
  if (!image) {
    state.SkipWithError("no image node");
    return;
  }
  const auto mouse = [&page](Integer aId, Integer aX, Integer aY) {
    TpsMessagePtr m = TpsMessage::Create(mrPositional, aId);
    m->X = aX;
    m->Y = aY;
    auto buttons = std::make_unique<TpsVCLMouseButtons>();
    buttons->SetMouseButton(0);
    m->SetButtons(std::move(buttons));
    m->Shift = ssLeftBit;
    page.Manager.PostAndProcess(std::move(m));
  };
  const TpsRect c = image->GetContentRect();
  mouse(psmMouseDown, (c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2);
  mouse(psmMouseMove, (c.Left + c.Right) / 2 + 5, (c.Top + c.Bottom) / 2 + 5);
  if (!image->Dragging) {
    state.SkipWithError("the drag did not start");
    return;
  }
  bool odd = false;
  for (auto _ : state) {
    mouse(psmMouseMove, 400, odd ? 300 : 400);
    odd = !odd;
  }
  state.counters["drop_target"] = image->DropTarget != nullptr;
}
BENCHMARK(BM_ImageDragMove)->Unit(benchmark::kMicrosecond);

}  // namespace
