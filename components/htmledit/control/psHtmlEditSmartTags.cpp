// The editor's side of smart tags: the scheduling thread it runs and
// stops, the handlers it registers, the view's stand-ins the thread walks,
// the fragment at the caret and the clicks on marked text.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psHtmlEditSmartTagHost.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psSmartTagView.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psWindows.h"

namespace htmledit {

using htmlview::TpsMessage;
using htmlview::TpsWindow;

namespace {

// The focused text line's own list, nullptr when no line holds the caret.
htmldoc::TpsDataChunk* FocusedLineChunk(htmlview::TpsWindowManager* aManager) {
  if (!aManager) return nullptr;
  auto* line = dynamic_cast<htmlview::TpsTextNode*>(aManager->FocusedNode());
  return line ? line->GetLineChunk() : nullptr;
}

}  // namespace

// --- The editor as the threads see it ---

htmldoc::TpsDocumentAccess& TpsHtmlEditSmartTagHost::DocumentLock() { return FEditor.DocumentLock(); }

IpsSmartTagNode* TpsHtmlEditSmartTagHost::SmartTagRoot() { return FEditor.FSmartTagView->Root(); }

IpsSmartTagNode* TpsHtmlEditSmartTagHost::CaretBlock() {
  htmlview::TpsWindowManager* manager = FEditor.WindowManager();
  if (!manager || !manager->FocusedNode()) return nullptr;
  TpsMessage ask(htmlview::mrCommand, htmlview::psmQueryParentNode, nullptr);
  ask.AutoFree = false;
  manager->FocusedNode()->HandleMessage(ask);
  return ask.Result ? FEditor.FSmartTagView->NodeFor(ask.Answer) : nullptr;
}

void TpsHtmlEditSmartTagHost::MarksChanged() {
  if (FEditor.FRepaintEvent) FEditor.FRepaintEvent->SetEvent();
}

void TpsHtmlEditSmartTagHost::SetPainting(bool aOn) { FEditor.FSmartTagView->SetPainting(aOn); }

TpsSmartTagThread* TpsHtmlEditSmartTagHost::SmartTagThread() { return FEditor.FSmartTagThread.get(); }

bool TpsHtmlEditSmartTagHost::SelectSmartTagFragment() { return FEditor.SelectSmartTagFragment(); }

void TpsHtmlEditSmartTagHost::InsertTagAroundSelection(const AnsiString& aOpeningTag,
                                                      std::unique_ptr<htmldoc::TpsMarkupTag> aOuter) {
  htmldoc::TpsDocumentLockGuard lock(FEditor.DocumentLock());
  if (FEditor.GetReadOnly() || !FEditor.HasTextSelection() || !FEditor.RootWindow()) return;
  const AnsiString outer = aOuter ? aOuter->GetText() : AnsiString();
  FEditor.SaveUndoState();
  FEditor.RunCommand(nullptr, [&] {
    TpsMessage& wrap = FEditor.PostCommand(htmlview::psmWrapSelectionInCustomTag);
    wrap.Text = aOpeningTag;
    wrap.Text2 = outer;
  });
  FEditor.ProcessPendingUpdates();
}

void TpsHtmlEditSmartTagHost::ReplaceSmartTagText(const AnsiString& aText) { FEditor.ReplaceSmartTagText(aText); }

// --- The component's operations ---

IpsSmartTagEditor& TpsHTMLEditBase::SmartTagEditor() { return *FSmartTagHost; }

bool TpsHTMLEditBase::SmartTagsActive() { return SmartTags.Enabled && FSmartTagThread; }

Integer TpsHTMLEditBase::AddSmartTagHandler(TpsSmartTagHandler* aHandler) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  RTL_ASSERT_MSG(aHandler, "Assertion failure");
  aHandler->SetEditor(FSmartTagHost.get());
  if (!SmartTagsActive()) {
    delete aHandler;
    return -1;
  }
  return FSmartTagThread->AddHandler(aHandler);
}

void TpsHTMLEditBase::RestartSmartTagAnalysis() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (SmartTagsActive()) FSmartTagThread->RestartAll();
}

void TpsHTMLEditBase::SetSmartTagIdleHook(std::function<void()> aHook) {
  std::lock_guard<std::mutex> guard(FSmartTagIdleLock);
  FSmartTagIdle = std::move(aHook);
}

void TpsHTMLEditBase::StopSmartTagThread() {
  if (!FSmartTagThread) return;
  if (FSmartTagThread->Started() && !FSmartTagThread->Finished()) {
    FSmartTagThread->Stop();
    FSmartTagThread->WaitFor();
  }
  FSmartTagThread.reset();
}

bool TpsHTMLEditBase::GetSmartTagIdsAtCursor(Integer& aBefore, Integer& aAfter) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  aBefore = aAfter = 0;
  htmldoc::TpsDataChunk* chunk = FocusedLineChunk(FWindowManager.get());
  return chunk && chunk->GetSmartTagIdsAtCursor(aBefore, aAfter);
}

bool TpsHTMLEditBase::SelectSmartTagFragment() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!SmartTagsActive() || !FSelection) return false;
  TpsMessage askBlock(htmlview::mrCommand, htmlview::psmQueryParentNode, nullptr);
  askBlock.AutoFree = false;
  TpsWindow* focused = FWindowManager->FocusedNode();
  if (!focused) return false;
  focused->HandleMessage(askBlock);
  TpsWindow* block = askBlock.Result ? askBlock.Answer : nullptr;
  Integer before = 0, after = 0;
  if (!block || !GetSmartTagIdsAtCursor(before, after)) return false;
  const Integer id = after == 0 || (before != 0 && before == FSmartTagThread->LastClickedMarkId()) ? before : after;
  TpsSelectionRange range;
  TpsMessage find(htmlview::mrCommand, htmlview::psmFindSmartTag, nullptr);
  find.AutoFree = false;
  find.Value = id;
  find.Data = &range;
  for (TpsWindow* child : block->ChildList()) {
    child->HandleMessage(find);
    if (find.Option) break;
  }
  if (!htmlview::IsSelectionRangeValid(range)) return false;
  FSelection->SetRange(range);
  FWindowManager->PaintInvalidatedWindows();
  return true;
}

void TpsHTMLEditBase::ReplaceSmartTagText(const AnsiString& aText) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!SelectSmartTagFragment()) return;
  InsertText(aText, false);
  ProcessPendingUpdates();
}

void TpsHTMLEditBase::SmartTagClicked(const AnsiString& aText, const TpsRect& aRect, const TpsPoint& aPoint) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!SmartTagsActive()) return;
  // The click has put the caret inside the fragment, so the mark is the
  // one on either side of it; of two different marks there (fragments
  // that touch), the one whose text was clicked.
  htmldoc::TpsDataChunk* chunk = FocusedLineChunk(FWindowManager.get());
  if (!chunk) return;
  const htmldoc::TpsChunkElement* marked = nullptr;
  for (bool backward : {false, true}) {
    const htmldoc::TpsChunkElement* e = chunk->GetCharacterNextToCursor(backward, false);
    if (!e || !htmldoc::HasSmartTagMark(e->SmartTag)) continue;
    if (!marked) marked = e;
    if (chunk->GetSmartTagText(e->SmartTag.MarkId) == aText) {
      marked = e;
      break;
    }
  }
  if (!marked) return;
  auto* handler = static_cast<TpsSmartTagHandler*>(marked->SmartTag.Handler);
  if (!handler) return;
  const Integer markId = marked->SmartTag.MarkId;
  FSmartTagThread->SmartTagClicked(handler->Id(), markId, nullptr, aText,
                                   {aRect.Left, aRect.Top, aRect.Right, aRect.Bottom}, {aPoint.X, aPoint.Y});
}

}  // namespace htmledit
