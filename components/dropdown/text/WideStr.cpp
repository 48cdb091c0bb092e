#include "dropdown/text/WideStr.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace dropdown {
namespace {

constexpr size_t kHeader = 4;

unsigned char* HeaderOf(const char16_t* block) {
  return reinterpret_cast<unsigned char*>(const_cast<char16_t*>(block)) - kHeader;
}

}  // namespace

void TWideStrFree::operator()(char16_t* p) const {
  if (p) ::operator delete[](HeaderOf(p));
}

Cardinal WideStrLen(const char16_t* s) {
  if (!s) return 0;
  Cardinal n = 0;
  while (s[n]) ++n;
  return n;
}

void WideStrMove(char16_t* dest, const char16_t* source, Cardinal count) {
  if (count == 0 || dest == source) return;
  // memmove copies backwards when the areas overlap that way.
  std::memmove(dest, source, static_cast<size_t>(count) * sizeof(char16_t));
}

TWideStrBlock WideStrAlloc(Cardinal size) {
  size_t bytes = static_cast<size_t>(size) * 2 + kHeader;
  auto* raw = static_cast<unsigned char*>(::operator new[](bytes));
  std::memset(raw, 0, bytes);
  uint32_t stored = static_cast<uint32_t>(bytes);
  std::memcpy(raw, &stored, kHeader);
  return TWideStrBlock(reinterpret_cast<char16_t*>(raw + kHeader));
}

Cardinal WideStrBufSize(const char16_t* block) {
  uint32_t stored;
  std::memcpy(&stored, HeaderOf(block), kHeader);
  return stored;
}

TWideStrBlock WideStrNew(const char16_t* s) {
  if (!s) return nullptr;
  Cardinal n = WideStrLen(s) + 1;
  TWideStrBlock block = WideStrAlloc(n);
  WideStrMove(block.get(), s, n);
  return block;
}

}  // namespace dropdown
