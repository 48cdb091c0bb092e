#pragma once
// The roots of the class library: TObject, TPersistent (copyable state
// through Assign) and TComponent (ownership, names, free notification, the
// loading and destroying states).
#include <functional>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/Types.h"
#include "vcl/Types.h"

namespace vcl {

using rtl::EConvertError;
using rtl::EInvalidOperation;
using rtl::Exception;
RTL_DECLARE_EXCEPTION(EComponentError, Exception);

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  // The class name without namespace ("TButton").
  AnsiString ClassName() const;
  // Runs after the most derived constructor, through vcl::Create or the
  // first use that needs a finished object.
  virtual void AfterConstruction() {}
  // Runs while the object is still whole, just before it is deleted by
  // vcl::Free, by its owner or by its parent control.
  virtual void BeforeDestruction() {}
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Constructs T and runs its AfterConstruction (forms fire OnCreate there).
template <typename T, typename... Args>
T* Create(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  object->AfterConstruction();
  return object;
}

class TPersistent : public TObject {
 public:
  // Copies source's state into this object; when this class does not know
  // source's class, asks source to AssignTo; raises EConvertError
  // "Cannot assign a %s to a %s" when neither knows the other.
  virtual void Assign(const TPersistent* source);

 protected:
  virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };
using enum TOperation;

enum class TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csFreeNotification, csUpdating };
using enum TComponentStateItem;
using TComponentState = rtl::TSet<TComponentStateItem>;

class TComponent : public TPersistent {
 public:
  // Joins owner's components; the owner frees it. A component created while
  // its owner is loading is loading too.
  explicit TComponent(TComponent* owner);
  // Announces csDestroying, tells every component that asked for a free
  // notification, frees the owned components (last first) and leaves the
  // owner.
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const AnsiString& Name() const { return name_; }
  // Raises EComponentError "'%s' is not a valid component name" for a name
  // that is not an identifier, and "A component named %s already exists"
  // when the owner holds another component of that name (case ignored).
  virtual void SetName(const AnsiString& name);
  Integer Tag() const { return tag_; }
  void SetTag(Integer tag) { tag_ = tag; }

  Integer ComponentCount() const { return static_cast<Integer>(components_.size()); }
  TComponent* Components(Integer index) const;
  // Position in the owner's list; -1 without owner.
  Integer ComponentIndex() const;
  // The owned component of that name (case ignored), or null.
  TComponent* FindComponent(const AnsiString& name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last first.
  void DestroyComponents();

  // Asks for Notification(component, opRemove) when component is freed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  const TComponentState& ComponentState() const { return state_; }
  // Runs BeforeDestroy once, then enters the destroying state.
  void BeforeDestruction() final;
  bool Loading() const { return state_.Contains(csLoading); }
  bool Destroying() const { return state_.Contains(csDestroying); }

  // Enters the loading state (with every owned component); EndLoad leaves it
  // and calls Loaded on the owned components in order, then on this one.
  void BeginLoad();
  void EndLoad();

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  // The last work of a whole object (a window's WM_DESTROY, a form's
  // OnDestroy); runs once.
  virtual void BeforeDestroy() {}
  // Called once the component's properties are all set after loading.
  virtual void Loaded();
  // Marks csDestroying on this component and every owned one.
  void MarkDestroying();
  TComponentState state_;

 private:
  void Remove(TComponent* component);
  void Insert(TComponent* component);

  bool beforeDestroyDone_ = false;
  TComponent* owner_ = nullptr;  // owns this component
  AnsiString name_;
  Integer tag_ = 0;
  std::vector<TComponent*> components_;     // owned
  std::vector<TComponent*> freeNotifies_;   // not owned; links both ways
};

}  // namespace vcl
