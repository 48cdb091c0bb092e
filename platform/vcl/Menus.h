#pragma once
// Menus: menu items in a tree, the main menu of a form and pop-up menus.
#include <functional>
#include <memory>
#include <vector>

#include "vcl/ActnList.h"
#include "vcl/Components.h"
#include "vcl/Controls.h"
#include "vcl/OwnerDrawState.h"

class QMenu;

namespace vcl {

class TMenu;
class TMenuWindow;
class TImageList;
class TBitmap;

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };
using enum TMenuBreak;
enum class TMenuAutoFlag { maAutomatic, maManual, maParent };
using enum TMenuAutoFlag;
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
using enum TBiDiMode;

// Owner-drawn items: the measure handler gets the canvas with the menu
// font and the default size to change; the draw handlers get a canvas over
// the whole menu window (not clipped to the item) and the item's rectangle
// in that window.
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;

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
  // The item's own glyph (made on first use); empty by default.
  TBitmap* Bitmap();
  void SetBitmap(const TBitmap* bitmap);
  // Whether the item has a glyph bitmap that is not empty.
  bool HasBitmap() const;
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak v);
  Integer HelpContext() const { return helpContext_; }
  void SetHelpContext(Integer v) { helpContext_ = v; }
  // Images for this item's sub-items (null: the menu's).
  TImageList* SubMenuImages() const { return subMenuImages_; }
  void SetSubMenuImages(TImageList* images);
  // The images the item draws from: its parent's sub-menu images, else
  // the menu's.
  TImageList* GetImageList() const;
  // A number naming the item among all menu items while it exists.
  Cardinal Command() const { return command_; }
  // The item's rectangle on screen while its menu window (or menu bar)
  // shows it; empty otherwise.
  TRect ScreenRect() const;
  // Nesting depth: 0 for the items directly in a menu's Items.
  Integer Level() const;
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

  // Owner drawing (the menu's OwnerDraw): OnMeasureItem may change the
  // default size; OnAdvancedDrawItem, else OnDrawItem, paints the item,
  // else the class library paints it plainly.
  void MeasureItem(TCanvas* canvas, Integer& width, Integer& height);
  void AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel);

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TMenu;
  void Changed(bool rebuild = true);
  void DrawPlain(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel);

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
  std::unique_ptr<TBitmap> bitmap_;
  TMenuBreak break_ = mbNone;
  Integer helpContext_ = 0;
  TImageList* subMenuImages_ = nullptr;  // owned by its own owner
  Cardinal command_;
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

  // Items measured and painted by their handlers (TMenuItem::MeasureItem,
  // AdvancedDrawItem) instead of the style.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v) { biDiMode_ = v; }
  TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(TMenuAutoFlag v) { autoHotkeys_ = v; }
  // Rebuilds the native items, so that every item is measured again.
  void UpdateItems();
  // Repaints the menu bars that show this menu (without rebuilding them).
  void RepaintBars();

  // Fired after any item below changed.
  TNotifyEvent OnChange;

 protected:
  friend class TMenuItem;
  // An item changed; rebuild says whether the native items must be made
  // again. The default runs MenuChanged.
  virtual void ItemChanged(TMenuItem* source, bool rebuild);
  virtual void MenuChanged();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TMenuItem* items_;  // owned
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;  // owned by its own owner
  TBiDiMode biDiMode_ = bdLeftToRight;
  TMenuAutoFlag autoHotkeys_ = maAutomatic;
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
  // The screen point the menu was last shown at.
  TPoint PopupPoint() const { return popupPoint_; }
  TNotifyEvent OnPopup;

 private:
  TPoint popupPoint_{};
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;  // not owned
  TPopupAlignment alignment_ = paLeft;
};

// Qt side: fills a Qt menu with the visible sub-items of item.
void FillQtMenu(QMenu* menu, TMenuItem* item);

// A window of a menu on screen: a pop-up menu's own window or a drop-down
// or sub-menu. It lives while it shows; handles of hidden windows are
// gone.
class TMenuWindow {
 public:
  virtual ~TMenuWindow() = default;
  HWND Handle() const { return handle_; }
  // The menu it belongs to, and the item whose sub-items it shows (the
  // menu's root for a pop-up's own window).
  virtual TMenu* Menu() const = 0;
  virtual TMenuItem* ParentItem() const = 0;
  // Screen rectangle.
  virtual TRect WindowRect() const = 0;
  // The window's shape (a copy); null shows all of it.
  virtual void SetRegion(const TRegion* region) = 0;
  virtual bool HasRegion() const = 0;
  // Moves the window on screen (before it shows, when called while it is
  // being prepared).
  virtual void MoveBy(Integer dx, Integer dy) = 0;
  // A canvas over the whole window.
  virtual TCanvas* WindowCanvas() = 0;
  // The frame hook: installed at most once per showing; hiding, closing or
  // destroying the window runs the undo and removes the region.
  bool HookInstalled() const { return hooked_; }
  void InstallHook(std::function<void()> undo) {
    hooked_ = true;
    undo_ = std::move(undo);
  }

 protected:
  void Unhook() {
    hooked_ = false;
    auto undo = std::move(undo_);
    undo_ = nullptr;
    if (undo) undo();
  }
  HWND handle_ = 0;

 private:
  bool hooked_ = false;
  std::function<void()> undo_;
};

// The menu window of a handle, or null.
TMenuWindow* FindMenuWindow(HWND handle);
// The window a canvas draws into: a menu window's handle, a control's
// window handle, or 0.
HWND WindowFromDC(TCanvas* canvas);
// What an owner-drawn item measures through its handler, starting from
// width x height, with the menu font on the canvas (the measure message a
// menu's window sends for it).
TSize SendMeasureItem(TMenuItem* item, Integer width, Integer height);
// The size of a menu-bar button (the non-client metrics' menu size).
TSize MenuButtonSize();
// Qt's menu animation for this program (on unless switched off).
bool MenuAnimation();
void SetMenuAnimation(bool on);
// The keyboard's name for a key, as the desktop's US layout gives it:
// bits 16-23 the scan code, bit 24 the extended-key flag (MapVirtualKey
// gives the scan code of a virtual key). "" for an unknown key.
AnsiString GetKeyNameText(LPARAM keyData);
inline constexpr Cardinal MAPVK_VK_TO_VSC = 0;
Cardinal MapVirtualKey(Cardinal code, Cardinal mapType);

// The caption without '&' markers ("&&" stays one '&').
AnsiString StripHotkey(const AnsiString& caption);

}  // namespace vcl
