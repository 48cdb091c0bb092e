// The tag payload: construction, the cached code and style ids answered
// from a real style sheet as the editor answers them, typed attributes,
// tag pairs and image alignment.
//
// Rows marked "mended" differ from a tag whose cached ids went stale when
// "style" or "class" changed through the markup tag's own operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ChunkFixture.h"
#include "../support/StyleSheetLoader.h"
#include "htmledit/doc/psDataChunk.h"
#include "htmledit/doc/psHtmlTag.h"

using namespace htmldoc;
using htmldoc::testing::SheetEvents;

namespace {

struct Counted {
  TpsHtmlTagEventsRef events;
  int selectorAsks = 0;
  int styleAsks = 0;
};

// The sheet's events, counting how often a tag asks.
Counted CountingEvents(TpsStyleSheet& aSheet) {
  Counted counted;
  auto base = SheetEvents(aSheet);
  auto events = std::make_shared<TpsHtmlTagEvents>(*base);
  int* selectorAsks = &counted.selectorAsks;
  int* styleAsks = &counted.styleAsks;
  events->OnSelectorToId = [base, selectorAsks](TpsHtmlTag* t, const AnsiString& s, Integer& id) {
    ++*selectorAsks;
    base->OnSelectorToId(t, s, id);
  };
  events->OnStyleAttributeToId = [base, styleAsks](TpsHtmlTag* t, const AnsiString& s, Integer& id) {
    ++*styleAsks;
    base->OnStyleAttributeToId(t, s, id);
  };
  counted.events = events;
  return counted;
}

}  // namespace

TEST(HtmlTag, MadeFromCodesAndTexts) {
  struct Case {
    Byte code;
    Byte type;
    const char* text;
  };
  const Case cases[] = {{TAG_P, ttClosing, "</p>"}, {TAG_BR, ttEmpty, "<br />"}, {TAG_DIV, ttOpening, "<div>"},
                        {TAG_CUST, ttOpening, "<@cust>"}};
  for (const auto& c : cases) {
    TpsHtmlTag tag(nullptr, c.code, c.type);
    EXPECT_EQ(tag.GetText(), c.text);
    EXPECT_EQ(tag.GetTagCode(), c.code);
  }
  auto tag = TpsHtmlTag::CreateFromText(nullptr, "<TD class='' Width=50%>");
  EXPECT_EQ(tag->GetName(), "td");
  EXPECT_EQ(tag->GetAttribute("width"), "50%");
  EXPECT_TRUE(tag->HasAttribute("class"));  // empty attributes kept
  EXPECT_EQ(tag->GetTagCode(), TAG_TD);
  EXPECT_EQ(TpsHtmlTag::CreateFromText(nullptr, "<blink>")->GetTagCode(), TAG_UNKNOWN);
}

TEST(HtmlTag, CachedIdsFromTheSheet) {
  TpsStyleSheet sheet;
  htmldoc::testing::LoadCss(sheet, "p { color: red } .note { float: left } .x { color: blue }");
  Counted counted = CountingEvents(sheet);
  auto tag = TpsHtmlTag::CreateFromText(counted.events, "<p class=\"note\" style=\"color:green\">");
  EXPECT_EQ(tag->GetTagStyleId(), sheet.IndexOfStyle("p"));
  EXPECT_EQ(tag->GetTagStyleId(), sheet.IndexOfStyle("p"));
  EXPECT_EQ(tag->GetClassStyleId(), sheet.IndexOfStyle(".note"));
  EXPECT_EQ(counted.selectorAsks, 2);  // each asked once
  const Integer inlineId = tag->GetStyleAttributeId();
  EXPECT_EQ(sheet.GetStyle(inlineId)->Name(), "internal-" + std::to_string(inlineId));
  EXPECT_EQ(tag->GetStyleAttributeId(), inlineId);
  EXPECT_EQ(counted.styleAsks, 1);

  // Two tags with the same inline text share one internal rule.
  auto other = TpsHtmlTag::CreateFromText(counted.events, "<span style=\"color: green\">");
  EXPECT_EQ(other->GetStyleAttributeId(), inlineId);

  // Renaming resets the code and the tag-name id only.
  tag->SetName("div");
  EXPECT_EQ(tag->CachedTagCode(), TAG_UNKNOWN);
  EXPECT_EQ(tag->CachedTagStyleId(), psStyleIdNotAsked);
  EXPECT_EQ(tag->CachedClassStyleId(), sheet.IndexOfStyle(".note"));
  EXPECT_EQ(tag->GetTagCode(), TAG_DIV);

  // Through the markup tag's own operations (mended rows).
  tag->SetAttribute("class", "x");
  EXPECT_EQ(tag->CachedClassStyleId(), psStyleIdNotAsked);
  EXPECT_EQ(tag->GetClassStyleId(), sheet.IndexOfStyle(".x"));
  tag->RemoveAttribute("class");  // mended: resets too
  EXPECT_EQ(tag->CachedClassStyleId(), psStyleIdNotAsked);
  tag->SetAttribute("style", "color:red");  // mended
  EXPECT_EQ(tag->CachedStyleAttributeId(), psStyleIdNotAsked);
  EXPECT_NE(tag->GetStyleAttributeId(), inlineId);
  tag->RemoveAttribute("STYLE");  // mended
  EXPECT_EQ(tag->GetStyleAttributeId(), -1);

  // A tag without class asks for "." once; an empty style asks nothing.
  Counted fresh = CountingEvents(sheet);
  auto plain = TpsHtmlTag::CreateFromText(fresh.events, "<p style=\"\">");
  EXPECT_EQ(plain->GetClassStyleId(), -1);
  EXPECT_EQ(plain->GetClassStyleId(), -1);
  EXPECT_EQ(fresh.selectorAsks, 1);
  EXPECT_EQ(plain->GetStyleAttributeId(), -1);
  EXPECT_EQ(fresh.styleAsks, 0);

  // Without events nothing is asked: ids read -1.
  auto lonely = TpsHtmlTag::CreateFromText(nullptr, "<p class=\"note\" style=\"color:red\">");
  EXPECT_EQ(lonely->GetTagStyleId(), -1);
  EXPECT_EQ(lonely->GetClassStyleId(), -1);
  EXPECT_EQ(lonely->GetStyleAttributeId(), -1);
}

TEST(HtmlTag, SettingStyleIdsWritesAttributes) {
  TpsStyleSheet sheet;
  htmldoc::testing::LoadCss(sheet, ".Note { float: left }");
  auto events = SheetEvents(sheet);
  auto tag = TpsHtmlTag::CreateFromText(events, "<img class=\"gone\" style=\"float:left\">");
  tag->SetClassStyleId(-1);
  EXPECT_EQ(tag->GetAttribute("class"), "gone");  // a class the sheet lacks survives
  tag->SetClassStyleId(sheet.IndexOfStyle(".note"));
  EXPECT_EQ(tag->GetAttribute("class"), "Note");  // the rule's own case
  tag->RemoveClass();
  EXPECT_FALSE(tag->HasAttribute("class"));
  tag->SetStyleAttributeId(-1);
  EXPECT_FALSE(tag->HasAttribute("style"));
  Integer id = -1;
  events->OnStyleAttributeToId(tag.get(), "color: red; float: right", id);
  tag->SetStyleAttributeId(id);
  EXPECT_EQ(tag->GetAttribute("style"), "color:red;float:right;");
  EXPECT_EQ(tag->GetStyleAttributeId(), id);

  auto copy = TpsHtmlTag::CreateCopy(*tag);
  EXPECT_EQ(copy->CachedStyleAttributeId(), id);
  EXPECT_EQ(copy->Events(), events);
  EXPECT_TRUE(copy->Equals(*tag));
}

TEST(HtmlTag, TypedAttributes) {
  struct Case {
    const char* text;
    Integer width;
    bool hasWidth;
  };
  const Case cases[] = {
      {"<td width=\"50%\">", -50, true}, {"<td width=\"%50\">", 0, false}, {"<td width=\"30\">", 30, true},
      {"<table width=\"100%\">", -100, true}, {"<img width=\"abc\">", 0, false}, {"<img width=\"12\">", 12, true},
      {"<img width=\"50%\">", 0, false}, {"<tr width=\"40\">", 0, false}, {"<td>", 0, false},
  };
  for (const auto& c : cases) {
    auto tag = TpsHtmlTag::CreateFromText(nullptr, c.text);
    EXPECT_EQ(tag->GetWidth(), c.width) << c.text;
    EXPECT_EQ(tag->HasWidth(), c.hasWidth) << c.text;
  }
  auto td = TpsHtmlTag::CreateFromText(nullptr, "<td>");
  td->SetWidth(-30);
  EXPECT_EQ(td->GetAttribute("width"), "30%");
  td->SetHeight(7);
  EXPECT_EQ(td->GetHeight(), 7);
  auto img = TpsHtmlTag::CreateFromText(nullptr, "<img>");
  img->SetWidth(-30);
  EXPECT_EQ(img->GetAttribute("width"), "-30");

  struct AlignCase {
    const char* text;
    Byte align;
  };
  const AlignCase aligns[] = {{"<img align=\"Left\">", 0}, {"<img align=\"RIGHT\">", 1}, {"<img align=\"Middle\">", 2},
                              {"<img align=\"center\">", 2}, {"<img align=\"top\">", 3}, {"<img align=\"bottom\">", 4},
                              {"<img>", 2}};
  for (const auto& c : aligns) EXPECT_EQ(TpsHtmlTag::CreateFromText(nullptr, c.text)->GetAlign(), c.align) << c.text;
  img->SetAlign(5);
  EXPECT_FALSE(img->HasAttribute("align"));
  img->SetAlign(3);
  EXPECT_EQ(img->GetAttribute("align"), "top");
  img->SetAlign(9);
  EXPECT_EQ(img->GetAttribute("align"), "top");
  img->SetAlign(5);
  EXPECT_FALSE(img->HasAttribute("align"));

  auto table = TpsHtmlTag::CreateFromText(nullptr, "<table cellspacing=\"2\" cellpadding=\"x\">");
  EXPECT_EQ(table->GetCellSpacing(), 2);
  EXPECT_EQ(table->GetCellPadding(), -1);
  table->SetCellPadding(4);
  EXPECT_EQ(table->GetCellPadding(), 4);
}

TEST(HtmlTag, PairsAndImageAlignment) {
  std::unique_ptr<TpsHtmlTag> open, close;
  CreateTagPair(nullptr, "<span class=\"a\" style=\"color:red\">", open, close);
  EXPECT_EQ(open->GetText(), "<span class=\"a\" style=\"color:red\">");
  EXPECT_EQ(close->GetText(), "</span>");
  CreateCustomTagPair("<x-y a=\"1\">", nullptr, open, close);
  EXPECT_EQ(open->GetTagCode(), TAG_CUST);
  EXPECT_EQ(close->GetTagType(), ttClosing);
  EXPECT_EQ(close->CustomSource, "<x-y a=\"1\">");
  EXPECT_TRUE(IsFloatingAlignment(0));
  EXPECT_TRUE(IsFloatingAlignment(1));
  EXPECT_FALSE(IsFloatingAlignment(2));

  TpsStyleSheet sheet;
  htmldoc::testing::LoadCss(sheet, ".left { float: left } .right { float: right }");
  auto events = SheetEvents(sheet);
  const TpsStyleIdEvent toId = events->OnStyleAttributeToId;
  struct Case {
    const char* tag;
    Byte align;
    const char* text;
    Byte read;
  };
  const Case cases[] = {
      {"<img class=\"left\">", 1, "<img class=\"left\" style=\"float:right;\">", 1},
      {"<img>", 1, "<img align=\"right\">", 1},
      {"<img class=\"right\" style=\"float:right;color:red\">", 1, "<img class=\"right\" style=\"color:red;\">", 1},
      {"<img style=\"float:left\">", 1, "<img style=\"float:right;\">", 1},
      {"<img style=\"float:left\" align=\"left\">", 3, "<img align=\"top\">", 3},
      {"<img align=\"left\">", 5, "<img>", 2},
  };
  for (const auto& c : cases) {
    auto tag = TpsHtmlTag::CreateFromText(events, c.tag);
    SetTagAlignment(*tag, c.align, sheet, toId);
    EXPECT_EQ(tag->GetText(), c.text) << c.tag;
    EXPECT_EQ(GetTagAlignment(*tag, sheet), c.read) << c.tag;
  }
  auto tag = TpsHtmlTag::CreateFromText(events, "<img style=\"color:red\">");
  SetInlineFloat(*tag, 3, sheet, toId);  // no float: nothing happens
  EXPECT_EQ(tag->GetAttribute("style"), "color:red");
  SetInlineFloat(*tag, 2, sheet, toId);
  EXPECT_EQ(tag->GetAttribute("style"), "color:red;float:none;");
}
