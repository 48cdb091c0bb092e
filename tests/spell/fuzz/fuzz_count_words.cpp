// Counts the words of arbitrary text through the spell-checker component
// with every ignore filter on. Besides not crashing or hanging, the count
// must equal the words the tokenizer delivers with the same filters, each
// of which is exactly the text the parser selects for it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzScratch.h"
#include "Tokenize.h"
#include "spell/engine/lx3SpellBase.h"

using namespace spell;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}

TLexaSpell3Base& Component() {
  static TLexaSpell3Base* spell = [] {
    auto* s = new TLexaSpell3Base();
    s->SetConfigStorage(csNone);
    s->ConfigDictionaryDir().Clear();
    s->ConfigDictionaryDir().Add(spell_fuzz::ScratchFolder().string());
    s->ConfigDefaultMainList().Clear();
    s->SuggestionsLearning = false;
    s->Config().EnsureLoaded();
    s->Config().SetOptions(0x7FFF);
    return s;
  }();
  return *spell;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TLexaSpell3Base& spell = Component();
  AnsiString text(reinterpret_cast<const char*>(data), size);
  AnsiString copy = text;
  TStringParser parser;
  parser.Initialize(&copy);
  Integer words = 0, errors = 0;
  bool hasErrors = false;
  spell.CountWords(&parser, 2, words, errors, hasErrors, false, true);
  Require(copy == text);
  Require(errors <= words);
  THTMLIgnore html;
  TURLIgnore url;
  const auto r = spell_test::Tokenize(text, {&url, &html});
  Require(r.selectionsMatch);
  Require(static_cast<Integer>(r.words.size()) == words);
  Require(spell.WordCountString(text) == words);
  return 0;
}
