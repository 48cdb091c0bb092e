// Painting on offscreen grabs, as pixel tables keyed on the measured cell
// size: the frame, the right margin, the selection, the active line's
// tail, the wavy underline, the 3D frames, and no drawing while the line
// store is being updated. One real page under the main window's styler is
// saved as a PNG in the build folder.
#include <gtest/gtest.h>

#include "../MemoCorpus.h"
#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

using namespace memo;
using memotest::Grab;
using memotest::MemoOnForm;
using memotest::PixelAt;

namespace {

struct PaintedMemo : MemoOnForm {
  PaintedMemo() : MemoOnForm(320, 200) {
    memo->SetScrollBars(vcl::ssNone);
    memo->SetFocus();
    vcl::Application->ProcessMessages();
  }
  // The top-left pixel of a cell (column and row of the view): glyphs keep
  // clear of it, so it shows the cell's background.
  vcl::TColor CellBack(const QImage& img, Integer column, Integer row) {
    TRect c = memo->CellRect(column, row);
    return PixelAt(img, c.Left, c.Top);
  }
};

}  // namespace

TEST(MemoPaint, AOnePixelGreyFrame) {
  PaintedMemo f;
  f.memo->Gutter()->SetVisible(false);  // white inside the frame
  QImage img = Grab(f.memo);
  int w = f.memo->Width(), h = f.memo->Height();
  for (int y : {0, h / 2, h - 1}) {
    EXPECT_EQ(PixelAt(img, 0, y), vcl::clGray) << y;
    EXPECT_EQ(PixelAt(img, w - 1, y), vcl::clGray) << y;
  }
  for (int x : {0, w / 2, w - 1}) {
    EXPECT_EQ(PixelAt(img, x, 0), vcl::clGray) << x;
    EXPECT_EQ(PixelAt(img, x, h - 1), vcl::clGray) << x;
  }
  EXPECT_EQ(PixelAt(img, 1, h / 2), vcl::clWhite);
}

TEST(MemoPaint, TheRightMarginFollowsTheFirstVisibleColumn) {
  PaintedMemo f;
  f.memo->SetRightMargin(10);
  Integer w = f.memo->Canvas()->TextWidth("w");
  TRect t = f.memo->TextRect();
  Integer y = t.Bottom - 3;
  QImage img = Grab(f.memo);
  Integer x = t.Left + w * 10;
  EXPECT_EQ(PixelAt(img, x - 1, y), vcl::clWhite);
  EXPECT_EQ(PixelAt(img, x, y), 0xE2E2E2u);
  EXPECT_EQ(PixelAt(img, x + 1, y), 0xE2E2E2u);
  EXPECT_EQ(PixelAt(img, x + 2, y), vcl::clWhite);
  f.memo->TextStore()->Add(std::string(60, 'x'));
  f.memo->SetLeftCol(3);
  img = Grab(f.memo);
  x = t.Left + w * 7;
  EXPECT_EQ(PixelAt(img, x, y), 0xE2E2E2u) << "three cells further left";
  EXPECT_EQ(PixelAt(img, x + 1, y), 0xE2E2E2u);
  EXPECT_EQ(PixelAt(img, x + 2, y), vcl::clWhite);
}

TEST(MemoPaint, ASelectionColoursCharactersOnly) {
  PaintedMemo f;
  memotest::SetText(f.memo, {"abc", "defgh", "ij"});
  f.memo->SetSelection({1, 0}, {1, 2});
  ASSERT_TRUE(f.memo->Focused());
  QImage img = Grab(f.memo);
  EXPECT_EQ(f.CellBack(img, 0, 0), vcl::clWhite);
  EXPECT_EQ(f.CellBack(img, 1, 0), vcl::clNavy);
  EXPECT_EQ(f.CellBack(img, 2, 0), vcl::clNavy);
  EXPECT_EQ(f.CellBack(img, 3, 0), vcl::clWhite) << "after the first line's end";
  for (Integer c = 0; c < 5; ++c) EXPECT_EQ(f.CellBack(img, c, 1), vcl::clNavy) << c;
  EXPECT_EQ(f.CellBack(img, 5, 1), vcl::clWhite) << "the space after the middle line";
  EXPECT_EQ(f.CellBack(img, 0, 2), vcl::clNavy);
  EXPECT_EQ(f.CellBack(img, 1, 2), vcl::clWhite);
  memotest::SaveShot(img, "memo_selection.png");

}

TEST(MemoPaint, NoSelectionColoursWithoutTheFocus) {
  PaintedMemo f;
  memotest::SetText(f.memo, {"abc", "defgh"});
  f.memo->SetSelection({0, 0}, {3, 1});
  auto* other = new TLumCustomMemo(f.form);
  other->SetParent(f.form);
  other->SetBounds(0, 0, 5, 5);
  other->SetFocus();
  vcl::Application->ProcessMessages();
  ASSERT_FALSE(f.memo->Focused());
  QImage img = Grab(f.memo);
  TRect c = f.memo->CellRect(1, 1);
  EXPECT_EQ(PixelAt(img, c.Left, c.Top), vcl::clWhite);
  f.memo->SetHideSelection(false);
  img = Grab(f.memo);
  EXPECT_EQ(PixelAt(img, c.Left, c.Top), vcl::clNavy) << "HideSelection off shows it";
}

TEST(MemoPaint, TheActiveLinesTailKeepsItsLastPixelRow) {
  PaintedMemo f;
  memotest::SetText(f.memo, {"abc", "de", "f"});
  f.memo->ActiveLineSettings()->SetShowActiveLine(true);
  f.memo->SetActiveLine(1);
  QImage img = Grab(f.memo);
  TRect cell = f.memo->CellRect(10, 1);
  EXPECT_EQ(PixelAt(img, cell.Left, cell.Top), vcl::clNavy);
  EXPECT_EQ(PixelAt(img, cell.Left, cell.Bottom - 2), vcl::clNavy);
  EXPECT_EQ(PixelAt(img, cell.Left, cell.Bottom - 1), vcl::clWhite) << "the row's last pixel row";
  EXPECT_EQ(f.CellBack(img, 0, 1), vcl::clNavy) << "the line's characters on the active colour";
  EXPECT_EQ(f.CellBack(img, 10, 0), vcl::clWhite);
}

TEST(MemoPaint, TheWavyLineZigzags) {
  vcl::TBitmap bmp(40, 20);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(vcl::clWhite);
  c->FillRect({0, 0, 40, 20});
  TLumCustomMemo::WavyLine(c, {5, 0, 21, 10});
  // From x = 4 (even, 4 / 2 even): bottom + 1, then bottom - 1 two pixels on.
  EXPECT_EQ(c->Pixels(4, 11), vcl::clRed);
  EXPECT_EQ(c->Pixels(6, 9), vcl::clRed);
  EXPECT_EQ(c->Pixels(8, 11), vcl::clRed);
  EXPECT_EQ(c->Pixels(20, 11), vcl::clRed);
  EXPECT_EQ(c->Pixels(4, 9), vcl::clWhite);
  EXPECT_EQ(c->Pixels(24, 11), vcl::clWhite);
  vcl::TBitmap odd(40, 20);
  odd.Canvas()->FillRect({0, 0, 40, 20});
  TLumCustomMemo::WavyLine(odd.Canvas(), {2, 0, 8, 10});
  EXPECT_EQ(odd.Canvas()->Pixels(2, 9), vcl::clRed) << "x / 2 odd starts above";
}

TEST(MemoPaint, WavyUnderlinesOfALine) {
  PaintedMemo f;
  memotest::SetText(f.memo, {"misspelt word"});
  TLineProp* p = f.memo->TextStore()->CreateLineProp(0);
  p->UnderlineStarts.Add(0);
  p->UnderlineLengths.Add(8);
  f.memo->Invalidate();
  QImage img = Grab(f.memo);
  TRect row = f.memo->CellRect(0, 0);
  Integer lh = f.memo->LineHeight();
  int red = 0;
  for (int x = row.Left; x < row.Left + 8 * f.memo->CharWidth(); ++x)
    for (int y = row.Top + lh - 4; y < row.Top + lh; ++y)
      if (PixelAt(img, x, y) == vcl::clRed) ++red;
  EXPECT_GT(red, 8 * f.memo->CharWidth() / 2);
}

TEST(MemoPaint, ThreeDFramesOfEachKind) {
  struct Row {
    TColor outerTL, innerTL, innerBR, outerBR;
    bool inner;
  };
  const Row rows[] = {{0xD0D0D0, 0xFFFFFF, 0x808080, 0x000000, true},
                      {0x808080, 0x000000, 0xD0D0D0, 0xFFFFFF, true},
                      {0xFFFFFF, 0, 0, 0x808080, false},
                      {0x808080, 0, 0, 0x808080, false}};
  for (int kind = 0; kind < 4; ++kind) {
    vcl::TBitmap bmp(12, 12);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(0x123456);
    c->FillRect({0, 0, 12, 12});
    TLumCustomMemo::Draw3DFrame(c, {0, 0, 10, 10}, kind);
    const Row& r = rows[kind];
    EXPECT_EQ(c->Pixels(0, 5), r.outerTL) << kind;
    EXPECT_EQ(c->Pixels(5, 0), r.outerTL) << kind;
    EXPECT_EQ(c->Pixels(9, 5), r.outerBR) << kind;
    EXPECT_EQ(c->Pixels(5, 9), r.outerBR) << kind;
    if (r.inner) {
      EXPECT_EQ(c->Pixels(1, 5), r.innerTL) << kind;
      EXPECT_EQ(c->Pixels(8, 5), r.innerBR) << kind;
      EXPECT_EQ(c->Pixels(5, 8), r.innerBR) << kind;
    } else {
      EXPECT_EQ(c->Pixels(1, 5), 0x123456u) << kind;
      EXPECT_EQ(c->Pixels(8, 5), 0x123456u) << kind;
    }
  }
}

TEST(MemoPaint, GradientBands) {
  vcl::TRecordingCanvas c;
  TLumCustomMemo::GradientFill(&c, 0x000000, 0x0000FF, true, {0, 0, 48, 10}, 4);
  std::vector<AnsiString> bands;
  std::vector<TColor> colours;
  for (const auto& r : c.Records())
    if (r.Op == "Rectangle") {
      bands.push_back(r.Call());
      colours.push_back(r.BrushColor);
    }
  EXPECT_EQ(bands, (std::vector<AnsiString>{"Rectangle(0,0,12,10)", "Rectangle(12,0,24,10)", "Rectangle(24,0,36,10)",
                                            "Rectangle(36,0,48,10)"}));
  EXPECT_EQ(colours, (std::vector<TColor>{0x000000, 0x000055, 0x0000AA, 0x0000FF}));
  c.Clear();
  TLumCustomMemo::GradientFill(&c, 0x000000, 0x0000FF, false, {0, 0, 10, 10}, 0);
  ASSERT_EQ(c.Records().size() > 0, true);
  EXPECT_EQ(c.Calls().back(), "Rectangle(0,0,10,10)") << "a count of 0 is one band";
}

TEST(MemoPaint, NothingIsDrawnWhileTheStoreIsUpdated) {
  PaintedMemo f;
  memotest::SetText(f.memo, {"aaaa", "bbbb"});
  (void)Grab(f.memo);
  // Cells 4 to 11 of the second row hold a glyph only in the new text.
  auto newGlyphs = [&](const QImage& img) {
    int dark = 0;
    TRect from = f.memo->CellRect(4, 1), to = f.memo->CellRect(11, 1);
    for (int x = from.Left; x < to.Right; ++x)
      for (int y = from.Top; y < from.Bottom; ++y)
        if (PixelAt(img, x, y) != vcl::clWhite) ++dark;
    return dark;
  };
  f.memo->TextStore()->BeginUpdate();
  f.memo->TextStore()->Put(1, "zzzzzzzzzzzz");
  f.memo->Invalidate();
  EXPECT_EQ(newGlyphs(Grab(f.memo)), 0);
  f.memo->TextStore()->EndUpdate();
  f.memo->Invalidate();
  EXPECT_GT(newGlyphs(Grab(f.memo)), 0);
}

TEST(MemoPaint, ARealPageUnderTheMainWindowsStyler) {
  auto files = memotest::ManualFiles(true);
  if (files.empty()) GTEST_SKIP() << "the manual is not installed";
  MemoOnForm f(640, 420);
  auto* styler = new TLumHTMLMemoStyler(f.form);
  styler->CommentStyle()->TextColor = vcl::clTeal;
  styler->CommentStyle()->Style = {vcl::fsBold};
  styler->AllStyles()->Items(3)->Font()->SetColor(vcl::clPurple);
  f.memo->SetSyntaxStyles(styler);
  vcl::TFont font;
  font.SetName("Arial");
  font.SetHeight(-13);
  f.memo->SetFont(&font);
  f.memo->SetRightMarginColor(14869218);
  std::string page = memotest::Slurp(std::string(memotest::kManualRoot) + "/en/developer/debugging.html");
  f.memo->TextStore()->LoadFromString(page);
  f.memo->SetSelection({4, 10}, {20, 11});
  QImage img = Grab(f.memo);
  memotest::SaveShot(img, "memo_page.png");
  // The comment opened on line 4 colours line 5 (row 4) in the comment colour.
  bool teal = false;
  TRect row = f.memo->CellRect(0, 4);
  for (int x = row.Left; x < row.Left + 200 && !teal; ++x)
    for (int y = row.Top; y < row.Bottom && !teal; ++y) teal = PixelAt(img, x, y) == vcl::clTeal;
  EXPECT_TRUE(teal);
}

// An edit above the view changes the colours below it at once: a memo
// scrolled about and edited paints as one given the final text afresh.
TEST(MemoPaint, ColoursBelowAnEditFollowItWhereverTheViewWent) {
  auto files = memotest::ManualFiles(true);
  if (files.empty()) GTEST_SKIP() << "the manual is not installed";
  std::string page = memotest::Slurp(std::string(memotest::kManualRoot) + "/en/developer/debugging.html");
  auto setUp = [](MemoOnForm& f, TLumHTMLMemoStyler* styler) {
    f.memo->SetHiddenCaret(true);
    f.memo->SetSyntaxStyles(styler);
  };
  MemoOnForm a(480, 300), b(480, 300);
  auto* styler = new TLumHTMLMemoStyler(a.form);
  setUp(a, styler);
  setUp(b, styler);
  a.memo->TextStore()->LoadFromString(page);
  for (Integer top : {60, 0, 30}) {
    a.memo->ScrollBy(vcl::sbVertical, top - a.memo->TopLine());
    (void)Grab(a.memo);
  }
  a.memo->SetCaret(0, 9);
  a.memo->InsertText("<!-- unclosed");
  a.memo->ScrollBy(vcl::sbVertical, 40 - a.memo->TopLine());
  ASSERT_EQ(a.memo->TopLine(), 40);
  QImage edited = Grab(a.memo);
  b.memo->TextStore()->LoadFromString(a.memo->TextStore()->SaveToString());
  b.memo->ScrollBy(vcl::sbVertical, 40);
  ASSERT_EQ(b.memo->TopLine(), 40);
  QImage fresh = Grab(b.memo);
  TRect t = a.memo->TextRect();
  EXPECT_EQ(edited.copy(t.Left, t.Top, t.Width(), t.Height()), fresh.copy(t.Left, t.Top, t.Width(), t.Height()));
  memotest::SaveShot(edited, "memo_after_edit.png");
}

// A byte kept from another code page shows as its windows-1252 character
// and a NUL as a visible placeholder, each in one cell: rows holding them
// look like rows holding those characters.
TEST(MemoPaint, KeptBytesAndNulShowInOneCell) {
  PaintedMemo f;
  f.memo->SetHiddenCaret(true);
  memotest::SetText(f.memo, {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC", std::string("a\0b", 3),
                             "a\xE2\x90\x80" "b"});
  EXPECT_EQ(f.memo->TextStore()->LineLength(0), 6);
  EXPECT_EQ(f.memo->TextStore()->LineLength(2), 3);
  QImage img = Grab(f.memo);
  auto row = [&](Integer r) {
    TRect c = f.memo->CellRect(0, r);
    return img.copy(c.Left, c.Top, 8 * f.memo->CharWidth(), f.memo->LineHeight());
  };
  EXPECT_EQ(row(0), row(1));
  EXPECT_EQ(row(2), row(3));
  EXPECT_NE(row(0), row(2));
}
