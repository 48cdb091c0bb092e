// The office styler on a small ribbon: a style change reaching the pager,
// its toolbars and their glow buttons, and the page and toolbar drawn in
// the colours of the classic, Luna, Silver and Terminal looks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;
using vcl::TColor;

// Within 3 of each other in every channel (a gradient's first and last
// rows land next to its end colours).
bool Near(TColor A, TColor B) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((A >> shift) & 0xFF) - static_cast<int>((B >> shift) & 0xFF)) > 3) return false;
  return true;
}

struct OfficeRibbonRig {
  vcl::TForm* form = nullptr;
  TRorIvezEviPager* pager = nullptr;
  TRorIvezEviOfficeStyler* styler = nullptr;
  TLumPage* page = nullptr;
  TRorIvezEvi* bar = nullptr;
  controls::TLumGlowButton* glow = nullptr;
  OfficeRibbonRig() {
    QCursor::setPos(2, 2);
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(400);
    form->SetClientHeight(160);
    styler = new TRorIvezEviOfficeStyler(form);
    styler->SetStyle(bsOffice2003Classic);
    pager = new TRorIvezEviPager(form);
    pager->SetParent(form);
    pager->SetHeight(120);
    pager->PageCaption()->SetVisible(false);
    pager->TabSettings()->SetHeight(34);
    pager->SetShowHelpButton(false);
    pager->SetToolBarStyler(styler);
    for (const char* c : {"&File", "&Edit"}) {
      auto* p = new TLumPage(form);
      p->SetCaption(c);
      p->SetParent(pager);
      if (!page) page = p;
    }
    bar = new TRorIvezEvi(form);
    bar->SetParent(page);
    bar->SetAutoSize(false);
    bar->SetWidth(120);
    bar->SetCaption("");
    glow = new controls::TLumGlowButton(form);
    glow->SetParent(bar);
    pager->SetActivePageIndex(0);
    form->Show();
    Pump();
  }
  ~OfficeRibbonRig() {
    vcl::Free(form);
    Pump();
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
  }
  QImage Grab(vcl::TWinControl* c) {
    Pump();
    c->Repaint();
    return c->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static TColor At(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return vcl::RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
  }
};

TEST(RibbonOfficeStylerPaint, AStyleChangeReachesThePagerAndItsToolBars) {
  OfficeRibbonRig rig;
  ASSERT_EQ(rig.bar->CurrentStyler(), rig.styler);
  rig.styler->SetStyle(bsOffice2007Luna);
  // The toolbar takes the look's colour and hands the glow appearance on.
  EXPECT_EQ(rig.bar->Color(), 0xEDD8C7u);
  EXPECT_EQ(rig.glow->Appearance()->Color(), 0xEEDBC8u);
  EXPECT_EQ(rig.glow->Appearance()->BorderColor(), 0xE0B99Bu);
  EXPECT_EQ(rig.glow->Appearance()->ColorHot(), rig.styler->GlowButtonAppearance()->ColorHot());
  // A toolbar that left the pager's styler hears nothing of it.
  rig.bar->SetParentStyler(false);
  rig.styler->SetStyle(bsTerminal);
  EXPECT_NE(rig.bar->Color(), vcl::clBtnFace);
}

// The page's top half and the toolbar's face in each look's colours.
TEST(RibbonOfficeStylerPaint, PageAndToolBarInFourLooks) {
  OfficeRibbonRig rig;
  struct Case {
    TToolBarStyle style;
    const char* file;
  };
  const Case cases[] = {{bsOffice2003Classic, "classic"},
                        {bsOffice2007Luna, "luna"},
                        {bsOffice2003Silver, "silver"},
                        {bsTerminal, "terminal"}};
  TColor previous = vcl::clNone;
  for (const Case& c : cases) {
    rig.styler->SetStyle(c.style);
    const QImage shot = rig.Grab(rig.pager);
    shot.save((std::string(TOLVANE_BUILD_DIR "/ribbon_office_") + c.file + ".png").c_str());
    TVistaPageBackground* p = rig.styler->PageAppearance();
    const vcl::TRect r = rig.page->BoundsRect();
    const int x = r.Right - 30;  // right of the toolbar
    // The page: its border, the top half from Color, the mirror half
    // starting 22 below the top at ColorMirror and ending near ColorMirrorTo.
    EXPECT_EQ(OfficeRibbonRig::At(shot, r.Left, r.Top + 40), vcl::ColorToRGB(p->BorderColor())) << c.file;
    EXPECT_EQ(OfficeRibbonRig::At(shot, x, r.Top), vcl::ColorToRGB(p->BorderColor())) << c.file;
    EXPECT_TRUE(Near(OfficeRibbonRig::At(shot, x, r.Top + 1), vcl::ColorToRGB(p->Color()))) << c.file;
    EXPECT_EQ(OfficeRibbonRig::At(shot, x, r.Top + 22), vcl::ColorToRGB(p->ColorMirror())) << c.file;
    EXPECT_TRUE(Near(OfficeRibbonRig::At(shot, x, r.Bottom - 3), vcl::ColorToRGB(p->ColorMirrorTo()))) << c.file;
    EXPECT_EQ(OfficeRibbonRig::At(shot, x, r.Bottom - 2), vcl::ColorToRGB(p->HighLightColor())) << c.file;
    EXPECT_EQ(OfficeRibbonRig::At(shot, x, r.Bottom - 1), vcl::ColorToRGB(p->ShadowColor())) << c.file;
    // The toolbar on the page: the glow button's border and its caption band.
    const vcl::TRect b = rig.bar->BoundsRect();
    const vcl::TRect g = rig.glow->BoundsRect();
    EXPECT_EQ(OfficeRibbonRig::At(shot, r.Left + b.Left + g.Left + g.Width() / 2, r.Top + b.Top + g.Top),
              vcl::ColorToRGB(rig.styler->GlowButtonAppearance()->BorderColor()))
        << c.file;
    // The shadow below the page stays a shade of the page's shadow colour.
    const TColor under = OfficeRibbonRig::At(shot, x, r.Bottom);
    EXPECT_GE(vcl::GetRValue(under) + 8, vcl::GetRValue(vcl::ColorToRGB(p->ShadowColor()))) << c.file;
    EXPECT_NE(OfficeRibbonRig::At(shot, x, r.Top + 1), previous) << c.file;  // each look differs
    previous = OfficeRibbonRig::At(shot, x, r.Top + 1);
  }
}

}  // namespace

namespace {

// A pager without a styler of its own draws with its internal office
// styler in the Luna look; the styler's notifier window does not count
// among its pages.
TEST(RibbonOfficeStylerPaint, PagerWithoutAStylerLooksLikeLuna) {
  OfficeRibbonRig rig;
  rig.pager->SetToolBarStyler(nullptr);
  auto* own = dynamic_cast<TRorIvezEviOfficeStyler*>(rig.pager->CurrentStyler());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(own, rig.pager->InternalStyler());
  EXPECT_EQ(own->Style(), bsOffice2007Luna);
  EXPECT_EQ(own->Color()->Color(), 0xEDD8C7u);
  EXPECT_EQ(rig.pager->PageCount(), 2);
  EXPECT_EQ(rig.bar->CurrentStyler(), own);
  const QImage shot = rig.Grab(rig.pager);
  const vcl::TRect r = rig.page->BoundsRect();
  EXPECT_EQ(OfficeRibbonRig::At(shot, r.Left, r.Top + 40), own->PageAppearance()->BorderColor());
  EXPECT_EQ(OfficeRibbonRig::At(shot, r.Right - 30, r.Top + 22), own->PageAppearance()->ColorMirror());
}

}  // namespace
