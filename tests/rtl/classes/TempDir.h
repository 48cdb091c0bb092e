#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace rtl_test {

class TempDir {
 public:
  explicit TempDir(const std::string& root = std::filesystem::temp_directory_path().string()) {
    std::string templ = root + "/tolvane-classes-XXXXXX";
    path_ = ::mkdtemp(templ.data()) ? templ : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder with a trailing '/'.
  std::string Path() const { return path_ + "/"; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  bool Valid() const { return !path_.empty(); }

 private:
  std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Names in a folder, sorted.
inline std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Lowers the file-size limit for the life of the guard, so that writing a
// file longer than `bytes` fails with EFBIG, even for root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lower = saved_;
    lower.rlim_cur = bytes;
    ok_ = ::setrlimit(RLIMIT_FSIZE, &lower) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, oldHandler_);
  }
  bool Ok() const { return ok_; }

 private:
  struct rlimit saved_ {};
  sighandler_t oldHandler_;
  bool ok_ = false;
};

}  // namespace rtl_test
