#include "grid/model/GridSort.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "grid/model/GridUtils.h"
#include "grid/model/HtmlText.h"
#include "rtl/CodePages.h"
#include "rtl/DateTime.h"
#include "rtl/Locale.h"

namespace grid {

namespace {

Integer Sign(int value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }

// Unsigned characters, a proper prefix first.
Integer ByteCompare(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

AnsiString UpperAsciiLetters(std::string_view text) {
  AnsiString result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

bool IsCheckBoxType(TCellType type) {
  return type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRowCheckBox;
}

bool IsDigitAt(std::string_view text, Integer index) {
  return index >= 0 && index < static_cast<Integer>(text.size()) && text[index] >= '0' && text[index] <= '9';
}

// The separator at the 1-based position 2 or 3 between two digits.
bool SeparatorBetweenDigits(std::string_view text, char separator) {
  const auto found = text.find(separator);
  if (found == std::string_view::npos) return false;
  const Integer p = static_cast<Integer>(found) + 1;
  return (p == 2 || p == 3) && p < static_cast<Integer>(text.size()) && IsDigitAt(text, p - 2) && IsDigitAt(text, p);
}

// Removes the first occurrence of part, wherever it stands.
void RemoveOnce(AnsiString& text, const AnsiString& part) {
  if (part.empty()) return;
  const auto at = text.find(part);
  if (at != AnsiString::npos) text.erase(at, part.size());
}

// Reads blanks, a sign, digits, a point and digits, an exponent; stops at
// the first character that does not fit. valid: the whole non-empty text
// was read.
double ReadNumber(std::string_view text, bool& valid) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  const size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == '.') {
    size_t j = i + 1;
    size_t fraction = 0;
    while (j < n && text[j] >= '0' && text[j] <= '9') ++j, ++fraction;
    if (digits + fraction > 0) {
      i = j;
      digits += fraction;
    }
  }
  size_t end = digits > 0 ? i : start;
  if (digits > 0 && i < n && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    size_t exponent = 0;
    while (j < n && text[j] >= '0' && text[j] <= '9') ++j, ++exponent;
    if (exponent > 0) end = j;
  }
  valid = !text.empty() && end == n && digits > 0;
  if (digits == 0) return 0;
  try {
    return std::stod(std::string(text.substr(start, end - start)));
  } catch (const std::out_of_range&) {
    return text[start] == '-' ? -HUGE_VAL : HUGE_VAL;
  }
}

Integer CompareValues(double a, double b) { return a > b ? 1 : (a < b ? -1 : 0); }

rtl::TFormatSettings TimeSettings(const LocaleSettings& locale) {
  rtl::TFormatSettings settings = rtl::FormatSettings();
  settings.TimeSeparator = locale.TimeSeparator();
  settings.DecimalSeparator = locale.DecimalSeparator();
  settings.DateSeparator = locale.DateSeparator();
  return settings;
}

}  // namespace

TGridSorter::TGridSorter(TGridModel& model) : model_(model) {}

void TGridSorter::ResetUnsortedOrder() {
  unsorted_.resize(model_.RowCount());
  for (Integer i = 0; i < model_.RowCount(); ++i) unsorted_[i] = i;
}

TCellProperties* TGridSorter::PropsOf(Integer col, Integer row) const {
  if (row == pivot_ && pivotRow_ != nullptr) return pivotRow_->Props(col);
  return model_.GetRawObject(col, row);
}

AnsiString TGridSorter::SortText(Integer col, Integer row) {
  return Options.SortOnVirtualCells ? model_.GetDisplayCell(col, row) : model_.GetRawCell(col, row);
}

bool TGridSorter::CheckBoxChecked(Integer col, Integer row) {
  const TCellProperties* props = PropsOf(col, row);
  const TCellGraphic* graphic = props != nullptr ? props->Graphic() : nullptr;
  if (graphic == nullptr) return false;
  if (graphic->CellType == ctDataCheckBox) return model_.GetRawCell(col, row) == "Y";
  return graphic->CellBoolean;
}

bool TGridSorter::HasDisplayTextEvent() const {
  return static_cast<bool>(model_.OnGetDisplText) || model_.HasDisplWideText();
}

Integer TGridSorter::ImageKey(Integer col, Integer row) const {
  const TCellProperties* props = PropsOf(col, row);
  const TCellGraphic* graphic = props != nullptr ? props->Graphic() : nullptr;
  if (graphic == nullptr) return -1;
  switch (graphic->CellType) {
    case ctImageList:
      return graphic->CellIndex;
    case ctBitmap:
      return static_cast<Integer>(reinterpret_cast<std::uintptr_t>(graphic->CellBitmap()));
    case ctIcon:
      return static_cast<Integer>(reinterpret_cast<std::uintptr_t>(graphic->CellIcon()));
    default:
      return -1;
  }
}

Integer TGridSorter::CompareNumbers(Integer col, Integer row1, Integer row2, AnsiString& text1, AnsiString& text2,
                                    const AnsiString& prefix, const AnsiString& suffix, bool financial) {
  const LocaleSettings& locale = Locale != nullptr ? *Locale : CurrentLocale();
  const char thousand = locale.ThousandSeparator();
  const char decimal = locale.DecimalSeparator();
  auto prepare = [&](AnsiString& text) {
    RemoveOnce(text, prefix);
    RemoveOnce(text, suffix);
    if (financial) text.erase(std::remove(text.begin(), text.end(), thousand), text.end());
    if (decimal != '.') {
      // A point is no decimal point here: the number ends before it.
      std::replace(text.begin(), text.end(), '.', '\x01');
      const auto at = text.find(decimal);
      if (at != AnsiString::npos) text[at] = '.';
    }
  };
  prepare(text1);
  prepare(text2);
  bool valid1 = false, valid2 = false;
  double value1 = ReadNumber(text1, valid1);
  double value2 = ReadNumber(text2, valid2);
  // A cell that shows nothing counts as 0.
  if (!valid1 && (row1 == pivot_ ? text1.empty() : model_.GetDisplayCell(col, row1).empty())) valid1 = true, value1 = 0;
  if (!valid2 && (row2 == pivot_ ? text2.empty() : model_.GetDisplayCell(col, row2).empty())) valid2 = true, value2 = 0;
  if (!valid1 && !valid2) return 0;
  return CompareValues(value1, value2);
}

Integer TGridSorter::CompareCells(Integer col, Integer row1, Integer row2, bool descending) {
  const LocaleSettings& locale = Locale != nullptr ? *Locale : CurrentLocale();
  const Collator& collator = CellCollator != nullptr ? *CellCollator : LocaleCollator();
  const TSortStyle textStyle = Options.IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
  TSortStyle style = Options.AutoFormat ? ssAutomatic : textStyle;
  AnsiString prefix, suffix;
  GetFormat(col, style, prefix, suffix);

  AnsiString text1 = SortText(col, row1);
  AnsiString text2 = SortText(col, row2);
  Integer result = 1;

  if (style == ssAutomatic) {
    const TCellProperties* props = PropsOf(col, row1);
    const TCellGraphic* graphic = props != nullptr ? props->Graphic() : nullptr;
    if (graphic != nullptr && IsCheckBoxType(graphic->CellType)) {
      style = ssCheckBox;
    } else if (const TNumberKind kind = GetNumberKind(text1, locale);
               kind == TNumberKind::nkInteger || kind == TNumberKind::nkFloat || kind == TNumberKind::nkExponent) {
      style = ssNumeric;
    } else {
      style = textStyle;
      const char dateSep = locale.DateSeparator();
      const char timeSep = locale.TimeSeparator();
      if (SeparatorBetweenDigits(text1, dateSep)) {
        if (text2.find(dateSep) != AnsiString::npos)
          style = text1.find(timeSep) != AnsiString::npos ? ssDateTime : ssDate;
      } else if (SeparatorBetweenDigits(text1, timeSep) && text2.find(timeSep) != AnsiString::npos) {
        style = ssTime;
      }
    }
  }
  if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
    auto isNumber = [&](const AnsiString& text) {
      const TNumberKind kind = GetNumberKind(text, locale);
      return kind == TNumberKind::nkInteger || kind == TNumberKind::nkFloat || kind == TNumberKind::nkExponent;
    };
    if (isNumber(text1) && isNumber(text2))
      style = ssNumeric;
    else
      style = style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
  }

  auto readDate = [&](const AnsiString& text) {
    TDateTime value = 0;
    if (text.empty() || !TryParseDateTime(text, value, locale)) return TDateTime(0);
    return value;
  };
  auto readShortDate = [](const AnsiString& text, bool european) {
    try {
      return european ? ParseEUDate(text) : ParseUSDate(text);
    } catch (const rtl::Exception&) {
      return TDateTime(0);
    }
  };

  switch (style) {
    case ssAutomatic:  // resolved above
    case ssAlphabetic:
    case ssAlphaCase:
    case ssAlphaNumeric:
    case ssAlphaNumericNoCase:
      result = ByteCompare(text1, text2);
      break;
    case ssAlphaNoCase:
      result = ByteCompare(UpperAsciiLetters(text1), UpperAsciiLetters(text2));
      if (result == 0) result = ByteCompare(text1, text2);
      break;
    case ssNumeric:
    case ssFinancial:
      result = CompareNumbers(col, row1, row2, text1, text2, prefix, suffix, style == ssFinancial);
      break;
    case ssDate:
    case ssDateTime:
      result = CompareValues(readDate(text1), readDate(text2));
      break;
    case ssTime: {
      const rtl::TFormatSettings settings = TimeSettings(locale);
      TDateTime time1 = 0, time2 = 0;
      if (!rtl::TryStrToTime(text1, time1, settings)) time1 = 0;
      if (!rtl::TryStrToTime(text2, time2, settings)) time2 = 0;
      result = CompareValues(time1, time2);
      break;
    }
    case ssShortDateEU:
    case ssShortDateUS:
      result = CompareValues(readShortDate(text1, style == ssShortDateEU), readShortDate(text2, style == ssShortDateEU));
      break;
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase:
      result = Sign(collator.Compare(text1, text2, style == ssAnsiAlphaNoCase));
      break;
    case ssUnicode:
      result = Sign(collator.Compare(rtl::WideToUtf8(DecodeWideText(text1)), rtl::WideToUtf8(DecodeWideText(text2)),
                                     true));
      break;
    case ssCustom:
      result = Sign(CustomCompare(text1, text2));
      break;
    case ssRaw:
      result = Sign(RawCompare(col, row1, row2));
      break;
    case ssHTML:
      text1 = StripHTML(text1);
      text2 = StripHTML(text2);
      result = ByteCompare(text1, text2);
      break;
    case ssImages: {
      const Integer key1 = ImageKey(col, row1);
      const Integer key2 = ImageKey(col, row2);
      result = key1 > key2 ? 1 : (key1 == key2 ? 0 : -1);
      break;
    }
    case ssCheckBox: {
      const bool checked1 = CheckBoxChecked(col, row1);
      const bool checked2 = CheckBoxChecked(col, row2);
      result = checked1 == checked2 ? 0 : (checked1 ? 1 : -1);
      break;
    }
  }

  if (Options.IgnoreBlanks) {
    // Blanks go where BlankPos says, whichever way the rows run.
    const Integer blankFirstAscending = Options.BlankPos == blLast ? 1 : -1;
    const Integer blank = descending ? -blankFirstAscending : blankFirstAscending;
    if (text1.empty() && !text2.empty()) result = blank;
    else if (text2.empty() && !text1.empty()) result = -blank;
  }
  return result;
}

Integer TGridSorter::CompareRows(Integer col, Integer row1, Integer row2) {
  for (;;) {
    const Integer result =
        ignored_.HasValue(col) ? 0 : CompareCells(col, row1, row2, Options.Direction == sdDescending);
    if (result != 0 || !Options.Full || col > model_.ColCount() - 2) return result;
    ++col;
  }
}

Integer TGridSorter::CompareRowsIndexed(Integer index, Integer row1, Integer row2) {
  for (;;) {
    if (index >= indexes_.Count()) return 0;
    const Integer col = indexes_.SortColumnAt(index);
    const bool descending = !indexes_.SortAscendingAt(index);
    const Integer result = ignored_.HasValue(col) ? 0 : CompareCells(col, row1, row2, descending);
    if (result != 0 || !Options.Full || index >= indexes_.Count() - 1) return descending ? -result : result;
    ++index;
  }
}

void TGridSorter::SwapRows(Integer row1, Integer row2) {
  if (row1 < static_cast<Integer>(unsorted_.size()) && row2 < static_cast<Integer>(unsorted_.size()))
    std::swap(unsorted_[row1], unsorted_[row2]);
  if (Options.SingleColumn) {
    const Integer col = Options.Column;
    if (col < 0 || col >= model_.ColCount()) return;
    const AnsiString text1 = model_.GetDisplayCell(col, row1);
    const AnsiString text2 = model_.GetDisplayCell(col, row2);
    model_.SetRawCell(col, row1, text2);
    model_.SetRawCell(col, row2, text1);
    std::unique_ptr<TCellProperties> props1 = model_.SetRawObject(col, row1, nullptr);
    std::unique_ptr<TCellProperties> props2 = model_.SetRawObject(col, row2, std::move(props1));
    model_.SetRawObject(col, row1, std::move(props2));
    return;
  }
  model_.SwapRows(row1, row2);
  if ((Options.DisjunctRowSelect && Options.MoveRowOnSort) || Options.ShowModified) SwapRowMarks(row1, row2);
  if (followed_ == row1)
    followed_ = row2;
  else if (followed_ == row2)
    followed_ = row1;
}

void TGridSorter::TakePivot(Integer row) {
  const bool perCell = HasDisplayTextEvent();
  for (Integer col = 0; col < model_.ColCount(); ++col) {
    AnsiString text = perCell && Options.SortOnVirtualCells ? model_.GetDisplayCell(col, row) : model_.GetRawCell(col, row);
    model_.SetRawCell(col, pivot_, std::move(text));
  }
  pivotRow_ = &model_.RowAt(row);
}

void TGridSorter::QuickSortRows(Integer col, Integer lo, Integer hi) {
  const Integer s = Options.Direction == sdAscending ? 1 : -1;
  // The smaller part recursively, the larger in the loop: the same swaps as
  // two recursive calls (the parts are disjoint), with a shallow stack.
  while (lo < hi) {
    TakePivot((lo + hi) / 2);
    Integer i = lo, j = hi;
    do {
      while (CompareRows(col, pivot_, i) == s && i < hi) ++i;
      while (CompareRows(col, j, pivot_) == s && j > lo) --j;
      if (i <= j) {
        if (i != j && CompareRows(col, i, j) != 0) SwapRows(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      QuickSortRows(col, lo, j);
      lo = i;
    } else {
      QuickSortRows(col, i, hi);
      hi = j;
    }
  }
}

void TGridSorter::QuickSortRowsIndexed(Integer lo, Integer hi) {
  while (lo < hi) {
    TakePivot((lo + hi) / 2);
    Integer i = lo, j = hi;
    do {
      while (CompareRowsIndexed(0, pivot_, i) == 1 && i < hi) ++i;
      while (CompareRowsIndexed(0, j, pivot_) == 1 && j > lo) --j;
      if (i <= j) {
        if (i != j) SwapRows(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      QuickSortRowsIndexed(lo, j);
      lo = i;
    } else {
      QuickSortRowsIndexed(i, hi);
      hi = j;
    }
  }
}

void TGridSorter::QuickSortUnsortedOrder(std::vector<Integer>& work, Integer lo, Integer hi) {
  while (lo < hi) {
    const Integer pivot = work[(lo + hi) / 2];
    Integer i = lo, j = hi;
    do {
      while (work[i] < pivot && i < hi) ++i;
      while (pivot < work[j] && j > lo) --j;
      if (i <= j) {
        if (i != j && work[i] != work[j]) {
          SwapRows(i, j);
          std::swap(work[i], work[j]);
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      QuickSortUnsortedOrder(work, lo, j);
      lo = i;
    } else {
      QuickSortUnsortedOrder(work, i, hi);
      hi = j;
    }
  }
}

// Three empty rows under the grid while a sort runs: the pivot's copy goes
// into the second, and no display-text event reaches them.
struct TGridSorter::SpareRows {
  SpareRows(TGridSorter& sorter) : sorter_(sorter), model_(sorter.model_) {
    savedLimit_ = model_.DisplayRowLimit();
    savedPivot_ = sorter_.pivot_;
    savedPivotRow_ = sorter_.pivotRow_;
    const Integer first = model_.RowCount();
    model_.SetGridRowCount(first + 3);
    model_.SetDisplayRowLimit(first);
    sorter_.pivot_ = model_.RowCount() - 2;
  }
  ~SpareRows() {
    // The spare rows own nothing: the pivot's properties stayed with its row.
    model_.SetGridRowCount(model_.RowCount() - 3);
    model_.SetDisplayRowLimit(savedLimit_);
    sorter_.pivot_ = savedPivot_;
    sorter_.pivotRow_ = savedPivotRow_;
  }
  SpareRows(const SpareRows&) = delete;
  SpareRows& operator=(const SpareRows&) = delete;

  TGridSorter& sorter_;
  TGridModel& model_;
  Integer savedLimit_;
  Integer savedPivot_;
  const TGridRow* savedPivotRow_;
};

void TGridSorter::RunSort(TSortKind kind) {
  const bool columnSort = kind == TSortKind::ColumnSort;
  // Column 0 stays where it is with NormalCellsOnly.
  const bool keepColumn0 = Options.NormalCellsOnly && model_.FixedCols() > 0;
  std::vector<AnsiString> column0;
  if (keepColumn0)
    for (Integer row = 0; row < model_.RowCount(); ++row) column0.push_back(model_.GetRawCell(0, row));
  const Integer topRow = TopRow();
  BeginUpdate();
  auto restore = [&] {
    if (keepColumn0)
      for (Integer row = 0; row < model_.RowCount() && row < static_cast<Integer>(column0.size()); ++row)
        model_.SetRawCell(0, row, column0[row]);
    if (Options.KeepScrollOnSort) SetTopRow(topRow);
    EndUpdate();
  };
  try {
    Integer savedRow = CurrentRow();
    {
      const Integer lastRow = model_.RowCount() - model_.FixedFooters() - 1;
      SpareRows spares(*this);
      followed_ = savedRow;
      if (Options.MoveRowOnSort) SetCurrentRow(model_.RowCount() - 3);
      const Integer first = model_.FixedRows();
      if (kind == TSortKind::ColumnSort)
        QuickSortRows(Options.Column, first, lastRow);
      else if (kind == TSortKind::Indexed)
        QuickSortRowsIndexed(first, lastRow);
      else
        SortGroups(kind == TSortKind::GroupIndexed);
      if (!columnSort) {
        SetCurrentRow(savedRow);
      } else if (!Options.DisjunctRowSelect) {
        if (Options.MoveRowOnSort) {
          SetCurrentRow(followed_);
          ForgetRowUpdate();
        } else {
          SetCurrentRow(savedRow);
        }
      } else if (Options.MoveRowOnSort) {
        // The current row must not stay on a spare row that goes away.
        SetCurrentRow(followed_);
      }
    }
    if (columnSort && !Options.MoveRowOnSort) RowUpdate(savedRow, CurrentRow());
  } catch (...) {
    restore();
    throw;
  }
  restore();
  if (columnSort) SortDone();
}

void TGridSorter::SortByColumn() {
  if (Options.Column < 0) return;
  if (static_cast<Integer>(unsorted_.size()) != model_.RowCount()) ResetUnsortedOrder();
  indexes_.Clear();
  RunSort(TSortKind::ColumnSort);
}

void TGridSorter::IndexedSort() {
  if (static_cast<Integer>(unsorted_.size()) != model_.RowCount()) ResetUnsortedOrder();
  if (indexes_.Count() == 0) throw ELumGridError("No indexes specified for indexed sort");
  RunSort(TSortKind::Indexed);
}

bool TGridSorter::NodeRow(Integer row, Integer& level, bool& collapsed, Integer& span) const {
  const TCellProperties* props = model_.GetRawObject(0, row);
  const TCellGraphic* graphic = props != nullptr ? props->Graphic() : nullptr;
  if (graphic == nullptr || graphic->CellType != ctNode) return false;
  level = props->NodeLevel;
  collapsed = graphic->CellBoolean;
  span = graphic->CellIndex;
  if (span <= 0) {
    // Up to the next node row.
    const Integer last = model_.LastNormalRow();
    span = 1;
    for (Integer r = row + 1; r <= last; ++r, ++span) {
      const TCellProperties* p = model_.GetRawObject(0, r);
      if (p != nullptr && p->Graphic() != nullptr && p->Graphic()->CellType == ctNode) break;
    }
  }
  return true;
}

void TGridSorter::SortGroups(bool indexed) {
  // The rows as they stood before the spare rows came.
  const Integer last = model_.RowCount() - 3 - model_.FixedFooters() - 1;
  Integer deepest = -1;
  for (Integer row = model_.FixedRows(); row <= last; ++row) {
    Integer level = 0, span = 0;
    bool collapsed = false;
    if (NodeRow(row, level, collapsed, span)) deepest = std::max(deepest, level);
  }
  if (deepest < 0) return;
  for (Integer row = model_.FixedRows(); row <= last; ++row) {
    Integer level = 0, span = 0;
    bool collapsed = false;
    if (!NodeRow(row, level, collapsed, span) || level != deepest || collapsed || span - 1 <= 1) continue;
    const Integer to = std::min(row + span - 1, last);
    if (!indexed) {
      QuickSortRows(Options.Column, row + 1, to);
    } else {
      SpareRows nested(*this);
      QuickSortRowsIndexed(row + 1, to);
    }
  }
}

void TGridSorter::GroupSortRows(bool indexed) {
  if (static_cast<Integer>(unsorted_.size()) != model_.RowCount()) ResetUnsortedOrder();
  // An empty index would still swap rows it has no order for.
  if (indexed && indexes_.Count() == 0) throw ELumGridError("No indexes specified for indexed sort");
  if (!indexed && Options.Column < 0) return;
  RunSort(indexed ? TSortKind::GroupIndexed : TSortKind::Group);
}

void TGridSorter::UnSort() {
  if (static_cast<Integer>(unsorted_.size()) != model_.RowCount()) ResetUnsortedOrder();
  std::vector<Integer> work = unsorted_;
  const bool keepColumn0 = Options.NormalCellsOnly && model_.FixedCols() > 0;
  std::vector<AnsiString> column0;
  if (keepColumn0)
    for (Integer row = 0; row < model_.RowCount(); ++row) column0.push_back(model_.GetRawCell(0, row));
  BeginUpdate();
  auto restore = [&] {
    if (keepColumn0)
      for (Integer row = 0; row < model_.RowCount(); ++row) model_.SetRawCell(0, row, column0[row]);
    EndUpdate();
  };
  try {
    followed_ = CurrentRow();
    QuickSortUnsortedOrder(work, 0, model_.RowCount() - 1);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

TClickSortRun TGridSorter::ClickSort(Integer col, bool indexKeyDown, bool grouped) {
  if (static_cast<Integer>(unsorted_.size()) != model_.RowCount()) ResetUnsortedOrder();
  const bool initAscending = Options.InitSortDirection == sdAscending;
  if (Options.IndexShow) {
    if (indexKeyDown) {
      if (indexes_.FindSortColumn(col) < 0)
        indexes_.AddSortColumn(col, initAscending);
      else
        indexes_.ToggleSortDirection(col);
    } else if (indexes_.Count() == 1 && indexes_.SortColumnAt(0) == col) {
      indexes_.ToggleSortDirection(col);
    } else {
      indexes_.Clear();
      indexes_.AddSortColumn(col, initAscending);
    }
    if (grouped)
      GroupIndexedSort();
    else
      IndexedSort();
    Options.Column = indexes_.Count() > 0 ? indexes_.SortColumnAt(0) : -1;
    return TClickSortRun::csIndexedSort;
  }
  bool undo = false;
  if (col == Options.Column) {
    const TSortDirection before = Options.Direction;
    Options.Direction = before == sdAscending ? sdDescending : sdAscending;
    undo = before != Options.InitSortDirection && Options.UndoSort;
  } else {
    Options.Direction = Options.InitSortDirection;
    Options.Column = col;
  }
  if (grouped) {
    GroupSort();
    return TClickSortRun::csSort;
  }
  if (undo) {
    UnSort();
    Options.Column = -1;
    return TClickSortRun::csUnSort;
  }
  SortByColumn();
  return TClickSortRun::csSort;
}

}  // namespace grid
