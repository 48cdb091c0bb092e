// Row and column operations of the grid on a form: the Insert and Delete
// keys, removing rows around the current row, Clear, auto-sizing as
// painting measures, and check boxes whose state goes through the grid's
// events.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TRowGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> log;
  TRowGrid(Integer rows = 6) {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(4);
    grid->SetRowCount(rows);
    for (Integer r = 0; r < rows; ++r) grid->Model().SetRawCell(1, r, "row " + std::to_string(r));
    grid->OnAutoInsertRow = [this](vcl::TObject*, Integer r) { log.push_back("insert " + std::to_string(r)); };
    grid->OnAutoDeleteRow = [this](vcl::TObject*, Integer r) { log.push_back("delete " + std::to_string(r)); };
    grid->OnCellsChanged = [this](vcl::TObject*, const vcl::TRect& r) {
      log.push_back("changed " + std::to_string(r.Top) + ".." + std::to_string(r.Bottom));
    };
    form->Show();
  }
  ~TRowGrid() { vcl::Free(form); }
  void Key(Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
  std::vector<std::string> Column1() { return grid_test::ColumnTexts(grid, 1, 0); }
};

}  // namespace

TEST(GridRowCol, InsertAndDeleteKeys) {
  TRowGrid g;
  g.grid->SetRow(2);
  // Not allowed: the keys change nothing.
  g.Key(vcl::VK_INSERT);
  g.Key(vcl::VK_DELETE);
  EXPECT_EQ(g.grid->RowCount(), 6);
  g.grid->Navigation()->AllowInsertRow = true;
  g.grid->Navigation()->AllowDeleteRow = true;
  g.Key(vcl::VK_INSERT);
  EXPECT_EQ(g.Column1(), (std::vector<std::string>{"row 0", "row 1", "", "row 2", "row 3", "row 4", "row 5"}));
  EXPECT_EQ(g.grid->Row(), 2);
  EXPECT_TRUE(g.grid->Modified);
  // After: below the current row, which moves onto it.
  g.grid->Navigation()->InsertPosition = pInsertAfter;
  g.grid->SetRow(4);
  g.Key(vcl::VK_INSERT);
  EXPECT_EQ(g.grid->Cells(1, 5), "");
  EXPECT_EQ(g.grid->Cells(1, 6), "row 4");
  EXPECT_EQ(g.grid->Row(), 5);
  // OnCanInsertRow and OnCanDeleteRow refusing.
  g.grid->OnCanInsertRow = [](vcl::TObject*, Integer, bool& can) { can = false; };
  g.grid->OnCanDeleteRow = [](vcl::TObject*, Integer, bool& can) { can = false; };
  g.Key(vcl::VK_INSERT);
  g.Key(vcl::VK_DELETE);
  EXPECT_EQ(g.grid->RowCount(), 8);
  g.grid->OnCanDeleteRow = nullptr;
  g.grid->SetRow(6);
  g.log.clear();
  g.Key(vcl::VK_DELETE);
  EXPECT_EQ(g.grid->RowCount(), 7);
  EXPECT_EQ(g.grid->Cells(1, 6), "row 5");
  EXPECT_EQ(g.grid->Row(), 6);
  EXPECT_EQ(g.log, (std::vector<std::string>{"changed 6..7", "delete 6"}));
}

TEST(GridRowCol, RemovingTheLastRowsMovesTheCurrentRow) {
  TRowGrid g;
  g.grid->SetRow(5);
  g.grid->RemoveRows(5, 1);
  EXPECT_EQ(g.grid->RowCount(), 5);
  EXPECT_EQ(g.grid->Row(), 4);
  EXPECT_FALSE(g.grid->SelectionParked());
  // Every data row gone: nothing is current.
  g.grid->SetFixedRowAlways(true);
  g.grid->RemoveRows(1, 4);
  EXPECT_EQ(g.grid->RowCount(), 1);
  EXPECT_TRUE(g.grid->SelectionParked());
  // Out-of-range starts are ignored.
  g.log.clear();
  g.grid->RemoveRows(3, 1);
  g.grid->RemoveRowsEx(1, 1);
  EXPECT_TRUE(g.log.empty());
}

TEST(GridRowCol, ClearAndTheLastDataRowEmptied) {
  TRowGrid g(3);
  g.grid->Navigation()->AllowDeleteRow = true;
  TCellGraphic& box = g.grid->CellControlState().CreateCellGraphic(2, 1);
  box.CellType = ctCheckBox;
  g.grid->Clear();
  EXPECT_EQ(g.grid->RowCount(), 3);
  EXPECT_EQ(g.grid->ColCount(), 4);
  EXPECT_EQ(g.grid->Model().CellGraphic(2, 1), nullptr);
  EXPECT_EQ(g.grid->Cells(1, 2), "");
  // Delete on the only data row empties it and keeps it.
  g.grid->SetRowCount(2);
  g.grid->Model().SetRawCell(1, 1, "last");
  g.grid->SetRow(1);
  g.Key(vcl::VK_DELETE);
  EXPECT_EQ(g.grid->RowCount(), 2);
  EXPECT_EQ(g.grid->Cells(1, 1), "");
}

TEST(GridRowCol, AutoSizeAsPaintingMeasures) {
  TRowGrid g(4);
  g.grid->Model().SetRawCell(2, 1, "a much longer text than the others");
  g.grid->Model().SetRawCell(2, 2, "short");
  vcl::TSize size{};
  g.grid->MeasureCell(2, 1, size, false, false);
  g.grid->AutoSizeCol(2, 0);
  EXPECT_EQ(g.grid->ColWidths(2), 4 + size.cx + 2 + 2);
  // Grow-only never shrinks; without it the column shrinks to its widest.
  g.grid->Model().SetRawCell(2, 1, "x");
  g.grid->AutoSizing.GrowOnly = true;
  const Integer wide = g.grid->ColWidths(2);
  g.grid->AutoSizeCol(2, 0);
  EXPECT_EQ(g.grid->ColWidths(2), wide);
  g.grid->AutoSizing.GrowOnly = false;
  g.grid->MeasureCell(2, 2, size, false, false);
  g.grid->AutoSizeCol(2, 5);
  EXPECT_EQ(g.grid->ColWidths(2), 4 + size.cx + 2 + 2 + 5);
  // Limits clamp.
  g.grid->AutoSizing.Limits.MaxColWidth = 20;
  g.grid->AutoSizeCol(2, 0);
  EXPECT_EQ(g.grid->ColWidths(2), 20);
  // Rows without word wrap: 4 + 3 x (H + H div 8) for a three-line cell.
  g.grid->SetWordWrap(false);
  g.grid->Multilinecells = true;
  g.grid->Model().SetRawCell(1, 2, "one\rtwo\rthree");
  g.grid->AutoSizeRows(false, 4);
  const Integer h = g.grid->Canvas()->TextExtent("gh").cy;
  ASSERT_GT(h, 0);
  EXPECT_EQ(g.grid->RowHeights(2), 4 + 3 * (h + h / 8));
  EXPECT_EQ(g.grid->RowHeights(1), 4 + h + h / 8);
}

TEST(GridRowCol, CheckStateThroughTheGridsEvents) {
  TRowGrid g(5);
  auto options = g.grid->Options();
  options.Include(vcl::goEditing);
  g.grid->SetOptions(options);
  TCellControlHost& controls = g.grid->CellControlState();
  TCellGraphic& data = controls.CreateCellGraphic(2, 2);
  data.CellType = ctDataCheckBox;
  g.grid->OnGetCheckTrue = [](vcl::TObject*, Integer, Integer, AnsiString& v) { v = "on"; };
  g.grid->OnGetCheckFalse = [](vcl::TObject*, Integer, Integer, AnsiString& v) { v = "off"; };
  std::vector<std::string> changes;
  g.grid->OnCheckBoxChange = [&](vcl::TObject*, Integer c, Integer r, bool s) {
    changes.push_back(std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
  };
  bool refuse = false;
  g.grid->OnCanEditCell = [&](vcl::TObject*, Integer, Integer, bool& can) { can = !refuse; };
  EXPECT_TRUE(g.grid->ToggleCheckBox(2, 2, true));
  EXPECT_EQ(g.grid->Cells(2, 2), "on");
  EXPECT_TRUE(g.grid->CheckBoxChecked(2, 2));
  refuse = true;
  EXPECT_FALSE(g.grid->ToggleCheckBox(2, 2, true));
  EXPECT_EQ(g.grid->Cells(2, 2), "on");
  g.grid->ControlLook()->CheckAlwaysActive = true;
  EXPECT_TRUE(g.grid->CellControlState().ToggleCheckBox(2, 2, true));
  EXPECT_EQ(g.grid->Cells(2, 2), "off");
  EXPECT_EQ(changes, (std::vector<std::string>{"2,2 on", "2,2 off"}));
  // CheckSize follows the control look.
  g.grid->ControlLook()->SetCheckSize(20);
  EXPECT_EQ(g.grid->CellControlState().GetCellGraphicSize(2, 2), (TExtent{20, 20}));
}
