#pragma once
// The ribbon's own binding of the visual-styles library: loaded once with a
// reference count, and the composited text call looked up on first use.
// A library lacking any of the functions counts as not loaded, so the
// program starts and the ribbon draws without themed text.
#include "controls/ThemeLibraryBinding.h"
#include "vcl/DesktopComposition.h"

namespace ribbon {

// Loads "UXTHEME.DLL" when not loaded yet and binds every function.
void LoadUxThemeLibrary();
// One use less; frees the library when it is loaded.
void ReleaseUxThemeLibrary();
bool UxThemeLibraryLoaded();
int UxThemeReferenceCount();
// The bound functions (all null while not loaded).
const controls::TThemeLibraryEntries& UxThemeEntries();

// The library's DrawThemeTextEx, or E_NOTIMPL without the library or it.
vcl::HRESULT DrawThemeTextEx(vcl::HTHEME Theme, vcl::TCanvas* DC, int Part, int State, const char16_t* Text,
                             int Count, rtl::Cardinal Flags, vcl::TRect* Rect, const vcl::DTTOPTS* Options);

}  // namespace ribbon
