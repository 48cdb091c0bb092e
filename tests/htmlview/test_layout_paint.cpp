// Painting a laid-out page on the fake-metrics canvas: block backgrounds,
// floats over the flow, selected words white on the highlight colour.
#include <gtest/gtest.h>

#include "LayoutFixture.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

void PaintPage(LayoutPage& aPage) {
  aPage.Host.Canvas.BeginPaint(&aPage.Fake);
  aPage.Body->Paint(aPage.Host.Canvas, true);
  aPage.Host.Canvas.EndPaint();
}

vcl::TColor PixelAt(LayoutPage& aPage, Integer aX, Integer aY) {
  const QRgb rgb = aPage.Fake.Bitmap()->Pixels().pixel(aX, aY);
  return vcl::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

TEST(LayoutPaint, BackgroundsFloatsAndSelection) {
  LayoutPage page(200, 100);
  page.Load("<html><body><div class=\"y\"><p><img src=\"a\" align=\"right\" width=\"40\" height=\"30\">ab cd</p></div>"
            "</body></html>",
            ".y { background-color: #FFFF00; }");
  // The second word selected.
  TpsTextNode* line = dynamic_cast<TpsTextNode*>(page.Body->Child(0)->Child(0)->Child(0));
  ASSERT_TRUE(line);
  for (htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && (e->Char == u'c' || e->Char == u'd')) e->Selected = true;
  PaintPage(page);
  page.Fake.Bitmap()->Pixels().save("layout_paint.png");
  const vcl::TColor yellow = vcl::RGB(255, 255, 0);
  // The block's background around the text.
  EXPECT_EQ(PixelAt(page, 100, 5), yellow);
  // The first word's glyph boxes in the font colour on the yellow.
  EXPECT_EQ(PixelAt(page, 2, 5), vcl::clBlack);
  EXPECT_EQ(PixelAt(page, 7, 5), yellow);
  // The selected word: its cell in the highlight colour, its glyphs white.
  const TColor highlight = 0x6A240A;
  EXPECT_EQ(PixelAt(page, 31, 5), highlight);
  EXPECT_EQ(PixelAt(page, 26, 5), vcl::clWhite);
  // The float is painted after the flow: its placeholder covers the
  // block's background (button face inside a black frame).
  EXPECT_EQ(PixelAt(page, 160, 0), vcl::clBlack);
  EXPECT_NE(PixelAt(page, 170, 10), yellow);
}

}  // namespace

namespace {

using namespace htmlview;
using namespace htmlview::testing;

// Written to table_paint.png in the build folder.
TEST(LayoutPaint, ATableWithItsBackgroundAndVirtualBorders) {
  LayoutPage page(200, 60);
  page.Load("<html><body><table bgcolor=\"#00FF00\" cellspacing=\"4\"><tr><td>ab</td><td class=\"c\">cd</td></tr>"
            "</table></body></html>",
            ".c { background-color: #FFFF00; }");
  PaintPage(page);
  page.Fake.Bitmap()->Pixels().save("table_paint.png");
  const std::map<vcl::TColor, char> key{{vcl::RGB(0, 255, 0), 'g'}, {vcl::RGB(255, 255, 0), 'y'},
                                        {vcl::clBlack, 'k'}, {vcl::clWhite, '.'}, {vcl::clGray, 'r'}};
  const auto row = [&](Integer y, Integer x0, Integer x1) { return PixelRows(*page.Fake.Bitmap(), {x0, y, x1, y + 1}, key); };
  // The table's own frame: grey dashes of three over the page, the
  // table's background inside it, the spacing of 4 around the cells.
  EXPECT_EQ(row(0, 0, 12), "rrr...rrr...");
  EXPECT_EQ(row(2, 0, 8), "rggggggg");
  // Each cell framed by its own dashed border, 4 pixels in; the text's
  // glyph boxes inside the first cell on the table's green, the second
  // cell on its class's yellow.
  EXPECT_EQ(row(5, 0, 14), ".ggggrrrgggrrr");
  EXPECT_EQ(row(6, 0, 22), "rggggrkkkkkkkgkkkkkkkg");
  EXPECT_EQ(row(6, 100, 125), "ggrkkkkkkkykkkkkkkyyyyyyy");
  EXPECT_EQ(row(24, 0, 12), "rrr...rrr...");
}

}  // namespace

namespace {

using namespace htmlview;
using namespace htmlview::testing;

// A 2 by 2 tile: red, green on top, blue, yellow below.
std::unique_ptr<vcl::TBitmap> Tile() {
  auto tile = std::make_unique<vcl::TBitmap>(2, 2);
  tile->Canvas()->SetPixels(0, 0, vcl::clRed);
  tile->Canvas()->SetPixels(1, 0, vcl::RGB(0, 255, 0));
  tile->Canvas()->SetPixels(0, 1, vcl::clBlue);
  tile->Canvas()->SetPixels(1, 1, vcl::RGB(255, 255, 0));
  return tile;
}

// Written to background_tiles.png in the build folder.
TEST(LayoutPaint, BackgroundImagesAreTiled) {
  const std::map<vcl::TColor, char> key{{vcl::clRed, 'r'},   {vcl::RGB(0, 255, 0), 'g'}, {vcl::clBlue, 'b'},
                                        {vcl::RGB(255, 255, 0), 'y'}, {vcl::clWhite, '.'},  {vcl::clBlack, '#'},
                                        {vcl::RGB(0, 128, 128), 't'}};
  struct Case {
    const char* Name;
    const char* Html;
    const char* Css;
    vcl::TRect Area;
    const char* Rows;
  } cases[] = {
      {"the body's tiles from its top-left corner, through a paragraph without a background of its own",
       "<p>ab</p>", "body { background-image: url(tile.png) } p { background-image: none }", vcl::Rect(16, 7, 22, 13),
       "bybyby|rgrgrg|bybyby|rgrgrg|bybyby|rgrgrg"},
      {"a div's tiles from its padding box, inside its margin and border",
       "<div class=\"t\">ab</div>",
       ".t { margin: 3px; border: 1px solid #000000; background-image: url(tile.png) }", vcl::Rect(30, 2, 36, 8),
       "......|######|rgrgrg|bybyby|rgrgrg|bybyby"},
      {"a picture with a zero side is not tiled: the colour shows",
       "<div class=\"t\">ab</div>",
       ".t { background-color: #008080; background-image: url(empty.png) }", vcl::Rect(20, 0, 24, 2),
       "tttt|tttt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TpsImageCache cache;
    cache.AddImage("tile.png", Tile(), nullptr);
    cache.AddImage("empty.png", std::make_unique<vcl::TBitmap>(0, 5), nullptr);
    {
      LayoutPage page(60, 40);
      page.Host.Images = &cache;
      page.Load(std::string("<html><body>") + c.Html + "</body></html>", c.Css);
      PaintPage(page);
      if (c.Rows[0] == 'b') page.Fake.Bitmap()->Pixels().save("background_tiles.png");
      EXPECT_EQ(PixelRows(*page.Fake.Bitmap(), c.Area, key), c.Rows);
      TpsImageCacheElement tile;
      ASSERT_TRUE(cache.FindBySource("tile.png", tile));
      // One use per block that shows it, held while the view lives.
      EXPECT_GE(tile.UseCount, c.Rows[0] == 't' ? 0 : 1);
    }
    TpsImageCacheElement tile;
    ASSERT_TRUE(cache.FindBySource("tile.png", tile));
    EXPECT_EQ(tile.UseCount, 0);
  }
}

}  // namespace

#include "htmledit/control/psSmartTags.h"

namespace {

using namespace htmlview;
using namespace htmlview::testing;

TpsTextNode* FirstTextLine(TpsWindow* aRoot) { return static_cast<TpsTextNode*>(FollowingTextNode(aRoot)); }

const std::map<vcl::TColor, char> kShapeKey{{vcl::clWhite, '.'}, {vcl::clBlack, '#'}, {vcl::clRed, 'r'}};

TEST(LayoutPaint, BulletsAreShapesInTheirMeasuredBox) {
  struct Case {
    const char* Name;
    const char* Type;
    const char* Rows;
  } cases[] = {
      {"a disc for the default type", "disc", ".......|..###..|.#####.|.#####.|.#####.|..###..|......."},
      {"a disc for circle too", "circle", ".......|..###..|.#####.|.#####.|.#####.|..###..|......."},
      {"a square", "square", ".......|.#####.|.#####.|.#####.|.#####.|.#####.|......."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    LayoutPage page(120, 40);
    page.Load("<html><body><ul><li>ab</li></ul></body></html>",
              std::string("ul { padding-left: 20px; list-style-type: ") + c.Type + " } li { padding-left: 0px }");
    PaintPage(page);
    // The marker's box: 8 by 13 on the fake metrics, 9 pixels left of the
    // text and 2 lower; the shape 5 pixels across in its middle.
    TpsTextNode* line = FirstTextLine(page.Body);
    ASSERT_TRUE(line);
    const Integer x = line->GetAbsoluteLeft() + line->Items().GetItem(0).X - 8 - 9;
    const Integer y = line->GetAbsoluteTop() + 2;
    page.Fake.Bitmap()->Pixels().save(QString::fromStdString(std::string("bullet_") + c.Type + ".png"));
    EXPECT_EQ(PixelRows(*page.Fake.Bitmap(), vcl::Rect(x, y + 3, x + 7, y + 10), kShapeKey), c.Rows);
  }
}

TEST(LayoutPaint, SmartTagMarksAreZigZagLinesInTheHandlersColour) {
  LayoutPage page(120, 40);
  page.Host.Options["SmartTagsActive"] = 1;
  page.Load("<html><body><p>ab cde f</p></body></html>");
  htmledit::TpsSmartTagHandler handler(true);
  handler.SetMarkColor(vcl::clRed);
  TpsTextNode* line = FirstTextLine(page.Body);
  ASSERT_TRUE(line);
  for (htmldoc::TpsChunkElement* e = line->GetLineChunk()->First(); e; e = e->Next)
    if (e->Kind == htmldoc::ceChar && (e->Char == u'c' || e->Char == u'd' || e->Char == u'e'))
      e->SmartTag = {&handler, 7, true};
  PaintPage(page);
  page.Fake.Bitmap()->Pixels().save("smarttag_marks.png");
  // "cde" from 24 (the glyphs' last row above), the baseline of the line's
  // first item at 10: two
  // pixels right and two down, then two right and two up, while left of
  // the run's end.
  EXPECT_EQ(PixelRows(*page.Fake.Bitmap(), vcl::Rect(22, 9, 50, 14), kShapeKey),
            "..#######.#######.#######...|..r...r...r...r...r...r.....|...r.r.r.r.r.r.r.r.r.r.r.r..|"
            "....r...r...r...r...r...r...|............................");
  // Without active smart tags nothing is drawn.
  page.Host.Options["SmartTagsActive"] = 0;
  PaintPage(page);
  EXPECT_EQ(PixelRows(*page.Fake.Bitmap(), vcl::Rect(22, 12, 50, 13), kShapeKey), std::string(28, '.'));
}

}  // namespace
