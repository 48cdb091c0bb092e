#include "dropdown/LumColorSelector.h"

#include <algorithm>

#include "rtl/Exceptions.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

// The theme's palette as RGB (red in the high byte), row by row: the base
// colours standing alone, then five rows of strips.
constexpr uint32_t kThemePaletteRgb[6][10] = {
    {0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D, 0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646},
    {0xF2F2F2, 0x7F7F7F, 0xDDD9C3, 0xC6D98C, 0xDBE5F1, 0xF2DCDB, 0xEBF1DD, 0xE5E0EC, 0xDBEEF3, 0xFDEADA},
    {0xD8D8D8, 0x595959, 0xC4BD97, 0x8DB3E2, 0xB8CCE4, 0xE5B9B7, 0xD7E3BC, 0xCCC1D9, 0xB7DDE8, 0xFBD5B5},
    {0xBFBFBF, 0x3F3F3F, 0x938953, 0x548DD4, 0x95B3D7, 0xD99694, 0xC3D69B, 0xB2A2C7, 0x92CDDC, 0xFAC08F},
    {0xA5A5A5, 0x262626, 0x494429, 0x17365D, 0x366092, 0x953734, 0x76923C, 0x5F497A, 0x31859B, 0xE36C09},
    {0x7F7F7F, 0x0C0C0C, 0x1D1B10, 0x0F243E, 0x244061, 0x632423, 0x4F6128, 0x3F3151, 0x205867, 0x974806},
};
constexpr TItemPos kThemeRowPos[6] = {TItemPos::ipStandAlone, TItemPos::ipTop,    TItemPos::ipMiddle,
                                      TItemPos::ipMiddle,     TItemPos::ipMiddle, TItemPos::ipBottom};

TColor PaletteColor(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

}  // namespace

void TColorBoxItem::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  if (auto* boxes = dynamic_cast<TColorBoxItems*>(Collection()); boxes && boxes->OnChange) boxes->OnChange();
}

void TColorBoxItem::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TColorBoxItem*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  SetColor(other->color_);
  enabled_ = other->enabled_;
}

void TColorBoxAppearance::Reset() {
  borderColor_ = 0xC5C5C5;
  outerHot_ = 0x3694F2;
  innerHot_ = 0x94E2FF;
  outerSelected_ = 0x0000FF;
  innerSelected_ = 0x94E2FF;
}

void TColorBoxAppearance::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TColorBoxAppearance*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  borderColor_ = other->borderColor_;
  outerHot_ = other->outerHot_;
  innerHot_ = other->innerHot_;
  outerSelected_ = other->outerSelected_;
  innerSelected_ = other->innerSelected_;
}

TCustomColorSelector::TCustomColorSelector(TComponent* owner)
    : TLumCustomColorSelectorPanel(owner),
      appearance_(std::make_unique<TColorBoxAppearance>()),
      boxes_(std::make_unique<TColorBoxItems>(this)) {
  SetLook(1);
  SetParentColor(true);
}

TCustomColorSelector::~TCustomColorSelector() = default;

void TCustomColorSelector::SetLook(Byte look) {
  if (look == look_) return;
  look_ = look;
  if (look >= 1 && look <= 3) appearance_->Reset();
}

void TCustomColorSelector::FillThemePalette() {
  boxes_->Clear();
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 10; ++c) {
      TColorBoxItem* box = boxes_->Add();
      box->SetColor(PaletteColor(kThemePaletteRgb[r][c]));
      box->SetColorBoxPos(kThemeRowPos[r]);
    }
}

void TCustomColorSelector::SelectBox(Integer index) {
  if (ValidIndex(index) && !boxes_->Items(index)->Enabled()) return;
  if (selectedIndex_ >= 0 && selectedIndex_ != index) {
    const Integer old = selectedIndex_;
    selectedIndex_ = -1;
    InvalidateBox(old);
  }
  selectedIndex_ = index;
  if (!ValidIndex(index)) return;
  selectedColor_ = boxes_->Items(index)->Color();
  if (HandleAllocated()) PaintBox(index, Canvas());
  if (OnSelectBox) OnSelectBox(this);
}

void TCustomColorSelector::SetHotIndex(Integer index) {
  if (index == hotIndex_) return;
  if (ValidIndex(index) && !boxes_->Items(index)->Enabled()) return;
  if (hotIndex_ >= 0) {
    const Integer old = hotIndex_;
    hotIndex_ = -1;
    InvalidateBox(old);
  }
  hotIndex_ = index;
  if (ValidIndex(index) && HandleAllocated()) PaintBox(index, Canvas());
}

void TCustomColorSelector::SelectColor(TColor value) {
  if (value == selectedColor_) return;
  selectedColor_ = value;
  if (value == clNone) SelectBox(-1);
  Integer found = -1;
  for (Integer i = 0; i < boxes_->Count() && found < 0; ++i)
    if (boxes_->Items(i)->Color() == value) found = i;
  SelectBox(found);
  selectedColor_ = value;
}

void TCustomColorSelector::SelectFirstBox() {
  if (boxes_->Count() > 0) SelectBox(0);
}
void TCustomColorSelector::SelectLastBox() {
  if (boxes_->Count() > 0) SelectBox(boxes_->Count() - 1);
}
void TCustomColorSelector::SelectNextBox() {
  if (selectedIndex_ + 1 < boxes_->Count()) SelectBox(selectedIndex_ + 1);
}
void TCustomColorSelector::SelectPreviousBox() {
  if (selectedIndex_ - 1 >= 0) SelectBox(selectedIndex_ - 1);
}
void TCustomColorSelector::HotNextBox() {
  if (hotIndex_ + 1 < boxes_->Count()) SetHotIndex(hotIndex_ + 1);
}
void TCustomColorSelector::HotPreviousBox() {
  if (hotIndex_ - 1 >= 0) SetHotIndex(hotIndex_ - 1);
}

Integer TCustomColorSelector::BoxAt(Integer x, Integer y) const {
  for (Integer i = 0; i < boxes_->Count(); ++i) {
    const TRect& r = boxes_->Items(i)->BoxRect();
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return i;
  }
  return -1;
}

void TCustomColorSelector::HandleKey(Word key, bool editorEnabled, bool droppedDown) {
  if (!Enabled() || key < VK_PRIOR || key > VK_DOWN) return;
  const bool acrossRow = !(editorEnabled && !droppedDown);
  auto byRow = [&](Integer step) {
    const Integer i = selectedIndex_ < 0 ? 0 : selectedIndex_ + step;
    if (i >= 0 && i < boxes_->Count()) SelectBox(i);
  };
  switch (key) {
    case VK_PRIOR:
    case VK_HOME: SelectFirstBox(); break;
    case VK_NEXT:
    case VK_END: SelectLastBox(); break;
    case VK_LEFT:
      if (acrossRow) SelectPreviousBox();
      break;
    case VK_RIGHT:
      if (acrossRow) SelectNextBox();
      break;
    case VK_UP:
      if (droppedDown)
        byRow(-columns_);
      else
        SelectPreviousBox();
      break;
    case VK_DOWN:
      if (droppedDown)
        byRow(columns_);
      else
        SelectNextBox();
      break;
    default: break;
  }
}

void TCustomColorSelector::GetContentRect(TRect& r) {
  r = ClientRect();
  r.Left += marginX_;
  r.Right -= marginX_;
  r.Top += marginY_;
  r.Bottom -= marginY_;
}

void TCustomColorSelector::GetBoxSize(TSize& size) { size = TSize{boxWidth_, boxHeight_}; }

void TCustomColorSelector::ArrangeBoxes() {
  if (boxes_->Count() == 0) {
    SetBounds(Left(), Top(), 100, 50);
    return;
  }
  hotIndex_ = -1;
  TSize size{};
  GetBoxSize(size);
  TRect content{};
  GetContentRect(content);
  const Integer l = content.Left, t = content.Top;
  Integer x = l, y = t, column = 0, widest = 0;
  bool rowHasStandAlone = false;
  const Integer count = boxes_->Count();
  for (Integer i = 0; i < count; ++i) {
    TColorBoxItem* box = boxes_->Items(i);
    box->SetBoxRect(TRect{x, y, x + size.cx, y + size.cy});
    ++column;
    if (i == count - 1) break;
    if (box->ColorBoxPos() == TItemPos::ipStandAlone) rowHasStandAlone = true;
    if (column >= columns_) {
      widest = std::max(widest, x);
      x = l;
      y += size.cy + (rowHasStandAlone ? spacing_ : 0);
      column = 0;
      rowHasStandAlone = false;
    } else {
      x += size.cx + spacing_;
    }
  }
  widest = std::max(widest, x);
  SetBounds(Left(), Top(), widest + size.cx + l + 1, y + size.cy + t);
}

void TCustomColorSelector::InvalidateBox(Integer index) {
  if (!ValidIndex(index) || !HandleAllocated()) return;
  const TRect r = boxes_->Items(index)->BoxRect();
  RedrawWindow(Handle(), &r, RDW_INVALIDATE | RDW_ERASE);
}

void TCustomColorSelector::PaintBox(Integer index, TCanvas* canvas) {
  if (!ValidIndex(index) || !canvas) return;
  const TColorBoxItem& box = *boxes_->Items(index);
  TRect r = box.BoxRect();
  if (r.Left < 0 && r.Right < 0) return;
  TColor outer = appearance_->BorderColor(), inner = clNone;
  bool framed = false;
  if (index == hotIndex_) {
    outer = appearance_->OuterBorderColorHot();
    inner = appearance_->InnerBorderColorHot();
    framed = true;
  }
  if (index == selectedIndex_) {
    outer = appearance_->OuterBorderColorSelected();
    inner = appearance_->InnerBorderColorSelected();
    framed = true;
  }
  canvas->Pen()->SetStyle(psSolid);
  if (box.Color() != clNone) {
    canvas->Pen()->SetColor(box.Color());
    canvas->Brush()->SetColor(box.Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(r);
  }
  if (framed) {
    canvas->Brush()->SetStyle(bsClear);
    if (outer != clNone) {
      canvas->Pen()->SetColor(outer);
      canvas->Rectangle(r);
      r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    if (inner != clNone) {
      canvas->Pen()->SetColor(inner);
      canvas->Rectangle(r);
    }
    return;
  }
  canvas->Pen()->SetColor(outer);
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  switch (box.ColorBoxPos()) {
    case TItemPos::ipStandAlone:
      canvas->MoveTo(L, B);
      canvas->LineTo(L, T);
      canvas->LineTo(R, T);
      canvas->LineTo(R, B);
      canvas->LineTo(L, B);
      break;
    case TItemPos::ipTop:
      canvas->MoveTo(L, B);
      canvas->LineTo(L, T);
      canvas->LineTo(R, T);
      canvas->LineTo(R, B);
      break;
    case TItemPos::ipMiddle:
      canvas->MoveTo(L, T);
      canvas->LineTo(L, B);
      canvas->MoveTo(R, T);
      canvas->LineTo(R, B);
      break;
    case TItemPos::ipBottom:
      canvas->MoveTo(L, T);
      canvas->LineTo(L, B);
      canvas->LineTo(R, B);
      canvas->MoveTo(R, T);
      canvas->LineTo(R, B + 1);
      break;
  }
}

void TCustomColorSelector::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  for (Integer i = 0; i < boxes_->Count(); ++i) PaintBox(i, canvas);
}

void TCustomColorSelector::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TLumCustomColorSelectorPanel::MouseDown(button, shift, x, y);
  const Integer i = BoxAt(x, y);
  if (i >= 0 && boxes_->Items(i)->Enabled()) SelectBox(i);
}

void TCustomColorSelector::MouseMove(TShiftState shift, Integer x, Integer y) {
  TLumCustomColorSelectorPanel::MouseMove(shift, x, y);
  Integer i = BoxAt(x, y);
  if (i < 0) {
    if (hotIndex_ >= 0) SetHotIndex(-1);
    return;
  }
  if (i == hotIndex_) return;
  if (!boxes_->Items(i)->Enabled()) i = -1;
  SetHotIndex(i);
}

void TCustomColorSelector::Dispatch(TMessage& m) {
  TLumCustomColorSelectorPanel::Dispatch(m);
  if (m.Msg == CM_MOUSELEAVE && hotIndex_ >= 0) SetHotIndex(-1);
}

}  // namespace dropdown
