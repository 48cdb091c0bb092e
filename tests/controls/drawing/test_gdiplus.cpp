// The GDI+ wrappers over the layer's flat interface: pixels of lines,
// shapes, gradients, arcs and dashes; the wrappers' statuses; text layout
// measured exactly on the fake-metrics canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "controls/ControlsLibrary.h"
#include "controls/LumGDIP.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

using namespace controls;
using vcl::TBitmap;
using vcl::TColor;

namespace {

std::unique_ptr<TBitmap> White(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Brush()->SetColor(vcl::clWhite);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

TColor At(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

int Channel(TColor c, int i) { return (c >> (8 * i)) & 0xFF; }

int Distance(TColor a, TColor b) {
  int d = 0;
  for (int i = 0; i < 3; ++i) d = std::max(d, std::abs(Channel(a, i) - Channel(b, i)));
  return d;
}

}  // namespace

TEST(GdiplusPixels, AOnePixelLineAtAnIntegerRowCoversThatRowOnly) {
  auto b = White(20, 10);
  TGPGraphics g(b->Canvas());
  g.SetSmoothingMode(vcl::SmoothingModeAntiAlias);
  TGPPen pen(MakeOpaqueARGB(0, 0, 0));
  ASSERT_EQ(g.DrawLine(&pen, 2, 5, 17, 5), vcl::Ok);
  for (int x = 3; x <= 16; ++x) {
    EXPECT_EQ(At(*b, x, 5), vcl::clBlack) << x;
    EXPECT_EQ(At(*b, x, 4), vcl::clWhite) << x;
    EXPECT_EQ(At(*b, x, 6), vcl::clWhite) << x;
  }
  // The ends stop at 2 and 17: half of those pixels.
  EXPECT_NE(At(*b, 2, 5), vcl::clBlack);
  EXPECT_NE(At(*b, 2, 5), vcl::clWhite);
  EXPECT_EQ(At(*b, 0, 5), vcl::clWhite);
}

TEST(GdiplusPixels, AnAntiAliasedEllipseBlendsOnlyItsEdge) {
  for (bool smooth : {true, false}) {
    auto b = White(60, 50);
    TGPGraphics g(b->Canvas());
    g.SetSmoothingMode(smooth ? vcl::SmoothingModeAntiAlias : vcl::SmoothingModeNone);
    TGPSolidBrush red(MakeOpaqueARGB(255, 0, 0));
    ASSERT_EQ(g.FillEllipse(&red, 10, 10, 40, 30), vcl::Ok);
    int blended = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 60; ++x) {
        TColor c = At(*b, x, y);
        bool outsideBox = x < 9 || x > 51 || y < 9 || y > 41;
        if (outsideBox) {
          ASSERT_EQ(c, vcl::clWhite) << x << "," << y;
        }
        if (c != vcl::clWhite && c != vcl::clRed) ++blended;
      }
    EXPECT_EQ(At(*b, 30, 25), vcl::clRed);
    EXPECT_EQ(At(*b, 12, 25), vcl::clRed);
    if (smooth)
      EXPECT_GT(blended, 20) << "the edge is blended";
    else
      EXPECT_EQ(blended, 0) << "without smoothing only the two colours";
  }
}

TEST(GdiplusPixels, ALinearGradientRunsCornerToCornerOfItsRectangle) {
  auto b = White(100, 20);
  TGPGraphics g(b->Canvas());
  TGPLinearGradientBrush diag(MakeGPRectF(0, 0, 100, 20), MakeOpaqueARGB(255, 0, 0), MakeOpaqueARGB(0, 0, 255),
                              vcl::LinearGradientModeForwardDiagonal);
  g.FillRectangle(&diag, 0, 0, 100, 20);
  EXPECT_LE(Distance(At(*b, 0, 0), vcl::clRed), 2);
  EXPECT_LE(Distance(At(*b, 99, 19), vcl::clBlue), 10);
  TColor topRight = At(*b, 99, 0), bottomLeft = At(*b, 0, 19);
  EXPECT_LE(Distance(topRight, bottomLeft), 8) << "both off-diagonal corners get the middle colour";
  EXPECT_LE(Distance(topRight, vcl::RGB(128, 0, 128)), 8);

  // Horizontal, and tiled beyond the rectangle.
  auto h = White(250, 4);
  TGPGraphics gh(h->Canvas());
  TGPLinearGradientBrush across(MakeGPRectF(0, 0, 100, 4), MakeOpaqueARGB(0, 0, 0), MakeOpaqueARGB(255, 255, 255),
                                vcl::LinearGradientModeHorizontal);
  gh.FillRectangle(&across, 0, 0, 250, 4);
  EXPECT_LE(Distance(At(*h, 0, 2), vcl::clBlack), 2);
  EXPECT_LE(Distance(At(*h, 50, 2), vcl::RGB(128, 128, 128)), 3);
  EXPECT_LE(Distance(At(*h, 99, 2), vcl::clWhite), 5);
  EXPECT_LE(Distance(At(*h, 101, 2), At(*h, 1, 2)), 2) << "the tile starts again";
  EXPECT_LE(Distance(At(*h, 150, 2), At(*h, 50, 2)), 2);
}

TEST(GdiplusPixels, APathGradientRunsFromItsCentreToItsBoundary) {
  auto b = White(80, 60);
  TGPGraphics g(b->Canvas());
  TGPGraphicsPath path;
  path.AddEllipse(10, 10, 60, 40);
  TGPPathGradientBrush brush(&path);
  EXPECT_EQ(brush.GetPointCount(), 13) << "an ellipse is four Bezier quarters";
  brush.SetCenterColor(MakeOpaqueARGB(255, 255, 0));
  ARGB surround[] = {MakeOpaqueARGB(0, 0, 255)};
  int32_t count = 1;
  ASSERT_EQ(brush.SetSurroundColors(surround, count), vcl::Ok);
  EXPECT_EQ(count, 1);
  brush.SetCenterPointI(MakeGPPoint(40, 30));
  g.FillPath(&brush, &path);
  EXPECT_LE(Distance(At(*b, 40, 30), vcl::clYellow), 4) << "centre colour at the centre";
  TColor nearEdge = At(*b, 12, 30);
  EXPECT_LE(Distance(nearEdge, vcl::clBlue), 30) << "surround colour at the boundary";
  TColor halfway = At(*b, 25, 30);
  EXPECT_LE(Distance(halfway, vcl::RGB(128, 128, 128)), 16) << "half way along the ray";
  EXPECT_EQ(At(*b, 5, 30), vcl::clWhite) << "outside the boundary nothing is painted";
  EXPECT_EQ(At(*b, 12, 12), vcl::clWhite);
}

TEST(GdiplusPixels, AnArcTurnsClockwiseFromTheXAxis) {
  auto b = White(60, 60);
  TGPGraphics g(b->Canvas());
  TGPGraphicsPath pie;
  pie.AddLine(30, 30, 50, 30);
  ASSERT_EQ(pie.AddArc(10, 10, 40, 40, 0, 90), vcl::Ok);
  pie.CloseFigure();
  TGPSolidBrush black(MakeOpaqueARGB(0, 0, 0));
  g.FillPath(&black, &pie);
  EXPECT_EQ(At(*b, 40, 40), vcl::clBlack) << "lower right";
  EXPECT_EQ(At(*b, 20, 20), vcl::clWhite) << "upper left";
  EXPECT_EQ(At(*b, 40, 20), vcl::clWhite) << "upper right";
  EXPECT_EQ(At(*b, 20, 40), vcl::clWhite) << "lower left";
  EXPECT_EQ(At(*b, 46, 46), vcl::clWhite) << "outside the circle";
  EXPECT_EQ(pie.AddArc(10, 10, 0, 40, 0, 90), vcl::InvalidParameter) << "a zero-size arc is refused";
  EXPECT_EQ(pie.AddArc(10, 10, 40, 0, 0, 90), vcl::InvalidParameter);
  EXPECT_EQ(pie.GetLastStatus(), vcl::InvalidParameter);
}

TEST(GdiplusPixels, ADottedPenAlternatesPixels) {
  auto b = White(24, 8);
  TGPGraphics g(b->Canvas());
  g.SetSmoothingMode(vcl::SmoothingModeNone);
  TGPPen pen(MakeOpaqueARGB(0, 0, 0));
  ASSERT_EQ(pen.SetDashStyle(vcl::DashStyleDot), vcl::Ok);
  g.DrawLine(&pen, 0, 4, 20, 4);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(At(*b, x, 4), x % 2 == 0 ? vcl::clBlack : vcl::clWhite) << x;
  EXPECT_EQ(At(*b, 1, 3), vcl::clWhite);
}

TEST(GdiplusPixels, AClipRegionHoldsTheDrawing) {
  auto b = White(40, 40);
  TGPGraphics g(b->Canvas());
  TGPRegion region(MakeGPRectF(0, 0, 20, 40));
  TGPGraphicsPath hole;
  hole.AddEllipse(5, 5, 10, 10);
  region.ExcludePath(&hole);
  TGPRegion more(MakeGPRectF(30, 30, 10, 10));
  region.UnionRegion(&more);
  ASSERT_EQ(g.SetClip(&region, vcl::CombineModeReplace), vcl::Ok);
  TGPSolidBrush black(MakeOpaqueARGB(0, 0, 0));
  g.FillRectangle(&black, 0, 0, 40, 40);
  EXPECT_EQ(At(*b, 2, 30), vcl::clBlack);
  EXPECT_EQ(At(*b, 10, 10), vcl::clWhite) << "the excluded hole";
  EXPECT_EQ(At(*b, 25, 10), vcl::clWhite) << "outside the region";
  EXPECT_EQ(At(*b, 35, 35), vcl::clBlack) << "the united part";
}

TEST(GdiplusWrappers, StatusesAsTheWrapperRuleKeepsThem) {
  auto b = White(10, 10);
  TGPGraphics g(b->Canvas());
  EXPECT_EQ(g.GetLastStatus(), vcl::Ok);
  TGPGraphicsPath path;
  path.AddLine(0, 0, 5, 5);
  TGPPen pen(MakeOpaqueARGB(1, 2, 3), 2);
  struct Case {
    const char* what;
    GpStatus status;
    GpStatus expected;
  } cases[] = {
      {"nil pen passes null", g.DrawPath(nullptr, &path), vcl::InvalidParameter},
      {"nil path passes null", g.DrawPath(&pen, nullptr), vcl::InvalidParameter},
      {"a good call", g.DrawPath(&pen, &path), vcl::Ok},
      {"nil brush", g.FillRectangle(nullptr, 0, 0, 1, 1), vcl::InvalidParameter},
      {"nil image", g.DrawImage(nullptr, 0, 0), vcl::InvalidParameter},
      {"nil region", g.SetClip(nullptr, vcl::CombineModeReplace), vcl::InvalidParameter},
      {"bad smoothing", g.SetSmoothingMode(static_cast<vcl::SmoothingMode>(9)), vcl::InvalidParameter},
  };
  for (const Case& c : cases) EXPECT_EQ(c.status, c.expected) << c.what;
  EXPECT_EQ(g.GetLastStatus(), vcl::InvalidParameter) << "an Ok call leaves the last failure";

  TGPGraphics none(nullptr);
  EXPECT_NE(none.GetLastStatus(), vcl::Ok) << "no device context, no surface";
  EXPECT_EQ(none.DrawPath(&pen, &path), vcl::InvalidParameter);

  TGPFontFamily missing(u"No Such Family At All");
  EXPECT_EQ(missing.GetLastStatus(), vcl::FontFamilyNotFound);
  TGPFontFamily tahoma(u"Tahoma");
  EXPECT_EQ(tahoma.GetLastStatus(), vcl::Ok) << "the substitution table knows it";
  TGPFont font(&tahoma, 8, vcl::FontStyleBold, vcl::UnitPoint);
  EXPECT_EQ(font.GetLastStatus(), vcl::Ok);
  TGPFont noFamily(nullptr, 8, 0, vcl::UnitPoint);
  EXPECT_EQ(noFamily.GetLastStatus(), vcl::InvalidParameter) << "nil family passes null";
}

TEST(GdiplusWrappers, SurroundColoursAreCheckedBeforeAnyCall) {
  TGPGraphicsPath path;
  path.AddEllipse(0, 0, 10, 10);
  TGPPathGradientBrush brush(&path);
  ARGB colors[20] = {};
  struct Case {
    const char* what;
    const ARGB* colors;
    int32_t count;
  } refused[] = {{"more colours than points", colors, 14}, {"no colours", nullptr, 1}, {"none counted", colors, 0}};
  for (const Case& c : refused) {
    int32_t count = c.count;
    EXPECT_EQ(brush.SetSurroundColors(c.colors, count), vcl::InvalidParameter) << c.what;
    EXPECT_EQ(count, c.count) << c.what;
    EXPECT_EQ(brush.GetLastStatus(), vcl::InvalidParameter);
  }
  // SetCenterColor answers the last status, not its own call's.
  EXPECT_EQ(brush.SetCenterColor(MakeOpaqueARGB(1, 1, 1)), vcl::InvalidParameter);
  int32_t count = 13;
  EXPECT_EQ(brush.SetSurroundColors(colors, count), vcl::Ok) << "the call's own status";
  EXPECT_EQ(brush.GetLastStatus(), vcl::InvalidParameter) << "the last failure is still kept";

  TGPGraphicsPath empty;
  TGPPathGradientBrush pointless(&empty);
  EXPECT_NE(pointless.GetLastStatus(), vcl::Ok);
  EXPECT_EQ(pointless.GetPointCount(), 0);
  int32_t one = 1;
  EXPECT_EQ(pointless.SetSurroundColors(colors, one), vcl::InvalidParameter);
  EXPECT_EQ(one, 1);
}

TEST(GdiplusWrappers, PathsHoldTheDesktopsPoints) {
  TGPGraphicsPath p;
  p.AddLine(0, 0, 10, 0);
  p.AddLine(10, 0, 10, 10);  // continues from where the last ended: no new point
  p.AddArc(0, 0, 20, 20, 270, 90);  // runs on with a line, then one Bezier quarter
  int32_t n = 0;
  vcl::GdipGetPointCount(p.Native(), &n);
  ASSERT_EQ(n, 7);
  std::vector<vcl::Byte> types(7);
  vcl::GdipGetPathTypes(p.Native(), types.data(), 7);
  EXPECT_EQ(types, (std::vector<vcl::Byte>{0, 1, 1, 1, 3, 3, 3}));
  std::vector<vcl::GpPointF> pts(7);
  vcl::GdipGetPathPoints(p.Native(), pts.data(), 7);
  EXPECT_NEAR(pts[3].X, 10, 1e-4) << "the arc starts at the top of its circle";
  EXPECT_NEAR(pts[3].Y, 0, 1e-4);
  EXPECT_NEAR(pts[6].X, 20, 1e-4) << "and turns clockwise to its right";
  EXPECT_NEAR(pts[6].Y, 10, 1e-4);
  p.CloseFigure();
  p.AddEllipse(0, 0, 4, 4);
  vcl::GdipGetPointCount(p.Native(), &n);
  EXPECT_EQ(n, 20);
  TGPIntPoint tri[] = {{0, 0}, {5, 0}, {0, 5}};
  EXPECT_EQ(p.AddPolygonI(tri, 3), vcl::Ok);
  EXPECT_EQ(p.AddPolygonI(tri, 2), vcl::InvalidParameter);
  EXPECT_EQ(p.AddCurve(tri, 3, 0.5f), vcl::Ok);
  EXPECT_EQ(p.AddCurve(tri, 1, 0.5f), vcl::InvalidParameter);
}

TEST(GdiplusWrappers, NothingIsMadeWhileGdiplusIsStopped) {
  ShutDownGdiplus();
  EXPECT_FALSE(vcl::GdiplusRunning());
  {
    TGPPen pen(MakeOpaqueARGB(0, 0, 0));
    EXPECT_EQ(pen.GetLastStatus(), vcl::GdiplusNotInitialized);
    TGPSolidBrush brush(0);
    EXPECT_EQ(brush.GetLastStatus(), vcl::GdiplusNotInitialized);
  }
  StartUpGdiplus();
  EXPECT_TRUE(vcl::GdiplusRunning());
  TGPPen pen(MakeOpaqueARGB(0, 0, 0));
  EXPECT_EQ(pen.GetLastStatus(), vcl::Ok);
}

TEST(GdiplusColours, ClassLibraryColoursBecomeArgb) {
  EXPECT_EQ(ColorToOpaqueARGB(0x0000FF), 0xFFFF0000u) << "pure red";
  EXPECT_EQ(ColorToOpaqueARGB(vcl::clBtnFace), 0xFF000000u | 0xF0F0F0u);
  EXPECT_EQ(ColorToOpaqueARGB(vcl::clHighlight), 0xFF3399FFu) << "the system colour's RGB";
  EXPECT_EQ(AlphaColorToARGB(0x80, vcl::RGB(1, 2, 3)), 0x80010203u);
  EXPECT_EQ(MakeARGB(1, 2, 3, 4), 0x01020304u);
  EXPECT_EQ(MakeOpaqueARGB(0x10, 0x20, 0x30), 0xFF102030u);
  EXPECT_EQ(ARGBRed(0x80102030) & 0xFF, 0x10u);
  EXPECT_EQ(ARGBGreen(0x80102030) & 0xFF, 0x20u);
  EXPECT_EQ(ARGBBlue(0x80102030) & 0xFF, 0x30u);
  TGPIntPoint p = MakeGPPoint(3, -4);
  EXPECT_EQ(p.X, 3);
  EXPECT_EQ(p.Y, -4);
  TGPFloatRect r = MakeGPRectF(1.5f, 2, 3, 4);
  EXPECT_EQ(r.X, 1.5f);
  EXPECT_EQ(r.Height, 4);
  EXPECT_FALSE(GetGlobalWin7ScenicRibbon());
  SetGlobalWin7ScenicRibbon(true);
  EXPECT_TRUE(GetGlobalWin7ScenicRibbon());
  SetGlobalWin7ScenicRibbon(false);
}

// --- Text, measured with the fake metrics: every character 8 wide, lines
// 13 high (ascent 10, descent 3); a 9-point font is 12 pixels, so the
// padding is 2 at each end. ---

namespace {

struct TextFixture {
  vcl::TFakeMetricsCanvas canvas;
  TGPGraphics g{&canvas};
  TGPFontFamily family{u"Arial"};
  TGPFont font{&family, 9, 0, vcl::UnitPoint};

  TGPFloatRect Measure(const rtl::WideString& text, TGPFloatRect layout, TGPStringFormat* format = nullptr,
                       int32_t* fitted = nullptr, int32_t* lines = nullptr) {
    TGPFloatRect box;
    EXPECT_EQ(g.MeasureString(text, -1, &font, layout, format, box, fitted, lines), vcl::Ok);
    return box;
  }
};

void ExpectBox(const TGPFloatRect& box, REAL x, REAL y, REAL w, REAL h, const char* what) {
  EXPECT_FLOAT_EQ(box.X, x) << what;
  EXPECT_FLOAT_EQ(box.Y, y) << what;
  EXPECT_FLOAT_EQ(box.Width, w) << what;
  EXPECT_FLOAT_EQ(box.Height, h) << what;
}

}  // namespace

TEST(GdiplusText, MeasureStringIsExactOnTheFakeMetricsCanvas) {
  TextFixture t;
  int32_t fitted = 0, lines = 0;
  ExpectBox(t.Measure(u"Hello", {0, 0, 0, 0}, nullptr, &fitted, &lines), 0, 0, 44, 13, "padding at both ends");
  EXPECT_EQ(fitted, 5);
  EXPECT_EQ(lines, 1);
  ExpectBox(t.Measure(u"", {3, 4, 0, 0}, nullptr, &fitted, &lines), 3, 4, 0, 0, "empty");
  EXPECT_EQ(lines, 0);
  ExpectBox(t.Measure(u"ab\r\ncd\nef", {0, 0, 0, 0}, nullptr, nullptr, &lines), 0, 0, 20, 39, "three lines");
  EXPECT_EQ(lines, 3);

  TGPStringFormat centred;
  centred.SetAlignment(vcl::StringAlignmentCenter);
  centred.SetLineAlignment(vcl::StringAlignmentCenter);
  ExpectBox(t.Measure(u"Hello", {0, 0, 100, 20}, &centred), 28, 3.5f, 44, 13, "centred in the layout");
  TGPStringFormat far;
  far.SetAlignment(vcl::StringAlignmentFar);
  far.SetLineAlignment(vcl::StringAlignmentFar);
  ExpectBox(t.Measure(u"Hello", {0, 0, 100, 20}, &far), 56, 7, 44, 13, "far corner");

  // Wrapping at blanks in a 60-wide layout: 56 for text.
  ExpectBox(t.Measure(u"aaa bbb ccc", {0, 0, 60, 0}, nullptr, &fitted, &lines), 0, 0, 60, 26, "wrapped");
  EXPECT_EQ(lines, 2);
  EXPECT_EQ(fitted, 11);
  ExpectBox(t.Measure(u"aaaaaaaaaa", {0, 0, 44, 0}, nullptr, nullptr, &lines), 0, 0, 44, 26, "a long word breaks");
  EXPECT_EQ(lines, 2);
  TGPStringFormat noWrap(vcl::StringFormatFlagsNoWrap);
  noWrap.SetTrimming(vcl::StringTrimmingNone);
  ExpectBox(t.Measure(u"aaa bbb ccc", {0, 0, 60, 0}, &noWrap, nullptr, &lines), 0, 0, 92, 13, "no wrap");

  // A height for two lines shows two of three; fitted counts what shows.
  t.Measure(u"aaa bbb ccc ddd eee", {0, 0, 60, 26}, nullptr, &fitted, &lines);
  EXPECT_EQ(lines, 2);
  EXPECT_EQ(fitted, 16);
  // The hot-key prefix is not measured.
  TGPStringFormat prefix;
  prefix.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
  ExpectBox(t.Measure(u"&File", {0, 0, 0, 0}, &prefix), 0, 0, 36, 13, "prefix dropped");
}

TEST(GdiplusText, DrawnLinesCarryTheirPlaceTrimmingAndHotKey) {
  vcl::TRecordingCanvas rec;
  TGPGraphics g(&rec);
  TGPFontFamily family(u"Arial");
  TGPFont font(&family, 9, 0, vcl::UnitPoint);
  TGPSolidBrush brush(MakeOpaqueARGB(0, 0, 0));
  TGPStringFormat format(vcl::StringFormatFlagsNoWrap);
  format.SetHotkeyPrefix(vcl::HotkeyPrefixShow);
  g.DrawString(u"&Open", -1, &font, MakeGPRectF(10, 20, 0, 0), &format, &brush);
  format.SetTrimming(vcl::StringTrimmingEllipsisCharacter);
  g.DrawString(u"abcdefghij", -1, &font, MakeGPRectF(0, 0, 44, 13), &format, &brush);
  format.SetTrimming(vcl::StringTrimmingEllipsisWord);
  g.DrawString(u"ab cd efgh", -1, &font, MakeGPRectF(0, 0, 60, 13), &format, &brush);
  format.SetTrimming(vcl::StringTrimmingEllipsisPath);
  g.DrawString(u"C:\\dir\\sub\\file.txt", -1, &font, MakeGPRectF(0, 0, 124, 13), &format, &brush);
  std::vector<rtl::AnsiString> expected = {
      "GdipDrawTextLine(12,20,0) 'Open'",
      "GdipDrawTextLine(2,0,-1) 'abcd\xE2\x80\xA6'",
      "GdipDrawTextLine(2,0,-1) 'ab cd\xE2\x80\xA6'",
      "GdipDrawTextLine(2,0,-1) 'C:\\di\xE2\x80\xA6\\file.txt'",
  };
  EXPECT_EQ(rec.Calls(), expected);
}

TEST(GdiplusText, AnsiStringsAreConvertedWithTheirOwnLength) {
  vcl::TRecordingCanvas rec;
  TGPGraphics g(&rec);
  TGPFontFamily family(u"Arial");
  TGPFont font(&family, 9, 0, vcl::UnitPoint);
  TGPSolidBrush brush(MakeOpaqueARGB(0, 0, 0));
  rtl::AnsiString text = "Gr\xC3\xBC\xC3\x9F" "e";  // seven bytes, five characters
  EXPECT_EQ(g.DrawAnsiString(text, static_cast<int32_t>(text.size()), &font, MakeGPRectF(0, 0, 0, 0), nullptr, &brush),
            vcl::Ok);
  EXPECT_EQ(g.DrawAnsiString(text, 4, &font, MakeGPRectF(0, 0, 0, 0), nullptr, &brush), vcl::Ok);
  EXPECT_EQ(g.DrawAnsiString("", 0, &font, MakeGPRectF(0, 0, 0, 0), nullptr, &brush), vcl::Ok);
  std::vector<rtl::AnsiString> expected = {"GdipDrawTextLine(2,0,-1) 'Gr\xC3\xBC\xC3\x9F" "e'",
                                           "GdipDrawTextLine(2,0,-1) 'Gr\xC3\xBC'"};
  EXPECT_EQ(rec.Calls(), expected);
  EXPECT_EQ(g.DrawAnsiString(text, 7, nullptr, MakeGPRectF(0, 0, 0, 0), nullptr, &brush), vcl::InvalidParameter)
      << "nil font passes null";
}

TEST(GdiplusText, RealTextDrawsInsideItsLayoutInTheBrushColour) {
  auto b = White(120, 30);
  TGPGraphics g(b->Canvas());
  g.SetTextRenderingHint(vcl::TextRenderingHintSingleBitPerPixelGridFit);
  TGPFontFamily family(u"Tahoma");
  TGPFont font(&family, 10, vcl::FontStyleBold, vcl::UnitPoint);
  TGPSolidBrush red(MakeOpaqueARGB(255, 0, 0));
  g.DrawString(u"Wide WWW text", -1, &font, MakeGPRectF(10, 5, 60, 20), nullptr, &red);
  int inside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      TColor c = At(*b, x, y);
      if (x < 10 || x >= 70 || y < 5 || y >= 25) {
        ASSERT_EQ(c, vcl::clWhite) << x << "," << y;
      } else if (c != vcl::clWhite) {
        EXPECT_EQ(c, vcl::clRed) << "aliased text: one colour";
        ++inside;
      }
    }
  EXPECT_GT(inside, 30);
}

// Which smoothing modes blend the edge of a shape: HighQuality, AntiAlias
// and the two 8 x n modes; Default, HighSpeed and None leave two colours.
TEST(GdiplusPixels, SmoothingModesThatAntiAlias) {
  struct Case {
    int mode;
    bool blends;
  } cases[] = {{0, false}, {1, false}, {2, true}, {3, false}, {4, true}, {5, true}, {6, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    auto b = White(40, 40);
    TGPGraphics g(b->Canvas());
    ASSERT_EQ(g.SetSmoothingMode(static_cast<vcl::SmoothingMode>(c.mode)), vcl::Ok);
    TGPSolidBrush black(MakeOpaqueARGB(0, 0, 0));
    ASSERT_EQ(g.FillEllipse(&black, 5, 5, 29, 23), vcl::Ok);
    int blended = 0, inked = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        TColor p = At(*b, x, y);
        if (p == vcl::clBlack) ++inked;
        else if (p != vcl::clWhite) ++blended;
      }
    EXPECT_GT(inked, 300);
    if (c.blends)
      EXPECT_GT(blended, 20);
    else
      EXPECT_EQ(blended, 0);
  }
}

// Text hints 1 and 2 draw aliased text in the brush colour alone; the
// system default, the anti-aliased hints and ClearType draw grey-scale
// anti-aliased text (a back buffer has no sub-pixel order): its blended
// pixels are shades between the brush and the background, never coloured.
TEST(GdiplusText, RenderingHintsAsATable) {
  for (int hint = 0; hint <= 5; ++hint) {
    SCOPED_TRACE(hint);
    auto b = White(140, 30);
    TGPGraphics g(b->Canvas());
    ASSERT_EQ(g.SetTextRenderingHint(static_cast<vcl::TextRenderingHint>(hint)), vcl::Ok);
    TGPFontFamily family(u"Tahoma");
    TGPFont font(&family, 11, 0, vcl::UnitPoint);
    TGPSolidBrush black(MakeOpaqueARGB(0, 0, 0));
    ASSERT_EQ(g.DrawString(u"Rounded sample", -1, &font, MakeGPRectF(2, 2, 136, 26), nullptr, &black), vcl::Ok);
    int ink = 0, grey = 0, coloured = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 140; ++x) {
        TColor p = At(*b, x, y);
        if (p == vcl::clWhite) continue;
        ++ink;
        if (p == vcl::clBlack) continue;
        if (Channel(p, 0) == Channel(p, 1) && Channel(p, 1) == Channel(p, 2))
          ++grey;
        else
          ++coloured;
      }
    EXPECT_GT(ink, 60);
    EXPECT_EQ(coloured, 0) << "no sub-pixel colour fringes";
    if (hint == 1 || hint == 2)
      EXPECT_EQ(grey, 0) << "aliased";
    else
      EXPECT_GT(grey, 20) << "anti-aliased";
  }
  auto b = White(4, 4);
  TGPGraphics g(b->Canvas());
  EXPECT_EQ(g.SetTextRenderingHint(static_cast<vcl::TextRenderingHint>(6)), vcl::InvalidParameter);
}
