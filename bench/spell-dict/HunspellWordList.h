#pragma once
// The word list American.adm is compiled from (Debian's american-english),
// written as a Hunspell dictionary in a scratch folder, so that a benchmark
// sets Hunspell beside the component on the same words in the same run.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "AdmCompiler.h"
#include "rtl/CodePages.h"

namespace spell_bench {

struct HunspellWordList {
  std::filesystem::path folder;
  std::string aff, dic;
  std::unordered_set<std::string> listed;  // the words of the .dic, UTF-8

  // aAffPrefixes: the lines of Debian's en_US.aff starting so are copied
  // (the suggestion rules); none for look-ups alone.
  explicit HunspellWordList(const std::vector<std::string>& aAffPrefixes = {}) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "spell-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    folder = tmpl;
    std::ifstream in("/usr/share/dict/american-english", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    const auto words = admc::PrepareWords(lines);
    aff = (folder / "en.aff").string();
    dic = (folder / "en.dic").string();
    std::ofstream a(aff);
    a << "SET UTF-8\n";
    if (!aAffPrefixes.empty()) {
      std::ifstream rules("/usr/share/hunspell/en_US.aff");
      for (std::string line; std::getline(rules, line);)
        for (const std::string& prefix : aAffPrefixes)
          if (line.rfind(prefix, 0) == 0) {
            a << line << "\n";
            break;
          }
    }
    std::ofstream d(dic);
    d << words.size() << "\n";
    for (const auto& w : words) {
      const std::string utf8 = rtl::WideToUtf8(rtl::DecodeCodePage(1252, w));
      d << utf8 << "\n";
      listed.insert(utf8);
    }
  }
  ~HunspellWordList() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  HunspellWordList(const HunspellWordList&) = delete;
  HunspellWordList& operator=(const HunspellWordList&) = delete;
};

}  // namespace spell_bench
