// Inline formatting on marked ranges: the tags open at a position,
// splitting, wrapping, applying and removing tags, and the tags that cover
// the selection; each case one fixture in and one out, with Check() and the
// inline-pair check after every operation.
//
// Rows marked "mended" show a tag without partner closed by a tag of its
// name, pairs split at the end of a range kept nested, and a tag opened
// before the selection counted as covering it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psStyleSheets.h"
#include "rtl/StringList.h"

using namespace htmldoc;
using htmldoc::testing::At;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;
using htmldoc::testing::SheetEvents;
using htmldoc::testing::Shown;

namespace {

// A document's sheet and the tag events answered from it.
struct Document {
  TpsStyleSheet sheet;
  TpsHtmlTagEventsRef events = SheetEvents(sheet);
  std::unique_ptr<TpsDataChunk> Read(const std::string& aFixture) { return ReadFixture(aFixture, events); }
};

struct FormatCase {
  const char* name;
  const char* before;
  void (*operation)(TpsDataChunk&, Document&);
  const char* after;
};

void RunFormatCases(const std::vector<FormatCase>& aCases) {
  for (const auto& c : aCases) {
    Document document;
    auto chunk = document.Read(c.before);
    c.operation(*chunk, document);
    EXPECT_NO_THROW(chunk->Check(0, true)) << c.name;
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.name;
  }
}

std::string OpenTags(TpsDataChunk& aChunk, TpsChunkElement* aStart) {
  std::string text;
  const Integer count = aChunk.ForEachInlineTagAround(aStart, [&](Integer aIndex, TpsChunkElement* aTag) {
    text += std::to_string(aIndex) + aTag->Tag->GetText();
  });
  return text + "=" + std::to_string(count);
}

std::vector<std::string> Covering(const TpsDataChunk& aChunk) {
  std::unique_ptr<rtl::TStringList> list = aChunk.GetTagsCoveringSelection(nullptr);
  std::vector<std::string> texts;
  for (Integer i = 0; i < list->Count(); ++i) texts.push_back(list->Get(i));
  return texts;
}

}  // namespace

TEST(ChunkFormat, TagsOpenAtAPosition) {
  auto chunk = ReadFixture("<p>x<a href=\"u\"><i>a</i><b>y|</b>@M4@</a><br /></p>");
  EXPECT_EQ(OpenTags(*chunk, chunk->GetCursor()), "0<b>1<a href=\"u\">=2");
  EXPECT_EQ(chunk->ForEachInlineTagAroundCursor(nullptr), 2);
  EXPECT_EQ(chunk->ForEachInlineTagAroundMarker(4, nullptr), 1);
  EXPECT_EQ(OpenTags(*chunk, At(*chunk, "<b>")), "0<b>1<a href=\"u\">=2");  // the element itself counts
  EXPECT_EQ(OpenTags(*chunk, At(*chunk, "<br />")), "=0");
  EXPECT_EQ(OpenTags(*chunk, At(*chunk, "x")), "=0");
  EXPECT_EQ(Shown(chunk->GetInlineTagAroundCursor(1)), "<a href=\"u\">");
  EXPECT_EQ(Shown(chunk->GetInlineTagAroundCursor(2)), "nil");
  EXPECT_EQ(Shown(chunk->GetInlineTagAroundCursor(-1)), "nil");
  EXPECT_TRUE(chunk->IsCursorInsideInlineTag(TAG_A));
  EXPECT_FALSE(chunk->IsCursorInsideInlineTag(TAG_I));

  // The outermost of several tags of one code.
  auto nested = ReadFixture("<div><b><i><b>x|</b></i></b></div>");
  EXPECT_EQ(nested->IndexOfInlineTagAroundCursor(TAG_B), 2);
  EXPECT_EQ(nested->IndexOfInlineTagAroundCursor(TAG_U), -1);
  // A block tag ends the walk.
  EXPECT_EQ(ReadFixture("<b><p>|</p></b>")->ForEachInlineTagAroundCursor(nullptr), 0);
  EXPECT_EQ(ReadFixture("x")->ForEachInlineTagAroundCursor(nullptr), 0);
  EXPECT_EQ(ReadFixture("x")->GetInlineTagAroundCursor(0), nullptr);
}

TEST(ChunkFormat, Splits) {
  RunFormatCases({
      {"a character inside b holding i", "<p><b><i>x</i></b></p>",
       [](TpsDataChunk& c, Document&) { EXPECT_EQ(c.SplitInlineTagsAt(At(c, "x")), 2); },
       "<p><b><i></i></b>x<b><i></i></b></p>"},
      {"at a marker, attributes kept", "<p><span class=\"k\">a@M1@b</span></p>",
       [](TpsDataChunk& c, Document&) { c.SplitInlineTagsAtMarker(1); },
       "<p><span class=\"k\">a</span>@M1@<span class=\"k\">b</span></p>"},
      {"nothing open", "<p><b>a</b>@M1@b</p>", [](TpsDataChunk& c, Document&) { c.SplitInlineTagsAtMarker(1); },
       "<p><b>a</b>@M1@b</p>"},
      {"a pair crossing the start", "<p><b>a@M1@b</b>c@M2@d</p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); },
       "<p><b>a</b>@M1@<b>b</b>c@M2@d</p>"},
      {"pairs crossing the start, nested", "<p><b><i>a@M1@b</i>c</b>d@M2@</p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); },
       "<p><b><i>a</i></b>@M1@<b><i>b</i>c</b>d@M2@</p>"},
      {"pairs crossing the end, nested (mended)", "<p>@M1@<b><i>x@M2@y</i>z</b></p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); },
       "<p>@M1@<b><i>x</i></b>@M2@<b><i>y</i>z</b></p>"},
      {"both ends", "<p><u>a@M1@b</u><i>c@M2@d</i></p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); },
       "<p><u>a</u>@M1@<u>b</u><i>c</i>@M2@<i>d</i></p>"},
      {"a pair around the whole range stays", "<p><b>a@M1@b@M2@c</b></p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); }, "<p><b>a@M1@b@M2@c</b></p>"},
  });
}

// An unclosed tag (a page read without the syntax check) is closed by a
// tag of its name, as CreateTagPair closes a tag; the tags written out are
// the same as for a closed one.
TEST(ChunkFormat, TagsWithoutPartner) {
  const std::vector<FormatCase> cases = {
      {"split at a position (mended)", "<p><b class=\"k\">x|y</p>",
       [](TpsDataChunk& c, Document&) { c.SplitInlineTagsAt(c.GetCursor()); },
       "<p><b class=\"k\">x</b>|<b class=\"k\">y</p>"},
      {"an opening tag crossing the end (mended)", "<p>@M1@<span style=\"color:red\">x@M2@y</p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); },
       "<p>@M1@<span style=\"color:red\">x</span>@M2@<span style=\"color:red\">y</p>"},
      {"a closing tag crossing the start (mended)", "<p>@M1@x</b>y@M2@</p>",
       [](TpsDataChunk& c, Document&) { c.SplitCrossingTags(1, 2); }, "<p></b>@M1@<b>x</b>y@M2@</p>"},
      {"removed from a range (mended)", "<p><b>a@M1@b@M2@c</p>",
       [](TpsDataChunk& c, Document&) { c.RemoveTagFromMarkedRange(1, 2, "<b>", nullptr); },
       "<p><b>a</b>@M1@b@M2@<b>c</p>"},
  };
  for (const auto& c : cases) {
    Document document;
    auto chunk = document.Read(c.before);
    c.operation(*chunk, document);
    EXPECT_NO_THROW(chunk->Check()) << c.name;
    EXPECT_EQ(DumpFixture(*chunk), c.after) << c.name;
  }
}

TEST(ChunkFormat, WrapAndApply) {
  RunFormatCases({
      {"wrap", "<p><b>a@M1@b</b>c@M2@d</p>",
       [](TpsDataChunk& c, Document& d) { c.WrapMarkedRange(d.events, 1, 2, "<span class=\"x\">", &d.sheet, nullptr); },
       "<p><b>a</b><span class=\"x\">@M1@<b>b</b>c@M2@</span>d</p>"},
      {"wrap in a custom tag", "<p>a@M1@b@M2@c</p>",
       [](TpsDataChunk& c, Document& d) {
         c.WrapMarkedRangeInCustomTag(1, 2, "<mytag a=\"1\">", d.events);
         EXPECT_EQ(At(c, "<@cust>")->Tag->CustomSource, "<mytag a=\"1\">");
         EXPECT_EQ(At(c, "</@cust>")->Tag->CustomSource, "<mytag a=\"1\">");
       },
       "<p>a<@cust>@M1@b@M2@</@cust>c</p>"},
      {"b on the middle of a bold text nests a pair", "<p><b>a@M1@b@M2@c</b></p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<b>", &d.sheet, nullptr); },
       "<p><b>a<b>@M1@b@M2@</b>c</b></p>"},
      {"i exactly inside an i pair", "<p>x<i> @M1@y@M2@|</i>z</p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<I>", &d.sheet, nullptr); },
       "<p>x <i>@M1@y@M2@</i>|z</p>"},
      {"a neighbour before is extended", "<p><b>a</b>{c:k}@M1@b@M2@c</p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<b>", &d.sheet, nullptr); },
       "<p><b>a{c:k}@M1@b@M2@</b>c</p>"},
      {"a neighbour after is extended", "<p>a@M1@b@M2@|<b>c</b></p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<b>", &d.sheet, nullptr); },
       "<p>a<b>@M1@b@M2@|c</b></p>"},
      {"a closing neighbour of another kind blocks the one after", "<p><b class=\"x\">a</b>@M1@b@M2@<b>c</b></p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<b>", &d.sheet, nullptr); },
       "<p><b class=\"x\">a</b><b>@M1@b@M2@</b><b>c</b></p>"},
      {"a range partly bold", "<p><b>a@M1@b</b>c@M2@</p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<b>", &d.sheet, nullptr); },
       "<p><b>a@M1@bc@M2@</b></p>"},
      {"bold pairs inside go", "<p>@M1@a<b>b</b>c<i><b>d</b></i>@M2@</p>",
       [](TpsDataChunk& c, Document& d) { c.ApplyTagToMarkedRange(d.events, 1, 2, "<b>", &d.sheet, nullptr); },
       "<p><b>@M1@abc<i>d</i>@M2@</b></p>"},
      {"empty attributes and unquoted values are left out", "<p>@M1@a@M2@</p>",
       [](TpsDataChunk& c, Document& d) {
         c.ApplyTagToMarkedRange(d.events, 1, 2, "<a href=\"u\" title=\"\" rel=x>", &d.sheet, nullptr);
       },
       "<p><a href=\"u\">@M1@a@M2@</a></p>"},
  });
}

// A span whose inline style sets a colour: an inner span that also sets
// that colour keeps only its other declarations; one that sets only the
// colour is left without attributes and goes.
TEST(ChunkFormat, ApplyingAStyleMergesInnerStyles) {
  Document d;
  auto chunk = d.Read(
      "<p>@M1@<span style=\"color:red;font-size:12px\">x</span><span style=\"color: red\">y</span>"
      "<span style=\"color:blue\">z</span>@M2@</p>");
  const TpsStyleIdEvent onStyleId = d.events->OnStyleAttributeToId;
  chunk->ApplyTagToMarkedRange(d.events, 1, 2, "<span style=\"color:red\">", &d.sheet, onStyleId);
  chunk->Check(0, true);
  TpsChunkElement* inner = At(*chunk, "x")->Prev;
  EXPECT_EQ(DeclarationsFontSize(inner->Tag->GetAttribute("style")).Value, 12);
  EXPECT_EQ(inner->Tag->GetAttribute("style").find("color"), AnsiString::npos);
  EXPECT_EQ(d.sheet.GetStyle(inner->Tag->GetStyleAttributeId())->GetAttributesAsString(),
            inner->Tag->GetAttribute("style"));
  EXPECT_EQ(DumpFixture(*chunk), "<p><span style=\"color:red\">@M1@" + inner->Tag->GetText() +
                                     "x</span>y<span style=\"color:blue\">z</span>@M2@</span></p>");

  // Without the sheet's events the declarations are kept as text.
  auto plain = ReadFixture("<p>@M1@<span style=\"color:red;font-size:12px\">x</span>@M2@</p>");
  plain->ApplyTagToMarkedRange(nullptr, 1, 2, "<span style=\"color:red\">", nullptr, nullptr);
  plain->Check(0, true);
  EXPECT_EQ(DeclarationsFontSize(At(*plain, "x")->Prev->Tag->GetAttribute("style")).Value, 12);
  EXPECT_EQ(At(*plain, "x")->Prev->Tag->GetAttribute("style").find("color"), AnsiString::npos);

  // An equal style written otherwise makes an equal neighbour.
  auto neighbour = d.Read("<p><span style=\"color: red;\">a</span>@M1@b@M2@</p>");
  neighbour->ApplyTagToMarkedRange(d.events, 1, 2, "<span style=\"color:red\">", &d.sheet, onStyleId);
  EXPECT_EQ(DumpFixture(*neighbour), "<p><span style=\"color: red;\">a@M1@b@M2@</span></p>");
}

TEST(ChunkFormat, Remove) {
  RunFormatCases({
      {"b goes, an i open at a marker is split", "<p><i>a<b>b@M1@c</b>d@M2@e</i></p>",
       [](TpsDataChunk& c, Document&) { c.RemoveTagFromMarkedRange(1, 2, "<b>", nullptr); },
       "<p><i>a<b>b</b>@M1@cd</i>@M2@<i>e</i></p>"},
      {"every b pair of the range", "<p>@M1@<b>a</b>b<i><b>c</b></i>@M2@<b>d</b></p>",
       [](TpsDataChunk& c, Document&) { c.RemoveTagFromMarkedRange(1, 2, "<B>", nullptr); },
       "<p>@M1@ab<i>c</i>@M2@<b>d</b></p>"},
      {"only tags of exactly that text", "<p>@M1@<span class=\"a\">x</span><span>y</span>@M2@</p>",
       [](TpsDataChunk& c, Document&) { c.RemoveTagFromMarkedRange(1, 2, "<span>", nullptr); },
       "<p>@M1@<span class=\"a\">x</span>y@M2@</p>"},
      {"split up to the tag, not beyond", "<p><b><u><i>a@M1@b@M2@c</i></u></b></p>",
       [](TpsDataChunk& c, Document&) { c.RemoveTagFromMarkedRange(1, 2, "<u>", nullptr); },
       "<p><b><u><i>a</i></u>@M1@<i>b</i>@M2@<u><i>c</i></u></b></p>"},
  });
}

TEST(ChunkFormat, TagsCoveringTheSelection) {
  // The first run bold, the second not: no b.
  EXPECT_TRUE(Covering(*ReadFixture("<p><b>[ab</b> cd]</p>")).empty());
  EXPECT_EQ(Covering(*ReadFixture("<p><b><i>[ab</i> c]d</b></p>")), (std::vector<std::string>{"<b>"}));
  // Blank runs do not count.
  EXPECT_EQ(Covering(*ReadFixture("<p><b>[ab</b> <i>c]</i><b>d</b></p>")), (std::vector<std::string>{}));
  EXPECT_EQ(Covering(*ReadFixture("<p><u><b>[ab</b> </u><u>c]</u></p>")), (std::vector<std::string>{"<u>"}));
  // Over two paragraphs.
  EXPECT_EQ(Covering(*ReadFixture("<p><b><i>[a</i></b></p><p><b>b]</b></p>")), (std::vector<std::string>{"<b>"}));
  // A tag opened before the selection covers it (mended).
  EXPECT_EQ(Covering(*ReadFixture("<p><a href=\"u\"><b>[abc]</b></a></p>")),
            (std::vector<std::string>{"<a href=\"u\">", "<b>"}));
  EXPECT_TRUE(Covering(*ReadFixture("<p><b>abc</b></p>")).empty());
}
