// The line tokenizer: runs and their states under the main window's styler,
// the start state of a line with its caches, and the colours of every line
// the same whichever way the view reached it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "../MemoCorpus.h"
#include "TokenizerSupport.h"
#include "memo/text/LumMemoStrings.h"
#include "memo/text/MemoTokenizer.h"

using namespace memo;
using memotest::MainWindowDefs;
using memotest::RunRecorder;

namespace {

// One letter per run: c comment, b bracket, n number, k keyword, s symbol,
// u URL, p plain.
char Kind(const TTokenState& s) {
  if (s.URL) return 'u';
  if (s.InComment) return 'c';
  if (s.InBracket) return 'b';
  if (s.Number) return 'n';
  if (s.Keyword) return 'k';
  if (s.Symbol) return 's';
  return 'p';
}

std::string Describe(const std::vector<memotest::Run>& runs) {
  std::string r;
  for (const auto& run : runs) {
    if (!r.empty()) r += '|';
    r += run.Text + '/' + Kind(run.State);
  }
  return r;
}

// The runs of the last line of text, each line tokenized from the state
// the one before left.
std::string LastLineRuns(const TStylerDefs& defs, const std::vector<std::string>& lines, bool urls = true) {
  TLineTokenizer t;
  t.SetDefs(&defs, false, urls);
  TTokenState state;
  RunRecorder rec;
  for (const auto& line : lines) {
    rec.NextLine();
    t.TokenizeLine(line, state, rec);
  }
  return Describe(rec.runs);
}

TStylerDefs Without(TStylerDefs d, TStyleType type) {
  std::erase_if(d.Styles, [&](const TStyleDef& s) { return s.StyleType == type; });
  return d;
}

TStylerDefs SymbolsOnly(const char* symbols) {
  TStylerDefs d = MainWindowDefs();
  for (auto& s : d.Styles)
    if (s.StyleType == stSymbol) s.Symbols = symbols;
  return d;
}

TStylerDefs WithBlankEndedBracket() {
  TStylerDefs d = MainWindowDefs();
  TStyleDef b;
  b.StyleType = stBracket;
  b.BracketStart = '$';
  b.BracketEnd = ' ';
  d.Styles.insert(d.Styles.begin(), b);
  return d;
}

TRunColours Colours() {
  TRunColours c;
  c.Plain = {0x000000, 0xFFFFFF, 0};
  c.Url = {0xFF0000, 0xFFFFFF, 4};
  return c;
}

struct Look {
  int Column, Length;
  TRunLook L;
  bool operator==(const Look&) const = default;
};

// The line's runs by their colours, neighbours of one look joined.
std::vector<Look> Looks(const TLineTokenizer& t, const std::vector<memotest::Run>& runs) {
  std::vector<Look> out;
  for (const auto& r : runs) {
    TRunLook l = t.Look(r.State, Colours());
    if (!out.empty() && out.back().L == l)
      out.back().Length += r.Length;
    else
      out.push_back({r.Column, r.Length, l});
  }
  return out;
}

}  // namespace

TEST(Tokenizer, RunsOfTheEdgeCases) {
  const TStylerDefs main = MainWindowDefs();
  struct Case {
    const char* name;
    TStylerDefs defs;
    std::vector<std::string> lines;
    const char* runs;
    bool urls = true;
  };
  const Case cases[] = {
      {"a comment left open colours the next line up to its end marker", main, {"a <!-- b", "c --> d"},
       "c -->/c| /s|d/p"},
      {"an open string carries into the next line", main, {"x=\"abc", "def\" y"}, "def\"/b| /s|y/p"},
      {"a bracket ended by a blank closes with its piece", WithBlankEndedBracket(), {"$abc def"},
       "$abc/b| /s|def/p"},
      {"1.2.3 is a number, a symbol and a number", main, {"1.2.3"}, "1/n|./s|2.3/n"},
      {"minus is a symbol before a number", main, {" -5"}, " -/s|5/n"},
      {"minus starts a number where it is no symbol", SymbolsOnly(" "), {" -5"}, " /s|-5/n"},
      {"no keyword inside a longer word", main, {"stable"}, "stable/p"},
      {"every position starts a word without symbols", Without(main, stSymbol), {"stable"}, "s/p|table/k"},
      {"a line comment inside an open string is no comment", main, {"\"a // b"}, "\"a // b/b"},
      {"a line comment runs to the line end", main, {"x // y"}, "x/p| /s|// y/c"},
      {"the line comment ends with its line", main, {"// y", "z"}, "z/p"},
      {"keywords are found without case", main, {"<BODY>"}, "</s|BODY/k|>/s"},
      {"a URL is one run", main, {"see http://x.org/a.html now"}, "see/p| /s|http://x.org/a.html/u| /s|now/p"},
      {"a comment marker inside a string is not taken for a later one", main, {"\"<!--\" <!-- x"},
       "\"<!--\"/b| /s|<!-- x/c", false},
      {"a comment closes and text goes on", main, {"<!-- a --> x"}, "<!-- a -->/c| /s|x/p"},
      {"hex digits follow a hex prefix", [] {
         TStylerDefs d = MainWindowDefs();
         d.HexChars = "$";
         return d;
       }(), {"$ff zz"}, "$ff/n| /s|zz/p"},
      {"an escape keeps the closing quote in the string", [] {
         TStylerDefs d = MainWindowDefs();
         d.EscapeChar = "\\";
         return d;
       }(), {"\"a\\\"b\" c"}, "\"a\\\"b\"/b| /s|c/p"},
  };
  for (const Case& c : cases) EXPECT_EQ(LastLineRuns(c.defs, c.lines, c.urls), c.runs) << c.name;
}

TEST(Tokenizer, UrlRecognitionAndPieces) {
  EXPECT_TRUE(TLineTokenizer::IsURL("WWW.example.org"));
  EXPECT_TRUE(TLineTokenizer::IsURL("Mailto:someone"));
  EXPECT_TRUE(TLineTokenizer::IsURL("nntp://news"));
  EXPECT_FALSE(TLineTokenizer::IsURL("xhttp://a"));
  EXPECT_FALSE(TLineTokenizer::IsURL("www"));
  TStylerDefs d = MainWindowDefs();
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  auto pieces = t.SplitURLPieces("go 'www.a.b', now");
  std::vector<std::string> got(pieces.begin(), pieces.end());
  EXPECT_EQ(got, (std::vector<std::string>{"go", " '", "www.a.b", "', ", "now"}));
  EXPECT_FALSE(t.URLAtColumn("go 'www.a.b', now", 1));
  EXPECT_TRUE(t.URLAtColumn("go 'www.a.b', now", 4));
  EXPECT_TRUE(t.URLAtColumn("é www.a", 2)) << "columns count characters";
  t.SetDefs(&d, false, false);
  EXPECT_FALSE(t.URLAtColumn("go www.a.b", 4));
  EXPECT_EQ(t.SplitURLPieces("go www.a.b").size(), 1u);
}

TEST(Tokenizer, CustomKeywordsGoToTheHookInsteadOfARun) {
  TStylerDefs d = MainWindowDefs();
  d.CustomKeywords = true;
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  RunRecorder rec;
  TTokenState state;
  t.TokenizeLine("<table>x", state, rec);
  EXPECT_EQ(rec.keywords, std::vector<std::string>{"table"});
  EXPECT_EQ(Describe(rec.runs), "</s|>/s|x/p");
  EXPECT_EQ(rec.runs[1].Column, 6);
}

TEST(Tokenizer, CaseSensitiveKeywordsMatchTheirSpelling) {
  TStylerDefs d = MainWindowDefs();
  d.Styles[0].KeyWords = {"BODY"};
  TLineTokenizer t;
  t.SetDefs(&d, true, true);
  RunRecorder rec;
  TTokenState state;
  t.TokenizeLine("BODY body", state, rec);
  EXPECT_EQ(Describe(rec.runs), "BODY/k| /s|body/p");
}

TEST(Tokenizer, WithoutAStylerALineIsOneRun) {
  TLineTokenizer t;
  RunRecorder rec;
  TTokenState state;
  t.TokenizeLine("<!-- a \"b", state, rec);
  EXPECT_EQ(Describe(rec.runs), "<!-- a \"b/p");
  TLumMemoStrings store;
  store.Add("<!--");
  store.Add("x");
  EXPECT_EQ(t.LineStartState(store, 1), TTokenState());
}

TEST(Tokenizer, RunColoursFollowTheState) {
  TStylerDefs d = MainWindowDefs();
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  TTokenState s;
  EXPECT_EQ(t.Look(s, Colours()), Colours().Plain);
  s.InComment = 1;
  EXPECT_EQ(t.Look(s, Colours()), (TRunLook{0x808000, 0xFFFFFF, 1}));
  s.URL = 1;
  EXPECT_EQ(t.Look(s, Colours()), Colours().Url) << "a URL inside a comment shows as a URL";
  s = {};
  s.InBracket = 1;
  s.StyleIndex = 4;
  EXPECT_EQ(t.Look(s, Colours()).TextColor, 0xFF0000u);
  s = {};
  s.Keyword = 1;
  s.StyleIndex = 2;
  EXPECT_EQ(t.Look(s, Colours()).TextColor, 0x0000FFu);
  s.StyleIndex = 99;
  EXPECT_EQ(t.Look(s, Colours()), Colours().Plain) << "an index naming no style";
  d.Styles[2].BGColor = 0x1FFFFFFF;
  d.Styles[2].FontColor = 0x123456;
  s.StyleIndex = 2;
  EXPECT_EQ(t.Look(s, Colours()), (TRunLook{0x123456, 0xFFFFFF, 0})) << "no colour keeps the background";
}

TEST(Tokenizer, LineStartStateCachesEveryTwentiethLine) {
  TStylerDefs d = MainWindowDefs();
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  TLumMemoStrings store;
  for (int i = 0; i < 60; ++i) store.Add(i == 3 ? "<!-- open" : "text " + std::to_string(i));
  TTokenState s = t.LineStartState(store, 45);
  EXPECT_EQ(t.LastScanFrom(), 0);
  EXPECT_EQ(t.LastScanTo(), 44);
  EXPECT_EQ(s.InComment, 1);
  for (int line : {0, 20, 40, 45}) EXPECT_TRUE(store.GetLineProp(line)->TokenStateValid) << line;
  for (int line : {1, 19, 21, 44, 46}) EXPECT_FALSE(store.GetLineProp(line)->TokenStateValid) << line;
  EXPECT_EQ(store.GetLineProp(20)->TokenState.InComment, 1);
  store.GetLineProp(45)->TokenStateValid = false;
  EXPECT_EQ(t.LineStartState(store, 45), s);
  EXPECT_EQ(t.LastScanFrom(), 40);
  EXPECT_EQ(t.LastScanTo(), 44);
  TLumMemoStrings empty;
  empty.Clear();
  EXPECT_EQ(t.LineStartState(empty, 0), TTokenState());
}

// Caches below an edit were taken from the old text; a fresh answer must
// equal a scan from the top whatever was cached before.
TEST(Tokenizer, AnEditInvalidatesTheCachesBelowIt) {
  TStylerDefs d = MainWindowDefs();
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  TLumMemoStrings store;
  for (int i = 0; i < 200; ++i) store.Add("<p>line " + std::to_string(i) + "</p>");
  EXPECT_EQ(t.LineStartState(store, 199).InComment, 0);
  EXPECT_EQ(t.LineStartState(store, 0).InComment, 0);
  store.PutRaw(3, "<!-- opened near the top");
  EXPECT_EQ(t.LineStartState(store, 199).InComment, 1) << "typing an open comment";
  store.InsertRaw(10, "-->");
  EXPECT_EQ(t.LineStartState(store, 199).InComment, 0) << "inserting its end";
  store.DeleteRaw(10);
  EXPECT_EQ(t.LineStartState(store, 150).InComment, 1) << "deleting it again";
  store.DeleteRaw(3);
  EXPECT_EQ(t.LineStartState(store, 198).InComment, 0) << "deleting the opening line";
}

// Every golden file's runs per line against its table; a mismatch writes
// the table as it is now beside it (.runs.new) for a person to compare.
TEST(Tokenizer, GoldenRunTablesOfManualPages) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(TOLVANE_SOURCE_DIR) / "tests/data/memo/golden";
  TStylerDefs d = MainWindowDefs();
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".html" && ext != ".css") continue;
    ++files;
    std::vector<AnsiString> lines = SplitLines(memotest::Slurp(entry.path()));
    std::string table;
    TTokenState state;
    RunRecorder rec;
    for (size_t i = 0; i < lines.size(); ++i) {
      rec.NextLine();
      t.TokenizeLine(lines[i], state, rec);
      for (const auto& run : rec.runs) table += std::to_string(i + 1) + ": " + memotest::FormatRun(run) + "\n";
    }
    fs::path golden = entry.path();
    golden += ".runs";
    std::string expected = memotest::Slurp(golden);
    if (table != expected) {
      fs::path fresh = golden;
      fresh += ".new";
      std::ofstream(fresh, std::ios::binary) << table;
      ADD_FAILURE() << golden << " differs; the present table is in " << fresh;
    }
  }
  EXPECT_GE(files, 3);
}

// The colours of a line never depend on the way the view reached it:
// painting from any line's start state (through the caches) gives what
// one pass from line 0 gives, also after edits anywhere.
TEST(Tokenizer, ColoursAreTheSameFromAnyFirstLineOverTheManual) {
  auto files = memotest::ManualFiles();
  if (files.empty()) GTEST_SKIP() << "the manual is not installed";
  TStylerDefs d = MainWindowDefs();
  TLineTokenizer t;
  t.SetDefs(&d, false, true);
  std::mt19937 rng(21);
  const char* const snippets[] = {"<!--", "-->", "\"", "'", "x // y", "<!-- a --> <!--", "plain"};
  size_t checked = 0;
  // The sanitizer flavours take every tenth page; the normal build all.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  const size_t stride = 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  const size_t stride = 10;
#else
  const size_t stride = 1;
#endif
#else
  const size_t stride = 1;
#endif
  for (size_t f = 0; f < files.size(); f += stride) {
    TLumMemoStrings store;
    store.LoadFromString(memotest::Slurp(files[f]));
    if (store.Count() < 2) continue;
    int rounds = f % 7 == 0 ? 3 : 1;
    for (int round = 0; round < rounds; ++round) {
      if (round > 0) {
        int at = std::uniform_int_distribution<int>(0, store.Count() - 1)(rng);
        std::string s = store.Line(at);
        s.insert(std::uniform_int_distribution<size_t>(0, s.size())(rng), snippets[rng() % 7]);
        if (rng() % 3 == 0)
          store.InsertRaw(at, s);
        else
          store.PutRaw(at, s);
      }
      // One pass from the top.
      std::vector<std::vector<Look>> reference;
      TTokenState state;
      RunRecorder rec;
      for (int i = 0; i < store.Count(); ++i) {
        rec.NextLine();
        t.TokenizeLine(store.Line(i), state, rec);
        reference.push_back(Looks(t, rec.runs));
      }
      // First visible lines in random order, each painting a screenful.
      for (int jump = 0; jump < 6; ++jump) {
        int top = std::uniform_int_distribution<int>(0, store.Count() - 1)(rng);
        TTokenState s = t.LineStartState(store, top);
        for (int i = top; i < std::min(store.Count(), top + 25); ++i) {
          rec.NextLine();
          t.TokenizeLine(store.Line(i), s, rec);
          ASSERT_EQ(Looks(t, rec.runs), reference[static_cast<size_t>(i)])
              << files[f] << " line " << i + 1 << " painted from line " << top + 1 << " in round " << round;
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 10000u / stride);
}
