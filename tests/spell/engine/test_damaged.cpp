// Damaged dictionary files: every truncation of a small valid file, and its
// first 2 KB with each byte changed in turn, open (or are refused) and
// answer without a crash, and walks stay within the file's node count.
#include <gtest/gtest.h>

#include <string>

#include "DamagedFiles.h"
#include "core/TestSupport.h"
#include "rtl/StringList.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3MainDictionary.h"
#include "spell/engine/lx3PhoneticsMap.h"

using namespace spell;

namespace {

// Opens a main dictionary file and asks everything of it.
void Exercise(const std::string& file, const TPhoneticsMap& english, const TPhoneticsMap& general) {
  TMainDictionary d;
  d.Open(file);
  for (const std::string& w : spell_test::SmallWords()) d.WordExists(w);
  d.WordExists("nightlyx");
  for (const char* w : {"nite", "anthm", "spelin", "ze"}) {
    rtl::TStringList list;
    d.FindPhoneticCandidates(w, english, list);
    ASSERT_LE(d.LastWalkVisits(), d.NodeCount());
    d.FindPhoneticCandidates(w, general, list);
    ASSERT_LE(d.LastWalkVisits(), d.NodeCount());
  }
  d.EnumerateAll([](std::string_view) {});
  ASSERT_LE(d.LastWalkVisits(), d.NodeCount());
}

void ExerciseAdu(const std::string& file, const std::string& scratch) {
  TCustomDictionary d;
  d.SetFilename(file);
  d.SetLoaded(true);
  for (const char* w : {"alpha", "beta", "wrong", "teh", "missing"}) {
    d.IsIgnored(w);
    d.IsExcluded(w);
    std::string r;
    d.GetAutoCorrect(w, r);
  }
  for (Integer i = 0; i < d.GetIgnoreCount() + 1; ++i) d.GetIgnoreWord(i);
  std::string w, r;
  for (Integer i = 0; i < d.GetAutoCorrectCount() + 1; ++i) d.GetAutoCorrectPair(i, w, r);
  if (d.Filename() == file) {
    d.AddIgnore("fresh");
    d.RemoveIgnore("alpha");
    d.Check();
    ASSERT_TRUE(d.SaveToFile(scratch));
    d.SetModified(false);  // the damaged input itself is never written
    TCustomDictionary back;
    back.SetFilename(scratch);
    ASSERT_EQ(back.Filename(), scratch) << "a file read in is saved in a form no reader takes";
  }
}

}  // namespace

TEST(DamagedFiles, MainDictionary) {
  const std::string valid = spell_test::SmallAdm();
  spell_test::MemoryFile memory;
  const std::string file = memory.Path();
  TPhoneticsMap english, general;
  english.SetLanguage(1033);
  general.SetLanguage(0);
  for (size_t n = 0; n <= valid.size(); ++n) {
    memory.Set(valid.substr(0, n));
    ASSERT_NO_FATAL_FAILURE(Exercise(file, english, general)) << "cut at " << n;
  }
  for (size_t i = 0; i < std::min<size_t>(2048, valid.size()); ++i) {
    std::string changed = valid;
    changed[i] = static_cast<char>(changed[i] ^ 0xA5);
    memory.Set(changed);
    ASSERT_NO_FATAL_FAILURE(Exercise(file, english, general)) << "byte " << i;
  }
}

TEST(DamagedFiles, CustomDictionary) {
  core_test::ScratchFolder dir("spell-damaged-adu");
  const std::string source = (dir.Path() / "source.adu").string();
  spell_test::WriteSmallAdu(source);
  const std::string valid = core_test::Slurp(source);
  ASSERT_GT(valid.size(), 1000u);
  spell_test::MemoryFile memory;
  const std::string file = memory.Path();
  const std::string scratch = (dir.Path() / "out.adu").string();
  size_t accepted = 0;
  for (size_t n = 0; n <= valid.size(); ++n) {
    memory.Set(valid.substr(0, n));
    ASSERT_NO_FATAL_FAILURE(ExerciseAdu(file, scratch)) << "cut at " << n;
    TCustomDictionary probe;
    probe.SetFilename(file);
    accepted += probe.Filename() == file;
  }
  EXPECT_EQ(accepted, 2u);  // the banner alone, and the whole file
  for (size_t i = 0; i < std::min<size_t>(2048, valid.size()); ++i) {
    std::string changed = valid;
    changed[i] = static_cast<char>(changed[i] ^ 0x5A);
    memory.Set(changed);
    ASSERT_NO_FATAL_FAILURE(ExerciseAdu(file, scratch)) << "byte " << i;
  }
}

// The header's per-kind counts must match the records: a file whose counts
// were altered but still add up within the word count used to be read, then
// saved back with counts the reader refuses.
TEST(DamagedFiles, CustomDictionaryCountsMustMatchTheRecords) {
  core_test::ScratchFolder dir("spell-adu-counts");
  const std::string source = (dir.Path() / "source.adu").string();
  spell_test::WriteSmallAdu(source);
  const std::string valid = core_test::Slurp(source);
  const size_t counts = valid.find('\x1A') + 1;  // ignore, exclude, auto-correct, words
  auto withCounts = [&](int ignore, int exclude, int autoCorrect) {
    std::string bytes = valid;
    const int values[] = {ignore, exclude, autoCorrect};
    for (int k = 0; k < 3; ++k)
      for (int b = 0; b < 4; ++b) bytes[counts + 4 * k + b] = static_cast<char>((values[k] >> (8 * b)) & 0xFF);
    return bytes;
  };
  ASSERT_EQ(valid, withCounts(3, 1, 2));  // the small file as written
  struct Case {
    int ignore, exclude, autoCorrect;
    bool accepted;
  };
  // {3, 1, 6}: one auto-correct count raised to the word count, the fuzzer's
  // first find (one bit of the count flipped).
  const Case cases[] = {{3, 1, 2, true},  {2, 1, 3, false}, {3, 0, 3, false},
                        {3, 1, 5, false}, {3, 1, 6, false}, {0, 0, 0, false}};
  spell_test::MemoryFile memory;
  const std::string file = memory.Path();
  const std::string saved = (dir.Path() / "saved.adu").string();
  for (const Case& c : cases) {
    memory.Set(withCounts(c.ignore, c.exclude, c.autoCorrect));
    TCustomDictionary d;
    d.SetFilename(file);
    EXPECT_EQ(d.Filename() == file, c.accepted) << c.ignore << "/" << c.exclude << "/" << c.autoCorrect;
    if (!c.accepted) continue;
    d.SetLoaded(true);
    d.RemoveIgnore("alpha");
    ASSERT_TRUE(d.SaveToFile(saved));
    d.SetModified(false);
    TCustomDictionary back;
    back.SetFilename(saved);
    EXPECT_EQ(back.Filename(), saved);
    EXPECT_EQ(back.GetIgnoreCount(), 2);
  }
}
