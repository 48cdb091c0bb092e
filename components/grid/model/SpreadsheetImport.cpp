#include "grid/model/SpreadsheetImport.h"

#include <cctype>

#include "grid/model/GridModel.h"
#include "rtl/Exceptions.h"

namespace grid {

namespace {

// The number of a digit run, -1 when there is none or it does not fit.
Integer SheetNumber(std::string_view s) {
  if (s.empty() || s.size() > 9) return -1;
  Integer n = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return -1;
    n = n * 10 + (ch - '0');
  }
  return n;
}

Integer SheetLetters(std::string_view s) {
  auto letter = [](char ch) { return std::toupper(static_cast<unsigned char>(ch)) - 'A' + 1; };
  for (char ch : s)
    if (!std::isalpha(static_cast<unsigned char>(ch))) return -1;
  if (s.empty()) return -1;
  if (s.size() == 1) return letter(s[0]);
  return 26 * letter(s[0]) + letter(s[1]);
}

// One corner such as "B$2" (its leading "$" already gone).
void SheetCorner(std::string_view part, Integer& col, Integer& row) {
  const size_t dollar = part.find('$');
  col = SheetLetters(part.substr(0, dollar));
  row = SheetNumber(part.substr(dollar + 1));
}

std::string_view NoLeadingDollar(std::string_view s) { return !s.empty() && s[0] == '$' ? s.substr(1) : s; }

}  // namespace

TSheetRange ParseSheetAddress(std::string_view address) {
  TSheetRange r;
  const size_t colon = address.find(':');
  if (colon == std::string_view::npos) return r;
  const std::string_view first = NoLeadingDollar(address.substr(0, colon));
  const std::string_view last = NoLeadingDollar(address.substr(colon + 1));
  if (first.find('$') == std::string_view::npos) {
    // Whole rows.
    r.FirstRow = SheetNumber(first);
    r.LastRow = SheetNumber(last);
    r.FirstCol = 1;
    r.LastCol = 256;
    return r;
  }
  SheetCorner(first, r.FirstCol, r.FirstRow);
  SheetCorner(last, r.LastCol, r.LastRow);
  return r;
}

AnsiString SheetColumnLetters(Integer col) {
  AnsiString letters;
  while (col > 0) {
    --col;
    letters.insert(letters.begin(), static_cast<char>('A' + col % 26));
    col /= 26;
  }
  return letters;
}

void ImportSpreadsheet(TGridModel& model, TSpreadsheetSource& source, const AnsiString& fileName) {
  source.Open(fileName);
  const TSheetRange range = ParseSheetAddress(source.UsedRangeAddress());
  const Integer fixedCols = model.FixedCols(), fixedRows = model.FixedRows();
  Integer cols = model.ColCount(), rows = model.RowCount();
  if (range.Valid()) {
    cols = range.LastCol - range.FirstCol + 1;
    rows = range.LastRow - range.FirstRow + 1;
  }
  Integer colOffset = 0, rowOffset = 0;
  if (!model.TransferFixedCells) {
    colOffset = fixedCols;
    rowOffset = fixedRows;
    cols += colOffset;
    rows += rowOffset;
  }
  // Set once, so that cells the range keeps do not go and come back empty.
  model.SetColCount(cols);
  model.SetRowCount(rows);
  if (fixedCols < model.ColCount() && model.FixedCols() != fixedCols) model.SetFixedCols(fixedCols);
  if (fixedRows < model.RowCount() && model.FixedRows() != fixedRows) model.SetFixedRows(fixedRows);
  if (!range.Valid()) throw rtl::Exception("Incorrect XLS file");
  const TSheetValues values = source.RangeValues(range.FirstCol, range.FirstRow, range.LastCol, range.LastRow);
  for (Integer r = 1; r <= model.RowCount() - rowOffset; ++r) {
    for (Integer e = 1; e <= model.ColCount() - colOffset; ++e) {
      if (static_cast<size_t>(r - 1) >= values.size() || static_cast<size_t>(e - 1) >= values[r - 1].size())
        throw rtl::Exception("Incorrect XLS file");
      const TSheetValue& v = values[r - 1][e - 1];
      if (v.Kind == TSheetValue::svError) continue;
      model.LoadCell(e - 1 + colOffset, r - 1 + rowOffset, v.Kind == TSheetValue::svEmpty ? AnsiString() : v.Text);
    }
  }
  source.Close();
}

}  // namespace grid
