// The grid's filter: the conditions of Filter over the model's filter, the
// FilterActive switch, the value lists the filter glyphs of
// FilterDropDownRow open, and the choice of an entry.
#include "grid/GridFilter.h"

#include <algorithm>

#include "grid/GridComponent.h"
#include "grid/draw/GridDraw.h"
#include "vcl/Pictures.h"
#include "vcl/WinApi.h"

namespace grid {

// ===== the drop list =====

TDropList::TDropList(vcl::TComponent* owner) : vcl::TListBox(owner) {
  SetName("droplist");
  SetVisible(false);
  SetBounds(0, 0, 0, 0);
}

void TDropList::Choose() {
  Hide();
  if (OnSelect) OnSelect(this, ItemIndex());
}

void TDropList::KeyDown(vcl::Word& key, vcl::TShiftState shift) {
  if (key == vcl::VK_RETURN) {
    key = 0;
    Choose();
    return;
  }
  vcl::TListBox::KeyDown(key, shift);
}

void TDropList::MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) {
  vcl::TListBox::MouseUp(button, shift, x, y);
  if (x >= 0 && y >= 0 && x < Width() && y < Height()) Choose();
}

void TDropList::Dispatch(vcl::TMessage& message) {
  if (message.Msg == vcl::CM_CANCELMODE && Visible()) {
    const vcl::TPoint p = ScreenToClient(vcl::GetCursorPos());
    const vcl::TRect client = ClientRect();
    if (p.X < client.Left || p.Y < client.Top || p.X >= client.Right || p.Y >= client.Bottom) {
      if (OnCancel) OnCancel();
      Hide();
    }
  }
  vcl::TListBox::Dispatch(message);
}

void PaintFilterGlyph(vcl::TCanvas* canvas, vcl::TBitmap* glyph, TColor background, const vcl::TRect& cell) {
  if (glyph == nullptr || glyph->Width() == 0 || glyph->Height() == 0) {
    DrawResourceBitmap(canvas, background, {cell.Right - 16, cell.Top, cell.Right, cell.Bottom}, "VOEFILT");
    return;
  }
  DrawTransparentBitmap(canvas, glyph, background,
                        {cell.Right - 16, cell.Top, cell.Right - 16 + glyph->Width(), cell.Top + glyph->Height()});
}

// ===== the grid's side =====

TRowFilter& TVadOdizadEzev::RowFilter() {
  if (!rowFilter_) {
    rowFilter_ = std::make_unique<TRowFilter>(Model());
    rowFilter_->FilterCellText = [this](Integer col, Integer row, AnsiString& text) {
      GetFilterCellText(col, row, text);
    };
    rowFilter_->OnProgress = [this](Integer percent) {
      if (OnFilterProgress) OnFilterProgress(this, static_cast<int16_t>(percent));
    };
  }
  return *rowFilter_;
}

TDropList* TVadOdizadEzev::FilterList() {
  if (dropList_ == nullptr) {
    dropList_ = new TDropList(this);
    dropList_->SetParent(this);
    dropList_->OnSelect = [this](vcl::TObject*, Integer index) { FilterSelect(index); };
    dropList_->OnCancel = [this] { FilterListCancelled(); };
  }
  return dropList_;
}

rtl::TStringList* TVadOdizadEzev::FilterValues() {
  if (!filterValues_) filterValues_ = std::make_unique<rtl::TStringList>();
  return filterValues_.get();
}

bool TVadOdizadEzev::MatchFilter(Integer row) {
  TRowFilter& rows = RowFilter();
  bool result = rows.MatchFilter(*filter_, row);
  if (OnCustomFilter) OnCustomFilter(this, row, result);
  return result;
}

void TVadOdizadEzev::ApplyFilter() {
  if (EditorMode() || editorActive_) HideCellEditor();
  const Integer savedRow = Row(), savedTop = TopRow();
  RowFilter().Apply(*filter_, [this](Integer row) { return MatchFilter(row); });
  RowsRemovedFromView(savedRow, savedTop);
}

void TVadOdizadEzev::SetFilterActive(bool value) {
  if (value != filterActive_) {
    if (value) {
      BeginUpdate();
      try {
        ApplyFilter();
      } catch (...) {
        EndUpdate();
        throw;
      }
      filterActive_ = true;
      EndUpdate();
    } else {
      if (EditorMode() || editorActive_) HideCellEditor();
      filterActive_ = false;
      RowFilter().Remove();
      if (SelectionParked()) RestoreParkedSelection();
      Invalidate();
    }
  }
  // The totals follow the rows shown; recalculated also when the state
  // stays, so setting it again refreshes footers after a program's changes.
  UpdateFooter(-1);
}

void TVadOdizadEzev::SetFilterDropDownRow(Integer value) {
  if (value < 0 || value >= FixedRows()) return;
  filterDropDownRow_ = value;
  Invalidate();
}

bool TVadOdizadEzev::GetColumnFilter(Integer column) {
  rtl::TStringList& list = *FilterValues();
  RowFilter().ColumnValues(column, FilterDropDownAuto, FilterDropDownClear, list);
  if (OnGetColumnFilter) OnGetColumnFilter(this, column, &list);
  return list.Count() > 0;
}

void TVadOdizadEzev::FilterDone() {
  if (OnFilterDone) OnFilterDone(this);
}

void TVadOdizadEzev::FilterSelect(Integer itemIndex) {
  if (CanFocus()) SetFocus();
  const Integer col = filterColumn_;
  filterColumn_ = -1;
  if (col < 0 || col >= ColCount() || itemIndex < 0 || itemIndex >= FilterList()->Count()) return;
  GetColumnFilter(col);
  if (itemIndex >= FilterValues()->Count()) return;
  AnsiString friendly, condition;
  TRowFilter::SplitEntry(FilterValues()->Get(itemIndex), friendly, condition);
  if (AutoFilterUpdate) SetFilterActive(false);
  if (condition == FilterDropDownClear) condition.clear();
  if (OnFilterSelect) OnFilterSelect(this, col, itemIndex, friendly, condition);
  filter_->ColumnFilter(col)->Condition = condition;
  if (AutoFilterUpdate) {
    SetFixedRowAlways(true);
    SetFilterActive(true);
    if (RowCount() != FixedRows() && RowCount() != 1 && FixedRows() < RowCount()) SetRow(FixedRows());
    FilterDone();
  }
}

void TVadOdizadEzev::FilterListCancelled() { filterColumn_ = -1; }

void TVadOdizadEzev::FilterMouseUp(Integer x, Integer y) {
  const vcl::TGridCoord at = MouseCoord(x, y);
  const auto hide = [&] {
    // Forgetting the column lets the next click on its glyph open it again.
    if (dropList_ != nullptr && dropList_->Visible()) dropList_->Hide();
    filterColumn_ = -1;
  };
  if (at.X < 0 || at.Y != filterDropDownRow_ || at.Y >= FixedRows() || at.X == filterColumn_) {
    hide();
    return;
  }
  const vcl::TRect cell = CellRect(at.X, at.Y);
  const bool onGlyph = x > cell.Right - 16 && x < cell.Right - 3 && y < cell.Top + 19;
  if (!onGlyph || !GetColumnFilter(at.X)) {
    hide();
    return;
  }
  TDropList* list = FilterList();
  filterColumn_ = at.X;
  list->SetColor(filterDropDown_->Color);
  list->Font()->Assign(filterDropDown_->Font());
  rtl::TStrings* items = list->Items();
  items->BeginUpdate();
  items->Clear();
  const rtl::TStringList& entries = *FilterValues();
  for (Integer i = 0; i < entries.Count(); ++i) {
    AnsiString friendly, condition;
    TRowFilter::SplitEntry(entries[i], friendly, condition);
    items->Add(friendly);
  }
  items->EndUpdate();
  list->SetItemIndex(0);
  vcl::TCanvas* canvas = Canvas();
  canvas->Font()->Assign(list->Font());
  Integer contentWidth = 0;
  for (Integer i = 0; i < items->Count(); ++i) contentWidth = std::max(contentWidth, canvas->TextWidth(items->Get(i)));
  contentWidth += 8;
  Integer width = filterDropDown_->Width, height = filterDropDown_->Height;
  if (filterDropDown_->AutoSize) {
    height = items->Count() * list->ItemHeight() + 2 * vcl::GetSystemMetrics(vcl::SM_CYEDGE);
    width = 2 * vcl::GetSystemMetrics(vcl::SM_CXEDGE) + contentWidth;
  }
  Integer left = cell.Right - 16;
  const Integer top = cell.Top + 16;
  if (filterDropDown_->ColumnWidth) {
    left = cell.Left;
    width = cell.Right - cell.Left;
  }
  if (left + width > Width()) left = cell.Right - width;
  if (left < 0) left = 0;
  list->SetParent(this);
  list->SetBounds(left, top, width, height);
  list->Show();
  if (list->CanFocus()) list->SetFocus();
}

}  // namespace grid
