#pragma once
// The view node of an img element. It sits inside its wrapper (a skin
// node): the wrapper of an inline image is a child of the text line that
// met it, the wrapper of a floated image a floating child of the root that
// the line owns. The node sizes the picture from the tag and the graphic,
// paints it (a placeholder while the picture is missing, a tinted copy
// while it is part of the text selection, a mark when shown smaller than
// it is) and shows the alternative text as a hint. Through its floating-
// node interface the text layout binds it to the line and places it.
#include <memory>

#include "htmledit/doc/psGlobals.h"
#include "htmledit/doc/psTagStyles.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psDragFeedback.h"
#include "htmledit/view/psImageEditing.h"

namespace vcl {
class TBitmap;
class TGraphic;
class TSizeConstraints;
}  // namespace vcl

namespace htmlview {

class TpsImageNode : public TpsDocumentNode, public htmldoc::TpsDockedNode {
 public:
  explicit TpsImageNode(TpsWindow* aWrapper);

  bool WantsHint() override { return !Resizing && !Dragging; }
  void HandleMessage(TpsMessage& aMessage) override;
  void Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) override;
  std::unique_ptr<htmldoc::TpsDataChunk> GetChunk(bool aAsCopy) override;
  // Lays out the element set by SetSourceElement; aChunk is not read.
  void LayoutChunk(htmldoc::TpsDataChunk& aChunk) override;
  bool GetImageAlignment(Byte& aAlignment) override {
    aAlignment = Alignment;
    return true;
  }

  // A wrapper for aElement (a consistency check that there is one) with a
  // new image node as its only child, owned by aOwner. A floated image's
  // wrapper is a floating child of the root; an inline one's a child of
  // aOwner. The wrapper is added to its parent.
  static TpsSkinNode* CreateImageWrapper(htmldoc::TpsChunkElement* aElement, TpsDocumentNode* aOwner);
  TpsWindow* GetImageBlock();
  // Both sides at least 1.
  void GetDisplaySize(Integer& aWidth, Integer& aHeight);
  void SetDisplayWidth(Integer aWidth);
  void RebuildAltHint();
  TpsRect GetContentRect() const;

  // --- Floating-node interface ---
  // The element in aChunk becomes a placeholder for the wrapper; the node
  // keeps a copy of it (same id).
  void ReplaceElementWithPlaceholder(htmldoc::TpsDataChunk& aChunk);
  void SetSourceElement(htmldoc::TpsChunkElement* aElement) { SourceElement = aElement; }
  // Root coordinates for a float.
  void SetWrapperPosition(Integer aX, Integer aY);
  bool IsPositioned() const { return Positioned; }
  Byte GetAlignment() const { return Alignment; }
  void GetSize(Integer& aWidth, Integer& aHeight) const;
  TpsImageNode* GetImageNode() { return this; }
  TpsWindow* Wrapper() const { return Parent; }

  // --- Mouse editing ---
  // A copy of the custom tag right before the image, or nullptr.
  std::unique_ptr<htmldoc::TpsMarkupTag> GetCustomTagMarkup();
  // A copy of the link around the image and its element id, or nullptr
  // and 0.
  std::unique_ptr<htmldoc::TpsHtmlTag> GetLinkTag(uint32_t& aLinkId);
  // The 6 by 6 handle inside the content's bottom-right corner (bottom-left
  // for a right-aligned image), document coordinates; the image must be
  // selected and resizable.
  TpsRect GetResizeHandleRect();
  // The picture's rectangle for a handle at (aX, aY) in document
  // coordinates; -1 for a coordinate derives it from the other.
  TpsRect GetResizeRect(Integer aX, Integer aY);
  // Minimum and maximum size of a resize; the caller frees it.
  std::unique_ptr<vcl::TSizeConstraints> GetResizeConstraints();
  // Where the handle may go, document coordinates: the pointer is held
  // inside on every move and at the finish.
  TpsRect GetResizeReach();
  // Selected with the image object (nullptr without image editing).
  void SelectImage(TpsImageObjectPtr aImage);
  // The drop zone of a picture centred at aX over a block whose content
  // runs from aLeft to aRight: 0 float left, 1 float right, 2 in the flow,
  // 5 none.
  static Byte DropZoneInRange(Integer aX, Integer aLeft, Integer aRight,
                              htmldoc::TpsAllowedDragAlignments aAllowed);
  // The drop zone for the pointer at aPoint (document coordinates) and the
  // block under it (nullptr for zone 5).
  Byte GetDropZone(const TpsPoint& aPoint, TpsWindow*& aBlock);
  // The picture's content top-left for a drop at aPoint; false for zone 5.
  bool GetDropFeedbackPosition(const TpsPoint& aPoint, TpsPoint& aPosition);
  // The drop would leave the picture where it is.
  bool IsDropAtOrigin(const TpsPoint& aPoint);

  AnsiString Source;
  vcl::TGraphic* Graphic = nullptr;  // the cache's
  vcl::TGraphic* ResizedGraphic = nullptr;
  Integer ResizedWidth = -1;
  Integer ResizedHeight = -1;
  std::unique_ptr<vcl::TBitmap> SelectedBitmap;
  Byte Alignment = 5;
  bool Positioned = false;
  htmldoc::TpsChunkElement* SourceElement = nullptr;  // the document's, while laid out
  htmldoc::TpsChunkElement* ImageElement = nullptr;   // owned
  bool Downsized = false;
  bool Selected = false;
  bool ResizeAllowed = false;
  bool DragAllowed = false;
  bool Resizing = false;
  bool Dragging = false;
  htmldoc::TpsAllowedDragAlignments AllowedDragAlignments{htmldoc::adaLeft, htmldoc::adaCenter, htmldoc::adaRight};
  TpsImageObjectPtr Image;
  vcl::TCursor HoverCursor = vcl::crDefault;
  bool DoubleClickPending = false;
  TpsPoint LastMousePos{0, 0};
  TpsPoint DragPoint{0, 0};
  bool MouseDownOnImage = false;
  TpsPoint DragOffset{0, 0};
  TpsPoint MouseDownPoint{0, 0};
  bool DragEnded = false;
  bool DragCancelled = false;
  bool Hovering = false;
  bool OverResizeHandle = false;
  TpsPoint ResizePoint{0, 0};
  // The block that shows the drop bar, or nullptr.
  TpsWindow* DropTarget = nullptr;

 protected:
  ~TpsImageNode() override;
  void BeforeDestruction() override;

 private:
  htmldoc::TpsHtmlTag* Tag() const;
  IpsImageEditing* Editing() const { return Editor ? Editor->ImageEditing() : nullptr; }
  TpsPoint ClientPoint(const TpsPoint& aDocumentPoint);
  void MouseDown(TpsMessage& aMessage, const TpsPoint& aPoint);
  void MouseUp(TpsMessage& aMessage, const TpsPoint& aPoint);
  void MouseMove(TpsMessage& aMessage, const TpsPoint& aPoint);
  void StartHover();
  void EndHover();
  void LeaveImageMode();
  void StartResize(const TpsPoint& aPoint);
  TpsPoint ClampToReach(const TpsPoint& aPoint);
  TpsRect ResizeRectForPoint(const TpsPoint& aPoint);
  void FinishResize();
  // The picture as a bitmap for the previews.
  vcl::TBitmap* PreviewBitmap();
  void StartDrag(const TpsPoint& aPoint);
  void DragTo(const TpsPoint& aPoint);
  // Ends the drag at once (the drop's relayout may free the node).
  void EndDrag(bool aCancelled);
  void SetDropTarget(TpsWindow* aTarget);
  void ShowDragFeedback();
  // The floated picture moved to the line under the drop point.
  void MoveFloatToPoint(const TpsPoint& aPoint);

  bool CacheCounted = false;
  std::unique_ptr<TpsImageResizingObject> FResizeFeedback;
  std::unique_ptr<vcl::TBitmap> FPreviewBitmap;
  std::unique_ptr<TpsMovableBitmap> FDragFeedback;
  std::unique_ptr<vcl::TBitmap> FDragBitmap;
  vcl::TCanvas* FDragDC = nullptr;  // the editor's, while dragging
};

}  // namespace htmlview
