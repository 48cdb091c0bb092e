#pragma once
// The strict theme-library binding: the table of theme functions that the
// drop-downs and the grid call. Bound at start-up before any form exists;
// a library without one of the functions stops the start with an
// assertion error.
#include "controls/ThemeLibraryBinding.h"

namespace controls {

void BindThemeLibrary();
void UnbindThemeLibrary();
TThemeLibraryBinding& ThemeLibrary();

}  // namespace controls
