#include "spell/engine/lx3MainDictionary.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "rtl/CodePages.h"
#include "rtl/StringList.h"
#include "spell/engine/lx3PhoneticsMap.h"
#include "spell/engine/lx3Text.h"
#include "spell/engine/lx3Util.h"

namespace spell {

namespace {

constexpr char kMainBannerText[] =
    "Tolvane main dictionary\r\n"
    "File format version 1.0\r\n"
    "A letter trie of a language's words\r\n"
    "Compiled by admc, read it mapped\r\n"
    "\r\n";
static_assert(sizeof(kMainBannerText) - 1 == 123, "123 characters");

constexpr uint32_t kLeaf = 0xFFFFF;
constexpr uint64_t kMaxWalkLetters = TMainDictionary::WalkBufferSize - 1;
constexpr Integer kMaxCandidates = 500;

uint32_t Read32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

bool ReadExactly(int fd, void* buf, size_t n) {
  auto* p = static_cast<char*>(buf);
  while (n > 0) {
    ssize_t r = ::read(fd, p, n);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    p += r;
    n -= static_cast<size_t>(r);
  }
  return true;
}

class FileCloser {
 public:
  explicit FileCloser(int fd) : fd_(fd) {}
  ~FileCloser() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

 private:
  int fd_;
};

}  // namespace

const std::string_view TMainDictionary::Banner(kMainBannerText, sizeof(kMainBannerText) - 1);

TMainDictionary::~TMainDictionary() { SetActive(false); }

void TMainDictionary::Open(const AnsiString& fileName) {
  const int fd = ::open(NativeFileName(fileName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  FileCloser closer(fd);
  hitCount_ = 0;
  const bool wasActive = active_;
  SetActive(false);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  const auto size = static_cast<uint64_t>(st.st_size);
  if (size <= HeaderSize) return;
  unsigned char header[HeaderSize];
  if (!ReadExactly(fd, header, sizeof header)) return;
  const size_t textLength = strnlen(reinterpret_cast<const char*>(header), sizeof header);
  std::string_view text(reinterpret_cast<const char*>(header), textLength);
  if (text.substr(0, Banner.size()) != Banner) return;

  unsigned char titleLength = 0;
  if (!ReadExactly(fd, &titleLength, 1)) return;
  std::string titleBytes(2 * (static_cast<size_t>(titleLength) + 1), '\0');
  if (!ReadExactly(fd, titleBytes.data(), titleBytes.size())) return;
  unsigned char numbers[4 * 12];
  if (!ReadExactly(fd, numbers, sizeof numbers)) return;
  std::u16string title;
  for (size_t i = 0; i < titleLength; ++i)
    title += static_cast<char16_t>(static_cast<unsigned char>(titleBytes[2 * i]) |
                                   static_cast<unsigned char>(titleBytes[2 * i + 1]) << 8);
  std::array<uint32_t, 9> counts{};
  for (size_t k = 0; k < 9; ++k) counts[k] = Read32(numbers + 12 + 4 * k);
  const uint32_t nodeCount = Read32(numbers + 8);

  std::array<uint64_t, 10> offsets{};
  std::array<uint64_t, 10> first{};
  offsets[0] = HeaderSize + 1 + titleBytes.size() + sizeof numbers;
  for (size_t k = 1; k <= 9; ++k) {
    offsets[k] = offsets[k - 1] + static_cast<uint64_t>(counts[k - 1]) * (k + 3);
    first[k] = first[k - 1] + counts[k - 1];
  }
  // The classes must cover exactly the nodes, and the arrays lie in the file.
  if (first[9] != nodeCount || offsets[9] >= size) return;

  fileName_ = fileName;
  title_ = rtl::WideToUtf8(title);
  language_ = Read32(numbers);
  wordCount_ = Read32(numbers + 4);
  nodeCount_ = nodeCount;
  classCounts_ = counts;
  classOffsets_ = offsets;
  classFirst_ = first;
  SetActive(wasActive);
}

void TMainDictionary::SetActive(bool value) {
  if (value == active_) return;
  if (!value) {
    if (base_) ::munmap(const_cast<unsigned char*>(base_), mappedSize_);
    if (fd_ >= 0) ::close(fd_);
    base_ = nullptr;
    pool_ = nullptr;
    mappedSize_ = 0;
    poolLength_ = 0;
    fd_ = -1;
    active_ = false;
    return;
  }
  if (fileName_.empty()) return;
  active_ = true;  // from here on any failure goes through SetActive(false)
  fd_ = ::open(NativeFileName(fileName_).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || st.st_size <= 0) {
    SetActive(false);
    return;
  }
  const auto size = static_cast<uint64_t>(st.st_size);
  // The sizes are checked before anything is mapped.
  const uint64_t e = classOffsets_[9];
  unsigned char poolLength[4];
  if (!(e + 4 < size) || ::pread(fd_, poolLength, 4, static_cast<off_t>(e)) != 4) {
    SetActive(false);
    return;
  }
  const uint64_t n = Read32(poolLength);
  if (size < e + n + 3076) {
    SetActive(false);
    return;
  }
  void* view = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd_, 0);
  if (view == MAP_FAILED) {
    SetActive(false);
    return;
  }
  base_ = static_cast<const unsigned char*>(view);
  mappedSize_ = size;
  // The mapping may show a file that changed since the check: re-read.
  if (Read32(base_ + e) != n) {
    SetActive(false);
    return;
  }
  poolLength_ = n;
  pool_ = base_ + e + 4;
  std::memcpy(firstLetters_.data(), pool_ + n, firstLetters_.size());
}

bool TMainDictionary::GetNode(uint64_t index, Node& node) const {
  if (index >= nodeCount_) return false;
  size_t k = 8;
  while (k > 0 && index < classFirst_[k]) --k;
  const uint64_t at = classOffsets_[k] + (index - classFirst_[k]) * (4 + k);
  if (at + 4 + k > classOffsets_[9]) return false;
  node.value = Read32(base_ + at);
  node.extra = base_ + at + 4;
  node.extraCount = static_cast<uint32_t>(k);
  return true;
}

bool TMainDictionary::ReadChildRef(uint64_t& position, uint64_t& index) const {
  if (position >= poolLength_) return false;
  const unsigned char b0 = pool_[position];
  if (nodeCount_ < 65535) {
    if (position + 2 > poolLength_) return false;
    index = b0 | static_cast<uint64_t>(pool_[position + 1]) << 8;
    position += 2;
  } else if (b0 >= 0x80) {
    if (position + 2 > poolLength_) return false;
    index = static_cast<uint64_t>(b0 - 0x80) << 8 | pool_[position + 1];
    position += 2;
  } else {
    if (position + 3 > poolLength_) return false;
    index = static_cast<uint64_t>(b0) << 16 | static_cast<uint64_t>(pool_[position + 1]) << 8 | pool_[position + 2];
    position += 3;
  }
  return true;
}

bool TMainDictionary::ChildrenOf(const Node& node, Children& children) const {
  children = Children{};
  const uint32_t c = node.ChildCount();
  const uint32_t field = node.ChildField();
  if (c == 1) {
    children = {1, true, field};
  } else if (c >= 2) {
    children = {c, false, field};
  } else if (field != kLeaf) {
    if (field >= poolLength_) return false;
    children = {pool_[field], false, static_cast<uint64_t>(field) + 1};
  }
  return true;
}

bool TMainDictionary::NthChild(const Children& children, uint64_t& position, uint32_t i, uint64_t& index) const {
  if (children.direct) {
    index = children.at;
    return true;
  }
  if (i == 0) position = children.at;
  return ReadChildRef(position, index);
}

bool TMainDictionary::WordExists(std::string_view word) {
  Integer matched = 0;
  return Lookup(word, matched);
}

bool TMainDictionary::Lookup(std::string_view word, Integer& matched) {
  matched = 0;
  if (!active_) SetActive(true);
  if (!active_ || word.empty()) return false;
  const unsigned char* entry = firstLetters_.data() + 8 * static_cast<unsigned char>(word[0]);
  if (word.size() == 1) {
    if (entry[0] == 0) return false;
    matched = 1;
    return true;
  }
  if (entry[1] == 0) return false;
  matched = 1;
  Children children{entry[1], entry[1] == 1, Read32(entry + 4)};
  size_t i = 1;
  while (i < word.size()) {
    Node chosen;
    bool found = false;
    uint64_t position = 0;
    for (uint32_t j = 0; j < children.count && !found; ++j) {
      uint64_t index = 0;
      if (!NthChild(children, position, j, index) || !GetNode(index, chosen)) return false;
      found = chosen.Letter() == static_cast<unsigned char>(word[i]);
    }
    if (!found) return false;
    ++matched;
    ++i;
    if (i == word.size()) return chosen.WordEnd();
    for (uint32_t k = 0; k < chosen.extraCount; ++k) {
      if (i >= word.size() || chosen.extra[k] != static_cast<unsigned char>(word[i])) return false;
      ++matched;
      ++i;
    }
    if (!ChildrenOf(chosen, children) || children.count == 0) return false;
  }
  return false;
}

bool TMainDictionary::WalkPrefix(std::string_view prefix, uint64_t& last, size_t& letterAt) {
  if (!active_) SetActive(true);
  if (!active_ || prefix.empty()) return false;
  Node current;
  if (!GetNode(0, current)) return false;
  size_t i = 0;
  while (i < prefix.size()) {
    Children children;
    if (!ChildrenOf(current, children) || children.count == 0) return false;
    bool found = false;
    uint64_t position = 0, index = 0;
    for (uint32_t j = 0; j < children.count && !found; ++j) {
      if (!NthChild(children, position, j, index) || !GetNode(index, current)) return false;
      found = current.Letter() == static_cast<unsigned char>(prefix[i]);
    }
    if (!found) return false;
    last = index;
    letterAt = i;
    ++i;
    if (i == prefix.size()) return true;
    for (uint32_t k = 0; k < current.extraCount; ++k) {
      if (i >= prefix.size()) return false;  // the prefix ends inside the extra letters
      if (current.extra[k] != static_cast<unsigned char>(prefix[i])) return false;
      ++i;
    }
  }
  return true;
}

void TMainDictionary::EnumerateWords(uint64_t index, size_t position,
                                     const std::function<Visit(std::string_view)>& visit) {
  if (visitBudget_ == 0 || position >= kMaxWalkLetters) return;
  --visitBudget_;
  Node node;
  if (!GetNode(index, node)) return;
  walkBuffer_.resize(position);
  walkBuffer_ += static_cast<char>(node.Letter());
  if (node.WordEnd() && visit(walkBuffer_) == Visit::Stop) return;
  if (position + 1 + node.extraCount > kMaxWalkLetters) return;
  walkBuffer_.append(reinterpret_cast<const char*>(node.extra), node.extraCount);
  const size_t next = position + 1 + node.extraCount;
  Children children;
  if (!ChildrenOf(node, children)) return;
  uint64_t refPosition = 0;
  for (uint32_t j = 0; j < children.count; ++j) {
    uint64_t child = 0;
    if (!NthChild(children, refPosition, j, child)) return;
    EnumerateWords(child, next, visit);
  }
}

TMainDictionary::Visit TMainDictionary::VisitCandidate(std::string_view word) {
  const std::string key = map_->GetPhoneticKey(word);
  if (key != targetKey_) return key.size() > targetKey_.size() ? Visit::Stop : Visit::Continue;
  if (candidates_->Count() > kMaxCandidates) return Visit::Stop;
  for (Integer i = 0; i < candidates_->Count(); ++i)
    if (EngineSameText(candidates_->Get(i), word)) return Visit::Continue;
  candidates_->Add(std::string(word));
  return Visit::Continue;
}

void TMainDictionary::FindPhoneticCandidates(std::string_view word, const TPhoneticsMap& map, rtl::TStrings& list) {
  lastWalkVisits_ = 0;
  targetKey_ = map.GetPhoneticKey(word);
  if (targetKey_.size() < 2) return;
  const std::string_view prefix = word.substr(0, std::min(word.size(), static_cast<size_t>(map.StartDepth())));
  uint64_t last = 0;
  size_t letterAt = 0;  // where the last matched node's own letter stands
  if (!WalkPrefix(prefix, last, letterAt)) return;
  walkBuffer_.assign(prefix.substr(0, letterAt));
  candidates_ = &list;
  map_ = &map;
  visitBudget_ = nodeCount_;
  EnumerateWords(last, letterAt, [this](std::string_view w) { return VisitCandidate(w); });
  lastWalkVisits_ = nodeCount_ - visitBudget_;
  candidates_ = nullptr;
  map_ = nullptr;
}

bool TMainDictionary::EnumerateAll(const std::function<void(std::string_view word)>& visit) {
  if (!active_) SetActive(true);
  Node root;
  if (!active_ || !GetNode(0, root)) return false;
  Children children;
  if (!ChildrenOf(root, children)) return false;
  visitBudget_ = nodeCount_;
  uint64_t position = 0;
  for (uint32_t j = 0; j < children.count; ++j) {
    uint64_t child = 0;
    if (!NthChild(children, position, j, child)) break;
    EnumerateWords(child, 0, [&visit](std::string_view w) {
      visit(w);
      return Visit::Continue;
    });
  }
  lastWalkVisits_ = nodeCount_ - visitBudget_;
  return true;
}

}  // namespace spell
