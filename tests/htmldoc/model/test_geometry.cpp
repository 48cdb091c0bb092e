// Inclusive rectangles, scaling, rectangle sets and table column widths,
// with the worked examples (33, 33 and 34 pixels; 16.5 rounding to 16).
//
// Rows marked "guarded" give 0 where a division by zero used to stand.
#include <gtest/gtest.h>

#include "htmledit/doc/psGeometry.h"
#include "rtl/Exceptions.h"

using namespace htmldoc;

TEST(Geometry, RectanglesAndPoints) {
  EXPECT_TRUE(RectsIntersect(InitRect(0, 0, 9, 9), InitRect(9, 9, 20, 20)));
  EXPECT_FALSE(RectsIntersect(InitRect(0, 0, 9, 9), InitRect(10, 0, 20, 9)));
  EXPECT_FALSE(RectsIntersect(InitRect(0, 10, 9, 19), InitRect(0, 0, 9, 9)));
  EXPECT_TRUE(RectsIntersectBounds(0, 0, 9, 9, 5, 5, 6, 6));
  EXPECT_EQ(RectWidth(InitRect(5, 0, 5, 0)), 1);
  EXPECT_EQ(RectHeight(InitRect(0, 3, 0, 12)), 10);
  EXPECT_TRUE(RangesOverlap(1, 5, 5, 9));
  EXPECT_FALSE(RangesOverlap(1, 4, 5, 9));
  EXPECT_TRUE(PointInRect(InitPoint(9, 0), InitRect(0, 0, 9, 9)));
  EXPECT_FALSE(PointInRect(InitPoint(10, 0), InitRect(0, 0, 9, 9)));
  EXPECT_EQ(RectUnion(InitRect(0, 5, 3, 9), InitRect(2, 1, 8, 4)), InitRect(0, 1, 8, 9));
  EXPECT_EQ(MakePoint(2, 3), (TpsPoint{2, 3}));
}

TEST(Geometry, Scaling) {
  struct Case {
    Integer a, b, c, ratio, inverse;
  };
  const Case cases[] = {
      {1, 2, 33, 16, 66},  // 16.5 rounds to 16
      {3, 2, 5, 8, 3},     // 7.5 rounds to 8; 3.33 to 3
      {0, 5, 10, 0, 0},    // guarded: 5 / 0
      {5, 0, 10, 0, 0},    // guarded: 5 / 0
      {2000000000, 1, 2000000000, INT32_MAX, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScaleByRatio(c.a, c.b, c.c), c.ratio) << c.a << "/" << c.b;
    EXPECT_EQ(ScaleByInverseRatio(c.a, c.b, c.c), c.inverse) << c.a << "/" << c.b;
  }
}

TEST(Geometry, RectangleSets) {
  TpsRectangleSetComparison same;
  same.AddExpected({1, 2, 3, 4});
  EXPECT_TRUE(same.Match({1, 2, 3, 4}));
  EXPECT_TRUE(same.IsUnchanged());
  TpsRectangleSetComparison moved;
  moved.AddExpected({1, 2, 3, 4});
  EXPECT_FALSE(moved.Match({1, 2, 3, 5}));
  EXPECT_FALSE(moved.IsUnchanged());
  TpsRectangleSetComparison fewer;
  fewer.AddExpected({1, 2, 3, 4});
  fewer.AddExpected({5, 6, 7, 8});
  fewer.Match({5, 6, 7, 8});
  EXPECT_FALSE(fewer.IsUnchanged());
  TpsRectangleList list;
  EXPECT_EQ(list.Add({1, 1, 1, 1}), 0);
  EXPECT_EQ(list.Add({2, 2, 2, 2}), 1);
  list.Delete(0);
  EXPECT_EQ(list.Get(0).X, 2);
  EXPECT_THROW(list.Get(1), rtl::EListError);
  EXPECT_THROW(list.Delete(-1), rtl::EListError);
}

TEST(ColumnWidths, DistributionsAndPositions) {
  struct Column {
    Integer width;
    Byte type;
  };
  struct Case {
    std::vector<Column> columns;
    Integer total;
    std::vector<Integer> widths;
  };
  const Case cases[] = {
      {{{33, cwtPercent}, {33, cwtPercent}, {33, cwtPercent}}, 100, {33, 33, 34}},
      {{{30, cwtPercent}, {70, cwtPercent}}, 101, {30, 71}},
      {{{32, cwtPercent}, {68, cwtPercent}}, 500, {160, 340}},
      {{{100, cwtPixels}, {50, cwtPixels}}, 250, {150, 100}},
      {{{100, cwtPixels}, {50, cwtPixels}}, 100, {75, 25}},
      {{{100, cwtPixels}, {50, cwtPercent}}, 300, {0, 0}},
      {{{0, cwtUnspecified}, {0, cwtUnspecified}}, 300, {0, 0}},
      {{{0, cwtPercent}, {0, cwtPercent}}, 300, {0, 0}},  // guarded: percentages summing to 0
  };
  for (const auto& c : cases) {
    TpsColumnWidthList list;
    for (const auto& column : c.columns) list.Add(column.width, column.type);
    for (size_t i = 0; i < c.widths.size(); ++i)
      EXPECT_EQ(list.GetColumnWidth(static_cast<Integer>(i), c.total), c.widths[i]) << i;
  }
  TpsColumnWidthList pixels;
  pixels.Add(40, cwtPixels);
  pixels.Add(40, cwtPixels);
  Integer left = 0, width = 0;
  pixels.GetColumnPosition(1, 2, 100, left, width);
  EXPECT_EQ(left, 52);
  EXPECT_EQ(width, 50);  // wider than what is left: kept
  pixels.GetColumnPosition(0, 2, 100, left, width);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(width, 50);
  TpsColumnWidthList mixed;
  mixed.Add(10, cwtPixels);
  mixed.Add(20, cwtPercent);
  mixed.GetColumnPosition(1, 5, 100, left, width);
  EXPECT_EQ(left, 5);
  EXPECT_EQ(width, 95);  // the last column takes what is left
  EXPECT_EQ(pixels.GetColumnWidthTypes(), 1);
  EXPECT_EQ(pixels.SumWidths(1), 80);
  EXPECT_TRUE(pixels.AllOfType(cwtPixels));
  EXPECT_TRUE(pixels.AllSameType());
  pixels.SetWidth(0, 10);
  EXPECT_EQ(pixels.GetWidth(0), 10);
  EXPECT_THROW(pixels.GetWidth(2), rtl::EListError);
  EXPECT_THROW(pixels.SetWidth(-1, 0), rtl::EListError);
  EXPECT_THROW(pixels.GetColumnWidth(5, 100), rtl::EListError);
  pixels.Add(1, 7);
  try {
    pixels.GetColumnWidthTypes();
    ADD_FAILURE();
  } catch (const EpsHtmlEditException& e) {
    EXPECT_EQ(e.Message(), "TpsColumnWidthList.GetColumnWidthTypes: Unkown column width type");
  }
  TpsColumnWidthList empty;
  EXPECT_EQ(empty.GetColumnWidthTypes(), 0);
  EXPECT_TRUE(empty.AllOfType(cwtPercent));
  EXPECT_TRUE(empty.AllSameType());
}
