// The office toolbar styler: fourteen preset looks chosen by Style, each
// rewriting most of the styler's colours at once; the desktop's colour
// scheme followed on request (AutoThemeAdapt); the application-wide style
// taken through the style interface.
#pragma once

#include <cstdint>
#include <optional>

#include "controls/LumMenuOfficeStyler.h"
#include "controls/LumStyleIF.h"
#include "ribbon/RorIvezEviStyler.h"
#include "vcl/Controls.h"

namespace ribbon {

enum class TToolBarStyle : uint8_t {
  bsOffice2003Blue,
  bsOffice2003Silver,
  bsOffice2003Olive,
  bsOffice2003Classic,
  bsOffice2007Luna,
  bsOffice2007Obsidian,
  bsWindowsXP,
  bsWhidbeyStyle,
  bsCustom,
  bsOffice2007Silver,
  bsOfficeXP,
  bsWindowsVista,
  bsWindows7,
  bsTerminal,
};
using enum TToolBarStyle;

// True on a platform reporting version 5.1 or later.
bool IsWindowsXPOrLater();
// The desktop's colour scheme, asked as the menus' styler asks it: 1
// "NormalColor", 2 "HomeStead", 3 "Metallic", 0 for anything else, themes
// off or no theme service.
inline int DetectXPColorScheme() { return controls::CurrentXPColorScheme(); }

// The never-shown control that reports the desktop's theme-changed message,
// shared with the menus' styler.
using TNotifierWindow = controls::TNotifierWindow;

class TRorIvezEviOfficeStyler : public TCustomRorIvezEviStyler, public controls::IStyleAware {
 public:
  explicit TRorIvezEviOfficeStyler(vcl::TComponent* Owner);
  ~TRorIvezEviOfficeStyler() override;

  TToolBarStyle Style() const { return Style_; }
  // Runs the preset of Value (bsCustom: only the common part) through the
  // setters, so every record tells the controls as values arrive, then
  // broadcasts scColors once more. The current value does nothing.
  void SetStyle(TToolBarStyle Value);
  // A plain switch: it takes effect at the next theme change or loading.
  bool AutoThemeAdapt() const { return AutoThemeAdapt_; }
  void SetAutoThemeAdapt(bool Value) { AutoThemeAdapt_ = Value; }
  // With AutoThemeAdapt: the Office 2003 preset of the desktop's scheme
  // (Classic for no theme or an unknown scheme); otherwise nothing.
  void ThemeChanged();
  void SetComponentStyle(controls::REZORuvar Value) override;
  TNotifierWindow* Notifier() const { return Notifier_; }
  // True when a designer dropped the styler on a form (then it starts with
  // the whole bsOffice2003Blue preset).
  bool FreshlyDesigned() const { return FreshlyDesigned_; }

 protected:
  void Loaded() override;

 private:
  TNotifierWindow* Notifier_ = nullptr;  // a component the styler owns
  TToolBarStyle Style_ = bsCustom;
  bool AutoThemeAdapt_ = false;
  bool FreshlyDesigned_ = false;
};

// Bits 0-7 and 16-23 exchanged: the preset tables kept in the other byte
// order go through it.
constexpr vcl::TColor SwapRedBlue(vcl::TColor Value) {
  return (Value & 0xFF00FF00u) | ((Value & 0xFFu) << 16) | ((Value >> 16) & 0xFFu);
}

}  // namespace ribbon
