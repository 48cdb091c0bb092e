// The main-dictionary compiler: how it reads a word list, what stops it, that
// its output depends on its input alone, and the program the build runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
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

uint32_t Get32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + static_cast<size_t>(i)));
  return v;
}

// Reads a compiled file straight from its bytes, without the reader, and
// checks the compiler's rules on it: node 0 is the root, classes follow one
// another, the first letters and the root carry no extra letters, children
// come in byte order, every other node took as many letters as it could
// (at most 8, never one that ends a word), and the words spelled out are
// the list's, in order.
void CheckStructure(const std::string& b, const std::vector<std::string>& words) {
  const size_t titleLength = static_cast<unsigned char>(b.at(1024));
  size_t at = 1025 + 2 * (titleLength + 1);
  at += 4;  // language
  ASSERT_EQ(Get32(b, at), words.size());
  const uint32_t nodeCount = Get32(b, at + 4);
  at += 8;
  uint32_t counts[9], first[10] = {0};
  size_t arrays[9];
  for (int k = 0; k < 9; ++k) counts[k] = Get32(b, at + 4 * static_cast<size_t>(k));
  at += 36;
  for (int k = 0; k < 9; ++k) {
    first[k + 1] = first[k] + counts[k];
    arrays[k] = at;
    at += static_cast<size_t>(counts[k]) * (4 + static_cast<size_t>(k));
  }
  ASSERT_EQ(first[9], nodeCount);
  const uint32_t poolLength = Get32(b, at);
  const size_t pool = at + 4;
  const size_t firstTable = pool + poolLength;
  ASSERT_EQ(b.size(), firstTable + 2048 + 1024);
  const bool wide = nodeCount >= 65535;

  struct Node {
    unsigned char letter;
    bool end;
    std::string extra;
    std::vector<uint32_t> children;
  };
  auto readRefs = [&](size_t offset, size_t count) {
    std::vector<uint32_t> refs;
    size_t p = pool + offset;
    for (size_t i = 0; i < count; ++i) {
      const auto b0 = static_cast<unsigned char>(b.at(p));
      const auto b1 = static_cast<unsigned char>(b.at(p + 1));
      if (!wide) {
        refs.push_back(b0 | b1 << 8);
        p += 2;
      } else if (b0 >= 0x80) {
        refs.push_back((b0 - 0x80u) << 8 | b1);
        p += 2;
      } else {
        refs.push_back(static_cast<uint32_t>(b0) << 16 | b1 << 8 | static_cast<unsigned char>(b.at(p + 2)));
        p += 3;
      }
    }
    return refs;
  };
  std::vector<Node> nodes(nodeCount);
  for (uint32_t i = 0; i < nodeCount; ++i) {
    int k = 0;
    while (i >= first[k + 1]) ++k;
    const size_t where = arrays[k] + (i - first[k]) * (4 + static_cast<size_t>(k));
    const uint32_t value = Get32(b, where);
    Node& n = nodes[i];
    n.letter = value & 0xFF;
    n.end = value >> 31;
    n.extra = b.substr(where + 4, static_cast<size_t>(k));
    const uint32_t field = (value >> 8) & 0xFFFFF;
    const uint32_t c = (value >> 28) & 7;
    if (c == 1) {
      n.children = {field};
    } else if (c >= 2) {
      n.children = readRefs(field, c);
    } else if (field != 0xFFFFF) {
      const auto many = static_cast<unsigned char>(b.at(pool + field));
      ASSERT_GT(many, 7);
      n.children = readRefs(field + 1, many);
    }
    for (uint32_t child : n.children) ASSERT_LT(child, nodeCount);
  }
  // The first-letter table repeats the root's children.
  ASSERT_TRUE(nodes[0].extra.empty());
  std::vector<bool> firstLetter(nodeCount, false);
  for (uint32_t child : nodes[0].children) {
    const Node& n = nodes[child];
    firstLetter[child] = true;
    EXPECT_TRUE(n.extra.empty());
    const size_t entry = firstTable + 8 * n.letter;
    EXPECT_EQ(b.at(entry) != 0, n.end);
    ASSERT_EQ(static_cast<unsigned char>(b.at(entry + 1)), n.children.size());
    const uint32_t where = Get32(b, entry + 4);
    if (n.children.size() == 1) EXPECT_EQ(where, n.children[0]);
    if (n.children.size() > 1) EXPECT_EQ(readRefs(where, n.children.size()), n.children);
  }
  // The rules on every node, and the words in order.
  std::vector<std::string> spelled;
  std::vector<std::pair<uint32_t, std::string>> stack = {{0, ""}};
  uint64_t visits = 0;
  while (!stack.empty()) {
    auto [index, prefix] = stack.back();
    stack.pop_back();
    ASSERT_LE(++visits, nodeCount) << "a node reached twice";
    const Node& n = nodes[index];
    std::string word = prefix;
    if (index != 0) {
      word += static_cast<char>(n.letter);
      if (n.end) spelled.push_back(word);
      word += n.extra;
    }
    for (size_t i = 1; i < n.children.size(); ++i)
      ASSERT_LT(nodes[n.children[i - 1]].letter, nodes[n.children[i]].letter) << word;
    if (index != 0 && !firstLetter[index] && n.extra.size() < 8)
      EXPECT_FALSE(n.children.size() == 1 && !nodes[n.children[0]].end) << "could have folded on: " << word;
    if (!n.extra.empty()) EXPECT_FALSE(n.children.empty()) << "a word ends on an extra letter: " << word;
    for (auto it = n.children.rbegin(); it != n.children.rend(); ++it) stack.push_back({*it, word});
  }
  EXPECT_EQ(visits, nodeCount);
  EXPECT_EQ(spelled, words);
}

}  // namespace

TEST(AdmCompiler, TheFileFollowsTheRules) {
  // Long single-letter runs (folded in steps of 8), word ends inside runs,
  // a first letter with one child, a node with more than seven children.
  const std::vector<std::string> small = admc::PrepareWords(
      {"a", "abcdefghijklmnopqrstu", "abcdefghijklm", "abcdefghijklmnopqrstuvwxyz", "q", "qu", "quixotic",
       "x", "xa", "xb", "xc", "xd", "xe", "xf", "xg", "xh", "xi", "xia", "xib", "zzzzzzzzzzzzzzzzzzzzzzzzz"});
  admc::Statistics stats;
  const std::string bytes = admc::Compile(small, admc::Options{}, &stats);
  EXPECT_FALSE(stats.threeByteReferences);
  EXPECT_GT(stats.classCounts[8], 0u);
  ASSERT_NO_FATAL_FAILURE(CheckStructure(bytes, small));
  // The dictionary every build makes: 2- and 3-byte references.
  const std::string american = core_test::Slurp(spell_test::AmericanAdmPath());
  ASSERT_NO_FATAL_FAILURE(CheckStructure(american, spell_test::AmericanWords()));
}

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

TEST(AdmCompiler, AChildPoolBeyondTwentyBitsStopsIt) {
  // Every four-letter string of a..z: 475,254 nodes, each inner one with 26
  // children, so the child references pass the 20-bit field.
  std::vector<std::string> words;
  std::string w(4, 'a');
  for (int i = 0; i < 26 * 26 * 26 * 26; ++i) {
    int v = i;
    for (int k = 3; k >= 0; --k, v /= 26) w[static_cast<size_t>(k)] = static_cast<char>('a' + v % 26);
    words.push_back(w);
  }
  try {
    admc::Compile(words, admc::Options{});
    ADD_FAILURE() << "compiled";
  } catch (const admc::CompileError& e) {
    EXPECT_NE(std::string(e.what()).find("0xFFFFF"), std::string::npos) << e.what();
  }
  // Three letters fit.
  words.clear();
  w.resize(3);
  for (int i = 0; i < 26 * 26 * 26; ++i) {
    int v = i;
    for (int k = 2; k >= 0; --k, v /= 26) w[static_cast<size_t>(k)] = static_cast<char>('a' + v % 26);
    words.push_back(w);
  }
  admc::Statistics stats;
  EXPECT_NO_THROW(admc::Compile(words, admc::Options{}, &stats));
  EXPECT_EQ(stats.nodes, 1u + 26 + 26 * 26 + 26 * 26 * 26);
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
