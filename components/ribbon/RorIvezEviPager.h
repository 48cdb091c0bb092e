#pragma once
// The ribbon: a pager docked to the top of its form with one tab per page
// and the active page below the tabs, and the pages themselves. This holds
// the page list, the activation protocol with OnChanging and OnChange, the
// styler in force and the geometry of caption, tab area and pages.
#include <functional>
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviAppearance.h"
#include "ribbon/RorIvezEviQATLink.h"
#include "ribbon/RorIvezEviScroll.h"
#include "ribbon/RorIvezEviStyler.h"
#include "controls/GDIPicture.h"
#include "controls/LumGDIP.h"
#include "controls/LumHintInfo.h"
#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Controls.h"

namespace controls {
class TShortCutHintWindow;
class TLumGlowButton;
}  // namespace controls

namespace ribbon {

// The pager's packed version, shown as "3.5.4.8".
inline constexpr rtl::Cardinal kPagerVersionNumber = (3u << 24) | (5u << 16) | (4u << 8) | 8u;

class TRorIvezEviPager;
class TMinimizedRibbonWindow;

// The unit's start-up work (its bitmaps and messages), done once.
void StartUpRibbon();

enum class TCaptionButton : uint8_t { cbClose, cbMinimize, cbMaximize };
using enum TCaptionButton;
using TCaptionButtons = rtl::TSet<TCaptionButton>;

// A child of the pager with a key tip of its own published as
// "ShortCutHint" (the shape buttons a form may place there): matched while
// the tabs' key tips show and clicked by its key tip.
class IPublishedShortCutHint {
 public:
  virtual ~IPublishedShortCutHint() = default;
  virtual rtl::AnsiString PublishedShortCutHint() const = 0;
  virtual void ClickByShortCut() = 0;
};

using TPagerChangingEvent =
    std::function<void(vcl::TObject* Sender, int FromPage, int ToPage, bool& AllowChange)>;

class TLumPage : public vcl::TCustomControl, public IToolBarHost {
 public:
  explicit TLumPage(vcl::TComponent* AOwner);
  ~TLumPage() override;

  bool RibbonGroupHost() const override { return true; }
  void ToolBarResized(TLumCustomToolBar* ToolBar) override;
  void ToolBarVisibleChanged(TLumCustomToolBar* ToolBar) override;
  bool KeepsParentStyler() const override { return OwnerPager() != nullptr; }
  // The pager's styler in force, or its own while the assigned one goes.
  TCustomRorIvezEviStyler* ParentStylerFor(const TLumCustomToolBar* ToolBar) const override;
  int ToolBarIndexOf(const TLumCustomToolBar* ToolBar) const override;
  int MoveToolBarTo(TLumCustomToolBar* ToolBar, int Index) override;

  // --- the page's toolbars, left to right ---
  // Takes a toolbar in (answering its index), or -1 for none, one already
  // listed, or while toolbars move between the page and its twin.
  int AddToolBar(TLumCustomToolBar* ToolBar);
  void RemoveToolBar(TLumCustomToolBar* ToolBar);
  int ToolBarCount() const { return static_cast<int>(toolBars_.size()); }
  // None outside the list.
  TLumCustomToolBar* ToolBars(int Index) const;
  TLumCustomToolBar* FirstToolBar(bool VisibleOnly) const;
  bool AutoPosition() const { return autoPosition_; }
  void SetAutoPosition(bool Value);
  // Each shown toolbar at x (from 3, then past the last one and 3 more),
  // 3 from the top and 6 less tall than the page.
  void ArrangeToolBars();
  // Reduces button sizes (then collapses groups) while the toolbars do not
  // fit, and grows them back while room is left; FitToolBars does either.
  void ShrinkToolBars();
  void GrowToolBars();
  void FitToolBars();
  // The page's width less the last shown toolbar's right edge and 2.
  int FreeSpace() const;
  // How many consecutive shown toolbars from Index (forwards or back) fit
  // from x = 3.
  int ToolBarsFitting(int Index, bool Forward) const;
  // The scroll buttons at the page's ends while even collapsed groups do
  // not fit.
  void UpdateToolBarScroll();
  void ScrollToolBars(int Count);
  void ScrollToolBarsTo(int Index);
  void ResetToolBarScroll();
  int FirstShownToolBar() const { return firstToolBar_; }
  const TRIETabScroller& ToolBarScroller() const { return toolBarScroller_; }
  TLumPageScrollButton* LeftToolBarButton() const { return leftToolBarButton_; }
  TLumPageScrollButton* RightToolBarButton() const { return rightToolBarButton_; }
  // Closes the compact windows of the page's groups (before hiding it).
  void HideToolBarPopups();
  void RefreshToolBars();

  TRorIvezEviPager* Pager() const { return pager_; }
  // Leaves another pager, takes Pager as parent and joins its list.
  void SetPager(TRorIvezEviPager* Pager);
  void SetParent(vcl::TWinControl* AParent) override;
  // The index in the pager's list (-1 without one); setting moves the
  // page there when the value is in range.
  int PageIndex() const;
  void SetPageIndex(int Value);

  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool Value);
  bool TabEnabled() const { return tabEnabled_; }
  void SetTabEnabled(bool Value);
  int ImageIndex() const { return imageIndex_; }
  // Every assignment re-measures the tabs.
  void SetImageIndex(int Value);
  const rtl::AnsiString& TabHint() const { return tabHint_; }
  void SetTabHint(const rtl::AnsiString& Value) { tabHint_ = Value; }
  // A changed caption re-measures and fits the tabs.
  void SetText(const rtl::AnsiString& Value) override;
  // Used for the tab when the caption is empty.
  const rtl::WideString& WideCaption() const { return wideCaption_; }
  void SetWideCaption(const rtl::WideString& Value);
  controls::TLumHintInfo* OfficeHint() const { return officeHint_.get(); }
  void SetOfficeHint(const controls::TLumHintInfo* Value) { officeHint_->Assign(Value); }
  // The tab's key tip and where it shows.
  const rtl::AnsiString& ShortCutHint() const { return shortCutHint_; }
  void SetShortCutHint(const rtl::AnsiString& Value) { shortCutHint_ = Value; }
  controls::TShortCutHintPos ShortCutHintPos() const { return shortCutHintPos_; }
  void SetShortCutHintPos(controls::TShortCutHintPos Value) { shortCutHintPos_ = Value; }

  // --- key tips (RorIvezEviKeyTips) ---
  // The tab's key tip placed around its tab (enabled, visible tabs only).
  void ShowTabKeyTip();
  // Frees the tab's key tip and takes it off the pager's list.
  void HideTabKeyTip();
  controls::TShortCutHintWindow* TabKeyTipWindow() const { return tabKeyTip_; }
  // The key tips of the page's groups, with the typed text of their own.
  void ShowToolBarKeyTips();
  void HideToolBarKeyTips();
  // Asks each shown group in turn; without a match or a partial one the
  // display ends and the system beeps.
  bool MatchToolBarKeyTip(const rtl::AnsiString& Text);
  bool ToolBarKeyTipsShowing() const { return toolBarKeyTips_; }
  // The text typed so far while the groups' key tips show; a letter or
  // digit typed on a group's glow button is matched through this.
  const rtl::AnsiString& ToolBarKeyTipText() const { return toolBarKeyTipText_; }
  bool TypeToolBarKeyTip(char Ch);
  // Appends without matching (a collapsed group's popup matches itself).
  const rtl::AnsiString& AppendToolBarKeyTip(char Ch) { return toolBarKeyTipText_ += Ch; }

  // --- the minimised ribbon's twin (RorIvezEviMinimize) ---
  // The page shown in the minimised ribbon's popup, holding this page's
  // toolbars while it lives; on the twin, the page it stands for.
  TLumPage* Twin() const { return twin_; }
  TLumPage* TwinOf() const { return twinOf_; }
  void CreateTwin(vcl::TWinControl* Window);
  void DestroyTwin();
  // The pager a twin belongs to without being in its list.
  TRorIvezEviPager* OwnerPager() const { return pager_ ? pager_ : ownerPager_; }

 protected:
  void Paint() override;
  void Dispatch(vcl::TMessage& Message) override;
  void Loaded() override;
  void Resize() override;

 public:
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Set by the pager's list only.
  void AttachPager(TRorIvezEviPager* Pager) { pager_ = Pager; }

  // The tab's fade: hot and selected amounts 0 to 100, moved by FadeStep
  // (+20 or -20) on a timer at the glow fade interval that exists only
  // while a fade runs. Mode 0 hot fade, 1 selected fade, 2 idle.
  void StartFade(int Step, int Mode);
  int HotFade() const { return hotFade_; }
  int SelectedFade() const { return selectedFade_; }
  int FadeMode() const { return fadeMode_; }
  vcl::TTimer* FadeTimer() const { return fadeTimer_; }

  // The tab's place on the strip and its content widths (now and
  // unsqueezed), kept by the pager's tab layout.
  int TabLeft = 0;
  int ContentWidth = 0;
  int NaturalWidth = 0;

 private:
  // The shrinking passes; fitting also takes a larger step of the same
  // kind while the chosen one would not close the gap.
  void ReduceToolBars(bool Fitting);
  TRorIvezEviPager* pager_ = nullptr;
  void TabsChanged();
  rtl::WideString wideCaption_;
  std::unique_ptr<controls::TLumHintInfo> officeHint_ = std::make_unique<controls::TLumHintInfo>();
  rtl::AnsiString shortCutHint_;
  controls::TShortCutHintPos shortCutHintPos_ = controls::TShortCutHintPos::shpBottom;
  bool tabVisible_ = true;
  bool tabEnabled_ = true;
  int imageIndex_ = -1;
  rtl::AnsiString tabHint_;
  bool settingParent_ = false;
  void FadeTick();
  controls::TShortCutHintWindow* tabKeyTip_ = nullptr;
  bool toolBarKeyTips_ = false;
  rtl::AnsiString toolBarKeyTipText_;
  TLumPage* twin_ = nullptr;
  TLumPage* twinOf_ = nullptr;
  TRorIvezEviPager* ownerPager_ = nullptr;
  bool savedAutoPosition_ = true;
  // The shown toolbars ordered by Left (each once), as the sizing sees
  // them.
  std::vector<TLumCustomToolBar*> ShownToolBars() const;
  bool SizeCandidate(const TLumCustomToolBar* ToolBar) const;
  bool Designing() const { return ComponentState().Contains(vcl::csDesigning); }
  void MoveToolBars(int Dx);
  void ForgetToolBar(vcl::TControl* Control);
  TLumPageScrollButton* ToolBarScrollButton(bool Right);
  std::vector<TLumCustomToolBar*> toolBars_;
  bool autoPosition_ = true;
  bool arranging_ = false;
  bool movingToolBars_ = false;
  int oldWidth_ = 0;
  int firstToolBar_ = 0;
  TRIETabScroller toolBarScroller_;
  TLumPageScrollButton* leftToolBarButton_ = nullptr;
  TLumPageScrollButton* rightToolBarButton_ = nullptr;
  vcl::TTimer* fadeTimer_ = nullptr;
  int fadeStep_ = 0, hotFade_ = 0, selectedFade_ = 0, fadeMode_ = 2;
};

class TRorIvezEviPager : public vcl::TCustomControl, public IRorIvezEviStylerClient {
 public:
  explicit TRorIvezEviPager(vcl::TComponent* AOwner);
  ~TRorIvezEviPager() override;

  // --- the page list ---
  int AddPage(TLumPage* Page);
  void RemovePage(TLumPage* Page);
  // Raises "Index out of bounds in list read access" outside the list.
  TLumPage* GetPageByIndex(int Index) const;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  int GetActivePageIndex() const { return activePageIndex_; }
  TLumPage* ActivePage() const;
  void SetActivePage(TLumPage* Page);
  void SetActivePageIndex(int Index);
  // The activation protocol: OnChanging may refuse; the old page hides,
  // the new one shows; OnChange.
  void ChangeActivePage(int Index);
  // Cyclically to the next (or previous) page whose tab is visible and
  // enabled.
  void SelectNextPage(bool Forward);
  // As SelectNextPage, stopping at the ends (the wheel).
  void SelectPreviousTab();
  void SelectFollowingTab();
  void MovePage(int FromIndex, int ToIndex);
  void UpdatePageBounds(TLumPage* Page);
  void UpdatePages();

  // --- geometry ---
  // None when the caption is hidden.
  vcl::TRect GetCaptionRect() const;
  vcl::TRect GetTabsArea() const;
  vcl::TRect GetPageRect() const;

  // --- tab layout ---
  vcl::TRect GetTabsRect() const;
  vcl::TRect GetHelpButtonRect() const;
  // None unless Index names a page whose tab is visible.
  vcl::TRect GetTabRect(int Index) const;
  int TabAtPos(int X, int Y) const;
  int TabGroupOfPage(int Index) const;
  vcl::TRect GetTabGroupRect(int Group, bool& LeftEdge, bool& RightEdge) const;
  int TabGroupAtPos(int X, int Y) const;
  // The natural width of a tab with its margins; ContentWidth without.
  int MeasureTab(int Index, int& ContentWidth);
  int TabWidth(int Index) const;
  void InitTabWidths();
  int TotalTabWidth(int From, int To) const;
  void ArrangeTabs();
  void ShiftTabs(int From, int To);
  // Squeezes spacing, margins, then the widest tabs (5 pixels a step,
  // never below 24) into the strip, and widens them back when room
  // returns; nothing before Loaded.
  void FitTabs();
  void ResetTabScroll();
  int TabsFitting(int Index, bool Forward, int& Last) const;
  int FirstVisibleTab() const;
  int LastVisibleTab() const;
  int VisibleTabCount(int From, int To) const;
  bool ShowTabSeparator(int Index) const;
  // The scroll buttons at the strip's ends while tabs do not fit.
  void UpdateTabScrollButtons();
  void ScrollTabsTo(int Index);
  // Answers the count used.
  int ScrollTabs(int Count);
  int FirstShownTab() const { return firstTab_; }
  const TRIETabScroller& TabScroller() const { return scroller_; }
  TLumPageScrollButton* LeftScrollButton() const { return leftButton_; }
  TLumPageScrollButton* RightScrollButton() const { return rightButton_; }
  int CurrentSpacing() const { return spacing_; }
  int CurrentMargin(bool Grouped, bool Left) const;

  // --- settings ---
  controls::TAntiAlias AntiAlias() const { return antiAlias_; }
  void SetAntiAlias(controls::TAntiAlias Value);
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* Value);
  vcl::TImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(vcl::TImageList* Value);
  bool ShowHelpButton() const { return showHelpButton_; }
  void SetShowHelpButton(bool Value);
  bool AutoMDIButtons() const { return autoMDIButtons_; }
  void SetAutoMDIButtons(bool Value);
  TTabGroups* TabGroups() { return &tabGroups_; }
  TLumPageCaption* PageCaption() { return &caption_; }
  TRIETabSettings* TabSettings() { return &tabSettings_; }
  int PageLeftMargin() const { return pageLeftMargin_; }
  void SetPageLeftMargin(int Value);
  int PageRightMargin() const { return pageRightMargin_; }
  void SetPageRightMargin(int Value);
  rtl::AnsiString Version() const { return VersionText(kPagerVersionNumber); }
  void SetVersion(const rtl::AnsiString&) {}
  // Dragging the form by the caption bar.
  bool CanMove() const { return canMove_; }
  void SetCanMove(bool Value) { canMove_ = Value; }
  bool HidePagesOnDblClick() const { return hidePagesOnDblClick_; }
  void SetHidePagesOnDblClick(bool Value) { hidePagesOnDblClick_ = Value; }
  const TCaptionButtons& CaptionButtons() const { return captionButtons_; }
  void SetCaptionButtons(const TCaptionButtons& Value);
  // The unit-wide scenic look: the styler-change refresh with code 11, then
  // the pager one pixel wider and back so everything lays out again.
  bool Win7ScenicRibbon() const { return controls::GetGlobalWin7ScenicRibbon(); }
  void SetWin7ScenicRibbon(bool Value);
  controls::TLumHintInfo* OfficeHint() const { return officeHint_.get(); }
  void SetOfficeHint(const controls::TLumHintInfo* Value) { officeHint_->Assign(Value); }
  TPersistence* Persistence() const { return persistence_.get(); }
  void SetPersistence(const TPersistence* Value) { persistence_->Assign(Value); }
  // The pictures of the groups' caption option buttons, by default the
  // unit's "OPTIONIND_PIC" and "OPTIONIND_PICD"; a change repaints the
  // pager, the active page and its toolbars.
  controls::TGDIPPicture* OptionPicture() const { return optionPicture_.get(); }
  void SetOptionPicture(const controls::TGDIPPicture* Value) { optionPicture_->Assign(Value); }
  controls::TGDIPPicture* OptionDisabledPicture() const { return optionDisabledPicture_.get(); }
  void SetOptionDisabledPicture(const controls::TGDIPPicture* Value) { optionDisabledPicture_->Assign(Value); }
  // The help button at the tab row's right end while ShowHelpButton holds;
  // its click fires OnHelpClick.
  controls::TLumGlowButton* HelpButton() const { return helpButton_; }
  void UpdateHelpButton();
  // Invalidates one tab, or the whole tab area for an index out of range.
  void InvalidateTab(int Index);

  // --- the caption bar (RorIvezEviCaption) ---
  // The caption buttons created, placed at the caption's right end and
  // shown as CaptionButtons asks (Rebuild draws their glyphs again), or
  // freed while the caption is hidden or the set empty.
  void UpdateCaptionButtons(bool Rebuild);
  // None unless the caption shows with buttons: from the minimise button's
  // left to the close button's right.
  vcl::TRect GetCaptionButtonsRect();
  controls::TLumGlowButton* CloseButton() const { return closeButton_; }
  controls::TLumGlowButton* MinimizeButton() const { return minButton_; }
  controls::TLumGlowButton* MaximizeButton() const { return maxButton_; }

  // --- key tips (RorIvezEviKeyTips) ---
  // Every tab's key tip (and the quick access toolbar's); the pager takes
  // the mouse capture while they show.
  void ShowKeyTips();
  void HideKeyTips(bool AlsoPageToolBars);
  bool KeyTipMode() const { return keyTipMode_; }
  const rtl::AnsiString& KeyTipText() const { return keyTipText_; }
  bool AltArmed() const { return altArmed_; }
  // The 50 ms poll that shows the key tips when Alt or F10 is released or
  // Alt has been held for 700 ms.
  vcl::TTimer* KeyTipTimer() const { return keyTipTimer_; }
  // The tabs' key-tip windows, an entry for each that exists.
  const std::vector<controls::TShortCutHintWindow*>& KeyTipWindows() const { return keyTipWindows_; }
  void AddKeyTipWindow(controls::TShortCutHintWindow* Window) { keyTipWindows_.push_back(Window); }
  void RemoveKeyTipWindow(controls::TShortCutHintWindow* Window);
  // After a command run from a key tip: the focus goes back to the window
  // that had it when Alt was pressed.
  void RestoreKeyTipFocus();
  // A group's compact window closed (its compact button on the page): the
  // click that closed it goes on to the compact button under the mouse.
  void CompactWindowClosed(controls::TLumGlowButton* Button);
  void SetSkipCompactChain(bool Value) { skipCompactChain_ = Value; }
  // The focus came to the pager from a group (Escape or Up on it).
  bool FocusFromGroup() const { return focusFromGroup_; }
  void SetFocusFromGroup(bool Value) { focusFromGroup_ = Value; }
  // The pager holding the process's Ctrl+F1 hook, or none.
  static TRorIvezEviPager* KeyHookPager();

  // --- minimised ribbon (RorIvezEviMinimize) ---
  // Down to the caption and tab rows, and back.
  void Collapse();
  void Expand();
  bool IsExpanded() const { return expanded_; }
  int SavedExpandedHeight() const { return expandedHeight_; }
  // The window the active page's twin shows in while minimised.
  void CreatePopup();
  void ShowPopup();
  void HidePopup();
  void DestroyPopup();
  bool IsPopupShowing() const;
  TMinimizedRibbonWindow* MinimizedPopup() const { return popup_; }
  vcl::TTimer* DblClickTimer() const { return dblClickTimer_; }
  int ClickCount() const { return clickCount_; }
  void SavePersistence();
  void LoadPersistence();

  // --- the quick access toolbar (RorIvezEviPagerQAT) ---
  // The child that implements IQuickAccessToolBar, or none.
  IQuickAccessToolBar* QuickAccessToolBar() const { return qat_; }
  // Its place: the band below the ribbon, or the bottom of the caption bar
  // up to the caption's minimum width and the caption buttons; none
  // without a toolbar or, in the caption bar, with the caption hidden.
  vcl::TRect GetQATRect() const;
  // The toolbar exists, is visible and sits below the ribbon.
  bool QATBelow() const;
  // The strip kept for it at the bottom while QATBelow, else 0.
  int QATBelowHeight() const;
  void SetQATBelow(bool Value);
  // The toolbar's visibility changed: the strip follows it.
  void AdjustForQATVisibility();

  // --- styler ---
  TCustomRorIvezEviStyler* InternalStyler() const { return internalStyler_; }
  TCustomRorIvezEviStyler* CurrentStyler() const { return toolBarStyler_ ? toolBarStyler_ : internalStyler_; }
  TStylerClientKind StylerClientKind() const override { return TStylerClientKind::sckPager; }
  void StylerChanged(int Code) override;
  TCustomRorIvezEviStyler* ToolBarStyler() const override { return toolBarStyler_; }
  void SetToolBarStyler(TCustomRorIvezEviStyler* Value) override;

  // Refuses a dock panel, a toolbar, a pager or a page: "Invalid Parent".
  void SetParent(vcl::TWinControl* AParent) override;

  // --- input ---
  int HotTab() const { return hotTab_; }
  int PressedTab() const { return pressedTab_; }
  bool EnableWheel() const { return enableWheel_; }
  void SetEnableWheel(bool Value) { enableWheel_ = Value; }
  bool ShowNonSelectedTabs() const { return showNonSelectedTabs_; }
  void SetShowNonSelectedTabs(bool Value) {
    showNonSelectedTabs_ = Value;
    Invalidate();
  }
  bool ShowTabHint() const { return showTabHint_; }
  void SetShowTabHint(bool Value) { showTabHint_ = Value; }

  TPagerChangingEvent OnChanging;
  vcl::TNotifyEvent OnChange;
  std::function<void(vcl::TObject* Sender, int Page)> OnTabClick;
  std::function<void(vcl::TObject* Sender, int TabGroup)> OnTabGroupClick;
  std::function<void(vcl::TObject* Sender, int Page)> OnTabDblClick;
  vcl::TNotifyEvent OnHelpClick;
  vcl::TNotifyEvent OnCloseButtonClick;
  vcl::TNotifyEvent OnMinButtonClick;
  vcl::TNotifyEvent OnMaxButtonClick;
  vcl::TNotifyEvent OnExpand;
  vcl::TNotifyEvent OnCollaps;
  vcl::TNotifyEvent OnMouseEnter;
  vcl::TNotifyEvent OnMouseLeave;

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Resize() override;
  void Loaded() override;
  void Paint() override;
  // The tab row's background, then each tab in its state.
  void DrawTabArea(vcl::TCanvas* C);
  void DrawTab(vcl::TCanvas* C, int Index);
  // Each tab group's band above its tabs (caption, image, edges) and its
  // edges down the tab row.
  void DrawTabGroups(vcl::TCanvas* C);
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
  void Dispatch(vcl::TMessage& Message) override;
  // The canvas tabs are measured on (the pager's own).
  virtual vcl::TCanvas* TabMeasureCanvas() { return Canvas(); }
  bool loadedFlag_ = false;

 private:
  bool TabVisibleAt(int Index) const { return pages_[Index]->TabVisible(); }
  bool Grouped(int Index) const { return TabGroupOfPage(Index) != -1; }
  int StripExcess() const;
  void HookForm();
  void UnhookForm();
  bool HandleFormWheel(vcl::TMessage& Message);
  void HintShow(vcl::TMessage& Message);
  void KeyDownMessage(vcl::TMessage& Message);
  bool InTabsArea(int X, int Y) const;
  int hotTab_ = -1, pressedTab_ = -1, lastHotTab_ = -1, hintTab_ = -1;
  bool pageChanged_ = false;
  bool enableWheel_ = true;
  bool showTabHint_ = false;
  bool showNonSelectedTabs_ = false;
  vcl::TCustomForm* hookedForm_ = nullptr;
  int formHook_ = 0;
  int PageIndexOf(const TLumPage* Page) const;
  bool Selectable(int Index) const;
  // The active index names a shown page of the list, or -1 for none.
  void KeepActivePageShown(int Noted);

  std::vector<TLumPage*> pages_;
  int activePageIndex_ = -1;
  TCustomRorIvezEviStyler* internalStyler_ = nullptr;
  TCustomRorIvezEviStyler* toolBarStyler_ = nullptr;
  TLumPageCaption caption_;
  TRIETabSettings tabSettings_;
  int pageLeftMargin_ = 0, pageRightMargin_ = 0;
  controls::TAntiAlias antiAlias_ = controls::aaClearType;
  vcl::TImageList* images_ = nullptr;
  vcl::TImageList* disabledImages_ = nullptr;
  bool showHelpButton_ = true;
  bool autoMDIButtons_ = false;
  TTabGroups tabGroups_{nullptr};
  int spacing_ = 4;
  int marginLeft_ = 4, marginRight_ = 4, groupMarginLeft_ = 4, groupMarginRight_ = 4;
  int firstTab_ = 0;
  TRIETabScroller scroller_;
  TLumPageScrollButton* leftButton_ = nullptr;
  TLumPageScrollButton* rightButton_ = nullptr;
  TLumPageScrollButton* ScrollButton(bool Right);
  void OptionPicturesChanged();
  void InitParts();
  bool canMove_ = true;
  bool hidePagesOnDblClick_ = true;
  TCaptionButtons captionButtons_{cbClose, cbMinimize, cbMaximize};
  std::unique_ptr<controls::TLumHintInfo> officeHint_;
  std::unique_ptr<TPersistence> persistence_;
  std::unique_ptr<controls::TGDIPPicture> optionPicture_;
  std::unique_ptr<controls::TGDIPPicture> optionDisabledPicture_;
  controls::TLumGlowButton* helpButton_ = nullptr;
  // The quick access toolbar and the same object as a control (compared by
  // address when it leaves, as it may be half destroyed by then).
  void QATControlChange(vcl::TControl* Control, bool Inserted);
  void QATStylerChanged(int Code);
  void PlaceQAT();
  // The caption bar.
  void DrawCaption(vcl::TCanvas* C);
  // A press on the caption bar (the system menu, the form's move): True
  // when it was one.
  bool CaptionMouseDown(vcl::TMouseButton Button, int X, int Y);
  void CaptionDblClick(int X, int Y);
  void ToggleFormMaximized();
  controls::TLumGlowButton* MakeCaptionButton();
  controls::TLumGlowButton* closeButton_ = nullptr;
  controls::TLumGlowButton* minButton_ = nullptr;
  controls::TLumGlowButton* maxButton_ = nullptr;
  int savedRightIndent_ = 0;
  // The form's window state the caption buttons were last drawn for.
  int paintedState_ = 0;
  // Key tips.
  void DialogKey(vcl::TMessage& Message);
  void KeyTipTick();
  void ShowKeyTipsFromTimer();
  void TypeKeyTip(vcl::Word Key);
  void InstallKeyHook();
  void RemoveKeyHook();
  void CheckHookKey(vcl::Word Key);
  bool keyTipMode_ = false;
  bool altArmed_ = false;
  bool altHeld_ = false;
  int altElapsed_ = 0;
  rtl::AnsiString keyTipText_;
  vcl::TTimer* keyTipTimer_ = nullptr;
  vcl::TWinControl* keyTipFocus_ = nullptr;
  std::vector<controls::TShortCutHintWindow*> keyTipWindows_;
  bool skipCompactChain_ = false;
  bool focusFromGroup_ = false;
  // The minimised ribbon.
  void DblClickRule(bool OverActiveTab);
  bool expanded_ = true;
  int expandedHeight_ = 0;
  vcl::TTimer* dblClickTimer_ = nullptr;
  int clickCount_ = 0;
  TMinimizedRibbonWindow* popup_ = nullptr;
  IQuickAccessToolBar* qat_ = nullptr;
  vcl::TControl* qatControl_ = nullptr;
  bool qatShown_ = false;
};

}  // namespace ribbon
