#pragma once
// Menus: menu items in a tree, the main menu of a form and pop-up menus.
#include <functional>
#include <vector>

#include "vcl/ActnList.h"
#include "vcl/Components.h"
#include "vcl/Controls.h"

class QMenu;

namespace vcl {

class TMenu;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  // Frees the item's sub-items and leaves its parent item.
  ~TMenuItem() override;

  const AnsiString& Caption() const { return caption_; }
  void SetCaption(const AnsiString& v);
  // An item whose caption is "-" is a separator line.
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group.
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& v) { hint_ = v; }
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  Integer GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(Integer v) { groupIndex_ = v; }
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer v) { imageIndex_ = v; }
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  void ActionChange(TBasicAction* sender);

  Integer Count() const { return static_cast<Integer>(items_.size()); }
  TMenuItem* Items(Integer index) const;
  TMenuItem* operator[](Integer index) const { return Items(index); }
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* item);
  void Insert(Integer index, TMenuItem* item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* item);
  // Frees the sub-item at index.
  void Delete(Integer index);
  // Frees every sub-item.
  void Clear();
  Integer IndexOf(const TMenuItem* item) const;
  // The sub-item with that caption, '&' ignored, case ignored; or null.
  TMenuItem* Find(const AnsiString& caption) const;
  Integer MenuIndex() const;
  void SetMenuIndex(Integer index);
  // The menu this item belongs to, or null.
  TMenu* GetParentMenu() const;

  // Toggles an auto-check item and runs OnClick, or the action.
  virtual void Click();

  TNotifyEvent OnClick;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMenu;
  void Changed();

  AnsiString caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  TShortCut shortCut_ = scNone;
  AnsiString hint_;
  bool radioItem_ = false;
  Integer groupIndex_ = 0;
  bool autoCheck_ = false;
  bool default_ = false;
  Integer imageIndex_ = -1;
  TBasicAction* action_ = nullptr;  // owned by its own owner
  TMenuItem* parent_ = nullptr;     // holds this item in its list
  TMenu* menu_ = nullptr;           // set on a menu's root item
  std::vector<TMenuItem*> items_;   // owned
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  // The invisible root whose sub-items are the menu's top level.
  TMenuItem* Items() const { return items_; }
  // Runs the shortcut through the enabled items (and their actions); true
  // when one took it.
  bool IsShortCut(Word key, TShiftState shift);
  // The item with that shortcut, searched depth first; or null.
  TMenuItem* FindItemByShortCut(TShortCut sc) const;

  // Fired after any item below changed.
  TNotifyEvent OnChange;

 protected:
  friend class TMenuItem;
  virtual void MenuChanged();

 private:
  TMenuItem* items_;  // owned
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

enum class TPopupAlignment { paLeft, paRight, paCenter };
using enum TPopupAlignment;

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  // Shows the menu at a screen point and returns when it closes (after the
  // chosen item's Click ran).
  virtual void Popup(Integer x, Integer y);
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment a) { alignment_ = a; }
  TNotifyEvent OnPopup;

 private:
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;  // not owned
  TPopupAlignment alignment_ = paLeft;
};

// Qt side: fills a Qt menu with the visible sub-items of item.
void FillQtMenu(QMenu* menu, TMenuItem* item);

// The caption without '&' markers ("&&" stays one '&').
AnsiString StripHotkey(const AnsiString& caption);

}  // namespace vcl
