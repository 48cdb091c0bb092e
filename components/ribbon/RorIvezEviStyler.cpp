// The toolbar styler base: its settings, the list of controls that use it
// and the broadcast of each change with its reason code.
#include "ribbon/RorIvezEviStyler.h"

#include <algorithm>

namespace ribbon {

TCustomRorIvezEviStyler::TCustomRorIvezEviStyler(vcl::TComponent* Owner)
    : vcl::TComponent(Owner),
      BackGround_(new vcl::TBitmap),
      Font_(new vcl::TFont),
      DragGripImage_(new vcl::TBitmap),
      RightHandleImage_(new vcl::TBitmap),
      CaptionAppearance_(new TCaptionAppearance),
      Color_(new TVistaGradientBackground),
      DockColor_(new TGradientBackground),
      ButtonAppearance_(new TButtonAppearance),
      ColorHot_(new TVistaGradientBackground),
      CaptionFont_(new vcl::TFont),
      ContainerAppearance_(new TContainerAppearance),
      GlowButtonAppearance_(new controls::TGlowButtonAppearance),
      CompactGlowButtonAppearance_(new controls::TGlowButtonAppearance),
      PagerCaption_(new TVistaTextBackground),
      TabAppearance_(new TTabAppearance),
      PageAppearance_(new TVistaPageBackground),
      GroupAppearance_(new TGroupAppearance),
      QATAppearance_(new TQATAppearance) {
  CaptionAppearance_->OnChange = Sender(scColors);
  Color_->OnChange = Sender(scColors);
  DockColor_->OnChange = Sender(scColors);
  InternalMenuStyler_ = new controls::TLumMenuStyler(this);
  InternalMenuStyler_->SetName("InternalMenuStyler");
  CurrentMenuStyler_ = InternalMenuStyler_;
  ColorHot_->SetColor(vcl::clNone);
  ColorHot_->SetColorTo(vcl::clNone);
  ContainerAppearance_->OnChange = Sender(scContainer);
  GlowButtonAppearance_->OnChange = Sender(scGlowButton);
  CompactGlowButtonAppearance_->OnChange = Sender(scGlowButton);
  PagerCaption_->OnChange = Sender(scPagerCaption);
  TabAppearance_->OnChange = Sender(scPager);
  PageAppearance_->OnChange = Sender(scPager);
  GroupAppearance_->OnChange = Sender(scPager);
  QATAppearance_->OnChange = Sender(scQAT);
  Font_->SetName(DefaultToolbarFontName());
  CaptionFont_->SetName(DefaultToolbarFontName());
}

TCustomRorIvezEviStyler::~TCustomRorIvezEviStyler() {
  // Dock panels and pagers drop this styler (toolbars learn it from their
  // parent); dropping unregisters, so stay on an entry that just went.
  size_t visits = Controls_.size();
  size_t i = 0;
  for (size_t n = 0; n < visits && i < Controls_.size(); ++n) {
    vcl::TControl* control = Controls_[i];
    auto* client = dynamic_cast<IRorIvezEviStylerClient*>(control);
    size_t before = Controls_.size();
    if (client && client->StylerClientKind() != TStylerClientKind::sckToolBar && client->ToolBarStyler() == this &&
        !control->Destroying())
      client->SetToolBarStyler(nullptr);
    if (Controls_.size() == before) ++i;
  }
  for (vcl::TControl* control : Controls_) control->RemoveFreeNotification(this);
  Controls_.clear();
  ControlsFreed_ = true;
  if (LumMenuStyler_) LumMenuStyler_->RemoveFreeNotification(this);
  delete QATAppearance_;
  delete GroupAppearance_;
  delete PageAppearance_;
  delete TabAppearance_;
  delete PagerCaption_;
  delete CompactGlowButtonAppearance_;
  delete GlowButtonAppearance_;
  delete ContainerAppearance_;
  delete CaptionFont_;
  delete ColorHot_;
  delete ButtonAppearance_;
  delete DockColor_;
  delete Color_;
  delete CaptionAppearance_;
  delete RightHandleImage_;
  delete DragGripImage_;
  delete Font_;
  delete BackGround_;
}

void TCustomRorIvezEviStyler::RegisterControl(vcl::TControl* Control) {
  if (!Control) return;
  Controls_.push_back(Control);
  Control->FreeNotification(this);
}

void TCustomRorIvezEviStyler::UnregisterControl(vcl::TControl* Control) {
  if (ControlsFreed_) return;
  auto it = std::find(Controls_.begin(), Controls_.end(), Control);
  if (it != Controls_.end()) Controls_.erase(it);
}

void TCustomRorIvezEviStyler::BroadcastChange(int Code) {
  const size_t count = Controls_.size();
  for (size_t i = 0; i < count && i < Controls_.size(); ++i) {
    auto* control = dynamic_cast<vcl::TCustomControl*>(Controls_[i]);
    auto* client = dynamic_cast<IRorIvezEviStylerClient*>(control);
    if (!client) continue;
    switch (client->StylerClientKind()) {
      case TStylerClientKind::sckDockPanel:
        client->StylerChanged(Code);
        break;
      case TStylerClientKind::sckToolBar:
        if (IRorIvezEviStylerClient* compact = client->CompactWindowToolBar()) compact->StylerChanged(Code);
        client->StylerChanged(Code);
        break;
      case TStylerClientKind::sckPager:
        client->StylerChanged(Code);
        break;
    }
  }
}

void TCustomRorIvezEviStyler::Notification(vcl::TComponent* Component, vcl::TOperation Operation) {
  vcl::TComponent::Notification(Component, Operation);
  if (Destroying() || Operation != vcl::opRemove) return;
  if (Component && Component == LumMenuStyler_) {
    SetLumMenuStyler(nullptr);
    return;
  }
  // Every entry of a freed control goes: it may have registered twice.
  std::erase_if(Controls_, [Component](vcl::TControl* c) { return c == Component; });
}

void TCustomRorIvezEviStyler::SetLumMenuStyler(controls::TCustomLumMenuStyler* Value) {
  if (LumMenuStyler_ && LumMenuStyler_ != Value) LumMenuStyler_->RemoveFreeNotification(this);
  LumMenuStyler_ = Value;
  if (Value) Value->FreeNotification(this);
  CurrentMenuStyler_ = Value ? Value : static_cast<controls::TCustomLumMenuStyler*>(InternalMenuStyler_);
  BroadcastChange(scMenuStyler);
}

void TCustomRorIvezEviStyler::SetBackGround(const vcl::TBitmap* Value) {
  BackGround_->Assign(Value);
  BroadcastChange(scBackGround);
}

void TCustomRorIvezEviStyler::SetBackGroundTransparent(bool Value) {
  StoreAndSend(BackGroundTransparent_, Value, scBackGround);
}

void TCustomRorIvezEviStyler::SetBackGroundDisplay(TBackGroundDisplay Value) {
  StoreAndSend(BackGroundDisplay_, Value, scBackGround);
}

void TCustomRorIvezEviStyler::SetFont(const vcl::TFont* Value) {
  Font_->Assign(Value);
  BroadcastChange(scBackGround);
}

void TCustomRorIvezEviStyler::SetCaptionFont(const vcl::TFont* Value) {
  CaptionFont_->Assign(Value);
  BroadcastChange(scColors);
}

void TCustomRorIvezEviStyler::SetRightHandleImage(const vcl::TBitmap* Value) {
  RightHandleImage_->Assign(Value);
  BroadcastChange(scColors);
}

void TCustomRorIvezEviStyler::SetRoundedLook(bool Value) {
  RoundedLook_ = Value;
  BroadcastChange(scColors);
}

void TCustomRorIvezEviStyler::SetSystemFont(bool Value) {
  if (SystemFont_ == Value) return;
  SystemFont_ = Value;
  if (!Value) return;
  Font_->SetName(DefaultToolbarFontName());
  CaptionFont_->SetName(DefaultToolbarFontName());
}

void TCustomRorIvezEviStyler::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TCustomRorIvezEviStyler*>(Source);
  if (!from) {
    vcl::TComponent::Assign(Source);
    return;
  }
  if (CurrentMenuStyler_ && from->LumMenuStyler_) CurrentMenuStyler_->Assign(from->LumMenuStyler_);
  Color_->Assign(from->Color_);
  DockColor_->Assign(from->DockColor_);
  BackGround_->Assign(from->BackGround_);
  SetBackGroundTransparent(from->BackGroundTransparent_);
  SetBackGroundDisplay(from->BackGroundDisplay_);
  Font_->Assign(from->Font_);
  SetDragGripStyle(from->DragGripStyle_);
  DragGripImage_->Assign(from->DragGripImage_);
  RightHandleImage_->Assign(from->RightHandleImage_);
  SetFloatingWindowBorderColor(from->FloatingWindowBorderColor_);
  SetFloatingWindowBorderWidth(from->FloatingWindowBorderWidth_);
  CaptionAppearance_->Assign(from->CaptionAppearance_);
  CornerColor_ = from->CornerColor_;
  SetButtonAppearance(from->ButtonAppearance_);
}

}  // namespace ribbon
