#pragma once
// The base of every view node that stands for a block element: the body,
// the div family and the table nodes. A block keeps the piece of the node
// list that is its own (the opening tag with the blanks and kept-verbatim
// elements after it, and the closing tag with those around it) and hands
// its content to child nodes; asked for its list it joins the parts again.
// It paints its background, border and the drop bar of an image drag, and
// at the end of an edit transaction decides whether the change stayed
// local or the whole document must be laid out again.
#include <memory>
#include <vector>

#include "htmledit/view/psDocumentNode.h"

namespace htmlview {

// What 160, 170 and 175 fill in: a node and one of its elements.
struct TpsNodeElement {
  TpsWindow* Node = nullptr;
  uint32_t ElementId = 0;
};

// The canvas of the paint under way. PaintRect has no canvas parameter, and
// a block asked by a child to paint its background must draw where the
// child draws; outside a paint it is the editor's screen surface.
class TpsPaintCanvasScope {
 public:
  explicit TpsPaintCanvasScope(TpsAbstractCanvas* aCanvas);
  ~TpsPaintCanvasScope();
  TpsPaintCanvasScope(const TpsPaintCanvasScope&) = delete;
  TpsPaintCanvasScope& operator=(const TpsPaintCanvasScope&) = delete;
  static TpsAbstractCanvas* Current() { return FCurrent; }

 private:
  TpsAbstractCanvas* FSaved;
  static thread_local TpsAbstractCanvas* FCurrent;
};

// The background colour that means "no background of its own": the
// parent's shows through.
constexpr TColor kNoBackground = 0x20000000;

class TpsBlockNode : public TpsDocumentNode {
 public:
  explicit TpsBlockNode(TpsWindow* aParent, IpsEditorHost* aEditor = nullptr);

  void HandleMessage(TpsMessage& aMessage) override;
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;
  // Node-local coordinates, clipped to the padding box.
  void PaintRect(Integer aLeft, Integer aTop, Integer aRight, Integer aBottom) override;
  std::unique_ptr<htmldoc::TpsDataChunk> GetChunk(bool aAsCopy) override;
  void GetVerticalRange(Integer& aTop, Integer& aLeft, Integer& aRight) override;
  std::unique_ptr<htmldoc::TpsDataChunk> CopyChunk() override;

  // --- Own virtual operations ---
  virtual bool IsEmpty() { return true; }
  virtual void GetContentMetrics(Integer& aLeft, Integer& aNextTop, Integer& aWidth);
  virtual void UpdateHeight();
  // A bare block has no range: a consistency check fails.
  virtual void GetBlockRange(TpsSelectionRange& aRange);
  virtual void PrepareChunk() {}

  // --- Other operations ---
  htmldoc::TpsHtmlTag* GetBlockTag();
  // Cuts a block off the front of aChunk into the leading part, the
  // content (returned) and the trailing part; what follows stays.
  std::unique_ptr<htmldoc::TpsDataChunk> SplitBlockChunk(htmldoc::TpsDataChunk& aChunk);
  Byte GetTextAlign();
  AnsiString GetStyleValueText(Integer aAttributeId);
  AnsiString GetInlineStyleText();
  void LoadBackgroundColor();
  // The url of the cascaded background-image, its picture from the image
  // cache (one use held while the node lives).
  void LoadBackgroundImage();
  // Tiles of aGraphic laid from (aOriginX, aOriginY) row by row, those
  // meeting the viewport drawn, clipped to aClip (document coordinates).
  // A graphic with a zero side is not tiled.
  static void PaintTiles(TpsAbstractCanvas& aCanvas, vcl::TGraphic* aGraphic, Integer aOriginX, Integer aOriginY,
                         const TpsRect& aClip);
  void PaintBorder(TpsAbstractCanvas& aCanvas);
  void SetDropBar(Byte aState);
  // The rectangles (root coordinates) of the floated windows owned by this
  // block or a node inside it.
  std::vector<TpsRect> RecordFloats();
  TpsBlockNode* FindAdjacentBlock(bool aBackward);
  Integer GetContentWidth() const { return Width - InsetLeft - InsetRight; }
  // Whether a floated window belongs to this block's content.
  bool OwnsFloat(const TpsWindow* aFloat) const;

  std::vector<TpsRect> FloatsBefore;
  Integer HeightBeforeRelayout = 0;
  Byte DropBar = 0;
  bool DropBarPainted = false;
  bool ContainsFloats = false;
  std::unique_ptr<htmldoc::TpsDataChunk> LeadingPart;
  std::unique_ptr<htmldoc::TpsDataChunk> TrailingPart;
  htmldoc::TpsChunkElement* OpeningTag = nullptr;  // lives in LeadingPart
  htmldoc::TpsChunkElement* ClosingTag = nullptr;  // lives in TrailingPart
  AnsiString BackgroundImageSource;
  vcl::TGraphic* BackgroundGraphic = nullptr;  // the image cache's; not owned

 protected:
  void BeforeDestruction() override;
  // The transaction end: the change stayed local, or the deferred
  // messages go to the root.
  void EndTransaction();
  // The block-level edits on the gathered list; false for other messages.
  bool HandleBlockEdit(TpsMessage& aMessage);
  // Backspace at the block's start: its content joins the previous block.
  void MergeIntoPreviousBlock();
  // The dragged image (its element id) dropped at the drop bar's edge.
  void DropImage(uint32_t aImageId);
  void InsertLineBreak();
  void EnsureMarkerInParagraph(Integer aMarker);
  void LiftMarkerOutOfBlocks(Integer aMarker);
  void RemoveSpanByIndex(Integer aIndex, bool aKeepTyping, bool aWithCustomWrapper);
  void RemoveInlineTagAtMarker(Integer aMarker, bool aByCode, Byte aTagCode);
  void WrapSelection(const AnsiString& aTagText, const AnsiString& aCustomSource, bool aApply);
  void RemoveTagFromSelection(const AnsiString& aTagText);
  // Paints the background of the node-local rectangle aRect with this
  // node's colour (or its parent's when it has none).
  void PaintBackground(TpsAbstractCanvas& aCanvas, const TpsRect& aLocal);
  TpsAbstractCanvas* PaintCanvas() const;

 private:
  // The source whose cache use the node holds.
  AnsiString FCountedBackgroundSource;
};

}  // namespace htmlview
