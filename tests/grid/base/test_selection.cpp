// The grid's selections through synthetic keys: the rectangle, disjunct
// rows, columns and cells with Ctrl, Shift and Space, the two index
// errors, a refused row mark, parking and the resizer's handle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TSelectGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  TSelectGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(5);
    grid->SetRowCount(8);
    auto options = grid->Options();
    options.Include(vcl::goRangeSelect);
    grid->SetOptions(options);
    grid->OnSelectionChanged = [this](vcl::TObject*, Integer l, Integer t, Integer r, Integer b) {
      events.push_back("changed " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                       std::to_string(b));
    };
    form->Show();
    grid->SetFocus();
  }
  ~TSelectGrid() { vcl::Free(form); }
  void Key(vcl::Word key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    vcl::SetInputModifiers(mods);
    grid->Perform(vcl::WM_KEYDOWN, key, 0);
    vcl::SetInputModifiers(Qt::NoModifier);
  }
};

void ExpectGridError(const std::function<void()>& call, const char* message) {
  try {
    call();
    ADD_FAILURE() << "no error";
  } catch (const ELumGridError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

TEST(GridSelection, TheRectangleAndSelectRows) {
  TSelectGrid g;
  g.grid->SelectRows(3, 2);
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{1, 3, 4, 4}));
  EXPECT_EQ(g.grid->MarkedRowCount(), 2);
  // Without disjunct marks a row counts as marked inside the selection's
  // rows, whichever corner is the anchor.
  EXPECT_TRUE(g.grid->IsRowMarked(3));
  EXPECT_TRUE(g.grid->IsRowMarked(4));
  EXPECT_FALSE(g.grid->IsRowMarked(5));
  EXPECT_TRUE(g.grid->IsCellSelected(2, 4));
  EXPECT_FALSE(g.grid->IsCellSelected(0, 4));
  g.grid->SelectSingleCell(2, 2);
  EXPECT_EQ(g.grid->MarkedRowCount(), 1);

  // Shift+Down stretches the rectangle and reports the change.
  g.events.clear();
  g.Key(vcl::VK_DOWN, Qt::ShiftModifier);
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{2, 2, 2, 3}));
  EXPECT_EQ(g.events, (std::vector<std::string>{"changed 2,2,2,3"}));
  // A key that leaves the selection as it is reports nothing.
  g.events.clear();
  g.Key(vcl::VK_SHIFT);
  EXPECT_TRUE(g.events.empty());

  // The two index errors, and the stores unchanged.
  ExpectGridError([&] { g.grid->IsRowMarked(8); }, "Invalid row accessed");
  ExpectGridError([&] { g.grid->SetRowMarked(-1, true); }, "Invalid row accessed");
  ExpectGridError([&] { g.grid->IsColMarked(5); }, "Invalid column accessed");
  ExpectGridError([&] { g.grid->SetColMarked(-1, true); }, "Invalid column accessed");
  // Hidden rows count.
  g.grid->Model().HideRow(2);
  EXPECT_NO_THROW(g.grid->IsRowMarked(7));
  ExpectGridError([&] { g.grid->IsRowMarked(8); }, "Invalid row accessed");
}

TEST(GridSelection, DisjunctRowsWithCtrlShiftAndSpace) {
  TSelectGrid g;
  g.grid->MouseActions()->SetDisjunctRowSelect(true);
  std::vector<std::string> marks;
  g.grid->OnRowDisjunctSelect = [&](vcl::TObject*, Integer row, bool state, bool& allow) {
    marks.push_back((state ? "mark " : "unmark ") + std::to_string(row));
    allow = row != 6;
  };
  g.grid->OnRowDisjunctSelected = [&](vcl::TObject*, Integer row) { marks.push_back("marked " + std::to_string(row)); };
  g.grid->SetCol(1);
  g.grid->SetRow(2);
  // Space toggles the current row.
  g.Key(vcl::VK_SPACE);
  EXPECT_TRUE(g.grid->IsRowMarked(2));
  // Ctrl+Down marks each row it moves to and keeps the others.
  g.Key(vcl::VK_DOWN, Qt::ControlModifier);
  g.Key(vcl::VK_DOWN, Qt::ControlModifier);
  EXPECT_EQ(g.grid->Row(), 4);
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{2, 3, 4}));
  EXPECT_EQ(g.grid->MarkedRowCount(), 3);
  // The selection stays where SelectRows found it.
  const vcl::TGridRect kept = g.grid->Selection();
  g.grid->SelectRows(5, 2);
  EXPECT_EQ(g.grid->Selection(), kept);
  // Row 6 was refused: no mark, no OnRowDisjunctSelected for it.
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{2, 3, 4, 5}));
  EXPECT_FALSE(g.grid->IsRowMarked(6));
  EXPECT_EQ(marks.back(), "mark 6");
  // Space again unmarks the current row.
  g.Key(vcl::VK_SPACE);
  EXPECT_FALSE(g.grid->IsRowMarked(4));
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{2, 3, 5}));
  // A plain arrow clears the marks.
  g.Key(vcl::VK_UP);
  EXPECT_EQ(g.grid->MarkedRowCount(), 0);
  EXPECT_TRUE(g.grid->MarkedRows().empty());
  // Shift+Down marks exactly the selection's rows.
  g.Key(vcl::VK_DOWN, Qt::ShiftModifier);
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{3, 4}));
  // Cells of marked rows count as selected, fixed ones never.
  EXPECT_TRUE(g.grid->IsCellSelected(3, 4));
  EXPECT_FALSE(g.grid->IsCellSelected(0, 4));
  EXPECT_FALSE(g.grid->IsCellSelected(3, 2));
  // Marks taken away one by one.
  g.grid->SetRowMarked(3, false);
  EXPECT_EQ(g.grid->MarkedRows(), (std::vector<Integer>{4}));
}

TEST(GridSelection, DisjunctColumnsAndCells) {
  TSelectGrid g;
  g.grid->MouseActions()->SetDisjunctColSelect(true);
  g.grid->SetCol(1);
  g.grid->SetRow(1);
  g.Key(vcl::VK_SPACE);
  g.Key(vcl::VK_RIGHT, Qt::ControlModifier);
  g.Key(vcl::VK_RIGHT, Qt::ControlModifier);
  EXPECT_TRUE(g.grid->IsColMarked(1));
  EXPECT_TRUE(g.grid->IsColMarked(2));
  EXPECT_TRUE(g.grid->IsColMarked(3));
  // Space takes the current column's mark away; a plain arrow clears all.
  g.Key(vcl::VK_SPACE);
  EXPECT_FALSE(g.grid->IsColMarked(3));
  EXPECT_TRUE(g.grid->IsColMarked(2));
  g.Key(vcl::VK_LEFT);
  EXPECT_FALSE(g.grid->IsColMarked(1));
  g.grid->SetColMarked(3, true);
  EXPECT_TRUE(g.grid->IsCellSelected(3, 5));
  g.grid->ClearColMarks();
  EXPECT_FALSE(g.grid->IsColMarked(1));
  g.grid->MouseActions()->SetDisjunctColSelect(false);

  // Cells: Space marks the current cell alone, Ctrl+Space adds or takes
  // one away; OnSelectCell may refuse.
  g.grid->MouseActions()->SetDisjunctCellSelect(true);
  g.grid->SetCol(2);
  g.grid->SetRow(2);
  g.Key(vcl::VK_SPACE);
  g.grid->SetCol(3);
  g.grid->SetRow(4);
  g.Key(vcl::VK_SPACE, Qt::ControlModifier);
  EXPECT_TRUE(g.grid->SelectionMarks().CellMarked(2, 2));
  EXPECT_TRUE(g.grid->SelectionMarks().CellMarked(3, 4));
  EXPECT_EQ(g.grid->SelectionMarks().MarkedCells().front(), TSelectionMarks::PackCell(2, 2));
  EXPECT_EQ(TSelectionMarks::PackCell(2, 2), (2u << 16) | 2u);
  g.Key(vcl::VK_SPACE, Qt::ControlModifier);
  EXPECT_FALSE(g.grid->SelectionMarks().CellMarked(3, 4));
  g.grid->OnSelectCell = [](vcl::TObject*, Integer, Integer, bool& can) { can = false; };
  g.Key(vcl::VK_SPACE);
  EXPECT_TRUE(g.grid->SelectionMarks().CellMarked(2, 2));
}

TEST(GridSelection, ParkingAndTheResizerHandle) {
  TSelectGrid g;
  g.grid->SetSelection({1, 2, 3, 4});
  g.grid->ParkSelection();
  EXPECT_TRUE(g.grid->SelectionParked());
  EXPECT_FALSE(g.grid->IsCellSelected(2, 3));
  g.grid->RestoreParkedSelection();
  EXPECT_FALSE(g.grid->SelectionParked());
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{1, 2, 3, 4}));
  // Rows gone since: the first data cell.
  g.grid->SetSelection({2, 6, 2, 7});
  g.grid->ParkSelection();
  g.grid->SetRowCount(4);
  g.grid->RestoreParkedSelection();
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{1, 1, 1, 1}));

  // The resizer's handle: the 6 x 6 corner of the bottom-right cell, only
  // with the rectangle drawn.
  g.grid->SetSelection({1, 1, 2, 2});
  g.grid->SetSelectionResizer(true);
  EXPECT_TRUE(g.grid->SelectionResizerHandle().IsEmpty());
  g.grid->SetSelectionRectangle(true);
  const vcl::TRect cell = g.grid->CellRect(2, 2);
  const vcl::TRect handle = g.grid->SelectionResizerHandle();
  EXPECT_EQ(handle, (vcl::TRect{cell.Right - 6, cell.Bottom - 6, cell.Right, cell.Bottom}));
}

namespace {

// A descendant that keeps Ctrl+A off the first data row.
class TSelectAllGrid : public TVadOdizadEzev {
 public:
  using TVadOdizadEzev::TVadOdizadEzev;
  std::vector<vcl::TGridRect> hooked;
  bool shrink = false;

 protected:
  void KeySelectAllHook(vcl::TGridRect& r) override {
    hooked.push_back(r);
    if (shrink) r.Top += 1;
  }
};

}  // namespace

TEST(GridSelection, CtrlASelectsTheDataArea) {
  struct Case {
    bool rowSelect, rangeSelect, disjunct, shrink;
    vcl::TGridRect expected;  // {-1,..} when Ctrl+A does nothing
  };
  const Case cases[] = {
      {false, true, false, false, {1, 1, 4, 58}},
      // Row selection always covers whole rows in the class library.
      {true, false, true, false, {1, 1, 5, 58}},
      {false, true, true, true, {1, 2, 4, 58}},
      {false, false, false, false, {-1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    auto* grid = new TSelectAllGrid(form);
    grid->SetParent(form);
    grid->SetColCount(6);
    grid->SetRowCount(60);
    grid->SetFixedRightCols(1);
    grid->SetFixedFooters(1);
    auto options = grid->Options();
    options.Exclude(vcl::goRowSelect);
    options.Exclude(vcl::goRangeSelect);
    if (c.rowSelect) options.Include(vcl::goRowSelect);
    if (c.rangeSelect) options.Include(vcl::goRangeSelect);
    grid->SetOptions(options);
    grid->MouseActions()->SetDisjunctRowSelect(c.disjunct);
    grid->shrink = c.shrink;
    std::vector<vcl::TGridRect> changes;
    grid->OnSelectionChanged = [&](vcl::TObject*, Integer l, Integer t, Integer r, Integer b) {
      changes.push_back({l, t, r, b});
    };
    form->Show();
    grid->SetFocus();
    grid->SetCol(2);
    grid->SetRow(3);
    vcl::SetInputModifiers(Qt::ControlModifier);
    grid->Perform(vcl::WM_KEYDOWN, 'A', 0);
    vcl::SetInputModifiers(Qt::NoModifier);
    if (c.expected.Left < 0) {
      EXPECT_TRUE(grid->hooked.empty());
      EXPECT_EQ(grid->Col(), 2);
      EXPECT_EQ(grid->Row(), 3);
      EXPECT_TRUE(changes.empty());
    } else {
      ASSERT_EQ(grid->hooked.size(), 1u);
      EXPECT_EQ(grid->hooked[0], (vcl::TGridRect{1, 1, 4, 58}));
      EXPECT_EQ(grid->Selection(), c.expected) << c.rowSelect << c.disjunct;
      // The last cell of the area is current.
      EXPECT_EQ(grid->Col(), 4);
      EXPECT_EQ(grid->Row(), 58);
      ASSERT_EQ(changes.size(), 1u);
      EXPECT_EQ(changes[0], c.expected);
      // Every data row marked (before the hook), footers never.
      if (c.disjunct) {
        EXPECT_EQ(grid->MarkedRowCount(), 58);
        EXPECT_TRUE(grid->IsRowMarked(1));
        EXPECT_FALSE(grid->IsRowMarked(59));
      }
    }
    vcl::Free(form);
  }
}
