// The string parser, the tokenizer and the ignore filters.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Tokenize.h"
#include "spell/engine/lx3Ignore.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3SpellLanguages.h"
#include "spell/engine/lx3StringParser.h"
#include "spell/engine/lx3ThesaurusLanguages.h"

using namespace spell;
using spell_test::Tokenize;
using Words = std::vector<std::string>;

TEST(StringParser, EmptyEndMarkAndMoves) {
  std::string empty;
  TStringParser p;
  p.Initialize(&empty);
  EXPECT_EQ(p.GetChar(), 0);
  EXPECT_FALSE(p.MoveNext());

  std::string text = "abcdefgh";
  p.Initialize(&text);
  EXPECT_EQ(p.GetChar(), 'a');
  EXPECT_FALSE(p.MovePrevious());
  p.SetPosition(5, 0, 1);
  p.SetPosition(4, 0, 0);
  EXPECT_TRUE(p.MoveNext());   // to 5
  EXPECT_FALSE(p.MoveNext());  // moving from 5 goes beyond the end mark
  p.SetPosition(0, 7, 0);      // below 1: the first character; Y is ignored
  Integer x = 0, y = 9;
  p.GetPosition(x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 0);
  // The cursor may stand one place after the last character.
  p.SetPosition(8, 0, 0);
  std::string t2 = "ab";
  p.Initialize(&t2);
  EXPECT_TRUE(p.MoveNext());
  EXPECT_TRUE(p.MoveNext());
  EXPECT_EQ(p.GetChar(), 0);
  EXPECT_FALSE(p.MoveNext());
  EXPECT_EQ(p.GetControlScreenRect(), TParserRect{});
  EXPECT_EQ(p.GetWordScreenRect(), (TParserRect{-1, -1, -1, -1}));
}

TEST(StringParser, ReplaceMovesTheEndMarkAndTheCursor) {
  std::string text = "the cat sat";
  TStringParser p;
  p.Initialize(&text);
  p.SetPosition(11, 0, 1);
  p.SetPosition(8, 0, 0);  // after "cat"
  p.SelectPreviousWord(3);
  Integer x = 0, y = 0;
  p.GetPosition(x, y);
  EXPECT_EQ(x, 5);
  p.ReplaceWord("horse", 0);
  EXPECT_EQ(text, "the horse sat");
  p.GetPosition(x, y);
  EXPECT_EQ(x, 10);
  // The end mark moved 2 places: moving to 13 is still inside.
  p.SetPosition(12, 0, 0);
  EXPECT_TRUE(p.MoveNext());
  EXPECT_FALSE(p.MoveNext());
}

TEST(StringParser, CharactersOutsideTheCodePageReadAsBlanksAndStay) {
  std::string text = "\xCE\xB1\xCE\xB2word \xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9";  // αβword 中文 café
  auto r = Tokenize(text);
  EXPECT_EQ(r.words, (Words{"word", "caf\xE9"}));
  EXPECT_TRUE(r.selectionsMatch);
  TStringParser p;
  p.Initialize(&text);
  EXPECT_EQ(p.Length(), 14);
  EXPECT_EQ(p.GetChar(), ' ');
  p.SetPosition(7, 0, 0);  // after "word"
  p.SelectPreviousWord(4);
  p.ReplaceWord("m\xF4t", 0);  // "môt" in 1252
  EXPECT_EQ(text, "\xCE\xB1\xCE\xB2m\xC3\xB4t \xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9");
  // Broken UTF-8 bytes are characters of their own, read as blanks.
  std::string broken = "ab\xFF" "cd";
  EXPECT_EQ(Tokenize(broken).words, (Words{"ab", "cd"}));
}

TEST(ParsingEngine, WordCharacters) {
  TMainParsingEngine e;
  EXPECT_EQ(e.WordChars().size(), 189u);
  EXPECT_EQ(static_cast<unsigned char>(e.WordChars()[0]), 0x92);
  std::set<unsigned char> set(e.WordChars().begin(), e.WordChars().end());
  EXPECT_EQ(set.size(), 155u);
  EXPECT_TRUE(e.IsWordChar('&'));
  EXPECT_FALSE(e.IsMidWordChar('&'));
  EXPECT_TRUE(e.IsMidWordChar('\''));
  e.SetFrenchApostrophes(true);
  EXPECT_FALSE(e.IsMidWordChar('\''));
  e.SetFrenchApostrophes(false);
  EXPECT_TRUE(e.IsMidWordChar('\''));
  EXPECT_FALSE(e.IsWordChar('-'));
}

TEST(ParsingEngine, Words) {
  struct Case {
    const char* text;
    Words words;
    bool french;
  } cases[] = {
      {"don't stop", {"don't", "stop"}, false},
      {"'quoted' words", {"quoted", "words"}, false},
      {"\"double\"", {"double"}, false},
      {"see e.g. this", {"see", "e.g.", "this"}, false},
      {"the end. Then", {"the", "end", "Then"}, false},
      {"U.S.A and U.S.A.", {"U.S.A", "and", "U.S.A."}, false},
      {"host www.example.com here", {"host", "www.example.com", "here"}, false},
      {"it's 3.14 and -2", {"it's", "3.14", "and", "2"}, false},
      {"one two, three", {"one", "two", "three"}, false},
      {"&amp;x a&b", {"&amp", "x", "a", "&b"}, false},
      {"l'homme", {"l", "homme"}, true},
      {"aujourd'hui", {"aujourd'hui"}, true},
      {"entr'acte", {"entr'acte"}, true},
      {"qu'il", {"qu", "il"}, true},
      {"l'homme", {"l'homme"}, false},
      {"", {}, false},
      {"  \t ", {}, false},
      {"trailing", {"trailing"}, false},
      {"caf\xC3\xA9 na\xC3\xAFve", {"caf\xE9", "na\xEFve"}, false},
  };
  for (const Case& c : cases) {
    auto r = Tokenize(c.text, {}, c.french);
    EXPECT_EQ(r.words, c.words) << c.text;
    EXPECT_TRUE(r.selectionsMatch) << c.text;
  }
}

TEST(ParsingEngine, ASelectionEndingInsideAWordDropsIt) {
  EXPECT_EQ(Tokenize("spelling check", {}, false, 4).words, Words{});
  EXPECT_EQ(Tokenize("a spelling", {}, false, 5).words, Words{"a"});
  EXPECT_EQ(Tokenize("ab cd", {}, false, 5).words, Words{"ab"});  // the mark on the last letter
  EXPECT_EQ(Tokenize("ab cd", {}, false, 6).words, (Words{"ab", "cd"}));  // one past it
}

TEST(ParsingEngine, StartAtBacksUpToTheWordStart) {
  std::string text = "one spelling two";
  TStringParser p;
  p.Initialize(&text);
  TMainParsingEngine e;
  e.Initialize(&p, 4);
  e.StartAt(8, 0);  // inside "spelling"
  Integer x = 0, y = 0;
  p.GetPosition(x, y);
  EXPECT_EQ(x, 4);  // the blank before it
  EXPECT_EQ(e.NextWord(), "spelling");
  EXPECT_EQ(e.LastWord(), "spelling");
  e.StartAt(2, 0);
  p.GetPosition(x, y);
  EXPECT_EQ(x, 1);  // the first character of the text
}

TEST(IgnoreFilters, Markup) {
  THTMLIgnore html;
  std::vector<TParserIgnore*> f = {&html};
  struct Case {
    const char* text;
    Words words;
  } cases[] = {
      {"a <!-- x > y --> b", {"a", "b"}},
      {"<% if a > b %> c", {"c"}},
      {"<? echo 1 > 0 ?>d", {"d"}},
      {"<p class=\"x>y\">e</p>", {"y", "e"}},  // quotes are not special
      {"<b>bold</b> text", {"bold", "text"}},
      {"end <", {"end"}},
      {"<", {}},
      {"<!-- never closed", {}},
  };
  for (const Case& c : cases) {
    auto r = Tokenize(c.text, f);
    EXPECT_EQ(r.words, c.words) << c.text;
    EXPECT_TRUE(r.selectionsMatch) << c.text;
  }
  EXPECT_TRUE(html.IsIgnoredWord("&nbsp", nullptr));
  EXPECT_FALSE(html.IsIgnoredWord("", nullptr));
  EXPECT_FALSE(html.IsIgnoredWord("a&b", nullptr));
}

TEST(IgnoreFilters, MatchAheadRestoresTheCursor) {
  std::string text = "<!-x";
  TStringParser p;
  p.Initialize(&text);
  p.SetPosition(2, 0, 0);
  EXPECT_FALSE(THTMLIgnore::MatchAhead("!--", &p));
  Integer x = 0, y = 0;
  p.GetPosition(x, y);
  EXPECT_EQ(x, 2);
  text = "<!--x";
  p.Initialize(&text);
  p.SetPosition(2, 0, 0);
  EXPECT_TRUE(THTMLIgnore::MatchAhead("!--", &p));
  p.GetPosition(x, y);
  EXPECT_EQ(x, 4);
}

TEST(IgnoreFilters, InternetAddresses) {
  TURLIgnore url;
  std::vector<TParserIgnore*> f = {&url};
  struct Case {
    const char* text;
    Words words;
  } cases[] = {
      {"mailto:joe@x.org fine", {"fine"}},
      {"write to joe@example.com now", {"write", "to", "now"}},
      {"see http://a.b/c?d=e, then", {"see", "then"}},
      {"www.x.org/path ok", {"ok"}},
      {"note: colon", {"note", "colon"}},  // no scheme
      {"HTTPS://X.ORG yes", {"yes"}},
  };
  for (const Case& c : cases) {
    auto r = Tokenize(c.text, f);
    EXPECT_EQ(r.words, c.words) << c.text;
    EXPECT_TRUE(r.selectionsMatch) << c.text;
  }
  EXPECT_TRUE(url.IsIgnoredWord("WWW.example.com", nullptr));
  EXPECT_FALSE(url.IsIgnoredWord("www", nullptr));
}

TEST(IgnoreFilters, WordTests) {
  TQuotedLineIgnore quoted(">|");
  TUppercaseWordIgnore upper;
  TNumbersIgnore numbers;
  TAbbreviationsIgnore abbreviations;
  struct Case {
    TParserIgnore* filter;
    const char* word;
    bool ignored;
  } cases[] = {
      {&upper, "NASA", true},        {&upper, "Nasa", false},        {&upper, "123", true},
      {&upper, "\xC9T\xC9", true},   {&upper, "\xC9t\xE9", false},   {&numbers, "A4", true},
      {&numbers, "1st", true},       {&numbers, "mp3", true},        {&numbers, "abc", false},
      {&abbreviations, "e.g.", true}, {&abbreviations, "U.S.A.", true}, {&abbreviations, "U.S.A", true},
      {&abbreviations, "a.b", true}, {&abbreviations, "etc.", false}, {&abbreviations, "Mr.Smith", false},
      {&abbreviations, "a.", true},  {&abbreviations, "abc", false},  {&quoted, "word", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.filter->IsIgnoredWord(c.word, nullptr), c.ignored) << c.word;
  std::string line = "> quoted text";
  TStringParser p;
  p.Initialize(&line);
  EXPECT_TRUE(quoted.IsIgnoredWord("quoted", &p));
  EXPECT_TRUE(quoted.IsIgnoredLine("|x"));
  EXPECT_FALSE(quoted.IsIgnoredLine(""));
  EXPECT_FALSE(quoted.IsIgnoredLine("a > b"));
  EXPECT_TRUE(quoted.ChecksLines());
  EXPECT_FALSE(quoted.HooksParser());
  TParserIgnoreBase base;
  EXPECT_FALSE(base.IsIgnoredWord("x", nullptr));
}

TEST(UiTexts, Tables) {
  EXPECT_EQ(GetSpellLanguageString(lsLiveSpelling, ltEnglish), "Check spelling as you type");
  EXPECT_EQ(GetSpellLanguageString(lsEndSelectionMessage, ltEnglish),
            "The selection has been checked.  Would you like to check the remainder of the document?");
  EXPECT_EQ(GetSpellLanguageString(lsMnSpelling, ltEstonian), "&Spelling ...");
  for (int language = 0; language < SpellLanguageCount; ++language) {
    for (int id = 0; id < SpellLanguageStringCount; ++id)
      EXPECT_FALSE(GetSpellLanguageString(id, language).empty()) << id << " " << language;
    for (int id : {lsDlgOptionsLabel, lsDlgDictionariesLabel, lsDlgCustomDictionaries}) {
      const std::string t = GetSpellLanguageString(id, language);
      EXPECT_EQ(t.front(), ' ');
      EXPECT_EQ(t.back(), ' ');
    }
  }
  EXPECT_EQ(GetSpellLanguageString(68, ltEnglish), "");
  EXPECT_EQ(GetSpellLanguageString(0, 15), "");
  EXPECT_EQ(GetSpellLanguageString(-1, 0), "");
  using namespace spell::thesaurus;
  EXPECT_EQ(GetThesaurusLanguageString(lsThesaurus, thesaurus::ltEnglish), "Thesaurus: %name%");
  EXPECT_EQ(GetThesaurusLanguageString(thesaurus::lsDlgNotFound, thesaurus::ltEstonian), "(not found)");
  EXPECT_EQ(GetThesaurusLanguageString(9, 0), "");
  EXPECT_EQ(GetThesaurusLanguageString(0, 10), "");
}
