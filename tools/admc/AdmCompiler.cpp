#include "AdmCompiler.h"

#include <algorithm>
#include <array>
#include <deque>
#include <unordered_set>

#include "rtl/CodePages.h"

namespace admc {

namespace {

constexpr char kBanner[] =
    "Tolvane main dictionary\r\n"
    "File format version 1.0\r\n"
    "A letter trie of a language's words\r\n"
    "Compiled by admc, read it mapped\r\n"
    "\r\n";
static_assert(sizeof(kBanner) - 1 == 123, "123 characters");

constexpr size_t kHeaderSize = 1024;
constexpr size_t kMaxWordBytes = 511;
constexpr uint32_t kFieldLimit = 0xFFFFF;
constexpr size_t kMaxExtraLetters = 8;

struct TrieNode {
  unsigned char letter = 0;
  bool wordEnd = false;
  std::string extra;            // folded letters that follow `letter`
  std::vector<uint32_t> children;  // raw node numbers, in byte order
  uint32_t index = 0;           // node index in the file
};

void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string LineError(size_t line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

std::vector<std::string> PrepareWords(const std::vector<std::string>& lines) {
  std::unordered_set<std::string> listed;
  for (const std::string& raw : lines) {
    std::string w = raw;
    if (!w.empty() && w.back() == '\r') w.pop_back();
    listed.insert(w);
  }
  std::vector<std::string> words;
  words.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string w = lines[i];
    if (!w.empty() && w.back() == '\r') w.pop_back();
    if (w.empty()) continue;
    // The spell checker accepts an English possessive by rule when its stem
    // is a word.
    if (w.size() > 2 && w.compare(w.size() - 2, 2, "'s") == 0 && listed.count(w.substr(0, w.size() - 2)))
      continue;
    if (!rtl::IsValidUtf8(w)) throw CompileError(LineError(i + 1, "not UTF-8 text"));
    const std::u16string wide = rtl::Utf8ToWide(w);
    for (char16_t c : wide)
      if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
        throw CompileError(LineError(i + 1, "the word holds a control character"));
    rtl::EncodeResult encoded = rtl::EncodeCodePage(1252, wide);
    if (encoded.Lossy())
      throw CompileError(LineError(i + 1, "\"" + w + "\" holds a character that code page 1252 cannot hold"));
    if (encoded.bytes.size() > kMaxWordBytes)
      throw CompileError(LineError(i + 1, "the word is longer than 511 bytes"));
    words.push_back(std::move(encoded.bytes));
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

std::string Compile(const std::vector<std::string>& words, const Options& options, Statistics* stats) {
  // The plain trie; words are sorted, so each node's children arrive in
  // byte order.
  std::vector<TrieNode> nodes(1);
  for (const std::string& word : words) {
    uint32_t at = 0;
    for (char ch : word) {
      const auto c = static_cast<unsigned char>(ch);
      TrieNode& node = nodes[at];
      if (!node.children.empty() && nodes[node.children.back()].letter == c) {
        at = node.children.back();
        continue;
      }
      if (!node.children.empty() && nodes[node.children.back()].letter > c)
        throw CompileError("the word list is not byte-sorted");
      nodes.push_back(TrieNode{});
      nodes.back().letter = c;
      const auto added = static_cast<uint32_t>(nodes.size() - 1);
      nodes[at].children.push_back(added);
      at = added;
    }
    nodes[at].wordEnd = true;
  }

  // Folding and numbering, breadth first from the root. A node below the
  // first letters takes its only child's letter while that child ends no
  // word, so no word ends on an extra letter.
  std::vector<uint32_t> order;  // folded nodes, breadth first
  std::deque<std::pair<uint32_t, int>> queue{{0, 0}};
  while (!queue.empty()) {
    auto [n, depth] = queue.front();
    queue.pop_front();
    if (depth >= 2) {
      uint32_t tail = n;
      while (nodes[n].extra.size() < kMaxExtraLetters && nodes[tail].children.size() == 1 &&
             !nodes[nodes[tail].children[0]].wordEnd) {
        tail = nodes[tail].children[0];
        nodes[n].extra += static_cast<char>(nodes[tail].letter);
      }
      if (tail != n) nodes[n].children = nodes[tail].children;
    }
    order.push_back(n);
    for (uint32_t child : nodes[n].children) queue.push_back({child, depth + 1});
  }
  std::array<uint32_t, 9> classCounts{};
  for (uint32_t n : order) ++classCounts[nodes[n].extra.size()];
  std::array<uint32_t, 10> classFirst{};
  for (size_t k = 1; k <= 9; ++k) classFirst[k] = classFirst[k - 1] + classCounts[k - 1];
  std::array<uint32_t, 9> nextInClass = {};
  std::vector<std::vector<uint32_t>> byClass(9);
  for (uint32_t n : order) {
    const size_t k = nodes[n].extra.size();
    nodes[n].index = classFirst[k] + nextInClass[k]++;
    byClass[k].push_back(n);
  }
  const auto nodeCount = static_cast<uint32_t>(order.size());
  const bool wide = nodeCount >= 65535;

  // Child references, node by node in index order.
  std::string pool;
  std::vector<uint32_t> fieldOf(nodes.size(), kFieldLimit);
  auto putRef = [&](uint32_t index) {
    if (!wide) {
      pool += static_cast<char>(index & 0xFF);
      pool += static_cast<char>(index >> 8);
    } else if (index < 0x8000) {
      pool += static_cast<char>(0x80 | (index >> 8));
      pool += static_cast<char>(index & 0xFF);
    } else {
      pool += static_cast<char>(index >> 16);
      pool += static_cast<char>((index >> 8) & 0xFF);
      pool += static_cast<char>(index & 0xFF);
    }
  };
  std::string arrays;
  for (size_t k = 0; k < 9; ++k) {
    for (uint32_t n : byClass[k]) {
      const TrieNode& node = nodes[n];
      const size_t c = node.children.size();
      uint32_t field = kFieldLimit;
      uint32_t countBits = 0;
      if (c == 1) {
        field = nodes[node.children[0]].index;
        countBits = 1;
      } else if (c >= 2) {
        field = static_cast<uint32_t>(pool.size());
        if (c <= 7) {
          countBits = static_cast<uint32_t>(c);
        } else {
          pool += static_cast<char>(c);
        }
        for (uint32_t child : node.children) putRef(nodes[child].index);
      }
      if (c >= 1 && field >= kFieldLimit)
        throw CompileError("too many nodes: a child field or pool offset reaches 0xFFFFF");
      fieldOf[n] = field;
      const uint32_t value =
          node.letter | field << 8 | countBits << 28 | (node.wordEnd ? 0x80000000u : 0u);
      Put32(arrays, value);
      arrays += node.extra;
    }
  }

  // First letters: the root's children, looked up without a node step.
  std::string firstLetters(2048, '\0');
  std::array<uint32_t, 256> wordsByFirstByte{};
  for (const std::string& w : words) ++wordsByFirstByte[static_cast<unsigned char>(w[0])];
  for (uint32_t child : nodes[0].children) {
    const TrieNode& node = nodes[child];
    char* entry = firstLetters.data() + 8 * node.letter;
    const size_t c = node.children.size();
    entry[0] = node.wordEnd ? 1 : 0;
    entry[1] = static_cast<char>(c);
    uint32_t where = 0;
    if (c == 1)
      where = nodes[node.children[0]].index;
    else if (c >= 2)
      where = fieldOf[child] + (c > 7 ? 1 : 0);  // past the count byte
    for (int i = 0; i < 4; ++i) entry[4 + i] = static_cast<char>((where >> (8 * i)) & 0xFF);
  }

  std::string out(kHeaderSize, '\0');
  std::copy(std::begin(kBanner), std::end(kBanner), out.begin());  // banner and its NUL
  const std::string note = options.sourceNote.substr(0, kHeaderSize - sizeof(kBanner) - 2);
  std::copy(note.begin(), note.end(), out.begin() + sizeof(kBanner));
  std::u16string title = rtl::Utf8ToWide(options.title);
  if (title.size() > 255) title.resize(255);
  out += static_cast<char>(title.size());
  for (char16_t c : title) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  out += std::string(2, '\0');
  Put32(out, options.language);
  Put32(out, static_cast<uint32_t>(words.size()));
  Put32(out, nodeCount);
  for (uint32_t count : classCounts) Put32(out, count);
  out += arrays;
  Put32(out, static_cast<uint32_t>(pool.size()));
  out += pool;
  out += firstLetters;
  for (uint32_t n : wordsByFirstByte) Put32(out, n);

  if (stats) {
    stats->words = static_cast<uint32_t>(words.size());
    stats->nodes = nodeCount;
    std::copy(classCounts.begin(), classCounts.end(), stats->classCounts);
    stats->poolLength = static_cast<uint32_t>(pool.size());
    stats->threeByteReferences = wide;
  }
  return out;
}

}  // namespace admc
