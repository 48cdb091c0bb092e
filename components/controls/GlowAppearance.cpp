// The glow button's colour record and its preset looks.
#include "controls/LumGlowButton.h"

namespace controls {

using vcl::TColor;

TGlowButtonAppearance::TGlowButtonAppearance()
    : BorderColor_(vcl::clSilver),
      BorderColorHot_(vcl::clBlue),
      BorderColorDown_(vcl::clNavy),
      BorderColorChecked_(vcl::clBlue),
      BorderColorDisabled_(vcl::clGray),
      Color_(vcl::clWhite),
      ColorTo_(vcl::clWhite),
      ColorHot_(0xF5F0E1),
      ColorHotTo_(0xF9D2B2),
      ColorMirror_(vcl::clSilver),
      ColorMirrorTo_(vcl::clWhite),
      ColorMirrorHot_(0xF5C8AD),
      ColorMirrorHotTo_(0xFFF8F4),
      Gradient_(ggVertical),
      GradientMirror_(ggVertical),
      GradientHot_(ggRadial),
      GradientMirrorHot_(ggRadial),
      GradientDown_(ggRadial),
      GradientMirrorDown_(ggRadial),
      GradientChecked_(ggRadial),
      GradientMirrorChecked_(ggVertical),
      GradientDisabled_(ggRadial),
      GradientMirrorDisabled_(ggRadial),
      SystemFont_(true) {
  // The pressed looks are the hot colours with red and green at 90 per
  // cent, the disabled ones the normal colours 5 per cent darker: derived,
  // so a change of the hot or normal defaults carries over.
  auto pressed = [](TColor hot) { return glow::ShadeColorChannels(hot, -10, -10, 0); };
  ColorDown_ = ColorChecked_ = pressed(ColorHot_);
  ColorDownTo_ = ColorCheckedTo_ = pressed(ColorHotTo_);
  ColorMirrorDown_ = ColorMirrorChecked_ = pressed(ColorMirrorHot_);
  ColorMirrorDownTo_ = ColorMirrorCheckedTo_ = pressed(ColorMirrorHotTo_);
  ColorDisabled_ = glow::ShadeColor(Color_, -5);
  ColorDisabledTo_ = glow::ShadeColor(ColorTo_, -5);
  ColorMirrorDisabled_ = glow::ShadeColor(ColorMirror_, -5);
  ColorMirrorDisabledTo_ = glow::ShadeColor(ColorMirrorTo_, -5);
}

void TGlowButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TGlowButtonAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TGlowButtonAppearance*>(Source);
  if (!from) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  SetBorderColor(from->BorderColor());
  SetBorderColorHot(from->BorderColorHot());
  SetBorderColorDown(from->BorderColorDown());
  SetBorderColorChecked(from->BorderColorChecked());
  SetBorderColorDisabled(from->BorderColorDisabled());
  SetColor(from->Color());
  SetColorTo(from->ColorTo());
  SetColorChecked(from->ColorChecked());
  SetColorCheckedTo(from->ColorCheckedTo());
  SetColorDisabled(from->ColorDisabled());
  SetColorDisabledTo(from->ColorDisabledTo());
  SetColorDown(from->ColorDown());
  SetColorDownTo(from->ColorDownTo());
  SetColorHot(from->ColorHot());
  SetColorHotTo(from->ColorHotTo());
  SetColorMirror(from->ColorMirror());
  SetColorMirrorTo(from->ColorMirrorTo());
  SetColorMirrorHot(from->ColorMirrorHot());
  SetColorMirrorHotTo(from->ColorMirrorHotTo());
  SetColorMirrorDown(from->ColorMirrorDown());
  SetColorMirrorDownTo(from->ColorMirrorDownTo());
  SetColorMirrorChecked(from->ColorMirrorChecked());
  SetColorMirrorCheckedTo(from->ColorMirrorCheckedTo());
  SetColorMirrorDisabled(from->ColorMirrorDisabled());
  SetColorMirrorDisabledTo(from->ColorMirrorDisabledTo());
  SetGradient(from->Gradient());
  SetGradientMirror(from->GradientMirror());
  SetGradientHot(from->GradientHot());
  SetGradientMirrorHot(from->GradientMirrorHot());
  SetGradientDown(from->GradientDown());
  SetGradientMirrorDown(from->GradientMirrorDown());
  SetGradientChecked(from->GradientChecked());
  SetGradientMirrorChecked(from->GradientMirrorChecked());
  SetGradientDisabled(from->GradientDisabled());
  SetGradientMirrorDisabled(from->GradientMirrorDisabled());
  SetSystemFont(from->SystemFont());
}

namespace {

// The colours of one look: upper pair, lower pair, border.
struct TLookColors {
  TColor Color, ColorTo, Mirror, MirrorTo, Border;
};

// The hot, down and checked looks of a preset; Checked.Border clNone: the
// preset leaves the checked border as it is.
struct TPressedLooks {
  TLookColors Hot, Down, Checked;
  bool VerticalGradients;
};

constexpr TColor kKeepBorder = vcl::clNone;

// The shared look most office presets start from.
constexpr TPressedLooks kOfficeLooks{{15465983, 11332863, 5888767, 10807807, 10079963},
                                     {7778289, 4296947, 946929, 5021693, 4548219},
                                     {11918331, 7915518, 10480637, 5682430, kKeepBorder},
                                     true};
constexpr TPressedLooks kXPLooks{{15717318, 15717318, 15717318, 15717318, vcl::clHighlight},
                                 {11899524, 11899524, 11899524, 11899524, vcl::clHighlight},
                                 {12179676, 12179676, 12179676, 12179676, vcl::clBlack},
                                 true};
constexpr TPressedLooks kVistaLooks{{vcl::clNone, 16775920, 16775920, 16775920, 16577242},
                                    {16576469, 16576469, 16643299, 16643299, 16703386},
                                    {16576469, 16443846, 16243362, 16510419, 16703386},
                                    true};
constexpr TPressedLooks kSevenLooks{{16645114, 16643051, 16643051, 16645114, 16504504},
                                    {16575452, 16571329, 16571329, 16575452, 13542013},
                                    {16645114, 16643051, 16575452, 16575452, vcl::clHighlight},
                                    true};
constexpr TPressedLooks kTerminalLooks{{vcl::clSilver, vcl::clSilver, vcl::clSilver, vcl::clSilver, vcl::clGray},
                                       {vcl::clHighlight, vcl::clHighlight, vcl::clHighlight, vcl::clHighlight,
                                        vcl::clHighlight},
                                       {vcl::clGray, vcl::clGray, vcl::clGray, vcl::clGray, vcl::clGray},
                                       false};

void SetNormal(TGlowButtonAppearance& A, const TLookColors& L) {
  A.SetColor(L.Color);
  A.SetColorTo(L.ColorTo);
  A.SetColorMirror(L.Mirror);
  A.SetColorMirrorTo(L.MirrorTo);
  A.SetBorderColor(L.Border);
  A.SetGradient(ggVertical);
  A.SetGradientMirror(ggVertical);
}

void SetPressed(TGlowButtonAppearance& A, const TPressedLooks& P) {
  A.SetColorHot(P.Hot.Color);
  A.SetColorHotTo(P.Hot.ColorTo);
  A.SetColorMirrorHot(P.Hot.Mirror);
  A.SetColorMirrorHotTo(P.Hot.MirrorTo);
  A.SetBorderColorHot(P.Hot.Border);
  A.SetColorDown(P.Down.Color);
  A.SetColorDownTo(P.Down.ColorTo);
  A.SetColorMirrorDown(P.Down.Mirror);
  A.SetColorMirrorDownTo(P.Down.MirrorTo);
  A.SetBorderColorDown(P.Down.Border);
  A.SetColorChecked(P.Checked.Color);
  A.SetColorCheckedTo(P.Checked.ColorTo);
  A.SetColorMirrorChecked(P.Checked.Mirror);
  A.SetColorMirrorCheckedTo(P.Checked.MirrorTo);
  if (P.Checked.Border != kKeepBorder) A.SetBorderColorChecked(P.Checked.Border);
  if (P.VerticalGradients) {
    A.SetGradientHot(ggVertical);
    A.SetGradientMirrorHot(ggVertical);
    A.SetGradientDown(ggVertical);
    A.SetGradientMirrorDown(ggVertical);
    A.SetGradientChecked(ggVertical);
    A.SetGradientMirrorChecked(ggVertical);
  }
}

}  // namespace

void LoadGlowAppearancePreset(TGlowButtonAppearance& A, REZORuvar Style) {
  // The 2007 looks add a dark checked border to the shared office set.
  constexpr TColor k2007CheckedBorder = 4548219;
  switch (Style) {
    case tsOffice2003Blue:
      SetPressed(A, kOfficeLooks);
      SetNormal(A, {15653832, 16178633, 15586496, 16245200, 14727579});
      break;
    case tsOffice2003Silver:
      SetPressed(A, kOfficeLooks);
      SetNormal(A, {15133154, 15128792, 15133154, 13152947, 9598070});
      break;
    case tsOffice2003Olive:
      SetPressed(A, kOfficeLooks);
      SetNormal(A, {13627626, 13627626, 13627626, 9224369, 9224369});
      break;
    case tsOffice2003Classic:
      SetNormal(A, {vcl::clWhite, 13226453, vcl::clWhite, 13226453, vcl::clBlack});
      SetPressed(A, kOfficeLooks);
      break;
    case tsOffice2007Luna:
      SetNormal(A, {15653832, 16178633, 15586496, 16245200, 14727579});
      SetPressed(A, kOfficeLooks);
      A.SetBorderColorChecked(k2007CheckedBorder);
      break;
    case tsOffice2007Obsidian:
      SetNormal(A, {14671574, 15000283, 14144974, 15197664, 12631218});
      SetPressed(A, kOfficeLooks);
      A.SetBorderColorChecked(k2007CheckedBorder);
      break;
    case tsOffice2007Silver:
      SetNormal(A, {15987697, 16119283, 15657703, 16316406, 13421257});
      SetPressed(A, kOfficeLooks);
      A.SetBorderColorChecked(k2007CheckedBorder);
      break;
    case tsWhidbey:
      SetPressed(A, kOfficeLooks);
      SetNormal(A, {vcl::clWhite, 14675440, 14675440, 14675440, 10070188});
      break;
    case tsWindowsXP:
      SetNormal(A, {vcl::clWhite, 12179676, 12179676, 12179676, 12179676});
      SetPressed(A, kXPLooks);
      break;
    case tsWindowsVista:
      SetNormal(A, {16644337, 16644337, 16576469, 16644337, 16637593});
      SetPressed(A, kVistaLooks);
      break;
    case tsWindows7:
      SetNormal(A, {16575452, 16571329, 16571329, 16571329, 13542013});
      SetPressed(A, kSevenLooks);
      break;
    case tsTerminal:
      // Only the faces follow the system: border and gradients stay.
      A.SetColor(vcl::clBtnFace);
      A.SetColorTo(vcl::clBtnFace);
      A.SetColorMirror(vcl::clBtnFace);
      A.SetColorMirrorTo(vcl::clBtnFace);
      SetPressed(A, kTerminalLooks);
      break;
    case tsCustom:
      break;
  }
}

}  // namespace controls
