// Table layout arithmetic with exact numbers: spacing and padding from the
// tag, column bounds of every width kind (and of mixed kinds, ragged rows
// and an empty first row), the table's width, the widening passes and
// their bound, the box rules of tables and cells with virtual and
// collapsed borders, and a column drag from the press to the width
// attributes the transaction writes.
#include <gtest/gtest.h>

#include "EditRoot.h"
#include "ViewFixture.h"
#include "htmldoc/support/ChunkFixture.h"
#include "htmledit/doc/psHtmlTag.h"
#include "htmledit/doc/psTableAccess.h"
#include "htmledit/view/psTableLayout.h"

namespace {

using namespace htmlview;
using htmldoc::cwtPercent;
using htmldoc::cwtPixels;
using htmldoc::cwtUnspecified;
using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;
using htmlview::testing::FakeHost;

TEST(TableLayout, SpacingAndPaddingFromTheTag) {
  struct Case {
    const char* tag;
    Integer spacing, padding;
  };
  for (const Case& c : std::vector<Case>{{"<table>", 2, -1},
                                          {"<table cellspacing=\"5\" cellpadding=\"3\">", 5, 3},
                                          {"<table cellspacing=\"0\" cellpadding=\"0\">", 0, 0},
                                          {"<table cellspacing=\"wide\" cellpadding=\"x\">", 2, -1}}) {
    SCOPED_TRACE(c.tag);
    FakeHost host;
    auto chunk = ReadFixture(std::string(c.tag) + "</table>", host.Events);
    const htmldoc::TpsHtmlTag& tag = *chunk->First()->Tag;
    EXPECT_EQ(ReadCellSpacing(tag), c.spacing);
    EXPECT_EQ(ReadCellPadding(tag), c.padding);
  }
}

TpsTableColumns Columns(std::vector<std::pair<Integer, Byte>> aWidths, Integer aSpacing = 2) {
  TpsTableColumns columns;
  columns.CellSpacing = aSpacing;
  for (auto [w, t] : aWidths) columns.ColumnWidths.Add(w, t);
  columns.BeginPass();
  return columns;
}

TEST(TableLayout, ColumnBoundsOfEveryWidthKind) {
  struct Case {
    const char* name;
    std::vector<std::pair<Integer, Byte>> widths;
    Integer rowCells, rowWidth;
    std::vector<TpsColumnBounds> expected;
  };
  const std::vector<Case> cases{
      {"unspecified: equal columns, the last ending at the row's right edge",
       {{0, cwtUnspecified}, {0, cwtUnspecified}, {0, cwtUnspecified}}, 3, 300, {{0, 97}, {100, 197}, {200, 299}}},
      {"one column without a width makes all of them equal",
       {{100, cwtPixels}, {0, cwtUnspecified}}, 2, 202, {{0, 99}, {102, 201}}},
      {"pixels share the free space", {{100, cwtPixels}, {50, cwtPixels}}, 2, 250, {{0, 148}, {151, 249}}},
      {"33 % three times: the remainder to the last", {{33, cwtPercent}, {33, cwtPercent}, {33, cwtPercent}}, 3, 104,
       {{0, 32}, {35, 67}, {70, 103}}},
      {"30 % and 70 % in 101 pixels of cells", {{30, cwtPercent}, {70, cwtPercent}}, 2, 103, {{0, 29}, {32, 102}}},
      {"pixels mixed with percentages are divided as unspecified ones", {{100, cwtPixels}, {50, cwtPercent}}, 2, 202,
       {{0, 99}, {102, 201}}},
      {"a single column takes the row", {{40, cwtPixels}}, 1, 90, {{0, 89}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TpsTableColumns columns = Columns(c.widths);
    for (size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(columns.GetColumnBounds(static_cast<Integer>(i), c.rowCells, c.rowWidth), c.expected[i]) << i;
    // Every column of the first row is stored for the passes that follow.
    EXPECT_EQ(columns.Positions, c.expected);
  }
}

TEST(TableLayout, RaggedRowsNeverReadPastTheFirstRow) {
  // Two unspecified columns in the first row; a later row of three cells
  // places its third cell by dividing its own row.
  TpsTableColumns columns = Columns({{0, cwtUnspecified}, {0, cwtUnspecified}});
  EXPECT_EQ(columns.GetColumnBounds(0, 3, 302), (TpsColumnBounds{0, 149}));
  EXPECT_EQ(columns.GetColumnBounds(1, 3, 302), (TpsColumnBounds{152, 301}));
  EXPECT_EQ(columns.GetColumnBounds(2, 3, 302), (TpsColumnBounds{202, 301}));
  EXPECT_EQ(columns.Positions.size(), 2u);
  // The stored positions of a later pass are not read past either.
  columns.BeginPass();
  EXPECT_TRUE(columns.UseStoredPositions);
  EXPECT_EQ(columns.GetColumnBounds(1, 3, 302), (TpsColumnBounds{152, 301}));
  EXPECT_EQ(columns.GetColumnBounds(2, 3, 302), (TpsColumnBounds{202, 301}));

  // A first row without cells: every row divides itself.
  TpsTableColumns none = Columns({});
  EXPECT_EQ(none.GetColumnBounds(0, 2, 202), (TpsColumnBounds{0, 99}));
  EXPECT_EQ(none.GetColumnBounds(1, 2, 202), (TpsColumnBounds{102, 201}));
  EXPECT_EQ(none.GetColumnBounds(0, 1, 50), (TpsColumnBounds{0, 49}));
  EXPECT_TRUE(none.Positions.empty());
}

TEST(TableLayout, ColumnWidthsLoadFromTheFirstRow) {
  FakeHost host;
  auto chunk = ReadFixture(
      "<p>x</p><table><tr><td width=\"30%\">a</td><td width=\"120\">b</td><td>c</td></tr>"
      "<tr><td width=\"5\">d</td></tr></table>",
      host.Events);
  TpsTableColumns columns;
  columns.LoadColumnWidths(*chunk);
  ASSERT_EQ(columns.ColumnWidths.Count(), 3);
  EXPECT_EQ(columns.ColumnWidths.GetWidth(0), 30);
  EXPECT_EQ(columns.ColumnWidths.GetWidthType(0), cwtPercent);
  EXPECT_EQ(columns.ColumnWidths.GetWidth(1), 120);
  EXPECT_EQ(columns.ColumnWidths.GetWidthType(1), cwtPixels);
  EXPECT_EQ(columns.ColumnWidths.GetWidthType(2), cwtUnspecified);
}

TEST(TableLayout, TableWidth) {
  struct Case {
    const char* name;
    std::vector<std::pair<Integer, Byte>> widths;
    Integer spacing, given, tagWidth, margins, borders, extra, expected;
  };
  const std::vector<Case> cases{
      {"50 % of a 600-pixel content area, plus margins", {{0, cwtUnspecified}}, 2, 600, -50, 20, 2, 0, 320},
      {"50 % rounds half to even", {{0, cwtUnspecified}}, 2, 601, -50, 0, 0, 0, 300},
      {"a pixel width plus margins", {{10, cwtPixels}}, 2, 600, 400, 6, 2, 0, 406},
      {"all-pixel columns without a width: margins, borders, spacings, columns and 2 per column",
       {{100, cwtPixels}, {50, cwtPixels}}, 2, 600, 0, 4, 2, 0, 4 + 2 + 2 * 3 + 150 + 2 * 2},
      {"the same with spacing 0", {{100, cwtPixels}, {50, cwtPixels}}, 0, 600, 0, 0, 0, 0, 154},
      {"percent columns keep the given width", {{50, cwtPercent}, {50, cwtPercent}}, 2, 600, 0, 4, 2, 0, 600},
      {"a row of no cells keeps the given width", {}, 2, 600, 0, 4, 2, 0, 600},
      {"the extra width of the passes is added", {{0, cwtUnspecified}}, 2, 600, -50, 0, 0, 37, 337},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TpsTableColumns columns = Columns(c.widths, c.spacing);
    columns.ExtraWidth = c.extra;
    EXPECT_EQ(columns.AdjustWidth(c.given, c.tagWidth, c.margins, c.borders), c.expected);
  }
}

TEST(TableLayout, ANestedTableWidensItsColumnInASecondPass) {
  TpsTableColumns columns = Columns({{0, cwtUnspecified}, {0, cwtUnspecified}, {0, cwtUnspecified}});
  for (Integer i = 0; i < 3; ++i) columns.GetColumnBounds(i, 3, 300);
  // The nested table in column 1 asks for 50 pixels more; a smaller
  // request of the same column does not lower it.
  columns.RecordExtraWidth(1, 50);
  columns.RecordExtraWidth(1, 20);
  EXPECT_EQ(columns.ExtraWidths.Count(), 2);
  EXPECT_EQ(columns.ExtraWidths.GetWidth(0), 0);
  EXPECT_TRUE(columns.EndPass());
  EXPECT_EQ(columns.ExtraWidth, 50);
  EXPECT_EQ(columns.AdjustWidth(600, -50, 0, 0), 350);

  columns.BeginPass();
  EXPECT_EQ(columns.PassCount(), 2);
  EXPECT_EQ(columns.ExtraWidths.Count(), 0);
  EXPECT_EQ(columns.GetColumnBounds(0, 3, 350), (TpsColumnBounds{0, 97}));
  EXPECT_EQ(columns.GetColumnBounds(1, 3, 350), (TpsColumnBounds{100, 247}));
  EXPECT_EQ(columns.GetColumnBounds(2, 3, 350), (TpsColumnBounds{250, 349}));
  // The column is wide enough now: no third pass.
  EXPECT_FALSE(columns.EndPass());
}

TEST(TableLayout, WideningPassesEnd) {
  struct Case {
    const char* name;
    std::vector<Integer> requests;  // what each pass records in column 0
    Integer passes, extra;
  };
  const std::vector<Case> cases{
      {"nothing asked: one pass", {0}, 1, 0},
      {"met in the second pass", {40, 0}, 2, 40},
      {"a nested 100 % table with margins asks for them again: two passes", {12, 12, 12, 12}, 2, 12},
      {"a request that grows ends as well", {5, 9, 20}, 2, 5},
      {"shrinking requests end after the eighth pass",
       {90, 80, 70, 60, 50, 40, 30, 20, 10, 5}, kMaxTablePasses, 90 + 80 + 70 + 60 + 50 + 40 + 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TpsTableColumns columns = Columns({{0, cwtUnspecified}});
    Integer passes = 0;
    for (;;) {
      ++passes;
      ASSERT_LE(passes, static_cast<Integer>(c.requests.size()));
      columns.GetColumnBounds(0, 1, 100);
      if (Integer r = c.requests[static_cast<size_t>(passes - 1)]) columns.RecordExtraWidth(0, r);
      if (!columns.EndPass()) break;
      columns.BeginPass();
    }
    EXPECT_EQ(passes, c.passes);
    EXPECT_EQ(columns.PassCount(), c.passes);
    EXPECT_EQ(columns.ExtraWidth, c.extra);
    // The stored column has grown by what the passes before the last
    // recorded.
    EXPECT_EQ(columns.GetColumnBounds(0, 1, 100).Right, 99 + (c.passes > 1 ? c.extra : 0));
  }
}

using NodePtr = std::unique_ptr<TpsDocumentNode, TpsWindowDeleter>;

struct Box {
  Integer l, t, r, b;
  bool operator==(const Box&) const = default;
};
Box Borders(const TpsDocumentNode& n) { return {n.BorderLeft, n.BorderTop, n.BorderRight, n.BorderBottom}; }
Box Insets(const TpsDocumentNode& n) { return {n.InsetLeft, n.InsetTop, n.InsetRight, n.InsetBottom}; }
Box Paddings(const TpsDocumentNode& n) { return {n.Padding.Left, n.Padding.Top, n.Padding.Right, n.Padding.Bottom}; }
std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.l << ", " << b.t << ", " << b.r << ", " << b.b << ")";
}

TEST(TableLayout, VirtualBorders) {
  TpsVirtualBorders options;  // enabled, grey, dashed
  struct Case {
    const char* name;
    Integer style;
    Box borders;
    bool enabled;
    Box expected;
    Integer expectedStyle;
    TColor expectedColor;
  };
  const std::vector<Case> cases{
      {"no border at all", 1, {0, 0, 0, 0}, true, {1, 1, 1, 1}, 3, 0x808080},
      {"a solid border missing on one side", 4, {2, 0, 2, 2}, true, {2, 1, 2, 2}, 3, 0x808080},
      {"a whole solid border stays", 4, {2, 2, 2, 2}, true, {2, 2, 2, 2}, 4, 0x123456},
      {"switched off", 1, {0, 0, 0, 0}, false, {0, 0, 0, 0}, 1, 0x123456},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NodePtr node = NewWindow<TpsDocumentNode>(nullptr);
    node->BorderStyle = c.style;
    node->BorderColor = 0x123456;
    std::tie(node->BorderLeft, node->BorderTop, node->BorderRight, node->BorderBottom) =
        std::tuple(c.borders.l, c.borders.t, c.borders.r, c.borders.b);
    node->Padding = {3, 3, 3, 3};
    options.Enabled = c.enabled;
    ApplyVirtualBorders(*node, options);
    EXPECT_EQ(Borders(*node), c.expected);
    EXPECT_EQ(node->BorderStyle, c.expectedStyle);
    EXPECT_EQ(node->BorderColor, c.expectedColor);
    if (c.expectedColor == 0x808080) EXPECT_EQ(Insets(*node), (Box{c.expected.l + 3, c.expected.t + 3, c.expected.r + 3, c.expected.b + 3}));
  }
  // The option's style maps one on to the CSS styles (none 1 .. outset 9).
  options.Enabled = true;
  options.Style = bstOutset;
  NodePtr node = NewWindow<TpsDocumentNode>(nullptr);
  ApplyVirtualBorders(*node, options);
  EXPECT_EQ(node->BorderStyle, 9);
}

TEST(TableLayout, TableBoxRules) {
  TpsVirtualBorders off;
  off.Enabled = false;
  // Default spacing pads the table by 2 whatever its CSS padding says.
  NodePtr table = NewWindow<TpsDocumentNode>(nullptr);
  table->Padding = {7, 7, 7, 7};
  table->MarginLeft = 4;
  ApplyTableBoxRules(*table, kDefaultCellSpacing, off);
  EXPECT_EQ(Paddings(*table), (Box{2, 2, 2, 2}));
  EXPECT_EQ(Insets(*table), (Box{6, 2, 2, 2}));
  // Spacing 0: no padding either; virtual borders frame the table.
  NodePtr plain = NewWindow<TpsDocumentNode>(nullptr);
  plain->Padding = {1, 1, 1, 1};
  ApplyTableBoxRules(*plain, 0, TpsVirtualBorders{});
  EXPECT_EQ(Paddings(*plain), (Box{0, 0, 0, 0}));
  EXPECT_EQ(Borders(*plain), (Box{1, 1, 1, 1}));
  EXPECT_EQ(Insets(*plain), (Box{1, 1, 1, 1}));
}

TEST(TableLayout, CollapsedBordersDrawOneInnerGridAndTheTableItsFrame) {
  // A 2 x 2 table under border-collapse with virtual borders on: every
  // cell starts with the one-pixel virtual border.
  const TpsVirtualBorders options;
  Box cells[2][2];
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 2; ++col) {
      NodePtr cell = NewWindow<TpsDocumentNode>(nullptr);
      cell->MarginLeft = 5;  // cells have no margins
      TpsCellBoxFacts facts;
      facts.Collapse = true;
      facts.LastRow = row == 1;
      facts.LastCell = col == 1;
      ApplyCellBoxRules(*cell, facts, options);
      cells[row][col] = Borders(*cell);
      EXPECT_EQ(cell->MarginLeft, 0);
      EXPECT_EQ(Insets(*cell), cells[row][col]);
    }
  EXPECT_EQ(cells[0][0], (Box{0, 0, 1, 1}));
  EXPECT_EQ(cells[0][1], (Box{0, 0, 0, 1}));
  EXPECT_EQ(cells[1][0], (Box{0, 0, 1, 0}));
  EXPECT_EQ(cells[1][1], (Box{0, 0, 0, 0}));
  // Each inner line is drawn by exactly one of the two cells beside it.
  EXPECT_EQ(cells[0][0].r + cells[0][1].l, 1);
  EXPECT_EQ(cells[0][0].b + cells[1][0].t, 1);
  // The outer frame is the table's.
  NodePtr table = NewWindow<TpsDocumentNode>(nullptr);
  ApplyTableBoxRules(*table, 0, options);
  EXPECT_EQ(Borders(*table), (Box{1, 1, 1, 1}));
}

TEST(TableLayout, CellPaddingFromTheTable) {
  struct Case {
    const char* name;
    bool tagStyleSetsPadding;
    Integer tablePadding;
    Box expected;
  };
  for (const Case& c : std::vector<Case>{{"cellpadding wins over CSS padding", false, 5, {5, 5, 5, 5}},
                                         {"a td rule's padding wins over cellpadding", true, 5, {1, 2, 3, 4}},
                                         {"cellpadding 0 leaves the CSS padding", false, 0, {1, 2, 3, 4}},
                                         {"no cellpadding", false, -1, {1, 2, 3, 4}}}) {
    SCOPED_TRACE(c.name);
    NodePtr cell = NewWindow<TpsDocumentNode>(nullptr);
    cell->Padding = {1, 2, 3, 4};
    cell->BorderStyle = 4;
    cell->BorderLeft = cell->BorderTop = cell->BorderRight = cell->BorderBottom = 1;
    TpsCellBoxFacts facts;
    facts.TagStyleSetsPadding = c.tagStyleSetsPadding;
    facts.TablePadding = c.tablePadding;
    ApplyCellBoxRules(*cell, facts, TpsVirtualBorders{});
    EXPECT_EQ(Paddings(*cell), c.expected);
    EXPECT_EQ(Insets(*cell), (Box{c.expected.l + 1, c.expected.t + 1, c.expected.r + 1, c.expected.b + 1}));
  }
}

// Two cells of a first row: 10..109 and 112..211 (spacing 2), insets 2 + 2,
// widest characters 8 and 6 pixels.
TpsDragLimits TwoCells(bool aHasWidth, bool aAllPixels) {
  TpsDragLimits limits;
  limits.Cells = {{10, 109, 4, 8}, {112, 211, 4, 6}};
  limits.Spacing = 2;
  limits.TableHasWidth = aHasWidth;
  limits.AllColumnsInPixels = aAllPixels;
  return limits;
}

TEST(TableLayout, DragLimits) {
  const TpsDragLimits limits = TwoCells(false, true);
  // The widest character plus half the spacing and one pixel.
  EXPECT_EQ(BoundaryMinX(limits.Cells[0], 2), 10 + 4 + 8 + 1 + 1);
  EXPECT_EQ(BoundaryMaxX(limits.Cells[1], 2), 211 - 4 - 6 - 1 - 1);
  struct Case {
    Integer boundary, x;
    bool hasWidth, allPixels, valid;
  };
  for (const Case& c : std::vector<Case>{{0, 23, false, true, false},
                                         {0, 24, false, true, true},
                                         {0, 199, false, true, true},
                                         {0, 200, false, true, false},
                                         {1, 123, false, true, false},  // the edge is held by the last column
                                         {1, 124, false, true, true},
                                         {1, 0, true, true, true},  // a table with a width: always
                                         {1, 0, false, false, true},
                                         {2, 150, false, true, false},
                                         {-1, 150, false, true, false}}) {
    SCOPED_TRACE(::testing::Message() << c.boundary << " at " << c.x);
    EXPECT_EQ(IsValidDragX(TwoCells(c.hasWidth, c.allPixels), c.boundary, c.x), c.valid);
  }
  EXPECT_EQ(BoundaryX(109, 112), 110);
  EXPECT_EQ(TableEdgeX(300, 4, 3), 295);
}

TEST(TableLayout, ADraggedBoundaryEndsInTheTransaction) {
  struct Case {
    const char* name;
    const char* in;
    std::vector<Integer> moves;  // x of each move after the press at 107
    Integer boundary, boundaryX, delta;
    const char* out;
  };
  const std::vector<Case> cases{
      {"pixel columns: the move past the limit is clamped to the last valid point",
       "<table><tr><td width=\"100\">a|</td><td width=\"100\">b</td></tr></table>",
       {120, 160, 199, 200, 230, 260}, 0, 110, 89,
       "<table><tr><td width=\"189\">a|</td><td width=\"11\">b</td></tr></table>"},
      {"percent columns move the delta's share of the cells' width",
       "<table><tr><td width=\"50%\">a|</td><td width=\"50%\">b</td></tr></table>",
       {90, 60, 23, 10}, 0, 110, 60 - 110,
       "<table><tr><td width=\"25%\">a|</td><td width=\"75%\">b</td></tr></table>"},
      {"the right edge of an all-pixel table widens its last column",
       "<table><tr><td width=\"100\">a|</td><td width=\"100\">b</td></tr></table>",
       {150, 240}, 1, 215, 25,
       "<table><tr><td width=\"100\">a|</td><td width=\"125\">b</td></tr></table>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TpsDragLimits limits = TwoCells(false, true);
    TpsColumnDrag drag;
    drag.Start(c.boundary, {107, 40});
    for (Integer x : c.moves) drag.Move({x, 41}, IsValidDragX(limits, c.boundary, x));
    // The bar stands at the last valid place while the mouse is past it.
    const Integer lastValid = drag.LastValid.X;
    EXPECT_EQ(drag.BarX(), IsValidDragX(limits, c.boundary, c.moves.back()) ? c.moves.back() : lastValid);
    EXPECT_EQ(drag.Release(c.boundaryX), c.delta);
    EXPECT_FALSE(drag.Dragging);

    htmlview::testing::EditRoot doc(c.in);
    TpsColumnResizeFacts facts;
    facts.RowTagId = doc.Element("<tr>")->Id;
    facts.Boundary = c.boundary;
    facts.CellCount = 2;
    facts.Delta = drag.Delta;
    facts.RowWidth = 202;
    facts.TableWidth = 210;
    facts.TableMargins = 0;
    facts.ParentContentWidth = 600;
    auto queue = BuildColumnResizeTransaction(facts);
    std::vector<Integer> ids;
    for (auto& m : queue) ids.push_back(m->Id);
    const Integer resizeId = c.boundary == 0 ? psmTableResizeColumn : psmTableResize;
    EXPECT_EQ(ids, (std::vector<Integer>{psmBeginEdit, psmExtractChunk, psmInsertMarkerAtElement, resizeId,
                                         psmRemoveMarker, psmRelayout, psmDocumentChanged, psmEndEdit}));
    for (auto& m : queue) EXPECT_TRUE(m->ToRoot) << m->Id;
    if (c.boundary == 0) {
      EXPECT_EQ(queue[3]->Value, 0);
      EXPECT_EQ(queue[3]->Value2, c.delta);
      EXPECT_EQ(queue[3]->Value3, 200);  // the row less one spacing
    } else {
      EXPECT_EQ(queue[3]->Value2, 210);
      EXPECT_EQ(queue[3]->Value4, 600);
    }
    // Run on the root: the width attributes change as the table access
    // computes, and the marker is gone again.
    for (auto& m : queue) {
      doc.Root->HandleMessage(*m);
      if (m->Id == psmRemoveMarker) EXPECT_EQ(DumpFixture(*doc.Root->EditChunk), c.out);
    }
    EXPECT_EQ(doc.Out(), c.out);
  }
}

}  // namespace
