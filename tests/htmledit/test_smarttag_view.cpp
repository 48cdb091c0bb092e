// The view side of smart tags: the scheduling and analysis threads walk a
// tree of real view windows through their stand-ins, asking each window by
// the editor's messages 980, 480, 500 and 490; the lines here answer those
// and 510 and 520 as a text line does, over node lists. Also the editor's
// SmartTags group.
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>

#include "htmledit/control/psSmartTagLink.h"
#include "htmledit/view/psPropertyGroups.h"
#include "htmledit/view/psSmartTagView.h"
#include "rtl/Streams.h"
#include "vcl/Filer.h"
#include "SmartTagLineText.h"

using namespace htmlview;
using htmldoc::TpsChunkElement;
using htmledit::TpsSmartTagDataRef;
using htmledit::TpsSmartTagHandler;

namespace {

class BlockWindow : public TpsWindow {
 public:
  explicit BlockWindow(TpsWindow* aParent) : TpsWindow(aParent) {}
  void HandleMessage(TpsMessage& m) override {
    TpsWindow::HandleMessage(m);
    if (m.Id == psmIsBlockNode) m.Result = true;
  }
};

// A text line over a node list of characters and "br" tags.
class LineWindow : public TpsWindow {
 public:
  LineWindow(TpsWindow* aParent, const std::u16string& aText, bool aEndsWithBr = false) : TpsWindow(aParent) {
    for (char16_t c : aText) chunk.AddCharacter(c);
    if (aEndsWithBr) chunk.AddTag(htmldoc::TpsHtmlTag::CreateFromText(nullptr, "<br />"));
  }

  void HandleMessage(TpsMessage& m) override {
    TpsWindow::HandleMessage(m);
    switch (m.Id) {
      case psmCollectSmartTagText: {
        m.WideText = Text();
        m.ElementId = chunk.GetCharacterIdsCrc();
        m.Result = true;
        ++collected;
        return;
      }
      case psmSetSmartTag: {
        std::vector<TpsChunkElement*> chars = Visible();
        const Integer first = m.GetParam(1), last = m.GetParam(2);
        if (first < 1 || last > static_cast<Integer>(chars.size()) || first > last) return;
        if (chunk.HasSmartTagBetween(chars[first - 1], chars[last - 1])) return;
        chunk.SetSmartTag(chars[first - 1], chars[last - 1], m.SmartTagOption != 0, m.Value, m.SmartTagHandler);
        data[m.Value] = *static_cast<TpsSmartTagDataRef*>(m.Data);
        handlerIds[m.Value] = m.Value2;
        Manager->InvalidateWindow(this, false);
        return;
      }
      case psmClearSmartTags:
        chunk.ClearSmartTagsExcept(m.Value);
        Manager->InvalidateWindow(this, false);
        return;
      case psmGetSmartTagText:
        m.Text += chunk.GetSmartTagText(m.Value);
        return;
      case psmFindSmartTag: {
        auto& range = *static_cast<TpsSelectionRange*>(m.Data);
        TpsChunkElement *first, *last;
        if (!chunk.FindSmartTagRange(m.Value, first, last)) {
          if (range.StartElementID) m.Option = true;
          return;
        }
        // The range names text nodes; this stand-in is where one would be.
        TpsTextNode* self = reinterpret_cast<TpsTextNode*>(this);
        if (!range.StartElementID) {
          range.StartNode = self;
          range.StartElementID = first->Id;
        }
        range.EndNode = self;
        range.EndElementID = last->Id;
        m.Result = true;
        return;
      }
      default:
        return;
    }
  }

  std::vector<TpsChunkElement*> Visible() { return smarttagtest::ShownCharacters(chunk); }
  WideString Text() { return smarttagtest::ShownText(chunk, chunk.Last() && chunk.Last()->Kind == htmldoc::ceTag); }
  // The marking handler's id of each visible character, 0 when unmarked.
  std::vector<Integer> Marks() {
    std::vector<Integer> marks;
    for (TpsChunkElement* e : Visible())
      marks.push_back(e->SmartTag.Marked ? static_cast<TpsSmartTagHandler*>(e->SmartTag.Handler)->Id() : 0);
    return marks;
  }
  Integer MarkIdAt(Integer aIndex) { return Visible()[static_cast<size_t>(aIndex)]->SmartTag.MarkId; }

  htmldoc::TpsDataChunk chunk;
  std::map<Integer, TpsSmartTagDataRef> data;
  std::map<Integer, Integer> handlerIds;
  int collected = 0;
};

class Editor final : public htmledit::IpsSmartTagEditor {
 public:
  Editor() : view(manager), thread(std::make_unique<htmledit::TpsSmartTagThread>(this)) {
    manager.SetRootWindow(NewWindow<BlockWindow>(nullptr));
    thread->OnIdle = [this] {
      std::lock_guard<std::mutex> g(idleLock);
      idleGeneration = scanGeneration;
      idleChanged.notify_all();
    };
  }
  ~Editor() {
    thread->Stop();
    if (thread->Started()) thread->WaitFor();
    thread.reset();
  }
  htmldoc::TpsDocumentAccess& DocumentLock() override { return lock; }
  htmledit::IpsSmartTagNode* SmartTagRoot() override {
    scanGeneration = generation.load();
    return view.Root();
  }
  htmledit::IpsSmartTagNode* CaretBlock() override { return view.NodeFor(caretBlock); }
  void MarksChanged() override { ++marksChanged; }
  void SetPainting(bool aOn) override {
    if (!aOn) paintingSeenOff = true;
    view.SetPainting(aOn);
  }
  htmledit::TpsSmartTagThread* SmartTagThread() override { return thread.get(); }
  bool SelectSmartTagFragment() override { return false; }
  void InsertTagAroundSelection(const AnsiString&, std::unique_ptr<htmldoc::TpsMarkupTag>) override {}
  void ReplaceSmartTagText(const AnsiString&) override {}

  template <class F>
  void Edit(F aChange) {
    htmldoc::TpsDocumentLockGuard g(lock);
    aChange();
    ++generation;
  }
  bool WaitIdle() {
    std::unique_lock<std::mutex> g(idleLock);
    const int wanted = generation.load();
    return idleChanged.wait_for(g, std::chrono::seconds(60), [&] { return idleGeneration >= wanted; });
  }
  TpsWindow* Root() { return manager.Root(); }
  template <class T, class... Args>
  T* Add(TpsWindow* aParent, Args&&... aArgs) {
    return static_cast<T*>(aParent->AddChild(NewWindow<T>(aParent, std::forward<Args>(aArgs)...)));
  }

  htmldoc::TpsDocumentAccess lock;
  TpsWindowManager manager{nullptr};
  TpsSmartTagView view;
  TpsWindow* caretBlock = nullptr;
  std::atomic<int> marksChanged{0};
  std::atomic<bool> paintingSeenOff{false};
  std::atomic<int> generation{1};
  int scanGeneration = 0;
  std::mutex idleLock;
  std::condition_variable idleChanged;
  int idleGeneration = 0;
  std::unique_ptr<htmledit::TpsSmartTagThread> thread;
};

// Marks every word equal to its own, with a data object naming the word.
class WordHandler : public TpsSmartTagHandler {
 public:
  struct Data : htmledit::IpsSmartTagData {
    explicit Data(AnsiString aWord) : word(std::move(aWord)) {}
    AnsiString word;
  };
  explicit WordHandler(AnsiString aWord) : TpsSmartTagHandler(true), word(std::move(aWord)) {}
  void AnalyzeBlock(htmledit::TpsSmartTagAnalysisBlock& aBlock) override {
    for (Integer i = 0; i < aBlock.GetWordCount(); ++i)
      if (aBlock.GetWord(i) == word) MarkWord(aBlock, i, std::make_shared<Data>(word));
  }
  AnsiString word;
};

std::vector<Integer> Expect(std::initializer_list<std::pair<Integer, Integer>> aRuns) {
  std::vector<Integer> marks;
  for (auto [handler, count] : aRuns) marks.insert(marks.end(), static_cast<size_t>(count), handler);
  return marks;
}

}  // namespace

TEST(SmartTagView, ThreadsMarkRealWindowsThroughTheirMessages) {
  Editor editor;
  auto* link = new htmledit::TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
  auto* word = new WordHandler("caf\xc3\xa9");
  for (TpsSmartTagHandler* h : std::vector<TpsSmartTagHandler*>{link, word}) {
    h->SetEditor(&editor);
    editor.thread->AddHandler(h);
  }
  BlockWindow *first = nullptr, *inner = nullptr;
  LineWindow *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
  editor.Edit([&] {
    first = editor.Add<BlockWindow>(editor.Root());
    a = editor.Add<LineWindow>(first, u"  see http://exa", true);  // leading blanks are no text; "br" adds a blank
    b = editor.Add<LineWindow>(first, u"mple.com/x. caf\u00e9");
    inner = editor.Add<BlockWindow>(first);  // nested: a block of its own
    c = editor.Add<LineWindow>(inner, u"(www.tolvane.org) caf\u00e9");
    BlockWindow* other = editor.Add<BlockWindow>(editor.Root());
    d = editor.Add<LineWindow>(other, u"nothing here");
  });
  editor.thread->Start();
  ASSERT_TRUE(editor.WaitIdle());

  // Line a's text is "see http://exa " (br): the address runs on into b up
  // to its blank, less the full stop.
  EXPECT_EQ(a->Text(), u"see http://exa ");
  EXPECT_EQ(a->Marks(), Expect({{0, 4}, {1, 10}}));
  EXPECT_EQ(b->Marks(), Expect({{0, 12}, {2, 4}}));
  EXPECT_EQ(c->Marks(), Expect({{0, 1}, {1, 15}, {0, 2}, {2, 4}}));
  EXPECT_EQ(d->Marks(), Expect({{0, 12}}));
  // The painting was off while the marks went in, and is on again; the
  // marked lines wait to be repainted.
  EXPECT_TRUE(editor.paintingSeenOff.load());
  EXPECT_TRUE(editor.manager.PaintingEnabled);
  EXPECT_TRUE(editor.manager.IsInvalidated(a));
  EXPECT_GT(editor.marksChanged.load(), 0);

  htmldoc::TpsDocumentLockGuard lock(editor.lock);
  // The word handler's data came with its mark; the handler id too.
  const Integer cafe = c->MarkIdAt(18);
  ASSERT_EQ(c->data.count(cafe), 1u);
  EXPECT_EQ(static_cast<WordHandler::Data*>(c->data[cafe].get())->word, "caf\xc3\xa9");
  EXPECT_EQ(c->handlerIds[cafe], word->Id());
  // 510 and 520 read a mark back across lines.
  const Integer url = a->MarkIdAt(4);
  EXPECT_EQ(GetSmartTagText(first, url), "http://exa");
  EXPECT_EQ(GetSmartTagText(inner, c->MarkIdAt(1)), "www.tolvane.org");
  TpsSelectionRange range;
  ASSERT_TRUE(FindSmartTag(first, url, range));
  EXPECT_EQ(range.StartElementID, a->Visible()[4]->Id);
  EXPECT_EQ(range.StartNode, reinterpret_cast<TpsTextNode*>(a));
  EXPECT_EQ(range.EndElementID, a->Visible()[13]->Id);
  EXPECT_FALSE(FindSmartTag(first, 999999, range));
  EXPECT_EQ(range.StartElementID, 0u);
}

// Windows come and go between scans: a freed window's stand-in is
// forgotten at the next walk, a new window gets one, and an edit in the
// caret's block has that block analysed again while the others keep their
// marks and are not asked again.
TEST(SmartTagView, StandInsFollowTheWindowsAndEditedBlocksAreAnalysedAgain) {
  Editor editor;
  auto* link = new htmledit::TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
  link->SetEditor(&editor);
  editor.thread->AddHandler(link);
  BlockWindow *one = nullptr, *two = nullptr;
  LineWindow *a = nullptr, *b = nullptr;
  editor.Edit([&] {
    one = editor.Add<BlockWindow>(editor.Root());
    a = editor.Add<LineWindow>(one, u"www.one.org");
    two = editor.Add<BlockWindow>(editor.Root());
    b = editor.Add<LineWindow>(two, u"plain text");
  });
  editor.thread->Start();
  ASSERT_TRUE(editor.WaitIdle());
  EXPECT_EQ(a->Marks(), Expect({{1, 11}}));
  EXPECT_EQ(editor.view.NodeCount(), 5);  // root, two blocks, two lines
  const int aCollected = a->collected;
  const Integer aMark = a->MarkIdAt(0);

  // The line of block two is replaced by one holding an address; the caret
  // is in that block.
  editor.Edit([&] {
    two->FreeChild(b);
    b = editor.Add<LineWindow>(two, u"see ftp://two.org!");
    editor.caretBlock = two;
  });
  editor.thread->RestartCaretBlock();
  ASSERT_TRUE(editor.WaitIdle());
  EXPECT_EQ(b->Marks(), Expect({{0, 4}, {1, 13}, {0, 1}}));
  EXPECT_EQ(a->Marks(), Expect({{1, 11}}));
  // Block one was collected again (its hash looked up), never cleared and
  // marked again: its marks are the first pass's.
  EXPECT_GT(a->collected, aCollected);
  EXPECT_EQ(a->MarkIdAt(0), aMark);
  EXPECT_EQ(editor.view.NodeCount(), 5);  // the freed line's stand-in is gone

  // A whole block freed: its stand-ins go with it.
  editor.Edit([&] { editor.Root()->FreeChild(one); });
  editor.thread->RestartAll();
  ASSERT_TRUE(editor.WaitIdle());
  EXPECT_EQ(editor.view.NodeCount(), 3);
  EXPECT_EQ(b->Marks(), Expect({{0, 4}, {1, 13}, {0, 1}}));
}

// The editor's SmartTags group: the handler queries answer only while
// smart tags are active, under the document lock; the group stores
// Enabled when it is off.
TEST(SmartTagView, TheSmartTagsGroup) {
  TpsSmartTags standalone;
  EXPECT_TRUE(standalone.Enabled);
  EXPECT_FALSE(standalone.Active());  // no editor
  EXPECT_EQ(standalone.GetCount(), 0);
  EXPECT_EQ(standalone.GetHandler(0), nullptr);

  Editor editor;
  auto* link = new htmledit::TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
  auto* word = new WordHandler("x");
  for (TpsSmartTagHandler* h : std::vector<TpsSmartTagHandler*>{link, word}) {
    h->SetEditor(&editor);
    editor.thread->AddHandler(h);
  }
  TpsSmartTags group(&editor);
  ASSERT_TRUE(group.Active());
  EXPECT_EQ(group.GetCount(), 2);
  EXPECT_EQ(group.GetHandler(0), link);
  EXPECT_EQ(group.GetHandler(1), word);
  EXPECT_THROW(group.GetHandler(2), rtl::Exception);
  EXPECT_EQ(group.GetHandlerByID(2), word);
  EXPECT_EQ(group.GetHandlerByID(7), nullptr);
  group.MoveHandler(2, 0, true);
  EXPECT_EQ(group.GetHandler(0), word);
  EXPECT_EQ(group.GetHandlerByID(1), link);  // ids stay

  group.Enabled = false;
  EXPECT_FALSE(group.Active());
  EXPECT_EQ(group.GetCount(), 0);
  EXPECT_EQ(group.GetHandlerByID(1), nullptr);
  group.MoveHandler(1, 0, false);  // nothing
  group.Enabled = true;
  EXPECT_EQ(group.GetHandler(0), word);

  // Stored only when it differs from its default, read back.
  for (bool enabled : {true, false}) {
    TpsSmartTags from;
    from.Enabled = enabled;
    rtl::TMemoryStream stream;
    {
      vcl::TWriter writer(stream);
      from.DefineProperties(writer, "SmartTags");
    }
    const rtl::Int64 end = stream.Position();
    EXPECT_EQ(end > 0, !enabled);
    stream.SetPosition(0);
    TpsSmartTags to;
    vcl::TReader reader(stream);
    while (stream.Position() < end)
      reader.ReadDefinedProperty("THTMLEdit", [&](vcl::TFiler& f) { to.DefineProperties(f, "SmartTags"); });
    EXPECT_EQ(to.Enabled, enabled);
  }
}
