// FindUrl and the word splitter on arbitrary 16-bit text cut into text
// lines: each address found starts with a prefix, holds no blank, ends on
// no trailing punctuation, and the next search starts after it; the words
// are exactly the maximal runs of non-separators; the link handler's marks
// stay inside their lines.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "htmledit/control/psSmartTagLink.h"

using namespace htmledit;

namespace {

[[noreturn]] void Fail(const char* aWhat) {
  std::fprintf(stderr, "%s\n", aWhat);
  std::abort();
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithPrefix(const std::u16string& aText, size_t aAt) {
  for (std::u16string_view prefix : {u"http://", u"https://", u"news://", u"ftp://", u"mailto:", u"www."}) {
    if (aAt + prefix.size() > aText.size()) continue;
    bool same = true;
    for (size_t i = 0; i < prefix.size() && same; ++i) same = Lower(aText[aAt + i]) == prefix[i];
    if (same) return true;
  }
  return false;
}

// A block node with no children and text lines that take marks.
class Node : public IpsSmartTagNode {
 public:
  bool IsSmartTagBlock() override { return true; }
  Integer SmartTagChildCount() override { return 0; }
  IpsSmartTagNode* SmartTagChild(Integer) override { return nullptr; }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock&) override {}
  void ClearSmartTags(Integer) override {}
  void SetSmartTag(const TpsSmartTagMarkRequest&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  // Bytes to units: most are ASCII, so prefixes and separators occur.
  std::u16string text;
  for (size_t i = 0; i < aSize; ++i) {
    const uint8_t b = aData[i];
    if (b == 0xFF && i + 2 < aSize) {
      text += static_cast<char16_t>(aData[i + 1] | aData[i + 2] << 8);
      i += 2;
    } else {
      text += static_cast<char16_t>(b);
    }
  }

  const Integer length = static_cast<Integer>(text.size());
  Integer position = 1, first = 0, last = 0;
  std::vector<std::pair<Integer, Integer>> found;
  while (TpsSmartTagCreateLinkHandler::FindUrl(text, position, first, last)) {
    found.push_back({first, last});
    if (first < position || last < first || last > length) Fail("an address outside the searched text");
    if (!StartsWithPrefix(text, static_cast<size_t>(first - 1))) Fail("an address without a prefix");
    for (Integer k = first; k <= last; ++k)
      if (text[static_cast<size_t>(k - 1)] == u' ') Fail("a blank inside an address");
    const char16_t end = text[static_cast<size_t>(last - 1)];
    if (end == u'.' || end == u',' || end == u';' || end == u'!' || end == u'?' || end == u'"')
      Fail("trailing punctuation kept");
    position = last + 1;
  }

  // The text in lines at each 0x0A byte, as the block collects them.
  Node blockNode;
  std::vector<Node> lineNodes((text.size() / 8) + 1);
  TpsSmartTagAnalysisBlock block(nullptr, &blockNode);
  size_t from = 0, line = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'\n') {
      if (line < lineNodes.size()) block.AddText(&lineNodes[line++], text.substr(from, i - from), 0);
      from = i + 1;
    }
  }
  block.Prepare();
  const htmldoc::TpsWordList& words = block.Words();
  Integer previousEntry = -1, previousLast = 0;
  for (Integer w = 0; w < block.GetWordCount(); ++w) {
    const Integer entry = words.GetStringIndex(w);
    const WideString& lineText = block.NodeText(entry);
    const Integer a = words.GetFirstChar(w), b = words.GetLastChar(w);
    if (a < 1 || b < a || b > static_cast<Integer>(lineText.size())) Fail("a word outside its line");
    if (entry < previousEntry || (entry == previousEntry && a <= previousLast + 1)) Fail("words out of order or joined");
    for (Integer k = a; k <= b; ++k)
      if (IsSmartTagSeparator(lineText[static_cast<size_t>(k - 1)])) Fail("a separator inside a word");
    if ((a > 1 && !IsSmartTagSeparator(lineText[static_cast<size_t>(a - 2)])) ||
        (b < static_cast<Integer>(lineText.size()) && !IsSmartTagSeparator(lineText[static_cast<size_t>(b)])))
      Fail("a word that is not maximal");
    if (block.GetWideWord(w) != lineText.substr(static_cast<size_t>(a - 1), static_cast<size_t>(b - a + 1)))
      Fail("a word's text");
    previousEntry = entry;
    previousLast = b;
  }
  // Every non-separator stands in a word: count them.
  size_t inWords = 0, nonSeparators = 0;
  for (Integer w = 0; w < block.GetWordCount(); ++w) inWords += static_cast<size_t>(words.GetLastChar(w) - words.GetFirstChar(w) + 1);
  for (Integer e = 0; e < block.NodeTextCount(); ++e)
    for (char16_t c : block.NodeText(e)) nonSeparators += !IsSmartTagSeparator(c);
  if (inWords != nonSeparators) Fail("characters outside every word");
  if (block.GetWord(block.GetWordCount()) != "" || block.GetWord(-1) != "") Fail("a word outside the list");

  TpsSmartTagCreateLinkHandler handler(true, 0xFF0000, nullptr);
  // On one line the handler marks exactly what FindUrl finds, in order.
  Node oneLine;
  TpsSmartTagAnalysisBlock whole(nullptr, &blockNode);
  whole.AddText(&oneLine, text, 0);
  whole.Prepare();
  handler.AnalyzeBlock(whole);
  if (whole.Queue().size() != found.size()) Fail("the handler marks other addresses than FindUrl finds");
  for (size_t i = 0; i < found.size(); ++i)
    if (whole.Queue()[i].First != found[i].first || whole.Queue()[i].Last != found[i].second)
      Fail("a mark other than FindUrl's address");

  handler.AnalyzeBlock(block);
  for (const TpsSmartTagMarkRequest& mark : block.Queue()) {
    Integer entry = -1;
    for (Integer e = 0; e < block.NodeTextCount(); ++e)
      if (block.NodeOfText(e) == mark.Node) entry = e;
    if (entry < 0) Fail("a mark for no line");
    if (mark.First < 1 || mark.Last < mark.First || mark.Last > static_cast<Integer>(block.NodeText(entry).size()))
      Fail("a mark outside its line");
  }
  return 0;
}
