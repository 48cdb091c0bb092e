// Button faces and text: both text paths measured exactly on the
// fake-metrics canvases (8 pixels a character, 13 a line), the faces in
// pixels.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviFaces.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

namespace {

using controls::aaClearType;
using controls::aaNone;
using vcl::RGB;
using vcl::TColor;
using vcl::TRect;

// The texts drawn as GDI+ lines, in order.
std::vector<rtl::AnsiString> FaceTextLines(const vcl::TRecordingCanvas& c) {
  std::vector<rtl::AnsiString> out;
  for (const vcl::TCanvasRecord& r : c.Records())
    if (r.Op == "GdipDrawTextLine") out.push_back(r.Text);
  return out;
}

int FaceOpCount(const vcl::TRecordingCanvas& c, const char* op) {
  int n = 0;
  for (const vcl::TCanvasRecord& r : c.Records()) n += r.Op == op;
  return n;
}

TEST(RibbonFaces, GPTextShortensMeasuresAndFallsBack) {
  vcl::TFont font;
  font.SetName("Tahoma");
  struct Case {
    const char* what;
    bool ellipsis, wordWrap;
    const char* caption;
    std::vector<rtl::AnsiString> lines;
  } const cases[] = {
      {"ellipsis: shortened until the suffix fits", true, false, "ABCDEFGHIJ", {"A..."}},
      {"no ellipsis, no wrap: dropped without a suffix", false, false, "ABCDEFGHIJ", {"ABCD"}},
      {"wrap without ellipsis: GDI+ wraps inside Rect", false, true, "ABCD EFGH IJ", {"ABCD ", "EFGH ", "IJ"}},
      {"fits: drawn as it is", true, false, "ABC", {"ABC"}},
  };
  for (const Case& c : cases) {
    vcl::TRecordingCanvas canvas;
    TRect measured;
    ribbon::DrawGPText(&canvas, vcl::taLeftJustify, vcl::DT_SINGLELINE, TRect{0, 0, 40, 60}, c.caption, u"", &font,
                       true, true, aaClearType, c.ellipsis, c.wordWrap, measured);
    EXPECT_EQ(FaceTextLines(canvas), c.lines) << c.what;
  }
  // The shortened captions fit with GDI+'s padding: "A..." is 4 x 8 + 4.
  // Measuring only: the GDI+ path answers positioned bounds in Rect, the
  // GDI path the size from (0, 0); both the same size.
  {
    vcl::TRecordingCanvas canvas;
    TRect gdip, gdi;
    ribbon::DrawGPText(&canvas, vcl::taCenter, 0, TRect{10, 5, 110, 25}, "Caption", u"", &font, true, false,
                       aaClearType, false, false, gdip);
    ribbon::DrawGPText(&canvas, vcl::taCenter, 0, TRect{10, 5, 110, 25}, "Caption", u"", &font, true, false, aaNone,
                       false, false, gdi);
    EXPECT_EQ(gdi, (TRect{0, 0, 56, 13}));
    // GDI+ lays a line out with its padding: 4 more pixels across; the
    // box edges round half to even (8.5 to 8, 21.5 to 22).
    EXPECT_EQ(gdip, (TRect{30, 8, 90, 22}));
    EXPECT_TRUE(FaceTextLines(canvas).empty());
    // A face GDI+ does not know goes through GDI even when anti-aliased;
    // an empty caption measures nothing.
    vcl::TFont unknown;
    unknown.SetName("No Such Face At All");
    TRect r;
    ribbon::DrawGPText(&canvas, vcl::taCenter, 0, TRect{10, 5, 110, 25}, "Caption", u"", &unknown, true, false,
                       aaClearType, false, false, r);
    EXPECT_EQ(r, (TRect{0, 0, 56, 13}));
    ribbon::DrawGPText(&canvas, vcl::taCenter, 0, TRect{10, 5, 110, 25}, "", u"", &font, true, true, aaClearType,
                       false, false, r);
    EXPECT_EQ(r, (TRect{0, 0, 0, 0}));
  }
  // 8-bit text is UTF-8 measured with its UTF-16 length: "Größe" is five
  // characters, not seven bytes.
  {
    vcl::TRecordingCanvas canvas;
    TRect r;
    ribbon::DrawGPText(&canvas, vcl::taLeftJustify, 0, TRect{0, 0, 200, 20}, "Gr\xC3\xB6\xC3\x9F" "e", u"", &font, true,
                       false, aaClearType, false, false, r);
    EXPECT_EQ(r.Right - r.Left, 5 * 8 + 4);
  }
}

TEST(RibbonFaces, GPWrapTextBothPaths) {
  vcl::TFont font;
  font.SetName("Tahoma");
  vcl::TRecordingCanvas canvas;
  TRect r;
  // Without anti-aliasing every word is a line of its own in the 2-pixel
  // width, and the bottom is DrawText's height, not top plus height: at
  // Rect.Top 10 two lines give a height of 26 - 10.
  ribbon::DrawGPWrapText(&canvas, 2, TRect{5, 10, 200, 60}, "one two", u"", &font, true, false, aaNone, r);
  EXPECT_EQ(r.Top, 10);
  EXPECT_EQ(r.Bottom - r.Top, 26 - 10);
  EXPECT_EQ(r.Right - r.Left, 24);
  // Anti-aliased: GDI+ in Rect, one line centred.
  ribbon::DrawGPWrapText(&canvas, 2, TRect{0, 0, 200, 40}, "", u"one two", &font, true, true, aaClearType, r);
  EXPECT_EQ(r, (TRect{70, 14, 130, 26}));
  EXPECT_EQ(FaceTextLines(canvas), std::vector<rtl::AnsiString>{"one two"});
  ribbon::DrawGPWrapText(&canvas, 2, TRect{0, 0, 200, 40}, "", u"", &font, true, true, aaClearType, r);
  EXPECT_EQ(r, (TRect{0, 0, 0, 0}));
}

std::unique_ptr<vcl::TBitmap> FaceBitmap(int w, int h, TColor fill = RGB(255, 0, 255)) {
  auto b = std::make_unique<vcl::TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(TRect{0, 0, w, h});
  return b;
}

ribbon::TGlowFace PlainFace(TColor upper, TColor lower, vcl::TFont* font) {
  ribbon::TGlowFace f;
  f.ColorTo = upper;
  f.ColorMirror = lower;
  f.ColorMirrorTo = lower;
  f.BorderColor = RGB(0, 0, 128);
  f.Font = font;
  f.Caption = "";
  f.Rounded = true;
  return f;
}

TEST(RibbonFaces, GlowFaceFocusRingsAndFrame) {
  vcl::TFont font;
  font.SetName("Tahoma");
  auto b = FaceBitmap(60, 30);
  ribbon::TGlowFace f = PlainFace(vcl::clWhite, vcl::clWhite, &font);
  f.Focus = true;
  vcl::TPoint size;
  ribbon::DrawGlowFace(b->Canvas(), TRect{0, 0, 60, 30}, vcl::clWhite, f, size);
  vcl::TCanvas* c = b->Canvas();
  // The frame on the edge, the solid ring one pixel in, the dotted ring
  // two pixels in (every other pixel).
  EXPECT_EQ(c->Pixels(0, 15), RGB(0, 0, 128));
  EXPECT_EQ(c->Pixels(30, 0), RGB(0, 0, 128));
  EXPECT_EQ(c->Pixels(59, 15), RGB(0, 0, 128));
  EXPECT_EQ(c->Pixels(1, 15), TColor(0xE4AD89));
  EXPECT_EQ(c->Pixels(30, 1), TColor(0xE4AD89));
  EXPECT_EQ(c->Pixels(58, 15), TColor(0xE4AD89));
  int grey = 0, white = 0;
  for (int y = 6; y < 24; ++y) {
    grey += c->Pixels(2, y) == TColor(0x808080);
    white += c->Pixels(2, y) == vcl::clWhite;
  }
  EXPECT_GE(grey, 8);
  EXPECT_GE(white, 8);
  EXPECT_EQ(c->Pixels(30, 15), vcl::clWhite);
  EXPECT_EQ(size, (vcl::TPoint{0, 0}));
}

TEST(RibbonFaces, GlowFaceHalvesSplitAndArrow) {
  vcl::TFont font;
  font.SetName("Tahoma");
  const TColor upper = RGB(250, 200, 100), lower = RGB(100, 150, 250);
  struct Case {
    const char* what;
    bool active, split;
    int splitState;
    TColor mainTop, ddTop, mainBottom;
  } const cases[] = {
      {"no split: two halves over the whole width", true, false, 0, upper, upper, lower},
      {"split, state 0: the main part darker", true, true, 0, ribbon::DimColor(upper, -10), upper,
       ribbon::DimColor(lower, -10)},
      {"split, state 2: the drop-down part darker", true, true, 2, upper, ribbon::DimColor(upper, -10), lower},
      {"split but not active: whole", false, true, 2, upper, upper, lower},
  };
  for (const Case& c : cases) {
    auto b = FaceBitmap(60, 30);
    ribbon::TGlowFace f = PlainFace(upper, lower, &font);
    f.Gradient = f.GradientMirror = controls::ggVertical;
    f.DrawBorder = false;
    f.DropDownButton = true;
    f.DropDownActive = c.active;
    f.DropDownSplit = c.split;
    f.SplitState = c.splitState;
    vcl::TPoint size;
    ribbon::DrawGlowFace(b->Canvas(), TRect{0, 0, 60, 30}, upper, f, size);
    vcl::TCanvas* cv = b->Canvas();
    EXPECT_EQ(cv->Pixels(10, 3), c.mainTop) << c.what;
    EXPECT_EQ(cv->Pixels(52, 3), c.ddTop) << c.what;
    EXPECT_EQ(cv->Pixels(10, 27), c.mainBottom) << c.what;
    // The arrow at (46 + (14 - 5) div 2, (30 - 3) div 2 + 1) = (50, 14).
    EXPECT_EQ(cv->Pixels(50, 14), vcl::clBlack) << c.what;
    EXPECT_EQ(cv->Pixels(54, 14), vcl::clBlack) << c.what;
    EXPECT_EQ(cv->Pixels(52, 16), vcl::clBlack) << c.what;
    EXPECT_EQ(cv->Pixels(50, 15), vcl::clWhite) << c.what;
    // The separating line only with an active split.
    EXPECT_EQ(cv->Pixels(46, 8) == RGB(0, 0, 128), c.active && c.split) << c.what;
  }
}

TEST(RibbonFaces, GlowFaceMeasuresTheSameThroughBothTextPaths) {
  vcl::TFont font;
  font.SetName("Tahoma");
  for (auto aa : {aaClearType, aaNone}) {
    vcl::TRecordingCanvas canvas;
    ribbon::TGlowFace f = PlainFace(vcl::clWhite, vcl::clWhite, &font);
    f.Caption = "Caption";
    f.AntiAlias = aa;
    f.MeasureOnly = true;
    vcl::TPoint size;
    ribbon::DrawGlowFace(&canvas, TRect{0, 0, 40, 20}, vcl::clWhite, f, size);
    // The text (GDI+ 60 with its padding, GDI 56) plus spacing 2 wide,
    // 13 + 2 high, whatever the face's own width.
    EXPECT_EQ(size, (vcl::TPoint{aa == aaNone ? 58 : 62, 15})) << static_cast<int>(aa);
    // Background and frame drawn, no text.
    EXPECT_GE(FaceOpCount(canvas, "GdipFillPath"), 2);
    EXPECT_GE(FaceOpCount(canvas, "GdipDrawPath"), 1);
    EXPECT_TRUE(FaceTextLines(canvas).empty());
    EXPECT_EQ(FaceOpCount(canvas, "TextOut"), 0);
  }
  // Drawn: the GDI+ caption centred on one line.
  vcl::TRecordingCanvas canvas;
  ribbon::TGlowFace f = PlainFace(vcl::clWhite, vcl::clWhite, &font);
  f.Caption = "Caption";
  vcl::TPoint size;
  ribbon::DrawGlowFace(&canvas, TRect{0, 0, 80, 23}, vcl::clWhite, f, size);
  EXPECT_EQ(FaceTextLines(canvas), std::vector<rtl::AnsiString>{"Caption"});
  for (const vcl::TCanvasRecord& r : canvas.Records())
    if (r.Op == "GdipDrawTextLine") {
      EXPECT_EQ(r.Args[0], 13);  // (80 - 60) div 2 and the line's own padding
      EXPECT_EQ(r.Args[1], 5);
    }
}

TEST(RibbonFaces, VistaButtonHalvesFrameAndDropDown) {
  vcl::TFont font;
  font.SetName("Tahoma");
  const TColor upper = RGB(250, 200, 100), lower = RGB(100, 150, 250), border = RGB(0, 0, 128);
  auto b = FaceBitmap(60, 31);
  ribbon::DrawVistaButton(b->Canvas(), TRect{0, 0, 60, 31}, upper, upper, lower, lower, border, controls::ggVertical,
                          controls::ggVertical, "", &font, nullptr, -1, true, controls::blGlyphLeft, true, true, true,
                          false, false, nullptr, aaClearType, false);
  vcl::TCanvas* c = b->Canvas();
  EXPECT_EQ(c->Pixels(10, 5), upper);
  EXPECT_EQ(c->Pixels(10, 25), lower);
  // A square frame one pixel inside Right and Bottom.
  EXPECT_EQ(c->Pixels(0, 10), border);
  EXPECT_EQ(c->Pixels(59, 10), border);
  EXPECT_EQ(c->Pixels(10, 0), border);
  EXPECT_EQ(c->Pixels(10, 30), border);
  // The split line at the drop-down part's left edge and the arrow.
  EXPECT_EQ(c->Pixels(46, 10), border);
  EXPECT_EQ(c->Pixels(50, 15), vcl::clBlack);
  EXPECT_EQ(c->Pixels(52, 17), vcl::clBlack);
  // The text variant: no arrow, no split line.
  auto t = FaceBitmap(60, 31);
  ribbon::DrawVistaButtonText(t->Canvas(), TRect{0, 0, 60, 31}, upper, upper, lower, lower, border,
                              controls::ggVertical, controls::ggVertical, "", &font, true, false, aaClearType, false);
  EXPECT_EQ(t->Canvas()->Pixels(46, 10), upper);
  EXPECT_EQ(t->Canvas()->Pixels(50, 10), upper);
}

}  // namespace
