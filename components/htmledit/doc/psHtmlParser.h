#pragma once
// HTML text into the editor's document: a node list of tags, characters,
// the cursor and verbatim items, with the page's charset, the module's
// custom tags and run-time variables expanded through the editor's hooks,
// and an optional syntax check. Beside it a lighter scanner with the same
// tokenising rules, and the rewriting of img tags in pasted HTML.
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psHtmlTag.h"

namespace rtl {
class TStream;
}

namespace htmldoc {

class TpsCharacterEncoding;
class TpsDataChunk;
class TpsHtmlSyntaxChecker;
class TpsHtmlScanner;

enum TpsParsingState : Byte { psNone, psHtml, psHead, psStyle, psTitle, psBody };

class TpsParsingStateStack {
 public:
  void Push(TpsParsingState aState) { FStates.push_back(aState); }
  // psNone when empty.
  TpsParsingState Pop();
  TpsParsingState Top() const { return FStates.empty() ? psNone : FStates.back(); }
  bool IsEmpty() const { return FStates.empty(); }
  void Clear() { FStates.clear(); }

 private:
  std::vector<TpsParsingState> FStates;
};

class EpsHtmlEditParserError : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
  const char* ClassName() const noexcept override { return "EpsHtmlEditParserError"; }
};

class EpsHtmlEditParserSyntaxError : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
  const char* ClassName() const noexcept override { return "EpsHtmlEditParserSyntaxError"; }
};

using TParseCustomTagEvent =
    std::function<void(TObjectPtr aSender, TpsMarkupTag& aCustomTag, AnsiString& aReplaceString)>;
using TpsParseTagEvent = std::function<void(TObjectPtr aSender, TpsMarkupTag& aTag)>;
using TParseImageTagEvent = std::function<void(TObjectPtr aSender, TpsMarkupTag& aImageTag)>;
using TpsMarkupTagEvent = std::function<void(TObjectPtr aSender, TpsMarkupTag& aTag)>;
using TParseDocumentRuntimeVariableEvent =
    std::function<void(TObjectPtr aSender, const AnsiString& aVariableName, AnsiString& aReplaceString)>;
using TpsTitleEvent = std::function<void(TObjectPtr aSender, const AnsiString& aTitle)>;
using TpsAbortPollEvent = std::function<bool(TObjectPtr aSender)>;
using TpsImageTagAddedEvent = std::function<void(TObjectPtr aSender, TpsHtmlTag& aTag)>;

class TpsHtmlParser {
 public:
  explicit TpsHtmlParser(const AnsiString& aEditingPositionComment);
  ~TpsHtmlParser();
  TpsHtmlParser(const TpsHtmlParser&) = delete;
  TpsHtmlParser& operator=(const TpsHtmlParser&) = delete;

  // The page in aSource, read from its start as bytes, as a new node list;
  // nullptr when OnAbortPoll asked to stop. aEncoding becomes the charset
  // the page was read in. Raises EpsHtmlEditParserError or
  // EpsHtmlEditParserSyntaxError (with aCheckSyntax) for a page it cannot
  // read.
  std::unique_ptr<TpsDataChunk> Parse(rtl::TStream& aSource, TpsCharacterEncoding& aEncoding, bool aCheckSyntax);

  // Copied into every tag the parser makes.
  TpsHtmlTagEventsRef TagEvents;
  TParseCustomTagEvent OnParseCustomTag;
  TpsParseTagEvent OnParseTag;
  TParseImageTagEvent OnParseImageTag;
  TpsMarkupTagEvent OnMetaTag;
  TpsMarkupTagEvent OnLinkTag;
  TParseDocumentRuntimeVariableEvent OnParseDocumentRuntimeVariable;
  TpsTitleEvent OnTitle;
  TpsAbortPollEvent OnAbortPoll;
  TpsImageTagAddedEvent OnImageTagAdded;

  // Non-breaking spaces that stand for one tab in body text (at least one).
  Integer TabStops = 2;

 private:
  struct CustomData {
    AnsiString Source;
    AnsiString Content;
    bool AsWritten = true;
  };

  void Run();
  void ParseTag();
  void ParseText();
  void BodyTag(AnsiString aText);
  void HeadTag(const AnsiString& aText, const TpsMarkupTag& aTag);
  void CustomTag(const AnsiString& aText);
  bool ReadCustomContent(const AnsiString& aName, AnsiString& aContent);
  void AddComment(const AnsiString& aText, bool aInBody);
  void AddRawContent(const AnsiString& aName);
  void AddTag(std::unique_ptr<TpsHtmlTag> aTag);
  [[noreturn]] void Fail(const char* aReason, bool aSyntax) const;
  void IndexClosingTags();

  std::unique_ptr<TpsHtmlScanner> FScanner;
  std::unique_ptr<TpsDataChunk> FChunk;
  std::unique_ptr<TpsHtmlSyntaxChecker> FChecker;
  TpsParsingStateStack FStates;
  AnsiString FEditingPositionComment;
  bool FCursorPlaced = false;
  bool FPercentFailed = false;
  // The custom tag whose "@cust" pair is still to come, and those whose
  // pair is open, innermost last: each pair gets its own tag's data, also
  // when custom tags nest through their replacements.
  CustomData FPendingCustom;
  std::vector<CustomData> FOpenCustom;
  // For each closing-tag name of the page, where its last closing tag
  // starts; a custom tag with none after it has no content to look for.
  std::vector<std::pair<AnsiString, size_t>> FLastClosingTag;
};

class TpsMarkupParser {
 public:
  TpsMarkupParser();
  virtual ~TpsMarkupParser();
  TpsMarkupParser(const TpsMarkupParser&) = delete;
  TpsMarkupParser& operator=(const TpsMarkupParser&) = delete;

  // Scans the whole text (the program's 8-bit text) or stream.
  void ParseText(const AnsiString& aText);
  void ParseStream(rtl::TStream& aSource);
  // A text run from the current position: up to a "<" that starts a tag
  // (aStopAtTag), a "%" that is not its first character (aStopAtPercent),
  // or the end.
  void ReadText(bool aStopAtPercent, bool aStopAtTag, bool aDecodeEntities, AnsiString& aText);

  TParseDocumentRuntimeVariableEvent OnParseDocumentRuntimeVariable;
  TpsAbortPollEvent OnAbortPoll;

 protected:
  virtual void ProcessText() {}
  virtual void EndOfInput() {}
  virtual void ProcessTag(const AnsiString& aTagText) {}

 private:
  void Scan(AnsiString aText);

  std::unique_ptr<TpsHtmlScanner> FScanner;
};

class TpsDocumentImageTagProcessor : public TpsMarkupParser {
 public:
  void Process(const AnsiString& aHtml, AnsiString& aResult);

  // aText starts as the tag's text; a changed text replaces the tag.
  std::function<void(TObjectPtr aSender, TpsMarkupTag& aTag, AnsiString& aText)> OnImageTag;

 protected:
  void ProcessText() override;
  void ProcessTag(const AnsiString& aTagText) override;

 private:
  AnsiString FResult;
};

}  // namespace htmldoc
