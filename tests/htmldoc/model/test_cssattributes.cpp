// The CSS attribute model: property ids, the value helpers, each attribute
// class's reading, text, comparison and copy, the pixel readings through a
// surface of fixed metrics, and the attribute list's text.
//
// Rows marked "kept" differ from the old, lossy behaviour: a value is
// written back as it was given wherever the typed reading would lose it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../support/StyleSheetLoader.h"
#include "htmledit/doc/psStyleSheets.h"

using namespace htmldoc;
using htmldoc::testing::FakeStyleCanvas;

TEST(CssAttributeIds, NamesAndLookUp) {
  EXPECT_EQ(TpsCSSAttributeIdList::IndexOf("Color"), CSS_COLOR);
  EXPECT_EQ(TpsCSSAttributeIdList::IndexOf(" color"), -1);
  EXPECT_EQ(TpsCSSAttributeIdList::IndexOf("text-transform"), 30);
  EXPECT_EQ(TpsCSSAttributeIdList::IndexOf("BORDER-TOP-WIDTH"), CSS_BORDER_TOP_WIDTH);
  EXPECT_EQ(TpsCSSAttributeIdList::GetName(42), "text-transform");
  EXPECT_EQ(TpsCSSAttributeIdList::GetName(47), "right");
  EXPECT_EQ(TpsCSSAttributeIdList::GetName(48), "");
  EXPECT_EQ(TpsCSSAttributeIdList::GetName(-1), "");
  for (Integer id = 0; id < CSS_ATTRIBUTE_COUNT; ++id) {
    if (id != 42) {
      EXPECT_EQ(TpsCSSAttributeIdList::IndexOf(TpsCSSAttributeIdList::GetName(id)), id);
    }
  }
}

TEST(CssValueHelpers, ParseCssColor) {
  struct Case {
    const char* text;
    TColor color;
  };
  const Case cases[] = {
      {"#FF8000", 0x000080FF},
      {"#f80", 0x000088FF},  // kept: "#rgb" is its six-digit colour
      {"#F0x", clNone},
      {"#ff80", clNone},
      {"#zz0000", 0x00000000},  // pairs read leniently
      {"rgb(255, 0, 0)", 0x000000FF},
      {"rgb(300,0,0)", clNone},
      {"RGB(1,2,3)", 0x00030201},
      {"rgba(1,2,3,0.5)", clNone},  // a fourth part is no colour of ours
      {"rgb(1,2)", clNone},
      {"red", 0x000000FF},
      {"RED", 0x000000FF},
      {" red", clNone},
      {"currentColor", clNone},
      {"", clNone},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCssColor(c.text), c.color) << c.text;
  EXPECT_TRUE(IsCssColor("navy"));
  EXPECT_FALSE(IsCssColor("hsl(0, 100%, 50%)"));
}

TEST(CssValueHelpers, ColorTextLengthsAndSmallRoutines) {
  EXPECT_EQ(ColorToCssString(0x000080FF), "#ff8000");
  EXPECT_EQ(ColorToCssString(0x000000FF), "red");
  EXPECT_EQ(ColorToCssString(clNone), "");

  struct Case {
    const char* text;
    bool ok;
    Byte unit;
    double value;
  };
  const Case lengths[] = {
      {"1.5 EM", true, cuEm, 1.5}, {"0", false, 0, 0},       {"10%", false, 0, 0},
      {"12pt", true, cuPt, 12},    {"-2px", true, cuPx, -2}, {".5in", true, cuIn, 0.5},
      {"3pc", true, cuPc, 3},      {"px", false, 0, 0},      {"2 furlongs", false, 0, 0},
      {"1e2mm", true, cuMm, 100},
  };
  for (const auto& c : lengths) {
    TpsCSSLength length;
    EXPECT_EQ(TextToLength(c.text, length), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(length.Unit, c.unit) << c.text;
      EXPECT_DOUBLE_EQ(length.Value, c.value) << c.text;
    }
  }
  EXPECT_EQ(LengthToText({cuEm, 1.5}), "1.5em");
  EXPECT_EQ(LengthToText({cuPt, 12}), "12pt");
  EXPECT_TRUE(LengthEquals({cuPt, 12}, {cuPt, 12}));
  EXPECT_FALSE(LengthEquals({cuPt, 12}, {cuPx, 12}));
  EXPECT_EQ(MakeClassSelector("note"), ".note");
  EXPECT_EQ(MakeClassSelector(".note"), ".note");
  EXPECT_EQ(MakeClassSelector(""), "");
  Integer width = 0;
  EXPECT_TRUE(ParseBorderWidthPx("2px", width));
  EXPECT_EQ(width, 2);
  EXPECT_FALSE(ParseBorderWidthPx("2.5px", width));
  EXPECT_FALSE(ParseBorderWidthPx("2em", width));
  EXPECT_TRUE(IsBorderStyleKeyword("xsolidx"));
  EXPECT_FALSE(IsBorderStyleKeyword("none"));
}

namespace {

std::unique_ptr<TpsCSSAttribute> Make(const char* aProperty, const char* aValue) {
  return CreateCssAttribute(TpsCSSAttributeIdList::IndexOf(aProperty), aValue);
}

}  // namespace

TEST(CssAttributes, ReadAndWriteBack) {
  struct Case {
    const char* property;
    const char* value;
    const char* text;  // what is written back
  };
  const Case cases[] = {
      {"margin-top", "12.6px", "12.6px"},  // kept (was "13px")
      {"margin-top", "0.5in", "0.5in"},    // kept (was "0.50in")
      {"margin-top", "auto", "auto"},      // kept (was "0px")
      {"margin-top", "2em", "2em"},        // kept (was "2px")
      {"width", "50%", "50%"},             // kept (was "0px")
      {"width", "calc(100% - 2px)", "calc(100% - 2px)"},  // kept
      {"width", "", "0px"},
      {"text-align", "middle", "middle"},  // kept (was "left")
      {"text-align", "CENTER", "center"},
      {"border-style", "wavy", "wavy"},          // kept (was "solid")
      {"list-style-type", "none", "none"},       // kept (was "unknown")
      {"list-style-type", "square", "square"},
      {"text-decoration", "overline", "overline"},  // kept (was "none")
      {"text-decoration", "underline", "underline"},
      {"text-transform", "inherit", "inherit"},  // kept (was "none")
      {"float", "none", "none"},
      {"float", "left", "left"},
      {"clear", "both", "both"},
      {"border-collapse", "collapse", "collapse"},
      {"font-weight", "bold", "bold"},
      {"font-weight", "700", "700"},        // kept (was "bold")
      {"font-weight", "lighter", "lighter"},  // kept (was "normal")
      {"font-style", "italic", "italic"},
      {"font-style", "oblique", "oblique"},  // kept (was "normal")
      {"color", "", "white"},
      {"color", "nocolor", "nocolor"},  // kept (was "")
      {"color", "#FF0000", "red"},
      {"color", "#f80", "#ff8800"},               // kept: read as its colour
      {"color", "rgba(0,0,0,.5)", "rgba(0,0,0,.5)"},  // kept
      {"background-color", "transparent", "transparent"},
      {"font-size", "12pt", "12pt"},
      {"font-size", "150%", "150%"},
      {"font-size", "small", "small"},
      {"line-height", "normal", "normal"},
      {"line-height", "1.5", "1.5"},
      {"line-height", "20px", "20px"},
      {"line-height", "120%", "120%"},
      {"line-height", "abc", "abc"},
      {"position", "relative", "relative"},
      {"position", "sticky", "sticky"},
      {"top", "0.2em", "0.2em"},
      {"bottom", "auto", "auto"},
      {"left", "inherit", "inherit"},
      {"right", "10%", "10%"},
      {"right", "calc(1px)", "calc(1px)"},
      {"font-family", "Times New Roman, serif", "Times New Roman, serif"},
      {"background-image", "url(\"a;b.png\")", "url(\"a;b.png\")"},
  };
  for (const auto& c : cases) {
    auto attribute = Make(c.property, c.value);
    ASSERT_TRUE(attribute) << c.property;
    EXPECT_EQ(attribute->GetAsString(), c.text) << c.property << ": " << c.value;
    // A copy holds the same fields and equals its original.
    auto copy = attribute->Clone();
    EXPECT_TRUE(copy->Equals(*attribute)) << c.property << ": " << c.value;
    EXPECT_EQ(copy->GetAsString(), c.text) << c.property << ": " << c.value;
    // Read again from its text it is the same attribute.
    auto again = Make(c.property, attribute->GetAsString().c_str());
    EXPECT_TRUE(again->Equals(*attribute)) << c.property << ": " << c.value;
  }
}

TEST(CssAttributes, TypedReadingsStayAsComputed) {
  auto length = [](const char* text) {
    return static_cast<TpsCSSLengthAttribute&>(*Make("margin-top", text));
  };
  EXPECT_EQ(length("2em").GetPixels(), 2);
  EXPECT_EQ(length("12pt").GetPixels(), 12);
  EXPECT_EQ(length("auto").GetPixels(), 0);
  EXPECT_EQ(length("12.6px").GetPixels(), 13);
  EXPECT_EQ(length("0.5in").GetPixels(), 48);
  EXPECT_EQ(length("1e300in").GetPixels(), INT32_MAX);  // never rounds an infinity
  EXPECT_EQ(length("0.5in").Unit(), luIn);

  auto keyword = [](const char* property, const char* text) {
    return static_cast<TpsCSSIntegerAttribute&>(*Make(property, text)).Value();
  };
  EXPECT_EQ(keyword("text-align", "middle"), 1);
  EXPECT_EQ(keyword("border-style", "wavy"), 4);
  EXPECT_EQ(keyword("list-style-type", "none"), 0);
  EXPECT_EQ(keyword("float", "inherit"), 3);

  auto bold = [](const char* text) {
    return static_cast<TpsCSSBooleanAttribute&>(*Make("font-weight", text)).Value();
  };
  EXPECT_TRUE(bold("bold"));
  EXPECT_TRUE(bold("bolder"));
  EXPECT_TRUE(bold("600"));
  EXPECT_TRUE(bold("900"));
  EXPECT_FALSE(bold("500"));
  EXPECT_FALSE(bold("lighter"));
  EXPECT_FALSE(bold("normal"));

  auto color = [](const char* text) {
    return static_cast<TpsCSSAbstractColorAttribute&>(*Make("color", text)).Color();
  };
  EXPECT_EQ(color("currentColor"), clNone);
  EXPECT_EQ(color("#fff"), 0x00FFFFFFu);
  EXPECT_EQ(color(""), 0x00FFFFFFu);
}

TEST(CssAttributes, EqualsComparesValuesAndKeptTexts) {
  EXPECT_TRUE(Make("margin-top", "2EM")->Equals(*Make("margin-top", "2em")));
  EXPECT_FALSE(Make("margin-top", "2em")->Equals(*Make("margin-top", "2px")));
  EXPECT_FALSE(Make("margin-top", "2px")->Equals(*Make("margin-bottom", "2px")));
  EXPECT_FALSE(Make("text-decoration", "overline")->Equals(*Make("text-decoration", "blink")));
  EXPECT_TRUE(Make("text-decoration", "Overline")->Equals(*Make("text-decoration", "overline")));
  EXPECT_TRUE(Make("position", " Sticky ")->Equals(*Make("position", "sticky")));
  EXPECT_TRUE(Make("line-height", "normal")->Equals(*Make("line-height", "NORMAL")));
  EXPECT_FALSE(Make("color", "red")->Equals(*Make("color", "blue")));
  EXPECT_FALSE(Make("font-family", "Arial")->Equals(*Make("font-family", "arial")));
  auto important = Make("color", "red");
  important->Important = true;
  EXPECT_FALSE(important->Equals(*Make("color", "red")));
  EXPECT_TRUE(important->Clone()->Equals(*important));
}

TEST(CssAttributes, FontSizesThroughTheSurface) {
  FakeStyleCanvas canvas;
  auto size = [](const char* text) { return TpsCSSFontSizeAttribute(text); };
  EXPECT_EQ(size("2em").GetPixelSizeFor(16, 96), 32);
  EXPECT_EQ(size("150%").GetPixelSizeFor(12, 96), 18);
  EXPECT_EQ(size("12pt").GetPixelSizeFor(12, 96), 16);
  EXPECT_EQ(size("1in").GetPixelSizeFor(12, 96), 96);
  EXPECT_EQ(size("2.54cm").GetPixelSizeFor(12, 96), 96);
  EXPECT_EQ(size("25.4mm").GetPixelSizeFor(12, 96), 96);
  EXPECT_EQ(size("1pc").GetPixelSizeFor(12, 96), 16);
  EXPECT_EQ(size("1ex").GetPixelSizeFor(12, 96), 6);
  EXPECT_EQ(size("small").GetPixelSizeFor(12, 96), -1);
  // Without a stack the parent is 12 pixels.
  EXPECT_EQ(size("2em").GetPixelSize(&canvas, nullptr), 24);

  size("12pt").ApplyToCanvas(&canvas, nullptr);
  EXPECT_EQ(canvas.Height, -16);
  canvas.Changes = 0;
  size("small").ApplyToCanvas(&canvas, nullptr);
  EXPECT_EQ(canvas.Height, -16);
  EXPECT_EQ(canvas.Changes, 0);
}

TEST(CssAttributes, LineHeightsThroughTheSurface) {
  FakeStyleCanvas canvas;
  canvas.Height = -13;
  struct Case {
    const char* text;
    Integer pixels;
  };
  const Case cases[] = {
      {"normal", 13}, {"1.5", 20},  // 19.5 rounds to even
      {"abc", 99},    {"2em", 26},  {"2ex", 12}, {"20px", 20}, {"1in", 96},
      {"12pt", 16},   {"200%", 26}, {"2.5", 32},  // 32.5 rounds to even
  };
  for (const auto& c : cases)
    EXPECT_EQ(TpsCSSLineHeightAttribute(c.text).GetLineHeight(99, &canvas), c.pixels) << c.text;
}

TEST(CssAttributes, OtherAttributesApplyToTheSurface) {
  FakeStyleCanvas canvas;
  Make("font-family", "Verdana")->ApplyToCanvas(&canvas, nullptr);
  Make("font-weight", "700")->ApplyToCanvas(&canvas, nullptr);
  Make("font-style", "italic")->ApplyToCanvas(&canvas, nullptr);
  Make("color", "#0000ff")->ApplyToCanvas(&canvas, nullptr);
  EXPECT_EQ(canvas.FontName, "Verdana");
  EXPECT_TRUE(canvas.Bold);
  EXPECT_TRUE(canvas.Italic);
  EXPECT_EQ(canvas.Color, 0x00FF0000u);
  canvas.Changes = 0;
  Make("color", "currentColor")->ApplyToCanvas(&canvas, nullptr);
  Make("margin-top", "5px")->ApplyToCanvas(&canvas, nullptr);
  Make("text-decoration", "underline")->ApplyToCanvas(&canvas, nullptr);
  EXPECT_EQ(canvas.Changes, 0);
}

TEST(CssAttributeList, SlotsMergeAndCompare) {
  TpsCSSAttributeList list;
  EXPECT_EQ(list.GetAttribute(CSS_COLOR), nullptr);
  EXPECT_EQ(list.GetAttribute(-3), nullptr);
  EXPECT_EQ(list.GetAttribute(1000), nullptr);
  auto red = Make("color", "red");
  list.SetAttribute(*red);
  EXPECT_NE(list.GetAttribute(CSS_COLOR), red.get());  // a copy of its own
  list.SetAttribute(*Make("color", "blue"));
  EXPECT_EQ(list.GetColor(CSS_COLOR), 0x00FF0000u);
  EXPECT_EQ(list.Count(), 1);
  list.DeleteAttribute(CSS_COLOR);
  EXPECT_FALSE(list.HasAttribute(CSS_COLOR));
  EXPECT_THROW(list.GetColor(CSS_COLOR), EpsHtmlEditException);

  TpsCSSAttributeList a, b;
  a.SetAttribute(*Make("color", "red"));
  a.SetAttribute(*Make("margin-top", "2px"));
  b.SetAttribute(*Make("margin-top", "2px"));
  EXPECT_FALSE(a.SameAs(b));
  b.SetAttribute(*Make("color", "red"));
  EXPECT_TRUE(a.SameAs(b));
  b.SetAttribute(*Make("float", "left"));
  a.RemoveEqual(b);
  EXPECT_EQ(a.Count(), 0);
  a.MergeFrom(b);
  EXPECT_TRUE(a.SameAs(b));
  auto copy = TpsCSSAttributeList::CreateCopy(b);
  EXPECT_TRUE(copy->SameAs(b));
  EXPECT_EQ(copy->GetEnumValue(CSS_FLOAT), 1);
  EXPECT_EQ(copy->GetLengthInPixels(CSS_MARGIN_TOP), 2);

  EXPECT_EQ(a.GetTextAlign(), 0);
  a.SetTextAlign(3);
  EXPECT_EQ(a.GetTextAlign(), 3);
  a.SetTextAlign(0x82);  // seven bits
  EXPECT_EQ(a.GetTextAlign(), 2);
}

TEST(CssAttributeList, TextWithShorthandsAndFlags) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> attributes;
    const char* text;
  };
  const Case cases[] = {
      {{{"color", "red"}, {"margin-top", "2px"}, {"margin-bottom", "2px"}, {"margin-left", "2px"},
        {"margin-right", "2px"}},
       "margin:2px;color:red;"},
      {{{"margin-top", "2px"}, {"margin-bottom", "2px"}, {"margin-left", "2px"}},
       "margin-top:2px;margin-bottom:2px;margin-left:2px;"},
      {{{"padding-top", "0"}, {"padding-bottom", "0"}, {"padding-left", "0"}, {"padding-right", "0"}},
       "padding:0;"},
      // kept: equal border widths are "border-width" (was "border")
      {{{"border-top-width", "1px"}, {"border-bottom-width", "1px"}, {"border-left-width", "1px"},
        {"border-right-width", "1px"}, {"border-style", "solid"}},
       "border-width:1px;border-style:solid;"},
      {{{"margin-top", "1px"}, {"margin-bottom", "1px"}, {"margin-left", "1px"}, {"margin-right", "1PX"}},
       "margin:1px;"},
  };
  for (const auto& c : cases) {
    TpsCSSAttributeList list;
    for (const auto& [property, value] : c.attributes) list.SetAttribute(*Make(property, value));
    EXPECT_EQ(list.GetAsString(), c.text);
  }
  TpsCSSAttributeList list;
  list.SetAttribute(*Make("color", "red"));
  list.SetAttribute(*Make("float", "left"));
  list.LineBreaks = true;
  list.Indent = true;
  EXPECT_EQ(list.GetAsString(), "  color:red;\r\n  float:left;");
  list.DeleteAttribute(CSS_FLOAT);
  EXPECT_EQ(list.GetAsString(), "color:red;");  // one attribute: no indent
}
