#pragma once
// The toolbar as its lightweight controls see it: the orientation and
// placement state, the styler every drawing reads, the image lists, the
// menu, the sizes a button fits itself to, the list of its own controls,
// and the operations a button calls on it (hot button, menu tracking,
// option window, priority list and overflow). Layout, painting, the menu
// bar and overflow fill these operations in; here they carry their plain
// contract (no menu bar: nothing tracked; no overflow: nothing hidden).
#include <vector>

#include "controls/LumGlowButton.h"
#include "ribbon/RorIvezEviStyler.h"
#include "vcl/Controls.h"

namespace rtl {
class TCustomIniFile;
}

namespace vcl {
class TImageList;
class TMainMenu;
}  // namespace vcl

namespace ribbon {

enum class TDockAlign : uint8_t { daLeft, daTop, daRight, daBottom };
using enum TDockAlign;
enum class TToolBarState : uint8_t { tsDocked, tsFloating, tsFixed };
using enum TToolBarState;
enum class TCaptionPosition : uint8_t { cpTop, cpBottom };
using enum TCaptionPosition;

// What a toolbar's parent is to its layout: a ribbon page or a collapsed
// group's drop-down (glow buttons stacked in columns of three), a dock
// panel (rows shared with other toolbars), or neither. The page, the
// compact window and the dock panel implement it.
class TLumCustomToolBar;
class TCompactWindow;

class IToolBarHost {
 public:
  virtual bool RibbonGroupHost() const { return false; }
  virtual bool DockPanelHost() const { return false; }
  // A toolbar child changed its size (the page lines its toolbars up
  // again).
  virtual void ToolBarResized(TLumCustomToolBar* ToolBar) {}
  // A toolbar child was shown or hidden.
  virtual void ToolBarVisibleChanged(TLumCustomToolBar* ToolBar) {}
  // Whether a toolbar here keeps ParentStyler (a page of a pager or of the
  // minimised ribbon's popup), and the styler it then takes (none: its
  // own).
  virtual bool KeepsParentStyler() const { return false; }
  virtual TCustomRorIvezEviStyler* ParentStylerFor(const TLumCustomToolBar* ToolBar) const { return nullptr; }
  // The toolbar's place in the host's list (-1 where there is none) and a
  // move within it.
  virtual int ToolBarIndexOf(const TLumCustomToolBar* ToolBar) const { return -1; }
  // Answers the index it landed on (clamped to the list), -1 without one.
  virtual int MoveToolBarTo(TLumCustomToolBar* ToolBar, int Index) { return -1; }

 protected:
  virtual ~IToolBarHost() = default;
};

// The window messages the unit registers once: posted by a toolbar to
// itself after its compact window hid, and one kept for the composited
// look (registered, not used further).
rtl::Cardinal CompactWinHideMessage();
rtl::Cardinal SetAeroVistaMessage();

// Packed versions: one byte a part, most significant first.
inline constexpr rtl::Cardinal kToolBarVersionNumber = (3u << 24) | (5u << 16) | (4u << 8) | 8u;
// "3.5.4.8" from a packed version.
rtl::AnsiString VersionText(rtl::Cardinal Packed);

class TLumCustomToolBarButton;
class TLumDockPanel;
class TFloatingWindow;
class TPersistence;

// The sides a toolbar may dock to, and which dock panels a drag may take
// it into.
using TDockableTo = rtl::TSet<TDockAlign>;
enum class TDockMode : uint8_t { dmAll, dmAllParentDockPanels, dmParentDockPanelOnly };
using enum TDockMode;
using TDockedEvent = std::function<void(vcl::TObject* Sender, TLumDockPanel* Panel)>;
using TCanFloatEvent = std::function<void(vcl::TObject* Sender, bool& Allow)>;

class TLumCustomToolBar : public vcl::TCustomControl, public IRorIvezEviStylerClient {
 public:
  explicit TLumCustomToolBar(vcl::TComponent* AOwner);
  ~TLumCustomToolBar() override;

  // A styler change: the toolbar takes the styler's colour; looks (2, 7)
  // reach the children, metrics (5) lay them out again, fonts (6)
  // re-measure the menu buttons; then everything repaints.
  TStylerClientKind StylerClientKind() const override { return TStylerClientKind::sckToolBar; }
  void StylerChanged(int Code) override;

  // The assigned styler, else the toolbar's own "InternalStyler".
  TCustomRorIvezEviStyler* CurrentStyler() const { return toolBarStyler_ ? toolBarStyler_ : internalStyler_; }
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return toolBarStyler_; }
  // Resolves the styler in force: the value, replaced (with ParentStyler)
  // by the dock panel's or the pager's; the children take its looks.
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override;
  // True resolves the styler again from the parent; a change to False
  // drops the assigned styler.
  bool ParentStyler() const { return parentStyler_; }
  void SetParentStyler(bool Value);
  // Glow buttons take the styler's glow appearance (the compact one while
  // collapsed); a styler naming a preset hands it to children taking
  // styles.
  void UpdateStyler();
  // The index in the page's toolbar list (-1 off a page); a new value is
  // clamped to the list, the page lines its toolbars up again, and the
  // tab order follows.
  int ToolBarIndex() const;
  void SetToolBarIndex(int Value);

  void SetParent(vcl::TWinControl* AParent) override;
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
  // The placement state follows the parent (docked, floating, fixed).
  void SetState(TToolBarState Value) { state_ = Value; }
  void SetRowHeight(int Value) { rowHeight_ = Value; }
  void SetCaptionHeight(int Value);
  void SetShowCaption(bool Value);
  TCaptionPosition CaptionPosition() const { return captionPosition_; }
  void SetCaptionPosition(TCaptionPosition Value);
  // False is refused unless the toolbar is fixed outside a dock panel;
  // then AutoSize goes off too.
  void SetAutoPositionControls(bool Value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value);
  bool ShowRightHandle() const { return handleWidth_ == 14; }
  void SetShowRightHandle(bool Value);
  int GripWidth() const { return 7; }
  int HandleWidth() const { return handleWidth_; }
  int MinLength() const { return minLength_; }
  int FullLength() const { return fullLength_; }
  int FloatingRows() const { return floatingRows_; }

  // Layout and sizing.
  // Places the children (ribbon columns on a page, one band elsewhere,
  // rows when floating); with DoSize also UpdateSize.
  virtual void PositionControls(bool DoSize);
  // FullLength and, while the toolbar sizes itself, its length, thickness
  // and length constraints.
  void UpdateSize();
  int CalcRowHeight(bool Force) const;
  void SetOrientation(TDockAlign Value);
  // The first free coordinate along the length.
  int GetDragGripStart() const;
  vcl::TRect GetCaptionRect() const;
  vcl::TRect GetClientRectWithoutCaption() const;
  vcl::TRect GetRightHandleRect() const;
  void AdjustClientRect(vcl::TRect& Rect) const override;
  // Where a control goes in the display order.
  int InsertionIndex(vcl::TControl* Control) const;
  // Current length less the minimum length constraint, and the maximum
  // length constraint less the current length.
  int GetShrinkSpace() const;
  int GetGrowSpace() const;
  bool ShowOptionIndicator() const { return showOptionIndicator_; }
  void SetShowOptionIndicator(bool Value);
  const rtl::AnsiString& ToolBarCaption() const { return Caption(); }
  vcl::TAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(vcl::TAlignment Value);
  bool ShowClose() const { return showClose_; }
  void SetShowClose(bool Value) { showClose_ = Value; }
  // Layout and painting wait while the count is above 0.
  void BeginUpdate() { ++updateLock_; }
  void EndUpdate();

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
  // The keys typed on a glow button of the toolbar (key tips, arrows,
  // Escape) reach the toolbar here.
  virtual void GlowButtonKeyDown(vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift);
  virtual void UpdateOverflow() {}

  rtl::AnsiString Version() const { return VersionText(kToolBarVersionNumber); }
  void SetVersion(const rtl::AnsiString&) {}

  // --- the toolbar as a ribbon group, as its page sizes it ---
  // One shrink step of the glow buttons (large to label, else a column of
  // label buttons to glyphs): the width it gains, 0 when nothing is left
  // to shrink. With Apply False it only measures.
  virtual int ReduceButtons(bool Apply, controls::TButtonSizeState& NewState);
  // One growth step (a glyph column to labels, else labels to large): the
  // extra width it needs, 0 when nothing can grow.
  virtual int EnlargeButtons(bool Apply, controls::TButtonSizeState& NewState);
  void ReduceButtonsFully();
  void EnlargeButtonsFully();
  // On a page, once loaded: the group's controls move into a clone inside
  // its compact window and a 45-pixel compact button drops that window;
  // False brings them back.
  virtual void SetCollapsed(bool Value);
  bool IsCollapsed() const { return collapsed_; }
  // 45 on a page, else the current width.
  virtual int GetCollapsedWidth() const;
  // The width the group needs when expanded: while collapsed the clone's,
  // brought to its smallest form first.
  virtual int GetExpandedWidth() const;
  // Opens the compact window under the collapsed group (the compact
  // button's click).
  void DropDownCompactWindow();
  TCompactWindow* CompactWindow() const { return compactWindow_; }
  TLumCustomToolBar* Clone() const { return clone_; }
  controls::TLumGlowButton* CompactButton() const { return compactButton_; }
  const rtl::AnsiString& CompactCaption() const { return compactCaption_; }
  void SetCompactCaption(const rtl::AnsiString& Value) { compactCaption_ = Value; }
  const rtl::AnsiString& CompactShortCutHint() const { return compactShortCutHint_; }
  void SetCompactShortCutHint(const rtl::AnsiString& Value) { compactShortCutHint_ = Value; }
  // Raised while collapsing or expanding.
  bool Busy() const { return busy_; }
  // A toolbar never collapses before this is set (at the end of loading,
  // or when a page takes it in outside loading).
  bool GroupLoaded() const { return groupLoaded_; }
  void SetGroupLoaded(bool Value) { groupLoaded_ = Value; }
  bool CloneReduced() const { return cloneReduced_; }
  void SetCloneReduced(bool Value) { cloneReduced_ = Value; }
  // Closes the compact window when collapsed and showing.
  virtual void HideCompactWindow();
  // Posts TBCompactWinHide to the toolbar itself.
  void PostCompactHide();
  // The compact window reports that it closed: the pager hears which
  // compact button owned it.
  virtual void CompactWindowClosed();

  // --- key tips of the group (RorIvezEviGroupKeyTips) ---
  // Every visible, enabled glow button (also inside containers) shows its
  // key tip.
  void ShowKeyTips();
  void HideKeyTips();
  // A glow button whose key tip is Text is focused and clicked (True);
  // Partial counts the tips that begin with Text; the others hide.
  bool MatchKeyTip(const rtl::AnsiString& Text, int& Partial);
  bool KeyTipsShowing() const { return keyTips_; }
  void SetKeyTipsShowing(bool Value) { keyTips_ = Value; }
  // The group's first or last control in tab order (a collapsed group's
  // compact button); none when there is none.
  vcl::TWinControl* FirstFocusable(bool CanFocusOnly) const;
  vcl::TWinControl* LastFocusable(bool CanFocusOnly) const;
  // Whether a glow button of the group (also inside containers) has its
  // drop-down menu open.
  bool IsAnyDropDownOpen() const;
  // On a clone inside a compact window: the collapsed toolbar it stands
  // for.
  TLumCustomToolBar* CloneSource() const { return cloneSource_; }
  void SetCloneSource(TLumCustomToolBar* Value) { cloneSource_ = Value; }

  // --- in a dock panel (RorIvezEviDocking.cpp) ---
  // The panel the toolbar sits in, and the last one it sat in.
  TLumDockPanel* DockPanel() const { return dockPanel_; }
  TLumDockPanel* HomeDockPanel() const { return homeDockPanel_; }
  // The row the panel keeps it in (-1: none); raised while the rows place
  // it, so that its SetBounds does not ask them again.
  int RowIndex() const { return rowIndex_; }
  void SetRowIndex(int Value) { rowIndex_ = Value; }
  bool BoundsSetByPanel() const { return boundsByPanel_; }
  void SetBoundsSetByPanel(bool Value) { boundsByPanel_ = Value; }
  // While docked: a row of its own, spanning it.
  bool FullSize() const { return fullSize_; }
  void SetFullSize(bool Value);
  const TDockableTo& DockableTo() const { return dockableTo_; }
  void SetDockableTo(const TDockableTo& Value) { dockableTo_ = Value; }
  TDockMode DockMode() const { return dockMode_; }
  void SetDockMode(TDockMode Value) { dockMode_ = Value; }
  TPersistence* Persistence() const { return persistence_; }
  TToolBarState PreviousState() const { return previousState_; }
  // The panels' layout loading asks whether the toolbar read its own
  // saved state already.
  bool StateLoaded() const { return stateLoaded_; }
  void SetStateLoaded(bool Value) { stateLoaded_ = Value; }
  // While docked, the rows first adjust what is asked.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TDockedEvent OnDocked;
  vcl::TNotifyEvent OnUnDocked;

  // --- floating and dragging (RorIvezEviFloating.cpp) ---
  // Not on a ribbon page or in a compact window, and not twice.
  void MakeFloating(int X, int Y, bool UsePoint);
  // The floating close button: back home (AutoDockOnClose) or hidden.
  void CloseFloating();
  TFloatingWindow* FloatingWindow() const { return floatingWindow_; }
  void SetFloatingRows(int Value);
  int MaxFloatingRows() const;
  void GetFloatingSize(int& Width, int& Height) const;
  bool GetFloatingSizeFor(int Rows, int& Width, int& Height) const;
  bool CanDockTo(TLumDockPanel* Panel) const;
  // The floating state kept under the persistence record (a store may be
  // handed in).
  void LoadFloatingState(rtl::TCustomIniFile* Store = nullptr);
  void SaveFloatingState(rtl::TCustomIniFile* Store = nullptr);
  bool AllowFloating() const { return allowFloating_; }
  void SetAllowFloating(bool Value) { allowFloating_ = Value || state_ == tsFloating; }
  bool Locked() const { return locked_; }
  void SetLocked(bool Value) { locked_ = Value && state_ != tsFloating; }
  bool AutoDockOnClose() const { return autoDockOnClose_; }
  void SetAutoDockOnClose(bool Value) { autoDockOnClose_ = Value; }
  bool Dragging() const { return dragging_; }
  // The floating window follows its home form's visibility every 40 ms.
  void FloatingWatch();
  // The hint over the floating close button.
  const rtl::AnsiString& HintCloseButton() const { return hintCloseButton_; }
  void SetHintCloseButton(const rtl::AnsiString& Value) { hintCloseButton_ = Value; }
  bool CloseButtonHot() const { return closeHot_; }
  // Hints over the floating buttons and the mouse leaving: true when the
  // message was answered here.
  bool FloatingMessage(vcl::TMessage& Message);
  TCanFloatEvent OnCanFloat;
  vcl::TNotifyEvent OnClose;

 protected:
  void SetCollapsedState(bool Value) { collapsed_ = Value; }
  void SetBusy(bool Value) { busy_ = Value; }
  void Resize() override;
  void Loaded() override;
  void WndProc(vcl::TMessage& Message) override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Dispatch(vcl::TMessage& Message) override;
  void Paint() override;
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

 private:
  TCustomRorIvezEviStyler* internalStyler_ = nullptr;
  TCustomRorIvezEviStyler* toolBarStyler_ = nullptr;
  vcl::TImageList* images_ = nullptr;
  vcl::TImageList* disabledImages_ = nullptr;
  vcl::TMainMenu* menu_ = nullptr;
  void PaintCaptionBand(vcl::TCanvas* C);
  void PaintBackground(vcl::TCanvas* C);
  void PaintDragGrip(vcl::TCanvas* C);
  void PaintRightHandle(vcl::TCanvas* C);
  void PaintFloatingButtons(vcl::TCanvas* C, const vcl::TRect& Caption);
  bool ParentIsRibbon() const;
  bool ParentIsDockPanel() const;
  // Moves a control out of sight (below, or right of, the toolbar).
  void HideOutOfSight(vcl::TControl* Control, bool Right);
  void PlaceControl(vcl::TControl* Control, int X, int Y);

  TDockAlign position_ = daTop;
  TToolBarState state_ = tsDocked;
  int rowHeight_ = 26;
  int captionHeight_ = 16;
  bool showCaption_ = false;
  bool autoPositionControls_ = true;
  bool autoSize_ = true;
  TCaptionPosition captionPosition_ = cpTop;
  int handleWidth_ = 14;
  int minLength_ = 60;
  int fullLength_ = 60;
  int floatingRows_ = 1;
  int updateLock_ = 0;
  bool layoutLock_ = false;
  std::vector<vcl::TControl*> hidden_;
  bool showOptionIndicator_ = true;
  bool showClose_ = true;
  vcl::TAlignment captionAlignment_ = vcl::taLeftJustify;
  std::vector<vcl::TControl*> controls_;
  std::vector<vcl::TControl*> priority_;
  TLumCustomToolBarButton* hotButton_ = nullptr;
  bool parentStyler_ = true;
  TLumCustomToolBar* cloneSource_ = nullptr;
  TCompactWindow* compactWindow_ = nullptr;
  TLumCustomToolBar* clone_ = nullptr;
  controls::TLumGlowButton* compactButton_ = nullptr;
  rtl::AnsiString compactCaption_, compactShortCutHint_;
  bool savedAutoPosition_ = true, savedAutoSize_ = true;
  bool collapsed_ = false;
  bool busy_ = false;
  bool groupLoaded_ = false;
  bool cloneReduced_ = false;
  bool keyTips_ = false;
  // The focus came to the group itself: its first control takes it.
  void GroupFocusChanged(vcl::TControl* Focused);
  // A key on the group itself (a page's group, one in the minimised
  // ribbon's popup, or the clone in a compact window).
  void GroupKeyDown(vcl::Word Key);
  // Docking state (RorIvezEviDocking.cpp).
  TLumDockPanel* dockPanel_ = nullptr;
  TLumDockPanel* homeDockPanel_ = nullptr;
  int rowIndex_ = -1;
  bool boundsByPanel_ = false;
  bool fullSize_ = false;
  TDockableTo dockableTo_{daLeft, daTop, daRight, daBottom};
  TDockMode dockMode_ = dmAll;
  TPersistence* persistence_ = nullptr;
  TToolBarState previousState_ = tsDocked;
  bool stateLoaded_ = false;
  // Leaves the dock panel (its rows and lists); clears the references of
  // a panel going away.
  void LeaveDockPanel();
  // Moves into a dock panel; false when the panel refuses.
  bool EnterDockPanel(TLumDockPanel* Panel);
  void DockPanelGone(vcl::TComponent* Panel);
  friend class TLumDockPanel;
  // Floating and dragging (RorIvezEviFloating.cpp).
  TFloatingWindow* floatingWindow_ = nullptr;
  bool allowFloating_ = true, locked_ = false, autoDockOnClose_ = false;
  bool dragging_ = false;
  vcl::TPoint dragStart_{0, 0};
  struct TDockCandidate {
    TLumDockPanel* Panel;
    vcl::TRect Zone;
  };
  std::vector<TDockCandidate> candidates_;
  vcl::TCustomForm* homeForm_ = nullptr;
  bool hideWithForm_ = false;
  bool closeHot_ = false, closeDown_ = false, optionHot_ = false, optionDown_ = false;
  vcl::TCursor savedCursor_ = vcl::crDefault;
  void CollectCandidates();
  void DragMove(int X, int Y);
  void EndDrag();
  bool floatingSaved_ = false;
  rtl::AnsiString hintCloseButton_;
  // The window goes (freed with its owner): the toolbar forgets it.
  void FloatingWindowGone();
  // The toolbar goes: its window is freed (unless already going).
  void ReleaseFloatingWindow();
  friend class TFloatingWindow;
  vcl::TRect FloatingCloseRect() const;
  vcl::TRect FloatingOptionRect() const;
  int FloatingExtent() const;
  // The visible controls in display order (all of them at design time).
  std::vector<vcl::TControl*> VisibleOrder() const;
  int StepButtons(bool Apply, bool Grow, controls::TButtonSizeState& NewState);
};

// The toolbar a form places on a ribbon page (or elsewhere) with its
// settings published.
class TRorIvezEvi : public TLumCustomToolBar {
 public:
  using TLumCustomToolBar::TLumCustomToolBar;
};

}  // namespace ribbon
