// Any mask and any key sequence through the mask engine: nothing may crash
// or raise, the edit text keeps one character a position, and the text
// read back never grows past the mask. The input is the mask, a zero
// byte, the text set first, a zero byte, then the keys (byte 1 Backspace,
// byte 2 Delete at the caret, byte 3 a paste of the rest).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vcl/MaskEngine.h"

namespace {

size_t Characters(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t a = input.find('\0');
  const std::string mask = input.substr(0, a);
  const size_t b = a == std::string::npos ? std::string::npos : input.find('\0', a + 1);
  const std::string text = a == std::string::npos ? "" : input.substr(a + 1, b == std::string::npos ? b : b - a - 1);
  const std::string keys = b == std::string::npos ? "" : input.substr(b + 1);
  vcl::TMaskEngine m(mask);
  std::string edit = m.EditTextOf(text);
  if (!m.Empty() && Characters(edit) != static_cast<size_t>(m.Length())) std::abort();
  rtl::Integer caret = 0;
  for (size_t i = 0; i < keys.size(); ++i) {
    const auto k = static_cast<unsigned char>(keys[i]);
    if (k == 1) {
      m.Backspace(edit, caret);
    } else if (k == 2) {
      m.Delete(edit, caret, 1);
    } else if (k == 3) {
      m.Paste(edit, caret, keys.substr(i + 1));
      break;
    } else {
      m.TypeChar(edit, caret, k);
    }
    if (caret < 0 || caret > m.Length()) std::abort();
  }
  if (!m.Empty() && Characters(edit) != static_cast<size_t>(m.Length())) std::abort();
  if (Characters(m.TextOf(edit)) > static_cast<size_t>(m.Length()) + (m.Empty() ? Characters(edit) : 0)) std::abort();
  m.Valid(edit);
  return 0;
}
