#pragma once
// Runs the tokenizer over a string with filters wired as the spell checker
// wires them, and checks at each word that the parser selects exactly it.
#include <memory>
#include <string>
#include <vector>

#include "spell/engine/lx3Ignore.h"
#include "spell/engine/lx3ParseEngine.h"
#include "spell/engine/lx3StringParser.h"

namespace spell_test {

struct TokenizeResult {
  std::vector<std::string> words;
  bool selectionsMatch = true;  // each word is what SelectPreviousWord selects
};

inline TokenizeResult Tokenize(std::string text, const std::vector<spell::TParserIgnore*>& filters = {},
                               bool french = false, spell::Integer endMark = 0) {
  spell::TStringParser parser;
  parser.Initialize(&text);
  spell::TMainParsingEngine engine;
  engine.SetFrenchApostrophes(french);
  engine.OnCharacter = [&](char c, spell::TControlParser* p, bool& ignored) {
    for (auto* f : filters)
      if (f->HooksParser() && f->IgnoreChar(c, p)) {
        ignored = true;
        return;
      }
  };
  engine.OnWord = [&](const std::string& w, spell::TControlParser* p, bool& ignored) {
    for (auto* f : filters)
      if (f->HooksParser() && f->IgnoreParsedWord(w, p)) {
        ignored = true;
        return;
      }
  };
  engine.Initialize(&parser, 2);
  if (endMark > 0) parser.SetPosition(endMark, 0, 1);
  TokenizeResult r;
  for (;;) {
    const std::string word = engine.NextWord();
    if (word.empty()) break;
    parser.SelectPreviousWord(static_cast<spell::Integer>(word.size()));
    spell::Integer x = 0, y = 0;
    parser.GetPosition(x, y);
    const std::string line = parser.GetLine();
    if (x < 1 || line.compare(static_cast<size_t>(x) - 1, word.size(), word) != 0) r.selectionsMatch = false;
    parser.IgnoreWord(0);
    r.words.push_back(word);
  }
  return r;
}

}  // namespace spell_test
