#pragma once
// Thesaurus files for the tests and the fuzzer: one assembled by hand from
// a node table (chains and damage the compiler never writes), and one
// compiled from a few heads.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "AdtCompiler.h"

namespace spell_test {

struct HandNode {
  char letter = 0;
  bool chain = false;
  bool endOfWord = false;
  bool oneChild = false;  // the first of children, as a bare index
  std::vector<uint16_t> children;
  int parent = -1;  // none
  std::vector<uint16_t> meanings;
  int64_t linkPosition = -1;  // where the links put it
};

struct HandRecord {
  uint16_t head = 0;
  std::array<std::vector<uint16_t>, 4> lists;
  int64_t offset = -1;  // where the index puts it
};

struct HandThesaurus {
  std::string name = "Hand";
  std::array<std::string, 5> kinds = {"", "noun", "verb", "adjective", "adverb"};
  std::vector<HandNode> nodes;
  std::vector<HandRecord> records;
  // Counts written in place of the true ones, when set.
  int64_t nodeCount = -1, linkSize = -1, indexSize = -1;
};

inline void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

inline std::string Assemble(const HandThesaurus& t) {
  std::string links, nodes, meanings, index;
  for (const HandNode& n : t.nodes) {
    const uint32_t at = static_cast<uint32_t>(links.size());
    if (n.oneChild) {
      Put16(links, n.children.at(0));
    } else {
      links += static_cast<char>(n.children.size());
      for (uint16_t c : n.children) Put16(links, c);
    }
    if (n.parent >= 0) Put16(links, static_cast<uint32_t>(n.parent));
    if (n.endOfWord || n.chain) {
      links += static_cast<char>(n.meanings.size());
      for (uint16_t m : n.meanings) Put16(links, m);
    }
    const uint32_t position = n.linkPosition >= 0 ? static_cast<uint32_t>(n.linkPosition) : at;
    Put32(nodes, (position & 0xFFFFF) | (n.oneChild ? 1u << 20 : 0) | (n.parent >= 0 ? 1u << 21 : 0) |
                     (n.chain ? 1u << 22 : 0) | (n.endOfWord ? 1u << 23 : 0) |
                     static_cast<uint32_t>(static_cast<unsigned char>(n.letter)) << 24);
  }
  for (const HandRecord& r : t.records) {
    Put16(meanings, r.head);
    for (const auto& list : r.lists) Put16(meanings, static_cast<uint32_t>(list.size()));
    Put32(meanings, r.offset >= 0 ? static_cast<uint32_t>(r.offset) : static_cast<uint32_t>(index.size()));
    for (const auto& list : r.lists)
      for (uint16_t i : list) Put16(index, i);
  }
  std::string out(165, '\0');
  out.replace(0, 19, "Hand-made thesaurus");
  out.resize(165);
  out += static_cast<char>(t.name.size()) + t.name;
  for (const std::string& k : t.kinds) out += static_cast<char>(k.size()) + k;
  Put32(out, t.nodeCount >= 0 ? static_cast<uint32_t>(t.nodeCount) : static_cast<uint32_t>(t.nodes.size()));
  out += nodes;
  Put32(out, t.linkSize >= 0 ? static_cast<uint32_t>(t.linkSize) : static_cast<uint32_t>(links.size()));
  out += links;
  Put16(out, static_cast<uint32_t>(t.records.size()));
  out += meanings;
  Put32(out, t.indexSize >= 0 ? static_cast<uint32_t>(t.indexSize) : static_cast<uint32_t>(index.size()));
  out += index;
  return out;
}

// "cat" kept as a chain below its first letter (node 1 carries the
// meanings), "do" and "dog" as plain nodes with parents.
//   0 root: c(1) d(4)   1 c chain -> 2 a -> 3 t   4 d -> 5 o (word) -> 6 g (word)
// Record 0, head "dog": nouns "cat", adjectives "do". Record 1, head "cat":
// nouns "dog", verbs "dog" "do", adverbs "cat". Reference 7 (record 1,
// kind 2) hangs on "cat"; "dog" has 1 (record 0, nouns); "do" has 3 and 9.
inline HandThesaurus ChainThesaurus() {
  HandThesaurus t;
  t.nodes.resize(7);
  t.nodes[0] = {0, false, false, false, {1, 4}, -1, {}, -1};
  t.nodes[1] = {'c', true, false, true, {2}, 0, {7}, -1};
  t.nodes[2] = {'a', false, false, true, {3}, -1, {}, -1};
  t.nodes[3] = {'t', false, false, false, {}, -1, {}, -1};
  t.nodes[4] = {'d', false, false, true, {5}, 0, {}, -1};
  t.nodes[5] = {'o', false, true, true, {6}, 4, {3, 9}, -1};
  t.nodes[6] = {'g', false, true, false, {}, 5, {1}, -1};
  t.records.resize(2);
  t.records[0] = {6, {{{1}, {}, {5}, {}}}, -1};
  t.records[1] = {1, {{{6}, {6, 5}, {}, {1}}}, -1};
  return t;
}

// A few heads through the compiler.
inline std::map<std::string, adtc::KindLists> SmallHeads() {
  std::map<std::string, adtc::KindLists> heads;
  heads["cheerful"] = {{{}, {}, {"happy", "glad"}, {}}};
  heads["dash"] = {{{"run"}, {"run"}, {}, {}}};
  heads["glad"] = {{{}, {}, {"happy", "cheerful"}, {}}};
  heads["happy"] = {{{}, {}, {"glad", "cheerful"}, {}}};
  heads["run"] = {{{"dash"}, {"dash"}, {}, {}}};
  heads["\xE9t\xE9"] = {{{"run"}, {}, {}, {}}};  // "été" in 1252
  return heads;
}

inline std::string SmallAdt() {
  adtc::Options options;
  options.name = "Small";
  return adtc::Compile(SmallHeads(), options);
}

}  // namespace spell_test
