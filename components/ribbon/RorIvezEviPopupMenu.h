#pragma once
// The toolbar's own small menus: a tree of entries painted by a panel in a
// pop-up window, in the colours of a menu styler. A sub-menu is another such
// window beside its entry. The add-or-remove menu of the option window lists
// a toolbar's controls with check marks here; a click on a check entry shows
// or hides its control. The windows are the class library's pop-up forms and
// close after deactivation on a 1 ms timer, deepest first, each telling the
// window it came from (OnDeActivateHide) so that the whole chain goes.
#include <functional>
#include <memory>
#include <vector>

#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/ExtCtrls.h"
#include "vcl/PopupWindow.h"

namespace controls {
class TCustomLumMenuStyler;
}
namespace vcl {
class TTimer;
class TImageList;
}  // namespace vcl

namespace ribbon {

class TRIEMenuItem {
 public:
  explicit TRIEMenuItem(TRIEMenuItem* AParent = nullptr) : parent_(AParent) {}
  ~TRIEMenuItem();
  TRIEMenuItem(const TRIEMenuItem&) = delete;
  TRIEMenuItem& operator=(const TRIEMenuItem&) = delete;

  // A check mark is drawn only for an enabled entry.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value) { enabled_ = Value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { visible_ = Value; }
  // The entry's rectangle in its panel, set by the panel's arrangement.
  const vcl::TRect& Rect() const { return rect_; }
  void SetRect(const vcl::TRect& Value) { rect_ = Value; }
  const rtl::AnsiString& Caption() const { return caption_; }
  void SetCaption(const rtl::AnsiString& Value) { caption_ = Value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool Value) { checked_ = Value; }
  // A check entry: a click shows or hides the linked control.
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool Value) { autoCheck_ = Value; }
  // The linked control (forgotten when it is freed while listed).
  vcl::TControl* Data() const { return data_; }
  void SetData(vcl::TControl* Value) { data_ = Value; }
  TRIEMenuItem* Parent() const { return parent_; }

  // A new sub-entry at the end, this entry its parent.
  TRIEMenuItem* Add();
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Past the end: "Index out of bounds in list read access".
  TRIEMenuItem* Items(int Index) const;
  bool HasSubItems() const { return !items_.empty(); }
  // Forgets Control wherever the tree links it.
  void ForgetControl(const vcl::TComponent* Control);

 private:
  bool enabled_ = true;
  bool visible_ = true;
  vcl::TRect rect_{};
  std::vector<std::unique_ptr<TRIEMenuItem>> items_;
  rtl::AnsiString caption_;
  bool checked_ = false;
  bool autoCheck_ = false;
  vcl::TControl* data_ = nullptr;
  TRIEMenuItem* parent_;
};

// A panel with an optional gradient and a one-pixel frame, and the margins
// its content keeps from the edges. The option window's panels and the
// popup menu's panel share it; only the margins differ.
class TRIEFramedPanel : public vcl::TCustomPanel {
 public:
  TRIEFramedPanel(vcl::TComponent* AOwner, int Margin);
  vcl::TColor ColorTo() const { return colorTo_; }
  void SetColorTo(vcl::TColor Value) { colorTo_ = Value; }
  vcl::TColor WindowBorderColor() const { return windowBorderColor_; }
  void SetWindowBorderColor(vcl::TColor Value) { windowBorderColor_ = Value; }
  TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradientDirection Value) { gradientDirection_ = Value; }
  int MarginH() const { return marginH_; }
  int MarginV() const { return marginV_; }
  virtual int GetPanelHeight() { return Height(); }
  virtual void PanelHidden() {}

 protected:
  void Paint() override;
  int marginH_, marginV_;

 private:
  vcl::TColor colorTo_ = vcl::clNone;
  vcl::TColor windowBorderColor_ = 0x808080;
  TGradientDirection gradientDirection_ = gdHorizontal;
};

class TRIECustomPopupPanel : public TRIEFramedPanel {
 public:
  explicit TRIECustomPopupPanel(vcl::TComponent* AOwner) : TRIEFramedPanel(AOwner, 2) {}
};

class TRIEPopupWindow;

class TRIEPopupPanel : public TRIECustomPopupPanel {
 public:
  explicit TRIEPopupPanel(vcl::TComponent* AOwner);
  ~TRIEPopupPanel() override;

  TRIEMenuItem* RootItem() const { return root_; }
  void SetRootItem(TRIEMenuItem* Value);
  controls::TCustomLumMenuStyler* MenuStyler() const { return menuStyler_; }
  void SetMenuStyler(controls::TCustomLumMenuStyler* Value);
  bool ShowIconBar() const { return showIconBar_; }
  void SetShowIconBar(bool Value);
  bool ShowImageColumn() const { return showImageColumn_; }
  void SetShowImageColumn(bool Value);
  int ImageColumnWidth() const { return imageColumnWidth_; }
  void SetImageColumnWidth(int Value);
  int ItemHeight() const { return itemHeight_; }
  int HoverIndex() const { return hoverIndex_; }
  int OpenIndex() const { return openIndex_; }
  TRIEPopupWindow* SubMenuWindow() const { return subMenu_; }
  // The canvas captions are measured on (the panel's own unless set;
  // tests measure with fixed metrics). Sub-menus take it over.
  vcl::TCanvas* MeasureCanvas() { return measureCanvas_ ? measureCanvas_ : Canvas(); }
  void SetMeasureCanvas(vcl::TCanvas* Value) { measureCanvas_ = Value; }

  void Arrange();
  // The first line containing P, -1 for none.
  int ItemAtPos(vcl::TPoint P) const;
  void SetHoverIndex(int Value);
  // Shows or hides the check entry's control; its check follows.
  void ToggleItem(TRIEMenuItem* Item);
  void InvalidateItem(int Index);
  void OpenHoveredSubMenu();
  void CloseSubMenu();
  // Closes the sub-menu; nothing hovered, nothing open.
  void Reset();

  // The window the panel sits in (its toolbar gives the images).
  TRIEPopupWindow* Window() const { return window_; }
  void SetWindow(TRIEPopupWindow* Value) { window_ = Value; }

 protected:
  void Paint() override;
  void MouseMove(vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, vcl::Integer X, vcl::Integer Y) override;
  void Dispatch(vcl::TMessage& Message) override;

 private:
  TRIEMenuItem* Line(int Index) const;
  int LineCount() const;
  bool ControlShowsImage(vcl::TControl* Control) const;
  void DrawControlImage(vcl::TCanvas* C, vcl::TControl* Control, const vcl::TRect& Box);
  void DrawCheck(vcl::TCanvas* C, const vcl::TRect& Box, bool Hovered);

  TRIEMenuItem* root_ = nullptr;
  controls::TCustomLumMenuStyler* menuStyler_ = nullptr;
  int itemHeight_ = 24;
  int imageColumnWidth_ = 20;
  bool showIconBar_ = false;
  bool showImageColumn_ = false;
  int hoverIndex_ = -1;
  int openIndex_ = -1;
  TRIEPopupWindow* subMenu_ = nullptr;
  TRIEPopupWindow* window_ = nullptr;
  vcl::TCanvas* measureCanvas_ = nullptr;
};

class TRIEPopupWindow : public vcl::TPopupForm {
 public:
  // Owner: the component the window belongs to; its window keeps the
  // pop-up above. The panel is made inside.
  explicit TRIEPopupWindow(vcl::TWinControl* AOwner);
  ~TRIEPopupWindow() override;

  TLumCustomToolBar* RorIvezEvi() const { return toolBar_; }
  void SetRorIvezEvi(TLumCustomToolBar* Value);
  TRIEPopupPanel* PopupPanel() const { return panel_; }
  void SetPopupPanel(TRIEPopupPanel*) {}
  bool HideOnDeactivate() const { return hideOnDeactivate_; }
  void SetHideOnDeactivate(bool Value) { hideOnDeactivate_ = Value; }
  vcl::TTimer* HideTimer() const { return hideTimer_; }
  // The root entry the window owns (made on first call) and handed to the
  // panel.
  TRIEMenuItem* CreateRootItem();
  TRIEMenuItem* RootItem() const { return root_.get(); }
  // Height the panel's, width the panel's.
  void FitToPanel();
  // Shows the window at a screen point.
  void ShowAt(vcl::TPoint P);
  // Sub-menus close, the panel resets, the window hides.
  void ClosePopup();
  // The top-level window whose caption stays active meanwhile.
  vcl::TWinControl* OwnerTopWindow() const;
  // After the hide timer closed the window.
  vcl::TNotifyEvent OnDeActivateHide;

 protected:
  void PaintWindow() override;
  void Dispatch(vcl::TMessage& Message) override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  std::unique_ptr<vcl::TControlCanvas> canvas_;
  vcl::TWinControl* owner_;
  TLumCustomToolBar* toolBar_ = nullptr;
  TRIEPopupPanel* panel_ = nullptr;
  bool hideOnDeactivate_ = true;
  vcl::TTimer* hideTimer_ = nullptr;
  std::unique_ptr<TRIEMenuItem> root_;
};

// The work area of the screen holding P (the primary one when none does).
vcl::TRect WorkAreaAt(vcl::TPoint P);
// Where a window of Size goes beside an entry whose screen rectangle is
// Entry: right of it (its top-right corner, plus Gap to the right), moved
// up to end Margin above the work area's bottom, and left of the entry when
// it would pass the work area's right edge.
vcl::TPoint PlaceBesideEntry(const vcl::TRect& Entry, vcl::TSize Size, int Gap, const vcl::TRect& Work);

}  // namespace ribbon
