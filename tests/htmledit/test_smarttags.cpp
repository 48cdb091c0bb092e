// Smart tags on the Qt-free core: stand-in blocks and text lines over node
// lists, the scheduling and analysis threads, the link handler. The tests
// wait on the scheduling thread's idle hook, never on a sleep.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "htmledit/control/psSmartTagLink.h"
#include "htmledit/control/psSmartTags.h"
#include "htmledit/doc/psDataChunk.h"
#include "rtl/CodePages.h"
#include "SmartTagLineText.h"

using namespace htmledit;
using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;

namespace {

// A text line over a node list of characters, answering as a view line does:
// its characters (nbsp as a blank), leading blanks left out, a trailing blank
// when it ends with a "br", the CRC-32 of its character ids.
class Line final : public IpsSmartTagNode {
 public:
  explicit Line(const std::u16string& aText, bool aEndsWithBr = false) : endsWithBr(aEndsWithBr) {
    for (char16_t c : aText) chunk.AddCharacter(c);
  }
  bool IsSmartTagBlock() override { return false; }
  Integer SmartTagChildCount() override { return 0; }
  IpsSmartTagNode* SmartTagChild(Integer) override { return nullptr; }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock& aBlock) override {
    aBlock.AddText(this, Text(), chunk.GetCharacterIdsCrc());
  }
  void ClearSmartTags(Integer aKeepId) override { chunk.ClearSmartTagsExcept(aKeepId); }
  void SetSmartTag(const TpsSmartTagMarkRequest& aMark) override {
    std::vector<TpsChunkElement*> chars = Visible();
    if (aMark.First < 1 || aMark.Last > static_cast<Integer>(chars.size()) || aMark.First > aMark.Last) return;
    for (Integer i = aMark.First; i <= aMark.Last; ++i)
      if (chars[i - 1]->SmartTag.Marked) return;
    chunk.SetSmartTag(chars[aMark.First - 1], chars[aMark.Last - 1], true, aMark.MarkId, aMark.Handler);
  }

  std::vector<TpsChunkElement*> Visible() { return smarttagtest::ShownCharacters(chunk); }
  WideString Text() { return smarttagtest::ShownText(chunk, endsWithBr); }
  // Per visible character: the marking handler's id (0 unmarked) and
  // whether a new mark starts there.
  std::vector<std::pair<Integer, bool>> Marks() {
    std::vector<std::pair<Integer, bool>> marks;
    Integer previous = 0;
    for (TpsChunkElement* e : Visible()) {
      const auto& m = e->SmartTag;
      const Integer handler = m.Marked ? static_cast<TpsSmartTagHandler*>(m.Handler)->Id() : 0;
      marks.push_back({handler, m.Marked && m.MarkId != previous});
      previous = m.Marked ? m.MarkId : 0;
    }
    return marks;
  }

  TpsDataChunk chunk;
  bool endsWithBr;
};

class Block final : public IpsSmartTagNode {
 public:
  bool IsSmartTagBlock() override {
    if (raise) throw rtl::Exception("broken block");
    return true;
  }
  Integer SmartTagChildCount() override { return static_cast<Integer>(children.size()); }
  IpsSmartTagNode* SmartTagChild(Integer aIndex) override { return children[static_cast<size_t>(aIndex)]; }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock&) override {}
  void ClearSmartTags(Integer) override {}
  void SetSmartTag(const TpsSmartTagMarkRequest&) override {}
  Line* AddLine(const std::u16string& aText, bool aBr = false) {
    lines.push_back(std::make_unique<Line>(aText, aBr));
    children.push_back(lines.back().get());
    return lines.back().get();
  }
  Block* AddBlock() {
    blocks.push_back(std::make_unique<Block>());
    children.push_back(blocks.back().get());
    return blocks.back().get();
  }
  std::vector<IpsSmartTagNode*> children;
  std::vector<std::unique_ptr<Line>> lines;
  std::vector<std::unique_ptr<Block>> blocks;
  std::atomic<bool> raise{false};
};

class Editor final : public IpsSmartTagEditor {
 public:
  Editor() : thread(std::make_unique<TpsSmartTagThread>(this)) {
    thread->OnIdle = [this] {
      std::lock_guard<std::mutex> g(idleLock);
      idleGeneration = scanGeneration;
      ++idleCount;
      idleChanged.notify_all();
    };
  }
  ~Editor() {
    thread->Stop();
    if (thread->Started()) thread->WaitFor();
    thread.reset();
  }
  htmldoc::TpsDocumentAccess& DocumentLock() override { return lock; }
  IpsSmartTagNode* SmartTagRoot() override {
    // Called with the document mutex held at the start of every scan.
    scanGeneration = generation.load();
    return &root;
  }
  IpsSmartTagNode* CaretBlock() override { return caretBlock; }
  void MarksChanged() override { ++marksChanged; }
  void SetPainting(bool aOn) override {
    if (aOn == painting) ++paintingMisuse;
    painting = aOn;
  }
  TpsSmartTagThread* SmartTagThread() override { return thread.get(); }
  bool SelectSmartTagFragment() override {
    calls.push_back("select");
    return fragmentAtCaret;
  }
  void InsertTagAroundSelection(const AnsiString& aTag, std::unique_ptr<htmldoc::TpsMarkupTag> aOuter) override {
    calls.push_back("insert " + aTag + (aOuter ? " outer " + aOuter->GetText() : ""));
  }
  void ReplaceSmartTagText(const AnsiString& aText) override { calls.push_back("replace " + aText); }

  // A change made under the lock; the next idle after it saw it.
  template <class F>
  void Edit(F aChange) {
    htmldoc::TpsDocumentLockGuard g(lock);
    aChange();
    ++generation;
  }
  // Waits until the scheduling thread went idle after a scan that began
  // after the last Edit.
  bool WaitIdle() {
    std::unique_lock<std::mutex> g(idleLock);
    const int wanted = generation.load();
    return idleChanged.wait_for(g, std::chrono::seconds(60), [&] { return idleGeneration >= wanted; });
  }
  void Start() { thread->Start(); }

  htmldoc::TpsDocumentAccess lock;
  Block root;
  IpsSmartTagNode* caretBlock = nullptr;
  std::atomic<int> marksChanged{0};
  std::atomic<bool> painting{true};
  std::atomic<int> paintingMisuse{0};
  std::vector<AnsiString> calls;
  bool fragmentAtCaret = true;
  std::atomic<int> generation{1};
  int scanGeneration = 0;  // under the document mutex
  std::mutex idleLock;
  std::condition_variable idleChanged;
  int idleGeneration = 0;
  int idleCount = 0;
  std::unique_ptr<TpsSmartTagThread> thread;
};

// Marks every word that equals its word.
class WordHandler : public TpsSmartTagHandler {
 public:
  explicit WordHandler(AnsiString aWord) : TpsSmartTagHandler(true), word(std::move(aWord)) {}
  void AnalyzeBlock(TpsSmartTagAnalysisBlock& aBlock) override {
    ++passes;
    for (Integer i = 0; i < aBlock.GetWordCount(); ++i)
      if (aBlock.GetWord(i) == word) MarkWord(aBlock, i, nullptr);
  }
  AnsiString word;
  std::atomic<int> passes{0};
};

// Marks the words that are longer than four characters, slowly; can be
// held at a gate and made to raise on a given word.
class SlowHandler : public TpsSmartTagHandler {
 public:
  SlowHandler() : TpsSmartTagHandler(true) {}
  void AnalyzeBlock(TpsSmartTagAnalysisBlock& aBlock) override {
    {
      std::unique_lock<std::mutex> g(gateLock);
      entered = true;
      gateChanged.notify_all();
      gateChanged.wait(g, [&] { return open; });
    }
    for (Integer i = 0; i < aBlock.GetWordCount(); ++i) {
      const WideString w = aBlock.GetWideWord(i);
      if (raiseOn.load() && rtl::WideToUtf8(w) == "boom") throw rtl::Exception("handler failure");
      if (w.size() > 4) MarkWord(aBlock, i, nullptr);
      std::this_thread::yield();
    }
  }
  void Close() {
    std::lock_guard<std::mutex> g(gateLock);
    open = false;
    entered = false;
  }
  void Open() {
    std::lock_guard<std::mutex> g(gateLock);
    open = true;
    gateChanged.notify_all();
  }
  bool WaitEntered() {
    std::unique_lock<std::mutex> g(gateLock);
    return gateChanged.wait_for(g, std::chrono::seconds(60), [&] { return entered; });
  }
  std::mutex gateLock;
  std::condition_variable gateChanged;
  bool open = true;
  bool entered = false;
  std::atomic<bool> raiseOn{false};
};

// A block's lines as the analysis sees them, without clearing their marks.
struct Snapshot final : IpsSmartTagNode {
  struct Proxy final : IpsSmartTagNode {
    explicit Proxy(Line* aLine) : line(aLine) {}
    bool IsSmartTagBlock() override { return false; }
    Integer SmartTagChildCount() override { return 0; }
    IpsSmartTagNode* SmartTagChild(Integer) override { return nullptr; }
    void CollectSmartTagText(TpsSmartTagAnalysisBlock& aBlock) override {
      aBlock.AddText(line, line->Text(), line->chunk.GetCharacterIdsCrc());
    }
    void ClearSmartTags(Integer) override {}
    void SetSmartTag(const TpsSmartTagMarkRequest&) override {}
    Line* line;
  };
  explicit Snapshot(Block& aBlock) {
    for (auto& line : aBlock.lines) proxies.push_back(std::make_unique<Proxy>(line.get()));
  }
  bool IsSmartTagBlock() override { return true; }
  Integer SmartTagChildCount() override { return static_cast<Integer>(proxies.size()); }
  IpsSmartTagNode* SmartTagChild(Integer aIndex) override { return proxies[static_cast<size_t>(aIndex)].get(); }
  void CollectSmartTagText(TpsSmartTagAnalysisBlock&) override {}
  void ClearSmartTags(Integer) override {}
  void SetSmartTag(const TpsSmartTagMarkRequest&) override {}
  std::vector<std::unique_ptr<Proxy>> proxies;
};

// What the handlers give over each line's final text on one thread, with
// the first mark on a character winning: per character the handler id and
// whether a mark starts there.
std::map<Line*, std::vector<std::pair<Integer, bool>>> Expected(Block& aRoot,
                                                                const std::vector<TpsSmartTagHandler*>& aHandlers) {
  std::map<Line*, std::vector<std::pair<Integer, bool>>> result;
  std::map<Line*, std::vector<Integer>> markIds;
  std::vector<Block*> blocks;
  std::function<void(Block*)> walk = [&](Block* b) {
    if (b != &aRoot) blocks.push_back(b);
    for (auto& child : b->blocks) walk(child.get());
  };
  walk(&aRoot);
  for (Block* b : blocks) {
    for (auto& line : b->lines) {
      result[line.get()].assign(line->Text().size() - line->endsWithBr, {0, false});
      markIds[line.get()].assign(line->Text().size(), 0);
    }
    // The lines' texts through stand-ins that keep the marks in place.
    Snapshot snapshot(*b);
    TpsSmartTagAnalysisBlock block(nullptr, &snapshot);
    block.Collect();
    block.Prepare();
    for (TpsSmartTagHandler* h : aHandlers)
      if (h->Enabled()) h->AnalyzeBlock(block);
    Integer fakeId = 0;
    for (const auto& mark : block.Queue()) {
      Line* line = static_cast<Line*>(mark.Node);
      auto& ids = markIds[line];
      bool free = true;
      for (Integer i = mark.First; i <= mark.Last; ++i) free = free && ids[i - 1] == 0;
      if (!free) continue;
      ++fakeId;
      for (Integer i = mark.First; i <= mark.Last; ++i) ids[i - 1] = fakeId;
    }
    // Handler ids per mark, in the order the marks were made.
    std::map<Integer, Integer> handlerOfFake;
    {
      std::map<Line*, std::vector<Integer>> shadow;
      for (auto& line : b->lines) shadow[line.get()].assign(line->Text().size(), 0);
      Integer id = 0;
      for (const auto& mark : block.Queue()) {
        auto& s = shadow[static_cast<Line*>(mark.Node)];
        bool free = true;
        for (Integer i = mark.First; i <= mark.Last; ++i) free = free && s[i - 1] == 0;
        if (!free) continue;
        ++id;
        handlerOfFake[id] = mark.HandlerId;
        for (Integer i = mark.First; i <= mark.Last; ++i) s[i - 1] = id;
      }
    }
    for (auto& line : b->lines) {
      auto& ids = markIds[line.get()];
      auto& out = result[line.get()];
      Integer previous = 0;
      for (size_t i = 0; i < out.size(); ++i) {
        out[i] = {ids[i] ? handlerOfFake[ids[i]] : 0, ids[i] != 0 && ids[i] != previous};
        previous = ids[i];
      }
    }
  }
  return result;
}

void ExpectMarksAsOnOneThread(Editor& aEditor) {
  htmldoc::TpsDocumentLockGuard g(aEditor.lock);
  const auto expected = Expected(aEditor.root, aEditor.thread->Handlers().Items());
  for (const auto& [line, marks] : expected)
    EXPECT_EQ(line->Marks(), marks) << rtl::WideToUtf8(line->Text());
}

}  // namespace

TEST(SmartTagWords, SeparatorsSplitWords) {
  Block block;
  block.AddLine(u"it's a \u201Cquote\u201D, x-y_z (a)[b]{c} <d> e!f?g#h/i\\j\tk.l:m;n");
  block.AddLine(u"caf\u00e9\u2019s one\u00A0two", true);
  TpsSmartTagAnalysisBlock analysis(nullptr, &block);
  analysis.Collect();
  analysis.Prepare();
  std::vector<AnsiString> words;
  for (Integer i = 0; i < analysis.GetWordCount(); ++i) words.push_back(analysis.GetWord(i));
  const std::vector<AnsiString> expected = {"it", "s", "a", "quote", "x", "y", "z", "a", "b", "c", "d", "e", "f",
                                            "g",  "h", "i", "j",     "k", "l", "m", "n", "caf\xc3\xa9", "s",
                                            "one", "two"};
  EXPECT_EQ(words, expected);
  // The second line's text: nbsp as a blank, the trailing blank of its "br".
  EXPECT_EQ(analysis.NodeText(1), u"caf\u00e9\u2019s one two ");
  EXPECT_EQ(analysis.Words().GetStringIndex(21), 1);
  EXPECT_EQ(analysis.Words().GetFirstChar(21), 1);
  EXPECT_EQ(analysis.Words().GetLastChar(21), 4);
  EXPECT_EQ(analysis.GetWord(99), "");
  EXPECT_EQ(analysis.GetWord(-1), "");
  // Leading blanks of a line are not its text; the hash is the sum of the lines' CRCs.
  EXPECT_EQ(analysis.Hash(), block.lines[0]->chunk.GetCharacterIdsCrc() + block.lines[1]->chunk.GetCharacterIdsCrc());
}

TEST(SmartTagWords, MarkWordAndMarkRange) {
  Block block;
  Line* a = block.AddLine(u"ab cd");
  Line* b = block.AddLine(u"ef gh");
  TpsSmartTagAnalysisBlock analysis(nullptr, &block);
  analysis.Collect();
  analysis.Prepare();
  WordHandler h("x");
  h.SetId(3);
  h.MarkWord(analysis, 4, nullptr);  // outside the list: nothing
  h.MarkWord(analysis, -1, nullptr);
  EXPECT_TRUE(analysis.Queue().empty());
  h.MarkWord(analysis, 2, nullptr);  // "ef"
  ASSERT_EQ(analysis.Queue().size(), 1u);
  EXPECT_EQ(analysis.Queue()[0].Node, b);
  EXPECT_EQ(analysis.Queue()[0].First, 1);
  EXPECT_EQ(analysis.Queue()[0].Last, 2);
  EXPECT_EQ(analysis.Queue()[0].HandlerId, 3);
  // Across both lines: "cdef" plus the blank is 4..7 of "ab cdef gh".
  h.MarkRange(analysis, 4, 7, nullptr);
  ASSERT_EQ(analysis.Queue().size(), 3u);
  EXPECT_EQ(analysis.Queue()[1].Node, a);
  EXPECT_EQ(analysis.Queue()[1].First, 4);
  EXPECT_EQ(analysis.Queue()[1].Last, 5);
  EXPECT_EQ(analysis.Queue()[2].Node, b);
  EXPECT_EQ(analysis.Queue()[2].First, 1);
  EXPECT_EQ(analysis.Queue()[2].Last, 2);
  EXPECT_EQ(analysis.Queue()[1].MarkId, analysis.Queue()[2].MarkId);
  h.MarkRange(analysis, 7, 4, nullptr);   // reversed
  h.MarkRange(analysis, 0, 3, nullptr);   // before the text
  h.MarkRange(analysis, 9, 11, nullptr);  // past it
  EXPECT_EQ(analysis.Queue().size(), 3u);
  // Delivery: the first mark of a character wins.
  analysis.DeliverMarks();
  EXPECT_EQ(b->Marks()[0], (std::pair<Integer, bool>{3, true}));
  EXPECT_EQ(a->Marks()[3], (std::pair<Integer, bool>{3, true}));
  EXPECT_EQ(a->Marks()[0].first, 0);
}

TEST(SmartTagWords, MarkRangePassesOverEmptyLines) {
  Block block;
  Line* a = block.AddLine(u"ab");
  block.AddLine(u"   ");  // blanks only: no text of its own
  Line* c = block.AddLine(u"cd");
  TpsSmartTagAnalysisBlock analysis(nullptr, &block);
  analysis.Collect();
  analysis.Prepare();
  ASSERT_EQ(analysis.NodeTextCount(), 3);
  EXPECT_EQ(analysis.NodeText(1), u"");
  WordHandler h("x");
  h.MarkRange(analysis, 2, 3, nullptr);
  ASSERT_EQ(analysis.Queue().size(), 2u);
  EXPECT_EQ(analysis.Queue()[0].Node, a);
  EXPECT_EQ(analysis.Queue()[1].Node, c);
  for (const TpsSmartTagMarkRequest& mark : analysis.Queue()) EXPECT_LE(mark.First, mark.Last);
}

TEST(SmartTagHandlers, ListAndEnabledFlag) {
  struct Counting : TpsSmartTagHandler {
    Counting() : TpsSmartTagHandler(false) {}
    void DoEnabled() override { ++on; }
    void DoDisabled() override { ++off; }
    int on = 0, off = 0;
  };
  Counting h;
  EXPECT_EQ(h.Id(), 0);
  EXPECT_EQ(h.MarkColor(), 0x8000u);
  EXPECT_EQ(h.Name(), "<unnamed>");
  EXPECT_EQ(h.Description(), "<no description available>");
  EXPECT_FALSE(h.HasSetup());
  h.SetEnabled(false);
  h.SetEnabled(true);
  h.SetEnabled(true);
  h.SetEnabled(false);
  EXPECT_EQ(h.on, 1);
  EXPECT_EQ(h.off, 1);

  TpsSmartTagHandlerList list(true);
  auto* a = new WordHandler("a");
  auto* b = new WordHandler("b");
  auto* c = new WordHandler("c");
  list.Add(a, true);
  list.Add(b, true);
  list.Add(c, false);
  EXPECT_EQ(a->Id(), 1);
  EXPECT_EQ(b->Id(), 2);
  EXPECT_EQ(c->Id(), 0);
  EXPECT_EQ(list.FindById(2), b);
  EXPECT_EQ(list.IndexOfId(7), -1);
  EXPECT_EQ(list.FindById(7), nullptr);
  list.MoveHandler(2, 0);
  EXPECT_EQ(list.Items(), (std::vector<TpsSmartTagHandler*>{b, a, c}));
  list.MoveHandler(9, 0);  // no such id
  EXPECT_EQ(list.Get(0), b);
}

TEST(SmartTagLink, FindUrl) {
  struct Case {
    const char* name;
    std::u16string text;
    Integer start;
    bool found;
    Integer first, last;
  };
  const Case cases[] = {
      {"www. before a sentence's full stop", u"See www.example.com.", 1, true, 5, 19},
      {"upper case found, positions the text's", u"Go HTTP://EXAMPLE.ORG/X now", 1, true, 4, 23},
      {"mend: mailto: without slashes", u"mail mailto:a@b.org", 1, true, 6, 19},
      {"mend: https", u"at https://a.org", 1, true, 4, 16},
      {"mend: first occurring prefix wins", u"www.a.org and http://b.org", 1, true, 1, 9},
      {"the later address from its start", u"www.a.org and http://b.org", 10, true, 15, 26},
      {"tabs and punctuation do not end it", u"ftp://a\tb,c", 1, true, 1, 11},
      {"mend: trailing punctuation and quotes", u"\"news://a.b?!\", said", 1, true, 2, 11},
      {"mend: unmatched bracket dropped", u"(see http://a.org/x)", 1, true, 6, 19},
      {"matched bracket kept", u"http://w.org/F_(x) y", 1, true, 1, 18},
      {"mend: square bracket", u"[www.a.org]", 1, true, 2, 10},
      {"prefix alone is no address", u"www. and http:// then www.x.y", 1, true, 23, 29},
      {"none", u"nothing here", 1, false, 0, 0},
      {"start below 1", u"www.a.b", 0, false, 0, 0},
      {"start past the end", u"www.a.b", 8, false, 0, 0},
  };
  for (const Case& c : cases) {
    Integer first = 0, last = 0;
    EXPECT_EQ(TpsSmartTagCreateLinkHandler::FindUrl(c.text, c.start, first, last), c.found) << c.name;
    if (c.found) {
      EXPECT_EQ(first, c.first) << c.name;
      EXPECT_EQ(last, c.last) << c.name;
    }
  }
}

TEST(SmartTagLink, ClickBuildsTheLinkFromTheHostsAnswer) {
  Editor editor;
  auto* handler = new TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
  EXPECT_EQ(handler->Name(), "URL Creator");
  EXPECT_EQ(handler->MarkColor(), 0xFF0000u);
  handler->SetEditor(&editor);
  const Integer id = editor.thread->AddHandler(handler);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(editor.thread->GetHandlerColor(id), 0xFF0000u);
  // No callback: nothing.
  editor.thread->SmartTagClicked(id, 5, nullptr, "www.a.org", {}, {});
  EXPECT_TRUE(editor.calls.empty());
  EXPECT_EQ(editor.thread->LastClickedMarkId(), 5);
  AnsiString seenUrl, seenHtml, answer;
  handler->OnCreateLink = [&](TpsSmartTagCreateLinkHandler* aSender, const TpsPoint2& aPoint, const TpsRect2& aRect,
                              const AnsiString& aUrl, AnsiString& aReplacement, AnsiString& aHtml,
                              std::unique_ptr<htmldoc::TpsMarkupTag>& aOuter) {
    EXPECT_EQ(aSender, handler);
    EXPECT_EQ(aPoint.X, 7);
    EXPECT_EQ(aRect.Right, 40);
    seenUrl = aUrl;
    seenHtml = aHtml;
    aReplacement = answer;
    if (!answer.empty()) aOuter = std::make_unique<htmldoc::TpsMarkupTag>("<b>");
  };
  // An empty replacement changes nothing.
  editor.thread->SmartTagClicked(id, 6, nullptr, "http://a.org/\"x<y>", {0, 0, 40, 9}, {7, 3});
  EXPECT_EQ(seenUrl, "http://a.org/\"x<y>");
  EXPECT_EQ(seenHtml, "<a href=\"http://a.org/%22x%3Cy%3E\">");
  EXPECT_TRUE(editor.calls.empty());
  answer = "the site";
  editor.thread->SmartTagClicked(id, 6, nullptr, "www.a.org", {0, 0, 40, 9}, {7, 3});
  EXPECT_EQ(editor.calls, (std::vector<AnsiString>{"select", "insert <a href=\"www.a.org\"> outer <b>",
                                                    "replace the site"}));
  editor.calls.clear();
  editor.fragmentAtCaret = false;
  editor.thread->SmartTagClicked(id, 6, nullptr, "www.a.org", {0, 0, 40, 9}, {7, 3});
  EXPECT_EQ(editor.calls, (std::vector<AnsiString>{"select"}));
}

TEST(SmartTagThreads, MarksEqualOneThreadRunAfterConcurrentEdits) {
  Editor editor;
  auto* link = new TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
  auto* slow = new SlowHandler;
  auto* word = new WordHandler("longer");  // also a slow handler's word: the first in order wins
  for (TpsSmartTagHandler* h : std::vector<TpsSmartTagHandler*>{link, slow, word}) {
    h->SetEditor(&editor);
    editor.thread->AddHandler(h);
  }
  std::mt19937 random(25);
  const std::u16string pieces[] = {u"word ", u"www.site.org ", u"longer ", u"http://a.b/c). ", u"x ", u"(y) "};
  std::vector<Line*> lines;
  editor.Edit([&] {
    for (int b = 0; b < 12; ++b) {
      Block* block = b % 4 == 3 ? editor.root.blocks.back()->AddBlock() : editor.root.AddBlock();
      for (int l = 0; l < 3; ++l) {
        std::u16string text;
        for (int p = 0; p < 4; ++p) text += pieces[random() % 6];
        lines.push_back(block->AddLine(text, l == 1));
      }
    }
  });
  editor.Start();
  ASSERT_TRUE(editor.WaitIdle());
  ExpectMarksAsOnOneThread(editor);
  // Edits while the handlers run: characters typed into random lines.
  for (int step = 0; step < 60; ++step) {
    editor.Edit([&] {
      Line* line = lines[random() % lines.size()];
      TpsChunkElement* at = line->chunk.First();
      for (unsigned k = random() % 5; k && at->Next; --k) at = at->Next;
      const std::u16string insert = pieces[random() % 6];
      for (auto it = insert.rbegin(); it != insert.rend(); ++it) line->chunk.InsertCharacter(*it, at, true);
      editor.caretBlock = nullptr;
    });
    editor.thread->RestartCaretBlock();
  }
  ASSERT_TRUE(editor.WaitIdle());
  ExpectMarksAsOnOneThread(editor);
  EXPECT_GT(editor.marksChanged.load(), 0);
  // Disabling a handler analyses everything again without its marks.
  editor.Edit([&] {});
  word->SetEnabled(false);
  ASSERT_TRUE(editor.WaitIdle());
  ExpectMarksAsOnOneThread(editor);
  // Idle after the last edit is not idle for good: the handler's wake can
  // start one more scan. Once the thread has ended, painting must be on.
  editor.thread->Stop();
  editor.thread->WaitFor();
  EXPECT_EQ(editor.paintingMisuse.load(), 0);
  EXPECT_TRUE(editor.painting.load());
}

TEST(SmartTagThreads, LockMidAnalysisGetsTheDocumentAndTheBlockIsAnalysedAgain) {
  Editor editor;
  auto* slow = new SlowHandler;
  slow->SetEditor(&editor);
  editor.thread->AddHandler(slow);
  Line* line = nullptr;
  editor.Edit([&] { line = editor.root.AddBlock()->AddLine(u"several lengthy words"); });
  slow->Close();
  editor.Start();
  ASSERT_TRUE(slow->WaitEntered());
  // The analysis is held inside the handler; the lock must not wait for it.
  editor.lock.Lock();
  EXPECT_EQ(editor.lock.LockCount(), 1);
  EXPECT_FALSE(editor.lock.YieldEvent().IsSet());
  EXPECT_EQ(line->Marks()[0].first, 0);  // nothing delivered
  ++editor.generation;
  editor.lock.Unlock();
  slow->Open();
  ASSERT_TRUE(editor.WaitIdle());
  ExpectMarksAsOnOneThread(editor);
  EXPECT_EQ(line->Marks()[0], (std::pair<Integer, bool>{1, true}));
}

TEST(SmartTagThreads, RaisingHandlersBlockStaysUnmarkedAndIsRetried) {
  Editor editor;
  auto* word = new WordHandler("plain");
  auto* slow = new SlowHandler;
  for (TpsSmartTagHandler* h : std::vector<TpsSmartTagHandler*>{word, slow}) {
    h->SetEditor(&editor);
    editor.thread->AddHandler(h);
  }
  slow->raiseOn = true;
  Line* bad = nullptr;
  Line* good = nullptr;
  editor.Edit([&] {
    bad = editor.root.AddBlock()->AddLine(u"plain boom lengthy");
    good = editor.root.AddBlock()->AddLine(u"plain lengthy");
  });
  editor.Start();
  ASSERT_TRUE(editor.WaitIdle());
  // The failed pass gave nothing, not even the first handler's mark.
  for (const auto& m : bad->Marks()) EXPECT_EQ(m.first, 0);
  EXPECT_EQ(good->Marks()[0].first, 1);
  EXPECT_EQ(good->Marks()[6].first, 2);
  // Not recorded: the next wake analyses it again.
  slow->raiseOn = false;
  editor.Edit([&] { editor.caretBlock = nullptr; });
  editor.thread->RestartCaretBlock();
  ASSERT_TRUE(editor.WaitIdle());
  ExpectMarksAsOnOneThread(editor);
  EXPECT_EQ(bad->Marks()[0].first, 1);
}

TEST(SmartTagThreads, RaisingScanLeavesTheLockFreeAndPaintingOn) {
  Editor editor;
  auto* word = new WordHandler("a");
  word->SetEditor(&editor);
  editor.thread->AddHandler(word);
  editor.Edit([&] {
    editor.root.AddBlock()->AddLine(u"a b");
    editor.root.AddBlock()->raise = true;
  });
  editor.Start();
  editor.thread->WaitFor();  // the thread ends quietly
  EXPECT_TRUE(editor.thread->Finished());
  EXPECT_TRUE(editor.painting.load());
  EXPECT_TRUE(editor.lock.Mutex().WaitFor(0));
  editor.lock.Mutex().Release();
  editor.lock.Lock();  // the user-interface thread gets the document at once
  EXPECT_FALSE(editor.lock.YieldEvent().IsSet());
  editor.lock.Unlock();
}
