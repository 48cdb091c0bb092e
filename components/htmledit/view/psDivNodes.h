#pragma once
// The block nodes below the body: paragraphs, divs, headings, quotes,
// lists and list items. A div node places itself in its parent, moves
// below the floats its "clear" names, keeps to one page in a print
// preview, labels itself in the reveal-tags mode and builds its children
// from its content. The classes differ only in the tag that selects them
// and in a few query answers; the style sheet gives their looks.
#include "htmledit/view/psBlockNode.h"

namespace htmlview {

class TpsDivNode : public TpsBlockNode {
 public:
  explicit TpsDivNode(TpsWindow* aParent);

  void HandleMessage(TpsMessage& aMessage) override;
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;
  uint32_t GetFirstElementId() override;
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override;
  bool ContainsElement(uint32_t aId, TpsDocumentNode* aNode) override;
  bool IsEmpty() override;
  void PrepareChunk() override;
  // (this node, its opening tag, this node, its closing tag).
  void GetBlockRange(TpsSelectionRange& aRange) override;
  // Its opening tag, the children from aFromChild through aToChild, its
  // closing tag.
  void MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow* aFromChild, TpsWindow* aToChild) override;

  // After the node got its place and width.
  virtual void AdjustWidth() {}
  // The content, before the children are built.
  virtual void InspectContent(htmldoc::TpsDataChunk& aContent) {}
  // What follows the block in the parent's list.
  virtual void InspectFollowing(htmldoc::TpsDataChunk& aRest) {}

  // The list starts (after blanks and kept-verbatim elements) with an
  // opening tag of that code.
  static bool ChunkStartsWithTag(const htmldoc::TpsChunkElement* aFirst, Byte aTagCode);
  static bool ChunkStartsWithTag(htmldoc::TpsDataChunk& aChunk, Byte aTagCode);

 protected:
  // The factory's test; the class answers whether it takes aCode.
  void ClearFloats();
  // Builds the children and, in a print preview, moves the block to the
  // next page when it would cross a page boundary.
  void BuildChildren(htmldoc::TpsDataChunk& aContent);
  void AddRevealTagsLabel();
  void BuildContent(htmldoc::TpsDataChunk& aContent);
  bool LiesOnOnePage();
};

class TpsExplicitDivNode : public TpsDivNode {
 public:
  using TpsDivNode::TpsDivNode;
};

class TpsHeadingNode : public TpsDivNode {
 public:
  using TpsDivNode::TpsDivNode;
};

class TpsBlockQuoteNode : public TpsDivNode {
 public:
  using TpsDivNode::TpsDivNode;
};

class TpsParagraphNode : public TpsDivNode {
 public:
  using TpsDivNode::TpsDivNode;
};

class TpsListNode : public TpsDivNode {
 public:
  using TpsDivNode::TpsDivNode;
  void HandleMessage(TpsMessage& aMessage) override;

  // Over the children that answer "is a list item".
  static Integer GetItemNumber(TpsWindow* aList, TpsWindow* aItem);
  static Integer GetItemCount(TpsWindow* aList);
  static TpsWindow* GetItem(TpsWindow* aList, Integer aIndex);
};

class TpsListItemNode : public TpsDivNode {
 public:
  using TpsDivNode::TpsDivNode;
  void HandleMessage(TpsMessage& aMessage) override;
  // Enter in an empty item: the item goes and the caret leaves the list,
  // in a paragraph of its own unless a cell holds it.
  void LeaveListByEnter();

  // The first child of the item that is a list.
  static TpsWindow* FindNestedList(TpsWindow* aItem);
  // The item's list has more than two children and the item is neither
  // the first nor the last.
  static bool IsMiddleItem(TpsWindow* aItem);
  // The item's first text line.
  static TpsWindow* GetFirstTextLine(TpsWindow* aItem);
};

// Fills the factory's slots for the paragraph .. list item classes and the
// text line (the table classes are registered by their own layer). Once
// per process; the body calls it.
void RegisterLayoutNodeClasses();

}  // namespace htmlview
