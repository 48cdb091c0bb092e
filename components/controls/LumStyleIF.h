#pragma once
// The style interface through which one preset look reaches many
// components, the Windows-version test components choose fonts and drawing
// by, and the lenient theme-library binding.
#include <cstdint>

#include "controls/ThemeLibraryBinding.h"

namespace vcl {
class TComponent;
}

namespace controls {

// The preset looks, stored in one byte.
enum class REZORuvar : uint8_t {
  tsOffice2003Blue,
  tsOffice2003Silver,
  tsOffice2003Olive,
  tsOffice2003Classic,
  tsOffice2007Luna,
  tsOffice2007Obsidian,
  tsWindowsXP,
  tsWhidbey,
  tsCustom,  // the component keeps its own colours: receivers change nothing
  tsOffice2007Silver,
  tsWindowsVista,
  tsWindows7,
  tsTerminal,
};
using enum REZORuvar;

// Implemented by components beside their class base. Callers find it with
// dynamic_cast (StyleAwareOf); a pointer to it never owns the component,
// which lives as long as its owner keeps it.
class IStyleAware {
 public:
  virtual void SetComponentStyle(REZORuvar AStyle) = 0;

 protected:
  virtual ~IStyleAware() = default;
};
// The name other component families use for the same interface.
using IComponentStyle = IStyleAware;

// The interface's identity where it has to be named as data.
inline constexpr char IID_IStyleAware[] = "{11AC2DDC-C087-4298-AB6E-EA1B5017511B}";

// The component's style interface, or null when it has none (never an
// error).
IStyleAware* StyleAwareOf(vcl::TComponent* component);

// True when the loaded "kernel32" exports "GetLocaleInfoEx" (a Windows
// Vista or later system); False without kernel32. Asks anew every call.
bool IsWindowsVistaOrLater();

// The lenient binding: a missing function stays null.
void BindThemeLibraryLenient();
void UnbindThemeLibraryLenient();
TThemeLibraryBinding& LenientThemeLibrary();

}  // namespace controls
