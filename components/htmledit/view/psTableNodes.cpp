#include "htmledit/view/psTableNodes.h"

#include <algorithm>
#include <mutex>

#include "htmledit/doc/psHtmlTag.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/view/psCanvas.h"
#include "htmledit/view/psTextNode.h"

namespace htmlview {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

namespace {

// A fresh editor's virtual borders, for a node without an editor.
const TpsVirtualBorders& TableDefaultVirtualBorders() {
  static const TpsVirtualBorders options;
  return options;
}

bool TableHasOpeningTag(const TpsDataChunk& aChunk, std::initializer_list<Byte> aCodes) {
  for (const TpsChunkElement* e = aChunk.First(); e; e = e->Next)
    if (TpsDataChunk::IsTagElement(e) && e->Tag->GetTagType() == htmldoc::ttOpening &&
        std::find(aCodes.begin(), aCodes.end(), e->Tag->GetTagCode()) != aCodes.end())
      return true;
  return false;
}

}  // namespace

// --- TpsTableNode ---

TpsTableNode::TpsTableNode(TpsWindow* aParent) : TpsDivNode(aParent) {}

void TpsTableNode::HandleMessage(TpsMessage& m) {
  TpsDivNode::HandleMessage(m);
  if (m.IsHandled()) return;
  if (m.Id == psmIsTableNode) {
    m.Result = true;
    m.Answer = this;
    m.MarkHandled(this);
  }
}

void TpsTableNode::InitFromTag(TpsChunkElement* aElement) {
  // "bgcolor" goes first, so the tag's CSS overrides it.
  if (TpsDataChunk::IsTagElement(aElement) && Editor) {
    const AnsiString value = aElement->Tag->GetAttribute("bgcolor");
    if (!value.empty() && htmldoc::ParseCssColor(value) != 0x1FFFFFFF) {
      const Integer id = Editor->GetInternalStyleID("background-color:" + value);
      if (id != -1) StyleStack->PushStyle(id);
    }
  }
  TpsDivNode::InitFromTag(aElement);
}

Integer TpsTableNode::GetCellSpacing() {
  if (FCellSpacing < 0) {
    if (!OpeningTag) return kDefaultCellSpacing;
    FCellSpacing = ReadCellSpacing(*OpeningTag->Tag);
  }
  return FCellSpacing;
}

Integer TpsTableNode::GetCellPadding() {
  if (!FPaddingRead && OpeningTag) {
    FCellPadding = ReadCellPadding(*OpeningTag->Tag);
    FPaddingRead = true;
  }
  return FCellPadding;
}

bool TpsTableNode::HasWidth() { return OpeningTag && OpeningTag->Tag->GetWidth() != 0; }

const TpsVirtualBorders& TpsTableNode::VirtualBorderOptions() {
  const TpsVirtualBorders* options = Editor ? Editor->VirtualBorders() : nullptr;
  return options ? *options : TableDefaultVirtualBorders();
}

void TpsTableNode::LoadBoxMetrics(bool aMargins, bool aBorders, bool aPadding) {
  TpsDivNode::LoadBoxMetrics(aMargins, aBorders, aPadding);
  ApplyTableBoxRules(*this, GetCellSpacing(), VirtualBorderOptions());
}

void TpsTableNode::LayoutChunk(TpsDataChunk& aChunk) {
  Columns = TpsTableColumns();
  for (;;) {
    Columns.BeginPass();
    if (Columns.PassCount() > 1) {
      std::unique_ptr<TpsDataChunk> mine = GetChunk(false);
      aChunk.PrependChunk(*mine);
      TpsWindow* root = GetRoot();
      for (TpsWindow* f : TpsWindowList(root->FloatingWindows()))
        if (OwnsFloat(f)) root->FreeChild(f);
      while (ChildCount() > 0) FreeChild(Child(ChildCount() - 1));
    }
    Columns.LoadColumnWidths(aChunk);
    TpsDivNode::LayoutChunk(aChunk);
    Columns.CellSpacing = GetCellSpacing();
    if (auto* row = dynamic_cast<TpsTableRowNode*>(LastChild(true))) row->RegisterResizeAreas();
    if (auto* parent = GetParentNode()) parent->RequestWidth(Width);
    if (!Columns.EndPass()) break;
  }
}

void TpsTableNode::GetContentMetrics(Integer& aLeft, Integer& aNextTop, Integer& aWidth) {
  TpsDivNode::GetContentMetrics(aLeft, aNextTop, aWidth);
  for (Integer i = ChildCount() - 1; i >= 0; --i) {
    TpsWindow* c = Child(i);
    if (c->WindowFlags.GetFlag(wfFloating) || c->WindowFlags.GetFlag(wfBeingLaidOut)) continue;
    aNextTop += GetCellSpacing();  // a row stands before this one
    break;
  }
}

void TpsTableNode::AdjustWidth() {
  Columns.CellSpacing = GetCellSpacing();
  const Integer tagWidth = OpeningTag ? OpeningTag->Tag->GetWidth() : 0;
  Width = Columns.AdjustWidth(Width, tagWidth, GetHorizontalMargins(), GetHorizontalBorders());
}

Integer TpsTableNode::GetRowCount() const {
  Integer rows = 0;
  for (TpsWindow* c : ChildList()) rows += dynamic_cast<TpsTableRowNode*>(c) ? 1 : 0;
  return rows;
}

TpsTableRowNode* TpsTableNode::GetRow(Integer aRow) const {
  Integer i = 0;
  for (TpsWindow* c : ChildList())
    if (auto* row = dynamic_cast<TpsTableRowNode*>(c))
      if (i++ == aRow) return row;
  return nullptr;
}

TpsTableCellNode* TpsTableNode::GetCell(Integer aRow, Integer aColumn) const {
  TpsTableRowNode* row = GetRow(aRow);
  return row ? row->GetCellNode(aColumn) : nullptr;
}

void TpsTableNode::GetColumnBounds(Integer aColumn, Integer aRowCellCount, Integer aRowWidth, Integer& aLeft,
                                   Integer& aRight) {
  Columns.CellSpacing = GetCellSpacing();
  Columns.GetColumnBounds(aColumn, aRowCellCount, aRowWidth, aLeft, aRight);
}

void RaiseToWidestCharacter(const TpsLineObjects& aItems, TpsMessage& aMessage) {
  for (Integer i = 0; i < aItems.Count(); ++i) {
    const TpsLineItem& item = aItems.GetItem(i);
    if (item.Kind == loText) aMessage.Value = std::max(aMessage.Value, item.Width);
  }
}

Integer TpsTableNode::GetMinContentWidth(Integer aColumn) {
  TpsMessage query(mrCommand, psmQueryMinContentWidth, nullptr);
  query.AutoFree = false;
  for (Integer r = 0; r < GetRowCount(); ++r) {
    // A row without the column (a ragged table) adds nothing.
    TpsTableCellNode* cell = GetCell(r, aColumn);
    if (!cell) continue;
    for (TpsWindow* c : cell->ChildList()) {
      // Lines answer with their widest character; blocks do not answer.
      if (auto* line = dynamic_cast<TpsTextNode*>(c))
        RaiseToWidestCharacter(line->Items(), query);
    }
  }
  return query.Value;
}

TpsDragLimits TpsTableNode::GetDragLimits() {
  TpsDragLimits limits;
  limits.Spacing = GetCellSpacing();
  limits.TableHasWidth = HasWidth();
  limits.AllColumnsInPixels = Columns.ColumnWidths.Count() > 0 && Columns.ColumnWidths.AllOfType(htmldoc::cwtPixels);
  if (TpsTableRowNode* first = GetRow(0))
    for (Integer i = 0; i < first->GetLaidOutCellCount(); ++i) {
      TpsTableCellNode* cell = first->GetCellNode(i);
      limits.Cells.push_back(
          {cell->GetAbsoluteLeft(), cell->GetAbsoluteRight(), cell->GetHorizontalInsets(), GetMinContentWidth(i)});
    }
  return limits;
}

Integer TpsTableNode::GetBoundaryMinX(Integer aColumn) {
  TpsTableCellNode* cell = GetCell(0, aColumn);
  PS_ASSERT(cell);
  return BoundaryMinX({cell->GetAbsoluteLeft(), cell->GetAbsoluteRight(), cell->GetHorizontalInsets(),
                       GetMinContentWidth(aColumn)},
                      GetCellSpacing());
}

Integer TpsTableNode::GetBoundaryMaxX(Integer aColumn) {
  TpsTableCellNode* cell = GetCell(0, aColumn);
  PS_ASSERT(cell);
  return BoundaryMaxX({cell->GetAbsoluteLeft(), cell->GetAbsoluteRight(), cell->GetHorizontalInsets(),
                       GetMinContentWidth(aColumn)},
                      GetCellSpacing());
}

// --- TpsTableRowNode ---

TpsTableRowNode::TpsTableRowNode(TpsWindow* aParent) : TpsDivNode(aParent) {}

void TpsTableRowNode::BeforeDestruction() {
  if (Manager) Manager->RemoveCatchAreas(this, -1);
  TpsDivNode::BeforeDestruction();
}

TpsTableNode* TpsTableRowNode::GetTable() const {
  auto* table = dynamic_cast<TpsTableNode*>(Parent);
  PS_ASSERT(table);
  return table;
}

void TpsTableRowNode::LoadBoxMetrics(bool, bool, bool) {
  MarginLeft = MarginTop = MarginRight = MarginBottom = 0;
  BorderLeft = BorderTop = BorderRight = BorderBottom = 0;
  Padding = {0, 0, 0, 0};
  RecomputeInsets(*this);
}

Integer TpsTableRowNode::GetLaidOutCellCount() const {
  Integer cells = 0;
  for (TpsWindow* c : ChildList()) cells += dynamic_cast<TpsTableCellNode*>(c) ? 1 : 0;
  return cells;
}

TpsTableCellNode* TpsTableRowNode::GetCellNode(Integer aIndex) const {
  Integer i = 0;
  for (TpsWindow* c : ChildList())
    if (auto* cell = dynamic_cast<TpsTableCellNode*>(c))
      if (i++ == aIndex) return cell;
  return nullptr;
}

void TpsTableRowNode::GetContentMetrics(Integer& aLeft, Integer& aNextTop, Integer& aWidth) {
  // The cell being laid out is already the row's last child.
  const Integer column = GetLaidOutCellCount() - 1;
  Integer left = 0, right = -1;
  GetTable()->GetColumnBounds(std::max<Integer>(column, 0), CellCount, Width, left, right);
  aLeft = left;
  aNextTop = InsetTop;
  aWidth = right - left + 1;
}

void TpsTableRowNode::UpdateHeight() {
  Integer tallest = 0;
  for (TpsWindow* c : ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating)) tallest = std::max(tallest, c->Height);
  for (TpsWindow* c : ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating) && c->Height != tallest) c->SetSize(-1, tallest);
  const Integer height = tallest + InsetTop + InsetBottom;
  if (height != Height) SetSize(-1, height);
}

void TpsTableRowNode::InspectContent(TpsDataChunk& aContent) {
  CellCount = aContent.CountBlockTags({htmldoc::TAG_TD, htmldoc::TAG_TH}, 0);
}

void TpsTableRowNode::InspectFollowing(TpsDataChunk& aRest) { LastRow = !TableHasOpeningTag(aRest, {htmldoc::TAG_TR}); }

Integer TpsTableRowNode::GetBoundaryX(Integer aIndex) const {
  PS_ASSERT(aIndex >= 0 && aIndex <= CellCount - 2);
  TpsTableCellNode* left = GetCellNode(aIndex);
  TpsTableCellNode* right = GetCellNode(aIndex + 1);
  PS_ASSERT(left && right);
  return BoundaryX(left->GetAbsoluteRight(), right->GetAbsoluteLeft());
}

Integer TpsTableRowNode::GetCellsWidth() {
  return Width - GetHorizontalMargins() - GetTable()->GetCellSpacing() * (CellCount - 1);
}

void TpsTableRowNode::RegisterResizeAreas() {
  if (!Manager) return;
  Manager->RemoveCatchAreas(this, -1);
  TpsTableNode* table = GetTable();
  const Integer rowLeft = GetAbsoluteLeft();
  const Integer rowTop = GetAbsoluteTop();
  const Integer top = table->GetAbsoluteTop() - rowTop;
  const Integer bottom = top + table->Height - 1;
  const Integer cells = GetLaidOutCellCount();
  for (Integer i = 0; i + 1 < cells; ++i) {
    const Integer x = GetBoundaryX(i) - rowLeft;
    Manager->AddCatchArea(this, i, {x - kResizeAreaHalfWidth, top, x + kResizeAreaHalfWidth, bottom});
  }
  if (table->Columns.ColumnWidths.AllSameType()) {
    const Integer x = table->GetRightEdgeX() - rowLeft;
    Manager->AddCatchArea(this, CellCount - 1, {x - kResizeAreaHalfWidth, top, x + kResizeAreaHalfWidth, bottom});
  }
}

bool TpsTableRowNode::IsValidDragPosition(Integer aBoundary, const TpsPoint& aPoint) {
  return IsValidDragX(GetTable()->GetDragLimits(), aBoundary, aPoint.X);
}

void TpsTableRowNode::StartDrag(Integer aBoundary, const TpsPoint& aPoint) {
  TpsTableNode* table = GetTable();
  Drag.Start(aBoundary, aPoint);
  if (TpsAbstractCanvas* screen = Editor ? Editor->ScreenCanvas() : nullptr)
    if (vcl::TCanvas* device = screen->GetHandle())
      Bar = std::make_unique<TpsVerticalResizingBar>(device, std::max<Integer>(table->GetInnerHeight(), 1), 1);
  if (Manager) {
    Manager->InvalidateWindow(this, false);
    Manager->SetCapture(this);
  }
  if (Editor) Editor->SetMouseAutoScroll(false);
}

void TpsTableRowNode::EndDrag() {
  if (Manager) {
    Manager->ReleaseCapture(this);
    Manager->InvalidateWindow(this, false);
  }
  const Integer boundaryX =
      Drag.Boundary < CellCount - 1 ? GetBoundaryX(Drag.Boundary) : GetTable()->GetRightEdgeX();
  Drag.Release(boundaryX);
  if (Editor) Editor->SetMouseAutoScroll(true);
  FApplyPending = Drag.Delta != 0;
  if (Bar) Bar->Hide();
}

void TpsTableRowNode::HandleMessage(TpsMessage& m) {
  const bool overArea = m.HitCatchArea();
  // Over a catch area the row keeps the message (no redirect to a line).
  if (overArea)
    TpsWindow::HandleMessage(m);
  else
    TpsDivNode::HandleMessage(m);
  if (m.Kind != mrPositional || (m.IsHandled() && !overArea && !Drag.Dragging)) return;
  const TpsPoint point = LocalToAbsolute({m.X, m.Y});
  const bool readOnly = Editor && Editor->ReadOnly();
  switch (m.Id) {
    case psmMouseDown:
      m.MarkHandled(this);
      if (overArea && !readOnly && m.Buttons && m.Buttons->Left && !Drag.Dragging) StartDrag(m.Value, point);
      break;
    case psmMouseUp:
      m.MarkHandled(this);
      if (Drag.Dragging) EndDrag();
      break;
    case psmMouseMove:
      m.MarkHandled(this);
      if (readOnly) break;
      MouseCursor = overArea || Drag.Dragging ? static_cast<vcl::TCursor>(-14) : vcl::crDefault;
      if (Drag.Dragging) {
        Drag.Move(point, IsValidDragPosition(Drag.Boundary, point));
        if (Manager) Manager->InvalidateWindow(this, false);
      }
      break;
    default:
      break;
  }
}

void TpsTableRowNode::Paint(TpsAbstractCanvas& aCanvas, bool aPaintChildren) {
  TpsDivNode::Paint(aCanvas, aPaintChildren);
  if (Drag.Dragging && Bar) {
    const TpsPoint at = AbsoluteToViewport({Drag.BarX(), GetTable()->GetAbsoluteTop() + GetTable()->MarginTop});
    Bar->Hide();
    Bar->MoveTo(at.X, at.Y);
    Bar->Show();
  } else if (FApplyPending) {
    FApplyPending = false;
    Bar.reset();
    QueueResizeTransaction();
  }
}

void TpsTableRowNode::QueueResizeTransaction() {
  TpsTableNode* table = GetTable();
  TpsColumnResizeFacts facts;
  facts.RowTagId = OpeningTag ? OpeningTag->Id : 0;
  facts.Boundary = Drag.Boundary;
  facts.CellCount = CellCount;
  facts.Delta = Drag.Delta;
  facts.RowWidth = Width - GetHorizontalMargins();
  facts.TableWidth = table->Width;
  facts.TableMargins = table->GetHorizontalMargins();
  facts.ParentContentWidth = table->GetParentContentWidth();
  facts.Spacing = table->GetCellSpacing();
  // Queued rather than run here: the relayout frees this row, which must
  // not happen inside its own paint. The manager runs them next.
  if (!Manager) return;
  for (TpsMessagePtr& m : BuildColumnResizeTransaction(facts)) {
    m->Target = Manager->Root();
    Manager->PostMessage(std::move(m));
  }
}

// --- TpsTableCellNode ---

TpsTableCellNode::TpsTableCellNode(TpsWindow* aParent) : TpsDivNode(aParent) { ContainsFloats = true; }

void TpsTableCellNode::HandleMessage(TpsMessage& m) {
  TpsDivNode::HandleMessage(m);
  if (m.IsHandled()) return;
  if (m.Id == psmIsTableCellNode) {
    m.Result = true;
    m.Answer = this;
    m.MarkHandled(this);
  }
}

TpsTableRowNode* TpsTableCellNode::GetRow() const { return dynamic_cast<TpsTableRowNode*>(Parent); }

TpsTableNode* TpsTableCellNode::GetTable() const {
  TpsTableRowNode* row = GetRow();
  return row ? dynamic_cast<TpsTableNode*>(row->Parent) : nullptr;
}

Integer TpsTableCellNode::GetColumn() const {
  TpsTableRowNode* row = GetRow();
  if (!row) return -1;
  Integer i = 0;
  for (TpsWindow* c : row->ChildList()) {
    if (c == this) return i;
    if (dynamic_cast<TpsTableCellNode*>(c)) ++i;
  }
  return -1;
}

void TpsTableCellNode::LoadBoxMetrics(bool, bool aBorders, bool aPadding) {
  TpsDivNode::LoadBoxMetrics(false, aBorders, aPadding);
  TpsCellBoxFacts facts;
  const htmldoc::TpsCSSAttributeList* css = GetStyleAttributes();
  facts.Collapse = css && css->HasAttribute(htmldoc::CSS_BORDER_COLLAPSE) &&
                   css->GetEnumValue(htmldoc::CSS_BORDER_COLLAPSE) == 1;
  TpsTableRowNode* row = GetRow();
  facts.LastRow = row && row->LastRow;
  facts.LastCell = LastCell;
  if (TagStyleId != -1 && Editor && Editor->StyleSheet()) {
    if (htmldoc::TpsStyle* style = Editor->StyleSheet()->GetStyle(TagStyleId)) {
      const htmldoc::TpsCSSAttributeList& a = style->Attributes();
      for (Integer id : {htmldoc::CSS_PADDING, htmldoc::CSS_PADDING_LEFT, htmldoc::CSS_PADDING_TOP,
                         htmldoc::CSS_PADDING_RIGHT, htmldoc::CSS_PADDING_BOTTOM})
        facts.TagStyleSetsPadding = facts.TagStyleSetsPadding || a.HasAttribute(id);
    }
  }
  TpsTableNode* table = GetTable();
  facts.TablePadding = table ? table->GetCellPadding() : -1;
  ApplyCellBoxRules(*this, facts, table ? table->VirtualBorderOptions() : TableDefaultVirtualBorders());
}

void TpsTableCellNode::RequestWidth(Integer aWidth) {
  // Only nested tables ask; text and images never widen a column.
  const Integer needed = aWidth + GetHorizontalInsets();
  if (needed > Width)
    if (TpsTableNode* table = GetTable()) table->RecordExtraWidth(GetColumn(), needed - Width);
}

void TpsTableCellNode::InspectFollowing(TpsDataChunk& aRest) {
  LastCell = !TableHasOpeningTag(aRest, {htmldoc::TAG_TD, htmldoc::TAG_TH});
}

// --- Factory ---

void RegisterTableNodeClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    TpsNodeFactory& factory = NodeFactory();
    const auto code = [](Byte aCode) {
      return [aCode](TpsDataChunk& c) { return TpsDivNode::ChunkStartsWithTag(c, aCode); };
    };
    factory.Register(TpsNodeClass::Table, {code(htmldoc::TAG_TABLE), [](TpsWindow* p) -> TpsWindowPtr {
                                             return NewWindow<TpsTableNode>(p);
                                           }});
    factory.Register(TpsNodeClass::TableRow, {code(htmldoc::TAG_TR), [](TpsWindow* p) -> TpsWindowPtr {
                                                return NewWindow<TpsTableRowNode>(p);
                                              }});
    factory.Register(TpsNodeClass::TableDataCell, {code(htmldoc::TAG_TD), [](TpsWindow* p) -> TpsWindowPtr {
                                                     return NewWindow<TpsTableDataNode>(p);
                                                   }});
    factory.Register(TpsNodeClass::TableHeaderCell, {code(htmldoc::TAG_TH), [](TpsWindow* p) -> TpsWindowPtr {
                                                       return NewWindow<TpsTableHeaderNode>(p);
                                                     }});
  });
}

}  // namespace htmlview
