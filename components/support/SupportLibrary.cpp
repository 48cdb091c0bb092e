#include "support/SupportLibrary.h"

#include "support/StartupProbes.h"
#include "support/UnitVersioning.h"

namespace support {

void StartUpSupport() {
  RegisterLibraryUnits();
  StartPlatformProbes();
}

void ShutDownSupport() {
  StopPlatformProbes();
  UnregisterLibraryUnits();
}

}  // namespace support
