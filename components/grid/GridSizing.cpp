// Column stretching, widths following the grid's size, and the widths kept
// between runs.
#include "grid/GridComponent.h"
#include "grid/model/ColumnSizing.h"
#include "vcl/Forms.h"

namespace grid {

namespace {

// Clears a flag however the scope ends.
struct TFlagScope {
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  bool& flag_;
};

}  // namespace

std::vector<Integer> TVadOdizadEzev::ColumnWidthList() const {
  std::vector<Integer> widths(ColCount());
  for (Integer col = 0; col < ColCount(); ++col) widths[col] = ColWidths(col);
  return widths;
}

void TVadOdizadEzev::StretchColumn(Integer col) {
  if (ComponentState().Contains(vcl::csLoading) || Destroying()) return;
  if (col == -1) col = ColCount() - 1;
  if (col >= ColCount() || col < 0) throw rtl::Exception("Stretch column index out of range");
  if (ColCount() == 0 || !columnSize_->Stretch() || stretching_) return;
  stretchDone_ = false;
  {
    TFlagScope running(stretching_);
    const Integer width =
        StretchedWidth(ColumnWidthList(), col, ClientWidth(), LeftCol() == FixedCols(), DefaultColWidth());
    if (width != ColWidths(col)) SetColWidths(col, width);
  }
  stretchDone_ = true;
}

void TVadOdizadEzev::StretchFromSettings() {
  // The resize paths stretch only a column the grid has: a stored column
  // beyond a lowered column count stretches nothing rather than raising at
  // every resize.
  const Integer col = columnSize_->StretchColumn;
  if (col < -1 || col >= ColCount()) return;
  StretchColumn(col);
}

void TVadOdizadEzev::ColWidthsChanged() {
  if (stretchDone_ && !stretching_ && columnSize_->Stretch()) StretchFromSettings();
  TBaseGrid::ColWidthsChanged();
}

void TVadOdizadEzev::SizeChanged(Integer oldColCount, Integer oldRowCount) {
  if (Parent() != nullptr && !ComponentState().Contains(vcl::csLoading) &&
      !ComponentState().Contains(vcl::csReading) && columnSize_ && columnSize_->Stretch())
    StretchFromSettings();
  TBaseGrid::SizeChanged(oldColCount, oldRowCount);
}

void TVadOdizadEzev::GridResized() {
  if (!columnSize_) return;
  if (columnSize_->SynchWithGrid && synchBaseWidth_ > 0 && !synchWidths_.empty()) {
    if (editorActive_) HideCellEditor();
    std::vector<Integer> widths = ColumnWidthList();
    const bool normalOnly = columnSize_->SynchNormalCellsOnly;
    SynchronisedWidths(widths, synchWidths_, synchBaseWidth_, Width(),
                       BorderStyle() == vcl::TGridBorderStyle::bsSingle, normalOnly ? FixedCols() : 0,
                       normalOnly ? ColCount() - FixedRightCols() - 1 : ColCount() - 1);
    for (Integer col = 0; col < ColCount(); ++col)
      if (widths[col] != ColWidths(col)) SetColWidths(col, widths[col]);
  }
  if (columnSize_->Stretch()) {
    const Integer col = columnSize_->StretchColumn == -1 ? ColCount() - 1 : columnSize_->StretchColumn;
    if (col < 0 || col >= ColCount()) return;
    Integer others = 0;
    for (Integer c = 0; c < ColCount(); ++c)
      if (c != col) others += ColWidths(c);
    if (others < Width()) StretchColumn(col);
  }
}

void TVadOdizadEzev::RememberColumnSizes() {
  synchWidths_ = ColumnWidthList();
  synchBaseWidth_ = Width();
}

void TVadOdizadEzev::SaveColumnSizes() {
  if (columnSize_->Key.empty() || columnSize_->Section.empty() || ComponentState().Contains(vcl::csDesigning)) return;
  SaveColumnWidths(columnSize_->Location == clIniFile ? TColumnSizeStore::csIniFile : TColumnSizeStore::csRegistry,
                   columnSize_->Key, columnSize_->Section, ColumnWidthList());
}

void TVadOdizadEzev::LoadColumnSizes() {
  if (columnSize_->Key.empty() || columnSize_->Section.empty() || ComponentState().Contains(vcl::csDesigning)) return;
  const std::vector<Integer> widths =
      LoadColumnWidths(columnSize_->Location == clIniFile ? TColumnSizeStore::csIniFile : TColumnSizeStore::csRegistry,
                       columnSize_->Key, columnSize_->Section, ColumnWidthList());
  for (Integer col = 0; col < ColCount() && col < static_cast<Integer>(widths.size()); ++col)
    if (widths[col] != ColWidths(col)) SetColWidths(col, widths[col]);
}

void TVadOdizadEzev::SaveColumnSizesAtDestruction() {
  if (!columnSize_ || !columnSize_->Save) return;
  // An error of the store must not leave a destructor: the application's
  // exception handling gets it and the grid is still freed.
  try {
    SaveColumnSizes();
  } catch (const rtl::Exception&) {
    if (vcl::Application != nullptr) vcl::Application->HandleException(this);
  }
}

}  // namespace grid
