#pragma once
// Controls that show a column of rows a page at a time and scroll by
// whole rows (the list box, the list view) keep their top row and their
// vertical scroll bar by these rules: the top row never leaves the rows
// above the last full page, and the bar counts one position per row.
#include "vcl/Controls.h"

namespace vcl {

// Brings top back into range and sets the control's vertical bar to
// count rows, a page of page rows, at top (once the window exists).
void SyncRowScrollBar(TWinControl* control, Integer& top, Integer count, Integer page);
// Moves top towards wanted, within range; false when it stays where it
// was. The bar follows; repainting is the caller's.
bool ScrollRowsTo(TWinControl* control, Integer& top, Integer wanted, Integer count, Integer page);
// The top row a WM_VSCROLL request (its WParam) asks for: a row or a page
// up or down, the thumb's position, the first or the last row.
Integer RowScrollRequest(WPARAM wParam, Integer top, Integer count, Integer page);

}  // namespace vcl
