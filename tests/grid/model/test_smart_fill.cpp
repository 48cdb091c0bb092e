// Pasting tab-separated text and the smart fill after it, through a host
// over the grid's model that records the paste events.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "grid/model/ClipPaste.h"
#include "grid/model/GridModel.h"
#include "grid/model/SmartFill.h"

using namespace grid;

namespace {

class ModelPasteHost : public TClipPasteHost {
 public:
  explicit ModelPasteHost(TGridModel& m) : m_(m) {}
  TGridModel& m_;
  AnsiString clip;  // what PasteAgainAt pastes
  std::set<std::pair<Integer, Integer>> readOnly;
  std::vector<std::string> events;
  bool allowed = true;

  AnsiString FillText(Integer col, Integer row) override { return m_.GetDisplayCell(col, row); }
  bool CanFill(Integer col, Integer row) override { return !readOnly.count({col, row}); }
  void FillCell(Integer col, Integer row, const AnsiString& value, bool topLeft) override {
    AnsiString v = value;
    if (!topLeft && !BeforePasteCell(col, row, v)) return;
    PasteCell(col, row, v);
    if (!topLeft) AfterPasteCell(col, row, v, false);
  }
  void PasteAgainAt(Integer col, Integer row) override { PasteTextAt(*this, col, row, clip); }
  Integer ColCount() override { return m_.ColCount(); }
  Integer RowCount() override { return m_.RowCount(); }
  void SetColCount(Integer count) override { m_.SetColCount(count); }
  void AddRow() override { m_.AddRowAtEnd(); }
  void InsertRow(Integer row) override { m_.InsertRows(row, 1); }
  bool PasteAllowed() override { return allowed; }
  bool CanPaste(Integer col, Integer row) override { return CanFill(col, row); }
  bool BeforePasteCell(Integer col, Integer row, AnsiString& value) override {
    events.push_back("before " + std::to_string(col) + "," + std::to_string(row));
    return true;
  }
  void PasteCell(Integer col, Integer row, const AnsiString& value) override { m_.SetDisplayCell(col, row, value); }
  void AfterPasteCell(Integer col, Integer row, const AnsiString& value, bool) override {
    events.push_back("after " + std::to_string(col) + "," + std::to_string(row) + "=" + value);
  }
};

struct FillGrid {
  TGridModel m;
  ModelPasteHost host{m};
  FillGrid(Integer cols, Integer rows) {
    m.SetColCount(cols);
    m.SetRowCount(rows);
    m.SetFixedCols(0);
    m.SetFixedRows(0);
  }
  // Pastes the text at the selection's top-left and runs the smart fill.
  TSmartFill Paste(const TGridRect& sel, const AnsiString& text, const AnsiString& floatFormat = "%.2f") {
    host.clip = text;
    const TPasteCounts c = PasteTextAt(host, sel.Left, sel.Top, text);
    return SmartFill(host, {sel, c.Count, c.PastedCount, c.PastedRows, c.PastedCols}, floatFormat);
  }
  std::vector<AnsiString> Column(Integer col, Integer from, Integer to) {
    std::vector<AnsiString> v;
    for (Integer r = from; r <= to; ++r) v.push_back(m.GetDisplayCell(col, r));
    return v;
  }
  std::vector<AnsiString> Row(Integer row, Integer from, Integer to) {
    std::vector<AnsiString> v;
    for (Integer c = from; c <= to; ++c) v.push_back(m.GetDisplayCell(c, row));
    return v;
  }
};

using FillTexts = std::vector<AnsiString>;

}  // namespace

TEST(ClipPaste, ColumnCopyOntoOneCellCountsFourAndFillsThreeRows) {
  FillGrid g(3, 5);
  const TPasteCounts c = PasteTextAt(g.host, 1, 1, "a\r\nb\r\nc\r\n");
  EXPECT_EQ(c.Count, 4);
  EXPECT_EQ(c.PastedCount, 3);
  EXPECT_EQ(c.PastedRows, 3);
  EXPECT_EQ(c.PastedCols, 1);
  EXPECT_EQ(g.Column(1, 0, 4), (FillTexts{"", "a", "b", "c", ""}));
  EXPECT_EQ(g.m.RowCount(), 5);
}

TEST(ClipPaste, GrowsByRowsAndColumnsOrDropsWhatDoesNotFit) {
  {
    FillGrid g(2, 2);
    PasteTextAt(g.host, 1, 1, "a\tb\r\nc\td\r\n");
    EXPECT_EQ(g.m.ColCount(), 3);
    EXPECT_EQ(g.m.RowCount(), 3);
    EXPECT_EQ(g.Row(2, 1, 2), (FillTexts{"c", "d"}));
  }
  {
    FillGrid g(2, 2);
    g.host.RowGrow = false;
    g.host.ColGrow = false;
    PasteTextAt(g.host, 1, 1, "a\tb\r\nc\td\r\n");
    EXPECT_EQ(g.m.ColCount(), 2);
    EXPECT_EQ(g.m.RowCount(), 2);
    EXPECT_EQ(g.m.GetDisplayCell(1, 1), "a");  // the rest is dropped
  }
  {
    // paInsert: a row is inserted for each pasted line, old rows move down.
    FillGrid g(2, 3);
    g.m.SetDisplayCell(0, 1, "old");
    g.host.InsertLines = true;
    PasteTextAt(g.host, 0, 1, "x\r\ny\r\n");
    EXPECT_EQ(g.m.RowCount(), 5);
    EXPECT_EQ(g.Column(0, 1, 3), (FillTexts{"x", "y", "old"}));
  }
  {
    // A floating footer's row stays last: the paste grows above it.
    FillGrid g(1, 3);
    g.m.SetDisplayCell(0, 2, "footer");
    g.m.SetFooterRowShown(true);
    g.host.FooterRowLast = true;
    PasteTextAt(g.host, 0, 1, "x\r\ny\r\n");
    EXPECT_EQ(g.Column(0, 1, 3), (FillTexts{"x", "y", "footer"}));
  }
  {
    FillGrid g(2, 2);
    g.host.allowed = false;
    EXPECT_EQ(PasteTextAt(g.host, 0, 0, "a").Count, 0);
    EXPECT_EQ(PasteTextAt(g.host, -1, 0, "a").Count, 0);
    EXPECT_EQ(g.m.GetDisplayCell(0, 0), "");
  }
}

TEST(ClipPaste, QuotedLineBreaksAndReadOnlyCells) {
  FillGrid g(3, 3);
  g.host.readOnly.insert({1, 0});
  PasteTextAt(g.host, 0, 0, "\"two\nlines\"\tskipped\t\"q\"\"x\"");
  EXPECT_EQ(g.m.GetDisplayCell(0, 0), "two\r\nlines");
  EXPECT_EQ(g.m.GetDisplayCell(1, 0), "");
  EXPECT_EQ(g.m.GetDisplayCell(2, 0), "q\"x");
  EXPECT_EQ(g.host.events, (std::vector<std::string>{"before 0,0", "after 0,0=two\r\nlines", "before 2,0",
                                                    "after 2,0=q\"x"}));
}

TEST(SmartFill, OneValueFillsTheWholeSelection) {
  FillGrid g(4, 4);
  EXPECT_EQ(g.Paste({0, 0, 2, 2}, "v"), sfRepeat);
  for (Integer r = 0; r <= 2; ++r) EXPECT_EQ(g.Row(r, 0, 3), (FillTexts{"v", "v", "v", ""}));
}

TEST(SmartFill, SeriesAndPatternsAlongOneColumnOrRow) {
  struct Case {
    const char* name;
    const char* clip;
    bool column;
    TSmartFill kind;
    FillTexts expected;
  } cases[] = {
      {"integers", "1\r\n3\r\n", true, sfIntegerSeries, {"1", "3", "5", "7", "9"}},
      {"downwards", "10\r\n7\r\n", true, sfIntegerSeries, {"10", "7", "4", "1", "-2"}},
      {"integers in a row", "2\t4", false, sfIntegerSeries, {"2", "4", "6", "8", "10"}},
      {"decimals", "1.5\r\n2\r\n", true, sfFloatSeries, {"1.50", "2.00", "2.50", "3.00", "3.50"}},
      {"words repeat", "a\r\nb\r\n", true, sfPattern, {"a", "b", "a", "b", "a"}},
      {"three repeat in a row", "x\ty\tz", false, sfPattern, {"x", "y", "z", "x", "y"}},
      {"a row from a peer", "x\ty\r\n", false, sfPattern, {"x", "y", "x", "y", "x"}},
      {"months", "1/15/2025\r\n2/15/2025\r\n", true, sfDateSeries,
       {"1/15/2025", "2/15/2025", "3/15/2025", "4/15/2025", "5/15/2025"}},
      {"across December", "10/15/2025\r\n11/15/2025\r\n", true, sfDateSeries,
       {"10/15/2025", "11/15/2025", "12/15/2025", "1/15/2026", "2/15/2026"}},
      {"days", "12/30/2025\r\n12/31/2025\r\n", true, sfDateSeries,
       {"12/30/2025", "12/31/2025", "1/1/2026", "1/2/2026", "1/3/2026"}},
      {"days backwards", "3/2/2024\r\n3/1/2024\r\n", true, sfDateSeries,
       {"3/2/2024", "3/1/2024", "2/29/2024", "2/28/2024", "2/27/2024"}},
      {"years", "2/28/2020\r\n2/28/2021\r\n", true, sfDateSeries,
       {"2/28/2020", "2/28/2021", "2/28/2022", "2/28/2023", "2/28/2024"}},
      {"times", "10:00:00\r\n10:30:00\r\n", true, sfDateSeries,
       {"10:00:00", "10:30:00", "11:00:00", "11:30:00", "12:00:00"}},
      {"a number beside a word cancels", "1.5\r\nx\r\n", true, sfCancelled, {"1.5", "x", "", "", ""}},
      // Months and days differ: the full difference is added.
      {"month and day", "1/31/2025\r\n2/28/2025\r\n", true, sfDateSeries,
       {"1/31/2025", "2/28/2025", "3/28/2025", "4/25/2025", "5/23/2025"}},
      // September has no 31st: the series stops there.
      {"a month without the day", "1/31/2025\r\n3/31/2025\r\n", true, sfCancelled,
       {"1/31/2025", "3/31/2025", "5/31/2025", "7/31/2025", ""}},
      {"month ending", "12/31/2024\r\n1/31/2025\r\n", true, sfDateSeries,
       {"12/31/2024", "1/31/2025", "3/3/2025", "4/3/2025", "5/4/2025"}},
      {"past the 64-bit range", "9223372036854775806\r\n9223372036854775807\r\n", true, sfCancelled,
       {"9223372036854775806", "9223372036854775807", "", "", ""}},
  };
  FixedLocaleSettings us;
  us.ShortDate = "M/d/yyyy";
  us.LongTime = "hh:nn:ss";
  ScopedLocale scope(us);
  for (const auto& c : cases) {
    FillGrid g(6, 6);
    const TGridRect sel = c.column ? TGridRect{1, 1, 1, 5} : TGridRect{1, 1, 5, 1};
    EXPECT_EQ(g.Paste(sel, c.clip), c.kind) << c.name;
    EXPECT_EQ(c.column ? g.Column(1, 1, 5) : g.Row(1, 1, 5), c.expected) << c.name;
  }
}

TEST(SmartFill, DecimalsUnderACommaLocaleAndCellsThatMayNotChange) {
  FixedLocaleSettings de;
  de.Decimal = ',';
  de.Thousand = '.';
  de.DateSep = '.';
  de.ShortDate = "dd.MM.yyyy";
  ScopedLocale scope(de);
  {
    FillGrid g(2, 6);
    EXPECT_EQ(g.Paste({0, 0, 0, 3}, "1,5\r\n2,5\r\n", "%.1f"), sfFloatSeries);
    EXPECT_EQ(g.Column(0, 0, 3), (FillTexts{"1,5", "2,5", "3,5", "4,5"}));
  }
  {
    FillGrid g(2, 6);
    EXPECT_EQ(g.Paste({0, 0, 0, 3}, "30.12.2025\r\n31.12.2025\r\n"), sfDateSeries);
    EXPECT_EQ(g.Column(0, 0, 3), (FillTexts{"30.12.2025", "31.12.2025", "01.01.2026", "02.01.2026"}));
  }
  {
    // The value moves on over a cell that may not change.
    FillGrid g(2, 6);
    g.m.SetDisplayCell(0, 2, "keep");
    g.host.readOnly.insert({0, 2});
    EXPECT_EQ(g.Paste({0, 0, 0, 4}, "1\r\n2\r\n"), sfIntegerSeries);
    EXPECT_EQ(g.Column(0, 0, 4), (FillTexts{"1", "2", "keep", "4", "5"}));
  }
}

TEST(SmartFill, BlocksRepeatAPastedRowOrColumnAndEndWhenTheSizeFits) {
  {
    FillGrid g(4, 4);
    EXPECT_EQ(g.Paste({0, 0, 2, 2}, "a\tb\tc"), sfRepaste);
    for (Integer r = 0; r <= 2; ++r) EXPECT_EQ(g.Row(r, 0, 2), (FillTexts{"a", "b", "c"}));
  }
  {
    FillGrid g(4, 4);
    EXPECT_EQ(g.Paste({0, 0, 2, 2}, "a\r\nb\r\nc\r\n"), sfRepaste);
    for (Integer c = 0; c <= 2; ++c) EXPECT_EQ(g.Column(c, 0, 2), (FillTexts{"a", "b", "c"}));
  }
  {
    // A 2 x 2 block onto a 3 x 3 selection stays as pasted.
    FillGrid g(4, 4);
    EXPECT_EQ(g.Paste({0, 0, 2, 2}, "a\tb\r\nc\td\r\n"), sfNone);
    EXPECT_EQ(g.Row(0, 0, 2), (FillTexts{"a", "b", ""}));
    EXPECT_EQ(g.Row(2, 0, 2), (FillTexts{"", "", ""}));
  }
  {
    // Count - 1 equal to the selected cells: nothing more happens.
    FillGrid g(4, 4);
    EXPECT_EQ(g.Paste({0, 0, 0, 1}, "5\r\n9\r\n"), sfNone);
    EXPECT_EQ(g.Column(0, 0, 2), (FillTexts{"5", "9", ""}));
  }
}
