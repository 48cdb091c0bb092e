// The document skeleton, its meta tags, and the node list's operations on
// the first tag pair of a code.
#include "htmledit/doc/psDocument.h"

#include "htmledit/doc/psLookupLists.h"
#include "rtl/CodePages.h"

namespace htmldoc {

namespace {

const TpsCharacterEncoding& Utf8Encoding() {
  static const TpsCharacterEncoding encoding = TpsCharacterEncoding::CreateFromCodePage(rtl::CP_UTF8);
  return encoding;
}

}  // namespace

// ---------------------------------------------------------------------------
// The first tag pair of a code

bool TpsDataChunk::FindTagPair(Byte aTagCode, TpsChunkElement*& aOpen, TpsChunkElement*& aClose) const {
  aOpen = FindTag(aTagCode, ttOpening, nullptr, true);
  aClose = aOpen ? FindTag(aTagCode, ttClosing, aOpen, true) : nullptr;
  return aOpen && aClose;
}

bool TpsDataChunk::HasTagPair(Byte aTagCode) const {
  TpsChunkElement *open, *close;
  return FindTagPair(aTagCode, open, close);
}

AnsiString TpsDataChunk::GetTagPairText(Byte aTagCode) const {
  TpsChunkElement *open, *close;
  if (!FindTagPair(aTagCode, open, close) || open->Next == close) return {};
  return rtl::WideToUtf8(GetHtmlText(open->Next, close->Prev, {}, false, Utf8Encoding()));
}

bool TpsDataChunk::SetTagPairElement(Byte aTagCode, TpsChunkElement* aElement) {
  TpsChunkElement *open, *close;
  if (!FindTagPair(aTagCode, open, close)) return false;
  if (open->Next != close) DeleteRange(open->Next, close->Prev);
  if (aElement) InsertAfter(aElement, open);
  return true;
}

bool TpsDataChunk::SetTagPairText(Byte aTagCode, const AnsiString& aText) {
  if (!SetTagPairElement(aTagCode, nullptr)) return false;
  TpsChunkElement *open, *close;
  FindTagPair(aTagCode, open, close);
  InsertTextAt(rtl::Utf8ToWide(aText), open, true);
  return true;
}

void TpsDataChunk::InsertTagPair(std::unique_ptr<TpsHtmlTag> aOpenTag, std::unique_ptr<TpsHtmlTag> aCloseTag,
                                 bool aAfter, TpsChunkElement* aTarget, const AnsiString& aText) {
  TpsChunkElement* open = NewTagElement(std::move(aOpenTag));
  TpsChunkElement* close = NewTagElement(std::move(aCloseTag));
  if (aTarget)
    InsertElement(open, aTarget, aAfter);
  else
    AddElement(open);
  InsertAfter(close, open);
  InsertTextAt(rtl::Utf8ToWide(aText), open, true);
}

void TpsDataChunk::InsertTagPairWithText(const TpsHtmlTagEventsRef& aEvents, Byte aTagCode, bool aAfter,
                                         TpsChunkElement* aTarget, const AnsiString& aText) {
  InsertTagPair(std::make_unique<TpsHtmlTag>(aEvents, aTagCode, ttOpening),
                std::make_unique<TpsHtmlTag>(aEvents, aTagCode, ttClosing), aAfter, aTarget, aText);
}

bool TpsDataChunk::RemoveTagPair(Byte aTagCode) {
  TpsChunkElement *open, *close;
  if (!FindTagPair(aTagCode, open, close)) return false;
  DeleteRange(open, close);
  return true;
}

// ---------------------------------------------------------------------------
// Meta tags

Integer TpsMetaTagList::IndexOfAttribute(const char* aAttribute, const AnsiString& aValue) const {
  for (Integer i = 0; i < Count(); ++i) {
    const TpsMarkupTag* tag = GetTag(i);
    if (tag->HasAttribute(aAttribute) && TpsStrings::CompareText(tag->GetAttribute(aAttribute), aValue) == 0)
      return i;
  }
  return -1;
}

Integer TpsMetaTagList::IndexOfHttpEquiv(const AnsiString& aValue) const { return IndexOfAttribute("http-equiv", aValue); }
Integer TpsMetaTagList::IndexOfName(const AnsiString& aName) const { return IndexOfAttribute("name", aName); }

AnsiString TpsMetaTagList::GetContentByHttpEquiv(const AnsiString& aHttpEquiv) const {
  const Integer index = IndexOfHttpEquiv(aHttpEquiv);
  return index < 0 ? AnsiString() : GetTag(index)->GetAttribute("content");
}

AnsiString TpsMetaTagList::GetContentByName(const AnsiString& aName) const {
  const Integer index = IndexOfName(aName);
  return index < 0 ? AnsiString() : GetTag(index)->GetAttribute("content");
}

void TpsMetaTagList::SetContentByHttpEquiv(const AnsiString& aHttpEquiv, const AnsiString& aContent) {
  const Integer index = IndexOfHttpEquiv(aHttpEquiv);
  if (index >= 0) {
    GetTag(index)->SetAttribute("content", aContent);
    return;
  }
  AddText("<meta http-equiv=\"" + aHttpEquiv + "\" content=\"" + aContent + "\" />");
}

// ---------------------------------------------------------------------------
// TpsDocument

TpsDocument::TpsDocument(std::unique_ptr<TpsDataChunk> aChunk, TpsStyleSheet* aStyleSheet,
                         const TpsHtmlTagEventsRef& aEvents, const TpsCharacterEncoding& aEncoding)
    : FChunk(std::move(aChunk)), FEvents(aEvents), FEncoding(aEncoding) {
  BuildSkeleton();
  FStyleContextTree = std::make_unique<TpsStyleContextTree>(aStyleSheet);
}

void TpsDocument::BuildSkeleton() {
  if (!FChunk) {
    FChunk = std::make_unique<TpsDataChunk>();
    for (const char* text : {"<html>", "<head>", "</head>", "<body>", "</body>", "</html>"})
      FChunk->AddTag(MakeTag(text));
  } else {
    TpsDataChunk& c = *FChunk;
    TpsChunkElement* bodyOpen = c.FindTag(TAG_BODY, ttOpening, nullptr, true);
    TpsChunkElement* bodyClose = c.FindTag(TAG_BODY, ttClosing, nullptr, false);
    if (!bodyOpen && !bodyClose) {
      // The whole content becomes the body.
      c.PrependTag(MakeTag("<body>"));
      c.AddTag(MakeTag("</body>"));
    } else if (!bodyClose) {
      // Only the missing half: the end before a trailing "</html>".
      TpsChunkElement* last = c.Last();
      if (TpsDataChunk::IsTag(last, TAG_HTML, ttClosing))
        c.InsertTag(MakeTag("</body>"), last, false);
      else
        c.AddTag(MakeTag("</body>"));
    } else if (!bodyOpen) {
      // The start after the head when there is one.
      if (TpsChunkElement* headClose = c.FindTag(TAG_HEAD, ttClosing, nullptr, true))
        c.InsertTag(MakeTag("<body>"), headClose, true);
      else
        c.PrependTag(MakeTag("<body>"));
    }
    if (!c.FindTagOfCode(TAG_HEAD, nullptr, true)) {
      TpsChunkElement* body = c.FindTag(TAG_BODY, ttOpening, nullptr, true);
      c.InsertTag(MakeTag("</head>"), c.InsertTag(MakeTag("<head>"), body, false), true);
    }
    const bool htmlOpen = c.FindTag(TAG_HTML, ttOpening, nullptr, true) != nullptr;
    const bool htmlClose = c.FindTag(TAG_HTML, ttClosing, nullptr, true) != nullptr;
    if (!htmlOpen) c.PrependTag(MakeTag("<html>"));
    if (!htmlClose) c.AddTag(MakeTag("</html>"));
  }
  TpsChunkElement* bodyOpen = FChunk->FindTag(TAG_BODY, ttOpening, nullptr, true);
  TpsChunkElement* bodyClose = FChunk->FindTag(TAG_BODY, ttClosing, nullptr, false);
  FBeforeBody = bodyOpen ? bodyOpen->Prev : nullptr;
  FAfterBody = bodyClose ? bodyClose->Next : nullptr;
}

void TpsDocument::ReplaceTags(Byte aTagCode, const TpsMarkupTagList& aList) {
  TpsDataChunk& c = *FChunk;
  for (TpsChunkElement* e = c.First(); e;) {
    const bool remove = TpsDataChunk::TagCodeOf(e) == aTagCode && e->Tag->GetTagType() != ttClosing;
    e = remove ? c.RemoveAndNext(e, true) : e->Next;
  }
  TpsChunkElement* target = c.FindTag(TAG_HEAD, ttOpening, nullptr, true);
  for (Integer i = 0; i < aList.Count(); ++i) {
    std::unique_ptr<TpsHtmlTag> tag = MakeTag(aList.GetTag(i)->GetText());
    if (target)
      target = c.InsertTag(std::move(tag), target, true);
    else
      c.AddTag(std::move(tag));
  }
}

void TpsDocument::SetMetaTags(const TpsMarkupTagList& aList) { ReplaceTags(TAG_META, aList); }
void TpsDocument::SetLinkTags(const TpsMarkupTagList& aList) { ReplaceTags(TAG_LINK, aList); }

void TpsDocument::SetTitle(const AnsiString& aTitle) {
  if (aTitle.empty() && !KeepEmptyTitle) {
    FChunk->RemoveTagPair(TAG_TITLE);
  } else if (FChunk->HasTagPair(TAG_TITLE)) {
    FChunk->SetTagPairText(TAG_TITLE, aTitle);
  } else {
    FChunk->InsertTagPairWithText(FEvents, TAG_TITLE, true, FChunk->FindTag(TAG_HEAD, ttOpening, nullptr, true),
                                  aTitle);
  }
}

void TpsDocument::SetStyleSheetText(const AnsiString& aText) {
  if (aText.empty()) {
    FChunk->RemoveTagPair(TAG_STYLE);
    return;
  }
  if (FChunk->HasTagPair(TAG_STYLE)) {
    FChunk->SetTagPairElement(TAG_STYLE, NewIgnoreElement(std::make_unique<TpsStringIgnoreElement>(aText)));
    return;
  }
  TpsChunkElement* headClose = FChunk->FindTag(TAG_HEAD, ttClosing, nullptr, true);
  TpsChunkElement* open = FChunk->InsertTag(MakeTag("<style type=\"text/css\">"), headClose, false);
  TpsChunkElement* content = NewIgnoreElement(std::make_unique<TpsStringIgnoreElement>(aText));
  FChunk->InsertAfter(content, open);
  FChunk->InsertTag(MakeTag("</style>"), content, true);
}

WideString TpsDocument::GetHtmlBeforeBody(const TpsCharacterEncoding& aEncoding) const {
  if (!FBeforeBody) return {};
  return FChunk->GetHtmlText(FChunk->First(), FBeforeBody, {}, false, aEncoding);
}

WideString TpsDocument::GetHtmlAfterBody(const TpsCharacterEncoding& aEncoding) const {
  if (!FAfterBody) return {};
  return FChunk->GetHtmlText(FAfterBody, FChunk->Last(), {}, false, aEncoding);
}

std::unique_ptr<TpsDataChunk> TpsDocument::ExtractBody() {
  TpsChunkElement* open = FChunk->FindTag(TAG_BODY, ttOpening, nullptr, true);
  TpsChunkElement* close = FChunk->FindTag(TAG_BODY, ttClosing, nullptr, false);
  if (!open || !close) return std::make_unique<TpsDataChunk>();
  return FChunk->Extract(open, close);
}

}  // namespace htmldoc
