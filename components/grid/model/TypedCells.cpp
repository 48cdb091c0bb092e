#include "grid/model/GridModel.h"
#include "grid/model/GridUtils.h"
#include "rtl/Convert.h"
#include "rtl/DateTime.h"
#include "rtl/Format.h"
#include "rtl/Strings.h"

namespace grid {

namespace {

// A displayed number read as the float getters read it.
double ReadFloat(std::string_view display) {
  const AnsiString text = ExtractNumberText(display);
  if (text.empty() || text == "-") return 0;
  double value = 0;
  if (!rtl::TryStrToFloat(text, value)) throw ELumGridError("Cell does not contain a float value");
  return value;
}

}  // namespace

Integer TGridModel::IntegerCells(Integer col, Integer row) {
  const AnsiString text = rtl::Trim(GetDisplayCell(col, row));
  if (text.empty() || text == "-") return 0;
  rtl::Int64 value = 0;
  Integer code = 0;
  rtl::Val(text, value, code);
  if (code != 0 || value < INT32_MIN || value > INT32_MAX)
    throw ELumGridError("Cell does not contain integer value");
  return static_cast<Integer>(value);
}

void TGridModel::SetIntegerCells(Integer col, Integer row, Integer value) {
  SetDisplayCell(col, row, rtl::IntToStr(value));
}

double TGridModel::FloatCells(Integer col, Integer row) { return ReadFloat(GetDisplayCell(col, row)); }

double TGridModel::AllFloatCells(Integer col, Integer realRow) { return ReadFloat(RealCells(col, realRow)); }

void TGridModel::SetFloatCells(Integer col, Integer row, double value) {
  SetDisplayCell(col, row, rtl::Format(FloatFormat, value));
}

void TGridModel::SetDateCells(Integer col, Integer row, TDateTime value) {
  SetDisplayCell(col, row, rtl::FormatDateTime(CurrentLocale().ShortDateFormat(), value));
}

void TGridModel::SetWideCellText(Integer col, Integer row, std::u16string_view value) {
  SetRawCell(col, row, EncodeWideText(value));
}

}  // namespace grid
