// Editing scripts through real keys and mouse input: a page with the
// cursor in, the messages the editor sends for keys (kind 0 with their
// shift states) and for the mouse (presses, moves and releases at points,
// on a manual clock), then the page, the caret and the selection out, with
// the undo snapshots and notices the host recorded. After every step the
// view's geometry equals a fresh full layout of the same document.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "KeyPage.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/view/psSelectionMarks.h"
#include "htmledit/view/psTableNodes.h"
#include "vcl/WinApi.h"

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

TEST(TextLineKeys, TypingEditsTheParagraph) {
  KeyPage page;
  page.Open("<html><body><p>ab|cd</p><p>next</p></body></html>");
  ASSERT_TRUE(page.Focused()) << page.Html();
  page.Type("X");
  EXPECT_EQ(page.Html(), "<p>abX|cd</p><p>next</p>");
  page.Type("yz");
  EXPECT_EQ(page.Html(), "<p>abXyz|cd</p><p>next</p>");
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;

struct Script {
  const char* name;
  const char* in;
  std::vector<Integer> keys;  // ids, Shift carried as id + 100000, Ctrl as + 200000
  const char* out;  // nullptr: not compared
  std::map<std::string, Integer> options = {};
  std::vector<std::string> calls = {};  // the host calls expected, in order, among those listed in kWatched
};

const std::set<std::string> kWatched{"SaveUndoSnapshot", "ScrollToBottom", "ScrollToTop", "DecreaseListIndent",
                                     "IncreaseListIndent 2", "ProcessPendingUpdates", "InsertText \t",
                                     "OnTextDoubleClicked", "SelectCurrentBlock", "NotifyDocumentChange 0",
                                     "NotifyDocumentChange 1", "OnSplitBlock  0", "OnSplitBlock  2",
                                     "OnSplitBlock note 1"};

void RunScripts(const std::vector<Script>& aScripts) {
  for (const Script& s : aScripts) {
    SCOPED_TRACE(s.name);
    KeyPage page;
    for (const auto& [k, v] : s.options) page.Host.Options[k] = v;
    page.Open(std::string("<html><body>") + s.in + "</body></html>");
    ASSERT_TRUE(page.Focused()) << page.Html();
    for (Integer k : s.keys) {
      Integer shift = 0;
      if (k >= 200000) k -= 200000, shift |= ssCtrlBit;
      if (k >= 100000) k -= 100000, shift |= ssShiftBit;
      page.Key(k, shift);
    }
    if (s.out) EXPECT_EQ(page.Html(), s.out) << ::testing::PrintToString(page.Host.Calls);
    std::vector<std::string> calls;
    for (const std::string& c : page.Host.Calls)
      if (kWatched.count(c)) calls.push_back(c);
    EXPECT_EQ(calls, s.calls);
  }
}

constexpr Integer kShift = 100000;
constexpr Integer kCtrl = 200000;

TEST(TextLineKeys, Enter) {
  // What Enter and Shift+Enter decide; the split (300) and the line break
  // (920) themselves are the body's and the block's.
  RunScripts({
      {"a paragraph: the split event asked at the middle, a snapshot", "<p class=\"note\">ab|cd</p>", {psmKeyEnter},
       "<p class=\"note\">ab</p><p class=\"note\">|cd</p>", {}, {"OnSplitBlock note 1", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"at the block's end", "<p>abcd|</p>", {psmKeyEnter}, "<p>abcd</p><p>|</p>", {},
       {"OnSplitBlock  2", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"at the block's start", "<p>|abcd</p>", {psmKeyEnter}, "<p></p><p>|abcd</p>", {},
       {"OnSplitBlock  0", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"inside a link nothing happens", "<p>a<a href=\"x\">b|c</a>d</p>", {psmKeyEnter},
       "<p>a<a href=\"x\">b|c</a>d</p>"},
      {"an empty block without multiple empty blocks", "<p>|</p>", {psmKeyEnter}, "<p>|</p>",
       {{"AllowMultipleEmptyBlocks", 0}}},
      {"a block with text without multiple empty blocks", "<p>a|</p>", {psmKeyEnter}, "<p>a</p><p>|</p>",
       {{"AllowMultipleEmptyBlocks", 0}}, {"OnSplitBlock  2", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"a table cell takes a line break, no split", "<table><tr><td>a|b</td></tr></table>", {psmKeyEnter},
       "<table><tr><td>a<br />|b</td></tr></table>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"read-only: nothing", "<p>ab|cd</p>", {psmKeyEnter}, "<p>ab|cd</p>", {{"ReadOnly", 1}}},
      {"Shift+Enter: a snapshot and the line break's transaction", "<p>ab|cd</p>", {psmShiftEnter}, "<p>ab<br />|cd</p>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"Shift+Enter while read-only: nothing, no snapshot", "<p>ab|cd</p>", {psmShiftEnter}, "<p>ab|cd</p>",
       {{"ReadOnly", 1}}},
      {"a heading splits into two headings", "<h2>ab|cd</h2>", {psmKeyEnter}, "<h2>ab</h2><h2>|cd</h2>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"inside bold: the run closed before the split and reopened after it", "<p><b>ab|cd</b></p>", {psmKeyEnter},
       "<p><b>ab</b></p><p><b>|cd</b></p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"at a block's end before an empty block, without multiple empty blocks: into the empty one",
       "<p>ab|</p><p></p><p>z</p>", {psmKeyEnter}, "<p>ab</p><p>|</p><p>z</p>", {{"AllowMultipleEmptyBlocks", 0}},
       {"OnSplitBlock  2", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"the same with multiple empty blocks: a second empty one", "<p>ab|</p><p></p>", {psmKeyEnter},
       "<p>ab</p><p>|</p><p></p>", {}, {"OnSplitBlock  2", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"at the end of a list's last item, before an empty paragraph: another level, split",
       "<ul><li>ab|</li></ul><p></p>", {psmKeyEnter}, "<ul><li>ab</li><li>|</li></ul><p></p>",
       {{"AllowMultipleEmptyBlocks", 0}}, {"OnSplitBlock  2", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"at a block's start after an empty block, without multiple empty blocks: nothing", "<p></p><p>|ab</p>",
       {psmKeyEnter}, "<p></p><p>|ab</p>", {{"AllowMultipleEmptyBlocks", 0}}, {"OnSplitBlock  0", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"at the start of the first block, without multiple empty blocks: split", "<p>|ab</p>", {psmKeyEnter},
       "<p></p><p>|ab</p>", {{"AllowMultipleEmptyBlocks", 0}}, {"OnSplitBlock  0", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"twice in the middle: an empty paragraph between", "<p>ab|cd</p>", {psmKeyEnter, psmKeyEnter},
       "<p>ab</p><p></p><p>|cd</p>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 1", "OnSplitBlock  0", "SaveUndoSnapshot", "NotifyDocumentChange 1"}},
      {"an empty middle item: two lists with a paragraph between", "<ul><li>a</li><li>|</li><li>b</li></ul>",
       {psmKeyEnter}, "<ul><li>a</li></ul><p>|</p><ul><li>b</li></ul>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an empty last item ending the document: a paragraph after the list", "<ul><li>a</li><li>|</li></ul>",
       {psmKeyEnter}, "<ul><li>a</li></ul><p>|</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an empty last item of a list in a cell: the caret directly in the cell",
       "<table><tr><td><ul><li>a</li><li>|</li></ul></td></tr></table>", {psmKeyEnter},
       "<table><tr><td><ul><li>a</li></ul>|</td></tr></table>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an empty first item of a list in a cell", "<table><tr><td><ul><li>|</li><li>a</li></ul></td></tr></table>",
       {psmKeyEnter}, "<table><tr><td>|<ul><li>a</li></ul></td></tr></table>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an empty item of a nested list leaves both lists", "<ul><li>a<ul><li>b</li><li>|</li></ul></li></ul>",
       {psmKeyEnter}, "<ul><li>a<ul><li>b</li></ul></li></ul><p>|</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"Backspace after a split at the end joins the halves again", "<p>ab|</p><p>z</p>",
       {psmKeyEnter, psmKeyBackspace}, "<p>ab|</p><p>z</p>", {},
       {"OnSplitBlock  2", "SaveUndoSnapshot", "NotifyDocumentChange 1", "SaveUndoSnapshot", "NotifyDocumentChange 0"}},
  });
}

TEST(TextLineKeys, EnterWithTheSplitEvent) {
  // The handler's classes go to the two halves; a refusal leaves the page,
  // takes no snapshot and sends nothing.
  {
    KeyPage page;
    page.Host.OnSplitBlock = [](AnsiString& aFirst, AnsiString& aSecond, bool&) {
      aFirst = "head";
      aSecond = ".tail";
    };
    // Classes are the style sheet's: the split sets those it knows.
    page.Open("<html><body><p class=\"note\">ab|cd</p></body></html>",
              ".note { color: red } .head { color: green } .tail { color: blue }");
    page.Key(psmKeyEnter);
    EXPECT_EQ(page.Html(), "<p class=\"head\">ab</p><p class=\"tail\">|cd</p>");
  }
  {
    KeyPage page;
    page.Host.OnSplitBlock = [](AnsiString&, AnsiString& aSecond, bool&) { aSecond = ""; };
    page.Open("<html><body><p class=\"note\">ab|cd</p></body></html>");
    page.Key(psmKeyEnter);
    // An empty class text leaves the half as the split made it.
    EXPECT_EQ(page.Html(), "<p class=\"note\">ab</p><p class=\"note\">|cd</p>");
  }
  {
    KeyPage page;
    page.Host.OnSplitBlock = [](AnsiString&, AnsiString&, bool& aAllow) { aAllow = false; };
    page.Open("<html><body><p>ab|cd</p></body></html>");
    page.Key(psmKeyEnter);
    EXPECT_EQ(page.Html(), "<p>ab|cd</p>");
    EXPECT_EQ(page.Host.CallCount("SaveUndoSnapshot"), 0);
    EXPECT_EQ(page.Host.CallCount("NotifyDocumentChange 1"), 0);
  }
}

TEST(TextLineKeys, DeleteAtAParagraphsEndBeforeAList) {
  // The first item's text joins the paragraph; the paragraph keeps its
  // text, the list its other items, and an emptied list goes.
  RunScripts({
      {"the first of two items", "<p>ab|</p><ul><li>cd</li><li>ef</li></ul>", {psmKeyDelete},
       "<p>ab|cd</p><ul><li>ef</li></ul>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an only item: the list goes", "<p>x</p><p>ab|</p><ol><li>cd</li></ol><p>z</p>", {psmKeyDelete},
       "<p>x</p><p>ab|cd</p><p>z</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an item holding a paragraph", "<p>ab|</p><ul><li><p>cd</p></li></ul>", {psmKeyDelete}, "<p>ab|cd</p>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"an item with a nested list: the nested list stays", "<p>ab|</p><ul><li>cd<ul><li>x</li></ul></li></ul>",
       {psmKeyDelete}, "<p>ab|cd</p><ul><li><ul><li>x</li></ul></li></ul>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"the paragraph's text in bold", "<p><b>ab</b>|</p><ul><li>cd</li></ul>", {psmKeyDelete},
       "<p><b>ab</b>|cd</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"after typing and moving to the end", "<p>a|b</p><ul><li>cd</li></ul>", {psmKeyEnd, psmKeyDelete, psmKeyDelete},
       "<p>ab|d</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0", "SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"inside one table cell", "<table><tr><td><p>ab|</p><ul><li>cd</li></ul></td></tr></table>", {psmKeyDelete},
       "<table><tr><td><p>ab|cd</p></td></tr></table>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"never into the next cell", "<table><tr><td><p>ab|</p></td><td><ul><li>cd</li></ul></td></tr></table>",
       {psmKeyDelete}, "<table><tr><td><p>ab|</p></td><td><ul><li>cd</li></ul></td></tr></table>", {},
       {"SaveUndoSnapshot"}},
      {"nor from before a table into it", "<p>ab|</p><table><tr><td>cd</td></tr></table>", {psmKeyDelete},
       "<p>ab|</p><table><tr><td>cd</td></tr></table>", {}, {"SaveUndoSnapshot"}},
      {"an empty paragraph before a list goes itself", "<p>ab</p><p>|</p><ul><li>cd</li></ul>", {psmKeyDelete},
       "<p>ab</p><ul><li>|cd</li></ul>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
  });
}

TEST(TextLineKeys, Moves) {
  RunScripts({
      {"Left and Right inside the line", "<p>ab|cd</p>", {psmKeyLeft, psmKeyLeft, psmKeyRight}, "<p>a|bcd</p>"},
      {"Right at the end of the last line changes nothing", "<p>ab</p><p>cd|</p>", {psmKeyRight},
       "<p>ab</p><p>cd|</p>"},
      {"Right at a line's end goes to the next line's start", "<p>ab|</p><p>cd</p>", {psmKeyRight, psmKeyRight},
       "<p>ab</p><p>c|d</p>"},
      {"Left at a line's start goes to the previous line's end", "<p>ab</p><p>|cd</p>", {psmKeyLeft},
       "<p>ab|</p><p>cd</p>"},
      {"Home and End", "<p>ab|cd</p>", {psmKeyHome, psmKeyRight, psmKeyEnd}, "<p>abcd|</p>"},
      {"Down on the last line scrolls to the bottom", "<p>ab</p><p>c|d</p>", {psmKeyDown}, "<p>ab</p><p>c|d</p>",
       {}, {"ScrollToBottom"}},
      {"Up on the first line scrolls to the top", "<p>a|b</p>", {psmKeyUp}, "<p>a|b</p>", {}, {"ScrollToTop"}},
      {"Down keeps the column", "<p>abc|def</p><p>uvwxyz</p>", {psmKeyDown}, "<p>abcdef</p><p>uvw|xyz</p>"},
      {"Down then Up comes back to the column", "<p>abc|def</p><p>u</p><p>uvwxyz</p>",
       {psmKeyDown, psmKeyDown, psmKeyUp, psmKeyUp}, "<p>abc|def</p><p>u</p><p>uvwxyz</p>"},
      {"Ctrl+Right and Ctrl+Left by words", "<p>|one two three</p>", {psmKeyWordRight, psmKeyWordRight},
       "<p>one two |three</p>"},
      {"Ctrl+Left back a word", "<p>one two thr|ee</p>", {psmKeyWordLeft}, "<p>one two |three</p>"},
      {"Ctrl+Home and Ctrl+End", "<p>ab</p><p>c|d</p><p>ef</p>", {psmKeyDocumentStart}, "<p>|ab</p><p>cd</p><p>ef</p>",
       {}, {"ScrollToTop"}},
      {"Ctrl+End", "<p>ab</p><p>c|d</p><p>ef</p>", {psmKeyDocumentEnd}, "<p>ab</p><p>cd</p><p>ef|</p>", {},
       {"ScrollToBottom"}},
      {"Page Down that cannot scroll acts as Ctrl+End", "<p>a|b</p><p>cd</p>", {psmKeyPageDown},
       "<p>ab</p><p>cd|</p>", {}, {"ScrollToBottom"}},
  });
}

TEST(TextLineKeys, BackspaceAndDelete) {
  RunScripts({
      {"Backspace deletes the character before", "<p>ab|cd</p>", {psmKeyBackspace}, "<p>a|cd</p>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"Delete the character after", "<p>ab|cd</p>", {psmKeyDelete}, "<p>ab|d</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"Ctrl+Backspace a word", "<p>one two|</p>", {psmKeyBackspace + kCtrl}, "<p>one |</p>", {},
       {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"Delete at a block's end joins the next block, keeping the class", "<p class=\"note\">ab|</p><p>cd</p>",
       {psmKeyDelete}, "<p class=\"note\">ab|cd</p>", {}, {"SaveUndoSnapshot", "NotifyDocumentChange 0"}},
      {"read-only: neither", "<p>ab|cd</p>", {psmKeyBackspace, psmKeyDelete}, "<p>ab|cd</p>", {{"ReadOnly", 1}}},
      {"Backspace at the start of a table cell's first block does nothing",
       "<table><tr><td>|ab</td></tr></table>", {psmKeyBackspace}, "<table><tr><td>|ab</td></tr></table>", {},
       {"SaveUndoSnapshot"}},
      {"Delete at the end of the last block does nothing", "<p>ab|</p>", {psmKeyDelete}, "<p>ab|</p>", {},
       {"SaveUndoSnapshot"}},
      {"Backspace at the start of a nested list item decreases the indent",
       "<ul><li>a<ul><li>|b</li></ul></li></ul>", {psmKeyBackspace}, "<ul><li>a<ul><li>|b</li></ul></li></ul>", {},
       {"SaveUndoSnapshot", "DecreaseListIndent"}},
  });
}

TEST(TextLineKeys, TabInTablesAndText) {
  RunScripts({
      {"Tab to the next cell", "<table><tr><td>a|</td><td>b</td></tr></table>", {psmKeyTab},
       "<table><tr><td>a</td><td>|b</td></tr></table>", {}, {"NotifyDocumentChange 0", "ProcessPendingUpdates"}},
      {"Tab in the last cell of the last row appends a row", "<table><tr><td>a</td><td>b|</td></tr></table>",
       {psmKeyTab}, "<table><tr><td>a</td><td>b</td></tr><tr><td>|</td><td></td></tr></table>", {},
       {"NotifyDocumentChange 0", "ProcessPendingUpdates"}},
      {"Shift+Tab in the first cell does nothing", "<table><tr><td>|a</td><td>b</td></tr></table>",
       {psmKeyShiftTab}, "<table><tr><td>|a</td><td>b</td></tr></table>", {}, {"NotifyDocumentChange 0", "ProcessPendingUpdates"}},
      {"Shift+Tab to the last cell of the row before",
       "<table><tr><td>a</td><td>b</td></tr><tr><td>|c</td></tr></table>", {psmKeyShiftTab},
       "<table><tr><td>a</td><td>|b</td></tr><tr><td>c</td></tr></table>", {}, {"NotifyDocumentChange 0", "ProcessPendingUpdates"}},
      {"Tab in text inserts a tab as typed text", "<p>a|b</p>", {psmKeyTab},
       "<p>a&nbsp;&nbsp;&nbsp;&nbsp;|b</p>", {}, {"InsertText \t", "NotifyDocumentChange 0"}},
      {"Tab at the start of a list item indents it", "<ul><li>a</li><li>|b</li></ul>", {psmKeyTab},
       "<ul><li>a</li><li>|b</li></ul>", {}, {"IncreaseListIndent 2"}},
  });
}

TEST(TextLineKeys, ShiftMovesSelect) {
  KeyPage page;
  page.Open("<html><body><p>abc|def</p><p>ghi</p></body></html>");
  // Shift+Left from a caret without a selection anchors at the old caret.
  page.Key(psmKeyLeft, ssShiftBit);
  EXPECT_EQ(page.Selected(), "c");
  page.Key(psmKeyLeft, ssShiftBit);
  EXPECT_EQ(page.Selected(), "bc");
  page.Key(psmKeyRight, ssShiftBit);
  page.Key(psmKeyRight, ssShiftBit);
  page.Key(psmKeyRight, ssShiftBit);
  EXPECT_EQ(page.Selected(), "d");
  // Across the line's end into the next paragraph.
  page.Key(psmKeyEnd, ssShiftBit);
  page.Key(psmKeyRight, ssShiftBit);
  page.Key(psmKeyRight, ssShiftBit);
  EXPECT_EQ(page.Selected(), "defg");
  // A click ends it; a selection inside one line is replaced by typing
  // (the transaction goes to the line's block).
  page.Key(psmKeyHome);
  EXPECT_EQ(page.Selected(), "");
  page.Key(psmKeyRight, ssShiftBit);
  page.Key(psmKeyRight, ssShiftBit);
  EXPECT_EQ(page.Selected(), "gh");
  page.Type("X");
  EXPECT_EQ(page.Html(), "<p>abcdef</p><p>X|i</p>");
  EXPECT_EQ(page.Selected(), "");
  // A move without Shift clears a selection.
  page.Key(psmKeyLeft, ssShiftBit);
  EXPECT_EQ(page.Selected(), "X");
  page.Key(psmKeyRight);
  EXPECT_EQ(page.Selected(), "");
  EXPECT_FALSE(page.Host.Selection.Selecting());
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

// The point in the middle of a line's character aIndex's left half.
TpsPoint At(TpsTextNode* aLine, Integer aIndex) {
  return {aLine->GetAbsoluteLeft() + aLine->Items().GetItem(aIndex).X + 2, aLine->GetAbsoluteTop() + 5};
}

TEST(TextLineMouse, ClickPlacesTheCaretAndDragSelects) {
  KeyPage page;
  page.Open("<html><body><p>|alpha beta</p><p>gamma</p></body></html>");
  std::vector<TpsTextNode*> lines = TextLines(page.Body);
  ASSERT_EQ(lines.size(), 2u);
  TpsPoint p = At(lines[0], 2);  // before "p"
  page.Click(p.X, p.Y);
  EXPECT_EQ(page.Html(), "<p>al|pha beta</p><p>gamma</p>");
  EXPECT_EQ(page.Focused(), lines[0]);
  EXPECT_EQ(page.Host.CallCount("OnTextClicked"), 1);
  // The caret stands at the character's left edge.
  EXPECT_EQ(page.Host.Caret.Left, lines[0]->GetAbsoluteLeft() + lines[0]->Items().GetItem(2).X);

  // Press, move onto the next paragraph, release: the selection follows.
  page.Host.Forget();
  page.Mouse(psmMouseDown, p.X, p.Y);
  const TpsPoint q = At(lines[1], 2);
  page.Mouse(psmMouseMove, q.X, q.Y);
  EXPECT_EQ(page.Selected(), "pha betaga");
  page.Mouse(psmMouseUp, q.X, q.Y);
  EXPECT_TRUE(page.Host.Selection.ExtendSuspended());
  EXPECT_EQ(page.Html(), "<p>alpha beta</p><p>ga|mma</p>");
  // No click notice with a selection.
  EXPECT_EQ(page.Host.CallCount("OnTextClicked"), 0);
  // A move after the release extends nothing.
  const TpsPoint r = At(lines[1], 4);
  page.Mouse(psmMouseMove, r.X, r.Y);
  EXPECT_EQ(page.Selected(), "pha betaga");
  // A click elsewhere clears it.
  page.Click(r.X, r.Y);
  EXPECT_EQ(page.Selected(), "");
  EXPECT_EQ(page.Html(), "<p>alpha beta</p><p>gamm|a</p>");
}

TEST(TextLineMouse, DoubleAndTripleClicks) {
  KeyPage page;
  page.Open("<html><body><p>|alpha beta</p><p>gamma</p></body></html>");
  TpsTextNode* line = TextLines(page.Body)[0];
  const TpsPoint p = At(line, 7);  // inside "beta"
  page.Mouse(psmMouseDown, p.X, p.Y, 0, ssDoubleBit);
  page.Mouse(psmMouseUp, p.X, p.Y);
  EXPECT_EQ(page.Selected(), "beta");
  EXPECT_EQ(page.Host.CallCount("OnTextDoubleClicked"), 1);
  // The third click within the double-click time at the same point selects
  // the block.
  page.Clock->Advance(vcl::GetDoubleClickTime());
  page.Click(p.X, p.Y);
  EXPECT_EQ(page.Host.CallCount("SelectCurrentBlock"), 1);
  // Too late, or one pixel off: a plain click.
  for (const auto& [advance, dx] : std::vector<std::pair<Integer, Integer>>{{1, 0}, {0, 1}}) {
    page.Mouse(psmMouseDown, p.X, p.Y, 0, ssDoubleBit);
    page.Mouse(psmMouseUp, p.X, p.Y);
    page.Clock->Advance(vcl::GetDoubleClickTime() + advance);
    page.Host.Forget();
    page.Click(p.X + dx, p.Y);
    EXPECT_EQ(page.Host.CallCount("SelectCurrentBlock"), 0);
    EXPECT_EQ(page.Selected(), "");
  }

  // A handler that leaves oHandled set: nothing is selected.
  page.Host.Options["DoubleClickHandled"] = 1;
  page.Mouse(psmMouseDown, p.X, p.Y, 0, ssDoubleBit);
  page.Mouse(psmMouseUp, p.X, p.Y);
  EXPECT_EQ(page.Selected(), "");
}

TEST(TextLineMouse, RightClickOnALinkShowsTheLinkMenu) {
  KeyPage page;
  page.Open("<html><body><p>|go <a href=\"x.html\">there</a> now</p></body></html>");
  TpsTextNode* line = TextLines(page.Body)[0];
  const TpsPoint p = At(line, 3);  // "t" of the link
  page.Mouse(psmMouseDown, p.X, p.Y, 1);
  page.Mouse(psmMouseUp, p.X, p.Y, 1);
  EXPECT_EQ(page.Host.CallCount("PopupLinkMenu " + std::to_string(p.X) + "," + std::to_string(p.Y)), 1);
  EXPECT_EQ(page.Host.CallCount("OnTextClicked"), 0);
  // Hovering over the link shows the editor's link cursor, elsewhere the
  // I-beam.
  page.Mouse(psmMouseMove, p.X, p.Y, -1);
  EXPECT_EQ(line->MouseCursor, vcl::crHandPoint);
  const TpsPoint q = At(line, 0);
  page.Mouse(psmMouseDown, q.X, q.Y, 1);
  page.Mouse(psmMouseUp, q.X, q.Y, 1);
  EXPECT_EQ(page.Host.CallCount("OnTextClicked"), 1);
  page.Mouse(psmMouseMove, q.X, q.Y, -1);
  EXPECT_EQ(line->MouseCursor, vcl::crIBeam);
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

TEST(TextLineKeys, UpAndDownMakeAPlaceBesideANestedTable) {
  struct Case {
    const char* name;
    const char* in;
    Integer key;
    const char* out;
  };
  for (const Case& c : std::vector<Case>{
           {"Down below the table", "<div><table><tr><td>a|b</td></tr></table></div>", psmKeyDown,
            "<div><table><tr><td>ab</td></tr></table>|&nbsp;</div>"},
           {"Up above the table", "<div><table><tr><td>a|b</td></tr></table></div>", psmKeyUp,
            "<div>|&nbsp;<table><tr><td>ab</td></tr></table></div>"},
           {"a line below inside the block takes the caret at the column (the cell is indented by its spacing and padding)",
            "<div><table><tr><td>a|b</td></tr></table>after</div>", psmKeyDown,
            "<div><table><tr><td>ab</td></tr></table>af|ter</div>"},
       }) {
    SCOPED_TRACE(c.name);
    KeyPage page;
    page.Open(std::string("<html><body>") + c.in + "</body></html>");
    page.Key(c.key);
    EXPECT_EQ(page.Html(), c.out);
    EXPECT_EQ(page.Host.CallCount("ScrollToBottom") + page.Host.CallCount("ScrollToTop"), 0);
  }
  // A table straight in the body: Down on its last line scrolls.
  KeyPage page;
  page.Open("<html><body><table><tr><td>a|b</td></tr></table></body></html>");
  page.Key(psmKeyDown);
  EXPECT_EQ(page.Html(), "<table><tr><td>a|b</td></tr></table>");
  EXPECT_EQ(page.Host.CallCount("ScrollToBottom"), 1);
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

// A column drag leaves its transaction queued at the paint after the
// release; the next key runs it first and reaches the line that holds the
// cursor after the new layout, not the line the layout freed.
TEST(TextLineKeys, AKeyAfterAColumnDragReachesTheNewLine) {
  KeyPage page(600, 300);
  page.Open("<html><body><table><tr><td width=\"100\">a|b</td><td width=\"100\">c</td></tr></table></body></html>");
  TpsTextNode* before = page.Focused();
  ASSERT_TRUE(before);
  auto* table = dynamic_cast<TpsTableNode*>(page.Body->Child(0));
  ASSERT_TRUE(table);
  const Integer boundary = table->GetRow(0)->GetBoundaryX(0);
  page.CheckEveryStep = false;
  page.Mouse(psmMouseDown, boundary - 3, 5);
  page.Mouse(psmMouseMove, boundary + 20, 5);
  page.Mouse(psmMouseUp, boundary + 20, 5);
  page.Manager.PaintAll();
  ASSERT_GT(page.Manager.QueuedCount(), 0);
  page.CheckEveryStep = true;
  page.Type("X");
  EXPECT_EQ(page.Manager.QueuedCount(), 0);
  EXPECT_NE(page.Html().find("aX|b"), std::string::npos) << page.Html();
  EXPECT_NE(page.Html().find("width=\"12"), std::string::npos) << page.Html();
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

TpsMessagePtr Direct(TpsWindow* aLine, Integer aId) {
  TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, aLine);
  m->AutoFree = false;
  return m;
}

// A real line answers the smart-tag messages: its text for the analysis
// (a no-break space read as a blank, a blank for a closing "br"), a mark
// over characters counted from 1, the marked text;
// a right click on the marked fragment goes to the smart-tag thread.
TEST(TextLineMouse, SmartTagsOnARealLine) {
  KeyPage page;
  page.Host.Options["SmartTagsActive"] = 1;
  page.Open("<html><body><p>|see www.example.org&nbsp;now<br></p></body></html>");
  TpsTextNode* line = TextLines(page.Body)[0];
  TpsMessagePtr collect_ = Direct(line, psmCollectSmartTagText);
  TpsMessage& collect = *collect_;
  line->HandleMessage(collect);
  EXPECT_TRUE(collect.Result);
  EXPECT_EQ(rtl::WideToUtf8(collect.WideText), "see www.example.org now ");
  EXPECT_EQ(collect.ElementId, line->GetLineChunk()->GetCharacterIdsCrc());

  TpsMessagePtr mark_ = Direct(line, psmSetSmartTag);
  TpsMessage& mark = *mark_;
  mark.SetParam(1, 5);
  mark.SetParam(2, 19);
  mark.Value = 7;
  mark.SmartTagOption = 1;
  line->HandleMessage(mark);
  TpsMessagePtr text_ = Direct(line, psmGetSmartTagText);
  TpsMessage& text = *text_;
  text.Value = 7;
  line->HandleMessage(text);
  EXPECT_EQ(text.Text, "www.example.org");
  // A second mark over marked characters is refused.
  TpsMessagePtr again_ = Direct(line, psmSetSmartTag);
  TpsMessage& again = *again_;
  again.SetParam(1, 1);
  again.SetParam(2, 6);
  again.Value = 8;
  again.SmartTagOption = 1;
  line->HandleMessage(again);
  text.Text.clear();
  text.Value = 8;
  line->HandleMessage(text);
  EXPECT_EQ(text.Text, "");

  // The right click on the fragment.
  const Integer x = line->GetAbsoluteLeft() + line->Items().GetItem(6).X + 2;
  ASSERT_TRUE(line->Items().GetItem(6).Element->SmartTag.Marked);  // the dot after www
  page.Mouse(psmMouseDown, x, line->GetAbsoluteTop() + 5, 1);
  EXPECT_EQ(page.Host.CallCount("SmartTagClicked www.example.org"), 1);
  // Cleared but for another id.
  TpsMessagePtr clear_ = Direct(line, psmClearSmartTags);
  TpsMessage& clear = *clear_;
  clear.Value = 0;
  line->HandleMessage(clear);
  text.Text.clear();
  text.Value = 7;
  line->HandleMessage(text);
  EXPECT_EQ(text.Text, "");
}

// The smart-tag threads read and mark lines; their messages must leave the
// page as it is (an edit from that thread would have no undo step and
// report a change the user did not make): an empty inline pair stays until
// the user's next edit of that line.
TEST(TextLineMouse, SmartTagMessagesLeaveThePageAlone) {
  KeyPage page;
  page.Host.Options["SmartTagsActive"] = 1;
  page.Open("<html><body><p>|see www.example.org now</p></body></html>");
  TpsTextNode* line = TextLines(page.Body)[0];
  // Any message of the user's tidies such a pair at once, so it is put in
  // the line's list as an edit from outside the line would leave it.
  line->GetLineChunk()->AddTag(htmldoc::TpsHtmlTag::CreateFromText(nullptr, "<b>"));
  line->GetLineChunk()->AddTag(htmldoc::TpsHtmlTag::CreateFromText(nullptr, "</b>"));
  const std::string before = page.Html();
  ASSERT_NE(before.find("<b></b>"), std::string::npos) << before;
  const Integer ids[] = {psmIsBlockNode, psmCollectSmartTagText, psmClearSmartTags, psmSetSmartTag,
                         psmGetSmartTagText};
  for (Integer id : ids) {
    TpsMessagePtr m = Direct(line, id);
    m->SetParam(1, 5);
    m->SetParam(2, 19);
    m->Value = 7;
    m->SmartTagOption = 1;
    line->HandleMessage(*m);
    EXPECT_EQ(page.Html(), before) << "message " << id;
  }
  page.Manager.ProcessMessages();
  for (const std::string& call : page.Host.Calls) EXPECT_NE(call.rfind("NotifyDocumentChange", 0), 0u) << call;
  EXPECT_EQ(page.Html(), before);
  // The user's next edit of the line tidies the pair away.
  page.Type("x");
  EXPECT_EQ(page.Html().find("<b></b>"), std::string::npos) << page.Html();
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

// The image dialog's changes broadcast over the view: a link's tag parsed
// anew from text (953), a custom tag's stored source and content (950,
// found from an element inside it).
TEST(TextLineKeys, TagsReplacedFromText) {
  KeyPage page;
  page.Open("<html><body><p>|go <a href=\"old.html\">there</a></p></body></html>");
  TpsTextNode* line = TextLines(page.Body)[0];
  uint32_t link = 0;
  for (const htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e && !link; e = e->Next)
    if (htmldoc::TpsDataChunk::TagCodeOf(e) == htmldoc::TAG_A && e->Tag->GetTagType() == htmldoc::ttOpening) link = e->Id;
  ASSERT_NE(link, 0u);
  TpsMessage replace(mrCommand, psmReplaceTagFromText, nullptr);
  replace.AutoFree = false;
  replace.ElementId = link;
  replace.Text = "<a href=\"new.html\" title=\"t\">";
  page.Manager.BroadcastMessage(replace);
  EXPECT_EQ(page.Html(), "<p>|go <a href=\"new.html\" title=\"t\">there</a></p>");

  // A custom tag around characters: the element after it finds it.
  htmldoc::TpsDataChunk* chunk = line->GetLineChunk();
  htmldoc::TpsChunkElement* t = chunk->First();
  while (t && !(t->Kind == htmldoc::ceChar && t->Char == u't')) t = t->Next;
  ASSERT_TRUE(t);
  auto open = htmldoc::TpsHtmlTag::CreateFromText(page.Host.Events, "<@cust>");
  htmldoc::TpsHtmlTag* custom = open.get();
  chunk->InsertElement(htmldoc::NewTagElement(std::move(open)), t, false);
  TpsMessage source(mrCommand, psmSetCustomTagSource, nullptr);
  source.AutoFree = false;
  source.ElementId = t->Next->Id;
  source.Text2 = "<!--(PIN 3)-->";
  source.Text = "content";
  page.Manager.BroadcastMessage(source);
  EXPECT_EQ(custom->CustomSource, "<!--(PIN 3)-->");
  EXPECT_EQ(custom->CustomContent, "content");
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

// The tags of the document that carry a selection mark, in order, as
// "p", "/p" and the like.
std::string SelectedTags(KeyPage& aPage) {
  std::string s;
  std::unique_ptr<htmldoc::TpsDataChunk> chunk = aPage.Body->GetChunk(true);
  for (const htmldoc::TpsChunkElement* e = chunk->First(); e; e = e->Next)
    if (e->Selected && e->Kind == htmldoc::ceTag) {
      if (!s.empty()) s += ' ';
      s += (e->Tag->GetTagType() == htmldoc::ttClosing ? "/" : "") + htmldoc::TagCodeToName(e->Tag->GetTagCode());
    }
  return s;
}

TpsPoint Inside(TpsTextNode* aLine) {
  const TpsRect r = aLine->GetAbsoluteRect();
  return {r.Left + 3, (r.Top + r.Bottom) / 2};
}

TEST(TextLineMouse, TripleClickSelectsTheBlockWithItsTags) {
  // A double click, then a click at the same point within the double-click
  // time: the editor sends 190 to the line, the line asks its block for
  // its range (240) and the root's mark walk marks the block whole.
  struct Case {
    const char* name;
    const char* html;
    Integer line;  // the line clicked
    const char* text;
    const char* tags;
  };
  for (const Case& c : std::vector<Case>{
           {"a paragraph", "<p>one</p><p>alpha beta</p><p>two</p>", 1, "alphabeta", "p /p"},
           {"a list item", "<ul><li>one</li><li>alpha beta</li></ul>", 1, "alphabeta", "li /li"},
           {"a heading in a div", "<div><h2>alpha</h2><p>x</p></div>", 0, "alpha", "h2 /h2"},
           {"a table cell", "<table><tr><td>alpha</td><td>beta</td></tr></table>", 1, "beta", "td /td"},
           {"a quote of two paragraphs: the paragraph", "<blockquote><p>alpha</p><p>beta</p></blockquote>", 1,
            "beta", "p /p"},
           {"text directly in the body: all of it, the body's tags unmarked", "<b>alpha</b><i>beta</i>", 0,
            "alphabeta", "b /b i /i"},
       }) {
    SCOPED_TRACE(c.name);
    KeyPage page;
    page.Open(std::string("<html><body>") + c.html + "</body></html>");
    TpsTextNode* line = TextLines(page.Body)[c.line];
    const TpsPoint p = Inside(line);
    page.Mouse(psmMouseDown, p.X, p.Y, 0, ssDoubleBit);
    page.Mouse(psmMouseUp, p.X, p.Y);
    page.Clock->Advance(vcl::GetDoubleClickTime());
    page.Click(p.X, p.Y);
    EXPECT_EQ(page.Host.CallCount("SelectCurrentBlock"), 1);
    std::string text = page.Selected();
    std::erase(text, ' ');
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(SelectedTags(page), c.tags);
    EXPECT_TRUE(page.Host.Selection.Active());
    // Ctrl+Shift+B (190) with the selection there takes it away.
    page.Key(psmSelectBlock);
    EXPECT_EQ(page.Selected(), "");
    EXPECT_EQ(SelectedTags(page), "");
    EXPECT_FALSE(page.Host.Selection.Active());
    // And without one selects the block again.
    page.Key(psmSelectBlock);
    text = page.Selected();
    std::erase(text, ' ');
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(SelectedTags(page), c.tags);
  }
}

TEST(TextLineKeys, TypingOverASelectedBlockReplacesIt) {
  // The block's own tags are selected, so the edit is the root's: the
  // paragraph goes whole, tags and all, and the typed text starts the
  // paragraph that followed it (as a word processor treats a selected
  // paragraph with its end).
  KeyPage page;
  page.Open("<html><body><p>one</p><p>al|pha beta</p><p>two</p></body></html>");
  page.Key(psmSelectBlock);
  EXPECT_EQ(page.Selected(), "alpha beta");
  page.Type("X");
  EXPECT_EQ(page.Selected(), "");
  EXPECT_EQ(page.Html(), "<p>one</p><p>X|two</p>");
}

TEST(SelectionMarks, TheCoveringRangeBoundsTheWalk) {
  // Marks outside the covering range stay as they were; inside it they
  // follow the range; the walk ends at the cover's last element.
  KeyPage page;
  page.Open("<html><body><p>ab</p><p>cd</p><p>ef</p></body></html>");
  std::vector<TpsTextNode*> lines = TextLines(page.Body);
  auto first = [](TpsTextNode* l) { return l->GetLineChunk()->First(); };
  auto last = [](TpsTextNode* l) {
    htmldoc::TpsChunkElement* e = l->GetLineChunk()->Last();
    return e->Kind == htmldoc::ceCursor ? e->Prev : e;
  };
  // Everything marked first.
  TpsSelectionRange all{lines[0], first(lines[0])->Id, lines[2], last(lines[2])->Id};
  page.Host.Selection.SetRange(all);
  EXPECT_EQ(page.Selected(), "abcdef");
  EXPECT_EQ(SelectedTags(page), "/p p /p p");
  // Cover the second paragraph's line, select its last character.
  TpsSelectionRange cover{lines[1], first(lines[1])->Id, lines[1], last(lines[1])->Id};
  TpsSelectionRange range{lines[1], last(lines[1])->Id, lines[1], last(lines[1])->Id};
  TpsSelectionMarkRequest marks(cover, range);
  static_cast<TpsDocumentNode*>(page.Body)->MarkSelection(marks, nullptr, nullptr);
  EXPECT_TRUE(marks.RangeFound());
  EXPECT_TRUE(marks.StopReached());
  EXPECT_EQ(page.Selected(), "abdef");
  EXPECT_EQ(SelectedTags(page), "/p p /p p");
  // A range whose end lies in no node: nothing is found, marks in the
  // cover cleared (the empty cover is the whole document).
  TpsSelectionRange lost{lines[0], first(lines[0])->Id, nullptr, 0};
  TpsSelectionMarkRequest none(TpsSelectionRange{}, lost);
  static_cast<TpsDocumentNode*>(page.Body)->MarkSelection(none, nullptr, nullptr);
  EXPECT_FALSE(none.RangeFound());
  EXPECT_EQ(page.Selected(), "");
  // A bare block has no range of its own.
  TpsSelectionRange r;
  TpsBlockNode bare(nullptr, &page.Host);
  EXPECT_ANY_THROW(bare.GetBlockRange(r));
}

}  // namespace

namespace {

using namespace htmlview;
using htmlview::testing::KeyPage;
using htmlview::testing::TextLines;

// The fake metrics give every character 8 pixels and lines 13; the memo
// page starts at 0, 0, so line and document coordinates agree.
TEST(TextLineGeometry, TheCaretStandsAtItsItems) {
  struct Case {
    const char* html;
    Integer left;  // the caret's x; its width is 1 and it spans the item
  };
  for (const Case& c : std::vector<Case>{
           {"<p>|ab cd</p>", 0},      // nothing before: the first item's left edge
           {"<p>a|b cd</p>", 8},      // after a character: its right edge
           {"<p>ab| cd</p>", 16},     // before a blank: still the character's right edge
           {"<p>ab |cd</p>", 24},     // after a blank: the next item's left edge
           {"<p>ab cd|</p>", 40},     // at the end: the last item's right edge
           {"<p>ab&nbsp;|cd</p>", 24}, // a non-breaking space is an item of its own
       }) {
    SCOPED_TRACE(c.html);
    KeyPage page;
    page.Open(std::string("<html><body>") + c.html + "</body></html>");
    TpsTextNode* line = page.Focused();
    ASSERT_TRUE(line);
    const TpsRect r = line->CaretRect();
    EXPECT_EQ(r.Left, c.left);
    EXPECT_EQ(r.Right, c.left + 1);
    EXPECT_EQ(r.Top, 0);
    EXPECT_EQ(r.Bottom, 12);
  }
  // Blanks after the line's last item: one space width past it, however
  // many there are, and never outside the line.
  KeyPage page(400, 300);
  page.Open("<html><body><p>ab|</p></body></html>");
  page.Host.Options["AllowMultipleSpaces"] = 1;
  page.Type(" ");
  TpsTextNode* line = page.Focused();
  ASSERT_TRUE(line);
  EXPECT_EQ(page.Html(), "<p>ab |</p>");
  EXPECT_EQ(line->CaretRect().Left, 24);
}

TEST(TextLineGeometry, ClicksHitTheNearestCharacterCentre) {
  // Centres of "ab cd": a 4, b 12, c 28, d 36.
  struct Case {
    const char* html;
    Integer x;
    const char* out;
  };
  for (const Case& c : std::vector<Case>{
           {"<p>ab cd|</p>", 3, "<p>|ab cd</p>"},
           {"<p>ab cd|</p>", 4, "<p>a|b cd</p>"},     // on a centre: after it
           {"<p>ab cd|</p>", 19, "<p>ab| cd</p>"},    // in the gap, nearer b
           {"<p>ab cd|</p>", 20, "<p>ab| cd</p>"},    // as near to b as to c: the first
           {"<p>ab cd|</p>", 21, "<p>ab |cd</p>"},
           {"<p>|ab cd</p>", 300, "<p>ab cd|</p>"},   // past the end: after the last
           // At the line's text edges the cursor leaves custom tags and links.
           {"<p><code>ab</code> cd|</p>", 2, "<p>|<code>ab<code> cd</p>"},
           {"<p>|ab <code>cd</code></p>", 300, "<p>ab <code>cd<code>|</p>"},
           {"<p><a href=\"x\">ab</a> cd|</p>", 2, "<p>|<a href=\"x\">ab</a> cd</p>"},
           {"<p>|</p>", 50, "<p>|</p>"},              // no text: the line's end
       }) {
    SCOPED_TRACE(std::string(c.html) + " at " + std::to_string(c.x));
    KeyPage page;
    page.Open(std::string("<html><body>") + c.html + "</body></html>");
    page.Click(c.x, 6);
    EXPECT_EQ(page.Html(), c.out);
  }
  // The hit test itself, and the strict search that wants the x near the
  // character.
  KeyPage page;
  page.Open("<html><body><p>|ab cd</p></body></html>");
  TpsTextNode* line = page.Focused();
  ASSERT_TRUE(line);
  htmldoc::TpsChunkElement* e = nullptr;
  bool before = false;
  ASSERT_TRUE(line->HitTestCharacter(27, e, before));
  EXPECT_EQ(e->Char, u'c');
  EXPECT_TRUE(before);
  ASSERT_TRUE(line->HitTestCharacter(36, e, before));
  EXPECT_EQ(e->Char, u'd');
  EXPECT_FALSE(before);
  ASSERT_TRUE(line->FindCharacterAtX(47, true));  // within one width of d (32..39)
  EXPECT_FALSE(line->FindCharacterAtX(48, true));
  EXPECT_EQ(line->FindCharacterAtX(300, false)->Char, u'd');
  KeyPage empty;
  empty.Open("<html><body><p>|</p></body></html>");
  ASSERT_TRUE(empty.Focused());
  EXPECT_FALSE(empty.Focused()->HitTestCharacter(0, e, before));
  EXPECT_FALSE(e);
}

TEST(TextLineMouse, HoveringOverALinkShowsTheLinkCursorWhereverTheCaretIs) {
  KeyPage page;
  page.Open("<html><body><p>|go <a href=\"x.html\">there</a> now</p><p>other</p></body></html>");
  TpsTextNode* line = TextLines(page.Body)[0];
  // "there" runs from 24 to 63; the caret stays before "go".
  page.Mouse(psmMouseMove, 40, 6, -1);
  EXPECT_EQ(line->MouseCursor, vcl::crHandPoint);
  page.Mouse(psmMouseMove, 4, 6, -1);
  EXPECT_EQ(line->MouseCursor, vcl::crIBeam);
  // A link that opened in the line before still counts.
  KeyPage wrapped(64, 300);
  wrapped.Open("<html><body><p>|x <a href=\"y\">aaaa bbbb</a></p></body></html>");
  std::vector<TpsTextNode*> lines = TextLines(wrapped.Body);
  ASSERT_GE(lines.size(), 2u);
  const TpsRect second = lines[1]->GetAbsoluteRect();
  wrapped.Mouse(psmMouseMove, second.Left + 4, second.Top + 6, -1);
  EXPECT_EQ(lines[1]->MouseCursor, vcl::crHandPoint);
  // With a selection the I-beam stays.
  page.Key(psmKeyRight, ssShiftBit);
  page.Mouse(psmMouseMove, 40, 6, -1);
  EXPECT_EQ(line->MouseCursor, vcl::crIBeam);
}

}  // namespace
