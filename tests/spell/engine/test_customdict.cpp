// The custom dictionary: its records and table, the file it stores them in,
// and the sharing of one file between programs (merge on save).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "SpellTestSupport.h"
#include "core/TestSupport.h"
#include "rtl/Exceptions.h"
#include "spell/engine/lx3CustomDictionary.h"
#include "spell/engine/lx3Util.h"

using namespace spell;
namespace fs = std::filesystem;
using core_test::ScratchFolder;
using core_test::Slurp;

namespace {

void Put32(std::string& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

// A dictionary file assembled from the stored layout, independently of the
// writer: slots placed by the hash and the probing rule.
struct FileBuilder {
  int32_t ignore = 0, exclude = 0, autoCorrect = 0, words = 0;
  std::vector<int32_t> slots;
  std::string pool;

  explicit FileBuilder(int32_t tableSize) : slots(static_cast<size_t>(tableSize), 0) {}

  // Appends a record and places it as the writer's insertion does.
  int32_t Add(char kind, const std::string& word, const std::string& replacement = "") {
    const auto value = static_cast<int32_t>(pool.size() + 1);
    pool += kind;
    pool += word;
    pool += '\0';
    if (kind == 'A') {
      pool += replacement;
      pool += '\0';
    }
    const auto size = static_cast<int32_t>(slots.size());
    int32_t index = WordHash(word, size);
    if (slots[static_cast<size_t>(index)] > 0) {
      const int32_t step = ProbeStep(index);
      do index = (index + step) % size;
      while (slots[static_cast<size_t>(index)] != 0);
    }
    slots[static_cast<size_t>(index)] = value;
    ++words;
    (kind == 'I' ? ignore : kind == 'E' ? exclude : autoCorrect)++;
    return index;
  }

  std::string Bytes() const {
    std::string out(TCustomDictionary::Banner);
    out += '\x1A';
    Put32(out, ignore);
    Put32(out, exclude);
    Put32(out, autoCorrect);
    Put32(out, words);
    Put32(out, static_cast<int32_t>(slots.size()));
    for (int32_t s : slots) Put32(out, s);
    Put32(out, static_cast<int32_t>(pool.size()));
    out += pool;
    return out;
  }
};

std::string FileOf(const ScratchFolder& dir, const char* name) { return (dir.Path() / name).string(); }

// A dictionary on a file, loaded.
std::unique_ptr<TCustomDictionary> Open(const std::string& file) {
  auto d = std::make_unique<TCustomDictionary>();
  d->SetFilename(file);
  d->SetLoaded(true);
  return d;
}

}  // namespace

TEST(CustomDictionary, BannerShape) {
  const std::string_view b = TCustomDictionary::Banner;
  ASSERT_EQ(b.size(), 120u);
  EXPECT_EQ(b.back(), '\0');
  EXPECT_EQ(b.substr(115, 5), std::string_view("\r\n\r\n\0", 5));  // five lines, the last one empty
  EXPECT_NE(b.find("4.0"), std::string_view::npos);
}

TEST(CustomDictionary, GoldenBytesOfEveryKindWithARemoval) {
  ScratchFolder dir("spell-golden");
  const std::string file = FileOf(dir, "user.adu");
  {
    auto d = Open(file);
    EXPECT_TRUE(d->AddIgnore("apple"));
    EXPECT_TRUE(d->AddExclude("pear"));
    EXPECT_TRUE(d->AddAutoCorrect("teh", "the"));
    EXPECT_TRUE(d->AddIgnore("plum"));
    EXPECT_TRUE(d->RemoveIgnore("plum"));
    d->Check();
  }  // released: saved
  FileBuilder expected(251);
  expected.Add('I', "apple");
  expected.Add('E', "pear");
  expected.Add('A', "teh", "the");
  const int32_t plumSlot = expected.Add('I', "plum");
  expected.slots[static_cast<size_t>(plumSlot)] = -1;  // removed: its bytes stay in the pool
  --expected.words;
  --expected.ignore;
  EXPECT_EQ(Slurp(file), expected.Bytes());

  auto again = Open(file);
  EXPECT_TRUE(again->IsIgnored("apple"));
  EXPECT_TRUE(again->IsExcluded("pear"));
  std::string repl;
  EXPECT_TRUE(again->GetAutoCorrect("teh", repl));
  EXPECT_EQ(repl, "the");
  EXPECT_FALSE(again->IsIgnored("plum"));
  EXPECT_EQ(again->GetIgnoreCount(), 1);
  again->Check();
}

TEST(CustomDictionary, FirstTableAndGrowth) {
  TCustomDictionary d;  // in memory
  ASSERT_TRUE(d.AddIgnore("abc"));
  EXPECT_EQ(d.TableSize(), 251);
  EXPECT_EQ(d.SlotAt(241), 1);  // WordHash("abc", 251)
  for (int i = 2; i <= 62; ++i) ASSERT_TRUE(d.AddIgnore("word" + std::to_string(i)));
  EXPECT_EQ(d.TableSize(), 251);
  ASSERT_TRUE(d.AddIgnore("word63"));  // 4 x 63 >= 251
  EXPECT_EQ(d.TableSize(), 509);
  EXPECT_EQ(d.SlotAt(395), 1);  // WordHash("abc", 509)
  for (int i = 2; i <= 63; ++i) EXPECT_TRUE(d.IsIgnored("word" + std::to_string(i)));
  d.Check();
}

TEST(CustomDictionary, RecordRules) {
  TCustomDictionary d;
  EXPECT_TRUE(d.AddIgnore("cat"));
  EXPECT_TRUE(d.AddIgnore("Cat"));  // case-sensitive
  EXPECT_FALSE(d.AddIgnore("cat"));
  EXPECT_FALSE(d.AddExclude("cat"));  // present with another kind
  EXPECT_FALSE(d.AddIgnore(""));
  EXPECT_FALSE(d.AddIgnore(std::string("a\0b", 3)));
  EXPECT_TRUE(d.AddAutoCorrect(std::string(250, 'w'), std::string(250, 'r')));  // 500 together
  EXPECT_FALSE(d.AddAutoCorrect(std::string(250, 'x'), std::string(251, 'r')));
  EXPECT_FALSE(d.AddIgnore(std::string(501, 'y')));
  EXPECT_FALSE(d.RemoveExclude("cat"));  // another kind
  EXPECT_TRUE(d.IsIgnored("cat"));

  const Integer poolBefore = d.PoolLength();
  EXPECT_TRUE(d.RemoveIgnore("cat"));
  EXPECT_FALSE(d.IsIgnored("cat"));
  EXPECT_EQ(d.PoolLength(), poolBefore);  // the bytes stay
  EXPECT_TRUE(d.AddExclude("cat"));      // a new record
  EXPECT_GT(d.PoolLength(), poolBefore);
  EXPECT_TRUE(d.IsExcluded("cat"));

  std::string w = "x", r = "y";
  d.GetAutoCorrectPair(d.GetAutoCorrectCount(), w, r);
  EXPECT_EQ(w, "");
  EXPECT_EQ(r, "");
  d.GetAutoCorrectPair(0, w, r);
  EXPECT_EQ(w, std::string(250, 'w'));
  EXPECT_EQ(r, std::string(250, 'r'));
  EXPECT_EQ(d.GetIgnoreWord(5), "");
  d.Check();
}

TEST(CustomDictionary, KindListsFollowSlotOrderAfterAChange) {
  TCustomDictionary d;
  for (const char* w : {"one", "two", "three"}) d.AddIgnore(w);
  ASSERT_EQ(d.GetIgnoreCount(), 3);
  // Lists valid: a new word is appended at the end.
  d.AddIgnore("four");
  EXPECT_EQ(d.GetIgnoreWord(3), "four");
  // A removal makes them be rebuilt in slot order.
  d.RemoveIgnore("two");
  std::map<Integer, std::string> bySlot;
  for (const char* w : {"one", "three", "four"}) {
    Integer index = 0, value = 0;
    ASSERT_TRUE(d.FindRecord(dkAny, w, index, value));
    bySlot[index] = w;
  }
  ASSERT_EQ(d.GetIgnoreCount(), 3);
  Integer i = 0;
  for (const auto& [slot, word] : bySlot) EXPECT_EQ(d.GetIgnoreWord(i++), word);
}

TEST(CustomDictionary, AFullTableIsRebuiltByAFailedSearch) {
  ScratchFolder dir("spell-full");
  // Three live words; every other slot deleted, so no search meets an empty slot.
  FileBuilder b(251);
  b.Add('I', "alpha");
  b.Add('E', "beta");
  b.Add('A', "gamma", "delta");
  for (int32_t& s : b.slots)
    if (s == 0) s = -1;
  const std::string file = FileOf(dir, "full.adu");
  core_test::WriteFile(file, b.Bytes());
  auto d = Open(file);
  ASSERT_EQ(d->Filename(), file);
  Integer index = 0, value = 0;
  EXPECT_FALSE(d->FindRecord(dkAny, "missing", index, value));
  Integer empty = 0, deleted = 0;
  for (Integer i = 0; i < d->TableSize(); ++i) {
    empty += d->SlotAt(i) == 0;
    deleted += d->SlotAt(i) == -1;
  }
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(empty, 248);
  EXPECT_TRUE(d->IsIgnored("alpha"));
  EXPECT_TRUE(d->IsExcluded("beta"));
  EXPECT_TRUE(d->AddIgnore("missing"));
  d->Check();
}

TEST(CustomDictionary, FileEndingAfterTheBannerLoadsEmpty) {
  ScratchFolder dir("spell-short");
  const std::string file = FileOf(dir, "short.adu");
  core_test::WriteFile(file, std::string(TCustomDictionary::Banner) + '\x1A');
  auto d = Open(file);
  EXPECT_EQ(d->Filename(), file);
  EXPECT_TRUE(d->Loaded());
  EXPECT_EQ(d->WordCount(), 0);
  EXPECT_TRUE(d->AddIgnore("word"));
}

TEST(CustomDictionary, FilesThatDoNotHoldTogetherAreRefusedAndNeverWritten) {
  ScratchFolder dir("spell-bad");
  FileBuilder good(251);
  good.Add('I', "alpha");
  good.Add('A', "teh", "the");
  const std::string valid = good.Bytes();
  const size_t countsAt = 121, tableAt = 137, slotsAt = 141, poolLengthAt = slotsAt + 4 * 251;
  auto patch = [&](size_t at, int32_t v) {
    std::string s = valid;
    std::string le;
    Put32(le, v);
    s.replace(at, 4, le);
    return s;
  };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"text file", "just some text\r\nnot a dictionary\r\n"},
      {"foreign banner", "X" + valid.substr(1)},
      {"cut inside the counts", valid.substr(0, 130)},
      {"cut inside the slots", valid.substr(0, slotsAt + 100)},
      {"cut inside the pool", valid.substr(0, valid.size() - 3)},
      {"table size 1", patch(tableAt, 1)},
      {"table size not a listed prime", patch(tableAt, 250)},
      {"negative count", patch(countsAt, -1)},
      {"kind count above the word count", patch(countsAt + 4, 3)},
      {"word count not the live slots", patch(countsAt + 12, 3)},
      {"negative pool length", patch(poolLengthAt, -5)},
      {"slot beyond the pool", patch(slotsAt + 4 * static_cast<size_t>(WordHash("alpha", 251)), 900)},
      {"slot of -7", patch(slotsAt + 4 * static_cast<size_t>(WordHash("alpha", 251)), -7)},
  };
  // A kind byte that is no kind, and a word without its NUL.
  std::string badKind = valid;
  badKind[valid.size() - good.pool.size()] = 'X';
  std::string noNul = valid;
  noNul.back() = 'x';  // the replacement's NUL, the last byte of the pool
  const std::string keepName = FileOf(dir, "keep.adu");
  for (auto& c : cases) {
    const std::string bad = FileOf(dir, "bad.adu");
    core_test::WriteFile(bad, c.bytes);
    TCustomDictionary d;
    d.SetFilename(keepName);
    d.SetLoaded(true);
    d.AddIgnore("pending");
    d.SetFilename(bad);
    EXPECT_EQ(d.Filename(), keepName) << c.what;
    EXPECT_EQ(Slurp(bad), c.bytes) << c.what;
  }
  for (const std::string& bytes : {badKind, noNul}) {
    const std::string bad = FileOf(dir, "bad2.adu");
    core_test::WriteFile(bad, bytes);
    TCustomDictionary d;
    d.SetFilename(bad);
    EXPECT_EQ(d.Filename(), "");
  }
  // Too many words for the table: 4 x word count must stay below its size.
  {
    FileBuilder crowded(251);
    for (int i = 0; i < 63; ++i) crowded.Add('I', "w" + std::to_string(i));
    const std::string bad = FileOf(dir, "crowded.adu");
    core_test::WriteFile(bad, crowded.Bytes());
    TCustomDictionary d;
    d.SetFilename(bad);
    EXPECT_EQ(d.Filename(), "");
  }
  // A file that turns bad between load and save gets nothing: the changes
  // are dropped, the file is never written.
  {
    const std::string file = FileOf(dir, "turns.adu");
    core_test::WriteFile(file, valid);
    auto d = Open(file);
    d->AddIgnore("more");
    core_test::WriteFile(file, "now a text file");
    EXPECT_TRUE(d->Save());
    EXPECT_FALSE(d->Modified());
    EXPECT_EQ(Slurp(file), "now a text file");
  }
}

TEST(CustomDictionary, MissingFileIsCreatedAtTheNextSave) {
  ScratchFolder dir("spell-new");
  const std::string file = FileOf(dir, "new.adu");
  auto d = Open(file);
  EXPECT_EQ(d->Filename(), file);
  EXPECT_TRUE(d->Modified());   // written even with nothing added
  EXPECT_FALSE(fs::exists(file));  // the probe left nothing behind
  d->SetLoaded(false);
  EXPECT_EQ(Slurp(file), std::string(TCustomDictionary::Banner) + '\x1A' + std::string(20, '\0') +
                             std::string(4, '\0'));
  // A name in a folder that does not exist cannot be created: refused.
  TCustomDictionary e;
  e.SetFilename(FileOf(dir, "missing/folder/x.adu"));
  EXPECT_EQ(e.Filename(), "");
}

TEST(CustomDictionary, InstancesMergeTheirChangesInOrder) {
  ScratchFolder dir("spell-merge");
  const std::string file = FileOf(dir, "shared.adu");
  {
    auto seed = Open(file);
    seed->AddIgnore("base");
    seed->AddIgnore("shared");
    seed->AddIgnore("kiwi");
  }
  auto first = Open(file);
  auto second = Open(file);
  first->AddIgnore("alpha");
  first->RemoveIgnore("shared");
  first->AddIgnore("shared");    // removed, then added again: present
  first->RemoveIgnore("kiwi");
  first->AddExclude("kiwi");     // removed as added, added as excluded: excluded
  second->AddIgnore("beta");
  second->RemoveIgnore("base");
  second->SetLoaded(false);
  first->SetLoaded(false);
  auto result = Open(file);
  EXPECT_TRUE(result->IsIgnored("alpha"));
  EXPECT_TRUE(result->IsIgnored("beta"));
  EXPECT_TRUE(result->IsIgnored("shared"));
  EXPECT_TRUE(result->IsExcluded("kiwi"));
  EXPECT_FALSE(result->IsIgnored("base"));
  result->Check();
  // A second save of the same instance merges again, with the same result.
  result->AddIgnore("gamma");
  EXPECT_TRUE(result->Save());
  result->AddIgnore("delta");
  EXPECT_TRUE(result->Save());
  auto last = Open(file);
  EXPECT_TRUE(last->IsIgnored("gamma"));
  EXPECT_TRUE(last->IsIgnored("delta"));
  EXPECT_TRUE(last->IsExcluded("kiwi"));
}

// Two processes share one file; the second writer's modification time is
// forced back to what the first one read, so only the file's identity tells
// them apart.
TEST(CustomDictionary, TwoProcessesWithEqualModificationTimes) {
  ScratchFolder dir("spell-procs");
  const std::string file = FileOf(dir, "shared.adu");
  {
    auto seed = Open(file);
    seed->AddIgnore("base");
    seed->AddIgnore("shared");
  }
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  int toChild[2], toParent[2];
  ASSERT_EQ(::pipe(toChild), 0);
  ASSERT_EQ(::pipe(toParent), 0);
  auto first = Open(file);  // this process loads first
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    char c = 0;
    TCustomDictionary d;
    d.SetFilename(file);
    d.SetLoaded(true);
    bool ok = d.AddIgnore("beta") && d.RemoveIgnore("base");
    ok = ::write(toParent[1], "L", 1) == 1 && ok;
    ok = ::read(toChild[0], &c, 1) == 1 && ok;
    d.SetLoaded(false);
    ok = !d.Loaded() && ok;
    ::_exit(ok ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(::read(toParent[0], &c, 1), 1);  // the child has loaded
  first->AddIgnore("alpha");
  first->RemoveIgnore("shared");
  first->AddIgnore("shared");
  ASSERT_EQ(::write(toChild[1], "S", 1), 1);  // the child saves
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  first->SetLoaded(false);
  auto result = Open(file);
  EXPECT_TRUE(result->IsIgnored("alpha"));
  EXPECT_TRUE(result->IsIgnored("beta"));
  EXPECT_TRUE(result->IsIgnored("shared"));
  EXPECT_FALSE(result->IsIgnored("base"));
  for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) ::close(fd);
}

TEST(CustomDictionary, AFailedWriteKeepsTheOldFileAndTheWords) {
  ScratchFolder dir("spell-fsize");
  const std::string file = FileOf(dir, "limit.adu");
  {
    auto seed = Open(file);
    seed->AddIgnore("old");
  }
  const std::string oldBytes = Slurp(file);
  const std::string other = FileOf(dir, "other.adu");
  auto d = Open(file);
  for (int i = 0; i < 200; ++i) d->AddIgnore("word" + std::to_string(i));

  {
    spell_test::FileSizeLimit limit(oldBytes.size() + 64);
    EXPECT_FALSE(d->Save());
    d->SetLoaded(false);    // the save fails: still loaded, still modified
    d->SetFilename(other);  // and still on its old file
  }

  EXPECT_NE(d->LastError(), 0);
  EXPECT_TRUE(d->Loaded());
  EXPECT_TRUE(d->Modified());
  EXPECT_EQ(d->Filename(), file);
  EXPECT_TRUE(d->IsIgnored("word199"));
  EXPECT_EQ(Slurp(file), oldBytes);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"limit.adu"});  // no temporary left behind

  d->SetLoaded(false);  // the next save succeeds
  EXPECT_FALSE(d->Loaded());
  auto again = Open(file);
  EXPECT_TRUE(again->IsIgnored("old"));
  EXPECT_TRUE(again->IsIgnored("word199"));
}

// The desktop's probe opened an unreadable dictionary for writing with
// delete-on-close and so removed it. A file its user may write but not read
// is refused and left alone.
TEST(CustomDictionary, AWriteOnlyDictionarySurvivesSetFilename) {
  ScratchFolder dir("spell-0222");
  ::chmod(dir.Path().c_str(), 0777);
  const std::string readable = FileOf(dir, "readable.adu");
  const std::string locked = FileOf(dir, "locked.adu");
  {
    auto seed = Open(locked);
    seed->AddIgnore("secret");
  }
  const std::string lockedBytes = Slurp(locked);
  ASSERT_EQ(::chmod(locked.c_str(), 0222), 0);
  auto probe = [&]() -> bool {
    TCustomDictionary d;
    d.SetFilename(readable);
    d.SetLoaded(true);
    d.SetFilename(locked);
    return d.Filename() == readable && d.Loaded();
  };
  if (::geteuid() == 0) {
    // Root reads anything: the probe runs as an unprivileged user.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
      ::_exit(probe() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  } else {
    EXPECT_TRUE(probe());
  }
  ASSERT_TRUE(fs::exists(locked));
  ::chmod(locked.c_str(), 0644);
  EXPECT_EQ(Slurp(locked), lockedBytes);
}

TEST(CustomDictionary, ClearAndSaveToFile) {
  ScratchFolder dir("spell-clear");
  const std::string file = FileOf(dir, "a.adu");
  auto d = Open(file);
  d->AddIgnore("x");
  d->AddAutoCorrect("y", "z");
  const std::string copy = FileOf(dir, "copy.adu");
  EXPECT_TRUE(d->SaveToFile(copy));
  EXPECT_EQ(d->Filename(), file);
  EXPECT_TRUE(d->Modified());
  auto c = Open(copy);
  EXPECT_TRUE(c->IsIgnored("x"));
  d->Clear();
  EXPECT_EQ(d->WordCount(), 0);
  EXPECT_EQ(d->TableSize(), 0);
  EXPECT_TRUE(d->Modified());
  EXPECT_FALSE(d->IsIgnored("x"));
  d->Check();
}
