#include "support/SupportLibrary.h"

#include "support/StartupProbes.h"

namespace support {

void StartUpSupport() { StartPlatformProbes(); }

void ShutDownSupport() { StopPlatformProbes(); }

}  // namespace support
