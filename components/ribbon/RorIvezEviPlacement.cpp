// The toolbar and its parent: the placement state a parent gives, the
// styler it draws with (its own, or its page's pager's), the looks it
// hands its children, its place among a page's toolbars, and the messages
// that concern its parent form.
#include <algorithm>

#include "controls/LumGlowButton.h"
#include "controls/LumStyleIF.h"
#include "ribbon/RorIvezEviButtons.h"
#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviDockPanel.h"
#include "ribbon/RorIvezEviFloating.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbon {

void TLumCustomToolBar::SetParent(vcl::TWinControl* AParent) {
  auto* panel = dynamic_cast<TLumDockPanel*>(AParent);
  // A locked panel without a row for the toolbar refuses it: it stays.
  if (panel && panel != dockPanel_ && panel->LockHeight() && panel->PanelLoaded() && !panel->Designing() &&
      !panel->HasRowFor(this))
    return;
  if (AParent != Parent() && dockPanel_ && panel != dockPanel_) LeaveDockPanel();
  vcl::TCustomControl::SetParent(AParent);
  if (!AParent) return;
  previousState_ = state_;
  const auto* host = dynamic_cast<const IToolBarHost*>(AParent);
  if (dynamic_cast<TFloatingWindow*>(AParent)) {
    state_ = tsFloating;
    if (!Horizontal()) SetOrientation(daTop);
    SetHeight(Height() + captionHeight_);
    PositionControls(true);
    if (!Loading() && OnUnDocked) OnUnDocked(this);
    return;
  }
  if (panel) {
    state_ = tsDocked;
    if (panel != dockPanel_) {
      if (previousState_ == tsFloating) {
        // Out of its floating window: the watch ends, the caption goes.
        if (HandleAllocated()) vcl::KillTimer(Handle(), 500);
        if (Horizontal()) {
          Constraints()->MinHeight = Constraints()->MaxHeight = 0;
          SetHeight(rowHeight_);
        }
      }
      if (!EnterDockPanel(panel)) {
        state_ = previousState_;
        return;
      }
      if (floatingWindow_ && floatingWindow_->Visible()) floatingWindow_->Hide();
      SetParentStyler(parentStyler_);
      PositionControls(true);
      if (!Loading() && OnDocked) OnDocked(this, panel);
      return;
    }
  } else if (host && host->DockPanelHost()) {
    state_ = tsDocked;
  } else {
    // Only a page of the ribbon passes its styler on.
    if (!(host && host->KeepsParentStyler())) SetParentStyler(false);
    state_ = tsFixed;
  }
  PositionControls(true);
}

void TLumCustomToolBar::SetToolBarStyler(TCustomRorIvezEviStyler* Value) {
  if (Value && Value == toolBarStyler_) return;
  if (toolBarStyler_ && toolBarStyler_ != internalStyler_) {
    toolBarStyler_->UnregisterControl(this);
    toolBarStyler_->RemoveFreeNotification(this);
  }
  TCustomRorIvezEviStyler* styler = Value;
  if (parentStyler_)
    if (const auto* host = dynamic_cast<const IToolBarHost*>(Parent()))
      if (TCustomRorIvezEviStyler* inherited = host->ParentStylerFor(this)) styler = inherited;
  toolBarStyler_ = styler == internalStyler_ ? nullptr : styler;
  if (toolBarStyler_) {
    toolBarStyler_->FreeNotification(this);
    toolBarStyler_->RegisterControl(this);
  }
  if (Parent() && !Destroying()) {
    for (vcl::TControl* c : controls_)
      if (auto* b = dynamic_cast<TLumCustomToolBarButton*>(c)) b->AdjustSize();
    UpdateStyler();
  }
  Invalidate();
}

void TLumCustomToolBar::SetParentStyler(bool Value) {
  if (!Value && !parentStyler_) return;
  parentStyler_ = Value;
  SetToolBarStyler(nullptr);
}

void TLumCustomToolBar::UpdateStyler() {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (!s) return;
  const controls::REZORuvar style = s->ComponentStyle();
  for (vcl::TControl* c : controls_) {
    if (auto* glow = dynamic_cast<controls::TLumCustomGlowButton*>(c)) {
      glow->Appearance()->Assign(collapsed_ ? s->CompactGlowButtonAppearance() : s->GlowButtonAppearance());
      continue;
    }
    if (style == controls::tsCustom) continue;
    if (controls::IStyleAware* aware = controls::StyleAwareOf(c)) aware->SetComponentStyle(style);
  }
}

void TLumCustomToolBar::StylerChanged(int Code) {
  TCustomRorIvezEviStyler* s = CurrentStyler();
  if (!s) return;
  SetColor(s->Color()->Color());
  if (Code == scColors || Code == scGlowButton) UpdateStyler();
  if (Code == scDragGrip) {
    PositionControls(true);
    UpdateOverflow();
  }
  for (vcl::TControl* c : controls_) {
    if (Code == scMenuStyler && !Loading())
      if (auto* m = dynamic_cast<TRorIvezEviMenuButton*>(c)) m->AdjustSize();
    if (dynamic_cast<TRorIvezEviContainer*>(c)) c->Invalidate();
  }
  Invalidate();
}

int TLumCustomToolBar::ToolBarIndex() const {
  const auto* host = dynamic_cast<const IToolBarHost*>(Parent());
  return host ? host->ToolBarIndexOf(this) : -1;
}

void TLumCustomToolBar::SetToolBarIndex(int Value) {
  auto* host = dynamic_cast<IToolBarHost*>(Parent());
  if (!host || host->ToolBarIndexOf(this) < 0) return;
  const int landed = host->MoveToolBarTo(this, Value);
  if (landed >= 0) SetTabOrder(landed);
}

void TLumCustomToolBar::WndProc(vcl::TMessage& Message) {
  if (Message.Msg != 0 && Message.Msg == CompactWinHideMessage()) {
    // One pixel taller and back: the form lays its menu bar out again.
    if (vcl::TCustomForm* form = vcl::GetParentForm(this); form && form->Menu()) {
      const int h = form->Height();
      form->SetHeight(h + 1);
      form->SetHeight(h);
    }
  }
  if (Message.Msg == vcl::WM_DESTROY && HandleAllocated()) vcl::KillTimer(Handle(), 500);
  if (FloatingMessage(Message)) return;
  vcl::TCustomControl::WndProc(Message);
  if (Message.Msg == vcl::WM_TIMER && Message.WParam == 500) FloatingWatch();
  if (Message.Msg == vcl::CM_VISIBLECHANGED && state_ == tsFloating && floatingWindow_)
    floatingWindow_->SetVisible(Visible());
  if (Message.Msg == vcl::CM_VISIBLECHANGED && (state_ == tsDocked || state_ == tsFixed))
    if (auto* host = dynamic_cast<IToolBarHost*>(Parent())) host->ToolBarVisibleChanged(this);
}

}  // namespace ribbon
