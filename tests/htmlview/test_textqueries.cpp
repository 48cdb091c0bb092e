// A text line's answers to the queries of kind 2 that need no geometry, on
// a laid-out page: itself, its parent, its alignment, the list around it
// (ordered or not, top level or nested, holding a list), the table around
// it, its widest character, its selected characters and dropping its
// cursor.
#include <gtest/gtest.h>

#include "LayoutFixture.h"
#include "htmledit/view/psTableNodes.h"
#include "htmledit/view/psTextQueries.h"

namespace {

using namespace htmlview;

void CollectLines(TpsWindow* w, std::vector<TpsTextNode*>& aLines) {
  if (auto* line = dynamic_cast<TpsTextNode*>(w)) aLines.push_back(line);
  for (TpsWindow* c : w->ChildList())
    if (!c->WindowFlags.GetFlag(wfFloating)) CollectLines(c, aLines);
}

std::vector<TpsTextNode*> Lines(TpsWindow* aRoot) {
  std::vector<TpsTextNode*> lines;
  CollectLines(aRoot, lines);
  return lines;
}

struct Answer {
  bool handled = false;
  bool result = false;
  TpsMessagePtr message;
};

Answer Ask(TpsTextNode* aLine, Integer aId) {
  Answer a;
  a.message = TpsMessage::Create(mrCommand, aId);
  a.handled = AnswerTextLineQuery(*aLine, *a.message);
  a.result = a.message->Result;
  return a;
}

TEST(TextQueries, ListsTablesAndTheLineItself) {
  htmlview::testing::LayoutPage page(600, 400);
  TpsBodyNode* body = page.Load(
      "<html><body><p style=\"text-align: center\">Wide</p>"
      "<ol><li>one<ul><li>inner</li></ul></li></ol>"
      "<table><tr><td>cell</td></tr></table></body></html>");
  std::vector<TpsTextNode*> lines = Lines(body);
  ASSERT_EQ(lines.size(), 4u);
  TpsTextNode *wide = lines[0], *one = lines[1], *inner = lines[2], *cell = lines[3];

  Answer a = Ask(wide, psmQueryTextNode);
  EXPECT_TRUE(a.handled);
  EXPECT_EQ(a.message->Answer, wide);
  a = Ask(wide, psmQueryParentNode);
  EXPECT_EQ(a.message->Answer, wide->GetParent());
  EXPECT_EQ(Ask(wide, psmQueryAlignment).message->Alignment, 2);

  struct ListCase {
    TpsTextNode* line;
    bool inList;
    Byte code;
    bool topLevel, holdsList;
  };
  for (const ListCase& c : std::vector<ListCase>{{wide, false, htmldoc::TAG_UNKNOWN, false, false},
                                                 {one, true, htmldoc::TAG_OL, true, true},
                                                 {inner, true, htmldoc::TAG_UL, false, false},
                                                 {cell, false, htmldoc::TAG_UNKNOWN, false, false}}) {
    SCOPED_TRACE(htmlview::testing::LineText(c.line));
    Answer kind = Ask(c.line, psmQueryListKind);
    EXPECT_TRUE(kind.handled);
    EXPECT_EQ(kind.result, c.inList);
    EXPECT_EQ(kind.message->TagCode, c.code);
    EXPECT_EQ(Ask(c.line, psmQueryInTopLevelList).result, c.topLevel);
    EXPECT_EQ(Ask(c.line, psmQueryInList).result, c.holdsList);
  }

  Answer table = Ask(cell, psmQueryTable);
  EXPECT_TRUE(table.result);
  EXPECT_NE(dynamic_cast<TpsTableNode*>(table.message->Answer), nullptr);
  table = Ask(wide, psmQueryTable);
  EXPECT_TRUE(table.handled);
  EXPECT_FALSE(table.result);
  EXPECT_EQ(table.message->Answer, nullptr);

  // The fake metrics give every character 8 pixels; a larger value stays.
  Answer width = Ask(cell, psmQueryMinContentWidth);
  EXPECT_EQ(width.message->Value, 8);
  auto m = TpsMessage::Create(mrCommand, psmQueryMinContentWidth);
  m->Value = 20;
  AnswerTextLineQuery(*cell, *m);
  EXPECT_EQ(m->Value, 20);
}

TEST(TextQueries, SelectedTextAndTheCursor) {
  htmlview::testing::LayoutPage page(600, 400);
  TpsBodyNode* body = page.Load("<html><body><p>abcd</p><p>efgh</p></body></html>");
  std::vector<TpsTextNode*> lines = Lines(body);
  ASSERT_EQ(lines.size(), 2u);
  // Select "cd" and "ef" across the two lines; put a cursor in the first.
  htmldoc::TpsDataChunk* first = lines[0]->GetLineChunk();
  htmldoc::TpsDataChunk* second = lines[1]->GetLineChunk();
  Integer n = 0;
  for (auto* e = first->First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && n++ >= 2) e->Selected = true;
  n = 0;
  for (auto* e = second->First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && n++ < 2) e->Selected = true;
  first->AddElement(htmldoc::NewCursorElement());
  // Every line adds its part and leaves the message to the next one.
  auto m = TpsMessage::Create(mrCommand, psmGetSelectedText);
  for (TpsTextNode* line : lines) EXPECT_FALSE(AnswerTextLineQuery(*line, *m));
  EXPECT_EQ(m->WideText, u"cdef");

  EXPECT_TRUE(first->HasCursor());
  auto remove = TpsMessage::Create(mrCommand, psmRemoveCursor);
  AnswerTextLineQuery(*lines[0], *remove);
  EXPECT_FALSE(first->HasCursor());
  first->Check();
}

}  // namespace
