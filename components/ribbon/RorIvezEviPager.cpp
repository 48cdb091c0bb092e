// The ribbon pager's page list, activation and geometry, and its pages
// (see RorIvezEviPager.h).
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"

#include <algorithm>

#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviOfficeStyler.h"
#include "rtl/Exceptions.h"
#include "vcl/ExtCtrls.h"

namespace ribbon {

// --- TLumPage ---

TLumPage::TLumPage(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  vcl::TControlStyle style = ControlStyle();
  style.Exclude(vcl::csOpaque);
  style.Include(vcl::csAcceptsControls);
  SetControlStyle(style);
}

TLumPage::~TLumPage() {
  delete fadeTimer_;
  DestroyTwin();
  HideTabKeyTip();
  if (pager_) pager_->RemovePage(this);
}

void TLumPage::SetPager(TRorIvezEviPager* Pager) {
  if (pager_ && pager_ != Pager) pager_->RemovePage(this);
  if (!Pager) return;
  if (Parent() != Pager) {
    settingParent_ = true;
    vcl::TCustomControl::SetParent(Pager);
    settingParent_ = false;
  }
  Pager->AddPage(this);
}

void TLumPage::SetParent(vcl::TWinControl* AParent) {
  if (settingParent_) {
    vcl::TCustomControl::SetParent(AParent);
    return;
  }
  if (auto* pager = dynamic_cast<TRorIvezEviPager*>(AParent)) {
    SetPager(pager);
    return;
  }
  if (pager_) pager_->RemovePage(this);
  vcl::TCustomControl::SetParent(AParent);
}

int TLumPage::PageIndex() const {
  if (!pager_) return -1;
  for (int i = 0; i < pager_->PageCount(); ++i)
    if (pager_->GetPageByIndex(i) == this) return i;
  return -1;
}

void TLumPage::SetPageIndex(int Value) {
  if (!pager_ || Value < 0 || Value >= pager_->PageCount()) return;
  pager_->MovePage(PageIndex(), Value);
  pager_->Invalidate();
  Invalidate();
}

void TLumPage::TabsChanged() {
  if (!pager_) return;
  pager_->InitTabWidths();
  pager_->FitTabs();
  pager_->ResetTabScroll();
  pager_->Invalidate();
  Invalidate();
}

void TLumPage::SetText(const rtl::AnsiString& Value) {
  if (Value == Caption()) return;
  vcl::TCustomControl::SetText(Value);
  TabsChanged();
}

void TLumPage::SetWideCaption(const rtl::WideString& Value) {
  if (Value == wideCaption_) return;
  wideCaption_ = Value;
  TabsChanged();
}

void TLumPage::SetImageIndex(int Value) {
  imageIndex_ = Value;
  if (!pager_) return;
  pager_->InitTabWidths();
  pager_->Invalidate();
}

void TLumPage::SetTabVisible(bool Value) {
  if (tabVisible_ == Value) return;
  tabVisible_ = Value;
  if (!Value)
    for (TLumCustomToolBar* t : toolBars_) t->HideCompactWindow();
  if (pager_) {
    pager_->FitTabs();
    pager_->ResetTabScroll();
    pager_->Invalidate();
    if (TLumPage* a = pager_->ActivePage()) a->Invalidate();
  }
  Invalidate();
}

void TLumPage::SetTabEnabled(bool Value) {
  if (tabEnabled_ == Value) return;
  tabEnabled_ = Value;
  Invalidate();
  if (pager_) pager_->Invalidate();
}

// --- TRorIvezEviPager ---

TRorIvezEviPager::TRorIvezEviPager(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {
  vcl::TControlStyle style = ControlStyle();
  style.Exclude(vcl::csOpaque);
  style.Include(vcl::csAcceptsControls);
  SetControlStyle(style);
  SetAlign(vcl::alTop);
  // A pager without a styler of its own looks like Office 2007 Luna.
  auto* office = new TRorIvezEviOfficeStyler(this);
  office->SetName("InternalStyler");
  office->SetStyle(bsOffice2007Luna);
  internalStyler_ = office;
  internalStyler_->RegisterControl(this);
  caption_.OnChange = [this](vcl::TObject*) {
    UpdatePages();
    UpdateCaptionButtons(true);
    PlaceQAT();
    Invalidate();
  };
  tabSettings_.OnChange = [this](vcl::TObject*) {
    UpdatePages();
    InitTabWidths();
    PlaceQAT();
    Invalidate();
  };
  SetShowHint(false);
  SetTabStop(true);
  SetHeight(149);
  expandedHeight_ = 149;
  InitParts();
  controls::SetGlobalWin7ScenicRibbon(false);
}

TRorIvezEviPager::~TRorIvezEviPager() {
  // A store that cannot be written loses the state, not the program.
  try {
    SavePersistence();
  } catch (const rtl::Exception&) {
  }
  RemoveKeyHook();
  if (TMinimizedRibbonWindow* window = popup_) {
    for (TLumPage* p : pages_)
      if (p->Twin() && p->Twin()->Parent() == window) p->DestroyTwin();
    popup_ = nullptr;
    vcl::Free(window);
  }
  for (TLumPage* p : pages_) p->HideTabKeyTip();
  keyTipWindows_.clear();
  if (keyTipFocus_) keyTipFocus_->RemoveFreeNotification(this);
  keyTipFocus_ = nullptr;
  // The own styler goes first, while this control is still whole for it
  // to leave.
  internalStyler_->UnregisterControl(this);
  delete internalStyler_;
  internalStyler_ = nullptr;
  UnhookForm();
  if (toolBarStyler_) {
    toolBarStyler_->UnregisterControl(this);
    toolBarStyler_->RemoveFreeNotification(this);
  }
  for (TLumPage* p : pages_) p->AttachPager(nullptr);
  pages_.clear();
}

int TRorIvezEviPager::PageIndexOf(const TLumPage* Page) const {
  auto it = std::find(pages_.begin(), pages_.end(), Page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

int TRorIvezEviPager::AddPage(TLumPage* Page) {
  if (!Page) return -1;
  int index = PageIndexOf(Page);
  if (index < 0) {
    pages_.push_back(Page);
    index = PageCount() - 1;
  }
  if (Page->Parent() != this) Page->SetParent(this);
  Page->AttachPager(this);
  UpdatePageBounds(Page);
  if (index != activePageIndex_) Page->SetVisible(false);
  if (TLumPage* active = ActivePage()) active->BringToFront();
  InitTabWidths();
  ShiftTabs(0, PageCount() - 1);
  Invalidate();
  return index;
}

void TRorIvezEviPager::RemovePage(TLumPage* Page) {
  const int index = PageIndexOf(Page);
  if (index < 0) return;
  if (Destroying()) {  // the pager goes: no protocol, no events
    pages_.erase(pages_.begin() + index);
    Page->AttachPager(nullptr);
    return;
  }
  const int noted = index < activePageIndex_ ? activePageIndex_ - 1 : activePageIndex_;
  if (index == activePageIndex_) SelectNextPage(true);
  pages_.erase(pages_.begin() + index);
  Page->AttachPager(nullptr);
  // A page out of the list is no longer the pager's to show.
  if (!Destroying() && !Page->Destroying()) Page->SetVisible(false);
  SetActivePageIndex(noted);
  KeepActivePageShown(noted);
}

void TRorIvezEviPager::KeepActivePageShown(int Noted) {
  if (pages_.empty()) {
    activePageIndex_ = -1;
    return;
  }
  if (activePageIndex_ >= 0 && activePageIndex_ < PageCount() && pages_[activePageIndex_]->Visible()) return;
  // The protocol left the index past the end or on a hidden page (the
  // only page removed, or a refused move off the removed active page):
  // the noted page, clamped to the list, is shown without asking again.
  activePageIndex_ = std::clamp(Noted, 0, PageCount() - 1);
  for (int i = 0; i < PageCount(); ++i)
    if (i != activePageIndex_) pages_[i]->SetVisible(false);
  pages_[activePageIndex_]->SetVisible(true);
  pages_[activePageIndex_]->BringToFront();
  if (OnChange) OnChange(this);
  Invalidate();
}

TLumPage* TRorIvezEviPager::GetPageByIndex(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw rtl::EListError("Index out of bounds in list read access");
  return pages_[static_cast<size_t>(Index)];
}

TLumPage* TRorIvezEviPager::ActivePage() const {
  return activePageIndex_ >= 0 && activePageIndex_ < PageCount() ? pages_[activePageIndex_] : nullptr;
}

void TRorIvezEviPager::SetActivePage(TLumPage* Page) {
  const int index = PageIndexOf(Page);
  if (index >= 0) SetActivePageIndex(index);
}

void TRorIvezEviPager::SetActivePageIndex(int Index) {
  ChangeActivePage(Index);
  Invalidate();
}

void TRorIvezEviPager::ChangeActivePage(int Index) {
  if (Index < 0 || Index >= PageCount() || Index == activePageIndex_) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, activePageIndex_, Index, allow);
  if (!allow) return;
  // The minimised ribbon's popup shows the old page's twin: it goes first.
  if (!expanded_) DestroyPopup();
  if (activePageIndex_ >= 0 && activePageIndex_ < PageCount()) pages_[activePageIndex_]->SetVisible(false);
  activePageIndex_ = Index;
  pages_[Index]->SetVisible(true);
  pages_[Index]->BringToFront();
  if (OnChange) OnChange(this);
}

bool TRorIvezEviPager::Selectable(int Index) const {
  return pages_[Index]->TabVisible() && pages_[Index]->TabEnabled();
}

void TRorIvezEviPager::SelectNextPage(bool Forward) {
  if (activePageIndex_ < 0 || activePageIndex_ >= PageCount()) return;
  const int n = PageCount();
  int i = activePageIndex_;
  for (int k = 0; k < n - 1; ++k) {
    i = Forward ? (i + 1) % n : (i - 1 + n) % n;
    if (i != activePageIndex_ && Selectable(i)) {
      SetActivePageIndex(i);
      return;
    }
  }
}

void TRorIvezEviPager::SelectPreviousTab() {
  for (int i = activePageIndex_ - 1; i >= 0 && activePageIndex_ >= 0; --i)
    if (Selectable(i)) {
      SetActivePageIndex(i);
      return;
    }
}

void TRorIvezEviPager::SelectFollowingTab() {
  if (activePageIndex_ < 0) return;
  for (int i = activePageIndex_ + 1; i < PageCount(); ++i)
    if (Selectable(i)) {
      SetActivePageIndex(i);
      return;
    }
}

void TRorIvezEviPager::MovePage(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || FromIndex >= PageCount() || ToIndex < 0 || ToIndex >= PageCount()) return;
  TLumPage* active = ActivePage();
  TLumPage* moved = pages_[FromIndex];
  pages_.erase(pages_.begin() + FromIndex);
  pages_.insert(pages_.begin() + ToIndex, moved);
  ArrangeTabs();
  if (!active) return;
  // The same page stays active under its new index; OnChanging and
  // OnChange see the move.
  const int now = PageIndexOf(active);
  if (now != activePageIndex_) {
    bool allow = true;
    if (OnChanging) OnChanging(this, activePageIndex_, now, allow);
    activePageIndex_ = now;
    if (OnChange) OnChange(this);
  }
  Invalidate();
}

void TRorIvezEviPager::UpdatePageBounds(TLumPage* Page) {
  if (PageIndexOf(Page) < 0) return;
  Page->SetBoundsRect(GetPageRect());
}

void TRorIvezEviPager::UpdatePages() {
  for (TLumPage* p : pages_) UpdatePageBounds(p);
}

vcl::TRect TRorIvezEviPager::GetCaptionRect() const {
  if (!caption_.Visible()) return vcl::TRect{-1, -1, -1, -1};
  vcl::TRect r = ClientRect();
  r.Bottom = r.Top + caption_.Height() + 1;
  return r;
}

vcl::TRect TRorIvezEviPager::GetTabsArea() const {
  vcl::TRect r = ClientRect();
  if (caption_.Visible()) r.Top += caption_.Height();
  r.Bottom = r.Top + tabSettings_.Height();
  return r;
}

vcl::TRect TRorIvezEviPager::GetPageRect() const {
  vcl::TRect r = ClientRect();
  // Minimised, the pages keep their expanded size under the tab row.
  if (!expanded_) r.Bottom = r.Top + expandedHeight_;
  if (caption_.Visible()) r.Top += caption_.Height();
  r.Bottom -= QATBelowHeight();
  r.Top += tabSettings_.Height();
  r.Left += RibbonPageMargin() + pageLeftMargin_;
  r.Right -= RibbonPageMargin() + pageRightMargin_;
  r.Bottom -= RibbonPageMargin() + 1;
  return r;
}

void TRorIvezEviPager::SetPageLeftMargin(int Value) {
  if (Value < 0 || Value == pageLeftMargin_) return;
  pageLeftMargin_ = Value;
  UpdatePages();
  if (TLumPage* a = ActivePage()) a->Invalidate();
}

void TRorIvezEviPager::SetPageRightMargin(int Value) {
  if (Value < 0 || Value == pageRightMargin_) return;
  pageRightMargin_ = Value;
  UpdatePages();
  if (TLumPage* a = ActivePage()) a->Invalidate();
}

void TRorIvezEviPager::StylerChanged(int Code) {
  QATStylerChanged(Code);
  // Caption colours and glyphs (code 11) or everything (0).
  if (closeButton_ && (Code == 0 || Code == 11)) UpdateCaptionButtons(true);
  Invalidate();
  if (TLumPage* a = ActivePage()) a->Invalidate();
  if (toolBarStyler_ && helpButton_) {
    helpButton_->Appearance()->Assign(toolBarStyler_->GlowButtonAppearance());
    helpButton_->Invalidate();
  }
}

void TRorIvezEviPager::SetToolBarStyler(TCustomRorIvezEviStyler* Value) {
  if (Value && Value == toolBarStyler_) return;
  if (toolBarStyler_) {
    toolBarStyler_->UnregisterControl(this);
    toolBarStyler_->RemoveFreeNotification(this);
  }
  toolBarStyler_ = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->RegisterControl(this);
  }
  if (!Destroying() && !Loading())
    for (TLumPage* p : pages_) {
      // Each toolbar reads its ParentStyler again (True takes the new
      // styler).
      for (int i = 0; i < p->ToolBarCount(); ++i) p->ToolBars(i)->SetParentStyler(p->ToolBars(i)->ParentStyler());
      p->Invalidate();
    }
  StylerChanged(0);
}

void TRorIvezEviPager::SetParent(vcl::TWinControl* AParent) {
  if (dynamic_cast<TLumCustomToolBar*>(AParent) || dynamic_cast<TRorIvezEviPager*>(AParent) ||
      dynamic_cast<TLumPage*>(AParent)) {
    throw rtl::Exception("Invalid Parent");
  }
  if (const auto* host = dynamic_cast<const IToolBarHost*>(AParent); host && host->DockPanelHost())
    throw rtl::Exception("Invalid Parent");
  vcl::TCustomControl::SetParent(AParent);
  HookForm();
}

void TRorIvezEviPager::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  vcl::TCustomControl::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (AComponent == toolBarStyler_) toolBarStyler_ = nullptr;
  if (AComponent == keyTipFocus_) keyTipFocus_ = nullptr;
  if (AComponent == popup_) popup_ = nullptr;
  if (AComponent == hookedForm_) {
    hookedForm_ = nullptr;
    formHook_ = 0;
  }
}

void TRorIvezEviPager::Resize() {
  vcl::TCustomControl::Resize();
  UpdatePages();
  FitTabs();
  ResetTabScroll();
  UpdateCaptionButtons(false);
  if (helpButton_) UpdateHelpButton();
  PlaceQAT();
}

}  // namespace ribbon
