// ScrollToCell: a shown cell leaves the view alone, another comes to the
// middle of the view and becomes current.
#include <gtest/gtest.h>

#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

using namespace grid;

TEST(GridScroll, ScrollToCellBringsACellToTheMiddle) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  form->SetBounds(0, 0, 400, 300);
  auto* grid = new TVadOdizadEzev(form);
  grid->SetParent(form);
  grid->SetBounds(0, 0, 330, 250);
  grid->SetColCount(30);
  grid->SetRowCount(100);
  grid->SetDefaultColWidth(60);
  grid->SetDefaultRowHeight(24);
  form->Show();
  vcl::Application->ProcessMessages();
  const Integer rows = grid->VisibleRowCount();
  const Integer cols = grid->VisibleColCount();
  ASSERT_GT(rows, 2);
  ASSERT_GT(cols, 1);
  // Shown already: nothing moves, not even the current cell.
  grid->ScrollToCell(2, 3);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(grid->LeftCol(), 1);
  EXPECT_EQ(grid->Row(), 1);
  // Far away: current, and in the middle of the view.
  grid->ScrollToCell(20, 60);
  EXPECT_EQ(grid->Row(), 60);
  EXPECT_EQ(grid->Col(), 20);
  EXPECT_EQ(grid->TopRow(), 60 - rows / 2);
  EXPECT_EQ(grid->LeftCol(), 20 - cols / 2);
  // Near the start the view stops at the fixed cells.
  grid->ScrollToCell(1, 2);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(grid->LeftCol(), 1);
  // Near the end it shows the last rows.
  grid->ScrollToCell(29, 99);
  EXPECT_EQ(grid->Row(), 99);
  EXPECT_GE(grid->TopRow() + grid->VisibleRowCount(), 99);
  // Outside the grid: nothing.
  grid->ScrollToCell(30, 5);
  grid->ScrollToCell(5, 100);
  EXPECT_EQ(grid->Row(), 99);
  vcl::Free(form);
}
