#include "htmledit/view/psDivNodes.h"

#include <mutex>

#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psTableNodes.h"
#include "htmledit/view/psTextNode.h"

namespace htmlview {

namespace {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

TColor LabelColorForDepth(Integer aDepth) {
  switch (aDepth) {
    case 2: return 0x00FFFF;
    case 3: return 0x00FF00;
    case 4: return 0xF8A9FF;
    default: return 0xC0C0C0;
  }
}

bool IsInsideOrBlank(const TpsChunkElement* e) {
  return TpsDataChunk::IsBlank(e) || TpsDataChunk::IsMarkerElement(e) || TpsDataChunk::IsCursorElement(e) ||
         TpsDataChunk::IsIgnoreElement(e);
}

}  // namespace

TpsDivNode::TpsDivNode(TpsWindow* aParent) : TpsBlockNode(aParent) {}

bool TpsDivNode::ChunkStartsWithTag(TpsDataChunk& aChunk, Byte aTagCode) {
  return aChunk.GetLeadingBlockTagCode() == aTagCode;
}

uint32_t TpsDivNode::GetFirstElementId() {
  return OpeningTag ? OpeningTag->Id : TpsDocumentNode::GetFirstElementId();
}

bool TpsDivNode::ContainsElement(uint32_t aId, TpsDocumentNode* aNode) {
  std::unique_ptr<TpsDataChunk> copy = GetChunk(true);
  const uint32_t stop = aNode ? aNode->GetFirstElementId() : 0;
  for (TpsChunkElement* e = copy->First(); e; e = e->Next) {
    if (stop != 0 && e->Id == stop) return false;
    if (e->Id == aId) return true;
  }
  return false;
}

bool TpsDivNode::IsEmpty() {
  std::unique_ptr<TpsDataChunk> copy = GetChunk(true);
  TpsChunkElement* open = copy->FindBlockOpenTag(copy->First(), true);
  if (!open) return true;
  TpsChunkElement* close = copy->FindPartnerTag(open, nullptr);
  for (TpsChunkElement* e = open->Next; e && e != close; e = e->Next)
    if (!IsInsideOrBlank(e)) return false;
  return true;
}

void TpsDivNode::PrepareChunk() {
  if (!OpeningTag || OpeningTag->Kind != htmldoc::ceTag) return;
  OpeningTag->Tag->SetClassStyleId(ClassStyleId);
  OpeningTag->Tag->SetStyleAttributeId(StyleAttributeId);
}

void TpsDivNode::ClearFloats() {
  const htmldoc::TpsCSSAttributeList* css = GetStyleAttributes();
  const Integer clear = css && css->HasAttribute(htmldoc::CSS_CLEAR) ? css->GetEnumValue(htmldoc::CSS_CLEAR) : 0;
  if (clear < 1 || clear > 3) return;
  TpsWindow* root = GetRoot();
  for (TpsWindow* f : root->FloatingWindows()) {
    auto* skin = dynamic_cast<TpsSkinNode*>(f);
    if (!skin) continue;
    const Byte side = skin->GetFloatAlignment();
    if (!((side == 0 && (clear & 1)) || (side == 1 && (clear & 2)))) continue;
    const TpsRect fr = f->GetAbsoluteRect();
    const Integer top = GetAbsoluteTop(), left = GetAbsoluteLeft(), right = GetAbsoluteRight();
    // The 1-pixel strip along the block's top edge.
    if (fr.Top <= top && fr.Bottom >= top && fr.Left <= right && fr.Right >= left) Top += fr.Bottom - top + 1;
  }
}

bool TpsDivNode::LiesOnOnePage() {
  const Integer h = Editor->PageHeight();
  const TpsRect margins = Editor->PrintMargins();
  if (h <= 0) return true;
  const auto pageOf = [&](Integer y) -> Integer {
    const Integer m = ((y % h) + h) % h;
    return m >= margins.Top && m < h - margins.Bottom ? (y - m) / h : -1;
  };
  const Integer top = GetAbsoluteTop();
  const Integer page = pageOf(top);
  if (page < 0 || pageOf(top + Height - 1) != page) return false;
  Integer lowest = -1;
  for (TpsWindow* f : GetRoot()->FloatingWindows())
    if (OwnsFloat(f)) lowest = std::max(lowest, f->GetAbsoluteBottom());
  return lowest < 0 || pageOf(lowest) == page;
}

void TpsDivNode::BuildChildren(TpsDataChunk& aContent) {
  const bool preview = Editor && Editor->IsPrintPreview();
  std::unique_ptr<TpsDataChunk> saved;
  if (preview) saved = aContent.Clone(false);
  InspectContent(aContent);
  BuildContent(aContent);
  UpdateHeight();
  if (!preview || LiesOnOnePage()) return;
  // Once: a block still not on one page is taller than a page's printable
  // height and stays on the page it now starts.
  TpsWindow* root = GetRoot();
  for (TpsWindow* f : TpsWindowList(root->FloatingWindows()))
    if (OwnsFloat(f)) root->FreeChild(f);
  while (ChildCount() > 0) FreeChild(Child(ChildCount() - 1));
  aContent.Clear();
  std::unique_ptr<TpsDataChunk> again = saved->Clone(false);
  aContent.InsertChunk(*again, nullptr, true);
  const Integer h = Editor->PageHeight();
  const Integer absoluteTop = GetAbsoluteTop();
  const Integer p = absoluteTop / h;
  Top += (p + 1) * h + Editor->PrintMargins().Top - absoluteTop;
  InspectContent(aContent);
  BuildContent(aContent);
  UpdateHeight();
}

void TpsDivNode::BuildContent(TpsDataChunk& aContent) {
  // An empty block still gets a line: its caret has somewhere to stand.
  if (aContent.IsEmpty()) {
    TpsWindow* line = AddChild(NewWindow<TpsTextNode>(this));
    static_cast<TpsTextNode*>(line)->LayoutChunk(aContent);
    return;
  }
  BuildViewNodes(aContent, this);
}

void TpsDivNode::AddRevealTagsLabel() {
  TpsWindowManager* manager = GetWindowManager();
  if (!manager || !OpeningTag) return;
  manager->FreeStickyWindowsOf(this);
  AnsiString caption = GetBlockTag()->GetName();
  for (char& c : caption) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  auto label = NewWindow<TpsStickyWindow>(this, LabelColorForDepth(GetDepth()), caption);
  label->SetBoundsRect(GetRectInRoot());
  manager->AddStickyWindow(std::move(label));
}

void TpsDivNode::LayoutChunk(TpsDataChunk& aChunk) {
  TpsDocumentNode::LayoutChunk(aChunk);
  std::unique_ptr<TpsDataChunk> content = SplitBlockChunk(aChunk);
  InspectFollowing(aChunk);
  content->TrimBlanks(false);
  PrepareStyleStack();
  StyleStack->BeginLevel();
  InitFromTag(OpeningTag);
  StyleStack->PushSeparator();
  StyleStack->SaveState(1);
  LoadBackgroundImage();
  LoadBoxMetrics(true, true, true);
  LoadBackgroundColor();
  if (!WindowFlags.GetFlag(wfContentTakenOut)) {
    Integer left = 0, top = 0, width = 0;
    if (auto* parent = dynamic_cast<TpsBlockNode*>(Parent)) parent->GetContentMetrics(left, top, width);
    SetBounds(left, top, width, 0);
    AdjustWidth();
    ClearFloats();
  }
  BuildChildren(*content);
  if (Editor && Editor->RevealTags()) AddRevealTagsLabel();
  SaveStyleEndState();
  WindowFlags.SetFlag(wfBeingLaidOut, false);
  if (!content->IsEmpty()) throw EpsHtmlEditException("TpsDivNode.LayoutChunk: div could not be layouted!");
}

void TpsDivNode::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  if (!IsVisibleOn(aCanvas)) return;
  TpsPaintCanvasScope scope(&aCanvas);
  PaintRect(0, 0, Width - 1, Height - 1);
  TpsBlockNode::Paint(aCanvas, aPaintChildren);
}

void TpsDivNode::HandleMessage(TpsMessage& m) {
  TpsBlockNode::HandleMessage(m);
  if (m.IsHandled()) return;
  if (m.Kind == mrPositional && m.Id == psmMouseDown && m.Buttons && m.Buttons->Left) {
    const TpsPoint absolute = LocalToAbsolute(m.GetPos());
    TpsWindow* line = NearestTextNodeByY(absolute.Y);
    if (!line)
      if (auto* root = dynamic_cast<TpsDocumentNode*>(GetRoot())) line = root->NearestTextNodeByY(absolute.Y);
    if (line) {
      TpsMessagePtr copy = m.Clone(line);
      copy->SetPos(line->AbsoluteToLocal(absolute));
      // The queue owns the copy, whatever the editor's own message is.
      copy->AutoFree = true;
      PostMessage(std::move(copy), false);
    }
    m.MarkHandled(this);
    return;
  }
  if (m.Kind != mrCommand || (m.Target && m.Target != this)) return;
  switch (m.Id) {
    case psmQueryFirstElement:
    case psmQueryLastElement:
      if (auto* r = static_cast<TpsNodeElement*>(m.Data)) {
        r->Node = this;
        const TpsChunkElement* e = m.Id == psmQueryFirstElement ? OpeningTag : ClosingTag;
        r->ElementId = e ? e->Id : 0;
      }
      m.MarkHandled(this);
      return;
    case psmQueryElementOwner:
      if ((OpeningTag && OpeningTag->Id == m.ElementId) || (ClosingTag && ClosingTag->Id == m.ElementId)) {
        if (auto* r = static_cast<TpsNodeElement*>(m.Data)) {
          r->Node = this;
          r->ElementId = m.ElementId;
        }
        m.MarkHandled(this);
      }
      return;
    case psmSetBackgroundColor: {
      htmldoc::TpsStyleSheet* sheet = Editor ? Editor->StyleSheet() : nullptr;
      htmldoc::TpsStyle* own = sheet && StyleAttributeId >= 0 ? sheet->GetStyle(StyleAttributeId) : nullptr;
      std::unique_ptr<htmldoc::TpsStyle> style =
          own ? own->Clone() : std::make_unique<htmldoc::TpsStyle>(-1, AnsiString());
      style->SetBackgroundColor(m.Text);
      StyleAttributeId = Editor->GetInternalStyleID(style->GetAttributesAsString());
      m.MarkHandled(this);
      return;
    }
    default:
      break;
  }
}

// --- Lists ---

void TpsListNode::HandleMessage(TpsMessage& m) {
  if (m.Kind == mrCommand && (!m.Target || m.Target == this)) {
    if (m.Id == psmIsListNode) {
      m.Result = true;
      m.MarkHandled(this);
      return;
    }
    if (m.Id == psmIsOrderedList) {
      m.Result = OpeningTag && TpsDataChunk::TagCodeOf(OpeningTag) == htmldoc::TAG_OL;
      m.MarkHandled(this);
      return;
    }
  }
  TpsDivNode::HandleMessage(m);
}

Integer TpsListNode::GetItemNumber(TpsWindow* aList, TpsWindow* aItem) {
  Integer n = 0;
  for (TpsWindow* c : aList->ChildList()) {
    if (!IsListItemNode(c)) continue;
    ++n;
    if (c == aItem) return n;
  }
  return 0;
}

Integer TpsListNode::GetItemCount(TpsWindow* aList) {
  Integer n = 0;
  for (TpsWindow* c : aList->ChildList())
    if (IsListItemNode(c)) ++n;
  return n;
}

TpsWindow* TpsListNode::GetItem(TpsWindow* aList, Integer aIndex) {
  Integer n = 0;
  for (TpsWindow* c : aList->ChildList())
    if (IsListItemNode(c) && n++ == aIndex) return c;
  return nullptr;
}

void TpsListItemNode::HandleMessage(TpsMessage& m) {
  if (m.Kind == mrCommand && (!m.Target || m.Target == this) && m.Id == psmIsListItemNode) {
    m.Result = true;
    m.MarkHandled(this);
    return;
  }
  if (m.Kind == mrCommand && m.Target == this && m.Id == psmKeyEnter) {
    m.MarkHandled(this);
    LeaveListByEnter();
    return;
  }
  TpsDivNode::HandleMessage(m);
}

void TpsListItemNode::LeaveListByEnter() {
  // Read before the transaction: the relayout frees this node.
  bool inTable = false;
  for (TpsWindow* w = Parent; w && !inTable; w = w->GetParent()) {
    auto* block = dynamic_cast<TpsBlockNode*>(w);
    if (!block || !block->OpeningTag) continue;
    const Byte code = htmldoc::TpsDataChunk::TagCodeOf(block->OpeningTag);
    inTable = code == htmldoc::TAG_TD || code == htmldoc::TAG_TH || code == htmldoc::TAG_TABLE;
  }
  // In a cell, a first or last item leaving its list stays in the cell
  // without a paragraph of its own; a middle one splits the list and
  // needs one between the halves.
  const bool paragraph = !inTable || IsMiddleItem(this);
  TpsWindow* root = GetRoot();
  const auto post = [this, root](Integer aId, Integer aMarker, bool aProcess) {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, root);
    m->SetParam(1, aMarker);
    PostMessage(std::move(m), aProcess);
  };
  post(psmBeginEdit, 0, false);
  post(psmExtractChunk, 0, false);
  post(psmMarkerAtCursor, 1, false);
  post(psmLiftMarkerOutOfBlocks, 1, false);
  if (paragraph) post(psmEnsureMarkerInParagraph, 1, false);
  post(psmCursorAtMarker, 1, false);
  post(psmRelayout, 0, false);
  post(psmDocumentChanged, 0, false);
  post(psmEndEdit, 0, true);
}

TpsWindow* TpsListItemNode::FindNestedList(TpsWindow* aItem) {
  bool ordered = false;
  for (TpsWindow* c : aItem->ChildList())
    if (IsListNode(c, ordered)) return c;
  return nullptr;
}

bool TpsListItemNode::IsMiddleItem(TpsWindow* aItem) {
  TpsWindow* list = aItem->GetParent();
  if (!list || list->ChildCount() <= 2) return false;
  return list->Child(0) != aItem && list->Child(list->ChildCount() - 1) != aItem;
}

TpsWindow* TpsListItemNode::GetFirstTextLine(TpsWindow* aItem) {
  for (TpsWindow* c : aItem->ChildList())
    if (IsTextNode(c)) return c;
  return nullptr;
}

// --- Factory ---

void RegisterLayoutNodeClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    TpsNodeFactory& factory = NodeFactory();
    const auto entry = [](auto aAccepts, auto aCreate) { return TpsNodeClassEntry{aAccepts, aCreate}; };
    const auto code = [](Byte aCode) {
      return [aCode](TpsDataChunk& c) { return TpsDivNode::ChunkStartsWithTag(c, aCode); };
    };
    factory.Register(TpsNodeClass::Paragraph,
                     entry(code(htmldoc::TAG_P), [](TpsWindow* p) -> TpsWindowPtr { return NewWindow<TpsParagraphNode>(p); }));
    factory.Register(TpsNodeClass::ExplicitDiv,
                     entry(code(htmldoc::TAG_DIV), [](TpsWindow* p) -> TpsWindowPtr { return NewWindow<TpsExplicitDivNode>(p); }));
    factory.Register(TpsNodeClass::BlockQuote, entry(code(htmldoc::TAG_BLOCKQUOTE), [](TpsWindow* p) -> TpsWindowPtr {
                       return NewWindow<TpsBlockQuoteNode>(p);
                     }));
    factory.Register(TpsNodeClass::Heading, entry(
                                                [](TpsDataChunk& c) {
                                                  const Byte b = c.GetLeadingBlockTagCode();
                                                  return b >= htmldoc::TAG_H1 && b <= htmldoc::TAG_H1 + 5;
                                                },
                                                [](TpsWindow* p) -> TpsWindowPtr { return NewWindow<TpsHeadingNode>(p); }));
    factory.Register(TpsNodeClass::List, entry(
                                             [](TpsDataChunk& c) {
                                               const Byte b = c.GetLeadingBlockTagCode();
                                               return b == htmldoc::TAG_UL || b == htmldoc::TAG_OL;
                                             },
                                             [](TpsWindow* p) -> TpsWindowPtr { return NewWindow<TpsListNode>(p); }));
    factory.Register(TpsNodeClass::ListItem,
                     entry(code(htmldoc::TAG_LI), [](TpsWindow* p) -> TpsWindowPtr { return NewWindow<TpsListItemNode>(p); }));
    factory.Register(TpsNodeClass::Text, entry([](TpsDataChunk&) { return true; },
                                               [](TpsWindow* p) -> TpsWindowPtr { return NewWindow<TpsTextNode>(p); }));
  });
  RegisterTableNodeClasses();
}

}  // namespace htmlview
