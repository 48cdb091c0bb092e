// The toolbar unit's small persistent colour records (gradients, button
// states, container frame) and the record naming where a layout is kept.
// None of them paints: painters read their fields, owners hook OnChange.
#pragma once

#include <memory>

#include "vcl/Components.h"
#include "vcl/Controls.h"
#include "vcl/Graphics.h"

namespace rtl {
class TCustomIniFile;
}

namespace ribbon {

using vcl::TColor;

enum class TGradientDirection : uint8_t { gdHorizontal, gdVertical };
using enum TGradientDirection;

enum class TPersistenceLocation : uint8_t { plRegistry, plIniFile };
using enum TPersistenceLocation;

// Lists of the toolbar unit check an index at or past the count with these
// messages; negative indices are left to the list's own check.
void CheckListRead(int Index, int Count);
void CheckListWrite(int Index, int Count);

// The caption font name of the running desktop: "Segoe UI" where the
// system is Vista or later, else "Tahoma".
rtl::AnsiString DefaultToolbarFontName();

class TGradientBackground : public vcl::TPersistent {
 public:
  TGradientBackground();
  // Copies the four values silently from any gradient background; other
  // sources are ignored without an error.
  void Assign(const vcl::TPersistent* Source) override;

  TColor Color() const { return Color_; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return ColorTo_; }
  void SetColorTo(TColor Value);
  TGradientDirection Direction() const { return Direction_; }
  void SetDirection(TGradientDirection Value);
  int Steps() const { return Steps_; }
  void SetSteps(int Value);
  // Color, ColorTo and Direction are always written; Steps only when not 64.
  bool StepsStored() const { return Steps_ != 64; }

  // Fires on every set, also when the value is unchanged.
  vcl::TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  TColor Color_ = 0, ColorTo_ = 0;
  TGradientDirection Direction_ = gdHorizontal;
  int Steps_ = 0;
};

class TMirrorGradient : public vcl::TPersistent {
 public:
  TMirrorGradient();
  // From another mirror gradient copies silently; anything else goes to
  // the library's assignment (conversion error).
  void Assign(const vcl::TPersistent* Source) override;

  TColor Color() const { return Color_; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return ColorTo_; }
  void SetColorTo(TColor Value);
  TColor ColorMirror() const { return ColorMirror_; }
  void SetColorMirror(TColor Value);
  TColor ColorMirrorTo() const { return ColorMirrorTo_; }
  void SetColorMirrorTo(TColor Value);

  vcl::TNotifyEvent OnChange;

 private:
  void Store(TColor& Field, TColor Value);
  TColor Color_, ColorTo_, ColorMirror_, ColorMirrorTo_;
};

class TVistaGradientBackground : public TGradientBackground {
 public:
  TVistaGradientBackground();
  ~TVistaGradientBackground() override;
  void Assign(const vcl::TPersistent* Source) override;

  // The owned mirror stays; setting copies into it. Its changes fire its
  // own OnChange only.
  TMirrorGradient* Mirror() const { return Mirror_; }
  void SetMirror(const TMirrorGradient* Value);

 private:
  TMirrorGradient* Mirror_;
};

class TButtonAppearance : public vcl::TPersistent {
 public:
  TButtonAppearance();
  ~TButtonAppearance() override;
  // Copies colours, border colours, caption colours and GradientDirection
  // silently; the per-state directions, the font and SystemFont stay.
  void Assign(const vcl::TPersistent* Source) override;

#define TOLVANE_RIBBON_BTN_SETTING(Type, Name) \
  Type Name() const { return Name##_; }        \
  void Set##Name(Type Value) { Store(Name##_, Value); }
  TOLVANE_RIBBON_BTN_SETTING(TColor, Color)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorTo)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorChecked)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorCheckedTo)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorDown)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorDownTo)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorHot)
  TOLVANE_RIBBON_BTN_SETTING(TColor, ColorHotTo)
  TOLVANE_RIBBON_BTN_SETTING(TColor, CaptionTextColor)
  TOLVANE_RIBBON_BTN_SETTING(TColor, CaptionTextColorHot)
  TOLVANE_RIBBON_BTN_SETTING(TColor, CaptionTextColorDown)
  TOLVANE_RIBBON_BTN_SETTING(TColor, CaptionTextColorChecked)
  TOLVANE_RIBBON_BTN_SETTING(TGradientDirection, GradientDirection)
  // The per-state directions and the hot and down borders notify like the
  // rest, so that an owner repaints whichever member changed.
  TOLVANE_RIBBON_BTN_SETTING(TGradientDirection, GradientDirectionHot)
  TOLVANE_RIBBON_BTN_SETTING(TGradientDirection, GradientDirectionDown)
  TOLVANE_RIBBON_BTN_SETTING(TGradientDirection, GradientDirectionChecked)
  TOLVANE_RIBBON_BTN_SETTING(TColor, BorderColor)
  TOLVANE_RIBBON_BTN_SETTING(TColor, BorderDownColor)
  TOLVANE_RIBBON_BTN_SETTING(TColor, BorderHotColor)
  TOLVANE_RIBBON_BTN_SETTING(TColor, BorderCheckedColor)
#undef TOLVANE_RIBBON_BTN_SETTING

  vcl::TFont* CaptionFont() const { return CaptionFont_; }
  // Copies the font in and always notifies.
  void SetCaptionFont(const vcl::TFont* Value);
  bool SystemFont() const { return SystemFont_; }
  // Turning it on names the desktop's font again; never notifies.
  void SetSystemFont(bool Value);

  vcl::TNotifyEvent OnChange;

 private:
  template <typename T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  void Changed();

  TColor Color_, ColorTo_, ColorChecked_, ColorCheckedTo_, ColorDown_, ColorDownTo_, ColorHot_, ColorHotTo_;
  TColor CaptionTextColor_, CaptionTextColorHot_, CaptionTextColorDown_, CaptionTextColorChecked_;
  TGradientDirection GradientDirection_, GradientDirectionHot_, GradientDirectionDown_, GradientDirectionChecked_;
  TColor BorderColor_, BorderDownColor_, BorderHotColor_, BorderCheckedColor_;
  vcl::TFont* CaptionFont_;
  bool SystemFont_;
};

class TContainerAppearance : public vcl::TPersistent {
 public:
  TContainerAppearance();
  // From another container appearance through the setters (a difference
  // notifies); anything else: conversion error.
  void Assign(const vcl::TPersistent* Source) override;

  TColor LineColor() const { return LineColor_; }
  void SetLineColor(TColor Value);
  bool Line3D() const { return Line3D_; }
  void SetLine3D(bool Value);

  vcl::TNotifyEvent OnChange;

 private:
  void Changed();
  TColor LineColor_;
  bool Line3D_;
};

class TPersistence : public vcl::TPersistent {
 public:
  explicit TPersistence(vcl::TCustomControl* Owner);
  ~TPersistence() override;
  // From another persistence record copies silently; others are ignored.
  void Assign(const vcl::TPersistent* Source) override;

  vcl::TCustomControl* Owner() const { return Owner_; }
  TPersistenceLocation Location() const { return Location_; }
  void SetLocation(TPersistenceLocation Value);
  const rtl::AnsiString& Key() const { return Key_; }
  void SetKey(const rtl::AnsiString& Value);
  const rtl::AnsiString& Section() const { return Section_; }
  void SetSection(const rtl::AnsiString& Value);
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool Value);
  // The store that Location and Key name: the INI file read whole and
  // written once by UpdateFile, or the registry's key.
  std::unique_ptr<rtl::TCustomIniFile> OpenStore() const;

  vcl::TNotifyEvent OnChange;

 private:
  void Changed();
  vcl::TCustomControl* Owner_;
  TPersistenceLocation Location_ = plRegistry;
  rtl::AnsiString Key_, Section_;
  bool Enabled_ = false;
};

}  // namespace ribbon
