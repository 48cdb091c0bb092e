#include "controls/LumXPVS.h"

namespace controls {

TThemeLibraryBinding& ThemeLibrary() {
  static TThemeLibraryBinding* binding =  // lives as long as the process
      new TThemeLibraryBinding(TBindingStrictness::Strict, "LumXPVS");
  return *binding;
}

void BindThemeLibrary() { ThemeLibrary().Bind(); }
void UnbindThemeLibrary() { ThemeLibrary().Unbind(); }

}  // namespace controls
