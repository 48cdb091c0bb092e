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

}  // namespace grid
