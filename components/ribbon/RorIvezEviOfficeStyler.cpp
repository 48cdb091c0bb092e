// The office styler's presets. Each look is one block of values that goes
// through the setters of the styler and its records, so the controls hear
// every change as it arrives; the classic look is kept value by value, the
// others are built from each look's telling colours.
#include "ribbon/RorIvezEviOfficeStyler.h"

#include "controls/LumGDIP.h"
#include "ribbon/RorIvezEviDraw.h"
#include "rtl/CodePages.h"
#include "rtl/SystemInfo.h"
#include "vcl/Messages.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

using vcl::TColor;
constexpr TColor kBtnFace = vcl::clBtnFace;
constexpr TColor kHighlight = vcl::clHighlight;
constexpr TColor kNone = vcl::clNone;

// Every value a preset block assigns. Optional members are left alone by
// the blocks that do not set them.
struct PresetBlock {
  // Styler settings.
  TColor RightHandleColor, RightHandleColorTo, RightHandleColorHot, RightHandleColorHotTo;
  std::optional<TColor> RightHandleColorDown, RightHandleColorDownTo;
  TColor FloatingWindowBorderColor;
  int FloatingWindowBorderWidth;
  bool RoundedLook;
  TDragGripStyle DragGripStyle;
  uint8_t Edge3DKind;
  bool Edge3D;
  TColor BorderColorHot;
  std::optional<TColor> BorderColor;
  // Color, ColorHot, DockColor.
  TColor Color, ColorTo;
  std::optional<int> ColorSteps;
  TColor ColorMirror[4];
  TColor ColorHot, ColorHotTo, ColorHotMirror[4];
  TColor DockColor, DockColorTo;
  TGradientDirection DockDirection;
  int DockSteps;
  // ButtonAppearance.
  TColor BtnColor, BtnColorTo, BtnColorDown, BtnColorDownTo, BtnColorHot, BtnColorHotTo, BtnColorChecked,
      BtnColorCheckedTo, BtnText, BtnTextChecked, BtnTextDown, BtnTextHot, BtnBorderDown, BtnBorderHot;
  // CaptionAppearance.
  TColor CapColor, CapColorTo, CapBorder, CapColorHot, CapColorHotTo, CapText, CapTextHot;
  // GlowButtonAppearance: hot, down, checked (4 colours each, borders for
  // hot and down), then the normal colours and border.
  TColor GlowHot[4], GlowBorderHot, GlowDown[4], GlowBorderDown, GlowChecked[4];
  TColor GlowNormal[4], GlowBorder;
  // GroupAppearance and its nested records.
  TColor GrpText, GrpColor[4], GrpBorder;
  TColor GrpTabHot[4], GrpTabSelected[4], GrpTabTextSelected, GrpTabBorderSelected, GrpTabBorderSelectedHot,
      GrpTabBorderHot, GrpTabBorder, GrpTabText, GrpTabTextHot;
  TColor GrpPage[2], GrpPageBorder, GrpPageMirror[2];
  TColor GrpBarColor, GrpBarColorTo, GrpBarBorder, GrpBarHot, GrpBarHotTo, GrpBarBorderHot;
  TColor GrpCapColor, GrpCapColorTo, GrpCapHot, GrpCapHotTo, GrpCapText, GrpCapTextHot;
  // TabAppearance.
  TColor TabBack, TabBackTo, TabBorder, TabBorderDisabled, TabBorderHot, TabBorderSelected, TabBorderSelectedHot,
      TabText, TabTextHot, TabTextSelected, TabTextDisabled;
  TColor TabSelected[4], TabDisabled[4], TabHot[4];
  TColor TabShadow, TabHighLight, TabHighLightSelected, TabHighLightSelectedHot, TabHighLightDown, TabHighLightHot;
  // PageAppearance.
  TColor PageBorder, Page[4], PageShadow, PageHighLight;
  // PagerCaption.
  TColor CaptionColor[4], CaptionBorder;
  // QATAppearance.
  TColor QATColor, QATColorTo, QATBorder, QATFullSize, QATFullSizeTo, QATFullSizeBorder;
  // What only some blocks assign.
  std::optional<controls::REZORuvar> ComponentStyle;
  std::optional<TColor> GlyphColor, PagerCaptionText, PagerCaptionTextExtended;
  std::optional<TColor> GrpTabShadow, GrpTabHighLight, GrpPageShadow, GrpPageHighLight;
  bool AltQATShape = false, TabBackVertical = false;
  // The scenic Windows 7 extras.
  bool Scenic = false;
  TColor GlowDisabled[4], GlowBorderDisabled, GrpTabDisabled[4], TabNormal[4], TabBorderDown, GrpCapBorder,
      GrpCapBorderHot;
  // Compact glow-button colours of their own (hot, down, checked).
  bool OwnCompact = false;
  TColor CompactHot[4], CompactBorderHot, CompactDown[4], CompactBorderDown, CompactChecked[4];
};

// The hot, pressed and checked glow colours shared by the Office 2003
// looks, Whidbey and the classic look.
constexpr TColor kGlowHot[4] = {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF};
constexpr TColor kGlowBorderHot = 0x99CEDB;
constexpr TColor kGlowDown[4] = {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD};
constexpr TColor kGlowBorderDown = 0x45667B;
constexpr TColor kGlowChecked[4] = {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE};

void Copy4(TColor (&To)[4], const TColor (&From)[4]) {
  for (int i = 0; i < 4; ++i) To[i] = From[i];
}

PresetBlock ClassicBlock() {
  PresetBlock b{};
  b.RightHandleColor = 0x808080;
  b.RightHandleColorTo = 0x808080;
  b.RightHandleColorHot = 0xD2BDB6;
  b.RightHandleColorHotTo = kNone;
  b.RightHandleColorDown = 0xB59285;
  b.RightHandleColorDownTo = kNone;
  b.FloatingWindowBorderColor = 0x828F92;
  b.FloatingWindowBorderWidth = 2;
  b.RoundedLook = true;
  b.DragGripStyle = dsDots;
  b.Edge3DKind = 0;
  b.Edge3D = false;
  b.BorderColorHot = 0xD8D5D4;
  b.Color = 0xFFFFFF;
  b.ColorTo = 0xC9D1D5;
  b.ColorSteps = 64;
  b.ColorMirror[0] = 0xDFE3E6, b.ColorMirror[1] = 0xDFE3E6, b.ColorMirror[2] = 0xCAD2D6, b.ColorMirror[3] = 0xEAEDEF;
  b.ColorHot = 0xF5F9FA;
  b.ColorHotTo = 0xF5F9FA;
  b.ColorHotMirror[0] = 0xEDEFF6, b.ColorHotMirror[1] = 0xEDEFF6, b.ColorHotMirror[2] = 0xDFE3E6,
  b.ColorHotMirror[3] = 0xF4F5F7;
  b.DockColor = 0xD2BDB6;
  b.DockColorTo = 0xD2BDB6;
  b.DockDirection = gdHorizontal;
  b.DockSteps = 128;
  b.BtnColor = kBtnFace, b.BtnColorTo = kNone, b.BtnColorDown = 0xE2B598, b.BtnColorDownTo = kNone;
  b.BtnColorHot = 0xD2BDB6, b.BtnColorHotTo = kNone, b.BtnColorChecked = 0xD8D5D4, b.BtnColorCheckedTo = kNone;
  b.BtnText = b.BtnTextChecked = b.BtnTextDown = b.BtnTextHot = 0;
  b.BtnBorderDown = b.BtnBorderHot = 0;
  b.CapColor = 0x808080, b.CapColorTo = 0x808080, b.CapBorder = 0, b.CapColorHot = 0xD2BDB6,
  b.CapColorHotTo = 0xD2BDB6, b.CapText = 0xFFFFFF, b.CapTextHot = 0xFFFFFF;
  Copy4(b.GlowHot, kGlowHot);
  b.GlowBorderHot = kGlowBorderHot;
  Copy4(b.GlowDown, kGlowDown);
  b.GlowBorderDown = kGlowBorderDown;
  Copy4(b.GlowChecked, kGlowChecked);
  b.GlowNormal[0] = 0xFFFFFF, b.GlowNormal[1] = 0xC9D1D5, b.GlowNormal[2] = 0xFFFFFF, b.GlowNormal[3] = 0xC9D1D5;
  b.GlowBorder = 0;
  b.GrpText = 0xFFFFFF;
  b.GrpColor[0] = b.GrpColor[1] = b.GrpColor[2] = b.GrpColor[3] = 0xB59285;
  b.GrpBorder = 0xFFFFFF;
  b.GrpTabHot[0] = 0xCCF4FF, b.GrpTabHot[1] = 0xCCF4FF, b.GrpTabHot[2] = 0xCCF4FF, b.GrpTabHot[3] = 0x91D0FF;
  b.GrpTabSelected[0] = 0x9EDFFB, b.GrpTabSelected[1] = 0xBAE8FC, b.GrpTabSelected[2] = 0xBAE8FC,
  b.GrpTabSelected[3] = 0xD4F1FD;
  b.GrpTabTextSelected = 0, b.GrpTabBorderSelected = 0xA0BFCC, b.GrpTabBorderSelectedHot = 0xA0BFCC;
  b.GrpTabBorderHot = kHighlight, b.GrpTabBorder = kHighlight, b.GrpTabText = 0, b.GrpTabTextHot = 0;
  b.GrpPage[0] = 0xD6F2FE, b.GrpPage[1] = 0xF9F9F9, b.GrpPageBorder = 0xC2C2C2;
  b.GrpPageMirror[0] = 0xF9F9F9, b.GrpPageMirror[1] = 0xF9F9F9;
  b.GrpBarColor = 0xECF8FD, b.GrpBarColorTo = 0xF9F9F9, b.GrpBarBorder = 0xCCD1D3;
  b.GrpBarHot = 0xEEF4F5, b.GrpBarHotTo = 0xFDFBFA, b.GrpBarBorderHot = 0xC7C7C7;
  b.GrpCapColor = 0xD9E9EC, b.GrpCapColorTo = 0xD9E9EC, b.GrpCapHot = 0xC9D1D5, b.GrpCapHotTo = 0xC9D1D5;
  b.GrpCapText = 0, b.GrpCapTextHot = 0;
  b.TabBack = 0xC9D1D5, b.TabBackTo = 0xFFFFFF, b.TabBorder = kNone, b.TabBorderDisabled = kNone;
  b.TabBorderHot = 0xE3B28D, b.TabBorderSelected = 0, b.TabBorderSelectedHot = 0x60CCF9;
  b.TabText = 0, b.TabTextHot = 0, b.TabTextSelected = 0, b.TabTextDisabled = 0x808080;
  b.TabSelected[0] = 0xC9D1D5, b.TabSelected[1] = 0xFFFFFF, b.TabSelected[2] = 0xFFFFFF, b.TabSelected[3] = 0xFFFFFF;
  b.TabDisabled[0] = 0xFFFFFF, b.TabDisabled[1] = 0xC0C0C0, b.TabDisabled[2] = 0xFFFFFF, b.TabDisabled[3] = 0xC0C0C0;
  b.TabHot[0] = 0xCCF4FF, b.TabHot[1] = 0xCCF4FF, b.TabHot[2] = 0xCCF4FF, b.TabHot[3] = 0x91D0FF;
  b.TabShadow = 0xA1A7AA, b.TabHighLight = 0xFFFABF, b.TabHighLightSelected = 0x63CCF8;
  b.TabHighLightSelectedHot = 0xBDFFFF, b.TabHighLightDown = 0xFFFBD0, b.TabHighLightHot = 0xF7F4F3;
  b.PageBorder = 0;
  b.Page[0] = 0xDFE3E6, b.Page[1] = 0xDFE3E6, b.Page[2] = 0xCAD2D6, b.Page[3] = 0xFAFAFB;
  b.PageShadow = 0xB9BDBF, b.PageHighLight = 0x768A92;
  b.CaptionColor[0] = 0x808080, b.CaptionColor[1] = 0x859D9D, b.CaptionColor[2] = 0x859D9D,
  b.CaptionColor[3] = 0xC9D1D5;
  b.CaptionBorder = 0xF0CAAE;
  b.QATColor = 0xFFFFFF, b.QATColorTo = 0xC9D1D5, b.QATBorder = 0x828F92;
  b.QATFullSize = 0x808080, b.QATFullSizeTo = 0x859D9D, b.QATFullSizeBorder = 0x828F92;
  return b;
}

// The telling colours of a look, from which its block is built.
struct LookKeys {
  TColor Color, ColorTo;
  std::optional<int> Steps;
  TColor Dock, RightHandle;
  TColor FloatBorder;
  int FloatWidth;
  bool Rounded;
  TDragGripStyle Grip;
  bool Edge3D;
  std::optional<TColor> Border;
  TColor Glow, GlowBorder, TabSelected, Page, Caption, QAT, Glyph;
  controls::REZORuvar Style;
  // Surfaces: hot, pressed; the dark accent of caption bars and frames;
  // the text colour on the look's faces.
  TColor Hot, Down, Dark, Text;
};

// Mixing is plain arithmetic on real colours; a system colour (the
// desktop-following looks) stays as it is so that it keeps following.
TColor Mix(TColor A, TColor B, int Percent) {
  if ((A & vcl::clSystemColor) == vcl::clSystemColor) return A;
  if ((B & vcl::clSystemColor) == vcl::clSystemColor) return A;
  return MixColors(A, B, Percent);
}

PresetBlock DerivedBlock(const LookKeys& k) {
  PresetBlock b{};
  b.RightHandleColor = k.RightHandle;
  b.RightHandleColorTo = Mix(k.RightHandle, k.Dark, 70);
  b.RightHandleColorHot = k.Hot;
  b.RightHandleColorHotTo = Mix(k.Hot, k.Down, 60);
  b.RightHandleColorDown = k.Down;
  b.RightHandleColorDownTo = Mix(k.Down, k.Hot, 60);
  b.FloatingWindowBorderColor = k.FloatBorder;
  b.FloatingWindowBorderWidth = k.FloatWidth;
  b.RoundedLook = k.Rounded;
  b.DragGripStyle = k.Grip;
  b.Edge3D = k.Edge3D;
  b.Edge3DKind = k.Edge3D ? 2 : 0;
  b.BorderColor = k.Border;
  b.BorderColorHot = Mix(k.Border.value_or(k.GlowBorder), k.Hot, 50);
  b.Color = k.Color;
  b.ColorTo = k.ColorTo;
  b.ColorSteps = k.Steps;
  b.ColorMirror[0] = k.Color, b.ColorMirror[1] = Mix(k.Color, k.ColorTo, 60);
  b.ColorMirror[2] = k.ColorTo, b.ColorMirror[3] = Mix(k.ColorTo, k.Color, 40);
  b.ColorHot = Mix(k.Hot, k.Color, 40), b.ColorHotTo = Mix(k.Hot, k.ColorTo, 60);
  b.ColorHotMirror[0] = Mix(k.Hot, k.Color, 50), b.ColorHotMirror[1] = b.ColorHotMirror[0];
  b.ColorHotMirror[2] = k.Hot, b.ColorHotMirror[3] = Mix(k.Hot, k.Color, 30);
  b.DockColor = k.Dock, b.DockColorTo = k.Dock;
  b.DockDirection = gdHorizontal;
  b.DockSteps = 128;
  b.BtnColor = k.Color, b.BtnColorTo = k.ColorTo;
  b.BtnColorDown = k.Down, b.BtnColorDownTo = Mix(k.Down, k.Hot, 50);
  b.BtnColorHot = k.Hot, b.BtnColorHotTo = Mix(k.Hot, k.Down, 70);
  b.BtnColorChecked = Mix(k.Hot, k.Down, 40), b.BtnColorCheckedTo = Mix(k.Hot, k.Down, 60);
  b.BtnText = b.BtnTextChecked = b.BtnTextDown = b.BtnTextHot = k.Text;
  b.BtnBorderDown = b.BtnBorderHot = k.Dark;
  b.CapColor = k.Dark, b.CapColorTo = k.Dark, b.CapBorder = k.Dark;
  b.CapColorHot = k.Hot, b.CapColorHotTo = k.Hot;
  b.CapText = vcl::clWhite, b.CapTextHot = k.Text;
  Copy4(b.GlowHot, kGlowHot);
  b.GlowBorderHot = kGlowBorderHot;
  Copy4(b.GlowDown, kGlowDown);
  b.GlowBorderDown = kGlowBorderDown;
  Copy4(b.GlowChecked, kGlowChecked);
  b.GlowNormal[0] = k.Glow, b.GlowNormal[1] = Mix(k.Glow, k.ColorTo, 50);
  b.GlowNormal[2] = Mix(k.Glow, k.ColorTo, 30), b.GlowNormal[3] = k.Glow;
  b.GlowBorder = k.GlowBorder;
  b.GrpText = k.Text;
  b.GrpColor[0] = b.GrpColor[1] = k.Hot, b.GrpColor[2] = b.GrpColor[3] = Mix(k.Hot, k.Down, 60);
  b.GrpBorder = k.GlowBorder;
  Copy4(b.GrpTabHot, kGlowHot);
  b.GrpTabSelected[0] = k.Hot, b.GrpTabSelected[1] = Mix(k.Hot, vcl::clWhite, 50);
  b.GrpTabSelected[2] = b.GrpTabSelected[1], b.GrpTabSelected[3] = Mix(k.Hot, vcl::clWhite, 20);
  b.GrpTabTextSelected = k.Text, b.GrpTabBorderSelected = k.GlowBorder, b.GrpTabBorderSelectedHot = k.GlowBorder;
  b.GrpTabBorderHot = k.GlowBorder, b.GrpTabBorder = k.GlowBorder, b.GrpTabText = k.Text, b.GrpTabTextHot = k.Text;
  b.GrpPage[0] = Mix(k.Page, k.Hot, 70), b.GrpPage[1] = k.Page, b.GrpPageBorder = k.GlowBorder;
  b.GrpPageMirror[0] = k.Page, b.GrpPageMirror[1] = k.Page;
  b.GrpBarColor = k.Page, b.GrpBarColorTo = Mix(k.Page, k.ColorTo, 60), b.GrpBarBorder = k.GlowBorder;
  b.GrpBarHot = Mix(k.Page, k.Hot, 60), b.GrpBarHotTo = k.Page, b.GrpBarBorderHot = k.GlowBorder;
  b.GrpCapColor = Mix(k.Page, k.ColorTo, 50), b.GrpCapColorTo = b.GrpCapColor;
  b.GrpCapHot = k.ColorTo, b.GrpCapHotTo = k.ColorTo, b.GrpCapText = k.Text, b.GrpCapTextHot = k.Text;
  b.TabBack = k.Color, b.TabBackTo = k.ColorTo;
  b.TabBorder = kNone, b.TabBorderDisabled = kNone;
  b.TabBorderHot = k.GlowBorder, b.TabBorderSelected = k.Border.value_or(k.GlowBorder);
  b.TabBorderSelectedHot = k.Hot;
  b.TabText = b.TabTextHot = b.TabTextSelected = k.Text, b.TabTextDisabled = 0x808080;
  b.TabSelected[0] = k.TabSelected, b.TabSelected[1] = Mix(k.TabSelected, k.Page, 50);
  b.TabSelected[2] = b.TabSelected[1], b.TabSelected[3] = k.Page;
  b.TabDisabled[0] = vcl::clWhite, b.TabDisabled[1] = vcl::clSilver, b.TabDisabled[2] = vcl::clWhite,
  b.TabDisabled[3] = vcl::clSilver;
  b.TabHot[0] = Mix(k.Hot, k.Color, 60), b.TabHot[1] = b.TabHot[0], b.TabHot[2] = b.TabHot[0], b.TabHot[3] = k.Hot;
  b.TabShadow = Mix(k.Dark, k.Color, 40), b.TabHighLight = Mix(k.Hot, vcl::clWhite, 50);
  b.TabHighLightSelected = k.Hot, b.TabHighLightSelectedHot = Mix(k.Hot, vcl::clWhite, 30);
  b.TabHighLightDown = Mix(k.Down, vcl::clWhite, 30), b.TabHighLightHot = Mix(k.Hot, vcl::clWhite, 20);
  b.PageBorder = k.Border.value_or(k.GlowBorder);
  b.Page[0] = k.Page, b.Page[1] = Mix(k.Page, k.ColorTo, 70), b.Page[2] = Mix(k.Page, k.ColorTo, 40);
  b.Page[3] = k.Page;
  // A shadow a quarter darker than the accent, so the page's edge reads
  // as a shade on light looks too.
  b.PageShadow = (k.Dark & vcl::clSystemColor) == vcl::clSystemColor ? k.Dark : ShadeColor(Mix(k.Dark, k.Page, 50), 25);
  b.PageHighLight = Mix(k.Page, vcl::clWhite, 40);
  b.CaptionColor[0] = k.Caption, b.CaptionColor[1] = Mix(k.Caption, k.ColorTo, 60);
  b.CaptionColor[2] = b.CaptionColor[1], b.CaptionColor[3] = k.ColorTo;
  b.CaptionBorder = k.Border.value_or(k.GlowBorder);
  b.QATColor = k.QAT, b.QATColorTo = k.ColorTo, b.QATBorder = k.FloatBorder;
  b.QATFullSize = k.Caption, b.QATFullSizeTo = k.ColorTo, b.QATFullSizeBorder = k.FloatBorder;
  b.ComponentStyle = k.Style;
  if (k.Glyph != 0) b.GlyphColor = k.Glyph;
  return b;
}

// Office 2007: the pager caption's text colours and the group tab's and
// page's shade lines, and compact glow buttons of their own where asked.
void Office2007Extras(PresetBlock& b, TColor TextExtended, bool OwnCompact) {
  b.PagerCaptionText = 0xAA6A3E;
  b.PagerCaptionTextExtended = TextExtended;
  b.GrpTabShadow = b.TabShadow, b.GrpTabHighLight = b.TabHighLight;
  b.GrpPageShadow = b.PageShadow, b.GrpPageHighLight = b.PageHighLight;
  if (!OwnCompact) return;
  b.OwnCompact = true;
  for (int i = 0; i < 4; ++i) {
    b.CompactHot[i] = MixColors(b.GlowHot[i], b.GlowNormal[i], 70);
    b.CompactDown[i] = MixColors(b.GlowDown[i], b.GlowNormal[i], 70);
    b.CompactChecked[i] = MixColors(b.GlowChecked[i], b.GlowNormal[i], 70);
  }
  b.CompactBorderHot = MixColors(b.GlowBorderHot, b.GlowBorder, 50);
  b.CompactBorderDown = MixColors(b.GlowBorderDown, b.GlowBorder, 50);
}

// The desktop-following looks: button face everywhere, highlight frames,
// and the three fixed colours for hot, pressed and the glow buttons.
PresetBlock DesktopBlock() {
  constexpr TColor hot = 0xEFD3C6, down = 0xB59284, glow = 0xB9D8DC;
  PresetBlock b = DerivedBlock({kBtnFace, kBtnFace, 64, kBtnFace, kBtnFace, kHighlight, 2, false, dsSingleLine, true,
                                std::nullopt, 0xFFFFFF, glow, 0xFFFFFF, kBtnFace, kBtnFace, kBtnFace, 0,
                                controls::tsWindowsXP, hot, down, kHighlight, 0});
  b.RightHandleColorTo = kBtnFace, b.RightHandleColorHotTo = hot, b.RightHandleColorDownTo = down;
  b.BorderColorHot = kHighlight;
  for (TColor* c : {&b.ColorMirror[0], &b.ColorMirror[1], &b.ColorMirror[2], &b.ColorMirror[3]}) *c = kBtnFace;
  b.ColorHot = b.ColorHotTo = hot;
  for (TColor& c : b.ColorHotMirror) c = hot;
  b.BtnColorHot = b.BtnColorHotTo = hot, b.BtnColorDown = b.BtnColorDownTo = down;
  b.BtnColorChecked = b.BtnColorCheckedTo = glow;
  b.BtnBorderDown = b.BtnBorderHot = kHighlight;
  b.CapColor = b.CapColorTo = b.CapBorder = kHighlight, b.CapText = b.CapTextHot = vcl::clWhite;
  b.CapColorHot = b.CapColorHotTo = hot;
  for (TColor& c : b.GlowHot) c = hot;
  for (TColor& c : b.GlowDown) c = down;
  for (TColor& c : b.GlowChecked) c = glow;
  b.GlowBorderHot = b.GlowBorderDown = kHighlight;
  b.GlowNormal[0] = 0xFFFFFF, b.GlowNormal[1] = glow, b.GlowNormal[2] = glow, b.GlowNormal[3] = glow;
  for (TColor& c : b.GrpColor) c = hot;
  for (TColor& c : b.GrpTabHot) c = hot;
  for (TColor& c : b.GrpTabSelected) c = glow;
  b.GrpTabBorderHot = b.GrpTabBorderSelectedHot = kHighlight;
  b.GrpPage[0] = b.GrpPage[1] = b.GrpPageMirror[0] = b.GrpPageMirror[1] = kBtnFace;
  b.GrpBarColor = b.GrpBarColorTo = kBtnFace, b.GrpBarHot = b.GrpBarHotTo = hot;
  b.GrpCapColor = b.GrpCapColorTo = kBtnFace, b.GrpCapHot = b.GrpCapHotTo = hot;
  b.TabSelected[1] = b.TabSelected[2] = b.TabSelected[3] = 0xFFFFFF;
  for (TColor& c : b.TabHot) c = hot;
  b.TabBorderHot = b.TabBorderSelectedHot = kHighlight;
  b.TabShadow = vcl::clGray, b.TabHighLight = b.TabHighLightSelected = b.TabHighLightSelectedHot = hot;
  b.TabHighLightDown = down, b.TabHighLightHot = hot;
  for (TColor& c : b.Page) c = kBtnFace;
  b.PageShadow = vcl::clGray, b.PageHighLight = vcl::clWhite;
  for (TColor& c : b.CaptionColor) c = kBtnFace;
  b.QATColorTo = b.QATFullSize = b.QATFullSizeTo = kBtnFace;
  b.GrpTabShadow = vcl::clGray, b.GrpTabHighLight = vcl::clWhite;
  return b;
}

// Terminal: button face, highlight, grey, silver, black and white only.
PresetBlock TerminalBlock() {
  constexpr TColor gray = 0x808080, silver = 0xC0C0C0;
  PresetBlock b = DerivedBlock({kBtnFace, kBtnFace, 64, kBtnFace, gray, gray, 2, true, dsDots, false, gray, kBtnFace,
                                gray, kHighlight, kBtnFace, kBtnFace, kBtnFace, 0, controls::tsTerminal, silver,
                                kHighlight, gray, 0});
  b.RightHandleColorTo = gray, b.RightHandleColorHotTo = silver, b.RightHandleColorDownTo = kHighlight;
  b.BorderColorHot = gray;
  for (TColor& c : b.ColorMirror) c = kBtnFace;
  b.ColorHot = b.ColorHotTo = silver;
  for (TColor& c : b.ColorHotMirror) c = silver;
  b.BtnColorHot = b.BtnColorHotTo = silver, b.BtnColorDown = b.BtnColorDownTo = kHighlight;
  b.BtnColorChecked = b.BtnColorCheckedTo = silver;
  b.BtnBorderDown = b.BtnBorderHot = 0;
  b.CapColorHot = b.CapColorHotTo = silver;
  for (TColor& c : b.GlowHot) c = silver;
  for (TColor& c : b.GlowDown) c = kHighlight;
  for (TColor& c : b.GlowChecked) c = silver;
  b.GlowBorderHot = b.GlowBorderDown = 0;
  for (TColor& c : b.GlowNormal) c = kBtnFace;
  for (TColor& c : b.GrpColor) c = silver;
  for (TColor& c : b.GrpTabHot) c = silver;
  for (TColor& c : b.GrpTabSelected) c = kHighlight;
  b.GrpTabTextSelected = vcl::clWhite;
  b.GrpPage[0] = b.GrpPage[1] = b.GrpPageMirror[0] = b.GrpPageMirror[1] = kBtnFace;
  b.GrpBarColor = b.GrpBarColorTo = kBtnFace, b.GrpBarHot = b.GrpBarHotTo = silver;
  b.GrpCapColor = b.GrpCapColorTo = silver, b.GrpCapHot = b.GrpCapHotTo = silver;
  for (TColor& c : b.TabSelected) c = kHighlight;
  b.TabTextSelected = vcl::clWhite;
  for (TColor& c : b.TabHot) c = silver;
  b.TabBorderSelected = 0, b.TabBorderSelectedHot = 0;
  b.TabShadow = gray, b.TabHighLight = b.TabHighLightSelected = b.TabHighLightSelectedHot = vcl::clWhite;
  b.TabHighLightDown = b.TabHighLightHot = vcl::clWhite;
  for (TColor& c : b.Page) c = kBtnFace;
  b.PageShadow = gray, b.PageHighLight = vcl::clWhite;
  for (TColor& c : b.CaptionColor) c = kBtnFace;
  b.QATColorTo = b.QATFullSize = b.QATFullSizeTo = kBtnFace;
  return b;
}

PresetBlock BlockOf(TToolBarStyle Style) {
  using namespace controls;
  switch (Style) {
    case bsOffice2003Blue: {
      PresetBlock b = DerivedBlock({0xFDEADA, 0xE4AE88, 64, 0xF5BFA0, 0xF1A675, 0x913500, 2, true, dsDots, false,
                                    0xEBC7AB, 0xEEDBC8, 0xE0B99B, 0xFCDCC4, 0xFADAC4, 0xE4AE88, 0xFDEADA, 0,
                                    tsOffice2003Blue, 0xCCF4FF, 0x4E91FE, SwapRedBlue(0x003591), 0});
      return b;
    }
    case bsOffice2003Silver: {
      PresetBlock b = DerivedBlock({0xECE2E1, 0xB39698, 64, 0xE6D8D8, 0xC8B2B3, 0x927476, 2, true, dsDots, false,
                                    std::nullopt, 0xE6E9E2, 0x927476, 0x927476, 0xEBDEDE, 0xE6D8D8, 0xECE2E1, 0,
                                    tsOffice2003Silver, 0xCCF4FF, 0x4E91FE, 0x927476, 0});
      b.RightHandleColorDown.reset(), b.RightHandleColorDownTo.reset();
      return b;
    }
    case bsOffice2003Olive: {
      PresetBlock b = DerivedBlock({0xCFF0EA, 0x8CC0B1, 64, 0xAADADA, 0x8CC2B0, 0x6B7760, 2, true, dsDots, false,
                                    std::nullopt, 0xCFF0EA, 0x8CC0B1, 0x8CC0B1, 0xB9EAE1, 0x8CC0B1, 0xCFF0EA, 0,
                                    tsOffice2003Olive, 0xCCF4FF, 0x4E91FE, SwapRedBlue(0x60776B), 0});
      b.RightHandleColorDown.reset(), b.RightHandleColorDownTo.reset();
      return b;
    }
    case bsOffice2007Luna: {
      PresetBlock b = DerivedBlock({0xEDD8C7, 0xF6E9D9, std::nullopt, 0xEDD8C7, 0xDFD2C5, 0xE3B28D, 1, true, dsNone,
                                    false, 0xD7C8B7, 0xEEDBC8, 0xE0B99B, 0xFEF6F0, 0xF3E5DA, 0xECE7E2, 0xF4E7DE,
                                    0xB99A82, tsOffice2007Luna, 0xCCF4FF, 0x7BC8FB, 0xE3B28D, 0x8B4215});
      Office2007Extras(b, 0x797069, true);
      return b;
    }
    case bsOffice2007Obsidian: {
      PresetBlock b = DerivedBlock({0xC5BBB4, 0xECECE5, std::nullopt, 0xCFC6C1, 0xCAC7C6, 0xB4B0AE, 1, true, dsNone,
                                    false, 0xB4B0AE, 0xDFDED6, 0xC0BCB2, 0xEFEEED, 0xE0DBD7, 0x524743, 0x847E7B,
                                    0xB3A69C, tsOffice2007Obsidian, SwapRedBlue(0xFFF4CC), SwapRedBlue(0xFBC87B),
                                    SwapRedBlue(0x434752), 0});
      Office2007Extras(b, vcl::clWhite, false);
      b.AltQATShape = true;
      b.TabBackVertical = true;
      return b;
    }
    case bsWindowsXP:
    case bsOfficeXP:
      return DesktopBlock();
    case bsWhidbeyStyle:
      return DerivedBlock({0xF5F9FA, 0xA8C0C0, 64, 0xD7E5E5, 0xEBEEEF, 0x828F92, 2, true, dsDots, false,
                           std::nullopt, 0xFFFFFF, 0x99A8AC, 0xADC4C4, 0xD2E6E8, 0x859D9D, 0xF5F9FA, 0, tsWhidbey,
                           0xEED2C1, 0xE2B598, 0x828F92, 0});
    case bsOffice2007Silver: {
      PresetBlock b = DerivedBlock({0xE7DCD5, 0xF4F4EE, std::nullopt, 0xE5D7D7, 0xC6B0B1, 0xC6B0B1, 1, true, dsNone,
                                    false, 0x939291, 0xF3F3F1, 0xCAC7C6, 0xF6F6F6, 0xF8F4F1, 0xEBE8E7, 0xE7DCD5,
                                    0xA59180, tsOffice2007Silver, 0xCCF4FF, 0x7BC8FB, 0x939291, 0x5C534C});
      Office2007Extras(b, 0x797069, true);
      return b;
    }
    case bsWindowsVista:
      return DerivedBlock({0xFDF8F1, 0xFCEFD5, 64, 0xFCEFD5, 0xF7DAA2, 0xFCF2DA, 2, true, dsDots, false, 0xFCF2DA,
                           0xFDF8F1, 0xFDDE99, 0xFEF9F0, 0xFEF9F0, 0xFEF9F0, 0xFDF8F1, 0, tsWindowsVista, 0xFEF3E6,
                           0xF6D9A8, 0xCEA27D, 0});
    case bsWindows7: {
      if (!GetGlobalWin7ScenicRibbon())
        return DerivedBlock({0xFCEBDC, 0xFCDBC1, 64, 0xFCDBC1, 0xECB58C, 0xCEA27D, 2, true, dsDots, false, 0xCEA27D,
                             0xFFFFFF, 0xE0B99B, 0xFCEBDC, 0xFCEBDC, 0xFCEBDC, 0xFCEBDC, 0, tsWindows7, 0xFDF4E8,
                             0xF1D5B6, 0xCEA27D, 0});
      PresetBlock b = DerivedBlock({0xDBC9BA, 0xDBC9BA, 64, 0xDBC9BA, 0xECB58C, 0xCEA27D, 2, true, dsDots, false,
                                    0xDBC9BA, 0xFBF8F6, 0xD2BEB0, 0xFFFDFB, 0xFFFDFB, 0xF5E9DF, 0xF5E9DF, 0,
                                    tsWindows7, 0xFDF4E8, 0xF1D5B6, 0xCEA27D, 0});
      b.Scenic = true;
      b.GrpTabShadow = b.TabShadow, b.GrpTabHighLight = kNone;
      b.GrpPageShadow = b.PageShadow, b.GrpPageHighLight = kNone;
      b.TabHighLight = b.TabHighLightHot = b.TabHighLightSelected = b.TabHighLightSelectedHot = kNone;
      b.TabHighLightDown = kNone, b.PageHighLight = kNone;
      b.GlowDisabled[0] = b.GlowDisabled[1] = b.GlowDisabled[2] = b.GlowDisabled[3] = 0xF2F2F2;
      b.GlowBorderDisabled = 0xC0C0C0;
      b.GrpTabDisabled[0] = b.GrpTabDisabled[1] = b.GrpTabDisabled[2] = b.GrpTabDisabled[3] = 0xF2F2F2;
      b.TabNormal[0] = 0xF5E9DF, b.TabNormal[1] = 0xF5E9DF, b.TabNormal[2] = 0xF5E9DF, b.TabNormal[3] = 0xFBF5F0;
      b.TabBorderDown = 0xCEA27D;
      b.GrpCapBorder = 0xD2BEB0, b.GrpCapBorderHot = 0xCEA27D;
      return b;
    }
    case bsTerminal:
      return TerminalBlock();
    case bsOffice2003Classic:
      return ClassicBlock();
    case bsCustom:
      break;
  }
  return ClassicBlock();
}

void SetGlow4(controls::TGlowButtonAppearance* g, const TColor (&Hot)[4], TColor BorderHot, const TColor (&Down)[4],
              TColor BorderDown, const TColor (&Checked)[4]) {
  g->SetColorHot(Hot[0]), g->SetColorHotTo(Hot[1]), g->SetColorMirrorHot(Hot[2]), g->SetColorMirrorHotTo(Hot[3]);
  g->SetBorderColorHot(BorderHot);
  g->SetGradientHot(controls::ggVertical), g->SetGradientMirrorHot(controls::ggVertical);
  g->SetColorDown(Down[0]), g->SetColorDownTo(Down[1]), g->SetColorMirrorDown(Down[2]);
  g->SetColorMirrorDownTo(Down[3]);
  g->SetBorderColorDown(BorderDown);
  g->SetGradientDown(controls::ggVertical), g->SetGradientMirrorDown(controls::ggVertical);
  g->SetColorChecked(Checked[0]), g->SetColorCheckedTo(Checked[1]), g->SetColorMirrorChecked(Checked[2]);
  g->SetColorMirrorCheckedTo(Checked[3]);
  g->SetGradientChecked(controls::ggVertical), g->SetGradientMirrorChecked(controls::ggVertical);
}

void ApplyBlock(TCustomRorIvezEviStyler& s, const PresetBlock& b) {
  s.SetRightHandleColor(b.RightHandleColor);
  s.SetRightHandleColorTo(b.RightHandleColorTo);
  s.SetRightHandleColorHot(b.RightHandleColorHot);
  s.SetRightHandleColorHotTo(b.RightHandleColorHotTo);
  if (b.RightHandleColorDown) s.SetRightHandleColorDown(*b.RightHandleColorDown);
  if (b.RightHandleColorDownTo) s.SetRightHandleColorDownTo(*b.RightHandleColorDownTo);
  s.SetFloatingWindowBorderColor(b.FloatingWindowBorderColor);
  s.SetFloatingWindowBorderWidth(b.FloatingWindowBorderWidth);
  s.SetRoundedLook(b.RoundedLook);
  s.SetDragGripStyle(b.DragGripStyle);
  s.SetEdge3DKind(b.Edge3DKind);
  s.SetEdge3D(b.Edge3D);
  s.SetBorderColorHot(b.BorderColorHot);
  if (b.BorderColor) s.SetBorderColor(*b.BorderColor);
  if (b.GlyphColor) s.SetGlyphColor(*b.GlyphColor);

  TVistaGradientBackground* c = s.Color();
  c->SetColor(b.Color), c->SetColorTo(b.ColorTo), c->SetDirection(gdVertical);
  if (b.ColorSteps) c->SetSteps(*b.ColorSteps);
  c->Mirror()->SetColor(b.ColorMirror[0]), c->Mirror()->SetColorTo(b.ColorMirror[1]);
  c->Mirror()->SetColorMirror(b.ColorMirror[2]), c->Mirror()->SetColorMirrorTo(b.ColorMirror[3]);
  TVistaGradientBackground* h = s.ColorHot();
  h->SetColor(b.ColorHot), h->SetColorTo(b.ColorHotTo);
  h->Mirror()->SetColor(b.ColorHotMirror[0]), h->Mirror()->SetColorTo(b.ColorHotMirror[1]);
  h->Mirror()->SetColorMirror(b.ColorHotMirror[2]), h->Mirror()->SetColorMirrorTo(b.ColorHotMirror[3]);
  h->SetDirection(gdVertical);
  TGradientBackground* d = s.DockColor();
  d->SetColorTo(b.DockColorTo), d->SetColor(b.DockColor), d->SetDirection(b.DockDirection), d->SetSteps(b.DockSteps);

  TButtonAppearance* ba = s.ButtonAppearance();
  ba->SetColor(b.BtnColor), ba->SetColorTo(b.BtnColorTo), ba->SetColorDown(b.BtnColorDown);
  ba->SetColorDownTo(b.BtnColorDownTo), ba->SetColorHot(b.BtnColorHot), ba->SetColorHotTo(b.BtnColorHotTo);
  ba->SetColorChecked(b.BtnColorChecked), ba->SetColorCheckedTo(b.BtnColorCheckedTo);
  ba->SetCaptionTextColor(b.BtnText), ba->SetCaptionTextColorChecked(b.BtnTextChecked);
  ba->SetCaptionTextColorDown(b.BtnTextDown), ba->SetCaptionTextColorHot(b.BtnTextHot);
  ba->SetBorderDownColor(b.BtnBorderDown), ba->SetBorderHotColor(b.BtnBorderHot);

  TCaptionAppearance* ca = s.CaptionAppearance();
  ca->SetCaptionColor(b.CapColor), ca->SetCaptionColorTo(b.CapColorTo), ca->SetCaptionBorderColor(b.CapBorder);
  ca->SetCaptionColorHot(b.CapColorHot), ca->SetCaptionColorHotTo(b.CapColorHotTo);
  ca->SetCaptionTextColor(b.CapText), ca->SetCaptionTextColorHot(b.CapTextHot);

  controls::TGlowButtonAppearance* g = s.GlowButtonAppearance();
  SetGlow4(g, b.GlowHot, b.GlowBorderHot, b.GlowDown, b.GlowBorderDown, b.GlowChecked);
  g->SetColor(b.GlowNormal[0]), g->SetColorTo(b.GlowNormal[1]), g->SetColorMirror(b.GlowNormal[2]);
  g->SetColorMirrorTo(b.GlowNormal[3]), g->SetBorderColor(b.GlowBorder);
  g->SetGradient(controls::ggVertical), g->SetGradientMirror(controls::ggVertical);
  if (b.Scenic) {
    g->SetColorDisabled(b.GlowDisabled[0]), g->SetColorDisabledTo(b.GlowDisabled[1]);
    g->SetColorMirrorDisabled(b.GlowDisabled[2]), g->SetColorMirrorDisabledTo(b.GlowDisabled[3]);
    g->SetBorderColorDisabled(b.GlowBorderDisabled);
  }
  s.CompactGlowButtonAppearance()->Assign(g);
  if (b.OwnCompact)
    SetGlow4(s.CompactGlowButtonAppearance(), b.CompactHot, b.CompactBorderHot, b.CompactDown, b.CompactBorderDown,
             b.CompactChecked);

  TGroupAppearance* ga = s.GroupAppearance();
  ga->SetTextColor(b.GrpText);
  ga->SetColor(b.GrpColor[0]), ga->SetColorTo(b.GrpColor[1]), ga->SetColorMirror(b.GrpColor[2]);
  ga->SetColorMirrorTo(b.GrpColor[3]);
  ga->SetGradient(controls::ggVertical), ga->SetGradientMirror(controls::ggVertical);
  ga->SetBorderColor(b.GrpBorder);
  TCustomTabAppearance* gt = ga->TabAppearance();
  gt->SetColorHot(b.GrpTabHot[0]), gt->SetColorHotTo(b.GrpTabHot[1]), gt->SetColorMirrorHot(b.GrpTabHot[2]);
  gt->SetColorMirrorHotTo(b.GrpTabHot[3]);
  gt->SetGradient(controls::ggVertical), gt->SetGradientMirror(controls::ggVertical);
  gt->SetColorSelected(b.GrpTabSelected[0]), gt->SetColorSelectedTo(b.GrpTabSelected[1]);
  gt->SetColorMirrorSelected(b.GrpTabSelected[2]), gt->SetColorMirrorSelectedTo(b.GrpTabSelected[3]);
  gt->SetTextColorSelected(b.GrpTabTextSelected), gt->SetBorderColorSelected(b.GrpTabBorderSelected);
  gt->SetBorderColorSelectedHot(b.GrpTabBorderSelectedHot), gt->SetBorderColorHot(b.GrpTabBorderHot);
  gt->SetBorderColor(b.GrpTabBorder), gt->SetTextColor(b.GrpTabText), gt->SetTextColorHot(b.GrpTabTextHot);
  if (b.GrpTabShadow) gt->SetShadowColor(*b.GrpTabShadow);
  if (b.GrpTabHighLight) gt->SetHighLightColor(*b.GrpTabHighLight);
  TVistaPageBackground* gp = ga->PageAppearance();
  gp->SetColor(b.GrpPage[0]), gp->SetColorTo(b.GrpPage[1]), gp->SetBorderColor(b.GrpPageBorder);
  gp->SetColorMirror(b.GrpPageMirror[0]), gp->SetColorMirrorTo(b.GrpPageMirror[1]);
  gp->SetGradient(controls::ggVertical), gp->SetGradientMirror(controls::ggVertical);
  if (b.GrpPageShadow) gp->SetShadowColor(*b.GrpPageShadow);
  if (b.GrpPageHighLight) gp->SetHighLightColor(*b.GrpPageHighLight);
  TToolBarAppearance* gb = ga->ToolBarAppearance();
  gb->Color()->SetColor(b.GrpBarColor), gb->Color()->SetColorTo(b.GrpBarColorTo), gb->SetBorderColor(b.GrpBarBorder);
  gb->ColorHot()->SetColor(b.GrpBarHot), gb->ColorHot()->SetColorTo(b.GrpBarHotTo);
  gb->SetBorderColorHot(b.GrpBarBorderHot);
  TCaptionAppearance* gc = ga->CaptionAppearance();
  gc->SetCaptionColor(b.GrpCapColor), gc->SetCaptionColorTo(b.GrpCapColorTo);
  gc->SetCaptionColorHot(b.GrpCapHot), gc->SetCaptionColorHotTo(b.GrpCapHotTo);
  gc->SetCaptionTextColor(b.GrpCapText), gc->SetCaptionTextColorHot(b.GrpCapTextHot);
  if (b.Scenic) {
    gt->SetColorDisabled(b.GrpTabDisabled[0]), gt->SetColorDisabledTo(b.GrpTabDisabled[1]);
    gt->SetColorMirrorDisabled(b.GrpTabDisabled[2]), gt->SetColorMirrorDisabledTo(b.GrpTabDisabled[3]);
    gt->SetColor(b.TabNormal[0]), gt->SetColorTo(b.TabNormal[1]), gt->SetColorMirror(b.TabNormal[2]);
    gt->SetColorMirrorTo(b.TabNormal[3]);
    gc->SetCaptionBorderColor(b.GrpCapBorder), gc->SetCaptionBorderColorHot(b.GrpCapBorderHot);
  }

  TTabAppearance* t = s.TabAppearance();
  t->BackGround()->SetColor(b.TabBack), t->BackGround()->SetColorTo(b.TabBackTo);
  if (b.TabBackVertical) t->BackGround()->SetDirection(gdVertical);
  t->SetBorderColor(b.TabBorder), t->SetBorderColorDisabled(b.TabBorderDisabled);
  t->SetBorderColorHot(b.TabBorderHot), t->SetBorderColorSelected(b.TabBorderSelected);
  t->SetBorderColorSelectedHot(b.TabBorderSelectedHot);
  t->SetTextColor(b.TabText), t->SetTextColorHot(b.TabTextHot), t->SetTextColorSelected(b.TabTextSelected);
  t->SetTextColorDisabled(b.TabTextDisabled);
  t->SetColorSelected(b.TabSelected[0]), t->SetColorSelectedTo(b.TabSelected[1]);
  t->SetColorMirrorSelected(b.TabSelected[2]), t->SetColorMirrorSelectedTo(b.TabSelected[3]);
  t->SetColorDisabled(b.TabDisabled[0]), t->SetColorDisabledTo(b.TabDisabled[1]);
  t->SetColorMirrorDisabled(b.TabDisabled[2]), t->SetColorMirrorDisabledTo(b.TabDisabled[3]);
  t->SetColorHot(b.TabHot[0]), t->SetColorHotTo(b.TabHot[1]), t->SetColorMirrorHot(b.TabHot[2]);
  t->SetColorMirrorHotTo(b.TabHot[3]);
  t->SetGradient(controls::ggVertical), t->SetGradientDisabled(controls::ggVertical);
  t->SetGradientHot(controls::ggVertical), t->SetGradientMirrorDisabled(controls::ggVertical);
  t->SetGradientMirrorHot(controls::ggVertical), t->SetGradientMirrorSelected(controls::ggVertical);
  t->SetGradientSelected(controls::ggVertical);
  t->SetShadowColor(b.TabShadow), t->SetHighLightColor(b.TabHighLight);
  t->SetHighLightColorSelected(b.TabHighLightSelected), t->SetHighLightColorSelectedHot(b.TabHighLightSelectedHot);
  t->SetHighLightColorDown(b.TabHighLightDown), t->SetHighLightColorHot(b.TabHighLightHot);
  if (b.Scenic) {
    t->SetColor(b.TabNormal[0]), t->SetColorTo(b.TabNormal[1]), t->SetColorMirror(b.TabNormal[2]);
    t->SetColorMirrorTo(b.TabNormal[3]), t->SetBorderColorDown(b.TabBorderDown);
  }

  TVistaPageBackground* p = s.PageAppearance();
  p->SetBorderColor(b.PageBorder), p->SetColor(b.Page[0]), p->SetColorTo(b.Page[1]);
  p->SetColorMirror(b.Page[2]), p->SetColorMirrorTo(b.Page[3]);
  p->SetGradient(controls::ggVertical), p->SetGradientMirror(controls::ggVertical);
  p->SetShadowColor(b.PageShadow), p->SetHighLightColor(b.PageHighLight);

  TVistaTextBackground* pc = s.PagerCaption();
  pc->SetColor(b.CaptionColor[0]), pc->SetColorTo(b.CaptionColor[1]), pc->SetColorMirror(b.CaptionColor[2]);
  pc->SetColorMirrorTo(b.CaptionColor[3]), pc->SetBorderColor(b.CaptionBorder);
  pc->SetGradient(controls::ggVertical), pc->SetGradientMirror(controls::ggVertical);
  if (b.PagerCaptionText) pc->SetTextColor(*b.PagerCaptionText);
  if (b.PagerCaptionTextExtended) pc->SetTextColorExtended(*b.PagerCaptionTextExtended);

  TQATAppearance* q = s.QATAppearance();
  q->SetColor(b.QATColor), q->SetColorTo(b.QATColorTo), q->SetBorderColor(b.QATBorder);
  q->SetFullSizeColor(b.QATFullSize), q->SetFullSizeColorTo(b.QATFullSizeTo);
  q->SetFullSizeBorderColor(b.QATFullSizeBorder);

  if (b.AltQATShape) s.SetAltQATShape(true);
  if (b.ComponentStyle) s.SetComponentStyle(*b.ComponentStyle);
}

vcl::TWinControl* FirstWindowedOwnerOf(vcl::TComponent* Owner) {
  for (vcl::TComponent* c = Owner; c; c = c->Owner())
    if (auto* w = dynamic_cast<vcl::TWinControl*>(c)) return w;
  return nullptr;
}

}  // namespace

bool IsWindowsXPOrLater() {
  rtl::OSVERSIONINFO version;
  version.dwOSVersionInfoSize = sizeof version;
  if (!rtl::GetVersionEx(&version)) return false;
  return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion != 0);
}

TRorIvezEviOfficeStyler::TRorIvezEviOfficeStyler(vcl::TComponent* Owner) : TCustomRorIvezEviStyler(Owner) {
  Notifier_ = new TNotifierWindow(this);
  if (vcl::TWinControl* parent = FirstWindowedOwnerOf(Owner)) Notifier_->SetParent(parent);
  Notifier_->OnThemeChange = [this](vcl::TObject*) { ThemeChanged(); };
  const vcl::TComponentState& state = ComponentState();
  FreshlyDesigned_ = state.Contains(vcl::csDesigning) && Owner &&
                     !Owner->ComponentState().Contains(vcl::csReading) &&
                     !Owner->ComponentState().Contains(vcl::csLoading);
  if (FreshlyDesigned_) {
    SetStyle(bsWindowsXP);
    SetStyle(bsOffice2003Blue);
  }
}

TRorIvezEviOfficeStyler::~TRorIvezEviOfficeStyler() = default;

void TRorIvezEviOfficeStyler::SetStyle(TToolBarStyle Value) {
  if (Value == Style_) return;
  Style_ = Value;
  TCustomRorIvezEviStyler::SetComponentStyle(controls::tsCustom);
  SetGlyphColor(0);
  PagerCaption()->SetTextColor(0x808080);
  PagerCaption()->SetTextColorExtended(0xFF0000);
  PagerCaption()->Font()->SetSize(10);
  SetAltQATShape(false);
  const rtl::AnsiString fontName = controls::IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma";
  if (TabAppearance()->SystemFont()) TabAppearance()->Font()->SetName(fontName);
  if (PagerCaption()->SystemFont()) PagerCaption()->Font()->SetName(fontName);
  if (GroupAppearance()->SystemFont()) GroupAppearance()->Font()->SetName(fontName);
  if (ButtonAppearance()->SystemFont()) ButtonAppearance()->CaptionFont()->SetName(fontName);
  if (SystemFont()) {
    Font()->SetName(fontName);
    CaptionFont()->SetName(fontName);
  }
  if (Value == bsOffice2003Blue || Value == bsOffice2003Silver || Value == bsOffice2003Olive ||
      Value == bsWhidbeyStyle) {
    SetGlow4(GlowButtonAppearance(), kGlowHot, kGlowBorderHot, kGlowDown, kGlowBorderDown, kGlowChecked);
    CompactGlowButtonAppearance()->Assign(GlowButtonAppearance());
  }
  if (Value != bsCustom) ApplyBlock(*this, BlockOf(Value));
  BroadcastChange(scColors);
}

void TRorIvezEviOfficeStyler::ThemeChanged() {
  if (!AutoThemeAdapt_) return;
  switch (DetectXPColorScheme()) {
    case 1: SetStyle(bsOffice2003Blue); break;
    case 2: SetStyle(bsOffice2003Olive); break;
    case 3: SetStyle(bsOffice2003Silver); break;
    default: SetStyle(bsOffice2003Classic); break;
  }
}

void TRorIvezEviOfficeStyler::Loaded() {
  TCustomRorIvezEviStyler::Loaded();
  if (!ComponentState().Contains(vcl::csDesigning)) ThemeChanged();
}

void TRorIvezEviOfficeStyler::SetComponentStyle(controls::REZORuvar Value) {
  using namespace controls;
  static constexpr TToolBarStyle kMap[] = {
      bsOffice2003Blue, bsOffice2003Silver, bsOffice2003Olive, bsOffice2003Classic, bsOffice2007Luna,
      bsOffice2007Obsidian, bsWindowsXP, bsWhidbeyStyle, bsCustom, bsOffice2007Silver, bsWindowsVista, bsWindows7,
      bsTerminal};
  if (Value == tsCustom) return;
  SetStyle(kMap[static_cast<int>(Value)]);
}

}  // namespace ribbon
