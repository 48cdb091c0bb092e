#pragma once
// Geometry records and window handles shared by every unit of the class
// library. Rectangles keep the desktop convention: Right and Bottom are
// exclusive, so a rectangle from 10 to 20 is 10 pixels wide.
#include <algorithm>
#include <cstdint>

#include "rtl/Types.h"

namespace vcl {

using rtl::AnsiString;
using rtl::Byte;
using rtl::Cardinal;
using rtl::Integer;
using rtl::WideChar;
using rtl::WideString;
using rtl::Word;

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(Integer x, Integer y) { return {x, y}; }
constexpr TRect Rect(Integer left, Integer top, Integer right, Integer bottom) {
  return {left, top, right, bottom};
}
constexpr TRect Bounds(Integer left, Integer top, Integer width, Integer height) {
  return {left, top, left + width, top + height};
}
constexpr bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
constexpr void OffsetRect(TRect& r, Integer dx, Integer dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
}
constexpr void InflateRect(TRect& r, Integer dx, Integer dy) {
  r.Left -= dx;
  r.Right += dx;
  r.Top -= dy;
  r.Bottom += dy;
}
// The overlap of a and b; false (and an empty result) when they do not meet.
constexpr bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
  result = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
  if (result.IsEmpty()) {
    result = {};
    return false;
  }
  return true;
}

// A window handle: a number that names a windowed control while it exists.
// A handle of a destroyed control is never reused, so a message posted to it
// is dropped instead of reaching a stranger.
using HWND = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr Word LoWord(uintptr_t v) { return static_cast<Word>(v & 0xFFFF); }
constexpr Word HiWord(uintptr_t v) { return static_cast<Word>((v >> 16) & 0xFFFF); }
constexpr LPARAM MakeLParam(Word lo, Word hi) {
  return static_cast<LPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}
constexpr WPARAM MakeWParam(Word lo, Word hi) {
  return static_cast<WPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}
// Signed coordinates packed into an LPARAM, as mouse messages carry them.
constexpr Integer GET_X_LPARAM(LPARAM l) { return static_cast<int16_t>(LoWord(static_cast<uintptr_t>(l))); }
constexpr Integer GET_Y_LPARAM(LPARAM l) { return static_cast<int16_t>(HiWord(static_cast<uintptr_t>(l))); }
constexpr LPARAM PointToLParam(TPoint p) {
  return MakeLParam(static_cast<Word>(static_cast<int16_t>(p.X)), static_cast<Word>(static_cast<int16_t>(p.Y)));
}

}  // namespace vcl
