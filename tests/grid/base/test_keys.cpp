// Keys on the grid: with MoveScrollOnly the vertical keys scroll the view
// and leave the current cell (no event); with SkipFixedCells the arrows
// jump over cells the owner calls fixed and stay when nothing lies beyond.
#include <gtest/gtest.h>

#include <vector>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct TKeyGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  int keyEvents = 0;
  TKeyGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 600, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(6);
    grid->SetRowCount(60);
    grid->OnKeyDown = [this](vcl::TObject*, Word&, vcl::TShiftState) { ++keyEvents; };
    form->Show();
  }
  ~TKeyGrid() { vcl::Free(form); }
  void Key(Word key) { grid->Perform(vcl::WM_KEYDOWN, key, 0); }
};

}  // namespace

TEST(GridKeys, MoveScrollOnlyScrollsAndKeepsTheCell) {
  TKeyGrid g;
  g.grid->Navigation()->MoveScrollOnly = true;
  g.grid->SetRow(3);
  g.grid->SetCol(2);
  const Integer visible = g.grid->VisibleRowCount();
  ASSERT_GT(visible, 2);
  ASSERT_LT(visible + 1, 60);
  struct Step {
    Word key;
    Integer top;
  } steps[] = {
      {vcl::VK_DOWN, 2},
      {vcl::VK_NEXT, 2 + visible},
      {vcl::VK_UP, 1 + visible},
      {vcl::VK_END, 60 - visible},
      {vcl::VK_DOWN, 60 - visible},  // the last page: no further
      {vcl::VK_HOME, 1},
      {vcl::VK_UP, 1},  // the first row already shows
      {vcl::VK_PRIOR, 1},
  };
  for (const Step& s : steps) {
    g.Key(s.key);
    EXPECT_EQ(g.grid->TopRow(), s.top) << s.key;
    EXPECT_EQ(g.grid->Row(), 3) << s.key;
    EXPECT_EQ(g.grid->Col(), 2) << s.key;
  }
  EXPECT_EQ(g.keyEvents, 0);
  // Left and Right still move.
  g.Key(vcl::VK_RIGHT);
  EXPECT_EQ(g.grid->Col(), 3);
}

TEST(GridKeys, SkipFixedCellsJumpsOverOwnerFixedCells) {
  TKeyGrid g;
  // Columns 2 and 3 and row 5 count as fixed; so does column 5 of row 1.
  g.grid->OnIsFixedCell = [](vcl::TObject*, Integer row, Integer col, bool& fixed) {
    fixed = col == 2 || col == 3 || row == 5 || (row == 1 && col == 5);
  };
  struct Case {
    Integer col, row;
    Word key;
    Integer toCol, toRow;
    bool consumed;
  } cases[] = {
      {1, 1, vcl::VK_RIGHT, 4, 1, true},
      {4, 1, vcl::VK_LEFT, 1, 1, true},
      {4, 1, vcl::VK_RIGHT, 4, 1, true},  // only fixed cells beyond: stays
      {1, 4, vcl::VK_DOWN, 1, 6, true},
      {1, 6, vcl::VK_UP, 1, 4, true},
      {1, 2, vcl::VK_DOWN, 1, 3, false},  // a plain step
      {4, 2, vcl::VK_RIGHT, 5, 2, false},
  };
  for (const Case& c : cases) {
    g.grid->SetCol(c.col);
    g.grid->SetRow(c.row);
    g.keyEvents = 0;
    g.Key(c.key);
    EXPECT_EQ(g.grid->Col(), c.toCol) << c.col << "," << c.row << " key " << c.key;
    EXPECT_EQ(g.grid->Row(), c.toRow) << c.col << "," << c.row << " key " << c.key;
    // A consumed key fires OnKeyDown once itself; a plain one through the
    // class library, also once.
    EXPECT_EQ(g.keyEvents, 1) << c.col << "," << c.row << " key " << c.key;
  }
  // Switched off, the arrows step onto the cells the owner calls fixed.
  g.grid->Navigation()->SkipFixedCells = false;
  g.grid->SetCol(1);
  g.grid->SetRow(1);
  g.Key(vcl::VK_RIGHT);
  EXPECT_EQ(g.grid->Col(), 2);
}

// Home and End: to the first and last data row with heFirstLastRow (the
// column kept, Shift stretching the selection over whole rows, a footer
// row never reached), to the first and last column with row selection.
TEST(GridKeys, HomeAndEndByHomeEndKey) {
  TKeyGrid g;
  g.grid->Navigation()->HomeEndKey = heFirstLastRow;
  g.grid->SetCol(3);
  g.grid->SetRow(20);
  g.Key(vcl::VK_END);
  EXPECT_EQ(g.grid->Row(), 59);
  EXPECT_EQ(g.grid->Col(), 3);
  g.Key(vcl::VK_HOME);
  EXPECT_EQ(g.grid->Row(), 1);
  EXPECT_EQ(g.grid->Col(), 3);
  EXPECT_EQ(g.keyEvents, 2);
  // Shift: whole rows from where the key started.
  g.grid->SetRow(10);
  vcl::SetInputModifiers(Qt::ShiftModifier);
  g.Key(vcl::VK_END);
  vcl::SetInputModifiers(Qt::NoModifier);
  EXPECT_EQ(g.grid->Row(), 59);
  // The class library keeps a selection off the fixed column.
  EXPECT_EQ(g.grid->Selection(), (vcl::TGridRect{1, 10, 5, 59}));
  // A fixed footer row is not the last data row.
  g.grid->SetFixedFooters(1);
  g.Key(vcl::VK_END);
  EXPECT_EQ(g.grid->Row(), 58);
  EXPECT_EQ(g.grid->TopRow(), 60 - g.grid->VisibleRowCount());

  // Columns, with row selection.
  TKeyGrid c;
  auto options = c.grid->Options();
  options.Include(vcl::goRowSelect);
  c.grid->SetOptions(options);
  c.grid->SetRow(4);
  c.grid->SetCol(3);
  c.Key(vcl::VK_END);
  EXPECT_EQ(c.grid->Col(), 5);
  EXPECT_EQ(c.grid->Row(), 4);
  c.Key(vcl::VK_HOME);
  EXPECT_EQ(c.grid->Col(), 1);
  EXPECT_EQ(c.grid->LeftCol(), 1);
}
