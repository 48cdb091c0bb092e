#pragma once
// Start and stop of the library's units, called by the main block (and the
// test programs) once, before any form is created and after the last one
// is gone. Nothing here runs at static initialisation.
namespace controls {

// In unit order: the library's bitmaps, the strict theme binding, GDI+,
// the menu kit's probe of the layered-window calls, the menus' switch of
// the menu animation, the lenient theme binding.
void StartUpControls();
// The reverse.
void ShutDownControls();

}  // namespace controls
