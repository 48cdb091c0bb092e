#pragma once
// The start-up call of the windowed program: hands the module tooling core
// the forms it reaches through its hooks. The batch mode never calls it, so
// it never links a form.
namespace core {

// Installs the tag dialog (SetShowTagDialog) and the simulator's setup
// frame (SetSimulatorFrameFactory). Calling it again does no harm.
void InstallCoreForms();

}  // namespace core
