// What the grid's form tests send and read alike: a left-button click as
// the class library's press and release messages, and a column's texts
// as a list.
#pragma once

#include <string>
#include <vector>

#include "rtl/Types.h"
#include "vcl/Controls.h"
#include "vcl/Grids.h"
#include "vcl/Messages.h"

namespace grid_test {

using rtl::Integer;

using Texts = std::vector<std::string>;

inline void Press(vcl::TControl* c, Integer x, Integer y) {
  c->Perform(vcl::WM_LBUTTONDOWN, vcl::MK_LBUTTON, vcl::MakeLParam(x, y));
}

inline void Release(vcl::TControl* c, Integer x, Integer y) { c->Perform(vcl::WM_LBUTTONUP, 0, vcl::MakeLParam(x, y)); }

inline void Click(vcl::TControl* c, Integer x, Integer y) {
  Press(c, x, y);
  Release(c, x, y);
}

// The texts of a column from row `from` through row `to` (-1: the last row).
inline Texts ColumnTexts(const vcl::TStringGrid* g, Integer col, Integer from = 1, Integer to = -1) {
  if (to < 0) to = g->RowCount() - 1;
  Texts out;
  for (Integer r = from; r <= to; ++r) out.push_back(g->Cells(col, r));
  return out;
}

}  // namespace grid_test
