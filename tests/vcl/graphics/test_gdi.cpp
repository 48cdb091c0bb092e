// The desktop's drawing rules, checked pixel by pixel on a bitmap canvas.
#include <gtest/gtest.h>

#include <functional>

#include "vcl/Gdi.h"
#include "vcl/Pictures.h"
#include "vcl/Regions.h"

namespace {

using namespace vcl;

struct Px {
  Integer x, y;
  TColor color;
};

struct PixelCase {
  const char* name;
  std::function<void(TCanvas*)> draw;
  std::vector<Px> expect;
};

// A white 20 by 20 bitmap, black pen, red brush.
std::unique_ptr<TBitmap> Blank(Integer w = 20, Integer h = 20) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->Canvas()->Pen()->SetColor(clBlack);
  b->Canvas()->Brush()->SetColor(clRed);
  return b;
}

// Draws each case on a fresh blank bitmap and checks the listed pixels.
void CheckPixelCases(const std::vector<PixelCase>& cases) {
  for (const PixelCase& k : cases) {
    SCOPED_TRACE(k.name);
    auto bmp = Blank();
    k.draw(bmp->Canvas());
    // Clipping left selected would hide pixels from reading too.
    bmp->Canvas()->SelectClipRegion(nullptr);
    for (const Px& p : k.expect)
      EXPECT_EQ(bmp->Canvas()->Pixels(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
  }
}

TEST(GdiRules, PixelTable) {
  const std::vector<PixelCase> cases = {
      {"FillRect leaves out right and bottom",
       [](TCanvas* c) { c->FillRect(Rect(2, 2, 6, 5)); },
       {{2, 2, clRed}, {5, 4, clRed}, {6, 4, clWhite}, {5, 5, clWhite}, {1, 2, clWhite}, {2, 1, clWhite}}},
      {"FillRect of an empty rectangle draws nothing",
       [](TCanvas* c) { c->FillRect(Rect(6, 6, 6, 9)); },
       {{6, 6, clWhite}, {5, 6, clWhite}}},
      {"Rectangle outlines inside its bounds and fills the rest",
       [](TCanvas* c) { c->Rectangle(2, 2, 8, 6); },
       {{2, 2, clBlack}, {7, 2, clBlack}, {8, 2, clWhite}, {7, 5, clBlack}, {7, 6, clWhite}, {2, 5, clBlack},
        {3, 3, clRed}, {6, 4, clRed}}},
      {"Rectangle without a pen fills one pixel short",
       [](TCanvas* c) {
         c->Pen()->SetStyle(psClear);
         c->Rectangle(2, 2, 8, 6);
       },
       {{2, 2, clRed}, {6, 4, clRed}, {7, 4, clWhite}, {6, 5, clWhite}}},
      {"LineTo leaves out its end point (horizontal)",
       [](TCanvas* c) {
         c->MoveTo(1, 1);
         c->LineTo(6, 1);
       },
       {{1, 1, clBlack}, {5, 1, clBlack}, {6, 1, clWhite}, {0, 1, clWhite}}},
      {"LineTo leaves out its end point (vertical, upwards)",
       [](TCanvas* c) {
         c->MoveTo(3, 9);
         c->LineTo(3, 4);
       },
       {{3, 9, clBlack}, {3, 5, clBlack}, {3, 4, clWhite}}},
      {"LineTo leaves out its end point (diagonal)",
       [](TCanvas* c) {
         c->MoveTo(0, 0);
         c->LineTo(4, 4);
       },
       {{0, 0, clBlack}, {3, 3, clBlack}, {4, 4, clWhite}}},
      {"Polyline leaves out only its last point",
       [](TCanvas* c) { c->Polyline({{1, 1}, {5, 1}, {5, 5}}); },
       {{1, 1, clBlack}, {5, 1, clBlack}, {5, 4, clBlack}, {5, 5, clWhite}}},
      {"FrameRect is one pixel just inside, in the brush colour",
       [](TCanvas* c) {
         c->Brush()->SetColor(clBlue);
         c->FrameRect(Rect(2, 2, 7, 6));
       },
       {{2, 2, clBlue}, {6, 2, clBlue}, {6, 5, clBlue}, {2, 5, clBlue}, {3, 3, clWhite}, {7, 2, clWhite},
        {2, 6, clWhite}}},
      {"Pixels write and read back",
       [](TCanvas* c) { c->SetPixels(4, 7, clLime); },
       {{4, 7, clLime}, {5, 7, clWhite}}},
      {"Clipping holds drawing inside and save and restore undo it",
       [](TCanvas* c) {
         Integer level = c->SaveDC();
         EXPECT_EQ(level, 1);
         c->IntersectClipRect(Rect(5, 5, 10, 10));
         c->FillRect(Rect(0, 0, 20, 20));
         EXPECT_TRUE(c->RestoreDC(-1));
         c->Brush()->SetColor(clBlue);
         c->FillRect(Rect(0, 0, 2, 2));
       },
       {{5, 5, clRed}, {9, 9, clRed}, {4, 5, clWhite}, {10, 5, clWhite}, {5, 10, clWhite}, {0, 0, clBlue},
        {1, 1, clBlue}}},
      {"Excluded rectangles stay untouched",
       [](TCanvas* c) {
         c->ExcludeClipRect(Rect(3, 3, 6, 6));
         c->FillRect(Rect(0, 0, 10, 10));
       },
       {{2, 3, clRed}, {3, 3, clWhite}, {5, 5, clWhite}, {6, 5, clRed}}},
      {"Nested saves restore to the level asked for",
       [](TCanvas* c) {
         c->SaveDC();
         c->IntersectClipRect(Rect(0, 0, 10, 10));
         c->SaveDC();
         c->IntersectClipRect(Rect(0, 0, 5, 5));
         c->SaveDC();
         EXPECT_TRUE(c->RestoreDC(2));  // back to the 0..10 clipping
         c->FillRect(Rect(0, 0, 20, 20));
         EXPECT_FALSE(c->RestoreDC(5));
       },
       {{7, 7, clRed}, {10, 7, clWhite}}},
      {"A selected region clips; none removes clipping",
       [](TCanvas* c) {
         TRegion rgn = TRegion(Rect(0, 0, 4, 4)).Union(TRegion(Rect(10, 10, 14, 14)));
         c->SelectClipRegion(&rgn);
         c->FillRect(Rect(0, 0, 20, 20));
         c->SelectClipRegion(nullptr);
         c->Brush()->SetColor(clBlue);
         c->FillRect(Rect(18, 0, 20, 2));
       },
       {{3, 3, clRed}, {4, 4, clWhite}, {10, 10, clRed}, {9, 10, clWhite}, {19, 1, clBlue}}},
      {"Focus rectangle inverts every other pixel of its frame",
       [](TCanvas* c) { c->DrawFocusRect(Rect(2, 2, 8, 6)); },
       {{2, 2, clBlack}, {3, 2, clWhite}, {4, 2, clBlack}, {3, 3, clWhite}}},
      {"Flood fill to a border stops at it",
       [](TCanvas* c) {
         c->Pen()->SetColor(clGray);
         c->Brush()->SetStyle(bsClear);
         c->Rectangle(2, 2, 10, 10);
         c->Brush()->SetColor(clGreen);
         c->FloodFill(5, 5, clGray, fsBorder);
       },
       {{5, 5, clGreen}, {3, 3, clGreen}, {8, 8, clGreen}, {2, 2, clGray}, {1, 1, clWhite}, {11, 5, clWhite}}},
      {"Flood fill of a surface colour",
       [](TCanvas* c) {
         c->FillRect(Rect(0, 0, 5, 5));
         c->Brush()->SetColor(clBlue);
         c->FloodFill(1, 1, clRed, fsSurface);
       },
       {{0, 0, clBlue}, {4, 4, clBlue}, {5, 5, clWhite}}},
  };
  CheckPixelCases(cases);
}

TEST(GdiRules, PixelsOutsideSurfaceOrClippingAreInvalid) {
  auto bmp = Blank();
  TCanvas* c = bmp->Canvas();
  EXPECT_EQ(c->Pixels(20, 0), CLR_INVALID);
  EXPECT_EQ(c->Pixels(-1, 5), CLR_INVALID);
  c->IntersectClipRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(c->Pixels(6, 6), CLR_INVALID);
  EXPECT_EQ(c->Pixels(4, 4), clWhite);
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 5, 5));
}

// Fills the bitmap with a pattern of many colours, so that an operation
// that does not undo itself shows.
void Pattern(TBitmap* b) {
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x)
      b->Canvas()->SetPixels(x, y, RGB(static_cast<Byte>(x * 13), static_cast<Byte>(y * 17), static_cast<Byte>(x * y)));
}

std::vector<TColor> All(TBitmap* b) {
  std::vector<TColor> v;
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x) v.push_back(b->Canvas()->Pixels(x, y));
  return v;
}

TEST(GdiRules, InvertingModesDrawnTwiceRestoreEveryPixel) {
  struct Case {
    const char* name;
    TPenMode mode;
    TBrushStyle brush;
    std::function<void(TCanvas*)> draw;
  };
  auto shapes = [](TCanvas* c) {
    c->MoveTo(1, 1);
    c->LineTo(18, 13);
    c->Rectangle(3, 3, 15, 12);
    c->Ellipse(2, 5, 17, 19);
    c->Polygon({{0, 19}, {10, 2}, {19, 19}});
    c->RoundRect(4, 4, 16, 16, 6, 6);
    c->Arc(1, 1, 19, 19, 19, 10, 10, 1);
    c->Polyline({{0, 10}, {19, 10}, {19, 0}});
  };
  const std::vector<Case> cases = {
      {"XOR pen, clear brush", pmXor, bsClear, shapes},
      {"XOR pen, solid brush", pmXor, bsSolid, shapes},
      {"NOT pen, clear brush", pmNot, bsClear, shapes},
      {"XOR wide pen", pmXor, bsClear, [](TCanvas* c) {
         c->Pen()->SetWidth(3);
         c->MoveTo(2, 2);
         c->LineTo(17, 15);
       }},
  };
  // Every pixel format of a bitmap.
  std::vector<std::pair<TPixelFormat, const Case*>> runs;
  for (TPixelFormat format : {pfDevice, pf24bit, pf32bit})
    for (const Case& k : cases) runs.push_back({format, &k});
  for (auto [format, kp] : runs) {
    const Case& k = *kp;
    SCOPED_TRACE(k.name);
    SCOPED_TRACE(static_cast<int>(format));
    auto bmp = Blank();
    bmp->SetPixelFormat(format);
    Pattern(bmp.get());
    std::vector<TColor> before = All(bmp.get());
    TCanvas* c = bmp->Canvas();
    c->Pen()->SetColor(clYellow);
    c->Pen()->SetMode(k.mode);
    c->Brush()->SetColor(clAqua);
    c->Brush()->SetStyle(k.brush);
    k.draw(c);
    EXPECT_NE(All(bmp.get()), before) << "the first drawing changed nothing";
    c->Pen()->SetWidth(1);
    k.draw(c);
    EXPECT_EQ(All(bmp.get()), before);
  }
}

TEST(GdiRules, FocusRectDrawnTwiceLeavesNothing) {
  auto bmp = Blank();
  Pattern(bmp.get());
  std::vector<TColor> before = All(bmp.get());
  bmp->Canvas()->DrawFocusRect(Rect(1, 2, 17, 15));
  EXPECT_NE(All(bmp.get()), before);
  bmp->Canvas()->DrawFocusRect(Rect(1, 2, 17, 15));
  EXPECT_EQ(All(bmp.get()), before);
}

// The rectangle around every pixel that is not white.
TRect GdiInk(TBitmap* b, TColor background = clWhite) {
  TRect r{b->Width(), b->Height(), -1, -1};
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x)
      if (b->Canvas()->Pixels(x, y) != background) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

TEST(GdiRules, ShapesStayInsideTheirBounds) {
  struct Case {
    const char* name;
    std::function<void(TCanvas*)> draw;
    TRect ink;
  };
  const std::vector<Case> cases = {
      {"Ellipse", [](TCanvas* c) { c->Ellipse(2, 3, 14, 11); }, Rect(2, 3, 14, 11)},
      {"RoundRect", [](TCanvas* c) { c->RoundRect(1, 1, 15, 9, 6, 6); }, Rect(1, 1, 15, 9)},
      {"Polygon through its points", [](TCanvas* c) { c->Polygon({{3, 2}, {12, 2}, {7, 10}}); }, Rect(3, 2, 13, 11)},
      {"Rectangle", [](TCanvas* c) { c->Rectangle(4, 5, 9, 7); }, Rect(4, 5, 9, 7)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    auto bmp = Blank();
    k.draw(bmp->Canvas());
    EXPECT_EQ(GdiInk(bmp.get()), k.ink);
  }
}

TEST(GdiRules, ShapesNeitherUseNorMoveThePenPosition) {
  auto bmp = Blank();
  TCanvas* c = bmp->Canvas();
  c->MoveTo(3, 4);
  c->Rectangle(10, 10, 15, 15);
  c->Ellipse(10, 10, 15, 15);
  c->RoundRect(10, 10, 15, 15, 2, 2);
  c->Polygon({{0, 0}, {5, 0}, {0, 5}});
  c->Polyline({{0, 0}, {5, 5}});
  c->Arc(0, 0, 9, 9, 9, 4, 4, 0);
  EXPECT_EQ(c->PenPos(), Point(3, 4));
  c->LineTo(6, 4);
  EXPECT_EQ(c->PenPos(), Point(6, 4));
}

TEST(GdiRules, EllipseIsFilledWithTheBrushAndOutlinedWithThePen) {
  auto bmp = Blank();
  bmp->Canvas()->Ellipse(0, 0, 20, 20);
  EXPECT_EQ(bmp->Canvas()->Pixels(10, 10), clRed);
  EXPECT_EQ(bmp->Canvas()->Pixels(10, 0), clBlack);
  EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), clWhite);
}

TEST(GdiRules, CopiesBetweenCanvases) {
  // Source: red with a blue 2 by 2 square at (1, 1).
  TBitmap src(4, 4);
  src.Canvas()->Brush()->SetColor(clRed);
  src.Canvas()->FillRect(Rect(0, 0, 4, 4));
  src.Canvas()->Brush()->SetColor(clBlue);
  src.Canvas()->FillRect(Rect(1, 1, 3, 3));

  const std::vector<PixelCase> cases = {
      {"CopyRect copies the pixels",
       [&](TCanvas* c) { c->CopyRect(Rect(10, 10, 14, 14), src.Canvas(), Rect(0, 0, 4, 4)); },
       {{10, 10, clRed}, {11, 11, clBlue}, {13, 13, clRed}, {14, 14, clWhite}}},
      {"CopyRect stretches",
       [&](TCanvas* c) { c->CopyRect(Rect(0, 0, 8, 8), src.Canvas(), Rect(0, 0, 4, 4)); },
       {{1, 1, clRed}, {2, 2, clBlue}, {5, 5, clBlue}, {6, 6, clRed}}},
      {"A transparent colour is left out",
       [&](TCanvas* c) { c->BlitFrom(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 4, 4), SRCCOPY, clRed); },
       {{0, 0, clWhite}, {1, 1, clBlue}, {3, 3, clWhite}}},
      {"BrushCopy puts the brush where the transparent colour was",
       [&](TCanvas* c) {
         c->Brush()->SetColor(clLime);
         c->BrushCopy(Rect(0, 0, 4, 4), &src, Rect(0, 0, 4, 4), clRed);
       },
       {{0, 0, clLime}, {1, 1, clBlue}, {3, 0, clLime}}},
      {"Raster operations combine source and destination",
       [&](TCanvas* c) {
         c->Brush()->SetColor(clBlack);
         c->FillRect(Rect(0, 0, 2, 4));
         c->BlitFrom(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 4, 4), SRCAND);
       },
       {{0, 0, clBlack}, {1, 1, clBlack}, {2, 2, clBlue}, {3, 3, clRed}}},
      {"Copy mode applies to CopyRect",
       [&](TCanvas* c) {
         c->SetCopyMode(cmNotSrcCopy);
         c->CopyRect(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 4, 4));
       },
       {{0, 0, clAqua}, {1, 1, clYellow}}},
      {"A copy respects clipping",
       [&](TCanvas* c) {
         c->IntersectClipRect(Rect(0, 0, 2, 2));
         c->CopyRect(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 4, 4));
       },
       {{0, 0, clRed}, {1, 1, clBlue}, {2, 2, clWhite}}},
      {"Draw puts a bitmap at its natural size",
       [&](TCanvas* c) { c->Draw(5, 6, &src); },
       {{5, 6, clRed}, {6, 7, clBlue}, {8, 9, clRed}, {9, 10, clWhite}}},
      {"StretchDraw scales a bitmap",
       [&](TCanvas* c) { c->StretchDraw(Rect(0, 0, 12, 12), &src); },
       {{2, 2, clRed}, {3, 3, clBlue}, {8, 8, clBlue}, {9, 9, clRed}, {12, 12, clWhite}}},
  };
  CheckPixelCases(cases);
}

TEST(GdiRules, SourceInvertTwiceRestores) {
  auto bmp = Blank();
  Pattern(bmp.get());
  std::vector<TColor> before = All(bmp.get());
  TBitmap src(20, 20);
  Pattern(&src);
  src.Canvas()->Brush()->SetColor(clFuchsia);
  src.Canvas()->FillRect(Rect(3, 3, 9, 9));
  bmp->Canvas()->BlitFrom(Rect(0, 0, 20, 20), src.Canvas(), Rect(0, 0, 20, 20), SRCINVERT);
  bmp->Canvas()->BlitFrom(Rect(0, 0, 20, 20), src.Canvas(), Rect(0, 0, 20, 20), SRCINVERT);
  EXPECT_EQ(All(bmp.get()), before);
}

TEST(GdiRules, RasterOperationTruthTable) {
  struct Case {
    Cardinal rop;
    Cardinal expect;  // for pattern 0xF0, source 0xCC, destination 0xAA
  };
  const Case cases[] = {{SRCCOPY, 0xCC}, {SRCPAINT, 0xEE}, {SRCAND, 0x88}, {SRCINVERT, 0x66},
                        {NOTSRCCOPY, 0x33}, {DSTINVERT, 0x55}, {PATCOPY, 0xF0}, {BLACKNESS, 0x00},
                        {WHITENESS, 0xFF}, {SRCERASE, 0x44}, {MERGEPAINT, 0xBB}, {PATINVERT, 0x5A}};
  for (const Case& k : cases) EXPECT_EQ(ApplyRop3(k.rop, 0xF0, 0xCC, 0xAA) & 0xFF, k.expect) << std::hex << k.rop;
}

TEST(GdiRules, RaisedAndSunkenEdges) {
  struct Case {
    const char* name;
    Cardinal edge;
    Cardinal flags;
    std::vector<Px> expect;
    TRect adjusted;
  };
  auto sys = [](int i) { return GetSysColor(i); };
  const std::vector<Case> cases = {
      {"raised: light top-left, dark bottom-right, both rings",
       EDGE_RAISED, BF_RECT | BF_ADJUST,
       {{0, 0, sys(22)}, {8, 0, sys(22)}, {9, 0, sys(21)}, {0, 9, sys(21)}, {9, 9, sys(21)}, {1, 1, sys(20)},
        {8, 8, sys(16)}, {2, 2, clWhite}},
       Rect(2, 2, 8, 8)},
      {"sunken: shadow top-left, highlight bottom-right",
       EDGE_SUNKEN, BF_RECT | BF_MIDDLE,
       {{0, 0, sys(16)}, {9, 9, sys(20)}, {1, 1, sys(21)}, {8, 8, sys(22)}, {4, 4, sys(15)}},
       Rect(0, 0, 10, 10)},
      {"only the sides asked for",
       BDR_RAISEDOUTER, BF_TOP | BF_ADJUST,
       {{0, 0, sys(22)}, {0, 1, clWhite}, {9, 9, clWhite}},
       Rect(0, 1, 10, 10)},
      {"flat: shadow all round",
       EDGE_SUNKEN, BF_RECT | BF_FLAT,
       {{0, 0, sys(16)}, {9, 9, sys(16)}, {1, 1, sys(15)}},
       Rect(0, 0, 10, 10)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    auto bmp = Blank();
    TRect r = Rect(0, 0, 10, 10);
    EXPECT_TRUE(bmp->Canvas()->DrawEdge(r, k.edge, k.flags));
    EXPECT_EQ(r, k.adjusted);
    for (const Px& p : k.expect)
      EXPECT_EQ(bmp->Canvas()->Pixels(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
  }
}

TEST(GdiRules, FrameControls) {
  auto sys = [](int i) { return GetSysColor(i); };
  {
    SCOPED_TRACE("flat combo-box button: shadow frame, face, dark arrow in the middle");
    auto bmp = Blank(17, 17);
    TRect r = Rect(0, 0, 17, 17);
    EXPECT_TRUE(bmp->Canvas()->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT));
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), sys(16));
    EXPECT_EQ(bmp->Canvas()->Pixels(16, 16), sys(16));
    EXPECT_EQ(bmp->Canvas()->Pixels(2, 2), sys(15));
    EXPECT_EQ(bmp->Canvas()->Pixels(8, 7), sys(18));
    // A downward arrow is wider at its top than at its bottom.
    auto row = [&](Integer y) {
      Integer n = 0;
      for (Integer x = 0; x < 17; ++x) n += bmp->Canvas()->Pixels(x, y) == sys(18);
      return n;
    };
    Integer top = 0;
    while (top < 17 && row(top) == 0) ++top;
    Integer bottom = top;
    while (bottom < 17 && row(bottom) > 0) ++bottom;
    EXPECT_GT(bottom - top, 1);
    EXPECT_GT(row(top), row(bottom - 1));
  }
  {
    SCOPED_TRACE("checked check box shows its mark; unchecked does not");
    auto on = Blank(13, 13);
    auto off = Blank(13, 13);
    TRect r = Rect(0, 0, 13, 13);
    on->Canvas()->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    off->Canvas()->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(off->Canvas()->Pixels(6, 6), sys(5));
    EXPECT_EQ(GdiInk(on.get(), sys(5)).Width() > 0, true);
    Integer marks = 0;
    for (Integer y = 2; y < 11; ++y)
      for (Integer x = 2; x < 11; ++x) marks += on->Canvas()->Pixels(x, y) == sys(8);
    EXPECT_EQ(marks, 21);  // seven columns of three
  }
  {
    SCOPED_TRACE("push button: raised edge, adjusted rectangle");
    auto bmp = Blank();
    TRect r = Rect(0, 0, 20, 10);
    bmp->Canvas()->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(r, Rect(2, 2, 18, 8));
    EXPECT_EQ(bmp->Canvas()->Pixels(19, 9), sys(21));
    EXPECT_EQ(bmp->Canvas()->Pixels(5, 5), sys(15));
  }
  auto bmp = Blank();
  TRect r = Rect(0, 0, 10, 10);
  EXPECT_FALSE(bmp->Canvas()->DrawFrameControl(r, 99, 0));
}

TEST(GdiRules, AnEmptyBitmapHasNoDrawingArea) {
  TBitmap empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Canvas()->ClipRect(), TRect{});
}

TEST(Regions, Combine) {
  TRegion a(Rect(0, 0, 10, 10));
  TRegion b(Rect(5, 5, 15, 15));
  EXPECT_EQ(a.Union(b).Bounds(), Rect(0, 0, 15, 15));
  EXPECT_TRUE(a.Union(b).Contains({12, 12}));
  EXPECT_FALSE(a.Union(b).Contains({12, 2}));
  EXPECT_EQ(a.Intersect(b), TRegion(Rect(5, 5, 10, 10)));
  EXPECT_FALSE(a.Subtract(b).Contains({7, 7}));
  EXPECT_TRUE(a.Subtract(b).Contains({2, 7}));
  EXPECT_TRUE(a.Xor(b).Contains({12, 12}));
  EXPECT_FALSE(a.Xor(b).Contains({7, 7}));
  EXPECT_TRUE(TRegion(Rect(3, 3, 3, 9)).IsEmpty());
  TRegion c = a;
  c.Offset(5, 5);
  EXPECT_EQ(c.Bounds(), Rect(5, 5, 15, 15));
}

}  // namespace

namespace {

// A sheet of the drawing calls, saved into the build folder as
// vcl_drawing_gallery.png for a person to look at.
TEST(GdiRules, GallerySheetForPeople) {
  TBitmap sheet(320, 200);
  TCanvas* c = sheet.Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 320, 200));
  TRect r = Rect(10, 10, 60, 40);
  c->DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  r = Rect(70, 10, 120, 40);
  c->DrawEdge(r, EDGE_SUNKEN, BF_RECT);
  r = Rect(130, 10, 180, 40);
  c->DrawEdge(r, EDGE_ETCHED, BF_RECT);
  Cardinal parts[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT, DFCS_SCROLLCOMBOBOX | DFCS_FLAT};
  for (int i = 0; i < 5; ++i) {
    r = Bounds(190 + i * 22, 10, 17, 17);
    c->DrawFrameControl(r, DFC_SCROLL, parts[i]);
  }
  Cardinal boxes[] = {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONRADIO,
                      DFCS_BUTTONRADIO | DFCS_CHECKED, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE};
  for (int i = 0; i < 5; ++i) {
    r = Bounds(10 + i * 20, 50, 13, 13);
    c->DrawFrameControl(r, DFC_BUTTON, boxes[i]);
  }
  Cardinal captions[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP};
  for (int i = 0; i < 5; ++i) {
    r = Bounds(120 + i * 20, 48, 16, 14);
    c->DrawFrameControl(r, DFC_CAPTION, captions[i]);
  }
  c->Pen()->SetColor(clNavy);
  c->Brush()->SetColor(clSkyBlue);
  c->Ellipse(10, 75, 60, 115);
  c->RoundRect(70, 75, 120, 115, 12, 12);
  c->Polygon({{130, 115}, {155, 75}, {180, 115}});
  c->Arc(190, 75, 240, 115, 240, 95, 215, 75);
  c->DrawFocusRect(Rect(250, 75, 300, 115));
  c->Font()->SetName("Tahoma");
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  r = Rect(10, 125, 150, 190);
  c->DrawText("Word-broken text in a rectangle, with an &accelerator.", r, DT_WORDBREAK);
  r = Rect(160, 125, 310, 145);
  c->DrawText("An ellipsis ends text that does not fit", r, DT_SINGLELINE | DT_END_ELLIPSIS);
  r = Rect(160, 150, 310, 190);
  c->DrawText("Centred", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  c->Brush()->SetColor(clGray);
  c->FrameRect(Rect(160, 150, 310, 190));

  TPngImage png;
  png.Assign(&sheet);
  AnsiString file = AnsiString(TOLVANE_BIN_DIR) + "/../vcl_drawing_gallery.png";
  png.SaveToFile(file);
  TPicture back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.Width(), 320);
  EXPECT_EQ(back.Height(), 200);
}

}  // namespace

namespace {

TEST(GdiCalls, DesktopCallsReachTheCanvas) {
  TBitmap src(4, 4);
  src.Canvas()->Brush()->SetColor(clRed);
  src.Canvas()->FillRect(Rect(0, 0, 4, 4));
  src.Canvas()->SetPixels(1, 1, clBlue);
  TBitmap dst(10, 10);
  TCanvas* c = dst.Canvas();
  EXPECT_TRUE(BitBlt(c, 2, 2, 4, 4, src.Canvas(), 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(c, 3, 3), clBlue);
  EXPECT_EQ(GetPixel(c, 2, 2), clRed);
  EXPECT_TRUE(TransparentBlt(c, 6, 6, 4, 4, src.Canvas(), 0, 0, 4, 4, clRed));
  EXPECT_EQ(GetPixel(c, 6, 6), clWhite);
  EXPECT_EQ(GetPixel(c, 7, 7), clBlue);
  EXPECT_TRUE(StretchBlt(c, 0, 0, 2, 2, src.Canvas(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(GetPixel(c, 0, 0), clRed);
  c->Brush()->SetColor(clWhite);
  EXPECT_TRUE(PatBlt(c, 0, 8, 2, 2, PATINVERT));  // white pattern XOR white
  EXPECT_EQ(GetPixel(c, 0, 9), clBlack);
  EXPECT_TRUE(PatBlt(c, 0, 8, 1, 1, DSTINVERT));
  EXPECT_EQ(GetPixel(c, 0, 8), clWhite);
  EXPECT_EQ(SaveDC(c), 1);
  IntersectClipRect(c, 0, 0, 1, 1);
  EXPECT_EQ(GetPixel(c, 5, 5), CLR_INVALID);
  EXPECT_TRUE(RestoreDC(c, 1));
  EXPECT_EQ(SetPixel(c, 5, 5, clLime), clLime);
  EXPECT_EQ(GetPixel(c, 5, 5), clLime);
}

}  // namespace
