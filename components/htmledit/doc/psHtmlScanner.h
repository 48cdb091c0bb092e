#pragma once
// The reading side the page parser and the markup scanner share: the input
// with text pushed back in front of it, the last characters taken from the
// input for error messages, and the tokens: tag texts, text runs, raw
// element content and run-time variables.
#include <functional>
#include <string_view>

#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psStrings.h"

namespace htmldoc {

class TpsHtmlScanner {
 public:
  TpsHtmlScanner() : FRing(50) {}

  // The input, the program's 8-bit text; what was pushed back is dropped.
  void Reset(AnsiString aText);

  // The character at offset aK ahead (pushed-back text first), -1 past the end.
  int At(size_t aK) const {
    const size_t pushed = FPush.size() - FPushPos;
    if (aK < pushed) return static_cast<unsigned char>(FPush[FPushPos + aK]);
    aK -= pushed;
    return FPos + aK < FSource.size() ? static_cast<unsigned char>(FSource[FPos + aK]) : -1;
  }
  bool AtEnd() const { return FPushPos >= FPush.size() && FPos >= FSource.size(); }
  bool AtTagStart() const;
  char Read();
  void Consume(size_t aCount);
  AnsiString Take(size_t aCount);
  // Puts aText in front of what is still to be read.
  void PushBack(std::string_view aText);
  bool PushedBackHolds(std::string_view aText) const {
    return std::string_view(FPush).substr(FPushPos).find(aText) != std::string_view::npos;
  }
  // Where reading stands in the input itself.
  size_t SourcePosition() const { return FPos; }
  // Characters read so far, pushed back or not.
  size_t ReadCount() const { return FReadCount; }
  const AnsiString& Source() const { return FSource; }
  // The last characters taken from the input (not from pushed-back text),
  // starting at a whole character.
  AnsiString Context() const;

  // The text of the tag whose "<" is next: a comment through "-->",
  // "<![CDATA[" through "]]>", "<!" and "<?" through ">", any other tag
  // through the ">" that ends it (FindTagEnd). False, with the rest of the
  // input taken, when the input ends first.
  bool ReadTagText(AnsiString& aText);
  // Up to a "<" that starts a tag (aStopAtTag), a "%" that is not the run's
  // first character (aStopAtPercent), or the end.
  AnsiString ReadTextRun(bool aStopAtPercent, bool aStopAtTag);
  // The content of a "style" or "script" element: up to its end tag
  // ("</name" then a blank, "/", ">" or the end; ASCII case ignored) or the
  // end of the input. The end tag stays to be read.
  AnsiString ReadRawContent(const AnsiString& aName);
  // At a "%": "%name%" with a replacement from aEvent becomes an "@drv"
  // element holding it, pushed back to be read as HTML. False, with the
  // text pushed back as it was, when no "%" closes the name before a "<" or
  // the end, or the replacement is empty.
  bool ReadRuntimeVariable(const std::function<void(TObjectPtr, const AnsiString&, AnsiString&)>& aEvent,
                           TObjectPtr aSender);

 private:
  size_t Find(std::string_view aPattern, size_t aFrom) const;

  AnsiString FSource;
  size_t FPos = 0;
  AnsiString FPush;
  size_t FPushPos = 0;
  size_t FReadCount = 0;
  TpsStringRingBuffer FRing;
};

}  // namespace htmldoc
