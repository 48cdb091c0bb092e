#include "grid/model/CellControlState.h"

#include <algorithm>
#include <cmath>

#include "rtl/Convert.h"
#include "rtl/Strings.h"

namespace grid {

namespace {

bool IsCheckType(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

void* ColorObject(TColor color) { return reinterpret_cast<void*>(static_cast<uintptr_t>(color)); }

template <class T>
void DeleteObject(void* p) {
  delete static_cast<T*>(p);
}

}  // namespace

TColor RatingOffColor(const TCellGraphic& graphic) {
  return static_cast<TColor>(reinterpret_cast<uintptr_t>(graphic.CellBitmap()));
}

// ===== graphic access =====

TCellType TCellControlHost::GetCellType(Integer col, Integer row) {
  if (col < 0 || row < 0 || col >= model_.ColCount() || row >= model_.RowCount()) return ctEmpty;
  const TCellGraphic* g = model_.CellGraphic(col, row);
  if (g != nullptr) return g->CellType;
  return HotmailRowSelect && col == 0 ? ctRowCheckBox : ctEmpty;
}

TCellGraphic* TCellControlHost::GetCellGraphic(Integer col, Integer row) {
  if (col < 0 || row < 0 || col >= model_.ColCount() || row >= model_.RowCount()) return nullptr;
  if (HotmailRowSelect && col == 0) {
    rowCheck_.CellType = ctRowCheckBox;
    rowCheck_.CellTransparent = FlatControls;
    rowCheck_.CellBoolean = RowMarked(row);
    return &rowCheck_;
  }
  return model_.CellGraphic(col, row);
}

TCellGraphic& TCellControlHost::CreateCellGraphic(Integer col, Integer row) {
  RemoveCellGraphic(col, row);
  auto made = std::make_unique<TCellGraphic>();
  TCellGraphic& g = *made;
  model_.SetCellGraphic(col, row, std::move(made));
  return g;
}

bool TCellControlHost::RemoveCellGraphic(Integer col, Integer row) {
  TCellProperties* p = model_.GetRawObject(col, row);
  if (p == nullptr || p->Graphic() == nullptr) return false;
  // A shared graphic (the grid's spare one of virtual and row check boxes)
  // is only let go.
  const bool owned = p->OwnsGraphic();
  TCellGraphic* g = p->DetachGraphic();
  if (owned) delete g;
  return true;
}

bool TCellControlHost::RemoveCellGraphicOfType(Integer col, Integer row, TCellType type) {
  return GetCellType(col, row) == type && RemoveCellGraphic(col, row);
}

TIntList* TCellControlHost::GetCellImages(Integer col, Integer row) {
  TCellGraphic* g = TypedGraphic(col, row, ctImages);
  return g != nullptr ? static_cast<TIntList*>(g->CellBitmap()) : nullptr;
}

intptr_t TCellControlHost::GetCellGraphicKey(Integer col, Integer row) {
  const TCellGraphic* g = model_.CellGraphic(col, row);
  if (g == nullptr) return -1;
  switch (g->CellType) {
    case ctBitmap:
      return reinterpret_cast<intptr_t>(g->CellBitmap());
    case ctIcon:
      return reinterpret_cast<intptr_t>(g->CellIcon());
    case ctImageList:
      return g->CellIndex;
    default:
      return -1;
  }
}

TExtent TCellControlHost::GetCellGraphicSize(Integer col, Integer row) {
  TExtent e;
  const TCellGraphic* g = GetCellGraphic(col, row);
  if (g == nullptr) return e;
  const bool hasText = !model_.GetDisplayCell(col, row).empty();
  const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
  const bool across = g->CellVAlign == vaUnderText || g->CellVAlign == vaAboveText;
  bool captionWidth = false;
  switch (g->CellType) {
    case ctBitmap: {
      const TExtent s = ObjectSize(*g, false);
      if (beside || !hasText) e.Width = s.Width;
      if (across || !hasText) e.Height = s.Height;
      break;
    }
    case ctIcon: {
      const TExtent s = ObjectSize(*g, true);
      if (beside || !hasText) e.Width = s.Width;
      e.Height = s.Height;
      break;
    }
    case ctImageList:
    case ctDataImage: {
      const TExtent s = HasGridImages() ? GridImageSize() : TExtent{};
      if (beside || !hasText) e.Width = s.Width;
      if (across || !hasText) e.Height = s.Height;
      break;
    }
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      e = {CheckSize, CheckSize};
      break;
    case ctRadioButton:
      e = {RadioSize, RadioSize};
      break;
    case ctRadio: {
      const auto* options = static_cast<const rtl::TStrings*>(g->CellBitmap());
      const Integer count = options != nullptr ? options->Count() : 0;
      const Integer lineHeight = TextExtent("gh").Height;
      if (g->CellBoolean) {
        for (Integer i = 0; i < count; ++i) e.Width += TextExtent(options->Get(i)).Width + 12;
        e.Height = lineHeight;
      } else {
        Integer widest = 0;
        for (Integer i = 0; i < count; ++i) widest = std::max(widest, TextExtent(options->Get(i)).Width);
        e.Width = std::max(widest + 12, 12);
        e.Height = std::max<Integer>(16, lineHeight) * count;
      }
      break;
    }
    case ctImages: {
      const auto* list = static_cast<const TIntList*>(g->CellBitmap());
      const Integer count = list != nullptr ? list->Count() : 0;
      const TExtent s = HasGridImages() ? GridImageSize() : TExtent{};
      if (g->CellBoolean)
        e = {count * s.Width, s.Height};
      else
        e = {s.Width, count * s.Height};
      break;
    }
    case ctPicture:
    case ctFilePicture: {
      const TExtent picture = ObjectSize(*g, false);
      const TPixelRect c = CellRect(model_.DisplColIndex(col), row);
      e = g->PictureSize(c.Right - c.Left, c.Bottom - c.Top, picture.Width, picture.Height);
      break;
    }
    case ctButton:
    case ctBitButton: {
      const Cardinal size = static_cast<Cardinal>(g->CellIndex);
      e = {static_cast<Integer>(size & 0xFFFF), static_cast<Integer>(size >> 16)};
      if (hasText) {
        if (g->CellHAlign == haCenter) e.Width = 0;
        if (g->CellHAlign == haFull) {
          e.Width = TextExtent(g->CellText).Width + 4;
          captionWidth = true;
        }
        if (across)
          e.Width = 0;
        else
          e.Height = 0;
      } else if (g->CellHAlign == haFull) {
        e.Width = TextExtent(g->CellText).Width + 4;
        captionWidth = true;
      }
      break;
    }
    case ctProgressPie:
      e = {20, 20};
      break;
    case ctInterface:
      e = InterfaceSize(*g);
      break;
    default:
      break;
  }
  const TPixelRect c = CellRect(model_.DisplColIndex(col), row);
  if (g->CellVAlign == vaFull) e.Height = c.Bottom - c.Top;
  if (g->CellHAlign == haFull && !captionWidth) e.Width = c.Right - c.Left;
  return e;
}

// ===== control state =====

TCellGraphic* TCellControlHost::BaseGraphic(Integer col, Integer row) {
  if (col < 0 || row < 0 || col >= model_.ColCount() || row >= model_.RowCount()) return nullptr;
  const TCellCoord base = model_.BaseCell(col, row);
  return GetCellGraphic(base.X, base.Y);
}

TCellGraphic* TCellControlHost::TypedGraphic(Integer col, Integer row, TCellType type) {
  TCellGraphic* g = GetCellGraphic(col, row);
  return g != nullptr && g->CellType == type ? g : nullptr;
}

bool TCellControlHost::Editable(Integer col, Integer row, bool alwaysActive, bool fromUser) {
  return !fromUser || alwaysActive || CanEdit(col, row);
}

bool TCellControlHost::GetCellCheckState(Integer col, Integer realRow, bool& state) {
  if (col < 0 || realRow < 0 || col >= model_.ColCount() || realRow >= model_.AllRowCount()) return false;
  auto byText = [&](const AnsiString& text) { return text == CheckTrue(col, realRow); };
  // A check graphic's state; the data kinds read it from the cell's text.
  auto fromGraphic = [&](const TCellGraphic* g, auto cellText) {
    if (g == nullptr) return false;
    switch (g->CellType) {
      case ctCheckBox:
        state = g->CellBoolean;
        return true;
      case ctDataCheckBox:
      case ctVirtCheckBox:
        state = byText(cellText());
        return true;
      case ctRowCheckBox:
        if (col != 0) return false;
        state = RowMarked(realRow);
        return true;
      default:
        return false;
    }
  };
  if (model_.NumHiddenRows() == 0)
    return fromGraphic(GetCellGraphic(col, realRow), [&] { return model_.GetDisplayCell(col, realRow); });
  if (TCellProperties* p = model_.RealObjects(col, realRow))
    return fromGraphic(p->Graphic(), [&] { return model_.RealCells(col, realRow); });
  // No properties: a graphic the grid supplies without storing it.
  if (realRow >= model_.RowCount()) return false;
  const TCellGraphic* g = GetCellGraphic(col, realRow);
  if (g == nullptr) return false;
  if (g->CellType == ctRowCheckBox && col == 0) {
    state = g->CellBoolean;
    return true;
  }
  if (g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox) {
    state = byText(model_.GetDisplayCell(col, realRow));
    return true;
  }
  return false;
}

bool TCellControlHost::SetCellCheckState(Integer col, Integer row, bool state) {
  if (col < 0 || row < 0 || col >= model_.ColCount() || row >= model_.RowCount()) return false;
  TCellGraphic* g = nullptr;
  if (model_.NumHiddenRows() == 0) {
    g = GetCellGraphic(col, row);
  } else {
    const Integer real = model_.RealRowIndex(row);
    TCellProperties* p = model_.RealObjects(col, real);
    g = p != nullptr ? p->Graphic() : GetCellGraphic(col, real < model_.RowCount() ? real : row);
  }
  if (g == nullptr) return false;
  switch (g->CellType) {
    case ctCheckBox:
      if (g->CellBoolean != state) {
        g->CellBoolean = state;
        CheckBoxChange(col, row, state);
        RepaintCell(model_.DisplColIndex(col), row);
      }
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      const AnsiString checkTrue = CheckTrue(col, row);
      const bool was = checkTrue == model_.GetDisplayCell(col, row);
      model_.SetDisplayCell(col, row, state ? checkTrue : CheckFalse(col, row));
      if (state != was) CheckBoxChange(col, row, state);
      return true;
    }
    case ctRowCheckBox:
      if (col != 0) return false;
      if (state != RowMarked(row)) {
        SetRowMarked(row, state);
        CheckBoxChange(col, row, state);
      }
      return true;
    default:
      return false;
  }
}

bool TCellControlHost::ToggleCheckBox(Integer col, Integer row, bool fromUser) {
  TCellGraphic* g = GetCellGraphic(col, row);
  if (g == nullptr || !IsCheckType(g->CellType)) return false;
  if (!Editable(col, row, CheckAlwaysActive, fromUser)) return false;
  const AnsiString checkTrue = CheckTrue(col, row);
  const AnsiString checkFalse = CheckFalse(col, row);
  bool state;
  if (g->CellType == ctCheckBox) {
    g->CellBoolean = !g->CellBoolean;
    state = g->CellBoolean;
  } else {
    state = model_.GetDisplayCell(col, row) != checkTrue;
    model_.SetDisplayCell(col, row, state ? checkTrue : checkFalse);
  }
  RepaintCell(model_.DisplColIndex(col), row);
  CheckBoxChange(col, row, state);
  AddChange(col, row, state ? checkFalse : checkTrue, state ? checkTrue : checkFalse);
  return true;
}

bool TCellControlHost::ToggleRadio(Integer col, Integer row, bool fromUser) {
  TCellGraphic* g = TypedGraphic(col, row, ctRadioButton);
  if (g == nullptr) return false;
  // The check boxes' switch decides here, not RadioAlwaysActive.
  if (!Editable(col, row, CheckAlwaysActive, fromUser)) return false;
  if (!g->CellBoolean) {
    g->CellBoolean = true;
    RepaintCell(model_.DisplColIndex(col), row);
    for (Integer i = 0; i < model_.RowCount(); ++i) {
      if (i == row) continue;
      TCellGraphic* other = TypedGraphic(col, i, ctRadioButton);
      if (other != nullptr && other->CellBoolean) {
        other->CellBoolean = false;
        RepaintCell(model_.DisplColIndex(col), i);
      }
    }
  }
  return true;
}

void TCellControlHost::CheckColumn(Integer col) {
  for (Integer r = model_.FixedRows(); r < model_.RowCount(); ++r) SetCellCheckState(col, r, true);
  if (model_.NumHiddenColumns() > 0) RepaintColumn(model_.DisplColIndex(col));
}

void TCellControlHost::UncheckColumn(Integer col) {
  for (Integer r = model_.FixedRows(); r < model_.RowCount(); ++r) SetCellCheckState(col, r, false);
  if (model_.NumHiddenColumns() > 0) RepaintColumn(model_.DisplColIndex(col));
}

bool TCellControlHost::IsCheckBoxCell(Integer col, Integer row) {
  if (col < 0 || row < 0 || col >= model_.ColCount() || row >= model_.RowCount()) return false;
  const TCellCoord base = model_.BaseCell(col, row);
  return IsCheckType(GetCellType(base.X, base.Y));
}

bool TCellControlHost::HasCellControl(Integer col, Integer row) {
  if (col < 0 || row < 0 || col >= model_.ColCount() || row >= model_.RowCount()) return false;
  const TCellCoord base = model_.BaseCell(col, row);
  const TCellType t = GetCellType(base.X, base.Y);
  return IsCheckType(t) || t == ctRadio || t == ctButton || t == ctRadioButton;
}

bool TCellControlHost::IsCheckBoxHit(Integer col, Integer row, Integer x, Integer y) {
  const TCellGraphic* g = GetCellGraphic(col, row);
  if (g == nullptr || !(IsCheckType(g->CellType) || g->CellType == ctRadioButton)) return false;
  if (!PreciseCheckBoxCheck) return true;
  const TPixelRect c = CellRect(model_.DisplColIndex(col), row);
  const Integer k = CheckSize;
  Integer top;
  switch (g->CellVAlign) {
    case vaBottom:
    case vaUnderText:
      top = c.Bottom - k - 2;
      break;
    case vaCenter:
    case vaFull:
      top = c.Top + (c.Bottom - c.Top - k) / 2;
      break;
    default:  // vaTop, vaAboveText
      top = c.Top + 2;
      break;
  }
  Integer left;
  switch (CellAlignment(col, row)) {
    case taRightJustify:
      left = c.Right - k - 2;
      if (!model_.GetDisplayCell(col, row).empty()) left -= MeasureCellWidth(col, row);
      break;
    case taCenter:
      left = c.Left + (c.Right - c.Left - k) / 2;
      break;
    default:
      left = c.Left + 2;
      break;
  }
  return x >= left && x < left + k && y >= top && y < top + k;
}

bool TCellControlHost::IsRadioGroupCell(Integer col, Integer row) {
  const TCellGraphic* g = BaseGraphic(col, row);
  return g != nullptr && g->CellType == ctRadio;
}

rtl::TStrings* TCellControlHost::GetRadioOptions(Integer col, Integer row) {
  const TCellGraphic* g = BaseGraphic(col, row);
  return g != nullptr && g->CellType == ctRadio ? static_cast<rtl::TStrings*>(g->CellBitmap()) : nullptr;
}

bool TCellControlHost::GetRadioChoice(Integer col, Integer row, Integer& index) {
  const TCellGraphic* g = GetCellGraphic(col, row);
  if (g == nullptr) return false;
  index = g->CellIndex;
  return g->CellType == ctRadio;
}

bool TCellControlHost::SetRadioChoice(Integer col, Integer row, Integer index) {
  TCellGraphic* g = GetCellGraphic(col, row);
  if (g == nullptr) return false;
  g->CellIndex = index;
  RepaintCell(model_.DisplColIndex(col), row);
  return g->CellType == ctRadio;
}

void TCellControlHost::AdvanceRadioChoice(Integer col, Integer row, bool fromUser) {
  TCellGraphic* g = TypedGraphic(col, row, ctRadio);
  if (g == nullptr) return;
  if (!Editable(col, row, RadioAlwaysActive, fromUser)) return;
  const auto* options = static_cast<const rtl::TStrings*>(g->CellBitmap());
  // Without options there is nothing to choose.
  if (options == nullptr || options->Count() == 0) return;
  Integer n;
  if (g->CellIndex >= 0) {
    n = g->CellIndex + 1;
  } else {
    const AnsiString text = rtl::AnsiUpperCase(model_.GetDisplayCell(col, row));
    Integer found = -1;
    for (Integer i = 0; i < options->Count() && found < 0; ++i)
      if (rtl::AnsiUpperCase(options->Get(i)) == text) found = i;
    n = found + 1;
  }
  if (n >= options->Count()) n = 0;
  if (g->CellIndex >= 0) g->CellIndex = n;
  g->CellVar = n;
  model_.SetDisplayCell(col, row, options->Get(n));
  RepaintCell(model_.DisplColIndex(col), row);
}

bool TCellControlHost::IsRadioButtonCell(Integer col, Integer row) {
  const TCellGraphic* g = BaseGraphic(col, row);
  return g != nullptr && g->CellType == ctRadioButton;
}

bool TCellControlHost::SetCellRadioButton(Integer col, Integer row, bool state) {
  TCellGraphic* g = BaseGraphic(col, row);
  if (g == nullptr || g->CellType != ctRadioButton) return false;
  if (g->CellBoolean != state) {
    g->CellBoolean = state;
    const TCellCoord base = model_.BaseCell(col, row);
    RepaintCell(model_.DisplColIndex(base.X), base.Y);
  }
  return true;
}

void TCellControlHost::SelectColumnRadioButton(Integer col, Integer row) {
  for (Integer r = model_.FixedRows(); r < model_.RowCount(); ++r) SetCellRadioButton(col, r, r == row);
}

bool TCellControlHost::IsButtonCell(Integer col, Integer row) {
  const TCellGraphic* g = BaseGraphic(col, row);
  return g != nullptr && (g->CellType == ctButton || g->CellType == ctBitButton);
}

void TCellControlHost::SetCellButtonDown(Integer displayCol, Integer row, bool down) {
  TCellGraphic* g = GetCellGraphic(model_.RealColIndex(displayCol), row);
  if (g == nullptr || g->CellType == ctNode) return;
  g->CellBoolean = down;
  RepaintCell(displayCol, row);
}

void TCellControlHost::GetCellButtonRect(Integer displayCol, Integer row, TPixelRect& r) {
  const TCellGraphic* g = GetCellGraphic(model_.RealColIndex(displayCol), row);
  if (g == nullptr) return;
  const TPixelRect c = CellRect(displayCol, row);
  const Cardinal p = static_cast<Cardinal>(rtl::Round(g->CellValue));
  const Cardinal s = static_cast<Cardinal>(g->CellIndex);
  r.Left = c.Left + static_cast<Integer>(p & 0xFFFF);
  r.Top = c.Top + static_cast<Integer>(p >> 16);
  r.Right = r.Left + static_cast<Integer>(s & 0xFFFF);
  r.Bottom = r.Top + static_cast<Integer>(s >> 16);
  if (g->CellVAlign == vaFull) {
    r.Top = c.Top;
    r.Bottom = c.Bottom;
  }
  if (g->CellHAlign == haFull) {
    r.Left = c.Left;
    r.Right = c.Right;
  }
}

bool TCellControlHost::IsRatingCell(Integer col, Integer row) {
  const TCellGraphic* g = BaseGraphic(col, row);
  return g != nullptr && g->CellType == ctRating;
}

bool TCellControlHost::IsScrollBarCell(Integer col, Integer row) { return TypedGraphic(col, row, ctScrollbar) != nullptr; }

bool TCellControlHost::IsAutoRangeScrollBarCell(Integer col, Integer row) {
  const TCellGraphic* g = TypedGraphic(col, row, ctScrollbar);
  return g != nullptr && g->CellBoolean;
}

void TCellControlHost::SetCellScrollPosition(Integer col, Integer row, Integer position) {
  if (TCellGraphic* g = TypedGraphic(col, row, ctScrollbar)) {
    g->CellIndex = position;
    RepaintCell(model_.DisplColIndex(col), row);
  }
}

Integer TCellControlHost::GetCellScrollPosition(Integer col, Integer row) {
  const TCellGraphic* g = TypedGraphic(col, row, ctScrollbar);
  return g != nullptr ? g->CellIndex : -1;
}

void TCellControlHost::SetCellScrollRange(Integer col, Integer row, TCellScrollRange range) {
  if (TCellGraphic* g = TypedGraphic(col, row, ctScrollbar)) {
    g->CellAngle = range.Page;
    g->CellErrFrom = range.Max;
  }
}

void TCellControlHost::GetCellScrollRange(Integer col, Integer row, TCellScrollRange& range) {
  range = {-1, -1};
  if (const TCellGraphic* g = TypedGraphic(col, row, ctScrollbar)) range = {g->CellAngle, g->CellErrFrom};
}

void TCellControlHost::SetCellShapeColor(Integer col, Integer row, TColor color) {
  if (GetCellType(col, row) != ctShape) return;
  GetCellGraphic(col, row)->CellIndex = static_cast<Integer>(color);
}

TColor TCellControlHost::GetCellShapeColor(Integer col, Integer row) {
  if (GetCellType(col, row) != ctShape) return clNone;
  return static_cast<TColor>(GetCellGraphic(col, row)->CellIndex);
}

bool TCellControlHost::GetCellComment(Integer col, Integer row, AnsiString& comment) {
  const TCellGraphic* g = TypedGraphic(col, row, ctComment);
  if (g == nullptr) return false;
  comment = g->CellText;
  return true;
}

bool TCellControlHost::GetCellBalloon(Integer col, Integer row, AnsiString& title, AnsiString& text, Integer& icon) {
  const TCellGraphic* g = TypedGraphic(col, row, ctBalloon);
  if (g == nullptr) return false;
  const auto* lines = static_cast<const rtl::TStrings*>(g->CellBitmap());
  title = lines != nullptr && lines->Count() > 0 ? lines->Get(0) : AnsiString();
  text = lines != nullptr && lines->Count() > 1 ? lines->Get(1) : AnsiString();
  icon = g->CellIndex & 0xFF;
  return true;
}

bool TCellControlHost::GetCellImageIndex(Integer col, Integer row, Integer& index) {
  if (!HasGridImages() || GetCellType(col, row) != ctImageList) return false;
  index = GetCellGraphic(col, row)->CellIndex;
  return true;
}

void TCellControlHost::SetCellImageIndex(Integer col, Integer row, Integer index) {
  if (!HasGridImages() || GetCellType(col, row) != ctImageList) return;
  GetCellGraphic(col, row)->CellIndex = index;
}

bool TCellControlHost::GetCellRotation(Integer col, Integer row, Integer& angle) {
  const TCellGraphic* g = TypedGraphic(col, row, ctRotated);
  if (g == nullptr) return false;
  angle = g->CellAngle;
  return true;
}

void TCellControlHost::GetCellErrorRange(Integer col, Integer row, Integer& errFrom, Integer& errLen) {
  errFrom = 0;
  errLen = 0;
  if (const TCellGraphic* g = GetCellGraphic(col, row)) {
    errFrom = g->CellErrFrom;
    errLen = g->CellErrLen;
  }
}

// ===== making graphics =====

TCellGraphic& TCellControlHost::AddRadioGroup(Integer col, Integer row, const rtl::TStrings& options,
                                              bool horizontal, Integer index) {
  TCellGraphic& g = CreateCellGraphic(col, row);
  auto* list = new rtl::TStringList();
  list->Assign(options);
  g.CellType = ctRadio;
  g.SetCellBitmap({list, &DeleteObject<rtl::TStringList>});
  g.CellCreated = true;
  g.CellBoolean = horizontal;
  g.CellIndex = index;
  return g;
}

TCellGraphic& TCellControlHost::AddBalloon(Integer col, Integer row, const AnsiString& title, const AnsiString& text,
                                           Integer icon) {
  TCellGraphic& g = CreateCellGraphic(col, row);
  auto* lines = new rtl::TStringList();
  lines->Add(title);
  lines->Add(text);
  g.CellType = ctBalloon;
  g.SetCellBitmap({lines, &DeleteObject<rtl::TStringList>});
  g.CellIndex = icon;
  return g;
}

TCellGraphic& TCellControlHost::AddImages(Integer col, Integer row, const std::vector<Integer>& indexes,
                                          bool horizontal) {
  TCellGraphic& g = CreateCellGraphic(col, row);
  auto* list = new TIntList(col, row);
  for (Integer i : indexes) list->Insert(list->Count(), i);
  g.CellType = ctImages;
  g.SetCellBitmap({list, &DeleteObject<TIntList>});
  g.CellBoolean = horizontal;
  return g;
}

TCellGraphic& TCellControlHost::AddRating(Integer col, Integer row, Integer stars, TColor onColor, TColor offColor) {
  TCellGraphic& g = CreateCellGraphic(col, row);
  g.CellType = ctRating;
  g.CellAngle = stars;
  g.CellIndex = static_cast<Integer>(onColor);
  g.SetCellBitmap({ColorObject(offColor), nullptr});
  return g;
}

TCellGraphic& TCellControlHost::AddButton(Integer col, Integer row, Integer width, Integer height,
                                          const AnsiString& caption, TCellHAlign hAlign, TCellVAlign vAlign) {
  TCellGraphic& g = CreateCellGraphic(col, row);
  g.CellType = ctButton;
  g.CellIndex = static_cast<Integer>((static_cast<Cardinal>(height) << 16) | (static_cast<Cardinal>(width) & 0xFFFF));
  g.CellText = caption;
  g.CellHAlign = hAlign;
  g.CellVAlign = vAlign;
  return g;
}

}  // namespace grid
