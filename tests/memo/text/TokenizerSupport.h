#pragma once
// The main window's styler as plain definitions, and a line painter that
// records runs instead of drawing them.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "memo/text/MemoChars.h"
#include "memo/text/MemoTokenizer.h"

namespace memotest {

// Seven items: the three keyword groups in lower case and sorted, purple
// single quotes, blue double quotes, the teal symbols, and an item of
// bracket type without brackets; comments teal and bold.
inline memo::TStylerDefs MainWindowDefs() {
  using namespace memo;
  TStylerDefs d;
  d.LineComment = "//";
  d.MultiCommentLeft = "<!--";
  d.MultiCommentRight = "-->";
  d.CommentStyle = {0x808000, 0xFFFFFF, 1};
  d.NumberStyle = {0x000000, 0xFFFFFF, 0};
  auto lowerSorted = [](std::vector<AnsiString> v) {
    for (auto& k : v)
      for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::sort(v.begin(), v.end());
    return v;
  };
  auto keywords = [&](std::span<const char* const> list, uint32_t colour) {
    TStyleDef s;
    s.KeyWords = lowerSorted(std::vector<AnsiString>(list.begin(), list.end()));
    s.FontColor = colour;
    return s;
  };
  d.Styles.push_back(keywords(HtmlStandardKeywords(), 0x800000));
  d.Styles.push_back(keywords(HtmlTableKeywords(), 0x008080));
  const char* const link[] = {"A", "HREF"};
  d.Styles.push_back(keywords(link, 0x0000FF));
  TStyleDef single;
  single.StyleType = stBracket;
  single.BracketStart = single.BracketEnd = '\'';
  single.FontColor = 0x800080;
  d.Styles.push_back(single);
  TStyleDef dbl = single;
  dbl.BracketStart = dbl.BracketEnd = '"';
  dbl.FontColor = 0xFF0000;
  d.Styles.push_back(dbl);
  TStyleDef symbols;
  symbols.StyleType = stSymbol;
  symbols.Symbols = AnsiString(" ,;:.()[]=-*/^%<>#\r\n");
  symbols.FontColor = 0x808000;
  d.Styles.push_back(symbols);
  TStyleDef plain;
  plain.StyleType = stBracket;
  d.Styles.push_back(plain);
  return d;
}

struct Run {
  int Column = 0;
  int Length = 0;
  std::string Text;
  memo::TTokenState State;
};

// Records runs with their columns (in characters).
class RunRecorder : public memo::ILinePainter {
 public:
  void PaintRun(std::string_view text, const memo::TTokenState& state) override {
    int len = memo::CharLength(text);
    runs.push_back({column, len, std::string(text), state});
    column += len;
  }
  void KeywordFound(std::string_view word, const memo::TTokenState& state) override {
    keywords.emplace_back(word);
    column += memo::CharLength(word);
  }
  void NextLine() {
    runs.clear();
    keywords.clear();
    column = 0;
  }
  std::vector<Run> runs;
  std::vector<std::string> keywords;
  int column = 0;
};

// "col+len bytes style" as the golden tables write a run.
inline std::string FormatRun(const Run& r) {
  const memo::TTokenState& s = r.State;
  char buf[96];
  std::snprintf(buf, sizeof buf, "%d+%d %02x%02x%02x%02x%02x%02x%02x%02x %d", r.Column, r.Length, s.InComment,
                s.InBracket, s.Number, s.Keyword, s.Symbol, s.URL, static_cast<unsigned char>(s.BracketEnd),
                static_cast<unsigned char>(s.BracketStart), s.StyleIndex);
  return buf;
}

}  // namespace memotest
