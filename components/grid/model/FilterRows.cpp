#include "grid/model/FilterRows.h"

#include <vector>

#include "grid/model/FilterCondition.h"
#include "grid/model/GridUtils.h"
#include "grid/model/HtmlText.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"

namespace grid {

void TFilterData::Assign(const TFilterData& source) {
  Column = source.Column;
  Condition = source.Condition;
  CaseSensitive = source.CaseSensitive;
  Data = source.Data;
  Prefix = source.Prefix;
  Suffix = source.Suffix;
  Operation = source.Operation;
}

TFilterData* TFilter::ColumnFilter(Integer column) {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->Column == column) return Items(i);
  TFilterData* added = Add();
  added->Column = static_cast<int16_t>(column);
  return added;
}

void TFilter::Assign(const TFilter& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(*source.Items(i));
  EndUpdate();
}

namespace {

AnsiString DecodedFilterText(AnsiString text) {
  if (text.find("|\\") != AnsiString::npos) return rtl::WideToUtf8(DecodeWideText(text));
  return text;
}

}  // namespace

AnsiString TRowFilter::ConditionText(const TFilterData& condition, Integer row) {
  const Integer col = condition.Column;
  AnsiString text;
  switch (condition.Data) {
    case fcVirtual: text = model_.GetDisplayCell(col, row); break;
    case fcNormal: text = model_.GetRawCell(col, row); break;
    case fcStripHTML: text = StripHTML(model_.GetDisplayCell(col, row)); break;
    case fcCalculated:
      text = model_.GetDisplayCell(col, row);
      if (FilterCellText) FilterCellText(col, row, text);
      break;
    case fcRow:
      for (Integer c = 0; c < model_.ColCount(); ++c) {
        text += model_.GetRawCell(c, row);
        text += "\r\n";
      }
      break;
  }
  text = DecodedFilterText(std::move(text));
  if (condition.Data == fcRow) return text;
  if (!condition.Prefix.empty() && rtl::StartsStr(condition.Prefix, text)) text.erase(0, condition.Prefix.size());
  if (!condition.Suffix.empty()) {
    const size_t at = text.find(condition.Suffix);
    if (at != AnsiString::npos && at + condition.Suffix.size() == text.size()) text.erase(at);
  }
  return text;
}

bool TRowFilter::MatchFilter(const TFilter& filter, Integer row) {
  bool result = true;
  for (Integer i = 0; i < filter.Count(); ++i) {
    const TFilterData& condition = *filter.Items(i);
    bool passed = false;
    // A condition on a column the grid lacks cannot hold.
    if ((condition.Data == fcRow || (condition.Column >= 0 && condition.Column < model_.ColCount())) && row >= 0 &&
        row < model_.RowCount()) {
      try {
        const AnsiString text = ConditionText(condition, row);
        if (condition.Data == fcRow)
          passed = rtl::AnsiUpperCase(text).find(rtl::AnsiUpperCase(condition.Condition)) != AnsiString::npos;
        else
          passed = condition.Condition.empty() ||
                   MatchFilterExpression(condition.Condition, text, condition.CaseSensitive);
      } catch (const rtl::Exception&) {
        passed = false;
      }
    }
    switch (condition.Operation) {
      case foSHORT:
        result = passed;
        if (!result) i = filter.Count();
        break;
      case foNONE: result = passed; break;
      case foAND: result = result && passed; break;
      case foXOR: result = result != passed; break;
      case foOR: result = result || passed; break;
    }
  }
  if (OnCustomFilter) OnCustomFilter(row, result);
  return result;
}

void TRowFilter::Apply(const TFilter& filter, const std::function<bool(Integer row)>& match) {
  if (active_) return;
  fixedRows_ = model_.FixedRows();
  const Integer first = model_.FixedRows();
  const Integer end = model_.RowCount() - model_.FixedFooters();
  const Integer total = end - first;
  std::vector<Integer> failing;
  Integer count = 0;
  auto report = [&] {
    if (OnProgress && total > 0)
      OnProgress(static_cast<Integer>(rtl::Round(static_cast<double>(count) / total * 100.0)));
  };
  for (Integer row = first; row < end; ++row) {
    if (!(match ? match(row) : MatchFilter(filter, row))) failing.push_back(row);
    ++count;
    report();
  }
  model_.HideRowList(failing);
  level_ = model_.HiddenRowLevel();
  active_ = true;
  report();
}

void TRowFilter::Remove() {
  if (!active_) return;
  active_ = false;
  // Levels hidden on top of the filter's (node rows collapsed all at once)
  // come back with it: the filter's rows stand among theirs.
  while (model_.HiddenRowLevel() >= level_ && model_.HiddenRowLevel() > 0) model_.UnHideRowsLevel();
  if (fixedRows_ < model_.RowCount() && fixedRows_ != model_.GridFixedRows()) model_.SetFixedRows(fixedRows_);
}

bool TRowFilter::ColumnValues(Integer column, bool autoFill, const AnsiString& clearEntry, rtl::TStringList& list) {
  list.Clear();
  if (autoFill && column >= model_.FixedCols() && column < model_.ColCount()) {
    list.SetSorted(true);
    list.SetDuplicates(rtl::dupIgnore);
    const Integer end = model_.AllRowCount() - model_.FixedFooters();
    for (Integer real = model_.FixedRows(); real < end; ++real) {
      const AnsiString text = rtl::Trim(model_.RealCells(column, real));
      if (text.find(' ') != AnsiString::npos)
        list.Add(text + "=\"" + text + "\"");
      else
        list.Add(text);
    }
    list.SetSorted(false);
    if (!clearEntry.empty()) list.Insert(0, clearEntry);
  }
  return list.Count() > 0;
}

void TRowFilter::SplitEntry(const AnsiString& entry, AnsiString& friendlyName, AnsiString& condition) {
  const size_t eq = entry.find('=');
  if (eq == AnsiString::npos) {
    friendlyName = entry;
    condition = entry;
  } else {
    friendlyName = entry.substr(0, eq);
    condition = entry.substr(eq + 1);
  }
}

}  // namespace grid
