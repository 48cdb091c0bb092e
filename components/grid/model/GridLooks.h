#pragma once
// The colour sets that recolour a grid in one step, as data: what each look
// writes, what each component style writes, and the colours of the desktop
// theme's colour schemes. The grid applies a row through its setters; an
// empty optional leaves that value as it is.
#include <array>
#include <optional>
#include <string_view>

#include "grid/model/GridTypes.h"

namespace grid {

using TMaybeColor = std::optional<TColor>;

// The looks in their stored order (glStandard .. glCustom); the grid's
// TGridLook has the same ordinals.
inline constexpr Integer LookCount = 10;
inline constexpr Integer LookRUZ = 3;
inline constexpr Integer LookXP = 4;
inline constexpr Integer LookVista = 6;
inline constexpr Integer LookWin7 = 7;
inline constexpr Integer LookOffice2007 = 8;
inline constexpr Integer LookCustom = 9;

// The name of a look; false (and the name left alone) for glCustom or a
// value past the looks.
bool LookName(Integer look, AnsiString& name);

// What setting a look writes when the grid is not loading.
struct TLookColors {
  TMaybeColor FixedColor;
  TColor GradientFrom = clNone;
  TColor GradientTo = clNone;
  TColor GridFixedLineColor = 0x808080;
  TColor GridLineColor = 0xC0C0C0;
  TColor ActiveCellColor = 0x808080;
  TColor ActiveCellColorTo = clNone;
  TColor SelectionColor = clHighlight;
  TMaybeColor SelectionColorTo;
  TColor SelectionTextColor = clHighlightText;
  // The search footer from clBtnFace, or from the grid's copies of the
  // fixed gradient (its RGB values) as they stand after GradientFrom/To.
  bool FooterFromGradient = false;
  // RUZ and XP: the gradient set again, and the hover and pressed sets
  // (From, To, MirrorFrom, MirrorTo).
  TMaybeColor SecondGradientFrom;
  TMaybeColor SecondGradientTo;
  std::optional<std::array<TColor, 4>> Hover;
  std::optional<std::array<TColor, 4>> Down;
};
// The colours of a look with its own colour table (glStandard .. glXP,
// glListView); none for the looks that apply a component style, and glCustom.
std::optional<TLookColors> LookColors(Integer look);
// The component style a look applies (tsWindowsVista, tsWindows7,
// tsOffice2007Luna), its selection look (0 plain, 1 Vista, 2 Windows 7,
// 3 Office 2007); none for the others.
std::optional<Integer> LookComponentStyle(Integer look);
Byte LookSelectionLook(Integer look);

// The component styles in their order (tsOffice2003Blue .. tsTerminal).
inline constexpr Integer StyleCount = 13;
inline constexpr Integer StyleOffice2007Luna = 4;
inline constexpr Integer StyleWindowsXP = 6;
inline constexpr Integer StyleCustom = 8;
inline constexpr Integer StyleWindowsVista = 10;
inline constexpr Integer StyleWindows7 = 11;

struct TStyleColors {
  std::optional<Integer> Look;  // set through the Look setter
  TMaybeColor FixedFrom, FixedTo, FixedMirrorFrom, FixedMirrorTo;
  TMaybeColor ActiveCellColor, ActiveCellColorTo;
  TMaybeColor GridLineColor, GridFixedLineColor;
  TMaybeColor SelectionColor, SelectionTextColor;
  TMaybeColor FooterColor;
  TMaybeColor FooterColorTo;
  // The footer's colour-to is the fixed set's MirrorTo as it stands.
  bool FooterToFromMirror = false;
  // ControlLook.FixedGradientFrom/To at the end: the fixed set's values, or
  // clNone, which leaves the fixed set painting (EndGradientNone).
  bool EndGradientNone = false;
  bool SetsFixedSet = false;
  // Hover and pressed sets: From, To, MirrorFrom, MirrorTo, Border.
  std::optional<std::array<TColor, 5>> Hover;
  std::optional<std::array<TColor, 5>> Down;
  // The hover border goes only into the grid's hover set.
  bool HoverBorderGridOnly = false;
  std::optional<std::array<TColor, 2>> ControlLookMirrors;
  bool SortHeaderColors = false;
  std::optional<Byte> SelectionLook;
};
const TStyleColors& StyleColors(Integer style);
// SortSettings' header colours of the Vista and Windows 7 styles: Color,
// ColorTo, MirrorColor, MirrorColorTo.
inline constexpr std::array<TColor, 4> StyleSortHeaderColors = {0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8};

// The desktop theme's colour scheme: 4 from Vista on, 0 without visual
// styles or for a colour name other than "NormalColor" (1), "HomeStead" (2)
// and "Metallic" (3), compared exactly.
Integer ThemeColorScheme(bool vistaOrLater, bool themeActive, std::u16string_view colorName);

struct TThemeColors {
  TColor FixedFrom, FixedTo, FixedMirrorFrom, FixedMirrorTo;
  TColor ActiveCellColor, ActiveCellColorTo;
  TColor GradientFrom, GradientTo;  // ControlLook's published values
  TColor FooterColor, FooterColorTo;
};
const TThemeColors& ThemeColors(Integer scheme);

}  // namespace grid
