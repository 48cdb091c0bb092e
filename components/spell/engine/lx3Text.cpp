#include "spell/engine/lx3Text.h"

#include <array>

#include "rtl/CodePages.h"

namespace spell {

namespace {

struct CaseTables {
  std::array<unsigned char, 256> lower{};
  std::array<unsigned char, 256> upper{};
  CaseTables() {
    for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<unsigned char>(i);
    auto pair = [this](int up, int low) {
      lower[up] = static_cast<unsigned char>(low);
      upper[low] = static_cast<unsigned char>(up);
    };
    for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
      if (c != 0xD7) pair(c, c + 0x20);
    pair(0x8A, 0x9A);  // Š š
    pair(0x8C, 0x9C);  // Œ œ
    pair(0x8E, 0x9E);  // Ž ž
    pair(0x9F, 0xFF);  // Ÿ ÿ
  }
};

const CaseTables& Tables() {
  static const CaseTables tables;
  return tables;
}

}  // namespace

char EngineLowerChar(char c) {
  return static_cast<char>(Tables().lower[static_cast<unsigned char>(c)]);
}

char EngineUpperChar(char c) {
  return static_cast<char>(Tables().upper[static_cast<unsigned char>(c)]);
}

std::string EngineLowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = EngineLowerChar(c);
  return r;
}

std::string EngineUpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = EngineUpperChar(c);
  return r;
}

bool EngineIsCasedLetter(char c) { return EngineLowerChar(c) != EngineUpperChar(c); }

bool EngineSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (EngineLowerChar(a[i]) != EngineLowerChar(b[i])) return false;
  return true;
}

bool ToEngineText(std::string_view utf8, std::string& out) {
  bool ascii = true;
  for (char c : utf8)
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) {
    out.assign(utf8);
    return true;
  }
  if (!rtl::IsValidUtf8(utf8)) return false;
  rtl::EncodeResult r = rtl::EncodeCodePage(EngineCodePage, rtl::Utf8ToWide(utf8));
  if (r.Lossy()) return false;
  out = std::move(r.bytes);
  return true;
}

AnsiString FromEngineText(std::string_view engineText) {
  for (char c : engineText)
    if (static_cast<unsigned char>(c) >= 0x80)
      return rtl::WideToUtf8(rtl::DecodeCodePage(EngineCodePage, engineText));
  return AnsiString(engineText);
}

}  // namespace spell
