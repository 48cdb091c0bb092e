// View geometry, scrolling and the caret, with the cell size measured on a
// stand-in canvas (8 pixels per character, rows of 14 unless set).
#include <gtest/gtest.h>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "vcl/Caret.h"

using namespace memotest;

namespace {

struct FakeMemo : MemoOnForm {
  explicit FakeMemo(int width = 300, int height = 200, vcl::TFakeMetrics metrics = {})
      : MemoOnForm(width, height), canvas(0, 0, metrics) {
    memo->SetMeasuringCanvas(&canvas);
  }
  vcl::TFakeMetricsCanvas canvas;
};

TEST(MemoView, CellSizeComesFromTheCanvas) {
  FakeMemo f;
  EXPECT_EQ(f.memo->CharWidth(), 8);
  EXPECT_EQ(f.memo->LineHeight(), 14);  // "W_" is 13 high, plus 1
}

TEST(MemoView, TextRectangleByBorderAndGutter) {
  struct Case {
    const char* name;
    TBorderStyle border;
    bool ctl3d;
    bool gutter;
    vcl::TRect text;
  };
  const Case cases[] = {
      {"single border, flat, no gutter", vcl::TFormBorderStyle::bsSingle, false, false, {3, 1, 299, 199}},
      {"single border, 3D, no gutter", vcl::TFormBorderStyle::bsSingle, true, false, {4, 2, 298, 198}},
      {"no border", vcl::TFormBorderStyle::bsNone, false, false, {2, 0, 300, 200}},
      {"gutter of 45", vcl::TFormBorderStyle::bsSingle, false, true, {48, 1, 299, 199}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMemo f;
    f.memo->SetBorderStyle(c.border);
    f.memo->SetCtl3D(c.ctl3d);
    f.memo->Gutter()->SetVisible(c.gutter);
    EXPECT_EQ(f.memo->TextRect(), c.text);
  }
  FakeMemo f;
  f.memo->Gutter()->SetVisible(false);
  EXPECT_EQ(f.memo->CellRect(0, 0), (vcl::TRect{3, 2, 11, 16}));  // the first row at y = 2
  EXPECT_EQ(f.memo->CellRect(2, 3), (vcl::TRect{19, 44, 27, 58}));
  EXPECT_EQ(f.memo->LineRect(0), (vcl::TRect{3, 1, 299, 15}));
}

TEST(MemoView, PixelsToCellsAndLines) {
  FakeMemo f;
  f.memo->Gutter()->SetVisible(false);
  SetText(f.memo, std::vector<std::string>(40, "line"));
  // Columns round to the nearest boundary, rows truncate.
  EXPECT_EQ(f.memo->ClientToCell(3, 1), (vcl::TPoint{0, 0}));
  EXPECT_EQ(f.memo->ClientToCell(6, 14), (vcl::TPoint{0, 0}));
  EXPECT_EQ(f.memo->ClientToCell(7, 15), (vcl::TPoint{1, 1}));
  EXPECT_EQ(f.memo->ClientToLine(18, 30), (TMemoPos{1, 2}));
}

TEST(MemoView, VisibleExtentOfTheMainWindowsView) {
  // 367 pixels high, single flat border, rows of 17.
  FakeMemo f(300, 367, vcl::TFakeMetrics{8, 12, 4});
  f.memo->Gutter()->SetVisible(false);
  EXPECT_EQ(f.memo->LineHeight(), 17);
  EXPECT_FALSE(f.memo->HorzScrollBar()->Visible());
  EXPECT_EQ(f.memo->GetVisibleExtent(1), 21);
  EXPECT_EQ(f.memo->GetVisibleExtent(0), 37);
  EXPECT_EQ(f.memo->GetVisibleExtent(3), 20);
  EXPECT_EQ(f.memo->GetVisibleExtent(7), 0);
}

TEST(MemoView, CaretStaysTwoColumnsInside) {
  // 20 visible columns.
  FakeMemo f(164, 100);
  f.memo->Gutter()->SetVisible(false);
  SetText(f.memo, {std::string(60, 'x')});
  EXPECT_EQ(f.memo->GetVisibleExtent(0), 20);
  f.memo->SetCaretX(19);
  EXPECT_EQ(f.memo->LeftCol(), 3);
  f.memo->SetCaretX(40);
  EXPECT_EQ(f.memo->LeftCol(), 24);
  f.memo->SetCaretX(10);
  EXPECT_EQ(f.memo->LeftCol(), 8);  // two columns before the caret
  f.memo->SetCaretX(1);
  EXPECT_EQ(f.memo->LeftCol(), 0);
}

TEST(MemoView, StrictModeKeepsTheCaretInTheView) {
  FakeMemo f(164, 100);
  f.memo->Gutter()->SetVisible(false);
  f.memo->SetScrollBars(vcl::ssNone);
  f.memo->SetScrollMode(smStrict);
  SetText(f.memo, std::vector<std::string>(30, std::string(60, 'x')));
  f.memo->SetCaretX(40);
  EXPECT_EQ(f.memo->CaretX(), f.memo->GetVisibleExtent(2));
  EXPECT_EQ(f.memo->LeftCol(), 0);
  f.memo->SetCaretLine(25);
  EXPECT_EQ(f.memo->CaretY(), f.memo->GetVisibleExtent(3));
  EXPECT_EQ(f.memo->TopLine(), 0);
}

TEST(MemoView, ScrollBarsFollowTheText) {
  FakeMemo f(200, 100);
  f.memo->Gutter()->SetVisible(false);
  SetText(f.memo, std::vector<std::string>(30, "short"));
  EXPECT_TRUE(f.memo->VertScrollBar()->Visible());
  EXPECT_FALSE(f.memo->HorzScrollBar()->Visible());
  Integer rows = f.memo->GetVisibleExtent(1);
  EXPECT_EQ(f.memo->VertScrollBar()->PageSize(), rows);
  EXPECT_EQ(f.memo->VertScrollBar()->Max(), 29);
  f.memo->SetCaretLine(29);
  EXPECT_EQ(f.memo->TopLine(), 29 - f.memo->GetVisibleExtent(3) + f.memo->TopLine());
  EXPECT_GT(f.memo->TopLine(), 0);
  EXPECT_EQ(f.memo->VertScrollBar()->Position(), f.memo->TopLine());
  // A text shorter than the view: no bar, first line on top.
  SetText(f.memo, {"one", "two"});
  EXPECT_FALSE(f.memo->VertScrollBar()->Visible());
  EXPECT_EQ(f.memo->TopLine(), 0);
  // A line longer than the view brings the horizontal bar.
  SetText(f.memo, {std::string(100, 'w')});
  EXPECT_TRUE(f.memo->HorzScrollBar()->Visible());
  EXPECT_EQ(f.memo->HorzScrollBar()->Max(), 100);
  f.memo->SetCaretX(90);
  EXPECT_GT(f.memo->LeftCol(), 0);
  f.memo->TextStore()->Put(0, "fits");
  f.memo->SetCaretX(0);
  f.memo->LinesChanged();
  EXPECT_FALSE(f.memo->HorzScrollBar()->Visible());
  EXPECT_EQ(f.memo->LeftCol(), 0);
}

TEST(MemoView, ScrollBarMovesTheView) {
  FakeMemo f(200, 100);
  f.memo->Gutter()->SetVisible(false);
  SetText(f.memo, std::vector<std::string>(50, "x"));
  int changes = 0;
  f.memo->OnTopLeftChanged = [&](vcl::TObject*) { ++changes; };
  Integer rows = f.memo->GetVisibleExtent(1);
  f.memo->VertScrollBar()->UserScroll(vcl::scPageDown);
  EXPECT_EQ(f.memo->TopLine(), rows);
  EXPECT_GT(changes, 0);
  f.memo->VertScrollBar()->UserScroll(vcl::scLineDown);
  EXPECT_EQ(f.memo->TopLine(), rows + 1);
  f.memo->VertScrollBar()->UserScroll(vcl::scTrack, 30);
  EXPECT_EQ(f.memo->TopLine(), 30);
  f.memo->VertScrollBar()->UserScroll(vcl::scTrack, 48);
  EXPECT_EQ(f.memo->TopLine(), 50 - rows);  // not beyond the last page
  f.memo->VertScrollBar()->UserScroll(vcl::scTop);
  EXPECT_EQ(f.memo->TopLine(), 0);
  // The lines scrolled over lose their cached tokenizer states.
  TLineProp* p = f.memo->TextStore()->GetLineProp(3);
  p->TokenStateValid = true;
  f.memo->ScrollBy(vcl::sbVertical, 5);
  EXPECT_FALSE(p->TokenStateValid);
}

TEST(MemoView, ScrollHintShowsTheRow) {
  FakeMemo f(200, 100);
  SetText(f.memo, std::vector<std::string>(50, "x"));
  f.memo->SetScrollHint(true);
  std::vector<std::pair<Integer, std::string>> hints;
  f.memo->OnScrollHint = [&](vcl::TObject*, Integer row, AnsiString& text) { hints.push_back({row, text}); };
  f.memo->VertScrollBar()->UserScroll(vcl::scTrack, 11);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0], (std::pair<Integer, std::string>{12, "Row : 12"}));
  f.memo->VertScrollBar()->UserScroll(vcl::scEndScroll);
  EXPECT_EQ(hints.size(), 1u);
}

TEST(MemoView, CaretIsTwoPixelsWideAtItsCell) {
  FakeMemo f;
  f.memo->Gutter()->SetVisible(false);
  SetText(f.memo, {std::string(100, 'a'), "b"});
  f.memo->SetFocus();
  ASSERT_TRUE(f.memo->Focused());
  f.memo->SetCaret(3, 1);
  vcl::TCaretState caret = vcl::GetCaretState();
  EXPECT_EQ(caret.Owner, f.memo->Handle());
  EXPECT_TRUE(caret.Visible);
  vcl::TRect cell = f.memo->CellRect(3, 1);
  EXPECT_EQ(caret.Bounds, (vcl::TRect{cell.Left, cell.Top + 1, cell.Left + 2, cell.Top + 1 + 12}));
  // Scrolled past horizontally: hidden until the caret is in view again.
  f.memo->ScrollBy(vcl::sbHorizontal, 10);
  EXPECT_EQ(f.memo->LeftCol(), 10);
  EXPECT_FALSE(vcl::GetCaretState().Visible);
  f.memo->ScrollBy(vcl::sbHorizontal, -10);
  EXPECT_TRUE(vcl::GetCaretState().Visible);
  f.memo->SetHiddenCaret(true);
  EXPECT_FALSE(vcl::GetCaretState().Visible);
  f.memo->SetHiddenCaret(false);
  EXPECT_TRUE(vcl::GetCaretState().Visible);
}

TEST(MemoView, CaretIsGoneWithTheFocus) {
  FakeMemo f;
  auto* other = new TLumCustomMemo(f.form);
  other->SetParent(f.form);
  other->SetBounds(0, 0, 10, 10);
  f.memo->SetFocus();
  EXPECT_EQ(vcl::GetCaretState().Owner, f.memo->Handle());
  other->SetFocus();
  EXPECT_EQ(vcl::GetCaretState().Owner, other->Handle());
  EXPECT_FALSE(f.memo->CaretShown());
}

TEST(MemoView, ProportionalFacesBecomeFixedSys) {
  MemoOnForm f;
  vcl::TFont arial;
  arial.SetName("Arial");
  arial.SetHeight(-13);
  f.memo->SetFont(&arial);
  EXPECT_EQ(f.memo->Font()->Name(), "FixedSys");
  EXPECT_EQ(arial.Name(), "FixedSys");  // the font handed in is changed
  EXPECT_EQ(f.memo->Font()->Height(), -13);
  vcl::TCanvas& c = *f.memo->Canvas();
  c.Font()->Assign(f.memo->Font());
  EXPECT_EQ(c.TextWidth("W"), c.TextWidth("i"));
  EXPECT_EQ(f.memo->CharWidth(), c.TextWidth("W"));
  vcl::TFont courier;
  courier.SetName("Courier New");
  courier.SetHeight(-13);
  f.memo->SetFont(&courier);
  EXPECT_EQ(f.memo->Font()->Name(), "Courier New");
  // A proportional face set on the font later goes back to the fixed face
  // it had.
  f.memo->HandleNeeded();
  f.memo->Font()->SetName("Arial");
  EXPECT_EQ(f.memo->Font()->Name(), "Courier New");
}

}  // namespace
