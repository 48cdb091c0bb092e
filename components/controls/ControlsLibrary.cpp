#include "controls/ControlsLibrary.h"

#include "controls/LumGDIP.h"
#include "controls/LumMenuUtil.h"
#include "controls/LumMenus.h"
#include "controls/LumStyleIF.h"
#include "controls/LumXPVS.h"

namespace controls {

void RegisterControlsBitmaps();

void StartUpControls() {
  RegisterControlsBitmaps();
  BindThemeLibrary();
  StartUpGdiplus();
  StartUpMenuUtil();
  StartUpLumMenus();
  BindThemeLibraryLenient();
}

void ShutDownControls() {
  UnbindThemeLibraryLenient();
  ShutDownLumMenus();
  ShutDownGdiplus();
  UnbindThemeLibrary();
}

}  // namespace controls
