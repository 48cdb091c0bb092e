#pragma once
// Start and stop of the library's units, called by the main block (and the
// test programs that need them) once, before any form is created and after
// the last one is gone. Nothing here runs at static initialisation.
namespace support {

// In unit order: the version records of the units, the platform probes
// (timer period, COM, versions).
void StartUpSupport();
// The reverse.
void ShutDownSupport();

}  // namespace support
