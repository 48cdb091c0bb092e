// Pictures of the page as the application sees them (TpsImage) and the
// recycler that keeps one alive across a rebuild of the view.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/view/psImageCache.h"
#include "htmledit/view/psMessages.h"
#include "htmledit/view/psWindows.h"
#include "vcl/Pictures.h"

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

}  // namespace htmledit
