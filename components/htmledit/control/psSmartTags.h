#pragma once
// Smart tags: fragments of the document's text a handler has recognised and
// marked (a misspelt word, text that looks like an address). A scheduling
// thread walks the laid-out blocks while it holds the document mutex, takes
// a snapshot of each block whose text it has not analysed yet and hands it
// to an analysis thread, which runs the enabled handlers over it; their
// marks come back queued in the snapshot and are applied by the scheduling
// thread. The user-interface thread takes the document back at any moment.
//
// No window code: view nodes and the editor are reached through the two
// interfaces below, so the threads run under ThreadSanitizer as they are.
#include <atomic>
#include <mutex>
#include <functional>
#include <memory>
#include <vector>

#include "htmledit/doc/psContainers.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psDocumentAccess.h"
#include "rtl/Threads.h"

namespace htmledit {

using rtl::AnsiString;
using rtl::Integer;
using rtl::WideString;
using TColor = uint32_t;

class TpsSmartTagAnalysisBlock;
class TpsSmartTagHandler;
class TpsSmartTagThread;

// What a handler attaches to a mark; its meaning is the handler's.
class IpsSmartTagData {
 public:
  virtual ~IpsSmartTagData() = default;
};
using TpsSmartTagDataRef = std::shared_ptr<IpsSmartTagData>;

struct TpsSmartTagInfo {
  AnsiString Text;
  TpsSmartTagDataRef Data;
};

struct TpsPoint2 {
  Integer X = 0, Y = 0;
};
struct TpsRect2 {
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One queued mark: characters First..Last (1-based, in the node's collected
// text) of one text node.
class IpsSmartTagNode;
struct TpsSmartTagMarkRequest {
  IpsSmartTagNode* Node = nullptr;
  Integer First = 0;
  Integer Last = 0;
  Integer MarkId = 0;
  Integer HandlerId = 0;
  TpsSmartTagHandler* Handler = nullptr;
  TpsSmartTagDataRef Data;
};

// A view node as the framework sees it. The view answers through its
// messages: 980 (a block?), 480 (collect text), 500 (clear marks but one
// id), 490 (apply a mark).
class IpsSmartTagNode {
 public:
  virtual bool IsSmartTagBlock() = 0;
  virtual Integer SmartTagChildCount() = 0;
  virtual IpsSmartTagNode* SmartTagChild(Integer aIndex) = 0;
  // A text line adds its text and hash to the block; other nodes nothing.
  virtual void CollectSmartTagText(TpsSmartTagAnalysisBlock& aBlock) = 0;
  virtual void ClearSmartTags(Integer aKeepId) = 0;
  // Applies the mark unless a character of the range is marked already.
  virtual void SetSmartTag(const TpsSmartTagMarkRequest& aMark) = 0;

 protected:
  ~IpsSmartTagNode() = default;
};

// The editor as the framework sees it.
class IpsSmartTagEditor {
 public:
  virtual htmldoc::TpsDocumentAccess& DocumentLock() = 0;
  // The root view node, nullptr without a document.
  virtual IpsSmartTagNode* SmartTagRoot() = 0;
  // The block that holds the caret, nullptr when none does (query 440).
  virtual IpsSmartTagNode* CaretBlock() = 0;
  // Signals the marks-changed event the editor's timer polls.
  virtual void MarksChanged() = 0;
  virtual void SetPainting(bool aOn) = 0;
  virtual TpsSmartTagThread* SmartTagThread() = 0;
  // For a handler's click: select the smart-tag fragment at the caret (false
  // when none), put a tag pair around the selection, replace the fragment's
  // text.
  virtual bool SelectSmartTagFragment() = 0;
  virtual void InsertTagAroundSelection(const AnsiString& aOpeningTag, std::unique_ptr<htmldoc::TpsMarkupTag> aOuter) = 0;
  virtual void ReplaceSmartTagText(const AnsiString& aText) = 0;

 protected:
  ~IpsSmartTagEditor() = default;
};

class TpsSmartTagHandler : public htmldoc::IpsSmartTagHandler {
 public:
  explicit TpsSmartTagHandler(bool aEnabled);
  virtual ~TpsSmartTagHandler() = default;

  virtual void SetEditor(IpsSmartTagEditor* aEditor) { FEditor = aEditor; }
  IpsSmartTagEditor* Editor() const { return FEditor; }
  Integer Id() const { return FId; }
  void SetId(Integer aId) { FId = aId; }
  bool Enabled() const { return FEnabled.load(std::memory_order_acquire); }
  // DoEnabled or DoDisabled only on a change.
  void SetEnabled(bool aEnabled);
  TColor MarkColor() const { return FMarkColor; }
  void SetMarkColor(TColor aColor) { FMarkColor = aColor; }
  const AnsiString& Name() const { return FName; }
  const AnsiString& Description() const { return FDescription; }
  bool HasSetup() const { return FHasSetup; }

  // Marks the block's word aWordIndex; an index outside the list does nothing.
  void MarkWord(TpsSmartTagAnalysisBlock& aBlock, Integer aWordIndex, TpsSmartTagDataRef aData);
  // Marks characters aFirst..aLast (1-based) of the block text, across text
  // nodes, under one mark id.
  void MarkRange(TpsSmartTagAnalysisBlock& aBlock, Integer aFirst, Integer aLast, TpsSmartTagDataRef aData);
  void RestartAnalysis();

  // Runs on the analysis thread over the snapshot only.
  virtual void AnalyzeBlock(TpsSmartTagAnalysisBlock& aBlock) {}
  // Runs on the user-interface thread.
  virtual void SmartTagClicked(const TpsSmartTagInfo& aInfo, const TpsPoint2& aClickPoint,
                               const TpsRect2& aFragmentRect) {}
  virtual void Setup() {}

 protected:
  virtual void DoEnabled();
  virtual void DoDisabled();

  AnsiString FName = "<unnamed>";
  AnsiString FDescription = "<no description available>";
  bool FHasSetup = false;
  TColor FMarkColor = 0x8000;

 private:
  Integer FId = 0;
  IpsSmartTagEditor* FEditor = nullptr;
  std::atomic<bool> FEnabled;
};

class TpsSmartTagHandlerList {
 public:
  explicit TpsSmartTagHandlerList(bool aOwnsHandlers) : FOwns(aOwnsHandlers) {}
  ~TpsSmartTagHandlerList();
  TpsSmartTagHandlerList(const TpsSmartTagHandlerList&) = delete;
  TpsSmartTagHandlerList& operator=(const TpsSmartTagHandlerList&) = delete;

  // With aAssignId the handler's id becomes the new count. Returns its index.
  Integer Add(TpsSmartTagHandler* aHandler, bool aAssignId);
  // Moves the first handler with that id; nothing when none has it.
  void MoveHandler(Integer aId, Integer aNewIndex);
  TpsSmartTagHandler* FindById(Integer aId) const;
  Integer IndexOfId(Integer aId) const;
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TpsSmartTagHandler* Get(Integer aIndex) const { return FItems.at(static_cast<size_t>(aIndex)); }
  const std::vector<TpsSmartTagHandler*>& Items() const { return FItems; }

 private:
  std::vector<TpsSmartTagHandler*> FItems;
  bool FOwns;
};

// Whether a 16-bit character separates words.
bool IsSmartTagSeparator(char16_t aChar);

class TpsSmartTagAnalysisBlock {
 public:
  TpsSmartTagAnalysisBlock(TpsSmartTagThread* aThread, IpsSmartTagNode* aNode);

  // Asks each direct child of the node for its text.
  void Collect();
  // Clears the old marks of the block and splits the words.
  void Prepare();
  void DeliverMarks();
  void DropMarks() { FQueue.clear(); }

  // Called by text lines while collecting: one 16-bit unit per character.
  void AddText(IpsSmartTagNode* aNode, const WideString& aText, uint32_t aHash);

  Integer GetWordCount() const;
  // The word's text in UTF-8; empty outside the list.
  AnsiString GetWord(Integer aIndex) const;
  WideString GetWideWord(Integer aIndex) const;
  const htmldoc::TpsWordList& Words() const { return FWords; }
  const WideString& BlockText() const { return FText; }
  Integer NodeTextCount() const { return static_cast<Integer>(FNodeTexts.size()); }
  const WideString& NodeText(Integer aIndex) const { return FNodeTexts[static_cast<size_t>(aIndex)].Text; }
  IpsSmartTagNode* NodeOfText(Integer aIndex) const { return FNodeTexts[static_cast<size_t>(aIndex)].Node; }
  // The entry whose text holds position aPosition (1-based) of the block
  // text, and the 1-based offset in it; false outside the text.
  bool LocateChar(Integer aPosition, Integer& aEntry, Integer& aOffset) const;
  uint32_t Hash() const { return FHash; }
  IpsSmartTagNode* Node() const { return FNode; }
  const std::vector<TpsSmartTagMarkRequest>& Queue() const { return FQueue; }
  void QueueMark(TpsSmartTagMarkRequest aMark) { FQueue.push_back(std::move(aMark)); }
  Integer NextMarkId();

 private:
  struct TNodeText {
    WideString Text;
    IpsSmartTagNode* Node;
  };
  TpsSmartTagThread* FThread;
  IpsSmartTagNode* FNode;
  uint32_t FHash = 0;
  WideString FText;
  std::vector<TNodeText> FNodeTexts;
  std::vector<Integer> FStarts;  // each entry's first position in the block text
  htmldoc::TpsWordList FWords;
  bool FPrepared = false;
  std::vector<TpsSmartTagMarkRequest> FQueue;
  Integer FKeepMarkId = 0;
};

class TpsSmartTagBlockAnalysisThread : public rtl::TThread {
 public:
  TpsSmartTagBlockAnalysisThread();
  ~TpsSmartTagBlockAnalysisThread() override;

  // Ready must be set and no block present.
  void StartAnalysis(std::unique_ptr<TpsSmartTagAnalysisBlock> aBlock, std::vector<TpsSmartTagHandler*> aHandlers);
  // After done: the block back, and whether a handler raised.
  std::unique_ptr<TpsSmartTagAnalysisBlock> TakeResult(bool& aFailed);
  // The block in progress is dropped (by whichever thread holds it).
  void Abort();
  void Stop();

  htmldoc::TpsEvent& ReadyEvent() { return FReady; }
  htmldoc::TpsEvent& DoneEvent() { return FDone; }

 protected:
  void Execute() override;

 private:
  htmldoc::TpsEvent FStop{true}, FReady{true}, FStart{true}, FAbort{true}, FDone{true};
  std::mutex FSlot;  // the block, the handlers and the finished state
  std::unique_ptr<TpsSmartTagAnalysisBlock> FBlock;
  std::vector<TpsSmartTagHandler*> FHandlers;
  bool FFinished = false;
  bool FFailed = false;
};

class TpsSmartTagThread : public rtl::TThread {
 public:
  explicit TpsSmartTagThread(IpsSmartTagEditor* aEditor);
  ~TpsSmartTagThread() override;

  // The list's own order is the order the handlers run in. Under the
  // document lock. Returns the new id.
  Integer AddHandler(TpsSmartTagHandler* aHandler);
  void MoveHandler(Integer aId, Integer aNewIndex, bool aRestart);
  // Count and handlers: call under the document lock.
  const TpsSmartTagHandlerList& Handlers() const { return FHandlers; }
  void RestartAll();
  void RestartCaretBlock();
  void Stop();
  TColor GetHandlerColor(Integer aHandlerId) const;
  // On the user-interface thread: the handler that marked the fragment is
  // told through Synchronize.
  void SmartTagClicked(Integer aHandlerId, Integer aMarkId, TpsSmartTagDataRef aData, const AnsiString& aText,
                       const TpsRect2& aFragmentRect, const TpsPoint2& aClickPoint);
  Integer NextMarkId();
  Integer LastClickedMarkId() const { return FLastClickedMarkId; }
  bool HasStarted() const { return FStartedFlag.load(); }

  // Tests: called by the scheduling thread each time it has nothing more
  // to do and is about to sleep (the mutex released).
  std::function<void()> OnIdle;
  // Tests: the scan that found a failure left; counts blocks delivered.
  std::atomic<Integer> BlocksDelivered{0};

 protected:
  void Execute() override;

 private:
  bool ScanDocument();
  bool ScanNode(IpsSmartTagNode* aNode, IpsSmartTagNode* aRoot, bool& aDelivered);
  bool AnalyseBlock(IpsSmartTagNode* aNode);
  bool Interrupted();

  IpsSmartTagEditor* FEditor;
  TpsSmartTagHandlerList FHandlers{true};
  htmldoc::TpsSortedLongWordList FAnalysed{true, true, 50, 8};
  std::atomic<Integer> FNextMarkId{1};
  std::atomic<bool> FStartedFlag{false};
  htmldoc::TpsEvent FWake{false}, FStop{true};
  std::unique_ptr<TpsSmartTagBlockAnalysisThread> FAnalysis;
  Integer FLastClickedMarkId = 0;
};

}  // namespace htmledit
