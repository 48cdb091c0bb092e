// Row nodes and grouping on a form: glyph clicks with the expand and
// contract events, the precise hit, the current column moved off the node
// column, grouping through the grid's settings, and the glyphs and group
// rows grabbed offscreen.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"

using namespace grid;

namespace {

using NodeTexts = std::vector<std::string>;

struct TNodeGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  TNodeGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 420, 360);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 400, 340);
    grid->SetColCount(4);
    grid->SetRowCount(9);
    grid->SetFixedCols(0);
    const char* rows[][4] = {{"", "Name", "Kind", "Size"},   {"", "pin 1", "input", "3"},
                             {"", "pin 2", "input", "5"},    {"", "pin 3", "output", "8"},
                             {"", "relay", "output", "13"},  {"", "led", "output", "21"},
                             {"", "key", "extra", "34"},     {"", "id", "extra", "55"},
                             {"", "serial", "extra", "89"}};
    for (Integer r = 0; r < 9; ++r)
      for (Integer c = 0; c < 4; ++c) grid->SetCells(c, r, rows[r][c]);
    grid->SetColWidths(0, 40);
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~TNodeGrid() { vcl::Free(form); }
  NodeTexts Column(Integer col) const { return grid_test::ColumnTexts(grid, col); }
  void Click(Integer x, Integer y) {
    grid_test::Click(grid, x, y);
    vcl::Application->ProcessMessages();
  }
  void ClickGlyph(Integer row) {
    const vcl::TRect r = grid->CellRect(0, row);
    const Integer level = grid->GetNodeLevel(row);
    Click(level * grid->CellNode()->NodeIndent() - 2, (r.Top + r.Bottom) / 2);
  }
};

}  // namespace

TEST(GridNodes, GlyphClicksExpandAndCollapseWithTheirEvents) {
  TNodeGrid g;
  g.grid->SetCol(0);
  g.grid->AddNode(1, 3);
  EXPECT_EQ(g.grid->Col(), 1);  // column 0 holds the glyphs
  EXPECT_TRUE(g.grid->HasNodes());
  g.grid->AddNode(4, 5);
  std::vector<std::string> events;
  bool allowContract = true;
  g.grid->OnBeforeContractNode = [&](vcl::TObject*, Integer row, Integer real, bool& allow) {
    events.push_back("before contract " + std::to_string(row) + "/" + std::to_string(real));
    allow = allowContract;
  };
  g.grid->OnContractNode = [&](vcl::TObject*, Integer row, Integer real) {
    events.push_back("contract " + std::to_string(row) + "/" + std::to_string(real));
  };
  g.grid->OnBeforeExpandNode = [&](vcl::TObject*, Integer row, Integer real, bool&) {
    events.push_back("before expand " + std::to_string(row) + "/" + std::to_string(real));
  };
  g.grid->OnExpandNode = [&](vcl::TObject*, Integer row, Integer real) {
    events.push_back("expand " + std::to_string(row) + "/" + std::to_string(real));
  };
  g.ClickGlyph(1);
  EXPECT_EQ(g.Column(1), (NodeTexts{"pin 1", "relay", "led", "key", "id", "serial"}));
  g.ClickGlyph(2);  // node 4 shows at row 2 now
  EXPECT_EQ(g.Column(1), (NodeTexts{"pin 1", "relay"}));
  g.ClickGlyph(1);
  EXPECT_EQ(g.Column(1), (NodeTexts{"pin 1", "pin 2", "pin 3", "relay"}));
  EXPECT_EQ(events, (std::vector<std::string>{"before contract 1/1", "contract 1/1", "before contract 2/4",
                                              "contract 2/4", "before expand 1/1", "expand 1/1"}));
  // A refusal leaves the node as it is; a click beside the glyph does
  // nothing with PreciseNodeClick.
  allowContract = false;
  g.ClickGlyph(1);
  EXPECT_EQ(g.grid->RowCount(), 5);
  allowContract = true;
  events.clear();
  g.Click(38, (g.grid->CellRect(0, 1).Top + g.grid->CellRect(0, 1).Bottom) / 2);
  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(g.grid->IsNodeClick(1, 38));
  EXPECT_TRUE(g.grid->IsNodeClick(1, 10));
  g.grid->MouseActions()->PreciseNodeClick = false;
  EXPECT_TRUE(g.grid->IsNodeClick(1, 38));
  g.grid->ExpandAll();
  EXPECT_EQ(g.grid->RowCount(), 9);
  g.grid->RemoveAllNodes();
  EXPECT_FALSE(g.grid->HasNodes());
}

TEST(GridNodes, GroupingThroughTheGridsSettings) {
  TNodeGrid g;
  TGrouping& s = *g.grid->Grouping();
  g.grid->SortSettings()->AutoSortForGrouping = false;
  s.Summary = true;
  s.ShowGroupCount = true;
  s.HeaderColor = clBtnFace;
  const NodeTexts names = g.Column(1);
  g.grid->Group(2);
  EXPECT_EQ(g.grid->GroupColumn(), 2);
  EXPECT_EQ(g.grid->ColCount(), 3);
  // The group count joins the header text in the display.
  EXPECT_EQ(g.grid->GetDisplayCell(1, 1), "input (2)");
  EXPECT_EQ(g.grid->Model().GetRawCell(1, 1), "input");
  EXPECT_TRUE(g.grid->IsSummary(4));
  EXPECT_EQ(g.grid->Model().CellProperties(1, 1).BrushColor(), vcl::ColorToRGB(clBtnFace));
  EXPECT_EQ(g.grid->Row(), 1);
  g.grid->ContractAll();
  EXPECT_EQ(g.grid->RowCount(), 7);  // fixed, three headers, three summaries
  g.grid->UnGroup();
  EXPECT_EQ(g.grid->GroupColumn(), -1);
  EXPECT_EQ(g.grid->ColCount(), 4);
  EXPECT_EQ(g.Column(1), names);
  EXPECT_EQ(g.grid->Cells(2, 0), "Kind");
  EXPECT_EQ(g.grid->Cells(2, 3), "output");
  // With AutoSortForGrouping the rows are sorted on the column first.
  g.grid->SortSettings()->AutoSortForGrouping = true;
  g.grid->Group(2);
  EXPECT_EQ(g.grid->Model().GetRawCell(1, 1), "extra");
  g.grid->UnGroup();
  // Column 0 holds the nodes: grouping on it changes nothing.
  g.grid->Group(0);
  EXPECT_EQ(g.grid->GroupColumn(), -1);
  EXPECT_EQ(g.grid->ColCount(), 4);
}

TEST(GridNodes, ArrowKeysOpenAndCloseMergedNodeRows) {
  TNodeGrid g;
  g.grid->SortSettings()->AutoSortForGrouping = false;
  g.grid->Grouping()->MergeHeader = true;
  g.grid->Group(2);  // headers "input" at 1, "output" at 4, "extra" at 8: 12 rows
  ASSERT_EQ(g.grid->RowCount(), 12);
  g.grid->AddNode(9, 2);  // a node row that is not merged
  ASSERT_FALSE(g.grid->Model().IsMergedCell(1, 9));
  struct Case {
    const char* what;
    Integer row;
    Word key;
    Integer rowCount;
  };
  const std::vector<Case> cases = {
      {"Left closes a merged header", 1, vcl::VK_LEFT, 10},
      {"Left on a closed header stays", 1, vcl::VK_LEFT, 10},
      {"Right opens it", 1, vcl::VK_RIGHT, 12},
      {"Right on an open header stays", 1, vcl::VK_RIGHT, 12},
      {"Left closes another header", 4, vcl::VK_LEFT, 9},
      {"a plain row ignores Left", 2, vcl::VK_LEFT, 9},
      {"a node row that is not merged ignores Left", 6, vcl::VK_LEFT, 9},
  };
  for (const Case& c : cases) {
    g.grid->SetRow(c.row);
    g.grid->SetCol(1);
    g.grid->Perform(vcl::WM_KEYDOWN, c.key, 0);
    EXPECT_EQ(g.grid->RowCount(), c.rowCount) << c.what;
  }
}

TEST(GridNodes, NodeColumnPressesAndGroupSelection) {
  TNodeGrid g;
  g.grid->AddNode(1, 3);
  g.grid->AddNode(4, 0);  // up to the next node row: to the end
  g.grid->SetCol(2);
  g.grid->SetRow(5);
  std::vector<std::string> events;
  g.grid->OnMouseDown = [&](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, Integer, Integer) {
    events.push_back("down");
  };
  g.grid->OnClickCell = [&](vcl::TObject*, Integer row, Integer col) {
    events.push_back("click " + std::to_string(row) + "," + std::to_string(col));
  };
  // Column 0 beside the glyph, on a child row: reported, the selection stays.
  const vcl::TRect child = g.grid->CellRect(0, 2);
  g.Click(36, (child.Top + child.Bottom) / 2);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "click 2,0"}));
  EXPECT_EQ(g.grid->Col(), 2);
  EXPECT_EQ(g.grid->Row(), 5);
  // With MouseActions.RowSelect the press selects as usual.
  g.grid->MouseActions()->RowSelect = true;
  g.Click(36, (child.Top + child.Bottom) / 2);
  EXPECT_EQ(g.grid->Row(), 2);
  g.grid->MouseActions()->RowSelect = false;

  // A release on an open node row with AutoSelectGroup selects its group.
  g.grid->Grouping()->AutoSelectGroup = true;
  struct Case {
    const char* what;
    Integer row;
    vcl::TGridRect selection;
  };
  const std::vector<Case> cases = {
      {"a node with a span", 1, {0, 1, 3, 3}},
      {"a node up to the end", 4, {0, 4, 3, 8}},
      {"a plain row", 2, {1, 2, 1, 2}},
  };
  for (const Case& c : cases) {
    const vcl::TRect r = g.grid->CellRect(1, c.row);
    g.Click(r.Left + 5, r.Top + 5);
    const vcl::TGridRect s = g.grid->Selection();
    EXPECT_EQ((std::vector<Integer>{s.Left, s.Top, s.Right, s.Bottom}),
              (std::vector<Integer>{c.selection.Left, c.selection.Top, c.selection.Right, c.selection.Bottom}))
        << c.what;
  }
  // A closed node selects only itself.
  g.grid->ContractNode(1);
  const vcl::TRect head = g.grid->CellRect(1, 1);
  g.Click(head.Left + 5, head.Top + 5);
  EXPECT_EQ(g.grid->Selection().Bottom, 1);
  // With disjunct row marks the children are marked instead.
  g.grid->ExpandNode(1);
  g.grid->MouseActions()->SetDisjunctRowSelect(true);
  g.Click(head.Left + 5, head.Top + 5);
  EXPECT_TRUE(g.grid->IsRowMarked(2));
  EXPECT_TRUE(g.grid->IsRowMarked(3));
  EXPECT_FALSE(g.grid->IsRowMarked(4));
}

TEST(GridNodes, GlyphsAndGroupRowsGrabbed) {
  TNodeGrid g;
  g.grid->CellNode()->SetNodeType(cnFlat);
  g.grid->Grouping()->Summary = true;
  g.grid->Grouping()->HeaderColor = 0xE0C0A0;
  g.grid->Grouping()->SummaryColor = 0xC0E0C0;
  g.grid->Group(2);
  g.grid->ContractNode(6);
  vcl::Application->ProcessMessages();
  g.grid->Invalidate();
  const QImage shot = g.grid->Widget()->grab().toImage();
  shot.save(QString(TOLVANE_BUILD_DIR "/grid-nodes.png"));
  // The grab holds the grid's border.
  const Integer b = (g.grid->Width() - g.grid->ClientWidth()) / 2;
  auto pixel = [&](Integer x, Integer y) {
    const QRgb p = shot.pixel(x + b, y + b);
    return vcl::RGB(static_cast<Byte>(qRed(p)), static_cast<Byte>(qGreen(p)), static_cast<Byte>(qBlue(p)));
  };
  // The flat glyphs of the expanded header at row 1 and the collapsed one
  // at row 6: an 8 x 8 box in the node colour outlined in NodeColor, a
  // minus, and a plus bar when collapsed; drawn over the tree lines.
  const vcl::TRect h1 = g.grid->CellRect(0, 1), h2 = g.grid->CellRect(0, 6);
  const Integer indent = g.grid->CellNode()->NodeIndent();
  const Integer left = indent - indent / 2 - 4 + 4;
  const Integer top1 = (h1.Top + h1.Bottom) / 2 - 4, top2 = (h2.Top + h2.Bottom) / 2 - 4;
  for (Integer x = left + 1; x <= left + 5; ++x) EXPECT_EQ(pixel(x, top1 + 3), clBlack) << x;
  EXPECT_EQ(pixel(left + 3, top1 + 1), clSilver);  // no plus bar
  EXPECT_EQ(pixel(left + 7, top1 + 4), clSilver);  // no tree line across
  EXPECT_EQ(pixel(left + 3, top2 + 1), clBlack);   // plus bar
  EXPECT_EQ(pixel(left - 1, top2 + 4), clBlack);   // the outline
  EXPECT_EQ(pixel(left + 8, top2 + 8), clBlack);
  EXPECT_EQ(pixel(h1.Left + 60, h1.Top + 3), TColor(0xE0C0A0));  // header colour
  EXPECT_EQ(g.grid->RowCount(), 13);
}

TEST(GridNodes, HeaderAndSummaryLines) {
  TNodeGrid g;
  g.grid->SortSettings()->AutoSortForGrouping = false;
  TGrouping& s = *g.grid->Grouping();
  s.Summary = true;
  s.HeaderUnderline = true;
  s.HeaderLineWidth = 3;
  s.SummaryLine = true;
  s.SummaryLineColor = 0x00FF00;
  g.grid->Group(2);
  ASSERT_TRUE(g.grid->IsNode(1));
  ASSERT_TRUE(g.grid->IsSummary(4));
  vcl::TPen pen;
  TCellBorders borders;
  g.grid->GetCellBorder(1, 1, &pen, borders);
  EXPECT_EQ(borders, TCellBorders{cbBottom});
  EXPECT_EQ(pen.Color(), 0xFF0000u);
  EXPECT_EQ(pen.Width(), 3);
  borders = {};
  g.grid->GetCellBorder(0, 1, &pen, borders);  // not in the node column
  EXPECT_EQ(borders, TCellBorders{});
  g.grid->GetCellBorder(2, 4, &pen, borders);
  EXPECT_EQ(borders, TCellBorders{cbTop});
  EXPECT_EQ(pen.Color(), 0x00FF00u);
  // The owner has the last word.
  g.grid->OnGetCellBorder = [](vcl::TObject*, Integer, Integer, vcl::TPen*, TCellBorders& b) { b = {}; };
  g.grid->GetCellBorder(1, 1, &pen, borders);
  EXPECT_EQ(borders, TCellBorders{});
}
