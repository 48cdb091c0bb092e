#include "core/forms/CoreFormsU.h"

#include "core/VormekCmdU.h"
#include "core/forms/CustTagEditU.h"

namespace core {

void InstallCoreForms() {
  SetShowTagDialog([](const AnsiString& title, TcustomTagParams& params) { return ShowTagDialog(title, params); });
}

}  // namespace core
