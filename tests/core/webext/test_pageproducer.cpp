#include <gtest/gtest.h>

#include "rtl/PageProducer.h"
#include "rtl/StringList.h"

namespace {

// Replaces each tag by "[name|param|param...]".
std::string Produce(const std::string& doc, bool stripQuotes) {
  rtl::TPageProducer producer;
  producer.SetStripParamQuotes(stripQuotes);
  producer.OnHTMLTag = [&](rtl::TPageProducer* sender, const rtl::AnsiString& name, rtl::TStrings& params,
                           rtl::AnsiString& replaceText) {
    EXPECT_EQ(sender, &producer);
    replaceText = "[" + name;
    for (int i = 0; i < params.Count(); ++i) replaceText += "|" + params.Get(i);
    replaceText += "]";
  };
  return producer.ContentFromString(doc);
}

TEST(PageProducer, ReplacesHashTagsAndKeepsEverythingElse) {
  struct Case {
    const char* doc;
    const char* kept;      // StripParamQuotes off
    const char* stripped;  // on
  };
  const Case cases[] = {
      {"no tags <p>at all</p>\r\n", "no tags <p>at all</p>\r\n", "no tags <p>at all</p>\r\n"},
      {"a<#name>b", "a[name]b", "a[name]b"},
      {"<#t x=\"1\" y=\"two words\" />", "[t|x=\"1\"|y=\"two words\"]", "[t|x=1|y=two words]"},
      {"<#t x=\"a>b\"/>.", "[t|x=\"a>b\"].", "[t|x=a>b]."},
      {"<#t\r\n  x=\"1\"\r\n>", "[t|x=\"1\"]", "[t|x=1]"},
      {"<#t flag other=x>", "[t|flag|other=x]", "[t|flag|other=x]"},
      {"<#t a=\"1\"><#u>", "[t|a=\"1\"][u]", "[t|a=1][u]"},
      {"unclosed <#t a=\"1\" and more", "unclosed <#t a=\"1\" and more", "unclosed <#t a=\"1\" and more"},
      {"<#t a=\"x <#u> y\"> <#v>", "[t|a=\"x <#u> y\"] [v]", "[t|a=x <#u> y] [v]"},
      {"<# x>", "[|x]", "[|x]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.doc);
    EXPECT_EQ(Produce(c.doc, false), c.kept);
    EXPECT_EQ(Produce(c.doc, true), c.stripped);
  }
}

TEST(PageProducer, WithoutAHandlerTagsVanish) {
  rtl::TPageProducer producer;
  EXPECT_TRUE(producer.StripParamQuotes());
  producer.SetHTMLDoc("a<#t x=\"1\">b");
  EXPECT_EQ(producer.HTMLDoc(), "a<#t x=\"1\">b");
  EXPECT_EQ(producer.Content(), "ab");
}

}  // namespace
