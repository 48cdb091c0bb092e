// Headers, the version, marking a text in cells and the display-text hook
// of the grid component.
#include <gtest/gtest.h>

#include "grid/GridComponent.h"
#include "rtl/StringList.h"
#include "vcl/Forms.h"

using namespace grid;

namespace {

struct THeaderGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  THeaderGrid(Integer cols, Integer rows) {
    form = new vcl::TForm(vcl::Application, 0);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
  }
  ~THeaderGrid() { vcl::Free(form); }
};

}  // namespace

TEST(GridHeaders, ColumnHeadersEmptyRowZeroAndBreakLines) {
  THeaderGrid g(5, 3);
  for (Integer c = 0; c < 5; ++c) g.grid->SetCells(c, 0, "old" + std::to_string(c));
  rtl::TStringList headers;
  headers.SetCommaText("Name,\"Max\\nValue\",Unit");
  g.grid->SetColumnHeaders(&headers);
  EXPECT_EQ(g.grid->Cells(0, 0), "Name");
  EXPECT_EQ(g.grid->Cells(1, 0), "Max\rValue");
  EXPECT_EQ(g.grid->Cells(2, 0), "Unit");
  // A shorter list on assignment: the rest of row 0 is emptied.
  EXPECT_EQ(g.grid->Cells(3, 0), "");
  EXPECT_EQ(g.grid->Cells(4, 0), "");
  // Surplus entries are ignored.
  headers.SetCommaText("a,b,c,d,e,f,g");
  g.grid->SetColumnHeaders(&headers);
  EXPECT_EQ(g.grid->Cells(4, 0), "e");
  // A change of the list rewrites the headers without emptying the row.
  g.grid->SetCells(4, 0, "kept");
  g.grid->ColumnHeaders()->SetCommaText("x,y");
  EXPECT_EQ(g.grid->Cells(0, 0), "x");
  EXPECT_EQ(g.grid->Cells(4, 0), "kept");

  // Without fixed rows no header is written.
  THeaderGrid plain(3, 3);
  plain.grid->SetFixedRows(0);
  plain.grid->SetCells(0, 0, "data");
  plain.grid->SetColumnHeaders(&headers);
  EXPECT_EQ(plain.grid->Cells(0, 0), "data");
}

TEST(GridHeaders, RowHeadersKeepLaterCellsAtRunTime) {
  THeaderGrid g(3, 5);
  rtl::TStringList headers;
  headers.SetCommaText("#,one,two,three,four");
  g.grid->SetRowHeaders(&headers);
  EXPECT_EQ(g.grid->Cells(0, 4), "four");
  headers.SetCommaText("#,uno");
  g.grid->SetRowHeaders(&headers);
  EXPECT_EQ(g.grid->Cells(0, 1), "uno");
  EXPECT_EQ(g.grid->Cells(0, 2), "two");
  EXPECT_EQ(g.grid->Cells(0, 4), "four");
  // Without fixed columns nothing is written.
  g.grid->SetFixedCols(0);
  headers.SetCommaText("A,B");
  g.grid->SetRowHeaders(&headers);
  EXPECT_EQ(g.grid->Cells(0, 1), "uno");
  // LookupItems ignores null.
  g.grid->SetLookupItems(&headers);
  g.grid->SetLookupItems(nullptr);
  EXPECT_EQ(g.grid->LookupItems()->Count(), 2);
  EXPECT_EQ(g.grid->Version(), "5.0.6.0");
}

TEST(GridHeaders, MarkedCellsComeBackAsTheyWere) {
  THeaderGrid g(3, 4);
  g.grid->SetCells(0, 0, "beta head");
  g.grid->SetCells(1, 1, "beta and <b>beta</b>");
  g.grid->SetCells(2, 2, "a<b beta");
  g.grid->MarkTextInCells(false, false, "beta");
  // Fixed cells are outside the normal range.
  EXPECT_EQ(g.grid->Cells(0, 0), "beta head");
  EXPECT_EQ(g.grid->Cells(1, 1), "<hi>beta</hi> and <b><hi>beta</hi></b>");
  EXPECT_NE(g.grid->Cells(2, 2).find("<hi>beta</hi>"), AnsiString::npos);
  g.grid->UnmarkTextInCells(false);
  EXPECT_EQ(g.grid->Cells(1, 1), "beta and <b>beta</b>");
  EXPECT_EQ(g.grid->Cells(2, 2), "a<b beta");
  g.grid->MarkTextInCells(true, true, "beta");
  EXPECT_EQ(g.grid->Cells(0, 0), "<hi>beta</hi> head");
  g.grid->UnmarkTextInCells(true);
  EXPECT_EQ(g.grid->Cells(0, 0), "beta head");
}

TEST(GridHeaders, AddressesShowAsLinksWithURLShowInText) {
  THeaderGrid g(3, 3);
  g.grid->SetCells(1, 1, "see www.example.org");
  g.grid->SetCells(2, 1, "http://a.example and www.b.example");
  EXPECT_EQ(g.grid->GetDisplayCell(1, 1), "see www.example.org");
  g.grid->URLShowInText = true;
  const AnsiString www = g.grid->GetDisplayCell(1, 1);
  EXPECT_NE(www.find("<a href=\"www.example.org\">"), AnsiString::npos) << www;
  // Only the first prefix that makes a link is used.
  const AnsiString both = g.grid->GetDisplayCell(2, 1);
  EXPECT_NE(both.find("<a href=\"http://a.example\">"), AnsiString::npos) << both;
  EXPECT_EQ(both.find("href=\"www.b.example"), AnsiString::npos) << both;
}
