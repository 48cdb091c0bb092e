// Toolbar buttons in pixels and sizes: each state's face in the styler's
// button colours on a toolbar of a distinct colour (a grab per state in
// the build folder), the arrow and the dropped outline, the separator, and
// AdjustSize measured exactly on the fake-metrics canvas.
#include <gtest/gtest.h>

#include <QCursor>
#include <algorithm>
#include <string>

#include "ButtonRig.h"
#include "vcl/ImgList.h"
#include "vcl/Messages.h"

namespace ribbontest {
namespace {

using vcl::RGB;

constexpr TColor kHot = RGB(255, 200, 100), kHotBorder = RGB(200, 0, 0);
constexpr TColor kDown = RGB(100, 200, 255), kDownBorder = RGB(0, 0, 200);
constexpr TColor kChecked = RGB(120, 220, 120), kCheckedBorder = RGB(0, 120, 0);

void KnownColours(TButtonAppearance* a) {
  a->SetColorHot(kHot);
  a->SetColorHotTo(vcl::clNone);
  a->SetBorderHotColor(kHotBorder);
  a->SetColorDown(kDown);
  a->SetColorDownTo(vcl::clNone);
  a->SetBorderDownColor(kDownBorder);
  a->SetColorChecked(kChecked);
  a->SetColorCheckedTo(vcl::clNone);
  a->SetBorderCheckedColor(kCheckedBorder);
  a->SetColor(RGB(1, 2, 3));  // never used by buttons
  a->SetBorderColor(RGB(4, 5, 6));
}

TEST(RibbonButtonPaint, EachStateInTheStylersColours) {
  Rig rig;
  KnownColours(rig.bar->CurrentStyler()->ButtonAppearance());
  auto* b = rig.Add(20, 5, 40, 22);
  auto* partner = rig.Add(100, 5, 40, 22);
  b->SetGroupIndex(3);
  partner->SetGroupIndex(3);
  struct Case {
    const char* name;
    std::function<void()> reach;
    TColor face, border;
  };
  const Case cases[] = {
      {"up", [&] { rig.Away(); }, kToolBarColour, kToolBarColour},
      {"hot", [&] { rig.Move(b, 10, 10); }, kHot, kHotBorder},
      {"down", [&] { rig.Press(b, 10, 10); }, kDown, kDownBorder},
      // Released inside: down in its group; the highlight stays off while
      // the button is not up.
      {"checked", [&] { rig.Release(b, 10, 10); }, kChecked, kCheckedBorder},
      {"checked_under_mouse", [&] { rig.Move(b, 12, 10); }, kChecked, kCheckedBorder},
      // Hot while it goes down without a press: the down colours.
      {"checked_hot",
       [&] {
         b->SetAllowAllUp(true);
         rig.Click(b, 10, 10);
         b->SetDown(true);
       },
       kDown, kDownBorder},
  };
  for (const Case& c : cases) {
    c.reach();
    const QImage shot = rig.Grab(rig.bar);
    shot.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR "/ribbon_button_") + c.name + ".png"));
    // The face inside, the frame on the button's edges (20..59, 5..26).
    EXPECT_EQ(Rig::At(shot, 40, 16), c.face) << c.name;
    EXPECT_EQ(Rig::At(shot, 22, 8), c.face) << c.name;
    EXPECT_EQ(Rig::At(shot, 20, 16), c.border) << c.name;
    EXPECT_EQ(Rig::At(shot, 59, 16), c.border) << c.name;
    EXPECT_EQ(Rig::At(shot, 40, 5), c.border) << c.name;
    EXPECT_EQ(Rig::At(shot, 40, 26), c.border) << c.name;
    EXPECT_EQ(Rig::At(shot, 61, 16), kToolBarColour) << c.name;
  }
  // The button's own appearance is not read while the styler is known,
  // and an up button draws no face whatever its colours.
  b->Appearance()->SetColorHot(RGB(9, 9, 9));
  rig.Move(partner, 10, 10);
  rig.Click(partner, 10, 10);
  rig.Away();
  EXPECT_EQ(Rig::At(rig.Grab(rig.bar), 40, 16), kToolBarColour);
  b->SetParentStyler(false);
  b->Appearance()->SetColorHotTo(vcl::clNone);
  rig.Move(b, 10, 10);
  EXPECT_EQ(Rig::At(rig.Grab(rig.bar), 40, 16), RGB(9, 9, 9));
}

TEST(RibbonButtonPaint, HotGradientArrowAndDroppedOutline) {
  Rig rig;
  TButtonAppearance* a = rig.bar->CurrentStyler()->ButtonAppearance();
  KnownColours(a);
  a->SetColorHotTo(RGB(255, 100, 0));
  a->SetGradientDirectionHot(gdVertical);
  auto* b = rig.Add(20, 5, 40, 22);
  b->SetDropDownButton(true);
  rig.Move(b, 5, 10);
  QImage shot = rig.Grab(rig.bar);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_button_dropdown_hot.png");
  // 40 bands top to bottom: the first row the start colour, lower rows
  // toward the end colour; the drop-down part (the last 12 pixels) filled
  // and framed on its own.
  EXPECT_EQ(vcl::GetRValue(Rig::At(shot, 30, 6)), 255);
  EXPECT_GT(vcl::GetGValue(Rig::At(shot, 30, 6)), 190);
  EXPECT_LT(vcl::GetGValue(Rig::At(shot, 30, 24)), 120);
  EXPECT_EQ(Rig::At(shot, 47, 16), kHotBorder);  // the section frames meet at x = 48 - 1
  EXPECT_EQ(Rig::At(shot, 48, 16), kHotBorder);
  // The arrow at (48 + (12 - 5) div 2, 5 + (22 - 3) div 2 + 1) = (51, 15).
  for (auto [x, y] : {std::pair{51, 15}, {55, 15}, {52, 16}, {54, 16}, {53, 17}})
    EXPECT_EQ(Rig::At(shot, x, y), vcl::clBlack) << x << "," << y;
  EXPECT_NE(Rig::At(shot, 56, 15), vcl::clBlack);
  EXPECT_NE(Rig::At(shot, 52, 17), vcl::clBlack);
  // While its menu shows: a navy outline open at the bottom.
  auto* menu = new RecordingPopup(rig.form);
  b->SetDropDownMenu(menu);
  QImage during;
  menu->watch = b;
  auto* watcher = new RecordingPopup(rig.form);
  (void)watcher;
  // Grab from inside the pop-up call.
  struct GrabbingPopup : RecordingPopup {
    using RecordingPopup::RecordingPopup;
    Rig* rig = nullptr;
    QImage* out = nullptr;
    void Popup(vcl::Integer x, vcl::Integer y) override {
      RecordingPopup::Popup(x, y);
      rig->bar->Repaint();
      *out = rig->Grab(rig->bar);
    }
  };
  auto* grabbing = new GrabbingPopup(rig.form);
  grabbing->rig = &rig;
  grabbing->out = &during;
  b->SetDropDownMenu(grabbing);
  rig.Move(b, 35, 10);
  rig.Press(b, 35, 10);
  ASSERT_FALSE(during.isNull());
  during.save(TOLVANE_BUILD_DIR "/ribbon_button_dropped.png");
  EXPECT_EQ(Rig::At(during, 20, 10), TColor(0x800000));
  EXPECT_EQ(Rig::At(during, 40, 5), TColor(0x800000));
  EXPECT_EQ(Rig::At(during, 59, 10), TColor(0x800000));
  rig.Release(b, 35, 10);
}

TEST(RibbonButtonPaint, DisabledCaptionTwiceAndSeparatorLines) {
  Rig rig;
  auto* b = rig.Add(20, 5, 80, 22);
  b->SetCaption("Wide");
  b->SetShowCaption(true);
  b->SetEnabled(false);
  QImage shot = rig.Grab(rig.bar);
  shot.save(TOLVANE_BUILD_DIR "/ribbon_button_disabled.png");
  // Smoothed text: the highlight copy shows as pixels lighter than the
  // toolbar, the shadow copy as darker ones.
  int lights = 0, darks = 0;
  for (int y = 5; y < 27; ++y)
    for (int x = 20; x < 100; ++x) {
      const TColor p = Rig::At(shot, x, y);
      lights += vcl::GetBValue(p) > vcl::GetBValue(kToolBarColour) + 12;
      darks += vcl::GetRValue(p) < vcl::GetRValue(kToolBarColour) - 40;
    }
  EXPECT_GT(lights, 3);
  EXPECT_GT(darks, 10);
  EXPECT_EQ(b->State(), tbsDisabled);

  auto* s = new TRorIvezEviSeparator(rig.form);
  s->SetParent(rig.bar);
  s->SetAutoSize(false);
  s->SetBounds(150, 5, 10, 30);
  QImage sep = rig.Grab(rig.bar);
  const TColor line = vcl::ColorToRGB(vcl::clBtnShadow);
  // x = 150 + 5: from y = 5 + 3 to 5 + 30 - 3 (end left out), white one
  // pixel right and down.
  EXPECT_EQ(Rig::At(sep, 155, 8), line);
  EXPECT_EQ(Rig::At(sep, 155, 31), line);
  EXPECT_EQ(Rig::At(sep, 155, 32), kToolBarColour);
  EXPECT_EQ(Rig::At(sep, 155, 7), kToolBarColour);
  EXPECT_EQ(Rig::At(sep, 156, 9), vcl::clWhite);
  EXPECT_EQ(Rig::At(sep, 156, 32), vcl::clWhite);
  s->SetSeparatorStyle(ssBlank);
  EXPECT_EQ(Rig::At(rig.Grab(rig.bar), 155, 20), kToolBarColour);
  // Assign copies style and colour from a separator.
  auto* t = new TRorIvezEviSeparator(rig.form);
  t->SetLineColor(RGB(1, 2, 3));
  t->Assign(s);
  EXPECT_EQ(t->SeparatorStyle(), ssBlank);
  EXPECT_EQ(t->LineColor(), vcl::clBtnShadow);
}

std::unique_ptr<vcl::TImageList> SizeImages(vcl::TComponent* owner, int w, int h) {
  auto list = std::make_unique<vcl::TImageList>(owner);
  list->SetWidth(w);
  list->SetHeight(h);
  vcl::TBitmap picture(w, h);
  list->Add(&picture, nullptr);
  return list;
}

TEST(RibbonButtonPaint, AdjustSizeOnTheFakeMetricsCanvas) {
  Rig rig;
  // Ten pixels a character, 13 a line: "abc" is 30 wide.
  const vcl::TFakeMetrics metrics{10, 10, 3};
  auto images = SizeImages(rig.form, 16, 16);
  rig.bar->SetImages(images.get());
  rig.bar->SetBounds(10, 10, 400, 30);
  struct Case {
    const char* what;
    int imageIndex;
    const char* caption;
    TGlyphPosition position;
    bool dropDown, autoPosition;
    int width, height;
  } const cases[] = {
      {"16 x 16 image, margin 4", 0, "", gpLeft, false, true, 24, 26},
      {"image and a 30-pixel caption", 0, "abc", gpLeft, false, true, 58, 26},
      {"caption only", -1, "abc", gpLeft, false, true, 38, 26},
      {"empty", -1, "", gpLeft, false, true, 15, 26},
      {"empty with drop-down", -1, "", gpLeft, true, true, 27, 26},
      {"image on top of the caption", 0, "abc", gpTop, false, true, 38, 16 + 13 + 4 + 8},
      {"toolbar not positioning: height kept", 0, "", gpLeft, false, false, 24, 17},
  };
  for (const Case& c : cases) {
    rig.bar->SetAutoPositionControls(c.autoPosition);
    auto* b = new MeasuredButton(rig.form, metrics);
    b->SetBounds(0, 0, 23, 17);
    b->SetParent(rig.bar);
    b->SetImageIndex(c.imageIndex);
    b->SetCaption(c.caption);
    b->SetShowCaption(true);
    b->SetGlyphPosition(c.position);
    b->SetDropDownButton(c.dropDown);
    b->AdjustSize();
    EXPECT_EQ(b->Width(), c.width) << c.what;
    EXPECT_EQ(b->Height(), c.height) << c.what;
    b->SetVisible(false);
  }
  // A 16 x 16 glyph stands in for the list; vertical bars swap the axes.
  rig.bar->SetImages(nullptr);
  rig.bar->SetAutoPositionControls(true);
  auto* g = new MeasuredButton(rig.form, metrics);
  g->SetParent(rig.bar);
  vcl::TBitmap glyph(16, 12);
  g->SetGlyph(&glyph);
  EXPECT_EQ(g->Width(), 24);
  g->SetPosition(daLeft);
  EXPECT_EQ(g->Height(), 12 + 8);
  EXPECT_EQ(g->Width(), 400 - 4);
  // A separator in a vertical toolbar 40 pixels wide.
  rig.bar->SetOrientation(daLeft);
  rig.bar->SetBounds(10, 10, 40, 200);
  auto* s = new TRorIvezEviSeparator(rig.form);
  s->SetParent(rig.bar);
  EXPECT_EQ(s->Width(), 36);
  EXPECT_EQ(s->Height(), 10);
}

// A button on a left or right edge writes its caption turned a quarter
// clockwise: the ink runs down the button as far as it runs across a
// horizontal one, and the accelerator's mark is a line beside its letter,
// not under it.
TEST(RibbonButtonPaint, VerticalCaptionTurnedWithItsMark) {
  Rig rig;
  rig.bar->SetBounds(10, 10, 400, 140);
  struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  };
  const auto inkOf = [&rig](vcl::TControl* b, const char* caption, TDockAlign position, const char* png) {
    auto* button = static_cast<TLumCustomToolBarButton*>(b);
    button->SetCaption(caption);
    button->SetShowCaption(true);
    button->SetPosition(position);
    button->SetBounds(20, 4, position == daTop ? 120 : 26, position == daTop ? 26 : 120);
    QImage shot = rig.Grab(rig.bar);
    if (png) shot.save(png);
    Ink ink;
    for (int y = 4; y < 4 + button->Height(); ++y)
      for (int x = 20; x < 20 + button->Width(); ++x)
        if (vcl::GetRValue(Rig::At(shot, x, y)) < 120) {
          ink.left = std::min(ink.left, x);
          ink.right = std::max(ink.right, x);
          ink.top = std::min(ink.top, y);
          ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
  };
  auto* b = rig.Add(20, 4, 120, 26);
  const Ink across = inkOf(b, "Vertical", daTop, nullptr);
  const Ink down = inkOf(b, "Vertical", daLeft, TOLVANE_BUILD_DIR "/ribbon_button_vertical.png");
  ASSERT_GE(across.right, 0);
  ASSERT_GE(down.right, 0);
  // Same length, turned.
  EXPECT_NEAR(down.bottom - down.top, across.right - across.left, 2);
  EXPECT_NEAR(down.right - down.left, across.bottom - across.top, 2);
  EXPECT_GT(down.bottom - down.top, 2 * (down.right - down.left));
  // "&Vertical": the same letters plus one line left of the V, as long as
  // the V is wide, lying along the text.
  QImage plain = rig.Grab(rig.bar);
  inkOf(b, "&Vertical", daLeft, nullptr);
  QImage marked = rig.Grab(rig.bar);
  Ink mark;
  for (int y = 4; y < 4 + b->Height(); ++y)
    for (int x = 20; x < 20 + b->Width(); ++x)
      if (plain.pixel(x, y) != marked.pixel(x, y)) {
        mark.left = std::min(mark.left, x);
        mark.right = std::max(mark.right, x);
        mark.top = std::min(mark.top, y);
        mark.bottom = std::max(mark.bottom, y);
      }
  ASSERT_GE(mark.right, 0) << "no accelerator mark drawn";
  EXPECT_EQ(mark.left, mark.right);  // one pixel wide
  EXPECT_LT(mark.left, down.left + 1);  // on the far side of the letters' feet
  EXPECT_EQ(mark.top, down.top);  // from the V's start
  EXPECT_GE(mark.bottom - mark.top, 3);
  EXPECT_LT(mark.bottom - mark.top, (down.bottom - down.top) / 3);
}

}  // namespace
}  // namespace ribbontest
