#pragma once
// The Apache HTTP Server manual as Debian's apache2-doc installs it: real
// pages (English, other languages, the Korean ones in EUC-KR) and style
// sheets for the code editor's tests and benchmarks.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace memotest {

inline const char* const kManualRoot = "/usr/share/doc/apache2-doc/manual";

// The whole file as bytes; "" when it cannot be opened.
inline std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every HTML and CSS file of the manual once (links followed to their file),
// sorted; empty when the manual is not installed.
inline std::vector<std::filesystem::path> ManualFiles(bool htmlOnly = false) {
  std::set<std::filesystem::path> seen;
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  if (!std::filesystem::is_directory(kManualRoot, ec)) return files;
  for (auto it = std::filesystem::recursive_directory_iterator(kManualRoot, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const auto& p = it->path();
    std::string ext = p.extension().string();
    bool wanted = ext == ".html" || (!htmlOnly && ext == ".css");
    if (!wanted || !std::filesystem::is_regular_file(p, ec)) continue;
    auto real = std::filesystem::canonical(p, ec);
    if (ec || !seen.insert(real).second) continue;
    files.push_back(real);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace memotest
