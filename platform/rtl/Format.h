#pragma once
// Format: the run-time library's printf-like formatter.
//
//   "%" [index ":"] ["-"] [width] ["." precision] type
//
// width and precision may be "*" (taken from the next Integer argument).
// Types: d (signed decimal, precision = minimum digits), u (unsigned), x/X
// (hexadecimal upper-case either way, precision = minimum digits), s (text,
// precision = maximum characters), c (one character), f (fixed, precision
// decimals, 2 by default), e (scientific, precision significant digits, 15 by
// default, "1.00000000000000E+003"), g (general, precision significant
// digits, 15 by default, no trailing zeros, exponent like "1E20"), n (like f
// with thousands grouping), p (pointer as 8+ hex digits), and "%%".
// A width pads with blanks on the left ("-" pads on the right); a width
// written with a leading "0" is still padded with blanks, as in the
// run-time library (use ".N" for zeros). Integer arguments remember whether
// they were 32 or 64 bits wide, which decides how %x and %u show negatives.
//
// A directive whose type does not fit its argument raises EConvertError
// "Format '%s' invalid or incompatible with argument"; a directive without an
// argument raises EConvertError "No argument for format '%s'".
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "rtl/Types.h"

namespace rtl {

// One argument of Format, tagged with its kind.
class FormatArg {
 public:
  enum class Kind { Int32, Int64, UInt64, Float, Text, WideText, Char, Pointer, Bool };

  FormatArg(bool v) : kind_(Kind::Bool), i_(v ? 1 : 0) {}
  FormatArg(char v) : kind_(Kind::Char), i_(static_cast<unsigned char>(v)) {}
  FormatArg(WideChar v) : kind_(Kind::Char), i_(v) {}
  template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
             !std::is_same_v<T, WideChar>)
  FormatArg(T v) {
    if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) {
      kind_ = Kind::Int32;
      i_ = v;
    } else if constexpr (std::is_unsigned_v<T> && sizeof(T) < 4) {
      kind_ = Kind::Int32;
      i_ = v;
    } else if constexpr (std::is_unsigned_v<T> && sizeof(T) == 4) {
      // A Cardinal: the same 32 bits as an Integer for %x, positive for %u/%d.
      kind_ = Kind::Int64;
      i_ = static_cast<int64_t>(v);
      narrow_unsigned_ = true;
    } else if constexpr (std::is_signed_v<T>) {
      kind_ = Kind::Int64;
      i_ = v;
    } else {
      kind_ = Kind::UInt64;
      i_ = static_cast<int64_t>(v);
    }
  }
  template <typename T>
    requires std::is_enum_v<T>
  FormatArg(T v) : FormatArg(static_cast<std::underlying_type_t<T>>(v)) {}
  FormatArg(float v) : kind_(Kind::Float), f_(v) {}
  FormatArg(double v) : kind_(Kind::Float), f_(v) {}
  FormatArg(long double v) : kind_(Kind::Float), f_(static_cast<double>(v)) {}
  FormatArg(const char* v) : kind_(Kind::Text), s_(v ? v : "") {}
  FormatArg(std::string_view v) : kind_(Kind::Text), s_(v) {}
  FormatArg(const AnsiString& v) : kind_(Kind::Text), s_(v) {}
  FormatArg(std::u16string_view v) : kind_(Kind::WideText), w_(v) {}
  FormatArg(const WideString& v) : kind_(Kind::WideText), w_(v) {}
  FormatArg(const char16_t* v) : kind_(Kind::WideText), w_(v ? v : u"") {}
  FormatArg(const void* v) : kind_(Kind::Pointer), i_(static_cast<int64_t>(reinterpret_cast<uintptr_t>(v))) {}

  Kind kind() const { return kind_; }
  int64_t AsInt() const { return i_; }
  bool NarrowUnsigned() const { return narrow_unsigned_; }
  double AsFloat() const { return f_; }
  std::string_view AsText() const { return s_; }
  std::u16string_view AsWideText() const { return w_; }

 private:
  Kind kind_ = Kind::Int32;
  int64_t i_ = 0;
  bool narrow_unsigned_ = false;
  double f_ = 0;
  std::string_view s_;
  std::u16string_view w_;
};

// The arguments refer to the caller's values; they live for the call.
using FormatArgs = std::initializer_list<FormatArg>;

AnsiString Format(std::string_view format, const std::vector<FormatArg>& args);
AnsiString Format(std::string_view format, FormatArgs args);
inline AnsiString Format(std::string_view format) { return Format(format, FormatArgs{}); }

template <typename... Args>
  requires(sizeof...(Args) > 0 && !(sizeof...(Args) == 1 &&
                                   (std::is_same_v<std::decay_t<Args>, std::vector<FormatArg>> && ...)))
AnsiString Format(std::string_view format, const Args&... args) {
  return Format(format, FormatArgs{FormatArg(args)...});
}

}  // namespace rtl
