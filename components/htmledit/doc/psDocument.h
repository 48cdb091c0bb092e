#pragma once
// A loaded page: its whole node list with an html, a head and a body, the
// style context of its sheet and its character encoding; and the list of
// its meta tags.
#include <memory>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTagParser.h"

namespace htmldoc {

class TpsMetaTagList : public TpsMarkupTagList {
 public:
  TpsMetaTagList() : TpsMarkupTagList(true) {}
  // Values compared ASCII case ignored; -1 when none.
  Integer IndexOfHttpEquiv(const AnsiString& aValue) const;
  Integer IndexOfName(const AnsiString& aName) const;
  // Empty when there is no such tag.
  AnsiString GetContentByHttpEquiv(const AnsiString& aHttpEquiv) const;
  AnsiString GetContentByName(const AnsiString& aName) const;
  // Sets the content, or appends a new meta tag.
  void SetContentByHttpEquiv(const AnsiString& aHttpEquiv, const AnsiString& aContent);

 private:
  Integer IndexOfAttribute(const char* aAttribute, const AnsiString& aValue) const;
};

class TpsDocument {
 public:
  // Takes aChunk (nullptr for a new page) and builds what is missing of the
  // skeleton: only missing halves of the html and body pairs are added.
  TpsDocument(std::unique_ptr<TpsDataChunk> aChunk, TpsStyleSheet* aStyleSheet, const TpsHtmlTagEventsRef& aEvents,
              const TpsCharacterEncoding& aEncoding);
  TpsDocument(const TpsDocument&) = delete;
  TpsDocument& operator=(const TpsDocument&) = delete;

  TpsDataChunk& Chunk() const { return *FChunk; }
  TpsStyleContextTree& StyleContextTree() const { return *FStyleContextTree; }
  const TpsCharacterEncoding& Encoding() const { return FEncoding; }
  const TpsHtmlTagEventsRef& Events() const { return FEvents; }
  // nullptr when nothing stands before the body (after it).
  TpsChunkElement* BeforeBody() const { return FBeforeBody; }
  TpsChunkElement* AfterBody() const { return FAfterBody; }

  void ResetStyleContext() { FStyleContextTree->Invalidate(); }
  void SetMetaTags(const TpsMarkupTagList& aList);
  void SetLinkTags(const TpsMarkupTagList& aList);
  void SetTitle(const AnsiString& aTitle);
  AnsiString GetStyleSheetText() const { return FChunk->GetTagPairText(TAG_STYLE); }
  void SetStyleSheetText(const AnsiString& aText);
  // Through BeforeBody (from AfterBody); nothing when it names no element.
  WideString GetHtmlBeforeBody(const TpsCharacterEncoding& aEncoding) const;
  WideString GetHtmlAfterBody(const TpsCharacterEncoding& aEncoding) const;
  // From the first "body" opening tag through the last "body" closing tag.
  std::unique_ptr<TpsDataChunk> ExtractBody();

  bool KeepEmptyTitle = false;

 private:
  void BuildSkeleton();
  void ReplaceTags(Byte aTagCode, const TpsMarkupTagList& aList);
  std::unique_ptr<TpsHtmlTag> MakeTag(const AnsiString& aText) const {
    return TpsHtmlTag::CreateFromText(FEvents, aText);
  }

  std::unique_ptr<TpsDataChunk> FChunk;
  std::unique_ptr<TpsStyleContextTree> FStyleContextTree;
  TpsHtmlTagEventsRef FEvents;
  TpsChunkElement* FBeforeBody = nullptr;
  TpsChunkElement* FAfterBody = nullptr;
  TpsCharacterEncoding FEncoding;
};

}  // namespace htmldoc
