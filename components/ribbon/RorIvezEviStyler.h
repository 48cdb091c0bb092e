// The toolbar styler: one component holding the look of every ribbon
// control, and the list of controls it tells, by reason code, what changed.
#pragma once

#include <vector>

#include "controls/LumGlowButton.h"
#include "controls/LumMenus.h"
#include "controls/LumStyleIF.h"
#include "ribbon/RorIvezEviAppearance.h"
#include "vcl/Pictures.h"

namespace ribbon {

class TCustomRorIvezEviStyler;

enum class TBackGroundDisplay : uint8_t { bdTile, bdCenter, bdStretch };
using enum TBackGroundDisplay;
enum class TDragGripStyle : uint8_t { dsDots, dsSingleLine, dsDoubleLine, dsFlatDots, dsNone };
using enum TDragGripStyle;

// The reason codes of a styler change.
inline constexpr int scBackGround = 1;      // background bitmap, its display, the font
inline constexpr int scColors = 2;          // colours, borders, handles, caption, metrics
inline constexpr int scContainer = 4;       // container appearance
inline constexpr int scDragGrip = 5;        // drag grip style
inline constexpr int scMenuStyler = 6;      // menu styler
inline constexpr int scGlowButton = 7;      // glow button appearances
inline constexpr int scPager = 10;          // tab, page, group appearances
inline constexpr int scPagerCaption = 11;   // pager caption, glyph colour
inline constexpr int scQAT = 12;            // quick access toolbar

// The three kinds of control a styler tells of its changes.
enum class TStylerClientKind : uint8_t { sckDockPanel, sckToolBar, sckPager };

// What dock panels, toolbars and the pager implement to hear their styler.
// A registered control without it (a quick access toolbar, say) is listed
// and hears nothing.
class IRorIvezEviStylerClient {
 public:
  virtual ~IRorIvezEviStylerClient() = default;
  virtual TStylerClientKind StylerClientKind() const = 0;
  virtual void StylerChanged(int Code) = 0;
  // A toolbar in compact mode: the toolbar shown in its compact window,
  // told before the toolbar itself; null otherwise.
  virtual IRorIvezEviStylerClient* CompactWindowToolBar() { return nullptr; }
  // The styler the control uses, and dropping it (which unregisters).
  virtual TCustomRorIvezEviStyler* ToolBarStyler() const = 0;
  virtual void SetToolBarStyler(TCustomRorIvezEviStyler* Value) = 0;
};

class TCustomRorIvezEviStyler : public vcl::TComponent {
 public:
  explicit TCustomRorIvezEviStyler(vcl::TComponent* Owner);
  ~TCustomRorIvezEviStyler() override;
  void Assign(const vcl::TPersistent* Source) override;

  void RegisterControl(vcl::TControl* Control);
  void UnregisterControl(vcl::TControl* Control);
  void BroadcastChange(int Code);
  const std::vector<vcl::TControl*>& Controls() const { return Controls_; }

  controls::TCustomLumMenuStyler* LumMenuStyler() const { return LumMenuStyler_; }
  void SetLumMenuStyler(controls::TCustomLumMenuStyler* Value);
  // The assigned menu styler, or the internal one.
  controls::TCustomLumMenuStyler* CurrentMenuStyler() const { return CurrentMenuStyler_; }
  controls::TLumMenuStyler* InternalMenuStyler() const { return InternalMenuStyler_; }

  vcl::TBitmap* BackGround() const { return BackGround_; }
  void SetBackGround(const vcl::TBitmap* Value);
  bool BackGroundTransparent() const { return BackGroundTransparent_; }
  void SetBackGroundTransparent(bool Value);
  TBackGroundDisplay BackGroundDisplay() const { return BackGroundDisplay_; }
  void SetBackGroundDisplay(TBackGroundDisplay Value);
  TColor BorderColor() const { return BorderColor_; }
  void SetBorderColor(TColor Value) { StoreAndSend(BorderColor_, Value, scColors); }
  TColor BorderColorHot() const { return BorderColorHot_; }
  void SetBorderColorHot(TColor Value) { StoreAndSend(BorderColorHot_, Value, scColors); }
  TButtonAppearance* ButtonAppearance() const { return ButtonAppearance_; }
  void SetButtonAppearance(const TButtonAppearance* Value) { ButtonAppearance_->Assign(Value); }
  TCaptionAppearance* CaptionAppearance() const { return CaptionAppearance_; }
  void SetCaptionAppearance(const TCaptionAppearance* Value) { CaptionAppearance_->Assign(Value); }
  vcl::TFont* CaptionFont() const { return CaptionFont_; }
  void SetCaptionFont(const vcl::TFont* Value);
  TContainerAppearance* ContainerAppearance() const { return ContainerAppearance_; }
  void SetContainerAppearance(const TContainerAppearance* Value) { ContainerAppearance_->Assign(Value); }
  TVistaGradientBackground* Color() const { return Color_; }
  void SetColor(const TVistaGradientBackground* Value) { Color_->Assign(Value); }
  TVistaGradientBackground* ColorHot() const { return ColorHot_; }
  void SetColorHot(const TVistaGradientBackground* Value) { ColorHot_->Assign(Value); }
  controls::TGlowButtonAppearance* CompactGlowButtonAppearance() const { return CompactGlowButtonAppearance_; }
  void SetCompactGlowButtonAppearance(const controls::TGlowButtonAppearance* Value) {
    CompactGlowButtonAppearance_->Assign(Value);
  }
  TGradientBackground* DockColor() const { return DockColor_; }
  void SetDockColor(const TGradientBackground* Value) { DockColor_->Assign(Value); }
  TDragGripStyle DragGripStyle() const { return DragGripStyle_; }
  void SetDragGripStyle(TDragGripStyle Value) { StoreAndSend(DragGripStyle_, Value, scDragGrip); }
  vcl::TBitmap* DragGripImage() const { return DragGripImage_; }
  void SetDragGripImage(const vcl::TBitmap* Value) { DragGripImage_->Assign(Value); }
  TColor FloatingWindowBorderColor() const { return FloatingWindowBorderColor_; }
  void SetFloatingWindowBorderColor(TColor Value) { StoreAndSend(FloatingWindowBorderColor_, Value, scColors); }
  int FloatingWindowBorderWidth() const { return FloatingWindowBorderWidth_; }
  void SetFloatingWindowBorderWidth(int Value) { StoreAndSend(FloatingWindowBorderWidth_, Value, scColors); }
  vcl::TFont* Font() const { return Font_; }
  void SetFont(const vcl::TFont* Value);
  controls::TGlowButtonAppearance* GlowButtonAppearance() const { return GlowButtonAppearance_; }
  void SetGlowButtonAppearance(const controls::TGlowButtonAppearance* Value) { GlowButtonAppearance_->Assign(Value); }
  TGroupAppearance* GroupAppearance() const { return GroupAppearance_; }
  void SetGroupAppearance(const TGroupAppearance* Value) { GroupAppearance_->Assign(Value); }
  TVistaPageBackground* PageAppearance() const { return PageAppearance_; }
  void SetPageAppearance(const TVistaPageBackground* Value) { PageAppearance_->Assign(Value); }
  TVistaTextBackground* PagerCaption() const { return PagerCaption_; }
  void SetPagerCaption(const TVistaTextBackground* Value) { PagerCaption_->Assign(Value); }
  TQATAppearance* QATAppearance() const { return QATAppearance_; }
  void SetQATAppearance(const TQATAppearance* Value) { QATAppearance_->Assign(Value); }
  vcl::TBitmap* RightHandleImage() const { return RightHandleImage_; }
  void SetRightHandleImage(const vcl::TBitmap* Value);
#define TOLVANE_RIBBON_HANDLE_COLOR(Name) \
  TColor Name() const { return Name##_; } \
  void Set##Name(TColor Value) { StoreAndSend(Name##_, Value, scColors); }
  TOLVANE_RIBBON_HANDLE_COLOR(RightHandleColor)
  TOLVANE_RIBBON_HANDLE_COLOR(RightHandleColorTo)
  TOLVANE_RIBBON_HANDLE_COLOR(RightHandleColorHot)
  TOLVANE_RIBBON_HANDLE_COLOR(RightHandleColorHotTo)
  TOLVANE_RIBBON_HANDLE_COLOR(RightHandleColorDown)
  TOLVANE_RIBBON_HANDLE_COLOR(RightHandleColorDownTo)
#undef TOLVANE_RIBBON_HANDLE_COLOR
  TTabAppearance* TabAppearance() const { return TabAppearance_; }
  void SetTabAppearance(const TTabAppearance* Value) { TabAppearance_->Assign(Value); }
  bool SystemFont() const { return SystemFont_; }
  void SetSystemFont(bool Value);

  bool TransparentToolBars() const { return TransparentToolBars_; }
  bool RoundedLook() const { return RoundedLook_; }
  void SetRoundedLook(bool Value);
  bool Edge3D() const { return Edge3D_; }
  void SetEdge3D(bool Value) { StoreAndSend(Edge3D_, Value, scColors); }
  uint8_t Edge3DKind() const { return Edge3DKind_; }
  void SetEdge3DKind(uint8_t Value) { StoreAndSend(Edge3DKind_, Value, scColors); }
  controls::REZORuvar ComponentStyle() const { return ComponentStyle_; }
  void SetComponentStyle(controls::REZORuvar Value) { ComponentStyle_ = Value; }
  bool AltQATShape() const { return AltQATShape_; }
  void SetAltQATShape(bool Value) { AltQATShape_ = Value; }
  TColor CornerColor() const { return CornerColor_; }
  TColor GlyphColor() const { return GlyphColor_; }
  void SetGlyphColor(TColor Value) { StoreAndSend(GlyphColor_, Value, scPagerCaption); }

 protected:
  void Notification(vcl::TComponent* Component, vcl::TOperation Operation) override;

 private:
  template <typename T>
  void StoreAndSend(T& Field, T Value, int Code) {
    if (Field == Value) return;
    Field = Value;
    BroadcastChange(Code);
  }
  vcl::TNotifyEvent Sender(int Code) {
    return [this, Code](vcl::TObject*) { BroadcastChange(Code); };
  }

  std::vector<vcl::TControl*> Controls_;
  bool ControlsFreed_ = false;
  controls::TCustomLumMenuStyler* LumMenuStyler_ = nullptr;
  controls::TCustomLumMenuStyler* CurrentMenuStyler_ = nullptr;
  controls::TLumMenuStyler* InternalMenuStyler_ = nullptr;
  vcl::TBitmap* BackGround_;
  bool BackGroundTransparent_ = true;
  TBackGroundDisplay BackGroundDisplay_ = bdTile;
  vcl::TFont* Font_;
  TDragGripStyle DragGripStyle_ = dsDots;
  vcl::TBitmap* DragGripImage_;
  vcl::TBitmap* RightHandleImage_;
  bool TransparentToolBars_ = false;
  bool RoundedLook_ = true;
  TColor RightHandleColor_ = 0x9E9E9E, RightHandleColorTo_ = 0, RightHandleColorHot_ = 0xD2BDB6,
         RightHandleColorHotTo_ = 0, RightHandleColorDown_ = 0x76C1FF, RightHandleColorDownTo_ = 0x2DA0FF;
  TColor FloatingWindowBorderColor_ = 0x6D6D6D;
  int FloatingWindowBorderWidth_ = 2;
  TCaptionAppearance* CaptionAppearance_;
  bool Edge3D_ = false;
  uint8_t Edge3DKind_ = 0;
  TVistaGradientBackground* Color_;
  TGradientBackground* DockColor_;
  TButtonAppearance* ButtonAppearance_;
  TColor BorderColor_ = vcl::clNone, BorderColorHot_ = vcl::clNone;
  TVistaGradientBackground* ColorHot_;
  vcl::TFont* CaptionFont_;
  TContainerAppearance* ContainerAppearance_;
  controls::TGlowButtonAppearance* GlowButtonAppearance_;
  controls::TGlowButtonAppearance* CompactGlowButtonAppearance_;
  TVistaTextBackground* PagerCaption_;
  TTabAppearance* TabAppearance_;
  TVistaPageBackground* PageAppearance_;
  TGroupAppearance* GroupAppearance_;
  TQATAppearance* QATAppearance_;
  controls::REZORuvar ComponentStyle_ = controls::REZORuvar{};
  bool AltQATShape_ = false;
  TColor CornerColor_ = 0;
  TColor GlyphColor_ = 0;
  bool SystemFont_ = true;
};

}  // namespace ribbon
