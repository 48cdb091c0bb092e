// The class library's grids on a form under Qt's offscreen platform:
// counts and their errors, geometry and scrolling, keyboard and mouse
// navigation, sizing and moving, the string grid's cells, its store and the
// in-place editor, and the painted cells.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QWidget>

#include "vcl/Forms.h"
#include "vcl/Grids.h"

using namespace vcl;

namespace {

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application, 0);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetBorderStyle(TGridBorderStyle::bsNone);
    grid->SetScrollBars(ssNone);
  }
  void TearDown() override { Free(form); }

  void Key(Word key, TShiftState shift = {}) {
    Word k = key;
    grid->Perform(shift.Contains(ssShift) ? WM_KEYDOWN : WM_KEYDOWN, key, 0);
    (void)k;
  }
  void Click(Integer x, Integer y, Integer keys = 0) {
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON | keys, PointToLParam({x, y}));
    grid->Perform(WM_LBUTTONUP, keys, PointToLParam({x, y}));
  }
  // The centre of a cell.
  TPoint Centre(Integer col, Integer row) {
    const TRect r = grid->CellRect(col, row);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }

  TForm* form = nullptr;
  TStringGrid* grid = nullptr;
};

TColor Pixel(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

}  // namespace

TEST_F(GridTest, CountsFollowTheClassLibrarysRules) {
  EXPECT_EQ(grid->ColCount(), 5);
  EXPECT_EQ(grid->RowCount(), 5);
  grid->SetRowCount(0);
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_EQ(grid->FixedRows(), 0);
  grid->SetRowCount(5);
  try {
    grid->SetFixedRows(5);
    FAIL() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message(), "Fixed row count must be less than row count");
  }
  try {
    grid->SetFixedCols(5);
    FAIL() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message(), "Fixed column count must be less than column count");
  }
  try {
    grid->SetFixedCols(-1);
    FAIL() << "no error";
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message(), "Grid index out of range");
  }
  grid->SetFixedRows(2);
  EXPECT_EQ(grid->Row(), 2);  // the current cell stays in the normal cells
  grid->SetDefaultRowHeight(20);
  for (Integer r = 0; r < 5; ++r) EXPECT_EQ(grid->RowHeights(r), 20);
  grid->SetColWidths(2, 100);
  EXPECT_EQ(grid->ColWidths(2), 100);
}

TEST_F(GridTest, CellGeometryAndScrolling) {
  grid->SetColCount(10);
  grid->SetRowCount(30);
  grid->SetDefaultColWidth(50);
  grid->SetDefaultRowHeight(20);
  // Cells of 50 x 20 with a one-pixel line after each.
  EXPECT_EQ(grid->CellRect(0, 0), Rect(0, 0, 50, 20));
  EXPECT_EQ(grid->CellRect(2, 3), Rect(102, 63, 152, 83));
  EXPECT_EQ(grid->MouseCoord(105, 70), (TGridCoord{2, 3}));
  EXPECT_EQ(grid->MouseCoord(101, 70), (TGridCoord{1, 3}));  // the line belongs to the cell before
  EXPECT_EQ(grid->MouseCoord(299, 199), (TGridCoord{5, 9}));
  // 200 pixels: the fixed row and 8 whole rows of 21.
  EXPECT_EQ(grid->VisibleRowCount(), 8);
  EXPECT_EQ(grid->VisibleColCount(), 4);

  grid->SetTopRow(10);
  EXPECT_EQ(grid->TopRow(), 10);
  EXPECT_TRUE(grid->CellRect(2, 5).IsEmpty());
  EXPECT_EQ(grid->CellRect(2, 10), Rect(102, 21, 152, 41));
  EXPECT_EQ(grid->CellRect(0, 0), Rect(0, 0, 50, 20));  // fixed cells stay
  grid->SetTopRow(100);
  EXPECT_EQ(grid->TopRow(), 22);  // rows 22..29 fill the space below the fixed row

  // Scroll bar positions run from 0 to 127 whatever the number of rows.
  grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 0), 0);
  EXPECT_EQ(grid->TopRow(), 1);
  grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 127), 0);
  EXPECT_EQ(grid->TopRow(), 22);
  grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 64), 0);
  EXPECT_EQ(grid->TopRow(), 1 + 64 * 21 / 127);
  grid->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(grid->TopRow(), 12);
  grid->Perform(WM_VSCROLL, MakeWParam(SB_TOP, 0), 0);
  EXPECT_EQ(grid->TopRow(), 1);
  grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 127), 0);  // no thumb tracking
  EXPECT_EQ(grid->TopRow(), 1);
  grid->Perform(WM_HSCROLL, MakeWParam(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(grid->LeftCol(), 5);
}

TEST_F(GridTest, KeyboardMovesTheCurrentCellAndScrolls) {
  grid->SetRowCount(30);
  grid->SetDefaultRowHeight(20);
  int topLeftChanges = 0;
  grid->OnTopLeftChanged = [&](TObject*) { ++topLeftChanges; };
  Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 2);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(grid->Col(), 3);
  Key(VK_HOME);
  EXPECT_EQ(grid->Col(), 1);
  Key(VK_END);
  EXPECT_EQ(grid->Col(), 4);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(grid->Row(), 1);  // not into the fixed row
  for (int i = 0; i < 12; ++i) Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 13);
  EXPECT_GT(grid->TopRow(), 1);  // scrolled to keep it shown
  EXPECT_GT(topLeftChanges, 0);
  const TRect r = grid->CellRect(grid->Col(), grid->Row());
  EXPECT_FALSE(r.IsEmpty());
  EXPECT_LE(r.Bottom, grid->ClientHeight());

  grid->OnSelectCell = [](TObject*, Integer, Integer row, bool& can) { can = row != 14; };
  Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 13);  // refused
  grid->OnSelectCell = nullptr;

  // Tabs move between cells only with goTabs.
  Key(VK_TAB);
  EXPECT_EQ(grid->Col(), 4);
  grid->SetOptions(grid->Options() | TGridOptions{goTabs});
  Word tab = VK_TAB;
  grid->Perform(WM_KEYDOWN, tab, 0);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 14);
}

TEST_F(GridTest, ShiftArrowsAndMouseDragSelectARange) {
  grid->SetColCount(6);
  grid->SetRowCount(6);
  grid->SetDefaultColWidth(40);
  grid->SetDefaultRowHeight(20);
  const TPoint a = Centre(1, 1);
  Click(a.X, a.Y);
  const TPoint b = Centre(3, 4);
  grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(a));
  grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(b));
  grid->Perform(WM_LBUTTONUP, 0, PointToLParam(b));
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 4}));
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 4);
  Click(a.X, a.Y);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
  grid->SetOptions(grid->Options() | TGridOptions{goRowSelect});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 5, 1}));
}

TEST_F(GridTest, SizingAndMovingWithTheMouse) {
  grid->SetDefaultColWidth(50);
  grid->SetDefaultRowHeight(20);
  grid->SetOptions(grid->Options() | TGridOptions{goColSizing, goRowSizing, goColMoving, goRowMoving});
  TGridState state;
  Integer index = 0, pos = 0, ofs = 0;
  grid->CalcSizingState(101, 10, state, index, pos, ofs);  // column 1 ends at 101 (50 + 1 + 50)
  EXPECT_EQ(state, gsColSizing);
  EXPECT_EQ(index, 1);
  grid->CalcSizingState(101, 50, state, index, pos, ofs);  // not in the fixed row
  EXPECT_EQ(state, gsNormal);
  grid->CalcSizingState(10, 41, state, index, pos, ofs);
  EXPECT_EQ(state, gsRowSizing);
  EXPECT_EQ(index, 1);

  grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({101, 10}));
  EXPECT_EQ(grid->GridState(), gsColSizing);
  grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam({131, 10}));
  grid->Perform(WM_LBUTTONUP, 0, PointToLParam({131, 10}));
  EXPECT_EQ(grid->ColWidths(1), 80);
  EXPECT_EQ(grid->GridState(), gsNormal);

  for (Integer c = 0; c < 5; ++c) grid->SetCells(c, 0, "h" + std::to_string(c));
  std::vector<std::pair<Integer, Integer>> moved;
  grid->OnColumnMoved = [&](TObject*, Integer from, Integer to) { moved.push_back({from, to}); };
  const TPoint from = Centre(2, 0), to = Centre(4, 0);
  grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(from));
  EXPECT_EQ(grid->GridState(), gsColMoving);
  grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(to));
  grid->Perform(WM_LBUTTONUP, 0, PointToLParam(to));
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0], (std::pair<Integer, Integer>{2, 4}));
  EXPECT_EQ(grid->Cells(4, 0), "h2");
  EXPECT_EQ(grid->Cells(2, 0), "h3");
  EXPECT_EQ(grid->ColWidths(4), 50);
}

TEST_F(GridTest, StringGridCellsRowsColsAndMoves) {
  grid->SetCells(1, 2, "one-two");
  EXPECT_EQ(grid->Cells(1, 2), "one-two");
  EXPECT_EQ(grid->Rows(2)[1], "one-two");
  EXPECT_EQ(grid->Cols(1)[2], "one-two");
  grid->Rows(3).Put(4, "via row");
  EXPECT_EQ(grid->Cells(4, 3), "via row");
  rtl::TStringList list;
  list.Add("a");
  list.Add("b");
  grid->Cols(2).Assign(list);
  EXPECT_EQ(grid->Cells(2, 0), "a");
  EXPECT_EQ(grid->Cells(2, 1), "b");
  EXPECT_EQ(grid->Cells(2, 4), "");
  int object = 0;
  grid->SetObjects(3, 3, &object);
  grid->MoveRow(3, 1);
  EXPECT_EQ(grid->Objects(3, 1), &object);
  EXPECT_EQ(grid->Cells(4, 1), "via row");
  EXPECT_THROW(grid->Cells(5, 0), EInvalidGridOperation);
  grid->SetColCount(3);
  grid->SetColCount(5);
  EXPECT_EQ(grid->Cells(4, 1), "");  // dropped with its column

  // A store of the descendant's own.
  class Store : public TStringGridStore {
   public:
    std::map<std::pair<Integer, Integer>, AnsiString> cells;
    Integer cols = 0, rows = 0;
    AnsiString GetCell(Integer c, Integer r) const override {
      auto it = cells.find({c, r});
      return it == cells.end() ? "" : it->second;
    }
    void SetCell(Integer c, Integer r, const AnsiString& v) override { cells[{c, r}] = v; }
    void* GetObject(Integer, Integer) const override { return nullptr; }
    void SetObject(Integer, Integer, void*) override {}
    void SizeChanged(Integer c, Integer r) override {
      cols = c;
      rows = r;
    }
    void MoveColumn(Integer, Integer) override {}
    void MoveRow(Integer, Integer) override {}
  } store;
  grid->SetCellStore(&store);
  EXPECT_EQ(store.cols, 5);
  grid->SetCells(2, 2, "kept elsewhere");
  EXPECT_EQ(store.cells[(std::pair<Integer, Integer>{2, 2})], "kept elsewhere");
  grid->SetRowCount(9);
  EXPECT_EQ(store.rows, 9);
  grid->SetCellStore(nullptr);
}

TEST_F(GridTest, TheInplaceEditorEditsTheCurrentCell) {
  grid->SetOptions(grid->Options() | TGridOptions{goEditing});
  grid->SetCells(2, 2, "before");
  grid->SetCol(2);
  grid->SetRow(2);
  std::vector<AnsiString> edits;
  grid->OnSetEditText = [&](TObject*, Integer c, Integer r, const AnsiString& v) { edits.push_back(v); };
  Key(VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  TInplaceEdit* editor = grid->InplaceEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Text(), "before");
  EXPECT_TRUE(editor->Visible());
  EXPECT_EQ(editor->BoundsRect(), grid->CellRect(2, 2));
  editor->SetText("after");
  EXPECT_EQ(grid->Cells(2, 2), "after");
  EXPECT_FALSE(edits.empty());
  Word enter = VK_RETURN;
  editor->Perform(WM_KEYDOWN, enter, 0);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_FALSE(editor->Visible());

  // A typed character starts the edit with itself.
  WideChar ch = 'x';
  grid->Perform(WM_CHAR, ch, 0);
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(editor->Text(), "x");
  EXPECT_EQ(grid->Cells(2, 2), "x");
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorMode());

  // No editor without goEditing, nor in whole-row selection.
  grid->SetOptions(grid->Options() - TGridOptions{goEditing});
  Key(VK_F2);
  EXPECT_FALSE(grid->EditorMode());
}

TEST_F(GridTest, PaintsFixedSelectedAndNormalCells) {
  grid->SetColCount(4);
  grid->SetRowCount(4);
  grid->SetDefaultColWidth(60);
  grid->SetDefaultRowHeight(24);
  grid->SetFixedColor(0x00C0C0);
  grid->SetColor(clWhite);
  grid->SetCells(1, 1, "Cell");
  grid->SetCells(1, 0, "Head");
  grid->SetSelection({1, 1, 2, 2});
  form->Show();
  grid->SetFocus();
  Application->ProcessMessages();
  const QImage img = grid->Widget()->grab().toImage();
  img.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/vcl-string-grid.png"));
  EXPECT_EQ(Pixel(img, 30, 5), 0x00C0C0u);                    // a fixed cell
  EXPECT_EQ(Pixel(img, 150, 40), ColorToRGB(clHighlight));   // selected, not current
  EXPECT_EQ(Pixel(img, 230, 90), clWhite);                    // a normal cell
  EXPECT_EQ(Pixel(img, 121, 40), clSilver);                   // the line after column 1
  bool text = false;
  for (int x = 62; x < 100 && !text; ++x)
    for (int y = 27; y < 45 && !text; ++y) text = Pixel(img, x, y) != clWhite && Pixel(img, x, y) != ColorToRGB(clHighlight);
  EXPECT_TRUE(text) << "the current cell's text is drawn";
}

TEST_F(GridTest, ScrollBarsStandBesideTheCellsAndScrollThem) {
  grid->SetRowCount(40);
  grid->SetColCount(3);
  grid->SetScrollBars(ssBoth);
  form->Show();
  Application->ProcessMessages();
  // Only the vertical bar is needed: the columns fit.
  EXPECT_EQ(grid->ClientWidth(), 300 - 17);
  EXPECT_EQ(grid->ClientHeight(), 200);
  QScrollBar* vertical = nullptr;
  for (QScrollBar* bar : grid->Widget()->findChildren<QScrollBar*>())
    if (bar->orientation() == Qt::Vertical) vertical = bar;
  ASSERT_NE(vertical, nullptr);
  EXPECT_TRUE(vertical->isVisible());
  EXPECT_EQ(vertical->maximum(), 127);
  vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(grid->TopRow(), 2);
  vertical->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(grid->TopRow(), grid->RowCount() - grid->VisibleRowCount());
  EXPECT_EQ(vertical->value(), 127);
  grid->SetTopRow(1);
  EXPECT_EQ(vertical->value(), 0);
  grid->SetRowCount(3);
  EXPECT_FALSE(vertical->isVisible());
  EXPECT_EQ(grid->ClientWidth(), 300);
}
