// The grid's settings objects: defaults, setters that act on the grid, and
// what Assign copies.
#include <gtest/gtest.h>

#include "grid/GridOptions.h"
#include "vcl/Forms.h"
#include "vcl/Grids.h"
#include "vcl/Pictures.h"

using namespace grid;

TEST(GridOptions, NavigationDefaultsChangeNotesAndAssign) {
  TNavigation a;
  EXPECT_TRUE(a.AdvanceAutoEdit);
  EXPECT_TRUE(a.AllowClipboardRowGrow);
  EXPECT_TRUE(a.SkipFixedCells);
  EXPECT_EQ(a.HomeEndKey, heFirstLastColumn);
  int changes = 0;
  a.OnChange = [&](vcl::TObject*) { ++changes; };
  a.SetAdvanceDirection(adTopBottom);
  a.SetAdvanceDirection(adTopBottom);
  a.SetAdvanceInsert(true);
  EXPECT_EQ(changes, 2);

  TNavigation source, copy;
  source.TabAdvanceDirection = adTopBottom;
  source.SetAdvanceDirection(adLeftRight);
  source.KeepScrollOnSort = true;
  source.AllowDeleteRow = true;
  copy.Assign(&source);
  EXPECT_EQ(copy.TabAdvanceDirection, adTopBottom);
  EXPECT_EQ(copy.AdvanceDirection(), adLeftRight);
  EXPECT_TRUE(copy.AllowDeleteRow);
  EXPECT_FALSE(copy.KeepScrollOnSort);
  // From another class: nothing.
  TColumnSize other(nullptr);
  copy.AllowDeleteRow = false;
  copy.Assign(&other);
  EXPECT_FALSE(copy.AllowDeleteRow);
}

TEST(GridOptions, MouseActionsActOnTheGrid) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  auto* grid = new vcl::TStringGrid(form);
  grid->SetParent(form);
  grid->SetOptions(grid->Options() | vcl::TGridOptions{vcl::goEditing});
  TMouseActions m(grid);
  EXPECT_TRUE(m.AutoSizeColOnDblClick);
  EXPECT_TRUE(m.PreciseNodeClick);
  m.SetEditOnDblClickOnly(true);
  EXPECT_FALSE(grid->Options().Contains(vcl::goEditing));
  m.SetEditOnDblClickOnly(false);
  EXPECT_FALSE(grid->Options().Contains(vcl::goEditing));
  // At run time the three disjunct selections may all be on.
  m.SetDisjunctRowSelect(true);
  m.SetDisjunctColSelect(true);
  m.SetDisjunctCellSelect(true);
  EXPECT_TRUE(m.DisjunctRowSelect() && m.DisjunctColSelect() && m.DisjunctCellSelect());
  int changes = 0;
  m.OnChange = [&](vcl::TObject*) { ++changes; };
  m.SetWheelAction(waScroll);
  m.SetWheelAction(waScroll);
  EXPECT_EQ(changes, 1);

  TMouseActions copy(nullptr);
  m.SetHotmailRowSelect(true);
  m.SizeFixedRow = true;
  m.SizeFixedCol = true;
  copy.Assign(&m);
  EXPECT_FALSE(copy.EditOnDblClickOnly());
  EXPECT_FALSE(copy.HotmailRowSelect());
  EXPECT_FALSE(copy.SizeFixedRow);
  EXPECT_TRUE(copy.SizeFixedCol);
  EXPECT_EQ(copy.WheelAction(), waScroll);
  EXPECT_TRUE(copy.DisjunctCellSelect());
  vcl::Free(form);
}

TEST(GridOptions, ColumnSizeStretchesOnlyOnAParent) {
  vcl::TForm* form = new vcl::TForm(vcl::Application, 0);
  auto* grid = new vcl::TStringGrid(form);
  TColumnSize size(grid);
  EXPECT_EQ(size.Location, clRegistry);
  EXPECT_EQ(size.StretchColumn, -1);
  std::vector<Integer> stretched;
  size.OnStretch = [&](Integer c) { stretched.push_back(c); };
  size.SetStretch(true);
  EXPECT_TRUE(stretched.empty());
  grid->SetParent(form);
  size.StretchColumn = 2;
  size.SetStretch(true);
  EXPECT_EQ(stretched, (std::vector<Integer>{2}));
  TColumnSize copy(nullptr);
  size.Key = "key";
  copy.Assign(&size);
  EXPECT_TRUE(copy.Stretch());
  EXPECT_EQ(copy.Key, "key");
  EXPECT_EQ(copy.StretchColumn, 2);
  vcl::Free(form);
}

TEST(GridOptions, CellNodeHtmlAndPrintSettings) {
  TCellNode node(nullptr);
  EXPECT_EQ(node.NodeType(), cnXP);
  EXPECT_EQ(node.NodeIndent(), 12);
  EXPECT_EQ(node.TreeColor(), clGray);
  vcl::TBitmap glyph(3, 2);
  node.SetExpandGlyph(&glyph);
  EXPECT_EQ(node.ExpandGlyph()->Width(), 3);
  EXPECT_NE(node.ExpandGlyph(), &glyph);
  TCellNode copy(nullptr);
  node.SetNodeIndent(20);
  copy.Assign(&node);
  EXPECT_EQ(copy.NodeIndent(), 20);
  EXPECT_EQ(copy.ExpandGlyph()->Height(), 2);

  THTMLSettings html, htmlCopy;
  EXPECT_EQ(html.Width, 100);
  html.ExportImages = false;
  html.Summary = "s";
  html.ColWidths().Add(40);
  htmlCopy.Assign(&html);
  EXPECT_TRUE(htmlCopy.ExportImages);
  EXPECT_EQ(htmlCopy.Summary, "s");
  EXPECT_EQ(htmlCopy.ColWidths().AsText(), "40");

  TPrintSettings print, printCopy;
  EXPECT_TRUE(print.UseDisplayFont);
  EXPECT_EQ(print.DateFormat, "dd/mm/yyyy");
  EXPECT_EQ(print.PageNumSep, "/");
  print.Font()->SetName("Arial");
  print.TitleLines()->Add("title");
  print.Borders = pbDouble;
  printCopy.Assign(&print);
  EXPECT_EQ(printCopy.Font()->Name(), "Arial");
  EXPECT_EQ(printCopy.TitleLines()->Text(), "title\r\n");
  EXPECT_EQ(printCopy.Borders, pbDouble);
}
