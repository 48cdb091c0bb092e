// The clipboard's readers on arbitrary data: GetFragment returns a piece
// of the data, and exactly the fragment of data PutHtml built; TextToLines
// keeps every character but line ends and squeezed blanks, in order, and
// every entry it gives is a line as the paste command expects one.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "htmledit/control/psClipboard.h"

using namespace htmledit;

namespace {

[[noreturn]] void Fail(const char* aWhat) {
  std::fprintf(stderr, "%s\n", aWhat);
  std::abort();
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

void CheckFragment(const std::string& aData) {
  const AnsiString fragment = TpsClipboard::GetFragment(aData);
  if (!fragment.empty() && aData.find(fragment) == std::string::npos) Fail("a fragment not taken from the data");
  // The same bytes as the HTML text of a header PutHtml writes.
  if (aData.size() >= 2) {
    const std::string html = aData.substr(2);
    const Integer n = static_cast<Integer>(html.size());
    const Integer first = n ? 1 + static_cast<unsigned char>(aData[0]) % n : 1;
    const Integer last = n ? std::max<Integer>(first - 1, first - 1 + static_cast<unsigned char>(aData[1]) % (n - first + 2)) : 0;
    const std::string built = TpsClipboard::BuildHtmlFormat(html, first, last);
    if (built.size() != 163u + html.size() + 3) Fail("a header of the wrong length");
    const std::string back = TpsClipboard::GetFragment(built.substr(0, built.size() - 1));
    if (back != html.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1)))
      Fail("PutHtml's fragment not read back");
  }
}

void CheckLines(const std::u16string& aText) {
  std::vector<WideString> lines;
  TpsClipboard::TextToLines(aText, lines);
  std::u16string kept;
  for (size_t i = 0; i < lines.size(); ++i) {
    const WideString& line = lines[i];
    if (line.empty()) Fail("an empty entry");
    const bool ended = line.back() == u'\r';
    if (!ended && i + 1 != lines.size()) Fail("an unended line before the last");
    const WideString body = ended ? line.substr(0, line.size() - 1) : line;
    if (body.find(u'\r') != WideString::npos || body.find(u'\n') != WideString::npos) Fail("a line end inside a line");
    if (!body.empty() && (IsBlank(body.front()) || IsBlank(body.back()))) Fail("a blank at a line's edge");
    for (size_t k = 1; k < body.size(); ++k)
      if (IsBlank(body[k]) && IsBlank(body[k - 1])) Fail("two blanks in a row");
    for (char16_t c : body)
      if (!IsBlank(c)) kept += c;
  }
  std::u16string expected;
  for (char16_t c : aText)
    if (!IsBlank(c) && c != u'\r' && c != u'\n') expected += c;
  if (kept != expected) Fail("characters lost or added");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  const std::string data(reinterpret_cast<const char*>(aData), aSize);
  CheckFragment(data);
  // The bytes as 16-bit units; line ends and blanks made common.
  std::u16string text;
  for (size_t i = 0; i + 1 < aSize; i += 2) {
    char16_t c = static_cast<char16_t>(aData[i] | aData[i + 1] << 8);
    switch (c % 8) {
      case 0: c = u'\r'; break;
      case 1: c = u'\n'; break;
      case 2: c = u' '; break;
      case 3: c = u'\t'; break;
      default: break;
    }
    text += c;
  }
  CheckLines(text);
  return 0;
}
