#pragma once
// A group of controls inside a toolbar under an etched frame with an
// optional caption in its top line, showing the toolbar's background
// behind them; it hands its toolbar to the toolbar controls and glow
// buttons inside it.
#include "controls/LumHintInfo.h"
#include "ribbon/RorIvezEviRecords.h"
#include "ribbon/RorIvezEviToolBar.h"
#include "vcl/Controls.h"

namespace ribbon {

class TRorIvezEviContainer : public vcl::TCustomControl {
 public:
  explicit TRorIvezEviContainer(vcl::TComponent* AOwner);
  ~TRorIvezEviContainer() override;

  void SetText(const rtl::AnsiString& Value) override;
  TGradientBackground* ColorBackground() { return &color_; }
  void SetColorBackground(const TGradientBackground* Value);
  controls::TLumHintInfo* OfficeHint() { return &officeHint_; }
  void SetOfficeHint(const controls::TLumHintInfo* Value) { officeHint_.Assign(Value); }
  vcl::TColor LineColor() const { return lineColor_; }
  void SetLineColor(vcl::TColor Value);
  bool ParentStyler() const { return parentStyler_; }
  void SetParentStyler(bool Value);
  bool Line3D() const { return line3D_; }
  void SetLine3D(bool Value);
  int Margins() const { return margins_; }
  void SetMargins(int Value);
  TLumCustomToolBar* RorIvezEvi() const { return rorIvezEvi_; }
  // Takes the toolbar and hands it to the children.
  void SetRorIvezEvi(TLumCustomToolBar* Value);

  void AdjustClientRect(vcl::TRect& Rect) const override;

 protected:
  // The styler's glow-button appearance, and its preset style, given to
  // the children.
  void Loaded() override;
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
  void Paint() override;
  void Dispatch(vcl::TMessage& Message) override;
  void Resize() override;

 private:
  void KeepInsideMargins();
  void HookGlowButton(vcl::TControl* Control);

  TGradientBackground color_;
  controls::TLumHintInfo officeHint_;
  vcl::TColor lineColor_ = vcl::clBtnShadow;
  bool parentStyler_ = true;
  bool line3D_ = true;
  int margins_ = 0;
  bool keeping_ = false;
  TLumCustomToolBar* rorIvezEvi_ = nullptr;
};

}  // namespace ribbon
