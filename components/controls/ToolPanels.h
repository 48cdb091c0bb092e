#pragma once
// The sliding tool panels: the tab strip docked to one edge of a form
// (TLumToolPanelTab), the panels it slides out, pins and hides
// (TLumToolPanel), the borderless host form the right and bottom strips show
// their open panel in, and the floating window a panel dragged off its
// strip lives in.
#include <functional>
#include <memory>

#include "controls/LumMenuUtil.h"
#include "controls/LumStyleIF.h"
#include "controls/ToolPanelDrawing.h"
#include "controls/ToolPanelLayout.h"
#include "rtl/Collection.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"

namespace controls {

class TLumToolPanel;
class TLumToolPanelTab;

namespace toolpanels {
// Non-client hit-test answers of the sizing borders.
inline constexpr vcl::Integer kHitLeft = 10;
inline constexpr vcl::Integer kHitRight = 11;
inline constexpr vcl::Integer kHitTop = 12;
inline constexpr vcl::Integer kHitBottom = 15;
// The strip's auto-open and auto-close timer.
inline constexpr uintptr_t kStripTimerId = 500;

// Sizing a window by dragging the border its WM_NCHITTEST answers: a left
// press there starts it (WM_ENTERSIZEMOVE), moves size the window, the
// release ends it (WM_EXITSIZEMOVE). The messages are the window's own;
// Handle answers whether it took the message.
class TBorderSizer {
 public:
  bool Handle(vcl::TWinControl* window, vcl::TMessage& message);
  bool Sizing() const { return hit_ != 0; }

 private:
  vcl::Integer hit_ = 0;
  vcl::TPoint start_;  // screen
  vcl::TRect bounds_;  // the window's bounds when the press came
};
}  // namespace toolpanels

// Where a panel's background picture sits. Scoped: the menu kit's
// TBackgroundPosition uses the same names.
enum class TTPBackGroundPosition : uint8_t { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };

using TTabEvent = std::function<void(vcl::TObject* Sender, vcl::Integer Index, TLumToolPanel* APanel)>;
using TAllowTabEvent =
    std::function<void(vcl::TObject* Sender, vcl::Integer Index, TLumToolPanel* APanel, bool& Allow)>;
using TOnCaptionButtonClick = std::function<void(vcl::TObject* Sender, vcl::TRect ButtonRect)>;

// One panel of a strip's list: the copies of the panel's caption, image
// and open width the tabs are drawn and opened with.
class TToolPanel : public rtl::TCollectionItem {
 public:
  explicit TToolPanel(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
  void Assign(const TToolPanel& source);

  vcl::Integer Tag = 0;
  TLumToolPanel* Panel = nullptr;  // not owned
  vcl::AnsiString Caption;
  bool Visible = false;
  vcl::Integer ImageIndex = -1;
  TPanelState State = psClosed;
  vcl::Integer OpenWidth() const { return openWidth_; }
  // Values of 0 and below are ignored.
  void SetOpenWidth(vcl::Integer v) {
    if (v > 0) openWidth_ = v;
  }

 private:
  vcl::Integer openWidth_ = 0;
};

class TToolPanels : public rtl::TCollectionOf<TToolPanel> {};

// Where and when a strip keeps its layout.
class TPanelPersistence : public vcl::TPersistent {
 public:
  void Assign(const vcl::TPersistent* source) override;
  bool AutoSave = false;
  bool AutoLoad = false;
  vcl::AnsiString INIFile;
  TPanelPersistLocation Location = pplINIFile;
  vcl::AnsiString RegistryUserKey;
};

// Custom button images for every panel of a strip; panels read them when
// they paint.
class TToolPanelGlyphs : public vcl::TPersistent {
 public:
  TToolPanelGlyphs();
  void Assign(const vcl::TPersistent* source) override;
  enum TGlyph {
    CloseNormal, CloseDown, CloseHot, LockNormal, LockDown, LockHot, UnLockNormal, UnLockDown, UnLockHot, GlyphCount
  };
  vcl::TBitmap* Glyph(TGlyph g) const { return glyphs_[g].get(); }
  // Copies the image and fires OnChange.
  void SetGlyph(TGlyph g, vcl::TBitmap* value);
  vcl::TBitmap* CloseGlyphNormal() const { return Glyph(CloseNormal); }
  vcl::TBitmap* LockGlyphNormal() const { return Glyph(LockNormal); }
  vcl::TNotifyEvent OnChange;

 private:
  std::unique_ptr<vcl::TBitmap> glyphs_[GlyphCount];
};

// --- sections ---

enum TSectionCorners : uint8_t { scRectangle, scRoundLeft, scRoundRight, scRoundLeftRight };
using TOnItemClick = std::function<void(vcl::TObject* Sender, vcl::Integer SectionIndex, vcl::Integer ItemIndex)>;
using TNodeExpandEvent = std::function<void(vcl::TObject* Sender, vcl::Integer SectionIndex)>;

class TSectionItems;

// One link-like item of a section.
class TSectionItem : public rtl::TCollectionItem {
 public:
  explicit TSectionItem(rtl::TCollection* collection);
  ~TSectionItem() override;
  void Assign(const TSectionItem& source);
  rtl::AnsiString DisplayName() const override;

  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v);
  const vcl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const vcl::AnsiString& v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  vcl::AnsiString Hint;
  vcl::Integer Tag = 0;
  vcl::Integer Data = 0;  // copied by assignment only

 private:
  TSectionItems* Items() const;
  vcl::Integer imageIndex_ = -1;
  vcl::AnsiString caption_ = "Untitled";
  bool enabled_ = true;
};

class TLumToolPanelSection;

class TSectionItems : public rtl::TCollectionOf<TSectionItem> {
 public:
  explicit TSectionItems(TLumToolPanel* panel) : panel_(panel) {}
  ~TSectionItems() override;
  TLumToolPanel* Panel() const { return panel_; }
  TLumToolPanelSection* Section = nullptr;  // the section holding the items
  // Set by the section: an item was created or is being destroyed.
  std::function<void()> OnItemAdded;
  std::function<void()> OnItemRemoved;

 protected:
  void Notify(rtl::TCollectionItem* item, bool added) override;

 private:
  TLumToolPanel* panel_;
};

// One section of a panel: a caption, optionally with an image and an
// expand box, over a body listing its items.
class TLumToolPanelSection : public rtl::TCollectionItem {
 public:
  explicit TLumToolPanelSection(rtl::TCollection* collection);
  ~TLumToolPanelSection() override;
  void Assign(const TLumToolPanelSection& source);
  rtl::AnsiString DisplayName() const override;

  vcl::Integer Height() const { return height_; }
  void SetHeight(vcl::Integer v);
  vcl::Integer ExpandedHeight() const { return expandedHeight_; }
  const vcl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const vcl::AnsiString& v);
  TSectionItems* SectionItems() const { return items_.get(); }
  vcl::Integer CaptionImageIndex() const { return captionImageIndex_; }
  void SetCaptionImageIndex(vcl::Integer v);
  bool Node() const { return node_; }
  void SetNode(bool v);
  bool Expanded() const { return expanded_; }
  bool Draw() const { return draw_; }
  void SetDraw(bool v);
  bool Autosize() const { return autosize_; }
  void SetAutosize(bool v);
  vcl::Integer ItemHeight() const { return itemHeight_; }

 private:
  friend class TLumToolPanel;
  TLumToolPanel* Panel() const;
  void Repaint() const;
  void SetHeightInternal(vcl::Integer v);
  vcl::Integer height_ = 48;
  vcl::Integer expandedHeight_ = 48;
  vcl::AnsiString caption_ = "Untitled";
  std::unique_ptr<TSectionItems> items_;
  vcl::Integer captionImageIndex_ = -1;
  bool node_ = false;
  bool expanded_ = true;
  bool draw_ = true;
  bool autosize_ = false;
  vcl::Integer itemHeight_ = 0;
  bool internalHeight_ = false;
  std::vector<vcl::TControl*> hiddenControls_;  // not owned
};

class TLumToolPanelSections : public rtl::TCollectionOf<TLumToolPanelSection> {
 public:
  explicit TLumToolPanelSections(TLumToolPanel* panel) : panel_(panel) {}
  ~TLumToolPanelSections() override { Clear(); }
  TLumToolPanel* Panel() const { return panel_; }

 private:
  TLumToolPanel* panel_;
};

// The look all sections of a panel share; every setter fires OnChange.
class TSectionLayout : public vcl::TPersistent {
 public:
  void Assign(const vcl::TPersistent* source) override;
#define TOOLPANEL_SECTION_FIELD(type, name, initial)    \
  type name() const { return name##_; }                 \
  void Set##name(type v) {                              \
    name##_ = v;                                        \
    Changed();                                          \
  }                                                     \
                                                        \
 private:                                               \
  type name##_ = initial;                               \
                                                        \
 public:
  TOOLPANEL_SECTION_FIELD(vcl::TColor, CaptionColor, 0xF7DEC6)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, CaptionColorTo, 0xD68C63)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, BackGroundColor, 0xF7EFDE)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, BackGroundColorTo, 0xF7D6BD)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, BorderColor, 0xFFFFFF)
  TOOLPANEL_SECTION_FIELD(vcl::Integer, BorderWidth, 1)
  TOOLPANEL_SECTION_FIELD(TGradientDirection, BackGroundGradientDir, gdVertical)
  TOOLPANEL_SECTION_FIELD(TGradientDirection, CaptionGradientDir, gdHorizontal)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, ItemFontColor, 0xB53900)
  TOOLPANEL_SECTION_FIELD(bool, UnderLineCaption, false)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, ItemHoverTextColor, 0xB53900)
  TOOLPANEL_SECTION_FIELD(bool, ItemHoverUnderline, true)
  TOOLPANEL_SECTION_FIELD(vcl::TColor, CaptionFontColor, 0x842900)
  TOOLPANEL_SECTION_FIELD(vcl::Integer, Spacing, 4)
  TOOLPANEL_SECTION_FIELD(vcl::Integer, Indent, 4)
  TOOLPANEL_SECTION_FIELD(bool, CaptionRounded, false)
  TOOLPANEL_SECTION_FIELD(TSectionCorners, Corners, scRectangle)
#undef TOOLPANEL_SECTION_FIELD
  vcl::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
};

// The borderless top-level window a right or bottom strip shows its open
// panel in; while a sizable panel is open its edge toward the form's
// content is a sizing border.
class TToolPanelForm : public vcl::TForm {
 public:
  TToolPanelForm(vcl::TComponent* owner, TLumToolPanelTab* strip);
  void Dispatch(vcl::TMessage& message) override;

 private:
  TLumToolPanelTab* strip_;
  toolpanels::TBorderSizer sizer_;
};

// The window a panel dragged off its strip floats in: a small tool window
// holding the panel client-aligned.
class TToolPanelFloatForm : public vcl::TForm {
 public:
  explicit TToolPanelFloatForm(vcl::TComponent* owner);
  TLumToolPanel* Client() const;
};

class TLumToolPanelTab : public vcl::TCustomPanel, public IStyleAware {
 public:
  explicit TLumToolPanelTab(vcl::TComponent* AOwner);
  ~TLumToolPanelTab() override;
  void SetComponentStyle(REZORuvar AStyle) override;

  // --- published settings ---
  bool AutoDock() const { return autoDock_; }
  void SetAutoDock(bool v) { autoDock_ = v; }
  TAutoOpenCloseSpeed AutoOpenCloseSpeed() const { return autoOpenCloseSpeed_; }
  void SetAutoOpenCloseSpeed(TAutoOpenCloseSpeed v) { autoOpenCloseSpeed_ = v; }
  bool AutoOpenOnMouseEnter() const { return autoOpenOnMouseEnter_; }
  void SetAutoOpenOnMouseEnter(bool v) { autoOpenOnMouseEnter_ = v; }
  bool AutoThemeAdapt() const { return autoThemeAdapt_; }
  void SetAutoThemeAdapt(bool v) { autoThemeAdapt_ = v; }
  vcl::TColor ColorTo() const { return colorTo_; }
  void SetColorTo(vcl::TColor v);
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* v);
  TToolPanelGlyphs* PanelGlyphs() const { return panelGlyphs_.get(); }
  TPanelPersistence* Persist() const { return persist_.get(); }
  TPanelPosition Position() const { return position_; }
  void SetPosition(TPanelPosition v);
  TSlideSpeed SlideSpeed() const { return slideSpeed_; }
  void SetSlideSpeed(TSlideSpeed v) { slideSpeed_ = v; }
  TToolPanelStyle Style() const { return style_; }
  void SetStyle(TToolPanelStyle v);
  vcl::TColor TabBorderColor() const { return tabBorderColor_; }
  void SetTabBorderColor(vcl::TColor v);
  vcl::TColor TabColor() const { return tabColor_; }
  void SetTabColor(vcl::TColor v);
  vcl::TColor TabColorTo() const { return tabColorTo_; }
  void SetTabColorTo(vcl::TColor v);
  vcl::TColor TabHoverColor() const { return tabHoverColor_; }
  void SetTabHoverColor(vcl::TColor v) { tabHoverColor_ = v; }
  vcl::TColor TabHoverColorTo() const { return tabHoverColorTo_; }
  void SetTabHoverColorTo(vcl::TColor v) { tabHoverColorTo_ = v; }
  vcl::Integer TabWidth() const { return tabWidth_; }
  void SetTabWidth(vcl::Integer v);
  vcl::TBitmap* TabGlyph() const { return tabGlyph_.get(); }
  void SetTabGlyph(vcl::TBitmap* v);
  vcl::AnsiString Version() const { return "1.5.1.0"; }
  void SetVersion(const vcl::AnsiString&) {}

  TTabEvent OnTabEnter;
  TTabEvent OnTabLeave;
  TTabEvent OnTabLeftClick;
  TTabEvent OnTabRightClick;
  TTabEvent OnTabSlideOut;
  TTabEvent OnTabSlideOutDone;
  TTabEvent OnTabSlideIn;
  TTabEvent OnTabSlideInDone;
  TAllowTabEvent OnAllowTabHide;
  TTabEvent OnTabHide;

  // --- the panel list ---
  TToolPanels* Panels() const { return panels_.get(); }
  void AddPanel(TLumToolPanel* panel);
  void RemovePanel(TLumToolPanel* panel);
  void PanelChanged(TLumToolPanel* panel);
  vcl::Integer PanelIndex(const TLumToolPanel* panel) const;
  TLumToolPanel* PanelByName(const vcl::AnsiString& name) const;
  vcl::Integer VisibleTabCount() const;

  // --- tabs ---
  vcl::Integer TabsLength();
  vcl::Integer TabAtPos(vcl::Integer x, vcl::Integer y);
  void UpdateTabs(vcl::Integer activeIndex);
  void ThemeAdapt();
  // The tabs as laid out now (with the scroll offset), for painting and
  // hit-testing.
  std::vector<toolpanels::TTabSpan> TabSpans();
  vcl::Integer ScrollOffset() const { return scrollOffset_; }
  vcl::Integer HotTab() const { return hotTab_; }

  // --- moving panels ---
  void OpenPanel(TLumToolPanel* panel);
  vcl::Integer OpenTab(vcl::Integer index);
  void SlidePanelOut(TLumToolPanel* panel);
  void SlidePanelIn(TLumToolPanel* panel);
  void ArrangeLockedPanel(TLumToolPanel* panel);
  void ResetAutoClose() { autoCloseCount_ = 0; }
  void SetAutoCloseEnabled(bool v) { autoCloseEnabled_ = v; }
  vcl::Integer OpenIndex() const { return openIndex_; }
  TToolPanelForm* HostForm() const { return hostForm_; }
  void HookParentForm();
  void UnhookParentForm();
  bool Hooked() const { return hookId_ != 0; }

  // --- the stored layout ---
  void SavePanelLayout();
  void LoadPanelLayout();
  void SavePanelsToIni();
  void SavePanelsToRegistry();
  bool LoadPanelsFromIni();
  bool LoadPanelsFromRegistry();
  bool LayoutLoaded() const { return layoutLoaded_; }

  // --- docking ---
  // A tool panel dragged over the strip (client coordinates): answers
  // whether the strip takes it, and keeps the preview rectangle shown.
  bool DockOver(TLumToolPanel* panel, vcl::Integer x, vcl::Integer y, vcl::TDragState state);
  // Takes a dropped panel over and pins it beside the strip.
  void DockDrop(TLumToolPanel* panel, vcl::Integer x, vcl::Integer y);
  // The preview of the last accepted drag over, in screen coordinates.
  const vcl::TRect& DockPreviewRect() const { return dockPreview_; }
  vcl::TDragOverEvent OnDockOver;
  vcl::TDragDropEvent OnDockDrop;

  void SetBounds(vcl::Integer left, vcl::Integer top, vcl::Integer width, vcl::Integer height) override;
  void WndProc(vcl::TMessage& message) override;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Loaded() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void Paint() override;
  void Resize() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  // The canvas tabs are measured on; null: the strip's own. Tests measure
  // with fixed metrics.
  virtual vcl::TCanvas* MeasuringCanvas() { return nullptr; }

 private:
  friend class TLumToolPanel;
  friend class TToolPanelForm;
  vcl::TCanvas* TabCanvas();
  // Each panel's tab length, -1 for one without a tab.
  std::vector<vcl::Integer> TabLengths();
  void ScrollTabs(vcl::Integer x, vcl::Integer y);
  // A panel of the list is being freed.
  void ForgetPanel(TLumToolPanel* panel);
  void SavePanels(rtl::TCustomIniFile& store);
  bool LoadPanels(rtl::TCustomIniFile& store);
  bool LoadPanelsFrom();
  void ApplyStoredPanel(const TStoredPanelLayout& stored);
  void MouseLeft();
  void Timer();
  void ParentFormWndProc(vcl::TMessage& message, const vcl::TControl::TWndMethod& next);
  void FireTab(const TTabEvent& event, vcl::Integer index);
  // The strip's thickness across its edge.
  void SetThickness(vcl::Integer v);
  vcl::Integer Length() const { return IsVerticalStrip(position_) ? Height() : Width(); }
  void RememberActive();
  void ReactivateParent();
  void PlaceHostForm(bool sizeToStrip);
  void ShowInHostForm(TLumToolPanel* panel, bool reactivate);
  // The host form's size across the edge (0 while hidden or slid in), and
  // setting it with the form's far edge kept at `edge` (screen).
  vcl::Integer HostExtent() const;
  void SetHostExtent(vcl::Integer edge, vcl::Integer extent);
  bool MouseOnOpenPanel(vcl::TPoint cursor);
  void Wait();

  std::unique_ptr<TToolPanels> panels_;
  TToolPanelForm* hostForm_ = nullptr;  // owned (freed with the window)
  bool autoDock_ = true;
  TAutoOpenCloseSpeed autoOpenCloseSpeed_ = aocMedium;
  bool autoOpenOnMouseEnter_ = true;
  bool autoThemeAdapt_ = false;
  vcl::TColor colorTo_ = vcl::clNone;
  vcl::TImageList* images_ = nullptr;
  std::unique_ptr<TToolPanelGlyphs> panelGlyphs_;
  std::unique_ptr<TPanelPersistence> persist_;
  TPanelPosition position_ = ppLeft;
  TSlideSpeed slideSpeed_ = ssMedium;
  TToolPanelStyle style_ = esOffice2003Blue;
  vcl::TColor tabBorderColor_ = 0x808080;
  vcl::TColor tabColor_ = vcl::clBtnFace;
  vcl::TColor tabColorTo_ = vcl::clNone;
  vcl::TColor tabHoverColor_ = vcl::clNone;
  vcl::TColor tabHoverColorTo_ = vcl::clNone;
  vcl::Integer tabWidth_ = 23;
  std::unique_ptr<vcl::TBitmap> tabGlyph_;
  std::unique_ptr<vcl::TBitmap> scrollArrows_;
  std::unique_ptr<vcl::TBitmap> measure_;

  vcl::Integer openIndex_ = -1;
  vcl::Integer hoverCandidate_ = -1;
  vcl::Integer hotTab_ = -1;
  vcl::Integer enteredTab_ = -1;
  vcl::Integer autoOpenCount_ = 0;
  vcl::Integer autoCloseCount_ = 0;
  bool autoCloseEnabled_ = true;
  bool clickBusy_ = false;
  bool animationBusy_ = false;
  bool mouseInside_ = false;
  vcl::TPoint lastMouse_{-1, -1};
  vcl::Integer scrollOffset_ = 0;
  vcl::HWND timerWindow_ = 0;  // the window the timer runs on
  vcl::TCustomForm* hookedForm_ = nullptr;  // its window procedure carries our hook
  vcl::Integer hookId_ = 0;
  bool layoutLoaded_ = false;
  bool windowDestroyed_ = false;
  vcl::TCustomForm* rememberedActive_ = nullptr;
  // False once the strip is gone: a message passing through the form's
  // hook may outlive it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  vcl::TRect dockPreview_;
};

class TLumToolPanel : public vcl::TCustomPanel, public IStyleAware {
 public:
  explicit TLumToolPanel(vcl::TComponent* AOwner);
  ~TLumToolPanel() override;
  void SetComponentStyle(REZORuvar AStyle) override;

  // --- published settings ---
  vcl::Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(vcl::Integer v);
  void SetText(const vcl::AnsiString& s) override;
  vcl::Integer OpenWidth() const { return openWidth_; }
  void SetOpenWidth(vcl::Integer v);
  bool AutoLock() const { return autoLock_; }
  void SetAutoLock(bool v) { autoLock_ = v; }
  bool AllowDocking() const { return allowDocking_; }
  void SetAllowDocking(bool v) { allowDocking_ = v; }
  bool CanSize() const { return canSize_; }
  void SetCanSize(bool v) { canSize_ = v; }
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool v) { Store(showCaption_, v); }
  bool ShowCaptionBorder() const { return showCaptionBorder_; }
  void SetShowCaptionBorder(bool v) { Store(showCaptionBorder_, v); }
  bool ShowClose() const { return showClose_; }
  void SetShowClose(bool v) { Store(showClose_, v); }
  bool ShowLock() const { return showLock_; }
  void SetShowLock(bool v) { Store(showLock_, v); }
  bool CaptionButton() const { return captionButton_; }
  void SetCaptionButton(bool v) { Store(captionButton_, v); }
  bool DockDots() const { return dockDots_; }
  void SetDockDots(bool v) { Store(dockDots_, v); }
  bool Button3D() const { return button3D_; }
  void SetButton3D(bool v) { button3D_ = v; }
  vcl::TColor ColorTo() const { return colorTo_; }
  void SetColorTo(vcl::TColor v) { Store(colorTo_, v); }
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradientDirection v) { Store(gradientDirection_, v); }
  TGradientDirection CaptionGradientDirection() const { return captionGradientDirection_; }
  void SetCaptionGradientDirection(TGradientDirection v) { Store(captionGradientDirection_, v); }
  vcl::TColor FocusCaptionColor() const { return focusCaptionColor_; }
  void SetFocusCaptionColor(vcl::TColor v) { Store(focusCaptionColor_, v); }
  vcl::TColor FocusCaptionColorTo() const { return focusCaptionColorTo_; }
  void SetFocusCaptionColorTo(vcl::TColor v) { Store(focusCaptionColorTo_, v); }
  vcl::TColor FocusCaptionFontColor() const { return focusCaptionFontColor_; }
  void SetFocusCaptionFontColor(vcl::TColor v) { Store(focusCaptionFontColor_, v); }
  vcl::TColor NoFocusCaptionColor() const { return noFocusCaptionColor_; }
  void SetNoFocusCaptionColor(vcl::TColor v) { Store(noFocusCaptionColor_, v); }
  vcl::TColor NoFocusCaptionColorTo() const { return noFocusCaptionColorTo_; }
  void SetNoFocusCaptionColorTo(vcl::TColor v) { Store(noFocusCaptionColorTo_, v); }
  vcl::TColor NoFocusCaptionFontColor() const { return noFocusCaptionFontColor_; }
  void SetNoFocusCaptionFontColor(vcl::TColor v) { Store(noFocusCaptionFontColor_, v); }
  vcl::TColor HoverButtonColor() const { return hoverButtonColor_; }
  void SetHoverButtonColor(vcl::TColor v) { hoverButtonColor_ = v; }
  vcl::TColor HoverButtonColorTo() const { return hoverButtonColorTo_; }
  void SetHoverButtonColorTo(vcl::TColor v) { hoverButtonColorTo_ = v; }
  vcl::TColor DownButtonColor() const { return downButtonColor_; }
  void SetDownButtonColor(vcl::TColor v) { downButtonColor_ = v; }
  vcl::TColor DownButtonColorTo() const { return downButtonColorTo_; }
  void SetDownButtonColorTo(vcl::TColor v) { downButtonColorTo_ = v; }
  vcl::AnsiString CloseHint = "Close panel";
  vcl::AnsiString LockHint = "Lock panel";
  vcl::AnsiString UnlockHint = "Unlock panel";
  vcl::TBitmap* Background() const { return background_.get(); }
  void SetBackground(vcl::TBitmap* v);
  TTPBackGroundPosition BackGroundPosition() const { return backGroundPosition_; }
  void SetBackGroundPosition(TTPBackGroundPosition v) { Store(backGroundPosition_, v); }
  bool BackgroundTransparent() const { return backgroundTransparent_; }
  void SetBackgroundTransparent(bool v) { Store(backgroundTransparent_, v); }
  TToolPanelStyle Style() const { return style_; }
  void SetStyle(TToolPanelStyle v);
  vcl::AnsiString Version() const { return "1.5.1.0"; }
  void SetVersion(const vcl::AnsiString&) {}

  TOnCaptionButtonClick OnCaptionBtnClick;
  vcl::TNotifyEvent OnLock;
  vcl::TNotifyEvent OnUnlock;

  // --- sections ---
  TLumToolPanelSections* Sections() const { return sections_.get(); }
  TSectionLayout* SectionLayout() const { return sectionLayout_.get(); }
  vcl::TImageList* SectionImages() const { return sectionImages_; }
  void SetSectionImages(vcl::TImageList* v);
  TOnItemClick OnItemClick;
  TNodeExpandEvent OnNodeExpand;
  TNodeExpandEvent OnNodeCollapse;
  vcl::Integer SectionCaptionHeight();
  vcl::TRect SectionRect(vcl::Integer index, bool useExpandedHeight = false) const;
  vcl::TRect NodeRect(vcl::Integer index);
  // The item under a point, with its section and the rectangle it
  // highlights in; -1, -1 and (-1, -1, -1, -1) when there is none.
  vcl::Integer ItemAtPos(vcl::Integer x, vcl::Integer y, vcl::Integer& section, vcl::TRect& hoverRect);
  void SectionLayoutChanged();
  void SetExpanded(vcl::Integer section, bool value);
  vcl::Integer HoveredSection() const { return hoverSection_; }
  vcl::Integer HoveredItem() const { return hoverItem_; }

  // --- docking ---
  // Puts the panel into a new floating window with those bounds (screen
  // coordinates), as a drag released away from every strip does.
  void ManualFloat(const vcl::TRect& screenBounds);
  bool DockDragging() const { return dockDragging_; }
  // A drag by the grip began (the docked state is set after it).
  vcl::TNotifyEvent OnStartDock;
  // The drag ended: dropped on a strip (the target), floating or cancelled.
  vcl::TEndDragEvent OnEndDock;

  // --- states ---
  TLumToolPanelTab* OwningStrip() const { return strip_; }
  bool Locked() const { return locked_; }
  void SetLocked(bool v);
  bool Hidden() const { return hidden_; }
  void SetHidden(bool v);
  bool Docked() const { return docked_; }
  void SetDocked(bool v);
  // Hosted by a floating window.
  bool Floating() const;
  bool PlacedByLayout() const { return placedByLayout_; }
  bool Pressed() const { return pressed_; }
  bool HasFocus() const { return focused_; }

  // The caption bar's button area, repainted when the mouse enters,
  // presses or leaves it.
  vcl::TRect ButtonArea() const;
  vcl::TRect CloseRect() const;
  vcl::TRect LockRect() const;

  void SetBounds(vcl::Integer left, vcl::Integer top, vcl::Integer width, vcl::Integer height) override;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  void AlignControls(vcl::TControl* control, vcl::TRect& rect) override;
  void Paint() override;
  void Resize() override;
  void DoEnter() override;
  void DoExit() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;

 private:
  friend class TLumToolPanelTab;
  friend class TLumToolPanelSection;
  template <typename T>
  void Store(T& field, T v) {
    if (field == v) return;
    field = v;
    Invalidate();
  }
  void PaintButtons(vcl::TCanvas* c, const vcl::TRect& bar, bool focusedLook);
  void PaintButtonFace(vcl::TCanvas* c, const vcl::TRect& box, bool pressed);
  void PaintBackgroundPicture(vcl::TCanvas* c, const vcl::TRect& area);
  void RepaintButtonArea();
  vcl::TPoint CursorInClient() const;
  void HandleHitTest(vcl::TMessage& message);
  void HandleHintShow(vcl::TMessage& message);
  void CaptionOrImageChanged();
  vcl::TRect CloseHintRect() const;
  vcl::TRect LockHintRect() const;
  vcl::TRect CaptionButtonArea() const;
  bool InGrip(vcl::Integer x, vcl::Integer y) const;
  // Sections: painting, presets, the mouse.
  vcl::Integer SectionStartY() const;
  vcl::TCanvas* SectionCanvas();
  void ApplySectionPreset(TToolPanelStyle v);
  void PaintSections(vcl::TCanvas* c);
  void SectionPress(vcl::Integer x, vcl::Integer y);
  void SectionHover(vcl::Integer x, vcl::Integer y);
  void SectionClick();
  void SectionLeave();
  void SectionHint(vcl::THintInfo& info);
  void AdjustSectionControls(vcl::Integer section, vcl::Integer delta);
  // Docking: the drag by the grip, its end, a drop elsewhere.
  void StartDock();
  void CancelDock();
  void DockMove(vcl::TPoint screen);
  void DockRelease(vcl::TPoint screen);
  // Target: the strip that took the panel, null when it floats or the drag
  // came to nothing; x, y where it was released, in the target's client
  // coordinates (0, 0 without a target).
  void EndDock(vcl::TObject* target = nullptr, vcl::Integer x = 0, vcl::Integer y = 0);
  TLumToolPanelTab* StripAt(vcl::TPoint screen) const;

  TLumToolPanelTab* strip_ = nullptr;
  // The strip whose list holds the panel (a panel is in one list at most),
  // told before the panel is gone.
  TLumToolPanelTab* listedIn_ = nullptr;
  vcl::Integer imageIndex_ = -1;
  vcl::Integer openWidth_ = 150;
  bool autoLock_ = false;
  bool allowDocking_ = true;
  bool canSize_ = true;
  bool showCaption_ = true;
  bool showCaptionBorder_ = false;
  bool showClose_ = true;
  bool showLock_ = true;
  bool captionButton_ = false;
  bool dockDots_ = true;
  bool button3D_ = false;
  vcl::TColor colorTo_ = 0xC67B52;
  TGradientDirection gradientDirection_ = gdVertical;
  TGradientDirection captionGradientDirection_ = gdVertical;
  vcl::TColor focusCaptionColor_ = 0x94E6FB, focusCaptionColorTo_ = 0x1595EE, focusCaptionFontColor_ = 0;
  vcl::TColor noFocusCaptionColor_ = 0xD68759, noFocusCaptionColorTo_ = 0x933803, noFocusCaptionFontColor_ = 0xFFFFFF;
  vcl::TColor hoverButtonColor_ = 0xDCFFFF, hoverButtonColorTo_ = 0x5BC0F7;
  vcl::TColor downButtonColor_ = 0x087FE8, downButtonColorTo_ = 0x7CDAF7;
  std::unique_ptr<vcl::TBitmap> background_;
  TTPBackGroundPosition backGroundPosition_ = TTPBackGroundPosition::bpTopLeft;
  bool backgroundTransparent_ = false;
  TToolPanelStyle style_ = esOffice2003Blue;
  std::unique_ptr<vcl::TBitmap> closeBitmap_, lockBitmap_, unlockBitmap_;

  bool locked_ = false;
  bool hidden_ = false;
  bool docked_ = false;
  bool placedByLayout_ = false;
  bool pressed_ = false;
  bool focused_ = false;
  bool lastFloating_ = false;
  toolpanels::TBorderSizer sizer_;
  bool dockDragging_ = false;
  vcl::TPoint dockGrab_;  // where the drag took the panel, in its client coordinates
  TLumToolPanelTab* dockOver_ = nullptr;
  std::unique_ptr<TLumToolPanelSections> sections_;
  std::unique_ptr<TSectionLayout> sectionLayout_;
  vcl::TImageList* sectionImages_ = nullptr;
  vcl::Integer hoverSection_ = -1;
  vcl::Integer hoverItem_ = -1;
  vcl::TRect hoverRect_{-1, -1, -1, -1};
  std::unique_ptr<vcl::TBitmap> sectionMeasure_;
};

}  // namespace controls
