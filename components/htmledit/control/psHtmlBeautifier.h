#pragma once
// Re-indents generated HTML text: block elements on lines of their own,
// indented by nesting depth, a blank line after every top-level block, and
// long text lines broken at blanks. Text only; nothing is parsed into a
// document.
#include "rtl/Types.h"

namespace htmledit {

using rtl::AnsiString;
using rtl::Integer;

class TpsHtmlBeautifier {
 public:
  TpsHtmlBeautifier(Integer aIndentationSize, Integer aLineLength)
      : FIndentationSize(aIndentationSize), FLineLength(aLineLength) {}

  // Lines end with CR LF. The content of script, style, pre and textarea
  // elements is copied as it stands.
  void Beautify(const AnsiString& aHtml, AnsiString& aResult);

 private:
  void Append(const char* aText, size_t aCount);
  void Append(const AnsiString& aText) { Append(aText.data(), aText.size()); }
  void IndentationStep();

  Integer FIndentationSize;
  Integer FLineLength;
  // Working state of one run.
  AnsiString FOutput;
  Integer FLevel = 0;
  size_t FLineLengthNow = 0;  // characters of the current line
  bool FLineBlank = true;     // the current line is empty or only blanks
};

void BeautifyHtml(const AnsiString& aHtml, Integer aIndentationSize, Integer aLineLength,
                  AnsiString& aResult);

}  // namespace htmledit
