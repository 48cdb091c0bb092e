#pragma once
// Real files and folders for the tests that work on them: a scratch folder
// per test, and whole-file reads and writes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace core_test {

// The whole file as bytes; "" when it cannot be opened.
inline std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Writes a file with exactly these bytes, making its folders first.
inline void WriteFile(const std::filesystem::path& p, const std::string& content) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
}

// A fresh folder "<prefix>-XXXXXX" under the system's temporary folder,
// removed with everything in it when the test ends, even after a failure.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix) {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a scratch folder " + tmpl);
    path_ = tmpl;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace core_test
