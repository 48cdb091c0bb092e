#pragma once
// The document as the editor holds it: a doubly linked list of small
// element records, each one tag, one character, the cursor, an embedded
// layout node, a numbered marker or an item kept verbatim. There is no
// tree: nesting exists only as opening and closing tags in sequence, and
// every structural question is answered by walking the list.
//
// TpsDataChunk is one class; its operations are implemented by concern:
// psDataChunk.cpp (elements, links, finders, tests, Check),
// psDataChunkFocus.cpp (focus stack and blocks), psDataChunkCursor.cpp
// (cursor, markers, selection, words, smart-tag marks),
// psDataChunkText.cpp (text in and out), psDocument.cpp (the first tag
// pair of a code).
//
// The operations trust their callers: an element passed in belongs to the
// list (a free one where it is to be linked), and ranges run forwards.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psGeometry.h"
#include "htmledit/doc/psHtmlTag.h"
#include "htmledit/doc/psStrings.h"

namespace rtl {
class TStringList;
}

namespace htmldoc {

class TpsStyleSheet;

// Turns declaration text into a style id (the editor's OnStyleAttributeToId).
using TpsStyleIdEvent = std::function<void(TpsHtmlTag* aSender, const AnsiString& aStyleText, Integer& aStyleId)>;

// A layout node embedded in the list; the view's windows derive from it.
// The list only points at it.
class TpsEmbeddedNode {
 protected:
  ~TpsEmbeddedNode() = default;
};

// The smart-tag handler that marked a character; the smart-tag framework's
// handlers derive from it and its handler list keeps them alive.
class IpsSmartTagHandler {
 protected:
  ~IpsSmartTagHandler() = default;
};

struct TpsSmartTagMark {
  IpsSmartTagHandler* Handler = nullptr;  // not owned
  Integer MarkId = 0;
  bool Marked = false;
};

void InitSmartTagMark(TpsSmartTagMark& aMark);
bool HasSmartTagMark(const TpsSmartTagMark& aMark);

// --- Payloads kept verbatim ---------------------------------------------------

class TpsChunkElementContent {
 public:
  virtual ~TpsChunkElementContent() = default;
};

class TpsIgnoreElement : public TpsChunkElementContent {
 public:
  virtual AnsiString GetText() const = 0;
  virtual std::unique_ptr<TpsIgnoreElement> Clone() const = 0;
};

class TpsStringIgnoreElement : public TpsIgnoreElement {
 public:
  explicit TpsStringIgnoreElement(AnsiString aText) : Text(std::move(aText)) {}
  AnsiString GetText() const override { return Text; }
  std::unique_ptr<TpsIgnoreElement> Clone() const override {
    return std::make_unique<TpsStringIgnoreElement>(*this);
  }
  AnsiString Text;
};

class TpsCommentIgnoreElement final : public TpsStringIgnoreElement {
 public:
  using TpsStringIgnoreElement::TpsStringIgnoreElement;
  std::unique_ptr<TpsIgnoreElement> Clone() const override {
    return std::make_unique<TpsCommentIgnoreElement>(*this);
  }
};

class TpsTagIgnoreElement final : public TpsStringIgnoreElement {
 public:
  using TpsStringIgnoreElement::TpsStringIgnoreElement;
  std::unique_ptr<TpsIgnoreElement> Clone() const override {
    return std::make_unique<TpsTagIgnoreElement>(*this);
  }
};

// --- Elements --------------------------------------------------------------------

enum TpsChunkElementKind : Byte { ceTag, ceChar, ceCursor, ceNode, ceMarker, ceIgnore };
using TpsChunkElementKinds = rtl::TSet<TpsChunkElementKind>;

// One element. Kept small (a page holds hundreds of thousands, undo keeps
// 50 copies): the kind selects one payload cell. A tag element owns its
// tag and an ignore element its content (FreeElement frees them); an
// embedded node is owned by the view.
struct TpsChunkElement {
  uint32_t Id = 0;
  TpsChunkElementKind Kind = ceChar;
  bool Selected = false;
  bool Placeholder = false;
  bool FromEntity = false;
  TpsChunkElement* Prev = nullptr;
  TpsChunkElement* Next = nullptr;
  union {
    TpsHtmlTag* Tag;
    WideChar Char;
    Integer MarkerNo;
    TpsEmbeddedNode* Node;
    TpsIgnoreElement* Content;
  };
  TpsSmartTagMark SmartTag;

  TpsChunkElement() : Tag(nullptr) {}
};

// Ids and flags, two links, the payload cell and the smart-tag mark: a
// field added here costs every element of every undo copy.
static_assert(sizeof(TpsChunkElement) <= 48, "a node-list element has grown");

using PpsChunkElement = TpsChunkElement*;

// The process-wide id counter: starts at 1, hands each id out once, safe
// from any thread.
uint32_t NextElementId();
// aId 0 takes the next id.
TpsChunkElement* NewElement(uint32_t aId = 0);
TpsChunkElement* NewCharacterElement(WideChar aChar);
// The element takes ownership of aTag.
TpsChunkElement* NewTagElement(std::unique_ptr<TpsHtmlTag> aTag);
TpsChunkElement* NewCursorElement();
TpsChunkElement* NewMarkerElement(Integer aMarker);
TpsChunkElement* NewIgnoreElement(std::unique_ptr<TpsIgnoreElement> aContent);
TpsChunkElement* NewNodeElement(TpsEmbeddedNode* aNode);
// A copy with a fresh id (aNewId) or the same id; tags and contents are
// copied, an embedded node is shared, a character keeps its mark and flags.
TpsChunkElement* CloneElement(const TpsChunkElement* aElement, bool aNewId);
// Frees the tag or content, then the record; nullptr is ignored.
void FreeElement(TpsChunkElement* aElement);

// Tag code groups.
bool IsInlineCode(Byte aTagCode);
bool IsBlockCode(Byte aTagCode);
bool IsTextBlockCode(Byte aTagCode);
bool IsListCode(Byte aTagCode);
bool IsTableCode(Byte aTagCode);

// --- The list --------------------------------------------------------------------

struct TpsDataChunkFocus {
  TpsChunkElement* SavedFirst;
  TpsChunkElement* SavedLast;
  TpsChunkElement* Before;
  TpsChunkElement* After;
};


class TpsDataChunk {
 public:
  TpsDataChunk() = default;
  // A list over a chain linked to each other and to no list.
  static std::unique_ptr<TpsDataChunk> CreateFromChain(TpsChunkElement* aFirst, TpsChunkElement* aLast);
  ~TpsDataChunk();
  TpsDataChunk(const TpsDataChunk&) = delete;
  TpsDataChunk& operator=(const TpsDataChunk&) = delete;

  TpsChunkElement* First() const { return FFirst; }
  TpsChunkElement* Last() const { return FLast; }

  // Raises EpsHtmlEditException naming the first broken invariant: links
  // both ways and both ends, no cycle, unique ids, at most one cursor, a
  // payload for every kind that has one, aFocusDepth open focuses; with
  // aInlinePairs also inline pairs balanced, not crossing each other nor a
  // block boundary.
  void Check(Integer aFocusDepth = 0, bool aInlinePairs = false) const;
  Integer FocusDepth() const { return static_cast<Integer>(FFocusStack.size()); }

  // --- Link primitives ---------------------------------------------------------
  void AddElement(TpsChunkElement* aElement);
  void PrependElement(TpsChunkElement* aElement);
  void InsertElement(TpsChunkElement* aElement, TpsChunkElement* aTarget, bool aAfter);
  void InsertBefore(TpsChunkElement* aElement, TpsChunkElement* aTarget) { InsertElement(aElement, aTarget, false); }
  void InsertAfter(TpsChunkElement* aElement, TpsChunkElement* aTarget) { InsertElement(aElement, aTarget, true); }
  void RemoveElement(TpsChunkElement* aElement, bool aFree);
  void UnlinkElement(TpsChunkElement* aElement) { RemoveElement(aElement, false); }
  TpsChunkElement* RemoveAndNext(TpsChunkElement* aElement, bool aFree);
  void DetachRange(TpsChunkElement* aFirst, TpsChunkElement* aLast);
  static void FreeChain(TpsChunkElement* aElement);
  void DeleteRange(TpsChunkElement* aFirst, TpsChunkElement* aLast);
  void InsertChain(TpsChunkElement* aFirst, TpsChunkElement* aLast, bool aAfter, TpsChunkElement* aTarget);
  std::unique_ptr<TpsDataChunk> Extract(TpsChunkElement* aFirst, TpsChunkElement* aLast);
  std::unique_ptr<TpsDataChunk> ExtractFromStart(TpsChunkElement* aLast) { return Extract(FFirst, aLast); }
  // Moves every element of aSource (left empty) after or before aElement,
  // or after Last when aElement is nullptr.
  void InsertChunk(TpsDataChunk& aSource, TpsChunkElement* aElement, bool aAfter);
  void PrependChunk(TpsDataChunk& aSource) { InsertChunk(aSource, FFirst, false); }
  void MoveRange(TpsChunkElement* aFirst, TpsChunkElement* aLast, TpsChunkElement* aTarget, bool aAfter);
  void MoveElementAfter(TpsChunkElement* aElement, TpsChunkElement* aTarget);
  void MoveElementBefore(TpsChunkElement* aElement, TpsChunkElement* aTarget);
  // Ids kept.
  std::unique_ptr<TpsDataChunk> Clone(bool aClearSelection) const;
  void AppendCopyOf(const TpsDataChunk& aSource);
  static TpsChunkElement* NextElement(const TpsChunkElement* aElement) { return aElement->Next; }
  static TpsChunkElement* PreviousElement(const TpsChunkElement* aElement) { return aElement->Prev; }
  bool IsEmpty() const { return FFirst == nullptr; }
  bool ContainsElement(const TpsChunkElement* aElement) const;
  uint32_t GetFirstElementId() const { return FFirst ? FFirst->Id : 0; }
  // Deletes every element (the list must be unfocused).
  void Clear();

  // --- Typed appends and insertions ----------------------------------------
  void AddTag(std::unique_ptr<TpsHtmlTag> aTag);
  void AddCharacter(WideChar aChar, bool aSelected = false, bool aPlaceholder = false, bool aFromEntity = false);
  void AppendCursor();
  void AddIgnoreElement(std::unique_ptr<TpsIgnoreElement> aContent);
  void AddMarker(Integer aMarker);
  void PrependTag(std::unique_ptr<TpsHtmlTag> aTag);
  TpsChunkElement* InsertTag(std::unique_ptr<TpsHtmlTag> aTag, TpsChunkElement* aTarget, bool aAfter);
  TpsChunkElement* InsertCharacter(WideChar aChar, TpsChunkElement* aTarget, bool aAfter);
  TpsChunkElement* InsertIgnoreElement(std::unique_ptr<TpsIgnoreElement> aContent, TpsChunkElement* aTarget,
                                       bool aAfter);
  static std::unique_ptr<TpsHtmlTag> CopyTag(const TpsChunkElement* aElement);
  void InvalidateTagStyles();

  // --- Finders -----------------------------------------------------------------
  TpsChunkElement* FindElementOfKind(TpsChunkElementKind aKind, bool aForward, TpsChunkElement* aStart) const;
  TpsChunkElement* FindElementOfKinds(TpsChunkElementKinds aKinds, bool aForward, TpsChunkElement* aStart) const;
  TpsChunkElement* FindContentElement(TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* FindElementById(uint32_t aId) const;
  uint32_t FirstOfIds(uint32_t aIdA, uint32_t aIdB) const;
  TpsChunkElement* FindTag(Byte aTagCode, Byte aTagType, TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* FindTagOfCode(Byte aTagCode, TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* FindTagById(const AnsiString& aId) const;
  TpsChunkElement* FindAnchorByName(const AnsiString& aName) const;

  // --- Cursor (psDataChunkCursor.cpp) ----------------------------------------
  // The cursor is the list's first cursor element. Moves that need one make
  // it when the list has none; queries answer nil, False or 0 without one.
  TpsChunkElement* GetCursor() const { return FindElementOfKind(ceCursor, true, nullptr); }
  bool HasCursor() const { return GetCursor() != nullptr; }
  // A new cursor element, without looking for an existing one.
  void InsertCursor(TpsChunkElement* aElement, bool aAfter);
  // Nothing when aTarget is the cursor.
  void MoveCursor(TpsChunkElement* aTarget, bool aAfter);
  void PlaceCursor(TpsChunkElement* aTarget, bool aAfter) { MoveCursor(aTarget, aAfter); }
  // The marker must exist.
  void MoveCursorToMarker(Integer aMarker, bool aRemoveMarker, bool aAfter);
  // The cursor (the list's own, else a new one) before the first text,
  // then before an embedded node, link or custom tag that precedes it.
  void MoveCursorToStart();
  // Before the last "br" of the list, else after the last element.
  void MoveCursorToEnd();
  bool TryMoveCursorToEnd();
  void MoveCursorBeforeEmbeddedNode();
  bool MoveCursorRight();
  // Also back over custom tags and embedded nodes right before the
  // character.
  bool MoveCursorLeft();
  bool MoveCursorWordLeft();
  bool MoveCursorWordRight(bool& aMoved);
  // Out of custom tags, embedded nodes and links around the cursor.
  void MoveCursorBackOverCustomTags();
  void MoveCursorForwardOverCustomTags();
  void InsertElementAtCursor(TpsChunkElement* aElement, bool aBefore);
  void DeleteElementNextToCursor(bool aForward);

  // --- Queries at the cursor ----------------------------------------------
  TpsChunkElement* GetAdjacentCharacter(TpsChunkElement* aElement, bool aBackward, bool aSkipBlanks) const;
  TpsChunkElement* GetCharacterNextToCursor(bool aBackward, bool aSkipBlanks) const;
  TpsChunkElement* FindContentNextToCursor(bool aForward) const;
  TpsChunkElement* GetImageNextToCursor(bool aForward) const;
  bool HasEmbeddedNodeBeforeCursor() const;
  bool IsCursorAtLineBreak(bool aForward, bool aIgnoreBlanks) const;
  bool IsBlankBeforeCursor() const;
  bool IsBlankAfterCursor() const;
  bool GetBlanksAroundCursor(TpsChunkElement*& aBefore, TpsChunkElement*& aAfter) const;
  bool FindEmptyTagPairAtCursor(Byte aTagCode, TpsChunkElement*& aOpen, TpsChunkElement*& aClose) const;
  TpsChunkElement* FindCustomTagBeforeCursor() const;
  bool IsCursorInEmptyInlineTag() const;

  // --- Words and characters ------------------------------------------------
  bool GetWordAtCursor(TpsChunkElement*& aFirst, TpsChunkElement*& aLast) const;
  TpsChunkElement* FindFirstWordCharacter() const;
  TpsChunkElement* FindLastWordStart() const;
  TpsChunkElement* FindWordEnd(TpsChunkElement* aElement) const;
  bool EndsWithWordCharacter() const;
  bool ContainsWordSeparator() const;
  // Characters other than space and tab from aElement on, passing over the
  // cursor, while their selection equals the first one's; aElement ends on
  // the last character read (nil when none).
  void ReadWord(TpsChunkElement*& aElement, WideString& aWord) const;
  bool HasNonBlankCharacter() const;
  bool HasNonBlankCharacterBetween(TpsChunkElement* aFirst, TpsChunkElement* aLast) const;
  // nil aStop is the last element.
  TpsChunkElement* FindNonBlankCharacter(TpsChunkElement* aStart, TpsChunkElement* aStop) const;
  TpsChunkElement* FindBlankCharacter(TpsChunkElement* aStart, TpsChunkElement* aStop) const;
  bool IsBlankRange(TpsChunkElement* aFirst, TpsChunkElement* aLast, bool aAllowCursor, bool aAllowMarkers,
                    bool aAllowBlanks, bool aExclusive) const;
  bool ContainsOnlyImagesAndCustomTags(TpsChunkElement* aFirst, TpsChunkElement* aLast) const;

  // --- Markers ---------------------------------------------------------------
  TpsChunkElement* InsertMarker(Integer aMarker, TpsChunkElement* aElement, bool aAfter);
  // A negative number is not inserted.
  void MarkRange(TpsChunkElement* aFirst, TpsChunkElement* aLast, Integer aStartMarker, Integer aEndMarker);
  void MarkElement(TpsChunkElement* aElement, Integer aStartMarker, Integer aEndMarker) {
    MarkRange(aElement, aElement, aStartMarker, aEndMarker);
  }
  // Widened to a custom pair right around it, then to the link around it.
  void MarkElementWithWrappers(TpsChunkElement* aElement, Integer aStartMarker, Integer aEndMarker);
  // Block tags do not count as selected ends; False when nothing is selected.
  bool MarkSelection(Integer aStartMarker, Integer aEndMarker);
  void InsertMarkerAtCursor(Integer aMarker, bool aAfter);
  void PrependMarker(Integer aMarker) { PrependElement(NewMarkerElement(aMarker)); }
  void AppendMarker(Integer aMarker) { AddMarker(aMarker); }
  void RemoveMarker(Integer aMarker);
  void RemoveMarkers(Integer aLow, Integer aHigh);
  void InsertElementAtMarker(Integer aMarker, TpsChunkElement* aElement, bool aAfter, bool aRemoveMarker);
  void InsertCopyAtMarker(Integer aMarker, const TpsChunkElement* aElement, bool aAfter, bool aRemoveMarker);
  void InsertTagAtMarker(std::unique_ptr<TpsHtmlTag> aTag, Integer aMarker, bool aAfter, bool aRemoveMarker);

  // --- Selection ---------------------------------------------------------------
  TpsChunkElement* FindSelected(bool aFromStart, bool aSkipBlockTags) const;
  bool HasSelection() const;
  TpsChunkElement* GetFirstSelected(bool aSkipBlockTags) const { return FindSelected(true, aSkipBlockTags); }
  TpsChunkElement* GetLastSelected(bool aSkipBlockTags) const { return FindSelected(false, aSkipBlockTags); }
  TpsChunkElement* FindSelectedFrom(TpsChunkElement* aElement) const;
  TpsChunkElement* FindFirstSelectedCharacter() const;
  TpsChunkElement* FindLastSelectedCharacter() const;
  using TpsSelectionChangeEvent = std::function<void(TpsDataChunk* aChunk, TpsChunkElement* aElement)>;
  // Ids of 0 stand for the first and the last element; the cursor is never
  // selected. aOnChange hears of every embedded node that changed.
  bool SetSelection(bool aSelected, uint32_t aFirstId, uint32_t aLastId, bool aClearOthers,
                    const TpsSelectionChangeEvent& aOnChange = nullptr);
  // Marks the selected part of the next block with aMarker and aMarker + 1
  // (then raised by 2) and gives the block tag that ends it.
  TpsChunkElement* MarkNextSelectedRun(TpsChunkElement* aStart, Integer& aMarker);

  // --- Smart-tag marks ---------------------------------------------------------
  // The handler is not owned. nil ends are the list's ends.
  void SetSmartTag(TpsChunkElement* aFirst, TpsChunkElement* aLast, bool aMarked, Integer aId,
                   IpsSmartTagHandler* aHandler);
  void ClearSmartTagsExcept(Integer aId);
  bool HasSmartTagBetween(TpsChunkElement* aFirst, TpsChunkElement* aLast) const;
  bool HasSmartTag() const { return HasSmartTagBetween(nullptr, nullptr); }
  bool HasSmartTagBeforeCursor() const;
  bool GetSmartTagIdsAtCursor(Integer& aBeforeId, Integer& aAfterId) const;
  // UTF-8 (the system code page), as GetCharacters.
  AnsiString GetSmartTagText(Integer aId) const;
  bool FindSmartTagRange(Integer aId, TpsChunkElement*& aFirst, TpsChunkElement*& aLast) const;

  // --- Inline formatting on marked ranges (psDataChunkFormat.cpp) ----------
  // The inline opening tags open at an element, found by walking back from
  // it (the element itself included) to the nearest block tag; innermost
  // first with index 0.
  using TpsInlineTagCallback = std::function<void(Integer aIndex, TpsChunkElement* aTag)>;
  Integer ForEachInlineTagAround(TpsChunkElement* aStart, const TpsInlineTagCallback& aCallback) const;
  Integer ForEachInlineTagAroundCursor(const TpsInlineTagCallback& aCallback) const;
  Integer ForEachInlineTagAroundMarker(Integer aMarker, const TpsInlineTagCallback& aCallback) const;
  TpsChunkElement* GetInlineTagAroundCursor(Integer aIndex) const;
  // The outermost open tag of that code at the cursor; -1 when none.
  Integer IndexOfInlineTagAroundCursor(Byte aTagCode) const;
  bool IsCursorInsideInlineTag(Byte aTagCode) const { return IndexOfInlineTagAroundCursor(aTagCode) != -1; }
  // Closes every tag open at aElement right before it and reopens it right
  // after it; a tag without partner is closed by a tag of its name.
  Integer SplitInlineTagsAt(TpsChunkElement* aElement);
  void SplitInlineTagsAtMarker(Integer aMarker) { SplitInlineTagsAt(FindMarker(aMarker)); }
  // Afterwards every inline pair lies wholly inside or wholly outside the
  // marked range, and no two pairs cross.
  void SplitCrossingTags(Integer aStartMarker, Integer aEndMarker);
  // The markers must exist and stay in place.
  void WrapMarkedRange(const TpsHtmlTagEventsRef& aEvents, Integer aStartMarker, Integer aEndMarker,
                       const AnsiString& aTagText, const TpsStyleSheet* aStyleSheet, const TpsStyleIdEvent& aOnStyleId);
  void ApplyTagToMarkedRange(const TpsHtmlTagEventsRef& aEvents, Integer aStartMarker, Integer aEndMarker,
                             const AnsiString& aTagText, const TpsStyleSheet* aStyleSheet,
                             const TpsStyleIdEvent& aOnStyleId);
  void WrapMarkedRangeInCustomTag(Integer aStartMarker, Integer aEndMarker, const AnsiString& aSourceText,
                                  const TpsHtmlTagEventsRef& aEvents);
  // Tags whose text is aTagText (as the tag writer writes it) are removed;
  // others open at a marker are split there.
  void RemoveTagFromMarkedRange(Integer aStartMarker, Integer aEndMarker, const AnsiString& aTagText,
                                const TpsStyleSheet* aStyleSheet);
  // The texts of the inline tags open at the first character of every text
  // run of the selection, each once; empty without a selection.
  std::unique_ptr<rtl::TStringList> GetTagsCoveringSelection(const TpsStyleSheet* aStyleSheet) const;

  // --- Deletion, block moves and clean-up (psDataChunkEdit.cpp) -------------
  // Selected characters, empty tags and pairs whose two tags are selected
  // go (other kinds stay); then EnsureCursorInBlock. Raises
  // EpsHtmlEditException for a tag of no known type.
  void DeleteSelection(const TpsHtmlTagEventsRef& aEvents);
  void DeleteBetweenMarkers(Integer aStartMarker, Integer aEndMarker, bool aRemoveMarkers);
  // The whole block around the marker; nothing without the marker.
  void DeleteMarkedBlock(Integer aMarker);
  // The nearest character, tags between not counted.
  void DeleteCharacterBeforeCursor();
  void DeleteCharacterAfterCursor();
  void DeleteLineBreakNearCursor(bool aForward);
  // Puts a cursor that stands in no text block into the nearest one, or
  // into a new paragraph.
  void EnsureCursorInBlock(const TpsHtmlTagEventsRef& aEvents);

  void MoveMarkedRange(Integer aStartMarker, Integer aEndMarker, Integer aTargetMarker, bool aAfter,
                       bool aRemoveTargetMarker, bool aRemoveMarkers);
  // Joins the source marker's block to the target marker (Backspace and
  // Delete at a block edge); a block left empty goes with its empty parents.
  void MoveBlockContentToMarker(Integer aSourceMarker, Integer aTargetMarker);
  void RemoveEmptyBlockPairsAround(TpsChunkElement* aOpenTag, TpsChunkElement* aCloseTag);
  // Takes the marked range out of the start marker's block, closing and
  // reopening the block around it; the markers go.
  void SplitBlockAroundMarkers(Integer aStartMarker, Integer aEndMarker, bool aRemoveInner);

  // Clean-up passes; every element they remove is freed.
  void RemoveUnselectedCharacters();
  void RemoveUnselectedEmptyTags();
  void RemoveUnselectedBlockTags();
  void RemoveUnselectedCustomTags();
  void RemoveTagPairsWithoutSelection();
  // Characters enclosed by no tag pair.
  void RemoveTopLevelCharacters();
  void TrimBlanks(bool aIncludeNbsp);
  bool RemoveLeadingBlanks();
  // In every run of spaces and tabs all but the last go.
  bool CollapseBlanks();
  void RemoveInlineTags(bool aIncludeLinks);
  bool RemovePlaceholders();
  void RemoveCustomTags();
  void RemoveTags(Byte aTagCode, Byte aTagType);
  void RemoveElementOfKind(TpsChunkElementKind aKind);
  // aRemove starts True; a pair is removed only when it is still True.
  using TpsCanRemoveEvent =
      std::function<void(TpsDataChunk* aChunk, TpsChunkElement* aOpenTag, bool& aRemove, TpsChunkElement* aCloseTag)>;
  // A pair the handler keeps is passed over; the passes end when one
  // removes nothing.
  bool RemoveEmptyInlineTagPairs(const TpsCanRemoveEvent& aOnCanRemove);
  bool RemoveBlankInlineTagPairs(const TpsCanRemoveEvent& aOnCanRemove);
  bool RemoveInlineTagPairsWithoutText();
  void PutNbspIntoEmptyBlocks();
  void RemoveNbspFromEmptyBlocks();

  // --- Element tests (False for nullptr) --------------------------------------
  static bool IsTagElement(const TpsChunkElement* e) { return e && e->Kind == ceTag; }
  static bool IsCharacterElement(const TpsChunkElement* e) { return e && e->Kind == ceChar; }
  static bool IsCursorElement(const TpsChunkElement* e) { return e && e->Kind == ceCursor; }
  static bool IsIgnoreElement(const TpsChunkElement* e) { return e && e->Kind == ceIgnore; }
  static bool IsMarkerElement(const TpsChunkElement* e) { return e && e->Kind == ceMarker; }
  static bool IsEmbeddedNode(const TpsChunkElement* e) { return e->Kind == ceNode; }
  static bool IsBlank(const TpsChunkElement* e);
  static bool IsSpaceOrTab(const TpsChunkElement* e);
  static bool IsNonBlankCharacter(const TpsChunkElement* e);
  static bool IsWordCharacterElement(const TpsChunkElement* e);
  static bool IsTag(const TpsChunkElement* e, Byte aTagCode, Byte aTagType);
  static bool IsEmptyTag(const TpsChunkElement* e);
  static bool IsImageTag(const TpsChunkElement* e);
  static bool IsInlineTag(const TpsChunkElement* e);
  static bool IsInlineOpenTag(const TpsChunkElement* e);
  static bool IsInlineCloseTag(const TpsChunkElement* e);
  static bool IsBlockTag(const TpsChunkElement* e);
  static bool IsBlockOpenTag(const TpsChunkElement* e);
  static bool IsBlockCloseTag(const TpsChunkElement* e);
  static bool IsListOpenTag(const TpsChunkElement* e);
  static bool IsListCloseTag(const TpsChunkElement* e);
  static bool IsTableTag(const TpsChunkElement* e);
  static bool IsCustomTag(const TpsChunkElement* e);
  static bool IsCustomOpenTag(const TpsChunkElement* e);
  static bool IsCustomCloseTag(const TpsChunkElement* e);
  static bool IsFirstCharacter(const TpsChunkElement* e);
  static bool IsLastCharacter(const TpsChunkElement* e);
  // The element's tag code (its tag's cached code); TAG_UNKNOWN for others.
  static Byte TagCodeOf(const TpsChunkElement* e);

  // --- Focus stack and blocks (psDataChunkFocus.cpp) --------------------------
  bool Focus(TpsChunkElement* aFirst, TpsChunkElement* aLast);
  void Unfocus();
  bool FocusBlock(TpsChunkElement* aElement);
  bool TryFocusBlock(TpsChunkElement* aElement);
  bool FocusMarkedBlock(Integer aMarker);
  bool TryFocusMarkedBlock(Integer aMarker);
  bool FocusCursorBlock();
  bool FocusCursorTable();
  bool FocusSmallestBlockContainingAllSelectedElements();
  // The first marker of that number; nullptr when none.
  TpsChunkElement* FindMarker(Integer aMarker) const;

  TpsChunkElement* FindPartnerTag(TpsChunkElement* aTag, TpsChunkElement* aStop) const;
  TpsChunkElement* FindPartnerTagEx(TpsChunkElement* aTag, TpsChunkElement* aStop, bool& aPassedCursor) const;
  TpsChunkElement* FindEnclosingTag(Byte aTagCode, Byte aTagType, TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* GetBlockStart(TpsChunkElement* aElement) const;
  TpsChunkElement* GetBlockEnd(TpsChunkElement* aElement) const;
  TpsChunkElement* GetParentBlockStart(TpsChunkElement* aBlockStart) const;
  TpsChunkElement* FindEnclosingBlock(TpsChunkElement* aElement, Byte aTagCode) const;
  TpsChunkElement* FindEnclosingBlockWithin(TpsChunkElement* aElement, Byte aTagCode, Integer aMaxLevels) const;
  bool IsInTextBlock(TpsChunkElement* aElement) const;
  TpsChunkElement* FindBlockTag(TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* FindBlockOpenTag(TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* FindTextBlockTag(TpsChunkElement* aStart, bool aForward) const;
  TpsChunkElement* FindPreviousBlock(TpsChunkElement* aElement) const;
  TpsChunkElement* FindNextBlock(TpsChunkElement* aElement, bool& aSameLevel) const;
  TpsChunkElement* FindAdjacentBlockBefore(TpsChunkElement* aElement, Byte aTagCode) const;
  TpsChunkElement* FindAdjacentBlockAfter(TpsChunkElement* aElement, Byte aTagCode) const;
  TpsChunkElement* FindListAroundCursor() const;
  bool IsInsideTag(TpsChunkElement* aElement, Byte aTagCode) const;
  bool IsCursorInsideTag(Byte aTagCode) const;
  bool ContainsBlockTag(TpsChunkElement* aFirst, TpsChunkElement* aLast, Byte aTagCode) const;
  bool BlockHasContent(TpsChunkElement* aElement);
  Integer CountBlockTags(const std::vector<Byte>& aTagCodes, Integer aLevel) const;
  Byte GetLeadingBlockTagCode() const;
  bool IsEmptyParagraphTag(TpsChunkElement* aElement) const;
  bool FindEmptyParagraphAfter(TpsChunkElement* aElement, TpsChunkElement*& aOpenTag) const;
  bool FindEmptyParagraphBefore(TpsChunkElement* aElement, TpsChunkElement*& aCloseTag) const;
  TpsChunkElement* GetEnclosingLink(TpsChunkElement* aElement) const;
  bool IsInsideLink(uint32_t aElementId) const;
  TpsChunkElement* FindFirstNonBlankCharacterOutsideTables();
  TpsChunkElement* GetNonBlankCharacter(Integer aIndex) const;

  // --- Text in (psDataChunkText.cpp) ------------------------------------------
  // White space collapsed: CR dropped, tab and LF as spaces, no two spaces
  // in a row.
  void AddText(const WideString& aText);
  // The same, with every named reference of the HTML standard and every
  // numeric one read as its character(s), marked FromEntity. A reference
  // beyond U+FFFF gives a surrogate pair; zero, a surrogate or a value
  // beyond U+10FFFF gives U+FFFD.
  void AddTextWithEntities(const WideString& aText);
  // One character element per character, after (before) aElement, or
  // appended when aElement is nullptr.
  void InsertTextAt(const WideString& aText, TpsChunkElement* aElement, bool aAfter);
  // Before the cursor; a CR (with an LF after it) becomes a "br" tag.
  void InsertTextAtCursor(const WideString& aText, bool aSelected);

  // --- Text out ---------------------------------------------------------------
  // A character is written as itself only when it needs no escape, did not
  // come from an entity and aEncoding holds it; else as its entity, or
  // "&#n;" (one reference for a surrogate pair).
  WideString GetHtmlText(TpsChunkElement* aFirst, TpsChunkElement* aLast, const AnsiString& aCursorText,
                         bool aNumericCharRefs, const TpsCharacterEncoding& aEncoding) const;
  static WideString GetElementHtml(const TpsChunkElement* aElement, const AnsiString& aCursorText,
                                   bool aNumericCharRefs, const TpsCharacterEncoding& aEncoding);
  static AnsiString GetElementText(const TpsChunkElement* aElement, const AnsiString& aCursorText,
                                   bool aNumericCharRefs);
  WideString GetPlainText() const;
  // UTF-8 (the system code page): a character may take several bytes, so
  // offsets into this text are no character counts. A non-breaking space
  // is a space.
  AnsiString GetCharacters() const;
  // UTF-8, as GetCharacters.
  AnsiString GetSelectedText() const;
  WideString GetDebugText() const;
  uint32_t GetCharacterIdsCrc() const;

  // --- Positions ----------------------------------------------------------------
  // With aSkipLeadingBlanks spaces and tabs before the first other
  // character do not count (the spell checker's walk counts so).
  Integer CountCharacters(bool aSkipLeadingBlanks, bool aStopAtCursor) const;
  TpsChunkElement* GetCharacterByIndex(Integer aIndex, bool aSkipLeadingBlanks) const;
  Integer GetCursorOffset() const;
  Integer GetCharacterCountAfterCursor(bool aCountBlanks) const;
  // From the cursor; every occurrence is found (after a mismatch the search
  // starts again at the character after the failed match's first one).
  bool FindText(const WideString& aText, bool aMatchCase, bool aForward, uint32_t& aStartId,
                uint32_t& aEndId) const;

  // --- The first tag pair of a code (psDocument.cpp) --------------------------
  bool HasTagPair(Byte aTagCode) const;
  AnsiString GetTagPairText(Byte aTagCode) const;
  bool SetTagPairText(Byte aTagCode, const AnsiString& aText);
  bool SetTagPairElement(Byte aTagCode, TpsChunkElement* aElement);
  void InsertTagPair(std::unique_ptr<TpsHtmlTag> aOpenTag, std::unique_ptr<TpsHtmlTag> aCloseTag, bool aAfter,
                     TpsChunkElement* aTarget, const AnsiString& aText);
  void InsertTagPairWithText(const TpsHtmlTagEventsRef& aEvents, Byte aTagCode, bool aAfter,
                             TpsChunkElement* aTarget, const AnsiString& aText);
  bool RemoveTagPair(Byte aTagCode);

 private:
  // Characters as the background analysis reads them: UTF-8 (the system
  // code page), a non-breaking space as a space.
  static AnsiString ToSystemCharacters(WideString aText);
  // The first opening tag of the code and the first closing tag after it.
  bool FindTagPair(Byte aTagCode, TpsChunkElement*& aOpen, TpsChunkElement*& aClose) const;

  TpsChunkElement* FFirst = nullptr;
  TpsChunkElement* FLast = nullptr;
  std::vector<TpsDataChunkFocus> FFocusStack;
};

bool IsChunkEmpty(const TpsDataChunk* aChunk);

// --- Tag pairs and image alignment ----------------------------------------------

// An opening tag from aTagText and its closing partner (the name, no
// attributes).
void CreateTagPair(const TpsHtmlTagEventsRef& aEvents, const AnsiString& aTagText,
                   std::unique_ptr<TpsHtmlTag>& aOpenTag, std::unique_ptr<TpsHtmlTag>& aCloseTag);
// An opening and a closing "@cust" tag standing for aSourceText.
void CreateCustomTagPair(const AnsiString& aSourceText, const TpsHtmlTagEventsRef& aEvents,
                         std::unique_ptr<TpsHtmlTag>& aOpenTag, std::unique_ptr<TpsHtmlTag>& aCloseTag);

// Alignments: 0 left, 1 right, 2 middle, 3 top, 4 bottom, 5 none.
bool IsFloatingAlignment(Byte aAlign);
Byte GetTagAlignment(TpsHtmlTag& aTag, const TpsStyleSheet& aStyleSheet);
void SetTagAlignment(TpsHtmlTag& aTag, Byte aAlign, const TpsStyleSheet& aStyleSheet,
                     const TpsStyleIdEvent& aOnStyleId);
// aFloat: 0 left, 1 right, 2 none, 3 remove.
void SetInlineFloat(TpsHtmlTag& aTag, Byte aFloat, const TpsStyleSheet& aStyleSheet,
                    const TpsStyleIdEvent& aOnStyleId);

}  // namespace htmldoc
