// Looks, component styles and theme adaptation: the colour sets of the
// model's tables written through the grid's setters.
#include <array>

#include "dropdown/LumDropDown.h"
#include "grid/GridComponent.h"
#include "grid/model/GridLooks.h"
#include "vcl/UxTheme.h"

namespace grid {

namespace {

constexpr TFixedGradientSlot HoverSlots[] = {fgHoverFrom, fgHoverTo, fgHoverMirrorFrom, fgHoverMirrorTo, fgHoverBorder};
constexpr TFixedGradientSlot DownSlots[] = {fgDownFrom, fgDownTo, fgDownMirrorFrom, fgDownMirrorTo, fgDownBorder};

}  // namespace

bool TVadOdizadEzev::LookName(TGridLook look, AnsiString& name) const {
  return grid::LookName(static_cast<Integer>(look), name);
}

void TVadOdizadEzev::ApplyLook(TGridLook value) {
  if (value == look_) return;
  look_ = value;
  const bool loading = ComponentState().Contains(vcl::csLoading);
  if (value != glCustom) {
    for (TFixedGradientSlot slot : {fgMirrorFrom, fgMirrorTo, fgFrom, fgTo}) {
      controlLook_->SetFixedGradient(slot, clNone);
      fixedGradient_[static_cast<int>(slot)] = clNone;
    }
  }
  const Integer look = static_cast<Integer>(value);
  if (const std::optional<Integer> style = LookComponentStyle(look)) {
    ApplyComponentStyle(static_cast<controls::REZORuvar>(*style));
    componentStyle_ = static_cast<controls::REZORuvar>(*style);
    SetSelectionLook(LookSelectionLook(look));
  } else if (const std::optional<TLookColors> colours = LookColors(look)) {
    if (!ComponentState().Contains(vcl::csDesigning)) SetEditorsStyle(controls::tsWindowsXP);
    SetSelectionLook(0);
    if (!loading) {
      const TLookColors& c = *colours;
      if (c.FixedColor) SetFixedColor(*c.FixedColor);
      controlLook_->SetFixedGradient(fgFrom, c.GradientFrom);
      controlLook_->SetFixedGradient(fgTo, c.GradientTo);
      SetGridFixedLineColor(c.GridFixedLineColor);
      for (TFixedGradientSlot slot : {fgMirrorFrom, fgMirrorTo}) {
        controlLook_->SetFixedGradient(slot, clNone);
        fixedGradient_[static_cast<int>(slot)] = clNone;
      }
      SetGridFixedLineColor(c.GridFixedLineColor);
      SetGridLineColor(c.GridLineColor);
      SetActiveCellColor(c.ActiveCellColor);
      SetActiveCellColorTo(c.ActiveCellColorTo);
      SetSelectionColor(c.SelectionColor);
      if (c.SelectionColorTo) SetSelectionColorTo(*c.SelectionColorTo);
      SetSelectionTextColor(c.SelectionTextColor);
      if (c.FooterFromGradient) {
        searchFooter_->Color = fixedGradient_[static_cast<int>(fgFrom)];
        searchFooter_->ColorTo = fixedGradient_[static_cast<int>(fgTo)];
      } else {
        searchFooter_->Color = clBtnFace;
        searchFooter_->ColorTo = clBtnFace;
      }
      if (c.SecondGradientFrom) controlLook_->SetFixedGradient(fgFrom, *c.SecondGradientFrom);
      if (c.SecondGradientTo) controlLook_->SetFixedGradient(fgTo, *c.SecondGradientTo);
      if (c.Hover)
        for (int i = 0; i < 4; ++i) controlLook_->SetFixedGradient(HoverSlots[i], (*c.Hover)[i]);
      if (c.Down)
        for (int i = 0; i < 4; ++i) controlLook_->SetFixedGradient(DownSlots[i], (*c.Down)[i]);
    }
  }
  Invalidate();
}

void TVadOdizadEzev::SetEditorsStyle(controls::REZORuvar style) {
  for (TGridEditorControl kind : {ecColorDropDown, ecImageDropDown, ecGridDropDown, ecDetailDropDown,
                                  ecTimePickerDropDown, ecCalculatorDropDown, ecMemoDropDown})
    if (auto* dropDown = dynamic_cast<dropdown::TLumCustomDropDown*>(EditorControl(kind)))
      dropDown->SetComponentStyle(style);
}

void TVadOdizadEzev::ApplyComponentStyle(controls::REZORuvar style) {
  // The prologue of every style.
  SetSelectionColor(clHighlight);
  SetSelectionTextColor(clHighlightText);
  SetSelectionLook(0);
  sortSettings_->HeaderColor = clNone;
  sortSettings_->HeaderColorTo = clNone;
  sortSettings_->HeaderMirrorColor = clNone;
  sortSettings_->HeaderMirrorColorTo = clNone;

  const TStyleColors& s = StyleColors(static_cast<Integer>(style));
  if (s.Look) ApplyLook(static_cast<TGridLook>(*s.Look));
  auto set = [this](TFixedGradientSlot slot, const TMaybeColor& colour) {
    if (colour) fixedGradient_[static_cast<int>(slot)] = *colour;
  };
  set(fgFrom, s.FixedFrom);
  set(fgTo, s.FixedTo);
  set(fgMirrorFrom, s.FixedMirrorFrom);
  set(fgMirrorTo, s.FixedMirrorTo);
  if (s.ActiveCellColor) activeCellColor_ = *s.ActiveCellColor;
  if (s.ActiveCellColorTo) activeCellColorTo_ = *s.ActiveCellColorTo;
  if (s.GridLineColor) SetGridLineColor(*s.GridLineColor);
  if (s.GridFixedLineColor) SetGridFixedLineColor(*s.GridFixedLineColor);
  if (s.SelectionColor) SetSelectionColor(*s.SelectionColor);
  if (s.SelectionTextColor) SetSelectionTextColor(*s.SelectionTextColor);
  if (s.SetsFixedSet) {
    // Published through ControlLook too, unless the style ends with none
    // there (the fixed set keeps painting).
    const TColor from = fixedGradient_[static_cast<int>(fgFrom)];
    const TColor to = fixedGradient_[static_cast<int>(fgTo)];
    controlLook_->SetFixedGradient(fgFrom, from);
    controlLook_->SetFixedGradient(fgTo, to);
    fixedGradient_[static_cast<int>(fgFrom)] = from;
    fixedGradient_[static_cast<int>(fgTo)] = to;
    if (s.EndGradientNone) {
      controlLook_->SetFixedGradient(fgFrom, clNone);
      controlLook_->SetFixedGradient(fgTo, clNone);
    }
  }
  if (s.FooterColor) searchFooter_->Color = *s.FooterColor;
  if (s.FooterColorTo) searchFooter_->ColorTo = *s.FooterColorTo;
  if (s.FooterToFromMirror) searchFooter_->ColorTo = fixedGradient_[static_cast<int>(fgMirrorTo)];
  if (s.Hover)
    for (int i = 0; i < 5; ++i) {
      if (i == 4 && s.HoverBorderGridOnly)
        fixedGradient_[static_cast<int>(fgHoverBorder)] = (*s.Hover)[i];
      else
        controlLook_->SetFixedGradient(HoverSlots[i], (*s.Hover)[i]);
    }
  if (s.Down)
    for (int i = 0; i < 5; ++i) controlLook_->SetFixedGradient(DownSlots[i], (*s.Down)[i]);
  if (s.ControlLookMirrors) {
    controlLook_->SetFixedGradient(fgMirrorFrom, (*s.ControlLookMirrors)[0]);
    controlLook_->SetFixedGradient(fgMirrorTo, (*s.ControlLookMirrors)[1]);
  }
  if (s.SortHeaderColors) {
    sortSettings_->HeaderColor = StyleSortHeaderColors[0];
    sortSettings_->HeaderColorTo = StyleSortHeaderColors[1];
    sortSettings_->HeaderMirrorColor = StyleSortHeaderColors[2];
    sortSettings_->HeaderMirrorColorTo = StyleSortHeaderColors[3];
  }
  if (s.SelectionLook) SetSelectionLook(*s.SelectionLook);
  Invalidate();
}

void TVadOdizadEzev::StyleComponent(controls::REZORuvar style) {
  componentStyle_ = style;
  ApplyComponentStyle(style);
  if (!ComponentState().Contains(vcl::csDesigning)) SetEditorsStyle(style);
}

Integer TVadOdizadEzev::GetThemeColorScheme() const {
  char16_t file[255] = {}, colour[255] = {}, size[255] = {};
  std::u16string_view name;
  if (vcl::IsThemeActive() && vcl::GetCurrentThemeName(file, 255, colour, 255, size, 255) == vcl::S_OK)
    name = colour;
  return ThemeColorScheme(isVista_, vcl::IsThemeActive(), name);
}

void TVadOdizadEzev::ApplyThemeColors(Integer scheme) {
  const TThemeColors& t = ThemeColors(scheme);
  fixedGradient_[static_cast<int>(fgFrom)] = t.FixedFrom;
  fixedGradient_[static_cast<int>(fgTo)] = t.FixedTo;
  fixedGradient_[static_cast<int>(fgMirrorFrom)] = t.FixedMirrorFrom;
  fixedGradient_[static_cast<int>(fgMirrorTo)] = t.FixedMirrorTo;
  activeCellColor_ = t.ActiveCellColor;
  activeCellColorTo_ = t.ActiveCellColorTo;
  controlLook_->SetFixedGradient(fgFrom, t.GradientFrom);
  controlLook_->SetFixedGradient(fgTo, t.GradientTo);
  searchFooter_->Color = t.FooterColor;
  searchFooter_->ColorTo = t.FooterColorTo;
}

void TVadOdizadEzev::AdaptToTheme() { ApplyThemeColors(GetThemeColorScheme()); }

void TVadOdizadEzev::SetAutoThemeAdapt(bool value) {
  AutoThemeAdapt = value;
  if (!value) return;
  AdaptToTheme();
  Invalidate();
}

}  // namespace grid
