#include "dropdown/LumColorPickerDropDown.h"

#include <algorithm>

#include "rtl/Format.h"
#include "vcl/Forms.h"
#include "vcl/WinApi.h"

namespace dropdown {

using namespace vcl;

namespace {

struct TWebColor {
  uint32_t rgb;
  const char* name;
};

// The web's named colours, RGB with red in the high byte; where two names
// share a value the first answers.
constexpr TWebColor kWebColors[] = {
    {0xF0F8FF, "aliceblue"},
    {0xFAEBD7, "antiquewhite"},
    {0x00FFFF, "aqua"},
    {0x7FFFD4, "aquamarine"},
    {0xF0FFFF, "azure"},
    {0xF5F5DC, "beige"},
    {0xFFE4C4, "bisque"},
    {0x000000, "black"},
    {0xFFEBCD, "blanchedalmond"},
    {0x0000FF, "blue"},
    {0x8A2BE2, "blueviolet"},
    {0xA52A2A, "brown"},
    {0xDEB887, "burlywood"},
    {0x5F9EA0, "cadetblue"},
    {0x7FFF00, "chartreuse"},
    {0xD2691E, "chocolate"},
    {0xFF7F50, "coral"},
    {0x6495ED, "cornflowerblue"},
    {0xFFF8DC, "cornsilk"},
    {0xDC143C, "crimson"},
    {0x00FFFF, "cyan"},
    {0x00008B, "darkblue"},
    {0x008B8B, "darkcyan"},
    {0xB8860B, "darkgoldenrod"},
    {0xA9A9A9, "darkgray"},
    {0x006400, "darkgreen"},
    {0xBDB76B, "darkkhaki"},
    {0x8B008B, "darkmagenta"},
    {0x556B2F, "darkolivegreen"},
    {0xFF8C00, "darkorange"},
    {0x9932CC, "darkorchid"},
    {0x8B0000, "darkred"},
    {0xE9967A, "darksalmon"},
    {0x8FBC8F, "darkseagreen"},
    {0x483D8B, "darkslateblue"},
    {0x2F4F4F, "darkslategray"},
    {0x00CED1, "darkturquoise"},
    {0x9400D3, "darkviolet"},
    {0xFF1493, "deeppink"},
    {0x00BFFF, "deepskyblue"},
    {0x696969, "dimgray"},
    {0x1E90FF, "dodgerblue"},
    {0xB22222, "firebrick"},
    {0xFFFAF0, "floralwhite"},
    {0x228B22, "forestgreen"},
    {0xFF00FF, "fuchsia"},
    {0xDCDCDC, "gainsboro"},
    {0xF8F8FF, "ghostwhite"},
    {0xFFD700, "gold"},
    {0xDAA520, "goldenrod"},
    {0x808080, "gray"},
    {0x008000, "green"},
    {0xADFF2F, "greenyellow"},
    {0xF0FFF0, "honeydew"},
    {0xFF69B4, "hotpink"},
    {0xCD5C5C, "indianred"},
    {0x4B0082, "indigo"},
    {0xFFFFF0, "ivory"},
    {0xF0E68C, "khaki"},
    {0xE6E6FA, "lavender"},
    {0xFFF0F5, "lavenderblush"},
    {0x7CFC00, "lawngreen"},
    {0xFFFACD, "lemonchiffon"},
    {0xADD8E6, "lightblue"},
    {0xF08080, "lightcoral"},
    {0xE0FFFF, "lightcyan"},
    {0xFAFAD2, "lightgoldenrodyellow"},
    {0x90EE90, "lightgreen"},
    {0xD3D3D3, "lightgrey"},
    {0xFFB6C1, "lightpink"},
    {0xFFA07A, "lightsalmon"},
    {0x20B2AA, "lightseagreen"},
    {0x87CEFA, "lightskyblue"},
    {0x778899, "lightslategray"},
    {0xB0C4DE, "lightsteelblue"},
    {0xFFFFE0, "lightyellow"},
    {0x00FF00, "lime"},
    {0x32CD32, "limegreen"},
    {0xFAF0E6, "linen"},
    {0xFF00FF, "magenta"},
    {0x800000, "maroon"},
    {0x66CDAA, "mediumaquamarine"},
    {0x0000CD, "mediumblue"},
    {0xBA55D3, "mediumorchid"},
    {0x9370DB, "mediumpurple"},
    {0x3CB371, "mediumseagreen"},
    {0x7B68EE, "mediumslateblue"},
    {0x00FA9A, "mediumspringgreen"},
    {0x48D1CC, "mediumturquoise"},
    {0xC71585, "mediumvioletred"},
    {0x191970, "midnightblue"},
    {0xF5FFFA, "mintcream"},
    {0xFFE4E1, "mistyrose"},
    {0xFFE4B5, "moccasin"},
    {0xFFDEAD, "navajowhite"},
    {0x000080, "navy"},
    {0xFDF5E6, "oldlace"},
    {0x808000, "olive"},
    {0x6B8E23, "olivedrab"},
    {0xFFA500, "orange"},
    {0xFF4500, "orangered"},
    {0xDA70D6, "orchid"},
    {0xEEE8AA, "palegoldenrod"},
    {0x98FB98, "palegreen"},
    {0xAFEEEE, "paleturquoise"},
    {0xDB7093, "palevioletred"},
    {0xFFEFD5, "papayawhip"},
    {0xFFDAB9, "peachpuff"},
    {0xCD853F, "peru"},
    {0xFFC0CB, "pink"},
    {0xDDA0DD, "plum"},
    {0xB0E0E6, "powderblue"},
    {0x800080, "purple"},
    {0xFF0000, "red"},
    {0xBC8F8F, "rosybrown"},
    {0x4169E1, "royalblue"},
    {0x8B4513, "saddlebrown"},
    {0xFA8072, "salmon"},
    {0xF4A460, "sandybrown"},
    {0x2E8B57, "seagreen"},
    {0xFFF5EE, "seashell"},
    {0xA0522D, "sienna"},
    {0xC0C0C0, "silver"},
    {0x87CEEB, "skyblue"},
    {0x6A5ACD, "slateblue"},
    {0x708090, "slategray"},
    {0xFFFAFA, "snow"},
    {0x00FF7F, "springgreen"},
    {0x4682B4, "steelblue"},
    {0xD2B48C, "tan"},
    {0x008080, "teal"},
    {0xD8BFD8, "thistle"},
    {0xFF6347, "tomato"},
    {0x40E0D0, "turquoise"},
    {0xEE82EE, "violet"},
    {0xF5DEB3, "wheat"},
    {0xFFFFFF, "white"},
    {0xF5F5F5, "whitesmoke"},
    {0xFFFF00, "yellow"},
    {0x9ACD32, "yellowgreen"},
};

struct TNamedColor {
  const char* caption;
  uint32_t rgb;
};

constexpr TNamedColor kNamedColors[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000},  {"Olive", 0x808000},
    {"Navy", 0x000080},  {"Purple", 0x800080}, {"Teal", 0x008080},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},   {"Lime", 0x00FF00},   {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

TColor PickerColorOf(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

}  // namespace

rtl::AnsiString WebColorName(uint32_t rgb) {
  for (const TWebColor& c : kWebColors)
    if (c.rgb == rgb) return c.name;
  return {};
}

// ---------------------------------------------------------------------------
// Items

void TColorItem::Changed() {
  if (auto* items = dynamic_cast<TColorItems*>(Collection()); items && items->OnChange) items->OnChange();
}

void TColorItem::SetCaption(const rtl::AnsiString& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed();
}

void TColorItem::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}

void TColorItem::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TColorItem*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  SetCaption(other->caption_);
  SetColor(other->color_);
  hint_ = other->hint_;
  enabled_ = other->enabled_;
}

void TColorItems::Assign(const TColorItems& source) {
  if (&source == this) return;
  Clear();
  for (Integer i = 0; i < source.Count(); ++i) Add()->Assign(source.Items(i));
  if (OnChange) OnChange();
}

// ---------------------------------------------------------------------------
// The picker

TLumColorPickerDropDown::TLumColorPickerDropDown(TComponent* owner) : TLumCustomDropDown(owner) {
  colors_ = std::make_unique<TColorItems>(this);
  itemAppearance_ = std::make_unique<TItemAppearance>(this);
  itemAppearance_->SetItemColorStyle(1);
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  searchTimer_ = new TTimer(this);
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(SearchResetMs);
  searchTimer_->OnTimer = [this](TObject*) {
    searchTimer_->SetEnabled(false);
    searchText_.clear();
  };
  namedColorsPending_ = ComponentState().Contains(csDesigning) && owner &&
                        !owner->ComponentState().Contains(csReading) && !owner->Loading();
  SetDropDownHeight(200);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetCursor(crArrow);
  // The base made the pop-up before this picker's style existed.
  if (DropDownForm()) EnsureListSelector();
}

TLumColorPickerDropDown::~TLumColorPickerDropDown() {
  if (searchTimer_) searchTimer_->SetEnabled(false);
}

void TLumColorPickerDropDown::Notification(TComponent* component, TOperation operation) {
  TLumCustomDropDown::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == listSelector_) listSelector_ = nullptr;
  if (component == discreteSelector_) discreteSelector_ = nullptr;
  if (component == cubePanel_) cubePanel_ = nullptr;
  if (component == spectrumPanel_) spectrumPanel_ = nullptr;
  if (component == searchTimer_) searchTimer_ = nullptr;
}

void TLumColorPickerDropDown::CreateWnd() {
  TLumCustomDropDown::CreateWnd();
  if (namedColorsPending_ && colors_->Count() == 0) {
    namedColorsPending_ = false;
    AddNamedColors();
  }
}

void TLumColorPickerDropDown::AddNamedColors() {
  for (const TNamedColor& c : kNamedColors) {
    TColorItem* item = colors_->Add();
    item->SetCaption(c.caption);
    item->SetColor(PickerColorOf(c.rgb));
  }
}

void TLumColorPickerDropDown::SetItemIndex(Integer index) {
  if (index >= colors_->Count()) return;
  itemIndex_ = index < 0 ? -1 : index;
  if (itemIndex_ >= 0) selectedColor_ = colors_->Items(itemIndex_)->Color();
  Invalidate();
  if (OnSelect) OnSelect(this);
}

void TLumColorPickerDropDown::SetSelectedColor(TColor c) {
  if (c == selectedColor_) return;
  selectedColor_ = c;
  Integer found = -1;
  for (Integer i = 0; i < colors_->Count() && found < 0; ++i)
    if (colors_->Items(i)->Color() == c) found = i;
  if (found >= 0) {
    SetItemIndex(found);
  } else {
    // The entry chosen before names another colour: the text shows this
    // colour's value instead.
    itemIndex_ = -1;
  }
  Invalidate();
}

void TLumColorPickerDropDown::SelectFirst() {
  if (colors_->Count() > 0) SetItemIndex(0);
}
void TLumColorPickerDropDown::SelectLast() {
  if (colors_->Count() > 0) SetItemIndex(colors_->Count() - 1);
}
void TLumColorPickerDropDown::SelectNext() {
  if (colors_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ + 1 < colors_->Count())
    SetItemIndex(itemIndex_ + 1);
}
void TLumColorPickerDropDown::SelectPrevious() {
  if (colors_->Count() == 0) return;
  if (itemIndex_ < 0)
    SetItemIndex(0);
  else if (itemIndex_ > 0)
    SetItemIndex(itemIndex_ - 1);
}

void TLumColorPickerDropDown::SetColorValueText(TColorValueText v) {
  colorValueText_ = v;
  Invalidate();
}

void TLumColorPickerDropDown::SetShowText(bool v) {
  if (v == showText_) return;
  showText_ = v;
  Invalidate();
}

rtl::AnsiString TLumColorPickerDropDown::GetColorValueText() {
  if (selectionStyle_ == TColorSelectionStyle::csList && itemIndex_ >= 0 && itemIndex_ < colors_->Count())
    return colors_->Items(itemIndex_)->Caption();
  if (selectedColor_ == clNone) return {};
  const TColor rgb = ColorToRGB(selectedColor_);
  const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  switch (colorValueText_) {
    case TColorValueText::cvtNone: return {};
    case TColorValueText::cvtHex: return rtl::Format("%.6X", {static_cast<int>(selectedColor_)});
    case TColorValueText::cvtWebName: {
      const uint32_t value = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
      rtl::AnsiString name = WebColorName(value);
      return name.empty() ? rtl::Format("#%.2X%.2X%.2X", {r, g, b}) : name;
    }
    case TColorValueText::cvtRGB: return rtl::Format("Red:%d,Green:%d,Blue:%d", {r, g, b});
    case TColorValueText::cvtHTML: return rtl::Format("#%.2X%.2X%.2X", {r, g, b});
  }
  return {};
}

rtl::AnsiString TLumColorPickerDropDown::GetText() const {
  return const_cast<TLumColorPickerDropDown*>(this)->GetColorValueText();
}

// --- content controls

void TLumColorPickerDropDown::PrepareContent(TWinControl* control) {
  control->SetParent(DropDownForm());
  control->SetLeft(0);
  control->SetTop(0);
  control->SetColor(DropDownColor());
  SetDropDownControl(control);
  // Unaligned until the pop-up is sized from it: the style's own size
  // comes first (the base aligns it again when it places it).
  control->SetAlign(alNone);
}

void TLumColorPickerDropDown::EnsureListSelector() {
  if (!DropDownForm()) return;
  if (!listSelector_) {
    listSelector_ = new TLumCustomItemSelector(this);
    listSelector_->FreeNotification(this);
  }
  listSelector_->SetSelectorType(TSelectorType::stColor);
  listSelector_->SetHeight(150);
  PrepareContent(listSelector_);
  listSelector_->LayoutItems();
}

void TLumColorPickerDropDown::EnsureDiscreteSelector() {
  if (!DropDownForm()) return;
  if (!discreteSelector_) {
    discreteSelector_ = new TCustomColorSelector(this);
    discreteSelector_->FreeNotification(this);
    discreteSelector_->FillThemePalette();
  }
  discreteSelector_->SetAlign(alNone);
  discreteSelector_->ArrangeBoxes();
  PrepareContent(discreteSelector_);
}

void TLumColorPickerDropDown::EnsureCubePanel() {
  if (!DropDownForm()) return;
  if (!cubePanel_) {
    cubePanel_ = new TLumColorCubePanel(this);
    cubePanel_->FreeNotification(this);
  }
  cubePanel_->SetAlign(alNone);
  PrepareContent(cubePanel_);
}

void TLumColorPickerDropDown::EnsureSpectrumPanel() {
  if (!DropDownForm()) return;
  if (!spectrumPanel_) {
    spectrumPanel_ = new TLumColorSpectrumPanel(this);
    spectrumPanel_->FreeNotification(this);
  }
  spectrumPanel_->SetAlign(alNone);
  PrepareContent(spectrumPanel_);
}

void TLumColorPickerDropDown::CreateDropDownForm() {
  TLumCustomDropDown::CreateDropDownForm();
  switch (selectionStyle_) {
    case TColorSelectionStyle::csList: EnsureListSelector(); break;
    case TColorSelectionStyle::csDiscrete: EnsureDiscreteSelector(); break;
    case TColorSelectionStyle::csColorCube: EnsureCubePanel(); break;
    case TColorSelectionStyle::csSpectrum: EnsureSpectrumPanel(); break;
  }
}

void TLumColorPickerDropDown::HideOthers(TWinControl* keep) {
  for (TWinControl* c : {static_cast<TWinControl*>(listSelector_), static_cast<TWinControl*>(discreteSelector_),
                         static_cast<TWinControl*>(cubePanel_), static_cast<TWinControl*>(spectrumPanel_)})
    if (c && c != keep) c->SetVisible(false);
}

void TLumColorPickerDropDown::UpdateListSelector() {
  if (!listSelector_) return;
  listSelector_->OnItemSelect = nullptr;
  listSelector_->SetColumns(columns_);
  listSelector_->SetImages(Images());
  listSelector_->SetItemLayout(layout_);
  listSelector_->SetColor(DropDownColor());
  TSelectorItems* items = listSelector_->Items();
  items->OnChange = nullptr;  // laid out once below
  items->Clear();
  for (Integer i = 0; i < colors_->Count(); ++i) {
    const TColorItem* c = colors_->Items(i);
    TSelectorItem* item = items->Add();
    item->SetCaption(c->Caption());
    item->SetColor(c->Color());
    item->SetHint(c->Hint());
    item->SetEnabled(c->Enabled());
  }
  items->OnChange = [this] { listSelector_->LayoutItems(); };
  listSelector_->SetColorBoxWidth(colorBoxWidth_);
  listSelector_->SetColorBoxHeight(colorBoxHeight_);
  listSelector_->ItemAppearance()->Assign(itemAppearance_.get());
  listSelector_->LayoutItems();
  listSelector_->SetItemIndex(itemIndex_);
  listSelector_->OnItemSelect = [this](TObject*) { ListSelect(); };
  listSelector_->SetShowHint(ShowHint());
}

void TLumColorPickerDropDown::PrepareStyle() {
  switch (selectionStyle_) {
    case TColorSelectionStyle::csList:
      EnsureListSelector();
      HideOthers(listSelector_);
      UpdateListSelector();
      if (listSelector_) {
        if (OnDrawColor)
          listSelector_->OnDrawItem = [this](TObject*, TCanvas* canvas, TRect r, Integer index) {
            OnDrawColor(this, canvas, r, index);
          };
        else
          listSelector_->OnDrawItem = nullptr;
        listSelector_->SetVisible(true);
      }
      indexAtDropDown_ = itemIndex_;
      break;
    case TColorSelectionStyle::csDiscrete:
      EnsureDiscreteSelector();
      HideOthers(discreteSelector_);
      if (discreteSelector_) {
        discreteSelector_->SelectColor(selectedColor_);
        discreteSelector_->ArrangeBoxes();
        discreteSelector_->OnSelectBox = [this](TObject*) { DiscreteSelect(); };
        discreteSelector_->SetLook(SelectionColorStyle());
        discreteSelector_->SetVisible(true);
      }
      break;
    case TColorSelectionStyle::csColorCube:
      EnsureCubePanel();
      HideOthers(cubePanel_);
      if (cubePanel_) {
        cubePanel_->SetSelectedColor(selectedColor_);
        cubePanel_->BuildCells();
        cubePanel_->ClearHover();
        cubePanel_->OnSelect = [this](TObject*) { PanelSelect(cubePanel_->SelectedColor()); };
        cubePanel_->SetVisible(true);
      }
      break;
    case TColorSelectionStyle::csSpectrum:
      EnsureSpectrumPanel();
      HideOthers(spectrumPanel_);
      if (spectrumPanel_) {
        spectrumPanel_->SetSelectedColor(selectedColor_);
        spectrumPanel_->LayoutSpectrum();
        spectrumPanel_->OnSelect = [this](TObject*) { PanelSelect(spectrumPanel_->SelectedColor()); };
        spectrumPanel_->SetVisible(true);
      }
      break;
  }
  colorAtDropDown_ = selectedColor_;
}

void TLumColorPickerDropDown::BeforeDropDown() {
  TLumCustomDropDown::BeforeDropDown();
  PrepareStyle();
}

void TLumColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle v) {
  if (v == selectionStyle_) return;
  selectionStyle_ = v;
  // A size the user gave another style's pop-up does not fit this one.
  ForgetRememberedSize();
  if (ComponentState().Contains(csDesigning) || !DropDownForm()) return;
  PrepareStyle();
  UpdateDropDownSize();
  if (DropDownControl()) DropDownControl()->SetAlign(alClient);
  DropDownForm()->Invalidate();
}

void TLumColorPickerDropDown::PlaceDropDownControl() {
  TLumCustomDropDown::PlaceDropDownControl();
}

bool TLumColorPickerDropDown::DropDownSizeable() const {
  return selectionStyle_ == TColorSelectionStyle::csList && TLumCustomDropDown::DropDownSizeable();
}

void TLumColorPickerDropDown::UpdateDropDownSize() {
  TDropDownForm* form = DropDownForm();
  if (!form) return;
  const Integer border = DropDownBorderWidth();
  Integer bars = 0;
  if (DropDownHeader()->Visible()) bars += DropDownHeader()->Height();
  if (DropDownFooter()->Visible()) bars += DropDownFooter()->Height();
  if (selectionStyle_ == TColorSelectionStyle::csList) {
    if (!listSelector_) {
      TLumCustomDropDown::UpdateDropDownSize();
      return;
    }
    listSelector_->SetAlign(alNone);
    const TSize natural = listSelector_->GetSelectorSize();
    Integer w = DropDownWidth() > 0 ? DropDownWidth() : natural.cx + 2 * border;
    const Integer h = DropDownHeight() > 0 ? DropDownHeight() : natural.cy + 2 * border + bars;
    // Room for the list's scroll bar when the height leaves some of it out.
    if (natural.cy > h - 2 * border - bars) w += GetSystemMetrics(SM_CXVSCROLL);
    form->SetBounds(form->Left(), form->Top(), w, h);
    return;
  }
  TWinControl* content = DropDownControl();
  const bool shown = content && content->Visible();
  const Integer w = shown ? content->Width() + 2 * border : Width();
  const Integer h = 2 * border + bars + (shown ? content->Height() : 0);
  form->SetBounds(form->Left(), form->Top(), w, h);
}

void TLumColorPickerDropDown::HideDropDown(bool cancelled) {
  const bool wasOpen = DroppedDown();
  TLumCustomDropDown::HideDropDown(cancelled);
  // Only the list is sized by the user; the others keep their own size.
  if (!DropDownSizeable()) ForgetRememberedSize();
  if (!cancelled || !wasOpen) return;
  if (selectionStyle_ == TColorSelectionStyle::csList && listSelector_) SetItemIndex(indexAtDropDown_);
  if (selectionStyle_ == TColorSelectionStyle::csDiscrete && discreteSelector_) {
    discreteSelector_->SelectColor(colorAtDropDown_);
    // The selector tells only a box it chooses; a colour in no box is
    // brought back here.
    selectedColor_ = colorAtDropDown_;
    itemIndex_ = -1;
    Invalidate();
  }
}

void TLumColorPickerDropDown::DropDownFormDestroy() {
  TLumCustomDropDown::DropDownFormDestroy();
  if (Destroying()) return;
  listSelector_ = nullptr;
  discreteSelector_ = nullptr;
  cubePanel_ = nullptr;
  spectrumPanel_ = nullptr;
}

void TLumColorPickerDropDown::ListSelect() {
  if (!listSelector_) return;
  SetItemIndex(listSelector_->ItemIndex());
  if (!keyboardSelecting_) HideDropDown(false);
}

void TLumColorPickerDropDown::DiscreteSelect() {
  if (!discreteSelector_) return;
  selectedColor_ = discreteSelector_->SelectedColor();
  SetItemIndex(-1);
  if (!keyboardSelecting_) HideDropDown(false);
}

void TLumColorPickerDropDown::PanelSelect(TColor color) {
  selectedColor_ = color;
  SetItemIndex(-1);
  HideDropDown(false);
}

void TLumColorPickerDropDown::SelectInList(Integer index) {
  Keyboard([&] { listSelector_->SetItemIndex(index); });
}

void TLumColorPickerDropDown::ListKey(Word key, bool handledBefore) { ListPickerKey(*this, key, handledBefore, colors_->Count()); }

void TLumColorPickerDropDown::Dispatch(TMessage& m) {
  if (m.Msg != WM_KEYDOWN || ComponentState().Contains(csDesigning)) {
    TLumCustomDropDown::Dispatch(m);
    return;
  }
  const Word key = static_cast<Word>(m.WParam);
  bool handled = false;
  if (Enabled() && DroppedDown() && key == VK_RETURN) {
    if (selectionStyle_ == TColorSelectionStyle::csList && listSelector_ && listSelector_->HotIndex() >= 0) {
      listSelector_->SetItemIndex(listSelector_->HotIndex());
      handled = true;
    } else if (selectionStyle_ == TColorSelectionStyle::csDiscrete && discreteSelector_ &&
               discreteSelector_->HotIndex() >= 0) {
      discreteSelector_->SelectBox(discreteSelector_->HotIndex());
      handled = true;
    }
  }
  TLumCustomDropDown::Dispatch(m);
  if (!Enabled() || GetKeyState(VK_MENU) < 0) return;
  if (selectionStyle_ == TColorSelectionStyle::csList && listSelector_) {
    ListKey(key, handled);
  } else if (selectionStyle_ == TColorSelectionStyle::csDiscrete && discreteSelector_) {
    Keyboard([&] { discreteSelector_->HandleKey(key, EditorEnabled(), DroppedDown()); });
    if (key == VK_RETURN && !handled && OnSelect) OnSelect(this);
  }
}

void TLumColorPickerDropDown::MouseWheelDownHook() {
  TLumCustomDropDown::MouseWheelDownHook();
  if (!Enabled() || ReadOnly()) return;
  if (selectionStyle_ == TColorSelectionStyle::csList && listSelector_) {
    if (DroppedDown())
      listSelector_->HotNext();
    else
      Keyboard([&] { listSelector_->SelectNext(); });
  } else if (selectionStyle_ == TColorSelectionStyle::csDiscrete && discreteSelector_) {
    if (DroppedDown())
      discreteSelector_->HotNextBox();
    else
      Keyboard([&] { discreteSelector_->SelectNextBox(); });
  }
}

void TLumColorPickerDropDown::MouseWheelUpHook() {
  TLumCustomDropDown::MouseWheelUpHook();
  if (!Enabled() || ReadOnly()) return;
  if (selectionStyle_ == TColorSelectionStyle::csList && listSelector_) {
    if (DroppedDown())
      listSelector_->HotPrevious();
    else
      Keyboard([&] { listSelector_->SelectPrevious(); });
  } else if (selectionStyle_ == TColorSelectionStyle::csDiscrete && discreteSelector_) {
    if (DroppedDown())
      discreteSelector_->HotPreviousBox();
    else
      Keyboard([&] { discreteSelector_->SelectPreviousBox(); });
  }
}

void TLumColorPickerDropDown::PaintFocusedText() {
  TLumCustomDropDown::PaintFocusedText();
  if (!HandleAllocated()) return;
  TCanvas* c = OverlayCanvas();
  // Placed in window coordinates, from the outer edge.
  const TPoint o = WidgetClientOffset();
  const TRect r{1 - o.X, 1 - o.Y, Width() - DropDownButtonWidth() - 2 - o.X, Height() - 2 - o.Y};
  if (OnDrawSelectedColor) {
    OnDrawSelectedColor(this, c, r);
    return;
  }
  TRect box{r.Left + 4, r.Top, r.Left + 4, r.Top};
  if (selectedColor_ != clNone) {
    const Integer top = (Height() - colorBoxHeight_) / 2 + r.Top;
    box = TRect{r.Left + 4, top, r.Left + 4 + colorBoxWidth_, top + colorBoxHeight_};
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetColor(selectedColor_);
    c->Brush()->SetStyle(bsSolid);
    c->Rectangle(box);
  } else {
    return;
  }
  if (!showText_) return;
  c->Font()->Assign(Font());
  const bool focused = Focused();
  if (!EditorEnabled() && focused) c->Font()->SetColor(clHighlightText);
  c->Brush()->SetColor(focused ? clHighlight : Color());
  c->Brush()->SetStyle(bsSolid);
  TRect text{box.Right + 4, r.Top, r.Right, r.Bottom};
  c->DrawText(GetColorValueText(), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void TLumColorPickerDropDown::SetSelectionLook(Byte look) {
  TLumCustomDropDown::SetSelectionLook(look);
  if (listSelector_) listSelector_->ItemAppearance()->SetItemColorStyle(look);
}

void TLumColorPickerDropDown::SetComponentStyle(REZORuvar style) {
  TLumCustomDropDown::SetComponentStyle(style);
  ApplyItemAppearanceStyle(*itemAppearance_, style);
}

}  // namespace dropdown
