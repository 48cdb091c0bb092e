// The page parser on arbitrary bytes, syntax check on or off, every hook
// assigned, random tab stops; and the img rewriting of the markup scanner.
// A page the parser cannot read raises one of its two errors; every node
// list it gives passes Check().
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psStrings.h"
#include "rtl/Streams.h"

using namespace htmldoc;

namespace {

void Abort(const char* aWhat) {
  std::fprintf(stderr, "%s\n", aWhat);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize) {
  if (aSize < 2) return 0;
  const uint8_t flags = aData[0];
  const Integer tabStops = aData[1] % 6;
  const std::string page(reinterpret_cast<const char*>(aData + 2), aSize - 2);

  TpsHtmlParser parser("<!-- editing position -->");
  parser.TabStops = tabStops;
  // Replacements never name what they replace, so expansion ends.
  parser.OnParseCustomTag = [](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aText) {
    aText = aTag.GetContent().size() % 2 ? "<b>c</b>%w%" : aText.size() < 64 ? aText + "&amp;" : "";
  };
  parser.OnParseTag = [](TObjectPtr, TpsMarkupTag& aTag) {
    if (aTag.GetName() == "p") aTag.SetAttribute("class", "c");
  };
  parser.OnParseImageTag = [](TObjectPtr, TpsMarkupTag& aTag) { aTag.SetAttribute("alt", "i"); };
  parser.OnMetaTag = [](TObjectPtr, TpsMarkupTag&) {};
  parser.OnLinkTag = [](TObjectPtr, TpsMarkupTag&) {};
  parser.OnParseDocumentRuntimeVariable = [](TObjectPtr, const AnsiString& aName, AnsiString& aText) {
    if (aName == "v") aText = "<mytag a=1>x</mytag>";
    else if (aName.size() % 3 == 1) aText = "<i>" + aName.substr(0, 8) + "</i>";
  };
  parser.OnTitle = [](TObjectPtr, const AnsiString&) {};
  int polls = 0;
  parser.OnAbortPoll = [&polls, flags](TObjectPtr) { return (flags & 4) && ++polls == 3; };
  parser.OnImageTagAdded = [](TObjectPtr, TpsHtmlTag& aTag) {
    if (aTag.GetTagType() != ttEmpty) Abort("an image tag that is not empty");
  };
  TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(flags & 2 ? 1252 : 0);
  rtl::TStringStream stream(page);
  try {
    auto chunk = parser.Parse(stream, encoding, flags & 1);
    if (chunk) chunk->Check();
  } catch (const EpsHtmlEditParserError&) {
  } catch (const EpsHtmlEditParserSyntaxError&) {
  }

  TpsDocumentImageTagProcessor processor;
  processor.OnImageTag = [](TObjectPtr, TpsMarkupTag& aTag, AnsiString& aText) {
    if (aText.size() % 2) aText = "<img src=\"x\" />";
    else aTag.SetAttribute("src", "y");
  };
  AnsiString result;
  try {
    processor.Process(page, result);
  } catch (const EpsHtmlEditParserError&) {
  }
  return 0;
}
