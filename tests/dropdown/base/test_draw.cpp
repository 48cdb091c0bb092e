// The drop-down unit's drawing routines: gradients pixel by pixel, the
// colour arithmetic as tables, backgrounds, image-and-text cells, the
// transparent bitmap, text sizes and truncation on the fake metrics (8
// pixels a character, 13 high), and the one-line HTML caption.
#include <gtest/gtest.h>

#include <sstream>

#include "dropdown/LumDropDownDraw.h"
#include "vcl/ImgList.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

namespace dropdown {
namespace {

using vcl::TColor;
using vcl::TRect;

std::string Calls(const vcl::TRecordingCanvas& canvas, const char* only = nullptr) {
  std::ostringstream out;
  for (const vcl::TCanvasRecord& r : canvas.Records()) {
    if (only && r.Op != only) continue;
    if (out.tellp() > 0) out << " ";
    out << r.Call();
  }
  return out.str();
}

TEST(DropDownDraw, GradientBandsOverlapByAPixelAndRoundHalvesToEven) {
  struct Case {
    const char* name;
    TColor from, to;
    int steps;
    TRect r;
    bool horizontal;
    std::vector<TColor> line;  // along the gradient: columns, or rows
  } cases[] = {
      // Width 10 less one: bands of 3 at 0, 3, 6, each 4 wide, the later
      // overwriting; red 0, 80, 160 (never the end colour itself).
      {"three across", 0x000000, 0x0000F0, 3, TRect{0, 0, 10, 4}, true,
       {0, 0, 0, 80, 80, 80, 160, 160, 160, 160}},
      {"three down", 0x000000, 0x00F000, 3, TRect{0, 0, 4, 10}, false,
       {0, 0, 0, 0x5000, 0x5000, 0x5000, 0xA000, 0xA000, 0xA000, 0xA000}},
      // 2.5 pixels a band: the first from 0 (2 + 1 wide), the second from 2;
      // the last band still reaches the far edge.
      {"half pixels", 0x000010, 0x000000, 2, TRect{0, 0, 6, 2}, true, {0x10, 0x10, 8, 8, 8, 8}},
      {"half pixels down", 0x000010, 0x000000, 2, TRect{0, 0, 2, 6}, false, {0x10, 0x10, 8, 8, 8, 8}},
      {"no steps is one band", 0x123456, 0xFFFFFF, 0, TRect{0, 0, 5, 3}, true,
       {0x123456, 0x123456, 0x123456, 0x123456, 0x123456}},
      // A channel step of 5 over 2 bands: 2.5 rounds to 2. The second band
      // (from 2, 2 + 1 wide) stops at the rectangle's edge.
      {"channel halves", 0x000000, 0x050000, 2, TRect{0, 0, 4, 1}, true, {0, 0, 0x020000, 0x020000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TFakeMetricsCanvas canvas(20, 20);
    canvas.Brush()->SetColor(vcl::clWhite);
    canvas.FillRect(TRect{0, 0, 20, 20});
    DrawGradient(&canvas, c.from, c.to, c.steps, c.r, c.horizontal);
    for (size_t i = 0; i < c.line.size(); ++i) {
      for (int across = 0; across < (c.horizontal ? c.r.Height() : c.r.Width()); ++across) {
        int x = c.horizontal ? int(i) : across, y = c.horizontal ? across : int(i);
        ASSERT_EQ(canvas.Pixels(x, y), c.line[i]) << x << "," << y;
      }
    }
    // Nothing past the rectangle; pen and brush keep the last band.
    EXPECT_EQ(canvas.Pixels(c.r.Right, 0), vcl::clWhite);
    EXPECT_EQ(canvas.Pixels(0, c.r.Bottom), vcl::clWhite);
    EXPECT_EQ(canvas.Brush()->Color(), c.line.back());
    EXPECT_EQ(canvas.Pen()->Color(), c.line.back());
  }
  // System colours are resolved first.
  vcl::TFakeMetricsCanvas canvas(4, 4);
  DrawGradient(&canvas, vcl::clBtnFace, vcl::clBtnFace, 4, TRect{0, 0, 4, 4}, false);
  EXPECT_EQ(canvas.Pixels(1, 1), vcl::ColorToRGB(vcl::clBtnFace));
}

TEST(DropDownDraw, BlendAndScaleColoursChannelByChannel) {
  struct Blend {
    TColor a, b;
    int percent;
    TColor result;
  } blends[] = {
      {vcl::clBtnFace, 0x000000, 100, vcl::clBtnFace},  // unconverted
      {vcl::clBtnFace, 0x000000, 150, vcl::clBtnFace},
      {0x000000, vcl::clWindow, 0, vcl::clWindow},
      {0x000000, vcl::clWindow, -5, vcl::clWindow},
      {0x204060, 0x406080, 50, 0x305070},
      {0x000001, 0x000000, 50, 0x000000},  // 0.5 to even: 0
      {0x000003, 0x000000, 50, 0x000002},  // 1.5 to even: 2
      {0x808080, 0xFFFFFF, 20, 0xE6E6E6},  // the header's lightened border
  };
  for (const Blend& c : blends) EXPECT_EQ(BlendColor(c.a, c.b, c.percent), c.result) << std::hex << c.a << " " << c.b;
  // Between the limits a system colour is resolved before the arithmetic.
  EXPECT_EQ(BlendColor(vcl::clBtnFace, 0x000000, 50), BlendColor(vcl::ColorToRGB(vcl::clBtnFace), 0x000000, 50));
  EXPECT_NE(BlendColor(vcl::clBtnFace, 0x000000, 50) & 0xFF000000, 0xFF000000u);

  struct Scale {
    TColor color;
    int r, g, b;
    TColor result;
  } scales[] = {
      {0x8080F0, -10, -10, 0, 0x8073D8},
      {0x8080F0, 30, 50, 100, 0x8080F0},     // no channel grows
      {0x000000, 30, -30, 300, 0xFF001E},    // zero channels take the percentage, 0 .. 255
      {0x030303, -100, -50, 0, 0x030200},    // 1.5 to even: 2
  };
  for (const Scale& c : scales) EXPECT_EQ(ScaleColor(c.color, c.r, c.g, c.b), c.result) << std::hex << c.color;
}

TEST(DropDownDraw, BackgroundsAreAGradientOrAFillAndAnOutline) {
  struct Case {
    const char* name;
    TColor color, colorTo, border;
    int width;
    TGradientDirection direction;
    int fills;
    const char* last;  // the last call
  } cases[] = {
      {"vertical gradient", 0x000000, 0xFFFFFF, vcl::clNone, 1, TGradientDirection::gdVertical, 80,
       "FillRect(0,157,40,160)"},
      {"horizontal gradient and border", 0x000000, 0xFFFFFF, 0x0000FF, 2, TGradientDirection::gdHorizontal, 80,
       "Rectangle(0,0,40,160)"},
      {"plain fill", 0x00FF00, vcl::clNone, vcl::clNone, 1, TGradientDirection::gdVertical, 1,
       "FillRect(0,0,40,160)"},
      {"only the outline", vcl::clNone, vcl::clNone, 0x0000FF, 1, TGradientDirection::gdVertical, 0,
       "Rectangle(0,0,40,160)"},
      {"no border width", vcl::clNone, vcl::clNone, 0x0000FF, 0, TGradientDirection::gdVertical, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    DrawBackground(&canvas, TRect{0, 0, 40, 160}, c.color, c.colorTo, c.border, c.width, c.direction);
    int fills = 0;
    for (const auto& r : canvas.Records()) fills += r.Op == "FillRect";
    EXPECT_EQ(fills, c.fills);
    EXPECT_EQ(canvas.Records().empty() ? std::string() : std::string(canvas.Records().back().Call()), c.last);
    if (c.border != vcl::clNone && c.width > 0) {
      const auto& rect = canvas.Records().back();
      EXPECT_EQ(rect.PenWidth, c.width);
      EXPECT_EQ(rect.PenColor, c.border);
      EXPECT_EQ(rect.BrushStyle, vcl::bsClear);
    }
  }
  DrawBackground(nullptr, TRect{0, 0, 1, 1}, 0, 0, 0, 1, TGradientDirection::gdVertical);  // nothing, no fault
}

TEST(DropDownDraw, ImageAndTextCells) {
  vcl::TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(10);
  vcl::TBitmap square(16, 10);
  images.Add(&square, nullptr);
  struct Case {
    const char* name;
    const char* text;
    int index;
    const char* calls;
  } cases[] = {
      // The cell is 100 by 30: "abc" centred both ways.
      {"text alone", "abc", -1, "TextOut(38,8) 'abc'"},
      {"image and text", "abc", 0, "Draw(4,10,16,10) TextOut(24,8) 'abc'"},
      {"image alone", "", 0, "Draw(4,10,16,10)"},
      {"an end ellipsis", "a much longer caption", -1, "TextOut(2,8) 'a much lo...'"},
      {"an ellipsis after the image", "a much longer caption", 0, "Draw(4,10,16,10) TextOut(24,8) 'a much...'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    DrawImageText(&canvas, TRect{0, 0, 100, 30}, c.text, &images, c.index);
    std::string drawn = Calls(canvas, "Draw");
    std::string text = Calls(canvas, "TextOut");
    EXPECT_EQ(drawn + (drawn.empty() || text.empty() ? "" : " ") + text, c.calls);
  }
}

TEST(DropDownDraw, ATransparentBitmapShowsTheBackgroundColourWhereItsCornerColourWas) {
  vcl::TBitmap bitmap(6, 4);
  bitmap.Canvas()->Brush()->SetColor(0xFF00FF);  // the corner colour
  bitmap.Canvas()->FillRect(TRect{0, 0, 6, 4});
  bitmap.Canvas()->Brush()->SetColor(0xFF0000);
  bitmap.Canvas()->FillRect(TRect{2, 1, 4, 3});
  vcl::TFakeMetricsCanvas canvas(12, 8);
  canvas.Brush()->SetColor(vcl::clWhite);
  canvas.FillRect(TRect{0, 0, 12, 8});
  DrawTransparentBitmap(&canvas, &bitmap, 0x00FFFF, TRect{3, 2, 9, 6});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) {
      bool inside = x >= 3 && x < 9 && y >= 2 && y < 6;
      bool square = x >= 5 && x < 7 && y >= 3 && y < 5;
      TColor want = !inside ? vcl::clWhite : square ? TColor(0xFF0000) : TColor(0x00FFFF);
      ASSERT_EQ(canvas.Pixels(x, y), want) << x << "," << y;
    }
}

TEST(DropDownDraw, TextSizesAndTruncation) {
  vcl::TRecordingCanvas canvas;
  EXPECT_EQ(GetTextSize(&canvas, "abc").cx, 24);
  EXPECT_EQ(GetTextSize(&canvas, "abc").cy, 13);
  EXPECT_EQ(GetTextSize(&canvas, "").cx, 0);
  EXPECT_EQ(GetTextSize(&canvas, "").cy, 0);
  struct Case {
    const char* text;
    int maxWidth;
    bool ellipsis;
    const char* result;
  } cases[] = {
      {"abcdef", 48, true, "abcdef"},  // fits exactly
      {"abcdef", 100, true, "abcdef"},
      {"abcdef", 41, true, "ab..."},   // 40 is narrower than 41
      {"abcdef", 40, true, "a..."},    // and must be narrower
      {"abcdef", 17, false, "ab"},
      {"abcdef", 16, false, "a"},
      {"abcdef", 24, true, ""},        // "..." alone is 24
      {"abcdef", 0, true, ""},         // nothing fits: nothing, not the whole text
      {"abcdef", 0, false, ""},
      {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", 25, false, "\xC3\xA4\xC3\xB6\xC3\xBC"},  // by characters
      {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", 41, true, "\xC3\xA4\xC3\xB6..."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TruncateText(&canvas, c.text, c.maxWidth, c.ellipsis), c.result) << c.text << " " << c.maxWidth;
}

TEST(DropDownDraw, HtmlCaptionsKeepTheCallersColourAndEndWithAnEllipsis) {
  struct Case {
    const char* name;
    const char* html;
    bool draw;
    int width, height;
    const char* calls;
  } cases[] = {
      {"measured", "<B>a</B> <FONT COLOR=\"clRed\">b</FONT>", false, 24, 13, ""},
      {"drawn", "<B>a</B> <FONT COLOR=\"clRed\">b</FONT>", true, 24, 13,
       "TextOut(1,0) 'a'#ff00 TextOut(9,0) ' '#ff00 TextOut(17,0) 'b'#ff00"},
      {"overflowing", "one two three four five six seven", true, 264, 13, "TextOut(1,0) 'one two three...'#ff00"},
      {"link in the caller's colour", "<A HREF=\"x\">go</A>", true, 16, 13, "TextOut(1,0) 'go'#ff00"},
      {"empty", "", true, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vcl::TRecordingCanvas canvas;
    canvas.Font()->SetColor(0x00FF00);
    vcl::TSize size = DrawHTMLCaption(&canvas, c.html, TRect{0, 0, 130, 20}, nullptr, c.draw, 0);
    EXPECT_EQ(size.cx, c.width);
    EXPECT_EQ(size.cy, c.height);
    std::ostringstream out;
    for (const auto& r : canvas.Records()) {
      if (r.Op != "TextOut") continue;
      if (out.tellp() > 0) out << " ";
      out << r.Call() << "#" << std::hex << r.FontColor;
    }
    EXPECT_EQ(out.str(), c.calls);
  }
}

}  // namespace
}  // namespace dropdown
