// The spreadsheet import's walk over a worksheet source: address reading,
// column letters, sizing with and without the fixed cells, empty and error
// values, OnLoadCell, the calling order and the failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/model/GridModel.h"
#include "grid/model/SpreadsheetImport.h"
#include "rtl/Exceptions.h"

using namespace grid;

namespace {

// Hands out what a test gives it and notes every call.
class TSheetFake : public TSpreadsheetSource {
 public:
  AnsiString Address;
  TSheetValues Values;
  std::vector<std::string> Calls;
  void Open(const AnsiString& fileName) override { Calls.push_back("open " + fileName); }
  AnsiString UsedRangeAddress() override {
    Calls.push_back("range");
    return Address;
  }
  TSheetValues RangeValues(Integer firstCol, Integer firstRow, Integer lastCol, Integer lastRow) override {
    Calls.push_back("values " + std::to_string(firstCol) + "," + std::to_string(firstRow) + ":" +
                    std::to_string(lastCol) + "," + std::to_string(lastRow));
    return Values;
  }
  void Close() override { Calls.push_back("close"); }
};

TSheetValue SheetText(const char* text) { return {TSheetValue::svText, text}; }
const TSheetValue SheetEmpty{};
const TSheetValue SheetError{TSheetValue::svError, "#DIV/0!"};

std::vector<std::string> SheetGridRows(const TGridModel& m) {
  std::vector<std::string> rows;
  for (Integer r = 0; r < m.RowCount(); ++r) {
    std::string line;
    for (Integer c = 0; c < m.ColCount(); ++c) line += (c ? "|" : "") + m.GetRawCell(c, r);
    rows.push_back(line);
  }
  return rows;
}

void SheetModel(TGridModel& m, Integer cols, Integer rows) {
  m.SetColCount(cols);
  m.SetRowCount(rows);
}

void FillOld(TGridModel& m) {
  for (Integer r = 0; r < m.RowCount(); ++r)
    for (Integer c = 0; c < m.ColCount(); ++c) m.SetDisplayCell(c, r, "old");
}

}  // namespace

TEST(SpreadsheetImport, AddressesAndColumnLetters) {
  struct Case {
    const char* address;
    TSheetRange range;
  };
  const std::vector<Case> cases = {
      {"$B$2:$F$30", {2, 2, 6, 30}},        {"$A$1", {1, 1, 1, 1}},
      {"$3:$7", {1, 3, 256, 7}},            {"$AB$1:$IV$65536", {28, 1, 256, 65536}},
      {"$ABC$1:$B$2", {28, 1, 2, 2}},       // letters past the second are ignored
      {"$B$x:$C$3", {2, -1, 3, 3}},         {"$B$2:$$3", {2, 2, -1, 3}},
      {"$x:$3", {1, -1, 256, 3}},
  };
  for (const Case& c : cases) {
    const TSheetRange r = ParseSheetAddress(c.address);
    EXPECT_EQ((std::vector<Integer>{r.FirstCol, r.FirstRow, r.LastCol, r.LastRow}),
              (std::vector<Integer>{c.range.FirstCol, c.range.FirstRow, c.range.LastCol, c.range.LastRow}))
        << c.address;
  }
  const std::vector<std::pair<Integer, const char*>> letters = {{1, "A"},   {26, "Z"},   {27, "AA"},  {52, "AZ"},
                                                                 {53, "BA"}, {256, "IV"}, {702, "ZZ"}, {703, "AAA"}};
  for (const auto& [col, text] : letters) EXPECT_EQ(SheetColumnLetters(col), text) << col;
}

TEST(SpreadsheetImport, WalkSizesTheGridAndStoresEveryValue) {
  struct Case {
    const char* what;
    bool transferFixed;
    std::vector<std::string> rows;
  };
  const std::vector<Case> cases = {
      {"from cell (0, 0)", true, {"a|1.5|", "|old|x"}},
      {"after the fixed cells", false, {"old|old|old|old", "old|a|1.5|", "old||old|x"}},
  };
  for (const Case& c : cases) {
    TGridModel m;
    SheetModel(m, 5, 5);
    m.SetFixedCols(1);
    m.SetFixedRows(1);
    FillOld(m);
    m.TransferFixedCells = c.transferFixed;
    TSheetFake sheet;
    sheet.Address = "$B$2:$D$3";
    sheet.Values = {{SheetText("a"), SheetText("1.5"), SheetEmpty}, {SheetEmpty, SheetError, SheetText("x")}};
    ImportSpreadsheet(m, sheet, "book.xls");
    EXPECT_EQ(SheetGridRows(m), c.rows) << c.what;
    EXPECT_EQ(m.FixedCols(), 1) << c.what;
    EXPECT_EQ(m.FixedRows(), 1) << c.what;
    EXPECT_EQ(sheet.Calls, (std::vector<std::string>{"open book.xls", "range", "values 2,2:4,3", "close"})) << c.what;
  }
}

TEST(SpreadsheetImport, LoadCellSeesAndChangesEachValue) {
  TGridModel m;
  SheetModel(m, 2, 2);
  m.SetFixedCols(0);
  m.SetFixedRows(0);
  std::vector<std::string> seen;
  m.OnLoadCell = [&](Integer col, Integer row, AnsiString& value) {
    seen.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
    value = "<" + value + ">";
  };
  TSheetFake sheet;
  sheet.Address = "$A$1:$B$1";
  sheet.Values = {{SheetText("p"), SheetEmpty}};
  ImportSpreadsheet(m, sheet, "f.xls");
  EXPECT_EQ(seen, (std::vector<std::string>{"0,0=p", "1,0="}));
  EXPECT_EQ(SheetGridRows(m), (std::vector<std::string>{"<p>|<>"}));
}

TEST(SpreadsheetImport, UnreadableRangesRaiseAndLeaveTheWorkbookOpen) {
  struct Case {
    const char* what;
    const char* address;
    TSheetValues values;
  };
  const std::vector<Case> cases = {
      {"a number that does not read", "$A$x:$B$2", {}},
      {"fewer values than the range", "$A$1:$B$2", {{SheetText("1"), SheetText("2")}}},
      {"a short row", "$A$1:$B$1", {{SheetText("1")}}},
  };
  for (const Case& c : cases) {
    TGridModel m;
    SheetModel(m, 3, 3);
    TSheetFake sheet;
    sheet.Address = c.address;
    sheet.Values = c.values;
    try {
      ImportSpreadsheet(m, sheet, "bad.xls");
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const rtl::Exception& e) {
      EXPECT_STREQ(e.what(), "Incorrect XLS file") << c.what;
    }
    EXPECT_NE(sheet.Calls.back(), "close") << c.what;
  }
}
