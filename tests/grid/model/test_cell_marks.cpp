// Header texts and marking a search text in cells, without a window.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grid/model/CellMarks.h"
#include "grid/model/GridModel.h"

using namespace grid;

TEST(GridHeaderText, BackslashNPairsBreakTheLine) {
  struct Case {
    const char* entry;
    const char* cell;
  };
  const Case cases[] = {{"Max\\nValue", "Max\rValue"},
                        {"a\\n\\nb", "a\r\rb"},
                        {"trailing\\", "trailing\\"},
                        {"no break \\t", "no break \\t"},
                        {"", ""}};
  for (const Case& k : cases) EXPECT_EQ(HeaderCellText(k.entry), k.cell) << k.entry;
}

TEST(GridCellMarks, MarkAndUnmarkGiveTheCellsBack) {
  TGridModel m;
  m.SetColCount(3);
  m.SetRowCount(3);
  m.SetRawCell(0, 0, "alpha beta");
  m.SetRawCell(1, 0, "<b>beta</b> and a<b");
  m.SetRawCell(2, 0, "no match");
  m.SetRawCell(0, 1, "BETA");
  m.SetRawCell(1, 1, "covered beta");
  m.MergeCells(0, 1, 2, 1);
  TCellMarks marks;
  const TMarkRange all{0, 0, 2, 2};
  marks.Mark(m, all, false, "beta");
  EXPECT_EQ(m.GetRawCell(0, 0), "alpha <hi>beta</hi>");
  EXPECT_NE(m.GetRawCell(1, 0).find("<hi>beta</hi>"), AnsiString::npos);
  EXPECT_EQ(m.GetRawCell(2, 0), "no match");
  EXPECT_EQ(m.GetRawCell(0, 1), "<hi>BETA</hi>");
  // A cell covered by a merged cell is left alone.
  EXPECT_EQ(m.GetRawCell(1, 1), "covered beta");
  marks.Unmark(m, all);
  EXPECT_EQ(m.GetRawCell(0, 0), "alpha beta");
  EXPECT_EQ(m.GetRawCell(1, 0), "<b>beta</b> and a<b");
  EXPECT_EQ(m.GetRawCell(0, 1), "BETA");
  EXPECT_EQ(marks.Remembered(), 0);

  // With case: only the matching case is marked.
  marks.Mark(m, all, true, "beta");
  EXPECT_EQ(m.GetRawCell(0, 1), "BETA");
  // A cell changed since it was marked is un-marked by the rule.
  m.SetRawCell(0, 0, "x <hi>y</hi> &lt;z&gt;");
  marks.Unmark(m, all);
  EXPECT_EQ(m.GetRawCell(0, 0), "x y <z>");
  EXPECT_EQ(m.GetRawCell(1, 0), "<b>beta</b> and a<b");

  // Outside the range nothing changes.
  marks.Mark(m, {1, 0, 2, 0}, false, "alpha");
  m.SetRawCell(0, 0, "alpha");
  marks.Mark(m, {1, 0, 2, 2}, false, "alpha");
  EXPECT_EQ(m.GetRawCell(0, 0), "alpha");
}

// Random cell texts (plain, HTML, with '<', '>', "&lt;", hi tags) and
// search texts: marking, marking again, then un-marking gives every cell
// back byte for byte.
TEST(GridCellMarks, UnmarkingRestoresEveryCellExactly) {
  const char* pieces[] = {"beta", "Beta", " ", "<b>", "</b>", "<", ">", "&lt;", "&gt;", "<hi>", "</hi>",
                          "x", "be", "ta", "<i>beta</i>", "&", "a<b", "c>d", "<HI>", "1.5"};
  const char* searches[] = {"beta", "b", "<", "&lt;", "hi", "x", "a<b", "ta"};
  for (unsigned seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    TGridModel m;
    m.SetColCount(4);
    m.SetRowCount(6);
    std::vector<std::string> start;
    for (Integer r = 0; r < 6; ++r)
      for (Integer c = 0; c < 4; ++c) {
        std::string text;
        const int n = static_cast<int>(rng() % 6);
        for (int i = 0; i < n; ++i) text += pieces[rng() % (sizeof pieces / sizeof *pieces)];
        m.SetRawCell(c, r, text);
        start.push_back(text);
      }
    TCellMarks marks;
    const TMarkRange all{0, 0, 3, 5};
    const int rounds = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < rounds; ++i)
      marks.Mark(m, all, rng() % 2 == 0, searches[rng() % (sizeof searches / sizeof *searches)]);
    marks.Unmark(m, all);
    size_t k = 0;
    for (Integer r = 0; r < 6; ++r)
      for (Integer c = 0; c < 4; ++c) EXPECT_EQ(m.GetRawCell(c, r), start[k++]) << c << "," << r;
    EXPECT_EQ(marks.Remembered(), 0);
  }
}
