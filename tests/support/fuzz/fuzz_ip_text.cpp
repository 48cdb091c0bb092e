// Any text through the address edit's parser: nothing crashes, the four
// bytes written back and read again are the same, and every field holds
// what its token says when the token is a plain number up to 255.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/IPAddressText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto bytes = support::ParseIPAddressText(text);
  const std::string normal = support::FormatIPAddressText(bytes);
  if (support::ParseIPAddressText(normal) != bytes) std::abort();
  if (support::FormatIPAddressText(support::ParseIPAddressText(normal)) != normal) std::abort();
  // The first token alone decides the first byte.
  const std::string first = text.substr(0, text.find('.'));
  if (!first.empty() && first.size() <= 3 && first.find_first_not_of("0123456789") == std::string::npos &&
      std::stoi(first) <= 255 && bytes[0] != std::stoi(first))
    std::abort();
  return 0;
}
