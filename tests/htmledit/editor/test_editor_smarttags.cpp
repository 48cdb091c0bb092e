// Smart tags in the real editor: the scheduling and analysis threads the
// component runs over its own view, with the link handler registered as
// the main window registers it, while the user-interface thread types and
// edits; handler registration and its ids; a click on a marked address;
// and the editor destroyed while a scan is under way.
#include <gtest/gtest.h>

#include <atomic>

#include "EditorFixture.h"
#include "EditorSmartTags.h"
#include "QtInput.h"
#include "htmledit/control/psSmartTagLink.h"
#include "htmledit/view/psMessages.h"

using namespace htmledittest;
using htmledit::TpsSmartTagCreateLinkHandler;
using htmledit::TpsSmartTagHandler;

namespace {

const char* const kAddressPage =
    "<p>See www.example.org for more.<!-- EDITING POSITION --></p>"
    "<p>Mail mailto:a@example.org today, or http://example.org/x.</p>"
    "<p>Plain text without addresses.</p>"
    "<ul><li>ftp://example.org/pub and more</li><li>news://example.org</li></ul>"
    "<table><tr><td>cell https://example.net/a?b=c</td></tr></table>"
    "<p>Line one www.a.example<br>line two WWW.B.EXAMPLE.</p>";

// The positions the link handler marks in a block's text, found by its own
// address finder run over that text.
std::vector<bool> AddressPositions(const rtl::WideString& aText) {
  std::vector<bool> marked(aText.size(), false);
  Integer position = 1, first = 0, last = 0;
  while (TpsSmartTagCreateLinkHandler::FindUrl(aText, position, first, last)) {
    for (Integer i = first; i <= last; ++i) marked[static_cast<size_t>(i - 1)] = true;
    position = last + 1;
  }
  return marked;
}

// Every block's marks are exactly the addresses in its text, all of the
// handler; with no handler (0) no block has a mark. aMarkedBlocks: the
// blocks with an address.
void ExpectAddressMarks(TpsHTMLEdit* aEditor, Integer aHandlerId, int& aMarkedBlocks) {
  aMarkedBlocks = 0;
  for (const BlockMarks& b : ReadBlockMarks(aEditor)) {
    std::vector<bool> expected = AddressPositions(b.Text);
    if (aHandlerId == 0) expected.assign(expected.size(), false);
    std::vector<bool> actual;
    for (Integer h : b.Handler) actual.push_back(aHandlerId == 0 ? h != 0 : h == aHandlerId);
    EXPECT_EQ(actual, expected) << rtl::WideToUtf8(b.Text);
    for (size_t i = 0; i < b.Handler.size(); ++i)
      EXPECT_TRUE(b.Handler[i] == 0 || b.Handler[i] == aHandlerId) << rtl::WideToUtf8(b.Text);
    // One mark per address, as the handler marks a range.
    for (size_t i = 1; i < b.MarkId.size(); ++i) {
      if (b.MarkId[i] && b.MarkId[i - 1] && b.Line[i] == b.Line[i - 1]) {
        EXPECT_EQ(b.MarkId[i], b.MarkId[i - 1]);
      }
    }
    if (std::find(expected.begin(), expected.end(), true) != expected.end()) ++aMarkedBlocks;
  }
}

// A handler that does a little work on every block and says when it has
// begun one.
class BusyHandler : public TpsSmartTagHandler {
 public:
  BusyHandler(std::atomic<int>& aBlocks, std::atomic<bool>& aFreed)
      : TpsSmartTagHandler(true), FBlocks(aBlocks), FFreed(aFreed) {}
  ~BusyHandler() override { FFreed = true; }
  void AnalyzeBlock(htmledit::TpsSmartTagAnalysisBlock& aBlock) override {
    ++FBlocks;
    uint32_t h = 0;
    for (int round = 0; round < 200; ++round)
      for (char16_t c : aBlock.BlockText()) h = h * 31 + c;
    if (h == 1) MarkWord(aBlock, 0, nullptr);
  }

 private:
  std::atomic<int>& FBlocks;
  std::atomic<bool>& FFreed;
};

}  // namespace

TEST(EditorSmartTags, RegistrationGivesIdsAndTheEditorOwnsItsHandlers) {
  std::atomic<int> blocks{0};
  std::atomic<bool> freedOff{false}, freedOn{false};
  {
    EditorOnForm f;
    EXPECT_TRUE(f.Editor->SmartTagsActive());
    EXPECT_TRUE(f.Editor->SmartTagThread()->Started());
    auto* link = new TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
    EXPECT_EQ(f.Editor->AddSmartTagHandler(link), 1);
    EXPECT_EQ(link->Editor(), &f.Editor->SmartTagEditor());
    EXPECT_EQ(f.Editor->AddSmartTagHandler(new BusyHandler(blocks, freedOn)), 2);
    EXPECT_EQ(f.Editor->SmartTags.GetCount(), 2);
    EXPECT_EQ(f.Editor->SmartTags.GetHandlerByID(1), link);
    // With smart tags switched off a handler is refused and freed.
    f.Editor->SmartTags.Enabled = false;
    EXPECT_FALSE(f.Editor->SmartTagsActive());
    EXPECT_EQ(f.Editor->AddSmartTagHandler(new BusyHandler(blocks, freedOff)), -1);
    EXPECT_TRUE(freedOff);
    EXPECT_EQ(f.Editor->SmartTags.GetCount(), 0);
    f.Editor->SmartTags.Enabled = true;
    EXPECT_FALSE(freedOn);
  }
  EXPECT_TRUE(freedOn);
}

TEST(EditorSmartTags, MarksFollowTypingAndEditsAndEqualTheHandlerOverEachBlock) {
  EditorOnForm f;
  SmartTagIdle idle(f.Editor);
  auto* link = new TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr);
  const Integer id = f.Editor->AddSmartTagHandler(link);
  f.Editor->LoadFromString(kAddressPage, true, true);
  ASSERT_TRUE(idle.Settle());
  int marked = 0;
  ExpectAddressMarks(f.Editor, id, marked);
  EXPECT_EQ(marked, 6);

  // Typing (1150) and commands while the threads work: addresses typed in
  // pieces, one broken up again, paragraphs inserted as HTML, Enter.
  const std::vector<std::string> typed = {"Type ", "www.", "typed", ".example", " and ", "http", "://x.example ",
                                          "end"};
  for (size_t i = 0; i < typed.size(); ++i) {
    f.Editor->InsertText(typed[i], false);
    vcl::Application->ProcessMessages();
    if (i == 3) f.Editor->InsertHTML("<p>inserted ftp://inserted.example here</p>", true);
  }
  f.Editor->WindowManager()->PostMessage(htmlview::TpsMessage::Create(htmlview::mrFocused, htmlview::psmKeyEnter));
  f.Editor->ProcessMessages();
  f.Editor->ProcessPendingUpdates();
  f.Editor->InsertText("after enter mailto:x@example.org", false);
  ASSERT_TRUE(idle.Settle());
  ExpectAddressMarks(f.Editor, id, marked);
  // The page's six, the typed pair and the inserted and the Enter paragraphs.
  EXPECT_GE(marked, 7);

  // The marks were delivered as a change the editor's timer paints.
  f.Editor->TimerTick();

  // Undo brings the earlier page back; its marks come back with it.
  while (f.Editor->CanUndo()) f.Editor->Undo();
  ASSERT_TRUE(idle.Settle());
  ExpectAddressMarks(f.Editor, id, marked);
  EXPECT_EQ(marked, 6);

  // Disabled, the handler's marks go; enabled again, they return.
  link->SetEnabled(false);
  ASSERT_TRUE(idle.Settle());
  ExpectAddressMarks(f.Editor, 0, marked);
  link->SetEnabled(true);
  ASSERT_TRUE(idle.Settle());
  ExpectAddressMarks(f.Editor, id, marked);
  EXPECT_EQ(marked, 6);
  idle.Detach();
}

TEST(EditorSmartTags, ARightClickOnAnAddressReachesItsHandlerWithTheFragment) {
  EditorOnForm f;
  SmartTagIdle idle(f.Editor);
  AnsiString url;
  htmledit::TpsRect2 fragment;
  auto* link = new TpsSmartTagCreateLinkHandler(
      true, 0xFF0000,
      [&](TpsSmartTagCreateLinkHandler*, const htmledit::TpsPoint2&, const htmledit::TpsRect2& aRect,
          const AnsiString& aUrl, AnsiString&, AnsiString&, std::unique_ptr<htmldoc::TpsMarkupTag>&) {
        url = aUrl;
        fragment = aRect;
      });
  f.Editor->AddSmartTagHandler(link);
  f.Editor->LoadFromString("<p>Go to www.example.org today</p>", true, false);
  ASSERT_TRUE(idle.Settle());
  std::vector<BlockMarks> blocks = ReadBlockMarks(f.Editor);
  ASSERT_EQ(blocks.size(), 1u);
  const BlockMarks& b = blocks[0];
  const size_t at = b.Text.find(u"example");
  ASSERT_NE(at, rtl::WideString::npos);
  ASSERT_EQ(b.Handler[at], link->Id());
  // A right press on the "e" of "example", at its document point.
  htmlview::TpsTextNode* line = b.Line[at];
  const htmlview::TpsLineObjects& items = line->Items();
  Integer item = -1;
  for (Integer i = 0; i < items.Count(); ++i)
    if (items.GetItem(i).Element == b.Element[at]) item = i;
  ASSERT_GE(item, 0);
  auto press = htmlview::TpsMessage::Create(htmlview::mrPositional, htmlview::psmMouseDown);
  press->X = line->GetAbsoluteLeft() + items.GetItem(item).X + 2;
  press->Y = line->GetAbsoluteTop() + 5;
  auto buttons = std::make_unique<htmlview::TpsVCLMouseButtons>();
  buttons->SetMouseButton(1);
  press->SetButtons(std::move(buttons));
  press->Shift = htmlview::ssRightBit;
  f.Editor->WindowManager()->PostMessage(std::move(press));
  f.Editor->ProcessMessages();
  EXPECT_EQ(url, "www.example.org");
  // The fragment's rectangle in the client: from the address's first
  // character to its last, on the line.
  EXPECT_GT(fragment.Right - fragment.Left, 60);
  EXPECT_LT(fragment.Right - fragment.Left, 200);
  // The fragment at the caret is the clicked one.
  Integer before = 0, after = 0;
  EXPECT_TRUE(f.Editor->GetSmartTagIdsAtCursor(before, after));
  EXPECT_EQ(f.Editor->SmartTagThread()->LastClickedMarkId(), b.MarkId[at]);
  EXPECT_TRUE(before == b.MarkId[at] || after == b.MarkId[at]);
  idle.Detach();
}

// The same as the user does it: a right click through Qt on the widget. On
// a marked address the handler answers and the text's menu stays shut; on
// a plain word the menu shows and the handler hears nothing; a left click
// on the address only places the caret.
TEST(EditorSmartTags, ARightClickThroughQtOnAMarkReachesItsHandlerAndOffItThePopupMenu) {
  struct Case {
    const char* Name;
    const char16_t* Word;
    Qt::MouseButton Button;
    const char* Url;  // what the handler heard, "" for nothing
    int MenuShown;
  } cases[] = {
      {"right on the address", u"example", Qt::RightButton, "www.example.org", 0},
      {"right on a plain word", u"today", Qt::RightButton, "", 1},
      {"left on the address", u"example", Qt::LeftButton, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EditorOnForm f;
    SmartTagIdle idle(f.Editor);
    auto* menu = new RecordingPopupMenu(f.Form);
    f.Editor->SetPopupMenu(menu);
    std::vector<std::string> heard;
    auto* link = new TpsSmartTagCreateLinkHandler(
        true, 0xFF0000,
        [&](TpsSmartTagCreateLinkHandler*, const htmledit::TpsPoint2&, const htmledit::TpsRect2&,
            const AnsiString& aUrl, AnsiString&, AnsiString&, std::unique_ptr<htmldoc::TpsMarkupTag>&) {
          heard.push_back(aUrl);
        });
    f.Editor->AddSmartTagHandler(link);
    f.Editor->LoadFromString("<p>Go to www.example.org today</p>", true, false);
    FocusEditor(f);
    ASSERT_TRUE(idle.Settle());
    std::vector<BlockMarks> blocks = ReadBlockMarks(f.Editor);
    ASSERT_EQ(blocks.size(), 1u);
    const BlockMarks& b = blocks[0];
    const size_t at = b.Text.find(c.Word);
    ASSERT_NE(at, rtl::WideString::npos);
    htmlview::TpsTextNode* line = b.Line[at];
    const htmlview::TpsLineObjects& items = line->Items();
    Integer item = -1;
    for (Integer i = 0; i < items.Count() && item < 0; ++i)
      if (items.GetItem(i).Element == b.Element[at]) item = i;
    ASSERT_GE(item, 0);
    const htmldoc::TpsPoint point{line->GetAbsoluteLeft() + items.GetItem(item).X + 2, line->GetAbsoluteTop() + 5};
    QtClick(f, point, c.Button);
    EXPECT_EQ(heard, c.Url[0] ? std::vector<std::string>{c.Url} : std::vector<std::string>{});
    EXPECT_EQ(menu->Shown, c.MenuShown);
    if (c.Url[0]) EXPECT_EQ(f.Editor->SmartTagThread()->LastClickedMarkId(), b.MarkId[at]);
    idle.Detach();
  }
}

TEST(EditorSmartTags, DestroyingTheEditorMidScanEndsBothThreads) {
  std::atomic<int> blocks{0};
  std::atomic<bool> freed{false};
  std::string page;
  for (int i = 0; i < 400; ++i)
    page += "<p>Paragraph " + std::to_string(i) + " of a long page, with www.example" + std::to_string(i) +
            ".org in it and words enough to keep a handler busy for a while.</p>";
  {
    auto* f = new EditorOnForm;
    f->Editor->AddSmartTagHandler(new TpsSmartTagCreateLinkHandler(true, 0xFF0000, nullptr));
    f->Editor->AddSmartTagHandler(new BusyHandler(blocks, freed));
    f->Editor->LoadFromString(page, true, false);
    // Destroyed as soon as the analysis has begun, well before its end.
    while (blocks.load() == 0) rtl::CheckSynchronize(1);
    delete f;
  }
  EXPECT_TRUE(freed);
  EXPECT_LT(blocks.load(), 400);
}
