// The main window's ribbon on screen: grabs of every page written to the
// build folder (ribbon_main_*.png) and the pixels that tell the Classic
// look under the default theme: the page background split 22 pixels below
// its top between the form's white-to-0xC9D1D5 colours, the selected
// tab opening into the page, the groups' caption bands, and a hot tab's
// fade frames at 30 ms ticks.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "MainRibbonRig.h"
#include "controls/LumGlowButton.h"
#include "controls/LumMenuOfficeStyler.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Graphics.h"

namespace {

using namespace ribbon;
using ide::testing::MainRibbonRig;
using ide::testing::SaveGrab;

QImage Grab(vcl::TWinControl* c) { return c->Widget()->grab().toImage(); }

// A colour value (red in the low byte) as Qt's RGB.
QRgb Rgb(vcl::TColor c) {
  const vcl::TColor v = vcl::ColorToRGB(c);
  return qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

vcl::TColor QtToColor(QRgb c) { return vcl::RGB(qRed(c), qGreen(c), qBlue(c)); }

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST(MainRibbonPaint, EveryPageGrabbedInTheClassicLook) {
  MainRibbonRig rig;
  auto* styler = dynamic_cast<TRorIvezEviOfficeStyler*>(rig.pager->ToolBarStyler());
  ASSERT_NE(styler, nullptr);
  // The default theme answers "NormalColor", and the form leaves
  // AutoThemeAdapt off: the look stays Classic.
  EXPECT_EQ(controls::CurrentXPColorScheme(), 1);
  EXPECT_EQ(styler->Style(), bsOffice2003Classic);
  for (bool visual : {true, false}) {
    rig.SetVisualEditing(visual);
    for (int i = 0; i < rig.pager->PageCount(); ++i) {
      if (!rig.pager->GetPageByIndex(i)->Enabled()) continue;
      rig.pager->SetActivePageIndex(i);
      rig.Pump();
      TLumPage* page = rig.pager->ActivePage();
      ASSERT_EQ(rig.pager->GetActivePageIndex(), i);
      SaveGrab(rig.pager, "ribbon_main_" + std::string(page->Name()) + ".png");
      const QImage pagerImage = Grab(rig.pager);
      const QImage pageImage = Grab(page);
      SCOPED_TRACE(page->Name());
      // The page's background: the top band from white towards 0xC9D1D5,
      // the lower band from 0xC9D1D5 towards white, split 22 below the
      // top. Read it in the gap after the first group.
      TLumCustomToolBar* first = page->ToolBars(0);
      const int x = first->Left() + first->Width() + 1;
      EXPECT_LT(Distance(pageImage.pixel(x, 2), Rgb(vcl::clWhite)), 24);
      EXPECT_LT(Distance(pageImage.pixel(x, 21), Rgb(0xC9D1D5)), 24);
      EXPECT_LT(Distance(pageImage.pixel(x, 22), Rgb(0xC9D1D5)), 8);
      EXPECT_GT(Distance(pageImage.pixel(x, 21), pageImage.pixel(x, 2)), 40);
      EXPECT_LT(Distance(pageImage.pixel(x, page->Height() - 3), Rgb(vcl::clWhite)), 24);
      // The selected tab opens into the page: under its middle the
      // pager's row at the page's top edge shows the tab's body, not the
      // page's border, while next to the tabs the border runs.
      const vcl::TRect tab = rig.pager->GetTabRect(i);
      const QRgb border = Rgb(styler->PageAppearance()->BorderColor());
      const int edge = rig.pager->GetPageRect().Top;
      EXPECT_GT(Distance(pagerImage.pixel((tab.Left + tab.Right) / 2, edge), border), 30);
      // Each group's caption band: the caption's own colour at the band's
      // left end.
      for (int t = 0; t < page->ToolBarCount(); ++t) {
        TLumCustomToolBar* bar = page->ToolBars(t);
        if (bar->IsCollapsed()) continue;
        const QImage barImage = Grab(bar);
        const vcl::TRect band = bar->GetCaptionRect();
        const QRgb inBand = barImage.pixel(band.Left + 3, (band.Top + band.Bottom) / 2);
        const QRgb above = barImage.pixel(band.Left + 3, band.Top - 3);
        EXPECT_NE(inBand, above) << bar->Caption();
      }
    }
  }
}

// A tab under the mouse fades in over five 30 ms ticks: each frame's
// tab body is the tab row's background mixed with the fully hot body by
// the fade's amount (20, 40, ... 100). The frames go side by side into
// ribbon_main_hot_fade.png.
TEST(MainRibbonPaint, HotTabFadeFrames) {
  MainRibbonRig rig;
  const int tab = 3;  // "&Tools", not the active one
  const vcl::TRect r = rig.pager->GetTabRect(tab);
  const QRect cell(r.Left, r.Top, r.Width(), r.Height());
  const QImage idle = Grab(rig.pager).copy(cell);
  QTest::mouseMove(rig.pager->Widget(), QPoint(r.Left + 5, r.Top + 5));
  rig.Pump();
  std::vector<QImage> frames{idle};
  for (int amount : {20, 40, 60, 80, 100}) {
    rig.Advance(30);
    ASSERT_EQ(rig.pager->GetPageByIndex(tab)->HotFade(), amount);
    frames.push_back(Grab(rig.pager).copy(cell));
  }
  // Past the end the timer is gone and the frame stays.
  rig.Advance(30);
  EXPECT_EQ(rig.pager->GetPageByIndex(tab)->FadeTimer(), nullptr);
  const QImage& hot = frames.back();
  // A point of the body clear of the caption.
  const QPoint p(cell.width() - 5, 9);
  EXPECT_GT(Distance(idle.pixel(p), hot.pixel(p)), 30);
  // Idle tabs show no body: the fade mixes the hot body into the tab
  // row's background, taken as the middle of its two colours.
  TGradientBackground* row = rig.pager->CurrentStyler()->TabAppearance()->BackGround();
  const vcl::TColor base = MixColors(vcl::ColorToRGB(row->Color()), vcl::ColorToRGB(row->ColorTo()), 50);
  for (int i = 1; i < 5; ++i) {
    const int amount = 20 * i;
    const vcl::TColor mixed = MixColors(QtToColor(hot.pixel(p)), base, amount);
    EXPECT_LE(Distance(frames[static_cast<size_t>(i)].pixel(p), Rgb(mixed)), 6) << amount;
    EXPECT_LT(Distance(frames[static_cast<size_t>(i)].pixel(p), hot.pixel(p)),
              Distance(frames[static_cast<size_t>(i - 1)].pixel(p), hot.pixel(p)))
        << amount;
  }
  QImage strip(cell.width() * static_cast<int>(frames.size()), cell.height(), QImage::Format_RGB32);
  QPainter painter(&strip);
  for (size_t i = 0; i < frames.size(); ++i) painter.drawImage(static_cast<int>(i) * cell.width(), 0, frames[i]);
  painter.end();
  strip.save(TOLVANE_BUILD_DIR "/ribbon_main_hot_fade.png");
}

}  // namespace
