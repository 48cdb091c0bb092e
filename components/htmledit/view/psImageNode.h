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

#include "htmledit/doc/psTagStyles.h"
#include "htmledit/view/psDocumentNode.h"

namespace vcl {
class TBitmap;
class TGraphic;
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

 protected:
  ~TpsImageNode() override;
  void BeforeDestruction() override;

 private:
  htmldoc::TpsHtmlTag* Tag() const;
  bool CacheCounted = false;
};

}  // namespace htmlview
