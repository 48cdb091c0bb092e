#pragma once
// Which colours and font a cell is painted with, and what its fixed-cell
// look adds, decided without a window: the precedence of the cell's own
// colour, bands, the fixed colour and the look's gradient set, the
// active-cell header, the sorted column's header, hovering and selection.
// The painter only executes the plan, and only for the cells it shows.
#include "grid/model/GridTypes.h"

namespace grid {

enum class TPaintLook { plStandard, plSoft, plClassic, plRUZ, plXP, plListView, plVista, plWin7, plOffice2007, plCustom };

// A fill of the fixed-cell look: gradient From->To in the upper half,
// MirrorFrom->MirrorTo in the lower one, framed in Border (clNone: no frame).
struct TLookFill {
  TColor From = clNone;
  TColor To = clNone;
  TColor MirrorFrom = clNone;
  TColor MirrorTo = clNone;
  TColor Border = clNone;
  // Only the side lines of the frame, in Border.
  bool SideLinesOnly = false;
  constexpr bool operator==(const TLookFill&) const = default;
};

enum class TPlanFont { pfFont, pfFixedFont, pfActiveCellFont };

// ffListView: the desktop theme's header item (a plain button-face box
// without visual styles).
enum class TFixedFillKind { ffNone, ffHover, ffPressed, ffActiveHeader, ffSortHeader, ffLook, ffListView };

enum class TFixedEdges { feNone, feClassic, feRUZ, feSoft };

struct TCellPaintInput {
  TPaintLook Look = TPaintLook::plXP;
  bool Flat = false;
  // Fixed by position (below FixedCols or FixedRows), or by the grid's
  // fixed-cell rule (footers, right columns, OnIsFixedCell).
  bool FixedPosition = false;
  bool FixedByRule = false;
  // The cell's properties' colours (clNone when unset or when display
  // fonts are off for printing).
  TColor OwnColor = clNone;
  TColor OwnColorTo = clNone;
  // The cell holds a check box, radio, button or similar control.
  bool ControlCell = false;
  TColor Color = clWindow;
  TColor FixedColor = clBtnFace;
  // The look's fixed-cell gradient set and the hover and pressed sets.
  TLookFill FixedSet;
  TLookFill HoverSet;
  TLookFill PressedSet;
  // Bands: the row's band colour when the cell lies in the band area of an
  // active band, else clNone.
  TColor BandColor = clNone;
  // Active-cell header: ActiveCellShow and the cell heads the current row
  // or column.
  bool ActiveHeader = false;
  TColor ActiveCellColor = 0x808080;
  TColor ActiveCellColorTo = clNone;
  // The sorted column's header cell with a header colour set.
  bool SortHeader = false;
  TLookFill SortHeaderSet;
  // The hovered fixed cell under HoverFixedCells, and whether it is pressed.
  bool Hovered = false;
  bool Pressed = false;
  // Selection: the cell lies in the selection, or carries gdSelected.
  bool Selected = false;
  bool Focused = false;
  bool ShowSelection = true;
  TColor SelectionColor = 0xEACAB6;
  TColor SelectionColorTo = clNone;
  TColor SelectionMirrorColor = clNone;
  TColor SelectionMirrorColorTo = clNone;
  TColor SelectionTextColor = 0;
  // The row is marked modified and ShowModified is on, in column 0.
  bool ModifiedMark = false;
  TColor ModifiedColor = 0x00FFFF;
};

struct TCellPaintPlan {
  TPlanFont Font = TPlanFont::pfFont;
  // The cell frame's fill: Brush to ColorTo, mirrored MirrorColor to
  // MirrorColorTo.
  TColor Brush = clNone;
  TColor ColorTo = clNone;
  TColor MirrorColor = clNone;
  TColor MirrorColorTo = clNone;
  bool Fixed = false;
  bool Selected = false;
  bool OwnColor = false;
  // The font colour the selection imposes (clNone: the cell's own).
  TColor FontColor = clNone;
  // The look's fill over the content rectangle.
  TFixedFillKind FixedFill = TFixedFillKind::ffNone;
  TLookFill Fill;
  TFixedEdges Edges = TFixedEdges::feNone;
  // A 4-pixel mark at the cell's right in this colour (clNone: none).
  TColor ModifiedMark = clNone;
};

TCellPaintPlan PlanCellPaint(const TCellPaintInput& in);

}  // namespace grid
