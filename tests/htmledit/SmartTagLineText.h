#pragma once
// How the smart-tag tests' stand-in text lines read their chunk: the
// characters a line shows (blanks at its start are not shown) and the text
// they hand to the block, a no-break space read as a blank and, when the
// line ends in a tag such as "br", one blank for it.
#include <vector>

#include "htmledit/doc/psDataChunk.h"

namespace smarttagtest {

inline std::vector<htmldoc::TpsChunkElement*> ShownCharacters(htmldoc::TpsDataChunk& aChunk) {
  std::vector<htmldoc::TpsChunkElement*> chars;
  for (htmldoc::TpsChunkElement* e = aChunk.First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && !(chars.empty() && (e->Char == u' ' || e->Char == u'\t' || e->Char == 0xA0)))
      chars.push_back(e);
  return chars;
}

inline rtl::WideString ShownText(htmldoc::TpsDataChunk& aChunk, bool aEndsWithTag) {
  rtl::WideString text;
  for (htmldoc::TpsChunkElement* e : ShownCharacters(aChunk)) text += e->Char == 0xA0 ? u' ' : e->Char;
  if (aEndsWithTag) text += u' ';
  return text;
}

}  // namespace smarttagtest
