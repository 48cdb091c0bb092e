// The ribbon's tab, page, caption, group and quick access colour records,
// the pager's caption and tab metrics, and the pager's tab groups. Plain
// settings: each tells its owner of a change through one OnChange.
#pragma once

#include "controls/LumGlowButton.h"
#include "rtl/Collection.h"
#include "ribbon/RorIvezEviRecords.h"

namespace ribbon {

using controls::TGDIPGradient;

// Setters that compare and notify only on a difference.
#define TOLVANE_RIBBON_SETTING(Type, Name) \
  Type Name() const { return Name##_; }    \
  void Set##Name(Type Value) { Store(Name##_, Value); }

// Base of the records here: the change event and the compare-and-notify
// store every scalar setter goes through.
class TRibbonRecord : public vcl::TPersistent {
 public:
  vcl::TNotifyEvent OnChange;
  void Changed() {
    if (OnChange) OnChange(this);
  }

 protected:
  template <typename T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
};

// The ribbon's default font: the desktop's name at size 8.
void InitRibbonFont(vcl::TFont* Font);

class TLumPageCaption : public TRibbonRecord {
 public:
  TLumPageCaption();
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(rtl::AnsiString, Caption)
  TOLVANE_RIBBON_SETTING(bool, Visible)
  TOLVANE_RIBBON_SETTING(int, Height)
  TOLVANE_RIBBON_SETTING(int, Indent)
  TOLVANE_RIBBON_SETTING(int, MinWidth)
  int RightIndent() const { return RightIndent_; }
  // Kept by the pager for its caption buttons; never streamed.
  void SetRightIndent(int Value) { RightIndent_ = Value; }

 private:
  rtl::AnsiString Caption_;
  bool Visible_ = true;
  int Height_ = 27, Indent_ = 100, MinWidth_ = 100, RightIndent_ = 0;
};

class TRIETabSettings : public TRibbonRecord {
 public:
  TRIETabSettings() = default;
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(int, LeftMargin)
  TOLVANE_RIBBON_SETTING(int, RightMargin)
  TOLVANE_RIBBON_SETTING(int, StartMargin)
  TOLVANE_RIBBON_SETTING(int, EndMargin)
  TOLVANE_RIBBON_SETTING(int, Height)
  TOLVANE_RIBBON_SETTING(int, Spacing)
  // How far the pager may squeeze tabs that do not fit.
  int SpacingLimit() const { return 3; }
  int MarginLimit() const { return 3; }

 private:
  int LeftMargin_ = 4, RightMargin_ = 4, StartMargin_ = 60, EndMargin_ = 0, Height_ = 26, Spacing_ = 4;
};

class TCustomTabAppearance : public TRibbonRecord {
 public:
  TCustomTabAppearance();
  ~TCustomTabAppearance() override;
  void Assign(const vcl::TPersistent* Source) override;

  TOLVANE_RIBBON_SETTING(TColor, BorderColor)
  // The border and highlight colours below notify like every other colour,
  // so that a preset run repaints the tabs.
  TOLVANE_RIBBON_SETTING(TColor, BorderColorHot)
  TOLVANE_RIBBON_SETTING(TColor, BorderColorSelected)
  TOLVANE_RIBBON_SETTING(TColor, BorderColorSelectedHot)
  TOLVANE_RIBBON_SETTING(TColor, BorderColorDisabled)
  TOLVANE_RIBBON_SETTING(TColor, BorderColorDown)
  TOLVANE_RIBBON_SETTING(TColor, Color)
  TOLVANE_RIBBON_SETTING(TColor, ColorTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorSelected)
  TOLVANE_RIBBON_SETTING(TColor, ColorSelectedTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorDisabled)
  TOLVANE_RIBBON_SETTING(TColor, ColorDisabledTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorHot)
  TOLVANE_RIBBON_SETTING(TColor, ColorHotTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirror)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorHot)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorHotTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorSelected)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorSelectedTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorDisabled)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorDisabledTo)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, Gradient)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientMirror)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientHot)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientMirrorHot)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientSelected)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientMirrorSelected)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientDisabled)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientMirrorDisabled)
  TOLVANE_RIBBON_SETTING(TColor, TextColor)
  TOLVANE_RIBBON_SETTING(TColor, TextColorHot)
  TOLVANE_RIBBON_SETTING(TColor, TextColorSelected)
  TOLVANE_RIBBON_SETTING(TColor, TextColorDisabled)
  TOLVANE_RIBBON_SETTING(TColor, ShadowColor)
  TOLVANE_RIBBON_SETTING(TColor, HighLightColor)
  TOLVANE_RIBBON_SETTING(TColor, HighLightColorHot)
  TOLVANE_RIBBON_SETTING(TColor, HighLightColorSelected)
  TOLVANE_RIBBON_SETTING(TColor, HighLightColorSelectedHot)
  TOLVANE_RIBBON_SETTING(TColor, HighLightColorDown)

  vcl::TFont* Font() const { return Font_; }
  void SetFont(const vcl::TFont* Value) { Font_->Assign(Value); }
  bool SystemFont() const { return SystemFont_; }
  void SetSystemFont(bool Value);
  // The tab row's background; its changes reach this record's OnChange.
  TGradientBackground* BackGround() const { return BackGround_; }
  void SetBackGround(const TGradientBackground* Value) { BackGround_->Assign(Value); }

 private:
  TColor BorderColor_, BorderColorHot_, BorderColorSelected_, BorderColorSelectedHot_, BorderColorDisabled_,
      BorderColorDown_;
  TColor Color_, ColorTo_, ColorSelected_, ColorSelectedTo_, ColorDisabled_, ColorDisabledTo_, ColorHot_, ColorHotTo_;
  TColor ColorMirror_, ColorMirrorTo_, ColorMirrorHot_, ColorMirrorHotTo_, ColorMirrorSelected_,
      ColorMirrorSelectedTo_, ColorMirrorDisabled_, ColorMirrorDisabledTo_;
  TGDIPGradient Gradient_, GradientMirror_, GradientHot_, GradientMirrorHot_, GradientSelected_,
      GradientMirrorSelected_, GradientDisabled_, GradientMirrorDisabled_;
  TColor TextColor_, TextColorHot_, TextColorSelected_, TextColorDisabled_;
  TColor ShadowColor_, HighLightColor_, HighLightColorHot_, HighLightColorSelected_, HighLightColorSelectedHot_,
      HighLightColorDown_;
  vcl::TFont* Font_;
  bool SystemFont_ = true;
  TGradientBackground* BackGround_;
};

class TTabAppearance : public TCustomTabAppearance {};

class TVistaBackground : public TRibbonRecord {
 public:
  TVistaBackground() = default;
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(TColor, BorderColor)
  TOLVANE_RIBBON_SETTING(TColor, Color)
  TOLVANE_RIBBON_SETTING(TColor, ColorTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirror)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorTo)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, Gradient)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientMirror)
  TOLVANE_RIBBON_SETTING(int, Steps)
  TColor ShadowColor() const { return ShadowColor_; }
  TColor HighLightColor() const { return HighLightColor_; }

 protected:
  TColor BorderColor_ = vcl::clGray, Color_ = vcl::clWhite, ColorTo_ = vcl::clWhite, ColorMirror_ = vcl::clSilver,
         ColorMirrorTo_ = vcl::clWhite;
  TGDIPGradient Gradient_ = controls::ggVertical, GradientMirror_ = controls::ggVertical;
  int Steps_ = 64;
  TColor ShadowColor_ = 0xC4AA96, HighLightColor_ = 0xFDF9CE;
};

class TVistaPageBackground : public TVistaBackground {
 public:
  // Notify on a difference like the other colours, so the page repaints.
  void SetShadowColor(TColor Value) { Store(ShadowColor_, Value); }
  void SetHighLightColor(TColor Value) { Store(HighLightColor_, Value); }
};

class TVistaTextBackground : public TVistaBackground {
 public:
  TVistaTextBackground();
  ~TVistaTextBackground() override;
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(TColor, TextColor)
  TOLVANE_RIBBON_SETTING(TColor, TextColorExtended)
  vcl::TFont* Font() const { return Font_; }
  void SetFont(const vcl::TFont* Value) { Font_->Assign(Value); }
  bool SystemFont() const { return SystemFont_; }
  void SetSystemFont(bool Value);

 private:
  TColor TextColor_ = vcl::clBlue, TextColorExtended_ = vcl::clGray;
  vcl::TFont* Font_;
  bool SystemFont_ = true;
};

class TCaptionAppearance : public TRibbonRecord {
 public:
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(TColor, CaptionColor)
  TOLVANE_RIBBON_SETTING(TColor, CaptionColorTo)
  TOLVANE_RIBBON_SETTING(TColor, CaptionTextColor)
  TOLVANE_RIBBON_SETTING(TColor, CaptionBorderColor)
  TOLVANE_RIBBON_SETTING(TColor, CaptionColorHot)
  TOLVANE_RIBBON_SETTING(TColor, CaptionColorHotTo)
  TOLVANE_RIBBON_SETTING(TColor, CaptionTextColorHot)
  TOLVANE_RIBBON_SETTING(TColor, CaptionBorderColorHot)

 private:
  TColor CaptionColor_ = vcl::clGray, CaptionColorTo_ = vcl::clNone, CaptionTextColor_ = vcl::clWhite,
         CaptionBorderColor_ = vcl::clNone, CaptionColorHot_ = vcl::clNone, CaptionColorHotTo_ = vcl::clNone,
         CaptionTextColorHot_ = vcl::clWhite, CaptionBorderColorHot_ = vcl::clNone;
};

class TToolBarAppearance : public TRibbonRecord {
 public:
  TToolBarAppearance();
  ~TToolBarAppearance() override;
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(TColor, BorderColor)
  TOLVANE_RIBBON_SETTING(TColor, BorderColorHot)
  // Owned gradients, not watched: painters read them at paint time.
  TGradientBackground* Color() const { return Color_; }
  void SetColor(const TGradientBackground* Value) { Color_->Assign(Value); }
  TGradientBackground* ColorHot() const { return ColorHot_; }
  void SetColorHot(const TGradientBackground* Value) { ColorHot_->Assign(Value); }

 private:
  TColor BorderColor_ = vcl::clNone, BorderColorHot_ = vcl::clNone;
  TGradientBackground* Color_;
  TGradientBackground* ColorHot_;
};

class TGroupAppearance : public TRibbonRecord {
 public:
  TGroupAppearance();
  ~TGroupAppearance() override;
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(TColor, BorderColor)
  TOLVANE_RIBBON_SETTING(TColor, Color)
  TOLVANE_RIBBON_SETTING(TColor, ColorTo)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirror)
  TOLVANE_RIBBON_SETTING(TColor, ColorMirrorTo)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, Gradient)
  TOLVANE_RIBBON_SETTING(TGDIPGradient, GradientMirror)
  TOLVANE_RIBBON_SETTING(TColor, TextColor)
  vcl::TFont* Font() const { return Font_; }
  void SetFont(const vcl::TFont* Value) { Font_->Assign(Value); }
  bool SystemFont() const { return SystemFont_; }
  void SetSystemFont(bool Value);
  TCaptionAppearance* CaptionAppearance() const { return CaptionAppearance_; }
  void SetCaptionAppearance(const TCaptionAppearance* Value) { CaptionAppearance_->Assign(Value); }
  TVistaPageBackground* PageAppearance() const { return PageAppearance_; }
  void SetPageAppearance(const TVistaPageBackground* Value) { PageAppearance_->Assign(Value); }
  TCustomTabAppearance* TabAppearance() const { return TabAppearance_; }
  void SetTabAppearance(const TCustomTabAppearance* Value) { TabAppearance_->Assign(Value); }
  TToolBarAppearance* ToolBarAppearance() const { return ToolBarAppearance_; }
  void SetToolBarAppearance(const TToolBarAppearance* Value) { ToolBarAppearance_->Assign(Value); }

 private:
  TColor BorderColor_ = 0xA3B8AC, Color_ = vcl::clWhite, ColorTo_ = vcl::clWhite, ColorMirror_ = vcl::clSilver,
         ColorMirrorTo_ = vcl::clWhite;
  TGDIPGradient Gradient_ = controls::ggVertical, GradientMirror_ = controls::ggVertical;
  TColor TextColor_ = vcl::clBlue;
  vcl::TFont* Font_;
  bool SystemFont_ = true;
  TCaptionAppearance* CaptionAppearance_;
  TVistaPageBackground* PageAppearance_;
  TCustomTabAppearance* TabAppearance_;
  TToolBarAppearance* ToolBarAppearance_;
};

class TQATAppearance : public TRibbonRecord {
 public:
  void Assign(const vcl::TPersistent* Source) override;
  TOLVANE_RIBBON_SETTING(TColor, BorderColor)
  TOLVANE_RIBBON_SETTING(TColor, Color)
  TOLVANE_RIBBON_SETTING(TColor, ColorTo)
  TOLVANE_RIBBON_SETTING(TColor, FullSizeBorderColor)
  TOLVANE_RIBBON_SETTING(TColor, FullSizeColor)
  TOLVANE_RIBBON_SETTING(TColor, FullSizeColorTo)
  TOLVANE_RIBBON_SETTING(int, Steps)

 private:
  TColor BorderColor_ = vcl::clGray, Color_ = vcl::clWhite, ColorTo_ = vcl::clSilver, FullSizeBorderColor_ = 0xC59F81,
         FullSizeColor_ = 0xE3B28D, FullSizeColorTo_ = 0xE3B28D;
  int Steps_ = 64;
};

class TTabGroups;

class TTabGroupItem : public rtl::TCollectionItem, public vcl::TPersistent {
 public:
  explicit TTabGroupItem(rtl::TCollection* Collection);
  ~TTabGroupItem() override;
  // Caption, image and tab range by setter; alignment, appearance choice
  // and the group appearance stay.
  void Assign(const vcl::TPersistent* Source) override;

#define TOLVANE_RIBBON_ITEM_SETTING(Type, Name) \
  Type Name() const { return Name##_; }         \
  void Set##Name(Type Value) {                  \
    if (Name##_ == Value) return;               \
    Name##_ = Value;                            \
    Changed();                                  \
  }
  TOLVANE_RIBBON_ITEM_SETTING(rtl::AnsiString, Caption)
  TOLVANE_RIBBON_ITEM_SETTING(vcl::TAlignment, CaptionAlignment)
  TOLVANE_RIBBON_ITEM_SETTING(bool, DefaultAppearance)
  TOLVANE_RIBBON_ITEM_SETTING(int, ImageIndex)
  TOLVANE_RIBBON_ITEM_SETTING(int, TabIndexStart)
  TOLVANE_RIBBON_ITEM_SETTING(int, TabIndexEnd)
#undef TOLVANE_RIBBON_ITEM_SETTING
  TGroupAppearance* GroupAppearance() const { return GroupAppearance_; }
  void SetGroupAppearance(const TGroupAppearance* Value) { GroupAppearance_->Assign(Value); }

 private:
  // Tells the collection's change event, not a handler of its own.
  void Changed();
  rtl::AnsiString Caption_;
  vcl::TAlignment CaptionAlignment_ = vcl::TAlignment::taLeftJustify;
  bool DefaultAppearance_ = true;
  int ImageIndex_ = -1, TabIndexStart_ = -1, TabIndexEnd_ = -1;
  TGroupAppearance* GroupAppearance_;
};

class TTabGroups : public rtl::TCollectionOf<TTabGroupItem> {
 public:
  explicit TTabGroups(vcl::TPersistent* Owner) : Owner_(Owner) {}
  // Items need the collection's event while they go.
  ~TTabGroups() override { Clear(); }
  vcl::TPersistent* GetOwner() const { return Owner_; }
  // Fired by item setters with the collection as sender (adding and
  // deleting items do not fire it).
  std::function<void(TTabGroups* Sender)> OnChange;

 private:
  vcl::TPersistent* Owner_;
};

#undef TOLVANE_RIBBON_SETTING

}  // namespace ribbon
