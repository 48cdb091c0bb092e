#pragma once
// Dictionaries for the spell checker's tests: the word list every build
// compiles, and small main dictionaries compiled here with the same tool.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AdmCompiler.h"
#include "core/TestSupport.h"

namespace spell_test {

inline const char* WordListPath() { return "/usr/share/dict/american-english"; }
inline std::string AmericanAdmPath() { return std::string(TOLVANE_BIN_DIR) + "/American.adm"; }

// The lines of a text file.
inline std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The words of American.adm as the compiler takes them from the list
// (Windows-1252, byte-sorted).
inline const std::vector<std::string>& AmericanWords() {
  static const std::vector<std::string> words = admc::PrepareWords(ReadLines(WordListPath()));
  return words;
}

// A main dictionary compiled from words (UTF-8) into folder/name.
inline std::string CompileAdm(const std::filesystem::path& folder, const std::string& name,
                              const std::vector<std::string>& words, uint32_t language = 1033,
                              admc::Statistics* stats = nullptr) {
  admc::Options options;
  options.title = "Test " + name;
  options.language = language;
  const std::string file = (folder / name).string();
  core_test::WriteFile(file, admc::Compile(admc::PrepareWords(words), options, stats));
  return file;
}

// Limits the size of the files this process writes until the scope ends;
// SIGXFSZ is ignored meanwhile, so a write beyond the limit fails (EFBIG).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit saved_ {};
  sighandler_t oldHandler_ = SIG_DFL;
};

}  // namespace spell_test
