#include "htmledit/control/psSmartTags.h"

#include <algorithm>
#include <limits>

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"

namespace htmledit {

using htmldoc::TpsDocumentLockGuard;
using htmldoc::TpsHandle;

// --- Handlers ---------------------------------------------------------------------

TpsSmartTagHandler::TpsSmartTagHandler(bool aEnabled) : FEnabled(aEnabled) {}

void TpsSmartTagHandler::SetEnabled(bool aEnabled) {
  if (FEnabled.exchange(aEnabled, std::memory_order_acq_rel) == aEnabled) return;
  if (aEnabled)
    DoEnabled();
  else
    DoDisabled();
}

void TpsSmartTagHandler::DoEnabled() { RestartAnalysis(); }
void TpsSmartTagHandler::DoDisabled() { RestartAnalysis(); }

void TpsSmartTagHandler::RestartAnalysis() {
  if (!FEditor) return;
  if (TpsSmartTagThread* thread = FEditor->SmartTagThread()) thread->RestartAll();
}

void TpsSmartTagHandler::MarkWord(TpsSmartTagAnalysisBlock& aBlock, Integer aWordIndex, TpsSmartTagDataRef aData) {
  const htmldoc::TpsWordList& words = aBlock.Words();
  if (aWordIndex < 0 || aWordIndex >= words.GetCount()) return;
  TpsSmartTagMarkRequest mark;
  mark.Node = aBlock.NodeOfText(words.GetStringIndex(aWordIndex));
  mark.First = words.GetFirstChar(aWordIndex);
  mark.Last = words.GetLastChar(aWordIndex);
  mark.MarkId = aBlock.NextMarkId();
  mark.HandlerId = FId;
  mark.Handler = this;
  mark.Data = std::move(aData);
  aBlock.QueueMark(std::move(mark));
}

void TpsSmartTagHandler::MarkRange(TpsSmartTagAnalysisBlock& aBlock, Integer aFirst, Integer aLast,
                                   TpsSmartTagDataRef aData) {
  Integer firstEntry, firstOffset, lastEntry, lastOffset;
  if (!aBlock.LocateChar(aFirst, firstEntry, firstOffset) || !aBlock.LocateChar(aLast, lastEntry, lastOffset)) return;
  if (lastEntry < firstEntry || (lastEntry == firstEntry && lastOffset < firstOffset)) return;
  const Integer id = aBlock.NextMarkId();
  for (Integer entry = firstEntry; entry <= lastEntry; ++entry) {
    // An empty line inside the range has no character to mark.
    if (aBlock.NodeText(entry).empty()) continue;
    TpsSmartTagMarkRequest mark;
    mark.Node = aBlock.NodeOfText(entry);
    mark.First = entry == firstEntry ? firstOffset : 1;
    mark.Last = entry == lastEntry ? lastOffset : static_cast<Integer>(aBlock.NodeText(entry).size());
    mark.MarkId = id;
    mark.HandlerId = FId;
    mark.Handler = this;
    mark.Data = aData;
    aBlock.QueueMark(std::move(mark));
  }
}

TpsSmartTagHandlerList::~TpsSmartTagHandlerList() {
  if (FOwns)
    for (TpsSmartTagHandler* handler : FItems) delete handler;
}

Integer TpsSmartTagHandlerList::Add(TpsSmartTagHandler* aHandler, bool aAssignId) {
  FItems.push_back(aHandler);
  if (aAssignId) aHandler->SetId(Count());
  return Count() - 1;
}

Integer TpsSmartTagHandlerList::IndexOfId(Integer aId) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->Id() == aId) return static_cast<Integer>(i);
  return -1;
}

TpsSmartTagHandler* TpsSmartTagHandlerList::FindById(Integer aId) const {
  const Integer index = IndexOfId(aId);
  return index < 0 ? nullptr : FItems[static_cast<size_t>(index)];
}

void TpsSmartTagHandlerList::MoveHandler(Integer aId, Integer aNewIndex) {
  const Integer index = IndexOfId(aId);
  if (index < 0) return;
  if (aNewIndex < 0 || aNewIndex >= Count()) htmldoc::RaiseListIndexError(aNewIndex);
  TpsSmartTagHandler* handler = FItems[static_cast<size_t>(index)];
  FItems.erase(FItems.begin() + index);
  FItems.insert(FItems.begin() + aNewIndex, handler);
}

// --- Analysis block -------------------------------------------------------------------

namespace {

// The separators below 256, one flag per code, made once.
struct TSeparatorTable {
  bool Flags[256] = {};
  TSeparatorTable() {
    for (char c : std::string_view("<>()[]{}\"',;.:-_!?#/\\ \t")) Flags[static_cast<unsigned char>(c)] = true;
  }
};
const TSeparatorTable kSeparatorTable;

}  // namespace

bool IsSmartTagSeparator(char16_t c) {
  if (c > 255)
    return c == 0x2018 || c == 0x2019 || c == 0x201A || c == 0x201C || c == 0x201D || c == 0x201E ||
           c == 0x2039 || c == 0x203A;
  return kSeparatorTable.Flags[c];
}

TpsSmartTagAnalysisBlock::TpsSmartTagAnalysisBlock(TpsSmartTagThread* aThread, IpsSmartTagNode* aNode)
    : FThread(aThread), FNode(aNode) {}

void TpsSmartTagAnalysisBlock::Collect() {
  FText.clear();
  FNodeTexts.clear();
  FStarts.clear();
  FHash = 0;
  const Integer count = FNode->SmartTagChildCount();
  for (Integer i = 0; i < count; ++i) FNode->SmartTagChild(i)->CollectSmartTagText(*this);
}

bool TpsSmartTagAnalysisBlock::LocateChar(Integer aPosition, Integer& aEntry, Integer& aOffset) const {
  if (aPosition < 1 || aPosition > static_cast<Integer>(FText.size())) return false;
  // The last entry starting at or before the position; empty entries share
  // their start with the next one, which upper_bound passes over.
  const auto after = std::upper_bound(FStarts.begin(), FStarts.end(), aPosition);
  aEntry = static_cast<Integer>(after - FStarts.begin()) - 1;
  aOffset = aPosition - FStarts[static_cast<size_t>(aEntry)] + 1;
  return true;
}

void TpsSmartTagAnalysisBlock::AddText(IpsSmartTagNode* aNode, const WideString& aText, uint32_t aHash) {
  FStarts.push_back(static_cast<Integer>(FText.size()) + 1);
  FText += aText;
  FNodeTexts.push_back({aText, aNode});
  FHash += aHash;  // wraps
}

void TpsSmartTagAnalysisBlock::Prepare() {
  const Integer count = FNode->SmartTagChildCount();
  for (Integer i = 0; i < count; ++i) FNode->SmartTagChild(i)->ClearSmartTags(FKeepMarkId);
  FWords = htmldoc::TpsWordList();
  for (size_t entry = 0; entry < FNodeTexts.size(); ++entry) {
    const WideString& text = FNodeTexts[entry].Text;
    size_t i = 0;
    while (i < text.size()) {
      if (IsSmartTagSeparator(text[i])) {
        ++i;
        continue;
      }
      const size_t first = i;
      while (i < text.size() && !IsSmartTagSeparator(text[i])) ++i;
      FWords.Add(static_cast<Integer>(entry), static_cast<Integer>(first + 1), static_cast<Integer>(i));
    }
  }
  FPrepared = true;
}

Integer TpsSmartTagAnalysisBlock::GetWordCount() const {
  RTL_ASSERT(FPrepared);
  return FWords.GetCount();
}

WideString TpsSmartTagAnalysisBlock::GetWideWord(Integer aIndex) const {
  if (aIndex < 0 || aIndex >= FWords.GetCount()) return {};
  const WideString& text = NodeText(FWords.GetStringIndex(aIndex));
  const Integer first = FWords.GetFirstChar(aIndex);
  return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(FWords.GetLastChar(aIndex) - first + 1));
}

AnsiString TpsSmartTagAnalysisBlock::GetWord(Integer aIndex) const { return rtl::WideToUtf8(GetWideWord(aIndex)); }

Integer TpsSmartTagAnalysisBlock::NextMarkId() { return FThread ? FThread->NextMarkId() : 1; }

void TpsSmartTagAnalysisBlock::DeliverMarks() {
  std::vector<TpsSmartTagMarkRequest> queue = std::move(FQueue);
  FQueue.clear();
  for (const TpsSmartTagMarkRequest& mark : queue)
    if (mark.Node) mark.Node->SetSmartTag(mark);
}

// --- Analysis thread ---------------------------------------------------------------------

TpsSmartTagBlockAnalysisThread::TpsSmartTagBlockAnalysisThread() : rtl::TThread(false) {}

TpsSmartTagBlockAnalysisThread::~TpsSmartTagBlockAnalysisThread() {
  if (Started() && !Finished()) {
    Stop();
    WaitFor();
  }
}

void TpsSmartTagBlockAnalysisThread::StartAnalysis(std::unique_ptr<TpsSmartTagAnalysisBlock> aBlock,
                                                   std::vector<TpsSmartTagHandler*> aHandlers) {
  std::lock_guard<std::mutex> guard(FSlot);
  if (!FReady.IsSet()) throw rtl::EAssertionFailed("TpsSmartTagBlockAnalysisThread.StartAnalysis: Not ready for analysis");
  RTL_ASSERT(!FBlock && !FFinished);
  FDone.ResetEvent();
  FAbort.ResetEvent();
  FBlock = std::move(aBlock);
  FHandlers = std::move(aHandlers);
  FFailed = false;
  FReady.ResetEvent();
  FStart.SetEvent();
}

std::unique_ptr<TpsSmartTagAnalysisBlock> TpsSmartTagBlockAnalysisThread::TakeResult(bool& aFailed) {
  std::lock_guard<std::mutex> guard(FSlot);
  RTL_ASSERT(FFinished);
  FFinished = false;
  FDone.ResetEvent();
  aFailed = FFailed;
  return std::move(FBlock);
}

void TpsSmartTagBlockAnalysisThread::Abort() {
  std::lock_guard<std::mutex> guard(FSlot);
  if (FFinished) {
    // The pass ended before the abort: the result is ours to drop.
    FFinished = false;
    FDone.ResetEvent();
    FBlock.reset();
    return;
  }
  FAbort.SetEvent();
  FStart.ResetEvent();
}

void TpsSmartTagBlockAnalysisThread::Stop() {
  Terminate();
  FStop.SetEvent();
  FAbort.SetEvent();
}

void TpsSmartTagBlockAnalysisThread::Execute() {
  while (!Terminated()) {
    {
      std::lock_guard<std::mutex> guard(FSlot);
      if (!Terminated()) FAbort.ResetEvent();
      RTL_ASSERT(!FBlock || FFinished);
    }
    FReady.SetEvent();
    const TpsHandle signalled = htmldoc::WaitForAnyOfThree(FStart.Handle(), FAbort.Handle(), FStop.Handle());
    if (Terminated()) break;
    if (signalled == FStart.Handle()) {
      TpsSmartTagAnalysisBlock* block;
      std::vector<TpsSmartTagHandler*> handlers;
      {
        std::lock_guard<std::mutex> guard(FSlot);
        FStart.ResetEvent();
        block = FBlock.get();
        handlers = FHandlers;
      }
      if (!block) continue;
      bool failed = false;
      try {
        for (TpsSmartTagHandler* handler : handlers) {
          if (FAbort.IsSet()) break;
          if (handler->Enabled()) handler->AnalyzeBlock(*block);
        }
      } catch (...) {
        // A raising handler fails the whole pass: nothing of it is applied.
        failed = true;
      }
      std::lock_guard<std::mutex> guard(FSlot);
      if (FAbort.IsSet()) {
        FBlock.reset();
      } else {
        if (failed) block->DropMarks();
        FFailed = failed;
        FFinished = true;
        FDone.SetEvent();
      }
    } else {
      std::lock_guard<std::mutex> guard(FSlot);
      if (!FFinished) FBlock.reset();
    }
  }
  std::lock_guard<std::mutex> guard(FSlot);
  FBlock.reset();
}

// --- Scheduling thread ---------------------------------------------------------------------

TpsSmartTagThread::TpsSmartTagThread(IpsSmartTagEditor* aEditor)
    : rtl::TThread(true), FEditor(aEditor), FAnalysis(rtl::MakeThread<TpsSmartTagBlockAnalysisThread>()) {}

TpsSmartTagThread::~TpsSmartTagThread() {
  if (Started() && !Finished()) {
    Stop();
    WaitFor();
  }
  FAnalysis->Stop();
  FAnalysis->WaitFor();
  FAnalysis.reset();
}

Integer TpsSmartTagThread::AddHandler(TpsSmartTagHandler* aHandler) {
  TpsDocumentLockGuard lock(FEditor->DocumentLock());
  FHandlers.Add(aHandler, true);
  return aHandler->Id();
}

void TpsSmartTagThread::MoveHandler(Integer aId, Integer aNewIndex, bool aRestart) {
  TpsDocumentLockGuard lock(FEditor->DocumentLock());
  FHandlers.MoveHandler(aId, aNewIndex);
  if (aRestart) RestartAll();
}

void TpsSmartTagThread::RestartAll() {
  TpsDocumentLockGuard lock(FEditor->DocumentLock());
  FAnalysed.Clear(true);
  FWake.SetEvent();
}

void TpsSmartTagThread::RestartCaretBlock() {
  TpsDocumentLockGuard lock(FEditor->DocumentLock());
  if (IpsSmartTagNode* block = FEditor->CaretBlock()) {
    TpsSmartTagAnalysisBlock snapshot(this, block);
    snapshot.Collect();
    FAnalysed.Remove(snapshot.Hash());
  }
  FWake.SetEvent();
}

void TpsSmartTagThread::Stop() {
  Terminate();
  FStop.SetEvent();
}

TColor TpsSmartTagThread::GetHandlerColor(Integer aHandlerId) const {
  const TpsSmartTagHandler* handler = FHandlers.FindById(aHandlerId);
  return handler ? handler->MarkColor() : 0x8000;
}

Integer TpsSmartTagThread::NextMarkId() {
  Integer id = FNextMarkId.load();
  Integer next;
  do next = id == std::numeric_limits<Integer>::max() ? 1 : id + 1;
  while (!FNextMarkId.compare_exchange_weak(id, next));
  return id;
}

void TpsSmartTagThread::SmartTagClicked(Integer aHandlerId, Integer aMarkId, TpsSmartTagDataRef aData,
                                        const AnsiString& aText, const TpsRect2& aFragmentRect,
                                        const TpsPoint2& aClickPoint) {
  FLastClickedMarkId = aMarkId;
  TpsSmartTagHandler* handler = FHandlers.FindById(aHandlerId);
  if (!handler) return;
  TpsSmartTagInfo info{aText, std::move(aData)};
  rtl::Synchronize([&] { handler->SmartTagClicked(info, aClickPoint, aFragmentRect); });
}

bool TpsSmartTagThread::Interrupted() {
  return FEditor->DocumentLock().YieldEvent().IsSet() || FStop.IsSet();
}

bool TpsSmartTagThread::AnalyseBlock(IpsSmartTagNode* aNode) {
  auto block = std::make_unique<TpsSmartTagAnalysisBlock>(this, aNode);
  block->Collect();
  const uint32_t hash = block->Hash();
  if (FAnalysed.Contains(hash)) return false;
  htmldoc::TpsEvent& yield = FEditor->DocumentLock().YieldEvent();
  if (htmldoc::WaitForAnyOfThree(FAnalysis->ReadyEvent().Handle(), yield.Handle(), FStop.Handle()) !=
      FAnalysis->ReadyEvent().Handle())
    return false;
  block->Prepare();
  // The analysis runs over a copy of the list taken now, under the mutex.
  FAnalysis->StartAnalysis(std::move(block), FHandlers.Items());
  if (htmldoc::WaitForAnyOfThree(FAnalysis->DoneEvent().Handle(), yield.Handle(), FStop.Handle()) !=
      FAnalysis->DoneEvent().Handle()) {
    FAnalysis->Abort();
    return false;
  }
  bool failed = false;
  block = FAnalysis->TakeResult(failed);
  if (failed || !block) return false;
  block->DeliverMarks();
  FAnalysed.Add(hash);
  BlocksDelivered.fetch_add(1);
  return true;
}

bool TpsSmartTagThread::ScanNode(IpsSmartTagNode* aNode, IpsSmartTagNode* aRoot, bool& aDelivered) {
  if (!aNode->IsSmartTagBlock()) return false;
  if (aNode != aRoot && AnalyseBlock(aNode)) aDelivered = true;
  if (Interrupted()) return true;
  const Integer count = aNode->SmartTagChildCount();
  for (Integer i = 0; i < count; ++i) {
    if (Interrupted()) return true;
    if (ScanNode(aNode->SmartTagChild(i), aRoot, aDelivered)) return true;
  }
  return false;
}

bool TpsSmartTagThread::ScanDocument() {
  IpsSmartTagNode* root = FEditor->SmartTagRoot();
  if (!root) return false;
  bool delivered = false;
  const bool interrupted = ScanNode(root, root, delivered);
  if (delivered && !interrupted) FEditor->MarksChanged();
  return interrupted;
}

void TpsSmartTagThread::Execute() {
  FStartedFlag.store(true);
  htmldoc::TpsDocumentAccess& access = FEditor->DocumentLock();
  access.SetWorkerThreadId(rtl::CurrentThreadId());
  htmldoc::TpsMutex& mutex = access.Mutex();
  try {
    while (!Terminated()) {
      const TpsHandle signalled = htmldoc::WaitForAnyOfTwo(mutex.Handle(), FStop.Handle());
      if (signalled != mutex.Handle()) break;
      if (Terminated()) {
        mutex.Release();
        break;
      }
      bool interrupted;
      FEditor->SetPainting(false);
      try {
        interrupted = ScanDocument();
      } catch (...) {
        // Never end with the document held or the view unpainted.
        FEditor->SetPainting(true);
        mutex.Release();
        throw;
      }
      FEditor->SetPainting(true);
      mutex.Release();
      if (interrupted) {
        std::this_thread::yield();
        continue;
      }
      if (OnIdle) OnIdle();
      htmldoc::WaitForAnyOfTwo(FWake.Handle(), FStop.Handle());
    }
  } catch (...) {
    // The thread ends quietly.
  }
  if (OnIdle) OnIdle();
}

}  // namespace htmledit
