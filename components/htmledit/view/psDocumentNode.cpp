#include "htmledit/view/psDocumentNode.h"

#include <cstdlib>

#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psTextNode.h"

namespace htmlview {

void ClearSelectionRange(TpsSelectionRange& r) { r = TpsSelectionRange{}; }

TpsDocumentNode* RangeStartNode(const TpsSelectionRange& r) {
  return r.StartNode ? static_cast<TpsDocumentNode*>(r.StartNode) : r.StartBlock;
}

TpsDocumentNode* RangeEndNode(const TpsSelectionRange& r) {
  return r.EndNode ? static_cast<TpsDocumentNode*>(r.EndNode) : r.EndBlock;
}

bool IsSelectionRangeValid(const TpsSelectionRange& r) {
  return RangeStartNode(r) && r.StartElementID != 0 && RangeEndNode(r) && r.EndElementID != 0;
}

// --- The node base ---

TpsDocumentNode::TpsDocumentNode(TpsWindow* aParent, IpsEditorHost* aEditor)
    : TpsWindow(aParent), Overlaps(std::make_unique<TpsOverlappingWindows>(this)), Editor(aEditor) {
  if (!Editor && aParent) {
    if (auto* root = dynamic_cast<TpsDocumentNode*>(aParent->GetRoot())) Editor = root->Editor;
  }
  StyleStack = std::make_unique<htmldoc::TpsStyleStack>(Editor ? Editor->StyleContextTree() : nullptr);
  if (Editor) {
    StyleStack->SetCanvas(Editor->ScreenCanvas());
    MouseCursor = Editor->Cursor();
  }
}

void TpsDocumentNode::BeforeDestruction() { TpsWindow::BeforeDestruction(); }

TpsDocumentNode::~TpsDocumentNode() = default;

std::unique_ptr<TpsHintWindow> TpsDocumentNode::CreateHintWindow(const TpsPoint& aPoint, TpsHintTriggerArea* aArea,
                                                                 const AnsiString& aText) {
  if (!Editor) return nullptr;
  return Editor->CreateHintWindow(DocumentToScreen(aPoint), aArea, aText);
}

std::unique_ptr<htmldoc::TpsDataChunk> TpsDocumentNode::GetChunk(bool aAsCopy) {
  if (WindowFlags.GetFlag(wfContentTakenOut) && EditChunk) return std::move(EditChunk);
  auto chunk = std::make_unique<htmldoc::TpsDataChunk>();
  for (TpsWindow* w : ChildList()) {
    if (w->WindowFlags.GetFlag(wfFloating)) continue;
    if (auto* node = dynamic_cast<TpsDocumentNode*>(w)) {
      if (std::unique_ptr<htmldoc::TpsDataChunk> part = node->GetChunk(aAsCopy)) chunk->InsertChunk(*part, nullptr, true);
    }
  }
  return chunk;
}

void TpsDocumentNode::InitFromTag(htmldoc::TpsChunkElement* aElement) {
  if (!htmldoc::TpsDataChunk::IsTagElement(aElement)) return;
  htmldoc::TpsHtmlTag& tag = *aElement->Tag;
  TagStyleId = tag.GetTagStyleId();
  ClassStyleId = tag.GetClassStyleId();
  StyleAttributeId = tag.GetStyleAttributeId();
  for (Integer id : {TagStyleId, ClassStyleId, StyleAttributeId})
    if (id != -1) StyleStack->PushStyle(id);
}

void TpsDocumentNode::GetVerticalRange(Integer& aTop, Integer& aLeft, Integer& aRight) {
  aTop = -1;
  aLeft = -1;
  aRight = -1;
}

void TpsDocumentNode::LoadBoxMetrics(bool aMargins, bool aBorders, bool aPadding) {
  const htmldoc::TpsCSSAttributeList* css = GetStyleAttributes();
  auto length = [css](Integer aId) { return css && css->HasAttribute(aId) ? css->GetLengthInPixels(aId) : 0; };
  if (aMargins) {
    MarginTop = length(htmldoc::CSS_MARGIN_TOP);
    MarginBottom = length(htmldoc::CSS_MARGIN_BOTTOM);
    MarginLeft = length(htmldoc::CSS_MARGIN_LEFT);
    MarginRight = length(htmldoc::CSS_MARGIN_RIGHT);
  }
  if (aPadding) {
    Padding.Top = length(htmldoc::CSS_PADDING_TOP);
    Padding.Bottom = length(htmldoc::CSS_PADDING_BOTTOM);
    Padding.Left = length(htmldoc::CSS_PADDING_LEFT);
    Padding.Right = length(htmldoc::CSS_PADDING_RIGHT);
  }
  BorderColor = css && css->HasAttribute(htmldoc::CSS_BORDER_COLOR) ? css->GetColor(htmldoc::CSS_BORDER_COLOR) : 0;
  BorderStyle = css && css->HasAttribute(htmldoc::CSS_BORDER_STYLE) ? css->GetEnumValue(htmldoc::CSS_BORDER_STYLE) : 1;
  if (aBorders && BorderStyle != 1) {
    BorderTop = length(htmldoc::CSS_BORDER_TOP_WIDTH);
    BorderBottom = length(htmldoc::CSS_BORDER_BOTTOM_WIDTH);
    BorderLeft = length(htmldoc::CSS_BORDER_LEFT_WIDTH);
    BorderRight = length(htmldoc::CSS_BORDER_RIGHT_WIDTH);
  }
  InsetLeft = MarginLeft + BorderLeft + Padding.Left;
  InsetTop = MarginTop + BorderTop + Padding.Top;
  InsetRight = MarginRight + BorderRight + Padding.Right;
  InsetBottom = MarginBottom + BorderBottom + Padding.Bottom;
}

void TpsDocumentNode::RequestWidth(Integer aWidth) {
  if (auto* parent = GetParentNode()) parent->RequestWidth(aWidth);
}

void TpsDocumentNode::ChildHeightChanged(TpsWindow* aChild, Integer aDelta) {
  bool after = false;
  for (TpsWindow* w : ChildList()) {
    if (w == aChild) {
      after = true;
      continue;
    }
    if (!after || w->WindowFlags.GetFlag(wfFloating)) continue;
    if (auto* node = dynamic_cast<TpsDocumentNode*>(w)) {
      node->MoveVertically(aDelta);
    } else {
      w->Top += aDelta;
    }
  }
  Height += aDelta;
  if (TpsDocumentNode* parent = GetParentNode()) {
    parent->ChildHeightChanged(this, aDelta);
  } else if (IsRoot() && Editor) {
    Editor->UpdateScrollRanges();
  }
}

uint32_t TpsDocumentNode::GetFirstElementId() {
  std::unique_ptr<htmldoc::TpsDataChunk> copy = CopyChunk();
  return copy ? copy->GetFirstElementId() : 0;
}

std::unique_ptr<htmldoc::TpsDataChunk> TpsDocumentNode::CopyChunk() {
  auto chunk = std::make_unique<htmldoc::TpsDataChunk>();
  for (TpsWindow* w : ChildList()) {
    if (auto* node = dynamic_cast<TpsDocumentNode*>(w)) {
      if (std::unique_ptr<htmldoc::TpsDataChunk> part = node->CopyChunk()) chunk->InsertChunk(*part, nullptr, true);
    }
  }
  return chunk;
}

void TpsDocumentNode::LayoutChunk(htmldoc::TpsDataChunk&) { WindowFlags.SetFlag(wfBeingLaidOut, true); }

void TpsDocumentNode::NotifyChildren() {
  for (TpsWindow* w : ChildList())
    if (auto* node = dynamic_cast<TpsDocumentNode*>(w)) node->NotifyChildren();
}

// --- Other operations ---

TpsDocumentNode* TpsDocumentNode::GetRootNode() { return dynamic_cast<TpsDocumentNode*>(GetRoot()); }

TpsDocumentNode* TpsDocumentNode::GetParentNode() const { return dynamic_cast<TpsDocumentNode*>(Parent); }

TpsWindowManager* TpsDocumentNode::GetWindowManager() {
  if (!Manager) Manager = GetRoot()->Manager;
  return Manager;
}

const htmldoc::TpsCSSAttributeList* TpsDocumentNode::GetStyleAttributes() { return StyleStack->GetAttributes(); }

void TpsDocumentNode::PrepareStyleStack() {
  if (IsRoot()) {
    StyleStack->Clear();
  } else {
    TpsDocumentNode* neighbour = nullptr;
    Integer slot = 2;
    if (WindowFlags.GetFlag(wfFloating)) {
      neighbour = dynamic_cast<TpsDocumentNode*>(Owner);
    } else if (!WindowFlags.GetFlag(wfStyleFromParent)) {
      neighbour = dynamic_cast<TpsDocumentNode*>(PreviousSibling());
    }
    if (!neighbour) {
      neighbour = GetParentNode();
      slot = 1;
    }
    if (neighbour) {
      neighbour->StyleStack->RestoreState(slot);
      StyleStack->Assign(*neighbour->StyleStack);
    } else {
      StyleStack->Clear();
    }
  }
  StyleStack->SaveState(1);
}

void TpsDocumentNode::SaveStyleEndState() { StyleStack->SaveState(2); }

Integer TpsDocumentNode::GetParentContentWidth() {
  Integer top, left, right;
  if (TpsDocumentNode* parent = GetParentNode()) {
    parent->GetVerticalRange(top, left, right);
    return right - left + 1;
  }
  return 0;
}

void TpsDocumentNode::SetFocus() {
  if (TpsWindowManager* m = GetWindowManager()) m->SetFocusedNode(this);
}

void TpsDocumentNode::ClearFocus() {
  if (TpsWindowManager* m = GetWindowManager()) m->ClearFocusedNode(this);
}

void TpsDocumentNode::SetCapture() {
  if (TpsWindowManager* m = GetWindowManager()) m->SetCapture(this);
}

void TpsDocumentNode::ReleaseCapture() {
  if (TpsWindowManager* m = GetWindowManager()) m->ReleaseCapture(this);
}

void TpsDocumentNode::PostMessage(TpsMessagePtr aMessage, bool aProcess) {
  TpsWindowManager* m = GetWindowManager();
  if (!m) return;
  m->PostMessage(std::move(aMessage));
  if (aProcess) m->ProcessMessages();
}

bool TpsDocumentNode::QueryNode(TpsWindow* aWindow, Integer aId) {
  if (!aWindow) return false;
  TpsMessage query(mrCommand, aId, nullptr);
  query.AutoFree = false;
  aWindow->HandleMessage(query);
  return query.Result;
}

bool TpsDocumentNode::IsListNode(TpsWindow* aWindow, bool& aOrdered) {
  aOrdered = false;
  if (!QueryNode(aWindow, psmIsListNode)) return false;
  aOrdered = QueryNode(aWindow, psmIsOrderedList);
  return true;
}

bool TpsDocumentNode::IsInsideTable() {
  for (TpsWindow* w = Parent; w; w = w->Parent)
    if (IsTableNode(w)) return true;
  return false;
}

void TpsDocumentNode::CollectTextNodes(std::vector<TpsWindow*>& aNodes) {
  for (TpsWindow* w : ChildList()) {
    if (IsTextNode(w)) aNodes.push_back(w);
    if (auto* node = dynamic_cast<TpsDocumentNode*>(w)) node->CollectTextNodes(aNodes);
  }
}

TpsWindow* TpsDocumentNode::NearestTextNodeByY(Integer aY) {
  std::vector<TpsWindow*> nodes;
  CollectTextNodes(nodes);
  TpsWindow* best = nullptr;
  Integer bestDistance = 0;
  for (TpsWindow* w : nodes) {
    const Integer d = std::min(std::abs(w->GetAbsoluteTop() - aY), std::abs(w->GetAbsoluteBottom() - aY));
    if (!best || d < bestDistance) {
      best = w;
      bestDistance = d;
    }
  }
  return best;
}

TpsWindow* TpsDocumentNode::NearestTextNodeAtPoint(Integer aX, Integer aY) {
  std::vector<TpsWindow*> nodes;
  CollectTextNodes(nodes);
  TpsWindow* best = nullptr;
  Integer bestDistance = 0;
  for (TpsWindow* w : nodes) {
    if (aX < w->GetAbsoluteLeft() || aX > w->GetAbsoluteRight()) continue;
    const Integer d = std::min(std::abs(w->GetAbsoluteTop() - aY), std::abs(w->GetAbsoluteBottom() - aY));
    if (!best || d < bestDistance) {
      best = w;
      bestDistance = d;
    }
  }
  return best;
}

TpsWindow* TpsDocumentNode::BlockNodeAt(Integer aX, Integer aY) {
  // Coordinates relative to each parent; right and bottom edges excluded.
  TpsWindow* found = nullptr;
  TpsWindow* w = this;
  Integer x = aX - GetAbsoluteLeft() + Left, y = aY - GetAbsoluteTop() + Top;
  while (w) {
    TpsWindow* next = nullptr;
    const Integer cx = x - w->Left, cy = y - w->Top;
    for (TpsWindow* c : w->ChildList()) {
      if (cx >= c->Left && cx < c->Left + c->Width && cy >= c->Top && cy < c->Top + c->Height) {
        next = c;
        break;
      }
    }
    if (!next) break;
    if (IsBlockNode(next)) found = next;
    x = cx;
    y = cy;
    w = next;
  }
  return found;
}

vcl::TPoint TpsDocumentNode::DocumentToScreen(const TpsPoint& aPoint) {
  TpsPoint client = aPoint;
  if (Editor) {
    if (TpsAbstractCanvas* c = Editor->ScreenCanvas()) client = c->ToDevice(aPoint);
    return Editor->ClientToScreen({client.X, client.Y});
  }
  return {client.X, client.Y};
}

void TpsDocumentNode::RequireContentOut() {
  PS_ASSERT(WindowFlags.GetFlag(wfContentTakenOut) && EditChunk);
}

void TpsDocumentNode::ExtractChunk() {
  PS_ASSERT(!WindowFlags.GetFlag(wfContentTakenOut));
  HeightBeforeEdit = Height;
  EditChunk = GetChunk(false);
  while (ChildCount() > 0) FreeChild(Child(ChildCount() - 1));
  if (TpsWindow* root = GetRoot(); root && root != this) {
    for (TpsWindow* f : TpsWindowList(root->FloatingWindows()))
      if (f->Owner == this) root->FreeChild(f);
  }
  WindowFlags.SetFlag(wfContentTakenOut, true);
}

void TpsDocumentNode::Relayout() {
  TpsAbstractCanvas* canvas = Editor ? Editor->ScreenCanvas() : nullptr;
  vcl::TCanvas* dc = Editor ? Editor->GetDC() : nullptr;
  if (canvas) {
    canvas->BeginPaint(dc);
    canvas->Refresh();
  }
  {
    struct EndPaintScope {
      IpsEditorHost* Editor;
      TpsAbstractCanvas* Canvas;
      vcl::TCanvas* DC;
      ~EndPaintScope() {
        if (Editor) Editor->ReleaseDC(DC);
        if (Canvas) Canvas->EndPaint();
      }
    } scope{Editor, canvas, dc};
    RequireContentOut();
    CleanUpChunk();
    LayoutChunk(*EditChunk);
    EditChunk.reset();
    WindowFlags.SetFlag(wfContentTakenOut, false);
    if (Editor) Editor->RequestRepaint();
  }
  // The caret is placed once the device context is back with the editor.
  if (Editor && Editor->EditMode() == emText) Editor->UpdateCaretPosition();
}

void TpsDocumentNode::HandleMessage(TpsMessage& m) {
  TpsWindow::HandleMessage(m);
  if (m.IsHandled()) return;
  if (m.Kind != mrCommand || (m.Target && m.Target != this)) return;
  switch (m.Id) {
    case psmBeginEdit:
    case psmEndEdit:
      m.MarkHandled(nullptr);
      return;
    case psmExtractChunk:
      ExtractChunk();
      m.MarkHandled(nullptr);
      return;
    case psmRelayout:
      Relayout();
      m.MarkHandled(nullptr);
      return;
    case psmDocumentChanged:
      if (Editor) {
        auto* notice = dynamic_cast<TpsNotifyDocumentChangeMsg*>(&m);
        Editor->NotifyDocumentChange(notice ? notice->Change : htmldoc::dcUnknown);
      }
      m.MarkHandled(nullptr);
      return;
    case psmCursorMoved:
      if (Editor) Editor->NotifyCursorMoved();
      m.MarkHandled(nullptr);
      return;
    default:
      break;
  }
  if (HandleEditOperation(m)) m.MarkHandled(nullptr);
}

// --- Skin node ---

TpsSkinNode::TpsSkinNode(TpsWindow* aParent) : TpsDocumentNode(aParent) {}

TpsDocumentNode* TpsSkinNode::GetImageNode() {
  if (!FImageNode) {
    PS_ASSERT(ChildCount() == 1);
    FImageNode = dynamic_cast<TpsDocumentNode*>(Child(0));
  }
  return FImageNode;
}

std::unique_ptr<htmldoc::TpsDataChunk> TpsSkinNode::GetChunk(bool aAsCopy) {
  TpsDocumentNode* image = GetImageNode();
  return image ? image->GetChunk(aAsCopy) : std::make_unique<htmldoc::TpsDataChunk>();
}

void TpsSkinNode::LayoutChunk(htmldoc::TpsDataChunk& aChunk) {
  WindowFlags.SetFlag(wfBeingLaidOut, true);
  TpsDocumentNode* image = GetImageNode();
  image->LayoutChunk(aChunk);
  Width = image->Width;
  Height = image->Height;
  WindowFlags.SetFlag(wfBeingLaidOut, false);
}

void TpsSkinNode::SetImageSelected(bool aValue) {
  TpsMessagePtr m = TpsMessage::Create(mrCommand, psmSetImageSelected, GetImageNode());
  m->Result = aValue;
  PostMessage(std::move(m), true);
}

Byte TpsSkinNode::GetFloatAlignment() {
  Byte alignment = 5;
  if (ChildCount() != 1) return 5;
  auto* image = dynamic_cast<TpsDocumentNode*>(Child(0));
  if (image && image->GetImageAlignment(alignment)) return alignment;
  return 5;
}

bool TpsSkinNode::IsFloatingImage(TpsDocumentNode*& aImageNode) {
  aImageNode = nullptr;
  Byte alignment = 5;
  if (ChildCount() != 1) return false;
  auto* image = dynamic_cast<TpsDocumentNode*>(Child(0));
  if (!image || !image->GetImageAlignment(alignment)) return false;
  aImageNode = image;
  return true;
}

// --- Factory ---

void TpsNodeFactory::Register(TpsNodeClass aClass, TpsNodeClassEntry aEntry) {
  FEntries[static_cast<size_t>(aClass)] = std::move(aEntry);
}

void TpsNodeFactory::Unregister(TpsNodeClass aClass) { FEntries[static_cast<size_t>(aClass)] = {}; }

const TpsNodeClassEntry* TpsNodeFactory::Entry(TpsNodeClass aClass) const {
  const TpsNodeClassEntry& e = FEntries[static_cast<size_t>(aClass)];
  return e.Accepts && e.Create ? &e : nullptr;
}

TpsNodeFactory& NodeFactory() {
  static TpsNodeFactory factory;
  return factory;
}

bool BuildViewNodes(htmldoc::TpsDataChunk& aChunk, TpsWindow* aParent, const TpsNodeFactory& aFactory) {
  while (!aChunk.IsEmpty()) {
    const TpsNodeClassEntry* chosen = nullptr;
    for (size_t i = 0; i < kNodeClassCount && !chosen; ++i) {
      const TpsNodeClassEntry* e = aFactory.Entry(static_cast<TpsNodeClass>(i));
      if (e && e->Accepts(aChunk)) chosen = e;
    }
    if (!chosen) return false;
    htmldoc::TpsChunkElement* first = aChunk.First();
    const uint32_t firstId = first->Id;
    TpsWindow* node = aParent->AddChild(chosen->Create(aParent));
    if (auto* documentNode = dynamic_cast<TpsDocumentNode*>(node)) documentNode->LayoutChunk(aChunk);
    // A node that took nothing would be offered the same elements for ever.
    if (aChunk.First() == first && first->Id == firstId) return false;
  }
  return true;
}

}  // namespace htmlview
