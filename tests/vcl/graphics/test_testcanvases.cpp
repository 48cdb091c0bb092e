// The stand-in canvases: what code drawing through a TCanvas sees and
// leaves behind on them.
#include <gtest/gtest.h>

#include "vcl/Gdi.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace vcl;

// A small painter of the kind a custom control has: a caption bar, a
// frame and a centred caption, all measured through the canvas.
void PaintCaptionBox(TCanvas* c, const TRect& bounds, const AnsiString& caption) {
  c->Brush()->SetColor(clNavy);
  c->FillRect(Rect(bounds.Left, bounds.Top, bounds.Right, bounds.Top + c->TextHeight(caption) + 4));
  c->Pen()->SetColor(clGray);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(bounds);
  c->Font()->SetColor(clWhite);
  c->Font()->SetStyle(TFontStyles{fsBold});
  Integer x = bounds.Left + (bounds.Width() - c->TextWidth(caption)) / 2;
  c->TextOut(x, bounds.Top + 2, caption);
}

TEST(TestCanvases, RecordingCanvasListsWhatWasPaintedInOrder) {
  TRecordingCanvas c;
  PaintCaptionBox(&c, Rect(10, 20, 110, 80), "Title");
  EXPECT_EQ(c.Calls(), (std::vector<AnsiString>{"FillRect(10,20,110,37)", "Rectangle(10,20,110,80)",
                                                 "TextOut(40,22) 'Title'"}));
  const auto& recs = c.Records();
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[0].BrushColor, clNavy);
  EXPECT_EQ(recs[0].BrushStyle, bsSolid);
  EXPECT_EQ(recs[1].PenColor, clGray);
  EXPECT_EQ(recs[1].BrushStyle, bsClear);
  EXPECT_EQ(recs[2].FontColor, clWhite);
  EXPECT_TRUE(recs[2].FontStyle.Contains(fsBold));
  EXPECT_FALSE(recs[0].FontStyle.Contains(fsBold));
  EXPECT_EQ(c.PenPos(), Point(80, 22)) << "TextOut moves the pen past the text";
  c.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(c.PenPos(), Point(80, 22)) << "a rectangle leaves the pen where it was";
}

TEST(TestCanvases, CompositeCallsShowAsTheirPrimitives) {
  TRecordingCanvas c;
  TRect r = Rect(0, 0, 10, 6);
  c.DrawEdge(r, BDR_RAISEDOUTER, BF_RECT);
  std::vector<AnsiString> expect = {"FillRect(0,0,1,5)", "FillRect(0,0,9,1)", "FillRect(9,0,10,6)",
                                    "FillRect(0,5,10,6)"};
  EXPECT_EQ(c.Calls(), expect);
  EXPECT_EQ(c.Records()[0].BrushColor, cl3DLight);
  EXPECT_EQ(c.Records()[3].BrushColor, cl3DDkShadow);
  EXPECT_EQ(c.Brush()->Color(), clWhite) << "the brush is given back";
}

TEST(TestCanvases, EveryPrimitiveIsRecorded) {
  TRecordingCanvas c;
  TBitmap bmp(3, 2);
  c.MoveTo(1, 2);
  c.LineTo(3, 4);
  c.Ellipse(0, 0, 5, 5);
  c.RoundRect(0, 0, 9, 9, 2, 2);
  c.Polygon({{0, 0}, {4, 0}, {2, 3}});
  c.Polyline({{0, 0}, {1, 1}});
  c.Arc(0, 0, 8, 8, 8, 4, 4, 0);
  c.DrawFocusRect(Rect(1, 1, 5, 5));
  c.FloodFill(2, 2, clRed, fsBorder);
  c.SetPixels(1, 1, clBlue);
  c.Draw(4, 5, &bmp);
  c.StretchDraw(Rect(0, 0, 6, 4), &bmp);
  c.CopyRect(Rect(0, 0, 3, 2), bmp.Canvas(), Rect(0, 0, 3, 2));
  c.BrushCopy(Rect(0, 0, 3, 2), &bmp, Rect(0, 0, 3, 2), clRed);
  c.TextRect(Rect(0, 0, 20, 10), 1, 1, "x");
  c.FrameRect(Rect(0, 0, 4, 4));
  std::vector<AnsiString> expect = {
      "MoveTo(1,2)",           "LineTo(3,4)",          "Ellipse(0,0,5,5)",     "RoundRect(0,0,9,9,2,2)",
      "Polygon(0,0,4,0,2,3)",  "Polyline(0,0,1,1)",    "Arc(0,0,8,8,8,4,4,0)", "DrawFocusRect(1,1,5,5)",
      "FloodFill(2,2,255,1)",  "SetPixels(1,1,16711680)", "Draw(4,5,3,2)",     "StretchDraw(0,0,6,4)",
      "BlitFrom(0,0,3,2,0,0,3,2,13369376,536870911)", "BrushCopy(0,0,3,2,0,0,3,2,255)",
      "TextRect(0,0,20,10,1,1) 'x'", "FrameRect(0,0,4,4)"};
  EXPECT_EQ(c.Calls(), expect);
  EXPECT_EQ(c.Pixels(1, 1), CLR_INVALID);
}

TEST(TestCanvases, FakeMetricsAreExact) {
  TFakeMetricsCanvas c(10, 10, TFakeMetrics{6, 9, 2});
  EXPECT_EQ(c.TextExtent("hello"), (TSize{30, 11}));
  EXPECT_EQ(c.TextWidth(""), 0);
  EXPECT_EQ(c.TextWidth("\xE2\x82\xAC 1"), 18) << "three characters, five bytes";
  TTextMetrics tm = c.GetTextMetrics();
  EXPECT_EQ(tm.Ascent, 9);
  EXPECT_EQ(tm.Descent, 2);
  EXPECT_EQ(tm.Height, 11);
  EXPECT_EQ(tm.AveCharWidth, 6);
  // The font does not matter.
  c.Font()->SetHeight(-40);
  c.Font()->SetName("Times New Roman");
  EXPECT_EQ(c.TextExtent("hello"), (TSize{30, 11}));
}

TEST(TestCanvases, AMeasuringCanvasWithoutPixelsDrawsNowhere) {
  TFakeMetricsCanvas c;
  TRect r = Rect(0, 0, 30, 30);
  EXPECT_EQ(c.DrawText("ab cd", r, DT_WORDBREAK), 26);
  c.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(c.Pixels(0, 0), CLR_INVALID);
}

TEST(TestCanvases, FakeMetricsTextRectClipsItsBoxes) {
  TFakeMetricsCanvas c(40, 20);
  c.Font()->SetColor(clBlack);
  c.Brush()->SetStyle(bsClear);
  c.TextRect(Rect(0, 0, 12, 20), 0, 0, "abc");
  EXPECT_EQ(c.Pixels(0, 0), clBlack);
  EXPECT_EQ(c.Pixels(8, 0), clBlack);
  EXPECT_EQ(c.Pixels(11, 0), clBlack);
  EXPECT_EQ(c.Pixels(12, 0), clWhite) << "the second box is cut at the rectangle";
  EXPECT_EQ(c.Pixels(16, 0), clWhite);
  // Clipping is given back.
  c.Brush()->SetColor(clRed);
  c.FillRect(Rect(30, 0, 32, 2));
  EXPECT_EQ(c.Pixels(31, 1), clRed);
}

}  // namespace
