// The HTML importer on arbitrary text, with and without paragraphs, and no
// handler for unknown tags: every "<" of the output starts a whole item
// (the text's own are written "&lt;"), and its tags, read back with the
// markup tag reader, pair up: each closing tag ends the element opened
// last, and nothing stays open. The plain-text importer on the same bytes:
// its output is paragraphs around the text with "<" and "&" escaped and
// every line ended by CR LF.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "htmledit/control/psHtmlImporter.h"
#include "htmledit/doc/psTagText.h"

using namespace htmledit;

namespace {

[[noreturn]] void Fail(const char* aWhat, const std::string& aInput, const std::string& aOutput) {
  std::fprintf(stderr, "%s\ninput:  %s\noutput: %s\n", aWhat, aInput.c_str(), aOutput.c_str());
  std::abort();
}

bool IsVoid(const std::string& aName) {
  return aName == "br" || aName == "img" || aName == "meta" || aName == "link";
}

void CheckBalanced(const std::string& aInput, const std::string& aOut) {
  const size_t n = aOut.size();
  const auto at = [&](size_t k) { return k < n ? static_cast<unsigned char>(aOut[k]) : -1; };
  std::vector<std::string> open;
  for (size_t pos = 0; pos < n;) {
    if (aOut[pos] != '<') {
      ++pos;
      continue;
    }
    size_t end;
    if (aOut.compare(pos, 4, "<!--") == 0) {
      end = aOut.find("-->", pos + 2);
      if (end == std::string::npos) Fail("an unended comment", aInput, aOut);
      pos = end + 3;
      continue;
    }
    if (aOut.compare(pos, 2, "<!") == 0 || aOut.compare(pos, 2, "<?") == 0) {
      end = aOut.find('>', pos + 2);
      if (end == std::string::npos) Fail("an unended declaration", aInput, aOut);
      pos = end + 1;
      continue;
    }
    if (!htmldoc::StartsTag(at(pos + 1))) Fail("a bare < in the text", aInput, aOut);
    bool stopped = false;
    const size_t k = htmldoc::FindTagEnd([&](size_t i) { return at(pos + i); }, false, stopped);
    if (k == htmldoc::kNoTagEnd) Fail("an unended tag", aInput, aOut);
    htmldoc::TpsMarkupTag tag(aOut.substr(pos, k + 1), false, true, false);
    const std::string name = tag.GetName();
    if (name.empty()) Fail("a tag without a name", aInput, aOut);
    pos += k + 1;
    if (tag.GetTagType() == htmldoc::ttEmpty || (IsVoid(name) && tag.GetTagType() == htmldoc::ttOpening)) continue;
    if (tag.GetTagType() == htmldoc::ttOpening) {
      open.push_back(name);
      continue;
    }
    if (open.empty() || open.back() != name) Fail("a closing tag that ends no element opened last", aInput, aOut);
    open.pop_back();
  }
  if (!open.empty()) Fail("an element left open", aInput, aOut);
}

// CR LF, CR and LF as CR LF; a final line end adds no line.
std::string PlainLines(const std::string& aText) {
  std::string out;
  for (size_t i = 0; i < aText.size(); ++i) {
    if (aText[i] == '\r' || aText[i] == '\n') {
      if (aText[i] == '\r' && i + 1 < aText.size() && aText[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += aText[i];
    }
  }
  if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0) out.resize(out.size() - 2);
  return out;
}

void CheckPlain(const std::string& aInput, bool aPerLine) {
  AnsiString out;
  TpsPlaintextImporter::Import(aInput, aPerLine, out);
  std::string text;
  bool inParagraph = false;
  for (size_t i = 0; i < out.size();) {
    if (out.compare(i, 3, "<p>") == 0) {
      if (inParagraph) Fail("a paragraph inside a paragraph", aInput, out);
      inParagraph = true;
      i += 3;
    } else if (out.compare(i, 4, "</p>") == 0) {
      if (!inParagraph) Fail("a paragraph closed twice", aInput, out);
      inParagraph = false;
      i += 4;
    } else if (out[i] == '<') {
      Fail("a bare < in plain text", aInput, out);
    } else if (out.compare(i, 4, "&lt;") == 0) {
      text += '<';
      i += 4;
    } else if (out.compare(i, 5, "&amp;") == 0) {
      text += '&';
      i += 5;
    } else if (out[i] == '&') {
      Fail("a bare & in plain text", aInput, out);
    } else {
      text += out[i++];
    }
  }
  if (inParagraph) Fail("a paragraph left open", aInput, out);
  if (text != PlainLines(aInput)) Fail("plain text changed", aInput, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  if (aSize < 1) return 0;
  const bool wrap = aData[0] & 1;
  const std::string input(reinterpret_cast<const char*>(aData + 1), aSize - 1);
  TpsHtmlImporter importer;
  AnsiString out;
  importer.Import(input, wrap, out);
  CheckBalanced(input, out);
  // The importer starts afresh on a second run.
  AnsiString again;
  importer.Import(input, wrap, again);
  if (again != out) Fail("a second import differs", input, again);
  CheckPlain(input, aData[0] & 2);
  return 0;
}
