// Live spelling in the HTML editor: the spell handler registered with a
// real editor as the main window registers it (enabled, colour 255), over
// the component and American.adm. Once the scheduling thread is idle each
// block's marks are exactly the words of the editor's split that the
// component rejects, computed here from the block texts; the popup's Add,
// Ignore All and suggestion through its events.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "DialogTestSupport.h"
#include "htmledit/editor/EditorFixture.h"
#include "htmledit/editor/EditorSmartTags.h"
#include "htmledit/view/psTextNode.h"
#include "htmledit/view/psTextWalk.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3Text.h"
#include "spell/html/psSpellChecker.h"
#include "spell/lx3SpellDialog.h"

using namespace spell;
using namespace spell_dialog_test;
using htmledittest::BlockMarks;
using htmledittest::EditorOnForm;
using htmledittest::SmartTagIdle;

namespace {

const char* const kManual = "/usr/share/doc/apache2-doc/manual/en/";

std::string ReadPage(const std::string& aName) {
  std::ifstream in(std::string(kManual) + aName, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The separators of the editor's word split, written out here.
bool SeparatesWords(char16_t c) {
  static const std::u16string ascii = u"<>()[]{}\"',;.:-_!?#/\\ \t";
  static const std::u16string quotes = u"\u2018\u2019\u201A\u201C\u201D\u201E\u2039\u203A";
  return ascii.find(c) != std::u16string::npos || quotes.find(c) != std::u16string::npos;
}

struct Word {
  size_t First, Last;  // positions in the block text
  AnsiString Text;
};

// The words of a block, each line on its own.
std::vector<Word> SplitWords(const BlockMarks& b) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < b.Text.size()) {
    if (SeparatesWords(b.Text[i])) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j + 1 < b.Text.size() && !SeparatesWords(b.Text[j + 1]) && b.Line[j + 1] == b.Line[i]) ++j;
    words.push_back({i, j, rtl::WideToUtf8(b.Text.substr(i, j - i + 1))});
    i = j + 1;
  }
  return words;
}

// Every block's marks are the words the component rejects, all of the
// handler (nothing marked when aHandlerId is 0). Answers the rejected
// words seen.
std::vector<AnsiString> ExpectSpellingMarks(htmledit::TpsHTMLEditBase* aEditor, TLexaSpell3& aSpell,
                                            Integer aHandlerId) {
  std::vector<AnsiString> rejected;
  for (const BlockMarks& b : htmledittest::ReadBlockMarks(aEditor)) {
    std::vector<Integer> expected(b.Text.size(), 0);
    for (const Word& w : SplitWords(b)) {
      if (aSpell.WordAcceptable(w.Text)) continue;
      rejected.push_back(w.Text);
      for (size_t k = w.First; k <= w.Last; ++k) expected[k] = aHandlerId;
    }
    EXPECT_EQ(b.Handler, expected) << rtl::WideToUtf8(b.Text);
  }
  return rejected;
}

// The block, line and element where a word of the page first stands.
bool FindWord(htmledit::TpsHTMLEditBase* aEditor, const char* aWord, BlockMarks& aBlock, size_t& aAt) {
  for (BlockMarks& b : htmledittest::ReadBlockMarks(aEditor))
    for (const Word& w : SplitWords(b))
      if (w.Text == aWord) {
        aBlock = b;
        aAt = w.First;
        return true;
      }
  return false;
}

// The popup answered through its events: the items it offered, and the
// choice made (a tag, and the caption for a suggestion).
struct PopupScript {
  explicit PopupScript(TLexaSpell3& aSpell) {
    aSpell.OnPopupCreateMenu = [](void*, void*, void*& menu) { menu = reinterpret_cast<void*>(1); };
    aSpell.OnPopupAddMenuItem = [this](void*, void*, void*, const AnsiString& caption, bool, bool, Integer tag,
                                       void*& item) {
      items.push_back({tag, caption});
      item = nullptr;
    };
    aSpell.OnPopupDoMenu = [this](void*, void*, Integer x, Integer y, Integer& tag, AnsiString& caption) {
      shownAt = {x, y};
      ++shown;
      tag = chooseTag;
      caption.clear();
      for (auto& [t, c] : items)
        if (t == chooseTag && (chooseCaption.empty() || c == chooseCaption)) {
          caption = c;
          break;
        }
    };
  }
  std::vector<std::pair<Integer, AnsiString>> items;
  Integer chooseTag = 0;
  AnsiString chooseCaption;
  vcl::TPoint shownAt{0, 0};
  int shown = 0;
};

struct LiveEditor {
  explicit LiveEditor(const char* aName) : scratch(aName, true, vcl::Application), idle(f.Editor) {
    handler = new TpsSmartTagSpellchecker(&scratch.spell, true, 255);
    id = f.Editor->AddSmartTagHandler(handler);
  }
  ~LiveEditor() { idle.Detach(); }
  ScratchSpell scratch;
  EditorOnForm f{600, 400};
  SmartTagIdle idle;
  TpsSmartTagSpellchecker* handler;
  Integer id;
};

// Ends the program with a message when the test it guards has not ended
// within its bound: a deadlock between the threads then fails the run
// instead of holding it up.
class Watchdog {
 public:
  Watchdog(const char* aWhat, std::chrono::seconds aBound)
      : FThread([this, aWhat, aBound] {
          std::unique_lock<std::mutex> l(FLock);
          if (!FDone.wait_for(l, aBound, [this] { return FEnded; })) {
            std::fprintf(stderr, "%s: still running after %lld s, taken as a deadlock\n", aWhat,
                         static_cast<long long>(aBound.count()));
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> l(FLock);
      FEnded = true;
    }
    FDone.notify_all();
    FThread.join();
  }

 private:
  std::mutex FLock;
  std::condition_variable FDone;
  bool FEnded = false;
  std::thread FThread;
};

// Typing as the keyboard does: one key event per character, sent to the
// editor's window.
void TypeKeys(htmledit::TpsHTMLEditBase* aEditor, const QString& aText) {
  for (QChar c : aText) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(aEditor->Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(aEditor->Widget(), &release);
    vcl::Application->ProcessMessages();
  }
}

// A component the handler frees, since nothing owns it.
class CountedSpell : public TLexaSpell3 {
 public:
  explicit CountedSpell(bool& aFreed) : TLexaSpell3(nullptr), FFreed(aFreed) {}
  ~CountedSpell() override { FFreed = true; }

 private:
  bool& FFreed;
};

}  // namespace

TEST(HtmlLiveSpelling, TheHandlerAsTheMainWindowMakesIt) {
  ScratchSpell s("html_live_make", true, vcl::Application);
  {
    TpsSmartTagSpellchecker h(&s.spell, true, 255);
    EXPECT_EQ(h.Name(), "Spellchecker");
    EXPECT_EQ(h.Description().rfind("Lexa Live-spellchecker (", 0), 0u);
    EXPECT_NE(h.Description().find("example.org"), std::string::npos);
    EXPECT_TRUE(h.HasSetup());
    EXPECT_TRUE(h.Enabled());
    EXPECT_EQ(h.MarkColor(), 255u);
    EXPECT_EQ(h.Spell(), &s.spell);
    EXPECT_TRUE(h.IsMisspelt("sentense"));
    EXPECT_FALSE(h.IsMisspelt("sentence"));
  }
  // Owned, the component stays; without an owner the handler frees it.
  bool freed = false;
  { TpsSmartTagSpellchecker h(new CountedSpell(freed), false, 255); }
  EXPECT_TRUE(freed);
  // No component fails the constructor's check, naming the unit.
  try {
    TpsSmartTagSpellchecker h(nullptr, true, 255);
    ADD_FAILURE() << "no check";
  } catch (const rtl::EAssertionFailed& e) {
    EXPECT_NE(std::string(e.Message()).find("psSpellChecker"), std::string::npos) << e.Message();
  }
}

TEST(HtmlLiveSpelling, MarksAreTheRejectedWordsOfEachBlockOnManualPages) {
  LiveEditor e("html_live_manual");
  for (const char* page : {"bind.html", "urlmapping.html", "sections.html"}) {
    SCOPED_TRACE(page);
    const std::string html = ReadPage(page);
    ASSERT_FALSE(html.empty()) << "apache2-doc's English manual is needed";
    e.f.Editor->LoadHTML(html);
    ASSERT_TRUE(e.idle.Settle());
    const std::vector<AnsiString> rejected = ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id);
    // The manual's directive names and the like: plenty to mark.
    EXPECT_GT(rejected.size(), 20u);
  }

  // As for a page whose "spellchecker" meta tag says "false": disabled, no
  // block keeps a mark; enabled again, they return.
  e.handler->SetEnabled(false);
  ASSERT_TRUE(e.idle.Settle());
  ExpectSpellingMarks(e.f.Editor, e.scratch.spell, 0);
  e.handler->SetEnabled(true);
  ASSERT_TRUE(e.idle.Settle());
  EXPECT_GT(ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id).size(), 20u);
}

TEST(HtmlLiveSpelling, ThePopupAddsIgnoresAllAndReplacesTheClickedWordOnly) {
  LiveEditor e("html_live_popup");
  PopupScript popup(e.scratch.spell);
  e.f.Editor->LoadHTML(
      "<p>This sentense has a mistake, and a paragraf follows.</p>"
      "<p>Another paragraf, a sentense again and a wurd.</p>");
  ASSERT_TRUE(e.idle.Settle());
  std::vector<AnsiString> rejected = ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id);
  EXPECT_EQ(rejected, (std::vector<AnsiString>{"sentense", "paragraf", "paragraf", "sentense", "wurd"}));
  const std::string loaded = e.f.Body();

  // A suggestion for the first "sentense": only that word changes.
  BlockMarks b;
  size_t at = 0;
  ASSERT_TRUE(FindWord(e.f.Editor, "sentense", b, at));
  popup.chooseTag = 7;
  popup.chooseCaption = "sentence";
  htmledittest::RightClickCharacter(e.f.Editor, b.Line[at + 2], b.Element[at + 2]);
  EXPECT_EQ(popup.shown, 1);
  // Offered: the suggestions, then Ignore All and Add; no Ignore.
  std::vector<Integer> tags;
  for (auto& [tag, caption] : popup.items) tags.push_back(tag);
  EXPECT_NE(std::find(tags.begin(), tags.end(), 7), tags.end());
  EXPECT_NE(std::find(tags.begin(), tags.end(), 5), tags.end());
  EXPECT_NE(std::find(tags.begin(), tags.end(), 4), tags.end());
  EXPECT_EQ(std::find(tags.begin(), tags.end(), 6), tags.end());
  // Below the fragment, at its left edge, on the screen.
  const vcl::TPoint origin = e.f.Editor->ClientToScreen(vcl::TPoint{0, 0});
  EXPECT_GT(popup.shownAt.Y, origin.Y);
  EXPECT_GT(popup.shownAt.X, origin.X);
  EXPECT_EQ(e.f.Body(),
            "<p>This sentence has a mistake, and a paragraf follows.</p>"
            "<p>Another paragraf, a sentense again and a wurd.</p>");
  ASSERT_TRUE(e.idle.Settle());
  rejected = ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id);
  EXPECT_EQ(rejected, (std::vector<AnsiString>{"paragraf", "paragraf", "sentense", "wurd"}));
  // On a freshly loaded page the editor's undo brings the word back.
  e.f.Editor->Undo();
  EXPECT_EQ(e.f.Body(), loaded);

  // Add: into the active custom dictionary; no block marks it any more.
  popup.items.clear();
  popup.chooseTag = 4;
  popup.chooseCaption.clear();
  ASSERT_TRUE(e.idle.Settle());
  ASSERT_TRUE(FindWord(e.f.Editor, "paragraf", b, at));
  htmledittest::RightClickCharacter(e.f.Editor, b.Line[at], b.Element[at]);
  ASSERT_TRUE(e.scratch.spell.ActiveCustomDictionary());
  EXPECT_TRUE(e.scratch.spell.WordAcceptable("paragraf"));
  ASSERT_TRUE(e.idle.Settle());
  rejected = ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id);
  EXPECT_EQ(rejected, (std::vector<AnsiString>{"sentense", "sentense", "wurd"}));

  // Ignore All: through the internal dictionary, for the rest of the run.
  popup.chooseTag = 5;
  ASSERT_TRUE(FindWord(e.f.Editor, "wurd", b, at));
  htmledittest::RightClickCharacter(e.f.Editor, b.Line[at + 1], b.Element[at + 1]);
  std::string engineWord;
  ASSERT_TRUE(ToEngineText("wurd", engineWord));
  EXPECT_TRUE(e.scratch.spell.InternalDictionary()->IsIgnored(engineWord));
  ASSERT_TRUE(e.idle.Settle());
  rejected = ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id);
  EXPECT_EQ(rejected, (std::vector<AnsiString>{"sentense", "sentense"}));
  // Cancelled: the page stays as it is.
  popup.chooseTag = 0;
  ASSERT_TRUE(FindWord(e.f.Editor, "sentense", b, at));
  const std::string before = e.f.Body();
  htmledittest::RightClickCharacter(e.f.Editor, b.Line[at], b.Element[at]);
  EXPECT_EQ(e.f.Body(), before);
}

// What the user sees: a red zig-zag under each rejected word, on its
// baseline, as wide as the word, and nothing red under an accepted one.
TEST(HtmlLiveSpelling, ARejectedWordIsUnderlinedRedOnTheScreen) {
  LiveEditor e("html_live_pixels");
  e.f.Editor->LoadHTML("<p>Fine words, one sentense, more fine words.</p>");
  ASSERT_TRUE(e.idle.Settle());
  ASSERT_EQ(ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id), (std::vector<AnsiString>{"sentense"}));
  const QImage image = htmledittest::Grab(e.f.Editor);
  image.save(QString::fromStdString(std::string(TOLVANE_BIN_DIR) + "/spell_live_underline.png"));
  // The word's place on the screen, from the editor's own search.
  ASSERT_TRUE(e.f.Editor->FindText("sentense", false, true, true));
  htmldoc::TpsRect word{0, 0, 0, 0};
  e.f.Editor->GetSelectionRect(word);
  ASSERT_GT(word.Right, word.Left);
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (htmledittest::PixelAt(image, x, y) != vcl::TColor(255)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  ASSERT_GE(right, 0) << "no red on the screen";
  EXPECT_NEAR(left, word.Left, 2);
  EXPECT_NEAR(right, word.Right, 3);
  // A zig-zag three pixels high, in the word's lower part.
  EXPECT_LE(bottom - top, 2);
  EXPECT_GT(top, (word.Top + word.Bottom) / 2);
  EXPECT_LE(bottom, word.Bottom + 2);
}

TEST(HtmlLiveSpelling, TypingAndACheckRunBesideLiveSpellingEndAndLeaveTheRuleKept) {
  // Far beyond the test's own time; reached only when the threads hang.
  Watchdog watchdog("TypingAndACheckRunBesideLiveSpelling", std::chrono::seconds(90));
  LiveEditor e("html_live_both_locks");
  std::string page = ReadPage("sections.html");
  ASSERT_FALSE(page.empty()) << "apache2-doc's English manual is needed";
  const size_t body = page.find("<body");
  ASSERT_NE(body, std::string::npos);
  page.insert(page.find('>', body) + 1, "<p>Ths is a tset of the spelling, a chekcer and a tset again.</p>");
  e.f.Editor->LoadHTML(page);
  e.f.Editor->SetFocus();
  vcl::Application->ProcessMessages();

  // Typing at the page's end while the thread is still analysing the
  // long page.
  QTest::keyClick(e.f.Editor->Widget(), Qt::Key_End, Qt::ControlModifier);
  vcl::Application->ProcessMessages();
  TypeKeys(e.f.Editor, QStringLiteral(" Plainn wurds typd"));

  // A check run waits in its modeless dialog on the first mistake.
  ModalAnswer answer;
  SpellCheckHtmlEdit(&e.scratch.spell, e.f.Editor);
  Pump();
  auto* d = dynamic_cast<TSpellDialog*>(e.scratch.spell.SpellDialogForm());
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->NotFoundEdit->Text(), "Ths");
  AnsiString selected;
  e.f.Editor->GetSelectedText(selected);
  EXPECT_EQ(selected, "Ths");

  // Add, then Change All, each while live spelling goes over the whole
  // page again beside them.
  e.f.Editor->RestartSmartTagAnalysis();
  Click(d->AddButton);
  Pump();
  EXPECT_TRUE(e.scratch.spell.WordAcceptable("Ths"));
  ASSERT_EQ(d->NotFoundEdit->Text(), "tset");
  d->ReplaceWithEdit->SetText("test");
  e.f.Editor->RestartSmartTagAnalysis();
  Click(d->ChangeAllButton);
  Pump();
  EXPECT_EQ(d->NotFoundEdit->Text(), "chekcer");
  // Past it, the second "tset" is changed on the way.
  e.f.Editor->RestartSmartTagAnalysis();
  Click(d->IgnoreButton);
  Pump();
  EXPECT_TRUE(e.scratch.spell.Checking());
  EXPECT_NE(d->NotFoundEdit->Text(), "tset");
  // Typing again while the dialog waits on the next word.
  QTest::keyClick(e.f.Editor->Widget(), Qt::Key_End, Qt::ControlModifier);
  vcl::Application->ProcessMessages();
  TypeKeys(e.f.Editor, QStringLiteral(" mor"));
  answer.Arm(vcl::mrOk);
  Click(d->CancelButton);
  Pump();
  answer.Disarm();
  EXPECT_FALSE(e.scratch.spell.Checking());

  const std::string text = e.f.Body();
  EXPECT_NE(text.find("<p>Ths is a test of the spelling, a chekcer and a test again.</p>"), std::string::npos);
  EXPECT_NE(text.find("Plainn wurds typd mor"), std::string::npos);
  // Once idle, every block's marks follow the rule, the typed words too.
  ASSERT_TRUE(e.idle.Settle());
  const std::vector<AnsiString> rejected = ExpectSpellingMarks(e.f.Editor, e.scratch.spell, e.id);
  for (const char* typed : {"Plainn", "wurds", "typd", "chekcer"})
    EXPECT_NE(std::find(rejected.begin(), rejected.end(), AnsiString(typed)), rejected.end()) << typed;
  EXPECT_EQ(std::find(rejected.begin(), rejected.end(), AnsiString("tset")), rejected.end());
}

