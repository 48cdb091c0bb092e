// Pictures of the page as the application sees them (TpsImage) and the
// recycler that keeps one alive across a rebuild of the view.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/view/psCaret.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Pictures.h"

#include <algorithm>

namespace htmledit {

using htmlview::TpsMessage;

TpsImage::TpsImage(htmlview::TpsImageNode* aImageNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
                   std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementID) {
  Bind(aImageNode, std::move(aCustomTag), std::move(aLinkTag), aLinkElementID);
  if (TpsHTMLEditBase* editor = GetEditor())
    OnDestroy = [editor](TpsSelectableObject* aSender) { editor->ImageDestroyed(aSender); };
}

void TpsImage::Bind(htmlview::TpsImageNode* aImageNode, std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
                    std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag, uint32_t aLinkElementID) {
  RTL_ASSERT_MSG(aImageNode && aImageNode->ImageElement, "Assertion failure");
  Silent = false;
  ImageNode = aImageNode;
  ImageTag = aImageNode->ImageElement->Tag;
  CustomTag = std::move(aCustomTag);
  LinkTag = std::move(aLinkTag);
  LinkElementID = aLinkElementID;
  if (CustomTag) CustomTag->OnChange = [this](htmldoc::TObjectPtr) { TagChanged(CustomTag.get()); };
  if (LinkTag) LinkTag->OnChange = [this](htmldoc::TObjectPtr) { TagChanged(LinkTag.get()); };
}

TpsHTMLEditBase* TpsImage::GetEditor() const {
  return ImageNode ? dynamic_cast<TpsHTMLEditBase*>(ImageNode->GetEditor()) : nullptr;
}

uint32_t TpsImage::GetElementID() const {
  RTL_ASSERT_MSG(ImageNode && ImageNode->ImageElement, "Assertion failure");
  return ImageNode->ImageElement->Id;
}

void TpsImage::SetSize(Integer aWidth, Integer aHeight) {
  TpsHTMLEditBase* editor = GetEditor();
  if (!editor) return;
  htmldoc::TpsDocumentLockGuard lock(editor->DocumentLock());
  if (editor->GetReadOnly()) return;
  if (aWidth < 0) ImageTag->RemoveAttribute("width"); else ImageTag->SetWidth(aWidth);
  if (aHeight < 0) ImageTag->RemoveAttribute("height"); else ImageTag->SetHeight(aHeight);
  const uint32_t id = GetElementID();
  editor->NotifyDocumentChanged();
  editor->RequestRelayout(id);
  editor->ProcessPendingUpdates();
}

AnsiString TpsImage::GetSrc() const { return ImageTag->GetAttribute("src"); }
AnsiString TpsImage::GetAlt() const { return ImageTag->GetAttribute("alt"); }

void TpsImage::SetSrc(const AnsiString& aSrc) {
  TpsHTMLEditBase* editor = GetEditor();
  if (!editor || aSrc == GetSrc()) return;
  htmldoc::TpsDocumentLockGuard lock(editor->DocumentLock());
  if (editor->IsImageSelected()) editor->SetSelectedImageSrc(aSrc);
}

// A read-only page takes no alternative text, as it takes no size or
// alignment.
void TpsImage::SetAlt(const AnsiString& aAlt) {
  TpsHTMLEditBase* editor = GetEditor();
  if (!editor || aAlt == GetAlt()) return;
  htmldoc::TpsDocumentLockGuard lock(editor->DocumentLock());
  if (editor->GetReadOnly()) return;
  ImageTag->SetAttribute("alt", aAlt);
  ImageNode->RebuildAltHint();
  editor->NotifyDocumentChanged();
  editor->ProcessPendingUpdates();
}

void TpsImage::SetAlignment(Byte aAlignment) {
  TpsHTMLEditBase* editor = GetEditor();
  if (!editor) return;
  htmldoc::TpsDocumentLockGuard lock(editor->DocumentLock());
  if (editor->GetReadOnly()) return;
  if (aAlignment != htmldoc::GetTagAlignment(*ImageTag, *editor->StyleSheet())) {
    htmldoc::SetTagAlignment(*ImageTag, aAlignment, *editor->StyleSheet(),
                             [editor](htmldoc::TpsHtmlTag*, const AnsiString& aText, Integer& aId) {
                               aId = editor->GetInternalStyleID(aText);
                             });
    editor->RequestRelayout(GetElementID());
    editor->NotifyDocumentChanged();
  }
  editor->ProcessPendingUpdates();
}

// Nothing while read-only: the tags around a picture of a read-only page
// stay as they are.
void TpsImage::TagChanged(htmldoc::TpsMarkupTag* aTag) {
  RTL_ASSERT_MSG(aTag && (aTag == CustomTag.get() || aTag == LinkTag.get()), "Assertion failure");
  TpsHTMLEditBase* editor = GetEditor();
  if (!editor) return;
  htmldoc::TpsDocumentLockGuard lock(editor->DocumentLock());
  if (editor->GetReadOnly()) return;
  htmlview::TpsWindow* owner = ImageNode->GetParent() ? ImageNode->GetParent()->GetParent() : nullptr;
  if (aTag == CustomTag.get()) {
    TpsMessage m(htmlview::mrCommand, htmlview::psmSetCustomTagSource, nullptr);
    m.AutoFree = false;
    m.Text2 = aTag->GetText();
    m.Text = aTag->GetContent();
    m.ElementId = GetElementID();
    if (owner) owner->Broadcast(m, false);
  } else {
    TpsMessage m(htmlview::mrCommand, htmlview::psmReplaceTagFromText, nullptr);
    m.AutoFree = false;
    m.ElementId = LinkElementID;
    m.Text = aTag->GetText();
    if (owner && owner->GetParent()) owner->GetParent()->Broadcast(m, false);
  }
  editor->NotifyDocumentChanged();
  editor->ProcessPendingUpdates();
}

void TpsImageRecycler::Deactivate() {
  if (!FActive) return;
  FParked.reset();
  FActive = false;
}

std::unique_ptr<TpsImage> TpsImageRecycler::GetImage(htmlview::TpsImageNode* aImageNode,
                                                     std::unique_ptr<htmldoc::TpsMarkupTag> aCustomTag,
                                                     std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag,
                                                     uint32_t aLinkElementID) {
  if (FActive && FParked) {
    FParked->Bind(aImageNode, std::move(aCustomTag), std::move(aLinkTag), aLinkElementID);
    return std::move(FParked);
  }
  return std::make_unique<TpsImage>(aImageNode, std::move(aCustomTag), std::move(aLinkTag), aLinkElementID);
}

void TpsImageRecycler::ReleaseImage(std::unique_ptr<TpsImage>& aImage) {
  if (FActive) {
    RTL_ASSERT_MSG(!FParked, "Assertion failure");
    FParked = std::move(aImage);
  }
  aImage.reset();
}

// --- The editor's image operations ---

bool TpsHTMLEditBase::IsImageSelected() { return FSelectedImage != nullptr; }

void TpsHTMLEditBase::ImageDestroyed(TpsSelectableObject* aObject) {
  if (aObject && aObject == FSelectedImage) FSelectedImage = nullptr;
}

void TpsHTMLEditBase::SelectImageByID(uint32_t aElementID) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow()) return;
  auto m = TpsMessage::CreateToRoot(htmlview::mrCommand, htmlview::psmRefreshImage, true);
  m->ElementId = aElementID;
  FWindowManager->PostMessage(std::move(m));
  ProcessMessages();
}

void TpsHTMLEditBase::InsertImage(const AnsiString& aSrc, Byte aAlignment, const AnsiString& aClass,
                                  const AnsiString& aStyle, std::unique_ptr<TpsMarkupTag> aCustomTag, Integer aWidth,
                                  Integer aHeight, bool aSelect, const AnsiString& aAlt) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !FDocument || !RootWindow()) return;
  SaveUndoState();
  FCommandSnapshotCount = FUndoList.Count();
  ClearSelection();
  auto list = std::make_unique<TpsDataChunk>();
  std::unique_ptr<htmldoc::TpsHtmlTag> customOpen, customClose;
  if (aCustomTag) {
    htmldoc::CreateCustomTagPair(aCustomTag->GetText(), FDocumentEvents, customOpen, customClose);
    list->AddTag(std::move(customOpen));
  }
  auto img = std::make_unique<htmldoc::TpsHtmlTag>(FDocumentEvents, htmldoc::TAG_IMG, htmldoc::ttEmpty);
  img->SetAttribute("src", aSrc);
  img->SetAlign(aAlignment);
  if (aWidth > 0) img->SetWidth(aWidth);
  if (aHeight > 0) img->SetHeight(aHeight);
  if (!aClass.empty()) img->SetAttribute("class", aClass);
  if (!aStyle.empty()) img->SetStyleAttributeId(GetInternalStyleID(aStyle));
  img->SetAttribute("alt", aAlt);
  if (FImageCache->AddImage(aSrc, nullptr, img.get()) >= 0) LoadImageBySrc(aSrc);
  list->AddTag(std::move(img));
  const uint32_t imageId = list->Last()->Id;
  if (customClose) list->AddTag(std::move(customClose));
  RunCommand(
      nullptr, [&] { PostCommand(htmlview::psmInsertChunkAtCursor).Chunk = std::move(list); },
      [&] {
        if (!aSelect) return;
        auto m = TpsMessage::CreateToRoot(htmlview::mrCommand, htmlview::psmRefreshImage, true);
        m->ElementId = imageId;
        FWindowManager->PostMessage(std::move(m));
      });
  FCommandSnapshotCount = -1;
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::SetSelectedImageSrc(const AnsiString& aSrc) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !FSelectedImage) return;
  SaveUndoState();
  const uint32_t id = FSelectedImage->GetElementID();
  if (!FImageCache->Contains(aSrc)) {
    FImageCache->AddImage(aSrc, nullptr, FSelectedImage->ImageTag);
    LoadImageBySrc(aSrc);
  }
  FSelectedImage->ImageTag->SetAttribute("src", aSrc);
  Relayout(false, true);
  SelectImageByID(id);
}

// --- Image selection and events ---

namespace {

TpsImage* AsImage(htmlview::TpsImageObject* aObject) { return dynamic_cast<TpsImage*>(aObject); }

// Image events may change the page, and a change rebuilds the image nodes
// and with them the object the handler holds: while one runs, the
// recycler parks an object a node gives back, and the node made again
// takes it up.
class TpsImageEventScope {
 public:
  TpsImageEventScope(TpsImageRecycler& aRecycler, Integer& aDepth) : FRecycler(aRecycler), FDepth(aDepth) {
    if (FDepth++ == 0) FRecycler.Activate();
  }
  ~TpsImageEventScope() {
    if (--FDepth == 0) FRecycler.Deactivate();
  }
  TpsImageEventScope(const TpsImageEventScope&) = delete;
  TpsImageEventScope& operator=(const TpsImageEventScope&) = delete;

 private:
  TpsImageRecycler& FRecycler;
  Integer& FDepth;
};

vcl::TMouseButton ButtonOf(const htmlview::TpsMouseButtons* aButtons) {
  if (!aButtons) return vcl::mbLeft;
  if (aButtons->Left) return vcl::mbLeft;
  if (aButtons->Right) return vcl::mbRight;
  if (aButtons->Middle) return vcl::mbMiddle;
  return vcl::mbLeft;
}

}  // namespace

TpsImageRecycler& TpsHTMLEditBase::ImageRecycler() {
  if (!FImageRecycler) FImageRecycler = std::make_unique<TpsImageRecycler>();
  return *FImageRecycler;
}

htmlview::TpsImageObjectPtr TpsHTMLEditBase::GetImage(htmlview::TpsImageNode* aNode,
                                                      std::unique_ptr<TpsMarkupTag> aCustomTag,
                                                      std::unique_ptr<htmldoc::TpsHtmlTag> aLinkTag,
                                                      uint32_t aLinkElementId) {
  return ImageRecycler().GetImage(aNode, std::move(aCustomTag), std::move(aLinkTag), aLinkElementId);
}

void TpsHTMLEditBase::ReleaseImage(htmlview::TpsImageObjectPtr& aImage) {
  std::unique_ptr<TpsImage> image(AsImage(aImage.get()));
  if (image) {
    aImage.release();
    ImageRecycler().ReleaseImage(image);
  }
  aImage.reset();
}

void TpsHTMLEditBase::HandleImageClick(htmlview::TpsImageObject* aObject, const htmlview::TpsMouseButtons* aButtons,
                                       const TpsPoint& aClientPoint, bool& ioSelect) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageClicked(image, ButtonOf(aButtons), {aClientPoint.X, aClientPoint.Y}, ioSelect);
}

void TpsHTMLEditBase::HandleImageSelect(htmlview::TpsImageObject* aObject, bool& ioResizable, bool& ioMovable,
                                        htmlview::TpsMessagePtr aUnselectMessage) {
  TpsImage* image = AsImage(aObject);
  // Another image selected before: it is unselected first.
  if (FSelectedImage && FSelectedImage != image) HandleImageUnselect(FSelectedImage);
  SetEditMode(htmlview::emImage);
  if (image && !image->Silent) {
    FSelectedImage = image;
    TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
    DoImageSelected(image, ioResizable, ioMovable);
  }
  FImageUnselectMessage = std::move(aUnselectMessage);
}

void TpsHTMLEditBase::HandleImageUnselect(htmlview::TpsImageObject* aObject) {
  TpsImage* image = AsImage(aObject);
  if (!image) return;
  if (!image->Silent) {
    FSelectedImage = nullptr;
    TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
    DoImageUnselected();
  }
  if (htmlview::TpsMessagePtr unselect = std::move(FImageUnselectMessage)) {
    FWindowManager->PostMessage(std::move(unselect));
    ProcessMessages();
  }
}

void TpsHTMLEditBase::SetEditMode(Byte aMode) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FEditMode == htmlview::emImage && FSelectedImage) HandleImageUnselect(FSelectedImage);
  FEditMode = aMode;
  if (aMode == htmlview::emText) {
    if (FCaret && Focused() && !FPaintFailed) FCaret->SetVisible(true);
  } else if (aMode == htmlview::emImage) {
    if (FSelection) FSelection->Clear(true);
    if (FCaret) FCaret->SetVisible(false);
  }
}

void TpsHTMLEditBase::UnselectImage() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FEditMode == htmlview::emText) return;
  SetEditMode(htmlview::emText);
  UpdateCaretPosition();
}

void TpsHTMLEditBase::ImageMouseEnter(htmlview::TpsImageObject* aObject, vcl::TCursor& ioCursor) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageMouseEnter(image, ioCursor);
}

void TpsHTMLEditBase::ImageMouseLeave(htmlview::TpsImageObject* aObject) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageMouseLeave();
}

void TpsHTMLEditBase::ImageDoubleClicked(htmlview::TpsImageObject* aObject, const TpsPoint& aClientPoint) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageDoubleClicked(image, {aClientPoint.X, aClientPoint.Y});
}

void TpsHTMLEditBase::ImageConfirmResize(htmlview::TpsImageObject* aObject, Integer aWidth, Integer aHeight,
                                         bool& ioConfirm) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageConfirmResize(image, aWidth, aHeight, ioConfirm);
}

void TpsHTMLEditBase::ImageResizingSizeChanged(htmlview::TpsImageObject* aObject, Integer aWidth, Integer aHeight) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageResizingSizeChanged(image, aWidth, aHeight);
}

void TpsHTMLEditBase::ImageStartDragging(htmlview::TpsImageObject* aObject,
                                         htmldoc::TpsAllowedDragAlignments& ioAlignments) {
  TpsImage* image = AsImage(aObject);
  if (!image || image->Silent) return;
  TpsImageEventScope scope(ImageRecycler(), FImageEventDepth);
  DoImageStartDragging(image, ioAlignments);
}

void TpsHTMLEditBase::ScrollIntoView(const TpsRect& aRect) {
  const TpsRect view = GetViewRect();
  if (aRect.Bottom > view.Bottom && aRect.Top > view.Top) {
    ScrollTo(VertScrollBar().Position() + std::min(aRect.Bottom - view.Bottom, aRect.Top - view.Top));
  } else if (aRect.Top < view.Top) {
    ScrollTo(VertScrollBar().Position() - (view.Top - aRect.Top));
  }
}

void TpsHTMLEditBase::DoImageMouseEnter(TpsImage* aImage, vcl::TCursor& ioCursor) {
  if (OnImageMouseEnter) OnImageMouseEnter(this, aImage, ioCursor);
}
void TpsHTMLEditBase::DoImageMouseLeave() {
  if (OnImageMouseLeave) OnImageMouseLeave(this);
}
void TpsHTMLEditBase::DoImageClicked(TpsImage* aImage, vcl::TMouseButton aButton, const vcl::TPoint& aPoint,
                                     bool& ioSelect) {
  if (OnImageClicked) OnImageClicked(this, aImage, aButton, aPoint, ioSelect);
}
void TpsHTMLEditBase::DoImageDoubleClicked(TpsImage* aImage, const vcl::TPoint& aPoint) {
  if (OnImageDoubleClicked) OnImageDoubleClicked(this, aImage, aPoint);
}
void TpsHTMLEditBase::DoImageSelected(TpsImage* aImage, bool& ioResizable, bool& ioMovable) {
  if (OnImageSelected) OnImageSelected(this, aImage, ioResizable, ioMovable);
}
void TpsHTMLEditBase::DoImageUnselected() {
  if (OnImageUnselected) OnImageUnselected(this);
}
void TpsHTMLEditBase::DoImageConfirmResize(TpsImage* aImage, Integer aWidth, Integer aHeight, bool& ioConfirm) {
  if (OnImageConfirmResize) OnImageConfirmResize(this, aImage, aWidth, aHeight, ioConfirm);
}
void TpsHTMLEditBase::DoImageResizingSizeChanged(TpsImage* aImage, Integer aWidth, Integer aHeight) {
  if (OnImageResizingSizeChanged) OnImageResizingSizeChanged(this, aImage, aWidth, aHeight);
}
void TpsHTMLEditBase::DoImageStartDragging(TpsImage* aImage, htmldoc::TpsAllowedDragAlignments& ioAlignments) {
  if (OnImageStartDragging) OnImageStartDragging(this, aImage, ioAlignments);
}

// --- Deleting the selected image ---

void TpsHTMLEditBase::DeleteSelectedImage() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !FSelectedImage || !RootWindow()) return;
  SaveUndoState();
  FCommandSnapshotCount = FUndoList.Count();
  const uint32_t id = FSelectedImage->GetElementID();
  HandleImageUnselect(FSelectedImage);
  RunCommand(nullptr, [&] { PostCommand(htmlview::psmDeleteImage).ElementId = id; });
  FCommandSnapshotCount = -1;
  UnselectImage();
  ProcessPendingUpdates();
}

}  // namespace htmledit
