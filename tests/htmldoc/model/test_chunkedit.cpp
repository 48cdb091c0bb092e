// Deletion, block moves and splits, and the clean-up passes: each case one
// fixture in and one out, with Check() and the inline-pair check after
// every operation.
//
// The row marked "mended" puts a cursor before the closing tag of the
// nearest text block, so that it stands inside that block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"

using namespace htmldoc;
using htmldoc::testing::At;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

namespace {

struct EditCase {
  const char* name;
  const char* before;
  // Runs the operation; its answer as text, empty when it has none.
  std::string (*operation)(TpsDataChunk&);
  const char* answer;
  const char* after;
};

std::string EditBool(bool aValue) { return aValue ? "true" : "false"; }

void RunEditCases(const std::vector<EditCase>& aCases) {
  for (const auto& c : aCases) {
    auto chunk = ReadFixture(c.before);
    const std::string answer = c.operation(*chunk);
    EXPECT_NO_THROW(chunk->Check(0, true)) << c.name;
    EXPECT_EQ(answer, c.answer) << c.name;
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.name;
  }
}

template <typename Operation>
std::string Done(TpsDataChunk& aChunk, Operation aOperation) {
  aOperation(aChunk);
  return {};
}

}  // namespace

TEST(ChunkEdit, DeleteSelection) {
  RunEditCases({
      {"a whole b pair with its text", "<p>a[<b>bc</b>]d|</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p>ad|</p>"},
      {"only the opening b and some text", "<p>a[<b>b]c</b>|</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p>a<b>c</b>|</p>"},
      {"the end of one paragraph into the next", "<p>a[b</p><p>c]d|</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p>a</p><p>d|</p>"},
      {"other kinds inside a pair stay", "<p>[x<i>a|@M5@#{c:k}<br />b</i>]</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p>|@M5@#{c:k}</p>"},
      {"empty tags go, closing tags stay", "<p><b>a[b</b><img src=\"i\" />c]|</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p><b>a</b>|</p>"},
      {"whole paragraphs; the cursor goes into the next", "[<p>a</p><p>b</p>]|<p>c</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p>|c</p>"},
      {"a list without text blocks gets a paragraph", "x[<ul><li>a|</li></ul>]",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "x<p>|</p>"},
      {"the cursor goes back into the block before", "<p>a</p>[<div>b</div>]|",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteSelection(nullptr); }); }, "",
       "<p>a|</p>"},
  });
  // A tag of no known type.
  auto broken = ReadFixture("<p>[<b>a</b>]|</p>");
  broken->First()->Next->Tag->SetTagType(7);
  try {
    broken->DeleteSelection(nullptr);
    ADD_FAILURE();
  } catch (const EpsHtmlEditException& e) {
    EXPECT_EQ(e.Message(), "TpsDataChunk.DeleteSelection: unhandled case!");
  }
}

TEST(ChunkEdit, CursorIntoATextBlock) {
  RunEditCases({
      {"already in one", "<p>a|</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.EnsureCursorInBlock(nullptr); }); }, "",
       "<p>a|</p>"},
      {"after the next opening tag", "<table><tr>|<td>a</td></tr></table>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.EnsureCursorInBlock(nullptr); }); }, "",
       "<table><tr><td>|a</td></tr></table>"},
      {"before the next closing tag (mended)", "<li><ul>|</ul></li>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.EnsureCursorInBlock(nullptr); }); }, "",
       "<li><ul></ul>|</li>"},
      {"before the closing tag behind", "<ul><li>a</li>|</ul>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.EnsureCursorInBlock(nullptr); }); }, "",
       "<ul><li>a|</li></ul>"},
      {"no text block at all", "<ul>|</ul>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.EnsureCursorInBlock(nullptr); }); }, "",
       "<ul><p>|</p></ul>"},
      {"no cursor", "<ul></ul>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.EnsureCursorInBlock(nullptr); }); }, "",
       "<ul></ul>"},
  });
}

TEST(ChunkEdit, DeletionAtMarkersAndTheCursor) {
  RunEditCases({
      {"between markers, keeping them", "a@M1@b<b>c</b>@M2@d",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteBetweenMarkers(1, 2, false); }); }, "",
       "a@M1@@M2@d"},
      {"between markers, removing them", "a@M1@bc@M2@d",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteBetweenMarkers(1, 2, true); }); }, "",
       "ad"},
      {"nothing between", "a@M1@@M2@d",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteBetweenMarkers(1, 2, true); }); }, "",
       "ad"},
      {"the marked block", "<div><p>a</p><p>b@M3@</p></div>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteMarkedBlock(3); }); }, "",
       "<div><p>a</p></div>"},
      {"no such marker", "<p>a</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.DeleteMarkedBlock(3); }); }, "", "<p>a</p>"},
      {"characters around the cursor", "ab<b>|</b>cd",
       [](TpsDataChunk& c) {
         return Done(c, [](TpsDataChunk& l) {
           l.DeleteCharacterBeforeCursor();
           l.DeleteCharacterAfterCursor();
         });
       },
       "", "a<b>|</b>d"},
      {"line breaks however far", "<br />a<br />b|c<br />",
       [](TpsDataChunk& c) {
         return Done(c, [](TpsDataChunk& l) {
           l.DeleteLineBreakNearCursor(false);
           l.DeleteLineBreakNearCursor(true);
         });
       },
       "", "<br />ab|c"},
  });
}

TEST(ChunkEdit, MovesAndSplits) {
  RunEditCases({
      {"a marked range after a target", "@M3@x@M1@ab@M2@y",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.MoveMarkedRange(1, 2, 3, true, true, true); }); },
       "", "abxy"},
      {"before a target, markers kept", "x@M1@ab@M2@y@M3@",
       [](TpsDataChunk& c) {
         return Done(c, [](TpsDataChunk& l) { l.MoveMarkedRange(1, 2, 3, false, false, false); });
       },
       "", "x@M1@@M2@yab@M3@"},
      {"join a paragraph to the one before", "<p>a@M2@</p><p>@M1@b<b>c</b></p><p>d</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.MoveBlockContentToMarker(1, 2); }); }, "",
       "<p>ab<b>c</b></p><p>d</p>"},
      {"join the next paragraph, nested in a list", "<p>a@M2@</p><ul><li>@M1@b</li></ul>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.MoveBlockContentToMarker(1, 2); }); }, "",
       "<p>ab</p>"},
      {"an empty block with its parents", "<div><p>@M1@</p></div><p>x@M2@</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.MoveBlockContentToMarker(1, 2); }); }, "",
       "<p>x</p>"},
      {"empty block pairs around", "<div><ul><li></li></ul>x</div>",
       [](TpsDataChunk& c) {
         return Done(c, [](TpsDataChunk& l) { l.RemoveEmptyBlockPairsAround(At(l, "<li>"), At(l, "</li>")); });
       },
       "", "<div>x</div>"},
      {"not a pair of block tags", "<b></b>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.RemoveEmptyBlockPairsAround(l.First(), l.Last()); }); },
       "", "<b></b>"},
      {"split around the whole content", "<p>@M1@abc@M2@</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.SplitBlockAroundMarkers(1, 2, false); }); }, "",
       "abc"},
      {"split in the middle", "<p class=\"k\">a@M1@b@M2@c</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.SplitBlockAroundMarkers(1, 2, false); }); }, "",
       "<p class=\"k\">a</p>b<p class=\"k\">c</p>"},
      {"split with blanks and the cursor at the edges", "<p> |{c:k}@M1@<ul><li>b</li></ul>@M2@\u00a0</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.SplitBlockAroundMarkers(1, 2, false); }); }, "",
       "<ul><li>b</li></ul>"},
      {"split removing the inner ends", "<li>a@M1@<p>b</p>@M2@</li>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.SplitBlockAroundMarkers(1, 2, true); }); }, "",
       "<li>a</li>b"},
  });
}

TEST(ChunkEdit, CleanUpPasses) {
  RunEditCases({
      {"unselected characters, empty, block and custom tags",
       "<p>a[b<br />]<br />[<@cust>]</@cust>[</p>]",
       [](TpsDataChunk& c) {
         return Done(c, [](TpsDataChunk& l) {
           l.RemoveUnselectedCharacters();
           l.RemoveUnselectedEmptyTags();
           l.RemoveUnselectedBlockTags();
           l.RemoveUnselectedCustomTags();
         });
       },
       "", "[b<br /><@cust></p>]"},
      {"pairs without selection", "<b>a</b><i>[x]</i>[<u>]y<u>z</u>[</u>]",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.RemoveTagPairsWithoutSelection(); }); }, "",
       "a<i>[x]</i>[<u>]yz[</u>]"},
      {"top-level characters", "ab<b>c<i>d</i></b>e<br />f</p>g",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.RemoveTopLevelCharacters(); }); }, "",
       "<b>c<i>d</i></b><br /></p>"},
      {"trim spaces and tabs", " \t\u00a0a \u00a0\t ",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.TrimBlanks(false); }); }, "",
       "\u00a0a \u00a0"},
      {"trim with non-breaking spaces", " \u00a0a\u00a0 <br />",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.TrimBlanks(true); }); }, "", "a\u00a0 <br />"},
      {"leading blanks", "<p> <b>\t a</b> b",
       [](TpsDataChunk& c) { return EditBool(c.RemoveLeadingBlanks()); }, "true", "<p><b>a</b> b"},
      {"no leading blanks", "\u00a0 a", [](TpsDataChunk& c) { return EditBool(c.RemoveLeadingBlanks()); }, "false",
       "\u00a0 a"},
      {"collapse across a tag", " <b> </b>x",
       [](TpsDataChunk& c) { return EditBool(c.CollapseBlanks()); }, "true", "<b> </b>x"},
      {"a non-breaking space breaks the run", " \u00a0",
       [](TpsDataChunk& c) { return EditBool(c.CollapseBlanks()); }, "false", " \u00a0"},
      {"long runs", "a \t  b\t\tc",
       [](TpsDataChunk& c) { return EditBool(c.CollapseBlanks()); }, "true", "a b\tc"},
      {"inline tags without links", "<p><a href=\"u\"><b>a</b><br /></a><span>b</span></p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.RemoveInlineTags(false); }); }, "",
       "<p><a href=\"u\">a<br /></a>b</p>"},
      {"inline tags with links", "<p><a href=\"u\"><b>a</b></a></p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.RemoveInlineTags(true); }); }, "", "<p>a</p>"},
      {"placeholders", "~a~bc", [](TpsDataChunk& c) { return EditBool(c.RemovePlaceholders()); }, "true", "c"},
      {"no placeholders", "c", [](TpsDataChunk& c) { return EditBool(c.RemovePlaceholders()); }, "false", "c"},
      {"custom tags, tags of a code and type, the cursor",
       "<@cust>a</@cust><@cust />b<br /><br>|c|",
       [](TpsDataChunk& c) {
         return Done(c, [](TpsDataChunk& l) {
           l.RemoveCustomTags();
           l.RemoveTags(TAG_BR, ttEmpty);
           l.RemoveElementOfKind(ceCursor);
         });
       },
       "", "ab<br>c|"},
  });
}

TEST(ChunkEdit, EmptyAndBlankPairs) {
  RunEditCases({
      {"empty pairs, nested ones too", "<b></b>x<u><i></i></u><i>|</i>",
       [](TpsDataChunk& c) { return EditBool(c.RemoveEmptyInlineTagPairs(nullptr)); }, "true", "x<i>|</i>"},
      {"no empty pair", "<b>x</b>", [](TpsDataChunk& c) { return EditBool(c.RemoveEmptyInlineTagPairs(nullptr)); },
       "false", "<b>x</b>"},
      {"blank pairs keep their blanks", "<b> \u00a0</b><u><i>\t</i> </u><i>x</i>",
       [](TpsDataChunk& c) { return EditBool(c.RemoveBlankInlineTagPairs(nullptr)); }, "true",
       " \u00a0\t <i>x</i>"},
      {"pairs without text take their images", "<b><img src=\"i\" /> <i></i></b><a href=\"u\"></a><u>x</u>",
       [](TpsDataChunk& c) { return EditBool(c.RemoveInlineTagPairsWithoutText()); }, "true",
       " <a href=\"u\"></a><u>x</u>"},
      {"an a pair around nothing stays", "<a href=\"u\"></a>",
       [](TpsDataChunk& c) { return EditBool(c.RemoveInlineTagPairsWithoutText()); }, "false", "<a href=\"u\"></a>"},
  });
  // A pair the handler keeps is passed over, and the passes end.
  auto chunk = ReadFixture("<b></b><i></i><u><s></s></u>");
  std::vector<std::string> asked;
  EXPECT_TRUE(chunk->RemoveEmptyInlineTagPairs(
      [&](TpsDataChunk* aChunk, TpsChunkElement* aOpen, bool& aRemove, TpsChunkElement* aClose) {
        EXPECT_EQ(aChunk, chunk.get());
        EXPECT_TRUE(aRemove);
        EXPECT_EQ(aOpen->Next, aClose);
        asked.push_back(aOpen->Tag->GetText());
        aRemove = aOpen->Tag->GetName() != "i" && aOpen->Tag->GetName() != "u";
      }));
  EXPECT_EQ(DumpFixture(*chunk), "<i></i><u></u>");
  EXPECT_EQ(asked, (std::vector<std::string>{"<b>", "<i>", "<s>", "<u>"}));
  auto kept = ReadFixture("<b></b>");
  EXPECT_FALSE(kept->RemoveBlankInlineTagPairs(
      [](TpsDataChunk*, TpsChunkElement*, bool& aRemove, TpsChunkElement*) { aRemove = false; }));
  EXPECT_EQ(DumpFixture(*kept), "<b></b>");
}

TEST(ChunkEdit, NbspInEmptyBlocks) {
  RunEditCases({
      {"an empty paragraph gets one", "<p></p><p> |</p><div><p>x</p></div>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.PutNbspIntoEmptyBlocks(); }); }, "",
       "<p>\u00a0</p><p> |\u00a0</p><div><p>x</p></div>"},
      {"a paragraph holding one gets a second", "<p>\u00a0</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.PutNbspIntoEmptyBlocks(); }); }, "",
       "<p>\u00a0\u00a0</p>"},
      {"one goes per empty block", "<p>\u00a0\u00a0</p><p> \u00a0|</p><p>x\u00a0</p>",
       [](TpsDataChunk& c) { return Done(c, [](TpsDataChunk& l) { l.RemoveNbspFromEmptyBlocks(); }); }, "",
       "<p>\u00a0</p><p> |</p><p>x\u00a0</p>"},
  });
  // Put in and taken out again: the list as it was.
  const char* const fixture = "<div><p></p><table><tr><td> </td></tr></table></div>";
  auto chunk = ReadFixture(fixture);
  chunk->PutNbspIntoEmptyBlocks();
  chunk->RemoveNbspFromEmptyBlocks();
  EXPECT_EQ(DumpFixture(*chunk), fixture);
}
