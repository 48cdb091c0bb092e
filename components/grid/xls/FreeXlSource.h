#pragma once
// The grid's worksheet source over libfreexl: the first worksheet of a
// legacy .xls workbook, read whole at Open in a child process (the library
// is not safe on damaged files). Numbers, dates and times come as text by
// the locale (FloatToStr, DateToStr, DateTimeToStr, TimeToStr); a file the
// library refuses, crashes on or takes more than 30 s over raises
// rtl::Exception "Incorrect XLS file".
#include <memory>

#include "grid/model/SpreadsheetImport.h"

namespace grid {

std::unique_ptr<TSpreadsheetSource> MakeFreeXlSource();

}  // namespace grid
