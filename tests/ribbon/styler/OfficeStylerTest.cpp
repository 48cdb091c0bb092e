// The office styler: the classic look value by value, the telling values
// of every other look, what a look leaves alone, the broadcasts of a
// style change, the style interface's mapping, and following the
// desktop's colour scheme through the theme service.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/LumGDIP.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace {

using namespace ribbon;
using S = TRorIvezEviOfficeStyler*;

template <typename T>
long long V(T Value) {
  return static_cast<long long>(Value);
}

// Hears the styler's broadcasts as a toolbar would.
class OfficeStylerListener : public vcl::TCustomControl, public IRorIvezEviStylerClient {
 public:
  OfficeStylerListener() : vcl::TCustomControl(nullptr) {}
  TStylerClientKind StylerClientKind() const override { return TStylerClientKind::sckToolBar; }
  void StylerChanged(int Code) override { codes.push_back(Code); }
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return styler_; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override {
    if (styler_) styler_->UnregisterControl(this);
    styler_ = Value;
    if (styler_) styler_->RegisterControl(this);
  }
  std::vector<int> codes;

 private:
  TCustomRorIvezEviStyler* styler_ = nullptr;
};

// A styler whose loading can be finished by the test.
class LoadingOfficeStyler : public TRorIvezEviOfficeStyler {
 public:
  explicit LoadingOfficeStyler(vcl::TComponent* Owner) : TRorIvezEviOfficeStyler(Owner) {}
  void FinishLoading() { Loaded(); }
};

// Restores the theme service's defaults after a test changed them.
struct ThemeServiceGuard {
  ~ThemeServiceGuard() {
    vcl::SetThemeColorSchemeName(u"NormalColor");
    vcl::SetThemeActive(true);
    vcl::SetModuleHidden("uxtheme", false);
  }
};

TEST(RibbonOfficeStyler, ClassicLookValueByValue) {
  auto* s = new TRorIvezEviOfficeStyler(nullptr);
  EXPECT_EQ(s->Style(), bsCustom);
  EXPECT_FALSE(s->AutoThemeAdapt());
  EXPECT_FALSE(s->FreshlyDesigned());
  s->SetStyle(bsOffice2003Classic);
  struct Row {
    const char* name;
    long long actual, expected;
  };
  const std::vector<Row> rows = {
      {"RightHandleColor", V(s->RightHandleColor()), V(0x808080)},
      {"RightHandleColorTo", V(s->RightHandleColorTo()), V(0x808080)},
      {"RightHandleColorHot", V(s->RightHandleColorHot()), V(0xD2BDB6)},
      {"RightHandleColorHotTo", V(s->RightHandleColorHotTo()), V(vcl::clNone)},
      {"RightHandleColorDown", V(s->RightHandleColorDown()), V(0xB59285)},
      {"RightHandleColorDownTo", V(s->RightHandleColorDownTo()), V(vcl::clNone)},
      {"FloatingWindowBorderColor", V(s->FloatingWindowBorderColor()), V(0x828F92)},
      {"FloatingWindowBorderWidth", V(s->FloatingWindowBorderWidth()), V(2)},
      {"RoundedLook", V(s->RoundedLook()), V(true)},
      {"DragGripStyle", V(s->DragGripStyle()), V(ribbon::dsDots)},
      {"Edge3DKind", V(s->Edge3DKind()), V(0)},
      {"Edge3D", V(s->Edge3D()), V(false)},
      {"BorderColorHot", V(s->BorderColorHot()), V(0xD8D5D4)},
      {"Color.Color", V(s->Color()->Color()), V(0xFFFFFF)},
      {"Color.ColorTo", V(s->Color()->ColorTo()), V(0xC9D1D5)},
      {"Color.Direction", V(s->Color()->Direction()), V(ribbon::gdVertical)},
      {"Color.Steps", V(s->Color()->Steps()), V(64)},
      {"Color.Mirror.Color", V(s->Color()->Mirror()->Color()), V(0xDFE3E6)},
      {"Color.Mirror.ColorTo", V(s->Color()->Mirror()->ColorTo()), V(0xDFE3E6)},
      {"Color.Mirror.ColorMirror", V(s->Color()->Mirror()->ColorMirror()), V(0xCAD2D6)},
      {"Color.Mirror.ColorMirrorTo", V(s->Color()->Mirror()->ColorMirrorTo()), V(0xEAEDEF)},
      {"ColorHot.Color", V(s->ColorHot()->Color()), V(0xF5F9FA)},
      {"ColorHot.ColorTo", V(s->ColorHot()->ColorTo()), V(0xF5F9FA)},
      {"ColorHot.Mirror.Color", V(s->ColorHot()->Mirror()->Color()), V(0xEDEFF6)},
      {"ColorHot.Mirror.ColorTo", V(s->ColorHot()->Mirror()->ColorTo()), V(0xEDEFF6)},
      {"ColorHot.Mirror.ColorMirror", V(s->ColorHot()->Mirror()->ColorMirror()), V(0xDFE3E6)},
      {"ColorHot.Mirror.ColorMirrorTo", V(s->ColorHot()->Mirror()->ColorMirrorTo()), V(0xF4F5F7)},
      {"ColorHot.Direction", V(s->ColorHot()->Direction()), V(ribbon::gdVertical)},
      {"DockColor.ColorTo", V(s->DockColor()->ColorTo()), V(0xD2BDB6)},
      {"DockColor.Color", V(s->DockColor()->Color()), V(0xD2BDB6)},
      {"DockColor.Direction", V(s->DockColor()->Direction()), V(ribbon::gdHorizontal)},
      {"DockColor.Steps", V(s->DockColor()->Steps()), V(128)},
      {"ButtonAppearance.Color", V(s->ButtonAppearance()->Color()), V(vcl::clBtnFace)},
      {"ButtonAppearance.ColorTo", V(s->ButtonAppearance()->ColorTo()), V(vcl::clNone)},
      {"ButtonAppearance.ColorDown", V(s->ButtonAppearance()->ColorDown()), V(0xE2B598)},
      {"ButtonAppearance.ColorDownTo", V(s->ButtonAppearance()->ColorDownTo()), V(vcl::clNone)},
      {"ButtonAppearance.ColorHot", V(s->ButtonAppearance()->ColorHot()), V(0xD2BDB6)},
      {"ButtonAppearance.ColorHotTo", V(s->ButtonAppearance()->ColorHotTo()), V(vcl::clNone)},
      {"ButtonAppearance.ColorChecked", V(s->ButtonAppearance()->ColorChecked()), V(0xD8D5D4)},
      {"ButtonAppearance.ColorCheckedTo", V(s->ButtonAppearance()->ColorCheckedTo()), V(vcl::clNone)},
      {"ButtonAppearance.CaptionTextColor", V(s->ButtonAppearance()->CaptionTextColor()), V(0x000000)},
      {"ButtonAppearance.CaptionTextColorChecked", V(s->ButtonAppearance()->CaptionTextColorChecked()), V(0x000000)},
      {"ButtonAppearance.CaptionTextColorDown", V(s->ButtonAppearance()->CaptionTextColorDown()), V(0x000000)},
      {"ButtonAppearance.CaptionTextColorHot", V(s->ButtonAppearance()->CaptionTextColorHot()), V(0x000000)},
      {"ButtonAppearance.BorderDownColor", V(s->ButtonAppearance()->BorderDownColor()), V(0x000000)},
      {"ButtonAppearance.BorderHotColor", V(s->ButtonAppearance()->BorderHotColor()), V(0x000000)},
      {"CaptionAppearance.CaptionColor", V(s->CaptionAppearance()->CaptionColor()), V(0x808080)},
      {"CaptionAppearance.CaptionColorTo", V(s->CaptionAppearance()->CaptionColorTo()), V(0x808080)},
      {"CaptionAppearance.CaptionBorderColor", V(s->CaptionAppearance()->CaptionBorderColor()), V(0x000000)},
      {"CaptionAppearance.CaptionColorHot", V(s->CaptionAppearance()->CaptionColorHot()), V(0xD2BDB6)},
      {"CaptionAppearance.CaptionColorHotTo", V(s->CaptionAppearance()->CaptionColorHotTo()), V(0xD2BDB6)},
      {"CaptionAppearance.CaptionTextColor", V(s->CaptionAppearance()->CaptionTextColor()), V(0xFFFFFF)},
      {"CaptionAppearance.CaptionTextColorHot", V(s->CaptionAppearance()->CaptionTextColorHot()), V(0xFFFFFF)},
      {"GlowButtonAppearance.ColorHot", V(s->GlowButtonAppearance()->ColorHot()), V(0xEBFDFF)},
      {"GlowButtonAppearance.ColorHotTo", V(s->GlowButtonAppearance()->ColorHotTo()), V(0xACECFF)},
      {"GlowButtonAppearance.ColorMirrorHot", V(s->GlowButtonAppearance()->ColorMirrorHot()), V(0x59DAFF)},
      {"GlowButtonAppearance.ColorMirrorHotTo", V(s->GlowButtonAppearance()->ColorMirrorHotTo()), V(0xA4E9FF)},
      {"GlowButtonAppearance.BorderColorHot", V(s->GlowButtonAppearance()->BorderColorHot()), V(0x99CEDB)},
      {"GlowButtonAppearance.GradientHot", V(s->GlowButtonAppearance()->GradientHot()), V(controls::ggVertical)},
      {"GlowButtonAppearance.GradientMirrorHot", V(s->GlowButtonAppearance()->GradientMirrorHot()), V(controls::ggVertical)},
      {"GlowButtonAppearance.ColorDown", V(s->GlowButtonAppearance()->ColorDown()), V(0x76AFF1)},
      {"GlowButtonAppearance.ColorDownTo", V(s->GlowButtonAppearance()->ColorDownTo()), V(0x4190F3)},
      {"GlowButtonAppearance.ColorMirrorDown", V(s->GlowButtonAppearance()->ColorMirrorDown()), V(0x0E72F1)},
      {"GlowButtonAppearance.ColorMirrorDownTo", V(s->GlowButtonAppearance()->ColorMirrorDownTo()), V(0x4C9FFD)},
      {"GlowButtonAppearance.BorderColorDown", V(s->GlowButtonAppearance()->BorderColorDown()), V(0x45667B)},
      {"GlowButtonAppearance.GradientDown", V(s->GlowButtonAppearance()->GradientDown()), V(controls::ggVertical)},
      {"GlowButtonAppearance.GradientMirrorDown", V(s->GlowButtonAppearance()->GradientMirrorDown()), V(controls::ggVertical)},
      {"GlowButtonAppearance.ColorChecked", V(s->GlowButtonAppearance()->ColorChecked()), V(0xB5DBFB)},
      {"GlowButtonAppearance.ColorCheckedTo", V(s->GlowButtonAppearance()->ColorCheckedTo()), V(0x78C7FE)},
      {"GlowButtonAppearance.ColorMirrorChecked", V(s->GlowButtonAppearance()->ColorMirrorChecked()), V(0x9FEBFD)},
      {"GlowButtonAppearance.ColorMirrorCheckedTo", V(s->GlowButtonAppearance()->ColorMirrorCheckedTo()), V(0x56B4FE)},
      {"GlowButtonAppearance.GradientChecked", V(s->GlowButtonAppearance()->GradientChecked()), V(controls::ggVertical)},
      {"GlowButtonAppearance.GradientMirrorChecked", V(s->GlowButtonAppearance()->GradientMirrorChecked()), V(controls::ggVertical)},
      {"GlowButtonAppearance.Color", V(s->GlowButtonAppearance()->Color()), V(0xFFFFFF)},
      {"GlowButtonAppearance.ColorTo", V(s->GlowButtonAppearance()->ColorTo()), V(0xC9D1D5)},
      {"GlowButtonAppearance.ColorMirror", V(s->GlowButtonAppearance()->ColorMirror()), V(0xFFFFFF)},
      {"GlowButtonAppearance.ColorMirrorTo", V(s->GlowButtonAppearance()->ColorMirrorTo()), V(0xC9D1D5)},
      {"GlowButtonAppearance.BorderColor", V(s->GlowButtonAppearance()->BorderColor()), V(0x000000)},
      {"GlowButtonAppearance.Gradient", V(s->GlowButtonAppearance()->Gradient()), V(controls::ggVertical)},
      {"GlowButtonAppearance.GradientMirror", V(s->GlowButtonAppearance()->GradientMirror()), V(controls::ggVertical)},
      {"GroupAppearance.TextColor", V(s->GroupAppearance()->TextColor()), V(0xFFFFFF)},
      {"GroupAppearance.Color", V(s->GroupAppearance()->Color()), V(0xB59285)},
      {"GroupAppearance.ColorTo", V(s->GroupAppearance()->ColorTo()), V(0xB59285)},
      {"GroupAppearance.ColorMirror", V(s->GroupAppearance()->ColorMirror()), V(0xB59285)},
      {"GroupAppearance.ColorMirrorTo", V(s->GroupAppearance()->ColorMirrorTo()), V(0xB59285)},
      {"GroupAppearance.Gradient", V(s->GroupAppearance()->Gradient()), V(controls::ggVertical)},
      {"GroupAppearance.GradientMirror", V(s->GroupAppearance()->GradientMirror()), V(controls::ggVertical)},
      {"GroupAppearance.BorderColor", V(s->GroupAppearance()->BorderColor()), V(0xFFFFFF)},
      {"GroupAppearance.TabAppearance.ColorHot", V(s->GroupAppearance()->TabAppearance()->ColorHot()), V(0xCCF4FF)},
      {"GroupAppearance.TabAppearance.ColorHotTo", V(s->GroupAppearance()->TabAppearance()->ColorHotTo()), V(0xCCF4FF)},
      {"GroupAppearance.TabAppearance.ColorMirrorHot", V(s->GroupAppearance()->TabAppearance()->ColorMirrorHot()), V(0xCCF4FF)},
      {"GroupAppearance.TabAppearance.ColorMirrorHotTo", V(s->GroupAppearance()->TabAppearance()->ColorMirrorHotTo()), V(0x91D0FF)},
      {"GroupAppearance.TabAppearance.Gradient", V(s->GroupAppearance()->TabAppearance()->Gradient()), V(controls::ggVertical)},
      {"GroupAppearance.TabAppearance.GradientMirror", V(s->GroupAppearance()->TabAppearance()->GradientMirror()), V(controls::ggVertical)},
      {"GroupAppearance.TabAppearance.ColorSelected", V(s->GroupAppearance()->TabAppearance()->ColorSelected()), V(0x9EDFFB)},
      {"GroupAppearance.TabAppearance.ColorSelectedTo", V(s->GroupAppearance()->TabAppearance()->ColorSelectedTo()), V(0xBAE8FC)},
      {"GroupAppearance.TabAppearance.ColorMirrorSelected", V(s->GroupAppearance()->TabAppearance()->ColorMirrorSelected()), V(0xBAE8FC)},
      {"GroupAppearance.TabAppearance.ColorMirrorSelectedTo", V(s->GroupAppearance()->TabAppearance()->ColorMirrorSelectedTo()), V(0xD4F1FD)},
      {"GroupAppearance.TabAppearance.TextColorSelected", V(s->GroupAppearance()->TabAppearance()->TextColorSelected()), V(0x000000)},
      {"GroupAppearance.TabAppearance.BorderColorSelected", V(s->GroupAppearance()->TabAppearance()->BorderColorSelected()), V(0xA0BFCC)},
      {"GroupAppearance.TabAppearance.BorderColorSelectedHot", V(s->GroupAppearance()->TabAppearance()->BorderColorSelectedHot()), V(0xA0BFCC)},
      {"GroupAppearance.TabAppearance.BorderColorHot", V(s->GroupAppearance()->TabAppearance()->BorderColorHot()), V(vcl::clHighlight)},
      {"GroupAppearance.TabAppearance.BorderColor", V(s->GroupAppearance()->TabAppearance()->BorderColor()), V(vcl::clHighlight)},
      {"GroupAppearance.TabAppearance.TextColor", V(s->GroupAppearance()->TabAppearance()->TextColor()), V(0x000000)},
      {"GroupAppearance.TabAppearance.TextColorHot", V(s->GroupAppearance()->TabAppearance()->TextColorHot()), V(0x000000)},
      {"GroupAppearance.PageAppearance.Color", V(s->GroupAppearance()->PageAppearance()->Color()), V(0xD6F2FE)},
      {"GroupAppearance.PageAppearance.ColorTo", V(s->GroupAppearance()->PageAppearance()->ColorTo()), V(0xF9F9F9)},
      {"GroupAppearance.PageAppearance.BorderColor", V(s->GroupAppearance()->PageAppearance()->BorderColor()), V(0xC2C2C2)},
      {"GroupAppearance.PageAppearance.ColorMirror", V(s->GroupAppearance()->PageAppearance()->ColorMirror()), V(0xF9F9F9)},
      {"GroupAppearance.PageAppearance.ColorMirrorTo", V(s->GroupAppearance()->PageAppearance()->ColorMirrorTo()), V(0xF9F9F9)},
      {"GroupAppearance.PageAppearance.Gradient", V(s->GroupAppearance()->PageAppearance()->Gradient()), V(controls::ggVertical)},
      {"GroupAppearance.PageAppearance.GradientMirror", V(s->GroupAppearance()->PageAppearance()->GradientMirror()), V(controls::ggVertical)},
      {"GroupAppearance.ToolBarAppearance.Color.Color", V(s->GroupAppearance()->ToolBarAppearance()->Color()->Color()), V(0xECF8FD)},
      {"GroupAppearance.ToolBarAppearance.Color.ColorTo", V(s->GroupAppearance()->ToolBarAppearance()->Color()->ColorTo()), V(0xF9F9F9)},
      {"GroupAppearance.ToolBarAppearance.BorderColor", V(s->GroupAppearance()->ToolBarAppearance()->BorderColor()), V(0xCCD1D3)},
      {"GroupAppearance.ToolBarAppearance.ColorHot.Color", V(s->GroupAppearance()->ToolBarAppearance()->ColorHot()->Color()), V(0xEEF4F5)},
      {"GroupAppearance.ToolBarAppearance.ColorHot.ColorTo", V(s->GroupAppearance()->ToolBarAppearance()->ColorHot()->ColorTo()), V(0xFDFBFA)},
      {"GroupAppearance.ToolBarAppearance.BorderColorHot", V(s->GroupAppearance()->ToolBarAppearance()->BorderColorHot()), V(0xC7C7C7)},
      {"GroupAppearance.CaptionAppearance.CaptionColor", V(s->GroupAppearance()->CaptionAppearance()->CaptionColor()), V(0xD9E9EC)},
      {"GroupAppearance.CaptionAppearance.CaptionColorTo", V(s->GroupAppearance()->CaptionAppearance()->CaptionColorTo()), V(0xD9E9EC)},
      {"GroupAppearance.CaptionAppearance.CaptionColorHot", V(s->GroupAppearance()->CaptionAppearance()->CaptionColorHot()), V(0xC9D1D5)},
      {"GroupAppearance.CaptionAppearance.CaptionColorHotTo", V(s->GroupAppearance()->CaptionAppearance()->CaptionColorHotTo()), V(0xC9D1D5)},
      {"GroupAppearance.CaptionAppearance.CaptionTextColor", V(s->GroupAppearance()->CaptionAppearance()->CaptionTextColor()), V(0x000000)},
      {"GroupAppearance.CaptionAppearance.CaptionTextColorHot", V(s->GroupAppearance()->CaptionAppearance()->CaptionTextColorHot()), V(0x000000)},
      {"TabAppearance.BackGround.Color", V(s->TabAppearance()->BackGround()->Color()), V(0xC9D1D5)},
      {"TabAppearance.BackGround.ColorTo", V(s->TabAppearance()->BackGround()->ColorTo()), V(0xFFFFFF)},
      {"TabAppearance.BorderColor", V(s->TabAppearance()->BorderColor()), V(vcl::clNone)},
      {"TabAppearance.BorderColorDisabled", V(s->TabAppearance()->BorderColorDisabled()), V(vcl::clNone)},
      {"TabAppearance.BorderColorHot", V(s->TabAppearance()->BorderColorHot()), V(0xE3B28D)},
      {"TabAppearance.BorderColorSelected", V(s->TabAppearance()->BorderColorSelected()), V(0x000000)},
      {"TabAppearance.BorderColorSelectedHot", V(s->TabAppearance()->BorderColorSelectedHot()), V(0x60CCF9)},
      {"TabAppearance.TextColor", V(s->TabAppearance()->TextColor()), V(0x000000)},
      {"TabAppearance.TextColorHot", V(s->TabAppearance()->TextColorHot()), V(0x000000)},
      {"TabAppearance.TextColorSelected", V(s->TabAppearance()->TextColorSelected()), V(0x000000)},
      {"TabAppearance.TextColorDisabled", V(s->TabAppearance()->TextColorDisabled()), V(0x808080)},
      {"TabAppearance.ColorSelected", V(s->TabAppearance()->ColorSelected()), V(0xC9D1D5)},
      {"TabAppearance.ColorSelectedTo", V(s->TabAppearance()->ColorSelectedTo()), V(0xFFFFFF)},
      {"TabAppearance.ColorMirrorSelected", V(s->TabAppearance()->ColorMirrorSelected()), V(0xFFFFFF)},
      {"TabAppearance.ColorMirrorSelectedTo", V(s->TabAppearance()->ColorMirrorSelectedTo()), V(0xFFFFFF)},
      {"TabAppearance.ColorDisabled", V(s->TabAppearance()->ColorDisabled()), V(0xFFFFFF)},
      {"TabAppearance.ColorDisabledTo", V(s->TabAppearance()->ColorDisabledTo()), V(0xC0C0C0)},
      {"TabAppearance.ColorMirrorDisabled", V(s->TabAppearance()->ColorMirrorDisabled()), V(0xFFFFFF)},
      {"TabAppearance.ColorMirrorDisabledTo", V(s->TabAppearance()->ColorMirrorDisabledTo()), V(0xC0C0C0)},
      {"TabAppearance.ColorHot", V(s->TabAppearance()->ColorHot()), V(0xCCF4FF)},
      {"TabAppearance.ColorHotTo", V(s->TabAppearance()->ColorHotTo()), V(0xCCF4FF)},
      {"TabAppearance.ColorMirrorHot", V(s->TabAppearance()->ColorMirrorHot()), V(0xCCF4FF)},
      {"TabAppearance.ColorMirrorHotTo", V(s->TabAppearance()->ColorMirrorHotTo()), V(0x91D0FF)},
      {"TabAppearance.Gradient", V(s->TabAppearance()->Gradient()), V(controls::ggVertical)},
      {"TabAppearance.GradientDisabled", V(s->TabAppearance()->GradientDisabled()), V(controls::ggVertical)},
      {"TabAppearance.GradientHot", V(s->TabAppearance()->GradientHot()), V(controls::ggVertical)},
      {"TabAppearance.GradientMirrorDisabled", V(s->TabAppearance()->GradientMirrorDisabled()), V(controls::ggVertical)},
      {"TabAppearance.GradientMirrorHot", V(s->TabAppearance()->GradientMirrorHot()), V(controls::ggVertical)},
      {"TabAppearance.GradientMirrorSelected", V(s->TabAppearance()->GradientMirrorSelected()), V(controls::ggVertical)},
      {"TabAppearance.GradientSelected", V(s->TabAppearance()->GradientSelected()), V(controls::ggVertical)},
      {"TabAppearance.ShadowColor", V(s->TabAppearance()->ShadowColor()), V(0xA1A7AA)},
      {"TabAppearance.HighLightColor", V(s->TabAppearance()->HighLightColor()), V(0xFFFABF)},
      {"TabAppearance.HighLightColorSelected", V(s->TabAppearance()->HighLightColorSelected()), V(0x63CCF8)},
      {"TabAppearance.HighLightColorSelectedHot", V(s->TabAppearance()->HighLightColorSelectedHot()), V(0xBDFFFF)},
      {"TabAppearance.HighLightColorDown", V(s->TabAppearance()->HighLightColorDown()), V(0xFFFBD0)},
      {"TabAppearance.HighLightColorHot", V(s->TabAppearance()->HighLightColorHot()), V(0xF7F4F3)},
      {"PageAppearance.BorderColor", V(s->PageAppearance()->BorderColor()), V(0x000000)},
      {"PageAppearance.Color", V(s->PageAppearance()->Color()), V(0xDFE3E6)},
      {"PageAppearance.ColorTo", V(s->PageAppearance()->ColorTo()), V(0xDFE3E6)},
      {"PageAppearance.ColorMirror", V(s->PageAppearance()->ColorMirror()), V(0xCAD2D6)},
      {"PageAppearance.ColorMirrorTo", V(s->PageAppearance()->ColorMirrorTo()), V(0xFAFAFB)},
      {"PageAppearance.Gradient", V(s->PageAppearance()->Gradient()), V(controls::ggVertical)},
      {"PageAppearance.GradientMirror", V(s->PageAppearance()->GradientMirror()), V(controls::ggVertical)},
      {"PageAppearance.ShadowColor", V(s->PageAppearance()->ShadowColor()), V(0xB9BDBF)},
      {"PageAppearance.HighLightColor", V(s->PageAppearance()->HighLightColor()), V(0x768A92)},
      {"PagerCaption.Color", V(s->PagerCaption()->Color()), V(0x808080)},
      {"PagerCaption.ColorTo", V(s->PagerCaption()->ColorTo()), V(0x859D9D)},
      {"PagerCaption.ColorMirror", V(s->PagerCaption()->ColorMirror()), V(0x859D9D)},
      {"PagerCaption.ColorMirrorTo", V(s->PagerCaption()->ColorMirrorTo()), V(0xC9D1D5)},
      {"PagerCaption.BorderColor", V(s->PagerCaption()->BorderColor()), V(0xF0CAAE)},
      {"PagerCaption.Gradient", V(s->PagerCaption()->Gradient()), V(controls::ggVertical)},
      {"PagerCaption.GradientMirror", V(s->PagerCaption()->GradientMirror()), V(controls::ggVertical)},
      {"QATAppearance.Color", V(s->QATAppearance()->Color()), V(0xFFFFFF)},
      {"QATAppearance.ColorTo", V(s->QATAppearance()->ColorTo()), V(0xC9D1D5)},
      {"QATAppearance.BorderColor", V(s->QATAppearance()->BorderColor()), V(0x828F92)},
      {"QATAppearance.FullSizeColor", V(s->QATAppearance()->FullSizeColor()), V(0x808080)},
      {"QATAppearance.FullSizeColorTo", V(s->QATAppearance()->FullSizeColorTo()), V(0x859D9D)},
      {"QATAppearance.FullSizeBorderColor", V(s->QATAppearance()->FullSizeBorderColor()), V(0x828F92)},
  };
  for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.name;
  // The classic look keeps the style interface at custom, copies the glow
  // appearance into the compact one, and runs the common part.
  EXPECT_EQ(s->ComponentStyle(), controls::tsCustom);
  EXPECT_EQ(s->CompactGlowButtonAppearance()->ColorHot(), 0xEBFDFFu);
  EXPECT_EQ(s->CompactGlowButtonAppearance()->ColorMirrorDownTo(), 0x4C9FFDu);
  EXPECT_EQ(s->CompactGlowButtonAppearance()->BorderColor(), 0u);
  EXPECT_EQ(s->PagerCaption()->TextColor(), 0x808080u);
  EXPECT_EQ(s->PagerCaption()->TextColorExtended(), 0xFF0000u);
  EXPECT_EQ(s->PagerCaption()->Font()->Size(), 10);
  const std::string font = controls::IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma";
  EXPECT_EQ(std::string(s->TabAppearance()->Font()->Name()), font);
  EXPECT_EQ(std::string(s->Font()->Name()), font);
  EXPECT_EQ(std::string(s->CaptionFont()->Name()), font);
  vcl::Free(s);
}

// The telling values of each other look, applied over the classic look
// so that "kept" means the classic (or constructed) value survives.
TEST(RibbonOfficeStyler, OtherLooksTellingValues) {
  struct Case {
    TToolBarStyle style;
    bool scenic;
    const char* name;
    std::function<long long(S)> get;
    long long expected;
    bool kept;
  };
  const std::vector<Case> cases = {
      {bsOffice2003Blue, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xFDEADA), false},
      {bsOffice2003Silver, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xECE2E1), false},
      {bsOffice2003Olive, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xCFF0EA), false},
      {bsOffice2007Luna, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xEDD8C7), false},
      {bsOffice2007Obsidian, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xC5BBB4), false},
      {bsWindowsXP, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xF5F9FA), false},
      {bsOffice2007Silver, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xE7DCD5), false},
      {bsWindowsVista, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xFDF8F1), false},
      {bsWindows7, true, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xDBC9BA), false},
      {bsWindows7, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(0xFCEBDC), false},
      {bsTerminal, false, "Color.Color", [](S s) { return V(s->Color()->Color()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xE4AE88), false},
      {bsOffice2003Silver, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xB39698), false},
      {bsOffice2003Olive, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0x8CC0B1), false},
      {bsOffice2007Luna, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xF6E9D9), false},
      {bsOffice2007Obsidian, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xECECE5), false},
      {bsWindowsXP, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xA8C0C0), false},
      {bsOffice2007Silver, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xF4F4EE), false},
      {bsWindowsVista, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xFCEFD5), false},
      {bsWindows7, true, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xDBC9BA), false},
      {bsWindows7, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(0xFCDBC1), false},
      {bsTerminal, false, "Color.ColorTo", [](S s) { return V(s->Color()->ColorTo()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsOffice2003Silver, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsOffice2003Olive, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsOffice2007Luna, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(0), true},
      {bsOffice2007Obsidian, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(0), true},
      {bsWindowsXP, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsWhidbeyStyle, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsOffice2007Silver, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(0), true},
      {bsWindowsVista, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsWindows7, true, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsWindows7, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsTerminal, false, "Color.Steps", [](S s) { return V(s->Color()->Steps()); }, V(64), false},
      {bsOffice2003Blue, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xF5BFA0), false},
      {bsOffice2003Silver, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xE6D8D8), false},
      {bsOffice2003Olive, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xAADADA), false},
      {bsOffice2007Luna, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xEDD8C7), false},
      {bsOffice2007Obsidian, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xCFC6C1), false},
      {bsWindowsXP, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xD7E5E5), false},
      {bsOffice2007Silver, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xE5D7D7), false},
      {bsWindowsVista, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xFCEFD5), false},
      {bsWindows7, true, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xDBC9BA), false},
      {bsWindows7, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(0xFCDBC1), false},
      {bsTerminal, false, "DockColor.Color", [](S s) { return V(s->DockColor()->Color()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xF1A675), false},
      {bsOffice2003Silver, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xC8B2B3), false},
      {bsOffice2003Olive, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0x8CC2B0), false},
      {bsOffice2007Luna, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xDFD2C5), false},
      {bsOffice2007Obsidian, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xCAC7C6), false},
      {bsWindowsXP, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xEBEEEF), false},
      {bsOffice2007Silver, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xC6B0B1), false},
      {bsWindowsVista, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xF7DAA2), false},
      {bsWindows7, true, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xECB58C), false},
      {bsWindows7, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0xECB58C), false},
      {bsTerminal, false, "RightHandleColor", [](S s) { return V(s->RightHandleColor()); }, V(0x808080), false},
      {bsOffice2003Blue, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0x913500), false},
      {bsOffice2003Silver, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0x927476), false},
      {bsOffice2003Olive, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0x6B7760), false},
      {bsOffice2007Luna, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0xE3B28D), false},
      {bsOffice2007Obsidian, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0xB4B0AE), false},
      {bsWindowsXP, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(vcl::clHighlight), false},
      {bsWhidbeyStyle, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0x828F92), false},
      {bsOffice2007Silver, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0xC6B0B1), false},
      {bsWindowsVista, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0xFCF2DA), false},
      {bsWindows7, true, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0xCEA27D), false},
      {bsWindows7, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0xCEA27D), false},
      {bsTerminal, false, "FloatingWindowBorderColor", [](S s) { return V(s->FloatingWindowBorderColor()); }, V(0x808080), false},
      {bsOffice2003Blue, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsOffice2003Silver, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsOffice2003Olive, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsOffice2007Luna, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(1), false},
      {bsOffice2007Obsidian, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(1), false},
      {bsWindowsXP, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsWhidbeyStyle, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsOffice2007Silver, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(1), false},
      {bsWindowsVista, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsWindows7, true, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsWindows7, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsTerminal, false, "FloatingWindowBorderWidth", [](S s) { return V(s->FloatingWindowBorderWidth()); }, V(2), false},
      {bsOffice2003Blue, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsOffice2003Silver, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsOffice2003Olive, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsOffice2007Luna, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsOffice2007Obsidian, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsWindowsXP, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(false), false},
      {bsWhidbeyStyle, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsOffice2007Silver, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsWindowsVista, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsWindows7, true, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsWindows7, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsTerminal, false, "RoundedLook", [](S s) { return V(s->RoundedLook()); }, V(true), false},
      {bsOffice2003Blue, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsOffice2003Silver, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsOffice2003Olive, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsOffice2007Luna, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsNone), false},
      {bsOffice2007Obsidian, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsNone), false},
      {bsWindowsXP, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsSingleLine), false},
      {bsWhidbeyStyle, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsOffice2007Silver, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsNone), false},
      {bsWindowsVista, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsWindows7, true, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsWindows7, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsTerminal, false, "DragGripStyle", [](S s) { return V(s->DragGripStyle()); }, V(ribbon::dsDots), false},
      {bsOffice2003Blue, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsOffice2003Blue, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsOffice2003Silver, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsOffice2003Silver, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsOffice2003Olive, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsOffice2003Olive, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsOffice2007Luna, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsOffice2007Luna, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsOffice2007Obsidian, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsOffice2007Obsidian, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsWindowsXP, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(true), false},
      {bsWindowsXP, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(2), false},
      {bsWhidbeyStyle, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsWhidbeyStyle, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsOffice2007Silver, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsOffice2007Silver, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsWindowsVista, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsWindowsVista, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsWindows7, true, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsWindows7, true, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsWindows7, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsWindows7, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsTerminal, false, "Edge3D", [](S s) { return V(s->Edge3D()); }, V(false), false},
      {bsTerminal, false, "Edge3DKind", [](S s) { return V(s->Edge3DKind()); }, V(0), false},
      {bsOffice2003Blue, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0xEBC7AB), false},
      {bsOffice2003Silver, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0), true},
      {bsOffice2003Olive, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0), true},
      {bsOffice2007Luna, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0xD7C8B7), false},
      {bsOffice2007Obsidian, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0xB4B0AE), false},
      {bsWindowsXP, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0), true},
      {bsWhidbeyStyle, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0), true},
      {bsOffice2007Silver, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0x939291), false},
      {bsWindowsVista, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0xFCF2DA), false},
      {bsWindows7, true, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0xDBC9BA), false},
      {bsWindows7, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0xCEA27D), false},
      {bsTerminal, false, "BorderColor", [](S s) { return V(s->BorderColor()); }, V(0x808080), false},
      {bsOffice2003Blue, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xEEDBC8), false},
      {bsOffice2003Silver, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xE6E9E2), false},
      {bsOffice2003Olive, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xCFF0EA), false},
      {bsOffice2007Luna, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xEEDBC8), false},
      {bsOffice2007Obsidian, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xDFDED6), false},
      {bsWindowsXP, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xFFFFFF), false},
      {bsWhidbeyStyle, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xFFFFFF), false},
      {bsOffice2007Silver, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xF3F3F1), false},
      {bsWindowsVista, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xFDF8F1), false},
      {bsWindows7, true, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xFBF8F6), false},
      {bsWindows7, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(0xFFFFFF), false},
      {bsTerminal, false, "GlowButtonAppearance.Color", [](S s) { return V(s->GlowButtonAppearance()->Color()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xE0B99B), false},
      {bsOffice2003Silver, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0x927476), false},
      {bsOffice2003Olive, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0x8CC0B1), false},
      {bsOffice2007Luna, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xE0B99B), false},
      {bsOffice2007Obsidian, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xC0BCB2), false},
      {bsWindowsXP, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xB9D8DC), false},
      {bsWhidbeyStyle, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0x99A8AC), false},
      {bsOffice2007Silver, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xCAC7C6), false},
      {bsWindowsVista, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xFDDE99), false},
      {bsWindows7, true, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xD2BEB0), false},
      {bsWindows7, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0xE0B99B), false},
      {bsTerminal, false, "GlowButtonAppearance.BorderColor", [](S s) { return V(s->GlowButtonAppearance()->BorderColor()); }, V(0x808080), false},
      {bsOffice2003Blue, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xFCDCC4), false},
      {bsOffice2003Silver, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0x927476), false},
      {bsOffice2003Olive, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0x8CC0B1), false},
      {bsOffice2007Luna, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xFEF6F0), false},
      {bsOffice2007Obsidian, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xEFEEED), false},
      {bsWindowsXP, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xFFFFFF), false},
      {bsWhidbeyStyle, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xADC4C4), false},
      {bsOffice2007Silver, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xF6F6F6), false},
      {bsWindowsVista, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xFEF9F0), false},
      {bsWindows7, true, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xFFFDFB), false},
      {bsWindows7, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(0xFCEBDC), false},
      {bsTerminal, false, "TabAppearance.ColorSelected", [](S s) { return V(s->TabAppearance()->ColorSelected()); }, V(vcl::clHighlight), false},
      {bsOffice2003Blue, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xFADAC4), false},
      {bsOffice2003Silver, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xEBDEDE), false},
      {bsOffice2003Olive, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xB9EAE1), false},
      {bsOffice2007Luna, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xF3E5DA), false},
      {bsOffice2007Obsidian, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xE0DBD7), false},
      {bsWindowsXP, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xD2E6E8), false},
      {bsOffice2007Silver, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xF8F4F1), false},
      {bsWindowsVista, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xFEF9F0), false},
      {bsWindows7, true, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xFFFDFB), false},
      {bsWindows7, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(0xFCEBDC), false},
      {bsTerminal, false, "PageAppearance.Color", [](S s) { return V(s->PageAppearance()->Color()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xE4AE88), false},
      {bsOffice2003Silver, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xE6D8D8), false},
      {bsOffice2003Olive, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0x8CC0B1), false},
      {bsOffice2007Luna, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xECE7E2), false},
      {bsOffice2007Obsidian, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0x524743), false},
      {bsWindowsXP, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0x859D9D), false},
      {bsOffice2007Silver, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xEBE8E7), false},
      {bsWindowsVista, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xFEF9F0), false},
      {bsWindows7, true, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xF5E9DF), false},
      {bsWindows7, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(0xFCEBDC), false},
      {bsTerminal, false, "PagerCaption.Color", [](S s) { return V(s->PagerCaption()->Color()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xFDEADA), false},
      {bsOffice2003Silver, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xECE2E1), false},
      {bsOffice2003Olive, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xCFF0EA), false},
      {bsOffice2007Luna, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xF4E7DE), false},
      {bsOffice2007Obsidian, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0x847E7B), false},
      {bsWindowsXP, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(vcl::clBtnFace), false},
      {bsWhidbeyStyle, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xF5F9FA), false},
      {bsOffice2007Silver, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xE7DCD5), false},
      {bsWindowsVista, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xFDF8F1), false},
      {bsWindows7, true, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xF5E9DF), false},
      {bsWindows7, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(0xFCEBDC), false},
      {bsTerminal, false, "QATAppearance.Color", [](S s) { return V(s->QATAppearance()->Color()); }, V(vcl::clBtnFace), false},
      {bsOffice2003Blue, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsOffice2003Silver, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsOffice2003Olive, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsOffice2007Luna, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0xB99A82), false},
      {bsOffice2007Obsidian, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0xB3A69C), false},
      {bsWindowsXP, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsWhidbeyStyle, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsOffice2007Silver, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0xA59180), false},
      {bsWindowsVista, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsWindows7, true, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsWindows7, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsTerminal, false, "GlyphColor", [](S s) { return V(s->GlyphColor()); }, V(0), false},
      {bsOffice2003Blue, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsOffice2003Blue), false},
      {bsOffice2003Silver, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsOffice2003Silver), false},
      {bsOffice2003Olive, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsOffice2003Olive), false},
      {bsOffice2007Luna, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsOffice2007Luna), false},
      {bsOffice2007Obsidian, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsOffice2007Obsidian), false},
      {bsWindowsXP, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsWindowsXP), false},
      {bsWhidbeyStyle, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsWhidbey), false},
      {bsOffice2007Silver, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsOffice2007Silver), false},
      {bsWindowsVista, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsWindowsVista), false},
      {bsWindows7, true, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsWindows7), false},
      {bsWindows7, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsWindows7), false},
      {bsTerminal, false, "ComponentStyle", [](S s) { return V(s->ComponentStyle()); }, V(controls::tsTerminal), false},
  };
  const bool scenicBefore = controls::GetGlobalWin7ScenicRibbon();
  for (const Case& c : cases) {
    controls::SetGlobalWin7ScenicRibbon(c.scenic);
    auto* s = new TRorIvezEviOfficeStyler(nullptr);
    s->SetStyle(bsOffice2003Classic);
    const long long before = c.get(s);
    s->SetStyle(c.style);
    EXPECT_EQ(c.get(s), c.kept ? before : c.expected)
        << c.name << " in look " << static_cast<int>(c.style) << (c.scenic ? " (scenic)" : "");
    vcl::Free(s);
  }
  controls::SetGlobalWin7ScenicRibbon(scenicBefore);
}

TEST(RibbonOfficeStyler, OfficeXPSharesTheDesktopLook) {
  auto* xp = new TRorIvezEviOfficeStyler(nullptr);
  auto* office = new TRorIvezEviOfficeStyler(nullptr);
  xp->SetStyle(bsWindowsXP);
  office->SetStyle(bsOfficeXP);
  EXPECT_EQ(office->Style(), bsOfficeXP);
  EXPECT_EQ(office->ComponentStyle(), controls::tsWindowsXP);
  EXPECT_EQ(office->Color()->Color(), vcl::clBtnFace);
  EXPECT_EQ(office->GlowButtonAppearance()->ColorHot(), 0xEFD3C6u);
  EXPECT_EQ(office->GlowButtonAppearance()->ColorDown(), 0xB59284u);
  EXPECT_EQ(office->GlowButtonAppearance()->ColorChecked(), 0xB9D8DCu);
  EXPECT_EQ(office->CaptionAppearance()->CaptionColor(), vcl::clHighlight);
  EXPECT_EQ(office->CaptionAppearance()->CaptionTextColor(), vcl::clWhite);
  EXPECT_EQ(office->TabAppearance()->ColorHot(), xp->TabAppearance()->ColorHot());
  EXPECT_EQ(office->PageAppearance()->Color(), xp->PageAppearance()->Color());
  vcl::Free(xp);
  vcl::Free(office);
}

// Terminal keeps to its six colours wherever it assigns one.
TEST(RibbonOfficeStyler, TerminalUsesItsSixColours) {
  auto* s = new TRorIvezEviOfficeStyler(nullptr);
  s->SetStyle(bsTerminal);
  const std::vector<vcl::TColor> allowed = {vcl::clBtnFace, vcl::clHighlight, 0x808080, 0xC0C0C0, 0, 0xFFFFFF,
                                            vcl::clNone};
  auto* g = s->GlowButtonAppearance();
  auto* t = s->TabAppearance();
  for (vcl::TColor c : {s->Color()->Color(), s->Color()->ColorTo(), s->ColorHot()->Color(), s->DockColor()->Color(),
                        g->Color(), g->ColorTo(), g->ColorHot(), g->ColorDown(), g->ColorChecked(), g->BorderColor(),
                        t->ColorSelected(), t->ColorHot(), t->ShadowColor(), t->HighLightColor(),
                        s->PageAppearance()->Color(), s->PageAppearance()->ColorMirrorTo(),
                        s->PagerCaption()->ColorTo(), s->QATAppearance()->ColorTo(),
                        s->GroupAppearance()->Color(), s->GroupAppearance()->TabAppearance()->ColorSelected(),
                        s->RightHandleColorHot(), s->BorderColorHot()})
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), c), allowed.end()) << std::hex << c;
  vcl::Free(s);
}

TEST(RibbonOfficeStyler, WhatALookLeavesAlone) {
  auto* s = new TRorIvezEviOfficeStyler(nullptr);
  // A freshly constructed styler switched to Luna keeps the gradient's own
  // step count; from Blue it keeps Blue's 64.
  const int constructed = s->Color()->Steps();
  s->SetStyle(bsOffice2007Luna);
  EXPECT_EQ(s->Color()->Steps(), constructed);
  s->SetStyle(bsOffice2003Blue);
  s->Color()->SetSteps(64);
  s->SetStyle(bsOffice2007Luna);
  EXPECT_EQ(s->Color()->Steps(), 64);
  // Silver and Olive leave the pressed handle colours of the previous look.
  s->SetStyle(bsOffice2003Classic);
  for (TToolBarStyle look : {bsOffice2003Silver, bsOffice2003Olive}) {
    s->SetStyle(bsOffice2003Classic);
    s->SetStyle(look);
    EXPECT_EQ(s->RightHandleColorDown(), 0xB59285u);
    EXPECT_EQ(s->RightHandleColorDownTo(), vcl::clNone);
  }
  // Obsidian's own QAT shape goes again with the next look's common part.
  s->SetStyle(bsOffice2007Obsidian);
  EXPECT_TRUE(s->AltQATShape());
  EXPECT_EQ(s->TabAppearance()->BackGround()->Direction(), gdVertical);
  EXPECT_EQ(s->PagerCaption()->TextColorExtended(), 0xFFFFFFu);
  // Windows 7 takes the scenic flag as it is at the call; a later change
  // of the flag does not run the look again.
  const bool scenic = controls::GetGlobalWin7ScenicRibbon();
  controls::SetGlobalWin7ScenicRibbon(false);
  s->SetStyle(bsWindows7);
  EXPECT_EQ(s->Color()->Color(), 0xFCEBDCu);
  controls::SetGlobalWin7ScenicRibbon(true);
  EXPECT_EQ(s->Color()->Color(), 0xFCEBDCu);
  s->SetStyle(bsWindows7);
  EXPECT_EQ(s->Color()->Color(), 0xFCEBDCu);  // the same value: nothing
  s->SetStyle(bsOffice2003Classic);
  s->SetStyle(bsWindows7);
  EXPECT_EQ(s->Color()->Color(), 0xDBC9BAu);
  controls::SetGlobalWin7ScenicRibbon(scenic);
  s->SetStyle(bsOffice2007Obsidian);
  s->SetStyle(bsOffice2003Blue);
  EXPECT_FALSE(s->AltQATShape());
  EXPECT_EQ(s->GlyphColor(), 0u);
  EXPECT_EQ(s->PagerCaption()->TextColor(), 0x808080u);
  vcl::Free(s);
}

TEST(RibbonOfficeStyler, CompactGlowAppearanceFollowsExceptOffice2007LunaAndSilver) {
  for (int i = 0; i <= static_cast<int>(bsTerminal); ++i) {
    const auto look = static_cast<TToolBarStyle>(i);
    if (look == bsCustom) continue;
    auto* s = new TRorIvezEviOfficeStyler(nullptr);
    s->SetStyle(look);
    auto* g = s->GlowButtonAppearance();
    auto* c = s->CompactGlowButtonAppearance();
    const bool own = look == bsOffice2007Luna || look == bsOffice2007Silver;
    EXPECT_EQ(c->Color(), g->Color()) << i;
    EXPECT_EQ(c->BorderColor(), g->BorderColor()) << i;
    EXPECT_EQ(c->ColorHot() != g->ColorHot(), own) << i;
    EXPECT_EQ(c->ColorDown() != g->ColorDown(), own) << i;
    EXPECT_EQ(c->ColorChecked() != g->ColorChecked(), own) << i;
    vcl::Free(s);
  }
}

TEST(RibbonOfficeStyler, OneFinalColoursBroadcastPerChange) {
  auto* s = new TRorIvezEviOfficeStyler(nullptr);
  OfficeStylerListener listener;
  listener.SetToolBarStyler(s);
  s->SetStyle(bsOffice2003Classic);
  ASSERT_FALSE(listener.codes.empty());
  EXPECT_EQ(listener.codes.back(), scColors);
  // Values arrive through their records' own codes as they are set.
  for (int code : {scColors, scGlowButton, scPager, scQAT})
    EXPECT_NE(std::find(listener.codes.begin(), listener.codes.end(), code), listener.codes.end()) << code;
  // The same value again: nothing at all.
  listener.codes.clear();
  s->SetStyle(bsOffice2003Classic);
  EXPECT_TRUE(listener.codes.empty());
  // Custom runs only the common part, then the one broadcast; the colours
  // of the classic look stay.
  s->SetStyle(bsCustom);
  EXPECT_EQ(s->Style(), bsCustom);
  EXPECT_EQ(listener.codes, std::vector<int>{scColors});
  EXPECT_EQ(s->Color()->ColorTo(), 0xC9D1D5u);
  // A look that sets a glyph colour tells of it with its own code.
  listener.codes.clear();
  s->SetStyle(bsOffice2007Luna);
  EXPECT_NE(std::find(listener.codes.begin(), listener.codes.end(), scPagerCaption), listener.codes.end());
  EXPECT_EQ(listener.codes.back(), scColors);
  listener.SetToolBarStyler(nullptr);
  vcl::Free(s);
}

TEST(RibbonOfficeStyler, StyleInterfaceMapping) {
  using namespace controls;
  struct Case {
    REZORuvar value;
    TToolBarStyle style;
  };
  const Case cases[] = {
      {tsOffice2003Blue, bsOffice2003Blue},       {tsOffice2003Silver, bsOffice2003Silver},
      {tsOffice2003Olive, bsOffice2003Olive},     {tsOffice2003Classic, bsOffice2003Classic},
      {tsOffice2007Luna, bsOffice2007Luna},       {tsOffice2007Obsidian, bsOffice2007Obsidian},
      {tsWindowsXP, bsWindowsXP},                 {tsWhidbey, bsWhidbeyStyle},
      {tsOffice2007Silver, bsOffice2007Silver},   {tsWindowsVista, bsWindowsVista},
      {tsWindows7, bsWindows7},                   {tsTerminal, bsTerminal},
  };
  for (const Case& c : cases) {
    auto* s = new TRorIvezEviOfficeStyler(nullptr);
    IStyleAware* aware = StyleAwareOf(s);
    ASSERT_NE(aware, nullptr);
    aware->SetComponentStyle(c.value);
    EXPECT_EQ(s->Style(), c.style) << static_cast<int>(c.value);
    // Custom through the interface changes nothing.
    aware->SetComponentStyle(tsCustom);
    EXPECT_EQ(s->Style(), c.style);
    vcl::Free(s);
  }
}

TEST(RibbonOfficeStyler, DetectsTheDesktopColourScheme) {
  ThemeServiceGuard guard;
  struct Case {
    const char16_t* scheme;
    int code;
  };
  const int held = vcl::ModuleLoadCount("uxtheme");  // by others in this process
  const Case cases[] = {{u"NormalColor", 1}, {u"HomeStead", 2}, {u"Metallic", 3},
                        {u"metallic", 0},    {u"Metallic2", 0}, {u"Royale", 0}};
  for (const Case& c : cases) {
    vcl::SetThemeColorSchemeName(c.scheme);
    EXPECT_EQ(DetectXPColorScheme(), c.code);
  }
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), held);  // released every time
  vcl::SetThemeColorSchemeName(u"NormalColor");
  vcl::SetThemeActive(false);
  EXPECT_EQ(DetectXPColorScheme(), 0);
  EXPECT_EQ(vcl::ModuleLoadCount("uxtheme"), held);
  vcl::SetThemeActive(true);
  vcl::SetModuleHidden("uxtheme", true);
  EXPECT_EQ(DetectXPColorScheme(), 0);
  vcl::SetModuleHidden("uxtheme", false);
  EXPECT_TRUE(IsWindowsXPOrLater());
  EXPECT_EQ(DetectXPColorScheme(), 1);
}

TEST(RibbonOfficeStyler, AutoThemeAdaptOnLoadingAndThemeChanges) {
  ThemeServiceGuard guard;
  auto* form = new vcl::TForm(vcl::Application, 0);
  auto* plain = new LoadingOfficeStyler(form);
  auto* adapting = new LoadingOfficeStyler(form);
  ASSERT_EQ(plain->Notifier()->Parent(), form);
  // As a form stores them: Classic, and the switch on one styler only.
  plain->SetStyle(bsOffice2003Classic);
  adapting->SetStyle(bsOffice2003Classic);
  adapting->SetAutoThemeAdapt(true);
  plain->FinishLoading();
  adapting->FinishLoading();
  EXPECT_EQ(plain->Style(), bsOffice2003Classic);
  EXPECT_EQ(adapting->Style(), bsOffice2003Blue);
  // The desktop switches its scheme: the notifier hears the message.
  struct Case {
    const char16_t* scheme;
    bool themed;
    TToolBarStyle style;
  };
  const Case cases[] = {{u"Metallic", true, bsOffice2003Silver},
                        {u"HomeStead", true, bsOffice2003Olive},
                        {u"Royale", true, bsOffice2003Classic},
                        {u"NormalColor", true, bsOffice2003Blue},
                        {u"NormalColor", false, bsOffice2003Classic}};
  for (const Case& c : cases) {
    vcl::SetThemeColorSchemeName(c.scheme);
    vcl::SetThemeActive(c.themed);
    adapting->Notifier()->Perform(vcl::WM_THEMECHANGED);
    plain->Notifier()->Perform(vcl::WM_THEMECHANGED);
    EXPECT_EQ(adapting->Style(), c.style);
    EXPECT_EQ(plain->Style(), bsOffice2003Classic);
  }
  // The theme service's own switch sends the message to every window: the
  // notifier hears it without help.
  vcl::SetThemeActive(true);
  vcl::SetThemeColorSchemeName(u"HomeStead");
  form->Show();
  vcl::SetThemeActive(false);
  EXPECT_EQ(adapting->Style(), bsOffice2003Classic);
  vcl::SetThemeActive(true);
  EXPECT_EQ(adapting->Style(), bsOffice2003Olive);
  EXPECT_EQ(plain->Style(), bsOffice2003Classic);
  vcl::Free(form);
}

// A form that stored any look loads into the scheme's look when the
// styler adapts: "Metallic" gives 2003 Silver.
TEST(RibbonOfficeStyler, LoadingUnderMetallicEndsSilver) {
  ThemeServiceGuard guard;
  vcl::SetThemeColorSchemeName(u"Metallic");
  for (TToolBarStyle stored : {bsOffice2003Blue, bsOffice2007Obsidian, bsTerminal, bsCustom}) {
    auto* s = new LoadingOfficeStyler(nullptr);
    s->SetStyle(stored);
    s->SetAutoThemeAdapt(true);
    s->FinishLoading();
    EXPECT_EQ(s->Style(), bsOffice2003Silver) << static_cast<int>(stored);
    EXPECT_EQ(s->Color()->Color(), 0xECE2E1u);
    vcl::Free(s);
  }
}

// Without a windowed owner the notifier gets no parent and no window, so
// the desktop's broadcast passes it by; its procedure still reports the
// message when one is delivered to it.
TEST(RibbonOfficeStyler, NotifierWithoutAWindowedOwner) {
  ThemeServiceGuard guard;
  auto* s = new TRorIvezEviOfficeStyler(nullptr);
  EXPECT_EQ(s->Notifier()->Parent(), nullptr);
  EXPECT_EQ(s->Notifier()->Owner(), s);
  int heard = 0;
  s->Notifier()->OnThemeChange = [&heard](vcl::TObject*) { ++heard; };
  vcl::SetThemeActive(false);
  vcl::SetThemeActive(true);
  EXPECT_EQ(heard, 0);
  s->Notifier()->Perform(vcl::WM_THEMECHANGED);
  EXPECT_EQ(heard, 1);
  vcl::Free(s);
}

}  // namespace
