// The theme service: classes and handles, every part and state drawn by the
// application's style inside its rectangle, the process switch with its
// WM_THEMECHANGED, the scheme name, the parent background, and a gallery
// of all parts for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QWidget>
#include <set>

#include "rtl/CodePages.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Pictures.h"
#include "vcl/QtHost.h"
#include "vcl/TestCanvases.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

using namespace vcl;

namespace {

constexpr TColor kMarker = 0x00FF00FF;  // magenta: no style draws it

struct PartCase {
  const char16_t* cls;
  Integer part;
  Integer states;
  TSize size;
};

const PartCase kParts[] = {
    {u"button", BP_PUSHBUTTON, 5, {75, 23}},  {u"button", BP_RADIOBUTTON, 8, {13, 13}},
    {u"button", BP_CHECKBOX, 12, {13, 13}},   {u"button", BP_GROUPBOX, 2, {60, 40}},
    {u"combobox", CP_DROPDOWNBUTTON, 4, {17, 21}}, {u"spin", SPNP_UP, 4, {16, 11}},
    {u"spin", SPNP_DOWN, 4, {16, 11}},        {u"spin", SPNP_UPHORZ, 4, {11, 16}},
    {u"spin", SPNP_DOWNHORZ, 4, {11, 16}},    {u"header", HP_HEADERITEM, 3, {80, 20}},
    {u"progress", PP_BAR, 1, {100, 18}},      {u"progress", PP_BARVERT, 1, {18, 60}},
    {u"progress", PP_CHUNK, 1, {40, 14}},     {u"progress", PP_CHUNKVERT, 1, {14, 30}},
    {u"status", SP_PANE, 1, {80, 20}},        {u"status", SP_GRIPPERPANE, 1, {80, 20}},
    {u"status", SP_GRIPPER, 1, {16, 16}},
};

// A bitmap filled with the marker and the part drawn at (margin, margin).
std::unique_ptr<TBitmap> DrawOne(HTHEME theme, const PartCase& c, Integer state, const TRect* clip = nullptr) {
  const Integer margin = 6;
  auto bmp = std::make_unique<TBitmap>(c.size.cx + 2 * margin, c.size.cy + 2 * margin);
  bmp->Canvas()->Brush()->SetColor(kMarker);
  bmp->Canvas()->FillRect(Rect(0, 0, bmp->Width(), bmp->Height()));
  TRect r = Bounds(margin, margin, c.size.cx, c.size.cy);
  EXPECT_EQ(DrawThemeBackground(theme, bmp->Canvas(), c.part, state, &r, clip), S_OK);
  return bmp;
}

QImage Pixels(TBitmap& b) { return b.Pixels().convertToFormat(QImage::Format_RGB32); }

// A control that counts the theme-changed messages it is sent.
class ThemeWatcher : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int themeChanges = 0;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_THEMECHANGED) ++themeChanges;
    TCustomControl::Dispatch(m);
  }
};

}  // namespace

TEST(ThemeService, OpenThemeDataKnowsItsClassesWithoutRegardToCase) {
  ASSERT_TRUE(IsThemeActive());
  for (const char16_t* list : {u"button", u"BUTTON", u"Combobox", u"spin", u"Header", u"PROGRESS", u"status",
                               u"TreeView;Button", u" foo ; Spin "}) {
    HTHEME t = OpenThemeData(0, list);
    EXPECT_NE(t, nullptr);
    EXPECT_EQ(CloseThemeData(t), S_OK);
  }
  EXPECT_EQ(OpenThemeData(0, u"treeview"), nullptr);
  EXPECT_EQ(OpenThemeData(0, u""), nullptr);
  EXPECT_EQ(OpenThemeData(0, nullptr), nullptr);
}

TEST(ThemeService, ClosedHandlesAndUnknownPartsAreRefused) {
  HTHEME t = OpenThemeData(0, u"button");
  TBitmap bmp(20, 20);
  TRect r = Rect(0, 0, 13, 13);
  EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas(), 9, 1, &r, nullptr), E_INVALIDARG);
  EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas(), BP_CHECKBOX, 13, &r, nullptr), E_INVALIDARG);
  EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas(), BP_CHECKBOX, 0, &r, nullptr), E_INVALIDARG);
  EXPECT_TRUE(IsThemePartDefined(t, BP_CHECKBOX, 12));
  EXPECT_FALSE(IsThemePartDefined(t, BP_CHECKBOX, 13));
  EXPECT_TRUE(IsThemePartDefined(t, BP_GROUPBOX, 0));
  EXPECT_TRUE(IsThemeBackgroundPartiallyTransparent(t, BP_CHECKBOX, 1));
  EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(t, BP_PUSHBUTTON, 1));
  EXPECT_EQ(CloseThemeData(t), S_OK);
  EXPECT_EQ(CloseThemeData(t), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(t, bmp.Canvas(), BP_CHECKBOX, 1, &r, nullptr), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(nullptr, bmp.Canvas(), BP_CHECKBOX, 1, &r, nullptr), E_HANDLE);
}

TEST(ThemeService, EveryPartAndStateDrawsInsideItsRectangleAndStatesDiffer) {
  for (const PartCase& c : kParts) {
    HTHEME theme = OpenThemeData(0, c.cls);
    ASSERT_NE(theme, nullptr);
    std::vector<QImage> images;
    for (Integer state = 1; state <= c.states; ++state) {
      auto bmp = DrawOne(theme, c, state);
      QImage img = Pixels(*bmp);
      QRect inside(6, 6, c.size.cx, c.size.cy);
      bool drawn = false;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
          bool marker = (img.pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
          if (!inside.contains(x, y))
            ASSERT_TRUE(marker) << rtl::ToAnsi(c.cls) << " part " << c.part << " state " << state << " at " << x
                                << "," << y;
          else if (!marker)
            drawn = true;
        }
      EXPECT_TRUE(drawn) << rtl::ToAnsi(c.cls) << " part " << c.part << " state " << state;
      images.push_back(img);
    }
    for (size_t a = 0; a < images.size(); ++a)
      for (size_t b = a + 1; b < images.size(); ++b)
        EXPECT_NE(images[a], images[b]) << rtl::ToAnsi(c.cls) << " part " << c.part << ": states " << a + 1
                                        << " and " << b + 1 << " look the same";
    CloseThemeData(theme);
  }
}

TEST(ThemeService, TheClipRectangleAndTheCanvasClippingHoldTheDrawing) {
  HTHEME theme = OpenThemeData(0, u"button");
  const PartCase& push = kParts[0];
  TRect clip = Rect(6, 6, 30, 12);
  auto bmp = DrawOne(theme, push, PBS_NORMAL, &clip);
  QImage img = Pixels(*bmp);
  int drawn = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      bool marker = (img.pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
      if (!QRect(6, 6, 24, 6).contains(x, y))
        ASSERT_TRUE(marker) << x << "," << y;
      else if (!marker)
        ++drawn;
    }
  EXPECT_GT(drawn, 0);

  TBitmap other(40, 40);
  other.Canvas()->Brush()->SetColor(kMarker);
  other.Canvas()->FillRect(Rect(0, 0, 40, 40));
  other.Canvas()->IntersectClipRect(Rect(0, 0, 20, 40));
  TRect r = Rect(0, 0, 40, 40);
  DrawThemeBackground(theme, other.Canvas(), BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr);
  QImage o = Pixels(other);
  for (int y = 0; y < 40; ++y)
    for (int x = 20; x < 40; ++x) ASSERT_EQ(o.pixel(x, y) & 0xFFFFFF, 0xFF00FFu) << x << "," << y;
  CloseThemeData(theme);
}

TEST(ThemeService, AStandInCanvasSeesThemedPartsAsCalls) {
  HTHEME theme = OpenThemeData(0, u"Spin");
  TRecordingCanvas rec;
  TRect r = Rect(1, 2, 17, 13);
  TRect clip = Rect(0, 0, 10, 10);
  DrawThemeBackground(theme, &rec, SPNP_DOWN, DNS_HOT, &r, nullptr);
  DrawThemeBackground(theme, &rec, SPNP_UP, UPS_PRESSED, &r, &clip);
  ASSERT_EQ(rec.Calls().size(), 2u);
  EXPECT_EQ(rec.Calls()[0], "DrawThemePart(2,2,1,2,17,13) 'spin'");
  EXPECT_EQ(rec.Calls()[1], "DrawThemePart(1,3,1,2,17,13,0,0,10,10) 'spin'");
  CloseThemeData(theme);
}

TEST(ThemeService, SwitchingThemingOffGivesNullHandlesAndTellsEveryWindow) {
  auto* form = new TForm(Application, 0);
  auto* a = new ThemeWatcher(form);
  a->SetParent(form);
  auto* b = new ThemeWatcher(form);
  b->SetParent(form);
  auto* inner = new ThemeWatcher(form);
  inner->SetParent(b);
  for (ThemeWatcher* w : {a, b, inner}) w->HandleNeeded();

  SetThemeActive(false);
  EXPECT_FALSE(IsThemeActive());
  EXPECT_FALSE(IsAppThemed());
  EXPECT_EQ(OpenThemeData(a->Handle(), u"button"), nullptr);
  EXPECT_EQ(GetCurrentThemeName(nullptr, 0, nullptr, 0, nullptr, 0), E_FAIL);
  for (ThemeWatcher* w : {a, b, inner}) EXPECT_EQ(w->themeChanges, 1);
  SetThemeActive(false);
  for (ThemeWatcher* w : {a, b, inner}) EXPECT_EQ(w->themeChanges, 1) << "no change, no message";
  EXPECT_EQ(EnableTheming(true), S_OK);
  EXPECT_TRUE(IsThemeActive());
  for (ThemeWatcher* w : {a, b, inner}) EXPECT_EQ(w->themeChanges, 2);
  HTHEME t = OpenThemeData(a->Handle(), u"button");
  EXPECT_NE(t, nullptr);
  EXPECT_EQ(GetWindowTheme(a->Handle()), t);
  EXPECT_EQ(GetWindowTheme(b->Handle()), nullptr);
  CloseThemeData(t);
  EXPECT_EQ(GetWindowTheme(a->Handle()), nullptr);
  Free(form);
}

TEST(ThemeService, TheCurrentThemeNameReportsTheSchemeAndRefusesSmallBuffers) {
  char16_t file[64], color[32], size[32];
  ASSERT_EQ(GetCurrentThemeName(file, 64, color, 32, size, 32), S_OK);
  EXPECT_EQ(std::u16string(color), u"NormalColor");
  EXPECT_EQ(std::u16string(size), u"NormalSize");
  EXPECT_EQ(rtl::ToAnsi(file), QApplication::style()->name().toStdString());
  SetThemeColorSchemeName(u"Metallic");
  ASSERT_EQ(GetCurrentThemeName(nullptr, 0, color, 32, nullptr, 0), S_OK);
  EXPECT_EQ(std::u16string(color), u"Metallic");
  EXPECT_EQ(GetCurrentThemeName(nullptr, 0, color, 8, nullptr, 0), E_INVALIDARG);
  SetThemeColorSchemeName(u"NormalColor");
}

TEST(ThemeService, TheLookIsFusionWithThePaletteOfTheSystemColours) {
  if (std::getenv("QT_STYLE_OVERRIDE")) GTEST_SKIP() << "a style was asked for";
  EXPECT_EQ(QApplication::style()->name().toLower(), "fusion");
  QPalette pal = QApplication::palette();
  EXPECT_EQ(pal.color(QPalette::Button).rgb() & 0xFFFFFF, 0xF0F0F0u);
  EXPECT_EQ(pal.color(QPalette::Highlight).rgb() & 0xFFFFFF, 0x3399FFu);
  EXPECT_EQ(pal.color(QPalette::Base).rgb() & 0xFFFFFF, 0xFFFFFFu);
}

TEST(ThemeService, TheSystemColoursAreTopByteIndexValues) {
  EXPECT_EQ(clWindow, 0xFF000005u);
  EXPECT_EQ(clBtnFace, 0xFF00000Fu);
  EXPECT_EQ(clInfoBk, 0xFF000018u);
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(15));
  EXPECT_EQ(ColorToRGB(0x80000005), GetSysColor(5)) << "a set top bit is read as a system colour";
  EXPECT_EQ(GetThemeSysColor(nullptr, 13), GetSysColor(13));
}

TEST(ThemeService, ParentBackgroundCopiesWhatTheParentShowsUnderTheChild) {
  auto* form = new TForm(Application, 0);
  form->SetClientWidth(200);
  form->SetClientHeight(120);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 200, 120);
  panel->SetColor(RGB(10, 120, 200));
  auto* child = new ThemeWatcher(form);
  child->SetParent(panel);
  child->SetBounds(30, 20, 50, 40);
  form->Show();
  panel->Repaint();
  // Something recognisable on the parent under the child.
  panel->HandleNeeded();
  TWinControlHost* host = panel->Host();
  ASSERT_TRUE(host->surface);
  host->PaintBuffer();
  QPoint at = child->Host()->widget->pos();
  host->buffer.setPixel(at + QPoint(5, 7), qRgb(1, 2, 3));

  TBitmap target(50, 40);
  ASSERT_EQ(DrawThemeParentBackground(child->Handle(), target.Canvas(), nullptr), S_OK);
  QImage img = Pixels(target);
  EXPECT_EQ(img.pixel(5, 7) & 0xFFFFFF, 0x010203u);
  EXPECT_EQ(img.pixel(20, 20) & 0xFFFFFF, host->buffer.pixel(at + QPoint(20, 20)) & 0xFFFFFF);

  TBitmap part(50, 40);
  part.Canvas()->Brush()->SetColor(kMarker);
  part.Canvas()->FillRect(Rect(0, 0, 50, 40));
  TRect only = Rect(0, 0, 10, 10);
  DrawThemeParentBackground(child->Handle(), part.Canvas(), &only);
  QImage p = Pixels(part);
  EXPECT_EQ(p.pixel(5, 7) & 0xFFFFFF, 0x010203u);
  EXPECT_EQ(p.pixel(20, 20) & 0xFFFFFF, 0xFF00FFu) << "outside the rectangle nothing is copied";
  EXPECT_EQ(DrawThemeParentBackground(0x7FFFFFF0, part.Canvas(), nullptr), E_HANDLE);
  Free(form);
}

TEST(ThemeService, LayeredWindowCallsSetOpacityShapeAndContents) {
  auto* form = new TForm(Application, 0);
  auto* w = new ThemeWatcher(form);
  w->SetParent(form);
  w->SetBounds(0, 0, 20, 10);
  form->Show();
  ASSERT_TRUE(SetLayeredWindowAttributes(form->Handle(), clNone, 128, LWA_ALPHA));
  EXPECT_NEAR(form->Widget()->window()->windowOpacity(), 128 / 255.0, 0.01);
  EXPECT_FALSE(SetLayeredWindowAttributes(0x7FFFFFF0, clNone, 255, LWA_ALPHA));

  TBitmap source(30, 30);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect(Rect(0, 0, 30, 30));
  source.Canvas()->Brush()->SetColor(clLime);
  source.Canvas()->FillRect(Rect(5, 5, 15, 15));
  TPoint to{3, 4};
  TSize size{10, 10};
  TPoint from{5, 5};
  BLENDFUNCTION blend;
  ASSERT_TRUE(UpdateLayeredWindow(w->Handle(), nullptr, &to, &size, source.Canvas(), &from, clNone, &blend, 0));
  EXPECT_EQ(w->BoundsRect(), Bounds(3, 4, 10, 10));
  EXPECT_EQ(w->Host()->buffer.pixel(4, 4) & 0xFFFFFF, 0x00FF00u);
  Free(form);
}

TEST(ThemeService, GalleryOfEveryPartAndState) {
  // theme_gallery.png in the build folder: one row per part, its states
  // left to right.
  const int cell = 112, rowHeight = 74;
  TBitmap sheet(cell * 12 + 8, rowHeight * static_cast<int>(std::size(kParts)) + 8);
  sheet.Canvas()->Brush()->SetColor(clBtnFace);
  sheet.Canvas()->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
  int y = 4;
  for (const PartCase& c : kParts) {
    HTHEME theme = OpenThemeData(0, c.cls);
    for (Integer state = 1; state <= c.states; ++state) {
      TRect r = Bounds(4 + (state - 1) * cell, y, c.size.cx, c.size.cy);
      DrawThemeBackground(theme, sheet.Canvas(), c.part, state, &r, nullptr);
    }
    CloseThemeData(theme);
    y += rowHeight;
  }
  AnsiString file = AnsiString(TOLVANE_BUILD_DIR) + "/theme_gallery.png";
  EXPECT_TRUE(sheet.Pixels().save(QString::fromStdString(file)));
}
