#pragma once
// Compiles a word list into a main dictionary (".adm"): the letter trie the
// spell checker maps and searches in place. Also linked into the spell
// checker's tests, which compile small lists of their own.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace admc {

// A word list that cannot be compiled; the message names the line.
class CompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Options {
  std::string title = "American English";  // UTF-8, at most 255 UTF-16 units
  uint32_t language = 1033;                 // Windows language identifier
  // The line after the banner's NUL: where the words came from.
  std::string sourceNote;
};

struct Statistics {
  uint32_t words = 0;
  uint32_t nodes = 0;
  uint32_t classCounts[9] = {};
  uint32_t poolLength = 0;
  bool threeByteReferences = false;  // 65,535 nodes or more
};

// UTF-8 lines (a trailing CR is a line end) to the dictionary's words in
// Windows-1252, byte-sorted without duplicates. Empty lines are skipped;
// "X's" is dropped when X itself is listed. A word 1252 cannot hold, one
// holding a control character or one longer than 511 bytes raises
// CompileError naming its 1-based line.
std::vector<std::string> PrepareWords(const std::vector<std::string>& lines);

// The file's bytes for words byte-sorted without duplicates (as
// PrepareWords gives them). Raises CompileError when a child field or pool
// offset would reach 0xFFFFF. The same input always gives the same bytes.
std::string Compile(const std::vector<std::string>& words, const Options& options, Statistics* stats = nullptr);

}  // namespace admc
