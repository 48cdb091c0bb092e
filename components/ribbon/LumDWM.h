#pragma once
// The ribbon's binding of the desktop window manager library: whether
// desktop composition (glass) is on, or E_NOTIMPL without the library.
#include "vcl/DesktopComposition.h"

namespace ribbon {

// Loads "DWMAPI.DLL" once; nothing while a handle is kept.
void LoadDwmLibrary();
// Frees the library when it was loaded (the unit's end).
void ReleaseDwmLibrary();
bool DwmLibraryLoaded();

vcl::HRESULT DwmIsCompositionEnabled(bool* Enabled);

}  // namespace ribbon
