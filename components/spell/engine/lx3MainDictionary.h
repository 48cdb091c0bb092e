#pragma once
// A compiled main dictionary (".adm"): a letter trie of a language's words,
// mapped read-only into memory and searched in place. The format is the
// one tools/admc writes: a 1024-byte header block, title, language and
// counts, nine arrays of nodes (class k carries k extra letters), a pool of
// child references and a first-letter table.
//
// Everything read from the mapping is checked before it is followed: node
// indices against the node count, pool positions against the pool, so a
// damaged file ends a look-up with False or cuts a branch of a walk, and a
// walk visits at most as many nodes as the file holds.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "spell/engine/lx3Types.h"

namespace rtl {
class TStrings;
}

namespace spell {

class TPhoneticsMap;

class TMainDictionary {
 public:
  // The first 123 characters of the header block.
  static const std::string_view Banner;
  static constexpr size_t HeaderSize = 1024;
  static constexpr size_t WalkBufferSize = 512;

  TMainDictionary() = default;
  TMainDictionary(const TMainDictionary&) = delete;
  TMainDictionary& operator=(const TMainDictionary&) = delete;
  ~TMainDictionary();

  // Reads the header; on success takes the name and restores the previous
  // active state. A failure keeps the previous name (callers compare it).
  void Open(const AnsiString& fileName);
  void SetActive(bool value);
  bool Active() const { return active_; }

  bool WordExists(std::string_view word);
  bool Lookup(std::string_view word, Integer& matched);
  // Appends the words whose phonetic key equals word's (see the walk).
  void FindPhoneticCandidates(std::string_view word, const TPhoneticsMap& map, rtl::TStrings& list);
  void CountHit() { ++hitCount_; }

  const AnsiString& FileName() const { return fileName_; }
  // The title as the program shows it (UTF-8).
  const AnsiString& Title() const { return title_; }
  Cardinal Language() const { return language_; }
  Cardinal WordCount() const { return wordCount_; }
  Cardinal NodeCount() const { return nodeCount_; }
  Cardinal HitCount() const { return hitCount_; }

  // Every word of the trie in trie order (children in stored order), from
  // the root; for checks and tools. Activates first; False when it cannot.
  bool EnumerateAll(const std::function<void(std::string_view word)>& visit);
  // Nodes the last walk (phonetic or enumeration) visited: never more than
  // the node count, whatever the file holds.
  uint64_t LastWalkVisits() const { return lastWalkVisits_; }

 private:
  struct Node {
    uint32_t value = 0;
    const unsigned char* extra = nullptr;
    uint32_t extraCount = 0;
    unsigned char Letter() const { return static_cast<unsigned char>(value & 0xFF); }
    uint32_t ChildField() const { return (value >> 8) & 0xFFFFF; }
    uint32_t ChildCount() const { return (value >> 28) & 7; }
    bool WordEnd() const { return (value >> 31) != 0; }
  };
  // A node's children: either one node index, or refs at a pool position.
  struct Children {
    uint32_t count = 0;
    bool direct = false;  // `at` is the node index of the only child
    uint64_t at = 0;
  };
  enum class Visit { Continue, Stop };

  bool GetNode(uint64_t index, Node& node) const;
  bool ReadChildRef(uint64_t& position, uint64_t& index) const;
  bool ChildrenOf(const Node& node, Children& children) const;
  // The i-th child (0-based) of a child set, reading refs in order.
  bool NthChild(const Children& children, uint64_t& position, uint32_t i, uint64_t& index) const;
  bool WalkPrefix(std::string_view prefix, uint64_t& last, size_t& letterAt);
  void EnumerateWords(uint64_t index, size_t position, const std::function<Visit(std::string_view)>& visit);
  Visit VisitCandidate(std::string_view word);

  // Phonetic-walk state, valid during FindPhoneticCandidates.
  std::string walkBuffer_;
  uint64_t visitBudget_ = 0;
  uint64_t lastWalkVisits_ = 0;
  rtl::TStrings* candidates_ = nullptr;
  const TPhoneticsMap* map_ = nullptr;
  std::string targetKey_;

  AnsiString fileName_;
  bool active_ = false;
  AnsiString title_;
  Cardinal language_ = 0;
  Cardinal wordCount_ = 0;
  Cardinal nodeCount_ = 0;
  int fd_ = -1;
  const unsigned char* base_ = nullptr;
  uint64_t mappedSize_ = 0;
  uint64_t poolLength_ = 0;
  const unsigned char* pool_ = nullptr;
  std::array<unsigned char, 2048> firstLetters_{};
  std::array<uint64_t, 10> classOffsets_{};
  std::array<uint64_t, 10> classFirst_{};
  std::array<uint32_t, 9> classCounts_{};
  Cardinal hitCount_ = 0;
};

}  // namespace spell
