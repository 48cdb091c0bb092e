#pragma once
// The scalar and string types every layer above is written in.
//
// AnsiString is UTF-8 (the system code page answers 65001), WideString is
// UTF-16, one element per code unit, as the document nodes hold it.
#include <cstdint>
#include <string>

namespace rtl {

using AnsiString = std::string;
using WideString = std::u16string;
using WideChar = char16_t;

using Integer = int32_t;
using Cardinal = uint32_t;
using Word = uint16_t;
using Byte = uint8_t;
using Int64 = int64_t;
using LongWord = uint32_t;

// Days since 1899-12-30, fraction of a day after the point.
using TDateTime = double;

// A small set over an enumeration whose values are below 64, standing in for
// the Pascal set types the tables are written with.
template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) Include(e);
  }
  constexpr bool Contains(E e) const { return (bits_ >> Index(e)) & 1u; }
  constexpr TSet& Include(E e) {
    bits_ |= uint64_t{1} << Index(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~(uint64_t{1} << Index(e));
    return *this;
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet operator|(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator&(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr bool operator==(const TSet&) const = default;
  constexpr uint64_t Bits() const { return bits_; }
  static constexpr TSet FromBits(uint64_t b) {
    TSet s;
    s.bits_ = b;
    return s;
  }

 private:
  static constexpr unsigned Index(E e) { return static_cast<unsigned>(e); }
  uint64_t bits_ = 0;
};

}  // namespace rtl
