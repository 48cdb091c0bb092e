// The GDI+ fills, the glass caption text and the pictures drawn through
// GDI+, on real pixels.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/LumGDIP.h"
#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviDraw.h"
#include "rtl/Streams.h"
#include "vcl/Forms.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace {

using vcl::RGB;
using vcl::TColor;

std::unique_ptr<vcl::TBitmap> GlassRigBitmap(int w, int h, TColor fill = vcl::clWhite) {
  auto b = std::make_unique<vcl::TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(vcl::TRect{0, 0, w, h});
  return b;
}

int GlassRed(TColor c) { return vcl::GetRValue(c); }

TEST(RibbonGlass, GDIPlusFontNeedsAKnownFace) {
  EXPECT_FALSE(ribbon::IsGDIPlusFont(nullptr));
  auto b = GlassRigBitmap(4, 4);
  struct Case {
    const char* face;
    bool want;
  } const cases[] = {{"Tahoma", true}, {"Segoe UI", true}, {"No Such Face At All", false}};
  for (const Case& c : cases) {
    b->Canvas()->Font()->SetName(c.face);
    EXPECT_EQ(ribbon::IsGDIPlusFont(b->Canvas()), c.want) << c.face;
  }
}

// Black over white through an alpha ramp: the channel left is 255 less
// the alpha, near enough for the blend's rounding.
TEST(RibbonGlass, AlphaGradientsRampDownwards) {
  {
    auto b = GlassRigBitmap(20, 100);
    ribbon::FillAlphaGradient(b->Canvas(), vcl::TRect{0, 0, 20, 100}, vcl::clBlack);
    EXPECT_NEAR(GlassRed(b->Canvas()->Pixels(10, 0)), 250, 3);
    EXPECT_NEAR(GlassRed(b->Canvas()->Pixels(10, 99)), 125, 4);
    EXPECT_GT(GlassRed(b->Canvas()->Pixels(10, 30)), GlassRed(b->Canvas()->Pixels(10, 70)));
  }
  {
    // Alpha 150 to 200 over one pixel more, then an opaque frame that
    // starts a pixel above the top.
    auto b = GlassRigBitmap(40, 40);
    ribbon::FillAlphaGradientFrame(b->Canvas(), vcl::TRect{5, 10, 35, 30}, vcl::clBlack, RGB(0, 0, 200));
    EXPECT_EQ(b->Canvas()->Pixels(20, 9), RGB(0, 0, 200));
    EXPECT_EQ(b->Canvas()->Pixels(5, 20), RGB(0, 0, 200));
    EXPECT_EQ(b->Canvas()->Pixels(35, 20), RGB(0, 0, 200));
    EXPECT_NEAR(GlassRed(b->Canvas()->Pixels(20, 11)), 255 - 151, 4);
    EXPECT_NEAR(GlassRed(b->Canvas()->Pixels(20, 29)), 255 - 197, 4);
    EXPECT_EQ(b->Canvas()->Pixels(20, 5), vcl::clWhite);
  }
  {
    // The caption glow: pale yellow, faint at the top, half opaque below.
    auto b = GlassRigBitmap(20, 40, vcl::clBlack);
    ribbon::FillCaptionGlow(b->Canvas(), vcl::TRect{0, 0, 20, 40});
    const TColor top = b->Canvas()->Pixels(10, 0), bottom = b->Canvas()->Pixels(10, 39);
    EXPECT_NEAR(vcl::GetRValue(top), 8, 3);
    EXPECT_NEAR(vcl::GetRValue(bottom), 125, 4);
    EXPECT_NEAR(vcl::GetBValue(bottom), 48, 4);
    EXPECT_EQ(vcl::GetRValue(bottom), vcl::GetGValue(bottom));
  }
}

// Channels within a few steps of each other (smoothed fills blend their
// edge pixels, so the checks read pixels inside the filled area).
bool GlassNear(TColor got, TColor want, int tolerance = 6) {
  return std::abs(vcl::GetRValue(got) - vcl::GetRValue(want)) <= tolerance &&
         std::abs(vcl::GetGValue(got) - vcl::GetGValue(want)) <= tolerance &&
         std::abs(vcl::GetBValue(got) - vcl::GetBValue(want)) <= tolerance;
}

TEST(RibbonGlass, GlowHalvesByGradientType) {
  const TColor a = RGB(200, 0, 0), bColor = RGB(0, 0, 200);
  struct Case {
    const char* what;
    int type;
    bool upper;
    TColor top, bottom;  // near the top and bottom rows
  } const cases[] = {
      {"vertical upper: A to B", 1, true, a, bColor},
      {"vertical lower: also A to B", 1, false, a, bColor},
      {"unknown type upper: solid A", 7, true, a, a},
      {"unknown type lower: solid B", 7, false, bColor, bColor},
  };
  for (const Case& c : cases) {
    auto b = GlassRigBitmap(30, 30);
    ribbon::FillGlowHalf(b->Canvas(), nullptr, vcl::TRect{0, 0, 30, 30}, a, bColor, c.type, c.upper);
    EXPECT_TRUE(GlassNear(b->Canvas()->Pixels(15, 1), c.top, 10)) << c.what << " " << b->Canvas()->Pixels(15, 1);
    EXPECT_TRUE(GlassNear(b->Canvas()->Pixels(15, 28), c.bottom, 16))
        << c.what << " " << b->Canvas()->Pixels(15, 28);
  }
  {
    // Diagonal modes run corner to corner: the top-left and bottom-right
    // differ, and a row is not one colour.
    auto b = GlassRigBitmap(30, 30);
    ribbon::FillGlowHalf(b->Canvas(), nullptr, vcl::TRect{0, 0, 30, 30}, a, bColor, 2, true);
    EXPECT_GT(vcl::GetRValue(b->Canvas()->Pixels(2, 2)), 150);
    EXPECT_GT(vcl::GetBValue(b->Canvas()->Pixels(27, 27)), 150);
    EXPECT_NE(b->Canvas()->Pixels(3, 15), b->Canvas()->Pixels(26, 15));
  }
  {
    // Radial upper half: the centre colour B at the top middle; outside
    // the ellipse the solid A stays.
    auto b = GlassRigBitmap(40, 40);
    ribbon::FillGlowHalf(b->Canvas(), nullptr, vcl::TRect{0, 0, 40, 40}, a, bColor, 0, true);
    EXPECT_GT(vcl::GetBValue(b->Canvas()->Pixels(20, 1)), 150);
    EXPECT_TRUE(GlassNear(b->Canvas()->Pixels(1, 38), a));
  }
  {
    // Without a graphics object and a canvas nothing is drawn; the fill
    // rectangle takes Right and Bottom as sizes.
    ribbon::FillGlowHalf(nullptr, nullptr, vcl::TRect{0, 0, 10, 10}, a, bColor, 1, true);
    auto b = GlassRigBitmap(40, 40);
    ribbon::FillGlowHalf(b->Canvas(), nullptr, vcl::TRect{10, 10, 20, 20}, a, bColor, 7, true);
    EXPECT_EQ(b->Canvas()->Pixels(11, 11), a);
    EXPECT_EQ(b->Canvas()->Pixels(28, 28), a);
    EXPECT_EQ(b->Canvas()->Pixels(31, 31), vcl::clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(8, 8), vcl::clWhite);
  }
  {
    // FillGlowRect is the vertical upper half whatever the direction.
    auto b1 = GlassRigBitmap(20, 20), b2 = GlassRigBitmap(20, 20);
    ribbon::FillGlowRect(nullptr, b1->Canvas(), a, bColor, vcl::TRect{0, 0, 20, 20}, 0);
    ribbon::FillGlowRect(nullptr, b2->Canvas(), a, bColor, vcl::TRect{0, 0, 20, 20}, 1);
    for (int y : {0, 7, 19}) EXPECT_EQ(b1->Canvas()->Pixels(10, y), b2->Canvas()->Pixels(10, y)) << y;
    EXPECT_TRUE(GlassNear(b1->Canvas()->Pixels(10, 1), a, 24));
    EXPECT_TRUE(GlassNear(b1->Canvas()->Pixels(10, 18), bColor, 24));
  }
}

TEST(RibbonGlass, QuickAccessFrameBothLooks) {
  {
    auto b = GlassRigBitmap(120, 40);
    ribbon::DrawQATFrame(b->Canvas(), vcl::TRect{10, 10, 100, 30});
    // The smoothed grey outline along the top edge; nothing in the middle.
    const TColor top = b->Canvas()->Pixels(50, 10);
    EXPECT_LT(GlassRed(top), 230);
    EXPECT_EQ(GlassRed(top), vcl::GetBValue(top));
    EXPECT_EQ(b->Canvas()->Pixels(50, 20), vcl::clWhite);
  }
  {
    controls::SetGlobalWin7ScenicRibbon(true);
    auto b = GlassRigBitmap(120, 40, vcl::clBlack);
    ribbon::DrawQATFrame(b->Canvas(), vcl::TRect{10, 0, 100, 30});
    controls::SetGlobalWin7ScenicRibbon(false);
    // Two upright strokes at Left + 22 and Right - 3 from y 7, nothing
    // between them.
    EXPECT_NE(b->Canvas()->Pixels(32, 12), vcl::clBlack);
    EXPECT_NE(b->Canvas()->Pixels(97, 12), vcl::clBlack);
    EXPECT_EQ(b->Canvas()->Pixels(60, 12), vcl::clBlack);
    EXPECT_EQ(b->Canvas()->Pixels(32, 3), vcl::clBlack);
  }
}

// The desktop here has neither DrawThemeTextEx nor the composited window
// class, so glass text and the composited caption leave every pixel.
TEST(RibbonGlass, GlassTextDrawsNothingWithoutTheLibrarysCall) {
  auto b = GlassRigBitmap(60, 20);
  ribbon::DrawGlowText(b->Canvas(), u"Caption", 7, vcl::TRect{0, 0, 60, 20}, 0, 0x8044);
  for (int x = 0; x < 60; x += 3)
    for (int y = 0; y < 20; y += 3) ASSERT_EQ(b->Canvas()->Pixels(x, y), vcl::clWhite) << x << "," << y;

  auto form = std::make_unique<vcl::TForm>(nullptr);
  form->SetBounds(0, 0, 200, 80);
  form->Show();
  vcl::Application->ProcessMessages();
  std::unique_ptr<vcl::TCanvas> before = vcl::GetDC(form->Handle());
  const TColor was = before ? before->Pixels(30, 10) : vcl::clNone;
  before.reset();
  ribbon::DrawCompositedCaption(form.get(), nullptr, "Tolvane", vcl::TRect{0, 0, 200, 30}, vcl::TRect{}, 0, true,
                                vcl::TRect{10, 2, 80, 26}, RGB(255, 255, 0));
  std::unique_ptr<vcl::TCanvas> after = vcl::GetDC(form->Handle());
  if (after) {
    EXPECT_EQ(after->Pixels(30, 10), was);
  }
}

// A 16 x 16 picture: a red square on a lime ground, so the bottom-left
// pixel keys the ground out.
std::unique_ptr<vcl::TBitmap> GlassPicture() {
  auto p = GlassRigBitmap(16, 16, RGB(0, 255, 0));
  p->Canvas()->Brush()->SetColor(RGB(255, 0, 0));
  p->Canvas()->FillRect(vcl::TRect{4, 4, 12, 12});
  return p;
}

TEST(RibbonGlass, ImageListImageKeyedOnItsBottomLeftPixel) {
  vcl::TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  auto picture = GlassPicture();
  images.Add(picture.get(), nullptr);
  auto b = GlassRigBitmap(40, 40);
  ribbon::DrawImageListImage(nullptr, b->Canvas(), vcl::TPoint{10, 5}, &images, 0, true);
  EXPECT_EQ(b->Canvas()->Pixels(18, 13), RGB(255, 0, 0));
  EXPECT_EQ(b->Canvas()->Pixels(14, 9), RGB(255, 0, 0));
  EXPECT_EQ(b->Canvas()->Pixels(11, 6), vcl::clWhite);   // the keyed ground
  EXPECT_EQ(b->Canvas()->Pixels(25, 20), vcl::clWhite);
  // No list, a negative index, or neither surface: nothing.
  auto c = GlassRigBitmap(40, 40);
  ribbon::DrawImageListImage(nullptr, c->Canvas(), vcl::TPoint{10, 5}, nullptr, 0, true);
  ribbon::DrawImageListImage(nullptr, c->Canvas(), vcl::TPoint{10, 5}, &images, -1, true);
  ribbon::DrawImageListImage(nullptr, nullptr, vcl::TPoint{10, 5}, &images, 0, true);
  EXPECT_EQ(c->Canvas()->Pixels(18, 13), vcl::clWhite);
}

TEST(RibbonGlass, GraphicImageKeyedOrAtItsOwnSize) {
  auto picture = GlassPicture();
  picture->Canvas()->SetPixels(0, 0, RGB(0, 0, 255));  // the top-left key
  {
    auto b = GlassRigBitmap(40, 40);
    ribbon::DrawGraphicImage(nullptr, b->Canvas(), vcl::TPoint{0, 0}, picture.get(), true);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), vcl::clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(b->Canvas()->Pixels(8, 8), RGB(255, 0, 0));
  }
  {
    auto b = GlassRigBitmap(40, 40);
    ribbon::DrawGraphicImage(nullptr, b->Canvas(), vcl::TPoint{2, 2}, picture.get(), false);
    EXPECT_EQ(b->Canvas()->Pixels(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(b->Canvas()->Pixels(17, 17), RGB(0, 255, 0));
    EXPECT_EQ(b->Canvas()->Pixels(18, 18), vcl::clWhite);
  }
  {
    // A PNG keeps its own alpha and ignores Transparent: its opaque blue
    // top-left pixel stays, its clear pixels leave the ground.
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, 0xFF0000FF);
    image.setPixel(3, 3, 0xFFFF0000);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    rtl::TMemoryStream stream;
    stream.Write(bytes.constData(), static_cast<int>(bytes.size()));
    stream.SetPosition(0);
    vcl::TPngImage png;
    png.LoadFromStream(stream);
    auto b = GlassRigBitmap(20, 20);
    ribbon::DrawGraphicImage(nullptr, b->Canvas(), vcl::TPoint{1, 1}, &png, true);
    EXPECT_EQ(b->Canvas()->Pixels(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(b->Canvas()->Pixels(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(b->Canvas()->Pixels(6, 6), vcl::clWhite);
  }
}

}  // namespace

namespace {

TEST(RibbonGlass, PagerContainsFocusComparesOnlyAncestors) {
  auto form = std::make_unique<vcl::TForm>(nullptr);
  form->SetBounds(0, 0, 300, 200);
  auto* pager = new vcl::TPanel(form.get());
  pager->SetParent(form.get());
  pager->SetBounds(0, 0, 300, 100);
  auto* inner = new vcl::TPanel(form.get());
  inner->SetParent(pager);
  inner->SetBounds(0, 0, 200, 80);
  auto* inside = new vcl::TEdit(form.get());
  inside->SetParent(inner);
  auto* outside = new vcl::TEdit(form.get());
  outside->SetParent(form.get());
  outside->SetTop(120);
  form->Show();
  vcl::Application->ProcessMessages();

  EXPECT_FALSE(ribbon::PagerContainsFocus(nullptr));
  inside->SetFocus();
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(ribbon::PagerContainsFocus(pager));
  EXPECT_TRUE(ribbon::PagerContainsFocus(inner));
  // The focused window itself is not compared.
  EXPECT_FALSE(ribbon::PagerContainsFocus(inside));
  pager->SetEnabled(false);
  EXPECT_FALSE(ribbon::PagerContainsFocus(pager));
  pager->SetEnabled(true);
  outside->SetFocus();
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(ribbon::PagerContainsFocus(pager));
}

// What a key can move the focus to: hint windows, containers and windowed
// controls that cannot take the focus now go; runs of them next to each
// other go too (the same index is looked at again after a removal).
TEST(RibbonGlass, PruneFocusListKeepsOnlyFocusStops) {
  auto form = std::make_unique<vcl::TForm>(nullptr);
  form->SetBounds(0, 0, 300, 200);
  auto* hint = new vcl::THintWindow(form.get());
  hint->SetParent(form.get());
  auto* box = new ribbon::TRorIvezEviContainer(form.get());
  box->SetParent(form.get());
  auto* inBox = new vcl::TEdit(form.get());
  inBox->SetParent(box);
  auto* plain = new vcl::TEdit(form.get());
  plain->SetParent(form.get());
  auto* disabled = new vcl::TEdit(form.get());
  disabled->SetParent(form.get());
  disabled->SetEnabled(false);
  auto* hidden = new vcl::TEdit(form.get());
  hidden->SetParent(form.get());
  hidden->SetVisible(false);
  auto* underDisabled = new vcl::TPanel(form.get());
  underDisabled->SetParent(form.get());
  auto* blocked = new vcl::TEdit(form.get());
  blocked->SetParent(underDisabled);
  underDisabled->SetEnabled(false);
  auto* orphan = new vcl::TEdit(form.get());  // on no form: nothing to focus it in
  form->Show();
  vcl::Application->ProcessMessages();
  ASSERT_TRUE(box->CanFocus());  // a container could take it; it is dropped for what it is

  using List = std::vector<vcl::TWinControl*>;
  const struct {
    const char* name;
    List in, out;
  } cases[] = {
      {"empty", {}, {}},
      {"only stops", {plain, inBox}, {plain, inBox}},
      {"hint and container before a stop", {hint, box, inBox}, {inBox}},
      {"run of drops between stops", {plain, disabled, hidden, blocked, orphan, inBox}, {plain, inBox}},
      {"drops at the end", {plain, hint, disabled}, {plain}},
      {"nothing left", {box, hint, hidden}, {}},
  };
  for (const auto& c : cases) {
    List list = c.in;
    ribbon::PruneFocusList(&list);
    EXPECT_EQ(list, c.out) << c.name;
  }
  ribbon::PruneFocusList(nullptr);  // no list: nothing to do
}

}  // namespace
