// The floating footer on a grid: its settings showing and sizing the
// strip, totals recalculated after an edit, a block change and a CSV
// import, the preview styles and template, clicks, and the strip's pixels
// staying put while the rows scroll (grabbed in the build folder).
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "grid/GridFooter.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

struct FooterForm {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  FooterForm() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 340, 220);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 320, 200);
    grid->SetColCount(4);
    grid->SetRowCount(22);  // a header, 20 data rows and the footer row
    grid->SetDefaultColWidth(70);
    grid->SetColor(clWhite);
    grid->Font()->SetColor(clBlack);
    grid->FixedFont()->SetColor(clBlack);
    for (Integer c = 1; c < 4; ++c) grid->SetCells(c, 0, "Col " + std::to_string(c));
    for (Integer r = 1; r <= 20; ++r) {
      grid->SetCells(0, r, std::to_string(r));
      grid->SetCells(1, r, std::to_string(r));
      grid->SetCells(2, r, "name " + std::to_string(r));
    }
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~FooterForm() { vcl::Free(form); }
  Integer Footer() const { return grid->RowCount() - 1; }
  void Totals() {
    grid->Model().CellProperties(1, Footer()).CalcType = static_cast<Byte>(fcSum);
    grid->Model().CellProperties(2, Footer()).CalcType = static_cast<Byte>(fcCount);
    grid->Model().CellProperties(3, Footer()).CalcType = static_cast<Byte>(fcMax);
    grid->FloatingFooter()->SetVisible(true);
  }
  QImage Grab(const std::string& png) {
    vcl::Application->ProcessMessages();
    grid->Invalidate();
    grid->FooterPanel()->Invalidate();
    QImage img = grid->Widget()->grab().toImage();
    img.save(QString::fromStdString(std::string(TOLVANE_BUILD_DIR "/") + png));
    return img;
  }
};

}  // namespace

TEST(GridFooter, SettingsShowAndSizeTheStrip) {
  FooterForm f;
  TFooterPanel* panel = f.grid->FooterPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Parent(), f.grid);
  EXPECT_FALSE(panel->Visible());
  EXPECT_EQ(f.grid->FixedFooters(), 0);
  int created = 0;
  f.grid->OnCreatedFloatingFooter = [&](vcl::TObject*) { ++created; };
  f.grid->FloatingFooter()->SetVisible(true);
  EXPECT_TRUE(panel->Visible());
  EXPECT_EQ(panel->Height(), f.grid->DefaultRowHeight() - 1);
  EXPECT_EQ(f.grid->FixedFooters(), 1);
  EXPECT_TRUE(f.grid->Model().FooterRowShown());
  f.grid->FloatingFooter()->SetFooterStyle(fsColumnPreview);  // shown, but no footer row
  EXPECT_TRUE(panel->Visible());
  EXPECT_EQ(f.grid->FixedFooters(), 0);
  EXPECT_FALSE(f.grid->Model().FooterRowShown());
  TFloatingFooter copy;
  copy.Assign(f.grid->FloatingFooter());
  copy.Visible = false;
  f.grid->FloatingFooter()->Assign(&copy);  // through the setters
  EXPECT_FALSE(panel->Visible());
  EXPECT_EQ(panel->Height(), 0);
  EXPECT_EQ(created, 0);  // only when the panel's window is made
}

TEST(GridFooter, TotalsAfterEditsBlockChangesAndImports) {
  FooterForm f;
  f.Totals();
  TVadOdizadEzev* g = f.grid;
  EXPECT_EQ(g->Cells(1, f.Footer()), "210.00");
  EXPECT_EQ(g->Cells(2, f.Footer()), "20");
  EXPECT_EQ(g->Cells(3, f.Footer()), "0.00");  // an empty column
  // An edit typed in the in-place editor and ended with Enter.
  auto options = g->Options();
  options.Include(vcl::goEditing);
  g->SetOptions(options);
  g->SetCol(1);
  g->SetRow(3);
  g->Perform(vcl::WM_KEYDOWN, vcl::VK_F2, 0);
  ASSERT_TRUE(g->EditorMode());
  g->InplaceEditor()->SetText("103");
  g->Perform(vcl::WM_KEYDOWN, vcl::VK_RETURN, 0);
  EXPECT_EQ(g->Cells(1, 3), "103");
  EXPECT_EQ(g->Cells(1, f.Footer()), "310.00");
  // A block of cells changed together.
  for (Integer r = 1; r <= 20; ++r) g->SetCells(3, r, std::to_string(r % 7));
  g->CellsChanged(vcl::TRect{3, 1, 3, 20});
  EXPECT_EQ(g->Cells(3, f.Footer()), "6.00");
  // Hidden rows count with CalculateHiddenRows.
  g->Model().HideRows(1, 2);
  g->CellsChanged(vcl::TRect{0, 0, 3, g->RowCount()});
  EXPECT_EQ(g->Cells(2, f.Footer()), "20");
  g->FloatingFooter()->CalculateHiddenRows = false;
  g->UpdateFooter(-1);
  EXPECT_EQ(g->Cells(2, f.Footer()), "18");
  EXPECT_EQ(g->Cells(1, f.Footer()), "307.00");
  g->Model().UnHideRows(1, 2);
  // The grid's own custom total and the footer's.
  g->Model().CellProperties(0, f.Footer()).CalcType = static_cast<Byte>(fcCustom);
  g->FloatingFooter()->OnCalcFooter = [](vcl::TObject*, Integer, Integer, AnsiString& v) { v = "footer"; };
  g->UpdateFooter(0);
  EXPECT_EQ(g->Cells(0, f.Footer()), "footer");
  g->OnFooterCalc = [](vcl::TObject*, Integer, Integer, AnsiString& v) { v = "grid"; };
  g->UpdateFooter(0);
  EXPECT_EQ(g->Cells(0, f.Footer()), "grid");

  // A CSV import: rows from the first, the footer row kept last and
  // recalculated.
  const std::string path = std::string(TOLVANE_BUILD_DIR) + "/grid-footer-import.csv";
  std::ofstream(path) << "h,1,a,9\r\nx,2,b,3\r\ny,4,c,5\r\n";
  std::vector<Integer> progress;
  g->OnFileProgress = [&](vcl::TObject* sender, Integer p) {
    EXPECT_EQ(sender, g);
    progress.push_back(p);
  };
  g->ImportCSV(path, -1);
  EXPECT_EQ(progress, (std::vector<Integer>{33, 67, 100}));
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(g->Cells(1, 2), "4");
  EXPECT_EQ(g->Cells(1, 3), "6.00");  // rows 1 and 2
  EXPECT_EQ(g->Cells(2, 3), "2");
  EXPECT_EQ(g->Cells(3, 3), "5.00");
  std::filesystem::remove(path);
}

TEST(GridFooter, PreviewTemplateAndClicks) {
  FooterForm f;
  TVadOdizadEzev* g = f.grid;
  g->SetRow(4);
  EXPECT_EQ(g->ExpandFooterTemplate("Total: <#2>, <#9><#x>!"), "Total: name 4, !");
  g->FloatingFooter()->SetCustomTemplate("<b>Row</b> <#1>: <#2>");
  g->FloatingFooter()->SetFooterStyle(fsCustomPreview);
  g->FloatingFooter()->SetVisible(true);
  f.Grab("grid-footer-custom.png");
  g->FloatingFooter()->SetFooterStyle(fsColumnPreview);
  g->FloatingFooter()->SetColumn(2);
  f.Grab("grid-footer-column.png");
  TFooterPanel* panel = g->FooterPanel();
  EXPECT_EQ(panel->ColumnAt(10), 0);
  EXPECT_EQ(panel->ColumnAt(75), 1);
  EXPECT_EQ(panel->ColumnAt(4 * 70 + 5), -1);  // right of the last column
  std::vector<std::pair<Integer, Integer>> clicks;
  g->OnClickCell = [&](vcl::TObject*, Integer row, Integer col) { clicks.emplace_back(row, col); };
  grid_test::Click(panel, 150, 5);
  EXPECT_EQ(clicks, (std::vector<std::pair<Integer, Integer>>{{g->RowCount() - 1, 2}}));
}

TEST(GridFooter, TotalsFollowTheFilterAndTheNodes) {
  FooterForm f;
  f.Totals();
  TVadOdizadEzev* g = f.grid;
  struct Step {
    const char* what;
    std::function<void()> act;
    const char* sum;
    const char* count;
  };
  g->FloatingFooter()->CalculateHiddenRows = false;
  TFilterData* over = g->Filter()->Add();
  over->Column = 1;
  over->Condition = ">15";
  const std::vector<Step> steps = {
      {"filter on", [&] { g->SetFilterActive(true); }, "90.00", "5"},
      {"filter off", [&] { g->SetFilterActive(false); }, "210.00", "20"},
      // Rows 1..5 under a node, rows 6..8 under another.
      {"nodes added", [&] { g->AddNode(1, 5), g->AddNode(6, 3); }, "210.00", "20"},
      {"first collapsed", [&] { g->ContractNode(1); }, "196.00", "16"},
      {"all collapsed", [&] { g->ContractAll(); }, "181.00", "14"},
      {"second expanded", [&] { g->ExpandNode(6); }, "196.00", "16"},
      {"all expanded", [&] { g->ExpandAll(); }, "210.00", "20"},
      {"a child row inserted", [&] { g->InsertChildRow(2, true); }, "210.00", "21"},
      {"the child row removed", [&] { g->RemoveChildRow(3); }, "210.00", "20"},
      {"a child row removed", [&] { g->RemoveChildRow(3); }, "207.00", "19"},
      // The first node now holds 1, 2, 4 and 5; hidden rows counted or not.
      {"first collapsed, hidden rows counted",
       [&] {
         g->FloatingFooter()->CalculateHiddenRows = true;
         g->ContractNode(1);
       },
       "207.00", "19"},
      {"first collapsed, hidden rows left out",
       [&] {
         g->FloatingFooter()->CalculateHiddenRows = false;
         g->ExpandNode(1);
         g->ContractNode(1);
       },
       "196.00", "16"},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(g->Cells(1, f.Footer()), s.sum) << s.what;
    EXPECT_EQ(g->Cells(2, f.Footer()), s.count) << s.what;
  }
}

TEST(GridFooter, GroupHeadersStayOutOfTheTotals) {
  FooterForm f;
  f.Totals();
  TVadOdizadEzev* g = f.grid;
  // Two groups whose values read as numbers: their header rows carry them
  // in column 1, where the sum is taken.
  for (Integer r = 1; r <= 20; ++r) g->SetCells(2, r, r <= 8 ? "100" : "200");
  g->SortSettings()->AutoSortForGrouping = false;
  g->Group(2);
  ASSERT_EQ(g->GroupColumn(), 2);
  ASSERT_TRUE(g->IsNode(1));
  EXPECT_EQ(g->Model().GetRawCell(1, 1), "100");
  EXPECT_EQ(g->Cells(1, g->RowCount() - 1), "210.00");
  g->UnGroup();
  EXPECT_EQ(g->Cells(1, g->RowCount() - 1), "210.00");
}

TEST(GridFooter, StripStaysWhileRowsScroll) {
  FooterForm f;
  f.Totals();
  TVadOdizadEzev* g = f.grid;
  g->FloatingFooter()->SetColor(0xC0FFC0);
  g->FloatingFooter()->SetBorderColor(0x0000FF);
  const QImage before = f.Grab("grid-footer-top.png");
  g->SetTopRow(10);
  const QImage after = f.Grab("grid-footer-scrolled.png");
  TFooterPanel* panel = g->FooterPanel();
  const Integer top = panel->Top();
  EXPECT_EQ(top + panel->Height(), g->ClientHeight());
  // The strip's pixels are the same before and after; the rows above moved.
  Integer same = 0, strip = 0;
  for (int y = top; y < top + panel->Height(); ++y)
    for (int x = 0; x < 4 * 70; ++x, ++strip) same += before.pixel(x, y) == after.pixel(x, y);
  EXPECT_EQ(same, strip);
  bool rowsMoved = false;
  for (int y = 30; y < top - 5 && !rowsMoved; ++y)
    for (int x = 75; x < 140; ++x) rowsMoved |= before.pixel(x, y) != after.pixel(x, y);
  EXPECT_TRUE(rowsMoved);
  // The red line along the strip's top and the total drawn under it.
  int line = -1;
  for (int y = top - 3; y < top + 3 && line < 0; ++y)
    if (after.pixel(100, y) == qRgb(0xFF, 0, 0)) line = y;
  ASSERT_GE(line, 0);
  EXPECT_EQ(before.pixel(100, line), qRgb(0xFF, 0, 0));
  bool text = false;
  for (int x = 72; x < 140; ++x)
    for (int y = line + 3; y < line + panel->Height() - 2; ++y) text |= qGreen(after.pixel(x, y)) < 0x80;
  EXPECT_TRUE(text);
  EXPECT_EQ(g->Cells(1, g->RowCount() - 1), "210.00");
  // OnFooterPaint takes each column's painting over: the footer's own
  // colour then shows.
  std::vector<Integer> painted;
  g->OnFooterPaint = [&](vcl::TObject* sender, Integer col, vcl::TCanvas*, vcl::TRect) {
    EXPECT_EQ(sender, panel);
    painted.push_back(col);
  };
  const QImage own = f.Grab("grid-footer-own-paint.png");
  EXPECT_EQ(painted, (std::vector<Integer>{0, 1, 2, 3}));
  const QRgb fill = own.pixel(30, line + 10);  // column 0 carries no colour of its own
  EXPECT_EQ(qRed(fill), 0xC0);
  EXPECT_EQ(qGreen(fill), 0xFF);
  EXPECT_EQ(qBlue(fill), 0xC0);
}
