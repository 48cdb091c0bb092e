// The filter over the model: conditions per column and their joining, the
// failing rows hidden as one level and given back exactly, rows hidden on
// their own before and after staying hidden, and a column's value list.
#include <gtest/gtest.h>

#include "grid/model/FilterRows.h"
#include "grid/model/GridUtils.h"

using namespace grid;

namespace {

// A fixed header row and rows of (real number, name, amount); every row
// has a height of its own and some carry properties.
void FilterFillPeople(TGridModel& m) {
  const char* names[] = {"anna", "bert", "carl", "dora", "emil", "fred", "gina", "hans", "ida", "jan"};
  const char* amounts[] = {"5", "12", "18", "25", "9", "15", "1,000", "11", "19.5", "20"};
  m.SetColCount(3);
  m.SetRowCount(11);
  m.SetRawCell(0, 0, "#");
  m.SetRawCell(1, 0, "name");
  m.SetRawCell(2, 0, "amount");
  for (Integer r = 1; r <= 10; ++r) {
    m.SetRawCell(0, r, std::to_string(r));
    m.SetRawCell(1, r, names[r - 1]);
    m.SetRawCell(2, r, amounts[r - 1]);
    m.SetRowHeights(r, 20 + r);
    if (r % 4 == 0) m.CellProperties(1, r).FontSize = 30 + r;
  }
}

struct FilterRowPicture {
  std::vector<std::string> texts;
  Integer height;
  Integer fontSize;
  bool operator==(const FilterRowPicture&) const = default;
};

std::vector<FilterRowPicture> FilterPicture(const TGridModel& m) {
  std::vector<FilterRowPicture> rows;
  for (Integer r = 0; r < m.RowCount(); ++r) {
    FilterRowPicture p;
    for (Integer c = 0; c < m.ColCount(); ++c) p.texts.push_back(m.GetRawCell(c, r));
    p.height = m.RowHeights(r);
    const TCellProperties* props = m.GetRawObject(1, r);
    p.fontSize = props ? props->FontSize : -1;
    rows.push_back(p);
  }
  return rows;
}

std::vector<std::string> FilterColumn0(const TGridModel& m) {
  std::vector<std::string> v;
  for (Integer r = 0; r < m.RowCount(); ++r) v.push_back(m.GetRawCell(0, r));
  return v;
}

void FilterExpectMappings(const TGridModel& m) {
  m.Check();
  for (Integer d = 0; d < m.RowCount(); ++d) {
    const Integer real = m.RealRowIndex(d);
    if (d > 0) EXPECT_EQ(m.GetRawCell(0, d), std::to_string(real)) << "display row " << d;
    EXPECT_EQ(m.DisplRowIndex(real), d);
  }
}

TFilterData* FilterAddCondition(TFilter& f, Integer col, const char* condition, TFilterOperation op = foSHORT) {
  TFilterData* d = f.Add();
  d->Column = static_cast<int16_t>(col);
  d->Condition = condition;
  d->Operation = op;
  return d;
}

}  // namespace

TEST(FilterRows, TwoColumnsHideFailingRowsAsOneLevelAndComeBackExactly) {
  const FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  FilterFillPeople(m);
  const auto before = FilterPicture(m);
  TFilter f;
  FilterAddCondition(f, 2, ">10&<20");
  FilterAddCondition(f, 1, "!*a*");
  TRowFilter filter(m);
  std::vector<Integer> progress;
  filter.OnProgress = [&](Integer p) { progress.push_back(p); };
  filter.Apply(f);
  EXPECT_TRUE(filter.Active());
  // 12 bert, 18 carl (has an a), 15 fred, 11 hans (a), 19.5 ida (a).
  EXPECT_EQ(FilterColumn0(m), (std::vector<std::string>{"#", "2", "6"}));
  EXPECT_EQ(m.HiddenRowLevel(), 1);
  EXPECT_EQ(m.NumHiddenRows(), 8);
  EXPECT_EQ(m.RowHeights(1), 22);
  FilterExpectMappings(m);
  ASSERT_EQ(progress.size(), 11u);
  EXPECT_EQ(progress.front(), 10);
  EXPECT_EQ(progress[4], 50);
  EXPECT_EQ(progress.back(), 100);
  filter.Remove();
  EXPECT_FALSE(filter.Active());
  EXPECT_EQ(FilterPicture(m), before);
  EXPECT_EQ(m.NumHiddenRows(), 0);
  EXPECT_EQ(m.HiddenRowLevel(), 0);
}

TEST(FilterRows, RowsHiddenOnTheirOwnStayHidden) {
  const FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  FilterFillPeople(m);
  const auto before = FilterPicture(m);
  TFilter f;
  FilterAddCondition(f, 2, ">=12");
  TRowFilter filter(m);
  m.HideRow(3);  // carl, 18: would pass
  m.HideRow(5);  // emil, 9: would fail
  filter.Apply(f);
  // Display rows are tested, so rows 3 and 5 stay as they were.
  EXPECT_EQ(FilterColumn0(m), (std::vector<std::string>{"#", "2", "4", "6", "7", "9", "10"}));
  FilterExpectMappings(m);
  m.HideRow(6);  // hidden while the filter is on
  FilterExpectMappings(m);
  filter.Remove();
  EXPECT_EQ(FilterColumn0(m), (std::vector<std::string>{"#", "1", "2", "4", "7", "8", "9", "10"}));
  EXPECT_TRUE(m.IsHiddenRow(3));
  EXPECT_TRUE(m.IsHiddenRow(5));
  EXPECT_TRUE(m.IsHiddenRow(6));
  FilterExpectMappings(m);
  m.UnHideRow(3);
  m.UnHideRow(5);
  m.UnHideRow(6);
  EXPECT_EQ(FilterPicture(m), before);
}

TEST(FilterRows, JoiningOfConditions) {
  const FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  FilterFillPeople(m);
  TRowFilter filter(m);
  struct Case {
    std::vector<std::tuple<Integer, const char*, TFilterOperation>> conditions;
    std::vector<Integer> passing;  // data rows 1..10
  };
  const std::vector<Case> cases = {
      // A failing foSHORT stops: the later foOR cannot let the row pass.
      {{{1, "anna", foSHORT}, {1, "*", foOR}}, {1}},
      // foOR first: the initial True lets every row pass.
      {{{1, "anna", foOR}}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {{{1, "anna", foNONE}, {1, "bert", foOR}}, {1, 2}},
      {{{2, ">10", foNONE}, {1, "*a*", foAND}}, {3, 4, 7, 8, 9, 10}},
      {{{2, ">10", foNONE}, {1, "*a*", foXOR}}, {1, 2, 6}},
      {{{1, "", foSHORT}}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      // A column the grid lacks fails.
      {{{7, "*", foSHORT}}, {}},
      {{}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (const Case& c : cases) {
    TFilter f;
    for (const auto& [col, cond, op] : c.conditions) FilterAddCondition(f, col, cond, op);
    std::vector<Integer> passing;
    for (Integer r = 1; r <= 10; ++r)
      if (filter.MatchFilter(f, r)) passing.push_back(r);
    EXPECT_EQ(passing, c.passing) << "first condition '" << (c.conditions.empty() ? "" : std::get<1>(c.conditions[0]))
                                  << "'";
  }
}

TEST(FilterRows, TextsByKindPrefixSuffixAndTheOwnersWord) {
  const FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  m.SetColCount(3);
  m.SetRowCount(5);
  m.SetRawCell(1, 1, "$12");
  m.SetRawCell(1, 2, "12");
  m.SetRawCell(1, 3, "<b>bold</b>");
  m.SetRawCell(2, 3, "xyz ABC def");
  m.SetRawCell(1, 4, EncodeWideText(u"wide"));
  m.SetRawCell(2, 4, "7 kg");
  TRowFilter filter(m);
  TFilter f;
  TFilterData* d = FilterAddCondition(f, 1, "12");
  d->Prefix = "$";
  EXPECT_TRUE(filter.MatchFilter(f, 1));  // $12 tests 12
  EXPECT_TRUE(filter.MatchFilter(f, 2));  // no prefix: unchanged
  d->Condition = "bold";
  d->Data = fcStripHTML;
  EXPECT_TRUE(filter.MatchFilter(f, 3));
  d->Data = fcNormal;
  EXPECT_FALSE(filter.MatchFilter(f, 3));
  d->Condition = "wide";
  EXPECT_TRUE(filter.MatchFilter(f, 4));  // wide text decoded
  // The whole row, upper-cased, anywhere; case and prefix not used.
  d->Data = fcRow;
  d->Condition = "abc";
  d->CaseSensitive = true;
  EXPECT_TRUE(filter.MatchFilter(f, 3));
  EXPECT_FALSE(filter.MatchFilter(f, 2));
  // Suffix: cut only when it ends the text.
  d->Data = fcVirtual;
  d->Column = 2;
  d->Prefix.clear();
  d->Suffix = " kg";
  d->Condition = "<10";
  EXPECT_TRUE(filter.MatchFilter(f, 4));
  // The owner's filter text for fcCalculated.
  d->Data = fcCalculated;
  d->Suffix.clear();
  d->Condition = "calc*";
  filter.FilterCellText = [](Integer col, Integer row, AnsiString& text) { text = "calc " + text; };
  EXPECT_TRUE(filter.MatchFilter(f, 4));
  // The owner has the last word.
  filter.OnCustomFilter = [](Integer row, bool& accept) { accept = row == 2; };
  EXPECT_FALSE(filter.MatchFilter(f, 4));
  EXPECT_TRUE(filter.MatchFilter(f, 2));
}

TEST(FilterRows, FixedRowsComeBackWhenEveryRowFailed) {
  const FixedLocaleSettings us;
  ScopedLocale scope(us);
  TGridModel m;
  FilterFillPeople(m);
  m.SetFixedRowAlways(true);
  const auto before = FilterPicture(m);
  TFilter f;
  FilterAddCondition(f, 1, "nobody");
  TRowFilter filter(m);
  filter.Apply(f);
  EXPECT_EQ(m.RowCount(), 1);
  EXPECT_EQ(filter.RememberedFixedRows(), 1);
  EXPECT_EQ(m.FixedRows(), 1);  // kept by FixedRowAlways
  filter.Remove();
  EXPECT_EQ(m.GridFixedRows(), 1);
  EXPECT_EQ(FilterPicture(m), before);
}

TEST(FilterRows, ValueListOfAColumn) {
  TGridModel m;
  m.SetColCount(3);
  m.SetRowCount(6);
  const char* values[] = {"B", " A ", "B", "New York", "C"};
  for (Integer r = 1; r <= 5; ++r) m.SetRawCell(1, r, values[r - 1]);
  m.HideRow(5);  // hidden rows count too
  TRowFilter filter(m);
  rtl::TStringList list;
  ASSERT_TRUE(filter.ColumnValues(1, true, "(All)", list));
  std::vector<std::string> entries;
  for (Integer i = 0; i < list.Count(); ++i) entries.push_back(list[i]);
  EXPECT_EQ(entries, (std::vector<std::string>{"(All)", "A", "B", "C", "New York=\"New York\""}));
  AnsiString friendly, condition;
  TRowFilter::SplitEntry(list[4], friendly, condition);
  EXPECT_EQ(friendly, "New York");
  EXPECT_EQ(condition, "\"New York\"");
  TRowFilter::SplitEntry("plain", friendly, condition);
  EXPECT_EQ(friendly, "plain");
  EXPECT_EQ(condition, "plain");
  // The quoted condition matches the value with its blank.
  TFilter f;
  FilterAddCondition(f, 1, condition.c_str());
  f.Items(0)->Condition = "\"New York\"";
  EXPECT_TRUE(filter.MatchFilter(f, 4));
  EXPECT_FALSE(filter.MatchFilter(f, 3));
  // Without auto fill, or on a fixed column, the list stays empty.
  EXPECT_FALSE(filter.ColumnValues(1, false, "(All)", list));
  EXPECT_FALSE(filter.ColumnValues(0, true, "(All)", list));
  EXPECT_EQ(list.Count(), 0);
  // No clear entry when it is empty.
  ASSERT_TRUE(filter.ColumnValues(1, true, "", list));
  EXPECT_EQ(list[0], "A");
}

TEST(FilterRows, ColumnFilterFindsOrAddsAndAssignCopiesAll) {
  TFilter f;
  TFilterData* a = f.ColumnFilter(3);
  EXPECT_EQ(f.Count(), 1);
  EXPECT_EQ(a->Column, 3);
  EXPECT_EQ(f.ColumnFilter(3), a);
  a->Condition = "x";
  a->CaseSensitive = false;
  a->Data = fcRow;
  a->Prefix = "p";
  a->Suffix = "s";
  a->Operation = foXOR;
  TFilter g;
  g.ColumnFilter(1);
  g.Assign(f);
  ASSERT_EQ(g.Count(), 1);
  const TFilterData* b = g.Items(0);
  EXPECT_EQ(b->Column, 3);
  EXPECT_EQ(b->Condition, "x");
  EXPECT_FALSE(b->CaseSensitive);
  EXPECT_EQ(b->Data, fcRow);
  EXPECT_EQ(b->Prefix, "p");
  EXPECT_EQ(b->Suffix, "s");
  EXPECT_EQ(b->Operation, foXOR);
}
