// Code folding: the row and line maps over collapsed regions, the region
// bookkeeping, and regions found by a styler's rules.
#include <gtest/gtest.h>

#include "MemoTestSupport.h"
#include "memo/LumMemoSettings.h"
#include "memo/LumMemoStyler.h"

using namespace memotest;
using Lines = std::vector<std::string>;

namespace {

std::vector<std::string> FoldNumbered(int count) {
  std::vector<std::string> v;
  for (int i = 0; i < count; ++i) v.push_back("line " + std::to_string(i));
  return v;
}

// The region starts and their end lines.
std::vector<std::pair<Integer, Integer>> Regions(TLumCustomMemo* m) {
  std::vector<std::pair<Integer, Integer>> v;
  for (Integer i = 0; i < m->TextStore()->Count(); ++i)
    if (m->IsRegionStart(i)) v.emplace_back(i, m->RegionEndLine(i));
  return v;
}

// One rule of each kind, Pascal-like, with braces for block comments and
// "//" for line comments.
TLumCustomMemoStyler* FoldingStyler(vcl::TComponent* owner) {
  auto* s = new TLumCustomMemoStyler(owner);
  TElementStyle* sym = s->AllStyles()->Add();
  sym->SetStyleType(stSymbol);
  sym->SetSymbols(";.,()");
  s->MultiCommentLeft = "{";
  s->MultiCommentRight = "}";
  s->LineComment = "//";
  struct R {
    TRegionType type;
    const char *id, *start, *end;
  };
  for (const R& r : {R{rtOpen, "section", "", ""}, R{rtClosed, " procedure ", "begin", "end"},
                     R{rtFile, "unit", "", ""}, R{rtIgnore, "try", "try", "end"}}) {
    TRegionDefinition* d = s->RegionDefinitions()->Add();
    d->SetRegionType(r.type);
    d->SetIdentifier(r.id);
    d->SetRegionStart(r.start);
    d->SetRegionEnd(r.end);
  }
  return s;
}

const Lines kProgram = {
    "unit demo;",                          // 0
    "section one",                         // 1
    "procedure a;",                        // 2
    "begin",                               // 3
    "  try",                               // 4
    "    x;",                              // 5
    "  end;",                              // 6
    "end;",                                // 7
    "{ procedure hidden; begin end; }",    // 8
    "section two  // procedure c; begin",  // 9
    "procedure b;",                        // 10
    "begin",                               // 11
    "  { a comment",                       // 12
    "    procedure d; begin }",            // 13
    "end;",                                // 14
    "last",                                // 15
};

}  // namespace

TEST(MemoFolding, WithoutFoldingTheMapsAreTheIdentity) {
  MemoOnForm f;
  SetText(f.memo, FoldNumbered(10));
  f.memo->AddRegion(2, 5);  // refused while folding is off
  EXPECT_EQ(f.memo->RegionCount(), 0);
  for (Integer i : {-1, 0, 3, 9, 12}) {
    EXPECT_EQ(f.memo->RealToVisible(i), i);
    EXPECT_EQ(f.memo->VisibleToReal(i), i);
  }
}

TEST(MemoFolding, RowsAndLinesAroundCollapsedRegions) {
  MemoOnForm f;
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, FoldNumbered(12));
  f.memo->AddRegion(2, 5);
  f.memo->AddRegion(5, 5);  // empty: refused
  f.memo->AddRegion(6, 4);  // backwards: refused
  f.memo->AddRegion(2, 7);  // line 2 starts one already
  EXPECT_EQ(f.memo->RegionCount(), 1);
  EXPECT_EQ(f.memo->RegionEndLine(2), 5);
  EXPECT_EQ(f.memo->RegionEndLine(3), -1);
  f.memo->SetExpanded(2, false);
  EXPECT_FALSE(f.memo->IsExpanded(2));
  const std::vector<Integer> rowLines = {0, 1, 2, 6, 7, 8, 9, 10, 11};
  for (Integer row = 0; row < static_cast<Integer>(rowLines.size()); ++row)
    EXPECT_EQ(f.memo->VisibleToReal(row), rowLines[row]) << row;
  const std::vector<Integer> lineRows = {0, 1, 2, 2, 2, 2, 3, 4, 5, 6, 7, 8};
  for (Integer line = 0; line < 12; ++line) EXPECT_EQ(f.memo->RealToVisible(line), lineRows[line]) << line;
  EXPECT_EQ(f.memo->VisibleToReal(9), 12);  // past the end: beyond the last line

  // Nested, the outer one collapsed.
  f.memo->ToggleExpanded(2);
  f.memo->ClearRegions();
  f.memo->AddRegion(1, 8);
  f.memo->AddRegion(3, 5);
  EXPECT_EQ(f.memo->RegionEndLine(1), 8);
  EXPECT_EQ(f.memo->RegionEndLine(3), 5);
  f.memo->SetExpanded(1, false);
  EXPECT_EQ(f.memo->RealToVisible(9), 2);
  EXPECT_EQ(f.memo->VisibleToReal(2), 9);
  EXPECT_EQ(f.memo->RealToVisible(4), 1);

  // The arrow keys walk the visible lines.
  f.memo->SetCaret(0, 0);
  f.memo->MoveCaret(0, 1, {});
  EXPECT_EQ(f.memo->CaretY(), 1);
  f.memo->MoveCaret(0, 1, {});
  EXPECT_EQ(f.memo->CaretY(), 9);
  f.memo->MoveCaret(0, -1, {});
  EXPECT_EQ(f.memo->CaretY(), 1);
}

TEST(MemoFolding, DeletingARegionsLinesRemovesTheRegion) {
  MemoOnForm f;
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, FoldNumbered(12));
  f.memo->AddRegion(2, 5);
  f.memo->AddRegion(7, 9);
  f.memo->SetCaret(0, 2);
  f.memo->TextStore()->Delete(2);  // the start line
  EXPECT_EQ(f.memo->RegionCount(), 1);
  EXPECT_EQ(Regions(f.memo), (std::vector<std::pair<Integer, Integer>>{{6, 8}}));
  f.memo->TextStore()->Delete(8);  // the end line
  EXPECT_EQ(f.memo->RegionCount(), 0);
  EXPECT_TRUE(Regions(f.memo).empty());
  f.memo->TextStore()->Check();
}

TEST(MemoFolding, RegionsFoundByEachKindOfRule) {
  MemoOnForm f;
  f.memo->SetSyntaxStyles(FoldingStyler(f.form));
  SetText(f.memo, kProgram);
  EXPECT_EQ(f.memo->RegionCount(), 0);  // folding off: nothing found
  f.memo->CodeFolding()->SetEnabled(true);  // switching on finds them
  const std::vector<std::pair<Integer, Integer>> expected = {
      {0, 15},  // unit: the whole file
      {1, 8},   // section: up to the next one
      {2, 7},   // procedure a, its try block ignored
      {9, 15},  // the last section: to the end
      {10, 14}, // procedure b, the comments skipped
  };
  EXPECT_EQ(Regions(f.memo), expected);
  EXPECT_EQ(f.memo->RegionCount(), 5);

  // A collapsed region stays collapsed when the regions are found again.
  f.memo->SetExpanded(10, false);
  f.memo->SetExpanded(2, false);
  f.memo->RebuildRegions();
  EXPECT_EQ(Regions(f.memo), expected);
  EXPECT_FALSE(f.memo->IsExpanded(10));
  EXPECT_FALSE(f.memo->IsExpanded(2));
  EXPECT_TRUE(f.memo->IsExpanded(1));
  EXPECT_EQ(f.memo->VisibleToReal(3), 8);
  EXPECT_EQ(f.memo->VisibleToReal(6), 15);

  // Loading text finds the regions again.
  f.memo->TextStore()->LoadFromString("section x\r\nprocedure q; begin\r\nend;\r\n");
  EXPECT_EQ(Regions(f.memo), (std::vector<std::pair<Integer, Integer>>{{0, 2}, {1, 2}}));
}

TEST(MemoFolding, CaptionsOfRulesThatShowComments) {
  MemoOnForm f;
  TLumCustomMemoStyler* s = FoldingStyler(f.form);
  s->RegionDefinitions()->Items(0)->SetShowComments(true);
  f.memo->SetSyntaxStyles(s);
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, {"  section { the first } x", "a", "procedure p;", "begin", "end;"});
  Integer definition = -1;
  AnsiString caption;
  ASSERT_TRUE(f.memo->RegionCaption(0, definition, caption));
  EXPECT_EQ(definition, 0);
  EXPECT_EQ(caption, "  [{ the first]");
  EXPECT_FALSE(f.memo->RegionCaption(2, definition, caption));  // its rule shows none
  EXPECT_FALSE(f.memo->RegionCaption(1, definition, caption));  // no region starts there
}

TEST(MemoFolding, TheHtmlStylerFindsNoRegion) {
  MemoOnForm f;
  f.memo->SetSyntaxStyles(new TLumHTMLMemoStyler(f.form));
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, {"<html>", "<body>", "<p>section procedure begin end</p>", "</body>", "</html>"});
  f.memo->RebuildRegions();
  EXPECT_EQ(f.memo->RegionCount(), 0);
  EXPECT_TRUE(Regions(f.memo).empty());
}

TEST(MemoFolding, TheStripInPixelsAndAClickInIt) {
  MemoOnForm f(300, 200);
  vcl::TFakeMetricsCanvas metrics(0, 0, {});
  f.memo->SetMeasuringCanvas(&metrics);
  f.memo->Gutter()->SetVisible(false);
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, FoldNumbered(12));
  f.memo->AddRegion(2, 5);
  const vcl::TColor line = f.memo->CodeFolding()->LineColor();
  const TRect t = f.memo->TextRect();
  const Integer x = t.Left - 16;
  const Integer m = (f.memo->LineHeight() - 9) / 2;
  auto rowTop = [&](Integer row) { return f.memo->CellRect(0, row).Top; };

  QImage open = Grab(f.memo);
  SaveShot(open, "memo_folding_open.png");
  const Integer y2 = rowTop(2);
  EXPECT_EQ(PixelAt(open, x + 2, y2 + m + 4), line);               // the box's left edge
  EXPECT_EQ(PixelAt(open, x + 3, y2 + m + 1), vcl::clWhite);       // inside it
  EXPECT_EQ(PixelAt(open, x + 5, y2 + m + 4), line);               // the minus
  EXPECT_EQ(PixelAt(open, x + 6, y2 + m + 2), vcl::clWhite);       // no plus stroke
  EXPECT_EQ(PixelAt(open, x + 6, rowTop(3) + 5), line);            // the region's line
  EXPECT_EQ(PixelAt(open, x + 8, rowTop(5) + f.memo->LineHeight() - 1), line);  // the end tick
  EXPECT_EQ(PixelAt(open, x + 6, rowTop(7) + 5), vcl::clWhite);    // below the region

  f.memo->SetExpanded(2, false);
  QImage closed = Grab(f.memo);
  SaveShot(closed, "memo_folding_collapsed.png");
  EXPECT_EQ(PixelAt(closed, x + 6, y2 + m + 2), line);  // the plus stroke
  EXPECT_EQ(PixelAt(closed, x + 6, rowTop(3) + 5), vcl::clWhite);  // row 3 shows line 6
  // The hidden lines' box after the text of "line 2".
  const Integer after = t.Left + 6 * f.memo->CharWidth();
  EXPECT_EQ(PixelAt(closed, after + 5, y2 + 7), line);
  EXPECT_EQ(PixelAt(closed, after + 10, y2 + f.memo->LineHeight() - 5), line);  // the first dot

  // A press in the strip opens the region again and keeps the view.
  QTest::mouseClick(f.memo->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(x + 6, y2 + m + 4));
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(f.memo->IsExpanded(2));
  EXPECT_EQ(f.memo->CaretY(), 2);
  EXPECT_EQ(f.memo->TopLine(), 0);
}

TEST(MemoFolding, InputAroundCollapsedRegions) {
  MemoOnForm f(400, 240);
  f.memo->SetScrollBars(vcl::ssNone);
  TLumCustomMemoStyler* s = FoldingStyler(f.form);
  s->RegionDefinitions()->Items(0)->SetShowComments(true);  // sections show their caption
  f.memo->SetSyntaxStyles(s);
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, {"section { first }", "a := 1;", "procedure p;", "begin", "end;", "last"});
  ASSERT_TRUE(f.memo->IsRegionStart(0));
  ASSERT_TRUE(f.memo->IsRegionStart(2));
  f.memo->SetFocus();
  vcl::Application->ProcessMessages();
  QWidget* w = f.memo->Widget();
  auto cellPoint = [&](Integer column, Integer row) {
    const TRect c = f.memo->CellRect(column, row);
    return QPoint(c.Left + 1, c.Top + c.Height() / 2);
  };
  auto click = [&](QPoint p) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, p);
    vcl::Application->ProcessMessages();
  };
  auto key = [&](Qt::Key k) {
    QTest::keyClick(w, k);
    vcl::Application->ProcessMessages();
  };

  // A click past a line's end fills that line, not the one the caret left.
  f.memo->SetCaret(0, 5);
  click(cellPoint(8, 1));
  EXPECT_EQ(LinesOf(f.memo)[1], "a := 1; ");
  EXPECT_EQ(LinesOf(f.memo)[5], "last");

  // A click on the box after a collapsed line's end leaves the line as it
  // is; further out the line fills up to the click as anywhere else.
  f.memo->SetExpanded(2, false);
  click(cellPoint(14, 2));
  EXPECT_EQ(f.memo->CaretY(), 2);
  EXPECT_EQ(f.memo->CaretX(), 12);
  EXPECT_EQ(LinesOf(f.memo)[2], "procedure p;");
  // A double click there opens the region.
  click(cellPoint(14, 2));
  EXPECT_TRUE(f.memo->IsExpanded(2));
  EXPECT_EQ(LinesOf(f.memo)[2], "procedure p;");
  f.memo->SetExpanded(2, false);
  click(cellPoint(20, 2));
  EXPECT_EQ(f.memo->CaretX(), 20);
  EXPECT_EQ(LinesOf(f.memo)[2], "procedure p;        ");
  // A region without a caption takes keys on its first line.
  key(Qt::Key_Backspace);
  EXPECT_EQ(LinesOf(f.memo)[2], "procedure p;       ");

  // On a collapsed line that shows its caption the editing keys and typed
  // characters do nothing; Enter still works.
  f.memo->SetExpanded(0, false);
  f.memo->SetCaret(3, 0);
  for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Delete, Qt::Key_Insert, Qt::Key_X})
    key(k);
  EXPECT_EQ(LinesOf(f.memo)[0], "section { first }");
  EXPECT_FALSE(f.memo->Overwrite());
  EXPECT_FALSE(f.memo->IsExpanded(0));
  // The row shows the caption alone, in the folding line colour: gray ink
  // and no black text.
  {
    const QImage shot = Grab(f.memo);
    SaveShot(shot, "memo_folding_caption.png");
    const TRect row = f.memo->CellRect(0, 0);
    const int caretX = f.memo->CellRect(3, 0).Left;  // the caret's own black bar is no text
    int gray = 0, dark = 0;
    for (int y = row.Top; y < row.Bottom; ++y)
      for (int x = f.memo->TextRect().Left; x < f.memo->TextRect().Left + 20 * f.memo->CharWidth(); ++x) {
        if (x >= caretX - 2 && x <= caretX + 2) continue;
        const QRgb p = shot.pixel(x, y);
        if (qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60) ++dark;
        if (qRed(p) == 0x80 && qGreen(p) == 0x80 && qBlue(p) == 0x80) ++gray;
      }
    EXPECT_GT(gray, 10);
    EXPECT_EQ(dark, 0);
  }
  // A double click on its word opens it and selects the word.
  click(cellPoint(2, 0));
  click(cellPoint(2, 0));
  EXPECT_TRUE(f.memo->IsExpanded(0));
  EXPECT_EQ(f.memo->GetSelText(), "section");
  f.memo->SetExpanded(0, false);
  f.memo->SetCaret(0, 0);
  const Integer before = f.memo->TextStore()->Count();
  key(Qt::Key_Return);
  EXPECT_EQ(f.memo->TextStore()->Count(), before + 1);
}

TEST(MemoFolding, PagesCountTheRowsShown) {
  MemoOnForm f(300, 200);
  vcl::TFakeMetricsCanvas metrics(0, 0, {});
  f.memo->SetMeasuringCanvas(&metrics);
  f.memo->CodeFolding()->SetEnabled(true);
  SetText(f.memo, FoldNumbered(60));
  f.memo->AddRegion(2, 20);
  f.memo->SetExpanded(2, false);  // lines 3 to 20 hidden: row 3 shows line 21
  f.memo->SetFocus();
  vcl::Application->ProcessMessages();
  const Integer rows = f.memo->TextRect().Height() / f.memo->LineHeight();
  ASSERT_GT(rows, 3);
  ASSERT_LT(rows + 18, 40);
  auto key = [&](Qt::Key k) {
    QTest::keyClick(f.memo->Widget(), k);
    vcl::Application->ProcessMessages();
  };
  key(Qt::Key_PageDown);
  EXPECT_EQ(f.memo->CaretY(), rows + 18);
  EXPECT_EQ(f.memo->TopLine(), rows + 18);
  EXPECT_EQ(f.memo->RealToVisible(f.memo->CaretY()), rows);
  key(Qt::Key_PageUp);
  EXPECT_EQ(f.memo->CaretY(), 0);
  EXPECT_EQ(f.memo->TopLine(), 0);
  // Down from the collapsed line steps over the hidden ones.
  f.memo->SetCaret(0, 2);
  key(Qt::Key_Down);
  EXPECT_EQ(f.memo->CaretY(), 21);
  key(Qt::Key_Up);
  EXPECT_EQ(f.memo->CaretY(), 2);
}
