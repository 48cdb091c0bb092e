#pragma once
// The toolbar's option window: a borderless pop-up under a toolbar showing
// the controls that did not fit, and below them up to two entries: one
// opening the add-or-remove menu as soon as the mouse is on it, one
// dropping the toolbar's option menu (or a window that starts the
// toolbar's customiser). The quick access toolbar drops the same window.
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviPopupMenu.h"

namespace vcl {
class TPopupMenu;
}

namespace ribbon {

class TRorIvezEviSeparator;

// What the option window needs of a toolbar customiser: the text of its
// entry and the operation that lets the user customise the toolbar. The
// toolbar holds one only when it is given one from outside.
class TRIEToolBarCustomizer : public vcl::TComponent {
 public:
  using vcl::TComponent::TComponent;
  virtual rtl::AnsiString CustomizeText() const { return "Customize"; }
  virtual void ShowCustomization(TLumCustomToolBar* ToolBar) = 0;
};

class TOptionSelectorPanel : public TRIEFramedPanel {
 public:
  explicit TOptionSelectorPanel(vcl::TComponent* AOwner) : TRIEFramedPanel(AOwner, 3) {}
  TLumCustomToolBar* RorIvezEvi() const { return toolBar_; }
  void SetRorIvezEvi(TLumCustomToolBar* Value) { toolBar_ = Value; }
  // The canvas entries are measured on (the panel's own unless set;
  // tests measure with fixed metrics).
  vcl::TCanvas* MeasureCanvas() { return measureCanvas_ ? measureCanvas_ : Canvas(); }
  void SetMeasureCanvas(vcl::TCanvas* Value) { measureCanvas_ = Value; }

 private:
  TLumCustomToolBar* toolBar_ = nullptr;
  vcl::TCanvas* measureCanvas_ = nullptr;
};

class TOptionSelectorWindow : public vcl::TPopupForm {
 public:
  // Owner and parent: the toolbar (or what drops the window); its form's
  // window keeps the pop-up above.
  explicit TOptionSelectorWindow(vcl::TWinControl* AOwner);
  ~TOptionSelectorWindow() override;

  TLumCustomToolBar* RorIvezEvi() const { return toolBar_; }
  void SetRorIvezEvi(TLumCustomToolBar* Value) { toolBar_ = Value; }
  TOptionSelectorPanel* OptionsPanel() const { return panel_; }
  void SetOptionsPanel(TOptionSelectorPanel* Value) { panel_ = Value; }
  bool HideOnDeactivate() const { return hideOnDeactivate_; }
  void SetHideOnDeactivate(bool Value) { hideOnDeactivate_ = Value; }
  vcl::TTimer* HideTimer() const { return hideTimer_; }
  // Height the panel's GetPanelHeight, width the panel's.
  void FitToPanel();
  void ShowAt(vcl::TPoint P);
  void HideWindow();
  vcl::TWinControl* OwnerTopWindow() const;

 protected:
  void DoHide() override;
  void Dispatch(vcl::TMessage& Message) override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  vcl::TWinControl* owner_;
  TLumCustomToolBar* toolBar_ = nullptr;
  TOptionSelectorPanel* panel_ = nullptr;
  bool hideOnDeactivate_ = true;
  vcl::TTimer* hideTimer_ = nullptr;
};

// An entry of the overflow panel. Unrelated to the drop-down unit's class
// of the same name.
struct TSelectorItem {
  rtl::AnsiString Caption;
  int Width = 30;
  int Height = 20;
  vcl::TRect Rect{};
};

class TControlSelectorPanel : public TOptionSelectorPanel {
 public:
  explicit TControlSelectorPanel(vcl::TComponent* AOwner);
  ~TControlSelectorPanel() override;

  // Makes the panel Control's parent and lists it once; its index, -1 for
  // none.
  int AddControl(vcl::TControl* Control);
  // A separator of the panel's own, copied from Template, listed as a
  // control; freed when the panel hides.
  int AddSeparator(TRorIvezEviSeparator* Template);
  int ListedControlCount() const { return static_cast<int>(controls_.size()); }
  vcl::TControl* ListedControl(int Index) const;
  // Empties the list (the controls stay where they are).
  void ClearControls();
  void Arrange();

  const TSelectorItem& FirstItem() const { return first_; }
  const TSelectorItem& SecondItem() const { return second_; }
  void SetFirstCaption(const rtl::AnsiString& Value);
  void SetSecondCaption(const rtl::AnsiString& Value);
  bool AutoOptionMenu() const { return autoOptionMenu_; }
  void SetAutoOptionMenu(bool Value);
  vcl::TPopupMenu* OptionMenu() const { return optionMenu_; }
  void SetOptionMenu(vcl::TPopupMenu* Value);
  TRIEToolBarCustomizer* Customizer() const { return customizer_; }
  void SetCustomizer(TRIEToolBarCustomizer* Value);
  bool HasOptions() const { return optionMenu_ || customizer_; }
  bool IsEmpty() const { return controls_.empty() && !autoOptionMenu_ && !HasOptions(); }
  bool FirstShown() const { return autoOptionMenu_; }
  bool SecondShown() const { return HasOptions(); }

  void SetHotColor(vcl::TColor Value) { hotColor_ = Value; }
  void SetHotColorTo(vcl::TColor Value) { hotColorTo_ = Value; }
  void SetDownColor(vcl::TColor Value) { downColor_ = Value; }
  void SetDownColorTo(vcl::TColor Value) { downColorTo_ = Value; }
  void SetTextColor(vcl::TColor Value) { textColor_ = Value; }
  void SetHotTextColor(vcl::TColor Value) { hotTextColor_ = Value; }
  void SetDownTextColor(vcl::TColor Value) { downTextColor_ = Value; }
  vcl::TColor HotColor() const { return hotColor_; }
  vcl::TColor DownColor() const { return downColor_; }
  int EntryGap() const { return 8; }

  bool FirstHot() const { return firstHot_; }
  bool FirstDown() const { return firstDown_; }
  bool SecondHot() const { return secondHot_; }
  bool SecondDown() const { return secondDown_; }
  TRIEPopupWindow* AddRemovePopup() const { return popup_; }
  TOptionSelectorWindow* CustomizeWindow() const { return customizeWindow_; }
  vcl::TTimer* MenuTimer() const { return menuTimer_; }
  const std::vector<TRorIvezEviSeparator*>& CreatedSeparators() const { return separators_; }

  // The add-or-remove popup beside the first entry, and the options
  // beside the second.
  void OpenAddRemovePopup();
  void OpenOptions();
  // A visible add-or-remove popup closes with its sub-menus.
  void ClosePopup();
  void PanelHidden() override;

 protected:
  void Paint() override;
  void MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void Dispatch(vcl::TMessage& Message) override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  void MeasureEntries();
  void PaintEntry(vcl::TCanvas* C, const TSelectorItem& Item, bool Hot, bool Down, bool DownArrow);
  TOptionSelectorWindow* OwnerWindow() const;
  void MenuTimerTick();

  std::vector<vcl::TControl*> controls_;
  TSelectorItem first_, second_;
  bool autoOptionMenu_ = true;
  vcl::TPopupMenu* optionMenu_ = nullptr;
  TRIEToolBarCustomizer* customizer_ = nullptr;
  vcl::TColor hotColor_ = 0xD2BDB6, hotColorTo_ = vcl::clNone;
  vcl::TColor downColor_ = 0x808080, downColorTo_ = vcl::clNone;
  vcl::TColor textColor_ = vcl::clBlack, hotTextColor_ = 0xFFFFFF, downTextColor_ = vcl::clBlack;
  bool firstHot_ = false, firstDown_ = false, secondHot_ = false, secondDown_ = false;
  std::vector<TRorIvezEviSeparator*> separators_;
  TRIEPopupWindow* popup_ = nullptr;
  TOptionSelectorWindow* customizeWindow_ = nullptr;
  bool hiding_ = false;
  vcl::TTimer* menuTimer_ = nullptr;
};

class TCustomizeOption : public TOptionSelectorPanel {
 public:
  explicit TCustomizeOption(vcl::TComponent* AOwner);
  TOptionSelectorWindow* OwnerForm() const { return ownerForm_; }
  void SetOwnerForm(TOptionSelectorWindow* Value) { ownerForm_ = Value; }
  TRIEToolBarCustomizer* Customizer() const { return customizer_; }
  void SetCustomizer(TRIEToolBarCustomizer* Value) { customizer_ = Value; }
  const rtl::AnsiString& Text() const { return text_; }
  void SetText(const rtl::AnsiString& Value) { text_ = Value; }
  // Height 25, the text's width plus both margins and 12.
  void Fit();
  vcl::TRect ItemRect() const;
  bool Hot() const { return hot_; }
  bool Down() const { return down_; }

 protected:
  void Paint() override;
  void MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void Dispatch(vcl::TMessage& Message) override;

 private:
  TOptionSelectorWindow* ownerForm_ = nullptr;
  TRIEToolBarCustomizer* customizer_ = nullptr;
  rtl::AnsiString text_ = "Customize";
  bool hot_ = false, down_ = false;
};

}  // namespace ribbon
