// The styled popup and main menus: their stylers (the user's or a private
// internal one), the measure and draw handlers they install on every item,
// batched rebuilds, and the popup's placement.
#include "controls/LumMenus.h"

#include "vcl/Forms.h"
#include "vcl/ImgList.h"

namespace controls {

// The handlers the menus install, as types of their own, so that a menu
// can tell its handler from one an item's owner set.
struct LumMeasureHandler {
  IStyledMenu* menu;
  void operator()(vcl::TObject* sender, vcl::TCanvas* canvas, Integer& width, Integer& height) const {
    auto* item = static_cast<TMenuItem*>(sender);
    MeasureMenuItem(item, canvas, width, height, SideBarShown(item, menu->GetCurrentStyler()));
  }
};

struct LumDrawHandler {
  IStyledMenu* menu;
  bool mainMenu;
  void operator()(vcl::TObject* sender, vcl::TCanvas* canvas, vcl::TRect rect, vcl::TOwnerDrawState state) const {
    auto* item = static_cast<TMenuItem*>(sender);
    if (mainMenu) {
      if (static_cast<TLumMainMenu*>(menu)->UpdateCount() > 0) return;
      if (item->Parent() != menu->GetMenu()->Items()) rect.Right -= 17;
    } else {
      rect.Right -= 17;
    }
    DrawMenuItem(item, canvas, rect, state, SideBarShown(item, menu->GetCurrentStyler()));
  }
};

// What the two menu classes share, written once over either.
struct StyledMenuParts {
  template <typename M>
  static void MakeInternalStyler(M& m, bool mainMenu) {
    m.menuStyler_ = nullptr;
    TCustomLumMenuStyler* s = mainMenu ? new TLumMenuStyler(&m) : new TCustomLumMenuStyler(&m);
    s->SetName("InternalMenuStyler");
    m.internal_ = s;
    m.current_ = s;
  }

  template <typename M>
  static void SetMenuStyler(M& m, TCustomLumMenuStyler* value, bool mainMenu) {
    if (value == m.menuStyler_) return;
    if (m.menuStyler_ && m.menuStyler_ != m.internal_) m.menuStyler_->RemoveFreeNotification(&m);
    if (value) {
      if (m.internal_ && !m.internal_->ComponentState().Contains(vcl::csLoading)) {
        TCustomLumMenuStyler* old = m.internal_;
        m.internal_ = nullptr;
        if (m.current_ == old) m.current_ = nullptr;
        vcl::Free(old);
      }
      m.menuStyler_ = value;
      m.current_ = value;
      value->FreeNotification(&m);
    } else {
      MakeInternalStyler(m, mainMenu);
    }
    m.current_->SetMenu(&m);
    if (mainMenu) {
      IStyledMenu* self = &m;
      m.current_->Font()->OnChange = [self](vcl::TObject*) { self->Notify(); };
    }
  }

  template <typename M>
  static void HookItem(M& m, TMenuItem* item, bool recursive, bool mainMenu) {
    if (!m.ComponentState().Contains(vcl::csLoading) &&
        !item->OnAdvancedDrawItem.template target<LumDrawHandler>()) {
      if (!item->OnMeasureItem) item->OnMeasureItem = LumMeasureHandler{&m};
      if (!item->OnAdvancedDrawItem && !item->OnDrawItem) item->OnAdvancedDrawItem = LumDrawHandler{&m, mainMenu};
    }
    if (recursive)
      for (Integer i = 0; i < item->Count(); ++i) HookItem(m, item->Items(i), true, mainMenu);
  }

  template <typename M>
  static void HookAll(M& m, bool mainMenu) {
    ++m.hookPasses_;
    TMenuItem* root = m.Items();
    for (Integer i = 0; i < root->Count(); ++i) HookItem(m, root->Items(i), true, mainMenu);
  }

  template <typename M>
  static void EndUpdate(M& m) {
    if (m.updateCount_ > 0) --m.updateCount_;
    if (m.updateCount_ == 0) {
      HookAll(m, std::is_same_v<M, TLumMainMenu>);
      if constexpr (std::is_same_v<M, TLumMainMenu>) m.RedrawBar();
      m.updating_ = false;
    }
  }

  template <typename M>
  static void ItemChanged(M& m, TMenuItem* source) {
    if (m.updating_) {
      m.Notify();
      return;
    }
    if (!source) return;
    ++m.hookPasses_;
    HookItem(m, source, true, std::is_same_v<M, TLumMainMenu>);
  }

  template <typename M>
  static void Notification(M& m, vcl::TComponent* component, vcl::TOperation operation, bool mainMenu) {
    if (operation != vcl::opRemove) return;
    if (component == m.menuStyler_) {
      // A freed styler is never kept, even one the menu owns itself: a
      // fresh internal styler takes over.
      m.menuStyler_ = nullptr;
      m.current_ = nullptr;
      if (!m.ComponentState().Contains(vcl::csDestroying)) {
        MakeInternalStyler(m, mainMenu);
        m.current_->SetMenu(&m);
      }
    } else if (component == m.internal_) {
      m.internal_ = nullptr;
      if (m.current_ == component) m.current_ = nullptr;
    }
    if (component == m.disabledImages_) m.disabledImages_ = nullptr;
  }

  template <typename M>
  static void Destroy(M& m) {
    if (m.menuStyler_ && m.menuStyler_ != m.internal_) m.menuStyler_->RemoveFreeNotification(&m);
    m.menuStyler_ = nullptr;
    if (m.current_ && m.current_ != m.internal_) m.current_->SetMenu(nullptr);
    m.current_ = nullptr;
    if (TCustomLumMenuStyler* s = m.internal_) {
      m.internal_ = nullptr;
      vcl::Free(s);
    }
  }

  template <typename M>
  static void SetDisabledImages(M& m, vcl::TImageList* v) {
    if (v == m.disabledImages_) return;
    if (m.disabledImages_) m.disabledImages_->RemoveFreeNotification(&m);
    m.disabledImages_ = v;
    if (v) v->FreeNotification(&m);
  }
};

namespace {

constexpr vcl::Cardinal kVersionNumber = 0x02050301;

vcl::AnsiString VersionText(vcl::Cardinal v) {
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
         "." + std::to_string(v & 0xFF);
}

struct AnimationState {
  bool kept = true;
  bool switched = false;
};

AnimationState& Animation() {
  static AnimationState* s = new AnimationState;  // lives as long as the process
  return *s;
}

}  // namespace

// --- TLumPopupMenu ---

TLumPopupMenu::TLumPopupMenu(vcl::TComponent* owner) : vcl::TPopupMenu(owner) {
  SetOwnerDraw(true);
  MakeInternalStyler();
}

TLumPopupMenu::~TLumPopupMenu() { StyledMenuParts::Destroy(*this); }

void TLumPopupMenu::MakeInternalStyler() { StyledMenuParts::MakeInternalStyler(*this, false); }
void TLumPopupMenu::SetMenuStyler(TCustomLumMenuStyler* value) { StyledMenuParts::SetMenuStyler(*this, value, false); }
void TLumPopupMenu::HookItem(TMenuItem* item, bool recursive) { StyledMenuParts::HookItem(*this, item, recursive, false); }
void TLumPopupMenu::SetDisabledImages(vcl::TImageList* v) { StyledMenuParts::SetDisabledImages(*this, v); }

void TLumPopupMenu::BeginUpdate() {
  updating_ = true;
  ++updateCount_;
}

void TLumPopupMenu::EndUpdate() { StyledMenuParts::EndUpdate(*this); }

void TLumPopupMenu::Notify() {}

void TLumPopupMenu::Loaded() {
  vcl::TPopupMenu::Loaded();
  SetOwnerDraw(true);
  StyledMenuParts::HookAll(*this, false);
  if (internal_ && internal_ != current_) {
    TCustomLumMenuStyler* s = internal_;
    internal_ = nullptr;
    vcl::Free(s);
  }
}

void TLumPopupMenu::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TPopupMenu::Notification(component, operation);
  StyledMenuParts::Notification(*this, component, operation, false);
}

void TLumPopupMenu::ItemChanged(TMenuItem* source, bool rebuild) {
  StyledMenuParts::ItemChanged(*this, source);
  vcl::TPopupMenu::ItemChanged(source, rebuild);
}

Integer PopupPlacementX(vcl::TPopupAlignment alignment, Integer x, Integer m, Integer d) {
  if (alignment == vcl::paRight && x - m - 34 >= 0)
    x += 17;
  else if (alignment == vcl::paLeft && d <= x + m + 51)
    x += 17;
  else if (alignment == vcl::paCenter)
    x += 8;
  return std::min(x, d - 1);
}

void TLumPopupMenu::Popup(Integer X, Integer Y) {
  if (Items()->Count() == 0) return;
  Integer m = vcl::SendMeasureItem(Items()->Items(0), 10, 10).cx;
  vcl::InitApplication();
  vcl::TPopupMenu::Popup(PopupPlacementX(Alignment(), X, m, vcl::Screen->Width()), Y);
}

vcl::Cardinal TLumPopupMenu::GetVersionNumber() const { return kVersionNumber; }
vcl::AnsiString TLumPopupMenu::Version() const { return VersionText(GetVersionNumber()); }

// --- TLumMainMenu ---

TLumMainMenu::TLumMainMenu(vcl::TComponent* owner) : vcl::TMainMenu(owner) {
  SetOwnerDraw(true);
  MakeInternalStyler();
}

TLumMainMenu::~TLumMainMenu() { StyledMenuParts::Destroy(*this); }

void TLumMainMenu::MakeInternalStyler() { StyledMenuParts::MakeInternalStyler(*this, true); }
void TLumMainMenu::SetMenuStyler(TCustomLumMenuStyler* value) { StyledMenuParts::SetMenuStyler(*this, value, true); }
void TLumMainMenu::HookItem(TMenuItem* item, bool recursive) { StyledMenuParts::HookItem(*this, item, recursive, true); }
void TLumMainMenu::SetDisabledImages(vcl::TImageList* v) { StyledMenuParts::SetDisabledImages(*this, v); }

void TLumMainMenu::BeginUpdate() {
  updating_ = true;
  ++updateCount_;
}

void TLumMainMenu::EndUpdate() { StyledMenuParts::EndUpdate(*this); }

vcl::TCustomForm* TLumMainMenu::BarForm() const {
  if (!vcl::Screen) return nullptr;
  for (Integer i = 0; i < vcl::Screen->FormCount(); ++i)
    if (vcl::Screen->Forms(i)->Menu() == this) return vcl::Screen->Forms(i);
  return nullptr;
}

void TLumMainMenu::RedrawBar() { RepaintBars(); }

// No multiple-document windows here: the window-list check has nothing to
// do, and the bar shows the new look.
void TLumMainMenu::Notify() { RedrawBar(); }

void TLumMainMenu::Loaded() {
  vcl::TMainMenu::Loaded();
  SetOwnerDraw(true);
  StyledMenuParts::HookAll(*this, true);
  if (internal_ && internal_ != current_) {
    TCustomLumMenuStyler* s = internal_;
    internal_ = nullptr;
    vcl::Free(s);
  }
  if (TMenuItem* first = Items()->Count() > 0 ? Items()->Items(0) : nullptr) {
    bool visible = first->Visible();
    first->SetVisible(!visible);
    first->SetVisible(visible);
  }
  Notify();
}

void TLumMainMenu::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TMainMenu::Notification(component, operation);
  StyledMenuParts::Notification(*this, component, operation, true);
}

void TLumMainMenu::ItemChanged(TMenuItem* source, bool) {
  StyledMenuParts::ItemChanged(*this, source);
  vcl::TMainMenu::ItemChanged(source, true);
}

vcl::Cardinal TLumMainMenu::GetVersionNumber() const { return kVersionNumber; }
vcl::AnsiString TLumMainMenu::Version() const { return VersionText(GetVersionNumber()); }

// --- Start-up ---

void StartUpLumMenus() {
  // A second start must not take our own "off" for the user's setting.
  if (!Animation().switched) {
    Animation().kept = vcl::MenuAnimation();
    Animation().switched = true;
  }
  vcl::SetMenuAnimation(false);
}

void ShutDownLumMenus() {
  if (!Animation().switched) return;
  vcl::SetMenuAnimation(Animation().kept);
  Animation().switched = false;
}

}  // namespace controls
