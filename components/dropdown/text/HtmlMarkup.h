#pragma once
// How the mini-HTML renderer reads its markup, without a window: the
// preparation of a text before it is laid out, attribute values of tags,
// colours, font sizes, numbers, and the embedded form controls with the
// entity coding of their values. The renderer (dropdown/HtmlText.h) and the
// text routines (HtmlTextRoutines.h) share these, so measuring, drawing and
// editing a cell read one text one way.
#include <cstddef>
#include <string_view>

#include "rtl/Types.h"

namespace dropdown {

// Position of needle in s at or after from, ASCII letter case ignored;
// npos when there is none (or needle is empty).
size_t FindNoCase(std::string_view s, std::string_view needle, size_t from = 0);
bool StartsNoCase(std::string_view s, std::string_view prefix);

// The text between the two double quotes that follow the first occurrence
// of name (ASCII case ignored) anywhere in tag; empty when the name or the
// quotes are missing. The value keeps the case it was written in; the
// renderer upper-cases the values its table says arrive upper-cased.
std::string_view TagAttribute(std::string_view tag, std::string_view name);

// The number the digits at the start of text make; 0 when it starts with
// something else. Saturates at limit.
rtl::Integer LeadingNumber(std::string_view text, rtl::Integer limit = 1000000);

// Colours in the class library's encoding (blue in the high byte; system
// colours 0xFF000000 plus their index).
using THtmlColor = rtl::Cardinal;
inline constexpr THtmlColor kHtmlColorNone = 0x1FFFFFFF;
// "#RRGGBB" (hexadecimal pairs; a pair that is no number reads as its
// leading hexadecimal digits) or a "cl" name of the colour table, looked up
// without regard to case; anything else is black.
THtmlColor HtmlColor(std::string_view value);
// The page-background tag's rule: a name when the value contains "CL", a
// hexadecimal colour when it contains "#"; false for neither.
bool BodyColor(std::string_view value, THtmlColor& color);

// The point size a font tag's SIZE asks for: 1 to 5 are 8, 10, 12, 14 and
// 16 points, any other number is itself (at most kMaxFontPoints).
inline constexpr rtl::Integer kMaxFontPoints = 512;
rtl::Integer HtmlFontSize(std::string_view value);

// The text as the renderer lays it out: entities replaced (until none is
// left, so "&amp;amp;" ends as "&"; letter case ignored), "<#" literals
// opened (the "<" and the first ">" after it removed), every carriage
// return made a "<BR>" tag and line feeds removed. The characters the
// entities stand for are written as UTF-8.
rtl::AnsiString PrepareHtml(std::string_view html);
// The text of one run as measured and drawn: "&nbsp;" a space, "&lt;" and
// "&gt;" the angle brackets (letter case ignored). Appends to out.
void DecodeRunEntities(std::string_view run, rtl::AnsiString& out);

// Values of embedded controls: decoding turns "&lt;", "&gt;", "&amp;",
// "&quot;" and the named letters of the control-value table back into
// characters in one pass from left to right (exact case); encoding writes
// "&", the double quote, "<", ">" and the table's characters as entities.
// Decoding what encoding wrote gives the text back.
rtl::AnsiString DecodeControlValue(std::string_view value);
rtl::AnsiString EncodeControlValue(std::string_view value);

// One embedded control as its tag gives it: attributes found as "TYPE=",
// "ID=", ... anywhere in the tag, values in their own case except TYPE,
// which is upper-cased; Value is decoded.
struct THtmlControlTag {
  size_t Start = 0;  // the tag's "<"
  size_t End = 0;    // just past its ">" (the text's end when it has none)
  rtl::AnsiString Type;
  rtl::AnsiString Id;
  rtl::AnsiString Value;  // decoded
  rtl::AnsiString Width;
  rtl::AnsiString Prop;
  rtl::AnsiString MaxLen;
  bool HasWidth = false;
};
// Reads the attributes of a control tag's text (from "<" to ">").
THtmlControlTag ParseControlTag(std::string_view tag);
// The next "<CONTROL " tag (any case) at or after from; false when none.
bool NextControlTag(std::string_view html, size_t from, THtmlControlTag& tag);

}  // namespace dropdown
