// The gutter: its strip and background in pixels, the rows it hands to
// OnGutterDraw, the default drawing of a row on a recording canvas, and the
// preset looks.
#include <gtest/gtest.h>

#include <set>

#include "MemoTestSupport.h"
#include "memo/LumMemo.h"
#include "memo/LumMemoSettings.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

using namespace memotest;

namespace {

struct GutterMemo {
  GutterMemo() : canvas(0, 0, {}) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetClientWidth(340);
    form->SetClientHeight(240);
    memo = new TLumMemo(form);
    memo->SetParent(form);
    memo->SetBounds(10, 10, 300, 200);
    memo->SetMeasuringCanvas(&canvas);
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~GutterMemo() { vcl::Free(form); }
  GutterMemo(const GutterMemo&) = delete;
  GutterMemo& operator=(const GutterMemo&) = delete;
  vcl::TForm* form;
  TLumMemo* memo;
  vcl::TFakeMetricsCanvas canvas;
};

// The calls of one default row drawing at (1, 20), 43 wide and 14 high.
std::vector<std::string> RowCalls(TLumMemo* m, Integer lineNo, std::vector<vcl::TCanvasRecord>* records = nullptr) {
  vcl::TRecordingCanvas rc;
  m->DrawGutterLine(&rc, lineNo, {1, 20, 44, 34});
  if (records) *records = rc.Records();
  std::vector<std::string> v;
  for (const AnsiString& c : rc.Calls())
    if (c.rfind("TextOut", 0) == 0 || c.rfind("Ellipse", 0) == 0 || c.rfind("Polygon", 0) == 0 ||
        c.rfind("FillRect", 0) == 0 || c.rfind("MoveTo", 0) == 0 || c.rfind("LineTo", 0) == 0 ||
        c.rfind("Draw", 0) == 0)
      v.push_back(c);
  return v;
}

}  // namespace

TEST(MemoGutter, StripLinesAndBackground) {
  GutterMemo f;
  SetText(f.memo, {"a", "b"});
  TLumGutter* g = f.memo->Gutter();
  f.memo->OnGutterDraw = nullptr;  // the background alone
  g->SetGutterColor(0x3060C0);
  g->SetGutterColorTo(vcl::clNone);
  g->SetBorderColor(0x102030);
  QImage plain = Grab(f.memo);
  const int right = g->Left + g->Width;
  const int y = g->Top + 30;
  EXPECT_EQ(PixelAt(plain, right - 1, y), 0x102030u);
  EXPECT_EQ(PixelAt(plain, right - 2, y), vcl::clWhite);
  for (int x = g->Left; x < right - 2; ++x) ASSERT_EQ(PixelAt(plain, x, y), 0x3060C0u) << x;

  g->SetGutterColor(0x000000);
  g->SetGutterColorTo(0xF0F0F0);
  QImage gradient = Grab(f.memo);
  SaveShot(gradient, "memo_gutter_gradient.png");
  std::set<vcl::TColor> bands;
  vcl::TColor last = 0;
  for (int x = g->Left; x < right - 1; ++x) {
    vcl::TColor c = PixelAt(gradient, x, y);
    bands.insert(c);
    EXPECT_GE(c & 0xFF, last & 0xFF) << x;  // brightening to the right
    last = c;
  }
  EXPECT_EQ(PixelAt(gradient, g->Left, y), 0x000000u);
  // 44 pixels, each in a band of its own; the gradient is laid after the
  // white line and covers it.
  EXPECT_EQ(bands.size(), 44u);
  EXPECT_EQ(PixelAt(gradient, right - 1, y), 0x102030u);
}

TEST(MemoGutter, LineNumbersAtTheirOffsets) {
  GutterMemo f;
  SetText(f.memo, std::vector<std::string>(3, "x"));
  TLumGutter* g = f.memo->Gutter();
  struct Case {
    Integer lineNo;
    bool zeros;
    const char* suffix;
    std::string call;
  };
  const Case cases[] = {
      {7, false, "", "TextOut(24,20) '8'"},       {11, false, "", "TextOut(16,20) '12'"},
      {122, false, "", "TextOut(8,20) '123'"},    {1233, false, "", "TextOut(0,20) '1234'"},
      {7, true, "", "TextOut(0,20) '0008'"},      {98, true, ":", "TextOut(0,20) '0099:'"},
      {12344, true, "", "TextOut(0,20) '12345'"}, {0, false, ".", "TextOut(24,20) '1.'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    g->SetShowLeadingZeros(c.zeros);
    g->SetNumberSuffix(c.suffix);
    std::vector<vcl::TCanvasRecord> records;
    std::vector<std::string> calls = RowCalls(f.memo, c.lineNo, &records);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0], c.call);
    for (const auto& r : records)
      if (r.Op == "TextOut") {
        EXPECT_EQ(r.FontName, "Courier New");
        EXPECT_EQ(r.FontColor, 0u);
        EXPECT_EQ(r.BrushStyle, vcl::bsClear);
      }
  }
  // The numbers start where LineNumberStart says; a negative start is ignored.
  g->SetShowLeadingZeros(false);
  g->SetNumberSuffix("");
  g->SetLineNumberStart(10);
  EXPECT_EQ(RowCalls(f.memo, 0)[0], "TextOut(16,20) '10'");
  g->SetLineNumberStart(-1);
  EXPECT_EQ(g->LineNumberStart(), 10);
  g->SetShowLineNumbers(false);
  EXPECT_TRUE(RowCalls(f.memo, 0).empty());
}

TEST(MemoGutter, GlyphsOfARowAndTheMarkerShift) {
  GutterMemo f;
  SetText(f.memo, {"zero", "one", "two"});
  TLumGutter* g = f.memo->Gutter();
  g->SetShowLineNumbers(false);
  TLineProp* p = f.memo->TextStore()->CreateLineProp(1);
  p->Breakpoint = true;
  p->DotMarked = true;
  p->Modified = true;
  g->SetShowModified(true);
  f.memo->ActiveLineSettings()->SetShowActiveLineIndicator(true);
  f.memo->SetActiveLine(1);

  std::vector<vcl::TCanvasRecord> records;
  const std::vector<std::string> plain = RowCalls(f.memo, 1, &records);
  const std::vector<std::string> expected = {
      "FillRect(40,20,44,34)",   // the modified bar
      "Ellipse(6,28,10,32)",     // the dot
      "MoveTo(7,28)", "LineTo(5,30)",
      "Ellipse(3,24,13,34)",     // the breakpoint
      "Polygon(14,27,14,31,17,31,17,34,22,29,17,24,17,27)",  // the arrow
  };
  EXPECT_EQ(plain, expected);
  auto colourOf = [&](const std::string& call) {
    for (const auto& r : records)
      if (r.Call() == call) return std::make_pair(r.BrushColor, r.PenColor);
    return std::make_pair(vcl::TColor(1), vcl::TColor(1));
  };
  EXPECT_EQ(colourOf(expected[0]).first, 0x00FFFFu);  // ModifiedColor
  EXPECT_EQ(colourOf(expected[1]), std::make_pair(vcl::TColor(0xFF0000), vcl::TColor(0x800000)));
  EXPECT_EQ(colourOf(expected[4]), std::make_pair(vcl::TColor(0x0000FF), vcl::TColor(0x000000)));
  EXPECT_EQ(colourOf(expected[5]), std::make_pair(vcl::TColor(0x00FF00), vcl::TColor(0x808080)));
  // An unmodified line's bar is in ModifiedColorBkg; clNone draws none.
  std::vector<vcl::TCanvasRecord> other;
  EXPECT_EQ(RowCalls(f.memo, 2, &other), std::vector<std::string>{"FillRect(40,20,44,34)"});
  EXPECT_EQ(other.back().BrushColor, 0x00FF00u);
  g->SetModifiedColorBkg(vcl::clNone);
  EXPECT_TRUE(RowCalls(f.memo, 2).empty());

  // A marker without a picture shifts the glyphs, not the number.
  f.memo->MarkerList()->Markers()->Add()->SetLineNumber(1);
  f.memo->MarkerList()->Markers()->Items(0)->SetImageIndex(-1);
  g->SetShowLineNumbers(true);
  const std::vector<std::string> shifted = RowCalls(f.memo, 1);
  const std::vector<std::string> expectedShifted = {
      "TextOut(24,20) '2'", "FillRect(40,20,44,34)", "Ellipse(22,28,26,32)", "MoveTo(23,28)", "LineTo(21,30)",
      "Ellipse(19,24,29,34)", "Polygon(30,27,30,31,33,31,33,34,38,29,33,24,33,27)",
  };
  EXPECT_EQ(shifted, expectedShifted);

  // Past the end of the text only the number is drawn.
  EXPECT_EQ(RowCalls(f.memo, 5), std::vector<std::string>{"TextOut(24,20) '6'"});
}

TEST(MemoGutter, RowsHandedToOnGutterDraw) {
  GutterMemo f;
  TLumMemo* m = f.memo;
  std::vector<std::pair<Integer, vcl::TRect>> rows;
  m->OnGutterDraw = [&](TObject*, TCanvas*, Integer lineNo, vcl::TRect r) { rows.emplace_back(lineNo, r); };
  SetText(m, {"alpha", "beta", "gamma"});
  Grab(m);
  const Integer lh = m->LineHeight();
  const TLumGutter* g = m->Gutter();
  ASSERT_EQ(rows.size(), 3u);
  for (Integer i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i].first, i);
    EXPECT_EQ(rows[i].second, (vcl::TRect{g->Left, g->Top + i * lh, g->Left + g->Width - 2, g->Top + (i + 1) * lh}));
  }
  // The replaced handler draws nothing of the default: no number pixels.
  QImage img = Grab(m);
  int dark = 0;
  for (int x = g->Left; x < g->Left + g->Width - 2; ++x)
    for (int y = g->Top; y < g->Top + 3 * lh; ++y)
      if (PixelAt(img, x, y) == 0u) ++dark;
  EXPECT_EQ(dark, 0);

  // Continuation rows are skipped; numbers count whole lines.
  rows.clear();
  SetText(m, {"aaaa bbbb cccc dddd", "e", "ffff gggg"});
  m->SetRightMargin(6);
  m->SetWordWrap(wwRightMargin);
  Grab(m);
  std::vector<Integer> numbers;
  std::vector<Integer> tops;
  for (auto& [n, r] : rows) {
    numbers.push_back(n);
    tops.push_back((r.Top - g->Top) / lh);
  }
  EXPECT_EQ(numbers, (std::vector<Integer>{0, 1, 2}));
  EXPECT_EQ(tops, (std::vector<Integer>{0, 4, 5}));
  // The default drawing finds the line of a number: a breakpoint on the
  // last line's first part (row 5).
  m->OnGutterDraw = [m](TObject*, TCanvas* c, Integer n, vcl::TRect r) { m->DrawGutterLine(c, n, r); };
  m->TextStore()->CreateLineProp(5)->Breakpoint = true;
  m->Invalidate();
  QImage wrapped = Grab(m);
  SaveShot(wrapped, "memo_gutter_wrapped.png");
  TRect bp{g->Left + 2, g->Top + 5 * lh + 4, g->Left + 12, g->Top + 5 * lh + 14};
  EXPECT_EQ(PixelAt(wrapped, (bp.Left + bp.Right) / 2, (bp.Top + bp.Bottom) / 2), 0x0000FFu);
}

TEST(MemoGutter, ThePresetLooks) {
  struct Row {
    controls::REZORuvar style;
    vcl::TColor gutter, gutterTo, border;
  };
  const Row rows[] = {
      {controls::tsOffice2003Blue, 0xFCE1CB, 0xE0A57D, 0x962D00},
      {controls::tsOffice2003Silver, 0xECE2E1, 0xB39698, 0x947C7C},
      {controls::tsOffice2003Olive, 0xCFF0EA, 0x8CC0B1, 0x588060},
      {controls::tsOffice2003Classic, 0xFFFFFF, 0xCCD4D8, 0x808080},
      {controls::tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, 0xFFD2AF},
      {controls::tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, 0x5C534C},
      {controls::tsWindowsXP, vcl::clBtnFace, vcl::clBtnFace, 0x000000},
      {controls::tsWhidbey, 0xA8C0C0, 0xF5F9FA, 0x962D00},
      {controls::tsCustom, 0x111111, 0x222222, 0x333333},  // unchanged
      {controls::tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, 0x74706F},
      {controls::tsWindowsVista, 0xFDF8F1, 0xFCEFD5, 0xFDDE99},
      {controls::tsWindows7, 0xFCDBC1, 0xFCEBDC, 0xCEA27D},
      {controls::tsTerminal, vcl::clBtnFace, vcl::clBtnFace, 0x808080},
  };
  GutterMemo f;
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.style));
    f.memo->Gutter()->SetGutterColor(0x111111);
    f.memo->Gutter()->SetGutterColorTo(0x222222);
    f.memo->SetBorderColor(0x333333);
    f.memo->Gutter()->SetBorderColor(0x333333);
    f.memo->SetComponentStyle(r.style);
    EXPECT_EQ(f.memo->Gutter()->GutterColor(), r.gutter);
    EXPECT_EQ(f.memo->Gutter()->GutterColorTo(), r.gutterTo);
    EXPECT_EQ(f.memo->BorderColor(), r.border);
    EXPECT_EQ(f.memo->Gutter()->BorderColor(), r.border);
  }
}

TEST(MemoGutter, MarkerPicturesFromTheImageList) {
  GutterMemo f;
  SetText(f.memo, {"zero", "one", "two", "three"});
  TLumGutter* g = f.memo->Gutter();
  g->SetShowLineNumbers(false);
  g->SetGutterColorTo(vcl::clNone);
  g->SetGutterColor(vcl::clWhite);
  auto* images = new vcl::TImageList(f.form);
  const vcl::TColor colours[3] = {0x2040C0, 0x20C040, 0xC04020};
  for (vcl::TColor c : colours) {
    vcl::TBitmap b;
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->FillRect(vcl::TRect{0, 0, 16, 16});
    images->Add(&b, nullptr);
  }
  TLumMarkerList* ml = f.memo->MarkerList();
  ml->SetMarkerImageList(images);
  auto add = [&](Integer line, Integer image) {
    TLumMarker* m = ml->Markers()->Add();
    m->SetLineNumber(line);
    m->SetImageIndex(image);
  };
  add(1, 2);
  add(2, 7);  // no such picture: nothing drawn
  add(3, 0);
  // Each picture at (1, 2) inside its row.
  auto pictureAt = [&](const QImage& shot, Integer line) {
    return PixelAt(shot, g->Left + 1 + 8, g->Top + line * f.memo->LineHeight() + 2 + 8);
  };
  QImage shot = Grab(f.memo);
  SaveShot(shot, "memo_gutter_markers.png");
  EXPECT_EQ(pictureAt(shot, 0), vcl::clWhite);
  EXPECT_EQ(pictureAt(shot, 1), colours[2]);
  EXPECT_EQ(pictureAt(shot, 2), vcl::clWhite);
  EXPECT_EQ(pictureAt(shot, 3), colours[0]);
  // The picture's edges: one pixel in and two down, 16 square.
  const int rowTop = g->Top + f.memo->LineHeight();
  EXPECT_EQ(PixelAt(shot, g->Left, rowTop + 8), vcl::clWhite);
  EXPECT_EQ(PixelAt(shot, g->Left + 1, rowTop + 8), colours[2]);
  EXPECT_EQ(PixelAt(shot, g->Left + 16, rowTop + 8), colours[2]);
  EXPECT_EQ(PixelAt(shot, g->Left + 8, rowTop + 1), vcl::clWhite);
  EXPECT_EQ(PixelAt(shot, g->Left + 8, rowTop + 2), colours[2]);

  // The default picture stands for every marker's own.
  ml->SetUseDefaultMarkerImageIndex(true);
  ml->SetDefaultMarkerImageIndex(1);
  shot = Grab(f.memo);
  EXPECT_EQ(pictureAt(shot, 1), colours[1]);
  EXPECT_EQ(pictureAt(shot, 2), colours[1]);
  EXPECT_EQ(pictureAt(shot, 3), colours[1]);

  // A freed list is let go of; the rows draw no pictures.
  vcl::Free(images);
  EXPECT_EQ(ml->MarkerImageList(), nullptr);
  shot = Grab(f.memo);
  for (Integer line = 0; line < 4; ++line) EXPECT_EQ(pictureAt(shot, line), vcl::clWhite) << line;
}
