#pragma once
// One line box of inline content. The factory hands a line what remains
// of its block; the line takes the elements that fit into its own list and
// leaves the rest for the next sibling. It measures characters one by one
// on the drawing surface, breaks between words (inside a word only when
// the word fits no line), narrows itself beside floated images, aligns and
// justifies its items, keeps the caret geometry of a line without text and
// paints text, selection, decoration and list markers.
#include <memory>
#include <vector>

#include "htmledit/doc/psTagStyles.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psEditorHost.h"
#include "htmledit/view/psLineObjects.h"
#include "htmledit/view/psTextEditing.h"

namespace htmlview {

class TpsBlockNode;
class TpsImageNode;

// The floats whose place became final while one line was laid out; its
// retries skip their image elements and keep them.
class TpsFinalizedDockedAdultNodes {
 public:
  void Add(TpsWindow* aNode, uint32_t aElementId);
  bool ContainsElement(uint32_t aElementId) const;
  bool ContainsNode(const TpsWindow* aNode) const;

 private:
  std::vector<TpsWindow*> FNodes;
  std::vector<uint32_t> FElements;
};

class TpsTextNode : public TpsDocumentNode {
 public:
  explicit TpsTextNode(TpsWindow* aParent);

  void HandleMessage(TpsMessage& aMessage) override;
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;
  std::unique_ptr<htmldoc::TpsDataChunk> GetChunk(bool aAsCopy) override;
  uint32_t GetFirstElementId() override;
  std::unique_ptr<htmldoc::TpsDataChunk> CopyChunk() override;
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override;
  uint32_t FindElement(uint32_t aIdA, uint32_t aIdB) override;
  // Its elements in order; a line whose marks changed is repainted.
  void MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow* aFromChild, TpsWindow* aToChild) override;

  htmldoc::TpsDataChunk* GetLineChunk();
  // The items' rectangles are relative to the line.
  const TpsLineObjects& Items() const { return FItems; }
  TpsRect EmptyLineCaret() const { return FEmptyLineCaret; }
  bool HasText() const { return FHasText; }
  Integer WordCount() const { return FWordCount; }
  Byte TextAlign() const { return FTextAlign; }

  // The UTF-16 unit as measured and drawn under text-transform (1 upper,
  // 2 lower case; capitalize and the rest leave it).
  static WideChar TransformCharacter(WideChar aChar, Integer aTransform);

  // --- Editing (psTextLineInput.cpp) ---
  // The elements before and after the cursor, each with this line (a half
  // is empty at the line's edge); all empty without the cursor.
  TpsSelectionRange CaretPosition();
  // The caret in root coordinates: at the cursor, else the empty line's.
  TpsRect CaretRect();
  // The cursor before or after the character whose centre is nearest to aX
  // (relative to the line), then out of custom tags at the line's text
  // edges; a line without text takes it at its end. False without a line
  // list.
  bool PlaceCursorAtX(Integer aX);
  // The text item whose centre is nearest to aX (the first on ties): its
  // character, and whether aX lies left of the centre. False without text.
  bool HitTestCharacter(Integer aX, htmldoc::TpsChunkElement*& aElement, bool& aBefore);
  // As the hit test; with aStrict only when aX lies within one item width
  // of the item.
  htmldoc::TpsChunkElement* FindCharacterAtX(Integer aX, bool aStrict);
  // The character at aX (strictly) lies inside a link.
  bool IsLinkAtX(Integer aX);
  Integer PreferredColumn() const { return FPreferredColumn; }

 private:
  htmldoc::TpsChunkElement* ItemElement(Integer aIndex);
  struct Extent {
    Integer Left;
    Integer Right;
  };
  void LoadLineMetrics();
  void PrepareLineStyle();
  // The content range of the parent in this node's parent coordinates.
  Extent FullExtent() const;
  void CollectOverlaps(Extent aFull, bool aExcludeOwn);
  // Narrows aFull beside the floats collected in Overlaps.
  Extent FitBesideFloats(Extent aFull) const;
  void SetExtent(Extent aExtent);
  // False when nothing could be put on the line.
  bool LayoutLine(htmldoc::TpsDataChunk& aChunk, bool& aNoRoom, bool aPassFirst);
  void UndoLine(htmldoc::TpsDataChunk& aChunk);
  void PlaceLineItems(bool aLastLine);
  void PlaceDockedFloats();
  // Creates, lays out and places (or provisionally puts) a floated image
  // met on the line.
  void DockFloat(htmldoc::TpsChunkElement* aElement, Integer& aRemaining, Integer aAvailable);
  // The first free place at or below aY0 inside [aXMin, aXMax] (root
  // coordinates) beside the floats already placed.
  void FindFreePlace(TpsImageNode* aImage, Integer aY0, bool aLeft, Integer aXMin, Integer aXMax);
  Integer ParentAvailableWidth() const;
  void PaintListMarker(TpsAbstractCanvas& aCanvas);
  // The message handler's parts by kind; each answers whether it took the
  // message.
  bool HandleKey(TpsMessage& aMessage);
  void HandleMouse(TpsMessage& aMessage);
  bool HandleQuery(TpsMessage& aMessage);
  // The selection rule around a move.
  void BeforeMove(const TpsMessage& aMessage);
  void AfterMove(const TpsMessage& aMessage, bool aResetColumn);
  // Focus, caret and (for hand-overs) the previous holder told to drop its
  // cursor.
  void TakeFocusAndCaret(bool aScroll);
  void TookCursorFrom(TpsMessage& aMessage);
  // Posts the transaction's messages (to the root or this line's block)
  // and processes them; this line may be gone afterwards.
  void RunTransaction(std::vector<TpsMessagePtr> aQueue);
  void KeyUpDown(TpsMessage& aMessage, bool aDown);
  void KeyPage(TpsMessage& aMessage, bool aDown);
  void KeyDocumentEdge(TpsMessage& aMessage, bool aEnd);
  void KeyEnter(TpsMessage& aMessage);
  void KeyBackspace(TpsMessage& aMessage);
  void KeyDelete(TpsMessage& aMessage);
  void KeyTab(TpsMessage& aMessage, bool aBackward);
  void TypeText(const WideString& aText);
  void SelectWordAtCursor();
  bool IsCursorInLink();
  void PaintWords(TpsAbstractCanvas& aCanvas);

  bool FHasText = false;
  std::unique_ptr<htmldoc::TpsDataChunk> FLineChunk;
  TpsLineObjects FItems{false};
  // The letter spacing of each item, kept for placing the items.
  std::vector<Integer> FItemSpacing;
  Integer FWordCount = 0;
  Integer FWordsWidth = 0;
  Byte FTextAlign = 0;
  Integer FSpaceWidth = 0;
  Integer FWordGap = 0;
  Integer FLeftFloatWidth = 0;
  Integer FRightFloatWidth = 0;
  Integer FImagesWidth = 0;
  htmldoc::TpsDockedAdultNodeList FDockedFloats;
  Integer FPreferredColumn = -1;
  TpsRect FEmptyLineCaret{-1, -1, -1, -1};
  Integer FPlainSpaceWidth = 0;
  TpsFinalizedDockedAdultNodes* FFinalized = nullptr;
  Integer FTextTransform = 0;
  Integer FProvisionalLeft = 0;
  Integer FProvisionalTop = 0;

 public:
  // The last double click (time and point), for the triple click.
  TpsClickTracker Clicks;
};

}  // namespace htmlview
