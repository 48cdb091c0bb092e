#include "core/SimulatorFrameU.h"

#include <utility>

namespace core {

namespace {

TSimulatorFrameFactory& SimulatorFrameFactorySlot() {
  static TSimulatorFrameFactory factory;
  return factory;
}

}  // namespace

void SetSimulatorFrameFactory(TSimulatorFrameFactory factory) { SimulatorFrameFactorySlot() = std::move(factory); }

bool HasSimulatorFrameFactory() { return static_cast<bool>(SimulatorFrameFactorySlot()); }

IdeviceSimulatorControl* CreateSimulatorControl(vcl::TComponent* owner, TZelWebExt& webExt) {
  const TSimulatorFrameFactory& factory = SimulatorFrameFactorySlot();
  return factory ? factory(owner, webExt) : nullptr;
}

}  // namespace core
