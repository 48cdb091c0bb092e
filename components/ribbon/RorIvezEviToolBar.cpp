// The toolbar as its controls see it (see RorIvezEviToolBar.h).
#include "ribbon/RorIvezEviToolBar.h"

#include <algorithm>
#include <string>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviRecords.h"
#include "rtl/Exceptions.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"

namespace ribbon {

rtl::AnsiString VersionText(rtl::Cardinal Packed) {
  return std::to_string((Packed >> 24) & 0xFF) + "." + std::to_string((Packed >> 16) & 0xFF) + "." +
         std::to_string((Packed >> 8) & 0xFF) + "." + std::to_string(Packed & 0xFF);
}

TLumCustomToolBar::TLumCustomToolBar(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  vcl::TControlStyle style = ControlStyle();
  style.Exclude(vcl::csOpaque);
  style.Include(vcl::csAcceptsControls);
  SetControlStyle(style);
  SetHeight(26);
  Constraints()->MinWidth = minLength_;
  Constraints()->MaxWidth = minLength_;
  SetWidth(minLength_);
  SetShowHint(true);
  internalStyler_ = new TCustomRorIvezEviStyler(this);
  internalStyler_->SetName("InternalStyler");
  internalStyler_->RegisterControl(this);
  persistence_ = new TPersistence(this);
  persistence_->SetSection("UnDockedRorIvezEvis");
}

TLumCustomToolBar::~TLumCustomToolBar() {
  if (persistence_->Enabled() && !floatingSaved_ && !ComponentState().Contains(vcl::csDesigning)) {
    floatingSaved_ = true;
    try {
      SaveFloatingState();
    } catch (const rtl::Exception&) {
      // An unwritable store loses the state, not the program.
    }
  }
  ReleaseFloatingWindow();
  LeaveDockPanel();
  delete persistence_;
  persistence_ = nullptr;
  // The own styler goes first, while this control is still whole for it
  // to leave.
  internalStyler_->UnregisterControl(this);
  delete internalStyler_;
  internalStyler_ = nullptr;
  if (toolBarStyler_) {
    toolBarStyler_->UnregisterControl(this);
    toolBarStyler_->RemoveFreeNotification(this);
  }
}

void TLumCustomToolBar::SetImages(vcl::TImageList* Value) {
  if (Value == images_) return;
  // The toolbar grows or shrinks across by the change of image size.
  const int oldW = images_ ? images_->Width() : 0, oldH = images_ ? images_->Height() : 0;
  const int newW = Value ? Value->Width() : 0, newH = Value ? Value->Height() : 0;
  if (Horizontal())
    SetHeight(Height() + newH - oldH);
  else
    SetWidth(Width() + newW - oldW);
  if (state_ == tsFloating && !Loading()) rowHeight_ += newH - oldH;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (Value) Value->FreeNotification(this);
  auto remeasure = [this] {
    for (vcl::TControl* c : controls_)
      if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(c)) t->AdjustSize();
  };
  remeasure();
  PositionControls(true);
  if (Value) {
    remeasure();
    for (vcl::TControl* c : controls_)
      if (auto* b = dynamic_cast<TLumCustomToolBarButton*>(c); b && b->Shaded()) b->UpdateShade();
  }
  if (state_ == tsFloating && !Loading()) {
    rowHeight_ = CalcRowHeight(true);
    PositionControls(true);
  }
  Invalidate();
}

void TLumCustomToolBar::SetDisabledImages(vcl::TImageList* Value) {
  if (Value == disabledImages_) return;
  if (disabledImages_) disabledImages_->RemoveFreeNotification(this);
  disabledImages_ = Value;
  if (Value) Value->FreeNotification(this);
  for (vcl::TControl* c : controls_)
    if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(c)) t->AdjustSize();
  Invalidate();
}

void TLumCustomToolBar::SetMenu(vcl::TMainMenu* Value) {
  if (Value == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

vcl::TControl* TLumCustomToolBar::ToolBarControl(int Index) const {
  if (Index < 0 || Index >= ToolBarControlCount()) throw rtl::EListError("Index out of bounds in list read access");
  return controls_[static_cast<size_t>(Index)];
}

void TLumCustomToolBar::AddToolBarControl(vcl::TControl* Control) {
  if (!Control || !AcceptsToolBarControl(Control)) return;
  if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(Control)) {
    t->AttachToolBar(this);
    t->SetPosition(position_);
    if (!Loading() && !ComponentState().Contains(vcl::csDesigning)) t->AdjustSize();
  }
  if (auto* glow = dynamic_cast<controls::TLumCustomGlowButton*>(Control)) {
    glow->Appearance()->Assign(CurrentStyler()->GlowButtonAppearance());
    glow->OnInternalKeyDown = [this](vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift) {
      GlowButtonKeyDown(Sender, Key, Shift);
    };
  }
  const int at = InsertionIndex(Control);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), Control), controls_.end());
  controls_.insert(controls_.begin() + std::min<size_t>(static_cast<size_t>(at), controls_.size()), Control);
  if (std::find(priority_.begin(), priority_.end(), Control) == priority_.end()) priority_.push_back(Control);
  PositionControls(true);
}

void TLumCustomToolBar::RemoveToolBarControl(vcl::TControl* Control) {
  if (auto* t = dynamic_cast<TLumCustomToolBarControl*>(Control))
    if (t->RorIvezEvi() == this) t->AttachToolBar(nullptr);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), Control), controls_.end());
  hidden_.erase(std::remove(hidden_.begin(), hidden_.end(), Control), hidden_.end());
  priority_.erase(std::remove(priority_.begin(), priority_.end(), Control), priority_.end());
  if (hotButton_ == Control) hotButton_ = nullptr;
  if (!Destroying()) PositionControls(true);
}

void TLumCustomToolBar::ButtonHotChanged(TLumCustomToolBarButton* Button, bool Hot) {
  if (Hot)
    hotButton_ = Button;
  else if (hotButton_ == Button)
    hotButton_ = nullptr;
}

void TLumCustomToolBar::ControlUsed(vcl::TControl* Control) {
  auto it = std::find(priority_.begin(), priority_.end(), Control);
  if (it == priority_.end()) return;
  priority_.erase(it);
  priority_.insert(priority_.begin(), Control);
}

void TLumCustomToolBar::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TCustomControl::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (AComponent == toolBarStyler_) toolBarStyler_ = nullptr;
  DockPanelGone(AComponent);
  if (Destroying()) return;
  if (AComponent == images_) SetImages(nullptr);
  if (AComponent == disabledImages_) SetDisabledImages(nullptr);
  if (AComponent == menu_) menu_ = nullptr;
}

void TLumCustomToolBar::Dispatch(vcl::TMessage& Message) {
  if (Message.Msg == vcl::WM_ERASEBKGND) {
    Message.Result = 1;  // the painting covers everything
    return;
  }
  if (Message.Msg == vcl::CM_CONTROLCHANGE) {
    auto* control = reinterpret_cast<vcl::TControl*>(Message.WParam);
    vcl::TCustomControl::Dispatch(Message);
    if (Message.LParam)
      AddToolBarControl(control);
    else
      RemoveToolBarControl(control);
    return;
  }
  vcl::TCustomControl::Dispatch(Message);
  if (Message.Msg == vcl::CM_FOCUSCHANGED) GroupFocusChanged(reinterpret_cast<vcl::TControl*>(Message.LParam));
  if (Message.Msg == vcl::WM_KEYDOWN && !MenuTracking()) GroupKeyDown(static_cast<vcl::Word>(Message.WParam));
}

}  // namespace ribbon
