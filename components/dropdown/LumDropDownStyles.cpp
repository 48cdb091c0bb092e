#include "dropdown/LumDropDownStyles.h"

#include "dropdown/LumDropDownButtons.h"

namespace dropdown {

namespace {

using vcl::clBtnFace;
using vcl::clHighlight;
using vcl::clHighlightText;
using vcl::clInactiveCaption;
using vcl::clNone;
using vcl::TColor;

constexpr TStyleColor KeepColor = std::nullopt;

// Header and footer alike, as most styles have them.
constexpr TPopupStyle SameBars(TStyleColor color, TStyleColor colorTo, TStyleColor border, TColor headerFrom,
                           TColor headerTo, TColor font, TColor headerBorder, TColor footerBorder) {
  return TPopupStyle{color, colorTo, border, TBarStyle{headerFrom, headerTo, font, headerBorder},
                     TBarStyle{headerFrom, headerTo, font, footerBorder}};
}

// In the order of REZORuvar.
const TPopupStyle kPopupStyles[] = {
    SameBars(0xFFFFFF, clNone, KeepColor, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0x962D00),     // Office 2003 blue
    SameBars(0xFFFFFF, clNone, KeepColor, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C, 0x947C7C),     // Office 2003 silver
    SameBars(0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060, 0x588060),   // Office 2003 olive
    SameBars(0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080), // Office 2003 classic
    SameBars(0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF), // Office 2007 Luna
    SameBars(0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C),   // Office 2007 obsidian
    SameBars(0xFFFFFF, clNone, KeepColor, 0xFFFFFF, clBtnFace, 0x000000, 0x808080, 0x808080),    // Windows XP
    SameBars(0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00), // Whidbey
    TPopupStyle{},                                                                       // custom
    SameBars(0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F), // Office 2007 silver
    // Vista's footer runs its gradient the other way.
    TPopupStyle{0xFFFFFF, 0xFFFFFF, 0x979797, TBarStyle{0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA},
                TBarStyle{0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA}},
    SameBars(0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8), // Windows 7
    SameBars(0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, 0x000000, clNone, clNone),   // terminal
};

// The Office-like styles share their hot, down and disabled looks.
constexpr TButtonStyleColors OfficeButtons(TColor color, TColor colorTo) {
  return TButtonStyleColors{color,    colorTo,  clNone,   0xEBFDFF, 0xACECFF, 0x99CEDB,
                            0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6};
}

const TButtonStyleColors kButtonStyles[] = {
    OfficeButtons(0xFCE1CB, 0xE0A57D),  // Office 2003 blue
    OfficeButtons(0xECE2E1, 0xB39698),  // Office 2003 silver
    OfficeButtons(0xCFF0EA, 0x8CC0B1),  // Office 2003 olive
    TButtonStyleColors{0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080,
                       0xD8D5D4, 0xD8D5D4},  // Office 2003 classic
    OfficeButtons(0xFFEFE3, 0xFFDDC4),              // Office 2007 Luna
    OfficeButtons(0xF2F1F0, 0xC9C2BD),              // Office 2007 obsidian
    TButtonStyleColors{0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption,
                       clInactiveCaption, clHighlight, 0xB6B6B6, 0xB6B6B6},  // Windows XP
    OfficeButtons(0xFFFFFF, 0xDFEDF0),                                              // Whidbey
    TButtonStyleColors{},                                                    // custom
    OfficeButtons(0xF9F8F8, 0xE4E2DF),                                              // Office 2007 silver
    TButtonStyleColors{0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A,
                       0xFFFFFF, 0xFFFFFF},  // Vista
    TButtonStyleColors{0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D,
                       0xFFFFFF, 0xFFFFFF},  // Windows 7
    TButtonStyleColors{clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight,
                       0x808080, clBtnFace, clBtnFace},  // terminal
};

constexpr TItemStyleColors ItemLooks(TColor hot, TColor hotTo, TStyleColor mirrorHot, TStyleColor mirrorHotTo,
                                 TColor selected, TStyleColor selectedTo, TStyleColor mirrorSelected,
                                 TStyleColor mirrorSelectedTo, TColor border, TStyleColor borderTop,
                                 TStyleColor borderBottom, TStyleColor edge, TColor selectedText = vcl::clBlack) {
  return TItemStyleColors{selectedText, vcl::clBlack, hot,    hotTo,     mirrorHot,    mirrorHotTo, selected,
                          selectedTo,   mirrorSelected, mirrorSelectedTo, border, borderTop, borderBottom, edge};
}

constexpr TItemStyleColors kOffice2003Items =
    ItemLooks(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, clNone, clNone,
          clNone);
constexpr TItemStyleColors kOffice2007Items =
    ItemLooks(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF,
          0xCAF8FF, 0xC3D9DF);

const TItemStyleColors kItemStyles[] = {
    kOffice2003Items,  // Office 2003 blue
    kOffice2003Items,  // Office 2003 silver
    kOffice2003Items,  // Office 2003 olive
    ItemLooks(0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone,
          clNone),     // Office 2003 classic
    kOffice2007Items,  // Office 2007 Luna
    kOffice2007Items,  // Office 2007 obsidian
    ItemLooks(0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone, clNone,
          clHighlightText),  // Windows XP
    kOffice2003Items,        // Whidbey
    TItemStyleColors{},      // custom: the text colours only
    kOffice2007Items,        // Office 2007 silver
    ItemLooks(0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7,
          0xFCEDCB),  // Vista
    ItemLooks(0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB,
          0xE0C5AE),  // Windows 7
    ItemLooks(0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone,
          clHighlightText),  // terminal
};

static_assert(std::size(kPopupStyles) == 13 && std::size(kButtonStyles) == 13 && std::size(kItemStyles) == 13);

size_t StyleIndex(REZORuvar style) {
  size_t i = static_cast<size_t>(style);
  return i < 13 ? i : static_cast<size_t>(REZORuvar::tsCustom);
}

}  // namespace

const TPopupStyle& PopupStyle(REZORuvar style) { return kPopupStyles[StyleIndex(style)]; }
const TButtonStyleColors& ButtonStyle(REZORuvar style) { return kButtonStyles[StyleIndex(style)]; }
const TItemStyleColors& ItemStyle(REZORuvar style) { return kItemStyles[StyleIndex(style)]; }

void ApplyButtonAppearanceStyle(TLumButtonAppearance& a, REZORuvar style) {
  const TButtonStyleColors& s = ButtonStyle(style);
  auto set = [&](const TStyleColor& v, void (TLumButtonAppearance::*setter)(vcl::TColor)) {
    if (v) (a.*setter)(*v);
  };
  set(s.Color, &TLumButtonAppearance::SetColor);
  set(s.ColorTo, &TLumButtonAppearance::SetColorTo);
  set(s.BorderColor, &TLumButtonAppearance::SetBorderColor);
  set(s.ColorHot, &TLumButtonAppearance::SetColorHot);
  set(s.ColorHotTo, &TLumButtonAppearance::SetColorHotTo);
  set(s.BorderColorHot, &TLumButtonAppearance::SetBorderColorHot);
  set(s.ColorDown, &TLumButtonAppearance::SetColorDown);
  set(s.ColorDownTo, &TLumButtonAppearance::SetColorDownTo);
  set(s.BorderColorDown, &TLumButtonAppearance::SetBorderColorDown);
  set(s.ColorDisabled, &TLumButtonAppearance::SetColorDisabled);
  set(s.ColorDisabledTo, &TLumButtonAppearance::SetColorDisabledTo);
}

}  // namespace dropdown
