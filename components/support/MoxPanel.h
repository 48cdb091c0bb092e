#pragma once
// TMoxPanel: a panel that lays out its child windows in rows (tab order,
// wrapping at its width), can size itself to them, be sized by a grip in
// its lower right corner and moved by dragging, show its parent through,
// draw a flat border and a one- or many-line caption, and look different
// while the mouse is over it.
#include <functional>

#include "support/MoxComponent.h"
#include "support/MoxExControls.h"

namespace support {

enum class TMoxAutoSizePanel : rtl::Byte { asNone, asWidth, asHeight, asBoth };
using enum TMoxAutoSizePanel;

class TMoxArrangeSettings : public TMoxPersistentProperty {
 public:
  // All nine values inside one update bracket.
  void Assign(const vcl::TPersistent* source) override;

  bool AutoArrange() const { return autoArrange_; }
  void SetAutoArrange(bool v) { SetProperty(autoArrange_, v, "AutoArrange"); }
  TMoxAutoSizePanel AutoSize() const { return autoSize_; }
  void SetAutoSize(TMoxAutoSizePanel v) { SetProperty(autoSize_, v, "AutoSize"); }
  bool WrapControls() const { return wrapControls_; }
  void SetWrapControls(bool v) { SetProperty(wrapControls_, v, "WrapControls"); }
  Integer BorderLeft() const { return borderLeft_; }
  void SetBorderLeft(Integer v) { SetProperty(borderLeft_, v, "BorderLeft"); }
  Integer BorderTop() const { return borderTop_; }
  void SetBorderTop(Integer v) { SetProperty(borderTop_, v, "BorderTop"); }
  Integer DistanceVertical() const { return distanceVertical_; }
  void SetDistanceVertical(Integer v) { SetProperty(distanceVertical_, v, "DistanceVertical"); }
  Integer DistanceHorizontal() const { return distanceHorizontal_; }
  void SetDistanceHorizontal(Integer v) { SetProperty(distanceHorizontal_, v, "DistanceHorizontal"); }
  // Stored without any notice.
  bool ShowNotVisibleAtDesignTime() const { return showNotVisibleAtDesignTime_; }
  void SetShowNotVisibleAtDesignTime(bool v) { showNotVisibleAtDesignTime_ = v; }
  Integer MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(Integer v) { SetProperty(maxWidth_, v, "MaxWidth"); }

 private:
  bool autoArrange_ = false;
  TMoxAutoSizePanel autoSize_ = asNone;
  bool wrapControls_ = true;
  Integer borderLeft_ = 0;
  Integer borderTop_ = 0;
  Integer distanceVertical_ = 0;
  Integer distanceHorizontal_ = 0;
  bool showNotVisibleAtDesignTime_ = true;
  Integer maxWidth_ = 0;
};

class TMoxPanelHotTrackOptions : public TMoxHotTrackOptions {
 public:
  TMoxPanelHotTrackOptions() : TMoxHotTrackOptions(vcl::clBtnFace) {}
};

enum class TMoxTrackFontOption : rtl::Byte {
  hoFollowFont, hoPreserveCharSet, hoPreserveColor, hoPreserveHeight, hoPreserveName, hoPreservePitch,
  hoPreserveStyle
};
using enum TMoxTrackFontOption;
using TMoxTrackFontOptions = rtl::TSet<TMoxTrackFontOption>;

using TMoxPanelResizeParentEvent =
    std::function<void(vcl::TObject* Sender, Integer nLeft, Integer nTop, Integer nWidth, Integer nHeight)>;
using TMoxPanelChangedSizeEvent = std::function<void(vcl::TObject* Sender, Integer ChangedSize)>;
using TMoxPanelBeforeMoveEvent = std::function<void(vcl::TObject* Sender, Integer X, Integer Y, bool& Allow)>;

class TMoxCustomArrangePanel : public TMoxCustomPanel {
 public:
  explicit TMoxCustomArrangePanel(vcl::TComponent* owner);
  ~TMoxCustomArrangePanel() override;

  // Lays the child windows out in rows (nothing while arranging, loading
  // or without children).
  void ArrangeControls();
  void RearrangeIfAuto();

  // A size change tells OnChangedWidth / OnChangedHeight, then either
  // OnResizeParent or a parent arrange panel.
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

  TMoxArrangeSettings* ArrangeSettings() { return settings_.get(); }
  void SetArrangeSettings(const TMoxArrangeSettings* v) {
    if (v) settings_->Assign(v);
  }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool FlatBorder() const { return flatBorder_; }
  void SetFlatBorder(bool v);
  TColor FlatBorderColor() const { return flatBorderColor_; }
  void SetFlatBorderColor(TColor v);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  bool Sizeable() const { return sizeable_; }
  void SetSizeable(bool v);
  bool Movable() const { return movable_; }
  void SetMovable(bool v) { movable_ = v; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }
  vcl::TFont* HotTrackFont() { return &hotTrackFont_; }
  void SetHotTrackFont(const vcl::TFont* v) {
    if (v) hotTrackFont_.Assign(v);
  }
  TMoxTrackFontOptions HotTrackFontOptions() const { return hotTrackFontOptions_; }
  // Stores the options and copies the panel's font into HotTrackFont,
  // aspect by aspect, as they say.
  void SetHotTrackFontOptions(TMoxTrackFontOptions v);
  TMoxPanelHotTrackOptions* HotTrackOptions() { return hotTrackOptions_.get(); }
  void SetHotTrackOptions(const TMoxHotTrackOptions* v) {
    if (v) hotTrackOptions_->Assign(v);
  }
  // What the last arrangement covered: 2 x BorderLeft + right edge and
  // 2 x BorderTop + bottom.
  vcl::TPoint ArrangedExtent() const { return arrangedExtent_; }
  bool Sizing() const { return sizing_; }
  bool Moving() const { return moving_; }

  TMoxPanelResizeParentEvent OnResizeParent;
  TMoxPanelChangedSizeEvent OnChangedWidth;
  TMoxPanelChangedSizeEvent OnChangedHeight;
  // When set, it does all the painting.
  vcl::TNotifyEvent OnPaint;
  TMoxPanelBeforeMoveEvent OnBeforeMove;
  vcl::TNotifyEvent OnAfterMove;

  void Dispatch(vcl::TMessage& message) override;

 protected:
  void Paint() override;
  // Paints the panel onto canvas as Paint does onto its own.
  void PaintOn(TCanvas* canvas);
  void CreateParams(TCreateParams& params) override;
  void AlignControls(vcl::TControl* control, TRect& rect) override;
  void Resize() override;
  void Loaded() override;
  void MouseDown(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseMove(vcl::TShiftState shift, Integer x, Integer y) override;
  void MouseUp(vcl::TMouseButton button, vcl::TShiftState shift, Integer x, Integer y) override;
  bool EraseBackground(TCanvas* canvas, vcl::LPARAM param) override;
  void MouseEntered(vcl::TControl* control) override;
  void MouseLeft(vcl::TControl* control) override;
  void TextChange() override;
  void ParentColorChange() override;
  void BoundsChange() override;

  // The parent's picture under the panel, then the earlier siblings that
  // overlap it.
  void CopyParentImage(TCanvas* canvas);
  void PaintCaption(TCanvas* canvas);
  void PaintSizeGrip(TCanvas* canvas);

 private:
  void SettingChanged(const AnsiString& name);
  bool Hot() const;
  bool DragInProgress() const;

  bool transparent_ = false;
  bool flatBorder_ = false;
  TColor flatBorderColor_ = vcl::clBtnShadow;
  bool multiLine_ = false;
  bool sizeable_ = false;
  bool sizing_ = false;
  Integer lastX_ = 0, lastY_ = 0;
  std::unique_ptr<TMoxArrangeSettings> settings_;
  bool arranging_ = false;
  vcl::TPoint arrangedExtent_;
  bool movable_ = false;
  bool moving_ = false;
  bool hotTrack_ = false;
  vcl::TFont hotTrackFont_;
  TMoxTrackFontOptions hotTrackFontOptions_{hoFollowFont, hoPreserveColor, hoPreserveStyle};
  std::unique_ptr<TMoxPanelHotTrackOptions> hotTrackOptions_;
  vcl::TCursor savedScreenCursor_ = vcl::crDefault;
};

class TMoxPanel : public TMoxCustomArrangePanel {
 public:
  using TMoxCustomArrangePanel::TMoxCustomArrangePanel;
};

}  // namespace support
