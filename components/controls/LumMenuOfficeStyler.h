#pragma once
// The office menu styler: twelve colour presets chosen by Style, the
// desktop's colour scheme followed on request, and the whole-application
// presets taken through the style interface.
#include <cstdint>

#include "controls/LumMenus.h"
#include "controls/LumStyleIF.h"
#include "vcl/Controls.h"

namespace controls {

enum class TOfficeStyle : uint8_t {
  osOffice2003Blue,
  osOffice2003Silver,
  osOffice2003Olive,
  osOfficeXP,
  osOffice2007Luna,
  osOffice2007Obsidian,
  osCustom,
  osOffice2007Silver,
  osVista,
  osWhidbey,
  osWindows7,
  osTerminal,
};
using enum TOfficeStyle;

// A windowless-looking control that only hears the desktop's theme-changed
// message (WM_THEMECHANGED) and reports it.
class TNotifierWindow : public vcl::TWinControl {
 public:
  explicit TNotifierWindow(vcl::TComponent* owner);
  void WndProc(vcl::TMessage& message) override;
  vcl::TNotifyEvent OnThemeChange;
};

// The desktop's colour scheme: 1 "NormalColor", 2 "HomeStead", 3
// "Metallic", 0 anything else or no themes (asked of "uxtheme.dll", which
// is loaded and released for the question).
Integer CurrentXPColorScheme();

class TLumMenuOfficeStyler : public TCustomLumMenuStyler, public IStyleAware {
 public:
  explicit TLumMenuOfficeStyler(vcl::TComponent* owner);
  ~TLumMenuOfficeStyler() override;

  TOfficeStyle Style() const { return style_; }
  // Assigns the preset's colours through the groups' setters (osCustom
  // none), then redraws a linked main menu's bar.
  void SetStyle(TOfficeStyle value);
  bool AutoThemeAdapt() const { return autoThemeAdapt_; }
  void SetAutoThemeAdapt(bool value) { autoThemeAdapt_ = value; }
  // With AutoThemeAdapt: the preset of the desktop's colour scheme.
  void ThemeChanged();
  void SetComponentStyle(REZORuvar AStyle) override;
  TNotifierWindow* Notifier() const { return notifier_; }

 protected:
  void Loaded() override;

 private:
  TNotifierWindow* notifier_ = nullptr;  // owned (a component this styler owns)
  TOfficeStyle style_ = osOffice2003Blue;
  bool autoThemeAdapt_ = false;
};

}  // namespace controls
