#include "vcl/ActnList.h"

#include "vcl/ImgList.h"

#include <algorithm>
#include <cctype>

#include "rtl/Format.h"
#include "rtl/Strings.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

namespace vcl {

// ------------------------------------------------------------ shortcuts

TShortCut ShortCut(Word key, TShiftState shift) {
  if (key & 0xFF00) return scNone;
  TShortCut sc = key;
  if (shift.Contains(ssShift)) sc |= scShift;
  if (shift.Contains(ssCtrl)) sc |= scCtrl;
  if (shift.Contains(ssAlt)) sc |= scAlt;
  return sc;
}

void ShortCutToKey(TShortCut sc, Word& key, TShiftState& shift) {
  key = sc & 0xFF;
  shift = {};
  if (sc & scShift) shift.Include(ssShift);
  if (sc & scCtrl) shift.Include(ssCtrl);
  if (sc & scAlt) shift.Include(ssAlt);
}

namespace {
struct KeyName {
  Word key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},    {VK_TAB, "Tab"},      {VK_ESCAPE, "Esc"},   {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"},  {VK_PRIOR, "PgUp"},   {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},    {VK_LEFT, "Left"},    {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},   {VK_OEM_PLUS, "="},
    {VK_OEM_MINUS, "-"},  {VK_OEM_COMMA, ","},  {VK_OEM_PERIOD, "."}, {VK_OEM_2, "/"},
    {VK_OEM_1, ";"},      {VK_OEM_3, "`"},      {VK_OEM_4, "["},      {VK_OEM_5, "\\"},
    {VK_OEM_6, "]"},      {VK_OEM_7, "'"},      {VK_ADD, "Num +"},    {VK_SUBTRACT, "Num -"},
    {VK_MULTIPLY, "Num *"}, {VK_DIVIDE, "Num /"},
};

AnsiString KeyText(Word key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return AnsiString(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return "Num " + std::to_string(key - VK_NUMPAD0);
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}
}  // namespace

AnsiString ShortCutToText(TShortCut sc) {
  AnsiString name = KeyText(sc & 0xFF);
  if (name.empty()) return {};
  AnsiString prefix;
  if (sc & scShift) prefix += "Shift+";
  if (sc & scCtrl) prefix += "Ctrl+";
  if (sc & scAlt) prefix += "Alt+";
  return prefix + name;
}

TShortCut TextToShortCut(const AnsiString& text) {
  AnsiString rest = text;
  TShortCut mods = 0;
  for (bool again = true; again;) {
    again = false;
    for (auto [word, flag] : {std::pair{"Shift+", scShift}, std::pair{"Ctrl+", scCtrl}, std::pair{"Alt+", scAlt}}) {
      AnsiString w = word;
      if (rest.size() > w.size() && rtl::SameText(rest.substr(0, w.size()), w)) {
        mods |= flag;
        rest = rest.substr(w.size());
        again = true;
      }
    }
  }
  for (Word key = 1; key < 256; ++key) {
    AnsiString name = KeyText(key);
    if (!name.empty() && rtl::SameText(name, rest)) return static_cast<TShortCut>(key | mods);
  }
  return scNone;
}

// ---------------------------------------------------------- TBasicAction

TBasicAction::~TBasicAction() {
  for (TComponent* c : std::vector<TComponent*>(clients_)) {
    if (auto* control = dynamic_cast<TControl*>(c))
      control->SetAction(nullptr);
    else if (auto* item = dynamic_cast<TMenuItem*>(c))
      item->SetAction(nullptr);
  }
}

bool TBasicAction::Execute() {
  if (OnExecute) {
    OnExecute(this);
    return true;
  }
  return false;
}

bool TBasicAction::Update() {
  if (OnUpdate) {
    OnUpdate(this);
    return true;
  }
  return false;
}

bool RelinkAction(TBasicAction*& link, TBasicAction* action, TComponent* client) {
  if (action == link) return false;
  if (link) link->UnregisterClient(client);
  link = action;
  if (action) {
    action->RegisterClient(client);
    action->FreeNotification(client);
  }
  return true;
}

void TBasicAction::RegisterClient(TComponent* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TBasicAction::UnregisterClient(TComponent* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TBasicAction::Change() {
  for (TComponent* c : std::vector<TComponent*>(clients_)) {
    if (auto* control = dynamic_cast<TControl*>(c))
      control->ActionChange(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(c))
      item->ActionChange(this);
  }
}

// ------------------------------------------------------ TContainedAction

TContainedAction::~TContainedAction() {
  if (actionList_) actionList_->RemoveAction(this);
}

void TContainedAction::SetActionList(TActionList* list) {
  if (list == actionList_) return;
  if (actionList_) actionList_->RemoveAction(this);
  if (list) list->AddAction(this);
}

Integer TContainedAction::Index() const { return actionList_ ? actionList_->IndexOfAction(this) : -1; }

bool TContainedAction::Execute() {
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

// --------------------------------------------------------- TCustomAction

void TCustomAction::SetCaption(const AnsiString& v) {
  if (v == caption_) return;
  caption_ = v;
  Change();
}

void TCustomAction::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (v && groupIndex_ > 0 && ActionList()) {
    for (Integer i = 0; i < ActionList()->ActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
      if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Change();
}

void TCustomAction::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Change();
}

void TCustomAction::SetHint(const AnsiString& v) {
  if (v == hint_) return;
  hint_ = v;
  Change();
}

void TCustomAction::SetShortCut(TShortCut v) {
  if (v == shortCut_) return;
  shortCut_ = v;
  Change();
}

void TCustomAction::SetImageIndex(Integer v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  Change();
}

bool TCustomAction::Execute() {
  Update();
  if (!enabled_) return false;
  if (autoCheck_) SetChecked(!checked_);
  return TContainedAction::Execute();
}

// ----------------------------------------------------------- TActionList

TActionList::TActionList(TComponent* owner) : TComponent(owner) {
  InitApplication();
  Application->AddActionList(this);
}

TActionList::~TActionList() {
  if (Application) Application->RemoveActionList(this);
  for (TContainedAction* a : std::vector<TContainedAction*>(actions_)) RemoveAction(a);
}

void TActionList::SetImages(TImageList* images) {
  if (images == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = images;
  if (images) images->FreeNotification(this);
  if (OnChange) OnChange(this);
}

void TActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

TContainedAction* TActionList::Actions(Integer index) const {
  if (index < 0 || index >= ActionCount())
    throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
  return actions_[static_cast<size_t>(index)];
}

void TActionList::AddAction(TContainedAction* action) {
  if (!action || action->actionList_ == this) return;
  if (action->actionList_) action->actionList_->RemoveAction(action);
  actions_.push_back(action);
  action->actionList_ = this;
  if (OnChange) OnChange(this);
}

void TActionList::RemoveAction(TContainedAction* action) {
  auto it = std::find(actions_.begin(), actions_.end(), action);
  if (it == actions_.end()) return;
  actions_.erase(it);
  action->actionList_ = nullptr;
  if (OnChange && !Destroying()) OnChange(this);
}

Integer TActionList::IndexOfAction(const TContainedAction* action) const {
  auto it = std::find(actions_.begin(), actions_.end(), action);
  return it == actions_.end() ? -1 : static_cast<Integer>(it - actions_.begin());
}

bool TActionList::IsShortCut(Word key, TShiftState shift) {
  if (state_ != asNormal) return false;
  TShortCut sc = ShortCut(key, shift);
  if (sc == scNone) return false;
  for (TContainedAction* a : std::vector<TContainedAction*>(actions_)) {
    auto* ca = dynamic_cast<TCustomAction*>(a);
    if (!ca || ca->ShortCut() != sc) continue;
    ca->Update();
    if (!ca->Enabled()) continue;  // the next action with this shortcut may take it
    ca->Execute();
    return true;
  }
  return false;
}

void TActionList::UpdateActions() {
  if (state_ != asNormal) return;
  for (TContainedAction* a : std::vector<TContainedAction*>(actions_)) a->Update();
}

bool TActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnExecute) OnExecute(action, handled);
  return handled;
}

bool TActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(action, handled);
  return handled;
}

}  // namespace vcl
