// The minimised ribbon: collapsing to the tab row and back, the double
// click on the active tab, the page shown in a popup through its twin, and
// the state kept in an INI file or the registry (see RorIvezEviPager.h).
#include <memory>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace ribbon {

namespace {
constexpr int kDblClickWindow = 600;  // ms within which two clicks toggle
}  // namespace

// --- collapse and expand ---

void TRorIvezEviPager::Collapse() {
  if (!expanded_) return;
  expandedHeight_ = Height();
  int height = GetPageRect().Top;
  if (QATBelow()) {
    expandedHeight_ -= QATBelowHeight();
    height += QATBelowHeight();
  }
  // The pages keep their expanded size under the tab row while minimised.
  expanded_ = false;
  SetHeight(height);
  if (OnCollaps) OnCollaps(this);
}

void TRorIvezEviPager::Expand() {
  if (expanded_) return;
  HidePopup();
  expanded_ = true;
  SetHeight(expandedHeight_ + QATBelowHeight());
  UpdatePages();
  if (OnExpand) OnExpand(this);
}

void TRorIvezEviPager::DblClickRule(bool OverActiveTab) {
  if (OverActiveTab && !pageChanged_) {
    ++clickCount_;
    if (!dblClickTimer_) {
      dblClickTimer_ = new vcl::TTimer(this);
      dblClickTimer_->SetEnabled(false);
      dblClickTimer_->SetInterval(kDblClickWindow);
      dblClickTimer_->OnTimer = [this](vcl::TObject*) {
        dblClickTimer_->SetEnabled(false);
        clickCount_ = 0;
      };
    }
    if (!dblClickTimer_->Enabled()) dblClickTimer_->SetEnabled(true);
  }
  if (clickCount_ > 1 && hidePagesOnDblClick_) {
    if (expanded_)
      Collapse();
    else
      Expand();
    if (dblClickTimer_) dblClickTimer_->SetEnabled(false);
    clickCount_ = 0;
  }
}

// --- the popup ---

bool TRorIvezEviPager::IsPopupShowing() const { return popup_ && popup_->Visible() && !expanded_; }

void TRorIvezEviPager::CreatePopup() {
  TLumPage* page = ActivePage();
  if (!page) return;
  if (!popup_) {
    popup_ = new TMinimizedRibbonWindow(this);
    if (!Name().empty()) popup_->SetName(Name() + "_RibbonWindow");
    popup_->SetBorderStyle(vcl::bsNone);
    popup_->SetVisible(false);
    popup_->SetBounds(0, 0, 0, 0);
    popup_->SetPager(this);
    popup_->SetColor(CurrentStyler()->PagerCaption()->BorderColor());
    // Hidden by its own timer after losing the activation: the pages'
    // toolbars come home.
    popup_->OnHidden = [this](TMinimizedRibbonWindow* Window) {
      if (Window == popup_) DestroyPopup();
    };
  }
  if (!popup_->Page()) {
    page->CreateTwin(popup_);
    popup_->SetPage(page->Twin());
  }
}

void TRorIvezEviPager::ShowPopup() {
  if (!ActivePage()) return;
  CreatePopup();
  if (!popup_ || !popup_->Page()) return;
  popup_->FitToPage();
  const int w = popup_->Width(), h = popup_->Height();
  const vcl::TPoint at = ClientToScreen({GetPageRect().Left - 2, GetTabsArea().Bottom});
  popup_->SetBounds(at.X, at.Y, 1, 1);
  popup_->ShowPopup();
  popup_->SetBounds(at.X, at.Y, w, h);
}

void TRorIvezEviPager::HidePopup() {
  if (!popup_) return;
  popup_->HidePopup();
  popup_->SetVisible(false);
  DestroyPopup();
}

void TRorIvezEviPager::DestroyPopup() {
  if (!popup_) return;
  TMinimizedRibbonWindow* window = popup_;
  popup_ = nullptr;
  // The twin may belong to the page that was active when it was made.
  for (TLumPage* p : pages_)
    if (p->Twin() && p->Twin()->Parent() == window) p->DestroyTwin();
  window->OnHidden = nullptr;
  // Freed once its own messages are done; its name is free at once for
  // the next popup.
  window->SetName("");
  window->Release();
}

// --- the twin page ---

void TLumPage::CreateTwin(vcl::TWinControl* Window) {
  TRorIvezEviPager* pager = OwnerPager();
  if (!Window || !pager) return;
  DestroyTwin();
  savedAutoPosition_ = AutoPosition();
  autoPosition_ = false;
  auto* twin = new TLumPage(Window);
  twin->twinOf_ = this;
  twin->ownerPager_ = pager;
  twin->autoPosition_ = false;
  twin->vcl::TCustomControl::SetParent(Window);
  twin->SetText(Caption());
  twin->SetWideCaption(wideCaption_);
  twin->Font()->Assign(Font());
  twin->SetShowHint(ShowHint());
  twin->SetOfficeHint(OfficeHint());
  twin->SetShortCutHintPos(shortCutHintPos_);
  twin->OnMouseDown = OnMouseDown;
  twin->OnMouseMove = OnMouseMove;
  twin->OnMouseUp = OnMouseUp;
  int height = pager->SavedExpandedHeight();
  if (pager->PageCaption()->Visible()) height -= pager->PageCaption()->Height();
  height -= pager->TabSettings()->Height() + RibbonPageMargin() + 1;
  twin->SetBounds(0, 0, Width(), height);
  twin_ = twin;
  // Windows first, so the toolbars' own windows go straight into the
  // twin's and show with it.
  Window->HandleNeeded();
  twin->HandleNeeded();
  // The toolbars move across; neither list changes meanwhile.
  twin->movingToolBars_ = true;
  movingToolBars_ = true;
  twin->toolBars_ = toolBars_;
  for (TLumCustomToolBar* bar : toolBars_) bar->SetParent(twin);
  movingToolBars_ = false;
  twin->movingToolBars_ = false;
  twin->autoPosition_ = true;
  twin->ArrangeToolBars();
}

void TLumPage::DestroyTwin() {
  if (!twin_) return;
  TLumPage* twin = twin_;
  twin_ = nullptr;
  twin->HideToolBarPopups();
  movingToolBars_ = true;
  twin->movingToolBars_ = true;
  for (TLumCustomToolBar* bar : toolBars_) bar->SetParent(this);
  twin->toolBars_.clear();
  twin->movingToolBars_ = false;
  movingToolBars_ = false;
  vcl::Free(twin);
  autoPosition_ = savedAutoPosition_;
  // One pixel narrower and back: the toolbars are laid out again.
  const int w = Width();
  SetBounds(Left(), Top(), w - 1, Height());
  SetBounds(Left(), Top(), w, Height());
}

// --- persistence ---

void TRorIvezEviPager::SavePersistence() {
  const TPersistence* p = persistence_.get();
  if (!p->Enabled() || p->Key().empty() || p->Section().empty() || ComponentState().Contains(vcl::csDesigning))
    return;
  const std::unique_ptr<rtl::TCustomIniFile> store = p->OpenStore();
  store->WriteInteger(p->Section(), "Minimized", expanded_ ? 0 : 1);
  store->WriteInteger(p->Section(), "ShowQATBelow", QATBelow() ? 1 : 0);
  store->UpdateFile();
}

void TRorIvezEviPager::LoadPersistence() {
  const TPersistence* p = persistence_.get();
  if (!p->Enabled() || p->Key().empty() || p->Section().empty() || ComponentState().Contains(vcl::csDesigning))
    return;
  const std::unique_ptr<rtl::TCustomIniFile> store = p->OpenStore();
  if (store->ReadInteger(p->Section(), "Minimized", expanded_ ? 0 : 1) > 0) Collapse();
  if (store->ReadInteger(p->Section(), "ShowQATBelow", QATBelow() ? 1 : 0) > 0) SetQATBelow(true);
}

}  // namespace ribbon
