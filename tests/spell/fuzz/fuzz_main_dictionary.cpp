// Feeds damaged main dictionary files to the reader, then looks words up,
// walks for phonetic candidates and enumerates the trie. Besides not
// crashing, no walk may visit more nodes than the file declares.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "DamagedFiles.h"
#include "FuzzScratch.h"
#include "rtl/StringList.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3PhoneticsMap.h"

using namespace spell;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const TPhoneticsMap& Map(Integer lcid) {
  static TPhoneticsMap english, general;
  static const bool loaded = [] {
    english.SetLanguage(1033);
    general.SetLanguage(0);
    return true;
  }();
  (void)loaded;
  return lcid == 1033 ? english : general;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string valid = spell_test::SmallAdm();
  const std::string bytes = spell_fuzz::Shape(data, size, valid);
  const std::string file = (spell_fuzz::ScratchFolder() / "input.adm").string();
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  TMainDictionary d;
  d.Open(file);
  const std::string word(reinterpret_cast<const char*>(data), std::min<size_t>(size, 16));
  d.WordExists(word);
  for (const std::string& w : spell_test::SmallWords()) d.WordExists(w);
  for (const std::string& w : {word, std::string("nite"), std::string("thot"), std::string("anthm")}) {
    for (Integer lcid : {1033, 0}) {
      rtl::TStringList list;
      d.FindPhoneticCandidates(w, Map(lcid), list);
      Require(d.LastWalkVisits() <= d.NodeCount());
      Require(list.Count() <= 501);
    }
  }
  d.EnumerateAll([](std::string_view w) { Require(w.size() <= 511); });
  Require(d.LastWalkVisits() <= d.NodeCount());
  return 0;
}
