// Row and column operations on the model: inserting, removing, clearing
// and moving rows and columns keep every side datum with its cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "grid/model/AutoSize.h"
#include "grid/model/GridModel.h"

using namespace grid;

namespace {

// A model whose cell controls are a list of (column, real row) records.
class ControlModel : public TGridModel {
 public:
  std::vector<TCellCoord> controls;
  std::vector<TGridRect> changed;
  void RemapCellControls(const std::function<Integer(Integer)>& map) override {
    std::vector<TCellCoord> kept;
    for (TCellCoord c : controls) {
      const Integer to = map(c.Y);
      if (to >= 0) kept.push_back({c.X, to});
    }
    controls = kept;
  }
  void CellsChanged(const TGridRect& block) override { changed.push_back(block); }
};

// What one cell should hold: its text, the brush colour of its properties
// (-1: none) and its graphic's text ("": none).
struct CellPicture {
  std::string text;
  long long brush = -1;
  std::string graphic;
  bool operator==(const CellPicture&) const = default;
};

std::ostream& operator<<(std::ostream& os, const CellPicture& c) {
  return os << "{" << c.text << ", " << c.brush << ", " << c.graphic << "}";
}

struct RowState {
  std::vector<CellPicture> cells;
  bool hidden = false;
  bool modified = false;
  bool marked = false;
  bool control = false;  // a control in column 1
};

// The grid as the test expects it: rows in real order.
class Reference {
 public:
  std::vector<RowState> rows;
  Integer cols = 0;

  Integer Shown() const {
    return static_cast<Integer>(std::count_if(rows.begin(), rows.end(), [](const RowState& r) { return !r.hidden; }));
  }
  // The real position of a display row (the end for one past the last).
  Integer RealOf(Integer display) const {
    Integer seen = 0;
    for (Integer i = 0; i < static_cast<Integer>(rows.size()); ++i) {
      if (rows[i].hidden) continue;
      if (seen == display) return i;
      ++seen;
    }
    return static_cast<Integer>(rows.size());
  }
  RowState EmptyRow() const {
    RowState r;
    r.cells.resize(cols);
    return r;
  }
};

CellPicture CellOf(const TCellProperties* p, const AnsiString& text) {
  CellPicture c;
  c.text = text;
  if (p != nullptr) {
    c.brush = p->BrushColor();
    if (p->Graphic() != nullptr) c.graphic = p->Graphic()->CellText;
  }
  return c;
}

void ExpectSame(ControlModel& m, const Reference& ref, const std::string& step) {
  SCOPED_TRACE(step);
  m.Check();
  ASSERT_EQ(m.AllRowCount(), static_cast<Integer>(ref.rows.size()));
  ASSERT_EQ(m.RowCount(), ref.Shown());
  ASSERT_EQ(m.ColCount(), ref.cols);
  std::set<Integer> modified;
  std::vector<TCellCoord> controls;
  for (Integer real = 0; real < static_cast<Integer>(ref.rows.size()); ++real) {
    const RowState& row = ref.rows[real];
    ASSERT_EQ(m.IsHiddenRow(real), row.hidden) << "real row " << real;
    if (row.modified) modified.insert(real);
    if (row.control) controls.push_back({1, real});
    for (Integer c = 0; c < ref.cols; ++c) {
      CellPicture got;
      if (row.hidden) {
        got = CellOf(m.RealObjects(c, real), m.RealCells(c, real));
      } else {
        const Integer d = m.DisplRowIndex(real);
        got = CellOf(m.GetRawObject(c, d), m.GetRawCell(c, d));
      }
      ASSERT_EQ(got, row.cells[c]) << "real row " << real << " column " << c;
    }
    if (!row.hidden) {
      ASSERT_EQ(m.Marks().RowMarked(m.DisplRowIndex(real)), row.marked) << "real row " << real;
    }
  }
  for (Integer i = 0; i < m.NumHiddenRows(); ++i) {
    const TGridItem& item = m.HiddenRow(i);
    ASSERT_EQ(item.Marked, ref.rows[item.Idx].marked) << "hidden row " << item.Idx;
  }
  const std::vector<Integer>& values = m.RowModified().Values();
  ASSERT_EQ(std::set<Integer>(values.begin(), values.end()), modified);
  ASSERT_EQ(values.size(), modified.size());
  auto sorted = m.controls;
  std::sort(sorted.begin(), sorted.end(), [](TCellCoord a, TCellCoord b) { return a.Y < b.Y; });
  ASSERT_EQ(sorted, controls);
}

// Rows carry their origin in each cell's text; every third cell has
// properties, some a graphic; some rows are modified, marked or hold a
// control.
void Fill(ControlModel& m, Reference& ref, Integer rows, Integer cols, std::mt19937& rng) {
  m.SetRowCount(rows);
  m.SetColCount(cols);
  ref.cols = cols;
  ref.rows.assign(rows, RowState{});
  for (Integer r = 0; r < rows; ++r) {
    RowState& row = ref.rows[r];
    row.cells.resize(cols);
    for (Integer c = 0; c < cols; ++c) {
      CellPicture& cell = row.cells[c];
      cell.text = "r" + std::to_string(r) + "c" + std::to_string(c);
      m.SetRawCell(c, r, cell.text);
      if ((r + c) % 3 == 0) {
        cell.brush = r * 100 + c;
        m.CellProperties(c, r).SetBrushColor(static_cast<TColor>(cell.brush));
        if (rng() % 2 == 0) {
          auto g = std::make_unique<TCellGraphic>();
          g->CellType = ctCheckBox;
          g->CellText = "g" + std::to_string(r) + ":" + std::to_string(c);
          cell.graphic = g->CellText;
          m.SetCellGraphic(c, r, std::move(g));
        }
      }
    }
    if (rng() % 4 == 0) {
      row.modified = true;
      m.RowModified().Add(r);
    }
    if (rng() % 4 == 0) {
      row.marked = true;
      m.Marks().SetRowMark(r, true);
    }
    if (rng() % 5 == 0) {
      row.control = true;
      m.controls.push_back({1, r});
    }
  }
}

}  // namespace

TEST(RowColOperations, RandomSequencesKeepSideDataWithTheirRows) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    ControlModel m;
    Reference ref;
    Fill(m, ref, 14, 5, rng);
    ExpectSame(m, ref, "fill");
    auto pick = [&](Integer n) { return n <= 0 ? 0 : static_cast<Integer>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 40; ++step) {
      const Integer shown = m.RowCount();
      std::string what;
      switch (rng() % 10) {
        case 0: {
          const Integer d = pick(shown + 1), k = 1 + pick(3);
          what = "InsertRows " + std::to_string(d) + " " + std::to_string(k);
          m.InsertRows(d, k, true);
          const Integer at = ref.RealOf(d);
          for (Integer i = 0; i < k; ++i) ref.rows.insert(ref.rows.begin() + at, ref.EmptyRow());
          break;
        }
        case 1:
        case 2: {
          if (shown <= 3) continue;
          const Integer d = pick(shown), k = std::min<Integer>(1 + pick(3), shown - 2 - 0);
          const bool ex = rng() % 2 == 0;
          what = std::string(ex ? "RemoveRowsEx " : "RemoveRows ") + std::to_string(d) + " " + std::to_string(k);
          if (ex)
            m.RemoveRowsEx(d, k);
          else
            m.RemoveRows(d, k);
          const Integer n = std::min(k, shown - d);
          std::vector<Integer> go;
          for (Integer i = 0; i < n; ++i) go.push_back(ref.RealOf(d + i));
          for (auto it = go.rbegin(); it != go.rend(); ++it) ref.rows.erase(ref.rows.begin() + *it);
          break;
        }
        case 3: {
          const Integer c = pick(ref.cols + 1), k = 1 + pick(2);
          what = "InsertCols " + std::to_string(c) + " " + std::to_string(k);
          m.InsertCols(c, k);
          for (RowState& row : ref.rows) row.cells.insert(row.cells.begin() + c, k, CellPicture{});
          ref.cols += k;
          break;
        }
        case 4: {
          if (ref.cols <= 3) continue;
          const Integer c = 2 + pick(ref.cols - 2), k = 1 + pick(2);
          what = "RemoveCols " + std::to_string(c) + " " + std::to_string(k);
          m.RemoveCols(c, k);
          const Integer n = std::min(k, ref.cols - c);
          for (RowState& row : ref.rows) row.cells.erase(row.cells.begin() + c, row.cells.begin() + c + n);
          ref.cols -= n;
          break;
        }
        case 5: {
          const Integer c1 = pick(ref.cols), r1 = pick(shown);
          const Integer c2 = c1 + pick(3), r2 = r1 + pick(3);
          what = "ClearRect " + std::to_string(c1) + "," + std::to_string(r1) + "," + std::to_string(c2) + "," +
                 std::to_string(r2);
          m.ClearRect(c1, r1, c2, r2);
          for (Integer d = r1; d <= std::min(r2, shown - 1); ++d)
            for (Integer c = c1; c <= std::min(c2, ref.cols - 1); ++c) ref.rows[ref.RealOf(d)].cells[c] = {};
          break;
        }
        case 6: {
          if (rng() % 4 != 0) continue;
          what = "Clear";
          m.Clear();
          for (RowState& row : ref.rows)
            if (!row.hidden)
              for (CellPicture& cell : row.cells) cell = {};
          break;
        }
        case 7: {
          if (shown <= 3) continue;
          const Integer d = pick(shown);
          const Integer real = ref.RealOf(d);
          what = "HideRow " + std::to_string(real);
          m.HideRow(real);
          ref.rows[real].hidden = true;
          break;
        }
        case 8: {
          std::vector<Integer> hidden;
          for (Integer i = 0; i < static_cast<Integer>(ref.rows.size()); ++i)
            if (ref.rows[i].hidden) hidden.push_back(i);
          if (hidden.empty()) continue;
          const Integer real = hidden[pick(static_cast<Integer>(hidden.size()))];
          what = "UnHideRow " + std::to_string(real);
          m.UnHideRow(real);
          ref.rows[real].hidden = false;
          break;
        }
        case 9: {
          const Integer from = pick(shown), to = pick(shown);
          what = "MoveRow " + std::to_string(from) + " " + std::to_string(to);
          m.MoveRow(from, to);
          const Integer rf = ref.RealOf(from), rt = ref.RealOf(to);
          // The store's move leaves the controls where they are; moving
          // them is the column and row mover's.
          std::vector<bool> controlAt;
          for (const RowState& row : ref.rows) controlAt.push_back(row.control);
          RowState moving = ref.rows[rf];
          ref.rows.erase(ref.rows.begin() + rf);
          ref.rows.insert(ref.rows.begin() + rt, moving);
          for (size_t i = 0; i < ref.rows.size(); ++i) ref.rows[i].control = controlAt[i];
          break;
        }
      }
      ExpectSame(m, ref, "step " + std::to_string(step) + ": " + what);
      if (HasFatalFailure()) return;
    }
    // Showing every row gives the expected grid, row for row.
    while (m.NumHiddenRows() > 0) m.UnHideRow(m.HiddenRow(0).Idx);
    for (RowState& row : ref.rows) row.hidden = false;
    ExpectSame(m, ref, "all shown");
    if (HasFatalFailure()) return;
  }
}

TEST(RowColOperations, OutOfRangeStartsAreIgnoredAndBlocksCut) {
  ControlModel m;
  m.SetColCount(4);
  m.SetRowCount(6);
  for (Integer r = 0; r < 6; ++r)
    for (Integer c = 0; c < 4; ++c) m.SetRawCell(c, r, std::to_string(c) + "," + std::to_string(r));
  m.RemoveRows(6, 2);
  m.RemoveRowsEx(6, 1);
  m.RemoveRowsEx(9, 1);
  m.DeleteRowsShift(-1, 1);
  m.RemoveCols(4, 1);
  m.InsertRows(7, 1);
  m.InsertCols(5, 1);
  EXPECT_EQ(m.RowCount(), 6);
  EXPECT_EQ(m.ColCount(), 4);
  EXPECT_TRUE(m.changed.empty());
  // A block past the last column is shortened to it.
  m.RemoveCols(2, 10);
  EXPECT_EQ(m.ColCount(), 2);
  EXPECT_EQ(m.GetRawCell(1, 3), "1,3");
  // And one past the last row.
  m.RemoveRows(4, 10);
  EXPECT_EQ(m.RowCount(), 4);
  EXPECT_EQ(m.GetRawCell(0, 3), "0,3");
  // A grid keeps one row and one column, both empty.
  m.RemoveRows(0, 4);
  m.RemoveCols(0, 2);
  EXPECT_EQ(m.RowCount(), 1);
  EXPECT_EQ(m.ColCount(), 1);
  EXPECT_EQ(m.GetRawCell(0, 0), "");
  EXPECT_EQ(m.GridFixedRows(), 0);
  EXPECT_EQ(m.GridFixedCols(), 0);
  m.Check();
}

TEST(RowColOperations, HiddenRowsKeepTheirPlace) {
  ControlModel m;
  m.SetColCount(2);
  m.SetRowCount(10);
  for (Integer r = 0; r < 10; ++r) m.SetRawCell(0, r, std::to_string(r));
  m.HideRow(6);
  // Two rows removed above the hidden row: its position drops by two.
  m.RemoveRows(2, 2);
  ASSERT_EQ(m.NumHiddenRows(), 1);
  EXPECT_EQ(m.HiddenRow(0).Idx, 4);
  // Rows inserted above it move it down, so it comes back where it was.
  m.InsertRows(1, 3);
  EXPECT_EQ(m.HiddenRow(0).Idx, 7);
  m.UnHideRow(7);
  std::vector<std::string> order;
  for (Integer r = 0; r < m.RowCount(); ++r) order.push_back(m.GetRawCell(0, r));
  EXPECT_EQ(order, (std::vector<std::string>{"0", "", "", "", "1", "4", "5", "6", "7", "8", "9"}));
  // Inserted after it, it stays.
  m.HideRow(7);
  m.InsertRows(9, 2);
  EXPECT_EQ(m.HiddenRow(0).Idx, 7);
  m.Check();
}

TEST(RowColOperations, FloatingFooterRowStaysLast) {
  ControlModel m;
  m.SetColCount(2);
  m.SetRowCount(5);
  m.SetRawCell(0, 4, "footer");
  m.SetFooterRowShown(true);
  m.InsertRows(5, 2);
  EXPECT_EQ(m.RowCount(), 7);
  EXPECT_EQ(m.GetRawCell(0, 6), "footer");
  m.AddRowAtEnd();
  EXPECT_EQ(m.RowCount(), 8);
  EXPECT_EQ(m.GetRawCell(0, 7), "footer");
  EXPECT_EQ(m.GetRawCell(0, 6), "");
  m.SetFooterRowShown(false);
  m.AddRowAtEnd();
  EXPECT_EQ(m.GetRawCell(0, 7), "footer");
  EXPECT_EQ(m.RowCount(), 9);
}

TEST(RowColOperations, ClearKeepsCountsAndFreesProperties) {
  ControlModel m;
  m.SetColCount(3);
  m.SetRowCount(4);
  m.SetRawCell(1, 1, "x");
  auto g = std::make_unique<TCellGraphic>();
  g->CellType = ctCheckBox;
  m.SetCellGraphic(2, 2, std::move(g));
  // A shared graphic is let go, not freed (the sanitizer build would see it).
  TCellGraphic shared;
  shared.CellType = ctVirtCheckBox;
  m.CellProperties(0, 3).SetSharedGraphic(&shared);
  ASSERT_TRUE(m.CellPropertiesExist());
  m.Clear();
  EXPECT_EQ(m.RowCount(), 4);
  EXPECT_EQ(m.ColCount(), 3);
  EXPECT_EQ(m.GetRawCell(1, 1), "");
  EXPECT_EQ(m.CellGraphic(2, 2), nullptr);
  EXPECT_EQ(m.GetRawObject(0, 3), nullptr);
  EXPECT_FALSE(m.CellPropertiesExist());
  EXPECT_EQ(shared.CellType, ctVirtCheckBox);
  ASSERT_FALSE(m.changed.empty());
  EXPECT_EQ(m.changed.back(), (TGridRect{0, 0, 2, 3}));
  // ClearRows and ClearCols clip to the grid and ignore empty counts.
  m.SetRawCell(0, 0, "a");
  m.SetRawCell(2, 3, "b");
  m.ClearRows(0, 0);
  m.ClearCols(2, -1);
  EXPECT_EQ(m.GetRawCell(0, 0), "a");
  m.ClearCols(2, 5);
  EXPECT_EQ(m.GetRawCell(2, 3), "");
  EXPECT_EQ(m.GetRawCell(0, 0), "a");
  m.ClearRows(0, 1);
  EXPECT_EQ(m.GetRawCell(0, 0), "");
}

TEST(RowColOperations, MarksFollowHidingInDisplayNumbering) {
  ControlModel m;
  m.SetColCount(2);
  m.SetRowCount(8);
  m.Marks().SetRowMark(5, true);
  m.Marks().SetRowMark(2, true);
  m.HideRows(2, 3);
  // Row 2 is hidden (its mark kept with it), row 5 is shown as 3.
  EXPECT_TRUE(m.Marks().RowMarked(3));
  EXPECT_FALSE(m.Marks().RowMarked(5));
  EXPECT_EQ(m.Marks().MarkedRows(), (std::vector<Integer>{3}));
  m.UnHideRows(2, 3);
  EXPECT_TRUE(m.Marks().RowMarked(2));
  EXPECT_TRUE(m.Marks().RowMarked(5));
  EXPECT_FALSE(m.Marks().RowMarked(3));
  // In real numbering hiding moves nothing.
  bool real = true;
  m.MarksByRealRow = [&] { return real; };
  m.HideRows(0, 1);
  EXPECT_TRUE(m.Marks().RowMarked(2));
  EXPECT_TRUE(m.Marks().RowMarked(5));
  // Inserting rows moves real-numbered marks past the real row.
  m.InsertRows(0, 1);
  EXPECT_TRUE(m.Marks().RowMarked(3));
  EXPECT_TRUE(m.Marks().RowMarked(6));
  m.Check();
}

TEST(AutoSize, LimitsAndPlainRowHeights) {
  struct Case {
    Integer value, min, max, expected;
  };
  for (const Case& c : std::vector<Case>{{5, 10, 0, 10}, {50, 0, 40, 40}, {5, 10, 10, 5}, {25, 10, 40, 25}, {3, 0, 0, 3}})
    EXPECT_EQ(TSizeLimits::Clamp(c.value, c.min, c.max), c.expected) << c.value << " " << c.min << " " << c.max;
  TAutoSizeSettings s;
  EXPECT_EQ(ColumnWidthFor(50, 1, s), 4 + 50 + 2 + 2);
  s.OneSidedMargin = true;
  EXPECT_EQ(ColumnWidthFor(50, 1, s), 2 + 50 + 2 + 2);
  EXPECT_EQ(RowHeightFor(14, 1, s), 2 + 14 + 2 + 2);
  s.OneSidedMargin = false;
  EXPECT_EQ(RowHeightFor(14, 1, s), 4 + 14 + 2);

  // Without word wrap a cell of three lines makes its row 4 + 3 x (H + H div 8).
  TGridModel m;
  m.SetColCount(3);
  m.SetRowCount(4);
  m.SetRawCell(1, 1, "one\rtwo\rthree");
  m.SetRawCell(2, 2, "single");
  FixedTextMeasurer measurer;
  measurer.LineHeight = 16;
  TAutoSizeSettings settings;
  AutoSizeRowsPlain(m, measurer, TFontSpec{}, settings, false, 4, true);
  EXPECT_EQ(m.RowHeights(0), 24);  // the fixed row is left alone
  EXPECT_EQ(m.RowHeights(1), 4 + 3 * (16 + 2));
  EXPECT_EQ(m.RowHeights(2), 4 + 16 + 2);
  // Single-line cells count one line; the limits clamp.
  settings.Limits.MaxRowHeight = 30;
  AutoSizeRowsPlain(m, measurer, TFontSpec{}, settings, true, 4, false);
  EXPECT_EQ(m.RowHeights(1), 22);
  settings.Limits.MinRowHeight = 25;
  AutoSizeRowsPlain(m, measurer, TFontSpec{}, settings, true, 4, true);
  EXPECT_EQ(m.RowHeights(0), 25);
  EXPECT_EQ(m.RowHeights(1), 30);
  // Grow-only never lowers a row.
  settings.Limits = {};
  settings.GrowOnly = true;
  m.SetRowHeights(2, 60);
  AutoSizeRowsPlain(m, measurer, TFontSpec{}, settings, true, 0, true);
  EXPECT_EQ(m.RowHeights(2), 60);
  EXPECT_EQ(m.RowHeights(1), 54);
}
