#include "AdtCompiler.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <unordered_set>

#include "rtl/CodePages.h"

namespace adtc {

namespace {

constexpr uint32_t kOneChild = 1u << 20;
constexpr uint32_t kParent = 1u << 21;
constexpr uint32_t kEndOfWord = 1u << 23;
constexpr uint32_t kLinkLimit = 1u << 20;
constexpr size_t kMaxNodes = 65536;
constexpr size_t kMaxChildren = 255;

constexpr char kBanner[] =
    "Tolvane thesaurus\r\n"
    "File format version 1.0\r\n"
    "A letter trie of head words, meanings and word lists\r\n"
    "Compiled by adtc\r\n";

std::string LineError(size_t line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

std::string_view WithoutCr(std::string_view s) {
  if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitBars(std::string_view s) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t bar = s.find('|');
    fields.push_back(s.substr(0, bar));
    if (bar == std::string_view::npos) break;
    s.remove_prefix(bar + 1);
  }
  return fields;
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// UTF-8 to Windows-1252; False when 1252 cannot hold a character.
bool To1252(const std::string& utf8, std::string& out) {
  if (!rtl::IsValidUtf8(utf8)) return false;
  bool lossy = false;
  std::string bytes = rtl::EncodeCodePage(1252, rtl::Utf8ToWide(utf8), &lossy);
  if (lossy) return false;
  out = std::move(bytes);
  return true;
}

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutShortString(std::string& out, const std::string& s, const char* what) {
  if (s.size() > 255) throw CompileError(std::string(what) + " is longer than 255 bytes");
  out += static_cast<char>(s.size());
  out += s;
}

size_t Total(const KindLists& lists) {
  size_t n = 0;
  for (const auto& list : lists) n += list.size();
  return n;
}

}  // namespace

std::vector<Head> ReadThesaurus(const std::vector<std::string>& lines) {
  std::vector<Head> heads;
  if (lines.empty()) throw CompileError("the thesaurus is empty");
  if (WithoutCr(lines[0]) != "UTF-8") throw CompileError(LineError(1, "the thesaurus is not in UTF-8"));
  size_t i = 1;
  while (i < lines.size()) {
    const std::string_view line = WithoutCr(lines[i]);
    const size_t headLine = i + 1;
    ++i;
    if (line.empty()) continue;
    const std::vector<std::string_view> fields = SplitBars(line);
    size_t senses = 0;
    if (fields.size() != 2 || fields[0].empty() || fields[1].empty() ||
        fields[1].find_first_not_of("0123456789") != std::string_view::npos || fields[1].size() > 6)
      throw CompileError(LineError(headLine, "expected \"word|number of senses\""));
    senses = std::stoul(std::string(fields[1]));
    Head head;
    head.word = std::string(fields[0]);
    for (size_t s = 0; s < senses; ++s, ++i) {
      if (i >= lines.size()) throw CompileError(LineError(i + 1, "the senses of \"" + head.word + "\" end early"));
      const std::vector<std::string_view> terms = SplitBars(WithoutCr(lines[i]));
      static const std::array<std::string_view, KindCount> kinds = {"(noun)", "(verb)", "(adj)", "(adv)"};
      const auto kind = std::find(kinds.begin(), kinds.end(), terms[0]);
      if (kind == kinds.end())
        throw CompileError(LineError(i + 1, "unknown part of speech \"" + std::string(terms[0]) + "\""));
      auto& list = head.entries[static_cast<size_t>(kind - kinds.begin())];
      for (size_t t = 1; t < terms.size(); ++t) {
        std::string_view term = terms[t];
        if (EndsWith(term, " (generic term)") || EndsWith(term, " (antonym)")) continue;
        for (std::string_view mark : {std::string_view(" (similar term)"), std::string_view(" (related term)")})
          if (EndsWith(term, mark)) term.remove_suffix(mark.size());
        if (!term.empty()) list.emplace_back(term);
      }
    }
    heads.push_back(std::move(head));
  }
  return heads;
}

std::set<std::string> ReadWordList(const std::vector<std::string>& lines) {
  std::set<std::string> words;
  for (const std::string& raw : lines) {
    const std::string_view line = WithoutCr(raw);
    if (line.empty() || (line.size() > 2 && EndsWith(line, "'s"))) continue;
    words.emplace(line);
  }
  return words;
}

std::map<std::string, KindLists> Select(const std::vector<Head>& thesaurus, const std::set<std::string>& words,
                                        const Limits& limits, Statistics* stats) {
  // Candidates in 1252 with their entries; entries 1252 cannot hold can
  // never be heads, so they go now.
  std::map<std::string, KindLists> entries;
  for (const Head& head : thesaurus) {
    std::string word;
    if (!words.count(head.word) || !To1252(head.word, word)) continue;
    KindLists& lists = entries[word];
    for (size_t k = 0; k < KindCount; ++k)
      for (const std::string& e : head.entries[k]) {
        std::string entry;
        if (To1252(e, entry)) lists[k].push_back(std::move(entry));
      }
  }
  std::set<std::string> kept;
  for (const auto& [word, lists] : entries) kept.insert(word);
  if (stats) stats->candidates = static_cast<uint32_t>(kept.size());

  std::map<std::string, KindLists> result;
  for (uint32_t round = 1;; ++round) {
    result.clear();
    for (const std::string& word : kept) {
      KindLists lists;
      for (size_t k = 0; k < KindCount; ++k) {
        std::unordered_set<std::string> seen;
        for (const std::string& e : entries[word][k])
          if (e != word && kept.count(e) && seen.insert(e).second) lists[k].push_back(e);
      }
      if (Total(lists) > 0) result.emplace(word, std::move(lists));
    }
    std::set<std::string> next;
    if (result.size() > limits.maxRecords) {
      std::vector<std::pair<size_t, std::string>> ranked;
      for (const auto& [word, lists] : result) ranked.emplace_back(Total(lists), word);
      std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
      });
      ranked.resize(std::min(ranked.size(), limits.keepOnOverflow));
      for (auto& [total, word] : ranked) next.insert(std::move(word));
    } else {
      for (const auto& [word, lists] : result) next.insert(word);
    }
    if (next == kept) {
      if (stats) stats->rounds = round;
      break;
    }
    kept = std::move(next);
  }
  if (stats) {
    stats->heads = static_cast<uint32_t>(result.size());
    stats->listEntries = 0;
    for (const auto& [word, lists] : result) stats->listEntries += static_cast<uint32_t>(Total(lists));
  }
  return result;
}

std::string Compile(const std::map<std::string, KindLists>& heads, const Options& options, Statistics* stats) {
  if (heads.size() > Limits().maxRecords)
    throw CompileError(std::to_string(heads.size()) + " heads: meaning references number at most " +
                       std::to_string(Limits().maxRecords) + " records");

  // The trie, numbered breadth first with children in byte order: node 0
  // is the root.
  struct Node {
    unsigned char letter = 0;
    uint32_t parent = 0;
    std::map<unsigned char, uint32_t> children;  // built numbering, then renumbered
    int record = -1;                              // the head ending here
  };
  std::vector<Node> built(1);
  int record = 0;
  for (const auto& [word, lists] : heads) {
    if (word.empty()) throw CompileError("an empty head word");
    uint32_t at = 0;
    for (const char ch : word) {
      const auto c = static_cast<unsigned char>(ch);
      auto found = built[at].children.find(c);
      if (found == built[at].children.end()) {
        built.push_back(Node{c, at, {}, -1});
        found = built[at].children.emplace(c, static_cast<uint32_t>(built.size() - 1)).first;
      }
      at = found->second;
    }
    built[at].record = record++;
  }
  if (built.size() > kMaxNodes)
    throw CompileError(std::to_string(built.size()) + " trie nodes: indices are 16-bit");
  std::vector<uint32_t> order;  // new number -> built node
  std::vector<uint32_t> number(built.size(), 0);
  order.push_back(0);
  for (size_t i = 0; i < order.size(); ++i)
    for (const auto& [letter, child] : built[order[i]].children) {
      number[child] = static_cast<uint32_t>(order.size());
      order.push_back(child);
    }

  // Meaning records and the index, heads in byte order.
  std::map<std::string, uint32_t> nodeOfWord;
  std::vector<std::vector<uint16_t>> references(heads.size());
  std::string meanings, index;
  {
    size_t r = 0;
    for (const auto& [word, lists] : heads) {
      uint32_t at = 0;
      for (const char ch : word) at = built[at].children.at(static_cast<unsigned char>(ch));
      nodeOfWord[word] = number[at];
      ++r;
    }
    r = 0;
    for (const auto& [word, lists] : heads) {
      Put16(meanings, nodeOfWord.at(word));
      for (const auto& list : lists) {
        if (list.size() > 0xFFFF) throw CompileError("a list of \"" + word + "\" holds more than 65,535 words");
        Put16(meanings, static_cast<uint32_t>(list.size()));
      }
      if (index.size() > 0x7FFFFFFF) throw CompileError("the index outgrows 2 GB");
      Put32(meanings, static_cast<uint32_t>(index.size()));
      for (size_t k = 0; k < KindCount; ++k) {
        for (const std::string& w : lists[k]) {
          const auto node = nodeOfWord.find(w);
          if (node == nodeOfWord.end()) throw CompileError("\"" + w + "\", listed under \"" + word + "\", is no head");
          Put16(index, node->second);
        }
        if (!lists[k].empty()) references[r].push_back(static_cast<uint16_t>(r * 5 + k + 1));
      }
      ++r;
    }
  }

  // Node records and links.
  std::string nodes, links;
  for (size_t n = 0; n < order.size(); ++n) {
    const Node& node = built[order[n]];
    if (links.size() >= kLinkLimit) throw CompileError("link positions outgrow 20 bits");
    uint32_t value = static_cast<uint32_t>(links.size()) | static_cast<uint32_t>(node.letter) << 24;
    if (node.children.size() > kMaxChildren)
      throw CompileError("a node has " + std::to_string(node.children.size()) + " children, at most 255 fit");
    if (node.children.size() == 1) {
      value |= kOneChild;
      Put16(links, number[node.children.begin()->second]);
    } else {
      links += static_cast<char>(node.children.size());
      for (const auto& [letter, child] : node.children) Put16(links, number[child]);
    }
    if (n != 0) {
      value |= kParent;
      Put16(links, number[node.parent]);
    }
    if (node.record >= 0) {
      value |= kEndOfWord;
      const auto& refs = references[static_cast<size_t>(node.record)];
      links += static_cast<char>(refs.size());
      for (uint16_t r : refs) Put16(links, r);
    }
    Put32(nodes, value);
  }

  std::string out(kBanner);
  if (!options.sourceNote.empty()) out += options.sourceNote + "\r\n";
  out.resize(HeaderSize, '\0');
  PutShortString(out, options.name, "the name");
  for (const std::string& kind : options.kindNames) PutShortString(out, kind, "a kind name");
  Put32(out, static_cast<uint32_t>(order.size()));
  out += nodes;
  Put32(out, static_cast<uint32_t>(links.size()));
  out += links;
  Put16(out, static_cast<uint32_t>(heads.size()));
  out += meanings;
  Put32(out, static_cast<uint32_t>(index.size()));
  out += index;

  if (stats) {
    stats->heads = static_cast<uint32_t>(heads.size());
    stats->nodes = static_cast<uint32_t>(order.size());
    stats->listEntries = static_cast<uint32_t>(index.size() / 2);
    stats->linkSize = static_cast<uint32_t>(links.size());
    stats->indexSize = static_cast<uint32_t>(index.size());
  }
  return out;
}

}  // namespace adtc
