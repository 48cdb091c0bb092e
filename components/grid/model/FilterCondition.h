#pragma once
// The condition language of filters and wildcard searches: terms joined by
// "&" (and) and "|", "^" or ";" (or), evaluated strictly left to right,
// groups in parentheses first; a term compares the value with an operand
// (">", ">=", "<", "<=": as numbers, as date-times or as text) or matches it
// against a wildcard pattern ("*" any run, "?" one character, "!" negates,
// double quotes keep blanks and operators as text).
#include <string_view>

#include "grid/model/GridEnvironment.h"
#include "grid/model/GridTypes.h"

namespace grid {

// Operands are compared on at most this many characters.
inline constexpr Integer MaxFilterOperandLength = 255;

bool MatchFilterExpression(std::string_view condition, std::string_view value, bool caseSensitive,
                           const LocaleSettings& locale = CurrentLocale());
// One term; case-insensitive terms compare upper-cased texts.
bool MatchFilterTerm(std::string_view term, std::string_view value, bool caseSensitive,
                     const LocaleSettings& locale = CurrentLocale());
bool MatchFilterPattern(std::string_view term, std::string_view value, const LocaleSettings& locale = CurrentLocale());
// The text without the blanks that stand outside double quotes.
AnsiString RemoveBlanksOutsideQuotes(std::string_view text);
// Position of the ")" that closes the "(" the text starts with; 0 when none.
Integer ClosingParenPos(std::string_view text);
// The decimal separator as ".", thousand separators removed.
AnsiString NormalizeNumberText(std::string_view text, const LocaleSettings& locale = CurrentLocale());

}  // namespace grid
