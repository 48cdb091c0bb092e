// The ribbon's button painting: one full 100 x 41 glow face through
// DrawGlowFace on the GDI+ text path (two glow halves, frame, focus rings,
// a 16 x 16 image-list image and a caption), one paint of a hot 60 x 22
// toolbar button with image and caption on its toolbar, and a QToolButton
// of the same size under the Fusion style in the same run; and the main
// window's pager laid out and painted at three widths.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <memory>

#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviFaces.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"
#include "vcl/Pictures.h"

namespace {

using namespace ribbon;

std::unique_ptr<vcl::TImageList> BenchImages() {
  auto images = std::make_unique<vcl::TImageList>(nullptr);
  vcl::TBitmap glyph;
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(vcl::clFuchsia);
  glyph.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(vcl::clGreen);
  glyph.Canvas()->Ellipse(0, 0, 16, 16);
  images->Add(&glyph, nullptr);
  return images;
}

void BM_GlowFaceGdiPlus(benchmark::State& state) {
  auto images = BenchImages();
  vcl::TBitmap target(100, 41);
  vcl::TFont font;
  font.SetName("Tahoma");
  TGlowFace f;
  f.ColorTo = vcl::RGB(255, 214, 79);
  f.ColorMirror = vcl::RGB(255, 200, 60);
  f.ColorMirrorTo = vcl::RGB(255, 230, 150);
  f.BorderColor = vcl::RGB(194, 155, 41);
  f.Gradient = controls::ggRadial;
  f.GradientMirror = controls::ggVertical;
  f.Caption = "Upload";
  f.Font = &font;
  f.Images = images.get();
  f.ImageIndex = 0;
  f.Focus = true;
  f.AntiAlias = controls::aaClearType;
  vcl::TPoint size;
  for (auto _ : state) {
    DrawGlowFace(target.Canvas(), vcl::TRect{0, 0, 100, 41}, vcl::RGB(255, 250, 220), f, size);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(BM_GlowFaceGdiPlus)->Unit(benchmark::kMicrosecond);

// A shown form with a toolbar holding one hot button; the clock stands
// still.
void BM_ToolBarButtonPaint(benchmark::State& state) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::InstallClock(clock);
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(200);
  form->SetClientHeight(100);
  auto* bar = new TLumCustomToolBar(form);
  bar->SetParent(form);
  bar->SetBounds(0, 0, 200, 30);
  auto images = BenchImages();
  bar->SetImages(images.get());
  auto* b = new TLumCustomToolBarButton(form);
  b->SetParent(bar);
  b->SetAutoSize(false);
  b->SetBounds(10, 4, 60, 22);
  b->SetImageIndex(0);
  b->SetCaption("Upload");
  b->SetShowCaption(true);
  form->Show();
  vcl::Application->ProcessMessages();
  b->Perform(vcl::CM_MOUSEENTER);
  if (!b->Hot()) state.SkipWithError("the button is not hot");
  for (auto _ : state) {
    b->Invalidate();
    bar->Update();
  }
  bar->SetImages(nullptr);
  vcl::Free(form);
  vcl::Application->ProcessMessages();
  rtl::InstallClock(nullptr);
}
BENCHMARK(BM_ToolBarButtonPaint)->Unit(benchmark::kMicrosecond);

// The main window's pager: six pages with its captions, caption bar
// hidden, tabs 34 high; each iteration lays the tabs out at the width
// given (fitting or squeezing them) and paints the pager and the active
// page. The pages' toolbars are not part of this yet.
void BM_PagerLayoutAndPaint(benchmark::State& state) {
  auto clock = std::make_shared<rtl::ManualClock>(1000);
  rtl::InstallClock(clock);
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetClientWidth(978);
  form->SetClientHeight(200);
  auto* pager = new TRorIvezEviPager(form);
  pager->SetParent(form);
  pager->SetHeight(120);
  pager->PageCaption()->SetVisible(false);
  pager->TabSettings()->SetHeight(34);
  for (const char* caption : {"&File", "&Edit", "&Edit", "&HTML ", "&Tools", "Tar&get"}) {
    auto* page = new TLumPage(form);
    page->SetCaption(caption);
    page->SetParent(pager);
  }
  pager->SetActivePageIndex(0);
  form->Show();
  vcl::Application->ProcessMessages();
  const int width = static_cast<int>(state.range(0));
  bool wide = false;
  for (auto _ : state) {
    // Alternate one pixel so every iteration lays out afresh.
    form->SetClientWidth(width + (wide ? 1 : 0));
    wide = !wide;
    pager->Repaint();
    pager->ActivePage()->Repaint();
  }
  vcl::Free(form);
  vcl::Application->ProcessMessages();
  rtl::InstallClock(nullptr);
}
BENCHMARK(BM_PagerLayoutAndPaint)->Arg(978)->Arg(700)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_QToolButtonFusion(benchmark::State& state) {
  std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  QToolButton button;
  button.setText("Upload");
  button.setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button.setStyle(fusion.get());
  QPixmap glyph(16, 16);
  glyph.fill(Qt::transparent);
  {
    QPainter p(&glyph);
    p.setBrush(Qt::darkGreen);
    p.drawEllipse(0, 0, 15, 15);
  }
  button.setIcon(QIcon(glyph));
  button.setAutoRaise(true);
  button.resize(60, 22);
  QImage target(60, 22, QImage::Format_RGB32);
  for (auto _ : state) {
    button.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_QToolButtonFusion)->Unit(benchmark::kMicrosecond);

}  // namespace
