#include "controls/ControlsLibrary.h"

#include "controls/LumStyleIF.h"
#include "controls/LumXPVS.h"

namespace controls {

void StartUpControls() {
  BindThemeLibrary();
  BindThemeLibraryLenient();
}

void ShutDownControls() {
  UnbindThemeLibraryLenient();
  UnbindThemeLibrary();
}

}  // namespace controls
