#pragma once
// The mini-HTML text routines that draw nothing: plain text of a cell,
// search highlights, and the embedded-control queries and edits. The
// renderer (measuring, drawing, hit tests) lives in the drop-down library.
#include <string_view>

#include "rtl/Types.h"

namespace dropdown {

// The plain text: every "<BR>" and "<HR>" (any case) becomes CR LF, then
// every stretch from "<" to the next ">" goes; a "<" without a later ">"
// keeps the rest of the text as it is. Never fails.
rtl::AnsiString StripHTML(std::string_view html);

// Wraps every occurrence of search in the visible text (the text with its
// tags removed from the start, while the next "<" comes before the next
// ">") in "<tag>"
// and "</tag>", at the places in html those characters come from; matches
// do not overlap and may follow one another directly. Without caseSensitive
// letters match by Unicode's simple case folding. When the visible text
// holds "<" or ">", the result is the visible text alone with those written
// as "&lt;" and "&gt;" (search escaped alike). An empty search changes
// nothing. The grid marks found cells with it.
rtl::AnsiString HighlightText(std::string_view html, std::string_view search, std::string_view tag,
                              bool caseSensitive);
// Removes every "<tag>" and "</tag>" (any case), then turns "&lt;" and
// "&gt;" back into "<" and ">".
rtl::AnsiString UnhighlightText(std::string_view html, std::string_view tag);

// --- Embedded form controls ("<CONTROL " tags, any case) ---

// True when the text holds "<CONTROL" in any letter case.
bool HasControlTag(std::string_view html);
// The ID of the first control after the one whose ID is currentId (from
// the first control when currentId is empty) that a user types into: its
// TYPE is none of BUTTON, CHECK and RADIO. Empty when there is none.
rtl::AnsiString NextEditControlId(std::string_view html, std::string_view currentId);
// The text with VALUE "FALSE" written into every RADIO control, control by
// control through their IDs (SetControlValue).
rtl::AnsiString ClearRadioControls(std::string_view html);
// PROP of the first control whose ID equals id exactly; empty when none.
rtl::AnsiString GetControlProp(std::string_view html, std::string_view id);
// MAXLEN of that control as a number (its leading digits); 0 when none.
rtl::Integer GetControlMaxLen(std::string_view html, std::string_view id);
// Rewrites the first control whose ID equals id as
//   <CONTROL ID="id" VALUE="value" WIDTH="w" TYPE="T"[ PROP="p"][ MAXLEN="m"]>
// (value entity-encoded, the other values as they were, PROP and MAXLEN
// only when not empty), keeping the text around it. False, with html
// unchanged, when no control has that ID.
bool SetControlValue(rtl::AnsiString& html, std::string_view id, std::string_view value);

// The names the grid's operations call these routines by.
inline rtl::AnsiString HiLightText(std::string_view text, std::string_view searchText, std::string_view tagName,
                                   bool matchCase) {
  return HighlightText(text, searchText, tagName, matchCase);
}
inline rtl::AnsiString UnHiLightText(std::string_view text, std::string_view tagName) {
  return UnhighlightText(text, tagName);
}
inline rtl::AnsiString NextEditableControlID(std::string_view html, std::string_view id) {
  return NextEditControlId(html, id);
}
inline rtl::AnsiString ResetRadioControls(std::string_view html) { return ClearRadioControls(html); }

}  // namespace dropdown
