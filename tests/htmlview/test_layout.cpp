// Page layout on the fake-metrics canvas (8 pixels a character, 10 up and
// 3 down): blocks, lines, words, alignment and the edge cases of each, in
// exact numbers.
#include <gtest/gtest.h>

#include "LayoutFixture.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

std::vector<TpsTextNode*> Lines(TpsWindow* aNode) {
  std::vector<TpsTextNode*> lines;
  for (TpsWindow* c : aNode->ChildList()) {
    if (auto* line = dynamic_cast<TpsTextNode*>(c)) lines.push_back(line);
    for (TpsTextNode* l : Lines(c)) lines.push_back(l);
  }
  return lines;
}

std::vector<std::string> LineTexts(TpsWindow* aNode) {
  std::vector<std::string> texts;
  for (TpsTextNode* l : Lines(aNode)) texts.push_back(LineText(l));
  return texts;
}

// The x of each text item of a line, relative to the line.
std::vector<Integer> ItemXs(TpsTextNode* aLine) {
  std::vector<Integer> xs;
  for (Integer i = 0; i < aLine->Items().Count(); ++i) xs.push_back(aLine->Items().GetItem(i).X);
  return xs;
}

TEST(TextLayout, WordsBreakBetweenWordsAndInsideOnlyWordsThatFitNoLine) {
  struct Case {
    const char* Name;
    Integer Width;
    std::string Html;
    std::vector<std::string> Lines;
  } cases[] = {
      // 10 characters a line at 80 pixels.
      {"fits", 80, "<p>aaa bbb</p>", {"aaa bbb"}},
      {"wraps before a word that does not fit", 80, "<p>aaa bbb ccc</p>", {"aaa bbb ", "ccc"}},
      {"a leading blank of a line is kept in it", 48, "<p>aaa bbb ccc</p>", {"aaa ", "bbb ", "ccc"}},
      {"a word that fits no line breaks at the overflowing character", 80, "<p>abcdefghijklmn</p>",
       {"abcdefghij", "klmn"}},
      {"a shorter word that does not fit moves on whole", 80, "<p>ab abcdefghi</p>", {"ab ", "abcdefghi"}},
      {"a break ends the line", 400, "<p>one<br>two</p>", {"one|", "two"}},
      {"two breaks leave an empty line", 400, "<p>one<br><br>two</p>", {"one|", "|", "two"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page(c.Width, 300);
    page.Load("<html><body>" + c.Html + "</body></html>");
    EXPECT_EQ(LineTexts(page.Body), c.Lines);
  }
}

TEST(TextLayout, MaxWordWidthBreaksLongWordsInsideEvenWhenTheyWouldFitTheBlock) {
  LayoutPage page(400, 300);
  page.Host.Options["MaxWordWidth"] = 40;
  page.Load("<html><body><p>ab abcdefghijkl</p></body></html>");
  // "abcdefghijkl" is 96 wide, over 40: broken where it overflows the line.
  EXPECT_EQ(LineTexts(page.Body), (std::vector<std::string>{"ab abcdefghijkl"}));
  page.Host.Options["MaxWordWidth"] = 300;
  LayoutPage narrow(64, 300);
  narrow.Host.Options["MaxWordWidth"] = 40;
  narrow.Load("<html><body><p>ab abcdefghijkl</p></body></html>");
  // 8 characters a line: the word starts after "ab " and is cut where it
  // overflows, as it is wider than MaxWordWidth.
  EXPECT_EQ(LineTexts(narrow.Body), (std::vector<std::string>{"ab abcde", "fghijkl"}));
}

TEST(TextLayout, ACharacterWiderThanTheBlockGetsALineOfItsOwn) {
  LayoutPage page(6, 300);
  page.Load("<html><body><p>ab c</p></body></html>");
  // Each forced character ends its line; the blank after "b" opens the
  // third line and takes no room there.
  EXPECT_EQ(LineTexts(page.Body), (std::vector<std::string>{"a", "b", " c"}));
  std::vector<TpsTextNode*> lines = Lines(page.Body);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(ItemXs(lines[2]), (std::vector<Integer>{0}));
}

TEST(TextLayout, AlignmentPlacesTheItems) {
  // 100 pixels wide; "ab cd" is 40 wide with one 8-pixel gap.
  struct Case {
    const char* Align;
    std::vector<Integer> Xs;
  } cases[] = {
      {"left", {0, 8, 24, 32}},
      {"center", {30, 38, 54, 62}},
      {"right", {60, 68, 84, 92}},
      // One line only: it is the block's last line and stays left.
      {"justify", {0, 8, 24, 32}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Align);
    LayoutPage page(100, 300);
    page.Load("<html><body><p class=\"x\">ab cd</p></body></html>",
              std::string(".x { text-align: ") + c.Align + "; }");
    std::vector<TpsTextNode*> lines = Lines(page.Body);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(ItemXs(lines[0]), c.Xs);
  }
}

TEST(TextLayout, JustifiedLinesSpreadExceptTheLastAndLinesEndingInABreakStaySpread) {
  LayoutPage page(100, 300);
  page.Load("<html><body><p class=\"j\">aa bb cc dd ee ff<br>gg hh</p></body></html>",
            ".j { text-align: justify; }");
  std::vector<TpsTextNode*> lines = Lines(page.Body);
  ASSERT_EQ(lines.size(), 3u);
  // "aa bb cc dd " (4 words, 64 wide): gap (100 - 64) / 3 = 12; the last word
  // ends at 100.
  EXPECT_EQ(ItemXs(lines[0]), (std::vector<Integer>{0, 8, 28, 36, 56, 64, 84, 92}));
  // "ee ff|": not the block's last line, justified: 2 words, gap 100 - 32.
  EXPECT_EQ(ItemXs(lines[1]), (std::vector<Integer>{0, 8, 84, 92}));
  // The last line stays left.
  EXPECT_EQ(ItemXs(lines[2]), (std::vector<Integer>{0, 8, 24, 32}));
}

TEST(TextLayout, SpacingAndLineHeight) {
  LayoutPage page(400, 300);
  page.Load("<html><body><p class=\"w\">ab cd</p><p class=\"s\">abc de</p><p class=\"h\">x</p></body></html>",
            ".w { word-spacing: 5px; } .s { letter-spacing: 2px; } .h { line-height: 30px; }");
  std::vector<TpsTextNode*> lines = Lines(page.Body);
  ASSERT_EQ(lines.size(), 3u);
  // Word spacing widens the gap: 8 + 5.
  EXPECT_EQ(ItemXs(lines[0]), (std::vector<Integer>{0, 8, 29, 37}));
  // Letter spacing between the letters of a word; the gap is 8 + 2 x 2.
  EXPECT_EQ(ItemXs(lines[1]), (std::vector<Integer>{0, 10, 20, 40, 50}));
  // A taller line keeps the text in its middle: g = 30 - 13, top gap 8.
  EXPECT_EQ(lines[2]->Height, 30);
  EXPECT_EQ(lines[2]->Items().GetItem(0).Y, 8);
}

TEST(TextLayout, RelativePositionOffsetsTheCharactersVertically) {
  LayoutPage page(400, 300);
  page.Load("<html><body><p>a <span class=\"up\">b</span> c</p></body></html>",
            ".up { position: relative; top: 4px; }");
  std::vector<TpsTextNode*> lines = Lines(page.Body);
  ASSERT_EQ(lines.size(), 1u);
  const TpsLineObjects& items = lines[0]->Items();
  ASSERT_EQ(items.Count(), 3);
  // The line grows by the largest offset, the text stands in its middle and
  // the offset character 4 pixels below the others.
  EXPECT_EQ(lines[0]->Height, 17);
  EXPECT_EQ(items.GetItem(0).Y, 2);
  EXPECT_EQ(items.GetItem(1).Y, 6);
  EXPECT_EQ(items.GetItem(2).Y, 2);
}

TEST(TextLayout, EmptyParagraphHasALineOneTextHeightHighWithItsCaretAtTheAlignedPlace) {
  struct Case {
    const char* Align;
    TpsRect Caret;
  } cases[] = {
      {"left", {0, 0, 1, 12}},
      {"center", {50, 0, 51, 12}},
      {"right", {100, 0, 101, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Align);
    LayoutPage page(100, 300);
    page.Load("<html><body><p class=\"x\"></p></body></html>", std::string(".x { text-align: ") + c.Align + "; }");
    std::vector<TpsTextNode*> lines = Lines(page.Body);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0]->HasText());
    EXPECT_EQ(lines[0]->Height, 13);
    const TpsRect caret = lines[0]->EmptyLineCaret();
    EXPECT_EQ(caret.Left, c.Caret.Left);
    EXPECT_EQ(caret.Top, c.Caret.Top);
    EXPECT_EQ(caret.Right, c.Caret.Right);
    EXPECT_EQ(caret.Bottom, c.Caret.Bottom);
  }
}

TEST(TextLayout, TextTransformIsMeasuredAndDrawnPerCharacter) {
  EXPECT_EQ(TpsTextNode::TransformCharacter(u'a', 1), u'A');
  EXPECT_EQ(TpsTextNode::TransformCharacter(u'\u00E9', 1), u'\u00C9');
  EXPECT_EQ(TpsTextNode::TransformCharacter(u'Q', 2), u'q');
  // Capitalize and none leave it; a surrogate half is never mapped.
  EXPECT_EQ(TpsTextNode::TransformCharacter(u'a', 3), u'a');
  EXPECT_EQ(TpsTextNode::TransformCharacter(u'a', 0), u'a');
  EXPECT_EQ(TpsTextNode::TransformCharacter(0xD83D, 1), 0xD83D);
  // One unit to one: the sharp s would become two letters and stays.
  EXPECT_EQ(TpsTextNode::TransformCharacter(u'\u00DF', 1), u'\u00DF');
}

TEST(TextLayout, ASurrogatePairIsOneCharacter) {
  LayoutPage page(400, 300);
  page.Load("<html><body><p>a\xF0\x9F\x98\x80" "b</p></body></html>");
  std::vector<TpsTextNode*> lines = Lines(page.Body);
  ASSERT_EQ(lines.size(), 1u);
  const TpsLineObjects& items = lines[0]->Items();
  ASSERT_EQ(items.Count(), 4);
  // The pair's advance is on its first unit; the second takes none.
  EXPECT_EQ(items.GetItem(1).Width, 8);
  EXPECT_EQ(items.GetItem(2).Width, 0);
  EXPECT_EQ(ItemXs(lines[0]), (std::vector<Integer>{0, 8, 16, 16}));
}

TEST(BlockLayout, TopLevelCharactersAreDroppedAndInlinePairsInTheBodyFlowAsLines) {
  LayoutPage page(400, 300);
  page.Load("<html><body>stray<b>bold</b><p>para</p></body></html>");
  // A line ends only before list and table tags: the paragraph's tags
  // that follow the inline run are passed over like other tags.
  EXPECT_EQ(LineTexts(page.Body), (std::vector<std::string>{"boldpara"}));
  EXPECT_EQ(page.Body->ChildCount(), 1);
}

TEST(BlockLayout, BoxMetricsPlaceChildrenInsideMarginBorderAndPadding) {
  LayoutPage page(200, 300);
  page.Load("<html><body><div class=\"b\"><p class=\"i\">x</p></div><p class=\"i\">y</p></body></html>",
            ".b { margin: 10px; border: 3px solid blue; padding: 5px; } "
            ".i { margin: 0px; border-style: none; padding: 0px; }");
  TpsWindow* div = page.Body->Child(0);
  EXPECT_EQ(div->GetAbsoluteRect(), (TpsRect{0, 0, 199, 48}));
  TpsWindow* inner = div->Child(0);
  EXPECT_EQ(inner->GetAbsoluteRect(), (TpsRect{18, 18, 181, 30}));
  // The next block starts below the div's bottom margin.
  EXPECT_EQ(page.Body->Child(1)->GetAbsoluteRect().Top, 49);
}

TEST(BlockLayout, BodyPlacementByPageStyle) {
  struct Case {
    const char* Name;
    std::map<std::string, Integer> Options;
    TpsRect Bounds;
  } cases[] = {
      {"memo style fills the client area", {{"MemoStyle", 1}}, {0, 0, 599, 399}},
      {"a page is centred, 90 % of the client height", {{"MemoStyle", 0}, {"DocumentWidth", 500}}, {50, 20, 549, 379}},
      {"a page wider than the control starts left of it",
       {{"MemoStyle", 0}, {"DocumentWidth", 700}},
       {-50, 20, 649, 379}},
      {"print preview: the page less its margins",
       {{"IsPrintPreview", 1}, {"PageWidth", 1000}},
       {200, 100, 799, 459}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FakeHost host;
    host.Options["ClientWidth"] = 600;
    host.Options["ClientHeight"] = 400;
    for (const auto& [k, v] : c.Options) host.Options[k] = v;
    auto body = NewWindow<TpsBodyNode>(&host);
    EXPECT_EQ(body->GetAbsoluteRect(), c.Bounds);
  }
}

TEST(BlockLayout, ContentNoNodeTakesFailsTheLayout) {
  LayoutPage page(200, 300);
  EXPECT_NO_THROW(page.Load("<html><body><p>a</p></body></html>"));
  // A stray closing list tag inside a paragraph is passed over like any
  // other tag: layout ends.
  LayoutPage stray(200, 300);
  EXPECT_NO_THROW(stray.Load("<html><body><p>a</li>b</p></body></html>"));
  EXPECT_EQ(LineTexts(stray.Body), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
