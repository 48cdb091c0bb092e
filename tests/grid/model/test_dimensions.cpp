// Counts and fixed counts: the string grid's rules and the grid's own.
#include <gtest/gtest.h>

#include "grid/model/GridModel.h"

using namespace grid;

TEST(GridDimensions, TheStringGridRefusesFixedCountsNotBelowTheCount) {
  TGridModel m;
  m.SetRowCount(3);
  try {
    m.SetFixedRows(3);
    FAIL() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_STREQ(e.what(), "Fixed row count must be less than row count");
  }
  EXPECT_EQ(m.FixedRows(), 1);
  EXPECT_EQ(m.RememberedFixedRows(), 0);  // unchanged
  try {
    m.SetFixedCols(5);
    FAIL() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_STREQ(e.what(), "Fixed column count must be less than column count");
  }
  try {
    m.SetFixedCols(-1);
    FAIL() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_STREQ(e.what(), "Grid index out of range");
  }
  m.SetRowCount(0);
  EXPECT_EQ(m.RowCount(), 1);
  EXPECT_EQ(m.FixedRows(), 0);
  m.Check();
}

TEST(GridDimensions, FixedRowAlwaysKeepsTheFixedRowsThroughFewRows) {
  TGridModel m;
  m.SetFixedRowAlways(true);
  m.SetFixedRows(1);
  m.SetRowCount(1);
  EXPECT_EQ(m.GridFixedRows(), 0);
  EXPECT_EQ(m.FixedRows(), 1);
  EXPECT_TRUE(m.IsFixedByCount(2, 0));
  m.SetRowCount(5);
  EXPECT_EQ(m.GridFixedRows(), 1);

  m.SetRowCount(3);
  m.SetFixedRows(3);
  EXPECT_EQ(m.GridFixedRows(), 2);
  EXPECT_EQ(m.RememberedFixedRows(), 3);
  m.SetRowCount(10);
  EXPECT_EQ(m.FixedRows(), 3);
  m.Check();
}

TEST(GridDimensions, FixedColAlwaysLikewise) {
  TGridModel m;
  m.SetFixedColAlways(true);
  m.SetFixedCols(2);
  m.SetColCount(2);
  EXPECT_EQ(m.GridFixedCols(), 1);
  m.SetColCount(1);
  EXPECT_EQ(m.GridFixedCols(), 0);
  EXPECT_EQ(m.FixedCols(), 1);
  m.SetColCount(6);
  EXPECT_EQ(m.FixedCols(), 2);
  EXPECT_EQ(m.LargestColCount(), 6);
}

TEST(GridDimensions, EveryRowFixedCountsAsFixedWhileTheCountMatchesTheRememberedOne) {
  TGridModel m;
  m.SetFixedRowAlways(true);
  m.SetFixedRows(2);
  m.SetRowCount(2);
  for (Integer r = 0; r < 2; ++r) EXPECT_TRUE(m.IsFixedByCount(3, r)) << r;
  m.SetRowCount(4);
  EXPECT_FALSE(m.IsFixedByCount(3, 2));
}

TEST(GridDimensions, LargestCountsAndTheDisplayLimitFollowTheRowCount) {
  TGridModel m;
  m.SetRowCount(12);
  m.SetRowCount(4);
  EXPECT_EQ(m.LargestRowCount(), 12);
  EXPECT_EQ(m.DisplayRowLimit(), 4);
  m.RememberLoadedDimensions();
  EXPECT_EQ(m.LargestRowCount(), 4);
}

TEST(GridDimensions, DefaultAndFixedSizes) {
  TGridModel m;
  m.SetRowCount(6);
  m.SetDefaultRowHeight(22);
  for (Integer r = 0; r < 6; ++r) EXPECT_EQ(m.RowHeights(r), 22);
  m.SetFixedRowHeight(30);
  EXPECT_EQ(m.RowHeights(0), 30);
  EXPECT_EQ(m.RowHeights(1), 22);
  m.SetRowHeights(3, 50);
  m.SetFixedRowHeight(22);  // equal to the default: every row is reset
  for (Integer r = 0; r < 6; ++r) EXPECT_EQ(m.RowHeights(r), 22) << r;

  m.SetColWidths(0, 30);
  m.SetFixedColWidth(64);  // equal to the default column width: nothing
  EXPECT_EQ(m.ColWidths(0), 30);
  m.SetFixedColWidth(40);
  EXPECT_EQ(m.ColWidths(0), 40);
  EXPECT_EQ(m.ColWidths(1), 64);
  EXPECT_EQ(m.ColumnsWidth(0, 3), 40 + 64 + 64);
  EXPECT_EQ(m.RowsHeight(1, 3), 44);

  class LoadingModel : public TGridModel {
   public:
    bool IsLoading() const override { return true; }
  } loading;
  loading.SetFixedColWidth(10);
  loading.SetFixedRowHeight(10);
  EXPECT_EQ(loading.ColWidths(0), 64);
  EXPECT_EQ(loading.RowHeights(0), 24);
  EXPECT_EQ(loading.FixedRowHeight(), 10);
  loading.SetFixedRows(0);
  EXPECT_EQ(loading.RememberedFixedRows(), 0);
}

TEST(GridDimensions, MovingRowsAndColumnsMovesAllTheyHold) {
  TGridModel m;
  for (Integer r = 0; r < 5; ++r)
    for (Integer c = 0; c < 5; ++c) m.SetRawCell(c, r, std::to_string(c) + "," + std::to_string(r));
  m.CellProperties(1, 1).FontSize = 11;
  m.SetRowHeights(1, 40);
  m.SetColWidths(1, 90);
  m.MoveRow(1, 3);
  EXPECT_EQ(m.GetRawCell(0, 3), "0,1");
  EXPECT_EQ(m.GetRawCell(0, 1), "0,2");
  EXPECT_EQ(m.RowHeights(3), 40);
  EXPECT_EQ(m.GetRawObject(1, 3)->FontSize, 11);
  m.MoveColumn(1, 4);
  EXPECT_EQ(m.GetRawCell(4, 3), "1,1");
  EXPECT_EQ(m.GetRawCell(1, 3), "2,1");
  EXPECT_EQ(m.ColWidths(4), 90);
  EXPECT_EQ(m.GetRawObject(4, 3)->FontSize, 11);
  m.MoveColumn(4, 0);
  EXPECT_EQ(m.GetRawCell(0, 3), "1,1");
  m.Check();
}
