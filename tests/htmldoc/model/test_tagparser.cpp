// The markup tag: parsing both attribute rules, attribute editing, text
// output, hooks and events, and the tag list.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "htmledit/doc/psTagParser.h"

using namespace htmldoc;

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

Attributes AttributesOf(const TpsMarkupTag& tag) {
  Attributes result;
  for (Integer i = 0; i < tag.GetAttributeCount(); ++i)
    result.emplace_back(tag.GetAttributeName(i), tag.GetAttributeValue(i));
  return result;
}

struct Flags {
  bool caseSensitive = false;
  bool removeEmpty = false;
  bool quotedOnly = false;
};

}  // namespace

TEST(MarkupTag, ParsesNamesTypesAndAttributes) {
  struct Case {
    const char* text;
    Flags flags;
    const char* name;
    Byte type;
    Attributes attributes;
  };
  const Flags lenient;
  const Flags strict{false, false, true};
  const Flags removeEmpty{false, true, false};
  const Flags caseSensitive{true, false, false};
  const Case cases[] = {
      {"<P ALIGN=center>", lenient, "p", ttOpening, {{"align", "center"}}},
      {"<P ALIGN=Center>", caseSensitive, "P", ttOpening, {{"ALIGN", "Center"}}},
      {"<br/>", lenient, "br", ttEmpty, {}},
      {"<br />", lenient, "br", ttEmpty, {}},
      {"</td>", lenient, "td", ttClosing, {}},
      {"</ td>", lenient, "", ttClosing, {{"td", "td"}}},
      {"<img src=a.png />", lenient, "img", ttEmpty, {{"src", "a.png"}}},
      {"<img src=a.png/>", lenient, "img", ttEmpty, {{"src", "a.png"}}},
      {"<a title='y>", lenient, "a", ttOpening, {{"title", "y"}}},
      {"<a title='y/>", lenient, "a", ttEmpty, {{"title", "y"}}},
      {"<p class=''>", removeEmpty, "p", ttOpening, {}},
      {"<p class=''>", lenient, "p", ttOpening, {{"class", ""}}},
      {"<x a=b c='d'>", strict, "x", ttOpening, {}},
      {"<x c='d' a=b e='f'>", strict, "x", ttOpening, {{"c", "d"}}},
      {"<x c = \"d\" e='f'>", strict, "x", ttOpening, {{"c", "d"}, {"e", "f"}}},
      {"<x a='b>", strict, "x", ttOpening, {}},
      {"no tag here", lenient, "", ttOpening, {}},
      {"a>b<c", lenient, "", ttOpening, {}},
      {"<>", lenient, "", ttOpening, {}},
      {"text <b>bold</b>", lenient, "b", ttOpening, {}},
      // Unquoted values may hold blanks; their end is found from what follows.
      {"<p title=hello world>", lenient, "p", ttOpening, {{"title", "hello world"}}},
      {"<p a=1 b=2>", lenient, "p", ttOpening, {{"a", "1"}, {"b", "2"}}},
      {"<p a=x y b = 2>", lenient, "p", ttOpening, {{"a", "x y"}, {"b", "2"}}},
      {"<p a=x'q'>", lenient, "p", ttOpening, {{"a", "x"}, {"'q'", "'q'"}}},
      {"<p a= b=2>", lenient, "p", ttOpening, {}},
      {"<p a=b=c>", lenient, "p", ttOpening, {}},
      {"<p a=>", lenient, "p", ttOpening, {{"a", ""}}},
      {"<p a=/>", lenient, "p", ttEmpty, {{"a", ""}}},
      // Mended: a value may begin with "/" (a "/" alone marks an empty tag).
      {"<a href=/x.html>", lenient, "a", ttOpening, {{"href", "/x.html"}}},
      {"<a href=/x.html/>", lenient, "a", ttEmpty, {{"href", "/x.html"}}},
      // Mended: a ">" inside a quoted value belongs to the value.
      {"<a title=\"a>b\" c=d>", lenient, "a", ttOpening, {{"title", "a>b"}, {"c", "d"}}},
      {"<a href=x.cgi?a=1>", lenient, "a", ttOpening, {}},
      {"<img src=\"a.png\"/>", lenient, "img", ttEmpty, {{"src", "a.png"}}},
      {"<img src=\"a.png\"/ alt=x>", lenient, "img", ttEmpty, {{"src", "a.png"}}},
      {"<p\ttitle\r\n=\n'a b'\n>", lenient, "p", ttOpening, {{"title", "a b"}}},
      {"<a title=\"it's\" alt='say \"hi\"'>", lenient, "a", ttOpening,
       {{"title", "it's"}, {"alt", "say \"hi\""}}},
      {"<a href=\"x?a=1&amp;b=2\">", lenient, "a", ttOpening, {{"href", "x?a=1&amp;b=2"}}},
      {"<a title='\xC3\xA9t\xC3\xA9'>", lenient, "a", ttOpening, {{"title", "\xC3\xA9t\xC3\xA9"}}},
      // A repeated attribute keeps its first position and its last value.
      {"<p a=1 b=2 a=3>", lenient, "p", ttOpening, {{"a", "3"}, {"b", "2"}}},
      {"<p A='1' a='2'>", caseSensitive, "p", ttOpening, {{"A", "1"}, {"a", "2"}}},
      // Bare attributes stand for themselves and the list reads on.
      {"<td nowrap width=5>", lenient, "td", ttOpening, {{"nowrap", "nowrap"}, {"width", "5"}}},
      {"<input type='checkbox' CHECKED>", lenient, "input", ttOpening,
       {{"type", "checkbox"}, {"checked", "CHECKED"}}},
      {"<input checked/>", lenient, "input", ttEmpty, {{"checked", "checked"}}},
      {"<input checked />", lenient, "input", ttEmpty, {{"checked", "checked"}}},
      {"<x nowrap c='d'>", strict, "x", ttOpening, {{"nowrap", "nowrap"}, {"c", "d"}}},
      {"<td width=5 nowrap>", lenient, "td", ttOpening, {{"width", "5 nowrap"}}},
      {"<p / x=1>", lenient, "p", ttEmpty, {}},
      {"<p a='1' /x>", lenient, "p", ttOpening, {{"a", "1"}}},
  };
  for (const auto& c : cases) {
    TpsMarkupTag tag(c.text, c.flags.caseSensitive, c.flags.removeEmpty, c.flags.quotedOnly);
    EXPECT_EQ(tag.GetName(), c.name) << c.text;
    EXPECT_EQ(tag.GetTagType(), c.type) << c.text;
    EXPECT_EQ(AttributesOf(tag), c.attributes) << c.text;
  }
}

TEST(MarkupTag, GetText) {
  struct Case {
    const char* text;
    const char* written;
  };
  const Case cases[] = {
      {"<P ALIGN=center>", "<p align=\"center\">"},
      {"<br/>", "<br />"},
      {"</td>", "</td>"},
      {"<img src=a.png />", "<img src=\"a.png\" />"},
      // Mended: a value holding a double quote goes between single quotes.
      {"<a title='say \"hi\"'>", "<a title='say \"hi\"'>"},
      {"<a href='x?a=1&amp;b=2'>", "<a href=\"x?a=1&amp;b=2\">"},
      {"<td nowrap>", "<td nowrap=\"nowrap\">"},
      {"no tag", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TpsMarkupTag(c.text).GetText(), c.written) << c.text;

  TpsMarkupTag closing("</div>");
  closing.SetAttribute("id", "x");  // a closing tag writes its attributes too
  EXPECT_EQ(closing.GetText(), "</div id=\"x\">");
}

TEST(MarkupTag, WrittenTextParsesBackToTheSameTag) {
  const char* const texts[] = {"<p align=center>", "<a title='say \"hi\"' href=x.html>",
                               "<img src=a.png alt='' />", "</td>", "<td nowrap width=5>"};
  for (const char* text : texts) {
    TpsMarkupTag tag(text);
    TpsMarkupTag again(tag.GetText());
    EXPECT_EQ(again.GetText(), tag.GetText()) << text;
    EXPECT_EQ(again.GetName(), tag.GetName()) << text;
    EXPECT_EQ(again.GetAttributeCount(), tag.GetAttributeCount()) << text;
  }
}

TEST(MarkupTag, Equals) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  };
  const Case cases[] = {{"<span>", "<span style='x'>", false},
                        {"<b a='1' c='2'>", "<b c='2' a='1'>", true},
                        {"<b a='1'>", "<b a='2'>", false},
                        {"<b>", "</b>", false},
                        {"<b>", "<i>", false},
                        {"<B A='1'>", "<b a=1>", true},
                        {"<b a='1' c='2'>", "<b a='1' d='2'>", false}};
  for (const auto& c : cases) {
    TpsMarkupTag a(c.a), b(c.b);
    EXPECT_EQ(a.Equals(b), c.equal) << c.a << " " << c.b;
    EXPECT_EQ(b.Equals(a), c.equal) << c.b << " " << c.a;
  }
}

TEST(MarkupTag, AttributeAccess) {
  TpsMarkupTag tag("<td width=5 height='x' Id=\"a\">");
  EXPECT_EQ(tag.GetAttribute("WIDTH"), "5");
  EXPECT_EQ(tag.GetAttribute("missing"), "");
  EXPECT_TRUE(tag.HasAttribute("ID"));
  Integer value = 0;
  EXPECT_TRUE(tag.GetAttributeAsInteger("width", value));
  EXPECT_EQ(value, 5);
  EXPECT_FALSE(tag.GetAttributeAsInteger("height", value));
  EXPECT_EQ(value, -1);
  value = 0;
  EXPECT_FALSE(tag.GetAttributeAsInteger("missing", value));
  EXPECT_EQ(value, -1);
  EXPECT_EQ(tag.GetAttributeName(3), "");
  EXPECT_EQ(tag.GetAttributeValue(-1), "");

  tag.SetAttributeAsInteger("height", 12);
  EXPECT_EQ(tag.GetAttributeName(1), "height");
  EXPECT_EQ(tag.GetAttribute("height"), "12");
  tag.SetAttributeValue(0, "7");
  tag.SetAttributeValue(9, "ignored");
  EXPECT_EQ(tag.GetAttribute("width"), "7");
  tag.RemoveAttribute("WIDTH");
  tag.RemoveAttribute("nothing");
  EXPECT_EQ(AttributesOf(tag), (Attributes{{"height", "12"}, {"id", "a"}}));
  tag.SetAttribute("width", "9");  // appended at the end
  EXPECT_EQ(tag.GetAttributeName(2), "width");
  tag.ClearAttributes();
  EXPECT_EQ(tag.GetAttributeCount(), 0);

  TpsMarkupTag removing("<p a='1' b='2'>", false, true, false);
  removing.SetAttribute("a", "");
  removing.SetAttribute("c", "");
  EXPECT_EQ(AttributesOf(removing), (Attributes{{"b", "2"}}));
}

namespace {
// A tag that records every hook call, as a descendant caching derived
// values would see them.
class RecordingTag : public TpsMarkupTag {
 public:
  using TpsMarkupTag::TpsMarkupTag;
  mutable std::vector<std::string> log;

 protected:
  void NameChanged(const AnsiString& aName) override { log.push_back("name " + aName); }
  void TypeChanged(Byte aType) override { log.push_back("type " + std::to_string(aType)); }
  void AttributeRead(const AnsiString& aName) const override { log.push_back("read " + aName); }
  void AttributeChanged(const AnsiString& aName, const AnsiString& aValue) override {
    log.push_back("changed " + aName + "=" + aValue);
  }
  void AttributeRemoved(const AnsiString& aName) override { log.push_back("removed " + aName); }
};
}  // namespace

TEST(MarkupTag, HooksAndChangeEvents) {
  RecordingTag tag;
  int changes = 0;
  tag.OnChange = [&](TObjectPtr sender) {
    EXPECT_EQ(sender, static_cast<TpsMarkupTagParser*>(&tag));
    ++changes;
  };
  tag.SetText("</P a=1 b='2'>");
  EXPECT_EQ(tag.log, (std::vector<std::string>{"type 1", "name p", "changed a=1", "changed b=2"}));
  // type, name, two attributes, and SetText's own.
  EXPECT_EQ(changes, 5);

  tag.log.clear();
  changes = 0;
  tag.GetAttribute("A");
  tag.GetAttributeValue(1);
  tag.SetAttributeValue(0, "x");
  tag.RemoveAttribute("B");
  tag.ClearAttributes();
  EXPECT_EQ(tag.log, (std::vector<std::string>{"read a", "read b", "changed a=x", "removed B",
                                               "removed a"}));
  EXPECT_EQ(changes, 0);  // none of these fires OnChange

  tag.SetContent("inner");
  tag.SetName("DIV");
  tag.SetTagType(ttEmpty);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(tag.GetName(), "div");
}

TEST(MarkupTag, OnGetTextMayReplaceTheText) {
  TpsMarkupTag tag("<b>");
  tag.OnGetText = [](TObjectPtr, AnsiString& text) { text += "!"; };
  EXPECT_EQ(tag.GetText(), "<b>!");
}

TEST(MarkupTag, CreateCopyTakesEverything) {
  TpsMarkupTag source("<IMG Src=a.png />", true, true, false);
  source.SetContent("kept");
  int changes = 0;
  source.OnChange = [&](TObjectPtr) { ++changes; };
  source.OnGetText = [](TObjectPtr, AnsiString& text) { text = "[" + text + "]"; };
  auto copy = TpsMarkupTag::CreateCopy(source);
  EXPECT_TRUE(copy->Equals(source));
  EXPECT_EQ(copy->GetContent(), "kept");
  EXPECT_TRUE(copy->CaseSensitive());
  EXPECT_TRUE(copy->RemoveEmptyAttributes());
  EXPECT_EQ(copy->GetText(), "[<IMG Src=\"a.png\" />]");
  copy->SetAttribute("Src", "");  // remove-empty copied too
  EXPECT_EQ(copy->GetAttributeCount(), 0);
  EXPECT_EQ(changes, 1);  // the copy fires the same OnChange
  EXPECT_EQ(source.GetAttributeCount(), 1);
}

namespace {
class CountedTag : public TpsMarkupTag {
 public:
  CountedTag(const char* text, int& freed) : TpsMarkupTag(text), FFreed(freed) {}
  ~CountedTag() override { ++FFreed; }

 private:
  int& FFreed;
};
}  // namespace

TEST(MarkupTagList, OwningListFreesItsTags) {
  int freed = 0;
  {
    TpsMarkupTagList list(true);
    EXPECT_EQ(list.Add(new CountedTag("<a>", freed)), 0);
    EXPECT_EQ(list.Add(new CountedTag("<b>", freed)), 1);
    list.Delete(0);
    EXPECT_EQ(freed, 1);
  }
  EXPECT_EQ(freed, 2);
}

TEST(MarkupTagList, ListThatDoesNotOwnLeavesTagsAlone) {
  int freed = 0;
  CountedTag a("<a>", freed), b("<b>", freed);
  {
    TpsMarkupTagList list(false);
    list.Add(&a);
    list.Add(&b);
    list.Clear();
    list.Add(&a);
  }
  EXPECT_EQ(freed, 0);
}

TEST(MarkupTagList, AddTextAndGetText) {
  TpsMarkupTagList list(true);
  list.AddText("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />");
  list.AddText("<link rel=stylesheet href='a.css' title=''>");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetTag(0)->GetName(), "meta");
  EXPECT_EQ(list.GetTag(1)->GetAttribute("title"), "");
  EXPECT_TRUE(list.GetTag(1)->HasAttribute("title"));
  EXPECT_EQ(list.GetText(),
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
            "<link rel=\"stylesheet\" href=\"a.css\" title=\"\">\r\n");
}
