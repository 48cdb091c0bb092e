#pragma once
// Compiles a thesaurus in the mythes text format (Debian's mythes-en-us)
// into a thesaurus file (".adt"), keeping as head words only those of a
// word list. Also linked into the spell checker's tests.
//
// The rules: a head is a thesaurus head equal byte for byte to a word of
// the list. Each sense of a head adds its entries to the list of its part
// of speech (noun 1, verb 2, adj 3, adv 4): "(similar term)" and
// "(related term)" entries without their mark, "(generic term)" and
// "(antonym)" entries left out; in order of first appearance, without
// duplicates, without the head itself and only words that are kept heads,
// so that every listed word can be looked up in turn. A head whose lists
// all come out empty is dropped, and the lists are made again, until
// nothing changes; while more heads remain than meaning references can
// number, the heads with the most entries are kept.
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace adtc {

// Input that cannot be compiled; the message names the line.
class CompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr size_t HeaderSize = 165;
inline constexpr size_t KindCount = 4;  // kinds 1 .. 4; 0 names no part of speech

// Four lists, one a kind: [0] nouns .. [3] adverbs.
using KindLists = std::array<std::vector<std::string>, KindCount>;

// One head of the thesaurus text with every entry of its senses, marks
// handled, before any selection. UTF-8.
struct Head {
  std::string word;
  KindLists entries;
};

struct Options {
  std::string name = "English";
  std::array<std::string, 5> kindNames = {"", "noun", "verb", "adjective", "adverb"};
  // The header's last line: where the words came from (cut to fit).
  std::string sourceNote;
};

struct Limits {
  size_t maxRecords = 13107;  // a reference record * 5 + kind fits 16 bits
  size_t keepOnOverflow = 13000;
};

struct Statistics {
  uint32_t candidates = 0;  // heads found in the word list
  uint32_t heads = 0;
  uint32_t nodes = 0;
  uint32_t listEntries = 0;
  uint32_t linkSize = 0;
  uint32_t indexSize = 0;
  uint32_t rounds = 0;
};

// The lines of a mythes ".dat" (UTF-8; its first line names the encoding).
// Raises CompileError for a line that is not what the format puts there.
std::vector<Head> ReadThesaurus(const std::vector<std::string>& lines);

// The words of a word list (UTF-8, one a line, a trailing CR a line end),
// its "X's" lines left out.
std::set<std::string> ReadWordList(const std::vector<std::string>& lines);

// The kept heads with their final lists, Windows-1252, byte-ordered.
std::map<std::string, KindLists> Select(const std::vector<Head>& thesaurus, const std::set<std::string>& words,
                                        const Limits& limits = Limits(), Statistics* stats = nullptr);

// The file's bytes. Raises CompileError when the heads exceed what the
// format can address (records, nodes, link positions, children a node).
// The same input always gives the same bytes.
std::string Compile(const std::map<std::string, KindLists>& heads, const Options& options,
                    Statistics* stats = nullptr);

}  // namespace adtc
