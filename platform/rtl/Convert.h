#pragma once
// Conversions between numbers and text with the run-time library's rules
// and messages. Nothing here depends on the machine's locale: the decimal
// separator is always ".".
#include <string>
#include <string_view>
#include <type_traits>

#include "rtl/Locale.h"
#include "rtl/Types.h"

namespace rtl {

AnsiString IntToStr(Integer value);
AnsiString IntToStr(Int64 value);
// Other integer types (unsigned, char-sized, long long) through Int64.
template <typename T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
AnsiString IntToStr(T value) {
  return IntToStr(static_cast<Int64>(value));
}
// Upper-case hexadecimal, at least `digits` digits (zero-padded). Negative
// values show their two's complement (32 bits for Integer, 64 for Int64).
AnsiString IntToHex(Integer value, Integer digits);
AnsiString IntToHex(Int64 value, Integer digits);
template <typename T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
AnsiString IntToHex(T value, Integer digits) {
  if constexpr (sizeof(T) <= 4)
    return IntToHex(static_cast<Integer>(value), digits);
  else
    return IntToHex(static_cast<Int64>(value), digits);
}

// Val rules: leading blanks, an optional sign, then decimal digits or a hex
// prefix ("$", "x", "X", "0x", "0X") and hex digits; nothing may follow.
// `code` is 0 on success, else the 1-based position of the first character
// that could not be taken (length + 1 when the digits are missing at the end).
// Decimal values outside the type's range fail; hex values may use the full
// unsigned width and wrap to negative.
void Val(std::string_view s, Integer& value, Integer& code);
void Val(std::string_view s, Int64& value, Integer& code);
// Float Val: blanks, sign, digits, optional "." fraction, optional exponent.
void Val(std::string_view s, double& value, Integer& code);

// Raise EConvertError "'%s' is not a valid integer value" on failure.
Integer StrToInt(std::string_view s);
Int64 StrToInt64(std::string_view s);
Integer StrToIntDef(std::string_view s, Integer def);
Int64 StrToInt64Def(std::string_view s, Int64 def);
bool TryStrToInt(std::string_view s, Integer& value);
bool TryStrToInt64(std::string_view s, Int64& value);

// Locale-free floats: optional blanks around, sign, digits with "." as the
// decimal separator, optional exponent. Failure raises EConvertError
// "'%s' is not a valid floating point value".
double StrToFloat(std::string_view s);
double StrToFloatDef(std::string_view s, double def);
bool TryStrToFloat(std::string_view s, double& value);
// The same with the settings' DecimalSeparator in place of "." (a "." is
// then refused unless it is the separator); the thousand separator is not
// accepted.
bool TryStrToFloat(std::string_view s, double& value, const TFormatSettings& settings);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };
// The run-time's general float text: 15 significant digits, no trailing
// zeros, scientific ("1E20", "1.5E-7") when the exponent is >= 15 or < -4;
// "NAN", "INF", "-INF" for the special values.
AnsiString FloatToStr(double value);
// FloatToStrF(value, format, precision, digits): general (digits = minimum
// exponent digits), exponent ("1.5000E+002" style, precision significant
// digits), fixed and number (digits decimals; number groups thousands).
AnsiString FloatToStrF(double value, TFloatFormat format, Integer precision, Integer digits);
// Picture formatting: "0" digit, "#" optional digit, "." decimal point, ","
// thousands grouping, "E+"/"E-" exponent, quoted literals, ";" sections
// (positive;negative;zero).
AnsiString FormatFloat(std::string_view picture, double value);

// Banker's rounding (ties to even): 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2.
Int64 Round(double value);
// Toward zero.
Int64 Trunc(double value);

// useBoolStrs false: "-1"/"0"; true: "True"/"False".
AnsiString BoolToStr(bool value, bool useBoolStrs = false);
// "True"/"False" (any case), or a number: 0 is False, else True. Raises
// EConvertError "'%s' is not a valid boolean value" otherwise.
bool StrToBool(std::string_view s);
bool TryStrToBool(std::string_view s, bool& value);

}  // namespace rtl
