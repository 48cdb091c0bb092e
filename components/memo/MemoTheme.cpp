// The desktop theme's gutter colours and the preset looks of the style
// interface.
#include "memo/LumCustomMemo.h"
#include "memo/LumMemoSettings.h"
#include "rtl/SystemInfo.h"
#include "vcl/UxTheme.h"
#include "vcl/WinApi.h"

namespace memo {

namespace {

enum class TDesktopTheme { none, blue, olive, silver };

// Asks the theme library as a desktop program does: loaded for the
// question, its two functions looked up by name, freed again.
TDesktopTheme CurrentDesktopTheme() {
  rtl::OSVERSIONINFO version;
  version.dwOSVersionInfoSize = sizeof(version);
  if (!rtl::GetVersionEx(&version)) return TDesktopTheme::none;
  bool xpOrLater = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion > 0);
  if (!xpOrLater) return TDesktopTheme::none;
  vcl::HMODULE library = vcl::LoadLibrary("uxtheme.dll");
  if (!library) return TDesktopTheme::none;
  TDesktopTheme theme = TDesktopTheme::none;
  auto isThemeActive = reinterpret_cast<decltype(&vcl::IsThemeActive)>(vcl::GetProcAddress(library, "IsThemeActive"));
  auto getCurrentThemeName =
      reinterpret_cast<decltype(&vcl::GetCurrentThemeName)>(vcl::GetProcAddress(library, "GetCurrentThemeName"));
  if (isThemeActive && getCurrentThemeName && isThemeActive()) {
    char16_t file[255] = {}, color[255] = {}, size[255] = {};
    if (getCurrentThemeName(file, 255, color, 255, size, 255) == vcl::S_OK) {
      std::u16string scheme(color);
      if (scheme == u"NormalColor")
        theme = TDesktopTheme::blue;
      else if (scheme == u"HomeStead")
        theme = TDesktopTheme::olive;
      else if (scheme == u"Metallic")
        theme = TDesktopTheme::silver;
    }
  }
  vcl::FreeLibrary(library);
  return theme;
}

}  // namespace

void TLumCustomMemo::AdaptToTheme() {
  struct Row {
    TColor from, to;
  };
  static constexpr Row kRows[] = {
      {0xFFFFFF, vcl::clBtnFace},  // none
      {0xE0A57D, 0xFCE1CB},        // blue
      {0x8CC0B1, 0xCFF0EA},        // olive
      {0xB39698, 0xECE2E1},        // silver
  };
  const Row& row = kRows[static_cast<int>(CurrentDesktopTheme())];
  gutter_->SetGutterColor(row.from);
  gutter_->SetGutterColorTo(row.to);
}

void TLumCustomMemo::SetAutoThemeAdapt(bool v) {
  autoThemeAdapt_ = v;
  if (v) AdaptToTheme();
}

void TLumCustomMemo::ThemeChangedHook() {
  if (autoThemeAdapt_ && !Destroying()) AdaptToTheme();
}

void TLumCustomMemo::SetComponentStyle(controls::REZORuvar style) {
  struct Preset {
    TColor gutter, gutterTo, border;
  };
  using enum controls::REZORuvar;
  Preset p;
  switch (style) {
    case tsOffice2003Blue: p = {0xFCE1CB, 0xE0A57D, 0x962D00}; break;
    case tsOffice2003Silver: p = {0xECE2E1, 0xB39698, 0x947C7C}; break;
    case tsOffice2003Olive: p = {0xCFF0EA, 0x8CC0B1, 0x588060}; break;
    case tsOffice2003Classic: p = {0xFFFFFF, 0xCCD4D8, 0x808080}; break;
    case tsOffice2007Luna: p = {0xFFEFE3, 0xFFD2AF, 0xFFD2AF}; break;
    case tsOffice2007Obsidian: p = {0xF2F1F0, 0xC9C2BD, 0x5C534C}; break;
    case tsWindowsXP: p = {vcl::clBtnFace, vcl::clBtnFace, 0x000000}; break;
    case tsWhidbey: p = {0xA8C0C0, 0xF5F9FA, 0x962D00}; break;
    case tsOffice2007Silver: p = {0xF8F7F6, 0xE8E0DB, 0x74706F}; break;
    case tsWindowsVista: p = {0xFDF8F1, 0xFCEFD5, 0xFDDE99}; break;
    case tsWindows7: p = {0xFCDBC1, 0xFCEBDC, 0xCEA27D}; break;
    case tsTerminal: p = {vcl::clBtnFace, vcl::clBtnFace, 0x808080}; break;
    case tsCustom:
    default: p = {gutter_->GutterColor(), gutter_->GutterColorTo(), borderColor_}; break;
  }
  gutter_->SetGutterColor(p.gutter);
  gutter_->SetGutterColorTo(p.gutterTo);
  borderColor_ = p.border;
  gutter_->SetBorderColor(borderColor_);
  Invalidate();
}

}  // namespace memo
