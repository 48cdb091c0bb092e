#pragma once
// Which text a cell shows and how it is drawn, decided without a window:
// the text kind (a formula shows its unformatted display text), password
// masking, links shown without their scheme, the first line of a single-line
// cell, and the text-drawing flags of the cell's alignment, wrapping and
// ellipsis. The painter only executes the plan.
#include "grid/model/GridTypes.h"
#include "grid/model/GridUtils.h"

namespace grid {

// The desktop's text-drawing flags, as the class library's DrawText takes
// them.
namespace drawtext {
inline constexpr Cardinal Left = 0x0;
inline constexpr Cardinal Center = 0x1;
inline constexpr Cardinal Right = 0x2;
inline constexpr Cardinal Top = 0x0;
inline constexpr Cardinal VCenter = 0x4;
inline constexpr Cardinal Bottom = 0x8;
inline constexpr Cardinal WordBreak = 0x10;
inline constexpr Cardinal SingleLine = 0x20;
inline constexpr Cardinal ExpandTabs = 0x40;
inline constexpr Cardinal NoPrefix = 0x800;
inline constexpr Cardinal EditControl = 0x2000;
inline constexpr Cardinal EndEllipsis = 0x8000;
inline constexpr Cardinal RtlReading = 0x20000;
}  // namespace drawtext

struct TCellTextInput {
  AnsiString Text;        // the formatted display text
  AnsiString FilterText;  // the display text unformatted (what a formula shows)
  bool EnableHTML = true;
  bool Password = false;
  bool URLShow = false;
  bool URLFull = false;
  bool WordWrap = true;
  bool Multilinecells = false;
  bool EnhTextSize = false;
  TAlignment HAlign = taLeftJustify;
  TVAlignment VAlign = vtaTop;
  bool RightToLeft = false;
};

struct TCellTextPlan {
  TTextKind Kind = TTextKind::tkPlain;
  AnsiString Shown;
  // For plain, formula and wide text; 0 for HTML and rich text, which their
  // renderers lay out.
  Cardinal Flags = 0;
  // Drawn underlined in the link colour.
  bool Link = false;
};

TCellTextPlan PlanCellText(const TCellTextInput& in);

// ===== where plain text and the sort indicator go =====

// A rectangle of pixels, right and bottom exclusive.
struct TTextRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr bool operator==(const TTextRect&) const = default;
};

struct TTextLayoutInput {
  // The cell's content rectangle once the margins and the graphic's room
  // are taken off.
  TTextRect Text;
  // The content rectangle as the cell gives it (the sort indicator is
  // placed on it).
  TTextRect Content;
  TAlignment HAlign = taLeftJustify;
  TVAlignment VAlign = vtaTop;
  // The sort indicator applies to this header cell (shown, on the sort
  // row, on the sort column or one of the index-sort columns).
  bool SortIndicator = false;
  // The indicator is drawn (its index position below 1, or IndexShow).
  bool SortIndicatorDrawn = true;
  // The room the indicator reserves: 14 in row 0 of a sorted column.
  Integer SortSpace = 0;
  // A filter button sits at the cell's right.
  bool FilterGlyph = false;
  // The offset a graphic left of the text records for the indicator.
  Integer GraphicOffset = 0;
  // The shown text's width in the cell's font.
  Integer TextWidth = 0;
};

struct TTextLayout {
  TTextRect Text;  // where the text is drawn
  bool Indicator = false;
  Integer IndicatorX = 0;
  Integer IndicatorY = 0;
};

// The text rectangle of plain and formula text and the sort indicator's
// point: a centred header moves right by 10; the sort space comes off the
// right of left-aligned text and off the left of the others; a filter
// button takes 16 on the right. The indicator sits 10 pixels after
// left-aligned text (after a left graphic's offset), 10 before
// right-aligned text, 8 from the left of centred text; at 8 from the top,
// mid-height or 8 from the bottom. Text wider than the room counts as the
// room less 16, never below 0.
TTextLayout PlanPlainTextLayout(const TTextLayoutInput& in);

}  // namespace grid
