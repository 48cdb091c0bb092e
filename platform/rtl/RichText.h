#pragma once
// A reader of rich text (RTF) for the texts that cells, the clipboard and
// files hold: styled runs and the plain text, without a window. It reads
// groups, skips destinations it does not show (font and style tables,
// pictures, document information, field instructions, anything marked
// with "\*"), turns \par, \line, \tab and the named punctuation into
// characters, decodes \'hh in the document's code page (\ansicpg, \ansi,
// \pc, \pca) and \uN with its \ucN fallback count, and keeps bold, italic,
// underline, the font size and the colour of the colour table.
//
// It never fails: an unknown control word is skipped, unbalanced groups end
// at the end of the text, and whatever follows the outermost group's end
// is ignored.
#include <string_view>
#include <vector>

#include "rtl/Types.h"

namespace rtl {

struct TRichTextRun {
  AnsiString Text;  // UTF-8
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  // Points; 0 when the text does not set a size.
  double FontSize = 0;
  // 0x00BBGGRR; -1 when the text does not set a colour.
  int64_t Color = -1;
  bool SameStyle(const TRichTextRun& other) const {
    return Bold == other.Bold && Italic == other.Italic && Underline == other.Underline &&
           FontSize == other.FontSize && Color == other.Color;
  }
};

struct TRichTextDocument {
  // Runs of one style each; no two neighbours share a style. Paragraph and
  // line ends are "\r\n" inside the runs' text.
  std::vector<TRichTextRun> Runs;
  // The colour table, in the order the text gives it (-1 for the automatic
  // entry).
  std::vector<int64_t> Colors;
  AnsiString PlainText() const;
};

TRichTextDocument ReadRichText(std::string_view rtf);
// The text without its styles.
AnsiString RichTextToPlainText(std::string_view rtf);

}  // namespace rtl
