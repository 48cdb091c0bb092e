#include "rtl/Format.h"

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/Exceptions.h"
#include "rtl/Strings.h"

namespace rtl {
namespace {

[[noreturn]] void Invalid(std::string_view format) {
  throw EConvertError("Format '" + AnsiString(format) + "' invalid or incompatible with argument");
}

[[noreturn]] void Missing(std::string_view format) {
  throw EConvertError("No argument for format '" + AnsiString(format) + "'");
}

// Widths and precisions count characters, not UTF-8 bytes.
size_t CharCount(std::string_view s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

AnsiString TruncateChars(std::string_view s, size_t maxChars) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (n == maxChars) return AnsiString(s.substr(0, i));
      ++n;
    }
  }
  return AnsiString(s);
}

AnsiString ZeroPadDigits(AnsiString digits, int precision) {
  bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  if (precision > 0 && static_cast<int>(digits.size()) < precision)
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

bool IsInteger(const FormatArg& a) {
  using K = FormatArg::Kind;
  return a.kind() == K::Int32 || a.kind() == K::Int64 || a.kind() == K::UInt64;
}

AnsiString CharText(const FormatArg& a) {
  WideString w(1, static_cast<WideChar>(a.AsInt()));
  return a.AsInt() < 0x80 ? AnsiString(1, static_cast<char>(a.AsInt())) : WideToUtf8(w);
}

AnsiString Directive(std::string_view format, char type, int precision, const FormatArg& a) {
  using K = FormatArg::Kind;
  switch (type) {
    case 'D': {
      if (!IsInteger(a)) Invalid(format);
      AnsiString digits = a.kind() == K::UInt64 ? std::to_string(static_cast<uint64_t>(a.AsInt()))
                                                : std::to_string(a.AsInt());
      return ZeroPadDigits(digits, precision);
    }
    case 'U': {
      if (!IsInteger(a)) Invalid(format);
      uint64_t u = a.kind() == K::Int32 ? static_cast<uint32_t>(a.AsInt()) : static_cast<uint64_t>(a.AsInt());
      return ZeroPadDigits(std::to_string(u), precision);
    }
    case 'X': {
      if (!IsInteger(a)) Invalid(format);
      AnsiString hex = (a.kind() == K::Int32 || a.NarrowUnsigned())
                           ? IntToHex(static_cast<Integer>(a.AsInt()), 0)
                           : IntToHex(static_cast<Int64>(a.AsInt()), 0);
      return ZeroPadDigits(hex, precision);
    }
    case 'E':
      if (a.kind() != K::Float) Invalid(format);
      return FloatToStrF(a.AsFloat(), TFloatFormat::ffExponent, precision < 0 ? 15 : precision, 3);
    case 'F':
      if (a.kind() != K::Float) Invalid(format);
      return FloatToStrF(a.AsFloat(), TFloatFormat::ffFixed, 15, precision < 0 ? 2 : precision);
    case 'N':
      if (a.kind() != K::Float) Invalid(format);
      return FloatToStrF(a.AsFloat(), TFloatFormat::ffNumber, 15, precision < 0 ? 2 : precision);
    case 'G':
      if (a.kind() != K::Float) Invalid(format);
      return FloatToStrF(a.AsFloat(), TFloatFormat::ffGeneral, precision < 0 ? 15 : precision, 0);
    case 'S': {
      AnsiString text;
      if (a.kind() == K::Text)
        text = AnsiString(a.AsText());
      else if (a.kind() == K::WideText)
        text = WideToUtf8(a.AsWideText());
      else if (a.kind() == K::Char)
        text = CharText(a);
      else
        Invalid(format);
      return precision >= 0 ? TruncateChars(text, static_cast<size_t>(precision)) : text;
    }
    case 'C':
      if (a.kind() != K::Char) Invalid(format);
      return CharText(a);
    case 'P':
      if (a.kind() != K::Pointer) Invalid(format);
      return IntToHex(static_cast<Int64>(a.AsInt()), 16);
    default:
      Invalid(format);
  }
}

}  // namespace

AnsiString Format(std::string_view format, FormatArgs args) {
  return Format(format, std::vector<FormatArg>(args));
}

AnsiString Format(std::string_view format, const std::vector<FormatArg>& args) {
  AnsiString out;
  out.reserve(format.size() + 16);
  size_t next = 0;  // the argument the next directive takes
  size_t i = 0;
  auto takeArg = [&]() -> const FormatArg& {
    if (next >= args.size()) Missing(format);
    return args[next++];
  };
  // Reads digits or "*" at i; -1 when neither is there.
  auto number = [&]() -> int {
    if (i < format.size() && format[i] == '*') {
      ++i;
      const FormatArg& a = takeArg();
      if (!IsInteger(a)) Invalid(format);
      return static_cast<int>(a.AsInt());
    }
    if (i >= format.size() || format[i] < '0' || format[i] > '9') return -1;
    int64_t v = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      v = v * 10 + (format[i++] - '0');
      if (v > 1000000) Invalid(format);
    }
    return static_cast<int>(v);
  };
  while (i < format.size()) {
    char c = format[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i >= format.size()) Invalid(format);
    if (format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // "%" [index ":"] ["-"] [width] ["." precision] type
    size_t save = i;
    bool indexed = false;
    if (i < format.size() && ((format[i] >= '0' && format[i] <= '9') || format[i] == '*')) {
      size_t k = i;
      while (k < format.size() && format[k] >= '0' && format[k] <= '9') ++k;
      if (k == i && format[k] == '*') ++k;
      if (k < format.size() && format[k] == ':') indexed = true;
    }
    if (indexed) {
      int index = number();
      ++i;  // ':'
      if (index < 0) Invalid(format);
      next = static_cast<size_t>(index);
    } else {
      i = save;
    }
    bool left = false;
    if (i < format.size() && format[i] == '-') {
      left = true;
      ++i;
    }
    int width = number();
    int precision = -1;
    if (i < format.size() && format[i] == '.') {
      ++i;
      precision = number();
      if (precision < 0) precision = 0;
    }
    if (i >= format.size()) Invalid(format);
    char type = format[i++];
    type = UpCase(type);
    const FormatArg& arg = takeArg();
    AnsiString text = Directive(format, type, precision, arg);
    size_t len = CharCount(text);
    if (width > 0 && len < static_cast<size_t>(width)) {
      AnsiString pad(static_cast<size_t>(width) - len, ' ');
      text = left ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}

}  // namespace rtl
