#pragma once
// The grid's type-ahead row lookup: the lookup text a typed character
// leaves (appended, or the character alone; Backspace takes the last one
// off) and the first row whose text starts with it, without case.
#include <functional>

#include "grid/model/GridTypes.h"

namespace grid {

AnsiString NextLookupText(const AnsiString& current, char typed, bool incremental);
// Rows firstRow .. rowCount - 1 in order; -1 when none matches or the
// lookup text is empty.
Integer FindLookupRow(const std::function<AnsiString(Integer row)>& rowText, Integer firstRow, Integer rowCount,
                      const AnsiString& lookup);

// The lookup expires on the fourth tick of the grid's timer without a key.
class TLookupExpiry {
 public:
  // A typed character starts the count again.
  void Typed() { ticks_ = 0; }
  // True on the tick that expires the lookup text (the count starts again).
  bool Tick() {
    if (ticks_ == 3) {
      ticks_ = 0;
      return true;
    }
    ++ticks_;
    return false;
  }

 private:
  Integer ticks_ = 0;
};

}  // namespace grid
