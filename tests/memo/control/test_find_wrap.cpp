// Searching, the top line, the wheel, the scroll hint and soft word wrap,
// with the cell size measured on a stand-in canvas (8 by 14 pixels).
#include <gtest/gtest.h>

#include <QWheelEvent>

#include "../MemoCorpus.h"
#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/text/MemoChars.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

struct FindWrapMemo : MemoOnForm {
  explicit FindWrapMemo(int width = 300, int height = 200) : MemoOnForm(width, height), canvas(0, 0, {}) {
    memo->SetMeasuringCanvas(&canvas);
    memo->Gutter()->SetVisible(false);
  }
  vcl::TFakeMetricsCanvas canvas;
};

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> v;
  for (int i = 0; i < count; ++i) v.push_back("line " + std::to_string(i));
  return v;
}

}  // namespace

TEST(MemoFind, CasesOfFindText) {
  using vcl::frDown;
  using vcl::frMatchCase;
  using vcl::frWholeWord;
  struct Case {
    const char* name;
    Lines text;
    TMemoPos caret, selStart, selEnd;  // a selection from selStart to selEnd
    const char* find;
    vcl::TFindOptions options;
    Integer result;  // -1: not found
    TMemoPos hitStart, hitEnd;
    bool changed;  // the whole-word rule tries every occurrence
  };
  const Case cases[] = {
      {"forward past the selected first one", {"abc abc"}, {0, 0}, {0, 0}, {3, 0}, "abc", {frDown}, 4, {4, 0}, {7, 0}, false},
      {"backward before the selection", {"xy xy xy"}, {6, 0}, {6, 0}, {8, 0}, "xy", {}, 3, {3, 0}, {5, 0}, false},
      {"backward from beyond the line end", {"word  "}, {9, 0}, {9, 0}, {9, 0}, "word", {}, 0, {0, 0}, {4, 0}, false},
      {"backward overlapping: the last start", {"aaaa"}, {4, 0}, {4, 0}, {4, 0}, "aa", {}, 2, {2, 0}, {4, 0}, false},
      {"forward onto a later line", {"one", "two", "three two"}, {0, 0}, {0, 0}, {0, 0}, "two", {frDown}, 5, {0, 1}, {3, 1}, false},
      {"selection at the line end: next line", {"two", "two"}, {0, 0}, {0, 0}, {3, 0}, "two", {frDown}, 5, {0, 1}, {3, 1}, false},
      {"case ignored", {"Hello"}, {0, 0}, {0, 0}, {0, 0}, "hELLO", {frDown}, 0, {0, 0}, {5, 0}, false},
      {"case matched", {"Hello"}, {0, 0}, {0, 0}, {0, 0}, "hello", {frDown, frMatchCase}, -1, {}, {}, false},
      {"whole word inside a longer word", {"ist"}, {0, 0}, {0, 0}, {0, 0}, "is", {frDown, frWholeWord}, -1, {}, {}, false},
      {"whole word between blanks", {"a is b"}, {0, 0}, {0, 0}, {0, 0}, "is", {frDown, frWholeWord}, 2, {2, 0}, {4, 0}, false},
      {"a comma makes no whole word", {"a is, b"}, {0, 0}, {0, 0}, {0, 0}, "is", {frDown, frWholeWord}, -1, {}, {}, false},
      {"whole word after a part-word hit", {"ist is"}, {0, 0}, {0, 0}, {0, 0}, "is", {frDown, frWholeWord}, 4, {4, 0}, {6, 0}, true},
      {"whole word backward past a part-word hit", {"is ist"}, {6, 0}, {6, 0}, {6, 0}, "is", {frWholeWord}, 0, {0, 0}, {2, 0}, true},
      {"nothing found", {"abc", "def"}, {1, 1}, {1, 1}, {1, 1}, "zz", {frDown}, -1, {}, {}, false},
      {"empty text", {"abc"}, {1, 0}, {1, 0}, {1, 0}, "", {frDown}, -1, {1, 0}, {1, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.changed ? " (changed rule)" : ""));
    FindWrapMemo f;
    f.memo->SetAutoExpand(false);
    SetText(f.memo, c.text);
    f.memo->PlaceCaret(c.caret.X, c.caret.Y);
    f.memo->SetSelection(c.selStart, c.selEnd);
    Integer r = f.memo->FindText(c.find, c.options);
    EXPECT_EQ(r, c.result);
    EXPECT_EQ(LinesOf(f.memo), c.text);
    if (c.result >= 0) {
      EXPECT_EQ(f.memo->SelStart(), c.hitStart);
      EXPECT_EQ(f.memo->SelEnd(), c.hitEnd);
      EXPECT_EQ((TMemoPos{f.memo->CaretX(), f.memo->CaretY()}), c.hitStart);
      EXPECT_EQ(f.memo->GetSelStart(), r);
    } else if (*c.find) {
      // A failed search removes the selection; the caret stays.
      EXPECT_EQ(f.memo->SelStart(), (TMemoPos{0, 0}));
      EXPECT_EQ(f.memo->SelEnd(), (TMemoPos{0, 0}));
      EXPECT_EQ((TMemoPos{f.memo->CaretX(), f.memo->CaretY()}), c.caret);
    }
  }
}

TEST(MemoFind, RepeatedSearchesWalkTheText) {
  FindWrapMemo f;
  SetText(f.memo, {"one two", "two two", "", "end two"});
  std::vector<Integer> forward, backward;
  for (Integer r; (r = f.memo->FindText("two", {vcl::frDown})) >= 0;) forward.push_back(r);
  EXPECT_EQ(forward, (std::vector<Integer>{4, 9, 13, 24}));
  f.memo->PlaceCaret(7, 3);
  f.memo->ClearSelection();
  for (Integer r; (r = f.memo->FindText("two", {})) >= 0;) backward.push_back(r);
  EXPECT_EQ(backward, (std::vector<Integer>{24, 13, 9, 4}));
}

TEST(MemoTopLine, CasesOfSetTopLine) {
  FindWrapMemo f(300, 20 * 14 + 4);
  const Integer rows = f.memo->GetVisibleExtent(1);
  ASSERT_EQ(rows, 20);
  struct Case {
    const char* name;
    int lines;
    Integer caretLine, line;
    Integer top;          // TopLine afterwards
    Integer caretAfter;   // the caret's line afterwards
    bool fires;           // OnTopLeftChanged
    bool changed;         // a short text keeps the caret
  };
  const Case cases[] = {
      {"a line with a full view below it", 60, 0, 10, 10, 0, true, false},
      {"near the end: the last line in the middle", 30, 0, 25, 20, 0, true, false},
      {"the current top line", 60, 0, 0, 0, 0, false, false},
      {"negative: nothing scrolls", 60, 0, -3, 0, 0, true, false},
      {"short text: the caret stays", 10, 7, 5, 0, 7, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.changed ? " (changed rule)" : ""));
    SetText(f.memo, Numbered(c.lines));
    f.memo->SetCaretLine(c.caretLine);
    int fired = 0;
    f.memo->OnTopLeftChanged = [&](TObject*) { ++fired; };
    f.memo->SetTopLine(c.line);
    f.memo->OnTopLeftChanged = nullptr;
    EXPECT_EQ(f.memo->TopLine(), c.top);
    EXPECT_EQ(f.memo->CaretY(), c.caretAfter);
    EXPECT_EQ(fired > 0, c.fires);
    if (c.top > 0) EXPECT_EQ(f.memo->VertScrollBar()->Position(), c.top);
  }
}

TEST(MemoTopLine, TheErrorJumpKeepsTheCaretOnItsLine) {
  FindWrapMemo f(300, 20 * 14 + 4);
  const Integer rows = f.memo->GetVisibleExtent(1);
  for (int count : {8, 19, 20, 35, 200}) {
    SetText(f.memo, Numbered(count));
    for (Integer line : {0, count / 2, count - 1}) {
      SCOPED_TRACE(std::to_string(count) + " lines, error on " + std::to_string(line));
      f.memo->SetCaretLine(line);
      f.memo->SetTopLine(std::max(line - rows / 2, 0));
      EXPECT_EQ(f.memo->CaretY(), line);
      EXPECT_GE(line, f.memo->TopLine());
      EXPECT_LT(line, f.memo->TopLine() + std::max(rows, 1));
    }
  }
}

TEST(MemoTopLine, WheelNotchesAndTheScrollHint) {
  FindWrapMemo f(300, 20 * 14 + 4);
  SetText(f.memo, Numbered(40));
  QWidget* w = f.memo->Widget();
  auto notch = [&](int delta) {
    QPoint at(50, 50);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(w, &e);
    vcl::Application->ProcessMessages();
  };
  notch(-120);
  EXPECT_EQ(f.memo->TopLine(), 4);
  notch(-120);
  EXPECT_EQ(f.memo->TopLine(), 8);
  notch(120);
  EXPECT_EQ(f.memo->TopLine(), 4);
  notch(120);
  EXPECT_EQ(f.memo->TopLine(), 0);
  int downs = 0;
  f.memo->OnMouseWheelDown = [&](TObject*, TShiftState, vcl::TPoint, bool&) { ++downs; };
  notch(-120);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(f.memo->TopLine(), 4);  // the memo scrolls whatever the handler did

  // Dragging the thumb to the 12th row shows its number.
  f.memo->SetScrollHint(true);
  vcl::THintWindow* hint = nullptr;
  for (Integer i = 0; i < f.memo->ComponentCount(); ++i)
    if (auto* h = dynamic_cast<vcl::THintWindow*>(f.memo->Components(i))) hint = h;
  ASSERT_NE(hint, nullptr);
  Integer pos = 11;
  f.memo->VertScrollBar()->OnScroll(f.memo->VertScrollBar(), vcl::scTrack, pos);
  EXPECT_EQ(hint->Caption(), "Row : 12");
  f.memo->OnScrollHint = [](TObject*, Integer row, AnsiString& text) { text = "at " + std::to_string(row); };
  pos = 14;
  f.memo->VertScrollBar()->OnScroll(f.memo->VertScrollBar(), vcl::scTrack, pos);
  EXPECT_EQ(hint->Caption(), "at 15");
  f.memo->VertScrollBar()->OnScroll(f.memo->VertScrollBar(), vcl::scEndScroll, pos);
  EXPECT_FALSE(hint->Visible());
}

TEST(MemoWrap, ThreeWordsAtMarginTen) {
  FindWrapMemo f;
  SetText(f.memo, {"abcd efgh ijkl", "short"});
  f.memo->SetRightMargin(10);
  f.memo->SetWordWrap(wwRightMargin);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"abcd ", "efgh ijkl", "short"}));
  ASSERT_NE(f.memo->TextStore()->GetLineProp(1), nullptr);
  EXPECT_TRUE(f.memo->TextStore()->GetLineProp(1)->Continuation);
  EXPECT_EQ(f.memo->WrapIndexList()->Count(), 1);
  EXPECT_EQ(TextOf(f.memo), "abcd efgh ijkl\r\nshort\r\n");
  f.memo->SetWordWrap(wwNone);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"abcd efgh ijkl", "short"}));
  f.memo->TextStore()->Check();

  // A word longer than the width is cut at the width.
  SetText(f.memo, {"abcdefghijklmnopqrstuvwxy z"});
  f.memo->SetWordWrap(wwRightMargin);
  EXPECT_EQ(LinesOf(f.memo), (Lines{"abcdefghij", "klmnopqrst", "uvwxy z"}));
  EXPECT_EQ(TextOf(f.memo), "abcdefghijklmnopqrstuvwxy z\r\n");
}

TEST(MemoWrap, EveryManualPageWrapsAndUnwrapsToItsLines) {
  const auto files = ManualFiles();
  if (files.empty()) GTEST_SKIP() << "the Apache manual is not installed";
  FindWrapMemo f(457, 300);
  TLumCustomMemo* m = f.memo;
  m->SetScrollBars(vcl::ssNone);
  const Integer clientColumns = m->GetVisibleExtent(0) - 1;
  struct Wrap {
    TWordWrapStyle style;
    Integer width;
  };
  const Wrap wraps[] = {{wwRightMargin, 12}, {wwRightMargin, 37}, {wwRightMargin, 80}, {wwClientWidth, clientColumns}};
  size_t pages = 0, continuations = 0;
  for (const auto& path : files) {
    SCOPED_TRACE(path.string());
    m->SetWordWrap(wwNone);
    m->TextStore()->LoadFromString(Slurp(path));
    const Lines original = LinesOf(m);
    const std::string saved = TextOf(m);
    for (const Wrap& w : wraps) {
      SCOPED_TRACE(w.width);
      m->SetRightMargin(w.width);
      m->SetWordWrap(w.style);
      bool shortEnough = true;
      for (Integer i = 0; i < m->TextStore()->Count(); ++i)
        shortEnough = shortEnough && m->TextStore()->LineLength(i) <= w.width;
      EXPECT_TRUE(shortEnough);
      continuations += static_cast<size_t>(m->WrapIndexList()->Count());
      ASSERT_EQ(TextOf(m), saved);
      m->SetWordWrap(wwNone);
      ASSERT_EQ(LinesOf(m), original);
    }
    // From one wrap style straight to the other.
    m->SetWordWrap(wwClientWidth);
    m->SetWordWrap(wwRightMargin);
    ASSERT_EQ(TextOf(m), saved);
    m->TextStore()->Check();
    ++pages;
  }
  EXPECT_GT(pages, 100u);
  EXPECT_GT(continuations, 10000u);
}

TEST(MemoWrap, TheCaretKeepsItsCharacterAcrossAResize) {
  FindWrapMemo f(400, 200);
  TLumCustomMemo* m = f.memo;
  std::string para;
  for (int i = 0; i < 40; ++i) para += "word" + std::to_string(i) + " ";
  SetText(m, {para, "tail"});
  m->SetWordWrap(wwClientWidth);
  ASSERT_GT(m->TextStore()->Count(), 3);
  const std::string saved = TextOf(m);
  // The caret on the "3" of "word23".
  Integer offset = static_cast<Integer>(para.find("word23") + 5);
  TMemoPos p = m->OffsetToPos(offset);
  m->PlaceCaret(p.X, p.Y);
  for (int width : {250, 520, 180, 400}) {
    SCOPED_TRACE(width);
    m->SetWidth(width);
    vcl::Application->ProcessMessages();
    EXPECT_EQ(m->PosToOffset(m->CaretX(), m->CaretY()), offset);
    EXPECT_EQ(CharCopy(m->TextStore()->Line(m->CaretY()), m->CaretX(), 1), "3");
    EXPECT_EQ(TextOf(m), saved);
  }
}
