// The cursor, the queries around it, words, markers, the selection and the
// smart-tag marks: each case one fixture in, an operation with its answer,
// and the fixture out, with Check() after every operation.
//
// The row marked "mended" reads the marked text through the system code
// page instead of keeping each character's low byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"

using namespace htmldoc;
using htmldoc::testing::At;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;
using htmldoc::testing::Shown;

namespace {

struct Case {
  const char* name;
  const char* before;
  // Runs the operation and gives its answer as text.
  std::string (*operation)(TpsDataChunk&);
  const char* answer;
  const char* after;
};

std::string Bool(bool aValue) { return aValue ? "true" : "false"; }

void RunCases(const std::vector<Case>& aCases) {
  for (const auto& c : aCases) {
    auto chunk = ReadFixture(c.before);
    const std::string answer = c.operation(*chunk);
    EXPECT_NO_THROW(chunk->Check()) << c.name;
    EXPECT_EQ(answer, c.answer) << c.name;
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.name;
  }
}

struct Handler final : IpsSmartTagHandler {};

}  // namespace

TEST(ChunkCursor, Moves) {
  RunCases({
      {"move onto the cursor itself", "a|b",
       [](TpsDataChunk& c) {
         c.MoveCursor(c.GetCursor(), true);
         return std::string();
       },
       "", "a|b"},
      {"move without a cursor makes one", "ab",
       [](TpsDataChunk& c) {
         c.MoveCursor(At(c, "a"), true);
         return std::string();
       },
       "", "a|b"},
      {"move before", "a|bc",
       [](TpsDataChunk& c) {
         c.PlaceCursor(At(c, "c"), false);
         return std::string();
       },
       "", "ab|c"},
      {"insert a second cursor", "ab",
       [](TpsDataChunk& c) {
         c.InsertCursor(At(c, "b"), true);
         return Bool(c.HasCursor());
       },
       "true", "ab|"},
      {"to a marker, removing it", "a@M3@b|",
       [](TpsDataChunk& c) {
         c.MoveCursorToMarker(3, true, false);
         return std::string();
       },
       "", "a|b"},
      {"to a marker, keeping it", "|a@M3@b",
       [](TpsDataChunk& c) {
         c.MoveCursorToMarker(3, false, true);
         return std::string();
       },
       "", "a@M3@|b"},
      {"to the start of blanks only", "  |",
       [](TpsDataChunk& c) {
         c.MoveCursorToStart();
         return std::string();
       },
       "", "|  "},
      {"to the start before a link", "<a href=\"x\">x</a>",
       [](TpsDataChunk& c) {
         c.MoveCursorToStart();
         return std::string();
       },
       "", "|<a href=\"x\">x</a>"},
      {"to the end before the line break", "|x<br />",
       [](TpsDataChunk& c) {
         c.MoveCursorToEnd();
         return std::string();
       },
       "", "x|<br />"},
      {"to the end without a line break", "|x<b>y</b>",
       [](TpsDataChunk& c) {
         c.MoveCursorToEnd();
         return std::string();
       },
       "", "x<b>y</b>|"},
      {"to the end when the cursor is last", "xy|",
       [](TpsDataChunk& c) {
         c.MoveCursorToEnd();
         return std::string();
       },
       "", "xy|"},
      {"to the end of an empty list", "",
       [](TpsDataChunk& c) {
         c.MoveCursorToEnd();
         return std::string();
       },
       "", "|"},
      {"try to the end without characters", "|<img src=\"a\" />",
       [](TpsDataChunk& c) { return Bool(c.TryMoveCursorToEnd()); }, "false", "|<img src=\"a\" />"},
      {"try to the end", "|ab",
       [](TpsDataChunk& c) { return Bool(c.TryMoveCursorToEnd()); }, "true", "ab|"},
      {"before the embedded node", "a|b#c",
       [](TpsDataChunk& c) {
         c.MoveCursorBeforeEmbeddedNode();
         return std::string();
       },
       "", "ab|#c"},
      {"right over a tag", "a|<b>b</b>",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorRight()); }, "true", "a<b>b|</b>"},
      {"right at the end", "ab|<br />",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorRight()); }, "false", "ab|<br />"},
      {"left back over custom tags and nodes", "a<@cust>#b|</@cust>",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorLeft()); }, "true", "a|<@cust>#b</@cust>"},
      {"left at the start", "<p>|a",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorLeft()); }, "false", "<p>|a"},
      {"word left over two blanks", "one word  |",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorWordLeft()); }, "true", "one |word  "},
      {"word left stops at a delimiter", "a.b|",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorWordLeft()); }, "true", "a.|b"},
      {"word left over delimiters", "a..|",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorWordLeft()); }, "true", "a|.."},
      {"word left over blanks only", "  |",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorWordLeft()); }, "false", "|  "},
      {"word left at the start", "|ab",
       [](TpsDataChunk& c) { return Bool(c.MoveCursorWordLeft()); }, "false", "|ab"},
      {"word right to the next word", "|word  next",
       [](TpsDataChunk& c) {
         bool moved = false;
         const bool more = c.MoveCursorWordRight(moved);
         return Bool(more) + " " + Bool(moved);
       },
       "true true", "word  |next"},
      {"word right to the end", "|word  ",
       [](TpsDataChunk& c) {
         bool moved = false;
         const bool more = c.MoveCursorWordRight(moved);
         return Bool(more) + " " + Bool(moved);
       },
       "false true", "word  |"},
      {"word right at the end", "ab|",
       [](TpsDataChunk& c) {
         bool moved = true;
         const bool more = c.MoveCursorWordRight(moved);
         return Bool(more) + " " + Bool(moved);
       },
       "false false", "ab|"},
      {"back out of a link", "x<a href=\"u\">ab|</a>",
       [](TpsDataChunk& c) {
         c.MoveCursorBackOverCustomTags();
         return std::string();
       },
       "", "x|<a href=\"u\">ab</a>"},
      {"back over a custom tag and a node", "x<@cust>#|y",
       [](TpsDataChunk& c) {
         c.MoveCursorBackOverCustomTags();
         return std::string();
       },
       "", "x|<@cust>#y"},
      {"forward out of a link", "<a href=\"u\">a|b</a>y",
       [](TpsDataChunk& c) {
         c.MoveCursorForwardOverCustomTags();
         return std::string();
       },
       "", "<a href=\"u\">ab</a>|y"},
      {"forward over nothing", "a|b",
       [](TpsDataChunk& c) {
         c.MoveCursorForwardOverCustomTags();
         c.MoveCursorBackOverCustomTags();
         return std::string();
       },
       "", "a|b"},
      {"insert at the cursor", "a|b",
       [](TpsDataChunk& c) {
         c.InsertElementAtCursor(NewCharacterElement(u'x'), true);
         c.InsertElementAtCursor(NewCharacterElement(u'y'), false);
         return std::string();
       },
       "", "ax|yb"},
      {"delete next to the cursor", "a<b>|#b",
       [](TpsDataChunk& c) {
         c.DeleteElementNextToCursor(false);
         c.DeleteElementNextToCursor(true);
         return std::string();
       },
       "", "a|b"},
      {"delete at an end", "|",
       [](TpsDataChunk& c) {
         c.DeleteElementNextToCursor(false);
         c.DeleteElementNextToCursor(true);
         return std::string();
       },
       "", "|"},
  });
}

TEST(ChunkCursor, QueriesAtTheCursor) {
  RunCases({
      {"adjacent characters", "a \t<b>|</b> b",
       [](TpsDataChunk& c) {
         return Shown(c.GetCharacterNextToCursor(true, false)) + Shown(c.GetCharacterNextToCursor(true, true)) +
                Shown(c.GetCharacterNextToCursor(false, true)) + Shown(c.GetAdjacentCharacter(nullptr, true, true));
       },
       "\tabnil", "a \t<b>|</b> b"},
      {"content next to the cursor", "a@M1@|{c:x}#<b>",
       [](TpsDataChunk& c) { return Shown(c.FindContentNextToCursor(true)) + Shown(c.FindContentNextToCursor(false)); },
       "#a", "a@M1@|{c:x}#<b>"},
      {"image next to the cursor", "<img src=\"a\" />|<@cust><img src=\"b\" />",
       [](TpsDataChunk& c) { return Shown(c.GetImageNextToCursor(true)) + Shown(c.GetImageNextToCursor(false)); },
       "<img src=\"b\" /><img src=\"a\" />", "<img src=\"a\" />|<@cust><img src=\"b\" />"},
      {"no image next to the cursor", "|x<img src=\"b\" />",
       [](TpsDataChunk& c) { return Shown(c.GetImageNextToCursor(true)); }, "nil", "|x<img src=\"b\" />"},
      {"embedded node before", "#a|",
       [](TpsDataChunk& c) { return Bool(c.HasEmbeddedNodeBeforeCursor()); }, "true", "#a|"},
      {"line break ahead past blanks", "a| \t<b><br />",
       [](TpsDataChunk& c) { return Bool(c.IsCursorAtLineBreak(true, true)) + Bool(c.IsCursorAtLineBreak(true, false)); },
       "truefalse", "a| \t<b><br />"},
      {"line break behind", "<br /><b>|a",
       [](TpsDataChunk& c) { return Bool(c.IsCursorAtLineBreak(false, false)) + Bool(c.IsCursorAtLineBreak(true, false)); },
       "truefalse", "<br /><b>|a"},
      {"blanks around", "a <b>|</b>\tb",
       [](TpsDataChunk& c) {
         TpsChunkElement *before, *after;
         const bool both = c.GetBlanksAroundCursor(before, after);
         return Bool(c.IsBlankBeforeCursor()) + Bool(c.IsBlankAfterCursor()) + Bool(both) + Shown(before) + Shown(after);
       },
       "truetruetrue \t", "a <b>|</b>\tb"},
      {"a non-breaking space is no blank here", "a\u00a0|b",
       [](TpsDataChunk& c) { return Bool(c.IsBlankBeforeCursor()); }, "false", "a\u00a0|b"},
      {"empty tag pair", "<b>|</b>",
       [](TpsDataChunk& c) {
         TpsChunkElement *open, *close;
         return Bool(c.FindEmptyTagPairAtCursor(TAG_B, open, close)) + Bool(c.FindEmptyTagPairAtCursor(TAG_I, open, close)) +
                Bool(c.IsCursorInEmptyInlineTag());
       },
       "truefalsetrue", "<b>|</b>"},
      {"not an empty pair", "<b>x|</b>",
       [](TpsDataChunk& c) {
         TpsChunkElement *open, *close;
         return Bool(c.FindEmptyTagPairAtCursor(TAG_B, open, close)) + Bool(c.IsCursorInEmptyInlineTag());
       },
       "falsefalse", "<b>x|</b>"},
      {"custom tag before", "<@cust>a</@cust>b|",
       [](TpsDataChunk& c) { return Shown(c.FindCustomTagBeforeCursor()); }, "<@cust>", "<@cust>a</@cust>b|"},
      {"no cursor", "ab",
       [](TpsDataChunk& c) {
         TpsChunkElement *before, *after;
         return Shown(c.FindCustomTagBeforeCursor()) + Bool(c.IsCursorAtLineBreak(true, true)) +
                Bool(c.GetBlanksAroundCursor(before, after)) + Shown(c.FindContentNextToCursor(true));
       },
       "nilfalsefalsenil", "ab"},
  });
}

TEST(ChunkWords, WordsAndCharacters) {
  RunCases({
      {"word with the cursor before a space", "ab| c",
       [](TpsDataChunk& c) {
         TpsChunkElement *first, *last;
         const bool found = c.GetWordAtCursor(first, last);
         return Bool(found) + Shown(first) + Shown(last);
       },
       "trueab", "ab| c"},
      {"word with the cursor after a space", "x |ab",
       [](TpsDataChunk& c) {
         TpsChunkElement *first, *last;
         const bool found = c.GetWordAtCursor(first, last);
         return Bool(found) + Shown(first) + Shown(last);
       },
       "trueab", "x |ab"},
      {"word around the cursor, over a tag", "x a<b>b|c</b>d.",
       [](TpsDataChunk& c) {
         TpsChunkElement *first, *last;
         const bool found = c.GetWordAtCursor(first, last);
         return Bool(found) + Shown(first) + Shown(last);
       },
       "truead", "x a<b>b|c</b>d."},
      {"no word at the cursor", "a .|. b",
       [](TpsDataChunk& c) {
         TpsChunkElement *first, *last;
         const bool found = c.GetWordAtCursor(first, last);
         return Bool(found) + Shown(first);
       },
       "falsenil", "a .|. b"},
      {"first and last words", " .ab cd-ef. ",
       [](TpsDataChunk& c) {
         return Shown(c.FindFirstWordCharacter()) + Shown(c.FindLastWordStart()) +
                Shown(c.FindWordEnd(At(c, "c"))) + Bool(c.EndsWithWordCharacter()) + Bool(c.ContainsWordSeparator());
       },
       "aedfalsetrue", " .ab cd-ef. "},
      {"one word", "ab<b>c</b>",
       [](TpsDataChunk& c) {
         return Bool(c.EndsWithWordCharacter()) + Bool(c.ContainsWordSeparator()) + Shown(c.FindWordEnd(c.First()));
       },
       "truefalsec", "ab<b>c</b>"},
      {"read a selected word", "x[a|b]c d",
       [](TpsDataChunk& c) {
         TpsChunkElement* e = At(c, "a");
         WideString word;
         c.ReadWord(e, word);
         return rtl::WideToUtf8(word) + Shown(e);
       },
       "abb", "x[a|b]c d"},
      {"read a word up to a blank", "ab\u00a0c d",
       [](TpsDataChunk& c) {
         TpsChunkElement* e = c.First();
         WideString word;
         c.ReadWord(e, word);
         return rtl::WideToUtf8(word) + Shown(e);
       },
       "ab\u00a0cc", "ab\u00a0c d"},
      {"read from a blank", " a",
       [](TpsDataChunk& c) {
         TpsChunkElement* e = c.First();
         WideString word;
         c.ReadWord(e, word);
         return rtl::WideToUtf8(word) + Shown(e);
       },
       "nil", " a"},
      {"blanks and non-blanks", " \t<b>\u00a0x",
       [](TpsDataChunk& c) {
         return Bool(c.HasNonBlankCharacter()) + Bool(c.HasNonBlankCharacterBetween(c.First(), At(c, "<b>"))) +
                Shown(c.FindNonBlankCharacter(nullptr, nullptr)) + Shown(c.FindBlankCharacter(At(c, "<b>"), nullptr)) +
                Shown(c.FindNonBlankCharacter(c.First(), At(c, "<b>")));
       },
       "truefalse\u00a0\u00a0nil", " \t<b>\u00a0x"},
      {"blank ranges", "<p> |@M1@{c:x}\u00a0</p>",
       [](TpsDataChunk& c) {
         TpsChunkElement* open = c.First();
         TpsChunkElement* close = c.Last();
         return Bool(c.IsBlankRange(open, close, true, true, true, true)) +
                Bool(c.IsBlankRange(open, close, false, true, true, true)) +
                Bool(c.IsBlankRange(open, close, true, false, true, true)) +
                Bool(c.IsBlankRange(open, close, true, true, false, true)) +
                Bool(c.IsBlankRange(open, close, true, true, true, false)) +
                Bool(c.IsBlankRange(open, open->Next, false, false, false, true));
       },
       "truefalsefalsefalsefalsetrue", "<p> |@M1@{c:x}\u00a0</p>"},
      {"images and custom tags only", "<@cust><img src=\"a\" /></@cust><br />x",
       [](TpsDataChunk& c) {
         return Bool(c.ContainsOnlyImagesAndCustomTags(c.First(), At(c, "</@cust>"))) +
                Bool(c.ContainsOnlyImagesAndCustomTags(c.First(), At(c, "<br />")));
       },
       "truefalse", "<@cust><img src=\"a\" /></@cust><br />x"},
      {"tag pair", "</b><b>x",
       [](TpsDataChunk& c) { return Bool(c.HasTagPair(TAG_B)); }, "false", "</b><b>x"},
  });
}

TEST(ChunkMarkers, InsertFindAndRemove) {
  RunCases({
      {"range with both markers", "abc",
       [](TpsDataChunk& c) {
         c.MarkRange(At(c, "b"), At(c, "c"), 1, 2);
         return std::string();
       },
       "", "a@M1@bc@M2@"},
      {"range with -1 as the end marker", "abc",
       [](TpsDataChunk& c) {
         c.MarkRange(At(c, "b"), At(c, "b"), 1, -1);
         return std::string();
       },
       "", "a@M1@bc"},
      {"one element", "abc",
       [](TpsDataChunk& c) {
         c.MarkElement(At(c, "b"), 4, 5);
         return std::string();
       },
       "", "a@M4@b@M5@c"},
      {"an image in a custom pair inside a link", "x<a href=\"u\">y<@cust><img src=\"i\" /></@cust>z</a>",
       [](TpsDataChunk& c) {
         c.MarkElementWithWrappers(At(c, "<img src=\"i\" />"), 1, 2);
         return std::string();
       },
       "", "x@M1@<a href=\"u\">y<@cust><img src=\"i\" /></@cust>z</a>@M2@"},
      {"an image in a custom pair", "<a href=\"u\">y</a><@cust><img src=\"i\" /></@cust>",
       [](TpsDataChunk& c) {
         c.MarkElementWithWrappers(At(c, "<img src=\"i\" />"), 1, 2);
         return std::string();
       },
       "", "<a href=\"u\">y</a>@M1@<@cust><img src=\"i\" /></@cust>@M2@"},
      {"the selection without block tags", "<p>a</p>[<p>b]c</p>",
       [](TpsDataChunk& c) { return Bool(c.MarkSelection(7, 8)); }, "true", "<p>a</p>[<p>]@M7@[b]@M8@c</p>"},
      {"the selection with the start marker", "a[bc]d",
       [](TpsDataChunk& c) { return Bool(c.MarkSelection(7, 8)); }, "true", "a@M7@[bc]@M8@d"},
      {"no selection", "abc", [](TpsDataChunk& c) { return Bool(c.MarkSelection(7, 8)); }, "false", "abc"},
      {"at the cursor, at the ends", "a|b",
       [](TpsDataChunk& c) {
         c.InsertMarkerAtCursor(1, false);
         c.InsertMarkerAtCursor(2, true);
         c.PrependMarker(3);
         c.AppendMarker(4);
         return Shown(c.FindMarker(2)->Prev) + Shown(c.FindMarker(9));
       },
       "|nil", "@M3@a@M1@|@M2@b@M4@"},
      {"remove one and a range", "@M1@a@M99@b@M100@c@M2147483647@@M100@",
       [](TpsDataChunk& c) {
         c.RemoveMarker(1);
         c.RemoveMarker(5);
         c.RemoveMarkers(100, 2147483647);
         return std::string();
       },
       "", "a@M99@bc"},
      {"elements, copies and tags at markers", "a@M1@b@M2@",
       [](TpsDataChunk& c) {
         c.InsertElementAtMarker(1, NewCharacterElement(u'x'), false, false);
         c.InsertCopyAtMarker(1, At(c, "a"), true, true);
         c.InsertTagAtMarker(TpsHtmlTag::CreateFromText(nullptr, "<br />"), 2, false, true);
         return std::string();
       },
       "", "axab<br />"},
  });
  // A copy at a marker has a fresh id.
  auto chunk = ReadFixture("<p>a</p>@M1@");
  chunk->InsertCopyAtMarker(1, chunk->First(), false, true);
  EXPECT_NE(chunk->Last()->Id, chunk->First()->Id);
  EXPECT_EQ(DumpFixture(*chunk), "<p>a</p><p>");
}

TEST(ChunkSelection, FindSetAndMark) {
  RunCases({
      {"found from both ends", "<p>a[</p><p>b]</p>",
       [](TpsDataChunk& c) {
         return Shown(c.FindSelected(true, false)) + Shown(c.GetFirstSelected(true)) + Shown(c.GetLastSelected(false)) +
                Shown(c.FindSelectedFrom(At(c, "b"))) + Bool(c.HasSelection());
       },
       "</p>bbbtrue", "<p>a[</p><p>b]</p>"},
      {"selected characters", "[<b>ab</b>]",
       [](TpsDataChunk& c) { return Shown(c.FindFirstSelectedCharacter()) + Shown(c.FindLastSelectedCharacter()); },
       "ab", "[<b>ab</b>]"},
      {"nothing selected", "<b>ab</b>",
       [](TpsDataChunk& c) {
         return Shown(c.FindFirstSelectedCharacter()) + Shown(c.GetFirstSelected(false)) + Bool(c.HasSelection());
       },
       "nilnilfalse", "<b>ab</b>"},
      {"select everything but the cursor", "a|#b",
       [](TpsDataChunk& c) { return Bool(c.SetSelection(true, 0, 0, false, nullptr)); }, "true", "[a]|[#b]"},
      {"a range without clearing", "[a]bcd",
       [](TpsDataChunk& c) { return Bool(c.SetSelection(true, At(c, "b")->Id, At(c, "c")->Id, false)); }, "true",
       "[abc]d"},
      {"a range, clearing the others", "[ab]c[d]",
       [](TpsDataChunk& c) { return Bool(c.SetSelection(true, At(c, "b")->Id, At(c, "c")->Id, true)); }, "true",
       "a[bc]d"},
      {"nothing changes", "a[b]c",
       [](TpsDataChunk& c) { return Bool(c.SetSelection(true, At(c, "b")->Id, At(c, "b")->Id, true)); }, "false",
       "a[b]c"},
      {"unselect a range", "[abc]",
       [](TpsDataChunk& c) { return Bool(c.SetSelection(false, 0, At(c, "b")->Id, false)); }, "true", "ab[c]"},
      {"an empty list", "", [](TpsDataChunk& c) { return Bool(c.SetSelection(true, 0, 0, true)); }, "false", ""},
  });
  // The embedded nodes that changed are told, each once.
  auto chunk = ReadFixture("#a[#]b#");
  std::vector<TpsChunkElement*> told;
  EXPECT_TRUE(chunk->SetSelection(true, chunk->First()->Id, At(*chunk, "a")->Id, true,
                                  [&](TpsDataChunk* aChunk, TpsChunkElement* aElement) {
                                    EXPECT_EQ(aChunk, chunk.get());
                                    told.push_back(aElement);
                                  }));
  EXPECT_EQ(DumpFixture(*chunk), "[#a]#b#");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0], chunk->First());
  EXPECT_EQ(told[1], At(*chunk, "a")->Next);
}

TEST(ChunkSelection, MarksOneBlockAtATime) {
  auto chunk = ReadFixture("<div><p>a[b</p><p>cd</p><p>e]f</p></div>");
  Integer marker = 100;
  std::vector<std::string> ends;
  for (TpsChunkElement* e = chunk->First(); (e = chunk->MarkNextSelectedRun(e, marker));) {
    ends.push_back(Shown(e));
    chunk->Check();
  }
  EXPECT_EQ(marker, 106);
  EXPECT_EQ(DumpFixture(*chunk),
            "<div><p>a@M100@[b]@M101@[</p><p>]@M102@[cd]@M103@[</p><p>]@M104@[e]@M105@f</p></div>");
  EXPECT_EQ(ends, (std::vector<std::string>{"</p>", "<p>", "</p>", "<p>", "</p>"}));
  chunk->RemoveMarkers(100, 2147483647);
  EXPECT_EQ(DumpFixture(*chunk), "<div><p>a[b</p><p>cd</p><p>e]f</p></div>");

  // A selected block tag starts its own run; nothing past the last one.
  auto last = ReadFixture("<p>a</p>[<p>b]</p>");
  Integer next = 1;
  EXPECT_EQ(Shown(last->MarkNextSelectedRun(last->First(), next)), "</p>");
  EXPECT_EQ(next, 3);
  EXPECT_EQ(DumpFixture(*last), "<p>a</p>[<p>]@M1@[b]@M2@</p>");
  EXPECT_EQ(last->MarkNextSelectedRun(last->Last(), next), nullptr);
}

TEST(ChunkSmartTags, MarksOnCharacters) {
  Handler handler;
  auto chunk = ReadFixture("ab<b>cd</b>ef|gh");
  chunk->SetSmartTag(At(*chunk, "b"), At(*chunk, "d"), true, 3, &handler);
  chunk->SetSmartTag(At(*chunk, "e"), At(*chunk, "e"), true, 5, &handler);
  chunk->Check();
  EXPECT_EQ(At(*chunk, "c")->SmartTag.Handler, &handler);
  EXPECT_FALSE(At(*chunk, "<b>")->SmartTag.Marked);  // tags carry no mark
  EXPECT_TRUE(chunk->HasSmartTag());
  EXPECT_TRUE(chunk->HasSmartTagBetween(nullptr, At(*chunk, "b")));
  EXPECT_FALSE(chunk->HasSmartTagBetween(At(*chunk, "f"), nullptr));
  EXPECT_EQ(chunk->GetSmartTagText(3), "bcd");
  EXPECT_EQ(chunk->GetSmartTagText(9), "");
  EXPECT_FALSE(chunk->HasSmartTagBeforeCursor());

  // Marked 3, 3, 5: the range of 3 is the first two.
  TpsChunkElement *first, *last;
  EXPECT_TRUE(chunk->FindSmartTagRange(3, first, last));
  EXPECT_EQ(first, At(*chunk, "b"));
  EXPECT_EQ(last, At(*chunk, "d"));
  EXPECT_FALSE(chunk->FindSmartTagRange(4, first, last));
  EXPECT_EQ(first, nullptr);

  Integer before, after;
  EXPECT_FALSE(chunk->GetSmartTagIdsAtCursor(before, after));
  chunk->SetSmartTag(At(*chunk, "f"), nullptr, true, 6, nullptr);
  EXPECT_TRUE(chunk->HasSmartTagBeforeCursor());
  EXPECT_TRUE(chunk->GetSmartTagIdsAtCursor(before, after));
  EXPECT_EQ(before, 6);
  EXPECT_EQ(after, 6);

  chunk->ClearSmartTagsExcept(3);
  EXPECT_EQ(chunk->GetSmartTagText(3), "bcd");
  EXPECT_FALSE(At(*chunk, "e")->SmartTag.Marked);
  EXPECT_EQ(At(*chunk, "e")->SmartTag.MarkId, 0);
  EXPECT_EQ(At(*chunk, "e")->SmartTag.Handler, nullptr);
  chunk->SetSmartTag(nullptr, nullptr, false, 0, nullptr);
  EXPECT_FALSE(chunk->HasSmartTag());

  // A later range of the same id after another id is not part of the range.
  auto split = ReadFixture("abc");
  split->SetSmartTag(At(*split, "a"), At(*split, "a"), true, 3, nullptr);
  split->SetSmartTag(At(*split, "b"), At(*split, "b"), true, 4, nullptr);
  split->SetSmartTag(At(*split, "c"), At(*split, "c"), true, 3, nullptr);
  EXPECT_TRUE(split->FindSmartTagRange(3, first, last));
  EXPECT_EQ(last, split->First());
  EXPECT_EQ(split->GetSmartTagText(3), "ac");
}

// The marked text is read through the system code page, as GetCharacters
// reads (mended: the low byte of "é" and "€" is not the character).
TEST(ChunkSmartTags, TextThroughTheSystemCodePage) {
  auto chunk = ReadFixture("café €5 \u00a0x");
  chunk->SetSmartTag(nullptr, nullptr, true, 1, nullptr);
  EXPECT_EQ(chunk->GetSmartTagText(1), "café €5  x");
  EXPECT_EQ(chunk->GetSmartTagText(1), chunk->GetCharacters());
  // An id of 0 is no mark.
  chunk->SetSmartTag(nullptr, nullptr, true, 0, nullptr);
  EXPECT_EQ(chunk->GetSmartTagText(0), "");
}
