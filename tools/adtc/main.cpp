// adtc: compiles a mythes thesaurus into a thesaurus file, keeping the heads
// a word list holds.
//   adtc [--name TEXT] [--note TEXT] [--packages THESAURUS-PACKAGE,LIST-PACKAGE]
//        THESAURUS WORDLIST OUTPUT
// --packages names the Debian packages that ship the two inputs, for the
// message when one is missing.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "AdtCompiler.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"

namespace {

int Usage() {
  std::cerr << "usage: adtc [--name TEXT] [--note TEXT] [--packages THESAURUS-PACKAGE,LIST-PACKAGE] "
               "THESAURUS WORDLIST OUTPUT\n";
  return 2;
}

bool ReadLines(const std::string& file, const std::string& what, const std::string& package,
               std::vector<std::string>& lines) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "adtc: cannot read the " << what << " " << file << ": " << std::strerror(errno);
    if (!package.empty()) std::cerr << " (install the Debian package " << package << ")";
    std::cerr << "\n";
    return false;
  }
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  adtc::Options options;
  std::string packages[2];
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(arg);
      return argv[++i];
    };
    try {
      if (arg == "--name") {
        options.name = value();
      } else if (arg == "--note") {
        options.sourceNote = value();
      } else if (arg == "--packages") {
        const std::string both = value();
        const size_t comma = both.find(',');
        if (comma == std::string::npos) return Usage();
        packages[0] = both.substr(0, comma);
        packages[1] = both.substr(comma + 1);
      } else if (arg.rfind("--", 0) == 0) {
        return Usage();
      } else {
        files.push_back(arg);
      }
    } catch (const std::exception&) {
      return Usage();
    }
  }
  if (files.size() != 3) return Usage();
  std::vector<std::string> thesaurusLines, listLines;
  if (!ReadLines(files[0], "thesaurus", packages[0], thesaurusLines)) return 1;
  if (!ReadLines(files[1], "word list", packages[1], listLines)) return 1;
  std::string stage = files[0];
  try {
    adtc::Statistics stats;
    const std::vector<adtc::Head> thesaurus = adtc::ReadThesaurus(thesaurusLines);
    stage = files[1];
    const auto heads = adtc::Select(thesaurus, adtc::ReadWordList(listLines), adtc::Limits(), &stats);
    stage = files[2];
    const std::string bytes = adtc::Compile(heads, options, &stats);
    rtl::WriteFileAtomically(files[2], bytes);
    std::cout << "adtc: " << files[2] << ": " << stats.heads << " heads of " << stats.candidates << " in the list, "
              << stats.nodes << " nodes, " << stats.listEntries << " list entries (" << stats.rounds
              << " rounds)\n";
  } catch (const adtc::CompileError& e) {
    std::cerr << "adtc: " << stage << ": " << e.what() << "\n";
    return 1;
  } catch (const rtl::Exception& e) {
    std::cerr << "adtc: " << e.Message() << "\n";
    return 1;
  }
  return 0;
}
