#pragma once
// The toolbar as its lightweight controls see it: the orientation and
// placement state, the styler every drawing reads, the image lists, the
// menu, the sizes a button fits itself to, the list of its own controls,
// and the operations a button calls on it (hot button, menu tracking,
// option window, priority list and overflow). Layout, painting, the menu
// bar and overflow fill these operations in; here they carry their plain
// contract (no menu bar: nothing tracked; no overflow: nothing hidden).
#include <vector>

#include "ribbon/RorIvezEviStyler.h"
#include "vcl/Controls.h"

namespace vcl {
class TImageList;
class TMainMenu;
}  // namespace vcl

namespace ribbon {

enum class TDockAlign : uint8_t { daLeft, daTop, daRight, daBottom };
using enum TDockAlign;
enum class TToolBarState : uint8_t { tsDocked, tsFloating, tsFixed };
using enum TToolBarState;

// Packed versions: one byte a part, most significant first.
inline constexpr rtl::Cardinal kToolBarVersionNumber = (3u << 24) | (5u << 16) | (4u << 8) | 8u;
// "3.5.4.8" from a packed version.
rtl::AnsiString VersionText(rtl::Cardinal Packed);

class TLumCustomToolBarButton;

class TLumCustomToolBar : public vcl::TCustomControl {
 public:
  explicit TLumCustomToolBar(vcl::TComponent* AOwner);
  ~TLumCustomToolBar() override;

  // The assigned styler, else the toolbar's own "InternalStyler".
  TCustomRorIvezEviStyler* CurrentStyler() const { return toolBarStyler_ ? toolBarStyler_ : internalStyler_; }
  TCustomRorIvezEviStyler* ToolBarStyler() const { return toolBarStyler_; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value);

  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* Value);
  vcl::TImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(vcl::TImageList* Value);
  vcl::TMainMenu* Menu() const { return menu_; }
  void SetMenu(vcl::TMainMenu* Value);

  TDockAlign Position() const { return position_; }
  bool Horizontal() const { return position_ == daTop || position_ == daBottom; }
  TToolBarState State() const { return state_; }
  int RowHeight() const { return rowHeight_; }
  int CaptionHeight() const { return captionHeight_; }
  bool ShowCaption() const { return showCaption_; }
  bool AutoPositionControls() const { return autoPositionControls_; }
  // Plain stores; the layout that reacts to them comes with the toolbar's
  // own sizing.
  void SetPosition(TDockAlign Value) { position_ = Value; }
  void SetState(TToolBarState Value) { state_ = Value; }
  void SetRowHeight(int Value) { rowHeight_ = Value; }
  void SetCaptionHeight(int Value) { captionHeight_ = Value; }
  void SetShowCaption(bool Value) { showCaption_ = Value; }
  void SetAutoPositionControls(bool Value) { autoPositionControls_ = Value; }

  // This unit's controls in display order; reading past the end raises
  // "Index out of bounds in list read access".
  int ToolBarControlCount() const { return static_cast<int>(controls_.size()); }
  vcl::TControl* ToolBarControl(int Index) const;
  // Takes a control into the lists (a toolbar control learns its toolbar
  // and takes its orientation) and out again.
  virtual void AddToolBarControl(vcl::TControl* Control);
  virtual void RemoveToolBarControl(vcl::TControl* Control);
  // Whether Control may join; a refusal leaves a button's SetRorIvezEvi
  // without a toolbar ("RorIvezEvi not set").
  virtual bool AcceptsToolBarControl(vcl::TControl* Control) const { return Control != nullptr; }

  // What the buttons call.
  // The button whose hover highlight is on (its hot-button bookkeeping).
  virtual void ButtonHotChanged(TLumCustomToolBarButton* Button, bool Hot);
  TLumCustomToolBarButton* HotButton() const { return hotButton_; }
  // A menu loop runs (a button then keeps its highlight when left).
  virtual bool MenuTracking() const { return false; }
  // The toolbar shows a menu of its own now.
  virtual bool MenuShowing() const { return false; }
  // Drops the button's menu; True once shown.
  virtual bool TrackButtonMenu(TLumCustomToolBarButton* Button) { return false; }
  // The option window, when visible, is hidden.
  virtual bool OptionWindowVisible() const { return false; }
  virtual void HideOptionWindow() {}
  // A used control moves to the front of the priority list (returning
  // from overflow when hidden).
  virtual void ControlUsed(vcl::TControl* Control);
  const std::vector<vcl::TControl*>& PriorityList() const { return priority_; }
  virtual void PositionControls(bool DoSize) {}
  // The keys typed on a glow button of the toolbar (key tips, arrows,
  // Escape) reach the toolbar here.
  virtual void GlowButtonKeyDown(vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift) {}
  virtual void UpdateOverflow() {}

  rtl::AnsiString Version() const { return VersionText(kToolBarVersionNumber); }
  void SetVersion(const rtl::AnsiString&) {}

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Dispatch(vcl::TMessage& Message) override;

 private:
  TCustomRorIvezEviStyler* internalStyler_ = nullptr;
  TCustomRorIvezEviStyler* toolBarStyler_ = nullptr;
  vcl::TImageList* images_ = nullptr;
  vcl::TImageList* disabledImages_ = nullptr;
  vcl::TMainMenu* menu_ = nullptr;
  TDockAlign position_ = daTop;
  TToolBarState state_ = tsDocked;
  int rowHeight_ = 26;
  int captionHeight_ = 16;
  bool showCaption_ = false;
  bool autoPositionControls_ = true;
  std::vector<vcl::TControl*> controls_;
  std::vector<vcl::TControl*> priority_;
  TLumCustomToolBarButton* hotButton_ = nullptr;
};

}  // namespace ribbon
