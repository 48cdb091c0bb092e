// Table data access on fixture tables, with nested tables and ragged rows:
// rows, cells and the cursor's cell as read, and every edit with Check()
// after it and the percentage totals it promises; the column width list
// loaded from a table; the cursor moved to the start of a list.
//
// Rows marked "guarded" do nothing where an edit used to need a cell, a
// next column or a divisor that is not there.
#include <gtest/gtest.h>

#include <string>

#include "../support/ChunkFixture.h"
#include "../support/StyleSheetLoader.h"
#include "htmledit/doc/psTableAccess.h"

using namespace htmldoc;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

namespace {

// Runs aEdit on a table access over the first table of aFixture and gives
// the whole list afterwards.
template <typename Edit>
std::string Edited(const std::string& aFixture, Edit aEdit) {
  auto chunk = ReadFixture(aFixture);
  TpsChunkElement* start = chunk->FindTag(TAG_TABLE, ttOpening, nullptr, true);
  {
    TpsTableDataAccess access(chunk.get(), start, chunk->FindPartnerTag(start, nullptr), nullptr, false);
    aEdit(access);
    chunk->Check(1);
  }
  chunk->Check();
  return DumpFixture(*chunk);
}

const char* const kNested =
    "<p>x</p><table><tr><td>a</td><td>b<table><tr><td>n</td></tr></table>|</td></tr>"
    "<tr><td>c</td></tr></table>";

}  // namespace

TEST(TableAccess, RowsCellsAndTheCursor) {
  Edited(kNested, [](TpsTableDataAccess& t) {
    ASSERT_EQ(t.GetRowCount(), 2);
    EXPECT_EQ(t.GetRow(0).GetCellCount(), 2);  // the nested table's cell is not a cell of this one
    EXPECT_EQ(t.GetRow(1).GetCellCount(), 1);
    EXPECT_EQ(t.GetCurrentRow(), 0);
    EXPECT_EQ(t.GetCurrentColumn(), 1);
    EXPECT_EQ(t.GetRow(1).GetLastCell().StartTag->Next->Char, u'c');
    EXPECT_THROW(t.GetRow(2), rtl::EListError);
    EXPECT_THROW(t.GetRow(1).GetCell(1), rtl::EListError);
  });
  Edited("|<table><tr><td>a</td></tr></table>", [](TpsTableDataAccess& t) {
    EXPECT_EQ(t.GetCurrentRow(), -1);
    EXPECT_EQ(t.GetCurrentColumn(), -1);
  });
}

TEST(TableAccess, Edits) {
  struct Case {
    const char* name;
    const char* before;
    void (*edit)(TpsTableDataAccess&);
    const char* after;
  };
  const Case cases[] = {
      {"row below", "<table><tr class=\"r\"><td width=\"10\">a|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.InsertRowBelow(); },
       "<table><tr class=\"r\"><td width=\"10\">a|</td></tr><tr class=\"r\"><td width=\"10\"></td></tr></table>"},
      {"row above", "<table><tr><td>a|</td><td>b</td></tr></table>",
       [](TpsTableDataAccess& t) { t.InsertRowAbove(); },
       "<table><tr><td></td><td></td></tr><tr><td>a|</td><td>b</td></tr></table>"},
      {"row without a current cell (guarded)", "|<table><tr><td>a</td></tr></table>",
       [](TpsTableDataAccess& t) {
         t.InsertRowBelow();
         t.InsertColumnToTheRight();
         t.DeleteCurrentColumn();
       },
       "|<table><tr><td>a</td></tr></table>"},
      {"delete the only row", "<table><tr><td>a|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.DeleteCurrentRow(); }, "<table><tr><td>a|</td></tr></table>"},
      {"delete the last row", "<table><tr><td>a</td></tr><tr><td>b|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.DeleteCurrentRow(); }, "<table><tr><td>|a</td></tr></table>"},
      {"delete the first row", "<table><tr><td>a|</td></tr><tr><td>b</td></tr></table>",
       [](TpsTableDataAccess& t) { t.DeleteCurrentRow(); }, "<table><tr><td>|b</td></tr></table>"},
      {"delete a column", "<table><tr><td>a|</td><td> b</td></tr><tr><td>c</td><td>d</td></tr></table>",
       [](TpsTableDataAccess& t) { t.DeleteCurrentColumn(); },
       "<table><tr><td> |b</td></tr><tr><td>d</td></tr></table>"},
      {"delete the only column", "<table><tr><td>a|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.DeleteCurrentColumn(); }, "<table><tr><td>a|</td></tr></table>"},
      {"delete a column of a ragged table",
       "<table><tr><td>a</td><td>b|</td></tr><tr><td>c</td></tr></table>",
       [](TpsTableDataAccess& t) { t.DeleteCurrentColumn(); },
       "<table><tr><td>|a</td></tr><tr><td>c</td></tr></table>"},
      {"column right of a ragged table", "<table><tr><td>a</td><td>b|</td></tr><tr><td>c</td></tr></table>",
       [](TpsTableDataAccess& t) { t.InsertColumnToTheRight(); },
       "<table><tr><td>a</td><td>b|</td><td></td></tr><tr><td>c</td></tr></table>"},
      {"column left keeps pixel widths", "<table><tr><td width=\"30\">a|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.InsertColumnToTheLeft(); },
       "<table><tr><td width=\"30\"></td><td width=\"30\">a|</td></tr></table>"},
      // 50 % and 50 %, a column to the left: 32, 34, 34.
      {"column left with percentages", "<table><tr><td width=\"50%\">a|</td><td width=\"50%\">b</td></tr></table>",
       [](TpsTableDataAccess& t) { t.InsertColumnToTheLeft(); },
       "<table><tr><td width=\"32%\"></td><td width=\"34%\">a|</td><td width=\"34%\">b</td></tr></table>"},
      {"cursor to a cell", kNested, [](TpsTableDataAccess& t) { t.MoveCursorToCell(0, 1); },
       "<p>x</p><table><tr><td>a</td><td>b<table><tr><td>n</td></tr></table></td></tr>"
       "<tr><td>|c</td></tr></table>"},
      {"column widths set", "<table><tr><td>a|</td></tr></table>",
       [](TpsTableDataAccess& t) {
         t.SetColumnWidth(0, "20%");
         t.SetColumnWidth(1, "5");
         t.SetColumnWidth(-1, "5");
       },
       "<table><tr><td width=\"20%\">a|</td></tr></table>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Edited(c.before, c.edit), c.after) << c.name;
}

TEST(TableAccess, WidthsAndResizing) {
  struct Case {
    const char* name;
    const char* before;
    void (*edit)(TpsTableDataAccess&);
    const char* after;
  };
  const char* const pixels = "<table><tr><td width=\"100\">a|</td><td width=\"50\">b</td></tr></table>";
  const char* const percent = "<table><tr><td width=\"40%\">a|</td><td width=\"60%\">b</td></tr></table>";
  const char* const none = "<table><tr><td>a|</td><td>b</td></tr></table>";
  const char* const mixed = "<table><tr><td width=\"40%\">a|</td><td width=\"60\">b</td></tr></table>";
  const Case cases[] = {
      {"pixel column", pixels, [](TpsTableDataAccess& t) { t.ResizeColumn(0, 10, 150); },
       "<table><tr><td width=\"110\">a|</td><td width=\"40\">b</td></tr></table>"},
      {"percent column", percent, [](TpsTableDataAccess& t) { t.ResizeColumn(0, 50, 500); },
       "<table><tr><td width=\"50%\">a|</td><td width=\"50%\">b</td></tr></table>"},
      {"columns without widths", none, [](TpsTableDataAccess& t) { t.ResizeColumn(0, 50, 500); },
       "<table><tr><td width=\"60%\">a|</td><td width=\"40%\">b</td></tr></table>"},
      {"mixed kinds", mixed, [](TpsTableDataAccess& t) { t.ResizeColumn(0, 50, 500); }, mixed},
      {"the last column (guarded)", pixels, [](TpsTableDataAccess& t) { t.ResizeColumn(1, 10, 150); }, pixels},
      {"a table width of 0 (guarded)", percent, [](TpsTableDataAccess& t) { t.ResizeColumn(0, 10, 0); }, percent},
      {"table with a percent width", "<table width=\"50%\"><tr><td>a|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.ResizeTable(100, 250, 500, 0); },
       "<table width=\"70%\"><tr><td>a|</td></tr></table>"},
      {"table with a pixel width", "<table width=\"300\"><tr><td>a|</td></tr></table>",
       [](TpsTableDataAccess& t) { t.ResizeTable(20, 300, 500, 0); },
       "<table width=\"320\"><tr><td>a|</td></tr></table>"},
      {"table of pixel columns", pixels, [](TpsTableDataAccess& t) { t.ResizeTable(20, 150, 500, 0); },
       "<table><tr><td width=\"100\">a|</td><td width=\"70\">b</td></tr></table>"},
      {"table of unsized columns", none, [](TpsTableDataAccess& t) { t.ResizeTable(0, 160, 500, 10); },
       "<table width=\"30%\"><tr><td>a|</td><td>b</td></tr></table>"},
      {"no available width (guarded)", none, [](TpsTableDataAccess& t) { t.ResizeTable(10, 100, 0, 0); }, none},
  };
  for (const auto& c : cases) EXPECT_EQ(Edited(c.before, c.edit), c.after) << c.name;

  Edited(mixed, [](TpsTableDataAccess& t) {
    TpsTableColumnWidth width;
    EXPECT_EQ(t.GetColumnWidth(0, width), 40);
    EXPECT_EQ(width.Kind, cwtPercent);
    EXPECT_EQ(t.GetColumnWidth(1, width), 60);
    EXPECT_EQ(width.Kind, cwtPixels);
  });
  Edited(none, [](TpsTableDataAccess& t) {
    TpsTableColumnWidth width;
    EXPECT_EQ(t.GetColumnWidth(0, width), 0);
    EXPECT_EQ(width.Kind, cwtUnspecified);
  });

  TpsStyleSheet sheet;
  htmldoc::testing::LoadCss(sheet, ".grid { color: red }");
  auto chunk = ReadFixture("<table class=\"grid\" style=\"width:50%\"><tr><td>a</td></tr></table>",
                           htmldoc::testing::SheetEvents(sheet));
  TpsTableDataAccess access(chunk.get(), chunk->First(), chunk->Last(), &sheet, false);
  EXPECT_EQ(access.GetTableClass(), ".grid");
  EXPECT_EQ(access.GetTableStyle(), "width:50%;");
}

TEST(TableAccess, ColumnWidthListFromATable) {
  auto chunk = ReadFixture("<p>x</p><table><tr><td width=\"33%\">a</td><td width=\"33%\">b</td>"
                           "<td width=\"33%\">c</td></tr></table>");
  TpsColumnWidthList widths;
  widths.LoadFromTable(*chunk);
  ASSERT_EQ(widths.Count(), 3);
  EXPECT_EQ(widths.GetColumnWidth(2, 100), 34);
  EXPECT_NO_THROW(chunk->Check());
  TpsDataChunk empty;
  widths.LoadFromTable(empty);
  EXPECT_EQ(widths.Count(), 0);
}

TEST(CursorMoves, ToTheStart) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"", "|"},
      {"ab|c", "|abc"},
      {"  \tx", "  \t|x"},
      {"   ", "|   "},
      {"<a href=\"l\">x</a>", "|<a href=\"l\">x</a>"},
      {"#<b>x</b>", "|#<b>x</b>"},
      {"<@cust> x</@cust>", "|<@cust> x</@cust>"},
      {"<b></b>", "|<b></b>"},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture(c.before);
    chunk->MoveCursorToStart();
    EXPECT_NO_THROW(chunk->Check());
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.before;
  }
}
