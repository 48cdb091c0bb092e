// The editing transactions of a text line: which transaction each key
// makes from the facts of the cursor's place, and the transactions run end
// to end on a root's edit operations (fixture in, HTML and cursor out)
// where the root carries them out alone; word selection across line
// breaks and the triple-click rule.
#include <gtest/gtest.h>

#include "EditRoot.h"
#include "htmledit/doc/psTableAccess.h"
#include "htmledit/view/psTextEditing.h"

namespace {

using namespace htmlview;
using htmlview::testing::EditRoot;

std::vector<Integer> Ids(const TpsMessageQueueList& q) {
  std::vector<Integer> ids;
  for (const auto& m : q) ids.push_back(m->Id);
  return ids;
}

const std::vector<Integer> kOpen{psmBeginEdit, psmExtractChunk};

std::vector<Integer> Framed(std::vector<Integer> aMiddle) {
  std::vector<Integer> ids = kOpen;
  ids.insert(ids.end(), aMiddle.begin(), aMiddle.end());
  ids.insert(ids.end(), {psmRelayout, psmDocumentChanged, psmEndEdit});
  return ids;
}

TEST(TextEditing, TypingRunsOnTheRoot) {
  struct Case {
    const char* name;
    const char* in;
    const char* text;
    bool selection;
    const char* out;
  };
  for (const Case& c : std::vector<Case>{
           {"a character at the cursor", "<p>ab|</p>", "x", false, "<p>abx|</p>"},
           {"the selection goes first", "<p>a[bc]|d</p>", "x", true, "<p>ax|d</p>"},
           {"no text: only the selection goes", "<p>a[bc]|d</p>", "", true, "<p>a|d</p>"},
       }) {
    SCOPED_TRACE(c.name);
    EditRoot doc(c.in);
    auto q = BuildTypingTransaction(rtl::Utf8ToWide(c.text), c.selection, true);
    std::vector<Integer> middle;
    if (c.selection) middle.push_back(psmDeleteSelection);
    if (*c.text) middle.push_back(psmInsertText);
    EXPECT_EQ(Ids(q), Framed(middle));
    for (auto& m : q) EXPECT_TRUE(m->ToRoot);
    doc.Run(q);
    EXPECT_EQ(doc.Out(), c.out);
  }
  EXPECT_FALSE(TypingGoesToRoot(false, false));
  EXPECT_FALSE(TypingGoesToRoot(true, true));
  EXPECT_TRUE(TypingGoesToRoot(true, false));
  // To the block, the queue is not marked for the root.
  for (auto& m : BuildTypingTransaction(u"x", false, false)) EXPECT_FALSE(m->ToRoot);
}

TEST(TextEditing, ShiftEnterTakesNoLineBreakWhileReadOnly) {
  EXPECT_TRUE(BuildLineBreakTransaction(true).empty());
  auto q = BuildLineBreakTransaction(false);
  EXPECT_EQ(Ids(q), Framed({psmInsertLineBreak}));
  for (auto& m : q) EXPECT_FALSE(m->ToRoot);  // to the line's block
}

TEST(TextEditing, WhatEnterDoes) {
  using enum TpsEnterAction;
  struct Case {
    const char* name;
    std::function<void(TpsEnterFacts&)> set;
    TpsEnterAction action;
  };
  const std::vector<Case> cases{
      {"a paragraph with text splits", [](TpsEnterFacts&) {}, Split},
      {"read-only", [](TpsEnterFacts& f) { f.ReadOnly = true; }, Nothing},
      {"a table cell takes a line break", [](TpsEnterFacts& f) { f.InTableCell = true; }, LineBreak},
      {"a table cell inside a custom tag", [](TpsEnterFacts& f) { f.InTableCell = f.InCustomTag = true; }, Nothing},
      {"an empty list item leaves its list", [](TpsEnterFacts& f) { f.InEmptyListItem = true; }, ListItemEnter},
      {"an empty item inside a custom tag", [](TpsEnterFacts& f) { f.InEmptyListItem = f.InCustomTag = true; },
       Nothing},
      {"inside a link", [](TpsEnterFacts& f) { f.CursorInLink = true; f.BlockHasText = true; }, Nothing},
      {"an empty block without multiple empty blocks",
       [](TpsEnterFacts& f) { f.AllowMultipleEmptyBlocks = false; f.BlockHasText = false; }, Nothing},
      {"a block with text without multiple empty blocks",
       [](TpsEnterFacts& f) { f.AllowMultipleEmptyBlocks = false; f.BlockHasText = true; }, Split},
      {"inside a custom tag away from its edge", [](TpsEnterFacts& f) { f.InCustomTag = true; }, Nothing},
      {"at a custom tag's edge", [](TpsEnterFacts& f) { f.InCustomTag = true; f.CustomSplitElementId = 7; }, Split},
      {"inside a custom tag with a selection", [](TpsEnterFacts& f) { f.InCustomTag = f.HasSelection = true; },
       Split},
      {"the split event forbids it", [](TpsEnterFacts& f) { f.SplitAllowed = false; }, Nothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TpsEnterFacts f;
    c.set(f);
    EXPECT_EQ(DecideEnter(f), c.action);
  }
}

TEST(TextEditing, TheSplitTransaction) {
  EXPECT_EQ(ClassSelector(""), "");
  EXPECT_EQ(ClassSelector("note"), ".note");
  EXPECT_EQ(ClassSelector(".note"), ".note");

  TpsEnterFacts plain;
  plain.FirstBlockClass = "intro";
  plain.SecondBlockClass = "";
  auto q = BuildSplitTransaction(plain);
  EXPECT_EQ(Ids(q), Framed({psmInsertMarkerBeforeCursor, psmSplitBlockAtMarker}));
  EXPECT_EQ(q[2]->GetParam(1), 1);
  const TpsMessage& split = *q[3];
  EXPECT_EQ(split.GetParam(1), 1);
  EXPECT_TRUE(split.Result);
  EXPECT_EQ(split.FirstBlockClass, ".intro");
  EXPECT_EQ(split.SecondBlockClass, "");
  const auto* change = dynamic_cast<const TpsNotifyDocumentChangeMsg*>(q[5].get());
  ASSERT_TRUE(change);
  EXPECT_EQ(change->Change, htmldoc::dcSplitCurrentBlock);
  for (auto& m : q) EXPECT_TRUE(m->ToRoot) << m->Id;

  // With a selection it goes first; at a custom tag's edge the marker is
  // put at the split element and the cursor moved to it.
  TpsEnterFacts custom;
  custom.InCustomTag = true;
  custom.CustomSplitElementId = 42;
  custom.CustomSplitAfter = true;
  q = BuildSplitTransaction(custom);
  EXPECT_EQ(Ids(q), Framed({psmInsertMarkerAtElement, psmCursorToMarker, psmSplitBlockAtMarker}));
  EXPECT_EQ(q[2]->ElementId, 42u);
  EXPECT_TRUE(q[2]->Result);
  TpsEnterFacts selected;
  selected.HasSelection = true;
  q = BuildSplitTransaction(selected);
  EXPECT_EQ(Ids(q), Framed({psmDeleteSelection, psmInsertMarkerBeforeCursor, psmSplitBlockAtMarker}));
}

TEST(TextEditing, WhatBackspaceAndDeleteDo) {
  using enum TpsDeleteAction;
  struct Case {
    const char* name;
    std::function<void(TpsDeleteFacts&)> set;
    TpsDeleteAction backspace, del;
  };
  const std::vector<Case> cases{
      {"read-only", [](TpsDeleteFacts& f) { f.ReadOnly = f.HasSelection = f.CharacterToDelete = true; }, Nothing,
       Nothing},
      {"a selection", [](TpsDeleteFacts& f) { f.HasSelection = f.CharacterToDelete = true; }, DeleteSelection,
       DeleteSelection},
      {"a character", [](TpsDeleteFacts& f) { f.CharacterToDelete = true; }, DeleteCharacter, DeleteCharacter},
      {"start of a nested list item", [](TpsDeleteFacts& f) { f.InListItem = f.ListInAnotherList = true; },
       DecreaseListIndent, Nothing},
      {"start of a top-level list item", [](TpsDeleteFacts& f) { f.InListItem = true; }, ListItemToParagraph,
       Nothing},
      {"a block inside a list", [](TpsDeleteFacts& f) { f.AncestorIsList = true; }, LeaveList, Nothing},
      {"start of the first block of a table cell", [](TpsDeleteFacts& f) { f.InTableCell = true; }, Nothing,
       Nothing},
      {"start of a block", [](TpsDeleteFacts& f) { f.HasNextLine = true; }, MergeWithPrevious, JoinNextBlock},
      {"after a nested block", [](TpsDeleteFacts& f) { f.CharacterBeforeInBlock = f.HasPreviousLine = true; },
       JoinNestedBlock, Nothing},
      {"after a nested block, first line of the document",
       [](TpsDeleteFacts& f) { f.CharacterBeforeInBlock = true; }, Nothing, Nothing},
      {"an empty paragraph before a list",
       [](TpsDeleteFacts& f) { f.InEmptyParagraph = f.NextLineInList = f.HasNextLine = true; }, MergeWithPrevious,
       DeleteEmptyParagraph},
      {"the next line lies in a table", [](TpsDeleteFacts& f) { f.HasNextLine = f.NextLineInTable = true; },
       MergeWithPrevious, Nothing},
      {"the end of a cell's text", [](TpsDeleteFacts& f) { f.InTableCell = f.HasNextLine = true; }, Nothing,
       Nothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TpsDeleteFacts f;
    c.set(f);
    EXPECT_EQ(DecideBackspace(f), c.backspace);
    EXPECT_EQ(DecideDelete(f), c.del);
  }
}

TEST(TextEditing, DeletionRunsOnTheRoot) {
  using enum TpsDeleteAction;
  struct Case {
    const char* name;
    const char* in;
    TpsDeleteAction action;
    bool backward;
    std::function<void(TpsDeleteFacts&)> set;
    const char* out;
  };
  const std::vector<Case> cases{
      {"Backspace deletes the character before", "<p>ab|</p>", DeleteCharacter, true, nullptr, "<p>a|</p>"},
      {"Ctrl+Backspace deletes the word", "<p>one two|</p>", DeleteCharacter, true,
       [](TpsDeleteFacts& f) { f.Ctrl = true; }, "<p>one |</p>"},
      {"Delete deletes the character after", "<p>a|bc</p>", DeleteCharacter, false, nullptr, "<p>a|c</p>"},
      {"Ctrl+Delete deletes the word", "<p>x|one, two</p>", DeleteCharacter, false,
       [](TpsDeleteFacts& f) { f.Ctrl = true; }, "<p>x|, two</p>"},
      {"a selection", "<p>a[bc]|d</p>", DeleteSelection, true, nullptr, "<p>a|d</p>"},
      {"Delete at a block's end joins the next block", "<p>ab|@M2@</p><p>@M1@cd</p>", JoinNextBlock, false,
       nullptr, "<p>ab|cd</p>"},
      {"the merge event's class", "<p>ab|@M2@</p><p class=\"note\">@M1@cd</p>", JoinNextBlock, false,
       [](TpsDeleteFacts& f) {
         f.NextLineInOtherBlock = true;
         f.MergedClass = "note";
       },
       "<p class=\"note\">ab|cd</p>"},
      {"an empty paragraph before a list", "<p>|@M1@</p><ul><li>@M2@x</li></ul>", DeleteEmptyParagraph, false,
       nullptr, "<ul><li>|x</li></ul>"},
      {"Backspace after a nested block joins this block's content behind it",
       "<div><p>ab@M1@</p>@M2@|cd</div>", JoinNestedBlock, true, nullptr, "<div><p>ab|cd</p></div>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditRoot doc(c.in);
    TpsDeleteFacts f;
    if (c.set) c.set(f);
    auto q = BuildDeleteTransaction(c.action, f, c.backward);
    ASSERT_FALSE(q.empty());
    doc.Run(q);
    EXPECT_EQ(doc.Out(), c.out);
  }
}

TEST(TextEditing, ListAndMergeTransactions) {
  using enum TpsDeleteAction;
  TpsDeleteFacts f;
  f.NestedListItemCount = 2;
  auto q = BuildDeleteTransaction(ListItemToParagraph, f, true);
  EXPECT_EQ(Ids(q), Framed({psmMarkerAtCursor, psmOutdentListItem, psmRemoveMarker, psmOutdentListItem,
                            psmRemoveMarker, psmListItemToParagraph, psmCursorAtMarker}));
  // Sub-item i is outdented at marker i + 2.
  EXPECT_EQ(q[3]->GetParam(1), 2);
  EXPECT_EQ(q[6]->GetParam(1), 3);
  q = BuildDeleteTransaction(LeaveList, f, true);
  EXPECT_EQ(Ids(q), Framed({psmMarkerAtCursor, psmMarkBlockRange, psmSplitBlockAtMarkers, psmCursorAtMarker}));
  EXPECT_EQ(q[2]->GetParam(1), 3);
  EXPECT_EQ(q[3]->GetParam(3), 3);
  EXPECT_FALSE(q[4]->Result);
  // Merging with the previous block is the block's own: no extraction.
  q = BuildDeleteTransaction(MergeWithPrevious, f, true);
  EXPECT_EQ(Ids(q), (std::vector<Integer>{psmDocumentChanged, psmMergeBlocks}));
  EXPECT_FALSE(q[1]->ToRoot);
  EXPECT_TRUE(BuildDeleteTransaction(DecreaseListIndent, f, true).empty());
  EXPECT_TRUE(BuildDeleteTransaction(Nothing, f, true).empty());
}

TEST(TextEditing, TabAndShiftTabInTables) {
  struct Case {
    const char* name;
    const char* in;
    bool backward;
    const char* out;
  };
  const std::vector<Case> cases{
      {"Tab to the next cell", "<table><tr><td>a|</td><td>b</td></tr></table>", false,
       "<table><tr><td>a</td><td>|b</td></tr></table>"},
      {"Tab from a row's last cell to the next row",
       "<table><tr><td>a</td><td>b|</td></tr><tr><td>c</td></tr></table>", false,
       "<table><tr><td>a</td><td>b</td></tr><tr><td>|c</td></tr></table>"},
      {"Tab in the last cell appends a row", "<table><tr><td class=\"note\">a</td><td>b|</td></tr></table>", false,
       "<table><tr><td class=\"note\">a</td><td>b</td></tr><tr><td class=\"note\">|</td><td></td></tr></table>"},
      {"Shift+Tab to the previous cell", "<table><tr><td>a</td><td>b|</td></tr></table>", true,
       "<table><tr><td>|a</td><td>b</td></tr></table>"},
      {"Shift+Tab to the previous row's last cell (rows of different lengths)",
       "<table><tr><td>a</td><td>b</td><td>c</td></tr><tr><td>d|</td></tr></table>", true,
       "<table><tr><td>a</td><td>b</td><td>|c</td></tr><tr><td>d</td></tr></table>"},
      {"Shift+Tab in the first cell changes nothing", "<table><tr><td>a|</td><td>b</td></tr></table>", true,
       "<table><tr><td>a|</td><td>b</td></tr></table>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditRoot doc(c.in);
    TpsTablePlace place;
    {
      auto copy = doc.Root->GetChunk(true);
      htmldoc::TpsChunkElement* start = copy->First();
      htmldoc::TpsTableDataAccess table(copy.get(), start, copy->Last(), nullptr, false);
      place = ReadTablePlace(table);
    }
    auto q = BuildTableTabTransaction(place, c.backward);
    doc.Run(q);
    EXPECT_EQ(doc.Out(), c.out);
  }
  TpsTablePlace first{0, 0, 2, 2, 0};
  EXPECT_EQ(Ids(BuildTableTabTransaction(first, true)), Framed({}));
}

TEST(TextEditing, UpAndDownMakeAPlaceNextToATable) {
  struct Case {
    const char* name;
    bool down;
    const char* out;
  };
  for (const Case& c : std::vector<Case>{
           {"Down: after the closing tag", true,
            "<div><table><tr><td>a</td></tr></table>|~\xc2\xa0</div>"},
           {"Up: before the opening tag", false,
            "<div>|~\xc2\xa0<table><tr><td>a</td></tr></table></div>"},
       }) {
    SCOPED_TRACE(c.name);
    EditRoot doc("<div><table><tr><td>a|</td></tr></table></div>");
    htmldoc::TpsChunkElement* tag = doc.Element(c.down ? "</table>" : "<table>");
    ASSERT_TRUE(tag);
    auto q = BuildTableEdgeTransaction(tag->Id, c.down);
    EXPECT_EQ(Ids(q), (std::vector<Integer>{psmBeginEdit, psmExtractChunk, psmRemoveCursorElement,
                                            psmInsertElementAfter, psmInsertElementAfter, psmRelayout,
                                            psmCursorMoved, psmEndEdit}));
    doc.Run(q);
    EXPECT_EQ(doc.Out(), c.out);
    // The blank ("~" in the notation) is the one placeholder.
    auto chunk = doc.Root->GetChunk(true);
    Integer placeholders = 0;
    for (auto* e = chunk->First(); e; e = e->Next) placeholders += e->Placeholder ? 1 : 0;
    EXPECT_EQ(placeholders, 1);
    chunk->Check();
  }
}

TEST(TextEditing, WordSelectionAcrossLineBreaks) {
  struct Case {
    const char* name;
    std::vector<const char*> lines;
    Integer line, index;
    bool found;
    TpsWordPosition start, end;
  };
  const std::vector<Case> cases{
      {"a word inside its line", {"one two three"}, 0, 5, true, {0, 4}, {0, 6}},
      {"the cursor right after a word", {"one two"}, 0, 3, true, {0, 0}, {0, 2}},
      {"no word at the cursor", {"a  b"}, 0, 2, false, {}, {}},
      {"a word broken over two lines", {"one lon", "gword end"}, 1, 2, true, {0, 4}, {1, 4}},
      {"from the first half", {"one lon", "gword end"}, 0, 5, true, {0, 4}, {1, 4}},
      {"over a whole middle line", {"x aaa", "bbb", "ccc y"}, 1, 1, true, {0, 2}, {2, 2}},
      {"a line that ends with a blank stops", {"one ", "two"}, 1, 1, true, {1, 0}, {1, 2}},
      {"a line that starts with a delimiter stops", {"one", ".two"}, 0, 1, true, {0, 0}, {0, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TpsWordLine> lines;
    for (const char* l : c.lines) lines.push_back({rtl::Utf8ToWide(l)});
    TpsWordPosition start, end;
    EXPECT_EQ(SelectWordAcrossLines(lines, c.line, c.index, start, end), c.found);
    if (c.found) {
      EXPECT_EQ(start, c.start);
      EXPECT_EQ(end, c.end);
    }
  }
}

TEST(TextEditing, TripleClick) {
  TpsClickTracker clicks;
  EXPECT_FALSE(clicks.IsTripleClick(100, 5, 5, 500));
  clicks.DoubleClicked(1000, 40, 12);
  struct Case {
    uint32_t time;
    Integer x, y;
    bool triple;
  };
  for (const Case& c : std::vector<Case>{{1000, 40, 12, true},
                                         {1500, 40, 12, true},
                                         {1501, 40, 12, false},
                                         {1200, 41, 12, false},
                                         {1200, 40, 13, false}}) {
    SCOPED_TRACE(c.time);
    EXPECT_EQ(clicks.IsTripleClick(c.time, c.x, c.y, 500), c.triple);
  }
  // Across a wrap of the tick count.
  clicks.DoubleClicked(0xFFFFFF00u, 1, 1);
  EXPECT_TRUE(clicks.IsTripleClick(0x00000010u, 1, 1, 500));
}

}  // namespace
