#include "controls/ThemeLibraryBinding.h"

#include "rtl/Exceptions.h"

namespace controls {

template <typename F>
void TThemeLibraryBinding::Store(const char* name, F& slot, int line) {
  vcl::FARPROC p = vcl::GetProcAddress(Library, name);
  slot = reinterpret_cast<F>(p);
  if (!p && strictness_ == TBindingStrictness::Strict) rtl::AssertionFailed("Assertion failure", unitName_, line);
}

void TThemeLibraryBinding::Bind() {
  if (ThemeLibraryLoaded) return;
  vcl::HMODULE h = vcl::LoadLibrary("UXTHEME.DLL");
  if (h < 32) return;
  Library = h;
  ThemeLibraryLoaded = true;
#define CONTROLS_THEME_LOOKUP(name) Store(#name, Entries.name, __LINE__);
  CONTROLS_THEME_FUNCTIONS(CONTROLS_THEME_LOOKUP)
#undef CONTROLS_THEME_LOOKUP
}

void TThemeLibraryBinding::Unbind() {
  if (!ThemeLibraryLoaded) return;
  vcl::FreeLibrary(Library);
  ThemeLibraryLoaded = false;
}

}  // namespace controls
