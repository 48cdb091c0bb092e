#pragma once
// What the corpus comparisons share: the Apache manual they read, and the
// hex form in which the Python scripts hand texts over (so that no byte of
// a page can be mistaken for the exchange's own separators).
#include <string>

namespace corpus {

inline constexpr const char* kApacheManual = "/usr/share/doc/apache2-doc/manual";

inline std::string Hex(const std::string& aText) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : aText) hex += {kDigits[c >> 4], kDigits[c & 15]};
  return hex;
}

inline std::string Unhex(const std::string& aHex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < aHex.size(); i += 2) bytes += static_cast<char>(std::stoi(aHex.substr(i, 2), nullptr, 16));
  return bytes;
}

}  // namespace corpus
