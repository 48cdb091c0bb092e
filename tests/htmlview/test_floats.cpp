// Images in the text layout: inline images sized from the tag and placed
// on the line, floated images docked by the line that meets them and
// placed beside it or at the first free place below it, and blocks that
// clear them.
#include <gtest/gtest.h>

#include "LayoutFixture.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

std::vector<TpsRect> FloatRects(TpsBodyNode* aBody) {
  std::vector<TpsRect> rects;
  for (TpsWindow* f : aBody->FloatingWindows()) rects.push_back(f->GetAbsoluteRect());
  return rects;
}

TpsTextNode* FirstLine(TpsWindow* aNode) {
  for (TpsWindow* c : aNode->ChildList()) {
    if (auto* line = dynamic_cast<TpsTextNode*>(c)) return line;
    if (TpsTextNode* l = FirstLine(c)) return l;
  }
  return nullptr;
}

TEST(FloatedImages, PlacesBesideOrBelowTheLine) {
  struct Case {
    const char* Name;
    std::string Html;
    std::vector<TpsRect> Floats;
  } cases[] = {
      {"a right float at the start of a paragraph sits at its right edge at the top of the first line",
       "<p><img src=\"a\" align=\"right\" width=\"60\" height=\"40\">text</p>",
       {{340, 0, 399, 39}}},
      {"a left float met after text goes below that line at the block's left edge",
       "<p>text <img src=\"a\" align=\"left\" width=\"50\" height=\"20\">more</p>",
       {{0, 13, 49, 32}}},
      {"two left floats sit side by side; a third too wide for what is left goes below them",
       "<p><img src=\"a\" align=\"left\" width=\"100\" height=\"30\"><img src=\"b\" align=\"left\" width=\"100\" "
       "height=\"30\"><img src=\"c\" align=\"left\" width=\"250\" height=\"30\">x</p>",
       {{0, 0, 99, 29}, {100, 0, 199, 29}, {0, 30, 249, 59}}},
      {"a left float after text goes right of an earlier left float that still reaches that height",
       "<p><img src=\"a\" align=\"left\" width=\"100\" height=\"40\">text <img src=\"b\" align=\"left\" width=\"50\" "
       "height=\"10\">more</p>",
       {{0, 0, 99, 39}, {100, 13, 149, 22}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page(400, 300);
    page.Load("<html><body>" + c.Html + "</body></html>");
    EXPECT_EQ(FloatRects(page.Body), c.Floats);
  }
}

TEST(FloatedImages, LinesNarrowBesideFloatsAndTheRootCoversThem) {
  LayoutPage page(400, 300);
  page.Load("<html><body><p><img src=\"a\" align=\"right\" width=\"60\" height=\"40\">"
            "one two three four five six seven eight nine ten eleven twelve thirteen</p></body></html>");
  std::vector<TpsTextNode*> lines;
  for (TpsWindow* c : page.Body->Child(0)->ChildList()) lines.push_back(dynamic_cast<TpsTextNode*>(c));
  ASSERT_GE(lines.size(), 2u);
  // The first line docked the float and keeps its full width, its words
  // left of the float; the second is narrowed beside it.
  for (Integer i = 0; i < lines[0]->Items().Count(); ++i) {
    const TpsLineItem& item = lines[0]->Items().GetItem(i);
    EXPECT_LE(item.X + item.Width, 340);
  }
  EXPECT_EQ(lines[1]->GetAbsoluteRect(), (TpsRect{0, 13, 339, 25}));
  // The root's height covers the float below the text.
  EXPECT_EQ(page.Body->Height, 40);
}

TEST(FloatedImages, AFloatWithNoPlaceInsideTheBlockStaysAtItsProvisionalPlace) {
  LayoutPage page(100, 300);
  page.Host.Options["DownsizingEnabled"] = 0;
  page.Load("<html><body><p>ab <img src=\"a\" align=\"left\" width=\"150\" height=\"10\">cd</p></body></html>");
  EXPECT_EQ(FloatRects(page.Body), (std::vector<TpsRect>{{0, 0, 149, 9}}));
}

TEST(FloatedImages, ClearMovesABlockBelowTheLowerOfTheFloatsItClears) {
  struct Case {
    const char* Clear;
    Integer Top;
  } cases[] = {{"none", 13}, {"left", 60}, {"right", 90}, {"both", 90}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Clear);
    LayoutPage page(400, 300);
    page.Load("<html><body><p><img src=\"a\" align=\"left\" width=\"80\" height=\"60\"><img src=\"b\" align=\"right\" "
              "width=\"80\" height=\"90\">x</p><p class=\"c\">y</p></body></html>",
              std::string(".c { clear: ") + c.Clear + "; }");
    TpsWindow* second = TpsBodyNode::GetNextFlowSibling(page.Body, page.Body->Child(0));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->GetAbsoluteTop(), c.Top);
  }
}

TEST(InlineImages, SizedFromTheTagAndTheGraphic) {
  struct Case {
    const char* Name;
    std::string Attributes;
    Integer GraphicWidth, GraphicHeight;  // 0: no picture
    Integer Width, Height;
  } cases[] = {
      {"no size and no picture: 50 by 50", "", 0, 0, 50, 50},
      {"width 200 of a 400 by 300 picture", " width=\"200\"", 400, 300, 200, 150},
      {"height 60 of a 400 by 300 picture", " height=\"60\"", 400, 300, 80, 60},
      {"no size: the picture's own", "", 40, 30, 40, 30},
      {"both given", " width=\"7\" height=\"9\"", 400, 300, 7, 9},
      {"a picture with a zero side is a missing one", " width=\"20\"", 0, 10, 20, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page(400, 300);
    TpsImageCache cache;
    page.Host.Images = &cache;
    if (c.GraphicWidth > 0 || c.GraphicHeight > 0) {
      auto bitmap = std::make_unique<vcl::TBitmap>();
      bitmap->SetSize(c.GraphicWidth, c.GraphicHeight);
      cache.AddImage("pic", std::move(bitmap), nullptr);
    }
    page.Load("<html><body><p>a <img src=\"pic\"" + c.Attributes + "></p></body></html>");
    TpsTextNode* line = FirstLine(page.Body);
    ASSERT_TRUE(line);
    ASSERT_EQ(line->Items().ObjectCount(), 1);
    const TpsLineItem& item0 = line->Items().GetItem(line->Items().IndexOfKind(loObject, 0));
    const TpsLineItem* item = &item0;
    EXPECT_EQ(item->Width, c.Width);
    EXPECT_EQ(item->Height, c.Height);
    page.Manager.SetRootWindow(nullptr);
  }
}

TEST(InlineImages, AnImageWiderThanTheBlockIsDownsizedAndTheElementComesBackWhole) {
  LayoutPage page(400, 300);
  page.Load("<html><body><p>a <img src=\"z\" width=\"500\" height=\"50\"> b</p></body></html>");
  TpsWindow* paragraph = page.Body->Child(0);
  ASSERT_EQ(paragraph->ChildCount(), 3);
  auto* line = dynamic_cast<TpsTextNode*>(paragraph->Child(1));
  ASSERT_TRUE(line);
  const TpsLineItem& item0 = line->Items().GetItem(line->Items().IndexOfKind(loObject, 0));
    const TpsLineItem* item = &item0;
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Width, 400);
  EXPECT_EQ(item->Height, 40);
  auto* image = dynamic_cast<TpsImageNode*>(item->Node->GetImageNode());
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->Downsized);
  // The line holds a placeholder; asked for its list it gives the img tag
  // back, once, and the root's list holds each element once.
  std::unique_ptr<htmldoc::TpsDataChunk> copy = page.Body->GetChunk(true);
  Integer images = 0, placeholders = 0;
  for (const htmldoc::TpsChunkElement* e = copy->First(); e; e = e->Next) {
    if (htmldoc::TpsDataChunk::IsImageTag(e)) ++images;
    if (e->Kind == htmldoc::ceNode) ++placeholders;
  }
  EXPECT_EQ(images, 1);
  EXPECT_EQ(placeholders, 0);
  copy->Check();
}

TEST(InlineImages, GetChunkOfTheWholeTreeGivesEveryElementBackOnceWithFloats) {
  LayoutPage page(400, 300);
  const std::string html =
      "<html><body><p><img src=\"a\" align=\"right\" width=\"60\" height=\"40\">one <img src=\"b\"> two</p>"
      "<p>x <img src=\"c\" align=\"left\" width=\"20\" height=\"20\">y</p></body></html>";
  page.Load(html);
  std::unique_ptr<htmldoc::TpsDataChunk> taken = page.Body->GetChunk(false);
  taken->AppendCopyOf(*page.Rest);
  taken->Check();
  std::unique_ptr<htmldoc::TpsDataChunk> fresh = ParsePage(html, page.Host.Events);
  EXPECT_EQ(taken->GetDebugText(), fresh->GetDebugText());
}

}  // namespace
