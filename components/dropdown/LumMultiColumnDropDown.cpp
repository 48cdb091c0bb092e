#include "dropdown/LumMultiColumnDropDown.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "dropdown/LumDropDownDraw.h"
#include "grid/draw/GridDraw.h"
#include "rtl/CodePages.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

// ---------------------------------------------------------------------------
// Columns and rows

TDropDownColumn::TDropDownColumn(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), font_(std::make_unique<TFont>()) {}
TDropDownColumn::~TDropDownColumn() = default;

void TDropDownColumn::Assign(const TPersistent* source) {
  auto* o = dynamic_cast<const TDropDownColumn*>(source);
  if (!o) {
    TPersistent::Assign(source);
    return;
  }
  width_ = o->width_;
  color_ = o->color_;
  alignment_ = o->alignment_;
  ellipsis_ = o->ellipsis_;
  columnType_ = o->columnType_;
  header_ = o->header_;
  wordwrap_ = o->wordwrap_;
  autoSize_ = o->autoSize_;
  font_->Assign(o->font_.get());
}

void TDropDownColumns::Assign(const TDropDownColumns& source) {
  if (&source == this) return;
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
}

TDropDownItem::TDropDownItem(rtl::TCollection* collection)
    : rtl::TCollectionItem(collection), text_(std::make_unique<rtl::TStringList>()) {}
TDropDownItem::~TDropDownItem() = default;

void TDropDownItem::Assign(const TPersistent* source) {
  auto* o = dynamic_cast<const TDropDownItem*>(source);
  if (!o) {
    TPersistent::Assign(source);
    return;
  }
  imageIndex_ = o->imageIndex_;
  text_->Assign(*o->text_);
}

void TDropDownItems::Assign(const TDropDownItems& source) {
  if (&source == this) return;
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
}

// ---------------------------------------------------------------------------
// The table

TLumColGrid::TLumColGrid(TComponent* owner)
    : TStringGrid(owner), columns_(std::make_unique<TDropDownColumns>(this)), headerFont_(std::make_unique<TFont>()) {
  SetFixedCols(0);
  SetFixedRows(1);
  TGridOptions o = Options();
  o.Exclude(goRangeSelect);
  o.Exclude(goDrawFocusSelected);
  o.Include(goHorzLine);
  o.Include(goRowSelect);
  SetOptions(o);
  SetDefaultDrawing(false);
  TCustomGrid::SetGridLineWidth(0);
  SetBorderStyle(TGridBorderStyle::bsNone);
}

TLumColGrid::~TLumColGrid() = default;

void TLumColGrid::SetGridLineWidth(Integer v) {
  gridLineWidth_ = v;
  TCustomGrid::SetGridLineWidth(0);
  Invalidate();
}

void TLumColGrid::SetImages(TImageList* v) {
  if (images_ == v) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (images_) images_->FreeNotification(this);
}

void TLumColGrid::Notification(TComponent* component, TOperation operation) {
  TStringGrid::Notification(component, operation);
  if (operation == opRemove && !Destroying() && component == images_) images_ = nullptr;
}

void TLumColGrid::LoadFromDropDown(TLumMultiColumnDropDown* d) {
  if (!d) return;
  ownerDropDown_ = d;
  columns_->Assign(*d->Columns());
  SetColCount(std::max<Integer>(1, columns_->Count()));
  SetRowCount(d->Items()->Count() + 1);
  if (RowCount() > 1) {
    SetRow(1);
    SetFixedRows(1);
    SetRowCount(d->Items()->Count() + 1);
  }
  for (Integer c = 0; c < columns_->Count(); ++c) SetColWidths(c, columns_->Items(c)->Width());
  lineColor_ = d->LineColor();
  fixedLineColor_ = d->FixedLineColor();
  headerColor_ = d->HeaderColor();
  headerColorTo_ = d->HeaderColorTo();
  headerHeight_ = d->HeaderHeight();
  headerFont_->Assign(d->HeaderFont());
  SetImages(d->Images());
  SetDefaultRowHeight(d->DropDownRowHeight());
  SetRowHeights(0, headerHeight_);
  TGridOptions o = Options();
  if (d->ColumnSizing())
    o.Include(goColSizing);
  else
    o.Exclude(goColSizing);
  SetOptions(o);
  AutoSizeColumns();
  UpdateRowHeights();
}

Integer TLumColGrid::NeededWidth() const {
  Integer w = 0;
  for (Integer c = 0; c < ColCount(); ++c) w += ColWidths(c);
  if (VisibleRowCount() + FixedRows() < RowCount()) w += GetSystemMetrics(SM_CXVSCROLL);
  return w;
}

void TLumColGrid::CellContent(Integer col, Integer row, rtl::AnsiString& text, Integer& image) const {
  image = -1;
  if (!ownerDropDown_) {
    text = Cells(col, row);
    return;
  }
  text = ownerDropDown_->CellText(row - 1, col);
  if (col < columns_->Count() && columns_->Items(col)->ColumnType() == TColumnType::ctImage && row >= 1 &&
      row - 1 < ownerDropDown_->Items()->Count())
    image = ownerDropDown_->Items()->Items(row - 1)->ImageIndex();
}

TCanvas* TLumColGrid::MeasureCanvas() const { return const_cast<TLumColGrid*>(this)->Canvas(); }

void TLumColGrid::AutoSizeColumns() {
  for (Integer c = 0; c < columns_->Count(); ++c)
    if (columns_->Items(c)->AutoSize()) AutoSizeColumn(c);
}

void TLumColGrid::AutoSizeColumn(Integer index) {
  if (index < 0 || index >= columns_->Count() || !columns_->Items(index)->AutoSize()) return;
  if (!dynamic_cast<TDropDownForm*>(Parent())) return;
  TCanvas* canvas = MeasureCanvas();
  canvas->Font()->Assign(columns_->Items(index)->Font());
  Integer w = 0;
  for (Integer r = 1; r < RowCount(); ++r) {
    rtl::AnsiString text;
    Integer image = -1;
    CellContent(index, r, text, image);
    Integer c = image >= 0 && images_ ? images_->Width() + 4 : 0;
    if (!text.empty()) {
      TRect m{0, 0, 1000, 500};
      canvas->DrawText(text, m, DT_CALCRECT | DT_SINGLELINE);
      c += m.Right + 6;
    }
    w = grid::Max(w, c);
  }
  columns_->Items(index)->SetWidth(w);
  SetColWidths(index, w);
}

void TLumColGrid::UpdateRowHeights() {
  bool any = false;
  for (Integer c = 0; c < columns_->Count(); ++c) any = any || columns_->Items(c)->Wordwrap();
  if (!any || !dynamic_cast<TDropDownForm*>(Parent())) return;
  TCanvas* canvas = MeasureCanvas();
  for (Integer r = FixedRows(); r < RowCount(); ++r) {
    Integer height = 24;
    for (Integer c = 0; c < columns_->Count(); ++c) {
      if (!columns_->Items(c)->Wordwrap()) continue;
      Integer h = 0;
      rtl::AnsiString text;
      Integer image = -1;
      CellContent(c, r, text, image);
      if (image >= 0 && images_) h += images_->Height() + 6;
      if (!text.empty()) {
        canvas->Font()->Assign(columns_->Items(c)->Font());
        TRect m{0, 0, ColWidths(c), 500};
        canvas->DrawText(text, m, DT_CALCRECT | DT_WORDBREAK);
        h = std::max<Integer>(h, m.Bottom + 6);
      }
      height = std::max(height, h);
    }
    SetRowHeights(r, height);
  }
}

void TLumColGrid::DrawCell(Integer col, Integer row, const TRect& cell, TGridDrawState state) {
  TLumMultiColumnDropDown* d = ownerDropDown_;
  TCanvas* canvas = Canvas();
  if (d && d->OnDropDownDrawItem) {
    d->OnDropDownDrawItem(d, col, row, canvas, cell);
    return;
  }
  const Integer last = ColCount() - 1;
  const Integer part = last == 0 ? 0 : col == 0 ? 1 : col == last ? 2 : 3;
  TRect r{cell.Left, cell.Top, cell.Left + ColWidths(col), cell.Top + RowHeights(row)};
  TColor fill = Color();
  TAlignment alignment = TAlignment::taLeftJustify;
  bool wordwrap = false, ellipsis = false;
  const bool isColumn = col < columns_->Count() && col >= FixedCols();
  if (isColumn) {
    const TDropDownColumn* c = columns_->Items(col);
    fill = c->Color();
    alignment = c->Alignment();
    wordwrap = c->Wordwrap();
    ellipsis = c->Ellipsis();
    canvas->Font()->Assign(c->Font());
  } else {
    canvas->Font()->Assign(headerFont_.get());
  }
  Integer image = -1;
  rtl::AnsiString text = Cells(col, row);
  if (d && row > 0 && row - 1 < d->Items()->Count()) {
    const TDropDownItem* item = d->Items()->Items(row - 1);
    if (isColumn && columns_->Items(col)->ColumnType() == TColumnType::ctImage) image = item->ImageIndex();
    if (col < item->Text()->Count()) text = item->Text()->Strings(col);
  }
  if (d && d->OnDropDownGetItemText) d->OnDropDownGetItemText(d, col, row, text);
  const bool fixed = state.Contains(gdFixed);
  const bool selected = state.Contains(gdSelected);
  if (!fixed) {
    if (selected) {
      if (d) {
        d->DrawSelectionBackground(canvas, r, part, fill);
      } else {
        canvas->Brush()->SetColor(clActiveCaption);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(r);
      }
    } else {
      canvas->Pen()->SetColor(fill);
      canvas->Pen()->SetWidth(1);
      canvas->Brush()->SetColor(fill);
      canvas->Brush()->SetStyle(bsSolid);
      canvas->Rectangle(r);
    }
  } else {
    text.clear();
    if (d && col < columns_->Count()) {
      image = -1;
      text = columns_->Items(col)->Header();
    }
    if (headerColor_ == clNone || headerColorTo_ == clNone) {
      canvas->Brush()->SetColor(headerColor_);
      canvas->Brush()->SetStyle(bsSolid);
      canvas->FillRect(r);
    } else if (d) {
      d->DrawGradientBackground(canvas, headerColor_, TGradientDirection::gdVertical, r, 80, headerColorTo_);
    } else {
      DrawGradient(canvas, headerColor_, headerColorTo_, 80, r, false);
    }
  }
  Integer c = 1;
  if (!fixed) {
    if (gridLineWidth_ > 0) canvas->Pen()->SetColor(lineColor_);
    canvas->Pen()->SetWidth(gridLineWidth_);
    c = (gridLineWidth_ + 1) / 2;
  } else {
    canvas->Pen()->SetColor(fixedLineColor_);
    canvas->Pen()->SetWidth(1);
  }
  canvas->Pen()->SetStyle(psSolid);
  // At width 0 the body lines keep the cell's own fill colour.
  const bool horz = Options().Contains(fixed ? goFixedHorzLine : goHorzLine);
  const bool vert = Options().Contains(fixed ? goFixedVertLine : goVertLine);
  if (horz) {
    canvas->MoveTo(r.Left - c + 1, r.Bottom - c);
    canvas->LineTo(r.Right - c + 1, r.Bottom - c);
  }
  if (vert) {
    canvas->MoveTo(r.Right - c, r.Bottom - c);
    canvas->LineTo(r.Right - c, r.Top - c);
  }
  r = TRect{r.Left + gridLineWidth_, r.Top + gridLineWidth_, r.Right - gridLineWidth_, r.Bottom - gridLineWidth_};
  TRect t = r;
  t.Left = r.Left + 2;
  if (d && d->Images() && image >= 0) {
    Integer y = r.Top;
    if (d->Images()->Height() < r.Height()) y += (r.Height() - d->Images()->Height()) / 2;
    d->Images()->Draw(canvas, r.Left + 2, y, image, true);
    t.Left = r.Left + d->Images()->Width() + 4;
  }
  if (text.empty()) return;
  canvas->Brush()->SetStyle(bsClear);
  if (!fixed && selected && d) canvas->Font()->SetColor(d->SelectionTextColor());
  if (fixed) canvas->Font()->Assign(headerFont_.get());
  Cardinal flags = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
  if (alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
  if (alignment == TAlignment::taCenter) flags |= DT_CENTER;
  flags |= wordwrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
  if (ellipsis) flags |= DT_END_ELLIPSIS;
  canvas->DrawText(text, t, flags);
}

void TLumColGrid::DoSelect() {
  if (OnSelect) OnSelect(this);
}

void TLumColGrid::KeyDown(Word& key, TShiftState shift) {
  userSelected_ = true;
  if (GetKeyState(VK_MENU) < 0 && (key == VK_UP || key == VK_DOWN)) {
    if (ownerDropDown_) ownerDropDown_->Perform(WM_KEYDOWN, key, 0);
    return;
  }
  TStringGrid::KeyDown(key, shift);
  if (key == VK_RETURN) DoSelect();
}

void TLumColGrid::Dispatch(TMessage& m) {
  if (m.Msg == WM_KEYDOWN && m.WParam == VK_TAB) return;
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
    return;
  }
  TStringGrid::Dispatch(m);
}

void TLumColGrid::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  userSelected_ = true;
  TStringGrid::MouseDown(button, shift, x, y);
}

void TLumColGrid::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TStringGrid::MouseUp(button, shift, x, y);
  const TGridCoord cell = MouseCoord(x, y);
  if (cell.Y >= FixedRows() && cell.Y < RowCount()) DoSelect();
}

bool TLumColGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  wheelScrolling_ = true;
  userSelected_ = false;
  const bool r = TStringGrid::DoMouseWheelDown(shift, mousePos);
  wheelScrolling_ = false;
  return r;
}

bool TLumColGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  wheelScrolling_ = true;
  userSelected_ = false;
  const bool r = TStringGrid::DoMouseWheelUp(shift, mousePos);
  wheelScrolling_ = false;
  return r;
}

// ---------------------------------------------------------------------------
// The drop-down

TLumMultiColumnDropDown::TLumMultiColumnDropDown(TComponent* owner)
    : TLumCustomDropDown(owner),
      columns_(std::make_unique<TDropDownColumns>(this)),
      headerFont_(std::make_unique<TFont>()),
      items_(std::make_unique<TDropDownItems>(this)),
      lookupList_(std::make_unique<rtl::TStringList>()) {
  SetDropDownColor(0xFFFFFF);
  SetDropDownHeight(200);
  SetEditorEnabled(true);
  SetAutoSelect(true);
  SetSelectionLook(1);
  // The base made the pop-up before the table's owner existed.
  if (DropDownForm()) EnsureGrid();
}

TLumMultiColumnDropDown::~TLumMultiColumnDropDown() = default;

void TLumMultiColumnDropDown::Notification(TComponent* component, TOperation operation) {
  TLumCustomDropDown::Notification(component, operation);
  if (operation == opRemove && component == grid_) grid_ = nullptr;
}

void TLumMultiColumnDropDown::Loaded() {
  TLumCustomDropDown::Loaded();
  UpdateLookup();
}

rtl::AnsiString TLumMultiColumnDropDown::CellText(Integer row, Integer column) const {
  if (row < 0 || row >= items_->Count() || column < 0) return {};
  const rtl::TStringList* text = items_->Items(row)->Text();
  return column < text->Count() ? text->Strings(column) : rtl::AnsiString();
}

void TLumMultiColumnDropDown::SetItemIndex(Integer index) {
  if (index == itemIndex_ || index >= items_->Count()) return;
  itemIndex_ = index < 0 ? -1 : index;
  completing_ = true;
  SetText(itemIndex_ >= 0 && lookupColumn_ >= 0 ? CellText(itemIndex_, lookupColumn_) : rtl::AnsiString());
  completing_ = false;
}

void TLumMultiColumnDropDown::UpdateLookup() {
  // With no rows or no lookup column nothing completes: a list kept from
  // earlier rows would complete to values and select rows that are gone.
  lookupList_->Clear();
  lookupUpper_.clear();
  if (lookupColumn_ < 0) return;
  for (Integer r = 0; r < items_->Count(); ++r) {
    lookupList_->Add(CellText(r, lookupColumn_));
    lookupUpper_.push_back(rtl::AnsiUpperCase(lookupList_->Strings(r)));
  }
}

Integer TLumMultiColumnDropDown::LookupIndexOf(const rtl::AnsiString& text) const {
  const rtl::AnsiString key = rtl::AnsiUpperCase(text);
  for (Integer i = 0; i < lookupList_->Count(); ++i)
    if (rtl::AnsiUpperCase(lookupList_->Strings(i)) == key) return i;
  return -1;
}

void TLumMultiColumnDropDown::SelectFirst() {
  if (items_->Count() > 0) SetItemIndex(0);
}
void TLumMultiColumnDropDown::SelectLast() {
  if (items_->Count() > 0) SetItemIndex(items_->Count() - 1);
}
void TLumMultiColumnDropDown::SelectNext() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ + 1 < items_->Count())
    SetItemIndex(itemIndex_ + 1);
}
void TLumMultiColumnDropDown::SelectPrevious() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ > 0)
    SetItemIndex(itemIndex_ - 1);
}
void TLumMultiColumnDropDown::SelectPageDown() {
  if (items_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else
    SetItemIndex(itemIndex_ + 10 < items_->Count() ? itemIndex_ + 10 : items_->Count() - 1);
}
void TLumMultiColumnDropDown::SelectPageUp() {
  if (items_->Count() == 0) return;
  SetItemIndex(itemIndex_ >= 0 && itemIndex_ - 10 >= 0 ? itemIndex_ - 10 : 0);
}

void TLumMultiColumnDropDown::Change() {
  TLumCustomDropDown::Change();
  if (ChangeDeferred() || completing_ || !autoComplete_ || ComponentState().Contains(csDesigning)) return;
  const rtl::AnsiString text = Text();
  SetModified(!text.empty());
  if (lookupList_->Count() == 0) return;
  const rtl::WideString wide = rtl::ToWide(text);
  const Integer caret = std::clamp<Integer>(SelStart(), 0, static_cast<Integer>(wide.size()));
  const rtl::AnsiString typed = rtl::ToAnsi(wide.substr(0, static_cast<size_t>(caret)));
  const rtl::AnsiString key = caseSensitiveLookup_ ? typed : rtl::AnsiUpperCase(typed);
  if (key.empty()) return;
  for (Integer i = 0; i < lookupList_->Count(); ++i) {
    const rtl::AnsiString& entry = lookupList_->Strings(i);
    const rtl::AnsiString& upper =
        caseSensitiveLookup_ || i >= static_cast<Integer>(lookupUpper_.size()) ? entry : lookupUpper_[i];
    if (upper.compare(0, key.size(), key) != 0) continue;
    completing_ = true;
    itemIndex_ = i;
    const rtl::WideString entryWide = rtl::ToWide(entry);
    rtl::WideString completed = wide.substr(0, static_cast<size_t>(caret));
    if (entryWide.size() > static_cast<size_t>(caret))
      completed += entryWide.substr(static_cast<size_t>(caret), 255);
    SetTextDirect(rtl::ToAnsi(completed));
    // The completed part selected, the caret after what was typed.
    SetSelStart(static_cast<Integer>(completed.size()));
    SetSelLength(caret - static_cast<Integer>(completed.size()));
    completing_ = false;
    return;
  }
  completing_ = true;
  SetTextDirect(typed);
  SetSelStart(static_cast<Integer>(wide.substr(0, static_cast<size_t>(caret)).size()));
  completing_ = false;
}

void TLumMultiColumnDropDown::KeyDown(Word& key, TShiftState shift) {
  if (lookupColumn_ < 0 || items_->Count() == 0) {
    TLumCustomDropDown::KeyDown(key, shift);
    return;
  }
  if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE) {
    autoComplete_ = false;
  } else {
    autoComplete_ = true;
    if (key == VK_RETURN) {
      const Integer i = LookupIndexOf(Text());
      if (i >= 0) {
        completing_ = true;
        SetTextDirect(lookupList_->Strings(i));
        itemIndex_ = i;
        completing_ = false;
        Change();
      }
    }
  }
  TLumCustomDropDown::KeyDown(key, shift);
  if (key == VK_ESCAPE) {
    const Integer i = LookupIndexOf(Text());
    if (i != itemIndex_) {
      if (i < 0) {
        itemIndex_ = -1;
        completing_ = true;
        SetText("");
        completing_ = false;
      } else {
        SetItemIndex(i);
      }
    }
  }
}

void TLumMultiColumnDropDown::Dispatch(TMessage& m) {
  if (m.Msg != WM_KEYDOWN || ComponentState().Contains(csDesigning)) {
    TLumCustomDropDown::Dispatch(m);
    return;
  }
  TLumCustomDropDown::Dispatch(m);
  if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
  switch (static_cast<Word>(m.WParam)) {
    case VK_PRIOR: SelectPageUp(); break;
    case VK_NEXT: SelectPageDown(); break;
    case VK_END:
      if (!EditorEnabled()) SelectLast();
      break;
    case VK_HOME:
      if (!EditorEnabled()) SelectFirst();
      break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
  }
}

void TLumMultiColumnDropDown::MouseWheelDownHook() {
  TLumCustomDropDown::MouseWheelDownHook();
  SelectNext();
}

void TLumMultiColumnDropDown::MouseWheelUpHook() {
  TLumCustomDropDown::MouseWheelUpHook();
  SelectPrevious();
}

void TLumMultiColumnDropDown::ControlKeyDown(Word& key, TShiftState shift) {
  if (key == VK_RETURN) HideDropDown(false);
  if (key == VK_ESCAPE) HideDropDown(true);
  const bool tableKey = key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
  if (tableKey && GetKeyState(VK_MENU) >= 0) return;
  TLumCustomDropDown::ControlKeyDown(key, shift);
}

void TLumMultiColumnDropDown::ControlKeyUp(Word& key, TShiftState shift) {
  const bool tableKey = key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
  if (tableKey && GetKeyState(VK_MENU) >= 0) return;
  TLumCustomDropDown::ControlKeyUp(key, shift);
}

void TLumMultiColumnDropDown::ControlKeyPress(WideChar& key) { TLumCustomDropDown::ControlKeyPress(key); }

void TLumMultiColumnDropDown::EnsureGrid() {
  if (!DropDownForm() || grid_) return;
  grid_ = new TLumColGrid(this);
  grid_->FreeNotification(this);
  grid_->SetParent(DropDownForm());
  grid_->SetBounds(0, 0, grid_->Width(), 180);
  grid_->SetColor(DropDownColor());
}

void TLumMultiColumnDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  EnsureGrid();
}

void TLumMultiColumnDropDown::PlaceDropDownControl() {
  if (grid_ && DropDownControl() != grid_) SetDropDownControl(grid_);
  TLumCustomDropDown::PlaceDropDownControl();
}

void TLumMultiColumnDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  if (DropDownForm()) DropDownForm()->SetCancelOnDeactivate(false);
  if (!grid_) return;
  grid_->OnSelectCell = nullptr;
  grid_->LoadFromDropDown(this);
  grid_->SetColor(DropDownColor());
  grid_->OnSelectCell = [this](TObject*, Integer, Integer row, bool&) {
    if (grid_ && !grid_->WheelScrolling()) SetItemIndex(row - 1);
  };
  grid_->OnSelect = [this](TObject*) {
    if (grid_ && grid_->UserSelected()) SetItemIndex(grid_->Row() - 1);
    HideDropDown(false);
    if (OnSelect) OnSelect(this);
  };
  if (itemIndex_ >= 0 && itemIndex_ + 1 < grid_->RowCount()) grid_->SetRow(itemIndex_ + 1);
  TGridOptions o = grid_->Options();
  o.Include(goThumbTracking);
  grid_->SetOptions(o);
  indexAtDropDown_ = itemIndex_;
}

void TLumMultiColumnDropDown::DropDown() {
  TLumCustomDropDown::DropDown();
  FitColumns();
}

void TLumMultiColumnDropDown::DropDownFormSized() { FitColumns(); }

void TLumMultiColumnDropDown::UpdateDropDownSize() {
  TLumCustomDropDown::UpdateDropDownSize();
  TDropDownForm* form = DropDownForm();
  if (!dropDownAutoWidth_ || !form || !grid_) return;
  grid_->SetAlign(alNone);
  grid_->SetWidth(grid_->NeededWidth());
  form->SetWidth(grid_->Width() + 2 * DropDownBorderWidth());
  grid_->SetAlign(alClient);
}

void TLumMultiColumnDropDown::FitColumns() {
  if (!columnSizeWithDropDown_ || !grid_ || !DropDownForm()) return;
  grid_->SetScrollBars(TScrollStyle::ssVertical);
  const Integer count = grid_->Columns()->Count();
  if (count == 0) return;
  Integer total = 1;
  for (Integer c = 0; c < count; ++c) total += grid_->Columns()->Items(c)->Width();
  Integer w = DropDownForm()->Width();
  if (grid_->VisibleRowCount() + grid_->FixedRows() < grid_->RowCount()) w -= GetSystemMetrics(SM_CXVSCROLL);
  const double r = static_cast<double>(w) / total;
  double e = 0;
  for (Integer c = 0; c < count; ++c) {
    const double exact = r * grid_->Columns()->Items(c)->Width();
    const Integer width = static_cast<Integer>(std::nearbyint(exact));  // halves to even
    e += exact - width;
    if (e > 1.0) {
      grid_->SetColWidths(c, width + 1);
      e -= 1.0;
    } else {
      grid_->SetColWidths(c, width);
    }
  }
}

void TLumMultiColumnDropDown::HideDropDown(bool cancelled) {
  if (!DropDownForm() || !DropDownForm()->Visible()) {
    TLumCustomDropDown::HideDropDown(cancelled);
    return;
  }
  TLumCustomDropDown::HideDropDown(cancelled);
  if (cancelled) {
    SetItemIndex(indexAtDropDown_);
    return;
  }
  if (grid_ && grid_->UserSelected()) SetItemIndex(grid_->Row() - 1);
  indexAtDropDown_ = itemIndex_;
}

void TLumMultiColumnDropDown::SetSelectionLook(Byte look) {
  if (look == 1) {
    lineColor_ = 0xF1EDEB;
    fixedLineColor_ = 0xD1BBA4;
  } else if (look == 2 || look == 3) {
    lineColor_ = 0xECECF0;
    fixedLineColor_ = 0xD4D2D1;
  }
  TLumCustomDropDown::SetSelectionLook(look);
}

void TLumMultiColumnDropDown::SetComponentStyle(REZORuvar style) {
  TLumCustomDropDown::SetComponentStyle(style);
  struct Row {
    REZORuvar style;
    TColor from, to;
    std::optional<TColor> font;
    Byte look;
    TColor lines;
  };
  static const Row rows[] = {
      {controls::tsOffice2003Blue, 0xD68759, 0x933803, clWhite, 1, 0x962D00},
      {controls::tsOffice2003Silver, 0xBDA4A5, 0x957475, std::nullopt, 1, 0x947C7C},
      {controls::tsOffice2003Olive, 0x82C0AF, 0x447A63, std::nullopt, 1, 0x588060},
      {controls::tsOffice2003Classic, 0x808080, 0x808080, std::nullopt, 1, 0x808080},
      {controls::tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, 0x723708, 1, 0xFFD2AF},
      {controls::tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, 0x433C37, 1, 0x5C534C},
      {controls::tsWhidbey, 0xEBEEEF, 0x7E9898, clWhite, 1, 0x962D00},
      {controls::tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 1, 0x74706F},
      {controls::tsWindowsVista, 0xFFFDF9, 0xFFFAF0, clBlack, 2, 0xFCF2DA},
      {controls::tsWindows7, 0xFDFBFA, 0xFDF3EB, clBlack, 3, 0xFBD6B8},
  };
  for (const Row& r : rows) {
    if (r.style != style) continue;
    headerColor_ = r.from;
    headerColorTo_ = r.to;
    if (r.font) headerFont_->SetColor(*r.font);
    SetSelectionLook(r.look);
    selectionTextColor_ = clBlack;
    lineColor_ = fixedLineColor_ = r.lines;
    return;
  }
  if (style == controls::tsWindowsXP || style == controls::tsTerminal) {
    fixedLineColor_ = style == controls::tsWindowsXP ? TColor(clBlack) : TColor(0x808080);
    lineColor_ = style == controls::tsWindowsXP ? TColor(0xC0C0C0) : TColor(0x808080);
    headerColor_ = headerColorTo_ = clBtnFace;
    SetSelectionLook(0);
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clHighlight);
    headerFont_->SetColor(clBlack);
    selectionTextColor_ = clHighlightText;
  }
}

}  // namespace dropdown
