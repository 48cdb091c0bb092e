// The span lists of the caret and of the selection, and the font-style
// query that reads them.
#include "htmledit/control/psCommonAttributes.h"
#include "htmledit/control/psHtmlEdit.h"
#include "htmledit/control/psSpanLists.h"
#include "htmledit/control/psTextSelection.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psBodyNode.h"
#include "htmledit/view/psDocumentNode.h"
#include "htmledit/view/psWindows.h"
#include "rtl/Exceptions.h"

namespace htmledit {

using htmldoc::TpsChunkElement;
using htmlview::TpsMessage;

// --- TpsSpanList ---

TpsMarkupTag* TpsSpanList::GetSpan(Integer aIndex) const {
  RTL_ASSERT_MSG(aIndex >= 0 && aIndex < GetCount(), "Assertion failure");
  return FEntries[static_cast<size_t>(aIndex)].Tag.get();
}

uint32_t TpsSpanList::GetElementId(Integer aIndex) const {
  RTL_ASSERT_MSG(aIndex >= 0 && aIndex < GetCount(), "Assertion failure");
  return FEntries[static_cast<size_t>(aIndex)].ElementId;
}

Integer TpsSpanList::IndexOfName(const AnsiString& aName) const {
  for (Integer i = 0; i < GetCount(); ++i)
    if (FEntries[static_cast<size_t>(i)].Tag->GetName() == aName) return i;
  return -1;
}

TpsMarkupTag* TpsSpanList::FindSpan(const AnsiString& aName) const {
  const Integer i = IndexOfName(aName);
  return i < 0 ? nullptr : GetSpan(i);
}

Integer TpsSpanList::IndexOfTagCode(Byte aTagCode) const { return IndexOfName(htmldoc::TagCodeToName(aTagCode)); }

Integer TpsSpanList::IndexOfText(const AnsiString& aText) const {
  for (Integer i = 0; i < GetCount(); ++i)
    if (FEntries[static_cast<size_t>(i)].Tag->GetText() == aText) return i;
  return -1;
}

bool TpsSpanList::RemoveSpanByName(const AnsiString& aName, bool aEndAtCursor, bool aWithPair) {
  const Integer i = IndexOfName(aName);
  if (i < 0) return false;
  RemoveSpan(i, aEndAtCursor, aWithPair);
  return true;
}

bool TpsSpanList::RemoveSpanByText(const AnsiString& aText, bool aEndAtCursor, bool aWithPair) {
  const Integer i = IndexOfText(aText);
  if (i < 0) return false;
  RemoveSpan(i, aEndAtCursor, aWithPair);
  return true;
}

bool TpsSpanList::RemoveInnermostSpan(bool aWithPair) {
  if (GetCount() == 0) return false;
  RemoveSpan(0, false, aWithPair);
  return true;
}

void TpsSpanList::RemoveSpan(Integer aIndex, bool, bool) {
  RTL_ASSERT_MSG(aIndex >= 0 && aIndex < GetCount(), "Assertion failure");
}

void TpsSpanList::Add(std::unique_ptr<TpsMarkupTag> aTag, uint32_t aElementId) {
  TpsMarkupTag* tag = aTag.get();
  tag->OnChange = [this, tag](htmldoc::TObjectPtr) { ApplyTagChange(tag); };
  FEntries.push_back({std::move(aTag), aElementId});
}

void TpsSpanList::ApplyTagChange(TpsMarkupTag* aTag) {
  Integer index = -1;
  for (Integer i = 0; i < GetCount(); ++i)
    if (FEntries[static_cast<size_t>(i)].Tag.get() == aTag) index = i;
  RTL_ASSERT_MSG(index >= 0, "Assertion failure");
  FEditor->ReplaceElementTag(GetElementId(index), aTag->GetText());
}

// --- The caret's and the selection's lists ---

TpsSpansAroundCursorList::TpsSpansAroundCursorList(TpsHTMLEditBase* aEditor) : TpsSpanList(aEditor) {
  auto* block = dynamic_cast<htmlview::TpsDocumentNode*>(aEditor->GetCursorBlockNode(false));
  if (!block) return;
  std::unique_ptr<htmldoc::TpsDataChunk> copy = block->GetChunk(true);
  if (!copy->GetCursor()) return;
  copy->ForEachInlineTagAroundCursor([this](Integer, TpsChunkElement* aTag) {
    Add(std::make_unique<TpsMarkupTag>(aTag->Tag->GetText()), aTag->Id);
  });
}

void TpsSpansAroundCursorList::RemoveSpan(Integer aIndex, bool aEndAtCursor, bool aWithPair) {
  TpsSpanList::RemoveSpan(aIndex, aEndAtCursor, aWithPair);
  FEditor->RemoveSpanAtCursor(aIndex, aEndAtCursor, aWithPair);
}

TpsSpansAroundSelectionList::TpsSpansAroundSelectionList(TpsHTMLEditBase* aEditor) : TpsSpanList(aEditor) {
  TpsTextSelection* selection = aEditor->Selection();
  if (!selection || !selection->Active() || !aEditor->RootWindow()) return;
  htmlview::TpsWindow* first = nullptr;
  htmlview::TpsWindow* last = nullptr;
  selection->GetTopNodes(first, last);
  TpsCommonAttributeFinder finder;
  for (htmlview::TpsWindow* node = first; node; node = node->NextSibling()) {
    std::vector<AnsiString> texts;
    if (auto* doc = dynamic_cast<htmlview::TpsDocumentNode*>(node)) {
      std::unique_ptr<htmldoc::TpsDataChunk> copy = doc->GetChunk(true);
      for (TpsChunkElement* e = copy->First(); e; e = e->Next)
        if (htmldoc::TpsDataChunk::IsInlineOpenTag(e)) texts.push_back(e->Tag->GetText());
    }
    finder.AddList(texts);
    if (node == last) break;
  }
  for (const AnsiString& text : finder.Common()) Add(std::make_unique<TpsMarkupTag>(text), 0);
}

void TpsSpansAroundSelectionList::RemoveSpan(Integer aIndex, bool aEndAtCursor, bool aWithPair) {
  TpsSpanList::RemoveSpan(aIndex, aEndAtCursor, aWithPair);
  FEditor->RemoveSpanFromSelection(GetSpanText(aIndex));
}

// --- The editor's side ---

TpsSpanList* TpsHTMLEditBase::GetSpansAroundCursor() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FSpansAroundCursor = std::make_shared<TpsSpansAroundCursorList>(this);
  return FSpansAroundCursor.get();
}

TpsSpanList* TpsHTMLEditBase::GetSpansAroundSelection() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  FSpansAroundSelection = std::make_shared<TpsSpansAroundSelectionList>(this);
  return FSpansAroundSelection.get();
}

vcl::TFontStyles TpsHTMLEditBase::GetFontStyleFlags() {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  // Lists of its own, so the ones handed out stay valid.
  std::unique_ptr<TpsSpanList> spans;
  if (HasTextSelection())
    spans = std::make_unique<TpsSpansAroundSelectionList>(this);
  else
    spans = std::make_unique<TpsSpansAroundCursorList>(this);
  vcl::TFontStyles styles;
  if (spans->ContainsSpan("b")) styles.Include(vcl::fsBold);
  if (spans->ContainsSpan("i")) styles.Include(vcl::fsItalic);
  if (spans->ContainsSpan("u")) styles.Include(vcl::fsUnderline);
  return styles;
}

void TpsHTMLEditBase::ReplaceElementTag(uint32_t aElementId, const AnsiString& aTagText) {
  htmldoc::TpsDocumentLockGuard lock(FDocumentLock);
  if (FReadOnly || !RootWindow() || aElementId == 0) return;
  SaveUndoState();
  FCommandSnapshotCount = FUndoList.Count();
  try {
    RunCommand(nullptr, [&] {
      TpsMessage& m = PostCommand(htmlview::psmReplaceElementTag);
      m.ElementId = aElementId;
      m.Text = aTagText;
    });
  } catch (...) {
    FCommandSnapshotCount = -1;
    throw;
  }
  FCommandSnapshotCount = -1;
  NotifyCursorMoved();
  ProcessPendingUpdates();
}

}  // namespace htmledit
