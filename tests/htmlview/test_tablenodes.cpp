// Table nodes laid out by the body on the fake-metrics canvas (8 pixels a
// character, 10 up and 3 down, so a line is 13 pixels high), in exact
// pixels: spacing and padding, the table's width from its tag or its
// pixel columns, equal columns, a nested table widening its column in a
// second pass, the drag limits, the mends (mixed width kinds, ragged rows,
// an empty first row, a nested 100 % table with margins), collapsed
// borders under virtual borders, "bgcolor" under CSS and the kind queries.
#include <gtest/gtest.h>

#include "LayoutFixture.h"
#include "htmledit/view/psTableNodes.h"

namespace {

using namespace htmlview;

// A host whose virtual borders a test sets.
class TableHost : public htmlview::testing::FakeHost {
 public:
  const TpsVirtualBorders* VirtualBorders() override { return &Borders; }
  TpsVirtualBorders Borders;
};

struct TablePage {
  explicit TablePage(bool aVirtualBorders = false, Integer aWidth = 600, Integer aHeight = 400)
      : Fake(aWidth, aHeight, {}), Manager(&Host.Canvas) {
    RegisterTableNodeClasses();
    Host.Borders.Enabled = aVirtualBorders;
    Host.Options["ClientWidth"] = aWidth;
    Host.Options["ClientHeight"] = aHeight;
    Host.Canvas.SetHandle(&Fake);
    Host.Canvas.SetViewRect({0, 0, aWidth - 1, aHeight - 1});
  }
  ~TablePage() { Manager.SetRootWindow(nullptr); }

  TpsBodyNode* Load(const std::string& aBody, const std::string& aCss = "") {
    if (!aCss.empty()) htmldoc::testing::LoadCss(Host.Sheet, aCss);
    auto chunk = htmlview::testing::ParsePage("<html><body>" + aBody + "</body></html>", Host.Events);
    auto body = NewWindow<TpsBodyNode>(&Host);
    Body = body.get();
    Manager.SetRootWindow(std::move(body));
    Body->LayoutChunk(*chunk);
    return Body;
  }

  // Each table, row and cell as "kind left,top,right,bottom" (absolute,
  // inclusive), nested ones indented under their cell.
  std::string Tables() {
    std::ostringstream out;
    Dump(out, Body, 0);
    return out.str();
  }
  void Dump(std::ostringstream& aOut, TpsWindow* w, Integer aDepth) {
    const char* kind = dynamic_cast<TpsTableNode*>(w)      ? "table"
                       : dynamic_cast<TpsTableRowNode*>(w)  ? "row"
                       : dynamic_cast<TpsTableCellNode*>(w) ? "cell"
                                                            : nullptr;
    if (kind) {
      const TpsRect r = w->GetAbsoluteRect();
      aOut << std::string(static_cast<size_t>(aDepth) * 2, ' ') << kind << " " << r.Left << "," << r.Top << ","
           << r.Right << "," << r.Bottom << "\n";
      ++aDepth;
    }
    for (TpsWindow* c : w->ChildList())
      if (!c->WindowFlags.GetFlag(wfFloating)) Dump(aOut, c, aDepth);
  }
  TpsTableNode* Table(Integer aNth = 0) { return Find(Body, aNth); }
  TpsTableNode* Find(TpsWindow* w, Integer& aNth) {
    if (auto* t = dynamic_cast<TpsTableNode*>(w))
      if (aNth-- == 0) return t;
    for (TpsWindow* c : w->ChildList())
      if (TpsTableNode* t = Find(c, aNth)) return t;
    return nullptr;
  }

  TableHost Host;
  vcl::TFakeMetricsCanvas Fake;
  TpsWindowManager Manager;
  TpsBodyNode* Body = nullptr;
};

TEST(TableNodes, Layouts) {
  struct Case {
    const char* name;
    const char* html;
    const char* css;
    const char* expected;
  };
  const std::vector<Case> cases{
      {"without cellspacing: rows and cells 2 apart, the table padded by 2",
       "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>", "",
       "table 0,0,599,31\n"
       "  row 2,2,597,14\n    cell 2,2,298,14\n    cell 301,2,597,14\n"
       "  row 2,17,597,29\n    cell 2,17,298,29\n    cell 301,17,597,29\n"},
      {"50 % of the 600-pixel body plus the margins",
       "<table width=\"50%\"><tr><td>a</td></tr></table>", "table { margin-left: 10px; margin-right: 10px }",
       "table 0,0,319,16\n  row 12,2,307,14\n    cell 12,2,307,14\n"},
      {"all-pixel columns: spacings, columns and 2 pixels per column",
       "<table cellspacing=\"4\"><tr><td width=\"100\">a</td><td width=\"50\">b</td></tr></table>", "",
       "table 0,0,165,20\n  row 4,4,161,16\n    cell 4,4,105,16\n    cell 110,4,161,16\n"},
      {"a column without a width: equal columns, the last to the row's edge",
       "<table cellspacing=\"0\"><tr><td width=\"100\">a</td><td>b</td><td>c</td></tr></table>", "",
       "table 0,0,599,12\n  row 0,0,599,12\n    cell 0,0,199,12\n    cell 200,0,399,12\n    cell 400,0,599,12\n"},
      {"pixels mixed with percentages divide equally",
       "<table cellspacing=\"0\"><tr><td width=\"100\">a</td><td width=\"20%\">b</td></tr></table>", "",
       "table 0,0,599,12\n  row 0,0,599,12\n    cell 0,0,299,12\n    cell 300,0,599,12\n"},
      {"a row longer than the first divides itself",
       "<table cellspacing=\"0\"><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td><td>e</td></tr></table>", "",
       "table 0,0,599,25\n"
       "  row 0,0,599,12\n    cell 0,0,299,12\n    cell 300,0,599,12\n"
       "  row 0,13,599,25\n    cell 0,13,299,25\n    cell 300,13,599,25\n    cell 400,13,599,25\n"},
      {"a first row without cells: every row divides itself",
       "<table cellspacing=\"0\"><tr></tr><tr><td>a</td><td>b</td></tr></table>", "",
       "table 0,0,599,25\n  row 0,0,599,12\n  row 0,13,599,25\n    cell 0,13,299,25\n    cell 300,13,599,25\n"},
      {"a nested table wider than its cell widens the column in a second pass",
       "<table cellspacing=\"0\"><tr><td>a</td><td><table cellspacing=\"0\" width=\"400\"><tr><td>x</td></tr>"
       "</table></td></tr></table>",
       "",
       "table 0,0,699,12\n  row 0,0,699,12\n    cell 0,0,299,12\n    cell 300,0,699,12\n"
       "      table 300,0,699,12\n        row 300,0,699,12\n          cell 300,0,699,12\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TablePage page;
    page.Load(c.html, c.css);
    EXPECT_EQ(page.Tables(), c.expected);
  }
}

TEST(TableNodes, ANested100PercentTableWithMarginsEnds) {
  TablePage page;
  page.Load(
      "<table cellspacing=\"0\"><tr><td>a</td><td><table class=\"inner\" cellspacing=\"0\" width=\"100%\">"
      "<tr><td>x</td></tr></table></td></tr></table>",
      ".inner { margin-left: 5px; margin-right: 5px }");
  TpsTableNode* outer = page.Table(0);
  ASSERT_TRUE(outer);
  // The inner table asks for its margins again on every pass; the second
  // pass asks no less than the first, so the table stops there.
  EXPECT_EQ(outer->Columns.PassCount(), 2);
  EXPECT_EQ(outer->Columns.ExtraWidth, 10);
  EXPECT_EQ(page.Tables(),
            "table 0,0,609,12\n  row 0,0,609,12\n    cell 0,0,299,12\n    cell 300,0,609,12\n"
            "      table 300,0,619,12\n        row 305,0,614,12\n          cell 305,0,614,12\n");
}

TEST(TableNodes, CollapsedBordersUnderVirtualBorders) {
  TablePage page(true);
  page.Load("<table cellspacing=\"0\"><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>",
            "table, td { border-collapse: collapse }");
  TpsTableNode* table = page.Table();
  ASSERT_TRUE(table);
  EXPECT_EQ(table->BorderLeft + table->BorderTop + table->BorderRight + table->BorderBottom, 4);
  struct Expect {
    Integer row, col, l, t, r, b;
  };
  for (const Expect& e : std::vector<Expect>{{0, 0, 0, 0, 1, 1}, {0, 1, 0, 0, 0, 1}, {1, 0, 0, 0, 1, 0},
                                             {1, 1, 0, 0, 0, 0}}) {
    TpsTableCellNode* cell = table->GetCell(e.row, e.col);
    ASSERT_TRUE(cell);
    SCOPED_TRACE(::testing::Message() << e.row << "," << e.col);
    EXPECT_EQ(cell->BorderLeft, e.l);
    EXPECT_EQ(cell->BorderTop, e.t);
    EXPECT_EQ(cell->BorderRight, e.r);
    EXPECT_EQ(cell->BorderBottom, e.b);
  }
}

TEST(TableNodes, VirtualBordersFrameTableAndCells) {
  TablePage page(true);
  page.Load("<table><tr><td>ab</td><td>c</td></tr></table>");
  EXPECT_EQ(page.Tables(), "table 0,0,599,20\n  row 3,3,596,17\n    cell 3,3,298,17\n    cell 301,3,596,17\n");
  TpsTableNode* table = page.Table();
  EXPECT_EQ(table->BorderStyle, 3);  // dashed
  EXPECT_EQ(table->BorderColor, 0x808080u);
}

TEST(TableNodes, CellPaddingFromTheTableUnlessTheCellRuleSetsOne) {
  struct Case {
    const char* css;
    Integer padding;
  };
  for (const Case& c : std::vector<Case>{{"", 4}, {"td { padding-left: 1px }", 0}, {"td { color: red }", 4}}) {
    SCOPED_TRACE(c.css);
    TablePage page;
    page.Load("<table cellpadding=\"4\"><tr><td>a</td></tr></table>", c.css);
    TpsTableCellNode* cell = page.Table()->GetCell(0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->Padding.Top, c.padding);
    EXPECT_EQ(cell->Height, 13 + 2 * c.padding);
  }
}

TEST(TableNodes, BackgroundColourUnderCss) {
  TablePage page;
  page.Load("<table bgcolor=\"#ff0000\"><tr><td>a</td></tr></table>"
            "<table class=\"blue\" bgcolor=\"#ff0000\"><tr><td>a</td></tr></table>",
            ".blue { background-color: #0000ff }");
  EXPECT_EQ(page.Table(0)->Color, 0x0000FFu);  // red, as 0x00BBGGRR
  EXPECT_EQ(page.Table(1)->Color, 0xFF0000u);  // blue
}

TEST(TableNodes, MinimumContentWidthOfARaggedTable) {
  // The second row lacks the second column: it adds nothing, and the
  // limits of a drag still come from the first row.
  TablePage page;
  page.Load("<table><tr><td>a</td><td>bb</td></tr><tr><td>ccc</td></tr><tr><td>d</td><td>e</td></tr></table>");
  TpsTableNode* table = page.Table();
  ASSERT_TRUE(table);
  EXPECT_EQ(table->GetCell(1, 1), nullptr);
  EXPECT_EQ(table->GetMinContentWidth(1), 8);
  EXPECT_EQ(table->GetMinContentWidth(0), 8);
  EXPECT_EQ(table->GetMinContentWidth(2), 0);
  const TpsDragLimits limits = table->GetDragLimits();
  ASSERT_EQ(limits.Cells.size(), 2u);
  EXPECT_EQ(limits.Cells[1].MinContentWidth, 8);
}

TEST(TableNodes, KindQueriesAndDragLimits) {
  TablePage page;
  page.Load("<table><tr><td>abc</td><td>WWWW</td></tr></table>");
  TpsTableNode* table = page.Table();
  ASSERT_TRUE(table);
  EXPECT_TRUE(TpsDocumentNode::IsTableNode(table));
  TpsTableCellNode* a = table->GetCell(0, 0);
  TpsTableCellNode* b = table->GetCell(0, 1);
  ASSERT_TRUE(a && b);
  EXPECT_FALSE(TpsDocumentNode::IsTableNode(a));
  EXPECT_TRUE(TpsDocumentNode::QueryNode(a, psmIsTableCellNode));
  EXPECT_FALSE(TpsDocumentNode::QueryNode(table, psmIsTableCellNode));
  EXPECT_EQ(table->GetCell(0, 2), nullptr);
  EXPECT_EQ(table->GetCell(1, 0), nullptr);
  // The widest character (8 pixels) plus half the spacing and 1 pixel.
  EXPECT_EQ(table->GetMinContentWidth(0), 8);
  EXPECT_EQ(table->GetBoundaryMinX(0), a->GetAbsoluteLeft() + 8 + 1 + 1);
  EXPECT_EQ(table->GetBoundaryMaxX(1), b->GetAbsoluteRight() - 8 - 1 - 1);
  // The last row catches the mouse over the boundary and the right edge.
  TpsTableRowNode* row = table->GetRow(0);
  EXPECT_TRUE(row->LastRow);
  EXPECT_TRUE(b->LastCell);
  EXPECT_FALSE(a->LastCell);
  const Integer boundary = row->GetBoundaryX(0);
  EXPECT_EQ(boundary, (a->GetAbsoluteRight() + b->GetAbsoluteLeft()) / 2);
  Integer id = -1;
  EXPECT_EQ(page.Manager.FindCatchArea({boundary - 3, 5}, id), row);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(page.Manager.FindCatchArea({boundary + 4, 5}, id), nullptr);
  EXPECT_EQ(page.Manager.FindCatchArea({table->GetRightEdgeX() + 3, 5}, id), row);
  EXPECT_EQ(id, 1);
}

}  // namespace

namespace {

class DragHost : public TableHost {
 public:
  bool ReadOnly() override { return Locked; }
  void SetMouseAutoScroll(bool aEnabled) override { Calls.push_back(aEnabled ? "AutoScroll on" : "AutoScroll off"); }
  bool Locked = false;
};

TpsMessagePtr Mouse(Integer aId, Integer aX, Integer aY) {
  TpsMessagePtr m = TpsMessage::Create(mrPositional, aId);
  m->X = aX;
  m->Y = aY;
  auto buttons = std::make_unique<TpsVCLMouseButtons>();
  buttons->SetMouseButton(0);
  m->SetButtons(std::move(buttons));
  m->Shift = ssLeftBit;
  return m;
}

TEST(TableNodes, DraggingAColumnBoundary) {
  for (bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only" : "editable");
    TablePage page;
    DragHost host;
    host.Borders.Enabled = false;
    host.Locked = readOnly;
    host.Options = page.Host.Options;
    host.Canvas.SetHandle(&page.Fake);
    host.Canvas.SetViewRect({0, 0, 599, 399});
    TpsWindowManager manager(&host.Canvas);
    manager.OnGetDC = [&page]() -> vcl::TCanvas* { return &page.Fake; };
    manager.OnReleaseDC = [](vcl::TCanvas*) {};
    auto chunk = htmlview::testing::ParsePage(
        "<html><body><table><tr><td width=\"100\">ab</td><td width=\"100\">c</td></tr></table></body></html>",
        host.Events);
    auto body = NewWindow<TpsBodyNode>(&host);
    TpsBodyNode* root = body.get();
    manager.SetRootWindow(std::move(body));
    root->LayoutChunk(*chunk);
    auto* table = dynamic_cast<TpsTableNode*>(root->Child(0));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Width, 210);
    TpsTableRowNode* row = table->GetRow(0);
    const Integer boundary = row->GetBoundaryX(0);
    ASSERT_EQ(boundary, 104);

    // A press 3 pixels left of the boundary, moves one pixel at a time
    // past the limit (the widest character 8, half the spacing and 1
    // before the second cell's right edge: 197), a release.
    manager.PostAndProcess(Mouse(psmMouseDown, boundary - 3, 5));
    EXPECT_EQ(row->Drag.Dragging, !readOnly);
    for (Integer x = boundary - 2; x <= 250; ++x) {
      manager.PostAndProcess(Mouse(psmMouseMove, x, 6));
      if (x == 150 && !readOnly) {
        // The bar stands at the mouse, a dotted column over the table.
        manager.PaintAll();
        ASSERT_TRUE(row->Bar);
        EXPECT_TRUE(row->Bar->Shown());
        EXPECT_EQ(row->Bar->X(), 150);
        EXPECT_EQ(row->Bar->Y(), 0);
        EXPECT_EQ(row->MouseCursor, static_cast<vcl::TCursor>(-14));
        // Dotted: every other pixel of column 150 black over the table's
        // 17 rows, none beside it.
        const QImage& pixels = page.Fake.Bitmap()->Pixels();
        Integer black = 0, beside = 0;
        for (int y = 0; y < 17; ++y) {
          black += (pixels.pixel(150, y) & 0xFFFFFF) == 0 ? 1 : 0;
          beside += (pixels.pixel(149, y) & 0xFFFFFF) == 0 ? 1 : 0;
        }
        EXPECT_GE(black, 8);
        EXPECT_LE(black, 9);
        EXPECT_EQ(beside, 0);
      }
    }
    if (!readOnly) {
      manager.PaintAll();
      EXPECT_EQ(row->Bar->X(), 197);  // held at the last valid place
    }
    manager.PostAndProcess(Mouse(psmMouseUp, 250, 6));
    EXPECT_FALSE(row->Drag.Dragging);
    if (readOnly) {
      EXPECT_EQ(row->Bar, nullptr);
      EXPECT_EQ(manager.QueuedCount(), 0);
      continue;
    }
    EXPECT_EQ(row->Drag.Delta, 197 - 104);
    EXPECT_EQ(manager.CapturedNode(), nullptr);
    // The next paint queues the transaction; the manager runs it.
    manager.PaintAll();
    EXPECT_EQ(manager.QueuedCount(), 8);
    manager.ProcessMessages();
    auto out = root->GetChunk(true);
    const htmldoc::TpsCharacterEncoding utf8("utf-8");
    EXPECT_EQ(rtl::WideToUtf8(out->GetHtmlText(nullptr, nullptr, "", false, utf8)),
              "<html><body><table><tr><td width=\"193\">ab</td><td width=\"7\">c</td></tr></table></body>");
    // Auto-scrolling was off for the drag and is on again.
    const auto off = std::find(host.Calls.begin(), host.Calls.end(), "AutoScroll off");
    ASSERT_NE(off, host.Calls.end());
    EXPECT_NE(std::find(off, host.Calls.end(), "AutoScroll on"), host.Calls.end());
    manager.SetRootWindow(nullptr);
  }
}

}  // namespace
