// The block-level edits a block carries out on its gathered list, and
// those only the body carries out as they need the whole document, run as
// the editor runs them: a transaction posted to the body (begin, gather,
// the edits, relayout, end) through the window manager, the document read
// back in the fixture notation.
#include <gtest/gtest.h>

#include <functional>

#include "LayoutFixture.h"
#include "htmldoc/support/ChunkFixture.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

using Setup = std::function<void(TpsMessage&, htmldoc::TpsDataChunk&)>;

struct BlockEditCase {
  const char* Name;
  const char* Before;
  Integer Id;
  Setup Prepare;
  const char* After;
  bool AllowBreaks = true;
};

std::string RunBlockEdit(const BlockEditCase& c) {
  LayoutPage page;
  page.Host.Options["AllowMultipleLineBreaks"] = c.AllowBreaks ? 1 : 0;
  page.LoadChunk(ReadFixture(c.Before, page.Host.Events));
  std::unique_ptr<htmldoc::TpsDataChunk> copy = page.Body->GetChunk(true);
  const auto post = [&](Integer aId) -> TpsMessage& {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, page.Body);
    TpsMessage& ref = *m;
    page.Manager.PostMessage(std::move(m));
    return ref;
  };
  post(psmBeginEdit);
  post(psmExtractChunk);
  TpsMessage& edit = post(c.Id);
  edit.Flags->SetFlag(mfChangesDocument, true);
  if (c.Prepare) c.Prepare(edit, *copy);
  post(psmRelayout);
  post(psmEndEdit);
  page.Manager.ProcessMessages();
  return DumpFixture(*page.Body->GetChunk(true));
}

Setup Param1(Integer aValue) {
  return [aValue](TpsMessage& m, htmldoc::TpsDataChunk&) { m.SetParam(1, aValue); };
}

void RunTable(const std::vector<BlockEditCase>& aCases) {
  for (const BlockEditCase& c : aCases) EXPECT_EQ(RunBlockEdit(c), c.After) << c.Name;
}

}  // namespace

TEST(BlockEdits, LineBreaks) {
  RunTable({
      {"inserted before the cursor", "<body><p>ab|c</p></body>", psmInsertLineBreak, nullptr,
       "<body><p>ab<br />|c</p></body>"},
      {"a second one allowed by default", "<body><p>ab<br>|c</p></body>", psmInsertLineBreak, nullptr,
       "<body><p>ab<br><br />|c</p></body>"},
      {"refused right after a break, blanks passed over", "<body><p>ab<br> |c</p></body>", psmInsertLineBreak,
       nullptr, "<body><p>ab<br> |c</p></body>", false},
      {"before a break the caret moves behind it", "<body><p>ab|<br> cd</p></body>", psmInsertLineBreak, nullptr,
       "<body><p>ab<br> |cd</p></body>", false},
      {"behind a last break when no character follows", "<body><p>ab|<br></p></body>", psmInsertLineBreak,
       nullptr, "<body><p>ab<br>|</p></body>", false},
      {"away from any break still inserted", "<body><p>a|b</p></body>", psmInsertLineBreak, nullptr,
       "<body><p>a<br />|b</p></body>", false},
  });
}

TEST(BlockEdits, MarkerIntoParagraph) {
  RunTable({
      {"a new paragraph around it", "<body><p>a</p>@M1@<p>b</p></body>", psmEnsureMarkerInParagraph, Param1(1),
       "<body><p>a</p><p>@M1@</p><p>b</p></body>"},
      {"into the empty paragraph before it", "<body><p>a</p><p></p>@M1@</body>", psmEnsureMarkerInParagraph,
       Param1(1), "<body><p>a</p><p>@M1@</p></body>"},
      {"into the empty paragraph after it", "<body>@M1@<p></p><p>a</p></body>", psmEnsureMarkerInParagraph,
       Param1(1), "<body><p>@M1@</p><p>a</p></body>"},
  });
}

TEST(BlockEdits, MarkerLiftedOutOfBlocks) {
  RunTable({
      {"a middle item splits its list", "<body><ul><li>a</li><li>@M1@</li><li>c</li></ul></body>",
       psmLiftMarkerOutOfBlocks, Param1(1), "<body><ul><li>a</li></ul>@M1@<ul><li>c</li></ul></body>"},
      {"the last item leaves after its list", "<body><ul><li>a</li><li> @M1@</li></ul></body>",
       psmLiftMarkerOutOfBlocks, Param1(1), "<body><ul><li>a</li></ul>@M1@</body>"},
      {"the only item takes its list along", "<body><ol><li>@M1@</li></ol><p>x</p></body>",
       psmLiftMarkerOutOfBlocks, Param1(1), "<body>@M1@<p>x</p></body>"},
      {"text before and after: split with the inline tags",
       "<body><p><b>ab@M1@cd</b></p></body>", psmLiftMarkerOutOfBlocks, Param1(1),
       "<body><p><b>ab</b></p>@M1@<p><b>cd</b></p></body>"},
      {"never out of a table cell",
       "<body><table><tr><td><ul><li>@M1@</li></ul></td></tr></table></body>", psmLiftMarkerOutOfBlocks,
       Param1(1), "<body><table><tr><td>@M1@</td></tr></table></body>"},
  });
}

TEST(BlockEdits, InlineTagsRemoved) {
  const auto span = [](Integer aIndex, bool aKeepTyping) {
    return [aIndex, aKeepTyping](TpsMessage& m, htmldoc::TpsDataChunk&) {
      m.Value = aIndex;
      m.Result = aKeepTyping;
    };
  };
  const auto atMarker = [](bool aByCode, Byte aCode) {
    return [aByCode, aCode](TpsMessage& m, htmldoc::TpsDataChunk&) {
      m.SetParam(1, 1);
      m.Result = aByCode;
      m.TagCode = aCode;
    };
  };
  RunTable({
      {"the innermost span at the cursor", "<body><p><b><i>a|b</i></b></p></body>", psmRemoveSpanByIndex,
       span(0, false), "<body><p><b>a|b</b></p></body>"},
      {"the next one out", "<body><p><b><i>a|b</i></b></p></body>", psmRemoveSpanByIndex, span(1, false),
       "<body><p><i>a|b</i></p></body>"},
      {"no span of that index", "<body><p><b>a|b</b></p></body>", psmRemoveSpanByIndex, span(3, false),
       "<body><p><b>a|b</b></p></body>"},
      {"at the span's end the caret and blanks step out", "<body><p><b>ab| </b>c</p></body>",
       psmRemoveSpanByIndex, span(0, true), "<body><p><b>ab</b> |c</p></body>"},
      {"text after the caret: the span goes", "<body><p><b>a|b</b>c</p></body>", psmRemoveSpanByIndex,
       span(0, true), "<body><p>a|bc</p></body>"},
      {"with its custom wrapper", "<body><p>x<@cust><b>a|b</b></@cust>y</p></body>", psmRemoveSpanByIndex,
       [](TpsMessage& m, htmldoc::TpsDataChunk&) { m.Option = true; }, "<body><p>xa|by</p></body>"},
      {"a custom pair that is no wrapper stays", "<body><p><@cust>x<b>a|b</b></@cust></p></body>",
       psmRemoveSpanByIndex, [](TpsMessage& m, htmldoc::TpsDataChunk&) { m.Option = true; },
       "<body><p><@cust>xa|b</@cust></p></body>"},
      {"the innermost open tag before the marker", "<body><p><a href=\"x\"><b>a@M1@b</b></a></p></body>",
       psmRemoveInlineTagsAtMarker, atMarker(false, 0), "<body><p><a href=\"x\">ab</a></p></body>"},
      {"only a link", "<body><p><a href=\"x\"><b>a@M1@b</b></a></p></body>", psmRemoveInlineTagsAtMarker,
       atMarker(true, htmldoc::TAG_A), "<body><p><b>ab</b></p></body>"},
      {"a closed tag before the marker stays", "<body><p><i>a</i>b@M1@</p></body>", psmRemoveInlineTagsAtMarker,
       atMarker(false, 0), "<body><p><i>a</i>b</p></body>"},
      {"every formatting tag but links", "<body><p><b>a</b><a href=\"x\"><i>b</i></a>c</p></body>",
       psmRemoveInlineTags, nullptr, "<body><p>a<a href=\"x\">b</a>c</p></body>"},
  });
}

TEST(BlockEdits, SelectionWrappedAndFreed) {
  const auto text = [](const char* aText) {
    return [aText](TpsMessage& m, htmldoc::TpsDataChunk&) { m.Text = aText; };
  };
  RunTable({
      {"one run wrapped", "<body><p>a[bc]d</p></body>", psmWrapSelectionInCustomTag, text("<b>"),
       "<body><p>a<b>[bc]</b>d</p></body>"},
      {"each block's run wrapped apart", "<body><p>a[b</p><p>c]d</p></body>", psmWrapSelectionInCustomTag,
       text("<i>"), "<body><p>a<i>[b]</i>[</p><p>]<i>[c]</i>d</p></body>"},
      {"the caret before the run ends inside", "<body><p>a|[bc]d</p></body>", psmWrapSelectionInCustomTag,
       text("<b>"), "<body><p>a<b>|[bc]</b>d</p></body>"},
      {"applied next to an equal tag widens it", "<body><p><b>a</b>[bc]d</p></body>", psmApplyTagToSelection,
       text("<b>"), "<body><p><b>a[bc]</b>d</p></body>"},
      {"removed from the selection", "<body><p><b>a[bc]d</b></p></body>", psmRemoveTagFromSelection, text("<b>"),
       "<body><p><b>a</b>[bc]<b>d</b></p></body>"},
      {"removed in every block", "<body><p><b>a[b</b></p><p><b>c]d</b></p></body>", psmRemoveTagFromSelection,
       text("<b>"), "<body><p><b>a[</b>b</p><p>c<b>]d</b></p></body>"},
  });
}

TEST(BlockEdits, ElementMarked) {
  const auto mark = [](const char* aText) {
    return [aText](TpsMessage& m, htmldoc::TpsDataChunk& aCopy) {
      m.ElementId = htmldoc::testing::At(aCopy, aText)->Id;
      m.SetParam(1, 1);
      m.SetParam(2, 2);
    };
  };
  RunTable({
      {"a character", "<body><p>abc</p></body>", psmMarkElementWithWrappers, mark("b"),
       "<body><p>a@M1@b@M2@c</p></body>"},
  });
}

TEST(BlockEdits, EditsNeedTheGatheredListAndTheirMarkers) {
  LayoutPage page;
  page.LoadChunk(ReadFixture("<body><p>a|b</p></body>", page.Host.Events));
  TpsMessage lineBreak(mrCommand, psmInsertLineBreak, page.Body);
  EXPECT_ANY_THROW(page.Body->HandleMessage(lineBreak));

  TpsMessage extract(mrCommand, psmExtractChunk, page.Body);
  page.Body->HandleMessage(extract);
  TpsMessage lift(mrCommand, psmLiftMarkerOutOfBlocks, page.Body);
  lift.SetParam(1, 5);
  EXPECT_THROW(page.Body->HandleMessage(lift), htmldoc::EpsHtmlEditException);
  TpsMessage paragraph(mrCommand, psmEnsureMarkerInParagraph, page.Body);
  paragraph.SetParam(1, 5);
  EXPECT_THROW(page.Body->HandleMessage(paragraph), htmldoc::EpsHtmlEditException);
  TpsMessage relayout(mrCommand, psmRelayout, page.Body);
  page.Body->HandleMessage(relayout);
  EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), "<body><p>a|b</p></body>");
}

// Shift+Enter's transaction on a paragraph: the break makes the block
// taller, so the root lays the page out again, and the editor still hears
// of one change.
TEST(BlockEdits, AnEscalatedLineBreakNotifiesOnce) {
  LayoutPage page;
  page.LoadChunk(ReadFixture("<body><p>ab|c</p><p>d</p></body>", page.Host.Events));
  TpsWindow* paragraph = page.Body->Child(0);
  const Integer before = paragraph->Height;
  page.Host.Calls.clear();
  for (Integer id : {psmBeginEdit, psmExtractChunk, psmInsertLineBreak, psmRelayout, psmDocumentChanged,
                     psmEndEdit}) {
    TpsMessagePtr m = TpsMessage::Create(mrCommand, id, paragraph);
    if (id == psmInsertLineBreak) m->Flags->SetFlag(mfChangesDocument, true);
    page.Manager.PostMessage(std::move(m));
  }
  page.Manager.ProcessMessages();
  EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), "<body><p>ab<br />|c</p><p>d</p></body>");
  EXPECT_GT(page.Body->Child(0)->Height, before);
  EXPECT_EQ(std::count(page.Host.Calls.begin(), page.Host.Calls.end(), "LayoutRunning 1"), 1);
  EXPECT_EQ(std::count(page.Host.Calls.begin(), page.Host.Calls.end(), "NotifyDocumentChange 0"), 1);
}

// Backspace at a block's start (270 to the block): its content joins the
// previous block, which keeps its tag and takes the class the merge event
// returns; the first block of the page has nothing to join.
TEST(BlockEdits, MergeWithThePreviousBlock) {
  struct MergeCase {
    const char* Name;
    const char* Before;
    int Block;
    const char* MergedClass;  // nullptr: the event leaves it
    const char* After;
    const char* Event;
  };
  const MergeCase cases[] = {
      {"into the previous paragraph", "<body><p class=\"a\">ab</p><h1 class=\"b\">|cd</h1></body>", 1, nullptr,
       "<body><p class=\"a\">ab|cd</p></body>", "OnMergeBlocks a b"},
      {"the class the event returns", "<body><p class=\"a\">ab</p><p class=\"b\">|cd</p></body>", 1, "c",
       "<body><p class=\"c\">ab|cd</p></body>", "OnMergeBlocks a b"},
      {"an empty block merged", "<body><p>ab</p><p>|</p></body>", 1, nullptr, "<body><p>ab|</p></body>",
       "OnMergeBlocks   empty"},
      {"the first block has no previous one", "<body><p>|ab</p><p>cd</p></body>", 0, nullptr,
       "<body><p>|ab</p><p>cd</p></body>", nullptr},
  };
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page;
    htmldoc::testing::LoadCss(page.Host.Sheet, ".a { color: red } .b { color: blue } .c { color: green }");
    page.LoadChunk(ReadFixture(c.Before, page.Host.Events));
    // The relayout measures on the device context the editor hands out.
    page.Host.DC = &page.Fake;
    if (c.MergedClass) page.Host.OnMergeBlocks = [&c](AnsiString& aClass) { aClass = c.MergedClass; };
    page.Host.Calls.clear();
    TpsWindow* block = page.Body->Child(c.Block);
    page.Manager.PostMessage(TpsMessage::Create(mrCommand, psmMergeBlocks, block));
    page.Manager.ProcessMessages();
    EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), c.After);
    const bool fired = std::count(page.Host.Calls.begin(), page.Host.Calls.end(), c.Event ? c.Event : "") == 1;
    EXPECT_EQ(fired, c.Event != nullptr) << ::testing::PrintToString(page.Host.Calls);
    EXPECT_EQ(DumpLayout(page.Body), [&] {
      LayoutPage fresh;
      fresh.LoadChunk(page.Body->GetChunk(true));
      return DumpLayout(fresh.Body);
    }());
  }
}

namespace {

TpsWindow* NthListItem(TpsWindow* aNode, int& aN) {
  if (dynamic_cast<TpsListItemNode*>(aNode) && aN-- == 0) return aNode;
  for (TpsWindow* c : aNode->ChildList())
    if (TpsWindow* found = NthListItem(c, aN)) return found;
  return nullptr;
}

}  // namespace

// Enter in an empty list item (1030 to the item): the item goes, the
// caret leaves the list (split when the item stood in the middle), in a
// paragraph of its own unless a cell holds it.
TEST(BlockEdits, EnterInAnEmptyListItem) {
  struct EnterCase {
    const char* Name;
    const char* Before;
    int Item;
    const char* After;
  };
  const EnterCase cases[] = {
      {"a middle item splits the list", "<body><ul><li>a</li><li>|</li><li>c</li></ul></body>", 1,
       "<body><ul><li>a</li></ul><p>|</p><ul><li>c</li></ul></body>"},
      {"the last item", "<body><ol><li>a</li><li>|</li></ol><p>z</p></body>", 1,
       "<body><ol><li>a</li></ol><p>|</p><p>z</p></body>"},
      {"a nested list's last item goes up to the body", "<body><ul><li>a<ul><li>|</li></ul></li></ul></body>", 1,
       "<body><ul><li>a</li></ul><p>|</p></body>"},
      {"the last item in a cell stays in the cell",
       "<body><table><tr><td><ul><li>a</li><li>|</li></ul></td></tr></table></body>", 1,
       "<body><table><tr><td><ul><li>a</li></ul>|</td></tr></table></body>"},
      {"a middle item in a cell gets a paragraph",
       "<body><table><tr><td><ul><li>a</li><li>|</li><li>c</li></ul></td></tr></table></body>", 1,
       "<body><table><tr><td><ul><li>a</li></ul><p>|</p><ul><li>c</li></ul></td></tr></table></body>"},
  };
  for (const EnterCase& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page;
    page.LoadChunk(ReadFixture(c.Before, page.Host.Events));
    page.Host.DC = &page.Fake;
    int n = c.Item;
    TpsWindow* item = NthListItem(page.Body, n);
    ASSERT_TRUE(item);
    page.Manager.PostMessage(TpsMessage::Create(mrCommand, psmKeyEnter, item));
    page.Manager.ProcessMessages();
    EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), c.After);
  }
}

// --- The body's own edits ---

namespace {

struct BodyEditCase {
  const char* Name;
  const char* Before;
  std::vector<Integer> Ids;
  std::function<void(TpsMessage&, htmldoc::TpsDataChunk&)> Prepare;  // for the last id
  const char* After;
  bool AllowEmptyBlocks = true;
};

void RunBodyEdits(const std::vector<BodyEditCase>& aCases) {
  for (const BodyEditCase& c : aCases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page;
    htmldoc::testing::LoadCss(page.Host.Sheet, ".a { color: red } .b { color: blue }");
    page.Host.Options["AllowMultipleEmptyBlocks"] = c.AllowEmptyBlocks ? 1 : 0;
    page.LoadChunk(ReadFixture(c.Before, page.Host.Events));
    page.Host.DC = &page.Fake;
    std::unique_ptr<htmldoc::TpsDataChunk> copy = page.Body->GetChunk(true);
    const auto post = [&](Integer aId) -> TpsMessage& {
      TpsMessagePtr m = TpsMessage::Create(mrCommand, aId, page.Body);
      TpsMessage& ref = *m;
      page.Manager.PostMessage(std::move(m));
      return ref;
    };
    post(psmBeginEdit);
    post(psmExtractChunk);
    for (size_t i = 0; i < c.Ids.size(); ++i) {
      TpsMessage& m = post(c.Ids[i]);
      m.SetParam(1, 1);
      if (i + 1 == c.Ids.size() && c.Prepare) c.Prepare(m, *copy);
    }
    post(psmRelayout);
    post(psmEndEdit);
    page.Manager.ProcessMessages();
    EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), c.After);
    LayoutPage fresh;
    fresh.LoadChunk(page.Body->GetChunk(true));
    EXPECT_EQ(DumpLayout(page.Body), DumpLayout(fresh.Body));
  }
}

// Enter as the text line posts it: marker 1 before the cursor, then 300.
const std::vector<Integer> kEnter{psmInsertMarkerBeforeCursor, psmSplitBlockAtMarker};

std::function<void(TpsMessage&, htmldoc::TpsDataChunk&)> Classes(const char* aFirst, const char* aSecond) {
  return [aFirst, aSecond](TpsMessage& m, htmldoc::TpsDataChunk&) {
    m.Result = true;
    m.FirstBlockClass = aFirst;
    m.SecondBlockClass = aSecond;
  };
}

}  // namespace

TEST(BodyEdits, EnterSplitsTheBlockAtTheMarker) {
  RunBodyEdits({
      {"in the middle", "<body><p>ab|cd</p></body>", kEnter, nullptr, "<body><p>ab</p><p>|cd</p></body>"},
      {"inside bold text", "<body><p><b>ab|cd</b></p></body>", kEnter, nullptr,
       "<body><p><b>ab</b></p><p><b>|cd</b></p></body>"},
      {"both halves keep tag, class and style", "<body><h2 class=\"a\">ab|cd</h2></body>", kEnter, nullptr,
       "<body><h2 class=\"a\">ab</h2><h2 class=\"a\">|cd</h2></body>"},
      {"the classes the split event chose", "<body><p>ab|cd</p></body>", kEnter, Classes(".a", "b"),
       "<body><p class=\"a\">ab</p><p class=\"b\">|cd</p></body>"},
      {"an item of a list", "<body><ul><li>ab|</li></ul></body>", kEnter, nullptr,
       "<body><ul><li>ab</li><li>|</li></ul></body>"},
      {"at the start", "<body><p>|ab</p></body>", kEnter, nullptr, "<body><p></p><p>|ab</p></body>"},
      {"at the end before an empty paragraph, empty blocks refused: the caret goes there",
       "<body><p>ab|</p><p></p></body>", kEnter, nullptr, "<body><p>ab</p><p>|</p></body>", false},
      {"at the end before an empty paragraph one level out: split",
       "<body><ul><li>ab|</li></ul><p></p></body>", kEnter, nullptr,
       "<body><ul><li>ab</li><li>|</li></ul><p></p></body>", false},
      {"after an empty block, empty blocks refused: nothing", "<body><p></p><p>|ab</p></body>", kEnter, nullptr,
       "<body><p></p><p>|ab</p></body>", false},
      {"after a block with text, empty blocks refused: split", "<body><p>x</p><p>|ab</p></body>", kEnter,
       nullptr, "<body><p>x</p><p></p><p>|ab</p></body>", false},
  });
}

TEST(BodyEdits, ClassAlignmentAndImageDeletion) {
  const auto text = [](const char* aText) {
    return [aText](TpsMessage& m, htmldoc::TpsDataChunk&) { m.Text = aText; };
  };
  const auto align = [](Byte aAlignment) {
    return [aAlignment](TpsMessage& m, htmldoc::TpsDataChunk&) { m.Alignment = aAlignment; };
  };
  const auto element = [](const char* aText) {
    return [aText](TpsMessage& m, htmldoc::TpsDataChunk& aCopy) { m.ElementId = htmldoc::testing::At(aCopy, aText)->Id; };
  };
  RunBodyEdits({
      {"a class with a dot", "<body><p>x</p><p>a|b</p></body>", {psmSetBlockClass}, text(".a"),
       "<body><p>x</p><p class=\"a\">a|b</p></body>"},
      {"a class without one", "<body><p>a|b</p></body>", {psmSetBlockClass}, text("b"),
       "<body><p class=\"b\">a|b</p></body>"},
      {"no class", "<body><p class=\"a\">a|b</p></body>", {psmSetBlockClass}, text(""), "<body><p>a|b</p></body>"},
      {"the caret's block centred", "<body><p>x</p><p>a|b</p></body>", {psmSetBlockAlignment}, align(2),
       "<body><p>x</p><p style=\"text-align:center;\">a|b</p></body>"},
      {"the marked block right-aligned", "<body><p>@M1@x</p><p>a|b</p></body>", {psmSetMarkedBlockAlignment},
       align(3), "<body><p style=\"text-align:right;\">@M1@x</p><p>a|b</p></body>"},
      {"an image deleted", "<body><p>a<img src=\"x.png\">b|</p></body>", {psmDeleteImage},
       element("<img src=\"x.png\">"), "<body><p>ab|</p></body>"},
  });
}

// 20 after loading: the body offers it down the tree until the first text
// line takes the cursor.
TEST(BodyEdits, OffersPlaceInitialCursorToTheNodesBelow) {
  LayoutPage page;
  page.LoadChunk(ReadFixture("<body><p>ab</p><p>cd</p></body>", page.Host.Events));
  TpsMessage place(mrCommand, psmPlaceInitialCursor, page.Body);
  place.AutoFree = false;
  page.Body->HandleMessage(place);
  EXPECT_TRUE(place.IsHandled());
  EXPECT_NE(place.ConsumedBy, page.Body);
  EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), "<body><p>|ab</p><p>cd</p></body>");
}

namespace {

TpsWindow* FirstCell(TpsWindow* aNode) {
  if (auto* block = dynamic_cast<TpsBlockNode*>(aNode))
    if (block->OpeningTag && htmldoc::TpsDataChunk::TagCodeOf(block->OpeningTag) == htmldoc::TAG_TD) return aNode;
  for (TpsWindow* c : aNode->ChildList())
    if (TpsWindow* found = FirstCell(c)) return found;
  return nullptr;
}

}  // namespace

// An image dragged onto a block (4503 after 4501 showed the bar): at the
// top or bottom edge it gets a centred block of its own, in a centred
// image block it joins the others, in a cell the content is wrapped in a
// div first; the image's old place is left behind.
TEST(BlockEdits, ImageDroppedOnABlock) {
  struct DropCase {
    const char* Name;
    const char* Before;
    int Block;
    bool Top;
    const char* After;
  };
  const char* kImage = "<img src=\"x.png\" width=\"10\" height=\"10\">";
  const DropCase cases[] = {
      {"on the top edge", "<body><p>a<img src=\"x.png\" width=\"10\" height=\"10\">b|</p><p>cd</p></body>", 1, true,
       "<body><p>ab|</p><p style=\"text-align:center;\"><img src=\"x.png\" width=\"10\" height=\"10\"></p>"
       "<p>cd</p></body>"},
      {"on the bottom edge", "<body><p>a<img src=\"x.png\" width=\"10\" height=\"10\">b|</p><p>cd</p></body>", 1,
       false,
       "<body><p>ab|</p><p>cd</p><p style=\"text-align:center;\"><img src=\"x.png\" width=\"10\" height=\"10\">"
       "</p></body>"},
      {"into a centred image block",
       "<body><p>a<img src=\"x.png\" width=\"10\" height=\"10\">b|</p><p style=\"text-align:center;\">"
       "<img src=\"y.png\" width=\"10\" height=\"10\"></p></body>",
       1, false,
       "<body><p>ab|</p><p style=\"text-align:center;\"><img src=\"y.png\" width=\"10\" height=\"10\">"
       "<img src=\"x.png\" width=\"10\" height=\"10\"></p></body>"},
      {"on a cell's top: its content wrapped in a div, which is split",
       "<body><p>a<img src=\"x.png\" width=\"10\" height=\"10\">b|</p><table><tr><td>cd</td></tr></table>"
       "</body>",
       -1, true,
       "<body><p>ab|</p><table><tr><td>"
       "<div style=\"margin:0px;padding:0px;border-width:0px;text-align:center;\">"
       "<img src=\"x.png\" width=\"10\" height=\"10\"></div>"
       "<div style=\"margin:0px;padding:0px;border-width:0px;\">cd</div></td></tr></table></body>"},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page;
    page.LoadChunk(ReadFixture(c.Before, page.Host.Events));
    page.Host.DC = &page.Fake;
    // The bar would be painted at once; the fake-metrics surface measures
    // but does not draw.
    page.Manager.PaintingEnabled = false;
    std::unique_ptr<htmldoc::TpsDataChunk> copy = page.Body->GetChunk(true);
    const uint32_t image = htmldoc::testing::At(*copy, kImage)->Id;
    TpsWindow* block = c.Block >= 0 ? page.Body->Child(c.Block) : FirstCell(page.Body);
    ASSERT_TRUE(block);
    TpsMessage show(mrCommand, psmImageDragShowTarget, block);
    show.SetPos(block->LocalToAbsolute({5, c.Top ? 1 : block->Height - 1}));
    block->HandleMessage(show);
    EXPECT_EQ(static_cast<TpsBlockNode*>(block)->DropBar, c.Top ? 1 : 2);
    TpsMessagePtr drop = TpsMessage::Create(mrCommand, psmImageDrop, block);
    drop->ElementId = image;
    page.Manager.PostMessage(std::move(drop));
    page.Manager.ProcessMessages();
    EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), c.After);
  }
}

// A drop with no bar showing (the drag left the block, 4502) moves
// nothing and lays nothing out.
TEST(BlockEdits, ADropWithoutABarChangesNothing) {
  LayoutPage page;
  page.LoadChunk(
      ReadFixture("<body><p>a<img src=\"x.png\" width=\"10\" height=\"10\">b|</p><p>cd</p></body>", page.Host.Events));
  page.Host.DC = &page.Fake;
  page.Manager.PaintingEnabled = false;
  auto* block = static_cast<TpsBlockNode*>(page.Body->Child(1));
  TpsMessage show(mrCommand, psmImageDragShowTarget, block);
  show.SetPos(block->LocalToAbsolute({5, 1}));
  block->HandleMessage(show);
  TpsMessage hide(mrCommand, psmImageDragHideTarget, block);
  block->HandleMessage(hide);
  EXPECT_EQ(block->DropBar, 0);
  const std::string before = DumpFixture(*page.Body->GetChunk(true));
  page.Host.Calls.clear();
  TpsMessagePtr drop = TpsMessage::Create(mrCommand, psmImageDrop, block);
  drop->ElementId = htmldoc::testing::At(*page.Body->GetChunk(true), "<img src=\"x.png\" width=\"10\" height=\"10\">")->Id;
  page.Manager.PostMessage(std::move(drop));
  page.Manager.ProcessMessages();
  EXPECT_EQ(DumpFixture(*page.Body->GetChunk(true)), before);
  EXPECT_EQ(std::count(page.Host.Calls.begin(), page.Host.Calls.end(), "LayoutRunning 1"), 0);
}
