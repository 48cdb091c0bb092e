// The toolbar's painting in pixels under a styler with known colours: the
// caption band, the mirror background split below the top, the border,
// the scenic separator, the drag grip and the right handle.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>

#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

using namespace ribbon;
using vcl::RGB;
using vcl::TColor;

class PaintHost : public vcl::TPanel, public IToolBarHost {
 public:
  PaintHost(vcl::TComponent* owner, bool ribbon) : vcl::TPanel(owner), ribbon_(ribbon) {}
  bool RibbonGroupHost() const override { return ribbon_; }

 private:
  bool ribbon_;
};

constexpr TColor kBase = RGB(250, 250, 240), kBaseTo = RGB(200, 210, 230);
// The lower part is one colour, so every row of it reads exactly.
constexpr TColor kMirror = RGB(180, 190, 220), kMirrorTo = kMirror;
constexpr TColor kCaption = RGB(120, 140, 180), kCaptionBorder = RGB(40, 60, 100);
constexpr TColor kBorder = RGB(90, 110, 150);

struct PaintRig {
  vcl::TForm* form = nullptr;
  PaintHost* host = nullptr;
  explicit PaintRig(bool ribbon) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(400);
    form->SetClientHeight(200);
    host = new PaintHost(form, ribbon);
    host->SetParent(form);
    host->SetBounds(0, 0, 400, 200);
    form->Show();
  }
  ~PaintRig() { vcl::Free(form); }
  TLumCustomToolBar* Bar(int top) {
    auto* bar = new TLumCustomToolBar(form);
    bar->SetParent(host);
    bar->SetAutoSize(false);
    bar->SetAutoPositionControls(false);
    bar->SetBounds(3, top, 200, 75);
    TCustomRorIvezEviStyler* s = bar->CurrentStyler();
    s->Color()->Mirror()->SetColor(kBase);
    s->Color()->Mirror()->SetColorTo(kBaseTo);
    s->Color()->Mirror()->SetColorMirror(kMirror);
    s->Color()->Mirror()->SetColorMirrorTo(kMirrorTo);
    s->Color()->SetColor(kBase);
    s->Color()->SetColorTo(vcl::clNone);
    s->SetBorderColor(kBorder);
    return bar;
  }
  QImage Grab(TLumCustomToolBar* bar) {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      vcl::Application->ProcessMessages();
    }
    bar->Repaint();
    return bar->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static TColor At(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qBlue(p)));
  }
};

TEST(RibbonToolBarPaint, MirrorSplitBelowTheTopOnAPage) {
  struct Case {
    int top, split;
  } const cases[] = {{3, 19}, {10, 12}, {22, 0}, {30, 0}};
  for (const Case& c : cases) {
    PaintRig rig(true);
    TLumCustomToolBar* bar = rig.Bar(c.top);
    bar->SetShowCaption(true);
    bar->SetCaptionPosition(cpBottom);
    const QImage shot = rig.Grab(bar);
    if (c.top == 3) shot.save(TOLVANE_BUILD_DIR "/ribbon_toolbar_mirror.png");
    // The lower part starts at the split with exactly the mirror colour.
    EXPECT_EQ(PaintRig::At(shot, 100, std::max(c.split, 1)), kMirror) << c.top;
    EXPECT_EQ(PaintRig::At(shot, 100, 50), kMirror) << c.top;
    for (int y = 1; y < c.split; ++y) EXPECT_NE(PaintRig::At(shot, 100, y), kMirror) << c.top << " row " << y;
    if (c.split > 1) {
      EXPECT_NEAR(vcl::GetRValue(PaintRig::At(shot, 100, 1)), vcl::GetRValue(kBase), 8) << c.top;
      EXPECT_NEAR(vcl::GetRValue(PaintRig::At(shot, 100, c.split - 1)), vcl::GetRValue(kBaseTo), 6) << c.top;
    }
    // The border on the edges, the caption band at the bottom.
    EXPECT_EQ(PaintRig::At(shot, 0, 30), kBorder) << c.top;
    EXPECT_EQ(PaintRig::At(shot, 199, 30), kBorder) << c.top;
  }
}

TEST(RibbonToolBarPaint, CaptionBandFillFrameAndText) {
  PaintRig rig(true);
  TLumCustomToolBar* bar = rig.Bar(3);
  bar->CurrentStyler()->SetBorderColor(vcl::clNone);  // the frame would cover the band's
  TCaptionAppearance* a = bar->CurrentStyler()->CaptionAppearance();
  a->SetCaptionColor(kCaption);
  a->SetCaptionColorTo(vcl::clNone);
  a->SetCaptionBorderColor(kCaptionBorder);
  a->SetCaptionTextColor(vcl::clWhite);
  bar->SetCaption("Clipboard");
  bar->SetShowCaption(true);
  bar->SetCaptionPosition(cpBottom);
  bar->SetCaptionAlignment(vcl::taCenter);
  bar->SetShowRightHandle(false);
  QImage shot = rig.Grab(bar);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_toolbar_caption.png");
  // The band is the bottom 16 rows (59 .. 74): framed, filled, white text
  // in the middle. The background, a pixel taller than the rest, covers
  // the band's top row.
  EXPECT_EQ(PaintRig::At(shot, 0, 66), kCaptionBorder);
  EXPECT_EQ(PaintRig::At(shot, 100, 74), kCaptionBorder);
  EXPECT_EQ(PaintRig::At(shot, 5, 66), kCaption);
  EXPECT_EQ(PaintRig::At(shot, 5, 59), kMirror);
  int white = 0;
  for (int y = 60; y < 74; ++y)
    for (int x = 60; x < 140; ++x) white += vcl::GetBValue(PaintRig::At(shot, x, y)) > 235;
  EXPECT_GT(white, 10);
  // Both colours clNone: text only, no fill and no frame of its own.
  TLumCustomToolBar* plain = rig.Bar(100);
  a = plain->CurrentStyler()->CaptionAppearance();
  a->SetCaptionColor(vcl::clNone);
  a->SetCaptionColorTo(vcl::clNone);
  a->SetCaptionBorderColor(vcl::clNone);
  a->SetCaptionTextColor(RGB(200, 0, 0));
  plain->SetCaption("Clipboard");
  plain->SetShowCaption(true);
  plain->SetCaptionPosition(cpBottom);
  plain->SetCaptionAlignment(vcl::taCenter);
  plain->SetShowRightHandle(false);
  shot = rig.Grab(plain);
  EXPECT_NE(PaintRig::At(shot, 5, 66), kCaption);
  EXPECT_NE(PaintRig::At(shot, 5, 59), kCaptionBorder);
  int red = 0;
  for (int y = 60; y < 74; ++y)
    for (int x = 60; x < 140; ++x) red += vcl::GetRValue(PaintRig::At(shot, x, y)) > 150 &&
                                         vcl::GetGValue(PaintRig::At(shot, x, y)) < 80;
  EXPECT_GT(red, 10);
}

TEST(RibbonToolBarPaint, ScenicSeparatorInsteadOfAFrame) {
  PaintRig rig(true);
  TLumCustomToolBar* bar = rig.Bar(3);
  controls::SetGlobalWin7ScenicRibbon(true);
  const QImage shot = rig.Grab(bar);
  controls::SetGlobalWin7ScenicRibbon(false);
  EXPECT_NE(PaintRig::At(shot, 0, 30), kBorder);
  // The 1-pixel line 3 inside the right edge from 6 below the top.
  EXPECT_EQ(PaintRig::At(shot, 197, 30), kBorder);
  EXPECT_NE(PaintRig::At(shot, 197, 5), kBorder);
  EXPECT_EQ(PaintRig::At(shot, 196, 30), TColor(0xFAF1EC));
}

TEST(RibbonToolBarPaint, DragGripAndRightHandleOffThePage) {
  PaintRig rig(false);
  auto* bar = new TLumCustomToolBar(rig.form);
  bar->SetParent(rig.host);
  bar->SetBounds(3, 3, 100, 26);
  TCustomRorIvezEviStyler* s = bar->CurrentStyler();
  s->Color()->SetColor(kBase);
  s->Color()->SetColorTo(vcl::clNone);
  s->SetBorderColor(vcl::clNone);
  s->SetRoundedLook(false);
  s->ButtonAppearance()->SetBorderColor(RGB(0, 0, 160));
  for (int i = 0; i < 3; ++i) {
    auto* b = new TLumCustomToolBarButton(rig.form);
    b->SetAutoSize(false);
    b->SetBounds(100 + 30 * i, 1, 30, 22);
    b->SetParent(bar);
  }
  // All three fit: no more-controls sign.
  EXPECT_EQ(bar->Width(), 9 + 90 + 14);
  EXPECT_EQ(bar->GetGrowSpace(), 0);
  QImage shot = rig.Grab(bar);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_toolbar_docked.png");
  // Dots: a button-shadow square at (4, 5), white at (5, 6).
  const TColor shadow = vcl::ColorToRGB(vcl::clBtnShadow);
  EXPECT_EQ(PaintRig::At(shot, 4, 5), shadow);
  EXPECT_EQ(PaintRig::At(shot, 5, 6), shadow);
  EXPECT_EQ(PaintRig::At(shot, 6, 7), vcl::clWhite);
  EXPECT_EQ(PaintRig::At(shot, 4, 9), shadow);
  // The handle: framed in the button border colour, filled from the
  // styler's handle colours, with the option arrow.
  const int left = bar->Width() - 14 - 1;
  EXPECT_EQ(PaintRig::At(shot, left, 10), vcl::ColorToRGB(s->ButtonAppearance()->BorderColor()));
  int black = 0, blackTop = 0;
  for (int y = 0; y < 26; ++y)
    for (int x = left; x < bar->Width(); ++x) {
      const bool k = PaintRig::At(shot, x, y) == vcl::clBlack;
      black += k;
      blackTop += k && y < 10;
    }
  EXPECT_GE(black, 9);  // the arrow's 5 + 3 + 1
  EXPECT_EQ(blackTop, 0);
  // Shorter than its full length: the chevrons show.
  bar->SetWidth(80);
  EXPECT_GT(bar->GetGrowSpace(), 0);
  shot = rig.Grab(bar);
  const int left2 = 80 - 14 - 1;
  blackTop = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = left2; x < 80; ++x) blackTop += PaintRig::At(shot, x, y) == vcl::clBlack;
  EXPECT_GT(blackTop, 4);
}

}  // namespace
