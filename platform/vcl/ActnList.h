#pragma once
// Actions: commands with a caption, an enabled state, a shortcut and an
// execute handler, shared by menu items and controls, and kept current by
// OnUpdate while the application is idle.
#include <functional>
#include <vector>

#include "vcl/Components.h"
#include "vcl/Controls.h"

namespace vcl {

class TActionList;
class TImageList;

// A key code with scShift, scCtrl and scAlt added.
using TShortCut = Word;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(Word key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift);
// "Ctrl+S", "Shift+F10", "Ctrl+Alt+Del"; "" for scNone.
AnsiString ShortCutToText(TShortCut shortCut);
// The inverse of ShortCutToText, case ignored; scNone when not understood.
TShortCut TextToShortCut(const AnsiString& text);

class TBasicAction;

// Moves client's link from the action it follows to action (either may be
// null): unregisters from the old one, registers with the new one and asks
// to hear of its freeing. False when link already was action.
bool RelinkAction(TBasicAction*& link, TBasicAction* action, TComponent* client);

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  ~TBasicAction() override;
  // Runs the action; true when something handled it.
  virtual bool Execute();
  // Runs OnUpdate (through the action list first); true when handled.
  virtual bool Update();
  // Controls and menu items that follow this action.
  void RegisterClient(TComponent* client);
  void UnregisterClient(TComponent* client);

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every client that the action's state changed.
  void Change();

 private:
  std::vector<TComponent*> clients_;  // not owned
};

class TContainedAction : public TBasicAction {
 public:
  explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
  ~TContainedAction() override;
  TActionList* ActionList() const { return actionList_; }
  void SetActionList(TActionList* list);
  const AnsiString& Category() const { return category_; }
  void SetCategory(const AnsiString& c) { category_ = c; }
  Integer Index() const;
  bool Execute() override;
  bool Update() override;

 private:
  friend class TActionList;
  TActionList* actionList_ = nullptr;  // the list holds this action
  AnsiString category_;
};

class TCustomAction : public TContainedAction {
 public:
  explicit TCustomAction(TComponent* owner) : TContainedAction(owner) {}
  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& v);
  bool Checked() const { return checked_; }
  // Checking an action of a group (GroupIndex above 0) unchecks the others.
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer v);
  Integer GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(Integer v) { groupIndex_ = v; }
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  Integer HelpContext() const { return helpContext_; }
  void SetHelpContext(Integer v) { helpContext_ = v; }

  // Updates first; a disabled action does not run.
  bool Execute() override;

 private:
  AnsiString caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  AnsiString hint_;
  TShortCut shortCut_ = scNone;
  Integer imageIndex_ = -1;
  Integer groupIndex_ = 0;
  bool autoCheck_ = false;
  Integer helpContext_ = 0;
};

class TAction : public TCustomAction {
 public:
  explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;
enum class TActionListState { asNormal, asSuspended, asSuspendedEnabled };
using enum TActionListState;

class TActionList : public TComponent {
 public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;

  Integer ActionCount() const { return static_cast<Integer>(actions_.size()); }
  TContainedAction* Actions(Integer index) const;
  void AddAction(TContainedAction* action);
  void RemoveAction(TContainedAction* action);
  Integer IndexOfAction(const TContainedAction* action) const;
  TActionListState State() const { return state_; }
  void SetState(TActionListState s) { state_ = s; }

  // Executes the first enabled action with this shortcut (each candidate is
  // updated first); true when one ran.
  bool IsShortCut(Word key, TShiftState shift);
  // Updates every action (the idle work).
  void UpdateActions();
  bool ExecuteAction(TBasicAction* action);
  bool UpdateAction(TBasicAction* action);

  // The images the actions' ImageIndex refers to (null: none).
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::vector<TContainedAction*> actions_;  // owned by their owner component
  TActionListState state_ = asNormal;
  TImageList* images_ = nullptr;  // owned by its own owner
};

}  // namespace vcl
