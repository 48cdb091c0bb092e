#include "vcl/Components.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "rtl/Format.h"
#include "rtl/Strings.h"

namespace vcl {

AnsiString TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                    std::free);
  AnsiString name = status == 0 && demangled ? demangled.get() : mangled;
  auto colon = name.rfind("::");
  return colon == AnsiString::npos ? name : name.substr(colon + 2);
}

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  throw EConvertError(rtl::Format("Cannot assign a %s to a %s", {AnsiString("nil"), ClassName()}));
}

void TPersistent::AssignTo(TPersistent* dest) const {
  throw EConvertError(rtl::Format("Cannot assign a %s to a %s", {ClassName(), dest->ClassName()}));
}

TComponent::TComponent(TComponent* owner) {
  if (owner) {
    if (owner->Loading()) state_.Include(csLoading);
    owner->InsertComponent(this);
  }
}

TComponent::~TComponent() {
  MarkDestroying();
  // Those who asked to hear of our end forget us; we forget them.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  if (beforeDestroyDone_) return;
  beforeDestroyDone_ = true;
  BeforeDestroy();
  MarkDestroying();
}

void TComponent::MarkDestroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->MarkDestroying();
}

static bool IsValidIdent(const AnsiString& s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(s[0])) return false;
  return std::all_of(s.begin(), s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void TComponent::SetName(const AnsiString& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError(rtl::Format("'%s' is not a valid component name", {name}));
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError(rtl::Format("A component named %s already exists", {name}));
  }
  name_ = name;
}

TComponent* TComponent::Components(Integer index) const {
  if (index < 0 || index >= ComponentCount())
    throw rtl::EListError(rtl::Format("List index out of bounds (%d)", {index}));
  return components_[static_cast<size_t>(index)];
}

Integer TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (rtl::SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component->name_.empty() && FindComponent(component->name_))
    throw EComponentError(rtl::Format("A component named %s already exists", {component->name_}));
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    last->BeforeDestruction();
    Remove(last);
    Notification(last, opRemove);
    delete last;
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  auto drop = [](std::vector<TComponent*>& v, TComponent* c) { v.erase(std::remove(v.begin(), v.end(), c), v.end()); };
  drop(freeNotifies_, component);
  if (component) drop(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // Owned components hear of each other's removal too, so that a reference
  // from one to another never dangles.
  if (operation == opRemove && component)
    for (TComponent* c : std::vector<TComponent*>(components_))
      if (c != component) c->Notification(component, operation);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::BeginLoad() {
  state_.Include(csLoading);
  for (TComponent* c : components_) c->BeginLoad();
}

void TComponent::EndLoad() {
  for (TComponent* c : std::vector<TComponent*>(components_))
    if (c->Loading()) c->EndLoad();
  if (Loading()) Loaded();
}

}  // namespace vcl
