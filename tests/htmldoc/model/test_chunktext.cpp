// Text in and out of the node list, positions and the text search.
//
// Rows marked "mended" differ from the old behaviour: every named reference
// of the HTML standard is read, references beyond U+FFFF become pairs, a
// character the output encoding cannot hold is never written as itself,
// and the search finds every occurrence.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../support/ChunkFixture.h"
#include "htmledit/doc/psDataChunk.h"
#include "rtl/CodePages.h"

using namespace htmldoc;
using htmldoc::testing::DumpFixture;
using htmldoc::testing::ReadFixture;

namespace {

std::string Added(const char16_t* aText, bool aEntities) {
  TpsDataChunk chunk;
  if (aEntities)
    chunk.AddTextWithEntities(aText);
  else
    chunk.AddText(aText);
  chunk.Check();
  return DumpFixture(chunk);
}

TpsCharacterEncoding Encoding(Integer aCodePage) { return TpsCharacterEncoding::CreateFromCodePage(aCodePage); }

std::string Html(const TpsDataChunk& aChunk, Integer aCodePage, bool aNumeric = false, const char* aCursor = "") {
  return rtl::WideToUtf8(aChunk.GetHtmlText(nullptr, nullptr, aCursor, aNumeric, Encoding(aCodePage)));
}

}  // namespace

TEST(ChunkTextIn, AddTextAndEntities) {
  struct Case {
    const char16_t* text;
    bool entities;
    const char* fixture;
  };
  const Case cases[] = {
      {u"\t\n  x\r\ny", false, " x y"},
      {u"a  \u00a0 \u00a0b", false, "a \u00a0 \u00a0b"},
      {u"&amp;", true, "&amp;"},
      {u"&amp;", false, "\\&amp;"},
      {u"&bogus;x", true, "\\&bogus;x"},
      {u"a&b", true, "a\\&b"},
      {u"&#65;&#x42;&#X43;", true, "&#65;&#66;&#67;"},
      {u"&bull;", true, "&#8226;"},              // mended (was literal)
      {u"&NotEqualTilde;", true, "&#8770;&#824;"},  // mended: two characters
      {u"&#128512;", true, "&#128512;"},         // mended: a pair
      {u"&#0;&#xD800;&#1114112;", true, "&#65533;&#65533;&#65533;"},  // mended
      {u"&#00000000000000000000000000000000000000000000000065;", true, "&#65;"},
      {u"x  &nbsp; y", true, "x &nbsp; y"},
      {u"&amp &lt;", true, "\\&amp &lt;"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Added(c.text, c.entities), c.fixture) << rtl::WideToUtf8(c.text);
  TpsDataChunk chunk;
  chunk.AddTextWithEntities(u"&#128512;");
  EXPECT_EQ(chunk.First()->Char, 0xD83D);
  EXPECT_EQ(chunk.Last()->Char, 0xDE00);
  EXPECT_TRUE(chunk.First()->FromEntity);
}

TEST(ChunkTextIn, InsertedText) {
  auto chunk = ReadFixture("<p>a|b</p>");
  chunk->InsertTextAtCursor(u"x\r\ny\rz", true);
  EXPECT_NO_THROW(chunk->Check());
  EXPECT_EQ(DumpFixture(*chunk), "<p>a[x]<br />[y]<br />[z]|b</p>");
  EXPECT_EQ(htmldoc::testing::ReadFixture("<br />")->First()->Tag->GetText(), "<br />");
  chunk->InsertTextAt(u"12", chunk->First(), true);
  chunk->InsertTextAt(u"", chunk->First(), true);
  chunk->InsertTextAt(u"0", chunk->First(), false);
  EXPECT_EQ(DumpFixture(*chunk), "0<p>12a[x]<br />[y]<br />[z]|b</p>");
  TpsDataChunk empty;
  empty.InsertTextAt(u"ab", nullptr, true);
  EXPECT_EQ(DumpFixture(empty), "ab");
  EXPECT_NO_THROW(chunk->Check());
  // The line break carries no events: its style id is never asked.
  EXPECT_EQ(chunk->FindTag(TAG_BR, ttEmpty, nullptr, true)->Tag->GetTagStyleId(), -1);
}

TEST(ChunkTextOut, HtmlOfCharactersAndElements) {
  struct Case {
    const char* fixture;
    Integer codePage;
    bool numeric;
    const char* html;
  };
  const Case cases[] = {
      {"&amp;", 65001, false, "&amp;"},
      {"&amp;", 65001, true, "&#38;"},
      {"<p>a\\<b</p>", 65001, false, "<p>a&lt;b</p>"},
      {"\u0416", 65001, false, "\u0416"},
      {"\u0416", 1251, false, "\u0416"},
      {"\u0416", 1252, false, "&#1046;"},
      {"\u00e9", 1251, false, "&eacute;"},       // mended (the old rule let it through)
      {"\u00e9", 1251, true, "&#233;"},          // mended
      {"\u00e9", 1252, false, "\u00e9"},
      {"\u00e9", 28592, false, "\u00e9"},
      {"\u0151", 28592, false, "\u0151"},
      {"\u0151", 1252, false, "&#337;"},
      {"\u00a0", 65001, false, "&nbsp;"},
      {"\xF0\x9F\x98\x80", 1252, false, "&#128512;"},  // mended: one reference
      {"\xF0\x9F\x98\x80", 65001, false, "\xF0\x9F\x98\x80"},
      {"<@cust>x</@cust>", 65001, false, "x"},  // see below: custom source
      {"a@M1@b#{c:<!-- c -->}{t:<!DOCTYPE html>}", 65001, false, "ab<!-- c --><!DOCTYPE html>"},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture(c.fixture);
    EXPECT_EQ(Html(*chunk, c.codePage, c.numeric), c.html) << c.fixture << " in " << c.codePage;
  }
  auto custom = ReadFixture("<@cust>x</@cust>|");
  custom->First()->Tag->CustomSource = "<my a=\"1\">";
  custom->Last()->Prev->Tag->CustomSource = "<my a=\"1\">";
  EXPECT_EQ(Html(*custom, 65001, false, "<!-- EDITING POSITION -->"),
            "<my a=\"1\">x<my a=\"1\"><!-- EDITING POSITION -->");
  auto range = ReadFixture("abcd");
  EXPECT_EQ(rtl::WideToUtf8(range->GetHtmlText(range->First()->Next, range->Last()->Prev, "", false, Encoding(65001))),
            "bc");
  EXPECT_EQ(rtl::WideToUtf8(TpsDataChunk::GetElementHtml(range->First(), "", false, Encoding(65001))), "a");
  EXPECT_EQ(TpsDataChunk::GetElementText(ReadFixture("&amp;")->First(), "", true), "&#38;");
  EXPECT_EQ(TpsDataChunk::GetElementText(ReadFixture("|")->First(), "CUR", false), "CUR");
  EXPECT_EQ(TpsDataChunk::GetElementText(ReadFixture("<b>")->First(), "", false), "<b>");
}

// Random text, also beyond U+FFFF, written for an encoding, encoded,
// decoded and read back with its entities, is the same text.
TEST(ChunkTextOut, EncodingsRoundTrip) {
  const Integer codePages[] = {65001, 1251, 28592, 1252};
  const char32_t pool[] = {u'a', u'Z', u' ', u'&', u'<', u'>', u'"', 0xA0, 0xE9, 0xF6, 0x151, 0x416, 0x44F,
                           0x20AC, 0x2022, 0x3042, 0x1F600, 0x10348, 0x9, u';', u'#'};
  std::mt19937 random(7);
  for (Integer codePage : codePages) {
    for (int round = 0; round < 50; ++round) {
      WideString text;
      for (int i = 0; i < 40; ++i) rtl::AppendUtf16(text, pool[random() % std::size(pool)]);
      TpsDataChunk chunk;
      chunk.InsertTextAt(text, nullptr, true);
      const WideString html = chunk.GetHtmlText(nullptr, nullptr, "", random() % 2, Encoding(codePage));
      const rtl::EncodeResult bytes = rtl::EncodeCodePage(codePage, html);
      ASSERT_FALSE(bytes.Lossy()) << codePage;
      // Read back through the entity reader, which collapses white space
      // as AddText does.
      TpsDataChunk read;
      read.AddTextWithEntities(rtl::DecodeCodePage(codePage, bytes.bytes));
      WideString expected;
      {
        TpsDataChunk collapse;
        collapse.AddText(text);
        for (const TpsChunkElement* e = collapse.First(); e; e = e->Next) expected += e->Char;
      }
      WideString actual;
      for (const TpsChunkElement* e = read.First(); e; e = e->Next) actual += e->Char;
      ASSERT_EQ(rtl::WideToUtf8(actual), rtl::WideToUtf8(expected)) << codePage;
    }
  }
}

TEST(ChunkTextOut, PlainCharactersSelectedAndDebug) {
  struct Case {
    const char* fixture;
    const char16_t* plain;
  };
  const Case cases[] = {
      {"<p>a</p><p>b</p>", u"a\r\nb"},
      // Each block opened at a line start indents two spaces more.
      {"<ul><li>a<ul><li>b</li></ul></li></ul>", u"  a\r\n          b"},
      {"<p>a<br /><br />b</p>", u"a\r\n\r\nb"},
      {"<p></p><p>x</p>", u"\r\nx"},
      {"<br />x", u"x"},  // nothing written yet counts as a line start
      {"a\u00a0b<b>c</b>|@M1@", u"a\u00a0bc"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rtl::WideToUtf8(ReadFixture(c.fixture)->GetPlainText()), rtl::WideToUtf8(c.plain)) << c.fixture;
  auto chunk = ReadFixture("<p>\u00e9[\u0416a]\u00a0|@M2@#{s:x}</p>");
  EXPECT_EQ(chunk->GetCharacters(), "\u00e9\u0416a ");
  EXPECT_EQ(chunk->GetSelectedText(), "\u0416a");  // mended (was the low bytes)
  EXPECT_EQ(rtl::WideToUtf8(chunk->GetDebugText()), "<p>\u00e9\u0416a |@M2@x</p>");
}

TEST(ChunkTextOut, CharacterIdsFingerprint) {
  auto chunk = ReadFixture("<p>ab</p>");
  const uint32_t before = chunk->GetCharacterIdsCrc();
  chunk->InsertTag(TpsHtmlTag::CreateFromText(nullptr, "<b>"), chunk->First(), true);
  EXPECT_EQ(chunk->GetCharacterIdsCrc(), before);
  chunk->InsertCharacter(u'x', chunk->Last(), false);
  const uint32_t after = chunk->GetCharacterIdsCrc();
  EXPECT_NE(after, before);
  chunk->RemoveElement(chunk->Last()->Prev, true);
  EXPECT_EQ(chunk->GetCharacterIdsCrc(), before);
  EXPECT_EQ(TpsDataChunk().GetCharacterIdsCrc(), 0u);
}

TEST(ChunkPositions, CountsAndOffsets) {
  auto chunk = ReadFixture(" \ta b|\u00a0c <b>d</b>");
  EXPECT_EQ(chunk->CountCharacters(false, false), 9);
  EXPECT_EQ(chunk->CountCharacters(true, false), 7);
  EXPECT_EQ(chunk->CountCharacters(true, true), 3);
  EXPECT_EQ(chunk->GetCharacterByIndex(0, true)->Char, u'a');
  EXPECT_EQ(chunk->GetCharacterByIndex(0, false)->Char, u' ');
  EXPECT_EQ(chunk->GetCharacterByIndex(6, true)->Char, u'd');
  EXPECT_EQ(chunk->GetCharacterByIndex(7, true), nullptr);
  EXPECT_EQ(chunk->GetCharacterByIndex(-1, true), nullptr);
  EXPECT_EQ(chunk->GetCursorOffset(), 5);
  EXPECT_EQ(chunk->GetCharacterCountAfterCursor(true), 4);
  EXPECT_EQ(chunk->GetCharacterCountAfterCursor(false), 3);
  EXPECT_EQ(ReadFixture("|ab")->GetCursorOffset(), 0);
  EXPECT_EQ(ReadFixture("ab")->GetCursorOffset(), -1);
  EXPECT_EQ(ReadFixture("ab")->GetCharacterCountAfterCursor(true), -1);
  // The spell checker's walk: both routines skip the same leading blanks.
  auto words = ReadFixture("  \t wörd");
  EXPECT_EQ(words->CountCharacters(true, false), 4);
  EXPECT_EQ(words->GetCharacterByIndex(3, true)->Char, u'd');
}

TEST(ChunkSearch, FindTextCases) {
  struct Case {
    const char* fixture;
    const char16_t* text;
    bool matchCase;
    bool forward;
    const char* first;  // "" when nothing is found
  };
  const Case cases[] = {
      {"|<p>x<b>a</b>b</p>", u"ab", true, true, "a"},
      {"|<p>a</p><p>b</p>", u"ab", true, true, ""},
      {"|<p>a<br />b</p>", u"ab", true, true, ""},
      {"|aaab", u"aab", true, true, "a"},  // mended (was not found)
      {"aaab|", u"aab", true, false, "a"},  // mended
      {"|xAB", u"ab", false, true, "A"},
      {"|xAB", u"ab", true, true, ""},
      {"ab|ab", u"ab", true, false, "a"},
      {"ab", u"ab", true, true, ""},
      {"|ab", u"", true, true, ""},
  };
  for (const auto& c : cases) {
    auto chunk = ReadFixture(c.fixture);
    uint32_t start = 1, end = 1;
    const bool found = chunk->FindText(c.text, c.matchCase, c.forward, start, end);
    EXPECT_EQ(found, *c.first != 0) << c.fixture;
    if (!found) {
      EXPECT_EQ(start, 0u);
      EXPECT_EQ(end, 0u);
      continue;
    }
    const TpsChunkElement* first = chunk->FindElementById(start);
    const TpsChunkElement* last = chunk->FindElementById(end);
    ASSERT_TRUE(first && last);
    EXPECT_EQ(rtl::WideToUtf8(WideString(1, first->Char)), c.first) << c.fixture;
    EXPECT_EQ(chunk->FirstOfIds(start, end), start) << c.fixture;
  }
}

// On random lists with inline tags, line breaks and blocks, the search
// agrees with a plain substring search over each block's text.
TEST(ChunkSearch, AgreesWithASubstringSearch) {
  std::mt19937 random(11);
  const char* const pieces[] = {"a", "b", "A", "B", "<b>", "</b>", "<br />", "</p><p>", "a", "b"};
  for (int round = 0; round < 300; ++round) {
    std::string fixture = "|<p>";
    const int length = 5 + random() % 30;
    for (int i = 0; i < length; ++i) fixture += pieces[random() % std::size(pieces)];
    fixture += "</p>";
    auto chunk = ReadFixture(fixture);
    WideString needle;
    for (int i = 0, n = 1 + random() % 3; i < n; ++i) needle += u"abAB"[random() % 4];
    const bool matchCase = random() % 2;
    // The expected answer: the first block-and-break-free run holding it.
    WideString runs;  // runs separated by '\n'
    std::vector<uint32_t> ids;
    for (const TpsChunkElement* e = chunk->GetCursor()->Next; e; e = e->Next) {
      if (TpsDataChunk::IsBlockTag(e) || TpsDataChunk::TagCodeOf(e) == TAG_BR) {
        runs += u'\n';
        ids.push_back(0);
      } else if (e->Kind == ceChar) {
        runs += e->Char;
        ids.push_back(e->Id);
      }
    }
    const WideString haystack = matchCase ? runs : TpsStrings::WideLowerCase(runs);
    const WideString pattern = matchCase ? needle : TpsStrings::WideLowerCase(needle);
    const size_t at = haystack.find(pattern);
    uint32_t start = 0, end = 0;
    const bool found = chunk->FindText(needle, matchCase, true, start, end);
    ASSERT_EQ(found, at != WideString::npos) << fixture << " " << rtl::WideToUtf8(needle);
    if (found) {
      EXPECT_EQ(start, ids[at]) << fixture;
      EXPECT_EQ(end, ids[at + pattern.size() - 1]) << fixture;
    }
  }
}

// The same from a cursor anywhere in the list, in both directions: forward
// the first occurrence after the cursor, backward the last one before it,
// as a plain substring search over the text on that side finds them.
TEST(ChunkSearch, AgreesWithASubstringSearchFromAnyCursorBothWays) {
  std::mt19937 random(23);
  const char* const pieces[] = {"a", "b", "A", "B", "<b>", "</b>", "<br />", "</p><p>", "a", "b", "a"};
  for (int round = 0; round < 600; ++round) {
    const int length = 5 + random() % 30;
    const int cursorAt = random() % (length + 1);
    std::string fixture = "<p>";
    for (int i = 0; i < length; ++i) {
      if (i == cursorAt) fixture += "|";
      fixture += pieces[random() % std::size(pieces)];
    }
    if (cursorAt == length) fixture += "|";
    fixture += "</p>";
    auto chunk = ReadFixture(fixture);
    WideString needle;
    for (int i = 0, n = 1 + random() % 4; i < n; ++i) needle += u"abAB"[random() % 4];
    const bool matchCase = random() % 2;
    const bool forward = random() % 2;
    // The text on the searched side in document order, block and line
    // boundaries as '\n'.
    WideString runs;
    std::vector<uint32_t> ids;
    const TpsChunkElement* cursor = chunk->GetCursor();
    const TpsChunkElement* from = forward ? cursor->Next : chunk->First();
    for (const TpsChunkElement* e = from; e && (forward || e != cursor); e = e->Next) {
      if (TpsDataChunk::IsBlockTag(e) || TpsDataChunk::TagCodeOf(e) == TAG_BR) {
        runs += u'\n';
        ids.push_back(0);
      } else if (e->Kind == ceChar) {
        runs += e->Char;
        ids.push_back(e->Id);
      }
    }
    const WideString haystack = matchCase ? runs : TpsStrings::WideLowerCase(runs);
    const WideString pattern = matchCase ? needle : TpsStrings::WideLowerCase(needle);
    const size_t at = forward ? haystack.find(pattern) : haystack.rfind(pattern);
    uint32_t start = 0, end = 0;
    const bool found = chunk->FindText(needle, matchCase, forward, start, end);
    const std::string context = fixture + " " + rtl::WideToUtf8(needle) + (forward ? " forward" : " backward") +
                                (matchCase ? " case" : "");
    ASSERT_EQ(found, at != WideString::npos) << context;
    if (found) {
      EXPECT_EQ(start, ids[at]) << context;
      EXPECT_EQ(end, ids[at + pattern.size() - 1]) << context;
    }
    EXPECT_NO_THROW(chunk->Check()) << context;
  }
}
