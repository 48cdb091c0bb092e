#include "grid/model/CellPaint.h"

namespace grid {

namespace {

bool GradientLook(TPaintLook look) {
  switch (look) {
    case TPaintLook::plRUZ:
    case TPaintLook::plXP:
    case TPaintLook::plVista:
    case TPaintLook::plWin7:
    case TPaintLook::plOffice2007:
      return true;
    default:
      return false;
  }
}

}  // namespace

TCellPaintPlan PlanCellPaint(const TCellPaintInput& in) {
  TCellPaintPlan plan;
  plan.Font = in.FixedPosition ? TPlanFont::pfFixedFont : TPlanFont::pfFont;

  // The cell's own colour; a control cell is filled with it only when set.
  if (in.OwnColor != clNone) {
    plan.Brush = in.OwnColor;
    plan.ColorTo = in.OwnColorTo;
    plan.OwnColor = true;
  }
  if (plan.Brush == clNone) {
    plan.Brush = in.BandColor != clNone ? in.BandColor : in.Color;
    if (in.FixedPosition) plan.Brush = in.FixedColor;
  }

  const bool fixed = in.FixedPosition || in.FixedByRule;
  if (fixed && !plan.OwnColor) {
    plan.Brush = in.FixedColor;
    plan.Font = TPlanFont::pfFixedFont;
    plan.Fixed = true;
    // Looks above the classic one fill their fixed cells with their set.
    if (in.Look > TPaintLook::plClassic) {
      plan.Brush = in.FixedSet.From;
      plan.ColorTo = in.FixedSet.To;
      plan.MirrorColor = in.FixedSet.MirrorFrom;
      plan.MirrorColorTo = in.FixedSet.MirrorTo;
    }
  } else if (fixed) {
    plan.Fixed = true;
  }

  if (in.ActiveHeader) {
    plan.Font = TPlanFont::pfActiveCellFont;
    plan.Brush = in.ActiveCellColor;
  }

  if (!fixed && in.ShowSelection && in.Selected) {
    plan.Selected = true;
    plan.Brush = in.SelectionColor;
    plan.ColorTo = in.SelectionColorTo;
    plan.MirrorColor = in.SelectionMirrorColor;
    plan.MirrorColorTo = in.SelectionMirrorColorTo;
    if (in.SelectionTextColor != clNone) plan.FontColor = in.SelectionTextColor;
    // Without a selection colour an unfocused selected cell shows the
    // system's highlight.
    if (in.SelectionColor == clNone && !in.Focused) plan.Brush = clHighlight;
  }

  if (fixed && !in.Flat && GradientLook(in.Look)) {
    if (in.Hovered) {
      plan.FixedFill = in.Pressed ? TFixedFillKind::ffPressed : TFixedFillKind::ffHover;
      plan.Fill = in.Pressed ? in.PressedSet : in.HoverSet;
    } else if (in.ActiveHeader) {
      plan.FixedFill = TFixedFillKind::ffActiveHeader;
      plan.Fill = {in.ActiveCellColor, in.ActiveCellColorTo, clNone, clNone, clNone, false};
    } else if (in.SortHeader) {
      plan.FixedFill = TFixedFillKind::ffSortHeader;
      plan.Fill = in.SortHeaderSet;
      plan.Fill.Border = clNone;
      plan.Fill.SideLinesOnly = false;
    } else {
      plan.FixedFill = TFixedFillKind::ffLook;
      plan.Fill = {plan.Brush, plan.ColorTo, plan.MirrorColor, plan.MirrorColorTo,
                   in.Look == TPaintLook::plVista ? TColor{0xFFFFFF} : clNone, true};
    }
  }

  if (fixed && !in.Flat && in.Look == TPaintLook::plListView) plan.FixedFill = TFixedFillKind::ffListView;

  if (fixed && !in.Flat) {
    switch (in.Look) {
      case TPaintLook::plClassic:
        plan.Edges = TFixedEdges::feClassic;
        break;
      case TPaintLook::plRUZ:
      case TPaintLook::plXP:
        plan.Edges = TFixedEdges::feRUZ;
        break;
      case TPaintLook::plSoft:
        plan.Edges = TFixedEdges::feSoft;
        break;
      default:
        break;
    }
  }

  if (in.ModifiedMark) plan.ModifiedMark = in.ModifiedColor;
  return plan;
}

}  // namespace grid
