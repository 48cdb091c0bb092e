#pragma once
// Header texts and the marking of a search text in cells, without a
// window.
#include <map>
#include <string_view>
#include <utility>

#include "grid/model/GridModel.h"

namespace grid {

// A header entry as a cell holds it: each backslash-n pair a line break
// (carriage return).
AnsiString HeaderCellText(std::string_view entry);

// Cells from (Left, Top) to (Right, Bottom), both included.
struct TMarkRange {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = -1;
  Integer Bottom = -1;
};

// Marks a search text in cells with "hi" tags through the mini-HTML
// highlighter and takes the marks off again. Marking a cell whose visible
// text holds '<' or '>' rewrites it (tags dropped, the characters escaped),
// so each marked cell's text is remembered and un-marking a cell that
// still holds what marking left gives it back byte for byte; a cell
// changed since is un-marked by the rule (hi tags dropped, "&lt;" and
// "&gt;" turned back); a cell never marked is left as it is.
class TCellMarks {
 public:
  void Mark(TGridModel& model, const TMarkRange& range, bool matchCase, std::string_view text);
  void Unmark(TGridModel& model, const TMarkRange& range);
  Integer Remembered() const { return static_cast<Integer>(texts_.size()); }

 private:
  // (column, row) -> (text before the first mark, text the marks left)
  std::map<std::pair<Integer, Integer>, std::pair<AnsiString, AnsiString>> texts_;
};

}  // namespace grid
