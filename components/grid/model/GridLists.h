#pragma once
// Integer lists the grid keeps per cell or per grid (automatic merge
// columns, sort columns, marked rows), each with the cell it belongs to and
// a change notification that the grid wires to the work the list drives.
#include <functional>
#include <vector>

#include "grid/model/GridTypes.h"

namespace grid {

class TIntList {
 public:
  using TChangeEvent = std::function<void(TIntList* sender, Integer col, Integer row)>;

  // A list belonging to a cell; (-1, -1) or (0, 0) for none.
  explicit TIntList(Integer col = -1, Integer row = -1) : col_(col), row_(row) {}
  TIntList(const TIntList&) = delete;
  TIntList& operator=(const TIntList&) = delete;
  virtual ~TIntList() = default;

  Integer OwnerCol() const { return col_; }
  Integer OwnerRow() const { return row_; }
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // Index errors raise EListError "List index out of bounds (%d)".
  Integer Items(Integer index) const;
  Integer operator[](Integer index) const { return Items(index); }
  const std::vector<Integer>& Values() const { return items_; }

  // These notify once after the change.
  void SetItem(Integer index, Integer value);
  void Add(Integer value);
  void Delete(Integer index);
  // Deletes the first occurrence; nothing (and no notification) when absent.
  void DeleteValue(Integer value);
  // These do not notify.
  void Insert(Integer index, Integer value);
  void Clear() { items_.clear(); }

  bool HasValue(Integer value) const;
  Integer IndexOf(Integer value) const;
  // The values in decimal joined by "," without blanks.
  AnsiString AsText() const;
  // Clears without notifying, then adds each comma-text part read as an
  // integer (one notification each); a part that is no integer raises
  // EConvertError, the parts before it staying added.
  void SetAsText(const AnsiString& text);

  TChangeEvent OnChange;

 protected:
  void Changed();

 private:
  void CheckIndex(Integer index, bool allowEnd) const;

  Integer col_;
  Integer row_;
  std::vector<Integer> items_;
};

// Sort columns: the column in bits 0-30, bit 31 set for a descending sort.
class TSortIndexList : public TIntList {
 public:
  using TIntList::TIntList;
  static constexpr Integer DescendingBit = static_cast<Integer>(0x80000000u);

  void AddSortColumn(Integer col, bool ascending);
  // Position of the first entry for the column; -1 when none.
  Integer FindSortColumn(Integer col) const;
  Integer SortColumnAt(Integer index) const;
  bool SortAscendingAt(Integer index) const;
  void ToggleSortDirection(Integer col);
};

}  // namespace grid
