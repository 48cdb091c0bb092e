#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../../core/TestSupport.h"
#include "TambletImage.h"

namespace fs = std::filesystem;

namespace {

using core_test::Slurp;
using core_test::WriteFile;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the real tamblet program with an argument vector.
RunResult RunTamblet(const std::vector<std::string>& args, const fs::path& scratch) {
  const fs::path outFile = scratch / "stdout.txt";
  const fs::path errFile = scratch / "stderr.txt";
  std::string program = std::string(TOLVANE_BIN_DIR) + "/tamblet";
  pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(outFile.c_str(), "w", stdout) || !freopen(errFile.c_str(), "w", stderr)) _exit(127);
    std::vector<char*> argv{program.data()};
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(outFile);
  r.err = Slurp(errFile);
  return r;
}

class TambletTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(root_ / "src"); }
  core_test::ScratchFolder scratch_{"tamblet-test"};
  const fs::path root_ = scratch_.Path();
};

}  // namespace

TEST(TambletCrc, KnownCheckValue) {
  EXPECT_EQ(tamblet::Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(tamblet::Crc32("", 0), 0u);
}

TEST_F(TambletTest, BuildsAndListsEveryFileSortedByName) {
  WriteFile(root_ / "src" / "index.htm", "<html>hello</html>");
  WriteFile(root_ / "src" / "style.css", "body{}\r\n");
  WriteFile(root_ / "src" / "img" / "logo.gif", std::string("GIF89a\0\xff", 8));
  WriteFile(root_ / "src" / "empty.txt", "");
  fs::create_directories(root_ / "src" / "nothing-inside");

  RunResult build = RunTamblet({(root_ / "src").string(), (root_ / "out.cds").string()}, root_);
  ASSERT_EQ(build.exitCode, 0) << build.err;
  EXPECT_EQ(build.err, "");

  RunResult list = RunTamblet({"--list", (root_ / "out.cds").string()}, root_);
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_EQ(list.out,
            "empty.txt 0\n"
            "img/logo.gif 8\n"
            "index.htm 18\n"
            "style.css 8\n");
}

TEST_F(TambletTest, SameFilesGiveTheSameBytes) {
  // Written in different orders and at different times: the image must not
  // depend on directory order or time stamps.
  WriteFile(root_ / "a" / "z.htm", "zzz");
  WriteFile(root_ / "a" / "b.htm", "bb");
  WriteFile(root_ / "b" / "b.htm", "bb");
  WriteFile(root_ / "b" / "z.htm", "zzz");
  ASSERT_EQ(RunTamblet({(root_ / "a").string(), (root_ / "1.cds").string()}, root_).exitCode, 0);
  ASSERT_EQ(RunTamblet({(root_ / "b").string(), (root_ / "2.cds").string()}, root_).exitCode, 0);
  EXPECT_EQ(Slurp(root_ / "1.cds"), Slurp(root_ / "2.cds"));

  // The layout of docs/image-format.md, checked byte by byte for one file.
  std::vector<uint8_t> img = tamblet::EncodeImage({{"x", {'A', 'B'}}});
  ASSERT_EQ(img.size(), 16u + 80u + 2u);
  EXPECT_EQ(std::string(img.begin(), img.begin() + 4), "TCDS");
  EXPECT_EQ(img[4], 1);  // version, little-endian
  EXPECT_EQ(img[8], 1);  // one entry
  EXPECT_EQ(img[16], 'x');
  EXPECT_EQ(img[17], 0);
  EXPECT_EQ(img[16 + 64], 96);  // data offset
  EXPECT_EQ(img[16 + 68], 2);   // size
  uint32_t crc = tamblet::Crc32("AB", 2);
  EXPECT_EQ(img[16 + 72] | img[16 + 73] << 8 | img[16 + 74] << 16 | uint32_t(img[16 + 75]) << 24, crc);
  EXPECT_EQ(img[96], 'A');
}

TEST_F(TambletTest, EmptyFolderGivesAnEmptyImage) {
  RunResult build = RunTamblet({(root_ / "src").string(), (root_ / "out.cds").string()}, root_);
  ASSERT_EQ(build.exitCode, 0) << build.err;
  EXPECT_EQ(fs::file_size(root_ / "out.cds"), tamblet::kHeaderSize);
  RunResult list = RunTamblet({"--list", (root_ / "out.cds").string()}, root_);
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "");
}

TEST_F(TambletTest, RefusesNamesTheModuleCannotHold) {
  struct Case {
    std::string name;
    std::string why;
  } cases[] = {
      {"my page.htm", "blank"},
      {"caf\xc3\xa9.htm", "outside ASCII"},
      {"back\\slash.htm", "'\\'"},
      {"what?.htm", "'?'"},
      {std::string(64, 'a'), "longer than 63 bytes"},
      {"sub/" + std::string(60, 'b'), "longer than 63 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_ / "src");
    WriteFile(root_ / "src" / "ok.htm", "fine");
    WriteFile(root_ / "src" / c.name, "x");
    fs::path out = root_ / "out.cds";
    WriteFile(out, "previous image");
    RunResult r = RunTamblet({(root_ / "src").string(), out.string()}, root_);
    EXPECT_EQ(r.exitCode, 1);
    std::string shownName = c.name;
    EXPECT_NE(r.err.find("the module cannot hold the file \"" + shownName + "\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.why), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(out), "previous image");
  }
  // 63 bytes is still fine.
  EXPECT_EQ(tamblet::NameProblem(std::string(63, 'a')), "");
  EXPECT_EQ(tamblet::NameProblem("img/a-b_c.1.gif"), "");
}

TEST_F(TambletTest, ListRejectsDamagedImages) {
  std::vector<uint8_t> good = tamblet::EncodeImage({{"a.htm", {'h', 'i'}}, {"b.css", {'x'}}});
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* message;
  } cases[] = {
      {"wrong magic", [](auto& b) { b[0] = 'X'; }, "wrong magic"},
      {"unknown version", [](auto& b) { b[4] = 2; }, "unknown format version 2"},
      {"truncated header", [](auto& b) { b.resize(10); }, "shorter than its header"},
      {"entry count too large", [](auto& b) { b[8] = 50; }, "file table runs past"},
      {"table edited", [](auto& b) { b[16] = 'c'; }, "file table checksum mismatch"},
      {"data byte flipped", [](auto& b) { b.back() ^= 1; }, "fails its CRC-32 check"},
      {"data cut short", [](auto& b) { b.pop_back(); }, "runs past the end"},
      {"trailing byte", [](auto& b) { b.push_back(0); }, "trailing bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    fs::path img = root_ / "bad.cds";
    tamblet::WriteFileAtomically(img, bytes);
    RunResult r = RunTamblet({"--list", img.string()}, root_);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  tamblet::WriteFileAtomically(root_ / "good.cds", good);
  RunResult ok = RunTamblet({"--list", (root_ / "good.cds").string()}, root_);
  EXPECT_EQ(ok.exitCode, 0);
  EXPECT_EQ(ok.out, "a.htm 2\nb.css 1\n");
}

TEST_F(TambletTest, CommandLineErrors) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* message;
  } cases[] = {
      {{}, 2, "usage: tamblet"},
      {{"only-one"}, 2, "usage: tamblet"},
      {{"a", "b", "c"}, 2, "usage: tamblet"},
      {{"--bogus", "x"}, 2, "usage: tamblet"},
      {{(root_ / "missing").string(), (root_ / "o.cds").string()}, 1, "source folder not found"},
      {{"--list", (root_ / "missing.cds").string()}, 1, "cannot open"},
      {{(root_ / "src").string(), (root_ / "no-such-dir" / "o.cds").string()}, 1, "cannot create"},
  };
  for (const auto& c : cases) {
    RunResult r = RunTamblet(c.args, root_);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}
