#include "dropdown/LumDropDownEntry.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/Locale.h"

namespace dropdown {

namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexLetter(char c) { return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

}  // namespace

TNumberClass ClassifyNumber(std::string_view s) {
  const rtl::TFormatSettings& fs = rtl::FormatSettings();
  if (s.empty()) return TNumberClass::ncInvalid;
  size_t minus = 0, decimals = 0;
  bool digitsOnly = true, decimalChars = true, hexChars = true;
  for (char c : s) {
    minus += c == '-';
    decimals += c == fs.DecimalSeparator;
    if (!IsAsciiDigit(c) && c != '-') digitsOnly = false;
    if (!IsAsciiDigit(c) && c != '-' && c != ',' && c != '.') decimalChars = false;
    if (!IsAsciiDigit(c) && c != '-' && !IsHexLetter(c)) hexChars = false;
  }
  if (minus > 1 || decimals > 1) return TNumberClass::ncInvalid;
  if (digitsOnly) return TNumberClass::ncInteger;
  if (decimalChars) {
    bool placed = true;
    long previous = -1;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != fs.ThousandSeparator) continue;
      if (i == 0 || (previous >= 0 && static_cast<long>(i) - previous < 3)) placed = false;
      previous = static_cast<long>(i);
    }
    if (placed) return TNumberClass::ncDecimal;
  }
  if (hexChars) return TNumberClass::ncHexadecimal;
  return TNumberClass::ncInvalid;
}

rtl::AnsiString StripThousands(std::string_view s) {
  const char sep = rtl::FormatSettings().ThousandSeparator;
  rtl::AnsiString out;
  out.reserve(s.size());
  for (char c : s)
    if (c != sep) out += c;
  return out;
}

double ToFloat(std::string_view s) {
  double v = 0;
  return rtl::TryStrToFloat(StripThousands(s), v, rtl::FormatSettings()) ? v : 0;
}

bool SeparatorMisplaced(std::string_view text, rtl::Integer caret) {
  const char sep = rtl::FormatSettings().ThousandSeparator;
  if (text.find(sep) == std::string_view::npos) return false;
  rtl::Integer smallest = std::numeric_limits<rtl::Integer>::max();
  std::string_view rest = text;
  for (size_t at = rest.find(sep); at != std::string_view::npos; at = rest.find(sep)) {
    const rtl::Integer p = static_cast<rtl::Integer>(at) + 1;
    const rtl::Integer d = std::abs(p - caret);
    if (d < 3) return true;
    smallest = std::min(smallest, d);
    if (p < caret) caret -= p;
    rest.remove_prefix(at + 1);
  }
  return smallest > 3;
}

bool DecimalsFull(std::string_view text, rtl::Integer caret, rtl::Integer precision) {
  if (precision <= 0) return false;
  const rtl::Integer length = static_cast<rtl::Integer>(text.size());
  if (length - caret > precision) return false;
  const size_t at = text.find(rtl::FormatSettings().DecimalSeparator);
  if (at == std::string_view::npos) return false;
  const rtl::Integer a = static_cast<rtl::Integer>(at) + 1;
  return caret >= a && length - a >= precision;
}

TReformatted ReformatThousands(std::string_view text, rtl::Integer caret) {
  TReformatted r;
  r.Text = rtl::AnsiString(text);
  r.Caret = caret;
  if (text.empty()) return r;
  const rtl::TFormatSettings& fs = rtl::FormatSettings();
  std::string_view body = text;
  rtl::AnsiString sign;
  if (body.front() == '-') {
    sign = "-";
    body.remove_prefix(1);
  }
  const size_t dot = body.find(fs.DecimalSeparator);
  const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : body.substr(dot);
  const double whole = std::trunc(std::fabs(ToFloat(body)));
  rtl::AnsiString grouped = rtl::Format("%n", {whole});
  const size_t cut = grouped.find(fs.DecimalSeparator);
  if (cut != rtl::AnsiString::npos) grouped.resize(cut);
  r.Text = sign + grouped + rtl::AnsiString(fraction);
  r.Changed = r.Text != text;
  r.Caret = std::max<rtl::Integer>(0, caret + static_cast<rtl::Integer>(r.Text.size()) -
                                          static_cast<rtl::Integer>(text.size()));
  return r;
}

rtl::AnsiString FormatEntryText(TEditKind kind, rtl::Integer precision, std::string_view value) {
  if (kind == TEditKind::ekText) return rtl::AnsiString(value);
  rtl::AnsiString text = value.empty() ? rtl::AnsiString("0") : rtl::AnsiString(value);
  if (precision > 0 && text != "Error") {
    if (kind == TEditKind::ekFloatThousands) {
      text = rtl::Format("%." + rtl::IntToStr(precision) + "n", {ToFloat(text)});
    } else if (kind == TEditKind::ekFloat) {
      text = rtl::Format("%." + rtl::IntToStr(precision) + "f", {ToFloat(text)});
    }
  }
  return text;
}

double FloatValueOf(TEditKind kind, std::string_view text) {
  if (kind == TEditKind::ekFloatThousands) {
    if (text.empty()) return 0;
    rtl::AnsiString t = StripThousands(text);
    if (!t.empty() && t.back() == rtl::FormatSettings().DecimalSeparator) t.pop_back();
    if (t.empty() || t == "-") return 0;
    return ToFloat(t);
  }
  if (text.empty() || text == "Error" || text == "-") return 0;
  return ToFloat(text);
}

}  // namespace dropdown
