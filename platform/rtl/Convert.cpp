#include "rtl/Convert.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "rtl/Exceptions.h"
#include "rtl/FloatDigits.h"
#include "rtl/Locale.h"
#include "rtl/Strings.h"

namespace rtl {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The Val scanner shared by the 32- and 64-bit forms. A decimal must fit the
// signed range; a hex value may use the full unsigned width.
template <typename T>
void ValInteger(std::string_view s, T& value, Integer& code) {
  using U = std::make_unsigned_t<T>;
  value = 0;
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) {
    code = static_cast<Integer>(i + 1);
    return;
  }
  const U limit = negative ? U(std::numeric_limits<T>::max()) + 1 : U(std::numeric_limits<T>::max());
  U acc = 0;
  for (; i < s.size(); ++i) {
    int d = hex ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) {
      code = static_cast<Integer>(i + 1);
      return;
    }
    if (hex) {
      if (acc > (std::numeric_limits<U>::max() >> 4)) {
        code = static_cast<Integer>(i + 1);
        return;
      }
      acc = (acc << 4) | static_cast<U>(d);
    } else {
      if (acc > (limit - static_cast<U>(d)) / 10) {
        code = static_cast<Integer>(i + 1);
        return;
      }
      acc = acc * 10 + static_cast<U>(d);
    }
  }
  // Hex values wrap into the signed range, as the run-time library does.
  value = static_cast<T>(negative ? U(0) - acc : acc);
  code = 0;
}

[[noreturn]] void NotInteger(std::string_view s) {
  throw EConvertError("'" + AnsiString(s) + "' is not a valid integer value");
}

[[noreturn]] void NotFloat(std::string_view s) {
  throw EConvertError("'" + AnsiString(s) + "' is not a valid floating point value");
}

// Scans a decimal float from s starting at i: sign, digits, ".", digits,
// exponent. Returns the index after it; ok tells whether it was well-formed.
size_t ScanFloat(std::string_view s, size_t i, double& value, bool& ok) {
  ok = false;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  size_t mantissaStart = i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return i;
  bool negativeExponent = false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t e = i + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-')) negativeExponent = s[e++] == '-';
    size_t expDigits = 0;
    while (e < s.size() && s[e] >= '0' && s[e] <= '9') ++e, ++expDigits;
    if (expDigits == 0) return e;
    i = e;
  }
  double v = 0;
  auto [ptr, ec] = std::from_chars(s.data() + mantissaStart, s.data() + i, v);
  if (ec == std::errc::result_out_of_range) {
    if (!negativeExponent) return i;  // overflow
    v = 0;  // underflow reads as zero
  } else if (ec != std::errc() || ptr != s.data() + i) {
    return i;
  }
  value = negative ? -v : v;
  ok = true;
  return i;
}

void AppendGrouped(AnsiString& out, std::string_view intDigits, char separator) {
  for (size_t k = 0; k < intDigits.size(); ++k) {
    if (k > 0 && (intDigits.size() - k) % 3 == 0) out += separator;
    out += intDigits[k];
  }
}

AnsiString ExponentText(int e, bool alwaysSign, int minDigits) {
  AnsiString r;
  if (e < 0)
    r += '-';
  else if (alwaysSign)
    r += '+';
  AnsiString digits = std::to_string(e < 0 ? -e : e);
  if (static_cast<int>(digits.size()) < minDigits) r.append(minDigits - digits.size(), '0');
  return r + digits;
}

AnsiString SpecialText(double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

AnsiString GeneralText(double value, int precision, int expDigits) {
  if (precision < 1 || precision > 15) precision = 15;
  detail::FloatDigits f = detail::GetFloatDigits(value, precision);
  if (f.digits.empty()) return "0";
  AnsiString r = f.negative ? "-" : "";
  if (f.exponent > precision || f.exponent < -3) {
    r += f.digits[0];
    if (f.digits.size() > 1) r += '.' + f.digits.substr(1);
    r += 'E' + ExponentText(f.exponent - 1, false, expDigits);
    return r;
  }
  return r + detail::FixedDigitsText(f, -1, '\0');
}

}  // namespace

namespace detail {

FloatDigits GetFloatDigits(double value, int precision) {
  FloatDigits f;
  f.negative = std::signbit(value);
  double a = std::fabs(value);
  if (a == 0) {
    f.negative = false;
    return f;
  }
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof(buf), a, std::chars_format::scientific, precision - 1);
  std::string_view t(buf, static_cast<size_t>(res.ptr - buf));
  size_t e = t.find('e');
  for (size_t k = 0; k < e; ++k)
    if (t[k] != '.') f.digits += t[k];
  int exp10 = 0;
  std::from_chars(t.data() + e + (t[e + 1] == '+' ? 2 : 1), t.data() + t.size(), exp10);
  f.exponent = exp10 + 1;
  while (!f.digits.empty() && f.digits.back() == '0') f.digits.pop_back();
  return f;
}

void RoundFloatDigits(FloatDigits& f, int keep) {
  if (f.digits.empty() || keep >= static_cast<int>(f.digits.size())) return;
  if (keep < 0) {
    f.digits.clear();
  } else {
    bool up = f.digits[static_cast<size_t>(keep)] >= '5';
    f.digits.resize(static_cast<size_t>(keep));
    if (up) {
      int k = keep - 1;
      while (k >= 0 && f.digits[static_cast<size_t>(k)] == '9') f.digits[static_cast<size_t>(k--)] = '0';
      if (k < 0) {
        f.digits.insert(f.digits.begin(), '1');
        ++f.exponent;
      } else {
        ++f.digits[static_cast<size_t>(k)];
      }
    }
  }
  while (!f.digits.empty() && f.digits.back() == '0') f.digits.pop_back();
  if (f.digits.empty()) f.negative = false;
}

std::string IntegerDigits(const FloatDigits& f) {
  if (f.digits.empty() || f.exponent <= 0) return "0";
  std::string r = f.digits.substr(0, std::min<size_t>(f.digits.size(), static_cast<size_t>(f.exponent)));
  if (static_cast<int>(r.size()) < f.exponent) r.append(static_cast<size_t>(f.exponent) - r.size(), '0');
  return r;
}

std::string FractionDigits(const FloatDigits& f, int decimals) {
  std::string r;
  const int count = decimals < 0 ? std::max<int>(0, static_cast<int>(f.digits.size()) - f.exponent) : decimals;
  for (int k = 0; k < count; ++k) {
    int idx = f.exponent + k;
    r += (idx >= 0 && idx < static_cast<int>(f.digits.size())) ? f.digits[static_cast<size_t>(idx)] : '0';
  }
  return r;
}

std::string FixedDigitsText(const FloatDigits& f, int decimals, char thousands) {
  std::string r;
  std::string intDigits = IntegerDigits(f);
  if (thousands)
    AppendGrouped(r, intDigits, thousands);
  else
    r += intDigits;
  std::string frac = FractionDigits(f, decimals);
  if (!frac.empty()) r += FormatSettings().DecimalSeparator + frac;
  return r;
}

}  // namespace detail

AnsiString IntToStr(Integer value) { return std::to_string(value); }
AnsiString IntToStr(Int64 value) { return std::to_string(value); }

AnsiString IntToHex(Integer value, Integer digits) {
  return IntToHex(static_cast<Int64>(static_cast<uint32_t>(value)), digits);
}
AnsiString IntToHex(Int64 value, Integer digits) {
  static const char kHex[] = "0123456789ABCDEF";
  uint64_t u = static_cast<uint64_t>(value);
  AnsiString r;
  do {
    r.insert(r.begin(), kHex[u & 0xF]);
    u >>= 4;
  } while (u != 0);
  if (static_cast<Integer>(r.size()) < digits) r.insert(0, static_cast<size_t>(digits) - r.size(), '0');
  return r;
}

void Val(std::string_view s, Integer& value, Integer& code) { ValInteger(s, value, code); }
void Val(std::string_view s, Int64& value, Integer& code) { ValInteger(s, value, code); }

void Val(std::string_view s, double& value, Integer& code) {
  value = 0;
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool ok;
  double v = 0;
  size_t end = ScanFloat(s, i, v, ok);
  if (!ok) {
    code = static_cast<Integer>(std::min(end, s.size()) + 1);
    return;
  }
  if (end < s.size()) {
    code = static_cast<Integer>(end + 1);
    return;
  }
  value = v;
  code = 0;
}

bool TryStrToInt(std::string_view s, Integer& value) {
  Integer code;
  Integer v;
  Val(s, v, code);
  if (code != 0) return false;
  value = v;
  return true;
}
bool TryStrToInt64(std::string_view s, Int64& value) {
  Integer code;
  Int64 v;
  Val(s, v, code);
  if (code != 0) return false;
  value = v;
  return true;
}
Integer StrToInt(std::string_view s) {
  Integer v;
  if (!TryStrToInt(s, v)) NotInteger(s);
  return v;
}
Int64 StrToInt64(std::string_view s) {
  Int64 v;
  if (!TryStrToInt64(s, v)) NotInteger(s);
  return v;
}
Integer StrToIntDef(std::string_view s, Integer def) {
  Integer v;
  return TryStrToInt(s, v) ? v : def;
}
Int64 StrToInt64Def(std::string_view s, Int64 def) {
  Int64 v;
  return TryStrToInt64(s, v) ? v : def;
}

bool TryStrToFloat(std::string_view s, double& value) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  while (n > i && s[n - 1] == ' ') --n;
  bool ok;
  double v;
  size_t end = ScanFloat(s.substr(0, n), i, v, ok);
  if (!ok || end != n) return false;
  value = v;
  return true;
}
bool TryStrToFloat(std::string_view s, double& value, const TFormatSettings& settings) {
  if (settings.DecimalSeparator == '.') return TryStrToFloat(s, value);
  if (s.find('.') != std::string_view::npos) return false;
  std::string text(s);
  for (char& c : text)
    if (c == settings.DecimalSeparator) c = '.';
  return TryStrToFloat(text, value);
}

double StrToFloat(std::string_view s) {
  double v;
  if (!TryStrToFloat(s, v)) NotFloat(s);
  return v;
}
double StrToFloatDef(std::string_view s, double def) {
  double v;
  return TryStrToFloat(s, v) ? v : def;
}

namespace {

// One section of a FormatFloat picture, split into the parts that place
// digits and the literal text around them.
struct Picture {
  std::string_view text;
  int intPlaceholders = 0;   // "0" and "#" before the point
  int minInt = 0;            // placeholders from the first "0" to the point
  int minDec = 0, maxDec = 0;
  bool thousands = false;
  bool hasPoint = false;
  bool scientific = false;
  bool expSign = false;      // "E+": sign always shown
  int expDigits = 0;
  char expLetter = 'E';
};

// Splits the picture at ";" outside quotes.
std::vector<std::string_view> Sections(std::string_view picture) {
  std::vector<std::string_view> r;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < picture.size(); ++i) {
    char c = picture[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      r.push_back(picture.substr(start, i - start));
      start = i + 1;
    }
  }
  r.push_back(picture.substr(start));
  return r;
}

Picture ParsePicture(std::string_view text) {
  Picture p;
  p.text = text;
  char quote = 0;
  bool afterPoint = false;
  int firstZero = -1, intCount = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') &&
               !p.scientific) {
      p.scientific = true;
      p.expLetter = c;
      p.expSign = text[i + 1] == '+';
      size_t k = i + 2;
      while (k < text.size() && text[k] == '0') ++k, ++p.expDigits;
      i = k - 1;
    } else if (p.scientific) {
      continue;
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      p.hasPoint = true;
    } else if (c == ',' && !afterPoint) {
      p.thousands = true;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.maxDec;
        if (c == '0') p.minDec = p.maxDec;
      } else {
        if (c == '0' && firstZero < 0) firstZero = intCount;
        ++intCount;
      }
    }
  }
  p.intPlaceholders = intCount;
  p.minInt = firstZero < 0 ? 0 : intCount - firstZero;
  return p;
}

// Lays the digits into the picture: literals stay where they are, the first
// integer placeholder takes every integer digit the picture has no room for.
AnsiString Render(const Picture& p, std::string intDigits, std::string frac, const AnsiString& exponent) {
  const auto& fs = FormatSettings();
  if (static_cast<int>(intDigits.size()) < p.minInt)
    intDigits.insert(0, static_cast<size_t>(p.minInt) - intDigits.size(), '0');
  AnsiString out;
  char quote = 0;
  bool afterPoint = false;
  int intSeen = 0;
  size_t fracUsed = 0;
  const int totalInt = static_cast<int>(intDigits.size());
  auto emitInt = [&](int from, int to) {
    for (int k = from; k < to; ++k) {
      out += intDigits[static_cast<size_t>(k)];
      int remaining = totalInt - k - 1;
      if (p.thousands && remaining > 0 && remaining % 3 == 0) out += fs.ThousandSeparator;
    }
  };
  // Integer digits are right-aligned on the placeholders.
  const int lead = totalInt - p.intPlaceholders;  // > 0: extra digits at the first placeholder
  for (size_t i = 0; i < p.text.size(); ++i) {
    char c = p.text[i];
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        out += c;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == 'E' || c == 'e') && p.scientific && i + 1 < p.text.size() &&
               (p.text[i + 1] == '+' || p.text[i + 1] == '-')) {
      out += exponent;
      size_t k = i + 2;
      while (k < p.text.size() && p.text[k] == '0') ++k;
      i = k - 1;
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      if (!frac.empty()) out += fs.DecimalSeparator;
    } else if (c == ',' && !afterPoint) {
      // a flag, not a literal
    } else if ((c == '0' || c == '#') && !afterPoint) {
      int slot = intSeen++;
      if (slot == 0 && lead > 0) emitInt(0, lead + 1);
      else {
        int k = slot + lead;
        if (k >= 0 && k < totalInt) emitInt(k, k + 1);
      }
    } else if ((c == '0' || c == '#') && afterPoint) {
      if (fracUsed < frac.size()) out += frac[fracUsed++];
    } else {
      out += c;
    }
  }
  // A picture without integer placeholders still shows the integer digits.
  if (p.intPlaceholders == 0 && !intDigits.empty()) {
    AnsiString digits;
    if (p.thousands)
      AppendGrouped(digits, intDigits, fs.ThousandSeparator);
    else
      digits = intDigits;
    out.insert(0, digits);
  }
  return out;
}

AnsiString FormatSection(const Picture& p, double value, bool& isZero) {
  double a = std::fabs(value);
  if (p.scientific) {
    int intSlots = std::max(1, p.intPlaceholders);
    detail::FloatDigits f = detail::GetFloatDigits(a, std::min(15, intSlots + p.maxDec));
    isZero = f.digits.empty();
    int exp10 = isZero ? 0 : f.exponent - intSlots;
    f.exponent = isZero ? 0 : intSlots;
    std::string intDigits = detail::IntegerDigits(f);
    std::string frac = detail::FractionDigits(f, p.maxDec);
    while (static_cast<int>(frac.size()) > p.minDec && frac.back() == '0') frac.pop_back();
    AnsiString exponent(1, p.expLetter);
    exponent += ExponentText(exp10, p.expSign, p.expDigits);
    if (intDigits == "0" && p.minInt == 0) intDigits.clear();
    return Render(p, intDigits, frac, exponent);
  }
  detail::FloatDigits f = detail::GetFloatDigits(a, 15);
  detail::RoundFloatDigits(f, f.exponent + p.maxDec);
  isZero = f.digits.empty();
  std::string intDigits = detail::IntegerDigits(f);
  if (intDigits == "0") intDigits.clear();
  std::string frac = detail::FractionDigits(f, p.maxDec);
  while (static_cast<int>(frac.size()) > p.minDec && frac.back() == '0') frac.pop_back();
  return Render(p, intDigits, frac, AnsiString());
}

}  // namespace

AnsiString FormatFloat(std::string_view picture, double value) {
  if (!std::isfinite(value)) return SpecialText(value);
  std::vector<std::string_view> sections = Sections(picture);
  if (picture.empty()) return FloatToStr(value);
  bool isZero = false;
  if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
    AnsiString r = FormatSection(ParsePicture(sections[1]), value, isZero);
    if (!isZero || sections.size() < 3 || sections[2].empty()) return r;
    return FormatSection(ParsePicture(sections[2]), 0.0, isZero);
  }
  AnsiString r = FormatSection(ParsePicture(sections[0]), value, isZero);
  if (isZero && sections.size() >= 3 && !sections[2].empty())
    return FormatSection(ParsePicture(sections[2]), 0.0, isZero);
  // A value that rounds to zero shows no minus sign.
  if (value < 0 && !isZero) r.insert(0, "-");
  return r;
}

AnsiString FloatToStr(double value) { return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0); }

AnsiString FloatToStrF(double value, TFloatFormat format, Integer precision, Integer digits) {
  if (!std::isfinite(value)) return SpecialText(value);
  if (precision < 1 || precision > 15) precision = 15;
  switch (format) {
    case TFloatFormat::ffGeneral:
      return GeneralText(value, precision, digits);
    case TFloatFormat::ffExponent: {
      if (digits < 0) digits = 0;
      if (digits > 4) digits = 4;
      detail::FloatDigits f = detail::GetFloatDigits(value, precision);
      AnsiString r = f.negative ? "-" : "";
      std::string d = f.digits.empty() ? "0" : f.digits;
      d.resize(static_cast<size_t>(precision), '0');
      r += d[0];
      if (precision > 1) r += FormatSettings().DecimalSeparator + d.substr(1);
      r += 'E' + ExponentText(f.digits.empty() ? 0 : f.exponent - 1, true, digits);
      return r;
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber: {
      if (digits < 0) digits = 0;
      if (digits > 18) digits = 18;
      detail::FloatDigits f = detail::GetFloatDigits(value, precision);
      if (f.exponent > precision) return GeneralText(value, precision, 0);
      detail::RoundFloatDigits(f, f.exponent + digits);
      AnsiString r = f.negative ? "-" : "";
      return r + detail::FixedDigitsText(
                     f, digits, format == TFloatFormat::ffNumber ? FormatSettings().ThousandSeparator : '\0');
    }
  }
  return AnsiString();
}

Int64 Round(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.2233720368547758e18)
    throw EInvalidOp("Invalid floating point operation");
  double lower = std::floor(value);
  double diff = value - lower;
  Int64 r = static_cast<Int64>(lower);
  if (diff > 0.5 || (diff == 0.5 && (r & 1) != 0)) ++r;
  return r;
}

Int64 Trunc(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.2233720368547758e18)
    throw EInvalidOp("Invalid floating point operation");
  return static_cast<Int64>(value);
}

AnsiString BoolToStr(bool value, bool useBoolStrs) {
  if (useBoolStrs) return value ? "True" : "False";
  return value ? "-1" : "0";
}

bool TryStrToBool(std::string_view s, bool& value) {
  if (SameText(s, "True")) {
    value = true;
    return true;
  }
  if (SameText(s, "False")) {
    value = false;
    return true;
  }
  double d;
  if (TryStrToFloat(s, d)) {
    value = d != 0;
    return true;
  }
  return false;
}

bool StrToBool(std::string_view s) {
  bool v;
  if (!TryStrToBool(s, v)) throw EConvertError("'" + AnsiString(s) + "' is not a valid boolean value");
  return v;
}

}  // namespace rtl
