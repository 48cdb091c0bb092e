// The pager's start-up registration, its option pictures, the help button
// and the settings that only store or refresh.
#include <mutex>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "rtl/Streams.h"
#include "vcl/Pictures.h"
#include "vcl/RegisteredMessages.h"
#include "vcl/Resources.h"

namespace ribbon {

void RegisterRibbonBitmaps();  // generated from components/ribbon/resources

namespace {

rtl::Cardinal gCompactWinHide = 0;
rtl::Cardinal gSetAeroVista = 0;

// A bitmap resource of the unit as a picture: saved to a stream as a
// bitmap file and read back.
void PagerLoadResourcePicture(controls::TGDIPPicture* Picture, const char* Name) {
  vcl::TBitmap bitmap;
  bitmap.LoadFromResourceName(vcl::HInstance, Name);
  rtl::TMemoryStream stream;
  bitmap.SaveToStream(stream);
  stream.SetPosition(0);
  Picture->LoadFromStream(stream);
}

}  // namespace

void StartUpRibbon() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterRibbonBitmaps();
    gCompactWinHide = vcl::RegisterWindowMessage("TBCompactWinHide");
    gSetAeroVista = vcl::RegisterWindowMessage("TBSetAeroVista");
  });
}

rtl::Cardinal CompactWinHideMessage() {
  StartUpRibbon();
  return gCompactWinHide;
}

rtl::Cardinal SetAeroVistaMessage() {
  StartUpRibbon();
  return gSetAeroVista;
}

void TRorIvezEviPager::InitParts() {
  StartUpRibbon();
  officeHint_ = std::make_unique<controls::TLumHintInfo>();
  persistence_ = std::make_unique<TPersistence>(this);
  optionPicture_ = std::make_unique<controls::TGDIPPicture>();
  optionDisabledPicture_ = std::make_unique<controls::TGDIPPicture>();
  PagerLoadResourcePicture(optionPicture_.get(), "OPTIONIND_PIC");
  PagerLoadResourcePicture(optionDisabledPicture_.get(), "OPTIONIND_PICD");
  optionPicture_->OnChange = [this](vcl::TObject*) { OptionPicturesChanged(); };
  optionDisabledPicture_->OnChange = [this](vcl::TObject*) { OptionPicturesChanged(); };
}

void TRorIvezEviPager::OptionPicturesChanged() {
  Invalidate();
  if (TLumPage* a = ActivePage()) {
    a->Invalidate();
    a->RefreshToolBars();
  }
}

void TRorIvezEviPager::UpdateHelpButton() {
  if (!showHelpButton_) {
    if (helpButton_) {
      controls::TLumGlowButton* b = helpButton_;
      helpButton_ = nullptr;
      vcl::Free(b);
    }
    return;
  }
  if (!helpButton_) {
    helpButton_ = new controls::TLumGlowButton(this);
    helpButton_->SetAutoSize(false);
    controls::TGDIPPicture glyph;
    PagerLoadResourcePicture(&glyph, "RIEHELP_BTN");
    helpButton_->SetPicture(&glyph);
    helpButton_->OnClick = [this](vcl::TObject* Sender) {
      if (OnHelpClick) OnHelpClick(Sender);
    };
    helpButton_->SetParent(this);
  }
  helpButton_->Appearance()->Assign(CurrentStyler()->GlowButtonAppearance());
  helpButton_->SetBoundsRect(GetHelpButtonRect());
  helpButton_->BringToFront();
}

void TRorIvezEviPager::SetShowHelpButton(bool Value) {
  showHelpButton_ = Value;
  UpdateHelpButton();
  FitTabs();
  Invalidate();
}

void TRorIvezEviPager::SetCaptionButtons(const TCaptionButtons& Value) {
  captionButtons_ = Value;
  UpdateCaptionButtons(true);
  Invalidate();
}

void TRorIvezEviPager::SetWin7ScenicRibbon(bool Value) {
  controls::SetGlobalWin7ScenicRibbon(Value);
  StylerChanged(11);
  // One pixel wider and back: pages, tabs and toolbars lay out again.
  const int w = Width();
  SetWidth(w + 1);
  SetWidth(w);
}

void TRorIvezEviPager::InvalidateTab(int Index) {
  // The class library repaints whole controls; one tab or the tab area
  // both come down to the pager.
  (void)Index;
  Invalidate();
}

}  // namespace ribbon
