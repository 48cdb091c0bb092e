#pragma once
// Zero-terminated UTF-16 strings: length, overlapping moves, and blocks that
// carry their byte size in front (the form in which a wide string list
// hands out its text).
#include <cstddef>
#include <memory>

#include "rtl/Types.h"

namespace dropdown {

using rtl::Cardinal;

using PWideChar = char16_t*;

// Frees a block made by WideStrAlloc.
struct TWideStrFree {
  void operator()(char16_t* p) const;
};
// A block made by WideStrAlloc or WideStrNew; freed when it goes.
using TWideStrBlock = std::unique_ptr<char16_t, TWideStrFree>;

// The characters before the terminating zero; 0 for null.
Cardinal WideStrLen(const char16_t* s);
// Copies count characters from source to dest; the areas may overlap (the
// copy runs backwards when source lies below dest).
void WideStrMove(char16_t* dest, const char16_t* source, Cardinal count);
// A zero-filled block of size * 2 + 4 bytes whose first four bytes hold
// that byte size; the address just after them.
TWideStrBlock WideStrAlloc(Cardinal size);
// The byte size a block made by WideStrAlloc was made with.
Cardinal WideStrBufSize(const char16_t* block);
// Null for null, else a WideStrAlloc copy of s with its terminating zero.
TWideStrBlock WideStrNew(const char16_t* s);

}  // namespace dropdown
