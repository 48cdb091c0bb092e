#pragma once
// The mini-HTML routines that draw nothing, under the names the grid's
// operations call them by: sorting, filtering, copying, marking found text
// and the cell form controls use them without a window. They live in the
// drop-down library's window-free part, which the model links.
#include <string_view>

#include "dropdown/text/HtmlTextRoutines.h"
#include "grid/model/GridTypes.h"

namespace grid {

inline AnsiString StripHTML(std::string_view text) { return dropdown::StripHTML(text); }
// searchText wrapped in tagName tags wherever it occurs in the visible text.
inline AnsiString HiLightText(std::string_view text, std::string_view searchText, std::string_view tagName,
                              bool matchCase) {
  return dropdown::HighlightText(text, searchText, tagName, matchCase);
}
inline AnsiString UnHiLightText(std::string_view text, std::string_view tagName) {
  return dropdown::UnhighlightText(text, tagName);
}
inline bool HasControlTag(std::string_view html) { return dropdown::HasControlTag(html); }
inline AnsiString GetControlProp(std::string_view html, std::string_view id) {
  return dropdown::GetControlProp(html, id);
}
inline Integer GetControlMaxLen(std::string_view html, std::string_view id) {
  return dropdown::GetControlMaxLen(html, id);
}
inline bool SetControlValue(AnsiString& html, std::string_view id, std::string_view value) {
  return dropdown::SetControlValue(html, id, value);
}
// The next control after id that takes typing (not BUTTON, CHECK or RADIO).
inline AnsiString NextEditableControlID(std::string_view html, std::string_view id) {
  return dropdown::NextEditControlId(html, id);
}
// Every RADIO control set to "FALSE".
inline AnsiString ResetRadioControls(std::string_view html) { return dropdown::ClearRadioControls(html); }

}  // namespace grid
