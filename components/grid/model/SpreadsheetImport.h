#pragma once
// Filling a grid from a worksheet: the source a spreadsheet file is read
// through (its first worksheet, the range in use, values already written
// as text by the locale) and the walk that stores them cell by cell.
#include <memory>
#include <string_view>
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

class TGridModel;

// One worksheet value as the import sees it.
struct TSheetValue {
  enum TKind { svEmpty, svText, svError };
  TKind Kind = svEmpty;
  AnsiString Text;
};

using TSheetValues = std::vector<std::vector<TSheetValue>>;  // rows of columns

// A workbook opened for one import. Every failure raises rtl::Exception.
class TSpreadsheetSource {
 public:
  virtual ~TSpreadsheetSource() = default;
  virtual void Open(const AnsiString& fileName) = 0;
  // The range of the first worksheet that holds cells, absolute, as in
  // "$B$2:$F$30"; a single cell without ":".
  virtual AnsiString UsedRangeAddress() = 0;
  // The values of a range given by its 1-based corners, in one call.
  virtual TSheetValues RangeValues(Integer firstCol, Integer firstRow, Integer lastCol, Integer lastRow) = 0;
  virtual void Close() = 0;
};

// The corners of an address (1-based); -1 where a number does not read.
struct TSheetRange {
  Integer FirstCol = 1, FirstRow = 1, LastCol = 1, LastRow = 1;
  bool Valid() const { return FirstCol != -1 && FirstRow != -1 && LastCol != -1 && LastRow != -1; }
};

// "$B$2:$F$30" as columns 2..6 and rows 2..30; "$3:$7" as rows 3..7 and
// columns 1..256; without ":" the single cell A1. Column letters count one
// (A..Z) or two (26 x first + second); further letters are ignored.
TSheetRange ParseSheetAddress(std::string_view address);
// 1 = "A" .. 26 = "Z", 27 = "AA" ..
AnsiString SheetColumnLetters(Integer col);

// Sizes the grid to the used range (plus the fixed cells when they are not
// transferred), fetches the values at once and stores each with LoadCell:
// empty values as empty texts, error values left out. A range that cannot
// be read raises rtl::Exception "Incorrect XLS file". The source is closed
// after a complete walk only.
void ImportSpreadsheet(TGridModel& model, TSpreadsheetSource& source, const AnsiString& fileName);

}  // namespace grid
