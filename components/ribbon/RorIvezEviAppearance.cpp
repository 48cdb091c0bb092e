// The ribbon's appearance records. Assign copies some members silently and
// others through their setters (so only those notify); the lists follow
// what each owner needs repainted after a styler copies one record over.
#include "ribbon/RorIvezEviAppearance.h"

namespace ribbon {

using controls::ggVertical;

void InitRibbonFont(vcl::TFont* Font) {
  Font->SetName(DefaultToolbarFontName());
  Font->SetSize(8);
}

// ---- TLumPageCaption -------------------------------------------------------

TLumPageCaption::TLumPageCaption() = default;

void TLumPageCaption::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TLumPageCaption*>(Source);
  if (!from) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  Caption_ = from->Caption_;
  Height_ = from->Height_;
  SetVisible(from->Visible_);
  SetIndent(from->Indent_);
  SetMinWidth(from->MinWidth_);
}

// ---- TRIETabSettings -------------------------------------------------------

void TRIETabSettings::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TRIETabSettings*>(Source);
  if (!from) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  SetLeftMargin(from->LeftMargin_);
  SetRightMargin(from->RightMargin_);
  SetHeight(from->Height_);
  SetStartMargin(from->StartMargin_);
  SetEndMargin(from->EndMargin_);
}

// ---- TCustomTabAppearance --------------------------------------------------

TCustomTabAppearance::TCustomTabAppearance()
    : BorderColor_(vcl::clBtnFace),
      BorderColorHot_(vcl::clBlue),
      BorderColorSelected_(vcl::clBtnFace),
      BorderColorSelectedHot_(vcl::clNone),
      BorderColorDisabled_(vcl::clNone),
      BorderColorDown_(vcl::clNone),
      Color_(vcl::clBtnFace),
      ColorTo_(vcl::clWhite),
      ColorSelected_(vcl::clWhite),
      ColorSelectedTo_(vcl::clBtnFace),
      ColorDisabled_(vcl::clNone),
      ColorDisabledTo_(vcl::clNone),
      ColorHot_(vcl::clYellow),
      ColorHotTo_(vcl::clNone),
      ColorMirror_(vcl::clWhite),
      ColorMirrorTo_(vcl::clWhite),
      ColorMirrorHot_(vcl::clNone),
      ColorMirrorHotTo_(vcl::clNone),
      ColorMirrorSelected_(vcl::clWhite),
      ColorMirrorSelectedTo_(vcl::clWhite),
      ColorMirrorDisabled_(vcl::clNone),
      ColorMirrorDisabledTo_(vcl::clNone),
      Gradient_(ggVertical),
      GradientMirror_(ggVertical),
      GradientHot_(ggVertical),
      GradientMirrorHot_(ggVertical),
      GradientSelected_(ggVertical),
      GradientMirrorSelected_(ggVertical),
      GradientDisabled_(ggVertical),
      GradientMirrorDisabled_(ggVertical),
      TextColor_(vcl::clBlue),
      TextColorHot_(vcl::clBlue),
      TextColorSelected_(vcl::clBlue),
      TextColorDisabled_(vcl::clWhite),
      ShadowColor_(0xE8C7AE),
      HighLightColor_(0xFFFABF),
      HighLightColorHot_(0xFDF4ED),
      HighLightColorSelected_(0x63CCF8),
      HighLightColorSelectedHot_(0xBDFFFF),
      HighLightColorDown_(0xFFFBD0),
      Font_(new vcl::TFont),
      BackGround_(new TGradientBackground) {
  InitRibbonFont(Font_);
  BackGround_->OnChange = [this](vcl::TObject*) { Changed(); };
}

TCustomTabAppearance::~TCustomTabAppearance() {
  delete BackGround_;
  delete Font_;
}

void TCustomTabAppearance::SetSystemFont(bool Value) {
  SystemFont_ = Value;
  if (Value) Font_->SetName(DefaultToolbarFontName());
}

void TCustomTabAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TCustomTabAppearance*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  BorderColor_ = f->BorderColor_;
  BorderColorHot_ = f->BorderColorHot_;
  BorderColorSelected_ = f->BorderColorSelected_;
  BorderColorSelectedHot_ = f->BorderColorSelectedHot_;
  BorderColorDisabled_ = f->BorderColorDisabled_;
  BorderColorDown_ = f->BorderColorDown_;
  Color_ = f->Color_;
  ColorTo_ = f->ColorTo_;
  ColorSelected_ = f->ColorSelected_;
  ColorSelectedTo_ = f->ColorSelectedTo_;
  ColorDisabled_ = f->ColorDisabled_;
  ColorDisabledTo_ = f->ColorDisabledTo_;
  ColorHot_ = f->ColorHot_;
  ColorHotTo_ = f->ColorHotTo_;
  ColorMirror_ = f->ColorMirror_;
  ColorMirrorTo_ = f->ColorMirrorTo_;
  ColorMirrorHot_ = f->ColorMirrorHot_;
  ColorMirrorHotTo_ = f->ColorMirrorHotTo_;
  ColorMirrorSelected_ = f->ColorMirrorSelected_;
  ColorMirrorSelectedTo_ = f->ColorMirrorSelectedTo_;
  ColorMirrorDisabled_ = f->ColorMirrorDisabled_;
  ColorMirrorDisabledTo_ = f->ColorMirrorDisabledTo_;
  Gradient_ = f->Gradient_;
  GradientMirror_ = f->GradientMirror_;
  GradientHot_ = f->GradientHot_;
  GradientMirrorHot_ = f->GradientMirrorHot_;
  GradientSelected_ = f->GradientSelected_;
  GradientMirrorSelected_ = f->GradientMirrorSelected_;
  GradientDisabled_ = f->GradientDisabled_;
  GradientMirrorDisabled_ = f->GradientMirrorDisabled_;
  TextColorSelected_ = f->TextColorSelected_;
  TextColorDisabled_ = f->TextColorDisabled_;
  ShadowColor_ = f->ShadowColor_;
  HighLightColor_ = f->HighLightColor_;
  HighLightColorHot_ = f->HighLightColorHot_;
  HighLightColorSelected_ = f->HighLightColorSelected_;
  HighLightColorSelectedHot_ = f->HighLightColorSelectedHot_;
  HighLightColorDown_ = f->HighLightColorDown_;
  SetTextColor(f->TextColor_);
  SetTextColorHot(f->TextColorHot_);
  Font_->Assign(f->Font_);
  BackGround_->Assign(f->BackGround_);
}

// ---- TVistaBackground and descendants --------------------------------------

void TVistaBackground::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TVistaBackground*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  Steps_ = f->Steps_;
  Color_ = f->Color_;
  ColorTo_ = f->ColorTo_;
  ColorMirror_ = f->ColorMirror_;
  ColorMirrorTo_ = f->ColorMirrorTo_;
  BorderColor_ = f->BorderColor_;
  ShadowColor_ = f->ShadowColor_;
  HighLightColor_ = f->HighLightColor_;
  SetGradient(f->Gradient_);
  SetGradientMirror(f->GradientMirror_);
}

TVistaTextBackground::TVistaTextBackground() : Font_(new vcl::TFont) { InitRibbonFont(Font_); }

TVistaTextBackground::~TVistaTextBackground() { delete Font_; }

void TVistaTextBackground::SetSystemFont(bool Value) {
  SystemFont_ = Value;
  if (Value) Font_->SetName(DefaultToolbarFontName());
}

void TVistaTextBackground::Assign(const vcl::TPersistent* Source) {
  TVistaBackground::Assign(Source);
  const auto* f = dynamic_cast<const TVistaTextBackground*>(Source);
  if (!f) return;
  SetTextColor(f->TextColor_);
  SetTextColorExtended(f->TextColorExtended_);
  Font_->Assign(f->Font_);
}

// ---- TCaptionAppearance ----------------------------------------------------

void TCaptionAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TCaptionAppearance*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  CaptionColor_ = f->CaptionColor_;
  CaptionColorTo_ = f->CaptionColorTo_;
  CaptionTextColor_ = f->CaptionTextColor_;
  CaptionBorderColor_ = f->CaptionBorderColor_;
  CaptionBorderColorHot_ = f->CaptionBorderColorHot_;
  CaptionColorHot_ = f->CaptionColorHot_;
  SetCaptionColorHotTo(f->CaptionColorHotTo_);
  SetCaptionTextColorHot(f->CaptionTextColorHot_);
}

// ---- TToolBarAppearance ----------------------------------------------------

TToolBarAppearance::TToolBarAppearance() : Color_(new TGradientBackground), ColorHot_(new TGradientBackground) {
  ColorHot_->SetColor(vcl::clNone);
  ColorHot_->SetColorTo(vcl::clNone);
}

TToolBarAppearance::~TToolBarAppearance() {
  delete ColorHot_;
  delete Color_;
}

void TToolBarAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TToolBarAppearance*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  Color_->Assign(f->Color_);
  ColorHot_->Assign(f->ColorHot_);
  BorderColor_ = f->BorderColor_;
  BorderColorHot_ = f->BorderColorHot_;
}

// ---- TGroupAppearance ------------------------------------------------------

TGroupAppearance::TGroupAppearance()
    : Font_(new vcl::TFont),
      CaptionAppearance_(new TCaptionAppearance),
      PageAppearance_(new TVistaPageBackground),
      TabAppearance_(new TCustomTabAppearance),
      ToolBarAppearance_(new TToolBarAppearance) {
  InitRibbonFont(Font_);
  auto forward = [this](vcl::TObject*) { Changed(); };
  CaptionAppearance_->OnChange = forward;
  PageAppearance_->OnChange = forward;
  TabAppearance_->OnChange = forward;
  ToolBarAppearance_->OnChange = forward;
}

TGroupAppearance::~TGroupAppearance() {
  delete ToolBarAppearance_;
  delete TabAppearance_;
  delete PageAppearance_;
  delete CaptionAppearance_;
  delete Font_;
}

void TGroupAppearance::SetSystemFont(bool Value) {
  SystemFont_ = Value;
  if (Value) Font_->SetName(DefaultToolbarFontName());
}

void TGroupAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TGroupAppearance*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  CaptionAppearance_->Assign(f->CaptionAppearance_);
  PageAppearance_->Assign(f->PageAppearance_);
  TabAppearance_->Assign(f->TabAppearance_);
  ToolBarAppearance_->Assign(f->ToolBarAppearance_);
  Color_ = f->Color_;
  ColorTo_ = f->ColorTo_;
  ColorMirror_ = f->ColorMirror_;
  ColorMirrorTo_ = f->ColorMirrorTo_;
  BorderColor_ = f->BorderColor_;
  TextColor_ = f->TextColor_;
  SetGradient(f->Gradient_);
  SetGradientMirror(f->GradientMirror_);
  Font_->Assign(f->Font_);
}

// ---- TQATAppearance --------------------------------------------------------

void TQATAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TQATAppearance*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  BorderColor_ = f->BorderColor_;
  Color_ = f->Color_;
  ColorTo_ = f->ColorTo_;
  FullSizeBorderColor_ = f->FullSizeBorderColor_;
  FullSizeColor_ = f->FullSizeColor_;
  SetFullSizeColorTo(f->FullSizeColorTo_);
}

// ---- TTabGroupItem ---------------------------------------------------------

TTabGroupItem::TTabGroupItem(rtl::TCollection* Collection)
    : rtl::TCollectionItem(Collection), GroupAppearance_(new TGroupAppearance) {
  GroupAppearance_->OnChange = [this](vcl::TObject*) { Changed(); };
}

TTabGroupItem::~TTabGroupItem() { delete GroupAppearance_; }

void TTabGroupItem::Changed() {
  auto* groups = dynamic_cast<TTabGroups*>(Collection());
  if (groups && groups->OnChange) groups->OnChange(groups);
}

void TTabGroupItem::Assign(const vcl::TPersistent* Source) {
  const auto* f = dynamic_cast<const TTabGroupItem*>(Source);
  if (!f) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  SetCaption(f->Caption_);
  SetImageIndex(f->ImageIndex_);
  SetTabIndexStart(f->TabIndexStart_);
  SetTabIndexEnd(f->TabIndexEnd_);
}

}  // namespace ribbon
