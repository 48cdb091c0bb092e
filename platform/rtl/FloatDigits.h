#pragma once
// Decimal digits of a double, shared by the float conversions and Format.
// Not for use outside the run-time layer.
#include <string>

namespace rtl::detail {

// value = 0.digits x 10^exponent; digits has no trailing zeros and is empty
// for zero.
struct FloatDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// The value rounded to `precision` significant digits (1..17).
FloatDigits GetFloatDigits(double value, int precision);
// Keeps `keep` leading digits, rounding half away from zero on the decimal
// digits (a negative keep rounds everything away).
void RoundFloatDigits(FloatDigits& f, int keep);
// The integer digits ("0" when there are none) and `decimals` fraction digits
// (all there are when decimals < 0).
std::string IntegerDigits(const FloatDigits& f);
std::string FractionDigits(const FloatDigits& f, int decimals);
// Integer digits (grouped with `thousands` unless it is '\0'), the decimal
// separator and the fraction digits when there are any.
std::string FixedDigitsText(const FloatDigits& f, int decimals, char thousands);

}  // namespace rtl::detail
