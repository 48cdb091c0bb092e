// The grid's base: its cells in the model, merged blocks painted once per
// pass, grid lines inside the cells, the selection looks, the current cell
// on merged blocks, and a model that hides rows under the view.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "grid/BaseGrid.h"
#include "vcl/Forms.h"

using namespace grid;
using vcl::TForm;

namespace {

// Counts what the content painter is asked for.
class CountingGrid : public TBaseGrid {
 public:
  using TBaseGrid::TBaseGrid;
  std::vector<std::pair<Integer, Integer>> painted;
  void PaintCellContent(TCanvas* canvas, Integer col, TGridDrawState state, const TRect& r, Integer row) override {
    painted.push_back({col, row});
    TBaseGrid::PaintCellContent(canvas, col, state, r, row);
  }
};

class BaseGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(vcl::Application, 0);
    form->SetClientWidth(400);
    form->SetClientHeight(200);
    grid = new CountingGrid(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 5 * 60 + 10, 4 * 24 + 10);
    grid->SetBorderStyle(vcl::TGridBorderStyle::bsNone);
    grid->SetScrollBars(vcl::ssNone);
    grid->SetColCount(5);
    grid->SetRowCount(4);
    grid->SetDefaultColWidth(60);
    grid->SetDefaultRowHeight(24);
    grid->SetColor(clWhite);
    grid->SetFixedColor(0xE0E0E0);
  }
  void TearDown() override { vcl::Free(form); }

  QImage Grab() {
    form->Show();
    vcl::Application->ProcessMessages();
    grid->Invalidate();
    return grid->Widget()->grab().toImage();
  }

  TForm* form = nullptr;
  CountingGrid* grid = nullptr;
};

TColor Pixel(const QImage& img, int x, int y) {
  const QRgb p = img.pixel(x, y);
  return vcl::RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
}

}  // namespace

TEST_F(BaseGridTest, CellsLiveInTheModelAndWritingAMergedCellWritesItsBase) {
  EXPECT_EQ(grid->Model().RowCount(), 4);
  grid->SetCells(2, 1, "plain");
  EXPECT_EQ(grid->Model().GetRawCell(2, 1), "plain");
  EXPECT_EQ(grid->Cells(2, 1), "plain");
  grid->MergeCells(1, 1, 3, 2);
  grid->SetCells(2, 2, "block");
  EXPECT_EQ(grid->Cells(1, 1), "block");
  EXPECT_EQ(grid->GetDisplayCell(3, 2), "block");
  // The block's rectangle spans its columns and rows.
  EXPECT_EQ(grid->CellRect(2, 2), vcl::Rect(60, 24, 240, 72));
  EXPECT_EQ(grid->CellRect(0, 0), vcl::Rect(0, 0, 60, 24));
  EXPECT_EQ(grid->CellSize(3, 1), (TExtent{180, 48}));
  // The class library's line width stays 0: cells touch.
  EXPECT_EQ(grid->vcl::TStringGrid::GridLineWidth(), 0);
  EXPECT_EQ(grid->GridLineWidth(), 1);
}

TEST_F(BaseGridTest, TheModelHidingRowsMovesTheView) {
  grid->SetRowCount(10);
  for (Integer r = 0; r < 10; ++r) grid->SetCells(0, r, std::to_string(r));
  grid->Model().HideRows(2, 4);
  EXPECT_EQ(grid->RowCount(), 7);
  EXPECT_EQ(grid->Cells(0, 2), "5");
  grid->Model().UnHideRows(2, 4);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->Cells(0, 3), "3");
  EXPECT_THROW(grid->SetFixedRows(10), EInvalidGridOperation);
  grid->SetRowHeights(3, 40);
  EXPECT_EQ(grid->Model().RowHeights(3), 40);
}

TEST_F(BaseGridTest, AMergedBlockIsPaintedOncePerPass) {
  grid->MergeCells(1, 1, 3, 2);
  grid->SetCells(1, 1, "merged");
  Grab();
  const auto count = std::count(grid->painted.begin(), grid->painted.end(), std::pair<Integer, Integer>{1, 1});
  EXPECT_GE(count, 1);
  // Within one pass the block's cells were asked for six times, painted once.
  grid->painted.clear();
  const Integer pass = grid->PaintPass();
  grid->Repaint();
  if (grid->PaintPass() > pass) {
    EXPECT_EQ(std::count(grid->painted.begin(), grid->painted.end(), std::pair<Integer, Integer>{1, 1}), 1);
    for (auto [c, r] : grid->painted) EXPECT_FALSE(grid->Model().IsCoveredCell(c, r));
  }
}

TEST_F(BaseGridTest, TheCurrentCellLeavesAndLandsOnMergedBlocksWhole) {
  grid->MergeCells(1, 1, 3, 1);
  grid->SetCol(1);
  grid->SetRow(1);
  vcl::Word right = vcl::VK_RIGHT;
  grid->Perform(vcl::WM_KEYDOWN, right, 0);
  EXPECT_EQ(grid->Col(), 4);  // past the block
  vcl::Word left = vcl::VK_LEFT;
  grid->Perform(vcl::WM_KEYDOWN, left, 0);
  EXPECT_EQ(grid->Col(), 1);  // into the block: its base cell
  grid->SetRowCount(6);
  grid->Model().MergeCells(2, 2, 2, 2);
  grid->SetRow(2);
  grid->SetCol(1);
  grid->Perform(vcl::WM_KEYDOWN, right, 0);
  EXPECT_EQ(grid->Col(), 2);
  vcl::Word down = vcl::VK_DOWN;
  grid->Perform(vcl::WM_KEYDOWN, down, 0);
  EXPECT_EQ(grid->Row(), 4);  // past the block's two rows
  EXPECT_EQ(grid->Col(), 2);
  vcl::Word up = vcl::VK_UP;
  grid->Perform(vcl::WM_KEYDOWN, up, 0);
  EXPECT_EQ(grid->Row(), 2);  // back onto the block's base cell
}

TEST_F(BaseGridTest, GridLinesInsideTheCellsAndTheFooterRow) {
  grid->SetGridLineColor(0x0000FF);
  grid->SetGridFixedLineColor(0x00FF00);
  const QImage img = Grab();
  // Normal cell (2, 2) spans x 120..179, y 48..71: its lines are its last
  // column and row of pixels.
  EXPECT_EQ(Pixel(img, 179, 60), 0x0000FFu);
  EXPECT_EQ(Pixel(img, 150, 71), 0x0000FFu);
  EXPECT_EQ(Pixel(img, 150, 60), clWhite);
  // Fixed cell (0, 1): its lines in the fixed line colour.
  EXPECT_EQ(Pixel(img, 59, 36), 0x00FF00u);
  EXPECT_EQ(Pixel(img, 30, 47), 0x00FF00u);

  grid->Model().SetFooterRowShown(true);
  grid->SetCells(2, 3, "footer");
  const QImage footer = Grab();
  EXPECT_EQ(Pixel(footer, 179, 85), clWhite);  // the last row is background only
}

TEST_F(BaseGridTest, TheFourSelectionLooks) {
  for (Integer r = 0; r < 4; ++r)
    for (Integer c = 0; c < 5; ++c) grid->SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
  grid->MergeCells(3, 2, 2, 2);
  grid->SetCells(3, 2, "merged");
  grid->SetSelection({1, 1, 3, 1});
  form->Show();
  grid->SetFocus();
  QImage all(grid->Width(), grid->Height() * 4, QImage::Format_RGB32);
  all.fill(Qt::white);
  const TColor outerLine[] = {0, 0xFDDE99, 0xCEA27D, 0x8DD7D3};
  for (Byte look = 0; look < 4; ++look) {
    grid->SetSelectionLook(look);
    const QImage img = Grab();
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) all.setPixel(x, look * grid->Height() + y, img.pixel(x, y));
    if (look == 0) continue;
    // The box: left end in column 1, the middle in column 2, the right end
    // in column 3; its outer line on the cells' top row of pixels.
    EXPECT_EQ(Pixel(img, 90, 24), outerLine[look]) << int(look);
    EXPECT_EQ(Pixel(img, 150, 24), outerLine[look]) << int(look);
    EXPECT_EQ(Pixel(img, 60, 34), outerLine[look]) << int(look);  // the left end's side
  }
  all.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR) + "/grid-base-looks.png"));
}

// With the footer row shown, Page Down on the last page stops on the row
// above the footer; without it the last row becomes current.
TEST_F(BaseGridTest, PageDownOnTheLastPageStopsAboveTheFooterRow) {
  for (bool footer : {false, true}) {
    grid->Model().SetFooterRowShown(footer);
    grid->SetCol(1);
    grid->SetRow(1);
    vcl::Word next = vcl::VK_NEXT;
    grid->Perform(vcl::WM_KEYDOWN, next, 0);
    EXPECT_EQ(grid->Row(), footer ? 2 : 3) << footer;
    EXPECT_EQ(grid->Col(), 1);
  }
}
