#pragma once
// The base of every view node. A document node is a window that also
// knows its editor (through the root), its style stack, its CSS box and,
// while an edit runs, the node list taken out of the view. The root's
// message handler carries out the editor's editing commands on that list:
// a command takes the whole content out (550), changes the list through a
// series of messages and lays it out again (560). TpsSkinNode wraps an
// image; the node factory turns a node list into view nodes.
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/view/psEditorHost.h"
#include "htmledit/view/psHints.h"
#include "htmledit/view/psWindows.h"

namespace htmldoc {
class TpsTableDataAccess;
}

namespace htmlview {

// What a selection mark walk carries (built by the text selection).
class TpsSelectionMarkRequest;

class TpsDocumentNode : public TpsWindow {
 public:
  // A node under aParent finds its editor through the root; the root is
  // given it.
  explicit TpsDocumentNode(TpsWindow* aParent, IpsEditorHost* aEditor = nullptr);

  // --- Virtual operations ---
  std::unique_ptr<TpsHintWindow> CreateHintWindow(const TpsPoint& aPoint, TpsHintTriggerArea* aArea,
                                                  const AnsiString& aText) override;
  void HandleMessage(TpsMessage& aMessage) override;
  // The content taken out is handed over; otherwise the non-floating
  // children's lists, in order.
  virtual std::unique_ptr<htmldoc::TpsDataChunk> GetChunk(bool aAsCopy);
  virtual TpsRect GetBoundsRect() { return BoundsRect; }
  // Pushes the element's tag, class and style-attribute ids (each not -1).
  virtual void InitFromTag(htmldoc::TpsChunkElement* aElement);
  // -1, -1, -1 in the base.
  virtual void GetVerticalRange(Integer& aTop, Integer& aLeft, Integer& aRight);
  virtual void LoadBoxMetrics(bool aMargins, bool aBorders, bool aPadding);
  // The base asks the parent.
  virtual void RequestWidth(Integer aWidth);
  virtual void ChildHeightChanged(TpsWindow* aChild, Integer aDelta);
  virtual void MoveVertically(Integer aDelta) { Top += aDelta; }
  virtual uint32_t GetFirstElementId();
  // Nothing in the base.
  virtual void MarkSelection(TpsSelectionMarkRequest& aRange, TpsWindow* aFromChild, TpsWindow* aToChild) {}
  virtual std::unique_ptr<htmldoc::TpsDataChunk> CopyChunk();
  virtual bool IsTableCell() { return false; }
  // Consumes the node's elements from the front of the list. The base only
  // marks the node as being laid out.
  virtual void LayoutChunk(htmldoc::TpsDataChunk& aChunk);
  // 0 in the base.
  virtual uint32_t FindElement(uint32_t aIdA, uint32_t aIdB) { return 0; }
  virtual bool ContainsElement(uint32_t aId, TpsDocumentNode* aOtherNode) { return false; }
  virtual void NotifyChildren();
  // True for an image node, with its alignment (0 left, 1 right, 2 middle,
  // 3 top, 4 bottom, 5 none).
  virtual bool GetImageAlignment(Byte& aAlignment) { return false; }

  // --- Other operations ---
  TpsDocumentNode* GetRootNode();
  TpsDocumentNode* GetParentNode() const;
  void SetParentNode(TpsWindow* aParent) { Parent = aParent; }
  IpsEditorHost* GetEditor() const { return Editor; }
  TpsWindowManager* GetWindowManager();
  const htmldoc::TpsCSSAttributeList* GetStyleAttributes();
  void PrepareStyleStack();
  void SaveStyleEndState();
  Integer GetParentContentWidth();
  Integer GetHorizontalMargins() const { return MarginLeft + MarginRight; }
  Integer GetHorizontalBorders() const { return BorderLeft + BorderRight; }
  Integer GetHorizontalInsets() const { return InsetLeft + InsetRight; }
  void SetFocus();
  void ClearFocus();
  void SetCapture();
  void ReleaseCapture();
  void PostMessage(TpsMessagePtr aMessage, bool aProcess);
  // A query (kind command, kept by the sender) straight to the window's
  // handler; its Result.
  static bool QueryNode(TpsWindow* aWindow, Integer aId);
  static bool IsBlockNode(TpsWindow* aWindow) { return QueryNode(aWindow, psmIsBlockNode); }
  static bool IsTextNode(TpsWindow* aWindow) { return QueryNode(aWindow, psmIsTextNode); }
  static bool IsListItemNode(TpsWindow* aWindow) { return QueryNode(aWindow, psmIsListItemNode); }
  static bool IsTableNode(TpsWindow* aWindow) { return QueryNode(aWindow, psmIsTableNode); }
  static bool IsListNode(TpsWindow* aWindow, bool& aOrdered);
  bool IsInsideTable();
  TpsWindow* NearestTextNodeByY(Integer aY);
  TpsWindow* NearestTextNodeAtPoint(Integer aX, Integer aY);
  TpsWindow* BlockNodeAt(Integer aX, Integer aY);
  vcl::TPoint DocumentToScreen(const TpsPoint& aPoint);
  void GetEnclosingTable(htmldoc::TpsChunkElement*& aStart, htmldoc::TpsChunkElement*& aEnd);
  std::unique_ptr<htmldoc::TpsTableDataAccess> GetTableAccess();
  // Takes the content out for an edit (550).
  void ExtractChunk();
  // The clean-up passes run on the content before a relayout.
  void CleanUpChunk();
  // On the focused block of the content taken out.
  void SetBlockAlignment(Byte aAlignment);

  // --- Fields ---
  Integer TagStyleId = -1;
  Integer ClassStyleId = -1;
  Integer StyleAttributeId = -1;
  std::unique_ptr<htmldoc::TpsDataChunk> EditChunk;
  std::unique_ptr<TpsOverlappingWindows> Overlaps;
  vcl::TCursor MouseCursor = vcl::crDefault;
  Integer HeightBeforeEdit = 0;
  std::unique_ptr<htmldoc::TpsStyleStack> StyleStack;
  Integer MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
  Integer BorderLeft = 0, BorderTop = 0, BorderRight = 0, BorderBottom = 0;
  TpsRect Padding{0, 0, 0, 0};
  TColor BorderColor = 0;
  Integer BorderStyle = 1;
  Integer InsetLeft = 0, InsetTop = 0, InsetRight = 0, InsetBottom = 0;
  TpsRect BoundsRect{-1, -1, -1, -1};

 protected:
  ~TpsDocumentNode() override;
  void BeforeDestruction() override;
  // The root's edit operations on the content taken out; true when the id
  // was one of them.
  bool HandleEditOperation(TpsMessage& aMessage);
  // A consistency check that the content is out.
  void RequireContentOut();

  IpsEditorHost* Editor = nullptr;  // the editor component; not owned

 private:
  void Relayout();
  void CollectTextNodes(std::vector<TpsWindow*>& aNodes);
  // Edit operations on the content taken out.
  void InsertText(TpsMessage& aMessage);
  void DeleteWord(bool aBackward);
  void DeleteCharacter(bool aForward);
  void DeleteMarkedBlock(Integer aBlockMarker, Integer aCursorMarker);
  void IndentListItem(TpsMessage& aMessage);
  void OutdentListItem(Integer aMarker);
  void SetListTag(Integer aMarker, Byte aTagCode);
  void SetAlignmentOfSelectedBlocks(Byte aAlignment);
  void SetSelectedListTag(Byte aTagCode);
};

// The wrapper of an image: exactly one child, the image node. Its owner
// is the view node in whose content the image stands.
class TpsSkinNode : public TpsDocumentNode {
 public:
  explicit TpsSkinNode(TpsWindow* aParent);
  // The only child; a consistency check that there is exactly one.
  TpsDocumentNode* GetImageNode();
  std::unique_ptr<htmldoc::TpsDataChunk> GetChunk(bool aAsCopy) override;
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override;
  // Posts 250 to the image node with Result = aValue and processes it.
  void SetImageSelected(bool aValue);
  // The image's alignment when the one child is an image node, else 5
  // (none).
  Byte GetFloatAlignment();
  bool IsFloatingImage(TpsDocumentNode*& aImageNode);

 private:
  TpsDocumentNode* FImageNode = nullptr;
};

// --- Node factory ---

// The node classes in the order they are asked whether the leading
// elements of a list start a node of their kind.
enum class TpsNodeClass : Byte {
  Paragraph, ExplicitDiv, BlockQuote, Heading, List, ListItem, Table, TableRow, TableDataCell,
  TableHeaderCell, Text
};
constexpr size_t kNodeClassCount = 11;

struct TpsNodeClassEntry {
  std::function<bool(htmldoc::TpsDataChunk& aChunk)> Accepts;
  std::function<TpsWindowPtr(TpsWindow* aParent)> Create;
};

// One slot per node class, filled by the layers that build them.
class TpsNodeFactory {
 public:
  void Register(TpsNodeClass aClass, TpsNodeClassEntry aEntry);
  void Unregister(TpsNodeClass aClass);
  const TpsNodeClassEntry* Entry(TpsNodeClass aClass) const;

 private:
  TpsNodeClassEntry FEntries[kNodeClassCount];
};

// The process-wide factory the view builds with.
TpsNodeFactory& NodeFactory();

// Builds nodes under aParent until the list is empty: true then; false
// when no class accepts the leading elements (or a node takes none of
// them, which would never end).
bool BuildViewNodes(htmldoc::TpsDataChunk& aChunk, TpsWindow* aParent,
                    const TpsNodeFactory& aFactory = NodeFactory());

}  // namespace htmlview
