// The grid's filter on a form: FilterActive on and off with rows hidden on
// their own, the events, and the header's value list opened and chosen
// from through real clicks and keys.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "GridTestInput.h"
#include "grid/GridComponent.h"
#include "vcl/Forms.h"
#include "vcl/QtHost.h"
#include "vcl/WinApi.h"

using namespace grid;

namespace {

using FilterStrings = std::vector<std::string>;

struct TFilterGrid {
  vcl::TForm* form = nullptr;
  TVadOdizadEzev* grid = nullptr;
  std::vector<std::string> events;
  TFilterGrid() {
    form = new vcl::TForm(vcl::Application, 0);
    form->SetBounds(0, 0, 500, 400);
    grid = new TVadOdizadEzev(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 480, 380);
    grid->SetColCount(3);
    grid->SetRowCount(8);
    const char* rows[][3] = {{"#", "City", "Size"},   {"1", "Oslo", "7"},     {"2", "Bern", "40"},
                             {"3", "New York", "100"}, {"4", "Oslo", "12"},    {"5", "Bern", "3"},
                             {"6", "Lima", "55"},      {"7", "New York", "9"}};
    for (Integer r = 0; r < 8; ++r)
      for (Integer c = 0; c < 3; ++c) grid->SetCells(c, r, rows[r][c]);
    for (Integer r = 1; r < 8; ++r) grid->SetRowHeights(r, 20 + r);
    form->Show();
    vcl::Application->ProcessMessages();
  }
  ~TFilterGrid() { vcl::Free(form); }
  FilterStrings Column(Integer col) const { return grid_test::ColumnTexts(grid, col); }
  void Click(Integer x, Integer y) {
    grid_test::Click(grid, x, y);
    vcl::Application->ProcessMessages();
  }
  // A point on the filter glyph of a header cell.
  void ClickGlyph(Integer col) {
    const vcl::TRect r = grid->CellRect(col, 0);
    Click(r.Right - 8, r.Top + 5);
  }
};

}  // namespace

TEST(GridFilter, ConditionsOnTwoColumnsAndBackWithSingleHiddenRows) {
  TFilterGrid g;
  TFilterData* size = g.grid->Filter()->Add();
  size->Column = 2;
  size->Condition = ">5&<60";
  TFilterData* city = g.grid->Filter()->Add();
  city->Column = 1;
  city->Condition = "!Bern";
  std::vector<int> progress;
  g.grid->OnFilterProgress = [&](vcl::TObject*, int16_t p) { progress.push_back(p); };
  g.grid->OnCustomFilter = [&](vcl::TObject* sender, Integer row, bool& accept) {
    EXPECT_EQ(sender, g.grid);
    if (g.grid->Cells(0, row) == "6") accept = false;  // the owner's last word
  };
  g.grid->Model().HideRow(1);  // Oslo 7 would pass; it stays hidden throughout
  g.grid->SetFilterActive(true);
  EXPECT_TRUE(g.grid->FilterActive());
  EXPECT_EQ(g.Column(0), (FilterStrings{"4", "7"}));
  EXPECT_EQ(g.grid->RowHeights(1), 24);
  EXPECT_EQ(g.grid->RealRowIndex(2), 7);
  EXPECT_EQ(progress.back(), 100);
  EXPECT_EQ(g.grid->Row(), 1);
  g.grid->SetFilterActive(true);  // unchanged: nothing happens
  EXPECT_EQ(g.Column(0), (FilterStrings{"4", "7"}));
  g.grid->Model().HideRow(4);
  g.grid->SetFilterActive(false);
  EXPECT_FALSE(g.grid->FilterActive());
  EXPECT_EQ(g.Column(0), (FilterStrings{"2", "3", "5", "6", "7"}));
  g.grid->Model().UnHideRow(1);
  g.grid->Model().UnHideRow(4);
  EXPECT_EQ(g.Column(0), (FilterStrings{"1", "2", "3", "4", "5", "6", "7"}));
  for (Integer r = 1; r < 8; ++r) EXPECT_EQ(g.grid->RowHeights(r), 20 + r);
  EXPECT_EQ(g.grid->Model().NumHiddenRows(), 0);
}

TEST(GridFilter, DropDownRowOnlyAmongTheFixedRows) {
  TFilterGrid g;
  g.grid->SetFilterDropDownRow(1);  // not a fixed row
  EXPECT_EQ(g.grid->FilterDropDownRow(), 0);
  g.grid->SetFixedRows(2);
  g.grid->SetFilterDropDownRow(1);
  EXPECT_EQ(g.grid->FilterDropDownRow(), 1);
}

TEST(GridFilter, TheHeaderListThroughClicksAndKeys) {
  TFilterGrid g;
  g.grid->FilterDropDownAuto = true;
  g.grid->SetFilterDropDownRow(0);
  std::vector<std::string> selected;
  g.grid->OnFilterSelect = [&](vcl::TObject*, Integer col, Integer index, const AnsiString& friendly,
                               AnsiString& condition) {
    selected.push_back(std::to_string(col) + ":" + std::to_string(index) + ":" + friendly + ":" + condition);
  };
  int done = 0;
  g.grid->OnFilterDone = [&](vcl::TObject* sender) {
    EXPECT_EQ(sender, g.grid);
    ++done;
  };
  g.grid->OnGetColumnFilter = [&](vcl::TObject*, Integer col, rtl::TStrings* list) {
    if (col == 2) list->Clear();  // no list for the size column
  };

  // A click beside the glyph opens nothing.
  const vcl::TRect header = g.grid->CellRect(1, 0);
  g.Click(header.Left + 4, header.Top + 5);
  EXPECT_EQ(g.grid->FilterOpenColumn(), -1);
  g.ClickGlyph(2);
  EXPECT_EQ(g.grid->FilterOpenColumn(), -1);

  g.ClickGlyph(1);
  ASSERT_EQ(g.grid->FilterOpenColumn(), 1);
  TDropList* list = g.grid->FilterList();
  EXPECT_EQ(list->Name(), "droplist");
  EXPECT_TRUE(list->Visible());
  ASSERT_EQ(list->Count(), 5);
  EXPECT_EQ(list->Items()->Get(0), "(All)");
  EXPECT_EQ(list->Items()->Get(3), "New York");
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->Top(), header.Top + 16);
  EXPECT_EQ(list->Left(), header.Right - 16);
  EXPECT_EQ(list->Width(), 150);
  EXPECT_EQ(list->Height(), 150);

  // Choosing "New York" by keys: the quoted condition, applied at once.
  list->SetItemIndex(3);
  list->Perform(vcl::WM_KEYDOWN, vcl::VK_RETURN, 0);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(g.grid->FilterOpenColumn(), -1);
  EXPECT_EQ(selected, (FilterStrings{"1:3:New York:\"New York\""}));
  EXPECT_EQ(g.grid->Filter()->ColumnFilter(1)->Condition, "\"New York\"");
  EXPECT_TRUE(g.grid->FilterActive());
  EXPECT_TRUE(g.grid->FixedRowAlways());
  EXPECT_EQ(g.Column(0), (FilterStrings{"3", "7"}));
  EXPECT_EQ(done, 1);

  // The list of a filtered grid still offers the hidden rows' values;
  // "(All)" clears the condition and shows every row.
  g.ClickGlyph(1);
  ASSERT_EQ(g.grid->FilterOpenColumn(), 1);
  EXPECT_EQ(list->Count(), 5);
  // A second click on the open column's glyph closes it.
  g.ClickGlyph(1);
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(g.grid->FilterOpenColumn(), -1);
  g.ClickGlyph(1);
  ASSERT_TRUE(list->Visible());
  const vcl::TRect first = list->ItemRect(0);
  grid_test::Click(list, first.Left + 3, first.Top + 2);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(g.grid->Filter()->ColumnFilter(1)->Condition, "");
  EXPECT_EQ(g.Column(0), (FilterStrings{"1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(selected.back(), "1:0:(All):");
  EXPECT_EQ(done, 2);

  // An index beyond the list, or no open column, only forgets the column.
  g.grid->FilterSelect(0);
  EXPECT_EQ(selected.size(), 2u);
  g.ClickGlyph(1);
  g.grid->FilterSelect(17);
  EXPECT_EQ(g.grid->FilterOpenColumn(), -1);
  EXPECT_EQ(selected.size(), 2u);
}

TEST(GridFilter, ListSizedToItsEntriesAndKeptInsideTheGrid) {
  TFilterGrid g;
  g.grid->FilterDropDownAuto = true;
  g.grid->FilterDropDown()->AutoSize = true;
  for (Integer c = 0; c < 3; ++c) g.grid->SetColWidths(c, 150);
  g.ClickGlyph(2);
  TDropList* list = g.grid->FilterList();
  ASSERT_TRUE(list->Visible());
  EXPECT_EQ(list->Count(), 8);
  EXPECT_EQ(list->Height(), 8 * list->ItemHeight() + 2 * vcl::GetSystemMetrics(vcl::SM_CYEDGE));
  EXPECT_LT(list->Width(), 150);
  // The right edge stays with the cell's when the list would leave the grid.
  g.grid->FilterDropDown()->AutoSize = false;
  g.grid->FilterDropDown()->Width = 200;
  g.Click(5, 100);  // elsewhere: the list goes
  EXPECT_FALSE(list->Visible());
  g.ClickGlyph(2);
  const vcl::TRect r = g.grid->CellRect(2, 0);
  EXPECT_EQ(list->Left(), r.Right - 200);
  g.grid->FilterDropDown()->ColumnWidth = true;
  g.Click(5, 100);
  g.ClickGlyph(2);
  EXPECT_EQ(list->Left(), r.Left);
  EXPECT_EQ(list->Width(), r.Right - r.Left);
}

TEST(GridFilter, GlyphsInTheFilterRowGrabbed) {
  TFilterGrid g;
  auto grab = [&](const char* png) {
    vcl::Application->ProcessMessages();
    g.grid->Invalidate();
    QImage img = g.grid->Widget()->grab().toImage();
    img.save(QString(TOLVANE_BUILD_DIR "/") + png);
    return img;
  };
  const QImage plain = grab("grid-filter-none.png");
  g.grid->FilterDropDownAuto = true;
  g.grid->OnGetColumnFilter = [](vcl::TObject*, Integer col, rtl::TStrings* list) {
    if (col == 2) list->Clear();  // no list, no glyph
  };
  const QImage glyphs = grab("grid-filter-glyphs.png");
  const Integer b = (g.grid->Width() - g.grid->ClientWidth()) / 2;
  auto differs = [&](Integer col) {
    const vcl::TRect r = g.grid->CellRect(col, 0);
    int count = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Right - 16; x < r.Right; ++x)
        if (plain.pixel(x + b, y + b) != glyphs.pixel(x + b, y + b)) ++count;
    return count;
  };
  EXPECT_GT(differs(1), 10);
  EXPECT_EQ(differs(2), 0);
  // A data row carries none.
  const vcl::TRect d = g.grid->CellRect(1, 2);
  for (Integer x = d.Right - 16; x < d.Right; ++x)
    EXPECT_EQ(plain.pixel(x + b, d.Top + b + 8), glyphs.pixel(x + b, d.Top + b + 8));
}
