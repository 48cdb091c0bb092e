// admc: compiles a word list (UTF-8, one word a line) into a main dictionary.
//   admc [--title TEXT] [--language LCID] [--package NAME] [--note TEXT] WORDLIST OUTPUT
// --package names the Debian package that ships the list, for the message
// when it is missing.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "AdmCompiler.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"

namespace {

int Usage() {
  std::cerr << "usage: admc [--title TEXT] [--language LCID] [--package NAME] [--note TEXT] WORDLIST OUTPUT\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  admc::Options options;
  std::string package;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(arg);
      return argv[++i];
    };
    try {
      if (arg == "--title") options.title = value();
      else if (arg == "--language") options.language = static_cast<uint32_t>(std::stoul(value()));
      else if (arg == "--package") package = value();
      else if (arg == "--note") options.sourceNote = value();
      else if (arg.rfind("--", 0) == 0) return Usage();
      else files.push_back(arg);
    } catch (const std::exception&) {
      return Usage();
    }
  }
  if (files.size() != 2) return Usage();
  const std::string& input = files[0];
  const std::string& output = files[1];

  std::ifstream in(input, std::ios::binary);
  if (!in) {
    std::cerr << "admc: cannot read the word list " << input << ": " << std::strerror(errno);
    if (!package.empty()) std::cerr << " (install the Debian package " << package << ")";
    std::cerr << "\n";
    return 1;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (options.sourceNote.empty()) options.sourceNote = "Word list: " + input;
  try {
    admc::Statistics stats;
    const std::vector<std::string> words = admc::PrepareWords(lines);
    const std::string bytes = admc::Compile(words, options, &stats);
    rtl::WriteFileAtomically(output, bytes);
    std::cout << "admc: " << output << ": " << stats.words << " words, " << stats.nodes << " nodes, "
              << (stats.threeByteReferences ? "2/3-byte" : "2-byte") << " references\n";
  } catch (const admc::CompileError& e) {
    std::cerr << "admc: " << input << ": " << e.what() << "\n";
    return 1;
  } catch (const rtl::Exception& e) {
    std::cerr << "admc: " << e.Message() << "\n";
    return 1;
  }
  return 0;
}
