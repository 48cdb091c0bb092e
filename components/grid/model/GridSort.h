#pragma once
// Sorting the grid's rows: how two cells of a column compare (a sort style
// per column, chosen from the contents or given by the owner), the column,
// indexed and grouped sorts and the way back to the order before sorting.
//
// The sorts are Hoare partitions whose pivot lives in a spare row below the
// grid, so comparisons read cells in place and a swap moves two row handles
// (texts, properties and height together). Their pivot and swap rules decide
// where equal rows end up, and a comparison that is no consistent order (the
// automatic style is chosen per comparison from the first cell) still keeps
// every index inside the range being sorted.
#include <vector>

#include "grid/model/GridEnvironment.h"
#include "grid/model/GridLists.h"
#include "grid/model/GridModel.h"

namespace grid {

// How the cells of a column compare when sorting.
enum class TSortStyle {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
  ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssUnicode,
  ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};
using enum TSortStyle;
enum class TSortDirection { sdAscending, sdDescending };
using enum TSortDirection;
enum class TSortBlankPosition { blFirst, blLast };
using enum TSortBlankPosition;

// The collation of the user's locale (ICU): case-sensitive at tertiary
// strength, without case at secondary strength (accents still count). Falls
// back to the ordinal collation when ICU cannot open the locale.
const Collator& LocaleCollator();

// The settings the sorts read (the grid's SortSettings and the navigation
// and mouse settings that steer the current row).
struct TSortOptions {
  Integer Column = -1;
  TSortDirection Direction = sdAscending;
  TSortDirection InitSortDirection = sdAscending;
  bool AutoFormat = true;
  bool IgnoreCase = false;
  bool IgnoreBlanks = false;
  TSortBlankPosition BlankPos = blFirst;
  bool Full = true;
  bool SingleColumn = false;
  bool NormalCellsOnly = false;
  bool SortOnVirtualCells = true;
  bool IndexShow = false;
  bool UndoSort = false;
  // Navigation.MoveRowOnSort, Navigation.KeepScrollOnSort,
  // MouseActions.DisjunctRowSelect, ShowModified.Enabled.
  bool MoveRowOnSort = false;
  bool KeepScrollOnSort = false;
  bool DisjunctRowSelect = false;
  bool ShowModified = false;
};

// What a header click ran.
enum class TClickSortRun { csNone, csSort, csIndexedSort, csUnSort };

class TGridSorter {
 public:
  explicit TGridSorter(TGridModel& model);
  TGridSorter(const TGridSorter&) = delete;
  TGridSorter& operator=(const TGridSorter&) = delete;
  virtual ~TGridSorter() = default;

  TGridModel& Model() const { return model_; }
  TSortOptions Options;
  // Columns that compare as equal and do not sort on a header click.
  TIntList& IgnoredColumns() { return ignored_; }
  TSortIndexList& SortIndexes() { return indexes_; }
  // Not owned; null: the locale's collation and the current settings.
  const Collator* CellCollator = nullptr;
  const LocaleSettings* Locale = nullptr;

  // The index each row had before sorting.
  const std::vector<Integer>& UnsortedOrder() const { return unsorted_; }
  void ResetUnsortedOrder();
  // The row that was current when the running sort began, kept up to date
  // by every swap.
  Integer FollowedRow() const { return followed_; }

  // 1 when the cell of row1 sorts after that of row2, -1 before, 0 equal
  // (in ascending terms; descending only steers where blanks go).
  Integer CompareCells(Integer col, Integer row1, Integer row2, bool descending);
  // With the tie rules: the columns to the right (Full), ignored columns.
  Integer CompareRows(Integer col, Integer row1, Integer row2);
  Integer CompareRowsIndexed(Integer index, Integer row1, Integer row2);

  // Exchanges two rows with all they carry.
  virtual void SwapRows(Integer row1, Integer row2);

  // The non-fixed rows on Options.Column in Options.Direction; nothing when
  // the column is below 0.
  void SortByColumn();
  // The non-fixed rows on the sort index list; ELumGridError "No indexes
  // specified for indexed sort" when it is empty (nothing changed).
  void IndexedSort();
  // The rows of each deepest expanded group.
  void GroupSort() { GroupSortRows(false); }
  void GroupIndexedSort() { GroupSortRows(true); }
  // Back to the order before sorting.
  void UnSort();

  // A click on the sort header of a column: the index built (IndexShow,
  // with the index key held or not) or the column and direction chosen
  // (UndoSort's third click restores), then the sort run. The caller has
  // asked OnCanSort and ended any edit.
  TClickSortRun ClickSort(Integer col, bool indexKeyDown, bool grouped);

 protected:
  // --- what the owner answers; defaults suit a bare model ---
  virtual void GetFormat(Integer col, TSortStyle& style, AnsiString& prefix, AnsiString& suffix) {}
  virtual Integer CustomCompare(const AnsiString& text1, const AnsiString& text2) { return 0; }
  virtual Integer RawCompare(Integer col, Integer row1, Integer row2) { return 0; }
  // The check-box state of a check-box cell (its flag, or for a data check
  // box its text against "Y").
  virtual bool CheckBoxChecked(Integer col, Integer row);
  // Display-text events are assigned: the pivot keeps each cell's display
  // text.
  virtual bool HasDisplayTextEvent() const;
  // Marks kept beside the rows (modified, disjunct) follow a swap.
  virtual void SwapRowMarks(Integer row1, Integer row2) {}
  virtual Integer CurrentRow() const { return currentRow_; }
  virtual void SetCurrentRow(Integer row) { currentRow_ = row; }
  virtual Integer TopRow() const { return 0; }
  virtual void SetTopRow(Integer row) {}
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}
  // OnRowUpdate after a column sort; the remembered old row forgotten.
  virtual void RowUpdate(Integer oldRow, Integer newRow) {}
  virtual void ForgetRowUpdate() {}
  virtual void SortDone() {}

  Integer currentRow_ = 1;

 private:
  // The cell's properties; the pivot row's for the spare row it stands in.
  TCellProperties* PropsOf(Integer col, Integer row) const;
  AnsiString SortText(Integer col, Integer row);
  Integer CompareNumbers(Integer col, Integer row1, Integer row2, AnsiString& text1, AnsiString& text2,
                         const AnsiString& prefix, const AnsiString& suffix, bool financial);
  Integer ImageKey(Integer col, Integer row) const;
  void TakePivot(Integer row);
  void QuickSortRows(Integer col, Integer lo, Integer hi);
  void QuickSortRowsIndexed(Integer lo, Integer hi);
  void QuickSortUnsortedOrder(std::vector<Integer>& work, Integer lo, Integer hi);
  // Three spare rows under the grid for the pivot, with the display-text
  // limit at the first; undone by the returned guard's end.
  struct SpareRows;
  enum class TSortKind { ColumnSort, Indexed, Group, GroupIndexed };
  void RunSort(TSortKind kind);
  void SortGroups(bool indexed);
  bool NodeRow(Integer row, Integer& level, bool& collapsed, Integer& span) const;
  void GroupSortRows(bool indexed);

  TGridModel& model_;
  TIntList ignored_;
  TSortIndexList indexes_;
  std::vector<Integer> unsorted_;
  Integer followed_ = -1;
  Integer pivot_ = -1;                  // the spare row the pivot is in
  const TGridRow* pivotRow_ = nullptr;  // the row it was copied from
};

}  // namespace grid
