#pragma once
// The grid's worksheet source over libfreexl: the first worksheet of a
// legacy .xls workbook. Numbers, dates and times come as text by the
// locale (FloatToStr, DateToStr, DateTimeToStr, TimeToStr); a file the
// library cannot read raises rtl::Exception "Incorrect XLS file".
#include <memory>

#include "grid/model/SpreadsheetImport.h"

namespace grid {

std::unique_ptr<TSpreadsheetSource> MakeFreeXlSource();

}  // namespace grid
