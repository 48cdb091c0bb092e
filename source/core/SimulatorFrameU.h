#pragma once
// How the web extension gets its simulator's setup frame. The frame is a
// window-layer form, so core only holds a factory: the windowed program
// installs it at start-up beside the tag dialog, and the batch mode, which
// installs none, never makes a frame.
//
//   core::SetSimulatorFrameFactory(...);                    // window layer
//   auto* control = core::CreateSimulatorControl(owner, webExt);
//   if (control) control->SetParentControl(panel);
#include <functional>

#include "core/DeviceSimulatorU.h"

namespace vcl {
class TComponent;
}

namespace core {

class TZelWebExt;

// Makes the setup frame for the web extension's simulator, attached to it
// and owned by owner.
using TSimulatorFrameFactory = std::function<IdeviceSimulatorControl*(vcl::TComponent* owner, TZelWebExt& webExt)>;

// Installs factory; an empty one takes the installed factory away.
void SetSimulatorFrameFactory(TSimulatorFrameFactory factory);
bool HasSimulatorFrameFactory();

// The setup frame the installed factory makes for webExt's simulator; null
// while no factory is installed.
IdeviceSimulatorControl* CreateSimulatorControl(vcl::TComponent* owner, TZelWebExt& webExt);

}  // namespace core
