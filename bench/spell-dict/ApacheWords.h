#pragma once
// The words of the Apache manual's English pages (Debian's apache2-doc), in
// reading order: text outside tags, runs of ASCII letters and apostrophes,
// each cut of apostrophes at its ends.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace spell_bench {

inline std::vector<std::string> ApacheManualWords() {
  const std::filesystem::path root = "/usr/share/doc/apache2-doc/manual/en";
  std::vector<std::filesystem::path> pages;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file() && e.path().extension() == ".html") pages.push_back(e.path());
  std::sort(pages.begin(), pages.end());
  std::vector<std::string> words;
  for (const auto& page : pages) {
    std::ifstream in(page, std::ios::binary);
    const std::string html((std::istreambuf_iterator<char>(in)), {});
    bool inTag = false;
    std::string word;
    auto flush = [&] {
      while (!word.empty() && word.back() == '\'') word.pop_back();
      size_t start = word.find_first_not_of('\'');
      if (start != std::string::npos) words.push_back(word.substr(start));
      word.clear();
    };
    for (size_t i = 0; i < html.size(); ++i) {
      const char c = html[i];
      if (inTag) {
        inTag = c != '>';
        continue;
      }
      if (c == '<') {
        flush();
        inTag = true;
      } else if (c == '&') {
        flush();
        while (i < html.size() && html[i] != ';' && html[i] != ' ') ++i;  // an entity is no word
      } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'') {
        word += c;
      } else {
        flush();
      }
    }
    flush();
  }
  return words;
}

}  // namespace spell_bench
