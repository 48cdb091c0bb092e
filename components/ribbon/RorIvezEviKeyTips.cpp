// Key tips and keyboard access of the pager and its pages: arming on Alt
// or F10, the 50 ms poll with the 700 ms hold, the tabs' key tips, typing
// them, the groups' key tips on a page, the focus given back after a
// command, and the process's Ctrl+F1 hook (see RorIvezEviPager.h).
#include <algorithm>
#include <cctype>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviPager.h"
#include "ribbon/RorIvezEviPopups.h"
#include "rtl/Strings.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/MessageHooks.h"
#include "vcl/Messages.h"
#include "vcl/WinApi.h"

namespace ribbon {

namespace {

constexpr int kKeyTipPoll = 50;   // ms between looks at the Alt key
constexpr int kAltHoldDelay = 700;  // Alt held this long shows the key tips
// The shape buttons a form may place on the pager take part through this
// message (1, 1 show; 1, 0 hide).
constexpr vcl::Cardinal kShapeButtonKeyTip = 45104;

TRorIvezEviPager* gKeyHookPager = nullptr;
vcl::HHOOK gKeyHook = 0;
int gLastHookKey = -1;
// F10 is down (its key-down and key-up as the hook saw them).
bool gF10Down = false;

bool IsShapeButton(const vcl::TControl* Control) {
  return rtl::UpperCase(Control->ClassName()) == "TADVSHAPEBUTTON";
}

bool SameText(const rtl::AnsiString& A, const rtl::AnsiString& B) { return rtl::UpperCase(A) == rtl::UpperCase(B); }

bool StartsWithText(const rtl::AnsiString& Whole, const rtl::AnsiString& Start) {
  return Whole.size() >= Start.size() && SameText(Whole.substr(0, Start.size()), Start);
}

// The character a key types into a key tip: its letter or digit (numpad
// digits as digits), else none.
char KeyTipCharacter(vcl::Word Key) {
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return static_cast<char>(Key);
  if (Key >= vcl::VK_NUMPAD0 && Key <= vcl::VK_NUMPAD0 + 9) return static_cast<char>('0' + (Key - vcl::VK_NUMPAD0));
  return 0;
}

bool IsModifierKey(vcl::Word Key) {
  return Key == vcl::VK_SHIFT || Key == vcl::VK_CONTROL || Key == vcl::VK_MENU;
}

// Whether Control lies inside Container (itself included), walking at
// most 50 parents.
bool InsideControl(const vcl::TControl* Control, const vcl::TControl* Container) {
  int depth = 0;
  for (const vcl::TControl* c = Control; c && depth <= 50; c = c->Parent(), ++depth)
    if (c == Container) return true;
  return false;
}

vcl::TWinControl* FocusedControl() { return vcl::Screen ? vcl::Screen->ActiveControl() : nullptr; }

}  // namespace

// --- the page's tab key tip ---

void TLumPage::ShowTabKeyTip() {
  TRorIvezEviPager* pager = pager_;
  if (!pager || !tabEnabled_ || !tabVisible_) return;
  TCustomRorIvezEviStyler* styler = pager->CurrentStyler();
  if (!tabKeyTip_) {
    tabKeyTip_ = new controls::TShortCutHintWindow(pager);
    tabKeyTip_->SetParent(pager);
    pager->AddKeyTipWindow(tabKeyTip_);
    tabKeyTip_->SetColor(styler->ButtonAppearance()->Color());
  }
  tabKeyTip_->SetVisible(false);
  tabKeyTip_->SetCaption(shortCutHint_);
  tabKeyTip_->SetTopColor(vcl::clWhite);
  tabKeyTip_->SetBottomColor(styler->GlowButtonAppearance()->Color());
  const vcl::TRect t = pager->GetTabRect(PageIndex());
  const vcl::TPoint p = pager->ClientToScreen({t.Left, t.Top});
  const int w = tabKeyTip_->Width(), h = tabKeyTip_->Height();
  const int tw = t.Right - t.Left, th = t.Bottom - t.Top;
  vcl::TPoint at{tabKeyTip_->Left(), tabKeyTip_->Top()};
  switch (shortCutHintPos_) {
    case controls::shpLeft: at = {p.X - w / 2, p.Y + (th - h) / 2}; break;
    case controls::shpTop: at = {p.X + (tw - w) / 2, p.Y - h / 2}; break;
    case controls::shpRight: at = {p.X + tw - w / 2, p.Y + (th - h) / 2}; break;
    case controls::shpBottom: at = {p.X + (tw - w) / 2, p.Y + th - h / 2}; break;
    default: break;
  }
  tabKeyTip_->SetLeft(at.X);
  tabKeyTip_->SetTop(at.Y);
  tabKeyTip_->SetVisible(true);
}

void TLumPage::HideTabKeyTip() {
  if (!tabKeyTip_) return;
  controls::TShortCutHintWindow* window = tabKeyTip_;
  tabKeyTip_ = nullptr;
  if (TRorIvezEviPager* pager = OwnerPager()) pager->RemoveKeyTipWindow(window);
  window->SetVisible(false);
  vcl::Free(window);
}

// --- the page's group key tips ---

void TLumPage::ShowToolBarKeyTips() {
  if (!toolBarKeyTips_) SetMouseCapture(true);
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* bar = dynamic_cast<TRorIvezEvi*>(Controls(i)); bar && bar->Visible() && bar->Enabled()) bar->ShowKeyTips();
  toolBarKeyTips_ = true;
  toolBarKeyTipText_.clear();
}

void TLumPage::HideToolBarKeyTips() {
  if (MouseCapture()) SetMouseCapture(false);
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* bar = dynamic_cast<TRorIvezEvi*>(Controls(i)); bar && bar->Visible()) bar->HideKeyTips();
  toolBarKeyTips_ = false;
  toolBarKeyTipText_.clear();
}

bool TLumPage::MatchToolBarKeyTip(const rtl::AnsiString& Text) {
  bool matched = false;
  int partial = 0;
  // A match may close this page's popup and move its groups: the list is
  // taken first.
  std::vector<TRorIvezEvi*> bars;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* bar = dynamic_cast<TRorIvezEvi*>(Controls(i)); bar && bar->Visible()) bars.push_back(bar);
  for (TRorIvezEvi* bar : bars) {
    if (bar->MatchKeyTip(Text, partial)) {
      matched = true;
      break;
    }
  }
  if (!matched && partial == 0) {
    toolBarKeyTips_ = false;
    vcl::MessageBeep(0);
  }
  return matched;
}

bool TLumPage::TypeToolBarKeyTip(char Ch) {
  toolBarKeyTipText_ += Ch;
  const rtl::AnsiString typed = toolBarKeyTipText_;
  return MatchToolBarKeyTip(typed);
}

// --- the pager ---

void TRorIvezEviPager::RemoveKeyTipWindow(controls::TShortCutHintWindow* Window) {
  keyTipWindows_.erase(std::remove(keyTipWindows_.begin(), keyTipWindows_.end(), Window), keyTipWindows_.end());
}

void TRorIvezEviPager::ShowKeyTips() {
  if (!keyTipMode_) SetMouseCapture(true);
  for (TLumPage* p : pages_) p->ShowTabKeyTip();
  if (qat_) qat_->ShowButtonKeyTips();
  keyTipMode_ = true;
  keyTipText_.clear();
  for (int i = 0; i < ControlCount(); ++i)
    if (IsShapeButton(Controls(i))) Controls(i)->Perform(kShapeButtonKeyTip, 1, 1);
}

void TRorIvezEviPager::HideKeyTips(bool AlsoPageToolBars) {
  if (MouseCapture()) SetMouseCapture(false);
  for (TLumPage* p : std::vector<TLumPage*>(pages_)) {
    p->HideTabKeyTip();
    if (AlsoPageToolBars) {
      p->HideToolBarKeyTips();
      if (TLumPage* twin = p->Twin()) twin->HideToolBarKeyTips();
    }
  }
  if (qat_) qat_->HideButtonKeyTips();
  if (keyTipMode_)
    for (int i = 0; i < ControlCount(); ++i)
      if (IsShapeButton(Controls(i))) Controls(i)->Perform(kShapeButtonKeyTip, 1, 0);
  keyTipMode_ = false;
}

void TRorIvezEviPager::DialogKey(vcl::TMessage& Message) {
  const auto key = static_cast<vcl::Word>(Message.WParam);
  if (!TabStop() || !ActivePage() || (key != vcl::VK_MENU && key != vcl::VK_F10)) {
    altArmed_ = false;
    vcl::TCustomControl::Dispatch(Message);
    return;
  }
  if (!keyTipMode_ && CanFocus()) {
    keyTipFocus_ = FocusedControl();
    if (keyTipFocus_) keyTipFocus_->FreeNotification(this);
    Message.Result = 1;
    altHeld_ = true;
    altArmed_ = true;
    if (!keyTipTimer_) {
      keyTipTimer_ = new vcl::TTimer(this);
      keyTipTimer_->SetInterval(kKeyTipPoll);
      keyTipTimer_->OnTimer = [this](vcl::TObject*) { KeyTipTick(); };
    }
    keyTipTimer_->SetEnabled(true);
    return;
  }
  if (keyTipMode_ && !altHeld_) {
    HideKeyTips(false);
    Message.Result = 1;
    return;
  }
  vcl::TCustomControl::Dispatch(Message);
}

void TRorIvezEviPager::KeyTipTick() {
  if (!altArmed_) {
    keyTipTimer_->SetEnabled(false);
    altArmed_ = altHeld_ = false;
    altElapsed_ = 0;
    return;
  }
  const bool altDown = vcl::GetKeyState(vcl::VK_MENU) < 0;
  if (!altDown && !gF10Down) {
    // Released (F10's key-up is seen by the process's hook).
    altElapsed_ = 0;
    keyTipTimer_->SetEnabled(false);
    altArmed_ = altHeld_ = false;
    ShowKeyTipsFromTimer();
    return;
  }
  if (!altDown) return;
  altElapsed_ += kKeyTipPoll;
  if (altElapsed_ >= kAltHoldDelay) {
    altElapsed_ = 0;
    keyTipTimer_->SetEnabled(false);
    altArmed_ = false;
    ShowKeyTipsFromTimer();
  }
}

void TRorIvezEviPager::ShowKeyTipsFromTimer() {
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  if (form && form->Active()) {
    if (!Focused() && CanFocus()) SetFocus();
    ShowKeyTips();
  }
  if (TLumPage* a = ActivePage(); a && a->ToolBarKeyTipsShowing()) a->HideToolBarKeyTips();
}

void TRorIvezEviPager::TypeKeyTip(vcl::Word Key) {
  if (IsModifierKey(Key)) return;
  const char ch = KeyTipCharacter(Key);
  bool matched = false;
  int visible = 0;
  if (ch) {
    keyTipText_ += ch;
    const rtl::AnsiString typed = keyTipText_;
    // 1. The tabs: an exact match ends the search; a prefix keeps its tip.
    for (int i = 0; i < PageCount(); ++i) {
      TLumPage* p = pages_[i];
      if (SameText(p->ShortCutHint(), typed)) {
        HideKeyTips(false);
        if (p->TabEnabled() && p->TabVisible()) {
          SetActivePageIndex(i);
          if (expanded_) {
            if (TLumCustomToolBar* bar = p->FirstToolBar(true); bar && bar->CanFocus()) bar->SetFocus();
            p->ShowToolBarKeyTips();
          } else {
            if (!IsPopupShowing()) ShowPopup();
            if (TLumPage* twin = p->Twin()) {
              if (TLumCustomToolBar* bar = twin->FirstToolBar(true); bar && bar->CanFocus()) bar->SetFocus();
              twin->ShowToolBarKeyTips();
            }
          }
        }
        matched = true;
        break;
      }
      if (!p->ShortCutHint().empty() && StartsWithText(p->ShortCutHint(), typed))
        matched = true;
      else
        p->HideTabKeyTip();
      if (p->TabKeyTipWindow() && p->TabKeyTipWindow()->Visible()) ++visible;
    }
    // 2. The quick access toolbar's buttons.
    if (!matched && qat_ && qat_->MatchKeyTip(typed, visible)) {
      HideKeyTips(false);
      matched = true;
    }
    // 3. Shape buttons with a key tip of their own.
    if (!matched)
      for (int i = 0; i < ControlCount(); ++i) {
        vcl::TControl* c = Controls(i);
        auto* published = dynamic_cast<IPublishedShortCutHint*>(c);
        if (!IsShapeButton(c) || !published) continue;
        const rtl::AnsiString hint = published->PublishedShortCutHint();
        if (hint.empty()) continue;
        if (SameText(hint, typed)) {
          if (c->Enabled()) {
            c->Repaint();
            published->ClickByShortCut();
          }
          HideKeyTips(false);
          matched = true;
          break;
        }
        if (StartsWithText(hint, typed)) {
          matched = true;
          ++visible;
        } else {
          c->Perform(kShapeButtonKeyTip, 1, 0);
        }
      }
  } else {
    for (TLumPage* p : pages_)
      if (p->TabKeyTipWindow() && p->TabKeyTipWindow()->Visible()) ++visible;
  }
  // 4. Nothing left to type towards.
  if (keyTipMode_ && visible == 0) HideKeyTips(false);
  // 5.
  if (!matched) vcl::MessageBeep(0);
}

void TRorIvezEviPager::RestoreKeyTipFocus() {
  if (ComponentState().Contains(vcl::csDesigning) || !keyTipFocus_) return;
  if (InsideControl(keyTipFocus_, this)) return;
  vcl::TCustomForm* form = vcl::GetParentForm(this);
  vcl::TWinControl* focus = FocusedControl();
  if (!form || !focus || !InsideControl(focus, form)) return;
  if (keyTipFocus_->CanFocus()) keyTipFocus_->SetFocus();
}

void TRorIvezEviPager::CompactWindowClosed(controls::TLumGlowButton* Button) {
  if (skipCompactChain_) {
    skipCompactChain_ = false;
    return;
  }
  TLumPage* page = ActivePage();
  if (!page) return;
  if (!expanded_ && page->Twin()) page = page->Twin();
  const vcl::TPoint cursor = vcl::GetCursorPos();
  for (int i = 0; i < page->ToolBarCount(); ++i) {
    TLumCustomToolBar* bar = page->ToolBars(i);
    controls::TLumGlowButton* b = bar->IsCollapsed() ? bar->CompactButton() : nullptr;
    if (!b || b == Button || !b->Visible()) continue;
    const vcl::TPoint p = b->ScreenToClient(cursor);
    if (p.X < 0 || p.Y < 0 || p.X >= b->Width() || p.Y >= b->Height()) continue;
    if (b->CanFocus()) b->SetFocus();
    b->Repaint();
    b->KeyboardClick();
    return;
  }
}

// --- the Ctrl+F1 hook ---

TRorIvezEviPager* TRorIvezEviPager::KeyHookPager() { return gKeyHookPager; }

void TRorIvezEviPager::InstallKeyHook() {
  if (gKeyHook || ComponentState().Contains(vcl::csDesigning)) return;
  gKeyHook = vcl::SetWindowsHookEx(vcl::WH_GETMESSAGE, [](vcl::Integer Code, vcl::WPARAM WParam, vcl::LPARAM LParam) {
    if (Code == vcl::HC_ACTION) {
      const auto* msg = reinterpret_cast<const vcl::MSG*>(LParam);
      const int key = static_cast<int>(msg->wParam);
      if (msg->message == vcl::WM_KEYDOWN || msg->message == vcl::WM_SYSKEYDOWN) {
        if (key == vcl::VK_F10) gF10Down = true;
        if (key != gLastHookKey && gKeyHookPager) {
          gLastHookKey = key;
          gKeyHookPager->CheckHookKey(static_cast<vcl::Word>(key));
        }
      } else if (msg->message == vcl::WM_KEYUP || msg->message == vcl::WM_SYSKEYUP) {
        gLastHookKey = -1;
        // F10 let go: an armed pager shows its key tips at its next look.
        if (key == vcl::VK_F10) gF10Down = false;
      }
    }
    return vcl::CallNextHookEx(gKeyHook, Code, WParam, LParam);
  });
  if (gKeyHook) {
    gKeyHookPager = this;
    gLastHookKey = -1;
  }
}

void TRorIvezEviPager::RemoveKeyHook() {
  if (gKeyHookPager != this) return;
  vcl::UnhookWindowsHookEx(gKeyHook);
  gKeyHook = 0;
  gF10Down = false;
  gKeyHookPager = nullptr;
  gLastHookKey = -1;
}

void TRorIvezEviPager::CheckHookKey(vcl::Word Key) {
  if (Key != vcl::VK_F1 || vcl::GetKeyState(vcl::VK_CONTROL) >= 0 || vcl::GetKeyState(vcl::VK_SHIFT) < 0 ||
      vcl::GetKeyState(vcl::VK_MENU) < 0)
    return;
  if (expanded_)
    Collapse();
  else
    Expand();
}

}  // namespace ribbon
