// The toolbar unit's colour records. Which setters compare and which fire
// on every write differs by record; the comments at each say why.
#include "ribbon/RorIvezEviRecords.h"

#include "controls/LumStyleIF.h"
#include "rtl/Exceptions.h"
#include "rtl/IniFiles.h"
#include "rtl/Registry.h"

namespace ribbon {

void CheckListRead(int Index, int Count) {
  if (Index >= Count) throw rtl::EListError("Index out of bounds in list read access");
}

void CheckListWrite(int Index, int Count) {
  if (Index >= Count) throw rtl::EListError("Index out of bounds in list write access");
}

rtl::AnsiString DefaultToolbarFontName() {
  return controls::IsWindowsVistaOrLater() ? "Segoe UI" : "Tahoma";
}

// ---- TGradientBackground ---------------------------------------------------

TGradientBackground::TGradientBackground() {
  // Through the setters, before any handler can be hooked.
  SetColor(vcl::clWhite);
  SetColorTo(vcl::clBtnFace);
  SetDirection(gdHorizontal);
  SetSteps(64);
}

void TGradientBackground::Changed() {
  if (OnChange) OnChange(this);
}

// A gradient owner repaints on every write, even of the same value: the
// form loader's writes are what make a freshly loaded container repaint.
void TGradientBackground::SetColor(TColor Value) {
  Color_ = Value;
  Changed();
}

void TGradientBackground::SetColorTo(TColor Value) {
  ColorTo_ = Value;
  Changed();
}

void TGradientBackground::SetDirection(TGradientDirection Value) {
  Direction_ = Value;
  Changed();
}

void TGradientBackground::SetSteps(int Value) {
  Steps_ = Value;
  Changed();
}

void TGradientBackground::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TGradientBackground*>(Source);
  if (!from) return;
  Color_ = from->Color_;
  ColorTo_ = from->ColorTo_;
  Direction_ = from->Direction_;
  Steps_ = from->Steps_;
}

// ---- TMirrorGradient -------------------------------------------------------

TMirrorGradient::TMirrorGradient()
    : Color_(vcl::clWhite), ColorTo_(vcl::clBtnFace), ColorMirror_(0xEDD9C8), ColorMirrorTo_(0xFFF4E3) {}

void TMirrorGradient::Store(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TMirrorGradient::SetColor(TColor Value) { Store(Color_, Value); }
void TMirrorGradient::SetColorTo(TColor Value) { Store(ColorTo_, Value); }
void TMirrorGradient::SetColorMirror(TColor Value) { Store(ColorMirror_, Value); }
void TMirrorGradient::SetColorMirrorTo(TColor Value) { Store(ColorMirrorTo_, Value); }

void TMirrorGradient::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TMirrorGradient*>(Source);
  if (!from) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  Color_ = from->Color_;
  ColorTo_ = from->ColorTo_;
  ColorMirror_ = from->ColorMirror_;
  ColorMirrorTo_ = from->ColorMirrorTo_;
}

// ---- TVistaGradientBackground ----------------------------------------------

TVistaGradientBackground::TVistaGradientBackground() : Mirror_(new TMirrorGradient) {}

TVistaGradientBackground::~TVistaGradientBackground() { delete Mirror_; }

void TVistaGradientBackground::SetMirror(const TMirrorGradient* Value) { Mirror_->Assign(Value); }

void TVistaGradientBackground::Assign(const vcl::TPersistent* Source) {
  TGradientBackground::Assign(Source);
  if (const auto* from = dynamic_cast<const TVistaGradientBackground*>(Source)) Mirror_->Assign(from->Mirror_);
}

// ---- TButtonAppearance -----------------------------------------------------

TButtonAppearance::TButtonAppearance()
    : Color_(vcl::clNone),
      ColorTo_(vcl::clNone),
      ColorChecked_(0xD8D5D4),
      ColorCheckedTo_(vcl::clNone),
      ColorDown_(0xB59285),
      ColorDownTo_(vcl::clNone),
      ColorHot_(0xD2BDB6),
      ColorHotTo_(vcl::clNone),
      CaptionTextColor_(vcl::clBlack),
      CaptionTextColorHot_(vcl::clBlack),
      CaptionTextColorDown_(vcl::clBlack),
      CaptionTextColorChecked_(vcl::clBlack),
      GradientDirection_(gdVertical),
      GradientDirectionHot_(gdVertical),
      GradientDirectionDown_(gdVertical),
      GradientDirectionChecked_(gdVertical),
      BorderColor_(vcl::clNone),
      BorderDownColor_(0x6A240A),
      BorderHotColor_(0x6A240A),
      BorderCheckedColor_(0x6A240A),
      CaptionFont_(new vcl::TFont),
      SystemFont_(true) {
  CaptionFont_->SetName(DefaultToolbarFontName());
}

TButtonAppearance::~TButtonAppearance() { delete CaptionFont_; }

void TButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TButtonAppearance::SetCaptionFont(const vcl::TFont* Value) {
  CaptionFont_->Assign(Value);
  Changed();
}

void TButtonAppearance::SetSystemFont(bool Value) {
  if (SystemFont_ == Value) return;
  SystemFont_ = Value;
  if (Value) CaptionFont_->SetName(DefaultToolbarFontName());
}

void TButtonAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TButtonAppearance*>(Source);
  if (!from) return;
  Color_ = from->Color_;
  ColorTo_ = from->ColorTo_;
  ColorHot_ = from->ColorHot_;
  ColorHotTo_ = from->ColorHotTo_;
  ColorDown_ = from->ColorDown_;
  ColorDownTo_ = from->ColorDownTo_;
  ColorChecked_ = from->ColorChecked_;
  ColorCheckedTo_ = from->ColorCheckedTo_;
  CaptionTextColor_ = from->CaptionTextColor_;
  CaptionTextColorHot_ = from->CaptionTextColorHot_;
  CaptionTextColorDown_ = from->CaptionTextColorDown_;
  CaptionTextColorChecked_ = from->CaptionTextColorChecked_;
  GradientDirection_ = from->GradientDirection_;
  BorderColor_ = from->BorderColor_;
  BorderHotColor_ = from->BorderHotColor_;
  BorderDownColor_ = from->BorderDownColor_;
  BorderCheckedColor_ = from->BorderCheckedColor_;
}

// ---- TContainerAppearance --------------------------------------------------

TContainerAppearance::TContainerAppearance() : LineColor_(vcl::clBtnShadow), Line3D_(true) {}

void TContainerAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TContainerAppearance::SetLineColor(TColor Value) {
  if (LineColor_ == Value) return;
  LineColor_ = Value;
  Changed();
}

void TContainerAppearance::SetLine3D(bool Value) {
  if (Line3D_ == Value) return;
  Line3D_ = Value;
  Changed();
}

void TContainerAppearance::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TContainerAppearance*>(Source);
  if (!from) {
    vcl::TPersistent::Assign(Source);
    return;
  }
  SetLineColor(from->LineColor_);
  SetLine3D(from->Line3D_);
}

// ---- TPersistence ----------------------------------------------------------

TPersistence::TPersistence(vcl::TCustomControl* Owner) : Owner_(Owner) {}

TPersistence::~TPersistence() = default;

std::unique_ptr<rtl::TCustomIniFile> TPersistence::OpenStore() const {
  if (Location_ == TPersistenceLocation::plIniFile) return std::make_unique<rtl::TMemIniFile>(Key_);
  return std::make_unique<rtl::TRegistryIniFile>(Key_);
}

void TPersistence::Changed() {
  if (OnChange) OnChange(this);
}

void TPersistence::SetLocation(TPersistenceLocation Value) {
  if (Location_ == Value) return;
  Location_ = Value;
  Changed();
}

void TPersistence::SetKey(const rtl::AnsiString& Value) {
  if (Key_ == Value) return;
  Key_ = Value;
  Changed();
}

void TPersistence::SetSection(const rtl::AnsiString& Value) {
  if (Section_ == Value) return;
  Section_ = Value;
  Changed();
}

void TPersistence::SetEnabled(bool Value) {
  if (Enabled_ == Value) return;
  Enabled_ = Value;
  Changed();
}

void TPersistence::Assign(const vcl::TPersistent* Source) {
  const auto* from = dynamic_cast<const TPersistence*>(Source);
  if (!from) return;
  Location_ = from->Location_;
  Key_ = from->Key_;
  Section_ = from->Section_;
  Enabled_ = from->Enabled_;
}

}  // namespace ribbon
