// The key tips of a ribbon group's glow buttons, the keys typed on them,
// and the report of a closed compact window (see RorIvezEviToolBar.h).
#include <algorithm>
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviContainer.h"
#include "ribbon/RorIvezEviDraw.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"

namespace ribbon {

namespace {

bool SameKeyTip(const rtl::AnsiString& A, const rtl::AnsiString& B) {
  return rtl::UpperCase(A) == rtl::UpperCase(B);
}

bool KeyTipStartsWith(const rtl::AnsiString& Whole, const rtl::AnsiString& Start) {
  return Whole.size() >= Start.size() && SameKeyTip(Whole.substr(0, Start.size()), Start);
}

void ShowGlowKeyTips(vcl::TWinControl* Parent) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    vcl::TControl* c = Parent->Controls(i);
    if (auto* g = dynamic_cast<controls::TLumCustomGlowButton*>(c)) {
      // A button without a key tip of its own shows no empty bubble.
      if (g->Visible() && g->Enabled() && !g->ShortCutHint().empty()) g->ShowShortCutHint();
    } else if (auto* w = dynamic_cast<vcl::TWinControl*>(c); w && !dynamic_cast<TCompactWindow*>(c)) {
      ShowGlowKeyTips(w);
    }
  }
}

void HideGlowKeyTips(vcl::TWinControl* Parent) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    vcl::TControl* c = Parent->Controls(i);
    if (auto* g = dynamic_cast<controls::TLumCustomGlowButton*>(c))
      g->HideShortCutHint();
    else if (auto* w = dynamic_cast<vcl::TWinControl*>(c); w && !dynamic_cast<TCompactWindow*>(c))
      HideGlowKeyTips(w);
  }
}

// The matching walk: the first glow button whose key tip is Text, or none.
controls::TLumCustomGlowButton* MatchGlowKeyTip(vcl::TWinControl* Parent, const rtl::AnsiString& Text, int& Partial) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    vcl::TControl* c = Parent->Controls(i);
    if (auto* g = dynamic_cast<controls::TLumCustomGlowButton*>(c)) {
      if (SameKeyTip(g->ShortCutHint(), Text)) {
        if (g->Visible() && g->Enabled()) return g;
      } else if (KeyTipStartsWith(g->ShortCutHint(), Text)) {
        ++Partial;
      } else {
        g->HideShortCutHint();
      }
    } else if (auto* w = dynamic_cast<vcl::TWinControl*>(c); w && !dynamic_cast<TCompactWindow*>(c)) {
      if (controls::TLumCustomGlowButton* found = MatchGlowKeyTip(w, Text, Partial)) return found;
    }
  }
  return nullptr;
}

bool IsGroupControl(const vcl::TWinControl* Control) {
  return !dynamic_cast<const vcl::THintWindow*>(Control) && !dynamic_cast<const TCompactWindow*>(Control) &&
         !dynamic_cast<const TLumCustomToolBar*>(Control);
}

// The group's windowed controls a key can move the focus to, in tab order.
std::vector<vcl::TWinControl*> GroupFocusList(TLumCustomToolBar* Group) {
  std::vector<vcl::TWinControl*> order;
  Group->GetTabOrderList(order);
  PruneFocusList(&order);
  order.erase(std::remove_if(order.begin(), order.end(), [](vcl::TWinControl* w) { return !IsGroupControl(w); }),
              order.end());
  return order;
}

}  // namespace

void PruneFocusList(std::vector<vcl::TWinControl*>* List) {
  if (!List) return;
  for (std::size_t i = 0; i < List->size();) {
    vcl::TWinControl* w = (*List)[i];
    if (dynamic_cast<vcl::THintWindow*>(w) || dynamic_cast<TRorIvezEviContainer*>(w) || !w->CanFocus())
      List->erase(List->begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
}

void TLumCustomToolBar::ShowKeyTips() {
  ShowGlowKeyTips(this);
  keyTips_ = true;
}

void TLumCustomToolBar::HideKeyTips() {
  HideGlowKeyTips(this);
  keyTips_ = false;
}

bool TLumCustomToolBar::MatchKeyTip(const rtl::AnsiString& Text, int& Partial) {
  controls::TLumCustomGlowButton* button = MatchGlowKeyTip(this, Text, Partial);
  if (!button) return false;
  // The page this group (or the collapsed group it stands for) is on, and
  // its pager.
  const TLumCustomToolBar* group = cloneSource_ ? cloneSource_ : this;
  auto* page = dynamic_cast<TLumPage*>(group->Parent());
  TRorIvezEviPager* pager = page ? page->OwnerPager() : nullptr;
  TMinimizedRibbonWindow* popup = pager ? pager->MinimizedPopup() : nullptr;
  const bool compact = button == compactButton_;
  const bool inPopup = popup && page && page->Parent() == popup;
  const bool mayClose = popup ? popup->MayClose() : true;
  if (compact && inPopup) popup->SetMayClose(false);
  if (button->CanFocus()) button->SetFocus();
  button->Repaint();
  button->Click();
  if (compact && inPopup) popup->SetMayClose(mayClose);
  if (!compact && pager && pager->IsPopupShowing()) pager->HidePopup();
  if (compact && collapsed_ && clone_) {
    // The user goes on typing in the group's popup, from an empty text.
    if (page) page->HideToolBarKeyTips();
    clone_->ShowKeyTips();
    if (clone_->CanFocus()) clone_->SetFocus();
  } else if (pager) {
    pager->HideKeyTips(true);
    pager->RestoreKeyTipFocus();
  }
  return true;
}

vcl::TWinControl* TLumCustomToolBar::FirstFocusable(bool CanFocusOnly) const {
  if (collapsed_) return compactButton_ && compactButton_->CanFocus() ? compactButton_ : nullptr;
  std::vector<vcl::TWinControl*> order;
  const_cast<TLumCustomToolBar*>(this)->GetTabOrderList(order);
  if (CanFocusOnly) PruneFocusList(&order);
  for (vcl::TWinControl* w : order)
    if (w->Parent() && IsGroupControl(w) && !dynamic_cast<TRorIvezEviContainer*>(w)) return w;
  return nullptr;
}

vcl::TWinControl* TLumCustomToolBar::LastFocusable(bool CanFocusOnly) const {
  if (collapsed_) return compactButton_ && compactButton_->CanFocus() ? compactButton_ : nullptr;
  std::vector<vcl::TWinControl*> order;
  const_cast<TLumCustomToolBar*>(this)->GetTabOrderList(order);
  if (CanFocusOnly) PruneFocusList(&order);
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if ((*it)->Parent() && IsGroupControl(*it) && !dynamic_cast<TRorIvezEviContainer*>(*it)) return *it;
  return nullptr;
}

void TLumCustomToolBar::GlowButtonKeyDown(vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift) {
  const TLumCustomToolBar* group = cloneSource_ ? cloneSource_ : this;
  auto* page = dynamic_cast<TLumPage*>(group->Parent());
  TRorIvezEviPager* pager = page ? page->OwnerPager() : nullptr;
  if (!page || !pager) return;
  // The twin in the minimised ribbon's popup types for the page it shows.
  TLumPage* typing = cloneSource_ ? page : dynamic_cast<TLumPage*>(Parent());
  const bool letter = (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') ||
                      (Key >= vcl::VK_NUMPAD0 && Key <= vcl::VK_NUMPAD0 + 9);
  const bool showing = cloneSource_ ? keyTips_ : (typing && typing->ToolBarKeyTipsShowing());
  if (showing) {
    if (letter) {
      const char ch = Key >= vcl::VK_NUMPAD0 ? static_cast<char>('0' + (Key - vcl::VK_NUMPAD0)) : static_cast<char>(Key);
      if (cloneSource_) {
        int partial = 0;
        const rtl::AnsiString typed = page->AppendToolBarKeyTip(ch);
        if (MatchKeyTip(typed, partial)) HideKeyTips();
      } else {
        typing->TypeToolBarKeyTip(ch);
      }
      return;
    }
    if (cloneSource_)
      HideKeyTips();
    else
      typing->HideToolBarKeyTips();
    if (Key == vcl::VK_ESCAPE) {
      if (cloneSource_) {
        if (controls::TLumGlowButton* b = cloneSource_->CompactButton(); b && b->Visible() && b->CanFocus()) b->SetFocus();
        page->ShowToolBarKeyTips();
        return;
      }
      if (pager->IsPopupShowing()) pager->HidePopup();
      pager->ShowKeyTips();
    }
  } else if (Key == vcl::VK_ESCAPE && pager->IsPopupShowing() && !cloneSource_) {
    pager->HidePopup();
  }
  if (Key == vcl::VK_ESCAPE || Key == vcl::VK_UP) {
    pager->SetFocusFromGroup(true);
    if (pager->CanFocus()) pager->SetFocus();
    return;
  }
  if (Key != vcl::VK_LEFT && Key != vcl::VK_RIGHT) return;
  // Along the group's tab order, then on to the neighbouring groups of the
  // page, wrapping around.
  const bool forward = Key == vcl::VK_RIGHT;
  const std::vector<vcl::TWinControl*> order = GroupFocusList(this);
  auto* sender = dynamic_cast<vcl::TWinControl*>(Sender);
  auto it = std::find(order.begin(), order.end(), sender);
  if (it != order.end()) {
    if (forward && it + 1 != order.end()) {
      (*(it + 1))->SetFocus();
      return;
    }
    if (!forward && it != order.begin()) {
      (*(it - 1))->SetFocus();
      return;
    }
  }
  if (cloneSource_ || !typing) return;
  const int count = typing->ToolBarCount();
  int index = -1;
  for (int i = 0; i < count; ++i)
    if (typing->ToolBars(i) == this) index = i;
  if (index < 0) return;
  for (int step = 1; step <= count; ++step) {
    TLumCustomToolBar* next = typing->ToolBars(((index + (forward ? step : -step)) % count + count) % count);
    if (!next->Visible()) continue;
    if (vcl::TWinControl* w = forward ? next->FirstFocusable(true) : next->LastFocusable(true)) {
      w->SetFocus();
      return;
    }
  }
}

void TLumCustomToolBar::GroupFocusChanged(vcl::TControl* Focused) {
  if (Focused != this || ControlCount() == 0) return;
  vcl::TWinControl* parent = Parent();
  if (!parent || dynamic_cast<TCompactWindow*>(parent) || !parent->Parent() ||
      dynamic_cast<TMinimizedRibbonWindow*>(parent->Parent()))
    return;
  if (vcl::TWinControl* first = FirstFocusable(true)) first->SetFocus();
}

void TLumCustomToolBar::GroupKeyDown(vcl::Word Key) {
  const bool arrow = Key == vcl::VK_LEFT || Key == vcl::VK_RIGHT || Key == vcl::VK_UP || Key == vcl::VK_DOWN;
  if (cloneSource_) {
    auto* page = dynamic_cast<TLumPage*>(cloneSource_->Parent());
    TRorIvezEviPager* pager = page ? page->OwnerPager() : nullptr;
    const bool letter = (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') ||
                        (Key >= vcl::VK_NUMPAD0 && Key <= vcl::VK_NUMPAD0 + 9);
    if (keyTips_) {
      if (letter && page) {
        const char ch = Key >= vcl::VK_NUMPAD0 ? static_cast<char>('0' + (Key - vcl::VK_NUMPAD0)) : static_cast<char>(Key);
        int partial = 0;
        if (MatchKeyTip(page->AppendToolBarKeyTip(ch), partial)) HideKeyTips();
        return;
      }
      HideKeyTips();
      if (Key == vcl::VK_ESCAPE && pager) {
        if (controls::TLumGlowButton* b = cloneSource_->CompactButton(); b && b->Visible() && b->CanFocus()) b->SetFocus();
        page->ShowToolBarKeyTips();
        return;
      }
    }
    if ((Key == vcl::VK_ESCAPE || Key == vcl::VK_UP) && pager) {
      pager->SetFocusFromGroup(true);
      if (pager->CanFocus()) pager->SetFocus();
    } else if (Key == vcl::VK_LEFT || Key == vcl::VK_RIGHT || Key == vcl::VK_DOWN) {
      if (vcl::TWinControl* first = FirstFocusable(true)) first->SetFocus();
    }
    return;
  }
  auto* page = dynamic_cast<TLumPage*>(Parent());
  if (!page) return;
  if (page->ToolBarKeyTipsShowing()) page->HideToolBarKeyTips();
  TRorIvezEviPager* pager = page->OwnerPager();
  if (page->TwinOf() && pager) {
    // A group in the minimised ribbon's popup.
    if (Key == vcl::VK_ESCAPE) {
      pager->HidePopup();
      return;
    }
    if (arrow)
      if (vcl::TWinControl* first = FirstFocusable(true)) first->SetFocus();
  }
}

void TLumCustomToolBar::CompactWindowClosed() {
  const TLumCustomToolBar* group = cloneSource_ ? cloneSource_ : this;
  auto* page = dynamic_cast<TLumPage*>(group->Parent());
  if (!page || !page->OwnerPager()) return;
  page->OwnerPager()->CompactWindowClosed(group->CompactButton());
}

}  // namespace ribbon
