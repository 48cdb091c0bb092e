#include "controls/ControlsLibrary.h"

#include "controls/LumGDIP.h"
#include "controls/LumMenuUtil.h"
#include "controls/LumStyleIF.h"
#include "controls/LumXPVS.h"

namespace controls {

void StartUpControls() {
  BindThemeLibrary();
  StartUpGdiplus();
  StartUpMenuUtil();
  BindThemeLibraryLenient();
}

void ShutDownControls() {
  UnbindThemeLibraryLenient();
  ShutDownGdiplus();
  UnbindThemeLibrary();
}

}  // namespace controls
