// Random lines under random styler definitions (empty or overlapping
// comment markers, brackets ending in a blank, an escape character, hex
// characters) through the tokenizer and the URL split: nothing crashes or
// hangs, the runs (and the keywords a styler draws itself) join to the line
// exactly, and the start state of every line comes out for any line order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../text/TokenizerSupport.h"
#include "memo/text/LumMemoStrings.h"
#include "rtl/Exceptions.h"

namespace {

using namespace memo;

struct Script {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  // Short texts over a small alphabet, so markers meet often.
  std::string Text(size_t most) {
    static const char kAlphabet[] = "<!-->/*\"' $xX0f1.9e+;:\\\t,wwh";
    size_t len = Byte() % (most + 1);
    std::string s;
    for (size_t i = 0; i < len; ++i) {
      uint8_t b = Byte();
      s += b < 200 ? kAlphabet[b % (sizeof kAlphabet - 1)] : static_cast<char>(b);
    }
    return s;
  }
};

void Fail(const char* what) { rtl::AssertionFailed(what, __FILE__, __LINE__); }

// Everything painted or handed to the hook, in order.
class Joiner : public memotest::RunRecorder {
 public:
  void PaintRun(std::string_view text, const TTokenState& state) override {
    if (text.empty()) Fail("an empty run");
    joined.append(text);
    RunRecorder::PaintRun(text, state);
  }
  void KeywordFound(std::string_view word, const TTokenState& state) override {
    joined.append(word);
    RunRecorder::KeywordFound(word, state);
  }
  std::string joined;
};

TStylerDefs RandomDefs(Script& s) {
  TStylerDefs d;
  d.LineComment = s.Text(3);
  d.MultiCommentLeft = s.Text(4);
  d.MultiCommentRight = s.Text(4);
  if (s.Byte() % 2) d.NumberChars = s.Text(5);
  d.HexChars = s.Text(2);
  d.EscapeChar = s.Text(1);
  d.CustomKeywords = s.Byte() % 4 == 0;
  size_t styles = s.Byte() % 6;
  for (size_t i = 0; i < styles; ++i) {
    TStyleDef st;
    st.StyleType = static_cast<TStyleType>(s.Byte() % 3);
    std::string b = s.Text(2);
    st.BracketStart = b.empty() ? 0 : b[0];
    st.BracketEnd = b.size() < 2 ? (s.Byte() % 2 ? ' ' : 0) : b[1];
    st.Symbols = s.Text(4);
    size_t words = s.Byte() % 4;
    for (size_t k = 0; k < words; ++k) st.KeyWords.push_back(s.Text(4));
    d.Styles.push_back(st);
  }
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Script s{data, size};
  TStylerDefs defs = RandomDefs(s);
  TLineTokenizer t;
  t.SetDefs(s.Byte() % 8 ? &defs : nullptr, s.Byte() % 2, s.Byte() % 4 != 0);
  TLumMemoStrings store;
  size_t lines = 1 + s.Byte() % 30;
  for (size_t i = 0; i < lines; ++i) store.Add(s.Text(40));

  TTokenState state;
  for (int i = 0; i < store.Count(); ++i) {
    const AnsiString& line = store.Line(i);
    std::string pieces;
    for (std::string_view piece : t.SplitURLPieces(line)) {
      if (piece.empty()) Fail("an empty piece");
      pieces.append(piece);
    }
    if (pieces != line) Fail("the pieces do not join to the line");
    Joiner out;
    t.TokenizeLine(line, state, out);
    if (out.joined != line) Fail("the runs do not join to the line");
    for (Integer c = 0; c <= CharLength(line); ++c) t.URLAtColumn(line, c);
  }
  // Start states in the order the script gives, with edits between.
  while (s.n > 0) {
    uint8_t op = s.Byte();
    Integer at = static_cast<Integer>(s.Byte()) % (store.Count() + 1);
    if (op % 4 == 0 && at < store.Count())
      store.PutRaw(at, s.Text(20));
    else if (op % 4 == 1 && store.Count() > 1 && at < store.Count())
      store.DeleteRaw(at);
    else if (op % 4 == 2)
      store.InsertRaw(at, s.Text(20));
    TTokenState start = t.LineStartState(store, at);
    if (start.Number || start.Keyword || start.Symbol || start.URL) Fail("a token byte in a start state");
  }
  return 0;
}
