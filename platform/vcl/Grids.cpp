#include "vcl/Grids.h"

#include <QScrollBar>
#include <algorithm>

#include "rtl/CodePages.h"
#include "vcl/Forms.h"
#include "vcl/Gdi.h"
#include "vcl/QtHost.h"
#include "vcl/WinApi.h"

namespace vcl {

namespace {

// Scroll bars run over these positions whatever the number of cells.
constexpr Integer ScrollRange = 127;
constexpr Integer ScrollBarSize = 17;
constexpr Integer BorderSize = 2;
// How near a column's or row's edge the mouse starts sizing it.
constexpr Integer SizingMargin = 3;

}  // namespace

// ===== TInplaceEdit =====

TInplaceEdit::TInplaceEdit(TComponent* owner) : TCustomMaskEdit(owner) {
  grid_ = dynamic_cast<TCustomGrid*>(owner);
  SetVisible(false);
  SetTabStop(false);
}

void TInplaceEdit::Move(const TRect& r) {
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetVisible(true);
}

void TInplaceEdit::Hide() { SetVisible(false); }

void TInplaceEdit::UpdateContents() {
  if (!grid_) return;
  updating_ = true;
  SetMaxLength(grid_->GetEditLimit());
  SetText(grid_->GetEditText(grid_->Col(), grid_->Row()));
  SetModified(false);
  updating_ = false;
}

void TInplaceEdit::Change() {
  TCustomMaskEdit::Change();
  if (grid_ && !updating_) grid_->SetEditText(grid_->Col(), grid_->Row(), Text());
}

void TInplaceEdit::KeyDown(Word& key, TShiftState shift) {
  TCustomMaskEdit::KeyDown(key, shift);
  if (!grid_ || key == 0) return;
  // Keys that move between cells or end the edit are the grid's.
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
    case VK_RETURN:
    case VK_F2:
      grid_->KeyDown(key, shift);
      key = 0;
      break;
    case VK_TAB:
      if (grid_->Options().Contains(goTabs)) {
        grid_->KeyDown(key, shift);
        key = 0;
      }
      break;
    default:
      break;
  }
}

void TInplaceEdit::KeyPress(WideChar& key) {
  TCustomMaskEdit::KeyPress(key);
  // Enter, Escape and Tab were handled as keys.
  if (key == '\r' || key == 27 || key == '\t') key = 0;
}

void TInplaceEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    return;
  }
  TCustomMaskEdit::Dispatch(m);
}

// ===== TCustomGrid: dimensions =====

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  colWidths_.assign(colCount_, defaultColWidth_);
  rowHeights_.assign(rowCount_, defaultRowHeight_);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::SetColCount(Integer value) {
  if (value <= 0) value = 1;
  if (value == colCount_) return;
  HideEditor();
  const Integer oldCols = colCount_;
  if (fixedCols_ >= value) fixedCols_ = value - 1;
  colCount_ = value;
  StoreSizeChanged(oldCols, rowCount_);
  CheckSelection();
  SizeChanged(oldCols, rowCount_);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetRowCount(Integer value) {
  if (value <= 0) value = 1;
  if (value == rowCount_) return;
  HideEditor();
  const Integer oldRows = rowCount_;
  if (fixedRows_ >= value) fixedRows_ = value - 1;
  rowCount_ = value;
  StoreSizeChanged(colCount_, oldRows);
  CheckSelection();
  SizeChanged(colCount_, oldRows);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::CountsChanged(Integer colCount, Integer rowCount, Integer fixedCols, Integer fixedRows) {
  const Integer oldCols = colCount_, oldRows = rowCount_;
  if (EditorMode() && (colCount != oldCols || rowCount != oldRows)) HideEditor();
  colCount_ = std::max(colCount, 1);
  rowCount_ = std::max(rowCount, 1);
  fixedCols_ = std::clamp(fixedCols, 0, colCount_ - 1);
  fixedRows_ = std::clamp(fixedRows, 0, rowCount_ - 1);
  colWidths_.resize(colCount_, defaultColWidth_);
  rowHeights_.resize(rowCount_, defaultRowHeight_);
  CheckSelection();
  if (colCount_ != oldCols || rowCount_ != oldRows) SizeChanged(oldCols, oldRows);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedCols(Integer value) {
  if (value < 0) throw EInvalidGridOperation("Grid index out of range");
  if (value >= colCount_) throw EInvalidGridOperation("Fixed column count must be less than column count");
  fixedCols_ = value;
  CheckSelection();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedRows(Integer value) {
  if (value < 0) throw EInvalidGridOperation("Grid index out of range");
  if (value >= rowCount_) throw EInvalidGridOperation("Fixed row count must be less than row count");
  fixedRows_ = value;
  CheckSelection();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(Integer value) {
  defaultColWidth_ = value;
  for (Integer c = 0; c < colCount_; ++c) StoreColWidth(c, value);
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(Integer value) {
  defaultRowHeight_ = value;
  for (Integer r = 0; r < rowCount_; ++r) StoreRowHeight(r, value);
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
}

Integer TCustomGrid::ColWidths(Integer col) const {
  return col >= 0 && col < colCount_ ? StoredColWidth(col) : defaultColWidth_;
}

void TCustomGrid::SetColWidths(Integer col, Integer width) {
  if (col < 0 || col >= colCount_) throw EInvalidGridOperation("Grid index out of range");
  StoreColWidth(col, width);
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
}

Integer TCustomGrid::RowHeights(Integer row) const {
  return row >= 0 && row < rowCount_ ? StoredRowHeight(row) : defaultRowHeight_;
}

void TCustomGrid::SetRowHeights(Integer row, Integer height) {
  if (row < 0 || row >= rowCount_) throw EInvalidGridOperation("Grid index out of range");
  StoreRowHeight(row, height);
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::StoreColWidth(Integer col, Integer width) { colWidths_[col] = width; }
void TCustomGrid::StoreRowHeight(Integer row, Integer height) { rowHeights_[row] = height; }
Integer TCustomGrid::StoredColWidth(Integer col) const { return colWidths_[col]; }
Integer TCustomGrid::StoredRowHeight(Integer row) const { return rowHeights_[row]; }

void TCustomGrid::StoreSizeChanged(Integer, Integer) {
  colWidths_.resize(colCount_, defaultColWidth_);
  rowHeights_.resize(rowCount_, defaultRowHeight_);
}

void TCustomGrid::StoreMoveColumn(Integer fromIndex, Integer toIndex) {
  const Integer w = colWidths_[fromIndex];
  colWidths_.erase(colWidths_.begin() + fromIndex);
  colWidths_.insert(colWidths_.begin() + toIndex, w);
}

void TCustomGrid::StoreMoveRow(Integer fromIndex, Integer toIndex) {
  const Integer h = rowHeights_[fromIndex];
  rowHeights_.erase(rowHeights_.begin() + fromIndex);
  rowHeights_.insert(rowHeights_.begin() + toIndex, h);
}

void TCustomGrid::SetGridLineWidth(Integer value) {
  gridLineWidth_ = std::max(value, 0);
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool value) {
  defaultDrawing_ = value;
  Invalidate();
}

void TCustomGrid::SetOptions(const TGridOptions& value) {
  if (value == options_) return;
  options_ = value;
  if (options_.Contains(goRowSelect)) HideEditor();
  if (options_.Contains(goAlwaysShowEditor) && Focused()) ShowEditor();
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor value) {
  fixedColor_ = value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
  scrollBars_ = value;
  UpdateScrollBars();
}

void TCustomGrid::SetBorderStyle(TGridBorderStyle value) {
  borderStyle_ = value;
  if (HandleAllocated()) UpdateNonClientArea();
}

// ===== geometry =====

Integer TCustomGrid::ColumnLeft(Integer col) const {
  Integer x = 0;
  if (col < fixedCols_) {
    for (Integer c = 0; c < col; ++c) x += ColWidths(c) + gridLineWidth_;
    return x;
  }
  for (Integer c = 0; c < fixedCols_; ++c) x += ColWidths(c) + gridLineWidth_;
  if (col >= topLeft_.X) {
    for (Integer c = topLeft_.X; c < col; ++c) x += ColWidths(c) + gridLineWidth_;
  } else {
    for (Integer c = col; c < topLeft_.X; ++c) x -= ColWidths(c) + gridLineWidth_;
  }
  return x;
}

Integer TCustomGrid::RowTop(Integer row) const {
  Integer y = 0;
  if (row < fixedRows_) {
    for (Integer r = 0; r < row; ++r) y += RowHeights(r) + gridLineWidth_;
    return y;
  }
  for (Integer r = 0; r < fixedRows_; ++r) y += RowHeights(r) + gridLineWidth_;
  if (row >= topLeft_.Y) {
    for (Integer r = topLeft_.Y; r < row; ++r) y += RowHeights(r) + gridLineWidth_;
  } else {
    for (Integer r = row; r < topLeft_.Y; ++r) y -= RowHeights(r) + gridLineWidth_;
  }
  return y;
}

TRect TCustomGrid::CellRect(Integer col, Integer row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
  // Scrolled away to the left or above: not shown.
  if ((col >= fixedCols_ && col < topLeft_.X) || (row >= fixedRows_ && row < topLeft_.Y)) return {};
  const Integer x = ColumnLeft(col);
  const Integer y = RowTop(row);
  const TRect client = ClientRect();
  if (x >= client.Width() || y >= client.Height()) return {};
  return {x, y, x + ColWidths(col), y + RowHeights(row)};
}

TGridCoord TCustomGrid::MouseCoord(Integer x, Integer y) const {
  TGridCoord cell{-1, -1};
  if (x < 0 || y < 0) return cell;
  auto find = [&](Integer pos, Integer fixed, Integer first, Integer count, bool columns) {
    Integer edge = 0;
    for (Integer i = 0; i < fixed; ++i) {
      edge += (columns ? ColWidths(i) : RowHeights(i)) + gridLineWidth_;
      if (pos < edge) return i;
    }
    for (Integer i = first; i < count; ++i) {
      edge += (columns ? ColWidths(i) : RowHeights(i)) + gridLineWidth_;
      if (pos < edge) return i;
    }
    return -1;
  };
  cell.X = find(x, fixedCols_, topLeft_.X, colCount_, true);
  cell.Y = find(y, fixedRows_, topLeft_.Y, rowCount_, false);
  if (cell.X < 0 || cell.Y < 0) return {-1, -1};
  return cell;
}

void TCustomGrid::MouseToCell(Integer x, Integer y, Integer& col, Integer& row) const {
  const TGridCoord c = MouseCoord(x, y);
  col = c.X;
  row = c.Y;
}

Integer TCustomGrid::VisibleColCount() const {
  if (fixedCols_ >= colCount_) return 0;
  const Integer width = ClientRect().Width();
  Integer x = 0;
  for (Integer c = 0; c < fixedCols_; ++c) x += ColWidths(c) + gridLineWidth_;
  Integer n = 0;
  for (Integer c = topLeft_.X; c < colCount_; ++c) {
    x += ColWidths(c);
    if (x > width) break;
    x += gridLineWidth_;
    ++n;
  }
  return std::max(n, 1);
}

Integer TCustomGrid::VisibleRowCount() const {
  if (fixedRows_ >= rowCount_) return 0;
  const Integer height = ClientRect().Height();
  Integer y = 0;
  for (Integer r = 0; r < fixedRows_; ++r) y += RowHeights(r) + gridLineWidth_;
  Integer n = 0;
  for (Integer r = topLeft_.Y; r < rowCount_; ++r) {
    y += RowHeights(r);
    if (y > height) break;
    y += gridLineWidth_;
    ++n;
  }
  return std::max(n, 1);
}

Integer TCustomGrid::MaxLeftCol() const {
  if (fixedCols_ >= colCount_) return fixedCols_;
  Integer room = ClientRect().Width();
  for (Integer c = 0; c < fixedCols_; ++c) room -= ColWidths(c) + gridLineWidth_;
  Integer c = colCount_ - 1;
  room -= ColWidths(c);
  while (c > fixedCols_ && room - gridLineWidth_ - ColWidths(c - 1) >= 0) {
    room -= gridLineWidth_ + ColWidths(c - 1);
    --c;
  }
  return c;
}

Integer TCustomGrid::MaxTopRow() const {
  if (fixedRows_ >= rowCount_) return fixedRows_;
  Integer room = ClientRect().Height();
  for (Integer r = 0; r < fixedRows_; ++r) room -= RowHeights(r) + gridLineWidth_;
  Integer r = rowCount_ - 1;
  room -= RowHeights(r);
  while (r > fixedRows_ && room - gridLineWidth_ - RowHeights(r - 1) >= 0) {
    room -= gridLineWidth_ + RowHeights(r - 1);
    --r;
  }
  return r;
}

void TCustomGrid::InvalidateCell(Integer, Integer) { Invalidate(); }
void TCustomGrid::InvalidateRow(Integer) { Invalidate(); }
void TCustomGrid::InvalidateCol(Integer) { Invalidate(); }

// ===== current cell, selection, scrolling =====

void TCustomGrid::CheckSelection() {
  auto clampCell = [&](TGridCoord& c) {
    c.X = std::clamp(c.X, fixedCols_, std::max(colCount_ - 1, fixedCols_));
    c.Y = std::clamp(c.Y, fixedRows_, std::max(rowCount_ - 1, fixedRows_));
  };
  clampCell(current_);
  clampCell(anchor_);
  topLeft_.X = std::clamp(topLeft_.X, fixedCols_, std::max(MaxLeftCol(), fixedCols_));
  topLeft_.Y = std::clamp(topLeft_.Y, fixedRows_, std::max(MaxTopRow(), fixedRows_));
}

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(current_.X, anchor_.X), std::min(current_.Y, anchor_.Y), std::max(current_.X, anchor_.X),
              std::max(current_.Y, anchor_.Y)};
  if (options_.Contains(goRowSelect)) {
    r.Left = fixedCols_;
    r.Right = colCount_ - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& value) {
  anchor_ = {value.Left, value.Top};
  current_ = {value.Right, value.Bottom};
  CheckSelection();
  ClampInView(current_.X, current_.Y);
  Invalidate();
}

void TCustomGrid::SetCurrent(TGridCoord cell, bool moveAnchor) {
  current_ = cell;
  if (moveAnchor || !options_.Contains(goRangeSelect)) anchor_ = cell;
  Invalidate();
}

void TCustomGrid::FocusCell(Integer col, Integer row, bool moveAnchor) { MoveCurrent(col, row, moveAnchor, true); }

void TCustomGrid::MoveCurrent(Integer col, Integer row, bool moveAnchor, bool show) {
  if (col < fixedCols_ || row < fixedRows_ || col >= colCount_ || row >= rowCount_) return;
  if ((col != current_.X || row != current_.Y) && !SelectCell(col, row)) return;
  const bool wasEditing = EditorMode();
  if (wasEditing) HideEditor();
  SetCurrent({col, row}, moveAnchor);
  if (show) ClampInView(col, row);
  if (wasEditing || options_.Contains(goAlwaysShowEditor)) ShowEditor();
}

void TCustomGrid::SetCol(Integer value) { MoveCurrent(value, current_.Y, true, true); }
void TCustomGrid::SetRow(Integer value) { MoveCurrent(current_.X, value, true, true); }

void TCustomGrid::ClampInView(Integer col, Integer row) {
  TGridCoord tl = topLeft_;
  if (col >= fixedCols_) {
    if (col < tl.X) tl.X = col;
    while (tl.X < col && tl.X < MaxLeftCol()) {
      // Shown whole when its right edge fits.
      Integer x = 0;
      for (Integer c = 0; c < fixedCols_; ++c) x += ColWidths(c) + gridLineWidth_;
      for (Integer c = tl.X; c <= col; ++c) x += ColWidths(c) + (c < col ? gridLineWidth_ : 0);
      if (x <= ClientRect().Width()) break;
      ++tl.X;
    }
  }
  if (row >= fixedRows_) {
    if (row < tl.Y) tl.Y = row;
    while (tl.Y < row && tl.Y < MaxTopRow()) {
      Integer y = 0;
      for (Integer r = 0; r < fixedRows_; ++r) y += RowHeights(r) + gridLineWidth_;
      for (Integer r = tl.Y; r <= row; ++r) y += RowHeights(r) + (r < row ? gridLineWidth_ : 0);
      if (y <= ClientRect().Height()) break;
      ++tl.Y;
    }
  }
  ScrollTo(tl.X, tl.Y);
}

void TCustomGrid::ScrollTo(Integer leftCol, Integer topRow) {
  leftCol = std::clamp(leftCol, fixedCols_, std::max(MaxLeftCol(), fixedCols_));
  topRow = std::clamp(topRow, fixedRows_, std::max(MaxTopRow(), fixedRows_));
  if (leftCol == topLeft_.X && topRow == topLeft_.Y) return;
  topLeft_ = {leftCol, topRow};
  if (EditorMode() && editor_) {
    const TRect r = CellRect(current_.X, current_.Y);
    if (r.IsEmpty())
      editor_->Hide();
    else
      editor_->Move(r);
  }
  UpdateScrollBars();
  Invalidate();
  TopLeftChanged();
}

void TCustomGrid::SetLeftCol(Integer value) { ScrollTo(value, topLeft_.Y); }
void TCustomGrid::SetTopRow(Integer value) { ScrollTo(topLeft_.X, value); }

bool TCustomGrid::SelectCell(Integer col, Integer row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  return can;
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::ColumnMoved(Integer fromIndex, Integer toIndex) {
  if (OnColumnMoved) OnColumnMoved(this, fromIndex, toIndex);
}

void TCustomGrid::RowMoved(Integer fromIndex, Integer toIndex) {
  if (OnRowMoved) OnRowMoved(this, fromIndex, toIndex);
}

void TCustomGrid::MoveColumn(Integer fromIndex, Integer toIndex) {
  if (fromIndex < 0 || toIndex < 0 || fromIndex >= colCount_ || toIndex >= colCount_)
    throw EInvalidGridOperation("Grid index out of range");
  if (fromIndex == toIndex) return;
  HideEditor();
  StoreMoveColumn(fromIndex, toIndex);
  ColumnMoved(fromIndex, toIndex);
  Invalidate();
}

void TCustomGrid::MoveRow(Integer fromIndex, Integer toIndex) {
  if (fromIndex < 0 || toIndex < 0 || fromIndex >= rowCount_ || toIndex >= rowCount_)
    throw EInvalidGridOperation("Grid index out of range");
  if (fromIndex == toIndex) return;
  HideEditor();
  StoreMoveRow(fromIndex, toIndex);
  RowMoved(fromIndex, toIndex);
  Invalidate();
}

Integer TCustomGrid::ScrollPosition(bool vertical) const {
  const Integer first = vertical ? fixedRows_ : fixedCols_;
  const Integer last = vertical ? MaxTopRow() : MaxLeftCol();
  const Integer at = vertical ? topLeft_.Y : topLeft_.X;
  if (last <= first) return 0;
  return static_cast<Integer>((static_cast<int64_t>(at - first) * ScrollRange + (last - first) / 2) / (last - first));
}

void TCustomGrid::ModifyScrollBar(bool vertical, Integer code, Integer position) {
  const Integer first = vertical ? fixedRows_ : fixedCols_;
  const Integer last = std::max(vertical ? MaxTopRow() : MaxLeftCol(), first);
  Integer at = vertical ? topLeft_.Y : topLeft_.X;
  const Integer page = std::max(vertical ? VisibleRowCount() : VisibleColCount(), 1);
  switch (code) {
    case SB_LINEUP: --at; break;
    case SB_LINEDOWN: ++at; break;
    case SB_PAGEUP: at -= page; break;
    case SB_PAGEDOWN: at += page; break;
    case SB_TOP: at = first; break;
    case SB_BOTTOM: at = last; break;
    case SB_THUMBTRACK:
      if (!options_.Contains(goThumbTracking)) return;
      [[fallthrough]];
    case SB_THUMBPOSITION:
      at = first + static_cast<Integer>(static_cast<int64_t>(std::clamp(position, 0, ScrollRange)) * (last - first) /
                                         ScrollRange);
      break;
    default:
      return;
  }
  if (vertical)
    ScrollTo(topLeft_.X, at);
  else
    ScrollTo(at, topLeft_.Y);
  UpdateScrollBars();
}

// ===== scroll bars =====

bool TCustomGrid::VertBarShown() const {
  return (scrollBars_ == ssVertical || scrollBars_ == ssBoth) && vertShown_;
}

bool TCustomGrid::HorzBarShown() const {
  return (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && horzShown_;
}

void TCustomGrid::EnsureScrollBars() {
  if (vertBar_ || !HandleAllocated()) return;
  QWidget* w = Widget();
  vertBar_ = new QScrollBar(Qt::Vertical, w);
  horzBar_ = new QScrollBar(Qt::Horizontal, w);
  for (QScrollBar* bar : {vertBar_, horzBar_}) {
    bar->setRange(0, ScrollRange);
    bar->setPageStep(8);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
    const bool vertical = bar == vertBar_;
    const Cardinal msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, bar, msg](int action) {
      if (scrollBarsUpdating_) return;
      Guarded(this, [&] {
        Integer code = -1;
        switch (action) {
          case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
          case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
          case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
          case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
          case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
          case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
          case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
          default: break;
        }
        if (code >= 0)
          Perform(msg, MakeWParam(static_cast<Word>(code), static_cast<Word>(bar->sliderPosition())), 0);
      });
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [this, bar, msg] {
      Guarded(this, [&] {
        Perform(msg, MakeWParam(static_cast<Word>(SB_THUMBPOSITION), static_cast<Word>(bar->sliderPosition())), 0);
      });
    });
  }
}

void TCustomGrid::UpdateScrollBars() {
  if (scrollBarsUpdating_) return;
  scrollBarsUpdating_ = true;
  const bool vertWanted = (scrollBars_ == ssVertical || scrollBars_ == ssBoth) && MaxTopRow() > fixedRows_;
  const bool horzWanted = (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && MaxLeftCol() > fixedCols_;
  const bool changed = vertWanted != vertShown_ || horzWanted != horzShown_;
  vertShown_ = vertWanted;
  horzShown_ = horzWanted;
  if (changed && HandleAllocated()) UpdateNonClientArea();
  EnsureScrollBars();
  if (vertBar_) {
    vertBar_->setValue(ScrollPosition(true));
    horzBar_->setValue(ScrollPosition(false));
    PlaceScrollBars();
  }
  scrollBarsUpdating_ = false;
}

void TCustomGrid::PlaceScrollBars() {
  if (!vertBar_) return;
  const TRect& in = NonClientInsets();
  const Integer right = Width() - in.Right + (VertBarShown() ? ScrollBarSize : 0);
  const Integer bottom = Height() - in.Bottom + (HorzBarShown() ? ScrollBarSize : 0);
  vertBar_->setGeometry(right - ScrollBarSize, in.Top, ScrollBarSize, bottom - in.Top - (HorzBarShown() ? ScrollBarSize : 0));
  horzBar_->setGeometry(in.Left, bottom - ScrollBarSize, right - in.Left - (VertBarShown() ? ScrollBarSize : 0), ScrollBarSize);
  vertBar_->setVisible(VertBarShown());
  horzBar_->setVisible(HorzBarShown());
}

void TCustomGrid::Resize() {
  TCustomControl::Resize();
  CheckSelection();
  UpdateScrollBars();
}

void TCustomGrid::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (options_.Contains(goTabs) ? DLGC_WANTTAB : 0);
      return;
    case WM_NCCALCSIZE: {
      TCustomControl::Dispatch(m);
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      if (borderStyle_ == TGridBorderStyle::bsSingle) InflateRect(*r, -BorderSize, -BorderSize);
      if (VertBarShown()) r->Right -= ScrollBarSize;
      if (HorzBarShown()) r->Bottom -= ScrollBarSize;
      return;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      ModifyScrollBar(m.Msg == WM_VSCROLL, static_cast<Integer>(LoWord(m.WParam)),
                      static_cast<Integer>(HiWord(m.WParam)));
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      PlaceScrollBars();
      return;
    case WM_DESTROY:
      // Qt deletes the bars with the window.
      vertBar_ = horzBar_ = nullptr;
      TCustomControl::Dispatch(m);
      return;
    case WM_CREATE:
      TCustomControl::Dispatch(m);
      // The bars are children of the window: made with it.
      vertBar_ = horzBar_ = nullptr;
      vertShown_ = horzShown_ = false;
      UpdateScrollBars();
      return;
    default:
      TCustomControl::Dispatch(m);
  }
}

// ===== painting =====

void TCustomGrid::DrawCell(Integer col, Integer row, const TRect& r, TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(this, col, row, r, state);
}

void TCustomGrid::DrawGridLines(const TRect& r, bool fixed) {
  if (gridLineWidth_ <= 0) return;
  TCanvas* c = Canvas();
  c->Brush()->SetColor(fixed ? clBlack : clSilver);
  const bool vert = options_.Contains(fixed ? goFixedVertLine : goVertLine);
  const bool horz = options_.Contains(fixed ? goFixedHorzLine : goHorzLine);
  if (vert) c->FillRect({r.Right, r.Top, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_});
  if (horz) c->FillRect({r.Left, r.Bottom, r.Right + gridLineWidth_, r.Bottom + gridLineWidth_});
}

void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect({0, 0, client.Width(), client.Height()});
  const TGridRect sel = Selection();
  const bool focused = Focused();
  auto paintCell = [&](Integer col, Integer row) {
    const TRect r = CellRect(col, row);
    if (r.IsEmpty()) return;
    TGridDrawState state;
    const bool fixed = col < fixedCols_ || row < fixedRows_;
    if (fixed) {
      state.Include(gdFixed);
    } else {
      const bool isCurrent = col == current_.X && row == current_.Y;
      const bool inSelection = col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom;
      if (isCurrent && focused) state.Include(gdFocused);
      const bool showSelected =
          inSelection && (!isCurrent || options_.Contains(goRowSelect) || options_.Contains(goDrawFocusSelected) ||
                          sel.Left != sel.Right || sel.Top != sel.Bottom);
      if (showSelected && (focused || options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect)))
        state.Include(gdSelected);
    }
    // As on the desktop, a cell's drawing is not clipped to its rectangle:
    // a grid may paint a block of cells when asked for one of them.
    c->Font()->Assign(Font());
    if (defaultDrawing_) {
      c->Brush()->SetColor(fixed ? fixedColor_ : state.Contains(gdSelected) ? clHighlight : Color());
      if (state.Contains(gdSelected)) c->Font()->SetColor(clHighlightText);
      c->FillRect(r);
    }
    DrawCell(col, row, r, state);
    c->Font()->Assign(Font());
    if (defaultDrawing_ && fixed && gridLineWidth_ > 0) {
      // The raised look of the class library's fixed cells.
      TRect e = r;
      c->DrawEdge(e, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
      e = r;
      c->DrawEdge(e, BDR_RAISEDINNER, BF_TOPLEFT);
    }
    if (defaultDrawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect) && !EditorMode())
      c->DrawFocusRect(r);
    DrawGridLines(r, fixed);
  };
  for (Integer row = 0; row < rowCount_; ++row) {
    if (row >= fixedRows_ && row < topLeft_.Y) continue;
    if (RowTop(row) >= client.Height()) break;
    for (Integer col = 0; col < colCount_; ++col) {
      if (col >= fixedCols_ && col < topLeft_.X) continue;
      if (ColumnLeft(col) >= client.Width()) break;
      paintCell(col, row);
    }
  }
}

// ===== editing =====

bool TCustomGrid::CanEditShow() const {
  return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && current_.X >= fixedCols_ &&
         current_.Y >= fixedRows_;
}

AnsiString TCustomGrid::GetEditText(Integer col, Integer row) {
  AnsiString value;
  if (OnGetEditText) OnGetEditText(this, col, row, value);
  return value;
}

void TCustomGrid::SetEditText(Integer col, Integer row, const AnsiString& value) {
  if (OnSetEditText) OnSetEditText(this, col, row, value);
}

AnsiString TCustomGrid::GetEditMask(Integer col, Integer row) {
  AnsiString value;
  if (OnGetEditMask) OnGetEditMask(this, col, row, value);
  return value;
}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::EditorMode() const { return editorMode_; }

void TCustomGrid::SetEditorMode(bool value) {
  if (value)
    ShowEditor();
  else
    HideEditor();
}

void TCustomGrid::ShowEditor() {
  if (editorMode_ || !CanEditShow()) return;
  if (CellRect(current_.X, current_.Y).IsEmpty()) ClampInView(current_.X, current_.Y);
  if (!editor_) {
    editor_ = CreateEditor();
    editor_->grid_ = this;
    editor_->SetParent(this);
  }
  editorMode_ = true;
  editor_->UpdateContents();
  editor_->Move(CellRect(current_.X, current_.Y));
  editor_->SelectAll();
  if (Focused()) editor_->SetFocus();
  Invalidate();
}

void TCustomGrid::HideEditor() {
  if (!editorMode_) return;
  editorMode_ = false;
  const bool hadFocus = editor_ && editor_->Focused();
  if (editor_) editor_->Hide();
  if (hadFocus && CanFocus()) SetFocus();
  Invalidate();
}

void TCustomGrid::DoExit() {
  TCustomControl::DoExit();
  Invalidate();
}

// ===== keyboard =====

void TCustomGrid::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect) && !options_.Contains(goRowSelect);
  const bool ctrl = shift.Contains(ssCtrl);
  Integer col = current_.X, row = current_.Y;
  const Integer page = std::max(VisibleRowCount(), 1);
  bool move = true;
  switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT:
      if (EditorMode()) return;
      --col;
      break;
    case VK_RIGHT:
      if (EditorMode()) return;
      ++col;
      break;
    case VK_PRIOR:
      row -= page;
      SetTopRow(TopRow() - page);
      break;
    case VK_NEXT:
      row += page;
      SetTopRow(TopRow() + page);
      break;
    case VK_HOME:
      if (EditorMode()) return;
      if (ctrl) row = fixedRows_;
      col = fixedCols_;
      break;
    case VK_END:
      if (EditorMode()) return;
      if (ctrl) row = rowCount_ - 1;
      col = colCount_ - 1;
      break;
    case VK_TAB:
      if (!options_.Contains(goTabs)) return;
      if (shift.Contains(ssShift)) {
        if (col > fixedCols_) {
          --col;
        } else if (row > fixedRows_) {
          --row;
          col = colCount_ - 1;
        }
      } else if (col < colCount_ - 1) {
        ++col;
      } else if (row < rowCount_ - 1) {
        ++row;
        col = fixedCols_;
      }
      MoveCurrent(std::clamp(col, fixedCols_, colCount_ - 1), std::clamp(row, fixedRows_, rowCount_ - 1), true, true);
      key = 0;
      return;
    case VK_F2:
      if (options_.Contains(goEditing)) ShowEditor();
      move = false;
      break;
    case VK_RETURN:
      if (options_.Contains(goEditing)) {
        if (EditorMode())
          HideEditor();
        else
          ShowEditor();
      }
      move = false;
      break;
    case VK_ESCAPE:
      if (EditorMode()) {
        if (editor_) editor_->UpdateContents();  // back to the cell's text
        HideEditor();
      }
      move = false;
      break;
    default:
      move = false;
      break;
  }
  if (!move) return;
  col = std::clamp(col, fixedCols_, std::max(colCount_ - 1, fixedCols_));
  row = std::clamp(row, fixedRows_, std::max(rowCount_ - 1, fixedRows_));
  MoveCurrent(col, row, !extend, true);
}

void TCustomGrid::KeyPress(WideChar& key) {
  TCustomControl::KeyPress(key);
  if (key == 0 || !options_.Contains(goEditing) || EditorMode() || key < 32) return;
  ShowEditor();
  if (EditorMode() && editor_) {
    // The typed character starts the text.
    AnsiString text;
    rtl::AppendUtf8(text, key);
    editor_->SetText(text);
    editor_->SetSelStart(1);
    key = 0;
  }
}

// ===== mouse =====

void TCustomGrid::CalcSizingState(Integer x, Integer y, TGridState& state, Integer& index, Integer& sizingPos,
                                  Integer& sizingOfs) const {
  state = gsNormal;
  index = -1;
  Integer fixedWidth = 0, fixedHeight = 0;
  for (Integer c = 0; c < fixedCols_; ++c) fixedWidth += ColWidths(c) + gridLineWidth_;
  for (Integer r = 0; r < fixedRows_; ++r) fixedHeight += RowHeights(r) + gridLineWidth_;
  if (options_.Contains(goColSizing) && y < fixedHeight) {
    for (Integer c = 0; c < colCount_; ++c) {
      if (c >= fixedCols_ && c < topLeft_.X) continue;
      const Integer edge = ColumnLeft(c) + ColWidths(c);
      if (edge > ClientRect().Width() + SizingMargin) break;
      if (std::abs(x - edge) <= SizingMargin) {
        state = gsColSizing;
        index = c;
        sizingPos = edge;
        sizingOfs = edge - x;
        return;
      }
    }
  }
  if (options_.Contains(goRowSizing) && x < fixedWidth) {
    for (Integer r = 0; r < rowCount_; ++r) {
      if (r >= fixedRows_ && r < topLeft_.Y) continue;
      const Integer edge = RowTop(r) + RowHeights(r);
      if (edge > ClientRect().Height() + SizingMargin) break;
      if (std::abs(y - edge) <= SizingMargin) {
        state = gsRowSizing;
        index = r;
        sizingPos = edge;
        sizingOfs = edge - y;
        return;
      }
    }
  }
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (CanFocus() && !Focused() && !(editor_ && editor_->Focused())) SetFocus();
  if (button == mbLeft) {
    TGridState sizing = gsNormal;
    Integer index = -1;
    CalcSizingState(x, y, sizing, index, sizingPos_, sizingOfs_);
    if (sizing != gsNormal) {
      state_ = sizing;
      sizingIndex_ = index;
    } else {
      const TGridCoord cell = MouseCoord(x, y);
      if (cell.X >= 0) {
        const bool fixedCol = cell.X < fixedCols_, fixedRow = cell.Y < fixedRows_;
        if (fixedRow && !fixedCol && options_.Contains(goColMoving)) {
          state_ = gsColMoving;
          moveIndex_ = movePos_ = cell.X;
        } else if (fixedCol && !fixedRow && options_.Contains(goRowMoving)) {
          state_ = gsRowMoving;
          moveIndex_ = movePos_ = cell.Y;
        } else if (!fixedCol && !fixedRow) {
          const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect);
          if (shift.Contains(ssDouble)) {
            if (options_.Contains(goEditing)) ShowEditor();
          } else {
            MoveCurrent(cell.X, cell.Y, !extend, true);
            if (options_.Contains(goRangeSelect)) state_ = gsSelecting;
            if (options_.Contains(goEditing) && options_.Contains(goAlwaysShowEditor)) ShowEditor();
          }
        }
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, Integer x, Integer y) {
  switch (state_) {
    case gsSelecting: {
      const TGridCoord cell = MouseCoord(x, y);
      if (cell.X >= fixedCols_ && cell.Y >= fixedRows_ && (cell.X != current_.X || cell.Y != current_.Y))
        MoveCurrent(cell.X, cell.Y, false, true);
      break;
    }
    case gsColSizing:
    case gsRowSizing:
      sizingPos_ = (state_ == gsColSizing ? x : y) + sizingOfs_;
      break;
    case gsColMoving:
    case gsRowMoving: {
      const TGridCoord cell = MouseCoord(x, y);
      const Integer at = state_ == gsColMoving ? cell.X : cell.Y;
      const Integer first = state_ == gsColMoving ? fixedCols_ : fixedRows_;
      if (at >= first) movePos_ = at;
      break;
    }
    default: {
      TGridState sizing = gsNormal;
      Integer index = -1, pos = 0, ofs = 0;
      CalcSizingState(x, y, sizing, index, pos, ofs);
      SetCursor(sizing == gsColSizing ? crHSplit : sizing == gsRowSizing ? crVSplit : crDefault);
      break;
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  switch (state_) {
    case gsColSizing:
      SetColWidths(sizingIndex_, std::max(sizingPos_ - ColumnLeft(sizingIndex_), 0));
      break;
    case gsRowSizing:
      SetRowHeights(sizingIndex_, std::max(sizingPos_ - RowTop(sizingIndex_), 0));
      break;
    case gsColMoving:
      if (movePos_ >= 0 && movePos_ != moveIndex_) MoveColumn(moveIndex_, movePos_);
      break;
    case gsRowMoving:
      if (movePos_ >= 0 && movePos_ != moveIndex_) MoveRow(moveIndex_, movePos_);
      break;
    default:
      break;
  }
  state_ = gsNormal;
  sizingIndex_ = moveIndex_ = movePos_ = -1;
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::DblClick() {
  TCustomControl::DblClick();
  if (options_.Contains(goEditing) && !EditorMode()) ShowEditor();
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  const Integer steps = wheelDelta / WHEEL_DELTA;
  if (steps == 0) return false;
  const Integer row = std::clamp(current_.Y - steps, fixedRows_, std::max(rowCount_ - 1, fixedRows_));
  MoveCurrent(current_.X, row, true, true);
  return true;
}

// ===== TStringGrid =====

// The grid's own store: rows of texts and objects.
class TStringGrid::OwnStore final : public TStringGridStore {
 public:
  AnsiString GetCell(Integer col, Integer row) const override {
    const Line& l = rows_[row];
    return col < static_cast<Integer>(l.texts.size()) ? l.texts[col] : AnsiString();
  }
  void SetCell(Integer col, Integer row, const AnsiString& value) override {
    Line& l = rows_[row];
    if (col >= static_cast<Integer>(l.texts.size())) {
      if (value.empty()) return;
      l.texts.resize(col + 1);
    }
    l.texts[col] = value;
  }
  void* GetObject(Integer col, Integer row) const override {
    const Line& l = rows_[row];
    return col < static_cast<Integer>(l.objects.size()) ? l.objects[col] : nullptr;
  }
  void SetObject(Integer col, Integer row, void* object) override {
    Line& l = rows_[row];
    if (col >= static_cast<Integer>(l.objects.size())) {
      if (object == nullptr) return;
      l.objects.resize(col + 1, nullptr);
    }
    l.objects[col] = object;
  }
  void SizeChanged(Integer colCount, Integer rowCount) override {
    rows_.resize(rowCount);
    for (Line& l : rows_) {
      if (static_cast<Integer>(l.texts.size()) > colCount) l.texts.resize(colCount);
      if (static_cast<Integer>(l.objects.size()) > colCount) l.objects.resize(colCount);
    }
  }
  void MoveColumn(Integer fromIndex, Integer toIndex) override {
    for (Line& l : rows_) {
      const Integer need = std::max(fromIndex, toIndex) + 1;
      if (static_cast<Integer>(l.texts.size()) < need) l.texts.resize(need);
      if (static_cast<Integer>(l.objects.size()) < need) l.objects.resize(need, nullptr);
      Rotate(l.texts, fromIndex, toIndex);
      Rotate(l.objects, fromIndex, toIndex);
    }
  }
  void MoveRow(Integer fromIndex, Integer toIndex) override { Rotate(rows_, fromIndex, toIndex); }

 private:
  struct Line {
    std::vector<AnsiString> texts;
    std::vector<void*> objects;
  };
  template <typename V>
  static void Rotate(V& v, Integer from, Integer to) {
    if (from < to)
      std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else
      std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
  }
  std::vector<Line> rows_;
};

// A row or a column of the grid as a string list.
class TStringGrid::LineView : public rtl::TStrings {
 public:
  LineView(TStringGrid* grid, Integer index, bool isRow) : grid_(grid), index_(index), isRow_(isRow) {}
  Integer Count() const override { return isRow_ ? grid_->ColCount() : grid_->RowCount(); }
  AnsiString Get(Integer i) const override {
    Check(i);
    return isRow_ ? grid_->Cells(i, index_) : grid_->Cells(index_, i);
  }
  void Put(Integer i, const AnsiString& s) override {
    Check(i);
    if (isRow_)
      grid_->SetCells(i, index_, s);
    else
      grid_->SetCells(index_, i, s);
  }
  void* GetObject(Integer i) const override {
    Check(i);
    return isRow_ ? grid_->Objects(i, index_) : grid_->Objects(index_, i);
  }
  void PutObject(Integer i, void* object) override {
    Check(i);
    if (isRow_)
      grid_->SetObjects(i, index_, object);
    else
      grid_->SetObjects(index_, i, object);
  }
  void Insert(Integer, const AnsiString&) override {
    throw EInvalidGridOperation("A grid's row or column has one line per cell");
  }
  void Delete(Integer) override { throw EInvalidGridOperation("A grid's row or column has one line per cell"); }
  void Clear() override {
    for (Integer i = 0; i < Count(); ++i) {
      Put(i, AnsiString());
      PutObject(i, nullptr);
    }
  }
  void Assign(const rtl::TStrings& source) override {
    for (Integer i = 0; i < Count(); ++i) {
      Put(i, i < source.Count() ? source.Get(i) : AnsiString());
      PutObject(i, i < source.Count() ? source.GetObject(i) : nullptr);
    }
  }

 private:
  void Check(Integer i) const {
    if (i < 0 || i >= Count()) IndexError(i);
  }
  TStringGrid* grid_;  // owns this view
  Integer index_;
  bool isRow_;
};

TStringGrid::TStringGrid(TComponent* owner)
    : TDrawGrid(owner), ownStore_(std::make_unique<OwnStore>()), store_(ownStore_.get()) {
  store_->SizeChanged(ColCount(), RowCount());
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckCell(Integer col, Integer row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) throw EInvalidGridOperation("Grid index out of range");
}

AnsiString TStringGrid::Cells(Integer col, Integer row) const {
  CheckCell(col, row);
  return store_->GetCell(col, row);
}

void TStringGrid::SetCells(Integer col, Integer row, const AnsiString& value) {
  CheckCell(col, row);
  store_->SetCell(col, row, value);
  if (EditorMode() && col == Col() && row == Row() && InplaceEditor()) InplaceEditor()->UpdateContents();
  InvalidateCell(col, row);
}

void* TStringGrid::Objects(Integer col, Integer row) const {
  CheckCell(col, row);
  return store_->GetObject(col, row);
}

void TStringGrid::SetObjects(Integer col, Integer row, void* object) {
  CheckCell(col, row);
  store_->SetObject(col, row, object);
}

rtl::TStrings& TStringGrid::Rows(Integer row) {
  CheckCell(0, row);
  auto& view = rowViews_[row];
  if (!view) view = std::make_unique<LineView>(this, row, true);
  return *view;
}

rtl::TStrings& TStringGrid::Cols(Integer col) {
  CheckCell(col, 0);
  auto& view = colViews_[col];
  if (!view) view = std::make_unique<LineView>(this, col, false);
  return *view;
}

void TStringGrid::SetCellStore(TStringGridStore* store) {
  store_ = store ? store : ownStore_.get();
  store_->SizeChanged(ColCount(), RowCount());
  Invalidate();
}

void TStringGrid::DrawCell(Integer col, Integer row, const TRect& r, TGridDrawState state) {
  if (DefaultDrawing()) {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    c->TextRect(r, r.Left + 2, r.Top + 2, Cells(col, row));
    c->Brush()->SetStyle(bsSolid);
  }
  TDrawGrid::DrawCell(col, row, r, state);
}

AnsiString TStringGrid::GetEditText(Integer col, Integer row) {
  AnsiString value = Cells(col, row);
  if (OnGetEditText) OnGetEditText(this, col, row, value);
  return value;
}

void TStringGrid::SetEditText(Integer col, Integer row, const AnsiString& value) {
  store_->SetCell(col, row, value);
  TDrawGrid::SetEditText(col, row, value);
  InvalidateCell(col, row);
}

void TStringGrid::StoreSizeChanged(Integer oldColCount, Integer oldRowCount) {
  TDrawGrid::StoreSizeChanged(oldColCount, oldRowCount);
  store_->SizeChanged(ColCount(), RowCount());
  // Views of rows and columns that are gone would read past the grid.
  rowViews_.erase(rowViews_.lower_bound(RowCount()), rowViews_.end());
  colViews_.erase(colViews_.lower_bound(ColCount()), colViews_.end());
}

void TStringGrid::StoreMoveColumn(Integer fromIndex, Integer toIndex) {
  TDrawGrid::StoreMoveColumn(fromIndex, toIndex);
  store_->MoveColumn(fromIndex, toIndex);
}

void TStringGrid::StoreMoveRow(Integer fromIndex, Integer toIndex) {
  TDrawGrid::StoreMoveRow(fromIndex, toIndex);
  store_->MoveRow(fromIndex, toIndex);
}

}  // namespace vcl
