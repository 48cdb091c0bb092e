#pragma once
// The grid's filter: column conditions in the condition language of
// FilterCondition.h, a row's test against them, and the filter as one
// hiding level of the hidden-row store (the failing data rows taken out
// together, put back together when the filter is switched off, rows hidden
// singly before or after staying hidden). Also the value list a column
// offers for choosing a condition.
#include <functional>

#include "grid/model/GridModel.h"
#include "grid/model/GridTypes.h"
#include "rtl/Collection.h"
#include "rtl/StringList.h"

namespace grid {

// Which text of a cell a condition tests: the display text, the stored
// text, the display text without tags, the owner's filter text, or the
// whole row.
enum class TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
using enum TFilterCells;
// How a condition's result joins those before it; foSHORT stops at the
// first failing condition.
enum class TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
using enum TFilterOperation;

// One filter condition on a column.
class TFilterData : public rtl::TCollectionItem {
 public:
  explicit TFilterData(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
  int16_t Column = 0;  // a small integer, as stored
  AnsiString Condition;
  bool CaseSensitive = true;
  TFilterCells Data = fcVirtual;
  AnsiString Prefix;
  AnsiString Suffix;
  TFilterOperation Operation = foSHORT;
  void Assign(const TFilterData& source);
};

// The conditions of the grid's filter.
class TFilter : public rtl::TCollectionOf<TFilterData> {
 public:
  // The first condition on the column, made when there is none.
  TFilterData* ColumnFilter(Integer column);
  // The other filter's conditions in place of these.
  void Assign(const TFilter& source);
};

// The filter working on a model.
class TRowFilter {
 public:
  explicit TRowFilter(TGridModel& model) : model_(model) {}

  // The owner's filter text of a cell (fcCalculated); the display text
  // when unset.
  std::function<void(Integer col, Integer row, AnsiString& text)> FilterCellText;
  // The last word on each row.
  std::function<void(Integer row, bool& accept)> OnCustomFilter;
  // Percent of the data rows tested.
  std::function<void(Integer percent)> OnProgress;

  // The text a condition tests in a row (display row), wide text decoded,
  // the prefix and suffix taken off.
  AnsiString ConditionText(const TFilterData& condition, Integer row);
  // Whether the row (display row) passes the conditions in order; an
  // error while a condition is matched fails that condition.
  bool MatchFilter(const TFilter& filter, Integer row);

  // Hides every failing data row as one hiding level and remembers the
  // fixed rows; match decides (MatchFilter when unset). Nothing while the
  // filter is on.
  void Apply(const TFilter& filter, const std::function<bool(Integer row)>& match = {});
  // Shows the filter's level again and gives back the fixed rows as they
  // were when it was applied. Nothing while the filter is off.
  void Remove();
  bool Active() const { return active_; }
  Integer RememberedFixedRows() const { return fixedRows_; }

  // The value list of a column: with autoFill and a column past the fixed
  // ones, the distinct trimmed display texts of every data row, hidden
  // rows included, sorted (a text with a blank as the entry text="text"),
  // then clearEntry first when not empty. True when the list has entries
  // (the caller may change it before asking).
  bool ColumnValues(Integer column, bool autoFill, const AnsiString& clearEntry, rtl::TStringList& list);
  // An entry's two parts: what the user sees (before the first "=") and
  // the condition (after it); both the whole entry when it has no "=".
  static void SplitEntry(const AnsiString& entry, AnsiString& friendlyName, AnsiString& condition);

 private:
  TGridModel& model_;
  bool active_ = false;
  Integer fixedRows_ = 0;
  Integer level_ = 0;
};

}  // namespace grid
