// The main-dictionary compiler: how it reads a word list, what stops it, that
// its output depends on its input alone, and the program the build runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AdmCompiler.h"
#include "SpellTestSupport.h"
#include "core/TestSupport.h"
#include "spell/engine/lx3MainDictionary.h"

using namespace spell;

namespace {

struct AdmcRun {
  int status = -1;
  std::string output;  // stdout and stderr together
};

AdmcRun RunAdmc(const std::string& arguments) {
  AdmcRun run;
  const std::string command = std::string(TOLVANE_ADMC) + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

TEST(AdmCompiler, WordsAreReadAsTheToolTakesThem) {
  // CR line ends, empty lines and repeats go; possessives of listed words
  // are left to the spell checker's rule, the others stay words; UTF-8 in,
  // Windows-1252 out, byte-sorted.
  const std::vector<std::string> lines = {"dog\r", "", "dog's", "cat's", "Kinko's", "caf\xC3\xA9", "dog",
                                          "\xC5\x92uvre", "zebra", "Zebra", "s", "'s", "it's", "it"};
  const std::vector<std::string> expected = {"'s", "Kinko's", "Zebra", "caf\xE9", "cat's", "dog", "it", "s",
                                             "zebra", "\x8Cuvre"};
  EXPECT_EQ(admc::PrepareWords(lines), expected);
}

TEST(AdmCompiler, BadLinesStopItNamingTheLine) {
  const std::string longest(511, 'a');
  EXPECT_EQ(admc::PrepareWords({longest}), std::vector<std::string>{longest});
  // 511 bytes in 1252 even where UTF-8 needs more.
  std::string accented;
  for (int i = 0; i < 511; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(admc::PrepareWords({accented}), std::vector<std::string>{std::string(511, '\xE9')});
  struct Case {
    std::string word;
    std::string says;
  } cases[] = {
      {"tab\tword", "control character"},
      {"bell\x07", "control character"},
      {"del\x7F", "control character"},
      {"c1\xC2\x85", "control character"},                   // U+0085 in UTF-8
      {"\xCE\xA9mega", "code page 1252 cannot hold"},          // Greek capital omega
      {"\xE4\xB8\xAD", "code page 1252 cannot hold"},          // a Chinese character
      {std::string(512, 'a'), "longer than 511 bytes"},
      {accented + "\xC3\xA9", "longer than 511 bytes"},
      {"broken\xC3", "not UTF-8"},
  };
  for (const Case& c : cases) {
    try {
      admc::PrepareWords({"first", "second", c.word, "fourth"});
      ADD_FAILURE() << "accepted: " << c.word.substr(0, 20);
    } catch (const admc::CompileError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("line 3: ", 0), 0u) << what;
      EXPECT_NE(what.find(c.says), std::string::npos) << what;
    }
  }
}

TEST(AdmCompiler, OutputDependsOnTheInputAlone) {
  const std::vector<std::string> words =
      admc::PrepareWords({"anthem", "anthology", "ant", "beekeeper", "understanding", "understand", "zebra"});
  admc::Options options;
  options.sourceNote = "Word list: test";
  const std::string once = admc::Compile(words, options);
  EXPECT_EQ(admc::Compile(words, options), once);
  options.title = "Another";
  EXPECT_NE(admc::Compile(words, options), once);
  EXPECT_THROW(admc::Compile({"b", "a"}, options), admc::CompileError);  // not byte-sorted
}

TEST(AdmCompiler, TheProgram) {
  core_test::ScratchFolder dir("spell-admc");
  const std::string list = (dir.Path() / "words.txt").string();
  const std::string out = (dir.Path() / "out.adm").string();

  // A missing list names the package that ships it, and writes nothing.
  AdmcRun missing = RunAdmc("--package wamerican " + (dir.Path() / "none.txt").string() + " " + out);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("wamerican"), std::string::npos) << missing.output;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A bad word names its line, and writes nothing.
  core_test::WriteFile(list, "alpha\nbeta\ngamma\tdelta\n");
  AdmcRun bad = RunAdmc(list + " " + out);
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.output.find("line 3"), std::string::npos) << bad.output;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A good list: the header names its source after the banner's NUL, and
  // the reader finds every word under the given title and language.
  core_test::WriteFile(list, "alpha\nbeta\nbeta's\ncaf\xC3\xA9\n");
  AdmcRun good = RunAdmc("--title \"Test list\" --language 1036 --note \"Word list: words.txt; copyright: none\" " + list +
                     " " + out);
  EXPECT_EQ(good.status, 0) << good.output;
  const std::string bytes = core_test::Slurp(out);
  const size_t nul = bytes.find('\0');
  ASSERT_NE(nul, std::string::npos);
  EXPECT_EQ(bytes.substr(0, 23), "Tolvane main dictionary");
  EXPECT_EQ(std::string(bytes.c_str() + nul + 1), "Word list: words.txt; copyright: none");
  TMainDictionary d;
  d.Open(out);
  ASSERT_EQ(d.FileName(), out);
  EXPECT_EQ(d.Title(), "Test list");
  EXPECT_EQ(d.Language(), 1036u);
  EXPECT_EQ(d.WordCount(), 3u);
  for (const char* w : {"alpha", "beta", "caf\xE9"}) EXPECT_TRUE(d.WordExists(w)) << w;
  EXPECT_FALSE(d.WordExists("beta's"));

  // Usage errors.
  EXPECT_EQ(RunAdmc(list).status, 2);
  EXPECT_EQ(RunAdmc("--colour red " + list + " " + out).status, 2);
}
