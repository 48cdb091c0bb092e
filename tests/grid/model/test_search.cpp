// The grid's text search: each option as a table case over one grid,
// stepping forwards and backwards through every match and round again,
// hidden rows with and without nodes, the row-walk stages and the move to
// the cell found.
#include <gtest/gtest.h>

#include "grid/model/Search.h"

using namespace grid;

namespace {

class Host : public TCellSearchHost {
 public:
  TGridRect selection{1, 1, 1, 1};
  Integer col = 1, row = 1;
  bool nodes = false;
  std::vector<std::pair<Integer, Integer>> stages;
  std::vector<std::tuple<Integer, Integer, bool>> gotos;
  TGridRect Selection() override { return selection; }
  Integer CurrentCol() override { return col; }
  Integer CurrentRow() override { return row; }
  bool HasNodes() override { return nodes; }
  void RowScanNotify(Integer stage, Integer r) override { stages.emplace_back(stage, r); }
  void GotoFoundCell(Integer c, Integer r, bool real) override { gotos.emplace_back(c, r, real); }
};

// One fixed row and column.
void Fill(TGridModel& m) {
  const char* cells[6][4] = {
      {"", "Fruit", "Colour", "Note"},
      {"1", "apple", "red", "<b>Apple</b> pie"},
      {"2", "Banana", "yellow", ""},
      {"3", "cherry", "red", "apple tart"},
      {"4", "pineapple", "brown", "x"},
      {"5", "Apple", "green", "y"},
  };
  m.SetColCount(4);
  m.SetRowCount(6);
  for (Integer r = 0; r < 6; ++r)
    for (Integer c = 0; c < 4; ++c) m.SetRawCell(c, r, cells[r][c]);
}

using Cell = TCellCoord;

}  // namespace

TEST(CellSearch, OptionsAsTable) {
  const struct {
    Cell from;
    const char* text;
    TFindOptions options;
    Cell found;
  } cases[] = {
      {{-1, -1}, "apple", 0, {1, 1}},  // column by column, without case
      {{1, 1}, "apple", 0, {1, 4}},
      {{1, 5}, "apple", 0, {3, 1}},  // on into the next columns
      {{-1, -1}, "Apple", fiMatchCase, {1, 5}},
      {{1, 1}, "app", fiMatchStart, {1, 5}},  // "pineapple" does not start with it
      {{-1, -1}, "apple", fiMatchFull, {1, 1}},
      {{1, 1}, "apple", fiMatchFull, {1, 5}},
      {{-1, -1}, "red", fiRowByRow, {2, 1}},
      {{2, 1}, "red", fiRowByRow, {2, 3}},
      {{-1, -1}, "apple", fiBackward, {3, 3}},  // from the last cell up
      {{3, 3}, "apple", fiBackward, {3, 1}},
      {{3, 1}, "apple", fiBackward, {1, 5}},  // into the previous column from its end
      {{-1, -1}, "b>app", 0, {3, 1}},         // tags are text
      {{-1, -1}, "b>app", fiIgnoreHTMLTags, {-1, -1}},
      {{-1, -1}, "apple pie", fiIgnoreHTMLTags, {3, 1}},
      {{-1, -1}, "ch*y", fiWildcards, {1, 3}},
      {{-1, -1}, "*NAN*", fiWildcards | fiMatchCase, {-1, -1}},
      {{-1, -1}, "*nan*", fiWildcards | fiMatchCase, {1, 2}},
      {{-1, -1}, "\"\"", 0, {3, 2}},  // two quotes: the first empty normal cell
      {{-1, -1}, "fruit", 0, {-1, -1}},
      {{-1, -1}, "fruit", fiIncludeFixed, {1, 0}},
      {{-1, -1}, "red", fiCurrentColumnOnly, {-1, -1}},  // the current column is 1
      {{-1, -1}, "apple", fiCurrentRowOnly, {1, 1}},     // the current row is 1
      {{1, 1}, "apple", fiCurrentRowOnly, {3, 1}},
      {{3, 1}, "apple", fiCurrentRowOnly, {-1, -1}},
      {{-1, -1}, "apple", fiPresetColumn, {3, 1}},  // preset column 3
      {{3, 1}, "apple", fiPresetColumn, {3, 3}},
      {{-1, -1}, "apple", fiPresetRow, {3, 3}},  // preset row 3
      {{-1, -1}, "apple", fiSelectionOnly, {3, 3}},
      {{-1, -1}, "", 0, {-1, -1}},
  };
  for (const auto& c : cases) {
    TGridModel m;
    Fill(m);
    Host host;
    host.selection = {2, 2, 3, 4};
    TCellFinder finder(m, host);
    finder.PresetColumn = 3;
    finder.PresetRow = 3;
    const Cell found = finder.FindCell(c.from, c.text, c.options);
    EXPECT_EQ(found, c.found) << c.text << " options " << c.options << " from " << c.from.X << "," << c.from.Y;
    EXPECT_EQ(finder.LastFound, c.found);
    EXPECT_TRUE(host.gotos.empty());
  }
}

TEST(CellSearch, StepsThroughEveryMatchAndStartsAgain) {
  TGridModel m;
  Fill(m);
  Host host;
  TCellFinder finder(m, host);
  const std::vector<Cell> forward{{1, 1}, {1, 4}, {1, 5}, {3, 1}, {3, 3}, {-1, -1}, {1, 1}};
  std::vector<Cell> seen;
  for (size_t i = 0; i < forward.size(); ++i) seen.push_back(finder.FindCell(finder.LastFound, "apple", 0));
  EXPECT_EQ(seen, forward);
  finder.LastFound = {-1, -1};
  seen.clear();
  for (size_t i = 0; i < forward.size(); ++i) seen.push_back(finder.FindCell(finder.LastFound, "apple", fiBackward));
  EXPECT_EQ(seen, (std::vector<Cell>{{3, 3}, {3, 1}, {1, 5}, {1, 4}, {1, 1}, {-1, -1}, {3, 3}}));
  // Row by row the order changes.
  finder.LastFound = {-1, -1};
  seen.clear();
  for (int i = 0; i < 6; ++i) seen.push_back(finder.FindCell(finder.LastFound, "apple", fiRowByRow));
  EXPECT_EQ(seen, (std::vector<Cell>{{1, 1}, {3, 1}, {3, 3}, {1, 4}, {1, 5}, {-1, -1}}));
}

TEST(CellSearch, StagesGotoAndEmptyGrids) {
  TGridModel m;
  Fill(m);
  Host host;
  TCellFinder finder(m, host);
  EXPECT_EQ(finder.FindCell({-1, -1}, "banana", fiGotoFound), (Cell{1, 2}));
  EXPECT_EQ(host.stages, (std::vector<std::pair<Integer, Integer>>{{0, -1}, {1, 1}, {1, 2}, {4, 2}}));
  EXPECT_EQ(host.gotos, (std::vector<std::tuple<Integer, Integer, bool>>{{1, 2, false}}));
  EXPECT_EQ(finder.SearchText(), "BANANA");
  EXPECT_EQ(finder.Options(), fiGotoFound);
  host.stages.clear();
  EXPECT_EQ(finder.FindCell({-1, -1}, "kiwi", fiGotoFound | fiMatchCase), (Cell{-1, -1}));
  EXPECT_EQ(host.stages.size(), 2u + 15u);  // every normal cell tested once
  EXPECT_EQ(host.stages.back(), (std::pair<Integer, Integer>{2, -1}));
  EXPECT_EQ(finder.SearchText(), "kiwi");
  EXPECT_EQ(host.gotos.size(), 1u);

  TGridModel headersOnly;
  headersOnly.SetRowCount(1);  // the fixed row only
  TCellFinder none(headersOnly, host);
  EXPECT_EQ(none.FindCell({-1, -1}, "", fiIncludeFixed), (Cell{-1, -1}));
}

TEST(CellSearch, HiddenRowsWideTextAndHiddenColumns) {
  TGridModel m;
  Fill(m);
  m.SetWideCellText(2, 5, u"Gr\u00FCn");
  m.HideRow(4);  // "pineapple"
  Host host;
  TCellFinder finder(m, host);
  EXPECT_EQ(finder.FindCell({-1, -1}, "pine", fiGotoFound), (Cell{-1, -1}));
  // Without nodes hidden rows cannot come back into view: not searched.
  EXPECT_EQ(finder.FindCell({-1, -1}, "pine", fiGotoFound | fiIncludeHiddenRows), (Cell{-1, -1}));
  host.nodes = true;
  EXPECT_EQ(finder.FindCell({-1, -1}, "pine", fiGotoFound | fiIncludeHiddenRows), (Cell{1, 4}));
  EXPECT_EQ(finder.FindCell({1, 4}, "apple", fiIncludeHiddenRows), (Cell{1, 5}));  // real row 5
  EXPECT_EQ(host.gotos, (std::vector<std::tuple<Integer, Integer, bool>>{{1, 4, true}}));
  // The last real row is reached; shown rows keep their display numbers
  // without the option.
  EXPECT_EQ(finder.FindCell({-1, -1}, "Gr\xC3\xBCn", fiMatchCase), (Cell{2, 4}));
  EXPECT_EQ(finder.FindCell({-1, -1}, "Gr\xC3\xBCn", fiMatchCase | fiIncludeHiddenRows), (Cell{2, 5}));
}
