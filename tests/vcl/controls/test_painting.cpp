// Drawing through a control's canvas lands in its back buffer, whether or
// not a paint message is running, and the screen shows the buffer.
#include <gtest/gtest.h>

#include <QImage>

#include "TestSupport.h"
#include "vcl/QtCanvas.h"

using namespace vcl;
using namespace vcltest;

namespace {

// A graphic control that paints a frame and remembers where it was drawn.
class Box : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  TColor color = clRed;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(color);
    Canvas()->FillRect(Rect(-5, -5, 100, 100));  // clipped to the box
  }
};

class PaintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeForm(200, 150);
    rec = new Recorder(form);
    rec->SetBounds(10, 10, 120, 80);
    rec->SetParent(form);
    form->Show();
    Pump();
  }
  void TearDown() override { Free(form); }
  TForm* form = nullptr;
  Recorder* rec = nullptr;
};

TEST_F(PaintingTest, DrawingOutsidePaintShowsAfterTheNextPaintAndReadsBack) {
  rec->Update();
  int paintsBefore = rec->paints;
  TCanvas* c = rec->Canvas();
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(20, 20, 30, 25));
  // The buffer has it at once.
  EXPECT_EQ(c->Pixels(20, 20), clBlue);
  EXPECT_EQ(c->Pixels(29, 24), clBlue);
  EXPECT_EQ(c->Pixels(30, 24), clWhite);
  EXPECT_EQ(c->Pixels(29, 25), clWhite);
  // The next paint of the screen copies the buffer without a WM_PAINT.
  QWidget* w = rec->Widget();
  EXPECT_EQ(ScreenPixel(w, 25, 22), clBlue);
  EXPECT_EQ(ScreenPixel(w, 5, 5), clWhite);
  EXPECT_EQ(rec->paints, paintsBefore);
  // Invalidating asks the control to paint itself again, over the drawing.
  rec->Invalidate();
  EXPECT_EQ(ScreenPixel(w, 25, 22), clWhite);
  EXPECT_EQ(rec->paints, paintsBefore + 1);
}

TEST_F(PaintingTest, PixelsOutsideTheSurfaceAreInvalid) {
  rec->Update();
  TCanvas* c = rec->Canvas();
  EXPECT_EQ(c->Pixels(-1, 0), CLR_INVALID);
  EXPECT_EQ(c->Pixels(120, 0), CLR_INVALID);
  c->SetPixels(119, 79, clLime);
  EXPECT_EQ(c->Pixels(119, 79), clLime);
  c->SetPixels(500, 500, clLime);  // ignored
}

TEST_F(PaintingTest, GraphicChildrenPaintIntoTheParentsBufferClippedToTheirBounds) {
  auto* box = new Box(form);
  box->SetBounds(140, 20, 30, 40);
  box->SetParent(form);
  form->Update();
  QWidget* client = form->Widget();
  EXPECT_EQ(ScreenPixel(client, 140, 20), clRed);
  EXPECT_EQ(ScreenPixel(client, 169, 59), clRed);
  EXPECT_EQ(ScreenPixel(client, 170, 59), ColorToRGB(clBtnFace));
  EXPECT_EQ(ScreenPixel(client, 169, 60), ColorToRGB(clBtnFace));
  EXPECT_EQ(ScreenPixel(client, 139, 20), ColorToRGB(clBtnFace));
  // Its canvas uses its own coordinates.
  EXPECT_EQ(box->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(box->Canvas()->Pixels(30, 0), CLR_INVALID);
  // Moving it repaints both places.
  box->color = clYellow;
  box->SetTop(100);
  form->Update();
  EXPECT_EQ(ScreenPixel(client, 140, 100), clYellow);
  EXPECT_EQ(ScreenPixel(client, 169, 59), ColorToRGB(clBtnFace));
}

TEST_F(PaintingTest, DesktopEdgeRules) {
  rec->Update();
  TCanvas* c = rec->Canvas();
  struct Probe {
    Integer x, y;
    TColor want;
  };
  struct EdgeCase {
    const char* name;
    std::function<void(TCanvas*)> draw;
    std::vector<Probe> probes;
  };
  const TColor W = clWhite;
  const std::vector<EdgeCase> cases = {
      {"FillRect leaves out right and bottom",
       [](TCanvas* c) {
         c->Brush()->SetColor(clRed);
         c->FillRect(Rect(10, 10, 20, 15));
       },
       {{10, 10, clRed}, {19, 14, clRed}, {20, 14, W}, {19, 15, W}, {9, 10, W}}},
      {"Rectangle outline with the pen, inside with the brush",
       [](TCanvas* c) {
         c->Pen()->SetColor(clBlue);
         c->Brush()->SetColor(clYellow);
         c->Rectangle(10, 10, 20, 16);
       },
       {{10, 10, clBlue}, {19, 10, clBlue}, {19, 15, clBlue}, {10, 15, clBlue}, {11, 11, clYellow},
        {18, 14, clYellow}, {20, 10, W}, {10, 16, W}}},
      {"LineTo leaves out its end point",
       [](TCanvas* c) {
         c->Pen()->SetColor(clBlack);
         c->MoveTo(5, 30);
         c->LineTo(15, 30);
       },
       {{5, 30, clBlack}, {14, 30, clBlack}, {15, 30, W}, {4, 30, W}}},
      {"diagonal LineTo",
       [](TCanvas* c) {
         c->Pen()->SetColor(clBlack);
         c->MoveTo(30, 30);
         c->LineTo(35, 35);
       },
       {{30, 30, clBlack}, {34, 34, clBlack}, {35, 35, W}}},
      {"FrameRect is one pixel inside the rectangle in the brush colour",
       [](TCanvas* c) {
         c->Brush()->SetColor(clGreen);
         c->FrameRect(Rect(40, 10, 50, 20));
       },
       {{40, 10, clGreen}, {49, 19, clGreen}, {49, 10, clGreen}, {41, 11, W}, {50, 19, W}, {49, 20, W}}},
      {"a clear brush fills nothing",
       [](TCanvas* c) {
         c->Brush()->SetStyle(bsClear);
         c->FillRect(Rect(60, 10, 70, 20));
         c->Brush()->SetStyle(bsSolid);
       },
       {{60, 10, W}, {65, 15, W}}},
  };
  for (const EdgeCase& ec : cases) {
    SCOPED_TRACE(ec.name);
    c->Brush()->SetColor(W);
    c->FillRect(rec->ClientRect());
    ec.draw(c);
    for (const Probe& p : ec.probes) EXPECT_EQ(c->Pixels(p.x, p.y), p.want) << "at " << p.x << "," << p.y;
  }
}

TEST_F(PaintingTest, XorPenDrawnTwiceRestoresEveryPixel) {
  rec->Update();
  TCanvas* c = rec->Canvas();
  for (Integer x = 0; x < 60; ++x) c->SetPixels(x, 40, RGB(static_cast<Byte>(x * 4), 100, 200));
  QImage before = c->Surface()->image->copy();
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(RGB(0x5A, 0xA5, 0xFF));
  for (int pass = 0; pass < 2; ++pass) {
    c->MoveTo(0, 40);
    c->LineTo(60, 40);
    c->Rectangle(5, 35, 50, 45);
    if (pass == 0) {
      EXPECT_NE(c->Pixels(10, 40), RGB(40, 100, 200));
    }
  }
  EXPECT_EQ(c->Surface()->image->copy(), before);
}

TEST_F(PaintingTest, TextOutPlacesTheCellTopLeftAndMovesThePen) {
  rec->Update();
  TCanvas* c = rec->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-20);
  c->Brush()->SetColor(clYellow);
  TSize size = c->TextExtent("Hi");
  c->TextOut(10, 10, "Hi");
  EXPECT_EQ(c->PenPos(), (TPoint{10 + size.cx, 10}));
  // The opaque background covers the text cell exactly.
  EXPECT_EQ(c->Pixels(10 + size.cx - 1, 10), clYellow);
  EXPECT_EQ(c->Pixels(10 + size.cx, 10), clWhite);
  EXPECT_EQ(c->Pixels(10, 10 + size.cy), clWhite);
  bool ink = false;
  for (Integer x = 10; x < 10 + size.cx; ++x)
    for (Integer y = 10; y < 10 + size.cy; ++y) ink = ink || c->Pixels(x, y) != clYellow;
  EXPECT_TRUE(ink);
  EXPECT_GT(size.cy, 18);
  EXPECT_LT(size.cy, 26);
}

TEST(Colours, SystemColoursResolveThroughTheTable) {
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(15));
  EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
  EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}

TEST(Fonts, SizeAndHeightAreOneValueAndNamesAreSubstituted) {
  TFont f;
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetHeight(-13);
  EXPECT_EQ(f.Size(), 10);
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetStyle({fsBold, fsItalic});
  f.SetColor(clRed);
  f.SetColor(clRed);  // no change
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(SubstituteFontName("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(SubstituteFontName("verdana"), "DejaVu Sans");
  EXPECT_EQ(SubstituteFontName("Tahoma"), "Liberation Sans");
  EXPECT_EQ(SubstituteFontName("DejaVu Sans Mono"), "DejaVu Sans Mono");
  QFont q = ToQFont(f);
  EXPECT_EQ(q.pixelSize(), 13);
  EXPECT_TRUE(q.bold());
  EXPECT_EQ(QFontInfo(q).family(), "Liberation Sans");
}

TEST(Canvas, WithoutSurfaceMeasuresButRefusesToDraw) {
  TCanvas c;
  EXPECT_GT(c.TextWidth("abc"), 0);
  EXPECT_THROW(c.FillRect(Rect(0, 0, 1, 1)), rtl::EInvalidOperation);
}

}  // namespace
