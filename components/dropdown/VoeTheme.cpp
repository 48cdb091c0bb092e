#include "dropdown/VoeTheme.h"

#include "controls/LumXPVS.h"

namespace dropdown {

bool DrawThemePart(vcl::TWinControl* window, vcl::TCanvas* canvas, ThemeClass cls, vcl::Integer part,
                   vcl::Integer state, const vcl::TRect& r) {
  const auto& e = controls::ThemeLibrary().Entries;
  if (!e.IsThemeActive || !e.OpenThemeData || !e.DrawThemeBackground || !e.CloseThemeData) return false;
  if (!e.IsThemeActive()) return false;
  const char16_t* name = cls == ThemeClass::Button ? u"button" : cls == ThemeClass::ComboBox ? u"combobox" : u"spin";
  vcl::HTHEME theme = e.OpenThemeData(window ? window->Handle() : 0, name);
  if (!theme) return false;
  e.DrawThemeBackground(theme, canvas, part, state, &r, nullptr);
  e.CloseThemeData(theme);
  return true;
}

}  // namespace dropdown
