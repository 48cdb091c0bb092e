// The grid's cell painter: it executes the gridmodel paint and text plans
// for the cells the class library walks (the visible ones only).
#include <algorithm>
#include <cmath>

#include "dropdown/HtmlText.h"
#include "grid/GridComponent.h"
#include "grid/draw/GridDraw.h"
#include "grid/model/CellPaint.h"
#include "grid/model/CellText.h"
#include "grid/model/GridUtils.h"
#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "vcl/Pictures.h"
#include "vcl/Gdi.h"
#include "vcl/Graphics.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace grid {

using vcl::gdFixed;
using vcl::gdFocused;
using vcl::gdSelected;

namespace {

TPaintLook PaintLookOf(TGridLook look) { return static_cast<TPaintLook>(static_cast<int>(look)); }

bool IsControlCellType(TCellType type) {
  return type == ctCheckBox || type == ctDataCheckBox || type == ctRadio || type == ctButton ||
         type == ctRadioButton;
}

constexpr Integer GridTextMargin = 2;

}  // namespace

void TVadOdizadEzev::SetHoveredFixedCell(Integer col, Integer row, bool pressed) {
  if (col == hoverFixedCol_ && row == hoverFixedRow_ && pressed == fixedPressed_) return;
  const Integer oldCol = hoverFixedCol_, oldRow = hoverFixedRow_;
  hoverFixedCol_ = col;
  hoverFixedRow_ = row;
  fixedPressed_ = pressed;
  if (oldCol >= 0 && oldRow >= 0) InvalidateCellRect(oldCol, oldRow);
  if (col >= 0 && row >= 0) InvalidateCellRect(col, row);
}

void TVadOdizadEzev::SetOverFixedDropDown(bool over) {
  if (overFixedDropDown_ == over) return;
  overFixedDropDown_ = over;
  if (hoverFixedCol_ >= 0 && hoverFixedRow_ >= 0) InvalidateCellRect(hoverFixedCol_, hoverFixedRow_);
}

bool TVadOdizadEzev::IsNode(Integer row) {
  if (row < 0 || row >= RowCount() || ColCount() == 0 || !Model().HasCellProperties(0, row)) return false;
  const TCellGraphic* g = Model().CellProperties(0, row).Graphic();
  return g != nullptr && g->CellType == ctNode;
}

void TVadOdizadEzev::ResolveCellStyle(Integer col, Integer row, TGridDrawState& state, bool print,
                                      bool applySelection, bool mapColumn, vcl::TBrush* brush, vcl::TFont* font,
                                      TCellStyle& style) {
  (void)mapColumn;  // no column is ever hidden: displayed and real columns agree
  TCellPaintInput in;
  in.Look = PaintLookOf(look_);
  in.Flat = flat_;
  in.FixedPosition = col < FixedCols() || row < FixedRows();
  in.FixedByRule = state.Contains(gdFixed) || IsFixed(col, row);
  in.Color = Color();
  in.FixedColor = FixedColor();
  // The fixed footer rows and the fixed right columns wear the fixed colour.
  if (row >= RowCount() - FixedFooters() || col >= ColCount() - FixedRightCols()) in.FixedByRule = true;
  in.FixedSet = {FixedGradientColor(fgFrom), FixedGradientColor(fgTo), FixedGradientColor(fgMirrorFrom),
                 FixedGradientColor(fgMirrorTo), clNone, false};
  in.HoverSet = {FixedGradientColor(fgHoverFrom), FixedGradientColor(fgHoverTo),
                 FixedGradientColor(fgHoverMirrorFrom), FixedGradientColor(fgHoverMirrorTo),
                 FixedGradientColor(fgHoverBorder), false};
  in.PressedSet = {FixedGradientColor(fgDownFrom), FixedGradientColor(fgDownTo),
                   FixedGradientColor(fgDownMirrorFrom), FixedGradientColor(fgDownMirrorTo),
                   FixedGradientColor(fgDownBorder), false};

  bool wordWrap = WordWrap();
  TCellGradientDirection direction = GradientVertical;
  const bool hasProps = Model().HasCellProperties(col, row);
  if (hasProps && (!print || printSettings_->UseDisplayFont)) {
    const TCellProperties& p = Model().CellProperties(col, row);
    const TCellType type = p.Graphic() ? p.Graphic()->CellType : ctNone;
    in.OwnColor = p.BrushColor();
    in.OwnColorTo = p.BrushColorTo();
    in.ControlCell = IsControlCellType(type);
    wordWrap = p.WordWrap();
    direction = p.GradientDirection;
  }
  const TBands* bands = bands_.get();
  if (bands->Active() && (bands->Print == print || !print) && bands->TotalLength() > 0 && col >= FixedCols() &&
      col < ColCount() - FixedRightCols() && row >= FixedRows() && row < RowCount() - FixedFooters()) {
    in.BandColor = (row - FixedRows()) % bands->TotalLength() < bands->PrimaryLength() ? bands->PrimaryColor()
                                                                                       : bands->SecondaryColor();
  }
  in.ActiveHeader = activeCellShow_ && ((col == FixedCols() - 1 && FixedCols() > 0 && row == Row()) ||
                                        (row == FixedRows() - 1 && FixedRows() > 0 && col == Col()));
  in.ActiveCellColor = activeCellColor_;
  in.ActiveCellColorTo = activeCellColorTo_;
  in.ShowSelection = ShowSelection() && !print;
  in.SelectionColor = selectionColor_;
  in.SelectionColorTo = selectionColorTo_;
  in.SelectionMirrorColor = selectionMirrorColor_;
  in.SelectionMirrorColorTo = selectionMirrorColorTo_;
  in.SelectionTextColor = selectionTextColor_;
  in.Focused = state.Contains(gdFocused);

  // Colours before the selection, then the owner's say, then the selection.
  const TCellPaintPlan base = PlanCellPaint(in);
  switch (base.Font) {
    case TPlanFont::pfFixedFont: font->Assign(fixedFont_.get()); break;
    case TPlanFont::pfActiveCellFont: font->Assign(activeCellFont_.get()); break;
    case TPlanFont::pfFont: font->Assign(Font()); break;
  }
  brush->SetColor(base.Brush);
  style.ColorTo = base.ColorTo;
  style.MirrorColor = base.MirrorColor;
  style.MirrorColorTo = base.MirrorColorTo;
  if (base.Fixed) {
    state.Include(gdFixed);
    state.Exclude(gdSelected);
  }
  if (print)
    GetCellPrintColor(col, row, state, brush, font);
  else
    GetCellColor(col, row, state, brush, font);

  // Disjunct row and column marks decide what shows as selected.
  if (applySelection && !base.Fixed && !print && ShowSelection()) {
    if (mouseActions_->DisjunctRowSelect()) {
      const Integer r = mouseActions_->RowSelectPersistent ? Model().RealRowIndex(row) : row;
      if (selectionMarks_.RowMarked(r))
        state = TGridDrawState{gdSelected};
      else
        state.Exclude(gdSelected);
    } else if (mouseActions_->DisjunctColSelect() && row >= FixedRows()) {
      if (selectionMarks_.ColMarked(col))
        state = TGridDrawState{gdSelected};
      else
        state.Exclude(gdSelected);
    } else if (mouseActions_->DisjunctCellSelect()) {
      if (selectionMarks_.CellMarked(col, row))
        state.Include(gdSelected);
      else if (col == Col() && row == Row())
        state.Exclude(gdSelected);
    }
  }
  if (applySelection && state.Contains(gdSelected)) {
    in.Selected = true;
    const TCellPaintPlan selected = PlanCellPaint(in);
    if (selected.Selected) {
      brush->SetColor(selected.Brush);
      style.ColorTo = selected.ColorTo;
      style.MirrorColor = selected.MirrorColor;
      style.MirrorColorTo = selected.MirrorColorTo;
      if (selected.FontColor != clNone) font->SetColor(selected.FontColor);
      direction = GradientVertical;
    }
  }
  GetWordWrap(col, row, wordWrap);
  style.WordWrap = wordWrap;
  style.GradientDirection = direction;
  ResolveCellAlignment(col, row, style.Alignment, style.VAlignment);
}

void TVadOdizadEzev::PaintCellContent(TCanvas* canvas, Integer col, TGridDrawState state, const TRect& r,
                                      Integer row) {
  SetCtl3D(!flat_);
  TRect rc = r;
  TCellStyle style;
  TGridDrawState resolved = state;
  ResolveCellStyle(col, row, resolved, false, false, true, canvas->Brush(), canvas->Font(), style);

  TCellPaintInput in;
  in.Look = PaintLookOf(look_);
  in.Flat = flat_;
  in.FixedPosition = col < FixedCols() || row < FixedRows();
  in.FixedByRule = state.Contains(gdFixed) || IsFixed(col, row);
  in.FixedSet = {canvas->Brush()->Color(), style.ColorTo, style.MirrorColor, style.MirrorColorTo, clNone, false};
  in.HoverSet = {FixedGradientColor(fgHoverFrom), FixedGradientColor(fgHoverTo),
                 FixedGradientColor(fgHoverMirrorFrom), FixedGradientColor(fgHoverMirrorTo),
                 FixedGradientColor(fgHoverBorder), false};
  in.PressedSet = {FixedGradientColor(fgDownFrom), FixedGradientColor(fgDownTo),
                   FixedGradientColor(fgDownMirrorFrom), FixedGradientColor(fgDownMirrorTo),
                   FixedGradientColor(fgDownBorder), false};
  in.ActiveHeader = activeCellShow_ && ((col == FixedCols() - 1 && FixedCols() > 0 && row == Row()) ||
                                        (row == FixedRows() - 1 && FixedRows() > 0 && col == Col()));
  in.ActiveCellColor = activeCellColor_;
  in.ActiveCellColorTo = activeCellColorTo_;
  in.SortHeader = sortSettings_->Column != -1 && sortSettings_->Column == col && sortSettings_->HeaderColor != clNone &&
                  row == FixedRows() - 1 && (col >= FixedCols() || sortSettings_->FixedCols);
  in.SortHeaderSet = {sortSettings_->HeaderColor, sortSettings_->HeaderColorTo, sortSettings_->HeaderMirrorColor,
                      sortSettings_->HeaderMirrorColorTo, clNone, false};
  const bool covered = HoverFixedCells == hfAll || (HoverFixedCells == hfFixedRows && row < FixedRows()) ||
                       (HoverFixedCells == hfFixedColumns && col < FixedCols());
  in.Hovered = covered && col == hoverFixedCol_ && row == hoverFixedRow_ && !(ComponentState().Contains(vcl::csDesigning));
  in.Pressed = fixedPressed_;
  in.ModifiedMark = col == 0 && showModified_->Enabled && IsRowModified(row);
  in.ModifiedColor = showModified_->Color();
  in.SelectionColor = selectionColor_;
  in.Selected = resolved.Contains(gdSelected);
  in.Focused = state.Contains(gdFocused);
  const TCellPaintPlan plan = PlanCellPaint(in);

  if (plan.Selected && selectionColor_ == clNone && !state.Contains(gdFocused))
    canvas->Brush()->SetColor(clHighlight);
  const TColor keptBrush = canvas->Brush()->Color();
  const TColor keptFont = canvas->Font()->Color();

  // The look's fill of a fixed cell.
  if (plan.FixedFill == TFixedFillKind::ffListView) {
    if (vcl::IsThemeActive()) {
      TRect header = rc;
      header.Bottom += 1;
      const vcl::TPoint mouse = ScreenToClient(vcl::GetCursorPos());
      const bool inside = mouse.X >= r.Left && mouse.X < r.Right && mouse.Y >= r.Top && mouse.Y < r.Bottom;
      // HP_HEADERITEM pressed or hot under the mouse, else HP_HEADERITEMRIGHT normal.
      canvas->DrawThemePart("header", inside ? 1 : 3, inside ? (fixedPressed_ ? 3 : 2) : 1, header, nullptr);
      canvas->Pen()->SetColor(clWhite);
      canvas->MoveTo(header.Left, header.Top);
      canvas->LineTo(header.Right, header.Top);
    } else {
      canvas->Pen()->SetColor(clWhite);
      canvas->Brush()->SetColor(clBtnFace);
      canvas->Rectangle(rc);
    }
    canvas->Brush()->SetColor(keptBrush);
  } else if (plan.FixedFill != TFixedFillKind::ffNone) {
    TRect fill = rc;
    const TLookFill& f = plan.Fill;
    if (plan.FixedFill == TFixedFillKind::ffHover || plan.FixedFill == TFixedFillKind::ffPressed) {
      fill.Bottom += 1;
      if (controlLook_->FixedDropDownButton) {
        // The drop-down part and the rest of the cell: the pressed set
        // goes where the mouse is, the hover set to the other part.
        const TLookFill& hover = in.HoverSet;
        const TLookFill& pressed = in.PressedSet;
        const TRect part{fill.Right - 16, fill.Top, fill.Right, fill.Bottom};
        const TRect rest{fill.Left, fill.Top, fill.Right - 16, fill.Bottom};
        auto paint = [&](const TRect& area, const TLookFill& set) {
          DrawCellBackground(canvas, area, set.From, set.To, set.MirrorFrom, set.MirrorTo, true, set.Border, false,
                             true);
        };
        if (plan.FixedFill == TFixedFillKind::ffPressed) {
          paint(part, overFixedDropDown_ ? pressed : hover);
          paint(rest, overFixedDropDown_ ? hover : pressed);
        } else {
          paint(fill, hover);
        }
        canvas->Pen()->SetColor(plan.FixedFill == TFixedFillKind::ffPressed ? pressed.Border : hover.Border);
        canvas->Pen()->SetWidth(1);
        canvas->MoveTo(fill.Right - 16, fill.Top);
        canvas->LineTo(fill.Right - 16, fill.Bottom);
        DrawDropTriangle(canvas, fill.Right - 8, fill.Top + 8, clBlack);
        rc.Right -= 16;
      } else {
        DrawCellBackground(canvas, fill, f.From, f.To, f.MirrorFrom, f.MirrorTo, true, f.Border, false, true);
      }
    } else {
      DrawCellBackground(canvas, fill, f.From, f.To, f.MirrorFrom, f.MirrorTo, true, f.Border, f.SideLinesOnly,
                         true);
    }
  }

  // The row indicator beside the current row.
  Integer indicatorShift = 0;
  if (col == 0 && row == Row() && FixedCols() > 0 && !rowIndicator_->Empty()) {
    const Integer h = rowIndicator_->Height();
    const Integer y = vAlignment_ == vtaTop      ? rc.Top
                      : vAlignment_ == vtaCenter ? rc.Top + (rc.Bottom - rc.Top - h) / 2
                                                 : rc.Bottom - h;
    vcl::TBitmap indicator;
    indicator.Assign(rowIndicator_.get());
    indicator.SetTransparent(true);
    canvas->Draw(rc.Left + 2, y, &indicator);
    indicatorShift = rowIndicator_->Width() + 2;
    rc.Left += indicatorShift;
  }

  // The modified row's mark.
  if (plan.ModifiedMark != clNone) {
    canvas->Pen()->SetColor(plan.ModifiedMark);
    canvas->Brush()->SetColor(plan.ModifiedMark);
    canvas->Rectangle({rc.Right - 4, rc.Top, rc.Right, rc.Bottom});
    canvas->Brush()->SetColor(keptBrush);
  }

  const Integer keptRight = rc.Right;
  // Graphics that stand for the text (data check boxes, progress bars,
  // radio groups, ratings) leave it out.
  const TCellGraphicLayout graphic = GetCellGraphicLayout(RealColIndex(col), row);
  if (graphic.DrawText) PaintCellText(canvas, col, row, resolved, rc, style);

  rc.Right = keptRight;
  canvas->Brush()->SetColor(keptBrush);
  canvas->Font()->SetColor(keptFont);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  rc = {rc.Left - 1, rc.Top - 1, rc.Right + 1, rc.Bottom + 1};

  // The fixed cells' edges of the look.
  const bool fixedHorz = Options().Contains(vcl::goFixedHorzLine);
  const bool fixedVert = Options().Contains(vcl::goFixedVertLine);
  auto line = [canvas](TColor color, Integer x0, Integer y0, Integer x1, Integer y1) {
    canvas->Pen()->SetColor(color);
    canvas->Pen()->SetWidth(1);
    canvas->MoveTo(x0, y0);
    canvas->LineTo(x1, y1);
  };
  const TColor dimmed = DimColor(vcl::ColorToRGB(FixedColor()));
  auto ruzLines = [&](const TRect& e) {
    line(dimmed, e.Left, e.Bottom - 1, e.Right - 1, e.Bottom - 1);
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(e.Right, e.Top + 1);
    canvas->LineTo(e.Left + 1, e.Top + 1);
    canvas->LineTo(e.Left + 1, e.Bottom - 1);
  };
  switch (plan.Edges) {
    case TFixedEdges::feClassic: {
      TRect e{rc.Left + 1, rc.Top + 1, rc.Right, rc.Bottom + 1};
      TRect inner = e;
      canvas->DrawEdge(inner, vcl::BDR_RAISEDINNER, vcl::BF_LEFT | vcl::BF_TOP);
      inner = e;
      canvas->DrawEdge(inner, vcl::EDGE_RAISED, vcl::BF_RIGHT | vcl::BF_BOTTOM);
      canvas->Pen()->SetColor(clBlack);
      canvas->MoveTo(e.Right - 1, e.Top);
      canvas->LineTo(e.Right - 1, e.Bottom - 1);
      canvas->LineTo(e.Left - 1, e.Bottom - 1);
      break;
    }
    case TFixedEdges::feRUZ: {
      const TRect e{rc.Left, rc.Top, rc.Right, rc.Bottom + 1};
      if (fixedHorz) ruzLines(e);
      break;
    }
    case TFixedEdges::feSoft: {
      const TRect e{rc.Left, rc.Top, rc.Right + 1, rc.Bottom + 1};
      if (fixedHorz) ruzLines(e);
      if (fixedVert) {
        line(dimmed, e.Right - 2, e.Top, e.Right - 2, e.Bottom - 1);
        line(clWhite, e.Right - 1, e.Top, e.Right - 1, e.Bottom - 1);
      }
      break;
    }
    case TFixedEdges::feNone:
      break;
  }
  canvas->Pen()->SetWidth(1);

  PaintCellBorders(canvas, col, row, rc);
  rc.Left -= indicatorShift;
  // Tree lines beside the node levels of column 0, under a node's glyph.
  if (col == 0 && HasNodes() && row >= FixedRows() && cellNode_->ShowTree()) {
    PaintTreeLines(canvas, row, rc);
    canvas->Brush()->SetColor(keptBrush);
  }
  if (graphic.Graphic != nullptr) {
    const AnsiString shown = graphic.DrawText ? GetDisplayCell(RealColIndex(col), row) : AnsiString();
    PaintCellGraphic(canvas, rc, RealColIndex(col), row, resolved, shown.empty() ? 0 : canvas->TextWidth(shown));
    canvas->Brush()->SetColor(keptBrush);
  }
  // The filter glyph of a column that offers a value list.
  if (row == FilterDropDownRow() && row < FixedRows() && (FilterDropDownAuto || OnGetColumnFilter) &&
      GetColumnFilter(RealColIndex(col))) {
    PaintFilterGlyph(canvas, filterDropDown_->Glyph(), FixedColor(), rc);
    canvas->Brush()->SetColor(keptBrush);
  }

  if (OnDrawCell)
    OnDrawCell(this, col, row, {rc.Left + 1, rc.Top + 1, rc.Right - GridLineWidth(), rc.Bottom - GridLineWidth()},
               state);
  if (OnCustomCellDraw) OnCustomCellDraw(this, canvas, col, row, state, rc, false);

  // The focus rectangle of the current cell.
  const TCellCoord current = Model().BaseCell(Col(), Row());
  const TCellCoord self = Model().BaseCell(col, row);
  if (!HideFocusRect && self.X == current.X && self.Y == current.Y && Focused() &&
      !Options().Contains(vcl::goRowSelect) && Row() >= FixedRows() && Col() >= FixedCols()) {
    const Integer grow = GridLineWidth() - 1;
    const TRect focus{rc.Left - grow, rc.Top - grow, rc.Right + grow - 1, rc.Bottom + grow - 1};
    canvas->DrawFocusRect(focus);
  }
}

void TVadOdizadEzev::PaintTreeLines(TCanvas* canvas, Integer row, TRect rc) {
  auto levelOf = [this](Integer r) { return Model().HasCellProperties(0, r) ? Model().CellProperties(0, r).NodeLevel : 0; };
  const Integer indent = cellNode_->NodeIndent();
  const Integer level = levelOf(row);
  const Integer lastRow = RowCount() - 1 - FixedFooters();
  const bool hasNext = row < lastRow;
  const bool nextHasProps = hasNext && Model().HasCellProperties(0, row + 1);
  const Integer nextLevel = hasNext ? levelOf(row + 1) : 0;
  canvas->Pen()->SetColor(cellNode_->TreeColor());
  canvas->Pen()->SetWidth(1);
  rc.Left = level * indent;
  const Integer x0 = rc.Left + indent / 2 - indent + 2;
  const Integer mid = rc.Top + (rc.Bottom - rc.Top) / 2;
  auto line = [canvas](Integer ax, Integer ay, Integer bx, Integer by) {
    canvas->MoveTo(ax, ay);
    canvas->LineTo(bx, by);
  };
  if (level > 0) line(x0, mid, cellNode_->ShowTreeFull() ? rc.Right : rc.Left + 4, mid);
  if (!IsNode(row)) {
    if (!hasNext || nextLevel < level || !nextHasProps)
      line(x0, rc.Top, x0, mid);
    else
      line(x0, rc.Top, x0, rc.Bottom + 4);
  }
  for (Integer i = 1; i <= level; ++i) {
    const Integer x = x0 - i * indent;
    line(x, rc.Top, x, nextLevel != 0 ? rc.Bottom + 4 : mid);
    if ((nextLevel == 0 || !hasNext) && i < level) line(x, mid, x + indent, mid);
  }
}

void TVadOdizadEzev::PaintCellText(TCanvas* canvas, Integer col, Integer row, TGridDrawState state, const TRect& r,
                                   const TCellStyle& style) {
  const bool fixed = state.Contains(gdFixed);
  TColor linkColor = URLColor;
  if (state.Contains(gdSelected) && !fixed && ShowSelection()) {
    if (selectionColor_ != clNone) canvas->Brush()->SetColor(selectionColor_);
    if (selectionTextColor_ != clNone) canvas->Font()->SetColor(selectionTextColor_);
    linkColor = selectionTextColor_;
  }

  TCellTextInput in;
  GetFormattedCell(col, row, in.Text);
  GetFilterCellText(col, row, in.FilterText);
  in.EnableHTML = EnableHTML;
  IsPasswordCell(col, row, in.Password);
  in.URLShow = URLShow;
  in.URLFull = URLFull;
  in.WordWrap = style.WordWrap;
  in.Multilinecells = Multilinecells;
  in.EnhTextSize = EnhTextSize;
  in.HAlign = style.Alignment;
  in.VAlign = style.VAlignment;
  const TCellTextPlan plan = PlanCellText(in);

  // The frame round the selection, drawn piece by piece by the cells on
  // its edges.
  const vcl::TGridRect sel = Selection();
  if (selectionRectangle_ && !fixed && col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom) {
    const Integer lw = GridLineWidth();
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(2);
    const bool rightCol = col == sel.Right;
    if (col == sel.Left) {
      canvas->MoveTo(r.Left - lw + 1, r.Bottom);
      canvas->LineTo(r.Left - lw + 1, r.Top - lw);
    }
    if (rightCol) {
      canvas->MoveTo(r.Right - 1, r.Bottom);
      canvas->LineTo(r.Right - 1, r.Top - lw);
    }
    if (row == sel.Top) {
      canvas->MoveTo(r.Left - lw, r.Top - lw + 1);
      canvas->LineTo(rightCol ? r.Right - 1 : r.Right, r.Top - lw + 1);
    }
    if (row == sel.Bottom) {
      canvas->MoveTo(r.Left - lw, r.Bottom);
      canvas->LineTo(rightCol ? r.Right - 1 : r.Right, r.Bottom);
    }
    if (selectionResizer_ && rightCol && row == sel.Bottom) {
      canvas->Brush()->SetColor(clBlack);
      canvas->Pen()->SetWidth(1);
      canvas->Rectangle({r.Right - 4, r.Bottom - 4, r.Right, r.Bottom});
    }
    canvas->Pen()->SetWidth(1);
  }

  TRect rt = r;
  if (fixed) {
    rt.Left += GridLineWidth();
    rt.Top += GridLineWidth();
  }
  const TRect content = rt;
  rt.Left += GridTextMargin;
  rt.Right -= GridTextMargin;
  rt.Top += GridTextMargin;

  const TSortSettings& sort = *sortSettings_;
  const bool sortColumn = col == sort.Column || sortIndexes_->FindSortColumn(col) >= 0;
  const bool indicator = sort.Show && row == sort.Row && RowCount() > 2 && sortColumn && FixedRows() > 0 &&
                         (col >= FixedCols() || sort.FixedCols);
  const Integer indexPosition = sortIndexes_->FindSortColumn(col);
  const bool indicatorDrawn = indexPosition < 1 || sort.IndexShow;

  canvas->Brush()->SetStyle(vcl::bsClear);
  switch (plan.Kind) {
    case TTextKind::tkHTML: {
      rt.Left -= 1;
      if (indicator) rt.Right -= 10;
      dropdown::THtmlTextOptions options;
      options.LinkColor = linkColor;
      options.ShadowTint = 0x808080;
      options.HotBackColor = clNone;
      options.HotTextColor = clNone;
      options.BlinkPhase = blinkPhase_;
      options.WrapWords = !EnhTextSize;
      options.PictureCache = pictureCache_.get();
      options.Images = gridImages_;
      options.SelectedText = state.Contains(gdSelected) && !fixed && ShowSelection();
      dropdown::THtmlTextResult result;
      dropdown::DrawHTMLText(canvas, plan.Shown, rt, options, result);
      if (indicator && indicatorDrawn) {
        const Integer y = style.VAlignment == vtaTop      ? rt.Top + 8
                          : style.VAlignment == vtaCenter ? rt.Top + (rt.Bottom - rt.Top) / 2
                                                          : rt.Bottom - 8;
        PaintSortIndicator(canvas, col, rt.Right + 2, y);
      }
      break;
    }
    case TTextKind::tkRTF: {
      canvas->Pen()->SetColor(canvas->Brush()->Color());
      if (!(state.Contains(gdSelected) && !state.Contains(gdFocused) && selectionColor_ == clNone)) {
        canvas->Brush()->SetStyle(vcl::bsSolid);
        canvas->FillRect(rt);
      }
      canvas->Brush()->SetStyle(vcl::bsClear);
      PaintRichText(col, row, rt, canvas);
      canvas->Brush()->SetStyle(vcl::bsSolid);
      canvas->Font()->SetColor(clBlack);
      break;
    }
    default: {
      const AnsiString shown =
          plan.Kind == TTextKind::tkWide ? rtl::WideToUtf8(DecodeWideText(plan.Shown)) : plan.Shown;
      const Cardinal flags = plan.Flags;
      TTextLayoutInput layout;
      layout.Text = {rt.Left, rt.Top, rt.Right, rt.Bottom};
      layout.Content = {content.Left, content.Top, content.Right, content.Bottom};
      layout.HAlign = style.Alignment;
      layout.VAlign = style.VAlignment;
      layout.SortIndicator = indicator;
      layout.SortIndicatorDrawn = indicatorDrawn;
      layout.SortSpace = row == 0 && sort.Show && sortColumn ? 14 : 0;
      layout.TextWidth = canvas->TextWidth(shown);
      const TTextLayout placed = PlanPlainTextLayout(layout);
      TRect box{placed.Text.Left, placed.Text.Top, placed.Text.Right, placed.Text.Bottom};
      const vcl::TFontStyles oldStyle = canvas->Font()->Style();
      const TColor oldColor = canvas->Font()->Color();
      if (plan.Link) {
        vcl::TFontStyles underlined = oldStyle;
        underlined.Include(vcl::fsUnderline);
        canvas->Font()->SetStyle(underlined);
        canvas->Font()->SetColor(linkColor);
      }
      if (!shown.empty()) canvas->DrawText(shown, box, flags);
      if (plan.Link) {
        canvas->Font()->SetStyle(oldStyle);
        canvas->Font()->SetColor(oldColor);
      }
      if (placed.Indicator) PaintSortIndicator(canvas, col, placed.IndicatorX, placed.IndicatorY);
      break;
    }
  }
  canvas->Brush()->SetStyle(vcl::bsSolid);
}

void TVadOdizadEzev::PaintCellBorders(TCanvas* canvas, Integer col, Integer row, const TRect& r) {
  vcl::TPen saved;
  saved.Assign(canvas->Pen());
  TCellBorders borders;
  GetCellBorder(col, row, canvas->Pen(), borders);
  if (!borders.Empty()) {
    vcl::TPen left, top, right, bottom;
    left.Assign(canvas->Pen());
    top.Assign(canvas->Pen());
    right.Assign(canvas->Pen());
    bottom.Assign(canvas->Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, row, col, &left, &top, &right, &bottom);
    const Integer w = canvas->Pen()->Width();
    const Integer dx = Options().Contains(vcl::goVertLine) ? (w + 1) / 2 : 0;
    const Integer dy = Options().Contains(vcl::goHorzLine) ? (w + 1) / 2 : 0;
    const TRect b{r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy};
    const Integer lineWidth = GridLineWidth();
    auto stroke = [canvas](const vcl::TPen& pen, Integer x0, Integer y0, Integer x1, Integer y1) {
      canvas->Pen()->Assign(&pen);
      canvas->MoveTo(x0, y0);
      canvas->LineTo(x1, y1);
    };
    if (borders.Contains(TCellBorder::cbLeft)) stroke(left, b.Left - dx, b.Top - dy, b.Left - dx, b.Bottom);
    if (borders.Contains(TCellBorder::cbRight)) stroke(right, b.Right - 1, b.Top, b.Right - 1, b.Bottom);
    if (borders.Contains(TCellBorder::cbTop)) {
      const Integer y = lineWidth == 0 ? b.Top + 1 : b.Top - lineWidth;
      stroke(top, b.Left, y, b.Right, y);
    }
    if (borders.Contains(TCellBorder::cbBottom))
      stroke(bottom, b.Left - lineWidth - 1, b.Bottom - 1, b.Right, b.Bottom - 1);
  }
  canvas->Pen()->Assign(&saved);
}

void TVadOdizadEzev::Paint() {
  // Under the update lock the last picture stays until EndUpdate.
  if (updateCount_ > 0) return;
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetStyle(vcl::psSolid);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  TBaseGrid::Paint();
  if (editorActive_) {
    const bool lines = GridLineWidth() >= 1 &&
                       (Options().Contains(vcl::goHorzLine) || Options().Contains(vcl::goVertLine));
    canvas->Pen()->SetColor(lines ? GridLineColor() : Color());
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->Rectangle(CellRect(Col(), Row()));
    canvas->Brush()->SetStyle(vcl::bsSolid);
  }
  canvas->Pen()->SetColor(clBlack);
}

void TVadOdizadEzev::ApplyCellFont(Integer col, Integer displCol, vcl::TBrush* brush, vcl::TFont* font,
                                   TGridDrawState state, Integer row) {
  const bool fixed = displCol < FixedCols() || row < FixedRows();
  font->Assign(fixed ? fixedFont_.get() : Font());
  brush->SetColor(fixed ? FixedColor() : Color());
  GetCellColor(col, row, state, brush, font);
}

void TVadOdizadEzev::MeasureCellContent(Integer col, Integer displCol, Integer row, vcl::TSize& size,
                                        bool reserveButton, bool fitWidth) {
  TCanvas* canvas = Canvas();
  AnsiString text;
  GetFormattedCell(col, row, text);
  TTextKind kind = GetTextKind(text, EnableHTML);
  if (kind == TTextKind::tkFormula) {
    GetFilterCellText(col, row, text);
    kind = GetTextKind(text, EnableHTML);
  }
  vcl::TFont keptFont;
  keptFont.Assign(canvas->Font());
  const TColor keptBrush = canvas->Brush()->Color();
  ApplyCellFont(col, displCol, canvas->Brush(), canvas->Font(), TGridDrawState{}, row);

  const TRect cell = CellRect(displCol, row);
  TRect rt{cell.Left + GridTextMargin, cell.Top + GridTextMargin, cell.Right - GridTextMargin,
           cell.Bottom - GridTextMargin};
  if (reserveButton) rt.Right -= 17;

  switch (kind) {
    case TTextKind::tkHTML: {
      if (!fitWidth) rt.Right = 65535;
      rt.Bottom = 65535;
      dropdown::THtmlTextOptions options;
      options.MeasureOnly = true;
      options.LinkColor = URLColor;
      options.WrapWords = !EnhTextSize;
      options.PictureCache = pictureCache_.get();
      options.Images = gridImages_;
      dropdown::THtmlTextResult result;
      dropdown::DrawHTMLText(canvas, text, rt, options, result);
      size = {result.ContentWidth + 2, result.ContentHeight + 2};
      break;
    }
    case TTextKind::tkRTF: {
      // The control takes the cell's font for the runs that set none; its
      // request in the cell's width (wrapped as the grid wraps) decides.
      richMeasure_->Font()->Assign(canvas->Font());
      richMeasure_->SetWordWrap(false);
      richMeasure_->LoadRichText(text);
      richMeasure_->SetBounds(rt.Left, rt.Top, std::max<Integer>(0, rt.Right - rt.Left),
                              std::max<Integer>(0, rt.Bottom - rt.Top));
      richMeasure_->SetWordWrap(WordWrap());
      size = richMeasure_->RequestResize(canvas, rt.Right - rt.Left);
      break;
    }
    default: {
      if (kind == TTextKind::tkWide) text = rtl::WideToUtf8(DecodeWideText(text));
      if (fitWidth) {
        rt = {rt.Left + 2, rt.Top + 2, rt.Right - 2, rt.Bottom - 2};
        if (EditorActive() && col == Col() && row == Row() && !text.empty() && text.back() == '\n') text += 'w';
        TRect calc = rt;
        const Integer height =
            canvas->DrawText(text, calc, vcl::DT_EDITCONTROL | vcl::DT_NOPREFIX | vcl::DT_CALCRECT | vcl::DT_WORDBREAK);
        size = {calc.Right - calc.Left, height};
        break;
      }
      // Lines split at CR with multi-line cells, else only the first.
      Integer widest = 0, lines = 0;
      size_t start = 0;
      while (true) {
        size_t end = text.find('\r', start);
        AnsiString line = text.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start);
        if (!line.empty() && line.front() == '\n') line.erase(0, 1);
        if (URLShow && !URLFull && HasURLScheme(line)) StripURLScheme(line);
        widest = std::max(widest, canvas->TextWidth(line));
        ++lines;
        if (end == AnsiString::npos || !Multilinecells) break;
        start = end + 1;
      }
      size = {widest, canvas->TextHeight("gh") * lines};
      break;
    }
  }
  canvas->Font()->Assign(&keptFont);
  canvas->Brush()->SetColor(keptBrush);
}

void TVadOdizadEzev::PaintRichText(Integer col, Integer row, const TRect& r, TCanvas* canvas) {
  AnsiString text;
  GetFormattedCell(col, row, text);
  richMeasure_->Font()->Assign(canvas->Font());
  richMeasure_->SetWordWrap(WordWrap());
  richMeasure_->LoadRichText(text);

  // Selected cells show their rich text in the selection's text colour,
  // except the focused current cell when focus is not drawn as selected.
  const vcl::TGridRect sel = Selection();
  bool selected;
  if (mouseActions_->DisjunctRowSelect())
    selected = selectionMarks_.RowMarked(mouseActions_->RowSelectPersistent ? Model().RealRowIndex(row) : row);
  else
    selected = col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom;
  const bool focusedCurrent =
      col == Col() && row == Row() && Focused() && !Options().Contains(vcl::goDrawFocusSelected);
  richMeasure_->SetAllTextColor(selected && !focusedCurrent && !SelectionRTFKeep ? selectionTextColor_ : clNone);

  const Integer dpiX = canvas->Font()->PixelsPerInch(), dpiY = dpiX;
  const Integer m = GridTextMargin * dpiX / 96;
  auto twips = [](Integer pixels, Integer dpi) {
    return static_cast<Integer>(std::lround(pixels * 1440.0 / dpi));
  };
  TRect range;
  range.Left = twips(r.Left + m, dpiX);
  range.Top = twips(r.Top + m, dpiY);
  range.Right = range.Left + twips(r.Right - r.Left - 2 * m, dpiX);
  range.Bottom = range.Top + twips(r.Bottom - r.Top - 2 * m, dpiY);
  richMeasure_->FormatRange(canvas, range, dpiX, dpiY);
}

void TVadOdizadEzev::PaintSortIndicator(TCanvas* canvas, Integer col, Integer x, Integer y) {
  const TSortSettings& sort = *sortSettings_;
  auto drawGlyph = [canvas](const vcl::TBitmap* glyph, Integer gx, Integer gy) {
    vcl::TBitmap copy;
    copy.Assign(glyph);
    copy.SetTransparent(true);
    canvas->Draw(gx, gy, &copy);
  };
  const Integer position = sortIndexes_->FindSortColumn(col);
  if (sort.IndexShow && position >= 0) {
    // The numbered mark of an index sort, pointing the column's way.
    const bool descending = !sortIndexes_->SortAscendingAt(position);
    const bool glyphs = !sort.IndexUpGlyph()->Empty() && !sort.IndexDownGlyph()->Empty();
    vcl::TFont kept;
    kept.Assign(canvas->Font());
    canvas->Brush()->SetColor(sort.IndexColor);
    canvas->Pen()->SetColor(clBlack);
    if (descending) {
      if (glyphs)
        drawGlyph(sort.IndexUpGlyph(), x - 7, y - 7);
      else
        canvas->Polygon({{x - 7, y - 5}, {x + 7, y - 5}, {x, y + 8}});
    } else {
      if (glyphs)
        drawGlyph(sort.IndexDownGlyph(), x - 7, y - 7);
      else
        canvas->Polygon({{x - 6, y + 8}, {x + 6, y + 8}, {x, y - 4}});
    }
    canvas->Font()->SetColor(clBlack);
    canvas->Font()->SetSize(6);
    canvas->Font()->SetStyle({});
    canvas->Brush()->SetStyle(vcl::bsClear);
    canvas->TextOut(x - 2, descending ? y - 4 : y - 2, rtl::IntToStr(position + 1));
    canvas->Brush()->SetStyle(vcl::bsSolid);
    canvas->Font()->Assign(&kept);
    return;
  }
  const bool descending = sort.Direction == sdDescending;
  if (!sort.UpGlyph()->Empty() && !sort.DownGlyph()->Empty()) {
    drawGlyph(descending ? sort.DownGlyph() : sort.UpGlyph(), x - 4, y - 4);
    canvas->Brush()->SetColor(FixedColor());
    return;
  }
  // A raised outline: lit from the top left, shaded on the other sides.
  canvas->Pen()->SetWidth(1);
  if (descending) {
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(x + 4, y - 4);
    canvas->LineTo(x, y + 4);
    canvas->Pen()->SetColor(clGray);
    canvas->LineTo(x - 4, y - 4);
    canvas->LineTo(x + 4, y - 4);
  } else {
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(x - 4, y + 4);
    canvas->LineTo(x + 4, y + 4);
    canvas->LineTo(x, y - 4);
    canvas->Pen()->SetColor(clGray);
    canvas->LineTo(x - 4, y + 4);
  }
  canvas->Pen()->SetColor(clBlack);
}

}  // namespace grid
