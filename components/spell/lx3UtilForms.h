#pragma once
// The spell checker's window helpers: placing its dialogs on the screen
// clear of the word being checked, and telling rich-edit windows apart.
#include "spell/engine/lx3Types.h"
#include "vcl/Types.h"

namespace vcl {
class TCustomForm;
}

namespace spell {

// Moves the form to (left, top), clamped into the whole bounds of the
// monitor it is on; a form larger than its monitor ends with its right or
// bottom edge on the monitor's edge. Nothing for a null form.
void KeepFormOnMonitor(vcl::TCustomForm* form, Integer left, Integer top);
// Places the form beside a screen rectangle: with horizontal at the
// rectangle's left (pulled back inside the monitor), with vertical below
// it, or above it when there is no room below.
void PlaceFormNearRect(vcl::TCustomForm* form, const vcl::TRect& rect, bool horizontal, bool vertical);
// True when the window answers the rich-edit selection query (EM_EXGETSEL).
bool IsRichEditControl(vcl::HWND window);

}  // namespace spell
