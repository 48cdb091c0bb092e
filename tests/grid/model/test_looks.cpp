// The look, component-style and theme colour tables and the theme scheme.
#include <gtest/gtest.h>

#include "grid/model/GridLooks.h"

using namespace grid;

TEST(GridLookTables, NamesAndColourSets) {
  const char* names[] = {"Standard", "Soft", "Classic", "RUZ", "Windows XP", "ListView", "Windows Vista",
                         "Windows 7", "Office2007"};
  for (Integer look = 0; look < 9; ++look) {
    AnsiString name;
    EXPECT_TRUE(LookName(look, name));
    EXPECT_EQ(name, names[look]);
  }
  for (Integer look : {LookCustom, 10, -1}) {
    AnsiString name = "kept";
    EXPECT_FALSE(LookName(look, name));
    EXPECT_EQ(name, "kept");
  }
  // The three plain looks share their colours; the styled looks have none.
  for (Integer look : {0, 1, 2}) {
    const auto c = LookColors(look);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->FixedColor, clBtnFace);
    EXPECT_EQ(c->GradientFrom, clBtnFace);
    EXPECT_EQ(c->GradientTo, clNone);
    EXPECT_EQ(c->SelectionColor, clHighlight);
    EXPECT_FALSE(c->SelectionColorTo);
    EXPECT_FALSE(c->FooterFromGradient);
  }
  for (Integer look : {LookVista, LookWin7, LookOffice2007, LookCustom}) EXPECT_FALSE(LookColors(look));
  const auto ruz = LookColors(LookRUZ);
  const auto xp = LookColors(LookXP);
  ASSERT_TRUE(ruz && xp);
  EXPECT_EQ(ruz->SecondGradientTo, 0xC0C0C0);
  EXPECT_EQ(xp->SecondGradientTo, clBtnFace);
  EXPECT_TRUE(ruz->FooterFromGradient);
  EXPECT_EQ(xp->ActiveCellColor, 0xEACAB6);
  EXPECT_EQ((*xp->Down)[3], 0x627376);
  const auto listView = LookColors(5);
  EXPECT_FALSE(listView->FixedColor);
  EXPECT_EQ(listView->GradientFrom, 0xFFFFFF);
  EXPECT_EQ(LookComponentStyle(LookVista), StyleWindowsVista);
  EXPECT_EQ(LookComponentStyle(LookOffice2007), StyleOffice2007Luna);
  EXPECT_FALSE(LookComponentStyle(LookXP));
  EXPECT_EQ(LookSelectionLook(LookWin7), 2);
}

TEST(GridLookTables, ComponentStyles) {
  struct Case {
    Integer style;
    std::optional<Integer> look;
    TMaybeColor fixedFrom, fixedTo, active, footer;
    bool endNone;
  } cases[] = {
      {0, LookXP, 0xFCE1CB, 0xE0A57D, 0x94E6FB, 0xFCE1CB, false},
      {3, LookXP, 0xFFFFFF, 0xCCD4D8, 0xD8D5D4, 0xFFFFFF, true},
      {4, LookOffice2007, 0xFBF9F6, 0xE8DBD2, 0x9DD8F9, 0xFBF9F6, false},
      {6, LookXP, clBtnFace, clBtnFace, clBtnFace, clBtnFace, true},
      {7, std::nullopt, 0xFFFFFF, clBtnFace, 0x94E6FB, 0xFFFFFF, true},
      {9, LookOffice2007, 0xF3F3F1, 0xCAC9C8, 0x99CCFF, 0xF3F3F1, false},
      {10, LookVista, 0xFFFFFF, 0xFFFFFF, 0xFDF8F1, 0xFFFFFF, true},
      {11, LookWin7, 0xFDFCFA, 0xFAF0E6, 0xFCEBDC, 0xFDFCFA, true},
  };
  for (const Case& c : cases) {
    const TStyleColors& s = StyleColors(c.style);
    EXPECT_EQ(s.Look, c.look) << c.style;
    EXPECT_EQ(s.FixedFrom, c.fixedFrom) << c.style;
    EXPECT_EQ(s.FixedTo, c.fixedTo) << c.style;
    EXPECT_EQ(s.ActiveCellColor, c.active) << c.style;
    EXPECT_EQ(s.FooterColor, c.footer) << c.style;
    EXPECT_EQ(s.EndGradientNone, c.endNone) << c.style;
  }
  // tsCustom and tsTerminal change nothing but the prologue (and the look).
  const TStyleColors& custom = StyleColors(StyleCustom);
  EXPECT_FALSE(custom.Look || custom.FixedFrom || custom.ActiveCellColor || custom.FooterColor || custom.Hover);
  EXPECT_EQ(StyleColors(12).Look, 0);
  EXPECT_FALSE(StyleColors(12).FixedFrom);
  // Silver keeps the mirrors and takes the footer's colour-to from them.
  EXPECT_FALSE(StyleColors(9).FixedMirrorTo);
  EXPECT_TRUE(StyleColors(9).FooterToFromMirror);
  const TStyleColors& vista = StyleColors(StyleWindowsVista);
  EXPECT_TRUE(vista.HoverBorderGridOnly && vista.SortHeaderColors);
  EXPECT_EQ(vista.SelectionLook, 1);
  EXPECT_EQ((*vista.ControlLookMirrors)[1], 0xF4F2F1);
  EXPECT_EQ((*StyleColors(StyleOffice2007Luna).Down)[4], 0xE4C19D);
  EXPECT_FALSE(StyleColors(5).Hover);  // Obsidian keeps Luna's from the look
}

TEST(GridLookTables, ThemeSchemes) {
  struct Case {
    bool vista, active;
    std::u16string name;
    Integer scheme;
  } cases[] = {
      {true, false, u"", 4},          {true, true, u"Metallic", 4},  {false, false, u"NormalColor", 0},
      {false, true, u"NormalColor", 1}, {false, true, u"HomeStead", 2}, {false, true, u"Metallic", 3},
      {false, true, u"normalcolor", 0}, {false, true, u"Royale", 0},    {false, true, u"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ThemeColorScheme(c.vista, c.active, c.name), c.scheme);
  EXPECT_EQ(ThemeColors(0).ActiveCellColorTo, 0xFFD9B3);
  EXPECT_EQ(ThemeColors(0).FooterColorTo, 0xFFD9B3);
  EXPECT_EQ(ThemeColors(0).GradientFrom, clNone);
  EXPECT_EQ(ThemeColors(2).FixedTo, 0x8CC0B1);
  EXPECT_EQ(ThemeColors(4).FixedMirrorFrom, 0xFAF8F7);
  EXPECT_EQ(ThemeColors(4).FooterColor, 0xECE2E1);
}
