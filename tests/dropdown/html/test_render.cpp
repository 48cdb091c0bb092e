// The renderer's four uses by the grid on the stand-in canvases, whose
// characters are 8 pixels wide and 13 high ("gh" is 13): drawing (where every
// run lands), measuring with free right and bottom edges of 65535,
// hit-testing at a point, and finding a control by its ID.
#include <gtest/gtest.h>

#include <sstream>

#include "dropdown/HtmlText.h"
#include "dropdown/PictureContainer.h"
#include "vcl/ImgList.h"
#include "vcl/TestCanvases.h"

namespace dropdown {
namespace {

using vcl::TRect;

const TRect kCell{0, 0, 200, 100};

// The text calls and lines, in order, as "TextOut(x,y) 'text'".
std::string Drawn(const vcl::TRecordingCanvas& canvas, bool withColor = false) {
  std::ostringstream out;
  for (const vcl::TCanvasRecord& r : canvas.Records()) {
    if (r.Op != "TextOut" && r.Op != "MoveTo" && r.Op != "LineTo" && r.Op != "FillRect" && r.Op != "FrameRect" &&
        r.Op != "DrawFocusRect" && r.Op != "Polyline")
      continue;
    if (out.tellp() > 0) out << " ";
    out << r.Call();
    if (withColor && r.Op == "TextOut") out << "#" << std::hex << r.FontColor << std::dec;
  }
  return out.str();
}

struct DrawCase {
  const char* name;
  const char* html;
  bool wrap;
  const char* calls;
  int width, height;
};

TEST(HtmlTextDraw, RunsLandWhereTheMarkupPutsThem) {
  const DrawCase cases[] = {
      {"words and bold", "ab <B>cd</B> ef", true, "TextOut(1,0) 'ab ' TextOut(25,0) 'cd' TextOut(41,0) ' ' TextOut(49,0) 'ef'",
       64, 13},
      {"line break", "one<BR>two", true, "TextOut(1,0) 'one' TextOut(1,13) 'two'", 24, 26},
      {"carriage return", "one\r\ntwo", true, "TextOut(1,0) 'one' TextOut(1,13) 'two'", 24, 26},
      {"right", "<P ALIGN=\"RIGHT\">ab", true, "TextOut(184,0) 'ab'", 16, 13},
      {"centre", "<P ALIGN=\"CENTER\">ab", true, "TextOut(93,0) 'ab'", 16, 13},
      {"alignment lasts", "<P ALIGN=\"RIGHT\">ab<BR>c", true, "TextOut(184,0) 'ab' TextOut(192,13) 'c'", 16, 26},
      {"indent", "<P INDENT=\"10\">ab<BR>c", true, "TextOut(11,0) 'ab' TextOut(11,13) 'c'", 16, 26},
      {"move right", "<IND X=\"50\">x", true, "TextOut(50,0) 'x'", 57, 13},
      {"move right, already further", "abcdefgh<IND X=\"20\">x", true, "TextOut(1,0) 'abcdefgh' TextOut(65,0) 'x'", 72,
       13},
      {"subscript", "a<SUB>b</SUB>c", true, "TextOut(1,0) 'a' TextOut(9,3) 'b' TextOut(17,0) 'c'", 24, 16},
      {"superscript", "a<SUP>b</SUP>c", true, "TextOut(1,3) 'a' TextOut(9,0) 'b' TextOut(17,3) 'c'", 24, 16},
      {"rule", "a<HR>b", true, "TextOut(1,0) 'a' MoveTo(0,13) LineTo(200,13) TextOut(1,13) 'b'", 8, 26},
      {"list", "<UL><LI>one<LI>two</UL>",
       true, "TextOut(1,13) '\xE2\x80\xA2' TextOut(13,13) 'one' TextOut(1,26) '\xE2\x80\xA2' TextOut(13,26) 'two'", 36, 39},
      {"nested list", "<UL><UL><LI>a</UL></UL>", true, "TextOut(13,26) 'o' TextOut(25,26) 'a'", 32, 39},
      {"wrapping", "aaaa bbbb cccc dddd eeee ffff", true,
       // The line is 160 wide and a run must stay below that: "dddd " ending
       // at 160 goes to the next line.
       "TextOut(1,0) 'aaaa ' TextOut(41,0) 'bbbb ' TextOut(81,0) 'cccc ' TextOut(1,13) 'dddd ' TextOut(41,13) "
       "'eeee ' TextOut(81,13) 'ffff'",
       112, 26},
      {"no wrapping: one line", "<B>bold</B> plain phrase", false, "TextOut(1,0) 'bold' TextOut(33,0) ' plain phrase'",
       136, 13},
      {"entities", "a&amp;b &lt;&AMP;&gt;", true, "TextOut(1,0) 'a&b ' TextOut(33,0) '<&>'", 56, 13},
      {"literal tag", "<#B>x", true, "TextOut(1,0) '#Bx'", 24, 13},
      {"unknown tag, unclosed tag", "a<Q>b<B", true, "TextOut(1,0) 'a' TextOut(9,0) 'b'", 16, 13},
      {"hidden", "a<Z>hidden</Z>b", true, "TextOut(1,0) 'a' TextOut(9,0) 'b'", 16, 13},
      {"error mark", "<E>bad</E>", true, "TextOut(1,0) 'bad' Polyline(2,12,4,10,6,12,8,10,10,12,12,10,14,12,16,10,18,12,20,10,22,12,24,10)",
       24, 13},
      {"shadow", "<SH>s</SH>", true, "TextOut(2,1) 's' TextOut(1,0) 's'", 8, 13},
      {"control", "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"v\" WIDTH=\"50\">x", true,
       "FillRect(1,4,51,25) FrameRect(1,4,51,25) TextOut(3,8) 'v' TextOut(51,10) 'x'", 58, 23},
      {"control without width", "<CONTROL TYPE=\"EDIT\" ID=\"e1\">x", true, "TextOut(1,0) 'x'", 8, 13},
  };
  for (const DrawCase& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    THtmlTextOptions o;
    o.WrapWords = c.wrap;
    THtmlTextResult r;
    EXPECT_FALSE(DrawHTMLText(&canvas, c.html, c.name == std::string("wrapping") ? TRect{0, 0, 161, 100} : kCell, o, r));
    EXPECT_EQ(Drawn(canvas), c.calls);
    EXPECT_EQ(r.ContentWidth, c.width);
    EXPECT_EQ(r.ContentHeight, c.height);
  }
}

TEST(HtmlTextDraw, AnOverflowingRunEndsWithAnEllipsisAtTheRightEdgeWithoutWrapping) {
  vcl::TRecordingCanvas canvas;
  THtmlTextOptions o;
  o.WrapWords = false;
  THtmlTextResult r;
  DrawHTMLText(&canvas, "<B>12345</B> and a phrase too long", TRect{0, 0, 100, 20}, o, r);
  // What fits between 41 and 100 with the layer's ellipsis; the rest is cut.
  std::string calls = Drawn(canvas);
  EXPECT_EQ(calls, "TextOut(1,0) '12345' TextOut(41,0) ' and...'") << calls;
  EXPECT_EQ(r.PlainText, "12345 and a phrase too long");
}

TEST(HtmlTextDraw, LinksTakeTheLinkColourAndHoverStyling) {
  struct Case {
    const char* name;
    bool hotOnly, selected;
    vcl::TColor hotText;
    const char* calls;
  } cases[] = {
      {"every link", false, false, vcl::clNone, "TextOut(1,0) 'a'#ff0000 TextOut(9,0) 'b'#ff000008 TextOut(17,0) 'c'#ff0000"},
      {"hot only, hot colour", true, false, 0x00FF00,
       "TextOut(1,0) 'a'#ff0000 TextOut(9,0) 'b'#ff000008 TextOut(17,0) 'c'#ff00"},
      {"selected text", false, true, vcl::clNone,
       "TextOut(1,0) 'a'#ff000008 TextOut(9,0) 'b'#ff000008 TextOut(17,0) 'c'#ff000008"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    THtmlTextOptions o;
    o.HotUnderlineOnly = c.hotOnly;
    o.HotLinkIndex = 2;
    o.HotTextColor = c.hotText;
    o.SelectedText = c.selected;
    THtmlTextResult r;
    DrawHTMLText(&canvas, "<A HREF=\"1\">a</A>b<A HREF=\"2\" TITLE=\"Two\">c</A>", kCell, o, r);
    EXPECT_EQ(Drawn(canvas, true), c.calls);
    EXPECT_EQ(r.LinkCount, 2);
    EXPECT_EQ(r.AnchorTitle, "Two");
    // Underlined: every link, or only the hot one.
    std::vector<bool> underlined;
    for (const auto& rec : canvas.Records())
      if (rec.Op == "TextOut") underlined.push_back(rec.FontStyle.Contains(vcl::fsUnderline));
    EXPECT_EQ(underlined, (std::vector<bool>{!c.hotOnly, false, true}));
  }
}

TEST(HtmlTextDraw, TheFocusedLinkGetsAFocusRectangleOnEachOfItsLines) {
  vcl::TRecordingCanvas canvas;
  THtmlTextOptions o;
  o.FocusLinkIndex = 0;
  THtmlTextResult r;
  DrawHTMLText(&canvas, "x <A HREF=\"here\">ab<BR>cd</A>", kCell, o, r);
  std::vector<std::string> focus;
  for (const auto& rec : canvas.Records())
    if (rec.Op == "DrawFocusRect") focus.push_back(rec.Call());
  EXPECT_EQ(focus, (std::vector<std::string>{"DrawFocusRect(16,0,34,13)", "DrawFocusRect(0,13,18,26)"}));
  EXPECT_EQ(r.FocusedAnchor, "here");
}

TEST(HtmlTextDraw, FontTagsSetSizeColourAndFace) {
  struct Case {
    const char* html;
    int points;
    vcl::TColor color;
  } cases[] = {
      {"<FONT SIZE=\"3\">x</FONT>", 12, vcl::clWindowText},
      {"<FONT SIZE=\"20\">x</FONT>", 20, vcl::clWindowText},
      {"<FONT COLOR=\"#FF0000\">x</FONT>", 8, vcl::clRed},
      {"<FONT COLOR=\"red\">x</FONT>", 8, vcl::clBlack},
      {"<FONT COLOR=\"clNavy\">x</FONT>", 8, 0x800000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    vcl::TRecordingCanvas canvas;
    canvas.Font()->SetColor(vcl::clWindowText);
    THtmlTextOptions o;
    THtmlTextResult r;
    DrawHTMLText(&canvas, c.html, kCell, o, r);
    const vcl::TCanvasRecord* text = nullptr;
    for (const auto& rec : canvas.Records())
      if (rec.Op == "TextOut") text = &rec;
    ASSERT_NE(text, nullptr);
    vcl::TFont probe;
    probe.SetSize(c.points);
    EXPECT_EQ(text->FontHeight, probe.Height());
    EXPECT_EQ(text->FontColor, c.color);
    // The canvas comes back as it was.
    EXPECT_EQ(canvas.Font()->Size(), 8);
    EXPECT_EQ(canvas.Font()->Color(), vcl::clWindowText);
  }
}

TEST(HtmlTextMeasure, MeasuringDrawsNothingAndGivesTheSizeAndPlainText) {
  struct Case {
    const char* html;
    int width, height;
    const char* plain;
  } cases[] = {
      {"", 0, 13, ""},
      {"a<B>b</B><BR>c", 16, 26, "ab\rc"},
      {"x<IMG SRC=\"IDX:5\">y", 16, 13, "xy"},   // five images: index 5 takes no space
      {"x<IMG SRC=\"IDX:1\">y", 36, 20, "xy"},   // a 20 by 20 image
      {"x<IMG SRC=\"nothere\">y", 16, 13, "xy"}, // no container
      {"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"0\">", 16, 23, ""},
      {"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"60\">", 60, 25, ""},
  };
  vcl::TImageList images(nullptr);
  images.SetWidth(20);
  images.SetHeight(20);
  for (int i = 0; i < 5; ++i) {
    vcl::TBitmap bitmap(20, 20);
    images.Add(&bitmap, nullptr);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    vcl::TRecordingCanvas canvas;
    THtmlTextOptions o;
    o.MeasureOnly = true;
    o.Images = &images;
    THtmlTextResult r;
    EXPECT_FALSE(DrawHTMLText(&canvas, c.html, TRect{0, 0, 65535, 65535}, o, r));
    EXPECT_EQ(Drawn(canvas), "");
    EXPECT_EQ(r.ContentWidth, c.width);
    EXPECT_EQ(r.ContentHeight, c.height);
    EXPECT_EQ(r.PlainText, c.plain);
  }
}

TEST(HtmlTextHitTest, ThePointFindsAnchorsAndControls) {
  const char* html =
      "go <A HREF=\"http://a\" TITLE=\"T\">there</A><BR>"
      "<CONTROL TYPE=\"EDIT\" ID=\"name\" VALUE=\"a&amp;b\" WIDTH=\"60\"> "
      "<CONTROL TYPE=\"CHECK\" ID=\"ok\" VALUE=\"TRUE\" WIDTH=\"1\">";
  struct Case {
    const char* name;
    int x, y;
    bool hit;
    const char* anchor;
    int linkIndex;
    TRect linkRect;
    const char* kind;
    const char* id;
    const char* value;
    TRect controlRect;
  } cases[] = {
      {"on the link", 30, 5, true, "http://a", 1, TRect{25, 0, 65, 13}, "", "", "", {}},
      {"before the link", 10, 5, false, "", -1, {}, "", "", "", {}},
      {"right of the link", 70, 5, false, "", -1, {}, "", "", "", {}},
      {"on the edit", 20, 25, true, "ctrl", -1, {}, "EDIT", "name", "a&b", TRect{1, 17, 61, 38}},
      {"on the check box", 72, 30, true, "ctrl", -1, {}, "CHECK", "ok", "TRUE", TRect{71, 21, 84, 36}},
      {"between them", 66, 30, false, "", -1, {}, "", "", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    THtmlTextOptions o;
    o.HitTestOnly = true;
    o.PointX = c.x;
    o.PointY = c.y;
    THtmlTextResult r;
    EXPECT_EQ(DrawHTMLText(&canvas, html, TRect{0, 0, 400, 200}, o, r), c.hit);
    EXPECT_EQ(Drawn(canvas), "");
    EXPECT_EQ(r.HitAnchor, c.anchor);
    EXPECT_EQ(r.HitLinkIndex, c.linkIndex);
    EXPECT_EQ(r.HitLinkRect, c.linkRect);
    EXPECT_EQ(r.ControlKind, c.kind);
    EXPECT_EQ(r.ControlId, c.id);
    EXPECT_EQ(r.ControlValue, c.value);
    EXPECT_EQ(r.ControlRect, c.controlRect);
    EXPECT_EQ(r.AnchorTitle, "T");
    EXPECT_EQ(r.LinkCount, 1);
  }
  // Finding a control by its ID: no point, the ID given.
  vcl::TRecordingCanvas canvas;
  THtmlTextOptions o;
  o.HitTestOnly = true;
  THtmlTextResult r;
  r.ControlId = "ok";
  EXPECT_TRUE(DrawHTMLText(&canvas, html, TRect{0, 0, 400, 200}, o, r));
  EXPECT_EQ(r.HitAnchor, "ctrl");
  EXPECT_EQ(r.ControlKind, "CHECK");
  EXPECT_EQ(r.ControlRect, (TRect{71, 21, 84, 36}));
  // A drawing call clears the incoming ID.
  THtmlTextOptions drawing;
  THtmlTextResult d;
  d.ControlId = "ok";
  EXPECT_FALSE(DrawHTMLText(&canvas, html, TRect{0, 0, 400, 200}, drawing, d));
  EXPECT_EQ(d.ControlId, "");
}

TEST(HtmlTextDraw, PicturesComeFromTheContainerByNameAndTheCacheByLocation) {
  std::string gif = "/usr/share/doc/apache2-doc/manual/images/down.gif";  // 11 by 11
  TPictureContainer container(nullptr);
  TPictureItem* item = container.Items()->Add();
  item->SetName("Arrow");
  item->Picture()->LoadFromFile(gif);
  ASSERT_EQ(item->Picture()->Width(), 11);
  THTMLPictureCache cache;
  struct Case {
    std::string html;
    int width, height;
  } cases[] = {
      {"a<IMG SRC=\"arrow\">b", 27, 13},
      {"a<IMG SRC=\"ARROW\" WIDTH=\"30\" HEIGHT=\"20\">b", 46, 20},
      {"a<IMG SRC=\"FILE://" + gif + "\">b", 27, 13},
      {"a<IMG SRC=\"FILE:///nonexistent.gif\">b", 16, 13},
      {"a<IMG SRC=\"SSYS:1\">b", 32, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    vcl::TFakeMetricsCanvas canvas(100, 40);
    THtmlTextOptions o;
    o.Pictures = &container;
    o.PictureCache = &cache;
    THtmlTextResult r;
    DrawHTMLText(&canvas, c.html, TRect{0, 0, 100, 40}, o, r);
    EXPECT_EQ(r.ContentWidth, c.width);
    EXPECT_EQ(r.ContentHeight, c.height);
  }
  // The file location was loaded once and is found in the cache by it; the
  // missing one is remembered empty.
  ASSERT_EQ(cache.Count(), 2);
  EXPECT_FALSE(cache.PictureByLocation("FILE://" + gif)->Empty());
  EXPECT_TRUE(cache.PictureByLocation("FILE:///nonexistent.gif")->Empty());
}

}  // namespace
}  // namespace dropdown

namespace dropdown {
namespace {

TEST(HtmlTextDraw, BackgroundsAndBlinkingText) {
  struct Case {
    const char* name;
    const char* html;
    bool blink;
    const char* calls;
  } cases[] = {
      // The page background fills the whole cell; a paragraph's each of its
      // lines across the cell's width.
      {"page background", "<BODY BGCOLOR=\"clYellow\">a", true, "FillRect(0,0,200,100) TextOut(1,0) 'a'#ff000008"},
      {"paragraph background", "<P BGCOLOR=\"#00FF00\">a<BR>b</P>c", true,
       "FillRect(0,0,200,13) TextOut(1,0) 'a'#ff000008 FillRect(0,13,200,26) TextOut(1,13) 'b'#ff000008 TextOut(1,26) 'c'#ff000008"},
      // Blinking text takes the brush colour at entry while the phase is off.
      {"blink on", "<BLINK>a</BLINK>b", true, "TextOut(1,0) 'a'#ff000008 TextOut(9,0) 'b'#ff000008"},
      {"blink off", "<BLINK>a</BLINK>b", false, "TextOut(1,0) 'a'#ffffff TextOut(9,0) 'b'#ff000008"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    canvas.Brush()->SetColor(vcl::clWhite);
    THtmlTextOptions o;
    o.BlinkPhase = c.blink;
    THtmlTextResult r;
    DrawHTMLText(&canvas, c.html, kCell, o, r);
    EXPECT_EQ(Drawn(canvas, true), c.calls);
  }
}

}  // namespace
}  // namespace dropdown
