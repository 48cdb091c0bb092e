#pragma once
// The clipboard's numbered formats as byte blocks, shown to the desktop's
// other programs in their own types:
// - CF_TEXT is UTF-8 text and CF_UNICODETEXT UTF-16LE text with its
//   terminating zero unit; both are offered as text/plain (when both are
//   set, the Unicode text is the one offered).
// - "HTML Format" (a header of byte offsets before an HTML document) keeps
//   its exact bytes under a private type for our own readers and is offered
//   as text/html: the bytes from StartHTML to EndHTML. When only another
//   program's text/html is there, it reads as that text (decoded as Qt
//   decodes HTML, written as UTF-8) behind a header as the editor writes
//   one, whose fragment is what stands between "<!--StartFragment-->" and
//   "<!--EndFragment-->", else the body's content, else all of it.
// - "Rich Text Format" keeps its exact bytes under its private type and is
//   offered as text/rtf up to its terminating zero; when only another
//   program's text/rtf (or application/rtf) is there, it reads as those
//   bytes.
// - Other registered formats travel under their private types, as
//   TClipboard keeps them.
#include <string>
#include <utility>
#include <vector>

#include "vcl/Clipbrd.h"

namespace vcl {

using TClipboardBlocks = std::vector<std::pair<TClipboardFormat, std::string>>;

// Empties the clipboard and puts the formats on it together.
void SetClipboardBlocks(const TClipboardBlocks& aBlocks);
bool HasClipboardBlock(TClipboardFormat aFormat);
// Empty when the format is not there.
std::string GetClipboardBlock(TClipboardFormat aFormat);

// The "HTML Format" data for an HTML text and the 0-based byte range
// [aFragmentStart, aFragmentEnd) of its fragment: the 163-byte header,
// the text, CR LF and a zero byte.
std::string BuildHtmlFormatBlock(const std::string& aHtml, size_t aFragmentStart, size_t aFragmentEnd);

}  // namespace vcl
