#include "controls/LumStyleIF.h"

#include "vcl/Components.h"

namespace controls {

IStyleAware* StyleAwareOf(vcl::TComponent* component) { return dynamic_cast<IStyleAware*>(component); }

bool IsWindowsVistaOrLater() {
  vcl::HMODULE kernel = vcl::GetModuleHandle("kernel32");
  if (kernel == 0) return false;
  // The function first appeared in Vista; the module is only searched.
  return vcl::GetProcAddress(kernel, "GetLocaleInfoEx") != nullptr;
}

TThemeLibraryBinding& LenientThemeLibrary() {
  static TThemeLibraryBinding* binding =  // lives as long as the process
      new TThemeLibraryBinding(TBindingStrictness::Lenient, "LumStyleIF");
  return *binding;
}

void BindThemeLibraryLenient() { LenientThemeLibrary().Bind(); }
void UnbindThemeLibraryLenient() { LenientThemeLibrary().Unbind(); }

}  // namespace controls
