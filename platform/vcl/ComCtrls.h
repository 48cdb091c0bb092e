#pragma once
// Tab controls, page controls with their sheets, and the status bar.
#include <vector>

#include "rtl/Collection.h"
#include "rtl/StringList.h"
#include "vcl/ExtCtrls.h"

namespace vcl {

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// A row of tabs drawn along the top; the area below them (DisplayRect) is
// where aligned children go.
class TCustomTabControl : public TCustomControl {
 public:
  explicit TCustomTabControl(TComponent* owner);
  // The area below the tabs, in client coordinates.
  TRect DisplayRect() const;
  void AdjustClientRect(TRect& rect) const override;
  // The tab under a client point, or -1.
  Integer IndexOfTabAt(Integer x, Integer y) const;
  // Where tab index is drawn; empty for an index without tab.
  TRect TabRect(Integer index) const;
  Integer TabHeight() const;

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void Dispatch(TMessage& message) override;
  // The captions of the tabs shown and the one selected.
  virtual Integer TabCount() const = 0;
  virtual AnsiString TabCaption(Integer index) const = 0;
  virtual Integer SelectedTab() const = 0;
  // Moves the selection to tab index after asking OnChanging; answers
  // whether it moved.
  bool ChangeTab(Integer index);
  virtual void SelectTab(Integer index) = 0;
  virtual bool CanChange();
  virtual void Change();
};

class TTabControl : public TCustomTabControl {
 public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  rtl::TStrings* Tabs() { return &tabs_; }
  void SetTabs(const rtl::TStrings* tabs) { tabs_.Assign(*tabs); }
  // -1: no tab selected. Setting it fires no events.
  Integer TabIndex() const { return tabIndex_; }
  void SetTabIndex(Integer v);

 protected:
  Integer TabCount() const override { return tabs_.Count(); }
  AnsiString TabCaption(Integer index) const override { return tabs_[index]; }
  Integer SelectedTab() const override { return tabIndex_; }
  void SelectTab(Integer index) override { tabIndex_ = index; }

 private:
  rtl::TStringList tabs_;
  Integer tabIndex_ = -1;
};

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pc);
  // Position among all pages.
  Integer PageIndex() const;
  void SetPageIndex(Integer index);
  // Position among the visible tabs; -1 when its tab is hidden.
  Integer TabIndex() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  void Dispatch(TMessage& message) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;  // the page control holds this sheet
  bool tabVisible_ = true;
};

class TPageControl : public TCustomTabControl {
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  Integer PageCount() const { return static_cast<Integer>(pages_.size()); }
  TTabSheet* Pages(Integer index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows the sheet and hides the others; fires no events.
  void SetActivePage(TTabSheet* page);
  Integer ActivePageIndex() const;
  void SetActivePageIndex(Integer index);
  // The next (or previous) page with a visible tab, wrapping round.
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
  void SelectNextPage(bool goForward);

 protected:
  Integer TabCount() const override;
  AnsiString TabCaption(Integer index) const override;
  Integer SelectedTab() const override;
  void SelectTab(Integer index) override;
  void AlignControls(TControl* control, TRect& rect) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  std::vector<TTabSheet*> VisibleTabs() const;
  std::vector<TTabSheet*> pages_;   // children of this control
  TTabSheet* activePage_ = nullptr;
};

enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };
using enum TStatusPanelBevel;

class TStatusBar;

class TStatusPanel : public rtl::TCollectionItem {
 public:
  explicit TStatusPanel(rtl::TCollection* collection) : TCollectionItem(collection) {}
  const AnsiString& Text() const { return text_; }
  void SetText(const AnsiString& v);
  Integer Width() const { return width_; }
  void SetWidth(Integer v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);

 private:
  void Changed();
  AnsiString text_;
  Integer width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusPanels : public rtl::TCollectionOf<TStatusPanel> {
 public:
  explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
  ~TStatusPanels() override { Clear(); }

 protected:
  void Update(rtl::TCollectionItem* item) override;
  void Notify(rtl::TCollectionItem* item, bool added) override;

 private:
  TStatusBar* bar_;  // owns this collection
};

class TStatusBar : public TCustomControl {
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  TStatusPanels* Panels() { return &panels_; }
  // One text across the whole bar instead of the panels.
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  const AnsiString& SimpleText() const { return simpleText_; }
  void SetSimpleText(const AnsiString& v);
  // Where panel index is drawn (the last one reaches the right edge).
  TRect PanelRect(Integer index) const;

 protected:
  void Paint() override;

 private:
  TStatusPanels panels_;
  bool simplePanel_ = false;
  AnsiString simpleText_;
};

}  // namespace vcl

namespace vcl {

class TImageList;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator, tbsDivider };
using enum TToolButtonStyle;

// A button of a tool bar: a caption and/or an image of the bar's image
// list; a check button stays down until clicked again (in a group, until
// another one of its group is clicked).
class TToolButton : public TGraphicControl {
 public:
  explicit TToolButton(TComponent* owner);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle s);
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  TToolBar* ToolBar() const;
  void Click() override;
  void ActionChange(TBasicAction* sender) override;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  TToolButtonStyle style_ = tbsButton;
  Integer imageIndex_ = -1;
  bool down_ = false;
  bool grouped_ = false;
  bool hot_ = false;
  bool pressed_ = false;
};

// A row of tool buttons along the top of its parent, laid out left to right
// in the order of their Left.
class TToolBar : public TCustomControl {
 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  Integer ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(Integer v);
  Integer ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(Integer v);
  Integer ButtonCount() const;
  TToolButton* Buttons(Integer index) const;
  void Dispatch(TMessage& message) override;

 protected:
  void AlignControls(TControl* control, TRect& rect) override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TImageList* images_ = nullptr;  // owned by its own owner
  bool showCaptions_ = false;
  Integer buttonWidth_ = 23;
  Integer buttonHeight_ = 22;
};

}  // namespace vcl
