// The link around the selected image: made from the host's opening tag or
// taken away, each one command, the image selected again afterwards.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psObjectSelection.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psWindows.h"

namespace htmledit {

using htmlview::TpsMessage;

void TpsHTMLEditBase::CreateImageLink(const AnsiString& aOpenTag) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !FSelectedImage || FSelectedImage->LinkTag) return;
  SaveUndoState();
  FCommandSnapshotCount = FUndoList.Count();
  const uint32_t id = FSelectedImage->GetElementID();
  DiscardImageUnselectMessage();
  std::unique_ptr<htmldoc::TpsHtmlTag> open;
  std::unique_ptr<htmldoc::TpsHtmlTag> close;
  htmldoc::CreateTagPair(FDocumentEvents, aOpenTag, open, close);
  try {
    RunCommand(
        nullptr,
        [&] {
          TpsMessage& mark = PostCommand(htmlview::psmMarkElementWithWrappers);
          mark.ElementId = id;
          mark.SetParam(1, 1);
          mark.SetParam(2, 2);
          TpsMessage& first = PostCommand(htmlview::psmInsertTagAtMarker);
          first.Tag = open.get();
          first.SetParam(1, 1);
          first.Result = true;
          first.InsertAfter = true;
          TpsMessage& second = PostCommand(htmlview::psmInsertTagAtMarker);
          second.Tag = close.get();
          second.SetParam(1, 2);
          second.Result = false;
          second.InsertAfter = true;
          // The two markers would stay in the page and stand in the way of
          // the next command that looks for marker 1.
          PostCommand(htmlview::psmRemoveMarker).SetParam(1, 1);
          PostCommand(htmlview::psmRemoveMarker).SetParam(1, 2);
        },
        [&] { PostCommand(htmlview::psmRefreshImage).ElementId = id; });
  } catch (...) {
    FCommandSnapshotCount = -1;
    throw;
  }
  FCommandSnapshotCount = -1;
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::DeleteImageLink() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || !FSelectedImage || !FSelectedImage->LinkTag) return;
  SaveUndoState();
  FCommandSnapshotCount = FUndoList.Count();
  const uint32_t id = FSelectedImage->GetElementID();
  DiscardImageUnselectMessage();
  try {
    RunCommand(
        nullptr,
        [&] {
          TpsMessage& marker = PostCommand(htmlview::psmInsertMarkerAtElement);
          marker.ElementId = id;
          marker.SetParam(1, 1);
          // After the element: inside the link whether the id is the
          // picture's or the link's own opening tag.
          marker.Result = true;
          TpsMessage& remove = PostCommand(htmlview::psmRemoveInlineTagsAtMarker);
          remove.SetParam(1, 1);
          remove.Result = true;
          remove.TagCode = htmldoc::TAG_A;
        },
        [&] { PostCommand(htmlview::psmRefreshImage).ElementId = id; });
  } catch (...) {
    FCommandSnapshotCount = -1;
    throw;
  }
  FCommandSnapshotCount = -1;
  ProcessPendingUpdates();
}

}  // namespace htmledit
