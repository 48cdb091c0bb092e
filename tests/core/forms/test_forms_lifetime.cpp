// The four module forms made, shown and freed over and over, each with the
// objects it binds to: nothing may outlive its owner or be freed twice (the
// address build checks).
#include <gtest/gtest.h>

#include "FormsTestSupport.h"
#include "core/VormekCmdU.h"
#include "core/VormekProgrammerU.h"
#include "core/ZelWebExtU.h"
#include "core/forms/CustTagEditU.h"
#include "core/forms/DeviceConfigU.h"
#include "core/forms/DeviceSelU.h"
#include "core/forms/VormekDevSetupU.h"
#include "grid/GridComponent.h"

using namespace core;
using namespace forms_test;

TEST(FormsLifetime, MadeShownAndFreedInALoop) {
  TvormekProgrammer programmer;
  TDeviceManager manager(&programmer);
  TvormekDevList devices;
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    auto* tag = vcl::Create<TfrmCustTagEdit>(nullptr);
    TcustomTagParams params = VormekTagTemplate(round * 3 % 13);
    for (auto& p : params.Params) p.Value = p.Default;
    tag->LoadParams(params);
    tag->Show();

    TZelWebExt ext;
    auto* host = vcl::Create<vcl::TForm>(nullptr, 0);
    TFrmVormekDevSetup* frame = CreateSimulatorFrame(host, ext);
    frame->SetParentControl(host);
    host->Show();

    auto* select = vcl::Create<TFrmDeviceSel>(nullptr);
    select->SetDevices(&devices);
    select->PostDeviceFound();  // a message left in the queue when it goes
    select->Show();

    auto* config = vcl::Create<TFrmDeviceConfig>(nullptr);
    config->SetManager(&manager);
    manager.Group = round % TDeviceClient::kGroupCount;
    config->FillTable();
    config->Show();
    Pump();

    // Freed in another order each round; the frame before its simulator.
    if (round % 2) {
      vcl::Free(config);
      vcl::Free(select);
      vcl::Free(host);
      vcl::Free(tag);
    } else {
      vcl::Free(tag);
      vcl::Free(host);
      vcl::Free(select);
      vcl::Free(config);
    }
    Pump();
    EXPECT_EQ(ext.Simulator()->GetSimulatorControl(), nullptr);
  }
}
