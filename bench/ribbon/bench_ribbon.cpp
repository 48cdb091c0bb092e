// The ribbon's button painting: one full 100 x 41 glow face through
// DrawGlowFace on the GDI+ text path (two glow halves, frame, focus rings,
// a 16 x 16 image-list image and a caption), one paint of a hot 60 x 22
// toolbar button with image and caption on its toolbar, and a QToolButton
// of the same size under the Fusion style in the same run; the main
// window's pager laid out and painted at three widths; and a Style change
// of the office styler on the main window's ribbon.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviFaces.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "ribbon/RorIvezEviPager.h"
#include "controls/LumGlowButton.h"
#include "vcl/StdCtrls.h"
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
// page, without toolbars (BM_MainRibbonPages has them).
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

// The main window's ribbon whole: six pages holding its fourteen toolbars
// with their glow buttons (edits and combo boxes as edits of their size),
// buttons sizing themselves as the component does by default. Each
// iteration sets the width (one pixel apart on alternate runs, so the
// pages shrink or grow their groups afresh) and shows and paints every
// page in turn with its toolbars and buttons.
struct BenchBar {
  int Page;  // index into the six page captions
  const char* Caption;
  std::vector<const char*> Items;  // "|" starts an edit of that width
};

const std::vector<BenchBar>& MainRibbonBars() {
  static const std::vector<BenchBar> bars = {
      {0, "File", {"Save As", "New", "Open", "Save", "Close", "New Project", "Open Project", "Save Project",
                         "Save Project As"}},
      {0, "Print", {"Print Setup", "Print Preview", "Print"}},
      {0, "Exit", {"Exit"}},
      {1, "Edit", {"Undo", "Redo", "Cut", "Paste", "Copy", "Remove Span", "Increase Indent",
                         "Decrease Indent", "Import Text", "Edit Table"}},
      {1, "Font", {"Align Left", "Center", "Align Right", "Bold", "Italic", "Underline", "Strike Out",
                         "Font Color", "Background Color", "|120", "|50", "|100"}},
      {2, "Edit", {"Copy", "Cut", "Paste", "Undo", "Redo"}},
      {3, "Image", {"Restore Original Size", "Delete Image", "Align Left", "Align Middle", "Align Right",
                           "Make Link", "Image"}},
      {3, "Table/ Lists", {"Bullets", "Numbering", "Table"}},
      {3, "Commands", {"Insert", "|100", "Edit Device CMD"}},
      {3, "Hyperlink", {"|120", "Hyperlink", "Link Target", "Remove Link"}},
      {4, "Document", {"Spelling", "Spelling Options", "Word Count", "Graphics", "Find"}},
      {4, "View", {"Reveal Tags", "Project Manager", "Insert", "Simulate", "Sim Errors"}},
      {5, "Device Selection", {"Change Device", "|120"}},
      {5, "Target", {"Upload", "CDFS", "Settings"}},
  };
  return bars;
}

// The main window's ribbon built as its form builds it.
struct MainRibbonRig {
  std::shared_ptr<rtl::ManualClock> clock = std::make_shared<rtl::ManualClock>(1000);
  std::unique_ptr<vcl::TImageList> images = BenchImages();
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  std::vector<TLumPage*> pages;
  MainRibbonRig() {
    rtl::InstallClock(clock);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(978);
    form->SetClientHeight(200);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    for (const char* caption : {"&File", "&Edit", "&Edit", "&HTML ", "&Tools", "Tar&get"}) {
      pages.push_back(new TLumPage(form));
      pages.back()->SetCaption(caption);
      pages.back()->SetParent(pager);
    }
    for (const BenchBar& bar : MainRibbonBars()) {
      auto* tb = new TRorIvezEvi(form);
      tb->SetCaption(bar.Caption);
      int left = 10;
      for (const char* item : bar.Items) {
        vcl::TControl* c = nullptr;
        if (item[0] == '|') {
          auto* edit = new vcl::TEdit(form);
          edit->SetBounds(left, 5, std::atoi(item + 1), 21);
          c = edit;
        } else {
          auto* g = new controls::TLumGlowButton(form);
          g->SetCaption(item);
          g->SetImages(images.get());
          g->SetImageIndex(0);
          g->SetLayout(controls::blGlyphTop);
          g->SetAutoSize(true);
          vcl::TSize size{0, 0};
          g->GetSizeForState(controls::bsLarge, size);
          g->SetBounds(left, 5, size.cx, size.cy);
          c = g;
        }
        left += c->Width() + 1;
        c->SetParent(tb);
      }
      tb->SetParent(pages[static_cast<size_t>(bar.Page)]);
    }
  }
  ~MainRibbonRig() {
    vcl::Free(form);
    vcl::Application->ProcessMessages();
    rtl::InstallClock(nullptr);
  }
};

void BM_MainRibbonPages(benchmark::State& state) {
  MainRibbonRig rig;
  TRorIvezEviPager* pager = rig.pager;
  std::vector<TLumPage*>& pages = rig.pages;
  pager->SetActivePageIndex(0);
  rig.form->Show();
  vcl::Application->ProcessMessages();
  const int width = static_cast<int>(state.range(0));
  bool wide = false;
  for (auto _ : state) {
    rig.form->SetClientWidth(width + (wide ? 1 : 0));
    wide = !wide;
    for (size_t i = 0; i < pages.size(); ++i) {
      pager->SetActivePageIndex(static_cast<int>(i));
      pager->Repaint();
      pages[i]->Repaint();
      for (int t = 0; t < pages[i]->ToolBarCount(); ++t) pages[i]->ToolBars(t)->Repaint();
    }
  }
  state.counters["toolbars"] = static_cast<double>(MainRibbonBars().size());
}
BENCHMARK(BM_MainRibbonPages)->Arg(978)->Arg(700)->Arg(400)->Unit(benchmark::kMillisecond);

// Counts the styler-change calls one registered control hears.
class StyleChangeCounter : public vcl::TCustomControl, public IRorIvezEviStylerClient {
 public:
  StyleChangeCounter() : vcl::TCustomControl(nullptr) {}
  TStylerClientKind StylerClientKind() const override { return TStylerClientKind::sckToolBar; }
  void StylerChanged(int) override { ++calls; }
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return styler; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override { styler = Value; }
  TCustomRorIvezEviStyler* styler = nullptr;
  long long calls = 0;
};

// A Style change on the main window's ribbon with the office styler that
// its pager and fourteen toolbars use: each iteration switches between the
// classic and the Luna look (every value through its setter, every
// broadcast to the pager and the toolbars), then lets the invalidated
// pager, page and toolbars repaint.
void BM_OfficeStyleChange(benchmark::State& state) {
  MainRibbonRig rig;
  auto* styler = new TRorIvezEviOfficeStyler(rig.form);
  styler->SetStyle(bsOffice2003Classic);
  rig.pager->SetToolBarStyler(styler);
  StyleChangeCounter counter;
  styler->RegisterControl(&counter);
  rig.pager->SetActivePageIndex(1);
  rig.form->Show();
  vcl::Application->ProcessMessages();
  bool luna = false;
  for (auto _ : state) {
    luna = !luna;
    styler->SetStyle(luna ? bsOffice2007Luna : bsOffice2003Classic);
    vcl::Application->ProcessMessages();
    rig.pager->Repaint();
    TLumPage* page = rig.pager->ActivePage();
    page->Repaint();
    for (int t = 0; t < page->ToolBarCount(); ++t) page->ToolBars(t)->Repaint();
  }
  state.counters["broadcasts"] =
      benchmark::Counter(static_cast<double>(counter.calls), benchmark::Counter::kAvgIterations);
  styler->UnregisterControl(&counter);
}
BENCHMARK(BM_OfficeStyleChange)->Unit(benchmark::kMillisecond);

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
