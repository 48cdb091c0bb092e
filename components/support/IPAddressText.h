#pragma once
// The text form of an IPv4 address as the address edit reads and writes
// it. Kept free of the window layer, so it is fuzzed on its own.
#include <array>
#include <cstdint>
#include <string>

namespace support {

// Split at "." into at most four tokens (the fourth takes the rest); a
// token counts only when it is a decimal number from 0 to 255, spaces
// around it allowed; anything else, a number too large for a byte
// included, is 0.
inline std::array<uint8_t, 4> ParseIPAddressText(const std::string& text) {
  std::array<uint8_t, 4> out{};
  size_t from = 0;
  for (size_t field = 0; field < 4 && from <= text.size(); ++field) {
    const size_t dot = field < 3 ? text.find('.', from) : std::string::npos;
    const size_t end = dot == std::string::npos ? text.size() : dot;
    size_t b = from, e = end;
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    int value = 0;
    if (e > b && e - b <= 3) {
      for (size_t i = b; i < e; ++i) {
        if (text[i] < '0' || text[i] > '9') {
          value = -1;
          break;
        }
        value = value * 10 + (text[i] - '0');
      }
    } else {
      value = -1;
    }
    out[field] = value >= 0 && value <= 255 ? static_cast<uint8_t>(value) : 0;
    if (dot == std::string::npos) break;
    from = dot + 1;
  }
  return out;
}

// "%d.%d.%d.%d".
inline std::string FormatIPAddressText(const std::array<uint8_t, 4>& bytes) {
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
         std::to_string(bytes[3]);
}

}  // namespace support
