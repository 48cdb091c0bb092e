#pragma once
// Valid small dictionary files and the ways the tests and fuzzers damage
// them: cut short, or with bytes changed.
#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "AdmCompiler.h"
#include "spell/engine/lx3CustomDictionary.h"

namespace spell_test {

// A file in memory, reached by name through /proc: the readers open it as
// any file, and thousands of variants cost no disk writes.
class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("spell-test", MFD_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("memfd_create failed");
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }
  void Set(const std::string& bytes) {
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
      throw std::runtime_error("cannot write the memory file");
  }

 private:
  int fd_;
};

// Words of the small files, UTF-8.
inline const std::vector<std::string>& SmallWords() {
  static const std::vector<std::string> words = {
      "a",       "an",      "and",       "ant",    "anthem",   "anthology", "be",      "bee",
      "beekeeper", "night", "nightly",   "knight", "knowledge", "phone",    "spelling", "the",
      "thought", "zebra",   "caf\xC3\xA9", "x-ray", "understand", "understanding", "I", "Kinko's"};
  return words;
}

// A main dictionary of SmallWords, as bytes.
inline std::string SmallAdm() {
  admc::Options options;
  options.title = "Small";
  return admc::Compile(admc::PrepareWords(SmallWords()), options);
}

// A custom dictionary of every kind with a removal, as bytes; written
// through the class itself into the given file, which is read back.
inline void WriteSmallAdu(const std::string& file) {
  spell::TCustomDictionary d;
  d.SetFilename(file);
  d.SetLoaded(true);
  for (const char* w : {"alpha", "beta", "gamma", "delta"}) d.AddIgnore(w);
  d.AddExclude("wrong");
  d.AddAutoCorrect("teh", "the");
  d.AddAutoCorrect("recieve", "receive");
  d.RemoveIgnore("beta");
  d.SetLoaded(false);
}

}  // namespace spell_test
