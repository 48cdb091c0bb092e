#include "core/forms/CoreFormsU.h"

#include "core/SimulatorFrameU.h"
#include "core/VormekCmdU.h"
#include "core/forms/CustTagEditU.h"
#include "core/forms/VormekDevSetupU.h"

namespace core {

void InstallCoreForms() {
  SetShowTagDialog([](const AnsiString& title, TcustomTagParams& params) { return ShowTagDialog(title, params); });
  SetSimulatorFrameFactory([](vcl::TComponent* owner, TZelWebExt& webExt) -> IdeviceSimulatorControl* {
    return CreateSimulatorFrame(owner, webExt);
  });
}

}  // namespace core
