// The caret's formatting context: the block, custom tag, table and nested
// blocks around it, and the editor's queries that read them.
#include "htmledit/control/psBlockContext.h"
#include "htmledit/control/psCommonAttributes.h"
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psSpanLists.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psTableAccess.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Exceptions.h"

namespace htmledit {

using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;
using htmlview::TpsMessage;
using htmlview::TpsWindow;

namespace {

// A copy of the caret block's node list, or nullptr outside a block.
std::unique_ptr<TpsDataChunk> CaretBlockCopy(TpsHTMLEditBase& aEditor) {
  auto* block = dynamic_cast<htmlview::TpsDocumentNode*>(aEditor.GetCursorBlockNode(false));
  if (!block) return nullptr;
  return block->GetChunk(true);
}

// The tag a document node stands for ("<name ...>"), or empty.
AnsiString NodeOpeningTagText(TpsWindow* aNode) {
  auto* doc = dynamic_cast<htmlview::TpsDocumentNode*>(aNode);
  if (!doc) return AnsiString();
  std::unique_ptr<TpsDataChunk> copy = doc->GetChunk(true);
  TpsChunkElement* first = copy->First();
  return first && first->Kind == htmldoc::ceTag ? first->Tag->GetText() : AnsiString();
}

}  // namespace

// --- TpsCustomTagsAroundCursorList ---

TpsCustomTagsAroundCursorList::TpsCustomTagsAroundCursorList(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  std::unique_ptr<TpsDataChunk> copy = CaretBlockCopy(*FEditor);
  if (!copy) return;
  TpsChunkElement* cursor = copy->GetCursor();
  if (!cursor) return;
  // The pairs still open at the caret; the last one encloses it innermost.
  std::vector<TpsChunkElement*> open;
  for (TpsChunkElement* e = copy->First(); e && e != cursor; e = e->Next) {
    if (TpsDataChunk::IsCustomOpenTag(e))
      open.push_back(e);
    else if (TpsDataChunk::IsCustomCloseTag(e) && !open.empty())
      open.pop_back();
  }
  if (!open.empty()) FTag = std::make_unique<TpsMarkupTag>(open.back()->Tag->CustomSource);
}

// --- TpsBlock ---

TpsBlock::TpsBlock(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {}
TpsBlock::~TpsBlock() = default;

std::unique_ptr<TpsMarkupTag> TpsBlock::BlockTag() {
  if (!FEditor->RootWindow() || !FEditor->FWindowManager->FocusedNode()) return nullptr;
  TpsMessage m(htmlview::mrCommand, htmlview::psmGetBlockTag, nullptr);
  m.AutoFree = false;
  FEditor->FWindowManager->SendToFocusedNode(m);
  if (m.Text.empty()) return nullptr;
  return std::make_unique<TpsMarkupTag>(m.Text);
}

void TpsBlock::Refresh() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  FSpans.reset();
  FCustomTags.reset();
  FClass.clear();
  FTagCode = 0;
  FId.clear();
  std::unique_ptr<TpsMarkupTag> tag = BlockTag();
  if (!tag) return;
  FClass = tag->GetAttribute("class");
  FTagCode = htmldoc::TagNameToCode(tag->GetName());
  FId = tag->GetAttribute("id");
}

TpsSpanList* TpsBlock::GetSpans() {
  if (!FSpans) FSpans = std::make_unique<TpsSpansAroundCursorList>(FEditor);
  return FSpans.get();
}

TpsCustomTagsAroundCursorList* TpsBlock::GetCustomTags() {
  if (!FCustomTags) FCustomTags = std::make_unique<TpsCustomTagsAroundCursorList>(FEditor);
  return FCustomTags.get();
}

void TpsBlock::SetClass(const AnsiString& aName) {
  TpsHTMLEditBase& e = *FEditor;
  htmldoc::TpsDocumentLockGuard lock(e.DocumentLock());
  if (e.FReadOnly || !e.RootWindow() || e.IsImageSelected()) return;
  e.SaveUndoState();
  e.FCommandSnapshotCount = e.FUndoList.Count();
  try {
    e.RunCommand(nullptr, [&] { e.PostCommand(htmlview::psmSetBlockClass).Text = aName; });
  } catch (...) {
    e.FCommandSnapshotCount = -1;
    throw;
  }
  e.FCommandSnapshotCount = -1;
  e.ProcessPendingUpdates();
}

Byte TpsBlock::GetAlignment() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  if (!FEditor->RootWindow()) return 0;
  TpsMessage m(htmlview::mrCommand, htmlview::psmQueryAlignment, nullptr);
  m.AutoFree = false;
  FEditor->FWindowManager->SendToFocusedNode(m);
  return m.IsHandled() && m.Result ? m.Alignment : 0;
}

void TpsBlock::SetAlignment(Byte aAlignment) { FEditor->SetAlignment(aAlignment); }

AnsiString TpsBlock::GetFontFamily() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  htmldoc::TpsStyleSheet& sheet = *FEditor->FStyleSheet;
  AnsiString family;
  if (std::unique_ptr<TpsMarkupTag> tag = BlockTag()) family = htmldoc::GetTagFontFamily(*tag, sheet);
  return family.empty() ? sheet.GetFontFamily("body") : family;
}

htmldoc::TpsFontSizeValue TpsBlock::GetFontSize() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  htmldoc::TpsStyleSheet& sheet = *FEditor->FStyleSheet;
  htmldoc::TpsFontSizeValue size;
  if (std::unique_ptr<TpsMarkupTag> tag = BlockTag()) size = htmldoc::GetTagFontSize(*tag, sheet);
  return size.Value > 0 ? size : sheet.GetFontSize("body");
}

// The block node keeps the colour in its own style and writes it into its
// tag when its content is taken out, so the message goes first and the
// light relayout that reports the change follows.
void TpsBlock::SetBackgroundColor(htmldoc::TColor aColor) {
  TpsHTMLEditBase& e = *FEditor;
  htmldoc::TpsDocumentLockGuard lock(e.DocumentLock());
  if (e.FReadOnly || !e.RootWindow() || !e.GetCursorBlockNode(false)) return;
  e.SaveUndoState();
  e.FCommandSnapshotCount = e.FUndoList.Count();
  try {
    TpsMessage m(htmlview::mrCommand, htmlview::psmSetBackgroundColor, nullptr);
    m.AutoFree = false;
    m.Text = htmldoc::ColorToCssString(aColor);
    e.SendToCursorParent(m);
    e.Relayout(false, true);
  } catch (...) {
    e.FCommandSnapshotCount = -1;
    throw;
  }
  e.FCommandSnapshotCount = -1;
  e.NotifyCursorMoved();
  e.ProcessPendingUpdates();
}

AnsiString TpsBlock::GetStyleText() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  std::unique_ptr<TpsMarkupTag> tag = BlockTag();
  return tag ? tag->GetAttribute("style") : AnsiString();
}

void TpsBlock::ClearStyles() { FEditor->RemoveInlineTags(); }

// --- TpsTable ---

TpsTable::TpsTable(TpsHTMLEditBase* aEditor) : FEditor(aEditor) {}

void TpsTable::Refresh() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  auto* node = dynamic_cast<htmlview::TpsDocumentNode*>(FEditor->GetCursorTableNode(false));
  if (!node) return;
  std::unique_ptr<TpsDataChunk> copy = node->GetChunk(true);
  TpsChunkElement* start = copy->First();
  while (start && TpsDataChunk::TagCodeOf(start) != htmldoc::TAG_TABLE) start = start->Next;
  if (!start) return;
  TpsChunkElement* end = copy->FindPartnerTag(start, nullptr);
  if (!end) return;
  FTag = std::make_unique<TpsMarkupTag>(start->Tag->GetText());
  FTag->OnChange = [this](htmldoc::TObjectPtr) { ApplyTableTag(); };
  FTagElementId = start->Id;
  FId = FTag->GetAttribute("id");
  htmldoc::TpsTableDataAccess table(copy.get(), start, end, FEditor->FStyleSheet.get(), false);
  FCurrentRow = table.GetCurrentRow();
  FCurrentColumn = table.GetCurrentColumn();
  FRowCount = table.GetRowCount();
  FColumnCount = FRowCount > 0 ? table.GetRow(0).GetCellCount() : 0;
  FClassName = table.GetTableClass();
  FStyleText = table.GetTableStyle();
}

// Only while the caret is in a table: the copy's text becomes the table's
// tag as one command, and the values are read again.
void TpsTable::ApplyTableTag() {
  if (!FTag || !FEditor->IsCursorInTable()) return;
  FEditor->ReplaceElementTag(FTagElementId, FTag->GetText());
}

// --- TpsBlocksAroundCursorList ---

void TpsBlocksAroundCursorList::Refresh() {
  htmldoc::TpsDocumentLockGuard lock(FEditor->DocumentLock());
  FTags.Clear();
  TpsWindow* root = FEditor->RootWindow();
  for (TpsWindow* node = FEditor->GetCursorBlockNode(false); node && node != root; node = node->GetParent()) {
    const AnsiString text = NodeOpeningTagText(node);
    if (text.empty()) continue;
    TpsMarkupTag tag(text);
    FTags.AddText("<" + tag.GetName() + ">");
  }
}

// --- The editor's side ---

void TpsHTMLEditBase::RefreshCursorContext() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FCurrentBlock) FCurrentBlock = std::make_shared<TpsBlock>(this);
  if (!FCurrentTable) FCurrentTable = std::make_shared<TpsTable>(this);
  if (!FBlocksAroundCursor) FBlocksAroundCursor = std::make_shared<TpsBlocksAroundCursorList>(this);
  FCursorInBlock = GetCursorBlockNode(false) != nullptr;
  FCursorInTable = GetCursorTableNode(false) != nullptr;
  // Outside a block or a table the last values stay, as the host last saw
  // them.
  if (FCursorInBlock) FCurrentBlock->Refresh();
  if (FCursorInTable) FCurrentTable->Refresh();
  FBlocksAroundCursor->Refresh();
}

bool TpsHTMLEditBase::IsCursorInBlock() { return GetCurrentBlock() != nullptr; }

TpsBlock* TpsHTMLEditBase::GetCurrentBlock() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FCurrentBlock) RefreshCursorContext();
  return FCursorInBlock ? FCurrentBlock.get() : nullptr;
}

bool TpsHTMLEditBase::IsCursorInTable() { return GetCurrentTable() != nullptr; }

TpsTable* TpsHTMLEditBase::GetCurrentTable() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FCurrentTable) RefreshCursorContext();
  return FCursorInTable ? FCurrentTable.get() : nullptr;
}

TpsBlocksAroundCursorList* TpsHTMLEditBase::GetBlocksAroundCursor() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!FBlocksAroundCursor) RefreshCursorContext();
  return FBlocksAroundCursor.get();
}

bool TpsHTMLEditBase::SendToCursorParent(TpsMessage& aMessage) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  TpsWindow* focused = FWindowManager->FocusedNode();
  if (!focused) return false;
  TpsWindow* parent = focused->GetParent();
  if (parent) parent->Broadcast(aMessage, false);
  return true;
}

void TpsHTMLEditBase::GetCursorFontFamily(AnsiString& aName) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  aName.clear();
  if (HasTextSelection()) return;
  TpsBlock* block = GetCurrentBlock();
  if (!block) return;
  TpsSpanList* spans = block->GetSpans();
  for (Integer i = 0; i < spans->GetCount() && aName.empty(); ++i)
    aName = htmldoc::GetTagFontFamily(*spans->GetSpan(i), *FStyleSheet);
  if (aName.empty()) aName = block->GetFontFamily();
}

void TpsHTMLEditBase::GetCursorFontSize(htmldoc::TpsFontSizeValue& aSize) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  aSize = htmldoc::TpsFontSizeValue();
  if (HasTextSelection()) return;
  TpsBlock* block = GetCurrentBlock();
  if (!block) return;
  TpsSpanList* spans = block->GetSpans();
  for (Integer i = 0; i < spans->GetCount() && aSize.Value <= 0; ++i)
    aSize = htmldoc::GetTagFontSize(*spans->GetSpan(i), *FStyleSheet);
  if (aSize.Value <= 0) aSize = block->GetFontSize();
}

void TpsHTMLEditBase::ForEachCommonAttribute(const TpsCommonAttributeCallback& aCallback, TObjectPtr aList) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (!aCallback || !HasTextSelection() || !RootWindow()) return;
  TpsWindow* first = nullptr;
  TpsWindow* last = nullptr;
  FSelection->GetTopNodes(first, last);
  TpsCommonAttributeFinder finder;
  for (TpsWindow* node = first; node; node = node->NextSibling()) {
    std::vector<AnsiString> texts;
    if (auto* doc = dynamic_cast<htmlview::TpsDocumentNode*>(node)) {
      std::unique_ptr<TpsDataChunk> copy = doc->GetChunk(true);
      for (TpsChunkElement* e = copy->First(); e; e = e->Next)
        if (TpsDataChunk::IsInlineOpenTag(e)) texts.push_back(e->Tag->GetText());
    }
    finder.AddList(texts);
    if (node == last) break;
  }
  Integer index = 0;
  for (const AnsiString& text : finder.Common()) aCallback(aList, index++, text);
}

}  // namespace htmledit
