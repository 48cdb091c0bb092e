// The colours each application style gives a drop-down, as data: the
// pop-up and its bars, the bar buttons (applied through the appearance's
// setters, the custom style leaving the last style's colours), and the item
// lists' selection looks.
#include <gtest/gtest.h>

#include "dropdown/LumDropDownButtons.h"
#include "dropdown/LumDropDownStyles.h"

namespace dropdown {
namespace {

using namespace vcl;
using controls::REZORuvar;

TEST(DropDownStyles, PopUpsAndBarsTakeTheirStylesColours) {
  // Office 2003 blue: a black line under the header, 0x962D00 over the
  // footer; the pop-up's frame is left as it was.
  const TPopupStyle& blue = PopupStyle(REZORuvar::tsOffice2003Blue);
  EXPECT_EQ(blue.DropDownColor, TColor(0xFFFFFF));
  EXPECT_EQ(blue.DropDownColorTo, clNone);
  EXPECT_FALSE(blue.DropDownBorderColor.has_value());
  EXPECT_EQ(blue.Header.BorderColor, TColor(0x000000));
  EXPECT_EQ(blue.Footer.BorderColor, TColor(0x962D00));
  EXPECT_EQ(blue.Header.Color, TColor(0xFCE1CB));
  EXPECT_EQ(blue.Footer.ColorTo, TColor(0xE0A57D));
  // Vista's footer gradient runs the other way.
  const TPopupStyle& vista = PopupStyle(REZORuvar::tsWindowsVista);
  EXPECT_EQ(vista.Header.Color, TColor(0xFFFDF9));
  EXPECT_EQ(vista.Header.ColorTo, TColor(0xFFFAF0));
  EXPECT_EQ(vista.Footer.Color, TColor(0xFFFAF0));
  EXPECT_EQ(vista.Footer.ColorTo, TColor(0xFFFDF9));
  EXPECT_EQ(vista.DropDownBorderColor, TColor(0x979797));
  // Olive and the Office 2007 styles take the pop-up's frame away.
  for (REZORuvar s : {REZORuvar::tsOffice2003Olive, REZORuvar::tsOffice2007Luna, REZORuvar::tsOffice2007Obsidian,
                      REZORuvar::tsOffice2007Silver})
    EXPECT_EQ(PopupStyle(s).DropDownBorderColor, clNone) << int(s);
  // The custom style changes nothing.
  const TPopupStyle& custom = PopupStyle(REZORuvar::tsCustom);
  EXPECT_FALSE(custom.DropDownColor || custom.DropDownColorTo || custom.DropDownBorderColor || custom.Header.Color ||
               custom.Header.FontColor || custom.Footer.BorderColor);
  // Every other style sets both bars' colours and font colours.
  for (int i = 0; i < 13; ++i) {
    REZORuvar s = static_cast<REZORuvar>(i);
    if (s == REZORuvar::tsCustom) continue;
    const TPopupStyle& p = PopupStyle(s);
    EXPECT_TRUE(p.DropDownColor && p.DropDownColorTo && p.Header.Color && p.Header.ColorTo && p.Header.FontColor &&
                p.Header.BorderColor && p.Footer.Color && p.Footer.ColorTo && p.Footer.FontColor &&
                p.Footer.BorderColor)
        << i;
  }
  EXPECT_EQ(PopupStyle(REZORuvar::tsTerminal).Header.Color, clBtnFace);
  EXPECT_EQ(PopupStyle(REZORuvar::tsTerminal).Footer.BorderColor, clNone);
  EXPECT_EQ(PopupStyle(REZORuvar::tsOffice2003Classic).Footer.FontColor, TColor(0xFFFFFF));
}

TEST(DropDownStyles, BarButtonsTakeTheStylesColoursThroughTheirSetters) {
  struct Case {
    REZORuvar style;
    TColor color, colorTo, border, hot, hotTo, borderHot, down, downTo, borderDown, disabled, disabledTo;
  } cases[] = {
      {REZORuvar::tsOffice2003Blue, 0xFCE1CB, 0xE0A57D, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF,
       0x42AEFE, 0xF2F2F2, 0xB6B6B6},
      {REZORuvar::tsOffice2007Luna, 0xFFEFE3, 0xFFDDC4, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF,
       0x42AEFE, 0xF2F2F2, 0xB6B6B6},
      {REZORuvar::tsWhidbey, 0xFFFFFF, 0xDFEDF0, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE,
       0xF2F2F2, 0xB6B6B6},
      {REZORuvar::tsOffice2003Classic, 0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285,
       0x808080, 0xD8D5D4, 0xD8D5D4},
      {REZORuvar::tsWindowsXP, 0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption,
       clInactiveCaption, clHighlight, 0xB6B6B6, 0xB6B6B6},
      {REZORuvar::tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7,
       0xFEDF9A, 0xFFFFFF, 0xFFFFFF},
      {REZORuvar::tsWindows7, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1,
       0xCEA27D, 0xFFFFFF, 0xFFFFFF},
      {REZORuvar::tsTerminal, clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight,
       0x808080, clBtnFace, clBtnFace},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    TLumButtonAppearance a;
    a.SetBorderColorDisabled(0x123456);
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    ApplyButtonAppearanceStyle(a, c.style);
    EXPECT_EQ(a.Color(), c.color);
    EXPECT_EQ(a.ColorTo(), c.colorTo);
    EXPECT_EQ(a.BorderColor(), c.border);
    EXPECT_EQ(a.ColorHot(), c.hot);
    EXPECT_EQ(a.ColorHotTo(), c.hotTo);
    EXPECT_EQ(a.BorderColorHot(), c.borderHot);
    EXPECT_EQ(a.ColorDown(), c.down);
    EXPECT_EQ(a.ColorDownTo(), c.downTo);
    EXPECT_EQ(a.BorderColorDown(), c.borderDown);
    EXPECT_EQ(a.ColorDisabled(), c.disabled);
    EXPECT_EQ(a.ColorDisabledTo(), c.disabledTo);
    EXPECT_EQ(a.BorderColorDisabled(), TColor(0x123456));  // no style's business
    EXPECT_GT(changes, 0);
    // The custom style afterwards leaves them all.
    changes = 0;
    ApplyButtonAppearanceStyle(a, REZORuvar::tsCustom);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(a.ColorHot(), c.hot);
    // The same style again tells nothing: every value is already there.
    ApplyButtonAppearanceStyle(a, c.style);
    EXPECT_EQ(changes, 0);
  }
}

TEST(DropDownStyles, ItemListsTakeTheSelectionLooksOfTheirStyle) {
  const TItemStyleColors& blue = ItemStyle(REZORuvar::tsOffice2003Blue);
  EXPECT_EQ(blue.ColorMirrorHot, TColor(0x59DAFF));
  EXPECT_EQ(blue.BorderColorTop, clNone);
  const TItemStyleColors& luna = ItemStyle(REZORuvar::tsOffice2007Luna);
  EXPECT_EQ(luna.ColorSelected, TColor(0xAAD9FF));
  EXPECT_EQ(luna.BorderColorTop, TColor(0xF4FEFF));
  EXPECT_EQ(luna.BorderColorBottom, TColor(0xCAF8FF));
  EXPECT_EQ(luna.EdgeColor, TColor(0xC3D9DF));
  const TItemStyleColors& xp = ItemStyle(REZORuvar::tsWindowsXP);
  EXPECT_EQ(xp.ColorSelected, clHighlight);
  EXPECT_EQ(xp.ColorSelectedTo, clNone);
  EXPECT_EQ(xp.ColorSelectedText, clHighlightText);
  EXPECT_EQ(xp.ColorMirrorSelectedTo, clNone);
  EXPECT_EQ(ItemStyle(REZORuvar::tsTerminal).ColorSelectedText, clHighlightText);
  EXPECT_EQ(ItemStyle(REZORuvar::tsWindows7).EdgeColor, TColor(0xE0C5AE));
  EXPECT_EQ(ItemStyle(REZORuvar::tsWindowsVista).BorderColor, TColor(0xFEDF9A));
  // The custom style sets the two text colours and nothing else.
  const TItemStyleColors& custom = ItemStyle(REZORuvar::tsCustom);
  EXPECT_EQ(custom.ColorSelectedText, clBlack);
  EXPECT_EQ(custom.ColorHotText, clBlack);
  EXPECT_FALSE(custom.ColorHot || custom.ColorSelected || custom.BorderColor || custom.EdgeColor);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(ItemStyle(static_cast<REZORuvar>(i)).ColorHotText, clBlack);
}

}  // namespace
}  // namespace dropdown
