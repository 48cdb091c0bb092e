// Feeds damaged thesaurus files to the reader, then looks up the fuzzer's
// word in its forms and the small files' words, and spells every node.
// Besides not crashing or hanging: a file that loads has counts that fit
// in it, and a cut of a valid file never loads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "FuzzScratch.h"
#include "ThesaurusFiles.h"
#include "spell/engine/lx3ThesaurusFile.h"

using namespace spell;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string chains = spell_test::Assemble(spell_test::ChainThesaurus());
  static const std::string small = spell_test::SmallAdt();
  const std::string& valid = size > 0 && (data[0] & 0x80) ? small : chains;
  const std::string bytes = spell_fuzz::Shape(data, size, valid);
  const std::string file = (spell_fuzz::ScratchFolder() / "input.adt").string();
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  TThesaurusFile t;
  t.SetFileName(file);
  const std::string word(reinterpret_cast<const char*>(data), std::min<size_t>(size, 24));
  for (const std::string& w : {word, std::string("cat"), std::string("Ca"), std::string("DOG"), std::string("do"),
                               std::string("Happy"), std::string("run"), std::string("\xC9T\xC9")}) {
    if (!t.Lookup(w)) continue;
    for (const auto& context : t.Contexts()) {
      Require(context->ContextKind >= 0 && context->ContextKind <= 4);
      for (const auto& list : context->Lists) Require(list.Count() <= 0xFFFF);
    }
  }
  if (t.Loaded()) {
    Require(bytes.size() >= TThesaurusFile::HeaderSize + 6 + 4 * static_cast<size_t>(t.NodeCount()) +
                                static_cast<size_t>(t.LinkSize()) + 14 * static_cast<size_t>(t.MeaningCount()) +
                                static_cast<size_t>(t.IndexSize()) + 14);
    Require(!(bytes.size() < valid.size() && valid.compare(0, bytes.size(), bytes) == 0));
  }
  for (Integer i = 0; i < t.NodeCount(); ++i) {
    Integer found = 0;
    const AnsiString w = t.GetNodeWord(i);
    Require(w.size() <= 2 * static_cast<size_t>(t.NodeCount()) + 1);  // two walks, neither round
    t.FindWord(w, found);
  }
  return 0;
}
