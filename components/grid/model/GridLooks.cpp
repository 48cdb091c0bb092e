#include "grid/model/GridLooks.h"

namespace grid {

namespace {

constexpr const char* LookNames[] = {"Standard", "Soft", "Classic", "RUZ", "Windows XP",
                                     "ListView", "Windows Vista", "Windows 7", "Office2007"};

TLookColors PlainLookColors() {
  TLookColors c;
  c.FixedColor = clBtnFace;
  c.GradientFrom = clBtnFace;
  c.GradientTo = clNone;
  return c;
}

TLookColors ListViewColors() {
  TLookColors c;
  c.GradientFrom = 0xFFFFFF;
  c.GradientTo = clBtnFace;
  return c;
}

TLookColors ThemedLookColors(TColor secondTo) {
  TLookColors c;
  c.GradientFrom = 0xFFFFFF;
  c.GradientTo = clBtnFace;
  c.ActiveCellColor = 0xEACAB6;
  c.SelectionColor = 0xEACAB6;
  c.SelectionColorTo = clNone;
  c.SelectionTextColor = 0x000000;
  c.FooterFromGradient = true;
  c.SecondGradientFrom = 0xFFFFFF;
  c.SecondGradientTo = secondTo;
  c.Hover = std::array<TColor, 4>{0xCFD0D1, 0xBEC6C8, 0xBEC6C8, 0xABBCBF};
  c.Down = std::array<TColor, 4>{0x868788, 0x737C7E, 0x737C7E, 0x627376};
  return c;
}

TStyleColors Office2003(TColor from, TColor to, TColor active, TColor activeTo, bool endNone) {
  TStyleColors s;
  s.Look = LookXP;
  s.SetsFixedSet = true;
  s.FixedFrom = from;
  s.FixedTo = to;
  s.FixedMirrorFrom = clNone;
  s.FixedMirrorTo = clNone;
  s.ActiveCellColor = active;
  s.ActiveCellColorTo = activeTo;
  s.GridLineColor = 0xC0C0C0;
  s.GridFixedLineColor = 0x808080;
  s.FooterColor = from;
  s.FooterColorTo = clNone;
  s.EndGradientNone = endNone;
  return s;
}

TStyleColors Office2007(TColor from, TColor to, TColor line, TColor fixedLine, TColor selection) {
  TStyleColors s;
  s.Look = LookOffice2007;
  s.SetsFixedSet = true;
  s.FixedFrom = from;
  s.FixedTo = to;
  s.FixedMirrorFrom = clNone;
  s.FixedMirrorTo = clNone;
  s.ActiveCellColor = 0x9DD8F9;
  s.ActiveCellColorTo = 0x5EC1F1;
  s.GridLineColor = line;
  s.GridFixedLineColor = fixedLine;
  s.SelectionColor = selection;
  s.SelectionTextColor = 0x000000;
  s.FooterColor = from;
  s.FooterColorTo = clNone;
  return s;
}

std::array<TStyleColors, StyleCount> MakeStyles() {
  std::array<TStyleColors, StyleCount> t;
  t[0] = Office2003(0xFCE1CB, 0xE0A57D, 0x94E6FB, 0x1595EE, false);
  t[1] = Office2003(0xECE2E1, 0xB39698, 0x94E6FB, 0x1595EE, false);
  t[2] = Office2003(0xCFF0EA, 0x8CC0B1, 0x94E6FB, 0x1595EE, false);
  t[3] = Office2003(0xFFFFFF, 0xCCD4D8, 0xD8D5D4, 0xD8D5D4, true);
  t[4] = Office2007(0xFBF9F6, 0xE8DBD2, 0xF1EDEB, 0xD1BBA4, 0x5EC1F1);
  t[4].Hover = std::array<TColor, 5>{0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87};
  t[4].Down = std::array<TColor, 5>{0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D};
  t[4].SelectionLook = 3;
  t[5] = Office2007(0xF7F7F7, 0xDEDEDE, 0xE5D7D0, 0x808080, 0x5EC1F1);
  t[6] = Office2003(clBtnFace, clBtnFace, clBtnFace, clBtnFace, true);
  t[7] = Office2003(0xFFFFFF, clBtnFace, 0x94E6FB, 0x1595EE, true);
  t[7].Look.reset();
  t[8] = TStyleColors{};  // tsCustom: the prologue only
  t[9] = Office2007(0xF3F3F1, 0xCAC9C8, 0xE5D7D0, 0x808080, 0x95C7F5);
  t[9].FixedMirrorFrom.reset();
  t[9].FixedMirrorTo.reset();
  t[9].ActiveCellColor = 0x99CCFF;
  t[9].ActiveCellColorTo = 0x699CFF;
  t[9].FooterColorTo.reset();
  t[9].FooterToFromMirror = true;
  TStyleColors vista;
  vista.Look = LookVista;
  vista.SetsFixedSet = true;
  vista.FixedFrom = 0xFFFFFF;
  vista.FixedTo = 0xFFFFFF;
  vista.FixedMirrorFrom = 0xFAF8F7;
  vista.FixedMirrorTo = 0xF4F2F1;
  vista.ActiveCellColor = 0xFDF8F1;
  vista.ActiveCellColorTo = 0xFCEFD5;
  vista.GridLineColor = 0xECECF0;
  vista.GridFixedLineColor = 0xD4D2D1;
  vista.SelectionColor = 0xEACAB6;
  vista.SelectionTextColor = 0x000000;
  vista.FooterColor = 0xFFFFFF;
  vista.FooterColorTo = 0xF4F2F1;
  vista.EndGradientNone = true;
  vista.Hover = std::array<TColor, 5>{0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993};
  vista.Down = std::array<TColor, 5>{0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F};
  vista.HoverBorderGridOnly = true;
  vista.ControlLookMirrors = std::array<TColor, 2>{0xFAF8F7, 0xF4F2F1};
  vista.SortHeaderColors = true;
  vista.SelectionLook = 1;
  t[10] = vista;
  TStyleColors win7 = vista;
  win7.Look = LookWin7;
  win7.FixedFrom = 0xFDFCFA;
  win7.FixedTo = 0xFAF0E6;
  win7.FixedMirrorFrom = 0xF4E6DC;
  win7.FixedMirrorTo = 0xF7E9DD;
  win7.ActiveCellColor = 0xFCEBDC;
  win7.ActiveCellColorTo = 0xFCDBC1;
  win7.FooterColor = 0xFDFCFA;
  win7.FooterColorTo = 0xF7E9DD;
  win7.Hover = std::array<TColor, 5>{0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1, 0xEEE8E3};
  win7.Down = std::array<TColor, 5>{0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA};
  win7.ControlLookMirrors = std::array<TColor, 2>{0xF4E6DC, 0xF7E9DD};
  win7.SelectionLook = 2;
  t[11] = win7;
  TStyleColors terminal;
  terminal.Look = 0;  // glStandard
  t[12] = terminal;
  return t;
}

}  // namespace

bool LookName(Integer look, AnsiString& name) {
  if (look < 0 || look >= LookCustom) return false;
  name = LookNames[look];
  return true;
}

std::optional<TLookColors> LookColors(Integer look) {
  switch (look) {
    case 0:
    case 1:
    case 2:
      return PlainLookColors();
    case LookRUZ:
      return ThemedLookColors(0xC0C0C0);
    case LookXP:
      return ThemedLookColors(clBtnFace);
    case 5:
      return ListViewColors();
    default:
      return std::nullopt;
  }
}

std::optional<Integer> LookComponentStyle(Integer look) {
  switch (look) {
    case LookVista:
      return StyleWindowsVista;
    case LookWin7:
      return StyleWindows7;
    case LookOffice2007:
      return StyleOffice2007Luna;
    default:
      return std::nullopt;
  }
}

Byte LookSelectionLook(Integer look) {
  switch (look) {
    case LookVista:
      return 1;
    case LookWin7:
      return 2;
    case LookOffice2007:
      return 3;
    default:
      return 0;
  }
}

const TStyleColors& StyleColors(Integer style) {
  static const std::array<TStyleColors, StyleCount> table = MakeStyles();
  return table.at(style);
}

Integer ThemeColorScheme(bool vistaOrLater, bool themeActive, std::u16string_view colorName) {
  if (vistaOrLater) return 4;
  if (!themeActive) return 0;
  if (colorName == u"NormalColor") return 1;
  if (colorName == u"HomeStead") return 2;
  if (colorName == u"Metallic") return 3;
  return 0;
}

const TThemeColors& ThemeColors(Integer scheme) {
  static const TThemeColors table[] = {
      {0xFFFFFF, clBtnFace, clNone, clNone, 0xFFFFFF, 0xFFD9B3, clNone, clNone, 0xFFFFFF, 0xFFD9B3},
      {0xFCE1CB, 0xE0A57D, clNone, clNone, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D},
      {0xCFF0EA, 0x8CC0B1, clNone, clNone, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1},
      {0xECE2E1, 0xB39698, clNone, clNone, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698},
      {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0x94E6FB, 0x1595EE, 0xFFFFFF, 0xFFFFFF, 0xECE2E1, 0xB39698},
  };
  return table[scheme < 0 || scheme > 4 ? 0 : scheme];
}

}  // namespace grid
