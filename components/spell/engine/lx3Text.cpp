#include "spell/engine/lx3Text.h"

#include <array>
#include <unordered_map>

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

size_t DecodeUtf8Char(std::string_view s, size_t i, int32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t n = 0;
  int32_t min = 0;
  if (b < 0x80) {
    cp = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    n = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, cp = b & 0x07, min = 0x10000;
  } else {
    cp = -1;
    return 1;
  }
  if (i + n > s.size()) {
    cp = -1;
    return 1;
  }
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) {
      cp = -1;
      return 1;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    cp = -1;
    return 1;
  }
  return n;
}

// Code points above 0x7F that Windows-1252 holds, with their bytes.
namespace {
const std::unordered_map<int32_t, char>& Cp1252Bytes() {
  static const std::unordered_map<int32_t, char> table = [] {
    std::unordered_map<int32_t, char> t;
    for (int b = 0x80; b <= 0xFF; ++b) {
      const std::string one(1, static_cast<char>(b));
      const std::string utf8 = FromEngineText(one);
      int32_t cp = 0;
      if (DecodeUtf8Char(utf8, 0, cp) == utf8.size() && cp > 0) t.emplace(cp, static_cast<char>(b));
    }
    return t;
  }();
  return table;
}
}  // namespace

char EngineCharOf(int32_t cp) {
  if (cp >= 0 && cp < 0x80) return static_cast<char>(cp);
  const auto& table = Cp1252Bytes();
  auto it = table.find(cp);
  return it == table.end() ? ' ' : it->second;
}


std::string EngineCharsOfUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    int32_t cp = 0;
    i += DecodeUtf8Char(utf8, i, cp);
    out += EngineCharOf(cp);
  }
  return out;
}

}  // namespace spell
