// Feeds arbitrary bytes, as a file, to the grid's worksheet reader (the
// library itself reads in the reader's child process; what is fuzzed here
// is the reader's side of it): open,
// used range, then the values of at most the first 64 x 64 cells of that
// range (the reader fetches a range in one call, so a declared range is
// bounded here rather than by the file). Only the reader's own exception
// may come out; every value read must be empty, text or error.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "grid/model/SpreadsheetImport.h"
#include "grid/xls/FreeXlSource.h"
#include "rtl/Exceptions.h"

using namespace grid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/gridxls-fuzz-" + std::to_string(::getpid()) + ".xls";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::unique_ptr<TSpreadsheetSource> source = MakeFreeXlSource();
  try {
    source->Open(path);
    const TSheetRange r = ParseSheetAddress(source->UsedRangeAddress());
    if (!r.Valid() || r.FirstCol < 1 || r.FirstRow < 1 || r.LastCol < r.FirstCol || r.LastRow < r.FirstRow) std::abort();
    const Integer lastCol = std::min(r.LastCol, r.FirstCol + 63), lastRow = std::min(r.LastRow, r.FirstRow + 63);
    const TSheetValues values = source->RangeValues(r.FirstCol, r.FirstRow, lastCol, lastRow);
    if (values.size() != static_cast<size_t>(lastRow - r.FirstRow + 1)) std::abort();
    for (const auto& row : values) {
      if (row.size() != static_cast<size_t>(lastCol - r.FirstCol + 1)) std::abort();
      for (const TSheetValue& v : row)
        if (v.Kind != TSheetValue::svEmpty && v.Kind != TSheetValue::svText && v.Kind != TSheetValue::svError)
          std::abort();
    }
    source->Close();
  } catch (const rtl::Exception&) {
    // "Incorrect XLS file"
  }
  return 0;
}
