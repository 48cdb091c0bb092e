// Style rules, the style sheet, the cascade cache and the style stack, and
// the tag-style look-ups and style-sheet readers built on them.
//
// Rows marked "kept" or "sides" differ from the old behaviour: values are
// written back as given, and "margin", "padding" and "border-width" take
// one to four values as CSS does.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "../support/StyleSheetLoader.h"
#include "htmledit/doc/psStyleSheets.h"
#include "htmledit/doc/psTagParser.h"
#include "htmledit/doc/psTagStyles.h"
#include "rtl/Files.h"

using namespace htmldoc;
using htmldoc::testing::FakeStyleCanvas;
using htmldoc::testing::LoadCss;
using htmldoc::testing::SheetSink;

namespace {

std::string Text(const TpsStyle& aStyle, Integer aId) {
  const TpsCSSAttribute* attribute = aStyle.Attributes().GetAttribute(aId);
  if (!attribute) return "-";
  return attribute->GetAsString() + (attribute->Important ? "!" : "");
}

}  // namespace

TEST(Style, DeclarationsAndUnknownOnes) {
  TpsStyle style(-1, "color: red; bogus: 1; margin:5px");
  EXPECT_EQ(style.Attributes().GetColor(CSS_COLOR), 0x000000FFu);
  for (Integer side : {CSS_MARGIN_TOP, CSS_MARGIN_BOTTOM, CSS_MARGIN_LEFT, CSS_MARGIN_RIGHT})
    EXPECT_EQ(style.Attributes().GetLengthInPixels(side), 5);
  EXPECT_EQ(style.GetAttributesAsString(), "margin:5px;color:red;bogus:1;");

  // ";" and ":" inside quotes and parentheses stay in their value.
  TpsStyle quoted(-1, "content: \"a;b:c\"; background: url(data:x;y) ;Color:blue");
  ASSERT_EQ(quoted.UnknownDeclarations().size(), 2u);
  EXPECT_EQ(quoted.UnknownDeclarations()[0].second, "\"a;b:c\"");
  EXPECT_EQ(quoted.UnknownDeclarations()[1].second, "url(data:x;y)");
  EXPECT_EQ(quoted.Attributes().GetColor(CSS_COLOR), 0x00FF0000u);

  TpsStyle lines(-1, "color:red;\n  Cursor : pointer ;\n no-colon ;");
  EXPECT_EQ(lines.GetAttributesAsString(), "color:red;cursor:pointer;");

  TpsStyle unknown(-1, "cursor:pointer");
  EXPECT_EQ(unknown.GetAttributesAsString(), "cursor:pointer;");
  unknown.AddUnknownDeclaration("CURSOR", "");
  EXPECT_EQ(unknown.GetAttributesAsString(), "");

  EXPECT_THROW(style.SetAttributeAsString("colour", "red"), EpsHtmlEditCssParserUnknownAttributeException);
  try {
    style.SetAttributeAsString("colour", "red");
  } catch (const rtl::Exception& e) {
    EXPECT_EQ(e.Message(), "TpsStyle.SetAttributeAsString: Unknown CSS attribute name \"colour\"");
  }
  try {
    style.SetAttributeAsString("margin", "1px 2px 3px 4px 5px");
    ADD_FAILURE() << "five margins accepted";
  } catch (const EpsHtmlEditCssParserInvalidAttributeValueException& e) {
    EXPECT_EQ(e.Message(), "TpsStyle.SetAttributeAsString: Invalid CSS attribute value \"1px 2px 3px 4px 5px\"");
  }
}

TEST(Style, BoxShorthands) {
  struct Case {
    const char* declaration;
    const char* top;
    const char* right;
    const char* bottom;
    const char* left;
  };
  const Case cases[] = {
      {"margin: 5px", "5px", "5px", "5px", "5px"},
      {"margin: 1px 2px", "1px", "2px", "1px", "2px"},  // sides (was 0 everywhere)
      {"margin: 1px 2px 3px", "1px", "2px", "3px", "2px"},
      {"margin: 1px 2px 3px 4px", "1px", "2px", "3px", "4px"},
      {"margin: 0 auto", "0", "auto", "0", "auto"},
      {"margin: 0 auto !important", "0!", "auto!", "0!", "auto!"},
      {"margin: calc(1px + 2px) 0", "calc(1px + 2px)", "0", "calc(1px + 2px)", "0"},
      {"padding: 1em 2em", "1em", "2em", "1em", "2em"},
      {"border-width: thin medium", "thin", "medium", "thin", "medium"},
  };
  for (const auto& c : cases) {
    TpsStyle style(-1, c.declaration);
    const bool border = std::string(c.declaration).rfind("border", 0) == 0;
    const bool padding = std::string(c.declaration).rfind("padding", 0) == 0;
    const Integer top = border ? CSS_BORDER_TOP_WIDTH : padding ? CSS_PADDING_TOP : CSS_MARGIN_TOP;
    const Integer right = border ? CSS_BORDER_RIGHT_WIDTH : padding ? CSS_PADDING_RIGHT : CSS_MARGIN_RIGHT;
    const Integer bottom = border ? CSS_BORDER_BOTTOM_WIDTH : padding ? CSS_PADDING_BOTTOM : CSS_MARGIN_BOTTOM;
    const Integer left = border ? CSS_BORDER_LEFT_WIDTH : padding ? CSS_PADDING_LEFT : CSS_MARGIN_LEFT;
    EXPECT_EQ(Text(style, top), c.top) << c.declaration;
    EXPECT_EQ(Text(style, right), c.right) << c.declaration;
    EXPECT_EQ(Text(style, bottom), c.bottom) << c.declaration;
    EXPECT_EQ(Text(style, left), c.left) << c.declaration;
  }
}

TEST(Style, BorderShorthands) {
  struct Case {
    const char* declarations;
    const char* widths;  // top right bottom left
    const char* borderStyle;
    const char* color;
  };
  const Case cases[] = {
      {"border: 2px ridge #ff0000", "2px 2px 2px 2px", "ridge", "red"},
      {"border: thin solid", "thin thin thin thin", "solid", "-"},  // kept (was widths 0)
      {"border-width: 3px; border: solid red", "3px 3px 3px 3px", "solid", "red"},  // widths left alone
      {"border: none", "- - - -", "none", "-"},
      {"border: 0", "0 0 0 0", "-", "-"},
      {"border: 1px solid rgba(0, 0, 0, 0.125)", "1px 1px 1px 1px", "solid",
       "rgba(0, 0, 0, 0.125)"},  // kept
      {"border-top: 3px dotted", "3px - - -", "dotted", "-"},
      {"border-left: 1em double blue", "- - - 1em", "double", "blue"},
      {"border: 1px solid red !important", "1px! 1px! 1px! 1px!", "solid!", "red!"},
      {"border: inherit", "inherit inherit inherit inherit", "inherit", "inherit"},
      {"border: 2px wavy", "- - - -", "-", "-"},  // kept whole, see below
  };
  for (const auto& c : cases) {
    TpsStyle style(-1, c.declarations);
    const std::string widths = Text(style, CSS_BORDER_TOP_WIDTH) + " " + Text(style, CSS_BORDER_RIGHT_WIDTH) +
                               " " + Text(style, CSS_BORDER_BOTTOM_WIDTH) + " " +
                               Text(style, CSS_BORDER_LEFT_WIDTH);
    EXPECT_EQ(widths, c.widths) << c.declarations;
    EXPECT_EQ(Text(style, CSS_BORDER_STYLE), c.borderStyle) << c.declarations;
    EXPECT_EQ(Text(style, CSS_BORDER_COLOR), c.color) << c.declarations;
  }
  // A word that is no width, style or colour keeps the declaration whole.
  TpsStyle unplaced(-1, "border: 1px var(--style) red; border-top: 2px wavy");
  EXPECT_EQ(unplaced.GetAttributesAsString(), "border:1px var(--style) red;border-top:2px wavy;");
  // Typed widths stay as computed: "thin" reads as 0 pixels.
  TpsStyle thin(-1, "border: thin solid");
  EXPECT_EQ(thin.Attributes().GetLengthInPixels(CSS_BORDER_TOP_WIDTH), 0);
}

TEST(Style, WrittenForms) {
  TpsStyle one(-1, "color:red");
  one.SetName("p");
  EXPECT_EQ(one.GetAsString(), "p { color:red; }");

  TpsStyle two(-1, "float:left; color:red");
  two.SetName("p");
  two.LineBreaks = two.MultiLine = two.BraceOnOwnLine = two.Indent = true;
  EXPECT_EQ(two.GetAsString(), "p\r\n{\r\n  color:red;\r\n  float:left;\r\n}");
  two.BraceOnOwnLine = false;
  EXPECT_EQ(two.GetAsString(), "p {\r\n  color:red;\r\n  float:left;\r\n}");
  two.MultiLine = false;
  two.LineBreaks = false;
  EXPECT_EQ(two.GetAsString(), "p { color:red;float:left; }");

  TpsStyle mixed(-1, "color:red; cursor:pointer");
  mixed.SetName("note");
  mixed.SetIsClass(true);
  EXPECT_EQ(mixed.GetAsString(), ".note { color:red;cursor:pointer; }");
  mixed.LineBreaks = mixed.MultiLine = mixed.Indent = true;
  EXPECT_EQ(mixed.GetAsString(), ".note {\r\n  color:red;\r\n  cursor:pointer;\r\n}");

  TpsStyle empty(-1, "");
  empty.SetName("p");
  EXPECT_EQ(empty.GetAsString(), "");

  auto copy = mixed.Clone();
  EXPECT_EQ(copy->GetSelector(), ".note");
  EXPECT_TRUE(copy->HasSameAttributes(mixed));
  EXPECT_EQ(copy->GetAttributesAsString(), mixed.GetAttributesAsString());
}

TEST(Style, ReadingsAndDeclarationRoutines) {
  struct Case {
    const char* declarations;
    double value;
    Byte unit;
  };
  const Case sizes[] = {
      {"font-size: 12pt", 12, 1}, {"font-size: 2pc", 2, 2},  {"font-size:1in", 1, 3},
      {"font-size:3mm", 3, 4},    {"font-size:1cm", 1, 5},   {"font-size:10px", 10, 6},
      {"font-size:2em", 2, 7},    {"font-size:1ex", 1, 8},   {"font-size:150%", 150, 9},
      {"font-size:small", 0, 0},  {"color:red", 0, 6},       {"font-size: 12 PT", 12, 1},
  };
  for (const auto& c : sizes) {
    const TpsFontSizeValue size = DeclarationsFontSize(c.declarations);
    EXPECT_DOUBLE_EQ(size.Value, c.value) << c.declarations;
    EXPECT_EQ(size.Unit, c.unit) << c.declarations;
  }
  EXPECT_EQ(DeclarationsFontFamily("font-family: Verdana; color: red"), "Verdana");
  EXPECT_EQ(DeclarationsFontFamily("color: red"), "");
  EXPECT_EQ(DeclarationsDifference("color:red; margin:1px; cursor:x", "color:red; margin:2px; float:left; cursor:x; z:1"),
            "margin:2px;float:left;z:1;");

  TpsStyle style(-1, "text-align: center; float: right");
  EXPECT_EQ(style.GetTextAlign(), 2);
  style.SetTextAlign(4);
  EXPECT_EQ(Text(style, CSS_TEXT_ALIGN), "justify");
  style.SetAttributeValue(CSS_FLOAT, 1);
  EXPECT_EQ(Text(style, CSS_FLOAT), "left");
  style.SetBackgroundColor("#000080");
  EXPECT_EQ(Text(style, CSS_BACKGROUND_COLOR), "navy");
}

TEST(StyleSheet, RulesSelectorsAndIds) {
  TpsStyleSheet sheet;
  EXPECT_EQ(sheet.GetCount(), 1);
  EXPECT_EQ(sheet.GetStyle(sheet.InternalEmptyId())->Name(), "internal-empty");
  const Integer note = sheet.AddStyle("Note", true, "color:red", true);
  EXPECT_EQ(sheet.AddStyle("Note", true, "color:blue", true), note);
  EXPECT_EQ(sheet.IndexOfStyle(".NOTE"), note);
  EXPECT_EQ(sheet.IndexOfStyle("note"), -1);
  EXPECT_EQ(sheet.GetStyle(note)->GetSelector(), ".Note");  // kept (was ".note")
  EXPECT_EQ(sheet.GetStyle(note)->Attributes().GetColor(CSS_COLOR), 0x000000FFu);
  EXPECT_EQ(sheet.FindStyle(".note"), sheet.GetStyle(note));
  EXPECT_EQ(sheet.GetStyle(99), nullptr);
  EXPECT_EQ(sheet.GetStyle(-1), nullptr);
  EXPECT_EQ(sheet.GetMaxStyleId(), 1);

  auto style = std::make_unique<TpsStyle>(77, "float:left");
  style->SetName("#MainMenu");
  const Integer menu = sheet.AddStyleObject(std::move(style));
  EXPECT_EQ(menu, 2);
  EXPECT_EQ(sheet.GetStyle(menu)->Id(), 2);
  EXPECT_EQ(sheet.IndexOfStyle("#mainmenu"), menu);
  EXPECT_EQ(sheet.GetFloat(menu), 0);
  EXPECT_EQ(sheet.GetFloat(note), 2);
  EXPECT_EQ(sheet.GetFloat(99), 2);
  EXPECT_TRUE(sheet.StyleHasAttribute(menu, CSS_FLOAT));
  EXPECT_FALSE(sheet.StyleHasAttribute(menu, CSS_COLOR));
  EXPECT_FALSE(sheet.StyleHasAttribute(99, CSS_FLOAT));

  sheet.AddStyle("h1", false, "font-family: Arial; font-size: 24pt", true);
  EXPECT_EQ(sheet.GetFontFamily("H1"), "Arial");
  EXPECT_DOUBLE_EQ(sheet.GetFontSize("h1").Value, 24);
  EXPECT_EQ(sheet.GetFontFamily("h2"), "");
  EXPECT_DOUBLE_EQ(sheet.GetFontSize("h2").Value, 0);
  EXPECT_EQ(sheet.GetFontSize("h2").Unit, 6);
}

TEST(StyleSheet, SetStyleAttributeAndUnknownProperties) {
  TpsStyleSheet sheet;
  EXPECT_THROW(sheet.SetStyleAttribute("p", "bogus", "1", false, nullptr),
               EpsHtmlEditCssParserUnknownAttributeException);
  std::vector<std::string> seen;
  bool remove = false;
  const auto handler = [&](TObjectPtr aSender, const AnsiString& aStyle, const AnsiString& aName, bool& ioDelete) {
    EXPECT_EQ(aSender, &sheet);
    seen.push_back(aStyle + "/" + aName);
    ioDelete = remove;
  };
  sheet.SetStyleAttribute("p", "bogus", "1", false, handler);
  remove = true;
  sheet.SetStyleAttribute("p", "other", "2", false, handler);
  sheet.SetStyleAttribute("note", "color", "red", true, handler);
  EXPECT_EQ(seen, (std::vector<std::string>{"p/bogus", "p/other"}));
  EXPECT_EQ(sheet.FindStyle("p")->GetAttributesAsString(), "bogus:1;");
  EXPECT_TRUE(sheet.FindStyle(".note")->IsClass());
  EXPECT_THROW(sheet.SetStyleAttribute("p", "margin", "1 2 3 4 5", false, handler),
               EpsHtmlEditCssParserInvalidAttributeValueException);
}

TEST(StyleSheet, WrittenSheetKeepsAtRulesInPlace) {
  TpsStyleSheet sheet;
  LoadCss(sheet,
          "@media print { p { color: red } }\n"
          "p { color: blue }\n"
          "@import url(\"a.css\");\n"
          "@charset \"utf-8\";\n"
          ".Note, #Top { float: left; cursor: pointer }\n"
          "@font-face { font-family: x; src: url(x.woff) }\n");
  sheet.AddStyle("internal-3", false, "color:red", false);
  EXPECT_EQ(sheet.GetAsString(),
            "@import url(\"a.css\");\r\n"
            "@charset \"utf-8\";\r\n"
            "p { color:blue; }\r\n"
            ".Note { float:left;cursor:pointer; }\r\n"
            "#Top { float:left;cursor:pointer; }\r\n"
            "@media print { p { color: red } }\r\n"
            "@font-face { font-family: x; src: url(x.woff) }");

  TpsStyleSheet beautiful;
  beautiful.Beautify = true;
  LoadCss(beautiful, "p { color: blue; float: left } b { color: red }");
  EXPECT_EQ(beautiful.GetAsString(), "p\r\n{\r\n  color:blue;\r\n  float:left;\r\n}\r\nb { color:red; }");
}

// What a reader took to the end of the text, or a value that holds a
// brace or a semicolon, is written so that it cannot swallow what follows.
TEST(StyleSheet, WrittenTextReadsBackTheSame) {
  TpsStyleSheet sheet;
  LoadCss(sheet, "p { color: red; background: url(a.png }");
  sheet.FindStyle("p")->SetAttributeAsString("width", "{;}");
  sheet.AddAtRule("@media print { q { color: red }");
  sheet.AddAtRule("@import 'x.css'");
  const AnsiString written = sheet.GetAsString();
  EXPECT_EQ(written, "@import 'x.css';\r\np { width:\\{\\;\\};color:red; }\r\n@media print { q { color: red }}");
  TpsStyleSheet again;
  LoadCss(again, written);
  EXPECT_EQ(again.GetAsString(), written);
}

TEST(StyleSheet, ErrorModesThroughTheSink) {
  TpsStyleSheet sheet;
  SheetSink sink(sheet);
  EXPECT_THROW(ApplyStyleSheetText("p { margin: 1 2 3 4 5 }", sink, cssErrorSkipUnknown),
               EpsHtmlEditCssParserException);
  EXPECT_NO_THROW(ApplyStyleSheetText("p { margin: 1 2 3 4 5; color: red }", sink, cssErrorSkipInvalid));
  EXPECT_EQ(sheet.FindStyle("p")->Attributes().GetColor(CSS_COLOR), 0x000000FFu);
  try {
    ApplyStyleSheetText("p { color: red }\n. { color: red }", sink, cssErrorAll);
    ADD_FAILURE();
  } catch (const EpsHtmlEditCssParserException& e) {
    EXPECT_EQ(e.Line, 1);
    EXPECT_NE(e.Message().find("empty style name!"), std::string::npos);
  }
}

TEST(ContextTree, CascadeReuseAndRebuild) {
  TpsStyleSheet sheet;
  const Integer body = sheet.AddStyle("body", false, "color:black; font-size:12pt", true);
  const Integer p = sheet.AddStyle("p", false, "color:blue", true);
  const Integer span = sheet.AddStyle("span", false, "font-weight:bold", true);
  TpsStyleContextTree tree(&sheet);
  int notified = 0;
  tree.Subscribe(&notified, [&](TObjectPtr aSender) {
    EXPECT_EQ(aSender, &tree);
    ++notified;
  });

  EXPECT_EQ(tree.GetAttributes({}), nullptr);
  const TpsCSSAttributeList* bodyP = tree.GetAttributes({body, p});
  EXPECT_EQ(tree.NodeCount(), 2);
  EXPECT_EQ(bodyP->GetColor(CSS_COLOR), 0x00FF0000u);
  const TpsCSSAttributeList* bodyPSpan = tree.GetAttributes({body, p, span});
  EXPECT_EQ(tree.NodeCount(), 3);  // the [body, p] node is reused
  EXPECT_EQ(tree.GetAttributes({body, p}), bodyP);
  EXPECT_EQ(bodyPSpan->GetEnumValue(CSS_FONT_WEIGHT), 1);
  EXPECT_EQ(bodyPSpan->GetColor(CSS_COLOR), 0x00FF0000u);

  // One root per first id: [p] is not [body].
  const TpsCSSAttributeList* justP = tree.GetAttributes({p});
  EXPECT_FALSE(justP->HasAttribute(CSS_FONT_SIZE));
  EXPECT_EQ(tree.NodeCount(), 4);

  // Ids newer than a node, and ids the sheet does not hold, answer.
  const Integer em = sheet.AddStyle("em", false, "font-style:italic", true);
  EXPECT_EQ(tree.GetAttributes({body, p, em})->GetEnumValue(CSS_FONT_STYLE), 1);
  EXPECT_TRUE(tree.GetAttributes({body, 4711})->SameAs(*tree.GetAttributes({body})));

  // After a change of the sheet both are rebuilt.
  sheet.FindStyle("p")->SetAttributeAsString("color", "green");
  tree.Invalidate();
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(tree.NodeCount(), 0);
  EXPECT_EQ(tree.GetAttributes({body, p})->GetColor(CSS_COLOR), 0x00008000u);
  EXPECT_EQ(tree.GetAttributes({body, p, span})->GetColor(CSS_COLOR), 0x00008000u);
  EXPECT_EQ(tree.NodeCount(), 3);
  tree.Unsubscribe(&notified);
}

TEST(ContextTree, SheetAndTreeLifetimes) {
  TpsStyleContextTree tree(nullptr);
  {
    TpsStyleSheet sheet;
    const Integer p = sheet.AddStyle("p", false, "color:red", true);
    tree.SetStyleSheet(&sheet);
    EXPECT_TRUE(tree.GetAttributes({p})->HasAttribute(CSS_COLOR));
  }
  // The sheet detached itself on its way out.
  EXPECT_EQ(tree.StyleSheet(), nullptr);
  EXPECT_FALSE(tree.GetAttributes({1})->HasAttribute(CSS_COLOR));

  TpsStyleSheet sheet;
  { TpsStyleContextTree shortLived(&sheet); }
  EXPECT_FALSE(sheet.OnDestroy);
}

TEST(StyleStack, LevelsMarkersAndSavedStates) {
  TpsStyleSheet sheet;
  const Integer a = sheet.AddStyle("a", false, "color:red", true);
  const Integer b = sheet.AddStyle("b", false, "font-weight:bold", true);
  TpsStyleContextTree tree(&sheet);
  TpsStyleStack stack(&tree);
  stack.BeginLevel();
  stack.PushStyle(a);
  const Integer before = stack.Count();
  stack.BeginLevel();
  stack.PushStyle(a);
  stack.PushSeparator();
  stack.PushStyle(b);
  EXPECT_EQ(stack.GetEnumAttribute(CSS_FONT_WEIGHT), 1);
  stack.EndLevel();
  EXPECT_EQ(stack.Count(), before);
  EXPECT_THROW(stack.GetEnumAttribute(CSS_FONT_WEIGHT), EpsHtmlEditException);
  EXPECT_EQ(stack.GetColor(CSS_COLOR), 0x000000FFu);

  stack.SaveState(1);
  stack.BeginLevel();
  stack.PushStyle(b);
  EXPECT_EQ(stack.GetEnumAttribute(CSS_FONT_WEIGHT), 1);
  stack.RestoreState(1);
  EXPECT_EQ(stack.Count(), before);
  EXPECT_FALSE(stack.GetAttributes()->HasAttribute(CSS_FONT_WEIGHT));

  // A notification of the tree drops the cached cascade.
  sheet.FindStyle("a")->SetAttributeAsString("color", "blue");
  tree.Invalidate();
  EXPECT_EQ(stack.GetColor(CSS_COLOR), 0x00FF0000u);

  TpsStyleStack empty(&tree);
  EXPECT_EQ(empty.GetAttributes(), nullptr);
  EXPECT_EQ(empty.GetPosition(), 0);
  EXPECT_EQ(empty.GetLineHeightAttribute(), nullptr);
  empty.EndLevel();  // nothing to pop
  EXPECT_EQ(empty.Count(), 0);
}

TEST(StyleStack, AppliesOnlyChangesToTheSurface) {
  TpsStyleSheet sheet;
  const Integer body = sheet.AddStyle("body", false, "font-family:Times; font-size:12pt; color:black", true);
  const Integer b = sheet.AddStyle("b", false, "font-weight:bold", true);
  const Integer same = sheet.AddStyle("same", false, "color:black", true);
  const Integer big = sheet.AddStyle("big", false, "font-size:2em", true);
  TpsStyleContextTree tree(&sheet);
  TpsStyleStack stack(&tree);
  FakeStyleCanvas canvas;
  stack.SetCanvas(&canvas);

  stack.BeginLevel();
  stack.PushStyle(body);
  EXPECT_EQ(canvas.FontName, "Times");
  EXPECT_EQ(canvas.Height, -16);
  EXPECT_EQ(canvas.Changes, 3);

  canvas.Changes = 0;
  stack.BeginLevel();
  stack.PushStyle(same);  // nothing differs
  EXPECT_EQ(canvas.Changes, 0);
  stack.PushStyle(b);
  EXPECT_TRUE(canvas.Bold);
  EXPECT_EQ(canvas.Changes, 1);

  // Leaving a level does not undo what only the old cascade had.
  canvas.Changes = 0;
  stack.EndLevel();
  EXPECT_TRUE(canvas.Bold);
  EXPECT_EQ(canvas.Changes, 0);

  stack.BeginLevel();
  stack.PushStyle(big);
  EXPECT_EQ(canvas.Height, -32);
  EXPECT_EQ(stack.GetFontPixelSize(), 32);
  stack.EndLevel();
  EXPECT_EQ(canvas.Height, -16);  // the font size differs again

  stack.SetCanvas(nullptr);
  stack.BeginLevel();
  stack.PushStyle(big);
  EXPECT_EQ(canvas.Height, -16);
  stack.SetCanvas(&canvas);
  EXPECT_NE(stack.ApplyToCanvas(), nullptr);
  EXPECT_EQ(canvas.Height, -32);
}

TEST(StyleStack, FontSizesOffsetsAndLineHeights) {
  TpsStyleSheet sheet;
  LoadCss(sheet,
          "body { font-size: 12pt; line-height: 1.5 }\n"
          "p { font-size: 150% }\n"
          "span { color: red }\n"
          "sup { position: relative; bottom: 0.67em; font-size: 0.67em }\n"
          "sub { position: relative; top: 0.20em; font-size: 0.67em }\n"
          "small { font-size: small }\n"
          "rel { position: relative; top: -4px }\n");
  TpsStyleContextTree tree(&sheet);
  TpsStyleStack stack(&tree);
  FakeStyleCanvas canvas;
  stack.SetCanvas(&canvas);
  const auto level = [&](const char* aName) {
    stack.BeginLevel();
    stack.PushStyle(sheet.IndexOfStyle(aName));
  };
  EXPECT_EQ(stack.GetFontPixelSize(), 12);  // nothing on the stack
  level("body");
  EXPECT_EQ(stack.GetFontPixelSize(), 16);
  level("p");
  EXPECT_EQ(stack.GetFontPixelSize(), 24);
  level("span");  // sets no size: the size of p stands
  EXPECT_EQ(stack.GetFontPixelSize(), 24);
  EXPECT_EQ(canvas.Height, -24);
  level("sup");
  EXPECT_EQ(stack.GetFontPixelSize(), 16);  // 0.67 x 24 = 16.08
  EXPECT_EQ(stack.GetPosition(), 1);
  EXPECT_EQ(stack.GetRelativeTopOffset(), -11);  // 0.67em of 16 pixels, upwards
  EXPECT_EQ(stack.GetRelativeLeftOffset(), 0);
  stack.EndLevel();
  level("sub");
  EXPECT_EQ(stack.GetRelativeTopOffset(), 3);  // 0.20em of 16 pixels
  stack.EndLevel();
  level("small");  // a keyword: the size below stands
  EXPECT_EQ(stack.GetFontPixelSize(), 24);
  stack.EndLevel();
  level("rel");
  EXPECT_EQ(stack.GetRelativeTopOffset(), 0);  // negative offsets count as 0
  stack.EndLevel();
  const TpsCSSLineHeightAttribute* lineHeight = stack.GetLineHeightAttribute();
  ASSERT_NE(lineHeight, nullptr);
  EXPECT_EQ(lineHeight->GetLineHeight(0, &canvas), 36);
  const TpsCSSAttributeSequence sizes = stack.GetAttributeSequence(CSS_FONT_SIZE);
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0]->GetAsString(), "12pt");
  EXPECT_EQ(sizes[1]->GetAsString(), "150%");
}

// Box offsets in pixels: lengths by their unit at 96 pixels per inch; em,
// ex and percentages against the font size the stack computes for the
// level, 12 pixels without one; negative offsets count as 0; the sign
// follows the side.
TEST(StyleStack, BoxOffsetsInPixels) {
  TpsStyleSheet sheet;
  LoadCss(sheet, "body { font-size: 20px }");
  TpsStyleContextTree tree(&sheet);
  TpsStyleStack stack(&tree);
  FakeStyleCanvas canvas;
  stack.SetCanvas(&canvas);
  stack.BeginLevel();
  stack.PushStyle(sheet.IndexOfStyle("body"));
  ASSERT_EQ(stack.GetFontPixelSize(), 20);
  struct Case {
    const char* property;
    const char* value;
    Integer withoutStack;  // base 12
    Integer onTheStack;    // base 20
  };
  const Case cases[] = {
      {"top", "10px", 10, 10},       {"top", "1in", 96, 96},        {"top", "2.54cm", 96, 96},
      {"top", "25.4mm", 96, 96},     {"top", "12pt", 16, 16},       {"top", "1pc", 16, 16},
      {"top", "1em", 12, 20},        {"top", "2ex", 12, 20},        {"top", "50%", 6, 10},
      {"top", "0.625em", 8, 12},  // 7.5 and 12.5 round to even
      {"top", "-4px", 0, 0},         {"top", "-1em", 0, 0},         {"top", "auto", 0, 0},
      {"top", "inherit", 0, 0},      {"top", "calc(1em + 2px)", 0, 0},
      {"bottom", "10px", -10, -10},  {"bottom", "1em", -12, -20},   {"left", "25%", 3, 5},
      {"right", "10px", -10, -10},
  };
  for (const auto& c : cases) {
    auto attribute = CreateCssAttribute(TpsCSSAttributeIdList::IndexOf(c.property), c.value);
    const auto* offset = dynamic_cast<const TpsCSSBoxOffsetAttribute*>(attribute.get());
    ASSERT_NE(offset, nullptr) << c.property;
    EXPECT_EQ(offset->GetOffsetInPixels(&canvas, nullptr), c.withoutStack) << c.property << ": " << c.value;
    EXPECT_EQ(offset->GetOffsetInPixels(&canvas, &stack), c.onTheStack) << c.property << ": " << c.value;
  }
}

// Random pushes, pops and restores, with the sheet changing now and then:
// the cached cascade is always the plain merge of the styles in order.
TEST(StyleStack, RandomSequencesMatchAPlainMerge) {
  static const char* const kDeclarations[] = {
      "color:red",         "color:blue; font-weight:bold", "font-size:2em; margin:1px 2px",
      "float:left",        "text-align:center; color:#123456", "border:1px solid red",
      "font-style:italic", "line-height:1.5; width:50%",   "text-decoration:underline",
  };
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    TpsStyleSheet sheet;
    for (const char* declarations : kDeclarations)
      sheet.AddStyle("s" + std::to_string(sheet.GetCount()), false, declarations, true);
    TpsStyleContextTree tree(&sheet);
    TpsStyleStack cached(&tree);
    FakeStyleCanvas canvas;
    cached.SetCanvas(&canvas);
    for (int step = 0; step < 300; ++step) {
      const unsigned action = random() % 10;
      if (action < 4) {
        cached.PushStyle(static_cast<Integer>(random() % (sheet.GetCount() + 1)));  // one id beyond
      } else if (action < 6) {
        cached.BeginLevel();
      } else if (action == 6) {
        cached.PushSeparator();
      } else if (action == 7) {
        cached.EndLevel();
      } else if (action == 8) {
        const Integer slot = 1 + static_cast<Integer>(random() % 4);
        if (random() % 2)
          cached.SaveState(slot);
        else
          cached.RestoreState(slot);
      } else {
        const Integer id = 1 + static_cast<Integer>(random() % (sheet.GetCount() - 1));
        sheet.GetStyle(id)->SetAttributeAsString("color", random() % 2 ? "green" : "navy");
        if (random() % 4 == 0) sheet.AddStyle("n" + std::to_string(step), false, "font-weight:bold", true);
        tree.Invalidate();
      }
      TpsCSSAttributeList expected;
      bool any = false;
      for (Integer i = 0; i < cached.Count(); ++i) {
        if (cached.Item(i) < 0) continue;
        any = true;
        if (const TpsStyle* style = sheet.GetStyle(cached.Item(i))) expected.MergeFrom(style->Attributes());
      }
      const TpsCSSAttributeList* cascade = cached.GetAttributes();
      ASSERT_EQ(cascade != nullptr, any) << "seed " << seed << " step " << step;
      if (cascade) {
        ASSERT_TRUE(cascade->SameAs(expected)) << "seed " << seed << " step " << step;
      }
      // A stack without a cache of its own agrees too.
      TpsStyleContextTree fresh(&sheet);
      TpsStyleStack uncached(&fresh);
      uncached.Assign(cached);
      const TpsCSSAttributeList* direct = uncached.GetAttributes();
      if (cascade) {
        ASSERT_TRUE(direct && direct->SameAs(*cascade)) << "seed " << seed << " step " << step;
      }
      fresh.SetStyleSheet(nullptr);
    }
  }
}

TEST(TagStyles, FontFamilyAndSizeOfATag) {
  TpsStyleSheet sheet;
  LoadCss(sheet,
          "p { font-family: Georgia; font-size: 14px }\n"
          ".x { color: red }\n"
          ".Big { font-family: Impact; font-size: 3em }\n");
  struct Case {
    const char* tag;
    const char* family;
    double size;
    Byte unit;
  };
  const Case cases[] = {
      {"<p style=\"font-family: Arial; font-size: 10pt\" class=\"big\">", "Arial", 10, 1},
      {"<p class=\"big\">", "Impact", 3, 7},
      {"<p class=\"x\">", "Georgia", 14, 6},
      {"<p>", "Georgia", 14, 6},
      {"<div>", "", 0, 6},
      {"<div style=\"color:red\" class=\"x\">", "", 0, 6},
      {"<p style=\"font-size: small\">", "Georgia", 14, 6},
  };
  for (const auto& c : cases) {
    const TpsMarkupTag tag(c.tag);
    EXPECT_EQ(GetTagFontFamily(tag, sheet), c.family) << c.tag;
    const TpsFontSizeValue size = GetTagFontSize(tag, sheet);
    EXPECT_DOUBLE_EQ(size.Value, c.size) << c.tag;
    EXPECT_EQ(size.Unit, c.unit) << c.tag;
  }
}

namespace {

struct RecordingSink final : TpsStyleSheetSink {
  void SetStyleAttribute(const AnsiString& s, const AnsiString& p, const AnsiString& v) override {
    calls.push_back(s + "|" + p + "|" + v);
  }
  void AddAtRule(const AnsiString& a) override { calls.push_back(a); }
  std::vector<std::string> calls;
};

// The readers' CSS reaches the parser through a sink that also sees the
// text's line ends through the error position.
std::string WriteTemp(const std::string& aName, const std::string& aBytes) {
  const std::string path = std::string(TOLVANE_BIN_DIR) + "/" + aName;
  rtl::WriteFileAtomically(path, aBytes);
  return path;
}

}  // namespace

TEST(TagStyles, StyleSheetFiles) {
  RecordingSink sink;
  const std::string path = WriteTemp("htmldoc-two-lines.css", "p { color: red }\nb { x: y; bad");
  ApplyStyleSheetFile(path, sink, cssErrorAll);
  EXPECT_EQ(sink.calls, (std::vector<std::string>{"p|color|red", "b|x|y"}));

  // Two lines, each followed by a CR: an error on the second reports line 1.
  struct Failing final : TpsStyleSheetSink {
    void SetStyleAttribute(const AnsiString&, const AnsiString& p, const AnsiString&) override {
      if (p == "bad") throw EpsHtmlEditCssParserUnknownAttributeException("no");
    }
    void AddAtRule(const AnsiString&) override {}
  } failing;
  const std::string crlf = WriteTemp("htmldoc-crlf.css", "p { a: 1 }\r\nq { bad: 1 }\r\n");
  try {
    ApplyStyleSheetFile(crlf, failing, cssErrorAll);
    ADD_FAILURE();
  } catch (const EpsHtmlEditCssParserException& e) {
    EXPECT_EQ(e.Line, 1);
    EXPECT_EQ(e.Column, 12);
  }

  // Latin-1 text is read as windows-1252.
  RecordingSink latin;
  ApplyStyleSheetFile(WriteTemp("htmldoc-latin.css", "p { font-family: \"Caf\xE9\" }"), latin, cssErrorAll);
  EXPECT_EQ(latin.calls, (std::vector<std::string>{"p|font-family|\"Caf\xC3\xA9\""}));

  TpsStyleSheet sheet;
  SheetSink sheetSink(sheet);
  const Integer before = sheet.GetCount();
  try {
    ApplyStyleSheetFile(std::string(TOLVANE_BIN_DIR) + "/no-such.css", sheetSink, cssErrorAll);
    ADD_FAILURE();
  } catch (const rtl::EInOutError& e) {
    EXPECT_EQ(e.Message(), "Stylesheet file not found " + std::string(TOLVANE_BIN_DIR) + "/no-such.css");
  }
  EXPECT_EQ(sheet.GetCount(), before);
}

TEST(TagStyles, DockedNodeList) {
  struct Node final : TpsDockedNode {};
  Node first, second;
  TpsDockedAdultNodeList list;
  EXPECT_EQ(list.Add(&first), 0);
  EXPECT_EQ(list.Add(&second), 1);
  EXPECT_EQ(list.GetNode(1), &second);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.GetNode(2), rtl::EListError);
  EXPECT_THROW(list.GetNode(-1), rtl::EListError);
}
