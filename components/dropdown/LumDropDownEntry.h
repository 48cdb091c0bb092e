#pragma once
// The rules by which a drop-down's edit reads, checks and writes numbers:
// the class of a text, the thousands separators, where a separator may be
// typed, when the decimals are full, and the text a numeric kind shows. They
// read the regional settings (rtl::FormatSettings) at every call; the edit
// control applies them to what is typed, pasted and set.
#include <string_view>

#include "rtl/Types.h"

namespace dropdown {

enum class TEditKind { ekText, ekInteger, ekFloat, ekFloatThousands };

// What a text is: 0 an integer (digits and "-", not empty); 1 a decimal
// (digits, ",", "." and "-"; each thousands separator at least three places
// after the one before and never first); 5 hexadecimal (digits, A to F in
// either case, "-"); 2 anything else, the empty text, or more than one "-"
// or decimal separator.
enum class TNumberClass { ncInteger = 0, ncDecimal = 1, ncInvalid = 2, ncHexadecimal = 5 };
TNumberClass ClassifyNumber(std::string_view s);

rtl::AnsiString StripThousands(std::string_view s);
// The number without its thousands separators; 0 when it is none.
double ToFloat(std::string_view s);

// Whether a thousands separator typed at caret (characters before it) would
// not be exactly three digits from the nearest separator already there.
bool SeparatorMisplaced(std::string_view text, rtl::Integer caret);
// Whether every decimal place is taken and the caret is among them.
bool DecimalsFull(std::string_view text, rtl::Integer caret, rtl::Integer precision);

// The thousands kind's text after a change: the integer part grouped again,
// the sign and the fraction as typed; the caret keeps its distance from the
// end.
struct TReformatted {
  rtl::AnsiString Text;
  rtl::Integer Caret = 0;
  bool Changed = false;  // the text differs (its change notice is not told)
};
TReformatted ReformatThousands(std::string_view text, rtl::Integer caret);

// The text a numeric kind shows for value when it is set: "0" for nothing,
// and with decimals asked for (not for "Error") the number with precision
// decimals, grouped for the thousands kind. Free text is kept.
rtl::AnsiString FormatEntryText(TEditKind kind, rtl::Integer precision, std::string_view value);
// The number a float kind's text stands for (0 for an empty text, "Error"
// or "-"; the thousands kind also drops a trailing decimal separator).
double FloatValueOf(TEditKind kind, std::string_view text);

}  // namespace dropdown
