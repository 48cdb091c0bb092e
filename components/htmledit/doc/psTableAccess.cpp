#include "htmledit/doc/psTableAccess.h"

#include <cmath>

#include "htmledit/doc/psContainers.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/Convert.h"

namespace htmldoc {

namespace {

Integer RoundHalfEven(double aValue) {
  if (!std::isfinite(aValue)) return 0;
  return static_cast<Integer>(rtl::Round(aValue));
}

bool IsCellOpenTag(const TpsChunkElement* e) {
  return TpsDataChunk::IsTag(e, TAG_TD, ttOpening) || TpsDataChunk::IsTag(e, TAG_TH, ttOpening);
}

// An empty copy (fresh id) of a tag element.
TpsChunkElement* CopyOf(const TpsChunkElement* aTag) { return NewTagElement(TpsDataChunk::CopyTag(aTag)); }

}  // namespace

TpsTableCellDataAccess& TpsTableRowDataAccess::GetCell(Integer aIndex) {
  if (aIndex < 0 || aIndex >= GetCellCount()) RaiseListIndexError(aIndex);
  return FCells[aIndex];
}

TpsTableDataAccess::TpsTableDataAccess(TpsDataChunk* aChunk, TpsChunkElement* aTableStart,
                                       TpsChunkElement* aTableEnd, const TpsStyleSheet* aStyleSheet, bool aOwnsChunk)
    : FChunk(aChunk), FStyleSheet(aStyleSheet), FOwnsChunk(aOwnsChunk) {
  FFocused = FChunk->Focus(aTableStart, aTableEnd);
  ReadTable();
}

TpsTableDataAccess::~TpsTableDataAccess() {
  FRows.clear();
  if (FFocused) FChunk->Unfocus();
  if (FOwnsChunk) delete FChunk;
}

void TpsTableDataAccess::ReadTable() {
  FRows.clear();
  TpsChunkElement* from = FChunk->First();
  while (TpsChunkElement* rowStart = FChunk->FindTag(TAG_TR, ttOpening, from, true)) {
    TpsChunkElement* rowEnd = FChunk->FindPartnerTag(rowStart, nullptr);
    TpsTableRowDataAccess row(rowStart, rowEnd);
    for (TpsChunkElement* e = rowStart->Next; e && e != rowEnd;) {
      if (!IsCellOpenTag(e)) {
        e = e->Next;
        continue;
      }
      bool passedCursor = false;
      TpsChunkElement* cellEnd = FChunk->FindPartnerTagEx(e, rowEnd, passedCursor);
      row.AddCell({e, cellEnd, passedCursor});
      if (!cellEnd) break;
      e = cellEnd->Next;
    }
    FRows.push_back(row);
    if (!rowEnd) break;
    from = rowEnd;
  }
}

TpsTableRowDataAccess& TpsTableDataAccess::GetRow(Integer aIndex) {
  if (aIndex < 0 || aIndex >= GetRowCount()) RaiseListIndexError(aIndex);
  return FRows[aIndex];
}

Integer TpsTableDataAccess::GetCurrentRow() const {
  for (size_t r = 0; r < FRows.size(); ++r) {
    TpsTableRowDataAccess& row = const_cast<TpsTableRowDataAccess&>(FRows[r]);
    for (Integer c = 0; c < row.GetCellCount(); ++c)
      if (row.GetCell(c).HasCursor) return static_cast<Integer>(r);
  }
  return -1;
}

Integer TpsTableDataAccess::GetCurrentColumn() const {
  const Integer r = GetCurrentRow();
  if (r < 0) return -1;
  TpsTableRowDataAccess& row = const_cast<TpsTableRowDataAccess&>(FRows[r]);
  for (Integer c = 0; c < row.GetCellCount(); ++c)
    if (row.GetCell(c).HasCursor) return c;
  return -1;
}

TpsTableCellDataAccess* TpsTableDataAccess::CurrentCell() {
  const Integer r = GetCurrentRow();
  return r < 0 ? nullptr : &FRows[r].GetCell(GetCurrentColumn());
}

void TpsTableDataAccess::InsertRow(bool aBelow) {
  const Integer r = GetCurrentRow();
  if (r < 0) return;
  TpsTableRowDataAccess& row = FRows[r];
  if (!row.EndTag) return;
  // Copies of the row's and its cells' tags, none of their content.
  TpsChunkElement* anchor = aBelow ? row.EndTag : row.StartTag;
  TpsChunkElement* first = CopyOf(row.StartTag);
  FChunk->InsertElement(first, anchor, aBelow);
  TpsChunkElement* last = first;
  for (Integer c = 0; c < row.GetCellCount(); ++c) {
    const TpsTableCellDataAccess& cell = row.GetCell(c);
    if (!cell.EndTag) continue;
    TpsChunkElement* open = CopyOf(cell.StartTag);
    FChunk->InsertAfter(open, last);
    TpsChunkElement* close = CopyOf(cell.EndTag);
    FChunk->InsertAfter(close, open);
    last = close;
  }
  FChunk->InsertAfter(CopyOf(row.EndTag), last);
}

Integer TpsTableDataAccess::FirstRowPercentSum() {
  TpsColumnWidthList widths;
  LoadColumnWidths(widths);
  return widths.SumWidths(1 << cwtPercent);
}

void TpsTableDataAccess::SetPercent(Integer aColumn, Integer aPercent) {
  if (FRows.empty() || aColumn < 0 || aColumn >= FRows[0].GetCellCount()) return;
  FRows[0].GetCell(aColumn).StartTag->Tag->SetWidth(-aPercent);
}

void TpsTableDataAccess::InsertColumn(bool aRight) {
  const Integer index = GetCurrentColumn();
  if (index < 0) return;
  for (TpsTableRowDataAccess& row : FRows) {
    if (index >= row.GetCellCount()) continue;  // a ragged row stays as it is
    const TpsTableCellDataAccess& cell = row.GetCell(index);
    if (!cell.EndTag) continue;
    TpsChunkElement* open = CopyOf(cell.StartTag);
    TpsChunkElement* close = CopyOf(cell.EndTag);
    FChunk->InsertElement(open, aRight ? cell.EndTag : cell.StartTag, aRight);
    FChunk->InsertAfter(close, open);
  }
  ReadTable();
  TpsColumnWidthList widths;
  LoadColumnWidths(widths);
  const Integer n = widths.Count();
  if (n < 2 || widths.GetColumnWidthTypes() != (1 << cwtPercent)) return;
  const Integer a = RoundHalfEven(100.0 / n);
  const Integer b = RoundHalfEven(static_cast<double>(a) / (n - 1));
  const Integer added = aRight ? index + 1 : index;
  for (Integer c = 0; c < n; ++c) SetPercent(c, c == added ? a : widths.GetWidth(c) - b);
  const Integer sum = FirstRowPercentSum();
  if (sum != 100) SetPercent(added, a + 100 - sum);
}

void TpsTableDataAccess::DeleteCurrentRow() {
  const Integer r = GetCurrentRow();
  if (r < 0 || GetRowCount() < 2) return;
  TpsTableRowDataAccess& row = FRows[r];
  if (!row.EndTag) return;
  TpsTableRowDataAccess& other = FRows[r + 1 < GetRowCount() ? r + 1 : r - 1];
  if (other.GetCellCount() > 0) FChunk->InsertAfter(NewCursorElement(), other.GetCell(0).StartTag);
  FChunk->DeleteRange(row.StartTag, row.EndTag);
  FRows.erase(FRows.begin() + r);
}

void TpsTableDataAccess::DeleteCurrentColumn() {
  const Integer r = GetCurrentRow();
  const Integer index = GetCurrentColumn();
  if (r < 0 || FRows[0].GetCellCount() < 2) return;
  TpsTableRowDataAccess& current = FRows[r];
  const Integer neighbour = index + 1 < current.GetCellCount() ? index + 1 : index - 1;
  if (neighbour >= 0 && neighbour < current.GetCellCount()) {
    const TpsTableCellDataAccess& target = current.GetCell(neighbour);
    // The cursor leaves the cell that goes, for the start of the text of
    // its neighbour.
    TpsChunkElement* old = FChunk->GetCursor();
    if (old) FChunk->RemoveElement(old, true);
    if (target.EndTag && target.StartTag->Next != target.EndTag) {
      FChunk->Focus(target.StartTag->Next, target.EndTag->Prev);
      FChunk->MoveCursorToStart();
      FChunk->Unfocus();
    } else {
      FChunk->InsertAfter(NewCursorElement(), target.StartTag);
    }
  }
  for (TpsTableRowDataAccess& row : FRows) {
    if (index >= row.GetCellCount()) continue;
    const TpsTableCellDataAccess& cell = row.GetCell(index);
    if (cell.EndTag) FChunk->DeleteRange(cell.StartTag, cell.EndTag);
  }
  ReadTable();
}

void TpsTableDataAccess::MoveCursorToCell(Integer aColumn, Integer aRow) {
  TpsTableRowDataAccess& row = GetRow(aRow);
  TpsTableCellDataAccess& cell = row.GetCell(aColumn);
  if (TpsChunkElement* old = FChunk->GetCursor()) FChunk->RemoveElement(old, true);
  FChunk->InsertAfter(NewCursorElement(), cell.StartTag);
  ReadTable();
}

Integer TpsTableDataAccess::GetColumnWidth(Integer aColumn, TpsTableColumnWidth& aWidth) {
  aWidth = TpsTableColumnWidth{};
  const Integer value = GetRow(0).GetCell(aColumn).StartTag->Tag->GetWidth();
  if (value < 0) {
    aWidth.Value = -value;
    aWidth.Kind = cwtPercent;
  } else if (value > 0) {
    aWidth.Value = value;
    aWidth.Kind = cwtPixels;
  }
  return aWidth.Value;
}

void TpsTableDataAccess::SetColumnWidth(Integer aColumn, const AnsiString& aWidthText) {
  if (FRows.empty() || aColumn < 0 || aColumn >= FRows[0].GetCellCount()) return;
  FRows[0].GetCell(aColumn).StartTag->Tag->SetAttribute("width", aWidthText);
}

void TpsTableDataAccess::LoadColumnWidths(TpsColumnWidthList& aList) {
  aList.Clear();
  if (FRows.empty()) return;
  for (Integer c = 0; c < FRows[0].GetCellCount(); ++c) {
    TpsTableColumnWidth width;
    GetColumnWidth(c, width);
    aList.Add(width.Value, width.Kind);
  }
}

void TpsTableDataAccess::ResizeColumn(Integer aColumn, Integer aDelta, Integer aTableWidth) {
  TpsColumnWidthList widths;
  LoadColumnWidths(widths);
  const Integer n = widths.Count();
  // The last column has no next column to give or take.
  if (aColumn < 0 || aColumn + 1 >= n) return;
  const Byte types = widths.GetColumnWidthTypes();
  if (types == (1 << cwtPixels)) {
    FRows[0].GetCell(aColumn).StartTag->Tag->SetWidth(widths.GetWidth(aColumn) + aDelta);
    FRows[0].GetCell(aColumn + 1).StartTag->Tag->SetWidth(widths.GetWidth(aColumn + 1) - aDelta);
    return;
  }
  if (aTableWidth == 0) return;
  if (types == (1 << cwtUnspecified)) {
    const Integer each = RoundHalfEven(100.0 / n);
    for (Integer c = 0; c < n; ++c) SetPercent(c, each);
    LoadColumnWidths(widths);
  } else if (types != (1 << cwtPercent)) {
    return;
  }
  const Integer p = RoundHalfEven(static_cast<double>(aDelta) * 100 / aTableWidth);
  SetPercent(aColumn, widths.GetWidth(aColumn) + p);
  SetPercent(aColumn + 1, widths.GetWidth(aColumn + 1) - p);
  const Integer sum = FirstRowPercentSum();
  if (sum != 100) SetPercent(aColumn, widths.GetWidth(aColumn) + p + 100 - sum);
}

void TpsTableDataAccess::ResizeTable(Integer aDelta, Integer aCurrentWidth, Integer aAvailableWidth,
                                     Integer aFixedWidth) {
  if (aAvailableWidth == 0) return;
  TpsHtmlTag& table = *FChunk->First()->Tag;
  const Integer percent =
      RoundHalfEven(static_cast<double>(aCurrentWidth + aDelta - aFixedWidth) * 100 / aAvailableWidth);
  if (table.HasWidth()) {
    const Integer width = table.GetWidth();
    table.SetWidth(width < 0 ? -percent : width + aDelta);
  } else {
    TpsColumnWidthList widths;
    LoadColumnWidths(widths);
    const Byte types = widths.GetColumnWidthTypes();
    if (widths.Count() == 0) return;
    if (types == (1 << cwtPixels)) {
      TpsChunkElement* last = FRows[0].GetLastCell().StartTag;
      last->Tag->SetWidth(last->Tag->GetWidth() + aDelta);
    } else if (types == (1 << cwtPercent) || types == (1 << cwtUnspecified)) {
      table.SetWidth(-percent);
    } else {
      return;
    }
  }
  ReadTable();
}

AnsiString TpsTableDataAccess::GetTableClass() const {
  TpsHtmlTag& table = *FChunk->First()->Tag;
  const Integer id = table.GetClassStyleId();
  const TpsStyle* style = FStyleSheet && id != -1 ? FStyleSheet->GetStyle(id) : nullptr;
  return style ? style->GetSelector() : AnsiString();
}

AnsiString TpsTableDataAccess::GetTableStyle() const {
  TpsHtmlTag& table = *FChunk->First()->Tag;
  const Integer id = table.GetStyleAttributeId();
  const TpsStyle* style = FStyleSheet && id != -1 ? FStyleSheet->GetStyle(id) : nullptr;
  return style ? style->GetAttributesAsString() : AnsiString();
}

// ---------------------------------------------------------------------------
// Column widths from a table

void TpsColumnWidthList::LoadFromTableAccess(TpsTableDataAccess& aAccess) { aAccess.LoadColumnWidths(*this); }

void TpsColumnWidthList::LoadFromTable(TpsDataChunk& aChunk) {
  Clear();
  TpsChunkElement* start = aChunk.FindTag(TAG_TABLE, ttOpening, nullptr, true);
  TpsChunkElement* end = start ? aChunk.FindPartnerTag(start, nullptr) : nullptr;
  if (!end) return;
  TpsTableDataAccess access(&aChunk, start, end, nullptr, false);
  LoadFromTableAccess(access);
}

}  // namespace htmldoc
