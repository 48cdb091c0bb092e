// Text in rectangles: layouts in exact numbers through the measuring
// canvases, and the same rules in pixels on a real font.
#include <gtest/gtest.h>

#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

namespace {

using namespace vcl;

// Advance 8, ascent 10, descent 3: a line is 13 pixels high, a tab stop
// every 64 pixels.
struct LayoutCase {
  const char* name;
  AnsiString text;
  TRect rect;
  Cardinal flags;
  Integer result;
  std::vector<AnsiString> calls;
};

TEST(DrawText, LayoutThroughTheRecordingCanvas) {
  const std::vector<LayoutCase> cases = {
      {"one line at the top left", "abc", Rect(0, 0, 100, 40), DT_SINGLELINE, 13,
       {"SaveDC()", "IntersectClipRect(0,0,100,40)", "TextOut(0,0) 'abc'", "RestoreDC(-1)"}},
      {"centred", "abc", Rect(0, 0, 100, 40), DT_SINGLELINE | DT_CENTER | DT_NOCLIP, 13, {"TextOut(38,0) 'abc'"}},
      {"right-aligned", "abc", Rect(10, 0, 100, 40), DT_SINGLELINE | DT_RIGHT | DT_NOCLIP, 13, {"TextOut(76,0) 'abc'"}},
      {"vertically centred: the offset to the text's bottom is answered", "abc", Rect(0, 0, 100, 40),
       DT_SINGLELINE | DT_VCENTER | DT_NOCLIP, 26, {"TextOut(0,13) 'abc'"}},
      {"at the bottom", "abc", Rect(0, 0, 100, 40), DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP, 40,
       {"TextOut(0,27) 'abc'"}},
      {"vertical centring needs a single line", "abc", Rect(0, 0, 100, 40), DT_VCENTER | DT_NOCLIP, 13,
       {"TextOut(0,0) 'abc'"}},
      {"line breaks make lines", "one\r\ntwo\nsix", Rect(0, 0, 100, 60), DT_NOCLIP, 39,
       {"TextOut(0,0) 'one'", "TextOut(0,13) 'two'", "TextOut(0,26) 'six'"}},
      {"word breaks at spaces; spaces at a break vanish", "aaa bbb  ccc dd", Rect(0, 0, 60, 60),
       DT_WORDBREAK | DT_NOCLIP, 26, {"TextOut(0,0) 'aaa bbb'", "TextOut(0,13) 'ccc dd'"}},
      {"a word wider than the line stays whole", "abcdefghij k", Rect(0, 0, 40, 60), DT_WORDBREAK | DT_NOCLIP, 26,
       {"TextOut(0,0) 'abcdefghij'", "TextOut(0,13) 'k'"}},
      {"end ellipsis cuts characters until the dots fit", "abcdefghij", Rect(0, 0, 50, 20),
       DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP, 13, {"TextOut(0,0) 'abc...'"}},
      {"with word breaks only the end of the text gets the dots", "abcdefghij k abcdefghij", Rect(0, 0, 40, 60),
       DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOCLIP, 39,
       {"TextOut(0,0) 'abcdefghij'", "TextOut(0,13) 'k'", "TextOut(0,26) 'ab...'"}},
      {"text that fits keeps no ellipsis", "abcdef", Rect(0, 0, 50, 20), DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP,
       13, {"TextOut(0,0) 'abcdef'"}},
      {"a prefix underlines its character", "&File", Rect(0, 0, 100, 20), DT_SINGLELINE | DT_NOCLIP, 13,
       {"TextOut(0,0) 'File'", "FillRect(0,11,8,12)"}},
      {"the prefix of a later character", "Sa&ve", Rect(4, 2, 100, 20), DT_SINGLELINE | DT_NOCLIP, 13,
       {"TextOut(4,2) 'Save'", "FillRect(20,13,28,14)"}},
      {"a doubled ampersand is one", "a&&b", Rect(0, 0, 100, 20), DT_SINGLELINE | DT_NOCLIP, 13,
       {"TextOut(0,0) 'a&b'"}},
      {"no prefix processing", "&File", Rect(0, 0, 100, 20), DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, 13,
       {"TextOut(0,0) '&File'"}},
      {"hidden prefix: stripped, not underlined", "&File", Rect(0, 0, 100, 20),
       DT_SINGLELINE | DT_HIDEPREFIX | DT_NOCLIP, 13, {"TextOut(0,0) 'File'"}},
      {"tabs expand to stops of eight average characters", "a\tbb\tc", Rect(0, 0, 300, 20),
       DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP, 13,
       {"TextOut(0,0) 'a'", "TextOut(64,0) 'bb'", "TextOut(128,0) 'c'"}},
      {"characters, not bytes, are measured", "\xC3\xA9t\xC3\xA9", Rect(0, 0, 100, 20),
       DT_SINGLELINE | DT_CENTER | DT_NOCLIP, 13, {"TextOut(38,0) '\xC3\xA9t\xC3\xA9'"}},
      {"empty text draws nothing", "", Rect(0, 0, 100, 20), DT_SINGLELINE, 0, {}},
  };
  for (const LayoutCase& k : cases) {
    SCOPED_TRACE(k.name);
    TRecordingCanvas c;
    TRect r = k.rect;
    EXPECT_EQ(c.DrawText(k.text, r, k.flags), k.result);
    EXPECT_EQ(c.Calls(), k.calls);
    EXPECT_EQ(r, k.rect) << "drawing leaves the rectangle alone";
  }
}

TEST(DrawText, CalcRectGivesTheSpaceNeeded) {
  struct Case {
    const char* name;
    AnsiString text;
    TRect rect;
    Cardinal flags;
    TRect expect;
  };
  const std::vector<Case> cases = {
      {"single line", "abcd", Rect(5, 5, 100, 100), DT_SINGLELINE, Rect(5, 5, 37, 18)},
      {"word-broken lines narrow the rectangle to the widest", "aaa bbb ccc", Rect(0, 0, 40, 0), DT_WORDBREAK,
       Rect(0, 0, 24, 39)},
      {"lines by line breaks", "a\r\nbbbbb", Rect(0, 0, 10, 0), 0, Rect(0, 0, 40, 26)},
      {"a long word widens the rectangle", "abcdefgh", Rect(0, 0, 16, 0), DT_WORDBREAK, Rect(0, 0, 64, 13)},
      {"ellipsis holds the width", "abcdefghij", Rect(0, 0, 50, 0), DT_SINGLELINE | DT_END_ELLIPSIS,
       Rect(0, 0, 48, 13)},
      {"empty text needs nothing", "", Rect(3, 3, 50, 50), DT_WORDBREAK, Rect(3, 3, 3, 3)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TRecordingCanvas c;
    TRect r = k.rect;
    Integer h = c.DrawText(k.text, r, k.flags | DT_CALCRECT);
    EXPECT_EQ(r, k.expect);
    EXPECT_EQ(h, k.expect.Height());
    EXPECT_TRUE(c.Calls().empty()) << "measuring draws nothing";
  }
}

// The rectangle around every pixel that is not white.
TRect Ink(TBitmap* b) {
  TRect r{b->Width(), b->Height(), -1, -1};
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x)
      if (b->Canvas()->Pixels(x, y) != clWhite) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

std::unique_ptr<TBitmap> Page() {
  auto b = std::make_unique<TBitmap>(200, 120);
  b->Canvas()->Font()->SetName("Arial");
  b->Canvas()->Font()->SetHeight(-13);
  b->Canvas()->Font()->SetColor(clBlack);
  b->Canvas()->Brush()->SetStyle(bsClear);
  return b;
}

TEST(DrawText, RealFontDrawsInTheRectangleCalcRectGave) {
  auto page = Page();
  TCanvas* c = page->Canvas();
  const AnsiString text = "The quick brown fox jumps over the lazy dog";
  TRect r = Rect(10, 10, 90, 10);
  Integer h = c->DrawText(text, r, DT_WORDBREAK | DT_CALCRECT);
  Integer line = c->GetTextMetrics().Height;
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Top, 10);
  EXPECT_LE(r.Right, 90);
  EXPECT_EQ(h, r.Height());
  EXPECT_EQ(h % line, 0);
  EXPECT_GE(h / line, 3);

  c->DrawText(text, r, DT_WORDBREAK);
  TRect ink = Ink(page.get());
  EXPECT_GE(ink.Left, r.Left);
  EXPECT_GE(ink.Top, r.Top);
  EXPECT_LE(ink.Right, r.Right);
  EXPECT_LE(ink.Bottom, r.Bottom);
  // The last line is there: ink reaches into the last line's band.
  EXPECT_GT(ink.Bottom, r.Bottom - line);
}

TEST(DrawText, RealFontEllipsisAndVerticalCentring) {
  {
    SCOPED_TRACE("end ellipsis keeps the text inside a narrow rectangle");
    auto page = Page();
    TRect r = Rect(0, 0, 60, 30);
    page->Canvas()->DrawText("A long caption that cannot fit", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    TRect ink = Ink(page.get());
    EXPECT_LE(ink.Right, 60);
    EXPECT_GT(ink.Right, 40);
  }
  {
    SCOPED_TRACE("without the ellipsis it runs on and is clipped at the edge");
    auto page = Page();
    TRect r = Rect(0, 0, 60, 30);
    page->Canvas()->DrawText("A long caption that cannot fit", r, DT_SINGLELINE);
    EXPECT_EQ(Ink(page.get()).Right, 60);
  }
  {
    SCOPED_TRACE("vertical centring puts the line's cell in the middle");
    auto page = Page();
    TRect r = Rect(0, 0, 200, 100);
    page->Canvas()->Brush()->SetColor(clYellow);  // the cell shows
    page->Canvas()->DrawText("Centre", r, DT_SINGLELINE | DT_VCENTER);
    Integer line = page->Canvas()->GetTextMetrics().Height;
    Integer top = (100 - line) / 2;
    EXPECT_EQ(page->Canvas()->Pixels(0, top), clYellow);
    EXPECT_EQ(page->Canvas()->Pixels(0, top - 1), clWhite);
    EXPECT_EQ(page->Canvas()->Pixels(0, top + line - 1), clYellow);
    EXPECT_EQ(page->Canvas()->Pixels(0, top + line), clWhite);
  }
}

TEST(DrawText, FakeMetricsLayoutInPixels) {
  // Boxes 7 pixels wide and 10 high every 8 pixels, on the 13-pixel cell.
  TFakeMetricsCanvas c(100, 40);
  c.Font()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);
  TRect r = Rect(0, 0, 100, 40);
  c.DrawText("ab c", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  // 4 characters: 32 wide, from x 34; line 13 high from y 13.
  struct Case {
    Integer x, y;
    TColor color;
  };
  const Case cases[] = {{34, 13, clBlack}, {40, 22, clBlack}, {41, 13, clYellow}, {42, 13, clBlack},
                        {34, 23, clYellow}, {50, 13, clYellow}, {58, 13, clBlack}, {64, 13, clBlack},
                        {65, 13, clYellow}, {66, 13, clWhite}, {33, 13, clWhite}, {34, 12, clWhite},
                        {34, 25, clYellow}, {34, 26, clWhite}};
  for (const Case& k : cases) EXPECT_EQ(c.Pixels(k.x, k.y), k.color) << k.x << "," << k.y;
}

}  // namespace
