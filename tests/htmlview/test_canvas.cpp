// Drawing surfaces: document coordinates on any class-library canvas, as
// pixel tables on bitmaps and as calls on the recording canvas.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include "htmledit/view/psCanvas.h"
#include "rtl/CodePages.h"
#include "htmlview/ViewFixture.h"
#include "vcl/Metafile.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace htmlview;
using htmlview::testing::PixelRows;
using vcl::TColor;

const std::map<TColor, char> kKey = {{vcl::clWhite, '.'}, {vcl::clRed, 'r'}, {vcl::clBlue, 'b'}, {vcl::clBlack, '#'},
                                     {vcl::clLime, 'g'}};

// A surface painting on a white bitmap with the viewport at the origin.
struct Surface {
  explicit Surface(Integer w = 20, Integer h = 20) : Bitmap(w, h) {
    Canvas.BeginPaint(Bitmap.Canvas());
    Canvas.SetViewRect({0, 0, w - 1, h - 1});
  }
  ~Surface() { Canvas.EndPaint(); }
  std::string Rows(Integer l, Integer t, Integer r, Integer b) { return PixelRows(Bitmap, vcl::Rect(l, t, r, b), kKey); }
  vcl::TBitmap Bitmap;
  TpsScrollCanvas Canvas;
};

TEST(Surfaces, DocumentPointsGoToTheDeviceByTheViewportOrigin) {
  vcl::TRecordingCanvas rec;
  TpsScrollCanvas c;
  c.BeginPaint(&rec);
  c.SetViewRect({0, 300, 399, 599});
  c.TextOutW(10, 310, u"Hi");
  c.Rectangle(5, 305, 14, 314);
  c.MoveTo(0, 300);
  c.LineTo(9, 309);
  c.FrameRect(1, 301, 3, 303);
  c.EndPaint();
  EXPECT_EQ(rec.Calls(), (std::vector<AnsiString>{"TextOutW(10,10) 'Hi'", "Rectangle(5,5,15,15)", "MoveTo(0,0)",
                                                  "LineTo(9,9)", "FrameRect(1,1,4,4)"}));
  EXPECT_EQ(c.GetViewWidth(), 400);
  EXPECT_EQ(c.GetViewHeight(), 300);
}

TEST(Surfaces, ViewportQueries) {
  TpsScrollCanvas c;
  c.SetViewRect({10, 20, 109, 219});
  EXPECT_TRUE(c.IsRectVisible(0, 0, 10, 20));     // touching the corner
  EXPECT_FALSE(c.IsRectVisible(0, 0, 9, 20));
  EXPECT_TRUE(c.IsRectInView(10, 20, 109, 219));
  EXPECT_FALSE(c.IsRectInView(10, 20, 110, 219));
  c.SetOrigin(0, 0);
  EXPECT_EQ(c.GetViewport(), (TpsRect{0, 0, 99, 199}));
  c.SetSize(50, 60);
  EXPECT_EQ(c.GetViewport(), (TpsRect{0, 0, 49, 59}));
}

TEST(Surfaces, FillBoundsClipsToTheViewport) {
  struct Case {
    const char* name;
    TpsRect fill;
    const char* rows;  // device pixels 0..11 of rows 0..11
  };
  // Viewport (5, 5) to (14, 14): ten pixels each way on a 20-pixel bitmap.
  const Case cases[] = {
      {"above and left of the viewport fills from the device origin", {0, 0, 7, 7},
       "rrr.........|rrr.........|rrr.........|............|............|............|............|............|"
       "............|............|............|............"},
      {"beyond the right and bottom stops at the view size", {12, 12, 30, 30},
       "............|............|............|............|............|............|............|.......rrr..|"
       ".......rrr..|.......rrr..|............|............"},
      {"inside moves by the origin", {6, 6, 7, 8},
       "............|.rr.........|.rr.........|.rr.........|............|............|............|............|"
       "............|............|............|............"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Surface s;
    s.Canvas.SetViewRect({5, 5, 14, 14});
    s.Canvas.GetBrush()->SetColor(vcl::clRed);
    s.Canvas.FillBounds(k.fill.Left, k.fill.Top, k.fill.Right, k.fill.Bottom);
    EXPECT_EQ(s.Rows(0, 0, 12, 12), k.rows);
  }
}

TEST(Surfaces, NestedPaintsStackTheDeviceContexts) {
  vcl::TRecordingCanvas a, b;
  TpsScrollCanvas c;
  EXPECT_EQ(c.GetHandle(), nullptr);
  c.GetFont()->SetName("Verdana");
  c.BeginPaint(&a);
  EXPECT_EQ(c.GetCanvas(), &a);
  c.SetCharacterExtra(3);
  c.BeginPaint(&b);
  EXPECT_EQ(c.GetHandle(), &b);
  EXPECT_EQ(c.SavedHandleCount(), 1);
  // The surface's font is selected into each context it draws on.
  EXPECT_EQ(b.Font()->Name(), "Verdana");
  EXPECT_EQ(c.GetCharacterExtra(), -1);
  c.EndPaint();
  EXPECT_EQ(c.GetHandle(), &a);
  c.EndPaint();
  EXPECT_EQ(c.GetHandle(), nullptr);
  EXPECT_EQ(c.SavedHandleCount(), 0);
  // Without a context the surface still measures, and refuses to draw.
  EXPECT_GT(c.GetTextExtent("abc").cx, 0);
  EXPECT_THROW(c.FillBounds(0, 0, 5, 5), rtl::Exception);
}

TEST(Surfaces, ClipStackSelectsTheRegionBelow) {
  Surface s;
  auto fill = [&](TColor color) {
    s.Canvas.GetBrush()->SetColor(color);
    s.Canvas.FillBounds(0, 0, 19, 19);
  };
  s.Canvas.SetViewRect({10, 10, 29, 29});
  s.Canvas.PushClipRect(10, 10, 13, 13);
  s.Canvas.PushClipRect(12, 12, 15, 13);
  fill(vcl::clRed);
  EXPECT_EQ(s.Rows(0, 0, 7, 5), ".......|.......|..rrrr.|..rrrr.|.......");
  s.Canvas.PopClipRect();
  fill(vcl::clBlue);
  EXPECT_EQ(s.Rows(0, 0, 7, 5), "bbbb...|bbbb...|bbbbrr.|bbbbrr.|.......");
  s.Canvas.PopClipRect();
  EXPECT_EQ(s.Canvas.ClipDepth(), 0);
  fill(vcl::clLime);
  EXPECT_EQ(s.Rows(0, 0, 7, 5), "ggggggg|ggggggg|ggggggg|ggggggg|ggggggg");
}

TEST(Surfaces, CharacterExtraTouchesTheDeviceOnlyWhenItChanges) {
  vcl::TRecordingCanvas rec;
  TpsScrollCanvas c;
  c.BeginPaint(&rec);
  c.SetCharacterExtra(2);
  c.SetCharacterExtra(2);
  c.SetCharacterExtra(0);
  c.EndPaint();
  c.BeginPaint(&rec);
  c.SetCharacterExtra(0);  // forgotten by the new paint
  c.EndPaint();
  EXPECT_EQ(rec.Calls(), (std::vector<AnsiString>{"SetTextCharacterExtra(2)", "SetTextCharacterExtra(0)",
                                                  "SetTextCharacterExtra(0)"}));
}

TEST(Surfaces, BoxBordersAsPixelTables) {
  struct Case {
    const char* name;
    Integer style;
    TpsRect widths;
    TColor fill;
    const char* rows;  // pixels (0..12, 0..10) around the box (1, 1) to (10, 8)
  };
  // The filled styles use the border colour (red); the fill colour (blue)
  // never shows, even when it is the "none" value of a block without
  // background.
  const Case cases[] = {
      {"no widths: nothing", 4, {0, 0, 0, 0}, vcl::clBlue,
       ".............|.............|.............|.............|.............|.............|.............|"
       ".............|.............|.............|............."},
      {"a top width of 2, solid: one band, no corners", 4, {0, 2, 0, 0}, vcl::clBlue,
       ".............|rrrrrrrrrrrr.|rrrrrrrrrrrr.|.............|.............|.............|.............|"
       ".............|.............|.............|............."},
      {"all four of 2, solid", 4, {2, 2, 2, 2}, vcl::clBlue,
       ".............|.rrrrrrrrrr..|.rrrrrrrrrr..|.rr......rr..|.rr......rr..|.rr......rr..|.rr......rr..|"
       ".rrrrrrrrrr..|.rrrrrrrrrr..|.............|............."},
      {"double is filled with the border colour", 5, {2, 2, 2, 2}, vcl::clBlue,
       ".............|.rrrrrrrrrr..|.rrrrrrrrrr..|.rr......rr..|.rr......rr..|.rr......rr..|.rr......rr..|"
       ".rrrrrrrrrr..|.rrrrrrrrrr..|.............|............."},
      {"groove without a background of its own", 6, {1, 1, 1, 1}, vcl::clDefault,
       ".............|.rrrrrrrrrr..|.r........r..|.r........r..|.r........r..|.r........r..|.r........r..|"
       ".r........r..|.rrrrrrrrrr..|.............|............."},
      {"dotted one-pixel lines", 2, {1, 1, 1, 1}, vcl::clBlue,
       ".............|.rrr...rrrr..|.r........r..|.r........r..|.............|.............|.............|"
       ".r........r..|.rrr...rrrr..|.............|............."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Surface s;
    s.Canvas.DrawBoxBorder({1, 1, 10, 8}, {0, 0, 0, 0}, k.style, k.fill, vcl::clRed, k.widths);
    EXPECT_EQ(s.Rows(0, 0, 13, 11), k.rows);
  }
}

TEST(Surfaces, BoxBorderRestoresPenAndBrush) {
  Surface s;
  s.Canvas.GetPen()->SetColor(vcl::clLime);
  s.Canvas.GetBrush()->SetColor(vcl::clBlue);
  s.Canvas.GetBrush()->SetStyle(vcl::bsClear);
  s.Canvas.DrawBoxBorder({1, 1, 10, 8}, {1, 1, 1, 1}, 2, vcl::clWhite, vcl::clRed, {1, 1, 1, 1});
  EXPECT_EQ(s.Canvas.GetPen()->Color(), vcl::clLime);
  EXPECT_EQ(s.Canvas.GetPen()->Style(), vcl::psSolid);
  EXPECT_EQ(s.Canvas.GetBrush()->Color(), vcl::clBlue);
  EXPECT_EQ(s.Canvas.GetBrush()->Style(), vcl::bsClear);
}

TEST(Surfaces, DocumentFrameAndShadow) {
  Surface s;
  s.Canvas.GetBrush()->SetColor(vcl::clLime);
  s.Canvas.DrawDocumentFrame({2, 2, 5, 4});
  EXPECT_EQ(s.Rows(0, 0, 10, 9),
            "..........|.######...|.#....#...|.#....###.|.#....###.|.########.|...######.|...######.|..........");
  EXPECT_EQ(s.Canvas.GetBrush()->Color(), vcl::clLime);
}

// One painter, two stand-in canvases: the fake-metrics canvas gives exact
// pixels, the recording canvas the calls in order.
void PaintSample(TpsAbstractCanvas& c) {
  c.GetBrush()->SetColor(vcl::clWhite);
  c.FillBounds(100, 200, 139, 219);
  c.GetFont()->SetColor(vcl::clBlack);
  c.GetBrush()->SetStyle(vcl::bsClear);
  c.TextOutW(102, 203, u"ab c");
  c.GetPen()->SetColor(vcl::clRed);
  c.DrawOutline({100, 200, 139, 219});
}

TEST(Surfaces, OnePainterOnBothStandInCanvases) {
  vcl::TRecordingCanvas rec;
  TpsScrollCanvas r;
  r.BeginPaint(&rec);
  r.SetViewRect({100, 200, 139, 219});
  PaintSample(r);
  r.EndPaint();
  EXPECT_EQ(rec.Calls(), (std::vector<AnsiString>{"FillRect(0,0,40,20)", "TextOutW(2,3) 'ab c'", "MoveTo(0,0)",
                                                  "LineTo(39,0)", "LineTo(39,19)", "LineTo(0,19)", "LineTo(0,0)"}));

  vcl::TFakeMetricsCanvas fake(40, 20, {4, 5, 2});
  TpsScrollCanvas f;
  f.BeginPaint(&fake);
  f.SetViewRect({100, 200, 139, 219});
  PaintSample(f);
  f.EndPaint();
  // Characters are boxes: advance 4, the box 3 wide and 5 high; the blank
  // leaves a gap.
  EXPECT_EQ(PixelRows(*fake.Bitmap(), vcl::Rect(0, 0, 20, 10), kKey),
            "rrrrrrrrrrrrrrrrrrrr|r...................|r...................|r.###.###.....###...|"
            "r.###.###.....###...|r.###.###.....###...|r.###.###.....###...|r.###.###.....###...|"
            "r...................|r...................");
}

TEST(Surfaces, PreviewPageReplaysAtAQuarterOfItsCoordinates) {
  TpsPrintPreviewCanvas preview({1000, 1400}, {500, 700}, 300, 96, 0.5);
  EXPECT_EQ(preview.GetZoomedPageSize(), (vcl::TSize{250, 350}));
  preview.BeginPage();
  ASSERT_TRUE(preview.PageOpen());
  preview.SetViewRect({0, 0, 999, 1399});
  preview.GetBrush()->SetColor(vcl::clRed);
  preview.Rectangle(100, 200, 399, 599);
  preview.MoveTo(0, 0);
  preview.LineTo(800, 1200);
  preview.FillBounds(40, 80, 79, 119);
  preview.EndPage();
  EXPECT_FALSE(preview.PageOpen());
  vcl::TMetafile* page = preview.Metafile();
  EXPECT_EQ(page->Width(), 500);
  EXPECT_EQ(page->Height(), 700);

  vcl::TRecordingCanvas rec;
  page->Play(&rec, vcl::Rect(0, 0, 500, 700));
  std::vector<AnsiString> shapes;
  for (const AnsiString& call : rec.Calls())
    if (call.rfind("Rectangle", 0) == 0 || call.rfind("MoveTo", 0) == 0 || call.rfind("LineTo", 0) == 0 ||
        call.rfind("FillRect", 0) == 0)
      shapes.push_back(call);
  EXPECT_EQ(shapes, (std::vector<AnsiString>{"Rectangle(25,50,100,150)", "MoveTo(0,0)", "LineTo(200,300)",
                                             "FillRect(10,20,20,30)"}));

  // The same page on a bitmap shows the red fill at its quarter place.
  vcl::TBitmap bmp(500, 700);
  bmp.Canvas()->StretchDraw(vcl::Rect(0, 0, 500, 700), page);
  EXPECT_EQ(bmp.Canvas()->Pixels(30, 60), vcl::clRed);
  EXPECT_EQ(bmp.Canvas()->Pixels(15, 25), vcl::clRed);
  EXPECT_EQ(bmp.Canvas()->Pixels(150, 200), vcl::clWhite);
}

// The ink of a character drawn alone stays inside the box its advance
// gives, and drawing the line places every character exactly where it
// stands alone: no kerning moves "V" under "A".
TEST(Surfaces, RealFontTextKeepsEachCharacterInItsMeasuredBox) {
  const WideString line = u"AVATo";
  QFont q(QString::fromStdString(vcl::SubstituteFontName("Arial")));
  q.setPixelSize(40);
  QFontMetrics m(q);
  // The font does kern these pairs, so the test can tell.
  ASSERT_LT(m.horizontalAdvance("AV"), m.horizontalAdvance("A") + m.horizontalAdvance("V"));
  for (Integer extra : {0, 5}) {
    SCOPED_TRACE(extra);
    auto prepare = [&](vcl::TCanvas* c) {
      c->Font()->SetName("Arial");
      c->Font()->SetHeight(-40);
      c->Font()->SetColor(vcl::clBlack);
      c->Brush()->SetStyle(vcl::bsClear);
      c->SetTextCharacterExtra(extra);
    };
    // The line goes through a surface scrolled to (0, 100).
    vcl::TBitmap whole(400, 60);
    TpsScrollCanvas surface;
    surface.BeginPaint(whole.Canvas());
    surface.SetViewRect({0, 100, 399, 159});
    prepare(surface.GetCanvas());
    surface.SetCharacterExtra(extra);
    surface.TextOutW(10, 105, line);
    surface.EndPaint();
    Integer x = 10;
    vcl::TBitmap alone(400, 60);
    prepare(alone.Canvas());
    for (WideChar ch : line) {
      const Integer advance = whole.Canvas()->TextExtentW(WideString(1, ch)).cx;
      vcl::TBitmap one(400, 60);
      prepare(one.Canvas());
      one.Canvas()->TextOutW(x, 5, WideString(1, ch));
      alone.Canvas()->TextOutW(x, 5, WideString(1, ch));
      for (Integer y = 0; y < 60; ++y)
        for (Integer px = 0; px < 400; ++px)
          if (one.Canvas()->Pixels(px, y) != vcl::clWhite) {
            EXPECT_GE(px, x) << "ink left of '" << char(ch) << "'";
            EXPECT_LT(px, x + advance) << "ink right of '" << char(ch) << "'";
          }
      x += advance;
    }
    EXPECT_EQ(whole.Canvas()->TextExtentW(line).cx, x - 10);
    whole.Pixels().save(QString("htmlview_text_extra_%1.png").arg(extra));
    for (Integer y = 0; y < 60; ++y)
      for (Integer px = 0; px < 400; ++px)
        ASSERT_EQ(whole.Canvas()->Pixels(px, y), alone.Canvas()->Pixels(px, y)) << px << "," << y;
  }
}

TEST(Surfaces, CopyToBitmapAndBack) {
  Surface s;
  s.Canvas.SetViewRect({10, 10, 29, 29});
  s.Canvas.GetBrush()->SetColor(vcl::clRed);
  s.Canvas.FillBounds(12, 12, 13, 13);
  std::unique_ptr<vcl::TBitmap> copy = s.Canvas.CopyToBitmap({11, 11, 14, 14});
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->Width(), 4);
  EXPECT_EQ(PixelRows(*copy, vcl::Rect(0, 0, 4, 4), kKey), "....|.rr.|.rr.|....");
  EXPECT_EQ(s.Canvas.CopyToBitmap({5, 5, 4, 4}), nullptr);
  s.Canvas.CopyRectFrom({20, 10, 23, 13}, copy->Canvas(), {0, 0, 3, 3});
  EXPECT_EQ(s.Rows(10, 0, 14, 4), "....|.rr.|.rr.|....");
}

TEST(Surfaces, StyleCanvasSetsTheFont) {
  TpsScrollCanvas c;
  c.SetFontName("Times New Roman");
  c.SetFontBold(true);
  c.SetFontItalic(true);
  c.SetFontColor(vcl::clRed);
  c.SetFontHeight(-20);
  EXPECT_EQ(c.GetFontName(), "Times New Roman");
  EXPECT_TRUE(c.GetFontBold());
  EXPECT_TRUE(c.GetFontItalic());
  c.SetFontBold(false);
  EXPECT_FALSE(c.GetFontBold());
  EXPECT_EQ(c.GetFontColor(), vcl::clRed);
  EXPECT_EQ(c.GetFontHeight(), -20);
  EXPECT_EQ(c.GetFontPixelsPerInch(), 96);
  EXPECT_GT(c.GetXHeight(), 0);
  vcl::TRecordingCanvas rec;
  c.BeginPaint(&rec);
  EXPECT_EQ(c.GetXHeight(), 13);  // the stand-in's cell
  c.EndPaint();
}

}  // namespace

namespace {

// The screen surface and a preview page draw their text opaque; the
// printer's surface leaves the printer canvas's flags. A preview page
// measures fonts at the printer's resolution.
TEST(Surfaces, TextFlagsAndFontResolutionOfEachSurface) {
  vcl::TRecordingCanvas screenDC, printer;
  TpsScrollCanvas screen;
  screen.BeginPaint(&screenDC);
  EXPECT_NE(screenDC.TextFlags() & vcl::ETO_OPAQUE, 0u);
  screen.EndPaint();
  TpsPrintCanvas print(&printer);
  EXPECT_EQ(print.GetHandle(), &printer);
  EXPECT_EQ(printer.TextFlags() & vcl::ETO_OPAQUE, 0u);
  TpsPrintPreviewCanvas preview({1000, 1400}, {500, 700}, 300, 96, 0.5);
  EXPECT_FALSE(preview.PageOpen());
  preview.BeginPage();
  EXPECT_NE(preview.GetCanvas()->TextFlags() & vcl::ETO_OPAQUE, 0u);
  EXPECT_EQ(preview.GetFont()->PixelsPerInch(), 300);
  // Painting brackets leave a preview page alone.
  vcl::TCanvas* page = preview.GetHandle();
  preview.BeginPaint(&screenDC);
  EXPECT_EQ(preview.GetHandle(), page);
  preview.EndPaint();
  EXPECT_EQ(preview.GetHandle(), page);
  // A new page ends the open one; the zoom can change between pages.
  preview.SetZoomFactor(0.25);
  EXPECT_EQ(preview.GetZoomedPageSize(), (vcl::TSize{125, 175}));
  preview.BeginPage();
  EXPECT_TRUE(preview.PageOpen());
  preview.EndPage();
  EXPECT_EQ(preview.GetHandle(), nullptr);
}

}  // namespace
