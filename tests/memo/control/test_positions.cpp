// Caret, selection and text positions.
#include <gtest/gtest.h>

#include <random>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/text/MemoChars.h"

using namespace memotest;

namespace {

TEST(MemoPositions, SetCaretXFillsOrClampsAShortLine) {
  MemoOnForm f;
  SetText(f.memo, {"ab", "cd"});
  f.memo->SetCaretX(5);
  EXPECT_EQ(LinesOf(f.memo)[0], "ab   ");
  EXPECT_EQ(f.memo->CaretX(), 5);
  f.memo->SetAutoExpand(false);
  f.memo->SetCaretLine(1);
  EXPECT_EQ(f.memo->CaretX(), 5);  // the column stays beyond the end
  f.memo->SetCaretX(4);
  EXPECT_EQ(f.memo->CaretX(), 2);
  EXPECT_EQ(LinesOf(f.memo)[1], "cd");
}

TEST(MemoPositions, SetCaretXMinusOneGoesToThePreviousLineEnd) {
  MemoOnForm f;
  SetText(f.memo, {"zero", "one", "two!!", "three"});
  f.memo->SetCaretLine(3);
  f.memo->SetCaretX(-1);
  EXPECT_EQ(f.memo->CaretY(), 2);
  EXPECT_EQ(f.memo->CaretX(), 5);
  f.memo->SetCaret(2, 0);
  f.memo->SetCaretX(-1);
  EXPECT_EQ(f.memo->CaretY(), 0);
  EXPECT_EQ(f.memo->CaretX(), 0);
}

TEST(MemoPositions, SetCaretLineClampsAndKeepsTheColumn) {
  MemoOnForm f;
  std::vector<std::string> lines(10, "x");
  lines[4] = "a long line here";
  SetText(f.memo, lines);
  f.memo->SetCaretLine(1000);
  EXPECT_EQ(f.memo->CaretY(), 9);
  // From column 10 of a long line to a 1-character one: the column stays
  // beyond the end, whatever AutoExpand says.
  for (bool expand : {true, false}) {
    f.memo->SetAutoExpand(expand);
    f.memo->SetCaret(10, 4);
    f.memo->SetCaretLine(5);
    EXPECT_EQ(f.memo->CaretX(), 10);
    EXPECT_EQ(LinesOf(f.memo)[5], "x");
  }
}

TEST(MemoPositions, ShiftMoveAfterCodeMovedTheCaretStartsAFreshSelection) {
  MemoOnForm f;
  SetText(f.memo, {"abcdefgh"});
  f.memo->MoveCaret(1, 0, {vcl::ssShift});
  EXPECT_EQ(f.memo->GetSelText(), "a");
  f.memo->MoveCaret(1, 0, {vcl::ssShift});
  EXPECT_EQ(f.memo->GetSelText(), "ab");
  f.memo->SetCaretX(5);  // code moves the caret
  f.memo->MoveCaret(1, 0, {vcl::ssShift});
  EXPECT_FALSE(f.memo->HasSelection());
  EXPECT_EQ(f.memo->CaretX(), 6);
  f.memo->MoveCaret(1, 0, {vcl::ssShift});
  EXPECT_EQ(f.memo->GetSelText(), "g");
}

struct OffsetCase {
  Integer offset;
  TMemoPos pos;
  bool mended;
};

TEST(MemoPositions, OffsetToPosIncludingThePastEndMend) {
  MemoOnForm f;
  SetText(f.memo, {"abc", "", "\xC3\xA9z"});  // offsets: abc=0..2, CR LF 3..4, "" 5..6, é=7 z=8
  const OffsetCase cases[] = {
      {0, {0, 0}, false}, {2, {2, 0}, false}, {3, {3, 0}, false}, {4, {4, 0}, false},
      {5, {0, 1}, false}, {6, {1, 1}, false}, {7, {0, 2}, false}, {8, {1, 2}, false},
      {9, {2, 2}, false}, {10, {3, 2}, false},
      {11, {2, 2}, true}, {500, {2, 2}, true}, {-1, {0, 0}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "offset " << c.offset << (c.mended ? " (changed by a mend)" : ""));
    EXPECT_EQ(f.memo->OffsetToPos(c.offset), c.pos);
  }
  EXPECT_EQ(f.memo->PosToOffset(1, 2), 8);
  EXPECT_EQ(f.memo->PosToOffset(99, 0), 3);  // the column is clamped to the line
  EXPECT_EQ(f.memo->PosToOffset(0, 99), 11);
}

TEST(MemoPositions, SelectingPastTheEndSelectsUpToTheEnd) {
  MemoOnForm f;
  SetText(f.memo, {"one", "two"});
  f.memo->SetSelStart(2);
  f.memo->SetSelLength(1000);  // mended: the end of the text, not the start
  EXPECT_EQ(f.memo->GetSelText(), "e\r\ntwo");
  f.memo->SetSelStart(1000);
  EXPECT_EQ(f.memo->SelStart(), (TMemoPos{3, 1}));
  EXPECT_EQ(f.memo->GetSelLength(), 0);
}

TEST(MemoPositions, SetSelStartKeepsTheLengthAndTheCaret) {
  MemoOnForm f;
  SetText(f.memo, {"0123456789", "abcdef"});
  f.memo->SetCaret(1, 1);
  f.memo->SetSelStart(2);
  f.memo->SetSelLength(4);
  EXPECT_EQ(f.memo->GetSelText(), "2345");
  f.memo->SetSelStart(6);
  EXPECT_EQ(f.memo->GetSelLength(), 4);
  EXPECT_EQ(f.memo->GetSelText(), "6789");
  EXPECT_EQ(f.memo->CaretX(), 1);
  EXPECT_EQ(f.memo->CaretY(), 1);
  EXPECT_EQ(f.memo->GetSelStart(), 6);
}

TEST(MemoPositions, LastPos) {
  struct Case {
    const char* needle;
    const char* text;
    Integer pos;
  };
  const Case cases[] = {
      {"aaa", "aaaa", 2}, {"", "", 1}, {"", "a", 0}, {"ab", "a", 0}, {"ab", "ab", 1},
      {"ab", "xxabxxab", 7}, {"b", "\xC3\xA9" "b\xC3\xA9" "b", 4}, {"q", "abc", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TLumCustomMemo::LastPos(c.needle, c.text), c.pos) << c.needle << " in " << c.text;
}

TEST(MemoPositions, WordsAroundAColumn) {
  MemoOnForm f;
  SetText(f.memo, {"say \"hello(world)\" x", "pre-\xC3\xA9t\xC3\xA9 post"});
  EXPECT_EQ(f.memo->WordAt(0, 0), "say");
  EXPECT_EQ(f.memo->WordAt(3, 0), "say");  // touching on the left
  EXPECT_EQ(f.memo->WordAt(6, 0), "hello(world)");
  EXPECT_EQ(f.memo->WordAtEx(6, 0), "hello");
  EXPECT_EQ(f.memo->WordAt(30, 0), "");  // the line is shorter
  EXPECT_EQ(f.memo->WordAt(0, 9), "");
  EXPECT_EQ(f.memo->WordAt(5, 1), "pre-\xC3\xA9t\xC3\xA9");
  f.memo->SetCaret(6, 1);
  Integer start = -1;
  EXPECT_EQ(f.memo->WordAtCaret(start), "pre-\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(start, 1);
  EXPECT_EQ(f.memo->WordBeforeCaret(), "pre-\xC3\xA9t");
  f.memo->SetCaret(11, 0);
  EXPECT_EQ(f.memo->TokenAtCaret(), "world");
  EXPECT_EQ(f.memo->GetLineTrimmed(0), "say \"hello(world)\" x");
  f.memo->TextStore()->Put(0, "x \t\x01");
  EXPECT_EQ(f.memo->GetLineTrimmed(0), "x");
  EXPECT_EQ(TLumCustomMemo::TrimBlanks("x \t "), "x \t");
}

TEST(MemoPositions, SelectAllAndSelectionText) {
  MemoOnForm f;
  SetText(f.memo, {"first", "", "\xE4\xB8\xAD\xF0\x9F\x98\x80"});
  int changes = 0;
  f.memo->OnSelectionChange = [&](vcl::TObject*) { ++changes; };
  f.memo->SelectAll();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(f.memo->GetSelText(), "first\r\n\r\n\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(f.memo->GetSelLength(), 11);
  // A selection made upward reads the same.
  f.memo->SetSelection({1, 2}, {2, 0});
  EXPECT_EQ(f.memo->GetSelText(), "rst\r\n\r\n\xE4\xB8\xAD");
  EXPECT_EQ(f.memo->GetSelStart(), 2);
  EXPECT_EQ(f.memo->GetSelLength(), 8);
}

// Random texts with multibyte characters: offsets and positions agree both
// ways, and the selected text is the slice of the saved text between them.
TEST(MemoPositions, OffsetsAndSelectionsOverRandomTexts) {
  const char* pieces[] = {"a", "b", " ", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\t", "xyz", "\xFF"};
  MemoOnForm f;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 rng(seed);
    std::vector<std::string> lines(1 + rng() % 8);
    for (auto& l : lines)
      for (int n = rng() % 7; n > 0; --n) l += pieces[rng() % std::size(pieces)];
    SetText(f.memo, lines);
    TLumMemoStrings* store = f.memo->TextStore();
    // The saved text, cut into characters, is what offsets count.
    std::string saved = store->SaveToString();
    memo::TCharLine chars(saved);
    Integer total = chars.Length();
    for (Integer y = 0; y < store->Count(); ++y)
      for (Integer x = 0; x <= store->LineLength(y); ++x) {
        Integer off = f.memo->PosToOffset(x, y);
        ASSERT_EQ(f.memo->OffsetToPos(off), (TMemoPos{x, y}));
      }
    // Offsets between characters, never between the CR and the LF of a
    // break, plus a few past the end.
    std::vector<Integer> bounds;
    for (Integer o = 0; o <= total + 2; ++o)
      if (!(o > 0 && o < total && chars.At(o - 1) == "\r" && chars.At(o) == "\n")) bounds.push_back(o);
    for (int k = 0; k < 30; ++k) {
      Integer a = bounds[rng() % bounds.size()];
      Integer b = bounds[rng() % bounds.size()];
      if (a > b) std::swap(a, b);
      f.memo->SetSelLength(0);
      f.memo->SetSelStart(a);
      f.memo->SetSelLength(b - a);
      Integer ca = std::min(a, total - 2), cb = std::min(b, total - 2);  // past the end: the last line's end
      std::string expected(chars.Slice(ca, cb - ca));
      ASSERT_EQ(f.memo->GetSelText(), expected) << a << ".." << b;
      ASSERT_EQ(f.memo->GetSelLength(), memo::CharLength(expected));
    }
  }
}

}  // namespace

namespace {

TEST(MemoPositions, WordWiseCaretMoves) {
  MemoOnForm f;
  SetText(f.memo, {"abc def  ghi", "next"});
  f.memo->MoveCaret(1, 0, {vcl::ssCtrl});
  EXPECT_EQ(f.memo->CaretX(), 4);  // stops after the blank, at the next word
  f.memo->MoveCaret(1, 0, {vcl::ssCtrl});
  EXPECT_EQ(f.memo->CaretX(), 9);
  f.memo->MoveCaret(1, 0, {vcl::ssCtrl});
  EXPECT_EQ(f.memo->CaretX(), 12);  // the end of the trimmed line
  f.memo->MoveCaret(1, 0, {vcl::ssCtrl});
  EXPECT_EQ(f.memo->CaretY(), 1);  // past it: the next line's start
  EXPECT_EQ(f.memo->CaretX(), 0);
  f.memo->MoveCaret(-1, 0, {vcl::ssCtrl});
  EXPECT_EQ(f.memo->CaretY(), 0);
  EXPECT_EQ(f.memo->CaretX(), 9);
  f.memo->MoveCaret(-1, 0, {vcl::ssCtrl});
  EXPECT_EQ(f.memo->CaretX(), 4);
  f.memo->MoveCaret(-1, 0, {vcl::ssCtrl, vcl::ssShift});
  EXPECT_EQ(f.memo->CaretX(), 0);
  EXPECT_EQ(f.memo->GetSelText(), "abc ");
}

TEST(MemoPositions, ShiftUpAndDownPullTheColumnToTheLine) {
  MemoOnForm f;
  SetText(f.memo, {"ab", "a longer line", "xyz"});
  f.memo->SetCaret(10, 1);
  f.memo->MoveCaret(0, 1, {vcl::ssShift});
  EXPECT_EQ(f.memo->CaretX(), 3);
  EXPECT_EQ(f.memo->GetSelText(), "ine\r\nxyz");
  f.memo->MoveCaret(0, 1, {});
  EXPECT_FALSE(f.memo->HasSelection());
}

TEST(MemoMarkers, QueriesAndShifts) {
  TLumMarkers markers;
  EXPECT_FALSE(markers.HasMarkers());
  TLumMarker* a = markers.Add();
  a->SetLineNumber(4);
  a->SetImageIndex(2);
  a->SetText("four");
  TLumMarker* b = markers.Add();
  b->SetLineNumber(9);
  EXPECT_TRUE(markers.HasMarkers());
  EXPECT_TRUE(markers.HasMarkerAt(4));
  EXPECT_FALSE(markers.HasMarkerAt(5));
  EXPECT_TRUE(markers.HasMarkerAfter(8));
  EXPECT_FALSE(markers.HasMarkerAfter(9));
  EXPECT_EQ(markers.MarkerAt(9), b);
  EXPECT_EQ(markers.ImageIndexAt(4), 2);
  EXPECT_EQ(markers.ImageIndexAt(5), -1);
  EXPECT_EQ(a->DisplayName(), "four");
  markers.ShiftDown(5);
  EXPECT_EQ(a->LineNumber(), 4);
  EXPECT_EQ(b->LineNumber(), 10);
  markers.ShiftUp(4);
  EXPECT_EQ(a->LineNumber(), 3);
  markers.RemoveMarkerAt(3);
  EXPECT_EQ(markers.Count(), 1);
  markers.RemoveMarkerAt(3);  // none there: nothing
  EXPECT_EQ(markers.Count(), 1);
}

}  // namespace
