#include "grid/BaseGrid.h"

#include <algorithm>

#include "grid/GridUndoRedo.h"
#include "grid/draw/GridDraw.h"
#include "grid/model/GridUtils.h"
#include "vcl/Messages.h"
#include "vcl/Regions.h"

namespace grid {

using vcl::gdFixed;
using vcl::gdFocused;
using vcl::gdSelected;

// The model with its hooks answered by the grid.
class TBaseGrid::ModelLink : public TGridModel {
 public:
  explicit ModelLink(TBaseGrid* grid) : grid_(grid) {}

  void InvalidateCellRect(Integer col, Integer row) override { grid_->InvalidateCellRect(col, row); }
  void InvalidateGrid() override { grid_->Invalidate(); }
  void RepaintCell(Integer col, Integer row) override { grid_->InvalidateCellRect(col, row); }
  void RepaintRow(Integer) override { grid_->Invalidate(); }
  bool HasParent() const override { return grid_->Parent() != nullptr; }
  bool IsDestroying() const override { return grid_->ComponentState().Contains(vcl::csDestroying); }
  bool IsLoading() const override { return grid_->ComponentState().Contains(vcl::csLoading); }
  bool IsDesigning() const override { return grid_->ComponentState().Contains(vcl::csDesigning); }
  void GridSizeChanged(Integer, Integer) override {
    grid_->CountsChanged(ColCount(), RowCount(), GridFixedCols(), GridFixedRows());
  }
  void GetCellDefaults(Integer col, Integer row, TCellDefaults& d) override {
    vcl::TFont font;
    vcl::TBrush brush;
    TCellStyle style;
    grid_->GetCellDefaults(col, row, &font, &brush, style);
    d.Font.Name = font.Name();
    d.Font.Size = font.Size();
    d.Font.Color = font.Color();
    d.Font.Style = TFontStyles::FromBits(font.Style().Bits());
    d.BrushColor = brush.Color();
    d.ColorTo = style.ColorTo;
    d.MirrorColor = style.MirrorColor;
    d.MirrorColorTo = style.MirrorColorTo;
    d.Alignment = style.Alignment;
    d.VAlignment = style.VAlignment;
    d.WordWrap = style.WordWrap;
    d.GradientDirection = style.GradientDirection;
  }
  void GetDisplText(Integer col, Integer row, AnsiString& value) override { grid_->GetDisplText(col, row, value); }
  void GetDisplWideText(Integer col, Integer row, WideString& value) override {
    grid_->GetDisplWideText(col, row, value);
  }
  bool HasDisplWideText() const override { return static_cast<bool>(grid_->OnGetDisplWideText); }
  void CellTextChanged(Integer col, Integer row) override { grid_->CellTextChanged(col, row); }
  void FooterChanged() override { grid_->FooterChanged(); }
  Integer DisplColIndex(Integer col) const override { return grid_->DisplColIndex(col); }

 private:
  TBaseGrid* grid_;  // owns this model
};

// The string grid's cells are the model's stored texts; the object slot of
// a cell holds its properties.
class TBaseGrid::StoreLink : public vcl::TStringGridStore {
 public:
  explicit StoreLink(TGridModel* model) : model_(model) {}
  AnsiString GetCell(Integer col, Integer row) const override { return model_->GetRawCell(col, row); }
  void SetCell(Integer col, Integer row, const AnsiString& value) override { model_->SetRawCell(col, row, value); }
  void* GetObject(Integer col, Integer row) const override { return model_->GetRawObject(col, row); }
  void SetObject(Integer, Integer, void*) override {
    throw vcl::EInvalidGridOperation("The objects of this grid's cells are their properties");
  }
  void SizeChanged(Integer colCount, Integer rowCount) override {
    model_->SetGridColCount(colCount);
    model_->SetGridRowCount(rowCount);
  }
  void MoveColumn(Integer fromIndex, Integer toIndex) override { model_->MoveColumn(fromIndex, toIndex); }
  void MoveRow(Integer fromIndex, Integer toIndex) override { model_->MoveRow(fromIndex, toIndex); }

 private:
  TGridModel* model_;  // the grid owns both
};

TBaseGrid::TBaseGrid(vcl::TComponent* owner)
    : vcl::TStringGrid(owner), model_(std::make_unique<ModelLink>(this)), store_(std::make_unique<StoreLink>(model_.get())) {
  SetCellStore(store_.get());
  // The model starts as the string grid does; the view takes its counts.
  CountsChanged(model_->ColCount(), model_->RowCount(), model_->GridFixedCols(), model_->GridFixedRows());
  vcl::TStringGrid::SetDefaultRowHeight(model_->DefaultRowHeight());
  SetGridLineWidth(1);
  SetDefaultDrawing(false);
  model_->SetDisplayRowLimit(0);
}

TBaseGrid::~TBaseGrid() {
  // The string grid's store must not outlive what it points at.
  SetCellStore(nullptr);
}

// ===== dimensions =====

void TBaseGrid::SetColCount(Integer value) { model_->SetColCount(value); }
void TBaseGrid::SetRowCount(Integer value) { model_->SetRowCount(value); }
void TBaseGrid::SetFixedCols(Integer value) { model_->SetFixedCols(value); }
void TBaseGrid::SetFixedRows(Integer value) { model_->SetFixedRows(value); }

void TBaseGrid::SetDefaultRowHeight(Integer value) {
  model_->SetDefaultRowHeight(value);
  vcl::TStringGrid::SetDefaultRowHeight(value);
}

void TBaseGrid::SetDefaultColWidth(Integer value) {
  model_->SetDefaultColWidth(value);
  vcl::TStringGrid::SetDefaultColWidth(value);
}

void TBaseGrid::StoreColWidth(Integer col, Integer width) { model_->SetColWidths(col, width); }
void TBaseGrid::StoreRowHeight(Integer row, Integer height) { model_->SetRowHeights(row, height); }
Integer TBaseGrid::StoredColWidth(Integer col) const { return model_->ColWidths(col); }
Integer TBaseGrid::StoredRowHeight(Integer row) const { return model_->RowHeights(row); }

// ===== settings =====

void TBaseGrid::SetActiveRowShow(bool value) {
  if (value == activeRowShow_) return;
  activeRowShow_ = value;
  Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor value) {
  if (value == activeRowColor_) return;
  activeRowColor_ = value;
  Invalidate();
}

void TBaseGrid::SetDefaultDrawing(bool value) {
  defaultDrawing_ = value;
  vcl::TStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(Integer value) {
  gridLineWidth_ = value;
  vcl::TStringGrid::SetGridLineWidth(0);
  Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor value) {
  gridLineColor_ = value;
  Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor value) {
  gridFixedLineColor_ = value;
  Invalidate();
}

void TBaseGrid::SetSelectionLook(Byte value) {
  selectionLook_ = std::min<Byte>(value, 3);
  Invalidate();
}

void TBaseGrid::SetShowSelection(bool value) {
  if (value == showSelection_) return;
  showSelection_ = value;
  Invalidate();
}

// ===== cells =====

void TBaseGrid::SetCells(Integer col, Integer row, const AnsiString& value) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
    throw vcl::EInvalidGridOperation("Grid index out of range");
  model_->SetDisplayCell(col, row, value);
  InvalidateCellRect(col, row);
}

void TBaseGrid::MergeCells(Integer col, Integer row, Integer numCols, Integer numRows) {
  model_->MergeCells(col, row, numCols, numRows);
}

void TBaseGrid::SplitCells(Integer col, Integer row) { model_->SplitCells(col, row); }

void TBaseGrid::GetDisplText(Integer col, Integer row, AnsiString& value) {
  if (OnGetDisplText) OnGetDisplText(this, col, row, value);
}

void TBaseGrid::GetDisplWideText(Integer col, Integer row, WideString& value) {
  if (OnGetDisplWideText) OnGetDisplWideText(this, col, row, value);
}

void TBaseGrid::GetCellDefaults(Integer, Integer, vcl::TFont* font, vcl::TBrush* brush, TCellStyle& style) {
  font->Assign(Font());
  brush->SetColor(Color());
  style = TCellStyle{};
  style.WordWrap = model_->DefaultWordWrap();
}

// ===== geometry =====

TRect TBaseGrid::AbsoluteCellRect(Integer col, Integer row) const {
  const Integer x = model_->ColumnsWidth(0, col);
  const Integer y = model_->RowsHeight(0, row);
  TRect r{x, y, x + ColWidths(col), y + RowHeights(row)};
  const bool fixedCol = col < FixedCols(), fixedRow = row < FixedRows();
  if (!fixedCol) {
    const Integer scrolled = model_->ColumnsWidth(FixedCols(), LeftCol());
    r.Left -= scrolled;
    r.Right -= scrolled;
  }
  if (!fixedRow) {
    const Integer scrolled = model_->RowsHeight(FixedRows(), TopRow());
    r.Top -= scrolled;
    r.Bottom -= scrolled;
  }
  return r;
}

TRect TBaseGrid::CellRect(Integer col, Integer row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  const TCellProperties* p = model_->GetRawObject(col, row);
  if (p != nullptr && (p->CellSpanX != -1 || p->CellSpanY != -1)) {
    const TCellCoord base = model_->BaseCell(col, row);
    const TCellCoord span = model_->CellSpan(base.X, base.Y);
    const TRect a = AbsoluteCellRect(base.X, base.Y);
    const TRect b = AbsoluteCellRect(std::min(base.X + span.X, ColCount() - 1), std::min(base.Y + span.Y, RowCount() - 1));
    return {a.Left, a.Top, b.Right, b.Bottom};
  }
  if (p != nullptr && p->Control != nullptr) return AbsoluteCellRect(col, row);
  const TRect r = vcl::TStringGrid::CellRect(col, row);
  return {r.Left, r.Top, r.Left + ColWidths(col), r.Top + RowHeights(row)};
}

TExtent TBaseGrid::CellSize(Integer col, Integer row) const {
  const TRect r = CellRect(col, row);
  return {r.Width(), r.Height()};
}

void TBaseGrid::InvalidateCellRect(Integer, Integer) {
  if (HandleAllocated()) Invalidate();
}

// ===== painting =====

void TBaseGrid::Paint() {
  vcl::TStringGrid::Paint();
  ++paintPass_;
}

void TBaseGrid::PaintCellContent(TCanvas* canvas, Integer col, TGridDrawState, const TRect& r, Integer row) {
  TRect box = r;
  canvas->Brush()->SetStyle(vcl::bsClear);
  canvas->DrawText(model_->GetDisplayCell(col, row), box, vcl::DT_CENTER | vcl::DT_VCENTER | vcl::DT_SINGLELINE);
  canvas->Brush()->SetStyle(vcl::bsSolid);
}

namespace {

// The colours of the boxed selection looks: fill from and to, corner
// pixels, outer line, lower and upper inner line, lower-half fill from and to.
struct BoxColours {
  TColor from, to, corner, outer, lowerInner, upperInner, mirror, mirrorTo;
};
constexpr BoxColours SelectionLooks[] = {
    {0xF8F8F8, 0xE5E5E5, 0xEFEFEF, 0xD9D9D9, 0xF0F0F0, 0xFBFAFA, clNone, clNone},  // unfocused
    {0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, clNone, clNone},
    {0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, clNone, clNone},
    {0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0x58D4FC, 0xB3F1FC},
};

}  // namespace

void TBaseGrid::DrawSelectionBoxOf(const TRect& cell, Integer col) {
  const vcl::TGridRect sel = Selection();
  Integer left = sel.Left, right = sel.Right;
  if (right < left) std::swap(left, right);
  Byte part = 0;
  if (col == left && left < right)
    part = 1;
  else if (col == right && right > left)
    part = 2;
  else if (left < col && col < right)
    part = 3;
  TRect r = cell;
  if (!Options().Contains(vcl::goHorzLine)) r.Bottom += 1;
  if (!Options().Contains(vcl::goVertLine)) r.Right += 1;
  if (HasCustomBorders()) {
    r.Left += 1;
    r.Right -= 1;
    r.Bottom -= 1;
  }
  const bool focusedLook = Focused() || Options().Contains(vcl::goDrawFocusSelected);
  const BoxColours& c = SelectionLooks[focusedLook ? selectionLook_ : 0];
  DrawSelectionBox(Canvas(), c.from, c.to, c.mirror, c.mirrorTo, c.upperInner, c.lowerInner, c.outer, c.corner, Color(),
                   r, part);
}

void TBaseGrid::DrawCell(Integer col, Integer row, const TRect& cellRect, TGridDrawState state) {
  TCanvas* canvas = Canvas();
  // The floating footer shows the last row.
  if (model_->FooterRowShown() && row == RowCount() - 1) {
    canvas->Brush()->SetColor(Color());
    canvas->Pen()->SetColor(Color());
    canvas->Rectangle(cellRect);
    return;
  }
  // A merged block is painted once per pass, whichever of its cells comes first.
  if (model_->IsCoveredCell(col, row)) {
    const TCellCoord base = model_->BaseCell(col, row);
    TCellProperties* baseProps = model_->GetRawObject(base.X, base.Y);
    if (baseProps != nullptr && baseProps->PaintPass != paintPass_) {
      baseProps->PaintPass = paintPass_;
      DrawCell(base.X, base.Y, cellRect, state);
    }
    return;
  }
  if (TCellProperties* p = model_->GetRawObject(col, row); p != nullptr && model_->IsMergedCell(col, row))
    p->PaintPass = paintPass_;
  if (IsFixed(col, row)) {
    state.Exclude(gdSelected);
    state.Include(gdFixed);
  }
  const TRect r = CellRect(col, row);

  // A block reaching under the fixed cells must not paint over them.
  const Integer fixedWidth = col < FixedCols() ? 0 : model_->ColumnsWidth(0, FixedCols());
  const Integer fixedHeight = row < FixedRows() ? 0 : model_->RowsHeight(0, FixedRows());
  const bool clip = (col >= FixedCols() && FixedCols() > 0 && r.Left < fixedWidth) ||
                    (row >= FixedRows() && FixedRows() > 0 && r.Top < fixedHeight);
  if (clip) {
    canvas->SaveDC();
    canvas->IntersectClipRect({fixedWidth, fixedHeight, ClientWidth(), ClientHeight()});
  }
  canvas->Pen()->SetWidth(1);
  canvas->Font()->Assign(Font());
  TCellStyle style;
  canvas->Brush()->SetColor(Color());
  ResolveCellStyle(col, row, state, false, true, true, canvas->Brush(), canvas->Font(), style);
  canvas->Pen()->SetColor(canvas->Brush()->Color());

  if (activeRowShow_ && row == Row() && (col != Col() || !showSelection_)) {
    canvas->Brush()->SetColor(activeRowColor_);
    style.ColorTo = activeRowColor_;
    style.MirrorColor = style.MirrorColorTo = clNone;
    canvas->Pen()->SetColor(canvas->Brush()->Color());
  }

  if (state.Contains(gdSelected) && selectionLook_ != 0 && showSelection_) {
    DrawSelectionBoxOf(r, col);
  } else if (style.ColorTo == clNone) {
    canvas->Rectangle(r);
  } else if (style.MirrorColorTo == clNone && style.MirrorColor == clNone) {
    FillGradientRect(canvas, canvas->Brush()->Color(), style.ColorTo, 64, r,
                     style.GradientDirection == GradientHorizontal);
  } else {
    DrawCellBackground(canvas, r, canvas->Brush()->Color(), style.ColorTo, style.MirrorColor, style.MirrorColorTo,
                       true, clNone, false, true);
  }

  // Grid lines inside the cell.
  const bool fixed = state.Contains(gdFixed);
  Integer c = 1;
  if (fixed) {
    canvas->Pen()->SetColor(gridFixedLineColor_);
    canvas->Pen()->SetWidth(1);
  } else {
    if (gridLineWidth_ > 0) canvas->Pen()->SetColor(gridLineColor_);
    canvas->Pen()->SetWidth(gridLineWidth_);
    c = (gridLineWidth_ + 1) / 2;
  }
  const bool lines = fixed || gridLineWidth_ > 0;
  if (lines && !(col == 0 && HasNodes()) &&
      Options().Contains(fixed ? vcl::goFixedHorzLine : vcl::goHorzLine)) {
    canvas->MoveTo(r.Left - c + 1, r.Bottom - c);
    canvas->LineTo(r.Right - c + 1, r.Bottom - c);
  }
  if (lines && Options().Contains(fixed ? vcl::goFixedVertLine : vcl::goVertLine)) {
    canvas->MoveTo(r.Right - c, r.Bottom - c);
    canvas->LineTo(r.Right - c, r.Top - c);
  }
  canvas->Pen()->SetWidth(1);

  TRect content = r;
  if (fixed) {
    content.Right -= 1;
    content.Bottom -= 2;
  } else {
    content = {r.Left + gridLineWidth_, r.Top + gridLineWidth_, r.Right - gridLineWidth_, r.Bottom - gridLineWidth_};
  }
  PaintCellContent(canvas, col, state, content, row);

  if (clip) canvas->RestoreDC(-1);
  canvas->Brush()->SetStyle(vcl::bsSolid);
  canvas->Pen()->SetStyle(vcl::psSolid);
}

// ===== current cell on merged blocks =====

bool TBaseGrid::SelectCell(Integer col, Integer row) {
  InvalidateCellRect(Col(), Row());
  const bool can = vcl::TStringGrid::SelectCell(col, row);
  InvalidateCellRect(col, row);
  return can;
}

void TBaseGrid::MoveToBaseCell() {
  if (!model_->HasCellProperties(Col(), Row())) return;
  const TCellCoord base = model_->BaseCell(Col(), Row());
  if (base.X != Col() && base.X >= FixedCols()) MoveCurrent(base.X, Row(), true, false);
  if (base.Y != Row() && base.Y >= FixedRows()) MoveCurrent(Col(), base.Y, true, false);
}

void TBaseGrid::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  const Integer col = Col(), row = Row();
  bool footerPage = false;
  switch (key) {
    case vcl::VK_NEXT:
      if (model_->FooterRowShown() && RowCount() > 1 && VisibleRowCount() + TopRow() - FixedRows() + 1 == RowCount()) {
        MoveCurrent(col, RowCount() - 2, true, false);
        footerPage = true;
      }
      break;
    case vcl::VK_RIGHT:
      if (model_->HasCellProperties(col, row)) {
        const TCellCoord base = model_->BaseCell(col, row);
        const Integer e = base.X + model_->CellSpan(base.X, base.Y).X;
        if (e >= col && col < ColCount() - 1 && base.X < ColCount() - 1 && e < ColCount())
          MoveCurrent(e, row, true, false);
      }
      break;
    case vcl::VK_DOWN:
      if (model_->HasCellProperties(col, row)) {
        const TCellCoord base = model_->BaseCell(col, row);
        const Integer e = base.Y + model_->CellSpan(base.X, base.Y).Y;
        if (e >= row && row < RowCount() - 1 && base.Y < RowCount() - 1) MoveCurrent(col, e, true, false);
      }
      break;
    case vcl::VK_LEFT:
      // A covered current cell steps out of its block from the block's side.
      if (model_->IsCoveredCell(col, row)) {
        const TCellCoord base = model_->BaseCell(col, row);
        if (FixedCols() < col && base.X > 0 && col > base.X)
          MoveCurrent(std::max(base.X - model_->CellSpan(base.X, base.Y).X, FixedCols()), row, true, false);
      }
      break;
    case vcl::VK_UP:
      if (model_->IsCoveredCell(col, row)) {
        const TCellCoord base = model_->BaseCell(col, row);
        if (FixedRows() < row && base.Y > 0 && row > base.Y) MoveCurrent(col, std::max(base.Y - 1, FixedRows()), true, false);
      }
      break;
    default:
      break;
  }
  vcl::TStringGrid::KeyDown(key, shift);
  // The row under the footer must never become current, yet the string
  // grid's own page step would carry the current cell onto it.
  if (footerPage && Row() == RowCount() - 1) MoveCurrent(Col(), RowCount() - 2, true, false);
  MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheel(vcl::TShiftState shift, Integer wheelDelta, vcl::TPoint mousePos) {
  const bool handled = vcl::TStringGrid::DoMouseWheel(shift, wheelDelta, mousePos);
  if (wheelDelta < 0 && model_->FooterRowShown() && VisibleRowCount() < Row() - TopRow() && Row() != RowCount() - 1)
    SetTopRow(TopRow() + 1);
  MoveToBaseCell();
  return handled;
}

void TBaseGrid::TopLeftChanged() {
  vcl::TStringGrid::TopLeftChanged();
  // Blocks in the fixed area follow the scroll position.
  if (model_->MergeCount() > 0) Invalidate();
  MoveToBaseCell();
}

void TBaseGrid::SetUndoRedo(TLumGridUndoRedo* value) {
  if (undoRedo_ == value) return;
  if (undoRedo_ != nullptr) {
    if (undoRedo_->Grid() == this) undoRedo_->SetGrid(nullptr);
    RemoveFreeNotification(undoRedo_);
  }
  undoRedo_ = value;
  if (value != nullptr) {
    value->SetGrid(this);
    FreeNotification(value);
  }
}

void TBaseGrid::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TStringGrid::Notification(component, operation);
  if (operation == vcl::TOperation::opRemove && component != nullptr && component == undoRedo_) undoRedo_ = nullptr;
}

}  // namespace grid
