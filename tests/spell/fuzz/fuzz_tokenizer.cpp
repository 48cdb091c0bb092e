// Runs the tokenizer with every ignore filter over arbitrary text through
// the string parser, in plain and French mode and with an end mark. Besides
// not crashing or hanging, every word must be exactly the text the parser
// selects for it, and replacing each word by itself must give the text back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "Tokenize.h"
#include "rtl/CodePages.h"

using namespace spell;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  THTMLIgnore html;
  TURLIgnore url;
  TQuotedLineIgnore quoted(">");
  TUppercaseWordIgnore upper;
  TNumbersIgnore numbers;
  TAbbreviationsIgnore abbreviations;
  const std::vector<TParserIgnore*> all = {&url, &upper, &numbers, &html, &quoted, &abbreviations};
  const auto r = spell_test::Tokenize(text, (mode & 1) ? all : std::vector<TParserIgnore*>{}, (mode & 2) != 0,
                                      (mode & 4) ? static_cast<Integer>(mode >> 3) : 0);
  Require(r.selectionsMatch);
  for (const std::string& w : r.words) {
    Require(!w.empty());
    for (auto* f : all) f->IsIgnoredWord(w, nullptr);
  }
  // Each word replaced by itself leaves the caller's text as it was.
  std::string copy = text;
  TStringParser parser;
  parser.Initialize(&copy);
  TMainParsingEngine engine;
  engine.Initialize(&parser, 2);
  for (std::string w = engine.NextWord(); !w.empty(); w = engine.NextWord()) {
    parser.SelectPreviousWord(static_cast<Integer>(w.size()));
    parser.ReplaceWord(w, 0);
  }
  Require(copy == text || !rtl::IsValidUtf8(text));
  return 0;
}
