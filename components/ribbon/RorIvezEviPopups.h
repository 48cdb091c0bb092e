#pragma once
// The ribbon's pop-ups: the window a collapsed group shows its controls in,
// the window the minimised ribbon shows a page in, the control that carries
// the caption on a composited frame, and the test whether a form fills its
// work area. Both windows are the class library's pop-up forms: they close
// on deactivation through a 1 ms timer, so the click that deactivated them
// is handled first.
#include <functional>
#include <memory>

#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/ExtCtrls.h"
#include "vcl/PopupWindow.h"

namespace controls {
class TLumGlowButton;
}

namespace ribbon {

class TRorIvezEviPager;
class TLumPage;

class TCompactWindow : public vcl::TPopupForm, public IToolBarHost {
 public:
  // Its clone lays glow buttons out in ribbon columns, as on a page.
  bool RibbonGroupHost() const override { return true; }
  // Owner: the collapsed toolbar, which the window drops from.
  explicit TCompactWindow(TLumCustomToolBar* AOwner);
  ~TCompactWindow() override;

  // The clone toolbar shown inside and the compact button that opened it.
  TLumCustomToolBar* RorIvezEvi() const { return toolBar_; }
  void SetRorIvezEvi(TLumCustomToolBar* Value) { toolBar_ = Value; }
  controls::TLumGlowButton* DropDownButton() const { return dropDownButton_; }
  void SetDropDownButton(controls::TLumGlowButton* Value) { dropDownButton_ = Value; }
  bool MayClose() const { return mayClose_; }
  void SetMayClose(bool Value) { mayClose_ = Value; }
  bool CanHide();
  // The toolbar's size plus 2, the toolbar at (1, 1), the styler's colour.
  void FitToToolBar();
  // The window shows a rectangle with its corners rounded 4 by 4.
  void RoundCorners();
  vcl::TTimer* HideTimer() const { return hideTimer_; }
  // The top-level window of the collapsed toolbar.
  vcl::TWinControl* OwnerTopWindow() const;

 protected:
  void PaintWindow() override;
  void Dispatch(vcl::TMessage& Message) override;
  void DoHide() override;

 private:
  std::unique_ptr<vcl::TControlCanvas> canvas_;
  TLumCustomToolBar* owner_;
  TLumCustomToolBar* toolBar_ = nullptr;
  controls::TLumGlowButton* dropDownButton_ = nullptr;
  bool mayClose_ = true;
  vcl::TTimer* hideTimer_ = nullptr;
};

class TMinimizedRibbonWindow : public vcl::TPopupForm {
 public:
  explicit TMinimizedRibbonWindow(vcl::TWinControl* AOwner);
  ~TMinimizedRibbonWindow() override;

  TRorIvezEviPager* Pager() const { return pager_; }
  void SetPager(TRorIvezEviPager* Value) { pager_ = Value; }
  TLumPage* Page() const { return page_; }
  void SetPage(TLumPage* Value) { page_ = Value; }
  bool MayClose() const { return mayClose_; }
  void SetMayClose(bool Value) { mayClose_ = Value; }
  bool CanHide();
  // The page's size plus 3, the page at (2, 0).
  void FitToPage();
  vcl::TTimer* HideTimer() const { return hideTimer_; }
  // After the timer hid the window: the pager removes it.
  std::function<void(TMinimizedRibbonWindow* Window)> OnHidden;

 protected:
  void PaintWindow() override;
  void Dispatch(vcl::TMessage& Message) override;

 private:
  std::unique_ptr<vcl::TControlCanvas> canvas_;
  // The pager has the focus, or is being pressed as the deactivation
  // arrives (a pop-up learns of a press outside before the press lands).
  bool PagerHasFocus() const;
  vcl::TWinControl* owner_;
  TRorIvezEviPager* pager_ = nullptr;
  TLumPage* page_ = nullptr;
  bool mayClose_ = true;
  vcl::TTimer* hideTimer_ = nullptr;
};

// The caption on a composited window frame; reached only in composition
// mode, which this platform reports off.
class TCaptionLayer : public vcl::TCustomControl {
 public:
  explicit TCaptionLayer(vcl::TComponent* AOwner);
  vcl::TColor CaptionGlowColor() const { return glowColor_; }
  void SetCaptionGlowColor(vcl::TColor Value) { glowColor_ = Value; }
  std::function<void(TCaptionLayer* Layer, const rtl::AnsiString& Text, bool Flag, const vcl::TRect& Rect)> OnOwnerDraw;
  std::function<void(TCaptionLayer* Layer, int X, int Y)> OnCaptionDblClick;

 protected:
  void Paint() override;
  void Dispatch(vcl::TMessage& Message) override;

 private:
  vcl::TColor glowColor_ = vcl::clNone;
};

// A maximised form fills its work area unless a maximum size constraint
// keeps it more than 10 pixels narrower or 30 lower than the work area of
// the monitor it is on.
bool FormFillsWorkArea(vcl::TCustomForm* Form);

}  // namespace ribbon
