// The grid's row and column operations (the model does the cells and their
// side data; here the view follows), auto-sizing as painting measures, the
// Insert and Delete keys, and the host through which the state of controls
// in cells reaches this grid's events and settings.
#include <algorithm>

#include "grid/GridComponent.h"
#include "grid/GridUndoRedo.h"
#include "vcl/Graphics.h"
#include "vcl/ImgList.h"

namespace grid {

namespace {

// The model's measurer backed by the grid's canvas, so that sizes agree
// with painting.
class CanvasMeasurer : public TextMeasurer {
 public:
  explicit CanvasMeasurer(vcl::TCanvas* canvas) : canvas_(canvas) {}
  TExtent TextExtent(const TFontSpec& font, std::string_view text) const override {
    vcl::TFont kept;
    kept.Assign(canvas_->Font());
    if (!font.Name.empty()) canvas_->Font()->SetName(font.Name);
    if (font.Size > 0) canvas_->Font()->SetSize(font.Size);
    const vcl::TSize s = canvas_->TextExtent(AnsiString(text));
    canvas_->Font()->Assign(&kept);
    return {s.cx, s.cy};
  }

 private:
  vcl::TCanvas* canvas_;
};

}  // namespace

// What the control-state operations ask of the grid.
class GridControlHost : public TCellControlHost {
 public:
  explicit GridControlHost(TVadOdizadEzev* grid) : TCellControlHost(grid->Model()), grid_(grid) {}

  // The settings as the grid has them now.
  void Sync() {
    const TControlLook* look = grid_->ControlLook();
    const TMouseActions* mouse = grid_->MouseActions();
    CheckSize = look->CheckSize();
    RadioSize = look->RadioSize();
    CheckAlwaysActive = look->CheckAlwaysActive;
    RadioAlwaysActive = look->RadioAlwaysActive;
    FlatControls = look->ControlStyle() == csFlat;
    DropDownAlwaysVisible = look->DropDownAlwaysVisible();
    HotmailRowSelect = mouse->HotmailRowSelect();
    PreciseCheckBoxCheck = mouse->PreciseCheckBoxCheck;
  }

  AnsiString CheckTrue(Integer col, Integer row) override {
    AnsiString value;
    grid_->GetCheckTrue(col, row, value);
    return value;
  }
  AnsiString CheckFalse(Integer col, Integer row) override {
    AnsiString value;
    grid_->GetCheckFalse(col, row, value);
    return value;
  }
  bool CanEdit(Integer col, Integer row) override {
    bool can = true;
    grid_->CheckCanEdit(col, row, can);
    return can;
  }
  bool RowMarked(Integer row) override { return grid_->IsRowMarked(row); }
  void SetRowMarked(Integer row, bool state) override { grid_->SetRowMarked(row, state); }
  void CheckBoxChange(Integer col, Integer row, bool state) override { grid_->CheckBoxChange(col, row, state); }
  bool RatingChange(Integer col, Integer row, double& rate) override {
    bool allow = true;
    if (grid_->OnRatingChange) grid_->OnRatingChange(grid_, col, row, rate, allow);
    return allow;
  }
  void AddChange(Integer col, Integer row, const AnsiString& oldText, const AnsiString& newText) override {
    if (TUndoRedoRecords* records = grid_->UndoRedo()) records->AddChange(col, row, oldText, newText);
  }
  void RepaintCell(Integer col, Integer row) override { grid_->InvalidateCell(col, row); }
  void RepaintColumn(Integer col) override { grid_->RepaintColumn(col); }
  TPixelRect CellRect(Integer col, Integer row) override {
    const vcl::TRect r = grid_->CellRect(col, row);
    return {r.Left, r.Top, r.Right, r.Bottom};
  }
  TAlignment CellAlignment(Integer col, Integer row) override {
    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    grid_->ResolveCellAlignment(col, row, h, v);
    return h;
  }
  Integer MeasureCellWidth(Integer col, Integer row) override {
    vcl::TSize size{};
    grid_->MeasureCellContent(col, grid_->DisplColIndex(col), row, size, false, false);
    return size.cx;
  }
  TExtent TextExtent(std::string_view text) override {
    vcl::TCanvas* canvas = grid_->Canvas();
    vcl::TFont kept;
    kept.Assign(canvas->Font());
    canvas->Font()->Assign(grid_->Font());
    const vcl::TSize s = canvas->TextExtent(AnsiString(text));
    canvas->Font()->Assign(&kept);
    return {s.cx, s.cy};
  }
  bool HasGridImages() override { return grid_->GridImages() != nullptr; }
  TExtent GridImageSize() override {
    vcl::TImageList* images = grid_->GridImages();
    return images != nullptr ? TExtent{images->Width(), images->Height()} : TExtent{};
  }

 private:
  TVadOdizadEzev* grid_;
};

TCellControlHost& TVadOdizadEzev::CellControlState() {
  if (!controlHost_) controlHost_ = std::make_unique<GridControlHost>(this);
  static_cast<GridControlHost&>(*controlHost_).Sync();
  return *controlHost_;
}

// ===== rows and columns =====

void TVadOdizadEzev::InsertRows(Integer row, Integer count, bool moveControls) {
  if (count <= 0 || row < 0 || row > RowCount()) return;
  Model().InsertRows(row, count, moveControls);
  if (!ComponentState().Contains(vcl::csDestroying)) CellsChanged(vcl::TRect{0, row, ColCount() - 1, row + count});
  Invalidate();
}

void TVadOdizadEzev::RowsRemovedFromView(Integer savedRow, Integer savedTop) {
  const Integer lastData = RowCount() - FixedFooters() - 1;
  if (lastData < FixedRows()) {
    // No data row is left: nothing is current.
    SelectSingleCell(FixedCols(), FixedRows() < RowCount() ? FixedRows() : RowCount() - 1);
    ParkSelection();
  } else if (savedRow < RowCount() - FixedFooters()) {
    if (Row() != savedRow) SetRow(savedRow);
  } else {
    SetRow(lastData);
  }
  if (savedTop < RowCount()) SetTopRow(std::min(savedTop, std::max(FixedRows(), RowCount() - 1)));
  Invalidate();
}

void TVadOdizadEzev::RemoveRows(Integer row, Integer count) {
  if (count <= 0 || row < 0 || row >= RowCount()) return;
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  Model().RemoveRows(row, count);
  CellsChanged(vcl::TRect{0, row, ColCount() - 1, row + count});
  RowsRemovedFromView(savedRow, savedTop);
}

void TVadOdizadEzev::RemoveRowsEx(Integer row, Integer count) {
  if (count <= 0 || row < 0 || row >= RowCount()) return;
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  Model().RemoveRowsEx(row, count);
  CellsChanged(vcl::TRect{0, row, ColCount() - 1, row + count});
  RowsRemovedFromView(savedRow, savedTop);
}

void TVadOdizadEzev::DeleteRowsShift(Integer row, Integer count) {
  if (count <= 0 || row < 0 || row >= RowCount()) return;
  const Integer savedRow = Row(), savedTop = TopRow();
  Model().DeleteRowsShift(row, count);
  CellsChanged(vcl::TRect{0, row, ColCount() - 1, row + count});
  RowsRemovedFromView(savedRow, savedTop);
}

void TVadOdizadEzev::InsertCols(Integer col, Integer count) {
  Model().InsertCols(col, count);
  Invalidate();
}

void TVadOdizadEzev::RemoveCols(Integer col, Integer count) {
  if (count <= 0 || col < 0 || col >= ColCount()) return;
  count = std::min(count, ColCount() - col);
  if (EditorMode() || editorActive_) HideCellEditor();
  Model().RemoveCols(col, count);
  CellsChanged(vcl::TRect{col, 0, col + count, RowCount() - 1});
  if (Col() >= ColCount()) SetCol(ColCount() - 1);
  Invalidate();
}

void TVadOdizadEzev::ClearRect(Integer col1, Integer row1, Integer col2, Integer row2) {
  Model().ClearRect(col1, row1, col2, row2);
  if (!ComponentState().Contains(vcl::csDestroying)) CellsChanged(vcl::TRect{col1, row1, col2, row2});
  Invalidate();
}

void TVadOdizadEzev::ClearRows(Integer row, Integer count) {
  if (RowCount() == 0 || ColCount() == 0 || count <= 0) return;
  ClearRect(0, row, ColCount() - 1, row + count - 1);
}

void TVadOdizadEzev::ClearCols(Integer col, Integer count) {
  if (RowCount() == 0 || ColCount() == 0 || count <= 0) return;
  ClearRect(col, 0, col + count - 1, RowCount() - 1);
}

void TVadOdizadEzev::ClearSelection() {
  if (mouseActions_->DisjunctRowSelect()) {
    for (Integer r = 0; r < RowCount(); ++r) {
      const Integer index = mouseActions_->RowSelectPersistent ? RealRowIndex(r) : r;
      if (selectionMarks_.RowMarked(index)) ClearRows(r, 1);
    }
    return;
  }
  if (mouseActions_->DisjunctColSelect()) {
    for (Integer c = 0; c < ColCount(); ++c)
      if (selectionMarks_.ColMarked(c)) ClearCols(c, 1);
    return;
  }
  const vcl::TGridRect s = Selection();
  ClearRect(s.Left, s.Top, s.Right, s.Bottom);
}

void TVadOdizadEzev::Clear() {
  if (RowCount() > 0 && ColCount() > 0) ClearRect(0, 0, ColCount() - 1, RowCount() - 1);
  lookupText_.clear();
}

void TVadOdizadEzev::RemoveSelectedRows() {
  std::vector<Integer> rows;
  if (mouseActions_->DisjunctRowSelect()) {
    for (Integer r = FixedRows(); r <= RowCount() - FixedFooters() - 1; ++r) {
      const Integer index = mouseActions_->RowSelectPersistent ? RealRowIndex(r) : r;
      if (selectionMarks_.RowMarked(index)) rows.push_back(r);
    }
  } else {
    const vcl::TGridRect s = Selection();
    for (Integer r = s.Top; r <= s.Bottom && r < RowCount(); ++r) rows.push_back(r);
  }
  // From the bottom up, so the rows above keep their numbers.
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) RemoveRows(*it, 1);
  if (mouseActions_->DisjunctRowSelect()) ClearRowMarks();
}

void TVadOdizadEzev::AddRowAtEnd() {
  const Integer at = Model().FooterRowShown() ? RowCount() - 1 : RowCount();
  InsertRows(at, 1, true);
}

void TVadOdizadEzev::ResetColumnOrder() {
  columnOrder_->Clear();
  for (Integer c = 0; c < ColCount(); ++c) columnOrder_->Insert(columnOrder_->Count(), c);
}

// ===== auto-size =====

void TVadOdizadEzev::AutoSizeCol(Integer col, Integer extra) {
  if (col < 0 || col >= ColCount()) return;
  TCellControlHost& controls = CellControlState();
  Integer first = 0, last = RowCount() - 1;
  switch (columnSize_->Rows) {
    case arNormal:
      first = FixedRows();
      last = RowCount() - FixedFooters() - 1;
      break;
    case arFixed:
      last = FixedRows() - 1;
      break;
    default:
      break;
  }
  const Integer real = RealColIndex(col);
  Integer widest = 0;
  for (Integer r = first; r <= last; ++r) {
    if (Model().IsMergedCell(real, r)) continue;
    vcl::TSize size{};
    MeasureCellContent(real, col, r, size, false, false);
    Integer width = size.cx;
    if (const TCellGraphic* g = controls.GetCellGraphic(real, r)) {
      const TExtent e = controls.GetCellGraphicSize(real, r);
      width += g->CellHAlign == haFull ? e.Width - 2 * GridLineWidth() - AutoSizing.MarginX - 2 : e.Width;
    }
    if (controlLook_->DropDownAlwaysVisible() && HasComboBox(real, r)) width += 16;
    widest = std::max(widest, width);
  }
  Integer width = ColumnWidthFor(widest, GridLineWidth(), AutoSizing);
  if (!AutoSizing.GrowOnly || ColWidths(col) < width) {
    if (OnUpdateColumnSize) OnUpdateColumnSize(this, col, width);
    SetColWidths(col, AutoSizing.Limits.ClampWidth(width));
  }
  if (extra != 0) SetColWidths(col, AutoSizing.Limits.ClampWidth(ColWidths(col) + extra));
}

void TVadOdizadEzev::AutoSizeColumns(bool doFixedCols, Integer extra) {
  const Integer last = doFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
  for (Integer c = doFixedCols ? 0 : FixedCols(); c <= last; ++c) AutoSizeCol(c, extra);
}

void TVadOdizadEzev::AutoSizeRow(Integer row, Integer extra) {
  if (row < 0 || row >= RowCount()) return;
  TCellControlHost& controls = CellControlState();
  Integer tallest = 0;
  for (Integer c = 0; c < ColCount(); ++c) {
    if (IsIgnoredColumn(c) || Model().IsMergedVert(c, row)) continue;
    const Integer real = RealColIndex(c);
    if (Model().IsCoveredCell(real, row)) continue;
    vcl::TSize size{};
    MeasureCellContent(real, c, row, size, false, Model().WordWrap());
    Integer textHeight = Model().GetDisplayCell(real, row).empty() ? 0 : size.cy;
    Integer graphicHeight = 0;
    if (const TCellGraphic* g = controls.GetCellGraphic(real, row)) {
      const TExtent e = controls.GetCellGraphicSize(real, row);
      graphicHeight = g->CellVAlign == vaFull ? (textHeight > 0 ? 0 : DefaultRowHeight()) : e.Height;
      if ((g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox) && e.Height > 0) textHeight = 0;
      if (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox ||
          g->CellType == ctRadioButton) {
        tallest = std::max(tallest, DefaultRowHeight());
        continue;
      }
    }
    tallest = std::max(tallest, textHeight + graphicHeight);
  }
  const Integer height = AutoSizing.Limits.ClampHeight(RowHeightFor(tallest, GridLineWidth(), AutoSizing));
  if (!AutoSizing.GrowOnly || height > RowHeights(row)) SetRowHeights(row, height);
  if (extra != 0) SetRowHeights(row, AutoSizing.Limits.ClampHeight(RowHeights(row) + extra));
}

void TVadOdizadEzev::AutoSizeRows(bool doFixedRows, Integer extra) {
  if (RowCount() == 0) return;
  if (Model().WordWrap()) {
    for (Integer r = doFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) AutoSizeRow(r, extra);
  } else {
    // The font of the first data cell, measured as painting measures.
    vcl::TCanvas* canvas = Canvas();
    vcl::TFont kept;
    kept.Assign(canvas->Font());
    const TColor keptBrush = canvas->Brush()->Color();
    const Integer row = std::min(FixedRows(), RowCount() - 1);
    ApplyCellFont(RealColIndex(FixedCols()), FixedCols(), canvas->Brush(), canvas->Font(), TGridDrawState{}, row);
    CanvasMeasurer measurer(canvas);
    AutoSizeRowsPlain(Model(), measurer, TFontSpec{}, AutoSizing, doFixedRows, extra, Multilinecells);
    canvas->Font()->Assign(&kept);
    canvas->Brush()->SetColor(keptBrush);
  }
  ShowAlwaysScrollBars();
  Invalidate();
}

void TVadOdizadEzev::AutoSizeCells(bool doFixed, Integer extraX, Integer extraY) {
  TCellControlHost& controls = CellControlState();
  std::vector<Integer> widths(ColCount(), 0);
  for (Integer c = doFixed ? 0 : FixedCols(); c < ColCount(); ++c) {
    Integer running = AutoSizing.GrowOnly ? ColWidths(c) : 0;
    const Integer real = RealColIndex(c);
    for (Integer r = doFixed ? 0 : FixedRows(); r < RowCount(); ++r) {
      vcl::TSize size{};
      MeasureCellContent(real, c, r, size, false, false);
      const TExtent g = controls.GetCellGraphicSize(real, r);
      const Integer needX = size.cx + g.Width + extraX + AutoSizing.HorzMargin();
      const Integer needY = size.cy + g.Height + extraY + AutoSizing.VertMargin();
      if (!Model().IsMergedCell(real, r) && needX > running) {
        running = needX;
        SetColWidths(c, AutoSizing.Limits.ClampWidth(needX));
      }
      if (!Model().IsMergedVert(real, r) && needY > RowHeights(r)) SetRowHeights(r, AutoSizing.Limits.ClampHeight(needY));
    }
  }
  Invalidate();
}

// ===== the Insert and Delete keys =====

void TVadOdizadEzev::AutoInsertRow(Integer realRow) {
  InsertRows(DisplRowIndex(realRow), 1, true);
  if (OnAutoInsertRow) OnAutoInsertRow(this, realRow);
}

void TVadOdizadEzev::AutoDeleteRow(Integer realRow) {
  const Integer row = DisplRowIndex(realRow);
  // The last data row is emptied rather than removed, unless a fixed row
  // is kept anyway.
  if (RowCount() - FixedRows() - FixedFooters() == 1 && !FixedRowAlways())
    ClearRows(row, 1);
  else
    RemoveRows(row, 1);
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, realRow);
}

bool TVadOdizadEzev::RowKey(Word key, vcl::TShiftState shift) {
  if (EditorMode()) return false;
  if (key == vcl::VK_INSERT && navigation_->AllowInsertRow && !shift.Contains(vcl::ssCtrl) &&
      !shift.Contains(vcl::ssShift) && !shift.Contains(vcl::ssAlt)) {
    bool canInsert = true;
    CanInsertRow(Row(), canInsert);
    if (!canInsert) return false;
    if (navigation_->InsertPosition == pInsertAfter) {
      if (FixedRowAlways() && FixedRows() == RowCount()) {
        AutoInsertRow(RealRowIndex(Row()));
        SetRow(1);
      } else {
        // Below the current row, which then moves onto the new one.
        AutoInsertRow(RealRowIndex(Row() + 1));
        SetRow(Row() + 1);
      }
    } else {
      AutoInsertRow(RealRowIndex(Row()));
    }
    Modified = true;
    return true;
  }
  if (key == vcl::VK_DELETE && navigation_->AllowDeleteRow && !shift.Contains(vcl::ssAlt) &&
      RowCount() - FixedRows() - FixedFooters() >= 1) {
    bool canDelete = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), canDelete);
    if (!canDelete) return false;
    AutoDeleteRow(RealRowIndex(Row()));
    if (Model().FooterRowShown() && Row() == RowCount() - 1 && RowCount() >= 2) SetRow(RowCount() - 2);
    StartEditCell(Col(), Row());
    Modified = true;
    return true;
  }
  return false;
}

}  // namespace grid
