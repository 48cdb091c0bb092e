#pragma once
// The drop-down's pop-up: a TPopupForm that paints its own gradient and
// frame, with an optional header bar on top and footer bar below, each a
// mini-HTML caption, an image and a row of buttons; the footer carries the
// size grip.
#include <functional>
#include <memory>

#include "dropdown/LumDropDownAppearance.h"
#include "dropdown/LumDropDownButtons.h"
#include "vcl/Controls.h"
#include "vcl/PopupWindow.h"

namespace vcl {
class TControlCanvas;
}

namespace dropdown {

using TDrawBackGroundEvent = std::function<void(vcl::TObject* Sender, vcl::TCanvas* Canvas, vcl::TRect R)>;
using TGetTextEvent = std::function<void(vcl::TObject* Sender, rtl::AnsiString& Text)>;

// What the pop-up and its bars ask of the drop-down they serve; the
// drop-down outlives its pop-up.
class TDropDownHost : public TDropDownCloser {
 public:
  virtual vcl::TWinControl* HostControl() = 0;
  virtual vcl::Integer DropDownBorderWidth() const = 0;
  virtual vcl::TColor DropDownBorderColor() const = 0;
  virtual vcl::TColor DropDownColor() const = 0;
  virtual vcl::TColor DropDownColorTo() const = 0;
  virtual bool DropDownSizeable() const = 0;
  virtual THeaderAppearance* DropDownHeader() = 0;
  virtual TFooterAppearance* DropDownFooter() = 0;
  virtual vcl::TImageList* Images() const = 0;
  virtual TLumButtonAppearance* ButtonAppearance() = 0;
  virtual TDrawBackGroundEvent HeaderDrawHandler() const = 0;
  virtual TGetTextEvent HeaderTextHandler() const = 0;
  virtual TDrawBackGroundEvent FooterDrawHandler() const = 0;
  virtual TGetTextEvent FooterTextHandler() const = 0;
  // OnDropDownHeaderButtonClick / OnDropDownFooterButtonClick.
  virtual void HeaderButtonClick(vcl::Integer buttonIndex) = 0;
  virtual void FooterButtonClick(vcl::Integer buttonIndex) = 0;

 protected:
  ~TDropDownHost() = default;
};

// What the header and footer share; Appearance is THeaderAppearance or
// TFooterAppearance.
template <class Appearance>
class TLumBar : public vcl::TCustomControl {
 public:
  explicit TLumBar(vcl::TComponent* owner);
  ~TLumBar() override;

  Appearance* BarAppearance() const { return appearance_.get(); }
  vcl::TImageList* Images() const { return images_; }
  void SetImages(vcl::TImageList* images);
  TDropDownHost* OwnerDropDown() const { return ownerDropDown_; }
  const TDbgList& ButtonControls() const { return buttonControls_; }
  TLumButton* ButtonControl(vcl::Integer i) const { return static_cast<TLumButton*>(buttonControls_.Items(i)); }

  // Takes the drop-down's images and its appearance for this bar; null
  // only drops the images.
  void SetDropDown(TDropDownHost* dropDown);
  void Rebuild();
  // The area of the caption and the buttons.
  virtual vcl::TRect CaptionArea();

  TDrawBackGroundEvent OnDrawBackGround;
  TGetTextEvent OnGetText;

  virtual void CreateButtons();
  virtual void ClearButtons();
  virtual void ArrangeButtons();
  virtual void UpdateButtons();


 protected:
  void Paint() override;
  void Resize() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
  virtual bool IsFooter() const = 0;
  virtual const Appearance* HostAppearance() const = 0;
  virtual void ButtonClicked(vcl::Integer index) = 0;
  void AppearanceChanged();

  std::unique_ptr<Appearance> appearance_;
  vcl::TImageList* images_ = nullptr;
  TDropDownHost* ownerDropDown_ = nullptr;
  TDbgList buttonControls_;
};

class TLumHeader : public TLumBar<THeaderAppearance> {
 public:
  explicit TLumHeader(vcl::TComponent* owner) : TLumBar(owner) {}
  THeaderButtons* Buttons() const;

 protected:
  bool IsFooter() const override { return false; }
  const THeaderAppearance* HostAppearance() const override;
  void ButtonClicked(vcl::Integer index) override;
};

class TLumFooter : public TLumBar<TFooterAppearance> {
 public:
  explicit TLumFooter(vcl::TComponent* owner);
  TFooterButtons* Buttons() const;
  // The grip shows with the appearance's SizeGrip and a sizeable drop-down.
  bool GripShowing() const;
  vcl::TRect CaptionArea() override;
  vcl::TCursor SavedCursor() const { return savedCursor_; }
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Paint() override;
  bool IsFooter() const override { return true; }
  const TFooterAppearance* HostAppearance() const override;
  void ButtonClicked(vcl::Integer index) override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseMove(vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, vcl::Integer x, vcl::Integer y) override;

 private:
  bool InGrip(vcl::Integer x, vcl::Integer y) const;
  void RestoreCursor();
  vcl::TCursor savedCursor_ = 0;
};

// The six white squares of the size grip with their shadow, in g (the
// footer's grip rectangle).
void DrawSizeGrip(vcl::TCanvas* canvas, const vcl::TRect& g, vcl::TColor shadow);

class TDropDownForm : public vcl::TPopupForm {
 public:
  explicit TDropDownForm(vcl::TComponent* owner);
  ~TDropDownForm() override;

  TDropDownHost* OwnerDropDown() const { return ownerDropDown_; }
  void SetOwnerDropDown(TDropDownHost* dropDown);
  TLumHeader* Header() const { return header_; }
  TLumFooter* Footer() const { return footer_; }
  bool ShowShadow() const { return DropShadow(); }
  void SetShowShadow(bool v) { SetDropShadow(v); }
  bool CancelOnDeactivate() const { return cancelOnDeactivate_; }
  void SetCancelOnDeactivate(bool v) { cancelOnDeactivate_ = v; }
  vcl::Cardinal LastDeactivateTick() const { return lastDeactivateTick_; }
  vcl::TNotifyEvent OnSizing;

  // Creates, shows, hides and rebuilds the header and footer from the
  // drop-down's appearances.
  void UpdateHeaderFooter();

  void AdjustClientRect(vcl::TRect& rect) const override;
  void Dispatch(vcl::TMessage& message) override;

 protected:
  void PaintWindow() override;
  void Resize() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void PaintBackground();
  TDropDownHost* ownerDropDown_ = nullptr;
  TLumHeader* header_ = nullptr;  // owned as components
  TLumFooter* footer_ = nullptr;
  bool cancelOnDeactivate_ = true;
  vcl::Cardinal lastDeactivateTick_ = 0;
  std::unique_ptr<vcl::TControlCanvas> canvas_;
};

}  // namespace dropdown
