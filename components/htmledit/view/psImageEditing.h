#pragma once
// What an image node asks of the editor while the mouse edits a picture:
// the application's object for the image (taken from the editor's
// recycler while it is needed and handed back afterwards), the four
// image-selection operations, the image events and the options of
// resizing. The editor component implements it; a host without image
// editing answers nullptr and images are then only selected and painted.
#include <memory>

#include "htmledit/doc/psGlobals.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psViewTypes.h"
#include "vcl/Controls.h"

namespace htmldoc {
class TpsHtmlTag;
class TpsMarkupTag;
}  // namespace htmldoc

namespace htmlview {

class TImageResizing;
class TpsImageNode;

// The application's handle on one image; the editor's image class
// derives from it. The view only holds it and hands it back.
class TpsImageObject {
 public:
  virtual ~TpsImageObject() = default;
};
using TpsImageObjectPtr = std::unique_ptr<TpsImageObject>;

class IpsImageEditing {
 public:
  // --- The recycler ---
  // An object for the node, with copies of the custom tag and the link
  // around the image (either may be nullptr; the link's element id or 0).
  virtual TpsImageObjectPtr GetImage(TpsImageNode* aNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
                                     std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementId) = 0;
  // Parked or freed; aImage is empty afterwards.
  virtual void ReleaseImage(TpsImageObjectPtr& aImage) = 0;

  // --- Image selection ---
  // OnImageClicked at a client point; ioSelect starts true for the left
  // and the right button.
  virtual void HandleImageClick(TpsImageObject* aImage, const TpsMouseButtons* aButtons,
                                const TpsPoint& aClientPoint, bool& ioSelect) = 0;
  // Image mode: OnImageSelected may change the two flags; the editor
  // keeps aUnselectMessage and posts it when the image is unselected.
  virtual void HandleImageSelect(TpsImageObject* aImage, bool& ioResizable, bool& ioMovable,
                                 TpsMessagePtr aUnselectMessage) = 0;
  // The kept unselect message freed unsent (before a change rebuilds the
  // image's node).
  virtual void DiscardImageUnselectMessage() = 0;
  virtual void HandleImageUnselect(TpsImageObject* aImage) = 0;

  // --- Image events ---
  virtual void ImageMouseEnter(TpsImageObject* aImage, vcl::TCursor& ioCursor) {}
  virtual void ImageMouseLeave(TpsImageObject* aImage) {}
  virtual void ImageDoubleClicked(TpsImageObject* aImage, const TpsPoint& aClientPoint) {}
  // ioConfirm starts true.
  virtual void ImageConfirmResize(TpsImageObject* aImage, Integer aWidth, Integer aHeight, bool& ioConfirm) {}
  virtual void ImageResizingSizeChanged(TpsImageObject* aImage, Integer aWidth, Integer aHeight) {}
  // ioAlignments starts with all three; an empty set counts as all three.
  virtual void ImageStartDragging(TpsImageObject* aImage, htmldoc::TpsAllowedDragAlignments& ioAlignments) {}
  // The editor's image popup menu at a document point.
  virtual void PopupImageMenu(const TpsPoint& aDocumentPoint) {}

  // --- Options and editor state ---
  // The editor's ImageResizing group; nullptr reads as a fresh editor's.
  virtual TImageResizing* ImageResizingOptions() { return nullptr; }
  // A flag of the editor's SuppressedUpdates (0 while an image is dragged).
  virtual void SetSuppressedUpdate(Integer aFlag, bool aValue) {}
  // The editor scrolls the document rectangle into view.
  virtual void ScrollIntoView(const TpsRect& aRect) {}

 protected:
  ~IpsImageEditing() = default;
};

}  // namespace htmlview
