#include "controls/LumAppStyler.h"

#include <algorithm>

#include "vcl/Forms.h"

namespace controls {

// --- TLumAppStyler ---

TLumAppStyler::TLumAppStyler(vcl::TComponent* owner) : vcl::TComponent(owner) {
  if (ComponentState().Contains(vcl::csDesigning)) return;
  notifier_ = new TThemeNotifierWindow(this);
  // The main form as it is now; while it is itself being built there is
  // none, and no theme change is heard.
  if (vcl::Application && vcl::Application->MainForm()) notifier_->SetParent(vcl::Application->MainForm());
  notifier_->OnThemeChange = [this](vcl::TObject*) { ThemeChanged(); };
}

TLumAppStyler::~TLumAppStyler() {
  for (TFormStyler* f : std::vector<TFormStyler*>(formStylers_))
    if (f) f->SetAppStyler(nullptr);
  formStylers_.clear();
}

void TLumAppStyler::SetStyle(REZORuvar value) {
  if (value == style_) return;
  style_ = value;
  if (!ComponentState().Contains(vcl::csLoading) && !ComponentState().Contains(vcl::csDesigning))
    for (TFormStyler* f : std::vector<TFormStyler*>(formStylers_)) f->SetStyle(value);
  if (OnChange) OnChange(this);
}

void TLumAppStyler::SetAutoThemeAdapt(bool value) {
  autoThemeAdapt_ = value;
  ThemeChanged();
}

void TLumAppStyler::ThemeChanged() {
  if (!autoThemeAdapt_) return;
  switch (CurrentXPColorScheme()) {
    case 1: SetStyle(tsOffice2003Blue); break;
    case 2: SetStyle(tsOffice2003Olive); break;
    case 3: SetStyle(tsOffice2003Silver); break;
    default: SetStyle(tsOffice2003Classic); break;
  }
}

void TLumAppStyler::Loaded() {
  vcl::TComponent::Loaded();
  if (autoThemeAdapt_) ThemeChanged();
}

void TLumAppStyler::Assign(const vcl::TPersistent* source) {
  auto* other = dynamic_cast<const TLumAppStyler*>(source);
  if (!other) return;
  SetStyle(other->style_);
  SetAutoThemeAdapt(other->autoThemeAdapt_);
}

vcl::AnsiString TLumAppStyler::Version() const {
  constexpr vcl::Cardinal kVersion = 0x01020200;
  return std::to_string(kVersion >> 24) + "." + std::to_string((kVersion >> 16) & 0xFF) + "." +
         std::to_string((kVersion >> 8) & 0xFF) + "." + std::to_string(kVersion & 0xFF);
}

void TLumAppStyler::AddFormStyler(TFormStyler* styler) {
  if (std::find(formStylers_.begin(), formStylers_.end(), styler) == formStylers_.end())
    formStylers_.push_back(styler);
}

void TLumAppStyler::RemoveFormStyler(TFormStyler* styler) {
  formStylers_.erase(std::remove(formStylers_.begin(), formStylers_.end(), styler), formStylers_.end());
}

// --- TFormStyler ---

TFormStyler::TFormStyler(vcl::TComponent* owner) : vcl::TComponent(owner) {}

TFormStyler::~TFormStyler() {
  if (appStyler_) appStyler_->RemoveFormStyler(this);
}

void TFormStyler::SetStyle(REZORuvar value) {
  if (value == style_) return;
  style_ = value;
  if (value != tsCustom && !ComponentState().Contains(vcl::csLoading)) ApplyStyle();
  if (OnChange) OnChange(this);
}

void TFormStyler::SetAppStyler(TLumAppStyler* value) {
  if (appStyler_ && appStyler_ != value) {
    appStyler_->RemoveFormStyler(this);
    appStyler_->RemoveFreeNotification(this);
  }
  appStyler_ = value;
  if (!value) return;
  value->FreeNotification(this);
  if (!ComponentState().Contains(vcl::csLoading)) SetStyle(value->Style());
  if (!ComponentState().Contains(vcl::csDesigning)) value->AddFormStyler(this);
}

void TFormStyler::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TComponent::Notification(component, operation);
  if (operation == vcl::opRemove && component == appStyler_) appStyler_ = nullptr;
}

void TFormStyler::Offer(vcl::TComponent* component) {
  IStyleAware* aware = StyleAwareOf(component);
  if (!aware) return;
  bool allow = true;
  if (OnApplyStyle) OnApplyStyle(this, component, allow);
  if (allow) aware->SetComponentStyle(style_);
}

void TFormStyler::WalkContainer(vcl::TComponent* container) {
  for (vcl::Integer i = 0; i < container->ComponentCount(); ++i) {
    vcl::TComponent* c = container->Components(i);
    Offer(c);
    if (dynamic_cast<vcl::TFrame*>(c)) WalkContainer(c);
  }
}

void TFormStyler::ApplyStyle() {
  vcl::TComponent* owner = Owner();
  if (dynamic_cast<vcl::TFrame*>(owner)) {
    WalkContainer(owner);
  } else if (dynamic_cast<vcl::TCustomForm*>(owner)) {
    // Components owned by frames on the form are not visited.
    for (vcl::Integer i = 0; i < owner->ComponentCount(); ++i) Offer(owner->Components(i));
  }
}

}  // namespace controls
