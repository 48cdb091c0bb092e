// The root's edit operations, end to end: a node list laid out under a
// small root, taken out (550), changed by one message, checked and written
// out, then laid out again (560). Rows are the operations of the root's
// table, the insert-text blank and tab rules, Backspace and Delete, list
// indent and outdent, alignment and the edit protocol's own checks.
#include <gtest/gtest.h>

#include <functional>

#include "ViewFixture.h"
#include "htmledit/doc/psHtmlParser.h"
#include "htmledit/doc/psLookupLists.h"
#include "htmledit/doc/psStrings.h"
#include "htmledit/doc/psTagParser.h"
#include "htmldoc/support/ChunkFixture.h"
#include "rtl/CodePages.h"
#include "rtl/Streams.h"

namespace {

using namespace htmlview;
using htmlview::testing::FakeHost;
using htmldoc::TpsChunkElement;
using htmldoc::TpsDataChunk;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

// A leaf that keeps the whole list it is laid out from.
class HoldingLeaf : public TpsDocumentNode {
 public:
  using TpsDocumentNode::TpsDocumentNode;
  std::unique_ptr<TpsDataChunk> GetChunk(bool aAsCopy) override {
    if (aAsCopy) return Content->Clone(false);
    auto out = std::move(Content);
    Content = std::make_unique<TpsDataChunk>();
    return out;
  }
  void LayoutChunk(TpsDataChunk& aChunk) override {
    TpsDocumentNode::LayoutChunk(aChunk);
    Content->InsertChunk(aChunk, nullptr, true);
    WindowFlags.SetFlag(wfBeingLaidOut, false);
  }
  std::unique_ptr<TpsDataChunk> Content = std::make_unique<TpsDataChunk>();
};

// A root that lays its content out as one leaf.
class SmallRoot : public TpsDocumentNode {
 public:
  using TpsDocumentNode::TpsDocumentNode;
  void LayoutChunk(TpsDataChunk& aChunk) override {
    TpsDocumentNode::LayoutChunk(aChunk);
    auto leaf = NewWindow<HoldingLeaf>(this);
    leaf->LayoutChunk(aChunk);
    AddChild(std::move(leaf));
    ++Layouts;
    WindowFlags.SetFlag(wfBeingLaidOut, false);
  }
  Integer Layouts = 0;
};

struct Editing {
  Editing() {
    htmldoc::testing::LoadCss(Host.Sheet, "body { text-align: left } .note { color: red } .wide { margin: 2px }");
  }
  // Lays the fixture out under the root.
  void Load(const std::string& aFixture) {
    auto chunk = ReadFixture(aFixture, Host.Events);
    Root->LayoutChunk(*chunk);
  }
  TpsMessagePtr Message(Integer aId) { return TpsMessage::Create(mrCommand, aId); }
  void Send(TpsMessage& m) {
    Root->HandleMessage(m);
    EXPECT_TRUE(m.IsHandled()) << m.Id;
  }
  void Send(Integer aId) {
    auto m = Message(aId);
    Send(*m);
  }
  std::string Out() { return DumpFixture(*Root->EditChunk); }
  TpsChunkElement* Find(WideChar aChar) {
    for (TpsChunkElement* e = Root->EditChunk->First(); e; e = e->Next)
      if (e->Kind == htmldoc::ceChar && e->Char == aChar) return e;
    return nullptr;
  }

  FakeHost Host;
  std::unique_ptr<SmallRoot, TpsWindowDeleter> RootOwner{NewWindow<SmallRoot>(nullptr, &Host)};
  SmallRoot* Root = RootOwner.get();
};

struct Row {
  const char* name;
  const char* in;
  std::function<void(Editing&, TpsMessage&)> setup;
  Integer id;
  const char* out;
  std::map<std::string, Integer> options = {};
};

void P(TpsMessage& m, Integer a, Integer b = 0, Integer c = 0) {
  m.SetParam(1, a);
  m.SetParam(2, b);
  m.SetParam(3, c);
}

// What the document model's HTML writer gives for a list written in the
// fixture notation: the cursor as "|", markers and the selection unwritten,
// a no-break space as its entity.
std::string WriterHtml(const std::string& aFixture) {
  std::string out;
  for (size_t i = 0; i < aFixture.size();) {
    if (aFixture.compare(i, 2, "@M") == 0) {
      i = aFixture.find('@', i + 2) + 1;
    } else if (aFixture[i] == '[' || aFixture[i] == ']') {
      ++i;
    } else if (aFixture.compare(i, 2, "\xc2\xa0") == 0) {
      out += "&nbsp;";
      i += 2;
    } else {
      out += aFixture[i++];
    }
  }
  return out;
}

void RunRows(const std::vector<Row>& aRows) {
  for (const Row& r : aRows) {
    SCOPED_TRACE(r.name);
    Editing e;
    for (const auto& [k, v] : r.options) e.Host.Options[k] = v;
    e.Load(r.in);
    e.Send(psmExtractChunk);
    ASSERT_TRUE(e.Root->EditChunk);
    auto m = e.Message(r.id);
    if (r.setup) r.setup(e, *m);
    e.Send(*m);
    e.Root->EditChunk->Check();
    EXPECT_EQ(e.Out(), r.out);
    const htmldoc::TpsCharacterEncoding utf8("utf-8");
    EXPECT_EQ(rtl::WideToUtf8(e.Root->EditChunk->GetHtmlText(nullptr, nullptr, "|", false, utf8)),
              WriterHtml(r.out));
    const Integer layouts = e.Root->Layouts;
    e.Send(psmRelayout);
    EXPECT_EQ(e.Root->Layouts, layouts + 1);
    EXPECT_FALSE(e.Root->WindowFlags.GetFlag(wfContentTakenOut));
    EXPECT_EQ(e.Root->EditChunk, nullptr);
  }
}

const char* const kNbsp = "\u00a0";

TEST(EditOperations, MarkersCursorAndInsertions) {
  auto tag = std::make_shared<std::unique_ptr<htmldoc::TpsHtmlTag>>();
  RunRows({
      {"cursor before marker", "<p>ab@M1@cd|</p>", [](Editing&, TpsMessage& m) { P(m, 1); }, psmCursorToMarker,
       "<p>ab|@M1@cd</p>"},
      {"cursor after marker", "<p>ab@M1@cd|</p>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.Result = true;
       },
       psmCursorToMarker, "<p>ab@M1@|cd</p>"},
      {"marker before an element", "<p>ab|</p>",
       [](Editing& e, TpsMessage& m) {
         P(m, 4);
         m.ElementId = e.Find(u'b')->Id;
       },
       psmInsertMarkerAtElement, "<p>a@M4@b|</p>"},
      {"marker after an element", "<p>ab|</p>",
       [](Editing& e, TpsMessage& m) {
         P(m, 4);
         m.ElementId = e.Find(u'a')->Id;
         m.Result = true;
       },
       psmInsertMarkerAtElement, "<p>a@M4@b|</p>"},
      // Inside the list, so that the block around the marker is the list.
      {"marker at the list around the cursor", "<p>x</p><ul><li>a|</li></ul>",
       [](Editing&, TpsMessage& m) { P(m, 7); }, psmMarkListAtCursor, "<p>x</p><ul>@M7@<li>a|</li></ul>"},
      {"block range marked", "<p>ab@M3@c</p>", [](Editing&, TpsMessage& m) { P(m, 1, 2, 3); }, psmMarkBlockRange,
       "<p>@M1@ab@M3@c@M2@</p>"},
      {"markers before and after the cursor", "<p>a|b</p>", [](Editing&, TpsMessage& m) { P(m, 5); },
       psmInsertMarkerBeforeCursor, "<p>a@M5@|b</p>"},
      {"marker after the cursor", "<p>a|b</p>", [](Editing&, TpsMessage& m) { P(m, 5); },
       psmInsertMarkerAfterCursor, "<p>a|@M5@b</p>"},
      {"marker removed", "<p>a@M5@|b@M6@</p>", [](Editing&, TpsMessage& m) { P(m, 5); }, psmRemoveMarker,
       "<p>a|b@M6@</p>"},
      {"cursor element removed", "<p>a|b</p>", nullptr, psmRemoveCursorElement, "<p>ab</p>"},
      {"tag at the cursor", "<p>a|b</p>",
       [tag](Editing& e, TpsMessage& m) {
         *tag = htmldoc::TpsHtmlTag::CreateFromText(e.Host.Events, "<br>");
         m.Tag = tag->get();
       },
       psmInsertTagAtCursor, "<p>a<br>|b</p>"},
      {"tag after a marker, marker removed", "<p>a@M2@b|</p>",
       [tag](Editing& e, TpsMessage& m) {
         *tag = htmldoc::TpsHtmlTag::CreateFromText(e.Host.Events, "<b>");
         m.Tag = tag->get();
         m.InsertAfter = true;
         P(m, 2);
       },
       psmInsertTagAtMarker, "<p>a<b>b|</p>"},
      {"tag before a marker, marker kept", "<p>a@M2@b|</p>",
       [tag](Editing& e, TpsMessage& m) {
         *tag = htmldoc::TpsHtmlTag::CreateFromText(e.Host.Events, "<b>");
         m.Tag = tag->get();
         m.Result = true;
         P(m, 2);
       },
       psmInsertTagAtMarker, "<p>a<b>@M2@b|</p>"},
      {"list after a marker", "<p>a@M2@b|</p>",
       [](Editing& e, TpsMessage& m) {
         m.Chunk = ReadFixture("<i>x</i>", e.Host.Events);
         P(m, 2);
       },
       psmInsertChunkAtMarker, "<p>a<i>x</i>b|</p>"},
      {"list after a marker, marker kept", "<p>a@M2@b|</p>",
       [](Editing& e, TpsMessage& m) {
         m.Chunk = ReadFixture("xy", e.Host.Events);
         m.Result = true;
         P(m, 2);
       },
       psmInsertChunkAtMarker, "<p>a@M2@xyb|</p>"},
      {"list before the cursor", "<p>a|b</p>",
       [](Editing& e, TpsMessage& m) { m.Chunk = ReadFixture("<i>x</i>", e.Host.Events); }, psmInsertChunkAtCursor,
       "<p>a<i>x</i>|b</p>"},
      {"element after another", "<p>ab|</p>",
       [](Editing& e, TpsMessage& m) {
         m.Data = htmldoc::NewCharacterElement(u'z');
         m.ElementId = e.Find(u'a')->Id;
       },
       psmInsertElementAfter, "<p>azb|</p>"},
      {"element before another", "<p>ab|</p>",
       [](Editing& e, TpsMessage& m) {
         m.Data = htmldoc::NewCharacterElement(u'z');
         m.ElementId = e.Find(u'a')->Id;
         m.Result = true;
       },
       psmInsertElementAfter, "<p>zab|</p>"},
      {"tag replaced from text", "<p><b>a|</b></p>",
       [](Editing& e, TpsMessage& m) {
         m.ElementId = e.Root->EditChunk->First()->Next->Id;
         m.Text = "<i class=\"q\">";
       },
       psmReplaceElementTag, "<p><i class=\"q\">a|</b></p>"},
  });
}

TEST(EditOperations, InsertTextBlanksAndTabs) {
  const auto text = [](const char16_t* t) {
    return [t](Editing&, TpsMessage& m) { m.WideText = t; };
  };
  const std::map<std::string, Integer> on{{"AllowMultipleSpaces", 1}};
  RunRows({
      {"plain text", "<p>a|b</p>", text(u"xy"), psmInsertText, "<p>axy|b</p>"},
      {"runs of blanks collapsed", "<p>|</p>", text(u"a  \t b"), psmInsertText, "<p>a b|</p>"},
      {"space after a space: nothing", "<p>a |</p>", text(u" "), psmInsertText, "<p>a |</p>"},
      {"space after a space, multiple spaces: no-break space", "<p>a |</p>", text(u" "), psmInsertText,
       (std::string("<p>a ") + kNbsp + "|</p>").c_str(), on},
      {"leading blank dropped after a blank", "<p>a |</p>", text(u" x"), psmInsertText, "<p>a x|</p>"},
      {"single space before a space: the cursor passes it", "<p>a| b</p>", text(u" "), psmInsertText,
       "<p>a |b</p>"},
      {"single space before a space, multiple spaces", "<p>a| b</p>", text(u" "), psmInsertText,
       (std::string("<p>a") + kNbsp + "| b</p>").c_str(), on},
      {"trailing blank dropped before a blank", "<p>a| b</p>", text(u"x "), psmInsertText, "<p>ax| b</p>"},
      {"non-blank text before a blank", "<p>a| b</p>", text(u"x"), psmInsertText, "<p>ax| b</p>"},
      {"leading blank at the block start, multiple spaces", "<p>|a</p>", text(u" x"), psmInsertText,
       (std::string("<p>") + kNbsp + "x|a</p>").c_str(), on},
      {"leading blank at the block start", "<p>|a</p>", text(u" x"), psmInsertText, "<p> x|a</p>"},
      {"tab to four no-break spaces", "<p>a|</p>", text(u"\tb"), psmInsertText,
       (std::string("<p>a") + kNbsp + kNbsp + kNbsp + kNbsp + "b|</p>").c_str()},
      {"tab stops of 0 count as 1", "<p>a|</p>", text(u"\tb"), psmInsertText,
       (std::string("<p>a") + kNbsp + "b|</p>").c_str(), {{"TabStops", 0}}},
      {"selected text", "<p>a|</p>",
       [](Editing&, TpsMessage& m) {
         m.WideText = u"xy";
         m.Result = true;
       },
       psmInsertText, "<p>a[xy]|</p>"},
  });
}

TEST(EditOperations, DeletionAndBlocks) {
  RunRows({
      {"selection deleted", "<p>a[bc]d|</p>", nullptr, psmDeleteSelection, "<p>ad|</p>"},
      {"between markers", "<p>a@M1@bc@M2@d|</p>", [](Editing&, TpsMessage& m) { P(m, 1, 2); },
       psmDeleteBetweenMarkers, "<p>ad|</p>"},
      {"backspace after a line break removes only it", "<p>a<br />|b</p>", nullptr, psmDeleteCharBefore,
       "<p>a|b</p>"},
      {"delete before a line break", "<p>a|<br />b</p>", nullptr, psmDeleteCharAfter, "<p>a|b</p>"},
      {"backspace", "<p>ab|c</p>", nullptr, psmDeleteCharBefore, "<p>a|c</p>"},
      {"delete", "<p>a|bc</p>", nullptr, psmDeleteCharAfter, "<p>a|c</p>"},
      {"backspace between blanks leaves one", "<p>a x| b</p>", nullptr, psmDeleteCharBefore, "<p>a |b</p>"},
      {"delete between blanks leaves one", "<p>a |x b</p>", nullptr, psmDeleteCharAfter, "<p>a |b</p>"},
      {"backspace over an image", "<p>a<img src=\"x.png\">|b</p>", nullptr, psmDeleteCharBefore, "<p>a|b</p>"},
      {"delete an image", "<p>a|<img src=\"x.png\">b</p>", nullptr, psmDeleteCharAfter, "<p>a|b</p>"},
      {"empty custom pair around the cursor goes", "<p>a<@cust>b|</@cust>c</p>", nullptr, psmDeleteCharBefore,
       "<p>a|c</p>"},
      {"word backward: separators, then the word", "<p>abc def, |ghi</p>",
       [](Editing&, TpsMessage& m) { m.Result = true; }, psmDeleteWord, "<p>abc |ghi</p>"},
      {"word forward", "<p>abc| def ghi</p>", nullptr, psmDeleteWord, "<p>abc| ghi</p>"},
      {"word backward stays in its block", "<p>ab</p><p>|cd</p>", [](Editing&, TpsMessage& m) { m.Result = true; },
       psmDeleteWord, "<p>ab</p><p>|cd</p>"},
      {"blank marked block with the cursor goes, the cursor where the other marker was",
       "<p>a</p>@M2@<p> @M1@|</p><p>b</p>", [](Editing&, TpsMessage& m) { P(m, 1, 2); }, psmDeleteMarkedBlock,
       "<p>a</p>|<p>b</p>"},
      {"marked block with text stays", "<p>a</p>@M2@<p>x@M1@|</p>", [](Editing&, TpsMessage& m) { P(m, 1, 2); },
       psmDeleteMarkedBlock, "<p>a</p><p>x@M1@|</p>"},
      {"marked block with an image stays", "<p>a|</p>@M2@<p><img src=\"i\">@M1@</p>",
       [](Editing&, TpsMessage& m) { P(m, 1, 2); }, psmDeleteMarkedBlock, "<p>a|</p><p><img src=\"i\">@M1@</p>"},
      {"split around markers", "<p>a@M1@b@M2@c|</p>", [](Editing&, TpsMessage& m) { P(m, 1, 2); },
       psmSplitBlockAtMarkers, "<p>a</p>b<p>c|</p>"},
      {"marked range moved after the target, its markers kept", "<p>@M1@ab@M2@c@M3@|</p>",
       [](Editing&, TpsMessage& m) { P(m, 1, 2, 3); }, psmMoveMarkedRange, "<p>@M1@@M2@cab|</p>"},
      {"block content joined at a marker", "<p>a@M2@</p><p>@M1@b|</p>", [](Editing&, TpsMessage& m) { P(m, 1, 2); },
       psmMoveBlockContentToMarker, "<p>ab|</p>"},
  });
}

TEST(EditOperations, ListsAndBlockTags) {
  const auto marker = [](Byte code) {
    return [code](Editing&, TpsMessage& m) {
      P(m, 1);
      m.TagCode = code;
    };
  };
  RunRows({
      {"indent into a new list", "<ul><li>a</li><li>b@M1@|</li></ul>", marker(htmldoc::TAG_UL), psmIndentListItem,
       "<ul><li>a<ul><li>b@M1@|</li></ul></li></ul>"},
      {"indent joins the list before", "<ul><li>a<ul><li>x</li></ul></li><li>b@M1@|</li></ul>",
       marker(htmldoc::TAG_UL), psmIndentListItem, "<ul><li>a<ul><li>x</li><li>b@M1@|</li></ul></li></ul>"},
      {"indent as an ordered list", "<ul><li>a</li><li>b@M1@|</li></ul>", marker(htmldoc::TAG_OL),
       psmIndentListItem, "<ul><li>a<ol><li>b@M1@|</li></ol></li></ul>"},
      {"first item: no indent", "<ul><li>a@M1@|</li></ul>", marker(htmldoc::TAG_UL), psmIndentListItem,
       "<ul><li>a@M1@|</li></ul>"},
      {"outdent the only item", "<ul><li>a<ul><li>b@M1@|</li></ul></li></ul>", marker(0), psmOutdentListItem,
       "<ul><li>a</li><li>b@M1@|</li></ul>"},
      {"outdent takes the following siblings along",
       "<ul><li>a<ul><li>x@M1@|</li><li>y</li></ul></li></ul>", marker(0), psmOutdentListItem,
       "<ul><li>a</li><li>x@M1@|<ul><li>y</li></ul></li></ul>"},
      {"outdent keeps the siblings before", "<ul><li>a<ol><li>w</li><li>x@M1@|</li></ol></li></ul>", marker(0),
       psmOutdentListItem, "<ul><li>a<ol><li>w</li></ol></li><li>x@M1@|</li></ul>"},
      {"top-level item: no outdent", "<ul><li>a@M1@|</li></ul>", marker(0), psmOutdentListItem,
       "<ul><li>a@M1@|</li></ul>"},
      {"list item to paragraph", "<ul><li>a</li><li>b@M1@|</li><li>c</li></ul>", marker(0),
       psmListItemToParagraph, "<ul><li>a</li></ul><p>b@M1@|</p><ul><li>c</li></ul>"},
      {"block tag changed, class and style dropped", "<p class=\"note\" style=\"color: red\">a@M1@|</p>",
       marker(htmldoc::TAG_H2), psmSetListTag, "<h2>a@M1@|</h2>"},
      {"block tag joined with its neighbours", "<h2>a</h2><p>b@M1@|</p><h2>c</h2>", marker(htmldoc::TAG_H2),
       psmSetListTag, "<h2>ab@M1@|c</h2>"},
      {"same code: only joined", "<h2>a</h2><h2 class=\"note\">b@M1@|</h2>", marker(htmldoc::TAG_H2), psmSetListTag,
       "<h2>ab@M1@|</h2>"},
      {"table cell gets an inner block", "<table><tr><td>a@M1@|</td></tr></table>", marker(htmldoc::TAG_H1),
       psmSetListTag, "<table><tr><td><h1>a@M1@|</h1></td></tr></table>"},
      {"list block retagged", "<ul><li>a@M1@|</li></ul>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.TagCode = htmldoc::TAG_OL;
       },
       psmSetListBlockTag, "<ul><ol>a@M1@|</ol></ul>"},
      {"selected items' lists retagged", "<ul>[<li>a</li>]</ul><ol><li>b|</li></ol><ul><li>c</li></ul>",
       marker(htmldoc::TAG_OL), psmSetSelectedListTag, "<ol>[<li>a</li>]</ol><ol><li>b|</li></ol><ul><li>c</li></ul>"},
      {"class set on the marked block", "<p>a@M1@|</p>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.Text = "note";
       },
       psmSetMarkedBlockClass, "<p class=\"note\">a@M1@|</p>"},
      {"class removed", "<p class=\"note\">a@M1@|</p>", [](Editing&, TpsMessage& m) { P(m, 1); },
       psmSetMarkedBlockClass, "<p>a@M1@|</p>"},
  });
}

TEST(EditOperations, AlignmentOfSelectedBlocks) {
  // text-align: 1 left, 2 center, 3 right, 4 justify; the body is left.
  const auto align = [](Byte a) { return [a](Editing&, TpsMessage& m) { m.Alignment = a; }; };
  RunRows({
      {"two selected blocks centred", "<p>[a</p><p>b]|</p><p>c</p>", align(2), psmSetAlignment,
       "<p style=\"text-align:center;\">[a</p><p style=\"text-align:center;\">b]|</p><p>c</p>"},
      {"the inherited alignment adds nothing", "<p>[a]|</p>", align(1), psmSetAlignment, "<p>[a]|</p>"},
      {"0 adds nothing", "<p>[a]|</p>", align(0), psmSetAlignment, "<p>[a]|</p>"},
      {"an inline alignment equal to the request is removed", "<p style=\"text-align: right\">[a]|</p>", align(3),
       psmSetAlignment, "<p>[a]|</p>"},
      {"an inline alignment is replaced", "<p style=\"color: red; text-align: right\">[a]|</p>", align(4),
       psmSetAlignment, "<p style=\"text-align:justify;color:red;\">[a]|</p>"},
      {"added to an inline style", "<p style=\"color: red\">[a]|</p>", align(3), psmSetAlignment,
       "<p style=\"text-align:right;color:red;\">[a]|</p>"},
  });
}

TEST(EditOperations, Tables) {
  const char* table = "<table><tr><td>a|</td><td>b</td></tr></table>";
  RunRows({
      {"row below", table, nullptr, psmTableInsertRowBelow,
       "<table><tr><td>a|</td><td>b</td></tr><tr><td></td><td></td></tr></table>"},
      {"row above", table, nullptr, psmTableInsertRowAbove,
       "<table><tr><td></td><td></td></tr><tr><td>a|</td><td>b</td></tr></table>"},
      {"column right", table, nullptr, psmTableInsertColumnRight,
       "<table><tr><td>a|</td><td></td><td>b</td></tr></table>"},
      {"column left", table, nullptr, psmTableInsertColumnLeft,
       "<table><tr><td></td><td>a|</td><td>b</td></tr></table>"},
      {"row deleted", "<table><tr><td>a|</td></tr><tr><td>b</td></tr></table>", nullptr, psmTableDeleteRow,
       "<table><tr><td>|b</td></tr></table>"},
      {"column deleted, the cursor into the next cell", table, nullptr, psmTableDeleteColumn,
       "<table><tr><td>|b</td></tr></table>"},
      {"the only column stays", "<table><tr><td>a|</td></tr></table>", nullptr, psmTableDeleteColumn,
       "<table><tr><td>a|</td></tr></table>"},
      {"pixel column resized: the next one gives the room",
       "<table><tr><td width=\"100\">a@M1@|</td><td width=\"50\">b</td></tr></table>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.Value = 0;    // column
         m.Value2 = 20;  // delta
         m.Value3 = 150;  // table width
       },
       psmTableResizeColumn,
       "<table><tr><td width=\"120\">a@M1@|</td><td width=\"30\">b</td></tr></table>"},
      {"percent column resized by the delta's share of the table",
       "<table><tr><td width=\"50%\">a@M1@|</td><td width=\"50%\">b</td></tr></table>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.Value = 0;
         m.Value2 = 40;
         m.Value3 = 400;
       },
       psmTableResizeColumn,
       "<table><tr><td width=\"60%\">a@M1@|</td><td width=\"40%\">b</td></tr></table>"},
      {"table of a percent width resized: (current + delta - fixed) of the available width",
       "<table width=\"20%\"><tr><td>a@M1@|</td></tr></table>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.Value = 100;   // delta
         m.Value2 = 300;  // current width
         m.Value3 = 40;   // fixed width
         m.Value4 = 720;  // available width
       },
       psmTableResize, "<table width=\"50%\"><tr><td>a@M1@|</td></tr></table>"},
      {"table of a pixel width grows by the delta", "<table width=\"300\"><tr><td>a@M1@|</td></tr></table>",
       [](Editing&, TpsMessage& m) {
         P(m, 1);
         m.Value = 50;
         m.Value2 = 300;
         m.Value3 = 0;
         m.Value4 = 800;
       },
       psmTableResize, "<table width=\"350\"><tr><td>a@M1@|</td></tr></table>"},
      {"cursor to a cell", table,
       [](Editing&, TpsMessage& m) {
         m.X = 1;
         m.Y = 0;
       },
       psmTableMoveToCell, "<table><tr><td>a</td><td>|b</td></tr></table>"},
      {"table deleted", "<p>x</p><table><tr><td>a|</td></tr></table><p>y</p>", nullptr, psmTableDelete,
       "<p>x</p><p>|y</p>"},
  });
}

TEST(EditOperations, ProtocolChecks) {
  // An edit operation without the content taken out fails its check.
  Editing e;
  e.Load("<p>a|</p>");
  auto text = e.Message(psmInsertText);
  text->WideText = u"x";
  EXPECT_THROW(e.Root->HandleMessage(*text), rtl::EAssertionFailed);
  EXPECT_THROW(e.Send(psmDeleteCharBefore), rtl::EAssertionFailed);
  // Taken out twice without a relayout.
  e.Send(psmExtractChunk);
  EXPECT_EQ(e.Root->ChildCount(), 0);
  EXPECT_THROW(e.Send(psmExtractChunk), rtl::EAssertionFailed);
  // No list around the cursor for 420, no table for the table rows.
  {
    auto m = e.Message(psmMarkListAtCursor);
    P(*m, 1);
    EXPECT_THROW(e.Root->HandleMessage(*m), rtl::EAssertionFailed);
  }
  EXPECT_THROW(e.Send(psmTableInsertRowBelow), rtl::EAssertionFailed);
  EXPECT_THROW(e.Send(psmTableDelete), rtl::EAssertionFailed);

  // Messages for another node, and of another kind, are not handled.
  auto other = TpsMessage::Create(mrCommand, psmInsertText, e.Root->GetRoot() == e.Root ? nullptr : e.Root);
  auto focused = TpsMessage::Create(mrFocused, psmRemoveMarker);
  e.Root->HandleMessage(*focused);
  EXPECT_FALSE(focused->IsHandled());

  // 560 lays out again after a clean-up of the cursor block, repaints and
  // places the caret; in image mode it leaves the caret.
  // Inserting text reads the blank and tab options.
  text->WideText = u"x";
  e.Host.Forget();
  e.Send(*text);
  EXPECT_EQ(e.Host.Reads, (std::vector<std::string>{"AllowMultipleSpaces", "TabStops"}));
  e.Host.Forget();
  e.Send(psmRelayout);
  EXPECT_EQ(e.Host.Calls,
            (std::vector<std::string>{"GetDC", "RequestRepaint", "ReleaseDC", "UpdateCaretPosition"}));
  // The new leaf takes the editor's cursor; the edit mode decides the caret.
  EXPECT_EQ(e.Host.Reads, (std::vector<std::string>{"Cursor", "EditMode"}));
  e.Send(psmExtractChunk);
  e.Host.Options["EditMode"] = emImage;
  e.Host.Forget();
  e.Send(psmRelayout);
  EXPECT_EQ(e.Host.Calls, (std::vector<std::string>{"GetDC", "RequestRepaint", "ReleaseDC"}));
  auto copy = e.Root->GetChunk(true);
  EXPECT_EQ(DumpFixture(*copy), "<p>ax|</p>");
}

TEST(EditOperations, CleanUpBeforeRelayout) {
  // Leading blanks, blank runs and empty inline pairs go from the cursor's
  // block only; an anchor stays.
  Editing e;
  e.Load("<p>  a   <b></b>b|<i> </i><a name=\"n\"></a></p><p>  c  </p>");
  e.Send(psmExtractChunk);
  e.Send(psmRelayout);
  auto copy = e.Root->GetChunk(true);
  EXPECT_EQ(DumpFixture(*copy), "<p>a b| <a name=\"n\"></a></p><p>  c  </p>");
}

TEST(EditOperations, DeleteSelectionClearsTheSelectionObject) {
  Editing e;
  e.Load("<p>a[b]|</p>");
  e.Send(psmExtractChunk);
  e.Host.Forget();
  e.Send(psmDeleteSelection);
  EXPECT_EQ(e.Host.Calls, std::vector<std::string>{"TextSelection.Clear"});
}

TEST(EditOperations, InvalidatedStylesAreAskedAgain) {
  Editing e;
  e.Load("<p class=\"note\">a|</p>");
  e.Send(psmExtractChunk);
  htmldoc::TpsHtmlTag* tag = e.Root->EditChunk->First()->Tag;
  EXPECT_EQ(tag->GetClassStyleId(), e.Host.Sheet.IndexOfStyle(".note"));
  EXPECT_NE(tag->CachedClassStyleId(), htmldoc::psStyleIdNotAsked);
  e.Send(psmInvalidateStyles);
  EXPECT_EQ(tag->CachedClassStyleId(), htmldoc::psStyleIdNotAsked);
}

}  // namespace

namespace {

// A whole editing command as the editor posts it: begin, take the content
// out, the command's own message (its parameters filled in after posting),
// relayout, the change and cursor notices, end; the queue runs once.
TEST(EditOperations, AWholeCommandThroughTheQueue) {
  FakeHost host;
  TpsWindowManager manager(&host.Canvas);
  manager.SetRootWindow(NewWindow<SmallRoot>(nullptr, &host));
  auto* root = static_cast<SmallRoot*>(manager.Root());
  root->LayoutChunk(*ReadFixture("<p>ab|</p>", host.Events));

  manager.PostMessage(TpsMessage::Create(mrCommand, psmBeginEdit));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmExtractChunk));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmInsertText));
  manager.GetLastPostedMessage()->WideText = u"cd";
  manager.PostMessage(TpsMessage::Create(mrCommand, psmRelayout));
  manager.PostMessage(std::make_unique<TpsNotifyDocumentChangeMsg>(htmldoc::dcSplitCurrentBlock, nullptr));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmDocumentChanged));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmCursorMoved));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmEndEdit));
  EXPECT_EQ(manager.QueuedCount(), 8);
  host.Forget();
  manager.ProcessMessages();
  EXPECT_EQ(manager.QueuedCount(), 0);
  EXPECT_EQ(host.Calls, (std::vector<std::string>{"GetDC", "RequestRepaint", "ReleaseDC", "UpdateCaretPosition",
                                                  "NotifyDocumentChange " + std::to_string(htmldoc::dcSplitCurrentBlock),
                                                  "NotifyDocumentChange " + std::to_string(htmldoc::dcUnknown),
                                                  "NotifyCursorMoved"}));
  EXPECT_FALSE(root->WindowFlags.GetFlag(wfContentTakenOut));
  EXPECT_EQ(root->Layouts, 2);
  EXPECT_EQ(DumpFixture(*root->GetChunk(true)), "<p>abcd|</p>");

  // A query the sender keeps is answered and left to it; the begin and end
  // of an edit are marked handled by the root.
  TpsMessage begin(mrCommand, psmBeginEdit, nullptr);
  begin.AutoFree = false;
  manager.PostAndProcess(begin);
  EXPECT_TRUE(begin.IsHandled());
}

}  // namespace

namespace {

// A page end to end: read by the document model's page parser (the
// editing-position comment places the cursor), edited by the editor's
// messages through the queue, written by the model's HTML writer with the
// cursor as that comment again.
TEST(EditOperations, APageReadEditedAndWrittenBack) {
  const char kEditingPosition[] = "<!-- editing position -->";
  FakeHost host;
  TpsWindowManager manager(&host.Canvas);
  manager.SetRootWindow(NewWindow<SmallRoot>(nullptr, &host));
  auto* root = static_cast<SmallRoot*>(manager.Root());
  {
    htmldoc::TpsHtmlParser parser(kEditingPosition);
    parser.TagEvents = host.Events;
    rtl::TStringStream page(
        "<html><head></head><body><p>one<!-- editing position --></p>"
        "<ul><li>a</li><li>b</li></ul></body></html>");
    htmldoc::TpsCharacterEncoding encoding = htmldoc::TpsCharacterEncoding::CreateFromCodePage(0);
    std::unique_ptr<TpsDataChunk> chunk = parser.Parse(page, encoding, false);
    ASSERT_TRUE(chunk);
    root->LayoutChunk(*chunk);
  }
  manager.PostMessage(TpsMessage::Create(mrCommand, psmBeginEdit));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmExtractChunk));
  manager.ProcessMessages();
  TpsDataChunk& content = *root->EditChunk;
  uint32_t b = 0;
  for (TpsChunkElement* e = content.First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && e->Char == u'b') b = e->Id;
  ASSERT_NE(b, 0u);

  // Typed text with a tab and a trailing blank at the cursor, then the
  // second list item indented under the first through a marker.
  manager.PostMessage(TpsMessage::Create(mrCommand, psmInsertText));
  manager.GetLastPostedMessage()->WideText = u" two\tthree";
  manager.PostMessage(TpsMessage::Create(mrCommand, psmInsertMarkerAtElement));
  manager.GetLastPostedMessage()->SetParam(1, 7);
  manager.GetLastPostedMessage()->ElementId = b;
  manager.PostMessage(TpsMessage::Create(mrCommand, psmIndentListItem));
  manager.GetLastPostedMessage()->SetParam(1, 7);
  manager.GetLastPostedMessage()->TagCode = htmldoc::TAG_OL;
  manager.PostMessage(TpsMessage::Create(mrCommand, psmRemoveMarker));
  manager.GetLastPostedMessage()->SetParam(1, 7);
  manager.PostMessage(TpsMessage::Create(mrCommand, psmRelayout));
  manager.PostMessage(TpsMessage::Create(mrCommand, psmEndEdit));
  manager.ProcessMessages();

  auto out = root->GetChunk(true);
  out->Check();
  const htmldoc::TpsCharacterEncoding utf8("utf-8");
  EXPECT_EQ(rtl::WideToUtf8(out->GetHtmlText(nullptr, nullptr, kEditingPosition, false, utf8)),
            "<html><head></head><body><p>one two&nbsp;&nbsp;&nbsp;&nbsp;three"
            "<!-- editing position --></p><ul><li>a<ol><li>b</li></ol></li></ul></body></html>");
}

}  // namespace
