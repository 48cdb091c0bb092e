// The text selection's bookkeeping: the anchor, the range worked out from
// the anchor and the caret, the order of two positions in the document.
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psTextSelection.h"

#include <algorithm>
#include <vector>

#include "htmledit/view/psBlockNode.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psImageNode.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psWindows.h"

namespace htmledit {

using htmlview::TpsMessage;
using htmlview::TpsSelectionRange;
using htmlview::TpsWindow;

namespace {

// One walk over the view in document order: the block tags a block keeps
// before and after its content, the lines' elements, the blocks inside.
// The root's own tags (html, head, body) are never marked. An image in the
// flow is marked through its placeholder, and its node is told so it
// paints itself tinted; a floated image is reached the same way, through
// the placeholder its line keeps.
class TpsMarkWalk {
 public:
  TpsMarkWalk(const TpsSelectionRange& aCover, const TpsSelectionRange& aRange, htmlview::TpsWindowManager* aManager)
      : FCover(aCover),
        FRange(aRange),
        FWholeDocument(!htmlview::IsSelectionRangeValid(aCover)),
        FHasRange(htmlview::IsSelectionRangeValid(aRange)),
        FManager(aManager),
        FCoverStart(htmlview::RangeStartNode(aCover)),
        FCoverEnd(htmlview::RangeEndNode(aCover)),
        FRangeStart(htmlview::RangeStartNode(aRange)),
        FRangeEnd(htmlview::RangeEndNode(aRange)) {
    FInCover = FWholeDocument;
  }

  void Run(TpsWindow* aRoot) { VisitChildren(aRoot); }

 private:
  // False once the walk is past the covering range's end.
  bool Visit(TpsWindow* aWindow) {
    if (auto* line = dynamic_cast<htmlview::TpsTextNode*>(aWindow)) return VisitLine(line);
    auto* block = dynamic_cast<htmlview::TpsBlockNode*>(aWindow);
    if (!block) return true;
    if (!VisitList(block->LeadingPart.get(), block)) return false;
    if (!VisitChildren(block)) return false;
    return VisitList(block->TrailingPart.get(), block);
  }

  bool VisitChildren(TpsWindow* aWindow) {
    for (TpsWindow* child : aWindow->ChildList()) {
      if (child->WindowFlags.GetFlag(htmlview::wfFloating)) continue;
      if (!Visit(child)) return false;
    }
    return true;
  }

  bool VisitLine(htmlview::TpsTextNode* aLine) {
    bool changed = false;
    const bool more = VisitList(aLine->GetLineChunk(), aLine, &changed);
    if (changed && FManager) FManager->InvalidateWindow(aLine, false);
    return more;
  }

  // aNode: the line, or the block whose own tags the list holds (a half
  // that names a block's tag carries the block).
  bool VisitList(htmldoc::TpsDataChunk* aList, htmlview::TpsDocumentNode* aNode, bool* aChanged = nullptr) {
    if (!aList) return true;
    for (htmldoc::TpsChunkElement* e = aList->First(); e; e = e->Next) {
      const uint32_t id = e->Id;
      const bool coverStart = aNode == FCoverStart && id == FCover.StartElementID;
      const bool coverEnd = aNode == FCoverEnd && id == FCover.EndElementID;
      if (coverStart) FInCover = true;
      if (FHasRange && aNode == FRangeStart && id == FRange.StartElementID) FInRange = true;
      if (FInCover) Set(e, FInRange, aChanged);
      if (FHasRange && aNode == FRangeEnd && id == FRange.EndElementID) FInRange = false;
      if (coverEnd && !FWholeDocument) return false;
    }
    return true;
  }

  void Set(htmldoc::TpsChunkElement* aElement, bool aSelected, bool* aChanged) {
    if (aElement->Kind == htmldoc::ceCursor || aElement->Selected == aSelected) return;
    aElement->Selected = aSelected;
    if (aChanged) *aChanged = true;
    if (aElement->Kind != htmldoc::ceNode || !aElement->Node) return;
    auto* skin = dynamic_cast<htmlview::TpsSkinNode*>(static_cast<TpsWindow*>(aElement->Node));
    auto* image = skin ? dynamic_cast<htmlview::TpsImageNode*>(skin->GetImageNode()) : nullptr;
    if (!image || !image->ImageElement) return;
    image->ImageElement->Selected = aSelected;
    if (FManager) FManager->InvalidateWindow(image, false);
  }

  TpsSelectionRange FCover;
  TpsSelectionRange FRange;
  bool FWholeDocument;
  bool FHasRange;
  htmlview::TpsWindowManager* FManager;
  htmlview::TpsDocumentNode* FCoverStart;
  htmlview::TpsDocumentNode* FCoverEnd;
  htmlview::TpsDocumentNode* FRangeStart;
  htmlview::TpsDocumentNode* FRangeEnd;
  bool FInCover = false;
  bool FInRange = false;
};

// The text lines of the view in document order (floated windows hold
// none).
void CollectLines(TpsWindow* aWindow, std::vector<htmlview::TpsTextNode*>& aLines) {
  for (TpsWindow* child : aWindow->ChildList()) {
    if (child->WindowFlags.GetFlag(htmlview::wfFloating)) continue;
    if (auto* line = dynamic_cast<htmlview::TpsTextNode*>(child)) {
      aLines.push_back(line);
      continue;
    }
    CollectLines(child, aLines);
  }
}

}  // namespace

void TpsTextSelection::Mark(const TpsSelectionRange& aCover, const TpsSelectionRange& aRange) {
  TpsWindow* root = FEditor->RootWindow();
  if (!root) return;
  TpsMarkWalk(aCover, aRange, FEditor->WindowManager()).Run(root);
}

bool TpsTextSelection::IsPositionValid(const TpsSelectionRange& aPosition) {
  return (aPosition.StartNode && aPosition.StartElementID != 0) || (aPosition.EndNode && aPosition.EndElementID != 0);
}

void TpsTextSelection::SetAnchor(const TpsSelectionRange& aPosition) {
  if (FActive) Clear(true);
  if (!IsPositionValid(aPosition)) return;
  FSelecting = true;
  FExtendSuspended = false;
  FAnchor = aPosition;
}

void TpsTextSelection::ClearAnchor() {
  RTL_ASSERT_MSG(!FActive, "Assertion failure");
  FSelecting = false;
  FExtendSuspended = false;
  htmlview::ClearSelectionRange(FAnchor);
}

bool TpsTextSelection::IsEarlier(TpsWindow* aNodeA, uint32_t aIdA, TpsWindow* aNodeB, uint32_t aIdB) {
  if (aNodeA == aNodeB) {
    auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(aNodeA);
    return node && node->FindElement(aIdA, aIdB) == aIdA;
  }
  TpsWindow* childA = nullptr;
  TpsWindow* childB = nullptr;
  TpsWindow* common = TpsWindow::FindCommonParent(aNodeA, aNodeB, childA, childB);
  if (!common) return false;
  if (!childA) {
    // A's node holds B: A's element against the child on the way to B.
    auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(aNodeA);
    auto* child = dynamic_cast<htmlview::TpsDocumentNode*>(childB);
    if (!node || !child) return true;
    const uint32_t childFirst = child->GetFirstElementId();
    return node->FindElement(aIdA, childFirst) == aIdA;
  }
  if (!childB) {
    auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(aNodeB);
    auto* child = dynamic_cast<htmlview::TpsDocumentNode*>(childA);
    if (!node || !child) return false;
    const uint32_t childFirst = child->GetFirstElementId();
    return node->FindElement(aIdB, childFirst) == childFirst;
  }
  return common->FirstOfTwoChildren(childA, childB) == childA;
}

namespace {

// The element next to (aNode, aId) in document order across text lines:
// the first of the following line with one (aForward), or the last of the
// preceding one. A caret at a line's edge has an empty half, and a range
// that starts or ends there starts or ends at that neighbour.
TpsSelectionRange NeighbourAcrossLines(TpsWindow* aRoot, htmlview::TpsTextNode* aNode, bool aForward) {
  std::vector<htmlview::TpsTextNode*> lines;
  CollectLines(aRoot, lines);
  auto at = std::find(lines.begin(), lines.end(), aNode);
  if (at == lines.end()) return {};
  if (aForward) {
    for (++at; at != lines.end(); ++at)
      if ((*at)->GetLineChunk() && !(*at)->GetLineChunk()->IsEmpty())
        return {*at, (*at)->GetLineChunk()->First()->Id, *at, (*at)->GetLineChunk()->First()->Id};
    return {};
  }
  while (at != lines.begin()) {
    --at;
    if ((*at)->GetLineChunk() && !(*at)->GetLineChunk()->IsEmpty())
      return {*at, (*at)->GetLineChunk()->Last()->Id, *at, (*at)->GetLineChunk()->Last()->Id};
  }
  return {};
}

}  // namespace

void TpsTextSelection::ExtendTo(const TpsSelectionRange& aPosition) {
  if (!IsPositionValid(aPosition)) return;
  FExtendSuspended = false;
  if (aPosition.StartElementID == FCurrent.StartElementID && aPosition.EndElementID == FCurrent.EndElementID) return;
  FCurrent = aPosition;
  TpsSelectionRange range;
  if (FAnchor.StartElementID != 0 && FAnchor.StartElementID == aPosition.EndElementID) {
    range = {FAnchor.StartNode, FAnchor.StartElementID, FAnchor.StartNode, FAnchor.StartElementID};
  } else if (FAnchor.EndElementID != 0 && FAnchor.EndElementID == aPosition.StartElementID) {
    range = {FAnchor.EndNode, FAnchor.EndElementID, FAnchor.EndNode, FAnchor.EndElementID};
  } else {
    const bool anchorSecond = FAnchor.EndElementID != 0;
    TpsWindow* anchorNode = anchorSecond ? FAnchor.EndNode : FAnchor.StartNode;
    const uint32_t anchorId = anchorSecond ? FAnchor.EndElementID : FAnchor.StartElementID;
    const bool newSecond = aPosition.EndElementID != 0;
    TpsWindow* newNode = newSecond ? aPosition.EndNode : aPosition.StartNode;
    const uint32_t newId = newSecond ? aPosition.EndElementID : aPosition.StartElementID;
    TpsSelectionRange first, last;
    if (IsEarlier(anchorNode, anchorId, newNode, newId)) {
      range = {FAnchor.EndNode, FAnchor.EndElementID, aPosition.StartNode, aPosition.StartElementID};
      first = FAnchor;
      last = aPosition;
    } else {
      range = {aPosition.EndNode, aPosition.EndElementID, FAnchor.StartNode, FAnchor.StartElementID};
      first = aPosition;
      last = FAnchor;
    }
    // A half left empty by a caret at a line's edge: the range starts on
    // the next line or ends on the previous one.
    TpsWindow* root = FEditor->RootWindow();
    if (root && (!range.StartNode || range.StartElementID == 0) && first.StartNode) {
      const TpsSelectionRange next = NeighbourAcrossLines(root, first.StartNode, true);
      range.StartNode = next.StartNode;
      range.StartElementID = next.StartElementID;
    }
    if (root && (!range.EndNode || range.EndElementID == 0) && last.EndNode) {
      const TpsSelectionRange previous = NeighbourAcrossLines(root, last.EndNode, false);
      range.EndNode = previous.EndNode;
      range.EndElementID = previous.EndElementID;
    }
    // Nothing lies between the two carets (a line break crossed, no more).
    if (!IsSelectionRangeValid(range) ||
        (range.StartElementID != range.EndElementID &&
         IsEarlier(range.EndNode, range.EndElementID, range.StartNode, range.StartElementID))) {
      if (FActive) Mark({}, {});
      ClearSelectionRange(FRange);
      FActive = false;
      return;
    }
  }
  SetRange(range);
}

void TpsTextSelection::SetRange(const TpsSelectionRange& aRange) {
  // Only what can change is walked: the new range, and of the old one what
  // lies outside it.
  TpsSelectionRange cover = aRange;
  const auto textHalves = [](const TpsSelectionRange& r) {
    return r.StartNode && r.EndNode && !r.StartBlock && !r.EndBlock;
  };
  if (!textHalves(aRange) || (FActive && !textHalves(FRange))) {
    // A block's own tag at an end: the whole page is walked.
    ClearSelectionRange(cover);
  } else if (FActive && IsSelectionRangeValid(FRange) && IsSelectionRangeValid(aRange)) {
    if (IsEarlier(FRange.StartNode, FRange.StartElementID, cover.StartNode, cover.StartElementID)) {
      cover.StartNode = FRange.StartNode;
      cover.StartElementID = FRange.StartElementID;
    }
    if (IsEarlier(cover.EndNode, cover.EndElementID, FRange.EndNode, FRange.EndElementID)) {
      cover.EndNode = FRange.EndNode;
      cover.EndElementID = FRange.EndElementID;
    }
  } else if (FActive) {
    ClearSelectionRange(cover);
  }
  Mark(cover, aRange);
  FRange = aRange;
  FActive = true;
}

void TpsTextSelection::SelectRangeByIDs(uint32_t aStartID, uint32_t aEndID) {
  RTL_ASSERT_MSG(aStartID != 0 && aEndID != 0, "Assertion failure");
  htmlview::TpsWindowManager* manager = FEditor->WindowManager();
  if (!manager || !FEditor->RootWindow()) return;
  const auto owner = [manager](uint32_t aId) {
    TpsSelectionRange found;
    htmlview::TpsMessage ask(htmlview::mrCommand, htmlview::psmQueryElementOwner, nullptr);
    ask.AutoFree = false;
    ask.ElementId = aId;
    ask.Data = &found;
    manager->BroadcastMessage(ask);
    return found;
  };
  const TpsSelectionRange start = owner(aStartID);
  const TpsSelectionRange end = owner(aEndID);
  // An id no text line holds (a character of the head's title, say)
  // selects nothing.
  const TpsSelectionRange range{start.StartNode, start.StartElementID, end.StartNode, end.StartElementID};
  if (!IsSelectionRangeValid(range)) {
    Clear(true);
    return;
  }
  SetRange(range);
}

void TpsTextSelection::Clear(bool aUnmark) {
  if (FActive) {
    // The whole page: ends read back from the marks name lines, and the
    // tags of a block selected whole lie beyond them.
    if (aUnmark) Mark({}, {});
    ClearSelectionRange(FRange);
    ClearSelectionRange(FAnchor);
    ClearSelectionRange(FCurrent);
    FActive = false;
  }
  FSelecting = false;
}

void TpsTextSelection::UpdateFromMarks(bool aForce) {
  if (aForce || FActive) {
    ClearSelectionRange(FRange);
    if (TpsWindow* root = FEditor->RootWindow()) {
      std::vector<htmlview::TpsTextNode*> lines;
      CollectLines(root, lines);
      for (htmlview::TpsTextNode* line : lines)
        if (htmldoc::TpsChunkElement* e = line->GetLineChunk() ? line->GetLineChunk()->GetFirstSelected(false) : nullptr) {
          FRange.StartNode = line;
          FRange.StartElementID = e->Id;
          break;
        }
      for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (htmldoc::TpsChunkElement* e = (*it)->GetLineChunk() ? (*it)->GetLineChunk()->GetLastSelected(false) : nullptr) {
          FRange.EndNode = *it;
          FRange.EndElementID = e->Id;
          break;
        }
    }
    FActive = FRange.StartNode && FRange.EndNode;
  }
  ClearSelectionRange(FAnchor);
  ClearSelectionRange(FCurrent);
  FSelecting = false;
  FExtendSuspended = false;
}

void TpsTextSelection::GetTopNodes(TpsWindow*& aFirst, TpsWindow*& aLast) {
  RTL_ASSERT_MSG(FActive, "Assertion failure");
  TpsWindow* root = FEditor->RootWindow();
  const auto top = [root](TpsWindow* aNode) {
    while (aNode && aNode->GetParent() && aNode->GetParent() != root) aNode = aNode->GetParent();
    return aNode;
  };
  aFirst = top(htmlview::RangeStartNode(FRange));
  aLast = top(htmlview::RangeEndNode(FRange));
}

bool TpsTextSelection::LiesWithin(TpsWindow* aWindow) {
  RTL_ASSERT_MSG(aWindow && FActive, "Assertion failure");
  const auto within = [aWindow](TpsWindow* aNode) { return aNode && (aNode == aWindow || aWindow->IsAncestorOf(aNode)); };
  return within(htmlview::RangeStartNode(FRange)) && within(htmlview::RangeEndNode(FRange));
}

void TpsTextSelection::SelectAll() {
  TpsWindow* root = FEditor->RootWindow();
  RTL_ASSERT_MSG(root, "Assertion failure");
  std::vector<htmlview::TpsTextNode*> lines;
  CollectLines(root, lines);
  TpsSelectionRange all;
  for (htmlview::TpsTextNode* line : lines) {
    htmldoc::TpsDataChunk* list = line->GetLineChunk();
    if (!list || list->IsEmpty()) continue;
    if (!all.StartNode) {
      all.StartNode = line;
      all.StartElementID = list->First()->Id;
    }
    all.EndNode = line;
    all.EndElementID = list->Last()->Id;
  }
  Mark({}, all);
  FRange = all;
  FActive = IsSelectionRangeValid(all);
  FSelecting = false;
  ClearSelectionRange(FAnchor);
  ClearSelectionRange(FCurrent);
}

void TpsTextSelection::Reset() {
  Mark({}, {});
  ClearSelectionRange(FRange);
  ClearSelectionRange(FAnchor);
  ClearSelectionRange(FCurrent);
  FActive = false;
  FSelecting = false;
  FExtendSuspended = false;
}

// --- The editor's selection operations ---

void TpsHTMLEditBase::SelectWordAtCursor() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow() || !FWindowManager->FocusedNode()) return;
  FWindowManager->PostMessage(
      TpsMessage::Create(htmlview::mrCommand, htmlview::psmSelectWord, FWindowManager->FocusedNode()));
  ProcessMessages();
  FWindowManager->PaintInvalidatedWindows();
}

void TpsHTMLEditBase::SetSelectionRange(const TpsSelectionRange& aRange) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow()) return;
  TextSelection();
  FSelection->SetRange(aRange);
  FWindowManager->PaintInvalidatedWindows();
}

// Each goes to the line holding that end of the selection; a caret still
// standing in another line is taken out of it first, so the page keeps one.
void TpsHTMLEditBase::MoveCursorToSelection(bool aEnd) {
  if (!RootWindow() || !FSelection || !FSelection->Active()) return;
  TpsWindow* target = aEnd ? static_cast<TpsWindow*>(FSelection->Range().EndNode)
                           : static_cast<TpsWindow*>(FSelection->Range().StartNode);
  if (!target) return;
  TpsWindow* focused = FWindowManager->FocusedNode();
  if (focused && focused != target)
    FWindowManager->PostMessage(TpsMessage::Create(htmlview::mrCommand, htmlview::psmRemoveCursor, focused));
  FWindowManager->PostMessage(TpsMessage::Create(
      htmlview::mrCommand, aEnd ? htmlview::psmCursorToSelectionEnd : htmlview::psmCursorToSelectionStart, target));
  ProcessMessages();
}

void TpsHTMLEditBase::MoveCursorToSelectionStart() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  MoveCursorToSelection(false);
}

void TpsHTMLEditBase::MoveCursorToSelectionEnd() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  MoveCursorToSelection(true);
}

void TpsHTMLEditBase::MoveCursorToDocumentStart() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow() || IsImageSelected()) return;
  FWindowManager->PostMessage(TpsMessage::Create(htmlview::mrFocused, htmlview::psmKeyDocumentStart));
  ProcessMessages();
}

void TpsHTMLEditBase::ScrollSelectionIntoView() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FSelection && FSelection->Active() && FSelection->GetStartNode()) ScrollNodeToCentre(FSelection->GetStartNode());
}

namespace {

// The rectangle over the selected part of one line (line coordinates): its
// selected items, over the vertical extent of its text; a selected blank
// after the last item reaches one plain blank further, within the line.
bool LineSelectionRect(htmlview::TpsTextNode* aLine, Integer aBlankWidth, TpsRect& aRect) {
  const htmlview::TpsLineObjects& items = aLine->Items();
  Integer textTop = 0, textBottom = -1;
  items.GetVerticalExtent(textTop, textBottom);
  bool any = false;
  Integer left = 0, right = 0, top = 0, bottom = 0;
  const htmldoc::TpsChunkElement* lastElement = nullptr;
  Integer lastRight = 0;
  for (Integer i = 0;; ++i) {
    if (i >= items.Count()) break;
    const htmlview::TpsLineItem* item = &items.GetItem(i);
    bool selected = false;
    if (item->Kind == htmlview::loText) {
      selected = item->Element && item->Element->Selected;
    } else if (item->Node) {
      auto* image = dynamic_cast<htmlview::TpsImageNode*>(item->Node->GetImageNode());
      selected = image && image->ImageElement && image->ImageElement->Selected;
    }
    if (!selected) continue;
    const bool text = item->Kind == htmlview::loText && textBottom >= textTop;
    const Integer itemTop = text ? textTop : item->Y;
    const Integer itemBottom = text ? textBottom : item->Y + item->Height - 1;
    if (!any) {
      left = item->X;
      top = itemTop;
      right = item->X + item->Width - 1;
      bottom = itemBottom;
      any = true;
    } else {
      left = std::min(left, item->X);
      right = std::max(right, item->X + item->Width - 1);
      top = std::min(top, itemTop);
      bottom = std::max(bottom, itemBottom);
    }
    lastElement = item->Kind == htmlview::loText ? item->Element : nullptr;
    lastRight = item->X + item->Width - 1;
  }
  if (!any) return false;
  // A selected blank after the line's last character.
  const htmlview::TpsLineItem* lastItem = items.Count() > 0 ? &items.GetItem(items.Count() - 1) : nullptr;
  if (lastElement && lastItem && lastItem->Element == lastElement && lastElement->Next &&
      htmldoc::TpsDataChunk::IsSpaceOrTab(lastElement->Next) && lastElement->Next->Selected)
    right = std::max(right, std::min(lastRight + aBlankWidth, aLine->Width - 1));
  aRect = {left, top, right, bottom};
  return true;
}

}  // namespace

void TpsHTMLEditBase::GetSelectionRect(TpsRect& aRect) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  aRect = {-1, -1, -1, -1};
  if (!FSelection || !FSelection->Active() || !FSelection->GetStartNode()) return;
  htmlview::TpsTextNode* line = FSelection->GetStartNode();
  TpsRect local;
  Integer blank = 4;
  if (htmlview::TpsAbstractCanvas* canvas = ScreenCanvas()) {
    canvas->BeginPaint(GetDC());
    blank = std::max<Integer>(1, canvas->GetTextExtent(" ").cx);
    canvas->EndPaint();
  }
  if (!LineSelectionRect(line, blank, local)) return;
  const TpsPoint origin = ScrollOrigin();
  const Integer x = line->GetAbsoluteLeft() - origin.X;
  const Integer y = line->GetAbsoluteTop() - origin.Y;
  aRect = {local.Left + x, local.Top + y, local.Right + x, local.Bottom + y};
}

void TpsHTMLEditBase::GetSelectedText(AnsiString& aText) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  aText.clear();
  if (!RootWindow()) return;
  TpsMessage m(htmlview::mrCommand, htmlview::psmGetSelectedText, nullptr);
  m.AutoFree = false;
  RootWindow()->Broadcast(m, false);
  aText = rtl::WideToUtf8(m.WideText);
}

bool TpsHTMLEditBase::FindText(const AnsiString& aText, bool aFromCursor, bool aMatchCase, bool aForward) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!RootWindow()) return false;
  ClearSelection();
  if (!aFromCursor) MoveCursorToDocumentStart();
  if (aText.empty() || !RootWindow()) return false;
  const std::unique_ptr<TpsDataChunk> copy = RootWindow()->GetChunk(true);
  uint32_t startId = 0, endId = 0;
  if (!copy->FindText(rtl::Utf8ToWide(aText), aMatchCase, aForward, startId, endId)) return false;
  TextSelection();
  FSelection->SelectRangeByIDs(startId, endId);
  if (!FSelection->Active()) return false;
  MoveCursorToSelection(aForward);
  ScrollSelectionIntoView();
  FWindowManager->PaintInvalidatedWindows();
  return true;
}

}  // namespace htmledit
