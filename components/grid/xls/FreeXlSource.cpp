#include "grid/xls/FreeXlSource.h"

#include <freexl.h>

#include <cstdio>

#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

namespace grid {

namespace {

[[noreturn]] void Incorrect() { throw rtl::Exception("Incorrect XLS file"); }

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" as the library writes them.
TSheetValue DateValue(unsigned char type, const char* text) {
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  TSheetValue v;
  v.Kind = TSheetValue::svText;
  rtl::TDateTime value = 0;
  bool ok = text != nullptr;
  if (ok && type == FREEXL_CELL_DATE) {
    ok = std::sscanf(text, "%u-%u-%u", &y, &mo, &d) == 3 && rtl::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(mo), static_cast<Word>(d), value);
    if (ok) v.Text = rtl::DateToStr(value);
  } else if (ok && type == FREEXL_CELL_DATETIME) {
    rtl::TDateTime time = 0;
    ok = std::sscanf(text, "%u-%u-%u %u:%u:%u", &y, &mo, &d, &h, &mi, &s) == 6 && rtl::TryEncodeDate(static_cast<Word>(y), static_cast<Word>(mo), static_cast<Word>(d), value) &&
         rtl::TryEncodeTime(static_cast<Word>(h), static_cast<Word>(mi), static_cast<Word>(s), 0, time);
    if (ok) v.Text = rtl::DateTimeToStr(value + time);
  } else if (ok) {
    ok = std::sscanf(text, "%u:%u:%u", &h, &mi, &s) == 3 && rtl::TryEncodeTime(static_cast<Word>(h), static_cast<Word>(mi), static_cast<Word>(s), 0, value);
    if (ok) v.Text = rtl::TimeToStr(value);
  }
  // A value the library wrote in a form of its own stays as it came.
  if (!ok) v.Text = text != nullptr ? text : "";
  return v;
}

class TFreeXlSource : public TSpreadsheetSource {
 public:
  ~TFreeXlSource() override { Close(); }

  void Open(const AnsiString& fileName) override {
    Close();
    if (freexl_open(fileName.c_str(), &handle_) != FREEXL_OK) {
      Close();
      Incorrect();
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        freexl_select_active_worksheet(handle_, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle_, &rows_, &cols_) != FREEXL_OK)
      Incorrect();
  }

  AnsiString UsedRangeAddress() override {
    if (rows_ == 0 || cols_ == 0) return "$A$1";
    return "$A$1:$" + SheetColumnLetters(cols_) + "$" + std::to_string(rows_);
  }

  TSheetValues RangeValues(Integer firstCol, Integer firstRow, Integer lastCol, Integer lastRow) override {
    if (handle_ == nullptr || firstCol < 1 || firstRow < 1 || lastCol < firstCol || lastRow < firstRow) Incorrect();
    TSheetValues values(static_cast<size_t>(lastRow - firstRow + 1));
    for (Integer r = firstRow; r <= lastRow; ++r) {
      auto& row = values[static_cast<size_t>(r - firstRow)];
      row.resize(static_cast<size_t>(lastCol - firstCol + 1));
      for (Integer c = firstCol; c <= lastCol; ++c) {
        // Outside the sheet's dimensions there is nothing: empty.
        if (static_cast<unsigned>(r) > rows_ || static_cast<unsigned>(c) > cols_) continue;
        FreeXL_CellValue cell;
        if (freexl_get_cell_value(handle_, static_cast<unsigned>(r - 1), static_cast<unsigned short>(c - 1), &cell) !=
            FREEXL_OK)
          Incorrect();
        TSheetValue& v = row[static_cast<size_t>(c - firstCol)];
        switch (cell.type) {
          case FREEXL_CELL_NULL: break;
          case FREEXL_CELL_INT:
            v.Kind = TSheetValue::svText;
            v.Text = std::to_string(cell.value.int_value);
            break;
          case FREEXL_CELL_DOUBLE:
            v.Kind = TSheetValue::svText;
            v.Text = rtl::FloatToStr(cell.value.double_value);
            break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
            v.Kind = TSheetValue::svText;
            v.Text = cell.value.text_value != nullptr ? cell.value.text_value : "";
            break;
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME: v = DateValue(cell.type, cell.value.text_value); break;
          default: v.Kind = TSheetValue::svError; break;
        }
      }
    }
    return values;
  }

  void Close() override {
    if (handle_ != nullptr) freexl_close(handle_);
    handle_ = nullptr;
    rows_ = 0;
    cols_ = 0;
  }

 private:
  const void* handle_ = nullptr;
  unsigned int rows_ = 0;
  unsigned short cols_ = 0;
};

}  // namespace

std::unique_ptr<TSpreadsheetSource> MakeFreeXlSource() { return std::make_unique<TFreeXlSource>(); }

}  // namespace grid
