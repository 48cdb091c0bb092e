// Feeds damaged custom dictionary files to the reader, then looks words up,
// changes the dictionary and saves it in a scratch folder. Besides not
// crashing, a file it accepts must keep its invariants through the changes
// and read back as what was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "DamagedFiles.h"
#include "FuzzScratch.h"
#include "spell/engine/lx3CustomDictionary.h"

using namespace spell;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::string& ValidFile() {
  static const std::string bytes = [] {
    const std::string file = (spell_fuzz::ScratchFolder() / "valid.adu").string();
    spell_test::WriteSmallAdu(file);
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = spell_fuzz::Shape(data, size, ValidFile());
  const std::string file = (spell_fuzz::ScratchFolder() / "input.adu").string();
  const std::string saved = (spell_fuzz::ScratchFolder() / "saved.adu").string();
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  TCustomDictionary d;
  d.SetFilename(file);
  d.SetLoaded(true);
  const std::string word(reinterpret_cast<const char*>(data), std::min<size_t>(size, 12));
  for (const std::string& w : {word, std::string("alpha"), std::string("teh"), std::string("wrong")}) {
    d.IsIgnored(w);
    d.IsExcluded(w);
    std::string r;
    d.GetAutoCorrect(w, r);
  }
  for (Integer i = 0; i <= d.GetIgnoreCount(); ++i) d.GetIgnoreWord(i);
  if (d.Filename() != file) return 0;
  d.Check();
  d.AddIgnore(word);
  d.AddAutoCorrect("x" + word, word);
  d.RemoveIgnore("alpha");
  d.Check();
  Require(d.SaveToFile(saved));
  TCustomDictionary back;
  back.SetFilename(saved);
  Require(back.Filename() == saved);
  Require(back.GetIgnoreCount() == d.GetIgnoreCount());
  Require(back.GetAutoCorrectCount() == d.GetAutoCorrectCount());
  back.Check();
  d.SetModified(false);  // the damaged input file itself stays as it was
  return 0;
}
