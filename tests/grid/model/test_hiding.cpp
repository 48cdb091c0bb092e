// Hidden rows: hiding single rows, ranges and levels, showing them again,
// and the mappings between real and display row numbers.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "grid/model/GridModel.h"

using namespace grid;

namespace {

// Rows carry their real number in column 0, a text of their own in column 1,
// a height of their own and, on every third row, properties.
void Fill(TGridModel& m, Integer rows) {
  m.SetRowCount(rows);
  m.SetColCount(3);
  for (Integer r = 0; r < rows; ++r) {
    m.SetRawCell(0, r, std::to_string(r));
    m.SetRawCell(1, r, "text of " + std::to_string(r));
    m.SetRowHeights(r, 20 + r);
    if (r % 3 == 0) m.CellProperties(2, r).FontSize = 100 + r;
  }
}

struct RowPicture {
  std::vector<std::string> texts;
  Integer height;
  Integer fontSize;  // -1: no properties
  bool operator==(const RowPicture&) const = default;
};

std::vector<RowPicture> Picture(const TGridModel& m) {
  std::vector<RowPicture> rows;
  for (Integer r = 0; r < m.RowCount(); ++r) {
    RowPicture p;
    for (Integer c = 0; c < m.ColCount(); ++c) p.texts.push_back(m.GetRawCell(c, r));
    p.height = m.RowHeights(r);
    const TCellProperties* props = m.GetRawObject(2, r);
    p.fontSize = props ? props->FontSize : -1;
    rows.push_back(p);
  }
  return rows;
}

std::vector<std::string> Column0(const TGridModel& m) {
  std::vector<std::string> v;
  for (Integer r = 0; r < m.RowCount(); ++r) v.push_back(m.GetRawCell(0, r));
  return v;
}

// Every shown row holds the real row its display number maps to, and every
// mapping goes there and back.
void ExpectConsistent(const TGridModel& m) {
  m.Check();
  for (Integer d = 0; d < m.RowCount(); ++d) {
    const Integer real = m.RealRowIndex(d);
    ASSERT_EQ(m.GetRawCell(0, d), std::to_string(real)) << "display row " << d;
    ASSERT_EQ(m.DisplRowIndex(real), d);
    ASSERT_FALSE(m.IsHiddenRow(real));
  }
  for (Integer i = 0; i < m.NumHiddenRows(); ++i) {
    const TGridItem& item = m.HiddenRow(i);
    ASSERT_TRUE(m.IsHiddenRow(item.Idx));
    ASSERT_EQ(item.Row().Cell(0), std::to_string(item.Idx));
  }
}

class HookModel : public TGridModel {
 public:
  std::vector<std::vector<Integer>> removed, inserted;
  void RowsRemoved(const std::vector<Integer>& rows) override { removed.push_back(rows); }
  void RowsInserted(const std::vector<Integer>& rows) override { inserted.push_back(rows); }
};

}  // namespace

TEST(GridHiding, HidingOneRowRenumbersTheRowsBelow) {
  TGridModel m;
  Fill(m, 10);
  const auto before = Picture(m);
  EXPECT_EQ(m.RealRowIndex(5), 5);
  EXPECT_EQ(m.DisplRowIndex(5), 5);
  m.HideRow(3);
  EXPECT_EQ(m.RowCount(), 9);
  EXPECT_EQ(m.AllRowCount(), 10);
  EXPECT_EQ(m.GetRawCell(0, 3), "4");
  EXPECT_TRUE(m.IsHiddenRow(3));
  EXPECT_EQ(m.DisplRowIndex(4), 3);
  EXPECT_EQ(m.RealRowIndex(3), 4);
  EXPECT_EQ(m.DisplRowIndex(3), 3);  // a hidden row maps where the next shown row is
  ASSERT_NE(m.HiddenRowTexts(3), nullptr);
  EXPECT_EQ(m.HiddenRowTexts(3)->Get(1), "text of 3");
  EXPECT_EQ(m.HiddenRowTexts(4), nullptr);
  EXPECT_EQ(m.RealCells(1, 3), "text of 3");
  EXPECT_EQ(m.RealCells(1, 4), "text of 4");
  EXPECT_EQ(m.RealCells(-1, 4), "");
  EXPECT_EQ(m.RealObjects(2, 3)->FontSize, 103);
  EXPECT_EQ(m.RealObjects(2, 6)->FontSize, 106);
  ExpectConsistent(m);

  m.HideRow(3);  // already hidden
  EXPECT_EQ(m.NumHiddenRows(), 1);
  m.UnHideRow(4);  // not hidden
  EXPECT_EQ(m.RowCount(), 9);
  m.UnHideRow(3);
  EXPECT_EQ(Picture(m), before);
  EXPECT_EQ(m.NumHiddenRows(), 0);
}

TEST(GridHiding, HiddenTextsPassThroughTheDisplayEvent) {
  TGridModel m;
  Fill(m, 5);
  m.HideRow(2);
  m.OnGetDisplText = [](Integer, Integer row, AnsiString& v) { v += "@" + std::to_string(row); };
  EXPECT_EQ(m.RealCells(1, 2), "text of 2@2");
}

TEST(GridHiding, HidingARangeSkipsRowsHiddenAlready) {
  HookModel m;
  Fill(m, 10);
  m.HideRow(3);
  m.HideRows(2, 5);
  EXPECT_EQ(m.removed.back(), (std::vector<Integer>{2, 3, 4}));
  ASSERT_EQ(m.NumHiddenRows(), 4);
  for (Integer i = 0; i < 4; ++i) {
    EXPECT_EQ(m.HiddenRow(i).Idx, i + 2);
    EXPECT_EQ(m.HiddenRow(i).Height(), 22 + i);
    EXPECT_EQ(m.HiddenRow(i).Row().Cell(1), "text of " + std::to_string(i + 2));
  }
  EXPECT_EQ(Column0(m), (std::vector<std::string>{"0", "1", "6", "7", "8", "9"}));
  ExpectConsistent(m);
  m.HideRows(3, 4);  // all hidden already
  EXPECT_EQ(m.removed.size(), 2u);
}

TEST(GridHiding, ShowingARangeNeedsItsFirstRowHidden) {
  HookModel m;
  Fill(m, 10);
  const auto before = Picture(m);
  m.HideRows(3, 5);
  m.UnHideRows(2, 5);
  EXPECT_EQ(m.NumHiddenRows(), 3);
  m.HideRow(7);
  m.UnHideRows(3, 8);
  EXPECT_EQ(m.inserted.back(), (std::vector<Integer>{3, 4, 5, 7}));
  EXPECT_EQ(Picture(m), before);
}

TEST(GridHiding, ALevelHidesListedRowsAndComesBackInOrder) {
  TGridModel m;
  Fill(m, 6);
  const auto before = Picture(m);
  m.HideRowList(std::vector<Integer>{1, 4});
  EXPECT_EQ(Column0(m), (std::vector<std::string>{"0", "2", "3", "5"}));
  EXPECT_EQ(m.HiddenRowLevel(), 1);
  EXPECT_EQ(m.HiddenRow(0).Level, 1);
  ExpectConsistent(m);
  m.UnHideRowsLevel();
  EXPECT_EQ(Picture(m), before);
  EXPECT_EQ(m.HiddenRowLevel(), 0);
  m.UnHideRowsLevel();  // no level: nothing
  EXPECT_EQ(Picture(m), before);
}

// The case that lost rows: a single hidden row below a level.
TEST(GridHiding, ALevelShowsOnlyItsOwnRowsAndSingleHiddenRowsStayHidden) {
  TGridModel m;
  Fill(m, 10);
  const auto before = Picture(m);
  m.HideRow(8);
  m.HideRowList(std::vector<Integer>{1});
  ExpectConsistent(m);
  m.UnHideRowsLevel();
  ExpectConsistent(m);
  EXPECT_EQ(Column0(m), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "9"}));
  EXPECT_TRUE(m.IsHiddenRow(8));
  ASSERT_NE(m.HiddenRowTexts(8), nullptr);
  EXPECT_EQ(m.HiddenRowTexts(8)->Get(1), "text of 8");
  m.UnHideRow(8);
  EXPECT_EQ(Picture(m), before);
}

TEST(GridHiding, ListedDisplayRowsAreRecordedAsTheirRealRows) {
  TGridModel m;
  Fill(m, 10);
  m.HideRows(2, 3);
  m.HideRowList(std::vector<Integer>{2, 5});  // real rows 4 and 7
  EXPECT_TRUE(m.IsHiddenRow(4));
  EXPECT_TRUE(m.IsHiddenRow(7));
  ExpectConsistent(m);
  m.UnHideRow(7);  // a row of the level shown singly
  ExpectConsistent(m);
  m.UnHideRowsLevel();
  ExpectConsistent(m);
  EXPECT_EQ(m.NumHiddenRows(), 2);
}

TEST(GridHiding, NestedLevelsComeBackNewestFirst) {
  TGridModel m;
  Fill(m, 12);
  const auto before = Picture(m);
  m.HideRowList(std::vector<Integer>{1, 2, 9});
  m.HideRow(5);  // real row 5
  m.HideRowList(std::vector<Integer>{0, 3});  // real rows 0 and 4
  EXPECT_EQ(m.HiddenRowLevel(), 2);
  ExpectConsistent(m);
  m.UnHideRowsLevel();
  EXPECT_EQ(m.HiddenRowLevel(), 1);
  EXPECT_FALSE(m.IsHiddenRow(0));
  EXPECT_FALSE(m.IsHiddenRow(4));
  EXPECT_TRUE(m.IsHiddenRow(1));
  ExpectConsistent(m);
  m.UnHideRowsLevel();
  EXPECT_EQ(m.HiddenRowLevel(), 0);
  EXPECT_EQ(m.NumHiddenRows(), 1);
  m.UnHideRow(5);
  EXPECT_EQ(Picture(m), before);
}

TEST(GridHiding, OneRowAlwaysStaysShown) {
  TGridModel m;
  Fill(m, 3);
  m.HideRows(0, 2);
  EXPECT_EQ(m.RowCount(), 1);
  EXPECT_EQ(m.NumHiddenRows(), 2);
  m.HideRowList(std::vector<Integer>{0});
  EXPECT_EQ(m.RowCount(), 1);
  ExpectConsistent(m);
}

TEST(GridHiding, ArgumentsOutsideTheGridAreRefused) {
  TGridModel m;
  Fill(m, 4);
  EXPECT_THROW(m.HideRows(2, 9), rtl::EAssertionFailed);
  EXPECT_THROW(m.HideRowList(std::vector<Integer>{7}), rtl::EAssertionFailed);
  m.Check();
}

TEST(GridHiding, RandomHidingAndShowingKeepsTheMappingsAndGivesTheGridBack) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    TGridModel m;
    const Integer rows = 8 + static_cast<Integer>(rng() % 30);
    Fill(m, rows);
    const auto before = Picture(m);
    auto pick = [&](Integer n) { return static_cast<Integer>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 60; ++step) {
      const Integer all = m.AllRowCount();
      switch (rng() % 7) {
        case 0:
          m.HideRow(pick(all));
          break;
        case 1: {
          const Integer f = pick(all);
          m.HideRows(f, std::min(all - 1, f + pick(4)));
          break;
        }
        case 2: {
          std::vector<Integer> list;
          for (Integer d = 0; d < m.RowCount(); ++d)
            if (rng() % 4 == 0) list.push_back(d);
          m.HideRowList(list);
          break;
        }
        case 3:
          m.UnHideRow(pick(all));
          break;
        case 4: {
          const Integer f = m.NumHiddenRows() > 0 && rng() % 2 ? m.HiddenRow(pick(m.NumHiddenRows())).Idx : pick(all);
          m.UnHideRows(f, std::min(all - 1, f + pick(6)));
          break;
        }
        default:
          m.UnHideRowsLevel();
          break;
      }
      ASSERT_EQ(m.AllRowCount(), rows) << "seed " << seed << " step " << step;
      ExpectConsistent(m);
      if (::testing::Test::HasFatalFailure()) return;
      for (Integer r = 0; r < rows; ++r) {
        if (!m.IsHiddenRow(r)) {
          ASSERT_EQ(m.RealRowIndex(m.DisplRowIndex(r)), r);
        }
      }
    }
    while (m.HiddenRowLevel() > 0) m.UnHideRowsLevel();
    while (m.NumHiddenRows() > 0) m.UnHideRow(m.HiddenRow(0).Idx);
    ASSERT_EQ(Picture(m), before) << "seed " << seed;
  }
}
