// Sorting rows: the comparison of two cells by sort style, the column,
// indexed and grouped sorts, the order before sorting and the header click.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>
#include <set>

#include <unicode/ucol.h>

#include "grid/model/GridSort.h"
#include "grid/model/GridUtils.h"
#include "grid/model/LocaleCollator.h"

using namespace grid;

namespace {

class TestSorter : public TGridSorter {
 public:
  using TGridSorter::TGridSorter;
  std::function<void(Integer, TSortStyle&, AnsiString&, AnsiString&)> Format;
  std::function<Integer(const AnsiString&, const AnsiString&)> Custom;
  std::function<Integer(Integer, Integer, Integer)> Raw;
  // Marks kept beside the rows, as the grid keeps modified and disjunct marks.
  std::vector<int> Marks;
  Integer Top = 1;
  Integer Updates = 0;
  Integer Depth = 0;
  std::vector<std::pair<Integer, Integer>> RowUpdates;

  void SetCurrent(Integer row) { currentRow_ = row; }
  Integer Current() const { return currentRow_; }

 protected:
  void GetFormat(Integer col, TSortStyle& style, AnsiString& prefix, AnsiString& suffix) override {
    if (Format) Format(col, style, prefix, suffix);
  }
  Integer CustomCompare(const AnsiString& a, const AnsiString& b) override { return Custom ? Custom(a, b) : 0; }
  Integer RawCompare(Integer col, Integer r1, Integer r2) override { return Raw ? Raw(col, r1, r2) : 0; }
  void SwapRowMarks(Integer r1, Integer r2) override {
    if (!Marks.empty()) std::swap(Marks[r1], Marks[r2]);
  }
  Integer TopRow() const override { return Top; }
  void SetTopRow(Integer row) override { Top = row; }
  void BeginUpdate() override { ++Depth; }
  void EndUpdate() override {
    --Depth;
    ++Updates;
  }
  void RowUpdate(Integer oldRow, Integer newRow) override { RowUpdates.emplace_back(oldRow, newRow); }
};

// A grid with one fixed row and the given data rows (each a row of texts).
void Fill(TGridModel& m, const std::vector<std::vector<std::string>>& rows, Integer fixedCols = 0) {
  const Integer cols = rows.empty() ? 1 : static_cast<Integer>(rows[0].size());
  m.SetColCount(cols);
  m.SetRowCount(static_cast<Integer>(rows.size()) + 1);
  m.SetFixedRows(1);
  m.SetFixedCols(fixedCols);
  for (Integer c = 0; c < cols; ++c) m.SetRawCell(c, 0, "H" + std::to_string(c));
  for (size_t r = 0; r < rows.size(); ++r)
    for (Integer c = 0; c < cols; ++c) m.SetRawCell(c, static_cast<Integer>(r) + 1, rows[r][c]);
}

std::vector<std::string> Column(const TGridModel& m, Integer col) {
  std::vector<std::string> out;
  for (Integer r = m.FixedRows(); r < m.RowCount(); ++r) out.push_back(m.GetRawCell(col, r));
  return out;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(SortCompare, AutomaticStyleDecidedByTheFirstCell) {
  TGridModel m;
  Fill(m, {{"10"}, {"9"}, {"abc"}, {""}});
  TestSorter s(m);
  // 9 and 10 as numbers; against a number abc is invalid and counts as 0.
  EXPECT_EQ(s.CompareCells(0, 2, 1, false), -1);
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), 1);
  EXPECT_EQ(s.CompareCells(0, 1, 3, false), 1);
  // abc first decides text, where "abc" > "10" byte for byte.
  EXPECT_EQ(s.CompareCells(0, 3, 1, false), 1);
  // An empty cell shows nothing and counts as 0 against a number.
  EXPECT_EQ(s.CompareCells(0, 2, 4, false), 1);
  s.Options.Column = 0;
  s.SortByColumn();
  const Strings sorted = Column(m, 0);
  EXPECT_LT(std::find(sorted.begin(), sorted.end(), "9"), std::find(sorted.begin(), sorted.end(), "10"));
  EXPECT_EQ(std::multiset<std::string>(sorted.begin(), sorted.end()),
            (std::multiset<std::string>{"10", "9", "abc", ""}));
  EXPECT_EQ(m.RowCount(), 5);  // the spare rows are gone
  m.Check();
}

TEST(SortCompare, DatesAndTimesRecognisedFromTheText) {
  FixedLocaleSettings us;  // M/d/yyyy, '/', ':'
  TGridModel m;
  Fill(m, {{"12/31/2019"}, {"1/2/2020"}, {"10:15"}, {"9:30"}, {"1/2/2020 8:00"}, {"1/2/2020 07:00"}, {"x/1"}});
  TestSorter s(m);
  s.Locale = &us;
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), -1);  // by date, not by bytes
  EXPECT_EQ(s.CompareCells(0, 4, 3, false), -1);  // 9:30 before 10:15 as times
  EXPECT_EQ(s.CompareCells(0, 5, 6, false), 1);   // date and time
  // The separator must stand second or third between digits: text.
  EXPECT_EQ(s.CompareCells(0, 7, 1, false), 1);
  // A date against a text without the separator stays text: "1/" before "10".
  EXPECT_EQ(s.CompareCells(0, 2, 3, false), -1);

  // Short EU and US dates: two-digit years are 2000-2025, larger years as
  // written; what does not read counts as 0.
  Fill(m, {{"05/03/12"}, {"04/03/2012"}, {"06/03/1999"}, {"31/02/2012"}});
  s.Format = [](Integer, TSortStyle& style, AnsiString&, AnsiString&) { style = ssShortDateEU; };
  s.Options.Column = 0;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"31/02/2012", "06/03/1999", "04/03/2012", "05/03/12"}));
  s.Format = [](Integer, TSortStyle& style, AnsiString&, AnsiString&) { style = ssShortDateUS; };
  Fill(m, {{"03/05/12"}, {"03/04/2012"}, {"12/31/25"}, {"01/01/26"}});
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"01/01/26", "03/04/2012", "03/05/12", "12/31/25"}));
}

TEST(SortCompare, NumbersUnderTheLocale) {
  FixedLocaleSettings comma;
  comma.Decimal = ',';
  comma.Thousand = '.';
  FixedLocaleSettings point;
  TGridModel m;
  Fill(m, {{"1.5"}, {"1,2"}, {"12 kg"}, {"11"}, {"kg"}, {"ab"}});
  TestSorter s(m);
  s.Format = [](Integer, TSortStyle& style, AnsiString&, AnsiString&) { style = ssNumeric; };
  s.Locale = &comma;
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), -1);  // 1.5 reads 1, 1,2 reads 1.2
  s.Locale = &point;
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), 1);  // 1.5 against 1,2 read as 1
  EXPECT_EQ(s.CompareCells(0, 3, 4, false), 1);  // 12 kg counts as 12
  EXPECT_EQ(s.CompareCells(0, 5, 6, false), 0);  // both without a number: equal
  EXPECT_EQ(s.CompareCells(0, 5, 4, false), -1);  // kg counts 0 against 11

  // Financial: the owner's prefix off, thousands separators dropped.
  Fill(m, {{"$1,200"}, {"$950"}, {"$12,000.50"}, {"$-3"}});
  s.Format = [](Integer, TSortStyle& style, AnsiString& prefix, AnsiString&) {
    style = ssFinancial;
    prefix = "$";
  };
  s.Options.Column = 0;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"$-3", "$950", "$1,200", "$12,000.50"}));
  // A suffix comes off too, under a comma locale.
  Fill(m, {{"1.200,5 EUR"}, {"950,25 EUR"}, {"1.200,25 EUR"}});
  s.Locale = &comma;
  s.Format = [](Integer, TSortStyle& style, AnsiString&, AnsiString& suffix) {
    style = ssFinancial;
    suffix = " EUR";
  };
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"950,25 EUR", "1.200,25 EUR", "1.200,5 EUR"}));
}

TEST(SortCompare, StylesTable) {
  TGridModel m;
  Fill(m, {{"abc", "B"}, {"ABD", "b"}, {"<b>z</b>", "a"}, {"y", "A"}});
  TestSorter s(m);
  OrdinalCollator ordinal;
  s.CellCollator = &ordinal;
  TSortStyle style = ssAlphabetic;
  s.Format = [&](Integer, TSortStyle& st, AnsiString&, AnsiString&) { st = style; };
  struct Case {
    TSortStyle style;
    Integer col, row1, row2, expected;
  } cases[] = {
      {ssAlphabetic, 0, 1, 2, 1},      // 'a' after 'A'
      {ssAlphaCase, 0, 1, 2, 1},
      {ssAlphaNoCase, 0, 1, 2, -1},    // ABC before ABD
      {ssAlphaNoCase, 1, 1, 2, -1},    // B = B, then "B" before "b"
      {ssHTML, 0, 3, 4, 1},            // z after y without its tags
      {ssAlphabetic, 0, 3, 4, -1},     // '<' before 'y'
      {ssAnsiAlphaNoCase, 1, 3, 4, 0},
      {ssAlphaNumeric, 0, 1, 2, 1},
      {ssAlphaNumericNoCase, 0, 1, 2, -1},
      {ssCustom, 0, 1, 2, 0},          // no handler: equal
      {ssRaw, 0, 1, 2, 0},
  };
  for (const Case& c : cases) {
    style = c.style;
    EXPECT_EQ(s.CompareCells(c.col, c.row1, c.row2, false), c.expected) << static_cast<int>(c.style);
  }
  // The owner's comparisons, each to a sign.
  style = ssCustom;
  s.Custom = [](const AnsiString& a, const AnsiString& b) { return a.size() > b.size() ? 7 : -9; };
  EXPECT_EQ(s.CompareCells(0, 3, 1, false), 1);
  style = ssRaw;
  s.Raw = [](Integer col, Integer r1, Integer r2) { return (r1 - r2) * (col + 1) * 5; };
  EXPECT_EQ(s.CompareCells(1, 4, 2, false), 1);
  // Wide-text cells decoded before the collation.
  Fill(m, {{EncodeWideText(u"b\u00e9")}, {EncodeWideText(u"BA")}});
  style = ssUnicode;
  s.CellCollator = nullptr;
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), 1);
  // Alphanumeric styles compare as numbers when both cells are numbers.
  Fill(m, {{"10"}, {"9"}});
  style = ssAlphaNumeric;
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), 1);
  style = ssAlphabetic;
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), -1);
}

TEST(SortCompare, CheckBoxesAndImagesByTheirGraphics) {
  TGridModel m;
  Fill(m, {{"", "N"}, {"", "Y"}, {"", "x"}, {"", "y"}});
  auto setGraphic = [&](Integer col, Integer row, TCellType type, bool flag, Integer index) {
    auto g = std::make_unique<TCellGraphic>();
    g->CellType = type;
    g->CellBoolean = flag;
    g->CellIndex = index;
    m.SetCellGraphic(col, row, std::move(g));
  };
  setGraphic(0, 1, ctCheckBox, true, 0);
  setGraphic(0, 2, ctCheckBox, false, 0);
  setGraphic(0, 3, ctImageList, false, 4);
  setGraphic(0, 4, ctImageList, false, 2);
  setGraphic(1, 1, ctDataCheckBox, false, 0);
  setGraphic(1, 2, ctDataCheckBox, false, 0);
  TestSorter s(m);
  // A check-box cell first decides the style: checked after unchecked.
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), 1);
  EXPECT_EQ(s.CompareCells(0, 2, 1, false), -1);
  EXPECT_EQ(s.CompareCells(1, 2, 1, false), 1);  // "Y" is checked
  TSortStyle style = ssImages;
  s.Format = [&](Integer, TSortStyle& st, AnsiString&, AnsiString&) { st = style; };
  EXPECT_EQ(s.CompareCells(0, 3, 4, false), 1);
  EXPECT_EQ(s.CompareCells(0, 1, 4, false), -1);  // no image: -1
  EXPECT_EQ(s.CompareCells(0, 1, 2, false), 0);
}

TEST(SortBlanks, IgnoreBlanksPlacesEmptyCellsWhereverTheDirection) {
  struct Case {
    bool ignore;
    TSortBlankPosition pos;
    TSortDirection dir;
    Strings expected;
  } cases[] = {
      {true, blLast, sdAscending, {"a", "b", "", ""}},
      {true, blLast, sdDescending, {"b", "a", "", ""}},
      {true, blFirst, sdAscending, {"", "", "a", "b"}},
      {true, blFirst, sdDescending, {"", "", "b", "a"}},
      {false, blLast, sdAscending, {"", "", "a", "b"}},
      {false, blLast, sdDescending, {"b", "a", "", ""}},
  };
  for (const Case& c : cases) {
    TGridModel m;
    Fill(m, {{"b"}, {""}, {"a"}, {""}});
    TestSorter s(m);
    s.Options.AutoFormat = false;
    s.Options.IgnoreBlanks = c.ignore;
    s.Options.BlankPos = c.pos;
    s.Options.Direction = c.dir;
    s.Options.Column = 0;
    s.SortByColumn();
    EXPECT_EQ(Column(m, 0), c.expected) << c.ignore << static_cast<int>(c.pos) << static_cast<int>(c.dir);
  }
  // Blanks are tested after the prefix came off: "$" alone counts as blank.
  TGridModel m;
  Fill(m, {{"$"}, {"$5"}, {"$3"}});
  TestSorter s(m);
  s.Format = [](Integer, TSortStyle& style, AnsiString& prefix, AnsiString&) {
    style = ssNumeric;
    prefix = "$";
  };
  s.Options.IgnoreBlanks = true;
  s.Options.BlankPos = blLast;
  s.Options.Column = 0;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"$3", "$5", "$"}));
}

TEST(SortRows, FullTieBreakUsesTheColumnsToTheRightOnly) {
  TGridModel m;
  Fill(m, {{"9", "b", "2", "x"}, {"1", "a", "3", "y"}, {"5", "b", "1", "z"}, {"0", "a", "3", "w"}, {"7", "b", "1", "v"}});
  TestSorter s(m);
  s.Options.Column = 1;
  s.SortByColumn();
  // a a b b b; ties by column 2, then column 3; column 0 never asked.
  EXPECT_EQ(Column(m, 1), (Strings{"a", "a", "b", "b", "b"}));
  EXPECT_EQ(Column(m, 2), (Strings{"3", "3", "1", "1", "2"}));
  EXPECT_EQ(Column(m, 3), (Strings{"w", "y", "v", "z", "x"}));
  s.Options.Direction = sdDescending;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 3), (Strings{"x", "z", "v", "y", "w"}));
  // An ignored column compares equal and hands the tie on.
  s.IgnoredColumns().Add(2);
  s.Options.Direction = sdAscending;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 3), (Strings{"w", "y", "v", "x", "z"}));
  s.Options.Full = false;
  EXPECT_EQ(s.CompareRows(1, 1, 2), 0);
}

TEST(SortRows, RowsMoveWholeWithPropertiesHeightsAndMarks) {
  TGridModel m;
  Fill(m, {{"c", "3"}, {"a", "1"}, {"d", "4"}, {"b", "2"}});
  for (Integer r = 1; r <= 4; ++r) {
    m.SetRowHeights(r, 20 + r);
    m.CellProperties(1, r).SetBrushColor(static_cast<TColor>(0x100 * r));
  }
  TestSorter s(m);
  s.Marks = {0, 10, 20, 30, 40, 0, 0, 0};
  s.Options.ShowModified = true;
  s.SetCurrent(3);  // "d"
  s.Options.Column = 0;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"a", "b", "c", "d"}));
  const Integer origin[] = {0, 2, 4, 1, 3};  // where each row came from
  for (Integer r = 1; r <= 4; ++r) {
    EXPECT_EQ(m.RowHeights(r), 20 + origin[r]);
    EXPECT_EQ(m.CellProperties(1, r).BrushColor(), static_cast<TColor>(0x100 * origin[r]));
    EXPECT_EQ(s.Marks[r], 10 * origin[r]);
    EXPECT_EQ(s.UnsortedOrder()[r], origin[r]);
  }
  EXPECT_EQ(s.Current(), 3);  // put back on the index it had
  EXPECT_EQ(s.FollowedRow(), 4);  // the row "d" went to
  EXPECT_EQ(s.RowUpdates, (std::vector<std::pair<Integer, Integer>>{{3, 3}}));
  EXPECT_EQ(s.Depth, 0);
  EXPECT_EQ(s.Updates, 1);

  // Without ShowModified (or disjunct marks that move) the marks stay.
  s.Options.ShowModified = false;
  s.Options.Direction = sdDescending;
  s.Options.MoveRowOnSort = true;
  s.SetCurrent(1);  // "a"
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"d", "c", "b", "a"}));
  EXPECT_EQ(s.Marks[1], 20);
  EXPECT_EQ(s.Current(), 4);  // MoveRowOnSort follows the row
  m.Check();
}

TEST(SortRows, SingleColumnAndNormalCellsOnly) {
  TGridModel m;
  Fill(m, {{"r1", "c", "x"}, {"r2", "a", "y"}, {"r3", "b", "z"}}, 1);
  TestSorter s(m);
  s.Options.SingleColumn = true;
  s.Options.Column = 1;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 1), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Column(m, 0), (Strings{"r1", "r2", "r3"}));
  EXPECT_EQ(Column(m, 2), (Strings{"x", "y", "z"}));

  Fill(m, {{"r1", "c", "x"}, {"r2", "a", "y"}, {"r3", "b", "z"}}, 1);
  s.ResetUnsortedOrder();  // a grid filled anew
  s.Options.SingleColumn = false;
  s.Options.NormalCellsOnly = true;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 1), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Column(m, 0), (Strings{"r1", "r2", "r3"}));  // column 0 stays
  EXPECT_EQ(Column(m, 2), (Strings{"y", "z", "x"}));
  s.UnSort();
  EXPECT_EQ(Column(m, 1), (Strings{"c", "a", "b"}));
  EXPECT_EQ(Column(m, 0), (Strings{"r1", "r2", "r3"}));
}

TEST(SortRows, FixedAndFooterRowsStayAndDisplayEventsSkipTheSpareRows) {
  TGridModel m;
  Fill(m, {{"c"}, {"b"}, {"a"}, {"TOTAL"}});
  m.SetFixedFooters(1);
  std::vector<Integer> asked;
  m.OnGetDisplText = [&](Integer col, Integer row, AnsiString& value) {
    asked.push_back(row);
    value = "v" + value;
  };
  m.SetRowCount(m.RowCount());  // the display limit follows the count
  TestSorter s(m);
  s.Options.Column = 0;
  s.SortByColumn();
  EXPECT_EQ(Column(m, 0), (Strings{"a", "b", "c", "TOTAL"}));
  EXPECT_EQ(m.GetRawCell(0, 0), "H0");
  for (Integer row : asked) EXPECT_LT(row, 5);
  EXPECT_EQ(m.DisplayRowLimit(), 5);
  EXPECT_EQ(m.RowCount(), 5);
}

TEST(SortUndo, HeaderClicksCycleAscendingDescendingUnsorted) {
  TGridModel m;
  Fill(m, {{"b", "1"}, {"c", "2"}, {"a", "3"}, {"b", "4"}});
  TestSorter s(m);
  s.Options.UndoSort = true;
  EXPECT_EQ(s.ClickSort(0, false, false), TClickSortRun::csSort);
  EXPECT_EQ(Column(m, 0), (Strings{"a", "b", "b", "c"}));
  EXPECT_EQ(s.Options.Direction, sdAscending);
  EXPECT_EQ(s.ClickSort(0, false, false), TClickSortRun::csSort);
  EXPECT_EQ(Column(m, 0), (Strings{"c", "b", "b", "a"}));
  EXPECT_EQ(s.Options.Direction, sdDescending);
  EXPECT_EQ(s.ClickSort(0, false, false), TClickSortRun::csUnSort);
  EXPECT_EQ(Column(m, 1), (Strings{"1", "2", "3", "4"}));
  EXPECT_EQ(s.Options.Column, -1);
  // The next click starts again; a click on another column restarts.
  EXPECT_EQ(s.ClickSort(0, false, false), TClickSortRun::csSort);
  EXPECT_EQ(s.ClickSort(1, false, false), TClickSortRun::csSort);
  EXPECT_EQ(Column(m, 1), (Strings{"1", "2", "3", "4"}));
  // Without UndoSort the clicks only flip the direction.
  s.Options.UndoSort = false;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.ClickSort(1, false, false), TClickSortRun::csSort);
  EXPECT_EQ(Column(m, 1), (Strings{"4", "3", "2", "1"}));
  // Starting descending, the cycle is descending, ascending, unsorted.
  s.Options.UndoSort = true;
  s.Options.InitSortDirection = sdDescending;
  s.Options.Column = -1;
  s.ClickSort(0, false, false);
  EXPECT_EQ(Column(m, 0), (Strings{"c", "b", "b", "a"}));
  s.ClickSort(0, false, false);
  EXPECT_EQ(Column(m, 0), (Strings{"a", "b", "b", "c"}));
  EXPECT_EQ(s.ClickSort(0, false, false), TClickSortRun::csUnSort);
  // The order before the first sort since the row count last changed.
  EXPECT_EQ(Column(m, 1), (Strings{"1", "2", "3", "4"}));
  // A new row count starts a new unsorted order.
  s.ClickSort(1, false, false);
  EXPECT_EQ(Column(m, 1), (Strings{"4", "3", "2", "1"}));
  m.SetRowCount(6);
  m.SetRawCell(1, 5, "5");
  s.ClickSort(1, false, false);
  EXPECT_EQ(Column(m, 1), (Strings{"1", "2", "3", "4", "5"}));
  s.UnSort();
  EXPECT_EQ(Column(m, 1), (Strings{"4", "3", "2", "1", "5"}));
}

TEST(SortIndexed, ColumnsInPriorityWithTheirDirections) {
  TGridModel m;
  Fill(m, {{"1", "p", "b"}, {"2", "q", "a"}, {"3", "r", "b"}, {"4", "s", "a"}, {"5", "t", "b"}});
  TestSorter s(m);
  // Empty index: an error and nothing changed.
  try {
    s.IndexedSort();
    FAIL() << "no error";
  } catch (const ELumGridError& e) {
    EXPECT_EQ(e.Message(), "No indexes specified for indexed sort");
  }
  EXPECT_EQ(Column(m, 0), (Strings{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(m.RowCount(), 6);
  EXPECT_EQ(s.Updates, 0);
  s.SortIndexes().AddSortColumn(2, true);
  s.SortIndexes().AddSortColumn(0, false);
  s.IndexedSort();
  EXPECT_EQ(Column(m, 2), (Strings{"a", "a", "b", "b", "b"}));
  EXPECT_EQ(Column(m, 0), (Strings{"4", "2", "5", "3", "1"}));
  EXPECT_EQ(s.SortIndexes().Count(), 2);  // the index stays
  // Without Full the first index entry alone decides.
  s.Options.Full = false;
  EXPECT_EQ(s.CompareRowsIndexed(0, 1, 2), 0);
  s.Options.Full = true;
  EXPECT_EQ(s.CompareRowsIndexed(0, 1, 2), -1);  // 4 before 2 descending

  // Header clicks with IndexShow: a plain click restarts the index, the
  // index key adds a column or turns its direction over.
  s.Options.IndexShow = true;
  EXPECT_EQ(s.ClickSort(1, false, false), TClickSortRun::csIndexedSort);
  EXPECT_EQ(s.SortIndexes().Count(), 1);
  EXPECT_EQ(s.Options.Column, 1);
  EXPECT_EQ(Column(m, 1), (Strings{"p", "q", "r", "s", "t"}));
  s.ClickSort(1, false, false);  // the one column again: turned over
  EXPECT_EQ(Column(m, 1), (Strings{"t", "s", "r", "q", "p"}));
  s.ClickSort(2, false, false);
  EXPECT_EQ(s.SortIndexes().Count(), 1);
  s.ClickSort(0, true, false);
  EXPECT_EQ(s.SortIndexes().Count(), 2);
  EXPECT_EQ(Column(m, 0), (Strings{"2", "4", "1", "3", "5"}));
  s.ClickSort(0, true, false);
  EXPECT_EQ(Column(m, 0), (Strings{"4", "2", "5", "3", "1"}));
  EXPECT_EQ(s.Options.Column, 2);
}

TEST(SortGroups, DeepestExpandedGroupsSortInside) {
  TGridModel m;
  // Two groups of level 1 with a nested group of level 2 in the first.
  Fill(m, {{"G1", "z"}, {"N", "m"}, {"", "c"}, {"", "a"}, {"", "b"}, {"G2", "y"}, {"", "f"}, {"", "e"}});
  auto node = [&](Integer row, Integer level, bool collapsed, Integer span) {
    auto g = std::make_unique<TCellGraphic>();
    g->CellType = ctNode;
    g->CellBoolean = collapsed;
    g->CellIndex = span;
    m.SetCellGraphic(0, row, std::move(g));
    m.CellProperties(0, row).NodeLevel = level;
  };
  node(1, 1, false, 5);
  node(2, 2, false, 4);
  node(6, 1, false, 0);  // up to the next node row: the end
  TestSorter s(m);
  s.Options.Column = 1;
  s.GroupSort();
  // Only level 2 is deepest: its rows sort, the others stay.
  EXPECT_EQ(Column(m, 1), (Strings{"z", "m", "a", "b", "c", "y", "f", "e"}));
  s.Options.Direction = sdDescending;
  node(2, 2, true, 4);  // collapsed: left alone
  s.GroupSort();
  EXPECT_EQ(Column(m, 1), (Strings{"z", "m", "a", "b", "c", "y", "f", "e"}));
  node(2, 1, false, 4);
  node(1, 1, false, 1);
  s.SortIndexes().AddSortColumn(1, false);
  s.GroupIndexedSort();
  EXPECT_EQ(Column(m, 1), (Strings{"z", "m", "c", "b", "a", "y", "f", "e"}));
  EXPECT_EQ(m.RowCount(), 9);
  m.Check();
}

TEST(SortProperty, AnyComparisonsKeepIndexesInRange) {
  // Comparisons that answer at random are no order at all; the sorts still
  // touch only the rows they sort and keep every row.
  std::mt19937 rng(4711);
  for (int round = 0; round < 40; ++round) {
    const int n = 1 + static_cast<int>(rng() % 60);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < n; ++i) rows.push_back({std::to_string(i), std::to_string(rng() % 5)});
    TGridModel m;
    Fill(m, rows);
    m.SetFixedFooters(n > 2 ? 1 : 0);
    TestSorter s(m);
    s.Format = [](Integer, TSortStyle& style, AnsiString&, AnsiString&) { style = ssCustom; };
    s.Custom = [&](const AnsiString&, const AnsiString&) { return static_cast<Integer>(rng() % 3) - 1; };
    s.Options.Column = round % 2;
    s.Options.Direction = round % 3 == 0 ? sdDescending : sdAscending;
    if (round % 4 == 3) {
      s.SortIndexes().AddSortColumn(0, round % 8 == 3);
      s.IndexedSort();
    } else {
      s.SortByColumn();
    }
    const Strings ids = Column(m, 0);
    std::multiset<std::string> seen(ids.begin(), ids.end());
    ASSERT_EQ(seen.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) ASSERT_EQ(seen.count(std::to_string(i)), 1u);
    if (m.FixedFooters() > 0) EXPECT_EQ(ids.back(), std::to_string(n - 1));
    EXPECT_EQ(m.GetRawCell(0, 0), "H0");
    s.UnSort();
    for (int i = 0; i < n; ++i) ASSERT_EQ(m.GetRawCell(0, i + 1), std::to_string(i));
    m.Check();
  }
}

TEST(SortCorpus, WordsInTheOrderOfTheEnUsCollator) {
  std::ifstream in("/usr/share/dict/american-english");
  if (!in) GTEST_SKIP() << "wamerican is not installed";
  std::vector<std::string> words;
  for (std::string line; std::getline(in, line) && words.size() < 100000;)
    if (!line.empty()) words.push_back(line);
  std::mt19937 rng(99);
  std::shuffle(words.begin(), words.end(), rng);
  TGridModel m;
  m.SetColCount(1);
  m.SetRowCount(static_cast<Integer>(words.size()) + 1);
  m.SetFixedRows(1);
  m.SetFixedCols(0);
  for (size_t i = 0; i < words.size(); ++i) m.SetRawCell(0, static_cast<Integer>(i) + 1, words[i]);
  const std::unique_ptr<Collator> enUS = MakeLocaleCollator("en_US");
  TestSorter s(m);
  s.CellCollator = enUS.get();
  s.Format = [](Integer, TSortStyle& style, AnsiString&, AnsiString&) { style = ssAnsiAlphaNoCase; };
  s.Options.Column = 0;
  s.SortByColumn();
  // ICU's own collator at secondary strength orders the same (ties, words
  // equal but for case, may stand either way).
  UErrorCode status = U_ZERO_ERROR;
  UCollator* icu = ucol_open("en_US", &status);
  ASSERT_TRUE(U_SUCCESS(status));
  ucol_setStrength(icu, UCOL_SECONDARY);
  for (Integer r = 2; r < m.RowCount(); ++r) {
    const std::string& a = m.GetRawCell(0, r - 1);
    const std::string& b = m.GetRawCell(0, r);
    status = U_ZERO_ERROR;
    const UCollationResult order = ucol_strcollUTF8(icu, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                    static_cast<int32_t>(b.size()), &status);
    ASSERT_NE(order, UCOL_GREATER) << a << " / " << b;
  }
  ucol_close(icu);
}
