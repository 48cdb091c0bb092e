// The pager's mouse, keyboard, wheel and hint handling, and the tabs'
// fades (see RorIvezEviPager.h).
#include <algorithm>
#include <cstdint>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbon {

// --- fades ---

void TLumPage::StartFade(int Step, int Mode) {
  if (!pager_) return;
  if (!fadeTimer_) {
    fadeTimer_ = new vcl::TTimer(pager_);
    fadeTimer_->SetInterval(static_cast<rtl::Cardinal>(controls::GlowFadeInterval));
    fadeTimer_->OnTimer = [this](vcl::TObject*) { FadeTick(); };
    fadeTimer_->SetEnabled(true);
  }
  fadeStep_ = Step;
  fadeMode_ = Mode;
}

void TLumPage::FadeTick() {
  int& amount = fadeMode_ == 1 ? selectedFade_ : hotFade_;
  amount = std::clamp(amount + fadeStep_, 0, 100);
  if (pager_) pager_->Invalidate();
  if ((fadeStep_ > 0 && amount < 100) || (fadeStep_ < 0 && amount > 0)) return;
  // The fade is over: its timer goes (the last thing this tick does).
  fadeMode_ = 2;
  vcl::TTimer* done = fadeTimer_;
  fadeTimer_ = nullptr;
  delete done;
}

// --- mouse ---

bool TRorIvezEviPager::InTabsArea(int X, int Y) const {
  const vcl::TRect a = GetTabsArea();
  return X >= a.Left && X < a.Right && Y >= a.Top && Y < a.Bottom;
}

void TRorIvezEviPager::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseDown(Button, Shift, X, Y);
  pressedTab_ = -1;
  if (CaptionMouseDown(Button, X, Y)) return;
  pageChanged_ = false;
  TLumPage* active = ActivePage();
  if (keyTipMode_ || (active && active->ToolBarKeyTipsShowing())) HideKeyTips(true);
  if (!InTabsArea(X, Y)) return;
  const int tab = TabAtPos(X, Y);
  if (tab < 0) return;
  if (OnTabClick) OnTabClick(this, tab);
  if (tab != activePageIndex_ && pages_[tab]->TabEnabled()) {
    ChangeActivePage(tab);
    pageChanged_ = true;
    if (!ComponentState().Contains(vcl::csDesigning) && tab < PageCount()) pages_[tab]->StartFade(20, 1);
    Invalidate();
    clickCount_ = -1;
  } else {
    pressedTab_ = tab;
    Invalidate();
  }
  if (!expanded_) {
    if (!IsPopupShowing())
      ShowPopup();
    else if (clickCount_ < 2)
      HidePopup();
  }
}

void TRorIvezEviPager::MouseMove(vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(vcl::csDesigning)) return;
  if (hotTab_ >= PageCount()) hotTab_ = -1;
  if (!InTabsArea(X, Y)) return;
  const int tab = TabAtPos(X, Y);
  if (tab >= 0 && tab != hotTab_) {
    pressedTab_ = -1;
    if (hotTab_ >= 0) pages_[hotTab_]->StartFade(-20, 0);
    hotTab_ = -1;
    if (pages_[tab]->TabEnabled()) {
      hotTab_ = lastHotTab_ = tab;
      pages_[tab]->StartFade(20, 0);
    }
    if (tab != hintTab_) {
      hintTab_ = tab;
      if (vcl::Application) vcl::Application->CancelHint();
    }
    Invalidate();
  } else if (tab < 0 && hotTab_ >= 0) {
    pressedTab_ = -1;
    pages_[hotTab_]->StartFade(-20, 0);
    hotTab_ = -1;
    hintTab_ = -1;
    if (vcl::Application) vcl::Application->CancelHint();
    Invalidate();
  }
}

void TRorIvezEviPager::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  vcl::TCustomControl::MouseUp(Button, Shift, X, Y);
  if (pressedTab_ >= 0) {
    pressedTab_ = -1;
    Invalidate();
  }
  bool overActive = false;
  if (InTabsArea(X, Y)) {
    const int tab = TabAtPos(X, Y);
    if (tab >= 0 && tab != activePageIndex_ && !ComponentState().Contains(vcl::csDesigning) && !expanded_ &&
        pages_[tab]->TabEnabled()) {
      // Pressed elsewhere and let go over another tab of the minimised
      // ribbon: that page opens in the popup.
      if (OnTabClick) OnTabClick(this, tab);
      ChangeActivePage(tab);
      pageChanged_ = true;
      Invalidate();
      clickCount_ = -1;
      if (!IsPopupShowing()) ShowPopup();
    }
    overActive = tab >= 0 && tab == activePageIndex_;
  } else if (const int group = TabGroupAtPos(X, Y); group >= 0) {
    // Over a tab group's caption: its first enabled page with a visible tab.
    const TTabGroupItem* item = tabGroups_.Items(group);
    for (int i = item->TabIndexStart(); i <= item->TabIndexEnd() && i < PageCount(); ++i)
      if (i >= 0 && pages_[i]->Enabled() && pages_[i]->TabVisible()) {
        if (i != activePageIndex_) SetActivePageIndex(i);
        break;
      }
    if (OnTabGroupClick) OnTabGroupClick(this, group);
  }
  DblClickRule(overActive);
}

// --- keys, hints, the wheel ---

void TRorIvezEviPager::KeyDownMessage(vcl::TMessage& Message) {
  const auto key = static_cast<vcl::Word>(Message.WParam);
  switch (key) {
    case vcl::VK_ESCAPE:
    case vcl::VK_LEFT:
    case vcl::VK_RIGHT:
      if (keyTipMode_) HideKeyTips(false);
      break;
    case vcl::VK_DOWN:
      break;
    default:
      if (keyTipMode_) TypeKeyTip(key);
      return;
  }
  switch (key) {
    case vcl::VK_ESCAPE: {
      // Back to the control before the pager in its parent's tab order.
      vcl::TWinControl* parent = Parent();
      if (!parent) break;
      std::vector<vcl::TWinControl*> order;
      parent->GetTabOrderList(order);
      auto it = std::find(order.begin(), order.end(), this);
      while (it != order.begin()) {
        --it;
        if ((*it)->CanFocus() && !ContainsControl(*it)) {
          (*it)->SetFocus();
          break;
        }
      }
      break;
    }
    case vcl::VK_LEFT: SelectNextPage(false); break;
    case vcl::VK_RIGHT: SelectNextPage(true); break;
    case vcl::VK_DOWN: {
      TLumPage* page = ActivePage();
      if (!page || !Focused()) break;
      for (int i = 0; i < page->ControlCount(); ++i) {
        auto* bar = dynamic_cast<vcl::TWinControl*>(page->Controls(i));
        if (bar && bar->Visible() && bar->CanFocus()) {
          bar->SetFocus();
          HideKeyTips(false);
          break;
        }
      }
      break;
    }
    default:
      break;
  }
}

void TRorIvezEviPager::HintShow(vcl::TMessage& Message) {
  auto* info = reinterpret_cast<vcl::THintInfo*>(Message.LParam);
  if (!info) return;
  if (!showTabHint_) {
    info->HintStr.clear();
    return;
  }
  if (hintTab_ < 0 || hintTab_ >= PageCount()) return;
  TLumPage* page = pages_[hintTab_];
  if (!page->TabHint().empty()) {
    info->HintStr = page->TabHint();
    return;
  }
  TCustomRorIvezEviStyler* s = CurrentStyler();
  vcl::TFont* font = s->TabAppearance()->Font();
  if (const int g = TabGroupOfPage(hintTab_); g >= 0) {
    const TTabGroupItem* item = tabGroups_.Items(g);
    font = item->DefaultAppearance() ? s->GroupAppearance()->TabAppearance()->Font()
                                     : item->GroupAppearance()->TabAppearance()->Font();
  }
  vcl::TCanvas* c = TabMeasureCanvas();
  vcl::TFont saved;
  saved.Assign(c->Font());
  c->Font()->Assign(font);
  vcl::TRect m{0, 0, 1000, 100};
  c->DrawText(page->Caption(), m, vcl::DT_CALCRECT | vcl::DT_SINGLELINE);
  c->Font()->Assign(&saved);
  if (TabWidth(hintTab_) - marginLeft_ - marginRight_ < m.Width()) info->HintStr = page->Caption();
}

bool TRorIvezEviPager::HandleFormWheel(vcl::TMessage& Message) {
  if (!enableWheel_ || !Showing()) return false;
  const vcl::TPoint p = ScreenToClient(vcl::GetCursorPos());
  if (p.X < 0 || p.Y < 0 || p.X >= ClientWidth() || p.Y >= ClientHeight()) return false;
  if (PagerContainsFocus(this)) return false;
  // The direction is the sign of the whole parameter, read as 32 bits.
  if (static_cast<int32_t>(static_cast<uint32_t>(Message.WParam)) < 1)
    SelectFollowingTab();
  else
    SelectPreviousTab();
  Message.Result = 1;
  return true;
}

void TRorIvezEviPager::HookForm() {
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  if (form == hookedForm_) return;
  UnhookForm();
  if (!form) return;
  hookedForm_ = form;
  form->FreeNotification(this);
  formHook_ = form->AddWindowHook([this](vcl::TMessage& m, const vcl::TControl::TWndMethod& next) {
    // The wheel the form hears (turned over the pager and left unhandled
    // by the control under the cursor) pages the ribbon.
    if ((m.Msg == vcl::CM_MOUSEWHEEL || m.Msg == vcl::WM_MOUSEWHEEL) && HandleFormWheel(m)) return;
    next(m);
    // The form moved, sized, pressed or minimised: key tips would float
    // over the wrong place.
    const bool sysSize = m.Msg == vcl::WM_SYSCOMMAND && ((m.WParam & 0xFFF0) == vcl::SC_MAXIMIZE ||
                                                          (m.WParam & 0xFFF0) == vcl::SC_MINIMIZE);
    if (m.Msg == vcl::WM_SIZE || m.Msg == vcl::WM_LBUTTONDOWN || m.Msg == vcl::WM_MOVING || sysSize)
      HideKeyTips(true);
  });
}

void TRorIvezEviPager::UnhookForm() {
  if (!hookedForm_) return;
  hookedForm_->RemoveWindowHook(formHook_);
  hookedForm_->RemoveFreeNotification(this);
  hookedForm_ = nullptr;
  formHook_ = 0;
}

void TRorIvezEviPager::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::WM_GETDLGCODE:
      Message.Result = 129;  // arrows and characters come to the pager
      return;
    case vcl::WM_KEYDOWN:
      KeyDownMessage(Message);
      break;
    case vcl::CM_DIALOGKEY:
      DialogKey(Message);
      return;
    case vcl::WM_NCHITTEST: {
      vcl::TCustomControl::Dispatch(Message);
      if (ComponentState().Contains(vcl::csDesigning)) return;
      // Along the top and left edges and at the right end the form's own
      // frame takes the mouse.
      const vcl::TPoint p = ScreenToClient({static_cast<int16_t>(Message.LParam & 0xFFFF),
                                            static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF)});
      if (p.Y < 3 || p.X < 3 || p.X > Width() - 6) Message.Result = vcl::HTTRANSPARENT;
      return;
    }
    case vcl::WM_LBUTTONDBLCLK:
      vcl::TCustomControl::Dispatch(Message);
      CaptionDblClick(static_cast<int16_t>(Message.LParam & 0xFFFF), static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF));
      return;
    case vcl::CM_FOCUSCHANGED: {
      vcl::TCustomControl::Dispatch(Message);
      auto* focus = reinterpret_cast<vcl::TControl*>(Message.LParam);
      bool inside = false;
      int depth = 0;
      for (vcl::TControl* c = focus; c && depth <= 50; c = c->Parent(), ++depth)
        if (c == this) inside = true;
      if (!inside && (keyTipMode_ || (ActivePage() && ActivePage()->ToolBarKeyTipsShowing()))) HideKeyTips(true);
      InvalidateTab(-1);
      return;
    }
    case vcl::CM_DIALOGCHAR: {
      altArmed_ = false;
      if (vcl::GetKeyState(vcl::VK_MENU) < 0 && CanFocus()) {
        const auto ch = static_cast<vcl::Word>(Message.WParam);
        for (int i = 0; i < PageCount(); ++i)
          if (pages_[i]->TabVisible() && vcl::IsAccel(ch, pages_[i]->Caption())) {
            SetActivePageIndex(i);
            Message.Result = 1;
            return;
          }
      }
      break;
    }
    case vcl::CM_HINTSHOW:
      HintShow(Message);
      return;
    case vcl::CM_MOUSELEAVE: {
      hintTab_ = -1;
      vcl::TCustomControl::Dispatch(Message);
      if (ComponentState().Contains(vcl::csDesigning)) return;
      vcl::TRect strip = GetTabsRect();
      strip.Bottom -= 4;
      const vcl::TPoint p = ScreenToClient(vcl::GetCursorPos());
      if (p.X >= strip.Left && p.X < strip.Right && p.Y >= strip.Top && p.Y < strip.Bottom) return;
      if (hotTab_ >= PageCount()) hotTab_ = -1;
      if (hotTab_ >= 0 && hotTab_ != activePageIndex_) pages_[hotTab_]->StartFade(-20, 0);
      hotTab_ = -1;
      Invalidate();
      return;
    }
    case vcl::CM_CONTROLCHANGE:
      vcl::TCustomControl::Dispatch(Message);
      QATControlChange(reinterpret_cast<vcl::TControl*>(Message.WParam), Message.LParam != 0);
      return;
    case vcl::CM_SHOWINGCHANGED:
      vcl::TCustomControl::Dispatch(Message);
      HookForm();
      return;
    default:
      break;
  }
  vcl::TCustomControl::Dispatch(Message);
}

}  // namespace ribbon
