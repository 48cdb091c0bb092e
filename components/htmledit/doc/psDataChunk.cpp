// Elements, link primitives, typed appends, finders, element tests and the
// invariant check of TpsDataChunk; the tag-pair and image-alignment
// routines.
#include "htmledit/doc/psDataChunk.h"

#include <unordered_set>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/Format.h"

namespace htmldoc {

namespace {

std::atomic<uint32_t> gNextElementId{1};

}  // namespace

uint32_t NextElementId() { return gNextElementId.fetch_add(1, std::memory_order_relaxed); }

void InitSmartTagMark(TpsSmartTagMark& aMark) {
  aMark.Marked = false;
  aMark.MarkId = 0;
  aMark.Handler = nullptr;
}

bool HasSmartTagMark(const TpsSmartTagMark& aMark) { return aMark.Marked && aMark.MarkId > 0; }

TpsChunkElement* NewElement(uint32_t aId) {
  auto* element = new TpsChunkElement;
  element->Id = aId == 0 ? NextElementId() : aId;
  element->Char = 0;
  return element;
}

TpsChunkElement* NewCharacterElement(WideChar aChar) {
  TpsChunkElement* element = NewElement();
  element->Char = aChar;
  return element;
}

TpsChunkElement* NewTagElement(std::unique_ptr<TpsHtmlTag> aTag) {
  TpsChunkElement* element = NewElement();
  element->Kind = ceTag;
  element->Tag = aTag.release();
  return element;
}

TpsChunkElement* NewCursorElement() {
  TpsChunkElement* element = NewElement();
  element->Kind = ceCursor;
  element->Tag = nullptr;
  return element;
}

TpsChunkElement* NewMarkerElement(Integer aMarker) {
  TpsChunkElement* element = NewElement();
  element->Kind = ceMarker;
  element->MarkerNo = aMarker;
  return element;
}

TpsChunkElement* NewIgnoreElement(std::unique_ptr<TpsIgnoreElement> aContent) {
  TpsChunkElement* element = NewElement();
  element->Kind = ceIgnore;
  element->Content = aContent.release();
  return element;
}

TpsChunkElement* NewNodeElement(TpsEmbeddedNode* aNode) {
  TpsChunkElement* element = NewElement();
  element->Kind = ceNode;
  element->Node = aNode;
  return element;
}

TpsChunkElement* CloneElement(const TpsChunkElement* aElement, bool aNewId) {
  TpsChunkElement* copy = NewElement(aNewId ? 0 : aElement->Id);
  copy->Selected = aElement->Selected;
  copy->Kind = aElement->Kind;
  switch (aElement->Kind) {
    case ceTag:
      copy->Tag = aElement->Tag ? new TpsHtmlTag(*aElement->Tag) : nullptr;
      break;
    case ceChar:
      copy->Char = aElement->Char;
      copy->SmartTag = aElement->SmartTag;
      copy->Placeholder = aElement->Placeholder;
      copy->FromEntity = aElement->FromEntity;
      break;
    case ceIgnore:
      copy->Content = aElement->Content ? aElement->Content->Clone().release() : nullptr;
      break;
    case ceNode:
      copy->Node = aElement->Node;
      break;
    case ceMarker:
      copy->MarkerNo = aElement->MarkerNo;
      break;
    case ceCursor:
      break;
  }
  return copy;
}

void FreeElement(TpsChunkElement* aElement) {
  if (!aElement) return;
  if (aElement->Kind == ceTag)
    delete aElement->Tag;
  else if (aElement->Kind == ceIgnore)
    delete aElement->Content;
  delete aElement;
}

bool IsInlineCode(Byte aTagCode) { return aTagCode < 12; }
bool IsBlockCode(Byte aTagCode) { return (aTagCode >= 12 && aTagCode <= 27) || aTagCode == TAG_BODY; }
bool IsTextBlockCode(Byte aTagCode) {
  return (aTagCode >= 12 && aTagCode <= 20) || aTagCode == TAG_LI || aTagCode == TAG_TD || aTagCode == TAG_TH;
}
bool IsListCode(Byte aTagCode) { return aTagCode == TAG_UL || aTagCode == TAG_OL; }
bool IsTableCode(Byte aTagCode) { return aTagCode >= TAG_TABLE && aTagCode <= TAG_TH; }

bool IsChunkEmpty(const TpsDataChunk* aChunk) { return !aChunk || aChunk->IsEmpty(); }

// ---------------------------------------------------------------------------
// Life cycle and the invariant check

std::unique_ptr<TpsDataChunk> TpsDataChunk::CreateFromChain(TpsChunkElement* aFirst, TpsChunkElement* aLast) {
  auto chunk = std::make_unique<TpsDataChunk>();
  if (aFirst && aLast) {
    aFirst->Prev = nullptr;
    aLast->Next = nullptr;
    chunk->FFirst = aFirst;
    chunk->FLast = aLast;
  }
  return chunk;
}

TpsDataChunk::~TpsDataChunk() {
  // A list left focused still frees what lies outside its range.
  while (!FFocusStack.empty()) Unfocus();
  FreeChain(FFirst);
}

void TpsDataChunk::Clear() {
  FreeChain(FFirst);
  FFirst = FLast = nullptr;
}

void TpsDataChunk::Check(Integer aFocusDepth, bool aInlinePairs) const {
  const auto fail = [](const AnsiString& aWhat) {
    throw EpsHtmlEditException("TpsDataChunk.Check: " + aWhat);
  };
  if (FocusDepth() != aFocusDepth)
    fail(rtl::Format("%d open focuses, %d expected", {FocusDepth(), aFocusDepth}));
  if ((FFirst == nullptr) != (FLast == nullptr)) fail("one end is nil");
  if (!FFirst) return;
  if (FFirst->Prev) fail("the first element has a predecessor");
  if (FLast->Next) fail("the last element has a successor");
  std::unordered_set<uint32_t> ids;
  std::unordered_set<const TpsChunkElement*> seen;
  Integer cursors = 0;
  const TpsChunkElement* previous = nullptr;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (!seen.insert(e).second) fail("the list runs in a cycle");
    if (e->Prev != previous) fail(rtl::Format("element %u does not link back", {e->Id}));
    if (!ids.insert(e->Id).second) fail(rtl::Format("id %u stands twice", {e->Id}));
    if (e->Id == 0) fail("an element has id 0");
    switch (e->Kind) {
      case ceTag:
        if (!e->Tag) fail(rtl::Format("tag element %u has no tag", {e->Id}));
        break;
      case ceIgnore:
        if (!e->Content) fail(rtl::Format("ignore element %u has no content", {e->Id}));
        break;
      case ceNode:
        if (!e->Node) fail(rtl::Format("node element %u has no node", {e->Id}));
        break;
      case ceCursor:
        if (++cursors > 1) fail("more than one cursor");
        break;
      case ceChar:
      case ceMarker:
        break;
      default:
        fail(rtl::Format("element %u has kind %d", {e->Id, static_cast<Integer>(e->Kind)}));
    }
    previous = e;
  }
  if (previous != FLast) fail("the last element is not the list's end");
  if (!aInlinePairs) return;
  // Inline pairs: each closing tag closes the innermost open tag of its
  // code, nothing crosses, and a block boundary finds no inline tag open.
  std::vector<Byte> open;
  for (const TpsChunkElement* e = FFirst; e; e = e->Next) {
    if (e->Kind != ceTag) continue;
    const Byte code = e->Tag->GetTagCode();
    const Byte type = e->Tag->GetTagType();
    if (IsInlineCode(code) && type == ttOpening) {
      open.push_back(code);
    } else if (IsInlineCode(code) && type == ttClosing) {
      if (open.empty() || open.back() != code)
        fail(rtl::Format("inline closing tag %u closes nothing open or crosses another pair", {e->Id}));
      open.pop_back();
    } else if (IsBlockCode(code) && !open.empty()) {
      fail(rtl::Format("block tag %u stands inside an inline pair", {e->Id}));
    }
  }
  if (!open.empty()) fail("an inline tag is not closed");
}

// ---------------------------------------------------------------------------
// Link primitives

void TpsDataChunk::AddElement(TpsChunkElement* aElement) {
  aElement->Next = nullptr;
  aElement->Prev = FLast;
  if (FLast)
    FLast->Next = aElement;
  else
    FFirst = aElement;
  FLast = aElement;
}

void TpsDataChunk::PrependElement(TpsChunkElement* aElement) {
  aElement->Prev = nullptr;
  aElement->Next = FFirst;
  if (FFirst)
    FFirst->Prev = aElement;
  else
    FLast = aElement;
  FFirst = aElement;
}

void TpsDataChunk::InsertElement(TpsChunkElement* aElement, TpsChunkElement* aTarget, bool aAfter) {
  InsertChain(aElement, aElement, aAfter, aTarget);
}

void TpsDataChunk::RemoveElement(TpsChunkElement* aElement, bool aFree) {
  DetachRange(aElement, aElement);
  if (aFree) FreeElement(aElement);
}

TpsChunkElement* TpsDataChunk::RemoveAndNext(TpsChunkElement* aElement, bool aFree) {
  TpsChunkElement* next = aElement->Next;
  RemoveElement(aElement, aFree);
  return next;
}

void TpsDataChunk::DetachRange(TpsChunkElement* aFirst, TpsChunkElement* aLast) {
  TpsChunkElement* before = aFirst->Prev;
  TpsChunkElement* after = aLast->Next;
  if (before)
    before->Next = after;
  else
    FFirst = after;
  if (after)
    after->Prev = before;
  else
    FLast = before;
  aFirst->Prev = nullptr;
  aLast->Next = nullptr;
}

void TpsDataChunk::FreeChain(TpsChunkElement* aElement) {
  while (aElement) {
    TpsChunkElement* next = aElement->Next;
    FreeElement(aElement);
    aElement = next;
  }
}

void TpsDataChunk::DeleteRange(TpsChunkElement* aFirst, TpsChunkElement* aLast) {
  DetachRange(aFirst, aLast);
  FreeChain(aFirst);
}

void TpsDataChunk::InsertChain(TpsChunkElement* aFirst, TpsChunkElement* aLast, bool aAfter,
                               TpsChunkElement* aTarget) {
  if (!FFirst) {
    aFirst->Prev = nullptr;
    aLast->Next = nullptr;
    FFirst = aFirst;
    FLast = aLast;
    return;
  }
  TpsChunkElement* before = aAfter ? aTarget : aTarget->Prev;
  TpsChunkElement* after = aAfter ? aTarget->Next : aTarget;
  aFirst->Prev = before;
  aLast->Next = after;
  if (before)
    before->Next = aFirst;
  else
    FFirst = aFirst;
  if (after)
    after->Prev = aLast;
  else
    FLast = aLast;
}

std::unique_ptr<TpsDataChunk> TpsDataChunk::Extract(TpsChunkElement* aFirst, TpsChunkElement* aLast) {
  DetachRange(aFirst, aLast);
  return CreateFromChain(aFirst, aLast);
}

void TpsDataChunk::InsertChunk(TpsDataChunk& aSource, TpsChunkElement* aElement, bool aAfter) {
  if (aSource.IsEmpty()) return;
  TpsChunkElement* first = aSource.FFirst;
  TpsChunkElement* last = aSource.FLast;
  aSource.FFirst = aSource.FLast = nullptr;
  if (!aElement)
    InsertChain(first, last, true, FLast);
  else
    InsertChain(first, last, aAfter, aElement);
}

void TpsDataChunk::MoveRange(TpsChunkElement* aFirst, TpsChunkElement* aLast, TpsChunkElement* aTarget,
                             bool aAfter) {
  DetachRange(aFirst, aLast);
  InsertChain(aFirst, aLast, aAfter, aTarget);
}

void TpsDataChunk::MoveElementAfter(TpsChunkElement* aElement, TpsChunkElement* aTarget) {
  if (aElement == aTarget) return;
  UnlinkElement(aElement);
  InsertAfter(aElement, aTarget);
}

void TpsDataChunk::MoveElementBefore(TpsChunkElement* aElement, TpsChunkElement* aTarget) {
  if (aElement == aTarget) return;
  UnlinkElement(aElement);
  InsertBefore(aElement, aTarget);
}

std::unique_ptr<TpsDataChunk> TpsDataChunk::Clone(bool aClearSelection) const {
  auto copy = std::make_unique<TpsDataChunk>();
  copy->AppendCopyOf(*this);
  if (aClearSelection)
    for (TpsChunkElement* e = copy->FFirst; e; e = e->Next) e->Selected = false;
  return copy;
}

void TpsDataChunk::AppendCopyOf(const TpsDataChunk& aSource) {
  for (const TpsChunkElement* e = aSource.FFirst; e; e = e->Next) AddElement(CloneElement(e, false));
}

bool TpsDataChunk::ContainsElement(const TpsChunkElement* aElement) const {
  for (const TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e == aElement) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Typed appends and insertions

void TpsDataChunk::AddTag(std::unique_ptr<TpsHtmlTag> aTag) { AddElement(NewTagElement(std::move(aTag))); }

void TpsDataChunk::AddCharacter(WideChar aChar, bool aSelected, bool aPlaceholder, bool aFromEntity) {
  TpsChunkElement* element = NewCharacterElement(aChar);
  element->Selected = aSelected;
  element->Placeholder = aPlaceholder;
  element->FromEntity = aFromEntity;
  AddElement(element);
}

void TpsDataChunk::AppendCursor() { AddElement(NewCursorElement()); }

void TpsDataChunk::AddIgnoreElement(std::unique_ptr<TpsIgnoreElement> aContent) {
  AddElement(NewIgnoreElement(std::move(aContent)));
}

void TpsDataChunk::AddMarker(Integer aMarker) { AddElement(NewMarkerElement(aMarker)); }

void TpsDataChunk::PrependTag(std::unique_ptr<TpsHtmlTag> aTag) { PrependElement(NewTagElement(std::move(aTag))); }

TpsChunkElement* TpsDataChunk::InsertTag(std::unique_ptr<TpsHtmlTag> aTag, TpsChunkElement* aTarget, bool aAfter) {
  TpsChunkElement* element = NewTagElement(std::move(aTag));
  InsertElement(element, aTarget, aAfter);
  return element;
}

TpsChunkElement* TpsDataChunk::InsertCharacter(WideChar aChar, TpsChunkElement* aTarget, bool aAfter) {
  TpsChunkElement* element = NewCharacterElement(aChar);
  InsertElement(element, aTarget, aAfter);
  return element;
}

TpsChunkElement* TpsDataChunk::InsertIgnoreElement(std::unique_ptr<TpsIgnoreElement> aContent,
                                                   TpsChunkElement* aTarget, bool aAfter) {
  TpsChunkElement* element = NewIgnoreElement(std::move(aContent));
  InsertElement(element, aTarget, aAfter);
  return element;
}

std::unique_ptr<TpsHtmlTag> TpsDataChunk::CopyTag(const TpsChunkElement* aElement) {
  return TpsHtmlTag::CreateCopy(*aElement->Tag);
}

void TpsDataChunk::InvalidateTagStyles() {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceTag) e->Tag->InvalidateStyles();
}

// ---------------------------------------------------------------------------
// Finders

TpsChunkElement* TpsDataChunk::FindElementOfKinds(TpsChunkElementKinds aKinds, bool aForward,
                                                  TpsChunkElement* aStart) const {
  TpsChunkElement* e = aStart ? aStart : (aForward ? FFirst : FLast);
  for (; e; e = aForward ? e->Next : e->Prev)
    if (aKinds.Contains(e->Kind)) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindElementOfKind(TpsChunkElementKind aKind, bool aForward,
                                                 TpsChunkElement* aStart) const {
  return FindElementOfKinds(TpsChunkElementKinds{aKind}, aForward, aStart);
}

TpsChunkElement* TpsDataChunk::FindContentElement(TpsChunkElement* aStart, bool aForward) const {
  return FindElementOfKinds(TpsChunkElementKinds{ceTag, ceChar, ceNode}, aForward, aStart);
}

TpsChunkElement* TpsDataChunk::FindElementById(uint32_t aId) const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Id == aId) return e;
  return nullptr;
}

uint32_t TpsDataChunk::FirstOfIds(uint32_t aIdA, uint32_t aIdB) const {
  for (const TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Id == aIdA || e->Id == aIdB) return e->Id;
  return 0;
}

TpsChunkElement* TpsDataChunk::FindTag(Byte aTagCode, Byte aTagType, TpsChunkElement* aStart, bool aForward) const {
  TpsChunkElement* e = aStart ? aStart : (aForward ? FFirst : FLast);
  for (; e; e = aForward ? e->Next : e->Prev)
    if (IsTag(e, aTagCode, aTagType)) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindTagOfCode(Byte aTagCode, TpsChunkElement* aStart, bool aForward) const {
  TpsChunkElement* e = aStart ? aStart : (aForward ? FFirst : FLast);
  for (; e; e = aForward ? e->Next : e->Prev)
    if (TagCodeOf(e) == aTagCode && e->Kind == ceTag) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindTagById(const AnsiString& aId) const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (e->Kind == ceTag && e->Tag->HasAttribute("id") && e->Tag->GetAttribute("id") == aId) return e;
  return nullptr;
}

TpsChunkElement* TpsDataChunk::FindAnchorByName(const AnsiString& aName) const {
  for (TpsChunkElement* e = FFirst; e; e = e->Next)
    if (IsTag(e, TAG_A, ttOpening) && e->Tag->HasAttribute("name") && e->Tag->GetAttribute("name") == aName)
      return e;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Element tests

Byte TpsDataChunk::TagCodeOf(const TpsChunkElement* e) {
  return e && e->Kind == ceTag ? e->Tag->GetTagCode() : TAG_UNKNOWN;
}

bool TpsDataChunk::IsBlank(const TpsChunkElement* e) {
  return IsCharacterElement(e) &&
         (e->Char == u' ' || e->Char == u'\t' || e->Char == HtmlCodeTable().GetNbspChar());
}
bool TpsDataChunk::IsSpaceOrTab(const TpsChunkElement* e) {
  return IsCharacterElement(e) && (e->Char == u' ' || e->Char == u'\t');
}
bool TpsDataChunk::IsNonBlankCharacter(const TpsChunkElement* e) {
  return IsCharacterElement(e) && e->Char != u' ' && e->Char != u'\t';
}
bool TpsDataChunk::IsWordCharacterElement(const TpsChunkElement* e) {
  return IsCharacterElement(e) && !IsBlank(e) && GetCharClass(e->Char) == 2;
}
bool TpsDataChunk::IsTag(const TpsChunkElement* e, Byte aTagCode, Byte aTagType) {
  return IsTagElement(e) && e->Tag->GetTagCode() == aTagCode && e->Tag->GetTagType() == aTagType;
}
bool TpsDataChunk::IsEmptyTag(const TpsChunkElement* e) { return IsTagElement(e) && e->Tag->GetTagType() == ttEmpty; }
bool TpsDataChunk::IsImageTag(const TpsChunkElement* e) { return TagCodeOf(e) == TAG_IMG; }
bool TpsDataChunk::IsInlineTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsInlineCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() != ttEmpty;
}
bool TpsDataChunk::IsInlineOpenTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsInlineCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() == ttOpening;
}
bool TpsDataChunk::IsInlineCloseTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsInlineCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() == ttClosing;
}
bool TpsDataChunk::IsBlockTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsBlockCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() != ttEmpty;
}
bool TpsDataChunk::IsBlockOpenTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsBlockCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() == ttOpening;
}
bool TpsDataChunk::IsBlockCloseTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsBlockCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() == ttClosing;
}
bool TpsDataChunk::IsListOpenTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsListCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() == ttOpening;
}
bool TpsDataChunk::IsListCloseTag(const TpsChunkElement* e) {
  return IsTagElement(e) && IsListCode(e->Tag->GetTagCode()) && e->Tag->GetTagType() == ttClosing;
}
bool TpsDataChunk::IsTableTag(const TpsChunkElement* e) { return IsTagElement(e) && IsTableCode(e->Tag->GetTagCode()); }
bool TpsDataChunk::IsCustomTag(const TpsChunkElement* e) { return TagCodeOf(e) == TAG_CUST; }
bool TpsDataChunk::IsCustomOpenTag(const TpsChunkElement* e) { return IsTag(e, TAG_CUST, ttOpening); }
bool TpsDataChunk::IsCustomCloseTag(const TpsChunkElement* e) { return IsTag(e, TAG_CUST, ttClosing); }

bool TpsDataChunk::IsFirstCharacter(const TpsChunkElement* e) {
  if (!e) return false;
  for (const TpsChunkElement* p = e->Prev; p; p = p->Prev)
    if (p->Kind == ceChar) return false;
  return true;
}

bool TpsDataChunk::IsLastCharacter(const TpsChunkElement* e) {
  if (!e) return false;
  for (const TpsChunkElement* n = e->Next; n; n = n->Next)
    if (n->Kind == ceChar) return false;
  return true;
}

// ---------------------------------------------------------------------------
// Tag pairs and image alignment

void CreateTagPair(const TpsHtmlTagEventsRef& aEvents, const AnsiString& aTagText,
                   std::unique_ptr<TpsHtmlTag>& aOpenTag, std::unique_ptr<TpsHtmlTag>& aCloseTag) {
  aOpenTag = TpsHtmlTag::CreateFromText(aEvents, aTagText);
  aCloseTag = TpsHtmlTag::CreateCopy(*aOpenTag);
  aCloseTag->SetTagType(ttClosing);
  aCloseTag->ClearAttributes();
}

void CreateCustomTagPair(const AnsiString& aSourceText, const TpsHtmlTagEventsRef& aEvents,
                         std::unique_ptr<TpsHtmlTag>& aOpenTag, std::unique_ptr<TpsHtmlTag>& aCloseTag) {
  aOpenTag = std::make_unique<TpsHtmlTag>(aEvents, TAG_CUST, ttOpening);
  aCloseTag = std::make_unique<TpsHtmlTag>(aEvents, TAG_CUST, ttClosing);
  aOpenTag->CustomSource = aSourceText;
  aCloseTag->CustomSource = aSourceText;
}

bool IsFloatingAlignment(Byte aAlign) { return aAlign == 0 || aAlign == 1; }

namespace {

// 0 left, 1 right, 2 no float (no such style, no float, float none).
Integer FloatOf(const TpsStyleSheet& aStyleSheet, Integer aStyleId) { return aStyleSheet.GetFloat(aStyleId); }

}  // namespace

Byte GetTagAlignment(TpsHtmlTag& aTag, const TpsStyleSheet& aStyleSheet) {
  const Integer inlineFloat = FloatOf(aStyleSheet, aTag.GetStyleAttributeId());
  if (inlineFloat != 2) return static_cast<Byte>(inlineFloat);
  const Integer classFloat = FloatOf(aStyleSheet, aTag.GetClassStyleId());
  if (classFloat != 2) return static_cast<Byte>(classFloat);
  return aTag.GetAlign();
}

void SetTagAlignment(TpsHtmlTag& aTag, Byte aAlign, const TpsStyleSheet& aStyleSheet,
                     const TpsStyleIdEvent& aOnStyleId) {
  if (IsFloatingAlignment(aAlign)) {
    const Integer classFloat = FloatOf(aStyleSheet, aTag.GetClassStyleId());
    if (classFloat != 2 && classFloat != aAlign) {
      SetInlineFloat(aTag, aAlign, aStyleSheet, aOnStyleId);
      return;
    }
    if (classFloat == aAlign) {
      SetInlineFloat(aTag, 3, aStyleSheet, aOnStyleId);
      aAlign = 5;
    } else if (FloatOf(aStyleSheet, aTag.GetStyleAttributeId()) != 2) {
      SetInlineFloat(aTag, aAlign, aStyleSheet, aOnStyleId);
      aAlign = 5;
    }
  } else if (FloatOf(aStyleSheet, aTag.GetStyleAttributeId()) != 2) {
    SetInlineFloat(aTag, 3, aStyleSheet, aOnStyleId);
  }
  aTag.SetAlign(aAlign);
}

void SetInlineFloat(TpsHtmlTag& aTag, Byte aFloat, const TpsStyleSheet& aStyleSheet,
                    const TpsStyleIdEvent& aOnStyleId) {
  static const char* const kFloats[] = {"left", "right", "none"};
  const auto idOf = [&](const AnsiString& aText) {
    Integer id = -1;
    if (aOnStyleId) aOnStyleId(&aTag, aText, id);
    return id;
  };
  const Integer styleId = aTag.GetStyleAttributeId();
  const TpsStyle* style = aStyleSheet.GetStyle(styleId);
  if (styleId == -1 || !style) {
    if (aFloat > 3) return;
    aTag.SetStyleAttributeId(aFloat == 3 ? -1 : idOf(AnsiString("float:") + kFloats[aFloat]));
    return;
  }
  std::unique_ptr<TpsStyle> copy = style->Clone();
  if (aFloat == 3) {
    if (!copy->Attributes().HasAttribute(CSS_FLOAT)) return;
    copy->Attributes().DeleteAttribute(CSS_FLOAT);
  } else if (aFloat < 3) {
    copy->SetAttributeAsString("float", kFloats[aFloat]);
  } else {
    return;
  }
  const AnsiString text = copy->GetAttributesAsString();
  aTag.SetStyleAttributeId(text.empty() ? -1 : idOf(text));
}

}  // namespace htmldoc
