// The glow button's colour record: its defaults (the derived ones
// included), one change notice per differing setter, copying, and every
// preset look.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/LumGlowButton.h"
#include "rtl/Exceptions.h"

using namespace controls;
using vcl::TColor;

namespace {

using A = TGlowButtonAppearance;

struct ColorSetting {
  const char* name;
  TColor (A::*get)() const;
  void (A::*set)(TColor);
};
struct GradientSetting {
  const char* name;
  TGDIPGradient (A::*get)() const;
  void (A::*set)(TGDIPGradient);
};

#define COLOR(N) ColorSetting{#N, &A::N, &A::Set##N}
#define GRADIENT(N) GradientSetting{#N, &A::N, &A::Set##N}
const std::vector<ColorSetting> kColors = {
    COLOR(BorderColor),          COLOR(BorderColorHot),      COLOR(BorderColorDown),
    COLOR(BorderColorChecked),   COLOR(BorderColorDisabled), COLOR(Color),
    COLOR(ColorTo),              COLOR(ColorChecked),        COLOR(ColorCheckedTo),
    COLOR(ColorDisabled),        COLOR(ColorDisabledTo),     COLOR(ColorDown),
    COLOR(ColorDownTo),          COLOR(ColorHot),            COLOR(ColorHotTo),
    COLOR(ColorMirror),          COLOR(ColorMirrorTo),       COLOR(ColorMirrorHot),
    COLOR(ColorMirrorHotTo),     COLOR(ColorMirrorDown),     COLOR(ColorMirrorDownTo),
    COLOR(ColorMirrorChecked),   COLOR(ColorMirrorCheckedTo), COLOR(ColorMirrorDisabled),
    COLOR(ColorMirrorDisabledTo),
};
const std::vector<GradientSetting> kGradients = {
    GRADIENT(Gradient),        GRADIENT(GradientMirror),        GRADIENT(GradientHot),
    GRADIENT(GradientMirrorHot), GRADIENT(GradientDown),        GRADIENT(GradientMirrorDown),
    GRADIENT(GradientChecked), GRADIENT(GradientMirrorChecked), GRADIENT(GradientDisabled),
    GRADIENT(GradientMirrorDisabled),
};
#undef COLOR
#undef GRADIENT

TColor Get(const A& a, const char* name) {
  for (const ColorSetting& s : kColors)
    if (std::string(s.name) == name) return (a.*s.get)();
  ADD_FAILURE() << "no colour " << name;
  return 0;
}

}  // namespace

TEST(GlowAppearance, DefaultsIncludingTheDerivedLooks) {
  A a;
  const std::vector<std::pair<const char*, TColor>> colours = {
      {"BorderColor", 12632256},           {"BorderColorHot", 16711680},   {"BorderColorDown", 8388608},
      {"BorderColorChecked", 16711680},    {"BorderColorDisabled", 8421504}, {"Color", 16777215},
      {"ColorTo", 16777215},               {"ColorChecked", 16111818},     {"ColorCheckedTo", 16367008},
      {"ColorDisabled", 15921906},         {"ColorDisabledTo", 15921906},  {"ColorDown", 16111818},
      {"ColorDownTo", 16367008},           {"ColorHot", 16117985},         {"ColorHotTo", 16372402},
      {"ColorMirror", 12632256},           {"ColorMirrorTo", 16777215},    {"ColorMirrorHot", 16107693},
      {"ColorMirrorHotTo", 16775412},      {"ColorMirrorDown", 16102556},  {"ColorMirrorDownTo", 16768988},
      {"ColorMirrorChecked", 16102556},    {"ColorMirrorCheckedTo", 16768988},
      {"ColorMirrorDisabled", 11974326},   {"ColorMirrorDisabledTo", 15921906},
  };
  ASSERT_EQ(colours.size(), kColors.size());
  for (auto [name, value] : colours) EXPECT_EQ(Get(a, name), value) << name;
  const TGDIPGradient gradients[] = {ggVertical, ggVertical, ggRadial, ggRadial, ggRadial,
                                     ggRadial,   ggRadial,   ggVertical, ggRadial, ggRadial};
  for (size_t i = 0; i < kGradients.size(); ++i) EXPECT_EQ((a.*kGradients[i].get)(), gradients[i]) << kGradients[i].name;
  EXPECT_TRUE(a.SystemFont());
  // The derived ones are the shading routines' results.
  EXPECT_EQ(a.ColorDown(), glow::ShadeColorChannels(a.ColorHot(), -10, -10, 0));
  EXPECT_EQ(a.ColorMirrorDisabled(), glow::ShadeColor(a.ColorMirror(), -5));
}

TEST(GlowAppearance, EachDifferingSetterNotifiesOnceAndAnEqualOneNotAtAll) {
  A a;
  int changes = 0;
  vcl::TObject* sender = nullptr;
  a.OnChange = [&](vcl::TObject* s) {
    ++changes;
    sender = s;
  };
  for (const ColorSetting& s : kColors) {
    changes = 0;
    (a.*s.set)((a.*s.get)());
    EXPECT_EQ(changes, 0) << s.name;
    (a.*s.set)((a.*s.get)() ^ 0x010101);
    EXPECT_EQ(changes, 1) << s.name;
    EXPECT_EQ(sender, &a);
  }
  for (const GradientSetting& s : kGradients) {
    changes = 0;
    (a.*s.set)((a.*s.get)());
    EXPECT_EQ(changes, 0) << s.name;
    (a.*s.set)((a.*s.get)() == ggRadial ? ggDiagonalBackward : ggRadial);
    EXPECT_EQ(changes, 1) << s.name;
  }
  changes = 0;
  a.SetSystemFont(true);
  a.SetSystemFont(false);
  EXPECT_EQ(changes, 1);
  // Without a callback a change is only stored.
  A quiet;
  quiet.SetColorHot(vcl::clRed);
  EXPECT_EQ(quiet.ColorHot(), vcl::clRed);
}

TEST(GlowAppearance, AssignCopiesEverythingThroughTheSetters) {
  A source, target;
  source.SetColorHot(vcl::clRed);
  source.SetBorderColor(vcl::clBtnFace);
  source.SetGradientMirrorChecked(ggDiagonalForward);
  source.SetSystemFont(false);
  int changes = 0;
  target.OnChange = [&](vcl::TObject*) { ++changes; };
  target.Assign(&source);
  EXPECT_EQ(changes, 4);
  for (const ColorSetting& s : kColors) EXPECT_EQ((target.*s.get)(), (source.*s.get)()) << s.name;
  for (const GradientSetting& s : kGradients) EXPECT_EQ((target.*s.get)(), (source.*s.get)()) << s.name;
  EXPECT_FALSE(target.SystemFont());
  changes = 0;
  target.Assign(&source);
  EXPECT_EQ(changes, 0);
  // Another kind of object goes to the class library, which refuses it.
  vcl::TPersistent other;
  EXPECT_THROW(target.Assign(&other), rtl::Exception);
}

namespace {

struct Look {
  TColor c, ct, m, mt, b;
};
Look Normal(const A& a) { return {a.Color(), a.ColorTo(), a.ColorMirror(), a.ColorMirrorTo(), a.BorderColor()}; }
Look Hot(const A& a) { return {a.ColorHot(), a.ColorHotTo(), a.ColorMirrorHot(), a.ColorMirrorHotTo(), a.BorderColorHot()}; }
Look Down(const A& a) {
  return {a.ColorDown(), a.ColorDownTo(), a.ColorMirrorDown(), a.ColorMirrorDownTo(), a.BorderColorDown()};
}
Look Checked(const A& a) {
  return {a.ColorChecked(), a.ColorCheckedTo(), a.ColorMirrorChecked(), a.ColorMirrorCheckedTo(),
          a.BorderColorChecked()};
}
bool operator==(const Look& x, const Look& y) {
  return x.c == y.c && x.ct == y.ct && x.m == y.m && x.mt == y.mt && x.b == y.b;
}
std::ostream& operator<<(std::ostream& o, const Look& l) {
  return o << std::hex << l.c << " " << l.ct << " " << l.m << " " << l.mt << " " << l.b;
}

constexpr TColor kHL = vcl::clHighlight;
const Look kH_hot{15465983, 11332863, 5888767, 10807807, 10079963};
const Look kH_down{7778289, 4296947, 946929, 5021693, 4548219};
// The checked border is the preset's own or the default's (blue).
Look HChecked(TColor border) { return {11918331, 7915518, 10480637, 5682430, border}; }

}  // namespace

TEST(GlowAppearance, EveryPresetLoadsItsLooks) {
  const A fresh;
  struct Case {
    REZORuvar style;
    Look normal, hot, down, checked;
    bool normalGradientsVertical, pressedGradientsVertical;
  } cases[] = {
      {tsOffice2003Blue, {15653832, 16178633, 15586496, 16245200, 14727579}, kH_hot, kH_down, HChecked(vcl::clBlue),
       true, true},
      {tsOffice2003Silver, {15133154, 15128792, 15133154, 13152947, 9598070}, kH_hot, kH_down,
       HChecked(vcl::clBlue), true, true},
      {tsOffice2003Olive, {13627626, 13627626, 13627626, 9224369, 9224369}, kH_hot, kH_down, HChecked(vcl::clBlue),
       true, true},
      {tsOffice2003Classic, {vcl::clWhite, 13226453, vcl::clWhite, 13226453, vcl::clBlack}, kH_hot, kH_down,
       HChecked(vcl::clBlue), true, true},
      {tsOffice2007Luna, {15653832, 16178633, 15586496, 16245200, 14727579}, kH_hot, kH_down, HChecked(4548219), true,
       true},
      {tsOffice2007Obsidian, {14671574, 15000283, 14144974, 15197664, 12631218}, kH_hot, kH_down, HChecked(4548219),
       true, true},
      {tsOffice2007Silver, {15987697, 16119283, 15657703, 16316406, 13421257}, kH_hot, kH_down, HChecked(4548219),
       true, true},
      {tsWhidbey, {vcl::clWhite, 14675440, 14675440, 14675440, 10070188}, kH_hot, kH_down, HChecked(vcl::clBlue),
       true, true},
      {tsWindowsXP,
       {vcl::clWhite, 12179676, 12179676, 12179676, 12179676},
       {15717318, 15717318, 15717318, 15717318, kHL},
       {11899524, 11899524, 11899524, 11899524, kHL},
       {12179676, 12179676, 12179676, 12179676, vcl::clBlack},
       true,
       true},
      {tsWindowsVista,
       {16644337, 16644337, 16576469, 16644337, 16637593},
       {vcl::clNone, 16775920, 16775920, 16775920, 16577242},
       {16576469, 16576469, 16643299, 16643299, 16703386},
       {16576469, 16443846, 16243362, 16510419, 16703386},
       true,
       true},
      {tsWindows7,
       {16575452, 16571329, 16571329, 16571329, 13542013},
       {16645114, 16643051, 16643051, 16645114, 16504504},
       {16575452, 16571329, 16571329, 16575452, 13542013},
       {16645114, 16643051, 16575452, 16575452, kHL},
       true,
       true},
      {tsTerminal,
       {vcl::clBtnFace, vcl::clBtnFace, vcl::clBtnFace, vcl::clBtnFace, fresh.BorderColor()},
       {vcl::clSilver, vcl::clSilver, vcl::clSilver, vcl::clSilver, vcl::clGray},
       {kHL, kHL, kHL, kHL, kHL},
       {vcl::clGray, vcl::clGray, vcl::clGray, vcl::clGray, vcl::clGray},
       false,
       false},
      {tsCustom, Normal(fresh), Hot(fresh), Down(fresh), Checked(fresh), false, false},
  };
  for (const Case& c : cases) {
    A a;
    // Start from other gradients, so a preset that leaves them shows it.
    for (const GradientSetting& s : kGradients) (a.*s.set)(ggDiagonalForward);
    LoadGlowAppearancePreset(a, c.style);
    const int style = static_cast<int>(c.style);
    EXPECT_EQ(Normal(a), c.normal) << style;
    EXPECT_EQ(Hot(a), c.hot) << style;
    EXPECT_EQ(Down(a), c.down) << style;
    EXPECT_EQ(Checked(a), c.checked) << style;
    const TGDIPGradient normalWant = c.normalGradientsVertical ? ggVertical : ggDiagonalForward;
    EXPECT_EQ(a.Gradient(), normalWant) << style;
    EXPECT_EQ(a.GradientMirror(), normalWant) << style;
    const TGDIPGradient pressedWant = c.pressedGradientsVertical ? ggVertical : ggDiagonalForward;
    for (size_t i = 2; i < 8; ++i) EXPECT_EQ((a.*kGradients[i].get)(), pressedWant) << style << kGradients[i].name;
    // No preset touches the disabled look or the font switch.
    EXPECT_EQ(a.ColorDisabled(), fresh.ColorDisabled()) << style;
    EXPECT_EQ(a.ColorMirrorDisabledTo(), fresh.ColorMirrorDisabledTo()) << style;
    EXPECT_EQ(a.BorderColorDisabled(), fresh.BorderColorDisabled()) << style;
    EXPECT_EQ(a.GradientDisabled(), ggDiagonalForward) << style;
    EXPECT_TRUE(a.SystemFont()) << style;
  }
}

TEST(GlowAppearance, APresetNotifiesOncePerChangedSettingAndACustomOneNotAtAll) {
  A a;
  int changes = 0;
  a.OnChange = [&](vcl::TObject*) { ++changes; };
  LoadGlowAppearancePreset(a, tsCustom);
  EXPECT_EQ(changes, 0);
  // Terminal from the defaults: four faces, the hot, down and checked
  // colours (15; the defaults' down and checked border differ from the
  // set's too, the hot border blue differs from grey) and nothing else.
  LoadGlowAppearancePreset(a, tsTerminal);
  EXPECT_EQ(changes, 4 + 5 + 5 + 5);
  changes = 0;
  LoadGlowAppearancePreset(a, tsTerminal);
  EXPECT_EQ(changes, 0);
}
