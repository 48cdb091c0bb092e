// Any text through the page conversion: no crash, every internal tag the
// simulator's pattern finds reads back with a type and writes back without
// failing, values survive their escape, and the tag search stays in bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/KnRegExU.h"
#include "core/VormekWebParserU.h"
#include "rtl/Exceptions.h"
#include "rtl/StringList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  static core::TVormekWebParser parser;

  if (core::UnescapeTagValue(core::EscapeTagValue(text)) != text) std::abort();

  const std::string editor = parser.PageToEditor(text);
  core::TKnRegEx re;
  re.SetIgnoreCase(true);
  re.MatchPattern()->Add("<#_zelbe54f7mdl[^<>#]*/>");
  size_t offset = 0;
  while (offset < editor.size()) {
    core::TKnMatchPos pos;
    if (!re.FindMatch(editor.substr(offset), pos)) break;
    const std::string tag = editor.substr(offset + pos.FirstIndex - 1, pos.MatchLength);
    offset += pos.FirstIndex - 1 + pos.MatchLength;
    const core::TzelVarList attrs = parser.ParseTag(tag);
    // Tags of the input itself may carry anything; the converted ones
    // always carry a type.
    if (!attrs.Exists("type")) continue;
    (void)parser.EditorToPage(tag);
    (void)parser.GetCommandText(tag);
    try {
      (void)parser.TagHelpKeyword(tag, true);
    } catch (const rtl::EConvertError&) {
    }
  }

  for (rtl::Integer position : {1, static_cast<rtl::Integer>(size / 2), static_cast<rtl::Integer>(size)}) {
    const std::string found = parser.FindTagAt(text, position);
    if (!found.empty() && text.find(found) == std::string::npos) std::abort();
  }
  return 0;
}
